#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace vexa {

// Fills each "%s" of a command format with the next argument, in order; every
// other character, a lone "%" included ("%s#CHECKVR%"), is copied as it is.
// Numbers are formatted by the caller ("AD%s" with "07").
std::string FormatCommand(std::string_view format, std::initializer_list<std::string_view> args);

// Reply texts the logger sends.
inline constexpr std::string_view kSetSuccess = "Set success!";
inline constexpr std::string_view kSetFail = "SET fail!";
inline constexpr std::string_view kInitializeDone = "initialize succesed!";  // sic
inline constexpr std::string_view kPasswordError = "Password is error!";
inline constexpr std::string_view kFormatError = "SMS format is error!";

// True when the reply holds "#STC<group>:" and its last character is "#".
bool IsParameterGroupReply(std::string_view reply, int group);
// True when the reply holds "STA:" and its last character is "#": a status cut
// off before its end mark is no status.
bool IsStatusReply(std::string_view reply);

}  // namespace vexa
