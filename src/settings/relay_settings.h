#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/recorded_commands.h"

namespace vexa {

// The codes the relay commands are sent with. Each command is recorded under
// its code plus ten times the relay number, so every relay keeps its own.
inline constexpr int kRelayStateCode = 14001;
inline constexpr int kRelayTimeLapseCode = 14002;
inline constexpr int kRelayAlarmsCode = 14003;
constexpr int RelayRecordCode(int code, int relay) {
  return code + 10 * relay;
}

// The alarm sources that may drive a relay, in the order of their bits.
inline constexpr std::size_t kAlarmSourceCount = 20;
inline constexpr std::array<std::string_view, kAlarmSourceCount> kAlarmSources = {
    "Humidity",      "AD01",          "AD02",          "AD03",          "AD04",
    "AD05",          "AD06",          "Temperature_3", "Temperature_4", "Temperature_5",
    "Temperature_6", "Temperature_7", "Temperature_8", "Temperature_1", "Temperature_2",
    "Power Source",  "IN1",           "IN2",           "IN3",           "IN4"};

// The relay states of a status reply's ";O01:" value, relay 1 first: '1' on,
// '0' off, nothing for any other character.
std::vector<std::optional<char>> ReadRelayStates(std::string_view status_reply);

// The "OUT<k>:" values of a reply to "#1" and the "COUT<k>:" values of a
// reply to "#3" for relays 1 to `relay_count`; nothing for a relay whose key
// the reply lacks.
std::vector<std::optional<std::string>> ReadTimeLapses(std::string_view reply, int relay_count);
std::vector<std::optional<std::string>> ReadAssociations(std::string_view reply, int relay_count);

// The source bits of an association value, source by source: '1' or '0',
// nothing for any other character or where the value ends. The filler after
// the twentieth bit is no source.
std::array<std::optional<char>, kAlarmSourceCount> AssociationBits(std::string_view value);

// What the "Relay Control" cell of a source shows for an association value:
// "Off" for "0", "On" for any other character, nothing where the value ends.
std::string AssociationText(std::string_view value, std::size_t source);

// The association value for the "Relay Control" texts of the sources: "1"
// for "On", else "0", then the six filler "0" the logger expects.
std::string AssociationValue(const std::vector<std::string>& texts);

// The relay commands for relay `relay`, with `password` in front: its state
// ('1' on, '0' off), its time lapse in seconds, its association value.
std::string RelayStateCommand(std::string_view password, int relay, char state);
std::string TimeLapseCommand(std::string_view password, int relay, std::string_view seconds);
std::string AssociationCommand(std::string_view password, int relay, std::string_view value);

// The commands the relays' settings record, with `setup_password` in front,
// each under its relay's own code: the states of a status reply, the time
// lapses of a reply to "#1" and the associations of a reply to "#3" (both for
// relays 1 to `relay_count`, the count the first status reply told).
RecordedCommands RelayStateCommands(std::string_view status_reply, std::string_view setup_password);
RecordedCommands TimeLapseCommands(std::string_view group1_reply, std::string_view setup_password,
                                   int relay_count);
RecordedCommands AssociationCommands(std::string_view group3_reply, std::string_view setup_password,
                                     int relay_count);

// A time lapse of fewer than four characters as its number in four digits:
// "7" gives "0007". Empty and four-character texts stay as they are.
std::string PaddedTimeLapse(std::string_view text);

}  // namespace vexa
