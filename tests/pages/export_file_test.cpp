// The window's side of CSV exports: the widgets' rows and the suggested names.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include "pages/csv_file.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace vexa::testing {
namespace {

TEST(ExportFileTest, TheWidgetsTextsAreSavedInUtf8) {
  TempDir dir;
  const QString path = QString::fromStdString(dir.File("records.csv"));
  ASSERT_TRUE(SaveCsvFile(path, {{"Temperature_1", QString::fromUtf8("25 \u00b0C")}}));
  EXPECT_EQ(ReadBytes(path.toStdString()),
            "Temperature_1,25 \xc2\xb0"
            "C\r\n");
}

TEST(ExportFileTest, ExportNamesTellLoggersAndMomentsApart) {
  setenv("TZ", "UTC", 1);
  tzset();
  EXPECT_EQ(ExportFileName("Batch", "000042", 1767623405), "Batch_000042_20260105-143005.csv");
  EXPECT_EQ(ExportFileName("DataRecords", "", 1767623406), "DataRecords_20260105-143006.csv");
}

}  // namespace
}  // namespace vexa::testing
