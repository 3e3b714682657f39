#pragma once

#include <string_view>

namespace vexa {

// True when every field of a reply to "#1", "#2" or "#3" (`group`), or of a
// status reply, reads as a field of that reply: "KEY:value;" from its marker to
// its end mark, each key once, no key that belongs to another reply, and each
// field the program reads in its form (the fields of an AD record and their
// numbers, the two values of PS and CP, ...). A well-formed field the program
// does not know is passed over: a logger may report more than it reads.
//
// A reply the GSM route `joined` from several SMS must also have the numbered
// fields of each kind it reads (AD00, AD01, ...) in ascending order, as the
// logger sends them. SMS carry no sequence number, and where records are all
// of one length (AD records are) the network's cuts fall at the same place in
// each, so SMS that changed places leave records that read, with each other's
// values: only their order tells.
bool GroupReplyReadsWhole(int group, std::string_view reply, bool joined = false);
bool StatusReplyReadsWhole(std::string_view reply, bool joined = false);

}  // namespace vexa
