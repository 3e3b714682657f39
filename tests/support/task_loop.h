#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace vexa::testing {

// Stands in for the window's thread where there is no Qt: runs the tasks that
// other threads post, in order, and one timer, on the thread that calls Run.
class TaskLoop {
 public:
  using Clock = std::chrono::steady_clock;

  // Any thread.
  void Post(std::function<void()> task) {
    {
      std::lock_guard lock(mutex_);
      tasks_.push_back(std::move(task));
    }
    posted_.notify_one();
  }

  // A timer on the loop's thread, first firing one period from now, like a
  // QTimer started now.
  void StartTimer(std::chrono::milliseconds period, std::function<void()> tick) {
    period_ = period;
    tick_ = std::move(tick);
    next_tick_ = Clock::now() + period;
  }
  void StopTimer() { tick_ = nullptr; }
  bool TimerActive() const { return tick_ != nullptr; }

  // Runs tasks and the timer until `done()` holds; false after `timeout`.
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    while (!done()) {
      const Clock::time_point now = Clock::now();
      if (now >= deadline) return false;
      if (tick_ && now >= next_tick_) {
        next_tick_ = std::max(next_tick_ + period_, now);
        auto tick = tick_;  // the tick may stop its own timer
        tick();
        continue;
      }
      std::function<void()> task;
      {
        std::unique_lock lock(mutex_);
        const Clock::time_point wake = tick_ ? std::min(deadline, next_tick_) : deadline;
        if (!posted_.wait_until(lock, wake, [this] { return !tasks_.empty(); })) continue;
        task = std::move(tasks_.front());
        tasks_.pop_front();
      }
      task();
    }
    return true;
  }

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> tasks_;  // guarded by mutex_
  std::chrono::milliseconds period_{0};
  std::function<void()> tick_;
  Clock::time_point next_tick_;
};

}  // namespace vexa::testing
