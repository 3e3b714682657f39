#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vexa {

// The drop-down items, in the order shown (not sorted).
inline constexpr std::array<std::string_view, 6> kLoggingIntervalItems = {
    "00", "01 Minute", "05 Minute", "15 Minute", "30 Minute", "60 Minute"};
inline constexpr std::array<std::string_view, 10> kSmsUploadIntervalItems = {
    "00",      "01 Minute", "05 Minute", "15 Minute", "30 Minute",
    "01 Hour", "02 Hour",   "06 Hour",   "12 Hour",   "24 Hour"};

// The one-character SA code of a Data Logging Interval item, chosen by its
// first two characters; empty for a text that matches none.
std::string LoggingIntervalCode(std::string_view item);
// The one-character CP code of an SMS Upload Interval item; empty for a text
// that matches none.
std::string SmsUploadIntervalCode(std::string_view item);

// The item a reply's SA code selects, or -1 for none: "5" is "01 Minute", a
// code worth 0 (a non-digit too) is "00", any other digit n is item n + 1.
int LoggingIntervalItem(std::string_view code);
// The item a reply's CP interval code selects, its digit (a non-digit is 0).
int SmsUploadIntervalItem(std::string_view code);

}  // namespace vexa
