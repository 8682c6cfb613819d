// The tree's keyboard, driven by key events through the real control: moving the focus, extending and
// shrinking the selection with Shift, scrolling with Ctrl, expanding and collapsing, the sign keys, select all,
// the space-bar check, the key-action veto, help and the dialog code.
#include <QApplication>

#include <gtest/gtest.h>

#include "tree/tests/keyfixture.h"
#include "tree/treecolumns.h"

namespace lazytree {
namespace {

using testing::KeyFixture;

// Alpha (expanded: Apple, Apricot, Berry), Banana, Cherry (collapsed: Citron), Date.
struct Tree : KeyFixture {
  Tree() {
    TLTSelectionOptions sel = tree->TreeOptions().SelectionOptions;
    sel.Include(toMultiSelect);
    tree->SetSelectionOptions(sel);
    PLazyNode alpha = Add(nullptr, "Alpha");
    Add(alpha, "Apple");
    Add(alpha, "Apricot");
    Add(alpha, "Berry");
    Add(nullptr, "Banana");
    PLazyNode cherry = Add(nullptr, "Cherry");
    Add(cherry, "Citron");
    Add(nullptr, "Date");
    tree->SetExpanded(alpha, true);
    Show();
  }
  void Start(const QString& name) {
    tree->SetFocusedNode(N(name));
    tree->ClearSelection();
    tree->AddToSelection(N(name));
  }
  QString Expanded() {
    QStringList names;
    for (PLazyNode n = tree->GetFirst(); n; n = tree->GetNext(n))
      if (tree->GetExpanded(n)) names << Name(n);
    return names.join(u',');
  }
};

struct Stroke {
  Qt::Key key;
  Qt::KeyboardModifiers mods;
};

TEST(TreeKeys, NavigationKeysMoveFocusSelectionAndExpansion) {
  const Qt::KeyboardModifiers none{}, shift{Qt::ShiftModifier}, keypad{Qt::KeypadModifier};
  struct Case {
    const char* start;
    std::vector<Stroke> keys;
    const char* focus;
    const char* selection;
    const char* expanded;
  } cases[] = {
      {"Apple", {{Qt::Key_Down, none}}, "Apricot", "Apricot", "Alpha"},
      {"Date", {{Qt::Key_Down, none}}, "Date", "Date", "Alpha"},  // the last row: nothing moves
      {"Apple", {{Qt::Key_Up, none}}, "Alpha", "Alpha", "Alpha"},
      {"Alpha", {{Qt::Key_Up, none}}, "Alpha", "Alpha", "Alpha"},
      {"Alpha", {{Qt::Key_Left, none}}, "Alpha", "Alpha", ""},  // collapses, the focus stays
      {"Apricot", {{Qt::Key_Left, none}}, "Alpha", "Alpha", "Alpha"},
      {"Cherry", {{Qt::Key_Right, none}}, "Cherry", "Cherry", "Alpha,Cherry"},
      {"Alpha", {{Qt::Key_Right, none}}, "Apple", "Apple", "Alpha"},
      {"Apricot", {{Qt::Key_Backspace, none}}, "Alpha", "Alpha", "Alpha"},
      {"Apricot", {{Qt::Key_Home, none}}, "Alpha", "Alpha", "Alpha"},
      {"Apricot", {{Qt::Key_End, none}}, "Date", "Date", "Alpha"},
      // Shift extends from the anchor and shrinks back towards it.
      {"Apple", {{Qt::Key_Down, shift}, {Qt::Key_Down, shift}}, "Berry", "Apple,Apricot,Berry", "Alpha"},
      {"Apple", {{Qt::Key_Down, shift}, {Qt::Key_Down, shift}, {Qt::Key_Up, shift}}, "Apricot", "Apple,Apricot",
       "Alpha"},
      {"Apricot", {{Qt::Key_Up, shift}, {Qt::Key_Up, shift}}, "Alpha", "Alpha,Apple,Apricot", "Alpha"},
      {"Apricot", {{Qt::Key_Home, shift}}, "Alpha", "Alpha,Apple,Apricot", "Alpha"},
      {"Apricot", {{Qt::Key_End, shift}}, "Date", "Apricot,Berry,Banana,Cherry,Date", "Alpha"},
      {"Berry", {{Qt::Key_Left, shift}}, "Alpha", "Alpha,Apple,Apricot,Berry", "Alpha"},
      // A plain key after a Shift range starts over.
      {"Apple", {{Qt::Key_Down, shift}, {Qt::Key_Down, none}}, "Berry", "Berry", "Alpha"},
      // The signs of the main keyboard act like the keypad's.
      {"Cherry", {{Qt::Key_Plus, shift}}, "Cherry", "Cherry", "Alpha,Cherry"},
      {"Cherry", {{Qt::Key_Plus, keypad}}, "Cherry", "Cherry", "Alpha,Cherry"},
      {"Alpha", {{Qt::Key_Minus, none}}, "Alpha", "Alpha", ""},
      {"Alpha", {{Qt::Key_Minus, keypad}}, "Alpha", "Alpha", ""},
      {"Cherry", {{Qt::Key_Asterisk, shift}}, "Cherry", "Cherry", "Alpha,Cherry"},
      {"Alpha", {{Qt::Key_Slash, none}}, "Alpha", "Alpha", ""},
  };
  for (const Case& c : cases) {
    Tree f;
    f.Start(c.start);
    for (const Stroke& s : c.keys) f.Key(s.key, s.mods);
    SCOPED_TRACE(std::string(c.start) + " -> " + c.focus);
    EXPECT_EQ(f.Name(f.tree->FocusedNode()), c.focus);
    EXPECT_EQ(f.Selection(), c.selection);
    EXPECT_EQ(f.Expanded(), c.expanded);
  }
}

TEST(TreeKeys, WithGridExtensionsTheKeysMoveThroughTheColumns) {
  Tree f;
  for (int i = 0; i < 3; ++i) f.tree->Header().Columns().Add()->SetWidth(90);
  TLTSelectionOptions sel = f.tree->TreeOptions().SelectionOptions;
  sel.Include(toExtendedFocus);
  f.tree->SetSelectionOptions(sel);
  TLTMiscOptions misc = f.tree->TreeOptions().MiscOptions;
  misc.Include(toGridExtensions);
  f.tree->SetMiscOptions(misc);
  f.Start("Apple");
  ASSERT_EQ(f.tree->FocusedColumn(), 0);
  const Qt::KeyboardModifiers none{};
  struct {
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    const char* node;
    int column;
  } steps[] = {
      {Qt::Key_Right, none, "Apple", 1},
      {Qt::Key_Right, none, "Apple", 2},
      {Qt::Key_Right, none, "Apple", 2},  // the last column stays
      {Qt::Key_Left, none, "Apple", 1},
      {Qt::Key_Home, none, "Apple", 0},   // Home and End move in the row only
      {Qt::Key_End, none, "Apple", 2},
      {Qt::Key_Home, Qt::ControlModifier, "Alpha", 0},
      {Qt::Key_End, Qt::ControlModifier, "Date", 2},
      {Qt::Key_Up, none, "Cherry", 2},  // rows keep the column
  };
  for (const auto& s : steps) {
    f.Key(s.key, s.mods);
    EXPECT_EQ(f.Name(f.tree->FocusedNode()), s.node);
    EXPECT_EQ(f.tree->FocusedColumn(), s.column);
  }
}

TEST(TreeKeys, PageKeysMoveByTheClientHeight) {
  Tree f;
  f.tree->SetBounds(0, 0, 300, 18 * 3 + 4);  // three rows and a part
  const int rows = f.tree->ClientHeight() / 18;
  ASSERT_EQ(rows, 3);
  f.Start("Alpha");
  f.Key(Qt::Key_PageDown);
  EXPECT_EQ(f.Name(f.tree->FocusedNode()), "Berry");  // rows of the page left: Alpha, Apple, Apricot
  f.Key(Qt::Key_PageUp);
  EXPECT_EQ(f.Name(f.tree->FocusedNode()), "Alpha");
  f.Key(Qt::Key_PageDown, Qt::ShiftModifier);
  EXPECT_EQ(f.Selection(), "Alpha,Apple,Apricot,Berry");
}

TEST(TreeKeys, CtrlScrollsWithoutMovingTheFocus) {
  Tree f;
  f.tree->SetBounds(0, 0, 300, 18 * 3 + 4);
  f.Start("Alpha");
  f.Key(Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(f.tree->OffsetY(), -18);
  EXPECT_EQ(f.Name(f.tree->FocusedNode()), "Alpha");
  f.Key(Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(f.tree->OffsetY(), 0);
  f.Key(Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(f.tree->OffsetY(), -f.tree->ClientHeight());
  EXPECT_EQ(f.Selection(), "Alpha");
  // Ctrl+End shows the last row, the focus stays.
  f.Key(Qt::Key_Home, Qt::ControlModifier);
  f.Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(f.tree->OffsetY(), f.tree->ClientHeight() - 7 * 18);
  EXPECT_EQ(f.Name(f.tree->FocusedNode()), "Alpha");
}

TEST(TreeKeys, CtrlASelectsAllVisibleNodesOnlyInAMultiSelectTree) {
  {
    Tree f;
    f.Start("Banana");
    f.Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(f.Selection(), "Alpha,Apple,Apricot,Berry,Banana,Cherry,Date");
  }
  Tree f;
  f.tree->SetSelectionOptions({});
  f.Start("Banana");
  f.Key(Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(f.Selection(), "Banana");
  EXPECT_EQ(f.Name(f.tree->FocusedNode()), "Banana");
}

TEST(TreeKeys, TheSpaceBarChecksOnKeyUpAndAnotherKeyCancels) {
  Tree f;
  TLTMiscOptions misc = f.tree->TreeOptions().MiscOptions;
  misc.Include(toCheckSupport);
  f.tree->SetMiscOptions(misc);
  PLazyNode banana = f.N("Banana");
  f.tree->SetCheckType(banana, ctCheckBox);
  int checked = 0;
  f.tree->OnChecked = [&](TBaseLazyTree*, PLazyNode) { ++checked; };
  f.Start("Banana");

  QTest::keyPress(f.tree->Widget(), Qt::Key_Space);
  EXPECT_EQ(f.tree->GetCheckState(banana), csUncheckedPressed);  // pressed look, state not yet changed
  EXPECT_EQ(checked, 0);
  QTest::keyRelease(f.tree->Widget(), Qt::Key_Space);
  EXPECT_EQ(f.tree->GetCheckState(banana), csCheckedNormal);
  EXPECT_EQ(checked, 1);

  QTest::keyPress(f.tree->Widget(), Qt::Key_Space);
  QTest::keyClick(f.tree->Widget(), Qt::Key_Right);  // any other key cancels the pending check
  QTest::keyRelease(f.tree->Widget(), Qt::Key_Space);
  EXPECT_EQ(f.tree->GetCheckState(banana), csCheckedNormal);
  EXPECT_EQ(checked, 1);

  // A disabled node and a node without a check type keep their boxes.
  f.tree->SetDisabled(banana, true);
  f.Key(Qt::Key_Space);
  EXPECT_EQ(f.tree->GetCheckState(banana), csCheckedNormal);
  f.Start("Date");
  f.Key(Qt::Key_Space);
  EXPECT_EQ(f.tree->GetCheckState(f.N("Date")), csUncheckedNormal);
  EXPECT_EQ(checked, 1);
}

TEST(TreeKeys, AVetoedKeyDoesNothingAndAChangedKeyActsAsTheNewOne) {
  Tree f;
  f.Start("Apple");
  f.tree->OnKeyAction = [](TBaseLazyTreeControl*, uint16_t& key, plat::TShiftState&, bool& doDefault) {
    if (key == plat::VK_DOWN) doDefault = false;
    if (key == plat::VK_RIGHT) key = plat::VK_UP;
  };
  f.Key(Qt::Key_Down);
  EXPECT_EQ(f.Name(f.tree->FocusedNode()), "Apple");
  f.Key(Qt::Key_Right);
  EXPECT_EQ(f.Name(f.tree->FocusedNode()), "Alpha");
}

TEST(TreeKeys, F1AsksForHelpContextsUpThePath) {
  Tree f;
  f.Start("Apricot");
  std::vector<QString> asked;
  f.tree->OnGetHelpContext = [&](TBaseLazyTreeControl*, PLazyNode n, TColumnIndex, int& context) {
    asked.push_back(f.Name(n));
    if (f.Name(n) == "Alpha") context = 42;
  };
  f.Key(Qt::Key_F1);
  EXPECT_EQ(asked, (std::vector<QString>{"Apricot", "Alpha"}));
  EXPECT_EQ(f.tree->Helps, std::vector<int>{42});
}

TEST(TreeKeys, TheContextMenuKeyAsksForTheMenuAtTheCentreOfTheFocusedText) {
  Tree f;
  std::vector<std::pair<QString, plat::TPoint>> asked;
  f.tree->OnGetPopupMenu = [&](TBaseLazyTreeControl*, PLazyNode n, TColumnIndex, const plat::TPoint& p, bool&,
                               plat::TPopupMenu*&) { asked.push_back({f.Name(n), p}); };
  f.Start("Banana");
  f.Key(Qt::Key_Menu);
  f.tree->SetFocusedNode(nullptr);
  f.Key(Qt::Key_Menu);
  const plat::TRect r = f.tree->GetDisplayRect(f.N("Banana"), NoColumn, true);
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0].first, "Banana");
  EXPECT_EQ(asked[0].second, plat::TPoint(r.Left + r.Width() / 2, (r.Top + r.Bottom) / 2));
  EXPECT_EQ(asked[1].first, "-");
  EXPECT_EQ(asked[1].second, plat::TPoint(-1, -1));
}

TEST(TreeKeys, TheTreeWantsArrowsAndCharactersAndTabOnlyWhenAsked) {
  Tree f;
  EXPECT_EQ(f.tree->Perform(plat::WM_GETDLGCODE), 0x81);
  f.tree->SetWantTabs(true);
  EXPECT_EQ(f.tree->Perform(plat::WM_GETDLGCODE), 0x83);
}

TEST(TreeKeys, KeysInAnEmptyTreeDoNothing) {
  KeyFixture f;
  f.Show();
  for (Qt::Key k : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Home, Qt::Key_End, Qt::Key_PageDown, Qt::Key_Left,
                    Qt::Key_Right, Qt::Key_Space, Qt::Key_Plus, Qt::Key_F2})
    f.Key(k);
  EXPECT_EQ(f.tree->FocusedNode(), nullptr);
  EXPECT_EQ(f.tree->SelectedCount(), 0u);
}

}  // namespace
}  // namespace lazytree
