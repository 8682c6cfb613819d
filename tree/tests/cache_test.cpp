// The position cache and its worker thread, on a tree without a window: entries after random geometry changes,
// lookups with and without the cache, and the worker started, stopped and ended while the tree changes.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "tree/lazytree.h"
#include "tree/positioncache.h"
#include "tree/tests/treecheck.h"

namespace lazytree {
namespace {

using testing::CheckCacheEntries;
using testing::CheckRows;
using testing::CheckTree;

// A store whose cache hooks go to a cache client, as the window's do.
class TCachedTree : public TBaseLazyTree {
 public:
  explicit TCachedTree(TPositionCacheClient::TPost post = nullptr) : Cache(*this, std::move(post)) {}
  TPositionCacheClient Cache;

  // Waits for the worker's build and takes it over.
  const TCache* WaitForCache() {
    for (int i = 0; i < 20000 && Cache.Pending(); ++i) {
      if (const TCache* c = Cache.Usable()) return c;
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return Cache.Usable();
  }

 protected:
  void StopCacheValidation() override { Cache.Stop(); }
  void RequestCacheValidation() override { Cache.Request(); }
};

// Level 0: Roots nodes, each with Children children, all expanded.
void Fill(TCachedTree& t, uint32_t roots, uint32_t children) {
  t.BeginUpdate();
  t.SetRootNodeCount(roots);
  for (PLazyNode n = t.GetFirstNoInit(); n; n = n->NextSibling) {
    t.SetChildCount(n, children);
    t.SetExpanded(n, true);
  }
  t.EndUpdate();
}

TEST(PositionCache, EntriesStartAboveTwoThousandVisibleNodes) {
  struct Case {
    uint32_t visible;
    std::size_t entries;
  };
  for (const Case& c : {Case{1, 0}, Case{2000, 0}, Case{2001, 2}, Case{4000, 2}, Case{4001, 3}, Case{10000, 5}}) {
    TCachedTree t;
    t.SetRootNodeCount(c.visible);
    const TCache* cache = t.WaitForCache();
    SCOPED_TRACE(c.visible);
    EXPECT_EQ(cache ? cache->size() : 0u, c.entries);
    EXPECT_EQ(t.TreeStates().Has(tsUseCache), c.entries > 0);
    if (cache) {
      EXPECT_EQ((*cache)[0].Node, t.GetFirstNoInit());
      EXPECT_EQ((*cache)[1].AbsoluteTop, CacheThreshold * t.DefaultNodeHeight());
      EXPECT_EQ(CheckCacheEntries(t, *cache), "");
    }
  }
}

TEST(PositionCache, LookupsAgreeWithAndWithoutTheCache) {
  TCachedTree t;
  Fill(t, 300, 30);  // 9,300 rows
  std::mt19937 rng(7);
  for (PLazyNode n = t.GetFirstNoInit(); n; n = t.GetNextNoInit(n))
    if (rng() % 7 == 0) t.SetNodeHeight(n, 5 + rng() % 40);
  const TCache* cache = t.WaitForCache();
  ASSERT_NE(cache, nullptr);
  ASSERT_EQ(CheckCacheEntries(t, *cache), "");
  const uint32_t total = t.RootNode()->TotalHeight - t.RootNode()->NodeHeight;
  std::vector<uint32_t> ys{0, total - 1, total, total + 5};
  for (const TCacheEntry& e : *cache)
    for (int d : {-1, 0, 1}) ys.push_back(e.AbsoluteTop + d);
  for (int i = 0; i < 500; ++i) ys.push_back(rng() % total);
  for (uint32_t y : ys) {
    uint32_t topCached = 0, topWalked = 0;
    PLazyNode cached = NodeAtPosition(t, cache, y, topCached);
    PLazyNode walked = NodeAtPosition(t, nullptr, y, topWalked);
    ASSERT_EQ(cached, walked) << "y " << y;
    if (walked) {
      ASSERT_EQ(topCached, topWalked);
      ASSERT_EQ(NodeAbsoluteTop(t, cache, walked), topWalked);
      ASSERT_LE(topWalked, y);
    }
  }
}

// Random expand, collapse, hide, filter and height changes; after each one the counts, heights and rows agree,
// and once the worker is done its entries hold the right rows.
TEST(PositionCache, RandomGeometryChangesKeepRowsAndEntries) {
  TCachedTree t;
  Fill(t, 120, 40);
  std::mt19937 rng(11);
  std::vector<PLazyNode> nodes;
  for (PLazyNode n = t.GetFirstNoInit(); n; n = t.GetNextNoInit(n)) nodes.push_back(n);
  for (int step = 0; step < 400; ++step) {
    PLazyNode n = nodes[rng() % nodes.size()];
    switch (rng() % 6) {
      case 0: t.ToggleNode(n); break;
      case 1: t.SetVisible(n, !n->Has(vsVisible)); break;
      case 2: t.SetFiltered(n, !n->Has(vsFiltered)); break;
      case 3: t.SetNodeHeight(n, rng() % 60); break;
      case 4: t.FullExpand(n->Parent == t.RootNode() ? n : n->Parent); break;
      default: t.FullCollapse(n); break;
    }
    ASSERT_EQ(CheckTree(t), "") << "step " << step;
    ASSERT_EQ(CheckRows(t), "") << "step " << step;
    if (step % 20 == 0) {
      const TCache* cache = t.WaitForCache();
      if (t.VisibleCount() > CacheThreshold) {
        ASSERT_NE(cache, nullptr) << "step " << step;
      }
      if (cache) {
        ASSERT_EQ(CheckCacheEntries(t, *cache), "") << "step " << step;
      }
    }
  }
}

// The GUI side goes on changing the tree while builds run; every change stops the running build first, so the
// worker never reads what is being written (ThreadSanitizer checks this run).
TEST(PositionCacheWorker, ChangesWhileBuildsRun) {
  TCachedTree t;
  Fill(t, 100, 100);
  std::mt19937 rng(3);
  std::vector<PLazyNode> parents;
  for (PLazyNode n = t.GetFirstNoInit(); n; n = n->NextSibling) parents.push_back(n);
  for (int step = 0; step < 3000; ++step) {
    PLazyNode p = parents[rng() % parents.size()];
    PLazyNode c = p->FirstChild;
    // State changes of the nodes need no stop: they are atomic for the worker.
    if (c && step % 3 == 0) t.SetDisabled(c, !c->Has(vsDisabled));
    switch (rng() % 5) {
      case 0: t.ToggleNode(p); break;
      case 1:
        if (c) t.SetVisible(c, !c->Has(vsVisible));
        break;
      case 2:
        if (c) t.SetNodeHeight(c, 10 + rng() % 20);
        break;
      case 3: t.AddChild(p); break;
      default:
        if (c) t.DeleteNode(c);
        break;
    }
    if (step % 7 == 0) t.Cache.Adopt();
    if (step % 50 == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));  // let a build get going
  }
  const TCache* cache = t.WaitForCache();
  ASSERT_EQ(CheckTree(t), "");
  ASSERT_EQ(CheckRows(t), "");
  ASSERT_NE(cache, nullptr);
  EXPECT_EQ(CheckCacheEntries(t, *cache), "");
}

TEST(PositionCacheWorker, TreesDestroyedWhileTheirCachesAreBuilt) {
  for (int round = 0; round < 20; ++round) {
    auto a = std::make_unique<TCachedTree>();
    auto b = std::make_unique<TCachedTree>();
    a->SetRootNodeCount(200000);
    b->SetRootNodeCount(3000);
    EXPECT_TRUE(a->Cache.Pending());
    a.reset();  // in the middle of its build, or still queued
    b.reset();
  }
}

TEST(PositionCacheWorker, LastTreeEndsTheWorkerAndANewTreeStartsIt) {
  ASSERT_FALSE(cacheworker::Running());
  {
    TCachedTree a;
    EXPECT_TRUE(cacheworker::Running());
    {
      TCachedTree b;
      b.SetRootNodeCount(5000);
    }
    EXPECT_TRUE(cacheworker::Running());
    a.SetRootNodeCount(5000);
    EXPECT_NE(a.WaitForCache(), nullptr);
  }
  EXPECT_FALSE(cacheworker::Running());
  TCachedTree c;
  EXPECT_TRUE(cacheworker::Running());
  c.SetRootNodeCount(2500);
  EXPECT_NE(c.WaitForCache(), nullptr);
}

// The worker's notice reaches the GUI side through the posting function; a notice that arrives after the tree
// is gone does nothing.
TEST(PositionCacheWorker, PostedNoticesTakeTheBuildOverOnlyWhileTheTreeLives) {
  std::vector<std::function<void()>> posted;
  std::mutex m;
  auto post = [&](std::function<void()> f) {
    std::lock_guard lock(m);
    posted.push_back(std::move(f));
  };
  auto runPosted = [&] {
    std::vector<std::function<void()>> calls;
    {
      std::lock_guard lock(m);
      calls.swap(posted);
    }
    for (auto& f : calls) f();
    return calls.size();
  };
  auto t = std::make_unique<TCachedTree>(post);
  int built = 0;
  t->Cache.OnBuilt = [&] { ++built; };
  t->SetRootNodeCount(6000);
  std::size_t ran = 0;
  for (int i = 0; i < 20000 && ran == 0; ++i) {
    ran = runPosted();
    if (ran == 0) std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
  EXPECT_EQ(built, 1);
  EXPECT_TRUE(t->TreeStates().Has(tsUseCache));
  t->SetNodeHeight(t->GetFirstNoInit(), 30);  // a new build
  for (int i = 0; i < 20000; ++i) {
    {
      std::lock_guard lock(m);
      if (!posted.empty()) break;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
  t.reset();
  runPosted();  // must not touch the destroyed tree
  EXPECT_EQ(built, 1);
}

}  // namespace
}  // namespace lazytree
