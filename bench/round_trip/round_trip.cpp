// Round trips through the real SerialPort and CommandExchange, driven as the main
// window drives them: each burst reaches the exchange as a queued call on the Qt
// event loop, and a QTimer ticks the command every 100 ms. The far end is the
// simulated logger on a pseudo-terminal, reached through a relay that passes bytes
// on at once or paces them at 9600 baud 8N1.
//
// For the status, for "#2" (the longest group reply) and for a read of Status,
// "#1", "#2" and "#3" one after the other (each sent as soon as the one before has
// ended): the round trip (median, p90), the wire time of its bytes, the simulated
// logger's own answer delay (measured at the relay), what is left over above both,
// and the time from the last byte of a reply to its hand-over to the exchange.
//   round_trip [round trips per line, default 30] [--tsv]
// --tsv prints one "measure<TAB>value" line each, for a before/after table.
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

#include "bench_arguments.h"
#include "link/command_buffer.h"
#include "link/command_exchange.h"
#include "link/main_window_commands.h"
#include "link/serial_port.h"
#include "link/setup_log.h"
#include "notifier/notifier.h"
#include "phonebook/phone_book_store.h"
#include "relay.h"
#include "sim/simulator_session.h"

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;
using vexa::bench::Relay;

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

  // Runs one command to its end: group 1 to 3, 0 for the status, -1 for the first
  // status on selecting the logger. Its round trip, or nothing when it failed.
  std::optional<Clock::duration> Run(int read) {
    const auto start = Clock::now();
    if (read < 0) {
      commands_.SelectDevice("000041");
    } else if (read == 0) {
      commands_.ReadStatus();
    } else {
      commands_.ReadGroup(read);
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

// What one line of the table holds.
struct Figures {
  std::string name;
  std::vector<double> round_trip, wire, logger, handed_over;
  int failed = 0;
};

// `reads` one after the other make one round trip: {0} a status, {2} a "#2",
// {0, 1, 2, 3} a Read All.
Figures Measure(const std::string& name, unsigned baud, const std::vector<int>& reads,
                int round_trips, vexa::PhoneBookStore& phone_book,
                const std::filesystem::path& folder) {
  auto logger = vexa::sim::SimulatorSession::Start({});
  if (!logger) {
    std::fprintf(stderr, "no simulated logger\n");
    std::exit(1);
  }
  Relay relay(logger->slave_path(), baud);
  Driver driver(phone_book, folder, relay);
  if (!driver.Connect() || !driver.Run(-1)) {
    std::fprintf(stderr, "%s: no first status\n", name.c_str());
    std::exit(1);
  }
  Figures figures;
  figures.name = name;
  driver.handed_over().clear();
  for (int i = 0; i < round_trips; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    Clock::duration took{};
    double wire = 0, answer = 0;
    bool done = true;
    for (int read : reads) {
      relay.ResetBytes();
      const auto one = driver.Run(read);
      if (!one) {
        done = false;
        break;
      }
      took += *one;
      wire += baud == 0 ? 0 : relay.bytes() * 10.0 * 1000 / baud;
      answer += Ms(relay.answer_delay());
    }
    if (!done) {
      ++figures.failed;
      continue;
    }
    figures.round_trip.push_back(Ms(took));
    figures.wire.push_back(wire);
    figures.logger.push_back(answer);
  }
  for (auto duration : driver.handed_over()) figures.handed_over.push_back(Ms(duration));
  return figures;
}

void PrintTable(const std::vector<Figures>& lines, int round_trips) {
  std::printf(
      "Round trip (median, p90) against the wire time of its bytes and the simulated logger's\n"
      "own answer delay, what is left over above both, and the time from a reply's last byte\n"
      "to its hand-over (median, p90); all in ms.\n");
  std::printf("%-22s %8s %8s %8s %8s %8s %8s %8s %7s\n", "", "median", "p90", "wire", "logger",
              "over", "handover", "p90", "done");
  for (const Figures& f : lines) {
    const double over = Median(f.round_trip) - Median(f.wire) - Median(f.logger);
    std::printf("%-22s %8.1f %8.1f %8.1f %8.1f %8.1f %8.1f %8.1f %5d/%d\n", f.name.c_str(),
                Median(f.round_trip), P90(f.round_trip), Median(f.wire), Median(f.logger), over,
                Median(f.handed_over), P90(f.handed_over), round_trips - f.failed, round_trips);
  }
}

void PrintTsv(const std::vector<Figures>& lines, int round_trips) {
  for (const Figures& f : lines) {
    const char* n = f.name.c_str();
    std::printf("%s: round trip, median\t%.1f\n", n, Median(f.round_trip));
    std::printf("%s: round trip, p90\t%.1f\n", n, P90(f.round_trip));
    std::printf("%s: wire time\t%.1f\n", n, Median(f.wire));
    std::printf("%s: logger's own delay\t%.1f\n", n, Median(f.logger));
    std::printf("%s: over wire + logger\t%.1f\n", n,
                Median(f.round_trip) - Median(f.wire) - Median(f.logger));
    std::printf("%s: burst hand-over, median\t%.1f\n", n, Median(f.handed_over));
    std::printf("%s: done\t%d/%d\n", n, round_trips - f.failed, round_trips);
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const auto [round_trips, tsv] = vexa::bench::ParseArguments(argc, argv, 30);

  char pattern[] = "/tmp/vexa-round-trip-XXXXXX";
  const std::filesystem::path folder = mkdtemp(pattern);
  vexa::RecordingNotifier notifier;
  vexa::PhoneBookStore phone_book((folder / "addressbook.xml").string(), notifier);
  phone_book.AddEntry({"000041", "+491701000041", "135791", "246802"});

  const std::vector<Figures> lines = {
      Measure("status, pty", 0, {0}, round_trips, phone_book, folder),
      Measure("status, 9600 baud", 9600, {0}, round_trips, phone_book, folder),
      Measure("#2, 9600 baud", 9600, {2}, round_trips, phone_book, folder),
      Measure("Read All, 9600 baud", 9600, {0, 1, 2, 3}, round_trips, phone_book, folder),
  };
  if (tsv) {
    PrintTsv(lines, round_trips);
  } else {
    PrintTable(lines, round_trips);
  }
  std::filesystem::remove_all(folder);
  return 0;
}
