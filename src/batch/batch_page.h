#pragma once

#include <QTimer>
#include <QWidget>
#include <string>

#include "batch/batch_setup.h"
#include "pages/page_context.h"

class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QTableWidget;

// The Batch Setup page: replays the buffered setup commands on further
// loggers, one row at a time, and keeps them in configuration files.
class CBatchInitDlg : public QWidget, private vexa::BatchView {
  Q_OBJECT

 public:
  // `read_all` reads the logger back after a run that verifies.
  CBatchInitDlg(vexa::PageContext context, vexa::ReadAll& read_all, QWidget* parent);
  ~CBatchInitDlg() override;

  // Rebuilds the list from the command buffer, every row checked; with
  // `set_band_flag` the GSM band command is listed from now on.
  void Refresh(bool set_band_flag);
  // Batches run on the RS232 route only: disabled, the list is emptied.
  void SetBatchEnabled(bool enabled);
  // The command of the current row finished with this status text.
  void BatchResult(const std::string& status_text);

  // What the File menu and Save Report do once their file dialog has a path.
  void OpenConfigFile(const QString& path);
  void SaveConfigFile(const QString& path);
  void SaveReport(const QString& path);
  // The button watch; its timer ticks every 500 ms while a batch runs.
  void WatchButtons();

 private:
  // vexa::BatchView
  void RowsChanged() override;
  void RowChanged(int row) override;
  void RunChanged() override;

  QWidget* BuildButtons();
  void RefreshList(bool checked);
  void FillRow(int row);
  void SetStatusWidth(int width);
  void OnItemChanged(int row, int column);
  void OnListContextMenu(const QPoint& position);
  void DeleteSelectedRows();
  void OnBatchSetup();
  void ChooseConfigFileToOpen();
  void ChooseConfigFileToSave();
  void ChooseReportFile();

  vexa::PageContext context_;
  QTableWidget* list_ = nullptr;
  QPushButton* file_button_ = nullptr;
  QMenu* file_menu_ = nullptr;
  QMenu* row_menu_ = nullptr;
  QPushButton* select_all_button_ = nullptr;
  QPushButton* deselect_all_button_ = nullptr;
  QPushButton* buffer_clear_button_ = nullptr;
  QPushButton* batch_setup_button_ = nullptr;
  QCheckBox* auto_station_id_ = nullptr;
  QLabel* summary_ = nullptr;
  QPushButton* save_report_button_ = nullptr;
  QTimer watch_timer_;
  bool batch_enabled_ = true;  // false on the GSM route
  // Declared last, so destroyed first: its worker ends before the page goes.
  vexa::BatchSetup setup_;
};
