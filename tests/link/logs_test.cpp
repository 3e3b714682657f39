#include <fcntl.h>
#include <gmock/gmock.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <regex>

#include "link/data_log_text.h"
#include "link/setup_log.h"
#include "support/file_bytes.h"
#include "support/finishes_in_time.h"
#include "support/temp_dir.h"

namespace vexa::testing {
namespace {

TEST(SetupLog, AppendsOneStampedLinePerCommandInOrder) {
  TempDir dir;
  SetupLog log(dir.path() / "SetupLog.txt");
  const std::time_t now = std::time(nullptr);
  EXPECT_FALSE(log.Append("135791#STATUS#", now));
  EXPECT_FALSE(log.Append("AT+BJSD=3,123,135791#CHEACK1#\r\n", now));
  const std::string content = ReadBytes(log.path());
  const std::regex line(
      R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d  135791#STATUS#\r\n)"
      R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d  AT\+BJSD=3,123,135791#CHEACK1#\r\n\r\n)");
  EXPECT_TRUE(std::regex_match(content, line)) << content;
}

mode_t ModeOf(const std::filesystem::path& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0);
  return info.st_mode & 0777;
}

TEST(SetupLog, IsOwnerOnlyWhateverTheUmaskAndAWiderLogIsNarrowedFirst) {
  TempDir dir;
  const auto path = dir.path() / "SetupLog.txt";
  WriteBytes(path, "older\r\n");
  ::chmod(path.c_str(), 0644);
  EXPECT_FALSE(SetupLog(path).Append("246802#PS:111111,222222#", 0));
  EXPECT_EQ(ModeOf(path), 0600u);
  EXPECT_EQ(ReadBytes(path).substr(0, 7), "older\r\n");

  const mode_t saved = ::umask(0277);
  const auto fresh = dir.path() / "Fresh.txt";
  EXPECT_FALSE(SetupLog(fresh).Append("first", 0));
  EXPECT_FALSE(SetupLog(fresh).Append("second", 0));  // still writable by its owner
  ::umask(saved);
  EXPECT_EQ(ModeOf(fresh), 0600u);
  EXPECT_NE(ReadBytes(fresh).find("second"), std::string::npos);
}

TEST(SetupLog, RefusesALinkEveryTimeWithAReasonAndWritesNothingThrough) {
  TempDir dir;
  const auto target = dir.path() / "target.txt";
  WriteBytes(target, "");
  const auto path = dir.path() / "SetupLog.txt";
  std::filesystem::create_symlink(target, path);
  SetupLog log(path);
  for (const char* command : {"246802#PS:111111,222222#", "again"}) {
    EXPECT_EQ(log.Append(command, 0),
              "Setup log " + path.string() + " not written: it is a symbolic link");
  }
  EXPECT_EQ(ReadBytes(target), "");
}

TEST(SetupLog, APipeInItsPlaceIsRefusedAtOnceWithOrWithoutAReader) {
  TempDir dir;
  const auto path = dir.path() / "SetupLog.txt";
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  const std::string refused = "Setup log " + path.string() +
                              " not written: it is not a plain file (a folder, pipe or device)";
  SetupLog log(path);
  EXPECT_TRUE(FinishesInTime([&] {
    return log.Append("135791#STATUS#", 0) == refused && log.Append("135791#STATUS#", 0) == refused;
  }));

  const int reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  EXPECT_EQ(log.Append("246802#PS:111111,222222#", 0), refused);
  char byte = 0;
  EXPECT_LE(::read(reader, &byte, 1), 0);  // no password went down the pipe
  ::close(reader);
}

TEST(SetupLog, RefusesAHardLinkedFile) {
  TempDir dir;
  const auto path = dir.path() / "SetupLog.txt";
  WriteBytes(path, "");
  std::filesystem::create_hard_link(path, dir.path() / "other");
  EXPECT_TRUE(SetupLog(path).Append("secret", 0));
  EXPECT_EQ(ReadBytes(path), "");
}

TEST(DataLogText, HeaderAndEntryLayout) {
  const std::time_t now = std::time(nullptr);
  const std::string header = DataLogHeader(now);
  EXPECT_TRUE(std::regex_match(header, std::regex(R"(->\[\d\d/\d\d/\d\d \]-{16}Data logs-{71})")));
  EXPECT_TRUE(
      std::regex_match(DataLogEntry("second", now),
                       std::regex(R"(->\[\d\d/\d\d/\d\d [^\]]+\]-{86}\r\nsecond\r\n\r\n )")));
}

TEST(DataLogText, OnlyTheExactResetTextIsRenamed) {
  EXPECT_NE(DataLogEntry("initialize succesed!", 0).find("\r\nInitialization Completed!\r\n"),
            std::string::npos);
  EXPECT_NE(DataLogEntry("xinitialize succesed!", 0).find("\r\nxinitialize succesed!\r\n"),
            std::string::npos);
}

TEST(DataLogText, KeepsTheNewestTwoMebibytesInWholeEntries) {
  DataLogBound bound;
  // The header is shown as one character here, each entry as one fewer than its bytes.
  EXPECT_EQ(bound.Prepend(DataLogHeader(0).size(), 1), 0u);
  const std::size_t entry = DataLogEntry(std::string(100'000, 'r'), 0).size();
  std::size_t removed = 0;
  for (int i = 0; i < 30; ++i) removed += bound.Prepend(entry, entry - 1);
  // The header leaves first, then the oldest entries, whole.
  const std::size_t kept = kDataLogLimit / entry;
  EXPECT_EQ(removed, 1 + (30 - kept) * (entry - 1));

  // After Buffer Clear nothing older is left to drop.
  bound.Clear();
  EXPECT_EQ(bound.Prepend(entry, entry), 0u);
  // A single entry bigger than the whole log is cut, not dropped.
  EXPECT_EQ(DataLogEntry(std::string(3 * kDataLogLimit, 'x'), 0).size(), kDataLogLimit);
  EXPECT_EQ(bound.Prepend(kDataLogLimit, kDataLogLimit), entry);
}

TEST(DataLogText, LongStationValuesAreShortened) {
  EXPECT_EQ(ShortenForDataLog("#STC1:0000411234;TM:1;#"), "#STC1:000041;TM:1;#");
  EXPECT_EQ(ShortenForDataLog("#STA:000041,T;A00:1;#"), "#STA:000041,T;A00:1;#");  // 8: kept
  EXPECT_EQ(ShortenForDataLog("#STD:000041,T123;T:1;#STD:000041,T123;T:2;#"),
            "#STD:000041;T:1;#STD:000041;T:2;#");
  EXPECT_EQ(ShortenForDataLog("#STA:0000411234567"), "#STA:0000411234567");  // no ";"
  EXPECT_EQ(ShortenForDataLog("Set success!"), "Set success!");
}

}  // namespace
}  // namespace vexa::testing
