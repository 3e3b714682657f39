#include "batch/batch_worker.h"

#include <system_error>

namespace vexa {

std::unique_ptr<BatchWorker> BatchWorker::Start(std::vector<std::string> commands,
                                                HandOver hand_over, Finished finished) {
  std::unique_ptr<BatchWorker> worker(
      new BatchWorker(std::move(commands), std::move(hand_over), std::move(finished)));
  try {
    worker->thread_ = std::thread(&BatchWorker::Run, worker.get());
  } catch (const std::system_error&) {
    return nullptr;
  }
  return worker;
}

BatchWorker::BatchWorker(std::vector<std::string> commands, HandOver hand_over, Finished finished)
    : commands_(std::move(commands)),
      hand_over_(std::move(hand_over)),
      finished_(std::move(finished)) {}

BatchWorker::~BatchWorker() {
  Stop();
}

void BatchWorker::ResultRecorded() {
  {
    std::lock_guard lock(mutex_);
    result_recorded_ = true;
  }
  wake_.notify_all();
}

void BatchWorker::Stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void BatchWorker::Run() {
  for (const std::string& command : commands_) {
    {
      std::lock_guard lock(mutex_);
      if (stop_) return;
      result_recorded_ = false;
    }
    hand_over_(command);
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return stop_ || result_recorded_; });
    if (wake_.wait_for(lock, kPauseAfterResult, [this] { return stop_; })) return;
  }
  finished_();
}

}  // namespace vexa
