#pragma once

#include <QDialog>

class QChartView;
class RecordListModel;

// The Data Record list as a chart: one line per measured quantity over the
// rows' date and time, with a legend. It follows the list while it is open.
class RecordChartDialog : public QDialog {
  Q_OBJECT

 public:
  RecordChartDialog(const RecordListModel* model, QWidget* parent);

  QChartView* view() const { return view_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Rebuild();

  const RecordListModel* model_;
  QChartView* view_ = nullptr;
};
