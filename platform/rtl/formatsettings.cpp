#include "platform/rtl/formatsettings.h"

#include <QLocale>

namespace plat {

TFormatSettings FormatSettings;

namespace {

// Qt's date/time pattern letters to the runtime's: M → m (month), m → n (minute), H → h, AP/ap → am/pm, quoted
// text in double quotes.
QString FromQtPattern(const QString& Pattern) {
  QString Out;
  for (qsizetype i = 0; i < Pattern.size(); ++i) {
    const QChar c = Pattern[i];
    if (c == u'\'') {
      const qsizetype end = Pattern.indexOf(u'\'', i + 1);
      const QString lit = Pattern.mid(i + 1, (end < 0 ? Pattern.size() : end) - i - 1);
      if (!lit.isEmpty()) Out += u'"' + lit + u'"';
      i = end < 0 ? Pattern.size() : end;
    } else if (c == u'M') {
      Out += u'm';
    } else if (c == u'm') {
      Out += u'n';
    } else if (c == u'H') {
      Out += u'h';
    } else if ((c == u'A' || c == u'a') && i + 1 < Pattern.size() &&
               (Pattern[i + 1] == u'P' || Pattern[i + 1] == u'p')) {
      Out += QStringLiteral("am/pm");
      ++i;
    } else if (c == u't') {
      // time zone: not part of the runtime's formats
    } else {
      Out += c;
    }
  }
  return Out.trimmed();
}

QChar FirstNonLetter(const QString& Pattern, QChar Fallback) {
  for (const QChar c : Pattern)
    if (!c.isLetter() && c != u'\'' && c != u' ') return c;
  return Fallback;
}

}  // namespace

TFormatSettings TFormatSettings::FromLocale(const QLocale& Locale) {
  TFormatSettings S;
  const QString dec = Locale.decimalPoint();
  const QString grp = Locale.groupSeparator();
  if (dec.size() == 1) S.DecimalSeparator = dec[0];
  if (grp.size() == 1) S.ThousandSeparator = grp[0];
  const QString shortDate = Locale.dateFormat(QLocale::ShortFormat);
  const QString longDate = Locale.dateFormat(QLocale::LongFormat);
  const QString shortTime = Locale.timeFormat(QLocale::ShortFormat);
  const QString longTime = Locale.timeFormat(QLocale::LongFormat);
  S.ShortDateFormat = FromQtPattern(shortDate);
  S.LongDateFormat = FromQtPattern(longDate);
  S.ShortTimeFormat = FromQtPattern(shortTime);
  S.LongTimeFormat = FromQtPattern(longTime);
  S.DateSeparator = FirstNonLetter(shortDate, S.DateSeparator);
  S.TimeSeparator = FirstNonLetter(shortTime, S.TimeSeparator);
  S.TimeAMString = Locale.amText();
  S.TimePMString = Locale.pmText();
  S.CurrencyString = Locale.currencySymbol();
  for (int m = 0; m < 12; ++m) {
    S.ShortMonthNames[m] = Locale.monthName(m + 1, QLocale::ShortFormat);
    S.LongMonthNames[m] = Locale.monthName(m + 1, QLocale::LongFormat);
  }
  for (int d = 0; d < 7; ++d) {
    const int qtDay = d == 0 ? 7 : d;  // Qt counts Monday = 1 .. Sunday = 7
    S.ShortDayNames[d] = Locale.dayName(qtDay, QLocale::ShortFormat);
    S.LongDayNames[d] = Locale.dayName(qtDay, QLocale::LongFormat);
  }
  return S;
}

void ResetFormatSettings() { FormatSettings = TFormatSettings(); }

void InitFormatSettingsFromLocale() { FormatSettings = TFormatSettings::FromLocale(QLocale::system()); }

}  // namespace plat
