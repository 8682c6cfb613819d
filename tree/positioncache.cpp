#include "tree/positioncache.h"

#include <pthread.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace lazytree {

// ------------------------------------------------------------------------------------------------------------
// Building and looking up

bool BuildPositionCache(TBaseLazyTree& Tree, uint32_t VisibleCount, const std::atomic<bool>& Stop, TCache& Cache,
                        bool MeasureHeights) {
  Cache.clear();
  if (Stop.load(std::memory_order_acquire)) return false;
  const std::size_t reserved = VisibleCount < 2 ? 0 : (VisibleCount + CacheThreshold - 1) / CacheThreshold;
  Cache.reserve(reserved);
  uint64_t top = 0;
  uint32_t count = 0;
  for (PLazyNode n = Tree.GetFirstVisibleNoInit(nullptr, true); n; n = Tree.GetNextVisibleNoInit(n, true)) {
    if (Stop.load(std::memory_order_acquire)) return false;
    if (count % CacheThreshold == 0) {
      if (Cache.size() == reserved) break;
      Cache.push_back({n, static_cast<uint32_t>(top)});
    }
    top += MeasureHeights ? Tree.GetNodeHeight(n) : n->NodeHeight;
    ++count;
  }
  return count >= 2 && !Stop.load(std::memory_order_acquire);
}

TCacheEntry FindInPositionCache(const TCache& Cache, uint32_t Position) {
  auto it = std::upper_bound(Cache.begin(), Cache.end(), Position,
                             [](uint32_t p, const TCacheEntry& e) { return p < e.AbsoluteTop; });
  return it == Cache.begin() ? TCacheEntry{} : *(it - 1);
}

TCacheEntry FindInPositionCache(const TBaseLazyTree& Tree, const TCache& Cache, PLazyNode Node) {
  std::size_t lo = 0, hi = Cache.size();  // the answer lies in [lo, hi): entries at or before Node
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    if (Tree.CompareDisplayOrder(Cache[mid].Node, Node) <= 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo == 0 ? TCacheEntry{} : Cache[lo - 1];
}

PLazyNode NodeAtPosition(TBaseLazyTree& Tree, const TCache* Cache, uint32_t Y, uint32_t& NodeTop) {
  TCacheEntry start{};
  if (Cache && !Cache->empty()) {
    auto next = std::upper_bound(Cache->begin(), Cache->end(), Y,
                                 [](uint32_t p, const TCacheEntry& e) { return p < e.AbsoluteTop; });
    if (next != Cache->begin()) start = *(next - 1);
    // Nearer to the next entry: walk back from there, so no lookup walks more than half an entry's rows.
    if (start.Node && next != Cache->end() && Y - start.AbsoluteTop > next->AbsoluteTop - Y) {
      int64_t top = next->AbsoluteTop;
      PLazyNode n = next->Node;
      while (n && top > static_cast<int64_t>(Y)) {
        n = Tree.GetPreviousVisibleNoInit(n, true);
        if (n) top -= Tree.GetNodeHeight(n);
      }
      if (n) {
        NodeTop = static_cast<uint32_t>(top);
        return n;
      }
    }
  }
  if (!start.Node) start = {Tree.GetFirstVisibleNoInit(nullptr, true), 0};
  uint64_t top = start.AbsoluteTop;
  for (PLazyNode n = start.Node; n; n = Tree.GetNextVisibleNoInit(n, true)) {
    const uint64_t bottom = top + Tree.GetNodeHeight(n);
    if (Y < bottom) {
      NodeTop = static_cast<uint32_t>(top);
      return n;
    }
    top = bottom;
  }
  NodeTop = static_cast<uint32_t>(top);
  return nullptr;
}

uint32_t NodeAbsoluteTop(TBaseLazyTree& Tree, const TCache* Cache, PLazyNode Node) {
  TCacheEntry start = Cache ? FindInPositionCache(Tree, *Cache, Node) : TCacheEntry{};
  if (!start.Node) start = {Tree.GetFirstVisibleNoInit(nullptr, true), 0};
  uint64_t top = start.AbsoluteTop;
  for (PLazyNode n = start.Node; n && n != Node; n = Tree.GetNextVisibleNoInit(n, true)) top += Tree.GetNodeHeight(n);
  return static_cast<uint32_t>(top);
}

// ------------------------------------------------------------------------------------------------------------
// The worker

struct TCacheJob {
  explicit TCacheJob(TBaseLazyTree& t) : Tree(t) {}
  TBaseLazyTree& Tree;
  std::atomic<bool> Stop{false};
  std::function<void()> Notify;  // set once before the first build, read by the worker
  // Guarded by the worker's mutex:
  uint32_t VisibleCount = 0;
  bool Done = false;
  bool Success = false;
  TCache Result;
};

namespace {

class TWorker {
 public:
  TWorker() : FThread([this] { Execute(); }) {}
  ~TWorker() {
    {
      std::lock_guard lock(FMutex);
      FTerminated = true;
    }
    FWake.notify_one();
    FThread.join();
  }

  void Add(const std::shared_ptr<TCacheJob>& Job) {
    {
      std::lock_guard lock(FMutex);
      if (std::find(FQueue.begin(), FQueue.end(), Job) == FQueue.end()) FQueue.push_back(Job);
    }
    FWake.notify_one();
  }

  // Takes the job out of the queue and waits until the worker has left it; then its result is settled.
  void Remove(const std::shared_ptr<TCacheJob>& Job) {
    std::unique_lock lock(FMutex);
    FQueue.erase(std::remove(FQueue.begin(), FQueue.end(), Job), FQueue.end());
    FLeft.wait(lock, [&] { return FCurrent != Job.get(); });
  }

  std::mutex& Mutex() { return FMutex; }

 private:
  void Execute() {
    pthread_setname_np(pthread_self(), "LazyTreesWorker");
    std::unique_lock lock(FMutex);
    for (;;) {
      FWake.wait(lock, [&] { return FTerminated || !FQueue.empty(); });
      if (FTerminated) return;
      std::shared_ptr<TCacheJob> job = FQueue.front();
      FQueue.pop_front();
      FCurrent = job.get();
      const uint32_t visible = job->VisibleCount;
      lock.unlock();
      TCache cache;
      bool ok = false;
      try {
        ok = BuildPositionCache(job->Tree, visible, job->Stop, cache);
      } catch (...) {
        ok = false;  // the tree is left without a cache; the worker goes on with the next one
      }
      lock.lock();
      job->Done = true;
      job->Success = ok;
      job->Result = std::move(cache);
      lock.unlock();
      // Still the current job: a client that stops waits until the notice is posted, so what Notify uses is alive.
      if (job->Notify) job->Notify();
      lock.lock();
      FCurrent = nullptr;
      FLeft.notify_all();
    }
  }

  std::mutex FMutex;
  std::condition_variable FWake;
  std::condition_variable FLeft;
  std::deque<std::shared_ptr<TCacheJob>> FQueue;
  const TCacheJob* FCurrent = nullptr;
  bool FTerminated = false;
  std::thread FThread;
};

// Created and destroyed on the GUI thread only (tree constructors and destructors).
TWorker* gWorker = nullptr;
uint32_t gReferences = 0;

}  // namespace

namespace cacheworker {

void AddReference() {
  if (gReferences++ == 0) gWorker = new TWorker();
}

void ReleaseReference() {
  if (gReferences == 0) return;
  if (--gReferences == 0) {
    delete gWorker;
    gWorker = nullptr;
  }
}

bool Running() { return gWorker != nullptr; }

}  // namespace cacheworker

// ------------------------------------------------------------------------------------------------------------
// The tree's side

TPositionCacheClient::TPositionCacheClient(TBaseLazyTree& Tree, TPost Post)
    : FTree(Tree), FJob(std::make_shared<TCacheJob>(Tree)) {
  if (Post) {
    std::weak_ptr<TCacheJob> weak = FJob;
    TPositionCacheClient* self = this;
    // The posted call finds the client only while its job lives; the client outlives its job's last build.
    FJob->Notify = [Post, weak, self] {
      Post([weak, self] {
        if (weak.lock()) self->Adopt();
      });
    };
  }
  cacheworker::AddReference();
}

TPositionCacheClient::~TPositionCacheClient() {
  Stop();
  FJob.reset();
  cacheworker::ReleaseReference();
}

void TPositionCacheClient::Request() {
  Stop();
  if (!FTree.TreeStates().Has(tsValidationNeeded) || FTree.VisibleCount() <= CacheThreshold) return;
  if (FTree.TreeOptions().MiscOptions.Has(toVariableNodeHeight) || !gWorker) {
    // Heights are measured by the tree's own handlers, which run on the GUI thread only.
    BuildHere();
    return;
  }
  FJob->Stop.store(false, std::memory_order_release);
  {
    std::lock_guard lock(gWorker->Mutex());
    FJob->VisibleCount = FTree.VisibleCount();
    FJob->Done = false;
  }
  FPending = true;
  FTree.DoStateChange({tsValidating}, {tsStopValidation, tsUseCache, tsValidationNeeded});
  gWorker->Add(FJob);
}

void TPositionCacheClient::BuildHere() {
  const std::atomic<bool> never{false};
  TCache cache;
  // Measuring may change heights and so invalidate the walk that measured them; the second walk finds every
  // height measured already.
  for (int pass = 0; pass < 2; ++pass) {
    FTree.DoStateChange({tsValidating}, {tsStopValidation, tsUseCache, tsValidationNeeded});
    const bool ok = BuildPositionCache(FTree, FTree.VisibleCount(), never, cache, true);
    if (ok && !FTree.TreeStates().Has(tsValidationNeeded)) {
      FCache = std::move(cache);
      FTree.DoStateChange({tsUseCache}, {tsValidating});
      return;
    }
    FTree.DoStateChange({}, {tsValidating});
  }
}

void TPositionCacheClient::Stop() {
  if (!FPending) {
    FTree.DoStateChange({tsStopValidation}, {tsUseCache});
    return;
  }
  FJob->Stop.store(true, std::memory_order_release);
  gWorker->Remove(FJob);
  DropPending();
}

// A queued or running build is dropped: its result is forgotten and the tree needs a new one.
void TPositionCacheClient::DropPending() {
  {
    std::lock_guard lock(gWorker->Mutex());
    FJob->Done = false;
    FJob->Result.clear();
  }
  FPending = false;
  FTree.DoStateChange({tsStopValidation}, {tsUseCache, tsValidating});
  FTree.InvalidatePositionCache();
}

bool TPositionCacheClient::Adopt() {
  if (!FPending) return FTree.TreeStates().Has(tsUseCache);
  bool done = false, ok = false;
  TCache result;
  {
    std::lock_guard lock(gWorker->Mutex());
    done = FJob->Done;
    if (done) {
      ok = FJob->Success;
      result = std::move(FJob->Result);
      FJob->Done = false;
    }
  }
  if (!done) return false;
  FPending = false;
  if (ok && !FTree.TreeStates().Has(tsValidationNeeded)) {
    FCache = std::move(result);
    FTree.DoStateChange({tsUseCache}, {tsValidating, tsStopValidation});
  } else {
    FTree.DoStateChange({}, {tsValidating, tsStopValidation});
  }
  if (OnBuilt) OnBuilt();
  return FTree.TreeStates().Has(tsUseCache);
}

const TCache* TPositionCacheClient::Usable() {
  return Adopt() && !FCache.empty() ? &FCache : nullptr;
}

}  // namespace lazytree
