// The Data Record page in the whole program, against the built-in simulated
// logger: stored records on both routes, and the current readings of Status.
#include <QComboBox>
#include <QDateEdit>
#include <QTableView>

#include "sim/simulated_logger.h"
#include "support/accessibility_check.h"
#include "window_fixture.h"

namespace vexa::testing {
namespace {

// The simulated logger's clock stands still at 8 March 2026, 15:00.
sim::LoggerTime Now() {
  return std::chrono::sys_days{std::chrono::year{2026} / 3 / 8} + std::chrono::hours{15};
}

class DataRecordEndToEnd : public WindowTest {
 protected:
  static sim::SimulatorOptions Options() {
    sim::SimulatorOptions options;
    options.clock = Now;
    return options;
  }

  template <typename Widget>
  Widget* Control(const QString& name) {
    return PageControl<Widget>(kDataRecordPage, name);
  }
  QAbstractItemModel* Model() { return Control<QTableView>("Data records")->model(); }
  QString Cell(int row, const QString& caption) {
    for (int column = 0; column < Model()->columnCount(); ++column) {
      if (Model()->headerData(column, Qt::Horizontal).toString() == caption) {
        return Model()->index(row, column).data().toString();
      }
    }
    ADD_FAILURE() << "no column " << caption.toStdString();
    return {};
  }

  // Opens a drop-down list of the page and picks an item.
  void Choose(const QString& name, const QString& item) {
    QComboBox* box = Control<QComboBox>(name);
    box->showPopup();
    const int row = box->findText(item);
    ASSERT_GE(row, 0) << item.toStdString() << " is not offered";
    box->view()->setCurrentIndex(box->model()->index(row, 0));
    QTest::keyClick(box->view(), Qt::Key_Return);
  }
  QString Query(const QString& hour, const QString& minute, const QString& count) {
    DevicePages()->SetActivePage(kDataRecordPage);
    Control<QDateEdit>("Date")->setDate(QDate(2026, 3, 8));
    Choose("Hour", hour);
    Choose("Minute", minute);
    Choose("Number of Records", count);
    return Run(Control<QPushButton>("Query"));
  }

  // What the simulated logger holds, asked directly.
  static std::string Stored(const std::string& command) {
    sim::SimulatedLogger logger(sim::DemoLoggers().front(), Now);
    return logger.Handle(command);
  }
};

TEST_F(DataRecordEndToEnd, QueryOnTheCableShowsTheStoredSamples) {
  ConnectAndSelect(false, Options());
  EXPECT_EQ(Query("12", "5", "2"), "Command Success");
  // Two records of twelve five-minute samples, 12:05 to 14:00.
  ASSERT_EQ(Model()->rowCount(), 24);
  EXPECT_EQ(Cell(0, "Count"), "1");
  EXPECT_EQ(Cell(0, "Header"), "STD");
  EXPECT_EQ(Cell(0, "Station ID"), "000041");
  EXPECT_EQ(Cell(0, "Date"), "03/08/2026");
  EXPECT_EQ(Cell(0, "Time"), "12:05:00");
  EXPECT_EQ(Cell(23, "Count"), "24");
  EXPECT_EQ(Cell(23, "Time"), "14:00:00");
  EXPECT_EQ(Model()->columnCount(), 5 + 9);  // humidity and eight temperatures

  const std::string stored = Stored("135791#REDEEM260308120502#");
  const std::size_t key = stored.find("A13:") + 4;
  const std::string first_sample = stored.substr(key, stored.find('|', key) - key);
  EXPECT_EQ(Cell(0, "Temperature_1").toStdString(), first_sample);
  EXPECT_TRUE(AccessibilityProblems(DevicePages()->widget(kDataRecordPage)).empty());
  EXPECT_TRUE(notifier_.messages.empty()) << notifier_.Last();
}

TEST_F(DataRecordEndToEnd, GsmOffersOneRecordThatArrivesInParts) {
  ConnectAndSelect(true, Options());
  DevicePages()->SetActivePage(kDataRecordPage);
  QComboBox* count = Control<QComboBox>("Number of Records");
  count->showPopup();
  EXPECT_EQ(count->count(), 1);
  EXPECT_EQ(count->itemText(0), "1");
  count->hidePopup();

  // Longer than one short message can carry.
  ASSERT_GT(Stored("135791#REDEEM260308140501#").size(), 160u);
  EXPECT_EQ(Query("14", "5", "1"), "Command Success");
  ASSERT_EQ(Model()->rowCount(), 12);
  EXPECT_EQ(Cell(0, "Time"), "14:05:00");
  EXPECT_EQ(Cell(11, "Time"), "15:00:00");
  EXPECT_FALSE(Cell(11, "Temperature_8").isEmpty());
  EXPECT_TRUE(DataLog().contains("#STD:000041,T;L:"));
}

TEST_F(DataRecordEndToEnd, LaterStatusShowsTheCurrentReadingsHere) {
  ConnectAndSelect(false, Options());
  DevicePages()->SetActivePage(0);
  EXPECT_EQ(Run("Status"), "Command Success");
  EXPECT_EQ(DevicePages()->currentIndex(), kDataRecordPage);
  ASSERT_EQ(Model()->rowCount(), 1);
  EXPECT_EQ(Cell(0, "Header"), "STA");
  EXPECT_EQ(Cell(0, "Station ID"), "000041");
  EXPECT_EQ(Cell(0, "Date"), "03/08/26");
  EXPECT_EQ(Cell(0, "Time"), "15:00:00");
  EXPECT_FALSE(Cell(0, "Temperature_1").isEmpty());
  EXPECT_EQ(Cell(0, "O01"), "1");
}

}  // namespace
}  // namespace vexa::testing
