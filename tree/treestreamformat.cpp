#include "tree/treestreamformat.h"

#include <cstring>

#include "tree/lazytree.h"

namespace lazytree {

namespace {

const char* const kNotEnoughData = "Unable to load tree structure, not enough data available.";
const char* const kAnchorMissing = "Stream data corrupt. A node's anchor chunk is missing.";
const char* const kUnexpectedData = "Stream data corrupt. Unexpected data after node's end position.";

[[noreturn]] void Fail(const char* message, int helpContext) {
  throw ELazyTreeError(QString::fromLatin1(message), helpContext);
}

uint32_t U32(const unsigned char* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// One node chunk being read: its end, its base chunk's end and the children still to come.
struct Frame {
  std::size_t Record;
  std::size_t NodeEnd;
  std::size_t BaseEnd;
  uint32_t ChildrenLeft;
  bool InBase;  // reading the children inside the base chunk
};

class Parser {
 public:
  Parser(const unsigned char* data, std::size_t size, int version)
      : data_(data), size_(size), version_(version), bodySize_(version >= 2 ? BaseBodySize : OldBaseBodySize) {}

  TParsedNodes Run(uint32_t maxTopLevel, bool exact) {
    while (out_.TopLevel.size() < maxTopLevel && pos_ < size_) {
      out_.TopLevel.push_back(out_.Records.size());
      ReadNode(-1, size_, true);
      while (!stack_.empty()) Step();
    }
    if (exact && out_.TopLevel.size() < maxTopLevel) Fail(kNotEnoughData, 2004);
    out_.Consumed = pos_;
    return std::move(out_);
  }

 private:
  // The smallest node chunk: its header, a base chunk header and a base body.
  std::size_t MinNodeChunk() const { return 2 * ChunkHeaderSize + bodySize_; }

  // Reads a chunk header that must fit before Limit. AtTop: the limit is the data's end (a short chunk there
  // means the data was cut off); inside a chunk a short one means the data is corrupt.
  void ReadHeader(std::size_t limit, bool atTop, int32_t& type, uint32_t& size) {
    if (limit - pos_ < static_cast<std::size_t>(ChunkHeaderSize))
      atTop ? Fail(kNotEnoughData, 2004) : Fail(kUnexpectedData, 2006);
    type = static_cast<int32_t>(U32(data_ + pos_));
    size = U32(data_ + pos_ + 4);
    pos_ += ChunkHeaderSize;
    if (size > limit - pos_) atTop ? Fail(kNotEnoughData, 2004) : Fail(kUnexpectedData, 2006);
  }

  void ReadNode(int64_t parent, std::size_t limit, bool atTop) {
    int32_t type = 0;
    uint32_t size = 0;
    ReadHeader(limit, atTop, type, size);
    if (type != NodeChunk) Fail(kAnchorMissing, 2005);
    if (stack_.size() >= MaxStreamDepth) Fail(kUnexpectedData, 2006);
    TStreamNodeRecord r;
    r.Parent = parent;
    r.ChunkBegin = out_.Chunks.size();
    out_.Records.push_back(r);
    stack_.push_back(Frame{out_.Records.size() - 1, pos_ + size, 0, 0, false});
  }

  void Step() {
    Frame& f = stack_.back();
    if (f.InBase) {
      if (f.ChildrenLeft > 0) {
        --f.ChildrenLeft;
        ReadNode(static_cast<int64_t>(f.Record), f.BaseEnd, false);
        return;
      }
      // The children must fill the base chunk exactly.
      if (pos_ != f.BaseEnd) Fail(kUnexpectedData, 2006);
      f.InBase = false;
      return;
    }
    if (pos_ < f.NodeEnd) {
      ReadInner(f);
      return;
    }
    out_.Records[f.Record].SubtreeEnd = out_.Records.size();
    out_.Records[f.Record].ChunkEnd = out_.Chunks.size();
    stack_.pop_back();
  }

  void ReadInner(Frame& f) {
    int32_t type = 0;
    uint32_t size = 0;
    ReadHeader(f.NodeEnd, false, type, size);
    const std::size_t start = pos_;
    TStreamNodeRecord& r = out_.Records[f.Record];
    if (type == BaseChunk) {
      // A second base chunk would give the node a second set of children.
      if (r.HasBase || size < bodySize_) Fail(kUnexpectedData, 2006);
      ReadBase(r, data_ + start);
      pos_ = start + bodySize_;
      f.BaseEnd = start + size;
      // Every child takes at least the smallest node chunk, so the count cannot exceed what the bytes hold.
      if (r.ChildCount > (f.BaseEnd - pos_) / MinNodeChunk()) Fail(kUnexpectedData, 2006);
      f.ChildrenLeft = r.ChildCount;
      f.InBase = true;
      return;
    }
    // A caption is UTF-16: an odd size would leave half a code unit.
    if (type == CaptionChunk && size % 2 != 0) Fail(kUnexpectedData, 2006);
    out_.Chunks.push_back(TStreamChunkRef{static_cast<uint32_t>(f.Record), type, start, size});
    pos_ = start + size;
  }

  void ReadBase(TStreamNodeRecord& r, const unsigned char* p) const {
    r.HasBase = true;
    r.ChildCount = U32(p);
    r.Height = U32(p + 4);
    if (version_ >= 2) {
      r.States = U32(p + 8);
      r.Align = p[12];
      r.CheckState = p[13];
      r.CheckType = p[14];
    } else {
      r.States = p[8] & 0x7F;
      r.Selected = (p[8] & 0x80) != 0;
      r.Align = p[9];
      r.CheckState = p[10];
      r.CheckType = p[11];
    }
  }

  const unsigned char* data_;
  std::size_t size_;
  int version_;
  std::size_t bodySize_;
  std::size_t pos_ = 0;
  std::vector<Frame> stack_;
  TParsedNodes out_;
};

}  // namespace

TParsedNodes ParseNodeChunks(const unsigned char* Data, std::size_t Size, int Version, uint32_t MaxTopLevel,
                             bool Exact) {
  return Parser(Data, Size, Version).Run(MaxTopLevel, Exact);
}

}  // namespace lazytree
