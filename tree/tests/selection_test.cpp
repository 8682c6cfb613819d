// The selection of the node store: a random sequence of every operation checked against the node flags after
// each step (address order, count, tree order of GetSortedSelection), the order of the selection events and
// change notifications, the keyboard's range toggle around the anchor, the constraints, and deletion of
// selected nodes whose blocks are reused.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <algorithm>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tree/lazytree.h"
#include "tree/tests/treecheck.h"

namespace lazytree {
namespace {

using NodeList = std::vector<PLazyNode>;

class TTree : public TBaseLazyTree {
 public:
  PLazyNode Focused() const { return FFocusedNode; }
  void Focus(PLazyNode Node) { FFocusedNode = Node; }
  bool Located(PLazyNode Node) {
    int index = 0;
    return LocateInSelection(Node, index);
  }
};

// Every node with vsSelected, in tree order.
NodeList Flagged(TBaseLazyTree& t) {
  NodeList r;
  for (PLazyNode n = t.GetFirstNoInit(); n; n = t.GetNextNoInit(n))
    if (n->Has(vsSelected)) r.push_back(n);
  return r;
}

// The flags, the count, the address-ordered array (found by binary search exactly for the flagged nodes) and
// the tree-ordered walk all agree.
std::string CheckSelection(TTree& t) {
  const NodeList flagged = Flagged(t);
  for (PLazyNode n = t.GetFirstNoInit(); n; n = t.GetNextNoInit(n))
    if (t.Located(n) != n->Has(vsSelected)) return "array and flag differ for a node";
  if (flagged.size() != t.SelectedCount())
    return "count " + std::to_string(t.SelectedCount()) + " for " + std::to_string(flagged.size()) + " flagged";
  if (t.GetSortedSelection(false) != flagged) return "sorted selection differs from the flags";
  return testing::CheckTree(t);
}

// Three levels: 4 top nodes with 3 children each, the first child of each with 2 children; all expanded.
struct Fixture {
  TTree t;
  NodeList all;  // tree order
  std::vector<std::string> log;
  Fixture() {
    t.SetRootNodeCount(4);
    for (PLazyNode a = t.GetFirstNoInit(); a; a = a->NextSibling) {
      t.SetChildCount(a, 3);
      t.SetChildCount(a->FirstChild, 2);
    }
    t.FullExpand();
    for (PLazyNode n = t.GetFirstNoInit(); n; n = t.GetNextNoInit(n)) all.push_back(n);
    t.OnAddToSelection = [this](TBaseLazyTree*, PLazyNode n) { log.push_back("+" + Name(n)); };
    t.OnRemoveFromSelection = [this](TBaseLazyTree*, PLazyNode n) { log.push_back("-" + Name(n)); };
    t.OnChange = [this](TBaseLazyTree*, PLazyNode n) { log.push_back("change " + (n ? Name(n) : "nil")); };
  }
  std::string Name(PLazyNode n) const {
    return std::to_string(std::find(all.begin(), all.end(), n) - all.begin());
  }
  void Multi() { t.TreeOptions().SelectionOptions.Include(toMultiSelect); }
};

TEST(Selection, RandomOperationsKeepArrayFlagsAndCountInStep) {
  Fixture f;
  f.Multi();
  std::mt19937 rng(7);
  auto pick = [&] { return f.all[rng() % f.all.size()]; };
  for (int step = 0; step < 3000; ++step) {
    switch (rng() % 10) {
      case 0: f.t.AddToSelection(pick()); break;
      case 1: f.t.RemoveFromSelection(pick()); break;
      case 2: f.t.AddRangeToSelection(pick(), pick(), rng() % 2 == 0); break;
      case 3: f.t.SetRangeAnchor(pick()); f.t.ToggleSelectionRange(pick(), pick()); break;
      case 4: f.t.RemoveSelectionRange(pick(), pick()); break;
      case 5: f.t.InvertSelection(rng() % 2 == 0); break;
      case 6: f.t.SetSelected(pick(), rng() % 2 == 0); break;
      case 7: if (rng() % 8 == 0) f.t.ClearSelection(); break;
      case 8: if (rng() % 8 == 0) f.t.SelectAll(true); break;
      case 9: {
        NodeList items;
        for (int i = 0; i < 5; ++i) items.push_back(pick());
        f.t.AddToSelection(items.data(), 5, false);
        break;
      }
    }
    const std::string err = CheckSelection(f.t);
    ASSERT_EQ(err, "") << "after step " << step;
  }
}

TEST(Selection, BulkAddFiresEachAdditionThenOneChange) {
  Fixture f;
  NodeList items{f.all[5], f.all[1], f.all[5], f.all[3]};  // unordered, one twice
  f.t.AddToSelection(items.data(), 4, false);
  EXPECT_EQ(f.log, (std::vector<std::string>{"+5", "+1", "+3", "change nil"}));
  f.log.clear();
  f.t.AddToSelection(items.data(), 4, false);
  EXPECT_TRUE(f.log.empty()) << "nothing new, nothing announced";
  f.t.SetSelectionLocked(true);
  f.t.ClearSelection();
  EXPECT_EQ(f.t.SelectedCount(), 3u);
  f.t.SetSelectionLocked(false);
  f.log.clear();
  f.t.ClearSelection();
  ASSERT_EQ(f.log.size(), 4u);
  std::sort(f.log.begin(), f.log.begin() + 3);  // removals come in address order
  EXPECT_EQ(f.log, (std::vector<std::string>{"-1", "-3", "-5", "change nil"}));
}

TEST(Selection, FirstSelectedNodeBecomesAnchorAndFocus) {
  Fixture f;
  f.Multi();
  f.t.SetSelected(f.all[4], true);
  EXPECT_EQ(f.t.RangeAnchor(), f.all[4]);
  EXPECT_EQ(f.t.Focused(), f.all[4]);
  f.t.SetSelected(f.all[6], true);
  EXPECT_EQ(f.t.RangeAnchor(), f.all[4]);
  EXPECT_EQ(f.t.Focused(), f.all[4]) << "a second node does not move the focus with multi-select";
  f.t.SetSelected(f.all[4], false);
  f.t.SetSelected(f.all[6], false);
  EXPECT_EQ(f.t.SelectedCount(), 0u);
  EXPECT_EQ(f.t.RangeAnchor(), f.t.Focused()) << "the anchor falls back to the focused node";
}

TEST(Selection, SingleSelectReplacesAndFocuses) {
  Fixture f;
  f.t.SetSelected(f.all[2], true);
  f.t.SetSelected(f.all[9], true);
  EXPECT_EQ(Flagged(f.t), (NodeList{f.all[9]}));
  EXPECT_EQ(f.t.Focused(), f.all[9]);
}

TEST(Selection, KeyboardRangeFollowsTheFocusAroundTheAnchor) {
  Fixture f;
  f.Multi();
  // Rows 0..23 in display order; the anchor at row 8, the focus walks with Shift+Down and Shift+Up.
  f.t.SetSelected(f.all[8], true);
  PLazyNode focus = f.all[8];
  auto move = [&](int to) {
    f.t.ToggleSelectionRange(focus, f.all[to]);
    focus = f.all[to];
  };
  auto rows = [&] {
    std::vector<std::string> r;
    for (PLazyNode n : Flagged(f.t)) r.push_back(f.Name(n));
    return r;
  };
  move(9);
  move(11);
  EXPECT_EQ(rows(), (std::vector<std::string>{"8", "9", "10", "11"}));
  move(10);
  EXPECT_EQ(rows(), (std::vector<std::string>{"8", "9", "10"})) << "passing back towards the anchor deselects";
  move(6);
  EXPECT_EQ(rows(), (std::vector<std::string>{"6", "7", "8"})) << "crossing the anchor flips the side";
  f.log.clear();
  move(7);
  EXPECT_EQ(rows(), (std::vector<std::string>{"7", "8"}));
  EXPECT_EQ(f.log, (std::vector<std::string>{"-6", "change nil"})) << "a removal alone is announced";
  EXPECT_EQ(CheckSelection(f.t), "");
}

TEST(Selection, RangesSkipCollapsedChildrenAndSelectAcrossLevels) {
  Fixture f;
  f.Multi();
  f.t.ToggleNode(f.all[1]);  // top 0's first child collapses: rows 2 and 3 are hidden
  f.t.AddRangeToSelection(f.all[0], f.all[5], false);
  EXPECT_EQ(Flagged(f.t), (NodeList{f.all[0], f.all[1], f.all[4], f.all[5]}));
  // A hidden end stands for the row above it.
  f.t.AddRangeToSelection(f.all[6], f.all[3], false);
  EXPECT_EQ(Flagged(f.t), (NodeList{f.all[1], f.all[4], f.all[5], f.all[6]}));
}

TEST(Selection, Constraints) {
  struct Case {
    TLTSelectionOption option;
    int first, from, to;
    std::vector<int> expected;
  };
  // Rows: 0 top; 1 child; 2,3 grandchildren; 4,5 children; 6 top; 7 child ...
  const Case cases[] = {
      {toLevelSelectConstraint, 1, 1, 8, {1, 4, 5, 7}},  // only level 1 joins the first node's level
      {toSiblingSelectConstraint, 4, 0, 6, {1, 4, 5}},   // only children of top 0 (the anchor's siblings)
  };
  for (const Case& c : cases) {
    Fixture f;
    f.Multi();
    f.t.TreeOptions().SelectionOptions.Include(c.option);
    f.t.SetSelected(f.all[c.first], true);
    f.t.AddRangeToSelection(f.all[c.from], f.all[c.to], true);
    std::vector<int> got;
    for (PLazyNode n : Flagged(f.t)) got.push_back(std::stoi(f.Name(n)));
    EXPECT_EQ(got, c.expected) << "option " << int(c.option);
  }
}

TEST(Selection, DisabledNodesAreSkipped) {
  Fixture f;
  f.Multi();
  f.t.SetDisabled(f.all[2], true);
  f.t.SelectAll(true);
  EXPECT_FALSE(f.t.Selected(f.all[2]));
  EXPECT_EQ(f.t.SelectedCount(), f.all.size() - 1);
}

TEST(Selection, InvertingEverythingLeavesNothingWithOneNotification) {
  Fixture f;
  f.Multi();
  f.t.SelectAll(false);
  f.log.clear();
  f.t.InvertSelection(false);
  EXPECT_EQ(f.t.SelectedCount(), 0u);
  EXPECT_EQ(std::count(f.log.begin(), f.log.end(), "change nil"), 1);
  EXPECT_EQ(std::count_if(f.log.begin(), f.log.end(), [](const std::string& s) { return s[0] == '-'; }),
            static_cast<long>(f.all.size()));
  f.t.InvertSelection(true);
  EXPECT_EQ(f.t.SelectedCount(), f.all.size());
  f.t.TreeOptions().SelectionOptions.Exclude(toMultiSelect);
  f.t.InvertSelection(true);
  EXPECT_EQ(f.t.SelectedCount(), f.all.size()) << "without multi-select nothing happens";
}

TEST(Selection, SortedSelectionResolvesToTopmostNodes) {
  Fixture f;
  f.Multi();
  for (int i : {13, 1, 2, 6, 0}) f.t.SetSelected(f.all[i], true);
  EXPECT_EQ(f.t.GetSortedSelection(false), (NodeList{f.all[0], f.all[1], f.all[2], f.all[6], f.all[13]}));
  EXPECT_EQ(f.t.GetSortedSelection(true), (NodeList{f.all[0], f.all[6], f.all[13]}));
}

TEST(Selection, DeletedNodesLeaveTheArrayAndReusedBlocksJoinCleanly) {
  Fixture f;
  f.Multi();
  f.t.SelectAll(false);
  f.t.DeleteNode(f.all[0]);  // six selected nodes go
  EXPECT_EQ(CheckSelection(f.t), "");
  f.t.BeginUpdate();
  f.t.DeleteChildren(f.all[6]);
  f.t.EndUpdate();
  EXPECT_EQ(CheckSelection(f.t), "");
  // New nodes may take the freed blocks; selecting them must not meet the old entries.
  f.t.SetChildCount(f.all[6], 4);
  f.t.SetExpanded(f.all[6], true);
  f.t.SelectAll(true);
  EXPECT_EQ(CheckSelection(f.t), "");
  f.t.Clear();
  EXPECT_EQ(f.t.SelectedCount(), 0u);
  EXPECT_TRUE(f.t.GetSortedSelection(false).empty());
}

TEST(Selection, ManyNodesFromReusedBlocksStayOrdered) {
  // Blocks freed and taken again scatter the addresses of a range; the array must stay ordered.
  TTree t;
  t.TreeOptions().SelectionOptions.Include(toMultiSelect);
  t.SetRootNodeCount(20000);
  std::mt19937 rng(3);
  for (int round = 0; round < 4; ++round) {
    NodeList nodes;
    for (PLazyNode n = t.GetFirstNoInit(); n; n = n->NextSibling) nodes.push_back(n);
    std::shuffle(nodes.begin(), nodes.end(), rng);
    for (std::size_t i = 0; i < nodes.size() / 3; ++i) t.DeleteNode(nodes[i]);
    for (int i = 0; i < 5000; ++i) t.InsertNode(nodes[nodes.size() / 3 + rng() % (nodes.size() / 2)], amInsertAfter);
    t.SelectAll(true);
    ASSERT_EQ(CheckSelection(t), "") << "round " << round;
    t.InvertSelection(true);
    t.AddRangeToSelection(t.GetFirstNoInit(), t.GetLastNoInit(), false);
    ASSERT_EQ(CheckSelection(t), "") << "round " << round;
    t.ClearSelection();
  }
}

TEST(Selection, NilAndForeignThreadAreProgrammingErrors) {
  Fixture f;
  EXPECT_THROW(f.t.AddToSelection(static_cast<PLazyNode>(nullptr)), ELazyTreeAssertion);
  EXPECT_THROW(f.t.RemoveFromSelection(nullptr), ELazyTreeAssertion);
  EXPECT_THROW(f.t.ToggleSelectionRange(f.all[0], nullptr), ELazyTreeAssertion);
  EXPECT_THROW(f.t.RemoveSelectionRange(f.all[0], nullptr), ELazyTreeAssertion);
  int argc = 0;
  QCoreApplication app(argc, nullptr);
  f.t.AddToSelection(f.all[1]);
  std::string message;
  std::thread([&] {
    try {
      f.t.RemoveFromSelection(f.all[1]);
    } catch (const ELazyTreeAssertion& e) {
      message = e.Message().toStdString();
    }
  }).join();
  EXPECT_EQ(message, "TBaseLazyTree.RemoveFromSelection() must only be called from UI thread.");
  EXPECT_TRUE(f.t.Selected(f.all[1]));
}

}  // namespace
}  // namespace lazytree
