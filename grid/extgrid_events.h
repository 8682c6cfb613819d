#pragma once
// The events of the string grid, grouped as the grid raises them; the grid object carries this set. A comment
// names the dispatcher that fires an event where it is not the event's own name.

#include "grid/grid_events.h"
#include "grid/selection.h"

namespace grid {

class TDropCheckList;

struct TExtGridEvents {
  // -- cells
  TFloatFormatEvent OnGetFloatFormat;
  TCellsChangedEvent OnCellsChanged;            // CellsChanged
  TCustomStrToDateEvent OnCustomStrToDate;      // the date editors' text-to-date conversion
  TCheckValueEvent OnGetCheckTrue;              // GetCheckTrue
  TCheckValueEvent OnGetCheckFalse;             // GetCheckFalse
  TColumnCalcEvent OnColumnCalc;                // not raised yet: the column calculations of the data services
  TGroupCalcEvent OnGroupCalc;                  // the grouping's custom group calculation
  TFooterCalcEvent OnFooterCalc;                // CalcFooterColumns (custom footer calculation)
  TSaveCellEvent OnSaveCell;                    // not raised yet: file saving of the data services
  TSaveCellEvent OnLoadCell;                    // not raised yet: file loading of the data services
  TProgressEvent OnFileProgress;                // not raised yet: file loading and saving
  TClipboardEvent OnClipboardPaste;             // the clipboard shortcut keys and the text editors
  TClipboardEvent OnClipboardCopy;              // the clipboard shortcut keys and the text editors
  TClipboardEvent OnClipboardCut;               // the clipboard shortcut keys and the text editors
  TClipboardAfterPasteEvent OnClipboardAfterPasteCell;       // the text editor's paste
  TClipboardAfterPasteEvent OnClipboardAfterPasteWideCell;   // not raised yet: the grid's clipboard paste
  TClipboardBeforePasteEvent OnClipboardBeforePasteCell;     // the text editors' paste
  TClipboardBeforePasteEvent OnClipboardBeforePasteWideCell; // not raised yet: the grid's clipboard paste
  // -- looks (raised by the painting unless said)
  TGridColorEvent OnGetCellColor;               // DoGetCellColor
  TGridColorEvent OnGetCellPrintColor;          // DoGetCellPrintColor
  TGridGradientEvent OnGetCellGradient;
  TGridBorderEvent OnGetCellBorder;             // DoGetCellBorder
  TGridBorderEvent OnGetCellPrintBorder;        // DoGetCellPrintBorder
  TGridBorderPropEvent OnGetCellBorderProp;
  TGridAlignEvent OnGetAlignment;               // DoGetAlignment
  TGetWordWrapEvent OnGetWordWrap;              // DoGetWordWrap
  TGridFormatEvent OnGetFormat;                 // DoGetFormat
  TGetCellCursorEvent OnGetCellCursor;          // DoGetCellCursor
  TCustomCellSizeEvent OnCustomCellSize;        // not raised yet: the print engine's cell measurement
  TGridHintEvent OnGridHint;                    // DoGridHint
  TGridWideHintEvent OnGridWideHint;            // DoGridHint
  TScrollHintEvent OnScrollHint;
  TCellBalloonEvent OnCellBalloon;
  TFooterPaintEvent OnFooterPaint;
  TPaintedEvent OnPainted;
  TAnchorClickEvent OnAnchorClick;              // the mouse handling (link under the mouse)
  TAnchorEvent OnAnchorEnter;                   // the mouse handling
  TAnchorEvent OnAnchorExit;                    // the mouse handling
  TAnchorHintEvent OnAnchorHint;                // the mouse handling and the hint code
  // -- merging, rows and columns (raised by the row and column operations and the mouse handling)
  TCanAddRowEvent OnCanAddRow;
  TAutoAddRowEvent OnAutoAddRow;
  TCanInsertRowEvent OnCanInsertRow;
  TAutoInsertRowEvent OnAutoInsertRow;
  TAutoInsertColEvent OnAutoInsertCol;
  TCanDeleteRowEvent OnCanDeleteRow;
  TAutoDeleteRowEvent OnAutoDeleteRow;
  TColumnSizeEvent OnColumnSize;                // sizing-state check
  TColumnSizingEvent OnColumnSizing;
  TColumnMoveEvent OnColumnMove;
  TColumnMovingEvent OnColumnMoving;
  TRowSizeEvent OnRowSize;                      // sizing-state check
  TRowSizingEvent OnRowSizing;
  TRowMoveEvent OnRowMove;
  TRowMovingEvent OnRowMoving;
  TEndColumnSizeEvent OnEndColumnSize;          // after the user sized a column
  TUpdateColumnSizeEvent OnUpdateColumnSize;    // UpdateColSize, UpdateAutoColSize
  TEndRowSizeEvent OnEndRowSize;                // after the user sized a row
  TOnResizeEvent OnResize;                      // Resize
  // -- hiding, nodes, sorting and filtering (raised by the node, sort and filter code)
  TNodeEvent OnExpandNode;
  TNodeEvent OnContractNode;
  TBeforeNodeEvent OnBeforeExpandNode;
  TBeforeNodeEvent OnBeforeContractNode;
  TClickSortEvent OnClickSort;
  TCanSortEvent OnCanSort;
  TCustomCompareEvent OnCustomCompare;          // not raised yet: the sort of the data services
  TRawCompareEvent OnRawCompare;                // not raised yet: the sort of the data services
  // The row test's last word on a display row: AcceptRow comes in as the conditions' verdict.
  std::function<void(Sender, int ARow, bool& AcceptRow)> OnCustomFilter;
  TGetColumnFilterEvent OnGetColumnFilter;      // BuildColumnFilterList
  plat::TNotifyEvent OnFilterDone;
  TFilterSelectEvent OnFilterSelect;
  // Once per checked item when a check of the filter check list changes; the condition may be changed.
  std::function<void(Sender, int Column, int ItemIndex, QString FriendlyName, QString& FilterCondition,
                     TDropCheckList* CheckList)> OnFilterCheck;
  // Applying a filter: the share of the tested rows in whole per cent, after every row and once at the end.
  TProgressEvent OnFilterProgress;
  TSearchEditChangeEvent OnSearchEditChange;    // SearchFooterEditChange: the search box changed; clearing
                                                // DefaultSearch keeps the grid from searching
  TSearchFooterActionEvent OnSearchFooterAction;  // DoSearchFooterAction: (text, found cell or -1, TSearchAction)
  plat::TNotifyEvent OnSearchFooterClose;       // SearchFooterClose, before the footer hides
  // -- editing
  TCanEditCellEvent OnCanEditCell;              // DoCanEditCell (through CheckCellEditable)
  TIsFixedCellEvent OnIsFixedCell;              // DoIsFixedCell
  TIsPasswordCellEvent OnIsPasswordCell;        // DoIsPasswordCell
  TGetEditorTypeEvent OnGetEditorType;          // DoGetEditorType, HasNoEditor, HasComboBox, HasSpinEdit
  TGetEditorPropEvent OnGetEditorProp;          // raised by the editor management
  TGetEditorPropIntEvent OnGetEditorPropInt;    // raised by the editor management
  std::function<void(Sender, int ACol, int ARow, bool& HasComboBox)> OnHasComboBox;  // HasComboBox
  std::function<void(Sender, int ACol, int ARow, bool& HasSpinEdit)> OnHasSpinEdit;  // HasSpinEdit
  TCellValidateEvent OnCellValidate;            // ValidateCell
  TCellValidateEvent OnCellValidateWide;        // raised by the editor management
  plat::TNotifyEvent OnEditingDone;             // the rest of this section: raised by the editors
  TEditCellDoneEvent OnEditCellDone;
  TEditChangeEvent OnEditChange;
  TDateTimeChangeEvent OnDateTimeChange;
  TFixedEditEvent OnFixedEdit;
  TCanShowFixedDropDownEvent OnCanShowFixedDropDown;
  TFixedDropDownEvent OnFixedDropDownClick;
  TEllipsClickEvent OnEllipsClick;
  TButtonClickEvent OnButtonClick;              // DoButtonClick
  TExpandClickEvent OnExpandClick;              // DoExpandClick
  TCheckBoxClickEvent OnCheckBoxClick;
  TCheckBoxChangeEvent OnCheckBoxChange;        // the cell objects' check-box change
  TCheckBoxClickEvent OnCheckBoxMouseUp;
  TRadioClickEvent OnRadioClick;
  TRadioClickEvent OnRadioMouseUp;
  TRadioClickEvent OnRadioButtonClick;
  TColorSelectedEvent OnColorSelected;          // not raised yet: the colour picker's write-back
  TColorSelectEvent OnColorSelect;               // DoColorSelect
  TImageSelectedEvent OnImageSelected;          // not raised yet: the image picker's write-back
  TImageSelectedEvent OnImageSelect;
  TRatingChangeEvent OnRatingChange;
  TComboEvent OnDatePickerCloseUp;
  TComboEvent OnDatePickerDropDown;
  TComboChangeEvent OnComboChange;
  TComboEvent OnComboCloseUp;                   // DoComboCloseUp
  TComboEvent OnComboDropDown;                  // DoComboDropDown
  TComboObjectChangeEvent OnComboObjectChange;
  TSpinClickEvent OnSpinClick;
  TSpinClickEvent OnFloatSpinClick;
  TSpinClickEvent OnTimeSpinClick;
  TSpinClickEvent OnDateSpinClick;
  TRichEditSelectionChangeEvent OnRichEditSelectionChange;  // RichEditSelectionChanged
  TUnitChangedEvent OnUnitChanged;
  TDropDownButtonClickEvent OnDropDownHeaderButtonClick;
  TDropDownButtonClickEvent OnDropDownFooterButtonClick;
  TControlEvent OnControlClick;
  TControlEvent OnControlEditDone;
  TControlComboListEvent OnControlComboList;
  TControlEvent OnControlComboSelect;
  // -- selection and the current cell
  TRowUpdateEvent OnRowUpdate;                  // Row writer, select-cell rule
  TRowChangingEvent OnRowChanging;              // DoCellChanging
  TColChangingEvent OnColChanging;              // DoCellChanging
  TCellChangingEvent OnCellChanging;            // DoCellChanging
  TRowDisjunctSelectEvent OnRowDisjunctSelect;      // the selection model
  TRowDisjunctSelectedEvent OnRowDisjunctSelected;  // the selection model
  TClickCellEvent OnClickCell;                  // the rest of this section: raised by the mouse and keys
  TClickCellEvent OnRightClickCell;
  TDblClickCellEvent OnDblClickCell;
  std::function<void(Sender, int ARow, int ACol, bool& Allow)> OnCanClickCell;
  TAutoAdvanceEvent OnAutoAdvance;
  plat::TNotifyEvent OnSelectionChanged;
  TSelectionResizeEvent OnSelectionResize;
  TSelectionResizedEvent OnSelectionResized;
  TScrollCellEvent OnScrollCell;
  TDragScrollEvent OnDragScroll;
  // -- printing (not raised yet: the print engine of the data services)
  TPrintPageEvent OnPrintPage;
  TPrintGetPageNumEvent OnPrintGetPageNum;
  TPrintPageDoneEvent OnPrintPageDone;
  TPrintStartEvent OnPrintStart;
  TPrintCancelEvent OnPrintCancel;
  TFitToPageEvent OnFitToPage;
  TPrintNewPageEvent OnPrintNewPage;
  TPrintColumnWidthEvent OnPrintSetColumnWidth;
  TPrintRowHeightEvent OnPrintSetRowHeight;
  // -- drag and drop (raised by the drag-and-drop code)
  TOleDropEvent OnOleDrop;
  TOleDroppedEvent OnOleDropped;
  TOleDragEvent OnOleDrag;
  TOleDragOverEvent OnOleDragOver;
  TOleDragStartEvent OnOleDragStart;
  TOleDragStopEvent OnOleDragStop;
  TOleDropColEvent OnOleDropCol;
  TOleDropFileEvent OnOleDropFile;
  TOleDropURLEvent OnOleDropURL;
  // -- side windows (raised when the footers are made)
  TCreatedFooterEvent OnCreatedFloatingFooter;
  TCreatedFooterEvent OnCreatedSearchFooter;    // the search panel made its controls (first shown)
};

}  // namespace grid
