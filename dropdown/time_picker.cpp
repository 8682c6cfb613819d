#include "dropdown/time_picker.h"

#include <cmath>

#include "dropdown/clock.h"
#include "platform/forms/datetimepicker.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/keys.h"
#include "platform/rtl/formatsettings.h"

namespace dropdown {

using namespace plat;

namespace {

QString TwoDigits(int Value) { return Value < 10 ? QStringLiteral("0") + QString::number(Value) : QString::number(Value); }

QChar Separator() { return FormatSettings.TimeSeparator; }

// The first and, when present, the second character are digits; an empty part passes.
bool LeadingDigitsValid(const QString& S) {
  if (S.isEmpty()) return true;
  if (!S[0].isDigit() || S[0].unicode() > u'9') return false;
  return S.size() < 2 || (S[1].isDigit() && S[1].unicode() <= u'9');
}

int PartValue(const QString& S) { return S.isEmpty() ? 0 : S.toInt(); }

// The time of day only, for comparing the clock's time with the picker's.
double TimeOfDay(TDateTime T) { return T - std::floor(T); }

// RAII for the flag that marks a text written by the control itself.
class TInternal {
 public:
  explicit TInternal(bool& Flag) : FFlag(Flag), FSaved(Flag) { FFlag = true; }
  ~TInternal() { FFlag = FSaved; }

 private:
  bool& FFlag;
  bool FSaved;
};

}  // namespace

TExtTimePickerDropDown::TExtTimePickerDropDown(TComponent* AOwner)
    : TExtCustomDropDown(AOwner), FWatchAppearance(std::make_unique<TWatchAppearance>()),
      FWatchSettings(std::make_unique<TWatchSettings>()) {
  FWatchAppearance->OnChange = [](TObject*) {};
  SetEditorEnabled(false);
  SetDropDownEnabled(true);
  FShowSeconds = true;
  ApplyMask();
  {
    TInternal internal(FInternalCall);
    const QChar s = Separator();
    SetPlainText(QStringLiteral("00") + s + QStringLiteral("00") + s + QStringLiteral("00"));
  }
  DropDownHeader()->SetVisible(false);
  DropDownFooter()->SetVisible(false);
  // The base took its style before the clock appearance existed.
  SetComponentStyle(GetComponentStyle());
}

TExtTimePickerDropDown::~TExtTimePickerDropDown() {
  if (FExtWatch) FExtWatch->OnChange = nullptr;
  if (FDateTimePicker) FDateTimePicker->OnChange = nullptr;
}

QString TExtTimePickerDropDown::FormatTime(int Hour, int Minute, int Second) const {
  QString s = TwoDigits(Hour) + Separator() + TwoDigits(Minute);
  if (FShowSeconds) s += Separator() + TwoDigits(Second);
  return s;
}

void TExtTimePickerDropDown::ApplyMask() {
  const QChar s = Separator();
  SetEditMask(FShowSeconds ? QStringLiteral("!90") + s + QStringLiteral("00") + s + QStringLiteral("00;1; ")
                           : QStringLiteral("!90") + s + QStringLiteral("00;1; "));
}

// ---- the time -------------------------------------------------------------------------------------------

void TExtTimePickerDropDown::SetTime(TDateTime Value) {
  if (Value == FTime) return;
  FTime = Value;
  Word h, m, s, ms;
  DecodeTime(Value, h, m, s, ms);
  // The text's change handler takes Time back from the text.
  SetPlainText(FormatTime(h, m, s));
  if (DroppedDown() && FExtWatch) {
    FExtWatch->SetTime(Value);
    if (FShowTimePicker && FDateTimePicker) FDateTimePicker->SetTime(Value);
  }
}

void TExtTimePickerDropDown::SetShowSeconds(bool Value) {
  if (Value == FShowSeconds) return;
  FShowSeconds = Value;
  if (FInternalCall) {
    SetEditMask(QString());
    SetText(QString());
  }
  ApplyMask();
  const TDateTime old = FTime;
  FTime = old + 1;
  SetTime(old);
}

void TExtTimePickerDropDown::SetPart(int Index, int Value) {
  Word p[4];
  DecodeTime(FTime, p[0], p[1], p[2], p[3]);
  const int limit = Index == 0 ? 23 : 59;
  if (Value < 0 || Value > limit || Value == p[Index]) return;
  p[Index] = static_cast<Word>(Value);
  SetTime(std::trunc(FTime) + EncodeTime(p[0], p[1], p[2], p[3]));
  if (OnTimeChange) OnTimeChange(this);
}

void TExtTimePickerDropDown::SetHourPart(int Value) { SetPart(0, Value); }
void TExtTimePickerDropDown::SetMinutePart(int Value) { SetPart(1, Value); }
void TExtTimePickerDropDown::SetSecondPart(int Value) { SetPart(2, Value); }

// ---- keys and typed text --------------------------------------------------------------------------------

void TExtTimePickerDropDown::HandleKeyDown(std::uint16_t& Key, TShiftState Shift) {
  TExtCustomDropDown::HandleKeyDown(Key, Shift);
  if (GetKeyState(VK_MENU) < 0 || Shift.Contains(ssAlt) || Shift.Contains(ssCtrl)) return;
  if (Key != VK_UP && Key != VK_DOWN) return;
  const bool up = Key == VK_UP;
  const int c = SelStart();
  const QString text = Text();
  const int p1 = static_cast<int>(text.indexOf(Separator())) + 1;
  Word h, m, s, ms;
  DecodeTime(FTime, h, m, s, ms);
  auto step = [up](int Value, int Max) { return up ? (Value == 0 ? Max : Value - 1) : (Value == Max ? 0 : Value + 1); };
  if (c < p1) {
    SetHourPart(step(h, 23));
  } else {
    const QString rest = text.mid(p1);
    const int p2 = static_cast<int>(rest.indexOf(Separator())) + 1;
    if (FShowSeconds && p2 > 0 && c - p1 >= p2)
      SetSecondPart(step(s, 59));
    else
      SetMinutePart(step(m, 59));
  }
  SetSelStart(c);
  SetSelLength(0);
}

void TExtTimePickerDropDown::HandleChange() {
  TExtCustomDropDown::HandleChange();
  const QString text = Text();
  const int complete = FShowSeconds ? 8 : 5;
  if (text.isEmpty() || text.trimmed().size() != complete || FInternalCall) return;
  const QChar sep = Separator();
  // The separators: one more after the first with seconds, none without, nothing further.
  const int first = static_cast<int>(text.indexOf(sep));
  if (first < 0) return;
  const QString afterFirst = text.mid(first + 1).trimmed();
  const int second = static_cast<int>(afterFirst.indexOf(sep));
  if (FShowSeconds ? (second < 0 || afterFirst.mid(second + 1).contains(sep)) : second >= 0) return;
  QString t = text;
  t.replace(u' ', u'0');
  const int tFirst = static_cast<int>(t.indexOf(sep));
  const QString hourPart = t.left(tFirst).trimmed();
  if (!LeadingDigitsValid(hourPart)) return;
  const int hour = PartValue(hourPart);
  const QString rest = t.mid(tFirst + 1).trimmed();
  const int restSep = static_cast<int>(rest.indexOf(sep));
  const QString minutePart = (FShowSeconds ? rest.left(restSep) : rest).trimmed();
  if (!LeadingDigitsValid(minutePart)) return;
  const int minute = PartValue(minutePart);
  int secondValue = 0;
  if (FShowSeconds) {
    const QString secondPart = rest.mid(restSep + 1).trimmed();
    if (!LeadingDigitsValid(secondPart)) return;
    secondValue = PartValue(secondPart);
  }
  // An hour above 23 or a minute or second above 59 raises the conversion error here; Time stays.
  FTime = EncodeTime(hour, minute, secondValue, 0);
  const QString s = FormatTime(hour, minute, secondValue);
  if (s != text && minute == 0 && secondValue == 0) {
    TInternal internal(FInternalCall);
    SetText(s);
  }
}

// ---- the popup ------------------------------------------------------------------------------------------

void TExtTimePickerDropDown::CreateDropDownForm() {
  TExtCustomDropDown::CreateDropDownForm();
  if (!FPanelCtrl) {
    FPanelCtrl = new TPanel(this);
    FPanelCtrl->SetParent(DropDownForm());
    FPanelCtrl->SetBevelOuter(bvNone);
    FPanelCtrl->SetBevelInner(bvNone);
    FPanelCtrl->SetShowCaption(false);
  }
  FPanelCtrl->SetBounds(0, 0, FPanelCtrl->Width(), 180);
  if (!FExtWatch) {
    FExtWatch = new TExtWatch(this);
    FExtWatch->SetParent(FPanelCtrl);
  }
  FExtWatch->SetAlign(alClient);
  SetControl(FPanelCtrl);
}

void TExtTimePickerDropDown::BeforeDropDown() {
  // The panel and the clock are made the first time the popup opens.
  if (!FPanelCtrl) CreateDropDownForm();
  TExtCustomDropDown::BeforeDropDown();
  SizePanel(170);
  TDropDownForm& form = *DropDownForm();
  form.SetCancelOnDeActivate(false);
  FPanelCtrl->SetColor(DropDownColor());
  TExtWatch& watch = *FExtWatch;
  watch.SetAppearance(*FWatchAppearance);
  watch.SetSettings(*FWatchSettings);
  watch.SetShowAMPM(FShowWatchAMPM);
  watch.SetShowNumbers(FShowWatchNumbers);
  watch.SetAnimation(FAnimation);
  watch.SetAnimationFactor(FAnimationFactor);
  watch.OnChange = nullptr;
  if (!FWatchSettings->Auto()) watch.SetTime(FTime);
  watch.OnChange = [this](TObject*) { WatchChange(); };
  FOpenTime = FTime;
  if (!FShowTimePicker) {
    if (FDateTimePicker) FDateTimePicker->Hide();
    return;
  }
  if (!FDateTimePicker) {
    FDateTimePicker = new TDateTimePicker(this);
    FDateTimePicker->SetParent(FPanelCtrl);
    FDateTimePicker->SetKind(dtkTime);
  }
  FDateTimePicker->OnChange = nullptr;
  FDateTimePicker->SetAlign(alBottom);
  FDateTimePicker->Show();
  FDateTimePicker->SetTime(FTime);
  FDateTimePicker->BringToFront();
  FDateTimePicker->OnChange = [this](TObject*) { TimePickerChange(); };
  FDateTimePicker->OnKeyDown = [this](TObject*, std::uint16_t& Key, TShiftState Shift) { ControlKeyDown(Key, Shift); };
  FDateTimePicker->OnKeyUp = [this](TObject*, std::uint16_t& Key, TShiftState Shift) { ControlKeyUp(Key, Shift); };
  FDateTimePicker->OnKeyPress = [this](TObject*, char16_t& Key) { ControlKeyPress(Key); };
  FDateTimePicker->SetFormat(FShowSeconds ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm"));
  SizePanel(FDateTimePicker->Height() + 170);
}

void TExtTimePickerDropDown::SizePanel(int Height) {
  // The panel fills the popup, so the popup takes the panel's size (plus its border) and lays out anew.
  FPanelCtrl->SetBounds(FPanelCtrl->Left(), FPanelCtrl->Top(), 170, Height);
  TDropDownForm& form = *DropDownForm();
  const int border = 2 * DropDownBorderWidth();
  form.SetBounds(form.Left(), form.Top(), 170 + border, Height + border);
}

void TExtTimePickerDropDown::WatchChange() {
  if (FDateTimePicker && FShowTimePicker && TimeOfDay(FDateTimePicker->Time()) != TimeOfDay(FExtWatch->Time())) {
    FDateTimePicker->SetTime(FExtWatch->Time());
    if (OnTimeChange) OnTimeChange(this);
  }
  SetTime(FExtWatch->Time());
}

void TExtTimePickerDropDown::TimePickerChange() {
  if (FDateTimePicker && FExtWatch && !FWatchSettings->Auto()) FExtWatch->SetTime(FDateTimePicker->Time());
}

void TExtTimePickerDropDown::DropDownHidden() {
  TExtCustomDropDown::DropDownHidden();
  if (FExtWatch && !FWatchSettings->Auto()) SetTime(FExtWatch->Time());
}

void TExtTimePickerDropDown::DoHideDropDown(bool Cancelled) {
  const bool shown = DropDownForm() && DropDownForm()->Visible();
  TExtCustomDropDown::DoHideDropDown(Cancelled);
  if (!shown || !FExtWatch) return;
  // A live clock shows the system time and picks nothing: Time stays what it was.
  if (FWatchSettings->Auto()) return;
  if (!Cancelled) {
    SetTime(FExtWatch->Time());
  } else {
    // A cancelled popup keeps the time it opened with, and the clock goes back to it.
    SetTime(FOpenTime);
    FExtWatch->SetTime(FTime);
  }
}

namespace {

bool AltOnlyKey(std::uint16_t Key) { return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN; }

}  // namespace

void TExtTimePickerDropDown::DropDownFormKeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (!AltOnlyKey(Key) || Shift.Contains(ssAlt)) TExtCustomDropDown::DropDownFormKeyDown(Key, Shift);
  if (DropDownForm() && DropDownForm()->Visible() && FExtWatch) FExtWatch->HandleKey(Key);
}

void TExtTimePickerDropDown::DropDownFormKeyUp(std::uint16_t& Key, TShiftState Shift) {
  if (!AltOnlyKey(Key) || Shift.Contains(ssAlt)) TExtCustomDropDown::DropDownFormKeyUp(Key, Shift);
}

void TExtTimePickerDropDown::ControlKeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (!AltOnlyKey(Key) || Shift.Contains(ssAlt)) TExtCustomDropDown::ControlKeyDown(Key, Shift);
}

void TExtTimePickerDropDown::ControlKeyUp(std::uint16_t& Key, TShiftState Shift) {
  if (!AltOnlyKey(Key) || Shift.Contains(ssAlt)) TExtCustomDropDown::ControlKeyUp(Key, Shift);
}

void TExtTimePickerDropDown::SetComponentStyle(TExtStyle AStyle) {
  TExtCustomDropDown::SetComponentStyle(AStyle);
  if (FWatchAppearance) ApplyWatchComponentStyle(*FWatchAppearance, AStyle);
}

}  // namespace dropdown
