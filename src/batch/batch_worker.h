#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vexa {

// Hands a batch's commands over one at a time from a thread of its own: one
// command, then asleep until its result has been recorded, a short breath for
// the logger, then the next. The worker never touches the exchange: the
// receiver of a command sends it on the thread that owns the exchange.
class BatchWorker {
 public:
  // Both run on the worker's thread and must return without waiting for
  // another thread: post the work, do not do it.
  using HandOver = std::function<void(std::string command)>;
  using Finished = std::function<void()>;  // the last command's result is in

  static constexpr std::chrono::milliseconds kPauseAfterResult{10};

  // Null when no thread can be had.
  static std::unique_ptr<BatchWorker> Start(std::vector<std::string> commands, HandOver hand_over,
                                            Finished finished);
  // Stops the worker and waits for its thread.
  ~BatchWorker();
  BatchWorker(const BatchWorker&) = delete;
  BatchWorker& operator=(const BatchWorker&) = delete;

  // The result of the command handed over last is recorded; any thread.
  void ResultRecorded();
  // Ends the worker before its next command and waits for it; never call it
  // from HandOver or Finished.
  void Stop();

 private:
  BatchWorker(std::vector<std::string> commands, HandOver hand_over, Finished finished);
  void Run();

  const std::vector<std::string> commands_;
  const HandOver hand_over_;
  const Finished finished_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool result_recorded_ = false;  // guarded by mutex_
  bool stop_ = false;             // guarded by mutex_
  std::thread thread_;
};

}  // namespace vexa
