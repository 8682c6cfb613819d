#pragma once
// Building blocks of the string tree's exports: the append-only text buffers, the escapes of each format, the
// envelope of the HTML transfer format, and the exporter that gives the format writers the tree's text queries
// inside one export operation.

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <vector>

#include "platform/graphics/color.h"
#include "tree/stringtree.h"

namespace lazytree {

// Append-only text (UTF-16 or bytes). It grows in steps of at least 4096 units and at least doubles, so an
// export of a large tree stays linear in its text.
template <class S>
class TBufferedText {
 public:
  void Add(const S& Text) {
    if (Text.isEmpty()) return;
    Reserve(Text.size());
    FText.append(Text);
  }
  void AddNewLine() {
    Reserve(2);
    FText.append('\r');
    FText.append('\n');
  }
  S AsString() const { return FText; }
  qsizetype Length() const { return FText.size(); }

 private:
  void Reserve(qsizetype Extra) {
    if (FText.size() + Extra <= FText.capacity()) return;
    const qsizetype step = (Extra + 4095) / 4096 * 4096;
    FText.reserve(std::max(FText.capacity() * 2, FText.size() + step));
  }
  S FText;
};
using TBufferedString = TBufferedText<QString>;
using TBufferedRawByteString = TBufferedText<QByteArray>;

// Text for HTML: "&", "<", ">" and '"' as entities, a line break (CR LF, LF or CR) as "<br>".
QString HtmlEscaped(const QString& Text);
// "#RRGGBB" of a colour, a system colour resolved to its current value.
QString HtmlColor(plat::TColor Color);
// The characters of an RTF text: LF as "{\par}", CR dropped, every other UTF-16 unit as "\uN\'3f" with N read
// as a signed 16-bit number.
QByteArray RtfEscapedText(const QString& Text);
// A font name for the RTF font table: printable ASCII as it is with "\", "{" and "}" escaped, everything else
// as "\uN\'3f".
QByteArray RtfEscapedName(const QString& Name);
// One piece of the text export: enclosed in double quotes (inner ones doubled) when it holds the separator or
// a line break, or starts with a double quote; else as it is.
QString TextField(const QString& Piece, const QString& Separator);
// The HTML transfer format around a UTF-8 fragment: the header with the byte offsets, the fixed document start,
// the fragment, the fixed document end and a zero byte.
QByteArray WrapClipboardHTML(const QByteArray& Fragment);
// The list separator of the format settings (";" where the decimal separator is a comma, else ",").
QString LocaleListSeparator();

// One export run: the operation bracket (ended also when an error leaves the export), the visible columns in
// position order and the tree's protected text queries.
class TStringTreeExporter {
 public:
  TStringTreeExporter(TCustomLazyStringTree& Tree, TLTExportType Type);
  ~TStringTreeExporter();
  TStringTreeExporter(const TStringTreeExporter&) = delete;
  TStringTreeExporter& operator=(const TStringTreeExporter&) = delete;

  TCustomLazyStringTree& Tree;
  const TLTExportType Type;
  // The visible columns in position order (empty without header columns).
  std::vector<TLazyTreeColumn*> Columns;
  TColumnIndex MainColumn = NoColumn;

  // The cell's main and static text (the main one preset with the default text).
  TLSTGetCellTextEventArgs Texts(PLazyNode Node, TColumnIndex Column);
  // The main text, followed by a blank and the static text when that is shown.
  QString TextWithStatic(PLazyNode Node, TColumnIndex Column);
  // Fires OnPaintText for the cell on the tree's canvas; with ResetFont the canvas font is the tree's font
  // first. True when the handler changed the canvas font.
  bool PaintText(PLazyNode Node, TColumnIndex Column, TLSTTextType TextType, bool ResetFont);
  // The source's nodes in order, until the operation is cancelled; with Filtered only those that pass the
  // export mode.
  template <class F>
  void ForEachNode(TLSTTextSourceType Source, bool Filtered, F&& Visit) {
    for (PLazyNode n = Tree.NextOfTextSource(Source, nullptr); n && !Tree.OperationCanceled();
         n = Tree.NextOfTextSource(Source, n)) {
      if (!Filtered || Tree.NodeMatchesExportMode(n)) Visit(n);
    }
  }
  // The largest level among the source's nodes (0 when none).
  uint32_t MaxLevel(TLSTTextSourceType Source, bool Filtered);
  // OnBeforeNodeExport's answer (true without a handler).
  bool BeforeNode(PLazyNode Node);
  void AfterNode(PLazyNode Node);
  void TreeEvent(const TLTTreeExportEvent& Event);
  void ColumnEvent(const TLTColumnExportEvent& Event, TLazyTreeColumn* Column);
  // A column's alignment as written, left and right exchanged for a right-to-left column; RightToLeft tells
  // whether it is one.
  static plat::TAlignment Mirrored(plat::TAlignment Alignment, TBiDiMode BiDiMode, bool& RightToLeft);
};

}  // namespace lazytree
