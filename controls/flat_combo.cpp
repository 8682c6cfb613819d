#include "controls/flat_combo.h"

#include <QPainter>
#include <QWidget>

#include "controls/draw_utils.h"
#include "controls/theme_services.h"
#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/classic.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/themes.h"

namespace controls {

using namespace plat;

namespace {
constexpr TColor DisabledThemedBorder = TColor(0xB99D7F);
}

bool ComboFrameColour(bool DisabledThemed, bool Focused, TColor FocusBorderColor, TColor BorderColor, TColor& Frame) {
  Frame = clNone;
  if (DisabledThemed)
    Frame = DisabledThemedBorder;
  else if (Focused && FocusBorderColor != clNone)
    Frame = FocusBorderColor;
  else if (BorderColor != clNone)
    Frame = BorderColor;
  else if (FocusBorderColor != clNone)
    return false;
  return true;
}

TRect PaintComboFrame(TCanvas& C, int Width, int Height, int ButtonWidth, TColor Frame, TColor ParentColor,
                      TColor ControlColor) {
  C.Brush()->SetStyle(bsSolid);
  const TRect innermost(2, 2, Width - ButtonWidth - 1, Height - 2);
  if (Frame != clNone) {
    C.Brush()->SetColor(Frame);
    C.FrameRect(TRect(0, 0, Width, Height));
    return innermost;
  }
  C.Brush()->SetColor(ParentColor);
  C.FrameRect(TRect(0, 0, Width, Height));
  C.FrameRect(TRect(1, 1, Width - ButtonWidth, Height - 1));
  C.Brush()->SetColor(ControlColor);
  C.FrameRect(innermost);
  return innermost;
}

void PlaceAttachedLabel(TLabel& Label, const TControl& Control, TLabelPosition Position, int Margin) {
  TBitmap probe(1, 1);
  probe.Canvas()->Font()->Assign(*Label.Font());
  TRect r(0, 0, 1000, 255);
  probe.Canvas()->DrawText(Label.Caption(), r, DT_CALCRECT | DT_SINGLELINE | DT_HIDEPREFIX);
  const int w = r.Width(), h = Label.Height(), lw = Label.Width();
  const int L = Control.Left(), T = Control.Top(), W = Control.Width(), H = Control.Height(), M = Margin;
  int top = T, left = L - w - M;
  switch (Position) {
    case lpLeftTop: break;
    case lpLeftCenter: top = T + (H - h) / 2; break;
    case lpLeftBottom: top = T + H - h; break;
    case lpTopLeft: top = T - h - M, left = L; break;
    case lpBottomLeft: top = T + H + M, left = L; break;
    case lpLeftTopLeft: left = L - M; break;
    case lpLeftCenterLeft: top = T + (H - h) / 2, left = L - M; break;
    case lpLeftBottomLeft: top = T + H - h, left = L - M; break;
    case lpTopCenter: top = T - h - M, left = L + (W - lw) / 2; break;
    case lpBottomCenter: top = T + H + M, left = L + (W - lw) / 2; break;
    case lpRightTop: left = L + W + M; break;
    case lpRightCenter: top = T + (H - h) / 2, left = L + W + M; break;
    case lpRighBottom: top = T + H - h, left = L + W + M; break;
  }
  Label.SetBounds(left, top, Label.Width(), Label.Height());
}

TEsgCustomCombo::TEsgCustomCombo(TComponent* AOwner)
    : TComboBox(AOwner), FLabelFont(std::make_unique<TFont>()) {
  FLabelFont->OnChange = [this](TObject*) { PlaceLabel(); };
}

TEsgCustomCombo::~TEsgCustomCombo() {
  FLabelFont->OnChange = nullptr;
  if (FLabel && !FLabel->ComponentState().Contains(csDestroying)) delete FLabel;
  FLabel = nullptr;
}

// ---- settings -------------------------------------------------------------------------------------------------

void TEsgCustomCombo::SetButtonWidth(int v) {
  if (v < 14 || v > 32) return;
  FButtonWidth = v;
  Invalidate();
}

void TEsgCustomCombo::SetFlat(bool v) {
  FFlat = v;
  if (FFlatParentColor && FFlat && Parent())
    SetColor(Parent()->Color());
  else
    SetColor(FLoadedColor);
  Invalidate();
}

void TEsgCustomCombo::SetEtched(bool v) {
  FEtched = v;
  Invalidate();
}

void TEsgCustomCombo::SetFlatLineColor(TColor v) {
  FFlatLineColor = v;
  Invalidate();
}

void TEsgCustomCombo::SetFlatParentColor(bool v) {
  FFlatParentColor = v;
  Invalidate();
}

void TEsgCustomCombo::SetBorderColor(TColor v) {
  FBorderColor = v;
  Invalidate();
}

void TEsgCustomCombo::SetFocusBorderColor(TColor v) {
  FFocusBorderColor = v;
  Invalidate();
}

void TEsgCustomCombo::SetDisabledBorder(bool v) {
  FDisabledBorder = v;
  Invalidate();
}

void TEsgCustomCombo::SetDropWidth(int v) {
  FDropWidth = v;
  if (v > 0) SetDroppedWidth(v);
}

void TEsgCustomCombo::SetIsWinXP(bool v) {
  FIsWinXP = v;
  Invalidate();
}

void TEsgCustomCombo::SelectItem(const QString& AString) {
  const int i = Items()->IndexOf(AString);
  if (i >= 0) SetItemIndex(i);
}

void TEsgCustomCombo::Loaded() {
  TComboBox::Loaded();
  FOldColor = FLoadedColor;
  if (!FFlatParentColor || FFlat) SetColor(FLoadedColor);
  if (FLabel) {
    if (!FLabelAlwaysEnabled) FLabel->SetEnabled(Enabled());
    if (ParentFont()) FLabel->Font()->Assign(*Font());
  }
  if (FDropWidth > 0) SetDroppedWidth(FDropWidth);
  PlaceLabel();
  Init();
}

// ---- painting -------------------------------------------------------------------------------------------------

bool TEsgCustomCombo::Themed() const {
  return PlatformFacts().ComCtl32Major > 5 && PlatformFacts().ThemesActive && XPVS().Loaded;
}

bool TEsgCustomCombo::MouseButtonHeld() const { return GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0; }

bool TEsgCustomCombo::OwnLook() const {
  if (IsVista && ButtonColor == clNone) return false;
  return FFlat || ButtonColor != clNone || FBorderColor != clNone || (FFocusBorderColor != clNone && FHasFocus) ||
         (!Enabled() && Themed() && !FDisabledBorder);
}

void TEsgCustomCombo::DrawButton(TCanvas& C) {
  const int W = Width(), H = Height();
  TRect R(W - FButtonWidth + 2 + 1, 1, W - 1, H - 1);
  const bool held = MouseButtonHeld();
  if (ButtonColor == clNone) {
    if (Themed()) {
      int state = CBXS_HOT;
      if (!Enabled())
        state = CBXS_DISABLED;
      else if (held && DroppedDown())
        state = CBXS_PRESSED;
      else if (held || !FButtonHover || DroppedDown())
        state = CBXS_NORMAL;
      PaintThemePart(C, this, "combobox", CP_DROPDOWNBUTTON, state, R);
    } else {
      DrawFrameControl(&C, TRect(R.Left - 4, R.Top + 1, R.Right, R.Bottom - 1), DFC_SCROLL,
                       DFCS_SCROLLCOMBOBOX | (Enabled() ? DFCS_FLAT : DFCS_INACTIVE));
    }
    return;
  }
  PaintFlatDropButton(C, TRect(R.Left - 1, R.Top + 1, R.Right - 1, R.Bottom - 1), R, R.Left + 4, FButtonHover, held);
}

void TEsgCustomCombo::DrawBorders(TCanvas& C) {
  if ((Enabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone) ||
      (IsVista && FBorderColor == clNone))
    return;
  const int W = Width(), H = Height();
  TColor frame = clNone;
  if (!ComboFrameColour(!Enabled() && Themed() && !FDisabledBorder, FHasFocus, FFocusBorderColor, FBorderColor, frame))
    return;
  const TRect innermost =
      PaintComboFrame(C, W, H, FButtonWidth, frame, Parent() ? Parent()->Color() : clBtnFace, Color());
  if (frame == clNone && FFlat && FFlatLineColor != clNone) {
    C.Pen()->SetColor(FFlatLineColor);
    C.MoveTo(innermost.Left - 2, H - 1);
    C.LineTo(innermost.Right - FButtonWidth - 1, H - 1);
  }
  if (Style() == csSimple || (FIsWinXP && Themed())) return;
  TCustomForm* form = GetParentForm(this);
  const bool active = form && form->ActiveControl() == this;
  if (!FMouseInControl && !active) {
    // Outside the arrow itself, the button's raised edge gives way to a flat face.
    C.SaveDC();
    C.ExcludeClipRect(TRect(W - FButtonWidth + 4, 4, W - 4, H - 4));
    C.Brush()->SetColor(clBtnFace);
    C.FillRect(TRect(W - FButtonWidth - 2 + 2, 2, W - 2 - 1, H - 2 - 1));
    C.RestoreDC(-1);
  }
}

void TEsgCustomCombo::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_PAINT: {
      TComboBox::Dispatch(M);  // the platform's look first
      if (!OwnLook() || !Widget()) return;
      QPainter painter(Widget());
      TCanvas canvas;
      canvas.SetPainter(&painter);
      const bool leftToRight = Widget()->layoutDirection() == Qt::LeftToRight;
      if (leftToRight && Style() != csSimple) DrawButton(canvas);
      if (leftToRight) DrawBorders(canvas);
      canvas.SetPainter(nullptr);
      return;
    }
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      FMouseInControl = M.Msg == CM_MOUSEENTER;
      if (!FMouseInControl) FButtonHover = false;
      Invalidate();
      break;
    case CM_ENTER:
    case CM_EXIT:
      if (!ComponentState().Contains(csDesigning)) FocusChanged(M.Msg == CM_ENTER);
      break;
    default: break;
  }
  TComboBox::Dispatch(M);
}

void TEsgCustomCombo::DropDownShown() {
  TComboBox::DropDownShown();
  Invalidate();
}

void TEsgCustomCombo::DropDownHidden() {
  TComboBox::DropDownHidden();
  Invalidate();
  if (OnDropUp) OnDropUp(this);
}

void TEsgCustomCombo::MouseMove(TShiftState Shift, int X, int Y) {
  TComboBox::MouseMove(Shift, X, Y);
  const bool over = X >= Width() - FButtonWidth && X < Width();
  if (over != FButtonHover) {
    FButtonHover = over;
    Invalidate();
  }
}

// ---- focus, enabling and colours ------------------------------------------------------------------------------

void TEsgCustomCombo::FocusChanged(bool Entering) {
  FHasFocus = Entering;
  if (Entering) {
    if (FFocusColor != clNone) SetColor(FFocusColor);
  } else if (FFocusColor != clNone && FNormalColor != clNone) {
    SetColor(FNormalColor);
  }
  if (FFocusLabel) LabelBold(Entering);
  Invalidate();
}

void TEsgCustomCombo::LabelBold(bool v) {
  if (!FLabel) return;
  TFontStyles s = FLabel->Font()->Style();
  if (v)
    s.Include(fsBold);
  else
    s.Exclude(fsBold);
  FLabel->Font()->SetStyle(s);
}

void TEsgCustomCombo::EnabledChanged() {
  TComboBox::EnabledChanged();
  if (FFlat && !ComponentState().Contains(csLoading)) {
    if (!Enabled()) {
      FOldColor = Color();
      FOldParentColor = ParentColor();
      if (Parent()) SetColor(Parent()->Color());
    } else {
      SetColor(FOldColor);
      SetParentColor(FOldParentColor);
    }
  }
  if (FLabel && !FLabelAlwaysEnabled && !ComponentState().Contains(csLoading)) FLabel->SetEnabled(Enabled());
  Invalidate();
}

void TEsgCustomCombo::VisibleChanged() {
  TComboBox::VisibleChanged();
  if (FLabel) FLabel->SetVisible(Visible());
}

void TEsgCustomCombo::FontChanged() {
  TComboBox::FontChanged();
  if (FLabel && ParentFont()) FLabel->Font()->Assign(*Font());
  PlaceLabel();
}

// ---- the attached label ---------------------------------------------------------------------------------------

QString TEsgCustomCombo::LabelCaption() const { return FLabel ? FLabel->Caption() : QString(); }

void TEsgCustomCombo::SetLabelCaption(const QString& v) {
  if (!FLabel) {
    FLabel = new TLabel(this);
    FLabel->SetParent(Parent());
    FLabel->SetFocusControl(this);
    FLabel->Font()->Assign(ParentFont() ? *Font() : *FLabelFont);
    FLabel->SetVisible(Visible());
  }
  FLabel->SetCaption(v);
  PlaceLabel();
}

void TEsgCustomCombo::SetLabelPosition(TLabelPosition v) {
  FLabelPosition = v;
  PlaceLabel();
}

void TEsgCustomCombo::SetLabelMargin(int v) {
  FLabelMargin = v;
  PlaceLabel();
}

void TEsgCustomCombo::SetLabelFont(const TFont& v) { FLabelFont->Assign(v); }

void TEsgCustomCombo::SetLabelTransparent(bool v) {
  FLabelTransparent = v;
  PlaceLabel();
}

void TEsgCustomCombo::SetLabelAlwaysEnabled(bool v) {
  FLabelAlwaysEnabled = v;
  if (FLabel) FLabel->SetEnabled(v || Enabled());
}

void TEsgCustomCombo::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TComboBox::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!ComponentState().Contains(csDestroying)) PlaceLabel();
}

void TEsgCustomCombo::PlaceLabel() {
  if (!FLabel) return;
  if (!ParentFont()) FLabel->Font()->Assign(*FLabelFont);
  if (FLabel->Parent() != Parent()) FLabel->SetParent(Parent());
  FLabel->SetTransparent(FLabelTransparent);
  PlaceAttachedLabel(*FLabel, *this, FLabelPosition, FLabelMargin);
}

void TEsgCustomCombo::Notification(TComponent* AComponent, TOperation Operation) {
  TComboBox::Notification(AComponent, Operation);
  // The label may go first (its parent frees it with the other child controls).
  if (Operation == opRemove && AComponent == FLabel) FLabel = nullptr;
}

}  // namespace controls
