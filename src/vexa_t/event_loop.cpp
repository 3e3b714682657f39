#include "vexa_t/event_loop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

namespace vexa {

EventLoop::EventLoop() : wake_fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

EventLoop::~EventLoop() {
  if (wake_fd_ >= 0) close(wake_fd_);
}

void EventLoop::Post(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  const std::uint64_t one = 1;
  [[maybe_unused]] const auto written = write(wake_fd_, &one, sizeof one);
}

void EventLoop::StartTimer(std::chrono::milliseconds period, std::function<void()> tick) {
  period_ = period;
  tick_ = std::move(tick);
  next_tick_ = Clock::now() + period;
}

void EventLoop::Watch(int fd, std::function<void()> readable) {
  watched_fd_ = fd;
  readable_ = std::move(readable);
}

bool EventLoop::RunUntil(const std::function<bool()>& done, Clock::time_point deadline) {
  while (!done()) {
    const Clock::time_point now = Clock::now();
    if (now >= deadline) return false;
    if (tick_ && now >= next_tick_) {
      next_tick_ = std::max(next_tick_ + period_, now);
      const auto tick = tick_;  // the tick may stop its own timer
      tick();
      continue;
    }
    std::function<void()> task;
    {
      std::lock_guard lock(mutex_);
      if (!tasks_.empty()) {
        task = std::move(tasks_.front());
        tasks_.pop_front();
      }
    }
    if (task) {
      task();
      continue;
    }
    Wait(tick_ ? std::min(deadline, next_tick_) : deadline);
  }
  return true;
}

void EventLoop::Wait(Clock::time_point until) {
  int timeout = -1;
  if (until != Clock::time_point::max()) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
    timeout = static_cast<int>(std::clamp<long long>(left, 0, 60'000));
  }
  pollfd fds[2] = {{wake_fd_, POLLIN, 0}, {watched_fd_, POLLIN, 0}};
  if (poll(fds, watched_fd_ >= 0 ? 2 : 1, timeout) <= 0) return;
  if ((fds[0].revents & POLLIN) != 0) {
    std::uint64_t count = 0;
    [[maybe_unused]] const auto read_bytes = read(wake_fd_, &count, sizeof count);
  }
  if (watched_fd_ >= 0 && (fds[1].revents & POLLIN) != 0 && readable_) readable_();
}

}  // namespace vexa
