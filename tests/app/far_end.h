#pragma once

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <QCoreApplication>
#include <chrono>
#include <optional>
#include <string>

#include "sim/pseudo_terminal.h"

namespace vexa::testing {

// The far end of a serial line for the window to connect to: the window opens
// `slave_path()`, the test reads what it wrote and answers as a logger would.
class FarEnd {
 public:
  FarEnd() : terminal_(sim::PseudoTerminal::Open()) {}

  bool ok() const { return terminal_.has_value(); }
  const std::string& slave_path() const { return terminal_->slave_path(); }

  // What was written to the line, once it has been quiet for a while. The
  // window goes on receiving and ticking meanwhile.
  std::string Read(std::chrono::milliseconds limit = std::chrono::milliseconds(3000)) {
    std::string text;
    const auto end = std::chrono::steady_clock::now() + limit;
    auto quiet_since = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() < end) {
      QCoreApplication::processEvents();
      pollfd poll_fd{terminal_->master(), POLLIN, 0};
      if (::poll(&poll_fd, 1, 10) <= 0) {
        if (!text.empty() && std::chrono::steady_clock::now() - quiet_since > kQuiet) break;
        continue;
      }
      char buffer[1024];
      const ssize_t count = ::read(terminal_->master(), buffer, sizeof buffer);
      if (count <= 0) break;
      text.append(buffer, static_cast<std::size_t>(count));
      quiet_since = std::chrono::steady_clock::now();
    }
    return text;
  }

  void Write(const std::string& text) {
    const ssize_t written = ::write(terminal_->master(), text.data(), text.size());
    EXPECT_EQ(written, static_cast<ssize_t>(text.size()));
  }

  // As when the adapter is pulled out: the window's side sees a hang-up.
  void Disappear() { terminal_->CloseMaster(); }

 private:
  static constexpr std::chrono::milliseconds kQuiet{100};

  std::optional<sim::PseudoTerminal> terminal_;
};

}  // namespace vexa::testing
