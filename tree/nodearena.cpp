#include "tree/nodearena.h"

#include <sys/mman.h>

#include <cassert>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

namespace lazytree {

namespace {

// Large chunks are mapped directly, aligned to and advised for huge pages: a million nodes then cost a few
// dozen page faults instead of tens of thousands.
constexpr std::size_t kHugePage = std::size_t(2) << 20;
constexpr std::size_t kMaxChunkBytes = 2 * kHugePage;

void* MapHuge(std::size_t bytes) {
  void* raw = mmap(nullptr, bytes + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  if (aligned > start) munmap(raw, aligned - start);
  const std::uintptr_t end = start + bytes + kHugePage;
  if (end > aligned + bytes) munmap(reinterpret_cast<void*>(aligned + bytes), end - (aligned + bytes));
#ifdef MADV_HUGEPAGE
  madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
#endif
  return reinterpret_cast<void*>(aligned);
}

// Released huge-page chunks are kept for the next tree (as malloc keeps freed heap memory), so that
// rebuilding a large tree does not fault its memory in again; bounded so that little stays unused.
class TChunkPool {
 public:
  static TChunkPool& Instance() {
    static TChunkPool* pool = new TChunkPool;  // never destroyed: arenas may outlive static destruction
    return *pool;
  }
  void* Take() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (free_.empty()) return nullptr;
    void* chunk = free_.back();
    free_.pop_back();
    return chunk;
  }
  void Give(void* chunk) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (free_.size() < kMaxPooled) {
        free_.push_back(chunk);
        return;
      }
    }
    munmap(chunk, kMaxChunkBytes);
  }

 private:
  static constexpr std::size_t kMaxPooled = 32;  // 128 MB
  std::mutex mutex_;
  std::vector<void*> free_;
};

}  // namespace

TNodeArena::~TNodeArena() { ReleaseAll(); }

void TNodeArena::Configure(std::size_t stride, std::size_t alignment) {
  assert(live_ == 0);
  if (alignment < alignof(void*)) alignment = alignof(void*);
  stride = (stride + alignment - 1) / alignment * alignment;
  if (stride == stride_ && alignment == alignment_) return;
  ReleaseAll();
  stride_ = stride;
  alignment_ = alignment;
}

void TNodeArena::NewChunk() {
  chunks_.reserve(chunks_.size() + 1);  // a failure here leaves the store as it was
  std::size_t bytes = nextChunkBlocks_ * stride_;
  Chunk chunk{nullptr, 0, false};
  if (bytes >= kHugePage) {
    bytes = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* reused = bytes == kMaxChunkBytes ? TChunkPool::Instance().Take() : nullptr;
    chunk = {reused ? reused : MapHuge(bytes), bytes, true};
    mapped_ += bytes;
    bumpZeroed_ = reused == nullptr;
  } else {
    chunk = {::operator new(bytes, std::align_val_t(alignment_)), bytes, false};
  }
  if (bytes < kMaxChunkBytes) nextChunkBlocks_ *= 2;
  chunks_.push_back(chunk);
  reserved_ += bytes;
  bump_ = static_cast<char*>(chunk.base);
  bumpEnd_ = bump_ + bytes / stride_ * stride_;
  if (!chunk.mapped) bumpZeroed_ = false;
}

void* TNodeArena::Allocate() {
  void* block;
  if (freeList_) {
    block = freeList_;
    freeList_ = *static_cast<void**>(freeList_);
    std::memset(block, 0, stride_);
  } else {
    if (bump_ == bumpEnd_) NewChunk();
    block = bump_;
    bump_ += stride_;
    if (!bumpZeroed_) std::memset(block, 0, stride_);
  }
  ++live_;
  return block;
}

void TNodeArena::Free(void* block) {
  assert(live_ > 0);
#ifndef NDEBUG
  // Poison freed blocks so that a node pointer kept past its node's end shows up in tests.
  std::memset(block, 0xDB, stride_);
#endif
  *static_cast<void**>(block) = freeList_;
  freeList_ = block;
  --live_;
}

void TNodeArena::ReleaseAll() {
  assert(live_ == 0);
  for (const Chunk& c : chunks_) {
    if (c.mapped && c.bytes == kMaxChunkBytes)
      TChunkPool::Instance().Give(c.base);
    else if (c.mapped)
      munmap(c.base, c.bytes);
    else
      ::operator delete(c.base, std::align_val_t(alignment_));
  }
  chunks_.clear();
  chunks_.shrink_to_fit();
  bump_ = bumpEnd_ = nullptr;
  bumpZeroed_ = false;
  freeList_ = nullptr;
  nextChunkBlocks_ = 16;
  reserved_ = 0;
  mapped_ = 0;
}

}  // namespace lazytree
