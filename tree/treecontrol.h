#pragma once
// The lazy tree as a window control: the node store (TBaseLazyTree) inside a custom control, with the owned
// objects, defaults, properties and option sets (treecontrol.cpp), the vertical and horizontal geometry:
// offsets, ranges, scroll bars, node rectangles and keeping nodes in view (treescroll.cpp), the position cache
// and its worker (positioncache), the expand/collapse animation (toggleanimation) and accessibility
// (treeaccessibility). Painting, input, selection, editing, header and drag and drop come on top of this class.

#include <QString>

class QWidget;

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "platform/forms/controls.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/imagelist.h"
#include "tree/hittest.h"
#include "tree/lazytree.h"
#include "tree/positioncache.h"
#include "tree/toggleanimation.h"
#include "tree/treecolors.h"
#include "tree/treecolumns.h"
#include "tree/treeimages.h"
#include "tree/treepanner.h"
#include "tree/treescroller.h"
#include "tree/treesearch.h"
#include "tree/treetransfer.h"

class QPagedPaintDevice;

namespace lazytree {

class TBaseLazyTreeControl;
class TTreeAccessibility;
struct TPrintLayout;
class TLTDragImage;
struct TTreeTransferState;
enum TDragState : uint8_t;
class ILTEditLink;
class TLazyTreeHintWindow;
class TTreeGestures;
enum class TTreeGesture : uint8_t;

enum TLTButtonStyle : uint8_t { bsRectangle, bsTriangle };
enum TLTButtonFillMode : uint8_t { fmTreeColor, fmWindowColor, fmShaded, fmTransparent };
enum TLTLineStyle : uint8_t { lsCustomStyle, lsDotted, lsSolid };
enum TLTLineMode : uint8_t { lmNormal, lmBands };
enum TLTNodeAlignment : uint8_t { naFromBottom, naFromTop, naProportional };
enum TLTDragImageKind : uint8_t { diComplete, diMainColumnOnly, diNoImage };
enum TLTDragType : uint8_t { dtOLE, dtVCL };
enum TDragOperation : uint8_t { doCopy, doMove, doLink };
using TDragOperations = TEnumSet<TDragOperation, uint8_t>;
enum TLTDrawSelectionMode : uint8_t { smDottedRectangle, smBlendedRectangle };
enum THintAnimationType : uint8_t { hatNone, hatFade, hatSlide, hatSystemDefault };
enum TLTHintMode : uint8_t { hmDefault, hmHint, hmHintAndDefault, hmTooltip };
enum TCheckImageKind : uint8_t {
  ckLightCheck, ckDarkCheck, ckLightTick, ckDarkTick, ckFlat, ckXP, ckCustom, ckSystemFlat, ckSystemDefault
};
enum TDropMode : uint8_t { dmNowhere, dmAbove, dmOnNode, dmBelow };
enum TLTImageKind : uint8_t { ikNormal, ikSelected, ikState, ikOverlay };
enum TLTInternalPaintOption : uint8_t {
  poBackground, poColumnColor, poDrawFocusRect, poDrawSelection, poDrawDropMark, poGridLines, poMainOnly,
  poSelectedOnly, poUnbuffered
};
using TLTInternalPaintOptions = TEnumSet<TLTInternalPaintOption, uint16_t>;
constexpr TLTInternalPaintOptions WindowPaintOptions{poBackground,   poColumnColor,  poDrawFocusRect,
                                                     poDrawSelection, poDrawDropMark, poGridLines};
enum TItemEraseAction : uint8_t { eaColor, eaDefault, eaNone };
enum TLTCellContentMarginType : uint8_t { ccmtAllSides, ccmtTopLeftOnly, ccmtBottomRightOnly };
// Why OnBeforeCellPaint runs: to paint a cell, or only to report the margins it keeps around the content.
enum TLTCellPaintMode : uint8_t { cpmPaint, cpmGetContentMargin };
enum TLTHintKind : uint8_t { vhkText, vhkOwnerDraw };
enum TLTImageInfoIndex : uint8_t { iiNormal, iiState, iiCheck, iiOverlay };
enum TBevelKind : uint8_t { bkNone, bkTile, bkSoft, bkFlat };
enum TLTTooltipLineBreakStyle : uint8_t { hlbDefault, hlbForceSingleLine, hlbForceMultiLine };
// What the hint window needs to show a hint of the tree.
struct TLTHintData {
  TBaseLazyTreeControl* Tree = nullptr;
  PLazyNode Node = nullptr;
  TColumnIndex Column = NoColumn;
  plat::TRect HintRect;  // size of an owner-drawn hint
  QString DefaultHint;   // header or control hint text
  QString HintText;      // the text shown
  bool RightToLeft = false;
  plat::TAlignment Alignment = plat::taLeftJustify;
  TLTTooltipLineBreakStyle LineBreakStyle = hlbDefault;
};
// A request for a hint at a point of the client area (client coordinates) and what answers it: where the
// hint stays valid (CursorRect), where it opens on the screen, its plain text, whether the tree's own hint
// window shows it (with HintData), and whether to show anything at all (Result 0).
struct TLTHintRequest {
  plat::TPoint CursorPos;
  plat::TRect CursorRect;
  plat::TPoint HintPos;
  QString HintStr;
  bool TreeHintWindow = false;
  TLTHintData HintData;
  int Result = 1;
};
enum TBevelEdge : uint8_t { beLeft, beTop, beRight, beBottom };
using TBevelEdges = TEnumSet<TBevelEdge, uint8_t>;

// One image of a cell: its index (-1 none), place, whether it is ghosted, and the list it comes from.
struct TLTImageInfo {
  int Index = -1;
  int XPos = 0;
  int YPos = 0;
  bool Ghosted = false;
  plat::TCustomImageList* Images = nullptr;
};
// What one cell's painting steps are told.
struct TLTPaintInfo {
  plat::TCanvas* Canvas = nullptr;
  TLTInternalPaintOptions PaintOptions;
  PLazyNode Node = nullptr;
  TColumnIndex Column = NoColumn;
  TColumnPosition Position = 0;
  plat::TRect CellRect;
  plat::TRect ContentRect;
  int NodeWidth = 0;
  plat::TAlignment Alignment = plat::taLeftJustify;
  plat::TPoint BrushOrigin;
  TLTImageInfo ImageInfo[4];
};
class TBaseLazyTreeControl : public plat::TCustomControl, public TBaseLazyTree {
 public:
  explicit TBaseLazyTreeControl(plat::TComponent* AOwner);
  ~TBaseLazyTreeControl() override;

  // Both bases have these names; the tree means both sets of overloads.
  using TBaseLazyTree::SetVisible;
  using plat::TControl::SetVisible;
  using TBaseLazyTree::GetVisible;
  using TBaseLazyTree::HandleAllocated;
  void Invalidate() override;

  // --- Owned objects -------------------------------------------------------------------------------------
  TScrollBarOptions& ScrollBarOptions() { return FScrollBarOptions; }
  void SetScrollBarOptions(const TScrollBarOptions& Value) { FScrollBarOptions.Assign(Value); }
  TTreeAccessibility& Accessibility() { return *FAccessibility; }
  TLTColors& Colors() { return FColors; }
  void SetColors(const TLTColors& Value) { FColors.Assign(Value); }

  // --- Option sets (setters run their side effects; see also TreeOptions()) ------------------------------
  void SetPaintOptions(TLTPaintOptions Value);
  void SetAnimationOptions(uint8_t Value) { TreeOptions().AnimationOptions = Value; }
  void SetAutoOptions(TLTAutoOptions Value);
  void SetSelectionOptions(TLTSelectionOptions Value);
  void SetMiscOptions(TLTMiscOptions Value);
  // Takes the five option sets, through their setters and in this order; the export mode stays.
  void AssignTreeOptions(const TCustomLazyTreeOptions& Source);

  // --- Properties ----------------------------------------------------------------------------------------
  QString AccessibleName() const { return FAccessibleName; }
  void SetAccessibleName(const QString& Value) { FAccessibleName = Value; }
  plat::TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(plat::TAlignment Value);
  uint32_t AnimationDuration() const { return FAnimationDuration; }
  void SetAnimationDuration(uint32_t Value);
  uint32_t AutoExpandDelay() const { return FAutoExpandDelay; }
  void SetAutoExpandDelay(uint32_t Value) { FAutoExpandDelay = Value; }
  uint32_t AutoScrollDelay() const { return FAutoScrollDelay; }
  void SetAutoScrollDelay(uint32_t Value) { FAutoScrollDelay = Value; }
  uint32_t AutoScrollInterval() const { return FAutoScrollInterval; }
  void SetAutoScrollInterval(uint32_t Value) { FAutoScrollInterval = std::clamp<uint32_t>(Value, 1, 1000); }
  int BackgroundOffsetX() const { return FBackgroundOffsetX; }
  void SetBackgroundOffsetX(int Value) { SetAndRepaint(FBackgroundOffsetX, Value); }
  int BackgroundOffsetY() const { return FBackgroundOffsetY; }
  void SetBackgroundOffsetY(int Value) { SetAndRepaint(FBackgroundOffsetY, Value); }
  plat::TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(plat::TFormBorderStyle Value);
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value);
  uint32_t BottomSpace() const { return FBottomSpace; }
  void SetBottomSpace(uint32_t Value);
  TLTButtonFillMode ButtonFillMode() const { return FButtonFillMode; }
  void SetButtonFillMode(TLTButtonFillMode Value) { SetAndRebuildImages(FButtonFillMode, Value); }
  TLTButtonStyle ButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TLTButtonStyle Value) { SetAndRebuildImages(FButtonStyle, Value); }
  // Image lists: the tree follows their changes and forgets them when they are destroyed.
  plat::TCustomImageList* Images() const { return FImages.List; }
  void SetImages(plat::TCustomImageList* Value) { SetImageList(FImages, Value); }
  plat::TCustomImageList* StateImages() const { return FStateImages.List; }
  void SetStateImages(plat::TCustomImageList* Value) { SetImageList(FStateImages, Value); }
  plat::TCustomImageList* CustomCheckImages() const { return FCustomCheckImages.List; }
  void SetCustomCheckImages(plat::TCustomImageList* Value) { SetImageList(FCustomCheckImages, Value); }
  TCheckImageKind CheckImageKind() const { return FCheckImageKind; }
  // The check image list in force: the shared list of the kind, the custom list with ckCustom.
  plat::TCustomImageList* CheckImagesInForce() const;
  // The shared list of a kind (nil for ckCustom).
  static plat::TCustomImageList* CheckImageListForKind(TCheckImageKind Kind);
  // Draws a cell's check image; a selected node's image is drawn transparent over the selection.
  virtual void DrawCheckImage(plat::TCanvas* Canvas, const TLTImageInfo& ImageInfo, bool Selected);
  void SetCheckImageKind(TCheckImageKind Value);
  TLTNodeAttachMode DefaultPasteMode() const { return FDefaultPasteMode; }
  void SetDefaultPasteMode(TLTNodeAttachMode Value) { FDefaultPasteMode = Value; }
  int DragHeight() const { return FDragHeight; }
  void SetDragHeight(int Value) { FDragHeight = Value; }
  int DragWidth() const { return FDragWidth; }
  void SetDragWidth(int Value) { FDragWidth = Value; }
  TLTDragImageKind DragImageKind() const { return FDragImageKind; }
  void SetDragImageKind(TLTDragImageKind Value) { FDragImageKind = Value; }
  TDragOperations DragOperations() const { return FDragOperations; }
  void SetDragOperations(TDragOperations Value) { FDragOperations = Value; }
  TLTDragType DragType() const { return FDragType; }
  void SetDragType(TLTDragType Value) { FDragType = Value; }
  TLTDrawSelectionMode DrawSelectionMode() const { return FDrawSelectionMode; }
  void SetDrawSelectionMode(TLTDrawSelectionMode Value) { FDrawSelectionMode = Value; }
  uint32_t EditDelay() const { return FEditDelay; }
  void SetEditDelay(uint32_t Value) { FEditDelay = Value; }
  QString EmptyListMessage() const { return FEmptyListMessage; }
  void SetEmptyListMessage(const QString& Value) { SetAndRepaint(FEmptyListMessage, Value); }
  THintAnimationType HintAnimation() const { return FHintAnimation; }
  void SetHintAnimation(THintAnimationType Value) { FHintAnimation = Value; }
  TLTHintMode HintMode() const { return FHintMode; }
  void SetHintMode(TLTHintMode Value) { FHintMode = Value; }
  plat::TCursor HotCursor() const { return FHotCursor; }
  void SetHotCursor(plat::TCursor Value) { FHotCursor = Value; }
  // The incremental search's settings (TTreeSearch owns them; treekeys_search.cpp).
  TLTIncrementalSearch IncrementalSearch() const;
  void SetIncrementalSearch(TLTIncrementalSearch Value);
  TLTSearchDirection IncrementalSearchDirection() const;
  void SetIncrementalSearchDirection(TLTSearchDirection Value);
  TLTSearchStart IncrementalSearchStart() const;
  void SetIncrementalSearchStart(TLTSearchStart Value);
  uint32_t IncrementalSearchTimeout() const;
  void SetIncrementalSearchTimeout(uint32_t Value);
  uint32_t Indent() const { return FIndent; }
  void SetIndent(uint32_t Value);
  TLTLineMode LineMode() const { return FLineMode; }
  void SetLineMode(TLTLineMode Value) { SetAndRepaint(FLineMode, Value); }
  TLTLineStyle LineStyle() const { return FLineStyle; }
  void SetLineStyle(TLTLineStyle Value) { SetAndRebuildImages(FLineStyle, Value, false); }
  int Margin() const { return FMargin; }
  void SetMargin(int Value) { SetAndRepaint(FMargin, Value); }
  TLTNodeAlignment NodeAlignment() const { return FNodeAlignment; }
  void SetNodeAlignment(TLTNodeAlignment Value) { SetAndRepaint(FNodeAlignment, Value); }
  uint8_t SelectionBlendFactor() const { return FSelectionBlendFactor; }
  void SetSelectionBlendFactor(uint8_t Value) { FSelectionBlendFactor = Value; }
  uint32_t SelectionCurveRadius() const { return FSelectionCurveRadius; }
  void SetSelectionCurveRadius(uint32_t Value) { SetAndRepaint(FSelectionCurveRadius, Value); }
  int TextMargin() const { return FTextMargin; }
  void SetTextMargin(int Value) { SetAndRepaint(FTextMargin, Value); }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  // The tree buffers its own painting: always on, and writing it changes nothing.
  bool DoubleBuffered() const { return true; }
  void SetDoubleBuffered(bool) {}
  TLTHeader& Header() { return *FHeader; }
  const TLTHeader& Header() const { return *FHeader; }
  // Column the keyboard focus is in.
  TColumnIndex FocusedColumn() const { return FFocusedColumn; }
  // Repaints one column's strip of the client area.
  void InvalidateColumn(TColumnIndex Column);
  // A header column's check box takes the next state of its type and state, as a click asks for.
  void ToggleColumnCheckState(TColumnIndex Column);
  // After a column's width changed: heights of multi-line nodes, the horizontal range, repainting.
  virtual void ColumnResized(TColumnIndex Column);
  // The width of the widest content of a column: the nodes in view only with UseSmartColumnWidth, else every
  // visible node (the expensive road on large trees).
  virtual int GetMaxColumnWidth(TColumnIndex Column, bool UseSmartColumnWidth);
  std::function<void(TBaseLazyTreeControl* Sender, TColumnIndex Column, plat::TShiftState Shift)> OnColumnClick;
  std::function<void(TBaseLazyTreeControl* Sender, TColumnIndex Column, plat::TShiftState Shift)> OnColumnDblClick;
  PLazyNode FocusedNode() const { return FFocusedNode; }
  PLazyNode DropTargetNode() const { return FDropTargetNode; }
  // The text an accessibility client reads for a node (the string tree gives its node text).
  virtual QString AccessibleText(PLazyNode /*Node*/) { return {}; }

  // Copies the settings of another tree (not its nodes beyond the root count); refused onto a read-only tree.
  void Assign(const TBaseLazyTreeControl& Source);
  // Scales the default node height and the indent by M/D (with toAutoChangeScale).
  void ChangeScale(int M, int D);
  // Negative amounts the border takes off each side of the window.
  plat::TSize GetBorderDimensions() const;

  // --- Background picture, border ring and header rectangle (treeframepaint.cpp) --------------------------
  // The picture behind the rows (shown with toShowBackground when it holds a bitmap).
  plat::TPicture* Background() const { return FBackground.get(); }
  void SetBackground(const plat::TPicture& Value);
  // Copies the picture once, placed at the background offsets; R is on Canvas, Offset moves it to the picture's
  // coordinates. The rest of R takes the control's colour.
  void DrawStaticBackground(plat::TCanvas* Canvas, const plat::TRect& R, plat::TPoint Offset);
  // Repeats the picture over R, the tiles aligned as for the static picture.
  void DrawTiledBackground(plat::TCanvas* Canvas, const plat::TRect& R, plat::TPoint Offset);
  TBevelKind BevelKind() const { return FBevelKind; }
  void SetBevelKind(TBevelKind Value) { SetAndRepaint(FBevelKind, Value); }
  plat::TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(plat::TBevelCut Value) { SetAndRepaint(FBevelInner, Value); }
  plat::TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(plat::TBevelCut Value) { SetAndRepaint(FBevelOuter, Value); }
  TBevelEdges BevelEdges() const { return FBevelEdges; }
  void SetBevelEdges(TBevelEdges Value) { SetAndRepaint(FBevelEdges, Value); }
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int Value) { SetAndRepaint(FBevelWidth, std::max(Value, 1)); }
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value) { SetAndRepaint(FBorderWidth, std::max(Value, 0)); }
  // Paints the bevel and the BorderWidth ring in BorderColor on a canvas covering the whole control; the
  // inside of the ring is left alone.
  void DrawBorderAndBevel(plat::TCanvas* Canvas);
  // The header's place inside the border and bevel, HeaderHeight high when the header is visible.
  void ComputeHeaderRect(int HeaderHeight);
  const plat::TRect& HeaderRect() const { return FHeaderRect; }
  // Client coordinates (rows start at y 0 below the header band) to and from the screen.
  plat::TPoint ClientToScreen(const plat::TPoint& P) const;
  plat::TPoint ScreenToClient(const plat::TPoint& P) const;

  // --- Geometry and scrolling (treescroll.cpp; the scroll state is TTreeScroller's) ----------------------
  int OffsetX() const;
  int OffsetY() const;
  void SetOffsetX(int Value);
  void SetOffsetY(int Value);
  void SetOffsetXY(plat::TPoint Value);
  uint32_t RangeX() const;
  uint32_t RangeY() const;
  int EffectiveOffsetX() const;
  virtual bool ScrollToOffset(plat::TPoint Value, TOffsetUpdateOptions Options, const plat::TRect* ClipRect);
  void UpdateScrollBars(bool DoRepaint) override;
  void UpdateVerticalScrollBar(bool DoRepaint);
  void UpdateHorizontalScrollBar(bool DoRepaint);
  void UpdateRanges();
  void UpdateVerticalRange() override;
  void UpdateHorizontalRange();
  // The horizontal range of a tree without columns: the widest row in view (indentation, check box, images,
  // content and extra width) plus the margin.
  virtual int MaxVisibleRightExtent();
  plat::TRect GetTreeRect() const;
  plat::TRect GetDisplayRect(PLazyNode Node, TColumnIndex Column, bool TextOnly, bool Unclipped = false,
                             bool ApplyCellContentMargin = false);
  bool ScrollIntoView(PLazyNode Node, bool Center, bool Horizontally = false);
  // The node whose row lies at client y (nil below the last row); NodeTop receives its client top.
  PLazyNode GetNodeAt(int X, int Y, bool Relative, int& NodeTop);
  PLazyNode GetNodeAt(int X, int Y) {
    int top = 0;
    return GetNodeAt(X, Y, true, top);
  }
  PLazyNode GetNodeAt(const plat::TPoint& P) { return GetNodeAt(P.X, P.Y); }
  // Relative: the point is in client coordinates and is made tree coordinates first.
  virtual void GetHitTestInfoAt(int X, int Y, bool Relative, THitInfo& HitInfo);
  PLazyNode TopNode();
  void SetTopNode(PLazyNode Node);
  PLazyNode BottomNode();
  void SetBottomNode(PLazyNode Node);
  TScrollDirections GetAutoScrollDirections(int X, int Y);
  // Starts or stops auto-scrolling for the mouse at client (X, Y) (timer 4 runs the steps).
  void UpdateAutoScroll(int X, int Y);
  // One auto-scroll step toward the current directions.
  virtual void AutoScrollStep();
  TScrollDirections ScrollDirections() const;
  // The cache the lookups use, when one is valid (tests and the hit testing look at it).
  const TCache* PositionCache() { return FPositionCache.Usable(); }

  // --- Events of the window side -------------------------------------------------------------------------
  std::function<void(TBaseLazyTreeControl* Sender, int DeltaX, int DeltaY)> OnScroll;
  std::function<void(TBaseLazyTreeControl* Sender, int Bar, bool Show)> OnShowScrollBar;
  std::function<void(TBaseLazyTreeControl* Sender, PLazyNode Node, uint32_t& NodeHeight)> OnMeasureItem;

  // --- Painting (treepaint.cpp) ---------------------------------------------------------------------------
  // Paints Window (tree coordinates, scrolling removed) of the tree onto Canvas with its top-left at Target,
  // row by row through a row image (or directly with poUnbuffered).
  virtual void PaintTree(plat::TCanvas* Canvas, const plat::TRect& Window, const plat::TPoint& Target,
                         TLTInternalPaintOptions PaintOptions);
  std::function<void(TBaseLazyTreeControl* Sender, plat::TCanvas* TargetCanvas)> OnBeforePaint;
  std::function<void(TBaseLazyTreeControl* Sender, plat::TCanvas* TargetCanvas)> OnAfterPaint;
  std::function<void(TBaseLazyTreeControl* Sender, plat::TCanvas* TargetCanvas, PLazyNode Node,
                     const plat::TRect& ItemRect, bool& CustomDraw)>
      OnBeforeItemPaint;
  std::function<void(TBaseLazyTreeControl* Sender, plat::TCanvas* TargetCanvas, PLazyNode Node,
                     const plat::TRect& ItemRect, plat::TColor& ItemColor, TItemEraseAction& EraseAction)>
      OnBeforeItemErase;
  std::function<void(TBaseLazyTreeControl* Sender, plat::TCanvas* TargetCanvas, PLazyNode Node,
                     const plat::TRect& ItemRect)>
      OnAfterItemErase;
  std::function<void(TBaseLazyTreeControl* Sender, plat::TCanvas* TargetCanvas, PLazyNode Node, TColumnIndex Column,
                     TLTCellPaintMode CellPaintMode, const plat::TRect& CellRect, plat::TRect& ContentRect)>
      OnBeforeCellPaint;
  std::function<void(TBaseLazyTreeControl* Sender, plat::TCanvas* TargetCanvas, PLazyNode Node, TColumnIndex Column,
                     const plat::TRect& CellRect)>
      OnAfterCellPaint;
  std::function<void(TBaseLazyTreeControl* Sender, plat::TCanvas* TargetCanvas, PLazyNode Node,
                     const plat::TRect& ItemRect)>
      OnAfterItemPaint;
  std::function<void(TBaseLazyTreeControl* Sender, plat::TCanvas* TargetCanvas, const plat::TRect& R, bool& Handled)>
      OnPaintBackground;
  // Whether a cell has no content (IsEmpty starts true): an empty right-to-left cell gets no vertical grid line.
  std::function<void(TBaseLazyTreeControl* Sender, PLazyNode Node, TColumnIndex Column, bool& IsEmpty)>
      OnGetCellIsEmpty;

  // Prints the whole tree (and the header band when PrintHeader and the header is visible) on white, cut into
  // as many pages as it needs; nothing without a printer (treeprint.cpp). Answers how the picture was cut.
  TPrintLayout Print(QPagedPaintDevice* Printer, bool PrintHeader);

  // --- Canvas font hook (measuring and exporting watch whether a handler changed the font) ----------------
  // Puts the tree's change handler on Canvas's font (the font's own handler still runs after it).
  virtual void HookCanvasFontChange(plat::TCanvas* Canvas);
  // Gives the font its own handler back.
  virtual void UnhookCanvasFontChange(plat::TCanvas* Canvas);
  // Set when the hooked font changed; whoever watches clears it first.
  bool FontChanged() const { return FFontChanged; }
  void SetFontChanged(bool Value) { FFontChanged = Value; }

  // --- Button and line images ----------------------------------------------------------------------------
  // Rebuilds the expand-button bitmaps and/or the line pattern from the current style, fill and colours.
  void BuildButtonAndLineImages(bool NeedButtons, bool NeedLines);
  const TButtonImages& ButtonImages() const { return FButtonImages; }
  const TLinePattern& LinePattern() const { return FLinePattern; }
  // Dotted lines in the canvas font colour over the background (or the selection colour); both ends included,
  // the dots aligned to the canvas's brush origin so that they continue from row to row.
  void DrawHorzDottedLine(plat::TCanvas* Canvas, int Left, int Right, int Top);
  void DrawVertDottedLine(plat::TCanvas* Canvas, int Top, int Bottom, int Left, bool UseSelectedBkColor);
  // The connector lines (lmNormal) or bands (lmBands, only with GridLines) of a node's row: one segment per
  // entry of LineImage from CellRect.Left on (from CellRect.Right on, mirrored, right to left), VAlignment the
  // vertical centre of the node's content.
  void DrawTreeLines(plat::TCanvas* Canvas, PLazyNode Node, const plat::TRect& CellRect, int VAlignment,
                     const std::vector<TLTLineType>& LineImage, bool GridLines, bool RightToLeft = false);
  // One segment of a line image in the level starting at X, mirrored within the level right to left.
  void DrawLineImage(plat::TCanvas* Canvas, TLTLineType Type, int X, int Top, int LineHeight, int VA,
                     bool RightToLeft = false);
  std::function<void(TBaseLazyTreeControl* Sender, PLazyNode Node, int Level, int& PosX)> OnBeforeDrawTreeLine;
  // The expand button of a node whose row is R, at (ButtonX, ButtonY) inside it (ButtonX counted from the right
  // edge right to left); Hot picks the hot forms.
  void DrawExpandButton(plat::TCanvas* Canvas, PLazyNode Node, const plat::TRect& R, int ButtonX, int ButtonY,
                        bool Hot, bool RightToLeft = false);
  // The list and index of a node's image of a kind, through OnGetImageIndexEx or OnGetImageIndex.
  virtual plat::TCustomImageList* QueryImageIndex(PLazyNode Node, TLTImageKind Kind, TColumnIndex Column,
                                                  bool& Ghosted, int& Index);
  // Fills an image slot: index, ghosting and list (DefaultImages when the query names none).
  void FetchImageInfo(PLazyNode Node, TColumnIndex Column, TLTImageKind Kind, TLTImageInfo& Info,
                      plat::TCustomImageList* DefaultImages);
  // Draws a node's image (normal or state slot), blended for selection, ghosting or a pending cut, greyed when
  // disabled, with its overlay when DoOverlay.
  void DrawNodeImage(plat::TCanvas* Canvas, PLazyNode Node, TColumnIndex Column, const TLTImageInfo& Info,
                     bool DoOverlay);
  std::function<void(TBaseLazyTreeControl* Sender, PLazyNode Node, TLTImageKind Kind, TColumnIndex Column,
                     bool& Ghosted, int& ImageIndex, plat::TCustomImageList*& ImageList)>
      OnGetImageIndexEx;
  std::function<void(TBaseLazyTreeControl* Sender, PLazyNode Node, TLTImageKind Kind, TColumnIndex Column,
                     bool& Ghosted, int& ImageIndex)>
      OnGetImageIndex;
  // The drop mark of the last drop mode (above or below) for a node's row R.
  void DrawDropMark(plat::TCanvas* Canvas, PLazyNode Node, const plat::TRect& R);
  // The rubber band: blended with its border colour, or a dotted focus frame.
  void DrawSelectionFrame(plat::TCanvas* Canvas, int WindowOrgX, const plat::TRect& TargetRect,
                          const plat::TRect& SelectionRect);
  // The rubber band of a mouse selection in tree coordinates; the paint pass draws it while the left button is
  // down and the band is being drawn (tsDrawSelecting).
  const plat::TRect& NewSelRect() const;
  void SetNewSelRect(const plat::TRect& Value);
  virtual bool LeftButtonDown() const;
  // Where a drop at P lands relative to the hit node; may forget the hit node in report mode off its content.
  virtual TDropMode DropModeAt(plat::TPoint P, THitInfo& HitInfo, const plat::TRect& NodeRect);
  TDropMode LastDropMode() const { return FLastDropMode; }
  void SetLastDropMode(TDropMode Value) { FLastDropMode = Value; }
  std::function<void(TBaseLazyTreeControl* Sender, TButtonImages& Images, int& Size)> OnPrepareButtonBitmaps;
  std::function<void(TBaseLazyTreeControl* Sender, TLinePattern& Bits)> OnGetLineStyle;

  // --- Clipboard and transfer formats (treeclipboard.cpp) ------------------------------------------------
  // The names of the registered formats the tree offers (empty by default: only user formats).
  TClipboardFormats& ClipboardFormats();
  void SetClipboardFormats(const QStringList& Value);
  std::function<void(TBaseLazyTreeControl* Sender, TFormatEtcArray& Formats)> OnGetUserClipboardFormats;
  // Renders a format the tree does not render itself; Result starts false.
  std::function<void(TBaseLazyTreeControl* Sender, const TFormatEtc& FormatEtcIn, QByteArray& Medium,
                     bool ForClipboard, bool& Result)>
      OnRenderOLEData;
  virtual void CollectTransferFormats(TFormatEtcArray& Formats);
  // "Lazy Tree Data" of the cut or copy set (clipboard) or the selection (drag); others by OnRenderOLEData.
  virtual bool RenderTransferData(const TFormatEtc& FormatEtc, bool ForClipboard, QByteArray& Data);
  virtual void CopyToClipboard();
  virtual void CutToClipboard();
  // ELazyTreeError 2007 without a clipboard; refused data raises its stream error and adds nothing.
  virtual bool PasteFromClipboard();
  // Takes the "Lazy Tree Data" of DataObject: moved from Source when Optimized, else copied through the stream.
  bool ProcessOLEData(TBaseLazyTreeControl* Source, const QMimeData* DataObject, PLazyNode TargetNode,
                      TLTNodeAttachMode Mode, bool Optimized);
  // Leaves plain rendered data on the clipboard and ends the pending cut or copy.
  void FlushClipboard();

  // --- Drag and drop (treedrag.cpp) ----------------------------------------------------------------------
  TLTDragImage& DragImage();
  void BeginDrag(bool Immediate, int Threshold = -1);
  // Pixels the mouse must move from the click before a pending drag starts.
  int DragThreshold() const;
  bool Dragging() const;
  uint32_t LastDragEffect() const;
  // The picture of the selected rows around HotSpot (client coordinates) for the drag image.
  void PrepareDragImage(plat::TPoint HotSpot, const QMimeData* DataObject);
  virtual bool CanShowDragImage() const { return FDragImageKind != diNoImage; }
  // For OnDragDrop handlers: takes the dropped nodes at TargetNode; Effect comes back as what the source
  // still has to do (nothing after an in-process move).
  bool ProcessDrop(const QMimeData* DataObject, PLazyNode TargetNode, uint32_t& Effect, TLTNodeAttachMode Mode);
  // The drop target: Pt in client coordinates, Effect the allowed effects in and the chosen one out. False when
  // the call failed.
  bool DragEnter(const QMimeData* DataObject, Qt::KeyboardModifiers Shift, plat::TPoint Pt, uint32_t& Effect);
  bool DragOver(Qt::KeyboardModifiers Shift, plat::TPoint Pt, uint32_t& Effect);
  void DragLeave();
  bool Drop(const QMimeData* DataObject, Qt::KeyboardModifiers Shift, plat::TPoint Pt, uint32_t& Effect);
  // Timer 1: a collapsed drop target with children opens.
  virtual void ExpandDropTarget();
  uint32_t SuggestDropEffect(TBaseLazyTreeControl* Source, Qt::KeyboardModifiers Shift,
                             uint32_t AllowedEffects) const;
  // Accept starts false: without a handler no drop is taken.
  std::function<void(TBaseLazyTreeControl* Sender, TBaseLazyTreeControl* Source, Qt::KeyboardModifiers Shift,
                     TDragState State, plat::TPoint Pt, TDropMode Mode, uint32_t& Effect, bool& Accept)>
      OnDragOver;
  std::function<void(TBaseLazyTreeControl* Sender, TBaseLazyTreeControl* Source, const QMimeData* DataObject,
                     const QStringList& Formats, Qt::KeyboardModifiers Shift, plat::TPoint Pt, uint32_t& Effect,
                     TDropMode Mode)>
      OnDragDrop;
  // At the start of every drag from the tree (a handler that supplies a drag object of its own sets the flag),
  // and at its end with the mouse position in client coordinates.
  std::function<void(TBaseLazyTreeControl* Sender, bool& UserDragObject)> OnStartDrag;
  std::function<void(TBaseLazyTreeControl* Sender, plat::TPoint Pt)> OnEndDrag;
  // Supplies the data object of a drag (nil keeps the tree's own).
  std::function<void(TBaseLazyTreeControl* Sender, QMimeData*& DataObject)> OnCreateDataObject;
  static constexpr int ExpandTimer = 1;

  // --- Expanding (the window's part: keeping the result in view) -----------------------------------------
  void ToggleNode(PLazyNode Node) override;
  // Raises DefaultNodeHeight to the text height of the font (with toAutoChangeScale).
  virtual void AutoScaleNodeHeight();

  // Stored data sets the root's child count before the tree is complete: the nodes are made in Loaded.
  void SetRootNodeCount(uint32_t Value);

  // Runs an animation of Steps pixels over Duration ms; nothing while another runs (tsInAnimation).
  virtual void Animate(uint32_t Steps, uint32_t Duration, const std::function<bool(int Step, int StepSize)>& Callback);
  void SetAnimationClock(TMillisecondClock Clock) { FAnimationClock = std::move(Clock); }

  // --- Keyboard (treekeys*.cpp) --------------------------------------------------------------------------
  // First on every key-down: may change the key and the shift state; DoDefault false drops the key.
  std::function<void(TBaseLazyTreeControl* Sender, uint16_t& CharCode, plat::TShiftState& Shift, bool& DoDefault)>
      OnKeyAction;
  // Each node compared by the incremental search; Result 0 (preset) means it matches.
  std::function<void(TBaseLazyTreeControl* Sender, PLazyNode Node, const QString& SearchText, int& Result)>
      OnIncrementalSearch;
  std::function<void(TBaseLazyTreeControl* Sender, PLazyNode Node, TColumnIndex Column, int& HelpContext)>
      OnGetHelpContext;
  // The text typed so far by the incremental search, and the node it found last.
  const QString& SearchBuffer() const;
  PLazyNode LastSearchNode() const;
  // One keystroke of the incremental search (the character of the key; 8 = backspace, 0 = restart the time-out).
  virtual void HandleSearchKey(char16_t C);

  // --- Focus and in-place editing (treeedit*.cpp) --------------------------------------------------------
  // Moves the focus with OnFocusChanging asked first and OnFocusChanged after a change (nil: no node).
  void SetFocusedNode(PLazyNode Value);
  void SetFocusedColumn(TColumnIndex Value);
  // Focuses the first selected node, else the first visible one, when no node is focused.
  void FocusFirstCandidate();
  bool CanFocus() const override;
  // Opens an editor for the cell; true when an edit runs afterwards.
  virtual bool EditNode(PLazyNode Node, TColumnIndex Column);
  // Accepts a running or pending edit; true when none is left open.
  bool EndEditNode();
  bool CancelEditNode() override;
  bool IsEditing() const { return TreeStates().Has(tsEditing); }
  virtual bool CanEdit(PLazyNode Node, TColumnIndex Column);
  // The font, text rectangle (client coordinates) and text of a cell, for editors and tooltips.
  virtual void GetTextInfo(PLazyNode Node, TColumnIndex Column, plat::TFont* AFont, plat::TRect& R, QString& Text);
  ILTEditLink* EditLink() const { return FEditLink.get(); }
  TColumnIndex EditColumn() const { return FEditColumn; }
  // The editor's side of an edit (the edit control calls these too).
  virtual void OpenEditor();
  bool AcceptEdit();
  bool AbortEdit();
  std::function<void(TBaseLazyTreeControl* Sender, PLazyNode OldNode, PLazyNode NewNode, TColumnIndex OldColumn,
                     TColumnIndex NewColumn, bool& Allowed)>
      OnFocusChanging;
  std::function<void(TBaseLazyTreeControl* Sender, PLazyNode Node, TColumnIndex Column)> OnFocusChanged;
  std::function<void(TBaseLazyTreeControl* Sender, PLazyNode Node, TColumnIndex Column, bool& Allowed)> OnEditing;
  std::function<void(TBaseLazyTreeControl* Sender, PLazyNode Node, TColumnIndex Column,
                     std::shared_ptr<ILTEditLink>& EditLink)>
      OnCreateEditor;
  std::function<void(TBaseLazyTreeControl* Sender, PLazyNode Node, TColumnIndex Column)> OnEdited;
  std::function<void(TBaseLazyTreeControl* Sender, TColumnIndex Column)> OnEditCancelled;
  // The height of the header band above the rows (child windows placed over rows are offset by it).
  int HeaderBandHeight() const { return HeaderBand(); }

  // --- Hints and tooltips (treehints.cpp) ----------------------------------------------------------------
  // Answers a hint request for the client point in R.CursorPos; R.Result 0 lets the hint show.
  virtual void HintRequest(TLTHintRequest& R);
  // The hint window's size for its data (empty: nothing to show).
  plat::TRect CalcHintRect(int MaxWidth, TLTHintData& Data);
  TLTHintKind HintKindOf(PLazyNode Node, TColumnIndex Column);
  virtual QString NodeHintText(PLazyNode Node, TColumnIndex Column, TLTTooltipLineBreakStyle& LineBreakStyle);
  virtual QString NodeTooltipText(PLazyNode Node, TColumnIndex Column, TLTTooltipLineBreakStyle& LineBreakStyle);
  const plat::TRect& LastHintRect() const { return FLastHintRect; }
  // The tree's hint window while one is shown (nil otherwise).
  TLazyTreeHintWindow* HintWindow() const;
  // The hint animation in force: the system's tooltip effect for hatSystemDefault.
  THintAnimationType GetEffectiveHintAnimation() const;
  std::function<void(TBaseLazyTreeControl* Sender, PLazyNode Node, TColumnIndex Column, TLTHintKind& Kind)>
      OnGetHintKind;
  std::function<void(TBaseLazyTreeControl* Sender, PLazyNode Node, TColumnIndex Column, plat::TRect& R)>
      OnGetHintSize;
  std::function<void(TBaseLazyTreeControl* Sender, plat::TCanvas* HintCanvas, PLazyNode Node, const plat::TRect& R,
                     TColumnIndex Column)>
      OnDrawHint;

  // Timer ids of the window (the store's are 5 and 6).
  static constexpr int ScrollTimer = 4;
  static constexpr int SearchTimer = 7;

  // --- Mouse input (treemouse.cpp, treemousebuttons.cpp, treepanning.cpp) --------------------------------
  static constexpr int EditTimer = 2;
  static constexpr int ThemeTimer = 8;
  std::function<void(TBaseLazyTreeControl* Sender, const THitInfo& HitInfo)> OnNodeClick;
  std::function<void(TBaseLazyTreeControl* Sender, const THitInfo& HitInfo)> OnNodeDblClick;
  std::function<void(TBaseLazyTreeControl* Sender, PLazyNode OldNode, PLazyNode NewNode)> OnHotChange;
  std::function<void(TBaseLazyTreeControl* Sender, plat::TCursor& Cursor)> OnGetCursor;
  std::function<void(TBaseLazyTreeControl* Sender, PLazyNode Node, TColumnIndex Column, const plat::TPoint& P,
                     bool& AskParent, plat::TPopupMenu*& PopupMenu)>
      OnGetPopupMenu;
  std::function<void(TBaseLazyTreeControl* Sender, PLazyNode Node, TColumnIndex Column, bool& Allowed)> OnDragAllowed;
  std::function<void(TBaseLazyTreeControl* Sender, PLazyNode Node, TColumnIndex Column, plat::TShiftState Shift,
                     const plat::TPoint& TrackPoint, const plat::TPoint& P, bool& Allowed)>
      OnNodeHeightTracking;
  std::function<void(TBaseLazyTreeControl* Sender, PLazyNode Node, TColumnIndex Column, plat::TShiftState Shift,
                     const plat::TPoint& P, bool& Allowed)>
      OnNodeHeightDblClickResize;
  std::function<void(TBaseLazyTreeControl* Sender, const plat::TPoint& P, PLazyNode Node, TColumnIndex Column,
                     bool& Allowed)>
      OnCanSplitterResizeNode;
  enum TDragMode : uint8_t { dmManual, dmAutomatic };
  TDragMode DragMode() const { return FDragMode; }
  void SetDragMode(TDragMode Value) { FDragMode = Value; }
  PLazyNode HotNode() const { return FHotNode; }
  TColumnIndex HotColumn() const { return FCurrentHotColumn; }
  // The node whose check box is held down by the mouse or the space bar, and the state it will get.
  PLazyNode CheckNode() const { return FCheckNode; }
  TCheckState PendingCheckState() const { return FPendingCheckState; }
  // A rubber band is pending or being drawn.
  bool IsMouseSelecting() const {
    return TreeStates().Has(tsDrawSelPending) || TreeStates().Has(tsDrawSelecting);
  }
  // May the node's height be dragged at P (toNodeHeightResize, a fixed column, OnCanSplitterResizeNode)?
  bool NodeDividerDraggable(const plat::TPoint& P, PLazyNode Node, TColumnIndex Column);
  // The context menu of a node (its own, or the first an ancestor gives) at a client point.
  void ShowNodePopupMenu(PLazyNode Node, TColumnIndex Column, const plat::TPoint& Position);
  bool PopupMenuAvailable(PLazyNode Node, TColumnIndex Column, const plat::TPoint& Position);
  // Wheel panning: the middle button scrolls towards the pointer until released or the next click.
  void BeginWheelPanning(const plat::TPoint& Position);
  void StopWheelPanning();
  // The name of the panning cursor shown (empty when not panning) and the panning window, for tests.
  const QString& PanningCursorName() const;
  QWidget* PanningWindow() const;
  // The cursor the mouse handling last chose over the rows.
  plat::TCursor ShownCursor() const { return FShownCursor; }
  // The rectangle of the rubber band before its last change (tree coordinates).
  const plat::TRect& LastSelRect() const;
  // Where the mouse of the rows is: pressed, a rubber band pending or drawn, a row's height tracked.
  TTreeGesture MouseGesture() const;
  // With toAlwaysSelectNode: a node is selected, focused and shown.
  void EnsureNodeSelected() override;

 protected:
  // --- Mouse input ---
  // The window's mouse, timer and cursor messages; true when the message was handled here.
  virtual bool HandleMouseMessage(plat::TMessage& M);
  virtual void HandleButtonDown(plat::TMessage& M, THitInfo& HitInfo);
  virtual void HandleButtonUp(plat::TMessage& M, const THitInfo& HitInfo);
  virtual void HandleButtonDblClick(plat::TMessage& M, const THitInfo& HitInfo);
  virtual void HandleHotTrack(int X, int Y);
  virtual void HandleTimer(int TimerId);
  void MouseMove(plat::TShiftState Shift, int X, int Y) override;
  virtual void HandleMouseLeave();
  // Picks the cursor over client point P and shows it.
  virtual void UpdateCursor(const plat::TPoint& P);
  virtual void ChoosePanningCursor(int X, int Y);
  virtual void DoNodeClick(const THitInfo& HitInfo);
  virtual void DoNodeDblClick(const THitInfo& HitInfo);
  virtual void DoHotChange(PLazyNode OldNode, PLazyNode NewNode);
  virtual void DoGetCursor(plat::TCursor& Cursor);
  virtual plat::TPopupMenu* DoGetPopupMenu(PLazyNode Node, TColumnIndex Column, const plat::TPoint& Position);
  virtual bool DoDragAllowed(PLazyNode Node, TColumnIndex Column);
  // Where a click meets focus and in-place editing. The focus and editing side gives these their bodies:
  // ending a running or pending edit (false: the editor refuses and the click stops), asking whether the focus
  // may move, moving it without asking again, announcing the change, whether a cell may be edited, and the
  // edit and incremental-search timers.
  virtual bool MouseEndsEdit();
  virtual bool MouseFocusChangeAllowed(PLazyNode OldNode, PLazyNode NewNode, TColumnIndex OldColumn,
                                       TColumnIndex NewColumn);
  virtual void MouseMovesFocus(PLazyNode Node);
  virtual void MouseReportsFocus(PLazyNode Node, TColumnIndex Column);
  virtual bool MouseCanEdit(PLazyNode Node, TColumnIndex Column);
  // A release or double click armed an edit of Column: timer 2 runs after Delay.
  virtual void MouseArmsEdit(TColumnIndex Column, uint32_t Delay);
  virtual void EditTimerFired();
  virtual void EndIncrementalSearch();

  // --- Selection by the mouse (treeselectionwindow.cpp) ---
  // A click with Shift or Ctrl on NewNode; LastFocused is the node focused before the click.
  virtual void HandleClickSelection(PLazyNode LastFocused, PLazyNode NewNode, plat::TShiftState Shift,
                                    bool DragPending);
  // Moves the band's corner to client (X, Y); true when the rectangle changed.
  bool TrackSelectionRect(int X, int Y);
  // Applies the band to the selection; true when the selection changed.
  virtual bool UpdateRectSelection();
  void SelectionFocusesColumn() override;
  // Store hooks.
  bool HandleAllocated() const override { return true; }
  bool IsDestroying() const override;
  void StartTimer(int TimerId, uint32_t Milliseconds) override { SetTimer(static_cast<std::uintptr_t>(TimerId), Milliseconds); }
  void StopTimer(int TimerId) override { KillTimer(static_cast<std::uintptr_t>(TimerId)); }
  void SuspendRedraw() override { FRedrawSuspended = true; }
  void ResumeRedraw() override { FRedrawSuspended = false; }
  void InvalidateNode(PLazyNode Node) override;
  void InvalidateToBottom(PLazyNode Node) override;
 public:
  // Repaints Node (the root: the top-level nodes) and its children, initialising them (all descendants with
  // Recursive); a node with children still to be made gets them first.
  void InvalidateChildren(PLazyNode Node, bool Recursive);
  // Paints the node's row at once.
  void RepaintNode(PLazyNode Node);

 protected:
  void StopCacheValidation() override;
  void RequestCacheValidation() override { FPositionCache.Request(); }
  void MeasureItemHeight(PLazyNode Node) override;
  void AnimateToggle(PLazyNode Node, bool Expanding, int64_t HeightDelta) override;
  // Whether the window can move its pixels for a toggle animation. This platform paints every frame from the
  // model, so a toggle shows its final state at once; a window that can scroll its pixels says so here.
  virtual bool CanAnimateToggle() const { return false; }
  // Moves the pixels of R by Dy (negative: up); on the first step the uncovered strip is filled.
  virtual void ScrollWindowRect(const plat::TRect& /*R*/, int /*Dy*/, bool /*FirstStep*/) {}
  void DoExpanded(PLazyNode Node) override;
  void DoCollapsed(PLazyNode Node) override;

  // Window side.
  void Dispatch(plat::TMessage& Message) override;
  void Loaded() override;
  void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
  bool DoMouseWheel(plat::TShiftState Shift, int WheelDelta, plat::TPoint MousePos) override;
  void Paint() override;
  // (Re)applies what depends on the window: theming states, scaled heights, scroll bars.
  virtual void CreateWnd();
  // Enters or leaves tsUseThemes and tsUseExplorerTheme by the visual styles and the paint options.
  void ApplyThemeStates();
  virtual void DoScroll(int DeltaX, int DeltaY);
  virtual void DoShowScrollBar(int Bar, bool Show);
  // Width of a node's content (the string tree measures its text).
  virtual int DoGetNodeWidth(PLazyNode /*Node*/, TColumnIndex /*Column*/) { return 0; }
  // The column the painting of a row goes on with after Column's cell: the next visible one; the string tree
  // widens CellRect over following empty cells and answers the first column it did not take. ColumnNotFound
  // at the end.
  virtual TColumnIndex NextPaintColumn(PLazyNode Node, TColumnIndex Column, plat::TRect& CellRect);
  // The header's main column changed: an open edit ends unsaved, and accessibility clients hear that the
  // item's name may have changed.
  virtual void NotifyEditCancelled();
  // Whether the image handlers give the node an image of the kind in the column.
  bool NodeHasImage(PLazyNode Node, TLTImageKind Kind, TColumnIndex Column);
  // The size of a node's images of a kind in a column: the Images list's size, (0, 0) without one.
  virtual plat::TSize NodeImageSize(PLazyNode Node, TLTImageKind Kind, TColumnIndex Column);
  // The content of a cell (the string tree paints its text, the owner-drawn tree asks its handler).
  virtual void PaintNodeContent(const TLTPaintInfo& /*PaintInfo*/) {}
  // The margins a cell keeps free around its content: what OnBeforeCellPaint takes off the content rectangle
  // when asked in cpmGetContentMargin mode ((0, 0) without a handler).
  virtual plat::TPoint CellContentMargin(PLazyNode Node, TColumnIndex Column, TLTCellContentMarginType Type,
                                         plat::TCanvas* Canvas);
  // The kind of hint a node shows when no handler says otherwise.
  virtual TLTHintKind DefaultHintKind() const { return vhkText; }
  // A cell's background: column colour, the handler's part (which may narrow the content), the selection or
  // drop-target fill, the explorer look's hot item and the focus rectangle. WindowOrgX and MaxWidth place a
  // blend on the row's image.
  virtual void PaintCellBackground(TLTPaintInfo& PaintInfo, int WindowOrgX, int MaxWidth);
  // A check image as the theme's button element (ckSystemDefault under themes); false when the theme cannot.
  virtual bool DrawThemedCheckImage(plat::TCanvas* Canvas, const TLTImageInfo& ImageInfo);
  // The fill of selected cells: focused, or unfocused without the focus (popup mode counts as focused).
  plat::TColor SelectionColor() const;
  // The explorer look's item background in one of its states; false without that theme.
  bool DrawExplorerItem(plat::TCanvas* Canvas, const plat::TRect& R, int State);
  // Width a node needs beyond its content in a column.
  virtual int DoGetNodeExtraWidth(PLazyNode /*Node*/, TColumnIndex /*Column*/) { return 0; }
  // What hit testing asks of the columns and images.
  virtual int FixedColumnsWidth() const;
  virtual bool HitColumnsInUse() const;
  // The column under X (tree coordinates) with its left and right edge, after spanning empty cells;
  // ColumnNotFound for none.
  virtual TColumnIndex HitColumnSpan(PLazyNode Node, int X, int& Left, int& Right);
  virtual TColumnIndex HitMainColumn() const;
  virtual plat::TAlignment HitColumnAlignment(TColumnIndex Column) const;
  virtual bool HitColumnRightToLeft(TColumnIndex Column) const;
  virtual int PlusButtonWidth() const { return FButtonImages.Plus ? FButtonImages.Plus->Width() : 9; }
  // Width of the node's state (State) or normal image in the column; 0 when it has none.
  virtual int HitImageWidth(PLazyNode Node, TColumnIndex Column, bool State);
  void DoChecked(PLazyNode Node) override;
  void BeginLongWork() override;
  void EndLongWork() override;
  // A cell without content (the string tree: one whose text is empty), which a spanning neighbour may use;
  // OnGetCellIsEmpty decides, true without a handler.
  virtual bool CellIsEmpty(PLazyNode Node, TColumnIndex Column);
  THitCell DescribeHitCell(PLazyNode Node, TColumnIndex Column, int X, int Width);
  // The vertical bar runs beside the rows, below the header band.
  int VerticalScrollBarTop() const override { return HeaderBand(); }
  // Called after every offset change and scroll-bar update for restyled bars; the active style already draws
  // the bars on this platform.
  virtual void UpdateStyledScrollBars() {}
  // The editor follows its node once positions are known again.
  virtual void UpdateEditBounds();
  // --- Keyboard, focus, editing and hints: the protected side -------------------------------------------
  // The key, focus, edit-timer, search-timer and hint messages; true when the message was handled.
  bool DispatchKeysFocusAndHints(plat::TMessage& Message);
  virtual void MoveFocusTo(PLazyNode Node, bool Ask);
  virtual bool FocusChangeAllowed(PLazyNode OldNode, PLazyNode NewNode, TColumnIndex OldColumn,
                                  TColumnIndex NewColumn);
  virtual void ReportFocusChange(PLazyNode Node, TColumnIndex Column);
  virtual void FocusNodeInColumn(PLazyNode Node, TColumnIndex Column);
  virtual void ObtainEditor(PLazyNode Node, TColumnIndex Column, std::shared_ptr<ILTEditLink>& EditLink);
  bool EndEditForSort() override { return EndEditNode(); }
  void StopEditTimer() override { StopTimer(EditTimer); }
  void CancelHint() override;
  void DoFreeNode(PLazyNode Node) override;
  // 0 when Node matches the search text (the base tree: the handler's answer, every node without one).
  virtual int DoIncrementalSearch(PLazyNode Node, const QString& Text);
  // Clipboard keys (Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+Insert, Shift+Insert, Shift+Delete): true when taken. The tree
  // itself has no clipboard road here; a tree with transfer support connects it.
  virtual bool ClipboardKey(uint16_t /*Key*/, plat::TShiftState /*Shift*/) { return false; }
  // Shows application help for a context (F1); nothing without a help system.
  virtual void ShowHelp(int /*HelpContext*/) {}
  // The key-down of the tree after the control's own handling (OnKeyDown).
  virtual void TreeKeyDown(uint16_t Key, plat::TShiftState Shift);

  bool Loading() const { return ComponentState().Contains(plat::csLoading); }
  // Auto-scrolling is allowed while a rubber band is drawn, a drag runs or the wheel pans (with toAutoScroll or
  // while panning).
  virtual bool CanAutoScroll() const;
  // Where the mouse is, in client coordinates.
  virtual plat::TPoint CursorClientPos() const;
  // Clipboard and drag state (made on first use).
  TTreeTransferState& Transfer();
  void ReleaseClipboardContent() override;
  virtual void RunOLEDrag(plat::TPoint HotSpot);
  // The drag loop; takes the data object and answers the effect the target chose.
  virtual void PerformDragDrop(uint32_t AllowedEffects, QMimeData* DataObject, uint32_t& Effect);
  // A drag ended: the drag states go and the tree leaves its button-down handling.
  virtual void EndDragStates();
  virtual bool DoDragOver(TBaseLazyTreeControl* Source, Qt::KeyboardModifiers Shift, TDragState State,
                          plat::TPoint Pt, TDropMode Mode, uint32_t& Effect);

 private:
  template <class T>
  void SetAndRepaint(T& Field, const T& Value) {
    if (Field == Value) return;
    Field = Value;
    if (!Loading()) Invalidate();
  }
  template <class T>
  void SetAndRebuildImages(T& Field, const T& Value, bool Buttons = true) {
    if (Field == Value) return;
    Field = Value;
    if (Loading()) return;
    BuildButtonAndLineImages(Buttons, !Buttons);
    Invalidate();
  }
  struct TCellBackground;
  void FillSelection(TCellBackground& B, plat::TColor Fill, plat::TColor Border, int ExplorerState);
  void PaintFocusRect(const TLTPaintInfo& PaintInfo, const TCellBackground& B);
  void CanvasFontChanged(plat::TObject* Sender);
  plat::TFont* FHookedFont = nullptr;
  plat::TNotifyEvent FOldFontChange;
  bool FFontChanged = false;
  void FillDotted(plat::TCanvas* Canvas, const plat::TRect& R, plat::TColor Background);
  int MeasureColumnContent(TColumnIndex Column, bool UseSmartColumnWidth);
  int CheckImageWidth() const;
  struct TImageLink {
    plat::TCustomImageList* List = nullptr;
    int Link = 0;
  };
  void SetImageList(TImageLink& Link, plat::TCustomImageList* Value);
  void ImageListChanged() {
    if (!IsDestroying()) Invalidate();
  }
  void PaintRow(plat::TCanvas* Canvas, PLazyNode Node, const plat::TRect& Window,
                const std::vector<TLTLineType>& Lines, int IndentSize, int ButtonX, int PlusHeight,
                TLTInternalPaintOptions Options, bool UseColumns, const TLazyTreeColumns& Columns,
                int RowTargetTop);
  struct TRowPaint;
  void PaintCell(plat::TCanvas* Canvas, const TRowPaint& Row, TColumnIndex Column, plat::TRect Cell, bool IsMain);
  TLTInternalPaintOptions CellPaintOptions(const TRowPaint& Row, TColumnIndex Column) const;
  void PlaceCellImages(TLTPaintInfo& Info, const TRowPaint& Row, bool IsMain, bool RightToLeft);
  void PaintCellGridLines(TLTPaintInfo& Info, const TRowPaint& Row, bool IsMain);
  void PaintBelowRows(plat::TCanvas* Canvas, plat::TPoint Target, int MaxRight, int MaxBottom,
                      const plat::TRect& Window, TLTInternalPaintOptions Options);
  void HandleScrollMessage(plat::TMessage& Message, bool Vertical);
  void HandleResize();
  void KeepToggledInView(PLazyNode Node, int64_t HeightDelta, bool Fits, bool RowTop0, bool RoomAbove,
                         bool RowInside);
  // The background picture is painted in this pass (option, setting and a bitmap to show).
  bool UseBackground(TLTInternalPaintOptions Options) const;
  // The default erase of a row: the picture, the full-row selection, or the colour.
  void EraseRowDefault(plat::TCanvas* Canvas, PLazyNode Node, plat::TRect R, plat::TColor Color,
                       TLTInternalPaintOptions Options, plat::TPoint PictureOffset);
  // The header band is the window's top strip outside the rows' client area: rows, node rectangles, scrolling
  // and hit tests work in client coordinates starting below it, the band lies at y -HeaderBand() .. 0.
  int HeaderBand() const;
  int ClientH() const { return std::max(0, ClientHeight() - HeaderBand()); }
  int ClientW() const { return ClientWidth(); }
  void PutOnClipboard(bool Cut);
  void TrackDropTarget(plat::TPoint Pt);
  bool DragScrollStep(plat::TPoint Pt);
  void RegisterDropTarget();

  TScrollBarOptions FScrollBarOptions{[this] {
    if (!Loading()) CreateWnd();
  }};
  TLTColors FColors;
  // --- Header: what it needs of the window beyond the public members, through the adapter (made first, gone
  // last).
  class THeaderHostAdapter;
  std::unique_ptr<THeaderHostAdapter> FHeaderHost;
  std::unique_ptr<TLTHeader> FHeader;
  TColumnIndex FFocusedColumn = NoColumn;
  TImageLink FImages, FStateImages, FCustomCheckImages, FHeaderImages;
  TButtonImages FButtonImages;
  TLinePattern FLinePattern = DottedLinePattern;
  TDropMode FLastDropMode = dmNowhere;
  plat::TBitmap FDottedBrush{8, 8, plat::pf32bit};
  struct TDottedBrushKey {
    TLinePattern Pattern;
    plat::TColor Line, Background;
    bool operator==(const TDottedBrushKey&) const = default;
  };
  std::optional<TDottedBrushKey> FDottedBrushKey;  // what FDottedBrush holds
  TPositionCacheClient FPositionCache;
  std::unique_ptr<TTreeAccessibility> FAccessibility;
  // --- Scrolling: the scroller owns offsets, ranges and auto-scroll state; the adapter is its view of us.
  class TScrollHostAdapter;
  std::unique_ptr<TScrollHostAdapter> FScrollHost;
  std::unique_ptr<TTreeScroller> FScroller;
  // --- Incremental search: the search owns its settings, the typed text and the last hit.
  class TSearchHostAdapter;
  std::unique_ptr<TSearchHostAdapter> FSearchHost;
  std::unique_ptr<TTreeSearch> FSearch;
  // --- Wheel panning: the panner owns its window and the cursor it shows.
  class TPanHostAdapter;
  std::unique_ptr<TPanHostAdapter> FPanHost;
  std::unique_ptr<TTreePanner> FPanner;
  bool FRedrawSuspended = false;

  QString FAccessibleName;
  plat::TAlignment FAlignment = plat::taLeftJustify;
  uint32_t FAnimationDuration = 200;
  uint32_t FAutoExpandDelay = 1000;
  uint32_t FAutoScrollDelay = 1000;
  uint32_t FAutoScrollInterval = 1;
  int FBackgroundOffsetX = 0;
  int FBackgroundOffsetY = 0;
  plat::TFormBorderStyle FBorderStyle = plat::bsSingle;
  bool FCtl3D = true;
  uint32_t FBottomSpace = 0;
  TLTButtonFillMode FButtonFillMode = fmTreeColor;
  TLTButtonStyle FButtonStyle = bsRectangle;
  TCheckImageKind FCheckImageKind = ckSystemDefault;
  TLTNodeAttachMode FDefaultPasteMode = amAddChildLast;
  int FDragHeight = 350;
  int FDragWidth = 200;
  TLTDragImageKind FDragImageKind = diComplete;
  TDragOperations FDragOperations{doCopy, doMove};
  TLTDragType FDragType = dtOLE;
  TLTDrawSelectionMode FDrawSelectionMode = smDottedRectangle;
  uint32_t FEditDelay = 1000;
  QString FEmptyListMessage;
  THintAnimationType FHintAnimation = hatSystemDefault;
  TLTHintMode FHintMode = hmDefault;
  plat::TCursor FHotCursor = plat::crDefault;
  uint32_t FIndent = 18;
  TLTLineMode FLineMode = lmNormal;
  TLTLineStyle FLineStyle = lsDotted;
  int FMargin = 4;
  TLTNodeAlignment FNodeAlignment = naProportional;
  uint8_t FSelectionBlendFactor = 128;
  uint32_t FSelectionCurveRadius = 0;
  int FTextMargin = 4;
  bool FWantTabs = false;

  std::unique_ptr<plat::TPicture> FBackground = std::make_unique<plat::TPicture>();
  TBevelKind FBevelKind = bkNone;
  plat::TBevelCut FBevelInner = plat::bvRaised;
  plat::TBevelCut FBevelOuter = plat::bvLowered;
  TBevelEdges FBevelEdges{beLeft, beTop, beRight, beBottom};
  int FBevelWidth = 1;
  int FBorderWidth = 0;
  plat::TRect FHeaderRect;

  plat::TPoint FLastClickPos{};
  std::shared_ptr<TTreeTransferState> FTransfer;
  uint32_t FPendingRootCount = 0;
  TMillisecondClock FAnimationClock;

  // Mouse input and the rubber band.
  struct TBandGeometry;
  bool RectSelectPass(const TBandGeometry& G, bool RightToLeft);
  bool PendingCheckOnButton(PLazyNode Node, bool LeftButton);
  void ButtonDownSelection(const THitInfo& HitInfo, plat::TShiftState Shift, bool AltPressed, bool AnyHit,
                           bool HitSelected, bool ClearNow, bool FullRowDrag, bool MultiSelect, bool NoModifier);
  bool ButtonDownFocus(const THitInfo& HitInfo, TColumnIndex NewColumn, bool ColumnChanged, bool NodeChanged,
                       plat::TShiftState Shift, bool DragAllowed);
  void ShowCursor(plat::TCursor Cursor);
  plat::TShiftState MessageShift(const plat::TMessage& M) const;
  TDragMode FDragMode = dmManual;
  TColumnIndex FCurrentHotColumn = NoColumn;
  bool FHotNodeButtonHit = false;
  PLazyNode FCheckNode = nullptr;
  TCheckState FPendingCheckState = csUncheckedNormal;
  // --- Rubber band and row-height tracking: the gestures own the band and the tracked row.
  class TGestureHostAdapter;
  std::unique_ptr<TGestureHostAdapter> FGestureHost;
  std::unique_ptr<TTreeGestures> FGestures;
  plat::TCursor FShownCursor = plat::crDefault;
  // Keyboard, focus, editing and hints.
  struct TNavigation;
  void NavigationKey(uint16_t Key, plat::TShiftState Shift);
  bool NavigateVertically(uint16_t Key, plat::TShiftState Shift, TNavigation& Nav);
  bool NavigateHorizontally(uint16_t Key, plat::TShiftState Shift, TNavigation& Nav);
  bool NavigatePages(uint16_t Key, plat::TShiftState Shift);
  bool NavigateHomeEnd(uint16_t Key, plat::TShiftState Shift);
  void NavigateTab(plat::TShiftState Shift);
  void FinishNavigation(plat::TShiftState Shift, TNavigation& Nav);
  void OtherKey(uint16_t Key, plat::TShiftState Shift);
  void SpaceKey();
  void HelpKey();
  void KeyUpChecks(uint16_t Key);
  void CancelKeyCheck();
  void AppsKey();
  void SearchKeystroke() { DoStateChange({tsIncrementalSearchPending}); }
  void FocusMessage(plat::TMessage& Message, bool Gained);
  void InstallHintFilter();
  bool HintEvent(plat::TPoint ClientPos, plat::TPoint GlobalPos);
  void HintNodeCase(TLTHintRequest& R, const THitInfo& Hit);
  QString ShortHint() const;
  TColumnIndex FEditColumn = NoColumn;
  std::shared_ptr<ILTEditLink> FEditLink;
  TLTHintData FHintData;
  plat::TRect FLastHintRect;
  std::shared_ptr<TLazyTreeHintWindow> FHintWindow;  // shared: the type is complete only in treehints.cpp
  std::shared_ptr<QObject> FHintEventFilter;
};

}  // namespace lazytree
