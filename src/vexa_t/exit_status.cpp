#include "vexa_t/exit_status.h"

#include "link/command_state.h"

namespace vexa {

ExitStatus ExitStatusOfResult(int result) {
  switch (result) {
    case kResultSuccess:
      return kExitSuccess;
    case kResultFail:
      return kExitCommandFail;
    case kResultTimeOut:
      return kExitTimeOut;
    case kResultPasswordError:
      return kExitPasswordError;
    case kResultDataError:
      return kExitDataError;
    default:
      return kExitCommunicationError;
  }
}

ExitStatus ExitStatusOfStep(std::string_view status) {
  constexpr std::pair<std::string_view, ExitStatus> kStatuses[] = {
      {"Command Success", kExitSuccess},  {"Command Fail ", kExitCommandFail},
      {"Command Time Out", kExitTimeOut}, {"Password Error", kExitPasswordError},
      {"Data Error", kExitDataError},
  };
  for (const auto& [text, exit_status] : kStatuses) {
    if (status == text) return exit_status;
  }
  return kExitCommunicationError;
}

std::string FailureText(std::string_view what, std::string_view status_text) {
  std::string_view advice;
  switch (ExitStatusOfStep(status_text)) {
    case kExitCommandFail:
      advice = "the logger refused the setting; check its value against the logger's range";
      break;
    case kExitTimeOut:
      advice =
          "the logger did not answer; check the cable or modem, the port and the logger's power";
      break;
    case kExitPasswordError:
      advice = "the logger refused the password; correct the entry with 'vexa-t phonebook'";
      break;
    case kExitDataError:
      advice = "the reply was damaged or not understood; try again";
      break;
    default:
      advice = "the line to the logger failed; check the cable or modem and the port";
      break;
  }
  return std::string(what) + " ended with \"" + std::string(status_text) +
         "\": " + std::string(advice);
}

}  // namespace vexa
