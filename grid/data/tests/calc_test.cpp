#include <gtest/gtest.h>

#include <QStringList>

#include <cmath>
#include <set>
#include <vector>

#include "grid/data/grid_calc.h"
#include "platform/rtl/exceptions.h"

namespace grid {
namespace {

// Rows as the grid keeps them: every real row, some of them hidden (out of the display), one column of
// texts each; reading a row that does not exist fails the test.
class TCalcGrid : public TCalcHost {
 public:
  explicit TCalcGrid(QStringList Texts) : FTexts(std::move(Texts)) {}

  int RowCount() const override { return int(FTexts.size()) - int(Hidden.size()); }
  int FixedRows() const override { return Fixed; }
  int FixedFooters() const override { return Footers; }
  bool FloatingFooterVisible() const override { return FloatingFooter; }
  int NumHiddenRows() const override { return int(Hidden.size()); }
  double Floats(int, int ARow) override { return Parse(Displayed(ARow)); }
  double AllFloats(int, int ARealRow) override { return Parse(Real(ARealRow)); }
  QString Cells(int, int ARow) override { return Displayed(ARow); }
  QString AllCells(int, int ARealRow) override { return Real(ARealRow); }
  int DisplRowIndex(int ARealRow) const override {
    int d = ARealRow;
    for (int h : Hidden) d -= h < ARealRow;
    return d;
  }
  bool IsHiddenRow(int ARealRow) const override { return Hidden.count(ARealRow) > 0; }
  bool IsNode(int ARow) override { return Nodes.count(ARow) > 0; }
  bool IsSummary(int) override { return false; }
  int GroupColumn() const override { return Nodes.empty() ? -1 : 0; }
  bool IsBaseCell(int, int ARow) override { return NonBase.count(ARow) == 0; }
  void ExportNotification(TCalcNotice N, int ARow) override { Notices.push_back({N, ARow}); }

  std::set<int> Hidden, Nodes, NonBase;
  int Fixed = 0, Footers = 0;
  bool FloatingFooter = false;
  std::vector<std::pair<TCalcNotice, int>> Notices;

 private:
  QString Real(int R) {
    if (R < 0 || R >= FTexts.size()) {
      ADD_FAILURE() << "read past the rows: " << R;
      return {};
    }
    return FTexts[R];
  }
  QString Displayed(int R) {
    for (int real = 0, d = 0; real < FTexts.size(); ++real)
      if (!Hidden.count(real) && d++ == R) return FTexts[real];
    ADD_FAILURE() << "read past the displayed rows: " << R;
    return {};
  }
  static double Parse(const QString& S) {
    if (S.isEmpty() || S == "-") return 0;
    bool ok = false;
    const double v = S.toDouble(&ok);
    if (!ok) throw plat::Exception("Cell does not contain a float value");
    return v;
  }
  QStringList FTexts;
};

TEST(GridCalc, ColumnStatisticsOverTheNormalRows) {
  TCalcGrid g({"head", "2", "4", "x", "4", "10", "foot"});
  g.Fixed = 1, g.Footers = 1;
  TGridCalc c(g);
  const TCalcRange all = c.ColumnRange(-1, -1);
  EXPECT_EQ(all.From, 1);
  EXPECT_EQ(all.To, 5);
  EXPECT_DOUBLE_EQ(c.ColumnSum(0, -1, -1), 20);       // the text is skipped
  EXPECT_DOUBLE_EQ(c.ColumnAvg(0, -1, -1), 4);        // but counts as a row of the range
  EXPECT_DOUBLE_EQ(c.ColumnMin(0, 1, 5), 2);
  EXPECT_DOUBLE_EQ(c.ColumnMax(0, 1, 5), 10);
  EXPECT_DOUBLE_EQ(c.ColumnDistinct(0, 1, 5), 4);     // 2, 4, x, 10
  EXPECT_DOUBLE_EQ(c.ColumnDistinct(0, 0, 6), 6);
  EXPECT_THROW(c.ColumnStdDev(0, 1, 5), plat::Exception);
  EXPECT_DOUBLE_EQ(c.ColumnStdDev(0, 1, 2), 1);       // 2 and 4 around 3
  EXPECT_THROW(c.ColumnMin(0, 3, 5), plat::Exception);  // the first row starts the search
}

TEST(GridCalc, EmptyRangesGiveZeroNotNaN) {
  TCalcGrid g({"head", "foot"});
  g.Fixed = 1, g.Footers = 1;
  TGridCalc c(g);
  for (double v : {c.ColumnSum(0, -1, -1), c.ColumnAvg(0, -1, -1), c.ColumnStdDev(0, -1, -1),
                   c.ColumnStdDev(0, 5, 4), c.ColumnAvg(0, 5, 4), c.RowAvg(0, 3, 2)}) {
    EXPECT_FALSE(std::isnan(v));
    EXPECT_EQ(v, 0);
  }
}

TEST(GridCalc, NodesSummariesAndMergedCellsDoNotCount) {
  TCalcGrid g({"100", "1", "2", "200", "3", "50"});
  g.Nodes = {0, 3};
  g.NonBase = {5};
  TGridCalc c(g);
  EXPECT_DOUBLE_EQ(c.ColumnSum(0, 0, 5), 6);
  EXPECT_DOUBLE_EQ(c.ColumnMax(0, 1, 5), 3);
  EXPECT_DOUBLE_EQ(c.RowSum(0, 0, 0), 100);
}

TEST(GridCalc, ARangePastTheRowsReadsTheHiddenRowsAndStopsAtTheLast) {
  // Real rows 0..5, rows 2 and 4 hidden: four displayed rows.
  TCalcGrid g({"h", "1", "20", "3", "400", "5"});
  g.Fixed = 1;
  g.Hidden = {2, 4};
  TGridCalc c(g);
  EXPECT_DOUBLE_EQ(c.ColumnSum(0, 1, 3), 9);            // display rows: 1, 3, 5
  EXPECT_DOUBLE_EQ(c.ColumnSum(0, 1, 5), 429);          // real rows, hidden ones included
  EXPECT_DOUBLE_EQ(c.ColumnSum(0, 1, 1000), 429);       // never past the last real row
  EXPECT_DOUBLE_EQ(c.ColumnAvg(0, 1, 1000), 429 / 5.0);
  EXPECT_DOUBLE_EQ(c.ColumnMax(0, 1, 1000), 400);
  EXPECT_DOUBLE_EQ(c.ColumnDistinct(0, 1, 1000), 5);
  EXPECT_NEAR(c.ColumnStdDev(0, 1, 1000), std::sqrt((1 + 400 + 9 + 160000 + 25) / 5.0 - std::pow(429 / 5.0, 2)),
              1e-9);
}

TEST(GridCalc, SumsTellTheExportHookEveryCountedRow) {
  TCalcGrid g({"1", "2", "3"});
  g.NonBase = {1};
  TGridCalc(g).ColumnSum(0, 0, 2);
  const std::vector<std::pair<TCalcNotice, int>> want{{cnStart, 0}, {cnNextRow, 0}, {cnNextRow, 2}, {cnDone, -1}};
  EXPECT_EQ(g.Notices, want);
}

TEST(GridCalc, RowStatistics) {
  struct {
    QString Text;
    bool Base;
  } cells[] = {{"4", true}, {"x", true}, {"9", false}, {"-2", true}};
  class TRowGrid : public TCalcGrid {
   public:
    using TCalcGrid::TCalcGrid;
    QStringList Row;
    std::vector<bool> Base;
    double Floats(int ACol, int) override {
      bool ok = false;
      const double v = Row[ACol].toDouble(&ok);
      if (!ok) throw plat::Exception("Cell does not contain a float value");
      return v;
    }
    bool IsBaseCell(int ACol, int) override { return Base[std::size_t(ACol)]; }
  } g({"r"});
  for (const auto& c : cells) g.Row << c.Text, g.Base.push_back(c.Base);
  TGridCalc c(g);
  EXPECT_DOUBLE_EQ(c.RowSum(0, 0, 3), 2);
  EXPECT_DOUBLE_EQ(c.RowAvg(0, 0, 3), 0.5);
  EXPECT_DOUBLE_EQ(c.RowMin(0, 0, 3), -2);
  EXPECT_DOUBLE_EQ(c.RowMax(0, 0, 3), 4);
  EXPECT_THROW(c.RowMin(0, 1, 3), plat::Exception);
}

}  // namespace
}  // namespace grid
