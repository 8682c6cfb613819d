#include "grid/row_nodes.h"

#include <algorithm>

#include "grid/extgrid.h"
#include "grid/extobj.h"
#include "platform/forms/controls.h"

namespace grid {

namespace {

// Switches row selection and disjunct row selection off while rows come back, and puts the current row and
// the top row back afterwards.
class TKeepPlace {
 public:
  explicit TKeepPlace(TExtStringGrid& G)
      : FGrid(G), FTop(G.TopRow()), FRow(G.Row()), FDisjunct(G.MouseActions()->DisjunctRowSelect()),
        FRowSelect(G.Options().Contains(plat::goRowSelect)) {
    if (FDisjunct) G.MouseActions()->SetDisjunctRowSelect(false);
    if (FRowSelect) SetRowSelect(false);
    if (G.ControlCount() == 0) G.BeginUpdate();
  }
  ~TKeepPlace() {
    if (FRowSelect) {
      SetRowSelect(true);
      if (FRow < FGrid.RowCount()) FGrid.SetRow(FRow);
      if (FTop < FGrid.RowCount()) FGrid.SetTopRow(FTop);
    }
    if (FDisjunct) FGrid.MouseActions()->SetDisjunctRowSelect(true);
    if (FGrid.ControlCount() == 0) FGrid.EndUpdate();
  }
  TKeepPlace(const TKeepPlace&) = delete;
  TKeepPlace& operator=(const TKeepPlace&) = delete;

 private:
  void SetRowSelect(bool On) {
    plat::TGridOptions o = FGrid.Options();
    On ? o.Include(plat::goRowSelect) : o.Exclude(plat::goRowSelect);
    FGrid.SetOptions(o);
  }
  TExtStringGrid& FGrid;
  int FTop, FRow;
  bool FDisjunct, FRowSelect;
};

}  // namespace

TCellGraphic* TGridNodes::NodeAt(int ARow) const {
  if (ARow < 0 || ARow >= FGrid.RowCount()) return nullptr;
  TCellGraphic* g = FGrid.CellObjects().GetCellGraphic(0, ARow);
  return g && g->CellType == ctNode ? g : nullptr;
}

int TGridNodes::LevelOf(int ARow) const {
  return FGrid.HasCellProperties(0, ARow) ? FGrid.GetGridObject(0, ARow)->NodeLevel : 0;
}

void TGridNodes::ChangeLevels(int From, int Count, int Delta) {
  for (int r = std::max(From, 0); r < From + Count && r < FGrid.RowCount(); ++r) {
    TCellProperties* p = FGrid.GetCellProperties(0, r);
    if (p) p->NodeLevel = std::max(0, p->NodeLevel + Delta);
  }
}

int TGridNodes::NextNodeRow(int ARow) const {
  for (int r = ARow + 1; r < FGrid.RowCount(); ++r)
    if (IsNode(r)) return r;
  return FGrid.RowCount();
}

// ---------------------------------------------------------------- nodes

void TGridNodes::AddNode(int ARowReal, int Span) {
  const int d = FGrid.DisplRowIndex(ARowReal);
  if (d < 0 || d >= FGrid.RowCount()) return;
  TCellGraphic* g = FGrid.CreateCellGraphic(0, d);
  g->CellType = ctNode;
  g->CellBoolean = false;
  g->CellIndex = Span;
  g->CellErrFrom = 0;
  g->CellAngle = d;
  g->CellHAlign = haBeforeText;
  g->CellVAlign = vaCenter;
  g->CellVar = -1;
  ChangeLevels(d, Span, 1);
  if (FNumNodes == 0) FGrid.RepaintCol(0);
  ++FNumNodes;
  if (FGrid.Col() == 0 && FGrid.ColCount() > 1) FGrid.SetCol(1);
}

void TGridNodes::RecountNodes() {
  FNumNodes = 0;
  for (int r = FGrid.FixedRows(); r < FGrid.RowCount(); ++r)
    if (IsNode(r)) ++FNumNodes;
  if (FNumNodes > 0) FGrid.RepaintCol(0);
}

void TGridNodes::AddSummary(int ARowReal) {
  const int d = FGrid.DisplRowIndex(ARowReal);
  if (d < 0 || d >= FGrid.RowCount()) return;
  FGrid.CreateCellGraphic(0, d)->CellType = ctSummary;
}

void TGridNodes::RemoveNode(int ARowReal) {
  ExpandNodeRows(ARowReal);
  const int d = FGrid.DisplRowIndex(ARowReal);
  const TCellGraphic* g = NodeAt(d);
  if (!g) return;
  ChangeLevels(d, g->CellIndex, -1);
  FGrid.CellObjects().RemoveCellGraphicOfType(0, d, ctNode);
  FNumNodes = std::max(0, FNumNodes - 1);
}

void TGridNodes::RemoveAllNodes() {
  for (int r = 0; r < FGrid.RowCount(); ++r)
    if (IsNode(r)) RemoveNode(FGrid.RealRowIndex(r));
  FGrid.Invalidate();
}

bool TGridNodes::IsNode(int ARow) const {
  return ARow >= 0 && ARow < FGrid.RowCount() && FGrid.CellObjects().GetCellType(0, ARow) == ctNode;
}

bool TGridNodes::IsSummary(int ARow) const {
  return ARow >= 0 && ARow < FGrid.RowCount() && FGrid.CellObjects().GetCellType(0, ARow) == ctSummary;
}

bool TGridNodes::GetNodeState(int ARow) const {
  const TCellGraphic* g = NodeAt(ARow);
  return g && g->CellBoolean;
}

void TGridNodes::SetNodeState(int ARow, bool Contracted) {
  if (!NodeAt(ARow) || GetNodeState(ARow) == Contracted) return;
  Contracted ? ContractNode(FGrid.RealRowIndex(ARow)) : ExpandNode(FGrid.RealRowIndex(ARow));
}

int TGridNodes::GetNodeLevel(int ARow) const { return IsNode(ARow) ? LevelOf(ARow) : -1; }

int TGridNodes::GetNodeSpan(int ARow) const {
  const TCellGraphic* g = NodeAt(ARow);
  return g ? g->CellIndex : -1;
}

void TGridNodes::SetNodeSpan(int ARow, int Span) {
  if (TCellGraphic* g = NodeAt(ARow)) g->CellIndex = Span;
}

void TGridNodes::UpdateNodeSpan(int ARow, int Delta) {
  if (TCellGraphic* g = NodeAt(ARow)) g->CellIndex += Delta;
}

int TGridNodes::GetSubNodeCount(int ARow) const {
  const TCellGraphic* g = NodeAt(ARow);
  return g ? g->CellErrFrom : 0;
}

void TGridNodes::UpdateSubNodeCount(int ARow, int Delta) {
  if (TCellGraphic* g = NodeAt(ARow)) g->CellErrFrom += Delta;
}

int TGridNodes::GetNodeSpanType(int ARow) const {
  if (IsNode(ARow)) return 0;
  if (ARow >= FGrid.RowCount() - FGrid.FixedFooters() - 1) return 1;
  if (FGrid.HasCellProperties(0, ARow + 1) && LevelOf(ARow + 1) >= LevelOf(ARow)) return 2;
  return 1;
}

int TGridNodes::GetParentRow(int ARow) const {
  if (FNumNodes == 0) return -1;
  int candidate = -1, bound = 65535;
  if (IsNode(ARow)) candidate = ARow, bound = LevelOf(ARow);
  int hidden = 0;
  for (int r = ARow; r >= FGrid.FixedRows(); --r) {
    const TCellGraphic* g = NodeAt(r);
    if (!g || LevelOf(r) >= bound) continue;
    if (g->CellBoolean) hidden += g->CellIndex - 1;
    if (ARow < r + g->CellIndex - hidden) return r;
  }
  return candidate;
}

// ---------------------------------------------------------------- expanding and contracting

void TGridNodes::ExpandNode(int ARowReal) {
  if (FGrid.CellNode()->ExpandOne)
    for (int r = FGrid.FixedRows(); r < FGrid.RowCount(); ++r)
      if (IsNode(r) && !GetNodeState(r) && FGrid.RealRowIndex(r) != ARowReal) ContractNode(FGrid.RealRowIndex(r));
  ExpandNodeRows(ARowReal);
}

void TGridNodes::ExpandNodeRows(int ARowReal) {
  const int d = FGrid.DisplRowIndex(ARowReal);
  TCellGraphic* g = NodeAt(d);
  if (!g || !g->CellBoolean) return;
  g->CellBoolean = false;
  const int e = g->CellIndex != 0 ? d + 1 : NextNodeRow(d);
  {
    TKeepPlace keep(FGrid);
    FGrid.UnHideRows(FGrid.RealRowIndex(d) + 1, FGrid.RealRowIndex(e) - 1);
  }
  FGrid.CalcFooter(-1);
}

void TGridNodes::ContractNode(int ARowReal) {
  FGrid.HideInplaceEdit();
  const int d = FGrid.DisplRowIndex(ARowReal);
  TCellGraphic* g = NodeAt(d);
  if (!g || g->CellBoolean) return;
  g->CellBoolean = true;
  const int b = d + 1;
  int e = g->CellIndex > 0 ? std::min(d + g->CellIndex, FGrid.RowCount()) : NextNodeRow(d);
  int r = b;
  while (r < e) {
    TCellGraphic* sub = NodeAt(r);
    if (!sub || !sub->CellBoolean) {
      ++r;
      continue;
    }
    // A contracted sub-node goes out with its rows; it is left expanded so that the parent brings all back.
    sub->CellBoolean = false;
    if (plat::TControl* c = FGrid.CellControls(1, r + 1)) c->Hide();
    const int span = sub->CellIndex;
    FGrid.HideRows(FGrid.RealRowIndex(b), FGrid.RealRowIndex(r));
    e -= (r - b + 1) + (span - 1);
    r = b;
  }
  if (r - 1 >= b) FGrid.HideRows(FGrid.RealRowIndex(b), FGrid.RealRowIndex(r - 1));
  FGrid.CalcFooter(-1);
}

void TGridNodes::ExpandAll() {
  FGrid.BeginUpdate();
  for (int r = FGrid.FixedRows(); r < FGrid.AllRowCount(); ++r) {
    if (r >= FGrid.RowCount()) break;
    if (IsNode(r)) ExpandNode(FGrid.RealRowIndex(r));
  }
  FGrid.EndUpdate();
  FGrid.CalcFooter(-1);
}

void TGridNodes::ContractAll() {
  FGrid.BeginUpdate();
  ExpandAll();
  TIntList rows{-1, -1};
  for (int r = FGrid.FixedRows(); r < FGrid.RowCount();) {
    TCellGraphic* g = NodeAt(r);
    if (!g) {
      ++r;
      continue;
    }
    g->CellBoolean = true;
    const int span = g->CellIndex > 0 ? g->CellIndex : NextNodeRow(r) - r;
    for (int k = r + 1; k < r + span && k < FGrid.RowCount(); ++k) rows.Add(k);
    r += std::max(span, 1);
  }
  if (rows.Count() > 0) FGrid.HideRowList(rows);
  FGrid.CellControlsUpdate(false);
  FGrid.EndUpdate();
  FGrid.CalcFooter(-1);
}

// ---------------------------------------------------------------- rows inside nodes

// Inserting and removing rows renumber the hidden-row records themselves.
void TGridNodes::InsertNormalRow(int ARowReal) { FGrid.InsertRows(FGrid.DisplRowIndex(ARowReal), 1); }

void TGridNodes::RemoveNormalRow(int ARow) { FGrid.RemoveRows(ARow, 1); }

void TGridNodes::InsertChildRow(int ARowReal, int InsertAt) {
  const int d = FGrid.DisplRowIndex(ARowReal);
  const int p = GetParentRow(d);
  int level = 1;
  if (p != -1) {
    UpdateNodeSpan(p, 1);
    UpdateSubNodeCount(p, 1);
    ExpandNode(FGrid.RealRowIndex(p));
    level = LevelOf(p);
  }
  for (int a = p, bound = level; bound > 1 && a != -1 && a >= FGrid.FixedRows();) {
    a = GetParentRow(a);
    if (a != -1 && LevelOf(a) < bound) {
      UpdateNodeSpan(a, 1);
      UpdateSubNodeCount(a, 1);
      ExpandNode(FGrid.RealRowIndex(a));
      bound = LevelOf(a);
    } else if (a != -1) {
      break;
    }
  }
  const bool moveContents = IsNode(d) && InsertAt == 0;
  if (moveContents) InsertAt = 1;
  const int at = d + InsertAt;
  FGrid.InsertRows(at, 1);
  if (moveContents) MoveRowContents(d, at);
  if (p != -1) FGrid.GetCellProperties(0, at)->NodeLevel = level;
}

// The node row's stored texts (every real column) and cell objects (all but the node's own column) go to
// the new first child; the node row keeps its properties, merges and node.
void TGridNodes::MoveRowContents(int From, int To) {
  for (int c = 0; c < FGrid.AllColCount(); ++c) {
    FGrid.SetGridCell(c, To, FGrid.GetGridCell(c, From));
    FGrid.SetGridCell(c, From, QString());
    if (c == 0) continue;
    if (plat::TObject* g = FGrid.GetGraphicObjectEx(c, From)) {
      FGrid.SetGraphicObjectEx(c, From, nullptr);
      FGrid.SetGraphicObjectEx(c, To, g);
    }
  }
  FGrid.CellsChanged(plat::TRect(0, From, FGrid.AllColCount() - 1, To));
}

void TGridNodes::RemoveChildRow(int ARowReal) {
  const int d = FGrid.DisplRowIndex(ARowReal);
  // The row remover keeps the controls attached to the rows below in step.
  int p = GetParentRow(d);
  if (p != -1) {
    const int level = LevelOf(p);
    if (GetNodeSpan(p) > 1) UpdateNodeSpan(p, -1), UpdateSubNodeCount(p, -1);
    while (true) {
      ExpandNode(FGrid.RealRowIndex(p));
      if (LevelOf(p) <= 1) break;
      p = GetParentRow(p);
      if (p == -1 || LevelOf(p) >= level) break;
      if (GetNodeSpan(p) > 1) UpdateNodeSpan(p, -1), UpdateSubNodeCount(p, -1);
    }
  }
  FGrid.DoRemoveRows(d, 1);
}

// ---------------------------------------------------------------- expandable cells

void TGridNodes::AddExpand(int ACol, int ARow, int ExpandedHeight) {
  TCellGraphic* g = FGrid.CreateCellGraphic(ACol, ARow);
  g->CellType = ctExpand;
  g->CellAngle = ExpandedHeight;
  g->CellIndex = FGrid.RowHeights(ARow);
  g->CellVar = false;
  FGrid.RepaintCell(ACol, ARow);
}

bool TGridNodes::HasExpand(int ACol, int ARow) const { return FGrid.CellObjects().GetCellType(ACol, ARow) == ctExpand; }

void TGridNodes::RemoveExpand(int ACol, int ARow) { FGrid.CellObjects().RemoveCellGraphicOfType(ACol, ARow, ctExpand); }

bool TGridNodes::ToggleExpand(int ACol, int ARow) {
  TCellGraphic* g = FGrid.CellObjects().GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctExpand) return false;
  g->CellVar = !g->CellVar.toBool();
  return g->CellVar.toBool();
}

bool TGridNodes::GetExpandState(int ACol, int ARow) const {
  const TCellGraphic* g = FGrid.CellObjects().GetCellGraphic(ACol, ARow);
  return g && g->CellType == ctExpand && g->CellVar.toBool();
}

int TGridNodes::GetExpandHeight(int ACol, int ARow, bool Expanded) const {
  const TCellGraphic* g = FGrid.CellObjects().GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctExpand) return FGrid.DefaultRowHeight();
  return Expanded ? g->CellAngle : g->CellIndex;
}

}  // namespace grid
