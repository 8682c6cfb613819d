// Header clicks: sorting, the fixed-cell editors and the filter lists.
#include "grid/input/header_clicks.h"

#include <QElapsedTimer>

#include "grid/extgrid.h"
#include "grid/input/input_host.h"
#include "grid/input/html_forms.h"
#include "grid/input/input_mouse.h"
#include "platform/forms/keys.h"

namespace grid {

using plat::TRect;

namespace {
bool KeyDown(int vk) { return plat::GetKeyState(vk) < 0; }
}  // namespace

THeaderClicks::~THeaderClicks() = default;

// ---- sorting ---------------------------------------------------------------------------------------------------

bool THeaderClicks::InFilterButton(int X, int Y, int ACol, int ARow) {
  (void)Y;
  const TRect r = G.CellRect(ACol, ARow);
  if (X <= r.Right - 16) return false;
  const int rc = G.RealColIndex(ACol);
  bool canShow = G.ControlLook()->FixedDropDownButton;
  if (canShow && G.OnCanShowFixedDropDown) G.OnCanShowFixedDropDown(&G, rc, canShow);
  return canShow || G.BuildColumnFilterList(rc);
}

void THeaderClicks::HeaderClick(int X, int Y, int ACol, int ARow, bool MoveEnded) {
  const int rc = G.RealColIndex(ACol);
  const TRect r = G.CellRect(ACol, ARow);
  if (ARow == 0 && G.Options().Contains(plat::goColSizing) && (X - r.Left < 4 || r.Right - X < 4)) return;
  const TMousePress& press = G.Mouse().Press();
  int pcol = -1, prow = -1;
  G.MouseToCell(press.Clickposx, press.Clickposy, pcol, prow);
  if (InFilterButton(X, Y, ACol, ARow)) return;
  TSortSettings& s = *G.SortSettings();
  const bool sortClick = ARow == s.Row() && prow == s.Row() && G.FixedRows() > 0 &&
                         !(G.HasCheckBox(rc, ARow) && G.InCheckBox(ACol, ARow, X, Y)) && s.Show() && !MoveEnded &&
                         G.RowCount() > 2;
  if (!sortClick) return;
  bool doSort = !G.IgnoreColumns()->HasValue(rc);
  if (G.OnCanSort) G.OnCanSort(&G, rc, doSort);
  if (!doSort) {
    G.RepaintCell(G.DisplColIndex(rc), s.Row());
    return;
  }
  H.HideEditor();
  G.HTMLForms().EndControlEdit();  // a control editor must not write into a row the sort moved
  if (s.AutoColumnMerge) G.SplitAllColumnCells();
  const bool keepLeft = G.Options().Contains(plat::goRowSelect) && G.Navigation()->KeepHorizScroll;
  const int left = G.LeftCol();
  if (keepLeft) G.BeginUpdate();
  QElapsedTimer timer;
  timer.start();
  if (s.IndexShow())
    FSortClicks.SortIndexed(rc);
  else
    FSortClicks.SortSingle(rc);
  s.SortTime = unsigned(timer.elapsed());
  if (keepLeft) {
    G.SetLeftCol(left);
    G.EndUpdate();
  }
  if (s.AutoColumnMerge) G.RemergeColumns();
  if (G.ControlCount() > 0) G.CellControlsUpdate(true);  // controls on cells follow their rows
  G.Invalidate();
  if (G.OnClickSort) G.OnClickSort(&G, s.Column());
}

TSortSettings& THeaderClicks::Sort() { return *G.SortSettings(); }
bool THeaderClicks::IndexKeyDown() {
  return KeyDown(G.SortSettings()->IndexSortKey == ikCtrl ? plat::VK_CONTROL : plat::VK_SHIFT);
}
bool THeaderClicks::HasNodes() { return H.HasNodes(); }
void THeaderClicks::QSort() { G.QSort(); }
void THeaderClicks::QSortGroup() { G.QSortGroup(); }
void THeaderClicks::QUnSort() { G.QUnSort(); }
void THeaderClicks::QSortIndexed() { G.QSortIndexed(); }
void THeaderClicks::QSortGroupIndexed() { G.QSortGroupIndexed(); }

// ---- the drop-down button of fixed cells -----------------------------------------------------------------------

// The press on the drop-down button of a hovered fixed cell: its menu pops up under the button (the handler may
// choose another menu or none) while the cell stays highlighted. True when the press ends here.
bool THeaderClicks::DropDownPress(int X, int Y, int ACol, int ARow) {
  (void)Y;
  const TRect r = G.CellRect(ACol, ARow);
  const int right = G.Options().Contains(plat::goColSizing) ? r.Right - 2 : r.Right;
  TMouseHover& h = G.Mouse().Hover();
  const bool hovered = G.HoverFixedCells != hfNone && h.HoverFixedX == ACol && h.HoverFixedY == ARow;
  if (!(X > r.Right - 16 && X < right && hovered && G.ControlLook()->FixedDropDownButton)) return false;
  FDropDownDown = true;
  G.RepaintCell(ACol, ARow);
  bool keep = false;
  plat::TPopupMenu* menu = G.FixedDropDownMenu;
  if (!menu && !G.OnFixedDropDownClick) return false;  // neither menu nor handler: an ordinary press
  h.NoMouseLeave = true;
  if (menu) menu->SetTag(ACol);
  if (G.OnFixedDropDownClick) G.OnFixedDropDownClick(&G, ACol, ARow, menu, keep);
  if (menu) {
    G.Mouse().Press().MouseDownMove = false;
    h.HoverFixedX = ACol;
    h.HoverFixedY = ARow;
    G.RepaintCell(ACol, ARow);
    const plat::TPoint p = G.ClientToScreen(plat::TPoint(r.Right - 16, r.Bottom));
    menu->SetPopupComponent(&G);
    menu->Popup(p.X, p.Y);
    h.HoverFixedX = h.HoverFixedY = -1;
    G.RepaintCell(ACol, ARow);
  }
  h.NoMouseLeave = keep;
  return true;
}

// ---- fixed-cell editors ---------------------------------------------------------------------------------------

bool THeaderClicks::FixedEditOnPress(plat::TMouseButton Button, int X, int Y, int ACol, int ARow) {
  const bool fixedRow = ARow < G.FixedRows(), fixedCol = ACol < G.FixedCols();
  if (!fixedRow && !fixedCol) return false;
  const TMouseActions& ma = *G.MouseActions();
  const TRect r = G.CellRect(ACol, ARow);
  const bool inside = X >= r.Left + 4 && X < r.Right - 4 && Y >= r.Top + 4 && Y < r.Bottom - 4;
  if (Button == plat::mbLeft) {
    if (fixedRow && ma.FixedRowsEdit == fceLeftClick) {
      if (!G.Options().Contains(plat::goColSizing) || inside) StartFixedCellEdit(ACol, ARow);
      return true;
    }
    if (fixedCol && ma.FixedColsEdit == fceLeftClick) {
      if (!G.Options().Contains(plat::goRowSizing) || inside) StartFixedCellEdit(ACol, ARow);
      return true;
    }
    return false;
  }
  if (Button == plat::mbRight &&
      ((fixedRow && ma.FixedRowsEdit == fceRightClick) || (fixedCol && ma.FixedColsEdit == fceRightClick))) {
    StartFixedCellEdit(ACol, ARow);
    return true;
  }
  return false;
}

bool THeaderClicks::FixedEditOnDblClick(int ACol, int ARow) {
  const TMouseActions& ma = *G.MouseActions();
  if ((ARow < G.FixedRows() && ma.FixedRowsEdit == fceDblClick) ||
      (ACol < G.FixedCols() && ARow >= 0 && ma.FixedColsEdit == fceDblClick)) {
    StartFixedCellEdit(ACol, ARow);
    return true;
  }
  return false;
}

void TGridTransEdit::KeyPress(char16_t& Key) {
  if (Key == u'\r') {
    Key = 0;
    return;
  }
  plat::TEdit::KeyPress(Key);
}

void TGridTransCombo::KeyPress(char16_t& Key) {
  if (Key == u'\r') {
    Key = 0;
    return;
  }
  plat::TComboBox::KeyPress(Key);
}

// Ends an open fixed editor: validation may refuse; false then, with the fixed cell made current so that the
// grid shows which cell the refused value belongs to, and the focus kept in the editor.
bool THeaderClicks::StopFixedEdit() {
  for (plat::TWinControl* e : {static_cast<plat::TWinControl*>(FEdit), static_cast<plat::TWinControl*>(FCombo)}) {
    if (!e || !e->Visible()) continue;
    QString value = e->Text();
    bool valid = true;
    const int rc = G.RealColIndex(FFixedColEdit);
    if (G.OnCellValidate) G.OnCellValidate(&G, FFixedColEdit, FFixedRowEdit, value, valid);
    if (!valid) {
      if (FFixedColEdit < G.ColCount() && FFixedRowEdit < G.RowCount()) {
        H.SetForceSelect(true);  // the ordinary select-cell rules refuse fixed cells
        G.MoveColRow(FFixedColEdit, FFixedRowEdit, true, true);
        H.SetForceSelect(false);
      }
      if (e->CanFocus()) e->SetFocus();
      return false;
    }
    if (G.OnEditingDone) G.OnEditingDone(&G);
    FClosing = true;
    G.SetCells(rc, FFixedRowEdit, value);
    e->SetVisible(false);
    FClosing = false;
  }
  return true;
}

void THeaderClicks::StartFixedCellEdit(int ACol, int ARow) {
  if (!StopFixedEdit()) return;
  bool canEdit = true;
  if (G.OnCanEditCell) G.OnCanEditCell(&G, ARow, ACol, canEdit);
  if (!canEdit) return;
  FFixedColEdit = ACol;
  FFixedRowEdit = ARow;
  const TMouseActions& ma = *G.MouseActions();
  TGridFixedCellEditor kind = ACol == 0 ? ma.FixedColsEditor : ma.FixedRowsEditor;
  plat::TStringList values;
  values.Assign(G.MouseActions()->FixedComboValues());
  G.DoFixedEdit(ACol, ARow, kind, &values);
  TRect r = G.CellRect(ACol, ARow);
  r = TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
  const int rc = G.RealColIndex(ACol);
  auto change = [this](plat::TObject* Sender) {
    if (FClosing || !G.OnEditChange) return;
    G.OnEditChange(&G, FFixedColEdit, FFixedRowEdit, static_cast<plat::TControl*>(Sender)->Text());
  };
  auto exit = [this](plat::TObject*) {
    if (!FClosing) StopFixedEdit();
  };
  if (kind == fceEdit) {
    if (!FEdit) {
      FEdit = new TGridTransEdit(&G);
      FEdit->SetParent(&G);
      FEdit->OnChange = change;
      FEdit->OnExit = exit;
    }
    FClosing = true;
    FEdit->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    FEdit->SetText(G.Cells(rc, ARow));
    FClosing = false;
    FEdit->SetVisible(true);
    if (FEdit->CanFocus()) FEdit->SetFocus();
    return;
  }
  if (!FCombo) {
    FCombo = new TGridTransCombo(&G);
    FCombo->SetParent(&G);
    FCombo->OnChange = change;
    FCombo->OnExit = exit;
  }
  FClosing = true;
  FCombo->Items()->Assign(&values);
  FCombo->SetStyle(kind == fceComboEdit ? plat::csDropDown : plat::csDropDownList);
  FCombo->SetBounds(r.Left - 1, r.Top - 1, r.Right - r.Left + 1, r.Bottom - r.Top);
  const QString text = G.Cells(rc, ARow);
  FCombo->SetItemIndex(FCombo->Items()->IndexOf(text));
  if (kind == fceComboEdit) FCombo->SetText(text);
  FClosing = false;
  FCombo->SetVisible(true);
  if (FCombo->CanFocus()) FCombo->SetFocus();
}

// ---- filter lists -----------------------------------------------------------------------------------------------

TDropCheckList::TDropCheckList(plat::TComponent* AOwner) : plat::TListBox(AOwner) {
  SetStyle(plat::lbOwnerDrawFixed);
  OnDrawItem = [this](plat::TWinControl*, int Index, TRect R, plat::TOwnerDrawState State) {
    plat::TCanvas& c = *Canvas();
    c.FillRect(R);
    const int box = std::min(13, R.Height() - 2);
    const TRect b(R.Left + 2, R.Top + (R.Height() - box) / 2, R.Left + 2 + box, R.Top + (R.Height() - box) / 2 + box);
    c.Pen()->SetColor(State.Contains(plat::odSelected) ? plat::clHighlightText : plat::clWindowText);
    c.Brush()->SetStyle(plat::bsClear);
    c.Rectangle(b);
    if (Checked(Index)) {
      c.Pen()->SetWidth(2);
      c.MoveTo(b.Left + 3, b.Top + box / 2);
      c.LineTo(b.Left + box / 2 - 1, b.Bottom - 4);
      c.LineTo(b.Right - 3, b.Top + 3);
      c.Pen()->SetWidth(1);
    }
    c.TextOut(b.Right + 4, R.Top + (R.Height() - c.TextHeight(QStringLiteral("gh"))) / 2, Items()->Strings(Index));
  };
}

bool TDropCheckList::Checked(int Index) const {
  return Index >= 0 && std::size_t(Index) < FChecked.size() && FChecked[std::size_t(Index)];
}

void TDropCheckList::SetChecked(int Index, bool Value) {
  if (Index < 0 || Index >= Items()->Count()) return;
  if (FChecked.size() < std::size_t(Items()->Count())) FChecked.resize(std::size_t(Items()->Count()), false);
  FChecked[std::size_t(Index)] = Value;
  Invalidate();
}

void TDropCheckList::Toggle(int Index) {
  if (Index < 0 || Index >= Items()->Count()) return;
  SetChecked(Index, !Checked(Index));
  if (OnCheckChanged) OnCheckChanged(Index);
}

// A press on an item's box, or Space on the current item, flips its check.
void TDropCheckList::Dispatch(plat::TMessage& M) {
  if (M.Msg == plat::WM_LBUTTONDOWN) {
    plat::TWMMouse mm(M);
    const int i = ItemAtPos(plat::TPoint(mm.XPos(), mm.YPos()));
    plat::TListBox::Dispatch(M);
    if (i >= 0 && mm.XPos() < 18) Toggle(i);
    return;
  }
  if (M.Msg == plat::WM_KEYDOWN && M.WParam == plat::VK_SPACE) {
    Toggle(ItemIndex());
    return;
  }
  plat::TListBox::Dispatch(M);
}

void TDropList::Dispatch(plat::TMessage& M) {
  if (M.Msg == plat::WM_KEYDOWN && (M.WParam == plat::VK_RETURN || M.WParam == plat::VK_ESCAPE)) {
    if (M.WParam == plat::VK_RETURN && OnSelect) OnSelect(ItemIndex());
    if (M.WParam == plat::VK_ESCAPE && OnCancel) OnCancel();
    return;
  }
  plat::TListBox::Dispatch(M);
  if (M.Msg == plat::WM_LBUTTONUP && OnSelect) {
    plat::TWMMouse mm(M);
    const int i = ItemAtPos(plat::TPoint(mm.XPos(), mm.YPos()));
    if (i >= 0) {
      SetItemIndex(i);
      OnSelect(i);
    }
  }
}

void THeaderClicks::CloseFilterList() {
  if (FDropList && FDropList->Visible()) FDropList->SetVisible(false);
  if (FDropCheckList && FDropCheckList->Visible()) FDropCheckList->SetVisible(false);
  FFilterCol = -1;
}

void THeaderClicks::FilterChosen(int ItemIndex) {
  if (!FDropList || FFilterCol < 0) return;
  const int col = FFilterCol, idx = ItemIndex;
  CloseFilterList();
  if (G.CanFocus()) G.SetFocus();
  G.HTMLForms().EndControlEdit();
  G.ApplyColumnFilter(col, idx);
}

plat::TListBox* THeaderClicks::EnsureFilterList(bool Check) {
  if (Check) {
    if (!FDropCheckList) {
      FDropCheckList = new TDropCheckList(&G);
      FDropCheckList->SetParent(&G);
      FDropCheckList->SetVisible(false);
      // Each change of a check filters at once; the list stays open.
      FDropCheckList->OnCheckChanged = [this](int) {
        if (FFilterCol >= 0) G.ApplyColumnFilter(FFilterCol, -1);
      };
      FDropCheckList->OnExit = [this](plat::TObject*) { CloseFilterList(); };
    }
    return FDropCheckList;
  }
  if (!FDropList) {
    FDropList = new TDropList(&G);
    FDropList->SetParent(&G);
    FDropList->SetVisible(false);
    FDropList->OnSelect = [this](int Index) { FilterChosen(Index); };
    FDropList->OnCancel = [this] { CloseFilterList(); };
    FDropList->OnExit = [this](plat::TObject*) { CloseFilterList(); };
  }
  return FDropList;
}

// The names of the filter values (the part before "="); in the check list an item is checked when the column's
// filter holds exactly its name (in double quotes when it contains a blank).
void THeaderClicks::FillFilterList(plat::TListBox* List, int& Widest) {
  List->SetColor(FFilterDropDown.Color);
  List->Font()->Assign(FFilterDropDown.Font());
  List->Canvas()->Font()->Assign(FFilterDropDown.Font());
  List->Items()->Clear();
  Widest = 0;
  const plat::TStringList& values = *G.FilterList();
  auto* check = dynamic_cast<TDropCheckList*>(List);
  for (int i = 0; i < values.Count(); ++i) {
    const QString entry = values[i];
    const int eq = entry.indexOf(QLatin1Char('='));
    const QString item = eq < 0 ? entry : entry.left(eq);
    List->Items()->Add(item);
    if (check) {
      const QString cond = item.contains(QLatin1Char(' ')) ? QLatin1Char('"') + item + QLatin1Char('"') : item;
      check->SetChecked(i, G.ColumnFilterHas(FFilterCol, cond));
    }
    Widest = std::max(Widest, List->Canvas()->TextWidth(item) + 8);
  }
  if (!check) List->SetItemIndex(0);
}

// Under the filter button, or over the column's width; a list sticking out of the grid ends at its column.
void THeaderClicks::PlaceFilterList(plat::TListBox* List, int ACol, int ARow, int Widest) {
  const TRect r = G.CellRect(ACol, ARow);
  constexpr int edge = 2;  // the system's edge width and height
  int w = FFilterDropDown.Width, h = FFilterDropDown.Height;
  if (FFilterDropDown.AutoSize) {
    h = List->Items()->Count() * List->ItemHeight() + 2 * edge;
    w = 2 * edge + Widest + (List == FDropCheckList ? 18 : 0);
  }
  int left = r.Right - 16;
  if (FFilterDropDown.ColumnWidth) {
    w = r.Right - r.Left;
    left = r.Left;
  }
  if (left + w > G.Width()) left = std::max(0, G.CellRect(ACol, 0).Right - w);
  List->SetBounds(left, r.Top + 16, w, h);
}

void THeaderClicks::FilterListOnRelease(int X, int Y, int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) {
    CloseFilterList();
    return;
  }
  const int rc = G.RealColIndex(ACol);
  if (ARow != G.RenderSettings().FilterDropDownRow || rc == FFilterCol) {
    CloseFilterList();
    return;
  }
  const TRect r = G.CellRect(ACol, ARow);
  if (!(X > r.Right - 16 && X < r.Right - 3 && Y < r.Top + 19 && G.BuildColumnFilterList(rc))) {
    CloseFilterList();
    return;
  }
  CloseFilterList();  // another column's list
  FFilterCol = rc;
  plat::TListBox* list = EnsureFilterList(G.FilterDropDownCheck);
  int widest = 0;
  FillFilterList(list, widest);
  PlaceFilterList(list, ACol, ARow, widest);
  list->SetVisible(true);
  list->BringToFront();
  if (list->CanFocus()) list->SetFocus();
}

}  // namespace grid
