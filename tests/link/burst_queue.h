#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

namespace vexa::testing {

// Bursts from the receive thread, queued for the test's thread as the window does.
class BurstQueue {
 public:
  using Clock = std::chrono::steady_clock;

  void Push(std::string burst) {
    std::lock_guard lock(mutex_);
    bursts_.push_back(std::move(burst));
    last_push_ = Clock::now();
    ready_.notify_one();
  }
  std::optional<std::string> Pop(std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    if (!ready_.wait_for(lock, wait, [&] { return !bursts_.empty(); })) return std::nullopt;
    std::string burst = std::move(bursts_.front());
    bursts_.pop_front();
    return burst;
  }
  // When the receive thread handed over its latest burst.
  Clock::time_point last_push() {
    std::lock_guard lock(mutex_);
    return last_push_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::string> bursts_;
  Clock::time_point last_push_;
};

}  // namespace vexa::testing
