#include "sim/simulator_session.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <system_error>

#include "sim/simulated_logger.h"
#include "sim/simulated_modem.h"

namespace vexa::sim {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A command on the cable is complete once its bytes stop for this long; the
// program writes each command in one go, and reads bursts split by 200 ms.
constexpr milliseconds kCommandQuiet{50};
// While no program holds the slave the master reports a hang-up at once;
// look again after this pause rather than spin.
constexpr milliseconds kHangupPause{50};
// How long a write waits for a reader that has stopped reading.
constexpr milliseconds kWriteWait{200};
// Input without an end that long is no command; it is dropped.
constexpr std::size_t kMaxReceived = 4096;
constexpr std::string_view kLineEnd = "\r\n";

int MillisecondsUntil(Clock::time_point deadline, Clock::time_point now) {
  if (deadline == Clock::time_point::max()) return -1;
  if (deadline <= now) return 0;
  return static_cast<int>(std::chrono::ceil<milliseconds>(deadline - now).count());
}

// What sits on the line: the modem with every logger behind it, or logger
// `logger` on the cable.
std::unique_ptr<SimulatedDevice> MakeDevice(const SimulatorOptions& options, std::size_t logger) {
  std::unique_ptr<SimulatedDevice> device;
  if (options.gsm) {
    device = std::make_unique<SimulatedModem>(options.loggers, options.part_delay, options.clock,
                                              options.history);
  } else {
    device =
        std::make_unique<SimulatedLogger>(options.loggers[logger], options.clock, options.history);
  }
  device->set_faults(options.faults);
  device->set_raw_humidity(options.raw_humidity_tenths);
  return device;
}

}  // namespace

std::unique_ptr<SimulatorSession> SimulatorSession::Start(SimulatorOptions options) {
  if (options.loggers.empty()) return nullptr;
  auto terminal = PseudoTerminal::Open();
  if (!terminal) return nullptr;
  int wake[2];
  if (pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) return nullptr;
  auto device = MakeDevice(options, 0);
  std::unique_ptr<SimulatorSession> session(new SimulatorSession(
      std::move(*terminal), std::move(device), std::move(options), wake[0], wake[1]));
  try {
    session->thread_ = std::thread(&SimulatorSession::Serve, session.get());
  } catch (const std::system_error&) {
    return nullptr;
  }
  return session;
}

SimulatorSession::SimulatorSession(PseudoTerminal terminal, std::unique_ptr<SimulatedDevice> device,
                                   SimulatorOptions options, int wake_read, int wake_write)
    : terminal_(std::move(terminal)),
      slave_path_(terminal_.slave_path()),
      device_(std::move(device)),
      options_(std::move(options)),
      gsm_(options_.gsm),
      wake_read_(wake_read),
      wake_write_(wake_write) {}

SimulatorSession::~SimulatorSession() {
  Disappear();
  close(wake_read_);
  close(wake_write_);
}

void SimulatorSession::set_faults(const Faults& faults) {
  std::lock_guard lock(device_mutex_);
  options_.faults = faults;
  device_->set_faults(faults);
}

std::string SimulatorSession::PlugInNextLogger() {
  if (gsm_) return {};
  std::lock_guard lock(device_mutex_);
  logger_on_cable_ = (logger_on_cable_ + 1) % options_.loggers.size();
  device_ = MakeDevice(options_, logger_on_cable_);
  return options_.loggers[logger_on_cable_].station_id;
}

std::string SimulatorSession::CommandFromElsewhere(std::string_view command) {
  if (gsm_) return {};
  std::lock_guard lock(device_mutex_);
  return static_cast<SimulatedLogger&>(*device_).Handle(command);
}

void SimulatorSession::Disappear() {
  if (thread_.joinable()) {
    stopping_ = true;
    const char wake = 1;
    [[maybe_unused]] const auto written = write(wake_write_, &wake, 1);
    thread_.join();
  }
  terminal_.CloseMaster();
}

void SimulatorSession::Serve() {
  std::string received;
  Clock::time_point last_byte;
  std::multimap<Clock::time_point, std::string> outgoing;  // by the moment each burst is due
  bool hung_up = false;

  // Queues the answer to one complete received text after `now`.
  const auto answer = [&](std::string_view text, Clock::time_point now) {
    Clock::time_point due = now;
    for (auto& burst : Respond(text)) {
      due += burst.delay;
      outgoing.emplace(due, std::move(burst.bytes));
    }
  };

  while (!stopping_) {
    Clock::time_point now = Clock::now();
    while (!outgoing.empty() && outgoing.begin()->first <= now) {
      Write(outgoing.begin()->second);
      outgoing.erase(outgoing.begin());
    }
    if (!gsm_ && !received.empty() && now - last_byte >= kCommandQuiet) {
      answer(received, now);
      received.clear();
      continue;
    }

    auto deadline = Clock::time_point::max();
    if (!outgoing.empty()) deadline = outgoing.begin()->first;
    if (!gsm_ && !received.empty()) deadline = std::min(deadline, last_byte + kCommandQuiet);
    if (hung_up) deadline = std::min(deadline, now + kHangupPause);
    pollfd fds[2] = {{wake_read_, POLLIN, 0}, {terminal_.master(), POLLIN, 0}};
    // A hung-up master is left out: poll would report it again at once.
    const int ready = poll(fds, hung_up ? 1 : 2, MillisecondsUntil(deadline, now));
    if (ready < 0 && errno != EINTR) return;
    if (ready <= 0 || fds[0].revents != 0) {
      hung_up = false;  // look at the master again
      continue;
    }
    if ((fds[1].revents & POLLIN) != 0) {
      char buffer[1024];
      const ssize_t count = read(terminal_.master(), buffer, sizeof buffer);
      if (count > 0) {
        received.append(buffer, static_cast<std::size_t>(count));
        last_byte = Clock::now();
      } else if (count == 0 || (errno != EAGAIN && errno != EINTR)) {
        hung_up = true;
      }
    } else if ((fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
      hung_up = true;
    }
    if (gsm_) {
      for (auto end = received.find(kLineEnd); end != std::string::npos;
           end = received.find(kLineEnd)) {
        answer(std::string_view(received).substr(0, end + kLineEnd.size()), last_byte);
        received.erase(0, end + kLineEnd.size());
      }
    }
    if (received.size() > kMaxReceived) received.clear();
  }
}

Schedule SimulatorSession::Respond(std::string_view received) {
  std::lock_guard lock(device_mutex_);
  return device_->Respond(received);
}

// One write per burst, so the program reads it as one text. Bytes nobody
// reads are lost, as on a cable with no one listening.
void SimulatorSession::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t count = write(terminal_.master(), bytes.data(), bytes.size());
    if (count > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(count));
      continue;
    }
    if (count < 0 && errno == EINTR) continue;
    pollfd writable{terminal_.master(), POLLOUT, 0};
    if (count < 0 && errno == EAGAIN &&
        poll(&writable, 1, static_cast<int>(kWriteWait.count())) > 0 &&
        (writable.revents & POLLOUT) != 0) {
      continue;
    }
    return;
  }
}

}  // namespace vexa::sim
