#pragma once

#include <string_view>

namespace vexa {

// True when the text holds the GSM modem's own words: the echo of an
// "AT+BJSD" command or its "message send" confirmation. They are logged,
// never routed.
bool HoldsModemText(std::string_view text);

// The length of the modem text at the start of a burst: a quick modem's echo
// and confirmation arrive in one burst with the first part of the logger's
// answer, which follows them. The whole text unless the burst starts with
// modem text and only an answer follows it.
std::size_t ModemTextLength(std::string_view text);

}  // namespace vexa
