#include "sim/sms_parts.h"

#include <gtest/gtest.h>

#include <string>

#include "sim/reply_rules.h"

namespace vexa::sim {
namespace {

using testing::ProgramReassembly;

// A status-like reply of exactly `length` characters.
std::string ReplyOfLength(std::size_t length) {
  std::string reply = "#STA:000041,T;TM:261209143005;";
  while (reply.size() + 6 < length) reply += "A00:1;";
  reply.resize(length - 1, '0');
  return reply + "#";
}

std::string WithLengthField(const std::string& reply) {
  const auto first_field_end = reply.find(';') + 1;
  char field[32];  // room for any size_t
  std::snprintf(field, sizeof field, "L:%04zu;", reply.size());
  return reply.substr(0, first_field_end) + field + reply.substr(first_field_end);
}

TEST(SmsParts, ShortAndUnkeyedRepliesGoWhole) {
  for (const std::string reply : {"Set success!", "SET fail!", "1,TANK ALRM!", "0,",
                                  "Vexa-T V2.13 Build 260105", "initialize succesed!"}) {
    EXPECT_EQ(SplitIntoSms(reply, "000041"), std::vector<std::string>{reply});
  }
  // A short status still announces its length, right after its first field.
  const auto parts = SplitIntoSms("#STC3:000041;COUT1:10;#", "000041");
  ASSERT_EQ(parts.size(), 1u);
  EXPECT_EQ(parts[0], "#STC3:000041;L:0023;COUT1:10;#");
  EXPECT_EQ(parts[0].find("L:"), 13u);
  EXPECT_EQ(SplitIntoSms("#STA:000041,T;X;#", "000041")[0].find("L:"), 14u);
}

TEST(SmsParts, LongRepliesSplitIntoMessagesThatReassemble) {
  // Every length around the message boundaries, where an off-by-one would
  // have the program take the reply as complete one message early.
  for (std::size_t length = 40; length <= 800; ++length) {
    const std::string reply = ReplyOfLength(length);
    const auto parts = SplitIntoSms(reply, "000041");
    ASSERT_FALSE(parts.empty());
    ProgramReassembly reassembly;
    for (std::size_t i = 0; i < parts.size(); ++i) {
      const auto& part = parts[i];
      EXPECT_LE(part.size(), kSmsLength) << "length " << length << " part " << i;
      if (i > 0) {
        EXPECT_TRUE(part.starts_with("#STA:000041;")) << part;
      }
      const std::string whole = reassembly.Add(part);
      if (i + 1 < parts.size()) {
        EXPECT_EQ(whole, "") << "delivered early: length " << length << " part " << i;
      } else {
        EXPECT_EQ(whole, WithLengthField(reply)) << "length " << length;
      }
    }
  }
}

TEST(SmsParts, MessagesFillUpToTheLimit) {
  // 557 characters with the length field: 160, then 148 after each header.
  const auto parts = SplitIntoSms(ReplyOfLength(550), "000041");
  ASSERT_EQ(parts.size(), 4u);
  EXPECT_EQ(parts[0].size(), kSmsLength);
  EXPECT_EQ(parts[1].size(), kSmsLength);
  EXPECT_EQ(parts[2].size(), kSmsLength);
  EXPECT_EQ(parts[3].size(), 12u + (557 - 160 - 148 - 148));
}

}  // namespace
}  // namespace vexa::sim
