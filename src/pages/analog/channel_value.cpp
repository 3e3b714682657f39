#include "pages/analog/channel_value.h"

#include <cctype>
#include <charconv>
#include <cstdio>

namespace vexa {
namespace {

constexpr double kLargestValue = 99999;
// Five characters hold "-9999" at most: a value from -99999 to -10000 would
// lose a digit of its whole part when cut to five characters.
constexpr double kSmallestFittingNegative = -10000;

bool HasOnlyValueCharacters(std::string_view text) {
  bool point = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') continue;
    if (c == '-' && i == 0) continue;
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    return false;
  }
  return true;
}

}  // namespace

double ChannelNumber(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start]))) ++start;
  if (start < text.size() && text[start] == '+') ++start;
  double value = 0;
  const auto result = std::from_chars(text.data() + start, text.data() + text.size(), value,
                                      std::chars_format::fixed);
  return result.ec == std::errc() ? value : 0;
}

std::string SixDecimals(double value) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  return std::string(buffer, result.ptr);
}

std::string NormalizeChannelValue(std::string_view text) {
  if (text.empty()) return std::string(kEmptyValue);
  if (!HasOnlyValueCharacters(text)) return std::string(kIllegalCharacters);
  const double value = ChannelNumber(text);
  if (value > kLargestValue || value < -kLargestValue) return std::string(kTooManyDigits);
  if (value <= kSmallestFittingNegative) return std::string(kTooManyDigits);
  std::string printed = SixDecimals(value).substr(0, 5);
  if (printed[4] == '.') {
    // A cut that ends on the point keeps the whole part, padded to five.
    char padded[8];
    std::snprintf(padded, sizeof padded, "%05d",
                  static_cast<int>(ChannelNumber(std::string_view(printed).substr(0, 4))));
    printed = padded;
  }
  return printed;
}

}  // namespace vexa
