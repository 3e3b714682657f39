#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "batch/batch_list.h"
#include "batch/batch_run.h"
#include "batch/batch_worker.h"
#include "link/command_buffer.h"
#include "link/command_exchange.h"
#include "link/port.h"
#include "notifier/notifier.h"
#include "phonebook/phone_book_store.h"

namespace vexa {

// What the batch page shows of its list and its run; called on the thread
// that owns the exchange.
class BatchView {
 public:
  virtual ~BatchView() = default;
  virtual void RowsChanged() {}            // rows rebuilt, added or removed
  virtual void RowChanged(int /*row*/) {}  // a row's status or station ID
  virtual void RunChanged() {}             // a run started, moved on or ended
};

// The batch page's list and runs, on the thread that owns the exchange: the
// checked rows are replayed on the logger on the cable one at a time, each
// row ending with its own command's result. The worker's thread only paces
// the run; every send and every result happens here.
class BatchSetup {
 public:
  // Runs a task later on this object's thread; callable from any thread.
  using Post = std::function<void(std::function<void()> task)>;

  BatchSetup(CommandExchange& exchange, CommandBuffer& buffer, PhoneBookStore& phone_book,
             Port& port, Notifier& notifier, BatchView& view, Post post);
  // Stops a run without waiting for its command in flight.
  ~BatchSetup();
  BatchSetup(const BatchSetup&) = delete;
  BatchSetup& operator=(const BatchSetup&) = delete;

  const BatchList& list() const { return list_; }
  // The last run, or an empty one before the first.
  const BatchRun& run() const { return run_; }
  bool running() const { return worker_ != nullptr; }

  // From now on the GSM band command is listed too.
  void IncludeBandCommand() { list_.IncludeBandCommand(); }
  // Rebuilds the list from the command buffer with the current setup password.
  void Refresh(bool checked);
  void ClearList();
  void DeleteRows(std::vector<int> rows);
  void SetChecked(int row, bool checked);
  void SetAllChecked(bool checked);

  // Batch Setup: refused without a port and while a command is in flight;
  // otherwise queues the checked rows and starts the worker. True when a run
  // started.
  bool Start(bool auto_station_id);
  // The command of the current step finished with this status text.
  void BatchResult(const std::string& status_text);
  // A step that met another command in flight goes out once that one ended.
  void SendWaitingStep();

 private:
  void SendStep(int run_id, std::string command);
  void WorkerFinished(int run_id);
  // Ends the run before its next command: what was not sent is marked so.
  void EndRun();
  void SetStepStatus(BatchStep& step, std::string status);
  // After a rebuilt list the run's steps no longer know their rows.
  void UnlinkRows();

  CommandExchange& exchange_;
  CommandBuffer& buffer_;
  PhoneBookStore& phone_book_;
  Port& port_;
  Notifier& notifier_;
  BatchView& view_;
  const Post post_;

  BatchList list_;
  BatchRun run_;
  int run_id_ = 0;  // tells a late task of an ended run from the current one's
  std::optional<std::string> waiting_step_;
  std::unique_ptr<BatchWorker> worker_;
};

}  // namespace vexa
