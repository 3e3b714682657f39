#include "pages/page_sender.h"

#include "page_fixture.h"

namespace vexa::testing {
namespace {

class PageSenderTest : public PageTest {
 protected:
  // Runs a check on device `id`; returns what it showed, "" when nothing.
  std::string Refusal(const std::string& id, bool (*check)(const PageContext&)) {
    SelectDevice(id);
    notifier.messages.clear();
    const bool passed = check(context);
    EXPECT_EQ(passed, notifier.messages.empty() || notifier.Last() == "command success") << id;
    return notifier.Last();
  }
  static bool ReadyNull(const PageContext& c) { return CheckReadyForSetup(c); }
  static bool ReadyEmpty(const PageContext& c) {
    return CheckReadyForSetup(c, MissingFieldWording::kEmpty);
  }
};

TEST_F(PageSenderTest, ChecksNameTheFirstMissingDeviceField) {
  const struct {
    const char* id;
    const char* missing;  // "Phone Number", "QueryPassword" or "SetupPassword"
    const char* setup;    // what the Device Setup check says
  } cases[] = {
      {"000041", nullptr, ""},
      {"000042", "QueryPassword", "command success"},  // phone "NULL", no passwords
      {"000043", "Phone Number", nullptr},
      {"000044", "QueryPassword", nullptr},
      {"000045", "SetupPassword", nullptr},
  };
  for (const auto& c : cases) {
    const std::string field = c.missing ? std::string("Device ") + c.missing : "";
    const auto text = [&](const char* wording) {
      return c.missing ? field + " is " + wording + " ,please Edit Phone Book!" : "";
    };
    EXPECT_EQ(Refusal(c.id, ReadyNull), text("NULL"));
    EXPECT_EQ(Refusal(c.id, ReadyEmpty), text("empty"));
    EXPECT_EQ(Refusal(c.id, CheckSetupPreconditions), c.setup ? c.setup : text("NULL"));
  }
}

TEST_F(PageSenderTest, PortThenCommandInFlightThenDeviceId) {
  ASSERT_TRUE(exchange.SendCommand("246802#SA:1#", 11005));
  port.open = false;
  for (auto check : {ReadyNull, ReadyEmpty, CheckSetupPreconditions}) {
    EXPECT_EQ(Refusal("000044", check), "Before Setup Command ,please Connect!");
  }
  port.open = true;
  for (auto check : {ReadyNull, ReadyEmpty, CheckSetupPreconditions}) {
    EXPECT_EQ(Refusal("000044", check), "Command is in progress...");
  }
  EndCommand();
  PhoneBookStore no_device(phone_book.path(), notifier);
  const PageContext unselected{exchange, no_device, command_buffer, port, notifier};
  EXPECT_FALSE(CheckReadyForSetup(unselected));
  EXPECT_EQ(notifier.Last(), "Before Setup Command ,please Select Device ID!");
  notifier.messages.clear();
  EXPECT_FALSE(CheckSetupPreconditions(unselected));
  EXPECT_EQ(notifier.Last(), "Before Setup Command ,please Select Device ID!");
}

TEST_F(PageSenderTest, RecordsUnderItsOwnCodeBeforeSendingAndKeepsAFailedCommand) {
  SelectDevice("000046");
  EXPECT_TRUE(RecordAndSend(context, SetupCommand(context, "%s#O01:%s#", "1"), 14001, 14011));
  EXPECT_EQ(LastWrite(), "111111#O01:1#");
  EXPECT_EQ(PendingCode(), 14001);
  EXPECT_EQ(command_buffer.Entries(), (std::map<int, std::string>{{14011, "111111#O01:1#"}}));

  EndCommand();
  port.fail_writes = true;
  EXPECT_FALSE(RecordAndSend(context, "246802#SA:2#", 11005));
  EXPECT_EQ(Recorded(11005), "246802#SA:2#");
}

}  // namespace
}  // namespace vexa::testing
