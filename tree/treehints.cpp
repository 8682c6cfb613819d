// Hints and tooltips of the tree: the answer to a hint request (the control's ordinary hint, a node hint, a node
// hint falling back to the control hint, or a tooltip with the full text of a clipped cell; column hints over
// the header), the size of the hint window, and the window that shows it.
#include "tree/treehints.h"

#include <QApplication>
#include <QEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolTip>

#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/graphic.h"
#include "tree/stringtree.h"

namespace lazytree {

namespace {

plat::TPoint Point(const QPoint& P) { return {P.x(), P.y()}; }

// The screen's hint font as a font of the canvas.
void AssignHintFont(plat::TFont& Font) {
  const QFont f = QToolTip::font();
  Font.SetName(f.family());
  if (f.pixelSize() > 0)
    Font.SetHeight(-f.pixelSize());
  else
    Font.SetSize(static_cast<int>(f.pointSizeF() + 0.5));
  Font.SetColor(plat::clInfoText);
}

// The tree's widget hears of hint requests (tooltip events) here before the widget's own tooltip handling, and
// of the mouse events that end a shown hint: leaving the hint's rectangle or the control, a button, the wheel.
// Keys do not end it.
class THintFilter : public QObject {
 public:
  THintFilter(std::function<bool(QHelpEvent*)> OnHint, std::function<void(QEvent*)> OnMouse)
      : FOnHint(std::move(OnHint)), FOnMouse(std::move(OnMouse)) {}
  bool eventFilter(QObject* /*Watched*/, QEvent* E) override {
    switch (E->type()) {
      case QEvent::ToolTip: return FOnHint(static_cast<QHelpEvent*>(E));
      case QEvent::MouseMove:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::Leave: FOnMouse(E); return false;
      default: return false;
    }
  }

 private:
  std::function<bool(QHelpEvent*)> FOnHint;
  std::function<void(QEvent*)> FOnMouse;
};

}  // namespace

// ------------------------------------------------------------------------------------------------------------
// Requests

void TBaseLazyTreeControl::InstallHintFilter() {
  auto filter = std::make_shared<THintFilter>(
      [this](QHelpEvent* e) {
        const plat::TPoint p = Point(e->pos());
        return HintEvent({p.X, p.Y - HeaderBand()}, Point(e->globalPos()));
      },
      [this](QEvent* e) {
        if (!HintWindow()) return;
        if (e->type() == QEvent::MouseMove) {
          const plat::TPoint p = Point(static_cast<QMouseEvent*>(e)->position().toPoint());
          if (FLastHintRect.Contains({p.X, p.Y - HeaderBand()})) return;
        }
        CancelHint();
      });
  Widget()->installEventFilter(filter.get());
  FHintEventFilter = filter;
}

QString TBaseLazyTreeControl::ShortHint() const { return Hint().section(u'|', 0, 0); }

TLTHintKind TBaseLazyTreeControl::HintKindOf(PLazyNode Node, TColumnIndex Column) {
  TLTHintKind kind = DefaultHintKind();
  if (OnGetHintKind) OnGetHintKind(this, Node, Column, kind);
  return kind;
}

QString TBaseLazyTreeControl::NodeHintText(PLazyNode, TColumnIndex, TLTTooltipLineBreakStyle& LineBreakStyle) {
  LineBreakStyle = hlbDefault;
  return Hint();
}

QString TBaseLazyTreeControl::NodeTooltipText(PLazyNode Node, TColumnIndex Column,
                                              TLTTooltipLineBreakStyle& LineBreakStyle) {
  return NodeHintText(Node, Column, LineBreakStyle);
}

QString TCustomLazyStringTree::NodeHintText(PLazyNode Node, TColumnIndex Column,
                                            TLTTooltipLineBreakStyle& LineBreakStyle) {
  QString text = TBaseLazyTreeControl::NodeHintText(Node, Column, LineBreakStyle);
  if (OnGetHint) OnGetHint(this, Node, Column, LineBreakStyle, text);
  return text;
}

QString TCustomLazyStringTree::NodeTooltipText(PLazyNode Node, TColumnIndex Column,
                                               TLTTooltipLineBreakStyle& LineBreakStyle) {
  QString text = TBaseLazyTreeControl::NodeTooltipText(Node, Column, LineBreakStyle);
  if (OnGetHint)
    OnGetHint(this, Node, Column, LineBreakStyle, text);
  else
    text = GetText(Node, Column);
  return text;
}

void TBaseLazyTreeControl::HintRequest(TLTHintRequest& R) {
  R.Result = 1;
  if (!FLastHintRect.IsEmpty() && FLastHintRect.Contains(R.CursorPos)) return;  // the shown hint stays
  THitInfo hit;
  GetHitTestInfoAt(R.CursorPos.X, R.CursorPos.Y, true, hit);
  bool showOK;
  if (IsEditing())
    showOK = hit.HitNode != FFocusedNode;
  else
    showOK = Focused() || (plat::GetParentForm(this) && QApplication::activeWindow() != nullptr);
  const TLazyTreeStates states = TreeStates();
  if (QWidget::mouseGrabber() || !ShowHint() || states.Has(tsOLEDragging) || states.Has(tsVCLDragging) ||
      states.Has(tsDrawSelPending) || states.Has(tsDrawSelecting) || states.Has(tsScrolling) ||
      !Header().States().Empty() || !showOK)
    return;
  R.Result = 0;
  bool showNodeHint = false;
  const bool inHeader = Header().UseColumns() && Header().Options().Has(hoShowHint) && R.CursorPos.Y < 0;
  const bool leftDown = plat::GetKeyState(plat::VK_LBUTTON) < 0;
  FHintData = {};
  if (inHeader) {
    int left = 0, right = 0;
    const TColumnIndex column = Header().Columns().HitColumnSpan({R.CursorPos.X, 0}, left, true, right);
    R.CursorRect = plat::TRect(left, -HeaderBand(), right, 0);
    R.HintPos.Y = std::max(R.HintPos.Y, ClientToScreen({0, 0}).Y);
    hit.HitNode = nullptr;
    hit.HitColumn = column;
    if (column < 0 || leftDown) {
      R.Result = 1;
    } else {
      R.HintStr = Header().Columns()[column]->Hint();
      FHintData.DefaultHint = R.HintStr;
      showNodeHint = !R.HintStr.isEmpty();
      if (!showNodeHint) R.Result = 1;
    }
  } else if (FHintMode == hmDefault) {
    R.HintStr = ShortHint();
  } else if (hit.HitNode && hit.HitColumn >= NoColumn) {
    TLTTooltipLineBreakStyle style = hlbDefault;
    R.HintStr = FHintMode == hmTooltip ? NodeTooltipText(hit.HitNode, hit.HitColumn, style)
                                       : NodeHintText(hit.HitNode, hit.HitColumn, style);
    HintNodeCase(R, hit);
    showNodeHint = R.Result == 0;
  } else if (FHintMode == hmHintAndDefault) {
    FHintData.DefaultHint = ShortHint();
    R.HintStr = FHintData.DefaultHint;
    showNodeHint = !FHintData.DefaultHint.isEmpty();
    if (!showNodeHint) R.Result = 1;
  } else {
    R.Result = 1;
  }
  if (showNodeHint && R.Result == 0) {
    R.TreeHintWindow = true;
    FHintData.Tree = this;
    FHintData.Column = hit.HitColumn;
    FHintData.Node = hit.HitNode;
    FLastHintRect = R.CursorRect;
    R.HintData = FHintData;
  } else {
    FLastHintRect = {};
  }
  if (R.Result == 0)
    DoStateChange({tsHint});
  else
    DoStateChange({}, {tsHint});
}

// A node hit in a mode other than the ordinary hint: owner-drawn hints need a size, tooltips a clipped text.
void TBaseLazyTreeControl::HintNodeCase(TLTHintRequest& R, const THitInfo& Hit) {
  PLazyNode node = Hit.HitNode;
  const TColumnIndex column = Hit.HitColumn;
  bool show = true;
  if (HintKindOf(node, column) == vhkOwnerDraw) {
    if (OnGetHintSize) OnGetHintSize(this, node, column, FHintData.HintRect);
    show = !FHintData.HintRect.IsEmpty();
  }
  // The cell's horizontal span, over following empty cells with toAutoSpanColumns.
  int spanLeft = 0, spanRight = ClientW();
  if (column >= 0) {
    const TLazyTreeColumns& columns = Header().Columns();
    columns.HitColumnSpan({R.CursorPos.X, 0}, spanLeft, true, spanRight);
    if (TreeOptions().AutoOptions.Has(toAutoSpanColumns))
      for (TColumnIndex c = columns.GetNextVisibleColumn(column); c >= 0 && CellIsEmpty(node, c);
           c = columns.GetNextVisibleColumn(c))
        spanRight += columns[c]->Width();
  }
  FHintData.DefaultHint.clear();
  if (FHintMode == hmTooltip && show) {
    plat::TRect r;
    const plat::TPoint p = R.CursorPos;
    if (!node->Has(vsMultiline)) {
      r = GetDisplayRect(node, column, true, true, true);
      const plat::TPoint m = CellContentMargin(node, column, ccmtBottomRightOnly, nullptr);
      const bool clipped = std::min(spanRight - 1, ClientW()) < r.Right + m.X || r.Left < std::max(spanLeft, 0) ||
                           ClientH() < r.Bottom + m.Y || r.Top < 0;
      show = r.Contains(p) && p.X >= spanLeft && p.X <= spanRight && clipped;
    } else {
      show = Hit.HitPositions.Has(hiOnItemLabel);
      r = GetDisplayRect(node, column, true);
    }
    if (show) {
      R.HintPos = ClientToScreen({r.Left, r.Top});
      R.CursorRect = r;
    } else {
      R.Result = 1;
    }
  } else if (FHintMode != hmTooltip) {
    plat::TRect cell = GetDisplayRect(node, column, false, false, false);
    cell.Left = spanLeft;
    cell.Right = spanRight;
    R.CursorRect = cell;
    R.HintPos.Y = std::max(R.HintPos.Y, ClientToScreen({0, cell.Bottom}).Y) + 2;
  }
  if (!show) R.Result = 1;
}

// ------------------------------------------------------------------------------------------------------------
// The hint window's size

plat::TRect TBaseLazyTreeControl::CalcHintRect(int MaxWidth, TLTHintData& Data) {
  if (!Data.Tree) return {};
  PLazyNode node = Data.Node;
  if (node && !Data.HintRect.IsEmpty()) return Data.HintRect;
  const TLazyTreeColumns& columns = Header().Columns();
  Data.Alignment = columns.IsValidColumn(Data.Column) ? columns[Data.Column]->Alignment() : Alignment();
  const bool tooltip = node && FHintMode == hmTooltip;
  plat::TBitmap scratch(1, 1, plat::pf32bit);
  plat::TCanvas* canvas = scratch.Canvas();
  if (tooltip) {
    plat::TFont font;
    plat::TRect ignored;
    QString text;
    GetTextInfo(node, Data.Column, &font, ignored, text);
    canvas->SetFont(font);
  } else {
    plat::TFont font;
    AssignHintFont(font);
    canvas->SetFont(font);
  }
  const int textHeight = canvas->TextHeight(QStringLiteral("Tg"));
  Data.LineBreakStyle = hlbDefault;
  if (!Data.DefaultHint.isEmpty())
    Data.HintText = Data.DefaultHint;
  else
    Data.HintText = tooltip ? NodeTooltipText(node, Data.Column, Data.LineBreakStyle)
                            : NodeHintText(node, Data.Column, Data.LineBreakStyle);
  if (Data.HintText.isEmpty()) return {};
  plat::TRect r;
  if (!tooltip) {
    r = plat::TRect(0, 0, MaxWidth, textHeight);
    canvas->DrawText(Data.HintText, r, plat::DT_CALCRECT | plat::DT_WORDBREAK | plat::DT_NOPREFIX);
    r.Bottom += 6;
    r.Right += TextMargin() + textHeight;
    return r;
  }
  if (Data.LineBreakStyle == hlbDefault)
    Data.LineBreakStyle = node->Has(vsMultiline) ? hlbForceMultiLine : hlbForceSingleLine;
  if (Data.LineBreakStyle == hlbForceMultiLine) {
    r = GetDisplayRect(node, Data.Column, true);
    plat::TRect t = r;
    canvas->DrawText(Data.HintText, t, plat::DT_CALCRECT | plat::DT_WORDBREAK | plat::DT_NOPREFIX);
    r.Right = t.Right + TextMargin() + 1;
    r.Bottom = t.Bottom;
    // A multi-line text that fits its cell needs no tooltip.
    const int columnWidth = columns.IsValidColumn(Data.Column) ? columns[Data.Column]->Width() : ClientW();
    if (Header().UseColumns() && static_cast<int>(GetNodeHeight(node)) + 2 >= r.Height() &&
        columnWidth + 2 >= r.Width() && r.Left >= 0 && r.Top >= 0 && r.Right <= ClientW() + 3 &&
        r.Bottom <= ClientH() + 3)
      return {};
  } else {
    r = FLastHintRect;
    if (TreeOptions().PaintOptions.Has(toShowHorzGridLines)) --r.Bottom;
  }
  plat::InflateRect(r, 1, 1);
  plat::OffsetRect(r, -1 - r.Left, -1 - r.Top);
  return r;
}

// ------------------------------------------------------------------------------------------------------------
// Showing and cancelling

bool TBaseLazyTreeControl::HintEvent(plat::TPoint ClientPos, plat::TPoint GlobalPos) {
  TLTHintRequest r;
  r.CursorPos = ClientPos;
  r.CursorRect = plat::TRect(0, 0, ClientW(), ClientH());
  r.HintPos = {GlobalPos.X, GlobalPos.Y + 20};  // below the cursor, as ordinary hints open
  HintRequest(r);
  if (r.Result != 0) {
    if (!TreeStates().Has(tsHint)) {
      QToolTip::hideText();
      if (FHintWindow) FHintWindow->hide();
    }
    return true;
  }
  if (!r.TreeHintWindow) {
    if (r.HintStr.isEmpty()) return true;
    const plat::TRect c = r.CursorRect;
    QToolTip::showText(QPoint(r.HintPos.X, r.HintPos.Y), r.HintStr, Widget(),
                       QRect(c.Left, c.Top + HeaderBand(), c.Width(), c.Height()));
    return true;
  }
  QScreen* screen = Widget()->screen();
  const int maxWidth = screen ? screen->availableGeometry().width() : 800;
  TLTHintData data = r.HintData;
  plat::TRect size = CalcHintRect(maxWidth, data);
  if (size.IsEmpty()) {
    CancelHint();
    return true;
  }
  plat::OffsetRect(size, r.HintPos.X, r.HintPos.Y);
  if (!FHintWindow) FHintWindow = std::make_shared<TLazyTreeHintWindow>();
  FHintWindow->ActivateHint(size, data, ClientPos);
  return true;
}

void TBaseLazyTreeControl::CancelHint() {
  QToolTip::hideText();
  if (FHintWindow) FHintWindow->hide();
  if (TreeStates().Has(tsHint)) DoStateChange({}, {tsHint});
}

THintAnimationType TBaseLazyTreeControl::GetEffectiveHintAnimation() const {
  if (FHintAnimation != hatSystemDefault) return FHintAnimation;
  if (!QApplication::isEffectEnabled(Qt::UI_AnimateTooltip)) return hatNone;
  return QApplication::isEffectEnabled(Qt::UI_FadeTooltip) ? hatFade : hatSlide;
}

TLazyTreeHintWindow* TBaseLazyTreeControl::HintWindow() const {
  return FHintWindow && FHintWindow->isVisible() ? FHintWindow.get() : nullptr;
}

// ------------------------------------------------------------------------------------------------------------
// The window

TLazyTreeHintWindow::TLazyTreeHintWindow() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setObjectName(QStringLiteral("LazyTreeHintWindow"));
}

TLazyTreeHintWindow::~TLazyTreeHintWindow() = default;

void TLazyTreeHintWindow::ActivateHint(plat::TRect Rect, const TLTHintData& Data, plat::TPoint CursorClientPos) {
  const plat::TRect& last = Data.Tree ? Data.Tree->LastHintRect() : plat::TRect();
  if (Rect.IsEmpty() || !Data.Tree || (!last.IsEmpty() && !last.Contains(CursorClientPos))) {
    hide();
    return;
  }
  FHintData = Data;
  QRect r(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
  // Inside the desktop: moved up or left to end at its bottom or right, never above or left of it.
  if (QScreen* screen = QGuiApplication::screenAt(r.center()) ? QGuiApplication::screenAt(r.center())
                                                              : QGuiApplication::primaryScreen()) {
    const QRect desk = screen->availableGeometry();
    if (r.bottom() > desk.bottom()) r.moveBottom(desk.bottom());
    if (r.right() > desk.right()) r.moveRight(desk.right());
    if (r.top() < desk.top()) r.moveTop(desk.top());
    if (r.left() < desk.left()) r.moveLeft(desk.left());
  }
  setGeometry(r);
  StartAnimation(Data.Tree->GetEffectiveHintAnimation(), Data.Tree->AnimationDuration());
  show();
  raise();
  update();
}

// The fade takes twice the animation duration over 255 steps, the slide the duration over the window's rows.
// A newer activation stops an older animation; the window shows its final state at once without one.
void TLazyTreeHintWindow::StartAnimation(THintAnimationType Kind, uint32_t Duration) {
  if (FAnimator) FAnimator->stop();
  FAnimation = Kind;
  const int steps = Kind == hatFade ? 255 : height();
  if (Kind == hatNone || steps <= 0 || Duration == 0) {
    FAnimation = hatNone;
    AnimationStep(1, 1);
    return;
  }
  AnimationStep(0, steps);
  if (!FAnimator) {
    FAnimator = new QVariantAnimation(this);
    QObject::connect(FAnimator, &QVariantAnimation::valueChanged, this,
                     [this](const QVariant& v) { AnimationStep(v.toInt(), FAnimator->endValue().toInt()); });
  }
  FAnimator->setStartValue(0);
  FAnimator->setEndValue(steps);
  FAnimator->setDuration(static_cast<int>(Kind == hatFade ? 2 * Duration : Duration));
  FAnimator->start();
}

void TLazyTreeHintWindow::AnimationStep(int Step, int Steps) {
  Step = std::clamp(Step, 0, std::max(Steps, 1));
  if (FAnimation == hatFade) {
    setWindowOpacity(static_cast<double>(Step) / std::max(Steps, 1));
    FVisibleRows = height();
    clearMask();
  } else if (FAnimation == hatSlide) {
    setWindowOpacity(1.0);
    FVisibleRows = Step;
    setMask(QRegion(0, 0, width(), std::max(Step, 1)));
  } else {
    setWindowOpacity(1.0);
    FVisibleRows = height();
    clearMask();
  }
  update();
}

QImage TLazyTreeHintWindow::Render() {
  plat::TBitmap buffer(std::max(1, width()), std::max(1, height()), plat::pf32bit);
  plat::TCanvas* canvas = buffer.Canvas();
  TBaseLazyTreeControl* tree = FHintData.Tree;
  const plat::TRect all(0, 0, width(), height());
  const bool tooltip = tree && FHintData.Node && tree->HintMode() == hmTooltip;
  plat::TFont font;
  int y = 2;
  if (tooltip) {
    plat::TRect textRect;
    QString text;
    tree->GetTextInfo(FHintData.Node, FHintData.Column, &font, textRect, text);
    y = FHintData.LineBreakStyle == hlbForceMultiLine ? 1 : (height() - textRect.Height()) / 2;
  } else {
    AssignHintFont(font);
  }
  canvas->SetFont(font);
  if (tree && FHintData.Node && tree->HintKindOf(FHintData.Node, FHintData.Column) == vhkOwnerDraw) {
    if (tree->OnDrawHint) tree->OnDrawHint(tree, canvas, FHintData.Node, all, FHintData.Column);
    return *canvas->Image();
  }
  const TLTPaintOptions paint = tree ? tree->TreeOptions().PaintOptions : TLTPaintOptions{};
  if (paint.Has(toThemeAware) || paint.Has(toUseExplorerTheme)) {
    // The style's tooltip panel (the platform always has visual styles on).
    QStyleOptionFrame option;
    option.rect = QRect(0, 0, width(), height());
    option.palette = QToolTip::palette();
    option.state = QStyle::State_Enabled;
    QApplication::style()->drawPrimitive(QStyle::PE_PanelTipLabel, &option, canvas->Painter());
  } else {
    canvas->Brush()->SetColor(plat::clInfoBk);
    canvas->FillRect(all);
    canvas->Brush()->SetColor(plat::clBlack);
    canvas->FrameRect(all);
  }
  canvas->Font()->SetColor(plat::clInfoText);
  canvas->Brush()->SetStyle(plat::bsClear);
  plat::TRect r = all;
  plat::InflateRect(r, -1, -1);
  r.Top = y;
  r.Left += 3;
  unsigned flags = plat::DT_NOPREFIX;
  if (FHintData.LineBreakStyle == hlbForceMultiLine) flags |= plat::DT_WORDBREAK;
  canvas->DrawText(FHintData.HintText, r, flags);
  return *canvas->Image();
}

// While sliding, the lowest rows of the hint come first, at the window's top.
void TLazyTreeHintWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, FVisibleRows - height(), Render());
}

void TLazyTreeHintWindow::hideEvent(QHideEvent* Event) {
  if (FAnimator) FAnimator->stop();
  FHintData = {};
  QWidget::hideEvent(Event);
}

}  // namespace lazytree
