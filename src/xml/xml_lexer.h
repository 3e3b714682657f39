#pragma once

#include <cstddef>
#include <string_view>

namespace vexa {

inline bool IsXmlSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Texts are 8-bit, so every byte from 0x80 up counts as a letter of a name.
inline bool IsNameStart(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u == ':' || u >= 0x80;
}

inline bool IsNameChar(char c) {
  return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// Offset of the first character at or after `pos` that cannot belong to a name.
inline std::size_t NameEnd(std::string_view text, std::size_t pos) {
  while (pos < text.size() && IsNameChar(text[pos])) ++pos;
  return pos;
}

inline bool IsXmlName(std::string_view name) {
  return !name.empty() && IsNameStart(name.front()) && NameEnd(name, 0) == name.size();
}

// One attribute of a tag: offsets of its name and of its value (inside the quotes).
struct AttributeSpan {
  std::size_t name = 0;
  std::size_t name_length = 0;
  std::size_t value = 0;
  std::size_t value_length = 0;
};

struct AttributeScan {
  std::size_t after_last = 0;  // just past the last whole attribute, or where the scan began
  std::size_t stop = 0;        // first character after that which is neither blank nor attribute
};

// Reads the attributes of a tag from `pos` (just past the tag's name) and hands each to
// `visit`, which returns false to end the scan early. An attribute is blank, name, "=",
// and a value in single or double quotes; the first thing that is not ends the scan, so
// a well-formed tag stops at its ">", "/>" or "?>".
template <typename Visit>
AttributeScan ScanAttributes(std::string_view tag, std::size_t pos, Visit&& visit) {
  AttributeScan scan{pos, pos};
  const auto skip_blanks = [&tag](std::size_t p) {
    while (p < tag.size() && IsXmlSpace(tag[p])) ++p;
    return p;
  };
  while (true) {
    std::size_t p = skip_blanks(scan.after_last);
    scan.stop = p;
    if (p == scan.after_last || p >= tag.size() || !IsNameStart(tag[p])) return scan;
    AttributeSpan attribute;
    attribute.name = p;
    p = NameEnd(tag, p);
    attribute.name_length = p - attribute.name;
    p = skip_blanks(p);
    if (p >= tag.size() || tag[p] != '=') return scan;
    p = skip_blanks(p + 1);
    if (p >= tag.size() || (tag[p] != '"' && tag[p] != '\'')) return scan;
    const std::size_t close = tag.find(tag[p], p + 1);
    if (close == std::string_view::npos) return scan;
    attribute.value = p + 1;
    attribute.value_length = close - attribute.value;
    scan.after_last = close + 1;
    if (!visit(attribute)) return scan;
  }
}

}  // namespace vexa
