#include "batch/verification.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

// What was written against what the logger reports now, code by code.
TEST(Verification, TellsWhatTheLoggerReportsOfEachWrite) {
  const std::map<int, std::string> logger = {
      {11002, "246802#ST:000041#"}, {11005, "246802#SA:3#"}, {12003, "246802#AD13:2,50.00,-10.0#"}};
  const std::map<int, std::string> written = {
      {11002, "111111#ST:000041#"},           // the password does not count
      {11005, "246802#SA:1#"},                // did not stay
      {12003, "246802#AD13:2,50.0,-10.00#"},  // the same numbers
      {11009, "246802#AP1:+491709876543!#"},  // the logger reports none
      {11010, "246802#AP2:!#"},               // switched off, so none is right
      {11004, "246802#TM:2612091430#"},       // no read tells the clock
  };
  std::map<int, std::string> verifications;
  for (const SettingComparison& comparison : CompareSettings(logger, written)) {
    if (comparison.file)
      verifications[comparison.code] = Verification(comparison, "Command Success");
  }
  EXPECT_EQ(verifications, (std::map<int, std::string>{
                               {11002, "Verified"},
                               {11004, "Command Success (not readable)"},
                               {11005, "Differs: 30 Minute"},
                               {11009, "Differs: not reported"},
                               {11010, "Verified"},
                               {12003, "Verified"},
                           }));
}

TEST(Verification, WithoutAReadBackEachResultSaysWhy) {
  EXPECT_EQ(UnverifiedResult(11005, "Command Success"), "Command Success (not verified)");
  EXPECT_EQ(UnverifiedResult(11003, "Command Success"), "Command Success (not readable)");
}

}  // namespace
}  // namespace vexa
