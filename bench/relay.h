#pragma once

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

#include "sim/pseudo_terminal.h"

namespace vexa::bench {

// Stands between the program and the simulated logger, counting and timing the bytes.
class Relay {
 public:
  using Clock = std::chrono::steady_clock;

  // `baud` 0 passes bytes on as they come.
  Relay(const std::string& logger_path, unsigned baud)
      : program_side_(*vexa::sim::PseudoTerminal::Open()),
        byte_time_(baud == 0 ? Clock::duration::zero()
                             : std::chrono::duration_cast<Clock::duration>(
                                   std::chrono::duration<double>(10.0 / baud))) {
    logger_ = open(logger_path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    // Held open so that the master never reports a hang-up while the program is away.
    program_slave_ = open(program_side_.slave_path().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    tcgetattr(logger_, &tio);
    cfmakeraw(&tio);
    tcsetattr(logger_, TCSANOW, &tio);
    pipe2(wake_, O_CLOEXEC | O_NONBLOCK);
    thread_ = std::thread(&Relay::Serve, this);
  }
  ~Relay() {
    stop_ = true;
    [[maybe_unused]] const auto written = write(wake_[1], "x", 1);
    thread_.join();
    close(logger_);
    close(program_slave_);
    close(wake_[0]);
    close(wake_[1]);
  }

  const std::string& program_path() const { return program_side_.slave_path(); }
  Clock::time_point last_byte_to_program() const { return At(last_to_program_); }
  // From the last byte of the command at the logger to the first byte of its answer.
  Clock::duration answer_delay() const { return At(answer_start_) - At(last_to_logger_); }
  long bytes() const { return bytes_; }
  void ResetBytes() { bytes_ = 0; }

 private:
  struct Lane {
    int from;
    int to;
    std::deque<std::pair<Clock::time_point, char>> due;  // each byte when it is through
    Clock::time_point line_free{};
  };

  static Clock::time_point At(const std::atomic<Clock::rep>& ticks) {
    return Clock::time_point(Clock::duration(ticks.load()));
  }
  static void Mark(std::atomic<Clock::rep>& ticks) {
    ticks = Clock::now().time_since_epoch().count();
  }

  void Serve() {
    Lane up{program_side_.master(), logger_, {}, {}};
    Lane down{logger_, program_side_.master(), {}, {}};
    bool awaiting_answer = false;
    while (!stop_) {
      int wait_ms = -1;
      for (Lane* lane : {&up, &down}) {
        std::string ready;
        const auto now = Clock::now();
        while (!lane->due.empty() && lane->due.front().first <= now) {
          ready += lane->due.front().second;
          lane->due.pop_front();
        }
        if (!ready.empty()) {
          Write(lane->to, ready);
          bytes_ += static_cast<long>(ready.size());
          Mark(lane == &up ? last_to_logger_ : last_to_program_);
          if (lane == &up) awaiting_answer = true;
        }
        if (!lane->due.empty()) {
          const auto left =
              std::chrono::ceil<std::chrono::milliseconds>(lane->due.front().first - Clock::now());
          const int ms = static_cast<int>(std::max<long>(left.count(), 0));
          wait_ms = wait_ms < 0 ? ms : std::min(wait_ms, ms);
        }
      }
      pollfd fds[3] = {{up.from, POLLIN, 0}, {down.from, POLLIN, 0}, {wake_[0], POLLIN, 0}};
      if (poll(fds, 3, wait_ms) <= 0) continue;
      for (int i = 0; i < 2; ++i) {
        if ((fds[i].revents & POLLIN) == 0) continue;
        Lane& lane = i == 0 ? up : down;
        char buffer[1024];
        const ssize_t count = read(lane.from, buffer, sizeof buffer);
        if (count <= 0) continue;
        const auto arrival = Clock::now();
        if (&lane == &down && awaiting_answer) {
          Mark(answer_start_);
          awaiting_answer = false;
        }
        for (ssize_t k = 0; k < count; ++k) {
          lane.line_free = std::max(arrival, lane.line_free) + byte_time_;
          lane.due.emplace_back(lane.line_free, buffer[k]);
        }
      }
    }
  }

  static void Write(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t count = write(fd, bytes.data(), bytes.size());
      if (count > 0) {
        bytes.remove_prefix(static_cast<std::size_t>(count));
      } else {
        pollfd writable{fd, POLLOUT, 0};
        poll(&writable, 1, 10);
      }
    }
  }

  vexa::sim::PseudoTerminal program_side_;
  const Clock::duration byte_time_;
  int logger_ = -1;
  int program_slave_ = -1;
  int wake_[2] = {-1, -1};
  std::atomic<bool> stop_{false};
  std::atomic<long> bytes_{0};
  std::atomic<Clock::rep> last_to_program_{0};
  std::atomic<Clock::rep> last_to_logger_{0};
  std::atomic<Clock::rep> answer_start_{0};
  std::thread thread_;
};

}  // namespace vexa::bench
