#include "xml/xml_escape.h"

#include <array>
#include <utility>

namespace vexa {
namespace {

constexpr std::array<std::pair<char, std::string_view>, 5> kEntities{{
    {'&', "&amp;"},
    {'<', "&lt;"},
    {'>', "&gt;"},
    {'\'', "&apos;"},
    {'"', "&quot;"},
}};

}  // namespace

std::string EscapeXml(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (const char c : value) {
    std::string_view entity;
    for (const auto& [plain, escaped] : kEntities) {
      if (c == plain) entity = escaped;
    }
    if (entity.empty()) {
      out += c;
    } else {
      out += entity;
    }
  }
  return out;
}

std::string UnescapeXml(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  std::size_t pos = 0;
  while (pos < value.size()) {
    const std::size_t amp = value.find('&', pos);
    out.append(value.substr(pos, amp - pos));
    if (amp == std::string_view::npos) break;
    pos = amp + 1;
    char plain = '&';
    for (const auto& [c, escaped] : kEntities) {
      if (value.substr(amp).starts_with(escaped)) {
        plain = c;
        pos = amp + escaped.size();
      }
    }
    out += plain;
  }
  return out;
}

}  // namespace vexa
