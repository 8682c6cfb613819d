// The value model and the typed-character rules of the drop-down edit: prefix + value + suffix, the edit
// types and the numeric formatting.
#include <QLineEdit>
#include <QLocale>

#include <cmath>

#include "controls/text_utils.h"
#include "dropdown/ext_dropdown.h"
#include "dropdown/number_text.h"
#include "platform/forms/keys.h"
#include "platform/rtl/format.h"

namespace dropdown {

using namespace plat;

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsAsciiLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

QString FixedText(double X, int Precision) { return Format(QStringLiteral("%.%1f").arg(Precision), {X}); }
QString GroupedText(double X, int Precision) { return Format(QStringLiteral("%.%1n").arg(Precision), {X}); }
QString GeneralText(double X) { return Format(QStringLiteral("%g"), {X}); }
QString HexText(double X) {
  const auto bits = static_cast<std::uint32_t>(static_cast<std::int32_t>(std::trunc(X)));
  return QString::number(bits, 16).toUpper();
}

constexpr char16_t Backspace = 8, TabChar = 9, EnterChar = 13, EscapeChar = 27;

}  // namespace

// ---- the value ------------------------------------------------------------------------------------------

QString TExtCustomDropDown::Text() const {
  QString s = RawText();
  if (!FPrefix.isEmpty() && s.startsWith(FPrefix)) s.remove(0, FPrefix.size());
  s.chop(std::min(FSuffix.size(), s.size()));
  return s;
}

void TExtCustomDropDown::SetRawText(const QString& Value) { TCustomMaskEdit::SetText(Value); }

void TExtCustomDropDown::SetText(const QString& Value) {
  QString v = Value;
  if (v.isEmpty() && (IsNumericType() || FEditType == etHex)) v = QStringLiteral("0");
  if (FPrecision > 0 && !v.isEmpty() && v != QStringLiteral("Error")) {
    if (FEditType == etMoney) v = GroupedText(TextToFloat(v), FPrecision);
    if (FEditType == etFloat) v = FixedText(TextToFloat(v), FPrecision);
  }
  if (FEditType == etHex) v = v.toUpper();
  SetRawText(FPrefix + v + FSuffix);
  FOldText = v;
  SetModified(false);
}

void TExtCustomDropDown::SetPlainText(const QString& Value) { SetRawText(Value); }

void TExtCustomDropDown::SetPrefix(const QString& Value) {
  const QString v = Text();
  FPrefix = Value;
  SetRawText(FPrefix + v + FSuffix);
}

void TExtCustomDropDown::SetSuffix(const QString& Value) {
  const QString v = Text();
  FSuffix = Value;
  SetRawText(FPrefix + v + FSuffix);
}

int TExtCustomDropDown::ValueEnd() const { return std::max(ValueStart(), int(RawText().size() - FSuffix.size())); }

void TExtCustomDropDown::SetEditType(TDropDownEditType Value) {
  if (Value != FEditType) {
    FEditType = Value;
    if (Value == etPassword) {
      SetPasswordChar(u'*');
      FCanUndo = false;
    } else {
      SetPasswordChar(0);
    }
  }
  const TNumberClass c = ClassifyNumber(Text());
  if (FEditType == etNumeric && c != ncInteger) SetIntValue(0);
  if ((FEditType == etFloat || FEditType == etMoney) && c != ncInteger && c != ncFloat) SetFloatValue(0);
  if (FEditType == etHex && c != ncInteger && c != ncHex) SetIntValue(0);
}

void TExtCustomDropDown::SetPrecision(int Value) {
  if (Value == FPrecision) return;
  if (FEditType != etString && FEditType != etFloat && FEditType != etMoney) return;
  FPrecision = static_cast<std::int16_t>(Value);
  const TNumberClass c = ClassifyNumber(Text());
  SetFloatValue(c == ncInteger || c == ncFloat ? GetFloatValue() : 0.0);
}

void TExtCustomDropDown::SetFloatValue(double X) {
  switch (FEditType) {
    case etString:
    case etFloat: SetText(FPrecision < 0 ? GeneralText(X) : FixedText(X, FPrecision)); break;
    case etNumeric: SetText(FPrecision < 0 ? GeneralText(X) : GroupedText(X, FPrecision)); break;
    case etMoney:
      SetText(FPrecision < 0 ? GeneralText(X) : FixedText(X, FPrecision));
      ApplyThousandSeparators();
      break;
    case etHex: SetText(HexText(X)); break;
    default: break;
  }
  SetModified(true);
}

void TExtCustomDropDown::SetIntValue(int N) {
  switch (FEditType) {
    case etNumeric:
    case etFloat: SetText(QString::number(N)); break;
    case etMoney:
      SetText(QString::number(N));
      ApplyThousandSeparators();
      break;
    case etHex: SetText(HexText(N)); break;
    default: break;
  }
  SetModified(true);
}

double TExtCustomDropDown::GetFloatValue() const {
  const QString v = Text();
  switch (FEditType) {
    case etString: {
      bool ok = false;
      const double d = QLocale::c().toDouble(v.trimmed(), &ok);
      return ok ? d : 0.0;
    }
    case etNumeric:
    case etFloat:
      if (v.isEmpty() || v == QStringLiteral("Error") || v == QStringLiteral("-")) return 0;
      return TextToFloat(v);
    case etMoney: {
      if (v.isEmpty()) return 0;
      QString s = RemoveThousandSeparators(v);
      if (s.endsWith(DecimalSeparator())) s.chop(1);
      if (s.isEmpty() || s == QStringLiteral("-")) return 0;
      return TextToFloat(s);
    }
    case etHex: return v.isEmpty() ? 0 : HexToInt(v);
    default: return 0;
  }
}

void TExtCustomDropDown::SetModified(bool Value) {
  if (!FEditorEnabled || ReadOnly()) return;
  TCustomMaskEdit::SetModified(Value);
  FIsModified = Value;
}

void TExtCustomDropDown::SelectAll() {
  if (FPrefix.isEmpty() && FSuffix.isEmpty()) {
    TCustomMaskEdit::SelectAll();
    return;
  }
  LineEdit()->setSelection(ValueStart(), ValueEnd() - ValueStart());
}

void TExtCustomDropDown::SelectBeforeDecimal() {
  const int d = static_cast<int>(Text().indexOf(DecimalSeparator()));
  SetSelStart(ValueStart() + std::max(0, d));
}

void TExtCustomDropDown::SelectAfterDecimal() {
  const int d = static_cast<int>(Text().indexOf(DecimalSeparator()));
  SetSelStart(ValueStart() + (d < 0 ? 0 : d + 1));
}

void TExtCustomDropDown::SetValueKeepingAffixes(const QString& Value, int Caret) {
  SetRawText(FPrefix + Value + FSuffix);
  SetSelStart(std::clamp(Caret, ValueStart(), ValueEnd()));
}

void TExtCustomDropDown::ApplyThousandSeparators() {
  const QString value = Text();
  if (value.isEmpty()) return;
  const QChar d = DecimalSeparator();
  const QString sign = value.startsWith(u'-') ? QStringLiteral("-") : QString();
  const int dp = static_cast<int>(value.indexOf(d));
  const QString decimals = dp < 0 ? QString() : value.mid(dp, 255);
  const double whole = std::trunc(std::fabs(GetFloatValue()));
  QString integer = FAutoThousandSeparator ? GroupedText(whole, 2) : FixedText(whole, 2);
  const int cut = static_cast<int>(integer.indexOf(d));
  if (cut >= 0) integer.truncate(cut);
  const QString newValue = sign + integer + decimals;
  const int caret = SelStart() + static_cast<int>(newValue.size()) - static_cast<int>(value.size());
  // The regrouping is not the user's edit: its change notification is swallowed, its modified flag kept.
  if (newValue != value) FBlockChange = true;
  const bool modified = Modified();
  const std::int16_t precision = FPrecision;
  FPrecision = 0;
  SetText(newValue);
  FPrecision = precision;
  FBlockChange = false;
  if (modified) SetModified(true);
  SetSelStart(caret);
}

// ---- positions ------------------------------------------------------------------------------------------

int TExtCustomDropDown::IntegerPartEnd(const QString& Value) const {
  QString s = Value;
  s.remove(ThousandSeparator());
  const int d = static_cast<int>(s.indexOf(DecimalSeparator()));
  int end = d < 0 ? static_cast<int>(s.size()) + 1 : d + 1;
  if (FSigned && IsNumericType() && s.contains(u'-')) --end;
  return end;
}

int TExtCustomDropDown::DecimalPosition() const {
  const QString v = Text();
  const int d = static_cast<int>(v.indexOf(DecimalSeparator()));
  if (d < 0) return static_cast<int>(FPrefix.size() + v.size() + FSuffix.size()) + 1;
  return d + 1 + ValueStart();
}

bool TExtCustomDropDown::IsSignKey(char16_t Ch) const { return FSigned && IsNumericType() && Ch == u'-'; }

bool TExtCustomDropDown::DecimalsFull(const QString& Value, int Caret) const {
  if (FPrecision <= 0) return false;
  const int caret = Caret - ValueStart();
  if (Value.size() - caret > FPrecision) return false;
  const int d = static_cast<int>(Value.indexOf(DecimalSeparator()));
  if (d < 0) return false;
  return caret >= d + 1 && Value.size() - (d + 1) >= FPrecision;
}

bool TExtCustomDropDown::ThousandSeparatorMisplaced(const QString& Value, int Caret) const {
  const QChar g = ThousandSeparator();
  if (!Value.contains(g)) return false;
  const int caret = Caret - ValueStart();
  int nearest = INT_MAX;
  for (int i = 0; i < Value.size(); ++i) {
    if (Value[i] == g) nearest = std::min(nearest, std::abs(caret - (i + 1)));
  }
  return nearest != 3;
}

// ---- typed characters -----------------------------------------------------------------------------------

void TExtCustomDropDown::InheritedChar(TMessage& M) { TCustomMaskEdit::Dispatch(M); }

void TExtCustomDropDown::ToggleSign(bool SelectedAll) {
  QString value = Text();
  int caret = SelStart();
  if (SelectedAll) {
    value = QStringLiteral("-");
    caret = ValueStart() + 1;
  } else if (value.contains(u'-')) {
    value.remove(0, 1);
    caret = std::max(ValueStart(), caret - 1);
  } else {
    value.prepend(u'-');
    ++caret;
  }
  SetValueKeepingAffixes(value, caret);
  SetModified(true);
}

bool TExtCustomDropDown::NumericChar(TMessage& M, char16_t Key) {
  const bool wholeSelected = !Text().isEmpty() && SelLength() == Text().size() && SelStart() == ValueStart();
  if (Key == u'-') {
    ToggleSign(wholeSelected);
    return true;
  }
  if (Key == Backspace || Key == TabChar || Key == EnterChar || IsDigit(Key) || GetKeyState(VK_CONTROL) < 0)
    InheritedChar(M);
  return true;
}

bool TExtCustomDropDown::FloatChar(TMessage& M, char16_t Key, bool Money) {
  const QChar d = DecimalSeparator(), g = ThousandSeparator();
  const QString value = Text();
  const int caret = SelStart();
  const bool selection = SelLength() > 0;
  const bool wholeSelected = !value.isEmpty() && SelLength() == value.size() && caret == ValueStart();
  if (!Money) {
    if (Key == u',' && d != u',' && g != u',') return true;
    if (Key == u'.' && d != u'.' && g != u'.') return true;
    if (!(Key == Backspace || Key == TabChar || Key == EnterChar || Key == u',' || Key == u'-' || Key == u'.' ||
          IsDigit(Key)))
      return true;
  } else if (!(Key == Backspace || Key == TabChar || Key == EnterChar || Key == u'-' || IsDigit(Key) || Key == d)) {
    return true;
  }
  if (Key == d && !SelText().contains(d)) {
    if (value.contains(d) || FPrecision == 0) {
      if (Money && FPrecision > 0 && wholeSelected) SetText(QStringLiteral("0,0"));
      if (FPrecision > 0) SelectAfterDecimal();
      return true;
    }
  }
  if (!Money && Key == u',' && g != u',') {
    QString outside = value;
    const int from = caret - ValueStart();
    if (selection && from >= 0) outside.remove(from, SelLength());
    if (outside.contains(u',')) return true;
  }
  if ((Key == d || Key == g) && ThousandSeparatorMisplaced(value, caret)) return true;
  if (DecimalsFull(value, caret) && !selection) {
    if (Key == d) return true;
    if (IsDigit(Key)) {
      if (caret >= ValueEnd()) return true;
      LineEdit()->setSelection(caret, 1);
    }
  }
  if (Key == d && value.isEmpty() && caret == ValueStart()) {
    SetValueKeepingAffixes(QStringLiteral("0") + d, ValueStart() + 2);
    SetModified(true);
    return true;
  }
  if (Key == u'-' && !selection) {
    ToggleSign(false);
    return true;
  }
  InheritedChar(M);
  if (Money && Key != d) {
    const QString now = Text();
    if (!now.isEmpty() && now != QStringLiteral("-")) {
      if (Modified()) SetModified(true);
      ApplyThousandSeparators();
    }
  }
  return true;
}

bool TExtCustomDropDown::TypedChar(TMessage& M, char16_t& Key) {
  switch (FEditType) {
    case etString:
    case etPassword:
      SetModified(true);
      InheritedChar(M);
      return true;
    case etNumeric: return NumericChar(M, Key);
    case etFloat: return FloatChar(M, Key, false);
    case etMoney: return FloatChar(M, Key, true);
    case etUppercase:
    case etLowerCase: {
      const QString c = FEditType == etUppercase ? QString(QChar(Key)).toUpper() : QString(QChar(Key)).toLower();
      if (c.size() == 1) M.WParam = c[0].unicode();
      InheritedChar(M);
      return true;
    }
    case etMixedCase: {
      const int caret = SelStart();
      InheritedChar(M);
      SetValueKeepingAffixes(controls::MixedCase(Text()), caret + 1);
      return true;
    }
    case etRange: {
      const bool separator = IsRangeSeparator(QChar(Key));
      if (!(Key == Backspace || Key == TabChar || Key == EnterChar || IsDigit(Key) || separator)) return true;
      if (separator) {
        const QString value = Text();
        const int at = SelStart() - ValueStart();
        if (at <= 0) return true;
        if (at - 1 < value.size() && IsRangeSeparator(value[at - 1])) return true;
        if (at < value.size() && IsRangeSeparator(value[at])) return true;
      }
      SetModified(true);
      InheritedChar(M);
      return true;
    }
    case etHex: {
      const bool hexLetter = (Key >= u'A' && Key <= u'F') || (Key >= u'a' && Key <= u'f');
      if (!(Key == Backspace || Key == TabChar || Key == EnterChar || Key == u'-' || IsDigit(Key) || hexLetter))
        return true;
      SetModified(true);
      InheritedChar(M);
      return true;
    }
    case etAlphaNumeric:
      if (Key == Backspace || Key == TabChar || Key == EnterChar || IsDigit(Key) || IsAsciiLetter(Key))
        InheritedChar(M);
      return true;
    case etValidChars:
      if (Key == Backspace || FValidChars.contains(QChar(Key))) InheritedChar(M);
      return true;
  }
  return true;
}

void TExtCustomDropDown::EditChar(TMessage& M) {
  if (!FEditorEnabled) return;
  char16_t key = static_cast<char16_t>(M.WParam);
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  if (key == EnterChar || key == EscapeChar || (ctrl && key == 10)) {
    if (EnterEscapeChar(M, key)) return;
  }
  // The clipboard keys go through this edit's own cut, copy and paste rules.
  if (ctrl && (key == 3 || key == 22 || key == 24)) {
    Perform(key == 3 ? WM_COPY : key == 22 ? WM_PASTE : WM_CUT);
    return;
  }
  const QChar d = DecimalSeparator();
  if (FExcelStyleDecimalSeparator && (key == u'.' || key == u',') && (M.LParam & KF_KEYPAD) != 0) {
    key = d.unicode();
    M.WParam = key;
  }
  const bool selection = SelLength() > 0;
  if (key == Backspace && !FPrefix.isEmpty() && !selection && SelStart() <= ValueStart()) return;
  if (FLengthLimit > 0 && IntegerPartEnd(Text()) > FLengthLimit && !selection && SelStart() < DecimalPosition() &&
      key != Backspace && key != d && !IsSignKey(key))
    return;
  if (key == Backspace) {
    InheritedChar(M);
    return;
  }
  if (ctrl && key == 10) return;
  if (key == u'-' && IsNumericType() && !FSigned) return;
  TypedChar(M, key);
  if (Modified()) SetModified(true);
}

}  // namespace dropdown
