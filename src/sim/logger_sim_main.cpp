// logger-sim: serves a simulated model T logger (or the GSM modem with loggers
// behind it) on a pseudo-terminal, for use with any serial program.

#include <pthread.h>
#include <signal.h>

#include <charconv>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "sim/simulator_session.h"

namespace {

using vexa::sim::LoggerIdentity;
using vexa::sim::SimulatorOptions;

constexpr std::string_view kUsage = R"(Usage: logger-sim [options]
Serves a simulated Vexa model T logger on a pseudo-terminal, prints the path of
its slave side (open it as a serial port) and runs until interrupted. On the
direct cable, SIGUSR1 (kill -USR1 <pid>) unplugs the logger and plugs in the
next one, as it left the factory, for a batch on one logger after another.

Route:
  --gsm                     a GSM modem with the loggers behind it, reached by
                            AT+BJSD=<n>,<phone>,<command>; without it, one
                            logger on a direct cable
  --part-delay-ms N         pause between the modem's bursts (default 1000)
Logger (without these, the loggers of demo/addressbook.xml: 000041, 000042,
000043 on +491701000041.. with passwords 135791 / 246802; with any of them,
one logger based on the first):
  --station-id ID           six digits
  --phone NUMBER            the phone number of its SIM
  --enquiry-password TEXT
  --setup-password TEXT
Faults:
  --silent                  never answer
  --late-ms N               answer N ms late
  --set-fail                answer every setup command with "SET fail!"
  --keep-old-values         answer every setup command with "Set success!"
                            but keep the old value
  --password-error          answer every command with "Password is error!"
  --format-error            answer every command with "SMS format is error!"
  --garbage                 answer with bytes that are no reply
  --truncated               answer with the first half of the reply
  --drop-last-part          never send the last SMS of a reply in several parts
  --swap-parts              send the second and third SMS of a reply in four or
                            more in reverse order
  --help                    show this text
  --version                 show the version
)";

std::optional<long> Milliseconds(std::string_view text) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

bool IsStationId(std::string_view text) {
  return text.size() == 6 && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Fills the options from the arguments; an error text when they are wrong.
std::optional<std::string> ParseArguments(int argc, char** argv, SimulatorOptions& options,
                                          bool& help, bool& version) {
  LoggerIdentity identity = options.loggers.front();
  bool own_identity = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    // Options that take a value.
    std::string* text = nullptr;
    if (option == "--station-id") text = &identity.station_id;
    if (option == "--phone") text = &identity.phone;
    if (option == "--enquiry-password") text = &identity.enquiry_password;
    if (option == "--setup-password") text = &identity.setup_password;
    const bool takes_number = option == "--part-delay-ms" || option == "--late-ms";
    if (text != nullptr || takes_number) {
      if (i + 1 == argc) return std::string(option) + " needs a value";
      const std::string_view value = argv[++i];
      if (text != nullptr) {
        if (value.empty() || value.find_first_of("#,") != std::string_view::npos) {
          return std::string(option) + " must not be empty or hold '#' or ','";
        }
        *text = value;
        own_identity = true;
        continue;
      }
      const auto milliseconds = Milliseconds(value);
      if (!milliseconds) return std::string(option) + " needs a number of milliseconds";
      (option == "--late-ms" ? options.faults.late : options.part_delay) =
          std::chrono::milliseconds(*milliseconds);
      continue;
    }
    if (option == "--help") {
      help = true;
    } else if (option == "--version") {
      version = true;
    } else if (option == "--gsm") {
      options.gsm = true;
    } else if (option == "--silent") {
      options.faults.silent = true;
    } else if (option == "--set-fail") {
      options.faults.set_fail = true;
    } else if (option == "--keep-old-values") {
      options.faults.keep_old_values = true;
    } else if (option == "--password-error") {
      options.faults.password_error = true;
    } else if (option == "--format-error") {
      options.faults.format_error = true;
    } else if (option == "--garbage") {
      options.faults.garbage = true;
    } else if (option == "--truncated") {
      options.faults.truncated = true;
    } else if (option == "--drop-last-part") {
      options.faults.drop_last_part = true;
    } else if (option == "--swap-parts") {
      options.faults.swap_parts = true;
    } else {
      return "unknown option " + std::string(option);
    }
  }
  if (!IsStationId(identity.station_id)) return std::string("--station-id must be six digits");
  if (own_identity) options.loggers = {identity};
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  SimulatorOptions options;
  bool help = false;
  bool version = false;
  if (const auto error = ParseArguments(argc, argv, options, help, version)) {
    std::cerr << "logger-sim: " << *error << "\n" << kUsage;
    return 2;
  }
  if (help) {
    std::cout << kUsage;
    return 0;
  }
  if (version) {
    std::cout << "logger-sim (Vexa-T_Setup) " VEXA_VERSION "\n";
    return 0;
  }

  // Blocked before the serving thread starts, so only sigwait below sees them.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  sigaddset(&stop_signals, SIGUSR1);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  auto session = vexa::sim::SimulatorSession::Start(options);
  if (!session) {
    std::cerr << "logger-sim: no pseudo-terminal available\n";
    return 1;
  }
  std::cout << session->slave_path() << std::endl;
  std::cerr << "logger-sim: " << (options.gsm ? "GSM modem" : "direct cable") << ", logger "
            << options.loggers.front().station_id << "; Ctrl+C stops\n";

  int signal_number = 0;
  while (sigwait(&stop_signals, &signal_number) == 0 && signal_number == SIGUSR1) {
    const std::string station_id = session->PlugInNextLogger();
    if (!station_id.empty()) std::cerr << "logger-sim: logger " << station_id << " plugged in\n";
  }
  session.reset();
  return 0;
}
