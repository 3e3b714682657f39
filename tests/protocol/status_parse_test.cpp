#include "protocol/status_parse.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

TEST(ParseStatusTest, CountsInputsAndRelays) {
  DeviceContext context;
  context.humidity_calibrated = true;
  ParseStatus("#STA:000041,T;L:0187;TM:261209143005;K01:100000000001000;O01:10;#", context);
  EXPECT_EQ(context.digital_input_count, 15);
  EXPECT_EQ(context.relay_count, 2);
  EXPECT_TRUE(context.humidity_calibrated);

  ParseStatus("#STA:000041,T;O01:1;#", context);
  EXPECT_EQ(context.digital_input_count, 0);
  EXPECT_EQ(context.relay_count, 1);
}

TEST(ParseStatusTest, ReplyWithoutStationValueChangesNothing) {
  DeviceContext context{.digital_input_count = 4, .relay_count = 3};
  for (const char* reply : {"#STA:;K01:11;O01:1;#", "K01:11;O01:1;", "#STA:000041,T"}) {
    ParseStatus(reply, context);
    EXPECT_EQ(context.digital_input_count, 4) << reply;
    EXPECT_EQ(context.relay_count, 3) << reply;
  }
}

TEST(StatusStationIdTest, IsTheStationValueBeforeTheModelLetter) {
  EXPECT_EQ(StatusStationId("#STA:000041,T;L:0187;K01:10;#"), "000041");
  EXPECT_EQ(StatusStationId("#STA:000042;A00:1;#"), "000042");  // no model letter
  for (const char* reply : {"#STA:;#", "#STA:000041,T", "Set success!"}) {
    EXPECT_EQ(StatusStationId(reply), "") << reply;
  }
}

}  // namespace
}  // namespace vexa
