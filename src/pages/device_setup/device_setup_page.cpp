#include "pages/device_setup/device_setup_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <ctime>
#include <vector>

#include "pages/device_setup/interval_codes.h"
#include "pages/device_setup/status_lamp.h"
#include "pages/page_sender.h"
#include "pages/page_widgets.h"
#include "protocol/date_time_setting.h"
#include "settings/group1_settings.h"
#include "settings/setting_codes.h"
#include "widgets/leave_check.h"

namespace {

using vexa::FromLatin1;
using vexa::Latin1;
using vexa::MessageIcon;

// Form columns: the label, the field, its Set button, an extra button
// ("Reset", "...").
constexpr int kLabelColumn = 0;
constexpr int kFieldColumn = 1;
constexpr int kSetColumn = 2;
constexpr int kExtraColumn = 3;
constexpr int kLabelWidth = 160;
constexpr int kFieldWidth = 170;
constexpr int kExtraButtonWidth = 64;

// The reset command carries this fixed access code instead of a password.
constexpr char kResetAccessCode[] = "tovel3";
constexpr int kSixDigits = 6;
constexpr int kMaxPhoneNumberLength = 19;

// "+" or a digit first, digits after it.
bool IsPhoneNumber(const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (!digit && !(i == 0 && text[i] == '+')) return false;
  }
  return true;
}

// Labels are indented, which leaves room for the frame around the password rows.
QLabel* Label(const QString& text) {
  auto* label = new QLabel(text);
  label->setIndent(10);
  return label;
}

QGridLayout* FormGrid(QGroupBox* box) {
  auto* grid = new QGridLayout(box);
  grid->setColumnMinimumWidth(kLabelColumn, kLabelWidth);
  grid->setColumnMinimumWidth(kFieldColumn, kFieldWidth);
  grid->setColumnStretch(kExtraColumn, 1);
  return grid;
}

// Leaves room above and below the password rows for their frame.
void AddFramePadding(QGridLayout* grid, int row) {
  grid->addItem(new QSpacerItem(0, 2, QSizePolicy::Minimum, QSizePolicy::Fixed), row, 0);
}

}  // namespace

CTarvoKSet1Dlg::CTarvoKSet1Dlg(vexa::PageContext context, QWidget* parent)
    : QWidget(parent), context_(context) {
  auto* layout = new QGridLayout(this);
  layout->addWidget(BuildDeviceProperties(), 0, 0);
  layout->addWidget(BuildSmsUpload(), 1, 0);
  layout->addWidget(BuildGsmNetwork(), 0, 1);
  layout->addWidget(BuildAlarmPhones(), 1, 1);
  layout->addWidget(BuildInfo(), 2, 0, 1, 2);
  layout->setRowStretch(2, 1);
  layout->setColumnStretch(0, 1);
  layout->setColumnStretch(1, 1);

  for (QLineEdit* field : {station_id_, enquiry_password_, setup_password_}) {
    field->setMaxLength(kSixDigits);
    field->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), field));
  }
  vexa::CheckOnLeave(station_id_, [this] {
    CheckSixDigitField(station_id_, "TStation ID is Six digits!", "Error", MessageIcon::kError);
  });
  vexa::CheckOnLeave(enquiry_password_, [this] {
    CheckSixDigitField(enquiry_password_, "Enquiry Password  is error !", {}, MessageIcon::kNone);
  });
  vexa::CheckOnLeave(setup_password_, [this] {
    CheckSixDigitField(setup_password_, "Setup Password  is error !", {}, MessageIcon::kNone);
  });
  vexa::CheckOnLeave(control_centre_number_, [this] { CheckControlCentreNumber(); });
  // Typing is checked at once; numbers a reply fills in are checked after the
  // reply (ReadGroup1Reply).
  for (QLineEdit* field : {control_centre_number_, alarm_phone1_, alarm_phone2_}) {
    connect(field, &QLineEdit::textEdited, this, [this, field] { CheckPhoneNumberLength(field); });
  }
}

QGroupBox* CTarvoKSet1Dlg::BuildDeviceProperties() {
  auto* box = new QGroupBox("Device Properties");
  QGridLayout* grid = FormGrid(box);
  // The unnamed frame around the two password rows lies under their controls.
  auto* password_frame = new QGroupBox;
  grid->addWidget(password_frame, 1, kLabelColumn, 4, kExtraColumn - kLabelColumn + 1);

  station_id_ = AddEdit(grid, 0, "Station ID ");
  grid->addWidget(SetButton("Set Station ID", [this] { SetStationId(); }), 0, kSetColumn);

  AddFramePadding(grid, 1);
  enquiry_password_ = AddEdit(grid, 2, "Enquiry Password");
  setup_password_ = AddEdit(grid, 3, "Setup Password");
  grid->addWidget(SetButton("Set Passwords", [this] { SetPasswords(); }), 2, kSetColumn, 2, 1);
  auto* reset = new QPushButton("Reset");
  reset->setAccessibleName("Reset");
  reset->setFixedWidth(kExtraButtonWidth);
  ConnectSetupAction(reset, [this] { ResetLogger(); });
  grid->addWidget(reset, 3, kExtraColumn, Qt::AlignLeft);
  AddFramePadding(grid, 4);

  date_time_ = AddEdit(grid, 5, "Date/Time");
  grid->addWidget(SetButton("Set Date/Time", [this] { SetDateTime(); }), 5, kSetColumn);
  auto* now = new QPushButton("...");
  now->setAccessibleName("...");
  now->setAccessibleDescription("Fills Date/Time with this computer's date and time");
  now->setToolTip(now->accessibleDescription());
  now->setFixedWidth(kExtraButtonWidth);
  connect(now, &QPushButton::clicked, this, &CTarvoKSet1Dlg::FillDateTimeNow);
  grid->addWidget(now, 5, kExtraColumn, Qt::AlignLeft);

  logging_interval_ = AddComboBox(grid, 6, "Data Logging Interval",
                                  vexa::FromLatin1List(vexa::kLoggingIntervalItems));
  grid->addWidget(SetButton("Set Data Logging Interval", [this] { SetLoggingInterval(); }), 6,
                  kSetColumn);
  return box;
}

QGroupBox* CTarvoKSet1Dlg::BuildSmsUpload() {
  auto* box = new QGroupBox("SMS Upload Setup");
  QGridLayout* grid = FormGrid(box);
  sms_upload_interval_ = AddComboBox(grid, 0, "SMS Upload Interval",
                                     vexa::FromLatin1List(vexa::kSmsUploadIntervalItems));
  control_centre_number_ = AddEdit(grid, 1, "Control Centre Number");
  grid->addWidget(SetButton("Set SMS Upload", [this] { SetSmsUpload(); }), 0, kSetColumn, 2, 1);
  return box;
}

QGroupBox* CTarvoKSet1Dlg::BuildGsmNetwork() {
  auto* box = new QGroupBox("GSM Network");
  auto* grid = new QGridLayout(box);
  grid->setColumnMinimumWidth(0, kLabelWidth);  // in line with the alarm phone fields below
  grid->addWidget(Label("Module Status:"), 0, 0);
  gsm_module_lamp_ = new StatusLamp;
  gsm_module_lamp_->setAccessibleName("GSM Module");
  sim_card_lamp_ = new StatusLamp;
  sim_card_lamp_->setAccessibleName("SIM Card");
  auto* lamps = new QHBoxLayout;
  lamps->addWidget(gsm_module_lamp_);
  lamps->addWidget(new QLabel("GSM Module"));
  lamps->addSpacing(24);
  lamps->addWidget(sim_card_lamp_);
  lamps->addWidget(new QLabel("SIM Card"));
  lamps->addStretch();
  grid->addLayout(lamps, 0, 1);

  grid->addWidget(Label("Signal Strength:"), 1, 0);
  signal_strength_ = new QProgressBar;
  signal_strength_->setAccessibleName("Signal Strength");
  signal_strength_->setRange(0, 100);
  signal_strength_->setValue(0);
  signal_strength_->setTextVisible(false);
  grid->addWidget(signal_strength_, 1, 1);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(2, 1);
  return box;
}

QGroupBox* CTarvoKSet1Dlg::BuildAlarmPhones() {
  auto* box = new QGroupBox("Alarm Phone Number");
  QGridLayout* grid = FormGrid(box);
  // An empty alarm number is sent as it is: it switches that alarm phone off.
  alarm_phone1_ = AddEdit(grid, 0, "Alarm Phone 1");
  grid->addWidget(SetButton("Set Alarm Phone 1", [this] { SetAlarmPhone(alarm_phone1_, 1); }), 0,
                  kSetColumn);
  alarm_phone2_ = AddEdit(grid, 1, "Alarm Phone 2");
  grid->addWidget(SetButton("Set Alarm Phone 2", [this] { SetAlarmPhone(alarm_phone2_, 2); }), 1,
                  kSetColumn);
  return box;
}

QGroupBox* CTarvoKSet1Dlg::BuildInfo() {
  auto* box = new QGroupBox("Info");
  auto* layout = new QVBoxLayout(box);
  info_ = new QPlainTextEdit;
  info_->setAccessibleName("Info");
  layout->addWidget(info_);
  return box;
}

QLineEdit* CTarvoKSet1Dlg::AddEdit(QGridLayout* grid, int row, const QString& label) {
  auto* edit = new QLineEdit;
  edit->setAccessibleName(label.trimmed());
  grid->addWidget(Label(label), row, kLabelColumn);
  grid->addWidget(edit, row, kFieldColumn);
  return edit;
}

QComboBox* CTarvoKSet1Dlg::AddComboBox(QGridLayout* grid, int row, const QString& label,
                                       const QStringList& items) {
  auto* box = new QComboBox;
  box->setAccessibleName(label);
  box->addItems(items);
  box->setCurrentIndex(-1);  // a drop-down list starts with nothing chosen
  grid->addWidget(Label(label), row, kLabelColumn);
  grid->addWidget(box, row, kFieldColumn);
  return box;
}

QPushButton* CTarvoKSet1Dlg::SetButton(const QString& name, std::function<void()> action) {
  QPushButton* button = vexa::NewSetButton(name);
  ConnectSetupAction(button, std::move(action));
  return button;
}

void CTarvoKSet1Dlg::ConnectSetupAction(QPushButton* button, std::function<void()> action) {
  connect(button, &QPushButton::clicked, this, [this, action = std::move(action)] {
    if (vexa::CheckSetupPreconditions(context_)) action();
  });
}

void CTarvoKSet1Dlg::CheckSixDigitField(QLineEdit* field, const char* message,
                                        const std::string& caption, MessageIcon icon) {
  const QString text = field->text();
  if (text.isEmpty()) return;
  if (text.size() > kSixDigits) {
    context_.notifier.Show(message, caption, icon);
    field->clear();
    return;
  }
  field->setText(text.rightJustified(kSixDigits, '0'));
}

void CTarvoKSet1Dlg::CheckControlCentreNumber() {
  if (IsPhoneNumber(control_centre_number_->text())) return;
  context_.notifier.Show("PhoneNumber is error!");
  control_centre_number_->clear();
}

void CTarvoKSet1Dlg::CheckPhoneNumberLength(QLineEdit* field) {
  if (field->text().size() <= kMaxPhoneNumberLength) return;
  context_.notifier.Show("Phone Number over 19 Number!");
  field->clear();
}

void CTarvoKSet1Dlg::FillDateTimeNow() {
  date_time_->setText(FromLatin1(vexa::DateTimeSettingValue(std::time(nullptr))));
}

void CTarvoKSet1Dlg::SetStationId() {
  const std::string id = Latin1(station_id_->text());
  if (id.empty()) return context_.notifier.Show("Station ID  is error !");
  vexa::RecordAndSend(context_, vexa::StationIdCommand(vexa::SetupPassword(context_), id),
                      vexa::kStationIdCode);
}

void CTarvoKSet1Dlg::SetPasswords() {
  const std::string enquiry = Latin1(enquiry_password_->text());
  const std::string setup = Latin1(setup_password_->text());
  if (enquiry.empty()) return context_.notifier.Show("Device Query Password is NULL!");
  if (setup.empty()) return context_.notifier.Show("Device Setup Password is NULL!");
  context_.exchange.SendCommand(vexa::SetupCommand(context_, "%s#PS:%s,%s#", enquiry, setup),
                                vexa::kPasswordsCode);
}

void CTarvoKSet1Dlg::ResetLogger() {
  if (!context_.notifier.AskOkCancel("This operation will initialize all the settings!\n",
                                     "Attention", MessageIcon::kWarning)) {
    return;
  }
  context_.exchange.SendCommand(vexa::FormatCommand("%s#RESET#", {kResetAccessCode}),
                                vexa::kResetCode);
}

void CTarvoKSet1Dlg::SetDateTime() {
  const std::string date_time = Latin1(date_time_->text());
  if (date_time.empty()) return context_.notifier.Show("Device DateTime is NULL!");
  vexa::RecordAndSend(context_, vexa::DateTimeCommand(vexa::SetupPassword(context_), date_time),
                      vexa::kDateTimeCode);
}

void CTarvoKSet1Dlg::SetLoggingInterval() {
  if (logging_interval_->currentIndex() < 0) {
    return context_.notifier.Show("Please select Data Logging Interval!");
  }
  const std::string code = vexa::LoggingIntervalCode(Latin1(logging_interval_->currentText()));
  vexa::RecordAndSend(context_, vexa::LoggingIntervalCommand(vexa::SetupPassword(context_), code),
                      vexa::kLoggingIntervalCode);
}

void CTarvoKSet1Dlg::SetSmsUpload() {
  if (sms_upload_interval_->currentIndex() < 0) {
    return context_.notifier.Show("Please select SMS Upload Interval!");
  }
  const std::string number = Latin1(control_centre_number_->text());
  if (number.empty()) return context_.notifier.Show("Control Centre Number is NULL!");
  const std::string code = vexa::SmsUploadIntervalCode(Latin1(sms_upload_interval_->currentText()));
  vexa::RecordAndSend(context_, vexa::SmsUploadCommand(vexa::SetupPassword(context_), number, code),
                      vexa::kSmsUploadCode);
}

void CTarvoKSet1Dlg::SetAlarmPhone(QLineEdit* field, int slot) {
  vexa::RecordAndSend(
      context_, vexa::AlarmPhoneCommand(vexa::SetupPassword(context_), slot, Latin1(field->text())),
      vexa::AlarmPhoneCode(slot));
}

void CTarvoKSet1Dlg::ReadGroup1Reply(const std::string& reply) {
  const vexa::Group1Settings settings = vexa::ReadGroup1Settings(reply);
  const auto fill = [](QLineEdit* field, const std::optional<std::string>& value) {
    if (value) field->setText(FromLatin1(*value));
  };
  fill(station_id_, settings.station_id);
  fill(date_time_, settings.date_time);
  fill(enquiry_password_, settings.enquiry_password);
  fill(setup_password_, settings.setup_password);
  if (settings.logging_interval_code) {
    logging_interval_->setCurrentIndex(vexa::LoggingIntervalItem(*settings.logging_interval_code));
  }
  if (settings.sms_upload) {
    control_centre_number_->setText(FromLatin1(settings.sms_upload->number));
    sms_upload_interval_->setCurrentIndex(
        vexa::SmsUploadIntervalItem(settings.sms_upload->interval_code));
  }
  fill(alarm_phone1_, settings.alarm_phone1);
  fill(alarm_phone2_, settings.alarm_phone2);
  // Over-long numbers from the logger are reported once the reply has been
  // handled: a message box inside its delivery would run a nested event loop.
  std::vector<QLineEdit*> numbers;
  if (settings.sms_upload) numbers.push_back(control_centre_number_);
  if (settings.alarm_phone1) numbers.push_back(alarm_phone1_);
  if (settings.alarm_phone2) numbers.push_back(alarm_phone2_);
  QMetaObject::invokeMethod(
      this,
      [this, numbers] {
        for (QLineEdit* field : numbers) CheckPhoneNumberLength(field);
      },
      Qt::QueuedConnection);
  if (settings.module_status) {
    gsm_module_lamp_->SetLit(settings.module_status->gsm_module_ok);
    sim_card_lamp_->SetLit(settings.module_status->sim_card_ok);
  }
  if (settings.signal_bar) signal_strength_->setValue(*settings.signal_bar);
  context_.command_buffer.Record(
      vexa::DeviceSetupCommands(settings, vexa::SetupPassword(context_)));
}

void CTarvoKSet1Dlg::ShowInfo(const std::string& text) {
  info_->setPlainText(text == vexa::kInitializeDone ? QString("Initialization Completed!")
                                                    : FromLatin1(text));
}

void CTarvoKSet1Dlg::ClearPage() {
  logging_interval_->setCurrentIndex(-1);
  sms_upload_interval_->setCurrentIndex(-1);
  for (QLineEdit* field : {station_id_, enquiry_password_, setup_password_, date_time_,
                           control_centre_number_, alarm_phone1_, alarm_phone2_}) {
    field->clear();
  }
  info_->clear();
  signal_strength_->setValue(0);
  gsm_module_lamp_->SetLit(false);
  sim_card_lamp_->SetLit(false);
}
