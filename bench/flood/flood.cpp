// The resident memory of the port and the exchange while the far end floods the
// line with no pause: the receive thread, the queued hand-over to a Qt event loop
// and the exchange as the window runs them, with a data record query pending
// (whose replies stay routed) and the data log kept at the window's 2 MiB.
// Prints the memory every few seconds and the bytes sent and handed over.
//   flood [seconds, default 30] [--tsv] [--gsm]
// --gsm takes the GSM route, where the bursts also pass the reassembly of parts.
#include <poll.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench_arguments.h"
#include "link/command_buffer.h"
#include "link/command_exchange.h"
#include "link/data_log_text.h"
#include "link/notifier.h"
#include "link/serial_port.h"
#include "link/setup_log.h"
#include "phonebook/phone_book_store.h"
#include "sim/pseudo_terminal.h"

namespace {

long ResidentMib() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmRSS:")) return std::atol(line.c_str() + 6) / 1024;
  }
  return 0;
}

// The window's part: queued hand-over of each burst, the data log at its bound.
class Window : public vexa::ExchangeListener {
 public:
  explicit Window(const std::filesystem::path& folder)
      : phone_book_((folder / "addressbook.xml").string(), notifier_),
        setup_log_(folder / "SetupLog.txt"),
        port_(
            [this](std::string burst) {
              handed_over_ += static_cast<long>(burst.size());
              QMetaObject::invokeMethod(
                  &context_, [this, burst = std::move(burst)] { exchange_.OnReceived(burst); },
                  Qt::QueuedConnection);
            },
            {}, folder),
        exchange_(port_, phone_book_, command_buffer_, setup_log_, notifier_, *this) {
    phone_book_.AddEntry({"000041", "+491701000041", "135791", "246802"});
    phone_book_.SelectCurrentDevice("000041");
  }

  bool Connect(const std::string& path, vexa::TransportMode route) {
    exchange_.set_transport_mode(route);
    return port_.InitPort(path, 9600) == 1 && port_.OpenPort() == 1 &&
           exchange_.SendCommand("135791#REDEEM260308140520#", 15001);
  }
  void Disconnect() { port_.ClosePort(); }
  long handed_over() const { return handed_over_; }

  void DataLogEntry(const std::string& text) override {
    data_log_.insert(0, text);
    if (data_log_.size() > vexa::kDataLogLimit) data_log_.resize(vexa::kDataLogLimit);
  }

 private:
  QObject context_;
  vexa::RecordingNotifier notifier_;
  vexa::PhoneBookStore phone_book_;
  vexa::CommandBuffer command_buffer_;
  vexa::SetupLog setup_log_;
  std::atomic<long> handed_over_{0};
  vexa::SerialPort port_;
  vexa::CommandExchange exchange_;
  std::string data_log_;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const auto [seconds, tsv] = vexa::bench::ParseArguments(argc, argv, 30);
  const bool gsm = std::find(argv + 1, argv + argc, std::string("--gsm")) != argv + argc;
  char pattern[] = "/tmp/vexa-flood-XXXXXX";
  const std::filesystem::path folder = mkdtemp(pattern);
  auto line = vexa::sim::PseudoTerminal::Open();
  auto window = std::make_unique<Window>(folder);
  const auto route = gsm ? vexa::TransportMode::kGsmModem : vexa::TransportMode::kRs232;
  if (!line || !window->Connect(line->slave_path(), route)) {
    std::fprintf(stderr, "no line\n");
    return 1;
  }

  // The far end: stored-record text, over and over, as fast as the line takes it.
  std::atomic<bool> flooding{true};
  std::atomic<long> sent{0};
  std::thread far_end([&] {
    const std::string block = "#STD:000041,T;TM:100308140500;D:1;T:2;A00:45.0|46.1;";
    std::string bytes;
    while (bytes.size() < 4096) bytes += block;
    while (flooding) {
      const ssize_t count = write(line->master(), bytes.data(), bytes.size());
      if (count > 0) sent += count;
      char drain[256];
      while (read(line->master(), drain, sizeof drain) > 0) {
      }
      pollfd writable{line->master(), POLLOUT, 0};
      if (count <= 0) poll(&writable, 1, 10);
    }
  });

  const long at_start = ResidentMib();
  std::vector<std::pair<int, long>> samples;
  QTimer sampler;
  int elapsed = 0;
  const int step = std::max(1, seconds / 6);
  QObject::connect(&sampler, &QTimer::timeout, [&] {
    elapsed += step;
    samples.emplace_back(elapsed, ResidentMib());
    if (elapsed >= seconds) app.quit();
  });
  sampler.start(step * 1000);
  app.exec();
  flooding = false;
  far_end.join();
  const long handed_over = window->handed_over();
  window->Disconnect();

  if (tsv) {
    std::printf("sent, MiB\t%ld\n", sent / (1024 * 1024));
    std::printf("handed over, MiB\t%ld\n", handed_over / (1024 * 1024));
    std::printf("resident at start, MiB\t%ld\n", at_start);
    for (const auto& [at, mib] : samples) std::printf("resident after %3d s, MiB\t%ld\n", at, mib);
  } else {
    std::printf(
        "%s route, flooded %d s: %ld MiB sent, %ld MiB handed over; resident memory %ld MiB at "
        "start",
        gsm ? "GSM" : "RS232", seconds, sent / (1024 * 1024), handed_over / (1024 * 1024),
        at_start);
    for (const auto& [at, mib] : samples) std::printf(", %ld after %d s", mib, at);
    std::printf("\n");
  }
  window.reset();
  std::filesystem::remove_all(folder);
  return 0;
}
