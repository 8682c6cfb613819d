// Check boxes, tri-state boxes, radio buttons and radio groups in cells: states, clicks, notifications and
// the refusals, as tables of cases where the behaviour is a table.

#include <gtest/gtest.h>

#include "grid/model/cell_checks.h"
#include "grid/model/tests/opsgrid.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/strings.h"

namespace grid {
namespace {

using testing::TOpsGrid;

class ChecksGrid : public TOpsGrid {
 public:
  using TOpsGrid::TOpsGrid;
  bool CheckCellEditable(int c, int r) override { return !(c == RefuseCol && r == RefuseRow); }
  void DoCheckBoxChange(int c, int r, bool s) override { Changes.push_back({c, r, s}); }
  void CheckTextChanged(int c, int r, const QString& o, const QString& n) override {
    (void)c, (void)r;
    Undo.push_back(o + ">" + n);
  }
  TVAlignment VAlignment() const override { return VA; }
  struct Change {
    int c, r;
    bool s;
    friend bool operator==(const Change&, const Change&) = default;
  };
  std::vector<Change> Changes;
  std::vector<QString> Undo;
  int RefuseCol = -1, RefuseRow = -1;
  TVAlignment VA = vtaTop;
};

class CellChecks : public ::testing::Test {
 protected:
  ChecksGrid g{4, 8};
  TCellObjects objs{g, g};
  TCellChecks checks{objs};
};

TEST_F(CellChecks, DataCheckBoxTakesItsTextOnlyWhenTheTextIsNoState) {
  struct Case {
    QString before;
    bool state;
    QString after;
    bool checked;
  } cases[] = {
      {"", true, "Y", true},  {"", false, "N", false},   {"maybe", true, "Y", true},
      {"N", true, "N", false}, {"Y", false, "Y", true},  {"y", false, "N", false},
  };
  for (const Case& k : cases) {
    g.SetCells(1, 1, k.before);
    checks.AddCheckBox(1, 1, k.state, true);
    EXPECT_EQ(g.Cells(1, 1), k.after) << k.before.toStdString();
    EXPECT_EQ(checks.IsChecked(1, 1), k.checked) << k.before.toStdString();
    EXPECT_EQ(objs.GetCellType(1, 1), ctDataCheckBox);
  }
}

TEST_F(CellChecks, InvalidCellsAreRefused) {
  const std::pair<int, int> bad[] = {{4, 0}, {0, 8}, {-1, 0}, {0, -1}};
  for (auto [c, r] : bad) {
    EXPECT_THROW(checks.AddCheckBox(c, r, true, false), plat::Exception) << c << "," << r;
    EXPECT_THROW(checks.AddCheckBox(c, r, cbGrayed), plat::Exception);
    EXPECT_THROW(checks.AddRadioButton(c, r, true), plat::Exception);
  }
  try {
    checks.AddCheckBox(9, 0, true, false);
  } catch (const plat::Exception& e) {
    EXPECT_EQ(e.Message(), "Invalid cell");
  }
}

TEST_F(CellChecks, BoxesFollowTheGridsVerticalAlignment) {
  const std::pair<TVAlignment, TCellVAlign> cases[] = {{vtaTop, vaTop}, {vtaCenter, vaCenter}, {vtaBottom, vaBottom}};
  for (auto [grid, cell] : cases) {
    g.VA = grid;
    checks.AddCheckBox(2, 2, false, false);
    EXPECT_EQ(objs.GetCellGraphic(2, 2)->CellVAlign, cell);
    EXPECT_EQ(objs.GetCellGraphic(2, 2)->CellHAlign, haBeforeText);
    EXPECT_TRUE(objs.GetCellGraphic(2, 2)->CellTransparent);  // flat
  }
}

TEST_F(CellChecks, TriStateClicksCycle) {
  checks.AddCheckBox(1, 1, cbUnchecked);
  const TCheckBoxState order[] = {cbGrayed, cbChecked, cbUnchecked, cbGrayed};
  for (TCheckBoxState want : order) {
    ASSERT_TRUE(checks.ToggleCheckBox(1, 1));
    TCheckBoxState s = cbChecked;
    ASSERT_TRUE(checks.GetCheckBoxState(1, 1, s));
    EXPECT_EQ(s, want);
  }
  EXPECT_EQ(g.Changes.back(), (ChecksGrid::Change{1, 1, false}));  // tri-state changes report false
  EXPECT_FALSE(checks.SetCheckBoxState(1, 1, true));                // the Boolean setter ignores tri-state
  EXPECT_TRUE(checks.SetCheckBoxState(1, 1, cbChecked));
  EXPECT_FALSE(checks.IsChecked(1, 1));  // the Boolean reading leaves tri-state boxes to their own overload
}

// Hidden rows elsewhere change nothing for a shown box, and a hidden row's box is read from the hidden-row
// store; a tri-state box's text (here the check-true text) holds no state.
TEST_F(CellChecks, BooleanStatesAreTheSameWithHiddenRows) {
  checks.AddCheckBox(1, 1, cbChecked);
  g.SetCells(1, 1, "Y");
  checks.AddCheckBox(2, 1, true, false);
  checks.AddCheckBox(1, 6, true, true);  // data box, text "Y"
  for (bool hidden : {false, true}) {
    if (hidden) g.HideRealRow(6);
    bool state = false;
    EXPECT_FALSE(checks.GetCheckBoxState(1, 1, state)) << hidden;
    TCheckBoxState tri = cbUnchecked;
    EXPECT_TRUE(checks.GetCheckBoxState(1, 1, tri)) << hidden;
    EXPECT_EQ(tri, cbChecked) << hidden;
    EXPECT_TRUE(checks.IsChecked(2, 1)) << hidden;
    EXPECT_TRUE(checks.IsChecked(1, 6)) << hidden;  // real row 6, shown or hidden
  }
}

TEST_F(CellChecks, StatesByKind) {
  checks.AddCheckBox(0, 1, true, false);      // plain
  checks.AddCheckBox(1, 1, false, true);      // data
  checks.AddCheckBox(2, 1, cbGrayed);         // tri-state
  checks.AddRadioButton(3, 1, true);          // not a check box
  struct Case {
    int col;
    bool has, getOk, before, setOk, after;
  } cases[] = {
      {0, true, true, true, true, false},
      {1, true, true, false, true, false},
      {2, true, false, false, false, false},
      {3, false, false, false, false, false},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(checks.HasCheckBox(k.col, 1), k.has) << k.col;
    bool state = !k.before;
    EXPECT_EQ(checks.GetCheckBoxState(k.col, 1, state), k.getOk) << k.col;
    if (k.getOk) {
      EXPECT_EQ(state, k.before) << k.col;
    }
    EXPECT_EQ(checks.SetCheckBoxState(k.col, 1, false), k.setOk) << k.col;
    EXPECT_EQ(checks.IsChecked(k.col, 1), k.after) << k.col;
  }
  EXPECT_TRUE(g.Changes.empty());  // setting never notifies
  EXPECT_EQ(g.Cells(1, 1), "N");
}

TEST_F(CellChecks, NotifyOnlyOnRealChanges) {
  checks.AddCheckBoxColumn(1, false, false);
  checks.AddCheckBoxColumn(2, false, true);
  g.SetCells(2, 3, "Y");
  checks.CheckAll(1);
  checks.CheckAll(2);
  EXPECT_EQ(g.Changes.size(), 8u + 7u);  // row 3 of the data column was already checked
  g.Changes.clear();
  checks.CheckAll(2);
  EXPECT_TRUE(g.Changes.empty());
  checks.UnCheckAll(1);
  EXPECT_EQ(g.Changes.size(), 8u);
  EXPECT_FALSE(checks.IsChecked(1, 5));
}

TEST_F(CellChecks, TextBoxClicksRecordTheRealTexts) {
  g.SetCells(1, 2, "Y");
  checks.AddCheckBox(1, 2, false, true);
  ASSERT_TRUE(checks.ToggleCellCheck(1, 2, true));
  ASSERT_TRUE(checks.ToggleCellCheck(1, 2, true));
  EXPECT_EQ(g.Undo, (std::vector<QString>{"Y>N", "N>Y"}));
  EXPECT_EQ(g.Changes, (std::vector<ChecksGrid::Change>{{1, 2, false}, {1, 2, true}}));
  checks.AddCheckBox(2, 2, false, false);
  checks.ToggleCheckBox(2, 2);
  EXPECT_EQ(g.Undo.size(), 2u);  // a box whose state is not in the text records nothing
}

TEST_F(CellChecks, RefusedClicksChangeAndNotifyNothing) {
  checks.AddCheckBox(1, 1, false, false);
  checks.AddRadioButton(2, 1, false);
  g.RefuseCol = 1, g.RefuseRow = 1;
  EXPECT_FALSE(checks.ToggleCellCheck(1, 1, true));
  EXPECT_TRUE(checks.ToggleCellCheck(1, 1, false));  // not from the user: no question asked
  g.RefuseCol = 2;
  EXPECT_FALSE(checks.CheckRadioButton(2, 1, true));
  EXPECT_FALSE(checks.IsRadioButtonChecked(2, 1));
  EXPECT_EQ(g.Changes.size(), 1u);
}

TEST_F(CellChecks, RadioButtonsInAColumn) {
  checks.AddRadioButtonColumn(1);
  ASSERT_TRUE(checks.CheckRadioButton(1, 2, false));
  EXPECT_EQ(checks.GetRadioButtonColumnIndex(1), 2);
  ASSERT_TRUE(checks.CheckRadioButton(1, 5, false));
  EXPECT_FALSE(checks.IsRadioButtonChecked(1, 2));  // a click unchecks the others
  EXPECT_TRUE(checks.SetRadioButtonState(1, 2, true));
  EXPECT_TRUE(checks.IsRadioButtonChecked(1, 5));  // setting one touches no other
  const std::pair<int, int> cases[] = {{3, 3}, {0, 0}, {-1, -1}, {99, -1}, {7, 7}};
  for (auto [index, want] : cases) {
    checks.SetRadioButtonColumnIndex(1, index);
    EXPECT_EQ(checks.GetRadioButtonColumnIndex(1), want) << index;
  }
  checks.RemoveRadioButtonColumn(1);
  EXPECT_FALSE(checks.HasRadioButton(1, 4));
  EXPECT_FALSE(checks.SetRadioButtonState(1, 4, true));
}

TEST_F(CellChecks, RadioGroupsStepThroughTheirItems) {
  plat::TStringList items;
  items.Add("a");
  items.Add("b");
  items.Add("c");
  struct Case {
    int index;
    QString text;
    QString next;
    int nextIndex;
  } cases[] = {
      {-1, "b", "c", 2}, {-1, "c", "a", 0}, {-1, "zz", "a", 0}, {0, "", "b", 1}, {2, "c", "a", 0},
  };
  for (const Case& k : cases) {
    checks.AddRadio(1, 1, 0, k.index, &items);
    g.SetCells(1, 1, k.text);
    ASSERT_TRUE(checks.CycleRadioGroup(1, 1, false));
    EXPECT_EQ(g.Cells(1, 1), k.next) << k.index << " " << k.text.toStdString();
    int idx = -5;
    EXPECT_TRUE(checks.GetRadioIdx(1, 1, idx));
    EXPECT_EQ(idx, k.nextIndex);
    EXPECT_EQ(objs.GetCellGraphic(1, 1)->CellVar.toInt(), k.nextIndex);
  }
  EXPECT_EQ(checks.GetRadioStrings(1, 1), &items);
  EXPECT_TRUE(checks.SetRadioIdx(1, 1, -1));
  EXPECT_EQ(g.Cells(1, 1), "");
  plat::TStrings* own = checks.CreateRadio(2, 2, 1, -1);
  ASSERT_NE(own, nullptr);
  EXPECT_FALSE(checks.CycleRadioGroup(2, 2, false));  // no items: unchanged
  own->Add("x");
  EXPECT_TRUE(checks.CycleRadioGroup(2, 2, false));
  EXPECT_EQ(g.Cells(2, 2), "x");
  EXPECT_FALSE(checks.SetRadioIdx(3, 3, 1));
}

TEST_F(CellChecks, HitTestingTheBox) {
  checks.AddCheckBox(1, 1, false, false);
  const plat::TRect cell(100, 50, 200, 70);
  EXPECT_TRUE(checks.IsInCheckBox(1, 1, cell, 190, 68, false, 15, plat::taLeftJustify, 0));
  struct Case {
    plat::TAlignment align;
    int x, y;
    bool in;
  } cases[] = {
      {plat::taLeftJustify, 102, 52, true},   {plat::taLeftJustify, 117, 52, false},
      {plat::taLeftJustify, 116, 66, true},   {plat::taLeftJustify, 116, 67, false},
      {plat::taCenter, 142, 60, true},        {plat::taCenter, 141, 60, false},
      {plat::taRightJustify, 183, 55, true},  {plat::taRightJustify, 198, 55, false},
  };
  for (const Case& k : cases)
    EXPECT_EQ(checks.IsInCheckBox(1, 1, cell, k.x, k.y, true, 15, k.align, 0), k.in) << k.align << " " << k.x;
  g.SetCells(1, 1, "text");
  EXPECT_TRUE(checks.IsInCheckBox(1, 1, cell, 163, 55, true, 15, plat::taRightJustify, 20));  // before the text
  EXPECT_FALSE(checks.IsInCheckBox(2, 2, cell, 102, 52, false, 15, plat::taLeftJustify, 0));
}

TEST_F(CellChecks, RowCheckBoxesFollowTheRowSelection) {
  g.RowChecks = true;
  g.Fixed = 1;
  ASSERT_TRUE(checks.SetCheckStateNotify(0, 3, true));
  EXPECT_TRUE(g.RowSelected(3));
  EXPECT_TRUE(checks.IsChecked(0, 3));
  ASSERT_TRUE(checks.ToggleCheckBox(0, 3));
  EXPECT_FALSE(g.RowSelected(3));
  EXPECT_EQ(g.Changes.size(), 2u);
}

}  // namespace
}  // namespace grid
