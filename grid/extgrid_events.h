#pragma once
// The events of the string grid, grouped as the grid raises them; the grid object carries this set. A comment
// names the dispatcher that fires an event where it is not the event's own name.

#include "grid/grid_events.h"

namespace grid {

struct TExtGridEvents {
  // -- cells
  TGetDisplTextEvent OnGetDisplText;
  TFloatFormatEvent OnGetFloatFormat;
  TCellsChangedEvent OnCellsChanged;            // CellsChanged
  TCustomStrToDateEvent OnCustomStrToDate;      // raised by later work (date conversion of the data code)
  TCheckValueEvent OnGetCheckTrue;              // GetCheckTrue
  TCheckValueEvent OnGetCheckFalse;             // GetCheckFalse
  TColumnCalcEvent OnColumnCalc;                // raised by later work (footer and group calculations)
  TGroupCalcEvent OnGroupCalc;                  // raised by later work (grouping)
  TFooterCalcEvent OnFooterCalc;                // raised by later work (floating footer)
  TSaveCellEvent OnSaveCell;                    // raised by later work (file saving)
  TSaveCellEvent OnLoadCell;                    // raised by later work (file loading)
  TProgressEvent OnFileProgress;                // raised by later work (file loading and saving)
  TClipboardEvent OnClipboardPaste;             // raised by later work: the clipboard code
  TClipboardEvent OnClipboardCopy;              // raised by later work
  TClipboardEvent OnClipboardCut;               // raised by later work
  TClipboardAfterPasteEvent OnClipboardAfterPasteCell;       // raised by later work
  TClipboardAfterPasteEvent OnClipboardAfterPasteWideCell;   // raised by later work
  TClipboardBeforePasteEvent OnClipboardBeforePasteCell;     // raised by later work
  TClipboardBeforePasteEvent OnClipboardBeforePasteWideCell; // raised by later work
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
  TCustomCellSizeEvent OnCustomCellSize;
  TGridHintEvent OnGridHint;                    // DoGridHint
  TGridWideHintEvent OnGridWideHint;            // DoGridHint
  TScrollHintEvent OnScrollHint;
  TCellBalloonEvent OnCellBalloon;
  TFooterPaintEvent OnFooterPaint;
  TPaintedEvent OnPainted;
  TAnchorClickEvent OnAnchorClick;              // raised by later work: the mouse handling
  TAnchorEvent OnAnchorEnter;                   // raised by later work
  TAnchorEvent OnAnchorExit;                    // raised by later work
  TAnchorHintEvent OnAnchorHint;                // raised by later work
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
  TCustomCompareEvent OnCustomCompare;
  TRawCompareEvent OnRawCompare;
  TCustomFilterEvent OnCustomFilter;
  TGetColumnFilterEvent OnGetColumnFilter;      // BuildColumnFilterList
  plat::TNotifyEvent OnFilterDone;
  TFilterSelectEvent OnFilterSelect;
  TFilterSelectEvent OnFilterCheck;
  TProgressEvent OnFilterProgress;
  TSearchEditChangeEvent OnSearchEditChange;
  TSearchFooterActionEvent OnSearchFooterAction;  // DoSearchFooterAction
  plat::TNotifyEvent OnSearchFooterClose;
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
  TColorSelectedEvent OnColorSelected;
  TColorSelectEvent OnColorSelect;               // DoColorSelect
  TImageSelectedEvent OnImageSelected;
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
  // -- printing (raised by the print code)
  TPrintPageEvent OnPrintPage;
  TPrintGetPageNumEvent OnPrintGetPageNum;
  TPrintPageEvent OnPrintPageDone;
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
  TCreatedFooterEvent OnCreatedSearchFooter;
};

}  // namespace grid
