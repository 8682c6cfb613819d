// The string grid's mouse driven through the real grid window with synthetic mouse events: who claims a press,
// the order of the click events for clicks and double-clicks, releases that end pushed buttons, sizing and
// moving by dragging, header sorting, fixed-cell editors, filter lists and the right button.
#include <QTest>
#include <QWindow>

#include <functional>
#include <stdexcept>

#include <gtest/gtest.h>

#include "controls/mini_html.h"
#include "grid/extgrid.h"
#include "grid/input/tests/input_mouse_fixture.h"
#include "grid/view/hint_window.h"
#include "platform/forms/forms.h"
#include "platform/forms/keys.h"

namespace grid {
namespace {

using namespace mousetest;
using plat::goColMoving;
using plat::goColSizing;
using plat::goEditing;
using plat::goRowSelect;

struct MouseTest : ::testing::Test, MouseGrid {};

// ---- who claims a press -------------------------------------------------------------------------------------

TEST_F(MouseTest, PlainPressMovesTheCurrentCellThenFiresTheCellClick) {
  LogEvents();
  g->OnCanClickCell = [&](plat::TObject*, int r, int c, bool&) { log << QString("can %1,%2").arg(c).arg(r); };
  Click(At(3, 4));
  EXPECT_EQ(g->Col(), 3);
  EXPECT_EQ(g->Row(), 4);
  EXPECT_EQ(Log(), "can 3,4 | down | cell 3,4 | click | up");
}

// One press per case: the cell content and settings, where the press lands, the modifier held, and what happened
// (events in order, then the current cell).
struct PressCase {
  const char* name;
  std::function<void(TLogGrid&)> setup;
  int col, row, dx, dy;  // dx, dy: offset in the cell, -1 the middle
  Qt::KeyboardModifiers mods;
  const char* events;
  int col_after, row_after;
};

TEST_F(MouseTest, PressPrecedence) {
  const std::vector<PressCase> cases = {
      {"refused press does nothing, not even a check box",
       [](TLogGrid& t) {
         t.SetOptions(t.Options().Include(goEditing));
         t.AddCheckBox(2, 3, false, false);
         t.OnCanClickCell = [](plat::TObject*, int, int, bool& a) { a = false; };
       },
       2, 3, -1, -1, {}, "", 1, 1},
      {"check box of an editable cell toggles and becomes current",
       [](TLogGrid& t) {
         t.SetOptions(t.Options().Include(goEditing));
         t.AddCheckBox(2, 3, false, false);
       },
       2, 3, -1, -1, {}, "check 2,3=1 | down | click", 2, 3},
      {"check box of a cell that cannot be edited is an ordinary press",
       [](TLogGrid& t) { t.AddCheckBox(2, 3, false, false); },
       2, 3, -1, -1, {}, "down | cell 2,3", 2, 3},
      {"always-active check box toggles without editing",
       [](TLogGrid& t) {
         t.AddCheckBox(2, 3, false, false);
         t.ControlLook()->CheckAlwaysActive = true;
       },
       2, 3, -1, -1, {}, "check 2,3=1 | down | click", 2, 3},
      {"cell button: pushed, the cell click fires, the current cell stays",
       [](TLogGrid& t) { t.CellObjects().AddButton(2, 3, 30, 16, "..", haLeft, vaTop); },
       2, 3, 8, 8, {}, "cell 2,3", 1, 1},
      {"beside a cell button the press goes on to select",
       [](TLogGrid& t) { t.CellObjects().AddButton(2, 3, 30, 16, "..", haLeft, vaTop); },
       2, 3, 50, 18, {}, "down | cell 2,3", 2, 3},
      {"link to a cell moves the current cell there",
       [](TLogGrid& t) { t.SetCells(2, 3, "<a href=\"cell://R5C3\">go</a>"); },
       2, 3, 6, 8, {}, "anchor 2,3 cell://R5C3 | click | click", 3, 5},
      {"link to a cell in lower case",
       [](TLogGrid& t) { t.SetCells(2, 3, "<a href=\"CELL://r6c4\">go</a>"); },
       2, 3, 6, 8, {}, "anchor 2,3 CELL://r6c4 | click | click", 4, 6},
      {"link to a cell outside the grid changes nothing",
       [](TLogGrid& t) { t.SetCells(2, 3, "<a href=\"cell://R99C1\">go</a>"); },
       2, 3, 6, 8, {}, "anchor 2,3 cell://R99C1", 1, 1},
      {"a web link is opened",
       [](TLogGrid& t) { t.SetCells(2, 3, "<a href=\"http://127.0.0.1/x\">go</a>"); },
       2, 3, 6, 8, {}, "anchor 2,3 http://127.0.0.1/x | open http://127.0.0.1/x", 1, 1},
      {"header press 2 pixels from a column border fires no cell click",
       [](TLogGrid& t) { t.SetOptions(t.Options().Include(goColSizing)); },
       2, 0, 58, -1, {}, "down", 1, 1},
      {"header press inside the cell fires the cell click",
       [](TLogGrid& t) { t.SetOptions(t.Options().Include(goColSizing)); },
       2, 0, 30, -1, {}, "down | cell 2,0", 1, 1},
      {"cell declared fixed: only the cell click",
       [](TLogGrid& t) { t.OnIsFixedCell = [](plat::TObject*, int r, int c, bool& f) { f = c == 2 && r == 3; }; },
       2, 3, -1, -1, {}, "cell 2,3", 1, 1},
      {"selected cell with drag source on keeps the selection",
       [](TLogGrid& t) {
         t.DragDropSettings()->OleDropSource = true;
         t.SetSelection({1, 1, 3, 4});
       },
       2, 3, -1, -1, {}, "down | cell 2,3", 1, 1},
  };
  for (const PressCase& k : cases) {
    SCOPED_TRACE(k.name);
    MouseGrid t;
    t.LogEvents();
    t.log.clear();
    k.setup(*t.g);
    t.Press(t.At(k.col, k.row, k.dx, k.dy), k.mods);
    EXPECT_EQ(t.Log(), k.events);
    EXPECT_EQ(t.g->Col(), k.col_after);
    EXPECT_EQ(t.g->Row(), k.row_after);
    t.Release(t.At(k.col, k.row, k.dx, k.dy), k.mods);
  }
}

TEST_F(MouseTest, NodeGlyphExpandsWithoutMovingTheCurrentCell) {
  TCellGraphic* n = g->CreateCellGraphic(0, 4);
  n->CellType = ctNode;
  n->CellBoolean = true;  // contracted
  LogEvents();
  Press(At(0, 4, 3, -1));
  EXPECT_EQ(Log(), "down | cell 0,4 | beforeexpand 4 | expand 4");
  EXPECT_EQ(g->Row(), 1);
  Release(At(0, 4, 3, -1));
  g->MouseActions()->MoveRowOnNodeClick = true;
  n->CellBoolean = true;
  Click(At(0, 4, 3, -1));
  EXPECT_EQ(g->Row(), 4);
}

TEST_F(MouseTest, RadioGroupItemBoundaries) {
  plat::TStringList items;
  items.Add("one");
  items.Add("two");
  items.Add("six");
  g->CellChecks().AddRadio(2, 3, 1, 0, &items);  // horizontal
  g->Canvas()->Font()->Assign(g->Font());
  const int w0 = g->Canvas()->TextWidth("one");
  const int spacing = 16;  // the themed control style
  std::vector<int> hits;
  g->OnRadioClick = [&](plat::TObject*, int, int, int i) { hits.push_back(i); };
  Click(At(2, 3, w0 + spacing, 4));  // exactly on the boundary: no item
  EXPECT_TRUE(hits.empty());
  Click(At(2, 3, w0 + spacing + 1, 4));
  EXPECT_EQ(hits, std::vector<int>{1});
  int idx = -1;
  g->CellChecks().GetRadioIdx(2, 3, idx);
  EXPECT_EQ(idx, 1);
}

TEST_F(MouseTest, RatingTakesHalfAStarPerNinePixels) {
  g->CellObjects().AddRating(2, 3, 5, plat::clYellow, plat::clGray);
  std::vector<double> asked;
  g->OnRatingChange = [&](plat::TObject*, int, int, double& v) { asked.push_back(v); };
  Click(At(2, 3, 27, 5));
  Click(At(2, 3, 22, 5));
  EXPECT_EQ(asked, (std::vector<double>{1.5, 1.0}));
  EXPECT_DOUBLE_EQ(g->Floats(2, 3), 1.0);
}

TEST_F(MouseTest, DirectEditOpensTheEditorOnlyAwayFromTheCellSides) {
  g->SetOptions(g->Options().Include(goEditing));
  g->MouseActions()->DirectEdit = true;
  Click(At(3, 4, 3, -1));
  EXPECT_FALSE(g->EditorMode());
  Click(At(2, 5, 4, -1));
  EXPECT_TRUE(g->EditorMode());
  EXPECT_EQ(g->Col(), 2);
  EXPECT_EQ(g->Row(), 5);
}

TEST_F(MouseTest, WholeRowsFromTheFixedColumn) {
  g->MouseActions()->RowSelect = true;
  g->SetSelection({2, 2, 2, 2});
  Move(At(0, 5));
  EXPECT_EQ(g->Mouse().SelectMode(), msRow);
  Click(At(0, 5), Qt::ShiftModifier);
  EXPECT_EQ(g->Selection(), (plat::TGridRect{1, 2, 5, 5}));
  // A drag down the fixed column from row 7 up to row 4 selects rows 4..7.
  Move(At(0, 7));
  Press(At(0, 7));
  Move(At(0, 5));
  Move(At(0, 4));
  Release(At(0, 4));
  EXPECT_EQ(g->Selection(), (plat::TGridRect{1, 4, 5, 7}));
}

TEST_F(MouseTest, WholeColumnsFromTheFixedRow) {
  g->MouseActions()->ColSelect = true;
  Move(At(2, 0));
  Press(At(2, 0));
  Move(At(4, 0));
  Release(At(4, 0));
  EXPECT_EQ(g->Selection(), (plat::TGridRect{2, 1, 4, 9}));
}

TEST_F(MouseTest, SelectionHandleCopiesAndKeepsTheSelection) {
  g->SetSelectionResizer(true);
  g->SetSelectionRectangle(true);
  g->SetSelection({2, 2, 3, 4});
  const plat::TRect r = g->CellRect(3, 4);
  Press(QPoint(r.Right - 3, r.Bottom - 3));
  EXPECT_EQ(Log(), "copy");
  EXPECT_EQ(g->Selection(), (plat::TGridRect{2, 2, 3, 4}));
  EXPECT_TRUE(g->Mouse().Gesture().Is(TMouseGesture::HandleResize));
  Release(QPoint(r.Right - 3, r.Bottom - 3));
  EXPECT_TRUE(g->Mouse().Gesture().Idle());
}

TEST_F(MouseTest, NoScrollOnPartialRowKeepsTheTopRow) {
  g->SetRowCount(30);
  g->MouseActions()->NoScrollOnPartialRow = true;
  const int partial = g->TopRow() + g->VisibleRowCount();
  ASSERT_LT(partial, g->RowCount());
  const plat::TRect r = g->CellRect(2, partial);
  Click(QPoint(r.Left + 10, r.Top + 2));
  EXPECT_EQ(g->TopRow(), 1);
}

TEST_F(MouseTest, PushedFixedCellIsDrawnSunkenUntilTheRelease) {
  g->FixedAsButtons = true;
  g->SetLook(glClassic);
  g->HoverFixedCells = hfAll;
  g->SetColCount(5);
  const plat::TRect r = g->CellRect(2, 0);
  Press(At(2, 0));
  const QImage down = W()->grab().toImage();
  if (qEnvironmentVariableIsSet("GRID_SHOTS")) down.save(qEnvironmentVariable("GRID_SHOTS") + "/pushed.png");
  // The sunken edge: a dark line along the top inside the cell, where the raised look has a light one.
  const QColor topDown = down.pixelColor(r.Left + r.Width() / 2, r.Top);
  Release(At(2, 0));
  Move(At(3, 5));
  const QImage up = W()->grab().toImage();
  if (qEnvironmentVariableIsSet("GRID_SHOTS")) up.save(qEnvironmentVariable("GRID_SHOTS") + "/released.png");
  const QColor topUp = up.pixelColor(r.Left + r.Width() / 2, r.Top);
  EXPECT_LT(topDown.lightness(), topUp.lightness());
}

// ---- releases -------------------------------------------------------------------------------------------------

TEST_F(MouseTest, ACellButtonClicksOnlyWhenReleasedOverIt) {
  g->SetOptions(g->Options().Include(goEditing));
  g->CellObjects().AddButton(2, 3, 30, 16, "..", haLeft, vaTop);
  LogEvents();
  Press(At(2, 3, 8, 8));
  EXPECT_TRUE(g->GetCellGraphic(2, 3)->CellBoolean);  // drawn down
  Release(At(4, 6));
  EXPECT_EQ(Log(), "cell 2,3 | up");
  EXPECT_FALSE(g->GetCellGraphic(2, 3)->CellBoolean);  // drawn up again
  log.clear();
  Click(At(2, 3, 8, 8));
  EXPECT_EQ(Log(), "cell 2,3 | button 2,3");
}

TEST_F(MouseTest, FixedCellsAsButtonsClickWhereverReleased) {
  g->FixedAsButtons = true;
  LogEvents();
  Press(At(2, 0));
  Release(At(4, 5));
  EXPECT_EQ(Log(), "down | cell 2,0 | button 2,0 | up");
}

TEST_F(MouseTest, ClickAndDoubleClickEventOrder) {
  g->SetOptions(g->Options().Include(goRowSelect));
  LogEvents();
  QWindow* win = W()->window()->windowHandle();
  const QPoint p = W()->mapTo(W()->window(), At(3, 4));
  QTest::mouseDClick(win, Qt::LeftButton, {}, p);
  EXPECT_EQ(Log(), "down | cell 3,4 | click | up | dblclick | down | dblcell 3,4 | up");
}

TEST_F(MouseTest, DoubleClickOnACheckBoxFiresNoCellDoubleClick) {
  g->SetOptions(g->Options().Include(goEditing));
  g->AddCheckBox(2, 3, false, false);
  LogEvents();
  QWindow* win = W()->window()->windowHandle();
  QTest::mouseDClick(win, Qt::LeftButton, {}, W()->mapTo(W()->window(), At(2, 3)));
  EXPECT_FALSE(Log().find("dblcell") != std::string::npos) << Log();
}

// ---- sizing and moving by dragging -------------------------------------------------------------------------

TEST_F(MouseTest, SizingAColumnByItsHeaderBorderReportsTheNewWidth) {
  g->SetOptions(g->Options().Include(goColSizing));
  g->HintShowSizing = true;
  g->SetColWidths(2, 100);
  std::vector<int> sizing, ended;
  g->OnColumnSizing = [&](plat::TObject*, int c, int w) { sizing.push_back(c * 1000 + w); };
  g->OnEndColumnSize = [&](plat::TObject*, int c) { ended.push_back(c); };
  const plat::TRect r = g->CellRect(2, 0);
  Press(QPoint(r.Right - 1, 10));
  Move(QPoint(r.Right + 9, 10));
  Move(QPoint(r.Right + 19, 10));
  EXPECT_EQ(sizing.back(), 2 * 1000 + 120);
  EXPECT_EQ(g->Mouse().Hover().SizingHint, "cw=<b>120</b>");
  ASSERT_NE(g->Mouse().SizingHintWindow(), nullptr);
  EXPECT_TRUE(g->Mouse().SizingHintWindow()->Visible());
  if (qEnvironmentVariableIsSet("GRID_SHOTS")) {
    g->Mouse().SizingHintWindow()->Widget()->grab().save(qEnvironmentVariable("GRID_SHOTS") + "/sizing_hint.png");
    W()->window()->grab().save(qEnvironmentVariable("GRID_SHOTS") + "/sizing.png");
  }
  Release(QPoint(r.Right + 19, 10));
  EXPECT_EQ(g->ColWidths(2), 120);
  EXPECT_EQ(ended, std::vector<int>{2});
  EXPECT_TRUE(g->Mouse().Hover().SizingHint.isEmpty());
  EXPECT_FALSE(g->Mouse().SizingHintWindow()->Visible());
}

TEST_F(MouseTest, TheGridSizesFixedColumnsItself) {
  g->MouseActions()->SizeFixedCol = true;
  g->SetColWidths(0, 40);
  std::vector<int> ended, updated;
  g->OnEndColumnSize = [&](plat::TObject*, int c) { ended.push_back(c); };
  g->OnUpdateColumnSize = [&](plat::TObject*, int c, int& w) { updated.push_back(c * 1000 + w); };
  Move(QPoint(40, 50));
  Press(QPoint(40, 50));
  EXPECT_TRUE(g->Mouse().Gesture().Is(TMouseGesture::FixedColSizing));
  Move(QPoint(55, 50));
  Release(QPoint(65, 50));
  EXPECT_EQ(g->ColWidths(0), 65);
  EXPECT_EQ(ended, std::vector<int>{0});
  EXPECT_EQ(updated, std::vector<int>{65});
  // A release left of the column's start keeps its width.
  Move(QPoint(65, 50));
  Press(QPoint(65, 50));
  Release(QPoint(0, 50));
  EXPECT_EQ(g->ColWidths(0), 65);
}

TEST_F(MouseTest, MovingAColumnByDragTakesTheSortColumnAlongAndDoesNotSort) {
  g->SetOptions(g->Options().Include(goColMoving));
  g->SortSettings()->SetShow(true);
  g->SortSettings()->SetColumn(2);
  Drag(At(2, 0), At(4, 0));
  EXPECT_EQ(g->Cells(4, 1), "C1");
  EXPECT_EQ(g->SortSettings()->Column(), 4);
  EXPECT_EQ(Log(), "");  // no sort
  g->SortSettings()->SetColumn(5);
  Drag(At(1, 0), At(3, 0));
  EXPECT_EQ(g->SortSettings()->Column(), 5);
  g->SortSettings()->SetColumn(3);
  Drag(At(1, 0), At(3, 0));
  EXPECT_EQ(g->SortSettings()->Column(), 2);
}

TEST_F(MouseTest, DragStartsOnlyAfterMoreThanThreePixels) {
  g->DragDropSettings()->OleDropSource = true;
  g->SetSelection({2, 2, 3, 3});
  const QPoint p = At(2, 2);
  Press(p);
  QTest::mouseMove(W(), p + QPoint(3, 0));
  EXPECT_EQ(Log(), "");
  QTest::mouseMove(W(), p + QPoint(4, 0));
  EXPECT_EQ(Log(), "drag 2,2");
  Release(p + QPoint(4, 0));
  // Without a drag the release selects the pressed cell.
  g->SetSelection({2, 2, 3, 3});
  Click(At(3, 3));
  EXPECT_EQ(g->Selection(), (plat::TGridRect{3, 3, 3, 3}));
}

TEST_F(MouseTest, ColumnsOnlyDragFromANormalCellSelectsARange) {
  g->DragDropSettings()->OleDropSource = true;
  g->DragDropSettings()->OleColumnsOnly = true;
  g->SetSelection({2, 2, 2, 2});
  Press(At(2, 2));
  Move(At(3, 2));
  Move(At(4, 3));
  Release(At(4, 3));
  EXPECT_EQ(Log(), "");
  EXPECT_EQ(g->Selection(), (plat::TGridRect{2, 2, 4, 3}));
}

// ---- header clicks ---------------------------------------------------------------------------------------------

TEST_F(MouseTest, HeaderClicksSortAscendingDescendingThenUnsorted) {
  TSortSettings& s = *g->SortSettings();
  s.SetShow(true);
  s.UndoSort = true;
  std::vector<int> clicked;
  g->OnClickSort = [&](plat::TObject*, int c) { clicked.push_back(c); };
  QStringList seen;
  for (int i = 0; i < 4; ++i) {
    Click(At(2, 0));
    seen << QString("%1%2").arg(s.Column()).arg(s.Direction() == sdAscending ? "a" : "d");
  }
  EXPECT_EQ(seen.join(" ").toStdString(), "2a 2d -1a 2a");
  EXPECT_EQ(Log(), "QSort | QSort | QUnSort | QSort");
  EXPECT_EQ(clicked, (std::vector<int>{2, 2, -1, 2}));
  s.UndoSort = false;
  Click(At(2, 0));
  Click(At(2, 0));
  EXPECT_EQ(s.Direction(), sdAscending);
  Click(At(3, 0));
  EXPECT_EQ(s.Column(), 3);
  EXPECT_EQ(s.Direction(), sdAscending);
}

TEST_F(MouseTest, HeaderClickSortsOnlyFromTheSortRowAndNotInTheFilterButton) {
  g->SortSettings()->SetShow(true);
  Press(At(2, 0));
  Release(At(3, 0));  // press on one header, release on another: that one sorts
  EXPECT_EQ(g->SortSettings()->Column(), 3);
  Press(At(2, 3));
  Release(At(2, 0));
  EXPECT_EQ(g->SortSettings()->Column(), 3);
  g->FilterDropDownAuto = true;
  Click(At(4, 0, g->ColWidths(4) - 10, -1));
  EXPECT_EQ(g->SortSettings()->Column(), 3);
  g->SetRowCount(2);
  Click(At(4, 0));
  EXPECT_EQ(g->SortSettings()->Column(), 3);  // no sort with one normal row
}

TEST_F(MouseTest, IndexSortKeysFollowTheIndexKey) {
  TSortSettings& s = *g->SortSettings();
  s.SetShow(true);
  s.SetIndexShow(true);
  auto keys = [&] {
    QStringList l;
    for (std::uint32_t k : s.Keys()) l << QString("%1%2").arg(k & 0xFFFF).arg(k & 0x80000000u ? "d" : "a");
    return l.join(" ").toStdString();
  };
  Click(At(3, 0), Qt::ShiftModifier);
  Click(At(5, 0), Qt::ShiftModifier);
  EXPECT_EQ(keys(), "3a 5a");
  Click(At(5, 0));
  EXPECT_EQ(keys(), "5a");
  Click(At(5, 0));
  EXPECT_EQ(keys(), "5d");
  EXPECT_EQ(s.Column(), 5);
  EXPECT_EQ(Log(), "QSortIndexed | QSortIndexed | QSortIndexed | QSortIndexed");
}

TEST_F(MouseTest, DoubleClickOnAHeaderBorderAutoSizesWithoutSorting) {
  g->SetOptions(g->Options().Include(goColSizing));
  g->SortSettings()->SetShow(true);
  g->SetCells(2, 5, "a much longer text than the column shows");
  QWindow* win = W()->window()->windowHandle();
  const plat::TRect r3 = g->CellRect(3, 0);
  QTest::mouseDClick(win, Qt::LeftButton, {}, W()->mapTo(W()->window(), QPoint(r3.Left + 2, 10)));
  EXPECT_GT(g->ColWidths(2), 150);
  EXPECT_EQ(Log(), "");
  const int wide = g->ColWidths(2);
  g->SetColWidths(2, 60);
  const plat::TRect r2 = g->CellRect(2, 0);
  QTest::mouseDClick(win, Qt::LeftButton, {}, W()->mapTo(W()->window(), QPoint(r2.Right - 2, 10)));
  EXPECT_EQ(g->ColWidths(2), wide);
  EXPECT_EQ(g->SortSettings()->Column(), -1);
}

TEST_F(MouseTest, FixedCellEditorOpensAwayFromSizingBorders) {
  g->SetOptions(g->Options().Include(goColSizing));
  g->MouseActions()->FixedRowsEdit = fceLeftClick;
  Click(At(2, 0, 2, -1));
  EXPECT_EQ(g->HeaderClicks().FixedEdit(), nullptr);
  Click(At(2, 0, 5, -1));
  ASSERT_NE(g->HeaderClicks().FixedEdit(), nullptr);
  EXPECT_TRUE(g->HeaderClicks().FixedEdit()->Visible());
  EXPECT_EQ(g->HeaderClicks().FixedEdit()->Text(), "C0");
  EXPECT_EQ(g->HeaderClicks().FixedColEdit(), 2);
}

TEST_F(MouseTest, FilterListNearTheRightEdgeEndsAtItsColumn) {
  g->FilterDropDownAuto = true;
  g->SetColWidths(5, 40);
  for (int r = 1; r < 10; ++r) g->SetCells(5, r, QString("a rather long filter value %1").arg(r));
  const plat::TRect r = g->CellRect(5, 0);
  Click(QPoint(r.Right - 10, r.Top + 5));
  plat::TListBox* list = g->HeaderClicks().FilterList();
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->Visible());
  EXPECT_EQ(list->Left() + list->Width(), r.Right);
  EXPECT_EQ(list->Items()->Strings(0), "(All)");
}

// ---- right button -----------------------------------------------------------------------------------------------

TEST_F(MouseTest, RightClickWithSelectOnRightClickMovesAndClicks) {
  g->MouseActions()->SelectOnRightClick = true;
  LogEvents();
  QTest::mouseClick(W(), Qt::RightButton, {}, At(3, 5));
  EXPECT_EQ(g->Col(), 3);
  EXPECT_EQ(g->Row(), 5);
  EXPECT_NE(Log().find("cell 3,5"), std::string::npos) << Log();
  EXPECT_NE(Log().find("rightcell 3,5"), std::string::npos) << Log();
}

// ---- form controls in HTML cells --------------------------------------------------------------------------------

TEST_F(MouseTest, FormControlsRewriteTheirValueInTheCellText) {
  g->SetOptions(g->Options().Include(goEditing));
  g->SetColWidths(2, 200);
  g->SetRowHeights(3, 40);
  std::vector<QString> clicks;
  g->OnControlClick = [&](plat::TObject*, int, int, QString id, QString, QString) { clicks.push_back(id); };
  g->SetCells(2, 3, "<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"TRUE\" WIDTH=\"15\">");
  Click(At(2, 3, 8, 12));
  ASSERT_EQ(clicks.size(), 1u);
  QString v;
  controls::ReadControlTagValue(g->Cells(2, 3), "c1", v);
  EXPECT_EQ(v, "FALSE");
  Click(At(2, 3, 8, 12));
  controls::ReadControlTagValue(g->Cells(2, 3), "c1", v);
  EXPECT_EQ(v, "TRUE");
}

TEST_F(MouseTest, FormControlsRadioEditAndCombo) {
  g->SetOptions(g->Options().Include(goEditing));
  g->SetColWidths(2, 300);
  g->SetRowHeights(3, 40);
  QString v;
  // Three radios: the clicked one alone is TRUE.
  g->SetCells(2, 3, "<CONTROL TYPE=\"RADIO\" ID=\"r1\" VALUE=\"TRUE\" WIDTH=\"15\">"
                    "<CONTROL TYPE=\"RADIO\" ID=\"r2\" VALUE=\"FALSE\" WIDTH=\"15\">"
                    "<CONTROL TYPE=\"RADIO\" ID=\"r3\" VALUE=\"FALSE\" WIDTH=\"15\">");
  std::vector<QString> ids;
  g->OnControlClick = [&](plat::TObject*, int, int, QString id, QString, QString) { ids.push_back(id); };
  for (int x = 2; x < 80 && ids.empty(); ++x) {
    const THTMLHit hit = g->HTMLForms().HitTest(2, 3, At(2, 3, x, 12).x(), At(2, 3, x, 12).y());
    if (hit.ControlID == "r3") Click(At(2, 3, x, 12));
  }
  ASSERT_EQ(ids, std::vector<QString>{"r3"});
  for (const char* id : {"r1", "r2", "r3"}) {
    controls::ReadControlTagValue(g->Cells(2, 3), id, v);
    EXPECT_EQ(v, QString(id) == "r3" ? "TRUE" : "FALSE") << id;
  }
  // An edit control: its editor writes only its own value back.
  g->SetCells(2, 3, "Name <CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"old\" WIDTH=\"80\"> and "
                    "<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"TRUE\" WIDTH=\"15\">");
  const QString before = g->Cells(2, 3);
  std::vector<QString> done;
  g->OnControlEditDone = [&](plat::TObject*, int, int, QString id, QString, QString val) { done.push_back(id + "=" + val); };
  THTMLHit hit;
  int x = 2;
  for (; x < 200 && hit.ControlID != "e1"; ++x) hit = g->HTMLForms().HitTest(2, 3, At(2, 3, x, 12).x(), At(2, 3, x, 12).y());
  ASSERT_EQ(hit.ControlID, "e1");
  Click(At(2, 3, x, 12));
  ASSERT_TRUE(g->HTMLForms().Editing());
  g->HTMLForms().EditControl()->SetText("new");
  g->HTMLForms().EndControlEdit();
  EXPECT_EQ(done, std::vector<QString>{"e1=new"});
  QString expected = before;
  controls::WriteControlTagValue(expected, "e1", "new");
  EXPECT_EQ(g->Cells(2, 3), expected);
  controls::ReadControlTagValue(g->Cells(2, 3), "c1", v);
  EXPECT_EQ(v, "TRUE");
  // A combo whose value is not among its items opens with that text and no item chosen.
  g->OnControlComboList = [](plat::TObject*, int, int, QString, QString, QString, plat::TStringList* values, bool&,
                             int&) {
    values->Add("one");
    values->Add("two");
  };
  g->HTMLForms().StartControlEdit("<CONTROL TYPE=\"COMBO\" ID=\"k\" VALUE=\"zzz\">", "COMBO", 3, 2, 2,
                                  plat::TRect(10, 10, 90, 30), "zzz", "k");
  ASSERT_NE(g->HTMLForms().ComboControl(), nullptr);
  EXPECT_EQ(g->HTMLForms().ComboControl()->Text(), "zzz");
  EXPECT_EQ(g->HTMLForms().ComboControl()->ItemIndex(), -1);
}

TEST_F(MouseTest, DisjunctCellSelection) {
  g->MouseActions()->SetDisjunctCellSelect(true);
  Click(At(2, 3));
  Click(At(3, 4), Qt::ControlModifier);
  EXPECT_TRUE(g->SelectedCells(2, 3));
  EXPECT_TRUE(g->SelectedCells(3, 4));
  Click(At(2, 3), Qt::ControlModifier);
  EXPECT_FALSE(g->SelectedCells(2, 3));
  EXPECT_TRUE(g->SelectedCells(3, 4));
  Click(At(4, 5));
  EXPECT_EQ(g->SelectedCellsCount(), 1);
  EXPECT_TRUE(g->SelectedCells(4, 5));
}

TEST_F(MouseTest, AnchorsEnterAndExit) {
  g->SetCells(2, 3, "<a href=\"first\">first link</a>");
  g->SetCells(3, 3, "<a href=\"second\">second link</a>");
  g->OnAnchorEnter = [&](plat::TObject*, int, int, const QString& a) { log << "enter " + a; };
  g->OnAnchorExit = [&](plat::TObject*, int, int, const QString& a) { log << "exit " + a; };
  Move(At(2, 3, 6, 8));
  Move(At(3, 3, 6, 8));
  Move(At(4, 5));
  EXPECT_EQ(Log(), "enter first | enter second | exit second");
}

TEST_F(MouseTest, LeavingTheGridClearsTheHoverRow) {
  g->SetHoverRow(true);
  Move(At(3, 4));
  EXPECT_EQ(g->Mouse().Hover().HoverRowIdx, 4);
  EXPECT_EQ(g->HoverRowIdx(), 4);
  g->Perform(plat::CM_MOUSELEAVE);
  EXPECT_EQ(g->Mouse().Hover().HoverRowIdx, -1);
  EXPECT_EQ(g->HoverRowIdx(), -1);
}

TEST_F(MouseTest, CellHints) {
  g->CellObjects().AddComment(2, 3, "a note");
  QString hint;
  plat::TPoint pos;
  const plat::TRect r = g->CellRect(2, 3);
  g->GetCellHintInfo({r.Left + 5, r.Top + 5}, hint, pos);
  EXPECT_EQ(hint, "a note");
  EXPECT_EQ(pos, plat::TPoint(r.Right, r.Top));
  g->HintShowCells = true;
  g->SetCells(3, 4, "<b>bold</b> text");
  hint.clear();
  g->GetCellHintInfo(QPoint(At(3, 4)).x() == 0 ? plat::TPoint{} : plat::TPoint{At(3, 4).x(), At(3, 4).y()}, hint, pos);
  EXPECT_EQ(hint, "bold text");
  EXPECT_EQ(pos.Y, g->CellRect(3, 4).Top);
}

TEST_F(MouseTest, FixedCellEditorOfColumnZeroUsesTheFixedColumnsEditor) {
  g->MouseActions()->FixedRowsEdit = fceLeftClick;
  g->MouseActions()->FixedColsEditor = fceComboList;
  g->MouseActions()->FixedComboValues()->Add("x");
  Click(At(0, 0));
  ASSERT_NE(g->HeaderClicks().FixedCombo(), nullptr);
  EXPECT_TRUE(g->HeaderClicks().FixedCombo()->Visible());
  EXPECT_EQ(g->HeaderClicks().FixedEdit(), nullptr);
}

TEST_F(MouseTest, SelectionChangesWhileDraggingARange) {
  int changes = 0;
  g->OnSelectionChanged = [&](plat::TObject*) { ++changes; };
  Press(At(2, 2));
  const int afterPress = changes;
  Move(At(3, 3));
  EXPECT_GT(changes, afterPress);
  Release(At(3, 3));
  EXPECT_EQ(g->Selection(), (plat::TGridRect{2, 2, 3, 3}));
}

TEST_F(MouseTest, RangeSelectAndEditEditsOnTheSecondClick) {
  g->MouseActions()->RangeSelectAndEdit = true;
  Click(At(3, 4));
  EXPECT_FALSE(g->EditorMode());
  EXPECT_EQ(g->Col(), 3);
  Click(At(3, 4));
  EXPECT_TRUE(g->EditorMode());
}

TEST_F(MouseTest, EditOnDoubleClickOnly) {
  g->MouseActions()->SetEditOnDblClickOnly(true);
  Click(At(3, 4));
  EXPECT_FALSE(g->EditorMode());
  QTest::mouseDClick(W()->window()->windowHandle(), Qt::LeftButton, {}, W()->mapTo(W()->window(), At(3, 4)));
  EXPECT_TRUE(g->EditorMode());
  EXPECT_EQ(g->Col(), 3);
  EXPECT_EQ(g->Row(), 4);
}

TEST_F(MouseTest, GridFollowsItsOwnerFormsSize) {
  int previous = 0;
  form->OnResize = [&](plat::TObject*) {
    ++previous;
    throw std::runtime_error("the form's own handler fails");
  };
  g->SetSizeWithForm(true);
  form->SetBounds(0, 0, 490, 350);
  EXPECT_EQ(g->Width(), 470);
  EXPECT_EQ(g->Height(), 310);
  EXPECT_GE(previous, 1);
  g->SetSizeWithForm(false);
  form->SetBounds(0, 0, 500, 360);
  EXPECT_EQ(g->Width(), 470);
}

TEST_F(MouseTest, DisjunctRowsByCtrlClick) {
  g->MouseActions()->SetDisjunctRowSelect(true);
  Click(At(2, 3));
  Click(At(2, 5), Qt::ControlModifier);
  EXPECT_TRUE(g->GetRowSelect(3));
  EXPECT_TRUE(g->GetRowSelect(5));
  Click(At(2, 3), Qt::ControlModifier);
  EXPECT_FALSE(g->GetRowSelect(3));
  EXPECT_TRUE(g->GetRowSelect(5));
  Click(At(2, 7));
  EXPECT_FALSE(g->GetRowSelect(5));
  EXPECT_TRUE(g->GetRowSelect(7));
}

}  // namespace
}  // namespace grid
