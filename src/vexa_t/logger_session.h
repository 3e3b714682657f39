#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "batch/batch_setup.h"
#include "history/snapshot_keeper.h"
#include "link/command_buffer.h"
#include "link/command_exchange.h"
#include "link/main_window_commands.h"
#include "link/read_all.h"
#include "link/serial_port.h"
#include "link/setup_log.h"
#include "notifier/notifier.h"
#include "phonebook/phone_book_store.h"
#include "sim/simulator_session.h"
#include "vexa_t/event_loop.h"

namespace vexa {

// The window's link to one logger, without the window: the port and the
// command exchange driven as the window drives them, on the thread that runs
// the session. Bursts of the port's receive thread and the batch's steps reach
// the exchange as tasks of one event loop, with the window's 100 ms tick. A
// stop signal closes the port, which removes its lock file, and ends the
// process by that signal.
class LoggerSession : private ExchangeListener, private BatchView {
 public:
  // Every burst both ways goes to `traffic`, when given, as the data log shows
  // it and without passwords.
  LoggerSession(PhoneBookStore& phone_book, Notifier& notifier, std::ostream* traffic);
  ~LoggerSession() override;
  LoggerSession(const LoggerSession&) = delete;
  LoggerSession& operator=(const LoggerSession&) = delete;

  // Opens a port of the Port list ("Simulator", "COMn", a device path) on the
  // route chosen; why not, when it cannot be used.
  std::optional<std::string> Open(const std::string& port_name, bool gsm);
  // Every command goes to the logger of this phone book entry from now on.
  void Select(const std::string& id);

  // Hands one command to the exchange with `send` (a button's function) and
  // waits for its end; nothing when it was refused before it went out.
  std::optional<FinishedCommand> Run(const std::function<void()>& send);
  // Status, "#1", "#2" and "#3", as Read All sends them.
  ReadAllOutcome ReadEverything(const ReadAll::Progress& progress);
  // Replays exactly these rows as the batch does and waits for the run's end;
  // false when it was refused. `changed` hears of every step of the run.
  bool Replay(std::vector<BatchRow> rows, RunOptions options,
              std::function<void(const BatchRun&)> changed);
  const BatchRun& run() const { return setup_.run(); }
  MainWindowCommands& commands() { return commands_; }
  CommandExchange& exchange() { return exchange_; }
  // The last reply held stored records, not the current readings; and the
  // version text of the Device Setup page.
  bool stored_records_came() const { return stored_records_came_; }
  const std::string& info_text() const { return info_text_; }
  // Why a logger's settings, read in full, could not be kept in the history
  // beside the phone book; each reason once.
  const std::vector<std::string>& history_notes() const { return history_notes_; }

 private:
  // The serial port with every write told to the traffic log.
  class TracedPort : public Port {
   public:
    TracedPort(SerialPort& port, LoggerSession& session) : port_(port), session_(session) {}
    bool IsPortOpen() const override { return port_.IsPortOpen(); }
    bool WritePort(std::string_view bytes) override;
    void ExpectReply(ReplyComplete complete) override { port_.ExpectReply(std::move(complete)); }

   private:
    SerialPort& port_;
    LoggerSession& session_;
  };

  void Trace(char direction, std::string_view text);
  // Ends the process by the stop signal that came, if one did.
  void EndByStop();

  // ExchangeListener
  void InfoText(const std::string& text) override { info_text_ = text; }
  void StoredRecordsReply(const std::string&) override { stored_records_came_ = true; }
  void BatchResult(const std::string& status_text) override { setup_.BatchResult(status_text); }
  void DataLogEntry(const std::string& text) override { Trace('<', text); }
  void ProgressChanged() override;
  void CommandFinished(const FinishedCommand& finished) override;
  // BatchView
  void RunChanged() override;

  PhoneBookStore& phone_book_;
  std::ostream* const traffic_;
  EventLoop loop_;
  std::unique_ptr<sim::SimulatorSession> simulator_;
  SerialPort serial_port_;
  TracedPort port_{serial_port_, *this};
  SetupLog setup_log_;
  CommandBuffer command_buffer_;
  CommandExchange exchange_;
  MainWindowCommands commands_;
  ReadAll read_all_;
  std::optional<FinishedCommand> finished_;
  std::function<void(const BatchRun&)> run_changed_;
  bool stored_records_came_ = false;
  std::string info_text_;
  std::vector<std::string> history_notes_;
  SnapshotKeeper snapshots_;
  // Declared last, so destroyed first: its worker ends before the rest goes.
  BatchSetup setup_;
};

}  // namespace vexa
