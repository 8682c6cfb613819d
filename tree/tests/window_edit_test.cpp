// In-place editing of node texts through the real control and its edit control: opening, committing and
// cancelling by keys, by focus loss and by a click, scrolling while editing, moving on with Tab, multi-line
// texts, the rules of when an edit may start, the editor's bounds, and the delayed start of the mouse road.
#include <QAccessibleWidget>
#include <QApplication>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/forms/stdctrls.h"
#include "tree/tests/keyfixture.h"
#include "tree/treeaccessibility.h"
#include "tree/treecolumns.h"
#include "tree/treeedit.h"

namespace lazytree {
namespace {

using testing::KeyFixture;

struct Edit : KeyFixture {
  plat::TEdit* other;
  Edit() {
    TLTMiscOptions misc = tree->TreeOptions().MiscOptions;
    misc.Include(toEditable);
    tree->SetMiscOptions(misc);
    for (const char* s : {"Apple", "Banana", "Cherry"}) Add(nullptr, s);
    other = new plat::TEdit(&form);
    other->SetParent(&form);
    other->SetBounds(310, 0, 80, 20);
    tree->OnEdited = [this](TBaseLazyTreeControl*, PLazyNode n, TColumnIndex c) {
      log.push_back("edited " + Name(n).toStdString() + " " + std::to_string(c));
    };
    tree->OnEditCancelled = [this](TBaseLazyTreeControl*, TColumnIndex c) {
      log.push_back("cancelled " + std::to_string(c));
    };
    Show();
  }
  TLTEdit* Editor() {
    auto* link = dynamic_cast<TStringEditLink*>(tree->EditLink());
    return link ? link->Edit() : nullptr;
  }
  // Opens the editor on a node with F2 and types over the selected text.
  void Open(const QString& name) {
    tree->SetFocusedNode(N(name));
    Key(Qt::Key_F2);
    ASSERT_TRUE(tree->IsEditing());
    ASSERT_NE(Editor(), nullptr);
  }
  void TypeInEditor(const QString& text) { QTest::keyClicks(Editor()->Widget(), text); }
  void EditorKey(Qt::Key key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(Editor()->Widget(), key, mods); }
};

TEST(TreeEdit, F2OpensReturnCommitsTheTypedText) {
  Edit f;
  f.Open("Banana");
  EXPECT_EQ(f.Editor()->Text(), "Banana");
  EXPECT_TRUE(f.Editor()->Visible());
  f.TypeInEditor("Mango");
  f.EditorKey(Qt::Key_Return);
  EXPECT_EQ(f.log, (std::vector<std::string>{"new text Mango", "edited Mango -1"}));
  EXPECT_FALSE(f.tree->IsEditing());
  EXPECT_EQ(f.tree->EditLink(), nullptr);
  EXPECT_TRUE(f.tree->Focused());
}

TEST(TreeEdit, EscapeCancelsAndKeepsTheOldText) {
  Edit f;
  f.Open("Banana");
  f.TypeInEditor("Mango");
  f.EditorKey(Qt::Key_Escape);
  EXPECT_EQ(f.log, (std::vector<std::string>{"cancelled -1"}));
  EXPECT_EQ(f.texts[f.N("Banana")], "Banana");
  EXPECT_FALSE(f.tree->IsEditing());
}

TEST(TreeEdit, LeavingTheEditorCommitsWithAutoAcceptAndCancelsWithout) {
  for (bool autoAccept : {true, false}) {
    Edit f;
    TLTStringOptions options = f.tree->StringOptions();
    if (!autoAccept) options.Exclude(toAutoAcceptEditChange);
    f.tree->SetStringOptions(options);
    f.Open("Cherry");
    f.TypeInEditor("Plum");
    f.other->SetFocus();
    QApplication::processEvents();
    EXPECT_FALSE(f.tree->IsEditing());
    if (autoAccept)
      EXPECT_EQ(f.log, (std::vector<std::string>{"new text Plum", "edited Plum -1"}));
    else
      EXPECT_EQ(f.log, (std::vector<std::string>{"cancelled -1"}));
  }
}

TEST(TreeEdit, AClickOnAnotherControlEndsTheEditWithTheTypedText) {
  Edit f;
  f.Open("Apple");
  f.TypeInEditor("Pear");
  QTest::mouseClick(f.other->Widget(), Qt::LeftButton, {}, QPoint(5, 5));
  QApplication::processEvents();
  EXPECT_FALSE(f.tree->IsEditing());
  EXPECT_EQ(f.texts[f.N("Pear")], "Pear");
}

TEST(TreeEdit, AClickInTheTreeEndsTheEditWithTheTypedText) {
  Edit f;
  f.Open("Apple");
  f.TypeInEditor("Pear");
  QTest::mouseClick(f.tree->Widget(), Qt::LeftButton, {}, QPoint(150, 150));
  QApplication::processEvents();
  EXPECT_FALSE(f.tree->IsEditing());
  EXPECT_EQ(f.texts[f.N("Pear")], "Pear");
}

TEST(TreeEdit, AClickOnTheFocusedNodeOpensTheEditorAfterTheDelay) {
  Edit f;
  f.tree->SetFocusedNode(f.N("Banana"));
  f.tree->AddToSelection(f.N("Banana"));
  const plat::TRect r = f.tree->GetDisplayRect(f.N("Banana"), NoColumn, true);
  QTest::mouseClick(f.tree->Widget(), Qt::LeftButton, {}, QPoint(r.Left + 5, (r.Top + r.Bottom) / 2));
  EXPECT_FALSE(f.tree->IsEditing());
  f.tree->Advance(f.tree->EditDelay());
  EXPECT_TRUE(f.tree->IsEditing());
  EXPECT_EQ(f.Editor()->Text(), "Banana");
}

TEST(TreeEdit, ScrollingMovesTheOpenEditorAndKeepsWhatWasTyped) {
  Edit f;
  for (int i = 0; i < 20; ++i) f.Add(nullptr, QString("N%1").arg(i));
  f.Open("Cherry");
  f.TypeInEditor("Kiwi");
  const int top = f.Editor()->Top();
  f.tree->SetOffsetY(-18);
  EXPECT_TRUE(f.tree->IsEditing());
  EXPECT_EQ(f.Editor()->Top(), top - 18);
  EXPECT_EQ(f.Editor()->Text(), "Kiwi");
  f.EditorKey(Qt::Key_Return);
  EXPECT_EQ(f.texts[f.N("Kiwi")], "Kiwi");
}

TEST(TreeEdit, TabMovesTheEditToTheNextNodeAndEndsAfterTheLast) {
  Edit f;
  f.Open("Banana");
  f.TypeInEditor("B2");
  f.EditorKey(Qt::Key_Tab);
  EXPECT_EQ(f.texts[f.N("B2")], "B2");
  EXPECT_TRUE(f.tree->IsEditing());
  EXPECT_EQ(f.Name(f.tree->FocusedNode()), "Cherry");
  EXPECT_EQ(f.Editor()->Text(), "Cherry");
  f.TypeInEditor("C2");
  f.EditorKey(Qt::Key_Tab);
  EXPECT_EQ(f.texts[f.N("C2")], "C2");
  EXPECT_FALSE(f.tree->IsEditing());
  EXPECT_EQ(f.tree->FocusedNode(), nullptr);
}

TEST(TreeEdit, AMultiLineNodeTakesLineBreaksAndCtrlReturnCommits) {
  Edit f;
  f.tree->SetMultiline(f.N("Apple"), true);
  f.Open("Apple");
  f.TypeInEditor("one");
  f.EditorKey(Qt::Key_Return);
  f.TypeInEditor("two");
  EXPECT_TRUE(f.tree->IsEditing());
  f.EditorKey(Qt::Key_Return, Qt::ControlModifier);
  EXPECT_FALSE(f.tree->IsEditing());
  EXPECT_EQ(f.log.front(), "new text one\r\ntwo");
}

TEST(TreeEdit, CtrlASelectsTheTextAndUpAndDownMoveInASingleLine) {
  Edit f;
  f.Open("Banana");
  f.EditorKey(Qt::Key_End);
  f.EditorKey(Qt::Key_Up);  // Left
  EXPECT_EQ(f.Editor()->SelStart(), 5);
  f.EditorKey(Qt::Key_Down);  // Right
  EXPECT_EQ(f.Editor()->SelStart(), 6);
  f.EditorKey(Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(f.Editor()->SelLength(), 6);
  EXPECT_EQ(f.Editor()->Text(), "Banana");  // no character typed by the shortcut
  EXPECT_TRUE(f.tree->IsEditing());
}

TEST(TreeEdit, WhenAnEditMayStart) {
  Edit f;
  PLazyNode apple = f.N("Apple");
  f.Open("Apple");
  EXPECT_TRUE(f.tree->EditNode(f.N("Banana"), NoColumn));  // one is open: true, nothing new
  EXPECT_EQ(f.Name(f.tree->FocusedNode()), "Apple");
  f.EditorKey(Qt::Key_Escape);

  TLTMiscOptions misc = f.tree->TreeOptions().MiscOptions;
  misc.Include(toReadOnly);
  f.tree->SetMiscOptions(misc);
  EXPECT_FALSE(f.tree->EditNode(apple, NoColumn));
  misc.Exclude(toReadOnly);
  misc.Exclude(toEditable);
  f.tree->SetMiscOptions(misc);
  EXPECT_FALSE(f.tree->CanEdit(apple, NoColumn));
  misc.Include(toEditable);
  f.tree->SetMiscOptions(misc);

  // Columns: only those with coEditable; -1 only without columns.
  f.tree->Header().Columns().Add()->SetWidth(100);
  TLazyTreeColumn* second = f.tree->Header().Columns().Add();
  second->SetWidth(100);
  second->SetOptions(second->Options() - TLTColumnOptions{coEditable});
  EXPECT_TRUE(f.tree->CanEdit(apple, 0));
  EXPECT_FALSE(f.tree->CanEdit(apple, 1));
  EXPECT_TRUE(f.tree->CanEdit(apple, NoColumn));
  bool vetoed = false;
  f.tree->OnEditing = [&](TBaseLazyTreeControl*, PLazyNode, TColumnIndex, bool& allowed) {
    allowed = false;
    vetoed = true;
  };
  EXPECT_FALSE(f.tree->EditNode(apple, 0));
  EXPECT_TRUE(vetoed);
  EXPECT_THROW(f.tree->EditNode(nullptr, 0), ELazyTreeAssertion);
  EXPECT_THROW(f.tree->EditNode(apple, 2), ELazyTreeAssertion);
}

TEST(TreeEdit, TheEditorIsAtLeastThirtyWideAndStaysInsideTheClientArea) {
  Edit f;
  f.Open("Apple");
  auto* link = dynamic_cast<TStringEditLink*>(f.tree->EditLink());
  link->SetBounds(plat::TRect(-5, 0, 10, 18));
  EXPECT_EQ(f.Editor()->Left(), 0);
  EXPECT_EQ(f.Editor()->Width(), 30);
  link->SetBounds(plat::TRect(250, 0, 500, 18));
  EXPECT_EQ(f.Editor()->Left() + f.Editor()->Width(), f.tree->ClientWidth());
}

TEST(TreeEdit, TheMouseRoadOpensAfterTheDelayUnlessTheFocusGoes) {
  Edit f;
  f.tree->SetFocusedNode(f.N("Banana"));
  f.tree->ArmEdit(f.tree->EditDelay());
  f.tree->Advance(f.tree->EditDelay() - 1);
  EXPECT_FALSE(f.tree->IsEditing());
  f.tree->Advance(1);
  EXPECT_TRUE(f.tree->IsEditing());
  f.EditorKey(Qt::Key_Escape);

  f.tree->ArmEdit(500);
  f.other->SetFocus();
  QApplication::processEvents();
  f.tree->Advance(1000);
  EXPECT_FALSE(f.tree->IsEditing());
  EXPECT_FALSE(f.tree->TreeStates().Has(tsEditPending));
}

TEST(TreeEdit, AFailingStoreKeepsTheEditOpenWithItsText) {
  Edit f;
  bool fail = true;
  f.tree->OnNewText = [&](TBaseLazyTree*, PLazyNode n, TColumnIndex, const QString& text) {
    if (fail) throw std::runtime_error("disk full");
    f.texts[n] = text;
  };
  f.Open("Apple");
  f.TypeInEditor("Quince");
  EXPECT_THROW(f.tree->EndEditNode(), std::runtime_error);
  EXPECT_TRUE(f.tree->IsEditing());
  EXPECT_EQ(f.Editor()->Text(), "Quince");
  fail = false;
  EXPECT_TRUE(f.tree->EndEditNode());
  EXPECT_EQ(f.texts[f.N("Quince")], "Quince");
}

TEST(TreeEdit, AStructureChangeCancelsTheEditAudibly) {
  Edit f;
  f.Open("Apple");
  f.TypeInEditor("Fig");
  f.Add(nullptr, "Extra");
  EXPECT_FALSE(f.tree->IsEditing());
  EXPECT_EQ(f.log, (std::vector<std::string>{"cancelled -1"}));
}

// Hands out Qt's own object for the tree's window, so that the tree has an item object to raise its notice for
// (the offscreen platform has no accessibility bridge, so the notice itself reaches no client here).
struct WidgetProvider : ILTAccessibleProvider {
  QAccessibleInterface* CreateIAccessible(TBaseLazyTreeControl* Tree) override {
    return new QAccessibleWidget(Tree->Widget());
  }
};

TEST(TreeEdit, ANewMainColumnCancelsTheOpenEdit) {
  Edit f;
  for (int i = 0; i < 2; ++i) f.tree->Header().Columns().Add()->SetWidth(100);
  WidgetProvider provider;
  TLTAccessibilityFactory& factory = TLTAccessibilityFactory::GetAccessibilityFactory();
  factory.RegisterAccessibleProvider(&provider);
  f.tree->Accessibility().GetObject();
  factory.UnRegisterAccessibleProvider(&provider);
  ASSERT_NE(f.tree->Accessibility().AccessibleItem(), nullptr);

  f.tree->Header().SetMainColumn(1);  // nothing open: nothing to cancel
  f.Open("Banana");
  f.TypeInEditor("Mango");
  f.tree->Header().SetMainColumn(0);

  EXPECT_FALSE(f.tree->IsEditing());
  EXPECT_EQ(f.texts[f.N("Banana")], "Banana");
  EXPECT_EQ(f.log, (std::vector<std::string>{"cancelled 1"}));
}

}  // namespace
}  // namespace lazytree
