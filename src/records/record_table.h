#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

enum class ColumnKind {
  kBase,      // Count, Header, Station ID, Date, Time
  kMeasured,  // an analog, pulse or supply reading
  kState,     // one digital input or relay state character
};

struct RecordColumn {
  std::string id;  // the quantity it holds ("A13", "K03"); one column per id
  std::string caption;
  int width = 60;
  bool centred = false;
  ColumnKind kind = ColumnKind::kMeasured;
};

// The Data Record list: its columns and its rows. A row may be shorter than
// the columns: the missing cells are empty.
struct RecordTable {
  std::vector<RecordColumn> columns;
  std::vector<std::vector<std::string>> rows;
};

inline constexpr std::size_t kCountColumn = 0;
inline constexpr std::size_t kHeaderColumn = 1;
inline constexpr std::size_t kStationColumn = 2;
inline constexpr std::size_t kDateColumn = 3;
inline constexpr std::size_t kTimeColumn = 4;
inline constexpr std::size_t kBaseColumnCount = 5;

// No rows, and only the five base columns.
RecordTable BaseRecordTable();

// Index of the column with this id, or the column count when there is none.
std::size_t FindColumn(const RecordTable& table, std::string_view id);

// The columns of `part` that `table` lacks, in the order of `part`.
std::vector<RecordColumn> NewColumns(const RecordTable& table, const RecordTable& part);

// Appends the rows of `part` to `table`, each value under the table's column
// of the same id (columns it lacks are added at the end), and numbers their
// Count on from the table's last row.
void AppendRows(RecordTable& table, RecordTable part);

// The list as its Export writes it: the captions, then every row's cells, each
// in the order of `columns` (indices into the table's columns).
std::vector<std::vector<std::string>> ExportRows(const RecordTable& table,
                                                 const std::vector<std::size_t>& columns);

}  // namespace vexa
