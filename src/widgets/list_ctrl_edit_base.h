#pragma once

// An editor that opens over one cell of a report list at a time and writes
// its value back into that cell.
class CListCtrlEditBase {
 public:
  virtual ~CListCtrlEditBase() = default;

  // Writes the editor's value into its cell and closes the editor.
  virtual void Commit() = 0;
  // Opens the editor over the cell; a cell it cannot edit opens nothing.
  virtual void ShowAt(int row, int column) = 0;
};
