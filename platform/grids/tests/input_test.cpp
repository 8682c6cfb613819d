// The grid's input: the select-cell check, the press/move/release state machine (selecting, extending,
// sizing, moving, auto-scroll), keyboard moves at the edges and the wheel.
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include "gridfixture.h"

using namespace gridtest;

namespace {

// 10 columns x 40 rows of 64 x 24 cells (25 x 25 pitch with the lines), one fixed row and column.
struct InputTest : ::testing::Test {
  GridFixture f{400, 200};
  TTestGrid* g = f.grid;
  int clicks = 0;
  void SetUp() override {
    g->SetColCount(10);
    g->SetRowCount(40);
    g->OnClick = [this](TObject*) { ++clicks; };
  }
  // Centre of a cell in view.
  TPoint At(int c, int r) const {
    const TRect rc = g->CellRect(c, r);
    return TPoint((rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2);
  }
  TGridCoord Current() const { return {g->Col(), g->Row()}; }
};

TEST_F(InputTest, SelectCellRefusalKeepsCellAndSelection) {
  g->Refused = {{3, 1}, {1, 3}, {2, 2}};
  g->SetCol(2);
  ASSERT_EQ(Current(), (TGridCoord{2, 1}));
  const TGridRect before = g->Selection();
  // By key, by mouse, by property and by wheel: every road asks first and a refusal changes nothing.
  f.Key(VK_RIGHT);
  EXPECT_EQ(Current(), (TGridCoord{2, 1}));
  f.Key(VK_DOWN);
  EXPECT_EQ(Current(), (TGridCoord{2, 1}));
  const TPoint p = At(1, 3);
  f.Click(p.X, p.Y);
  EXPECT_EQ(Current(), (TGridCoord{2, 1}));
  g->SetRow(2);
  EXPECT_EQ(Current(), (TGridCoord{2, 1}));
  g->Perform(WM_MOUSEWHEEL, MakeWParam(0, -120), 0);
  EXPECT_EQ(Current(), (TGridCoord{2, 1}));
  EXPECT_EQ(g->Selection(), before);
  EXPECT_EQ(g->Asked.back(), (TGridCoord{2, 2}));
  // An allowed cell is taken.
  f.Key(VK_LEFT);
  EXPECT_EQ(Current(), (TGridCoord{1, 1}));
}

TEST_F(InputTest, PressSelectsDragExtendsReleaseClicks) {
  const TPoint a = At(2, 2), b = At(4, 3);
  f.Press(a.X, a.Y);
  EXPECT_EQ(g->GridState(), gsSelecting);
  EXPECT_EQ(Current(), (TGridCoord{2, 2}));
  f.Move(b.X, b.Y);
  EXPECT_EQ(g->Selection(), (TGridRect{2, 2, 4, 3}));
  EXPECT_EQ(Current(), (TGridCoord{2, 2}));
  f.Release(b.X, b.Y);
  EXPECT_EQ(g->GridState(), gsNormal);
  EXPECT_EQ(clicks, 1);
  // Shift extends from the anchor: the current cell stays, the far corner moves.
  const TPoint c = At(1, 4);
  f.Click(c.X, c.Y, TShiftState{ssShift});
  EXPECT_EQ(Current(), (TGridCoord{2, 2}));
  EXPECT_EQ(g->Selection(), (TGridRect{1, 2, 2, 4}));
  // Without range selection a drag moves the current cell instead.
  g->SetOptions(g->Options() - TGridOptions{goRangeSelect});
  f.Press(a.X, a.Y);
  f.Move(b.X, b.Y);
  f.Release(b.X, b.Y);
  EXPECT_EQ(Current(), (TGridCoord{4, 3}));
  EXPECT_EQ(g->Selection(), (TGridRect{4, 3, 4, 3}));
}

TEST_F(InputTest, RowSelectSelectsWholeRows) {
  g->SetOptions(g->Options() + TGridOptions{goRowSelect});
  const TPoint a = At(3, 2), b = At(5, 4);
  f.Press(a.X, a.Y);
  f.Move(b.X, b.Y);
  f.Release(b.X, b.Y);
  EXPECT_EQ(g->Selection(), (TGridRect{1, 2, 9, 4}));
}

TEST_F(InputTest, DraggingBelowTheViewScrollsOnTheTimer) {
  const TPoint a = At(2, 2);
  f.Press(a.X, a.Y);
  f.Move(a.X, g->ClientHeight() + 10);
  const int top = g->TopRow();
  g->Perform(WM_TIMER, GridScrollTimerId, 0);
  g->Perform(WM_TIMER, GridScrollTimerId, 0);
  EXPECT_EQ(g->TopRow(), top + 2);
  EXPECT_EQ(g->Selection().Bottom, g->TopRow() + g->VisibleRowCount() - 1);
  f.Release(a.X, g->ClientHeight() + 10);
  g->Perform(WM_TIMER, GridScrollTimerId, 0);  // a late tick after the release does nothing
  EXPECT_EQ(g->TopRow(), top + 2);
}

// The sizing zone around the right edge of column 1 (x = 129) inside the fixed row: D = (7 - W) div 2
// pixels before it, 7 - D from it on.
TEST_F(InputTest, ColumnSizingZoneFollowsTheLineWidth) {
  g->SetOptions(g->Options() + TGridOptions{goColSizing});
  struct Case {
    int lineWidth, dx;
    bool sizing;
  };
  const Case cases[] = {{1, -4, false}, {1, -3, true}, {1, 0, true}, {1, 3, true}, {1, 4, false},
                        {3, -3, false}, {3, -2, true}, {3, 4, true}, {3, 5, false},
                        {8, -1, false}, {8, 0, true},  {8, 7, true}, {8, 8, false}};
  for (const Case& c : cases) {
    g->SetGridLineWidth(c.lineWidth);
    const int edge = g->CellRect(1, 0).Right;
    f.Press(edge + c.dx, 5);
    const TGridState state = g->GridState();
    f.Release(edge + c.dx, 5);
    EXPECT_EQ(state == gsColSizing, c.sizing) << "width " << c.lineWidth << " dx " << c.dx;
    EXPECT_EQ(g->ColWidths(1), 64) << "a release where the press was keeps the width";
  }
}

TEST_F(InputTest, SizingByMouseSetsTheWidthAndHeight) {
  g->SetOptions(g->Options() + TGridOptions{goColSizing, goRowSizing});
  const int edge = g->CellRect(2, 0).Right;
  f.Press(edge + 1, 10);
  ASSERT_EQ(g->GridState(), gsColSizing);
  f.Move(edge + 31, 10);
  EXPECT_EQ(g->FSizingPos, edge + 30);
  f.Release(edge + 31, 10);
  EXPECT_EQ(g->ColWidths(2), 94);
  EXPECT_EQ(g->GridState(), gsNormal);
  // A drag that would leave one pixel or less keeps the old width.
  f.Press(edge + 30, 10);
  f.Release(g->CellRect(2, 0).Left, 10);
  EXPECT_EQ(g->ColWidths(2), 94);
  // Rows size in the fixed column; outside the fixed parts a border press selects.
  const int bottom = g->CellRect(0, 3).Bottom;
  f.Press(10, bottom);
  ASSERT_EQ(g->GridState(), gsRowSizing);
  f.Release(10, bottom - 10);
  EXPECT_EQ(g->RowHeights(3), 14);
  f.Press(edge, bottom);
  EXPECT_EQ(g->GridState(), gsSelecting);
  f.Release(edge, bottom);
}

TEST_F(InputTest, MovingAColumnByMouseMovesItsCells) {
  g->SetOptions(g->Options() + TGridOptions{goColMoving, goRowMoving});
  for (int c = 0; c < 10; ++c) g->SetCells(c, 1, QString("c%1").arg(c));
  std::vector<std::pair<int, int>> moved;
  g->OnColumnMoved = [&](TObject*, int from, int to) { moved.push_back({from, to}); };
  const TPoint from = At(2, 0), to = At(4, 0);
  f.Press(from.X, from.Y);
  EXPECT_EQ(g->GridState(), gsColMoving);
  f.Move(to.X, to.Y);
  EXPECT_EQ(g->FMovePos, 4);
  f.Release(to.X, to.Y);
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_EQ(moved[0], (std::pair<int, int>{2, 4}));
  const char* expect[] = {"c0", "c1", "c3", "c4", "c2", "c5"};
  for (int c = 0; c < 6; ++c) EXPECT_EQ(g->Cells(c, 1), expect[c]) << c;
  // A row moves from the fixed column; releasing where it started moves nothing.
  const TPoint r = At(0, 3);
  f.Press(r.X, r.Y);
  EXPECT_EQ(g->GridState(), gsRowMoving);
  f.Release(r.X, r.Y);
  EXPECT_EQ(moved.size(), 1u);
}

TEST_F(InputTest, KeysMoveAndStopAtTheEdges) {
  struct Case {
    TGridCoord start;
    std::uint16_t key;
    TShiftState shift;
    TGridCoord end;
  };
  const Case cases[] = {
      {{1, 1}, VK_UP, {}, {1, 1}},          {{1, 1}, VK_LEFT, {}, {1, 1}},
      {{9, 39}, VK_DOWN, {}, {9, 39}},      {{9, 39}, VK_RIGHT, {}, {9, 39}},
      {{3, 3}, VK_DOWN, {}, {3, 4}},        {{3, 3}, VK_RIGHT, {}, {4, 3}},
      {{3, 5}, VK_HOME, {}, {1, 5}},        {{3, 5}, VK_END, {}, {9, 5}},
      {{3, 5}, VK_HOME, {ssCtrl}, {1, 1}},  {{3, 5}, VK_END, {ssCtrl}, {9, 39}},
      {{3, 1}, VK_PRIOR, {}, {3, 1}},       {{3, 38}, VK_NEXT, {}, {3, 39}},
      {{9, 3}, VK_TAB, {}, {1, 4}},         {{1, 3}, VK_TAB, {ssShift}, {9, 2}},
      {{9, 39}, VK_TAB, {}, {1, 1}},        {{1, 1}, VK_TAB, {ssShift}, {9, 39}},
  };
  g->SetOptions(g->Options() + TGridOptions{goTabs});
  for (const Case& c : cases) {
    g->SetCol(c.start.X);
    g->SetRow(c.start.Y);
    f.Key(c.key, c.shift);
    EXPECT_EQ(Current(), c.end) << "key " << c.key << " from " << c.start.X << "," << c.start.Y;
    EXPECT_EQ(g->Selection(), (TGridRect{c.end.X, c.end.Y, c.end.X, c.end.Y}));
  }
}

// Ctrl moves the view: Up and Down scroll a row and leave the current cell even out of view, Left and Right
// jump a page of columns with the cell, PgUp and PgDn stay within the rows in view.
TEST_F(InputTest, CtrlKeysScrollOrJumpByThePage) {
  g->SetColCount(40);
  const int cols = g->VisibleColCount(), rows = g->VisibleRowCount();
  ASSERT_GT(cols, 2);
  ASSERT_GT(rows, 2);
  g->SetLeftCol(1000);
  g->SetTopRow(1000);
  const int maxLeft = g->LeftCol(), maxTop = g->TopRow();
  ASSERT_GT(maxLeft, 1 + cols);
  struct Case {
    TGridCoord cell, view;  // view: left column, top row
    std::uint16_t key;
    bool rowSelect;
    TGridCoord endCell, endView;
  };
  const Case cases[] = {
      {{3, 5}, {1, 1}, VK_DOWN, false, {3, 5}, {1, 2}},
      {{3, 2}, {1, 2}, VK_DOWN, false, {3, 2}, {1, 3}},  // the cell scrolls out of view and stays current
      {{3, 5}, {1, 4}, VK_UP, false, {3, 5}, {1, 3}},
      {{3, 5}, {1, 1}, VK_UP, false, {3, 5}, {1, 1}},
      {{3, 39}, {1, maxTop}, VK_DOWN, false, {3, 39}, {1, maxTop}},
      {{2, 3}, {1, 1}, VK_RIGHT, false, {2 + cols, 3}, {1 + cols, 1}},
      {{2 + cols, 3}, {1 + cols, 1}, VK_LEFT, false, {2, 3}, {1, 1}},
      {{3, 3}, {1, 1}, VK_LEFT, false, {1, 3}, {1, 1}},
      {{38, 3}, {maxLeft, 1}, VK_RIGHT, false, {39, 3}, {maxLeft, 1}},
      {{3, 3}, {1, 1}, VK_RIGHT, true, {3, 3}, {1, 1}},
      {{3, 5}, {1, 1}, VK_NEXT, false, {3, rows}, {1, 1}},
      {{3, 20}, {1, 10}, VK_PRIOR, false, {3, 10}, {1, 10}},
      {{3, 12}, {1, 10}, VK_NEXT, false, {3, 9 + rows}, {1, 10}},
  };
  for (const Case& c : cases) {
    g->SetOptions(c.rowSelect ? g->Options() + TGridOptions{goRowSelect} : g->Options() - TGridOptions{goRowSelect});
    g->SetCol(c.cell.X);
    g->SetRow(c.cell.Y);
    g->SetLeftCol(c.view.X);
    g->SetTopRow(c.view.Y);
    ASSERT_EQ(Current(), c.cell);
    ASSERT_EQ((TGridCoord{g->LeftCol(), g->TopRow()}), c.view);
    f.Key(c.key, TShiftState{ssCtrl});
    const std::string what = "key " + std::to_string(c.key) + " from " + std::to_string(c.cell.X) + "," +
                             std::to_string(c.cell.Y);
    EXPECT_EQ(Current(), c.endCell) << what;
    EXPECT_EQ((TGridCoord{g->LeftCol(), g->TopRow()}), c.endView) << what;
  }
}

TEST_F(InputTest, PageKeysMoveByTheVisibleRowsAndScroll) {
  const int page = g->VisibleRowCount();
  ASSERT_GT(page, 1);
  f.Key(VK_NEXT);
  EXPECT_EQ(g->Row(), 1 + page);
  EXPECT_EQ(g->TopRow(), 1 + page);
  f.Key(VK_PRIOR);
  EXPECT_EQ(g->Row(), 1);
  EXPECT_EQ(g->TopRow(), 1);
}

TEST_F(InputTest, ShiftKeysExtendTheRangeFromTheAnchor) {
  g->SetCol(3);
  g->SetRow(3);
  f.Key(VK_RIGHT, TShiftState{ssShift});
  f.Key(VK_DOWN, TShiftState{ssShift});
  f.Key(VK_DOWN, TShiftState{ssShift});
  EXPECT_EQ(Current(), (TGridCoord{3, 3}));
  EXPECT_EQ(g->Selection(), (TGridRect{3, 3, 4, 5}));
  f.Key(VK_LEFT);  // a plain move collapses the range
  EXPECT_EQ(g->Selection(), (TGridRect{2, 3, 2, 3}));
}

TEST_F(InputTest, KeyDownEventComesFirstAndCanSwallowTheKey) {
  g->OnKeyDown = [](TObject*, std::uint16_t& key, TShiftState) {
    if (key == VK_DOWN) key = 0;
  };
  f.Key(VK_DOWN);
  EXPECT_EQ(g->Row(), 1);
  f.Key(VK_RIGHT);
  EXPECT_EQ(g->Col(), 2);
}

TEST_F(InputTest, WheelMovesTheCurrentRow) {
  bool handled = false;
  g->Perform(WM_MOUSEWHEEL, MakeWParam(0, -120), 0);
  g->Perform(WM_MOUSEWHEEL, MakeWParam(0, -240), 0);
  EXPECT_EQ(g->Row(), 4);
  g->Perform(WM_MOUSEWHEEL, MakeWParam(0, 60), 0);  // half a notch waits for the other half
  EXPECT_EQ(g->Row(), 4);
  g->Perform(WM_MOUSEWHEEL, MakeWParam(0, 60), 0);
  EXPECT_EQ(g->Row(), 3);
  g->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool& h) { h = handled = true; };
  g->Perform(WM_MOUSEWHEEL, MakeWParam(0, -120), 0);
  EXPECT_TRUE(handled);
  EXPECT_EQ(g->Row(), 3);
}

TEST_F(InputTest, ScrollBarsMapTheThumbRange) {
  ASSERT_TRUE(g->ScrollBarVisible(SB_VERT));
  const int max = g->MaxTopRow();
  g->Perform(WM_VSCROLL, MakeWParam(SB_THUMBPOSITION, GridScrollRange), 0);
  EXPECT_EQ(g->TopRow(), max);
  EXPECT_EQ(g->GetScrollPos(SB_VERT), GridScrollRange);
  g->Perform(WM_VSCROLL, MakeWParam(SB_THUMBPOSITION, 0), 0);
  EXPECT_EQ(g->TopRow(), 1);
  g->Perform(WM_VSCROLL, MakeWParam(SB_LINEDOWN, 0), 0);
  EXPECT_EQ(g->TopRow(), 2);
  g->Perform(WM_VSCROLL, MakeWParam(SB_PAGEDOWN, 0), 0);
  EXPECT_EQ(g->TopRow(), 2 + g->VisibleRowCount());
  g->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 64), 0);  // no live tracking without goThumbTracking
  EXPECT_EQ(g->TopRow(), 2 + g->VisibleRowCount());
  g->SetOptions(g->Options() + TGridOptions{goThumbTracking});
  g->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 64), 0);
  EXPECT_EQ(g->TopRow(), 1 + (64 * (max - 1) + 63) / 127);
  g->SetRowCount(3);  // everything fits: the bar goes
  EXPECT_FALSE(g->ScrollBarVisible(SB_VERT));
}

}  // namespace

namespace {

TEST_F(InputTest, NotificationsComeInsideTheGridsOwnHandling) {
  std::vector<QString> log;
  auto name = [this] { return QString("%1,%2 %3").arg(g->Col()).arg(g->Row()).arg(int(g->GridState())); };
  g->OnMouseDown = [&](TObject*, TMouseButton, TShiftState s, int, int) {
    log.push_back((s.Contains(ssDouble) ? "dbl-down " : "down ") + name());
  };
  g->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("up " + name()); };
  g->OnClick = [&](TObject*) { log.push_back("click " + name()); };
  g->OnDblClick = [&](TObject*) { log.push_back("dblclick"); };
  const TPoint p = At(3, 2);
  f.Click(p.X, p.Y);
  g->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MakeLParam(p.X, p.Y));
  f.Release(p.X, p.Y);
  const std::vector<QString> expect = {"down 3,2 1", "click 3,2 1", "up 3,2 0", "dblclick", "dbl-down 3,2 0",
                                       "up 3,2 0"};
  EXPECT_EQ(log, expect);
}

TEST_F(InputTest, RealMouseEventsReachTheStateMachine) {
  const TPoint a = At(2, 3), b = At(3, 4);
  QTest::mousePress(g->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(a.X, a.Y));
  QMouseEvent move(QEvent::MouseMove, QPointF(b.X, b.Y), g->Widget()->mapToGlobal(QPointF(b.X, b.Y)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(g->Widget(), &move);
  QTest::mouseRelease(g->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(b.X, b.Y));
  EXPECT_EQ(g->Selection(), (TGridRect{2, 3, 3, 4}));
  EXPECT_EQ(g->GridState(), gsNormal);
  QTest::keyClick(g->Widget(), Qt::Key_Down);
  EXPECT_EQ(Current(), (TGridCoord{2, 4}));
}

}  // namespace

namespace {

TEST_F(InputTest, MovingARowPastTheViewScrollsOnTheTimer) {
  g->SetOptions(g->Options() + TGridOptions{goRowMoving});
  for (int r = 0; r < 40; ++r) g->SetCells(0, r, QString("r%1").arg(r));
  const TPoint p = At(0, 2);
  f.Press(p.X, p.Y);
  ASSERT_EQ(g->GridState(), gsRowMoving);
  f.Move(p.X, g->ClientHeight() + 5);
  for (int i = 0; i < 3; ++i) g->Perform(WM_TIMER, GridScrollTimerId, 0);
  EXPECT_EQ(g->TopRow(), 4);
  const int target = g->TopRow() + g->VisibleRowCount() - 1;
  EXPECT_EQ(g->FMovePos, target);
  f.Release(p.X, g->ClientHeight() + 5);
  EXPECT_EQ(g->Cells(0, target), "r2");
  EXPECT_EQ(g->Cells(0, 2), "r3");
}

TEST_F(InputTest, ChangeOfScaleScalesEverySize) {
  struct ScaledGrid : TTestGrid {
    using TTestGrid::TTestGrid;
    using TCustomGrid::ChangeScale;
  };
  auto* s = new ScaledGrid(f.form.get());
  s->SetParent(f.form.get());
  s->SetColWidths(1, 100);
  s->ChangeScale(3, 2);
  EXPECT_EQ(s->DefaultColWidth(), 96);
  EXPECT_EQ(s->DefaultRowHeight(), 36);
  EXPECT_EQ(s->ColWidths(1), 150);
  EXPECT_EQ(s->ColWidths(2), 96);
}

}  // namespace
