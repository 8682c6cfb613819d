// Filtering the string grid: the row test of the conditions, filter levels that stack and come back exactly,
// narrowing down as the user types, and the filter drop-down turning a choice into conditions.
#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>

#include <functional>
#include <random>

#include "controls/filter_match.h"
#include "grid/data/filter.h"
#include "grid/extgrid.h"
#include "grid/model/tests/gridcheck.h"
#include "platform/forms/forms.h"

namespace grid {
namespace {

struct FilterGridTest : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TExtStringGrid* g = new TExtStringGrid(form.get());
  FilterGridTest() {
    form->SetBounds(0, 0, 460, 340);
    g->SetParent(form.get());
    g->SetBounds(0, 0, 440, 300);
    g->SetColCount(4);
    g->SetDefaultColWidth(90);
  }
  // Row 0 is the header; column 0 names each row, columns 1.. hold the given texts.
  void Fill(const std::vector<QStringList>& Rows) {
    g->SetRowCount(int(Rows.size()) + 1);
    for (int c = 0; c < 4; ++c) g->SetCells(c, 0, QString("h%1").arg(c));
    for (int r = 0; r < int(Rows.size()); ++r) {
      g->SetCells(0, r + 1, QString("r%1").arg(r + 1));
      for (int c = 0; c < Rows[std::size_t(r)].size(); ++c) g->SetCells(c + 1, r + 1, Rows[std::size_t(r)][c]);
    }
  }
  // The names of the shown rows below the header (a grid whose normal rows are all hidden keeps no fixed row).
  QStringList Shown() const {
    QStringList l;
    for (int r = 0; r < g->RowCount(); ++r)
      if (g->Cells(0, r) != "h0") l << g->Cells(0, r);
    return l;
  }
  TFilterData* Add(int Col, const QString& Condition) {
    TFilterData* f = g->Filter()->Add();
    f->Column = Col;
    f->Condition = Condition;
    return f;
  }
};

// ---- the row test ---------------------------------------------------------------------------------------------

TEST_F(FilterGridTest, ConditionsJoinByTheirOperationsAndTheTextAsSet) {
  Fill({{"10", "$12", "ABC"}, {"20", "$5", "xabcx"}, {"15", "12", "new york"}, {"30", "7kg", "other"}});
  struct Case {
    const char* Name;
    std::function<void(FilterGridTest&)> Set;
    QStringList Shown;
  };
  const Case cases[] = {
      {"two conditions by Add: both must hold",
       [](FilterGridTest& t) {
         EXPECT_EQ(t.Add(1, ">12")->Operation, foNONE);
         EXPECT_EQ(t.Add(1, "<25")->Operation, foAND);
       },
       {"r2", "r3"}},
      {"or and xor",
       [](FilterGridTest& t) {
         t.Add(1, "10");
         t.Add(1, "30")->Operation = foOR;
       },
       {"r1", "r4"}},
      {"xor",
       [](FilterGridTest& t) {
         t.Add(1, ">12");
         t.Add(1, ">25")->Operation = foXOR;
       },
       {"r2", "r3"}},
      {"a prefix is cut before matching", [](FilterGridTest& t) { t.Add(2, "12")->Prefix = "$"; }, {"r1", "r3"}},
      {"a suffix is cut only where it ends the text", [](FilterGridTest& t) { t.Add(2, "7")->Suffix = "kg"; }, {"r4"}},
      {"literal: exact and case-sensitive",
       [](FilterGridTest& t) { t.Add(3, "ABC")->Method = fmLiteral; },
       {"r1"}},
      {"expression without case", [](FilterGridTest& t) { t.Add(3, "abc")->CaseSensitive = false; }, {"r1"}},
      {"a blank inside double quotes is matched", [](FilterGridTest& t) { t.Add(3, "\"new york\""); }, {"r3"}},
      {"whole row: any cell, case never counts",
       [](FilterGridTest& t) {
         TFilterData* f = t.Add(0, "abc");
         f->Data = fcRow;
         f->CaseSensitive = true;
       },
       {"r1", "r2"}},
      {"whole row with an empty condition fails every row", [](FilterGridTest& t) { t.Add(0, "")->Data = fcRow; }, {}},
      {"an empty condition passes every row", [](FilterGridTest& t) { t.Add(2, ""); }, {"r1", "r2", "r3", "r4"}},
      {"a column the grid does not have tests an empty text",
       [](FilterGridTest& t) {
         t.Add(17, "");
         t.Add(-3, "x*")->Operation = foOR;
       },
       {"r1", "r2", "r3", "r4"}},
      {"a failing short condition stops the test",
       [](FilterGridTest& t) {
         TFilterData* f = t.g->Filter()->Insert(0);
         f->Column = 1;
         f->Condition = "10";
         t.Add(1, "*")->Operation = foOR;  // would pass every row, but is never reached for failing rows
       },
       {"r1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    g->RemoveAllFilters();
    g->Filter()->Clear();
    c.Set(*this);
    g->ApplyFilter();
    EXPECT_EQ(Shown(), c.Shown);
    g->RemoveAllFilters();
    EXPECT_EQ(g->RowCount(), 5);
  }
}

TEST_F(FilterGridTest, TheCustomFilterHasTheLastWord) {
  Fill({{"1"}, {"2"}, {"3"}});
  g->Filter()->Insert(0)->Condition = "9";  // a short condition that fails every row
  std::vector<int> asked;
  g->OnCustomFilter = [&](plat::TObject*, int ARow, bool& Accept) {
    EXPECT_FALSE(Accept);
    asked.push_back(ARow);
    Accept = ARow == 2;
  };
  g->SetFilterActive(true);
  EXPECT_EQ(asked, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Shown(), QStringList{"r2"});
  g->SetFilterActive(false);
  EXPECT_EQ(Shown(), (QStringList{"r1", "r2", "r3"}));
}

TEST_F(FilterGridTest, NodeAndSummaryRowsStayWithNormalCellsOnly) {
  Fill({{"x"}, {"a"}, {"b"}, {"y"}, {"a"}});
  g->AddNode(1, 3);
  g->AddSummary(4);
  Add(1, "a");
  g->ApplyFilter();
  EXPECT_EQ(Shown(), (QStringList{"r1", "r2", "r4", "r5"}));
  g->RemoveLastFilter();
  g->FilterNormalCellsOnly = false;
  g->ApplyFilter();
  EXPECT_EQ(Shown(), (QStringList{"r2", "r5"}));
}

TEST_F(FilterGridTest, ProgressIsReportedPerRowAndNeverForAGridWithoutNormalRows) {
  Fill({{"a"}, {"b"}, {"a"}, {"b"}});
  std::vector<int> seen;
  g->OnFilterProgress = [&](plat::TObject*, int p) { seen.push_back(p); };
  Add(1, "a");
  g->ApplyFilter();
  EXPECT_EQ(seen, (std::vector<int>{25, 50, 75, 100, 100}));
  g->RemoveAllFilters();
  seen.clear();
  g->SetFixedRowAlways(true);
  g->SetRowCount(1);  // the header only: no share to report
  g->ApplyFilter();
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(g->Hiding().FilterLevel(), 1);
}

// ---- levels -------------------------------------------------------------------------------------------------------

TEST_F(FilterGridTest, LevelsStackAndComeBackOneAtATime) {
  Fill({{"1"}, {"2"}, {"3"}, {"4"}});
  g->ApplyFilter();  // no conditions: nothing hidden, still a level
  EXPECT_EQ(g->Hiding().FilterLevel(), 1);
  EXPECT_FALSE(g->RemoveLastFilter());
  EXPECT_FALSE(g->RemoveLastFilter());  // no level left
  Add(1, "<4");
  g->ApplyFilter();
  g->Filter()->Items(0)->Condition = "<3";
  g->ApplyFilter();
  g->Filter()->Items(0)->Condition = "<2";
  g->ApplyFilter();
  EXPECT_EQ(Shown(), QStringList{"r1"});
  EXPECT_TRUE(g->RemoveLastFilter());
  EXPECT_EQ(Shown(), (QStringList{"r1", "r2"}));
  EXPECT_FALSE(g->RemoveLastFilter());
  EXPECT_EQ(Shown(), (QStringList{"r1", "r2", "r3"}));
  g->RemoveAllFilters();
  EXPECT_EQ(Shown(), (QStringList{"r1", "r2", "r3", "r4"}));
  EXPECT_EQ(g->Filter()->Count(), 1);  // levels were taken back: the conditions stay
  g->RemoveAllFilters();
  EXPECT_EQ(g->Filter()->Count(), 0);  // no level: the conditions go
}

TEST_F(FilterGridTest, SwitchingTheFilterOnAndOffShowsTheRowsAgain) {
  Fill({{"1"}, {"2"}, {"3"}});
  Add(1, ">1");
  g->SetFilterActive(true);
  EXPECT_TRUE(g->FilterActive());
  EXPECT_TRUE(g->FilterActive(1));
  EXPECT_EQ(Shown(), (QStringList{"r2", "r3"}));
  g->SetFilterActive(true);  // no change
  EXPECT_EQ(g->Hiding().FilterLevel(), 1);
  g->SetFilterActive(false);
  EXPECT_EQ(Shown(), (QStringList{"r1", "r2", "r3"}));
  EXPECT_EQ(g->FixedRows(), 1);
  EXPECT_EQ(g->UpdateCount(), 0);
}

// ---- narrowing down ---------------------------------------------------------------------------------------------

TEST_F(FilterGridTest, NarrowingDownAddsALevelPerLetterAndTakesOneBackPerBackspace) {
  Fill({{"", "apple"}, {"", "apricot"}, {"", "banana"}, {"", "Apex"}, {"", "red apple"}});
  g->NarrowDown("a", 2);
  EXPECT_EQ(Shown(), (QStringList{"r1", "r2", "r3", "r4", "r5"}));
  g->NarrowDown("ap", 2);
  EXPECT_EQ(Shown(), (QStringList{"r1", "r2", "r4", "r5"}));
  g->NarrowDown("apr", 2);
  EXPECT_EQ(Shown(), QStringList{"r2"});
  EXPECT_EQ(g->Hiding().FilterLevel(), 3);
  g->NarrowDown("ap", 2);  // backspace
  EXPECT_EQ(Shown(), (QStringList{"r1", "r2", "r4", "r5"}));
  EXPECT_EQ(g->Hiding().FilterLevel(), 2);
  g->NarrowDown("an", 2);  // another text of the same length: afresh
  EXPECT_EQ(Shown(), QStringList{"r3"});
  EXPECT_EQ(g->Hiding().FilterLevel(), 1);
  g->NarrowDown("d a", 2);  // a blank is matched inside the quoted condition
  EXPECT_EQ(g->Filter()->Items(0)->Condition, "\"*d a*\"");
  EXPECT_EQ(Shown(), QStringList{"r5"});
  g->NarrowDown("", 2);
  EXPECT_EQ(Shown(), (QStringList{"r1", "r2", "r3", "r4", "r5"}));
  EXPECT_EQ(g->Hiding().FilterLevel(), 0);
  g->NarrowDown("APE", -1);  // anywhere in the row
  EXPECT_EQ(Shown(), QStringList{"r4"});
  EXPECT_TRUE(g->FixedRowAlways());
}

// ---- plain patterns answer as the full expression reader does ------------------------------------------------------

TEST(FilterPatternTest, PlainPatternsMatchAsTheExpressionReader) {
  std::mt19937 rng(7);
  const QString patternChars = QStringLiteral("abA*?\" =xé");
  const QString valueChars = QStringLiteral("abAB xé");
  auto random = [&](const QString& From, int MaxLen) {
    QString s;
    for (int n = int(rng() % unsigned(MaxLen + 1)); n > 0; --n) s += From[int(rng() % unsigned(From.size()))];
    return s;
  };
  int plain = 0;
  for (int i = 0; i < 20000; ++i) {
    const QString p = random(patternChars, 6), v = random(valueChars, 6);
    const bool cs = rng() % 2;
    const TFilterPattern pattern(p, cs);
    ASSERT_TRUE(pattern.Plain());
    ++plain;
    ASSERT_EQ(pattern.Matches(v), controls::MatchFilter(p, v, cs))
        << "pattern [" << p.toStdString() << "] value [" << v.toStdString() << "] case " << cs;
  }
  EXPECT_EQ(plain, 20000);
  for (const char* op : {">1", "a|b", "a&b", "!a", "(a)", "a;b", "a^b", "<2"})
    EXPECT_FALSE(TFilterPattern(op, true).Plain()) << op;
}

// ---- random sequences against a reference --------------------------------------------------------------------------

// The reference: every normal row in real order with what hides it: kShown, kByHand, or the filter level.
constexpr int kShown = -1, kByHand = -2;
struct TRefRow {
  int Id;
  QString Letter;
  int Number;
  int Level = kShown;
};

// Random filters, unfilters, inserts, deletes and rows hidden and shown by hand: after every step the grid holds
// exactly the reference's state: the shown rows in order with their cells, colours and heights, each hidden row
// at its real index with its own cells and the level (or the hand) that hid it, and a sound cell store.
TEST_F(FilterGridTest, RandomFilterUnfilterInsertDeleteAndHandHidingKeepTheExactState) {
  struct Cond {
    int Col;
    const char* Text;
    std::function<bool(const TRefRow&)> Holds;
  };
  const Cond conds[] = {
      {1, "a", [](const TRefRow& r) { return r.Letter == "a"; }},
      {1, "!b", [](const TRefRow& r) { return r.Letter != "b"; }},
      {1, "c|d", [](const TRefRow& r) { return r.Letter == "c" || r.Letter == "d"; }},
      {2, ">4", [](const TRefRow& r) { return r.Number > 4; }},
      {2, "<=6", [](const TRefRow& r) { return r.Number <= 6; }},
      {2, "?", [](const TRefRow&) { return true; }},
  };
  const auto height = [](int Id) { return 18 + Id % 5; };
  for (unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u}) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    std::vector<TRefRow> ref;
    int levels = 0, nextId = 0;
    auto newRow = [&] {
      TRefRow r{nextId++, QString(QChar(u'a' + int(rng() % 4))), int(rng() % 10)};
      return r;
    };
    auto put = [&](int DisplRow, const TRefRow& r) {
      g->SetCells(0, DisplRow, QString::number(r.Id));
      g->SetCells(1, DisplRow, r.Letter);
      g->SetCells(2, DisplRow, QString::number(r.Number));
      if (r.Id % 3 == 0) g->SetColors(3, DisplRow, plat::TColor(0x102030 + r.Id));
      g->SetRowHeights(DisplRow, height(r.Id));
    };
    g = new TExtStringGrid(form.get());  // a fresh grid per seed (the form owns it)
    g->SetColCount(4);
    g->SetRowCount(31);
    g->SetFixedRows(1);
    g->SetFixedRowAlways(true);  // the header stays fixed when every normal row is hidden or removed
    g->SetCells(0, 0, "h0");
    for (int r = 1; r <= 30; ++r) {
      ref.push_back(newRow());
      put(r, ref.back());
    }
    auto visible = [&] {
      std::vector<int> v;
      for (std::size_t i = 0; i < ref.size(); ++i)
        if (ref[i].Level == kShown) v.push_back(int(i));
      return v;
    };
    auto check = [&](const char* step) {
      SCOPED_TRACE(step);
      QStringList want;
      for (int i : visible()) want << QString::number(ref[std::size_t(i)].Id);
      ASSERT_EQ(Shown(), want);
      ASSERT_EQ(g->RowCount() + g->NumHiddenRows() - 1, int(ref.size()));
      ASSERT_EQ(g->Hiding().FilterLevel(), levels);
      ASSERT_EQ(testing::CheckGrid(g->CellStore()), "");
      for (int r = 1; r < g->RowCount(); ++r) {
        const int id = g->Cells(0, r).toInt();
        ASSERT_EQ(g->Colors(3, r), id % 3 == 0 ? plat::TColor(0x102030 + id) : plat::clNone) << "row " << id;
        ASSERT_EQ(g->RowHeights(r), height(id)) << "row " << id;
      }
      // Every record: the real row it stands for, its cells and what hid it.
      plat::TCollection& records = g->Hiding().GridItems();
      ASSERT_EQ(records.Count(), int(ref.size() - visible().size()));
      std::vector<const TCellProperties*> held;
      for (int i = 0; i < records.Count(); ++i) {
        const auto* rec = static_cast<const TGridItem*>(records.Items(i));
        ASSERT_GE(rec->Idx(), 1);
        ASSERT_LE(rec->Idx(), int(ref.size()));
        const TRefRow& row = ref[std::size_t(rec->Idx() - 1)];
        ASSERT_EQ(rec->FromRowList ? rec->Level : kByHand, row.Level) << "row " << row.Id;
        ASSERT_EQ(rec->Height(), height(row.Id)) << "row " << row.Id;
        for (int k = 0; k < rec->Items()->Count(); ++k)
          held.push_back(dynamic_cast<const TCellProperties*>(rec->Items()->Objects(k)));
      }
      ASSERT_EQ(testing::CheckCellObjects(g->CellStore(), held), "");
      for (std::size_t i = 0; i < ref.size(); ++i) {
        const int real = int(i) + 1;
        ASSERT_EQ(g->IsHiddenRow(real), ref[i].Level != kShown) << "real row " << real;
        ASSERT_EQ(g->AllGridCells(0, real), QString::number(ref[i].Id)) << "real row " << real;
        ASSERT_EQ(g->AllGridCells(1, real), ref[i].Letter) << "real row " << real;
        ASSERT_EQ(g->AllGridCells(2, real), QString::number(ref[i].Number)) << "real row " << real;
      }
    };
    auto bringBack = [&](int Level) {
      for (TRefRow& r : ref)
        if (r.Level == Level) r.Level = kShown;
    };
    for (int step = 0; step < 150; ++step) {
      switch (rng() % 8) {
        case 0: case 1: {  // a filter on top of the shown rows
          const Cond& c = conds[rng() % std::size(conds)];
          g->Filter()->Clear();
          g->Filter()->Add()->Column = c.Col;
          g->Filter()->Items(0)->Condition = c.Text;
          g->ApplyFilter();
          for (TRefRow& r : ref)
            if (r.Level == kShown && !c.Holds(r)) r.Level = levels;
          ++levels;
          check("filter");
          break;
        }
        case 2: {  // the newest level back
          const bool more = g->RemoveLastFilter();
          if (levels > 0) bringBack(--levels);
          EXPECT_EQ(more, levels >= 2);
          check("unfilter");
          break;
        }
        case 3: {  // insert before a shown row (or after the last one)
          const std::vector<int> v = visible();
          const int at = int(rng() % unsigned(v.size() + 1));
          g->InsertRows(at + 1, 1);
          const TRefRow r = newRow();
          put(at + 1, r);
          // The new row takes the real place of the shown row it goes before, behind the rows hidden in front
          // of that one; at the end it follows the last shown row.
          const std::size_t pos = at < int(v.size()) ? std::size_t(v[std::size_t(at)])
                                  : v.empty()        ? 0
                                                     : std::size_t(v.back() + 1);
          ref.insert(ref.begin() + std::ptrdiff_t(pos), r);
          check("insert");
          break;
        }
        case 4: {  // delete a shown row
          const std::vector<int> v = visible();
          if (v.empty()) break;
          const int at = int(rng() % unsigned(v.size()));
          g->RemoveRows(at + 1, 1);
          ref.erase(ref.begin() + v[std::size_t(at)]);
          check("delete");
          break;
        }
        case 5: {  // hide a row by hand (a hidden one stays as it is)
          if (ref.empty()) break;
          const std::size_t i = rng() % ref.size();
          g->HideRow(int(i) + 1);
          if (ref[i].Level == kShown) ref[i].Level = kByHand;
          check("hide by hand");
          break;
        }
        case 6: {  // show a row by hand, whatever hid it
          if (ref.empty()) break;
          const std::size_t i = rng() % ref.size();
          g->UnHideRow(int(i) + 1);
          ref[i].Level = kShown;
          check("show by hand");
          break;
        }
        case 7:  // every level back; rows hidden by hand stay hidden
          g->RemoveAllFilters();
          for (TRefRow& r : ref)
            if (r.Level >= 0) r.Level = kShown;
          levels = 0;
          check("all back");
          break;
      }
      if (::testing::Test::HasFatalFailure()) return;
    }
    g->RemoveAllFilters();
    g->UnHideRowsAll();
    for (TRefRow& r : ref) r.Level = kShown;
    levels = 0;
    check("end");
  }
}


// ---- the filter drop-down -----------------------------------------------------------------------------------------

struct FilterDropDownTest : FilterGridTest {
  FilterDropDownTest() {
    form->Show();
    g->FilterDropDownAuto = true;
    g->FilterDropDown()->AutoSize = true;
  }
  QWidget* W() { return g->Widget(); }
  // A click on the filter button of a column's header.
  void OpenList(int ACol) {
    const plat::TRect r = g->CellRect(ACol, 0);
    const QPoint p(r.Right - 10, r.Top + 5);
    QTest::mousePress(W(), Qt::LeftButton, {}, p);
    QTest::mouseRelease(W(), Qt::LeftButton, {}, p);
  }
  void Shot(const QString& Name) {
    const QString dir = qEnvironmentVariable("GRID_SHOTS");
    if (!dir.isEmpty()) W()->window()->grab().toImage().save(dir + "/" + Name + ".png");
  }
};

TEST_F(FilterDropDownTest, TheValueListIsSortedWithoutRegardToCaseAndKeepsTheFirstOfEqualTexts) {
  Fill({{"b"}, {"a"}, {"B"}, {""}, {" new york "}});
  ASSERT_TRUE(g->BuildColumnFilterList(1));
  EXPECT_EQ(g->FilterList()->Text(), "(All)\r\n\r\na\r\nb\r\nnew york=\"new york\"\r\n");
  // Rows a filter hides are listed too, unless the list is incremental.
  Add(1, "b");
  g->ApplyFilter();
  ASSERT_TRUE(g->BuildColumnFilterList(1));
  EXPECT_EQ(g->FilterList()->Count(), 5);
  g->FilterIncremental = true;
  ASSERT_TRUE(g->BuildColumnFilterList(1));
  EXPECT_EQ(g->FilterList()->Text(), "(All)\r\nb\r\n");
}

TEST_F(FilterDropDownTest, AChoiceFiltersTheColumnAndAllTakesItsConditionAway) {
  Fill({{"x", "1"}, {"y", "1"}, {"x", "2"}, {"new york", "1"}});
  Add(2, "1");  // another column's condition stays
  int done = 0;
  g->OnFilterDone = [&](plat::TObject*) { ++done; };
  std::vector<QString> selects;
  g->OnFilterSelect = [&](plat::TObject*, int Col, int Item, QString Name, QString& Cond) {
    selects.push_back(QString("%1 %2 %3 %4").arg(Col).arg(Item).arg(Name, Cond));
  };
  OpenList(1);
  TDropList* list = g->HeaderClicks().FilterList();
  ASSERT_TRUE(list && list->Visible());
  ASSERT_EQ(list->Items()->Text(), "(All)\r\nnew york\r\nx\r\ny\r\n");
  EXPECT_EQ(g->FilterDropDownColumn(), 1);
  Shot("filter_list_open");
  // The release on "x" chooses it.
  const QPoint onX(20, 2 * list->ItemHeight() + list->ItemHeight() / 2);
  QTest::mousePress(list->Widget(), Qt::LeftButton, {}, onX);
  QTest::mouseRelease(list->Widget(), Qt::LeftButton, {}, onX);
  EXPECT_FALSE(list->Visible());
  EXPECT_EQ(Shown(), QStringList{"r1"});  // x and 1
  EXPECT_TRUE(g->FilterActive(1));
  EXPECT_EQ(g->FilterDropDownColumn(), -1);
  EXPECT_EQ(done, 1);
  Shot("filter_list_chosen");
  // A value with a blank filters with its quoted condition.
  g->ApplyColumnFilter(1, 1);
  EXPECT_EQ(g->Filter()->ColumnFilter(1)->Condition, "\"new york\"");
  EXPECT_EQ(Shown(), QStringList{"r4"});
  // "(All)": the column's condition goes, the other column's still filters.
  g->ApplyColumnFilter(1, 0);
  EXPECT_FALSE(g->Filter()->HasFilter(1));
  EXPECT_EQ(Shown(), (QStringList{"r1", "r2", "r4"}));
  EXPECT_EQ(selects, (std::vector<QString>{"1 2 x x", "1 1 new york \"new york\"", "1 0 (All) "}));
  // An entry past the list, or a column the grid does not have, changes nothing.
  g->ApplyColumnFilter(1, 9);
  g->ApplyColumnFilter(11, 0);
  EXPECT_EQ(g->Filter()->Count(), 1);
  EXPECT_EQ(done, 3);
}

TEST_F(FilterDropDownTest, EachCheckOfTheCheckListFiltersWithTheCheckedValues) {
  g->FilterDropDownCheck = true;
  Fill({{"new york"}, {"paris"}, {"oslo"}, {"paris"}});
  g->Filter()->GetColFilter(1)->Condition = "\"new york\"";
  OpenList(1);
  TDropCheckList* list = g->HeaderClicks().FilterCheckList();
  ASSERT_TRUE(list && list->Visible());
  ASSERT_EQ(list->Items()->Text(), "(All)\r\nnew york\r\noslo\r\nparis\r\n");
  EXPECT_TRUE(list->Checked(1));  // its condition is set
  std::vector<QString> checks;
  g->OnFilterCheck = [&](plat::TObject*, int Col, int Item, QString Name, QString& Cond, TDropCheckList* L) {
    EXPECT_EQ(L, list);
    checks.push_back(QString("%1 %2 %3 %4").arg(Col).arg(Item).arg(Name, Cond));
  };
  // A click on the box of "paris" checks it: new york or paris.
  const QPoint box(8, 3 * list->ItemHeight() + list->ItemHeight() / 2);
  QTest::mouseClick(list->Widget(), Qt::LeftButton, {}, box);
  EXPECT_TRUE(list->Checked(3));
  EXPECT_TRUE(list->Visible());
  EXPECT_EQ(Shown(), (QStringList{"r1", "r2", "r4"}));
  ASSERT_EQ(g->Filter()->Count(), 2);
  EXPECT_EQ(g->Filter()->Items(0)->Operation, foNONE);
  EXPECT_EQ(g->Filter()->Items(1)->Operation, foOR);
  EXPECT_EQ(checks, (std::vector<QString>{"1 1 new york \"new york\"", "1 3 paris paris"}));
  EXPECT_EQ(g->FilterDropDownColumn(), 1);
  Shot("filter_checklist_two");
  // Checking "(All)" adds an empty condition, which lets every row pass.
  QTest::mouseClick(list->Widget(), Qt::LeftButton, {}, QPoint(8, list->ItemHeight() / 2));
  EXPECT_EQ(Shown(), (QStringList{"r1", "r2", "r3", "r4"}));
}

}  // namespace
}  // namespace grid
