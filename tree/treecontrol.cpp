// The tree control's frame: construction with its defaults, destruction, the window's own messages,
// completion of loading, assignment, scaling, the properties and the option sets with their side effects.
#include "tree/treecontrol.h"
#include "tree/treegesturehost.h"
#include "tree/treeheaderhost.h"
#include "tree/treepanhost.h"
#include "tree/treescrollhost.h"
#include "tree/treesearchhost.h"

#include "tree/checkimages.h"

#include <QFontMetrics>
#include <QMetaObject>
#include <QWidget>

#include <algorithm>
#include <cmath>

#include "platform/graphics/canvas.h"
#include "platform/graphics/themes.h"
#include "tree/treeaccessibility.h"
#include "tree/treeutils.h"

namespace lazytree {

namespace {

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const int64_t p = static_cast<int64_t>(a) * b;
  const int64_t q = (std::abs(p) + std::abs(c) / 2) / std::abs(c);
  return static_cast<int>((p < 0) != (c < 0) ? -q : q);
}

// The worker's notice is posted to the control's widget: a call queued for a widget that is gone is dropped.
TPositionCacheClient::TPost PostTo(QObject* Context) {
  return [Context](std::function<void()> Call) {
    QMetaObject::invokeMethod(Context, std::move(Call), Qt::QueuedConnection);
  };
}

}  // namespace

// How the window answers its header and columns.
class TBaseLazyTreeControl::THeaderHostAdapter final : public TTreeHeaderHost {
 public:
  explicit THeaderHostAdapter(TBaseLazyTreeControl& Tree) : T(Tree) {}
  bool Loading() const override { return T.Loading(); }
  bool Destroying() const override { return T.IsDestroying(); }
  bool Updating() const override { return T.Updating(); }
  int RowsHeight() const override { return T.ClientH(); }
  void CancelHint() override { T.CancelHint(); }
  void StartTimer(int TimerId, uint32_t Milliseconds) override { T.StartTimer(TimerId, Milliseconds); }
  void StopTimer(int TimerId) override { T.StopTimer(TimerId); }
  plat::TPoint CursorClientPos() const override { return T.CursorClientPos(); }
  plat::TCustomImageList* HeaderImages() const override { return T.FHeaderImages.List; }
  void SetHeaderImages(plat::TCustomImageList* Value) override { T.SetImageList(T.FHeaderImages, Value); }
  void MainColumnChanged() override { T.NotifyEditCancelled(); }
  void SetFocusedColumnQuietly(TColumnIndex Column) override { T.FFocusedColumn = Column; }

 private:
  TBaseLazyTreeControl& T;
};

// ------------------------------------------------------------------------------------------------------------
// Life

TBaseLazyTreeControl::TBaseLazyTreeControl(plat::TComponent* AOwner)
    : plat::TCustomControl(AOwner),
      FPositionCache(*this, PostTo(Widget())),
      FAccessibility(std::make_unique<TTreeAccessibility>(*this)),
      FScrollHost(std::make_unique<TScrollHostAdapter>(*this)),
      FScroller(std::make_unique<TTreeScroller>(*FScrollHost)),
      FSearchHost(std::make_unique<TSearchHostAdapter>(*this)),
      FSearch(std::make_unique<TTreeSearch>(*FSearchHost)),
      FPanHost(std::make_unique<TPanHostAdapter>(*this)),
      FPanner(std::make_unique<TTreePanner>(*FPanHost)),
      FGestureHost(std::make_unique<TGestureHostAdapter>(*this)),
      FGestures(std::make_unique<TTreeGestures>(*FGestureHost)) {
  InitializeTreeUnit();  // the shared check image lists, made by the first tree
  FPositionCache.OnBuilt = [this] { UpdateEditBounds(); };
  FHeaderHost = std::make_unique<THeaderHostAdapter>(*this);
  FHeader = std::make_unique<TLTHeader>(this, *FHeaderHost);
  // Button images and the frame are drawn from these colours when painting: any change repaints.
  FColors = TLTColors(TLTColors::TOwner{
      [this](int Index) {
        if (Index < 0 ? Updating() : Loading()) return;
        if (Index == ciTreeLineColor || Index < 0) BuildButtonAndLineImages(true, false);
        Invalidate();
      },
      [this] { return Color(); }, [this] { return Font()->Color(); }, [this] { return Font()->Color(); }});
  FControlStyle.Exclude(plat::csSetCaption);
  FControlStyle.Include(plat::csCaptureMouse);
  FControlStyle.Include(plat::csOpaque);
  SetBounds(Left(), Top(), 200, 100);
  SetTabStop(true);
  SetColor(plat::clWindow);
  InstallHintFilter();
  CreateWnd();
  RegisterDropTarget();
}

TBaseLazyTreeControl::~TBaseLazyTreeControl() {
  Destroying();
  FDestroying = true;
  FAccessibility.reset();
  StopCacheValidation();
  TreeOptions().MiscOptions.Exclude(toReadOnly);  // so that the nodes can be deleted
  StopWheelPanning();
  try {
    Clear();
  } catch (...) {
    // A handler failing while the tree goes away cannot be reported to anyone.
  }
  FHeader.reset();
  SetImages(nullptr);
  SetStateImages(nullptr);
  SetCustomCheckImages(nullptr);
  SetImageList(FHeaderImages, nullptr);
}

void TBaseLazyTreeControl::SetImageList(TImageLink& Link, plat::TCustomImageList* Value) {
  if (Link.List == Value) return;
  if (Link.List) {
    Link.List->UnRegisterChanges(Link.Link);
    Link.List->RemoveFreeNotification(this);
  }
  Link.List = Value;
  Link.Link = 0;
  if (Value) {
    Link.Link = Value->RegisterChanges([this] { ImageListChanged(); });
    Value->FreeNotification(this);
  }
  if (!Loading() && !IsDestroying()) Invalidate();
}

// A list that goes away is forgotten before it is gone, so painting never reaches a freed list.
void TBaseLazyTreeControl::Notification(plat::TComponent* AComponent, plat::TOperation Operation) {
  if (Operation == plat::opRemove) {
    for (TImageLink* link : {&FImages, &FStateImages, &FCustomCheckImages, &FHeaderImages})
      if (link->List == AComponent) {
        link->List = nullptr;  // its change links go with it
        link->Link = 0;
        if (link == &FCustomCheckImages) FCheckImageKind = ckSystemDefault;
        if (!IsDestroying()) Invalidate();
      }
  }
  plat::TCustomControl::Notification(AComponent, Operation);
}

bool TBaseLazyTreeControl::IsDestroying() const {
  return FDestroying || ComponentState().Contains(plat::csDestroying);
}

void TBaseLazyTreeControl::CreateWnd() {
  DoStateChange({tsWindowCreating});
  ApplyThemeStates();
  DoStateChange({}, {tsWindowCreating});
  AutoScaleNodeHeight();
  BuildButtonAndLineImages(true, true);
  UpdateScrollBars(true);
  Invalidate();
}

// Themes follow the system's visual styles and toThemeAware; the explorer look comes on top of them.
void TBaseLazyTreeControl::ApplyThemeStates() {
  const TLTPaintOptions paint = TreeOptions().PaintOptions;
  if (!plat::ThemeServices().ThemesEnabled() || !paint.Has(toThemeAware)) {
    DoStateChange({}, {tsUseThemes, tsUseExplorerTheme});
    return;
  }
  DoStateChange({tsUseThemes});
  if (paint.Has(toUseExplorerTheme))
    DoStateChange({tsUseExplorerTheme});
  else
    DoStateChange({}, {tsUseExplorerTheme});
}

void TBaseLazyTreeControl::BuildButtonAndLineImages(bool NeedButtons, bool NeedLines) {
  if (NeedButtons) {
    TButtonLook look;
    look.Triangle = FButtonStyle == bsTriangle;
    look.FillMode = FButtonFillMode;
    look.Themed = TreeStates().Has(tsUseThemes);
    look.Background = FColors.BackGroundColor();
    look.TreeLine = FColors.TreeLineColor();
    look.NodeFont = FColors.NodeFontColor();
    std::function<void(TButtonImages&, int&)> prepare;
    if (OnPrepareButtonBitmaps) prepare = [this](TButtonImages& i, int& size) { OnPrepareButtonBitmaps(this, i, size); };
    BuildButtonImages(FButtonImages, look, prepare);
  }
  if (NeedLines) {
    FLinePattern = FLineStyle == lsSolid ? SolidLinePattern : DottedLinePattern;
    if (FLineStyle == lsCustomStyle && OnGetLineStyle) OnGetLineStyle(this, FLinePattern);
  }
}

void TBaseLazyTreeControl::FillDotted(plat::TCanvas* Canvas, const plat::TRect& R, plat::TColor Background) {
  // The pattern is built again only when its bits or colours change, not for every line.
  const TDottedBrushKey key{FLinePattern, Canvas->Font()->Color(), Background};
  if (!FDottedBrushKey || *FDottedBrushKey != key) {
    FDottedBrush.SetImage(PatternImage(key.Pattern, key.Line, key.Background));
    FDottedBrushKey = key;
  }
  plat::TBrush saved;
  saved.Assign(*Canvas->Brush());
  Canvas->Brush()->SetColor(Background);
  Canvas->Brush()->SetBitmap(&FDottedBrush);
  Canvas->FillRect(R);
  Canvas->Brush()->SetBitmap(nullptr);
  Canvas->Brush()->Assign(saved);
}

void TBaseLazyTreeControl::DrawLineImage(plat::TCanvas* Canvas, TLTLineType Type, int X, int Top, int LineHeight,
                                         int VA, bool RightToLeft) {
  const int half = static_cast<int>(std::nearbyint(FIndent / 2.0));
  const int bottom = Top + LineHeight;
  const int indent = static_cast<int>(FIndent);
  // Right to left the level is mirrored: a pixel column p of the level becomes X + Indent - 1 - (p - X).
  const auto at = [&](int p) { return RightToLeft ? 2 * X + indent - 1 - p : p; };
  const int mid = at(X + half), outward = at(X + indent);
  X = at(X);
  switch (Type) {
    case ltBottomRight:
      DrawVertDottedLine(Canvas, VA, bottom, mid, false);
      DrawHorzDottedLine(Canvas, mid, outward, VA);
      break;
    case ltTopDown: DrawVertDottedLine(Canvas, Top, bottom, mid, false); break;
    case ltTopDownRight:
      DrawVertDottedLine(Canvas, Top, bottom, mid, false);
      DrawHorzDottedLine(Canvas, mid, outward, VA);
      break;
    case ltRight: DrawHorzDottedLine(Canvas, mid, outward, VA); break;
    case ltTopRight:
      DrawVertDottedLine(Canvas, Top, VA, mid, false);
      DrawHorzDottedLine(Canvas, mid, outward, VA);
      break;
    case ltLeft: DrawVertDottedLine(Canvas, Top, bottom, X, false); break;
    case ltLeftBottom:
      DrawVertDottedLine(Canvas, Top, bottom, X, false);
      DrawHorzDottedLine(Canvas, X, outward, bottom);
      break;
    default: break;
  }
}

namespace {
// Bands: the rows of an expanded subtree are framed on the left, the last row of a level closes its band.
std::vector<TLTLineType> BandImage(const std::vector<TLTLineType>& lines, bool expandedWithChildren) {
  std::vector<TLTLineType> band(lines.size(), ltNone);
  for (std::size_t i = lines.size(); i-- > 0;) {
    if (expandedWithChildren) {
      band[i] = ltLeft;
      continue;
    }
    switch (lines[i]) {
      case ltBottomRight:
      case ltTopDownRight:
      case ltRight:
      case ltTopRight: band[i] = ltLeftBottom; break;
      case ltNone:
      case ltTopDown: {
        const bool nextOpen = i + 1 < lines.size() && lines[i + 1] != ltNone && lines[i + 1] != ltTopRight;
        band[i] = i + 1 < lines.size() && !nextOpen ? band[i + 1] : ltLeft;
        break;
      }
      default: band[i] = ltNone; break;
    }
  }
  return band;
}
}  // namespace

void TBaseLazyTreeControl::DrawTreeLines(plat::TCanvas* Canvas, PLazyNode Node, const plat::TRect& CellRect,
                                         int VAlignment, const std::vector<TLTLineType>& LineImage, bool GridLines,
                                         bool RightToLeft) {
  const bool bands = FLineMode == lmBands;
  if (bands && !GridLines) return;
  const std::vector<TLTLineType> image =
      bands ? BandImage(LineImage, Node->Has(vsExpanded) && !Node->Has(vsAllChildrenHidden)) : LineImage;
  const plat::TColor saved = Canvas->Font()->Color();
  Canvas->Font()->SetColor(bands ? FColors.GridLineColor() : FColors.TreeLineColor());
  const int height = static_cast<int>(Node->NodeHeight) - (bands ? 1 : 0);
  const int va = CellRect.Top + VAlignment - 1;
  const int levelShift = TreeOptions().PaintOptions.Has(toShowRoot) ? 0 : 1;
  const int step = RightToLeft ? -static_cast<int>(FIndent) : static_cast<int>(FIndent);
  int x = RightToLeft ? CellRect.Right - static_cast<int>(FIndent) : CellRect.Left;
  for (std::size_t i = 0; i < image.size(); ++i) {
    if (!bands && OnBeforeDrawTreeLine) OnBeforeDrawTreeLine(this, Node, static_cast<int>(i) + levelShift, x);
    DrawLineImage(Canvas, image[i], x, CellRect.Top, height, va, RightToLeft);
    x += step;
  }
  Canvas->Font()->SetColor(saved);
}

void TBaseLazyTreeControl::DrawExpandButton(plat::TCanvas* Canvas, PLazyNode Node, const plat::TRect& R,
                                            int ButtonX, int ButtonY, bool Hot, bool RightToLeft) {
  const TButtonImages& b = FButtonImages;
  const bool expanded = Node->Has(vsExpanded), selected = Node->Has(vsSelected);
  const plat::TBitmap* image = expanded ? (Hot ? (selected ? b.MinusSelectedHot : b.MinusHot) : b.Minus).get()
                                        : (Hot ? (selected ? b.PlusSelectedHot : b.PlusHot) : b.Plus).get();
  if (!image) return;
  const int x = RightToLeft ? R.Right - ButtonX - image->Width() : R.Left + ButtonX, y = R.Top + ButtonY;
  // The explorer look draws the theme's glyph at paint time, hot while the mouse is over the button.
  if (TreeStates().Has(tsUseExplorerTheme))
    if (const plat::HTHEME theme = plat::OpenThemeData(Widget(), QStringLiteral("TREEVIEW"))) {
      const plat::TRect r(x, y, x + image->Width(), y + image->Height());
      const int drawn = plat::DrawThemeBackground(theme, Canvas, Hot ? plat::TVP_HOTGLYPH : plat::TVP_GLYPH,
                                                  expanded ? plat::GLPS_OPENED : plat::GLPS_CLOSED, r, nullptr);
      plat::CloseThemeData(theme);
      if (drawn == plat::S_OK) return;
    }
  // A transparent bitmap is drawn without its keyed colour, so that what lies below shows.
  Canvas->Draw(x, y, const_cast<plat::TBitmap*>(image));
}

plat::TCustomImageList* TBaseLazyTreeControl::QueryImageIndex(PLazyNode Node, TLTImageKind Kind, TColumnIndex Column,
                                                              bool& Ghosted, int& Index) {
  if (OnGetImageIndexEx) {
    plat::TCustomImageList* list = Kind == ikState ? FStateImages.List : FImages.List;
    OnGetImageIndexEx(this, Node, Kind, Column, Ghosted, Index, list);
    return list;
  }
  if (OnGetImageIndex) OnGetImageIndex(this, Node, Kind, Column, Ghosted, Index);
  return nullptr;
}

void TBaseLazyTreeControl::FetchImageInfo(PLazyNode Node, TColumnIndex Column, TLTImageKind Kind, TLTImageInfo& Info,
                                          plat::TCustomImageList* DefaultImages) {
  Info.Index = -1;
  Info.Ghosted = false;
  plat::TCustomImageList* list = QueryImageIndex(Node, Kind, Column, Info.Ghosted, Info.Index);
  Info.Images = list ? list : DefaultImages;
}

void TBaseLazyTreeControl::DrawNodeImage(plat::TCanvas* Canvas, PLazyNode Node, TColumnIndex Column,
                                         const TLTImageInfo& Info, bool DoOverlay) {
  if (!Info.Images || Info.Index < 0) return;
  const bool cutNode = Node->Has(vsCutOrCopy) && TreeStates().Has(tsCutPending);
  const bool paintFocused = Focused() || TreeOptions().PaintOptions.Has(toGhostedIfUnfocused);
  TLTImageInfo overlay;
  if (DoOverlay) {
    FetchImageInfo(Node, Column, ikOverlay, overlay, FImages.List);
    if (overlay.Index == Info.Index && overlay.Images == Info.Images) overlay.Index = -1;
  }
  const bool enabled = !Node->Has(vsDisabled) && Enabled();
  const bool selectedLook = Node->Has(vsSelected) && !Info.Ghosted && !cutNode;
  const plat::TColor oldBlend = Info.Images->BlendColor();
  Info.Images->SetBlendColor(!selectedLook ? Color()
                             : paintFocused || TreeOptions().PaintOptions.Has(toPopupMode)
                                 ? FColors.FocusedSelectionColor()
                                 : FColors.UnfocusedSelectionColor());
  bool blend = false;
  if (TreeOptions().PaintOptions.Has(toUseBlendedImages) && paintFocused) {
    const bool fullRow = TreeOptions().SelectionOptions.Has(toFullRowSelect) ||
                         TreeOptions().MiscOptions.Has(toGridExtensions);
    blend = Info.Ghosted || (Node->Has(vsSelected) && !fullRow) || cutNode;
  }
  const plat::TDrawingStyle style = blend ? plat::dsSelected : plat::dsNormal;
  if (enabled)
    Info.Images->Draw(Canvas, Info.XPos, Info.YPos, Info.Index, style, Info.Images->ImageType(), true);
  else
    DrawImageSaturated(Info.Images, Canvas, Info.XPos, Info.YPos, Info.Index);
  if (overlay.Index >= 0 && overlay.Images)
    overlay.Images->Draw(Canvas, Info.XPos, Info.YPos, overlay.Index, plat::dsNormal, plat::itImage, enabled);
  Info.Images->SetBlendColor(oldBlend);
}

void TBaseLazyTreeControl::DrawDropMark(plat::TCanvas* Canvas, PLazyNode, const plat::TRect& R) {
  if (FLastDropMode != dmAbove && FLastDropMode != dmBelow) return;
  const plat::TPenStyle pen = Canvas->Pen()->Style();
  const plat::TColor brush = Canvas->Brush()->Color();
  Canvas->Pen()->SetStyle(plat::psClear);
  Canvas->Brush()->SetColor(FColors.DropMarkColor());
  const int l = R.Left, t = R.Top, r = R.Right, b = R.Bottom;
  if (FLastDropMode == dmAbove) {
    const plat::TPoint shape[] = {{l + 2, t}, {r - 2, t}, {r - 2, t + 6}, {r - 6, t + 2}, {l + 6, t + 2}, {l + 2, t + 6}};
    Canvas->Polygon(shape);
  } else {
    const plat::TPoint shape[] = {{l + 2, b - 1}, {r - 2, b - 1}, {r - 2, b - 8},
                                  {r - 7, b - 3}, {l + 7, b - 3}, {l + 2, b - 8}};
    Canvas->Polygon(shape);
  }
  Canvas->Pen()->SetStyle(pen);
  Canvas->Brush()->SetColor(brush);
}

void TBaseLazyTreeControl::DrawSelectionFrame(plat::TCanvas* Canvas, int WindowOrgX, const plat::TRect& TargetRect,
                                              const plat::TRect& SelectionRect) {
  const plat::TRect sel = NormalizedRect(SelectionRect);
  if (FDrawSelectionMode == smBlendedRectangle || TreeStates().Has(tsUseThemes)) {
    plat::TRect target = TargetRect;
    target.Left += WindowOrgX;
    target.Right += WindowOrgX;
    plat::TRect r(std::max(target.Left, sel.Left), std::max(target.Top, sel.Top), std::min(target.Right, sel.Right),
                  std::min(target.Bottom, sel.Bottom));
    if (!r.IsEmpty()) {
      r.Left -= WindowOrgX;
      r.Right -= WindowOrgX;
      AlphaBlendRect(nullptr, Canvas, r, {}, abConstantWithColor, FSelectionBlendFactor,
                     static_cast<int>(FColors.SelectionRectangleBlendColor()));
    }
    Canvas->Brush()->SetColor(FColors.SelectionRectangleBorderColor());
    Canvas->FrameRect(sel);
  } else {
    Canvas->DrawFocusRect(sel);
  }
}

void TBaseLazyTreeControl::DrawHorzDottedLine(plat::TCanvas* Canvas, int Left, int Right, int Top) {
  FillDotted(Canvas, plat::Rect(std::min(Left, Right), Top, std::max(Left, Right) + 1, Top + 1),
             FColors.BackGroundColor());
}

void TBaseLazyTreeControl::DrawVertDottedLine(plat::TCanvas* Canvas, int Top, int Bottom, int Left,
                                              bool UseSelectedBkColor) {
  plat::TColor back = FColors.BackGroundColor();
  if (UseSelectedBkColor)
    back = Focused() || TreeOptions().PaintOptions.Has(toPopupMode) ? FColors.FocusedSelectionColor()
                                                                     : FColors.UnfocusedSelectionColor();
  FillDotted(Canvas, plat::Rect(Left, std::min(Top, Bottom), Left + 1, std::max(Top, Bottom) + 1), back);
}

void TBaseLazyTreeControl::Invalidate() {
  if (!FRedrawSuspended && !IsDestroying()) plat::TCustomControl::Invalidate();
}

void TBaseLazyTreeControl::Paint() {
  plat::TCanvas* canvas = Canvas();
  // The part outside the client area (the scroll-bar corner) keeps the window colour.
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(plat::Rect(0, 0, Width(), Height()));
  const int band = HeaderBand();
  const plat::TRect window(EffectiveOffsetX(), -OffsetY(), EffectiveOffsetX() + ClientW(), -OffsetY() + ClientH());
  PaintTree(canvas, window, {0, band}, WindowPaintOptions);
  // The band spans the whole window, over the vertical bar too, which starts below it.
  if (band > 0) FHeader->PaintHeader(canvas, plat::TRect(0, 0, Width(), band), EffectiveOffsetX());
  // The window has no area outside its client rectangle here, so the ring lies over the client's edge.
  DrawBorderAndBevel(canvas);
}

plat::TSize TBaseLazyTreeControl::GetBorderDimensions() const {
  if (FBorderStyle != plat::bsSingle) return {0, 0};
  return FCtl3D ? plat::TSize{-2, -2} : plat::TSize{-1, -1};
}

void TBaseLazyTreeControl::AutoScaleNodeHeight() {
  if (!TreeOptions().AutoOptions.Has(toAutoChangeScale)) return;
  const int h = QFontMetrics(Font()->QtFont()).boundingRect(QStringLiteral("Tg")).height();
  if (h > 0 && DefaultNodeHeight() < static_cast<uint32_t>(h)) SetDefaultNodeHeight(static_cast<uint32_t>(h));
}

int TBaseLazyTreeControl::HeaderBand() const {
  return FHeader->Options().Has(hoVisible) ? std::clamp(FHeader->Height(), 0, ClientHeight()) : 0;
}

plat::TPoint TBaseLazyTreeControl::ClientToScreen(const plat::TPoint& P) const {
  return plat::TCustomControl::ClientToScreen(plat::TPoint(P.X, P.Y + HeaderBand()));
}

plat::TPoint TBaseLazyTreeControl::ScreenToClient(const plat::TPoint& P) const {
  const plat::TPoint p = plat::TCustomControl::ScreenToClient(P);
  return {p.X, p.Y - HeaderBand()};
}

void TBaseLazyTreeControl::Dispatch(plat::TMessage& M) {
  // Mouse positions arrive in window coordinates; the rows' client area starts below the header band.
  if (M.Msg >= plat::WM_MOUSEFIRST && M.Msg <= plat::WM_MBUTTONDBLCLK && HeaderBand() > 0) {
    const plat::TWMMouse mouse(M);
    M.LParam = plat::MakeLParam(mouse.XPos(), mouse.YPos() - HeaderBand());
  }
  if (FHeader->HeaderMessage(M)) return;  // the header sees every message first
  if (HandleMouseMessage(M)) return;
  if (DispatchKeysFocusAndHints(M)) return;
  switch (M.Msg) {
    case plat::WM_SIZE:
      plat::TCustomControl::Dispatch(M);
      HandleResize();
      FHeader->TreeResized();
      return;
    case plat::WM_VSCROLL: HandleScrollMessage(M, true); return;
    case plat::WM_COPY: CopyToClipboard(); return;
    case plat::WM_CUT: CutToClipboard(); return;
    case plat::WM_PASTE: PasteFromClipboard(); return;
    case plat::WM_HSCROLL: HandleScrollMessage(M, false); return;
    case plat::CM_COLORCHANGED:
      plat::TCustomControl::Dispatch(M);
      if (!Loading()) {
        BuildButtonAndLineImages(true, false);
        Invalidate();
      }
      return;
    case plat::CM_SYSCOLORCHANGE:
      plat::TCustomControl::Dispatch(M);
      ReloadCheckImageStrips();
      if (!Loading()) {
        BuildButtonAndLineImages(true, false);
        Invalidate();
      }
      return;
    case plat::CM_FONTCHANGED:
      plat::TCustomControl::Dispatch(M);
      FHeader->ParentFontChanged();
      if (!Loading()) {
        AutoScaleNodeHeight();
        BuildButtonAndLineImages(true, false);
        Invalidate();
      }
      return;
    default: break;
  }
  plat::TCustomControl::Dispatch(M);
}

// Root children read from stored data are made once loading is complete, with the read-only option lifted.
void TBaseLazyTreeControl::Loaded() {
  plat::TCustomControl::Loaded();
  if (TreeStates().Has(tsNeedRootCountUpdate)) {
    DoStateChange({}, {tsNeedRootCountUpdate});
    const bool readOnly = TreeOptions().MiscOptions.Has(toReadOnly);
    TreeOptions().MiscOptions.Exclude(toReadOnly);
    try {
      SetRootNodeCount(FPendingRootCount);
    } catch (...) {
      if (readOnly) TreeOptions().MiscOptions.Include(toReadOnly);
      throw;
    }
    if (readOnly) TreeOptions().MiscOptions.Include(toReadOnly);
  }
  // Column positions were stored as read; now they become the position map.
  FHeader->SetMainColumn(FHeader->MainColumn());
  FHeader->Columns().RebuildPositionMap();
  if (TreeOptions().AutoOptions.Has(toAutoBidiColumnOrdering)) FHeader->Columns().ResetPositionMap(false);
  if (FHeader->Options().Has(hoAutoResize)) FHeader->FitAutoSizeColumn(true);
  UpdateScrollBars(true);
}

void TBaseLazyTreeControl::SetRootNodeCount(uint32_t Value) {
  if (Loading()) {
    FPendingRootCount = Value;
    DoStateChange({tsNeedRootCountUpdate});
    return;
  }
  TBaseLazyTree::SetRootNodeCount(Value);
}

void TBaseLazyTreeControl::Assign(const TBaseLazyTreeControl& Source) {
  if (TreeOptions().MiscOptions.Has(toReadOnly))
    throw plat::EConvertError(QStringLiteral("Cannot assign a %1 to a read-only tree.").arg(QString(Source.TBaseLazyTree::ClassName())));
  SetAutoScrollDelay(Source.FAutoScrollDelay);
  SetAutoScrollInterval(Source.FAutoScrollInterval);
  SetBorderStyle(Source.FBorderStyle);
  SetChangeDelay(Source.ChangeDelay());
  SetCheckImageKind(Source.FCheckImageKind);
  SetColor(Source.Color());
  FColors.Assign(Source.FColors);
  SetCtl3D(Source.FCtl3D);
  SetDefaultNodeHeight(Source.DefaultNodeHeight());
  SetDefaultPasteMode(Source.FDefaultPasteMode);
  SetDragImageKind(Source.FDragImageKind);
  SetEnabled(Source.Enabled());
  SetFont(*Source.Font());
  SetHintAnimation(Source.FHintAnimation);
  SetHintMode(Source.FHintMode);
  SetHotCursor(Source.FHotCursor);
  SetImages(Source.FImages.List);
  SetIndent(Source.FIndent);
  SetMargin(Source.FMargin);
  SetNodeAlignment(Source.FNodeAlignment);
  if (Source.NodeDataSize() != NodeDataSize() && IsEmpty()) SetNodeDataSize(Source.NodeDataSize());
  AssignTreeOptions(Source.TreeOptions());
  SetRootNodeCount(Source.RootNodeCount());
  FScrollBarOptions.Assign(Source.FScrollBarOptions);
  SetStateImages(Source.FStateImages.List);
  SetSelectionCurveRadius(Source.FSelectionCurveRadius);
  SetSelectionBlendFactor(Source.FSelectionBlendFactor);
  SetEmptyListMessage(Source.FEmptyListMessage);
}

void TBaseLazyTreeControl::ChangeScale(int M, int D) {
  if (M == D || !TreeOptions().AutoOptions.Has(toAutoChangeScale)) return;
  SetDefaultNodeHeight(static_cast<uint32_t>(MulDiv(static_cast<int>(DefaultNodeHeight()), M, D)));
  SetIndent(static_cast<uint32_t>(MulDiv(static_cast<int>(FIndent), M, D)));
}

// ------------------------------------------------------------------------------------------------------------
// Properties

void TBaseLazyTreeControl::SetAlignment(plat::TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TBaseLazyTreeControl::SetAnimationDuration(uint32_t Value) {
  FAnimationDuration = Value;
  uint8_t& o = TreeOptions().AnimationOptions;
  o = Value == 0 ? static_cast<uint8_t>(o & ~(1u << toAnimatedToggle)) : static_cast<uint8_t>(o | (1u << toAnimatedToggle));
}

void TBaseLazyTreeControl::SetBorderStyle(plat::TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  if (!Loading()) CreateWnd();
}

void TBaseLazyTreeControl::SetCtl3D(bool Value) {
  if (FCtl3D == Value) return;
  FCtl3D = Value;
  if (FBorderStyle == plat::bsSingle && !Loading()) CreateWnd();
}

void TBaseLazyTreeControl::SetBottomSpace(uint32_t Value) {
  if (FBottomSpace == Value) return;
  FBottomSpace = Value;
  UpdateVerticalScrollBar(true);
}

void TBaseLazyTreeControl::SetCheckImageKind(TCheckImageKind Value) {
  if (FCheckImageKind == Value) return;
  FCheckImageKind = Value;
  if (!Updating() && !Loading()) Invalidate();
}

void TBaseLazyTreeControl::SetIncrementalSearch(TLTIncrementalSearch Value) {
  if (FSearch->Mode() == Value) return;
  FSearch->SetMode(Value);
  if (Value == isNone) EndIncrementalSearch();
}

void TBaseLazyTreeControl::SetIndent(uint32_t Value) {
  if (FIndent == Value) return;
  FIndent = Value;
  if (!Updating() && !Loading()) {
    UpdateScrollBars(true);
    Invalidate();
  }
}

// ------------------------------------------------------------------------------------------------------------
// Option sets

void TBaseLazyTreeControl::AssignTreeOptions(const TCustomLazyTreeOptions& Source) {
  SetPaintOptions(Source.PaintOptions);
  SetAnimationOptions(Source.AnimationOptions);
  SetAutoOptions(Source.AutoOptions);
  SetSelectionOptions(Source.SelectionOptions);
  SetMiscOptions(Source.MiscOptions);
}

void TBaseLazyTreeControl::SetPaintOptions(TLTPaintOptions Value) {
  const TLTPaintOptions old = TreeOptions().PaintOptions;
  if (Value.Has(toFixedIndent) && !old.Has(toFixedIndent)) Value.Include(toShowRoot);
  if (Value == old) return;
  // The cache worker walks by these options: no build may run while they change.
  StopCacheValidation();
  TreeOptions().PaintOptions = Value;
  if (Value.Has(toShowFilteredNodes) != old.Has(toShowFilteredNodes) && !Loading()) {
    BeginUpdate();
    try {
      ApplyShowFilteredNodes(Value.Has(toShowFilteredNodes));
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
  }
  if ((Value.Has(toThemeAware) != old.Has(toThemeAware) ||
       Value.Has(toUseExplorerTheme) != old.Has(toUseExplorerTheme)) && !Loading()) {
    ApplyThemeStates();
    BuildButtonAndLineImages(true, false);
  }
  if (Value.Has(toChildrenAbove) != old.Has(toChildrenAbove)) {
    InvalidatePositionCache();
    if (!Updating()) RequestCacheValidation();
  }
  Invalidate();
}

void TBaseLazyTreeControl::SetAutoOptions(TLTAutoOptions Value) {
  const TLTAutoOptions old = TreeOptions().AutoOptions;
  if (Value == old) return;
  TreeOptions().AutoOptions = Value;
  if (Value.Has(toAutoSpanColumns) != old.Has(toAutoSpanColumns) && !Loading()) Invalidate();
}

void TBaseLazyTreeControl::SetSelectionOptions(TLTSelectionOptions Value) {
  const TLTSelectionOptions old = TreeOptions().SelectionOptions;
  if (Value == old) return;
  TreeOptions().SelectionOptions = Value;
  if (Value.Has(toMultiSelect) != old.Has(toMultiSelect) ||
      (Value.Has(toLevelSelectConstraint) && !old.Has(toLevelSelectConstraint)) ||
      (Value.Has(toSiblingSelectConstraint) && !old.Has(toSiblingSelectConstraint)))
    ClearSelection();
}

void TBaseLazyTreeControl::SetMiscOptions(TLTMiscOptions Value) {
  const TLTMiscOptions old = TreeOptions().MiscOptions;
  if (Value == old) return;
  TreeOptions().MiscOptions = Value;
  if (Loading()) return;
  if (Value.Has(toCheckSupport) != old.Has(toCheckSupport)) Invalidate();
  if (Value.Has(toFullRepaintOnResize) != old.Has(toFullRepaintOnResize)) CreateWnd();
  if (Value.Has(toVariableNodeHeight) && !old.Has(toVariableNodeHeight)) {
    BeginUpdate();
    try {
      ReinitNode(nullptr, true);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
  }
}

// ------------------------------------------------------------------------------------------------------------
// Columns

void TBaseLazyTreeControl::InvalidateColumn(TColumnIndex Column) {
  if (Updating() || !FHeader->Columns().IsValidColumn(Column)) return;
  Invalidate();  // the window is painted whole; the column's strip is part of it
}

void TBaseLazyTreeControl::ToggleColumnCheckState(TColumnIndex Column) {
  TLazyTreeColumns& columns = FHeader->Columns();
  if (!columns.IsValidColumn(Column)) return;
  TLazyTreeColumn* c = columns.Items(Column);
  c->SetCheckState(NextCheckState(c->CheckType(), c->CheckState()));
}

void TBaseLazyTreeControl::ColumnResized(TColumnIndex Column) {
  if (Loading() || IsDestroying()) return;
  for (PLazyNode n = GetFirstInitialized(); n; n = GetNextInitialized(n))
    if (n->Has(vsMultiline)) n->Exclude(vsHeightMeasured);
  UpdateHorizontalScrollBar(true);
  if (Column >= 0) {
    Invalidate();
    FHeader->Invalidate(Column, true);
  }
  if (!FHeader->States().Has(hsResizing) && FHeader->OnColumnResize) FHeader->OnColumnResize(FHeader.get(), Column);
  UpdateEditBounds();
}

// ------------------------------------------------------------------------------------------------------------
// Heights and expansion events

void TBaseLazyTreeControl::MeasureItemHeight(PLazyNode Node) {
  if (Node->Has(vsHeightMeasured)) return;
  TBaseLazyTree::MeasureItemHeight(Node);
  if (!TreeOptions().MiscOptions.Has(toVariableNodeHeight)) return;
  uint32_t h = Node->NodeHeight;
  if (OnMeasureItem) OnMeasureItem(this, Node, h);
  SetNodeHeight(Node, h);
}

void TBaseLazyTreeControl::DoExpanded(PLazyNode Node) {
  TBaseLazyTree::DoExpanded(Node);
  FAccessibility->NotifyStateChange(Node);
}

void TBaseLazyTreeControl::DoCollapsed(PLazyNode Node) {
  TBaseLazyTree::DoCollapsed(Node);
  FAccessibility->NotifyStateChange(Node);
}

}  // namespace lazytree
