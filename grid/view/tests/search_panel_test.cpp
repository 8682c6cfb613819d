// The grid's find, highlighting and cell checking with the grid's own text services, and the search panel
// below the cells driven as a user drives it: by the keyboard alone (Ctrl+F, typing, Enter, Ctrl+Enter, Alt with
// an accelerator, Escape) and by mouse clicks on its buttons. A picture of the panel goes to $SHOTS_DIR.
#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include "controls/ext_check_box.h"
#include "controls/ext_grid_button.h"
#include "controls/grid_check.h"
#include "controls/ret_edit.h"
#include "grid/extgrid.h"
#include "grid/view/search_panel.h"
#include "platform/forms/forms.h"
#include "platform/forms/messages.h"

namespace grid {
namespace {

using plat::TPoint;
constexpr TPoint kNone{-1, -1};

struct SearchGrid : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TExtStringGrid* g = new TExtStringGrid(form.get());
  int created = 0;
  std::vector<std::tuple<QString, int, int, int>> actions;

  SearchGrid() {
    form->SetBounds(0, 0, 620, 320);
    g->SetParent(form.get());
    g->SetBounds(0, 0, 600, 300);
    g->SetColCount(4);
    g->SetRowCount(12);
    g->SetDefaultRowHeight(22);
    const char* names[] = {"Berlin", "Bonn", "Bremen", "Hamburg", "Munich", "Cologne",
                           "Frankfurt", "Stuttgart", "Dresden", "Leipzig", "Hanover"};
    for (int r = 1; r < 12; ++r) {
      g->SetCells(0, r, QString::number(r));
      g->SetCells(1, r, QString::fromLatin1(names[r - 1]));
      g->SetCells(2, r, QStringLiteral("meter %1").arg(r));
    }
    g->SetCells(1, 0, QStringLiteral("City"));
    g->OnCreatedSearchFooter = [this](plat::TObject*, plat::TControl*) { ++created; };
    g->OnSearchFooterAction = [this](plat::TObject*, QString V, int C, int R, int A) {
      actions.emplace_back(V, C, R, A);
    };
  }
  void ShowFooter() {
    TSearchFooter& f = *g->SearchFooter();
    f.SetFindNextCaption(QStringLiteral("Find &next"));
    f.SetFindPrevCaption(QStringLiteral("Find &previous"));
    f.SetMatchCaseCaption(QStringLiteral("Match case"));
    f.SetHighLightCaption(QStringLiteral("&Highlight"));
    f.SetHintClose(QStringLiteral("Close"));
    f.SetVisible(true);
    form->Show();
    QApplication::setActiveWindow(form->Widget());
    QApplication::processEvents();
  }
  TSearchPanel& Panel() { return *g->SearchPanel(); }
  controls::TRetEdit& Edit() { return *Panel().EditControl(); }
  void Type(const char* Text) { QTest::keyClicks(Edit().Widget(), Text); }
  void Key(Qt::Key K, Qt::KeyboardModifiers M = {}) { QTest::keyClick(Edit().Widget(), K, M); }
  void Click(plat::TControl* C) {
    QWidget* top = C->Widget()->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {},
                      C->Widget()->mapTo(top, QPoint(C->Width() / 2, C->Height() / 2)));
    QApplication::processEvents();
  }
  TPoint Current() const { return {g->Col(), g->Row()}; }
};

TEST_F(SearchGrid, ThePanelShowsBelowTheCellsAndGoesAgain) {
  EXPECT_EQ(g->SearchPanel(), nullptr);  // made the first time the footer shows
  ShowFooter();
  ASSERT_NE(g->SearchPanel(), nullptr);
  EXPECT_EQ(created, 1);
  EXPECT_TRUE(Panel().Visible());
  EXPECT_EQ(Panel().Height(), 32);
  EXPECT_GT(Panel().Top(), 200);  // at the bottom of the grid, across it
  EXPECT_GT(Panel().Width(), 550);
  EXPECT_EQ(Panel().FindNextCaption, QStringLiteral("Find &next"));
  EXPECT_EQ(Panel().ForwardButton()->Caption(), QStringLiteral("Find next"));  // drawn without the mark
  // The panel fills the bottom of the grid's client area: nothing of the grid shows below it.
  EXPECT_EQ(Panel().Top() + Panel().Height(), g->ClientRect().Bottom + 32);
  EXPECT_TRUE(Panel().ExitButton()->ShowHint());
  EXPECT_FALSE(Panel().ForwardButton()->ShowHint());  // no hint text, no hint
  // The match-case box moves left when the highlight button is hidden.
  EXPECT_EQ(Panel().MatchCase()->Left(), 425);
  g->SearchFooter()->SetShowHighLight(false);
  EXPECT_EQ(Panel().MatchCase()->Left(), 330);
  EXPECT_EQ(Panel().HiliteButton()->Height(), 0);

  bool closed = false;
  g->OnSearchFooterClose = [&](plat::TObject*) { closed = true; };
  Click(Panel().ExitButton());
  EXPECT_TRUE(closed);
  EXPECT_FALSE(g->SearchFooter()->Visible());
  EXPECT_FALSE(Panel().Visible());
  EXPECT_EQ(Panel().Height(), 0);
  EXPECT_EQ(created, 1);
}

TEST_F(SearchGrid, ButtonsAreEnabledExactlyWhileTheBoxHoldsText) {
  ShowFooter();
  controls::TExtGridButton* buttons[] = {Panel().ForwardButton(), Panel().BackwardButton(), Panel().HiliteButton()};
  for (auto* b : buttons) EXPECT_FALSE(b->Enabled());
  Edit().SetFocus();
  Type("x");
  for (auto* b : buttons) EXPECT_TRUE(b->Enabled());
  Key(Qt::Key_Backspace);
  for (auto* b : buttons) EXPECT_FALSE(b->Enabled());
}

TEST_F(SearchGrid, KeyboardAloneFindsNextPreviousAndCloses) {
  ShowFooter();
  g->SetFocus();
  QApplication::processEvents();
  QTest::keyClick(g->Widget(), Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(Edit().Focused());

  // Typing searches from the first cell, column by column.
  Type("b");
  EXPECT_EQ(Current(), TPoint(1, 1));  // Berlin
  EXPECT_EQ(actions.back(), std::make_tuple(QStringLiteral("b"), 1, 1, int(saFindFirst)));
  Type("r");
  EXPECT_EQ(Current(), TPoint(1, 3));  // Bremen
  Key(Qt::Key_Backspace);
  Key(Qt::Key_Return);
  EXPECT_EQ(Current(), TPoint(1, 2));  // Bonn
  EXPECT_EQ(std::get<3>(actions.back()), int(saFindNext));
  Key(Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(Current(), TPoint(1, 1));
  EXPECT_EQ(std::get<3>(actions.back()), int(saFindPrevious));
  // Alt with the accelerator of a button's caption presses it.
  Key(Qt::Key_N, Qt::AltModifier);
  EXPECT_EQ(Current(), TPoint(1, 2));
  Key(Qt::Key_P, Qt::AltModifier);
  EXPECT_EQ(Current(), TPoint(1, 1));
  EXPECT_EQ(Edit().Text(), QStringLiteral("b"));

  // A text nowhere in the grid turns the box red; the current cell stays.
  Type("zz");
  EXPECT_EQ(Edit().Color(), plat::clRed);
  EXPECT_EQ(Current(), TPoint(1, 1));
  Key(Qt::Key_Backspace);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(Edit().Color(), plat::clWindow);

  // Tab reaches the match-case box and Space checks it.
  Key(Qt::Key_Tab);
  ASSERT_TRUE(Panel().MatchCase()->Focused());
  QTest::keyClick(Panel().MatchCase()->Widget(), Qt::Key_Space);
  EXPECT_TRUE(Panel().MatchCase()->Checked());

  Edit().SetFocus();
  Key(Qt::Key_Escape);
  EXPECT_FALSE(g->SearchFooter()->Visible());
}

TEST_F(SearchGrid, MatchCaseBoxAndColumnSettingsShapeTheSearch) {
  ShowFooter();
  g->SetCells(2, 4, QStringLiteral("hamburger"));
  Edit().SetFocus();
  Type("ham");
  EXPECT_EQ(Current(), TPoint(1, 4));
  g->SearchFooter()->SearchColumn = 2;
  Panel().MatchCase()->SetChecked(true);
  Key(Qt::Key_Backspace);
  Type("m");
  EXPECT_EQ(Current(), TPoint(2, 4));  // only column 2, and with case
  Key(Qt::Key_Backspace);
  Key(Qt::Key_Backspace);
  Key(Qt::Key_Backspace);
  Type("Ham");
  EXPECT_EQ(Edit().Color(), plat::clRed);
}

TEST_F(SearchGrid, MouseClicksOnTheButtonsSearchAndHighlight) {
  ShowFooter();
  g->SearchFooter()->AutoSearch = false;
  Edit().SetFocus();
  Type("er");
  EXPECT_EQ(Current(), TPoint(1, 1));  // nothing searched while typing
  Click(Panel().ForwardButton());
  EXPECT_EQ(Current(), TPoint(1, 1));  // Berlin
  Click(Panel().ForwardButton());
  EXPECT_EQ(Current(), TPoint(1, 11));  // Hanover
  EXPECT_EQ(actions.back(), std::make_tuple(QStringLiteral("er"), 1, 11, int(saFindNext)));
  Click(Panel().BackwardButton());
  EXPECT_EQ(Current(), TPoint(1, 1));
  // A changed text starts from the first cell again.
  Type("l");
  Click(Panel().ForwardButton());
  EXPECT_EQ(Current(), TPoint(1, 1));
  EXPECT_EQ(g->SearchFooter()->LastSearch, QStringLiteral("erl"));

  Click(Panel().HiliteButton());
  ASSERT_TRUE(Panel().HiliteButton()->Down());
  EXPECT_EQ(g->Cells(1, 1), QStringLiteral("B<hi>erl</hi>in"));
  EXPECT_EQ(g->Cells(1, 2), QStringLiteral("Bonn"));
  Click(Panel().HiliteButton());
  EXPECT_FALSE(Panel().HiliteButton()->Down());
  EXPECT_EQ(g->Cells(1, 1), QStringLiteral("Berlin"));
}

TEST_F(SearchGrid, HighlightFollowsTheTypingWhileTheButtonIsDown) {
  ShowFooter();
  Edit().SetFocus();
  Type("b");
  Panel().HiliteButton()->SetDown(true);
  Type("o");
  EXPECT_EQ(g->Cells(1, 2), QStringLiteral("<hi>Bo</hi>nn"));
  EXPECT_EQ(g->Cells(1, 1), QStringLiteral("Berlin"));
  EXPECT_EQ(Current(), TPoint(1, 2));  // found through the tags
  Key(Qt::Key_Backspace);
  EXPECT_EQ(g->Cells(1, 2), QStringLiteral("<hi>B</hi>onn"));
  Key(Qt::Key_Backspace);
  EXPECT_EQ(g->Cells(1, 2), QStringLiteral("Bonn"));
  // Hiding the footer with the button down takes the highlighting away.
  Type("n");
  g->SearchFooter()->SetVisible(false);
  EXPECT_EQ(g->Cells(1, 2), QStringLiteral("Bonn"));
}

TEST_F(SearchGrid, AcceleratorsReachTheButtonsThroughTheGrid) {
  ShowFooter();
  Edit().SetFocus();
  Type("en");
  EXPECT_EQ(Current(), TPoint(1, 3));
  plat::TMessage m{plat::CM_DIALOGCHAR, u'n', 0, 0};
  g->WindowProc(m);
  EXPECT_EQ(m.Result, 1);
  EXPECT_EQ(Current(), TPoint(1, 9));  // Dresden, the next after Bremen
  plat::TMessage none{plat::CM_DIALOGCHAR, u'q', 0, 0};
  g->WindowProc(none);
  EXPECT_EQ(none.Result, 0);
}

// ---- the grid's operations with its own text services

TEST_F(SearchGrid, FindWithAutoGotoMovesTheCurrentCellAndPatternsUseTheFilterExpressions) {
  EXPECT_EQ(g->Find(kNone, QStringLiteral("dres"), {fnAutoGoto}), TPoint(1, 9));
  EXPECT_EQ(Current(), TPoint(1, 9));
  EXPECT_EQ(g->FindFirst(QStringLiteral("b*nn"), {fnMatchRegular}), TPoint(1, 2));  // Bonn, not Berlin
  EXPECT_EQ(g->FindFirst(QStringLiteral("*1?"), {fnMatchRegular}), TPoint(2, 10));
  EXPECT_EQ(g->FindNext(), TPoint(2, 11));
  g->SetCells(3, 5, QStringLiteral("<b>bo</b>ld"));
  EXPECT_EQ(g->FindFirst(QStringLiteral("bold"), {fnIgnoreHTMLTags}), TPoint(3, 5));
  EXPECT_FALSE(g->FindBusy());
}

TEST_F(SearchGrid, HiddenColumnsAndRowsAreSearchedOnlyWhenAsked) {
  g->HideColumn(2);
  EXPECT_EQ(g->FindFirst(QStringLiteral("meter 3"), {}), kNone);
  EXPECT_EQ(g->FindFirst(QStringLiteral("meter 3"), {fnIncludeHiddenColumns}), TPoint(2, 3));
  g->UnHideColumnsAll();
  g->HideRow(4);
  EXPECT_EQ(g->FindFirst(QStringLiteral("Hamburg"), {}), kNone);
  EXPECT_EQ(g->FindFirst(QStringLiteral("Hamburg"), {fnIncludeHiddenRows}), TPoint(1, 4));
}

TEST_F(SearchGrid, ReplaceMarksChangedRowsModified) {
  g->ShowModified()->Enabled = true;
  EXPECT_EQ(g->Replace(QStringLiteral("meter"), QStringLiteral("Meter"), {}), 11);
  EXPECT_EQ(g->Cells(2, 5), QStringLiteral("Meter 5"));
  EXPECT_TRUE(g->RowModified(5));
  EXPECT_FALSE(g->RowModified(0));
}

TEST_F(SearchGrid, HighlightEscapesTagCharactersAndRemovingGivesTheTextBack) {
  g->SetCells(3, 2, QStringLiteral("a<b c"));
  g->HilightInCell(3, 2, QStringLiteral("a<b"), false);
  EXPECT_EQ(g->Cells(3, 2), QStringLiteral("<hi>a&lt;b</hi> c"));
  g->UnHilightInCell(3, 2);
  EXPECT_EQ(g->Cells(3, 2), QStringLiteral("a<b c"));
  // Marks and highlights are separate tags.
  g->MarkInRow(false, true, 4, QStringLiteral("Ham"));
  EXPECT_EQ(g->Cells(1, 4), QStringLiteral("<e>Ham</e>burg"));
  EXPECT_EQ(g->Cells(2, 4), QStringLiteral("meter 4"));
  g->UnMarkInGrid(false);
  EXPECT_EQ(g->Cells(1, 4), QStringLiteral("Hamburg"));
  g->HilightInCol(false, false, 1, QStringLiteral("BURG"));
  EXPECT_EQ(g->Cells(1, 4), QStringLiteral("Ham<hi>burg</hi>"));
  g->UnHilightInGrid(false);
  EXPECT_EQ(g->Cells(1, 4), QStringLiteral("Hamburg"));
  EXPECT_EQ(g->Cells(1, 0), QStringLiteral("City"));  // fixed cells untouched without DoFixed
  EXPECT_EQ(g->HilightText(true, QStringLiteral("aAa"), QStringLiteral("a")), QStringLiteral("<hi>a</hi>A<hi>a</hi>"));
  EXPECT_EQ(g->UnMarkText(QStringLiteral("<E>x</E>")), QStringLiteral("x"));
}

struct LowerCaseChecker : controls::TExtStringGridCheck {
  LowerCaseChecker() : controls::TExtStringGridCheck(nullptr) {}
  QString Correct(int, int, const QString& S) override { return S.toLower(); }
};

TEST_F(SearchGrid, CellCheckerRunsOverTheCellsAndPutsTheCurrentCellBack) {
  EXPECT_TRUE(g->CheckGrid(false));  // no checker: every cell passes
  LowerCaseChecker checker;
  checker.SetUseCorrect(true);
  checker.SetGotoCell(true);
  g->CellChecker = &checker;
  g->SetRow(5), g->SetCol(2);
  EXPECT_FALSE(g->CheckCol(false, 1));
  EXPECT_EQ(g->Cells(1, 1), QStringLiteral("berlin"));
  EXPECT_EQ(g->Cells(1, 11), QStringLiteral("hanover"));
  EXPECT_EQ(g->Cells(1, 0), QStringLiteral("City"));
  EXPECT_EQ(Current(), TPoint(2, 5));
  EXPECT_TRUE(g->CheckCol(false, 1));
  g->CellChecker = nullptr;
}

TEST_F(SearchGrid, TypedCharactersLookUpTheSortColumn) {
  form->Show();
  g->Navigation()->AutoGotoWhenSorted = true;
  g->Navigation()->AutoGotoIncremental = true;
  g->SortSettings()->SetShow(true);
  g->SortSettings()->SetColumn(1);
  g->SetFocus();
  QApplication::processEvents();
  QTest::keyClicks(g->Widget(), "ha");
  EXPECT_EQ(g->Row(), 4);
  EXPECT_EQ(g->IncrSearchText(), QStringLiteral("ha"));
  QTest::keyClicks(g->Widget(), "n");
  EXPECT_EQ(g->Row(), 11);  // Hanover
}

TEST_F(SearchGrid, PictureOfThePanel) {
  g->SearchFooter()->SetHintFindNext(QStringLiteral("Find next occurrence"));
  ShowFooter();
  Edit().SetFocus();
  Type("er");
  Panel().HiliteButton()->SetDown(true);
  g->SearchFooterHighlight();
  QApplication::processEvents();
  const QImage shot = form->Widget()->grab().toImage();
  const QByteArray dir = qgetenv("SHOTS_DIR");
  const QString path = (dir.isEmpty() ? QString(TEST_BINARY_DIR) : QString::fromLocal8Bit(dir)) + "/search_panel.png";
  ASSERT_TRUE(shot.save(path, "PNG"));
  // The panel's top line is in the grid-line colour and its gradient runs from white to the button face.
  const QImage panel = Panel().Widget()->grab().toImage();
  EXPECT_EQ(QColor(panel.pixel(300, 0)), plat::ToQColor(g->GridLineColor()));
  EXPECT_GE(QColor(panel.pixel(590, 2)).red(), 0xF8);
  EXPECT_LT(QColor(panel.pixel(590, 30)).red(), 0xF8);
}

}  // namespace
}  // namespace grid
