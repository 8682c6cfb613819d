#pragma once
// The tree's columns: the column record, the collection with its position map (display order), and the geometry
// queries painting, hit testing and editing ask: visible columns in order, bounds, widths, the column under a
// point. An empty collection is the common case: everything then runs on the one implicit column NoColumn,
// which spans the client width. TLTHeader holds the settings of the header that the columns read; its mouse
// handling, painting and sizing are built on top of it.

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/forms/stdctrls.h"
#include "platform/graphics/color.h"
#include "platform/graphics/gdiobjects.h"
#include "platform/graphics/types.h"
#include "platform/rtl/collection.h"
#include "tree/lazytypes.h"
#include "tree/treeheadertypes.h"

namespace plat {
class TStream;
class TPopupMenu;
class TCustomImageList;
}

namespace lazytree {

class TBaseLazyTreeControl;
class TLazyTreeColumns;
class TLTHeader;
class TLTDragImage;
class TTreeHeaderHost;

using TColumnPosition = uint32_t;
using TIndexArray = std::vector<TColumnIndex>;

enum TBiDiMode : uint8_t { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TLazyTreeColumnStyle : uint8_t { vsText, vsOwnerDraw };
enum TLTHeaderColumnLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TLTColumnOption : uint8_t {
  coAllowClick, coDraggable, coEnabled, coParentBidiMode, coParentColor, coResizable, coShowDropMark, coVisible,
  coAutoSpring, coFixed, coSmartResize, coAllowFocus, coDisableAnimatedResize, coWrapCaption,
  coUseCaptionAlignment, coEditable
};
using TLTColumnOptions = TEnumSet<TLTColumnOption, uint16_t>;
constexpr TLTColumnOptions DefaultColumnOptions{coAllowClick, coDraggable,   coEnabled,  coParentBidiMode,
                                                coParentColor, coResizable,  coShowDropMark, coVisible,
                                                coAllowFocus,  coEditable};

enum TLTHeaderOption : uint8_t {
  hoAutoResize, hoColumnResize, hoDblClickResize, hoDrag, hoHotTrack, hoOwnerDraw, hoRestrictDrag, hoShowHint,
  hoShowImages, hoShowSortGlyphs, hoVisible, hoAutoSpring, hoFullRepaintOnResize, hoDisableAnimatedResize,
  hoHeightResize, hoHeightDblClickResize, hoHeaderClickAutoSort, hoAutoColumnPopupMenu
};
using TLTHeaderOptions = TEnumSet<TLTHeaderOption, uint32_t>;
enum THeaderState : uint8_t {
  hsAutoSizing, hsDragging, hsDragPending, hsLoading, hsColumnWidthTracking, hsColumnWidthTrackPending,
  hsHeightTracking, hsHeightTrackPending, hsResizing, hsScaling, hsNeedScaling
};
using THeaderStates = TEnumSet<THeaderState, uint16_t>;

class TLazyTreeColumn : public plat::TCollectionItem {
 public:
  explicit TLazyTreeColumn(plat::TCollection* Collection);
  ~TLazyTreeColumn() override;

  TLazyTreeColumns* Owner() const;
  void Assign(plat::TPersistent* Source) override;
  bool Equals(const TLazyTreeColumn& Other) const;
  QString DisplayName() const override;

  plat::TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(plat::TAlignment Value);
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value);
  plat::TRect LastTextRect() const { return FLastTextRect; }
  plat::TAlignment CaptionAlignment() const {
    return FOptions.Has(coUseCaptionAlignment) ? FCaptionAlignment : FAlignment;
  }
  void SetCaptionAlignment(plat::TAlignment Value);
  QString CaptionText() const { return FCaptionText; }
  bool CheckBox() const { return FCheckBox; }
  void SetCheckBox(bool Value) { SetAndNotify(FCheckBox, Value); }
  TCheckState CheckState() const { return FCheckState; }
  void SetCheckState(TCheckState Value) { SetAndNotify(FCheckState, Value); }
  TCheckType CheckType() const { return FCheckType; }
  void SetCheckType(TCheckType Value) { SetAndNotify(FCheckType, Value); }
  plat::TColor Color() const { return FColor; }
  void SetColor(plat::TColor Value);
  TSortDirection DefaultSortDirection() const { return FDefaultSortDirection; }
  void SetDefaultSortDirection(TSortDirection Value) { FDefaultSortDirection = Value; }
  QString Hint() const { return FHint; }
  void SetHint(const QString& Value) { FHint = Value; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { SetAndNotify(FImageIndex, Value); }
  TLTHeaderColumnLayout Layout() const { return FLayout; }
  void SetLayout(TLTHeaderColumnLayout Value) { SetAndNotify(FLayout, Value); }
  int Margin() const { return FMargin; }
  void SetMargin(int Value) { SetAndNotify(FMargin, Value < 0 ? 4 : Value); }
  int MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int Value);
  int MinWidth() const { return FMinWidth; }
  void SetMinWidth(int Value);
  TLTColumnOptions Options() const { return FOptions; }
  void SetOptions(TLTColumnOptions Value);
  TColumnPosition Position() const { return FPosition; }
  void SetPosition(TColumnPosition Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value) { SetAndNotify(FSpacing, Value); }
  TLazyTreeColumnStyle Style() const { return FStyle; }
  void SetStyle(TLazyTreeColumnStyle Value) { SetAndNotify(FStyle, Value); }
  intptr_t ColumnTag() const { return FTag; }
  void SetColumnTag(intptr_t Value) { FTag = Value; }
  QString Text() const { return FText; }
  void SetText(const QString& Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  int LastWidth() const { return FLastWidth; }
  // The left edge in tree coordinates (before horizontal scrolling).
  int AbsoluteLeft() const { return FLeft; }
  // The left edge in client coordinates (scrolled, except for a visible fixed column).
  int Left() const;
  // The column's rectangle in the header's rectangle (not scrolled).
  plat::TRect GetRect() const;
  bool Visible() const { return FOptions.Has(coVisible); }
  bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }
  void ParentBiDiModeChanged();
  void ParentColorChanged();
  // Goes back to the width before the last change.
  void RestoreLastWidth();

 private:
  friend class TLazyTreeColumns;
  friend class TLTHeader;
  template <class T>
  void SetAndNotify(T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    Changed(false);
  }
  TBaseLazyTreeControl* Tree() const;
  TTreeHeaderHost* TreeHost() const;
  TLTHeader* Header() const;
  int FixedAreaWidth(int Value) const;

  QString FText, FHint;
  int FLeft = 0;
  int FWidth = 0;
  TColumnPosition FPosition = 0;
  int FMinWidth = 10, FMaxWidth = 10000;
  TLazyTreeColumnStyle FStyle = vsText;
  int FImageIndex = -1;
  TBiDiMode FBiDiMode = bdLeftToRight;
  TLTHeaderColumnLayout FLayout = blGlyphLeft;
  int FMargin = 4;
  int FSpacing = 3;
  TLTColumnOptions FOptions = DefaultColumnOptions;
  intptr_t FTag = 0;
  plat::TAlignment FAlignment = plat::taLeftJustify;
  plat::TAlignment FCaptionAlignment = plat::taLeftJustify;
  int FLastWidth = 0;
  plat::TColor FColor = plat::clWindow;
  bool FBonusPixel = false;
  float FSpringRest = 0;
  QString FCaptionText;
  plat::TRect FLastTextRect{};  // where the caption was painted last
  bool FHasImage = false;       // the last paint drew a header glyph, in FImageRect (header coordinates)
  plat::TRect FImageRect{};
  bool FCheckBox = false;
  TCheckType FCheckType = ctCheckBox;
  TCheckState FCheckState = csUncheckedNormal;
  TSortDirection FDefaultSortDirection = sdAscending;
};

// Where a column dragged over a button would go: before (left of) it or after it.
enum TLTDropMarkMode : uint8_t { dmmNone, dmmLeft, dmmRight };
// The parts of a header button an application may paint itself.
enum THeaderPaintElement : uint8_t { hpeBackground, hpeDropMark, hpeHeaderGlyph, hpeSortGlyph, hpeText };
using THeaderPaintElements = TEnumSet<THeaderPaintElement, uint8_t>;
// What the element-wise owner draw is told about a button (Column nil while the background is asked for).
struct THeaderPaintInfo {
  plat::TCanvas* TargetCanvas = nullptr;
  TLazyTreeColumn* Column = nullptr;
  plat::TRect PaintRectangle{}, TextRectangle{};
  bool IsHoverIndex = false, IsDownIndex = false, IsEnabled = false;
  bool ShowHeaderGlyph = false, ShowSortGlyph = false, ShowRightBorder = false;
  TLTDropMarkMode DropMark = dmmNone;
  plat::TPoint GlyphPos{}, SortGlyphPos{};
};

class TLazyTreeColumns : public plat::TCollection {
 public:
  explicit TLazyTreeColumns(TLTHeader* AOwner);
  ~TLazyTreeColumns() override;

  TLazyTreeColumn* Items(int Index) const { return static_cast<TLazyTreeColumn*>(plat::TCollection::Items(Index)); }
  TLazyTreeColumn* operator[](int Index) const { return Items(Index); }
  TLazyTreeColumn* Add() { return static_cast<TLazyTreeColumn*>(plat::TCollection::Add()); }
  void Clear();
  void Assign(plat::TPersistent* Source) override;
  bool Equals(const TLazyTreeColumns& Other) const;
  TLTHeader* Header() const { return FHeader; }
  int DefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(int Value) { FDefaultWidth = Value; }
  TColumnIndex ClickIndex() const { return FClickIndex; }
  // The tree's rows tell the columns which one took the last button press.
  void SetClickIndex(TColumnIndex Value) { FClickIndex = Value; }
  // The mouse left the tree: no column is hovered or pressed any more.
  void ForgetMouse() {
    FHoverIndex = FDownIndex = NoColumn;
    FCheckBoxHit = false;
  }
  TColumnIndex TrackIndex() const { return FTrackIndex; }
  TColumnIndex HoverIndex() const { return FHoverIndex; }
  TColumnIndex DownIndex() const { return FDownIndex; }
  const TIndexArray& PositionToIndex() const { return FPositionToIndex; }

  bool IsValidColumn(TColumnIndex Column) const { return Column >= 0 && Column < Count(); }
  TColumnIndex GetFirstColumn() const;
  TColumnIndex GetNextColumn(TColumnIndex Column) const;
  TColumnIndex GetPreviousColumn(TColumnIndex Column) const;
  TColumnIndex GetNextVisibleColumn(TColumnIndex Column, bool ConsiderAllowFocus = false) const;
  TColumnIndex GetPreviousVisibleColumn(TColumnIndex Column, bool ConsiderAllowFocus = false) const;
  TColumnIndex GetFirstVisibleColumn(bool ConsiderAllowFocus = false) const;
  TColumnIndex GetLastVisibleColumn(bool ConsiderAllowFocus = false) const;
  std::vector<TLazyTreeColumn*> GetVisibleColumns() const;
  int GetVisibleFixedWidth() const;
  int GetScrollWidth() const;
  int TotalWidth() const;
  void GetColumnBounds(TColumnIndex Column, int& Left, int& Right) const;
  // The column under P (header coordinates); ColumnNotFound outside every visible column.
  TColumnIndex ColumnFromPosition(plat::TPoint P, bool Relative = true) const;
  // The column shown at a position; NoColumn outside the map.
  TColumnIndex ColumnFromPosition(TColumnPosition PositionIndex) const;
  TColumnIndex HitColumnSpan(plat::TPoint P, int& Left, bool Relative, int& Right) const;

  void RecomputeColumnLefts(bool Force);
  void RebuildPositionMap();
  void ResetPositionMap(bool Reverse);

 protected:
  void Update(plat::TCollectionItem* Item) override;
  void Notify(plat::TCollectionItem* Item, plat::TCollectionNotification Action) override;

 private:
  friend class TLazyTreeColumn;
  friend class TLTHeader;
  TBaseLazyTreeControl* Tree() const;
  TTreeHeaderHost* TreeHost() const;
  void SyncPositionMapLength();
  void MoveInPositionMap(TColumnIndex Column, TColumnPosition NewPosition);
  void DropFromPositionMap(TColumnIndex Index);
  void FixIndexesAfterDeleting(TColumnIndex Index);
  TColumnIndex WalkToX(int X, int Start, int& Left, int& Right) const;

  TLTHeader* FHeader;
  TColumnIndex FHoverIndex = NoColumn, FDownIndex = NoColumn, FTrackIndex = NoColumn, FClickIndex = NoColumn;
  TColumnIndex FDragIndex = NoColumn, FDropTarget = NoColumn;
  bool FCheckBoxHit = false;
  bool FDropBefore = false;
  TIndexArray FPositionToIndex;
  int FDefaultWidth = 50;
  bool FNeedPositionsFix = false;
  bool FClearing = false;
};

// The header's settings that the columns read (its mouse handling, painting and sizing come later).
class TLTHeader : public TLTHeaderMouseEvents {
 public:
  TLTHeader(TBaseLazyTreeControl* Owner, TTreeHeaderHost& Host);
  virtual ~TLTHeader();

  TBaseLazyTreeControl* Tree() const { return FOwner; }
  TLazyTreeColumns& Columns() { return *FColumns; }
  const TLazyTreeColumns& Columns() const { return *FColumns; }
  bool UseColumns() const { return FColumns->Count() > 0; }
  TColumnIndex MainColumn() const { return FColumns->Count() > 0 ? FMainColumn : NoColumn; }
  void SetMainColumn(TColumnIndex Value);
  TColumnIndex AutoSizeIndex() const { return FAutoSizeIndex; }
  void SetAutoSizeIndex(TColumnIndex Value);
  TColumnIndex SortColumn() const { return FSortColumn; }
  void SetSortColumn(TColumnIndex Value);
  TLTHeaderOptions Options() const { return FOptions; }
  void SetOptions(TLTHeaderOptions Value);
  THeaderStates States() const { return FStates; }
  void SetStates(THeaderStates Value) { FStates = Value; }
  // Fixed-area limits in percent of the client width (0: none).
  int MinWidthPercent() const { return FFixedAreaConstraints.MinWidthPercent(); }
  int MaxWidthPercent() const { return FFixedAreaConstraints.MaxWidthPercent(); }
  void SetWidthPercents(int Min, int Max) {
    FFixedAreaConstraints.StorePercent(TLTFixedAreaConstraints::MinWidth, Min);
    FFixedAreaConstraints.StorePercent(TLTFixedAreaConstraints::MaxWidth, Max);
  }
  std::function<void(TLTHeader* Sender, TColumnIndex Column)> OnColumnResize;

  // Re-applies the height and fixed-area limits; fits the auto-size column to the client width left.
  virtual void ApplyFixedAreaLimits();
  virtual void FitAutoSizeColumn(bool Force);
  // Repaints one header button (with ExpandToBorder also everything right of it, or the whole width with
  // hoFullRepaintOnResize), or the whole header for NoColumn. Nothing while the header is hidden.
  virtual void Invalidate(TColumnIndex Column = NoColumn, bool ExpandToBorder = false);
  void InvalidateColumn(TColumnIndex Column) { Invalidate(Column, false); }

  // --- Settings (treeheader.cpp) ------------------------------------------------------------------------
  void Assign(const TLTHeader& Source);
  plat::TColor Background() const { return FBackgroundColor; }
  void SetBackground(plat::TColor Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  int DefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(int Value);
  int MaxHeight() const { return FMaxHeight; }
  void SetMaxHeight(int Value);
  int MinHeight() const { return FMinHeight; }
  void SetMinHeight(int Value);
  plat::TFont* Font() { return &FFont; }
  const plat::TFont* Font() const { return &FFont; }
  void SetFont(const plat::TFont& Value);
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TLTHeaderStyle Style() const { return FStyle; }
  void SetStyle(TLTHeaderStyle Value);
  TSortDirection SortDirection() const { return FSortDirection; }
  void SetSortDirection(TSortDirection Value);
  int SplitterHitTolerance() const { return FSplitterHitTolerance; }
  void SetSplitterHitTolerance(int Value) { FSplitterHitTolerance = Value; }
  TLTFixedAreaConstraints& FixedAreaConstraints() { return FFixedAreaConstraints; }
  void SetFixedAreaConstraints(const TLTFixedAreaConstraints& Value) { FFixedAreaConstraints.Assign(Value); }
  bool AllowFocus(TColumnIndex Column) const;
  // Clamps the main column into the columns without side effects (after loading).
  void ClampMainColumn();
  // Scales the height, the font (unless it follows the tree's) and every column's width by M/D.
  virtual void ApplyScale(int M, int D);
  // The tree's font changed: a header following it copies it.
  void ParentFontChanged();
  // The tree's window changed size: the auto-size column or the fixed-area limits, then the spring columns.
  void TreeResized();
  // Sorting the tree by the sort column, when the tree sorts itself.
  std::function<void(TColumnIndex Column, TSortDirection Direction)> OnSort;

  // --- Mouse (treeheader_mouse.cpp). Points are client points of the tree; the header band lies above the
  // client area, from y = -Height() to 0. ------------------------------------------------------------------
  // Offered every window message of the tree first; true ends the message.
  virtual bool HeaderMessage(plat::TMessage& Message);
  bool InHeader(plat::TPoint P) const;
  bool InHeaderSplitterArea(plat::TPoint P) const;
  // Finds the divider under P and makes its column the track column.
  virtual bool LocateColumnDivider(plat::TPoint P);
  TColumnIndex DragIndex() const { return FColumns->FDragIndex; }
  TColumnIndex DropTarget() const { return FColumns->FDropTarget; }
  bool DropBefore() const { return FColumns->FDropBefore; }
  static constexpr int HeaderTimer = 3;
  // The menu a right click in the header shows (a plain reference: the header does not own it).
  plat::TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(plat::TPopupMenu* Value) { FPopupMenu = Value; }
  // The automatic column menu of the last right click with hoAutoColumnPopupMenu (owned by the tree).
  plat::TPopupMenu* ColumnPopupMenu() const { return FColumnPopupMenu; }
  // The cursor the header chose last over a divider or the bottom edge.
  plat::TCursor HeaderCursor() const { return FHeaderCursor; }
  // The translucent picture of a column being dragged.
  TLTDragImage& DragImage() { return *FDragImage; }

  // --- Painting (treeheader_paint.cpp) ------------------------------------------------------------------
  // Paints the header band R (Height() tall, left edge at the tree's left) onto Canvas: the fixed block in
  // place, the other buttons moved by the horizontal offset HOffset. Nothing while the header is hidden.
  void PaintHeader(plat::TCanvas* Canvas, const plat::TRect& R, int HOffset);
  // Paints the part R of the unscrolled header (header coordinates) with R's top-left at Target.
  void PaintHeader(plat::TCanvas* Canvas, plat::TRect R, plat::TPoint Target);
  // Where a button's caption and sort arrow go inside Client (the button less a 2-pixel frame).
  THeaderLayout LayoutHeaderContent(plat::TCanvas* Canvas, TLazyTreeColumn& Column, const plat::TRect& Client,
                                    bool ShowSortGlyph, bool ShowHeaderGlyph = false);
  // The header's glyph images, shown with hoShowImages for columns with an ImageIndex (the tree forgets a list
  // that is destroyed).
  plat::TCustomImageList* Images() const;
  void SetImages(plat::TCustomImageList* Value);
  // Element-wise owner draw (with hoOwnerDraw and both handlers): the application names the elements it paints,
  // once for the background (Column nil) and once per button, and paints them.
  std::function<void(TLTHeader* Sender, THeaderPaintInfo& PaintInfo, THeaderPaintElements& Elements)>
      OnHeaderDrawQueryElements;
  std::function<void(TLTHeader* Sender, THeaderPaintInfo& PaintInfo, THeaderPaintElements Elements)>
      OnAdvancedHeaderDraw;
  void PaintCaptionText(plat::TCanvas* Canvas, const QString& Caption, plat::TRect Bounds, bool Enabled, bool Hot,
                        unsigned DrawFormat, bool WrapCaption);
  // A whole button of an owner-drawn column (with hoOwnerDraw).
  std::function<void(TLTHeader* Sender, plat::TCanvas* Canvas, TLazyTreeColumn* Column, const plat::TRect& R,
                     bool Hover, bool Pressed, TLTDropMarkMode DropMark)>
      OnHeaderDraw;

  // --- Stream (treeheader_stream.cpp) -------------------------------------------------------------------
  // The header and its columns in the header's own binary format. Reading validates the whole record first:
  // a truncated or malformed stream raises plat::EReadError and leaves header, columns and stream position
  // unchanged.
  void SaveToStream(plat::TStream& Stream) const;
  void LoadFromStream(plat::TStream& Stream);

  // --- Sizing (treeheader_sizing.cpp) -------------------------------------------------------------------
  // Spreads ChangeBy over the columns RangeStart..RangeEnd (indexes) that have all of Options, within their
  // limits; returns the change applied.
  int ResizeColumns(int ChangeBy, TColumnIndex RangeStart, TColumnIndex RangeEnd, TLTColumnOptions Options);
  // Sizes the columns at positions RangeStart..RangeEnd to their widest content (negative: first/last).
  virtual void AutoFitColumns(bool Animated, TSmartAutoFitType SmartAutoFitType, int RangeStart, int RangeEnd);
  // Every visible resizable column returns to its last width.
  void RestoreColumns();
  // Spreads a change of the header width over the visible auto-spring columns.
  void DistributeSpringWidth();
  // Sets a column's width (clamped to its limits), animated where the window can move its pixels.
  void AnimatedResize(TColumnIndex Column, int NewWidth);
  std::function<void(TLTHeader* Sender, TSmartAutoFitType& SmartAutoFitType)> OnBeforeAutoFitColumns;
  std::function<void(TLTHeader* Sender, TColumnIndex Column, TSmartAutoFitType& SmartAutoFitType, bool& Allowed)>
      OnBeforeAutoFitColumn;
  std::function<void(TLTHeader* Sender, TColumnIndex Column)> OnAfterAutoFitColumn;
  std::function<void(TLTHeader* Sender)> OnAfterAutoFitColumns;
  std::function<void(TLTHeader* Sender, TColumnIndex Column, bool& UseSmartColumnWidth)> OnBeforeGetMaxColumnWidth;
  std::function<void(TLTHeader* Sender, TColumnIndex Column, int& MaxWidth)> OnAfterGetMaxColumnWidth;

 private:
  friend class TLazyTreeColumns;
  friend class TLazyTreeColumn;
  bool ColumnDividerDraggable(plat::TPoint P, TColumnIndex Column);
  bool PointOnColumnDivider(plat::TPoint P);
  bool HeightDividerDraggable(plat::TPoint P);
  bool TrackHotColumn(plat::TPoint HeaderPoint);
  TColumnIndex TrackPressedColumn(plat::TPoint P);
  void ProcessColumnClick(plat::TPoint P, plat::TMouseButton Button, bool Force, bool DblClick, plat::TShiftState Shift);
  bool LeftPress(plat::TPoint P, plat::TShiftState Shift);
  bool MouseMoveWhileTracking(plat::TPoint P, plat::TShiftState Shift);
  bool LeftRelease(plat::TPoint P, plat::TShiftState Shift);
  bool DoubleClick(plat::TMessage& M, plat::TMouseButton Button, plat::TPoint P, plat::TShiftState Shift);
  bool OtherButton(plat::TMessage& M, plat::TMouseButton Button, bool Press, plat::TPoint P, plat::TShiftState Shift);
  bool CancelTracking();
  bool HeaderTimerTick();
  bool SetCursorMessage(plat::TMessage& M);
  void StartColumnDrag(plat::TPoint P, plat::TPoint Start);
  plat::TPopupMenu* TreePopupMenu(plat::TPoint P);
  void MoveColumnDrag(plat::TPoint P);
  void EndColumnDrag(plat::TPoint P);
  plat::TPoint ToHeader(plat::TPoint P) const { return {P.X, P.Y + FHeight}; }
  plat::TPoint FDragStart{}, FTrackStart{}, FTrackPoint{};
  plat::TCursor FHeaderCursor = plat::crDefault;
  plat::TPopupMenu* FPopupMenu = nullptr;
  plat::TPopupMenu* FColumnPopupMenu = nullptr;
  void ShowColumnPopupMenu(plat::TPoint HeaderPoint);
  void PaintOneColumn(plat::TCanvas* Canvas, TColumnIndex Index, const plat::TRect& Button);
  bool AdvancedOwnerDraw() const;
  // The size of a column's header glyph: the check images for a check-box column, else the header images.
  plat::TSize HeaderGlyphSize(const TLazyTreeColumn& Column) const;
  void PaintHeaderGlyph(plat::TCanvas* Canvas, TLazyTreeColumn& Column, const THeaderPaintInfo& Info);
  // The sort arrow: the explorer look's element, else the tree's own arrow of the classic or themed look.
  void PaintSortGlyph(plat::TCanvas* Canvas, plat::TPoint At, bool Themed);
  void HeaderFontChanged();
  void ConstraintsChanged();
  void ApplySortColumn(TColumnIndex Value);
  void SortTree();
  void FitColumnAtPosition(int Position, TSmartAutoFitType SmartAutoFitType);

  TBaseLazyTreeControl* FOwner;
  TTreeHeaderHost* FHost;
  std::unique_ptr<TLazyTreeColumns> FColumns;
  std::unique_ptr<TLTDragImage> FDragImage;
  TColumnIndex FMainColumn = NoColumn;
  TColumnIndex FAutoSizeIndex = 0;
  TColumnIndex FSortColumn = NoColumn;
  TLTHeaderOptions FOptions{hoColumnResize, hoDrag, hoShowSortGlyphs};
  THeaderStates FStates;
  TLTFixedAreaConstraints FFixedAreaConstraints;
  plat::TFont FFont;
  bool FParentFont = false;
  int FHeight = 19;
  int FDefaultHeight = 19;
  int FMinHeight = 10;
  int FMaxHeight = 10000;
  plat::TColor FBackgroundColor = plat::clBtnFace;
  TLTHeaderStyle FStyle = hsThickButtons;
  TSortDirection FSortDirection = sdAscending;
  int FSplitterHitTolerance = 8;
  int FLastWidth = 0;
};

}  // namespace lazytree
