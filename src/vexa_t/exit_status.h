#pragma once

#include <string>
#include <string_view>

namespace vexa {

// What vexa-t's exit status tells a script.
enum ExitStatus : int {
  kExitSuccess = 0,
  kExitDifference = 1,  // diff found a difference, or apply could not verify a setting
  kExitUsage = 2,
  kExitCommandFail = 3,
  kExitTimeOut = 4,
  kExitPasswordError = 5,
  kExitCommunicationError = 6,
  kExitDataError = 7,
  kExitFile = 8,  // a file could not be read or written, or is not what it should be
};

// The status of a command that ended with this result (CommandResult).
ExitStatus ExitStatusOfResult(int result);

// The status of a batch step that ended with this status text; a step never
// sent counts as a line that failed.
ExitStatus ExitStatusOfStep(std::string_view status);

// What the engineer can do about a command that ended with this status text,
// as one sentence: "<what> ended with \"Command Time Out\": check ...".
std::string FailureText(std::string_view what, std::string_view status_text);

}  // namespace vexa
