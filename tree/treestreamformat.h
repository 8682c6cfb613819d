#pragma once
// The tree stream's node chunks, checked and taken apart before a single node is made.
//
// A node chunk is a header (type 1, size) followed by inner chunks: the base chunk (type 2: the node's fields,
// then one node chunk per child), the user data chunk (4), the caption chunk (3) and chunks of unknown types.
// The reader walks the bytes with an explicit stack and refuses anything that does not add up: a chunk that
// runs past its parent's end, a child count that the bytes cannot hold, a nesting deeper than a fixed limit.
// What it answers is a flat list of node records in tree order, so that loading can build every node in one go
// after the whole input has proved sound.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lazytree {

// Chunk types of the tree stream.
enum : int32_t { NodeChunk = 1, BaseChunk = 2, CaptionChunk = 3, UserChunk = 4 };

// Stream header: six 16-bit code units; unit 3 is the version, unit 4 is not checked.
inline constexpr uint16_t StreamMagic[6] = {0x2045, 0x0056, 0x0054, 2, 0x0020, 0x2046};
inline constexpr int StreamHeaderSize = 12;
inline constexpr int StreamVersion = 2;
inline constexpr int ChunkHeaderSize = 8;
inline constexpr int BaseBodySize = 19;
inline constexpr int OldBaseBodySize = 12;
// Deepest nesting a stream may hold; deeper input is refused.
inline constexpr uint32_t MaxStreamDepth = 10000;

// An inner chunk other than the base chunk: where its body lies in the parsed bytes.
struct TStreamChunkRef {
  uint32_t Record;  // index of the node record it belongs to
  int32_t Type;
  std::size_t Offset;
  uint32_t Size;
};

struct TStreamNodeRecord {
  int64_t Parent = -1;       // index of the parent's record, -1 for a top-level node
  std::size_t SubtreeEnd = 0;  // one past the last record of this node's subtree
  std::size_t ChunkBegin = 0;  // the chunks of the subtree: Chunks[ChunkBegin .. ChunkEnd)
  std::size_t ChunkEnd = 0;
  uint32_t ChildCount = 0;
  uint32_t Height = 0;
  uint32_t States = 0;       // as stored (old streams: the seven low bits)
  bool Selected = false;     // old streams: bit 7 of the state byte
  bool HasBase = false;
  uint8_t Align = 50;
  uint8_t CheckState = 0;
  uint8_t CheckType = 0;
};

struct TParsedNodes {
  std::vector<TStreamNodeRecord> Records;  // pre-order: a node, then its subtree
  std::vector<TStreamChunkRef> Chunks;     // in the order they were met
  std::vector<std::size_t> TopLevel;       // record index of every top-level node
  std::size_t Consumed = 0;                // bytes taken by the parsed chunks
};

// Reads up to MaxTopLevel node chunks from Data (Size bytes, no stream header) for a stream of Version, stopping
// at the end of the data; with Exact, data that ends before MaxTopLevel chunks is refused as cut off. Raises
// ELazyTreeError (2004 truncated, 2005 missing node chunk, 2006 corrupt) and never reads outside Data.
TParsedNodes ParseNodeChunks(const unsigned char* Data, std::size_t Size, int Version, uint32_t MaxTopLevel,
                             bool Exact = false);

}  // namespace lazytree
