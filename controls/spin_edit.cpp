#include "controls/spin_edit.h"

#include <QLineEdit>

#include <algorithm>
#include <cmath>

#include "controls/draw_utils.h"
#include "controls/text_utils.h"
#include "controls/theme_services.h"
#include "platform/forms/beep.h"
#include "platform/forms/msgqueue.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/classic.h"
#include "platform/graphics/themes.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/strutils.h"

namespace controls {

using namespace plat;

namespace {

constexpr unsigned InitRepeatPause = 400;
constexpr unsigned RepeatPause = 100;

// Equal limits mean no limit.
template <class T>
T Clamp(T v, T lo, T hi) {
  if (lo == hi) return v;
  if (v < lo) return lo;
  if (v > hi) return hi;
  return v;
}

int FontHeight(const TFont& f) {
  TBitmap probe(1, 1);
  probe.Canvas()->Font()->Assign(f);
  return probe.Canvas()->TextHeight("Wg");
}

TDateTime IncYears(int Years, TDateTime Date) {
  Word y, m, d;
  DecodeDate(Date, y, m, d);
  return EncodeDate(y + Years, m, d) + (Date - std::floor(Date));
}

}  // namespace

std::unique_ptr<TBitmap> SpinGlyph(bool Up) {
  auto b = std::make_unique<TBitmap>(9, 6);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clOlive);
  c->FillRect(TRect(0, 0, 9, 6));
  for (int row = 0; row < 5; ++row) {
    const int y = Up ? 1 + row : 4 - row;
    for (int x = 4 - row; x <= 4 + row; ++x) c->SetPixels(x, y, clBlack);
  }
  b->SetTransparentColor(clOlive);
  b->SetTransparent(true);
  return b;
}

// ---- TExtTimerSpeedButton --------------------------------------------------------------------------------------

TExtTimerSpeedButton::TExtTimerSpeedButton(TComponent* AOwner) : TStateButton(AOwner) {
  FControlStyle.Exclude(csClickEvents);  // the button clicks on press and on the repeat ticks
  SetGlyph(nullptr);
}

TEsgSpinButton* TExtTimerSpeedButton::Pair() const { return dynamic_cast<TEsgSpinButton*>(Parent()); }

void TExtTimerSpeedButton::SetTimeBtnState(TTimeBtnState v) {
  FTimeBtnState = v;
  Invalidate();
}

void TExtTimerSpeedButton::SetButtonDirection(TButtonDirection v) {
  FButtonDirection = v;
  Invalidate();
}

void TExtTimerSpeedButton::SetTransparent(bool v) {
  FTransparent = v;
  Invalidate();
}

void TExtTimerSpeedButton::SetGlyph(const TBitmap* v) {
  if (v)
    FGlyph->Assign(*v);
  else
    FGlyph->Assign(*SpinGlyph(FButtonDirection != bdDown));
  FGlyph->SetTransparent(true);
  Invalidate();
}

void TExtTimerSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TStateButton::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  if (Parent()) Parent()->Invalidate();
  if (FTimeBtnState.Contains(tbAllowTimer)) {
    if (!FRepeatTimer) {
      FRepeatTimer = new TTimer(this);
      FRepeatTimer->OnTimer = [this](TObject*) { TimerExpired(); };
    }
    FRepeatTimer->SetInterval(InitRepeatPause);
    FRepeatTimer->SetEnabled(true);
  }
  Click();
}

void TExtTimerSpeedButton::TimerExpired() {
  if (!FRepeatTimer) return;
  FRepeatTimer->SetInterval(RepeatPause);
  if (!FDown) return;
  try {
    Click();
  } catch (...) {
    FRepeatTimer->SetEnabled(false);
    throw;
  }
}

void TExtTimerSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TStateButton::MouseUp(Button, Shift, X, Y);
  if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
  if (Button != mbLeft) return;
  if (Parent()) Parent()->Invalidate();
}

void TExtTimerSpeedButton::Paint() {
  TCanvas* C = Canvas();
  const TRect R = ClientRect();
  TEsgSpinButton* pair = Pair();
  const int L = R.Left, T = R.Top;
  if (pair && pair->ButtonColor != clNone) {
    TColor c = FDown ? pair->ButtonColorDown : FHot ? pair->ButtonColorHot : pair->ButtonColor;
    if (c == clNone) c = pair->ButtonColor;
    C->Pen()->SetColor(c);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(c);
    C->Rectangle(R);
    TPoint tri[3];
    switch (FButtonDirection) {
      case bdLeft: tri[0] = {L + 5, T + 5}, tri[1] = {L + 3, T + 7}, tri[2] = {L + 5, T + 9}; break;
      case bdRight: tri[0] = {L + 3, T + 5}, tri[1] = {L + 5, T + 7}, tri[2] = {L + 3, T + 9}; break;
      case bdUp: tri[0] = {L + 4, T + 4}, tri[1] = {L + 8, T + 4}, tri[2] = {L + 6, T + 2}; break;
      case bdDown: tri[0] = {L + 4, T + 2}, tri[1] = {L + 8, T + 2}, tri[2] = {L + 6, T + 4}; break;
    }
    C->Pen()->SetColor(clBlack);
    C->Brush()->SetColor(clBlack);
    C->Polygon(tri);
    return;
  }
  static const int parts[4] = {4, 3, 1, 2};  // down-horizontal, up-horizontal, up, down
  const int state = FDown ? 3 : FHot ? 2 : 1;
  if (FIsWinXP && PaintThemePart(*C, Parent(), "spin", parts[FButtonDirection], state, R)) return;
  if (FButtonDirection == bdLeft || FButtonDirection == bdRight) {
    DrawFrameControl(C, R, DFC_SCROLL,
                     (FButtonDirection == bdLeft ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT) | (FDown ? DFCS_PUSHED : 0u) |
                         (FFlat ? DFCS_FLAT : 0u));
    return;
  }
  if (!FTransparent)
    DrawFrameControl(C, R, DFC_BUTTON, DFCS_BUTTONPUSH | (FDown ? DFCS_PUSHED : 0u) | (FFlat ? DFCS_FLAT : 0u));
  const int shift = FDown ? 1 : 0;
  C->Draw(L + (R.Width() - FGlyph->Width()) / 2 + shift, T + (R.Height() - FGlyph->Height()) / 2 + shift,
          FGlyph.get());
  if (FTimeBtnState.Contains(tbFocusRect)) C->DrawFocusRect(TRect(L + 3, T + 3, R.Right - 3, R.Bottom - 3));
}

// ---- TEsgSpinButton --------------------------------------------------------------------------------------------

TEsgSpinButton::TEsgSpinButton(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle.Include(csOpaque);
  FControlStyle.Exclude(csAcceptsControls);
  FControlStyle.Exclude(csSetCaption);
  FUpButton = new TExtTimerSpeedButton(this);
  FUpButton->SetParent(this);
  FUpButton->SetButtonDirection(bdUp);
  FUpButton->SetGlyph(nullptr);
  FDownButton = new TExtTimerSpeedButton(this);
  FDownButton->SetParent(this);
  FDownButton->SetButtonDirection(bdDown);
  FDownButton->SetGlyph(nullptr);
  for (TExtTimerSpeedButton* b : {FUpButton, FDownButton}) {
    b->OnMouseDown = [this, b](TObject*, TMouseButton Button, TShiftState, int, int) {
      if (Button == mbLeft) ButtonPressed(b);
    };
  }
  FUpButton->OnClick = [this](TObject*) {
    if (OnUpClick) OnUpClick(this);
  };
  FDownButton->OnClick = [this](TObject*) {
    if (OnDownClick) OnDownClick(this);
  };
  FFocusedButton = FUpButton;
  SetBounds(0, 0, 15, 25);
}

void TEsgSpinButton::SetFocusControl(TWinControl* v) {
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = v;
  if (v) v->FreeNotification(this);
}

void TEsgSpinButton::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TEsgSpinButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const int minWidth = FDirection == spVertical ? 15 : 20;
  TCustomControl::SetBounds(ALeft, ATop, std::max(AWidth, minWidth), AHeight);
  LayoutButtons();
}

void TEsgSpinButton::LayoutButtons() {
  if (!FUpButton || !FDownButton || ComponentState().Contains(csLoading)) return;
  const int w = Width(), h = Height();
  if (FDirection == spVertical) {
    const int half = h / 2;
    FUpButton->SetBounds(0, 0, w, half);
    FDownButton->SetBounds(0, half - 1, w, h - half + 1);
  } else {
    const int half = w / 2;
    FDownButton->SetBounds(0, 0, half, h);
    FUpButton->SetBounds(half + 1, 0, half, h);
  }
}

void TEsgSpinButton::SetDirection(TSpinDirection v) {
  if (v == FDirection) return;
  FDirection = v;
  FUpButton->SetButtonDirection(v == spVertical ? bdUp : bdRight);
  FDownButton->SetButtonDirection(v == spVertical ? bdDown : bdLeft);
  SetBounds(Left(), Top(), v == spVertical ? 15 : 20, Height());
}

void TEsgSpinButton::SetIsWinXP(bool v) {
  FIsWinXP = v;
  FUpButton->SetIsWinXP(v);
  FDownButton->SetIsWinXP(v);
}

void TEsgSpinButton::SetFocusBtn(TExtTimerSpeedButton* Button) {
  if (!TabStop() || !CanFocus() || Button == FFocusedButton) return;
  FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() - TTimeBtnState{tbFocusRect});
  FFocusedButton = Button;
  if (Focused()) FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() + TTimeBtnState{tbFocusRect});
}

void TEsgSpinButton::ButtonPressed(TExtTimerSpeedButton* Button) {
  SetFocusBtn(Button);
  if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
    FFocusControl->SetFocus();
  else if (TabStop() && !Focused() && CanFocus())
    SetFocus();
}

void TEsgSpinButton::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == VK_SPACE) {
    FFocusedButton->Click();
  } else if (Key == VK_UP || Key == VK_DOWN) {
    TExtTimerSpeedButton* b = Key == VK_UP ? FUpButton : FDownButton;
    SetFocusBtn(b);
    b->Click();
  }
}

void TEsgSpinButton::Dispatch(TMessage& M) {
  if (M.Msg == CM_ENTER || M.Msg == CM_EXIT) {
    const TTimeBtnState s = FFocusedButton->TimeBtnState();
    FFocusedButton->SetTimeBtnState(M.Msg == CM_ENTER ? s + TTimeBtnState{tbFocusRect}
                                                      : s - TTimeBtnState{tbFocusRect});
  }
  TCustomControl::Dispatch(M);
}

// ---- TEsgSpinEdit: values --------------------------------------------------------------------------------------

TEsgSpinEdit::TEsgSpinEdit(TComponent* AOwner) : TEdit(AOwner) {
  FControlStyle.Exclude(csSetCaption);
  SetTabStop(true);
  FButton = new TEsgSpinButton(this);
  FButton->SetParent(this);
  FButton->SetBounds(0, 0, 15, 17);
  FButton->SetFocusControl(this);
  FButton->OnUpClick = [this](TObject* s) { SpinUpClick(s); };
  FButton->OnDownClick = [this](TObject* s) { SpinDownClick(s); };
  SetText(QStringLiteral("0"));
  UpdateLayout();
}

TEsgSpinEdit::~TEsgSpinEdit() { FButton = nullptr; }

int TEsgSpinEdit::Value() const {
  const QString t = Trim(Text());
  if (t.isEmpty()) return 0;
  int v = 0;
  return TryStrToInt(t, v) ? v : MinValue;
}

void TEsgSpinEdit::SetValue(int v) {
  SetText(IntToStr(Clamp(v, MinValue, MaxValue)));
  if (!EditorEnabled) SelectAll();
}

double TEsgSpinEdit::FloatValue() const {
  double v = 0;
  return TryStrToFloat(Text(), v) ? v : double(MinValue);
}

void TEsgSpinEdit::SetFloatValue(double v) {
  v = Clamp(v, MinFloatValue, MaxFloatValue);
  SetText(FPrecision != 0 ? FloatToStrF(v, ffFixed, 15, FPrecision) : FloatToStr(v));
  if (!EditorEnabled) SelectAll();
}

void TEsgSpinEdit::SetPrecision(int v) {
  if (v == FPrecision) return;
  FPrecision = v;
  if (FSpinType == sptFloat) SetFloatValue(FloatValue());
}

TDateTime TEsgSpinEdit::DateValue() const {
  const QString t = Trim(Text());
  if (t.isEmpty() || t == QLatin1String("0")) return Now();
  TDateTime d = 0;
  return TryStrToDate(t, d) ? d : MinDateValue;
}

void TEsgSpinEdit::WriteKeepingCaret(const QString& S) {
  const int caret = SelStart();
  SetText(S);
  SetSelStart(caret);
  if (!EditorEnabled) SelectAll();
}

void TEsgSpinEdit::SetDateValue(TDateTime v) {
  FDateValue = v;
  if (ComponentState().Contains(csLoading)) return;
  FDateValue = Clamp(v, MinDateValue, MaxDateValue);
  WriteKeepingCaret(DateToStr(FDateValue));
}

TDateTime TEsgSpinEdit::TimeValue() const {
  TDateTime t = 0;
  return TryStrToTime(Trim(Text()), t) ? t : 0;
}

void TEsgSpinEdit::SetTimeValue(TDateTime v) {
  FTimeValue = v;
  if (ComponentState().Contains(csLoading)) return;
  FTimeValue = Clamp(v, MinDateValue, MaxDateValue);
  WriteKeepingCaret(FormatDateTime(ShowSeconds ? FormatSettings.LongTimeFormat : QStringLiteral("h:nn"), FTimeValue));
}

void TEsgSpinEdit::SetSpinType(TEsgSpinType v) {
  FSpinType = v;
  switch (v) {
    case sptNormal: SetValue(Value()); break;
    case sptFloat: SetFloatValue(FloatValue()); break;
    case sptDate: SetDateValue(DateValue()); break;
    case sptTime: SetTimeValue(TimeValue()); break;
  }
}

void TEsgSpinEdit::Loaded() {
  TEdit::Loaded();
  if (FSpinType == sptDate) SetDateValue(FDateValue);
  if (FSpinType == sptTime) SetTimeValue(FTimeValue);
  SetSpinType(FSpinType);
}

// ---- stepping -----------------------------------------------------------------------------------------------

void TEsgSpinEdit::IncrementValue(bool Page) { Step(1, Page); }
void TEsgSpinEdit::DecrementValue(bool Page) { Step(-1, Page); }
void TEsgSpinEdit::SpinUpClick(TObject*) { IncrementValue(false); }
void TEsgSpinEdit::SpinDownClick(TObject*) { DecrementValue(false); }

void TEsgSpinEdit::Step(int Sign, bool Page) {
  if (ReadOnly()) {
    MessageBeep(0);
    return;
  }
  switch (FSpinType) {
    case sptNormal: SetValue(Value() + Sign * Increment); break;
    case sptFloat: SetFloatValue(FloatValue() + Sign * (Page ? IncrementFloatPage : IncrementFloat)); break;
    case sptDate: StepDate(Sign); break;
    case sptTime: StepTime(Sign); break;
  }
}

void TEsgSpinEdit::StepDate(int Sign) {
  const QString fmt = FormatSettings.ShortDateFormat.toUpper();
  FUsDates = fmt.indexOf(u'M') < fmt.indexOf(u'D');
  const QString t = Text();
  const QChar sep = LocaleDateSeparator();
  const int s1 = int(t.indexOf(sep)) + 1;
  const int s2 = s1 > 0 ? int(t.indexOf(sep, s1)) + 1 : 0;
  const int caret = SelStart();
  const int field = caret < s1 ? 0 : caret < s2 ? 1 : 2;  // 0 first, 1 second, 2 year
  const bool month = field == (FUsDates ? 0 : 1);
  const TDateTime d = DateValue();
  TDateTime next;
  if (field == 2)
    next = IncYears(Sign, d);
  else if (month)
    next = IncMonth(d, Sign);
  else
    next = d + Sign;
  SetDateValue(next);
}

void TEsgSpinEdit::StepTime(int Sign) {
  const QString t = Text();
  const QChar sep = LocaleTimeSeparator();
  const int p1 = int(t.indexOf(sep)) + 1;
  const int p2 = p1 > 0 ? int(t.indexOf(sep, p1)) + 1 : 0;
  const int caret = SelStart();
  TDateTime step;
  if (caret < p1)
    step = EncodeTime(IncrementHours, 0, 0, 0);
  else if (ShowSeconds && p2 > 0 && caret >= p2)
    step = EncodeTime(0, 0, IncrementSeconds, 0);
  else
    step = EncodeTime(0, IncrementMinutes, 0, 0);
  TDateTime v = TimeValue();
  if (Sign > 0) {
    v += step;
  } else {
    v = v + 1 - step;
    if (v > 1) v -= 1;
  }
  SetTimeValue(v);
}

// ---- keys -------------------------------------------------------------------------------------------------------

bool TEsgSpinEdit::AcceptsChar(char16_t& Key) {
  if (Key == 8) return EditorEnabled;
  const QChar c(Key);
  const QChar dec = LocaleDecimalSeparator(), th = LocaleThousandSeparator();
  const QChar ts = LocaleTimeSeparator(), ds = LocaleDateSeparator();
  bool r = c == dec || c == th || c == ts || c == ds || c.isNumber() || c == u'-' || (Key < 32 && Key != 13);
  auto separatorRule = [&](QChar sep) {
    if (sep == dec || sep == th || sep == u'-' || sep == u'+')
      r = r && (FSpinType == sptNormal || FSpinType == sptFloat);
    else
      r = false;
  };
  if (FSpinType != sptTime && c == ts) separatorRule(ts);
  if (FSpinType != sptDate && c == ds) separatorRule(ds);
  const QString text = Text();
  if (c == u'-') r = r && SelStart() == 0 && (!text.contains(u'-') || SelText().contains(u'-'));
  if (FSpinType == sptNormal) r = r && (c.isNumber() || c == u'-');
  if (FSpinType == sptFloat && Key != 27 && Key != 13) {
    if (c == th) r = false;
    if (c == dec && text.contains(dec)) r = r && SelText().contains(dec);
    const int p = int(text.indexOf(dec)) + 1;
    if (FPrecision > 0 && p > 0 && SelStart() >= p && SelLength() == 0) r = r && text.size() < p + FPrecision;
  }
  if (FSpinType == sptTime && c == ts) r = r && text.count(ts) <= 1;
  if (!EditorEnabled && Key >= 32) r = false;
  return r;
}

void TEsgSpinEdit::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  TEdit::KeyDown(Key, Shift);
  if (Key == VK_RETURN && ReturnIsTab) {
    Key = VK_TAB;
    PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
  }
  if (Key == VK_DELETE && !EditorEnabled) Key = 0;
}

void TEsgSpinEdit::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case WM_KEYDOWN:
      switch (M.WParam) {
        case VK_PRIOR: IncrementValue(true); return;
        case VK_NEXT: DecrementValue(true); return;
        case VK_UP: IncrementValue(false); return;
        case VK_DOWN: DecrementValue(false); return;
        default: break;
      }
      break;
    case WM_CHAR: {
      char16_t key = char16_t(M.WParam);
      if (ExcelStyleDecimalSeparator && key == u'.' && (M.LParam & 0x400000) != 0)
        key = LocaleDecimalSeparator().unicode();
      if (!AcceptsChar(key)) {
        MessageBeep(0);
        return;
      }
      M.WParam = key;
      break;
    }
    case WM_CUT:
    case WM_PASTE:
      if (!EditorEnabled || ReadOnly()) return;
      break;
    default: break;
  }
  TEdit::Dispatch(M);
}

void TEsgSpinEdit::DoEnter() {
  TEdit::DoEnter();
  if (AutoSelect && !(GetKeyState(VK_LBUTTON) < 0 && Enabled())) SelectAll();
}

void TEsgSpinEdit::DoExit() {
  TEdit::DoExit();
  switch (FSpinType) {
    case sptNormal:
      if (const int v = Value(); Clamp(v, MinValue, MaxValue) != v) SetValue(v);
      break;
    case sptFloat:
      if (const double v = FloatValue(); Clamp(v, MinFloatValue, MaxFloatValue) != v) SetFloatValue(v);
      break;
    case sptDate:
      if (const TDateTime v = DateValue(); Clamp(v, MinDateValue, MaxDateValue) != v) SetDateValue(v);
      break;
    case sptTime:
      if (const TDateTime v = TimeValue(); Clamp(v, MinDateValue, MaxDateValue) != v) SetTimeValue(v);
      break;
  }
}

// ---- layout -----------------------------------------------------------------------------------------------------

void TEsgSpinEdit::SetEditAlign(TEditAlign v) {
  FEditAlign = v;
  SetAlignment(v == eaRight ? taRightJustify : v == eaCenter ? taCenter : taLeftJustify);
}

void TEsgSpinEdit::SetDirection(TSpinDirection v) {
  FButton->SetDirection(v);
  UpdateLayout();
}

void TEsgSpinEdit::SetSpinFlat(bool v) {
  FButton->UpButton()->SetFlat(v);
  FButton->DownButton()->SetFlat(v);
}

void TEsgSpinEdit::SetSpinTransparent(bool v) {
  FButton->UpButton()->SetTransparent(v);
  FButton->DownButton()->SetTransparent(v);
  UpdateLayout();
}

void TEsgSpinEdit::SetIsWinXP(bool v) {
  FIsWinXP = v;
  FButton->SetIsWinXP(v);
}

void TEsgSpinEdit::Resize() {
  TEdit::Resize();
  UpdateLayout();
}

void TEsgSpinEdit::UpdateLayout() {
  if (!FButton || FAdjusting) return;
  FAdjusting = true;
  const int fh = FontHeight(*Font());
  const int minHeight = fh + std::min(fh, FontHeight(TFont())) / 4 + 2 + 4;
  if (Height() < minHeight) SetHeight(minHeight);
  // The frame takes 2 pixels on each side: client coordinates are 2 pixels in.
  const int bw = FButton->Width();
  FButton->SetBounds(Width() - bw - 3, 2, bw, std::max(0, Height() - 5));
  const int clientWidth = Width() - 4, clientHeight = Height() - 4;
  const int right = clientWidth - bw - 2;
  FTextRect = TRect(0, 0, right, clientHeight + 1);
  LineEdit()->setTextMargins(0, 0, std::max(0, clientWidth - right), 0);
  FAdjusting = false;
}

}  // namespace controls
