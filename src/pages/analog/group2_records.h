#pragma once

#include <map>
#include <string_view>

#include "link/command_buffer.h"
#include "pages/analog/analog_records.h"

namespace vexa {

// The AD records of a reply to "#2", by AD number (0 to 20). A record the
// reply lacks is absent, and so is one whose value has no ";" after it or
// holds another number of fields than its layout: nothing is read from it.
std::map<int, ChannelRecord> ReadGroup2Records(std::string_view reply);

// Records the command that reproduces each record this page shows, with
// `setup_password` in front, under the record's code.
void RecordGroup2Commands(const std::map<int, ChannelRecord>& records,
                          std::string_view setup_password, CommandBuffer& buffer);

}  // namespace vexa
