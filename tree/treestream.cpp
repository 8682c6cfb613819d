// Tree streams: writing nodes with their states, check fields, children and application data, and reading them
// back. Reading checks the whole input first (treestreamformat) and only then makes nodes, so refused input
// leaves the tree as it was.
#include <algorithm>

#include "platform/io/files.h"
#include "platform/rtl/streams.h"
#include "tree/lazytree.h"
#include "tree/treestreamformat.h"

namespace lazytree {

namespace {

// States that only mean something while the process runs; they are not written.
constexpr TLazyNodeStates UnsavedStates{vsChecking, vsCutOrCopy, vsDeleting, vsOnFreeNodeCallRequired,
                                        vsHeightMeasured};
// States a stream may set. The others are transient or describe memory a stream cannot give (a release call on
// user data), and the selection is taken through the selection functions.
constexpr TLazyNodeStates LoadableStates{vsInitialized, vsDisabled, vsExpanded, vsHasChildren,
                                         vsVisible,     vsMultiline, vsFiltered};

void WriteChunkHeader(plat::TStream& s, int32_t type) {
  s.WriteI32LE(type);
  s.WriteU32LE(0);
}

// Writes the size of the chunk that starts at Start, now that its end is known.
void PatchChunkSize(plat::TStream& s, int64_t start) {
  const int64_t end = s.Position();
  s.SetPosition(start + 4);
  s.WriteU32LE(static_cast<uint32_t>(end - start - ChunkHeaderSize));
  s.SetPosition(end);
}

// Reads and checks the stream header; answers the version. ShortIsFormatError: fewer than 12 bytes are the
// tree's "not enough data" error rather than the stream's read error.
int ReadStreamHeader(plat::TStream& Stream, bool ShortIsFormatError) {
  unsigned char h[StreamHeaderSize];
  if (ShortIsFormatError) {
    if (Stream.Read(h, StreamHeaderSize) < StreamHeaderSize)
      throw ELazyTreeError(QStringLiteral("Unable to load tree structure, not enough data available."), 2004);
  } else {
    Stream.ReadBuffer(h, StreamHeaderSize);
  }
  auto unit = [&](int i) { return static_cast<uint16_t>(h[2 * i] | h[2 * i + 1] << 8); };
  for (int i : {0, 1, 2, 5})
    if (unit(i) != StreamMagic[i])
      throw ELazyTreeError(QStringLiteral("Unable to load tree structure, the format is wrong."), 2002);
  if (unit(3) > StreamVersion)
    throw ELazyTreeError(QStringLiteral("Unable to load tree structure, the version is unknown."), 2003);
  return unit(3);
}

// The rest of a stream after its header: the count (version 2) and the bytes of the node chunks.
struct TStreamBody {
  int Version = 0;
  uint32_t Count = 0x7FFFFFFF;
  int64_t Start = 0;
  QByteArray Bytes;
};

TStreamBody ReadStreamBody(plat::TStream& Stream, bool ShortIsFormatError) {
  TStreamBody b;
  b.Version = ReadStreamHeader(Stream, ShortIsFormatError);
  if (b.Version >= 2) b.Count = Stream.ReadU32LE();
  b.Start = Stream.Position();
  b.Bytes = Stream.ReadBytes(std::max<int64_t>(0, Stream.Size() - b.Start));
  return b;
}

TParsedNodes Parse(const QByteArray& Bytes, int Version, uint32_t Count) {
  // A version-2 stream names its count: data that ends before that many nodes was cut off.
  return ParseNodeChunks(reinterpret_cast<const unsigned char*>(Bytes.constData()),
                         static_cast<std::size_t>(Bytes.size()), Version, Count, Version >= 2);
}

// Appends Child behind the last child of Parent while neither is linked into a tree yet.
void AppendDetached(PLazyNode Parent, PLazyNode Child) {
  Child->Parent = Parent;
  Child->NextSibling = nullptr;
  if (!Parent->FirstChild) {
    Parent->FirstChild = Child;
    Child->PrevLink = Child;
    Child->Index = 0;
  } else {
    PLazyNode last = Parent->FirstChild->PrevLink;
    last->NextSibling = Child;
    Child->PrevLink = last;
    Parent->FirstChild->PrevLink = Child;
    Child->Index = last->Index + 1;
  }
  ++Parent->ChildCount;
}

}  // namespace

// ------------------------------------------------------------------------------------------------------------
// Writing

void TBaseLazyTree::WriteNodeChunk(plat::TStream& Stream, PLazyNode Node) {
  struct Open {
    PLazyNode Node;
    int64_t NodeStart;
    int64_t BaseStart;
    PLazyNode NextChild;
  };
  std::vector<Open> stack;
  auto begin = [&](PLazyNode n) {
    if (FOptions.MiscOptions.Has(toInitOnSave)) {
      if (!n->Has(vsInitialized)) InitNode(n);
      if (n->Has(vsHasChildren) && n->ChildCount == 0) InitChildren(n);
    }
    // The children of an uninitialised node are not written, so neither is their count: a reader would take
    // the following siblings for them. The node keeps vsHasChildren and makes them again when initialised.
    const bool withChildren = n->Has(vsInitialized);
    // Node chunk header and base chunk header (sizes patched later), then the base body: one write.
    unsigned char head[2 * ChunkHeaderSize + BaseBodySize] = {};
    auto put32 = [&](int at, uint32_t v) {
      for (int i = 0; i < 4; ++i) head[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    put32(0, NodeChunk);
    put32(ChunkHeaderSize, BaseChunk);
    put32(16, withChildren ? n->ChildCount : 0);
    put32(20, n->NodeHeight);
    put32(24, (n->SharedStates() - UnsavedStates).ToBits());
    head[28] = n->Align;
    head[29] = n->CheckState;
    head[30] = n->CheckType;
    const int64_t nodeStart = Stream.Position();
    Stream.WriteBuffer(head, sizeof head);
    stack.push_back(Open{n, nodeStart, nodeStart + ChunkHeaderSize, withChildren ? n->FirstChild : nullptr});
  };
  begin(Node);
  while (!stack.empty()) {
    Open& o = stack.back();
    if (PLazyNode child = o.NextChild) {
      o.NextChild = child->NextSibling;
      begin(child);
      continue;
    }
    PatchChunkSize(Stream, o.BaseStart);
    WriteNodeBody(Stream, o.Node);
    PatchChunkSize(Stream, o.NodeStart);
    stack.pop_back();
  }
}

void TBaseLazyTree::WriteNodeBody(plat::TStream& Stream, PLazyNode Node) {
  const int64_t start = Stream.Position();
  WriteChunkHeader(Stream, UserChunk);
  DoSaveNode(NilForRoot(Node), Stream);
  if (Stream.Position() == start + ChunkHeaderSize) {
    // Nothing was written: no empty user data chunk.
    Stream.SetPosition(start);
    Stream.SetSize(start);
  } else {
    PatchChunkSize(Stream, start);
  }
}

void TBaseLazyTree::SaveToStream(plat::TStream& Stream, PLazyNode Node) {
  for (uint16_t unit : StreamMagic) Stream.WriteU16LE(unit);
  if (Node && Node != FRoot) {
    Stream.WriteU32LE(1);
    WriteNodeChunk(Stream, Node);
  } else {
    Stream.WriteU32LE(FRoot->ChildCount);
    for (PLazyNode n = FRoot->FirstChild; n; n = n->NextSibling) WriteNodeChunk(Stream, n);
  }
  if (OnSaveTree) OnSaveTree(this, Stream);
}

void TBaseLazyTree::SaveToFile(const QString& FileName) {
  plat::TMemoryStream stream;
  SaveToStream(stream);
  QString error;
  if (!plat::WriteFileAtomic(FileName, stream.Bytes(), &error)) throw plat::EFCreateError(error);
}

void TBaseLazyTree::DoSaveNode(PLazyNode Node, plat::TStream& Stream) {
  if (OnSaveNode) OnSaveNode(this, Node, Stream);
}

void TBaseLazyTree::DoLoadNode(PLazyNode Node, plat::TStream& Stream) {
  if (OnLoadNode) OnLoadNode(this, Node, Stream);
}

bool TBaseLazyTree::DoNodeCopying(PLazyNode Node, PLazyNode Target) {
  bool allowed = true;
  if (OnNodeCopying) OnNodeCopying(this, Node, Target, allowed);
  return allowed;
}

void TBaseLazyTree::DoNodeCopied(PLazyNode Node) {
  if (OnNodeCopied) OnNodeCopied(this, Node);
}

// ------------------------------------------------------------------------------------------------------------
// Reading

bool TBaseLazyTree::ReadInnerChunk(plat::TStream& Stream, int /*Version*/, int ChunkSize, int ChunkType,
                                   PLazyNode Node) {
  if (ChunkType != UserChunk) return false;
  if (ChunkSize > 0) DoLoadNode(NilForRoot(Node), Stream);
  return true;
}

PLazyNode TBaseLazyTree::LoadParsedNode(const TParsedNodes& Parsed, std::size_t Top, int Version,
                                        plat::TStream& Data, int64_t Base, PLazyNode Destination,
                                        TLTNodeAttachMode Mode) {
  const std::size_t first = Top;
  const std::size_t end = Parsed.Records[Top].SubtreeEnd;
  std::vector<PLazyNode> nodes;
  nodes.reserve(end - first);
  std::vector<PLazyNode> selected;
  try {
    for (std::size_t i = first; i < end; ++i) {
      const TStreamNodeRecord& r = Parsed.Records[i];
      PLazyNode n = AllocateNode();
      nodes.push_back(n);
      if (r.HasBase) {
        TLazyNodeStates states = TLazyNodeStates::FromBits(r.States) * LoadableStates;
        if (Version < 2) states.Include(vsVisible);
        if (r.ChildCount > 0)
          states.Include(vsHasChildren);
        else if (!states.Has(vsHasChildren))
          states.Exclude(vsExpanded);
        n->States = states;
        const auto height = static_cast<uint16_t>(std::min<uint32_t>(r.Height, 0xFFFF));
        n->NodeHeight = height;
        n->TotalHeight = GetEffectivelyFiltered(n) ? 0 : height;
        n->Align = std::min<uint8_t>(r.Align, 100);
        n->CheckState = r.CheckState <= csMixedDisabled ? static_cast<TCheckState>(r.CheckState) : csUncheckedNormal;
        n->CheckType = r.CheckType <= ctButton ? static_cast<TCheckType>(r.CheckType) : ctNone;
        if (r.Selected || TLazyNodeStates::FromBits(r.States).Has(vsSelected)) selected.push_back(n);
      }
      if (i > first) AppendDetached(nodes[static_cast<std::size_t>(r.Parent) - first], n);
    }
  } catch (...) {
    for (PLazyNode n : nodes) {
      if (FDataDestroy) FDataDestroy(reinterpret_cast<char*>(n) + UserDataOffset());
      ReleaseNodeBlock(n);
    }
    throw;
  }
  // Totals bottom-up: in reverse pre-order every node's subtree is complete before its parent takes it.
  for (std::size_t k = nodes.size(); k-- > 1;) {
    PLazyNode n = nodes[k];
    PLazyNode parent = n->Parent;
    parent->TotalCount += n->TotalCount;
    if (parent->Has(vsExpanded) && n->Has(vsVisible)) parent->TotalHeight += n->TotalHeight;
  }
  // A leaf is left as a new node is; a parent learns whether any child shows.
  for (PLazyNode n : nodes)
    if (n->ChildCount > 0) UpdateAllChildrenHiddenFlag(n);
  if (Destination != FRoot && (Mode == amAddChildFirst || Mode == amAddChildLast)) {
    if (!Destination->Has(vsInitialized)) InitNode(Destination);
    if (Destination->Has(vsHasChildren) && Destination->ChildCount == 0) InitChildren(Destination);
  }
  StopCacheValidation();
  LinkNode(nodes[0], Destination, Mode);
  InvalidatePositionCache();
  try {
    if (!selected.empty() && FOptions.SelectionOptions.Has(toMultiSelect))
      AddToSelection(selected.data(), static_cast<int>(selected.size()), false);
    const TStreamNodeRecord& top = Parsed.Records[Top];
    for (std::size_t c = top.ChunkBegin; c < top.ChunkEnd; ++c) {
      const TStreamChunkRef& ref = Parsed.Chunks[c];
      Data.SetPosition(Base + static_cast<int64_t>(ref.Offset));
      ReadInnerChunk(Data, Version, static_cast<int>(ref.Size), ref.Type, nodes[ref.Record - first]);
    }
  } catch (...) {
    DeleteNode(nodes[0]);
    throw;
  }
  return nodes[0];
}

void TBaseLazyTree::LoadParsedNodes(const TParsedNodes& Parsed, int Version, plat::TStream& Data,
                                    PLazyNode Destination) {
  std::vector<PLazyNode> added;
  try {
    for (std::size_t top : Parsed.TopLevel)
      added.push_back(LoadParsedNode(Parsed, top, Version, Data, 0, Destination, amAddChildLast));
  } catch (...) {
    for (auto it = added.rbegin(); it != added.rend(); ++it) DeleteNode(*it);
    throw;
  }
}

void TBaseLazyTree::LoadFromStream(plat::TStream& Stream) {
  if (ReadOnly()) return;
  AssertMainThread();
  const TStreamBody body = ReadStreamBody(Stream, true);
  const TParsedNodes parsed = Parse(body.Bytes, body.Version, body.Count);
  Stream.SetPosition(body.Start + static_cast<int64_t>(parsed.Consumed));
  Clear();
  plat::TMemoryStream data(body.Bytes);
  BeginUpdate();
  try {
    LoadParsedNodes(parsed, body.Version, data, FRoot);
    DoNodeCopied(nullptr);
    if (OnLoadTree) OnLoadTree(this, Stream);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TBaseLazyTree::LoadFromFile(const QString& FileName) {
  QByteArray bytes;
  QString error;
  if (!plat::ReadFileBytes(FileName, bytes, &error)) throw plat::EFOpenError(error);
  plat::TMemoryStream stream(bytes);
  LoadFromStream(stream);
}

void TBaseLazyTree::AddFromStream(plat::TStream& Stream, PLazyNode TargetNode) {
  if (ReadOnly()) return;
  AssertMainThread();
  CheckStructureEditAllowed();
  if (!TargetNode) TargetNode = FRoot;
  if (TreeOfNode(TargetNode) != this) throw ELazyTreeAssertion("The target node must belong to this tree.");
  const TStreamBody body = ReadStreamBody(Stream, false);
  const TParsedNodes parsed = Parse(body.Bytes, body.Version, body.Count);
  Stream.SetPosition(body.Start + static_cast<int64_t>(parsed.Consumed));
  plat::TMemoryStream data(body.Bytes);
  BeginUpdate();
  try {
    LoadParsedNodes(parsed, body.Version, data, TargetNode);
    DoNodeCopied(NilForRoot(TargetNode));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

}  // namespace lazytree
