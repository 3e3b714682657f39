#include "batch/batch_setup.h"

#include <ctime>

#include "batch/verification.h"
#include "link/command_codes.h"
#include "protocol/date_time_setting.h"
#include "settings/setting.h"
#include "settings/settings_comparison.h"

namespace vexa {

BatchSetup::BatchSetup(CommandExchange& exchange, CommandBuffer& buffer, PhoneBookStore& phone_book,
                       Port& port, Notifier& notifier, ReadAll& read_all, BatchView& view,
                       Post post)
    : exchange_(exchange),
      buffer_(buffer),
      phone_book_(phone_book),
      port_(port),
      notifier_(notifier),
      read_all_(read_all),
      view_(view),
      post_(std::move(post)) {}

BatchSetup::~BatchSetup() {
  worker_.reset();
  // Its end must not reach this object any more.
  if (phase_ == Phase::kReadingBack && !read_back_waiting_) read_all_.Detach();
}

void BatchSetup::Refresh(bool checked) {
  list_.Refresh(buffer_, phone_book_.GetCurrentDevice().setup_password, checked);
  UnlinkRows();
  view_.RowsChanged();
}

void BatchSetup::ClearList() {
  list_.Clear();
  UnlinkRows();
  view_.RowsChanged();
}

void BatchSetup::DeleteRows(std::vector<int> rows) {
  list_.DeleteRows(std::move(rows));
  UnlinkRows();
  view_.RowsChanged();
}

void BatchSetup::SetChecked(int row, bool checked) {
  list_.SetChecked(row, checked);
}

void BatchSetup::SetAllChecked(bool checked) {
  list_.SetAllChecked(checked);
  view_.RowsChanged();
}

bool BatchSetup::RefusedToStart() {
  if (!port_.IsPortOpen()) {
    notifier_.Show("Before Batch Setup ,please Connect!");
    return true;
  }
  if (exchange_.busy()) {
    notifier_.Show("Command is in progress...");
    return true;
  }
  return running() || read_all_.running();
}

bool BatchSetup::Start(bool auto_station_id, RunOptions options) {
  if (RefusedToStart()) return false;
  const std::vector<int> queued = list_.QueueChecked(auto_station_id);
  BatchRun run;
  std::vector<std::string> commands;
  for (const int row : queued) {
    const BatchRow& queued_row = list_.rows()[row];
    run.steps.push_back({row, queued_row.code, queued_row.number, queued_row.object,
                         queued_row.parameters, queued_row.status});
    commands.push_back(queued_row.command);
    view_.RowChanged(row);
  }
  return Begin(std::move(run), std::move(commands), options);
}

bool BatchSetup::Replay(std::vector<BatchRow> rows, RunOptions options) {
  if (RefusedToStart()) return false;
  BatchRun run;
  std::vector<std::string> commands;
  for (BatchRow& row : rows) {
    run.steps.push_back({-1, row.code, std::move(row.number), std::move(row.object),
                         std::move(row.parameters), std::string(kStatusReady)});
    commands.push_back(std::move(row.command));
  }
  return Begin(std::move(run), std::move(commands), options);
}

bool BatchSetup::Begin(BatchRun run, std::vector<std::string> commands, RunOptions options) {
  if (commands.empty()) return false;
  run.logger_id = phone_book_.GetCurrentDevice().id;
  run_ = std::move(run);
  options_ = options;
  phase_ = Phase::kSending;
  const int run_id = ++run_id_;
  worker_ = BatchWorker::Start(
      std::move(commands),
      [this, run_id](std::string command) {
        post_([this, run_id, command = std::move(command)]() mutable {
          SendStep(run_id, std::move(command));
        });
      },
      [this, run_id] { post_([this, run_id] { WorkerFinished(run_id); }); });
  if (!worker_) {
    EndRun();
    notifier_.Show("The batch could not be started: the system has no thread to spare.");
    return false;
  }
  view_.RunChanged();
  return true;
}

void BatchSetup::SendStep(int run_id, std::string command) {
  if (run_id != run_id_ || phase_ != Phase::kSending || run_.sent >= run_.steps.size()) return;
  // A closed port ends the run rather than failing each command in turn.
  if (!port_.IsPortOpen()) return EndRun();
  // The engineer's own command between two steps must end before the next.
  if (exchange_.busy()) {
    waiting_step_ = std::move(command);
    return;
  }
  BatchStep& step = run_.steps[run_.sent++];
  // A password changed by an earlier step is the one the logger takes now.
  command = WithSetupPassword(std::move(command), phone_book_.GetCurrentDevice().setup_password);
  // A clock set to the time it was read would be minutes or days late.
  if (auto now = WithDateTimeValue(command, DateTimeSettingValue(std::time(nullptr)))) {
    command = std::move(*now);
    step.parameters = SettingOf(step.code, command).parameters;
    list_.SetCommand(step.row, command);
  }
  step.command = command;
  SetStepStatus(step, std::string(kStatusSending));
  view_.RunChanged();
  // A failed write ends the step at once with its result.
  exchange_.SendCommand(command, kBatchStepCode);
}

void BatchSetup::SendWaitingStep() {
  if (exchange_.busy()) return;
  if (read_back_waiting_) {
    ReadBack();
    return;
  }
  if (!waiting_step_) return;
  std::string command = std::move(*waiting_step_);
  waiting_step_.reset();
  SendStep(run_id_, std::move(command));
}

void BatchSetup::BatchResult(const std::string& status_text) {
  const bool awaited = phase_ == Phase::kSending || phase_ == Phase::kStopping;
  if (!awaited || run_.results >= run_.sent) return;
  BatchStep& step = run_.steps[run_.results++];
  step.finished_at = std::time(nullptr);
  SetStepStatus(step, status_text);
  const bool unanswered = status_text == kStatusTimeOut || status_text == kStatusCommunicationError;
  if (phase_ == Phase::kStopping || (options_.stop_at_first_time_out && unanswered)) {
    EndRun();
    return;
  }
  view_.RunChanged();
  worker_->ResultRecorded();
}

void BatchSetup::Stop() {
  if (phase_ == Phase::kSending) {
    worker_.reset();
    waiting_step_.reset();
    for (std::size_t i = run_.sent; i < run_.steps.size(); ++i) {
      SetStepStatus(run_.steps[i], std::string(kStatusNotSent));
    }
    if (run_.results == run_.sent) return EndRun();
    // Its result ends the run.
    phase_ = Phase::kStopping;
    exchange_.RequestStop();
    view_.RunChanged();
  } else if (phase_ == Phase::kReadingBack) {
    if (read_back_waiting_) return ReadBackFailed("stopped");
    // Its command ends at the next tick, and with it the read-back.
    exchange_.RequestStop();
  }
}

void BatchSetup::WorkerFinished(int run_id) {
  if (run_id != run_id_ || phase_ != Phase::kSending) return;
  worker_.reset();
  if (!options_.verify) return EndRun();
  phase_ = Phase::kReadingBack;
  run_.read_back = BatchRun::ReadBack::kReading;
  ReadBack();
}

void BatchSetup::ReadBack() {
  read_back_waiting_ = false;
  // After the engineer's own command, as a step would be.
  if (exchange_.busy() || read_all_.running()) {
    read_back_waiting_ = true;
    return;
  }
  const bool started =
      read_all_.Start([this](const ReadAllOutcome& outcome) { ReadBackFinished(outcome); },
                      [this](const ReadAllStep& step) { ReadBackStep(step); });
  if (!started) ReadBackFailed("refused");
}

void BatchSetup::ReadBackStep(const ReadAllStep& step) {
  run_.read_back_text = std::string(step.name) + ", " + std::to_string(step.number) + " of " +
                        std::to_string(step.total);
  view_.RunChanged();
}

void BatchSetup::ReadBackFinished(const ReadAllOutcome& outcome) {
  if (phase_ != Phase::kReadingBack) return;
  if (!outcome.succeeded) {
    return ReadBackFailed(std::string(outcome.stopped_at) + " " + outcome.status_text);
  }
  std::map<int, std::string> written;
  for (const BatchStep& step : run_.steps) {
    if (step.status == kStatusSuccess) written[step.code] = step.command;
  }
  for (const SettingComparison& comparison : CompareSettings(outcome.recorded.commands, written)) {
    if (!comparison.file) continue;
    for (BatchStep& step : run_.steps) {
      if (step.code == comparison.code && step.status == kStatusSuccess) {
        SetStepVerification(step, Verification(comparison, step.status));
      }
    }
  }
  run_.read_back = BatchRun::ReadBack::kDone;
  run_.read_back_text.clear();
  EndRun();
}

void BatchSetup::ReadBackFailed(std::string why) {
  for (BatchStep& step : run_.steps) {
    if (step.status == kStatusSuccess) {
      SetStepVerification(step, UnverifiedResult(step.code, step.status));
    }
  }
  run_.read_back = BatchRun::ReadBack::kFailed;
  run_.read_back_text = std::move(why);
  EndRun();
}

void BatchSetup::EndRun() {
  worker_.reset();
  waiting_step_.reset();
  read_back_waiting_ = false;
  for (std::size_t i = run_.sent; i < run_.steps.size(); ++i) {
    SetStepStatus(run_.steps[i], std::string(kStatusNotSent));
  }
  phase_ = Phase::kIdle;
  run_.ended = true;
  view_.RunChanged();
}

void BatchSetup::SetStepStatus(BatchStep& step, std::string status) {
  step.status = status;
  if (step.row < 0) return;
  list_.SetStatus(step.row, std::move(status));
  view_.RowChanged(step.row);
}

void BatchSetup::SetStepVerification(BatchStep& step, std::string verification) {
  step.verification = verification;
  if (step.row < 0) return;
  list_.SetStatus(step.row, std::move(verification));
  view_.RowChanged(step.row);
}

void BatchSetup::UnlinkRows() {
  for (BatchStep& step : run_.steps) step.row = -1;
}

}  // namespace vexa
