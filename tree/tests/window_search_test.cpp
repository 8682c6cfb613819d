// Incremental search, typed into the real control, with its time-out on the fake clock: finding by the start
// of a text, extending the text, cycling with a repeated letter, backspace, a miss, the modes, and the end of a
// search by time-out, focus loss or switching the search off.
#include <QApplication>

#include <gtest/gtest.h>

#include "platform/forms/beep.h"
#include "platform/forms/stdctrls.h"
#include "tree/tests/keyfixture.h"

namespace lazytree {
namespace {

using testing::KeyFixture;

// alpha, beta (collapsed: bravo), apple, aardvark, c++, banana
struct Search : KeyFixture {
  int beeps = 0;
  plat::TBeepHook previous;
  Search(TLTIncrementalSearch Mode = isAll) {
    previous = plat::SetBeepHook([this](unsigned) { ++beeps; });
    Add(nullptr, "alpha");
    PLazyNode beta = Add(nullptr, "beta");
    Add(beta, "bravo");
    Add(nullptr, "apple");
    Add(nullptr, "aardvark");
    Add(nullptr, "c++");
    Add(nullptr, "banana");
    tree->SetIncrementalSearch(Mode);
    Show();
    tree->SetFocusedNode(N("alpha"));
  }
  ~Search() { plat::SetBeepHook(previous); }
  QString Focus() const { return Name(tree->FocusedNode()); }
};

TEST(TreeSearch, TypingFindsTheNextNodeStartingWithTheText) {
  Search f;
  f.Type("b");
  EXPECT_EQ(f.Focus(), "beta");
  EXPECT_EQ(f.Selection(), "beta");
  f.Type("a");  // "ba": beta no longer matches, the walk goes on (into collapsed nodes too)
  EXPECT_EQ(f.Focus(), "banana");
  EXPECT_EQ(f.tree->SearchBuffer(), "ba");
  EXPECT_EQ(f.beeps, 0);
}

TEST(TreeSearch, TheTimeOutEndsTheSearchOnlyWhenItHasPassed) {
  Search f;
  f.tree->SetIncrementalSearchTimeout(1000);
  f.Type("b");
  f.tree->Advance(999);
  EXPECT_TRUE(f.tree->TreeStates().Has(tsIncrementalSearching));
  f.Type("r");  // each keystroke starts the time-out again
  EXPECT_EQ(f.Focus(), "bravo");
  f.tree->Advance(999);
  EXPECT_EQ(f.tree->SearchBuffer(), "br");
  f.tree->Advance(1);
  EXPECT_FALSE(f.tree->TreeStates().Has(tsIncrementalSearching));
  EXPECT_EQ(f.tree->SearchBuffer(), "");
  EXPECT_EQ(f.tree->LastSearchNode(), nullptr);
  EXPECT_FALSE(f.tree->TimerRunning(TBaseLazyTreeControl::SearchTimer));
  // A new search starts from the focused node with a fresh text.
  f.Type("a");
  EXPECT_EQ(f.Focus(), "apple");
}

TEST(TreeSearch, ARepeatedFirstLetterCyclesUnlessTheFoundTextGoesOnWithIt) {
  Search f;
  f.tree->SetFocusedNode(f.N("banana"));
  f.Type("a");
  EXPECT_EQ(f.Focus(), "alpha");  // past the end the walk wraps to the first node
  f.Type("a");
  EXPECT_EQ(f.Focus(), "apple");
  EXPECT_EQ(f.tree->SearchBuffer(), "a");
  f.Type("a");
  EXPECT_EQ(f.Focus(), "aardvark");
  EXPECT_EQ(f.tree->SearchBuffer(), "a");
  f.Type("a");  // "aardvark" starts with "aa": the doubled letter is part of the word
  EXPECT_EQ(f.Focus(), "aardvark");
  EXPECT_EQ(f.tree->SearchBuffer(), "aa");
}

TEST(TreeSearch, BackspaceShortensTheTextAndSearchesBackwards) {
  Search f;
  f.tree->SetFocusedNode(f.N("c++"));
  f.Type("a");
  EXPECT_EQ(f.Focus(), "alpha");
  f.Type("p");
  EXPECT_EQ(f.Focus(), "apple");
  f.Key(Qt::Key_Backspace);
  EXPECT_EQ(f.tree->SearchBuffer(), "a");
  EXPECT_EQ(f.Focus(), "alpha");  // backwards from apple: bravo, beta, alpha
}

TEST(TreeSearch, AMissBeepsAndLeavesFocusTextAndSelection) {
  Search f;
  f.Type("b");
  f.Type("x");
  EXPECT_EQ(f.beeps, 1);
  EXPECT_EQ(f.Focus(), "beta");
  EXPECT_EQ(f.Selection(), "beta");
  EXPECT_EQ(f.tree->SearchBuffer(), "b");
}

TEST(TreeSearch, SignKeysTypeWhileASearchRuns) {
  Search f;
  f.Type("c");
  EXPECT_EQ(f.Focus(), "c++");
  f.Key(Qt::Key_Plus, Qt::ShiftModifier, "+");  // would expand the node without a search
  EXPECT_EQ(f.tree->SearchBuffer(), "c+");
  EXPECT_FALSE(f.tree->GetExpanded(f.N("beta")));
}

TEST(TreeSearch, ModesDecideWhichNodesTakePart) {
  struct Case {
    TLTIncrementalSearch mode;
    const char* typed;
    const char* focus;
  } cases[] = {
      {isAll, "br", "bravo"},
      {isVisibleOnly, "br", "beta"},  // bravo's parent is collapsed: "b" finds beta, "br" misses
      {isNone, "br", "alpha"},
  };
  for (const Case& c : cases) {
    Search f(c.mode);
    f.Type(c.typed);
    EXPECT_EQ(f.Focus(), c.focus) << c.typed << " in mode " << int(c.mode);
  }
  Search none(isNone);
  none.Type("b");
  EXPECT_EQ(none.beeps, 0);
  EXPECT_FALSE(none.tree->TreeStates().Has(tsIncrementalSearching));
}

TEST(TreeSearch, TheHandlerDecidesWhatMatchesAndTheDirectionCanBeBackward) {
  Search f;
  f.tree->SetIncrementalSearchDirection(sdBackward);
  f.tree->OnIncrementalSearch = [&](TBaseLazyTreeControl*, PLazyNode n, const QString& text, int& result) {
    result = f.Name(n).endsWith(text) ? 0 : 1;
  };
  f.Type("a");  // backwards from alpha, wrapping: banana ends with "a"
  EXPECT_EQ(f.Focus(), "banana");
}

TEST(TreeSearch, LosingTheFocusOrSwitchingTheSearchOffForgetsTheText) {
  Search f;
  auto* other = new plat::TEdit(&f.form);
  other->SetParent(&f.form);
  other->SetBounds(310, 0, 80, 20);
  f.Type("b");
  other->SetFocus();
  QApplication::processEvents();
  EXPECT_EQ(f.tree->SearchBuffer(), "");
  EXPECT_FALSE(f.tree->TreeStates().Has(tsIncrementalSearching));

  f.tree->SetFocus();
  QApplication::processEvents();
  f.Type("a");
  EXPECT_EQ(f.tree->SearchBuffer(), "a");
  f.tree->SetIncrementalSearch(isNone);
  EXPECT_EQ(f.tree->SearchBuffer(), "");
  EXPECT_EQ(f.tree->LastSearchNode(), nullptr);
  EXPECT_FALSE(f.tree->TimerRunning(TBaseLazyTreeControl::SearchTimer));
}

TEST(TreeSearch, TheLastFoundNodeIsForgottenWhenItIsDeleted) {
  Search f;
  f.tree->SetIncrementalSearchStart(ssLastHit);
  f.Type("c");
  ASSERT_EQ(f.tree->LastSearchNode(), f.N("c++"));
  f.tree->DeleteNode(f.N("c++"));
  EXPECT_EQ(f.tree->LastSearchNode(), nullptr);
}

}  // namespace
}  // namespace lazytree
