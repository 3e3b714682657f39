// The Batch Setup page in the whole program: one logger set up with the pages
// and a configuration file, its setup replayed on the next logger on the
// cable with the next station ID, and read back from that logger.
#include <QCheckBox>
#include <QLabel>
#include <QTableWidget>

#include "batch/batch_page.h"
#include "support/accessibility_check.h"
#include "window_fixture.h"

namespace vexa::testing {
namespace {

constexpr int kBatchPage = 7;

// Settings of the Analog Channel and Relay Output pages, as a configuration file keeps them.
constexpr char kPreparedSetup[] =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
    "<DATALOG_SETUP>\r\n"
    "<DateTime DateTime=\"01/05/2026 14:30:05\" />\r\n"
    "<Records No.=\"02\" Command=\"246802#OC1:01000000000000000000000000#\" "
    "COM=\"14013\" />\r\n"
    "<Records No.=\"01\" Command=\"246802#AD03:12.00,2.000,0.000,1,11.00,3.000#\" "
    "COM=\"12008\" />\r\n"
    "</DATALOG_SETUP>\r\n";

class BatchEndToEnd : public WindowTest {
 protected:
  QLabel* Summary() {
    for (QLabel* label : Page()->findChildren<QLabel*>()) {
      if (label->accessibleDescription() == "Result of the last batch") return label;
    }
    ADD_FAILURE() << "no summary";
    return nullptr;
  }
  CBatchInitDlg* Page() { return static_cast<CBatchInitDlg*>(DevicePages()->widget(kBatchPage)); }
  QPushButton* PageButton(int page, const QString& name) {
    return PageControl<QPushButton>(page, name);
  }
};

TEST_F(BatchEndToEnd, SetupReplayedOnTheNextLoggerWithTheNextStationId) {
  EXPECT_FALSE(Button("Next Logger")->isVisible());  // the simulator on the cable only
  ConnectAndSelect(false, {.loggers = {{"000041", "+491701000041", "135791", "246802"},
                                       {"000099", "+491701000099", "135791", "246802"}}});
  // A setup prepared earlier, then the Device Setup page.
  WriteBytes(folder_.File("prepared.cfg"), kPreparedSetup);
  Page()->OpenConfigFile(QString::fromStdString(folder_.File("prepared.cfg")));
  ASSERT_EQ(Run("#1"), "Command Success");
  Type(PageControl<QLineEdit>(0, "Alarm Phone 1"), "+491705550001");
  ASSERT_EQ(Run(PageButton(0, "Set Alarm Phone 1")), "Command Success");

  Click("Batch");
  EXPECT_EQ(DevicePages()->currentIndex(), kBatchPage);
  auto* list = PageControl<QTableWidget>(kBatchPage, "Batch commands");
  const int rows = list->rowCount();
  // Station ID, time, interval, SMS upload, alarm phone 1, AD03, the time lapses of
  // both relays ("#1") and relay 1's alarm sources.
  ASSERT_EQ(rows, 9);
  EXPECT_EQ(list->item(0, 4)->text(), "Station ID");

  ASSERT_TRUE(Button("Next Logger")->isVisible());
  Click("Next Logger");
  EXPECT_TRUE(DataLog().contains("Simulator: logger 000099 is now on the cable"));
  PageControl<QCheckBox>(kBatchPage, "Auto Station ID")->setChecked(true);
  QTest::mouseClick(PageButton(kBatchPage, "Batch Setup"), Qt::LeftButton);
  EXPECT_FALSE(PageButton(kBatchPage, "Batch Setup")->isEnabled());
  ASSERT_TRUE(QTest::qWaitFor([&] { return Summary()->text().contains("succeeded"); }, 30000))
      << DataLog().toStdString();
  EXPECT_EQ(Summary()->text(), "9 of 9 commands succeeded");
  EXPECT_EQ(list->item(0, 5)->text(), "000042");
  for (int row = 0; row < rows; ++row) EXPECT_EQ(list->item(row, 1)->text(), "Command Success");
  EXPECT_TRUE(QTest::qWaitFor([&] { return PageButton(kBatchPage, "File")->isEnabled(); }, 2000));
  EXPECT_TRUE(AccessibilityProblems(Page()).empty());

  // The second logger now answers with the new station ID and the replayed settings.
  ASSERT_EQ(Run("#1"), "Command Success");
  EXPECT_EQ(PageControl<QLineEdit>(0, "Station ID")->text(), "000042");
  EXPECT_EQ(PageControl<QLineEdit>(0, "Alarm Phone 1")->text(), "+491705550001");
  EXPECT_TRUE(DataLog().contains("#STC1:000042;")) << DataLog().toStdString();
  ASSERT_EQ(Run("#2"), "Command Success");
  EXPECT_TRUE(DataLog().contains("AD03:12.00,2.000,0.000,1,11.00,3.000;"));
  ASSERT_EQ(Run("#3"), "Command Success");
  EXPECT_TRUE(DataLog().contains("COUT1:01000000000000000000000000;"));

  const std::string report = folder_.File("report.csv");
  Page()->SaveReport(QString::fromStdString(report));
  EXPECT_TRUE(ReadBytes(report).find("\r\n000042,") != std::string::npos) << ReadBytes(report);
  EXPECT_TRUE(notifier_.messages.empty()) << notifier_.Last();
}

}  // namespace
}  // namespace vexa::testing
