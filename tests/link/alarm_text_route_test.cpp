#include <gmock/gmock.h>

#include "exchange_fixture.h"

namespace vexa::testing {
namespace {

// An alarm text read that the logger refuses ends as the refusal, and the
// refusal never reaches the pages as if it were the text.
TEST_F(ExchangeTest, RefusedAlarmTextReadIsNoSuccessAndFillsNoRow) {
  const std::pair<const char*, const char*> cases[] = {
      {"Password is error!", "Password Error"},
      {"SMS format is error!", "Data Error"},
      {"1,Password is error!", "Command Success"},
  };
  for (const auto& [reply, status] : cases) {
    listener.events.clear();
    SendAndReply("135791#SMS:15#", 19115, reply);
    EXPECT_EQ(TickToEnd(), 1) << reply;
    EXPECT_EQ(exchange.progress().status_text, status);
    EXPECT_EQ(listener.events.size(), std::string(status) == "Command Success" ? 1u : 0u);
  }
}

}  // namespace
}  // namespace vexa::testing
