#include "controls/ext_check_box.h"

#include "controls/draw_utils.h"
#include "controls/theme_services.h"

#include "platform/forms/keys.h"
#include "platform/forms/messages.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/classic.h"
#include "platform/graphics/drawtext.h"

namespace controls {

using namespace plat;

bool IsCaptionAccel(char16_t Key, const QString& Caption) {
  int at = -1;
  const QString plain = StripAccelChars(Caption, &at);
  return at >= 0 && at < plain.size() && QChar(Key).toUpper() == plain[at].toUpper();
}

TExtCheckBox::TExtCheckBox(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle.Exclude(csClickEvents);  // one click per toggle, from the release or the key
  SetBounds(Left(), Top(), 98, 20);
  SetText(QStringLiteral("TExtCheckBox"));
  SetTabStop(true);
}

TExtCheckBox::~TExtCheckBox() = default;

void TExtCheckBox::Toggle() {
  if (!ReadOnly) SetChecked(!Checked());
}

void TExtCheckBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (FTransparent) FBkgBmp.reset();
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TExtCheckBox::SetState(TCheckBoxState Value) {
  if (FState == Value) return;
  FState = Value;
  InvalidateBox();
}

void TExtCheckBox::SetChecked(bool Value) {
  SetState(Value ? cbChecked : cbUnchecked);
  Invalidate();
}

void TExtCheckBox::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Invalidate();
}

void TExtCheckBox::SetButtonVertAlign(TTextLayout Value) {
  FBtnVAlign = Value;
  Invalidate();
}

void TExtCheckBox::SetEllipsis(bool Value) {
  FEllipsis = Value;
  Invalidate();
}

void TExtCheckBox::SetTransparent(bool Value) {
  if (FTransparent != Value) FBkgBmp.reset();
  FTransparent = Value;
  Invalidate();
}

bool TExtCheckBox::Themed() const {
  return IsWindowsXPOrLater() && plat::IsThemeActive() && ComCtl32Version6OrLater();
}

// With themes a 14 x 14 themed box, else the classic 13 x 13 one: at the left or right edge, at the top,
// centre or bottom.
TRect TExtCheckBox::BoxRect() const {
  const bool themed = Themed();
  const int size = themed ? 14 : 13;
  const int x = FAlignment == taRightJustify ? ClientWidth() - (themed ? 15 : 13) : 0;
  const int bottom = themed ? ClientHeight() - 14 : ClientHeight() - 17;
  const int y = FBtnVAlign == tlTop ? 4 : FBtnVAlign == tlCenter ? ClientHeight() / 2 - 6 : bottom;
  return TRect(x, y, x + size, y + size);
}

// The theme state: the check state picks the row (unchecked, checked, mixed), then disabled, pressed, hot or
// normal within it.
int TExtCheckBox::ThemeState() const {
  const int base = FState == cbChecked ? CBS_CHECKEDNORMAL : FState == cbGrayed ? CBS_MIXEDNORMAL : CBS_UNCHECKEDNORMAL;
  if (!Enabled()) return base + 3;
  if (FDown) return base + 2;
  if (FHot) return base + 1;
  return base;
}

void TExtCheckBox::PaintBox(TCanvas& C) {
  if (Themed() && PaintThemePart(C, Parent(), "button", BP_CHECKBOX, ThemeState(), BoxRect())) return;
  unsigned flags = DFCS_BUTTONCHECK;
  if (FState == cbChecked) flags |= DFCS_CHECKED;
  if (!Enabled() || FState == cbGrayed) flags |= DFCS_INACTIVE;
  if (FDown) flags |= DFCS_PUSHED;
  DrawFrameControl(&C, BoxRect(), DFC_BUTTON, flags);
}

void TExtCheckBox::Paint() {
  TCanvas& C = *Canvas();
  if (!FTransparent) {
    C.Brush()->SetColor(Color());
    C.FillRect(ClientRect());
  }
  PaintBox(C);
  TRect r = ClientRect();
  if (FAlignment == taRightJustify) {
    r.Left = 0;
    r.Right -= 9;
  } else {
    r.Left += 9;
  }
  r.Top += 4;
  r.Left += 6;
  C.Font()->Assign(Font());
  C.Brush()->SetStyle(bsClear);
  const unsigned text = DT_LEFT | DT_SINGLELINE | (FEllipsis ? DT_END_ELLIPSIS : 0u);
  if (!Enabled()) {
    TRect shadow = r;
    OffsetRect(shadow, 1, 1);
    C.Font()->SetColor(clWhite);
    C.DrawText(Caption(), shadow, text);
    C.Font()->SetColor(clGray);
  }
  C.DrawText(Caption(), r, text);
  if (FFocused) {
    const int w = C.TextWidth(Caption()), h = C.TextHeight(Caption());
    C.Brush()->SetStyle(bsSolid);
    C.DrawFocusRect(TRect(r.Left - 2, r.Top, r.Left + w + 1, r.Top + h + 1));
  }
}

void TExtCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FMouseDown = true;
  if (!Focused() && CanFocus()) SetFocus();
  SetMouseCapture(true);
  FDown = true;
  InvalidateBox();
}

void TExtCheckBox::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (!MouseCapture()) return;
  const bool down = Inside(X, Y);
  if (down != FDown) {
    FDown = down;
    InvalidateBox();
  }
}

void TExtCheckBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const bool pressed = FMouseDown;
  FMouseDown = false;
  SetMouseCapture(false);
  FDown = false;
  if (Button == mbLeft && pressed && Inside(X, Y) && (Focused() || !CanFocus())) {
    FClicksDisabled = true;
    Toggle();
    FClicksDisabled = false;
    ClickNow();
  }
  InvalidateBox();
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

// The platform's own click of a mouse release is left out (csClickEvents is off): one click per toggle.
void TExtCheckBox::ClickNow() {
  if (!FClicksDisabled) Click();
}

void TExtCheckBox::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (Key == VK_RETURN && ReturnIsTab) {
    Key = 0;
    Perform(WM_KEYDOWN, VK_TAB, 0);
    return;
  }
  if (Key == VK_SPACE) {
    FDown = true;
    InvalidateBox();
  }
  TCustomControl::KeyDown(Key, Shift);
}

void TExtCheckBox::KeyUp(std::uint16_t& Key, TShiftState Shift) {
  if (Key == VK_SPACE) {
    FDown = false;
    Toggle();
    ClickNow();
  }
  TCustomControl::KeyUp(Key, Shift);
}

void TExtCheckBox::DoEnter() {
  FFocused = true;
  Invalidate();
  TCustomControl::DoEnter();
}

void TExtCheckBox::DoExit() {
  FFocused = false;
  Invalidate();
  TCustomControl::DoExit();
}

LRESULT TExtCheckBox::DefaultDlgCode() const { return ReturnIsTab ? DLGC_WANTALLKEYS : 0; }

void TExtCheckBox::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      FHot = M.Msg == CM_MOUSEENTER;
      InvalidateBox();
      break;
    case CM_DIALOGCHAR:
      // The caption's accelerator toggles, and takes the focus for a tab stop.
      if (CanFocus() && IsCaptionAccel(char16_t(M.WParam), Caption())) {
        Toggle();
        if (TabStop()) SetFocus();
        ClickNow();
        M.Result = 1;
        return;
      }
      break;
    default:
      break;
  }
  TCustomControl::Dispatch(M);
}

}  // namespace controls
