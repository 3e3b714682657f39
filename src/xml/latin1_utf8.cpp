#include "xml/latin1_utf8.h"

namespace vexa {
namespace {

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// Length of the sequence a lead byte announces, 0 for a byte that cannot lead.
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// The second byte's range excludes overlong forms, surrogates and values above 0x10FFFF.
bool SecondByteFits(unsigned char lead, unsigned char second) {
  switch (lead) {
    case 0xE0:
      return second >= 0xA0 && second <= 0xBF;
    case 0xED:
      return second >= 0x80 && second <= 0x9F;
    case 0xF0:
      return second >= 0x90 && second <= 0xBF;
    case 0xF4:
      return second >= 0x80 && second <= 0x8F;
    default:
      return IsContinuation(second);
  }
}

}  // namespace

std::string Utf8ToLatin1(std::string_view utf8) {
  if (utf8.starts_with(kUtf8ByteOrderMark)) utf8.remove_prefix(kUtf8ByteOrderMark.size());
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[pos]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++pos;
      continue;
    }
    const std::size_t length = SequenceLength(lead);
    std::size_t used = 1;
    char32_t code = lead & (0xFF >> (length + 1));
    while (used < length && pos + used < utf8.size()) {
      const auto byte = static_cast<unsigned char>(utf8[pos + used]);
      if (used == 1 ? !SecondByteFits(lead, byte) : !IsContinuation(byte)) break;
      code = (code << 6) | (byte & 0x3F);
      ++used;
    }
    const bool whole = length != 0 && used == length;
    out += whole && code <= 0xFF ? static_cast<char>(code) : '?';
    pos += used;
  }
  return out;
}

std::string Latin1ToUtf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (const char c : latin1) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (byte >> 6));
      out += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return out;
}

}  // namespace vexa
