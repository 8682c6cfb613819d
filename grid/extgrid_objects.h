#pragma once
// The string grid's cell objects, check and radio controls in cells, and row and column operations: the
// model collaborators (TCellObjects, TCellChecks, TRowColOps over the base grid) answered from the grid
// object, which forwards its members of these families here.

#include "grid/extobj.h"
#include "grid/grid_row_ops.h"
#include "grid/model/cell_checks.h"
#include "grid/model/cell_objects.h"
#include "grid/model/intlist.h"

namespace plat {
class TBitmap;
class TCustomImageList;
class TIcon;
class TPicture;
}

namespace grid {

class TExtStringGrid;

class TExtGridObjects : public TCellObjectsHost {
 public:
  TExtGridObjects(TExtStringGrid& Grid, TBaseGrid& Base, TGridHiding& Hiding, TGridSelection& Selection);

  TCellObjects& Objects() { return FObjects; }
  TCellChecks& Checks() { return FChecks; }
  TRowColOps& Rows() { return FRows.Ops(); }
  TGridRowOps& RowHost() { return FRows; }
  // ---- pictures, icons and glyphs the grid makes for a cell: owned by the cell's object and freed with it;
  // the caller fills them. nullptr for a cell outside the grid.
  plat::TBitmap* CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign hal, TCellVAlign val);
  plat::TPicture* CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int padding,
                                TCellHAlign hal, TCellVAlign val);
  TFilePicture* CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int padding,
                                  TCellHAlign hal, TCellVAlign val);
  plat::TIcon* CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val);
  plat::TBitmap* CreateBitButton(int ACol, int ARow, int bw, int bh, const QString& Caption, TCellHAlign hal,
                                 TCellVAlign val);
  // The caller's objects of a cell (nullptr for another kind).
  plat::TBitmap* GetBitmap(int ACol, int ARow);
  plat::TPicture* GetPicture(int ACol, int ARow);
  TFilePicture* GetFilePicture(int ACol, int ARow);

  // From the last row up to the fixed rows, removes each row whose check box in the column is in that state.
  void RemoveCheckedRows(int CheckBoxColumn, bool RemoveChecked);
  // The sort routines' exchange of two rows (display rows): counted in Swaps; the cross-reference, the row
  // selection and modified flags and SortRow follow the rows. With SortSettings.SortSingleColumn only the
  // sort column's cells change places.
  void SortSwapRows(int ARow1, int ARow2);
  // The shown text of a cell after the display-text event: web addresses wrapped in an anchor (URLShowInText)
  // and a node's header with its row count (Grouping.ShowGroupCount).
  void DecorateDisplText(int ACol, int ARow, QString& Value);
  bool URLShowInText = false;
  int Swaps = 0;
  int SortRow = -1;
  TIntList SortRowXRef{-1, -1};
  // The grid's image list (not owned); image-index cells need it.
  plat::TCustomImageList* GridImages = nullptr;

  // ---- TCellObjectsHost, from the grid object
  bool RowCheckColumn() const override;
  bool RowSelected(int ARow) const override;
  void SetRowSelected(int ARow, bool Value) override;
  int SelectedRowCount() const override;
  int FixedRows() const override;
  bool FlatLook() const override;
  bool HasGridImages() const override { return GridImages != nullptr; }
  plat::TColor CommentColor() const override;
  bool AutoNumAlign() const override;
  int TotalRowCount(int RowCount) const override;
  QString CheckTrue(int ACol, int ARow) const override;
  QString CheckFalse(int ACol, int ARow) const override;
  TVAlignment VAlignment() const override;
  bool CheckCellEditable(int ACol, int ARow) override;
  bool CheckAlwaysActive() const override;
  bool RadioAlwaysActive() const override;
  void DoCheckBoxChange(int ACol, int ARow, bool State) override;
  void CheckTextChanged(int ACol, int ARow, const QString& Old, const QString& New) override;
  int RealRow(int ARow) const override;
  int DisplRow(int ARealRow) const override;
  bool HasHiddenRows() const override;
  bool HiddenCell(int ACol, int ARealRow, QString& Text, TCellGraphic*& Graphic) override;
  void SetHiddenCellText(int ACol, int ARealRow, const QString& Text) override;
  bool AutoCheckGroup() const override;
  bool NodeRow(int ARow, int& Span, bool& Contracted) override;
  bool SummaryRow(int ARow) override;
  int ParentRow(int ARow) override;

 private:
  TExtStringGrid& FGrid;
  TCellObjects FObjects;
  TCellChecks FChecks;
  TGridRowOps FRows;
};

}  // namespace grid
