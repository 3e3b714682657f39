#include "protocol/date_time_setting.h"

namespace vexa {

std::string DateTimeSettingValue(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char text[16];
  const std::size_t length = std::strftime(text, sizeof text, "%y%m%d%H%M", &local);
  return std::string(text, length);
}

std::optional<std::string> WithDateTimeValue(std::string_view command, std::string_view value) {
  constexpr std::string_view kKey = "#TM:";
  // The key follows the password; a "#TM:" further on belongs to a text.
  const std::size_t key = command.find('#');
  if (key == std::string_view::npos || command.substr(key, kKey.size()) != kKey) {
    return std::nullopt;
  }
  const std::size_t start = key + kKey.size();
  const std::size_t end = command.find('#', start);
  std::string replaced(command.substr(0, start));
  replaced += value;
  if (end != std::string_view::npos) replaced += command.substr(end);
  return replaced;
}

}  // namespace vexa
