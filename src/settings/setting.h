#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

// A recorded command starts with a password of this many characters.
inline constexpr std::size_t kPasswordLength = 6;

// One recorded command as the engineer reads it: its code, the command without
// its password ("#ST:000041#") and what the batch list shows of it.
struct Setting {
  int code = 0;
  std::string command;
  std::string object;      // the batch list's Object
  std::string parameters;  // the batch list's Parameters

  bool operator==(const Setting&) const = default;
};

// A recorded command without its first six characters, the password.
std::string_view WithoutPassword(std::string_view recorded_command);

// The setting of the command recorded under `code`, password first.
Setting SettingOf(int code, std::string_view recorded_command);

// The settings of recorded commands (a command buffer's, a reply's), in code
// order; empty texts, which hold no command, are left out.
std::vector<Setting> SettingsOf(const std::map<int, std::string>& recorded_commands);

}  // namespace vexa
