#pragma once
// The grid's sort state as a short text: "u2" or "d2" for one column ascending or descending (u-1 for an
// unsorted grid), "i;u1;d3" for sort keys. Reading checks the columns against the grid's before anything
// changes.

#include <QString>

#include <cstdint>
#include <vector>

namespace grid {

struct TSortState {
  bool IndexShow = false;
  int Column = -1;
  bool Descending = false;
  // Real column in bits 0..30, bit 31 set for descending.
  std::vector<std::uint32_t> Keys;
};

QString SortStateToString(const TSortState& State);

// What a sort-settings text asks for.
enum TSortTextKind {
  stkNothing,    // an empty text: nothing changes
  stkIgnored,    // it names no usable column: nothing changes
  stkIndexed,    // index mode with Keys (empty: the mode only, no sort)
  stkColumn,     // the direction, and when HasColumn one column (-1: unsorted)
};

struct TSortTextRequest {
  TSortTextKind Kind = stkNothing;
  int Column = -1;
  bool Descending = false;
  bool HasColumn = false;
  std::vector<std::uint32_t> Keys;
};

// Reads a text against a grid of ColumnCount real columns. A text of one character raises plat::Exception
// "Invalid sort settings specifier". A column that the grid does not have makes the whole text ignored.
TSortTextRequest ParseSortText(const QString& Value, int ColumnCount);

}  // namespace grid
