// Expanding and collapsing whole subtrees, and the hidden-children flag after hiding.
#include <gtest/gtest.h>

#include "tree/lazytree.h"
#include "tree/tests/treecheck.h"

namespace lazytree {
namespace {

// Roots x Children x Grandchildren, all collapsed.
void Fill(TBaseLazyTree& t, uint32_t roots, uint32_t children, uint32_t grand) {
  t.SetRootNodeCount(roots);
  for (PLazyNode r = t.GetFirstNoInit(); r; r = r->NextSibling) {
    t.SetChildCount(r, children);
    for (PLazyNode c = r->FirstChild; c; c = c->NextSibling) t.SetChildCount(c, grand);
  }
}

TEST(FullExpand, WholeTreeSubtreeAndCancellation) {
  struct Case {
    const char* name;
    int subtree;        // -1: whole tree, else the index of a root
    int cancelAfter;    // expansions allowed before OnExpanding cancels; -1 never, 0 in OnStartOperation
    uint32_t visible;
  };
  const Case cases[] = {
      {"whole tree", -1, -1, 3 + 6 + 12},
      {"second root only", 1, -1, 3 + 2 + 4},
      {"cancelled by the start handler", -1, 0, 3},
      {"cancelled after two expansions", -1, 2, 3 + 2 + 2},
  };
  for (const Case& c : cases) {
    TBaseLazyTree t;
    Fill(t, 3, 2, 2);
    int expansions = 0;
    t.OnStartOperation = [&](TBaseLazyTree* s, TLTOperationKind k) {
      EXPECT_EQ(k, okExpand);
      if (c.cancelAfter == 0) s->CancelOperation();
    };
    t.OnExpanding = [&](TBaseLazyTree* s, PLazyNode, bool&) {
      if (c.cancelAfter > 0 && ++expansions > c.cancelAfter) s->CancelOperation();
    };
    PLazyNode node = nullptr;
    if (c.subtree >= 0) {
      node = t.GetFirstNoInit();
      for (int i = 0; i < c.subtree; ++i) node = node->NextSibling;
    }
    t.FullExpand(node);
    EXPECT_EQ(t.VisibleCount(), c.visible) << c.name;
    EXPECT_EQ(testing::CheckTree(t), "") << c.name;
    EXPECT_EQ(testing::CheckRows(t), "") << c.name;
    EXPECT_FALSE(t.TreeStates().Has(tsExpanding)) << c.name;
  }
}

TEST(FullCollapse, CollapsesEverythingAndLeavesASingleLevelAlone) {
  TBaseLazyTree t;
  Fill(t, 3, 2, 2);
  t.FullExpand();
  t.FullCollapse();
  EXPECT_EQ(t.VisibleCount(), 3u);
  for (PLazyNode n = t.GetFirstNoInit(); n; n = t.GetNextNoInit(n)) EXPECT_FALSE(n->Has(vsExpanded));
  EXPECT_EQ(testing::CheckTree(t), "");
  TBaseLazyTree flat;
  flat.SetRootNodeCount(4);
  int events = 0;
  flat.OnCollapsing = [&](TBaseLazyTree*, PLazyNode, bool&) { ++events; };
  flat.FullCollapse(nullptr);
  EXPECT_EQ(events, 0);
  EXPECT_EQ(flat.VisibleCount(), 4u);
}

TEST(Visibility, HidingTheOnlyVisibleChildMarksTheParent) {
  for (bool inUpdate : {false, true}) {
    TBaseLazyTree t;
    t.SetRootNodeCount(1);
    PLazyNode p = t.GetFirstNoInit();
    t.SetChildCount(p, 1);
    if (inUpdate) t.BeginUpdate();
    t.SetVisible(p->FirstChild, false);
    if (inUpdate) {
      EXPECT_TRUE(t.TreeStates().Has(tsUpdateHiddenChildrenNeeded));
      t.EndUpdate();
    }
    EXPECT_TRUE(p->Has(vsAllChildrenHidden)) << inUpdate;
    t.SetVisible(p->FirstChild, true);
    EXPECT_FALSE(p->Has(vsAllChildrenHidden)) << inUpdate;
  }
}

TEST(Visibility, FullyVisibleExpandsTheAncestorsAndAFilteredParentKeepsItsChildren) {
  TBaseLazyTree t;
  Fill(t, 1, 1, 1);
  PLazyNode root = t.GetFirstNoInit(), child = root->FirstChild, grand = child->FirstChild;
  t.SetVisible(child, false);
  t.SetFullyVisible(grand, true);
  EXPECT_TRUE(root->Has(vsExpanded));
  EXPECT_TRUE(child->Has(vsExpanded));
  EXPECT_TRUE(child->Has(vsVisible));
  EXPECT_TRUE(t.GetFullyVisible(grand));
  t.SetFiltered(child, true);
  EXPECT_EQ(t.VisibleCount(), 2u) << "the filtered row goes, its child stays";
  EXPECT_EQ(testing::CheckRows(t), "");
  t.SetVerticalAlignment(grand, 250);
  EXPECT_EQ(t.GetVerticalAlignment(grand), 100);
  EXPECT_THROW(t.SetFullyVisible(nullptr, true), ELazyTreeAssertion);
}

}  // namespace
}  // namespace lazytree
