// Keys that reach beyond the cells: clipboard shortcuts, the filter switched off while a row is inserted or
// deleted, the search panel (its edit, its accelerators, the last row kept above it), node rows, form controls
// opened by Enter and F2, and the select-all hook.
#include "grid/input/tests/input_fixture.h"

namespace grid {
namespace {

using plat::ssCtrl;
using plat::ssShift;
using plat::TPoint;

// The grid's data-service entry points, recorded.
struct ServiceGrid : TExtStringGrid {
  using TExtStringGrid::TExtStringGrid;
  QStringList calls;
  void CopySelectionToClipboard() override { calls << "copy"; }
  void PasteSelectionFromClipboard() override { calls << "paste"; }
  void CutSelectionToClipboard() override { calls << "cut"; }
  void SetFilterActive(bool Value) override {
    calls << (Value ? "filter on" : "filter off");
    TExtStringGrid::SetFilterActive(Value);
  }
  void FocusSearchEdit() override { calls << "search edit"; }
  bool SearchPanelAccelerator(QChar Key) override {
    calls << QStringLiteral("accel %1").arg(Key);
    return Key == u'n';
  }
  void ExpandNode(int R) override { calls << QStringLiteral("expand %1").arg(R); }
  void ContractNode(int R) override { calls << QStringLiteral("contract %1").arg(R); }
  void F2KeyHook() override { calls << "f2"; }
  void AdjustSelectAll(plat::TGridRect& A) override {
    calls << "select all";
    A.Left = 2;
  }
};

struct KeyServices : GridInput {
  ServiceGrid* s = new ServiceGrid(form.get());
  KeyServices() {
    delete g;
    g = s;
    g->SetParent(form.get());
    g->SetBounds(0, 0, 420, 300);
    g->SetColCount(6);
    g->SetRowCount(8);
    g->SetDefaultColWidth(60);
    g->SetDefaultRowHeight(20);
    for (int c = 0; c < 6; ++c)
      for (int r = 0; r < 8; ++r) g->SetCells(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
    QApplication::processEvents();
  }
  QString Calls() { return s->calls.join(", "); }
};

TEST_F(KeyServices, ClipboardShortcutsRunWhenTheirEventAllows) {
  struct {
    std::uint16_t key;
    plat::TShiftState shift;
    const char* call;
  } cases[] = {{'X', {ssCtrl}, "cut"},           {'V', {ssCtrl}, "paste"},
               {'C', {ssCtrl}, "copy"},          {plat::VK_INSERT, {ssCtrl}, "copy"},
               {plat::VK_INSERT, {ssShift}, "paste"}, {plat::VK_DELETE, {ssShift}, "cut"}};
  for (const auto& c : cases) {
    Key(c.key, c.shift);
    EXPECT_EQ(Calls(), "") << "off unless AllowClipboardShortCuts: " << c.call;
  }
  g->Navigation()->AllowClipboardShortCuts = true;
  for (const auto& c : cases) {
    s->calls.clear();
    Key(c.key, c.shift);
    EXPECT_EQ(Calls(), c.call);
  }
  int asked = 0;
  g->OnClipboardPaste = [&](plat::TObject*, bool& allow) { ++asked, allow = false; };
  s->calls.clear();
  Key('V', {ssCtrl});
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(Calls(), "") << "refused: no paste";
}

TEST_F(KeyServices, InsertAndDeleteSwitchAnActiveFilterOffMeanwhile) {
  g->Navigation()->AllowInsertRow = true;
  g->Navigation()->AllowDeleteRow = true;
  g->FocusCell(2, 3);
  Key(plat::VK_INSERT);
  EXPECT_EQ(Calls(), "") << "no filter in force: nothing to switch";
  EXPECT_TRUE(g->Modified());
  g->SetModified(false);
  g->SetFilterActive(true);
  s->calls.clear();
  Key(plat::VK_INSERT);
  EXPECT_EQ(Calls(), "filter off, filter on");
  EXPECT_EQ(g->RowCount(), 10);
  s->calls.clear();
  Key(plat::VK_DELETE);
  EXPECT_EQ(Calls(), "filter off, filter on");
  EXPECT_EQ(g->RowCount(), 9);
  EXPECT_TRUE(g->Modified());
  g->OnCanDeleteRow = [](plat::TObject*, int, bool& can) { can = false; };
  s->calls.clear();
  Key(plat::VK_DELETE);
  EXPECT_EQ(Calls(), "filter off, filter on") << "a refused delete leaves the filter on";
  EXPECT_TRUE(g->FilterActive());
  EXPECT_EQ(g->RowCount(), 9);
}

TEST_F(KeyServices, TheSearchPanelTakesCtrlFAndItsAccelerators) {
  Key('F', {ssCtrl});
  EXPECT_EQ(Calls(), "") << "no search panel shown";
  EXPECT_EQ(g->Perform(plat::CM_DIALOGCHAR, 'n'), 0);
  g->SearchFooter()->SetVisible(true);
  Key('F', {ssCtrl});
  EXPECT_EQ(Calls(), "search edit");
  s->calls.clear();
  EXPECT_EQ(g->Perform(plat::CM_DIALOGCHAR, 'n'), 1);
  EXPECT_EQ(g->Perform(plat::CM_DIALOGCHAR, 'q'), 0);
  EXPECT_EQ(Calls(), "accel n, accel q");
}

// At the last page, Down on the last row scrolls it clear of the panel instead of moving the cursor.
TEST_F(KeyServices, TheLastRowStaysAboveTheSearchPanel) {
  g->SetRowCount(40);
  g->SearchFooter()->SetVisible(true);
  g->MoveCurrentCell(2, 39);
  const int panelTop = g->Height() - TCellEntry::SearchPanelHeight;
  EXPECT_LE(g->CellRect(2, 39).Bottom, panelTop);
  EXPECT_TRUE(g->LastRowAboveSearchPanel());
  Key(plat::VK_DOWN);
  EXPECT_EQ(Cell(), TPoint(2, 39));
  EXPECT_LE(g->CellRect(2, 39).Bottom, panelTop);
  g->FocusCell(2, 30);
  g->SetTopRow(30);
  Key(plat::VK_END, {ssCtrl});
  EXPECT_EQ(g->Row(), 39);
  EXPECT_LE(g->CellRect(g->Col(), 39).Bottom, panelTop) << "reaching the last row scrolls it clear";
}

TEST_F(KeyServices, RightAndLeftOnAMergedNodeRowExpandAndContract) {
  g->AddNode(2, 3);
  g->MergeCells(1, 2, 4, 1);
  g->FocusCell(1, 2);
  Key(plat::VK_RIGHT);
  g->FocusCell(1, 2);
  Key(plat::VK_LEFT);
  EXPECT_EQ(Calls(), "expand 2, contract 2");
  s->calls.clear();
  g->FocusCell(1, 4);
  Key(plat::VK_RIGHT);
  EXPECT_EQ(Calls(), "") << "not a node row";
}

TEST_F(KeyServices, EnterAndF2OpenAFormControlAndF2CallsItsHook) {
  g->EnableHTML = false;  // with HTML on the cell's controls answer clicks only
  g->SetCells(2, 3, "Name <CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"abc\" WIDTH=\"60\">");
  g->FocusCell(2, 3);
  Key(plat::VK_F2);
  EXPECT_EQ(Calls(), "f2");
  ASSERT_NE(g->HTMLForms().EditControl(), nullptr);
  EXPECT_TRUE(g->HTMLForms().Editing());
  EXPECT_EQ(g->HTMLForms().EditControl()->Text(), "abc");
}

TEST_F(KeyServices, CtrlAPassesTheRectangleThroughItsHook) {
  g->SetOptions(g->Options() + plat::TGridOptions{plat::goRangeSelect});
  Key('A', {ssCtrl});
  EXPECT_EQ(Calls(), "select all");
  EXPECT_EQ(g->Selection(), (plat::TGridRect{2, 1, 5, 7}));
}

}  // namespace
}  // namespace grid
