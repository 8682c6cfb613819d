#pragma once
// TExtColumnGrid: a string grid whose per-column settings live in a collection of column objects, one
// TGridColumnItem per real column (hidden columns included). A column's settings decide the colours, fonts,
// alignment, editor kind, editability, borders and check texts of every normal cell of that column; the grid's
// own rules and events then run on top. The collection follows every change of the column count, column
// inserts, removals and moves, and is saved and loaded in the project's own versioned stream layout.

#include <QString>

#include <memory>

#include "grid/extgrid.h"
#include "grid/model/column_grid_stream.h"
#include "platform/forms/menus.h"
#include "platform/rtl/collection.h"
#include "platform/rtl/streams.h"

namespace grid {

class TExtColumnGrid;
class TGridColumnCollection;

enum TColumnPopupType {
  cpFixedCellsRClick, cpFixedCellsLClick, cpNormalCellsRClick, cpNormalCellsLClick, cpAllCellsRClick,
  cpAllCellsLClick
};

class TGridColumnItem : public plat::TCollectionItem {
  PLAT_CLASS(TGridColumnItem)

  // Inside a grid's collection the fonts and colour start as the grid's; outside any collection the colour
  // is 0 and nothing is notified.
  explicit TGridColumnItem(plat::TCollection* Collection);
  ~TGridColumnItem() override;

  // Every setting but ColumnPopupType, PrintBorderCustom and PrintFontCustom; the width is the source's.
  void Assign(plat::TPersistent* Source) override;
  // As Assign, but colour and font come from the owning grid, and the combo items, drop-down count, header
  // font, header, name and tag stay.
  void AssignVisuals(plat::TPersistent* Source);
  QString DisplayName() const override;
  TExtColumnGrid* Grid() const;

  // The grid's width of this column (0 outside a grid); the stored field keeps the last width seen.
  int Width() const;
  void SetWidth(int Value);
  int StoredWidth() const { return FWidth; }
  void SetStoredWidth(int Value) { FWidth = Value; }
  plat::TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(plat::TAlignment Value);
  plat::TAlignment HeaderAlignment() const { return FHeaderAlignment; }
  void SetHeaderAlignment(plat::TAlignment Value);
  QString FloatFormat() const { return FFloatFormat; }
  void SetFloatFormat(const QString& Value);
  QString Header() const { return FHeader; }
  // Writes the text into row 0 (with fixed rows, outside a column move) and rebuilds the grid's headers.
  void SetHeader(const QString& Value);
  // Stores without writing into the grid.
  void StoreHeader(const QString& Value) { FHeader = Value; }
  plat::TFont* Font() { return &FFont; }
  void SetFont(plat::TFont* Value) { FFont.Assign(Value); }
  plat::TFont* HeaderFont() { return &FHeaderFont; }
  void SetHeaderFont(plat::TFont* Value) { FHeaderFont.Assign(Value); }
  plat::TFont* PrintFont() { return &FPrintFont; }
  void SetPrintFont(plat::TFont* Value) { FPrintFont.Assign(Value); }
  plat::TColor Color() const { return FColor; }
  void SetColor(plat::TColor Value) { StoreAndNotify(FColor, Value); }
  bool ShowBands() const { return FShowBands; }
  void SetShowBands(bool Value) { StoreAndNotify(FShowBands, Value); }
  bool Fixed() const { return FFixed; }
  void SetFixed(bool Value) { StoreAndNotify(FFixed, Value); }
  bool Password() const { return FPassword; }
  void SetPassword(bool Value) { StoreAndNotify(FPassword, Value); }
  TCellBorders Borders() const { return FBorders; }
  void SetBorders(TCellBorders Value) { StoreAndNotify(FBorders, Value); }
  plat::TPen* BorderPen() { return &FBorderPen; }
  void SetBorderPen(plat::TPen* Value) { FBorderPen.Assign(Value); }
  plat::TPen* PrintBorderPen() { return &FPrintBorderPen; }
  plat::TStringList* ComboItems() { return &FComboItems; }
  void SetComboItems(plat::TStrings* Value) { FComboItems.Assign(Value); }
  plat::TStringList* Filter() { return &FFilter; }
  void SetFilter(plat::TStrings* Value) { FFilter.Assign(Value); }
  TEditorType Editor() const { return FEditor; }
  // Repaints when a data check box column starts or stops.
  void SetEditor(TEditorType Value);

  // Plain settings.
  TSortStyle SortStyle = ssAutomatic;
  QString SortPrefix, SortSuffix, EditMask;
  int EditLength = 0;
  TEditLink* EditLink = nullptr;  // not owned
  bool ReadOnly = false;
  int DropDownCount = 8, SpinMin = 0, SpinMax = 0, SpinStep = 1;
  plat::TColor PrintColor = plat::clWhite;
  TCellBorders PrintBorders{cbTop, cbLeft, cbRight, cbBottom};
  int Tag = 0;
  int DefIdx = 0;
  QString Name;
  QString CheckFalse = QStringLiteral("N"), CheckTrue = QStringLiteral("Y");
  int MaxSize = 0, MinSize = 0, AutoMinSize = 0, AutoMaxSize = 0;
  TColumnPopupType ColumnPopupType = cpFixedCellsRClick;
  plat::TPopupMenu* ColumnPopup = nullptr;  // not owned
  bool FilterCaseSensitive = false;
  bool PrintBorderCustom = true, PrintFontCustom = true;

  // The column's cells through the grid (this column's real index).
  QString Rows(int ARow) const;
  void SetRows(int ARow, const QString& Value);
  int Ints(int ARow) const;
  double Floats(int ARow) const;

  // The stored form of the column, and back.
  TColumnRecord ToRecord() const;
  void FromRecord(const TColumnRecord& R);

 private:
  template <class T>
  void StoreAndNotify(T& Field, const T& Value) {
    Field = Value;
    Changed(false);
  }
  void Repaint() const;
  void CopyFrom(TGridColumnItem& Src, bool Visuals);

  int FWidth = 50;
  plat::TAlignment FAlignment = plat::taLeftJustify, FHeaderAlignment = plat::taLeftJustify;
  QString FHeader, FFloatFormat;
  plat::TFont FFont, FHeaderFont, FPrintFont;
  plat::TColor FColor = 0;
  TEditorType FEditor = edNormal;
  bool FFixed = false, FShowBands = false, FPassword = false;
  TCellBorders FBorders;
  plat::TPen FBorderPen, FPrintBorderPen;
  plat::TStringList FComboItems, FFilter;
};

class TGridColumnCollection : public plat::TOwnedCollection {
  PLAT_CLASS(TGridColumnCollection)

  explicit TGridColumnCollection(TExtColumnGrid* AOwner);
  TExtColumnGrid* Grid() const { return FOwner; }
  // A new last column takes the visual settings of the column that was last.
  TGridColumnItem* Add();
  TGridColumnItem* Insert(int Index);
  TGridColumnItem* Items(int Index) const { return static_cast<TGridColumnItem*>(TCollection::Items(Index)); }
  // Brings the number of columns in line with the grid and makes every column's position its default.
  void SetOrganization();
  // Moves every column back to its default position (DefIdx).
  void ResetOrganization();
  bool FNoRecursiveUpdate = false;

 protected:
  void Update(plat::TCollectionItem* Item) override;

 private:
  TExtColumnGrid* FOwner;
};

class TExtColumnGrid : public TExtStringGrid {
  friend class TGridColumnItem;
  friend class TGridColumnCollection;

 public:
  explicit TExtColumnGrid(plat::TComponent* AOwner);
  ~TExtColumnGrid() override;

  TGridColumnCollection* Columns() { return FColumnCollection.get(); }
  void SetColumns(TGridColumnCollection* Value) { FColumnCollection->Assign(Value); }
  // The first column whose Name is AValue (case-sensitive), nullptr when none.
  TGridColumnItem* ColumnByName(const QString& AValue) const;
  void SetColCount(int Value);
  bool AutoFilterDisplay = false;
  std::function<void(plat::TObject* Sender, int FromIndex, int ToIndex)> OnAfterColumnMoved;
  std::function<void(plat::TObject* Sender, int ACol, int ARow, plat::TPopupMenu* PopupMenu)> OnColumnPopup;

  // ---- what the column settings decide
  void Loaded() override;
  void GetDefaultCellProperties(int ACol, int ARow, plat::TFont* AFont, plat::TBrush* ABrush,
                                plat::TColor& AColorTo, plat::TColor& AMirrorColor, plat::TColor& AMirrorColorTo,
                                plat::TAlignment& HA, TVAlignment& VA, bool& WW,
                                TCellGradientDirection& GD) override;
  // The cell text, formatted with the column's float format when the text is a number.
  // Painting and measuring show this text.
  QString GetFormattedCell(int ACol, int ARow) override;
  QString GetCellFloatFormat(int ACol, int ARow) const;
  TCellType GetCellType(int ACol, int ARow) override;
  TCellGraphic* GetCellGraphic(int ACol, int ARow) override;
  void UpdateColSize(int ACol, int& AWidth) override;
  void UpdateAutoColSize(int ACol, int& AWidth) override;
  void AllCellsChanged() override;
  void DoGetCellColor(int ACol, int ARow, plat::TGridDrawState AState, plat::TBrush* ABrush,
                      plat::TFont* AFont) override;
  void DoGetCellPrintColor(int ACol, int ARow, plat::TGridDrawState AState, plat::TBrush* ABrush,
                           plat::TFont* AFont) override;
  void DoGetCellBorder(int ACol, int ARow, plat::TPen* APen, TCellBorders& Borders) override;
  // Columns may give their cells borders.
  bool MayHaveCellBorders() override { return true; }
  void DoGetCellPrintBorder(int ACol, int ARow, plat::TPen* APen, TCellBorders& Borders) override;
  void DoGetAlignment(int ACol, int ARow, plat::TAlignment& HA, TVAlignment& VA) override;
  void DoGetFormat(int ACol, TSortStyle& AStyle, QString& aPrefix, QString& aSuffix) override;
  // The column's editor kind; the grid's edit link, drop-down count and float format follow the column.
  void GetCellEditorType(int ACol, int ARow, TEditorType& AEditor) override;
  void DoIsFixedCell(int ACol, int ARow, bool& IsFixed) override;
  // Only normal cells of columns neither ReadOnly nor Fixed, and not read-only themselves; OnCanEditCell last.
  void CheckCellEditable(int ACol, int ARow, bool& CanEdit) override;
  void DoIsPasswordCell(int ACol, int ARow, bool& IsPassword) override;
  bool HasComboBox(int ACol, int ARow) override;
  void GetCheckTrue(int ACol, int ARow, QString& Value) override;
  void GetCheckFalse(int ACol, int ARow, QString& Value) override;
  bool BuildColumnFilterList(int ACol) override;
  // A choice in a column's filter list: the entry's condition (after its "=") becomes the column's filter
  // condition, its name (before the "=") the header with AutoFilterDisplay; with AutoFilterUpdate the filter is
  // applied again and OnFilterDone fires. Entries outside the column's Filter list change nothing.
  void ApplyColumnFilter(int RCol, int ItemIndex) override;
  virtual void DoFilterSelect(int ItemIndex);
  // The column whose filter list is open (real index), -1 when none.
  int FilterColumn() const { return FFilterCol; }
  void SetFilterColumn(int Value) { FFilterCol = Value; }
  static constexpr int ColumnVersionNr = (3 << 24) | (1 << 16) | (3 << 8) | 1;
  int GetVersionNr() const override { return ColumnVersionNr; }
  QString GetVersionString() const override;
  void RemoveCols(int ColIndex, int CCount) override;
  void InsertCols(int ColIndex, int CCount) override;
  // The grouped column's settings are kept aside while it is out of the grid and come back with it.
  void Group(int Colindex) override;
  void UnGroup() override;

  // ---- storing
  // The collection in the project's own layout; loading refuses (plat::EReadError, nothing changed) a stream
  // that is truncated, damaged or not a column stream, and leaves the stream where it was.
  void SaveColumnsToStream(plat::TStream& St);
  void LoadColumnsFromStream(plat::TStream& St);
  // The default position of the column shown at each place, as keys "CP0".."CPn" of Section in the INI file
  // Key. Loading changes nothing unless the keys hold a permutation of the columns.
  void SaveColumnPositions(const QString& Key, const QString& Section);
  void LoadColumnPositions(const QString& Key, const QString& Section);
  // With ColumnSize.Location clIniFile the column order goes to (comes from) the INI file ColumnSize.Key,
  // section ColumnSize.Section; other places are the string grid's.
  void SaveColPositions() override;
  void LoadColPositions() override;

  // Column fonts and header fonts scale with the grid.
  void ChangeScale(int M, int D) override;
  // The column of a real index, nullptr outside the collection.
  TGridColumnItem* ColumnOf(int ACol) const;

 protected:
  virtual std::unique_ptr<TGridColumnCollection> CreateColumns();
  // An edit link or popup menu that goes away is cleared from every column that names it.
  void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
  void SizeChanged(int OldColCount, int OldRowCount) override;
  void HandleColumnMoved(int FromIndex, int ToIndex) override;
  void ColWidthsChanged() override;
  // A press on a cell of a column with a popup menu of the pressed button's kind opens that menu.
  void HandleMouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  int HandleGetEditLimit() override;
  QString GetEditMask(int ACol, int ARow) override;
  // Before the header list is written into row 0: every column takes its header from the list.
  virtual void ColumnHeadersChanged();

 private:
  // One column object per real column.
  void SynchColumns();
  void UpdateColumnHeaders();
  bool IsNormalCell(int ACol, int ARow) const;
  bool InColumnRange(int ACol, int ARow) const;

  std::unique_ptr<TGridColumnCollection> FColumnCollection;
  std::unique_ptr<TGridColumnItem> FSaveCol;
  std::unique_ptr<TCellGraphic> FCellGraphic;
  bool FColMoving = false;
  int FFilterCol = -1;
  bool FInColumnOp = false;
  bool FInHeaderUpdate = false;
  bool FDestroying = false;
};

}  // namespace grid
