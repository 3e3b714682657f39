#include "pages/device_setup/interval_codes.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <utility>

namespace vexa {
namespace {

// A one-character code read as a number; anything but a leading digit is 0.
int DigitValue(std::string_view code) {
  return !code.empty() && std::isdigit(static_cast<unsigned char>(code[0])) ? code[0] - '0' : 0;
}

}  // namespace

std::string LoggingIntervalCode(std::string_view item) {
  // The logger's codes follow the order the intervals were added, not their length.
  static constexpr std::pair<std::string_view, std::string_view> kCodes[] = {
      {"00", "0"}, {"05", "1"}, {"15", "2"}, {"30", "3"}, {"60", "4"}, {"01", "5"}};
  const std::string_view head = item.substr(0, 2);
  for (const auto& [prefix, code] : kCodes) {
    if (head == prefix) return std::string(code);
  }
  return {};
}

std::string SmsUploadIntervalCode(std::string_view item) {
  if (item.substr(0, 2) == "00") return "0";
  const auto found =
      std::find(kSmsUploadIntervalItems.begin(), kSmsUploadIntervalItems.end(), item);
  if (found == kSmsUploadIntervalItems.end()) return {};
  return std::to_string(std::distance(kSmsUploadIntervalItems.begin(), found));
}

int LoggingIntervalItem(std::string_view code) {
  const int value = DigitValue(code);
  if (value == 5) return 1;
  if (value == 0) return 0;
  const int item = value + 1;
  return item < static_cast<int>(kLoggingIntervalItems.size()) ? item : -1;
}

int SmsUploadIntervalItem(std::string_view code) {
  return DigitValue(code);
}

}  // namespace vexa
