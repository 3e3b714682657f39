#pragma once

#include <string>

namespace vexa {

enum class TransportMode { kRs232 = 0, kGsmModem = 1 };

// Outcome of a command, as the status text shows it.
enum CommandResult : int {
  kResultSuccess = 0,
  kResultFail = 1,
  kResultTimeOut = 2,
  kResultPasswordError = 3,
  kResultCommunicationError = 4,
  kResultDataError = 5,
};

inline constexpr int kNoPendingCode = -1;

struct CommandState {
  std::string device_id;  // the ID selected in the device selector
  TransportMode transport_mode = TransportMode::kRs232;
  std::string last_command;  // exactly as last written by SendCommand
  int pending_code = kNoPendingCode;
  bool busy = false;
  int result = kResultSuccess;
};

}  // namespace vexa
