#pragma once
// The position cache of a tree with many visible nodes: one entry every 2000 visible nodes holding the node and
// its absolute top, so that the node at a vertical position, or the top of a node, is found from the nearest
// entry instead of by a walk from the first node. Caches are built by one process-wide worker thread.
//
// How the worker and the GUI thread share a tree: the GUI thread queues a build (Request) and, before it changes
// links or heights, stops it (Stop), which waits until the worker has left the tree; the mutex hand-over orders
// every later write after the worker's reads. While a build runs, the GUI thread may still change node states,
// which are read and written as relaxed atomics. Tree states change only on the GUI thread: the worker's result
// is taken over there (Adopt), either when a lookup needs the cache or when the notifier posted by the worker
// runs. The worker never waits for the GUI thread, so no shutdown order can deadlock.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "tree/lazytree.h"

namespace lazytree {

// Trees with this many visible nodes or fewer have no cache.
constexpr uint32_t CacheThreshold = 2000;

struct TCacheEntry {
  PLazyNode Node = nullptr;
  uint32_t AbsoluteTop = 0;
};
using TCache = std::vector<TCacheEntry>;

// Fills Cache with the visible nodes of Tree (display order, filtered nodes skipped, nothing initialised):
// entry k holds the (2000 k)-th node and its top. VisibleCount sizes the array. Answers false when Stop was
// raised or fewer than two nodes were walked. MeasureHeights asks GetNodeHeight for each node (GUI thread only).
bool BuildPositionCache(TBaseLazyTree& Tree, uint32_t VisibleCount, const std::atomic<bool>& Stop, TCache& Cache,
                        bool MeasureHeights = false);

// The last entry whose top is at or above Position; an empty entry when the cache is empty.
TCacheEntry FindInPositionCache(const TCache& Cache, uint32_t Position);
// The last entry at or before Node in display order; an empty entry when Node lies before the first one.
TCacheEntry FindInPositionCache(const TBaseLazyTree& Tree, const TCache& Cache, PLazyNode Node);

// The visible node whose row holds the absolute position Y, from the nearest cache entry (Cache may be nil);
// nil beyond the last row. NodeTop receives the row's absolute top.
PLazyNode NodeAtPosition(TBaseLazyTree& Tree, const TCache* Cache, uint32_t Y, uint32_t& NodeTop);
// The absolute top of a visible node, from the nearest cache entry at or before it (Cache may be nil).
uint32_t NodeAbsoluteTop(TBaseLazyTree& Tree, const TCache* Cache, PLazyNode Node);

struct TCacheJob;

// A tree's side of the cache: the cache it may use, its queued or running build, and the tree states that
// follow them (tsValidationNeeded, tsValidating, tsUseCache, tsStopValidation). GUI thread only.
class TPositionCacheClient {
 public:
  // Post hands a call to the GUI thread (the window posts a queued call); it is called on the worker thread and
  // must not wait. Without it the result is taken over by the next lookup or Adopt().
  using TPost = std::function<void(std::function<void()>)>;
  TPositionCacheClient(TBaseLazyTree& Tree, TPost Post = nullptr);
  ~TPositionCacheClient();
  TPositionCacheClient(const TPositionCacheClient&) = delete;
  TPositionCacheClient& operator=(const TPositionCacheClient&) = delete;

  // Stops a running build and queues a new one when the tree needs a cache.
  void Request();
  // Stops a running build and waits until the worker has left the tree.
  void Stop();
  // Takes over a finished build; answers whether the cache may be used now.
  bool Adopt();
  // The cache when it may be used, else nullptr.
  const TCache* Usable();
  const TCache& Entries() const { return FCache; }
  bool Pending() const { return FPending; }
  // Called on the GUI thread after a build was taken over (the editor follows its node).
  std::function<void()> OnBuilt;

 private:
  void BuildHere();
  void DropPending();

  TBaseLazyTree& FTree;
  std::shared_ptr<TCacheJob> FJob;
  TCache FCache;
  bool FPending = false;
};

// The process-wide worker. Every live client holds a reference; the last one to go ends and joins the thread.
namespace cacheworker {
void AddReference();
void ReleaseReference();
// Whether the thread exists (for tests of its lifetime).
bool Running();
}  // namespace cacheworker

}  // namespace lazytree
