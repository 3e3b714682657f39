#include "pages/csv_file.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vexa::testing
