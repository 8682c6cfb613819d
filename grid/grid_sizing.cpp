#include "grid/grid_sizing.h"

#include <cmath>

#include "grid/basegrid.h"
#include "grid/extgrid_events.h"
#include "grid/griderror.h"
#include "grid/model/options.h"
#include "platform/forms/forms.h"

namespace grid {

void TGridSizing::StretchColumn(int Index) {
  TBaseGrid& g = Grid();
  if (g.ComponentState().Contains(plat::csLoading) || g.ComponentState().Contains(plat::csDestroying)) return;
  if (Index == -1) Index = g.ColCount() - 1;
  if (Index >= g.ColCount()) throw EExtGridError(QStringLiteral("Stretch column index out of range"));
  if (g.ColCount() == 0 || !FHost.ColumnSizing().Stretch() || FStretching || Index < 0) return;
  FStretching = true;
  const int client = g.ClientWidth();
  if (g.ColCount() == 1) {
    g.SetColWidths(Index, client);
  } else {
    int others = 0;
    for (int c = 0; c < g.ColCount(); ++c)
      if (c != Index) others += g.ColWidths(c);
    if (others < client)
      g.SetColWidths(Index, client - others - 1);
    else if (g.LeftCol() == FHost.GridFixedCols())
      g.SetColWidths(Index, g.DefaultColWidth());
  }
  FStretching = false;
}

int TGridSizing::IntegralHeight(int AHeight) const {
  const TBaseGrid& g = Grid();
  const int rowHeight = g.DefaultRowHeight();
  if (!FHost.TrimsToWholeRows() || FHost.GridUpdateCount() > 0 || rowHeight <= 0) return AHeight;
  const int h = g.VisibleColCount() + FHost.GridFixedCols() < g.ColCount() ? FHost.ScrollBarWidth() : 0;
  const int b = g.BorderStyle() == plat::bsSingle ? 2 : 0;
  return AHeight + b - ((AHeight - h - b) % rowHeight);
}

void TGridSizing::BeginUserSizing(plat::TGridState State, int Index) {
  FUserCol = State == plat::gsColSizing ? Index : -1;
  FUserRow = State == plat::gsRowSizing ? Index : -1;
}

void TGridSizing::Remember() {
  FColWidths.assign(Grid().ColCount(), 0);
  for (int c = 0; c < Grid().ColCount(); ++c) FColWidths[c] = Grid().ColWidths(c);
  FRowHeights.assign(Grid().RowCount(), 0);
  for (int r = 0; r < Grid().RowCount(); ++r) FRowHeights[r] = Grid().RowHeights(r);
}

// Every other normal column (row) takes the ratio the user gave the sized one, to the nearest pixel.
void TGridSizing::ScaleOthers(bool Cols, int Sized, int OldSize) {
  TBaseGrid& g = Grid();
  const int now = Cols ? g.ColWidths(Sized) : g.RowHeights(Sized);
  const double ratio = double(now) / OldSize;
  const int from = Cols ? FHost.GridFixedCols() : FHost.GridFixedRows();
  const int to = Cols ? g.ColCount() : g.RowCount();
  for (int i = from; i < to; ++i) {
    if (i == Sized) continue;
    const int size = Cols ? g.ColWidths(i) : g.RowHeights(i);
    const int scaled = int(std::lround(size * ratio));
    if (Cols)
      g.plat::TCustomGrid::SetColWidths(i, scaled);
    else
      g.plat::TCustomGrid::SetRowHeights(i, scaled);
  }
}

void TGridSizing::ColWidthsChanged() {
  TBaseGrid& g = Grid();
  if (FStretching) return;
  if (FHost.ColumnSizing().Stretch()) StretchColumn(FHost.ColumnSizing().StretchColumn);
  const int c = FUserCol;
  if (c >= 0 && c < int(FColWidths.size())) {
    const int old = FColWidths[c];
    FStretching = true;  // the scaling below changes widths again
    if (FHost.SizingActions().AllColumnSize && old > 0) ScaleOthers(true, c, old);
    TExtGridEvents& ev = FHost.SizingEvents();
    if (ev.OnEndColumnSize) ev.OnEndColumnSize(&g, c);
    int width = g.ColWidths(c);
    FHost.CheckColSize(c, width);
    if (width != g.ColWidths(c)) g.plat::TCustomGrid::SetColWidths(c, width);
    FStretching = false;
  }
  Remember();
}

void TGridSizing::RowHeightsChanged() {
  TBaseGrid& g = Grid();
  if (FStretching) return;
  const int r = FUserRow;
  if (r >= 0 && r < int(FRowHeights.size())) {
    FStretching = true;
    if (FHost.SizingActions().AllRowSize && FRowHeights[r] > 0) ScaleOthers(false, r, FRowHeights[r]);
    TExtGridEvents& ev = FHost.SizingEvents();
    if (ev.OnEndRowSize) ev.OnEndRowSize(&g, r);
    FStretching = false;
  }
  Remember();
}

bool TGridSizing::IsOnSizingBorder(int X, int Y) const {
  int c = -1, r = -1;
  Grid().MouseToCell(X, Y, c, r);
  if (c < 0 || r < 0) return false;
  const plat::TRect rc = Grid().plat::TCustomGrid::CellRect(c, r);
  const plat::TGridOptions o = Grid().Options();
  if (r <= FHost.GridFixedRows() && o.Contains(plat::goColSizing) && (X - rc.Left < 4 || rc.Right - X < 4))
    return true;
  return c <= FHost.GridFixedCols() && o.Contains(plat::goRowSizing) && (Y - rc.Top <= 3 || rc.Bottom - Y <= 3);
}

void TGridSizing::CheckSizingState(int X, int Y, plat::TGridState& State) {
  TBaseGrid& g = Grid();
  int c = -1, r = -1;
  bool allow = true;
  g.MouseToCell(X - 6, Y, c, r);
  TExtGridEvents& ev = FHost.SizingEvents();
  if (State == plat::gsColSizing && r >= 0 && r < FHost.GridFixedRows() && c >= 0 && ev.OnColumnSize)
    ev.OnColumnSize(&g, c, allow);
  g.MouseToCell(X, Y - 6, c, r);
  if (allow && State == plat::gsRowSizing && c >= 0 && c < FHost.GridFixedCols() && r >= 0 && ev.OnRowSize)
    ev.OnRowSize(&g, r, allow);
  if (!allow) State = plat::gsNormal;
}

}  // namespace grid
