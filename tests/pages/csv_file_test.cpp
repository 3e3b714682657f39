#include "pages/csv_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>

#include <filesystem>

#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace vexa::testing {
namespace {

TEST(CsvFileTest, QuotesOnlyFieldsThatNeedItAndEndsLinesWithCrLf) {
  const QList<QStringList> rows = {{"Date", "Temperature_1"},
                                   {"03/08/2010", "21.5"},
                                   {"a,b", "say \"hi\""},
                                   {"two\nlines", QString::fromUtf8("25 \u00b0C")}};
  EXPECT_EQ(CsvText(rows).toStdString(),
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
    EXPECT_EQ(CsvText({{QString::fromLatin1(c.cell)}}).toStdString(),
              std::string(c.exported) + "\r\n")
        << c.cell;
  }
}

TEST(CsvFileTest, SavedFileHoldsTheTextAndAFailedSaveIsReported) {
  TempDir dir;
  const QString path = QString::fromStdString(dir.File("records.csv"));
  ASSERT_TRUE(SaveCsvFile(path, {{"x", "1"}}));
  EXPECT_EQ(ReadBytes(path.toStdString()), "x,1\r\n");
  EXPECT_FALSE(SaveCsvFile(QString::fromStdString(dir.File("missing/records.csv")), {{"x"}}));
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

  EXPECT_TRUE(SaveCsvFile(QString::fromStdString(dir.File("kept.csv")), {{"new"}}));
  EXPECT_EQ(ReadBytes(elsewhere.File("kept.csv")), "new\r\n");
  EXPECT_FALSE(SaveCsvFile(QString::fromStdString(dir.File("records.csv")), {{"new"}}));
  EXPECT_EQ(ReadBytes(elsewhere.File("passwd")), "root:x:0:0\n");
  EXPECT_FALSE(SaveCsvFile(QString::fromStdString(dir.File("locked.csv")), {{"new"}}));
  EXPECT_EQ(ReadBytes(dir.File("locked.csv")), "old\r\n");
}

TEST(CsvFileTest, ExportNamesTellLoggersAndMomentsApart) {
  setenv("TZ", "UTC", 1);
  tzset();
  EXPECT_EQ(ExportFileName("Batch", "000042", 1767623405), "Batch_000042_20260105-143005.csv");
  EXPECT_EQ(ExportFileName("DataRecords", "", 1767623406), "DataRecords_20260105-143006.csv");
}

}  // namespace
}  // namespace vexa::testing
