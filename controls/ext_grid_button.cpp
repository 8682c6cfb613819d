#include "controls/ext_grid_button.h"

#include <QImage>

#include <cmath>

#include "controls/draw_utils.h"
#include "controls/ext_check_box.h"
#include "controls/theme_services.h"
#include "platform/forms/messages.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/classic.h"
#include "platform/graphics/drawtext.h"

namespace controls {

using namespace plat;

namespace {

struct TLook {
  TColor color, colorTo, hot, hotTo, down, downTo, checked, checkedTo, borderDown, borderHot;
  bool rounded;
};

// One row per look; looks 3 and 4 share look 2's hot, down and checked colours.
const TLook kLooks[] = {
    {TColor(0xEDF1F1), TColor(0xDFEBEB), TColor(0xFAFCFC), TColor(0xE5ECED), TColor(0xE0E6E7), TColor(0xD8E0E1),
     TColor(0xFFFFFF), clNone, TColor(0xAF987A), TColor(0xC3CECE), true},
    {clBtnFace, clNone, TColor(0xEED2C1), clNone, TColor(0xE2B598), clNone, TColor(0xE8E6E1), clNone,
     TColor(0xC56A31), TColor(0xC56A31), false},
    {TColor(0xFDEADA), TColor(0xE4AE88), TColor(0xCCF4FF), TColor(0x91D0FF), TColor(0x4E91FE), TColor(0x8ED3FF),
     TColor(0x8ED3FF), TColor(5615103), clBlack, clBlack, false},
    {TColor(0xCFF0EA), TColor(0x8CC0B1), TColor(0xCCF4FF), TColor(0x91D0FF), TColor(0x4E91FE), TColor(0x8ED3FF),
     TColor(0x8ED3FF), TColor(5615103), clBlack, clBlack, false},
    {TColor(0xECE2E1), TColor(0xB39698), TColor(0xCCF4FF), TColor(0x91D0FF), TColor(0x4E91FE), TColor(0x8ED3FF),
     TColor(0x8ED3FF), TColor(5615103), clBlack, clBlack, false},
    {clBtnFace, clNone, clBtnFace, clNone, TColor(0xD8D3D2), clNone, TColor(0xCAC7C7), clNone, clNone, clNone, false},
    {TColor(0xCAFFFF), TColor(0xA6FFFF), TColor(0xA8F0FD), TColor(0x7CE9FC), TColor(0x4DE0FB), TColor(0x7AE9FC),
     TColor(0xB5E6F2), TColor(0x9CDDED), clGray, clGray, false},
};

int Along(int Client, int Item) { return (Client - Item + 1) / 2; }

}  // namespace

TButtonLayoutResult LayoutGlyphAndCaption(TSize Client, TSize GlyphSize, TSize CaptionSize, TExtButtonLayout Layout,
                                          int Margin, int Spacing) {
  const bool horizontal = Layout == eblGlyphLeft || Layout == eblGlyphRight;
  const int client = horizontal ? Client.cx : Client.cy;
  const int glyph = horizontal ? GlyphSize.cx : GlyphSize.cy;
  const int caption = horizontal ? CaptionSize.cx : CaptionSize.cy;
  if (caption == 0 || glyph == 0) Spacing = 0;
  if (Margin == -1 && Spacing == -1) {
    Margin = (client - glyph - caption) / 3;
    Spacing = Margin;
  } else if (Margin == -1) {
    Margin = (client - (glyph + Spacing + caption) + 1) / 2;
  } else if (Spacing == -1) {
    Spacing = (client - Margin - glyph - caption) / 2;
  }
  TButtonLayoutResult r;
  r.Glyph = {Along(Client.cx, GlyphSize.cx), Along(Client.cy, GlyphSize.cy)};
  r.Caption = {Along(Client.cx, CaptionSize.cx), Along(Client.cy, CaptionSize.cy)};
  switch (Layout) {
    case eblGlyphLeft: r.Glyph.X = Margin, r.Caption.X = Margin + glyph + Spacing; break;
    case eblGlyphRight: r.Glyph.X = Client.cx - Margin - glyph, r.Caption.X = r.Glyph.X - Spacing - caption; break;
    case eblGlyphTop: r.Glyph.Y = Margin, r.Caption.Y = Margin + glyph + Spacing; break;
    case eblGlyphBottom: r.Glyph.Y = Client.cy - Margin - glyph, r.Caption.Y = r.Glyph.Y - Spacing - caption; break;
  }
  return r;
}

TExtGridButton::TExtGridButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Exclude(csClickEvents);  // the release decides about the click
  SetBounds(Left(), Top(), 22, 23);
}

TExtGridButton::~TExtGridButton() = default;

void TExtGridButton::SetLook(int Value) {
  if (Value < 0 || Value >= int(std::size(kLooks))) return;
  FLook = Value;
  const TLook& l = kLooks[Value];
  SetColor(l.color);
  ColorTo = l.colorTo, ColorHot = l.hot, ColorHotTo = l.hotTo, ColorDown = l.down, ColorDownTo = l.downTo;
  ColorChecked = l.checked, ColorCheckedTo = l.checkedTo;
  BorderColor = clNone;
  BorderDownColor = l.borderDown, BorderHotColor = l.borderHot;
  FFlat = true;
  FRounded = l.rounded;
  Invalidate();
}

void TExtGridButton::SetAutoThemeAdapt(bool Value) {
  FAutoThemeAdapt = Value;
  if (Value) ThemeAdapt();
}

void TExtGridButton::ThemeAdapt() {
  switch (XPColorScheme()) {
    case 1: SetLook(2); break;  // blue
    case 2: SetLook(3); break;  // green (HomeStead)
    case 3: SetLook(4); break;  // grey (Metallic)
    default: SetLook(1); break;
  }
}

void TExtGridButton::Loaded() {
  TGraphicControl::Loaded();
  if (FShaded) MakeShade();
  if (FAutoThemeAdapt) ThemeAdapt();
}

// ---------------------------------------------------------------- action and menu

TExtGridButtonActionLink::TExtGridButtonActionLink(TExtGridButton* Client) : TControlActionLink(Client) {}

TExtGridButton* TExtGridButtonActionLink::Button() const { return static_cast<TExtGridButton*>(FClient); }

bool TExtGridButtonActionLink::IsCheckedLinked() const {
  const TExtGridButton* b = Button();
  return TControlActionLink::IsCheckedLinked() && b->GroupIndex() != 0 && b->AllowAllUp() &&
         b->Down() == CustomAction()->Checked();
}

bool TExtGridButtonActionLink::IsGroupIndexLinked() const {
  return TControlActionLink::IsGroupIndexLinked() && Button()->GroupIndex() == CustomAction()->GroupIndex();
}

void TExtGridButtonActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) Button()->SetDown(Value);
}

void TExtGridButtonActionLink::SetGroupIndex(int Value) {
  if (IsGroupIndexLinked()) Button()->SetGroupIndex(Value);
}

// A new action hands the button its caption, state, hint, visibility, group and checked state.
void TExtGridButton::SetAction(TBasicAction* Value) {
  if (!Value) {
    FActionLink.reset();
    return;
  }
  if (!FActionLink) FActionLink = std::make_unique<TExtGridButtonActionLink>(this);
  FActionLink->SetAction(Value);
  if (auto* a = dynamic_cast<TCustomAction*>(Value)) ActionChange(a);
}

void TExtGridButton::ActionChange(TCustomAction* A) {
  SetCaption(A->Caption());
  SetEnabled(A->Enabled());
  SetHint(A->Hint());
  SetVisible(A->Visible());
  SetGroupIndex(A->GroupIndex());
  SetDown(A->Checked());
}

void TExtGridButton::Click() {
  if (OnClick || !FActionLink || !FActionLink->Action())
    TGraphicControl::Click();
  else
    FActionLink->Execute();
}

void TExtGridButton::SetDropDownMenu(TPopupMenu* Value) {
  if (FDropDownMenu == Value) return;
  if (FDropDownMenu) FDropDownMenu->RemoveFreeNotification(this);
  FDropDownMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TExtGridButton::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDropDownMenu) FDropDownMenu = nullptr;
}

// ---------------------------------------------------------------- glyphs

void TExtGridButton::SetGlyph(const TBitmap& Value) {
  FGlyph.Assign(Value);
  if (FGlyphDisabled.Empty() && !FGlyph.Empty()) {
    QImage img = FGlyph.Image().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        const QRgb p = img.pixel(x, y);
        const int grey = 96 + int(std::lrint((qRed(p) + qGreen(p) + qBlue(p)) / 3.0)) / 2;
        img.setPixel(x, y, qRgba(grey, grey, grey, qAlpha(p)));
      }
    FGlyphDisabled.SetImage(img);
  }
  if (FShaded) MakeShade();
  Invalidate();
}

// The glyph's shape in grey on its transparent colour (the bottom-left pixel).
void TExtGridButton::MakeShade() {
  if (FGlyph.Empty()) {
    FGlyphShade.SetSize(0, 0);
    return;
  }
  QImage img = FGlyph.Image().convertToFormat(QImage::Format_ARGB32);
  const QRgb transparent = img.pixel(0, img.height() - 1);
  const QRgb grey = ToQColor(clGray).rgba();
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) != transparent) img.setPixel(x, y, grey);
  FGlyphShade.SetImage(img);
  FGlyphShade.SetTransparentColor(FromQColor(QColor::fromRgba(transparent)));
  FGlyphShade.SetTransparent(true);
}

const TBitmap& TExtGridButton::GlyphNow() const {
  if (!Enabled()) return FGlyphDisabled.Empty() ? FGlyph : FGlyphDisabled;
  if (FState == ebsDown || FState == ebsExclusive) return FGlyphDown.Empty() ? FGlyph : FGlyphDown;
  if (FMouseInControl) return FGlyphHot.Empty() ? FGlyph : FGlyphHot;
  return FGlyph;
}

// ---------------------------------------------------------------- settings

void TExtGridButton::SetFlat(bool Value) { Change(FFlat, Value); }
void TExtGridButton::SetShowCaption(bool Value) { Change(FShowCaption, Value); }
void TExtGridButton::SetSpacing(int Value) { Change(FSpacing, Value); }
void TExtGridButton::SetLayout(TExtButtonLayout Value) { Change(FLayout, Value); }
void TExtGridButton::SetStyle(TExtGridButtonKind Value) { Change(FStyle, Value); }
void TExtGridButton::SetRounded(bool Value) { Change(FRounded, Value); }
void TExtGridButton::SetDropDownButton(bool Value) { Change(FDropDownButton, Value); }

void TExtGridButton::SetMargin(int Value) {
  if (Value < -1) return;
  Change(FMargin, Value);
}

void TExtGridButton::SetShaded(bool Value) {
  FShaded = Value;
  if (Value) MakeShade();
}

void TExtGridButton::SetDown(bool Value) {
  if (FGroupIndex == 0 && FStyle != tasCheck) Value = false;
  if (FStyle == tasCheck) {
    FDown = Value;
    Repaint();
    return;
  }
  if (Value == FDown || (FDown && !FAllowAllUp)) return;
  FDown = Value;
  if (Value) {
    FState = ebsExclusive;
    Invalidate();
    TellGroup();
  } else {
    FState = ebsUp;
    Repaint();
  }
}

void TExtGridButton::SetGroupIndex(int Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  TellGroup();
}

void TExtGridButton::SetAllowAllUp(bool Value) {
  if (FAllowAllUp == Value) return;
  FAllowAllUp = Value;
  TellGroup();
}

void TExtGridButton::TellGroup() {
  if (FGroupIndex == 0 || !Parent()) return;
  TMessage m{CM_BUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(reinterpret_cast<std::intptr_t>(this)), 0};
  Parent()->Broadcast(m);
}

void TExtGridButton::ButtonPressed(int Group, TExtGridButton* Sender) {
  if (Group != FGroupIndex || Sender == this || !Sender) return;
  if (Sender->Down() && FDown) {
    FDown = false;
    FState = ebsUp;
    if (FActionLink)
      if (TCustomAction* a = FActionLink->CustomAction()) a->SetChecked(false);
    Invalidate();
  }
  FAllowAllUp = Sender->AllowAllUp();
}

// ---------------------------------------------------------------- mouse

void TExtGridButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  if (FDropDownButton && X >= ClientWidth() - 12) {
    FState = ebsUp;
    if (OnDropDown) OnDropDown(this);
    if (FDropDownMenu) {
      const TPoint at = Parent() ? Parent()->ClientToScreen({Left(), Top() + Height()}) : ClientToScreen({0, Height()});
      FDropDownMenu->Popup(at.X, at.Y);
    }
    return;
  }
  if (!FDown) {
    FState = ebsDown;
    Invalidate();
  }
  if (FStyle == tasCheck) {
    FState = ebsDown;
    Repaint();
  }
  FDragging = true;
}

void TExtGridButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FDragging) return;
  TExtButtonState s = FDown ? ebsExclusive : ebsUp;
  if (InClient(X, Y)) s = FDown ? ebsExclusive : ebsDown;
  if (FStyle == tasCheck && FDown) s = ebsDown;
  if (s != FState) {
    FState = s;
    Invalidate();
  }
}

void TExtGridButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FDragging) return;
  FDragging = false;
  const bool inside = InClient(X, Y);
  if (FGroupIndex == 0) {
    FState = ebsUp;
    if (FStyle == tasCheck && inside) {
      FDown = !FDown;
      FState = ebsUp;
    }
    if (inside && !FDown) Invalidate();
  } else if (inside) {
    SetDown(!FDown);
    if (FDown) Repaint();
  } else if (FDown) {
    FState = ebsExclusive;
    Repaint();
  }
  if (inside) Click();
}

void TExtGridButton::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case CM_MOUSEENTER:
      if (!FMouseInControl && Enabled() && !MouseCapture()) {
        FMouseInControl = true;
        Repaint();
      }
      if (OnMouseEnter) OnMouseEnter(this);
      return;
    case CM_MOUSELEAVE:
      if (FMouseInControl && Enabled() && !FDragging) {
        FMouseInControl = false;
        Invalidate();
      }
      if (OnMouseLeave) OnMouseLeave(this);
      return;
    case CM_BUTTONPRESSED:
      ButtonPressed(int(M.WParam), reinterpret_cast<TExtGridButton*>(std::intptr_t(M.LParam)));
      return;
    case CM_DIALOGCHAR:
      if (Enabled() && Visible() && Parent() && Parent()->Showing() &&
          IsCaptionAccel(char16_t(M.WParam), Caption())) {
        Click();
        M.Result = 1;
        return;
      }
      break;
    case CM_ENABLEDCHANGED:
      FMouseInControl = false;
      Invalidate();
      break;
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
    case CM_SYSCOLORCHANGE:
      Invalidate();
      break;
    case WM_LBUTTONDBLCLK:
      TGraphicControl::Dispatch(M);
      if (FDown) DblClick();  // a pressed group button reports the double click once more
      return;
    case WM_THEMECHANGED:
    case CM_WININICHANGE:  // the desktop's settings changed: its colour scheme may be another
      if (FAutoThemeAdapt) ThemeAdapt();
      break;
    default:
      break;
  }
  TGraphicControl::Dispatch(M);
}

// ---------------------------------------------------------------- painting

void TExtGridButton::Fill(TCanvas& C, TRect R, TColor From, TColor To, TColor Pen) {
  if (To == clNone) {
    C.Brush()->SetStyle(bsSolid);
    C.Brush()->SetColor(From);
    C.FillRect(R);
  } else {
    FillGradientBands(C, From, To, 16, R, false);
  }
  if (Pen != clNone && !FRounded) {
    C.Brush()->SetStyle(bsClear);
    C.Pen()->SetColor(Pen);
    C.Pen()->SetWidth(1);
    C.Rectangle(R);
    C.Brush()->SetStyle(bsSolid);
  }
}

void TExtGridButton::PaintFlat(TCanvas& C, TRect& R) {
  if (BorderDownColor == clNone || FRounded) InflateRect(R, -1, -1);
  const bool checked = FStyle == tasCheck && FDown;
  if (!FMouseInControl || !Enabled()) {
    if (checked)
      Fill(C, R, ColorChecked, ColorCheckedTo, BorderDownColor);
    else
      Fill(C, R, ColorToRGB(Color()), ColorTo, BorderColor);
  } else {
    const bool pressed = FState == ebsDown;
    TColor from = pressed ? ColorDown : ColorHot, to = pressed ? ColorDownTo : ColorHotTo;
    TColor pen = pressed ? BorderDownColor : BorderHotColor;
    if (checked && !pressed) from = ColorChecked, to = ColorCheckedTo, pen = BorderDownColor;
    Fill(C, R, from, to, pen);
    if (FRounded) {
      C.Brush()->SetStyle(bsClear);
      C.Pen()->SetColor(pressed ? BorderDownColor : BorderHotColor);
      C.RoundRect(TRect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1), 8, 8);
      C.Brush()->SetStyle(bsSolid);
    }
    if (FDropDownButton) {
      C.Pen()->SetColor(pressed ? BorderDownColor : BorderHotColor);
      C.MoveTo(R.Right - 12, R.Top);
      C.LineTo(R.Right - 12, R.Bottom);
    }
  }
  if (FRounded && BorderColor != clNone && !FMouseInControl) {
    C.Brush()->SetStyle(bsClear);
    C.Pen()->SetColor(BorderColor);
    C.RoundRect(TRect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1), 8, 8);
    C.Brush()->SetStyle(bsSolid);
  }
  InflateRect(R, -1, -1);
}

// A button that is not flat: the themed push button with AutoXPStyle and themes on, else the classic frame.
void TExtGridButton::PaintThemed(TCanvas& C, TRect& R) {
  const bool pushed = FState == ebsDown || FState == ebsExclusive;
  if (AutoXPStyle && ComCtl32Version6OrLater() && plat::IsThemeActive()) {
    const int state = pushed ? PBS_PRESSED : FMouseInControl ? PBS_HOT : PBS_NORMAL;
    if (!PaintThemePart(C, Parent(), "button", BP_PUSHBUTTON, state, R))
      DrawFrameControl(&C, R, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0u));
  } else {
    DrawFrameControl(&C, R, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0u));
  }
  InflateRect(R, -2, -2);
}

void TExtGridButton::Paint() {
  if (!Enabled()) {
    FState = ebsDisabled;
    FDragging = false;
  } else if (FState == ebsDisabled) {
    FState = FDown && FGroupIndex != 0 ? ebsExclusive : ebsUp;
  }
  if (FStyle == tasCheck && FDown) FState = ebsDown;
  TCanvas& C = *Canvas();
  C.Font()->Assign(Font());
  TRect R = ClientRect();
  if (FFlat) {
    PaintFlat(C, R);
  } else {
    PaintThemed(C, R);
  }
  TPoint offset{0, 0};
  if (FState == ebsDown || FState == ebsExclusive) {
    if (FState == ebsExclusive && (!FFlat || !FMouseInControl))
      Fill(C, TRect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1), ColorChecked, ColorCheckedTo,
           FDown ? BorderDownColor : BorderColor);
    if (!FFlat) offset = {1, 1};
  } else if (FFlat && FMouseInControl && Enabled() && FShaded) {
    offset = {-1, -1};
  }
  PaintContent(C, R, offset);
}

void TExtGridButton::PaintContent(TCanvas& C, TRect R, TPoint Offset) {
  if (FDropDownButton) {
    const int m = R.Top + (R.Bottom - R.Top) / 2;
    const TPoint tri[3] = {{R.Right - 8, m - 1}, {R.Right - 4, m - 1}, {R.Right - 6, m + 1}};
    C.Pen()->SetColor(C.Font()->Color());
    C.Brush()->SetColor(C.Font()->Color());
    C.Polygon(tri);
  }
  const TBitmap& glyph = GlyphNow();
  const QString caption = FShowCaption ? Caption() : QString();
  const TSize captionSize = caption.isEmpty() ? TSize{0, 0} : TSize{C.TextWidth(caption), C.TextHeight(caption)};
  const int clientW = ClientWidth() - (FDropDownButton ? 12 : 0);
  TButtonLayoutResult at{{0, 0}, {0, 0}};
  if (!caption.isEmpty())
    at = LayoutGlyphAndCaption({clientW, ClientHeight()}, {glyph.Width(), glyph.Height()}, captionSize, FLayout,
                               FMargin, FSpacing);
  at.Glyph.X += Offset.X, at.Glyph.Y += Offset.Y;
  at.Caption.X += Offset.X, at.Caption.Y += Offset.Y;
  if (!glyph.Empty()) {
    if (FMouseInControl && FShaded && Enabled() && FState != ebsDown && !FGlyphShade.Empty()) {
      const int d = caption.isEmpty() ? 0 : 2;
      C.Draw(at.Glyph.X + d, at.Glyph.Y + d, const_cast<TBitmap*>(&FGlyphShade));
    }
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(glyph);
    copy->SetTransparent(true);
    C.Draw(at.Glyph.X, at.Glyph.Y, copy.get());
  }
  if (caption.isEmpty()) return;
  C.Brush()->SetStyle(bsClear);
  if (FFlat && FMouseInControl && FShaded && Enabled() && FState != ebsDown) at.Caption.X += 1, at.Caption.Y += 1;
  if (!Enabled()) {
    C.Font()->SetColor(clBtnHighlight);
    C.TextOut(at.Caption.X + 1, at.Caption.Y + 1, caption);
    C.Font()->SetColor(clBtnShadow);
  }
  C.TextOut(at.Caption.X, at.Caption.Y, caption);
  C.Brush()->SetStyle(bsSolid);
}

}  // namespace controls
