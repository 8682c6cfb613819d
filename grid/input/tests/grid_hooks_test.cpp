// The grid's empty hooks for descendants: a press in cell-selector mode, and the text editor's formula mode.
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

#include "grid/extgrid.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"

namespace grid {
namespace {

class THookedGrid : public TExtStringGrid {
 public:
  using TExtStringGrid::TExtStringGrid;
  std::vector<plat::TPoint> Clicks;
  std::vector<bool> Formulas;
  void SelectorCellClick(int ACol, int ARow) override { Clicks.push_back(plat::TPoint(ACol, ARow)); }
  void FormulaModeChange(bool Active) override { Formulas.push_back(Active); }
};

struct HookedGrid : ::testing::Test {
  plat::TForm form{nullptr};
  THookedGrid* g = new THookedGrid(&form);
  plat::TEdit* other = new plat::TEdit(&form);
  HookedGrid() {
    form.SetBounds(0, 0, 400, 220);
    g->SetParent(&form);
    other->SetParent(&form);
    g->SetBounds(0, 0, 400, 180);
    other->SetBounds(0, 190, 80, 20);
    g->SetOptions(g->Options() + plat::TGridOptions{plat::goEditing});
    form.Show();
    QApplication::processEvents();
  }
  void Press(int ACol, int ARow) {
    const plat::TRect r = g->CellRect(ACol, ARow);
    QTest::mouseClick(g->Widget(), Qt::LeftButton, {}, QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
  }
};

// In cell-selector mode a press on a cell goes to the hook and neither moves the current cell nor selects; out
// of it the press selects as ever and the hook hears nothing.
TEST_F(HookedGrid, APressInCellSelectorModeGoesToTheHookOnly) {
  g->CellSelectorMode = true;
  Press(3, 2);
  Press(0, 0);
  ASSERT_EQ(g->Clicks.size(), 2u);
  EXPECT_EQ(g->Clicks[0], plat::TPoint(3, 2));
  EXPECT_EQ(g->Clicks[1], plat::TPoint(0, 0));
  EXPECT_EQ(g->Col(), 1);
  EXPECT_EQ(g->Row(), 1);
  g->CellSelectorMode = false;
  Press(3, 2);
  EXPECT_EQ(g->Clicks.size(), 2u);
  EXPECT_EQ(g->Col(), 3);
  EXPECT_EQ(g->Row(), 2);
}

// The formula mode follows the editor's text as it is typed and ends when the editor loses the focus.
TEST_F(HookedGrid, FormulaModeFollowsTheEditorText) {
  g->SetFocus();
  QTest::keyClick(g->Widget(), Qt::Key_F2);
  QWidget* ed = QApplication::focusWidget();
  ASSERT_NE(ed, g->Widget());
  QTest::keyClick(ed, '=');
  QTest::keyClick(ed, Qt::Key_Home);
  QTest::keyClick(ed, Qt::Key_Delete);
  QTest::keyClick(ed, 'a');
  other->SetFocus();
  QApplication::processEvents();
  EXPECT_EQ(g->Formulas, (std::vector<bool>{true, true, false, false, false}));
}

}  // namespace
}  // namespace grid
