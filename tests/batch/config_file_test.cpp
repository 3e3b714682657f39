// Configuration files: the layout byte for byte, and what a load makes of a file.
#include "batch/config_file.h"

#include <gmock/gmock.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <filesystem>

#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace vexa {
namespace {

using ::testing::ElementsAre;
using ::testing::Pair;

// 2026-01-05 14:30:05 in UTC, the zone of these tests.
constexpr std::time_t kSavedAt = 1767623405;

class ConfigFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
  }

  std::vector<BatchRow> ThreeRowsMiddleUnchecked() const {
    return {
        {"01", "Command Success", "246802#ST:000041#", 11002, "Station ID", "000041", true},
        {"02", "", "246802#SA:3#", 11005, "Data Logging Interval", "30 Minute", false},
        {"03", "", "246802#AP1:+49&\"1!#", 11009, "Alarm Phone1", "+49&\"1!", true},
    };
  }

  TempDir folder;
  std::string path = folder.File("setup.cfg");
  CommandBuffer buffer;
};

TEST_F(ConfigFileTest, SavesRowsInReverseOrderUncheckedWithoutAttributes) {
  ASSERT_TRUE(SaveConfigFile(path, ThreeRowsMiddleUnchecked(), kSavedAt));
  EXPECT_EQ(ReadBytes(path),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
            "<DATALOG_SETUP>\r\n"
            "<DateTime DateTime=\"01/05/2026 14:30:05\" />\r\n"
            "<Records No.=\"03\" Command=\"246802#AP1:+49&amp;&quot;1!#\" COM=\"11009\" />\r\n"
            "<Records />\r\n"
            "<Records No.=\"01\" Command=\"246802#ST:000041#\" COM=\"11002\" />\r\n"
            "</DATALOG_SETUP>\r\n");
}

TEST_F(ConfigFileTest, LoadGivesBackTheCheckedRows) {
  ASSERT_TRUE(SaveConfigFile(path, ThreeRowsMiddleUnchecked(), kSavedAt));
  buffer.RecordCommand(12002, "246802#AD02:1,2,3,4,5,6#");  // replaced by the file's
  const ConfigLoadResult loaded = LoadConfigFile(path, buffer);
  EXPECT_EQ(loaded.outcome, ConfigLoad::kLoaded);
  EXPECT_EQ(loaded.records, 3);
  EXPECT_THAT(buffer.Entries(), ElementsAre(Pair(0, ""), Pair(11002, "246802#ST:000041#"),
                                            Pair(11009, "246802#AP1:+49&\"1!#")));
}

TEST_F(ConfigFileTest, LoadTakesAttributesByPosition) {
  WriteBytes(path,
             "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
             "<DATALOG_SETUP>\r\n"
             "<Records No.=\"01\" COM=\"11005\" Command=\"246802#SA:3#\" />\r\n"
             "<Records Row=\"02\" Text=\"246802#SA:4#\" Code=\"11005\" />\r\n"
             "<Records Row=\"03\" Text=\"246802#ST:000041#\" Code=\"x\" />\r\n"
             "</DATALOG_SETUP>\r\n");
  EXPECT_EQ(LoadConfigFile(path, buffer).records, 3);
  // The first record's second attribute is its code, read as the command;
  // its third, the command, read as a number. The same code: the later wins.
  EXPECT_THAT(buffer.Entries(), ElementsAre(Pair(0, "246802#ST:000041#"),
                                            Pair(11005, "246802#SA:4#"), Pair(246802, "11005")));
}

TEST_F(ConfigFileTest, FilesThatAreNoConfigurationLeaveTheBufferAlone) {
  buffer.RecordCommand(11005, "246802#SA:3#");
  const struct {
    const char* bytes;
    ConfigLoad outcome;
  } cases[] = {
      {"<?xml version=\"1.0\"?>\r\n<DATALOG_SETUP>\r\n<Records />\r\n", ConfigLoad::kNotWellFormed},
      {"", ConfigLoad::kNotWellFormed},
      {"<HEALTHCHECK>\r\n<Records ID=\"000041\" />\r\n</HEALTHCHECK>\r\n", ConfigLoad::kNoRoot},
  };
  for (const auto& c : cases) {
    WriteBytes(path, c.bytes);
    EXPECT_EQ(LoadConfigFile(path, buffer).outcome, c.outcome) << c.bytes;
  }
  EXPECT_EQ(LoadConfigFile(folder.File("missing.cfg"), buffer).outcome, ConfigLoad::kUnreadable);
  EXPECT_EQ(buffer.Count(), 1u);

  // A configuration without a command, not even a checked row, changes nothing either.
  WriteBytes(path, "<DATALOG_SETUP>\r\n<DateTime DateTime=\"x\" />\r\n</DATALOG_SETUP>\r\n");
  const ConfigLoadResult empty = LoadConfigFile(path, buffer);
  EXPECT_EQ(empty.outcome, ConfigLoad::kNoCommands);
  EXPECT_EQ(empty.records, 0);
  ASSERT_TRUE(SaveConfigFile(path, {{"01", "", "246802#SA:3#", 11005, "", "", false}}, kSavedAt));
  const ConfigLoadResult unchecked = LoadConfigFile(path, buffer);
  EXPECT_EQ(unchecked.outcome, ConfigLoad::kNoCommands);
  EXPECT_EQ(unchecked.records, 1);
  EXPECT_EQ(buffer.Entries().at(11005), "246802#SA:3#");
  EXPECT_EQ(buffer.Count(), 1u);
}

TEST_F(ConfigFileTest, AFailedSaveReportsAndKeepsTheOldFile) {
  EXPECT_FALSE(
      SaveConfigFile(folder.File("no/such/folder.cfg"), ThreeRowsMiddleUnchecked(), kSavedAt));
  WriteBytes(path, "old");
  std::filesystem::permissions(
      folder.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  const bool saved = SaveConfigFile(path, ThreeRowsMiddleUnchecked(), kSavedAt);
  std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_all);
  if (::geteuid() != 0) {
    EXPECT_FALSE(saved);  // root writes anyway
  }
  if (!saved) {
    EXPECT_EQ(ReadBytes(path), "old");
  }
}

TEST_F(ConfigFileTest, ASaveFollowsALinkOnlyToAConfigurationAndNeverReplacesAReadOnlyFile) {
  TempDir elsewhere;
  const std::string kept = elsewhere.File("kept.cfg");
  ASSERT_TRUE(SaveConfigFile(kept, {}, kSavedAt));
  std::filesystem::create_symlink(kept, path);
  ASSERT_TRUE(SaveConfigFile(path, ThreeRowsMiddleUnchecked(), kSavedAt));
  EXPECT_EQ(LoadConfigFile(kept, buffer).records, 3);
  EXPECT_TRUE(std::filesystem::is_symlink(path));

  const std::string foreign = elsewhere.File("passwd");
  WriteBytes(foreign, "root:x:0:0:root:/root:/bin/bash\n");
  const std::string linked = folder.File("foreign.cfg");
  std::filesystem::create_symlink(foreign, linked);
  EXPECT_FALSE(SaveConfigFile(linked, ThreeRowsMiddleUnchecked(), kSavedAt));
  EXPECT_EQ(ReadBytes(foreign), "root:x:0:0:root:/root:/bin/bash\n");

  const std::string locked = folder.File("locked.cfg");
  WriteBytes(locked, "old");
  ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
  EXPECT_FALSE(SaveConfigFile(locked, ThreeRowsMiddleUnchecked(), kSavedAt));
  EXPECT_EQ(ReadBytes(locked), "old");
}

TEST(ConfigFilePath, CfgIsAppendedUnlessThePathHoldsIt) {
  EXPECT_EQ(ConfigFilePath("setup"), "setup.cfg");
  EXPECT_EQ(ConfigFilePath("/tmp/my.cfg.bak"), "/tmp/my.cfg.bak");
  EXPECT_EQ(ConfigFilePath("Datalogger_Setup.cfg"), "Datalogger_Setup.cfg");
  EXPECT_EQ(ConfigFilePath("setup.CFG"), "setup.CFG.cfg");
}

}  // namespace
}  // namespace vexa
