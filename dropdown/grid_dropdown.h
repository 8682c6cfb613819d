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

#include "dropdown/ext_dropdown.h"
#include "dropdown/grid_dropdown_items.h"
#include "dropdown/multicolumn_lookup.h"
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

class TCustomExtGridDropDown : public TExtCustomDropDown {
 public:
  explicit TCustomExtGridDropDown(plat::TComponent* AOwner);
  ~TCustomExtGridDropDown() override;

  TDropDownItems* Items() const { return FItems.get(); }
  void SetItems(TDropDownItems* Value) { FItems->Assign(Value); }
  TDropDownColumns* Columns() const { return FColumns.get(); }
  void SetColumns(TDropDownColumns* Value) { FColumns->Assign(Value); }
  bool UseItems() const { return FUseItems; }
  void SetUseItems(bool Value) { FUseItems = Value; }
  int ItemIndex() const { return FItemIndex; }
  // With UseItems as the multi-column drop-down's ItemIndex; without, a data row of the popup grid.
  void SetItemIndex(int Value);
  // The items (UseItems) or the popup grid's data rows.
  int GetItemCount() const;
  int RowCount() const { return FItems->Count(); }
  int LookupColumn() const { return FLookupColumn; }
  void SetLookupColumn(int Value) { FLookupColumn = Value; }
  TLookupMethod LookupMethod() const { return FLookupMethod; }
  void SetLookupMethod(TLookupMethod Value) { FLookupMethod = Value; }
  TDropDownStyle Style() const { return FStyle; }
  // dsDropDownList makes the edit a display: typing only looks up.
  void SetStyle(TDropDownStyle Value);
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }
  bool MatchCase() const { return FMatchCase; }
  void SetMatchCase(bool Value) { FMatchCase = Value; }
  bool MatchStart() const { return FMatchStart; }
  void SetMatchStart(bool Value) { FMatchStart = Value; }
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

  void BeginUpdate() {}
  // Rebuilds the lookup texts from the items.
  void EndUpdate() { BuildLookupItems(); }
  void BuildLookupItems();
  // The first item (UseItems) or data row (without) whose lookup text starts with Value (upper case unless
  // CaseSensitive); Index is the item or grid row, -1 when none.
  bool LookupMatch(const QString& Value, QString& Found, int& Index) const;
  // The item a data row shows, and the first data row showing an item (see the header comment).
  int RowToItem(int Row) const;
  int ItemToRow(int Item) const;

  void SelectFirst();
  void SelectLast();
  void SelectNext();
  void SelectPrevious();
  void SelectNextPage();
  void SelectPreviousPage();
  void SizeColumnsToDropDown();

  void SetText(const QString& Value) override;
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
  void HandleMouseWheelDown() override;
  void HandleMouseWheelUp() override;
  void HandleChange() override;
  void HandleKeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void HandleKeyPress(char16_t& Key) override;
  virtual void HandleKeyUp(std::uint16_t& Key, plat::TShiftState Shift);
  void KeyUp(std::uint16_t& Key, plat::TShiftState Shift) final { HandleKeyUp(Key, Shift); }
  void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;

  // One typed character: looks up, narrows down or does nothing (LookupMethod). The result is the found item
  // (UseItems) or grid row, the first data row after narrowing, or -1.
  int LookupKey(char16_t Key);

 private:
  class TLink;
  QString LookupText(int Index) const;
  QString RowLookupText(int Row) const;
  void FillFromDropDown();
  void FillFromItems();
  void AutoSizeItemColumns();
  void AutoSizeItemRows();
  void HookGridEvents();
  int GetGridWidth() const;
  bool AllDataRowsVisible() const;
  int BarsHeight() const;
  int RowHeight() const { return std::max(1, DropDownRowHeight); }
  void GridSelectCell(int Row);
  void GridSelect();
  void CellEditEnded(int Col, int Row);
  void WindowKeyDown(std::uint16_t Key);
  void WriteText(const QString& Value);
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
  int FItemIndex = -1;
  int FLookupColumn = 0;
  TLookupMethod FLookupMethod = lmLookup;
  TDropDownStyle FStyle = dsDropDown;
  bool FCaseSensitive = false;
  bool FMatchCase = false;
  bool FMatchStart = true;
  TGridSorting FSorting = gsNone;
  bool FGridEditable = false;
  bool FRowSelect = true;
  QStringList FLookupItems;
  QStringList FLookupFolded;
  // The completion's searches over the two lists (with and without MatchCase).
  multicolumn::TPrefixIndex FExactIndex, FFoldedIndex;
  QString FLookupEntry;
  bool FWorkMode = true;
  int FOldItemIndex = -1;
  int FSelRow = -1;
  // The item selected when a header click starts a sort.
  int FSortItemIndex = -1;
  bool FBalloonRearmed = false;
  bool FItemChange = false;
  int FItemIdx = -1;
  int FItemSel = 0;
  // A cell edit ended by Enter in the lookup column: the key's release closes the popup.
  bool FCloseOnEnterUp = false;
  QString FOldValue;
  bool FTextFromCode = false;
  // Set while the drop-down itself moves the grid's row: the choice does not follow.
  bool FQuietRow = false;
};

}  // namespace dropdown::griddrop

namespace dropdown {
using griddrop::TCustomExtGridDropDown;
}
