#include "settings/whole_reply.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "sim/sms_parts.h"
#include "support/group2_reply.h"
#include "support/logger_replies.h"

namespace vexa {
namespace {

using testing::kGroup1Reply;
using testing::kGroup2Reply;
using testing::kGroup3Reply;
using testing::kStatusReply;

// What the exchange puts together from the modem's parts in the order given:
// the first as it is, the others without their "#STA:000041;" header.
std::string Reassembled(const std::vector<std::string>& parts, const std::vector<int>& order) {
  std::string text;
  for (int index : order) {
    const std::string& part = parts[index];
    text += index == 0 ? part : part.substr(part.find(';') + 1);
  }
  return text;
}

std::string Gsm(const char* reply) {
  const std::vector<std::string> parts = sim::SplitIntoSms(reply, "000041");
  std::vector<int> order;
  for (int i = 0; i < static_cast<int>(parts.size()); ++i) order.push_back(i);
  return Reassembled(parts, order);
}

// Each case: the group (0 for a status), the reply, whether it reads whole.
struct Case {
  int group;
  std::string reply;
  bool whole;
};

bool ReadsWhole(const Case& c) {
  return c.group == 0 ? StatusReplyReadsWhole(c.reply) : GroupReplyReadsWhole(c.group, c.reply);
}

TEST(WholeReply, TheLoggersRepliesReadWholeOnBothRoutes) {
  const Case cases[] = {
      {1, kGroup1Reply, true},
      {2, kGroup2Reply, true},
      {3, kGroup3Reply, true},
      {0, kStatusReply, true},
      {1, Gsm(kGroup1Reply), true},
      {2, Gsm(kGroup2Reply), true},
      {3, Gsm(kGroup3Reply), true},
      {0, Gsm(kStatusReply), true},
      {3, "#STC3:000041;#", true},  // a logger without relays
      // A logger may report fields the program does not read.
      {1, "#STC1:000041;GV:2.13;SA:3;VER:V2 Build 7;#", true},
      {2, "#STC2:000041;AD00:100.0,0.000,0.000,1,80.00,20.00;BAT:3.61;PA:0234;#", true},
      {0, "#STA:000041,T;TM:261209143005;CSQ:21;A00:45.20;#", true},
      // Text before the marker is no field of the reply; an empty field holds nothing.
      {2, "\r\n#STC2:000041;;PA:0234;#", true},
      // Readings and the clock are shown as sent, whatever they hold.
      {0, "#STA:000041,T;TM:26/12/09,14:30:05;A03:----;K01:1x;#", true},
  };
  for (const Case& c : cases) EXPECT_TRUE(ReadsWhole(c)) << c.group << " " << c.reply;
}

TEST(WholeReply, RecordsThatDoNotReadAreCaught) {
  const Case cases[] = {
      // Field counts and numbers of AD records.
      {2, "#STC2:000041;AD00:100.0,0.000,0.000,1,80.00;#", false},
      {2, "#STC2:000041;AD13:2,50.00,-10.0,1;#", false},
      {2, "#STC2:000041;AD03:10.00,0.000,0.0000,2,9.000,1.0.00;#", false},
      {2, "#STC2:000041;AD03:10.00,,0.000,2,9.000,1.000;#", false},
      {2, "#STC2:000041;AD03:5.0D09:1.000,0.000,1.000,2,80.00;#", false},
      // Two values where there are two, one where there is one.
      {1, "#STC1:000041;PS:135791;#", false},
      {1, "#STC1:000041;CP:+4917012,2,5;#", false},
      {1, "#STC1:000041;AP1:+49170,98;#", false},
      {1, "#STC1:000041;OUT1:00x0;#", false},
      {1, "#STC1:000041;TM:2612091430x5;#", false},
      {0, "#STA:000041,T;A13:21.5A14:20.70;#", false},
      // Keys that belong to another reply, or come twice.
      {2, "#STC2:000041;TM:2612091430;#", false},
      {1, "#STC1:000041;AD00:100.0,0.000,0.000,1,80.00,20.00;#", false},
      {3, "#STC3:000041;PA:0234;#", false},
      {0, "#STA:000041,T;OUT1:0010;#", false},
      {0, "#STA:000041,T;O01:10;O01:01;#", false},
      {2, "#STC2:000041;PA:0234;PA:0234;#", false},
      // Pieces that are no field at all.
      {2, "#STC2:000041;00,1,80.00;PA:0234;#", false},
      {2, "#STC2:000041;ad00:1;#", false},
      {2, "#STC2:000041;AD0X:1,2,3,4,5,6;#", false},
      {1, "#STC1:000041;SA:3;PS:135791,246802#", false},  // the last field's ";" is missing
      // Not the reply asked for.
      {1, kGroup2Reply, false},
      {0, kGroup1Reply, false},
      {4, kGroup1Reply, false},
  };
  for (const Case& c : cases) EXPECT_FALSE(ReadsWhole(c)) << c.group << " " << c.reply;
}

// Parts carry no sequence number: a reply put together in the wrong order has
// the right length and end mark. AD records are all of one length, so the
// pieces at the seams fit: only the order of the records shows it.
TEST(WholeReply, PartsInTheWrongOrderDoNotReadWhole) {
  const std::vector<std::string> parts = sim::SplitIntoSms(kGroup2Reply, "000041");
  ASSERT_GE(parts.size(), 4u);
  // The first part announces the length and the last holds the end mark: the
  // ones between are what can change places unnoticed by the reassembly.
  for (std::size_t first = 1; first + 2 < parts.size(); ++first) {
    std::vector<int> order;
    for (int i = 0; i < static_cast<int>(parts.size()); ++i) order.push_back(i);
    std::swap(order[first], order[first + 1]);
    const std::string scrambled = Reassembled(parts, order);
    EXPECT_EQ(scrambled.size(), Gsm(kGroup2Reply).size());
    EXPECT_TRUE(scrambled.ends_with(";#"));
    EXPECT_FALSE(GroupReplyReadsWhole(2, scrambled, true))
        << "parts " << first + 1 << " and " << first + 2;
  }
  EXPECT_TRUE(GroupReplyReadsWhole(2, Gsm(kGroup2Reply), true));
  EXPECT_TRUE(StatusReplyReadsWhole(Gsm(kStatusReply), true));
}

// Only a reply joined from SMS is held to the order of its numbered fields: a
// logger may send its fields in any order, but parts that changed places show
// only in it.
TEST(WholeReply, OrderCountsOnlyForAReplyJoinedFromParts) {
  const std::string reversed =
      "#STC2:000041;AD01:20.00,4.000,4.000,1,18.00,6.000;AD00:100.0,0.000,0.000,1,80.00,20.00;"
      "PA:0234;#";
  EXPECT_TRUE(GroupReplyReadsWhole(2, reversed));
  EXPECT_FALSE(GroupReplyReadsWhole(2, reversed, true));
  // Kinds are ordered each on its own; fields without a number have no order.
  EXPECT_TRUE(GroupReplyReadsWhole(1, "#STC1:000041;OUT1:0010;AP1:;SA:3;OUT2:0005;AP2:;#", true));
  EXPECT_FALSE(StatusReplyReadsWhole("#STA:000041,T;A07:21.10;A02:48.30;#", true));
}

}  // namespace
}  // namespace vexa
