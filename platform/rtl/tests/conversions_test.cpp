#include <gtest/gtest.h>

#include <QLocale>

#include <cmath>
#include <limits>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/math.h"
#include "platform/rtl/strutils.h"
#include "printers.h"

using namespace plat;

TEST(IntegerText, OneRuleForBothWidths) {
  struct Case {
    const char* text;
    bool ok32;
    int v32;
    bool ok64;
    int64_t v64;
  };
  const Case cases[] = {
      {"12", true, 12, true, 12},
      {"  12", true, 12, true, 12},
      {"\t\r\n12", true, 12, true, 12},
      {"12 ", false, 0, false, 0},
      {" 1 2", false, 0, false, 0},
      {"", false, 0, false, 0},
      {"   ", false, 0, false, 0},
      {"+5", true, 5, true, 5},
      {"-1", true, -1, true, -1},
      {"+", false, 0, false, 0},
      {"--1", false, 0, false, 0},
      {"010", true, 10, true, 10},
      {"0", true, 0, true, 0},
      {"0xFF", true, 255, true, 255},
      {"0Xff", true, 255, true, 255},
      {"$FF", true, 255, true, 255},
      {"xFF", true, 255, true, 255},
      {"XfF", true, 255, true, 255},
      {"-$10", true, -16, true, -16},
      {" +0x10", true, 16, true, 16},
      {"0x", false, 0, false, 0},
      {"$", false, 0, false, 0},
      {"0xG", false, 0, false, 0},
      {"12a", false, 0, false, 0},
      {"1.0", false, 0, false, 0},
      {"$ 1", false, 0, false, 0},
      {"２", false, 0, false, 0},  // full-width digit
      {"999999999", true, 999999999, true, 999999999},
      {"1000000000", true, 1000000000, true, 1000000000},
      {"3333333333", false, 0, true, 3333333333LL},  // ten digits: out of range, never an overflow
      {"0000000000012", true, 12, true, 12},
      {"2147483647", true, 2147483647, true, 2147483647},
      {"-2147483648", true, INT32_MIN, true, -2147483648LL},
      {"2147483648", false, 0, true, 2147483648LL},
      {"-2147483649", false, 0, true, -2147483649LL},
      {"4294967295", false, 0, true, 4294967295LL},
      {"0xFFFFFFFF", true, -1, true, 0xFFFFFFFFLL},
      {"0x80000000", true, INT32_MIN, true, 0x80000000LL},
      {"0x00000000FF", true, 255, true, 255},
      {"0x100000000", false, 0, true, 0x100000000LL},
      {"9223372036854775807", false, 0, true, INT64_MAX},
      {"-9223372036854775808", false, 0, true, INT64_MIN},
      {"9223372036854775808", false, 0, false, 0},
      {"99999999999999999999", false, 0, false, 0},
      {"$FFFFFFFFFFFFFFFF", false, 0, true, -1},
      {"$10000000000000000", false, 0, false, 0},
  };
  for (const auto& c : cases) {
    const QString text = QString::fromUtf8(c.text);
    int v32 = 777;
    EXPECT_EQ(TryStrToInt(text, v32), c.ok32) << c.text;
    if (c.ok32) {
      EXPECT_EQ(v32, c.v32) << c.text;
    }
    EXPECT_EQ(StrToIntDef(text, -7), c.ok32 ? c.v32 : -7) << c.text;
    int64_t v64 = 777;
    EXPECT_EQ(TryStrToInt64(text, v64), c.ok64) << c.text;
    if (c.ok64) {
      EXPECT_EQ(v64, c.v64) << c.text;
    }
    EXPECT_EQ(StrToInt64Def(text, -7), c.ok64 ? c.v64 : -7) << c.text;
    // The stored-text readers follow the same rule, their inline path for short decimal texts too.
    int u = 777;
    EXPECT_EQ(TryStrToIntUtf8(c.text, u), c.ok32) << c.text;
    if (c.ok32) {
      EXPECT_EQ(u, c.v32) << c.text;
    }
    EXPECT_EQ(TryStrToIntUtf8(std::string_view(c.text), u), c.ok32) << c.text;
    int64_t u64 = 777;
    EXPECT_EQ(TryStrToInt64Utf8(c.text, u64), c.ok64) << c.text;
  }
}

TEST(IntegerText, FailureRaisesConvertErrorNamingTheText) {
  try {
    StrToInt("12 ");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), QString("'12 ' is not a valid integer value"));
    EXPECT_STREQ(e.what(), "'12 ' is not a valid integer value");
  }
  EXPECT_THROW(StrToInt64("abc"), EConvertError);
  EXPECT_THROW(StrToInt("2147483648"), Exception);
  EXPECT_EQ(StrToInt64("2147483648"), 2147483648LL);
}

TEST(IntegerText, DecimalAndHexOutput) {
  EXPECT_EQ(IntToStr(-2147483647 - 1), QString("-2147483648"));
  EXPECT_EQ(IntToStr(INT64_MIN), QString("-9223372036854775808"));
  struct Case {
    int64_t v;
    bool wide;
    int digits;
    const char* want;
  };
  const Case cases[] = {
      {255, false, 2, "FF"},        {255, false, 4, "00FF"},         {255, false, 0, "FF"},
      {0, false, 0, "0"},           {-1, false, 2, "FFFFFFFF"},      {-1, true, 2, "FFFFFFFFFFFFFFFF"},
      {0x1234, false, 2, "1234"},   {0x100000000LL, true, 10, "0100000000"},
  };
  for (const auto& c : cases) {
    const QString got = c.wide ? IntToHex(c.v, c.digits) : IntToHex(static_cast<int>(c.v), c.digits);
    EXPECT_EQ(got, QString(c.want)) << c.v << " " << c.digits;
  }
}

TEST(StrUtils, TrimCaseAndComparison) {
  EXPECT_EQ(Trim(QString("\x01 a b\t\r\n")), QString("a b"));
  EXPECT_EQ(TrimLeft(QString("  a ")), QString("a "));
  EXPECT_EQ(TrimRight(QString("  a \x1f")), QString("  a"));
  EXPECT_EQ(Trim(QString::fromUtf8("\u00a0a\u00a0")), QString::fromUtf8("\u00a0a\u00a0"));  // above U+0020
  EXPECT_EQ(Trim("   "), QString());
  EXPECT_EQ(UpperCase(QString::fromUtf8("abzé")), QString::fromUtf8("ABZé"));
  EXPECT_EQ(AnsiUpperCase(QString::fromUtf8("abzé")), QString::fromUtf8("ABZÉ"));
  EXPECT_EQ(LowerCase("AbZ"), QString("abz"));
  EXPECT_TRUE(SameText("Node_State", "NODE_state"));
  EXPECT_FALSE(SameText("Node", "Nodes"));
  EXPECT_EQ(CompareText("abc", "ABC"), 0);
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_LT(CompareText("ab", "abc"), 0);
  EXPECT_GT(CompareStr("abc", "ABC"), 0);  // lower case sorts after upper case
  EXPECT_LT(CompareStr("ab", "abc"), 0);
  EXPECT_EQ(StringOfChar(u'-', 3), QString("---"));
  EXPECT_EQ(StringOfChar(u'-', -1), QString());
  EXPECT_EQ(CharAt("abc", 1), QChar(u'a'));
  EXPECT_TRUE(CharAt("abc", 0).isNull());
  EXPECT_TRUE(CharAt("abc", 4).isNull());
}

TEST(Math, RoundIsHalfToEvenAndTruncTowardZero) {
  struct Case {
    double x;
    int64_t round, trunc;
  };
  const Case cases[] = {
      {0.5, 0, 0},   {1.5, 2, 1},    {2.5, 2, 2},   {3.5, 4, 3},   {-0.5, 0, 0},
      {-1.5, -2, -1}, {-2.5, -2, -2}, {2.4999, 2, 2}, {2.5001, 3, 2}, {-2.7, -3, -2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Round(c.x), c.round) << c.x;
    EXPECT_EQ(Trunc(c.x), c.trunc) << c.x;
  }
  EXPECT_EQ(MulDiv(10, 3, 4), 8);    // 7.5 rounds away from zero
  EXPECT_EQ(MulDiv(-10, 3, 4), -8);
  EXPECT_EQ(MulDiv(10, 3, -4), -8);
  EXPECT_EQ(MulDiv(1 << 30, 8, 4), -1);  // does not fit in 32 bits
  EXPECT_EQ(MulDiv(1 << 30, 8, 16), 1 << 29);  // intermediate wider than 32 bits
  EXPECT_EQ(MulDiv(5, 5, 0), -1);
  EXPECT_EQ(Min(3, -2), -2);
  EXPECT_EQ(Max(3.5, 1.0), 3.5);
}

TEST(FloatText, GeneralFormatAndSettings) {
  struct Case {
    double v;
    const char* want;
  };
  const Case cases[] = {
      {0, "0"},
      {1, "1"},
      {-1.5, "-1.5"},
      {0.1, "0.1"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {123456789012345.0, "123456789012345"},
      {1234567890123456.0, "1.23456789012346E15"},
      {1e20, "1E20"},
      {0.00001, "1E-5"},
      {0.0001, "0.0001"},
      {1.5e-7, "1.5E-7"},
      {-0.0, "0"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
      {std::nan(""), "NAN"},
  };
  for (const auto& c : cases) EXPECT_EQ(FloatToStr(c.v), QString(c.want)) << c.want;
  TFormatSettings comma;
  comma.DecimalSeparator = u',';
  EXPECT_EQ(FloatToStr(2.25, comma), QString("2,25"));
  EXPECT_EQ(FloatToStr(2.25), QString("2.25"));  // the global settings are pinned by the test main
}

TEST(FloatText, FixedNumberExponentAndCurrency) {
  struct Case {
    double v;
    TFloatFormat f;
    int prec, digits;
    const char* want;
  };
  const Case cases[] = {
      {2.5, ffFixed, 15, 0, "3"},  // decimal rounding is half away from zero
      {0.285, ffFixed, 15, 2, "0.29"},
      {-0.004, ffFixed, 15, 2, "0.00"},  // no "-0.00"
      {0.006, ffFixed, 15, 2, "0.01"},
      {999.996, ffFixed, 15, 2, "1000.00"},
      {1234567.891, ffNumber, 15, 2, "1,234,567.89"},
      {-1234.5, ffNumber, 15, 0, "-1,235"},
      {123.0, ffNumber, 15, 1, "123.0"},
      {1234.5, ffExponent, 15, 3, "1.23450000000000E+003"},
      {1234.5, ffExponent, 3, 0, "1.23E+3"},
      {-0.00012, ffExponent, 2, 2, "-1.2E-04"},
      {0, ffExponent, 3, 3, "0.00E+000"},
      {1234.5, ffCurrency, 15, 2, "$1,234.50"},
      {-1234.5, ffCurrency, 15, 2, "($1,234.50)"},
  };
  for (const auto& c : cases) EXPECT_EQ(FloatToStrF(c.v, c.f, c.prec, c.digits), QString(c.want)) << c.want;
}

TEST(FloatText, Parsing) {
  struct Case {
    const char* text;
    bool ok;
    double v;
  };
  const Case cases[] = {
      {"1.5", true, 1.5},   {"  -2.25 ", true, -2.25}, {"+3", true, 3},       {".5", true, 0.5},
      {"5.", true, 5},      {"1e3", true, 1000},       {"1.5E-2", true, 0.015}, {"1e-400", true, 0},
      {"", false, 0},       {".", false, 0},           {"1e", false, 0},      {"1,5", false, 0},
      {"1.2.3", false, 0},  {"1e400", false, 0},       {"0x10", false, 0},    {"1 000", false, 0},
      {"nan", false, 0},    {"- 1", false, 0},
  };
  for (const auto& c : cases) {
    double v = -99;
    EXPECT_EQ(TryStrToFloat(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(v, c.v) << c.text;
    }
    EXPECT_DOUBLE_EQ(StrToFloatDef(c.text, -99), c.ok ? c.v : -99) << c.text;
  }
  TFormatSettings comma;
  comma.DecimalSeparator = u',';
  EXPECT_DOUBLE_EQ(StrToFloat("1,5", comma), 1.5);
  EXPECT_THROW(StrToFloat("1.5", comma), EConvertError);
  try {
    StrToFloat("x");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), QString("'x' is not a valid floating point value"));
  }
}

TEST(FormatSettings, TakenFromALocale) {
  const TFormatSettings de = TFormatSettings::FromLocale(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(de.DecimalSeparator, QChar(u','));
  EXPECT_EQ(de.ThousandSeparator, QChar(u'.'));
  EXPECT_EQ(de.DateSeparator, QChar(u'.'));
  EXPECT_EQ(de.TimeSeparator, QChar(u':'));
  // Qt's month letter M becomes m, its minute letter m becomes n.
  EXPECT_TRUE(de.ShortDateFormat.startsWith("dd.mm.yy")) << de.ShortDateFormat.toStdString();
  EXPECT_EQ(de.ShortTimeFormat, QString("hh:nn"));
  EXPECT_EQ(de.LongMonthNames[2], QString::fromUtf8("März"));
  EXPECT_EQ(de.LongDayNames[0], QString("Sonntag"));
  EXPECT_EQ(FloatToStr(1234.5, de), QString("1234,5"));
  const TFormatSettings us = TFormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_TRUE(us.ShortTimeFormat.contains("am/pm")) << us.ShortTimeFormat.toStdString();
}
