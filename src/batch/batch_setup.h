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
#include "link/read_all.h"
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

// How a run goes beyond sending its commands; both off, a run sends exactly
// its commands and nothing else.
struct RunOptions {
  // Once every step was sent, the logger is read back (Read All) and each
  // step that succeeded gets its verification.
  bool verify = false;
  // A logger that does not answer one command will not answer the next: after
  // a "Command Time Out" or "Communication Error" the rest are not sent.
  bool stop_at_first_time_out = false;
};

// The batch page's list and runs, on the thread that owns the exchange: the
// checked rows are replayed on the logger on the cable one at a time, each
// row ending with its own command's result. The worker's thread only paces
// the run; every send and every result happens here.
class BatchSetup {
 public:
  // Runs a task later on this object's thread; callable from any thread.
  using Post = std::function<void(std::function<void()> task)>;

  // `read_all` reads the logger back for a run that verifies; the exchange's
  // listener hands it every CommandFinished.
  BatchSetup(CommandExchange& exchange, CommandBuffer& buffer, PhoneBookStore& phone_book,
             Port& port, Notifier& notifier, ReadAll& read_all, BatchView& view, Post post);
  // Stops a run without waiting for its command in flight.
  ~BatchSetup();
  BatchSetup(const BatchSetup&) = delete;
  BatchSetup& operator=(const BatchSetup&) = delete;

  const BatchList& list() const { return list_; }
  // The last run, or an empty one before the first.
  const BatchRun& run() const { return run_; }
  // From the start of a run until it ended, read-back included.
  bool running() const { return phase_ != Phase::kIdle; }

  // From now on the GSM band command is listed too.
  void IncludeBandCommand() { list_.IncludeBandCommand(); }
  // Rebuilds the list from the command buffer with the current setup password.
  void Refresh(bool checked);
  void ClearList();
  void DeleteRows(std::vector<int> rows);
  void SetChecked(int row, bool checked);
  void SetAllChecked(bool checked);

  // Batch Setup: refused without a port, while a command is in flight or a
  // run is under way; otherwise queues the checked rows and starts the worker.
  // True when a run started.
  bool Start(bool auto_station_id, RunOptions options = {});
  // Replays exactly these rows (not the list's; their statuses show in the
  // run's steps), as Start replays the checked ones; same refusals.
  bool Replay(std::vector<BatchRow> rows, RunOptions options = {});
  // Stop Batch: the command in flight ends as the Stop button ends it, every
  // step not yet sent becomes "Not Sent" at once, and no read-back follows;
  // the run has ended once that command's result is in.
  void Stop();
  // The command of the current step finished with this status text.
  void BatchResult(const std::string& status_text);
  // A step, or the read-back, that met another command in flight goes out
  // once that one ended.
  void SendWaitingStep();

 private:
  enum class Phase {
    kIdle,
    kSending,      // the worker hands the steps over
    kStopping,     // stopped; the result of the step in flight is still to come
    kReadingBack,  // every step was sent; the logger is read back
  };

  bool RefusedToStart();
  bool Begin(BatchRun run, std::vector<std::string> commands, RunOptions options);
  void SendStep(int run_id, std::string command);
  void WorkerFinished(int run_id);
  void ReadBack();
  void ReadBackStep(const ReadAllStep& step);
  void ReadBackFinished(const ReadAllOutcome& outcome);
  // Without a read-back each step that succeeded says so.
  void ReadBackFailed(std::string why);
  // Ends the run: what was not sent is marked so.
  void EndRun();
  void SetStepStatus(BatchStep& step, std::string status);
  void SetStepVerification(BatchStep& step, std::string verification);
  // After a rebuilt list the run's steps no longer know their rows.
  void UnlinkRows();

  CommandExchange& exchange_;
  CommandBuffer& buffer_;
  PhoneBookStore& phone_book_;
  Port& port_;
  Notifier& notifier_;
  ReadAll& read_all_;
  BatchView& view_;
  const Post post_;

  BatchList list_;
  BatchRun run_;
  RunOptions options_;
  Phase phase_ = Phase::kIdle;
  int run_id_ = 0;  // tells a late task of an ended run from the current one's
  std::optional<std::string> waiting_step_;
  bool read_back_waiting_ = false;
  std::unique_ptr<BatchWorker> worker_;
};

}  // namespace vexa
