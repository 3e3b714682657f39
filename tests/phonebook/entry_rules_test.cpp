#include "phonebook/entry_rules.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

TEST(EntryRulesTest, IdsArePaddedToSixDigitsOnlyWhenShorter) {
  EXPECT_EQ(PaddedId("7"), "000007");
  EXPECT_EQ(PaddedId("00042"), "000042");
  EXPECT_EQ(PaddedId("000041"), "000041");
  EXPECT_EQ(PaddedId("1234567"), "1234567");
  EXPECT_EQ(PaddedId(""), "");
}

TEST(EntryRulesTest, APhoneNumberIsAPlusOrADigitThenDigits) {
  for (const char* good : {"+491701000041", "0171", "5"}) EXPECT_TRUE(IsPhoneNumber(good)) << good;
  for (const char* bad : {"", "49+17", "0171 2", "++49", "x49"}) {
    EXPECT_FALSE(IsPhoneNumber(bad)) << bad;
  }
}

}  // namespace
}  // namespace vexa
