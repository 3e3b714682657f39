#include "batch/batch_setup.h"

#include <ctime>

#include "link/command_codes.h"
#include "protocol/date_time_setting.h"
#include "settings/setting.h"

namespace vexa {

BatchSetup::BatchSetup(CommandExchange& exchange, CommandBuffer& buffer, PhoneBookStore& phone_book,
                       Port& port, Notifier& notifier, BatchView& view, Post post)
    : exchange_(exchange),
      buffer_(buffer),
      phone_book_(phone_book),
      port_(port),
      notifier_(notifier),
      view_(view),
      post_(std::move(post)) {}

BatchSetup::~BatchSetup() {
  worker_.reset();
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

bool BatchSetup::Start(bool auto_station_id) {
  if (!port_.IsPortOpen()) {
    notifier_.Show("Before Batch Setup ,please Connect!");
    return false;
  }
  if (exchange_.busy()) {
    notifier_.Show("Command is in progress...");
    return false;
  }
  if (running()) return false;
  const std::vector<int> queued = list_.QueueChecked(auto_station_id);
  if (queued.empty()) return false;

  BatchRun run;
  run.logger_id = phone_book_.GetCurrentDevice().id;
  std::vector<std::string> commands;
  for (const int row : queued) {
    const BatchRow& queued_row = list_.rows()[row];
    run.steps.push_back({row, queued_row.code, queued_row.number, queued_row.object,
                         queued_row.parameters, queued_row.status});
    commands.push_back(queued_row.command);
    view_.RowChanged(row);
  }
  run_ = std::move(run);
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
  if (run_id != run_id_ || !worker_ || run_.sent >= run_.steps.size()) return;
  // A closed port ends the run rather than failing each command in turn.
  if (!port_.IsPortOpen()) return EndRun();
  // The engineer's own command between two steps must end before the next.
  if (exchange_.busy()) {
    waiting_step_ = std::move(command);
    return;
  }
  BatchStep& step = run_.steps[run_.sent++];
  // A clock set to the time it was read would be minutes or days late.
  if (auto now = WithDateTimeValue(command, DateTimeSettingValue(std::time(nullptr)))) {
    command = std::move(*now);
    step.parameters = SettingOf(step.code, command).parameters;
    list_.SetCommand(step.row, command);
  }
  SetStepStatus(step, std::string(kStatusSending));
  view_.RunChanged();
  // A failed write ends the step at once with its result.
  exchange_.SendCommand(command, kBatchStepCode);
}

void BatchSetup::SendWaitingStep() {
  if (!waiting_step_ || exchange_.busy()) return;
  std::string command = std::move(*waiting_step_);
  waiting_step_.reset();
  SendStep(run_id_, std::move(command));
}

void BatchSetup::BatchResult(const std::string& status_text) {
  if (!worker_ || run_.results >= run_.sent) return;
  BatchStep& step = run_.steps[run_.results++];
  step.finished_at = std::time(nullptr);
  SetStepStatus(step, status_text);
  view_.RunChanged();
  worker_->ResultRecorded();
}

void BatchSetup::WorkerFinished(int run_id) {
  if (run_id != run_id_ || !worker_) return;
  worker_.reset();
  run_.ended = true;
  view_.RunChanged();
}

void BatchSetup::EndRun() {
  worker_.reset();
  waiting_step_.reset();
  for (std::size_t i = run_.sent; i < run_.steps.size(); ++i) {
    SetStepStatus(run_.steps[i], std::string(kStatusNotSent));
  }
  run_.ended = true;
  view_.RunChanged();
}

void BatchSetup::SetStepStatus(BatchStep& step, std::string status) {
  step.status = status;
  if (step.row < 0) return;
  list_.SetStatus(step.row, std::move(status));
  view_.RowChanged(step.row);
}

void BatchSetup::UnlinkRows() {
  for (BatchStep& step : run_.steps) step.row = -1;
}

}  // namespace vexa
