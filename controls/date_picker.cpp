#include "controls/date_picker.h"

#include <QPainter>
#include <QWidget>

#include <cmath>

#include "controls/draw_utils.h"
#include "controls/theme_services.h"
#include "platform/forms/msgqueue.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/classic.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/themes.h"

namespace controls {

using namespace plat;

namespace {
constexpr TColor DisabledThemedBorder = TColor(0xB99D7F);

// Hours, minutes and seconds of a time of day (milliseconds dropped).
void SplitTime(TDateTime v, int& h, int& m, int& s) {
  const int secs = int(std::floor((v - std::floor(v)) * 86400.0 + 1e-6));
  h = secs / 3600 % 24, m = secs / 60 % 60, s = secs % 60;
}
}  // namespace

UINT DTPShiftFocusMessage() {
  static const UINT msg = RegisterWindowMessage(QStringLiteral("DTPShiftFocus"));
  return msg;
}

// ---- TEsgDateTimePicker ----------------------------------------------------------------------------------------

TEsgDateTimePicker::TEsgDateTimePicker(TComponent* AOwner) : TDateTimePicker(AOwner) {
  SetCtl3D(true);
  FIsWinXP = PlatformFacts().WindowsXPOrLater;
}

void TEsgDateTimePicker::SetBorderStyle(TFormBorderStyle v) {
  FBorderStyle = v;
  Invalidate();
}

void TEsgDateTimePicker::SetBorderColor(TColor v) {
  FBorderColor = v;
  Invalidate();
}

void TEsgDateTimePicker::SetFocusBorderColor(TColor v) {
  FFocusBorderColor = v;
  Invalidate();
}

void TEsgDateTimePicker::SetDisabledBorder(bool v) {
  FDisabledBorder = v;
  Invalidate();
}

bool TEsgDateTimePicker::Themed() const { return PlatformFacts().ComCtl32Major > 5; }
bool TEsgDateTimePicker::ThemeActive() const { return Themed() && PlatformFacts().ThemesActive && XPVS().Loaded; }

bool TEsgDateTimePicker::OwnLookActive() const {
  return MetroStyle && !ComponentState().Contains(csDesigning);
}

void TEsgDateTimePicker::MouseMove(TShiftState Shift, int X, int Y) {
  TDateTimePicker::MouseMove(Shift, X, Y);
  const bool over = X >= Width() - FButtonWidth && X < Width();
  if (over != FButtonHover) {
    FButtonHover = over;
    Invalidate();
  }
}

void TEsgDateTimePicker::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_PAINT:
      TDateTimePicker::Dispatch(M);
      PaintOwnLook();
      return;
    case CM_ENTER:
    case CM_EXIT:
      if (!ComponentState().Contains(csDesigning)) {
        FHasFocus = M.Msg == CM_ENTER;
        Invalidate();
      }
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      FMouseInControl = M.Msg == CM_MOUSEENTER;
      if (!FMouseInControl) FButtonHover = false;
      if (Enabled()) Invalidate();
      break;
    default: break;
  }
  TDateTimePicker::Dispatch(M);
}

void TEsgDateTimePicker::PaintOwnLook() {
  const bool own = OwnLookActive();
  if ((Ctl3D() && !own) || !PlatformFacts().VistaOrLater || !Widget()) return;
  QPainter painter(Widget());
  TCanvas C;
  C.SetPainter(&painter);
  const int W = Width(), H = Height();
  if (own && Kind() != dtkTime && PlatformFacts().ComCtl32Major >= 6) {
    C.Brush()->SetStyle(bsSolid);
    C.Brush()->SetColor(Color());
    if (ThemeActive())
      C.FillRect(TRect(W - EraseFromRight(), 1, W, H));
    else
      C.FillRect(TRect(W - FButtonWidth - 2, 4, W - 2, H - 4));
    DrawButton(C);
  }
  if (OutlineInPaint()) DrawOutline(C);
  DrawBorders(C);
  C.SetPainter(nullptr);
}

void TEsgDateTimePicker::DrawButton(TCanvas& C) {
  const int W = Width(), H = Height();
  const TRect R(W - FButtonWidth + 3, 1, W - 1, H - 1);
  const bool held = GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0;
  if (ButtonColor != clNone) {
    PaintFlatDropButton(C, TRect(R.Left + 2, R.Top, R.Right, R.Bottom), R, R.Left + 5, FButtonHover, held);
    return;
  }
  if (ThemeActive()) {
    int state = CBXS_HOT;
    if (!Enabled())
      state = CBXS_DISABLED;
    else if (held || !FButtonHover)
      state = CBXS_NORMAL;
    PaintThemePart(C, this, "combobox", CP_DROPDOWNBUTTON, state, R);
    return;
  }
  DrawFrameControl(&C, R, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (Enabled() ? DFCS_FLAT : DFCS_INACTIVE));
}

TColor TEsgDateTimePicker::OutlineColour() const {
  if (FBorderStyle == bsNone && Parent()) return Parent()->Color();
  return Themed() ? DisabledThemedBorder : FBorderColor;
}

void TEsgDateTimePicker::DrawOutline(TCanvas& C) {
  const int W = Width(), H = Height();
  C.Pen()->SetColor(OutlineColour());
  const TPoint outer[5] = {{0, H}, {0, 0}, {W - 1, 0}, {W - 1, H - 1}, {0, H - 1}};
  C.Polyline(outer);
  if (!ThemeActive()) {
    const TPoint inner[5] = {{1, H}, {1, 1}, {W - 2, 1}, {W - 2, H - 2}, {0, H - 2}};
    C.Polyline(inner);
  }
}

void TEsgDateTimePicker::DrawBorders(TCanvas& C) {
  if (!OwnLookActive() || (Enabled() && FBorderColor == clNone && FFocusBorderColor == clNone) || SkipBorders())
    return;
  const int W = Width(), H = Height();
  if (!Enabled() && Themed() && !FDisabledBorder) {
    C.Brush()->SetColor(DisabledThemedBorder);
    C.FrameRect(TRect(0, 0, W, H));
    return;
  }
  TColor frame = clNone;
  if (!ComboFrameColour(false, FHasFocus, FFocusBorderColor, FBorderColor, frame)) return;
  PaintComboFrame(C, W, H, FButtonWidth, frame, Parent() ? Parent()->Color() : clBtnFace, Color());
  if (FIsWinXP && ThemeActive()) return;
  TCustomForm* form = GetParentForm(this);
  const bool active = form && form->ActiveControl() == this;
  C.SaveDC();
  C.ExcludeClipRect(TRect(W - FButtonWidth + 4, 4, W - 4, H - 4));
  TRect r(W - FButtonWidth - 2 + 2, 2, W - 2, H - 2);
  if (FMouseInControl || active) {
    DrawEdge(&C, r, BDR_RAISEDINNER, BF_RECT);
  } else {
    C.Brush()->SetColor(clBtnFace);
    C.FillRect(TRect(r.Left, r.Top + 1, r.Right - 1, r.Bottom - 1));
  }
  C.RestoreDC(-1);
}

// ---- TCustomDateTimePicker -------------------------------------------------------------------------------------

TCustomDateTimePicker::TCustomDateTimePicker(TComponent* AOwner) : TEsgDateTimePicker(AOwner) {
  SetCtl3D(false);
  FBorderColor = 0;
}

bool TCustomDateTimePicker::OwnLookActive() const { return MetroStyle && !SkipOwnBorder(); }

void TCustomDateTimePicker::RememberFields() {
  if (TDateTimePicker::Kind() != dtkTime) return;
  Fh = FieldValue(dfHour), Fm = FieldValue(dfMinute), Fs = FieldValue(dfSecond);
}

void TCustomDateTimePicker::NextField() {
  if (CurrentField() == FFieldBefore && CurrentField() + 1 < FieldCount())
    PostMessage(Handle(), WM_KEYDOWN, VK_RIGHT, 0);
}

void TCustomDateTimePicker::ShiftFocus() {
  if (TDateTimePicker::Kind() != dtkTime) return;
  if (FieldValue(dfHour) != Fh || FieldValue(dfMinute) != Fm || FieldValue(dfSecond) != Fs) NextField();
}

void TCustomDateTimePicker::Dispatch(TMessage& M) {
  if (M.Msg == DTPShiftFocusMessage()) {
    ShiftFocus();
    return;
  }
  if (M.Msg == WM_CHAR && FAutoTab && QChar(char16_t(M.WParam)).isDigit()) {
    RememberFields();
    FFieldBefore = CurrentField();
    TEsgDateTimePicker::Dispatch(M);
    PostMessage(Handle(), DTPShiftFocusMessage(), 0, 0);
    return;
  }
  TEsgDateTimePicker::Dispatch(M);
}

// ---- TExtDateTimePicker ----------------------------------------------------------------------------------------

TExtDateTimePicker::TExtDateTimePicker(TComponent* AOwner) : TCustomDateTimePicker(AOwner) {
  SetBorderStyle(bsSingle);
  SetCtl3D(true);
  SetKind(dkDateTime);
}

TExtDateTimePicker::~TExtDateTimePicker() {
  if (FLabel && !FLabel->ComponentState().Contains(csDestroying)) delete FLabel;
  FLabel = nullptr;
  FTimePicker = nullptr;
}

void TExtDateTimePicker::SetKind(TExtDateTimeKind v) {
  FKind = v;
  TDateTimePicker::SetKind(v == dkTime ? dtkTime : dtkDate);
  if (v == dkDateTime && !FTimePicker) {
    FTimePicker = new TCustomDateTimePicker(this);
    FTimePicker->SetBounds(0, 0, 90, 17);
    FTimePicker->SetVisible(false);
    FTimePicker->TDateTimePicker::SetKind(dtkTime);
    FTimePicker->SetEnabled(Enabled());
    FTimePicker->SetAutoTab(AutoTab());
    FTimePicker->SetDateTime(TDateTimePicker::DateTime());
    FTimePicker->OnChange = [this](TObject*) {
      ChangeNotify();
      if (OnTimeChange) OnTimeChange(this);
    };
    FTimePicker->OnClick = [this](TObject*) { ClickNotify(); };
    FTimePicker->OnKeyDown = [this](TObject*, std::uint16_t& Key, TShiftState Shift) { KeyDown(Key, Shift); };
    FTimePicker->OnKeyPress = [this](TObject*, char16_t& Key) { TimePickerKeyPress(Key); };
  }
  UpdateTimePicker();
}

void TExtDateTimePicker::UpdateTimePicker() {
  if (!FTimePicker) return;
  const bool visible = FKind == dkDateTime;
  if (!visible) {
    if (!ComponentState().Contains(csLoading)) {
      delete FTimePicker;
      FTimePicker = nullptr;
    }
    return;
  }
  if (FTimePicker->Parent() != this) FTimePicker->SetParent(this);
  FTimePicker->SetColor(Color());
  FTimePicker->SetEnabled(Enabled() && (Checked() || !ShowCheckbox()));
  FTimePicker->SetFormat(FTimeFormat);
  FTimePicker->Font()->Assign(*Font());
  // At the right end: as wide as its text in the outer font and 31 pixels more.
  TBitmap probe(1, 1);
  probe.Canvas()->Font()->Assign(*Font());
  const int a = probe.Canvas()->TextWidth(FTimePicker->Text()) + 31;
  const int b = 0;
  const int x = Width() - a - b - (ThemeActive() ? (OwnLookActive() ? 21 : 34) : 21);
  FTimePicker->SetBounds(x, ThemeActive() ? 1 : 2, a, Height() - b - (ThemeActive() ? 2 : 4));
  FTimePicker->SetVisible(true);
}

TDateTime TExtDateTimePicker::DateTime() {
  if (FTimePicker) TDateTimePicker::SetTime(FTimePicker->TDateTimePicker::Time());
  return TDateTimePicker::DateTime();
}

void TExtDateTimePicker::SetDateTime(TDateTime v) {
  int h, m, s;
  SplitTime(v, h, m, s);
  const TDateTime value = std::floor(v) + EncodeTime(h, m, s, 0);
  TDateTimePicker::SetDateTime(value);
  if (FKind == dkDateTime && !FTimePicker) SetKind(dkDateTime);
  if (FTimePicker) FTimePicker->TDateTimePicker::SetDateTime(value);
}

void TExtDateTimePicker::SetDate(TDateTime v) {
  int h, m, s;
  SplitTime(Time(), h, m, s);
  SetDateTime(std::floor(v) + EncodeTime(h, m, s, 0));
}

TDateTime TExtDateTimePicker::Time() const {
  if (FKind == dkDateTime && FTimePicker) return FTimePicker->TDateTimePicker::Time();
  return TDateTimePicker::Time();
}

void TExtDateTimePicker::SetTime(TDateTime v) {
  TDateTimePicker::SetTime(v);
  if (FTimePicker) FTimePicker->TDateTimePicker::SetTime(v);
  UpdateTimePicker();
}

void TExtDateTimePicker::SetTimeFormat(const QString& v) {
  FTimeFormat = v;
  if (FTimePicker) FTimePicker->SetFormat(v);
  if (FKind == dkTime) SetFormat(v);
  UpdateTimePicker();
}

void TExtDateTimePicker::SetAutoTab(bool v) {
  TCustomDateTimePicker::SetAutoTab(v);
  if (FTimePicker) FTimePicker->SetAutoTab(v);
}

void TExtDateTimePicker::SetBorderStyle(TFormBorderStyle v) {
  TCustomDateTimePicker::SetBorderStyle(v);
  UpdateTimePicker();
}

void TExtDateTimePicker::RememberFields() {
  TCustomDateTimePicker::RememberFields();
  Fy = FieldValue(dfYear), Fmo = FieldValue(dfMonth), Fd = FieldValue(dfDay);
}

void TExtDateTimePicker::ShiftFocus() {
  if (FKind == dkTime) {
    TCustomDateTimePicker::ShiftFocus();
    return;
  }
  // The fields as shown: a typed digit of the day or month counts at once; the year once it is typed whole.
  const bool dayChanged = FieldValue(dfDay) != Fd, monthChanged = FieldValue(dfMonth) != Fmo,
             yearChanged = FieldValue(dfYear) != Fy && FieldFull(dfYear);
  auto toTimePicker = [this] {
    if (FTimePicker && FTimePicker->CanFocus()) FTimePicker->SetFocus();
  };
  const QString f = Format();
  if (!f.isEmpty()) {
    const QChar c = f.back().toLower();
    if ((dayChanged && c == u'd') || (monthChanged && c == u'm') || (yearChanged && c == u'y'))
      toTimePicker();
    else if (dayChanged || monthChanged || yearChanged)
      NextField();
  } else if (dayChanged || monthChanged) {
    NextField();
  } else if (yearChanged) {
    toTimePicker();
  }
}

void TExtDateTimePicker::ChangeNotify() {
  if (OnChange) OnChange(this);
}

void TExtDateTimePicker::ClickNotify() {
  if (OnClick) OnClick(this);
}

void TExtDateTimePicker::Change() {
  // A ticked or cleared check box enables or disables the time with the date.
  if (FTimePicker) FTimePicker->SetEnabled(Enabled() && (Checked() || !ShowCheckbox()));
  ChangeNotify();
}

void TExtDateTimePicker::Resize() {
  TCustomDateTimePicker::Resize();
  UpdateTimePicker();
}

void TExtDateTimePicker::EnabledChanged() {
  TCustomDateTimePicker::EnabledChanged();
  UpdateTimePicker();
  if (FLabel) FLabel->SetEnabled(Enabled());
}

void TExtDateTimePicker::VisibleChanged() {
  TCustomDateTimePicker::VisibleChanged();
  if (FLabel) FLabel->SetVisible(Visible());
}

void TExtDateTimePicker::Dispatch(TMessage& M) {
  if ((M.Msg == CM_ENTER || M.Msg == CM_EXIT) && FocusLabel && FLabel && !ComponentState().Contains(csLoading)) {
    TFontStyles s = FLabel->Font()->Style();
    if (M.Msg == CM_ENTER)
      s.Include(fsBold);
    else
      s.Exclude(fsBold);
    FLabel->Font()->SetStyle(s);
  }
  TCustomDateTimePicker::Dispatch(M);
}

// ---- label ------------------------------------------------------------------------------------------------------

QString TExtDateTimePicker::LabelCaption() const { return FLabel ? FLabel->Caption() : QString(); }

void TExtDateTimePicker::SetLabelCaption(const QString& v) {
  if (!FLabel) {
    FLabel = new TLabel(this);
    FLabel->SetParent(Parent());
    FLabel->SetFocusControl(this);
    FLabel->Font()->Assign(*Font());
    FLabel->OnClick = [this](TObject*) {
      if (OnLabelClick) OnLabelClick(this);
    };
    FLabel->OnDblClick = [this](TObject*) {
      if (OnLabelDblClick) OnLabelDblClick(this);
    };
  }
  FLabel->SetCaption(v);
  PlaceLabel();
}

void TExtDateTimePicker::SetLabelPosition(TLabelPosition v) {
  FLabelPosition = v;
  PlaceLabel();
}

void TExtDateTimePicker::SetLabelMargin(int v) {
  FLabelMargin = v;
  PlaceLabel();
}

void TExtDateTimePicker::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomDateTimePicker::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!ComponentState().Contains(csDestroying)) PlaceLabel();
}

void TExtDateTimePicker::PlaceLabel() {
  if (!FLabel) return;
  if (FLabel->Parent() != Parent()) FLabel->SetParent(Parent());
  FLabel->SetVisible(Visible());
  PlaceAttachedLabel(*FLabel, *this, FLabelPosition, FLabelMargin);
}

void TExtDateTimePicker::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomDateTimePicker::Notification(AComponent, Operation);
  // The label may go first (its parent frees it with the other child controls).
  if (Operation == opRemove && AComponent == FLabel) FLabel = nullptr;
}

}  // namespace controls
