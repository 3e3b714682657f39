#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vexa {

// What a phone book entry's fields may hold, as the phone book page and the
// command line check them.

// An ID is up to six digits; a shorter one is padded on the left with "0".
inline constexpr std::size_t kIdDigits = 6;
inline constexpr std::size_t kPhoneMaxLength = 19;
// Both passwords are exactly six digits.
inline constexpr std::size_t kPasswordDigits = 6;

bool IsAllDigits(std::string_view text);

// "42" is "000042"; an empty ID and one of six or more characters stay as they are.
std::string PaddedId(std::string_view id);

// A "+" or a digit, then digits only.
bool IsPhoneNumber(std::string_view text);

}  // namespace vexa
