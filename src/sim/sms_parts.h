#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vexa::sim {

inline constexpr std::size_t kSmsLength = 160;

// The short messages that carry a logger's reply through the GSM network.
// A status, parameter or record reply (it starts with "#ST") gets "L:nnnn;"
// (its own length) after its first field; what does not fit in the first
// message follows in messages headed "#STA:<station ID>;". Other replies go
// whole and unchanged. Stored records go one record after the other, each as
// a reply of its own closed by "#", so that each can be shown as it arrives.
std::vector<std::string> SplitIntoSms(std::string_view reply, std::string_view station_id);

}  // namespace vexa::sim
