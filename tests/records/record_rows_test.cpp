// The Data Record list's rules, without widgets: column names, the query's
// time text, a status row, the rows of stored records, and the chart's lines.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "records/channel_column_name.h"
#include "records/chart_lines.h"
#include "records/record_query.h"
#include "records/record_table.h"
#include "records/status_rows.h"
#include "records/stored_record_rows.h"

namespace vexa {
namespace {

using Row = std::vector<std::string>;

std::vector<std::string> Captions(const RecordTable& table) {
  std::vector<std::string> captions;
  for (const auto& column : table.columns) captions.push_back(column.caption);
  return captions;
}

std::vector<int> Widths(const RecordTable& table) {
  std::vector<int> widths;
  for (const auto& column : table.columns) widths.push_back(column.width);
  return widths;
}

// The table as the list shows it: the base columns, then the reply's rows.
RecordTable Shown(const RecordTable& part) {
  RecordTable table = BaseRecordTable();
  AppendRows(table, part);
  return table;
}

// A cell by caption; empty when the row is shorter.
std::string Cell(const RecordTable& table, std::size_t row, const std::string& caption) {
  for (std::size_t c = 0; c < table.columns.size(); ++c) {
    if (table.columns[c].caption == caption) {
      return c < table.rows[row].size() ? table.rows[row][c] : "";
    }
  }
  ADD_FAILURE() << "no column " << caption;
  return "";
}

TEST(ChannelColumnNameTest, WholeTable) {
  const std::map<int, std::string> analog = {
      {0, "Humidity"},       {7, "Temperature_3"},  {8, "Temperature_4"},  {9, "Temperature_5"},
      {10, "Temperature_6"}, {11, "Temperature_7"}, {12, "Temperature_8"}, {13, "Temperature_1"},
      {14, "Temperature_2"}, {20, "P1_U1"},         {21, "P1_U2"},         {22, "P1_U3"},
      {23, "P1_I1"},         {24, "P1_I2"},         {25, "P1_I3"},         {26, "P1_FP1"},
      {27, "P1_FP2"},        {28, "P1_FP3"},        {29, "P1_MDA"},        {30, "P2_U1"},
      {31, "P2_U2"},         {32, "P2_U3"},         {33, "P2_I1"},         {34, "P2_I2"},
      {35, "P2_I3"},         {36, "P2_FP1"},        {37, "P2_FP2"},        {38, "P2_FP3"},
      {39, "P2_MDA"},        {40, "P3_U1"},         {41, "P3_U2"},         {42, "P3_U3"},
      {43, "P3_I1"},         {44, "P3_I2"},         {45, "P3_I3"},         {46, "P3_FP1"},
      {47, "P3_FP2"},        {48, "P3_FP3"},        {49, "P3_MDA"},        {50, "P4_U1"},
      {51, "P4_U2"},         {52, "P4_U3"},         {53, "P4_I1"},         {54, "P4_I2"},
      {55, "P4_I3"},         {56, "P4_FP1"},        {57, "P4_FP2"},        {58, "P4_FP3"},
      {59, "P4_MDA"}};
  const std::map<int, std::string> pulse = {{21, "P1_EA+"}, {22, "P1_ER+"}, {31, "P2_EA+"},
                                            {32, "P2_ER+"}, {41, "P3_EA+"}, {42, "P3_ER+"},
                                            {51, "P4_EA+"}, {52, "P4_ER+"}};
  for (int n = -1; n <= 100; ++n) {
    const auto a = analog.find(n);
    const auto p = pulse.find(n);
    EXPECT_EQ(ChannelColumnName(n, kAnalogField), a == analog.end() ? "" : a->second) << n;
    EXPECT_EQ(ChannelColumnName(n, kPulseField), p == pulse.end() ? "" : p->second) << n;
    EXPECT_EQ(ChannelColumnName(n, 2), "") << n;
  }
}

TEST(QueryTimeTextTest, YearTwoDigitsThenTwoDigitFields) {
  EXPECT_EQ(QueryTimeText(2026, 3, 8, 14, 5, 20), "260308140520");
  EXPECT_EQ(QueryTimeText(2000, 12, 31, 0, 0, 1), "001231000001");
  EXPECT_EQ(QueryTimeText(2009, 1, 2, 23, 59, 99), "090102235999");
}

TEST(StatusRowsTest, OneRowWithTheReadingsInOrder) {
  const RecordTable table = Shown(
      StatusRows("#STA:000041,T;TM:261209143005;A00:45.20;A02:48.30;A07:21.10;A08:21.20;A09:21.30;"
                 "A10:21.40;A11:21.50;A12:21.60;A13:20.50;A14:20.70;A15:1.5;P21:0.000;P01:7;"
                 "K01:100000000001000;O01:10;V:12.1;#"));
  // The supply voltage is no reading of the list: a status shows the columns above only.
  EXPECT_EQ(Captions(table), (std::vector<std::string>{
                                 "Count",         "Header",        "Station ID",    "Date",
                                 "Time",          "Humidity",      "Temperature_3", "Temperature_4",
                                 "Temperature_5", "Temperature_6", "Temperature_7", "Temperature_8",
                                 "Temperature_1", "Temperature_2", "A15",           "P01",
                                 "P1_EA+",        "K00",           "K01",           "K02",
                                 "K03",           "K04",           "K05",           "K06",
                                 "K07",           "K08",           "O01",           "O02"}));
  EXPECT_EQ(Widths(table),
            (std::vector<int>{60, 65, 90, 100, 90, 120, 120, 120, 120, 120, 120, 120, 120, 120,
                              60, 80, 80, 40,  40, 40,  40,  40,  40,  40,  40,  40,  50,  50}));
  ASSERT_EQ(table.rows.size(), 1u);
  EXPECT_EQ(table.rows[0],
            (Row{"1",     "STA",   "000041", "12/09/26", "14:30:05", "45.20", "21.10",
                 "21.20", "21.30", "21.40",  "21.50",    "21.60",    "20.50", "20.70",
                 "1.5",   "7",     "0.000",  "1",        "0",        "0",     "0",
                 "0",     "1",     "0",      "0",        "0",        "1",     "0"}));
  EXPECT_TRUE(table.columns[0].centred && table.columns[1].centred);
  EXPECT_FALSE(table.columns[2].centred || table.columns[5].centred);
}

TEST(StatusRowsTest, ShortValuesAndOtherClockForms) {
  // Ten-digit time, no comma after the ID, a short input value, no header key.
  RecordTable table = Shown(StatusRows("STA:000042;TM:2612091430;K01:101;A13:9.5;#"));
  EXPECT_EQ(table.rows[0], (Row{"1", "", "", "12/09/26", "14:30", "9.5", "1", "0", "1"}));
  EXPECT_EQ(Captions(table).back(), "K02");

  table = Shown(StatusRows("#STA:000042;TM:26120914;A13:;#"));
  EXPECT_EQ(table.rows[0], (Row{"1", "STA", "000042", "", ""}));
  EXPECT_EQ(table.columns.size(), kBaseColumnCount);  // an empty reading gets no column
}

TEST(StoredRecordRowsTest, OneRowPerSampleStampedAtTheInterval) {
  const RecordTable table =
      Shown(StoredRecordRows("#STD:000041,T;TM:100308140500;D:1;T:3;A13:21.5|21.6|21.7;#"));
  EXPECT_EQ(Captions(table), (std::vector<std::string>{"Count", "Header", "Station ID", "Date",
                                                       "Time", "Temperature_1"}));
  EXPECT_EQ(table.columns.back().width, 120);
  ASSERT_EQ(table.rows.size(), 3u);
  EXPECT_EQ(table.rows[0], (Row{"1", "STD", "000041", "03/08/2010", "14:05:00", "21.5"}));
  EXPECT_EQ(table.rows[1], (Row{"2", "STD", "000041", "03/08/2010", "14:10:00", "21.6"}));
  EXPECT_EQ(table.rows[2], (Row{"3", "STD", "000041", "03/08/2010", "14:15:00", "21.7"}));
}

TEST(StoredRecordRowsTest, ClockFormsAndIntervalCodes) {
  struct Case {
    std::string tm, d;
    std::vector<std::string> stamps;  // date and time of two samples
  };
  const Case cases[] = {
      {"1003081405", "2", {"03/08/2010", "14:05:00", "03/08/2010", "14:20:00"}},
      {"03/08/2010,23:59:30", "5", {"03/08/2010", "23:59:30", "03/09/2010", "00:00:30"}},
      {"100308140500", "3", {"03/08/2010", "14:05:00", "03/08/2010", "14:35:00"}},
      {"100308140500", "4", {"03/08/2010", "14:05:00", "03/08/2010", "15:05:00"}},
      {"100308140500", "0", {"03/08/2010", "14:05:00", "03/08/2010", "14:05:00"}},
      {"100308140500", "9", {"03/08/2010", "14:05:00", "03/08/2010", "14:05:00"}},
      {"100308140500", "", {"03/08/2010", "14:05:00", "03/08/2010", "14:05:00"}},
      // No such date or time: the samples show without a stamp.
      {"101308140500", "1", {"", "", "", ""}},
      {"100230140500", "1", {"", "", "", ""}},
      {"100308246000", "1", {"", "", "", ""}},
      {"1003081405x0", "1", {"", "", "", ""}},
      {"100308", "1", {"", "", "", ""}},
      {"03/08/2010", "1", {"", "", "", ""}},
  };
  for (const Case& c : cases) {
    const RecordTable table =
        Shown(StoredRecordRows("#STD:000041,T;TM:" + c.tm + ";D:" + c.d + ";T:2;A00:1|2;#"));
    ASSERT_EQ(table.rows.size(), 2u) << c.tm;
    EXPECT_EQ((std::vector<std::string>{table.rows[0][3], table.rows[0][4], table.rows[1][3],
                                        table.rows[1][4]}),
              c.stamps)
        << c.tm << " D:" << c.d;
  }
}

TEST(StoredRecordRowsTest, SampleCountIsBoundedByTheRecord) {
  EXPECT_TRUE(StoredRecordRows("#STD:000041,T;TM:100308140500;D:1;A00:1|2;#").rows.empty());
  EXPECT_TRUE(StoredRecordRows("#STD:000041,T;TM:100308140500;D:1;T:-4;A00:1;#").rows.empty());
  // Fewer values than samples leave cells empty; more are not shown.
  RecordTable table =
      Shown(StoredRecordRows("#STD:1;TM:100308140500;D:1;T:3;A00:1|2;A13:1|2|3|4;#"));
  ASSERT_EQ(table.rows.size(), 3u);
  EXPECT_EQ(Cell(table, 2, "Humidity"), "");
  EXPECT_EQ(Cell(table, 2, "Temperature_1"), "3");
  // A count no record can hold must not flood the list.
  const std::string huge = "#STD:000041,T;TM:100308140500;D:1;T:2000000000;A00:1;#";
  EXPECT_LE(StoredRecordRows(huge).rows.size(), huge.size());
}

TEST(StoredRecordRowsTest, EveryQuantityKeepsOneColumnAcrossRecordsAndReplies) {
  // The second record lacks humidity and adds a sensor the first lacks.
  RecordTable table =
      Shown(StoredRecordRows("#STD:000041,T;TM:100308140500;D:1;T:2;A00:45.0|46.1;A13:21.5|21.6;"
                             "#STD:000041,T;TM:100308143000;D:1;T:1;A14:22.4;A13:21.9;A01:9|9;#"));
  EXPECT_EQ(Captions(table),
            (std::vector<std::string>{"Count", "Header", "Station ID", "Date", "Time", "Humidity",
                                      "Temperature_1", "Temperature_2"}));
  ASSERT_EQ(table.rows.size(), 3u);
  EXPECT_EQ(Cell(table, 2, "Time"), "14:30:00");
  EXPECT_EQ(Cell(table, 2, "Temperature_1"), "21.9");
  EXPECT_EQ(Cell(table, 2, "Temperature_2"), "22.4");
  EXPECT_EQ(Cell(table, 2, "Humidity"), "");
  EXPECT_EQ(Cell(table, 0, "Temperature_2"), "");

  // A later reply goes on counting and uses the same columns.
  AppendRows(table, StoredRecordRows("#STD:000041,T;TM:100308150000;D:1;T:1;A13:23.0;V:12.1;#"));
  ASSERT_EQ(table.rows.size(), 4u);
  EXPECT_EQ(table.rows[3][0], "4");
  EXPECT_EQ(Cell(table, 3, "Temperature_1"), "23.0");
  EXPECT_EQ(Captions(table).back(), "V");
  EXPECT_EQ(Cell(table, 3, "V"), "12.1");
}

// Rows that lack a later column export it empty, in the order asked for.
TEST(ExportRowsTest, CaptionsThenCellsInTheColumnsOrder) {
  RecordTable table = Shown(StoredRecordRows("#STD:000041,T;TM:100308140500;D:1;T:1;A00:45.0;#"));
  AppendRows(table, StoredRecordRows("#STD:000041,T;TM:100308143000;D:1;T:1;A13:21.9;#"));
  EXPECT_EQ(ExportRows(table, {6, 4, 5}), (std::vector<Row>{{"Temperature_1", "Time", "Humidity"},
                                                            {"", "14:05:00", "45.0"},
                                                            {"21.9", "14:30:00", ""}}));
}

TEST(StoredRecordRowsTest, PulseStatesAndVoltageOfARecord) {
  const RecordTable table = Shown(StoredRecordRows(
      "#STD:000041,T;TM:100308140500;D:1;T:2;A13:21.5|21.6;P21:5|6;K01:100000000001000|011;"
      "O01:10|01;V:12.1|12.0;#"));
  EXPECT_EQ(Captions(table),
            (std::vector<std::string>{"Count", "Header", "Station ID", "Date", "Time",
                                      "Temperature_1", "P1_EA+", "K00", "K01", "K02", "K03", "K04",
                                      "K05", "K06", "K07", "K08", "O01", "O02", "V"}));
  EXPECT_EQ(table.rows[0], (Row{"1", "STD", "000041", "03/08/2010", "14:05:00", "21.5", "5", "1",
                                "0", "0", "0", "0", "1", "0", "0", "0", "1", "0", "12.1"}));
  EXPECT_EQ(table.rows[1], (Row{"2", "STD", "000041", "03/08/2010", "14:10:00", "21.6", "6", "0",
                                "1", "1", "", "", "", "", "", "", "0", "1", "12.0"}));
}

TEST(ChartLinesTest, MeasuredColumnsOverTheShownMoments) {
  RecordTable table = Shown(
      StoredRecordRows("#STD:000041,T;TM:100308140500;D:1;T:3;A00:45.0|n/a|47.0;A13:21.5|21.6|-3.5;"
                       "K01:111|000|111;#"));
  AppendRows(table, StatusRows("#STA:000041,T;TM:1003081430;A13:22.0;#"));
  const auto lines = ChartLines(table);
  ASSERT_EQ(lines.size(), 2u);  // no line for the input states
  EXPECT_EQ(lines[0].caption, "Humidity");
  ASSERT_EQ(lines[0].points.size(), 2u);  // "n/a" is no number
  EXPECT_EQ(lines[0].points[1].value, 47.0);
  EXPECT_EQ(lines[1].caption, "Temperature_1");
  ASSERT_EQ(lines[1].points.size(), 4u);
  EXPECT_EQ(lines[1].points[2].value, -3.5);
  EXPECT_EQ(lines[1].points[1].moment - lines[1].points[0].moment, std::chrono::minutes{5});
  // The status row's two-digit year and minutes-only time.
  EXPECT_EQ(lines[1].points[3].moment - lines[1].points[0].moment, std::chrono::minutes{25});
}

// The logger's order puts sensors 3 to 8 before 1 and 2; the chart reads
// them in their own order, humidity first and the other channels last, each
// on the axis of its unit.
TEST(ChartLinesTest, ChannelOrderAndAxes) {
  const RecordTable table = Shown(
      StatusRows("#STA:000041,T;TM:261209143005;A00:45.20;A07:21.10;A08:21.20;A09:21.30;A10:21.40;"
                 "A11:21.50;A12:21.60;A13:20.50;A14:20.70;A15:1.5;A20:230.1;P21:0.000;#"));
  std::vector<std::string> captions;
  std::vector<ChartAxis> axes;
  for (const ChartLine& line : ChartLines(table)) {
    captions.push_back(line.caption);
    axes.push_back(line.axis);
  }
  EXPECT_EQ(captions,
            (std::vector<std::string>{"Humidity", "Temperature_1", "Temperature_2", "Temperature_3",
                                      "Temperature_4", "Temperature_5", "Temperature_6",
                                      "Temperature_7", "Temperature_8", "A15", "P1_U1", "P1_EA+"}));
  std::vector<ChartAxis> expected(12, ChartAxis::kTemperature);
  expected[0] = ChartAxis::kRelativeHumidity;
  expected[9] = expected[10] = expected[11] = ChartAxis::kOther;
  EXPECT_EQ(axes, expected);
}

TEST(ChartLinesTest, TimeAxisTicksFallOnRoundTimes) {
  using std::chrono::hours;
  using std::chrono::minutes;
  const LoggerMoment day = std::chrono::sys_days{std::chrono::year{2026} / 12 / 8};
  struct Case {
    LoggerMoment first, last;
    TimeScale expected;
  };
  const Case cases[] = {
      {day + hours{14} + minutes{5},
       day + hours{14} + minutes{35},
       {day + hours{14} + minutes{5}, day + hours{14} + minutes{35}, minutes{5}, 7}},
      {day + hours{8}, day + hours{37}, {day + hours{6}, day + hours{42}, hours{6}, 7}},
      {day + hours{14},
       day + hours{14},
       {day + hours{13} + minutes{30}, day + hours{14} + minutes{30}, minutes{10}, 7}},
  };
  for (const Case& c : cases) {
    const TimeScale scale = RoundTimeScale(c.first, c.last);
    EXPECT_EQ(scale.first, c.expected.first);
    EXPECT_EQ(scale.last, c.expected.last);
    EXPECT_EQ(scale.step, c.expected.step);
    EXPECT_EQ(scale.ticks, c.expected.ticks);
  }
  // Beyond a week a step doubles until eight of them cover the span.
  const TimeScale years = RoundTimeScale(day, day + std::chrono::days{400});
  EXPECT_EQ(years.step, std::chrono::days{56});
  EXPECT_LE(years.first, day);
  EXPECT_GE(years.last, day + std::chrono::days{400});
  EXPECT_EQ(years.ticks - 1, (years.last - years.first) / years.step);
}

}  // namespace
}  // namespace vexa
