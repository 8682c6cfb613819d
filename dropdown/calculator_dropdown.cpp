#include "dropdown/calculator_dropdown.h"

#include <QLineEdit>

#include <cfloat>
#include <cmath>

#include "dropdown/button_appearance.h"
#include "dropdown/number_text.h"
#include "platform/forms/keys.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"

namespace dropdown {

using namespace plat;

namespace {

const QString ErrorText = QStringLiteral("Error");

// The display shows doubles: a result outside their range (or not a number) cannot be shown.
bool Displayable(long double V) { return std::isfinite(V) && std::fabs(V) <= static_cast<long double>(DBL_MAX); }

QString GeneralText(long double V) { return Format(QStringLiteral("%g"), {static_cast<double>(V)}); }

bool IsNumberChar(char16_t Key) { return QChar(Key).isNumber(); }

}  // namespace

TExtCalculatorDropdown::TExtCalculatorDropdown(TComponent* AOwner)
    : TExtCustomDropDown(AOwner), FCalcButtonAppearance(std::make_unique<TButtonAppearance>()) {
  SetDropDownColor(0xFFFFFF);
  SetDropDownWidth(230);
  DropDownHeader()->SetVisible(false);
  DropDownFooter()->SetVisible(false);
  SetEditType(etFloat);
  FPrevop = -1;
  SetPrecision(2);
  FDecim = 0;
  FCalcClosed = true;
  FMVal = 0;
  // The base took its style before this class's appearance existed.
  SetComponentStyle(GetComponentStyle());
}

TExtCalculatorDropdown::~TExtCalculatorDropdown() = default;

// ---- the value ------------------------------------------------------------------------------------------

long double TExtCalculatorDropdown::DisplayValue() const {
  return StrToFloat(RemoveThousandSeparators(Text()), FormatSettings);
}

long double TExtCalculatorDropdown::Value() {
  if (Text().isEmpty()) SetText(QStringLiteral("0"));
  double v = 0;
  return TryStrToFloat(RemoveThousandSeparators(Text()), v, FormatSettings) ? v : 0;
}

void TExtCalculatorDropdown::SetValue(long double Value) { SetText(GeneralText(Value)); }

void TExtCalculatorDropdown::SetShowThousandSeparator(bool Value) {
  if (Value == FShowThousandSeparator) return;
  FShowThousandSeparator = Value;
  const double v = GetFloatValue();
  SetEditType(Value ? etMoney : etFloat);
  SetFloatValue(v);
}

void TExtCalculatorDropdown::ShowValue(long double V) {
  if (Displayable(V))
    SetFloatValue(static_cast<double>(V));
  else
    SetText(ErrorText);
}

// ---- the calculator ------------------------------------------------------------------------------------

void TExtCalculatorDropdown::Calculate() {
  if (Text().isEmpty() || Text() == ErrorText) SetText(QStringLiteral("0"));
  const long double x = DisplayValue();
  long double r = 0;
  switch (FPrevop) {
    case 0: r = FPrevval + x; break;
    case 1: r = FPrevval * x; break;
    case 2: r = FPrevval - x; break;
    case 3:
      if (x == 0) {
        FPrevval = 0;
        SetText(ErrorText);
        return;
      }
      r = FPrevval / x;
      break;
    default: r = x; break;
  }
  // Floating-point faults raise nothing here: a result the display cannot hold is the overflow, and gives 0.
  FPrevval = Displayable(r) ? r : 0;
  SetFloatValue(static_cast<double>(FPrevval));
  FNewval = true;
}

void TExtCalculatorDropdown::DoOperator(int Op) {
  Calculate();
  FPrevop = Op;
}

void TExtCalculatorDropdown::DoEquals() {
  Calculate();
  if (Text().isEmpty()) SetText(QStringLiteral("0"));
  FPrevop = -1;
  if (Text() != ErrorText) FPrevval = DisplayValue();
}

void TExtCalculatorDropdown::DoPercent() {
  if (Text().isEmpty() || Text() == ErrorText) SetText(QStringLiteral("0"));
  const long double r = FPrevval * DisplayValue() / 100;
  SetText(Displayable(r) ? GeneralText(r) : ErrorText);
}

void TExtCalculatorDropdown::DigitKey(int Digit) {
  double v = GetFloatValue();
  if (FNewval || (v == 0 && FDecim == 0)) {
    SetText(QString::number(Digit));
    FNewval = false;
    return;
  }
  if (FDecim > 0) {
    v += static_cast<double>(Digit) / static_cast<double>(FDecim);
    // Past 18 decimals a digit adds nothing a double can show; the divisor stops growing there.
    if (FDecim <= INT64_MAX / 10) FDecim *= 10;
  } else {
    v = v * 10 + Digit;
  }
  ShowValue(v);
}

void TExtCalculatorDropdown::BackKey() {
  if (FPrevop >= 0) return;
  QString s = QString::number(GetFloatValue(), 'g', 15);
  s.replace(u'.', DecimalSeparator());
  s.chop(1);
  SetText(s);
}

void TExtCalculatorDropdown::ButtonClick(TObject*, int Index) {
  if (!FExtButtonPanel || Index < 0 || Index >= FExtButtonPanel->Buttons()->Count()) return;
  BeforeCalcInput();
  const int t = FExtButtonPanel->Buttons()->GetItem(Index)->Tag;
  if ((t >= 10 && t <= 14) || (t >= 16 && t <= 18)) FDecim = 0;
  if ((t < 10 || t == 14 || t == 15) && Full()) return;
  const QChar d = DecimalSeparator();
  switch (t) {
    case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 9: DigitKey(t); break;
    case 10: DoOperator(0); break;
    case 11: DoOperator(2); break;
    case 12: DoOperator(1); break;
    case 13: DoOperator(3); break;
    case 14: {
      QString s = Text();
      if (s.contains(u'-'))
        s.remove(0, 1);
      else
        s.prepend(u'-');
      SetText(s);
      break;
    }
    case 15:
      if (!Text().contains(d)) SetText(Text() + d);
      FDecim = 10;
      if (FNewval) SetText(QStringLiteral("0"));
      FNewval = false;
      break;
    case 16: case 30: case 32:
      SetText(QStringLiteral("0"));
      FPrevval = 0;
      FPrevop = -1;
      break;
    case 17: DoEquals(); break;
    case 18: DoPercent(); break;
    case 31: BackKey(); break;
    case 33: FMVal = 0; break;
    case 34: SetFloatValue(static_cast<double>(FMVal)); break;
    case 35: FMVal = DisplayValue(); break;
    case 36: {
      const long double m = FMVal + DisplayValue();
      if (Displayable(m))
        FMVal = m;
      else
        SetText(ErrorText);  // the memory keeps what it held
      break;
    }
    case 37: {
      const double v = GetFloatValue();
      if (v < 0)
        SetText(ErrorText);
      else
        SetFloatValue(std::sqrt(v));
      break;
    }
    case 38: {
      const double v = GetFloatValue();
      if (v == 0)
        SetText(ErrorText);
      else
        ShowValue(1.0L / v);
      break;
    }
    default: break;
  }
  SetModified(true);
}

// ---- keys -------------------------------------------------------------------------------------------------

bool TExtCalculatorDropdown::PopupShowing() const {
  return !FCalcClosed && !(DropDownForm() && !DropDownForm()->Visible());
}

void TExtCalculatorDropdown::CalcKeyPress(char16_t& Key) {
  if (!PopupShowing()) {
    switch (Key) {
      case u'-': DoOperator(2); break;
      case 13: case u'=': DoEquals(); break;
      case u'%': DoPercent(); break;
      case u'*': DoOperator(1); break;
      case u'+': DoOperator(0); break;
      case u'/': DoOperator(3); break;
      case u'C': case u'c':
        SetText(QStringLiteral("0"));
        FNewval = true;
        FPrevop = -1;
        break;
      default: break;
    }
  }
  const QChar d = DecimalSeparator();
  if (!(IsNumberChar(Key) || Key == d || Key == 8 || Key == u'-')) Key = 0;
  auto caretAfterFirst = [this] {
    SetSelStart(static_cast<int>(Prefix().size()) + 1);
    SetSelLength(0);
  };
  if (IsNumberChar(Key) && (Text() == QStringLiteral("0") || FNewval)) {
    SetText(QString(QChar(Key)));
    caretAfterFirst();
    FNewval = false;
    Key = 0;
  } else if (Key == 8 && Text().size() == 1) {
    SetText(QStringLiteral("0"));
    caretAfterFirst();
    Key = 0;
  } else if (Key == d && Text().contains(d)) {
    Key = 0;
  }
}

void TExtCalculatorDropdown::HandleKeyPress(char16_t& Key) {
  // A character message has been through the calculator already (Dispatch); a direct call has not.
  if (!FInCharMessage) {
    CalcKeyPress(Key);
    if (Key == 0) return;
  }
  TExtCustomDropDown::HandleKeyPress(Key);
}

void TExtCalculatorDropdown::Dispatch(TMessage& M) {
  if (M.Msg == WM_CHAR && !FInCharMessage) {
    auto key = static_cast<char16_t>(M.WParam);
    CalcKeyPress(key);
    if (key == 0) return;
    M.WParam = key;
    FInCharMessage = true;
    try {
      TExtCustomDropDown::Dispatch(M);
    } catch (...) {
      FInCharMessage = false;
      throw;
    }
    FInCharMessage = false;
    return;
  }
  TExtCustomDropDown::Dispatch(M);
  if (M.Msg == WM_KEYDOWN && M.WParam == VK_DELETE && (Text().isEmpty() || Text() == ErrorText))
    SetText(QStringLiteral("0"));
}

void TExtCalculatorDropdown::DropDownFormKeyPress(char16_t& Key) {
  TExtCustomDropDown::DropDownFormKeyPress(Key);
  BeforeCalcInput();
  const QChar d = DecimalSeparator();
  if (Key == d && !Text().contains(d)) SetText(Text() + d);
  if (IsNumberChar(Key) && Full()) return;
  switch (Key) {
    case 13:
      DoEquals();
      DoHideDropDown(false);
      break;
    case 27: DoHideDropDown(true); break;
    case u'%': DoPercent(); break;
    case u'*': DoOperator(1); break;
    case u'+': DoOperator(0); break;
    case u'-': DoOperator(2); break;
    case u'/': DoOperator(3); break;
    case u'=': DoEquals(); break;
    case u'0': case u'1': case u'2': case u'3': case u'4': case u'5': case u'6': case u'7': case u'8': case u'9':
      FNewval = false;
      break;
    case u'C': case u'c':
      SetText(QStringLiteral("0"));
      FPrevval = 0;
      FNewval = true;
      FPrevop = -1;
      break;
    default: break;
  }
}

void TExtCalculatorDropdown::DropDownFormKeyDown(std::uint16_t& Key, TShiftState Shift) {
  TExtCustomDropDown::DropDownFormKeyDown(Key, Shift);
  if (Key == VK_TAB || Key == VK_F4) {
    DoHideDropDown(false);
  } else if (Key == VK_BACK) {
    QString s = Text();
    if (s == ErrorText) s.clear();
    s.chop(1);
    SetText(s.isEmpty() ? QStringLiteral("0") : s);
  }
}

void TExtCalculatorDropdown::SetFocusMessage(TMessage& M) {
  if (AutoSelect() && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
  TExtCustomDropDown::SetFocusMessage(M);
}

// ---- the popup ------------------------------------------------------------------------------------------

void TExtCalculatorDropdown::CreateDropDownForm() {
  TExtCustomDropDown::CreateDropDownForm();
  if (!FExtButtonPanel) {
    FExtButtonPanel = new TCustomButtonPanel(this);
    FExtButtonPanel->SetExtDropDown(this);
    FExtButtonPanel->SetParent(DropDownForm());
    FExtButtonPanel->SetHeight(150);
    FExtButtonPanel->CreateDefaultButtons();
  }
  SetControl(FExtButtonPanel);
  FExtButtonPanel->OnButtonClick = [this](TObject* Sender, int Index) { ButtonClick(Sender, Index); };
}

void TExtCalculatorDropdown::BeforeDropDown() {
  // The keypad is made the first time the popup opens.
  if (!FExtButtonPanel) CreateDropDownForm();
  TExtCustomDropDown::BeforeDropDown();
  DropDownForm()->SetCancelOnDeActivate(false);
  FExtButtonPanel->SetButtonAppearance(FCalcButtonAppearance.get());
  FExtButtonPanel->SetColor(DropDownColor());
  FExtButtonPanel->ArrangeButtons();
  FNewval = true;
  FDecim = 0;
  FCalcClosed = false;
}

void TExtCalculatorDropdown::SetComponentStyle(TExtStyle AStyle) {
  TExtCustomDropDown::SetComponentStyle(AStyle);
  if (!FCalcButtonAppearance) return;
  const TExtButtonAppearance& b = *ButtonAppearance();
  TButtonAppearance& c = *FCalcButtonAppearance;
  c.SetBorderColorChecked(b.BorderColorDisabled());
  c.SetBorderColor(b.BorderColor());
  c.SetBorderColorHot(b.BorderColorHot());
  c.SetBorderColorDown(b.BorderColorDown());
  c.SetColor(b.Color());
  c.SetColorTo(b.ColorTo());
  c.SetColorDown(b.ColorDown());
  c.SetColorDownTo(b.ColorDownTo());
  c.SetColorChecked(b.ColorDisabledTo());
  c.SetColorCheckedTo(b.ColorHotTo());
  c.SetColorDisabled(b.ColorDisabled());
  c.SetColorDisabledTo(b.ColorDisabledTo());
  c.SetColorHot(b.ColorHot());
  c.SetColorHotTo(b.ColorHotTo());
  const bool office2010 = AStyle == controls::tsOffice2010Blue || AStyle == controls::tsOffice2010Silver ||
                          AStyle == controls::tsOffice2010Black;
  c.GlowColorDown = office2010 ? b.ColorHot() : plat::TColor(0xD5C244);
  c.GlowColorHot = office2010 ? b.ColorHot() : b.ColorDownTo();
}

}  // namespace dropdown
