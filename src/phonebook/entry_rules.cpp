#include "phonebook/entry_rules.h"

#include <algorithm>

namespace vexa {

bool IsAllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string PaddedId(std::string_view id) {
  if (id.empty() || id.size() >= kIdDigits) return std::string(id);
  return std::string(kIdDigits - id.size(), '0') + std::string(id);
}

bool IsPhoneNumber(std::string_view text) {
  if (text.empty() || !(text.front() == '+' || IsAllDigits(text.substr(0, 1)))) return false;
  return IsAllDigits(text.substr(1));
}

}  // namespace vexa
