// Round trip of a status command through the real SerialPort and CommandExchange,
// driven as the main window drives them: each burst reaches the exchange as a queued
// call on the Qt event loop, and a QTimer ticks the command every 100 ms. The far
// end is the simulated logger on a pseudo-terminal, reached through a relay that
// passes bytes on at once or paces them at 9600 baud 8N1.
//
// Reports per line the median and p90 of the round trip against its floor (the
// wire time of the bytes plus the 200 ms silence that ends a burst), the simulated
// logger's own answer delay (measured, not part of the floor), and the time from
// the last byte of a reply to its hand-over to the exchange.
//   round_trip [round trips per line, default 30]
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "link/command_buffer.h"
#include "link/command_exchange.h"
#include "link/main_window_commands.h"
#include "link/serial_port.h"
#include "link/setup_log.h"
#include "notifier/notifier.h"
#include "phonebook/phone_book_store.h"
#include "sim/pseudo_terminal.h"
#include "sim/simulator_session.h"

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

// Stands between the program and the simulated logger, counting and timing the bytes.
class Relay {
 public:
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

// The main window's part: queued hand-over of each burst, the 100 ms tick.
class Driver : public vexa::ExchangeListener {
 public:
  Driver(vexa::PhoneBookStore& phone_book, const std::filesystem::path& folder, const Relay& relay)
      : relay_(relay),
        setup_log_(folder / "SetupLog.txt"),
        serial_port_([this](std::string burst) {
          QMetaObject::invokeMethod(
              &context_, [this, burst = std::move(burst)] { Receive(burst); },
              Qt::QueuedConnection);
        }),
        exchange_(serial_port_, phone_book, command_buffer_, setup_log_, notifier_, *this),
        commands_(exchange_, phone_book, notifier_, *this) {
    timer_.setInterval(100);
    QObject::connect(&timer_, &QTimer::timeout, &context_, [this] {
      if (!exchange_.Tick()) timer_.stop();
    });
    give_up_.setSingleShot(true);
    QObject::connect(&give_up_, &QTimer::timeout, &loop_, &QEventLoop::quit);
  }

  bool Connect() {
    return serial_port_.InitPort(relay_.program_path(), 9600) == 1 && serial_port_.OpenPort() == 1;
  }

  // Runs one command to its end; its round trip, or nothing when it did not succeed.
  std::optional<Clock::duration> Run(bool select) {
    const auto start = Clock::now();
    if (select) {
      commands_.SelectDevice("000041");
    } else {
      commands_.ReadStatus();
    }
    if (exchange_.progress().visible) {
      give_up_.start(10000);
      loop_.exec();
      give_up_.stop();
    }
    if (exchange_.progress().visible || exchange_.progress().status_text != "Command Success") {
      return std::nullopt;
    }
    return finished_ - start;
  }

  std::vector<Clock::duration>& handed_over() { return handed_over_; }

  void ProgressChanged() override {
    if (exchange_.progress().visible) {
      if (!timer_.isActive()) timer_.start();
      return;
    }
    finished_ = Clock::now();
    timer_.stop();
    loop_.quit();
  }

 private:
  void Receive(const std::string& burst) {
    handed_over_.push_back(Clock::now() - relay_.last_byte_to_program());
    exchange_.OnReceived(burst);
  }

  const Relay& relay_;
  QObject context_;
  QTimer timer_;
  QTimer give_up_;
  QEventLoop loop_;
  vexa::RecordingNotifier notifier_;
  vexa::CommandBuffer command_buffer_;
  vexa::SetupLog setup_log_;
  vexa::SerialPort serial_port_;
  vexa::CommandExchange exchange_;
  vexa::MainWindowCommands commands_;
  Clock::time_point finished_;
  std::vector<Clock::duration> handed_over_;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

double P90(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  if (values.empty()) return 0;
  return values[static_cast<std::size_t>(std::ceil(0.9 * values.size())) - 1];
}

double Ms(Clock::duration duration) {
  return Milliseconds(duration).count();
}

void Measure(const char* line, unsigned baud, int round_trips, vexa::PhoneBookStore& phone_book,
             const std::filesystem::path& folder) {
  auto logger = vexa::sim::SimulatorSession::Start({});
  if (!logger) {
    std::fprintf(stderr, "no simulated logger\n");
    std::exit(1);
  }
  Relay relay(logger->slave_path(), baud);
  Driver driver(phone_book, folder, relay);
  if (!driver.Connect() || !driver.Run(true)) {  // the first status, as on selecting
    std::fprintf(stderr, "%s: no first status\n", line);
    std::exit(1);
  }
  std::vector<double> round_trip, floor, answer_delay;
  int failed = 0;
  driver.handed_over().clear();
  for (int i = 0; i < round_trips; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    relay.ResetBytes();
    const auto took = driver.Run(false);
    if (!took) {
      ++failed;
      continue;
    }
    round_trip.push_back(Ms(*took));
    const double wire = baud == 0 ? 0 : relay.bytes() * 10.0 * 1000 / baud;
    floor.push_back(wire + 200);
    answer_delay.push_back(Ms(relay.answer_delay()));
  }
  std::vector<double> added;
  for (auto duration : driver.handed_over()) added.push_back(Ms(duration));
  std::printf("%-16s %8.1f %8.1f %8.1f %8.1f %8.1f %8.1f %8.1f %5d/%d\n", line, Median(round_trip),
              P90(round_trip), Median(floor), Median(answer_delay),
              Median(round_trip) - Median(floor) - Median(answer_delay), Median(added), P90(added),
              round_trips - failed, round_trips);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int round_trips = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;

  char pattern[] = "/tmp/vexa-round-trip-XXXXXX";
  const std::filesystem::path folder = mkdtemp(pattern);
  vexa::RecordingNotifier notifier;
  vexa::PhoneBookStore phone_book((folder / "addressbook.xml").string(), notifier);
  phone_book.AddEntry({"000041", "+491701000041", "135791", "246802"});

  std::printf(
      "Status round trip (median, p90) against its floor (wire time + 200 ms silence), the\n"
      "simulated logger's answer delay (not part of the floor), what is left over, and the time\n"
      "from a reply's last byte to its hand-over (median, p90); all in ms.\n");
  std::printf("%-16s %8s %8s %8s %8s %8s %8s %8s %7s\n", "line", "median", "p90", "floor", "logger",
              "over", "handover", "p90", "done");
  Measure("pty", 0, round_trips, phone_book, folder);
  Measure("9600 baud relay", 9600, round_trips, phone_book, folder);
  std::filesystem::remove_all(folder);
  return 0;
}
