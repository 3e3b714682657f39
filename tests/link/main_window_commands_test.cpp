#include "link/main_window_commands.h"

#include <gmock/gmock.h>

#include "exchange_fixture.h"
#include "support/file_size_limit.h"

namespace vexa::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::IsEmpty;

TEST_F(ExchangeTest, ReadButtonsSendTheirCommandsAndSwitchPages) {
  commands.ReadGroup(1);
  exchange.OnReceived("#STC1:000041;#");
  commands.ReadGroup(2);
  exchange.OnReceived("#STC2:000041;#");
  commands.ReadGroup(3);
  exchange.OnReceived("#STC3:000041;#");
  commands.ReadStatus();
  exchange.OnReceived("#STA:000041,T;#");
  commands.ReadVersion();
  EXPECT_THAT(port.writes, ElementsAre("135791#CHEACK1#", "135791#CHEACK2#", "135791#CHEACK3#",
                                       "135791#STATUS#", "135791#CHECKVR%"));
  EXPECT_EQ(exchange.state().pending_code, 10001);
  EXPECT_THAT(
      listener.events,
      ElementsAre("page:0", "group1:#STC1:000041;#", "page:1", "group2:#STC2:000041;#", "page:3",
                  "group3:#STC3:000041;#", "first-status:#STA:000041,T;#", "page:0"));
}

TEST_F(ExchangeTest, ValidationRefusesWithTheFirstFailure) {
  commands.ReadStatus();
  commands.ReadStatus();
  EXPECT_EQ(notifier.Last(), "Command is Progress , Don't Disconnect!");
  EXPECT_EQ(port.writes.size(), 1u);

  const struct {
    PhoneBookEntry entry;
    const char* message;
  } cases[] = {
      {{"000050", "", "1", "2"}, "Device Phone Number is NULL ,please Edit Phone Book!"},
      {{"000051", "+49", "", "2"}, "Device QueryPassword is NULL ,please Edit Phone Book!"},
      {{"000052", "+49", "1", ""}, "Device SetupPassword is NULL ,please Edit Phone Book!"},
  };
  for (const auto& c : cases) {
    RecordingNotifier quiet;
    PhoneBookStore book(book_path(), quiet);
    WriteBytes(book_path(), PhoneBook(Record(c.entry)));
    book.LoadEntries();
    book.SelectCurrentDevice(c.entry.id);
    CommandExchange other(port, book, command_buffer, setup_log, notifier, listener);
    EXPECT_FALSE(other.ValidateCommand());
    EXPECT_EQ(notifier.Last(), c.message);
  }
}

TEST_F(ExchangeTest, NoSelectedDeviceIsRefused) {
  RecordingNotifier quiet;
  PhoneBookStore empty_book(book_path(), quiet);
  CommandExchange other(port, empty_book, command_buffer, setup_log, notifier, listener);
  EXPECT_FALSE(other.ValidateCommand());
  EXPECT_EQ(notifier.Last(), "Before Setup Command ,please Select Device ID!");
}

TEST_F(ExchangeTest, SelectingADeviceQueriesTheStatusOnlyUntilTheFirstReply) {
  commands.SelectDevice("000041");
  EXPECT_THAT(port.writes, ElementsAre("135791#STATUS#"));
  EXPECT_EQ(exchange.state().pending_code, 10000);
  exchange.OnReceived("#STA:000041,T;K01:10;O01:1;#");
  exchange.Tick();
  commands.SelectDevice("000041");
  EXPECT_EQ(port.writes.size(), 1u);
  EXPECT_EQ(exchange.state().device_id, "000041");
}

TEST_F(ExchangeTest, SelectingADeviceIsRefusedWhenEmptyBusyOrDisconnected) {
  commands.SelectDevice("");
  EXPECT_EQ(notifier.Last(), "Before Query Command ,please Select Device ID!");
  commands.ReadStatus();
  commands.SelectDevice("000041");
  EXPECT_EQ(notifier.Last(), "Command is in progress");
  exchange.RequestStop();
  exchange.Tick();
  port.open = false;
  commands.SelectDevice("000041");
  EXPECT_EQ(notifier.Last(), "First please Select Port to Connect!");
}

TEST_F(ExchangeTest, InitNeedsCtrlAndTheRs232Route) {
  commands.Init(false);
  EXPECT_EQ(notifier.Last(), "Press <Ctrl> Key + Init");
  UseGsm();
  commands.Init(true);
  EXPECT_TRUE(port.writes.empty());
}

TEST_F(ExchangeTest, InitResetsThenSendsTheSecondStepDirectly) {
  command_buffer.RecordCommand(11002, "246802#ST:000041#");
  exchange.device_context().humidity_calibrated = true;
  commands.Init(true);
  EXPECT_FALSE(exchange.device_context().humidity_calibrated);
  exchange.OnReceived("initialize succesed!");
  EXPECT_THAT(port.writes, ElementsAre("246802#RESET#", "246802#SD:00,0,0#"));
  EXPECT_EQ(exchange.state().last_command, "246802#RESET#");
  EXPECT_TRUE(exchange.busy());
  EXPECT_TRUE(exchange.progress().visible);
  EXPECT_TRUE(exchange.Tick());

  exchange.OnReceived("Set success!");
  EXPECT_FALSE(exchange.busy());
  EXPECT_FALSE(exchange.progress().visible);  // finished with the second step's reply
  EXPECT_EQ(exchange.progress().status_text, "Command Success");
  EXPECT_EQ(exchange.state().pending_code, kNoPendingCode);
  EXPECT_EQ(command_buffer.Count(), 0u);
  EXPECT_THAT(listener.events,
              ElementsAre("page:0", "phone-book:", "info:initialize succesed!", "batch-refresh:0"));
  exchange.Tick();
  EXPECT_EQ(exchange.progress().status_text, "Command Success");

  // Only the reset went into the setup log.
  std::ifstream log(setup_log.path());
  std::string content((std::istreambuf_iterator<char>(log)), {});
  EXPECT_NE(content.find("  246802#RESET#\r\n"), std::string::npos);
  EXPECT_EQ(content.find("SD:00"), std::string::npos);
}

// After the reset the logger holds its factory passwords: the second step
// goes out with them and the phone book takes them, whatever it held before.
TEST_F(ExchangeTest, InitTakesTheFactoryPasswordsOnceTheLoggerIsReset) {
  phone_book.UpdatePasswords("000041", "111111", "222222");
  commands.Init(true);
  exchange.OnReceived("initialize succesed!");
  EXPECT_THAT(port.writes, ElementsAre("222222#RESET#", "246802#SD:00,0,0#"));
  EXPECT_EQ(phone_book.GetCurrentDevice(), (PhoneBookEntry{"000041", kPhone, kEnquiry, kSetup}));
  exchange.OnReceived("Set success!");
  EXPECT_EQ(exchange.progress().status_text, "Command Success");
  EXPECT_THAT(listener.events,
              ElementsAre("page:0", "phone-book:", "info:initialize succesed!", "batch-refresh:0"));

  // The second step needs the factory password even where the phone book
  // could not be written.
  RecordingNotifier quiet;
  PhoneBookStore unwritable((dir.path() / "missing" / "addressbook.xml").string(), quiet);
  CommandExchange other(port, unwritable, command_buffer, setup_log, notifier, listener);
  other.set_device_id("000041");
  ASSERT_TRUE(other.SendCommand("222222#RESET#", 10006));
  other.OnReceived("initialize succesed!");
  EXPECT_EQ(port.writes.back(), "246802#SD:00,0,0#");
}

// A reset the logger does not confirm leaves the passwords as they are.
TEST_F(ExchangeTest, InitWithoutTheResetKeepsThePasswords) {
  phone_book.UpdatePasswords("000041", "111111", "222222");
  commands.Init(true);
  exchange.OnReceived("SET fail!");
  EXPECT_THAT(port.writes, ElementsAre("222222#RESET#", "222222#SD:00,0,0#"));
  EXPECT_EQ(phone_book.GetCurrentDevice().setup_password, "222222");
  EXPECT_THAT(listener.events, ElementsAre("page:0"));
}

TEST_F(ExchangeTest, InitRefusedForItsPasswordShowsPasswordError) {
  commands.Init(true);
  exchange.OnReceived("Password is error!");
  EXPECT_FALSE(exchange.Tick());
  EXPECT_EQ(exchange.progress().status_text, "Password Error");
  EXPECT_FALSE(exchange.progress().lamp_lit);
}

TEST_F(ExchangeTest, ClearValidatesThenClearsThePages) {
  commands.Clear();
  EXPECT_THAT(listener.events, ElementsAre("clear:"));
}

TEST_F(ExchangeTest, BatchButtonOpensTheBatchPageWithTheBandFlag) {
  commands.BatchOrModemTest();
  EXPECT_THAT(listener.events, ElementsAre("page:7", "batch-refresh:1"));
  EXPECT_TRUE(port.writes.empty());
}

TEST_F(ExchangeTest, PasswordChangeTakesThePasswordsFromTheCommandSent) {
  SendAndReply("246802#PS:111111,222222#", 11003, "Set success! PS:999999,888888");
  const PhoneBookEntry device = phone_book.GetCurrentDevice();
  EXPECT_EQ(device.enquiry_password, "111111");
  EXPECT_EQ(device.setup_password, "222222");
  EXPECT_THAT(listener.events, ElementsAre("phone-book:"));
  EXPECT_EQ(exchange.state().result, kResultSuccess);
}

TEST_F(ExchangeTest, PasswordChangeOnTheGsmRouteReadsThroughTheWrapper) {
  UseGsm();
  SendAndReply("246802#PS:111111,222222#", 11003, "Set success!");
  EXPECT_EQ(phone_book.GetCurrentDevice().setup_password, "222222");
}

TEST_F(ExchangeTest, StationIdChangeMovesThePhoneBookEntry) {
  SendAndReply("246802#ST:000077#", 11002, "Set success!");
  ASSERT_EQ(phone_book.entries().size(), 1u);
  EXPECT_EQ(phone_book.entries()[0], (PhoneBookEntry{"000077", kPhone, kEnquiry, kSetup}));
  EXPECT_EQ(phone_book.GetCurrentDevice().id, "000077");
  EXPECT_EQ(exchange.state().device_id, "000077");
  EXPECT_FALSE(phone_book.EntryExists("000041"));
  EXPECT_THAT(listener.events, ElementsAre("phone-book:", "phone-book:", "device-id:000077"));
}

TEST_F(ExchangeTest, StationIdChangeIsOneSaveThatThePhoneBookPageIsToldTwice) {
  // What the file and the list hold at each notice: never the logger without its entry.
  std::vector<std::string> seen;
  listener.on_phone_book_changed = [&] {
    RecordingNotifier quiet;
    PhoneBookStore file(book_path(), quiet);
    file.LoadEntries();
    for (const auto* book : {&phone_book, &file}) {
      std::string ids;
      for (const auto& entry : book->entries()) ids += entry.id + " ";
      seen.push_back(ids);
    }
  };
  SendAndReply("246802#ST:000077#", 11002, "Set success!");
  EXPECT_THAT(seen, ElementsAre("000077 ", "000077 ", "000077 ", "000077 "));
}

TEST_F(ExchangeTest, StationIdChangeToAnIdTakenByAnotherLoggerKeepsBothEntries) {
  const PhoneBookEntry other{"000042", "+491701000042", "111111", "222222"};
  const std::string before =
      PhoneBook(Record(other) + Record({"000041", kPhone, kEnquiry, kSetup}));
  WriteBytes(book_path(), before);
  phone_book.ReloadEntries();

  SendAndReply("246802#ST:000042#", 11002, "Set success!");
  EXPECT_EQ(exchange.state().result, kResultSuccess);  // the logger did take it
  EXPECT_EQ(ReadBytes(book_path()), before);
  ASSERT_EQ(notifier.messages.size(), 1u);
  EXPECT_EQ(notifier.Last(),
            "The logger now answers as station ID 000042, but the phone book already holds a "
            "different entry 000042, so the phone book was left as it is. Commands keep going "
            "to this logger with the phone number and passwords of entry 000041; edit the phone "
            "book to tell the two apart.");
  EXPECT_EQ(notifier.messages[0].icon, MessageIcon::kWarning);
  EXPECT_THAT(listener.events, IsEmpty());
  EXPECT_EQ(phone_book.GetCurrentDevice(), (PhoneBookEntry{"000041", kPhone, kEnquiry, kSetup}));
  EXPECT_EQ(exchange.state().device_id, "000041");

  // The next command still goes out with this logger's password.
  ASSERT_TRUE(
      exchange.SendCommand(phone_book.GetCurrentDevice().enquiry_password + "#CHEACK1#", 10000));
  EXPECT_EQ(port.writes.back(), "135791#CHEACK1#");
}

TEST_F(ExchangeTest, StationIdChangeThatCannotBeSavedLeavesThePhoneBookAsItWas) {
  const std::string before = ReadBytes(book_path());
  {
    FileSizeLimit limit;
    SendAndReply("246802#ST:000077#", 11002, "Set success!");
  }
  EXPECT_EQ(ReadBytes(book_path()), before);
  EXPECT_THAT(notifier.messages, ElementsAre(Field(&RecordingNotifier::Message::text,
                                                   "Cannot save the phone book file!")));
  EXPECT_EQ(phone_book.GetCurrentDevice().id, "000041");
  EXPECT_EQ(exchange.state().device_id, "000041");
  EXPECT_THAT(listener.events, IsEmpty());
}

TEST_F(ExchangeTest, FailedSetupLeavesThePhoneBookAlone) {
  SendAndReply("246802#ST:000077#", 11002, "SET fail!");
  EXPECT_EQ(exchange.state().result, kResultFail);
  SendAndReply("246802#ST:000077#", 11002, "?");
  EXPECT_EQ(exchange.state().result, kResultDataError);
  EXPECT_TRUE(phone_book.EntryExists("000041"));
  EXPECT_THAT(listener.events, IsEmpty());
}

TEST_F(ExchangeTest, PageResetRestoresFactoryPasswordsAndFinishesAfterTheSecondStep) {
  phone_book.UpdatePasswords("000041", "111111", "222222");
  SendAndReply("tovel3#RESET#", 11019, "initialize succesed!");
  EXPECT_EQ(phone_book.GetCurrentDevice().setup_password, "246802");
  EXPECT_EQ(phone_book.GetCurrentDevice().enquiry_password, "135791");
  EXPECT_EQ(port.writes.back(), "246802#SD:00,0,0#");
  EXPECT_TRUE(exchange.Tick());  // still waiting for the second step
  exchange.OnReceived("Set success!");
  EXPECT_FALSE(exchange.progress().visible);
  EXPECT_FALSE(exchange.Tick());
  EXPECT_EQ(exchange.progress().status_text, "Command Success");
  EXPECT_THAT(listener.events,
              ElementsAre("phone-book:", "info:initialize succesed!", "batch-refresh:0"));
}

// A batch's password change must reach the phone book as the Device Setup
// page's does: the logger refuses the old passwords from then on. Its station
// ID command leaves the phone book as it is.
TEST_F(ExchangeTest, BatchPasswordChangeUpdatesThePhoneBookItsStationIdDoesNot) {
  SendAndReply("246802#ST:000077#", 16001, "Set success!");
  EXPECT_TRUE(phone_book.EntryExists("000041"));
  EXPECT_FALSE(phone_book.EntryExists("000077"));

  for (const char* reply : {"SET fail!", "Password is error!"}) {
    SendAndReply("246802#PS:111111,222222#", 16001, reply);
    EXPECT_EQ(phone_book.GetCurrentDevice().setup_password, kSetup) << reply;
  }
  // Only the key right after the password counts, not one inside a text.
  SendAndReply("246802#SMSSET01:14,#PS:111111,22#", 16001, "Set success!");
  EXPECT_EQ(phone_book.GetCurrentDevice().setup_password, kSetup);
  EXPECT_THAT(listener.events,
              ElementsAre("batch-result:Command Success", "batch-result:Command Fail ",
                          "batch-result:Password Error", "batch-result:Command Success"));

  listener.events.clear();
  SendAndReply("246802#PS:111111,222222#", 16001, "Set success!");
  EXPECT_EQ(phone_book.GetCurrentDevice(), (PhoneBookEntry{"000041", kPhone, "111111", "222222"}));
  EXPECT_EQ(phone_book.entries()[0].setup_password, "222222");
  EXPECT_THAT(listener.events, ElementsAre("phone-book:", "batch-result:Command Success"));
}

}  // namespace
}  // namespace vexa::testing
