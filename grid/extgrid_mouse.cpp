// The string grid's side of the mouse: the message and notification hooks into the collaborators, and what
// the mouse asks of the cells (button rectangles, check box hits, radio groups, ratings, node glyphs, links,
// column auto-size, hints).
#include <QRegularExpression>

#include <algorithm>

#include "controls/mini_html.h"
#include "grid/extgrid.h"
#include "grid/input/input_host.h"
#include "platform/graphics/classic.h"

namespace grid {

using plat::TRect;

void TExtStringGrid::MouseOrBaseDispatch(plat::TMessage& Message) {
  // In cell-selector mode a left press on a cell is the descendant's, before any of the press handling.
  if (CellSelectorMode && Message.Msg == plat::WM_LBUTTONDOWN) {
    plat::TWMMouse m(Message);
    int c = -1, r = -1;
    MouseToCell(m.XPos(), m.YPos(), c, r);
    if (c >= 0 && r >= 0) {
      SelectorCellClick(c, r);
      return;
    }
  }
  if (!FMouse.Message(Message)) TRenderGrid::Dispatch(Message);
}

void TExtStringGrid::HandleMouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) {
  if (FMouse.MouseDownNote(Button, Shift, X, Y)) return;
  FMouse.RepaintHoverDown();
  TRenderGrid::HandleMouseDown(Button, Shift, X, Y);
  FollowSyncGrid();
}

void TExtStringGrid::HandleMouseMove(plat::TShiftState Shift, int X, int Y) {
  FMouse.MouseMoveNote(Shift, X, Y);
  TRenderGrid::HandleMouseMove(Shift, X, Y);
}

void TExtStringGrid::HandleMouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) {
  if (!FMouse.MouseUpNote(Button, Shift, X, Y)) return;
  TRenderGrid::HandleMouseUp(Button, Shift, X, Y);
  FMouse.RepaintHoverDown();
}

void TExtStringGrid::HandleRowMoved(int FromIndex, int ToIndex) {
  TRenderGrid::HandleRowMoved(FromIndex, ToIndex);
  RowColOps().ControlRowMoved(RealRowIndex(FromIndex), RealRowIndex(ToIndex));
  FMouse.Moved();
  SyncGridMove(false, FromIndex, ToIndex);
}

// The synchronised grid moves the same column (row), unless this move came from it.
void TExtStringGrid::SyncGridMove(bool Cols, int FromIndex, int ToIndex) {
  auto* sync = dynamic_cast<TExtStringGrid*>(FSyncGrid.Grid());
  if (!sync || sync == this || FSyncedMove || !(Cols ? FSyncGrid.MoveColumn : FSyncGrid.MoveRow)) return;
  if (std::max(FromIndex, ToIndex) >= (Cols ? sync->ColCount() : sync->RowCount())) return;
  sync->FSyncedMove = true;
  if (Cols)
    sync->MoveColumn(FromIndex, ToIndex);
  else
    sync->MoveRow(FromIndex, ToIndex);
  sync->FSyncedMove = false;
}

void TExtStringGrid::HandleDrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  const TMousePress& p = FMouse.Press();
  const TMouseHover& h = FMouse.Hover();
  const bool fixedRow = ARow < FixedRows(), fixedCol = ACol < FixedCols();
  const bool pushed = p.FixedCellPushed && p.PushedCellButton == plat::TPoint(ACol, ARow);
  if (pushed) AState.Include(plat::gdPressed);
  const bool hoverKind = HoverFixedCells == hfAll || (HoverFixedCells == hfFixedRows && fixedRow) ||
                         (HoverFixedCells == hfFixedColumns && fixedCol);
  const bool hovered = h.HoverFixedX == ACol && h.HoverFixedY == ARow && (fixedRow || fixedCol) && hoverKind;
  const bool hot = Look() == glListView && h.HotFixedCell == plat::TPoint(ACol, ARow) && (fixedRow || fixedCol);
  if (hovered || hot) AState.Include(plat::gdHotTrack);
  TRenderGrid::HandleDrawCell(ACol, ARow, ARect, AState);
  if (pushed) {
    TRect e = ARect;
    plat::DrawEdge(Canvas()->Handle(), e, plat::BDR_SUNKENINNER, plat::BF_RIGHT | plat::BF_BOTTOM);
    e = ARect;
    plat::DrawEdge(Canvas()->Handle(), e, plat::BDR_SUNKENINNER, plat::BF_LEFT | plat::BF_TOP);
  }
}

namespace {
// Where a stored column position goes when column From moves to To.
int FollowMove(int p, int From, int To) {
  if (p == From) return To;
  if (From < To && p > From && p <= To) return p - 1;
  if (To < From && p >= To && p < From) return p + 1;
  return p;
}
}  // namespace

// Hidden columns stay hidden as the columns around them move: the visibility flags and the remembered widths
// of the real columns follow the move (real indexes).
void TExtStringGrid::HiddenColumnsFollowMove(int From, int To) {
  THiddenColumns& h = FHiding.Columns();
  const int n = std::min(AllColCount(), THiddenColumns::kHideable);
  std::vector<bool> visible(std::size_t(n), true);
  std::vector<int> widths(std::size_t(n), 0);
  for (int c = 0; c < n; ++c) {
    visible[std::size_t(c)] = h.Visible(c);
    widths[std::size_t(c)] = h.Width(c);
  }
  for (int c = 0; c < n; ++c) {
    const int to = FollowMove(c, From, To);
    if (to < 0 || to >= n) continue;
    h.SetVisible(to, visible[std::size_t(c)]);
    h.SetWidth(to, widths[std::size_t(c)]);
  }
}

// The sort column follows a moved column (real indexes).
void TExtStringGrid::SortColumnFollowsMove(int From, int To) {
  auto follow = [&](int p) { return FollowMove(p, From, To); };
  FSortSettings.SetColumn(FSortSettings.Column() < 0 ? -1 : follow(FSortSettings.Column()));
  for (std::uint32_t& k : FSortSettings.Keys()) k = (k & 0xFFFF0000u) | std::uint32_t(follow(int(k & 0xFFFFu)));
  FMouse.Moved();
}

// ---- nodes ----------------------------------------------------------------------------------------------------

void TExtStringGrid::ExpandNode(int ARealRow) { FNodes.ExpandNode(ARealRow); }

void TExtStringGrid::ContractNode(int ARealRow) { FNodes.ContractNode(ARealRow); }

void TExtStringGrid::ExpandAll() { FNodes.ExpandAll(); }

void TExtStringGrid::ContractAll() { FNodes.ContractAll(); }

// The glyph box as the cell painter places it, with the indent before it.
bool TExtStringGrid::IsInNodeGlyph(int ARow, int X) {
  if (!IsNodeRow(ARow)) return false;
  const TRect r = CellRect(0, ARow);
  const int indent = Renderer().CellNode.NodeIndent();
  // A node row's glyph stands at least one indent in.
  const int boxLeft = r.Left + std::max(1, NodeLevel(ARow)) * indent - indent / 2;
  return X >= r.Left && X < boxLeft + 10;
}

// ---- cell objects -------------------------------------------------------------------------------------------

TRect TExtStringGrid::GetCellButtonRect(int ACol, int ARow) {
  const TCellGraphicView* view = CellGraphicView(RealColIndex(ACol), ARow);
  if (!view) return {};
  TRect r = CellRect(ACol, ARow);
  if (IsFixed(ACol, ARow) || ACol < FixedCols() || ARow < FixedRows()) r.Top += 1;
  plat::TAlignment ha = plat::taLeftJustify;
  TVAlignment va = vtaTop;
  GetCellAlignment(ACol, ARow, ha, va);
  return Renderer().PlaceGraphic(*view, r, ha, va, 0, ARow).Rect;
}

bool TExtStringGrid::ToggleExpand(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(RealColIndex(ACol), ARow);
  if (!g) return false;
  const bool expanded = !g->CellVar.toBool();
  g->CellVar = expanded;
  RepaintCell(ACol, ARow);
  return expanded;
}

bool TExtStringGrid::InCheckBox(int ACol, int ARow, int X, int Y) {
  plat::TAlignment ha = plat::taLeftJustify;
  TVAlignment va = vtaTop;
  GetCellAlignment(ACol, ARow, ha, va);
  return CellChecks().IsInCheckBox(RealColIndex(ACol), ARow, CellRect(ACol, ARow), X, Y,
                                   FMouseActions.PreciseCheckBoxCheck, FControlLook.CheckSize(), ha, 0);
}

bool TExtStringGrid::DoRatingChange(int ACol, int ARow, double& Value) {
  if (OnRatingChange) OnRatingChange(this, ACol, ARow, Value);
  return true;
}

void TExtStringGrid::ClickRadioGroup(int ACol, int ARow, int XOffset, int YOffset) {
  const plat::TPoint b = BaseCell(DisplColIndex(ACol), ARow);
  const int dc = b.X, br = b.Y, rc = RealColIndex(dc);
  TCellGraphic* g = GetCellGraphic(rc, br);
  plat::TStrings* items = CellChecks().GetRadioStrings(rc, br);
  if (!g || !items) return;
  if (!IsFixed(dc, br)) {
    SetCol(dc);
    SetRow(br);
  }
  plat::TCanvas& c = *Canvas();
  c.Font()->Assign(Font());
  DoGetCellColor(dc, br, {}, c.Brush(), c.Font());
  const TControlStyle style = FControlLook.ControlStyle();
  const int s = style == csClassic || style == csFlat ? FControlLook.RadioSize() : 16;
  const bool horizontal = g->CellBoolean;
  int sum = 0, hit = -1;
  for (int i = 0; i < items->Count() && hit < 0; ++i) {
    const int prev = sum;
    sum += horizontal ? c.TextWidth(items->Strings(i)) + s : std::max(s, c.TextHeight(QStringLiteral("gh")));
    const int offset = horizontal ? XOffset : YOffset;
    if (prev < offset && offset < sum) hit = i;
  }
  if (hit < 0) return;
  if (g->CellIndex == -1)
    SetCells(rc, br, items->Strings(hit));
  else
    g->CellIndex = hit;
  SetCells(rc, br, Cells(rc, br));
  CellChecks().SetRadioIdx(rc, br, hit);
  if (OnRadioClick) OnRadioClick(this, dc, br, hit);
}

// ---- links, clicks, sizes ----------------------------------------------------------------------------------

void TExtStringGrid::FollowAnchor(const QString& Anchor) {
  const int at = Anchor.toUpper().indexOf(QLatin1String("CELL://"));
  if (at < 0) {
    OpenLink(Anchor);
    return;
  }
  static const QRegularExpression ref(QStringLiteral("^R(\\d+)C(\\d+)"),
                                      QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch m = ref.match(Anchor.mid(at + 7).trimmed());
  if (!m.hasMatch()) return;
  const int row = m.captured(1).toInt(), col = m.captured(2).toInt();
  // A reference out of the normal cells (it comes from cell data) changes nothing.
  if (row < FixedRows() || row >= RowCount() || col < FixedCols() || col >= ColCount()) return;
  SetRow(row);
  SetCol(col);
  ScrollInView(col, row);
}

bool TExtStringGrid::OpenLink(const QString& Href) { return controls::OpenHTMLLink(Href); }

void TExtStringGrid::CancelTracking() {
  KillTimer(plat::GridScrollTimerId);
  FGridState = plat::gsNormal;
  SetMouseCapture(false);
  Invalidate();
}

// ---- hints ---------------------------------------------------------------------------------------------------

void TExtStringGrid::GetCellHintInfo(plat::TPoint CursorPos, QString& HintStr, plat::TPoint& HintPos) {
  int ACol = -1, ARow = -1;
  MouseToCell(CursorPos.X, CursorPos.Y, ACol, ARow);
  if (ACol < 0 || ARow < 0) return;
  const plat::TPoint b = BaseCell(ACol, ARow);
  FMouse.Hover().LastHintPos = b;
  const TRect r = CellRect(b.X, b.Y);
  const int rc = RealColIndex(b.X);
  QString comment;
  if (CellObjects().IsComment(rc, b.Y, comment)) {
    HintStr = comment;
    HintPos = {r.Right, r.Top};
  } else {
    HintPos = {CursorPos.X, r.Bottom + 6};
  }
  const QString text = Cells(rc, b.Y);
  if (AnchorHint && EnableHTML && text.contains(QLatin1Char('<'))) {
    const THTMLHit hit = FHTMLForms.HitTest(b.X, b.Y, CursorPos.X, CursorPos.Y);
    if (!hit.Anchor.isEmpty()) {
      QString t = hit.AnchorTitle.isEmpty() ? hit.Anchor : hit.AnchorTitle;
      if (OnAnchorHint) OnAnchorHint(this, b.Y, rc, t);
      FMouse.Hover().LastAnchorHint = t;
      HintStr = t;
      HintPos = {CursorPos.X + 8, CursorPos.Y - 16};
    }
  }
  const bool normal = b.X >= FixedCols() && b.Y >= FixedRows() && b.X < ColCount() - FixedRightCols() &&
                      b.Y < RowCount() - FixedFooters();
  if (HintShowCells && normal) {
    HintPos.Y = r.Top;
    HintStr = HTMLHint ? text : controls::HTMLToPlainText(text);
  }
  if (HintShowLargeText) {
    const QString plain = controls::HTMLToPlainText(text);
    Canvas()->Font()->Assign(Font());
    if (Canvas()->TextWidth(plain) + 2 * XYOffset().X > r.Width()) {
      if (HintShowLargeTextPos == hpCell) HintPos = {r.Left, r.Top};
      HintStr = HTMLHint ? text : plain;
    }
  }
  if (!(b.Y == RowCount() - 1 && FloatingFooterFixedLastRow())) DoGridHint(b.X, b.Y, HintStr);
}

}  // namespace grid
