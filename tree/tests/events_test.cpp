// Order and content of initialisation, update-bracket and change notifications, and the guards against
// structure edits made by handlers in the middle of a deletion, an initialisation or an iteration.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "tree/lazytree.h"
#include "tree/tests/treecheck.h"

namespace lazytree {
namespace {

// A tree with a window stand-in: timers are recorded and fired by hand.
class TimedTree : public TBaseLazyTree {
 public:
  std::map<int, uint32_t> timers;
  void Fire(int id) {
    ASSERT_TRUE(timers.count(id)) << "timer " << id << " not running";
    TimerFired(id);
  }

 protected:
  bool HandleAllocated() const override { return true; }
  void StartTimer(int id, uint32_t ms) override { timers[id] = ms; }
  void StopTimer(int id) override { timers.erase(id); }
};

const char* ReasonName(TChangeReason r) {
  static const char* names[] = {"ignore", "accumulated", "childAdded", "childDeleted", "nodeAdded", "nodeCopied",
                                "nodeMoved"};
  return names[r];
}

// Records every event as a line of text, naming nodes by the label stored in their data.
class EventLog {
 public:
  explicit EventLog(TBaseLazyTree& t) : tree(t) {
    tree.SetNodeDataSize(sizeof(void*));
    tree.OnInitNode = [this](TBaseLazyTree*, PLazyNode, PLazyNode n, TLazyNodeInitStates& s) {
      Add("init " + Name(n));
      if (initAnswer) initAnswer(n, s);
    };
    tree.OnFreeNode = [this](TBaseLazyTree*, PLazyNode n) { Add("free " + Name(n)); };
    tree.OnStructureChange = [this](TBaseLazyTree*, PLazyNode n, TChangeReason r) {
      Add(std::string("structure ") + Name(n) + " " + ReasonName(r));
      if (onStructure) onStructure(n);
    };
    tree.OnChange = [this](TBaseLazyTree*, PLazyNode n) { Add("change " + Name(n)); };
    tree.OnUpdating = [this](TBaseLazyTree*, TLTUpdateState s) {
      static const char* names[] = {"begin", "beginSynch", "synch", "end", "endSynch", "update"};
      Add(std::string("updating ") + names[s]);
    };
  }

  ~EventLog() {
    tree.OnInitNode = nullptr;
    tree.OnFreeNode = nullptr;
    tree.OnStructureChange = nullptr;
    tree.OnChange = nullptr;
    tree.OnUpdating = nullptr;
  }

  PLazyNode Add(PLazyNode parent, const std::string& label) {
    PLazyNode n = tree.AddChild(parent);
    Label(n, label);
    return n;
  }
  void Label(PLazyNode n, const std::string& label) { labels[n] = label; }
  std::string Name(PLazyNode n) {
    if (!n) return "nil";
    if (n == tree.RootNode()) return "root";
    auto it = labels.find(n);
    return it == labels.end() ? "?" : it->second;
  }
  void Add(const std::string& line) { lines.push_back(line); }
  std::vector<std::string> Take() {
    std::vector<std::string> out;
    out.swap(lines);
    return out;
  }

  TBaseLazyTree& tree;
  std::map<PLazyNode, std::string> labels;
  std::vector<std::string> lines;
  std::function<void(PLazyNode, TLazyNodeInitStates&)> initAnswer;
  std::function<void(PLazyNode)> onStructure;
};

using Lines = std::vector<std::string>;

TEST(TreeEvents, StructureNotificationsInsideAndOutsideUpdateBrackets) {
  struct Case {
    const char* name;
    std::function<void(TBaseLazyTree&, EventLog&)> prepare;
    std::function<void(TBaseLazyTree&, EventLog&)> act;
    Lines expected;
  };
  const std::vector<Case> cases = {
      {"one AddChild outside a bracket names the parent, nil for the root",
       nullptr,
       [](TBaseLazyTree&, EventLog& log) { log.Add(nullptr, "a"); },
       {"structure nil childAdded"}},
      {"AddChild below a node initialises the parent first",
       [](TBaseLazyTree&, EventLog& log) { log.Add(nullptr, "a"); },
       [](TBaseLazyTree& t, EventLog& log) { log.Add(t.GetFirstNoInit(), "b"); },
       {"init a", "structure a childAdded"}},
      {"two AddChild in one bracket give one accumulated notification at the end",
       nullptr,
       [](TBaseLazyTree& t, EventLog& log) {
         t.BeginUpdate();
         log.Add(nullptr, "a");
         log.Add(nullptr, "b");
         log.Add("-- end");
         t.EndUpdate();
       },
       {"updating begin", "-- end", "structure nil accumulated", "updating end"}},
      {"RootNodeCount 3 to 1 frees the last two, last first, and reports once",
       [](TBaseLazyTree& t, EventLog& log) {
         t.SetRootNodeCount(3);
         PLazyNode n = t.GetFirstNoInit();
         for (const char* l : {"a", "b", "c"}) {
           log.Label(n, l);
           t.GetNodeData(n);  // touched data: freed with a notification even though never initialised
           n = n->NextSibling;
         }
       },
       [](TBaseLazyTree& t, EventLog&) { t.SetRootNodeCount(1); },
       {"updating begin", "free c", "free b", "structure nil accumulated", "updating end"}},
      {"DeleteNode reports the parent before anything goes, then the node's own children",
       [](TBaseLazyTree& t, EventLog& log) {
         PLazyNode a = log.Add(nullptr, "a");
         PLazyNode b = log.Add(a, "b");
         log.Add(b, "b1");
         log.Add(b, "b2");
         log.Add(log.tree.GetLastChildNoInit(b), "b21");
         t.ValidateNode(nullptr, true);
       },
       [](TBaseLazyTree& t, EventLog&) { t.DeleteNode(t.GetFirstNoInit()->FirstChild); },
       {"structure a childDeleted", "free b21", "free b2", "free b1", "structure b childDeleted", "free b"}},
      {"Clear frees children before parents, the last sibling first, and reports once",
       [](TBaseLazyTree& t, EventLog& log) {
         PLazyNode a = log.Add(nullptr, "a");
         log.Add(a, "a1");
         log.Add(a, "a2");
         log.Add(nullptr, "b");
         t.ValidateNode(nullptr, true);
       },
       [](TBaseLazyTree& t, EventLog&) { t.Clear(); },
       {"updating begin", "free b", "free a2", "free a1", "free a", "structure root accumulated", "updating end"}},
      {"InsertNode names the new node",
       [](TBaseLazyTree&, EventLog& log) { log.Add(nullptr, "a"); },
       [](TBaseLazyTree& t, EventLog& log) {
         log.onStructure = [&log](PLazyNode n) { log.Add("(labelled " + log.Name(n) + ")"); };
         t.InsertNode(t.GetFirstNoInit(), amInsertBefore);
       },
       {"structure ? nodeAdded", "(labelled ?)"}},
      {"MoveTo reports the moved node",
       [](TBaseLazyTree&, EventLog& log) {
         log.Add(nullptr, "a");
         log.Add(nullptr, "b");
       },
       [](TBaseLazyTree& t, EventLog&) { t.MoveTo(t.GetFirstNoInit(), t.GetLastNoInit(), amInsertAfter, false); },
       {"init b", "structure a nodeMoved"}},
      {"EndUpdate without BeginUpdate ends nothing but still reports the end",
       nullptr,
       [](TBaseLazyTree& t, EventLog&) { t.EndUpdate(); },
       {"updating end"}},
      {"nested brackets deliver at the outermost end only",
       nullptr,
       [](TBaseLazyTree& t, EventLog& log) {
         t.BeginUpdate();
         t.BeginUpdate();
         log.Add(nullptr, "a");
         t.EndUpdate();
         t.EndUpdate();
       },
       {"updating begin", "updating update", "updating update", "structure nil childAdded", "updating end"}},
  };
  for (const Case& c : cases) {
    TBaseLazyTree tree;
    EventLog log(tree);
    if (c.prepare) c.prepare(tree, log);
    log.Take();
    c.act(tree, log);
    EXPECT_EQ(log.Take(), c.expected) << c.name;
    EXPECT_EQ(testing::CheckTree(tree), "") << c.name;
    EXPECT_EQ(tree.UpdateCount(), 0u) << c.name;
  }
}

TEST(TreeEvents, NodesAreInitialisedOnFirstUseOnly) {
  TBaseLazyTree tree;
  EventLog log(tree);
  PLazyNode a = log.Add(nullptr, "a");
  log.Add(nullptr, "b");
  log.Take();
  tree.GetNodeData(a);
  tree.GetNextNoInit(a);
  for (PLazyNode n : tree.NoInitNodes()) (void)n;
  EXPECT_TRUE(log.Take().empty());
  EXPECT_FALSE(a->Has(vsInitialized));
  EXPECT_EQ(tree.GetFirst(), a);
  EXPECT_EQ(tree.GetNext(a), a->NextSibling);
  EXPECT_EQ(log.Take(), (Lines{"init a", "init b"}));
  tree.ReinitNode(a, false);
  EXPECT_EQ(log.Take(), (Lines{"init a"}));
}

TEST(TreeEvents, ValidationAndReinitialisationReachWhatTheyShould) {
  TBaseLazyTree tree;
  std::vector<std::pair<uint32_t, bool>> seen;  // level and re-initialisation flag of each OnInitNode
  tree.OnInitNode = [&](TBaseLazyTree* t, PLazyNode, PLazyNode n, TLazyNodeInitStates& s) {
    seen.emplace_back(t->GetNodeLevel(n), s.Has(ivsReInit));
    if (t->GetNodeLevel(n) < 2) s.Include(ivsHasChildren);
  };
  tree.OnInitChildren = [](TBaseLazyTree*, PLazyNode, uint32_t& count) { count = 2; };
  tree.SetRootNodeCount(2);
  tree.InitRecursive(nullptr, 1, false);  // the top level only; creates no children
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_EQ(tree.RootNode()->TotalCount, 3u);
  seen.clear();
  tree.ValidateNode(nullptr, true);  // everything, creating children on the way
  EXPECT_EQ(tree.RootNode()->TotalCount, 1u + 2 + 4 + 8);
  EXPECT_EQ(seen.size(), 12u);
  seen.clear();
  tree.ReinitChildren(nullptr, true);
  ASSERT_EQ(seen.size(), 14u);
  EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](auto& p) { return p.second; }));
  seen.clear();
  tree.InitRecursive(nullptr, UINT32_MAX, true);  // all initialised already
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(testing::CheckTree(tree), "");
}

TEST(TreeEvents, VariableNodeHeightInitialisesEachNewNodeAsItIsAdded) {
  TBaseLazyTree tree;
  tree.TreeOptions().MiscOptions.Include(toVariableNodeHeight);
  EventLog log(tree);
  std::vector<uint32_t> countsSeen;
  log.initAnswer = [&](PLazyNode n, TLazyNodeInitStates&) { countsSeen.push_back(n->Parent->ChildCount); };
  tree.AddChild(nullptr);
  tree.SetChildCount(nullptr, 3);
  EXPECT_EQ(log.Take(), (Lines{"init ?", "structure nil childAdded", "init ?", "init ?", "structure nil childAdded"}));
  // The handler sees each node linked and counted.
  EXPECT_EQ(countsSeen, (std::vector<uint32_t>{1, 2, 3}));
}

TEST(TreeEvents, InitialStatesAndLazyChildren) {
  TBaseLazyTree tree;
  EventLog log(tree);
  log.initAnswer = [](PLazyNode, TLazyNodeInitStates& s) { s.Include(ivsHasChildren); };
  PLazyNode a = log.Add(nullptr, "a");
  // Without OnInitChildren the node keeps its expand button and no children.
  EXPECT_EQ(tree.GetFirstChild(a), nullptr);
  EXPECT_TRUE(a->Has(vsHasChildren));
  EXPECT_EQ(a->ChildCount, 0u);
  EXPECT_FALSE(tree.GetChildrenInitialized(a));

  uint32_t answer = 2;
  tree.OnInitChildren = [&](TBaseLazyTree*, PLazyNode, uint32_t& count) { count = answer; };
  EXPECT_NE(tree.GetFirstChild(a), nullptr);
  EXPECT_EQ(a->ChildCount, 2u);
  answer = 0;
  PLazyNode b = log.Add(nullptr, "b");
  EXPECT_EQ(tree.GetFirstChild(b), nullptr);
  EXPECT_FALSE(b->Has(vsHasChildren)) << "an answer of no children drops the expand button";

  log.initAnswer = [](PLazyNode, TLazyNodeInitStates& s) {
    s.Include(ivsDisabled);
    s.Include(ivsMultiline);
    s.Include(ivsSelected);
  };
  PLazyNode c = log.Add(nullptr, "c");
  tree.ValidateNode(c, false);
  EXPECT_TRUE(c->Has(vsDisabled));
  EXPECT_TRUE(tree.GetMultiline(c));
  EXPECT_TRUE(tree.Selected(c));
  EXPECT_EQ(tree.SelectedCount(), 1u);
  EXPECT_EQ(testing::CheckTree(tree), "");
}

TEST(TreeEvents, ResetNodeMakesTheNodeBlankButKeepsItsData) {
  TBaseLazyTree tree;
  EventLog log(tree);
  PLazyNode a = log.Add(nullptr, "a");
  log.Add(a, "a1");
  *static_cast<int*>(tree.GetNodeData(a)) = 42;
  log.Take();
  tree.ResetNode(a);
  // a1 was never initialised and its data never touched: no OnFreeNode for it.
  EXPECT_EQ(log.Take(), (Lines{"structure a childDeleted"}));
  EXPECT_FALSE(a->Has(vsInitialized));
  EXPECT_FALSE(a->Has(vsHasChildren));
  EXPECT_EQ(*static_cast<int*>(tree.GetNodeData(a)), 42);
  EXPECT_EQ(testing::CheckTree(tree), "");
}

TEST(TreeEvents, ChangeDelayDeliversOnceAfterTheLastRequest) {
  TimedTree tree;
  EventLog log(tree);
  PLazyNode a = log.Add(nullptr, "a");
  PLazyNode b = log.Add(nullptr, "b");
  log.Take();
  tree.SetChangeDelay(100);
  tree.AddToSelection(a);
  tree.AddToSelection(b);
  tree.RemoveFromSelection(a);
  EXPECT_EQ(log.Take(), Lines{});
  EXPECT_EQ(tree.timers, (std::map<int, uint32_t>{{TBaseLazyTree::ChangeTimer, 100}}));
  tree.Fire(TBaseLazyTree::ChangeTimer);
  EXPECT_EQ(log.Take(), (Lines{"change a"}));
  EXPECT_TRUE(tree.timers.empty());

  // Structure changes accumulate while their timer runs; a synchronisation bracket delivers at once.
  log.Add(nullptr, "c");
  tree.DeleteNode(b);  // b was selected: leaving the selection is reported at once, not delayed
  EXPECT_EQ(log.Take(), (Lines{"change b"}));
  tree.BeginSynch();
  EXPECT_EQ(log.Take(), (Lines{"updating beginSynch", "structure nil accumulated"}));
  log.Add(nullptr, "d");
  EXPECT_EQ(log.Take(), (Lines{"structure nil childAdded"}));
  tree.EndSynch();
  EXPECT_EQ(log.Take(), (Lines{"updating endSynch"}));
  EXPECT_TRUE(tree.timers.empty());
}

TEST(TreeEvents, StateChangesAreReportedOnlyWhenTheSetChanges) {
  std::vector<std::pair<uint64_t, uint64_t>> seen;
  TBaseLazyTree tree;
  tree.OnStateChange = [&](TBaseLazyTree*, const TLazyTreeStates& e, const TLazyTreeStates& l) {
    seen.emplace_back(e.ToBits(), l.ToBits());
  };
  const TLazyTreeStates both{tsScrolling};
  tree.DoStateChange(both, both);  // not set: nothing changes, nothing reported
  EXPECT_TRUE(seen.empty());
  EXPECT_FALSE(tree.TreeStates().Has(tsScrolling));
  tree.DoStateChange({tsScrolling});
  tree.DoStateChange(both, both);  // set: it ends cleared, and the request is reported as made
  EXPECT_FALSE(tree.TreeStates().Has(tsScrolling));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1], std::make_pair(both.ToBits(), both.ToBits()));
}

TEST(TreeEvents, LongOperationsCanBeCancelledWhileTheyRun) {
  TBaseLazyTree tree;
  tree.CancelOperation();
  EXPECT_FALSE(tree.OperationCanceled());
  tree.StartOperation(okSortTree);
  tree.CancelOperation();
  EXPECT_TRUE(tree.OperationCanceled());
  tree.EndOperation(okSortTree);
  EXPECT_FALSE(tree.OperationCanceled());
  EXPECT_THROW(tree.EndOperation(okSortTree), ELazyTreeAssertion);
}

TEST(TreeEvents, UserDataChecks) {
  struct Case {
    int dataSize;
    bool fails;
  };
  for (const Case c : {Case{2, true}, Case{4, true}, Case{8, false}, Case{16, false}}) {
    TBaseLazyTree tree;
    tree.SetNodeDataSize(c.dataSize);
    int value = 7;
    if (c.fails) {
      try {
        tree.AddChild(nullptr, &value);
        ADD_FAILURE() << "no failure for NodeDataSize " << c.dataSize;
      } catch (const ELazyTreeAssertion& e) {
        EXPECT_STREQ(e.what(),
                     "TBaseLazyTree: Cannot set initial user data because there is not enough user data space "
                     "allocated.");
      }
      EXPECT_TRUE(tree.IsEmpty()) << "a refused call adds nothing";
    } else {
      PLazyNode n = tree.AddChild(nullptr, &value);
      EXPECT_EQ(*static_cast<int**>(tree.GetNodeData(n)), &value);
    }
  }
  TBaseLazyTree tree;
  tree.SetNodeDataSize(0);
  EXPECT_THROW(tree.GetNodeData(tree.AddChild(nullptr)), ELazyTreeAssertion);
  // Data handed out by reference is released with its node.
  TBaseLazyTree shared;
  auto held = std::make_shared<int>(5);
  PLazyNode n = shared.AddChild(nullptr, std::shared_ptr<void>(held));
  EXPECT_EQ(held.use_count(), 2);
  EXPECT_EQ(std::static_pointer_cast<int>(shared.GetInterfaceFromNodeData(n)), held);
  shared.Clear();
  EXPECT_EQ(held.use_count(), 1);
}

TEST(TreeEvents, InternalDataIsReservedBeforeTheFirstNode) {
  TBaseLazyTree tree;
  const std::size_t first = tree.ReserveInternalData(3);
  const std::size_t second = tree.ReserveInternalData(4);
  EXPECT_EQ(first, 0u);
  EXPECT_EQ(second, 4u);
  tree.SetNodeDataSize(12);
  PLazyNode n = tree.AddChild(nullptr);
  auto* area = static_cast<unsigned char*>(tree.GetInternalData(n, second));
  EXPECT_EQ(area[0] | area[1] | area[2] | area[3], 0);
  std::memset(tree.GetNodeData(n), 0xFF, 12);
  std::memset(tree.GetInternalData(n, first), 0xAA, 4);
  EXPECT_EQ(area[0] | area[1] | area[2] | area[3], 0) << "areas do not overlap";
  try {
    tree.ReserveInternalData(4);
    ADD_FAILURE();
  } catch (const ELazyTreeAssertion& e) {
    EXPECT_STREQ(e.what(), "Internal data allocation must be done before any node is created.");
  }
}

TEST(TreeEvents, ReadOnlyTreesRefuseStructureEdits) {
  TBaseLazyTree tree;
  tree.SetRootNodeCount(2);
  tree.TreeOptions().MiscOptions.Include(toReadOnly);
  EXPECT_EQ(tree.AddChild(nullptr), nullptr);
  tree.DeleteNode(tree.GetFirstNoInit());
  tree.Clear();
  tree.SetChildCount(nullptr, 5);
  EXPECT_EQ(tree.RootNodeCount(), 2u);
  // Destroying the tree still frees everything.
}

// --- Structure edits from handlers --------------------------------------------------------------------------

TEST(TreeGuards, HandlersCannotEditTheStructureDuringADeletion) {
  const std::vector<std::pair<const char*, std::function<void(TBaseLazyTree&)>>> edits = {
      {"AddChild", [](TBaseLazyTree& t) { t.AddChild(nullptr); }},
      {"DeleteNode", [](TBaseLazyTree& t) { t.DeleteNode(t.GetFirstNoInit()); }},
      {"Clear", [](TBaseLazyTree& t) { t.Clear(); }},
      {"SetChildCount", [](TBaseLazyTree& t) { t.SetChildCount(nullptr, 10); }},
      {"InsertNode", [](TBaseLazyTree& t) { t.InsertNode(t.GetFirstNoInit(), amInsertAfter); }},
  };
  for (const auto& [name, edit] : edits) {
    for (const bool fromFree : {true, false}) {
      TBaseLazyTree tree;
      tree.SetRootNodeCount(3);
      tree.SetChildCount(tree.GetFirstNoInit(), 2);
      int refused = 0;
      auto handler = [&](TBaseLazyTree* t) {
        try {
          edit(*t);
        } catch (const ELazyTreeAssertion&) {
          ++refused;
          throw;  // let it travel through the deletion
        }
      };
      if (fromFree)
        tree.OnFreeNode = [&](TBaseLazyTree* t, PLazyNode) { handler(t); };
      else
        tree.OnStructureChange = [&](TBaseLazyTree* t, PLazyNode, TChangeReason) { handler(t); };
      tree.ValidateNode(nullptr, true);
      // The first failure reaches the caller once the deletion is complete.
      EXPECT_THROW(tree.DeleteNode(tree.GetFirstNoInit()), ELazyTreeAssertion) << name;
      EXPECT_GT(refused, 0) << name;
      EXPECT_EQ(testing::CheckTree(tree), "") << name;
      EXPECT_EQ(tree.RootNodeCount(), 2u) << name;
      tree.OnFreeNode = nullptr;
      tree.OnStructureChange = nullptr;
    }
  }
}

TEST(TreeGuards, ClearCompletesWhenAFreeHandlerFails) {
  TBaseLazyTree tree;
  tree.SetRootNodeCount(4);
  tree.ValidateNode(nullptr, true);
  int freedCount = 0;
  tree.OnFreeNode = [&](TBaseLazyTree*, PLazyNode) {
    ++freedCount;
    throw std::runtime_error("handler failed");
  };
  EXPECT_THROW(tree.Clear(), std::runtime_error);
  EXPECT_EQ(freedCount, 4);
  EXPECT_TRUE(tree.IsEmpty());
  EXPECT_EQ(tree.UpdateCount(), 0u);
  EXPECT_EQ(testing::CheckTree(tree), "");
}

TEST(TreeGuards, DeletingDuringIterationOrInitialisationIsRefused) {
  TBaseLazyTree tree;
  tree.SetRootNodeCount(3);
  PLazyNode first = tree.GetFirstNoInit();
  try {
    tree.IterateSubtree(nullptr, [](TBaseLazyTree* t, PLazyNode n, void*, bool&) { t->DeleteNode(n); }, nullptr);
    ADD_FAILURE();
  } catch (const ELazyTreeAssertion& e) {
    EXPECT_STREQ(e.what(), "Deleting nodes during tree iteration leads to invalid pointers.");
  }
  EXPECT_EQ(tree.RootNodeCount(), 3u);
  EXPECT_FALSE(tree.TreeStates().Has(tsIterating));

  tree.SetChildCount(first, 1);
  PLazyNode victim = nullptr;
  tree.OnInitNode = [&](TBaseLazyTree* t, PLazyNode parent, PLazyNode node, TLazyNodeInitStates&) {
    if (parent)
      t->DeleteNode(parent);  // the parent of the node being initialised
    else if (node == victim)
      t->DeleteNode(node);  // the node itself
  };
  EXPECT_THROW(tree.GetFirstChild(first), ELazyTreeAssertion);
  EXPECT_FALSE(first->FirstChild->Has(vsInitializing));
  victim = tree.GetLastNoInit();
  EXPECT_THROW(tree.GetNext(first->NextSibling), ELazyTreeAssertion);
  EXPECT_EQ(tree.RootNodeCount(), 3u);
  EXPECT_EQ(testing::CheckTree(tree), "");
}

}  // namespace
}  // namespace lazytree

namespace lazytree {
namespace {

TEST(TreeGuards, StructureEditsFromAnotherThreadAreRefused) {
  TBaseLazyTree tree;
  tree.SetRootNodeCount(1);
  std::vector<std::string> failures;
  std::thread worker([&] {
    for (const auto& edit : std::vector<std::function<void()>>{
             [&] { tree.AddChild(nullptr); },
             [&] { tree.DeleteNode(tree.GetFirstNoInit()); },
             [&] { tree.Clear(); },
             [&] { tree.BeginUpdate(); },
         }) {
      try {
        edit();
      } catch (const ELazyTreeAssertion& e) {
        failures.push_back(e.what());
      }
    }
  });
  worker.join();
  ASSERT_EQ(failures.size(), 4u);
  EXPECT_EQ(failures[0], "UI controls like TBaseLazyTree should only be manipulated through the main thread.");
  EXPECT_EQ(tree.RootNodeCount(), 1u);
  EXPECT_EQ(tree.UpdateCount(), 0u);
}

}  // namespace
}  // namespace lazytree
