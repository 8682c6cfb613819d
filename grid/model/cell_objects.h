#pragma once
// The grid's operations on cell objects (TCellGraphic): creating, querying, changing and removing the object of
// a cell, family by family. A cell holds at most one object; adding one frees the object the cell had. Has
// and Is queries look at the base cell of a merged area; Get and Remove at the cell itself unless said.
//
// Pictures, bitmaps and icons are GUI objects; here they are plain objects handed in by the grid, owned by
// the cell object only when the grid made them for it (its Create operations pass Owned = true).
//
// Columns are the store's (real) columns; rows are the store's rows.

#include <QString>

#include <memory>

#include "grid/model/cell_graphic.h"
#include "grid/model/cellgrid.h"

namespace plat {
class TStrings;
}

namespace grid {

class TIntList;

// What the cell objects need of the grid.
class TCellObjectsHost {
 public:
  virtual ~TCellObjectsHost() = default;
  // Column 0 shows a row check box for every row (the mouse actions' row-select by check box).
  virtual bool RowCheckColumn() const { return false; }
  virtual bool RowSelected(int ARow) const { (void)ARow; return false; }
  virtual void SetRowSelected(int ARow, bool Value) { (void)ARow, (void)Value; }
  virtual int SelectedRowCount() const { return 0; }
  virtual int FixedRows() const { return 0; }
  virtual bool FlatLook() const { return false; }
  virtual bool HasGridImages() const { return false; }
  virtual plat::TColor CommentColor() const { return plat::clRed; }
  // Numbers are right-aligned in their cells (progress bars then align their text to the right).
  virtual bool AutoNumAlign() const { return false; }
  // Rows of the grid with the hidden ones (the check-box adders refuse cells beyond).
  virtual int TotalRowCount(int RowCount) const { return RowCount; }
  // The texts of a checked and an unchecked data check box of a cell.
  virtual QString CheckTrue(int ACol, int ARow) const { (void)ACol, (void)ARow; return QStringLiteral("Y"); }
  virtual QString CheckFalse(int ACol, int ARow) const { (void)ACol, (void)ARow; return QStringLiteral("N"); }
  virtual TVAlignment VAlignment() const { return vtaTop; }
  // Clicks by the user may be refused per cell; "always active" looks skip the question.
  virtual bool CheckCellEditable(int ACol, int ARow) { (void)ACol, (void)ARow; return true; }
  virtual bool CheckAlwaysActive() const { return false; }
  virtual bool RadioAlwaysActive() const { return false; }
  virtual void DoCheckBoxChange(int ACol, int ARow, bool State) { (void)ACol, (void)ARow, (void)State; }
  // A change of a text-based check box, with the cell's old and new text (for undo).
  virtual void CheckTextChanged(int ACol, int ARow, const QString& Old, const QString& New) {
    (void)ACol, (void)ARow, (void)Old, (void)New;
  }
  // Hidden rows: real <-> display rows, and the cell of a hidden real row (its stored text and object) kept in
  // the hidden-row store; false when the row is shown.
  virtual int RealRow(int ARow) const { return ARow; }
  virtual int DisplRow(int ARealRow) const { return ARealRow; }
  virtual bool HasHiddenRows() const { return false; }
  virtual bool HiddenCell(int ACol, int ARealRow, QString& Text, TCellGraphic*& Graphic) {
    (void)ACol, (void)ARealRow, (void)Text, (void)Graphic;
    return false;
  }
  virtual void SetHiddenCellText(int ACol, int ARealRow, const QString& Text) { (void)ACol, (void)ARealRow, (void)Text; }
  // Row nodes: a check-box click on a node row sets its child rows, one on a child row sets its node's
  // tri-state box (Grouping.AutoCheckGroup).
  virtual bool AutoCheckGroup() const { return false; }
  // Whether a display row is a node row, with its span (rows counting the node row) and contraction.
  virtual bool NodeRow(int ARow, int& Span, bool& Contracted) { (void)ARow, (void)Span, (void)Contracted; return false; }
  virtual bool SummaryRow(int ARow) { (void)ARow; return false; }
  // The node row a display row belongs to, -1 when none.
  virtual int ParentRow(int ARow) { (void)ARow; return -1; }
};

class TCellObjects {
 public:
  TCellObjects(TCellGrid& Cells, TCellObjectsHost& Host);
  TCellObjects(const TCellObjects&) = delete;
  TCellObjects& operator=(const TCellObjects&) = delete;

  TCellGrid& Cells() const { return FCells; }
  TCellObjectsHost& Host() const { return FHost; }

  // ---- the object of a cell
  // The cell's own object when it is a TCellGraphic (in column 0 with row check boxes: the shared row object,
  // prepared for the row); nullptr otherwise.
  TCellGraphic* GetCellGraphic(int ACol, int ARow);
  TCellType GetCellType(int ACol, int ARow);
  // Frees the cell's object (never a shared one) and attaches a new one of kind ctNone.
  TCellGraphic* CreateCellGraphic(int ACol, int ARow);
  // Detaches and frees the object (a shared one is only detached); false when the cell had none.
  bool RemoveCellGraphic(int ACol, int ARow);
  bool RemoveCellGraphicOfType(int ACol, int ARow, TCellType CellType);
  bool CellTypeInSet(int ACol, int ARow, TCellTypes Types);
  bool IsControlCell(int ACol, int ARow);
  // Cells whose text is a control value rather than display text.
  bool IsDataTextCell(int ACol, int ARow);
  TCellGraphic& SharedRowObject() { return *FRowObject; }

  // ---- pictures (objects made by the grid are owned when Owned)
  void AddBitmap(int ACol, int ARow, plat::TObject* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val,
                 bool Owned = false);
  plat::TObject* GetBitmap(int ACol, int ARow);
  bool HasBitmap(int ACol, int ARow) { return GetBitmap(ACol, ARow) != nullptr; }
  bool RemoveBitmap(int ACol, int ARow) { return RemoveCellGraphicOfType(ACol, ARow, ctBitmap); }
  void AddPicture(int ACol, int ARow, plat::TObject* APicture, bool Transparent, TStretchMode StretchMode,
                  int padding, TCellHAlign hal, TCellVAlign val, bool Owned = false, bool FromFile = false);
  plat::TObject* GetPicture(int ACol, int ARow, bool FromFile = false);
  bool HasPicture(int ACol, int ARow) { return GetPicture(ACol, ARow) != nullptr; }
  bool RemovePicture(int ACol, int ARow) { return RemoveCellGraphicOfType(ACol, ARow, ctPicture); }
  bool RemoveFilePicture(int ACol, int ARow) { return RemoveCellGraphicOfType(ACol, ARow, ctFilePicture); }
  void AddIcon(int ACol, int ARow, plat::TObject* AIcon, TCellHAlign hal, TCellVAlign val, bool Owned = false);
  bool RemoveIcon(int ACol, int ARow) { return RemoveCellGraphicOfType(ACol, ARow, ctIcon); }
  // Sort key of image cells: the bitmap or icon object, the image index, or -1.
  qintptr GetCellImageKey(int ACol, int ARow);

  // ---- image lists (nothing happens while the grid has no image list)
  void AddImageIdx(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val);
  bool GetImageIdx(int ACol, int ARow, int& idx);
  void SetImageIdx(int ACol, int ARow, int Idx);
  bool RemoveImageIdx(int ACol, int ARow);
  void AddDataImage(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val);
  bool HasDataImage(int ACol, int ARow) { return CellTypeInSet(ACol, ARow, {ctDataImage}); }
  void RemoveDataImage(int ACol, int ARow);
  // The list is owned by the cell object; Notifier runs on every change of the list.
  TIntList* AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val);
  TIntList* GetCellImages(int ACol, int ARow);
  bool RemoveMultiImage(int ACol, int ARow) { return RemoveCellGraphicOfType(ACol, ARow, ctImages); }

  // ---- interfaced objects (not owned)
  void AddInterfacedCell(int ACol, int ARow, plat::TObject* AObject);
  plat::TObject* GetInterfacedCell(int ACol, int ARow);
  bool RemoveInterfacedCell(int ACol, int ARow) { return RemoveCellGraphicOfType(ACol, ARow, ctInterface); }

  // ---- indicators
  void AddProgress(int ACol, int ARow, plat::TColor FGColor, plat::TColor BKColor);
  void AddProgressEx(int ACol, int ARow, plat::TColor FGColor, plat::TColor FGTextColor, plat::TColor BKColor,
                     plat::TColor BKTextColor);
  void AddProgressFormatted(int ACol, int ARow, plat::TColor FGColor, plat::TColor FGTextColor,
                            plat::TColor BKColor, plat::TColor BKTextColor, const QString& Fmt, int Min, int Max);
  bool HasProgress(int ACol, int ARow) { return CellTypeInSet(ACol, ARow, {ctProgress}); }
  bool RemoveProgress(int ACol, int ARow) { return RemoveCellGraphicOfType(ACol, ARow, ctProgress); }
  void AddProgressPie(int ACol, int ARow, plat::TColor Color, int Value);
  void SetProgressPie(int ACol, int ARow, int Value);
  bool RemoveProgressPie(int ACol, int ARow) { return RemoveCellGraphicOfType(ACol, ARow, ctProgressPie); }
  void AddExtProgress(int ACol, int ARow, int Min, int Max);
  bool RemoveExtProgress(int ACol, int ARow) { return RemoveCellGraphicOfType(ACol, ARow, ctXPProgress); }
  void AddRangeIndicator(int ACol, int ARow, int Range, plat::TColor NegColor, plat::TColor PosColor,
                         bool ShowValue);
  bool RemoveRangeIndicator(int ACol, int ARow) { return RemoveCellGraphicOfType(ACol, ARow, ctRangeIndicator); }
  void AddShape(int ACol, int ARow, TCellShape Shape, plat::TColor FillColor, plat::TColor LineColor,
                TCellHAlign hal, TCellVAlign val);
  void SetShapeColor(int ACol, int ARow, plat::TColor FillColor);
  plat::TColor GetShapeColor(int ACol, int ARow);
  bool RemoveShape(int ACol, int ARow) { return RemoveCellGraphicOfType(ACol, ARow, ctShape); }
  void AddRating(int ACol, int ARow, int Scale, plat::TColor FillColor, plat::TColor EmptyColor);
  bool HasRating(int ACol, int ARow) { return CellTypeInSet(ACol, ARow, {ctRating}); }
  bool RemoveRating(int ACol, int ARow) { return RemoveCellGraphicOfType(ACol, ARow, ctRating); }

  // ---- scroll bars
  void AddScrollBar(int ACol, int ARow, bool AutoRange);
  bool HasScrollBar(int ACol, int ARow) { return CellTypeInSet(ACol, ARow, {ctScrollbar}); }
  bool HasAutoRangeScrollBar(int ACol, int ARow);
  void SetScrollPosition(int ACol, int ARow, int Pos);
  int GetScrollPosition(int ACol, int ARow);
  void SetScrollProp(int ACol, int ARow, TScrollProp Prop);
  TScrollProp GetScrollProp(int ACol, int ARow);
  bool RemoveScrollBar(int ACol, int ARow) { return RemoveCellGraphicOfType(ACol, ARow, ctScrollbar); }

  // ---- comments, markers, balloons, rotated text
  void AddComment(int ACol, int ARow, const QString& Comment);
  void AddColorComment(int ACol, int ARow, const QString& Comment, plat::TColor Color);
  QString GetComment(int ACol, int ARow);
  void SetComment(int ACol, int ARow, const QString& Comment);
  bool IsComment(int ACol, int ARow, QString& comment);
  bool RemoveComment(int ACol, int ARow) { return RemoveCellGraphicOfType(ACol, ARow, ctComment); }
  void RemoveAllComments();
  void AddMarker(int ACol, int ARow, int ErrPos, int ErrLen);
  void GetMarker(int ACol, int ARow, int& ErrPos, int& ErrLen);
  void RemoveMarker(int ACol, int ARow);
  void RemoveAllMarkers();
  void AddBalloon(int ACol, int ARow, const QString& Title, const QString& Text, TBalloonIcon Icon);
  bool RemoveBalloon(int ACol, int ARow);
  bool HasBalloon(int ACol, int ARow) { return CellTypeInSet(ACol, ARow, {ctBalloon}); }
  bool IsBalloon(int ACol, int ARow, QString& Title, QString& Text, TBalloonIcon& Icon);
  void AddRotated(int ACol, int ARow, int AAngle, const QString& s);
  void SetRotated(int ACol, int ARow, int AAngle);
  bool IsRotated(int ACol, int ARow, int& aAngle);
  bool RemoveRotated(int ACol, int ARow) { return RemoveCellGraphicOfType(ACol, ARow, ctRotated); }

  // ---- buttons
  void AddButton(int ACol, int ARow, int bw, int bh, const QString& Caption, TCellHAlign hal, TCellVAlign val);
  void AddBitButton(int ACol, int ARow, int bw, int bh, const QString& Caption, plat::TObject* Glyph,
                    TCellHAlign hal, TCellVAlign val, bool Owned = false);
  void SetButtonText(int ACol, int ARow, const QString& Caption);
  QString GetButtonText(int ACol, int ARow);
  void PushButton(int ACol, int ARow, bool push);
  bool HasButton(int ACol, int ARow) { return CellTypeInSet(ACol, ARow, {ctButton, ctBitButton}); }
  bool RemoveButton(int ACol, int ARow);
  bool RemoveBitButton(int ACol, int ARow) { return RemoveCellGraphicOfType(ACol, ARow, ctBitButton); }
  void RemoveAllButtons();

 private:
  // The object of the base cell of the merged area holding (ACol, ARow), when it is of one of the kinds.
  TCellGraphic* BaseGraphic(int ACol, int ARow, TCellTypes Types);
  TCellGraphic* OwnGraphic(int ACol, int ARow) const;
  TCellGraphic* OfType(int ACol, int ARow, TCellType Type);
  template <class Fn>
  void ForEachCell(Fn&& fn);

  TCellGrid& FCells;
  TCellObjectsHost& FHost;
  std::unique_ptr<TCellGraphic> FRowObject;
};

}  // namespace grid
