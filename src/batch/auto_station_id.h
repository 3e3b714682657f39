#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vexa {

struct StationIdStep {
  std::string command;  // the station ID command with the next number
  std::string number;   // that number alone, six digits
};

// For a series of loggers with consecutive station IDs: the number between
// "ST:" and the command's closing character, plus one, formatted with at
// least six digits; six nines (or more) are followed by 000000. Leading
// digits count, none reads as 0. Nothing when the command has no "ST:".
std::optional<StationIdStep> NextStationId(std::string_view command);

}  // namespace vexa
