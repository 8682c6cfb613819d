#include "grid/model/options.h"

#include "grid/model/cellgrid.h"

namespace grid {

namespace {

// The source as the same class, or nullptr (Assign then copies nothing).
template <class T>
const T* Same(plat::TPersistent* Source) {
  return dynamic_cast<const T*>(Source);
}

}  // namespace

// ---- TNavigation ---------------------------------------------------------------------------------------

void TNavigation::Changed() {
  if (OnChange) OnChange(this);
}

void TNavigation::SetAdvanceAuto(bool Value) {
  FAdvanceAuto = Value;
  if (Value) AdvanceOnEnter = true;
}

void TNavigation::SetAdvanceDirection(TAdvanceDirection Value) {
  if (FAdvanceDirection == Value) return;
  FAdvanceDirection = Value;
  Changed();
}

void TNavigation::SetAdvanceInsert(bool Value) {
  if (FAdvanceInsert == Value) return;
  FAdvanceInsert = Value;
  Changed();
}

void TNavigation::Assign(plat::TPersistent* Source) {
  const TNavigation* s = Same<TNavigation>(Source);
  if (!s) return;
  // Every value but KeepScrollOnSort.
  AllowInsertRow = s->AllowInsertRow, AllowDeleteRow = s->AllowDeleteRow, AlwaysEdit = s->AlwaysEdit;
  AdvanceOnEnter = s->AdvanceOnEnter, AdvanceOnEnterLoop = s->AdvanceOnEnterLoop;
  AdvanceAutoEdit = s->AdvanceAutoEdit, AdvanceSkipReadOnlyCells = s->AdvanceSkipReadOnlyCells;
  AutoGotoWhenSorted = s->AutoGotoWhenSorted, AutoGotoIncremental = s->AutoGotoIncremental;
  AutoComboDropSize = s->AutoComboDropSize, AllowClipboardShortCuts = s->AllowClipboardShortCuts;
  AllowCtrlEnter = s->AllowCtrlEnter, AllowSmartClipboard = s->AllowSmartClipboard;
  AllowRTFClipboard = s->AllowRTFClipboard, AllowFmtClipboard = s->AllowFmtClipboard;
  AllowClipboardAlways = s->AllowClipboardAlways, AllowClipboardRowGrow = s->AllowClipboardRowGrow;
  AllowClipboardColGrow = s->AllowClipboardColGrow, AppendOnArrowDown = s->AppendOnArrowDown;
  EditSelectAll = s->EditSelectAll, ComboGetUpDown = s->ComboGetUpDown, CursorWalkEditor = s->CursorWalkEditor;
  CursorWalkAlwaysEdit = s->CursorWalkAlwaysEdit, CursorMoveRows = s->CursorMoveRows;
  MoveRowOnSort = s->MoveRowOnSort, MoveScrollOnly = s->MoveScrollOnly, ImproveMaskSel = s->ImproveMaskSel;
  LeftRightRowSelect = s->LeftRightRowSelect, CopyHTMLTagsToClipboard = s->CopyHTMLTagsToClipboard;
  KeepHorizScroll = s->KeepHorizScroll, LineFeedOnEnter = s->LineFeedOnEnter;
  SkipFixedCells = s->SkipFixedCells, SkipDisabledRows = s->SkipDisabledRows;
  TabToNextAtEnd = s->TabToNextAtEnd, InsertPosition = s->InsertPosition;
  ClipboardPasteAction = s->ClipboardPasteAction, CursorAdvance = s->CursorAdvance;
  HomeEndKey = s->HomeEndKey, TabAdvanceDirection = s->TabAdvanceDirection;
  FAdvanceAuto = s->FAdvanceAuto, FAdvanceDirection = s->FAdvanceDirection;
  FAdvanceInsert = s->FAdvanceInsert;
}

// ---- TMouseActions -------------------------------------------------------------------------------------

bool TMouseActions::Designing() {
  bool designing = false;
  if (OnIsDesigning) OnIsDesigning(this, designing);
  return designing;
}

void TMouseActions::SetHotmailRowSelect(bool Value) {
  FHotmailRowSelect = Value;
  if (Value) {
    DisjunctRowSelectDirect = true;
    CheckAllCheck = true;
  }
  if (OnInvalidate) OnInvalidate(this);
}

void TMouseActions::SetDisjunctRowSelect(bool Value) {
  DisjunctRowSelectDirect = Value;
  if (Value && Designing()) FDisjunctColSelect = FDisjunctCellSelect = false;
}

void TMouseActions::SetDisjunctColSelect(bool Value) {
  FDisjunctColSelect = Value;
  if (Value && Designing()) DisjunctRowSelectDirect = FDisjunctCellSelect = false;
}

void TMouseActions::SetDisjunctCellSelect(bool Value) {
  FDisjunctCellSelect = Value;
  if (Value && Designing()) DisjunctRowSelectDirect = FDisjunctColSelect = false;
}

void TMouseActions::SetEditOnDblClickOnly(bool Value) {
  FEditOnDblClickOnly = Value;
  if (Value && OnDisableEdit) OnDisableEdit(this);
}

void TMouseActions::SetWheelAction(TWheelAction Value) {
  if (FWheelAction == Value) return;
  FWheelAction = Value;
  if (OnChange) OnChange(this);
}

void TMouseActions::Assign(plat::TPersistent* Source) {
  const TMouseActions* s = Same<TMouseActions>(Source);
  if (!s) return;
  AllColumnSize = s->AllColumnSize, AllRowSize = s->AllRowSize, AllSelect = s->AllSelect;
  AutoSizeColOnDblClick = s->AutoSizeColOnDblClick, CaretPositioning = s->CaretPositioning;
  CheckAllCheck = s->CheckAllCheck, ColSelect = s->ColSelect, DirectComboClose = s->DirectComboClose;
  DirectComboDrop = s->DirectComboDrop, DirectDateClose = s->DirectDateClose;
  DirectDateDrop = s->DirectDateDrop, DirectEdit = s->DirectEdit;
  DisjunctRowSelectDirect = s->DisjunctRowSelectDirect, FDisjunctColSelect = s->FDisjunctColSelect;
  FDisjunctCellSelect = s->FDisjunctCellSelect, DisjunctRowSelectNoCtrl = s->DisjunctRowSelectNoCtrl;
  FixedRowsEdit = s->FixedRowsEdit, FixedRowsEditor = s->FixedRowsEditor;
  FixedColsEditor = s->FixedColsEditor, FixedColsEdit = s->FixedColsEdit;
  MoveRowOnNodeClick = s->MoveRowOnNodeClick, NoAutoRangeScroll = s->NoAutoRangeScroll;
  NodeAllExpandContract = s->NodeAllExpandContract, NoScrollOnPartialRow = s->NoScrollOnPartialRow;
  PreciseCheckBoxCheck = s->PreciseCheckBoxCheck, PreciseNodeClick = s->PreciseNodeClick;
  RangeSelectAndEdit = s->RangeSelectAndEdit, RowSelect = s->RowSelect;
  RowSelectPersistent = s->RowSelectPersistent, SelectOnRightClick = s->SelectOnRightClick;
  SizeFixedCol = s->SizeFixedCol, WheelIncrement = s->WheelIncrement, FWheelAction = s->FWheelAction;
}

// ---- TBands --------------------------------------------------------------------------------------------

void TBands::ChangedIfActive() {
  if (FActive && OnChange) OnChange(this);
}

void TBands::SetActive(bool Value) {
  if (FActive == Value) return;
  FActive = Value;
  if (OnChange) OnChange(this);
}

void TBands::SetPrimaryColor(TColor Value) {
  if (FPrimaryColor == Value) return;
  FPrimaryColor = Value;
  ChangedIfActive();
}

void TBands::SetSecondaryColor(TColor Value) {
  if (FSecondaryColor == Value) return;
  FSecondaryColor = Value;
  ChangedIfActive();
}

void TBands::SetPrimaryLength(int Value) {
  if (FPrimaryLength == Value) return;
  FPrimaryLength = Value;
  ChangedIfActive();
}

void TBands::SetSecondaryLength(int Value) {
  if (FSecondaryLength == Value) return;
  FSecondaryLength = Value;
  ChangedIfActive();
}

void TBands::Assign(plat::TPersistent* Source) {
  const TBands* s = Same<TBands>(Source);
  if (!s) return;
  FActive = s->FActive;
  FPrimaryColor = s->FPrimaryColor;
  FPrimaryLength = s->FPrimaryLength;
  FSecondaryColor = s->FSecondaryColor;
  FSecondaryLength = s->FSecondaryLength;
  Print = s->Print;
}

// ---- small settings ------------------------------------------------------------------------------------

void TSyncGrid::SetGrid(plat::TComponent* Value) {
  if (Value != nullptr && Value == FOwner) return;
  FGrid = Value;
  // The owner hears of the grid's end and drops it.
  if (Value && FOwner) Value->FreeNotification(FOwner);
}

void TSyncGrid::Assign(plat::TPersistent* Source) {
  const TSyncGrid* s = Same<TSyncGrid>(Source);
  if (!s) return;
  SetGrid(s->FGrid);
  ScrollVertical = s->ScrollVertical, ScrollHorizontal = s->ScrollHorizontal;
  SelectionColumn = s->SelectionColumn, SelectionRow = s->SelectionRow;
  MoveColumn = s->MoveColumn, MoveRow = s->MoveRow;
}

void TFocusHelper::Assign(plat::TPersistent* Source) {
  if (const TFocusHelper* s = Same<TFocusHelper>(Source)) Enabled = s->Enabled;
}

void TColumnSize::SetStretch(bool Value) {
  FStretch = Value;
  if (OnStretch) OnStretch(this);
}

void TColumnSize::Assign(plat::TPersistent* Source) {
  const TColumnSize* s = Same<TColumnSize>(Source);
  if (!s) return;
  Save = s->Save, Key = s->Key, Section = s->Section, Location = s->Location, FStretch = s->FStretch;
  StretchColumn = s->StretchColumn, SynchWithGrid = s->SynchWithGrid;
  SynchNormalCellsOnly = s->SynchNormalCellsOnly, Rows = s->Rows;
}

void THTMLSettings::Assign(plat::TPersistent* Source) {
  const THTMLSettings* s = Same<THTMLSettings>(Source);
  if (!s) return;
  SaveColor = s->SaveColor, SaveFonts = s->SaveFonts, BorderSize = s->BorderSize;
  CellSpacing = s->CellSpacing, CellPadding = s->CellPadding, Width = s->Width;
  AutoPreview = s->AutoPreview, ConvertSpecialChars = s->ConvertSpecialChars;
  NonBreakingText = s->NonBreakingText, XHTML = s->XHTML, FooterFile = s->FooterFile;
  HeaderFile = s->HeaderFile, TableStyle = s->TableStyle, PrefixTag = s->PrefixTag;
  SuffixTag = s->SuffixTag, Summary = s->Summary;
}

void TGrouping::Assign(plat::TPersistent* Source) {
  const TGrouping* s = Same<TGrouping>(Source);
  if (!s) return;
  HeaderColor = s->HeaderColor, HeaderColorTo = s->HeaderColorTo, HeaderTextColor = s->HeaderTextColor;
  SummaryColor = s->SummaryColor, SummaryColorTo = s->SummaryColorTo;
  SummaryTextColor = s->SummaryTextColor, HeaderUnderline = s->HeaderUnderline;
  SummaryLine = s->SummaryLine, MergeHeader = s->MergeHeader, MergeSummary = s->MergeSummary;
  ShowGroupCount = s->ShowGroupCount, AutoSelectGroup = s->AutoSelectGroup;
  AutoCheckGroup = s->AutoCheckGroup, GroupCountFormat = s->GroupCountFormat;
}

// ---- TDragDropSettings ---------------------------------------------------------------------------------

void TDragDropSettings::SetOleDropTarget(bool Value) {
  FOleDropTarget = Value;
  if (FOwner && FOwner->ComponentState().Contains(plat::csDesigning)) return;
  if (OnDropTargetChange) OnDropTargetChange(Value);
}

void TDragDropSettings::SetOleDropRTF(bool Value) {
  if (OnDropRTFChange) OnDropRTFChange(Value);
  FOleDropRTF = Value;
}

void TDragDropSettings::Assign(plat::TPersistent* Source) {
  const TDragDropSettings* s = Same<TDragDropSettings>(Source);
  if (!s) return;
  OleAcceptFiles = s->OleAcceptFiles, OleAcceptText = s->OleAcceptText, OleAcceptURLs = s->OleAcceptURLs;
  ShowCells = s->ShowCells, FOleDropTarget = s->FOleDropTarget, OleDropSource = s->OleDropSource;
  FOleDropRTF = s->FOleDropRTF, OleEntireRows = s->OleEntireRows, OleRemoveRows = s->OleRemoveRows;
  OleInsertRows = s->OleInsertRows, OleAppendRows = s->OleAppendRows, OleCopyAlways = s->OleCopyAlways;
  OleColumnDragDrop = s->OleColumnDragDrop, OleColumnReorder = s->OleColumnReorder;
  OleColumnsOnly = s->OleColumnsOnly;
}

// ---- hints, modified rows, drag scrolling --------------------------------------------------------------

void TBalloonSettings::SetEnable(bool Value) {
  FEnable = Value;
  if (OnEnableChange) OnEnableChange(this);
}

void TBalloonSettings::Assign(plat::TPersistent* Source) {
  const TBalloonSettings* s = Same<TBalloonSettings>(Source);
  if (!s) return;
  BackgroundColor = s->BackgroundColor, TextColor = s->TextColor, InitialDelay = s->InitialDelay;
  ReshowDelay = s->ReshowDelay, AutoHideDelay = s->AutoHideDelay, FEnable = s->FEnable;
}

void TShowModified::SetColor(TColor Value) {
  FColor = Value;
  if (OnChange) OnChange(this);
}

void TShowModified::Assign(plat::TPersistent* Source) {
  const TShowModified* s = Same<TShowModified>(Source);
  if (!s) return;
  Enabled = s->Enabled;
  FColor = s->FColor;
}

void TDragScrollDelays::Assign(plat::TPersistent* Source) {
  const TDragScrollDelays* s = Same<TDragScrollDelays>(Source);
  if (!s) return;
  InitialDelay = s->InitialDelay;
  RepeatDelay = s->RepeatDelay;
}

void TDragScrollMargins::Assign(plat::TPersistent* Source) {
  const TDragScrollMargins* s = Same<TDragScrollMargins>(Source);
  if (!s) return;
  TopMargin = s->TopMargin, BottomMargin = s->BottomMargin, LeftMargin = s->LeftMargin;
  RightMargin = s->RightMargin;
}

void TDragScrollOptions::Assign(plat::TPersistent* Source) {
  TDragScrollOptions* s = dynamic_cast<TDragScrollOptions*>(Source);
  if (!s) return;
  FMargins.Assign(s->Margins());
  FDelays.Assign(s->Delays());
  Active = s->Active;
}

// ---- progress look and hidden-row records --------------------------------------------------------------

void TGridProgressAppearance::Assign(plat::TPersistent* Source) {
  const TGridProgressAppearance* s = Same<TGridProgressAppearance>(Source);
  if (!s) return;
  FCompleteColor = s->FCompleteColor, FCompleteFontColor = s->FCompleteFontColor;
  FUnCompleteColor = s->FUnCompleteColor, FUnCompleteFontColor = s->FUnCompleteFontColor;
  FLevel0Color = s->FLevel0Color, FLevel0ColorTo = s->FLevel0ColorTo;
  FLevel1Color = s->FLevel1Color, FLevel1ColorTo = s->FLevel1ColorTo;
  FLevel2Color = s->FLevel2Color, FLevel2ColorTo = s->FLevel2ColorTo;
  FLevel3Color = s->FLevel3Color, FLevel3ColorTo = s->FLevel3ColorTo;
  FLevel1Perc = s->FLevel1Perc, FLevel2Perc = s->FLevel2Perc, FBorderColor = s->FBorderColor;
  FShowBorder = s->FShowBorder, FStacked = s->FStacked, FShowPercentage = s->FShowPercentage;
  FCompletionSmooth = s->FCompletionSmooth, FShowGradient = s->FShowGradient, FSteps = s->FSteps;
  FStyle = s->FStyle;
  Changed();
}

TGridItem::TGridItem(plat::TCollection* Collection) : TCollectionItem(Collection) {}

TGridItem::~TGridItem() = default;

plat::TStrings* TGridItem::Items() const {
  if (!FItems) {
    auto list = std::make_unique<plat::TStringList>();
    if (FRow)
      for (const detail::TCellSlot& slot : *FRow) list->AddObject(slot.Text(), slot.Props);
    FRow.reset();
    FItems = std::move(list);
  }
  return FItems.get();
}

void TGridItem::SetItems(std::unique_ptr<plat::TStrings> Value) {
  FItems = std::move(Value);
  FRow.reset();
}

detail::TRowCells& TGridItem::Row() {
  if (!FRow) {
    FRow = std::make_unique<detail::TRowCells>();
    if (FItems) {
      FRow->resize(std::size_t(FItems->Count()));
      for (int i = 0; i < FItems->Count(); ++i) {
        detail::TCellSlot& slot = (*FRow)[std::size_t(i)];
        slot.SetText(FItems->Strings(i));
        slot.Props = dynamic_cast<TCellProperties*>(FItems->Objects(i));
        if (slot.Props) FRow->HasProps = true;
      }
      FItems.reset();
    }
  }
  return *FRow;
}

}  // namespace grid
