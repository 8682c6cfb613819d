// Cell addresses, the number rule and the text escapes of the workbook format, each checked both ways.

#include <gtest/gtest.h>

#include "grid/data/office/sheet_values.h"

namespace grid::office {
namespace {

TEST(SheetValues, ColumnLettersRunToXfdBothWays) {
  const struct { int Col; const char* Letters; } cases[] = {
      {1, "A"}, {26, "Z"}, {27, "AA"}, {28, "AB"}, {52, "AZ"}, {53, "BA"}, {702, "ZZ"}, {703, "AAA"},
      {728, "AAZ"}, {18278, "ZZZ"}, {16384, "XFD"},
  };
  for (const auto& c : cases) {
    if (c.Col <= MaxSheetColumns) {
      EXPECT_EQ(ColumnOfLetters(QString::fromLatin1(c.Letters)), c.Col) << c.Letters;
    }
    EXPECT_EQ(ColumnLetters(c.Col), QLatin1String(c.Letters)) << c.Col;
  }
  for (const char* bad : {"", "XFE", "ZZZ", "AAAA", "A1", "Ä"}) EXPECT_EQ(ColumnOfLetters(QString::fromUtf8(bad)), 0) << bad;
  EXPECT_EQ(ColumnOfLetters(u"xfd"), 16384);
}

TEST(SheetValues, CellReferencesAreReadWithOrWithoutDollars) {
  const struct { const char* Ref; bool Ok; int Col, Row; } cases[] = {
      {"A1", true, 1, 1},          {"$B$12", true, 2, 12},   {"AAA703", true, 703, 703},
      {"XFD1048576", true, 16384, 1048576}, {"XFD1048577", false, 0, 0}, {"XFE1", false, 0, 0},
      {"A0", false, 0, 0},         {"A01", false, 0, 0},     {"1", false, 0, 0},
      {"A", false, 0, 0},          {"A1B", false, 0, 0},     {"", false, 0, 0},
  };
  for (const auto& c : cases) {
    int col = 0, row = 0;
    EXPECT_EQ(ParseCellRef(QString::fromLatin1(c.Ref), col, row), c.Ok) << c.Ref;
    if (c.Ok) {
      EXPECT_EQ(std::make_pair(col, row), std::make_pair(c.Col, c.Row)) << c.Ref;
    }
  }
}

// A text is a number only when reading the number back shows the same text; anything else would change
// what the user typed (lost zeros of meter numbers, formulas, rounding).
TEST(SheetValues, OnlyTextsThatComeBackUnchangedAreNumbers) {
  const struct { const char* Text; QChar Decimal; bool Number; } cases[] = {
      {"42", u'.', true},        {"-42", u'.', true},          {"0", u'.', true},
      {"1.5", u'.', true},       {"-0.25", u'.', true},        {"0.0001", u'.', true},
      {"123456789012345", u'.', true}, {"12345678.1234567", u'.', true},
      {"00012345", u'.', false}, {"=1+1", u'.', false},        {"1.50", u'.', false},
      {"-0", u'.', false},       {"0.00001", u'.', false},     {"1234567890123456", u'.', false},
      {"1.2345678901234567", u'.', false}, {"1e5", u'.', false}, {" 42", u'.', false},
      {"42 ", u'.', false},      {"+42", u'.', false},         {"1,5", u'.', false},
      {"1.", u'.', false},       {".5", u'.', false},          {"1,000", u'.', false},
      {"", u'.', false},         {"-", u'.', false},           {"1,5", u',', true},
      {"1.5", u',', false},
  };
  for (const auto& c : cases) {
    QByteArray value;
    const QString text = QString::fromLatin1(c.Text);
    EXPECT_EQ(IsCanonicalNumber(text, c.Decimal, &value), c.Number) << c.Text;
    if (!c.Number) continue;
    // And back: the stored number shows as the same text.
    EXPECT_EQ(NumberText(value.toDouble(), c.Decimal), text) << c.Text;
  }
}

TEST(SheetValues, ReadNumbersShowFifteenDigitsAndShortExponents) {
  const struct { double Value; const char* Text; } cases[] = {
      {0.1 + 0.2, "0.3"}, {1e20, "1E20"}, {1.5e-7, "1.5E-7"}, {-0.0, "0"}, {123456789012345678.0, "1.23456789012346E17"},
      {2.5, "2,5"},
  };
  for (const auto& c : cases) {
    const QChar decimal = QLatin1String(c.Text).contains(u',') ? u',' : u'.';
    EXPECT_EQ(NumberText(c.Value, decimal), QLatin1String(c.Text));
  }
}

TEST(SheetValues, TextsXmlCannotHoldTravelAsEscapesAndComeBack) {
  const struct { QString Text; const char* Xml; } cases[] = {
      {QStringLiteral("a&b<c>\"d\""), "a&amp;b&lt;c&gt;&quot;d&quot;"},
      {QString(QChar(1)) + QStringLiteral("x"), "_x0001_x"},
      {QStringLiteral("cr\rlf\n"), "cr_x000D_lf\n"},
      {QStringLiteral("_x0041_"), "_x005F_x0041_"},
      {QStringLiteral("_x41_ plain_"), "_x41_ plain_"},
      {QString::fromUtf8("Z\u00e4hler \u20ac \U0001F600"), "Z\xc3\xa4hler \xe2\x82\xac \xf0\x9f\x98\x80"},
      {QString(QChar(0xD800)), "_xD800_"},
  };
  for (const auto& c : cases) {
    QByteArray xml;
    AppendXmlText(xml, c.Text);
    EXPECT_EQ(xml, QByteArray(c.Xml));
    // The reader sees the entities decoded by the XML parser; the format's escapes are its own to undo.
    const QString parsed = QString::fromUtf8(xml).replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"")
                               .replace("&amp;", "&");
    if (!c.Text.contains(QChar(0xD800))) {
      EXPECT_EQ(DecodeEscapes(parsed), c.Text);
    }
    EXPECT_EQ(DecodeEscapes(FormatEscapes(c.Text)), c.Text);
  }
}

}  // namespace
}  // namespace grid::office
