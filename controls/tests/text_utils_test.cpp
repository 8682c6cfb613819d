#include <gtest/gtest.h>

#include "controls/text_utils.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/strings.h"

using namespace controls;

namespace {

// Pins the separators a test needs and restores the defaults afterwards.
class LocaleScope {
 public:
  LocaleScope(QChar thousand, QChar decimal, QChar date = u'/') {
    plat::FormatSettings.ThousandSeparator = thousand;
    plat::FormatSettings.DecimalSeparator = decimal;
    plat::FormatSettings.DateSeparator = date;
  }
  ~LocaleScope() { plat::ResetFormatSettings(); }
};

// Days since 30 December 1899 for a few fixed dates.
constexpr double k1999_12_31 = 36525;
constexpr double k2025_12_31 = 46022;
constexpr double k2019_03_04 = 43528;

TEST(TextKinds, CellTextType) {
  struct Case {
    QString text;
    bool html;
    int kind;
  } cases[] = {
      {"", true, 0},
      {"x", true, 0},
      {"=A1+1", false, 3},
      {"{\\rtf1 x}", false, 2},
      {"<b>x</b>", true, 1},   // found through "</"
      {"<b>x</b>", false, 0},
      {"<B>x", true, 1},
      {"<b>x", true, 0},       // lower-case opening tag alone is not recognised
      {EncodeWideText("=1"), false, 3},
      {EncodeWideText("ab"), false, 5},
      {"|\\", false, 5},
  };
  for (const auto& c : cases) EXPECT_EQ(CellTextType(c.text, c.html), c.kind) << c.text.toStdString();
}

TEST(TextKinds, NumericTextKind) {
  LocaleScope locale(u',', u'.');
  struct Case {
    const char* text;
    int kind;
  } cases[] = {
      {"", 2},        {"123", 0},      {"-7", 0},       {"1,234.5", 1},   {"1,23,456", 2},
      {"1.5E-3", 5},  {"-1.5e-3", 5},  {"E5", 2},       {"1E", 2},        {"1e5e", 2},
      {"--7", 2},     {"1.2.3", 2},    {"12a", 2},      {"1.5", 1},       {"1e+5", 5},
  };
  for (const auto& c : cases) EXPECT_EQ(NumericTextKind(c.text), c.kind) << c.text;
}

TEST(TextKinds, NumericTextToDotDecimal) {
  {
    LocaleScope locale(u'.', u',');
    EXPECT_EQ(NumericTextToDotDecimal("(1.234,50)"), "-1234.50");
    EXPECT_EQ(NumericTextToDotDecimal(QString::fromUtf8("€ 12,5")), "12.5");
    EXPECT_EQ(NumericTextToDotDecimal("  -3,25 kg"), "-3.25");
  }
  EXPECT_EQ(NumericTextToDotDecimal(""), "");
  EXPECT_EQ(NumericTextToDotDecimal("1,234.5"), "1234.5");
}

TEST(TextTransforms, WideTextRoundTrip) {
  const QString samples[] = {"", "plain", QString::fromUtf8("ÄÖ€ 中文 \xF0\x9F\x98\x80"), QString(QChar(0)) + "x"};
  for (const QString& s : samples) EXPECT_EQ(DecodeWideText(EncodeWideText(s)), s);
  EXPECT_EQ(EncodeWideText(QString(QChar(0x20AC))), QString("|\\") + QChar(0x20) + QChar(0xAC));
  EXPECT_EQ(DecodeWideText("no prefix"), "no prefix");
  // An odd last character is dropped.
  EXPECT_EQ(DecodeWideText(QString("|\\") + QChar(0) + QChar(u'A') + QChar(0)), "A");
}

TEST(TextTransforms, LineBreakSchemes) {
  EXPECT_EQ(EncodeLineBreaks("a\nb"), "a\nb");  // no CR: unchanged
  const QString raw = QString("a\r\nb") + QChar(0) + "c";
  const QString enc = EncodeLineBreaks(raw);
  EXPECT_EQ(enc, QString("a") + QChar(9) + QChar(8) + "b" + QChar(1) + "c");
  EXPECT_EQ(DecodeLineBreaks(enc, true), raw);
  EXPECT_EQ(DecodeLineBreaks(enc, false), "a");

  QString s = "x\r\ny";
  QuoteMultiLineField(s);
  EXPECT_EQ(s, QString("\"x") + QChar(11) + "y\"");
  QString t = QString("x") + QChar(11) + "y";
  LTToCRLF(t);
  EXPECT_EQ(t, "x\r\ny");
  QString plain = "no break";
  QuoteMultiLineField(plain);
  EXPECT_EQ(plain, "\"no break\"");

  EXPECT_EQ(CRToBackslashN("a\r\nb\rc"), "a\\nb\\nc");
  EXPECT_EQ(BackslashNToCR("a\\nb"), "a\rb");
  QString tilde = "a\r\nb";
  CRToTilde(tilde);
  EXPECT_EQ(tilde, "a~b");
  TildeToCRLF(tilde);
  EXPECT_EQ(tilde, "a\r\nb");
  QString caret = "^";
  TildeToCRLF(caret);
  EXPECT_EQ(caret, "");
  QString crlf = "a\r\nb\rc";
  CRLFToLF(crlf);
  EXPECT_EQ(crlf, "a\nb\rc");
  EXPECT_EQ(CRToBR("a\r\nb"), "a<br>\nb");
  EXPECT_EQ(RemoveCR("a\r\nb\r"), "a\nb");
  EXPECT_EQ(CRToLF("a\rb"), "a\nb");
}

TEST(TextTransforms, LinesAndTokens) {
  QString s = "a\r\nb";
  QString line;
  ExtractFirstLine(s, true, line);
  EXPECT_EQ(line, "a");
  EXPECT_EQ(s, "b");
  s = "a\r\nb";
  ExtractFirstLine(s, false, line);
  EXPECT_EQ(s, "");
  s = "only";
  ExtractFirstLine(s, true, line);
  EXPECT_EQ(line, "only");
  EXPECT_EQ(s, "");

  EXPECT_EQ(TextLineCount("a\rb\r", true), 3);
  EXPECT_EQ(TextLineCount("a\rb\r", false), 1);

  QString text = "ab;cd";
  QString token = "stale";
  SplitToken(text, ";", token);
  EXPECT_EQ(token, "ab");
  EXPECT_EQ(text, "cd");
  text = "ab;cd";
  SplitToken(text, ",", token);
  EXPECT_EQ(token, "");
  EXPECT_EQ(text, "ab;cd");
}

TEST(TextSearch, QuotesAndPositions) {
  int p = -5;
  EXPECT_EQ(FindClosingQuote(u'"', "ab\"\"c\"", p), 6);
  EXPECT_EQ(p, 6);
  EXPECT_EQ(FindClosingQuote(u'"', "ab\"x", p), 3);
  EXPECT_EQ(FindClosingQuote(u'"', "ab\"\"x", p), 0);
  EXPECT_EQ(p, 0);
  EXPECT_EQ(CountClosingQuotes(u'"', "a\"b\"c\""), 3);
  EXPECT_EQ(CountClosingQuotes(u'"', ""), 0);

  int idx = 0;
  EXPECT_EQ(FirstSetCharOutsideQuotes({u',', u';'}, "\"a,b\",c", idx), QChar(u','));
  EXPECT_EQ(idx, 6);
  EXPECT_EQ(FirstSetCharOutsideQuotes({u','}, "\"a,b\"", idx), QChar(0));
  EXPECT_EQ(idx, -1);

  int stored = 9;
  EXPECT_EQ(CharIndexStore(u'z', "abc", stored), 0);
  EXPECT_EQ(stored, 9);  // untouched when absent
  EXPECT_EQ(CharIndexStore(u'c', "abc", stored), 3);
  EXPECT_EQ(stored, 3);
  EXPECT_EQ(PosStore("x", "abc", stored), 0);
  EXPECT_EQ(stored, 0);
  EXPECT_EQ(PosInUpper("BC", "abcd"), 2);
  EXPECT_EQ(CountChar(u'a', "banana"), 3);
  EXPECT_EQ(UndoubleChar(u'"', "a\"\"b\"\"\"c"), "a\"b\"\"c");
  EXPECT_EQ(DoubleQuotes("a\"b"), "a\"\"b");
}

TEST(TextSearch, ReferencesAndUrls) {
  plat::TPoint cell(-1, -1);
  EXPECT_TRUE(ParseRCReference("r12c3", cell));
  EXPECT_EQ(cell, plat::TPoint(3, 12));
  for (const char* bad : {"R1C", "RxC3", "C3R1", "R12", "R1Cx"}) {
    plat::TPoint c(-1, -1);
    EXPECT_FALSE(ParseRCReference(bad, c)) << bad;
    EXPECT_EQ(c, plat::TPoint(-1, -1)) << bad;
  }

  EXPECT_TRUE(IsURLText("see http://x"));
  EXPECT_TRUE(IsURLText("mailto:a@b"));
  EXPECT_FALSE(IsURLText("http:/x"));
  QString u = "http://host/p";
  RemoveURLScheme(u);
  EXPECT_EQ(u, "host/p");
  u = "mailto:a@b";
  RemoveURLScheme(u);
  EXPECT_EQ(u, "a@b");

  QString html = "untouched";
  EXPECT_FALSE(MakeURLAnchor("no link here", "HTTP://", html));
  EXPECT_EQ(html, "untouched");
  ASSERT_TRUE(MakeURLAnchor("go <Http://a.b/c?d=1> now", "HTTP://", html));
  EXPECT_EQ(html, "go &lt;<a href=\"Http://a.b/c\">Http://a.b/c</a>?d=1&gt; now");
  ASSERT_TRUE(MakeURLAnchor("x http://a", "HTTP://", html));
  EXPECT_EQ(html, "x <a href=\"http://a\">http://a</a>");
}

TEST(TextNumbers, LimitsAndRects) {
  struct Case {
    int v, lo, hi, want;
  } cases[] = {{5, 10, 0, 10}, {50, 10, 20, 20}, {50, 7, 7, 50}, {-5, 0, 10, -5}, {15, 0, 10, 10}, {3, 1, 5, 3}};
  for (const auto& c : cases) EXPECT_EQ(LimitValue(c.v, c.lo, c.hi), c.want) << c.v << " " << c.lo << " " << c.hi;
  EXPECT_TRUE(CellInGridRect(plat::TRect(1, 1, 3, 3), 3, 3));
  EXPECT_FALSE(CellInGridRect(plat::TRect(1, 1, 3, 3), 4, 3));
  EXPECT_EQ(IntMax(3, -2), 3);
  EXPECT_EQ(IntMin(3, -2), -2);
}

TEST(TextCase, MixedCase) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"mcdonald", "McDonald"},         {"ronald mcdonald", "Ronald McDonald"},
      {"henry iii", "Henry III"},       {"o'neil-smith", "O'Neil-Smith"},
      {"JOHN SMITH", "John Smith"},     {"", ""},
      {"king ii", "King II"},
  };
  for (const auto& c : cases) EXPECT_EQ(MixedCase(c.in), c.out) << c.in;
}

TEST(TextDates, ParseShortDates) {
  EXPECT_EQ(ParseDateMDY("12/31/99"), k1999_12_31);
  EXPECT_EQ(ParseDateDMY("31-12-25"), k2025_12_31);
  EXPECT_EQ(ParseDateMDY("12/31"), 0);
  EXPECT_EQ(ParseDateMDY("12.31.1999"), k1999_12_31);
  // A written century is kept.
  EXPECT_EQ(ParseDateDMY("4.3.2019"), k2019_03_04);
  for (const char* bad : {"", "x/1/2", "1/x/2", "1/2/x", "no date"}) EXPECT_EQ(ParseDateMDY(bad), 0) << bad;
  for (const char* invalid : {"13/1/99", "2/30/99", "2/29/1900"})
    EXPECT_THROW(ParseDateMDY(invalid), plat::EConvertError) << invalid;
  EXPECT_EQ(ParseDateMDY("2/29/2000"), 36585);
}

TEST(TextDates, StepDate) {
  const double jan31 = 36556;  // 31 January 2000
  EXPECT_EQ(StepDate(0, 0, 3, 99, k1999_12_31), k1999_12_31 + 3);
  EXPECT_EQ(StepDate(1, 0, 0, 99, k1999_12_31), 36891);  // 31 December 2000
  EXPECT_EQ(StepDate(0, 1, 0, 99, k1999_12_31), 36556);  // over the year end
  EXPECT_EQ(StepDate(0, -1, 0, 99, jan31), k1999_12_31);  // month 0 is December before
  EXPECT_THROW(StepDate(0, 1, 0, 99, jan31), plat::EConvertError);  // 31 February
  EXPECT_THROW(StepDate(0, 30, 0, 0, jan31), plat::EConvertError);  // beyond the single correction
  EXPECT_EQ(StepDate(0, 0, 0, 2.5, jan31), jan31 + 2.5);
  EXPECT_EQ(StepDate(1, 1, 0, 7, jan31), jan31 + 7);
}

TEST(TextClipboard, HtmlEnvelope) {
  QString s;
  BuildClipboardHTML(s);
  EXPECT_TRUE(s.startsWith("Version:1.0\r\nStartHTML:00000097\r\nEndHTML:00000301\r\n"
                           "StartFragment:00000269\r\nEndFragment:00000269\r\n"));
  // The offsets are byte offsets of the UTF-8 text, also for characters outside Latin-1.
  const QString fragment = QString::fromUtf8("<b>€ä</b>");
  QString t = fragment;
  BuildClipboardHTML(t);
  const QByteArray bytes = t.toUtf8();
  auto number = [&](const char* key) {
    const int at = bytes.indexOf(key) + int(strlen(key));
    return bytes.mid(at, 8).toInt();
  };
  EXPECT_EQ(bytes.mid(number("StartFragment:"), number("EndFragment:") - number("StartFragment:")),
            fragment.toUtf8());
  EXPECT_EQ(number("EndHTML:"), bytes.size());
  EXPECT_TRUE(bytes.mid(number("StartHTML:")).startsWith("<!DOCTYPE"));
  EXPECT_TRUE(t.contains("charset=utf-8"));
}

TEST(TextLocale, SeparatorsAndCharClasses) {
  LocaleScope locale(u'.', u',', u'-');
  EXPECT_EQ(LocaleDecimalSeparator(), QChar(u','));
  EXPECT_TRUE(IsNumberChar(u','));
  EXPECT_FALSE(IsNumberChar(u'-'));
  EXPECT_TRUE(IsSignedNumberChar(u'-'));
  EXPECT_TRUE(IsPlainNumberChar(u'.'));
  EXPECT_FALSE(IsPlainNumberChar(u','));
  EXPECT_TRUE(HasTwoDateSeparators("1-2-3"));
  EXPECT_FALSE(HasTwoDateSeparators("-1-2"));
  EXPECT_FALSE(HasTwoDateSeparators("1--2"));
  EXPECT_TRUE(IsDigitChar(QChar(0x0663)));  // Arabic-Indic three
}

TEST(TextMisc, OemAndStrings) {
  QString s = QString::fromUtf8("Ä");
  StrToOem(s);
  // Ä is 0x8E in code page 850, which windows-1252 shows as Ž.
  EXPECT_EQ(s, QString(QChar(0x017D)));
  OemToStr(s);
  EXPECT_EQ(s, QString::fromUtf8("Ä"));
  plat::TStringList list;
  list.Add("a");
  list.Add("b");
  EXPECT_EQ(JoinAllStrings(list), "ab");
  QString pw = "secret";
  FillWithChar(pw, u'*');
  EXPECT_EQ(pw, "******");
}

}  // namespace
