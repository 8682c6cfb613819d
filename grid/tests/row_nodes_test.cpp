// Row nodes, expandable cells and grouping, checked with the store's invariant checker after every change:
// contracting and expanding nodes (nested ones too), grouping and ungrouping by a column with and without
// summary rows, the group calculations, and random group / contract / ungroup sequences that must give back
// the grid they started from.
#include "grid/row_nodes.h"

#include <gtest/gtest.h>

#include <random>

#include "grid/column_grid.h"
#include "grid/model/tests/gridcheck.h"
#include "grid/extobj.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& S, std::ostream* Os) { *Os << '"' << S.toStdString() << '"'; }
QT_END_NAMESPACE

namespace grid {
namespace {

struct NodesTest : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TExtColumnGrid* g = new TExtColumnGrid(form.get());
  NodesTest() {
    form->SetBounds(0, 0, 500, 400);
    g->SetParent(form.get());
    g->SetBounds(0, 0, 480, 380);
    g->SetColCount(4);
    g->SetRowCount(10);
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    for (int r = 1; r < 10; ++r) g->SetCells(1, r, QString("r%1").arg(r));
  }
  // Column 1 of the shown rows from row 1.
  QString Shown(int col = 1) const {
    QStringList l;
    for (int r = 1; r < g->RowCount(); ++r) l << g->Cells(col, r);
    return l.join(' ');
  }
  std::string Check() const {
    if (std::string e = testing::CheckGrid(g->CellStore()); !e.empty()) return e;
    std::vector<const TCellProperties*> held;
    plat::TCollection& items = g->Hiding().GridItems();
    for (int i = 0; i < items.Count(); ++i) {
      const auto* item = static_cast<const TGridItem*>(items.Items(i));
      if (!item->Items()) continue;
      for (int k = 0; k < item->Items()->Count(); ++k)
        held.push_back(dynamic_cast<const TCellProperties*>(item->Items()->Objects(k)));
    }
    return testing::CheckCellObjects(g->CellStore(), held);
  }
  void Fill(int col, const QStringList& values) {
    g->SetRowCount(1 + int(values.size()));
    for (int i = 0; i < values.size(); ++i) g->SetCells(col, i + 1, values[i]);
  }
};

TEST_F(NodesTest, ContractingHidesTheSpanAndExpandingBringsItBackInPlace) {
  g->AddNode(1, 3);
  EXPECT_TRUE(g->IsNode(1));
  EXPECT_EQ(g->GetNodeLevel(1), 1);
  EXPECT_EQ(g->GetNodeLevel(2), -1);
  EXPECT_EQ(g->NumNodes(), 1);
  g->ContractNode(1);
  EXPECT_TRUE(g->NodeState(1));
  EXPECT_EQ(Shown(), "r1 r4 r5 r6 r7 r8 r9");
  EXPECT_EQ(Check(), "");
  g->ExpandNode(1);
  EXPECT_FALSE(g->NodeState(1));
  EXPECT_EQ(Shown(), "r1 r2 r3 r4 r5 r6 r7 r8 r9");
  g->SetNodeState(1, true);
  EXPECT_EQ(g->RowCount(), 8);
  g->SetNodeState(1, false);
  EXPECT_EQ(g->RowCount(), 10);
  EXPECT_EQ(g->GetNodeSpanType(3), 1);  // the last row of the node: the tree line ends
  EXPECT_EQ(g->GetNodeSpanType(2), 2);
  EXPECT_EQ(g->GetNodeSpanType(1), 0);
  EXPECT_EQ(g->GetParentRow(3), 1);
  EXPECT_EQ(g->GetParentRow(5), -1);
  g->RemoveNode(1);
  EXPECT_FALSE(g->IsNode(1));
  EXPECT_EQ(g->NumNodes(), 0);
  EXPECT_EQ(Check(), "");
}

TEST_F(NodesTest, ASpanOfZeroReachesTheNextNode) {
  g->AddNode(1, 0);
  g->AddNode(5, 2);
  g->ContractNode(1);
  EXPECT_EQ(Shown(), "r1 r5 r6 r7 r8 r9");
  g->ExpandNode(1);
  EXPECT_EQ(Shown(), "r1 r2 r3 r4 r5 r6 r7 r8 r9");
}

TEST_F(NodesTest, ANestedContractedNodeComesBackExpandedWithItsParent) {
  g->AddNode(1, 6);  // r1 .. r6
  g->AddNode(3, 3);  // r3 .. r5, level 2
  EXPECT_EQ(g->GetNodeLevel(3), 2);
  EXPECT_EQ(g->GetParentRow(4), 3);
  EXPECT_EQ(g->GetParentRow(3), 1);
  g->ContractNode(3);
  EXPECT_EQ(Shown(), "r1 r2 r3 r6 r7 r8 r9");
  EXPECT_EQ(g->GetParentRow(4), 1);  // r6, shown at 4 now, belongs to the outer node
  g->ContractNode(1);
  EXPECT_EQ(Shown(), "r1 r7 r8 r9");
  EXPECT_EQ(Check(), "");
  g->ExpandNode(1);
  EXPECT_EQ(Shown(), "r1 r2 r3 r4 r5 r6 r7 r8 r9");
  EXPECT_FALSE(g->NodeState(3));
  EXPECT_EQ(Check(), "");
}

TEST_F(NodesTest, ExpandOneKeepsASingleNodeOpen) {
  g->AddNode(1, 3);
  g->AddNode(4, 3);
  g->AddNode(7, 3);
  g->ContractAll();
  EXPECT_EQ(Shown(), "r1 r4 r7");
  g->CellNode()->ExpandOne = true;
  g->ExpandNode(4);
  EXPECT_EQ(Shown(), "r1 r4 r5 r6 r7");
  g->ExpandNode(1);
  EXPECT_EQ(Shown(), "r1 r2 r3 r4 r7");
  g->CellNode()->ExpandOne = false;
  g->ExpandAll();
  EXPECT_EQ(Shown(), "r1 r2 r3 r4 r5 r6 r7 r8 r9");
  EXPECT_EQ(Check(), "");
}

TEST_F(NodesTest, AChildRowInsertedAtANodeTakesTheNodesTexts) {
  g->AddNode(2, 3);
  g->SetCells(2, 2, "x");
  g->InsertChildRow(2, 0);
  EXPECT_EQ(g->Cells(1, 2), "");
  EXPECT_EQ(g->Cells(2, 2), "");
  EXPECT_EQ(g->Cells(1, 3), "r2");
  EXPECT_EQ(g->Cells(2, 3), "x");
  EXPECT_TRUE(g->IsNode(2));
  EXPECT_EQ(g->GetNodeSpan(2), 4);
  EXPECT_EQ(g->GetNodeLevel(2), 1);
  EXPECT_EQ(g->GetParentRow(3), 2);
  g->RemoveChildRow(3);
  EXPECT_EQ(g->GetNodeSpan(2), 3);
  EXPECT_EQ(Shown(), "r1  r3 r4 r5 r6 r7 r8 r9");  // the node row stays, emptied
  EXPECT_EQ(Check(), "");
}

// The node row's cell objects go down with its texts (the node stays); a merged header row gives each
// column its own stored text, not the merged one everywhere.
TEST_F(NodesTest, AChildRowInsertedAtANodeTakesItsCellObjectsToo) {
  g->AddNode(2, 3);
  g->AddCheckBox(2, 2, true, false);
  TCellGraphic* box = g->GetCellGraphic(2, 2);
  ASSERT_NE(box, nullptr);
  g->SetCells(3, 2, "three");
  g->MergeCells(1, 2, 3, 1);
  g->InsertChildRow(2, 0);
  EXPECT_EQ(g->GetCellGraphic(2, 3), box);
  EXPECT_EQ(g->GetCellGraphic(2, 2), nullptr);
  EXPECT_TRUE(g->IsNode(2));
  EXPECT_TRUE(g->IsChecked(2, 3));
  EXPECT_EQ(g->Cells(1, 3), "r2");
  EXPECT_EQ(g->Cells(3, 3), "three");
  EXPECT_EQ(g->Cells(2, 3), "");
  EXPECT_EQ(g->Cells(1, 2), "");
  EXPECT_EQ(Check(), "");
}

// Removing a child row moves the controls placed on the rows below it up with their rows.
TEST_F(NodesTest, RemovingAChildRowMovesTheControlsBelowUp) {
  g->AddNode(1, 4);
  auto* edit = new plat::TEdit(form.get());
  g->SetCellControls(2, 4, edit);
  g->RemoveChildRow(2);
  EXPECT_EQ(g->ControlList()->GetControl(0)->Y, 3);
  EXPECT_EQ(g->GetNodeSpan(1), 3);
  EXPECT_EQ(g->CellControls(2, 3), edit);
  g->ContractAll();  // the control's row is hidden: so is the control
  EXPECT_FALSE(edit->Visible());
  g->ExpandAll();
  EXPECT_EQ(Check(), "");
}

TEST_F(NodesTest, ExpandCellsRememberTwoHeights) {
  g->SetRowHeights(2, 20);
  g->AddExpand(2, 2, 60);
  EXPECT_TRUE(g->HasExpand(2, 2));
  EXPECT_FALSE(g->GetExpandState(2, 2));
  EXPECT_EQ(g->GetExpandHeight(2, 2, true), 60);
  EXPECT_EQ(g->GetExpandHeight(2, 2, false), 20);
  EXPECT_TRUE(g->ToggleExpand(2, 2));
  EXPECT_TRUE(g->GetExpandState(2, 2));
  EXPECT_FALSE(g->ToggleExpand(3, 3));
  g->RemoveExpand(2, 2);
  EXPECT_EQ(g->GetExpandHeight(2, 2, true), g->DefaultRowHeight());
}

TEST_F(NodesTest, GroupingMakesAHeaderNodePerRunAndRemovesTheColumn) {
  Fill(2, {"a", "a", "b"});
  g->SetCells(2, 0, "Kind");
  g->SetColWidths(2, 77);
  g->Group(2);
  EXPECT_EQ(g->GroupColumn(), 2);
  EXPECT_EQ(g->ColCount(), 3);
  EXPECT_EQ(g->RowCount(), 6);
  EXPECT_EQ(Shown(), "a r1 r2 b r3");
  EXPECT_TRUE(g->IsNode(1));
  EXPECT_EQ(g->GetNodeSpan(1), 3);
  EXPECT_TRUE(g->IsNode(4));
  EXPECT_EQ(g->GetNodeSpan(4), 2);
  EXPECT_EQ(Check(), "");
  g->UnGroup();
  EXPECT_EQ(g->GroupColumn(), -1);
  EXPECT_EQ(g->ColCount(), 4);
  EXPECT_EQ(g->RowCount(), 4);
  EXPECT_EQ(Shown(), "r1 r2 r3");
  EXPECT_EQ(Shown(2), "a a b");
  EXPECT_EQ(g->Cells(2, 0), "Kind");
  EXPECT_EQ(g->ColWidths(2), 77);
  EXPECT_EQ(g->NumNodes(), 0);
  EXPECT_EQ(Check(), "");
}

TEST_F(NodesTest, SummaryRowsFollowEachGroupAndTakeTheCalculations) {
  Fill(2, {"a", "a", "b"});
  g->SetCells(3, 1, "1.5");
  g->SetCells(3, 2, "2");
  g->SetCells(3, 3, "7");
  g->Grouping()->Summary = true;
  g->Grouping()->SummaryColor = plat::clYellow;
  g->Group(2);
  // header a, r1, r2, summary, header b, r3, summary (column 3 is now column 2)
  EXPECT_EQ(g->RowCount(), 8);
  EXPECT_TRUE(g->IsSummary(4));
  EXPECT_TRUE(g->IsSummary(7));
  EXPECT_EQ(g->GetNodeSpan(1), 3);
  EXPECT_EQ(g->GetNodeSpan(5), 2);
  g->GroupSum(2);
  EXPECT_DOUBLE_EQ(g->Floats(2, 4), 3.5);
  EXPECT_DOUBLE_EQ(g->Floats(2, 7), 7);
  g->GroupCount(1);
  EXPECT_EQ(g->Cells(1, 4), "2");
  EXPECT_EQ(g->Cells(1, 7), "1");
  EXPECT_EQ(Check(), "");
  g->UnGroup();
  EXPECT_EQ(g->RowCount(), 4);
  EXPECT_EQ(Shown(), "r1 r2 r3");
  EXPECT_EQ(Shown(3), "1.5 2 7");
  EXPECT_EQ(g->Colors(1, 3), plat::clNone);
  EXPECT_EQ(Check(), "");
}

TEST_F(NodesTest, GroupCountWithoutSummaryGoesIntoTheHeaders) {
  Fill(2, {"x", "y", "y", "y"});
  g->Group(2);
  g->GroupCount(2);
  EXPECT_EQ(g->Cells(2, 1), "1");
  EXPECT_EQ(g->Cells(2, 3), "3");
  g->ContractNode(3);
  g->SetCells(2, 3, "");
  g->GroupCount(2);  // contracted nodes are left alone
  EXPECT_EQ(g->Cells(2, 3), "");
}

// A calculation never overwrites the group's value in its header (ungrouping takes it from there), merged
// or not; with Summary switched on after grouping a group without a summary row keeps the result itself
// instead of writing it into the next group's header.
TEST_F(NodesTest, GroupCalculationsLeaveTheGroupValuesAlone) {
  for (bool merged : {false, true}) {
    Fill(2, {"a", "a", "b"});
    for (int r = 1; r <= 3; ++r) g->SetCells(1, r, QString::number(r)), g->SetCells(3, r, QString::number(10 * r));
    g->Grouping()->MergeHeader = merged;
    g->Grouping()->Summary = false;
    g->Group(2);  // the values sit in column 1 of the headers (rows 1 and 4)
    g->GroupSum(1);
    EXPECT_EQ(g->Cells(1, 1), "a") << merged;
    EXPECT_EQ(g->Cells(1, 4), "b") << merged;
    g->Grouping()->Summary = true;
    g->GroupCount(2);
    EXPECT_EQ(g->Cells(1, 4), "b") << merged;
    if (!merged) { EXPECT_EQ(g->Cells(2, 1), "2"); }
    g->UnGroup();
    EXPECT_EQ(Shown(2), "a a b") << merged;
    EXPECT_EQ(Shown(1), "1 2 3") << merged;
    EXPECT_EQ(Check(), "");
  }
}

TEST_F(NodesTest, AFixedColumnIsNotGrouped) {
  g->Group(0);
  EXPECT_EQ(g->GroupColumn(), -1);
  g->SetGroupColumn(0);
  EXPECT_EQ(g->GroupColumn(), -1);
  Fill(2, {"p", "q"});
  g->SetGroupColumn(2);
  EXPECT_EQ(g->GroupColumn(), 2);
  g->SetGroupColumn(-1);
  EXPECT_EQ(g->GroupColumn(), -1);
}

TEST_F(NodesTest, AGroupedColumnKeepsItsColumnSettings) {
  Fill(2, {"a", "b"});
  g->Columns()->Items(2)->SetColor(plat::clAqua);
  g->Columns()->Items(2)->ReadOnly = true;
  g->Columns()->Items(2)->Name = "kind";
  g->Group(2);
  EXPECT_EQ(g->Columns()->Count(), 3);
  EXPECT_EQ(g->ColumnByName("kind"), nullptr);
  g->UnGroup();
  ASSERT_EQ(g->Columns()->Count(), 4);
  EXPECT_EQ(g->Columns()->Items(2)->Color(), plat::clAqua);
  EXPECT_TRUE(g->Columns()->Items(2)->ReadOnly);
  EXPECT_EQ(g->ColumnByName("kind"), g->Columns()->Items(2));
}

// Sub-grouping inside the groups: a header node per run of the second column, its value moved into the
// header; sub-ungrouping and ungrouping give the grid back.
TEST_F(NodesTest, SubGroupingNestsHeadersInsideEachGroup) {
  g->SetColCount(5);
  Fill(2, {"a", "a", "b"});
  const QStringList sub{"x", "y", "y"};
  for (int r = 1; r <= 3; ++r) g->SetCells(1, r, QString("r%1").arg(r)), g->SetCells(3, r, sub[r - 1]);
  g->Group(2);  // columns 3 and 4 move to 2 and 3
  g->SubGroup(2);
  EXPECT_EQ(Shown(1), "a  r1  r2 b  r3");
  EXPECT_EQ(Shown(2), "       ");
  EXPECT_EQ(Shown(3), " x  y   y ");
  const int spans[] = {5, 2, -1, 2, -1, 3, 2, -1};
  for (int r = 1; r <= 8; ++r) EXPECT_EQ(g->GetNodeSpan(r), spans[r - 1]) << r;
  EXPECT_EQ(g->GetNodeLevel(1), 1);
  EXPECT_EQ(g->GetNodeLevel(4), 2);
  EXPECT_EQ(g->GetParentRow(5), 4);
  EXPECT_EQ(g->GetParentRow(4), 1);
  EXPECT_EQ(Check(), "");
  g->ContractNode(1);
  EXPECT_EQ(Shown(1), "a b  r3");
  g->ExpandNode(1);
  EXPECT_EQ(Check(), "");

  g->SubUnGroup(2);
  EXPECT_EQ(Shown(1), "a r1 r2 b r3");
  EXPECT_EQ(Shown(2), " x y  y");
  EXPECT_EQ(g->GetNodeSpan(1), 3);
  EXPECT_EQ(Check(), "");

  g->SubGroup(2);
  g->UnGroup();  // takes the sub-groups away first
  EXPECT_EQ(Shown(1), "r1 r2 r3");
  EXPECT_EQ(Shown(2), "a a b");
  EXPECT_EQ(Shown(3), "x y y");
  EXPECT_EQ(g->NumNodes(), 0);
  EXPECT_EQ(Check(), "");
}

// Sub-grouping keeps what the grid remembers of its grouped column, so ungrouping gives that column back
// with its caption and width; the last column can be sub-grouped, its values kept in the headers; the
// values never go into summary rows.
TEST_F(NodesTest, SubGroupingKeepsTheGroupedColumnAndTheValues) {
  g->SetColCount(5);
  Fill(2, {"a", "a", "b"});
  const QStringList sub{"x", "y", "y"};
  for (int r = 1; r <= 3; ++r) g->SetCells(4, r, sub[r - 1]), g->SetCells(3, r, QString::number(r));
  g->SetCells(2, 0, "Kind");
  g->SetCells(3, 0, "Count");
  g->SetColWidths(2, 77);
  g->SetColWidths(3, 55);
  g->Grouping()->Summary = true;
  g->Group(2);
  g->GroupSum(2);  // column 3 moved to 2: the summary rows hold the sums
  const QString sums = Shown(2);
  g->SubGroup(3);  // the last column: its values stay in it, in the header rows
  EXPECT_EQ(g->GroupColumn(), 2);
  EXPECT_EQ(Shown(3), " x  y    y  ");
  EXPECT_EQ(Check(), "");
  g->SubUnGroup(3);
  EXPECT_EQ(Shown(2), sums);
  EXPECT_EQ(Shown(3), " x y   y ");  // the summary rows (4th, last) get no value
  g->SubGroup(3);
  g->UnGroup();
  EXPECT_EQ(g->Cells(2, 0), "Kind");
  EXPECT_EQ(g->ColWidths(2), 77);
  EXPECT_EQ(g->Cells(3, 0), "Count");
  EXPECT_EQ(g->ColWidths(3), 55);
  EXPECT_EQ(Shown(2), "a a b");
  EXPECT_EQ(Shown(4), "x y y");
  EXPECT_EQ(Check(), "");
}

// With Summary switched on after grouping, the last sub-group gets a summary row; when a group's summary
// row already ends the grid, no other comes.
TEST_F(NodesTest, TheLastSubGroupGetsASummaryUnlessTheGridEndsWithOne) {
  g->SetColCount(5);
  Fill(2, {"a", "b", "b"});
  for (int r = 1; r <= 3; ++r) g->SetCells(3, r, r == 3 ? "y" : "x");
  g->Group(2);
  g->Grouping()->Summary = true;
  g->Grouping()->MergeSummary = true;
  g->Grouping()->SummaryColor = plat::clYellow;
  const int before = g->RowCount();
  g->SubGroup(2);
  const int last = g->RowCount() - 1;
  EXPECT_TRUE(g->IsSummary(last));
  EXPECT_FALSE(g->IsSummary(last - 1));
  EXPECT_EQ(g->RowCount(), before + 4);  // three sub-headers and the summary
  EXPECT_TRUE(g->IsMergedCell(1, last));
  EXPECT_EQ(g->Colors(1, last), plat::ColorToRGB(plat::clYellow));
  EXPECT_EQ(Check(), "");
  g->UnGroup();
  EXPECT_EQ(Shown(2), "a b b");
  EXPECT_EQ(Shown(3), "x x y");
  EXPECT_EQ(Check(), "");

  g->Group(2);  // with Summary on from the start the grid ends with the group's summary row
  const int grouped = g->RowCount();
  g->SubGroup(2);
  EXPECT_EQ(g->RowCount(), grouped + 3);
  EXPECT_EQ(Check(), "");
}

TEST_F(NodesTest, GroupingAsksTheDataServicesToSortFirstAndGroupSumsSetTheFooter) {
  struct TSortingGrid : TExtColumnGrid {
    using TExtColumnGrid::TExtColumnGrid;
    int sorted = -1;
    void QSort() override { sorted = SortSettings()->Column(); }
  };
  auto* s = new TSortingGrid(form.get());
  s->SetColCount(4);
  s->SetRowCount(4);
  s->SetFixedRows(1);
  // Grouping sorts on the column first unless told not to.
  s->Group(2);
  EXPECT_EQ(s->sorted, 2);
  s->UnGroup();
  s->sorted = -1;
  s->SortSettings()->AutoSortForGrouping = false;
  s->Group(2);
  EXPECT_EQ(s->sorted, -1);

  Fill(2, {"a", "b"});
  g->SetCells(3, 1, "4");
  g->FloatingFooter()->SetVisible(true);
  g->Group(2);
  g->GroupSum(2);
  EXPECT_EQ(g->FloatingFooter()->GetColumnCalc(2), acSUM);
  g->GroupStdDev(2);  // no footer change
  EXPECT_EQ(g->FloatingFooter()->GetColumnCalc(2), acSUM);
  g->GroupCount(2);
  EXPECT_EQ(g->FloatingFooter()->GetColumnCalc(2), acCOUNT);
}

// A check-box column over node rows: nodes get tri-state boxes, summary rows none; a node's box sets its
// rows (shown or hidden in the contracted node), and a row's box makes its node checked, unchecked or grayed.
TEST_F(NodesTest, AutoCheckGroupTiesNodeBoxesToTheirRows) {
  g->AddNode(1, 4);  // rows 2..4
  g->AddSummary(5);
  g->Grouping()->AutoCheckGroup = true;
  g->AddCheckBoxColumn(2, false, false);
  EXPECT_EQ(g->GetCellType(2, 1), ctTriStateCheckBox);
  EXPECT_EQ(g->GetCellType(2, 3), ctCheckBox);
  EXPECT_FALSE(g->HasCheckBox(2, 5));

  struct Step {
    int Row;
    TCheckBoxState Node;
    const char* Rows;
  };
  const Step steps[] = {
      {1, cbChecked, "YYY"},    // the node checks its rows
      {3, cbGrayed, "YNY"},     // one row differs
      {1, cbChecked, "YYY"},    // grayed node: checked again
      {1, cbUnchecked, "NNN"},  // checked node: all off
      {2, cbGrayed, "YNN"},
      {3, cbGrayed, "YYN"},
      {4, cbChecked, "YYY"},    // all rows equal again
  };
  for (const Step& s : steps) {
    ASSERT_TRUE(g->ToggleCheckBox(2, s.Row)) << s.Row;
    TCheckBoxState node = cbUnchecked;
    g->CellChecks().GetCheckBoxState(2, 1, node);
    EXPECT_EQ(node, s.Node) << "after row " << s.Row;
    QString rows;
    for (int r = 2; r <= 4; ++r) rows += g->IsChecked(2, r) ? 'Y' : 'N';
    EXPECT_EQ(rows, s.Rows) << "after row " << s.Row;
  }

  // A contracted node reaches its rows in the hidden-row store (real rows).
  g->ContractNode(1);
  ASSERT_TRUE(g->ToggleCheckBox(2, 1));
  for (int r = 2; r <= 4; ++r) EXPECT_FALSE(g->IsChecked(2, r)) << r;
  g->ExpandNode(1);
  for (int r = 2; r <= 4; ++r) EXPECT_FALSE(g->IsChecked(2, r)) << r;
  EXPECT_EQ(Check(), "");
}

TEST_F(NodesTest, WithoutAutoCheckGroupANodeBoxCyclesAlone) {
  g->AddNode(1, 3);
  g->AddCheckBoxColumn(2, true, false);
  const TCheckBoxState cycle[] = {cbGrayed, cbChecked, cbUnchecked};
  for (TCheckBoxState want : cycle) {
    g->ToggleCheckBox(2, 1);
    TCheckBoxState node = cbUnchecked;
    g->CellChecks().GetCheckBoxState(2, 1, node);
    EXPECT_EQ(node, want);
  }
  EXPECT_TRUE(g->IsChecked(2, 2));
  EXPECT_TRUE(g->IsChecked(2, 3));
}

// A node whose span runs past the grid's last row (stale span) checks the rows there are and stops.
TEST_F(NodesTest, AutoCheckGroupStopsAtTheLastRow) {
  g->Grouping()->AutoCheckGroup = true;
  g->AddNode(7, 3);
  g->AddCheckBoxColumn(2, false, true);
  g->SetNodeSpan(7, 9);
  ASSERT_TRUE(g->ToggleCheckBox(2, 7));
  EXPECT_EQ(g->Cells(2, 8), "Y");
  EXPECT_EQ(g->Cells(2, 9), "Y");
  g->ContractNode(7);
  ASSERT_TRUE(g->ToggleCheckBox(2, 7));
  g->ExpandNode(7);
  EXPECT_EQ(g->Cells(2, 8), "N");
  EXPECT_EQ(g->Cells(2, 9), "N");
  EXPECT_EQ(Check(), "");
}

// Random contents, grouped with random options, nodes contracted and expanded at random, then ungrouped:
// the store stays consistent throughout and the grid ends as it began.
TEST_F(NodesTest, RandomGroupingRoundTrips) {
  std::mt19937 rng(99);
  for (int round = 0; round < 60; ++round) {
    const int rows = 1 + int(rng() % 12);
    QStringList kinds;
    for (int i = 0; i < rows; ++i) kinds << QString(QChar(u'a' + int(rng() % 3)));
    Fill(2, kinds);
    for (int r = 1; r <= rows; ++r) g->SetCells(1, r, QString("r%1").arg(r)), g->SetCells(3, r, QString::number(r));
    const QString before1 = Shown(1), before2 = Shown(2), before3 = Shown(3);
    // Unsorted grouping, so that ungrouping gives back the rows as they stood.
    g->SortSettings()->AutoSortForGrouping = false;
    g->Grouping()->Summary = rng() % 2;
    g->Grouping()->MergeHeader = rng() % 2;
    g->Grouping()->MergeSummary = rng() % 2;
    g->Grouping()->HeaderColor = rng() % 2 ? plat::clSilver : plat::clNone;
    g->Group(2);
    ASSERT_EQ(Check(), "") << "round " << round << " after grouping";
    if (rng() % 2) g->Grouping()->Summary = rng() % 2;
    if (rng() % 2) {
      g->SubGroup(2);  // column 3 is at 2 now
      ASSERT_EQ(Check(), "") << "round " << round << " after sub-grouping";
    }
    for (int k = 0; k < 6; ++k) {
      const int r = 1 + int(rng() % std::max(1, g->RowCount() - 1));
      if (!g->IsNode(r)) continue;
      g->SetNodeState(r, !g->NodeState(r));
      ASSERT_EQ(Check(), "") << "round " << round << " node " << r;
    }
    if (g->Grouping()->Summary && !g->Grouping()->MergeSummary) g->GroupSum(2);  // summary rows go away again
    g->UnGroup();
    ASSERT_EQ(Check(), "") << "round " << round << " after ungrouping";
    ASSERT_EQ(Shown(1), before1) << round;
    ASSERT_EQ(Shown(2), before2) << round;
    ASSERT_EQ(Shown(3).split(' ').size(), before3.split(' ').size()) << round;
    ASSERT_EQ(g->NumNodes(), 0);
    ASSERT_EQ(g->NumHiddenRows(), 0);
    ASSERT_EQ(g->ColCount(), 4);
  }
}

}  // namespace
}  // namespace grid
