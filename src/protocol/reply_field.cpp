#include "protocol/reply_field.h"

namespace vexa {

ReplyFieldValue ReplyField(std::string_view reply, std::string_view key, std::size_t start) {
  ReplyFieldValue field;
  const std::size_t found = reply.find(key, start);
  if (found == std::string_view::npos) return field;
  field.position = static_cast<std::ptrdiff_t>(found);
  const std::size_t begin = found + key.size();
  const std::size_t end = reply.find(';', begin);
  if (end != std::string_view::npos) field.value = reply.substr(begin, end - begin);
  return field;
}

std::vector<std::string> SplitValue(std::string_view value) {
  std::vector<std::string> parts;
  std::size_t begin = 0;
  for (;;) {
    const std::size_t comma = value.find(',', begin);
    if (comma == std::string_view::npos) break;
    parts.emplace_back(value.substr(begin, comma - begin));
    begin = comma + 1;
  }
  parts.emplace_back(value.substr(begin));
  return parts;
}

}  // namespace vexa
