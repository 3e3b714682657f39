#include "link/read_all.h"

#include <utility>

#include "link/command_codes.h"
#include "protocol/status_parse.h"
#include "settings/group_commands.h"

namespace vexa {
namespace {

constexpr std::string_view kStepNames[ReadAll::kCommandCount] = {"Status", "#1", "#2", "#3"};

// The code each command is pending under when it ends.
int StepCode(int step) {
  return step == 0 ? kStatusCode : kGroup1Code + step - 1;
}

}  // namespace

ReadAll::ReadAll(MainWindowCommands& commands, CommandExchange& exchange,
                 PhoneBookStore& phone_book)
    : commands_(commands), exchange_(exchange), phone_book_(phone_book) {}

bool ReadAll::Start(Finished finished, Progress progress) {
  if (running() || !finished) return false;
  finished_ = std::move(finished);
  progress_ = std::move(progress);
  step_ = 0;
  outcome_ = {};
  if (SendStep()) return true;
  finished_ = nullptr;
  progress_ = nullptr;
  return false;
}

void ReadAll::Detach() {
  finished_ = nullptr;
  progress_ = nullptr;
}

bool ReadAll::SendStep() {
  const int step = step_;
  if (!(step == 0 ? commands_.ReadStatus() : commands_.ReadGroup(step))) return false;
  // Unless the write failed and ended the sequence already.
  if (running() && progress_) progress_({step + 1, kCommandCount, kStepNames[step]});
  return true;
}

void ReadAll::CommandFinished(const FinishedCommand& finished) {
  if (!running() || finished.code != StepCode(step_)) return;
  if (finished.result != kResultSuccess) {
    End(false, finished.result, finished.status_text);
    return;
  }
  if (step_ == 0) {
    outcome_.station_id = StatusStationId(finished.reply);
  } else {
    outcome_.recorded.Add(GroupCommands(step_, finished.reply,
                                        phone_book_.GetCurrentDevice().setup_password,
                                        exchange_.device_context().relay_count));
  }
  if (++step_ == kCommandCount) {
    End(true, finished.result, finished.status_text);
    return;
  }
  // Nothing may follow: a write that fails ends the sequence inside this call.
  if (!SendStep()) End(false, kResultNotSent, "Not Sent");
}

void ReadAll::End(bool succeeded, int result, std::string status_text) {
  outcome_.succeeded = succeeded;
  if (!succeeded) outcome_.stopped_at = kStepNames[step_];
  outcome_.result = result;
  outcome_.status_text = std::move(status_text);
  // Cleared first, so that the caller may start the next read-all from here.
  const Finished finished = std::move(finished_);
  const ReadAllOutcome outcome = std::move(outcome_);
  finished_ = nullptr;
  progress_ = nullptr;
  finished(outcome);
}

}  // namespace vexa
