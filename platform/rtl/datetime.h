#pragma once
// TDateTime: days since 1899-12-30 as a double, the fraction being the time of day. For negative values the
// date is the integer part and the time the absolute fraction (-1.25 is 1899-12-29 06:00).
// Encoding errors raise EConvertError; Now/Date/Time read a clock that tests can replace.

#include <QString>

#include <cstdint>
#include <functional>

#include "platform/rtl/formatsettings.h"

class QDateTime;

namespace plat {

using TDateTime = double;
using Word = uint16_t;

constexpr int HoursPerDay = 24;
constexpr int MinsPerDay = 24 * 60;
constexpr int SecsPerDay = MinsPerDay * 60;
constexpr int64_t MSecsPerDay = int64_t{SecsPerDay} * 1000;

bool IsLeapYear(int Year);
// 28..31; 0 for a month outside 1..12.
int DaysInAMonth(int Year, int Month);
int DaysInMonth(TDateTime DT);

// Years 1..9999. EConvertError "Invalid argument to date encode" / "Invalid argument to time encode".
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date);
TDateTime EncodeDate(int Year, int Month, int Day);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
// Decoding rounds to the nearest millisecond (23:59:59.9999 is the next day's 00:00:00.000).
void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day);
void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec);
void DecodeDateTime(TDateTime DT, Word& Year, Word& Month, Word& Day, Word& Hour, Word& Min, Word& Sec,
                    Word& MSec);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime DT);
// Moves by whole months, keeping the time; the day is clamped to the new month's length (Jan 31 + 1 = Feb 28).
TDateTime IncMonth(TDateTime DT, int NumberOfMonths = 1);
TDateTime IncYear(TDateTime DT, int NumberOfYears = 1);

// The clock behind Now/Date/Time: local wall-clock time unless a test sets its own (an empty function
// restores the system clock).
using TClock = std::function<TDateTime()>;
void SetClock(TClock Clock);
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Local wall-clock conversions (an invalid QDateTime gives 0).
TDateTime DateTimeFromQDateTime(const QDateTime& DT);
QDateTime DateTimeToQDateTime(TDateTime DT);

// Format letters (case-insensitive): c (short date + long time, the time left out at midnight), d dd ddd dddd
// ddddd (short date) dddddd (long date), m mm mmm mmmm (minutes right after an hour), yy yyyy, h hh (12-hour
// when an am/pm letter follows), n nn, s ss, z zzz, t (short time) tt (long time), am/pm a/p ampm, "/" the date
// separator, ":" the time separator, "text" and 'text' literally. Other characters are copied. An empty format
// means "c".
QString FormatDateTime(const QString& Format, TDateTime DT, const TFormatSettings& Settings);
QString FormatDateTime(const QString& Format, TDateTime DT);
QString DateToStr(TDateTime DT, const TFormatSettings& Settings);
QString DateToStr(TDateTime DT);
QString TimeToStr(TDateTime DT, const TFormatSettings& Settings);
QString TimeToStr(TDateTime DT);
QString DateTimeToStr(TDateTime DT, const TFormatSettings& Settings);
QString DateTimeToStr(TDateTime DT);

// Dates as numbers in the order of the short date format, joined by the date separator; blanks around the
// numbers allowed; without a year the current year; a one- or two-digit year falls in the hundred years
// starting TwoDigitYearCenturyWindow years before the current year. Times as h[:n[:s[.z]]] with an optional AM/PM.
// EConvertError "'text' is not a valid date" / "... time" / "... date and time".
bool TryStrToDate(const QString& S, TDateTime& Value, const TFormatSettings& Settings);
bool TryStrToDate(const QString& S, TDateTime& Value);
TDateTime StrToDate(const QString& S, const TFormatSettings& Settings);
TDateTime StrToDate(const QString& S);
bool TryStrToTime(const QString& S, TDateTime& Value, const TFormatSettings& Settings);
bool TryStrToTime(const QString& S, TDateTime& Value);
TDateTime StrToTime(const QString& S, const TFormatSettings& Settings);
TDateTime StrToTime(const QString& S);
// A date, a time, or a date followed by a time.
bool TryStrToDateTime(const QString& S, TDateTime& Value, const TFormatSettings& Settings);
bool TryStrToDateTime(const QString& S, TDateTime& Value);
TDateTime StrToDateTime(const QString& S, const TFormatSettings& Settings);
TDateTime StrToDateTime(const QString& S);

}  // namespace plat
