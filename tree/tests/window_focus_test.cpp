// Focus changes of the tree and the order of their events: asking, refusing, announcing, columns, automatic
// expansion, centring on keyboard moves, the Tab walk through cells, and the window's focus messages.
#include <QApplication>

#include <gtest/gtest.h>

#include "platform/forms/stdctrls.h"
#include "tree/tests/keyfixture.h"
#include "tree/treecolumns.h"

namespace lazytree {
namespace {

using testing::KeyFixture;

// One, Two (expanded: TwoA, TwoB), Three (collapsed: ThreeA), every event logged.
struct Focus : KeyFixture {
  bool allow = true;
  Focus() {
    PLazyNode one = Add(nullptr, "One");
    (void)one;
    PLazyNode two = Add(nullptr, "Two");
    Add(two, "TwoA");
    Add(two, "TwoB");
    PLazyNode three = Add(nullptr, "Three");
    Add(three, "ThreeA");
    tree->SetExpanded(two, true);
    tree->OnFocusChanging = [this](TBaseLazyTreeControl*, PLazyNode o, PLazyNode n, TColumnIndex oc, TColumnIndex nc,
                                   bool& allowed) {
      log.push_back("changing " + Name(o).toStdString() + ">" + Name(n).toStdString() + " " + std::to_string(oc) +
                    ">" + std::to_string(nc));
      allowed = allow;
    };
    tree->OnFocusChanged = [this](TBaseLazyTreeControl*, PLazyNode n, TColumnIndex c) {
      log.push_back("changed " + Name(n).toStdString() + " " + std::to_string(c));
    };
  }
  void Columns(int count) {
    for (int i = 0; i < count; ++i) tree->Header().Columns().Add()->SetWidth(90);
    tree->Header().SetOptions(tree->Header().Options() + TLTHeaderOptions{hoVisible});
  }
};

TEST(TreeFocus, WritingTheFocusedNodeAsksThenAnnounces) {
  Focus f;
  f.tree->SetFocusedNode(f.N("One"));
  f.tree->SetFocusedNode(f.N("One"));  // the same node: nothing
  f.tree->SetFocusedNode(nullptr);
  EXPECT_EQ(f.log, (std::vector<std::string>{"changing ->One -1>-1", "changed One -1", "changing One>- -1>-1",
                                             "changed - -1"}));
}

TEST(TreeFocus, ARefusedChangeKeepsNodeAndColumn) {
  Focus f;
  f.Columns(3);
  f.tree->SetFocusedNode(f.N("One"));
  f.tree->SetFocusedColumn(1);
  f.log.clear();
  f.allow = false;
  f.tree->SetFocusedNode(f.N("Two"));
  f.tree->SetFocusedColumn(2);
  EXPECT_EQ(f.tree->FocusedNode(), f.N("One"));
  EXPECT_EQ(f.tree->FocusedColumn(), 1);
  EXPECT_EQ(f.log, (std::vector<std::string>{"changing One>Two 1>1", "changing One>One 1>2"}));
  f.log.clear();
  f.tree->SetFocusedColumn(1);  // the same column: nothing asked, nothing announced
  EXPECT_TRUE(f.log.empty());
}

TEST(TreeFocus, AColumnChangeIsAnnouncedWithTheColumn) {
  Focus f;
  f.Columns(3);
  f.tree->SetFocusedNode(f.N("Two"));
  EXPECT_EQ(f.tree->FocusedColumn(), 0);  // a focused node always has a valid column: the main one
  f.log.clear();
  f.tree->SetFocusedColumn(2);
  EXPECT_EQ(f.log, (std::vector<std::string>{"changing Two>Two 0>2", "changed Two 2"}));
}

TEST(TreeFocus, AutoExpandCollapsesTheOldSiblingAndExpandsTheNewNode) {
  Focus f;
  TLTAutoOptions a = f.tree->TreeOptions().AutoOptions;
  a.Include(toAutoExpand);
  f.tree->SetAutoOptions(a);
  f.tree->SetFocusedNode(f.N("Two"));
  ASSERT_TRUE(f.tree->GetExpanded(f.N("Two")));
  f.tree->SetFocusedNode(f.N("Three"));
  EXPECT_FALSE(f.tree->GetExpanded(f.N("Two")));
  EXPECT_TRUE(f.tree->GetExpanded(f.N("Three")));
}

TEST(TreeFocus, AKeyboardMoveCentresWithCenterScrollIntoView) {
  KeyFixture f;
  for (int i = 0; i < 30; ++i) f.Add(nullptr, QString("N%1").arg(i));
  TLTSelectionOptions sel = f.tree->TreeOptions().SelectionOptions;
  sel.Include(toCenterScrollIntoView);
  f.tree->SetSelectionOptions(sel);
  f.Show();
  f.tree->SetFocusedNode(f.N("N0"));
  f.tree->SetFocusedNode(f.N("N14"));
  const plat::TRect r = f.tree->GetDisplayRect(f.N("N14"), NoColumn, false);
  EXPECT_NEAR((r.Top + r.Bottom) / 2, f.tree->ClientHeight() / 2, 18);
  // With the left button down (a mouse move) the node is only brought into view.
  f.tree->SetFocusedNode(f.N("N0"));
  f.tree->SetTreeStates(f.tree->TreeStates() + TLazyTreeStates{tsLeftButtonDown});
  f.tree->SetFocusedNode(f.N("N14"));
  f.tree->SetTreeStates(f.tree->TreeStates() - TLazyTreeStates{tsLeftButtonDown});
  const plat::TRect m = f.tree->GetDisplayRect(f.N("N14"), NoColumn, false);
  EXPECT_EQ(m.Bottom, f.tree->ClientHeight());
}

TEST(TreeFocus, TabWalksTheCellsOfTheRowsWithExtendedFocus) {
  Focus f;
  f.Columns(2);
  TLTSelectionOptions sel = f.tree->TreeOptions().SelectionOptions;
  sel.Include(toExtendedFocus);
  f.tree->SetSelectionOptions(sel);
  f.tree->SetWantTabs(true);
  f.Show();
  f.tree->SetFocusedNode(f.N("One"));
  f.log.clear();
  f.Key(Qt::Key_Tab);
  EXPECT_EQ(f.tree->FocusedColumn(), 1);
  f.Key(Qt::Key_Tab);
  EXPECT_EQ(f.Name(f.tree->FocusedNode()), "Two");
  EXPECT_EQ(f.tree->FocusedColumn(), 0);
  f.Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(f.Name(f.tree->FocusedNode()), "One");
  EXPECT_EQ(f.tree->FocusedColumn(), 1);
  EXPECT_EQ(f.log.back(), "changed One 1");
}

TEST(TreeFocus, FocusMessagesAndEntering) {
  Focus f;
  auto* other = new plat::TEdit(&f.form);
  other->SetParent(&f.form);
  other->SetBounds(310, 0, 80, 20);
  f.Show();
  // Tab into a tree without a focused node: its key-up focuses the first visible node.
  f.tree->SetFocusedNode(nullptr);
  f.log.clear();
  QTest::keyRelease(f.tree->Widget(), Qt::Key_Tab);
  EXPECT_EQ(f.log, (std::vector<std::string>{"changing ->One -1>-1", "changed One -1"}));
  // Losing the focus drops pending states.
  f.tree->SetTreeStates(f.tree->TreeStates() + TLazyTreeStates{tsEditPending, tsLeftButtonDown});
  other->SetFocus();
  QApplication::processEvents();
  EXPECT_FALSE(f.tree->TreeStates().Has(tsEditPending));
  EXPECT_FALSE(f.tree->TreeStates().Has(tsLeftButtonDown));
  EXPECT_TRUE(f.tree->CanFocus());
  f.form.SetEnabled(false);
  EXPECT_FALSE(f.tree->CanFocus());
  f.form.SetEnabled(true);
}

TEST(TreeFocus, DeletingTheFocusedNodeLeavesNoFocus) {
  Focus f;
  f.tree->SetFocusedNode(f.N("TwoA"));
  f.tree->DeleteNode(f.N("TwoA"));
  EXPECT_EQ(f.tree->FocusedNode(), nullptr);
}

}  // namespace
}  // namespace lazytree
