#include "settings/relay_settings.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

using Values = std::vector<std::optional<std::string>>;
using States = std::vector<std::optional<char>>;

TEST(RelaySettings, RepliesGiveStatesTimeLapsesAndAssociations) {
  EXPECT_EQ(ReadRelayStates("#STA:000041,T;K01:100;O01:10;#"), (States{'1', '0'}));
  EXPECT_EQ(ReadRelayStates("#STA:000041,T;O01:1x0;#"), (States{'1', std::nullopt, '0'}));
  EXPECT_EQ(ReadRelayStates("#STA:000041,T;XO01:11;#"), States{});  // the key has its ";"

  const std::string group1 = "#STC1:000041;XH:21;OUT1:0010;OUT2:0005;#";
  EXPECT_EQ(ReadTimeLapses(group1, 2), (Values{"0010", "0005"}));
  EXPECT_EQ(ReadTimeLapses(group1, 3), (Values{"0010", "0005", std::nullopt}));
  EXPECT_EQ(ReadTimeLapses(group1, 0), Values{});

  const std::string group3 = "#STC3:000041;COUT1:10000000000000000001000000;COUT2:;#";
  EXPECT_EQ(ReadAssociations(group3, 3), (Values{"10000000000000000001000000", "", std::nullopt}));
}

TEST(RelaySettings, AssociationValueSpreadsOverTheSources) {
  const auto bits = AssociationBits("10000000000000000001111111");
  EXPECT_EQ(bits[0], '1');
  EXPECT_EQ(bits[1], '0');
  EXPECT_EQ(bits[19], '1');  // IN4; the filler after it is no source

  const auto short_value = AssociationBits("1x0");
  EXPECT_EQ(short_value[0], '1');
  EXPECT_EQ(short_value[1], std::nullopt);
  EXPECT_EQ(short_value[2], '0');
  EXPECT_EQ(short_value[3], std::nullopt);

  EXPECT_EQ(AssociationText("01x", 0), "Off");
  EXPECT_EQ(AssociationText("01x", 1), "On");
  EXPECT_EQ(AssociationText("01x", 2), "On");
  EXPECT_EQ(AssociationText("01x", 3), "");  // nothing known: neither On nor Off
  EXPECT_EQ(AssociationText("", 0), "");
}

TEST(RelaySettings, ControlTextsGiveTheTwentySixCharacterValue) {
  std::vector<std::string> texts(20, "Off");
  texts[0] = "On";   // Humidity
  texts[19] = "On";  // IN4
  EXPECT_EQ(AssociationValue(texts), "1" + std::string(18, '0') + "1" + std::string(6, '0'));
  EXPECT_EQ(AssociationValue({"", "On", "on"}), "01" + std::string(24, '0'));
  EXPECT_EQ(AssociationValue({}).size(), 26u);
}

TEST(RelaySettings, ShortTimeLapsesGetFourDigits) {
  const std::pair<const char*, const char*> cases[] = {
      {"7", "0007"}, {"12", "0012"}, {"0", "0000"}, {"007", "0007"}, {"", ""}, {"1234", "1234"}};
  for (const auto& [typed, shown] : cases) EXPECT_EQ(PaddedTimeLapse(typed), shown) << typed;
}

}  // namespace
}  // namespace vexa
