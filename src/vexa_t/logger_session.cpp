#include "vexa_t/logger_session.h"

#include <cstdio>
#include <ctime>

#include "link/local_time.h"
#include "link/named_port.h"
#include "link/port_name.h"
#include "process/process_setup.h"
#include "vexa_t/hidden_passwords.h"
#include "xml/latin1_utf8.h"

namespace vexa {
namespace {

constexpr std::chrono::milliseconds kCommandTick{100};

// One line however the text breaks: line ends and other control bytes spelt out.
std::string OneLine(std::string_view text) {
  std::string line;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r') {
      line += "\\r";
    } else if (c == '\n') {
      line += "\\n";
    } else if (byte < 0x20 || byte == 0x7f) {
      char code[8];
      std::snprintf(code, sizeof code, "\\x%02x", byte);
      line += code;
    } else {
      line += c;
    }
  }
  return line;
}

}  // namespace

LoggerSession::LoggerSession(PhoneBookStore& phone_book, Notifier& notifier, std::ostream* traffic)
    : phone_book_(phone_book),
      traffic_(traffic),
      serial_port_(
          [this](std::string burst) {
            loop_.Post([this, burst = std::move(burst)] { exchange_.OnReceived(burst); });
          },
          [this] { loop_.Post([this] { exchange_.ConnectionLost(); }); }),
      exchange_(port_, phone_book, command_buffer_, setup_log_, notifier, *this),
      commands_(exchange_, phone_book, notifier, *this),
      read_all_(commands_, exchange_, phone_book),
      snapshots_(phone_book.path(),
                 [this](const std::string& why) { history_notes_.push_back(why); }),
      setup_(exchange_, command_buffer_, phone_book, port_, notifier, read_all_, *this,
             [this](std::function<void()> task) { loop_.Post(std::move(task)); }) {
  loop_.Watch(StopSignalDescriptor(), [this] { EndByStop(); });
}

LoggerSession::~LoggerSession() {
  // The receive thread must stop before what it posts to goes.
  serial_port_.ClosePort();
}

std::optional<std::string> LoggerSession::Open(const std::string& port_name, bool gsm) {
  exchange_.set_transport_mode(gsm ? TransportMode::kGsmModem : TransportMode::kRs232);
  sim::SimulatorOptions options;
  options.gsm = gsm;
  const std::string refusal = OpenNamedPort(serial_port_, port_name, options, simulator_);
  if (refusal.empty()) return std::nullopt;
  serial_port_.ClosePort();
  simulator_.reset();
  return refusal;
}

void LoggerSession::Select(const std::string& id) {
  phone_book_.SelectCurrentDevice(id);
  exchange_.set_device_id(id);
}

std::optional<FinishedCommand> LoggerSession::Run(const std::function<void()>& send) {
  finished_.reset();
  send();
  if (!finished_ && !exchange_.busy()) return std::nullopt;
  loop_.RunUntil([this] { return finished_.has_value(); });
  return finished_;
}

ReadAllOutcome LoggerSession::ReadEverything(const ReadAll::Progress& progress) {
  std::optional<ReadAllOutcome> outcome;
  if (!read_all_.Start([&outcome](const ReadAllOutcome& o) { outcome = o; }, progress)) {
    ReadAllOutcome refused;
    refused.stopped_at = "Status";
    refused.result = ReadAll::kResultNotSent;
    refused.status_text = kStatusNotSent;
    return refused;
  }
  loop_.RunUntil([&outcome] { return outcome.has_value(); });
  return *outcome;
}

bool LoggerSession::Replay(std::vector<BatchRow> rows, RunOptions options,
                           std::function<void(const BatchRun&)> changed) {
  run_changed_ = std::move(changed);
  const bool started = setup_.Replay(std::move(rows), options);
  if (started) loop_.RunUntil([this] { return setup_.run().ended && !setup_.running(); });
  run_changed_ = nullptr;
  return started;
}

bool LoggerSession::TracedPort::WritePort(std::string_view bytes) {
  session_.Trace('>', HideSentPasswords(bytes));
  return port_.WritePort(bytes);
}

void LoggerSession::Trace(char direction, std::string_view text) {
  if (traffic_ == nullptr) return;
  const std::string line =
      FormatLocalTime("->[%m/%d/%y %X] ", std::time(nullptr)) + direction + " " +
      OneLine(direction == '<' ? HideReceivedPasswords(text) : std::string(text));
  *traffic_ << Latin1ToUtf8(line) << '\n' << std::flush;
}

void LoggerSession::EndByStop() {
  const int signal = TakeStopSignal();
  if (signal == 0) return;
  // Closing removes the lock file; nothing else is left half done.
  serial_port_.ClosePort();
  simulator_.reset();
  EndByStopSignal(signal);
}

void LoggerSession::ProgressChanged() {
  if (!exchange_.progress().visible) {
    loop_.StopTimer();
  } else if (!loop_.timer_active()) {
    loop_.StartTimer(kCommandTick, [this] {
      if (!exchange_.Tick()) loop_.StopTimer();
    });
  }
}

void LoggerSession::CommandFinished(const FinishedCommand& finished) {
  finished_ = finished;
  // Every logger's settings are kept whenever all three groups have been read,
  // as the window keeps them.
  snapshots_.CommandFinished(finished, phone_book_.GetCurrentDevice().setup_password,
                             exchange_.device_context().relay_count, std::time(nullptr));
  read_all_.CommandFinished(finished);
  // A step or read-back held back by this command goes out now, as the
  // window's batch page sends it on its next watch.
  loop_.Post([this] { setup_.SendWaitingStep(); });
}

void LoggerSession::RunChanged() {
  if (run_changed_) run_changed_(setup_.run());
}

}  // namespace vexa
