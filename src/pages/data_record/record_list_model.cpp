#include "pages/data_record/record_list_model.h"

#include "pages/page_widgets.h"
#include "records/status_rows.h"
#include "records/stored_record_rows.h"

RecordListModel::RecordListModel(QObject* parent)
    : QAbstractTableModel(parent), table_(vexa::BaseRecordTable()) {}

void RecordListModel::Reset() {
  beginResetModel();
  table_ = vexa::BaseRecordTable();
  endResetModel();
}

void RecordListModel::ShowStatus(std::string_view reply) {
  beginResetModel();
  table_ = vexa::BaseRecordTable();
  vexa::AppendRows(table_, vexa::StatusRows(reply));
  endResetModel();
}

void RecordListModel::AddStoredRecords(std::string_view reply) {
  Append(vexa::StoredRecordRows(reply));
}

void RecordListModel::Append(vexa::RecordTable part) {
  std::vector<vexa::RecordColumn> added = vexa::NewColumns(table_, part);
  if (!added.empty()) {
    const int first = columnCount();
    beginInsertColumns({}, first, first + static_cast<int>(added.size()) - 1);
    for (auto& column : added) table_.columns.push_back(std::move(column));
    endInsertColumns();
  }
  if (part.rows.empty()) return;
  const int first = rowCount();
  beginInsertRows({}, first, first + static_cast<int>(part.rows.size()) - 1);
  vexa::AppendRows(table_, std::move(part));
  endInsertRows();
}

int RecordListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.rows.size());
}

int RecordListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.columns.size());
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::TextAlignmentRole) return Alignment(index.column());
  if (role != Qt::DisplayRole) return {};
  const auto& row = table_.rows[static_cast<std::size_t>(index.row())];
  const auto column = static_cast<std::size_t>(index.column());
  return column < row.size() ? vexa::FromLatin1(row[column]) : QString();
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
  if (role == Qt::TextAlignmentRole) return Alignment(section);
  if (role != Qt::DisplayRole) return {};
  return vexa::FromLatin1(table_.columns[static_cast<std::size_t>(section)].caption);
}

QVariant RecordListModel::Alignment(int column) const {
  const bool centred = table_.columns[static_cast<std::size_t>(column)].centred;
  return QVariant::fromValue(Qt::AlignVCenter | (centred ? Qt::AlignHCenter : Qt::AlignLeft));
}
