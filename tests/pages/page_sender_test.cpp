#include "pages/page_sender.h"

#include "page_fixture.h"

namespace vexa::testing {
namespace {

class PageSenderTest : public PageTest {
 protected:
  // What each check says for the selected device; "" when it passes silently.
  std::string ReadyMessage(MissingFieldWording wording) {
    notifier.messages.clear();
    const bool ready = CheckReadyForSetup(context, wording);
    EXPECT_EQ(ready, notifier.messages.empty());
    return notifier.Last();
  }
  std::string PreconditionMessage(bool expect_ready) {
    notifier.messages.clear();
    EXPECT_EQ(CheckSetupPreconditions(context), expect_ready);
    return notifier.Last();
  }
};

TEST_F(PageSenderTest, ReadyForSetupNamesTheFirstMissingDeviceFieldInEitherWording) {
  EXPECT_EQ(ReadyMessage(MissingFieldWording::kNull), "");
  const struct {
    const char* id;
    const char* null_text;
    const char* empty_text;
  } cases[] = {
      {"000043", "Device Phone Number is NULL ,please Edit Phone Book!",
       "Device Phone Number is empty ,please Edit Phone Book!"},
      {"000044", "Device QueryPassword is NULL ,please Edit Phone Book!",
       "Device QueryPassword is empty ,please Edit Phone Book!"},
      {"000045", "Device SetupPassword is NULL ,please Edit Phone Book!",
       "Device SetupPassword is empty ,please Edit Phone Book!"},
      // "NULL" is no pass here: only the Device Setup page lets it through.
      {"000042", "Device QueryPassword is NULL ,please Edit Phone Book!",
       "Device QueryPassword is empty ,please Edit Phone Book!"},
  };
  for (const auto& c : cases) {
    SelectDevice(c.id);
    EXPECT_EQ(ReadyMessage(MissingFieldWording::kNull), c.null_text) << c.id;
    EXPECT_EQ(ReadyMessage(MissingFieldWording::kEmpty), c.empty_text) << c.id;
  }
}

TEST_F(PageSenderTest, PortCommandAndDeviceIdAreCheckedFirstInThatOrder) {
  SelectDevice("000044");  // lacks its enquiry password as well
  ASSERT_TRUE(exchange.SendCommand("246802#SA:1#", 11005));
  port.open = false;
  EXPECT_EQ(ReadyMessage(MissingFieldWording::kEmpty), "Before Setup Command ,please Connect!");
  EXPECT_EQ(PreconditionMessage(false), "Before Setup Command ,please Connect!");
  port.open = true;
  EXPECT_EQ(ReadyMessage(MissingFieldWording::kNull), "Command is in progress...");
  EXPECT_EQ(PreconditionMessage(false), "Command is in progress...");

  EndCommand();
  PhoneBookStore no_device(phone_book.path(), notifier);
  const PageContext unselected{exchange, no_device, command_buffer, port, notifier};
  notifier.messages.clear();
  EXPECT_FALSE(CheckReadyForSetup(unselected));
  EXPECT_FALSE(CheckSetupPreconditions(unselected));
  EXPECT_EQ(notifier.messages.size(), 2u);
  EXPECT_EQ(notifier.Last(), "Before Setup Command ,please Select Device ID!");
}

TEST_F(PageSenderTest, SetupPreconditionsLetANullPhoneNumberPassWithoutPasswords) {
  EXPECT_EQ(PreconditionMessage(true), "");
  SelectDevice("000042");
  EXPECT_EQ(PreconditionMessage(true), "command success");
  SelectDevice("000043");
  EXPECT_EQ(PreconditionMessage(false), "Device Phone Number is NULL ,please Edit Phone Book!");
  SelectDevice("000044");
  EXPECT_EQ(PreconditionMessage(false), "Device QueryPassword is NULL ,please Edit Phone Book!");
  SelectDevice("000045");
  EXPECT_EQ(PreconditionMessage(false), "Device SetupPassword is NULL ,please Edit Phone Book!");
}

TEST_F(PageSenderTest, SetupCommandPutsTheCurrentSetupPasswordFirst) {
  EXPECT_EQ(SetupCommand(context, "%s#CP:%s!,%s#", "+4917", std::string("3")),
            "246802#CP:+4917!,3#");
  SelectDevice("000046");
  EXPECT_EQ(SetupCommand(context, "%s#RELAY#"), "111111#RELAY#");
}

TEST_F(PageSenderTest, RecordAndSendKeepsTheCommandEvenWhenTheWriteFails) {
  EXPECT_TRUE(RecordAndSend(context, "246802#O01:1#", 14001, 14011));
  EXPECT_EQ(LastWrite(), "246802#O01:1#");
  EXPECT_EQ(PendingCode(), 14001);
  EXPECT_EQ(Recorded(14011), "246802#O01:1#");
  EXPECT_EQ(Recorded(14001), "<none>");

  EndCommand();
  port.fail_writes = true;
  EXPECT_FALSE(RecordAndSend(context, "246802#SA:2#", 11005));
  EXPECT_EQ(Recorded(11005), "246802#SA:2#");
  EXPECT_EQ(exchange.state().result, kResultCommunicationError);
}

}  // namespace
}  // namespace vexa::testing
