// Filter expressions: comparisons, wildcards and groups; the date parser; and random and mutated input, which
// must always give a result (and wildcards the same result as a regular expression would).
#include <QRandomGenerator>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include "controls/filter_match.h"
#include "platform/rtl/formatsettings.h"

using namespace plat;

namespace controls {
namespace {

struct Case {
  const char* expression;
  const char* value;
  bool caseSensitive;
  bool expected;
};

void CheckCases(std::initializer_list<Case> cases) {
  for (const Case& c : cases)
    EXPECT_EQ(MatchFilter(QString::fromUtf8(c.expression), QString::fromUtf8(c.value), c.caseSensitive), c.expected)
        << c.expression << " against " << c.value;
}

TEST(FilterMatch, ComparisonsWildcardsAndGroups) {
  CheckCases({
      {"", "", true, true},          {"", "x", true, false},
      {">5", "6", true, true},       {">5", "5", true, false},     {">=5", "5", true, true},
      {"<5", "4", true, true},       {"<5", "10", true, false},    {">5", "3", true, false},
      {"<=5", "5", true, true},      {">b", "c", true, true},      {">b", "C", false, true},
      {">b", "C", true, false},      {">9", "10", true, true},     {">9", "10a", true, false},  // text: "1" < "9"
      {"?", "", true, false},        {"?", "x", true, true},       {"*", "", true, true},
      {"*", "anything", true, true}, {"a*c", "ac", true, true},    {"a*c", "abc", true, true},
      {"a*c", "abd", true, false},   {"abc", "ABC", false, true},  {"abc", "ABC", true, false},
      {"abc", "abcd", true, false},  {"ab*", "abx", true, true},   {"!ab*", "abx", true, false},
      {"!ab*", "xy", true, true},    {"a?c", "abc", true, true},   {"a?c", "ac", true, false},
      {"=abc", "abc", true, true},   {" a b ", "ab", true, true},  {"\"a b\"", "a b", true, true},
      {"a|b", "b", true, true},      {"a;b", "a", true, true},     {"a^b", "c", true, false},
      {"a&b", "a", true, false},     {">1&<5", "3", true, true},   {">1&<5", "7", true, false},
      {"a|b&c", "a", true, false},   // (a or b) and c, left to right
      {"c&(a|b)", "c", true, false}, {"(a|b)&c", "a", true, false}, {"(a|*)&*", "z", true, true},
      {"(a|b)", "b", true, true},    {"((a))", "a", true, true},   {"x|(a|b)", "b", true, true},
      {"\">b&<d\"", "c", true, true},  // both comparisons inside quotes: case b of the term rule
      {"\">x^<b\"", "a", true, true},
  });
}

TEST(FilterMatch, LocaleNumbersAndDates) {
  FormatSettings.DecimalSeparator = u',';
  FormatSettings.ThousandSeparator = u'.';
  CheckCases({{">1,5", "2", true, true}, {">1,5", "1,2", true, false}, {"<1.000", "999", true, true}});
  ResetFormatSettings();
  // dd/mm/yyyy: by date 02/01/2021 lies after 15/06/2020, by text before.
  CheckCases({{">15/06/2020", "02/01/2021", true, true}, {"<15/06/2020", "02/01/2021", true, false},
              // Blanks outside quotes go; inside quotes the operand ends at the blank (the date alone).
              {">\"15/06/2020 10:00\"", "15/06/2020 10:30", true, true}});
  EXPECT_EQ(LocaleNumberToDot("1,234.5"), "1234.5");
}

TEST(FilterMatch, DatesInTheLocaleOrder) {
  const struct {
    const char* text;
    bool ok;
    int y, m, d, hh, mm, ss;
  } cases[] = {
      {"03/04/2020", true, 2020, 4, 3, 0, 0, 0},      {" 03/04/2020 ", true, 2020, 4, 3, 0, 0, 0},
      {"3/4/20", true, 20, 4, 3, 0, 0, 0},            {"03/04/2020 13:05", true, 2020, 4, 3, 13, 5, 0},
      {"03/04/2020 13:05:59", true, 2020, 4, 3, 13, 5, 59},
      {"32/01/2020", false, 0, 0, 0, 0, 0, 0},        {"01/13/2020", false, 0, 0, 0, 0, 0, 0},
      {"31/02/2020", false, 0, 0, 0, 0, 0, 0},        {"03-04-2020", false, 0, 0, 0, 0, 0, 0},
      {"03/04", false, 0, 0, 0, 0, 0, 0},             {"a/04/2020", false, 0, 0, 0, 0, 0, 0},
      {"03/04/2020 24:00", false, 0, 0, 0, 0, 0, 0},  {"03/04/2020 10:60", false, 0, 0, 0, 0, 0, 0},
      {"03/04/2020 10:10:60", false, 0, 0, 0, 0, 0, 0}, {"03/04/2020 1x:00", false, 0, 0, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    TDateTime dt = -1;
    EXPECT_EQ(ParseLocaleDateTime(c.text, dt), c.ok);
    if (c.ok) {
      EXPECT_DOUBLE_EQ(dt, EncodeDate(c.y, c.m, c.d) + EncodeTime(c.hh, c.mm, c.ss, 0));
    }
  }
  // A time part without separator fails but stores the date; month first under mm/dd/yyyy.
  TDateTime dt = 0;
  EXPECT_FALSE(ParseLocaleDateTime("03/04/2020 1300", dt));
  EXPECT_DOUBLE_EQ(dt, EncodeDate(2020, 4, 3));
  FormatSettings.ShortDateFormat = "mm/dd/yyyy";
  EXPECT_TRUE(ParseLocaleDateTime("03/04/2020", dt));
  EXPECT_DOUBLE_EQ(dt, EncodeDate(2020, 3, 4));
  FormatSettings.ShortDateFormat = "yyyy.mm.dd";
  FormatSettings.DateSeparator = u'.';
  EXPECT_TRUE(ParseLocaleDateTime("2020.03.04", dt));
  EXPECT_DOUBLE_EQ(dt, EncodeDate(2020, 3, 4));
  ResetFormatSettings();
}

TEST(FilterMatch, HelperRoutines) {
  EXPECT_EQ(RemoveBlanksOutsideQuotes(" a \" b c \" d "), "a\" b c \"d");
  EXPECT_EQ(RemoveBlanksOutsideQuotes("\"open b"), "\"open b");
  const struct {
    const char* s;
    int pos;
  } parens[] = {{"(a)b", 3}, {"((a)(b))c", 8}, {"(a", 0}, {"a)", 0}, {"", 0}, {"(()", 0}, {")(", 0}};
  for (const auto& p : parens) EXPECT_EQ(FindMatchingParen(p.s), p.pos) << p.s;
}

// The anchored regular expression a wildcard pattern of 'a', 'b', '*' and '?' stands for.
bool ReferenceWildcard(const QString& pattern, const QString& value) {
  QString rx;
  for (QChar c : pattern) rx += c == u'*' ? QStringLiteral(".*") : c == u'?' ? QStringLiteral(".") : QString(c);
  return QRegularExpression(QRegularExpression::anchoredPattern(rx)).match(value).hasMatch();
}

QString RandomText(QRandomGenerator& rng, const QString& alphabet, int maxLength) {
  QString s;
  const int n = int(rng.bounded(maxLength + 1));
  for (int i = 0; i < n; ++i) s += alphabet[int(rng.bounded(int(alphabet.size())))];
  return s;
}

TEST(FilterMatch, WildcardsAgreeWithRegularExpressions) {
  QRandomGenerator rng(20260112);
  for (int i = 0; i < 4000; ++i) {
    const QString p = RandomText(rng, "ab*?", 8), v = RandomText(rng, "ab", 8);
    ASSERT_EQ(MatchFilterCondition(p, v), ReferenceWildcard(p, v)) << p.toStdString() << " / " << v.toStdString();
    ASSERT_EQ(MatchFilterCondition("!" + p, v), !ReferenceWildcard(p, v)) << p.toStdString();
  }
}

TEST(FilterMatch, MalformedAndMutatedExpressionsAlwaysGiveAResult) {
  QRandomGenerator rng(4242);
  const QString alphabet = QStringLiteral("ab1.,/:*?!\"()<>=&|;^ ");
  for (int i = 0; i < 20000; ++i) {
    const QString e = RandomText(rng, alphabet, 24), v = RandomText(rng, "ab1./: ", 12);
    const bool r = MatchFilter(e, v, i % 2 == 0);
    ASSERT_EQ(MatchFilter(e, v, i % 2 == 0), r);  // the same answer every time
  }
  // Mutations of well-formed expressions: a character dropped, doubled or replaced.
  const QString seeds[] = {"(>1&<5)|\"a b\"", ">=10/02/2020 10:00", "!ab*&(c|d?)", "((a|b)&(c|d))|e"};
  for (const QString& seed : seeds) {
    for (int at = 0; at < seed.size(); ++at) {
      for (QChar c : alphabet) {
        QString m = seed;
        m[at] = c;
        (void)MatchFilter(m, "abc", false);
        (void)MatchFilter(QString(seed).remove(at, 1), "1", true);
        (void)MatchFilter(QString(seed).insert(at, c), "", true);
      }
    }
  }
  // Deep groups, unclosed groups and long star patterns come to an end.
  // Groups nested deeper than the evaluator follows are taken as one term.
  const QString deep = QString(5000, u'(') + "a";
  EXPECT_EQ(MatchFilter(deep, "a", true), MatchFilter(deep, "a", true));
  EXPECT_TRUE(MatchFilter(QString(150, u'(') + "a" + QString(150, u')'), "a", true));
  EXPECT_TRUE(MatchFilter(QString(150, u'(') + "a", "a", true));
  EXPECT_FALSE(MatchFilter("(a|b", "c", true));
  EXPECT_FALSE(MatchFilterCondition(QString("*a").repeated(200) + "b", QString(400, u'a')));
  EXPECT_TRUE(MatchFilterCondition(QString("*a").repeated(200) + "*", QString(400, u'a')));
  EXPECT_FALSE(MatchFilter(QString(1000, u'"'), "x", true));
  EXPECT_FALSE(MatchFilter(">" + QString(1000, u'9'), "5", true));
}

}  // namespace
}  // namespace controls
