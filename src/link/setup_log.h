#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vexa {

// The append-only log of every command written to the port: "SetupLog.txt"
// in the temporary directory, one "<local time>  <command>\r\n" line each.
// It holds passwords, so it is owner-only and never followed through a link;
// anything but a regular file of this user is refused without waiting on it.
class SetupLog {
 public:
  SetupLog();  // the file in the temporary directory
  explicit SetupLog(std::filesystem::path path) : path_(std::move(path)) {}

  const std::filesystem::path& path() const { return path_; }

  // Appends one line. When the line cannot be written safely it is skipped and
  // the reason returned for the data log, every time.
  std::optional<std::string> Append(std::string_view command, std::time_t now);

 private:
  std::filesystem::path path_;
};

}  // namespace vexa
