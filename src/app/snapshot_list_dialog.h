#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "history/settings_history.h"

class QPushButton;
class QTableWidget;

// A logger's snapshots, newest first, each with its time and how many
// settings it holds. "Restore..." takes the one chosen.
class SnapshotListDialog : public QDialog {
  Q_OBJECT

 public:
  SnapshotListDialog(const std::string& station_id, std::vector<vexa::Snapshot> snapshots,
                     QWidget* parent);

  // The snapshot chosen for restoring, once "Restore..." was pressed.
  const std::optional<vexa::Snapshot>& chosen() const { return chosen_; }

 private:
  std::vector<vexa::Snapshot> snapshots_;
  QTableWidget* list_;
  QPushButton* restore_button_;
  std::optional<vexa::Snapshot> chosen_;
};
