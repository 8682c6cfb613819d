// Merged cells of TCellGrid: merging, splitting and the constant-time queries over the offset encoding.

#include <algorithm>

#include "grid/model/cellgrid.h"

namespace grid {

using plat::TPoint;
using plat::TRect;

TPoint TCellGrid::GetBaseCell(const TCellProperties& p, int ACol, int ARow) const {
  if (!p.IsBaseCell && p.CellSpanX != -1 && p.CellSpanY != -1) return {ACol - p.CellSpanX, ARow - p.CellSpanY};
  return {ACol, ARow};
}

void TCellGrid::SplitAcrossRowBoundary(int ARow) {
  // An area is cut above ARow exactly when one of its cells in ARow lies below its base. (Read through the
  // base-cell query, which leaves the lazy renumbering of owners alone.)
  if (!HasCellProps() || ARow <= 0 || ARow >= RowCount()) return;
  for (int c = 0; c < TotalColCount(); ++c)
    if (BaseCell(c, ARow).Y < ARow) SplitCells(c, ARow);
}

void TCellGrid::SplitArea(int BaseCol, int BaseRow, int W, int H) {
  // Cells past the grid (after a shrink) are reset too when they still hold properties, so the area never
  // comes back half.
  for (int i = BaseCol; i <= BaseCol + W; ++i)
    for (int j = BaseRow; j <= BaseRow + H; ++j)
      if (TCellProperties* p = PropsAt(i, j)) {
        p->IsBaseCell = true;
        p->CellSpanX = -1;
        p->CellSpanY = -1;
      }
  for (int i = BaseCol; i <= BaseCol + W; ++i)
    for (int j = BaseRow; j <= BaseRow + H; ++j) RepaintCell(i, j);
}

void TCellGrid::SplitOverlapping(int c, int r, int spanx, int spany) {
  // Every area the new block touches is split first, so areas never overlap and every non-base cell points
  // at a base that spans it.
  for (int i = c; i < c + spanx; ++i)
    for (int j = r; j < r + spany; ++j) {
      const TCellProperties* p = PropsAt(i, j);
      if (!p || (p->CellSpanX <= 0 && p->CellSpanY <= 0)) continue;
      const TPoint b = GetBaseCell(*p, i, j);
      const TCellProperties* bp = PropsAt(b.X, b.Y);
      if (bp) SplitArea(b.X, b.Y, std::max(bp->CellSpanX, 0), std::max(bp->CellSpanY, 0));
    }
}

void TCellGrid::MergeCells(int c, int r, int spanx, int spany) {
  ++FMergeCount;
  // The block is clipped to the grid: cells outside it are never created.
  if (c < 0 || r < 0 || c >= TotalColCount() || r >= RowCount()) return;
  spanx = std::min(spanx, TotalColCount() - c);
  spany = std::min(spany, RowCount() - r);
  if (spanx < 1 || spany < 1) return;
  SplitOverlapping(c, r, spanx, spany);
  for (int i = c; i < c + spanx; ++i)
    for (int j = r; j < r + spany; ++j) {
      TCellProperties* p = GetCellProperties(i, j);
      p->IsBaseCell = i == c && j == r;
      p->CellSpanX = p->IsBaseCell ? spanx - 1 : i - c;
      p->CellSpanY = p->IsBaseCell ? spany - 1 : j - r;
    }
  for (int i = c; i < c + spanx; ++i)
    for (int j = r; j < r + spany; ++j) RepaintCell(i, j);
}

void TCellGrid::SplitCells(int c, int r) {
  if (TCellProperties* p = GetCellProperties(c, r)) {
    const TPoint b = GetBaseCell(*p, c, r);
    if (const TCellProperties* bp = PropsAt(b.X, b.Y)) SplitArea(b.X, b.Y, bp->CellSpanX, bp->CellSpanY);
  }
  --FMergeCount;
}

bool TCellGrid::IsBaseCell(int ACol, int ARow) const {
  return !HasCellProperties(ACol, ARow) || PropsAt(ACol, ARow)->IsBaseCell;
}

bool TCellGrid::IsMergedCell(int ACol, int ARow) const {
  if (!HasCellProperties(ACol, ARow)) return false;
  const TCellProperties* p = PropsAt(ACol, ARow);
  return p->CellSpanX > 0 || p->CellSpanY > 0;
}

bool TCellGrid::IsMergedNonBaseCell(int ACol, int ARow) const {
  return IsMergedCell(ACol, ARow) && !PropsAt(ACol, ARow)->IsBaseCell;
}

bool TCellGrid::IsXMergedCell(int ACol, int ARow) const {
  if (!HasCellProperties(ACol, ARow)) return false;
  const TPoint b = BaseCell(ACol, ARow);
  const TCellProperties* bp = PropsAt(b.X, b.Y);
  return bp && bp->CellSpanX > 0;
}

bool TCellGrid::IsYMergedCell(int ACol, int ARow) const {
  if (!HasCellProperties(ACol, ARow)) return false;
  const TPoint b = BaseCell(ACol, ARow);
  const TCellProperties* bp = PropsAt(b.X, b.Y);
  return bp && bp->CellSpanY > 0;
}

TPoint TCellGrid::BaseCell(int ACol, int ARow) const {
  if (!HasCellProperties(ACol, ARow)) return {ACol, ARow};
  return GetBaseCell(*PropsAt(ACol, ARow), ACol, ARow);
}

bool TCellGrid::ResolveBaseCell(int ACol, int ARow, int& BaseCol, int& BaseRow) const {
  BaseCol = ACol;
  BaseRow = ARow;
  if (!HasCellProperties(ACol, ARow)) return true;
  const TCellProperties* p = PropsAt(ACol, ARow);
  if (p->IsBaseCell) return true;
  const TPoint b = GetBaseCell(*p, ACol, ARow);
  BaseCol = b.X;
  BaseRow = b.Y;
  return false;
}

TPoint TCellGrid::CellSpan(int ACol, int ARow) const {
  if (!HasCellProperties(ACol, ARow)) return {0, 0};
  const TCellProperties* p = PropsAt(ACol, ARow);
  if (p->CellSpanX == -1 || p->CellSpanY == -1) return {0, 0};
  const TPoint b = GetBaseCell(*p, ACol, ARow);
  const TCellProperties* bp = PropsAt(b.X, b.Y);
  return bp ? TPoint(bp->CellSpanX, bp->CellSpanY) : TPoint(0, 0);
}

TPoint TCellGrid::CellExt(int ACol, int ARow) const {
  const TPoint span = CellSpan(ACol, ARow);
  if (span == TPoint(0, 0)) return {0, 0};
  const TPoint b = BaseCell(ACol, ARow);
  return {b.X + span.X - ACol, b.Y + span.Y - ARow};
}

TRect TCellGrid::FullCell(int c, int r) const {
  const TPoint b = BaseCell(c, r);
  const TPoint span = CellSpan(c, r);
  return {b.X, b.Y, b.X + span.X, b.Y + span.Y};
}

int TCellGrid::MinRowSpan(int ARow) const {
  int result = RowCount();
  for (int col = 0; col < ColCount(); ++col) {
    const int y = CellSpan(col, ARow).Y;
    if (y > 0 && y < result) result = y;
  }
  return result;
}

int TCellGrid::MaxRowSpan(int ARow) const {
  int result = 0;
  for (int col = 0; col < ColCount(); ++col) result = std::max(result, CellSpan(col, ARow).Y);
  return result;
}

bool TCellGrid::RowSpanIdentical(int ARow1, int ARow2) const {
  bool found = false;
  for (int col = 0; col < ColCount(); ++col) {
    if (CellSpan(col, ARow1).Y > 0 && CellSpan(col, ARow2).Y > 0) {
      found = true;
      if (BaseCell(col, ARow1).Y != BaseCell(col, ARow2).Y) return false;
    }
  }
  return found;
}

bool TCellGrid::ColSpanIdentical(int ACol1, int ACol2) const {
  bool found = false;
  for (int row = 0; row < RowCount(); ++row) {
    const int x1 = CellSpan(ACol1, row).X;
    const int x2 = CellSpan(ACol2, row).X;
    if (x1 > 0 && x2 > 0) {
      found = true;
      if (BaseCell(ACol1, row).X != BaseCell(ACol2, row).X) return false;
    } else if (x1 != x2) {
      return false;
    }
  }
  return found;
}

}  // namespace grid
