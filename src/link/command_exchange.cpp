#include "link/command_exchange.h"

#include <ctime>
#include <utility>

#include "link/command_codes.h"
#include "link/complete_reply.h"
#include "link/data_log_text.h"
#include "link/modem_text.h"
#include "protocol/command_envelope.h"
#include "protocol/status_parse.h"
#include "settings/setting_codes.h"
#include "settings/whole_reply.h"

namespace vexa {
namespace {

bool Contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

bool InRange(int code, int first, int last) {
  return code >= first && code <= last;
}

const char* ResultText(int result) {
  switch (result) {
    case kResultSuccess:
      return "Command Success";
    case kResultFail:
      return "Command Fail ";
    case kResultTimeOut:
      return "Command Time Out";
    case kResultPasswordError:
      return "Password Error";
    case kResultCommunicationError:
      return "Communication Error";
    case kResultDataError:
      return "Data Error";
  }
  return "";
}

// False for a status whose fields do not all read (parts out of order, a
// damaged line): no page may act on it. Other texts are their handler's to judge.
bool NoBrokenStatus(const std::string& text, bool joined) {
  return !Contains(text, "STA:") || StatusReplyReadsWhole(text, joined);
}

// What a reset leaves the logger with.
constexpr char kFactoryEnquiryPassword[] = "135791";
constexpr char kFactorySetupPassword[] = "246802";

// Codes whose later replies must still reach their page after the command ends.
bool StaysPending(int code) {
  return code == 12000 || code == 12001 || code == 15001;
}

}  // namespace

CommandExchange::CommandExchange(Port& port, PhoneBookStore& phone_book,
                                 CommandBuffer& command_buffer, SetupLog& setup_log,
                                 Notifier& notifier, ExchangeListener& listener)
    : port_(port),
      phone_book_(phone_book),
      command_buffer_(command_buffer),
      setup_log_(setup_log),
      notifier_(notifier),
      listener_(listener) {}

bool CommandExchange::ValidateCommand() {
  const PhoneBookEntry device = phone_book_.GetCurrentDevice();
  const char* failure = nullptr;
  if (state_.busy) {
    failure = "Command is Progress , Don't Disconnect!";
  } else if (device.id.empty()) {
    failure = "Before Setup Command ,please Select Device ID!";
  } else if (device.phone.empty()) {
    failure = "Device Phone Number is NULL ,please Edit Phone Book!";
  } else if (device.enquiry_password.empty()) {
    failure = "Device QueryPassword is NULL ,please Edit Phone Book!";
  } else if (device.setup_password.empty()) {
    failure = "Device SetupPassword is NULL ,please Edit Phone Book!";
  }
  if (failure != nullptr) notifier_.Show(failure);
  return failure == nullptr;
}

std::string CommandExchange::WrapForRoute(const std::string& command) const {
  if (state_.transport_mode != TransportMode::kGsmModem) return command;
  const std::string phone = phone_book_.GetCurrentDevice().phone;
  return "AT+BJSD=" + std::to_string(phone.size()) + "," + phone + "," + command + "\r\n";
}

bool CommandExchange::SendCommand(const std::string& command, int code) {
  return Write(WrapForRoute(command), code);
}

bool CommandExchange::SendModemCommand(const std::string& command, int code) {
  return Write(command, code);
}

bool CommandExchange::Write(const std::string& text, int code) {
  state_.last_command = text;
  state_.pending_code = code;
  routed_reply_.clear();
  command_in_flight_ = true;
  // A part left over from an unfinished reply must not be glued to this one's.
  reassembly_.Reset();
  if (code == kInitCode) reset_reply_.clear();
  ExpectReplyTo(code);
  if (!port_.WritePort(text)) {
    EndWithCommunicationError();
    return false;
  }
  StartCommandProgress();
  return true;
}

void CommandExchange::EndWithCommunicationError() {
  state_.result = kResultCommunicationError;
  FinishCommand();
}

void CommandExchange::StartCommandProgress() {
  if (auto warning = setup_log_.Append(state_.last_command, std::time(nullptr))) {
    listener_.DataLogEntry(*warning);
  }
  stop_requested_ = false;
  state_.result = kResultTimeOut;
  state_.busy = true;
  tick_count_ = 0;
  progress_ = {true, 0, "Stop " + std::to_string(TimeoutSeconds()), "Command in progress", false};
  listener_.ProgressChanged();
}

int CommandExchange::TimeoutSeconds() const {
  return state_.transport_mode == TransportMode::kGsmModem ? kGsmTimeoutSeconds
                                                           : kRs232TimeoutSeconds;
}

bool CommandExchange::Tick() {
  const bool gsm = state_.transport_mode == TransportMode::kGsmModem;
  if (stop_requested_ || !state_.busy || tick_count_ > 10 * TimeoutSeconds()) {
    FinishCommand();
    // Whoever heard of the end may have sent the next command already.
    return progress_.visible;
  }
  // The RS232 bar runs to 450 ticks so that it stands near 89 at the time-out.
  progress_.bar = tick_count_ * 100 / (gsm ? 900 : 450);
  progress_.stop_text = "Stop " + std::to_string(TimeoutSeconds() - tick_count_ / 10);
  ++tick_count_;
  listener_.ProgressChanged();
  return true;
}

void CommandExchange::FinishCommand() {
  progress_.visible = false;
  tick_count_ = 0;
  progress_.status_text = ResultText(state_.result);
  progress_.lamp_lit = state_.result == kResultSuccess;
  state_.busy = false;
  const FinishedCommand finished{state_.pending_code, state_.result, progress_.status_text,
                                 routed_reply_};
  // A tick after the end finishes nothing new: no second notice of the same command.
  const bool ended_one = std::exchange(command_in_flight_, false);
  if (state_.pending_code == kBatchStepCode) {
    state_.pending_code = kNoPendingCode;
    listener_.BatchResult(progress_.status_text);
  } else if (!StaysPending(state_.pending_code) || state_.result == kResultCommunicationError) {
    // No later reply can come over a line that failed.
    state_.pending_code = kNoPendingCode;
  }
  listener_.ProgressChanged();
  if (ended_one) listener_.CommandFinished(finished);
}

void CommandExchange::OnReceived(const std::string& text) {
  if (text.size() >= kMaxBurstSize) return NoteFlooding(text);
  if (text.empty() || state_.pending_code == kNoPendingCode) return;

  std::string reply = text;
  if (HoldsModemText(text)) {
    // On the GSM route a quick modem's texts may share a burst with the reply.
    const std::size_t modem_end =
        state_.transport_mode == TransportMode::kGsmModem ? ModemTextLength(text) : text.size();
    listener_.DataLogEntry(ShortenForDataLog(std::string_view(text).substr(0, modem_end)));
    reply.erase(0, modem_end);
  }
  if (!reply.empty()) HandleReply(reply);
  // A handled reply ends the command at once rather than at the next tick.
  if (progress_.visible && !state_.busy) FinishCommand();
}

// The port hands over a burst this large only when the line never paused, once
// a flood. No reply is that long, so none is taken from it, and it is told
// whether or not a command waits; its start helps to tell what is talking.
void CommandExchange::NoteFlooding(const std::string& text) {
  listener_.DataLogEntry("The line is flooding: " + std::to_string(text.size()) +
                         " bytes without a pause, more than any reply; the rest is dropped "
                         "until the line pauses. Check what is connected to the port. It began: " +
                         ShortenForDataLog(std::string_view(text).substr(0, 64)));
}

void CommandExchange::HandleReply(const std::string& text) {
  std::string routed = text;
  if (state_.transport_mode == TransportMode::kGsmModem) {
    routed = reassembly_.Add(text);
    if (routed.empty()) return;
  }
  joined_reply_ = reassembly_.joined();
  reassembly_.Reset();
  // A refusal is no handler's reply: taken for one it would end as a success
  // (a version, a calibration step, an alarm text) or go on with Init's next step.
  if (routed == kPasswordError || routed == kFormatError) {
    state_.result = routed == kPasswordError ? kResultPasswordError : kResultDataError;
    state_.busy = false;
  } else {
    Route(routed);
  }
  listener_.DataLogEntry(ShortenForDataLog(routed));
}

void CommandExchange::ConnectionLost() {
  if (state_.busy) EndWithCommunicationError();
}

void CommandExchange::Route(const std::string& text) {
  routed_reply_ = text;
  const int code = state_.pending_code;
  if (InRange(code, 10000, 10008)) {
    HandleMainWindowReply(text);
  } else if (InRange(code, 11001, 11020)) {
    HandleSetupReply(text);
  } else if (InRange(code, 12002, 12005) || InRange(code, 12207, 12212) || code == 13001 ||
             InRange(code, 14001, 14003) || InRange(code, 19000, 19019)) {
    HandlePlainSetResult(text);
  } else if (code == kBatchStepCode) {
    HandlePlainSetResult(text);
    // Without the new passwords every later command of the run would be refused.
    if (state_.result == kResultSuccess) TakeNewPasswords();
  } else if (code == 12000) {
    HandlePlainSetResult(text);
    listener_.CalibrationReply(text);
  } else if (code == 12001) {
    // A status that does not read whole would calibrate from a wrong reading.
    const bool whole = NoBrokenStatus(text, joined_reply_);
    state_.result = whole ? kResultSuccess : kResultDataError;
    state_.busy = false;
    if (whole) listener_.CalibrationReply(text);
  } else if (code == 15001) {
    HandleDataRecordReply(text);
  } else if (InRange(code, 19100, 19119)) {
    state_.result = kResultSuccess;
    state_.busy = false;
    listener_.AlarmTextReply(text);
  }
}

void CommandExchange::HandleMainWindowReply(const std::string& text) {
  const int code = state_.pending_code;
  if (code == kInitCode) {
    // Busy stays set: the second step's reply finishes Init.
    ContinueReset(text);
    return;
  }
  switch (code) {
    case kGroup1Code:
    case kGroup1Code + 1:
    case kGroup1Code + 2: {
      const int group = code - kGroup1Code + 1;
      // Parts out of order or a damaged line leave records that do not read.
      if (!IsParameterGroupReply(text, group) ||
          !GroupReplyReadsWhole(group, text, joined_reply_)) {
        state_.result = kResultDataError;
        break;
      }
      state_.result = kResultSuccess;
      if (group == 1) listener_.Group1Reply(text);
      if (group == 2) listener_.Group2Reply(text);
      if (group == 3) listener_.Group3Reply(text);
      break;
    }
    case kSelectStatusCode:
    case kStatusCode:
      if (IsStatusReply(text) && StatusReplyReadsWhole(text, joined_reply_)) {
        HandleStatusReply(text);
      } else {
        state_.result = kResultDataError;
      }
      break;
    case kInfoCode:
      state_.result = kResultSuccess;
      listener_.InfoText(text);
      break;
    case kInitSecondStepCode:
      state_.result = kResultSuccess;
      listener_.InfoText(reset_reply_);
      command_buffer_.Clear();
      listener_.BatchRefresh(false);
      break;
    default:
      break;
  }
  state_.busy = false;
}

void CommandExchange::HandleStatusReply(const std::string& text) {
  state_.result = kResultSuccess;
  if (!status_read_) {
    ParseStatus(text, device_context_);
    status_read_ = true;
    listener_.FirstStatusReply(text);
  } else if (state_.pending_code == kStatusCode) {
    listener_.SelectDevicePage(kDataRecordPage);
    listener_.LaterStatusReply(text);
  }
}

void CommandExchange::HandleSetupReply(const std::string& text) {
  const int code = state_.pending_code;
  const std::string& sent = state_.last_command;
  if (Contains(text, kSetSuccess)) {
    if (code == kPasswordsCode) {
      TakeNewPasswords();
    } else if (code == kStationIdCode) {
      const std::size_t key = sent.find("#ST:");
      if (key != std::string::npos && sent.size() >= key + 10) {
        PhoneBookEntry device = phone_book_.GetCurrentDevice();
        device.id = sent.substr(key + 4, 6);
        switch (phone_book_.RenameEntry(state_.device_id, device)) {
          case PhoneBookStore::Rename::kRenamed:
            // Told twice, as after a delete and an add, so that a page on show also
            // fills its fields with the new entry.
            listener_.PhoneBookChanged();
            listener_.PhoneBookChanged();
            listener_.DeviceIdChanged(device.id);
            phone_book_.SelectCurrentDevice(device.id);
            state_.device_id = device.id;
            break;
          case PhoneBookStore::Rename::kIdTaken:
            // The other logger's entry must not take this one's place: its password
            // would go out with the next command.
            notifier_.Show("The logger now answers as station ID " + device.id +
                               ", but the phone book already holds a different entry " + device.id +
                               ", so the phone book was left as it is. Commands keep going to "
                               "this logger with the phone number and passwords of entry " +
                               state_.device_id + "; edit the phone book to tell the two apart.",
                           {}, MessageIcon::kWarning);
            break;
          case PhoneBookStore::Rename::kNotSaved:
            break;  // shown by the store
        }
      }
    }
    state_.result = kResultSuccess;
  } else if (Contains(text, kSetFail)) {
    state_.result = kResultFail;
  } else if (Contains(text, kInitializeDone)) {
    state_.result = kResultSuccess;
    // Busy stays set so that the second step's reply is still routed and
    // finishes the reset.
    ContinueReset(text);
    return;
  } else {
    state_.result = kResultDataError;
  }
  state_.busy = false;
}

void CommandExchange::TakeNewPasswords() {
  const std::string& sent = state_.last_command;
  // The key follows the password (and, on the GSM route, the modem's prefix,
  // which holds no "#"); a "#PS:" further on belongs to a text.
  const std::size_t key = sent.find('#');
  if (key == std::string::npos || sent.compare(key, 4, "#PS:") != 0 || sent.size() < key + 17) {
    return;
  }
  phone_book_.UpdatePasswords(state_.device_id, sent.substr(key + 4, 6), sent.substr(key + 11, 6));
  listener_.PhoneBookChanged();
}

void CommandExchange::HandlePlainSetResult(const std::string& text) {
  if (Contains(text, kSetSuccess)) {
    state_.result = kResultSuccess;
  } else if (Contains(text, kSetFail)) {
    state_.result = kResultFail;
  } else {
    state_.result = kResultDataError;
  }
  state_.busy = false;
}

void CommandExchange::HandleDataRecordReply(const std::string& text) {
  if (Contains(text, "#STD:")) {
    state_.result = kResultSuccess;
    listener_.StoredRecordsReply(text);
  } else if (Contains(text, "STA") && NoBrokenStatus(text, joined_reply_)) {
    state_.result = kResultSuccess;
    listener_.CurrentReadingsReply(text);
  } else {
    state_.result = kResultDataError;
  }
  state_.busy = false;
}

void CommandExchange::ContinueReset(const std::string& reply) {
  reset_reply_ = reply;
  std::string setup_password = phone_book_.GetCurrentDevice().setup_password;
  // A reset logger holds its factory passwords: the old ones would be refused
  // from now on, even where the phone book could not take the new ones.
  if (Contains(reply, kInitializeDone)) {
    setup_password = kFactorySetupPassword;
    phone_book_.UpdatePasswords(state_.device_id, kFactoryEnquiryPassword, setup_password);
    listener_.PhoneBookChanged();
  }
  SendResetSecondStep(setup_password);
}

void CommandExchange::SendResetSecondStep(const std::string& setup_password) {
  const std::string step = FormatCommand("%s#SD:00,0,0#", {setup_password});
  // Written directly: the last command stays, no setup log line, no new progress.
  state_.pending_code = kInitSecondStepCode;
  ExpectReplyTo(kInitSecondStepCode);
  if (!port_.WritePort(WrapForRoute(step))) EndWithCommunicationError();
}

void CommandExchange::ExpectReplyTo(int code) {
  // Copies: the port asks on its receive thread while this one may send the next command.
  port_.ExpectReply([code, route = state_.transport_mode](std::string_view received) {
    return IsCompleteReply(code, route, received);
  });
}

}  // namespace vexa
