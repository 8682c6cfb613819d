#pragma once
// Number, date and time conventions used by the conversions, Format and FormatDateTime. The defaults are fixed
// values (decimal ".", thousands ",", date "/", short date "dd/mm/yyyy", time ":"), so output never depends on
// the machine; the program may adopt the user's locale once at start-up with InitFormatSettingsFromLocale.

#include <QChar>
#include <QString>

#include <array>

class QLocale;

namespace plat {

struct TFormatSettings {
  QChar DecimalSeparator = u'.';
  QChar ThousandSeparator = u',';
  QChar DateSeparator = u'/';
  QChar TimeSeparator = u':';
  QString ShortDateFormat = QStringLiteral("dd/mm/yyyy");
  QString LongDateFormat = QStringLiteral("dddd, d mmmm yyyy");
  QString ShortTimeFormat = QStringLiteral("hh:nn");
  QString LongTimeFormat = QStringLiteral("hh:nn:ss");
  QString TimeAMString = QStringLiteral("AM");
  QString TimePMString = QStringLiteral("PM");
  QString CurrencyString = QStringLiteral("$");
  // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
  int CurrencyFormat = 0;
  // 0 "($1)" ... 15 "(1 $)", the classic table of negative currency layouts
  int NegCurrFormat = 0;
  int CurrencyDecimals = 2;
  // A two-digit year is read into the hundred years starting this many years before the current year;
  // 0 = the current century.
  int TwoDigitYearCenturyWindow = 50;
  std::array<QString, 12> ShortMonthNames{
      QStringLiteral("Jan"), QStringLiteral("Feb"), QStringLiteral("Mar"), QStringLiteral("Apr"),
      QStringLiteral("May"), QStringLiteral("Jun"), QStringLiteral("Jul"), QStringLiteral("Aug"),
      QStringLiteral("Sep"), QStringLiteral("Oct"), QStringLiteral("Nov"), QStringLiteral("Dec")};
  std::array<QString, 12> LongMonthNames{
      QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
      QStringLiteral("April"),   QStringLiteral("May"),      QStringLiteral("June"),
      QStringLiteral("July"),    QStringLiteral("August"),   QStringLiteral("September"),
      QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")};
  // Index 0 is Sunday.
  std::array<QString, 7> ShortDayNames{QStringLiteral("Sun"), QStringLiteral("Mon"), QStringLiteral("Tue"),
                                       QStringLiteral("Wed"), QStringLiteral("Thu"), QStringLiteral("Fri"),
                                       QStringLiteral("Sat")};
  std::array<QString, 7> LongDayNames{QStringLiteral("Sunday"),   QStringLiteral("Monday"),
                                      QStringLiteral("Tuesday"),  QStringLiteral("Wednesday"),
                                      QStringLiteral("Thursday"), QStringLiteral("Friday"),
                                      QStringLiteral("Saturday")};

  // Conventions taken from a Qt locale (separators, month and day names, date and time layouts).
  static TFormatSettings FromLocale(const QLocale& Locale);
};

// The settings every overload without an explicit TFormatSettings uses. GUI-thread data: change it only at
// start-up or in tests.
extern TFormatSettings FormatSettings;

// Restores the fixed defaults (the test mains call it).
void ResetFormatSettings();
// Adopts the system locale's conventions (the program calls it once at start-up).
void InitFormatSettingsFromLocale();

}  // namespace plat
