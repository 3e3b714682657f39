#include "sim/sms_parts.h"

#include <algorithm>
#include <cstdio>

namespace vexa::sim {

namespace {

constexpr std::size_t kLengthFieldSize = 7;  // "L:nnnn;"
constexpr std::string_view kRecordKey = "#STD:";

std::vector<std::string> SplitReply(std::string_view reply, std::string_view station_id) {
  const auto first_field_end = reply.find(';');
  if (!reply.starts_with("#ST") || first_field_end == std::string_view::npos) {
    return {std::string(reply)};
  }
  char length_field[32];  // room for any size_t
  std::snprintf(length_field, sizeof length_field, "L:%04zu;", reply.size());
  std::string whole(reply.substr(0, first_field_end + 1));
  whole += length_field;
  whole += reply.substr(first_field_end + 1);
  if (whole.size() <= kSmsLength) return {whole};

  const std::string header = "#STA:" + std::string(station_id) + ";";
  const std::size_t piece = kSmsLength - header.size();
  std::vector<std::size_t> starts{0, kSmsLength};
  while (starts.back() + piece < whole.size()) starts.push_back(starts.back() + piece);
  // The program takes the reply as complete once it is longer than the
  // announced length, which leaves out the length field itself; so the last
  // message must carry more than that field's size, or the reply would be
  // taken as complete one message early.
  starts.back() = std::min(starts.back(), whole.size() - (kLengthFieldSize + 1));

  std::vector<std::string> parts{whole.substr(0, starts[1])};
  for (std::size_t i = 1; i < starts.size(); ++i) {
    const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : whole.size();
    parts.push_back(header + whole.substr(starts[i], end - starts[i]));
  }
  return parts;
}

}  // namespace

std::vector<std::string> SplitIntoSms(std::string_view reply, std::string_view station_id) {
  if (!reply.starts_with(kRecordKey)) return SplitReply(reply, station_id);
  std::vector<std::string> parts;
  while (!reply.empty()) {
    const auto next = reply.find(kRecordKey, 1);
    std::string record(reply.substr(0, next));
    if (!record.ends_with('#')) record += '#';
    for (auto& part : SplitReply(record, station_id)) parts.push_back(std::move(part));
    reply.remove_prefix(next == std::string_view::npos ? reply.size() : next);
  }
  return parts;
}

}  // namespace vexa::sim
