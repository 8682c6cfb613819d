// Random sequences of structure operations, checked after every step against a plain reference tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "tree/lazytree.h"
#include "tree/tests/treecheck.h"

namespace lazytree {
namespace {

// Node data with a non-trivial member, counting constructions and destructions.
struct Payload {
  static inline int live = 0;
  Payload() { ++live; }
  ~Payload() { --live; }
  Payload(const Payload&) = delete;
  Payload& operator=(const Payload&) = delete;
  int id = 0;
  std::string text = std::string(40, 'x');  // heap-allocated, so a missed destructor leaks
};

struct RefNode {
  int id;
  RefNode* parent = nullptr;
  std::vector<RefNode*> children;
};

class RefTree {
 public:
  RefNode root{0, nullptr, {}};
  std::map<int, std::unique_ptr<RefNode>> nodes;

  RefNode* Make(int id, RefNode* parent, std::size_t pos) {
    auto n = std::make_unique<RefNode>(RefNode{id, parent, {}});
    RefNode* raw = n.get();
    nodes[id] = std::move(n);
    parent->children.insert(parent->children.begin() + static_cast<std::ptrdiff_t>(pos), raw);
    return raw;
  }
  static std::size_t PosOf(RefNode* n) {
    auto& sib = n->parent->children;
    return static_cast<std::size_t>(std::find(sib.begin(), sib.end(), n) - sib.begin());
  }
  void Detach(RefNode* n) { n->parent->children.erase(n->parent->children.begin() + static_cast<std::ptrdiff_t>(PosOf(n))); }
  void CollectIds(RefNode* n, std::set<int>& out) {
    for (RefNode* c : n->children) {
      out.insert(c->id);
      CollectIds(c, out);
    }
  }
  void Remove(RefNode* n, std::set<int>& removed) {
    CollectIds(n, removed);
    removed.insert(n->id);
    Detach(n);
  }
  void RemoveChildren(RefNode* n, std::set<int>& removed) {
    CollectIds(n, removed);
    n->children.clear();
  }
  void PreOrder(RefNode* n, std::vector<int>& out) const {
    for (RefNode* c : n->children) {
      out.push_back(c->id);
      PreOrder(c, out);
    }
  }
};

class StructureFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Payload::live = 0;
    tree = std::make_unique<TBaseLazyTree>();
    tree->SetNodeDataType<Payload>();
    tree->OnFreeNode = [this](TBaseLazyTree* t, PLazyNode n) { freed.push_back(t->GetNodeData<Payload>(n)->id); };
  }
  void TearDown() override {
    tree.reset();
    EXPECT_EQ(Payload::live, 0) << "node data constructed and destroyed in pairs";
  }

  int Id(PLazyNode n) { return tree->GetNodeData<Payload>(n)->id; }
  PLazyNode Named(PLazyNode n) {
    tree->GetNodeData<Payload>(n)->id = ++lastId;
    return n;
  }

  std::vector<int> TreeOrder() {
    std::vector<int> out;
    for (PLazyNode n = tree->GetFirstNoInit(); n; n = tree->GetNextNoInit(n)) out.push_back(Id(n));
    return out;
  }

  std::unique_ptr<TBaseLazyTree> tree;
  std::vector<int> freed;
  int lastId = 0;
};

TEST_F(StructureFixture, RandomOperationsKeepTheStructureConsistent) {
  RefTree ref;
  std::map<int, PLazyNode> byId;  // live nodes by id
  std::mt19937 rng(20261210);
  auto pick = [&](bool allowNil) -> PLazyNode {
    if (byId.empty() || (allowNil && rng() % 8 == 0)) return nullptr;
    auto it = byId.begin();
    std::advance(it, static_cast<long>(rng() % byId.size()));
    return it->second;
  };
  auto refOf = [&](PLazyNode n) -> RefNode* { return n ? ref.nodes.at(Id(n)).get() : &ref.root; };
  auto forget = [&](const std::set<int>& ids) {
    for (int id : ids) {
      byId.erase(id);
      ref.nodes.erase(id);
    }
  };
  auto adopt = [&](PLazyNode parent, uint32_t from) {
    // Names the nodes a child count created and mirrors them.
    PLazyNode p = parent ? parent : tree->RootNode();
    uint32_t i = 0;
    for (PLazyNode c = p->FirstChild; c; c = c->NextSibling, ++i)
      if (i >= from) {
        Named(c);
        byId[Id(c)] = c;
        ref.Make(Id(c), refOf(parent), i);
      }
  };
  int updates = 0;

  for (int step = 0; step < 20000; ++step) {
    const unsigned op = rng() % 100;
    std::set<int> removed;
    freed.clear();
    std::string what;
    if (op < 25) {
      what = "AddChild";
      PLazyNode parent = pick(true);
      PLazyNode n = Named(tree->AddChild(parent));
      byId[Id(n)] = n;
      ref.Make(Id(n), refOf(parent), refOf(parent)->children.size());
    } else if (op < 40) {
      what = "InsertNode";
      PLazyNode at = pick(true);
      const auto mode = static_cast<TLTNodeAttachMode>(1 + rng() % 4);
      PLazyNode n = Named(tree->InsertNode(at, mode));
      byId[Id(n)] = n;
      RefNode* r = refOf(at);
      if (!at) {
        ref.Make(Id(n), r, mode == amInsertBefore || mode == amAddChildFirst ? 0 : r->children.size());
      } else if (mode == amInsertBefore || mode == amInsertAfter) {
        ref.Make(Id(n), r->parent, RefTree::PosOf(r) + (mode == amInsertAfter ? 1 : 0));
      } else {
        ref.Make(Id(n), r, mode == amAddChildFirst ? 0 : r->children.size());
      }
    } else if (op < 52) {
      what = "DeleteNode";
      if (PLazyNode n = pick(false)) {
        ref.Remove(refOf(n), removed);
        tree->DeleteNode(n);
      }
    } else if (op < 56) {
      what = "DeleteChildren";
      if (PLazyNode n = pick(false)) {
        ref.RemoveChildren(refOf(n), removed);
        tree->DeleteChildren(n, rng() % 2 == 0);
      }
    } else if (op < 64) {
      what = "SetChildCount";
      PLazyNode n = pick(true);
      RefNode* r = refOf(n);
      const uint32_t count = static_cast<uint32_t>(rng() % 5);
      const uint32_t old = static_cast<uint32_t>(r->children.size());
      for (uint32_t i = count; i < old; ++i) {
        ref.CollectIds(r->children[i], removed);
        removed.insert(r->children[i]->id);
      }
      if (count < old) r->children.resize(count);
      tree->SetChildCount(n, count);
      if (count > old) adopt(n, old);
    } else if (op < 70) {
      what = "MoveTo";
      PLazyNode source = pick(false);
      PLazyNode target = pick(true);
      const auto mode = static_cast<TLTNodeAttachMode>(1 + rng() % 4);
      if (source && source != target) {
        RefNode* rs = refOf(source);
        RefNode* rt = refOf(target);
        bool below = false;
        for (RefNode* a = rt; a; a = a->parent) below = below || a == rs;
        if (below) {
          EXPECT_THROW(tree->MoveTo(source, target, mode, false), ELazyTreeError);
        } else {
          TLTNodeAttachMode m = mode;
          if (!target) m = amAddChildFirst;
          tree->MoveTo(source, target, mode, false);
          ref.Detach(rs);
          if (m == amInsertBefore || m == amInsertAfter) {
            rs->parent = rt->parent;
            rt->parent->children.insert(
                rt->parent->children.begin() + static_cast<std::ptrdiff_t>(RefTree::PosOf(rt) + (m == amInsertAfter)), rs);
          } else {
            rs->parent = rt;
            rt->children.insert(m == amAddChildFirst ? rt->children.begin() : rt->children.end(), rs);
          }
        }
      }
    } else if (op < 74) {
      what = "MoveTo children";
      PLazyNode source = pick(false);
      PLazyNode target = rng() % 4 == 0 ? source : pick(true);
      auto mode = static_cast<TLTNodeAttachMode>(1 + rng() % 4);
      if (source == target && mode > amInsertAfter) mode = amInsertAfter;
      if (source) {
        RefNode* rs = refOf(source);
        RefNode* rt = refOf(target);
        bool below = false;
        for (RefNode* a = rt; a && a != rs; a = a->parent) below = below || a->parent == rs;
        if (below) {
          EXPECT_THROW(tree->MoveTo(source, target, mode, true), ELazyTreeError);
        } else {
          TLTNodeAttachMode m = target ? mode : amAddChildFirst;
          tree->MoveTo(source, target, mode, true);
          std::vector<RefNode*> moving = rs->children;
          rs->children.clear();
          if (m == amAddChildFirst) std::reverse(moving.begin(), moving.end());
          for (RefNode* c : moving) {
            if (m == amInsertBefore || m == amInsertAfter) {
              c->parent = rt->parent;
              rt->parent->children.insert(
                  rt->parent->children.begin() + static_cast<std::ptrdiff_t>(RefTree::PosOf(rt) + (m == amInsertAfter)), c);
            } else {
              c->parent = rt;
              rt->children.insert(m == amAddChildFirst ? rt->children.begin() : rt->children.end(), c);
            }
          }
        }
      }
    } else if (op < 82) {
      what = "ToggleNode";
      if (PLazyNode n = pick(false)) tree->ToggleNode(n);
    } else if (op < 86) {
      what = "SetVisible";
      if (PLazyNode n = pick(false)) tree->SetVisible(n, !n->Has(vsVisible));
    } else if (op < 89) {
      what = "SetFiltered";
      if (PLazyNode n = pick(false)) tree->SetFiltered(n, !n->Has(vsFiltered));
    } else if (op < 91) {
      what = "SetNodeHeight";
      if (PLazyNode n = pick(false)) tree->SetNodeHeight(n, 10 + rng() % 30);
    } else if (op < 93) {
      what = "Selection";
      if (PLazyNode n = pick(false)) {
        if (n->Has(vsSelected))
          tree->RemoveFromSelection(n);
        else
          tree->AddToSelection(n);
      }
    } else if (op < 97) {
      what = "Update bracket";
      if (updates > 0 && rng() % 2 == 0) {
        tree->EndUpdate();
        --updates;
      } else if (updates < 3) {
        tree->BeginUpdate();
        ++updates;
      }
    } else if (op < 98) {
      what = "Clear";
      ref.RemoveChildren(&ref.root, removed);
      tree->Clear();
    } else {
      what = "show filtered";
      auto& paint = tree->TreeOptions().PaintOptions;
      // Only toggled while nothing is filtered; the option change itself re-counts nothing here.
      bool anyFiltered = false;
      for (PLazyNode n = tree->GetFirstNoInit(); n; n = tree->GetNextNoInit(n)) anyFiltered |= n->Has(vsFiltered);
      if (!anyFiltered) {
        if (paint.Has(toShowFilteredNodes))
          paint.Exclude(toShowFilteredNodes);
        else
          paint.Include(toShowFilteredNodes);
      }
    }
    forget(removed);
    const std::string problem = testing::CheckTree(*tree);
    ASSERT_EQ(problem, "") << "after " << what << " at step " << step;
    std::vector<int> want;
    ref.PreOrder(&ref.root, want);
    ASSERT_EQ(TreeOrder(), want) << "after " << what << " at step " << step;
    std::sort(freed.begin(), freed.end());
    ASSERT_EQ(freed, std::vector<int>(removed.begin(), removed.end())) << "after " << what << " at step " << step;
    ASSERT_EQ(static_cast<int>(byId.size()), Payload::live);
    ASSERT_EQ(tree->RootNode()->TotalCount - 1, byId.size());
  }
  while (updates-- > 0) tree->EndUpdate();
  EXPECT_EQ(testing::CheckTree(*tree), "");
}

TEST_F(StructureFixture, DeepChainIsBuiltWalkedAndFreedWithoutRecursion) {
  // Built bottom-up, each new top-level node adopting the chain, so that every step stays cheap.
  const int depth = 200000;
  PLazyNode deepest = tree->AddChild(nullptr);
  PLazyNode top = deepest;
  tree->BeginUpdate();
  for (int i = 1; i < depth; ++i) {
    PLazyNode p = tree->AddChild(nullptr);
    tree->MoveTo(top, p, amAddChildLast, false);
    top = p;
  }
  tree->EndUpdate();
  EXPECT_EQ(tree->GetNodeLevel(deepest), static_cast<uint32_t>(depth - 1));
  EXPECT_EQ(tree->GetLastNoInit(), deepest);
  EXPECT_EQ(testing::CheckTree(*tree), "");
  tree->ValidateNode(nullptr, true);
  tree->ReinitChildren(nullptr, true);
  tree->InitRecursive(nullptr, UINT32_MAX, false);
  tree->Clear();
  EXPECT_TRUE(tree->IsEmpty());
  EXPECT_EQ(tree->TotalCount(), 0u);
}

TEST_F(StructureFixture, NodeAddressesStayValidWhileTheStoreGrows) {
  PLazyNode first = Named(tree->AddChild(nullptr));
  tree->SetChildCount(nullptr, 50000);
  EXPECT_EQ(tree->GetFirstNoInit(), first);
  EXPECT_EQ(Id(first), 1);
  EXPECT_EQ(testing::CheckTree(*tree), "");
}

TEST(NodeStore, ReusedBlocksComeBackBlank) {
  // Enough nodes for the store's large chunks, which are kept and handed out again after a Clear.
  TBaseLazyTree tree;
  tree.SetNodeDataSize(64);
  for (int round = 0; round < 3; ++round) {
    tree.SetRootNodeCount(60000);
    tree.SetChildCount(tree.GetFirstNoInit(), 3);
    int dirty = 0;
    for (PLazyNode n = tree.GetFirstNoInit(); n; n = tree.GetNextNoInit(n)) {
      auto* data = static_cast<unsigned char*>(tree.GetNodeData(n));
      dirty += std::count(data, data + 64, 0) != 64;
      dirty += n->CheckState != csUncheckedNormal || n->Align != 50 || n->NodeHeight != 18 ||
               n->States.ToBits() != (TLazyNodeStates{vsVisible, vsOnFreeNodeCallRequired} +
                                      (n->ChildCount ? TLazyNodeStates{vsHasChildren} : TLazyNodeStates{}))
                                         .ToBits();
      std::memset(data, 0xFF, 64);
      n->CheckState = csMixedPressed;
    }
    EXPECT_EQ(dirty, 0) << "round " << round;
    EXPECT_EQ(testing::CheckTree(tree), "");
    tree.Clear();
  }
}

TEST(NodeStore, BlocksFreedOneByOneComeBackBlank) {
  // Single deletions hand their blocks to the next additions; nothing of the old node may show through,
  // neither in the record (the check fields share a byte) nor in the user and internal areas behind it.
  TBaseLazyTree tree;
  tree.SetNodeDataSize(24);
  const std::size_t internal = tree.ReserveInternalData(4);
  std::vector<PLazyNode> nodes;
  for (int i = 0; i < 8; ++i) nodes.push_back(tree.AddChild(nullptr));
  for (PLazyNode n : nodes) {
    std::memset(tree.GetNodeData(n), 0xFF, 24);
    std::memset(tree.GetInternalData(n, internal), 0xFF, 4);
    n->CheckState = csMixedDisabled;
    n->CheckType = ctButton;
    n->Align = 7;
    n->Include(vsMultiline);
  }
  EXPECT_EQ(nodes[0]->CheckState, csMixedDisabled);
  EXPECT_EQ(nodes[0]->CheckType, ctButton);
  EXPECT_EQ(nodes[0]->Dummy, 0);
  for (int i = 7; i >= 0; i -= 2) tree.DeleteNode(nodes[i]);
  PLazyNode parent = tree.GetFirstNoInit();
  int dirty = 0;
  for (int i = 0; i < 4; ++i) {
    PLazyNode n = tree.AddChild(parent);
    const auto* data = static_cast<const unsigned char*>(tree.GetNodeData(n));
    const auto* area = static_cast<const unsigned char*>(tree.GetInternalData(n, internal));
    dirty += std::count(data, data + 24, 0) != 24 || std::count(area, area + 4, 0) != 4;
    dirty += n->CheckState != csUncheckedNormal || n->CheckType != ctNone || n->Dummy != 0 || n->Align != 50 ||
             n->Index != uint32_t(i) || n->TotalCount != 1 || n->ChildCount != 0 || n->FirstChild || n->NextSibling;
    dirty += n->States.ToBits() != TLazyNodeStates{vsVisible, vsOnFreeNodeCallRequired}.ToBits();
  }
  EXPECT_EQ(dirty, 0);
  EXPECT_EQ(testing::CheckTree(tree), "");
}

TEST_F(StructureFixture, ChangingTheDataTypeRecreatesTheTopLevelNodes) {
  tree->OnFreeNode = nullptr;
  tree->SetRootNodeCount(3);
  EXPECT_EQ(Payload::live, 3);
  tree->SetNodeDataSize(16);
  EXPECT_EQ(Payload::live, 0);
  EXPECT_EQ(tree->RootNodeCount(), 3u);
  auto* raw = static_cast<unsigned char*>(tree->GetNodeData(tree->GetFirstNoInit()));
  EXPECT_EQ(std::count(raw, raw + 16, 0), 16);
  // A read-only tree cannot clear its nodes, so their blocks cannot change size either.
  tree->TreeOptions().MiscOptions.Include(toReadOnly);
  EXPECT_THROW(tree->SetNodeDataSize(64), ELazyTreeAssertion);
  EXPECT_EQ(tree->NodeDataSize(), 16);
  tree->TreeOptions().MiscOptions.Exclude(toReadOnly);
}

}  // namespace
}  // namespace lazytree

namespace lazytree {
namespace {

// Nodes whose initialisation expands, filters, selects and gives children keep every count right, also when
// each node is initialised as it is created.
TEST(NodeStore, InitialisationSideEffectsKeepTheCountsRight) {
  for (const bool variableHeight : {false, true}) {
    for (unsigned seed = 1; seed <= 10; ++seed) {
      SCOPED_TRACE("seed " + std::to_string(seed) + (variableHeight ? " variable height" : ""));
      std::mt19937 rng(seed);
      TBaseLazyTree t;
      if (variableHeight) t.TreeOptions().MiscOptions.Include(toVariableNodeHeight);
      t.OnInitNode = [&](TBaseLazyTree* tree, PLazyNode, PLazyNode n, TLazyNodeInitStates& s) {
        if (tree->GetNodeLevel(n) < 3 && rng() % 3 != 0) s.Include(ivsHasChildren);
        if (rng() % 2 == 0) s.Include(ivsExpanded);
        if (rng() % 6 == 0) s.Include(ivsFiltered);
        if (rng() % 6 == 0) s.Include(ivsSelected);
      };
      t.OnInitChildren = [&](TBaseLazyTree*, PLazyNode, uint32_t& count) { count = rng() % 4; };
      t.SetRootNodeCount(5);
      ASSERT_EQ(testing::CheckTree(t), "");
      for (PLazyNode n = t.GetFirstVisible(); n; n = t.GetNextVisible(n)) {
      }
      ASSERT_EQ(testing::CheckTree(t), "");
      const uint32_t total = t.TotalCount();
      ASSERT_EQ(testing::CheckTree(t), "");
      EXPECT_EQ(total, t.RootNode()->TotalCount - 1);
      t.ReinitChildren(nullptr, true);
      ASSERT_EQ(testing::CheckTree(t), "");
      for (int i = 0; i < 5; ++i) {
        PLazyNode n = t.GetFirstNoInit();
        for (unsigned k = rng() % t.RootNode()->TotalCount; n && k > 0; --k) n = t.GetNextNoInit(n);
        if (!n) continue;
        if (rng() % 2)
          t.ResetNode(n);
        else
          t.ReinitNode(n, true);
        ASSERT_EQ(testing::CheckTree(t), "") << "step " << i;
      }
    }
  }
}

}  // namespace
}  // namespace lazytree
