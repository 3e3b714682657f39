#include "widgets/cell_navigation.h"

namespace vexa {
namespace {

// The first editable column of a row, searched from the left.
std::optional<Cell> FirstEditableIn(int row, int column_count,
                                    const std::function<bool(int)>& editable) {
  for (int column = 0; column < column_count; ++column) {
    if (editable(column)) return Cell{row, column};
  }
  return std::nullopt;
}

}  // namespace

std::optional<Cell> NextEditableCell(Cell from, CellStep step, int row_count, int column_count,
                                     const std::function<bool(int column)>& editable) {
  if (row_count <= 0) return std::nullopt;
  switch (step) {
    case CellStep::kNextRow: {
      if (!editable(from.column)) return std::nullopt;
      const int row = from.row + 1 < row_count ? from.row + 1 : 0;
      return Cell{row, from.column};
    }
    case CellStep::kBack:
      for (int column = from.column - 1; column >= 0; --column) {
        if (editable(column)) return Cell{from.row, column};
      }
      if (from.row <= 0) return std::nullopt;
      return FirstEditableIn(from.row - 1, column_count, editable);
    case CellStep::kForward:
      for (int column = from.column + 1; column < column_count; ++column) {
        if (editable(column)) return Cell{from.row, column};
      }
      if (from.row + 1 >= row_count) return std::nullopt;
      return FirstEditableIn(from.row + 1, column_count, editable);
  }
  return std::nullopt;
}

}  // namespace vexa
