#include "protocol/setup_command_description.h"

#include <charconv>
#include <span>

#include "protocol/parameter_codes.h"

namespace vexa {
namespace {

// A parameter key and the display name that replaces `from` wherever it occurs.
struct KeyRule {
  std::string_view key;  // looked for anywhere in the command
  std::string_view from;
  std::string_view name;
};

// In the order the keys are tested: the first key found anywhere decides the
// rule, so "ST" wins over a "PS" inside its value and "O" over most later keys.
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

// Replaces the code of `digits` decimal digits right after each `key` by its
// text; anything else there, a record count for one, stays as it is.
void ReplaceCodeAfter(std::string& text, std::string_view key, std::size_t digits,
                      std::span<const std::string_view> texts) {
  for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at)) {
    at += key.size();
    const std::string_view code_text = std::string_view(text).substr(at, digits);
    const char* code_end = code_text.data() + code_text.size();
    std::size_t code = 0;
    const auto [end, error] = std::from_chars(code_text.data(), code_end, code);
    if (code_text.size() != digits || error != std::errc() || end != code_end ||
        code >= texts.size()) {
      continue;
    }
    text.replace(at, digits, texts[code]);
    at += texts[code].size();
  }
}

void ApplyRule(const KeyRule& rule, int command_code, std::string& text) {
  const std::string_view key = rule.key;
  const std::string_view sensor = SensorName(command_code);
  if (key == "AD" && !sensor.empty()) {
    text.replace(0, 4, sensor);
    return;
  }
  ReplaceAll(text, rule.from, rule.name);
  if (key == "SA") {
    // ":0" first: no later interval text holds another ":<code>" to replace.
    for (std::size_t code = 0; code < kLoggingIntervalTexts.size(); ++code) {
      ReplaceAll(text, ":" + std::to_string(code), ":" + std::string(kLoggingIntervalTexts[code]));
    }
  } else if (key == "SD") {
    ReplaceCodeAfter(text, rule.name, 2, kGprsUploadIntervalTexts);
    ReplaceAll(text, ",0,", kGprsUploadModeTexts[0]);
    ReplaceAll(text, ",1,", kGprsUploadModeTexts[1]);
  } else if (key == "CP") {
    ReplaceAll(text, "!,", ", Upload Interval!:");
    for (std::size_t code = 0; code < kSmsUploadIntervalTexts.size(); ++code) {
      ReplaceAll(text, "!:" + std::to_string(code), kSmsUploadIntervalTexts[code]);
    }
  } else if (key == "LP") {
    ReplaceAll(text, ":", " Start Zero:");
  } else if (key == "PL:") {
    ReplaceCodeAfter(text, rule.name, 1, kGsmBandTexts);
  } else if (key == "OT") {
    ReplaceAll(text, ":", " Time Lapse ( Seconds ):");
  } else if (key == "OC") {
    ReplaceAll(text, ":", " Associated Alarms:");
  } else if (key == "O") {
    ReplaceAll(text, ":1", ":On");
    ReplaceAll(text, ":0", ":Off");
  } else if (key == "ID:" || key == "IP:" || key == "IY:") {
    ReplaceAll(text, "!", "");
  } else if (key == "IU:") {
    ReplaceAll(text, "1", kProtocolTexts[1]);
    ReplaceAll(text, "0", kProtocolTexts[0]);
  }
}

}  // namespace

SetupCommandDescription DescribeSetupCommand(int command_code, std::string_view command) {
  std::string text(command);
  ReplaceAll(text, "#", "");
  for (const KeyRule& rule : kKeyRules) {
    if (text.find(rule.key) != std::string::npos) {
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
