#include "platform/rtl/format.h"

#include <gtest/gtest.h>

#include "platform/rtl/exceptions.h"
#include "printers.h"

using namespace plat;

TEST(Format, Specifiers) {
  const int32_t minusOne = -1;
  const int64_t minusOne64 = -1;
  const unsigned big = 4000000000u;
  struct Case {
    QString got;
    const char* want;
  };
  const Case cases[] = {
      {Format("Row %d of %d", {3, 10}), "Row 3 of 10"},
      {Format("%d", {INT64_MIN}), "-9223372036854775808"},
      {Format("%.3d|%5d|%-5d|", {-5, 42, 42}), "-005|   42|42   |"},
      {Format("%x %.4x %X", {255, 255, minusOne}), "FF 00FF FFFFFFFF"},
      {Format("%x", {minusOne64}), "FFFFFFFFFFFFFFFF"},
      {Format("%u %u", {minusOne, big}), "4294967295 4000000000"},
      {Format("[%s] [%6s] [%-6s] [%.2s]", {"abc", "abc", "abc", "abc"}), "[abc] [   abc] [abc   ] [ab]"},
      {Format("%s%s", {QChar(u'x'), u'y'}), "xy"},
      {Format("%f|%.1f|%.0f|%8.3f", {1.0, 2.25, 2.5, -3.14159}), "1.00|2.3|3|  -3.142"},
      {Format("%n|%.0n", {1234567.891, 1234.5}), "1,234,567.89|1,235"},
      {Format("%m|%m", {1234.5, -2.0}), "$1,234.50|($2.00)"},
      {Format("%e|%.3e", {1234.5, -0.00012345}), "1.23450000000000E+003|-1.23E-004"},
      {Format("%g|%g|%.3g", {0.5, 1e20, 1234.5}), "0.5|1E20|1.23E3"},
      {Format("%1:s %0:s %s", {"a", "b", "c"}), "b a b"},
      {Format("%*d|%-*d|%.*f", {4, 7, 3, 7, 1, 2.25}), "   7|7  |2.3"},
      {Format("100%% %D %S", {5, "x"}), "100% 5 x"},
      {Format("no args", {}), "no args"},
      {Format("%s", {"%d %s %n"}), "%d %s %n"},  // an argument is never read as a format
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, QString(c.want));
  TFormatSettings comma;
  comma.DecimalSeparator = u',';
  comma.ThousandSeparator = u'.';
  EXPECT_EQ(Format("%.2n", {1234.5}, comma), QString("1.234,50"));
  int x = 0;
  EXPECT_EQ(Format("%p", {static_cast<const void*>(&x)}).size(), int(sizeof(void*) * 2));
  std::vector<TVarRec> args{1, "two"};
  EXPECT_EQ(Format("%d-%s", args), QString("1-two"));
}

TEST(Format, MismatchesRaiseConvertError) {
  struct Case {
    const char* fmt;
    std::vector<TVarRec> args;
    const char* message;
  };
  const Case cases[] = {
      {"%d", {"text"}, "Format '%d' invalid or incompatible with argument"},
      {"%f", {3}, "Format '%f' invalid or incompatible with argument"},
      {"%s", {3.5}, "Format '%s' invalid or incompatible with argument"},
      {"%x", {1.0}, "Format '%x' invalid or incompatible with argument"},
      {"%p", {1}, "Format '%p' invalid or incompatible with argument"},
      {"%d %d", {1}, "No argument for format '%d %d'"},
      {"%2:s", {"a", "b"}, "No argument for format '%2:s'"},
      {"%*d", {"w", 1}, "Format '%*d' invalid or incompatible with argument"},
      {"50%", {}, "Format '50%' invalid or incompatible with argument"},
      {"%5", {1}, "Format '%5' invalid or incompatible with argument"},
      {"%.d", {1}, "Format '%.d' invalid or incompatible with argument"},
      {"%k", {1}, "Format '%k' invalid or incompatible with argument"},
  };
  for (const auto& c : cases) {
    try {
      Format(c.fmt, c.args);
      ADD_FAILURE() << c.fmt << " did not raise";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), QString(c.message)) << c.fmt;
    }
  }
}
