#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <mutex>

namespace vexa {

// The thread that owns the exchange, as the window's event loop is for the
// window: tasks posted from other threads (the port's bursts, the batch's
// steps) run here one after the other, never at the same time, together with
// one periodic timer and one watched descriptor.
class EventLoop {
 public:
  using Clock = std::chrono::steady_clock;

  EventLoop();
  ~EventLoop();
  EventLoop(const EventLoop&) = delete;
  EventLoop& operator=(const EventLoop&) = delete;

  // Any thread.
  void Post(std::function<void()> task);

  // First ticks one period from now.
  void StartTimer(std::chrono::milliseconds period, std::function<void()> tick);
  void StopTimer() { tick_ = nullptr; }
  bool timer_active() const { return tick_ != nullptr; }

  // `readable` runs on this thread whenever `fd` can be read.
  void Watch(int fd, std::function<void()> readable);

  // Runs tasks, the timer and the watch until `done()` holds: true; false once
  // `deadline` has passed first.
  bool RunUntil(const std::function<bool()>& done,
                Clock::time_point deadline = Clock::time_point::max());

 private:
  // Waits for a task, the watched descriptor or `until`.
  void Wait(Clock::time_point until);

  int wake_fd_ = -1;  // an eventfd that a Post makes readable
  std::mutex mutex_;
  std::deque<std::function<void()>> tasks_;  // guarded by mutex_
  std::chrono::milliseconds period_{0};
  std::function<void()> tick_;
  Clock::time_point next_tick_;
  int watched_fd_ = -1;
  std::function<void()> readable_;
};

}  // namespace vexa
