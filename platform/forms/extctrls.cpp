#include "platform/forms/extctrls.h"

#include <QTimer>
#include <QWidget>

#include <algorithm>

#include "platform/forms/host.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"

namespace plat {

// ---------------------------------------------------------------------------------------------------------
// TPanel

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TPanel::SetBevelOuter(TBevelCut v) {
  FBevelOuter = v;
  Invalidate();
}
void TPanel::SetBevelInner(TBevelCut v) {
  FBevelInner = v;
  Invalidate();
}
void TPanel::SetBevelWidth(int v) {
  FBevelWidth = std::max(1, v);
  Invalidate();
}
void TPanel::SetAlignment(TAlignment v) {
  FAlignment = v;
  Invalidate();
}
void TPanel::SetShowCaption(bool v) {
  FShowCaption = v;
  Invalidate();
}

namespace {

// One bevel ring: top and left in one colour, bottom and right in the other; the rectangle shrinks by width.
void Frame3D(TCanvas* c, TRect& r, TColor topLeft, TColor bottomRight, int width) {
  for (int i = 0; i < width; ++i) {
    c->Pen()->SetColor(topLeft);
    c->MoveTo(r.Left, r.Bottom - 1);
    c->LineTo(r.Left, r.Top);
    c->LineTo(r.Right - 1, r.Top);
    c->Pen()->SetColor(bottomRight);
    c->LineTo(r.Right - 1, r.Bottom - 1);
    c->LineTo(r.Left - 1, r.Bottom - 1);
    InflateRect(r, -1, -1);
  }
}

void Bevel(TCanvas* c, TRect& r, TBevelCut cut, int width) {
  switch (cut) {
    case bvLowered: Frame3D(c, r, clBtnShadow, clBtnHighlight, width); break;
    case bvRaised: Frame3D(c, r, clBtnHighlight, clBtnShadow, width); break;
    case bvSpace: InflateRect(r, -width, -width); break;
    default: break;
  }
}

}  // namespace

void TPanel::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  Bevel(c, r, FBevelOuter, FBevelWidth);
  Bevel(c, r, FBevelInner, FBevelWidth);
  if (!FShowCaption || Caption().isEmpty()) return;
  c->Brush()->SetStyle(bsClear);
  c->Font()->Assign(*Font());
  unsigned flags = DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER;
  flags |= FAlignment == taCenter ? DT_CENTER : FAlignment == taRightJustify ? DT_RIGHT : DT_LEFT;
  TRect tr = r;
  c->DrawText(Caption(), tr, flags);
}

// ---------------------------------------------------------------------------------------------------------
// TShape

TShape::TShape(TComponent* AOwner)
    : TGraphicControl(AOwner), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
  SetBounds(0, 0, 65, 65);
  FPen->OnChange = [this](auto*) { Invalidate(); };
  FBrush->OnChange = [this](auto*) { Invalidate(); };
}

TShape::~TShape() = default;

void TShape::SetShape(TShapeType v) {
  FShape = v;
  Invalidate();
}

void TShape::Paint() {
  TCanvas* c = Canvas();
  c->Pen()->Assign(*FPen);
  c->Brush()->Assign(*FBrush);
  const int pw = FPen->Width();
  int x = pw / 2, y = pw / 2;
  int w = Width() - pw + 1, h = Height() - pw + 1;
  if (pw == 0) {
    --w;
    --h;
  }
  const int s = std::min(w, h);
  if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
    x += (w - s) / 2;
    y += (h - s) / 2;
    w = h = s;
  }
  switch (FShape) {
    case stRectangle:
    case stSquare: c->Rectangle(x, y, x + w, y + h); break;
    case stRoundRect:
    case stRoundSquare: c->RoundRect(x, y, x + w, y + h, s / 4, s / 4); break;
    case stEllipse:
    case stCircle: c->Ellipse(x, y, x + w, y + h); break;
  }
}

// ---------------------------------------------------------------------------------------------------------
// TImage

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>()) {
  SetBounds(0, 0, 105, 105);
  FPicture->OnChange = [this](auto*) { PictureChanged(); };
}

TImage::~TImage() = default;

void TImage::PictureChanged() {
  if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
    SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
  Invalidate();
}

void TImage::SetStretch(bool v) {
  FStretch = v;
  Invalidate();
}
void TImage::SetCenter(bool v) {
  FCenter = v;
  Invalidate();
}
void TImage::SetProportional(bool v) {
  FProportional = v;
  Invalidate();
}
void TImage::SetTransparent(bool v) {
  FTransparent = v;
  if (FPicture->Graphic()) FPicture->Graphic()->SetTransparent(v);
  Invalidate();
}
void TImage::SetAutoSize(bool v) {
  FAutoSize = v;
  PictureChanged();
}

TRect TImage::DestRect() const {
  int w = FPicture->Width(), h = FPicture->Height();
  const int cw = ClientWidth(), ch = ClientHeight();
  if (FStretch || (FProportional && (w > cw || h > ch))) {
    if (FProportional && w > 0 && h > 0) {
      if (static_cast<long long>(cw) * h > static_cast<long long>(ch) * w) {
        w = static_cast<int>(static_cast<long long>(ch) * w / h);
        h = ch;
      } else {
        h = static_cast<int>(static_cast<long long>(cw) * h / w);
        w = cw;
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  int x = 0, y = 0;
  if (FCenter) {
    x = (cw - w) / 2;
    y = (ch - h) / 2;
  }
  return Bounds(x, y, w, h);
}

void TImage::Paint() {
  TGraphic* g = FPicture->Graphic();
  if (!g || g->Empty()) return;
  g->SetTransparent(FTransparent);
  Canvas()->StretchDraw(DestRect(), g);
}

// ---------------------------------------------------------------------------------------------------------
// TTimer

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), FTimer(std::make_unique<QTimer>()) {
  UpdateTimer();
  QObject::connect(FTimer.get(), &QTimer::timeout, FTimer.get(), [this] { detail::Guarded(this, [this] { Timer(); }); });
}

TTimer::~TTimer() = default;

void TTimer::SetEnabled(bool v) {
  FEnabled = v;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned v) {
  FInterval = v;
  UpdateTimer();
}

bool TTimer::Running() const { return FTimer->isActive(); }

void TTimer::UpdateTimer() {
  FTimer->stop();
  if (FInterval != 0 && FEnabled) FTimer->start(static_cast<int>(FInterval));
}

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}

// ---------------------------------------------------------------------------------------------------------
// TSplitter

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetAlign(alLeft);
  SetBounds(0, 0, 3, 100);
  SetCursor(crHSplit);
}

TControl* TSplitter::FindResizedControl() const {
  TWinControl* p = Parent();
  if (!p) return nullptr;
  for (int i = 0; i < p->ControlCount(); ++i) {
    TControl* c = p->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align()) continue;
    switch (Align()) {
      case alTop: if (c->Top() + c->Height() == Top()) return c; break;
      case alBottom: if (c->Top() == Top() + Height()) return c; break;
      case alLeft: if (c->Left() + c->Width() == Left()) return c; break;
      case alRight: if (c->Left() == Left() + Width()) return c; break;
      default: break;
    }
  }
  return nullptr;
}

void TSplitter::MoveBy(int Delta) {
  TControl* c = FindResizedControl();
  if (!c || Delta == 0) return;
  TWinControl* p = Parent();
  // The room the client-aligned control can give up.
  int room = 1 << 20;
  for (int i = 0; i < p->ControlCount(); ++i)
    if (p->Controls(i)->Align() == alClient && p->Controls(i)->Visible())
      room = (Horizontal() ? p->Controls(i)->Height() : p->Controls(i)->Width()) - FMinSize;
  const bool grows = Align() == alTop || Align() == alLeft ? Delta > 0 : Delta < 0;
  const int size = Horizontal() ? c->Height() : c->Width();
  int change = std::abs(Delta);
  if (grows)
    change = std::min(change, std::max(0, room));
  else
    change = std::min(change, std::max(0, size - FMinSize));
  const int newSize = grows ? size + change : size - change;
  if (newSize == size) return;
  if (Horizontal())
    c->SetHeight(newSize);
  else
    c->SetWidth(newSize);
}

void TSplitter::Paint() {
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FDragging = true;
  FDownAt = Horizontal() ? Y : X;
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  const TCursor want = Horizontal() ? crVSplit : crHSplit;
  if (Cursor() != want) SetCursor(want);
  if (!FDragging) return;
  // Coordinates are the splitter's own, and it moves with the resized control.
  MoveBy((Horizontal() ? Y : X) - FDownAt);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FDragging || Button != mbLeft) return;
  FDragging = false;
  if (OnMoved) OnMoved(this);
}

}  // namespace plat
