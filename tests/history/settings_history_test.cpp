#include "history/settings_history.h"

#include <gmock/gmock.h>
#include <sys/stat.h>

#include <filesystem>

#include "batch/config_file.h"
#include "link/local_time.h"
#include "support/file_bytes.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"

namespace vexa {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// 2026-12-10 14:30:05 local time.
std::time_t At(int second) {
  std::tm local{};
  local.tm_year = 126;
  local.tm_mon = 11;
  local.tm_mday = 10;
  local.tm_hour = 14;
  local.tm_min = 30;
  local.tm_sec = second;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

// What "#1" to "#3" record, with the logger's clock as it read.
std::map<int, std::string> Read(const std::string& interval,
                                const std::string& clock = "2612101430") {
  return {{11002, "246802#ST:000041#"},
          {11004, "246802#TM:" + clock + "#"},
          {11005, "246802#SA:" + interval + "#"},
          {12003, "246802#AD13:2,50.00,-10.0#"}};
}

mode_t Mode(const fs::path& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

class SettingsHistoryTest : public ::testing::Test {
 protected:
  std::vector<std::string> Names(const std::string& id = "000041") const {
    std::vector<std::string> names;
    for (const Snapshot& snapshot : history.List(id)) {
      names.push_back(fs::path(snapshot.path).filename().string());
    }
    return names;
  }

  TempDir dir;
  SettingsHistory history{dir.File("addressbook.xml")};
};

TEST_F(SettingsHistoryTest, KeepsAConfigurationFileOwnerOnlyBesideThePhoneBook) {
  const KeepResult kept = history.Keep("000041", Read("3"), At(5));
  ASSERT_EQ(kept.outcome, KeepResult::Outcome::kKept) << kept.failure;
  EXPECT_EQ(kept.path, (dir.path() / "history" / "000041" / "2026-12-10_14-30-05.cfg").string());
  EXPECT_EQ(Mode(kept.path), 0600u);
  EXPECT_EQ(Mode(dir.path() / "history"), 0700u);
  EXPECT_EQ(Mode(dir.path() / "history" / "000041"), 0700u);

  // A configuration file as the Batch Setup page saves and loads it.
  CommandBuffer loaded;
  EXPECT_EQ(LoadConfigFile(kept.path, loaded).outcome, ConfigLoad::kLoaded);
  EXPECT_EQ(loaded.Entries(), Read("3"));
  EXPECT_EQ(history.Load(kept.path), Read("3"));

  const std::vector<Snapshot> snapshots = history.List("000041");
  ASSERT_EQ(snapshots.size(), 1u);
  EXPECT_EQ(snapshots[0].time_text, "2026-12-10 14:30:05");
  EXPECT_EQ(snapshots[0].taken, At(5));
  EXPECT_EQ(snapshots[0].settings, 4);
}

TEST_F(SettingsHistoryTest, NeverTwiceTheSameNeverOverAnEarlierOne) {
  ASSERT_EQ(history.Keep("000041", Read("3"), At(5)).outcome, KeepResult::Outcome::kKept);
  // The clock moved on and another password came in front: still the same settings.
  std::map<int, std::string> same = Read("3", "2612101431");
  same[11005] = "111111#SA:3#";
  const KeepResult unchanged = history.Keep("000041", same, At(9));
  EXPECT_EQ(unchanged.outcome, KeepResult::Outcome::kUnchanged);
  EXPECT_EQ(fs::path(unchanged.path).filename(), "2026-12-10_14-30-05.cfg");

  // Two in one second get names of their own, and list newest first.
  EXPECT_EQ(history.Keep("000041", Read("1"), At(9)).outcome, KeepResult::Outcome::kKept);
  EXPECT_EQ(history.Keep("000041", Read("2"), At(9)).outcome, KeepResult::Outcome::kKept);
  EXPECT_EQ(history.Keep("000041", Read("3"), At(9)).outcome, KeepResult::Outcome::kKept);
  EXPECT_THAT(Names(), ElementsAre("2026-12-10_14-30-09_3.cfg", "2026-12-10_14-30-09_2.cfg",
                                   "2026-12-10_14-30-09.cfg", "2026-12-10_14-30-05.cfg"));
  EXPECT_EQ(history.Load(history.List("000041")[0].path), Read("3"));
  EXPECT_THAT(Names("000042"), IsEmpty());
}

TEST_F(SettingsHistoryTest, KeepsTheNewestHundredPerLogger) {
  for (int i = 0; i < SettingsHistory::kMaxSnapshots + 2; ++i) {
    const std::time_t when = At(0) + 60 * i;
    ASSERT_EQ(history.Keep("000041", Read(std::to_string(i % 2)), when).outcome,
              KeepResult::Outcome::kKept);
  }
  WriteBytes(dir.path() / "history" / "000041" / "notes.txt", "mine");  // not a snapshot
  ASSERT_EQ(history.Keep("000041", Read("5"), At(0) + 60 * 102).outcome,
            KeepResult::Outcome::kKept);
  const std::vector<std::string> names = Names();
  ASSERT_EQ(names.size(), 100u);
  EXPECT_EQ(names.front(), FormatLocalTime("%Y-%m-%d_%H-%M-%S.cfg", At(0) + 60 * 102));
  EXPECT_EQ(names.back(), FormatLocalTime("%Y-%m-%d_%H-%M-%S.cfg", At(0) + 60 * 3));
  EXPECT_TRUE(fs::exists(dir.path() / "history" / "000041" / "notes.txt"));
}

TEST_F(SettingsHistoryTest, AStationIdThatIsNotSixDigitsNeverBecomesAPath) {
  for (const char* id : {"../../escaped", "00004/", "..", "12345", "1234567", "", "00004a"}) {
    const KeepResult result = history.Keep(id, Read("3"), At(5));
    EXPECT_EQ(result.outcome, KeepResult::Outcome::kFailed) << id;
    EXPECT_THAT(result.failure, HasSubstr("a station ID has six digits")) << id;
    EXPECT_THAT(history.List(id), IsEmpty()) << id;
  }
  EXPECT_FALSE(fs::exists(dir.path() / "history"));
  EXPECT_FALSE(fs::exists(dir.path().parent_path() / "escaped"));
}

TEST_F(SettingsHistoryTest, WhatCannotBeKeptSaysWhy) {
  EXPECT_EQ(history.Keep("000041", {{0, ""}}, At(5)).failure,
            "The settings of logger 000041 were not kept in the history: nothing was read.");

  WriteBytes(dir.path() / "history", "a file where the folder goes");
  const KeepResult blocked = history.Keep("000041", Read("3"), At(5));
  EXPECT_EQ(blocked.outcome, KeepResult::Outcome::kFailed);
  EXPECT_EQ(blocked.failure, "The settings of logger 000041 were not kept in the history: " +
                                 (dir.path() / "history").string() +
                                 " is not a folder of this user's.");
  fs::remove(dir.path() / "history");

  {
    FileSizeLimit limit;
    const KeepResult full = history.Keep("000041", Read("3"), At(5));
    EXPECT_EQ(full.outcome, KeepResult::Outcome::kFailed);
    EXPECT_THAT(full.failure, HasSubstr("cannot write a new file in "));
  }
  EXPECT_THAT(Names(), IsEmpty());
  // Nothing half written left behind.
  EXPECT_TRUE(fs::is_empty(dir.path() / "history" / "000041"));
}

}  // namespace
}  // namespace vexa
