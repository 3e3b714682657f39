#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

namespace vexa {

// One command of a run and what became of it.
struct BatchStep {
  int row = -1;  // its row in the list; -1 once the list was rebuilt
  int code = 0;
  std::string number;
  std::string object;
  std::string parameters;
  std::string status;           // its command's result once it came
  std::time_t finished_at = 0;  // when its result came; 0 before
  std::string command{};        // as sent, password first; never reported
  // What a read-back after the run made of it ("Verified", "Differs: ...");
  // empty when none was asked or its command did not succeed.
  std::string verification{};

  // What its row shows: the verification once there is one, else the status.
  const std::string& Shown() const { return verification.empty() ? status : verification; }
};

// What one Batch Setup run sent to a logger and what became of each command,
// kept apart from the list so that the report outlives a refresh.
struct BatchRun {
  std::string logger_id;  // the logger selected when the run started
  std::vector<BatchStep> steps;
  std::size_t sent = 0;     // steps handed to the exchange
  std::size_t results = 0;  // steps with their result
  bool ended = false;

  // Reading the logger back once every step was sent, when the run asked for it.
  enum class ReadBack { kNone, kReading, kDone, kFailed };
  ReadBack read_back = ReadBack::kNone;
  std::string read_back_text;  // the command being read ("#2, 3 of 4"), or why it failed

  // "Sending command 3 of 14", then "Reading back #2, 3 of 4" while it runs;
  // "12 of 14 commands succeeded" once it ended, with the commands never sent
  // and the verified ones counted after it ("..., 11 verified").
  std::string Summary() const;
  // The logger's ID after the run: the station ID a step set, else the
  // selected logger's.
  std::string ProvisionedId() const;
  // A header, then one line per step: logger ID, time, No., Object,
  // Parameters, Status, Verification. Passwords stay out: the commands are
  // not listed.
  std::vector<std::vector<std::string>> ReportRows() const;
};

}  // namespace vexa
