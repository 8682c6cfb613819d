// Number texts: classification with the locale's separators, hexadecimal values and the locale conversion.
#include <gtest/gtest.h>

#include "dropdown/number_text.h"
#include "dropdown/tests/dropdown_fixture.h"

namespace dropdown {
namespace {

TEST(NumberText, ClassifiesTexts) {
  testing::Separators sep(u'.', u',');
  const struct {
    const char* text;
    TNumberClass expected;
  } cases[] = {
      {"", ncNone},         {"123", ncInteger},  {"-12", ncInteger}, {"1.5", ncFloat},    {"12,345.6", ncFloat},
      {",123", ncNone},     {"1,234", ncFloat},  {"1,2,3", ncNone}, {"ff", ncHex},       {"-1A", ncHex},
      {"1.2.3", ncNone},    {"--1", ncNone},     {"1x", ncNone},     {"123,456", ncFloat},
  };
  for (const auto& c : cases) EXPECT_EQ(ClassifyNumber(QString::fromUtf8(c.text)), c.expected) << c.text;
}

TEST(NumberText, HexadecimalDigitsAndValues) {
  EXPECT_EQ(HexToInt(QStringLiteral("ff")), 255);
  EXPECT_EQ(HexToInt(QStringLiteral("1A2b")), 0x1A2B);
  EXPECT_EQ(HexToInt(QStringLiteral("1z")), 16);  // other characters count as 0
  EXPECT_EQ(HexToInt(QStringLiteral("FFFFFFFF")), -1);
  EXPECT_EQ(HexToInt(QString()), 0);
}

TEST(NumberText, ConvertsWithTheSeparatorsOfTheMoment) {
  {
    testing::Separators sep(u',', u'.');
    EXPECT_DOUBLE_EQ(TextToFloat(QStringLiteral("1.234,5")), 1234.5);
  }
  testing::Separators sep(u'.', u',');
  EXPECT_DOUBLE_EQ(TextToFloat(QStringLiteral("1,234.5")), 1234.5);
  EXPECT_EQ(TextToFloat(QStringLiteral("abc")), 0.0);
  EXPECT_TRUE(IsRangeSeparator(u';'));
  EXPECT_FALSE(IsRangeSeparator(u'.'));
}

}  // namespace
}  // namespace dropdown
