// The string grid's keyboard: Home/End by HomeEndKey, scroll-only moves, wrapping, row moving, Insert and
// Delete rows, select all, check boxes by Space, Enter without editing, typed characters and the
// incremental search, each driven through key messages on a shown grid.
#include <QTimer>

#include "platform/forms/stdctrls.h"

#include "grid/input/tests/input_fixture.h"

namespace grid {
namespace {

using plat::TPoint;
using plat::TShiftState;
using plat::ssCtrl;
using plat::ssShift;

struct HomeEndCase {
  THomeEndAction action;
  std::uint16_t key;
  TShiftState shift;
  TPoint from, to;
  const char* what;
};

TEST_F(GridInput, HomeAndEndFollowTheHomeEndSetting) {
  const HomeEndCase cases[] = {
      {heFirstLastCell, plat::VK_HOME, {}, {3, 4}, {1, 1}, "first cell"},
      {heFirstLastCell, plat::VK_END, {}, {3, 4}, {5, 7}, "last cell"},
      {heFirstLastCell, plat::VK_END, {ssCtrl}, {3, 4}, {5, 7}, "Ctrl+End: standard"},
      {heFirstLastRow, plat::VK_HOME, {}, {3, 4}, {3, 1}, "first row, same column"},
      {heFirstLastRow, plat::VK_END, {}, {3, 4}, {3, 7}, "last row"},
      {heFirstLastColumn, plat::VK_HOME, {}, {3, 4}, {1, 4}, "first column"},
      {heFirstLastColumn, plat::VK_END, {}, {3, 4}, {5, 4}, "last column"},
      {heFirstLastColumn, plat::VK_HOME, {ssCtrl}, {3, 4}, {1, 1}, "Ctrl+Home: first row, first column"},
  };
  for (const HomeEndCase& c : cases) {
    g->Navigation()->HomeEndKey = c.action;
    g->FocusCell(c.from.X, c.from.Y);
    std::uint16_t seen = 0;
    g->OnKeyDown = [&](plat::TObject*, std::uint16_t& k, TShiftState) { seen = k; };
    Key(c.key, c.shift);
    EXPECT_EQ(Cell(), c.to) << c.what;
    EXPECT_EQ(seen, c.key) << c.what << ": OnKeyDown sees the key";
  }
}

TEST_F(GridInput, EndOfRowsStopsAboveTheFloatingFooter) {
  g->FloatingFooter()->SetVisible(true);
  g->Navigation()->HomeEndKey = heFirstLastRow;
  g->FocusCell(2, 2);
  Key(plat::VK_END);
  EXPECT_EQ(Cell(), TPoint(2, 6));
}

TEST_F(GridInput, ShiftHomeEndSelectsTheRowPart) {
  g->SetOptions(g->Options() + plat::TGridOptions{plat::goRangeSelect});
  g->FocusCell(3, 4);
  Key(plat::VK_END, {ssShift});
  EXPECT_EQ(g->Selection(), (plat::TGridRect{3, 4, 5, 4}));
  g->FocusCell(3, 4);
  Key(plat::VK_HOME, {ssShift});
  EXPECT_EQ(g->Selection(), (plat::TGridRect{1, 4, 3, 4}));
}

TEST_F(GridInput, MoveScrollOnlyMovesTheViewNotTheCell) {
  g->SetRowCount(40);
  g->Navigation()->MoveScrollOnly = true;
  g->FocusCell(2, 3);
  const int page = g->VisibleRowCount();
  Key(plat::VK_NEXT);
  EXPECT_EQ(g->TopRow(), 1 + page);
  Key(plat::VK_DOWN);
  EXPECT_EQ(g->TopRow(), 2 + page);
  Key(plat::VK_PRIOR);  // a page up from further down: one page
  EXPECT_EQ(g->TopRow(), 2);
  Key(plat::VK_NEXT);
  Key(plat::VK_UP);
  EXPECT_EQ(g->TopRow(), 1 + page);
  Key(plat::VK_PRIOR);  // near the top: back to the first normal row
  EXPECT_EQ(g->TopRow(), 1);
  Key(plat::VK_END);
  EXPECT_EQ(g->TopRow(), 40 - page);
  Key(plat::VK_DOWN);  // at the last page nothing moves
  EXPECT_EQ(g->TopRow(), 40 - page);
  Key(plat::VK_HOME);
  EXPECT_EQ(g->TopRow(), 1);
  EXPECT_EQ(Cell(), TPoint(2, 3));
}

struct WrapCase {
  TCursorAdvance advance;
  std::uint16_t key;
  TPoint from, to;
};

TEST_F(GridInput, CursorAdvanceWrapsAtTheEdges) {
  const WrapCase cases[] = {
      {caSnake, plat::VK_RIGHT, {5, 3}, {1, 4}}, {caLoop, plat::VK_RIGHT, {5, 3}, {1, 3}},
      {caSnake, plat::VK_LEFT, {1, 3}, {5, 2}},  {caLoop, plat::VK_LEFT, {1, 3}, {5, 3}},
      {caSnake, plat::VK_DOWN, {2, 7}, {3, 1}},  {caLoop, plat::VK_UP, {2, 1}, {2, 7}},
      {caDefault, plat::VK_RIGHT, {5, 3}, {5, 3}},
  };
  for (const WrapCase& c : cases) {
    g->Navigation()->CursorAdvance = c.advance;
    g->FocusCell(c.from.X, c.from.Y);
    Key(c.key);
    EXPECT_EQ(Cell(), c.to) << "advance " << c.advance << " key " << c.key;
  }
}

TEST_F(GridInput, CtrlDownMovesTheSelectedRowsAndKeepsThemSelected) {
  g->Navigation()->CursorMoveRows = true;
  g->SetOptions(g->Options() + plat::TGridOptions{plat::goRangeSelect});
  g->SetSelection({1, 2, 5, 4});
  Key(plat::VK_DOWN, {ssCtrl});
  EXPECT_EQ(g->Cells(1, 2), "1:5") << "the row below the block moved above it";
  EXPECT_EQ(g->Cells(1, 3), "1:2");
  EXPECT_EQ(g->Cells(1, 5), "1:4");
  EXPECT_EQ(g->Selection().Top, 3);
  EXPECT_EQ(g->Selection().Bottom, 5);
  g->FocusCell(2, 3);
  Key(plat::VK_UP, {ssCtrl});
  EXPECT_EQ(g->Cells(1, 2), "1:2");
  EXPECT_EQ(g->Row(), 2);
}

TEST_F(GridInput, InsertAddsARowWhereTheSettingSays) {
  g->Navigation()->AllowInsertRow = true;
  std::vector<int> inserted;
  g->OnAutoInsertRow = [&](plat::TObject*, int r) { inserted.push_back(r); };
  g->FocusCell(2, 7);
  g->Navigation()->InsertPosition = pInsertAfter;
  Key(plat::VK_INSERT);
  EXPECT_EQ(g->RowCount(), 9);
  EXPECT_EQ(g->Row(), 8) << "after the last row: the cursor is on the new row";
  EXPECT_EQ(g->Cells(1, 8), "");
  g->Navigation()->InsertPosition = pInsertBefore;
  g->FocusCell(2, 3);
  Key(plat::VK_INSERT);
  EXPECT_EQ(g->Row(), 3) << "before: the cursor stays at the index of the new row";
  EXPECT_EQ(g->Cells(1, 3), "");
  EXPECT_EQ(g->Cells(1, 4), "1:3");
  EXPECT_EQ(inserted, (std::vector<int>{8, 3}));
  g->OnCanInsertRow = [](plat::TObject*, int, bool& can) { can = false; };
  Key(plat::VK_INSERT);
  EXPECT_EQ(g->RowCount(), 10);
}

TEST_F(GridInput, DeleteRemovesTheRowTheCursorShows) {
  g->Navigation()->AllowDeleteRow = true;
  g->HideRow(2);  // a hidden row above the cursor must not shift the removal
  g->FocusCell(1, 3);
  const QString shown = g->Cells(1, 3);
  int told = -1;
  g->OnAutoDeleteRow = [&](plat::TObject*, int r) { told = r; };
  Key(plat::VK_DELETE);
  EXPECT_EQ(g->RowCount(), 6);
  for (int r = 1; r < g->RowCount(); ++r) EXPECT_NE(g->Cells(1, r), shown) << "row " << r;
  EXPECT_EQ(told, 4) << "the event names the real row";
  g->OnCanDeleteRow = [](plat::TObject*, int, bool& can) { can = false; };
  Key(plat::VK_DELETE);
  EXPECT_EQ(g->RowCount(), 6);
}

TEST_F(GridInput, DeleteOnTheOnlyNormalRowEmptiesIt) {
  g->Navigation()->AllowDeleteRow = true;
  g->SetRowCount(2);
  g->FocusCell(1, 1);
  Key(plat::VK_DELETE);
  EXPECT_EQ(g->RowCount(), 2);
  EXPECT_EQ(g->Cells(1, 1), "");
}

TEST_F(GridInput, CtrlASelectsOnlyNormalCells) {
  g->SetOptions(g->Options() + plat::TGridOptions{plat::goRangeSelect});
  g->SetFixedRightCols(1);
  g->FloatingFooter()->SetVisible(true);
  g->FocusCell(2, 2);
  Key('A', {ssCtrl});
  EXPECT_EQ(g->Selection(), (plat::TGridRect{1, 1, 4, 6}));
  EXPECT_EQ(Cell(), TPoint(4, 6));
}

TEST_F(GridInput, SpaceTogglesACheckBoxOnlyWhenItMay) {
  g->AddCheckBox(2, 3, false, false);
  g->FocusCell(2, 3);
  int clicks = 0;
  g->OnCheckBoxClick = [&](plat::TObject*, int, int, bool) { ++clicks; };
  Key(plat::VK_SPACE);
  EXPECT_FALSE(g->IsChecked(2, 3)) << "no editing, not always active";
  g->ControlLook()->CheckAlwaysActive = true;
  Key(plat::VK_SPACE);
  EXPECT_TRUE(g->IsChecked(2, 3));
  EXPECT_EQ(clicks, 1);
}

TEST_F(GridInput, EnterWithoutEditingReachesTheFormOnlyWithKeyPreview) {
  int formSaw = 0, gridSaw = 0;
  form->OnKeyDown = [&](plat::TObject*, std::uint16_t& k, TShiftState) {
    if (k == plat::VK_RETURN) ++formSaw;
  };
  g->OnKeyDown = [&](plat::TObject*, std::uint16_t& k, TShiftState) {
    if (k == plat::VK_RETURN) ++gridSaw;
  };
  Key(plat::VK_RETURN);
  EXPECT_EQ(formSaw, 0);
  EXPECT_EQ(gridSaw, 1);
  form->SetKeyPreview(true);
  Key(plat::VK_RETURN);
  EXPECT_EQ(formSaw, 1);
}

TEST_F(GridInput, AppendOnArrowDownAddsARowAtTheEnd) {
  g->Navigation()->AppendOnArrowDown = true;
  int added = -1;
  g->OnAutoAddRow = [&](plat::TObject*, int r) { added = r; };
  g->FocusCell(2, 7);
  Key(plat::VK_DOWN);
  EXPECT_EQ(g->RowCount(), 9);
  EXPECT_EQ(g->Row(), 8);
  EXPECT_EQ(added, 8);
  EXPECT_EQ(g->Cells(2, 8), "");
}

TEST_F(GridInput, AppendKeepsTheFloatingFooterLast) {
  g->Navigation()->AppendOnArrowDown = true;
  g->FloatingFooter()->SetVisible(true);
  g->SetCells(2, 7, "sum");
  g->FocusCell(2, 6);
  Key(plat::VK_DOWN);
  EXPECT_EQ(g->RowCount(), 9);
  EXPECT_EQ(g->Cells(2, 8), "sum");
  EXPECT_EQ(g->Cells(2, 7), "");
  EXPECT_EQ(g->Row(), 7);
}

TEST_F(GridInput, SkipFixedCellsJumpsOverCellsReportedFixed) {
  g->OnIsFixedCell = [](plat::TObject*, int r, int c, bool& fixed) { fixed = c == 3 && r >= 1; };
  g->FocusCell(2, 2);
  Key(plat::VK_RIGHT);
  EXPECT_EQ(Cell(), TPoint(4, 2));
  Key(plat::VK_LEFT);
  EXPECT_EQ(Cell(), TPoint(2, 2));
}

TEST_F(GridInput, TypingOpensTheEditorWithTheCharacter) {
  Edit();
  g->FocusCell(2, 2);
  char16_t seen = 0;
  g->OnKeyPress = [&](plat::TObject*, char16_t& k) { seen = k; };
  Char(u'x');
  EXPECT_EQ(seen, u'x');
  EXPECT_TRUE(g->EditorMode());
  EXPECT_EQ(g->Keys().StartEditChar, u'x');
}

TEST_F(GridInput, TheKeypadDecimalKeyTypesTheLocaleSeparator) {
  Edit();
  g->ExcelStyleDecimalSeparator = true;
  const QChar old = plat::FormatSettings.DecimalSeparator;
  plat::FormatSettings.DecimalSeparator = u',';
  char16_t seen = 0;
  g->OnKeyPress = [&](plat::TObject*, char16_t& k) { seen = k; };
  g->FocusCell(2, 2);
  Char(u'.', 1 | (1 << 24));
  EXPECT_EQ(seen, u',');
  g->SetEditorMode(false);
  Char(u'.');
  EXPECT_EQ(seen, u'.') << "the main keyboard's point stays";
  plat::FormatSettings.DecimalSeparator = old;
}

// A grid whose search answers the first row whose column-1 text starts with the text.
struct SearchGrid : TExtStringGrid {
  using TExtStringGrid::TExtStringGrid;
  int Search(const QString& S) override {
    for (int r = FixedRows(); r < RowCount(); ++r)
      if (Cells(1, r).toUpper().startsWith(S)) return r;
    return -1;
  }
};

TEST_F(GridInput, IncrementalSearchTextExpiresAfterFourTicks) {
  auto* s = new SearchGrid(form.get());
  s->SetParent(form.get());
  s->SetRowCount(5);
  s->SetCells(1, 1, "apple");
  s->SetCells(1, 2, "abc");
  s->SetCells(1, 3, "bee");
  s->Navigation()->AutoGotoWhenSorted = true;
  s->Navigation()->AutoGotoIncremental = true;
  s->Perform(plat::WM_CHAR, 'a', 1);
  s->Perform(plat::WM_CHAR, 'b', 1);
  EXPECT_EQ(s->SearchInc(), "ab");
  EXPECT_EQ(s->Row(), 2);
  s->GridTimerTick();
  s->GridTimerTick();  // one second later: the text still lives
  s->Perform(plat::WM_CHAR, 'c', 1);
  EXPECT_EQ(s->SearchInc(), "abc");
  for (int i = 0; i < 4; ++i) s->GridTimerTick();
  EXPECT_EQ(s->SearchInc(), "");
  s->Perform(plat::WM_CHAR, 'x', 1);  // nothing found: a new search starts with the next key
  EXPECT_EQ(s->SearchInc(), "");
}

// The blink tick repaints only cells in view that carry a blink tag, and the text shows in one phase only.
TEST_F(GridInput, BlinkTicksRepaintOnlyBlinkingCellsInView) {
  g->SetRowCount(100);
  g->EnableBlink = true;
  g->SetCells(2, 60, "<BLINK>far</BLINK>");
  int paints = 0;
  g->Renderer().OnPainted = [&](plat::TObject*) { ++paints; };
  QApplication::processEvents();
  paints = 0;
  g->GridTimerTick();
  QApplication::processEvents();
  EXPECT_EQ(paints, 0) << "the only blinking cell is out of view";
  g->SetCells(2, 0, "<BLINK>WWWW</BLINK>");
  QApplication::processEvents();
  const plat::TRect r = g->CellRect(2, 0);
  const QRect cell(r.Left, r.Top, r.Width(), r.Height());
  std::vector<QImage> phases;
  for (int i = 0; i < 2; ++i) {
    paints = 0;
    const bool before = g->GridBlink();
    g->GridTimerTick();
    EXPECT_NE(g->GridBlink(), before);
    QApplication::processEvents();
    EXPECT_GE(paints, 1) << "the fixed row's blinking cell repaints on tick " << i;
    phases.push_back(g->Widget()->grab(cell).toImage());
  }
  EXPECT_NE(phases[0], phases[1]) << "the text shows in one phase and not in the other";
}

}  // namespace
}  // namespace grid

namespace grid {
namespace {

TEST_F(GridInput, FocusReturningWithAlwaysEditOpensTheEditorOnAVisibleEditableCell) {
  auto* other = new plat::TEdit(form.get());
  other->SetParent(form.get());
  other->SetBounds(0, 300, 80, 20);
  QApplication::setActiveWindow(form->Widget());
  Edit();
  g->Navigation()->AlwaysEdit = true;
  g->FocusCell(2, 2);
  other->SetFocus();
  QApplication::processEvents();
  g->SetFocus();
  QApplication::processEvents();
  EXPECT_TRUE(g->EditorMode());
  g->SetEditorMode(false);
  g->SetReadOnly(3, 3, true);
  g->FocusCell(3, 3);
  other->SetFocus();
  QApplication::processEvents();
  g->SetEditorMode(false);
  g->SetFocus();
  QApplication::processEvents();
  EXPECT_FALSE(g->EditorMode()) << "a read-only cell gets no editor";
}

}  // namespace
}  // namespace grid
