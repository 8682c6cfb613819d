#include "tree/nodearena.h"

#include <cassert>
#include <cstring>
#include <new>

namespace lazytree {

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
  void* chunk = ::operator new(ChunkBytes(), std::align_val_t(alignment_));
  chunks_.push_back(chunk);
  bump_ = static_cast<char*>(chunk);
  bumpEnd_ = bump_ + ChunkBytes();
}

void* TNodeArena::Allocate() {
  void* block;
  if (freeList_) {
    block = freeList_;
    freeList_ = *static_cast<void**>(freeList_);
  } else {
    if (bump_ == bumpEnd_) {
      chunks_.reserve(chunks_.size() + 1);  // a failure here leaves the store as it was
      NewChunk();
    }
    block = bump_;
    bump_ += stride_;
  }
  std::memset(block, 0, stride_);
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
  for (void* chunk : chunks_) ::operator delete(chunk, std::align_val_t(alignment_));
  chunks_.clear();
  chunks_.shrink_to_fit();
  bump_ = bumpEnd_ = nullptr;
  freeList_ = nullptr;
}

}  // namespace lazytree
