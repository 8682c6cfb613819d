// The filter over a bare table of rows: what the row test asks of its grid, how failures inside the matching
// count, and the progress it reports. The table's hidden rows are a stack of levels, as the grid keeps them.
#include <gtest/gtest.h>

#include <QStringList>

#include <stdexcept>

#include "grid/data/filter.h"

namespace grid {
namespace {

class TTableHost : public TGridFilterHost {
 public:
  std::vector<QStringList> Rows;  // shown rows; row 0 the header
  std::vector<std::vector<std::pair<int, QStringList>>> Levels;
  TFilter Conditions;
  int Fixed = 1, Footers = 0, Cols = 2;
  std::vector<int> Progress;
  bool WithProgress = false;
  std::vector<QString> Asked;  // the expressions handed to the full reader
  TGridFilter Engine{*this};

  TFilter& Filter() override { return Conditions; }
  int RowCount() const override { return int(Rows.size()); }
  int AllColCount() const override { return Cols; }
  int FixedRows() const override { return Fixed; }
  void SetFixedRows(int Value) override { Fixed = Value; }
  int FixedFooters() const override { return Footers; }
  QString FilterCellText(int ACol, int ARow, TFilterCells) override {
    const QStringList& r = Rows[std::size_t(ARow)];
    return ACol < r.size() ? r[ACol] : QString();
  }
  // Stands in for the full reader: "boom" fails inside the matching; else the text between the first character
  // and the first "|" must equal the value.
  bool MatchExpression(const QString& Expression, const QString& Value, bool) override {
    Asked.push_back(Expression);
    if (Expression.contains("boom")) throw std::runtime_error("bad expression");
    return Expression.mid(1).section(u'|', 0, 0) == Value;
  }
  bool RowMatches(int ARow) override { return Engine.MatchesFilter(ARow); }
  bool HasFilterProgress() const override { return WithProgress; }
  void FilterProgress(int Percent) override { Progress.push_back(Percent); }
  void HideRowList(const std::vector<int>& Hide) override {
    std::vector<std::pair<int, QStringList>> level;
    for (auto it = Hide.rbegin(); it != Hide.rend(); ++it) {
      level.insert(level.begin(), {*it, Rows[std::size_t(*it)]});
      Rows.erase(Rows.begin() + *it);
    }
    Levels.push_back(level);
  }
  void UnHideRowList() override {
    if (Levels.empty()) return;
    for (auto& [at, row] : Levels.back()) Rows.insert(Rows.begin() + at, row);
    Levels.back().clear();
  }
  int FilterLevel() const override { return int(Levels.size()); }
  void SetFilterLevel(int Value) override { Levels.resize(std::size_t(Value)); }
  void HideRealRow(int ARow) override { HideRowList({ARow}); }
  int RealRowIndex(int ARow) const override { return ARow; }

  QStringList Names() const {
    QStringList l;
    for (std::size_t r = std::size_t(Fixed); r < Rows.size(); ++r) l << Rows[r][0];
    return l;
  }
};

TEST(TableFilterTest, AFailureInsideTheMatchingFailsOnlyThatCondition) {
  TTableHost t;
  t.Rows = {{"h", "v"}, {"a", "1"}, {"b", "2"}};
  TFilterData* bad = t.Conditions.Add();
  bad->Column = 1;
  bad->Condition = "(boom";
  TFilterData* good = t.Conditions.Add();
  good->Column = 1;
  good->Condition = "=2|x";  // an operator: the full reader answers
  good->Operation = foOR;
  t.Engine.ApplyFilter();
  EXPECT_EQ(t.Names(), QStringList{"b"});
  EXPECT_EQ(t.Asked.size(), 4u);
  // A plain pattern never reaches the full reader.
  t.Asked.clear();
  t.Conditions.Clear();
  t.Conditions.Add()->Condition = "?";
  t.Engine.ApplyFilter();
  EXPECT_TRUE(t.Asked.empty());
  EXPECT_EQ(t.Names(), QStringList{"b"});
}

TEST(TableFilterTest, ProgressCountsTheTestedRowsAndStaysSilentWithoutRows) {
  TTableHost t;
  t.WithProgress = true;
  t.Rows = {{"h"}, {"a"}, {"b"}, {"c"}, {"sum"}};
  t.Footers = 1;
  t.Engine.ApplyFilter();
  EXPECT_EQ(t.Progress, (std::vector<int>{33, 67, 100, 100}));
  t.Progress.clear();
  t.Rows = {{"h"}, {"sum"}};
  t.Engine.ApplyFilter();
  EXPECT_TRUE(t.Progress.empty());
  EXPECT_EQ(t.FilterLevel(), 2);
}

TEST(TableFilterTest, SwitchingOffBringsTheNewestLevelBackAndKeepsTheCount) {
  TTableHost t;
  t.Rows = {{"h", ""}, {"a", "1"}, {"b", "2"}, {"c", "1"}};
  TFilterData* f = t.Conditions.Add();
  f->Column = 1;
  f->Condition = "1";
  f->Method = fmLiteral;
  t.Engine.SetActive(true);
  EXPECT_EQ(t.Names(), (QStringList{"a", "c"}));
  t.Engine.SetActive(false);
  EXPECT_EQ(t.Names(), (QStringList{"a", "b", "c"}));
  EXPECT_EQ(t.FilterLevel(), 1);  // the next activation hides its rows under the next level
  t.Engine.SetActive(true);
  EXPECT_EQ(t.FilterLevel(), 2);
  t.Engine.RemoveAllFilters();
  EXPECT_EQ(t.Names(), (QStringList{"a", "b", "c"}));
  EXPECT_EQ(t.FilterLevel(), 0);
  EXPECT_EQ(t.Conditions.Count(), 1);
}

TEST(TableFilterTest, EntriesNameAndConditionTheirChoice) {
  struct Case {
    const char* Entry;
    const char* Name;
    const char* Condition;
  } cases[] = {
      {"Big=>100", "Big", ">100"}, {"<5", "<5", "<5"}, {"new york=\"new york\"", "new york", "\"new york\""},
      {"(All)", "(All)", ""},      {"=x", "", "x"},     {"a=b=c", "a", "b=c"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TGridFilter::EntryName(c.Entry), c.Name) << c.Entry;
    EXPECT_EQ(TGridFilter::EntryCondition(c.Entry, "(All)"), c.Condition) << c.Entry;
  }
}

}  // namespace
}  // namespace grid
