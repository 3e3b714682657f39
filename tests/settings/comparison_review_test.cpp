#include "settings/comparison_review.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace vexa {
namespace {

const std::map<int, std::string> kLogger = {
    {11002, "246802#ST:000041#"},
    {11004, "246802#TM:2612091430#"},
    {11005, "246802#SA:3#"},
    {11009, "246802#AP1:+491709876543!#"},
    {12008, "246802#AD03:10.00,0.000,0.000,2,9.000,1.000#"}};
const std::map<int, std::string> kList = {{11002, "246802#ST:000099#"},
                                          {11004, "246802#TM:2601311745#"},
                                          {11005, "246802#SA:5#"},
                                          {11010, "246802#AP2:+491700000001!#"},
                                          {12008, "246802#AD03:10.0,0,0,2,9,1#"}};

TEST(ComparisonReview, SummaryCountsEachStateAndNamesTheSide) {
  const auto compared = CompareSettings(kLogger, kList);
  EXPECT_EQ(ComparisonSummary(compared, "list"),
            "1 the same, 2 differ, 1 only in the list, 1 cannot be read back, "
            "1 only on the logger");
  EXPECT_EQ(ComparisonSummary(CompareSettings(kLogger, kLogger), "snapshot"),
            "4 the same, 0 differ, 0 only in the snapshot, 1 cannot be read back");
  EXPECT_EQ(StateText(Agreement::kOnlyInFile, "snapshot"), "only in the snapshot");
  EXPECT_EQ(StateText(Agreement::kDiffers, "list"), "differs");
}

// What differs is offered, but a new station ID would rename the logger; what
// the side does not hold cannot be written at all.
TEST(ComparisonReview, OffersWhatDiffersButTheStationId) {
  std::map<int, bool> proposed, writable;
  for (const SettingComparison& c : CompareSettings(kLogger, kList)) {
    proposed[c.code] = ProposedForWriting(c);
    writable[c.code] = CanBeWritten(c);
  }
  EXPECT_EQ(proposed, (std::map<int, bool>{{11002, false},
                                           {11004, false},
                                           {11005, true},
                                           {11009, false},
                                           {11010, false},
                                           {12008, false}}));
  EXPECT_EQ(writable, (std::map<int, bool>{{11002, true},
                                           {11004, true},
                                           {11005, true},
                                           {11009, false},
                                           {11010, true},
                                           {12008, true}}));
}

}  // namespace
}  // namespace vexa
