#include "dropdown/number_text.h"

#include "platform/rtl/formatsettings.h"
#include "platform/rtl/strutils.h"

namespace dropdown {

QChar DecimalSeparator() { return plat::FormatSettings.DecimalSeparator; }
QChar ThousandSeparator() { return plat::FormatSettings.ThousandSeparator; }

TNumberClass ClassifyNumber(const QString& Text) {
  if (Text.isEmpty()) return ncNone;
  const QChar d = DecimalSeparator(), g = ThousandSeparator();
  bool hex = true, integer = true, isFloat = true;
  int lastG = 0, minus = 0, decimals = 0;
  for (int i = 1; i <= Text.size(); ++i) {
    const QChar c = Text[i - 1];
    const bool digit = c >= u'0' && c <= u'9';
    const bool hexLetter = (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
    if (!(c == u'-' || digit || hexLetter)) hex = false;
    if (!(digit || c == u'-')) integer = false;
    if (!(digit || c == u',' || c == u'-' || c == u'.')) isFloat = false;
    // A group separator never leads, and never follows the previous one within two places. ("1,234" is a
    // float: measuring the first separator from before the text would refuse every one-digit leading group.)
    if (c == g) {
      if (i == 1 || (lastG > 0 && i - lastG <= 2)) isFloat = false;
      lastG = i;
    }
    if (c == u'-') ++minus;
    if (c == d) ++decimals;
  }
  if (minus > 1 || decimals > 1) return ncNone;
  if (integer) return ncInteger;
  if (isFloat) return ncFloat;
  if (hex) return ncHex;
  return ncNone;
}

int HexDigitValue(QChar Ch) {
  const char16_t c = Ch.unicode();
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return 0;
}

int HexToInt(const QString& Text) {
  std::uint32_t sum = 0, weight = 1;
  for (int i = static_cast<int>(Text.size()) - 1; i >= 0; --i) {
    sum += static_cast<std::uint32_t>(HexDigitValue(Text[i])) * weight;
    weight *= 16;
  }
  return static_cast<int>(sum);
}

bool IsRangeSeparator(QChar Ch) { return Ch == u',' || Ch == u'-' || Ch == u';'; }

QString RemoveThousandSeparators(const QString& Text) {
  QString s = Text;
  s.remove(ThousandSeparator());
  return s;
}

double TextToFloat(const QString& Text) {
  double v = 0;
  if (!plat::TryStrToFloat(RemoveThousandSeparators(Text), v)) return 0;
  return v;
}

}  // namespace dropdown
