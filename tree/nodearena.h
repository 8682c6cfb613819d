#pragma once
// Fixed-stride block store for tree nodes: blocks never move, so node pointers held elsewhere stay valid
// until the node is freed; freed blocks are reused, and the whole store is dropped at once when emptied.

#include <cstddef>
#include <vector>

namespace lazytree {

class TNodeArena {
 public:
  TNodeArena() = default;
  ~TNodeArena();
  TNodeArena(const TNodeArena&) = delete;
  TNodeArena& operator=(const TNodeArena&) = delete;

  // Block size and alignment; only while no block is in use (drops the chunks kept for reuse).
  void Configure(std::size_t stride, std::size_t alignment);
  std::size_t Stride() const { return stride_; }

  // A zero-filled block of Stride() bytes.
  void* Allocate();
  // A block of Stride() bytes with undefined contents, for a caller that writes all of it: a pop from the
  // free list or a step of the bump pointer, without a call.
  void* AllocateUninitialized() {
    void* block;
    if (freeList_) {
      block = freeList_;
      freeList_ = *static_cast<void**>(freeList_);
    } else {
      if (bump_ == bumpEnd_) NewChunk();
      block = bump_;
      bump_ += stride_;
    }
    ++live_;
    return block;
  }
  void Free(void* block);
  // Releases every chunk; only valid when no block is in use any more.
  void ReleaseAll();

  std::size_t LiveCount() const { return live_; }
  std::size_t ReservedBytes() const { return reserved_; }
  // Part of ReservedBytes() taken straight from the system (not through malloc).
  std::size_t MappedBytes() const { return mapped_; }

 private:
  struct Chunk {
    void* base;
    std::size_t bytes;
    bool mapped;
  };
  void NewChunk();

  std::size_t stride_ = 0;
  std::size_t alignment_ = alignof(std::max_align_t);
  std::vector<Chunk> chunks_;
  std::size_t nextChunkBlocks_ = 16;  // chunks grow geometrically up to a few huge pages
  char* bump_ = nullptr;              // next never-used block of the newest chunk
  char* bumpEnd_ = nullptr;
  bool bumpZeroed_ = false;           // the newest chunk came zero-filled from the system
  void* freeList_ = nullptr;          // freed blocks, linked through their first word
  std::size_t live_ = 0;
  std::size_t reserved_ = 0;
  std::size_t mapped_ = 0;
};

}  // namespace lazytree
