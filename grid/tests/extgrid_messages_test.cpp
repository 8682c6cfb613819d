// The grid's window messages beside keys and mouse: the combo editor's notifications (a choice from its list,
// drop-down, close-up with and without DirectComboClose), the hover rules of fixed cells, a cursor set from
// outside, and the handlers the editors are given.
#include <QComboBox>

#include "grid/edit/special_editors.h"
#include "grid/edit/tests/edit_test_fixture.h"

namespace grid {
namespace {

using edittest::EditFixture;

struct ComboMessages : EditFixture {
  QStringList events;
  ComboMessages() {
    g->HideColumn(0);  // the events name real columns: display column 1 is real column 2 now
    g->SetCells(2, 1, "one");
    g->DefaultEditor = edComboList;
    g->AddComboString("one");
    g->AddComboString("two");
    g->OnComboChange = [this](plat::TObject*, int c, int r, int i, QString s) {
      events << QStringLiteral("change %1,%2:%3=%4").arg(c).arg(r).arg(i).arg(s);
    };
    g->OnComboDropDown = [this](plat::TObject*, int r, int c) { events << QStringLiteral("drop %1,%2").arg(c).arg(r); };
    g->OnComboCloseUp = [this](plat::TObject*, int r, int c) { events << QStringLiteral("close %1,%2").arg(c).arg(r); };
    g->FocusCell(1, 1);
    Key(Qt::Key_F2);
  }
  void Notify(int Code) {
    g->Perform(plat::WM_COMMAND, plat::MakeWParam(0, Code), static_cast<plat::LPARAM>(g->Combobox()->Handle()));
  }
};

TEST_F(ComboMessages, TheListsChoiceDropDownAndCloseUpReachTheGrid) {
  ASSERT_TRUE(g->EditMode());
  Notify(plat::CBN_DROPDOWN);
  g->Combobox()->SetItemIndex(1);
  Notify(plat::CBN_SELCHANGE);
  Notify(plat::CBN_CLOSEUP);
  EXPECT_EQ(events.join(" | ").toStdString(), "drop 2,1 | change 2,1:1=two | close 2,1");
  EXPECT_TRUE(g->EditMode()) << "without DirectComboClose the edit goes on";
  // A message from anything but the grid's combo changes nothing.
  events.clear();
  g->Perform(plat::WM_COMMAND, plat::MakeWParam(0, plat::CBN_CLOSEUP), static_cast<plat::LPARAM>(other->Handle()));
  EXPECT_TRUE(events.isEmpty());
}

TEST_F(ComboMessages, DirectComboCloseEndsTheEditWithTheChosenItem) {
  g->MouseActions()->DirectComboClose = true;
  g->MouseActions()->DirectEdit = true;
  g->Combobox()->SetItemIndex(1);
  Notify(plat::CBN_CLOSEUP);
  EXPECT_FALSE(g->EditMode());
  EXPECT_EQ(g->Cells(2, 1), "two");
  EXPECT_TRUE(g->MouseActions()->DirectEdit) << "DirectEdit was off only while the edit closed";
  EXPECT_EQ(events.join(" | ").toStdString(), "change 2,1:1=two | close 2,1");
}

// The list's own order (closing, then the choice) reaches the grid as choice, then close-up.
TEST_F(ComboMessages, AChoiceFromTheOpenListIsReportedBeforeTheCloseUp) {
  QComboBox* box = g->Combobox()->Widget()->findChild<QComboBox*>();
  if (!box) box = qobject_cast<QComboBox*>(g->Combobox()->Widget());
  ASSERT_NE(box, nullptr);
  // The list's window takes the focus without ending the edit (offscreen it looks like any other window).
  g->EditState().BlockKill = true;
  box->showPopup();
  box->hidePopup();
  g->EditState().BlockKill = false;
  box->setCurrentIndex(1);
  emit box->activated(1);
  Flush();
  EXPECT_EQ(events.join(" | ").toStdString(), "drop 2,1 | change 2,1:1=two | close 2,1");
}

TEST(GridHooks, HoverRulesOfFixedCellsAndTheEditorsHandlers) {
  TExtStringGrid g(nullptr);
  g.SetFixedCols(1);
  g.SetFixedRows(1);
  struct {
    THoverFixedCells mode;
    bool corner, fixedRow, fixedCol, normal;
  } cases[] = {{hfNone, false, false, false, false},
               {hfAll, true, true, true, false},
               {hfFixedRows, true, true, false, false},
               {hfFixedColumns, true, false, true, false}};
  for (const auto& c : cases) {
    g.HoverFixedCells = c.mode;
    EXPECT_EQ(g.IsHoverFixedCell(0, 0), c.corner) << c.mode;
    EXPECT_EQ(g.IsHoverFixedCell(2, 0), c.fixedRow) << c.mode;
    EXPECT_EQ(g.IsHoverFixedCell(0, 2), c.fixedCol) << c.mode;
    EXPECT_EQ(g.IsHoverFixedCell(2, 2), c.normal) << c.mode;
  }
  g.FocusCell(2, 3);
  g.OnEllipsClick = [](plat::TObject*, int c, int r, QString& s) { s = QStringLiteral("%1@%2,%3").arg(s).arg(c).arg(r); };
  EXPECT_EQ(g.DoEllipsisClick("x"), "x@2,3");
  QString seen;
  g.OnDropDownFooterButtonClick = [&](plat::TObject*, int c, int r, int b) { seen = QStringLiteral("%1,%2:%3").arg(c).arg(r).arg(b); };
  g.DropDownFooterButtonClicked(nullptr, 4);
  EXPECT_EQ(seen, "2,3:4");
}

TEST(GridHooks, ACursorSetFromOutsideEndsTheMouseSelectionMode) {
  TExtStringGrid g(nullptr);
  g.Mouse().SetSelectMode(msColumn);
  g.SetDefaultCursor(plat::crCross);
  EXPECT_EQ(g.Mouse().SelectMode(), msNormal);
  EXPECT_EQ(g.Cursor(), plat::crCross);
}

}  // namespace
}  // namespace grid
