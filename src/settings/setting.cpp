#include "settings/setting.h"

#include <algorithm>

#include "protocol/setup_command_description.h"

namespace vexa {

std::string_view WithoutPassword(std::string_view recorded_command) {
  return recorded_command.substr(std::min(kPasswordLength, recorded_command.size()));
}

Setting SettingOf(int code, std::string_view recorded_command) {
  const std::string_view command = WithoutPassword(recorded_command);
  SetupCommandDescription description = DescribeSetupCommand(code, command);
  return {code, std::string(command), std::move(description.name), std::move(description.value)};
}

std::vector<Setting> SettingsOf(const std::map<int, std::string>& recorded_commands) {
  std::vector<Setting> settings;
  for (const auto& [code, command] : recorded_commands) {
    if (!command.empty()) settings.push_back(SettingOf(code, command));
  }
  return settings;
}

}  // namespace vexa
