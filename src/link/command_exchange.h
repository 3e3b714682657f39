#pragma once

#include <string>

#include "link/command_buffer.h"
#include "link/command_state.h"
#include "link/exchange_listener.h"
#include "link/gsm_reassembly.h"
#include "link/port.h"
#include "link/setup_log.h"
#include "notifier/notifier.h"
#include "phonebook/phone_book_store.h"
#include "protocol/device_context.h"

namespace vexa {

// What the main window shows of the command in flight.
struct ProgressDisplay {
  bool visible = false;     // progress bar and Stop button
  int bar = 0;              // 0..100
  std::string stop_text;    // "Stop %d"
  std::string status_text;  // "Command in progress", "Command Success", ...
  bool lamp_lit = false;    // command lamp
};

// One command in flight: sends it on either route, reassembles and routes the
// replies by the pending command code, and ends every command with an honest
// result. The main window owns it and drives its 100 ms tick.
class CommandExchange {
 public:
  static constexpr int kRs232TimeoutSeconds = 40;
  static constexpr int kGsmTimeoutSeconds = 90;

  CommandExchange(Port& port, PhoneBookStore& phone_book, CommandBuffer& command_buffer,
                  SetupLog& setup_log, Notifier& notifier, ExchangeListener& listener);

  const CommandState& state() const { return state_; }
  void set_transport_mode(TransportMode mode) { state_.transport_mode = mode; }
  void set_device_id(std::string id) { state_.device_id = std::move(id); }
  DeviceContext& device_context() { return device_context_; }
  const ProgressDisplay& progress() const { return progress_; }
  bool status_read() const { return status_read_; }
  bool busy() const { return state_.busy; }
  bool port_open() const { return port_.IsPortOpen(); }

  // The main window's check before a command; shows the first failure.
  bool ValidateCommand();

  // Wraps the command for the modem on the GSM route, records it as the last
  // command, sets the pending code, writes it and starts the progress display.
  // A failed write ends the command at once with "Communication Error".
  bool SendCommand(const std::string& command, int code);
  // The modem's own commands, never wrapped.
  bool SendModemCommand(const std::string& command, int code);

  void StartCommandProgress();
  // One 100 ms tick while a command is in flight; false once none is in flight
  // any more (the one that finished may have been followed by the next at once).
  bool Tick();
  void RequestStop() { stop_requested_ = true; }
  // Ends the command in flight with its current result and tells the listener,
  // CommandFinished last.
  void FinishCommand();

  // One received burst, on the user-interface thread. A reply that ends the
  // command finishes it at once.
  void OnReceived(const std::string& text);
  // The line went away: a command in flight cannot be answered any more.
  void ConnectionLost();

 private:
  std::string WrapForRoute(const std::string& command) const;
  bool Write(const std::string& text, int code);
  // Tells the port how to know the reply to the command about to be written.
  void ExpectReplyTo(int code);
  void EndWithCommunicationError();
  void NoteFlooding(const std::string& text);
  void HandleReply(const std::string& text);
  void Route(const std::string& text);
  void HandleMainWindowReply(const std::string& text);
  void HandleStatusReply(const std::string& text);
  void HandleSetupReply(const std::string& text);
  // After a password change the logger takes only the passwords the command sent:
  // the phone book entry gets them, and with it every later command.
  void TakeNewPasswords();
  void HandlePlainSetResult(const std::string& text);
  void HandleDataRecordReply(const std::string& text);
  // Both resets, Init's and the Device Setup page's, go on with the same second step.
  void ContinueReset(const std::string& reply);
  void SendResetSecondStep(const std::string& setup_password);
  int TimeoutSeconds() const;

  Port& port_;
  PhoneBookStore& phone_book_;
  CommandBuffer& command_buffer_;
  SetupLog& setup_log_;
  Notifier& notifier_;
  ExchangeListener& listener_;

  CommandState state_;
  DeviceContext device_context_;
  GsmReassembly reassembly_;
  bool joined_reply_ = false;       // the reply being routed came in several SMS
  std::string routed_reply_;        // the last text routed for the command in flight
  bool command_in_flight_ = false;  // written and not yet finished
  ProgressDisplay progress_;
  bool status_read_ = false;
  bool stop_requested_ = false;
  int tick_count_ = 0;
  std::string reset_reply_;
};

}  // namespace vexa
