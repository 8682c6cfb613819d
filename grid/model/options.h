#pragma once
// The grid's option objects that need no drawing objects: navigation, mouse actions, bands, synchronised grid,
// focus helper, size while typing, column size, HTML export settings, grouping, drag and drop, balloon hints,
// modified-row indicator, drag scrolling, progress-bar look, and the hidden-row record TGridItem.
//
// Settings that only store are plain public fields; a setting whose write does more (notifies, repaints,
// couples another setting) has a getter and a setter. A change reaches the grid through the object's events,
// which the grid constructor connects. Assign copies values only from an object of the same class, as plain
// field copies without notification, unless said otherwise.

#include <QString>

#include <functional>
#include <memory>

#include "grid/model/gridtypes.h"
#include "grid/model/intlist.h"
#include "platform/rtl/collection.h"
#include "platform/rtl/component.h"
#include "platform/rtl/events.h"
#include "platform/rtl/strings.h"

namespace grid {

// A setting that stores and notifies when its value changes.
#define GRID_CHANGE_PROPERTY(Type, Name, Default)    \
 public:                                            \
  Type Name() const { return F##Name; }             \
  void Set##Name(Type Value) {                      \
    if (F##Name == Value) return;                   \
    F##Name = Value;                                \
    Changed();                                      \
  }                                                 \
                                                    \
 private:                                           \
  Type F##Name = Default;

class TNavigation : public plat::TPersistent {
  PLAT_CLASS(TNavigation)

  void Assign(plat::TPersistent* Source) override;
  // True also turns AdvanceOnEnter on (without notice); false leaves it.
  bool AdvanceAuto() const { return FAdvanceAuto; }
  void SetAdvanceAuto(bool Value);
  TAdvanceDirection AdvanceDirection() const { return FAdvanceDirection; }
  void SetAdvanceDirection(TAdvanceDirection Value);  // notifies when changed
  bool AdvanceInsert() const { return FAdvanceInsert; }
  void SetAdvanceInsert(bool Value);  // notifies when changed

  bool AllowInsertRow = false, AllowDeleteRow = false, AlwaysEdit = false, AdvanceOnEnter = false;
  bool AdvanceOnEnterLoop = true, AdvanceAutoEdit = true, AdvanceSkipReadOnlyCells = true;
  bool AutoGotoWhenSorted = false, AutoGotoIncremental = false, AutoComboDropSize = false;
  bool AllowClipboardShortCuts = false, AllowCtrlEnter = true, AllowSmartClipboard = false;
  bool AllowRTFClipboard = false, AllowFmtClipboard = false, AllowClipboardAlways = false;
  bool AllowClipboardRowGrow = true, AllowClipboardColGrow = true, AppendOnArrowDown = false;
  bool EditSelectAll = true, ComboGetUpDown = true, CursorWalkEditor = false, CursorWalkAlwaysEdit = true;
  bool CursorMoveRows = false, MoveRowOnSort = false, KeepScrollOnSort = false, MoveScrollOnly = false;
  bool ImproveMaskSel = false, LeftRightRowSelect = true, CopyHTMLTagsToClipboard = true;
  bool KeepHorizScroll = false, LineFeedOnEnter = false, SkipFixedCells = true, SkipDisabledRows = true;
  bool TabToNextAtEnd = false;
  TInsertPosition InsertPosition = pInsertBefore;
  TClipboardPasteAction ClipboardPasteAction = paReplace;
  TCursorAdvance CursorAdvance = caDefault;
  THomeEndAction HomeEndKey = heFirstLastColumn;
  TAdvanceDirection TabAdvanceDirection = adLeftRight;
  plat::TNotifyEvent OnChange;

 private:
  void Changed();
  bool FAdvanceAuto = false;
  TAdvanceDirection FAdvanceDirection = adLeftRight;
  bool FAdvanceInsert = false;
};

class TMouseActions : public plat::TPersistent {
  PLAT_CLASS(TMouseActions)

  explicit TMouseActions(plat::TComponent* AOwner) : FOwner(AOwner) {}
  // Copies every published value except EditOnDblClickOnly, FixedComboValues, HotmailRowSelect and
  // SizeFixedRow.
  void Assign(plat::TPersistent* Source) override;

  // True also turns DisjunctRowSelect and CheckAllCheck on; every write fires OnInvalidate.
  bool HotmailRowSelect() const { return FHotmailRowSelect; }
  void SetHotmailRowSelect(bool Value);
  // While the grid is designed, turning one of the three on turns the other two off.
  bool DisjunctRowSelect() const { return DisjunctRowSelectDirect; }
  void SetDisjunctRowSelect(bool Value);
  bool DisjunctColSelect() const { return FDisjunctColSelect; }
  void SetDisjunctColSelect(bool Value);
  bool DisjunctCellSelect() const { return FDisjunctCellSelect; }
  void SetDisjunctCellSelect(bool Value);
  bool EditOnDblClickOnly() const { return FEditOnDblClickOnly; }
  void SetEditOnDblClickOnly(bool Value);  // true fires OnDisableEdit
  TWheelAction WheelAction() const { return FWheelAction; }
  void SetWheelAction(TWheelAction Value);  // notifies when changed
  plat::TStrings* FixedComboValues() { return &FFixedComboValues; }
  void SetFixedComboValues(plat::TStrings* Value) { FFixedComboValues.Assign(Value); }

  bool AllColumnSize = false, AllRowSize = false, AllSelect = false, AutoSizeColOnDblClick = true;
  bool CaretPositioning = false, CheckAllCheck = false, ColSelect = false, DirectComboClose = false;
  bool DirectComboDrop = false, DirectDateClose = false, DirectDateDrop = false, DirectEdit = false;
  bool DisjunctRowSelectNoCtrl = false, MoveRowOnNodeClick = false, NoAutoRangeScroll = false;
  bool NodeAllExpandContract = false, NoScrollOnPartialRow = false, PreciseCheckBoxCheck = false;
  bool PreciseNodeClick = true, RangeSelectAndEdit = false, RowSelect = false, RowSelectPersistent = false;
  bool SelectOnRightClick = false, SizeFixedCol = false, SizeFixedRow = false;
  TGridFixedCellEdit FixedRowsEdit = fceNone, FixedColsEdit = fceNone;
  TGridFixedCellEditor FixedRowsEditor = fceEdit, FixedColsEditor = fceEdit;
  int WheelIncrement = 0;
  bool DisjunctRowSelectDirect = false;  // the DisjunctRowSelect value, written without its setter
  plat::TNotifyEvent OnChange;
  plat::TNotifyEvent OnInvalidate;
  TIsDesigningEvent OnIsDesigning;
  plat::TNotifyEvent OnDisableEdit;

 private:
  bool Designing();
  plat::TComponent* FOwner;
  bool FHotmailRowSelect = false;
  bool FDisjunctColSelect = false;
  bool FDisjunctCellSelect = false;
  bool FEditOnDblClickOnly = false;
  TWheelAction FWheelAction = waMoveSelection;
  plat::TStringList FFixedComboValues;
};

class TBands : public plat::TPersistent {
  PLAT_CLASS(TBands)

  // Copies the settings and recomputes TotalLength, without notice.
  void Assign(plat::TPersistent* Source) override;
  bool Active() const { return FActive; }
  void SetActive(bool Value);  // notifies when changed
  // The colours and lengths notify only while the bands are active.
  TColor PrimaryColor() const { return FPrimaryColor; }
  void SetPrimaryColor(TColor Value);
  TColor SecondaryColor() const { return FSecondaryColor; }
  void SetSecondaryColor(TColor Value);
  int PrimaryLength() const { return FPrimaryLength; }
  void SetPrimaryLength(int Value);
  int SecondaryLength() const { return FSecondaryLength; }
  void SetSecondaryLength(int Value);
  int TotalLength() const { return FPrimaryLength + FSecondaryLength; }

  bool Print = false;
  plat::TNotifyEvent OnChange;

 private:
  void ChangedIfActive();
  bool FActive = false;
  TColor FPrimaryColor = plat::clInfoBk;
  TColor FSecondaryColor = plat::clWindow;
  int FPrimaryLength = 1;
  int FSecondaryLength = 1;
};

class TSyncGrid : public plat::TPersistent {
  PLAT_CLASS(TSyncGrid)

  explicit TSyncGrid(plat::TComponent* AOwner) : FOwner(AOwner) {}
  void Assign(plat::TPersistent* Source) override;
  plat::TComponent* Grid() const { return FGrid; }
  // The owner grid itself is refused: the old value stays.
  void SetGrid(plat::TComponent* Value);

  bool ScrollVertical = false, ScrollHorizontal = false, SelectionColumn = false, SelectionRow = false;
  bool MoveColumn = false, MoveRow = false;

 private:
  plat::TComponent* FOwner;
  plat::TComponent* FGrid = nullptr;
};

class TFocusHelper : public plat::TPersistent {
  PLAT_CLASS(TFocusHelper)

  explicit TFocusHelper(plat::TComponent* AOwner) { (void)AOwner; }
  void Assign(plat::TPersistent* Source) override;
  bool Enabled = false;
};

class TSizeWhileTyping : public plat::TPersistent {
  PLAT_CLASS(TSizeWhileTyping)

  bool Height = false;
  bool Width = false;
};

class TColumnSize : public plat::TPersistent {
  PLAT_CLASS(TColumnSize)

  explicit TColumnSize(plat::TComponent* AOwner) { (void)AOwner; }
  // Copies every setting, without stretching again.
  void Assign(plat::TPersistent* Source) override;
  bool Stretch() const { return FStretch; }
  // Stores, then asks the grid to stretch again (the grid does it when it has a parent window).
  void SetStretch(bool Value);

  bool Save = false;
  QString Key, Section;
  TColumnSizeLocation Location = clRegistry;
  int StretchColumn = -1;
  bool SynchWithGrid = false, SynchNormalCellsOnly = false;
  TAutoSizeRows Rows = arAll;
  plat::TNotifyEvent OnStretch;

 private:
  bool FStretch = false;
};

class THTMLSettings : public plat::TPersistent {
  PLAT_CLASS(THTMLSettings)

  // Copies every published value except ExportImages; ColWidths is not copied.
  void Assign(plat::TPersistent* Source) override;

  bool SaveColor = true, SaveFonts = true;
  int BorderSize = 1, CellSpacing = 0, CellPadding = 0, Width = 100;
  bool ExportImages = true, AutoPreview = false, ConvertSpecialChars = false, NonBreakingText = false;
  bool XHTML = false;
  QString FooterFile, HeaderFile, TableStyle, PrefixTag, SuffixTag, Summary;
  TIntList ColWidths{-1, -1};
};

class TGrouping : public plat::TPersistent {
  PLAT_CLASS(TGrouping)

  // Copies all but Summary, the two line colours and the two line widths.
  void Assign(plat::TPersistent* Source) override;

  TColor HeaderColor = plat::clNone, HeaderColorTo = plat::clNone, HeaderTextColor = plat::clNone;
  TColor SummaryColor = plat::clNone, SummaryColorTo = plat::clNone, SummaryTextColor = plat::clNone;
  TColor HeaderLineColor = plat::clBlue, SummaryLineColor = plat::clBlue;
  int HeaderLineWidth = 2, SummaryLineWidth = 2;
  bool HeaderUnderline = false, SummaryLine = false, MergeHeader = false, MergeSummary = false;
  bool Summary = false, ShowGroupCount = false, AutoSelectGroup = false, AutoCheckGroup = false;
  QString GroupCountFormat;
};

class TDragDropSettings : public plat::TPersistent {
  PLAT_CLASS(TDragDropSettings)

  explicit TDragDropSettings(plat::TComponent* AOwner) : FOwner(AOwner) {}
  // Copies every flag as a plain field: registers or revokes nothing.
  void Assign(plat::TPersistent* Source) override;
  bool OleDropTarget() const { return FOleDropTarget; }
  // Stores; outside the designer, hands the new value to OnDropTargetChange, with which the grid registers
  // or revokes its window as a drop target.
  void SetOleDropTarget(bool Value);
  bool OleDropRTF() const { return FOleDropRTF; }
  // Switches RTF drops of the drag-and-drop layer (OnDropRTFChange), then stores.
  void SetOleDropRTF(bool Value);

  bool OleAcceptFiles = true, OleAcceptText = true, OleAcceptURLs = true, ShowCells = true;
  bool OleDropSource = false, OleEntireRows = false, OleRemoveRows = false, OleInsertRows = false;
  bool OleAppendRows = false, OleCopyAlways = false, OleColumnDragDrop = false, OleColumnReorder = false;
  bool OleColumnsOnly = false;
  std::function<void(bool)> OnDropTargetChange;
  std::function<void(bool)> OnDropRTFChange;

 private:
  plat::TComponent* FOwner;
  bool FOleDropTarget = false;
  bool FOleDropRTF = false;
};

class TBalloonSettings : public plat::TPersistent {
  PLAT_CLASS(TBalloonSettings)

  // Copies the colours, the three delays and Enable (without notice), not Transparency.
  void Assign(plat::TPersistent* Source) override;
  bool Enable() const { return FEnable; }
  void SetEnable(bool Value);  // stores and always fires OnEnableChange

  TColor BackgroundColor = plat::clNone, TextColor = plat::clNone;
  int InitialDelay = -1, ReshowDelay = -1, AutoHideDelay = -1;  // -1: the tooltip's own delay
  quint8 Transparency = 0;
  bool TooltipReady = false;  // whether the tooltip window has been set up
  plat::TNotifyEvent OnEnableChange;

 private:
  bool FEnable = false;
};

class TShowModified : public plat::TPersistent {
  PLAT_CLASS(TShowModified)

  void Assign(plat::TPersistent* Source) override;
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);  // stores and fires OnChange

  bool Enabled = false;
  plat::TNotifyEvent OnChange;

 private:
  TColor FColor = plat::clYellow;
};

class TDragScrollDelays : public plat::TPersistent {
  PLAT_CLASS(TDragScrollDelays)

  void Assign(plat::TPersistent* Source) override;
  int InitialDelay = 1000;  // milliseconds
  int RepeatDelay = 250;
};

class TDragScrollMargins : public plat::TPersistent {
  PLAT_CLASS(TDragScrollMargins)

  void Assign(plat::TPersistent* Source) override;
  int TopMargin = 50, BottomMargin = 50, LeftMargin = 50, RightMargin = 50;  // pixels
};

class TDragScrollOptions : public plat::TPersistent {
  PLAT_CLASS(TDragScrollOptions)

  void Assign(plat::TPersistent* Source) override;
  TDragScrollDelays* Delays() { return &FDelays; }
  TDragScrollMargins* Margins() { return &FMargins; }
  bool Active = false;

 private:
  TDragScrollDelays FDelays;
  TDragScrollMargins FMargins;
};

class TGridProgressAppearance : public plat::TPersistent {
  PLAT_CLASS(TGridProgressAppearance)

  // Copies every setting, then fires OnChange.
  void Assign(plat::TPersistent* Source) override;
  plat::TNotifyEvent OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange(this);
  }
  // Every setter below stores and fires OnChange when the value changes. Colours are 0xBBGGRR.
  GRID_CHANGE_PROPERTY(TColor, CompleteColor, plat::clRed)
  GRID_CHANGE_PROPERTY(TColor, CompleteFontColor, plat::clBlue)
  GRID_CHANGE_PROPERTY(TColor, UnCompleteColor, plat::clNone)
  GRID_CHANGE_PROPERTY(TColor, UnCompleteFontColor, plat::clWindowText)
  GRID_CHANGE_PROPERTY(TColor, Level0Color, 0x00FF00)
  GRID_CHANGE_PROPERTY(TColor, Level0ColorTo, 0xE1FFE1)
  GRID_CHANGE_PROPERTY(TColor, Level1Color, 0x00FFFF)
  GRID_CHANGE_PROPERTY(TColor, Level1ColorTo, 0xCAFFFF)
  GRID_CHANGE_PROPERTY(TColor, Level2Color, 0x53A9FF)
  GRID_CHANGE_PROPERTY(TColor, Level2ColorTo, 0xA8D3FF)
  GRID_CHANGE_PROPERTY(TColor, Level3Color, 0x0000FF)
  GRID_CHANGE_PROPERTY(TColor, Level3ColorTo, 0xCACAFF)
  GRID_CHANGE_PROPERTY(int, Level1Perc, 70)
  GRID_CHANGE_PROPERTY(int, Level2Perc, 90)
  GRID_CHANGE_PROPERTY(TColor, BorderColor, plat::clBlack)
  GRID_CHANGE_PROPERTY(bool, ShowBorder, false)
  GRID_CHANGE_PROPERTY(bool, Stacked, false)
  GRID_CHANGE_PROPERTY(bool, ShowPercentage, true)
  GRID_CHANGE_PROPERTY(bool, CompletionSmooth, true)
  GRID_CHANGE_PROPERTY(bool, ShowGradient, true)
  GRID_CHANGE_PROPERTY(int, Steps, 11)
  GRID_CHANGE_PROPERTY(TProgressStyle, Style, psXP)
};

namespace detail {
struct TRowCells;
}

// The record of one hidden row. While only the hiding code uses it, it keeps the row as the cell store held it
// (texts and properties moved out whole); Items hands the cells out as a string list (texts with their
// TCellProperties as objects) the first time it is asked, and the list is then what the record holds.
class TGridItem : public plat::TCollectionItem {
  PLAT_CLASS(TGridItem)

  explicit TGridItem(plat::TCollection* Collection);
  ~TGridItem() override;
  int Idx() const { return FIdx; }
  void SetIdx(int Value) { FIdx = Value; }
  int Height() const { return FHeight; }
  void SetHeight(int Value) { FHeight = Value; }
  // Valid until Row is next asked for.
  plat::TStrings* Items() const;
  // The item takes the list over (and frees it).
  void SetItems(std::unique_ptr<plat::TStrings> Value);
  // The row in the store's form (a string list handed out is taken back; objects that are no cell properties
  // are left out); valid until Items is next asked for.
  detail::TRowCells& Row();
  int Level = 0;
  bool FromRowList = false;  // made by a row list (a filter level)

 private:
  int FIdx = 0;
  int FHeight = 0;
  mutable std::unique_ptr<detail::TRowCells> FRow;
  mutable std::unique_ptr<plat::TStrings> FItems;  // null while the record keeps the row
};

}  // namespace grid
