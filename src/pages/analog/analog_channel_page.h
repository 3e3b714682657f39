#pragma once

#include <QTimer>
#include <QWidget>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "pages/analog/field_validation.h"
#include "pages/page_context.h"
#include "settings/analog_records.h"

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The Analog Channel page: the humidity sensor, the temperature sensors and the analog
// channels, and the humidity sensor's one-point calibration.
class CTarvoKSet2Dlg1 : public QWidget {
  Q_OBJECT

 public:
  CTarvoKSet2Dlg1(vexa::PageContext context, QWidget* parent);

  // The first status reply was read: builds the channel list and selector.
  void FirstStatusReply();
  // Fills the page from a reply to "#2" and records the commands that reproduce it.
  void ReadGroup2Reply(const std::string& reply);
  // A reply to a calibration step (codes 12000 and 12001).
  void CalibrationReply(const std::string& reply);
  void ClearPage();

  // One tick of the 500 ms timer: the humidity controls follow the calibrated
  // flag, and a calibration step whose command ended unanswered fails.
  void TickCalibrationState();

 private:
  // The controls of one record; a part the record does not show is null.
  struct RecordControls {
    QComboBox* mode = nullptr;
    QLineEdit* upper = nullptr;
    QLineEdit* lower = nullptr;
    QLineEdit* start_zero = nullptr;
    QLineEdit* alert_high = nullptr;
    QLineEdit* alert_low = nullptr;
  };
  struct SensorRow {
    vexa::TemperatureSensor sensor;
    RecordControls controls;
  };
  // An edit checked when the cursor leaves it, and its place in the entry chain.
  struct ValidatedEdit {
    vexa::FieldRule rule;
    const RecordControls* record = nullptr;
    QLineEdit* counterpart = nullptr;  // emptied silently by some checks
    QLineEdit* next = nullptr;         // enabled once this one holds a value
    bool leaving_disables_next = true;
  };
  enum class CalibrationStep { kIdle, kNeutralWrite, kQueryDue, kReading };

  QGroupBox* BuildTemperatureChannels();
  QGroupBox* BuildAnalogChannels();
  // A row led by `lead` (its label, or the channel selector); `name` names its controls.
  RecordControls AddRecordRow(QGridLayout* grid, int row, QWidget* lead, const QString& name,
                              bool limits);
  void AddCalibrationRow(QGridLayout* grid, int row);
  QPushButton* AddSetButton(QGridLayout* grid, int row, const QString& name);
  void ValidateOnLeave(QLineEdit* edit, vexa::FieldRule rule, const RecordControls* record,
                       QLineEdit* counterpart, QLineEdit* next);
  // A sensor's alert high and low; the low one opens once the high one holds a value.
  void ValidateAlerts(const RecordControls& controls, std::string_view name, vexa::ValueRange range,
                      vexa::CrossCheck low_check);
  void CheckLeftEdit(QLineEdit* edit, const ValidatedEdit& validated);

  vexa::ChannelRecord Entered(const RecordControls& controls) const;
  void ShowRecord(const RecordControls& controls, const vexa::ChannelRecord& record);
  void ShowListRow(int row, const vexa::ChannelRecord& record);
  void ChooseAnalogChannel();
  int SelectedAnalogChannel() const;
  void ShowError(const std::string& text);
  std::string SetupPassword() const;
  bool& HumidityCalibrated();

  void SetHumiditySensor();
  bool WriteHumidityRecord();
  void SetTemperatureSensor(const SensorRow& row);
  void SetAnalogChannel();
  void StartCalibration();
  void QueryRawHumidity();
  void ReadRawHumidity(const std::string& status);
  void FailCalibration();

  vexa::PageContext context_;
  QLineEdit* actual_humidity_edit_ = nullptr;
  RecordControls humidity_;
  std::vector<SensorRow> sensors_;
  QComboBox* analog_selector_ = nullptr;
  RecordControls analog_;
  QTableWidget* channel_list_ = nullptr;
  std::map<const QLineEdit*, ValidatedEdit> validated_edits_;

  QTimer calibration_timer_;
  bool calibration_write_ = false;  // the humidity record goes out as a calibration step
  CalibrationStep calibration_step_ = CalibrationStep::kIdle;
  std::string actual_humidity_;  // as last entered for a calibration
};
