// Cell access the string grid adds over its typed cells: cells by their column's recorded position or their
// row's place before sorting, the values of form controls in a cell, tri-state check box columns, the
// header cells of the current position, and the selection shown as a floating picture.
#include <QWidget>

#include <algorithm>

#include "controls/mini_html.h"
#include "controls/text_utils.h"
#include "grid/extgrid.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/forms.h"

namespace grid {

// ---------------------------------------------------------------- by position and by the sort order

QString TExtStringGrid::OriginalCells(int ACol, int ARow) { return Cells(ColumnPosition(ACol), ARow); }

void TExtStringGrid::SetOriginalCells(int ACol, int ARow, const QString& Value) {
  SetCells(ColumnPosition(ACol), ARow, Value);
}

// The row before sorting: where the cross-reference names it (its end when it does not), or the row itself
// while the reference is shorter.
int TExtStringGrid::UnSortedRow(int ARow) const {
  if (FCellObjects.SortRowXRef.Count() < ARow) return ARow;
  const int at = FCellObjects.SortRowXRef.IndexOf(ARow);
  return at < 0 ? FCellObjects.SortRowXRef.Count() : at;
}

QString TExtStringGrid::UnSortedCells(int ACol, int ARow) { return Cells(ACol, UnSortedRow(ARow)); }

void TExtStringGrid::SetUnSortedCells(int ACol, int ARow, const QString& Value) {
  SetCells(ACol, UnSortedRow(ARow), Value);
}

int TExtStringGrid::SortedRowIndex(int ARow) const {
  const int r = ARow >= 0 && ARow < FCellObjects.SortRowXRef.Count() ? FCellObjects.SortRowXRef[ARow] : ARow;
  return RealRowIndex(r);
}

int TExtStringGrid::UnSortedRowIndex(int ARow) const {
  if (FCellObjects.SortRowXRef.Count() == 0) return ARow;
  const int at = FCellObjects.SortRowXRef.IndexOf(ARow);
  return at < 0 ? FCellObjects.SortRowXRef.Count() : at;
}

// ---------------------------------------------------------------- form controls and check boxes

QString TExtStringGrid::ControlValues(int ACol, int ARow, const QString& ID) {
  QString value;
  if (!controls::ReadControlTagValue(Cells(ACol, ARow), ID, value)) return QString();
  return value;
}

void TExtStringGrid::SetControlValues(int ACol, int ARow, const QString& ID, const QString& Value) {
  QString text = Cells(ACol, ARow);
  if (controls::WriteControlTagValue(text, ID, Value)) SetCells(ACol, ARow, text);
}

void TExtStringGrid::AddTriStateCheckBoxColumn(int ACol, TCheckBoxState State) {
  for (int r = FMouseActions.CheckAllCheck ? 0 : FixedRows(); r < RowCount(); ++r) AddCheckBox(ACol, r, State);
}

// A form control of the cell opens its editor over the control's place in the cell.
void TExtStringGrid::EditCellControl(int ACol, int ARow, const QString& ID) {
  const int rc = RealColIndex(ACol);
  const QString text = Cells(rc, ARow);
  const QString id = ID.isEmpty() ? controls::NextEditableControlTagID(text, QString()) : ID;
  const THTMLHit hit = id.isEmpty() ? THTMLHit() : FHTMLForms.HitTest(ACol, ARow, -1, -1, id);
  if (hit.ControlType.isEmpty()) {
    if (CanFocus()) SetFocus();
    return;
  }
  FHTMLForms.StartControlEdit(text, hit.ControlType, ARow, rc, ACol, hit.ControlRect, hit.ControlValue,
                              hit.ControlID);
}

// ---------------------------------------------------------------- repaints and the search panel

void TExtStringGrid::RepaintActiveCells(int Col1, int Row1, int Row2, int Col2) {
  const int fc = plat::TStringGrid::FixedCols(), fr = plat::TStringGrid::FixedRows();
  for (const plat::TPoint p : {plat::TPoint(Col1, Row1), plat::TPoint(Col2, Row2)}) {
    if (fc > 0 && p.Y >= 0) RepaintCell(fc - 1, p.Y);
    if (fr > 0 && p.X >= 0) RepaintCell(p.X, fr - 1);
  }
}

void TExtStringGrid::ScrollAboveSearchPanel() { FEntry.ScrollAboveSearchPanel(); }

bool TExtStringGrid::LastRowAboveSearchPanel() {
  if (!FSearchFooter.Visible() || TopRow() + VisibleRowCount() < RowCount() - 1) return false;
  const plat::TRect r = CellRect(0, RowCount() - 1);
  return !r.IsEmpty() && r.Bottom <= ClientHeight();
}

// ---------------------------------------------------------------- the selection as a picture

plat::TForm* TExtStringGrid::SelectionToForm(plat::TGridRect ARect) {
  if (ARect.Left > ARect.Right) std::swap(ARect.Left, ARect.Right);
  if (ARect.Top > ARect.Bottom) std::swap(ARect.Top, ARect.Bottom);
  const QImage whole = Widget()->grab().toImage();
  const plat::TRect from = CalcCellRect(ARect.Left, ARect.Top), to = CalcCellRect(ARect.Right, ARect.Bottom);
  const QRect area = QRect(QPoint(from.Left, from.Top), QPoint(to.Right, to.Bottom)).intersected(whole.rect());
  plat::TBitmap bmp;
  bmp.SetImage(whole.copy(area.isEmpty() ? QRect(0, 0, 1, 1) : area));
  plat::TCanvas& c = *bmp.Canvas();
  c.Pen()->SetColor(GridLineColor());
  c.Pen()->SetWidth(1);
  if (ARect.Left == 0 && FixedCols() > 0 && Options().Contains(plat::goFixedHorzLine)) {
    c.MoveTo(0, 0);
    c.LineTo(0, bmp.Height());
  }
  if (ARect.Top == 0 && FixedRows() > 0 && Options().Contains(plat::goFixedVertLine)) {
    c.MoveTo(0, 0);
    c.LineTo(bmp.Width(), 0);
  }
  auto* form = new plat::TForm(this);
  form->SetBorderStyle(plat::bsNone);
  form->SetFormStyle(plat::fsStayOnTop);
  form->SetClientWidth(bmp.Width());
  form->SetClientHeight(bmp.Height());
  if (QWidget* w = form->Widget()) {
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    w->setWindowOpacity(192 / 255.0);
  }
  auto* image = new plat::TImage(form);
  image->SetParent(form);
  image->SetAlign(plat::alClient);
  image->Picture()->Bitmap()->Assign(bmp);
  return form;
}

}  // namespace grid
