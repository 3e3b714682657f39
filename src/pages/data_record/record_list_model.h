#pragma once

#include <QAbstractTableModel>
#include <string_view>

#include "records/record_table.h"

// The rows of the Data Record list, held apart from the view so that a reply
// of thousands of samples shows at once: the view asks only for what it paints.
class RecordListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit RecordListModel(QObject* parent = nullptr);

  const vexa::RecordTable& table() const { return table_; }

  // No rows, only the base columns.
  void Reset();
  // Replaces the list by the current readings of a status reply.
  void ShowStatus(std::string_view reply);
  // Appends the samples of a reply of stored records, adding the columns of
  // quantities not shown yet.
  void AddStoredRecords(std::string_view reply);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  void Append(vexa::RecordTable part);
  QVariant Alignment(int column) const;

  vexa::RecordTable table_;
};
