// Tree streams: exact bytes, round trips with user data, refused input, and nodes copied and moved between trees.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/io/files.h"
#include "platform/rtl/streams.h"
#include "tree/lazytree.h"
#include "tree/tests/treecheck.h"
#include "tree/treestreamformat.h"

namespace lazytree {
namespace {

using testing::CheckTree;

// A tree whose nodes carry an int id, saved and loaded through the node events.
class IdTree : public TBaseLazyTree {
 public:
  IdTree() {
    SetNodeDataSize(static_cast<int>(sizeof(int32_t)));
    OnSaveNode = [](TBaseLazyTree* t, PLazyNode n, plat::TStream& s) {
      if (n) s.WriteI32LE(*t->GetNodeData<int32_t>(n));
    };
    OnLoadNode = [](TBaseLazyTree* t, PLazyNode n, plat::TStream& s) {
      if (n) *t->GetNodeData<int32_t>(n) = s.ReadI32LE();
    };
  }
  PLazyNode Add(PLazyNode parent, int32_t id) {
    PLazyNode n = AddChild(parent);
    *GetNodeData<int32_t>(n) = id;
    return n;
  }
  int32_t Id(PLazyNode n) { return *GetNodeData<int32_t>(n); }
};

constexpr TLazyNodeStates ComparedStates{vsInitialized, vsDisabled, vsExpanded, vsHasChildren,
                                         vsVisible,     vsMultiline, vsFiltered};

// Shape, ids and the stored fields of every node in tree order.
std::string Signature(IdTree& t) {
  std::string s;
  for (PLazyNode n = t.GetFirstNoInit(); n; n = t.GetNextNoInit(n))
    s += std::to_string(t.GetNodeLevel(n)) + ":" + std::to_string(t.Id(n)) + "/" + std::to_string(n->ChildCount) +
         "/" + std::to_string((n->States * ComparedStates).ToBits()) + "/" + std::to_string(n->NodeHeight) + "/" +
         std::to_string(n->CheckState) + std::to_string(n->CheckType) + "/" + std::to_string(n->Align) + " ";
  return s;
}

QByteArray Save(TBaseLazyTree& t, PLazyNode node = nullptr) {
  plat::TMemoryStream s;
  t.SaveToStream(s, node);
  return s.Bytes();
}

void Load(TBaseLazyTree& t, const QByteArray& bytes) {
  plat::TMemoryStream s(bytes);
  t.LoadFromStream(s);
}

// Builds a random tree of Count nodes with assorted states and check fields.
void BuildRandom(IdTree& t, int count, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<PLazyNode> nodes;
  for (int i = 1; i <= count; ++i) {
    PLazyNode parent = nodes.empty() || rng() % 4 == 0 ? nullptr : nodes[rng() % nodes.size()];
    PLazyNode n = t.Add(parent, i);
    nodes.push_back(n);
    switch (rng() % 8) {
      case 0: t.SetCheckType(n, ctCheckBox); t.SetCheckState(n, csCheckedNormal); break;
      case 1: t.SetNodeHeight(n, 30 + rng() % 20); break;
      case 2: t.SetVisible(n, false); break;
      case 3: t.SetFiltered(n, true); break;
      case 4: t.SetDisabled(n, true); break;
      case 5: t.SetMultiline(n, true); break;
      default: break;
    }
  }
  for (PLazyNode n : nodes)
    if (n->ChildCount > 0 && rng() % 2) t.SetExpanded(n, true);
}

TEST(TreeStream, EmptyTreeAndSingleNodeHaveTheDocumentedSizes) {
  IdTree t;
  const QByteArray empty = Save(t);
  const unsigned char header[16] = {0x45, 0x20, 0x56, 0, 0x54, 0, 2, 0, 0x20, 0, 0x46, 0x20, 0, 0, 0, 0};
  ASSERT_EQ(empty.size(), 16);
  EXPECT_EQ(std::memcmp(empty.constData(), header, 16), 0);

  int copied = 0, loaded = 0;
  t.OnNodeCopied = [&](TBaseLazyTree*, PLazyNode n) { copied += n == nullptr; };
  t.OnLoadTree = [&](TBaseLazyTree*, plat::TStream&) { ++loaded; };
  t.Add(nullptr, 1);
  Load(t, empty);
  EXPECT_TRUE(t.IsEmpty());
  EXPECT_EQ(copied, 1);
  EXPECT_EQ(loaded, 1);

  // Without user data a childless node is a node header, a base header and the base body.
  TBaseLazyTree plain;
  plain.AddChild(nullptr);
  EXPECT_EQ(Save(plain).size(), 16 + 35);
}

TEST(TreeStream, RandomTreesRoundTripWithTheirUserData) {
  for (unsigned seed : {1u, 2u, 3u}) {
    IdTree source;
    BuildRandom(source, 300, seed);
    const QByteArray bytes = Save(source);  // initialises every node on the way
    IdTree target;
    target.Add(nullptr, 999);
    Load(target, bytes);
    EXPECT_EQ(Signature(target), Signature(source)) << "seed " << seed;
    EXPECT_EQ(CheckTree(target), "") << "seed " << seed;
    EXPECT_EQ(target.VisibleCount(), source.VisibleCount());
    EXPECT_EQ(target.RootNode()->TotalHeight, source.RootNode()->TotalHeight);
    // What was loaded saves to the same bytes.
    EXPECT_EQ(Save(target), bytes);
  }
}

TEST(TreeStream, AddFromStreamAppendsBelowTheTargetAndSavesOneNode) {
  IdTree source;
  PLazyNode a = source.Add(nullptr, 1);
  source.Add(a, 2);
  source.Add(nullptr, 3);
  IdTree target;
  PLazyNode t1 = target.Add(nullptr, 10);
  target.Add(t1, 11);
  PLazyNode notified = nullptr;
  target.OnNodeCopied = [&](TBaseLazyTree*, PLazyNode n) { notified = n; };
  plat::TMemoryStream s(Save(source, a));
  target.AddFromStream(s, t1);
  EXPECT_EQ(notified, t1);
  ASSERT_EQ(t1->ChildCount, 2u);
  EXPECT_EQ(target.Id(t1->LastChild()), 1);
  EXPECT_EQ(target.Id(t1->LastChild()->FirstChild), 2);
  EXPECT_EQ(CheckTree(target), "");
}

TEST(TreeStream, UserDataHandlerMayReadLessThanWasWritten) {
  IdTree source;
  source.OnSaveNode = [](TBaseLazyTree* t, PLazyNode n, plat::TStream& s) {
    s.WriteI32LE(*t->GetNodeData<int32_t>(n));
    s.WriteBytes(QByteArray(7, 'x'));  // extra data the loader ignores
  };
  PLazyNode a = source.Add(nullptr, 1);
  source.Add(a, 2);
  source.Add(nullptr, 3);
  IdTree target;
  Load(target, Save(source));
  EXPECT_EQ(Signature(target), Signature(source));
}

// Stream bytes put together by hand.
struct StreamWriter {
  plat::TMemoryStream s;
  explicit StreamWriter(uint16_t version = 2, bool count = true, uint32_t n = 1) {
    for (uint16_t u : {uint16_t(0x2045), uint16_t(0x56), uint16_t(0x54), version, uint16_t(0x20), uint16_t(0x2046)})
      s.WriteU16LE(u);
    if (count) s.WriteU32LE(n);
  }
  // A node chunk with a version-2 base body and Children written by the callback inside the base chunk.
  void Node(uint32_t childCount, uint32_t states, const std::function<void()>& children = {}, uint8_t checkState = 0,
            uint8_t checkType = 0) {
    const int64_t node = Begin(NodeChunk);
    const int64_t base = Begin(BaseChunk);
    s.WriteU32LE(childCount);
    s.WriteU32LE(18);
    s.WriteU32LE(states);
    s.WriteU8(50);
    s.WriteU8(checkState);
    s.WriteU8(checkType);
    s.WriteU32LE(0);
    if (children) children();
    End(base);
    End(node);
  }
  int64_t Begin(int32_t type) {
    const int64_t at = s.Position();
    s.WriteI32LE(type);
    s.WriteU32LE(0);
    return at;
  }
  void End(int64_t at) {
    const int64_t end = s.Position();
    s.SetPosition(at + 4);
    s.WriteU32LE(static_cast<uint32_t>(end - at - 8));
    s.SetPosition(end);
  }
  QByteArray Bytes() const { return s.Bytes(); }
};

QByteArray WithU32(QByteArray b, int at, uint32_t v) {
  std::memcpy(b.data() + at, &v, 4);
  return b;
}

TEST(TreeStream, HostileHeadersAndCountsAreRefusedAndTheTreeStaysAsItWas) {
  StreamWriter good;
  good.Node(0, 1u << vsInitialized);
  const QByteArray valid = good.Bytes();  // header 12, count 4, node chunk at 16, base chunk at 24

  StreamWriter deep(2, true, 1);
  std::function<void(uint32_t)> nest = [&](uint32_t level) {
    deep.Node(level > 0 ? 1 : 0, 1u << vsInitialized, level > 0 ? std::function<void()>([&, level] { nest(level - 1); })
                                                                : std::function<void()>());
  };
  nest(MaxStreamDepth + 1);

  StreamWriter oddCaption;
  {
    const int64_t node = oddCaption.Begin(NodeChunk);
    const int64_t cap = oddCaption.Begin(CaptionChunk);
    oddCaption.s.WriteU8('x');
    oddCaption.End(cap);
    oddCaption.End(node);
  }
  StreamWriter secondBase;
  {
    const int64_t node = secondBase.Begin(NodeChunk);
    for (int i = 0; i < 2; ++i) {
      const int64_t base = secondBase.Begin(BaseChunk);
      secondBase.s.WriteBytes(QByteArray(19, '\0'));
      secondBase.End(base);
    }
    secondBase.End(node);
  }

  struct Case {
    const char* name;
    QByteArray bytes;
    int helpContext;  // 0: the stream's own read error
  };
  const Case cases[] = {
      {"nothing", QByteArray(), 2004},
      {"eleven header bytes", valid.left(11), 2004},
      {"wrong first unit", WithU32(valid, 0, 0x00562046), 2002},
      {"wrong last unit", WithU32(valid, 8, 0x20450020), 2002},
      {"unknown version", WithU32(valid, 4, 0x00030054), 2003},
      {"count cut off", valid.left(14), 0},
      {"node header cut off", valid.left(20), 2004},
      {"node body cut off", valid.left(valid.size() - 1), 2004},
      {"anchor chunk missing", WithU32(valid, 16, 7), 2005},
      {"node size past the end", WithU32(valid, 20, 0x7FFFFFF0), 2004},
      {"base size past the node", WithU32(valid, 28, 100), 2006},
      {"base body too short", WithU32(WithU32(valid, 20, 8 + 4), 28, 4).left(16 + 8 + 8 + 4), 2006},
      {"child count beyond the data", WithU32(valid, 32, 0xFFFFFFFF), 2006},
      {"nesting too deep", deep.Bytes(), 2006},
      {"odd caption size", oddCaption.Bytes(), 2006},
      {"second base chunk", secondBase.Bytes(), 2006},
  };
  for (const Case& c : cases) {
    IdTree t;
    PLazyNode a = t.Add(nullptr, 1);
    t.Add(a, 2);
    const std::string before = Signature(t);
    try {
      Load(t, c.bytes);
      ADD_FAILURE() << c.name << ": accepted";
    } catch (const ELazyTreeError& e) {
      EXPECT_EQ(e.HelpContext, c.helpContext) << c.name;
    } catch (const plat::EReadError&) {
      EXPECT_EQ(c.helpContext, 0) << c.name;
    }
    EXPECT_EQ(Signature(t), before) << c.name;
    EXPECT_EQ(CheckTree(t), "") << c.name;
    // Adding the same bytes below a node is refused the same way.
    if (c.bytes.size() >= 12) {
      plat::TMemoryStream s(c.bytes);
      EXPECT_ANY_THROW(t.AddFromStream(s, a)) << c.name;
      EXPECT_EQ(Signature(t), before) << c.name;
    }
  }
}

TEST(TreeStream, EveryTruncationOfAValidStreamIsRefusedWhole) {
  IdTree source;
  BuildRandom(source, 40, 7);
  const QByteArray bytes = Save(source);
  for (int cut = 0; cut < bytes.size(); ++cut) {
    IdTree t;
    t.Add(nullptr, 5);
    const std::string before = Signature(t);
    EXPECT_ANY_THROW(Load(t, bytes.left(cut))) << "cut at " << cut;
    EXPECT_EQ(Signature(t), before) << "cut at " << cut;
  }
}

// Random byte changes of a valid stream: each either loads into a consistent tree or is refused with the tree
// unchanged. The seed is fixed, so a failure repeats.
TEST(TreeStream, MutatedStreamsLoadConsistentlyOrAreRefused) {
  IdTree source;
  BuildRandom(source, 60, 11);
  const QByteArray bytes = Save(source);
  std::mt19937 rng(1234);
  int refused = 0;
  for (int round = 0; round < 3000; ++round) {
    QByteArray m = bytes;
    const int flips = 1 + static_cast<int>(rng() % 4);
    for (int f = 0; f < flips; ++f) {
      const int at = static_cast<int>(rng() % static_cast<unsigned>(m.size()));
      m[at] = static_cast<char>(rng() % 3 == 0 ? 0xFF : rng());
    }
    TBaseLazyTree t;  // no user data handler: any bytes of a user chunk are fine
    t.TreeOptions().SelectionOptions.Include(toMultiSelect);
    t.AddChild(nullptr);
    try {
      Load(t, m);
    } catch (const ELazyTreeError&) {
      ++refused;
      EXPECT_EQ(t.RootNode()->ChildCount, 1u);
    } catch (const plat::EReadError&) {
      ++refused;
    }
    ASSERT_EQ(CheckTree(t), "") << "round " << round;
  }
  EXPECT_GT(refused, 0);
}

TEST(TreeStream, OldStreamsRunToTheEndAndSelectByTheHighStateBit) {
  StreamWriter w(1, false);
  for (uint8_t stateByte : {uint8_t(0x81), uint8_t(0x01)}) {  // initialised, the first also selected
    const int64_t node = w.Begin(NodeChunk);
    const int64_t base = w.Begin(BaseChunk);
    w.s.WriteU32LE(0);
    w.s.WriteU32LE(20);
    w.s.WriteU8(stateByte);
    w.s.WriteU8(50);
    w.s.WriteU8(0);
    w.s.WriteU8(0);
    w.End(base);
    w.End(node);
  }
  TBaseLazyTree t;
  t.TreeOptions().SelectionOptions.Include(toMultiSelect);
  Load(t, w.Bytes());
  ASSERT_EQ(t.RootNodeCount(), 2u);
  EXPECT_TRUE(t.Selected(t.GetFirstNoInit()));
  EXPECT_FALSE(t.Selected(t.GetLastNoInit()));
  EXPECT_TRUE(t.GetFirstNoInit()->Has(vsVisible));
  EXPECT_EQ(t.GetFirstNoInit()->NodeHeight, 20);
  EXPECT_EQ(CheckTree(t), "");
}

TEST(TreeStream, TransientStatesAndUnknownCheckValuesAreNotTakenFromAStream) {
  const uint32_t hostile = 1u << vsInitialized | 1u << vsDeleting | 1u << vsToggling | 1u << vsChecking |
                           1u << vsReleaseCallOnUserDataRequired | 1u << vsVisible;
  StreamWriter w;
  w.Node(0, hostile, {}, 200, 77);
  TBaseLazyTree t;
  Load(t, w.Bytes());
  PLazyNode n = t.GetFirstNoInit();
  ASSERT_NE(n, nullptr);
  const TLazyNodeStates transient{vsDeleting, vsToggling, vsChecking, vsReleaseCallOnUserDataRequired};
  EXPECT_TRUE((n->States * transient).Empty());
  EXPECT_EQ(n->CheckState, csUncheckedNormal);
  EXPECT_EQ(n->CheckType, ctNone);
  EXPECT_EQ(CheckTree(t), "");
  t.DeleteNode(n);  // a kept deleting state would leave the node linked
  EXPECT_TRUE(t.IsEmpty());
}

TEST(TreeStream, UninitialisedNodeWithChildrenKeepsItsSiblingsApart) {
  IdTree source;
  source.TreeOptions().MiscOptions.Exclude(toInitOnSave);
  PLazyNode a = source.Add(nullptr, 1);
  source.Add(a, 2);
  source.Add(nullptr, 3);
  a->Exclude(vsInitialized);
  IdTree target;
  Load(target, Save(source));
  EXPECT_EQ(target.RootNodeCount(), 2u);
  EXPECT_EQ(CheckTree(target), "");
}

TEST(TreeStream, FileRoundTripAndAFailedSaveKeepsTheOldFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("tree.dat"));
  IdTree source;
  BuildRandom(source, 50, 5);
  source.SaveToFile(path);
  IdTree target;
  target.LoadFromFile(path);
  EXPECT_EQ(Signature(target), Signature(source));

  QByteArray before;
  ASSERT_TRUE(plat::ReadFileBytes(path, before));
  source.Add(nullptr, 77);
  plat::SetFileWriteFaultHook([](plat::FileWriteStep step, const QString&) { return step == plat::FileWriteStep::Write; });
  EXPECT_THROW(source.SaveToFile(path), plat::EFCreateError);
  plat::SetFileWriteFaultHook({});
  QByteArray after;
  ASSERT_TRUE(plat::ReadFileBytes(path, after));
  EXPECT_EQ(after, before);
  EXPECT_THROW(target.LoadFromFile(dir.filePath(QStringLiteral("missing.dat"))), plat::EFOpenError);
}

// --- Copying and moving between trees ---------------------------------------------------------------------

std::vector<int32_t> ChildIds(IdTree& t, PLazyNode parent) {
  std::vector<int32_t> ids;
  for (PLazyNode c = parent ? parent->FirstChild : t.RootNode()->FirstChild; c; c = c->NextSibling)
    ids.push_back(t.Id(c));
  return ids;
}

struct TwoTrees : ::testing::Test {
  IdTree a, b;
  PLazyNode p = nullptr, x = nullptr;
  void SetUp() override {
    p = a.Add(nullptr, 1);
    for (int id : {11, 12, 13}) a.Add(p, id);
    a.Add(p->FirstChild, 111);
    a.Add(nullptr, 2);
    x = b.Add(nullptr, 100);
    b.Add(x, 101);
  }
  void Check() {
    EXPECT_EQ(CheckTree(a), "");
    EXPECT_EQ(CheckTree(b), "");
  }
};

TEST_F(TwoTrees, CopyToAnotherTreeDuplicatesTheSubtree) {
  PLazyNode copy = a.CopyTo(p, x, amAddChildLast, false);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(b.Id(copy), 1);
  EXPECT_EQ(ChildIds(b, copy), (std::vector<int32_t>{11, 12, 13}));
  EXPECT_EQ(ChildIds(b, copy->FirstChild), (std::vector<int32_t>{111}));
  EXPECT_EQ(a.RootNode()->TotalCount, 7u);  // the source keeps its nodes
  Check();
}

TEST_F(TwoTrees, CopyingChildrenFirstReversesThemAndRefusedCopiesAreDropped) {
  EXPECT_EQ(a.CopyTo(p, x, amAddChildFirst, true), x);
  EXPECT_EQ(ChildIds(b, x), (std::vector<int32_t>{13, 12, 11, 101}));
  Check();
  a.OnNodeCopying = [&](TBaseLazyTree*, PLazyNode n, PLazyNode, bool& allowed) { allowed = b.Id(n) != 12; };
  a.CopyTo(p, &b, amAddChildLast, true);
  EXPECT_EQ(ChildIds(b, nullptr), (std::vector<int32_t>{100, 11, 13}));
  Check();
}

TEST_F(TwoTrees, CopyWithinOneTreeIntoItsOwnSubtree) {
  a.CopyTo(p, p->FirstChild, amAddChildLast, false);
  EXPECT_EQ(ChildIds(a, p->FirstChild), (std::vector<int32_t>{111, 1}));
  EXPECT_EQ(a.RootNode()->TotalCount, 12u);
  Check();
}

TEST_F(TwoTrees, MoveToAnotherTreeTakesTheNodesAway) {
  std::vector<PLazyNode> moved;
  a.OnNodeMoved = [&](TBaseLazyTree*, PLazyNode n) { moved.push_back(n); };
  a.MoveTo(p, x, amInsertAfter, false);
  EXPECT_EQ(ChildIds(a, nullptr), (std::vector<int32_t>{2}));
  EXPECT_EQ(ChildIds(b, nullptr), (std::vector<int32_t>{100, 1}));
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_EQ(b.Id(moved[0]), 1);
  Check();

  // Children only, into the root of the other tree.
  PLazyNode q = b.GetLastNoInit()->Parent == b.RootNode() ? b.GetLastNoInit() : b.RootNode()->LastChild();
  b.MoveTo(q, &a, amAddChildLast, true);
  EXPECT_EQ(ChildIds(a, nullptr), (std::vector<int32_t>{2, 11, 12, 13}));
  EXPECT_EQ(q->ChildCount, 0u);
  Check();
}

TEST_F(TwoTrees, RefusedMoveLeavesBothTreesAndMovingBelowItselfFails) {
  a.OnNodeMoving = [](TBaseLazyTree*, PLazyNode, PLazyNode, bool& allowed) { allowed = false; };
  a.MoveTo(p, x, amAddChildLast, false);
  EXPECT_EQ(ChildIds(a, nullptr), (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(ChildIds(b, x), (std::vector<int32_t>{101}));
  a.OnNodeMoving = nullptr;
  try {
    a.MoveTo(p, p->FirstChild->FirstChild, amAddChildLast, false);
    ADD_FAILURE() << "moved below itself";
  } catch (const ELazyTreeError& e) {
    EXPECT_EQ(e.HelpContext, 2001);
  }
  a.MoveTo(p, p, amAddChildLast, false);  // onto itself: nothing
  EXPECT_EQ(ChildIds(a, nullptr), (std::vector<int32_t>{1, 2}));
  Check();
}

TEST_F(TwoTrees, TransferDataIsRefusedWholeWhenCorrupt) {
  const QByteArray data = a.WriteTransferNodes({p, a.GetLastNoInit()->Parent == a.RootNode() ? a.GetLastNoInit()
                                                                                            : a.RootNode()->LastChild()});
  EXPECT_TRUE(b.InsertTransferNodes(data, nullptr, x, amInsertAfter, crNodeAdded));
  EXPECT_EQ(ChildIds(b, nullptr), (std::vector<int32_t>{100, 1, 2}));  // order kept behind the target
  const std::string before = Signature(b);
  EXPECT_THROW(b.InsertTransferNodes(data.left(data.size() - 3), nullptr, x, amAddChildLast, crNodeAdded),
               ELazyTreeError);
  EXPECT_EQ(Signature(b), before);
  Check();
}

struct FlaggingTree : IdTree {
  using IdTree::FlagCutCopyNodes;
};

TEST(CutCopySet, WalksSkipsNestedNodesAndEndsWithTheOperation) {
  FlaggingTree t;
  t.TreeOptions().SelectionOptions.Include(toMultiSelect);
  PLazyNode a = t.Add(nullptr, 1);
  PLazyNode a1 = t.Add(a, 11);
  PLazyNode b = t.Add(nullptr, 2);
  PLazyNode c = t.Add(nullptr, 3);
  t.SetDisabled(c, true);
  for (PLazyNode n : {a, a1, b, c}) t.AddToSelection(n);
  t.FlagCutCopyNodes();
  EXPECT_EQ(t.CutCopyCount(), 0);  // flags alone are no pending operation
  t.SetTreeStates(t.TreeStates() + TLazyTreeStates{tsCutPending});
  EXPECT_EQ(t.CutCopyCount(), 3);  // the disabled node is not taken
  std::vector<PLazyNode> walked;
  for (PLazyNode n : t.CutCopyNodes()) walked.push_back(n);
  EXPECT_EQ(walked, (std::vector<PLazyNode>{a, a1, b}));
  EXPECT_EQ(t.GetPreviousCutCopy(nullptr), b);
  EXPECT_EQ(t.GetSortedCutCopySet(true), (std::vector<PLazyNode>{a, b}));
  t.FinishCutOrCopy();
  EXPECT_EQ(ChildIds(t, nullptr), (std::vector<int32_t>{3}));
  EXPECT_FALSE(t.TreeStates().Has(tsCutPending));
  EXPECT_EQ(CheckTree(t), "");
}

TEST(CutCopySet, DeletingTheSelectionRenumbersEachParentOnce) {
  IdTree t;
  t.TreeOptions().SelectionOptions.Include(toMultiSelect);
  PLazyNode p = t.Add(nullptr, 1);
  std::vector<PLazyNode> kids;
  for (int id = 10; id < 16; ++id) kids.push_back(t.Add(p, id));
  PLazyNode q = t.Add(nullptr, 2);
  PLazyNode q1 = t.Add(q, 20);
  t.Add(q, 21);
  for (PLazyNode n : {kids[1], kids[2], kids[4], q1}) t.AddToSelection(n);
  t.DeleteSelectedNodes();
  EXPECT_EQ(ChildIds(t, p), (std::vector<int32_t>{10, 13, 15}));
  EXPECT_EQ(ChildIds(t, q), (std::vector<int32_t>{21}));
  EXPECT_EQ(t.SelectedCount(), 0u);
  EXPECT_EQ(CheckTree(t), "");
}

TEST_F(TwoTrees, AFailingLoadHandlerTakesBackEveryNodeOfTheTransfer) {
  const QByteArray data = a.WriteTransferNodes({p, a.RootNode()->LastChild()});
  int loaded = 0;
  b.OnLoadNode = [&](TBaseLazyTree*, PLazyNode, plat::TStream&) {
    if (++loaded == 4) throw plat::EReadError(QStringLiteral("Stream read error"));
  };
  const std::string before = Signature(b);
  EXPECT_THROW(b.InsertTransferNodes(data, nullptr, x, amInsertAfter, crNodeAdded), plat::EReadError);
  b.OnLoadNode = nullptr;
  EXPECT_EQ(Signature(b), before);
  // The same for a move: the source keeps its nodes.
  b.OnLoadNode = [&](TBaseLazyTree*, PLazyNode, plat::TStream&) { throw plat::EReadError(QStringLiteral("x")); };
  EXPECT_THROW(a.MoveTo(p, x, amAddChildLast, false), plat::EReadError);
  b.OnLoadNode = nullptr;
  EXPECT_EQ(Signature(b), before);
  EXPECT_EQ(ChildIds(a, nullptr), (std::vector<int32_t>{1, 2}));
  Check();
}

}  // namespace
}  // namespace lazytree
