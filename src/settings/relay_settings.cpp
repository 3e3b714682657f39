#include "settings/relay_settings.h"

#include <cstdio>
#include <cstdlib>

#include "protocol/command_envelope.h"
#include "protocol/reply_field.h"

namespace vexa {
namespace {

constexpr std::size_t kTimeLapseLength = 4;
constexpr std::string_view kAssociationFiller = "000000";

std::vector<std::optional<std::string>> ReadPerRelay(std::string_view reply,
                                                     std::string_view key_prefix, int relay_count) {
  std::vector<std::optional<std::string>> values;
  for (int relay = 1; relay <= relay_count; ++relay) {
    const ReplyFieldValue field =
        ReplyField(reply, std::string(key_prefix) + std::to_string(relay) + ":");
    values.push_back(field.position < 0 ? std::nullopt : std::optional(field.value));
  }
  return values;
}

std::optional<char> Bit(char c) {
  return c == '0' || c == '1' ? std::optional(c) : std::nullopt;
}

// "%s#<key><relay>:%s#"
std::string RelayCommand(std::string_view password, std::string_view key, int relay,
                         std::string_view value) {
  return FormatCommand("%s#%s%s:%s#", {password, key, std::to_string(relay), value});
}

// The command of each relay whose value the reply holds, under the relay's code.
RecordedCommands PerRelayCommands(const std::vector<std::optional<std::string>>& values, int code,
                                  std::string_view key, std::string_view password) {
  RecordedCommands recorded;
  for (int relay = 1; relay <= static_cast<int>(values.size()); ++relay) {
    if (const auto& value = values[relay - 1]) {
      recorded.commands[RelayRecordCode(code, relay)] = RelayCommand(password, key, relay, *value);
    }
  }
  return recorded;
}

}  // namespace

std::vector<std::optional<char>> ReadRelayStates(std::string_view status_reply) {
  std::vector<std::optional<char>> states;
  for (char c : ReplyField(status_reply, ";O01:").value) states.push_back(Bit(c));
  return states;
}

std::vector<std::optional<std::string>> ReadTimeLapses(std::string_view reply, int relay_count) {
  return ReadPerRelay(reply, "OUT", relay_count);
}

std::vector<std::optional<std::string>> ReadAssociations(std::string_view reply, int relay_count) {
  return ReadPerRelay(reply, "COUT", relay_count);
}

std::array<std::optional<char>, kAlarmSourceCount> AssociationBits(std::string_view value) {
  std::array<std::optional<char>, kAlarmSourceCount> bits;
  for (std::size_t source = 0; source < bits.size() && source < value.size(); ++source) {
    bits[source] = Bit(value[source]);
  }
  return bits;
}

std::string AssociationText(std::string_view value, std::size_t source) {
  if (source >= value.size()) return {};
  return value[source] == '0' ? "Off" : "On";
}

std::string AssociationValue(const std::vector<std::string>& texts) {
  std::string value;
  for (std::size_t source = 0; source < kAlarmSourceCount; ++source) {
    value += source < texts.size() && texts[source] == "On" ? '1' : '0';
  }
  return value + std::string(kAssociationFiller);
}

std::string RelayStateCommand(std::string_view password, int relay, char state) {
  return RelayCommand(password, "O", relay, std::string(1, state));
}

std::string TimeLapseCommand(std::string_view password, int relay, std::string_view seconds) {
  return RelayCommand(password, "OT", relay, seconds);
}

std::string AssociationCommand(std::string_view password, int relay, std::string_view value) {
  return RelayCommand(password, "OC", relay, value);
}

RecordedCommands RelayStateCommands(std::string_view status_reply,
                                    std::string_view setup_password) {
  RecordedCommands recorded;
  const auto states = ReadRelayStates(status_reply);
  for (int relay = 1; relay <= static_cast<int>(states.size()); ++relay) {
    if (const auto state = states[relay - 1]) {
      recorded.commands[RelayRecordCode(kRelayStateCode, relay)] =
          RelayStateCommand(setup_password, relay, *state);
    }
  }
  return recorded;
}

RecordedCommands TimeLapseCommands(std::string_view group1_reply, std::string_view setup_password,
                                   int relay_count) {
  return PerRelayCommands(ReadTimeLapses(group1_reply, relay_count), kRelayTimeLapseCode, "OT",
                          setup_password);
}

RecordedCommands AssociationCommands(std::string_view group3_reply, std::string_view setup_password,
                                     int relay_count) {
  return PerRelayCommands(ReadAssociations(group3_reply, relay_count), kRelayAlarmsCode, "OC",
                          setup_password);
}

std::string PaddedTimeLapse(std::string_view text) {
  if (text.empty() || text.size() >= kTimeLapseLength) return std::string(text);
  char padded[16];
  std::snprintf(padded, sizeof padded, "%04d", std::atoi(std::string(text).c_str()));
  return padded;
}

}  // namespace vexa
