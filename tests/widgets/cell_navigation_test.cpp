#include "widgets/cell_navigation.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

struct Case {
  const char* what;
  Cell from;
  CellStep step;
  std::optional<Cell> expected;
};

TEST(CellNavigation, MovesBetweenEditableCellsWithinTheList) {
  // Four rows; columns 1 and 3 of five have an editor.
  const auto editable = [](int column) { return column == 1 || column == 3; };
  const Case cases[] = {
      {"forward in the row", {0, 1}, CellStep::kForward, Cell{0, 3}},
      {"forward to the next row", {0, 3}, CellStep::kForward, Cell{1, 1}},
      {"forward stops at the last row", {3, 3}, CellStep::kForward, std::nullopt},
      {"back in the row", {2, 3}, CellStep::kBack, Cell{2, 1}},
      {"back to the previous row, its first editor", {2, 1}, CellStep::kBack, Cell{1, 1}},
      {"back stops at the first row", {0, 1}, CellStep::kBack, std::nullopt},
      {"next row keeps the column", {1, 3}, CellStep::kNextRow, Cell{2, 3}},
      {"next row wraps to the first", {3, 1}, CellStep::kNextRow, Cell{0, 1}},
      {"next row needs an editor in the column", {1, 2}, CellStep::kNextRow, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NextEditableCell(c.from, c.step, 4, 5, editable), c.expected) << c.what;
  }
}

TEST(CellNavigation, NothingWithoutRowsOrEditors) {
  const auto none = [](int) { return false; };
  const auto all = [](int) { return true; };
  EXPECT_EQ(NextEditableCell({0, 0}, CellStep::kForward, 0, 3, all), std::nullopt);
  EXPECT_EQ(NextEditableCell({1, 2}, CellStep::kForward, 3, 3, none), std::nullopt);
  EXPECT_EQ(NextEditableCell({1, 2}, CellStep::kBack, 3, 3, none), std::nullopt);
}

}  // namespace
}  // namespace vexa
