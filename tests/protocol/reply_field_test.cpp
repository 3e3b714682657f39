#include "protocol/reply_field.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vexa {
namespace {

using ::testing::ElementsAre;
using ::testing::FieldsAre;

constexpr std::string_view kStatus =
    "#STA:000041,T;TM:261209143005;A00:45.20;K01:100000000001000;O01:10;AP2:;#";

TEST(ReplyFieldTest, ValueUpToTheNextSemicolon) {
  EXPECT_THAT(ReplyField(kStatus, "K01:"), FieldsAre("100000000001000", kStatus.find("K01:")));
  EXPECT_THAT(ReplyField(kStatus, "STA:"), FieldsAre("000041,T", 1));
  EXPECT_THAT(ReplyField(kStatus, "AP2:"), FieldsAre("", kStatus.find("AP2:")));
}

TEST(ReplyFieldTest, MissingKeyOrSemicolonGivesEmptyValue) {
  EXPECT_THAT(ReplyField(kStatus, "STC1:"), FieldsAre("", -1));
  EXPECT_THAT(ReplyField("#STA:000041,T", "STA:"), FieldsAre("", 1));
  EXPECT_THAT(ReplyField(kStatus, "STA:", kStatus.size() + 5), FieldsAre("", -1));
}

TEST(ReplyFieldTest, FirstOccurrenceAtOrAfterStart) {
  const std::string_view reply = "#STD:1;D:1;#STD:2;D:5;#";
  EXPECT_THAT(ReplyField(reply, "D:"), FieldsAre("1", 3));
  EXPECT_THAT(ReplyField(reply, "D:", 4), FieldsAre("1", 7));
  EXPECT_THAT(ReplyField(reply, "STD:", 2), FieldsAre("2", 12));
}

TEST(SplitValueTest, KeepsEmptyParts) {
  EXPECT_THAT(SplitValue("100.0,0.000,,1"), ElementsAre("100.0", "0.000", "", "1"));
  EXPECT_THAT(SplitValue("a,"), ElementsAre("a", ""));
  EXPECT_THAT(SplitValue("000041"), ElementsAre("000041"));
  EXPECT_THAT(SplitValue(""), ElementsAre(""));
}

}  // namespace
}  // namespace vexa
