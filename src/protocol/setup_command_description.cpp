#include "protocol/setup_command_description.h"

#include <charconv>
#include <span>

#include "protocol/parameter_codes.h"

namespace vexa {
namespace {

// A parameter key and the display name that replaces `from` at the start of
// the command.
struct KeyRule {
  std::string_view key;  // counts at the start of the command only
  std::string_view from;
  std::string_view name;
};

// In the order the keys are tested: "OT" and "OC" before "O".
constexpr KeyRule kKeyRules[] = {
    {"ST", "ST:", "Station ID:"},
    {"PS", "PS:", "Password:"},
    {"TM:", "TM:", "Date / Time:"},
    {"SA", "SA:", "Data Logging Interval:"},
    {"SD", "SD:", "GPRS Upload Setup:"},
    {"CP", "CP:", "SMS Upload Setup:Centre Number:"},
    {"AP", "AP", "Alarm Phone"},
    {"AD", "AD", "Analog Channel "},
    {"PA:", "PA:", "Digital Channel:"},
    {"LP", "LP", "Pulse "},
    {"PL:", "PL:", "GSM Band Selection:"},
    {"OT", "OT", "Relay"},
    {"OC", "OC", "Relay"},
    {"O", "O", "Relay"},
    {"DR:", "DR:", "MODBUS Address:"},
    {"ID:", "ID:", "Access Point:"},
    {"IP:", "IP:", "GPRS Server IP:"},
    {"IY:", "IY:", "Domain Name:"},
    {"IH:", "IH:", "Server Port:"},
    {"IU:", "IU:", "Protocol:"},
    {"IT:", "IT:", "Acknowledge Interval:"},
    {"IR:", "IR:", "Reconnect Interval:"},
    {"MUS1:", "MUS1:", "Analog Channel 7:"},
    {"MUS2:", "MUS2:", "Analog Channel 8:"},
    {"MUS3:", "MUS3:", "Analog Channel 9:"},
    {"MUS4:", "MUS4:", "Analog Channel 10:"},
    {"MUS5:", "MUS5:", "Puls Channel 3:"},
    {"MUS6:", "MUS6:", "Puls Channel 4:"},
    {"MUS7:", "MUS7:", "Puls Channel 5:"},
    {"MUS8:", "MUS8:", "Puls Channel 6:"},
    {"BT:", "BT:", "RS485-COM Bytesize and StopBits:"},
    {"DY:", "DY:", "RS485-COM Delay:"},
};

// A relay's state (O), by code 0 and 1.
constexpr std::string_view kRelayStateTexts[] = {"Off", "On"};

// Replaces every occurrence, left to right; inserted text is not searched again.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  std::size_t found = text.find(from);
  if (found == std::string::npos) return;
  std::string result;
  std::size_t copied = 0;
  for (; found != std::string::npos; found = text.find(from, copied)) {
    result.append(text, copied, found - copied);
    result += to;
    copied = found + from.size();
  }
  result.append(text, copied);
  text = std::move(result);
}

// Replaces the code of `digits` decimal digits at `at` by its text; anything
// else there, a record count for one, stays as it is.
void ReplaceCodeAt(std::string& text, std::size_t at, std::size_t digits,
                   std::span<const std::string_view> texts) {
  const std::string_view code_text = std::string_view(text).substr(at, digits);
  const char* code_end = code_text.data() + code_text.size();
  std::size_t code = 0;
  const auto [end, error] = std::from_chars(code_text.data(), code_end, code);
  if (code_text.size() != digits || error != std::errc() || end != code_end ||
      code >= texts.size()) {
    return;
  }
  text.replace(at, digits, texts[code]);
}

// The upload mode, the argument after the interval code.
void ReplaceUploadMode(std::string& text, std::size_t value) {
  const std::size_t comma = text.find(',', value);
  if (comma == std::string::npos) return;
  for (std::size_t mode = 0; mode < kGprsUploadModeTexts.size(); ++mode) {
    const std::string coded = "," + std::to_string(mode) + ",";
    if (text.compare(comma, coded.size(), coded) == 0) {
      text.replace(comma, coded.size(), kGprsUploadModeTexts[mode]);
      return;
    }
  }
}

// The interval code after the centre number's closing "!,": the last one, as
// the number before it is typed text.
void ReplaceSmsUploadInterval(std::string& text, std::size_t value) {
  const std::size_t end_mark = text.rfind("!,");
  if (end_mark == std::string::npos || end_mark < value) return;
  const std::size_t code = end_mark + 2;
  constexpr std::string_view kLabel = ", Upload Interval";
  if (code < text.size() && text[code] >= '0' && text[code] <= '9') {
    text.replace(end_mark, 3,
                 std::string(kLabel) + std::string(kSmsUploadIntervalTexts[text[code] - '0']));
  } else {
    text.replace(end_mark, 2, std::string(kLabel) + "!:");
  }
}

// Renames the key at the start of `text` and replaces its coded values; a
// free text in the value stays as typed.
void ApplyRule(const KeyRule& rule, int command_code, std::string& text) {
  const std::string_view key = rule.key;
  const std::string_view sensor = SensorName(command_code);
  if (key == "AD" && !sensor.empty()) {
    text.replace(0, 4, sensor);
    return;
  }
  if (!text.starts_with(rule.from)) return;
  text.replace(0, rule.from.size(), rule.name);
  // The key's own ":" ends the name or follows the number after it.
  const std::size_t colon = text.find(':', rule.name.size() - 1);
  if (colon == std::string::npos) return;
  const std::size_t value = colon + 1;
  if (key == "SA") {
    ReplaceCodeAt(text, value, 1, kLoggingIntervalTexts);
  } else if (key == "SD") {
    ReplaceCodeAt(text, value, 2, kGprsUploadIntervalTexts);
    ReplaceUploadMode(text, value);
  } else if (key == "CP") {
    ReplaceSmsUploadInterval(text, value);
  } else if (key == "LP") {
    text.replace(colon, 1, " Start Zero:");
  } else if (key == "PL:") {
    ReplaceCodeAt(text, value, 1, kGsmBandTexts);
  } else if (key == "OT") {
    text.replace(colon, 1, " Time Lapse ( Seconds ):");
  } else if (key == "OC") {
    text.replace(colon, 1, " Associated Alarms:");
  } else if (key == "O") {
    ReplaceCodeAt(text, value, 1, kRelayStateTexts);
  } else if (key == "ID:" || key == "IP:" || key == "IY:") {
    // The "!" that closes the name.
    if (text.size() > value && text.back() == '!') text.pop_back();
  } else if (key == "IU:") {
    ReplaceCodeAt(text, value, 1, kProtocolTexts);
  }
}

}  // namespace

SetupCommandDescription DescribeSetupCommand(int command_code, std::string_view command) {
  std::string text(command);
  ReplaceAll(text, "#", "");
  // Every command starts with its key; an alarm text has none of these.
  for (const KeyRule& rule : kKeyRules) {
    if (text.starts_with(rule.key)) {
      ApplyRule(rule, command_code, text);
      break;
    }
  }
  ReplaceAll(text, ",", "   ,   ");

  const std::size_t colon = text.find(':');
  if (colon == std::string::npos) return {std::move(text), {}};
  return {text.substr(0, colon), text.substr(colon + 1)};
}

}  // namespace vexa
