#include "platform/rtl/datetime.h"

#include <gtest/gtest.h>

#include <QDateTime>

#include "platform/rtl/exceptions.h"
#include "printers.h"

using namespace plat;

namespace {

// Fixes the clock for one test.
struct FixedClock {
  explicit FixedClock(TDateTime At) {
    SetClock([At] { return At; });
  }
  ~FixedClock() { SetClock(nullptr); }
};

}  // namespace

TEST(DateTime, EncodeDecodeRoundTrip) {
  struct Case {
    int y, m, d;
    double serial;
    int dow;
  };
  const Case cases[] = {
      {1899, 12, 30, 0, 7},      {1899, 12, 31, 1, 1},     {1900, 1, 1, 2, 2},      {1900, 3, 1, 61, 5},
      {2000, 2, 29, 36585, 3},   {2026, 12, 10, 46366, 5}, {1, 1, 1, -693593, 2},   {9999, 12, 31, 2958465, 6},
      {1899, 12, 29, -1, 6},     {1970, 1, 1, 25569, 5},
  };
  for (const auto& c : cases) {
    const TDateTime dt = EncodeDate(c.y, c.m, c.d);
    EXPECT_EQ(dt, c.serial) << c.y << "-" << c.m << "-" << c.d;
    Word y, m, d;
    DecodeDate(dt >= 0 ? dt + 0.75 : dt - 0.75, y, m, d);
    EXPECT_EQ(y, c.y);
    EXPECT_EQ(m, c.m);
    EXPECT_EQ(d, c.d);
    EXPECT_EQ(DayOfWeek(dt), c.dow) << c.y << "-" << c.m << "-" << c.d;
  }
  struct Bad {
    int y, m, d;
  };
  for (const Bad& b : {Bad{2023, 2, 29}, Bad{2000, 13, 1}, Bad{2000, 0, 1}, Bad{0, 1, 1}, Bad{10000, 1, 1},
                       Bad{2000, 4, 31}, Bad{1900, 2, 29}}) {
    TDateTime out = 123;
    EXPECT_FALSE(TryEncodeDate(b.y, b.m, b.d, out));
    EXPECT_EQ(out, 123);
    EXPECT_THROW(EncodeDate(b.y, b.m, b.d), EConvertError);
  }
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_EQ(DaysInAMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(EncodeDate(2023, 2, 10)), 28);
}

TEST(DateTime, TimesAndNegativeValues) {
  const TDateTime t = EncodeTime(13, 45, 30, 250);
  Word h, n, s, z;
  DecodeTime(t, h, n, s, z);
  EXPECT_EQ(h, 13);
  EXPECT_EQ(n, 45);
  EXPECT_EQ(s, 30);
  EXPECT_EQ(z, 250);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
  // The date is the integer part, the time the absolute fraction.
  Word y, m, d;
  DecodeDateTime(-1.25, y, m, d, h, n, s, z);
  EXPECT_EQ(d, 29);
  EXPECT_EQ(h, 6);
  // 23:59:59.9999 rounds into the next day.
  DecodeDateTime(EncodeDate(2020, 12, 31) + 0.99999999999, y, m, d, h, n, s, z);
  EXPECT_EQ(y, 2021);
  EXPECT_EQ(h, 0);
  const TDateTime back = DateTimeFromQDateTime(DateTimeToQDateTime(EncodeDate(2024, 2, 29) + t));
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", back), QString("2024-02-29 13:45:30.250"));
}

TEST(DateTime, IncMonthClampsTheDay) {
  struct Case {
    int y, m, d, by;
    const char* want;
  };
  const Case cases[] = {
      {2023, 1, 31, 1, "2023-02-28"}, {2024, 1, 31, 1, "2024-02-29"}, {2023, 12, 15, 1, "2024-01-15"},
      {2023, 1, 15, -1, "2022-12-15"}, {2023, 3, 31, -13, "2022-02-28"}, {2023, 5, 5, 0, "2023-05-05"},
  };
  for (const auto& c : cases) {
    const TDateTime dt = IncMonth(EncodeDate(c.y, c.m, c.d) + 0.5, c.by);
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", dt), QString(c.want) + " 12:00");
  }
  EXPECT_EQ(IncYear(EncodeDate(2024, 2, 29), 1), EncodeDate(2025, 2, 28));
  EXPECT_THROW(IncMonth(EncodeDate(1, 1, 1), -1), EConvertError);
}

TEST(DateTime, FormatLetters) {
  const TDateTime dt = EncodeDate(2026, 3, 7) + EncodeTime(14, 5, 9, 7);
  struct Case {
    const char* fmt;
    const char* want;
  };
  const Case cases[] = {
      {"d/m/yy", "7/3/26"},
      {"dd/mm/yyyy", "07/03/2026"},
      {"DD-MM-YYYY", "07-03-2026"},
      {"ddd dddd", "Sat Saturday"},
      {"mmm mmmm", "Mar March"},
      {"h:n:s", "14:5:9"},
      {"hh:nn:ss.zzz z", "14:05:09.007 7"},
      {"hh:mm", "14:05"},  // m right after an hour is the minute
      {"h:mm am/pm", "2:05 pm"},
      {"hh AM/PM", "02 PM"},
      {"h a/p", "2 p"},
      {"h ampm", "2 PM"},
      {"ddddd", "07/03/2026"},
      {"t|tt", "14:05|14:05:09"},
      {"c", "07/03/2026 14:05:09"},
      {"", "07/03/2026 14:05:09"},
      {"\"at\" hh 'o''clock' x", "at 14 oclock x"},
      {"yyyy\"unclosed", "2026unclosed"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.fmt, dt), QString(c.want)) << c.fmt;
  EXPECT_EQ(FormatDateTime("h am/pm", EncodeTime(0, 30, 0, 0)), QString("12 am"));
  EXPECT_EQ(FormatDateTime("h am/pm", EncodeTime(12, 0, 0, 0)), QString("12 pm"));
  EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 3, 7)), QString("07/03/2026"));  // no time at midnight
  EXPECT_EQ(DateToStr(dt), QString("07/03/2026"));
  EXPECT_EQ(TimeToStr(dt), QString("14:05:09"));
  TFormatSettings us;
  us.ShortDateFormat = "m/d/yyyy";
  us.DateSeparator = u'-';
  us.TimeSeparator = u'.';
  EXPECT_EQ(FormatDateTime("ddddd hh:nn", dt, us), QString("3-7-2026 14.05"));
  us.ShortDateFormat = "ddddd";  // a format naming itself does not loop
  EXPECT_EQ(DateToStr(dt, us), QString());
}

TEST(DateTime, ParsingDates) {
  FixedClock clock(EncodeDate(2026, 6, 15) + 0.5);
  struct Case {
    const char* text;
    bool ok;
    int y, m, d;
  };
  const Case cases[] = {
      {"07/03/2026", true, 2026, 3, 7}, {" 7 / 3 / 2026 ", true, 2026, 3, 7}, {"7/3", true, 2026, 3, 7},
      {"7/3/26", true, 2026, 3, 7},     {"7/3/76", true, 1976, 3, 7},         {"7/3/75", true, 2075, 3, 7},
      {"7/3/0026", true, 26, 3, 7},     {"29/02/2025", false, 0, 0, 0},       {"7-3-2026", false, 0, 0, 0},
      {"7/3/2026x", false, 0, 0, 0},    {"", false, 0, 0, 0},                 {"7", false, 0, 0, 0},
      {"7/3/20266", false, 0, 0, 0},
  };
  for (const auto& c : cases) {
    TDateTime v = -5;
    EXPECT_EQ(TryStrToDate(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, EncodeDate(c.y, c.m, c.d)) << c.text;
    }
  }
  try {
    StrToDate("31/31/2020");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), QString("'31/31/2020' is not a valid date"));
  }
  TFormatSettings iso;
  iso.ShortDateFormat = "yyyy-mm-dd";
  iso.DateSeparator = u'-';
  EXPECT_EQ(StrToDate("2024-02-29", iso), EncodeDate(2024, 2, 29));
  EXPECT_EQ(Date(), EncodeDate(2026, 6, 15));
  EXPECT_EQ(Time(), 0.5);
}

TEST(DateTime, ParsingTimes) {
  struct Case {
    const char* text;
    bool ok;
    int h, n, s, z;
  };
  const Case cases[] = {
      {"14:05", true, 14, 5, 0, 0},     {"14", true, 14, 0, 0, 0},        {"14:05:09.5", true, 14, 5, 9, 500},
      {"2:05 pm", true, 14, 5, 0, 0},   {"12:00 AM", true, 0, 0, 0, 0},   {"12:00 PM", true, 12, 0, 0, 0},
      {"PM 2:05", true, 14, 5, 0, 0},   {"13:00 pm", false, 0, 0, 0, 0},  {"24:00", false, 0, 0, 0, 0},
      {"10:60", false, 0, 0, 0, 0},     {"10:", false, 0, 0, 0, 0},       {"ten", false, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    TDateTime v = -5;
    EXPECT_EQ(TryStrToTime(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, EncodeTime(c.h, c.n, c.s, c.z)) << c.text;
    }
  }
  EXPECT_EQ(StrToDateTime("07/03/2026 14:05"), EncodeDate(2026, 3, 7) + EncodeTime(14, 5, 0, 0));
  EXPECT_EQ(StrToDateTime("07/03/2026"), EncodeDate(2026, 3, 7));
  EXPECT_EQ(StrToDateTime("14:05"), EncodeTime(14, 5, 0, 0));
  EXPECT_THROW(StrToDateTime("07/03/2026 x"), EConvertError);
  EXPECT_THROW(StrToTime("x"), EConvertError);
}
