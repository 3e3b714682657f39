#pragma once

#include <string>
#include <string_view>

namespace vexa {

// Statuses a row goes through on its way to its command's result text.
inline constexpr std::string_view kStatusReady = "Ready";
inline constexpr std::string_view kStatusSending = "Command Sending";
// A queued command the run never sent: the port was closed or the run stopped.
inline constexpr std::string_view kStatusNotSent = "Not Sent";
inline constexpr std::string_view kStatusSuccess = "Command Success";
inline constexpr std::string_view kStatusTimeOut = "Command Time Out";
inline constexpr std::string_view kStatusCommunicationError = "Communication Error";

// One row of the batch list: a buffered setup command and what became of it.
struct BatchRow {
  std::string number;  // "01", "02", ...: the position at the last refresh
  std::string status;
  std::string command;  // as sent and saved, password first
  int code = 0;
  std::string object;  // what the command sets, in words
  std::string parameters;
  bool checked = false;
};

}  // namespace vexa
