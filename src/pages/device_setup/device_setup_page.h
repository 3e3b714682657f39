#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "pages/page_context.h"

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class StatusLamp;

// The Device Setup page: the logger's general settings as the "#1" read shows
// them, one Set button per setting, the GSM status and an Info box.
class CTarvoKSet1Dlg : public QWidget {
  Q_OBJECT

 public:
  explicit CTarvoKSet1Dlg(vexa::PageContext context, QWidget* parent = nullptr);

  // Fills the page from a reply to "#1" and records the commands that reproduce it.
  void ReadGroup1Reply(const std::string& reply);
  // Replaces the Info box by a reply text.
  void ShowInfo(const std::string& text);
  void ClearPage();

 private:
  QGroupBox* BuildDeviceProperties();
  QGroupBox* BuildSmsUpload();
  QGroupBox* BuildGsmNetwork();
  QGroupBox* BuildAlarmPhones();
  QGroupBox* BuildInfo();
  QLineEdit* AddEdit(QGridLayout* grid, int row, const QString& label);
  QComboBox* AddComboBox(QGridLayout* grid, int row, const QString& label,
                         const QStringList& items);
  // An icon-only Set button running `action` once the setup preconditions pass.
  QPushButton* SetButton(const QString& name, std::function<void()> action);
  void ConnectSetupAction(QPushButton* button, std::function<void()> action);

  void CheckSixDigitField(QLineEdit* field, const char* message, const std::string& caption,
                          vexa::MessageIcon icon);
  void CheckControlCentreNumber();
  void CheckPhoneNumberLength(QLineEdit* field);
  void FillDateTimeNow();

  void SetStationId();
  void SetPasswords();
  void ResetLogger();
  void SetDateTime();
  void SetLoggingInterval();
  void SetSmsUpload();
  void SetAlarmPhone(QLineEdit* field, int slot);

  vexa::PageContext context_;
  QLineEdit* station_id_ = nullptr;
  QLineEdit* enquiry_password_ = nullptr;
  QLineEdit* setup_password_ = nullptr;
  QLineEdit* date_time_ = nullptr;
  QComboBox* logging_interval_ = nullptr;
  QComboBox* sms_upload_interval_ = nullptr;
  QLineEdit* control_centre_number_ = nullptr;
  QLineEdit* alarm_phone1_ = nullptr;
  QLineEdit* alarm_phone2_ = nullptr;
  StatusLamp* gsm_module_lamp_ = nullptr;
  StatusLamp* sim_card_lamp_ = nullptr;
  QProgressBar* signal_strength_ = nullptr;
  QPlainTextEdit* info_ = nullptr;
};
