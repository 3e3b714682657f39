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

TEST(CsvFileTest, SavedFileHoldsTheTextAndAFailedSaveIsReported) {
  TempDir dir;
  const QString path = QString::fromStdString(dir.File("records.csv"));
  ASSERT_TRUE(SaveCsvFile(path, {{"x", "1"}}));
  EXPECT_EQ(ReadBytes(path.toStdString()), "x,1\r\n");
  EXPECT_FALSE(SaveCsvFile(QString::fromStdString(dir.File("missing/records.csv")), {{"x"}}));
}

}  // namespace
}  // namespace vexa::testing
