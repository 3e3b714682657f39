#include "vexa_t/arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vexa {
namespace {

using Arguments = std::vector<std::string>;
const Arguments kLogger = {"--port", "simulator", "--id", "41"};

Arguments With(Arguments more) {
  Arguments all = kLogger;
  all.insert(all.end(), more.begin(), more.end());
  return all;
}

TEST(ArgumentsTest, OptionsStandBeforeOrAfterTheCommand) {
  const auto parsed = ParseArguments({"read", "--id=7", "all", "--port", "COM1", "-v", "--json"});
  ASSERT_TRUE(std::holds_alternative<Invocation>(parsed)) << std::get<UsageError>(parsed).message;
  const Invocation& invocation = std::get<Invocation>(parsed);
  EXPECT_EQ(invocation.command, Command::kRead);
  EXPECT_EQ(invocation.operands, Arguments{"all"});
  EXPECT_EQ(invocation.id, "000007");
  EXPECT_EQ(invocation.port, "COM1");
  EXPECT_TRUE(invocation.verbose && invocation.json);
  EXPECT_EQ(invocation.book, "addressbook.xml");
}

TEST(ArgumentsTest, EachCommandTakesItsOwnOperandsAndOptions) {
  const auto records =
      ParseArguments(With({"records", "--from", "2026-02-28 23:59", "-o", "r.csv"}));
  ASSERT_TRUE(std::holds_alternative<Invocation>(records));
  const Invocation& invocation = std::get<Invocation>(records);
  EXPECT_EQ(invocation.from.year, 2026);
  EXPECT_EQ(invocation.from.minute, 59);
  EXPECT_EQ(invocation.count, 99) << "the most one query may ask for on the cable";
  EXPECT_EQ(invocation.output, "r.csv");

  const auto alarm = ParseArguments(With({"alarm-text", "set", "19", "--off"}));
  ASSERT_TRUE(std::holds_alternative<Invocation>(alarm));
  EXPECT_EQ(std::get<Invocation>(alarm).channel, 19);
  EXPECT_TRUE(std::get<Invocation>(alarm).off);

  // A dry run and the phone book need no logger.
  EXPECT_TRUE(std::holds_alternative<Invocation>(ParseArguments({"apply", "a.cfg", "--dry-run"})));
  EXPECT_TRUE(std::holds_alternative<Invocation>(ParseArguments({"phonebook", "list"})));
  EXPECT_TRUE(std::holds_alternative<Invocation>(ParseArguments({"--help", "bogus"})));
}

TEST(ArgumentsTest, WrongUsageIsToldInOneSentence) {
  const struct {
    Arguments arguments;
    std::string message;
  } cases[] = {
      {{}, "no command given"},
      {{"reed"}, "unknown command 'reed'"},
      {With({"status", "--colour"}), "unknown option --colour"},
      {With({"status", "--json=yes"}), "option --json takes no value"},
      {{"status", "--port"}, "option --port needs a value"},
      {With({"read", "4"}), "'read' needs the group to read: read 1, read 2, read 3 or read all"},
      {With({"status", "now"}), "'status' takes no operand, but got 'now'"},
      {With({"backup"}), "'backup' needs the file to write: backup -o FILE.cfg"},
      {With({"diff"}), "'diff' needs one configuration file: diff FILE.cfg"},
      {With({"diff", "a.cfg", "--dry-run"}), "option --dry-run does not go with 'diff'"},
      {With({"status", "-o", "x"}), "option --output does not go with 'status'"},
      {With({"apply", "a.cfg", "--auto-station-id", "--with-station-id"}),
       "--auto-station-id and --with-station-id exclude each other: choose one"},
      {With({"alarm-text", "get", "20"}), "the alarm source must be 00 to 19, not '20'"},
      {With({"alarm-text", "get", "007"}), "the alarm source must be 00 to 19, not '007'"},
      {With({"alarm-text", "get", "7", "--off"}),
       "'alarm-text' needs what to do: alarm-text get N, alarm-text set N TEXT or alarm-text set "
       "N --off"},
      {With({"records", "--from", "2026-02-30 10:00"}),
       "--from needs a date and time \"YYYY-MM-DD HH:MM\" from the years 2000 to 2099, not "
       "'2026-02-30 10:00'"},
      {With({"records", "--from", "2026-02-01 10:00", "--count", "100"}),
       "--count must be 1 to 99"},
      {With({"--gsm", "records", "--from", "2026-02-01 10:00", "--count", "2"}),
       "--count must be 1 to 1 on the GSM route, where a record takes several messages"},
      {{"--id", "41", "status"},
       "no port given: name one with --port (a device path, COMn, or simulator); 'vexa-t ports' "
       "lists them"},
      {{"--port", "COM1", "status"}, "no logger given: name its station ID with --id ID"},
      {{"--id", "1234567", "status"}, "the station ID must be up to six digits, not '1234567'"},
      {{"phonebook", "add", "41"},
       "'phonebook' needs what to do: phonebook list, phonebook add ID PHONE (the two passwords "
       "come from standard input) or phonebook remove ID"},
  };
  for (const auto& c : cases) {
    const auto parsed = ParseArguments(c.arguments);
    ASSERT_TRUE(std::holds_alternative<UsageError>(parsed)) << c.message;
    EXPECT_EQ(std::get<UsageError>(parsed).message, c.message);
  }
}

}  // namespace
}  // namespace vexa
