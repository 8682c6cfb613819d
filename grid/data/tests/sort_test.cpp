#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

#include "grid/data/grid_sorter.h"
#include "grid/data/sort_text.h"
#include "grid/data/tests/sort_fixture.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/formatsettings.h"

namespace grid {
namespace {

using testing::TSortGrid;

// Sorts rows First..Last of a one-or-more column grid on ACol.
QStringList SortColumn(TSortGrid& g, int ACol, int SortDir, const TSortOptions& o = {}, int First = 0) {
  TGridSorter s(g, o);
  s.QuickSortRows(ACol, First, g.RowCount() - 1, SortDir);
  return g.Column(ACol, First);
}

struct TFormatCase {
  const char* Name;
  QStringList Cells;
  int SortDir;
  QStringList Sorted;
  TSortOptions Options = {};
};

TEST(GridSortFormats, EachFormatOrdersItsCells) {
  TSortOptions noCase;
  noCase.IgnoreCase = true;
  const TFormatCase cases[] = {
      {"numbers compare as numbers", {"10", "9", "100"}, 1, {"9", "10", "100"}},
      {"numbers descending", {"10", "9", "100", "-3"}, -1, {"100", "10", "9", "-3"}},
      {"letters compare by code unit", {"b", "A", "a"}, 1, {"A", "a", "b"}},
      {"dates by the locale's short form", {"03/01/2021", "15/12/2020", "01/06/2021"}, 1,
       {"15/12/2020", "03/01/2021", "01/06/2021"}},
      {"times", {"12:30", "9:05", "23:00"}, 1, {"9:05", "12:30", "23:00"}},
      {"letters without case", {"b", "C", "a"}, 1, {"a", "b", "C"}, noCase},
  };
  for (const auto& c : cases) {
    for (bool fixed : {false, true}) {
      TSortGrid g(1, int(c.Cells.size()));
      g.FillColumn(0, c.Cells);
      g.Fixed = fixed;
      EXPECT_EQ(SortColumn(g, 0, c.SortDir, c.Options), c.Sorted) << c.Name << (fixed ? " (fixed format)" : "");
    }
  }
}

TEST(GridSortFormats, GivenFormatsUseTheirPrefixSuffixAndSeparators) {
  {
    TSortGrid g(1, 3);
    g.FillColumn(0, {"$40kg", "$5kg", "$12kg"});
    g.OnGetFormat = [](int, TSortStyle& s, QString& p, QString& x) { s = ssNumeric, p = "$", x = "kg"; };
    EXPECT_EQ(SortColumn(g, 0, 1), QStringList({"$5kg", "$12kg", "$40kg"}));
  }
  {
    TSortGrid g(1, 3);
    g.FillColumn(0, {"1,200.50", "999.99", "15"});
    g.Formats[0] = ssFinancial;
    EXPECT_EQ(SortColumn(g, 0, 1), QStringList({"15", "999.99", "1,200.50"}));
  }
  {
    // Day first and month first read the same texts differently.
    TSortGrid eu(1, 2), us(1, 2);
    eu.FillColumn(0, {"02/01/2020", "01/02/2020"});
    us.FillColumn(0, {"02/01/2020", "01/02/2020"});
    eu.Formats[0] = ssShortDateEU, us.Formats[0] = ssShortDateUS;
    EXPECT_EQ(SortColumn(eu, 0, 1), QStringList({"02/01/2020", "01/02/2020"}));
    EXPECT_EQ(SortColumn(us, 0, 1), QStringList({"01/02/2020", "02/01/2020"}));
  }
  {
    TSortGrid g(1, 3);
    g.FillColumn(0, {"<b>c</b>", "a", "<i>b</i>"});
    g.Formats[0] = ssHTML;
    EXPECT_EQ(SortColumn(g, 0, 1), QStringList({"a", "<i>b</i>", "<b>c</b>"}));
  }
  {
    // The custom comparison decides alone: here by length.
    TSortGrid g(1, 3);
    g.FillColumn(0, {"ccc", "a", "bb"});
    g.Formats[0] = ssCustom;
    g.OnCustomCompare = [](const QString& a, const QString& b) { return int(a.size() - b.size()); };
    EXPECT_EQ(SortColumn(g, 0, 1), QStringList({"a", "bb", "ccc"}));
  }
  {
    TSortGrid g(1, 4);
    g.FillColumn(0, {"b2", "10", "a", "9"});
    g.Formats[0] = ssAlphaNumeric;
    // Two numbers compare as numbers, anything else by code unit.
    EXPECT_EQ(SortColumn(g, 0, 1), QStringList({"9", "10", "a", "b2"}));
  }
}

TEST(GridSortFormats, AWordAmongNumbersDoesNotRaise) {
  TSortGrid g(1, 4);
  g.FillColumn(0, {"5", "word", "12", "3"});
  EXPECT_NO_THROW(SortColumn(g, 0, 1));
  EXPECT_EQ(g.Column(0).size(), 4);
}

TEST(GridSortFormats, BlanksGoWhereBlankPosSaysInBothDirections) {
  for (TSortBlankPosition pos : {blFirst, blLast}) {
    for (int dir : {1, -1}) {
      TSortGrid g(1, 5);
      g.Fixed = dir == 1;
      g.FillColumn(0, {"b", "", "c", "", "a"});
      TSortOptions o;
      o.IgnoreBlanks = true, o.BlankPos = pos;
      const QStringList out = SortColumn(g, 0, dir, o);
      const QStringList filled = dir == 1 ? QStringList{"a", "b", "c"} : QStringList{"c", "b", "a"};
      const QStringList want = pos == blFirst ? QStringList{"", ""} + filled : filled + QStringList{"", ""};
      EXPECT_EQ(out, want) << "pos " << pos << " dir " << dir;
    }
  }
}

TEST(GridSortLines, FullBreaksTiesOnTheNextColumnsAndSkipsIgnoredOnes) {
  TSortGrid g(3, 4);
  g.FillColumn(0, {"x", "x", "y", "x"});
  g.FillColumn(1, {"1", "1", "1", "1"});
  g.FillColumn(2, {"c", "a", "z", "b"});
  g.Ignored.insert(1);
  SortColumn(g, 0, 1);
  EXPECT_EQ(g.Column(2), QStringList({"a", "b", "c", "z"}));

  TSortGrid h(2, 3);
  h.FillColumn(0, {"x", "x", "x"});
  h.FillColumn(1, {"c", "a", "b"});
  TSortOptions off;
  off.Full = false;
  SortColumn(h, 0, 1, off);
  // All equal without a tie-break: nothing is exchanged.
  EXPECT_EQ(h.Column(1), QStringList({"c", "a", "b"}));
  EXPECT_TRUE(h.Swaps.empty());
}

TEST(GridSortLines, IndexedSortOrdersByEachKeyInTurn) {
  const std::vector<std::uint32_t> keys = ParseSortText("i;u1;d3", 4).Keys;
  ASSERT_EQ(keys.size(), 2u);
  for (bool full : {true, false}) {
    TSortGrid g(4, 5);
    g.FillColumn(1, {"2", "1", "2", "1", "0"});
    g.FillColumn(3, {"a", "b", "c", "a", "z"});
    TSortOptions o;
    o.Full = full;
    TGridSorter(g, o).QuickSortRowsIndexed(keys, 0, 4);
    EXPECT_EQ(g.Column(1), QStringList({"0", "1", "1", "2", "2"}));
    if (full) {
      EXPECT_EQ(g.Column(3), QStringList({"z", "b", "a", "c", "a"}));
    }
  }
}

TEST(GridSortLines, FixedRowsAroundTheRangeStayPut) {
  TSortGrid h(1, 6);
  h.FillColumn(0, {"head", "3", "1", "2", "foot", "scratch"});
  TGridSorter(h, {}).QuickSortRows(0, 1, 3, 1);
  EXPECT_EQ(h.Column(0), QStringList({"head", "1", "2", "3", "foot", "scratch"}));
}

// The grid's quicksort as it always was: the pivot row copied into a scratch row past the range, rows
// exchanged as the scans meet, both parts sorted by recursion.
class TClassicSort {
 public:
  TClassicSort(TSortGrid& Grid, const TSortOptions& O, int SortDir, int PivotRow)
      : G(Grid), C(Grid, O), Full(O.Full), Dir(SortDir), Pivot(PivotRow) {}
  void Sort(int Col, int L, int R) {
    const int m = (L + R) / 2;
    for (int c = 0; c < G.ColCount(); ++c) G.SetGridCell(c, Pivot, G.GetGridCell(c, m));
    int i = L, j = R;
    do {
      while (Line(Col, Pivot, i) == Dir && i < R) ++i;
      while (Line(Col, j, Pivot) == Dir && j > L) --j;
      if (i <= j) {
        if (i != j && Line(Col, i, j) != 0) G.SortSwapRows(i, j);
        ++i, --j;
      }
    } while (i <= j);
    if (L < j) Sort(Col, L, j);
    if (i < R) Sort(Col, i, R);
  }

 private:
  int Line(int Col, int R1, int R2) {
    for (int c = Col;; ++c) {
      const int r = G.IsIgnoredColumn(c) ? 0 : C.CompareCells(c, R1, R2, Dir);
      if (r != 0 || !Full || c >= G.ColCount() - 1) return r;
    }
  }
  TSortGrid& G;
  TCellComparer C;
  bool Full;
  int Dir, Pivot;
};

QString RandomCell(QRandomGenerator& rnd) {
  switch (rnd.bounded(4)) {
    case 0: return QString::number(rnd.bounded(50));
    case 1: return QString::number(rnd.bounded(1000) / 10.0);
    case 2: return QString(QChar(u'a' + rnd.bounded(6))) + QString(QChar(u'A' + rnd.bounded(3)));
    default: return rnd.bounded(3) == 0 ? QString() : QStringLiteral("x");
  }
}

TEST(GridSortLines, ExchangesAndOrderAreThoseOfTheClassicSort) {
  QRandomGenerator rnd(7);
  for (int round = 0; round < 40; ++round) {
    const int rows = 2 + int(rnd.bounded(300)), dir = round % 2 ? -1 : 1;
    const int moving = round % 5 == 4 ? 1 : -1;
    TSortOptions o;
    o.Full = round % 3 != 0;
    o.IgnoreBlanks = round % 4 == 1;
    TSortGrid mine(3, rows + 3), classic(3, rows + 3);
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < 3; ++c) {
        const QString t = RandomCell(rnd);
        mine.SetGridCell(c, r, t), classic.SetGridCell(c, r, t);
      }
    mine.MovingCol = classic.MovingCol = moving;
    mine.Fixed = round % 2 == 0;
    mine.OnePass = round % 3 == 1;
    mine.InPlace = round % 4 >= 2;
    mine.InitXRef();
    if (round % 8 < 2) {
      // Whole columns of numbers and of words take the sort's shortcuts.
      for (int r = 0; r < rows; ++r) {
        const QString n = QString::number(rnd.bounded(40)), w = QString(QChar(u'a' + rnd.bounded(5)));
        mine.SetGridCell(1, r, n), classic.SetGridCell(1, r, n);
        mine.SetGridCell(2, r, w), classic.SetGridCell(2, r, w);
      }
    }
    TGridSorter(mine, o).QuickSortRows(1, 0, rows - 1, dir, moving);
    TClassicSort(classic, o, dir, rows + 1).Sort(1, 0, rows - 1);
    for (int c = 0; c < 3; ++c) ASSERT_EQ(mine.Column(c, 0, rows - 1), classic.Column(c, 0, rows - 1)) << round;
    // The parts are sorted in another order, so the exchanges are compared as sets.
    auto a = mine.Swaps, b = classic.Swaps;
    std::sort(a.begin(), a.end()), std::sort(b.begin(), b.end());
    ASSERT_EQ(a, b) << round;
  }
}

// Columns of numbers only or of words only are sorted on keys read once, mixed ones read their cells for each
// comparison; either way rows moved in one pass end where the exchanges made one by one leave them, and both
// where the classic sort leaves them, with the same exchanges and the same cross-reference.
TEST(GridSortLines, OnePassMovesLeaveWhatTheExchangesLeave) {
  struct TCase {
    const char* Name;
    QString (*Cell)(QRandomGenerator&);
  };
  const TCase cases[] = {
      {"mixed", RandomCell},
      {"numbers", [](QRandomGenerator& r) { return QString::number(int(r.bounded(30)) - 10); }},
      {"numbers and blanks",
       [](QRandomGenerator& r) { return r.bounded(4) == 0 ? QString() : QString::number(r.bounded(20) / 4.0); }},
      {"words", [](QRandomGenerator& r) { return QString(QChar(u'a' + r.bounded(4))) + QChar(u'A' + r.bounded(3)); }},
      {"words and blanks",
       [](QRandomGenerator& r) { return r.bounded(3) == 0 ? QString() : QString(QChar(u'b' - r.bounded(2) * 32)); }},
  };
  QRandomGenerator rnd(11);
  for (const TCase& c : cases)
    for (int round = 0; round < 16; ++round) {
      const int rows = 2 + int(rnd.bounded(200)), dir = round % 2 ? -1 : 1, moving = round % 4 == 3 ? 1 : -1;
      TSortOptions o;
      o.Full = round % 3 != 0;
      o.IgnoreBlanks = round % 5 < 2;
      o.BlankPos = round % 5 == 1 ? blLast : blFirst;
      o.IgnoreCase = round % 7 == 2;
      TSortGrid one(3, rows + 3), each(3, rows + 3), classic(3, rows + 3);
      for (int r = 0; r < rows; ++r) {
        const QString key = c.Cell(rnd), rest = RandomCell(rnd);
        for (TSortGrid* g : {&one, &each, &classic})
          g->SetGridCell(0, r, QString::number(r)), g->SetGridCell(1, r, key), g->SetGridCell(2, r, rest);
      }
      one.OnePass = true;
      for (TSortGrid* g : {&one, &each, &classic}) g->MovingCol = moving, g->InitXRef();
      TGridSorter a(one, o), b(each, o);
      a.QuickSortRows(1, 0, rows - 1, dir, moving);
      b.QuickSortRows(1, 0, rows - 1, dir, moving);
      TClassicSort(classic, o, dir, rows + 1).Sort(1, 0, rows - 1);
      const std::string at = std::string(c.Name) + " round " + std::to_string(round);
      for (int col = 0; col < 3; ++col) {
        ASSERT_EQ(one.Column(col, 0, rows - 1), each.Column(col, 0, rows - 1)) << at;
        ASSERT_EQ(one.Column(col, 0, rows - 1), classic.Column(col, 0, rows - 1)) << at;
      }
      ASSERT_EQ(one.Swaps, each.Swaps) << at;
      ASSERT_EQ(a.Exchanges(), static_cast<long long>(each.Swaps.size())) << at;
      ASSERT_EQ(a.Comparisons(), b.Comparisons()) << at;
      ASSERT_EQ(one.Moves, each.Swaps.empty() ? 0 : 1) << at;
      ASSERT_EQ(one.XRef, each.XRef) << at;
      auto x = one.Swaps, y = classic.Swaps;
      std::sort(x.begin(), x.end()), std::sort(y.begin(), y.end());
      ASSERT_EQ(x, y) << at;
      // And back: the cross-reference leads both to the order they started from.
      std::vector<int> wa = one.XRef, wb = each.XRef;
      a.QuickUnSortRows(wa, 0, rows - 1);
      b.QuickUnSortRows(wb, 0, rows - 1);
      ASSERT_EQ(one.Column(1, 0, rows - 1), each.Column(1, 0, rows - 1)) << at;
      ASSERT_EQ(one.XRef, each.XRef) << at;
      if (moving < 0)
        for (int r = 0; r < rows; ++r) ASSERT_EQ(one.GetGridCell(0, r), QString::number(r)) << at;
    }
}

TEST(GridSortLines, ARaisingComparisonLeavesTheOrderReachedEitherWay) {
  QStringList reached[2];
  for (const bool onePass : {false, true}) {
    const int rows = 300;
    TSortGrid g(1, rows);
    g.OnePass = onePass;
    g.InitXRef();
    QRandomGenerator rnd(5);
    for (int r = 0; r < rows; ++r) g.SetGridCell(0, r, QString::number(rnd.bounded(1000)));
    g.Formats[0] = ssCustom;
    int calls = 0;
    g.OnCustomCompare = [&](const QString& a, const QString& b) {
      if (++calls > 1500) throw plat::Exception(QStringLiteral("stop"));
      return a.toInt() < b.toInt() ? -1 : (a.toInt() > b.toInt() ? 1 : 0);
    };
    EXPECT_THROW(TGridSorter(g, {}).QuickSortRows(0, 0, rows - 1, 1), plat::Exception);
    EXPECT_FALSE(g.Swaps.empty());
    EXPECT_EQ(g.Moves, onePass ? 1 : 0);
    reached[onePass] = g.Column(0);
  }
  EXPECT_EQ(reached[0], reached[1]);
}

TEST(GridSortLines, EqualKeysCostLinearLogarithmicComparisons) {
  const int rows = 100000;
  TSortGrid g(1, rows);
  for (int r = 0; r < rows; ++r) g.SetGridCell(0, r, QStringLiteral("same"));
  TGridSorter s(g, {});
  s.QuickSortRows(0, 0, rows - 1, 1);
  EXPECT_LT(s.Comparisons(), 3LL * rows * 17);
  EXPECT_TRUE(g.Swaps.empty());
}

TEST(GridSortLines, AnAdversaryInputKeepsTheRecursionShallow) {
  // An adversary that fixes the values only as the sort looks at them drives the middle pivot to the worst
  // split every time; a sort that recursed into both parts would go n/2 levels deep.
  const int rows = 3000;
  TSortGrid g(1, rows);
  std::vector<int> value(rows, rows);  // rows = not yet fixed
  int solid = 0, candidate = -1;
  for (int r = 0; r < rows; ++r) g.SetGridCell(0, r, QString::number(r));
  g.Formats[0] = ssCustom;
  g.OnCustomCompare = [&](const QString& a, const QString& b) {
    const int x = a.toInt(), y = b.toInt();
    if (value[x] == rows && value[y] == rows) value[x == candidate ? x : y] = solid++;
    if (value[x] == rows) candidate = x;
    else if (value[y] == rows) candidate = y;
    return value[x] < value[y] ? -1 : (value[x] > value[y] ? 1 : 0);
  };
  TGridSorter s(g, {});
  s.QuickSortRows(0, 0, rows - 1, 1);
  EXPECT_LE(s.MaxDepth(), 12) << s.Comparisons();
  // Still sorted by the values the adversary settled on.
  for (int r = 1; r < rows; ++r) ASSERT_LE(value[g.GetGridCell(0, r - 1).toInt()], value[g.GetGridCell(0, r).toInt()]);
}

// Numbers in plain decimal form are read by a quick exact conversion; every text must give the very double and
// the same "converts" answer as the general reading (drop thousands separators, first decimal separator to
// ".", TextToFloat), with the locale's separators.
TEST(GridSortNumbers, TheQuickReadingGivesWhatTheGeneralReadingGives) {
  const plat::TFormatSettings saved = plat::FormatSettings;
  struct TLocale {
    QChar Decimal, Thousand;
  };
  const TLocale locales[] = {{u'.', u','}, {u',', u'.'}, {u',', QChar(0xA0)}, {QChar(0x66B), QChar(0x66C)}};
  const char16_t* texts[] = {
      u"0", u"-0", u"7", u"-7", u"+7", u"007", u"12.5", u"-12.5", u"12,5", u"1,234.5", u"1.234,5", u"1,234,567",
      u"1.234.567", u"1 234", u"1\u00A0234,5", u" 5", u"5 ", u"5.", u".5", u"-.5", u"-", u"", u".", u"1e5", u"1E5",
      u"1e+5", u"1e-5", u"1e", u"1e+", u"e5", u"1e5.5", u"2.5e-3", u"-2.5E+300", u"1e308", u"1.8e308", u"1e309",
      u"1e-307", u"2.2250738585072014e-308", u"4.9e-324", u"1e-400", u"0e-400", u"0.000e5", u"0x1A", u"0X1a",
      u"1A", u"inf", u"-inf", u"+inf", u"nan", u"NaN", u"infinity", u"1_000", u"--5", u"-+5", u"+-5", u"5-",
      u"0.1", u"0.30000000000000004", u"9007199254740993", u"12345678901234567", u"1.2345678901234567",
      u"123456789012345678901234567890", u"0.1234567890123456789012345678901234567890123", u"1,5e3", u"\u0661\u0662",
      u"\u066B5", u"3\u066B25", u"12\u066C345\u066B5"};
  int quick = 0;
  for (const TLocale& loc : locales) {
    plat::FormatSettings.DecimalSeparator = loc.Decimal;
    plat::FormatSettings.ThousandSeparator = loc.Thousand;
    for (const char16_t* raw : texts) {
      const QString text = QString::fromUtf16(raw);
      for (const bool drop : {false, true}) {
        QString t = text;
        if (drop) t.remove(loc.Thousand);
        if (loc.Decimal != u'.')
          if (const qsizetype i = t.indexOf(loc.Decimal); i >= 0) t[i] = u'.';
        double general = -1, fast = -1;
        const bool ok = TextToFloat(t, general);
        if (!ReadPlainDecimal(text, drop, fast)) continue;
        ++quick;
        SCOPED_TRACE(text.toStdString() + (drop ? " dropping thousands" : ""));
        ASSERT_TRUE(ok);
        ASSERT_EQ(std::signbit(fast), std::signbit(general));
        ASSERT_EQ(fast, general);
      }
    }
  }
  plat::FormatSettings = saved;
  // The quick reading does take the plain forms.
  EXPECT_GT(quick, 100);
  double v = 0;
  for (const char* plain : {"0", "-12.5", "1e-5", "12345678901234567", "2.2250738585072014e-308"})
    EXPECT_TRUE(ReadPlainDecimal(QString::fromLatin1(plain), false, v)) << plain;

  // Values written with 17 significant digits, plain and with exponents, round-trip to the same bits.
  QRandomGenerator rnd(11);
  for (int i = 0; i < 20000; ++i) {
    const double x = std::ldexp(rnd.generateDouble() - 0.5, int(rnd.bounded(200)) - 100);
    for (const char f : {'g', 'e', 'f'}) {
      const QString s = QString::number(x, f, f == 'f' ? 12 : 16);
      double general = 0, fast = 0;
      ASSERT_TRUE(TextToFloat(s, general)) << s.toStdString();
      if (!ReadPlainDecimal(s, false, fast)) continue;
      ASSERT_EQ(fast, general) << s.toStdString();
    }
  }
}

TEST(GridUnSort, RestoresTheOrderOfTheLastReset) {
  QRandomGenerator rnd(3);
  const int rows = 500;
  TSortGrid g(2, rows);
  for (int r = 0; r < rows; ++r) g.SetGridCell(0, r, RandomCell(rnd)), g.SetGridCell(1, r, QString::number(r));
  g.InitXRef();
  TGridSorter s(g, {});
  s.QuickSortRows(0, 1, rows - 1, 1);
  s.QuickSortRows(1, 1, rows - 1, -1);
  s.QuickSortRows(0, 1, rows - 1, -1);
  std::vector<int> x = g.XRef;
  s.QuickUnSortRows(x, 0, rows - 1);
  for (int r = 0; r < rows; ++r) ASSERT_EQ(g.GetGridCell(1, r), QString::number(r));
  for (int r = 0; r < rows; ++r) ASSERT_EQ(g.XRef[std::size_t(r)], r);
}

struct TTextCase {
  const char* Text;
  TSortTextKind Kind;
  int Column;
  bool Descending;
  std::vector<std::uint32_t> Keys;
};

TEST(GridSortText, ReadsWhatItWritesAndRefusesMissingColumns) {
  const TTextCase cases[] = {
      {"", stkNothing, -1, false, {}},
      {"u2", stkColumn, 2, false, {}},
      {"d2", stkColumn, 2, true, {}},
      {"u-1", stkColumn, -1, false, {}},
      {"i;u1;d3", stkIndexed, -1, false, {1u, 3u | 0x80000000u}},
      {"i;", stkIndexed, -1, false, {}},
      {"u999", stkIgnored, -1, false, {}},
      {"i;u1;d999", stkIgnored, -1, false, {}},
      {"dx", stkColumn, -1, true, {}},
  };
  for (const auto& c : cases) {
    const TSortTextRequest r = ParseSortText(c.Text, 5);
    EXPECT_EQ(r.Kind, c.Kind) << c.Text;
    EXPECT_EQ(r.Keys, c.Keys) << c.Text;
    if (c.Kind == stkColumn) {
      EXPECT_EQ(r.Column, c.Column) << c.Text;
      EXPECT_EQ(r.Descending, c.Descending) << c.Text;
    }
  }
  EXPECT_FALSE(ParseSortText("dx", 5).HasColumn);
  EXPECT_THROW(ParseSortText("u", 5), plat::Exception);

  TSortState st;
  st.Column = 2, st.Descending = true;
  EXPECT_EQ(SortStateToString(st), "d2");
  st = {};
  EXPECT_EQ(SortStateToString(st), "u-1");
  st.IndexShow = true, st.Keys = {1u, 3u | 0x80000000u};
  EXPECT_EQ(SortStateToString(st), "i;u1;d3");
  EXPECT_EQ(ParseSortText(SortStateToString(st), 4).Keys, st.Keys);
}

}  // namespace
}  // namespace grid
