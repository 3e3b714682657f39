#pragma once

#include <functional>
#include <optional>

namespace vexa {

struct Cell {
  int row = -1;
  int column = -1;
  bool operator==(const Cell&) const = default;
};

// Where an in-place editor goes after Enter or Tab has committed its cell.
enum class CellStep {
  kNextRow,  // Ctrl: the same column one row down, from the last row back to the first
  kBack,     // Shift: the editable cell before, up to the first row
  kForward,  // the editable cell after, up to the last row
};

// The cell to open next, or nothing. `editable` tells which columns have an editor.
std::optional<Cell> NextEditableCell(Cell from, CellStep step, int row_count, int column_count,
                                     const std::function<bool(int column)>& editable);

}  // namespace vexa
