#pragma once

#include <string>
#include <string_view>

namespace vexa {

// What NormalizeChannelValue returns instead of a value.
inline constexpr std::string_view kEmptyValue = "E";
inline constexpr std::string_view kIllegalCharacters = "F";
inline constexpr std::string_view kTooManyDigits = "B";

// A limit or threshold as the logger takes it: exactly five characters ("0"
// gives "0.000", "100" gives "100.0", "1234.5" gives "01234", "-123.4" gives
// "-0123"), or one of the three codes above. Digits anywhere, "-" only first,
// "." at most once.
std::string NormalizeChannelValue(std::string_view text);

// The number a value text stands for, read as far as it is a number: "" and
// "abc" are 0, "1.2.3" is 1.2. Never depends on the locale.
double ChannelNumber(std::string_view text);

// The number printed with six decimals ("%f"), locale-independent.
std::string SixDecimals(double value);

}  // namespace vexa
