// The drag image, and drag and drop of nodes: the tree as drag source (a drag of its selected nodes) and as
// drop target (the window's drag events, or direct calls, end in DragEnter, DragOver, DragLeave and Drop).
#include <QAbstractScrollArea>
#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "platform/graphics/canvas.h"
#include "platform/forms/forms.h"
#include "platform/graphics/color.h"
#include "tree/treecontrol.h"
#include "tree/treedrag.h"
#include "tree/treetransfer.h"

namespace lazytree {

namespace {

int Clamp255(int v) { return std::clamp(v, 0, 255); }

// A frameless, click-through window showing the composed picture (the self-drawn drag image).
class TDragImageWindow : public QWidget {
 public:
  explicit TDragImageWindow(const QImage& Picture)
      : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput), FPicture(Picture) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    resize(Picture.size());
  }
  void SetPicture(const QImage& Picture) {
    FPicture = Picture;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, FPicture);
  }

 private:
  QImage FPicture;
};

Qt::DropActions ActionsOf(uint32_t Effect) {
  Qt::DropActions a;
  if (Effect & DROPEFFECT_COPY) a |= Qt::CopyAction;
  if (Effect & DROPEFFECT_MOVE) a |= Qt::MoveAction;
  if (Effect & DROPEFFECT_LINK) a |= Qt::LinkAction;
  return a;
}

uint32_t EffectOf(Qt::DropActions Actions) {
  uint32_t e = 0;
  if (Actions & Qt::CopyAction) e |= DROPEFFECT_COPY;
  if (Actions & Qt::MoveAction) e |= DROPEFFECT_MOVE;
  if (Actions & Qt::LinkAction) e |= DROPEFFECT_LINK;
  return e;
}

Qt::DropAction ActionOf(uint32_t Effect) {
  if (Effect & DROPEFFECT_MOVE) return Qt::MoveAction;
  if (Effect & DROPEFFECT_COPY) return Qt::CopyAction;
  if (Effect & DROPEFFECT_LINK) return Qt::LinkAction;
  return Qt::IgnoreAction;
}

}  // namespace

// ------------------------------------------------------------------------------------------------------------
// The drag image

TLTDragImage::TLTDragImage(TBaseLazyTreeControl* AOwner) : FOwner(AOwner) {}

TLTDragImage::~TLTDragImage() { EndDrag(); }

bool TLTDragImage::Visible() const {
  const TLTDragImageStates all{disHidden, disInDrag, disPrepared, disSystemSupport};
  return FStates * all == TLTDragImageStates{disInDrag, disPrepared};
}

uint8_t TLTDragImage::FadeAlpha(int X, int Y, int W, int H) {
  const double d = std::max(W, H);
  const double dx = (X - W / 2) / d;
  const double dy = (Y - H / 2) / d;
  return static_cast<uint8_t>(std::nearbyint(255.0 * std::exp(-8.0 * std::sqrt(dx * dx + dy * dy))));
}

void TLTDragImage::PrepareDrag(const QImage& DragImage, QPoint ImagePosition, QPoint HotSpot,
                               const QMimeData* DataObject) {
  EndDrag();
  FDragImage = DragImage.convertToFormat(QImage::Format_ARGB32);
  const int w = FDragImage.width();
  const int h = FDragImage.height();
  const bool keyed = FColorKey != plat::clNone;
  const plat::TColor key = keyed ? plat::ColorToRGB(FColorKey) : 0;
  const QRgb keyRgb = qRgb(key & 0xFF, (key >> 8) & 0xFF, (key >> 16) & 0xFF);
  for (int y = 0; y < h; ++y) {
    auto* line = reinterpret_cast<QRgb*>(FDragImage.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const QRgb c = line[x];
      const int a = keyed && (c & 0xFFFFFF) == (keyRgb & 0xFFFFFF) ? 0 : FadeAlpha(x, y, w, h);
      line[x] = qRgba(Clamp255(qRed(c) + FPreBlendBias), Clamp255(qGreen(c) + FPreBlendBias),
                      Clamp255(qBlue(c) + FPreBlendBias), a);
    }
  }
  FImagePosition = ImagePosition;
  FLastPosition = HotSpot;
  Compose();
  // With a drag object the drag shows the picture; otherwise it is prepared here and shown on request.
  FStates = DataObject ? TLTDragImageStates{disSystemSupport} : TLTDragImageStates{disHidden, disInDrag, disPrepared};
}

// The shown picture: the per-pixel alpha (only with fade or a colour key) times the constant transparency.
void TLTDragImage::Compose() {
  const bool perPixel = FFade || FColorKey != plat::clNone;
  FAlphaImage = QImage(FDragImage.size(), QImage::Format_ARGB32);
  for (int y = 0; y < FDragImage.height(); ++y) {
    const auto* src = reinterpret_cast<const QRgb*>(FDragImage.constScanLine(y));
    auto* dst = reinterpret_cast<QRgb*>(FAlphaImage.scanLine(y));
    for (int x = 0; x < FDragImage.width(); ++x) {
      const QRgb c = src[x];
      const int a = perPixel ? qAlpha(c) * FTransparency / 255 : FTransparency;
      dst[x] = qRgba(Clamp255(qRed(c) + FPostBlendBias), Clamp255(qGreen(c) + FPostBlendBias),
                     Clamp255(qBlue(c) + FPostBlendBias), a);
    }
  }
  FAlphaImage = FAlphaImage.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void TLTDragImage::ShowWindow() {
  if (!FWindow) FWindow = std::make_unique<TDragImageWindow>(FAlphaImage);
  FWindow->move(FImagePosition);
  FWindow->show();
}

void TLTDragImage::ShowDragImage() {
  const TLTDragImageStates all{disHidden, disInDrag, disPrepared, disSystemSupport};
  if (FStates * all != TLTDragImageStates{disHidden, disInDrag, disPrepared}) return;
  FStates.Exclude(disHidden);
  ShowWindow();
}

void TLTDragImage::HideDragImage() {
  if (!Visible()) return;
  FStates.Include(disHidden);
  if (FWindow) FWindow->hide();
}

void TLTDragImage::EndDrag() {
  HideDragImage();
  FStates.Exclude(disInDrag);
  FStates.Exclude(disPrepared);
  FStates.Exclude(disSystemSupport);
  FWindow.reset();
  FDragImage = QImage();
}

bool TLTDragImage::WillMove(QPoint P) const {
  if (!Visible()) return false;
  if (FRestriction == dmrHorizontalOnly) return P.x() != FLastPosition.x();
  if (FRestriction == dmrVerticalOnly) return P.y() != FLastPosition.y();
  return P != FLastPosition;
}

bool TLTDragImage::DragTo(QPoint P, bool ForceRepaint) {
  int dx = FLastPosition.x() - P.x();
  int dy = FLastPosition.y() - P.y();
  if (FRestriction == dmrHorizontalOnly) dy = 0;
  if (FRestriction == dmrVerticalOnly) dx = 0;
  const bool result = dx != 0 || dy != 0 || ForceRepaint;
  if (!result) return false;
  if (Visible()) {
    FImagePosition -= QPoint(dx, dy);
    ShowWindow();
    if (ForceRepaint) FWindow->update();
  }
  FLastPosition = P;
  return true;
}

void TLTDragImage::RecaptureBackground(bool ReshowDragImage) {
  // The window is blended by the platform over whatever lies below, so there is nothing to capture; it is only
  // painted again.
  if (Visible() && ReshowDragImage && FWindow) FWindow->update();
}

QRect TLTDragImage::GetDragImageRect() const {
  return Visible() ? QRect(FImagePosition, FAlphaImage.size()) : QRect();
}

// ------------------------------------------------------------------------------------------------------------
// The tree as drag source

TLTDragImage& TBaseLazyTreeControl::DragImage() { return Transfer().DragImage; }

uint32_t TBaseLazyTreeControl::LastDragEffect() const { return FTransfer ? FTransfer->LastDragEffect : 0; }

bool TBaseLazyTreeControl::Dragging() const {
  return TreeStates().Has(tsOLEDragPending) || TreeStates().Has(tsOLEDragging);
}

void TBaseLazyTreeControl::PrepareDragImage(plat::TPoint HotSpot, const QMimeData* DataObject) {
  if (!CanShowDragImage()) return;
  const plat::TPoint p(HotSpot.X + EffectiveOffsetX(), HotSpot.Y - OffsetY());
  plat::TRect r(p.X - FDragWidth / 2, p.Y - FDragHeight / 2, p.X + FDragWidth / 2, p.Y + FDragHeight / 2);
  const plat::TRect window(std::max(r.Left, 0), std::max(r.Top, 0), r.Right, r.Bottom);
  const plat::TPoint target(r.Left < 0 ? -r.Left : 0, r.Top < 0 ? -r.Top : 0);
  plat::TBitmap picture(r.Right - r.Left, r.Bottom - r.Top, plat::pf32bit);
  plat::TCanvas* canvas = picture.Canvas();
  canvas->Brush()->SetColor(FColors.BackGroundColor());
  canvas->FillRect(plat::TRect(0, 0, picture.Width(), picture.Height()));
  TLTInternalPaintOptions options{poDrawSelection, poSelectedOnly};
  if (FDragImageKind == diMainColumnOnly) options.Include(poMainOnly);
  PaintTree(canvas, window, target, options);
  const plat::TPoint imagePosition = ClientToScreen(plat::TPoint(r.Left - EffectiveOffsetX(), r.Top + OffsetY()));
  const plat::TPoint hot = ClientToScreen(HotSpot);
  TLTDragImage& image = DragImage();
  image.SetColorKey(FColors.BackGroundColor());
  image.PrepareDrag(picture.Image(), QPoint(imagePosition.X, imagePosition.Y), QPoint(hot.X, hot.Y), DataObject);
}

int TBaseLazyTreeControl::DragThreshold() const {
  return FTransfer ? FTransfer->DragThreshold : QApplication::startDragDistance();
}

void TBaseLazyTreeControl::BeginDrag(bool Immediate, int Threshold) {
  if (Dragging()) return;
  Transfer().DragThreshold = Threshold < 0 ? QApplication::startDragDistance() : Threshold;
  if (Immediate)
    RunOLEDrag(FLastClickPos);
  else
    DoStateChange({tsOLEDragPending});
}

void TBaseLazyTreeControl::RunOLEDrag(plat::TPoint HotSpot) {
  TTreeTransferState& t = Transfer();
  CancelEditNode();
  if (FFocusedNode && !Selected(FFocusedNode)) AddToSelection(FFocusedNode);
  t.DragSelection = GetSortedSelection(true);
  DoStateChange({tsOLEDragging}, {tsClearPending, tsOLEDragPending});
  bool userDragObject = false;
  if (OnStartDrag) OnStartDrag(this, userDragObject);
  if (userDragObject) DoStateChange({tsUserDragObject});
  QMimeData* data = nullptr;
  if (OnCreateDataObject) OnCreateDataObject(this, data);
  if (!data) data = new TLTDataObject(this, false);
  PrepareDragImage(HotSpot, data);
  SetLastDropMode(dmOnNode);
  t.LastDragEffect = 0;
  // Bit n of the operations is effect 2^n.
  uint32_t allowed = FDragOperations.ToBits();
  if (allowed == 0) allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  auto finish = [&] {
    if (OnEndDrag) OnEndDrag(this, CursorClientPos());
    EndDragStates();
    DragImage().EndDrag();
    if (t.LastDragEffect == DROPEFFECT_MOVE && TreeOptions().AutoOptions.Has(toAutoDeleteMovedNodes))
      DeleteSelectedNodes();
    DoStateChange({}, {tsOLEDragging});
    t.DragSelection.clear();
  };
  try {
    PerformDragDrop(allowed, data, t.LastDragEffect);
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

void TBaseLazyTreeControl::PerformDragDrop(uint32_t AllowedEffects, QMimeData* DataObject, uint32_t& Effect) {
  auto* drag = new QDrag(Widget());
  drag->setMimeData(DataObject);
  const TLTDragImage& image = DragImage();
  if (!image.Picture().isNull()) {
    drag->setPixmap(QPixmap::fromImage(image.Picture()));
    drag->setHotSpot(image.HotSpotOffset());
  }
  const Qt::DropActions allowed = ActionsOf(AllowedEffects);
  Effect = EffectOf(drag->exec(allowed, allowed & Qt::MoveAction ? Qt::MoveAction : Qt::CopyAction));
}

void TBaseLazyTreeControl::EndDragStates() {
  const TLazyTreeStates drag{tsOLEDragging, tsVCLDragging, tsVCLDragPending, tsVCLDragFinished};
  if ((TreeStates() * drag).Empty()) return;
  DoStateChange({}, {tsUserDragObject, tsVCLDragging, tsVCLDragPending, tsVCLDragFinished});
  // The drag loop took the button's release: the tree leaves its button-down handling.
  const plat::TPoint p = CursorClientPos();
  const plat::LPARAM pos = plat::MakeLParam(p.X, p.Y + HeaderBand());
  if (TreeStates().Has(tsRightButtonDown))
    Perform(plat::WM_RBUTTONUP, 0, pos);
  else if (TreeStates().Has(tsMiddleButtonDown))
    Perform(plat::WM_MBUTTONUP, 0, pos);
  else if (TreeStates().Has(tsLeftButtonDown))
    Perform(plat::WM_LBUTTONUP, 0, pos);
}

// ------------------------------------------------------------------------------------------------------------
// The tree as drop target

uint32_t TBaseLazyTreeControl::SuggestDropEffect(TBaseLazyTreeControl* Source, Qt::KeyboardModifiers Shift,
                                                 uint32_t AllowedEffects) const {
  uint32_t effect = Source == this ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
  const bool ctrl = Shift & Qt::ControlModifier;
  const bool shift = Shift & Qt::ShiftModifier;
  if (ctrl && shift)
    effect = DROPEFFECT_LINK;
  else if (ctrl)
    effect = DROPEFFECT_COPY;
  else if (shift)
    effect = DROPEFFECT_MOVE;
  else if (Shift & Qt::AltModifier)
    effect = DROPEFFECT_LINK;
  if (AllowedEffects & effect) return effect;
  for (uint32_t e : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK})
    if (AllowedEffects & e) return e;
  return DROPEFFECT_NONE;
}

bool TBaseLazyTreeControl::DoDragOver(TBaseLazyTreeControl* Source, Qt::KeyboardModifiers Shift, TDragState State,
                                      plat::TPoint Pt, TDropMode Mode, uint32_t& Effect) {
  bool accept = false;
  if (OnDragOver) OnDragOver(this, Source, Shift, State, Pt, Mode, Effect, accept);
  return accept;
}

// Hit node and drop mode at Pt; the rows of the old and the new target are repainted when either changes.
void TBaseLazyTreeControl::TrackDropTarget(plat::TPoint Pt) {
  THitInfo hit;
  GetHitTestInfoAt(Pt.X, Pt.Y, true, hit);
  const plat::TRect nodeRect = hit.HitNode ? GetDisplayRect(hit.HitNode, NoColumn, false) : plat::TRect();
  const TDropMode mode = DropModeAt(Pt, hit, nodeRect);
  if (hit.HitNode == FDropTargetNode && mode == LastDropMode()) return;
  SetLastDropMode(mode);
  if (hit.HitNode != FDropTargetNode) {
    StopTimer(ExpandTimer);
    InvalidateNode(FDropTargetNode);
    FDropTargetNode = hit.HitNode;
    if (FFocusedColumn < 0) FFocusedColumn = FHeader->MainColumn();
    if (FDropTargetNode && TreeOptions().AutoOptions.Has(toAutoDropExpand) && FDropTargetNode->Has(vsHasChildren))
      StartTimer(ExpandTimer, AutoExpandDelay());
  }
  InvalidateNode(FDropTargetNode);
}

bool TBaseLazyTreeControl::DragEnter(const QMimeData* DataObject, Qt::KeyboardModifiers Shift, plat::TPoint Pt,
                                     uint32_t& Effect) {
  TTreeTransferState& t = Transfer();
  t.DragScrollStart = 0;
  t.IsDropTarget = true;
  t.DataObject = DataObject;
  t.DragSource = SourceTreeOfDataObject(DataObject);
  try {
    Effect = SuggestDropEffect(t.DragSource, Shift, Effect);
    if (!DoDragOver(t.DragSource, Shift, dsDragEnter, Pt, LastDropMode(), Effect)) {
      Effect = DROPEFFECT_NONE;
    } else {
      TrackDropTarget(Pt);
    }
  } catch (...) {
    return false;
  }
  return true;
}

// One auto-scroll step of a drag over the tree: a point within a row's height of an edge the view can still
// move towards scrolls by one increment, once AutoScrollDelay has passed since such a point was first met.
bool TBaseLazyTreeControl::DragScrollStep(plat::TPoint Pt) {
  TTreeTransferState& t = Transfer();
  if (!TreeOptions().AutoOptions.Has(toAutoScroll)) return false;
  const int edge = static_cast<int>(DefaultNodeHeight());
  int dx = 0;
  int dy = 0;
  if (Pt.X < edge && EffectiveOffsetX() != 0) dx = FScrollBarOptions.HorizontalIncrement();
  if (ClientW() + EffectiveOffsetX() < static_cast<int64_t>(RangeX()) && Pt.X > ClientW() - edge)
    dx = -FScrollBarOptions.HorizontalIncrement();
  const int vertical = std::min(FScrollBarOptions.VerticalIncrement(), ClientH());
  if (Pt.Y < edge && OffsetY() != 0) dy = vertical;
  if (ClientH() - OffsetY() < static_cast<int64_t>(RangeY()) && Pt.Y > ClientH() - edge) dy = -vertical;
  if (dx == 0 && dy == 0) {
    t.DragScrollStart = 0;
    return false;
  }
  const uint32_t now = FAnimationClock ? FAnimationClock() : [] {
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }();
  if (t.DragScrollStart == 0) t.DragScrollStart = now == 0 ? 1 : now;
  if (now - t.DragScrollStart < AutoScrollDelay()) return false;
  return ScrollToOffset({OffsetX() + dx, OffsetY() + dy}, DefaultScrollUpdateFlags, nullptr);
}

bool TBaseLazyTreeControl::DragOver(Qt::KeyboardModifiers Shift, plat::TPoint Pt, uint32_t& Effect) {
  TTreeTransferState& t = Transfer();
  try {
    const bool scrolled = DragScrollStep(Pt);
    TrackDropTarget(Pt);
    Effect = SuggestDropEffect(t.DragSource, Shift, Effect);
    if (!DoDragOver(t.DragSource, Shift, dsDragMove, Pt, LastDropMode(), Effect)) Effect = DROPEFFECT_NONE;
    if (scrolled) Effect |= DROPEFFECT_SCROLL;
  } catch (...) {
    return false;
  }
  return true;
}

void TBaseLazyTreeControl::DragLeave() {
  TTreeTransferState& t = Transfer();
  StopTimer(ExpandTimer);
  InvalidateNode(FDropTargetNode);
  FDropTargetNode = nullptr;
  uint32_t effect = DROPEFFECT_NONE;
  try {
    DoDragOver(nullptr, {}, dsDragLeave, plat::TPoint(0, 0), LastDropMode(), effect);
  } catch (...) {
    // The answer to a leaving drag is ignored, and so is its failure.
  }
  t.IsDropTarget = false;
  t.DragSource = nullptr;
  t.DataObject = nullptr;
}

bool TBaseLazyTreeControl::Drop(const QMimeData* DataObject, Qt::KeyboardModifiers Shift, plat::TPoint Pt,
                                uint32_t& Effect) {
  TTreeTransferState& t = Transfer();
  StopTimer(ExpandTimer);
  StopTimer(ScrollTimer);
  DoStateChange({}, {tsScrolling, tsScrollPending});
  if (!t.IsDropTarget) DragEnter(DataObject, Shift, Pt, Effect);
  bool result = DragOver(Shift, Pt, Effect) && (Effect & ~DROPEFFECT_SCROLL) != 0;
  if (result) {
    try {
      if (OnDragDrop) OnDragDrop(this, t.DragSource, DataObject, DataObject ? DataObject->formats() : QStringList(),
                                 Shift, Pt, Effect, LastDropMode());
    } catch (...) {
      if (plat::Application) plat::Application->HandleException(this);
      result = false;
    }
  }
  InvalidateNode(FDropTargetNode);
  FDropTargetNode = nullptr;
  t.IsDropTarget = false;
  t.DragSource = nullptr;
  t.DataObject = nullptr;
  return result;
}

void TBaseLazyTreeControl::ExpandDropTarget() {
  StopTimer(ExpandTimer);
  if (!FDropTargetNode || !FDropTargetNode->Has(vsHasChildren) || FDropTargetNode->Has(vsExpanded)) return;
  ToggleNode(FDropTargetNode);
}

bool TBaseLazyTreeControl::ProcessDrop(const QMimeData* DataObject, PLazyNode TargetNode, uint32_t& Effect,
                                       TLTNodeAttachMode Mode) {
  if (Mode == amNoWhere) {
    Effect = DROPEFFECT_NONE;
    return false;
  }
  bool result = false;
  TBaseLazyTreeControl* source = SourceTreeOfDataObject(DataObject);
  BeginUpdate();
  if (source) source->BeginUpdate();
  try {
    if ((Effect & DROPEFFECT_MOVE) && source) {
      result = ProcessOLEData(source, DataObject, TargetNode, Mode, (Effect & DROPEFFECT_COPY) == 0);
      Effect = DROPEFFECT_NONE;  // the nodes moved here already; the source must not delete them again
    } else if (Effect & (DROPEFFECT_COPY | DROPEFFECT_MOVE)) {
      result = ProcessOLEData(source, DataObject, TargetNode, Mode, false);
    }
  } catch (...) {
    // Refused data (or a failing handler) ends the drop without an effect.
    Effect = DROPEFFECT_NONE;
    result = false;
  }
  if (source) source->EndUpdate();
  EndUpdate();
  return result;
}

// The window's drag events, turned into the tree's drop target calls.
class TDropFilter : public QObject {
 public:
  explicit TDropFilter(TBaseLazyTreeControl* Tree) : FTree(Tree) {}

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    switch (Event->type()) {
      case QEvent::DragEnter:
      case QEvent::DragMove:
      case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(Event);
        if (!FTree->TreeOptions().MiscOptions.Has(toAcceptOLEDrop)) return false;
        const QPoint global = static_cast<QWidget*>(Watched)->mapToGlobal(e->position().toPoint());
        const plat::TPoint pt = FTree->ScreenToClient(plat::TPoint(global.x(), global.y()));
        uint32_t effect = EffectOf(e->possibleActions());
        bool ok;
        if (Event->type() == QEvent::DragEnter)
          ok = FTree->DragEnter(e->mimeData(), e->modifiers(), pt, effect);
        else if (Event->type() == QEvent::DragMove)
          ok = FTree->DragOver(e->modifiers(), pt, effect);
        else
          ok = FTree->Drop(e->mimeData(), e->modifiers(), pt, effect);
        e->setDropAction(ok ? ActionOf(effect) : Qt::IgnoreAction);
        // Entering is always taken, so that the moves follow; a move or drop without effect is refused.
        if (Event->type() == QEvent::DragEnter || (ok && effect != DROPEFFECT_NONE))
          e->accept();
        else
          e->ignore();
        return true;
      }
      case QEvent::DragLeave:
        FTree->DragLeave();
        return true;
      default:
        return false;
    }
  }

 private:
  TBaseLazyTreeControl* FTree;
};

void TBaseLazyTreeControl::RegisterDropTarget() {
  TTreeTransferState& t = Transfer();
  if (t.DropFilter || !Widget()) return;
  t.DropFilter = std::make_unique<TDropFilter>(this);
  Widget()->setAcceptDrops(true);
  Widget()->installEventFilter(t.DropFilter.get());
  if (auto* area = qobject_cast<QAbstractScrollArea*>(Widget())) {
    area->viewport()->setAcceptDrops(true);
    area->viewport()->installEventFilter(t.DropFilter.get());
  }
}

}  // namespace lazytree
