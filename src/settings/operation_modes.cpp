#include "settings/operation_modes.h"

#include <array>
#include <cstdio>

#include "protocol/command_envelope.h"
#include "protocol/reply_field.h"

namespace vexa {
namespace {

constexpr std::string_view kOnOffChannel = "On/Off Channel";

// A reply digit 1 on an input row has no mode of its own.
constexpr std::array<std::string_view, 5> kInputModesByCode = {
    "Channel Disable", "Undefined", "NO - Close Triggered Alarm", "NC - Open Triggered Alarm",
    "Change State Triggered Alarm"};
// Codes 0 and 1 both mean no power alarm.
constexpr std::array<std::string_view, 5> kPowerModesByCode = {
    "No Alarm", "No Alarm", "AC Power Resume Alarm", "AC Power Loss Alarm",
    "AC Power Resume/Loss Alarm"};

// The first four rows carry the five-way codes, the rows below the four-way ones.
constexpr int kFiveWayRows = 4;
constexpr int kEditableRows = 17;
constexpr int kFewInputs = 5;

// The modes offered, in the order offered, with their codes on the wire.
struct ModeCode {
  std::string_view power_text;
  std::string_view input_text;
  char five_way;
  char four_way;
};

constexpr std::array<ModeCode, 4> kModeCodes = {{
    {"No Alarm", "Channel Disable", '0', '0'},
    {"AC Power Resume Alarm", "NO - Close Triggered Alarm", '2', '1'},
    {"AC Power Loss Alarm", "NC - Open Triggered Alarm", '3', '2'},
    {"AC Power Resume/Loss Alarm", "Change State Triggered Alarm", '4', '3'},
}};

std::string InputName(int number) {
  char name[32];
  std::snprintf(name, sizeof name, "Digital Input_%02d", number);
  return name;
}

}  // namespace

std::vector<std::string> DigitalChannelRows(int input_count) {
  std::vector<std::string> rows;
  if (input_count < kFewInputs) {
    for (int number = 1; number <= input_count; ++number) rows.push_back(InputName(number));
    return rows;
  }
  rows.emplace_back("Power Source");
  for (int number : {1, 2, 3, 4, 11, 12, 13, 14}) rows.push_back(InputName(number));
  return rows;
}

std::vector<std::string_view> OperationModeChoices(int row) {
  if (row >= kEditableRows) return {};
  if (row >= kFiveWayRows) return {kOnOffChannel};
  std::vector<std::string_view> choices;
  for (const ModeCode& code : kModeCodes) {
    choices.push_back(row == 0 ? code.power_text : code.input_text);
  }
  return choices;
}

std::optional<std::string> ReadPaValue(std::string_view reply) {
  const ReplyFieldValue field = ReplyField(reply, ";PA:");
  if (field.position < 0) return std::nullopt;
  return field.value;
}

std::string PaCommand(std::string_view password, std::string_view pa_value) {
  return FormatCommand("%s#PA:%s#", {password, pa_value});
}

RecordedCommands DigitalChannelCommands(std::string_view reply, std::string_view setup_password) {
  RecordedCommands recorded;
  if (const auto pa_value = ReadPaValue(reply)) {
    recorded.commands[kDigitalChannelCode] = PaCommand(setup_password, *pa_value);
  }
  return recorded;
}

std::vector<std::optional<std::string>> OperationModesFromPa(std::string_view pa_value,
                                                             int row_count) {
  std::vector<std::optional<std::string>> modes(row_count);
  for (int row = 0; row < row_count; ++row) {
    if (row >= kFiveWayRows) {
      modes[row] = std::string(kOnOffChannel);
      continue;
    }
    if (static_cast<std::size_t>(row) >= pa_value.size()) continue;
    const int code = pa_value[row] - '0';
    const auto& texts = row == 0 ? kPowerModesByCode : kInputModesByCode;
    modes[row] = code >= 0 && code < static_cast<int>(texts.size()) ? std::string(texts[code])
                                                                    : std::string();
  }
  return modes;
}

std::optional<std::string> PaValue(const std::vector<std::string>& row_texts) {
  // Before the rows are known there is nothing to send but the filler.
  if (row_texts.empty()) return std::nullopt;
  std::string value;
  for (std::size_t row = 0; row < row_texts.size(); ++row) {
    const std::string& text = row_texts[row];
    if (text == kOnOffChannel) continue;
    const ModeCode* found = nullptr;
    for (const ModeCode& code : kModeCodes) {
      if (text == code.power_text || text == code.input_text) found = &code;
    }
    if (found == nullptr) return std::nullopt;
    value += row < kFiveWayRows ? found->five_way : found->four_way;
  }
  return value + "00";
}

}  // namespace vexa
