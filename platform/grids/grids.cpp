// TCustomGrid: counts, sizes, geometry, view, current cell and selection, row and column moves, scroll bars.
#include "platform/grids/grids.h"

#include <QWidget>

#include <algorithm>

#include "platform/rtl/exceptions.h"

namespace plat {

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks};
  FCols.SetDefaultSize(64);
  FRows.SetDefaultSize(24);
  UpdateGaps();
  FCols.SetCount(5);
  FRows.SetCount(5);
  FCurrent = FAnchor = FTopLeft = TGridCoord{1, 1};
  SetColor(clWindow);
  SetTabStop(true);
  SetBounds(0, 0, 320, 120);
}

TCustomGrid::~TCustomGrid() = default;

// ---- counts and fixed parts ----------------------------------------------------------------------------

void TCustomGrid::SetColCount(int v) {
  v = std::max(v, 1);
  if (v == ColCount()) return;
  if (v <= FFixedCols) FFixedCols = v - 1;
  const int oldCols = ColCount(), oldRows = RowCount();
  FCols.SetCount(v);
  ClampCells();
  SizeChanged(oldCols, oldRows);
  UpdateScrollBars();
  Invalidate();
  InvalidateEditor();
}

void TCustomGrid::SetRowCount(int v) {
  v = std::max(v, 1);
  if (v == RowCount()) return;
  if (v <= FFixedRows) FFixedRows = v - 1;
  const int oldCols = ColCount(), oldRows = RowCount();
  FRows.SetCount(v);
  ClampCells();
  SizeChanged(oldCols, oldRows);
  UpdateScrollBars();
  Invalidate();
  InvalidateEditor();
}

void TCustomGrid::SetFixedCols(int v) {
  if (v < 0) throw EInvalidGridOperation("Grid index out of range");
  if (v >= ColCount()) throw EInvalidGridOperation("Fixed column count must be less than column count");
  FFixedCols = v;
  ClampCells();
  UpdateScrollBars();
  Invalidate();
  InvalidateEditor();
}

void TCustomGrid::SetFixedRows(int v) {
  if (v < 0) throw EInvalidGridOperation("Grid index out of range");
  if (v >= RowCount()) throw EInvalidGridOperation("Fixed row count must be less than row count");
  FFixedRows = v;
  ClampCells();
  UpdateScrollBars();
  Invalidate();
  InvalidateEditor();
}

// Keeps the current cell, the anchor and the top-left cell inside the scrollable part.
void TCustomGrid::ClampCells() {
  auto clamp = [](TGridCoord& c, int fc, int fr, int cc, int rc) {
    c.X = std::clamp(c.X, fc, std::max(fc, cc - 1));
    c.Y = std::clamp(c.Y, fr, std::max(fr, rc - 1));
  };
  clamp(FCurrent, FFixedCols, FFixedRows, ColCount(), RowCount());
  clamp(FAnchor, FFixedCols, FFixedRows, ColCount(), RowCount());
  FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
  FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, std::max(FFixedRows, MaxTopRow()));
}

// ---- sizes -----------------------------------------------------------------------------------------------

void TCustomGrid::SetDefaultColWidth(int v) {
  FCols.SetDefaultSize(v);
  ColWidthsChanged();
  UpdateScrollBars();
  Invalidate();
  InvalidateEditor();
}

void TCustomGrid::SetDefaultRowHeight(int v) {
  FRows.SetDefaultSize(v);
  RowHeightsChanged();
  UpdateScrollBars();
  Invalidate();
  InvalidateEditor();
}

void TCustomGrid::SetColWidths(int i, int v) {
  if (i < 0 || i >= ColCount()) throw EInvalidGridOperation("Grid index out of range");
  if (FCols.Size(i) == v) return;
  FCols.SetSize(i, v);
  ColWidthsChanged();
  UpdateScrollBars();
  Invalidate();
  InvalidateEditor();
}

void TCustomGrid::SetRowHeights(int i, int v) {
  if (i < 0 || i >= RowCount()) throw EInvalidGridOperation("Grid index out of range");
  if (FRows.Size(i) == v) return;
  FRows.SetSize(i, v);
  RowHeightsChanged();
  UpdateScrollBars();
  Invalidate();
  InvalidateEditor();
}

void TCustomGrid::SetGridLineWidth(int v) {
  v = std::max(v, 0);
  if (v == FGridLineWidth) return;
  FGridLineWidth = v;
  UpdateGaps();
  UpdateScrollBars();
  Invalidate();
  InvalidateEditor();
}

int TCustomGrid::GridWidth() const {
  return static_cast<int>(std::min<std::int64_t>(FCols.Extent(), INT32_MAX));
}
int TCustomGrid::GridHeight() const {
  return static_cast<int>(std::min<std::int64_t>(FRows.Extent(), INT32_MAX));
}

void TCustomGrid::ChangeScale(int M, int D) {
  if (M == D || D == 0) return;
  FCols.Scale(M, D);
  FRows.Scale(M, D);
  ColWidthsChanged();
  RowHeightsChanged();
  UpdateScrollBars();
  Invalidate();
}

// ---- looks and behaviour -----------------------------------------------------------------------------------

void TCustomGrid::SetFixedColor(TColor v) {
  FFixedColor = v;
  Invalidate();
}

void TCustomGrid::SetDefaultDrawing(bool v) {
  FDefaultDrawing = v;
  Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions v) {
  if (v == FOptions) return;
  if (v.Contains(goRowSelect)) v.Exclude(goAlwaysShowEditor);
  FOptions = v;
  UpdateGaps();
  UpdateScrollBars();
  if (!FOptions.Contains(goEditing)) HideEditor();
  if (FOptions.Contains(goRowSelect)) FAnchor.X = ColCount() - 1;
  if (FOptions.Contains(goAlwaysShowEditor) && FOptions.Contains(goEditing)) ShowEditor();
  Invalidate();
}

// The line width is room between the cells only where the lines between normal cells are drawn.
void TCustomGrid::UpdateGaps() {
  FCols.SetGap(FOptions.Contains(goVertLine) ? FGridLineWidth : 0);
  FRows.SetGap(FOptions.Contains(goHorzLine) ? FGridLineWidth : 0);
}

void TCustomGrid::SetScrollBars(TScrollStyle v) {
  FScrollBars = v;
  UpdateScrollBars();
}

void TCustomGrid::SetBorderStyle(TFormBorderStyle v) {
  FBorderStyle = v;
  Invalidate();
}

// ---- geometry --------------------------------------------------------------------------------------------

TCustomGrid::TAxisView TCustomGrid::HorzView() const { return {&FCols, FFixedCols, FTopLeft.X, ClientWidth()}; }
TCustomGrid::TAxisView TCustomGrid::VertView() const { return {&FRows, FFixedRows, FTopLeft.Y, ClientHeight()}; }

// Client pixel where the index starts (for a scrollable index before `first` the result lies left of the
// fixed part and means nothing).
int TCustomGrid::PixelOf(const TAxisView& v, int index) const {
  if (index < v.Fixed) return static_cast<int>(v.Axis->Pos(index));
  const std::int64_t p = v.FixedExtent() + v.Axis->Pos(index) - v.Axis->Pos(v.First);
  return static_cast<int>(std::clamp<std::int64_t>(p, INT32_MIN, INT32_MAX));
}

int TCustomGrid::CellAt(const TAxisView& v, int pixel) const {
  if (pixel < 0 || pixel >= v.Client) return -1;
  const std::int64_t fixedExtent = v.FixedExtent();
  if (pixel < fixedExtent) return v.Axis->IndexAt(pixel);
  const int i = v.Axis->IndexAt(pixel - fixedExtent + v.Axis->Pos(v.First));
  return i >= v.Axis->Count() ? -1 : i;
}

namespace {
// Fully shown scrollable indexes from `first`: those ending (with their line) within the space left.
int FullyVisible(const TGridAxis& axis, int first, std::int64_t avail) {
  if (first >= axis.Count()) return 0;
  const int k = axis.IndexAt(axis.Pos(first) + std::max<std::int64_t>(avail, 0));
  return std::max(k - first, 1);
}

// The smallest start index from which the indexes up to `last` fit in `avail` pixels (at most `last`).
int FirstToShow(const TGridAxis& axis, int last, std::int64_t avail) {
  const std::int64_t target = axis.Pos(last + 1) - avail;
  if (target <= 0) return 0;
  int t = axis.IndexAt(target);
  if (t < axis.Count() && axis.Pos(t) < target) ++t;
  return std::min(t, last);
}
}  // namespace

int TCustomGrid::VisibleColCount() const {
  const TAxisView v = HorzView();
  return FullyVisible(FCols, v.First, v.Avail());
}

int TCustomGrid::VisibleRowCount() const {
  const TAxisView v = VertView();
  return FullyVisible(FRows, v.First, v.Avail());
}

int TCustomGrid::MaxLeftCol() const {
  if (ColCount() <= FFixedCols) return FFixedCols;
  return std::max(FFixedCols, FirstToShow(FCols, ColCount() - 1, HorzView().Avail()));
}

int TCustomGrid::MaxTopRow() const {
  if (RowCount() <= FFixedRows) return FFixedRows;
  return std::max(FFixedRows, FirstToShow(FRows, RowCount() - 1, VertView().Avail()));
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const {
  if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount()) return TRect();
  const TAxisView h = HorzView(), v = VertView();
  if ((ACol >= FFixedCols && ACol < h.First) || (ARow >= FFixedRows && ARow < v.First)) return TRect();
  const int x = PixelOf(h, ACol), y = PixelOf(v, ARow);
  if (x >= h.Client || y >= v.Client) return TRect();
  TRect r(x, y, std::min(x + FCols.Size(ACol), h.Client), std::min(y + FRows.Size(ARow), v.Client));
  if (r.IsEmpty()) return TRect();
  return r;
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
  const TGridCoord c = MouseCoord(X, Y);
  ACol = c.X;
  ARow = c.Y;
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const {
  TGridCoord c{CellAt(HorzView(), X), CellAt(VertView(), Y)};
  if (c.X < 0 || c.Y < 0) c = TGridCoord{-1, -1};
  return c;
}

// ---- view ------------------------------------------------------------------------------------------------

void TCustomGrid::SetTopRow(int v) { SetTopLeft(FTopLeft.X, v); }
void TCustomGrid::SetLeftCol(int v) { SetTopLeft(v, FTopLeft.Y); }

void TCustomGrid::SetTopLeft(int ACol, int ARow) {
  ACol = std::clamp(ACol, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
  ARow = std::clamp(ARow, FFixedRows, std::max(FFixedRows, MaxTopRow()));
  if (ACol == FTopLeft.X && ARow == FTopLeft.Y) return;
  const TGridCoord old = FTopLeft;
  FTopLeft = TGridCoord{ACol, ARow};
  ScrollView(old);
  UpdateScrollPos();
  InvalidateEditor();
  TopLeftChanged();
}

// A move along one axis by less than the view moves the pixels already drawn and repaints only the cells that
// come into view; any other change repaints the whole view.
void TCustomGrid::ScrollView(const TGridCoord& Old) {
  QWidget* w = Widget();
  const bool vert = Old.X == FTopLeft.X, horz = Old.Y == FTopLeft.Y;
  if (w && w->isVisible() && w->updatesEnabled() && FGridState == gsNormal && vert != horz) {
    const TAxisView a = vert ? VertView() : HorzView();
    const TGridAxis& axis = vert ? FRows : FCols;
    const std::int64_t d = axis.Pos(vert ? Old.Y : Old.X) - axis.Pos(vert ? FTopLeft.Y : FTopLeft.X);
    const std::int64_t area = a.Avail();
    // The last pixels at the far edge stay where they are and are painted again: a frame drawn along the
    // client's edge must not move into the view.
    constexpr int edge = 2;
    if (area > edge && std::abs(d) < area - edge) {
      const int fixed = static_cast<int>(a.FixedExtent()), moved = static_cast<int>(area) - edge;
      if (vert) {
        w->scroll(0, static_cast<int>(d), QRect(0, fixed, ClientWidth(), moved));
        w->update(0, fixed + moved, ClientWidth(), edge);
      } else {
        w->scroll(static_cast<int>(d), 0, QRect(fixed, 0, moved, ClientHeight()));
        w->update(fixed + moved, 0, edge, ClientHeight());
      }
      return;
    }
  }
  Invalidate();
}

void TCustomGrid::ClampInView(const TGridCoord& Coord) {
  const TAxisView h = HorzView(), v = VertView();
  int left = FTopLeft.X, top = FTopLeft.Y;
  if (Coord.X >= FFixedCols && Coord.X < ColCount()) {
    if (Coord.X < left)
      left = Coord.X;
    else if (Coord.X >= left + VisibleColCount())
      left = std::max(FirstToShow(FCols, Coord.X, h.Avail()), FFixedCols);
  }
  if (Coord.Y >= FFixedRows && Coord.Y < RowCount()) {
    if (Coord.Y < top)
      top = Coord.Y;
    else if (Coord.Y >= top + VisibleRowCount())
      top = std::max(FirstToShow(FRows, Coord.Y, v.Avail()), FFixedRows);
  }
  SetTopLeft(left, top);
}

void TCustomGrid::Resize() {
  UpdateScrollBars();
  ClampCells();
  InvalidateEditor();
  TCustomControl::Resize();
}

// ---- current cell and selection ------------------------------------------------------------------------------

TGridRect TCustomGrid::Selection() const {
  TGridRect r{std::min(FCurrent.X, FAnchor.X), std::min(FCurrent.Y, FAnchor.Y), std::max(FCurrent.X, FAnchor.X),
              std::max(FCurrent.Y, FAnchor.Y)};
  if (FOptions.Contains(goRowSelect)) {
    r.Left = FFixedCols;
    r.Right = ColCount() - 1;
  }
  return r;
}

void TCustomGrid::SetSelection(const TGridRect& v) {
  FCurrent = TGridCoord{v.Left, v.Top};
  FAnchor = TGridCoord{v.Right, v.Bottom};
  ClampCells();
  Invalidate();
  InvalidateEditor();
}

void TCustomGrid::SetCol(int v) {
  if (v != FCurrent.X) FocusCell(v, FCurrent.Y, true);
}

void TCustomGrid::SetRow(int v) {
  if (v != FCurrent.Y) FocusCell(FCurrent.X, v, true);
}

void TCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor) {
  MoveColRow(ACol, ARow, MoveAnchor, true);
  UpdateEdit();
  Click();
}

void TCustomGrid::MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show) {
  if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
    throw EInvalidGridOperation("Grid index out of range");
  if (!HandleSelectCell(ACol, ARow)) return;
  if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
  FCurrent = TGridCoord{ACol, ARow};
  if (MoveAnchor || !FOptions.Contains(goRangeSelect)) {
    FAnchor = FCurrent;
    if (FOptions.Contains(goRowSelect)) FAnchor.X = ColCount() - 1;
  }
  if (Show) ClampInView(FCurrent);
  Invalidate();
  InvalidateEditor();
}

void TCustomGrid::MoveAnchor(const TGridCoord& NewAnchor) {
  if (!FOptions.Contains(goRangeSelect)) {
    MoveColRow(NewAnchor.X, NewAnchor.Y, true, true);
    return;
  }
  FAnchor = NewAnchor;
  if (FOptions.Contains(goRowSelect)) FAnchor.X = ColCount() - 1;
  ClampInView(NewAnchor);
  Invalidate();
}

void TCustomGrid::InvalidateCell(int ACol, int ARow) {
  if (!CellRect(ACol, ARow).IsEmpty()) Invalidate();
}
void TCustomGrid::InvalidateRow(int ARow) { InvalidateCell(FFixedCols > 0 ? 0 : FTopLeft.X, ARow); }
void TCustomGrid::InvalidateCol(int ACol) { InvalidateCell(ACol, FFixedRows > 0 ? 0 : FTopLeft.Y); }

// ---- rows and columns ---------------------------------------------------------------------------------------

namespace {
// Where an index goes when the entry at `from` moves to `to`.
int Adjusted(int index, int from, int to) {
  if (index == from) return to;
  if (from < to && index > from && index <= to) return index - 1;
  if (from > to && index >= to && index < from) return index + 1;
  return index;
}
}  // namespace

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex) {
  if (FromIndex < 0 || ToIndex < 0 || FromIndex >= ColCount() || ToIndex >= ColCount())
    throw EInvalidGridOperation("Grid index out of range");
  if (FromIndex == ToIndex) return;
  FCurrent.X = Adjusted(FCurrent.X, FromIndex, ToIndex);
  FAnchor.X = Adjusted(FAnchor.X, FromIndex, ToIndex);
  FCols.Move(FromIndex, ToIndex);
  ClampCells();
  HandleColumnMoved(FromIndex, ToIndex);
  UpdateScrollBars();
  Invalidate();
  InvalidateEditor();
}

void TCustomGrid::MoveRow(int FromIndex, int ToIndex) {
  if (FromIndex < 0 || ToIndex < 0 || FromIndex >= RowCount() || ToIndex >= RowCount())
    throw EInvalidGridOperation("Grid index out of range");
  if (FromIndex == ToIndex) return;
  FCurrent.Y = Adjusted(FCurrent.Y, FromIndex, ToIndex);
  FAnchor.Y = Adjusted(FAnchor.Y, FromIndex, ToIndex);
  FRows.Move(FromIndex, ToIndex);
  ClampCells();
  HandleRowMoved(FromIndex, ToIndex);
  UpdateScrollBars();
  Invalidate();
  InvalidateEditor();
}

void TCustomGrid::DeleteRow(int ARow) {
  MoveRow(ARow, RowCount() - 1);
  SetRowCount(RowCount() - 1);
}

// ---- virtual steps with nothing to do here -----------------------------------------------------------------------

void TCustomGrid::HandleDrawCell(int, int, const TRect&, TGridDrawState) {}
bool TCustomGrid::HandleSelectCell(int, int) { return true; }
void TCustomGrid::TopLeftChanged() {}
void TCustomGrid::SizeChanged(int, int) {}
void TCustomGrid::ColWidthsChanged() {}
void TCustomGrid::RowHeightsChanged() {}
void TCustomGrid::HandleColumnMoved(int, int) {}
void TCustomGrid::HandleRowMoved(int, int) {}

// ---- scroll bars ----------------------------------------------------------------------------------------------

namespace {
int MulDivRound(std::int64_t a, std::int64_t b, std::int64_t c) {
  if (c == 0) return 0;
  const std::int64_t p = a * b;
  return static_cast<int>((p >= 0 ? p + c / 2 : p - c / 2) / c);
}
}  // namespace

void TCustomGrid::UpdateScrollBars() {
  if (FUpdatingScrollBars) return;
  FUpdatingScrollBars = true;
  // Showing one bar narrows the room of the other: two rounds settle both.
  for (int round = 0; round < 2; ++round) {
    bool vert = (FScrollBars == ssVertical || FScrollBars == ssBoth) && MaxTopRow() > FFixedRows;
    bool horz = (FScrollBars == ssHorizontal || FScrollBars == ssBoth) && MaxLeftCol() > FFixedCols;
    DecideScrollBars(vert, horz);
    ShowScrollBar(SB_VERT, vert);
    ShowScrollBar(SB_HORZ, horz);
  }
  FUpdatingScrollBars = false;
  const TGridCoord before = FTopLeft;
  ClampCells();
  UpdateScrollPos();
  if (!(before == FTopLeft)) {
    Invalidate();
    TopLeftChanged();
  }
}

void TCustomGrid::UpdateScrollPos() {
  auto set = [this](int bar, int pos, int fixed, int max) {
    if (!ScrollBarVisible(bar)) return;
    const int thumb = max > fixed ? MulDivRound(pos - fixed, GridScrollRange, max - fixed) : 0;
    TScrollInfo now;
    now.fMask = SIF_RANGE | SIF_POS;
    GetScrollInfo(bar, now);
    if (now.nMin == 0 && now.nMax == GridScrollRange && now.nPos == thumb) return;  // nothing to tell the bar
    TScrollInfo si;
    si.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
    si.nMin = 0;
    si.nMax = GridScrollRange;
    si.nPage = 0;
    si.nPos = thumb;
    SetScrollInfo(bar, si, true);
  };
  set(SB_VERT, FTopLeft.Y, FFixedRows, MaxTopRow());
  set(SB_HORZ, FTopLeft.X, FFixedCols, MaxLeftCol());
}

void TCustomGrid::ScrollMessage(int Bar, int Code, int Pos) {
  const bool vert = Bar == SB_VERT;
  const int fixed = vert ? FFixedRows : FFixedCols;
  const int max = vert ? MaxTopRow() : MaxLeftCol();
  const int cur = vert ? FTopLeft.Y : FTopLeft.X;
  const int page = std::max(1, vert ? VisibleRowCount() : VisibleColCount());
  int next = cur;
  switch (Code) {
    case SB_LINEUP: next = cur - 1; break;
    case SB_LINEDOWN: next = cur + 1; break;
    case SB_PAGEUP: next = cur - page; break;
    case SB_PAGEDOWN: next = cur + page; break;
    case SB_TOP: next = fixed; break;
    case SB_BOTTOM: next = max; break;
    case SB_THUMBTRACK:
      if (!FOptions.Contains(goThumbTracking)) return;
      next = fixed + MulDivRound(Pos, max - fixed, GridScrollRange);
      break;
    case SB_THUMBPOSITION: next = fixed + MulDivRound(Pos, max - fixed, GridScrollRange); break;
    default: return;
  }
  if (vert)
    SetTopLeft(FTopLeft.X, next);
  else
    SetTopLeft(next, FTopLeft.Y);
  UpdateScrollPos();
}

// ---- messages ---------------------------------------------------------------------------------------------------

void TCustomGrid::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_PAINT:
      PaintDirect();
      return;
    case WM_VSCROLL:
    case WM_HSCROLL:
      ScrollMessage(M.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, M.WParamLo(), static_cast<std::int16_t>(M.WParamHi()));
      M.Result = 0;
      return;
    case WM_TIMER:
      if (M.WParam == GridScrollTimerId) {
        TimerTick();
        return;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(M);
      Invalidate();
      return;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
      if (FGridState != gsNormal) {
        KillTimer(GridScrollTimerId);
        FGridState = gsNormal;
        Invalidate();
      }
      break;
    default: break;
  }
  TCustomControl::Dispatch(M);
}

LRESULT TCustomGrid::DefaultDlgCode() const {
  LRESULT code = DLGC_WANTARROWS;
  if (!FOptions.Contains(goRowSelect) && FOptions.Contains(goTabs)) code |= DLGC_WANTTAB;
  if (FOptions.Contains(goEditing)) code |= DLGC_WANTCHARS;
  return code;
}

// ---- TDrawGrid -----------------------------------------------------------------------------------------------

TDrawGrid::TDrawGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}

void TDrawGrid::HandleDrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TDrawGrid::HandleSelectCell(int ACol, int ARow) {
  bool can = true;
  if (OnSelectCell) OnSelectCell(this, ACol, ARow, can);
  return can;
}

QString TDrawGrid::HandleGetEditText(int ACol, int ARow) {
  QString v;
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, v);
  return v;
}

void TDrawGrid::HandleSetEditText(int ACol, int ARow, const QString& Value) {
  if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

QString TDrawGrid::GetEditMask(int ACol, int ARow) {
  QString v;
  if (OnGetEditMask) OnGetEditMask(this, ACol, ARow, v);
  return v;
}

void TDrawGrid::HandleColumnMoved(int FromIndex, int ToIndex) {
  if (OnColumnMoved) OnColumnMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::HandleRowMoved(int FromIndex, int ToIndex) {
  if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::TopLeftChanged() {
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

}  // namespace plat
