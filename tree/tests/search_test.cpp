// The incremental search alone, over a node store and a fake window: where each keystroke lands in each mode,
// direction and start rule, cycling with a repeated letter, backspace, misses, and the end of a search.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tree/lazytree.h"
#include "tree/treesearch.h"

namespace lazytree {
namespace {

// alpha, beta (collapsed, with bravo), apple, aardvark, banana.
class TFakeSearchWindow : public TTreeSearchHost {
 public:
  TFakeSearchWindow() {
    Tree.SetRootNodeCount(5);
    const char* names[] = {"alpha", "beta", "apple", "aardvark", "banana"};
    int i = 0;
    for (PLazyNode n = Tree.GetFirstChild(nullptr); n; n = Tree.GetNextSibling(n)) Texts[n] = names[i++];
    PLazyNode beta = Node("beta");
    Tree.SetChildCount(beta, 1);
    Texts[Tree.GetFirstChild(beta)] = "bravo";
    Focused = Node("alpha");
  }
  PLazyNode Node(const QString& Text) const {
    for (const auto& [node, text] : Texts)
      if (text == Text) return node;
    return nullptr;
  }

  TBaseLazyTree Tree;
  TTreeSearch Search{*this};
  std::map<PLazyNode, QString> Texts;
  PLazyNode Focused = nullptr;
  int Misses = 0;
  int TimerRuns = 0;  // started minus stopped

  TBaseLazyTree& Store() override { return Tree; }
  PLazyNode FocusedNode() const override { return Focused; }
  int Compare(PLazyNode Node, const QString& Text) override { return Texts[Node].startsWith(Text) ? 0 : 1; }
  void Found(PLazyNode Node) override { Focused = Node; }
  void Miss() override { ++Misses; }
  void StartSearchTimer(uint32_t) override { TimerRuns = 1; }
  void StopSearchTimer() override { TimerRuns = 0; }
};

TEST(TreeSearchWalk, EachKeystrokeLandsByModeDirectionAndStart) {
  struct Case {
    const char* name;
    TLTIncrementalSearch mode;
    TLTSearchDirection direction;
    TLTSearchStart start;
    std::u16string typed;
    const char* focus;  // the focused node after each keystroke, comma-separated
    int misses;
  };
  const Case cases[] = {
      {"all nodes reach into collapsed ones", isAll, sdForward, ssFocusedNode, u"br", "beta,bravo", 0},
      {"visible nodes only", isVisibleOnly, sdForward, ssFocusedNode, u"br", "beta,beta", 1},
      {"a repeated letter cycles", isVisibleOnly, sdForward, ssFocusedNode, u"aaa", "apple,aardvark,aardvark", 0},
      {"backward wraps to the end", isVisibleOnly, sdBackward, ssFocusedNode, u"b", "banana", 0},
      {"starting over ignores the focus", isVisibleOnly, sdForward, ssAlwaysStartOver, u"a", "alpha", 0},
      {"backspace after a miss walks back", isVisibleOnly, sdForward, ssFocusedNode, u"bx\b", "beta,beta,alpha", 1},
      {"backspace with nothing typed", isVisibleOnly, sdForward, ssFocusedNode, u"\b", "alpha", 0},
      {"switched off", isNone, sdForward, ssFocusedNode, u"b", "alpha", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TFakeSearchWindow w;
    w.Search.SetMode(c.mode);
    w.Search.SetDirection(c.direction);
    w.Search.SetStart(c.start);
    std::string focus;
    for (char16_t ch : c.typed) {
      w.Search.Key(ch);
      focus += (focus.empty() ? "" : ",") + w.Texts[w.Focused].toStdString();
    }
    EXPECT_EQ(focus, c.focus);
    EXPECT_EQ(w.Misses, c.misses);
    EXPECT_EQ(w.TimerRuns, c.mode == isNone ? 0 : 1);
  }
}

TEST(TreeSearchWalk, LastHitStartIsForgottenWithItsNodeAndAtTheEnd) {
  TFakeSearchWindow w;
  w.Search.SetMode(isAll);
  w.Search.SetStart(ssLastHit);
  w.Search.Key(u'b');
  EXPECT_EQ(w.Search.LastHit(), w.Node("beta"));
  EXPECT_TRUE(w.Tree.TreeStates().Has(tsIncrementalSearching));
  w.Focused = w.Node("banana");  // the focus moved elsewhere: the search goes on from its last hit
  w.Search.Key(u'r');
  EXPECT_EQ(w.Focused, w.Node("bravo"));
  EXPECT_EQ(w.Search.Buffer(), QStringLiteral("br"));
  w.Search.Forget(w.Node("bravo"));
  EXPECT_EQ(w.Search.LastHit(), nullptr);
  w.Search.End();
  EXPECT_TRUE(w.Search.Buffer().isEmpty());
  EXPECT_FALSE(w.Tree.TreeStates().Has(tsIncrementalSearching));
  EXPECT_EQ(w.TimerRuns, 0);
}

}  // namespace
}  // namespace lazytree
