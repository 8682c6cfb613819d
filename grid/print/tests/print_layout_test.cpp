// The print engine's layout without a printer: pages, bands, fitting, centring, repeated fixed parts, and the
// layout routines the grid's painting shares.
#include <gtest/gtest.h>

#include <set>

#include "grid/print/print_layout.h"
#include "print_fixture.h"

using namespace grid;
using grid::testing::TPrintFixture;

namespace {

// Every row of the range once per band, in order, each band's pages one after another.
void ExpectEveryRowOncePerBand(const std::vector<TPrintedPage>& Pages, int FirstRow, int LastRow, int FixedRows) {
  std::map<int, std::vector<int>> rowsOfBand;
  for (const TPrintedPage& p : Pages)
    for (int r : p.Rows)
      if (r >= FixedRows || FixedRows == 0 || p.Number == 1 || rowsOfBand[p.Band].empty() ||
          rowsOfBand[p.Band].back() < FixedRows - 1)
        rowsOfBand[p.Band].push_back(r);
  for (const auto& [band, rows] : rowsOfBand) {
    std::vector<int> expected;
    for (int r = FirstRow; r <= LastRow; ++r) expected.push_back(r);
    std::vector<int> normal;
    for (int r : rows)
      if (r >= FixedRows) normal.push_back(r);
    std::vector<int> want;
    for (int r : expected)
      if (r >= FixedRows) want.push_back(r);
    EXPECT_EQ(normal, want) << "band " << band;
  }
}

TEST(PrintPages, OneRowMoreThanAPageHoldsStartsAnotherPage) {
  TPrintFixture big(3, 400);
  std::vector<TPrintedPage> pages;
  big.Count(&pages);
  ASSERT_GT(pages.size(), 2u);
  const int perPage = int(pages[0].Rows.size());
  ASSERT_GT(perPage, 10);
  // Every full page holds the same number of rows; only the last holds fewer.
  for (size_t i = 0; i + 1 < pages.size(); ++i) EXPECT_EQ(int(pages[i].Rows.size()), perPage) << i;

  struct TCase {
    int rows, pages;
  };
  const TCase cases[] = {{1, 1}, {perPage, 1}, {perPage + 1, 2}, {2 * perPage, 2}, {2 * perPage + 1, 3}};
  for (const TCase& k : cases) {
    TPrintFixture f(3, k.rows);
    std::vector<TPrintedPage> p;
    EXPECT_EQ(f.Count(&p), k.pages) << k.rows << " rows";
    EXPECT_EQ(int(p.size()), k.pages);
    ExpectEveryRowOncePerBand(p, 0, k.rows - 1, 0);
  }
}

TEST(PrintPages, HeaderFooterAndSpacingTakeRowsOffEachPage) {
  const auto perPage = [](auto Setup) {
    TPrintFixture f(3, 300);
    Setup(f.Settings);
    std::vector<TPrintedPage> p;
    f.Count(&p);
    return int(p[0].Rows.size());
  };
  const int plain = perPage([](TPrintSettings&) {});
  EXPECT_LT(perPage([](TPrintSettings& s) { s.PageNr = ppBottomRight; }), plain);
  EXPECT_LT(perPage([](TPrintSettings& s) { s.HeaderSize = 300; }), plain);
  EXPECT_LT(perPage([](TPrintSettings& s) { s.RowSpacing = 40; }), plain);
  EXPECT_LT(perPage([](TPrintSettings& s) {
              s.Title = ppTopCenter;
              s.TitleLines()->Add(QStringLiteral("one"));
              s.TitleLines()->Add(QStringLiteral("two"));
              s.TitleLines()->Add(QStringLiteral("three"));
            }),
            perPage([](TPrintSettings& s) {
              s.Title = ppTopCenter;
              s.TitleText = QStringLiteral("one");
            }));
  // Fixed row heights: rows per page follow from the height alone.
  EXPECT_GT(perPage([](TPrintSettings& s) { s.UseFixedHeight = true, s.FixedHeight = 20; }),
            perPage([](TPrintSettings& s) { s.UseFixedHeight = true, s.FixedHeight = 200; }));
}

TEST(PrintPages, ARowTallerThanThePageIsPlacedAloneAndThePrintEnds) {
  TPrintFixture f(2, 30);
  f.Printer.Events.OnPrintSetRowHeight = [](int ARow, int& Height) {
    if (ARow == 5) Height = 6000;  // two pages high
  };
  std::vector<TPrintedPage> pages;
  const int n = f.Count(&pages);
  ASSERT_EQ(int(pages.size()), n);
  ASSERT_EQ(n, 3);
  EXPECT_EQ(pages[0].Rows, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(pages[1].Rows, (std::vector<int>{5}));
  EXPECT_EQ(pages[2].Rows.front(), 6);
  EXPECT_EQ(pages[2].Rows.back(), 29);
}

TEST(PrintPages, FixedRowsRepeatOnEveryPageThatDoesNotHoldThem) {
  TPrintFixture f(3, 300, 0, 2);
  f.Settings.RepeatFixedRows = true;
  std::vector<TPrintedPage> pages;
  f.Count(&pages);
  ASSERT_GT(pages.size(), 2u);
  for (const TPrintedPage& p : pages) {
    ASSERT_GE(p.Rows.size(), 3u);
    EXPECT_EQ(p.Rows[0], 0) << "page " << p.Number;
    EXPECT_EQ(p.Rows[1], 1) << "page " << p.Number;
    EXPECT_GE(p.Rows[2], p.Number == 1 ? 2 : 3);
  }
  ExpectEveryRowOncePerBand(pages, 0, 299, 2);
}

TEST(PrintBands, WideGridsPrintInBandsWithTheFixedColumnOnEach) {
  TPrintFixture f(20, 10, 1, 0);
  f.Settings.UseFixedWidth = true, f.Settings.FixedWidth = 300;
  f.Settings.RepeatFixedCols = true;
  f.Settings.RightSize = 100;
  std::vector<TPrintedPage> pages;
  const int n = f.Count(&pages);
  ASSERT_GT(n, 2);
  std::set<int> seen;
  for (size_t i = 0; i < pages.size(); ++i) {
    const TPrintedPage& p = pages[i];
    EXPECT_EQ(p.Band, int(i)) << "ten rows fit one page per band";
    EXPECT_EQ(p.RepeatedCols, i > 0) << "the first band holds the fixed column itself";
    const int cols = p.LastCol - p.FirstCol + 1 + (p.RepeatedCols ? 1 : 0);
    EXPECT_LE(cols * 300, 2100 - 100) << "band " << i << " fits the page";
    if (i + 1 < pages.size()) EXPECT_GT((cols + 1) * 300, 2100 - 100) << "band " << i << " is full";
    for (int c = p.FirstCol; c <= p.LastCol; ++c) EXPECT_TRUE(seen.insert(c).second) << c;
  }
  EXPECT_EQ(int(seen.size()), 20);
}

TEST(PrintBands, CentredBandsKeepEqualMarginsAndUncentredOnesStartAtTheLeftMargin) {
  struct TCase {
    bool centered;
    int cols;
  };
  for (const TCase& k : {TCase{true, 3}, TCase{true, 20}, TCase{false, 3}, TCase{false, 20}}) {
    TPrintFixture f(k.cols, 5, 1, 0);
    f.Settings.Centered = k.centered;
    f.Settings.RepeatFixedCols = true;
    f.Settings.LeftSize = 150, f.Settings.RightSize = 150;
    std::vector<TPrintedPage> pages;
    f.Count(&pages);
    for (const TPrintedPage& p : pages) {
      if (k.centered) {
        EXPECT_LE(std::abs(p.Left - (2100 - p.Right)), 1) << k.cols << " columns, band " << p.Band;
      } else {
        EXPECT_EQ(p.Left, 150) << k.cols << " columns, band " << p.Band;
      }
    }
  }
}

TEST(PrintBands, FitToPageScalesColumnsToThePageWidthAsTheModeAllows) {
  struct TCase {
    TFitToPage fit;
    int cols;
    bool scaled;  // the columns then fill the width between the margins
  };
  const TCase cases[] = {
      {fpNever, 20, false}, {fpAlways, 20, true}, {fpShrink, 20, true}, {fpGrow, 20, false},
      {fpAlways, 2, true},  {fpShrink, 2, false}, {fpGrow, 2, true},
  };
  for (const TCase& k : cases) {
    TPrintFixture f(k.cols, 5);
    f.Settings.FitToPage = k.fit;
    f.Settings.LeftSize = 100, f.Settings.RightSize = 100;
    std::vector<TPrintedPage> pages;
    f.Count(&pages);
    EXPECT_EQ(f.Scale != 1.0, k.scaled) << k.fit << " " << k.cols;
    if (k.scaled) {
      ASSERT_EQ(pages.size(), 1u) << k.fit << " " << k.cols;
      const int width = pages[0].Right - pages[0].Left;
      EXPECT_LE(width, 2100 - 200);
      EXPECT_GE(width, 2100 - 200 - k.cols) << "only the truncation of each width is lost";
    }
  }
  // A custom fit asks first, and may refuse.
  TPrintFixture f(20, 5);
  f.Settings.FitToPage = fpCustom;
  f.Printer.Events.OnFitToPage = [](double&, bool& Allow) { Allow = false; };
  f.Count(nullptr);
  EXPECT_EQ(f.Scale, 1.0);
}

TEST(PrintSelection, OnlySelectedRowsAndColumnsPrint) {
  TPrintFixture f(6, 40, 0, 1);
  f.Host.RowSelected = [](int r) { return r % 3 == 0; };
  f.Host.ColSelected = [](int c) { return c == 1 || c == 4; };
  f.Settings.FixedCellsAlways = true;
  std::vector<TPrintedPage> pages;
  ASSERT_EQ(f.Count(&pages, 2100, 2970, true), 1);
  std::vector<int> want;
  for (int r = 0; r < 40; ++r)
    if (r == 0 || r % 3 == 0) want.push_back(r);
  EXPECT_EQ(pages[0].Rows, want);
  EXPECT_EQ(pages[0].FirstCol, 1);
  EXPECT_EQ(pages[0].LastCol, 4);
  EXPECT_EQ(f.Widths[2], 0) << "unselected columns are not measured";
}

TEST(PrintEvents, NewPageEventBreaksThePage) {
  TPrintFixture f(2, 20);
  f.Printer.Events.OnPrintNewPage = [](int ARow, bool& NewPage) { NewPage = ARow == 7; };
  std::vector<TPrintedPage> pages;
  ASSERT_EQ(f.Count(&pages), 2);
  EXPECT_EQ(pages[0].Rows.back(), 6);
  EXPECT_EQ(pages[1].Rows.front(), 7);
}

TEST(PrintLayoutRoutines, RotatedTextPlacementByQuadrant) {
  struct TCase {
    int angle, ha, va;
    plat::TPoint origin;
  };
  // Rectangle 100 x 50, text 40 wide and 10 high; the rectangle is shrunk by 2 first.
  const TCase cases[] = {
      {0, 0, 0, {2, 2}},    {0, 1, 0, {58, 2}},   {0, 2, 1, {30, 20}}, {0, 0, 2, {2, 38}},
      {90, 0, 0, {2, 42}},  {90, 1, 2, {88, 48}}, {180, 0, 0, {42, 12}}, {180, 1, 2, {98, 48}},
      {270, 0, 0, {12, 2}}, {270, 0, 2, {12, 8}}, {300, 0, 0, {10, 2}},
  };
  for (const TCase& k : cases)
    EXPECT_EQ(AlignRotatedText(plat::TRect(0, 0, 100, 50), plat::TSize(40, 10), k.angle, k.ha, k.va), k.origin)
        << k.angle << " " << k.ha << " " << k.va;
}

TEST(PrintLayoutRoutines, FontHeightsInTenthsOfAMillimetreAndColumnTextLength) {
  EXPECT_EQ(MapFontHeight(10), -35);
  EXPECT_EQ(MapFontHeight(10, 0.5), -17);
  EXPECT_EQ(MapFontHeight(72), -254);
  EXPECT_EQ(MapFontSize(254), 72);
  EXPECT_EQ(MapFontSize(35), 9);
  TDataGrid g(2, 3);
  g.SetGridCell(1, 0, QStringLiteral("ab"));
  g.SetGridCell(1, 1, QStringLiteral("abc\r\nx"));
  g.SetGridCell(0, 2, QStringLiteral("abcdefgh"));
  EXPECT_EQ(MaxColTextLength(g, 1), 3);
  EXPECT_EQ(MaxColTextLength(g, 0), 8);
}

}  // namespace
