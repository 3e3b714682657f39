#pragma once

#include <map>
#include <string_view>

#include "settings/analog_records.h"
#include "settings/recorded_commands.h"

namespace vexa {

// The AD records of a reply to "#2", by AD number (0 to 20). A record the
// reply lacks is absent, and so is one whose value has no ";" after it or
// holds another number of fields than its layout: nothing is read from it.
std::map<int, ChannelRecord> ReadGroup2Records(std::string_view reply);

// The command that reproduces each record the Analog Channel page shows, with
// `setup_password` in front, under the record's code; the values as received.
RecordedCommands AnalogChannelCommands(const std::map<int, ChannelRecord>& records,
                                       std::string_view setup_password);

}  // namespace vexa
