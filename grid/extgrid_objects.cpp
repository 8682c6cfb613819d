#include "grid/extgrid_objects.h"

#include "grid/extgrid.h"
#include "controls/text_utils.h"
#include "grid/model/undoredo.h"
#include "platform/graphics/graphic.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"

namespace grid {

TExtGridObjects::TExtGridObjects(TExtStringGrid& Grid, TBaseGrid& Base, TGridHiding& Hiding,
                                 TGridSelection& Selection)
    : FGrid(Grid), FObjects(Base.CellStore(), *this), FChecks(FObjects), FRows(Base, &Hiding, &Selection) {
  FRows.FixedFootersOf = [&Grid] { return Grid.FixedFooters(); };
  FRows.FixedRightColsOf = [&Grid] { return Grid.FixedRightCols(); };
  FRows.ControlPlacesOf = [&Grid]() -> TControlPlaces* { return Grid.ControlList(); };
  FRows.OnControlsDropped = [&Grid](const std::vector<plat::TControl*>& c) { Grid.CellControlsDropped(c); };
  FRows.OnControlsMoved = [&Grid] { Grid.CellControlsUpdate(false); };
}

// The answers read the grid object's settings; the grid's const-less accessors are reached through a
// non-const reference kept for that purpose.

bool TExtGridObjects::RowCheckColumn() const { return FGrid.MouseActions()->HotmailRowSelect(); }
bool TExtGridObjects::RowSelected(int ARow) const { return FGrid.GetRowSelect(ARow); }
void TExtGridObjects::SetRowSelected(int ARow, bool Value) { FGrid.SetRowSelect(ARow, Value); }
int TExtGridObjects::SelectedRowCount() const { return FGrid.SelectedRowCount(); }
int TExtGridObjects::FixedRows() const { return FGrid.FixedRows(); }
bool TExtGridObjects::FlatLook() const { return FGrid.ControlLook()->ControlStyle() == csFlat; }
plat::TColor TExtGridObjects::CommentColor() const { return FGrid.ControlLook()->CommentColor(); }
bool TExtGridObjects::AutoNumAlign() const { return FGrid.AutoNumAlign; }
int TExtGridObjects::TotalRowCount(int RowCount) const { return RowCount + FGrid.NumHiddenRows(); }
TVAlignment TExtGridObjects::VAlignment() const { return FGrid.VAlignment(); }
bool TExtGridObjects::CheckAlwaysActive() const { return FGrid.ControlLook()->CheckAlwaysActive; }
bool TExtGridObjects::RadioAlwaysActive() const { return FGrid.ControlLook()->RadioAlwaysActive; }

QString TExtGridObjects::CheckTrue(int ACol, int ARow) const {
  QString value = FGrid.CheckTrue;
  FGrid.GetCheckTrue(ACol, ARow, value);
  return value;
}

QString TExtGridObjects::CheckFalse(int ACol, int ARow) const {
  QString value = FGrid.CheckFalse;
  FGrid.GetCheckFalse(ACol, ARow, value);
  return value;
}

bool TExtGridObjects::CheckCellEditable(int ACol, int ARow) {
  bool canEdit = true;
  FGrid.CheckCellEditable(ACol, ARow, canEdit);
  return canEdit;
}

void TExtGridObjects::DoCheckBoxChange(int ACol, int ARow, bool State) {
  if (FGrid.OnCheckBoxChange) FGrid.OnCheckBoxChange(&FGrid, ACol, ARow, State);
}

void TExtGridObjects::CheckTextChanged(int ACol, int ARow, const QString& Old, const QString& New) {
  if (TExtGridUndoRedo* undo = FGrid.UndoRedo()) undo->RegisterChange(ACol, ARow, Old, New);
}

// ---- objects made for a cell

plat::TBitmap* TExtGridObjects::CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign hal,
                                             TCellVAlign val) {
  FObjects.AddBitmap(ACol, ARow, new plat::TBitmap, Transparent, hal, val, true);
  return GetBitmap(ACol, ARow);
}

plat::TPicture* TExtGridObjects::CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode,
                                               int padding, TCellHAlign hal, TCellVAlign val) {
  FObjects.AddPicture(ACol, ARow, new plat::TPicture, Transparent, StretchMode, padding, hal, val, true);
  return GetPicture(ACol, ARow);
}

TFilePicture* TExtGridObjects::CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode,
                                                 int padding, TCellHAlign hal, TCellVAlign val) {
  FObjects.AddPicture(ACol, ARow, new TFilePicture, Transparent, StretchMode, padding, hal, val, true, true);
  return GetFilePicture(ACol, ARow);
}

plat::TIcon* TExtGridObjects::CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val) {
  FObjects.AddIcon(ACol, ARow, new plat::TIcon, hal, val, true);
  const TCellGraphic* g = FObjects.GetCellGraphic(ACol, ARow);
  return g && g->CellType == ctIcon ? dynamic_cast<plat::TIcon*>(g->CellIcon) : nullptr;
}

plat::TBitmap* TExtGridObjects::CreateBitButton(int ACol, int ARow, int bw, int bh, const QString& Caption,
                                                TCellHAlign hal, TCellVAlign val) {
  FObjects.AddBitButton(ACol, ARow, bw, bh, Caption, new plat::TBitmap, hal, val, true);
  const TCellGraphic* g = FObjects.GetCellGraphic(ACol, ARow);
  return g && g->CellType == ctBitButton ? dynamic_cast<plat::TBitmap*>(g->CellBitmap) : nullptr;
}

plat::TBitmap* TExtGridObjects::GetBitmap(int ACol, int ARow) {
  return dynamic_cast<plat::TBitmap*>(FObjects.GetBitmap(ACol, ARow));
}

plat::TPicture* TExtGridObjects::GetPicture(int ACol, int ARow) {
  return dynamic_cast<plat::TPicture*>(FObjects.GetPicture(ACol, ARow));
}

TFilePicture* TExtGridObjects::GetFilePicture(int ACol, int ARow) {
  return dynamic_cast<TFilePicture*>(FObjects.GetPicture(ACol, ARow, true));
}

void TExtGridObjects::RemoveCheckedRows(int CheckBoxColumn, bool RemoveChecked) {
  // The fixed rows as they are now: removing the last normal row may lower the grid's fixed-row count.
  const int fixed = FGrid.FixedRows();
  FGrid.BeginUpdate();
  for (int r = FGrid.RowCount() - 1; r >= fixed; --r)
    if (FChecks.IsChecked(CheckBoxColumn, FGrid.RealRowIndex(r)) == RemoveChecked) FGrid.RemoveRows(r, 1);
  FGrid.EndUpdate();
}

// ---- hidden rows and row nodes

int TExtGridObjects::RealRow(int ARow) const { return FGrid.RealRowIndex(ARow); }
int TExtGridObjects::DisplRow(int ARealRow) const { return FGrid.DisplRowIndex(ARealRow); }
bool TExtGridObjects::HasHiddenRows() const { return FGrid.NumHiddenRows() > 0; }

bool TExtGridObjects::HiddenCell(int ACol, int ARealRow, QString& Text, TCellGraphic*& Graphic) {
  TGridItem* rec = FGrid.TypedCells().HiddenRecord(ARealRow);
  if (!rec) return false;
  const plat::TStrings& items = *rec->Items();
  Text = ACol < items.Count() ? items.Strings(ACol) : QString();
  const auto* props = ACol < items.Count() ? dynamic_cast<const TCellProperties*>(items.Objects(ACol)) : nullptr;
  Graphic = dynamic_cast<TCellGraphic*>(TCellGrid::GraphicOfProperties(props));
  return true;
}

void TExtGridObjects::SetHiddenCellText(int ACol, int ARealRow, const QString& Text) {
  FGrid.SetAllGridCells(ACol, ARealRow, Text);
}

bool TExtGridObjects::AutoCheckGroup() const { return FGrid.Grouping()->AutoCheckGroup; }

bool TExtGridObjects::NodeRow(int ARow, int& Span, bool& Contracted) {
  if (!FGrid.IsNode(ARow)) return false;
  Span = FGrid.GetNodeSpan(ARow);
  Contracted = FGrid.NodeState(ARow);
  return true;
}

bool TExtGridObjects::SummaryRow(int ARow) { return FGrid.IsSummary(ARow); }
int TExtGridObjects::ParentRow(int ARow) { return FGrid.GetParentRow(ARow); }

// ---- shown texts

void TExtGridObjects::DecorateDisplText(int ACol, int ARow, QString& Value) {
  if (URLShowInText) {
    static const QString prefixes[] = {QStringLiteral("HTTP://"), QStringLiteral("WWW."), QStringLiteral("MAILTO:"),
                                       QStringLiteral("HTTPS://"), QStringLiteral("NNTP://"), QStringLiteral("FILE://"),
                                       QStringLiteral("FTP://")};
    QString html;
    for (const QString& prefix : prefixes)
      if (controls::MakeURLAnchor(Value, prefix, html)) {
        Value = html;
        break;
      }
  }
  const TGrouping& grouping = *FGrid.Grouping();
  if (!grouping.ShowGroupCount || ACol != 1 || !FGrid.IsNode(ARow)) return;
  const int count = FGrid.GetNodeSpan(ARow) - 1 - FGrid.GetSubNodeCount(ARow);
  if (grouping.GroupCountFormat.isEmpty()) {
    Value += QStringLiteral(" (%1)").arg(count);
    return;
  }
  // A format that does not take the count is not applied: the text stays readable.
  try {
    Value += plat::Format(grouping.GroupCountFormat, {count});
  } catch (const plat::Exception&) {
    Value += QStringLiteral(" (%1)").arg(count);
  }
}

// ---- sorting's row exchange

void TExtGridObjects::SortSwapRows(int ARow1, int ARow2) {
  ++Swaps;
  if (ARow1 >= 0 && ARow2 >= 0 && ARow1 < SortRowXRef.Count() && ARow2 < SortRowXRef.Count()) {
    const int x = SortRowXRef[ARow1];
    SortRowXRef.SetItems(ARow1, SortRowXRef[ARow2]);
    SortRowXRef.SetItems(ARow2, x);
  }
  if (FGrid.SortSettings()->SortSingleColumn) {
    FRows.Ops().SwapColumnCells(FGrid.SortSettings()->Column(), ARow1, ARow2);
    return;
  }
  FRows.Ops().SwapRows(ARow1, ARow2);
  if (FGrid.MouseActions()->DisjunctRowSelect() && FGrid.Navigation()->MoveRowOnSort) {
    const bool hidden = FGrid.NumHiddenRows() > 0;
    const int i1 = hidden ? FGrid.RealRowIndex(ARow1) : ARow1, i2 = hidden ? FGrid.RealRowIndex(ARow2) : ARow2;
    const bool s1 = FGrid.GetRowSelect(i1), s2 = FGrid.GetRowSelect(i2);
    if (s1 != s2) FGrid.SetRowSelect(i1, s2), FGrid.SetRowSelect(i2, s1);
  }
  if (FGrid.ShowModified()->Enabled) {
    const bool m1 = FGrid.RowModified(ARow1), m2 = FGrid.RowModified(ARow2);
    if (m1 != m2) FGrid.SetRowModified(ARow1, m2), FGrid.SetRowModified(ARow2, m1);
  }
  if (SortRow == ARow1)
    SortRow = ARow2;
  else if (SortRow == ARow2)
    SortRow = ARow1;
}

}  // namespace grid
