#include "platform/rtl/datetime.h"

#include <QDateTime>

#include <cmath>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/math.h"

namespace plat {

namespace {

// Days between 1970-01-01 and 1899-12-30.
constexpr int64_t kUnixDelta = 25569;
// Day numbers of 0001-01-01 and 9999-12-31.
constexpr int64_t kMinDay = -693593;
constexpr int64_t kMaxDay = 2958465;

int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

// The value as whole days and milliseconds into the day, rounded to the millisecond; false when it is not a
// date of years 1..9999.
bool Split(TDateTime DT, int64_t& Day, int64_t& MSec) {
  if (!std::isfinite(DT) || DT < kMinDay - 1 || DT > kMaxDay + 1) return false;
  const int64_t total = Round(DT * static_cast<double>(MSecsPerDay));
  Day = total / MSecsPerDay;
  MSec = std::abs(total % MSecsPerDay);
  return Day >= kMinDay && Day <= kMaxDay;
}

TClock& ClockSlot() {
  static TClock clock;
  return clock;
}

}  // namespace

bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

int DaysInAMonth(int Year, int Month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 0;
  return Month == 2 && IsLeapYear(Year) ? 29 : kDays[Month - 1];
}

int DaysInMonth(TDateTime DT) {
  Word y, m, d;
  DecodeDate(DT, y, m, d);
  return DaysInAMonth(y, m);
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInAMonth(Year, Month))
    return false;
  Date = static_cast<double>(DaysFromCivil(Year, Month, Day) + kUnixDelta);
  return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
  TDateTime d;
  if (!TryEncodeDate(Year, Month, Day, d)) throw EConvertError(QStringLiteral("Invalid argument to date encode"));
  return d;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time) {
  if (Hour < 0 || Hour >= 24 || Min < 0 || Min >= 60 || Sec < 0 || Sec >= 60 || MSec < 0 || MSec >= 1000)
    return false;
  Time = static_cast<double>(((Hour * 60 + Min) * 60 + Sec) * 1000 + MSec) / static_cast<double>(MSecsPerDay);
  return true;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
  TDateTime t;
  if (!TryEncodeTime(Hour, Min, Sec, MSec, t)) throw EConvertError(QStringLiteral("Invalid argument to time encode"));
  return t;
}

void DecodeDateTime(TDateTime DT, Word& Year, Word& Month, Word& Day, Word& Hour, Word& Min, Word& Sec,
                    Word& MSec) {
  int64_t day, ms;
  if (!Split(DT, day, ms)) {
    Year = Month = Day = Hour = Min = Sec = MSec = 0;
    return;
  }
  int y, m, d;
  CivilFromDays(day - kUnixDelta, y, m, d);
  Year = static_cast<Word>(y);
  Month = static_cast<Word>(m);
  Day = static_cast<Word>(d);
  MSec = static_cast<Word>(ms % 1000);
  ms /= 1000;
  Sec = static_cast<Word>(ms % 60);
  ms /= 60;
  Min = static_cast<Word>(ms % 60);
  Hour = static_cast<Word>(ms / 60);
}

void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day) {
  Word h, n, s, z;
  DecodeDateTime(Date, Year, Month, Day, h, n, s, z);
}

void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec) {
  Word y, m, d;
  DecodeDateTime(Time, y, m, d, Hour, Min, Sec, MSec);
}

int DayOfWeek(TDateTime DT) {
  int64_t day, ms;
  if (!Split(DT, day, ms)) return 0;
  // 1899-12-30 (day 0) was a Saturday.
  return static_cast<int>(((day % 7) + 7 + 6) % 7) + 1;
}

TDateTime IncMonth(TDateTime DT, int NumberOfMonths) {
  Word y, m, d;
  DecodeDate(DT, y, m, d);
  if (y == 0) throw EConvertError(QStringLiteral("Invalid argument to date encode"));
  const int64_t months = int64_t{y} * 12 + (m - 1) + NumberOfMonths;
  const int ny = static_cast<int>(months >= 0 ? months / 12 : -1);
  const int nm = static_cast<int>(months % 12) + 1;
  const int nd = std::min<int>(d, DaysInAMonth(ny, nm));
  const TDateTime date = EncodeDate(ny, nm, nd);
  const double time = std::fabs(DT - std::trunc(DT));
  return date >= 0 ? date + time : date - time;
}

TDateTime IncYear(TDateTime DT, int NumberOfYears) { return IncMonth(DT, NumberOfYears * 12); }

void SetClock(TClock Clock) { ClockSlot() = std::move(Clock); }

TDateTime DateTimeFromQDateTime(const QDateTime& DT) {
  if (!DT.isValid()) return 0;
  const QDate d = DT.date();
  const QTime t = DT.time();
  const double days = static_cast<double>(DaysFromCivil(d.year(), d.month(), d.day()) + kUnixDelta);
  const double time = t.msecsSinceStartOfDay() / static_cast<double>(MSecsPerDay);
  return days >= 0 ? days + time : days - time;
}

QDateTime DateTimeToQDateTime(TDateTime DT) {
  Word y, m, d, h, n, s, z;
  DecodeDateTime(DT, y, m, d, h, n, s, z);
  if (y == 0) return QDateTime();
  return QDateTime(QDate(y, m, d), QTime(h, n, s, z));
}

TDateTime Now() {
  const TClock& clock = ClockSlot();
  return clock ? clock() : DateTimeFromQDateTime(QDateTime::currentDateTime());
}

TDateTime Date() { return std::trunc(Now()); }

TDateTime Time() {
  const TDateTime now = Now();
  return std::fabs(now - std::trunc(now));
}

// ---- formatting ----------------------------------------------------------------------------------------------

namespace {

class DateFormatter {
 public:
  DateFormatter(TDateTime DT, const TFormatSettings& S) : FDT(DT), FS(S) {
    DecodeDateTime(DT, FYear, FMonth, FDay, FHour, FMin, FSec, FMSec);
  }

  QString Run(const QString& Format) {
    Append(Format.isEmpty() ? QStringLiteral("c") : Format, 0);
    return FOut;
  }

 private:
  void Number(int V, int Digits) { FOut += QString::number(V).rightJustified(Digits, u'0'); }

  static bool StartsWithCI(const QString& F, qsizetype i, QLatin1StringView What) {
    return QStringView(F).mid(i, What.size()).compare(What, Qt::CaseInsensitive) == 0;
  }

  // Whether an hour at position i shows on a 12-hour clock: an am/pm specifier comes before the next hour.
  static bool TwelveHour(const QString& F, qsizetype i) {
    bool quoted = false;
    for (; i < F.size(); ++i) {
      const QChar c = F[i];
      if (c == u'\'' || c == u'"') {
        quoted = !quoted;
      } else if (!quoted && (c == u'a' || c == u'A')) {
        return StartsWithCI(F, i, QLatin1StringView("am/pm")) || StartsWithCI(F, i, QLatin1StringView("a/p")) ||
               StartsWithCI(F, i, QLatin1StringView("ampm"));
      } else if (!quoted && (c == u'h' || c == u'H')) {
        return false;
      }
    }
    return false;
  }

  void Append(const QString& F, int Level) {
    if (Level > 2) return;  // a settings format naming itself
    char16_t last = 0;
    qsizetype i = 0;
    const qsizetype n = F.size();
    while (i < n) {
      const QChar starter = F[i++];
      char16_t token = starter.unicode();
      if (token >= u'a' && token <= u'z') token -= 32;
      if (token >= u'A' && token <= u'Z') {
        if (token == u'M' && last == u'H') token = u'N';
        last = token;
      }
      int count = 1;
      auto getCount = [&] {
        while (i < n && F[i] == starter) {
          ++i;
          ++count;
        }
      };
      switch (token) {
        case u'Y':
          getCount();
          if (count <= 2)
            Number(FYear % 100, 2);
          else
            Number(FYear, 4);
          break;
        case u'M':
          getCount();
          if (count <= 2)
            Number(FMonth, count);
          else if (FMonth >= 1)
            FOut += count == 3 ? FS.ShortMonthNames[FMonth - 1] : FS.LongMonthNames[FMonth - 1];
          break;
        case u'D':
          getCount();
          if (count <= 2) {
            Number(FDay, count);
          } else if (count <= 4) {
            const int dow = DayOfWeek(FDT);
            if (dow >= 1) FOut += count == 3 ? FS.ShortDayNames[dow - 1] : FS.LongDayNames[dow - 1];
          } else {
            Append(count == 5 ? FS.ShortDateFormat : FS.LongDateFormat, Level + 1);
          }
          break;
        case u'H': {
          getCount();
          int h = FHour;
          if (TwelveHour(F, i)) {
            if (h == 0)
              h = 12;
            else if (h > 12)
              h -= 12;
          }
          Number(h, count == 1 ? 1 : 2);
          break;
        }
        case u'N':
          getCount();
          Number(FMin, count == 1 ? 1 : 2);
          break;
        case u'S':
          getCount();
          Number(FSec, count == 1 ? 1 : 2);
          break;
        case u'Z':
          getCount();
          Number(FMSec, count == 1 ? 1 : 3);
          break;
        case u'T':
          getCount();
          Append(count == 1 ? FS.ShortTimeFormat : FS.LongTimeFormat, Level + 1);
          break;
        case u'C':
          getCount();
          Append(FS.ShortDateFormat, Level + 1);
          if (FHour != 0 || FMin != 0 || FSec != 0 || FMSec != 0) {
            FOut += u' ';
            Append(FS.LongTimeFormat, Level + 1);
          }
          break;
        case u'A': {
          const qsizetype at = i - 1;
          const bool pm = FHour >= 12;
          if (StartsWithCI(F, at, QLatin1StringView("am/pm"))) {
            FOut += F.mid(pm ? at + 3 : at, 2);
            i = at + 5;
          } else if (StartsWithCI(F, at, QLatin1StringView("a/p"))) {
            FOut += F.mid(pm ? at + 2 : at, 1);
            i = at + 3;
          } else if (StartsWithCI(F, at, QLatin1StringView("ampm"))) {
            FOut += pm ? FS.TimePMString : FS.TimeAMString;
            i = at + 4;
          } else {
            FOut += starter;
          }
          break;
        }
        case u'/':
          FOut += FS.DateSeparator;
          break;
        case u':':
          FOut += FS.TimeSeparator;
          break;
        case u'\'':
        case u'"': {
          const qsizetype end = F.indexOf(starter, i);
          const qsizetype stop = end < 0 ? n : end;
          FOut += QStringView(F).mid(i, stop - i);
          i = end < 0 ? n : end + 1;
          break;
        }
        default:
          FOut += starter;
          break;
      }
    }
  }

  TDateTime FDT;
  const TFormatSettings& FS;
  Word FYear, FMonth, FDay, FHour, FMin, FSec, FMSec;
  QString FOut;
};

}  // namespace

QString FormatDateTime(const QString& Format, TDateTime DT, const TFormatSettings& Settings) {
  return DateFormatter(DT, Settings).Run(Format);
}
QString FormatDateTime(const QString& Format, TDateTime DT) { return FormatDateTime(Format, DT, FormatSettings); }
QString DateToStr(TDateTime DT, const TFormatSettings& Settings) {
  return FormatDateTime(QStringLiteral("ddddd"), DT, Settings);
}
QString DateToStr(TDateTime DT) { return DateToStr(DT, FormatSettings); }
QString TimeToStr(TDateTime DT, const TFormatSettings& Settings) {
  return FormatDateTime(QStringLiteral("tt"), DT, Settings);
}
QString TimeToStr(TDateTime DT) { return TimeToStr(DT, FormatSettings); }
QString DateTimeToStr(TDateTime DT, const TFormatSettings& Settings) {
  return FormatDateTime(QStringLiteral("c"), DT, Settings);
}
QString DateTimeToStr(TDateTime DT) { return DateTimeToStr(DT, FormatSettings); }

// ---- parsing -------------------------------------------------------------------------------------------------

namespace {

class Scanner {
 public:
  Scanner(const QString& S, const TFormatSettings& Settings) : FS(S), FSet(Settings) {}

  void Blanks() {
    while (FPos < FS.size() && FS[FPos].unicode() <= 0x20) ++FPos;
  }
  bool AtEnd() {
    Blanks();
    return FPos >= FS.size();
  }
  bool Char(QChar C) {
    Blanks();
    if (FPos < FS.size() && FS[FPos] == C) {
      ++FPos;
      return true;
    }
    return false;
  }
  // Up to four digits.
  bool Number(int& N, int& Digits) {
    Blanks();
    N = 0;
    Digits = 0;
    while (FPos < FS.size() && FS[FPos] >= u'0' && FS[FPos] <= u'9' && N < 1000) {
      N = N * 10 + (FS[FPos].unicode() - u'0');
      ++Digits;
      ++FPos;
    }
    return Digits > 0;
  }
  // 0 for AM, 1 for PM, -1 when neither follows.
  int AmPm() {
    Blanks();
    const QStringView rest = QStringView(FS).mid(FPos);
    const QString am[] = {FSet.TimeAMString, QStringLiteral("AM")};
    const QString pm[] = {FSet.TimePMString, QStringLiteral("PM")};
    for (int k = 0; k < 2; ++k) {
      for (const QString& t : (k == 0 ? am : pm)) {
        if (!t.isEmpty() && rest.startsWith(t, Qt::CaseInsensitive)) {
          FPos += t.size();
          return k;
        }
      }
    }
    return -1;
  }

  bool Date(TDateTime& Value) {
    enum { DMY, MDY, YMD } order = MDY;
    for (const QChar c : FSet.ShortDateFormat) {
      const char16_t u = c.toUpper().unicode();
      if (u == u'Y') {
        order = YMD;
        break;
      }
      if (u == u'M') {
        order = MDY;
        break;
      }
      if (u == u'D') {
        order = DMY;
        break;
      }
    }
    int n1, n2, n3 = 0, l1, l2, l3 = 0;
    if (!Number(n1, l1) || !Char(FSet.DateSeparator) || !Number(n2, l2)) return false;
    const bool hasYear = Char(FSet.DateSeparator);
    if (hasYear && !Number(n3, l3)) return false;
    int y, m, d, yDigits;
    if (!hasYear) {
      Word cy, cm, cd;
      DecodeDate(Now(), cy, cm, cd);
      y = cy;
      yDigits = 4;
      if (order == DMY) {
        d = n1;
        m = n2;
      } else {
        m = n1;
        d = n2;
      }
    } else if (order == YMD) {
      y = n1, yDigits = l1, m = n2, d = n3;
    } else if (order == DMY) {
      d = n1, m = n2, y = n3, yDigits = l3;
    } else {
      m = n1, d = n2, y = n3, yDigits = l3;
    }
    if (yDigits <= 2) {
      Word cy, cm, cd;
      DecodeDate(Now(), cy, cm, cd);
      // The hundred years starting TwoDigitYearCenturyWindow years back (0: the current century).
      const int base = cy - FSet.TwoDigitYearCenturyWindow;
      y += base / 100 * 100;
      if (FSet.TwoDigitYearCenturyWindow > 0 && y < base) y += 100;
    }
    return TryEncodeDate(y, m, d, Value);
  }

  bool Time(TDateTime& Value) {
    int ampm = AmPm();
    int h, n = 0, s = 0, z = 0, digits;
    if (!Number(h, digits)) return false;
    if (Char(FSet.TimeSeparator)) {
      if (!Number(n, digits)) return false;
      if (Char(FSet.TimeSeparator)) {
        if (!Number(s, digits)) return false;
        if (Char(FSet.DecimalSeparator)) {
          // A fraction of a second: ".5" is 500 ms.
          if (!Number(z, digits)) return false;
          z *= digits == 1 ? 100 : digits == 2 ? 10 : 1;
        }
      }
    }
    if (ampm < 0) ampm = AmPm();
    if (ampm >= 0) {
      if (h > 12) return false;
      if (ampm == 0 && h == 12) h = 0;
      if (ampm == 1 && h < 12) h += 12;
    }
    return TryEncodeTime(h, n, s, z, Value);
  }

  qsizetype FPos = 0;

 private:
  const QString& FS;
  const TFormatSettings& FSet;
};

}  // namespace

bool TryStrToDate(const QString& S, TDateTime& Value, const TFormatSettings& Settings) {
  Scanner sc(S, Settings);
  TDateTime v;
  if (!sc.Date(v) || !sc.AtEnd()) return false;
  Value = v;
  return true;
}
bool TryStrToDate(const QString& S, TDateTime& Value) { return TryStrToDate(S, Value, FormatSettings); }

TDateTime StrToDate(const QString& S, const TFormatSettings& Settings) {
  TDateTime v;
  if (!TryStrToDate(S, v, Settings)) throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(S));
  return v;
}
TDateTime StrToDate(const QString& S) { return StrToDate(S, FormatSettings); }

bool TryStrToTime(const QString& S, TDateTime& Value, const TFormatSettings& Settings) {
  Scanner sc(S, Settings);
  TDateTime v;
  if (!sc.Time(v) || !sc.AtEnd()) return false;
  Value = v;
  return true;
}
bool TryStrToTime(const QString& S, TDateTime& Value) { return TryStrToTime(S, Value, FormatSettings); }

TDateTime StrToTime(const QString& S, const TFormatSettings& Settings) {
  TDateTime v;
  if (!TryStrToTime(S, v, Settings)) throw EConvertError(QStringLiteral("'%1' is not a valid time").arg(S));
  return v;
}
TDateTime StrToTime(const QString& S) { return StrToTime(S, FormatSettings); }

bool TryStrToDateTime(const QString& S, TDateTime& Value, const TFormatSettings& Settings) {
  Scanner sc(S, Settings);
  TDateTime date, time = 0;
  if (sc.Date(date)) {
    if (!sc.AtEnd() && (!sc.Time(time) || !sc.AtEnd())) return false;
    Value = date >= 0 ? date + time : date - time;
    return true;
  }
  return TryStrToTime(S, Value, Settings);
}
bool TryStrToDateTime(const QString& S, TDateTime& Value) { return TryStrToDateTime(S, Value, FormatSettings); }

TDateTime StrToDateTime(const QString& S, const TFormatSettings& Settings) {
  TDateTime v;
  if (!TryStrToDateTime(S, v, Settings))
    throw EConvertError(QStringLiteral("'%1' is not a valid date and time").arg(S));
  return v;
}
TDateTime StrToDateTime(const QString& S) { return StrToDateTime(S, FormatSettings); }

}  // namespace plat
