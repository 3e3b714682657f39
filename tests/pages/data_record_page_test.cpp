#include "pages/data_record/data_record_page.h"

#include <gmock/gmock.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtTest/QTest>
#include <ctime>
#include <functional>
#include <map>
#include <set>

#include "page_fixture.h"
#include "pages/csv_file.h"
#include "pages/data_record/record_chart_dialog.h"
#include "pages/data_record/record_list_model.h"
#include "support/accessibility_check.h"
#include "support/file_dialog_script.h"

namespace vexa::testing {
namespace {

constexpr char kRecords[] =
    "#STD:000041,T;TM:100308140500;D:1;T:3;A00:45.0|46.1|47.0;A13:21.5|21.6|21.7;"
    "#STD:000041,T;TM:100308143000;D:1;T:2;A13:21.9|22.0;A14:22.4|22.6;#";
constexpr char kStatus[] =
    "#STA:000041,T;TM:261209143005;A00:45.20;A02:48.30;A13:20.50;K01:100000000001000;O01:10;#";

class DataRecordPageTest : public ShownPageTest<CSet3> {
 protected:
  QComboBox* Combo(const QString& name) { return Find<QComboBox>(name); }
  QTableView* List() { return Find<QTableView>("Data records"); }
  QAbstractItemModel* Model() { return List()->model(); }

  // Opens a drop-down list and picks an item as the engineer does.
  void Choose(const QString& name, const QString& item) {
    QComboBox* box = Combo(name);
    box->showPopup();
    const int row = box->findText(item);
    ASSERT_GE(row, 0) << item.toStdString() << " is not offered";
    box->view()->setCurrentIndex(box->model()->index(row, 0));
    QTest::keyClick(box->view(), Qt::Key_Return);
  }
  QStringList Offered(const QString& name) {
    QComboBox* box = Combo(name);
    box->showPopup();
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    box->hidePopup();
    return items;
  }
  void ChooseQuery(const QDate& date, const QString& hour, const QString& minute,
                   const QString& count) {
    Find<QDateEdit>("Date")->setDate(date);
    Choose("Hour", hour);
    Choose("Minute", minute);
    Choose("Number of Records", count);
  }
  // Clicks Query; returns what went out and its code, "" when nothing did.
  std::string Query() {
    port.writes.clear();
    QTest::mouseClick(Find<QPushButton>("Query"), Qt::LeftButton);
    return port.writes.empty() ? "" : LastWrite() + " " + std::to_string(PendingCode());
  }
  QStringList Captions() {
    QStringList captions;
    for (int c = 0; c < Model()->columnCount(); ++c) {
      captions << Model()->headerData(c, Qt::Horizontal).toString();
    }
    return captions;
  }
  QString CellText(int row, int column) { return Model()->index(row, column).data().toString(); }
};

TEST_F(DataRecordPageTest, QueryIsRefusedUntilReadyAndChosen) {
  struct Case {
    std::function<void()> arrange;
    std::string message;
  };
  const Case cases[] = {
      {[this] { port.open = false; }, "Before Setup Command ,please Connect!"},
      {[this] { exchange.SendCommand("135791#STATUS#", 10005); }, "Command is in progress..."},
      {[this] { SelectDevice("000043"); }, "Device Phone Number is NULL ,please Edit Phone Book!"},
      {[this] { SelectDevice("000045"); }, "Device SetupPassword is NULL ,please Edit Phone Book!"},
      {[this] { Combo("Hour")->setCurrentIndex(-1); }, "Please Select Hour !"},
      {[this] { Combo("Minute")->setCurrentIndex(-1); }, "Please Select Minute !"},
      {[this] { Combo("Number of Records")->setCurrentIndex(-1); },
       "Please Select Number of Records !"},
  };
  for (const Case& c : cases) {
    ChooseQuery(QDate(2026, 3, 8), "14", "5", "20");
    c.arrange();
    const std::size_t shown = notifier.messages.size();
    EXPECT_EQ(Query(), "") << c.message;
    ASSERT_EQ(notifier.messages.size(), shown + 1) << c.message;
    EXPECT_EQ(notifier.Last(), c.message);
    port.open = true;
    if (exchange.busy()) EndCommand();
    SelectDevice("000041");
  }
}

TEST_F(DataRecordPageTest, QuerySendsTheMomentAndCountAndStartsAFreshList) {
  page.StatusReply(kStatus);
  ASSERT_EQ(Model()->rowCount(), 1);
  ChooseQuery(QDate(2026, 3, 8), "14", "5", "20");
  EXPECT_EQ(Query(), "135791#REDEEM260308140520# 15001");
  EXPECT_EQ(Model()->rowCount(), 0);
  EXPECT_EQ(Captions(), (QStringList{"Count", "Header", "Station ID", "Date", "Time"}));
  EXPECT_TRUE(notifier.messages.empty());

  // The code stays pending after the command, for records that come later.
  EndCommand();
  EXPECT_EQ(PendingCode(), 15001);
}

TEST_F(DataRecordPageTest, NumberOfRecordsIsOfferedForTheRoute) {
  QStringList all;
  for (int n = 1; n <= 99; ++n) all << QString::number(n);
  EXPECT_EQ(Combo("Number of Records")->count(), 0);  // filled when it opens
  EXPECT_EQ(Offered("Number of Records"), all);
  Choose("Number of Records", "20");
  EXPECT_EQ(Offered("Number of Records"), all);
  EXPECT_EQ(Combo("Number of Records")->currentText(), "20");

  exchange.set_transport_mode(TransportMode::kGsmModem);
  EXPECT_EQ(Offered("Number of Records"), QStringList{"1"});
  EXPECT_EQ(Combo("Number of Records")->currentIndex(), -1);  // 20 is no longer offered
  EXPECT_EQ(Combo("Hour")->count(), 24);
  EXPECT_EQ(Combo("Minute")->itemText(59), "59");
  EXPECT_EQ(Combo("Hour")->currentIndex(), -1);
}

TEST_F(DataRecordPageTest, StatusReplacesAndRecordsAppendThenClearKeepsTheBaseColumns) {
  page.StoredRecordsReply(kRecords);
  page.StatusReply(kStatus);
  EXPECT_EQ(Model()->rowCount(), 1);
  EXPECT_EQ(Captions(), (QStringList{"Count", "Header", "Station ID", "Date", "Time", "Humidity",
                                     "Temperature_1", "K00", "K01", "K02", "K03", "K04", "K05",
                                     "K06", "K07", "K08", "O01", "O02"}));
  EXPECT_EQ(CellText(0, 1), "STA");
  EXPECT_EQ(List()->horizontalHeader()->sectionSize(5), 120);
  EXPECT_EQ(List()->horizontalHeader()->sectionSize(7), 40);
  EXPECT_EQ(Model()->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() &
                Qt::AlignHCenter,
            Qt::AlignHCenter);

  page.StatusReply("");  // an empty reply changes nothing
  EXPECT_EQ(Model()->rowCount(), 1);

  page.ClearPage();
  page.StoredRecordsReply(kRecords);
  List()->horizontalHeader()->resizeSection(5, 200);  // the engineer widened Humidity
  page.StoredRecordsReply("#STD:000041,T;TM:100308150000;D:1;T:1;A13:23.0;A07:19.5;#");
  EXPECT_EQ(Model()->rowCount(), 6);
  EXPECT_EQ(CellText(5, 0), "6");
  EXPECT_EQ(CellText(5, 4), "15:00:00");
  EXPECT_EQ(Captions().mid(5),
            (QStringList{"Humidity", "Temperature_1", "Temperature_2", "Temperature_3"}));
  EXPECT_EQ(List()->horizontalHeader()->sectionSize(5), 200);
  EXPECT_EQ(List()->horizontalHeader()->sectionSize(8), 120);

  Choose("Hour", "3");
  page.ClearPage();
  EXPECT_EQ(Model()->rowCount(), 0);
  EXPECT_EQ(Captions(), (QStringList{"Count", "Header", "Station ID", "Date", "Time"}));
  EXPECT_EQ(Combo("Hour")->currentIndex(), -1);
}

TEST_F(DataRecordPageTest, ExportWritesTheListAsShown) {
  TempDir dir;
  QPushButton* export_button = Find<QPushButton>("Export...");
  EXPECT_FALSE(export_button->isEnabled());  // nothing to export yet
  // A value holding a comma, a quote and a line break.
  page.StoredRecordsReply("#STD:000041,T;TM:100308140500;D:1;T:2;A13:21.5|1,5\"x\ny;#");
  EXPECT_TRUE(export_button->isEnabled());
  List()->horizontalHeader()->moveSection(5, 1);  // the engineer moved a column

  const QString path = QString::fromStdString(dir.File("records.csv"));
  ASSERT_TRUE(page.ExportTo(path));
  EXPECT_EQ(ReadBytes(path.toStdString()),
            "Count,Temperature_1,Header,Station ID,Date,Time\r\n"
            "1,21.5,STD,000041,03/08/2010,14:05:00\r\n"
            "2,\"1,5\"\"x\ny\",STD,000041,03/08/2010,14:10:00\r\n");
  EXPECT_TRUE(notifier.messages.empty());

  const QString nowhere = QString::fromStdString(dir.File("missing/records.csv"));
  EXPECT_FALSE(page.ExportTo(nowhere));
  ASSERT_EQ(notifier.messages.size(), 1u);
  EXPECT_EQ(notifier.messages.back().caption, "Error");
  EXPECT_EQ(notifier.messages.back().icon, MessageIcon::kError);
  EXPECT_NE(notifier.Last().find("missing/records.csv"), std::string::npos) << notifier.Last();
}

TEST_F(DataRecordPageTest, ExportSuggestsANameOfTheLoggerAndTheQueryTime) {
  ChooseQuery(QDate(2010, 3, 8), "14", "5", "2");
  const std::time_t before = std::time(nullptr);
  ASSERT_NE(Query(), "");
  const std::time_t after = std::time(nullptr);
  EndCommand();
  // As the records name their logger, which a file name must not take as a folder.
  page.StoredRecordsReply("#STD:00/../41,T;TM:100308140500;D:1;T:2;A13:21.5|21.6;#");
  QString shown;
  {
    FileDialogScript script({FileDialogScript::ReadName(shown)});
    QTest::mouseClick(Find<QPushButton>("Export..."), Qt::LeftButton);
  }
  EXPECT_TRUE(shown == ExportFileName("DataRecords", "00/../41", before) ||
              shown == ExportFileName("DataRecords", "00/../41", after))
      << shown.toStdString();
  EXPECT_THAT(shown.toStdString(),
              ::testing::MatchesRegex("DataRecords_00____41_[0-9]{8}-[0-9]{6}[.]csv"));
}

TEST_F(DataRecordPageTest, ChartFollowsTheListAndEveryControlIsNamed) {
  QPushButton* chart_button = Find<QPushButton>("Chart");
  EXPECT_FALSE(chart_button->isEnabled());
  page.StoredRecordsReply(kRecords);
  EXPECT_TRUE(AccessibilityProblems(&page).empty()) << AccessibilityProblems(&page).front();

  chart_button->setFocus();
  QTest::keyClick(chart_button, Qt::Key_Space);
  auto* dialog = page.findChild<RecordChartDialog*>();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(dialog->isVisible());
  EXPECT_TRUE(AccessibilityProblems(dialog).empty()) << AccessibilityProblems(dialog).front();

  const auto lines = [dialog] {
    std::map<QString, qsizetype> points;
    for (QAbstractSeries* series : dialog->view()->chart()->series()) {
      points[series->name()] = static_cast<QLineSeries*>(series)->count();
    }
    return points;
  };
  EXPECT_EQ(lines(), (std::map<QString, qsizetype>{
                         {"Humidity", 3}, {"Temperature_1", 5}, {"Temperature_2", 2}}));
  EXPECT_TRUE(dialog->view()->chart()->legend()->isVisible());
  EXPECT_EQ(dialog->view()->accessibleDescription(),
            "Humidity, Temperature_1, Temperature_2 from 03/08/2010 14:05:00 to 03/08/2010 "
            "14:35:00");

  page.StoredRecordsReply("#STD:000041,T;TM:100308150000;D:1;T:1;A13:23.0;#");
  EXPECT_EQ(lines()["Temperature_1"], 6);
  page.ClearPage();
  EXPECT_TRUE(lines().empty());
  EXPECT_EQ(dialog->view()->accessibleDescription(), "No measured values in the list");

  QTest::keyClick(dialog, Qt::Key_Escape);
  EXPECT_FALSE(dialog->isVisible());
}

// Nine lines, nine colours, in channel order, humidity on its own axis.
TEST_F(DataRecordPageTest, ChartGivesEveryLineItsColourAndEveryUnitItsAxis) {
  page.StatusReply(
      "#STA:000041,T;TM:261209143005;A00:45.20;A07:21.10;A08:21.20;A09:21.30;A10:21.40;"
      "A11:21.50;A12:21.60;A13:20.50;A14:20.70;#");
  RecordChartDialog dialog(page.findChild<RecordListModel*>(), &page);
  dialog.show();
  QChart* chart = dialog.view()->chart();

  QStringList names;
  std::set<QRgb> colours;
  for (QAbstractSeries* series : chart->series()) {
    names << series->name();
    colours.insert(static_cast<QLineSeries*>(series)->color().rgb());
    const auto axes = series->attachedAxes();
    const auto value_axis = std::find_if(axes.begin(), axes.end(), [](QAbstractAxis* axis) {
      return axis->orientation() == Qt::Vertical;
    });
    ASSERT_NE(value_axis, axes.end());
    EXPECT_EQ((*value_axis)->titleText(),
              series->name() == "Humidity" ? QString("%RH") : QStringLiteral("\u00b0C"))
        << series->name().toStdString();
  }
  EXPECT_EQ(names, (QStringList{"Humidity", "Temperature_1", "Temperature_2", "Temperature_3",
                                "Temperature_4", "Temperature_5", "Temperature_6", "Temperature_7",
                                "Temperature_8"}));
  EXPECT_EQ(colours.size(), 9u);
  // The legend lists the lines as the chart holds them.
  const auto markers = chart->legend()->markers();
  ASSERT_EQ(markers.size(), 9);
  for (int i = 0; i < markers.size(); ++i) EXPECT_EQ(markers[i]->label(), names[i]);
  EXPECT_EQ(chart->axes(Qt::Vertical).size(), 2);
}

}  // namespace
}  // namespace vexa::testing
