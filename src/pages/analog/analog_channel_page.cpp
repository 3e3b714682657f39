#include "pages/analog/analog_channel_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "link/command_codes.h"
#include "pages/analog/humidity_calibration.h"
#include "pages/analog/missing_value.h"
#include "pages/page_sender.h"
#include "pages/page_widgets.h"
#include "settings/group2_records.h"
#include "settings/setting_codes.h"
#include "widgets/leave_check.h"

namespace {

using vexa::ChannelRecord;
using vexa::CrossCheck;
using vexa::FieldRule;
using vexa::FromLatin1;
using vexa::Latin1;

constexpr int kCalibrationTickMs = 500;
constexpr int kCalibrationPauseMs = 10;  // between a calibration reply and the next step
constexpr int kValueLength = 5;
constexpr int kRowHeight = 21;

// Grid columns of both group boxes, so that the analog editor lines up with
// the sensor rows above it.
constexpr int kNameColumn = 0;
constexpr int kModeColumn = 1;
constexpr int kUpperColumn = 2;
constexpr int kLowerColumn = 3;
constexpr int kStartZeroColumn = 4;
constexpr int kAlertHighColumn = 5;
constexpr int kAlertLowColumn = 6;
constexpr int kSetColumn = 7;
constexpr int kNameWidth = 150;
constexpr int kModeWidth = 170;
constexpr int kValueWidth = 90;

const char* const kColumnCaptions[] = {"Operation Mode", "Upper Limit", "Lower Limit",
                                       "Start Zero",     "Alert High",  "Alert Low"};
constexpr int kListNameWidth = 125;
constexpr int kListModeWidth = 170;
constexpr int kListValueWidth = 130;

QString ChannelName(int channel) {
  return QStringLiteral("Analog_%1").arg(channel, 2, 10, QLatin1Char('0'));
}

QGridLayout* RecordGrid(QGroupBox* box) {
  auto* grid = new QGridLayout(box);
  // Tight, so that ten sensor rows and all six list rows fit the page.
  grid->setContentsMargins(8, 4, 8, 6);
  grid->setVerticalSpacing(1);
  grid->setColumnMinimumWidth(kNameColumn, kNameWidth);
  grid->setColumnStretch(kSetColumn + 1, 1);
  return grid;
}

void AddColumnCaptions(QGridLayout* grid, int row) {
  int column = kModeColumn;
  for (const char* caption : kColumnCaptions) grid->addWidget(new QLabel(caption), row, column++);
}

QLineEdit* NewValueEdit(const QString& name) {
  auto* edit = new QLineEdit;
  edit->setAccessibleName(name);
  edit->setMaxLength(kValueLength);
  edit->setFixedWidth(kValueWidth);
  return edit;
}

}  // namespace

CTarvoKSet2Dlg1::CTarvoKSet2Dlg1(vexa::PageContext context, QWidget* parent)
    : QWidget(parent), context_(context) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(4);
  layout->addWidget(BuildTemperatureChannels());
  layout->addWidget(BuildAnalogChannels(), 1);

  connect(&calibration_timer_, &QTimer::timeout, this, [this] { TickCalibrationState(); });
  calibration_timer_.start(kCalibrationTickMs);
}

QGroupBox* CTarvoKSet2Dlg1::BuildTemperatureChannels() {
  auto* box = new QGroupBox("Temperature Channel Setup");
  QGridLayout* grid = RecordGrid(box);
  AddColumnCaptions(grid, 0);

  const QString humidity = FromLatin1(vexa::kHumiditySensorName);
  humidity_ = AddRecordRow(grid, 1, new QLabel(humidity), humidity, true);
  for (QLineEdit* limit : {humidity_.upper, humidity_.lower, humidity_.start_zero}) {
    limit->setReadOnly(true);
  }
  // Open once a calibration has succeeded.
  humidity_.mode->setEnabled(false);
  humidity_.alert_high->setEnabled(false);
  humidity_.alert_low->setEnabled(false);
  connect(AddSetButton(grid, 1, humidity), &QPushButton::clicked, this,
          [this] { SetHumiditySensor(); });
  ValidateAlerts(humidity_, vexa::kHumiditySensorName, vexa::kHumidityRange,
                 CrossCheck::kAlertLowAtMost);
  AddCalibrationRow(grid, 2);

  sensors_.reserve(vexa::kTemperatureSensors.size());
  int row = 3;
  for (const vexa::TemperatureSensor& sensor : vexa::kTemperatureSensors) {
    const QString name = FromLatin1(sensor.name);
    const bool six_fields = !vexa::IsThreeFieldRecord(sensor.ad);
    sensors_.push_back({sensor, AddRecordRow(grid, row, new QLabel(name), name, six_fields)});
    SensorRow& added = sensors_.back();
    if (six_fields) {
      // The logger fixes these limits; the edits only carry what "#2" read.
      for (QLineEdit* limit :
           {added.controls.upper, added.controls.lower, added.controls.start_zero}) {
        limit->hide();
      }
    }
    added.controls.alert_low->setEnabled(false);
    const std::size_t index = sensors_.size() - 1;
    connect(AddSetButton(grid, row, name), &QPushButton::clicked, this,
            [this, index] { SetTemperatureSensor(sensors_[index]); });
    ValidateAlerts(added.controls, sensor.name, vexa::kTemperatureRange,
                   CrossCheck::kAlertLowBelow);
    ++row;
  }
  return box;
}

QGroupBox* CTarvoKSet2Dlg1::BuildAnalogChannels() {
  auto* box = new QGroupBox("Analog Channel Setup");
  QGridLayout* grid = RecordGrid(box);
  const QString name = FromLatin1(vexa::kAnalogChannelName);
  grid->addWidget(new QLabel(name), 0, kNameColumn);
  AddColumnCaptions(grid, 0);

  analog_selector_ = new QComboBox;
  analog_selector_->setAccessibleName(name);
  analog_selector_->setFixedWidth(kNameWidth - 10);
  analog_ = AddRecordRow(grid, 1, analog_selector_, name, true);
  connect(analog_selector_, &QComboBox::activated, this, [this] { ChooseAnalogChannel(); });
  for (QLineEdit* edit :
       {analog_.lower, analog_.start_zero, analog_.alert_high, analog_.alert_low}) {
    edit->setEnabled(false);  // entered in order, after the upper limit
  }
  connect(AddSetButton(grid, 1, name), &QPushButton::clicked, this, [this] { SetAnalogChannel(); });

  const std::string prefix(vexa::kAnalogChannelName);
  ValidateOnLeave(analog_.upper, {prefix + " Upper limit", {}, CrossCheck::kUpperLimit}, &analog_,
                  analog_.lower, analog_.lower);
  // Leaving the upper limit keeps the lower limit open: it comes next.
  validated_edits_[analog_.upper].leaving_disables_next = false;
  ValidateOnLeave(analog_.lower, {prefix + " Lower limit", {}, CrossCheck::kLowerLimit}, &analog_,
                  nullptr, analog_.start_zero);
  ValidateOnLeave(analog_.start_zero, {prefix + " Start Zero", {}, CrossCheck::kStartZero},
                  &analog_, nullptr, analog_.alert_high);
  ValidateOnLeave(analog_.alert_high, {prefix + " Alert High", {}, CrossCheck::kAnalogAlertHigh},
                  &analog_, analog_.alert_low, analog_.alert_low);
  ValidateOnLeave(analog_.alert_low, {prefix + " Alert Low", {}, CrossCheck::kAnalogAlertLow},
                  &analog_, nullptr, nullptr);

  channel_list_ = new QTableWidget(0, 7);
  channel_list_->setAccessibleName("Analog channel list");
  channel_list_->setHorizontalHeaderLabels({"Analog Channel", "Operation Mode", "Upper Limit",
                                            "Lower Limit", "Start Zero", "Alert High",
                                            "Alert Low"});
  vexa::SetUpReportList(channel_list_, kRowHeight, vexa::kChannelListStripe);
  channel_list_->setColumnWidth(0, kListNameWidth);
  channel_list_->setColumnWidth(1, kListModeWidth);
  for (int column = 2; column < channel_list_->columnCount(); ++column) {
    channel_list_->setColumnWidth(column, kListValueWidth);
  }
  grid->addWidget(channel_list_, 2, kNameColumn, 1, kSetColumn + 2);
  grid->setRowStretch(2, 1);
  return box;
}

CTarvoKSet2Dlg1::RecordControls CTarvoKSet2Dlg1::AddRecordRow(QGridLayout* grid, int row,
                                                              QWidget* lead, const QString& name,
                                                              bool limits) {
  grid->addWidget(lead, row, kNameColumn);
  RecordControls controls;
  controls.mode = new QComboBox;
  controls.mode->setAccessibleName(name + " Operation Mode");
  controls.mode->setFixedWidth(kModeWidth);
  for (std::string_view mode : vexa::kOperationModes) controls.mode->addItem(FromLatin1(mode));
  controls.mode->setCurrentIndex(-1);  // a drop-down list starts with nothing chosen
  if (auto* label = qobject_cast<QLabel*>(lead)) label->setBuddy(controls.mode);
  grid->addWidget(controls.mode, row, kModeColumn);
  if (limits) {
    controls.upper = NewValueEdit(name + " Upper limit");
    controls.lower = NewValueEdit(name + " Lower limit");
    controls.start_zero = NewValueEdit(name + " Start Zero");
    grid->addWidget(controls.upper, row, kUpperColumn);
    grid->addWidget(controls.lower, row, kLowerColumn);
    grid->addWidget(controls.start_zero, row, kStartZeroColumn);
  }
  controls.alert_high = NewValueEdit(name + " Alert High");
  controls.alert_low = NewValueEdit(name + " Alert Low");
  grid->addWidget(controls.alert_high, row, kAlertHighColumn);
  grid->addWidget(controls.alert_low, row, kAlertLowColumn);
  return controls;
}

void CTarvoKSet2Dlg1::AddCalibrationRow(QGridLayout* grid, int row) {
  auto* label = new QLabel("Actual Humidity");
  actual_humidity_edit_ = NewValueEdit(label->text());
  actual_humidity_edit_->setAccessibleDescription(
      "Relative humidity measured beside the sensor, for Auto Calibration");
  label->setBuddy(actual_humidity_edit_);
  auto* calibrate = new QPushButton("Auto Calibration");
  calibrate->setAccessibleName(calibrate->text());
  calibrate->setAutoDefault(false);
  connect(calibrate, &QPushButton::clicked, this, [this] { StartCalibration(); });

  auto* line = new QHBoxLayout;
  line->addWidget(actual_humidity_edit_);
  line->addWidget(new QLabel("(RH)"));
  line->addSpacing(12);
  line->addWidget(calibrate);
  line->addStretch(1);
  grid->addWidget(label, row, kNameColumn);
  grid->addLayout(line, row, kModeColumn, 1, kSetColumn - kModeColumn);
  ValidateOnLeave(actual_humidity_edit_, {"Humidity", vexa::kHumidityRange, CrossCheck::kNone},
                  nullptr, nullptr, nullptr);
}

QPushButton* CTarvoKSet2Dlg1::AddSetButton(QGridLayout* grid, int row, const QString& name) {
  QPushButton* button = vexa::NewSetButton("Set " + name);
  grid->addWidget(button, row, kSetColumn);
  return button;
}

void CTarvoKSet2Dlg1::ValidateOnLeave(QLineEdit* edit, FieldRule rule, const RecordControls* record,
                                      QLineEdit* counterpart, QLineEdit* next) {
  validated_edits_[edit] = {std::move(rule), record, counterpart, next, true};
  vexa::CheckOnLeave(edit, [this, edit] {
    // A field closed while the cursor was in it was not left by the engineer.
    if (edit->isEnabled()) CheckLeftEdit(edit, validated_edits_.at(edit));
  });
  if (next != nullptr) {
    // Any change counts, also one a reply makes: a value here opens the next field.
    connect(edit, &QLineEdit::textChanged, this, [next](const QString& text) {
      if (!text.isEmpty()) next->setEnabled(true);
    });
  }
}

void CTarvoKSet2Dlg1::ValidateAlerts(const RecordControls& controls, std::string_view name,
                                     vexa::ValueRange range, CrossCheck low_check) {
  const std::string prefix(name);
  ValidateOnLeave(controls.alert_high, {prefix + " Alert High", range, CrossCheck::kAlertHigh},
                  &controls, controls.alert_low, controls.alert_low);
  ValidateOnLeave(controls.alert_low, {prefix + " Alert Low", range, low_check}, &controls, nullptr,
                  nullptr);
}

void CTarvoKSet2Dlg1::CheckLeftEdit(QLineEdit* edit, const ValidatedEdit& validated) {
  const ChannelRecord entered = validated.record ? Entered(*validated.record) : ChannelRecord{};
  const vexa::RecordTexts around{entered.upper, entered.lower, entered.alert_high,
                                 entered.alert_low};
  const vexa::FieldCheck check = vexa::CheckField(validated.rule, Latin1(edit->text()), around);
  if (!check.message.empty()) {
    ShowError(check.message);
    edit->clear();
  } else if (!check.text.empty()) {
    edit->setText(FromLatin1(check.text));
    if (check.empty_counterpart && validated.counterpart != nullptr) validated.counterpart->clear();
  }
  // Leaving closes the next field unless this one now holds a value. Set once,
  // at the end: closing the field the cursor has just moved into would send
  // the cursor on elsewhere.
  if (validated.next == nullptr) return;
  const bool holds_value = !edit->text().isEmpty();
  if (holds_value || validated.leaving_disables_next) validated.next->setEnabled(holds_value);
}

ChannelRecord CTarvoKSet2Dlg1::Entered(const RecordControls& controls) const {
  const auto text = [](QLineEdit* edit) { return edit ? Latin1(edit->text()) : std::string(); };
  const int mode = controls.mode->currentIndex();
  return {text(controls.upper),      text(controls.lower),
          text(controls.start_zero), mode < 0 ? std::string() : std::to_string(mode),
          text(controls.alert_high), text(controls.alert_low)};
}

void CTarvoKSet2Dlg1::ShowRecord(const RecordControls& controls, const ChannelRecord& record) {
  controls.mode->setCurrentIndex(vexa::OperationModeIndex(record.mode));
  const auto show = [](QLineEdit* edit, const std::string& text) {
    if (edit) edit->setText(FromLatin1(text));
  };
  show(controls.upper, record.upper);
  show(controls.lower, record.lower);
  show(controls.start_zero, record.start_zero);
  show(controls.alert_high, record.alert_high);
  show(controls.alert_low, record.alert_low);
}

void CTarvoKSet2Dlg1::ShowListRow(int row, const ChannelRecord& record) {
  if (row >= channel_list_->rowCount()) return;  // the list is built by the first status
  const int mode = vexa::OperationModeIndex(record.mode);
  const std::string texts[] = {
      std::string(mode < 0 ? std::string_view() : vexa::kOperationModes[mode]),
      record.upper,
      record.lower,
      record.start_zero,
      record.alert_high,
      record.alert_low};
  int column = 1;
  for (const std::string& text : texts) {
    channel_list_->setItem(row, column++, new QTableWidgetItem(FromLatin1(text)));
  }
}

void CTarvoKSet2Dlg1::FirstStatusReply() {
  channel_list_->setRowCount(0);
  analog_selector_->clear();
  for (int channel = 1; channel <= vexa::kAnalogChannelCount; ++channel) {
    analog_selector_->addItem(ChannelName(channel));
    channel_list_->insertRow(channel - 1);
    channel_list_->setItem(channel - 1, 0, new QTableWidgetItem(ChannelName(channel)));
  }
  analog_selector_->setCurrentIndex(-1);
}

int CTarvoKSet2Dlg1::SelectedAnalogChannel() const {
  if (analog_selector_->currentIndex() < 0) return 0;
  return analog_selector_->currentText().right(2).toInt();
}

void CTarvoKSet2Dlg1::ChooseAnalogChannel() {
  const int row = SelectedAnalogChannel() - 1;
  if (row < 0 || row >= channel_list_->rowCount()) return;
  const auto cell = [this, row](int column) {
    const QTableWidgetItem* item = channel_list_->item(row, column);
    return item ? Latin1(item->text()) : std::string();
  };
  analog_.mode->setCurrentIndex(analog_.mode->findText(FromLatin1(cell(1))));
  analog_.lower->setText(FromLatin1(cell(3)));
  analog_.upper->setText(FromLatin1(cell(2)));
  analog_.start_zero->setText(FromLatin1(cell(4)));
  analog_.alert_low->setText(FromLatin1(cell(6)));
  analog_.alert_high->setText(FromLatin1(cell(5)));
  // Entered again in order, after the upper limit.
  for (QLineEdit* edit :
       {analog_.lower, analog_.start_zero, analog_.alert_high, analog_.alert_low}) {
    edit->setEnabled(false);
  }
}

void CTarvoKSet2Dlg1::ReadGroup2Reply(const std::string& reply) {
  if (reply.empty()) return;
  const std::map<int, ChannelRecord> records = vexa::ReadGroup2Records(reply);
  for (const auto& [ad, record] : records) {
    if (ad == vexa::kHumidityAd) ShowRecord(humidity_, record);
    if (ad >= vexa::kFirstAnalogAd && ad < vexa::kFirstAnalogAd + vexa::kAnalogChannelCount) {
      ShowListRow(ad - vexa::kFirstAnalogAd, record);
    }
    for (const SensorRow& row : sensors_) {
      if (row.sensor.ad == ad) ShowRecord(row.controls, record);
    }
  }
  context_.command_buffer.Record(vexa::AnalogChannelCommands(records, SetupPassword()));
  actual_humidity_edit_->setText(FromLatin1(actual_humidity_));
}

void CTarvoKSet2Dlg1::ClearPage() {
  std::vector<const RecordControls*> records = {&humidity_, &analog_};
  for (const SensorRow& row : sensors_) records.push_back(&row.controls);
  for (const RecordControls* record : records) {
    record->mode->setCurrentIndex(-1);
    for (QLineEdit* edit : {record->upper, record->lower, record->start_zero, record->alert_high,
                            record->alert_low}) {
      if (edit) edit->clear();
    }
  }
  analog_selector_->setCurrentIndex(-1);
  actual_humidity_edit_->clear();
  for (int row = 0; row < channel_list_->rowCount(); ++row) {
    for (int column = 1; column < channel_list_->columnCount(); ++column) {
      delete channel_list_->takeItem(row, column);
    }
  }
}

void CTarvoKSet2Dlg1::ShowError(const std::string& text) {
  context_.notifier.Show(text, "Error", vexa::MessageIcon::kError);
}

std::string CTarvoKSet2Dlg1::SetupPassword() const {
  return vexa::SetupPassword(context_);
}

bool& CTarvoKSet2Dlg1::HumidityCalibrated() {
  return context_.exchange.device_context().humidity_calibrated;
}

// --- Set buttons --------------------------------------------------------------------------

void CTarvoKSet2Dlg1::SetHumiditySensor() {
  if (vexa::CheckReadyForSetup(context_)) WriteHumidityRecord();
}

bool CTarvoKSet2Dlg1::WriteHumidityRecord() {
  if (!HumidityCalibrated()) {
    context_.notifier.Show("Please Calibration Actual Humidity first!");
    return false;
  }
  const ChannelRecord entry = Entered(humidity_);
  if (const auto missing = vexa::MissingValueMessage(vexa::kHumiditySensorName, entry,
                                                     vexa::EnteredParts::kWithLimits)) {
    ShowError(*missing);
    return false;
  }
  const std::string command = vexa::ChannelCommand(SetupPassword(), vexa::kHumidityAd, entry);
  // A calibration's own record is a step of it, not a setting to replay.
  if (calibration_write_)
    return context_.exchange.SendCommand(command, vexa::kCalibrationWriteCode);
  return vexa::RecordAndSend(context_, command, vexa::kHumiditySensorCode);
}

void CTarvoKSet2Dlg1::SetTemperatureSensor(const SensorRow& row) {
  if (!vexa::CheckReadyForSetup(context_)) return;
  const ChannelRecord entry = Entered(row.controls);
  if (const auto missing =
          vexa::MissingValueMessage(row.sensor.name, entry, vexa::EnteredParts::kAlertsOnly)) {
    ShowError(*missing);
    return;
  }
  vexa::RecordAndSend(context_, vexa::TemperatureSensorCommand(SetupPassword(), row.sensor, entry),
                      row.sensor.code);
}

void CTarvoKSet2Dlg1::SetAnalogChannel() {
  if (!vexa::CheckReadyForSetup(context_)) return;
  const ChannelRecord entry = Entered(analog_);
  if (const auto missing = vexa::MissingValueMessage(vexa::kAnalogChannelName, entry,
                                                     vexa::EnteredParts::kWithLimits)) {
    ShowError(*missing);
    return;
  }
  // Without a channel the record would go out as AD00, over the humidity
  // sensor's. Checked last, so that each empty field is named first.
  const int channel = SelectedAnalogChannel();
  if (channel < 1 || channel > vexa::kAnalogChannelCount) {
    ShowError("Please select Analog Channel!");
    return;
  }
  vexa::RecordAndSend(context_, vexa::ChannelCommand(SetupPassword(), channel, entry),
                      vexa::kAnalogChannelCode, vexa::kAnalogChannelCode + channel);
}

// --- Auto Calibration ---------------------------------------------------------------------

void CTarvoKSet2Dlg1::StartCalibration() {
  if (!vexa::CheckReadyForSetup(context_)) return;
  actual_humidity_ = Latin1(actual_humidity_edit_->text());
  if (actual_humidity_.empty()) {
    context_.notifier.Show("Actual Humidity is empty!");
    return;
  }
  HumidityCalibrated() = true;
  ShowRecord(humidity_, vexa::kNeutralHumidityRecord);
  calibration_write_ = true;
  const bool sent = WriteHumidityRecord();
  calibration_write_ = false;
  humidity_.alert_high->setEnabled(true);
  calibration_step_ = CalibrationStep::kNeutralWrite;
  if (!sent) FailCalibration();
}

void CTarvoKSet2Dlg1::CalibrationReply(const std::string& reply) {
  if (calibration_step_ == CalibrationStep::kNeutralWrite) {
    if (reply.find("success") == std::string::npos) {
      FailCalibration();
      return;
    }
    calibration_step_ = CalibrationStep::kQueryDue;
    QTimer::singleShot(kCalibrationPauseMs, this, [this] { QueryRawHumidity(); });
  } else if (calibration_step_ == CalibrationStep::kReading) {
    calibration_step_ = CalibrationStep::kIdle;
    ReadRawHumidity(reply);
  }
}

void CTarvoKSet2Dlg1::QueryRawHumidity() {
  const std::string command =
      vexa::FormatCommand("%s#STATUS#", {context_.phone_book.GetCurrentDevice().enquiry_password});
  if (!vexa::CheckReadyForSetup(context_) ||
      !context_.exchange.SendCommand(command, vexa::kCalibrationQueryCode)) {
    FailCalibration();
    return;
  }
  calibration_step_ = CalibrationStep::kReading;
}

void CTarvoKSet2Dlg1::ReadRawHumidity(const std::string& status) {
  const vexa::CalibrationResult result = vexa::CalibrateHumidity(actual_humidity_, status);
  if (result.outcome == vexa::CalibrationResult::kNoReading) {
    HumidityCalibrated() = false;
    return;
  }
  if (result.outcome == vexa::CalibrationResult::kFailed) {
    ShowError(std::string(vexa::kCalibrationErrorMessage));
    HumidityCalibrated() = false;
    actual_humidity_.clear();
    return;
  }
  ChannelRecord record = Entered(humidity_);
  record.upper = result.factor;
  record.lower = record.start_zero = vexa::kNeutralHumidityRecord.lower;
  record.alert_high = vexa::kNeutralHumidityRecord.alert_high;
  record.alert_low = vexa::kNeutralHumidityRecord.alert_low;
  ShowRecord(humidity_, record);
  QTimer::singleShot(kCalibrationPauseMs, this, [this] { SetHumiditySensor(); });
}

void CTarvoKSet2Dlg1::FailCalibration() {
  calibration_step_ = CalibrationStep::kIdle;
  HumidityCalibrated() = false;
}

void CTarvoKSet2Dlg1::TickCalibrationState() {
  // A step's command that ended without its reply (time-out, Stop, lost line)
  // ends the calibration as failed.
  const bool awaiting_reply = calibration_step_ == CalibrationStep::kNeutralWrite ||
                              calibration_step_ == CalibrationStep::kReading;
  if (awaiting_reply && !context_.exchange.busy()) FailCalibration();

  const bool calibrated = HumidityCalibrated();
  humidity_.mode->setEnabled(calibrated);
  humidity_.alert_high->setEnabled(calibrated);
  if (!calibrated) humidity_.alert_low->setEnabled(false);
}
