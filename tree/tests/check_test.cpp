// Check controls: derived states, image indexes, the asking and applying of a state, propagation between
// tri-state boxes and their children (against a plain reference over random trees and clicks), radio
// exclusivity and the bulk operations.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "tree/checkstate.h"
#include "tree/lazytree.h"
#include "tree/tests/treecheck.h"

namespace lazytree {
namespace {

constexpr TCheckState U = csUncheckedNormal, C = csCheckedNormal, M = csMixedNormal;

TEST(CheckStateForms, FollowTheTable) {
  struct Row {
    TCheckState s;
    bool disabled, checked;
    TCheckState pressed, released, enabled, toggled;
  };
  const Row rows[] = {
      {csUncheckedNormal, false, false, csUncheckedPressed, U, U, C},
      {csUncheckedPressed, false, false, csUncheckedPressed, U, csUncheckedPressed, csCheckedPressed},
      {csCheckedNormal, false, true, csCheckedPressed, C, C, U},
      {csCheckedPressed, false, true, csCheckedPressed, C, csCheckedPressed, csUncheckedPressed},
      {csMixedNormal, false, false, csMixedPressed, M, M, C},
      {csMixedPressed, false, false, csMixedPressed, M, csMixedPressed, csCheckedPressed},
      {csUncheckedDisabled, true, false, csUncheckedDisabled, csUncheckedDisabled, U, csUncheckedDisabled},
      {csCheckedDisabled, true, true, csCheckedDisabled, csCheckedDisabled, C, csCheckedDisabled},
      {csMixedDisabled, true, false, csMixedDisabled, csMixedDisabled, M, csMixedDisabled},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(int(r.s));
    EXPECT_EQ(IsDisabled(r.s), r.disabled);
    EXPECT_EQ(IsChecked(r.s), r.checked);
    EXPECT_EQ(GetPressed(r.s), r.pressed);
    EXPECT_EQ(GetUnpressed(r.s), r.released);
    EXPECT_EQ(GetEnabled(r.s), r.enabled);
    EXPECT_EQ(GetToggled(r.s), r.toggled);
  }
  TBaseLazyTree tree;
  EXPECT_EQ(tree.NextCheckState(ctCheckBox, M), C);
  EXPECT_EQ(tree.NextCheckState(ctTriStateCheckBox, C), U);
  EXPECT_EQ(tree.NextCheckState(ctRadioButton, C), C);
  EXPECT_EQ(tree.NextCheckState(ctButton, C), U);
  EXPECT_EQ(tree.NextCheckState(ctNone, C), M);
}

TEST(CheckImageIndex, GroupsOfFour) {
  struct Row {
    TCheckType t;
    TCheckState s;
    int normal, hot, disabled;
  };
  const Row rows[] = {
      {ctRadioButton, U, 1, 2, 4},          {ctRadioButton, csUncheckedPressed, 3, 3, 4},
      {ctRadioButton, C, 5, 6, 8},          {ctRadioButton, csCheckedPressed, 7, 7, 8},
      {ctCheckBox, U, 9, 10, 12},           {ctCheckBox, csUncheckedPressed, 11, 11, 12},
      {ctTriStateCheckBox, C, 13, 14, 16},  {ctCheckBox, csCheckedPressed, 15, 15, 16},
      {ctCheckBox, M, 17, 18, 20},          {ctRadioButton, csMixedPressed, 19, 19, 20},
      {ctButton, U, 21, 22, 24},            {ctButton, C, 21, 22, 24},
      {ctButton, csCheckedPressed, 23, 23, 24}, {ctButton, M, 17, 18, 20},
      {ctButton, csMixedPressed, 19, 19, 20},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.t) + "/" + std::to_string(r.s));
    EXPECT_EQ(CheckImageIndex(r.t, r.s, true, false), r.normal);
    EXPECT_EQ(CheckImageIndex(r.t, r.s, true, true), r.hot);
    EXPECT_EQ(CheckImageIndex(r.t, r.s, false, false), r.disabled);
  }
  // A disabled state draws as its enabled form, greyed, even on an enabled node.
  EXPECT_EQ(CheckImageIndex(ctCheckBox, csCheckedDisabled, true, true), 16);
  EXPECT_EQ(CheckImageIndex(ctRadioButton, csUncheckedDisabled, true, false), 4);
  EXPECT_EQ(CheckImageIndex(ctNone, C, true, false), -1);
}

// A tree whose events are recorded by node name.
class CheckTree : public ::testing::Test {
 protected:
  TBaseLazyTree tree;
  std::map<PLazyNode, std::string> names;
  std::vector<std::string> log;
  std::map<std::string, bool> refuse;

  void SetUp() override {
    tree.TreeOptions().AutoOptions = {toAutoTristateTracking};
    tree.OnChecking = [this](TBaseLazyTree*, PLazyNode n, TCheckState& s, bool& allowed) {
      log.push_back("checking " + names[n] + " " + std::to_string(s));
      if (refuse[names[n]]) allowed = false;
    };
    tree.OnChecked = [this](TBaseLazyTree*, PLazyNode n) { log.push_back("checked " + names[n]); };
  }
  PLazyNode Add(PLazyNode parent, const std::string& name, TCheckType t, TCheckState s = U) {
    PLazyNode n = tree.AddChild(parent);
    n->CheckType = t;
    n->CheckState = s;
    names[n] = name;
    return n;
  }
};

TEST_F(CheckTree, PlainCheckBoxChangesNoOtherNode) {
  PLazyNode p = Add(nullptr, "p", ctTriStateCheckBox);
  PLazyNode a = Add(p, "a", ctCheckBox);
  PLazyNode b = Add(a, "b", ctCheckBox);
  PLazyNode lone = Add(nullptr, "lone", ctCheckBox);
  PLazyNode k = Add(lone, "k", ctCheckBox);
  tree.SetCheckState(lone, C);
  EXPECT_EQ(log, (std::vector<std::string>{"checking lone 2", "checked lone"}));
  EXPECT_EQ(lone->CheckState, C);
  EXPECT_EQ(k->CheckState, U);
  // A box under a tri-state box drives its parent, but not its own children.
  log.clear();
  tree.SetCheckState(a, C);
  EXPECT_EQ(b->CheckState, U);
  EXPECT_EQ(p->CheckState, C);
  EXPECT_EQ(log, (std::vector<std::string>{"checking a 2", "checking p 2", "checked p", "checked a"}));
}

TEST_F(CheckTree, DisabledChildrenCountOnlyWhenUnchecking) {
  PLazyNode p = Add(nullptr, "p", ctTriStateCheckBox);
  PLazyNode a = Add(p, "a", ctCheckBox);
  PLazyNode b = Add(p, "b", ctCheckBox);
  PLazyNode d = Add(p, "d", ctCheckBox, csUncheckedDisabled);
  tree.SetCheckState(p, C);
  EXPECT_EQ(a->CheckState, C);
  EXPECT_EQ(b->CheckState, C);
  EXPECT_EQ(d->CheckState, csUncheckedDisabled);
  EXPECT_EQ(p->CheckState, C);
  d->CheckState = csCheckedDisabled;
  tree.SetCheckState(p, U);
  EXPECT_EQ(a->CheckState, U);
  EXPECT_EQ(b->CheckState, U);
  EXPECT_EQ(p->CheckState, M);
}

TEST_F(CheckTree, ChildrenDriveTheTriStateParent) {
  PLazyNode p = Add(nullptr, "p", ctTriStateCheckBox);
  PLazyNode kids[3] = {Add(p, "a", ctCheckBox), Add(p, "b", ctCheckBox), Add(p, "c", ctCheckBox)};
  Add(p, "none", ctNone);  // ignored when counting
  tree.SetCheckState(kids[0], C);
  EXPECT_EQ(p->CheckState, M);
  tree.SetCheckState(kids[1], C);
  EXPECT_EQ(p->CheckState, M);
  tree.SetCheckState(kids[2], C);
  EXPECT_EQ(p->CheckState, C);
  for (PLazyNode k : kids) tree.SetCheckState(k, U);
  EXPECT_EQ(p->CheckState, U);
}

TEST_F(CheckTree, RefusingChildKeepsItsStateAndMixesTheParent) {
  PLazyNode p = Add(nullptr, "p", ctTriStateCheckBox);
  PLazyNode a = Add(p, "a", ctCheckBox);
  PLazyNode b = Add(p, "b", ctCheckBox);
  refuse["b"] = true;
  tree.SetCheckState(p, C);
  EXPECT_EQ(a->CheckState, C);
  EXPECT_EQ(b->CheckState, U);
  EXPECT_EQ(p->CheckState, M);
  // A refused parent keeps its state, and the child's change still stands.
  refuse["b"] = false;
  refuse["p"] = true;
  log.clear();
  tree.SetCheckState(b, C);
  EXPECT_EQ(b->CheckState, C);
  EXPECT_EQ(p->CheckState, M);
  EXPECT_EQ(log, (std::vector<std::string>{"checking b 2", "checking p 2"}));  // no OnChecked for b either
}

TEST_F(CheckTree, RadioButtonsAreExclusiveWithoutEvents) {
  PLazyNode r1 = Add(nullptr, "r1", ctRadioButton, C);
  PLazyNode r2 = Add(nullptr, "r2", ctRadioButton);
  PLazyNode box = Add(nullptr, "box", ctCheckBox, C);
  tree.SetCheckState(r2, C);
  EXPECT_EQ(r1->CheckState, U);
  EXPECT_EQ(r2->CheckState, C);
  EXPECT_EQ(box->CheckState, C);
  EXPECT_EQ(log, (std::vector<std::string>{"checking r2 2", "checked r2"}));
}

TEST_F(CheckTree, RefusedChangesLeaveEverything) {
  PLazyNode n = Add(nullptr, "n", ctCheckBox);
  tree.SetDisabled(n, true);
  tree.SetCheckState(n, C);
  EXPECT_EQ(n->CheckState, U);
  tree.SetDisabled(n, false);
  tree.TreeOptions().MiscOptions.Include(toReadOnly);
  tree.SetCheckState(n, C);
  EXPECT_EQ(n->CheckState, U);
  EXPECT_TRUE(log.empty());
  tree.TreeOptions().MiscOptions.Exclude(toReadOnly);
  tree.SetCheckState(n, U);  // unchanged state: not even asked
  EXPECT_TRUE(log.empty());
  // A handler may answer with another state.
  tree.OnChecking = [](TBaseLazyTree*, PLazyNode, TCheckState& s, bool&) { s = csCheckedDisabled; };
  tree.SetCheckState(n, C);
  EXPECT_EQ(n->CheckState, csCheckedDisabled);
}

TEST_F(CheckTree, CheckTypeChangesAndCounts) {
  PLazyNode p = Add(nullptr, "p", ctTriStateCheckBox, M);
  tree.SetCheckType(p, ctCheckBox);
  EXPECT_EQ(p->CheckState, U);
  PLazyNode q = Add(nullptr, "q", ctTriStateCheckBox, C);
  PLazyNode child = Add(q, "child", ctNone);
  tree.SetCheckType(child, ctCheckBox);  // takes the parent's state
  EXPECT_EQ(child->CheckState, C);
  Add(nullptr, "pressed", ctCheckBox, csCheckedPressed);
  Add(nullptr, "disabled", ctCheckBox, csCheckedDisabled);
  EXPECT_EQ(tree.CheckedCount(), 2);
  tree.ClearChecked();
  EXPECT_EQ(tree.CheckedCount(), 0);
  EXPECT_EQ(tree.GetFirstChecked(csCheckedPressed), nullptr);
  EXPECT_EQ(tree.GetFirstChecked(csCheckedDisabled), nullptr);  // a disabled state is no guard against the program
  tree.SetCheckStateForAll(C, false, true);
  EXPECT_EQ(tree.CheckedCount(), 5);
  PLazyNode fixed = Add(nullptr, "fixed", ctCheckBox, csCheckedDisabled);
  tree.SetCheckStateForAll(U, false, true);
  EXPECT_EQ(tree.CheckedCount(), 0);
  EXPECT_EQ(fixed->CheckState, csCheckedDisabled);
}

TEST_F(CheckTree, SettingAllSelectedOnlyTouchesTheSelection) {
  PLazyNode a = Add(nullptr, "a", ctCheckBox);
  PLazyNode b = Add(nullptr, "b", ctCheckBox);
  PLazyNode c = Add(nullptr, "c", ctCheckBox, csUncheckedDisabled);
  PLazyNode d = Add(nullptr, "d", ctCheckBox);
  tree.TreeOptions().SelectionOptions.Include(toMultiSelect);
  tree.SetSelected(a, true);
  tree.SetSelected(c, true);
  tree.SetCheckStateForAll(C, true, true);
  EXPECT_EQ(a->CheckState, C);
  EXPECT_EQ(b->CheckState, U);
  EXPECT_EQ(c->CheckState, csUncheckedDisabled);  // excluded
  EXPECT_EQ(d->CheckState, U);
  // Not excluding the disabled ones: the program may change a disabled state.
  tree.SetCheckStateForAll(C, true, false);
  EXPECT_EQ(c->CheckState, C);
  EXPECT_EQ(b->CheckState, U);
  EXPECT_EQ(tree.CheckedCount(), 2);
}

// --- Random trees and clicks against a plain reference ------------------------------------------------------

struct RefNode {
  int parent = -1;  // -1: top level
  std::vector<int> kids;
  TCheckType type = ctNone;
  TCheckState state = U;
  bool disabled = false, refuse = false, checking = false;
  int checkedEvents = 0;
};

// The propagation rules written over index vectors, recursing without shortcuts.
struct RefTree {
  std::vector<RefNode> n;
  std::vector<int> top;

  static bool Box(TCheckType t) { return t == ctTriStateCheckBox || t == ctCheckBox; }
  std::vector<int>& Siblings(int i) { return n[i].parent < 0 ? top : n[n[i].parent].kids; }
  void Set(int i, TCheckState v) {
    if (n[i].state == v || n[i].disabled || n[i].refuse) return;
    if (Propagate(i, v)) ++n[i].checkedEvents;
  }
  bool Propagate(int i, TCheckState v) {
    RefNode& x = n[i];
    if (x.checking || x.state == v) return false;
    x.checking = true;
    if (x.type == ctTriStateCheckBox && !x.kids.empty() && (v == U || v == C)) {
      bool anyU = false, anyC = false, anyM = false;
      for (int k : x.kids) {
        if (!Box(n[k].type)) continue;
        if (!IsDisabled(n[k].state)) Set(k, v);
        TCheckState s = n[k].state;
        if (v == U && s == csUncheckedDisabled) s = U;
        if (v == U && s == csCheckedDisabled) s = C;
        anyU |= s == U;
        anyC |= s == C;
        anyM |= s == M;
      }
      if (anyM || (anyC && anyU)) v = M;
      else if (anyC) v = C;
    } else if (x.type == ctRadioButton && v == C) {
      for (int s : Siblings(i))
        if (n[s].type == ctRadioButton) n[s].state = U;
    }
    x.state = v;
    bool result = true;
    if (x.parent >= 0) {
      RefNode& p = n[x.parent];
      if (!p.checking && !p.disabled && Box(x.type) && p.type == ctTriStateCheckBox) {
        int counted = 0, checked = 0;
        bool mixed = false;
        for (int k : p.kids) {
          if (!Box(n[k].type)) continue;
          ++counted;
          checked += IsChecked(n[k].state);
          mixed |= n[k].state == M;
        }
        const TCheckState ps = checked == 0 && !mixed ? U : checked < counted ? M : C;
        result = !p.refuse;
        if (result && Propagate(x.parent, ps)) ++p.checkedEvents;
      }
    }
    x.checking = false;
    return result;
  }
};

TEST(CheckPropagation, MatchesReferenceOverRandomTreesAndClicks) {
  const TCheckType types[] = {ctTriStateCheckBox, ctTriStateCheckBox, ctCheckBox, ctCheckBox, ctRadioButton,
                              ctButton, ctNone};
  const TCheckState states[] = {U, C, M, csUncheckedDisabled, csCheckedDisabled, csCheckedPressed};
  for (int seed = 1; seed <= 60; ++seed) {
    std::mt19937 rng(seed);
    TBaseLazyTree tree;
    tree.TreeOptions().AutoOptions = {toAutoTristateTracking};
    RefTree ref;
    std::vector<PLazyNode> nodes;
    std::map<PLazyNode, int> id;
    const int count = 5 + static_cast<int>(rng() % 40);
    for (int i = 0; i < count; ++i) {
      const int parent = i == 0 || rng() % 4 == 0 ? -1 : static_cast<int>(rng() % i);
      PLazyNode node = tree.AddChild(parent < 0 ? nullptr : nodes[parent]);
      RefNode r;
      r.parent = parent;
      r.type = types[rng() % std::size(types)];
      r.state = rng() % 3 ? U : states[rng() % std::size(states)];
      if (r.type != ctTriStateCheckBox && r.state == M) r.state = U;
      r.disabled = rng() % 12 == 0;
      r.refuse = rng() % 10 == 0;
      node->CheckType = r.type;
      node->CheckState = r.state;
      if (r.disabled) tree.SetDisabled(node, true);
      (parent < 0 ? ref.top : ref.n[parent].kids).push_back(i);
      ref.n.push_back(r);
      nodes.push_back(node);
      id[node] = i;
    }
    std::vector<int> events(count, 0);
    tree.OnChecking = [&](TBaseLazyTree*, PLazyNode n, TCheckState&, bool& allowed) { allowed = !ref.n[id[n]].refuse; };
    tree.OnChecked = [&](TBaseLazyTree*, PLazyNode n) { ++events[id[n]]; };
    for (int click = 0; click < 80; ++click) {
      const int i = static_cast<int>(rng() % count);
      const TCheckState next = tree.NextCheckState(nodes[i]->CheckType, nodes[i]->CheckState);
      tree.SetCheckState(nodes[i], next);
      ref.Set(i, next);
      for (int k = 0; k < count; ++k) {
        ASSERT_EQ(nodes[k]->CheckState, ref.n[k].state) << "seed " << seed << " click " << click << " node " << k;
        ASSERT_EQ(events[k], ref.n[k].checkedEvents) << "seed " << seed << " click " << click << " node " << k;
        ASSERT_FALSE(nodes[k]->Has(vsChecking));
      }
    }
    EXPECT_EQ(testing::CheckTree(tree), "");
  }
}

// With only enabled boxes and nobody refusing, every tri-state parent ends as the summary of its children.
TEST(CheckPropagation, TriStateParentsSummariseTheirChildren) {
  for (int seed = 1; seed <= 30; ++seed) {
    std::mt19937 rng(seed);
    TBaseLazyTree tree;
    tree.TreeOptions().AutoOptions = {toAutoTristateTracking};
    std::vector<PLazyNode> nodes;
    for (int i = 0; i < 60; ++i) {
      PLazyNode n = tree.AddChild(i == 0 || rng() % 5 == 0 ? nullptr : nodes[rng() % i]);
      n->CheckType = ctTriStateCheckBox;
      nodes.push_back(n);
    }
    for (int click = 0; click < 100; ++click) {
      PLazyNode n = nodes[rng() % nodes.size()];
      tree.SetCheckState(n, tree.NextCheckState(n->CheckType, n->CheckState));
      for (PLazyNode p : nodes) {
        if (!p->FirstChild) continue;
        bool anyU = false, anyC = false, anyM = false;
        for (PLazyNode k = p->FirstChild; k; k = k->NextSibling) {
          anyU |= k->CheckState == U;
          anyC |= k->CheckState == C;
          anyM |= k->CheckState == M;
        }
        const TCheckState want = anyM || (anyU && anyC) ? M : anyC ? C : U;
        ASSERT_EQ(p->CheckState, want) << "seed " << seed << " click " << click;
      }
    }
  }
}

}  // namespace
}  // namespace lazytree
