// The string tree's part of the tree stream: each node's main-column text as a caption chunk.
#include "platform/rtl/streams.h"
#include "tree/stringtree.h"
#include "tree/treestreamformat.h"

namespace lazytree {

void TCustomLazyStringTree::WriteNodeBody(plat::TStream& Stream, PLazyNode Node) {
  TBaseLazyTreeControl::WriteNodeBody(Stream, Node);
  if (!FStringOptions.Has(toSaveCaptions) || !Node || Node == RootNode() || !Node->Has(vsInitialized)) return;
  const QString text = GetText(Node, Header().MainColumn());
  if (text.isEmpty()) return;
  Stream.WriteI32LE(CaptionChunk);
  Stream.WriteU32LE(static_cast<uint32_t>(2 * text.size()));
  for (QChar c : text) Stream.WriteU16LE(c.unicode());
}

bool TCustomLazyStringTree::ReadInnerChunk(plat::TStream& Stream, int Version, int ChunkSize, int ChunkType,
                                           PLazyNode Node) {
  if (ChunkType != CaptionChunk)
    return TBaseLazyTreeControl::ReadInnerChunk(Stream, Version, ChunkSize, ChunkType, Node);
  QString text(ChunkSize / 2, Qt::Uninitialized);
  for (QChar& c : text) c = QChar(Stream.ReadU16LE());
  SetText(Node, Header().MainColumn(), text);
  return true;
}

}  // namespace lazytree
