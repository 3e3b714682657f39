#include "settings/group2_records.h"

#include <string>

#include "protocol/reply_field.h"

namespace vexa {

std::map<int, ChannelRecord> ReadGroup2Records(std::string_view reply) {
  std::map<int, ChannelRecord> records;
  for (int ad = 0; ad <= kLastAdNumber; ++ad) {
    const std::string key = "AD" + std::string(ad < 10 ? "0" : "") + std::to_string(ad) + ":";
    const ReplyFieldValue field = ReplyField(reply, key);
    if (field.position < 0) continue;
    const std::vector<std::string> values = SplitValue(field.value);
    if (IsThreeFieldRecord(ad) && values.size() == 3) {
      records[ad] = {{}, {}, {}, values[0], values[1], values[2]};
    } else if (!IsThreeFieldRecord(ad) && values.size() == 6) {
      records[ad] = {values[0], values[1], values[2], values[3], values[4], values[5]};
    }
  }
  return records;
}

RecordedCommands AnalogChannelCommands(const std::map<int, ChannelRecord>& records,
                                       std::string_view setup_password) {
  RecordedCommands recorded;
  for (const auto& [ad, record] : records) {
    const int code = RecordCode(ad);
    if (code >= 0) recorded.commands[code] = ChannelCommand(setup_password, ad, record);
  }
  return recorded;
}

}  // namespace vexa
