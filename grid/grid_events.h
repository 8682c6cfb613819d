#pragma once
// Signatures of the string grid's events that need drawing objects or grid types beyond the shared ones
// (the shared ones are in grid/model/gridtypes.h). Sender first; references are in-out arguments.

#include <QString>

#include <functional>

#include "grid/model/gridtypes.h"
#include "platform/graphics/gdiobjects.h"
#include "platform/grids/grids.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/strings.h"

namespace plat {
class TCanvas;
class TControl;
class TPopupMenu;
}  // namespace plat

namespace grid {

class TEditLink;

// ---- looks
using TGridColorEvent = std::function<void(Sender, int ARow, int ACol, plat::TGridDrawState AState,
                                           plat::TBrush* ABrush, plat::TFont* AFont)>;
using TGridBorderEvent = std::function<void(Sender, int ARow, int ACol, plat::TPen* APen, TCellBorders& Borders)>;
using TGridBorderPropEvent = std::function<void(Sender, int ARow, int ACol, plat::TColor& LeftColor,
                                                plat::TColor& TopColor, plat::TColor& RightColor,
                                                plat::TColor& BottomColor)>;
using TGetWordWrapEvent = std::function<void(Sender, int ACol, int ARow, bool& WordWrap)>;
using TGetCellCursorEvent = std::function<void(Sender, int ACol, int ARow, int X, int Y, int& ACursor)>;
using TCustomCellSizeEvent = std::function<void(Sender, plat::TCanvas* Canvas, int ACol, int ARow,
                                                plat::TPoint& ASize, bool Printing)>;
using TGridWideHintEvent = std::function<void(Sender, int ARow, int ACol, QString& hintstr)>;
using TFooterPaintEvent = std::function<void(Sender, plat::TCanvas* Canvas, int ACol, plat::TRect ARect,
                                             bool& DefaultDraw)>;
using TPaintedEvent = plat::TNotifyEvent;

// ---- cells and calculations
using TColumnCalcEvent = std::function<void(Sender, int ACol, int FromRow, int ToRow, double& Res)>;
using TGroupCalcEvent = std::function<void(Sender, int ACol, int FromRow, int ToRow, double& Res)>;
using TFooterCalcEvent = std::function<void(Sender, int ACol, int ARow, QString& Value)>;
using TCheckValueEvent = std::function<void(Sender, int ACol, int ARow, QString& Value)>;
using TIsFixedCellEvent = std::function<void(Sender, int ARow, int ACol, bool& IsFixed)>;
using TIsPasswordCellEvent = std::function<void(Sender, int ARow, int ACol, bool& IsPassword)>;
using TCustomStrToDateEvent = std::function<void(Sender, const QString& Value, plat::TDateTime& ADate,
                                                 bool& IsValid)>;
using TCellsChangedEvent = std::function<void(Sender, plat::TRect R)>;
using TSaveCellEvent = std::function<void(Sender, int ACol, int ARow, QString& Value)>;
using TProgressEvent = std::function<void(Sender, int Progress)>;

// ---- editing
using TCellValidateEvent = std::function<void(Sender, int ACol, int ARow, QString& Value, bool& Valid)>;
using TEditCellDoneEvent = std::function<void(Sender, int ACol, int ARow)>;
using TEditChangeEvent = std::function<void(Sender, int ACol, int ARow, QString Value)>;
using TDateTimeChangeEvent = std::function<void(Sender, int ACol, int ARow, plat::TDateTime ADateTime)>;
using TComboEvent = std::function<void(Sender, int ARow, int ACol)>;
using TComboChangeEvent = std::function<void(Sender, int ACol, int ARow, int AItemIndex, QString ASelection)>;
using TComboObjectChangeEvent = std::function<void(Sender, int ACol, int ARow, int AItemIndex,
                                                   QString ASelection, plat::TObject* AObject)>;
using TGetEditorPropEvent = std::function<void(Sender, int ACol, int ARow, TEditLink* AEditLink)>;
using TGetEditorPropIntEvent = std::function<void(Sender, int ARow, int ACol)>;
// The handler fills Values (the combo's items) and may change the editor kind.
using TFixedEditEvent =
    std::function<void(Sender, int ACol, int ARow, TGridFixedCellEditor& AEditor, plat::TStrings* Values)>;
// The handler may change the menu that pops up (nullptr: none) and keep the cell highlighted after it.
using TFixedDropDownEvent = std::function<void(Sender, int ACol, int ARow, plat::TPopupMenu*& AMenu,
                                               bool& KeepFixedCellHighlighted)>;
using TCanShowFixedDropDownEvent = std::function<void(Sender, int ACol, bool& Allow)>;
using TCheckBoxChangeEvent = std::function<void(Sender, int ACol, int ARow, bool State)>;
using TRadioClickEvent = std::function<void(Sender, int ACol, int ARow, int AIdx)>;
using TColorSelectedEvent = std::function<void(Sender, int ACol, int ARow, plat::TColor AColor)>;
using TColorSelectEvent = std::function<void(Sender, int ACol, int ARow, plat::TColor Color, QString Value)>;
using TImageSelectedEvent = std::function<void(Sender, int ACol, int ARow, int AImageIndex)>;
using TRatingChangeEvent = std::function<void(Sender, int ACol, int ARow, double& AValue)>;
using TUnitChangedEvent = std::function<void(Sender, int ACol, int ARow, QString AUnit)>;
using TDropDownButtonClickEvent = std::function<void(Sender, int ACol, int ARow, int AButtonIndex)>;
using TControlEvent = std::function<void(Sender, int ARow, int ACol, QString CtrlID, QString CtrlType,
                                         QString CtrlVal)>;
using TControlComboListEvent = std::function<void(Sender, int ARow, int ACol, QString CtrlID,
                                                  QString CtrlType, QString CtrlVal, plat::TStringList* Values,
                                                  bool& Edit, int& DropCount)>;
using TRichEditSelectionChangeEvent = plat::TNotifyEvent;

// ---- moving the current cell and selection
using TRowUpdateEvent = std::function<void(Sender, int OldRow, int NewRow)>;
using TRowChangingEvent = std::function<void(Sender, int OldRow, int NewRow, bool& Allow)>;
using TColChangingEvent = std::function<void(Sender, int OldCol, int NewCol, bool& Allow)>;
using TCellChangingEvent = std::function<void(Sender, int OldRow, int OldCol, int NewRow, int NewCol, bool& Allow)>;
using TAutoAdvanceEvent = std::function<void(Sender, int OldRow, int OldCol, int& NewRow, int& NewCol, bool& Allow)>;
using TScrollCellEvent = std::function<void(Sender, int ACol, int ARow, int ScrollPosition, int ScrollMin,
                                            int ScrollMax)>;
using TSelectionResizeEvent =
    std::function<void(Sender, plat::TGridRect OrigSelection, plat::TGridRect NewSelection)>;
using TSelectionResizedEvent = TSelectionResizeEvent;
using TDragScrollEvent = std::function<void(Sender, int TopRow, int LeftCol, int& DragScrollDir, bool& CanScroll)>;
using TCellBalloonEvent = std::function<void(Sender, int ACol, int ARow, QString& ATitle, QString& AText,
                                             int& AIcon)>;

// ---- rows, columns, nodes and moving
using TColumnMoveEvent = std::function<void(Sender, int ACol, bool& Allow)>;
// The column (row) under the mouse during a move; Allow false shows that it cannot be dropped there.
using TColumnMovingEvent = std::function<void(Sender, int ACol, bool& Allow)>;
using TRowMoveEvent = std::function<void(Sender, int ARow, bool& Allow)>;
using TRowMovingEvent = std::function<void(Sender, int ARow, bool& Allow)>;
using TNodeEvent = std::function<void(Sender, int ARow, int ARowReal)>;
using TBeforeNodeEvent = std::function<void(Sender, int ARow, int ARowReal, bool& Allow)>;

// ---- searching and filtering
using TSearchFooterActionEvent = std::function<void(Sender, QString Value, int ACol, int ARow, int SearchAction)>;
using TCustomFilterEvent = std::function<void(Sender, int ACol, int ARow, const QString& Value, bool& Allow)>;
using TGetColumnFilterEvent = std::function<void(Sender, int Column, plat::TStrings* Filter)>;
using TFilterSelectEvent = std::function<void(Sender, int Column, int ItemIndex, QString FriendlyName,
                                              QString& FilterCondition)>;

// ---- printing
using TPrintPageEvent = std::function<void(Sender, plat::TCanvas* Canvas, int PageNr, int PageXSize,
                                           int PageYSize)>;
using TPrintGetPageNumEvent = std::function<void(Sender, int PageNum, int PageColNum, QString& PageNumString)>;
using TPrintStartEvent = std::function<void(Sender, int NrOfPages, int& FromPage, int& ToPage)>;
using TPrintCancelEvent = std::function<void(Sender, int PageNr, bool& Cancel)>;
// LastRow: the row the next page starts with; LastRowOffset: the y below the page's last row (tenths of a
// millimetre, negative down the page).
using TPrintPageDoneEvent = std::function<void(Sender, plat::TCanvas* Canvas, int LastRow, int LastRowOffset,
                                               int LastPage, int PageXSize, int PageYSize)>;
using TFitToPageEvent = std::function<void(Sender, double& ScaleFactor, bool& Allow)>;
using TPrintNewPageEvent = std::function<void(Sender, int ARow, bool& NewPage)>;
using TPrintColumnWidthEvent = std::function<void(Sender, int ACol, int& Width)>;
using TPrintRowHeightEvent = std::function<void(Sender, int ARow, int& Height)>;

// ---- clipboard and drag and drop
using TClipboardEvent = std::function<void(Sender, bool& Allow)>;
using TClipboardAfterPasteEvent = std::function<void(Sender, int ACol, int ARow, QString Value)>;
using TClipboardBeforePasteEvent = std::function<void(Sender, int ACol, int ARow, QString& Value, bool& Allow)>;
using TOleDropEvent = std::function<void(Sender, int ARow, int ACol, QString data, bool& Allow)>;
// ARect: the cells a drop wrote (a text drop), or the selection where it wrote none or the cells went in whole.
using TOleDroppedEvent = std::function<void(Sender, plat::TGridRect ARect)>;
using TOleDragEvent = std::function<void(Sender, int ARow, int ACol, QString data, bool& Allow)>;
using TOleDragOverEvent = std::function<void(Sender, int ARow, int ACol, bool& Allow)>;
using TOleDragStartEvent = std::function<void(Sender, int ARow, int ACol)>;
using TOleDragStopEvent = std::function<void(Sender, int OLEEffect)>;
using TOleDropColEvent = std::function<void(Sender, int ARow, int ACol, int DropCol, bool& Allow)>;
using TOleDropFileEvent = std::function<void(Sender, int ARow, int ACol, QString FileName, bool& Allow)>;
using TOleDropURLEvent = std::function<void(Sender, int ARow, int ACol, QString URL, bool& Allow)>;

// ---- side windows created on demand
using TCreatedFooterEvent = std::function<void(Sender, plat::TControl* Panel)>;

}  // namespace grid
