#include "protocol/command_envelope.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

TEST(FormatCommandTest, FillsFieldsInOrder) {
  EXPECT_EQ(FormatCommand("%s#PS:%s,%s#", {"246802", "111111", "222222"}),
            "246802#PS:111111,222222#");
  EXPECT_EQ(FormatCommand("%s#CP:%s!,%s#", {"246802", "+4917", "2"}), "246802#CP:+4917!,2#");
}

TEST(FormatCommandTest, CopiesEverythingElse) {
  EXPECT_EQ(FormatCommand("%s#CHECKVR%", {"135791"}), "135791#CHECKVR%");
  // An argument that holds "%s" is not filled in again.
  EXPECT_EQ(FormatCommand("%s#ID:%s!#", {"246802", "%s%"}), "246802#ID:%s%!#");
}

TEST(FormatCommandTest, MissingArgumentsLeaveFieldsEmpty) {
  EXPECT_EQ(FormatCommand("%s#ST:%s#", {"246802"}), "246802#ST:#");
  EXPECT_EQ(FormatCommand("%s#STATUS#", {}), "#STATUS#");
}

TEST(IsParameterGroupReplyTest, NeedsMarkerAndClosingHash) {
  EXPECT_TRUE(IsParameterGroupReply("#STC2:000041;PA:023400;#", 2));
  EXPECT_FALSE(IsParameterGroupReply("#STC2:000041;PA:023400;#", 1));
  EXPECT_FALSE(IsParameterGroupReply("#STC2:000041;PA:0234", 2));  // truncated
  EXPECT_FALSE(IsParameterGroupReply(kPasswordError, 1));
  EXPECT_FALSE(IsParameterGroupReply("", 3));
}

TEST(IsStatusReplyTest, NeedsStationKeyAndClosingHash) {
  EXPECT_TRUE(IsStatusReply("#STA:000041,T;O01:10;#"));
  EXPECT_FALSE(IsStatusReply("#STA:000041,T;O01:1"));  // cut off
  EXPECT_FALSE(IsStatusReply("#STC1:000041;#"));
  EXPECT_FALSE(IsStatusReply(""));
}

}  // namespace
}  // namespace vexa
