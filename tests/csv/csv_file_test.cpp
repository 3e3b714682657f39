#include "csv/csv_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace vexa::testing {
namespace {

TEST(CsvFileTest, QuotesOnlyFieldsThatNeedItAndEndsLinesWithCrLf) {
  const CsvRows rows = {{"Date", "Temperature_1"},
                        {"03/08/2010", "21.5"},
                        {"a,b", "say \"hi\""},
                        {"two\nlines",
                         "25 \xb0"
                         "C"}};
  EXPECT_EQ(CsvText(rows),
            "Date,Temperature_1\r\n03/08/2010,21.5\r\n\"a,b\",\"say \"\"hi\"\"\"\r\n"
            "\"two\nlines\",25 \xc2\xb0"
            "C\r\n");
}

TEST(CsvFileTest, CellsThatASpreadsheetWouldRunAsFormulasAreExportedAsText) {
  const struct {
    const char* cell;
    const char* exported;
  } cases[] = {
      {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
      {"+SUM(A1:A9)", "'+SUM(A1:A9)"},
      {"-1+2", "'-1+2"},
      {"@cmd", "'@cmd"},
      {"=1,2", "\"'=1,2\""},
      {"-", "'-"},
      {"+", "'+"},
      {"-inf", "'-inf"},
      {"--5", "'--5"},
      {"-12.5", "-12.5"},
      {"+3", "+3"},
      {"-0.5e3", "-0.5e3"},
      {"-.5", "-.5"},
      {"21.5", "21.5"},
      {"DOOR OPEN = 1", "DOOR OPEN = 1"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CsvText({{c.cell}}), std::string(c.exported) + "\r\n") << c.cell;
  }
}

TEST(CsvFileTest, SavedFileHoldsTheTextAndAFailedSaveIsReported) {
  TempDir dir;
  const std::string path = dir.File("records.csv");
  ASSERT_TRUE(SaveCsvFile(path, {{"x", "1"}}));
  EXPECT_EQ(ReadBytes(path), "x,1\r\n");
  EXPECT_FALSE(SaveCsvFile(dir.File("missing/records.csv"), {{"x"}}));
}

TEST(CsvFileTest, ASaveFollowsALinkOnlyToACsvFileAndNeverReplacesAReadOnlyOne) {
  TempDir dir;
  TempDir elsewhere;
  WriteBytes(elsewhere.File("kept.csv"), "old\r\n");
  WriteBytes(elsewhere.File("passwd"), "root:x:0:0\n");
  std::filesystem::create_symlink(elsewhere.File("kept.csv"), dir.File("kept.csv"));
  std::filesystem::create_symlink(elsewhere.File("passwd"), dir.File("records.csv"));
  WriteBytes(dir.File("locked.csv"), "old\r\n");
  ASSERT_EQ(chmod(dir.File("locked.csv").c_str(), 0444), 0);

  EXPECT_TRUE(SaveCsvFile(dir.File("kept.csv"), {{"new"}}));
  EXPECT_EQ(ReadBytes(elsewhere.File("kept.csv")), "new\r\n");
  EXPECT_FALSE(SaveCsvFile(dir.File("records.csv"), {{"new"}}));
  EXPECT_EQ(ReadBytes(elsewhere.File("passwd")), "root:x:0:0\n");
  EXPECT_FALSE(SaveCsvFile(dir.File("locked.csv"), {{"new"}}));
  EXPECT_EQ(ReadBytes(dir.File("locked.csv")), "old\r\n");
}

}  // namespace
}  // namespace vexa::testing
