#pragma once
// TCustomExtGridDropDown: a drop-down edit whose popup hosts a full string grid. The grid shows the drop-down's
// own items (one row per item, one column per declared column) or, with UseItems off, whatever the application
// put into the popup grid. The lookup column gives the text the edit shows; typed text is matched against that
// column (lookup) or narrows the grid down to the rows that contain it. The popup grid can be sorted by its
// headers, can allow cell editing, and hands its events on to the drop-down's owner (the OnGrid events).
//
// Rows and items: each data row of a grid filled from the items keeps its item's index in the object of its
// first cell, so a sorted or narrowed grid still maps rows to items (RowToItem, ItemToRow).

#include <QString>
#include <QStringList>

#include <memory>

#include "dropdown/grid_dropdown_items.h"
#include "dropdown/lookup_dropdown.h"
#include "grid/extgrid_events.h"
#include "grid/view/render_cells.h"

namespace grid {
class TBands;
class TMouseActions;
class TNavigation;
class TSearchFooter;
}  // namespace grid

namespace dropdown::griddrop {

class TExtColGrid;
class TGridPopupLink;

class TCustomExtGridDropDown : public TExtLookupDropDown {
 public:
  explicit TCustomExtGridDropDown(plat::TComponent* AOwner);
  ~TCustomExtGridDropDown() override;

  TDropDownItems* Items() const { return FItems.get(); }
  void SetItems(TDropDownItems* Value) { FItems->Assign(Value); }
  TDropDownColumns* Columns() const { return FColumns.get(); }
  void SetColumns(TDropDownColumns* Value) { FColumns->Assign(Value); }
  bool UseItems() const { return FUseItems; }
  void SetUseItems(bool Value) { FUseItems = Value; }
  // With UseItems as the multi-column drop-down's ItemIndex; without, a data row of the popup grid.
  void SetItemIndex(int Value) override;
  // The items (UseItems) or the popup grid's data rows.
  int GetItemCount() const;
  int RowCount() const { return FItems->Count(); }
  TLookupMethod LookupMethod() const { return FLookupMethod; }
  void SetLookupMethod(TLookupMethod Value) { FLookupMethod = Value; }
  TDropDownStyle Style() const { return FStyle; }
  // dsDropDownList makes the edit a display: typing only looks up.
  void SetStyle(TDropDownStyle Value);
  TGridSorting Sorting() const { return FSorting; }
  void SetSorting(TGridSorting Value) { FSorting = Value; }
  bool GridEditable() const { return FGridEditable; }
  void SetGridEditable(bool Value) { FGridEditable = Value; }
  bool RowSelect() const { return FRowSelect; }
  void SetRowSelect(bool Value) { FRowSelect = Value; }
  bool ColumnSizing = false, ColumnMoving = false, RowSizing = false, RowMoving = false;
  bool AutoSizeColumns = true;
  bool AutoShowDropDown = false;
  bool HoverRow = false;
  plat::TColor HoverRowColor = plat::clInfoBk, HoverRowColorTo = plat::clNone;
  plat::TCustomImageList* GridImages() const { return FGridImages; }
  void SetGridImages(plat::TCustomImageList* Value);
  grid::TBands* Bands() const { return FBands.get(); }
  grid::TNavigation* Navigation() const { return FNavigation.get(); }
  grid::TMouseActions* MouseActions() const { return FMouseActions.get(); }
  grid::TSearchFooter* SearchFooter() const { return FSearchFooter.get(); }
  int HeaderHeight = 25;
  // The height of a data row; values below 1 count as 1 wherever rows are counted or sized.
  int DropDownRowHeight = 22;
  bool DropDownAutoWidth = true, ColumnSizeWithDropDown = true;
  // Stored, copied into the popup grid and following the component style; the grid draws in its own look.
  plat::TColor HeaderColor = plat::clWhite, HeaderColorTo = 0x808080;
  plat::TFont* HeaderFont() const { return FHeaderFont.get(); }
  plat::TColor LineColor = 0xF1EDEB, FixedLineColor = 0xD1BBA4, SelectionTextColor = plat::clBlack;

  // The first item (UseItems) or data row (without) whose lookup text starts with Value (upper case unless
  // CaseSensitive); Index is the item or grid row, -1 when none.
  bool LookupMatch(const QString& Value, QString& Found, int& Index) const;
  // The item a data row shows, and the first data row showing an item (see the header comment).
  int RowToItem(int Row) const;
  int ItemToRow(int Item) const;

  void SizeColumnsToDropDown();

  void SetComponentStyle(TExtStyle AStyle) override;
  void SetSelectionColorStyle(TSelectionColorStyle Value) override;

  plat::TNotifyEvent OnSelect;
  // ---- the popup grid's events, handed on with the grid as Sender (unless said)
  grid::TAnchorClickEvent OnGridAnchorClick;
  grid::TAnchorEvent OnGridAnchorEnter, OnGridAnchorExit;
  grid::TAnchorHintEvent OnGridAnchorHint;
  grid::TAutoAddRowEvent OnGridAutoAddRow;
  grid::TAutoInsertRowEvent OnGridInsertRow;
  grid::TAutoDeleteRowEvent OnGridDeleteRow;
  grid::TAutoInsertColEvent OnGridInsertCol;
  grid::TCanAddRowEvent OnGridCanAddRow;
  grid::TCanDeleteRowEvent OnGridCanDeleteRow;
  grid::TCanInsertRowEvent OnGridCanInsertRow;
  grid::TButtonClickEvent OnGridButtonClick;
  grid::TCanEditCellEvent OnGridCanEditCell;
  grid::TCheckBoxClickEvent OnGridCheckBoxClick;
  // Not raised: the popup grid's sort events keep the selected item's row.
  grid::TCanSortEvent OnGridCanSort;
  grid::TClickSortEvent OnGridClickSort;
  grid::TCustomCompareEvent OnGridCustomCompare;
  grid::TRawCompareEvent OnGridRawCompare;
  grid::TColumnSizeEvent OnGridColumnSize;
  grid::TEndColumnSizeEvent OnGridEndColumnSize;
  grid::TColumnSizingEvent OnGridColumnSizing;
  grid::TRowSizeEvent OnGridRowSize;
  grid::TRowSizingEvent OnGridRowSizing;
  grid::TEndRowSizeEvent OnGridEndRowSize;
  grid::TRowMoveEvent OnGridRowMove;
  grid::TRowMovingEvent OnGridRowMoving;
  plat::TMovedEvent OnGridRowMoved;
  grid::TColumnMoveEvent OnGridColumnMove;
  grid::TColumnMovingEvent OnGridColumnMoving;
  plat::TMovedEvent OnGridColumnMoved;
  // Hooked only when assigned at the time the popup opens.
  grid::TCustomCellDrawEvent OnGridCustomCellDraw, OnGridCustomCellBkgDraw;
  // The column's Alignment (Color) is preset before the handler.
  grid::TGridAlignEvent OnGridGetAlignment;
  grid::TGridColorEvent OnGridGetCellColor;
  grid::TGridGradientEvent OnGridGetCellGradient;
  // The float format is emptied before the handler.
  grid::TFloatFormatEvent OnGridGetFloatFormat;
  grid::TGetEditorTypeEvent OnGridGetEditorType;
  grid::TGetEditorPropIntEvent OnGridGetEditorProp;
  grid::TEllipsClickEvent OnGridEllipsClick;
  grid::TGetDisplTextEvent OnGridGetDiplText;
  grid::TGridFormatEvent OnGridGetFormat;
  grid::TGridHintEvent OnGridHint;
  grid::TCellBalloonEvent OnGridCellBalloon;
  plat::TMouseMoveEvent OnGridMouseMove;
  plat::TMouseEvent OnGridMouseDown, OnGridMouseUp;
  // Raised by the popup's key handling after its own, with the drop-down as Sender.
  plat::TKeyEvent OnGridKeyDown, OnGridKeyUp;
  plat::TKeyPressEvent OnGridKeyPress;
  grid::TClickCellEvent OnGridRightClickCell;
  grid::TScrollHintEvent OnGridScrollHint;
  // Sender is the drop-down.
  plat::TNotifyEvent OnGridTopLeftChanged;
  grid::TSearchEditChangeEvent OnGridSearchEditChange;
  grid::TSpinClickEvent OnGridSpinClick;

  void Dispatch(plat::TMessage& Message) override;

 protected:
  // The popup grid (lives with the popup).
  TExtColGrid* GetGrid() const { return FGrid; }
  virtual std::unique_ptr<TDropDownItems> CreateItems();
  std::uint32_t GetVersionNr() const override { return 0x06000101; }

  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void AdaptDropDownHeight(int& Height) override;
  void DoShowDropDown() override;
  void UpdateDropDownSize() override;
  void DoHideDropDown(bool Cancelled) override;
  void ControlKeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void ControlKeyUp(std::uint16_t& Key, plat::TShiftState Shift) override;
  void ControlKeyPress(char16_t& Key) override;
  void DropDownSizing() override;
  void HandleKeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void HandleKeyUp(std::uint16_t& Key, plat::TShiftState Shift) override;
  int LookupItemCount() const override { return FItems->Count(); }
  QString LookupText(int Index) const override;
  int StepCount() const override { return GetItemCount(); }
  plat::TStringGrid* ListGrid() const override;
  void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;

  // One typed character: looks up, narrows down or does nothing (LookupMethod). The result is the found item
  // (UseItems) or grid row, the first data row after narrowing, or -1.
  int LookupKey(char16_t Key);

 private:
  class TLink;
  QString RowLookupText(int Row) const;
  void FillFromDropDown();
  void FillFromItems();
  void AutoSizeItemColumns();
  void AutoSizeItemRows();
  void HookGridEvents();
  int RowHeight() const { return std::max(1, DropDownRowHeight); }
  void GridSelectCell(int Row);
  void GridSelect();
  void CellEditEnded(int Col, int Row);
  void WindowKeyDown(std::uint16_t Key);
  bool EditingCell() const;
  int NarrowDown();
  int Lookup(char16_t Key);
  void ShowGridRow(int Row);

  std::unique_ptr<TLink> FLink;
  std::unique_ptr<TDropDownItems> FItems;
  std::unique_ptr<TDropDownColumns> FColumns;
  std::unique_ptr<plat::TFont> FHeaderFont;
  std::unique_ptr<grid::TBands> FBands;
  std::unique_ptr<grid::TNavigation> FNavigation;
  std::unique_ptr<grid::TMouseActions> FMouseActions;
  std::unique_ptr<grid::TSearchFooter> FSearchFooter;
  TExtColGrid* FGrid = nullptr;
  plat::TCustomImageList* FGridImages = nullptr;
  bool FUseItems = true;
  TLookupMethod FLookupMethod = lmLookup;
  TDropDownStyle FStyle = dsDropDown;
  TGridSorting FSorting = gsNone;
  bool FGridEditable = false;
  bool FRowSelect = true;
  int FSelRow = -1;
  // The item selected when a header click starts a sort.
  int FSortItemIndex = -1;
  bool FBalloonRearmed = false;
  // A cell edit ended by Enter in the lookup column: the key's release closes the popup.
  bool FCloseOnEnterUp = false;
  // Set while the drop-down itself moves the grid's row: the choice does not follow.
  bool FQuietRow = false;
};

}  // namespace dropdown::griddrop

namespace dropdown {
using griddrop::TCustomExtGridDropDown;
}
