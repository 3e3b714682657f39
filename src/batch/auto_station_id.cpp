#include "batch/auto_station_id.h"

#include <charconv>
#include <cstdio>

namespace vexa {
namespace {

constexpr long long kLargestStationId = 999999;

// The leading digits as a number; none read as 0, too many as more than any ID.
long long LeadingNumber(std::string_view text) {
  long long number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error == std::errc::result_out_of_range) return kLargestStationId + 1;
  return end == text.data() ? 0 : number;
}

}  // namespace

std::optional<StationIdStep> NextStationId(std::string_view command) {
  const std::size_t key = command.find("ST:");
  if (key == std::string_view::npos) return std::nullopt;
  const std::size_t value = key + 3;
  const std::size_t value_end = command.empty() ? 0 : command.size() - 1;
  const std::string_view current =
      value < value_end ? command.substr(value, value_end - value) : std::string_view();
  const long long number = LeadingNumber(current);
  const long long next = number >= 0 && number < kLargestStationId ? number + 1 : 0;
  char text[32];
  std::snprintf(text, sizeof text, "%.6lld", next);
  return StationIdStep{std::string(command.substr(0, value)) + text + "#", text};
}

}  // namespace vexa
