#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "batch/batch_run.h"
#include "settings/settings_comparison.h"

class QLabel;
class QPushButton;
class QTableWidget;

// The logger's settings against another set of them (the batch list, a
// snapshot), one row each: what the logger holds, what the set holds and how
// they stand. The engineer checks the rows to write; those that differ come
// checked. "Write Checked" asks for them to be written, and the dialog then
// shows each row's result and the run's summary as they come, with
// "Stop Batch" while it runs. Cancel, or Esc, writes nothing.
class SettingsReviewDialog : public QDialog {
  Q_OBJECT

 public:
  // `what` says what is compared ("Logger 000041 against the list"); `side`
  // names the other set in the headings and states ("list").
  SettingsReviewDialog(const std::vector<vexa::SettingComparison>& comparisons,
                       const std::string& what, const std::string& side, QWidget* parent);

  // The codes of the checked rows, in code order.
  std::vector<int> CheckedCodes() const;
  // The run that writes the checked rows: from its first call on the rows can
  // no longer be checked, and once it ended the dialog can be closed.
  void ShowRun(const vexa::BatchRun& run);

  // While a run writes, Esc or closing the window stops it instead.
  void reject() override;

 signals:
  void WriteRequested();
  void StopRequested();

 private:
  void BuildRows(const std::vector<vexa::SettingComparison>& comparisons, const QString& side);
  void UpdateWriteButton();
  int RowOf(int code) const;

  QLabel* summary_;
  QTableWidget* list_;
  QLabel* run_summary_;
  QPushButton* write_button_;
  QPushButton* stop_button_;
  QPushButton* cancel_button_;
  QPushButton* close_button_;
  bool writing_ = false;
  bool run_ended_ = false;
};
