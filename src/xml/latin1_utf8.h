#pragma once

#include <string>
#include <string_view>

namespace vexa {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// UTF-8 into ISO-8859-1, decoded here rather than through the C locale so that the
// result never depends on the machine: each invalid sequence (its longest valid
// beginning), each character above 0xFF and each beyond 0xFFFF becomes one "?". A
// byte order mark at the start is dropped, since a "?" there would end up in the file.
std::string Utf8ToLatin1(std::string_view utf8);
// ISO-8859-1 into UTF-8.
std::string Latin1ToUtf8(std::string_view latin1);

}  // namespace vexa
