// The batch list's rules: what a refresh lists, Auto Station ID, Delete.
#include "batch/batch_list.h"

#include <gmock/gmock.h>

#include <optional>

#include "batch/auto_station_id.h"

namespace vexa {
namespace {

using ::testing::ElementsAre;
using ::testing::FieldsAre;
using ::testing::Optional;

std::vector<std::string> Commands(const BatchList& list) {
  std::vector<std::string> commands;
  for (const BatchRow& row : list.rows()) commands.push_back(row.command);
  return commands;
}

std::vector<std::string> Numbers(const BatchList& list) {
  std::vector<std::string> numbers;
  for (const BatchRow& row : list.rows()) numbers.push_back(row.number);
  return numbers;
}

class BatchListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    buffer.RecordCommand(11009, "246802#AP1:+491709876543!#");
    buffer.RecordCommand(11002, "111111#ST:000041#");  // recorded under another password
    buffer.RecordCommand(kBandCommandCode, "246802#PL:2#");
    buffer.RecordCommand(0, "");  // an attribute-less record of a loaded file
    buffer.RecordCommand(11005, "246802#SA:3#");
  }

  CommandBuffer buffer;
  BatchList list;
};

TEST_F(BatchListTest, RefreshListsTheBufferInCodeOrderWithTheCurrentPassword) {
  list.Refresh(buffer, "246802", true);
  EXPECT_THAT(Commands(list),
              ElementsAre("246802#ST:000041#", "246802#SA:3#", "246802#AP1:+491709876543!#"));
  EXPECT_THAT(Numbers(list), ElementsAre("01", "02", "03"));
  const BatchRow& first = list.rows().front();
  EXPECT_EQ(first.code, 11002);
  EXPECT_EQ(first.object, "Station ID");
  EXPECT_EQ(first.parameters, "000041");
  EXPECT_TRUE(first.checked);
  EXPECT_EQ(first.status, "");
  // The buffer keeps what the page recorded.
  EXPECT_EQ(buffer.Entries().at(11002), "111111#ST:000041#");

  list.Refresh(buffer, "246802", false);
  EXPECT_FALSE(list.rows().front().checked);
}

TEST_F(BatchListTest, WithoutASetupPasswordCommandsKeepTheirOwn) {
  list.Refresh(buffer, "", true);
  EXPECT_EQ(list.rows().front().command, "111111#ST:000041#");
  EXPECT_EQ(list.rows().front().parameters, "000041");
}

TEST_F(BatchListTest, QueueMarksTheCheckedRowsReady) {
  list.Refresh(buffer, "246802", true);
  list.SetChecked(1, false);
  EXPECT_THAT(list.QueueChecked(false), ElementsAre(0, 2));
  EXPECT_EQ(list.rows()[0].status, "Ready");
  EXPECT_EQ(list.rows()[1].status, "");
  EXPECT_EQ(list.rows()[0].command, "246802#ST:000041#");  // unchanged without Auto Station ID
}

TEST_F(BatchListTest, AutoStationIdCountsOnFromRunToRun) {
  list.Refresh(buffer, "246802", true);
  list.QueueChecked(true);
  EXPECT_EQ(list.rows()[0].command, "246802#ST:000042#");
  EXPECT_EQ(list.rows()[0].parameters, "000042");
  list.QueueChecked(true);
  EXPECT_EQ(list.rows()[0].command, "246802#ST:000043#");
  EXPECT_EQ(buffer.Entries().at(11002), "111111#ST:000041#");

  list.SetChecked(0, false);
  list.QueueChecked(true);
  EXPECT_EQ(list.rows()[0].parameters, "000043");  // an unchecked row is left alone
}

TEST(AutoStationId, NextNumber) {
  const struct {
    const char* command;
    const char* next;
  } cases[] = {
      {"246802#ST:000041#", "000042"},
      {"246802#ST:999998#", "999999"},
      {"246802#ST:999999#", "000000"},
      {"246802#ST:1234567#", "000000"},
      {"246802#ST:000000#", "000001"},
      {"246802#ST:#", "000001"},
      {"246802#ST:12ab#", "000013"},
      {"246802#ST:99999999999999999999#", "000000"},
      {"ST:7", "000001"},
  };
  for (const auto& c : cases) {
    const auto step = NextStationId(c.command);
    ASSERT_TRUE(step) << c.command;
    EXPECT_EQ(step->number, c.next) << c.command;
  }
  EXPECT_THAT(NextStationId("246802#ST:000041#"),
              Optional(FieldsAre("246802#ST:000042#", "000042")));
  EXPECT_EQ(NextStationId("246802#SA:3#"), std::nullopt);
  EXPECT_EQ(NextStationId(""), std::nullopt);
}

}  // namespace
}  // namespace vexa
