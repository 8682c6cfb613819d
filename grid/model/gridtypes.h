#pragma once
// Types shared by the whole string-grid family: editor kinds, sort styles, alignments, option enumerations
// and the event signatures whose arguments need no drawing objects. The enumerations keep their declared
// order: stored forms and the grid's tables rely on the ordinals.

#include <QString>

#include <functional>

#include "platform/graphics/gdivalues.h"
#include "platform/rtl/sets.h"

namespace plat {
class TObject;
}

namespace grid {

using plat::TColor;

enum TVAlignment { vtaTop, vtaCenter, vtaBottom };
enum TCellGradientDirection { GradientVertical, GradientHorizontal };

// Kind of calculation a footer or group cell shows.
enum TColumnCalcType { acNONE, acSUM, acAVG, acCOUNT, acMIN, acMAX, acSPREAD, acCUSTOM, acDISTINCT, acSTDDEV };

// Editor of a cell.
enum TEditorType {
  edNormal, edSpinEdit, edComboEdit, edComboList, edEditBtn, edCheckBox, edDateEdit, edDateEditUpDown,
  edTimeEdit, edButton, edDataCheckBox, edNumeric, edPositiveNumeric, edFloat, edCapital, edMixedCase,
  edPassword, edUnitEditBtn, edLowerCase, edUpperCase, edFloatSpinEdit, edTimeSpinEdit, edDateSpinEdit,
  edNumericEditBtn, edFloatEditBtn, edCustom, edRichEdit, edNone, edDateTimeEdit, edValidChars,
  edTrackbarDropDown, edMemoDropDown, edCalculatorDropDown, edTimePickerDropDown, edDetailDropDown,
  edGridDropDown, edColorPickerDropDown, edImagePickerDropDown, edExtGridDropDown, edPositiveFloat,
  edNumericUnitEditBtn, edFloatUnitEditBtn, edMaskEditBtn
};

// How a column compares when sorting.
enum TSortStyle {
  ssAutomatic, ssAlphabetic, ssNumeric, ssDate, ssAlphaNoCase, ssAlphaCase, ssShortDateEU, ssShortDateUS,
  ssCustom, ssFinancial, ssAnsiAlphaCase, ssAnsiAlphaNoCase, ssRaw, ssHTML, ssImages, ssCheckBox, ssDateTime,
  ssTime, ssAlphaNumeric, ssAlphaNumericNoCase
};

enum TCellBorder { cbTop, cbLeft, cbRight, cbBottom };
using TCellBorders = plat::TSet<TCellBorder, 63>;

enum TArrowDirection { arrUp, arrDown, arrLeft, arrRight };
enum TExtGridButtonStyle { tasButton, tasCheck };
enum TSearchDirection { sdTopBottom, sdLeftRight };
enum THomeEndAction { heFirstLastColumn, heFirstLastRow, heFirstLastCell };
enum TClipboardPasteAction { paReplace, paInsert };
enum TAdvanceDirection { adLeftRight, adTopBottom, adLeftRightInRow, adTopBottomInCol };
enum TInsertPosition { pInsertBefore, pInsertAfter };
enum TCursorAdvance { caDefault, caSnake, caLoop };
enum TGridFixedCellEdit { fceNone, fceDblClick, fceLeftClick, fceRightClick };
enum TGridFixedCellEditor { fceEdit, fceComboEdit, fceComboList };
enum TWheelAction { waMoveSelection, waScroll };

enum TNodeType { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };
enum TControlStyle { csClassic, csFlat, csWinXP, csTervane, csExt, csGlyph, csTheme };
enum TColumnSizeLocation { clRegistry, clIniFile };
enum TAutoSizeRows { arAll, arNormal, arFixed };
enum TPrintPosition { ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter };
enum TPrintBorders {
  pbNoborder, pbSingle, pbDouble, pbVertical, pbHorizontal, pbAround, pbAroundVertical, pbAroundHorizontal,
  pbCustom
};
enum TFitToPage { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };
enum TBackGroundDisplay { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
enum TBackGroundCells { bcNormal, bcFixed, bcAll };
enum TProgressStyle { psXP, psClassic };
enum TPrinterOrientation { poPortrait, poLandscape };

// Highlights of the base grid's painting.
enum TGridSelectionStyle { ssDefault, ssVista, ssWin7, ssOffice2007 };
enum THoverRowCell { hcNormal, hcFixed, hcSelected };
using THoverRowCells = plat::TSet<THoverRowCell, 63>;

enum TScrollBarAlways { saNone, saVert, saHorz, saBoth };
enum THoverFixedCells { hfNone, hfAll, hfFixedRows, hfFixedColumns };
enum THintShowLargeText { hpCell, hpMouse };
enum TInvalidEntryIcon { ieNone, ieInfo, ieWarning, ieError };
enum TFilterDropDownColumns { fdNormal, fdAll };
enum TMouseSelectMode { msNormal, msColumn, msRow, msAll, msURL, msResize };

// The active colour scheme of the older themed look.
enum TXPColorScheme { xpNone, xpBlue, xpGreen, xpGray, vistaAero };

// ---- events whose arguments need no drawing objects (Sender first; references are "var" arguments)
using Sender = plat::TObject*;
using TGetDisplTextEvent = std::function<void(Sender, int ACol, int ARow, QString& Value)>;
using TFloatFormatEvent =
    std::function<void(Sender, int ACol, int ARow, bool& IsFloat, QString& FloatFormat)>;
using TOnResizeEvent = std::function<void(Sender)>;
using TColumnSizeEvent = std::function<void(Sender, int ACol, bool& Allow)>;
using TColumnSizingEvent = std::function<void(Sender, int ACol, int ColumnSize)>;
using TRowSizingEvent = std::function<void(Sender, int ARow, int RowSize)>;
using TRowSizeEvent = std::function<void(Sender, int ARow, bool& Allow)>;
using TEndColumnSizeEvent = std::function<void(Sender, int ACol)>;
using TUpdateColumnSizeEvent = std::function<void(Sender, int ACol, int& AWidth)>;
using TEndRowSizeEvent = std::function<void(Sender, int ARow)>;
using TClickCellEvent = std::function<void(Sender, int ARow, int ACol)>;
using TDblClickCellEvent = std::function<void(Sender, int ARow, int ACol)>;
using TCanEditCellEvent = std::function<void(Sender, int ARow, int ACol, bool& CanEdit)>;
using TScrollHintEvent = std::function<void(Sender, int ARow, QString& hintstr)>;
using TButtonClickEvent = std::function<void(Sender, int ACol, int ARow)>;
using TExpandClickEvent = std::function<void(Sender, int ACol, int ARow, bool Expanded)>;
using TCheckBoxClickEvent = std::function<void(Sender, int ACol, int ARow, bool State)>;
using TGetEditorTypeEvent = std::function<void(Sender, int ACol, int ARow, TEditorType& AEditor)>;
using TAnchorClickEvent =
    std::function<void(Sender, int ARow, int ACol, const QString& Anchor, bool& AutoHandle)>;
using TAnchorHintEvent = std::function<void(Sender, int ARow, int ACol, QString& Anchor)>;
using TAnchorEvent = std::function<void(Sender, int ARow, int ACol, const QString& Anchor)>;
using TClickSortEvent = std::function<void(Sender, int ACol)>;
using TCanSortEvent = std::function<void(Sender, int ACol, bool& DoSort)>;
using TCustomCompareEvent = std::function<void(Sender, const QString& str1, const QString& str2, int& Res)>;
using TRawCompareEvent = std::function<void(Sender, int ACol, int Row1, int Row2, int& Res)>;
using TGridFormatEvent =
    std::function<void(Sender, int ACol, TSortStyle& AStyle, QString& aPrefix, QString& aSuffix)>;
using TGridGradientEvent = std::function<void(Sender, int ARow, int ACol, TColor& Color, TColor& ColorTo,
                                              TColor& ColorMirror, TColor& ColorMirrorTo,
                                              TCellGradientDirection& GD)>;
using TGridAlignEvent = std::function<void(Sender, int ARow, int ACol, plat::TAlignment& HAlign,
                                           TVAlignment& VAlign)>;
using TGridHintEvent = std::function<void(Sender, int ARow, int ACol, QString& hintstr)>;
using TEllipsClickEvent = std::function<void(Sender, int ACol, int ARow, QString& S)>;
using TGridBalloonEvent =
    std::function<void(Sender, int ACol, int ARow, QString& ATitle, QString& AText, int& AIcon)>;
using TCanInsertRowEvent = std::function<void(Sender, int ARow, bool& CanInsert)>;
using TAutoInsertRowEvent = std::function<void(Sender, int ARow)>;
using TAutoAddRowEvent = std::function<void(Sender, int ARow)>;
using TAutoDeleteRowEvent = std::function<void(Sender, int ARow)>;
using TCanAddRowEvent = std::function<void(Sender, bool& CanAdd)>;
using TCanDeleteRowEvent = std::function<void(Sender, int ARow, bool& CanDelete)>;
using TAutoInsertColEvent = std::function<void(Sender, int ACol)>;
using TSearchEditChangeEvent = std::function<void(Sender, const QString& Value, bool& DefaultSearch)>;
using TSpinClickEvent = std::function<void(Sender, int ACol, int ARow, int AValue, bool UpDown)>;
using TImageChangeEvent = std::function<void(Sender, int Acol, int Arow)>;
using TIsDesigningEvent = std::function<void(Sender, bool& IsDesigning)>;

}  // namespace grid
