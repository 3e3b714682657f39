#include "sim/simulated_logger.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <optional>
#include <vector>

#include "protocol/command_envelope.h"
#include "sim/sensor_readings.h"
#include "sim/stored_records.h"

namespace vexa::sim {

namespace {

using namespace std::string_view_literals;

constexpr std::string_view kResetAccessCode = "tovel3";
constexpr std::string_view kFactoryEnquiryPassword = "135791";
constexpr std::string_view kFactorySetupPassword = "246802";
constexpr std::string_view kVersion = "Vexa-T V2.13 Build 260105";
// The states of the digital inputs; a logger with more inputs has the rest open.
constexpr std::string_view kDigitalInputStates = "100000000001000";
constexpr std::string_view kGsmState = "ER:00;IA:1;XH:21;";  // module and SIM fine, signal 21
constexpr std::size_t kAlarmTextLimit = 14;
constexpr std::size_t kPhoneNumberLimit = 19;
// Bytes that are no reply: control and high characters and a zero byte.
constexpr std::string_view kGarbage = "\x15\xfe\xa0~\x7f#%\x1b\x00\xd7q?"sv;

struct Command {
  std::string_view password;
  std::string_view key;
  std::string_view args;
  bool has_args = false;
};

// "<password>#<key>[:<args>]#"; the version query alone has "%" and no end mark.
std::optional<Command> ParseCommand(std::string_view text) {
  const auto separator = text.find('#');
  if (separator == std::string_view::npos) return std::nullopt;
  Command command;
  command.password = text.substr(0, separator);
  std::string_view body = text.substr(separator + 1);
  if (body == "CHECKVR%") {
    command.key = body;
    return command;
  }
  if (body.size() < 2 || body.back() != '#') return std::nullopt;
  body.remove_suffix(1);
  const auto colon = body.find(':');
  command.key = body.substr(0, colon);
  if (colon != std::string_view::npos) {
    command.args = body.substr(colon + 1);
    command.has_args = true;
  }
  return command;
}

bool IsReadKey(std::string_view key) {
  return key == "STATUS" || key == "CHEACK1" || key == "CHEACK2" || key == "CHEACK3" ||
         key == "CHECKVR%" || key == "SMS" || key.starts_with("REDEEM");
}

bool AllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

int Number(std::string_view digits) {
  int value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return value;
}

// The channel or relay number of a key such as "AD07" or "O2".
std::optional<int> Numbered(std::string_view key, std::string_view prefix) {
  if (!key.starts_with(prefix)) return std::nullopt;
  const std::string_view digits = key.substr(prefix.size());
  if (digits.size() > 2 || !AllDigits(digits)) return std::nullopt;
  return Number(digits);
}

std::vector<std::string_view> Split(std::string_view text) {
  std::vector<std::string_view> parts;
  for (;;) {
    const auto comma = text.find(',');
    parts.push_back(text.substr(0, comma));
    if (comma == std::string_view::npos) return parts;
    text.remove_prefix(comma + 1);
  }
}

bool IsDigitWithin(std::string_view text, char highest) {
  return text.size() == 1 && text[0] >= '0' && text[0] <= highest;
}

// "+" or a digit, then digits, at most 19 characters.
bool IsPhoneNumber(std::string_view text) {
  if (text.size() > kPhoneNumberLimit) return false;
  return AllDigits(text.starts_with('+') ? text.substr(1) : text);
}

// A limit or threshold as the pages send it: at most five characters, a
// number with an optional leading "-" and at most one ".".
bool IsChannelValue(std::string_view text) {
  if (text.empty() || text.size() > 5) return false;
  if (text.starts_with('-')) text.remove_prefix(1);
  bool digit = false;
  bool point = false;
  for (char c : text) {
    if (c == '.' && !point) {
      point = true;
    } else if (c >= '0' && c <= '9') {
      digit = true;
    } else {
      return false;
    }
  }
  return digit;
}

std::string TwoDigits(int number) {
  return std::string{static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10)};
}

std::string DigitalInputStates(int inputs) {
  std::string states(kDigitalInputStates.substr(0, std::max(inputs, 0)));
  states.resize(std::max(inputs, 0), '0');
  return states;
}

std::string JoinFields(const std::vector<std::string>& fields) {
  std::string joined;
  for (const auto& field : fields) {
    if (!joined.empty()) joined += ',';
    joined += field;
  }
  return joined;
}

}  // namespace

SimulatedLogger::SimulatedLogger(LoggerIdentity identity, LoggerClock clock, RecordHistory history)
    : station_id_(std::move(identity.station_id)),
      phone_(std::move(identity.phone)),
      enquiry_password_(std::move(identity.enquiry_password)),
      setup_password_(std::move(identity.setup_password)),
      clock_(std::move(clock)),
      history_(history),
      digital_inputs_(identity.digital_inputs),
      relays_(identity.relays),
      settings_(FactorySettings(digital_inputs_, relays_)) {}

std::string SimulatedLogger::Handle(std::string_view command) {
  if (faults_.silent) return "";
  if (faults_.garbage) return std::string(kGarbage);
  if (faults_.password_error) return std::string(kPasswordError);
  if (faults_.format_error) return std::string(kFormatError);
  std::string reply = Answer(command);
  if (faults_.truncated) reply.resize((reply.size() + 1) / 2);
  return reply;
}

Schedule SimulatedLogger::Respond(std::string_view received) {
  // A terminal program ends its line with CR or LF; the logger's commands have none.
  while (received.ends_with('\r') || received.ends_with('\n')) received.remove_suffix(1);
  std::string reply = Handle(received);
  if (reply.empty()) return {};
  return {{faults_.late, std::move(reply)}};
}

std::string SimulatedLogger::Answer(std::string_view text) {
  const auto command = ParseCommand(text);
  if (!command) return std::string(kFormatError);
  if (IsReadKey(command->key)) {
    if (command->password != enquiry_password_ && command->password != setup_password_) {
      return std::string(kPasswordError);
    }
    return Read(command->key, command->args, command->has_args);
  }
  if (command->key == "RESET") {
    if (command->password != setup_password_ && command->password != kResetAccessCode) {
      return std::string(kPasswordError);
    }
    if (command->has_args) return std::string(kFormatError);
    settings_ = FactorySettings(digital_inputs_, relays_);
    enquiry_password_ = kFactoryEnquiryPassword;
    setup_password_ = kFactorySetupPassword;
    return std::string(kInitializeDone);
  }
  // Every other command changes the logger.
  const Setter set = FindSetter(command->key);
  if (!set) return std::string(kFormatError);
  if (command->password != setup_password_) return std::string(kPasswordError);
  if (faults_.set_fail) return std::string(kSetFail);
  if (!command->has_args) return std::string(kFormatError);
  if (faults_.keep_old_values) return std::string(kSetSuccess);
  switch (set(command->args)) {
    case SetOutcome::kApplied:
      return std::string(kSetSuccess);
    case SetOutcome::kOutOfRange:
      return std::string(kSetFail);
    case SetOutcome::kMalformed:
      break;
  }
  return std::string(kFormatError);
}

std::string SimulatedLogger::Read(std::string_view key, std::string_view args,
                                  bool has_args) const {
  if (key == "SMS") {
    if (args.size() != 2 || !AllDigits(args) || Number(args) >= kAlarmChannels) {
      return std::string(kFormatError);
    }
    const AlarmText& alarm = settings_.alarm_texts[Number(args)];
    return (alarm.enabled ? "1," : "0,") + alarm.text;
  }
  if (has_args) return std::string(kFormatError);
  if (key == "STATUS") return StatusReply();
  if (key == "CHEACK1") return Group1Reply();
  if (key == "CHEACK2") return Group2Reply();
  if (key == "CHEACK3") return Group3Reply();
  if (key == "CHECKVR%") return std::string(kVersion);
  return StoredRecords(key.substr("REDEEM"sv.size()));
}

// "yymmddhhmm" and a two-digit record count. Without samples in that range the
// logger answers with its status, which the program shows in the same list.
std::string SimulatedLogger::StoredRecords(std::string_view moment_and_count) const {
  if (moment_and_count.size() != 12) return std::string(kFormatError);
  const auto from = ParseMinutes(moment_and_count.substr(0, 10));
  const std::string_view count = moment_and_count.substr(10);
  if (!from || !AllDigits(count)) return std::string(kFormatError);
  std::string records =
      StoredRecordsReply(station_id_, history_, *from, Number(count), Now(), HumidityUpperLimit());
  return records.empty() ? StatusReply() : records;
}

SimulatedLogger::Setter SimulatedLogger::FindSetter(std::string_view key) {
  const auto member = [this](SetOutcome (SimulatedLogger::*set)(std::string_view)) -> Setter {
    return [this, set](std::string_view args) { return (this->*set)(args); };
  };
  if (key == "ST") return member(&SimulatedLogger::SetStationId);
  if (key == "PS") return member(&SimulatedLogger::SetPasswords);
  if (key == "TM") return member(&SimulatedLogger::SetTime);
  if (key == "SA") return member(&SimulatedLogger::SetLoggingInterval);
  if (key == "SD") return member(&SimulatedLogger::CheckGprsUpload);
  if (key == "CP") return member(&SimulatedLogger::SetSmsUpload);
  if (key == "AP1" || key == "AP2") {
    std::string& slot = key == "AP1" ? settings_.alarm_phone1 : settings_.alarm_phone2;
    return [this, &slot](std::string_view args) { return SetAlarmPhone(slot, args); };
  }
  if (key == "PA") return member(&SimulatedLogger::SetDigitalModes);
  if (const auto channel = Numbered(key, "AD")) {
    return [this, channel](std::string_view args) { return SetAnalog(*channel, args); };
  }
  if (const auto channel = Numbered(key, "SMSSET")) {
    return [this, channel](std::string_view args) { return SetAlarmText(*channel, args); };
  }
  for (const std::string_view kind : {"OT"sv, "OC"sv, "O"sv}) {
    if (const auto relay = Numbered(key, kind)) {
      return [this, kind, relay](std::string_view args) { return SetRelay(kind, *relay, args); };
    }
  }
  return nullptr;
}

SimulatedLogger::SetOutcome SimulatedLogger::SetLoggingInterval(std::string_view args) {
  if (Split(args).size() != 1) return SetOutcome::kMalformed;
  if (!IsDigitWithin(args, '5')) return SetOutcome::kOutOfRange;
  settings_.logging_interval = args;
  return SetOutcome::kApplied;
}

// Interval code 00 to 11, mode 0 or 1, record count. The logger never reports
// the GPRS upload back, so it is only checked.
SimulatedLogger::SetOutcome SimulatedLogger::CheckGprsUpload(std::string_view args) {
  const auto values = Split(args);
  if (values.size() != 3) return SetOutcome::kMalformed;
  const bool valid = values[0].size() == 2 && AllDigits(values[0]) && Number(values[0]) <= 11 &&
                     IsDigitWithin(values[1], '1') && values[2].size() <= 4 && AllDigits(values[2]);
  return valid ? SetOutcome::kApplied : SetOutcome::kOutOfRange;
}

// Free text closed by "!"; an empty number clears the slot.
SimulatedLogger::SetOutcome SimulatedLogger::SetAlarmPhone(std::string& slot,
                                                           std::string_view args) {
  if (!args.ends_with('!')) return SetOutcome::kMalformed;
  const std::string_view number = args.substr(0, args.size() - 1);
  if (!number.empty() && !IsPhoneNumber(number)) return SetOutcome::kOutOfRange;
  slot = number;
  return SetOutcome::kApplied;
}

// A code 0 to 4 for the power source and each of inputs 1 to 3 the logger has;
// two filler digits follow.
SimulatedLogger::SetOutcome SimulatedLogger::SetDigitalModes(std::string_view args) {
  if (Split(args).size() != 1) return SetOutcome::kMalformed;
  const std::size_t modes = settings_.digital_modes.size() - 2;
  if (args.size() != settings_.digital_modes.size() || !AllDigits(args) ||
      args.substr(0, modes).find_first_not_of("01234") != std::string_view::npos) {
    return SetOutcome::kOutOfRange;
  }
  settings_.digital_modes = args;
  return SetOutcome::kApplied;
}

// "O" switches the relay, "OT" sets its time lapse, "OC" its alarm sources.
SimulatedLogger::SetOutcome SimulatedLogger::SetRelay(std::string_view kind, int relay,
                                                      std::string_view args) {
  if (Split(args).size() != 1) return SetOutcome::kMalformed;
  if (relay < 1 || relay > std::ssize(settings_.relays)) return SetOutcome::kOutOfRange;
  RelaySettings& settings = settings_.relays[relay - 1];
  if (kind == "OT") {
    if (args.size() > 4 || !AllDigits(args)) return SetOutcome::kOutOfRange;
    settings.time_lapse = std::string(4 - args.size(), '0') + std::string(args);
  } else if (kind == "OC") {
    if (args.size() != settings.alarm_sources.size() || args.find_first_not_of("01") != args.npos) {
      return SetOutcome::kOutOfRange;
    }
    settings.alarm_sources = args;
  } else {
    if (!IsDigitWithin(args, '1')) return SetOutcome::kOutOfRange;
    settings.state = args[0];
  }
  return SetOutcome::kApplied;
}

SimulatedLogger::SetOutcome SimulatedLogger::SetStationId(std::string_view args) {
  if (Split(args).size() != 1) return SetOutcome::kMalformed;
  if (args.size() != 6 || !AllDigits(args)) return SetOutcome::kOutOfRange;
  station_id_ = args;
  return SetOutcome::kApplied;
}

SimulatedLogger::SetOutcome SimulatedLogger::SetPasswords(std::string_view args) {
  const auto values = Split(args);
  if (values.size() != 2) return SetOutcome::kMalformed;
  for (const auto password : values) {
    if (password.size() != 6 || !AllDigits(password)) return SetOutcome::kOutOfRange;
  }
  enquiry_password_ = values[0];
  setup_password_ = values[1];
  return SetOutcome::kApplied;
}

SimulatedLogger::SetOutcome SimulatedLogger::SetTime(std::string_view args) {
  if (Split(args).size() != 1) return SetOutcome::kMalformed;
  const auto time = ParseMinutes(args);
  if (!time) return SetOutcome::kOutOfRange;
  clock_offset_ = *time - clock_();
  return SetOutcome::kApplied;
}

// "<centre number>!,<interval code>"
SimulatedLogger::SetOutcome SimulatedLogger::SetSmsUpload(std::string_view args) {
  const auto close = args.find("!,");
  if (close == std::string_view::npos) return SetOutcome::kMalformed;
  const std::string_view number = args.substr(0, close);
  const std::string_view interval = args.substr(close + 2);
  if (!IsPhoneNumber(number) || !IsDigitWithin(interval, '9')) return SetOutcome::kOutOfRange;
  settings_.centre_number = number;
  settings_.sms_interval = interval;
  return SetOutcome::kApplied;
}

SimulatedLogger::SetOutcome SimulatedLogger::SetAnalog(int channel, std::string_view args) {
  if (channel >= kAnalogChannels) return SetOutcome::kOutOfRange;
  const auto values = Split(args);
  std::vector<std::string>& fields = settings_.analog[channel];
  if (values.size() != fields.size()) return SetOutcome::kMalformed;
  // The mode is first in a three-field record, fourth in a six-field one.
  const std::size_t mode = fields.size() == 3 ? 0 : 3;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const bool valid = i == mode ? IsDigitWithin(values[i], '2') : IsChannelValue(values[i]);
    if (!valid) return SetOutcome::kOutOfRange;
  }
  fields.assign(values.begin(), values.end());
  return SetOutcome::kApplied;
}

// "0", or "1,<length>,<content>" where the content may itself hold "," or "#".
SimulatedLogger::SetOutcome SimulatedLogger::SetAlarmText(int channel, std::string_view args) {
  if (channel >= kAlarmChannels) return SetOutcome::kOutOfRange;
  AlarmText& alarm = settings_.alarm_texts[channel];
  if (args == "0") {
    alarm = {};
    return SetOutcome::kApplied;
  }
  if (!args.starts_with("1,")) return SetOutcome::kMalformed;
  const std::string_view rest = args.substr(2);
  const auto comma = rest.find(',');
  if (comma == std::string_view::npos) return SetOutcome::kMalformed;
  const std::string_view length = rest.substr(0, comma);
  const std::string_view content = rest.substr(comma + 1);
  if (!AllDigits(length) || length.size() > 2 ||
      static_cast<std::size_t>(Number(length)) != content.size() || content.empty() ||
      content.size() > kAlarmTextLimit) {
    return SetOutcome::kOutOfRange;
  }
  alarm = {true, std::string(content)};
  return SetOutcome::kApplied;
}

std::string SimulatedLogger::StatusReply() const {
  const LoggerTime now = Now();
  const int raw_humidity = raw_humidity_tenths_.value_or(RawHumidityTenths(now));
  std::string reply = "#STA:" + station_id_ + ",T;TM:" + FormatSeconds(now) + ";A00:" +
                      FormatTenths(ScaledHumidityTenths(raw_humidity, HumidityUpperLimit()), 2) +
                      ";A02:" + FormatTenths(raw_humidity, 2) + ";";
  for (int channel = 7; channel <= 14; ++channel) {
    reply +=
        "A" + TwoDigits(channel) + ":" + FormatTenths(TemperatureTenths(channel, now), 2) + ";";
  }
  reply += "P21:0.000;K01:" + DigitalInputStates(digital_inputs_) + ";O01:";
  for (const auto& relay : settings_.relays) reply += relay.state;
  return reply + ";#";
}

std::string SimulatedLogger::Group1Reply() const {
  std::string reply = "#STC1:" + station_id_ + ";TM:" + FormatMinutes(Now()) +
                      ";PS:" + enquiry_password_ + "," + setup_password_ +
                      ";SA:" + settings_.logging_interval + ";CP:" + settings_.centre_number + "," +
                      settings_.sms_interval + ";AP1:" + settings_.alarm_phone1 +
                      ";AP2:" + settings_.alarm_phone2 + ";";
  reply += kGsmState;
  for (std::size_t relay = 1; relay <= settings_.relays.size(); ++relay) {
    reply += "OUT" + std::to_string(relay) + ":" + settings_.relays[relay - 1].time_lapse + ";";
  }
  return reply + "#";
}

std::string SimulatedLogger::Group2Reply() const {
  std::string reply = "#STC2:" + station_id_ + ";";
  for (int channel = 0; channel < kAnalogChannels; ++channel) {
    reply += "AD" + TwoDigits(channel) + ":" + JoinFields(settings_.analog[channel]) + ";";
  }
  return reply + "PA:" + settings_.digital_modes + ";#";
}

std::string SimulatedLogger::Group3Reply() const {
  std::string reply = "#STC3:" + station_id_ + ";";
  for (std::size_t relay = 1; relay <= settings_.relays.size(); ++relay) {
    reply += "COUT" + std::to_string(relay) + ":" + settings_.relays[relay - 1].alarm_sources + ";";
  }
  return reply + "#";
}

LoggerTime SimulatedLogger::Now() const {
  return clock_() + clock_offset_;
}

double SimulatedLogger::HumidityUpperLimit() const {
  return std::strtod(settings_.analog[0][0].c_str(), nullptr);
}

}  // namespace vexa::sim
