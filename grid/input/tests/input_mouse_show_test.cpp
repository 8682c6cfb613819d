// What the mouse shows beside the cells, driven through the real grid window: the grid's own feedback while a
// column or row is moved, the drop-down button's menu, the filter lists, cell hints and balloons when the mouse
// rests, the scroll bar over scroll-bar cells, and the synchronised grid and group selection on clicks.
#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

#include "grid/input/scroll_bar.h"
#include "grid/input/tests/input_mouse_fixture.h"
#include "grid/view/hint_window.h"
#include "grid/view/side_windows.h"
#include "platform/forms/menus.h"

namespace grid {
namespace {

using namespace mousetest;
using plat::goColMoving;
using plat::goColSizing;

struct MouseShowTest : ::testing::Test, MouseGrid {
  // The form as a user sees it: the window with the floating feedback windows painted over it.
  QImage Screen(std::initializer_list<plat::TControl*> floating = {}) {
    QWidget* top = W()->window();
    QImage img = top->grab().toImage();
    QPainter p(&img);
    for (plat::TControl* c : floating) {
      if (!c || !c->Visible() || !c->Widget()) continue;
      const QPoint at = top->mapFromGlobal(c->Widget()->mapToGlobal(QPoint(0, 0)));
      p.drawImage(at, c->Widget()->grab().toImage());
    }
    return img;
  }
  void Shot(const QImage& img, const QString& name) {
    if (qEnvironmentVariableIsSet("GRID_SHOTS")) img.save(qEnvironmentVariable("GRID_SHOTS") + "/" + name + ".png");
  }
  // The mouse rests at P: the window system asks the grid for its hint.
  void Rest(QPoint p) {
    QHelpEvent e(QEvent::ToolTip, p, W()->mapToGlobal(p));
    QApplication::sendEvent(W(), &e);
  }
  QPoint Global(int cx, int cy) { return W()->mapToGlobal(QPoint(cx, cy)); }
};

// ---- the grid's own feedback while moving ------------------------------------------------------------------------

TEST_F(MouseShowTest, ColumnMoveShowsTheFloatingHeaderArrowsAndDropCursor) {
  g->SetOptions(g->Options().Include(goColMoving));
  g->DragDropSettings()->ShowCells = false;
  g->OnColumnMoving = [&](plat::TObject*, int c, bool&) { log << QString("moving %1").arg(c); };
  g->OnStartBlockFocus = [&](plat::TObject*) {
    if (log.isEmpty() || log.back() != "start") log << "start";
  };
  g->OnEndBlockFocus = [&](plat::TObject*) { log << "end"; };
  TMoveFeedback& f = g->Mouse().MoveFeedback();
  Press(At(2, 0, 10, 6));
  Move(At(3, 0));
  Move(At(4, 1, 20, 5));
  Move(At(4, 1, 20, 6));  // the arrows stand at the drop column of the previous move
  ASSERT_NE(f.MoveButton(), nullptr);
  EXPECT_TRUE(f.MoveButton()->Visible());
  EXPECT_EQ(f.MoveButton()->Caption(), "C0");
  EXPECT_EQ(f.MoveButton()->Width(), g->ColWidths(2));
  // The button keeps the grab offset: its top-left is the mouse minus where the header was pressed.
  EXPECT_EQ(f.MoveButton()->Left(), Global(At(4, 1, 20, 6).x() - 10, 0).x());
  EXPECT_EQ(plat::Screen->Cursor(), plat::crDrag);
  // Column 4 lies right of the moved column: the arrows mark its right border.
  const plat::TRect c4 = g->CellRect(4, 0);
  EXPECT_TRUE(f.Arrow(0)->Visible());
  EXPECT_EQ(f.Arrow(0)->Left(), Global(c4.Right - 5, 0).x());
  EXPECT_EQ(f.Arrow(0)->Top(), Global(0, c4.Bottom).y());
  EXPECT_EQ(f.Arrow(1)->Top(), Global(0, c4.Top - 8).y());
  Shot(Screen({f.MoveButton(), f.Arrow(0), f.Arrow(1)}), "column_move");
  // A right release during the move is swallowed: the move goes on.
  QTest::mouseRelease(W(), Qt::RightButton, {}, At(4, 1));
  EXPECT_EQ(g->GridState(), plat::gsColMoving);
  Release(At(4, 1, 20, 6));
  EXPECT_EQ(Log(), "start | moving 3 | start | moving 4 | start | moving 4 | end");
  EXPECT_EQ(g->Cells(4, 1), "C1");
  EXPECT_FALSE(f.MoveButton()->Visible());
  EXPECT_FALSE(f.Arrow(0)->Visible());
  EXPECT_EQ(plat::Screen->Cursor(), plat::crDefault);
  EXPECT_EQ(g->GridState(), plat::gsNormal);
}

TEST_F(MouseShowTest, RefusedDropShowsTheNoDropCursorAndCancelsTheMove) {
  g->SetOptions(g->Options().Include(goColMoving));
  g->OnColumnMoving = [](plat::TObject*, int c, bool& allow) { allow = c != 5; };
  Press(At(2, 0));
  Move(At(4, 0));
  EXPECT_EQ(plat::Screen->Cursor(), plat::crDrag);
  Move(At(5, 0));
  EXPECT_EQ(plat::Screen->Cursor(), plat::crNoDrop);
  Release(At(5, 0));
  EXPECT_EQ(g->Cells(2, 1), "C1");
  EXPECT_EQ(g->Cells(5, 1), "F1");
  EXPECT_EQ(plat::Screen->Cursor(), plat::crDefault);
  EXPECT_EQ(Log(), "");  // a move is no click: nothing sorts
}

TEST_F(MouseShowTest, MovingPastTheEdgesScrollsOneColumnPerMove) {
  g->SetColCount(14);
  g->SetOptions(g->Options().Include(goColMoving));
  Press(At(2, 0));
  Move(At(3, 0));
  Move(QPoint(g->Width() + 5, 8));
  Move(QPoint(g->Width() + 6, 8));
  EXPECT_EQ(g->LeftCol(), 3);
  Move(QPoint(10, 8));  // over the fixed column
  EXPECT_EQ(g->LeftCol(), 2);
  Release(QPoint(10, 8));  // a fixed column is no drop place
  EXPECT_EQ(g->Cells(2, 1), "C1");
  EXPECT_EQ(g->GridState(), plat::gsNormal);
}

TEST_F(MouseShowTest, MovingAColumnPastAHiddenOneKeepsCellsAndTheHiddenColumn) {
  g->SetOptions(g->Options().Include(goColMoving));
  g->HideColumn(2);  // real column C: display columns are A B D E F
  ASSERT_EQ(g->Cells(2, 1), "C1");
  Drag(At(1, 0), At(3, 0));  // B goes to where E is shown
  EXPECT_EQ(g->ColCount(), 5);
  // Real order afterwards: A C D E B F, with C still the hidden one.
  const char* expect[] = {"A1", "C1", "D1", "E1", "B1", "F1"};
  for (int c = 0; c < 6; ++c) EXPECT_EQ(g->AllCells(c, 1), expect[c]) << c;
  EXPECT_TRUE(g->IsHiddenColumn(1));
  EXPECT_FALSE(g->IsHiddenColumn(2));
  g->UnHideColumnsAll();
  EXPECT_EQ(g->Cells(1, 1), "C1");
  EXPECT_EQ(g->Cells(4, 1), "B1");
}

TEST_F(MouseShowTest, RowMoveShowsTheCellImageAndSideArrows) {
  g->SetOptions(g->Options().Include(plat::goRowMoving));
  TMoveFeedback& f = g->Mouse().MoveFeedback();
  Press(At(0, 2));
  Move(At(0, 4));
  Move(At(0, 6));
  Move(At(0, 6, 10, 12));
  ASSERT_NE(f.MoveForm(), nullptr);
  EXPECT_TRUE(f.MoveForm()->Visible());  // ShowCells: the image of the moved row, not the header button
  EXPECT_FALSE(f.MoveButton()->Visible());
  EXPECT_EQ(f.MoveForm()->Height(), g->RowHeights(2));
  const plat::TRect r6 = g->CellRect(0, 6);
  EXPECT_TRUE(f.Arrow(2)->Visible());
  EXPECT_EQ(f.Arrow(2)->Left(), Global(r6.Left - 10, 0).x());
  EXPECT_EQ(f.Arrow(3)->Top(), Global(0, r6.Bottom - 5).y());
  Shot(Screen({f.MoveForm(), f.Arrow(2), f.Arrow(3)}), "row_move");
  Release(At(0, 6, 10, 12));
  EXPECT_EQ(g->Cells(1, 6), "B2");
  EXPECT_EQ(f.MoveForm(), nullptr);
}

// ---- the drop-down button of fixed cells --------------------------------------------------------------------------

TEST_F(MouseShowTest, DropDownButtonPopsUpItsMenuUnderTheButton) {
  g->HoverFixedCells = hfAll;
  g->ControlLook()->FixedDropDownButton = true;
  plat::TPopupMenu menu(form.get());
  plat::TMenuItem* hide = plat::NewItem(&menu, "Hide column", [&](plat::TObject*) { log << "hide"; });
  menu.Items()->Add(hide);
  menu.Items()->Add(plat::NewItem(&menu, "Sort ascending"));
  g->FixedDropDownMenu = &menu;
  QPoint shownAt;
  bool highlighted = false;
  QImage shot;
  auto old = plat::SetPopupMenuRunner([&](plat::TPopupMenu* m, int x, int y) -> plat::TMenuItem* {
    shownAt = QPoint(x, y);
    highlighted = g->Mouse().Hover().HoverFixedX == 3 && g->Mouse().Hover().NoMouseLeave;
    QMenu q;
    for (int i = 0; i < m->Items()->Count(); ++i) q.addAction(m->Items()->Items(i)->Caption());
    q.popup(QPoint(x, y));
    QApplication::processEvents();
    shot = Screen();
    QPainter(&shot).drawImage(W()->window()->mapFromGlobal(QPoint(x, y)), q.grab().toImage());
    return m->Items()->Items(0);
  });
  const plat::TRect r = g->CellRect(3, 0);
  Move(QPoint(r.Right - 8, 8));
  Click(QPoint(r.Right - 8, 8));
  plat::SetPopupMenuRunner(old);
  Shot(shot, "dropdown_menu");
  EXPECT_EQ(shownAt, Global(r.Right - 16, r.Bottom));
  EXPECT_TRUE(highlighted);
  EXPECT_EQ(menu.Tag(), 3);
  EXPECT_EQ(Log(), "hide");
  EXPECT_FALSE(g->Mouse().Hover().NoMouseLeave);  // the handler did not ask to keep the highlight
  EXPECT_EQ(g->Mouse().Hover().HoverFixedX, -1);
  EXPECT_EQ(g->Col(), 1);  // the base grid saw no press
}

TEST_F(MouseShowTest, DropDownHandlerChoosesTheMenuOrNone) {
  g->HoverFixedCells = hfFixedRows;
  g->ControlLook()->FixedDropDownButton = true;
  int popups = 0;
  auto old = plat::SetPopupMenuRunner([&](plat::TPopupMenu*, int, int) -> plat::TMenuItem* {
    ++popups;
    return nullptr;
  });
  plat::TPopupMenu other(form.get());
  std::vector<int> asked;
  g->OnFixedDropDownClick = [&](plat::TObject*, int c, int, plat::TPopupMenu*& m, bool& keep) {
    asked.push_back(c);
    m = c == 2 ? &other : nullptr;
    keep = true;
  };
  for (int c : {2, 4}) {
    const plat::TRect r = g->CellRect(c, 0);
    Move(QPoint(r.Right - 8, 8));
    Click(QPoint(r.Right - 8, 8));
    g->Mouse().Hover().NoMouseLeave = false;
  }
  plat::SetPopupMenuRunner(old);
  EXPECT_EQ(asked, (std::vector<int>{2, 4}));
  EXPECT_EQ(popups, 1);
  // Outside the button the press is an ordinary header press.
  const plat::TRect r = g->CellRect(3, 0);
  Move(QPoint(r.Left + 8, 8));
  Click(QPoint(r.Left + 8, 8));
  EXPECT_EQ(asked.size(), 2u);
}

// ---- filter lists ----------------------------------------------------------------------------------------------

TEST_F(MouseShowTest, FilterListSizes) {
  g->FilterDropDownAuto = true;
  g->FilterDropDownClear = "";
  for (int r = 1; r < 10; ++r) g->SetCells(2, r, r % 3 == 0 ? "north" : r % 3 == 1 ? "south" : "east");
  const plat::TRect r = g->CellRect(2, 0);
  const QPoint button(r.Right - 10, r.Top + 5);
  struct Case {
    const char* name;
    bool autoSize, columnWidth;
    int left, width, height;  // -1: not checked
  } cases[] = {
      {"fixed size", false, false, r.Right - 16, 150, 150},
      {"column width", false, true, r.Left, r.Width(), 150},
      {"auto size", true, false, r.Right - 16, -1, -1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    g->FilterDropDown()->AutoSize = k.autoSize;
    g->FilterDropDown()->ColumnWidth = k.columnWidth;
    Click(button);
    plat::TListBox* list = g->HeaderClicks().FilterList();
    ASSERT_TRUE(list && list->Visible());
    EXPECT_EQ(list->Top(), r.Top + 16);
    EXPECT_EQ(list->Left(), k.left);
    if (k.width >= 0) { EXPECT_EQ(list->Width(), k.width); }
    if (k.height >= 0) { EXPECT_EQ(list->Height(), k.height); }
    if (k.autoSize) {
      EXPECT_EQ(list->Height(), 3 * list->ItemHeight() + 4);
      int widest = 0;
      for (const char* v : {"north", "south", "east"}) widest = std::max(widest, list->Canvas()->TextWidth(v));
      EXPECT_EQ(list->Width(), widest + 8 + 4);
      Shot(Screen(), "filter_list");
    }
    Click(At(3, 3));  // a release elsewhere closes it
    EXPECT_FALSE(list->Visible());
    EXPECT_EQ(g->HeaderClicks().FilterCol(), -1);
  }
}

TEST_F(MouseShowTest, FilterListChoosesOnReleaseOrEnterOnly) {
  g->FilterDropDownAuto = true;
  g->FilterDropDown()->AutoSize = true;
  const plat::TRect r = g->CellRect(2, 0);
  Click(QPoint(r.Right - 10, r.Top + 5));
  TDropList* list = g->HeaderClicks().FilterList();
  ASSERT_TRUE(list && list->Visible());
  QTest::keyClick(list->Widget(), Qt::Key_Down);  // moving in the list chooses nothing yet
  EXPECT_EQ(Log(), "");
  EXPECT_TRUE(list->Visible());
  QTest::keyClick(list->Widget(), Qt::Key_Return);
  EXPECT_EQ(Log(), "filter 2:1");
  EXPECT_FALSE(list->Visible());
  Click(QPoint(r.Right - 10, r.Top + 5));
  const int y = list->Height() - 6;
  const int item = list->ItemAtPos(plat::TPoint(20, y));
  ASSERT_GT(item, 0);
  QTest::mouseClick(list->Widget(), Qt::LeftButton, {}, QPoint(20, y));
  EXPECT_EQ(Log(), QString("filter 2:1 | filter 2:%1").arg(item).toStdString());
  Click(QPoint(r.Right - 10, r.Top + 5));
  QTest::keyClick(list->Widget(), Qt::Key_Escape);
  EXPECT_FALSE(list->Visible());
  EXPECT_EQ(g->HeaderClicks().FilterCol(), -1);
}

TEST_F(MouseShowTest, FilterCheckListChecksTheFilteredValuesAndFiltersOnEachCheck) {
  g->FilterDropDownAuto = true;
  g->FilterDropDownCheck = true;
  g->FilterDropDown()->AutoSize = true;
  g->FilterDropDown()->Color = plat::TColor(0xF0FFF0);
  for (int r = 1; r < 10; ++r) g->SetCells(2, r, r % 2 ? "new york" : "paris");
  g->Filter()->GetColFilter(2)->Condition = "\"new york\"";
  g->Filter()->GetColFilter(3)->Condition = "paris";  // another column's condition checks nothing here
  const plat::TRect r = g->CellRect(2, 0);
  Click(QPoint(r.Right - 10, r.Top + 5));
  TDropCheckList* list = g->HeaderClicks().FilterCheckList();
  ASSERT_TRUE(list && list->Visible());
  EXPECT_EQ(g->HeaderClicks().FilterList(), nullptr);  // the single-choice list was never needed
  ASSERT_EQ(list->Items()->Count(), 3);
  EXPECT_EQ(list->Items()->Strings(1), "new york");
  EXPECT_FALSE(list->Checked(0));
  EXPECT_TRUE(list->Checked(1));  // a name with a blank is compared in double quotes
  EXPECT_FALSE(list->Checked(2));
  Shot(Screen(), "filter_checklist");
  // A click on the box of "paris" checks it and filters; the list stays open for the next check.
  const plat::TRect item(0, 2 * list->ItemHeight(), 16, 3 * list->ItemHeight());
  QTest::mouseClick(list->Widget(), Qt::LeftButton, {}, QPoint(8, item.Top + item.Height() / 2));
  EXPECT_TRUE(list->Checked(2));
  EXPECT_EQ(Log(), "filter 2:-1");
  EXPECT_TRUE(list->Visible());
  EXPECT_EQ(g->HeaderClicks().FilterCol(), 2);
}

// ---- hints and balloons -----------------------------------------------------------------------------------------

TEST_F(MouseShowTest, ARestingMouseShowsTheCellHintInTheGridsHintWindow) {
  g->SetShowHint(true);
  g->HintShowCells = true;
  g->SetCells(3, 4, "<b>Meter 17</b> reads 42 kWh");
  Move(At(3, 4));
  Rest(At(3, 4));
  THTMLHintWindow* hint = g->Mouse().CellHintWindow();
  ASSERT_NE(hint, nullptr);
  EXPECT_TRUE(hint->Visible());
  EXPECT_EQ(g->Mouse().CellHintText(), "Meter 17 reads 42 kWh");
  // HintShowCells puts the hint at the cell's top, at the mouse's x.
  const QPoint at = hint->Widget()->mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(at, Global(At(3, 4).x(), g->CellRect(3, 4).Top));
  Shot(Screen({hint}), "cell_hint");
  // Another cell cancels it; the same cell keeps it.
  Rest(At(3, 4));
  Move(At(3, 4, 5, 5));
  EXPECT_TRUE(hint->Visible());
  Move(At(2, 4));
  EXPECT_FALSE(hint->Visible());
  // Without ShowHint nothing shows.
  g->SetShowHint(false);
  Rest(At(3, 4));
  EXPECT_FALSE(hint->Visible());
}

TEST_F(MouseShowTest, HintsLeaveWithTheMouseAndOnAPress) {
  g->SetShowHint(true);
  g->CellObjects().AddComment(2, 3, "checked by the service");
  Rest(At(2, 3));
  THTMLHintWindow* hint = g->Mouse().CellHintWindow();
  ASSERT_TRUE(hint && hint->Visible());
  Click(At(2, 3));
  EXPECT_FALSE(hint->Visible());
  Rest(At(2, 3));
  EXPECT_TRUE(hint->Visible());
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(W(), &leave);
  EXPECT_FALSE(hint->Visible());
}

TEST_F(MouseShowTest, BalloonShowsTheCellTextAndPopsOnAnotherCell) {
  g->Balloon()->SetEnable(true);
  g->SetCells(2, 3, "<i>Water</i> meter in the basement");
  g->CellObjects().AddBalloon(4, 5, "Warning", "Battery low", biWarning);
  g->OnCellBalloon = [&](plat::TObject*, int c, int r, QString& title, QString&, int&) {
    if (c == 2 && r == 3) title = "Meter";
  };
  TBalloonTipWindow* tip = g->ToolTipWindow();
  ASSERT_NE(tip, nullptr);
  Move(At(2, 3));
  Rest(At(2, 3));
  EXPECT_TRUE(tip->Visible());
  EXPECT_EQ(tip->Title, "Meter");
  EXPECT_EQ(tip->Text, "Water meter in the basement");
  EXPECT_EQ(tip->Icon, 1);
  EXPECT_EQ(g->Mouse().LastBalloonPos(), plat::TPoint(2, 3));
  Shot(Screen(), "balloon");
  Move(At(4, 5));
  EXPECT_FALSE(tip->Visible());
  EXPECT_EQ(g->Mouse().LastBalloonPos(), plat::TPoint(-1, -1));
  Rest(At(4, 5));
  EXPECT_EQ(tip->Title, "Warning");
  EXPECT_EQ(tip->Text, "Battery low");
  EXPECT_EQ(tip->Icon, int(biWarning));
  Shot(Screen(), "balloon_cell");
}

// ---- the scroll bar of scroll-bar cells ---------------------------------------------------------------------------

TEST_F(MouseShowTest, ScrollBarFollowsTheMouseOverScrollBarCellsAndScrollsTheCell) {
  g->SetRowHeights(3, 40);
  g->CellObjects().AddScrollBar(2, 3, false);
  g->CellObjects().SetScrollProp(2, 3, TScrollProp{20, 100});
  g->CellObjects().AddScrollBar(4, 3, false);
  g->CellObjects().SetScrollProp(4, 3, TScrollProp{50, 40});  // all of it fits: no bar
  std::vector<int> scrolled;
  g->OnScrollCell = [&](plat::TObject*, int, int, int pos, int, int) { scrolled.push_back(pos); };
  Move(At(2, 3));
  plat::TScrollBar* bar = g->Mouse().CellScrollBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->Visible());
  const plat::TRect r = g->CellRect(2, 3);
  const int l = g->GridLineWidth();
  EXPECT_EQ(bar->Left(), r.Right - 17 - l);
  EXPECT_EQ(bar->Top(), r.Top + l);
  EXPECT_EQ(bar->Height(), r.Height() - 2 * l);
  EXPECT_EQ(bar->Max(), 100);
  EXPECT_EQ(bar->PageSize(), 20);
  EXPECT_TRUE(scrolled.empty());  // placing the bar is no scrolling
  Shot(Screen(), "cell_scrollbar");
  bar->SetPosition(30);
  EXPECT_EQ(g->CellObjects().GetScrollPosition(2, 3), 30);
  EXPECT_EQ(scrolled, std::vector<int>{30});
  // A line moves the content 10 units, a page 100 but never past the range.
  auto* qbar = static_cast<QScrollBar*>(bar->Widget());
  qbar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(g->CellObjects().GetScrollPosition(2, 3), 40);
  qbar->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(g->CellObjects().GetScrollPosition(2, 3), 0);
  bar->SetPosition(30);
  Move(At(4, 3));
  EXPECT_FALSE(bar->Visible());
  Move(At(2, 3));
  EXPECT_TRUE(bar->Visible());
  EXPECT_EQ(bar->Position(), 30);
}

// ---- synchronised grid, group selection, sizing released outside ----------------------------------------------

TEST_F(MouseShowTest, SynchronisedGridFollowsPressesAndMoves) {
  auto* other = new TLogGrid(form.get());
  other->SetParent(form.get());
  other->SetBounds(0, 310, 200, 20);
  other->SetColCount(6);
  other->SetRowCount(10);
  for (int c = 0; c < 6; ++c) other->SetCells(c, 1, QString("x%1").arg(c));
  g->SyncGrid()->SetGrid(other);
  g->SyncGrid()->SelectionRow = true;
  g->SyncGrid()->MoveColumn = true;
  other->SyncGrid()->SetGrid(g);
  other->SyncGrid()->MoveColumn = true;  // both ways: the move must not bounce back
  Click(At(3, 6));
  EXPECT_EQ(other->Row(), 6);
  EXPECT_EQ(other->Col(), 1);  // SelectionColumn is off
  g->SetOptions(g->Options().Include(goColMoving));
  Drag(At(2, 0), At(4, 0));
  EXPECT_EQ(g->Cells(4, 1), "C1");
  EXPECT_EQ(other->Cells(4, 1), "x2");
  EXPECT_EQ(other->Cells(3, 1), "x4");
}

TEST_F(MouseShowTest, ReleaseOverAnExpandedNodeSelectsItsGroup) {
  g->AddNode(3, 4);  // rows 3..6
  g->Grouping()->AutoSelectGroup = true;
  Click(At(2, 3));
  EXPECT_EQ(g->Selection(), (plat::TGridRect{1, 3, 5, 6}));
  g->MouseActions()->SetDisjunctRowSelect(true);
  Click(At(2, 3));
  for (int r = 4; r <= 6; ++r) EXPECT_TRUE(g->GetRowSelect(r)) << r;
  EXPECT_FALSE(g->GetRowSelect(7));
}

TEST_F(MouseShowTest, SizingReleasedBeyondTheGridsEdgeIsAbandoned) {
  g->SetOptions(g->Options().Include(goColSizing));
  g->SetColWidths(5, 40);
  const int before = g->ColWidths(5);
  const plat::TRect r = g->CellRect(5, 0);
  Press(QPoint(r.Right, 8));
  Move(QPoint(r.Right + 30, 8));
  Release(QPoint(g->Width() + 20, 8));
  EXPECT_EQ(g->ColWidths(5), before);
  EXPECT_EQ(g->GridState(), plat::gsNormal);
}

}  // namespace
}  // namespace grid
