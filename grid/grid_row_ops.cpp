#include "grid/grid_row_ops.h"

#include <algorithm>
#include <vector>

namespace grid {

namespace {

// Rotates the sizes in [First, Last) so that Middle comes first, writing only the sizes that change.
template <class Get, class Set>
void RotateSizes(int First, int Middle, int Last, Get&& get, Set&& set) {
  if (First >= Middle || Middle >= Last) return;
  std::vector<int> sizes;
  sizes.reserve(Last - First);
  for (int i = First; i < Last; ++i) sizes.push_back(get(i));
  std::rotate(sizes.begin(), sizes.begin() + (Middle - First), sizes.end());
  for (int i = First; i < Last; ++i)
    if (get(i) != sizes[i - First]) set(i, sizes[i - First]);
}

}  // namespace

void TGridRowOps::RotateRowHeights(int First, int Middle, int Last) {
  RotateSizes(First, Middle, Last, [&](int r) { return FGrid.RowHeights(r); },
              [&](int r, int h) { FGrid.SetRowHeights(r, h); });
}

void TGridRowOps::RotateColWidths(int First, int Middle, int Last) {
  RotateSizes(First, Middle, Last, [&](int c) { return FGrid.ColWidths(c); },
              [&](int c, int w) { FGrid.SetColWidths(c, w); });
}

void TGridRowOps::RowsInserted(int ARow, int Count) {
  // The grid grew at its end: the new rows (default height there) move up to ARow.
  const int last = FGrid.RowCount();
  for (int r = last - Count; r < last; ++r)
    if (FGrid.RowHeights(r) != FGrid.DefaultRowHeight()) FGrid.SetRowHeights(r, FGrid.DefaultRowHeight());
  RotateRowHeights(ARow, last - Count, last);
  if (FSel) FSel->RowsInserted(ARow, Count);
}

void TGridRowOps::RowsRemoved(int ARow, int Count) {
  // Called before the count shrinks: the removed rows' heights go to the end, where the count drops them.
  RotateRowHeights(ARow, std::min(ARow + Count, FGrid.RowCount()), FGrid.RowCount());
  if (FSel) FSel->RowsRemoved(ARow, Count);
}

void TGridRowOps::RowsMoved(int FromIndex, int Count, int ToIndex) {
  if (FromIndex < ToIndex)
    RotateRowHeights(FromIndex, FromIndex + Count, ToIndex + Count);
  else
    RotateRowHeights(ToIndex, FromIndex, FromIndex + Count);
  if (FSel) FSel->RowsMoved(FromIndex, Count, ToIndex);
}

void TGridRowOps::RowsSwapped(int ARow1, int ARow2) {
  const int h1 = FGrid.RowHeights(ARow1), h2 = FGrid.RowHeights(ARow2);
  if (h1 != h2) FGrid.SetRowHeights(ARow1, h2), FGrid.SetRowHeights(ARow2, h1);
}

void TGridRowOps::RowsPermuted(int First, const std::vector<int>& From) {
  std::vector<int> heights(From.size());
  for (std::size_t k = 0; k < From.size(); ++k) heights[k] = FGrid.RowHeights(From[k]);
  for (std::size_t k = 0; k < From.size(); ++k) {
    const int r = First + static_cast<int>(k);
    if (FGrid.RowHeights(r) != heights[k]) FGrid.SetRowHeights(r, heights[k]);
  }
}

// Column operations name real columns; widths and column flags are kept per display column. The columns of
// an operation are contiguous in both: hidden ones in the block are not shown.
void TGridRowOps::ColsInserted(int ACol, int Count) {
  if (FHiding) FHiding->Columns().ColsInserted(ACol, Count), FHiding->RecordColumnsInserted(ACol, Count);
  const int at = FHiding ? FHiding->RealToDisplCol(ACol) : ACol;
  const int last = FGrid.ColCount();
  for (int c = last - Count; c < last; ++c)
    if (FGrid.ColWidths(c) != FGrid.DefaultColWidth()) FGrid.SetColWidths(c, FGrid.DefaultColWidth());
  RotateColWidths(std::min(at, last - Count), last - Count, last);
  if (FSel) FSel->ColsInserted(at, Count);
}

void TGridRowOps::ColsRemoved(int ACol, int Count) {
  // Called before the count shrinks: the removed columns' widths go to the end, where the count drops them.
  const int from = FHiding ? FHiding->RealToDisplCol(ACol) : ACol;
  const int to = std::min(FHiding ? FHiding->RealToDisplCol(ACol + Count) : ACol + Count, FGrid.ColCount());
  RotateColWidths(from, to, FGrid.ColCount());
  if (FHiding) FHiding->Columns().ColsRemoved(ACol, Count), FHiding->RecordColumnsRemoved(ACol, Count);
  if (FSel) FSel->ColsRemoved(from, to - from);
}

void TGridRowOps::ColsSwapped(int ACol1, int ACol2) {
  if (FHiding) FHiding->RecordColumnsSwapped(ACol1, ACol2);
  const int w1 = FGrid.ColWidths(ACol1), w2 = FGrid.ColWidths(ACol2);
  if (w1 != w2) FGrid.SetColWidths(ACol1, w2), FGrid.SetColWidths(ACol2, w1);
}

}  // namespace grid
