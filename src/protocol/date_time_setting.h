#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace vexa {

// The logger's clock setting ("TM:"): a local date and time as ten digits,
// year without century, month, day, hour and minute.
std::string DateTimeSettingValue(std::time_t when);

// A date and time setting (password, then "#TM:<value>#") carrying `value`
// in place of the time it was recorded with; nothing for any other command.
std::optional<std::string> WithDateTimeValue(std::string_view command, std::string_view value);

}  // namespace vexa
