#include "grid/model/cell_checks.h"

#include <algorithm>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/strings.h"

namespace grid {

// ---- helpers -------------------------------------------------------------------------------------------

void TCellChecks::CheckCell(int ACol, int ARow) const {
  if (ACol < 0 || ARow < 0 || ACol >= FCells.TotalColCount() || ARow >= FHost.TotalRowCount(FCells.RowCount()))
    throw plat::Exception(QStringLiteral("Invalid cell"));
}

TCellVAlign TCellChecks::BoxVAlign() const {
  switch (FHost.VAlignment()) {
    case vtaCenter: return vaCenter;
    case vtaBottom: return vaBottom;
    default: return vaTop;
  }
}

bool TCellChecks::TextChecked(int ACol, int ARow) const {
  return FCells.GridCellRef(ACol, ARow) == FHost.CheckTrue(ACol, ARow);
}

void TCellChecks::SetCheckText(int ACol, int ARow, bool State) {
  FCells.SetCells(ACol, ARow, State ? FHost.CheckTrue(ACol, ARow) : FHost.CheckFalse(ACol, ARow));
}

// ---- check boxes ---------------------------------------------------------------------------------------

void TCellChecks::AddCheckBox(int ACol, int ARow, bool State, bool Data) {
  CheckCell(ACol, ARow);
  TCellGraphic* g = FObjects.CreateCellGraphic(ACol, ARow);
  if (!g) return;
  g->SetCheckBox(State, Data, true, haBeforeText, BoxVAlign());
  const QString& text = FCells.GridCellRef(ACol, ARow);
  if (Data && text != FHost.CheckTrue(ACol, ARow) && text != FHost.CheckFalse(ACol, ARow))
    SetCheckText(ACol, ARow, State);
}

void TCellChecks::AddCheckBox(int ACol, int ARow, TCheckBoxState State) {
  CheckCell(ACol, ARow);
  if (TCellGraphic* g = FObjects.CreateCellGraphic(ACol, ARow)) g->SetCheckBox(State, true, haBeforeText, BoxVAlign());
}

void TCellChecks::AddCheckBoxColumn(int ACol, bool DefaultState, bool DataCheckBox, bool FromRowZero) {
  int span = 0;
  bool contracted = false;
  for (int r = FromRowZero ? 0 : FHost.FixedRows(); r < FCells.RowCount(); ++r) {
    if (FHost.SummaryRow(r)) continue;
    if (FHost.NodeRow(r, span, contracted))
      AddCheckBox(ACol, r, cbUnchecked);
    else
      AddCheckBox(ACol, r, DefaultState, DataCheckBox);
  }
}

void TCellChecks::RemoveCheckBoxColumn(int ACol, bool FromRowZero) {
  for (int r = FromRowZero ? 0 : FHost.FixedRows(); r < FCells.RowCount(); ++r)
    if (!FHost.SummaryRow(r) && HasCheckBox(ACol, r)) RemoveCheckBox(ACol, r);
}

bool TCellChecks::RemoveCheckBox(int ACol, int ARow) {
  const TCellType t = FObjects.GetCellType(ACol, ARow);
  if (t != ctCheckBox && t != ctDataCheckBox && t != ctTriStateCheckBox) return false;
  // An attached balloon goes with the object (it owns the balloon's strings).
  return FObjects.RemoveCellGraphic(ACol, ARow);
}

TCellChecks::TBoxRef TCellChecks::BoxAt(int ACol, int ARealRow) {
  TBoxRef b;
  if (ACol < 0 || ARealRow < 0) return b;
  if (FHost.HasHiddenRows() && FHost.HiddenCell(ACol, ARealRow, b.HiddenText, b.G)) return b;
  b.Row = FHost.DisplRow(ARealRow);
  if (b.Row >= 0 && b.Row < FCells.RowCount()) b.G = FObjects.GetCellGraphic(ACol, b.Row);
  return b;
}

bool TCellChecks::BoxTextChecked(int ACol, int ARealRow, const TBoxRef& B) const {
  return B.Row >= 0 ? TextChecked(ACol, B.Row) : B.HiddenText == FHost.CheckTrue(ACol, ARealRow);
}

bool TCellChecks::GetCheckBoxState(int ACol, int ARow, TCheckBoxState& State) {
  const TBoxRef b = BoxAt(ACol, ARow);
  if (!b.G) return false;
  switch (b.G->CellType) {
    case ctCheckBox: State = b.G->CellBoolean ? cbChecked : cbUnchecked; return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: State = BoxTextChecked(ACol, ARow, b) ? cbChecked : cbUnchecked; return true;
    case ctTriStateCheckBox: State = b.G->CellCheckBoxState; return true;
    case ctRowCheckBox:
      if (ACol != 0 || b.Row < 0) return false;
      State = FHost.RowSelected(b.Row) ? cbChecked : cbUnchecked;
      return true;
    default: return false;
  }
}

bool TCellChecks::GetCheckBoxState(int ACol, int ARow, bool& State) {
  // A tri-state box is not answered here (its third state has no Boolean), whether or not rows are hidden:
  // its state is read with the TCheckBoxState overload. Its cell text holds no state to compare.
  const TBoxRef b = BoxAt(ACol, ARow);
  if (!b.G || b.G->CellType == ctTriStateCheckBox) return false;
  TCheckBoxState s = cbUnchecked;
  if (!GetCheckBoxState(ACol, ARow, s)) return false;
  State = s == cbChecked;
  return true;
}

bool TCellChecks::IsChecked(int ACol, int ARow) {
  bool state = false;
  return GetCheckBoxState(ACol, ARow, state) && state;
}

bool TCellChecks::SetCheckBoxState(int ACol, int ARow, bool State) {
  const TBoxRef b = BoxAt(ACol, ARow);
  if (!b.G) return false;
  switch (b.G->CellType) {
    case ctCheckBox:
      b.G->CellBoolean = State;
      if (b.Row >= 0) FCells.RepaintCell(ACol, b.Row);
      return true;
    case ctDataCheckBox:
    case ctVirtCheckBox:
      if (b.Row >= 0)
        SetCheckText(ACol, b.Row, State);
      else
        FHost.SetHiddenCellText(ACol, ARow, State ? FHost.CheckTrue(ACol, ARow) : FHost.CheckFalse(ACol, ARow));
      return true;
    case ctRowCheckBox:
      if (ACol != 0 || b.Row < 0) return false;
      FHost.SetRowSelected(b.Row, State);
      return true;
    default: return false;
  }
}

bool TCellChecks::SetCheckBoxState(int ACol, int ARow, TCheckBoxState State) {
  const TBoxRef b = BoxAt(ACol, ARow);
  if (!b.G || b.G->CellType != ctTriStateCheckBox) return false;
  b.G->CellCheckBoxState = State;
  if (b.Row >= 0) FCells.RepaintCell(ACol, b.Row);
  return true;
}

bool TCellChecks::SetCheckStateNotify(int ACol, int ARow, bool State) {
  TCellGraphic* g = FObjects.GetCellGraphic(ACol, ARow);
  if (!g) return false;
  switch (g->CellType) {
    case ctCheckBox:
      if (g->CellBoolean != State) {
        g->CellBoolean = State;
        FCells.RepaintCell(ACol, ARow);
        FHost.DoCheckBoxChange(ACol, ARow, State);
      }
      return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
      const bool old = TextChecked(ACol, ARow);
      SetCheckText(ACol, ARow, State);
      if (old != State) FHost.DoCheckBoxChange(ACol, ARow, State);
      return true;
    }
    case ctRowCheckBox:
      if (ACol != 0) return false;
      if (FHost.RowSelected(ARow) != State) {
        FHost.SetRowSelected(ARow, State);
        FHost.DoCheckBoxChange(ACol, ARow, State);
      }
      return true;
    default: return false;
  }
}

void TCellChecks::CheckAll(int ACol) {
  for (int r = FHost.FixedRows(); r < FCells.RowCount(); ++r) SetCheckStateNotify(ACol, r, true);
}

void TCellChecks::UnCheckAll(int ACol) {
  for (int r = FHost.FixedRows(); r < FCells.RowCount(); ++r) SetCheckStateNotify(ACol, r, false);
}

bool TCellChecks::ToggleCellCheck(int ACol, int ARow, bool FromUser) {
  TCellGraphic* g = FObjects.GetCellGraphic(ACol, ARow);
  if (!g || !kCheckBoxTypes.Contains(g->CellType)) return false;
  // The row's place in a node, noted before the click changes anything.
  TNodePlace place;
  if (FHost.AutoCheckGroup()) place = NodePlaceOf(ARow);
  if (FromUser && !FHost.CheckAlwaysActive() && !FHost.CheckCellEditable(ACol, ARow)) return false;
  bool state = false;
  switch (g->CellType) {
    case ctCheckBox: state = g->CellBoolean = !g->CellBoolean; break;
    case ctTriStateCheckBox:
      if (place.Node) {
        // A node's box sets its rows: grayed and unchecked both become checked.
        g->CellCheckBoxState = g->CellCheckBoxState == cbChecked ? cbUnchecked : cbChecked;
        state = g->CellCheckBoxState == cbChecked;
      } else {
        // Unchecked, grayed, checked, unchecked; the change reports false whatever state is reached.
        g->CellCheckBoxState = g->CellCheckBoxState == cbUnchecked ? cbGrayed
                               : g->CellCheckBoxState == cbGrayed  ? cbChecked
                                                                   : cbUnchecked;
      }
      break;
    case ctRowCheckBox:
      state = !FHost.RowSelected(ARow);
      FHost.SetRowSelected(ARow, state);
      break;
    default: {
      const QString old = FCells.GridCellRef(ACol, ARow);
      state = old != FHost.CheckTrue(ACol, ARow);
      SetCheckText(ACol, ARow, state);
      // Undo records the text the cell really had and has now.
      FHost.CheckTextChanged(ACol, ARow, old, FCells.GridCellRef(ACol, ARow));
    }
  }
  FCells.RepaintCell(ACol, ARow);
  FHost.DoCheckBoxChange(ACol, ARow, state);
  if (place.Node)
    CheckNodeRows(ACol, ARow, place, state);
  else if (place.Parent >= 0)
    UpdateNodeBox(ACol, place);
  return true;
}

TCellChecks::TNodePlace TCellChecks::NodePlaceOf(int ARow) {
  TNodePlace p;
  if (FHost.NodeRow(ARow, p.Span, p.Contracted)) {
    p.Node = true;
    return p;
  }
  bool contracted = false;
  p.Parent = FHost.ParentRow(ARow);
  if (p.Parent >= 0 && !FHost.NodeRow(p.Parent, p.Span, contracted)) p.Parent = -1;
  return p;
}

void TCellChecks::CheckNodeRows(int ACol, int ARow, const TNodePlace& Place, bool State) {
  // A contracted node's rows sit in the hidden-row store right behind it; an expanded node's are shown below
  // it. The span may be stale: the walk stops at the last row the grid has.
  const int real = FHost.RealRow(ARow), total = FHost.TotalRowCount(FCells.RowCount());
  for (int k = 1; k < Place.Span; ++k) {
    if (!Place.Contracted && ARow + k >= FCells.RowCount()) break;
    const int child = Place.Contracted ? real + k : FHost.RealRow(ARow + k);
    if (child >= total) break;
    SetCheckBoxState(ACol, child, State);
  }
}

void TCellChecks::UpdateNodeBox(int ACol, const TNodePlace& Place) {
  const int first = Place.Parent + 1, last = std::min(Place.Parent + Place.Span, FCells.RowCount()) - 1;
  if (first > last) return;
  bool common = false, mixed = false;
  GetCheckBoxState(ACol, FHost.RealRow(first), common);
  for (int r = first + 1; r <= last && !mixed; ++r) {
    bool state = false;
    GetCheckBoxState(ACol, FHost.RealRow(r), state);
    mixed = state != common;
  }
  SetCheckBoxState(ACol, FHost.RealRow(Place.Parent), mixed ? cbGrayed : common ? cbChecked : cbUnchecked);
}

bool TCellChecks::IsInCheckBox(int ACol, int ARow, plat::TRect CellRect, int XPos, int YPos, bool Precise,
                               int CheckSize, plat::TAlignment TextAlign, int TextWidth) {
  const TCellGraphic* g = FObjects.GetCellGraphic(ACol, ARow);
  if (!g || !(kCheckBoxTypes.Contains(g->CellType) || g->CellType == ctRadioButton)) return false;
  if (!Precise) return true;
  int top = 0;
  switch (g->CellVAlign) {
    case vaTop: top = CellRect.Top + 2; break;
    case vaBottom: top = CellRect.Bottom - CheckSize - 2; break;
    case vaCenter: top = CellRect.Top + (CellRect.Bottom - CellRect.Top - CheckSize) / 2; break;
    default: break;
  }
  int left = CellRect.Left + 2;
  if (TextAlign == plat::taRightJustify)
    left = CellRect.Right - CheckSize - 2 - (FCells.GridCellRef(ACol, ARow).isEmpty() ? 0 : TextWidth);
  else if (TextAlign == plat::taCenter)
    left = CellRect.Left + (CellRect.Right - CellRect.Left - CheckSize) / 2;
  return XPos >= left && XPos < left + CheckSize && YPos >= top && YPos < top + CheckSize;
}

// ---- radio buttons -------------------------------------------------------------------------------------

void TCellChecks::AddRadioButton(int ACol, int ARow, bool State) {
  CheckCell(ACol, ARow);
  if (TCellGraphic* g = FObjects.CreateCellGraphic(ACol, ARow))
    g->SetRadioButton(State, true, haBeforeText, BoxVAlign());
}

TCellGraphic* TCellChecks::RadioButtonAt(int ACol, int ARow) {
  int bc = ACol, br = ARow;
  if (ACol >= 0 && ARow >= 0) FCells.ResolveBaseCell(ACol, ARow, bc, br);
  TCellGraphic* g = FObjects.GetCellGraphic(bc, br);
  return g && g->CellType == ctRadioButton ? g : nullptr;
}

void TCellChecks::AddRadioButtonColumn(int ACol) {
  for (int r = FHost.FixedRows(); r < FCells.RowCount(); ++r) AddRadioButton(ACol, r, false);
}

void TCellChecks::RemoveRadioButtonColumn(int ACol) {
  for (int r = FHost.FixedRows(); r < FCells.RowCount(); ++r) RemoveRadioButton(ACol, r);
}

bool TCellChecks::IsRadioButtonChecked(int ACol, int ARow) {
  const TCellGraphic* g = RadioButtonAt(ACol, ARow);
  return g && g->CellBoolean;
}

bool TCellChecks::SetRadioButtonState(int ACol, int ARow, bool State) {
  TCellGraphic* g = RadioButtonAt(ACol, ARow);
  if (!g) return false;
  if (g->CellBoolean != State) {
    g->CellBoolean = State;
    FCells.RepaintCell(ACol, ARow);
  }
  return true;
}

void TCellChecks::SetRadioButtonColumnIndex(int ACol, int Index) {
  for (int r = FHost.FixedRows(); r < FCells.RowCount(); ++r) SetRadioButtonState(ACol, r, r == Index);
}

int TCellChecks::GetRadioButtonColumnIndex(int ACol) {
  for (int r = FHost.FixedRows(); r < FCells.RowCount(); ++r)
    if (IsRadioButtonChecked(ACol, r)) return r;
  return -1;
}

bool TCellChecks::CheckRadioButton(int ACol, int ARow, bool FromUser) {
  TCellGraphic* g = FObjects.GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctRadioButton) return false;
  if (FromUser && !FHost.CheckAlwaysActive() && !FHost.CheckCellEditable(ACol, ARow)) return false;
  if (g->CellBoolean) return true;
  g->CellBoolean = true;
  FCells.RepaintCell(ACol, ARow);
  for (int r = 0; r < FCells.RowCount(); ++r) {
    TCellGraphic* other = r == ARow ? nullptr : FObjects.GetCellGraphic(ACol, r);
    if (other && other->CellType == ctRadioButton && other->CellBoolean) {
      other->CellBoolean = false;
      FCells.RepaintCell(ACol, r);
    }
  }
  return true;
}

// ---- radio groups --------------------------------------------------------------------------------------

void TCellChecks::AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, plat::TStrings* sl) {
  TCellGraphic* g = FObjects.CreateCellGraphic(ACol, ARow);
  if (!g) return;
  g->CellType = ctRadio;
  g->CellAngle = sl ? sl->Count() : 0;
  g->CellBoolean = DirRadio != 0;
  g->CellIndex = IdxRadio;
  g->CellBitmap = sl;
}

plat::TStrings* TCellChecks::CreateRadio(int ACol, int ARow, int DirRadio, int IdxRadio) {
  AddRadio(ACol, ARow, DirRadio, IdxRadio, nullptr);
  TCellGraphic* g = FObjects.GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctRadio) return nullptr;
  auto* list = new plat::TStringList;
  g->SetOwnedBitmap(list);
  g->CellCreated = true;
  return list;
}

bool TCellChecks::GetRadioIdx(int ACol, int ARow, int& IdxRadio) {
  const TCellGraphic* g = FObjects.GetCellGraphic(ACol, ARow);
  if (!g) return false;
  IdxRadio = g->CellIndex;
  return g->CellType == ctRadio;
}

bool TCellChecks::SetRadioIdx(int ACol, int ARow, int IdxRadio) {
  TCellGraphic* g = FObjects.GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctRadio) return false;
  g->CellIndex = IdxRadio;
  if (IdxRadio == -1) FCells.SetCells(ACol, ARow, QString());
  FCells.RepaintCell(ACol, ARow);
  return true;
}

plat::TStrings* TCellChecks::GetRadioStrings(int ACol, int ARow) {
  int bc = ACol, br = ARow;
  if (ACol < 0 || ARow < 0) return nullptr;
  FCells.ResolveBaseCell(ACol, ARow, bc, br);
  TCellGraphic* g = FObjects.GetCellGraphic(bc, br);
  return g && g->CellType == ctRadio ? dynamic_cast<plat::TStrings*>(g->CellBitmap) : nullptr;
}

bool TCellChecks::CycleRadioGroup(int ACol, int ARow, bool FromUser) {
  TCellGraphic* g = FObjects.GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctRadio) return false;
  if (FromUser && !FHost.RadioAlwaysActive() && !FHost.CheckCellEditable(ACol, ARow)) return false;
  const auto* items = dynamic_cast<const plat::TStrings*>(g->CellBitmap);
  if (!items || items->Count() == 0) return false;
  int next = g->CellIndex >= 0 ? g->CellIndex + 1 : items->IndexOf(FCells.GridCellRef(ACol, ARow)) + 1;
  if (next >= items->Count()) next = 0;
  if (g->CellIndex >= -1) g->CellIndex = next;
  g->CellVar = next;
  FCells.SetCells(ACol, ARow, items->Strings(next));
  FCells.RepaintCell(ACol, ARow);
  return true;
}

}  // namespace grid
