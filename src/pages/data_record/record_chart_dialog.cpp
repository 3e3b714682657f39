#include "pages/data_record/record_chart_dialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <limits>
#include <map>

#include "pages/data_record/record_list_model.h"
#include "pages/page_widgets.h"
#include "records/chart_lines.h"

namespace {

// Below this many points a line also marks each point, so that a single
// status row or a short record still shows.
constexpr int kMarkedPoints = 30;

// The logger's clock knows no zone: its fields are shown as they are.
QDateTime ToDateTime(vexa::LoggerMoment moment) {
  const QDateTime fields =
      QDateTime::fromSecsSinceEpoch(moment.time_since_epoch().count(), Qt::UTC);
  return QDateTime(fields.date(), fields.time());
}

// A value axis and the range of the values of its lines.
struct ValueRange {
  QValueAxis* axis = nullptr;
  double low = std::numeric_limits<double>::max();
  double high = std::numeric_limits<double>::lowest();
};

struct UnitAxis {
  QString title;
  Qt::Alignment side;
};

const UnitAxis& UnitAxisOf(vexa::ChartAxis axis) {
  static const UnitAxis kTemperature{QStringLiteral("\u00b0C"), Qt::AlignLeft};
  static const UnitAxis kRelativeHumidity{QStringLiteral("%RH"), Qt::AlignRight};
  static const UnitAxis kOther{QStringLiteral("Other readings"), Qt::AlignRight};
  switch (axis) {
    case vexa::ChartAxis::kTemperature:
      return kTemperature;
    case vexa::ChartAxis::kRelativeHumidity:
      return kRelativeHumidity;
    case vexa::ChartAxis::kOther:
      break;
  }
  return kOther;
}

// A colour of its own for every line: well apart for the first twelve, then
// hues spread round the wheel.
QColor LineColour(std::size_t index) {
  static const QColor kColours[] = {{0x1f, 0x77, 0xb4}, {0xff, 0x7f, 0x0e}, {0x2c, 0xa0, 0x2c},
                                    {0xd6, 0x27, 0x28}, {0x94, 0x67, 0xbd}, {0x8c, 0x56, 0x4b},
                                    {0xe3, 0x77, 0xc2}, {0x7f, 0x7f, 0x7f}, {0xbc, 0xbd, 0x22},
                                    {0x17, 0xbe, 0xcf}, {0x00, 0x00, 0x00}, {0x00, 0x00, 0x80}};
  if (index < std::size(kColours)) return kColours[index];
  constexpr double kGoldenAngle = 137.508;
  return QColor::fromHsv(static_cast<int>(static_cast<double>(index) * kGoldenAngle) % 360, 200,
                         170);
}

// What the chart shows, for a screen reader.
QString Describe(const std::vector<vexa::ChartLine>& lines, const QDateTime& first,
                 const QDateTime& last) {
  QStringList names;
  for (const auto& line : lines) names << vexa::FromLatin1(line.caption);
  const QString format = QStringLiteral("MM/dd/yyyy HH:mm:ss");
  return QStringLiteral("%1 from %2 to %3")
      .arg(names.join(QStringLiteral(", ")), first.toString(format), last.toString(format));
}

}  // namespace

RecordChartDialog::RecordChartDialog(const RecordListModel* model, QWidget* parent)
    : QDialog(parent), model_(model) {
  setWindowTitle(QStringLiteral("Data Record Chart"));
  resize(860, 520);
  view_ = new QChartView(new QChart);
  view_->setRenderHint(QPainter::Antialiasing);
  view_->setAccessibleName(QStringLiteral("Data record chart"));
  view_->setFocusPolicy(Qt::StrongFocus);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  buttons->button(QDialogButtonBox::Close)->setAccessibleName(QStringLiteral("Close"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view_, 1);
  layout->addWidget(buttons);

  // Records that arrive while the chart is open join it.
  const auto follow = [this] {
    if (isVisible()) Rebuild();
  };
  connect(model_, &QAbstractItemModel::modelReset, this, follow);
  connect(model_, &QAbstractItemModel::rowsInserted, this, follow);
}

void RecordChartDialog::showEvent(QShowEvent* event) {
  Rebuild();
  QDialog::showEvent(event);
}

void RecordChartDialog::Rebuild() {
  const std::vector<vexa::ChartLine> lines = vexa::ChartLines(model_->table());

  auto* chart = new QChart;
  chart->legend()->setVisible(true);
  chart->legend()->setAlignment(Qt::AlignRight);
  auto* time_axis = new QDateTimeAxis;
  chart->addAxis(time_axis, Qt::AlignBottom);

  // One value axis per unit that a line needs, each with the range of its lines.
  std::map<vexa::ChartAxis, ValueRange> ranges;
  vexa::LoggerMoment first = vexa::LoggerMoment::max();
  vexa::LoggerMoment last = vexa::LoggerMoment::min();
  for (std::size_t index = 0; index < lines.size(); ++index) {
    const vexa::ChartLine& line = lines[index];
    ValueRange& range = ranges[line.axis];
    if (range.axis == nullptr) {
      const UnitAxis& unit = UnitAxisOf(line.axis);
      range.axis = new QValueAxis;
      range.axis->setTitleText(unit.title);
      chart->addAxis(range.axis, unit.side);
    }
    QList<QPointF> points;
    points.reserve(static_cast<qsizetype>(line.points.size()));
    for (const vexa::ChartPoint& point : line.points) {
      const auto at = static_cast<qreal>(ToDateTime(point.moment).toMSecsSinceEpoch());
      points.append(QPointF(at, point.value));
      first = std::min(first, point.moment);
      last = std::max(last, point.moment);
      range.low = std::min(range.low, point.value);
      range.high = std::max(range.high, point.value);
    }
    auto* series = new QLineSeries;
    series->setName(vexa::FromLatin1(line.caption));
    series->setColor(LineColour(index));
    series->replace(points);
    series->setPointsVisible(points.size() < kMarkedPoints);
    chart->addSeries(series);
    series->attachAxis(time_axis);
    series->attachAxis(range.axis);
  }

  if (lines.empty()) {
    chart->setTitle(QStringLiteral("No measured values in the list"));
    time_axis->setVisible(false);
    view_->setAccessibleDescription(chart->title());
  } else {
    view_->setAccessibleDescription(Describe(lines, ToDateTime(first), ToDateTime(last)));
    const vexa::TimeScale scale = vexa::RoundTimeScale(first, last);
    const bool within_a_day = scale.last - scale.first <= std::chrono::days{1};
    // Axis labels are rich text: the date above the time keeps them from being cut short.
    time_axis->setFormat(within_a_day                         ? QStringLiteral("HH:mm")
                         : scale.step >= std::chrono::days{1} ? QStringLiteral("MM/dd")
                                                              : QStringLiteral("MM/dd<br>HH:mm"));
    time_axis->setTitleText(within_a_day ? ToDateTime(first).toString(QStringLiteral("MM/dd/yyyy"))
                                         : QStringLiteral("Date and time"));
    time_axis->setRange(ToDateTime(scale.first), ToDateTime(scale.last));
    time_axis->setTickCount(scale.ticks);
    for (auto& [axis, range] : ranges) {
      // A flat line still needs room around it.
      if (range.low == range.high) {
        range.low -= 1;
        range.high += 1;
      }
      range.axis->setRange(range.low, range.high);
      range.axis->applyNiceNumbers();
    }
  }

  // The view lets go of its old chart without deleting it.
  QChart* old = view_->chart();
  view_->setChart(chart);
  delete old;
}
