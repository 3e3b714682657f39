#include "settings/operation_modes.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

using Modes = std::vector<std::optional<std::string>>;

// Nine rows from five inputs on; the page's tests show their names.
TEST(OperationModes, RowsFollowTheInputCount) {
  EXPECT_TRUE(DigitalChannelRows(0).empty());
  EXPECT_EQ(DigitalChannelRows(4).back(), "Digital Input_04");
  EXPECT_EQ(DigitalChannelRows(5).front(), "Power Source");
  EXPECT_EQ(DigitalChannelRows(5), DigitalChannelRows(15));
  EXPECT_EQ(DigitalChannelRows(15).size(), 9u);
}

TEST(OperationModes, ChoicesByRow) {
  EXPECT_EQ(OperationModeChoices(0),
            (std::vector<std::string_view>{"No Alarm", "AC Power Resume Alarm",
                                           "AC Power Loss Alarm", "AC Power Resume/Loss Alarm"}));
  const std::vector<std::string_view> inputs = {"Channel Disable", "NO - Close Triggered Alarm",
                                                "NC - Open Triggered Alarm",
                                                "Change State Triggered Alarm"};
  EXPECT_EQ(OperationModeChoices(1), inputs);
  EXPECT_EQ(OperationModeChoices(3), inputs);
  EXPECT_EQ(OperationModeChoices(4), std::vector<std::string_view>{"On/Off Channel"});
  EXPECT_EQ(OperationModeChoices(16), std::vector<std::string_view>{"On/Off Channel"});
  EXPECT_TRUE(OperationModeChoices(17).empty());
}

TEST(OperationModes, ReplyValueFillsTheRows) {
  EXPECT_EQ(ReadPaValue("#STC2:000041;AD14:1,60.00,0.000;PA:023400;#"), "023400");
  EXPECT_EQ(ReadPaValue("#STC2:000041;AD14:1,60.00,0.000;#"), std::nullopt);
  EXPECT_EQ(ReadPaValue("#STC2:000041;XPA:1;#"), std::nullopt);  // the key has its ";"

  EXPECT_EQ(OperationModesFromPa("0234", 9),
            (Modes{"No Alarm", "NO - Close Triggered Alarm", "NC - Open Triggered Alarm",
                   "Change State Triggered Alarm", "On/Off Channel", "On/Off Channel",
                   "On/Off Channel", "On/Off Channel", "On/Off Channel"}));
  struct Case {
    std::string pa;
    int rows;
    Modes expected;
  };
  const Case cases[] = {
      {"4100", 2, {"AC Power Resume/Loss Alarm", "Undefined"}},
      {"1", 1, {"No Alarm"}},  // 0 and 1 alike on the power row
      {"03", 4, {"No Alarm", "NC - Open Triggered Alarm", std::nullopt, std::nullopt}},
      {"", 3, {std::nullopt, std::nullopt, std::nullopt}},
      {"5x7", 3, {"", "", ""}},  // no mode for these digits
      {"0234", 0, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(OperationModesFromPa(c.pa, c.rows), c.expected) << c.pa;
}

TEST(OperationModes, ShownModesGiveThePaValue) {
  EXPECT_EQ(PaValue({"No Alarm", "NO - Close Triggered Alarm", "NC - Open Triggered Alarm",
                     "Change State Triggered Alarm", "On/Off Channel", "On/Off Channel",
                     "On/Off Channel", "On/Off Channel", "On/Off Channel"}),
            "023400");
  EXPECT_EQ(PaValue({"AC Power Resume/Loss Alarm", "Channel Disable", "AC Power Loss Alarm"}),
            "40300");
  // Below the fourth row a mode carries its four-way code.
  EXPECT_EQ(PaValue({"No Alarm", "Channel Disable", "Channel Disable", "Channel Disable",
                     "Change State Triggered Alarm", "NO - Close Triggered Alarm"}),
            "00003100");
  for (const std::vector<std::string>& incomplete :
       {std::vector<std::string>{"No Alarm", "Undefined"}, {"No Alarm", ""}, {"", ""}, {}}) {
    EXPECT_EQ(PaValue(incomplete), std::nullopt) << incomplete.size();
  }
}

}  // namespace
}  // namespace vexa
