#include "history/snapshot_keeper.h"

#include <gmock/gmock.h>

#include <filesystem>

#include "support/file_bytes.h"
#include "support/file_size_limit.h"
#include "support/group2_reply.h"
#include "support/logger_replies.h"
#include "support/temp_dir.h"

namespace vexa {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using testing::kGroup1Reply;
using testing::kGroup2Reply;
using testing::kGroup3Reply;

constexpr std::time_t kNow = 1'800'000'000;

// A reply as the exchange ends its command, pending under `code`.
FinishedCommand Reply(int code, std::string reply, int result = kResultSuccess) {
  return {code, result, result == kResultSuccess ? "Command Success" : "Command Time Out",
          std::move(reply)};
}

// The reply of logger `id` in place of 000041.
std::string Of(const std::string& id, std::string reply) {
  return reply.replace(reply.find("000041"), 6, id);
}

class SnapshotKeeperTest : public ::testing::Test {
 protected:
  void Finish(const FinishedCommand& finished) {
    keeper.CommandFinished(finished, "246802", 2, kNow);
  }
  // "#1" to "#3" of logger `id`, in any order the engineer pressed them.
  void ReadAllGroups(const std::string& id = "000041") {
    Finish(Reply(10003, Of(id, kGroup2Reply)));
    Finish(Reply(10004, Of(id, kGroup3Reply)));
    Finish(Reply(10002, Of(id, kGroup1Reply)));
  }
  std::size_t Snapshots(const std::string& id = "000041") const {
    return keeper.history().List(id).size();
  }

  TempDir dir;
  std::vector<std::string> log;
  SnapshotKeeper keeper{dir.File("addressbook.xml"),
                        [this](const std::string& text) { log.push_back(text); }};
};

TEST_F(SnapshotKeeperTest, AllThreeGroupsOfOneLoggerMakeOneSnapshot) {
  Finish(Reply(10002, kGroup1Reply));
  Finish(Reply(10005, testing::kStatusReply));  // not a group
  Finish(Reply(10003, "", kResultTimeOut));     // no reply, no group
  Finish(Reply(10004, kGroup3Reply));
  EXPECT_EQ(Snapshots(), 0u);
  Finish(Reply(10003, kGroup2Reply));
  ASSERT_EQ(Snapshots(), 1u);
  const auto kept = keeper.history().Load(keeper.history().List("000041")[0].path);
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->at(11005), "246802#SA:3#");
  EXPECT_EQ(kept->at(12008), "246802#AD03:10.00,0.000,0.000,2,9.000,1.000#");
  EXPECT_EQ(kept->at(14013), "246802#OC1:10000000000000000001000000#");

  // Read again, unchanged: the history does not grow; a group alone keeps nothing.
  ReadAllGroups();
  Finish(Reply(10002, kGroup1Reply));
  EXPECT_EQ(Snapshots(), 1u);
  EXPECT_THAT(log, IsEmpty());
}

// Groups answered by two loggers, another plugged in between, are no logger's settings.
TEST_F(SnapshotKeeperTest, GroupsOfAnotherLoggerStartOver) {
  Finish(Reply(10002, kGroup1Reply));
  Finish(Reply(10003, kGroup2Reply));
  Finish(Reply(10004, Of("000099", kGroup3Reply)));
  EXPECT_EQ(Snapshots(), 0u);
  EXPECT_EQ(Snapshots("000099"), 0u);
  Finish(Reply(10002, Of("000099", kGroup1Reply)));
  Finish(Reply(10003, Of("000099", kGroup2Reply)));
  EXPECT_EQ(Snapshots("000099"), 1u);
  EXPECT_EQ(Snapshots(), 0u);
}

// The logger written to is the one that last answered a status query, not
// the phone book entry chosen: another may be on the cable.
TEST_F(SnapshotKeeperTest, BeforeWritingKeepsTheLastFullReadOfTheLoggerOnTheLineOnly) {
  keeper.BeforeWriting(kNow);
  EXPECT_THAT(log, ElementsAre("The settings of the logger were not kept in the history "
                               "before writing: they have not been read in full (Read All "
                               "reads them)."));
  Finish(Reply(10005, testing::kStatusReply));
  ReadAllGroups();
  fs::remove_all(dir.path() / "history");  // gone meanwhile: written again before writing
  keeper.BeforeWriting(kNow);
  EXPECT_EQ(Snapshots(), 1u);
  EXPECT_EQ(log.size(), 1u);

  Finish(Reply(10000, Of("000099", testing::kStatusReply)));
  keeper.BeforeWriting(kNow);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_THAT(log.back(), HasSubstr("The settings of logger 000099 were not kept"));
  ReadAllGroups("000099");
  fs::remove_all(dir.path() / "history");
  keeper.BeforeWriting(kNow);
  EXPECT_EQ(Snapshots("000099"), 1u);
  EXPECT_EQ(Snapshots("000041"), 0u);
}

// A history that cannot be written is told once, not at every read, and again
// once it failed after working.
TEST_F(SnapshotKeeperTest, AFailureIsToldOnceInARow) {
  WriteBytes(dir.path() / "history", "a file where the folder goes");
  ReadAllGroups();
  ReadAllGroups();
  ReadAllGroups("000099");
  ASSERT_EQ(log.size(), 2u);
  EXPECT_THAT(log[0], HasSubstr("logger 000041 were not kept in the history: "));
  EXPECT_THAT(log[0], HasSubstr("is not a folder of this user's."));
  EXPECT_THAT(log[1], HasSubstr("logger 000099"));

  fs::remove(dir.path() / "history");
  ReadAllGroups();
  EXPECT_EQ(Snapshots(), 1u);
  {
    FileSizeLimit limit;
    ReadAllGroups("000099");
  }
  ASSERT_EQ(log.size(), 3u);
  EXPECT_THAT(log[2], HasSubstr("cannot write a new file"));
}

}  // namespace
}  // namespace vexa
