#pragma once

#include <QWidget>
#include <ctime>
#include <string>

#include "pages/page_context.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableView;
class RecordChartDialog;
class RecordListModel;

// The Data Record page: queries stored records and shows them, or the current
// readings, one row per sample; exports the list as CSV and shows it as a chart.
class CSet3 : public QWidget {
  Q_OBJECT

 public:
  CSet3(vexa::PageContext context, QWidget* parent);

  // Shows the current readings of a status reply.
  void StatusReply(const std::string& reply);
  // Shows the samples of a reply holding stored records.
  void StoredRecordsReply(const std::string& reply);
  void ClearPage();

  // Writes the list, columns as shown, to a CSV file; tells the engineer and
  // returns false when the file cannot be written.
  bool ExportTo(const QString& path);

 private:
  QStringList RecordCountItems() const;
  void Query();
  void ChooseExportFile();
  void ShowChart();
  void ApplyColumnWidths(int first, int last);
  void RowsChanged();

  vexa::PageContext context_;
  QDateEdit* date_ = nullptr;
  QComboBox* hour_ = nullptr;
  QComboBox* minute_ = nullptr;
  QComboBox* record_count_ = nullptr;
  QLabel* row_count_ = nullptr;
  QPushButton* export_ = nullptr;
  QPushButton* chart_button_ = nullptr;
  RecordListModel* model_ = nullptr;
  QTableView* list_ = nullptr;
  RecordChartDialog* chart_ = nullptr;
  // When the list was asked for: the export's name tells queries apart.
  std::time_t listed_at_ = std::time(nullptr);
};
