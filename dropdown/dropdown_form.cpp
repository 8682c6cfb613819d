#include "dropdown/dropdown_form.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QWidget>

#include <array>

#include "controls/draw_utils.h"
#include "dropdown/ext_dropdown.h"
#include "dropdown/paint_routines.h"
#include "dropdown/popup_bars.h"
#include "platform/forms/msgqueue.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/classic.h"
#include "platform/graphics/themes.h"

namespace dropdown {

using namespace plat;

namespace {

std::function<std::uint32_t()>& TickSource() {
  static std::function<std::uint32_t()> source;
  return source;
}

// The corner of a sizeable popup that resizes it: the last 10 pixels of both its width and its height.
constexpr int GripSize = 10;
constexpr LRESULT HTBOTTOMRIGHT = 17;

int XOf(LPARAM l) { return SignedLo(static_cast<std::uintptr_t>(l)); }
int YOf(LPARAM l) { return SignedHi(static_cast<std::uintptr_t>(l)); }

}  // namespace

std::uint32_t TickCount() {
  if (TickSource()) return TickSource()();
  static QElapsedTimer clock;
  if (!clock.isValid()) clock.start();
  return static_cast<std::uint32_t>(clock.elapsed());
}

void SetTickSource(std::function<std::uint32_t()> Source) { TickSource() = std::move(Source); }

// ---- TDropDownForm --------------------------------------------------------------------------------------

TDropDownForm::TDropDownForm(TComponent* AOwner) : TDropDownForm(AOwner, 0) {}

TDropDownForm::TDropDownForm(TComponent* AOwner, int) : TPopupForm(AOwner) {
  FShadow = true;
  FCancelOnDeActivate = true;
}

void TDropDownForm::InitializeAndUpdate() {
  if (!FExtDropDown) return;
  TExtCustomDropDown& d = *FExtDropDown;
  auto setUp = [&](TExtPopupBar* bar, const grid::TDropDownBarAppearance& a, TAlign align) {
    bar->SetExtDropDown(&d);
    bar->SetHeight(a.Height);
    bar->SetAlign(align);
    bar->SetVisible(a.Visible());
    bar->RebuildButtons();
  };
  // A bar that appears or goes takes its room from the hosted control or gives it back; the popup is sized from
  // the control's own height afterwards, so that height is kept.
  TControl* control = d.Control();
  const int controlHeight = control ? control->Height() : 0;
  const TAlign controlAlign = control ? control->Align() : alNone;
  if (control) control->SetAlign(alNone);
  if (!FHeader && d.DropDownHeader()->Visible()) {
    auto* header = new TExtHeader(this);
    header->SetParent(this);
    FHeader = header;
  }
  if (auto* header = static_cast<TExtHeader*>(FHeader)) {
    setUp(header, *d.DropDownHeader(), alTop);
    header->OnDrawBackGround = d.OnDrawHeader;
    header->OnGetText = d.OnGetHeaderText;
  }
  if (!FFooter && d.DropDownFooter()->Visible()) {
    auto* footer = new TExtFooter(this);
    footer->SetParent(this);
    FFooter = footer;
  }
  if (auto* footer = static_cast<TExtFooter*>(FFooter)) {
    setUp(footer, *d.DropDownFooter(), alBottom);
    footer->OnDrawBackGround = d.OnDrawFooter;
    footer->OnGetText = d.OnGetFooterText;
  }
  if (!control) return;
  if (!Visible()) {
    int h = 2 * d.DropDownBorderWidth() + controlHeight;
    if (FHeader && FHeader->Visible()) h += FHeader->Height();
    if (FFooter && FFooter->Visible()) h += FFooter->Height();
    SetBounds(Left(), Top(), Width(), h);
  }
  control->SetHeight(controlHeight);
  control->SetAlign(controlAlign);
}

void TDropDownForm::BeginGripSizing(const TPoint& Global) {
  const TPoint p = ScreenToClient(Global);
  FGripping = true;
  FGripOffset = TPoint(Width() - p.X, Height() - p.Y);
}

void TDropDownForm::EndGripSizing() { FGripping = false; }

TRect TDropDownForm::ClientRect() const {
  TRect r = TPopupForm::ClientRect();
  const int w = FExtDropDown ? FExtDropDown->DropDownBorderWidth() : 0;
  return TRect(r.Left + w, r.Top + w, r.Right - w, r.Bottom - w);
}

void TDropDownForm::PaintBackground(TCanvas& Canvas) {
  if (!FExtDropDown) return;
  const TExtCustomDropDown& d = *FExtDropDown;
  const TRect client(0, 0, Width(), Height());
  const int w = d.DropDownBorderWidth();
  const TRect r(client.Left + w, client.Top + w, client.Right - w, client.Bottom - w);
  if (d.DropDownColor() != clNone && d.DropDownColorTo() != clNone) {
    DrawDropDownGradient(Canvas, d.DropDownColor(), d.DropDownColorTo(), d.DropDownGradient() == gdHorizontal, r, 80);
  } else if (d.DropDownColor() != clNone) {
    Canvas.Brush()->SetStyle(bsSolid);
    Canvas.Brush()->SetColor(d.DropDownColor());
    Canvas.Pen()->SetStyle(psClear);
    Canvas.FillRect(r);
  }
  if (w > 0) {
    Canvas.Brush()->SetStyle(bsClear);
    Canvas.Pen()->SetStyle(psSolid);
    Canvas.Pen()->SetWidth(w);
    Canvas.Pen()->SetColor(d.DropDownBorderColor());
    Canvas.Rectangle(client.Left + w / 2, client.Top + w / 2, client.Right, client.Bottom);
    Canvas.Pen()->SetWidth(1);
  }
}

void TDropDownForm::Activated(WPARAM State, HWND Other) {
  if (FBlockActivate) return;
  if (State != WA_INACTIVE || !Visible()) return;
  FDeActivate = TickCount();
  // A window inside the popup (a dialog of the hosted control) keeps it open.
  for (TControl* c = FindControl(Other); c; c = c->Parent()) {
    if (c == this) return;
  }
  if (FExtDropDown)
    FExtDropDown->HideDropDown(FCancelOnDeActivate);
  else
    Hide();
}

void TDropDownForm::ResizeFromGrip(const TPoint& Global) {
  const int w = std::max(80, Global.X - Left() + FGripOffset.X);
  const int h = std::max(50, Global.Y - Top() + FGripOffset.Y);
  if (w == Width() && h == Height()) return;
  SetBounds(Left(), Top(), w, h);
  if (OnSizing) OnSizing(this);
}

void TDropDownForm::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_ACTIVATE:
      TPopupForm::Dispatch(M);
      Activated(M.WParam, static_cast<HWND>(M.LParam));
      return;
    case WM_GETDLGCODE:
      M.Result = 5;
      return;
    case WM_PAINT: {
      TPopupForm::Dispatch(M);
      if (Widget()) {
        TCanvas canvas(Widget());
        PaintBackground(canvas);
        canvas.EndPainting();
      }
      return;
    }
    case WM_SIZE:
      TPopupForm::Dispatch(M);
      Invalidate();
      return;
    case WM_NCHITTEST: {
      const TPoint p = ScreenToClient(TPoint(XOf(M.LParam), YOf(M.LParam)));
      M.Result = 0;
      if (FSizeable && p.X > Width() - GripSize && p.X < Width() && p.Y > Height() - GripSize && p.Y < Height())
        M.Result = HTBOTTOMRIGHT;
      return;
    }
    case WM_LBUTTONDOWN: {
      const TPoint p(XOf(M.LParam), YOf(M.LParam));
      const TPoint g = ClientToScreen(p);
      if (Perform(WM_NCHITTEST, 0, MakeLParam(g.X, g.Y)) == HTBOTTOMRIGHT) {
        BeginGripSizing(g);
        SetMouseCapture(true);
        return;
      }
      TPopupForm::Dispatch(M);
      return;
    }
    case WM_MOUSEMOVE:
      if (FGripping) {
        ResizeFromGrip(ClientToScreen(TPoint(XOf(M.LParam), YOf(M.LParam))));
        return;
      }
      TPopupForm::Dispatch(M);
      if (FSizeable && Widget()) {
        const TPoint p(XOf(M.LParam), YOf(M.LParam));
        const bool corner = p.X > Width() - GripSize && p.Y > Height() - GripSize;
        Widget()->setCursor(corner ? Qt::SizeFDiagCursor : Qt::ArrowCursor);
      }
      return;
    case WM_LBUTTONUP:
      if (FGripping) {
        FGripping = false;
        SetMouseCapture(false);
        return;
      }
      TPopupForm::Dispatch(M);
      return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      auto key = static_cast<std::uint16_t>(M.WParam);
      if (OnFormKeyDown) OnFormKeyDown(this, key, KeyDataToShiftState(M.LParam));
      if (key == 0) return;
      TPopupForm::Dispatch(M);
      return;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      auto key = static_cast<std::uint16_t>(M.WParam);
      if (OnFormKeyUp) OnFormKeyUp(this, key, KeyDataToShiftState(M.LParam));
      if (key == 0) return;
      TPopupForm::Dispatch(M);
      return;
    }
    case WM_CHAR: {
      auto ch = static_cast<char16_t>(M.WParam);
      if (OnFormKeyPress) OnFormKeyPress(this, ch);
      if (ch == 0) return;
      TPopupForm::Dispatch(M);
      return;
    }
    case WM_MOUSEWHEEL: {
      TWMMouseWheel w(M);
      const TShiftState shift = KeysToShiftState(M.WParam & 0xFFFF);
      const TPoint pos(XOf(M.LParam), YOf(M.LParam));
      if (w.WheelDelta() < 0 && OnWheelDown) OnWheelDown(shift, pos);
      if (w.WheelDelta() > 0 && OnWheelUp) OnWheelUp(shift, pos);
      M.Result = 1;
      return;
    }
    default:
      TPopupForm::Dispatch(M);
      return;
  }
}

// ---- TExtDropDownSpeedButton ----------------------------------------------------------------------------

TExtDropDownSpeedButton::TExtDropDownSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  FIsWinXP = PlatformFacts().ComCtl32Major > 5;
  FUp = false;
}

void TExtDropDownSpeedButton::SetEtched(bool Value) {
  if (Value == FEtched) return;
  FEtched = Value;
  Invalidate();
}

void TExtDropDownSpeedButton::SetFocused(bool Value) {
  if (Value == FFocused) return;
  FFocused = Value;
  Invalidate();
}

void TExtDropDownSpeedButton::SetButtonStyle(TDropButtonStyle Value) {
  FButtonStyle = Value;
  Invalidate();
}

bool TExtDropDownSpeedButton::ThemesActive() const { return FIsWinXP && IsThemeActive(); }

void TExtDropDownSpeedButton::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case CM_MOUSEENTER:
      FHot = true;
      Invalidate();
      break;
    case CM_MOUSELEAVE:
      FHot = false;
      Invalidate();
      break;
    default: break;
  }
  TGraphicControl::Dispatch(M);
}

void TExtDropDownSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && Enabled()) {
    FDown = true;
    Invalidate();
  }
  TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TExtDropDownSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const bool wasDown = FDown;
  FDown = false;
  if (wasDown) Invalidate();
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  // The container's click fires on the release of the left button.
  if (Button == mbLeft && wasDown) {
    if (auto* container = dynamic_cast<TDropDownEditButton*>(Parent())) {
      if (container->OnClick) container->OnClick(container);
    }
  }
}

int TExtDropDownSpeedButton::ThemeState() const {
  if (!Enabled()) return 4;
  if (DrawnPressed()) return 3;
  if (FHot) return 2;
  return 1;
}

void TExtDropDownSpeedButton::Paint() {
  if (FButtonStyle == bsDropDown)
    PaintDropDownLook();
  else
    PaintButtonLook();
}

void TExtDropDownSpeedButton::PaintDropDownLook() {
  TCanvas& c = *Canvas();
  auto* container = dynamic_cast<TDropDownEditButton*>(Parent());
  auto* drop = container ? dynamic_cast<TExtCustomDropDown*>(container->FocusControl()) : nullptr;
  const TRect r(0, 0, Width(), Height());
  const TColor buttonColor = container ? container->ButtonColor : clNone;
  const std::array<TPoint, 3> arrow{TPoint(5, 7), TPoint(11, 7), TPoint(8, 10)};
  if (buttonColor == clNone && !FGlyph.Empty()) {
    c.Brush()->SetColor(clBtnFace);
    c.Pen()->SetColor(RGB(128, 128, 128));
    c.Rectangle(r);
    FGlyph.SetTransparent(true);
    c.Draw(0, 0, &FGlyph);
    return;
  }
  if (buttonColor == clNone) {
    if (drop) SetEnabled(drop->Enabled() && !drop->ReadOnly());
    const int state = ThemeState();
    if (ThemesActive()) {
      const TRect themed(r.Left, r.Top - 1, r.Right + 1, r.Bottom + 1);
      if (controls::PaintThemePart(c, nullptr, "combobox", 1, state, themed)) return;
    }
    c.Brush()->SetStyle(bsSolid);
    c.Brush()->SetColor(clBtnFace);
    c.FillRect(r);
    TRect edge = r;
    DrawEdge(&c, edge, DrawnPressed() ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    c.Pen()->SetColor(clBtnFace);
    c.MoveTo(Width() - 2, 0);
    c.LineTo(0, 0);
    c.LineTo(0, Height() - 1);
    c.Pen()->SetColor(clWhite);
    c.MoveTo(Width() - 3, 1);
    c.LineTo(1, 1);
    c.LineTo(1, Height() - 2);
    c.Pen()->SetColor(clBlack);
    c.Brush()->SetColor(clBlack);
    c.Polygon(arrow);
    return;
  }
  TColor fill = buttonColor, text = container->ButtonTextColor;
  if (FHot) fill = container->ButtonColorHot, text = container->ButtonTextColorHot;
  if (DrawnPressed()) fill = container->ButtonColorDown, text = container->ButtonTextColorDown;
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(fill);
  c.Pen()->SetStyle(psClear);
  c.FillRect(r);
  c.Pen()->SetStyle(psSolid);
  c.Pen()->SetColor(drop ? drop->BorderColor() : clNone);
  c.MoveTo(0, 0);
  c.LineTo(0, Height());
  c.Pen()->SetColor(text);
  c.Brush()->SetColor(text);
  c.Polygon(arrow);
}

void TExtDropDownSpeedButton::PaintButtonLook() {
  TCanvas& c = *Canvas();
  auto* container = dynamic_cast<TDropDownEditButton*>(Parent());
  auto* drop = container ? dynamic_cast<TExtCustomDropDown*>(container->FocusControl()) : nullptr;
  if (drop) c.Font()->Assign(*drop->Font());
  const TRect r(0, 0, Width(), Height());
  const int shift = DrawnPressed() ? 1 : 0;
  const bool themed = ThemesActive() &&
                      controls::PaintThemePart(c, nullptr, "button", 1, ThemeState(), TRect(0, 0, Width() + 1, Height() + 1));
  if (!themed) {
    c.Brush()->SetStyle(bsSolid);
    c.Brush()->SetColor(clBtnFace);
    c.FillRect(r);
    TRect edge(r.Left, r.Top, r.Right + 1, r.Bottom + 1);
    DrawEdge(&c, edge, DrawnPressed() ? BDR_SUNKENOUTER : (FEtched ? EDGE_ETCHED : EDGE_RAISED), BF_RECT);
  }
  const TRect inner(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
  int textLeft = inner.Left;
  if (!FGlyph.Empty()) {
    const int gx = Caption().isEmpty() ? inner.Left + (inner.Width() - FGlyph.Width()) / 2 : inner.Left + 2;
    const int gy = FGlyph.Height() <= inner.Height() ? inner.Top + (inner.Height() - FGlyph.Height()) / 2 : inner.Top;
    FGlyph.SetTransparent(true);
    c.Draw(gx + shift, gy + shift, &FGlyph);
    textLeft = gx + FGlyph.Width() + 2;
  }
  if (!Caption().isEmpty()) {
    c.Brush()->SetStyle(bsClear);
    TRect tr = FGlyph.Empty() ? TRect(r.Left + 3 + shift, r.Top + 1 + shift, r.Right - 3 + shift, r.Bottom - 1 + shift)
                              : TRect(textLeft, r.Top, r.Right, r.Bottom - 1);
    const unsigned align = FGlyph.Empty() ? DT_CENTER : DT_LEFT;
    c.DrawText(Caption(), tr, align | DT_VCENTER | DT_SINGLELINE);
  }
}

// ---- TDropDownEditButton ------------------------------------------------------------------------------

TDropDownEditButton::TDropDownEditButton(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle.Exclude(csAcceptsControls);
  FControlStyle.Exclude(csSetCaption);
  FControlStyle.Include(csOpaque);
  FButton = new TExtDropDownSpeedButton(this);
  FButton->SetParent(this);
  FButton->SetVisible(true);
  FButton->SetEnabled(Enabled());
  FButton->SetCaption(QString());
  FButton->SetButtonStyle(bsDropDown);
  FButton->SetBounds(0, 0, 16, 25);
  FBWidth = 16;
  SetBounds(Left(), Top(), FBWidth, Height());
}

void TDropDownEditButton::AdjustButtonSize() {
  if (FButton) FButton->SetBounds(0, 0, FBWidth, Height());
}

void TDropDownEditButton::SetBounds(int ALeft, int ATop, int, int AHeight) {
  TWinControl::SetBounds(ALeft, ATop, FBWidth, AHeight);
  AdjustButtonSize();
}

void TDropDownEditButton::Dispatch(TMessage& M) {
  if (M.Msg == WM_SIZE) {
    TWinControl::Dispatch(M);
    if (Width() != FBWidth) SetBounds(Left(), Top(), FBWidth, Height());
    AdjustButtonSize();
    M.Result = 0;
    return;
  }
  TWinControl::Dispatch(M);
}

void TDropDownEditButton::EnabledChanged() {
  if (FButton) FButton->SetEnabled(Enabled());
}

void TDropDownEditButton::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

}  // namespace dropdown
