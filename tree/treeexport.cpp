// The string tree's exports, common part: the escapes, the transfer-format envelope, the exporter's text
// queries, the node walks and filter, the text export, the transfer renderings and the event-driven export.

#include "tree/treeexport.h"


#include <algorithm>

#include "platform/graphics/canvas.h"
#include "platform/rtl/formatsettings.h"
#include "tree/treecolumns.h"

namespace lazytree {

// --- Escapes ---------------------------------------------------------------------------------------------------

QString HtmlEscaped(const QString& Text) {
  QString out;
  out.reserve(Text.size() + Text.size() / 8);
  for (qsizetype i = 0; i < Text.size(); ++i) {
    const QChar c = Text[i];
    switch (c.unicode()) {
      case '&': out += QLatin1String("&amp;"); break;
      case '<': out += QLatin1String("&lt;"); break;
      case '>': out += QLatin1String("&gt;"); break;
      case '"': out += QLatin1String("&quot;"); break;
      case '\r':
        out += QLatin1String("<br>");
        if (i + 1 < Text.size() && Text[i + 1] == QLatin1Char('\n')) ++i;
        break;
      case '\n': out += QLatin1String("<br>"); break;
      default: out += c;
    }
  }
  return out;
}

QString HtmlColor(plat::TColor Color) {
  const uint32_t rgb = plat::ColorToRGB(Color);
  return QStringLiteral("#%1%2%3")
      .arg(rgb & 0xFF, 2, 16, QLatin1Char('0'))
      .arg((rgb >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
      .arg((rgb >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
      .toUpper();
}

static void AddRtfUnicode(QByteArray& Out, char16_t Unit) {
  Out += "\\u";
  Out += QByteArray::number(static_cast<int16_t>(Unit));
  Out += "\\'3f";
}

QByteArray RtfEscapedText(const QString& Text) {
  QByteArray out;
  out.reserve(Text.size() * 10);
  for (QChar c : Text) {
    if (c == QLatin1Char('\n')) {
      out += "{\\par}";
    } else if (c != QLatin1Char('\r')) {
      AddRtfUnicode(out, c.unicode());
    }
  }
  return out;
}

QByteArray RtfEscapedName(const QString& Name) {
  QByteArray out;
  for (QChar c : Name) {
    const char16_t u = c.unicode();
    if (u == '\\' || u == '{' || u == '}') {
      out += '\\';
      out += static_cast<char>(u);
    } else if (u >= 0x20 && u < 0x7F && u != ';') {
      out += static_cast<char>(u);
    } else {
      AddRtfUnicode(out, u);  // the semicolon would end the table entry
    }
  }
  return out;
}

QString TextField(const QString& Piece, const QString& Separator) {
  const bool quote = (!Separator.isEmpty() && Piece.contains(Separator)) || Piece.contains(QLatin1Char('\n')) ||
                     Piece.contains(QLatin1Char('\r')) || Piece.startsWith(QLatin1Char('"'));
  if (!quote) return Piece;
  QString inner = Piece;
  inner.replace(QLatin1String("\""), QLatin1String("\"\""));
  return QLatin1Char('"') + inner + QLatin1Char('"');
}

QByteArray WrapClipboardHTML(const QByteArray& Fragment) {
  static const QByteArray docStart =
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">"
      "<html><head><META http-equiv=Content-Type content=\"text/html; charset=utf-8\"></head><body>"
      "<!--StartFragment-->";
  static const QByteArray docEnd = "<!--EndFragment--></body></html>";
  auto number = [](qsizetype v) { return QByteArray::number(v).rightJustified(8, '0'); };
  // Every number has eight digits, so the header's length is known before its numbers are.
  const qsizetype startHtml = 97;
  const qsizetype startFragment = startHtml + docStart.size();
  const qsizetype endFragment = startFragment + Fragment.size();
  const qsizetype endHtml = endFragment + docEnd.size();
  QByteArray out;
  out.reserve(endHtml + 1);
  out += "Version:1.0\r\nStartHTML:" + number(startHtml) + "\r\nEndHTML:" + number(endHtml) +
         "\r\nStartFragment:" + number(startFragment) + "\r\nEndFragment:" + number(endFragment) + "\r\n";
  out += docStart;
  out += Fragment;
  out += docEnd;
  out += '\0';
  return out;
}

QString LocaleListSeparator() {
  return plat::FormatSettings.DecimalSeparator == QLatin1Char(',') ? QStringLiteral(";") : QStringLiteral(",");
}

// --- The exporter ----------------------------------------------------------------------------------------------

TStringTreeExporter::TStringTreeExporter(TCustomLazyStringTree& ATree, TLTExportType AType)
    : Tree(ATree), Type(AType) {
  if (Tree.Header().UseColumns()) {
    Columns = Tree.Header().Columns().GetVisibleColumns();
    MainColumn = Tree.Header().MainColumn();
  }
  Tree.StartOperation(okExport);
}

TStringTreeExporter::~TStringTreeExporter() { Tree.EndOperation(okExport); }

TLSTGetCellTextEventArgs TStringTreeExporter::Texts(PLazyNode Node, TColumnIndex Column) {
  TLSTGetCellTextEventArgs args{Node, Column, Tree.DefaultText(), {}, Type};
  Tree.DoGetText(args);
  return args;
}

QString TStringTreeExporter::TextWithStatic(PLazyNode Node, TColumnIndex Column) {
  TLSTGetCellTextEventArgs t = Texts(Node, Column);
  if (!t.StaticText.isEmpty() && Tree.StringOptions().Has(toShowStaticText))
    return t.CellText + QLatin1Char(' ') + t.StaticText;
  return t.CellText;
}

bool TStringTreeExporter::PaintText(PLazyNode Node, TColumnIndex Column, TLSTTextType TextType, bool ResetFont) {
  plat::TCanvas* canvas = Tree.Canvas();
  if (ResetFont) canvas->SetFont(*Tree.Font());
  plat::TFont before;
  before.Assign(*canvas->Font());
  Tree.DoPaintText(Node, canvas, Column, TextType);
  return !canvas->Font()->IsEqual(before);
}

uint32_t TStringTreeExporter::MaxLevel(TLSTTextSourceType Source, bool Filtered) {
  uint32_t level = 0;
  ForEachNode(Source, Filtered, [&](PLazyNode n) { level = std::max(level, Tree.GetNodeLevel(n)); });
  return level;
}

bool TStringTreeExporter::BeforeNode(PLazyNode Node) {
  return !Tree.OnBeforeNodeExport || Tree.OnBeforeNodeExport(&Tree, Type, Node);
}

void TStringTreeExporter::AfterNode(PLazyNode Node) {
  if (Tree.OnAfterNodeExport) Tree.OnAfterNodeExport(&Tree, Type, Node);
}

void TStringTreeExporter::TreeEvent(const TLTTreeExportEvent& Event) {
  if (Event) Event(&Tree, Type);
}

void TStringTreeExporter::ColumnEvent(const TLTColumnExportEvent& Event, TLazyTreeColumn* Column) {
  if (Event) Event(&Tree, Type, Column);
}

plat::TAlignment TStringTreeExporter::Mirrored(plat::TAlignment Alignment, TBiDiMode BiDiMode, bool& RightToLeft) {
  RightToLeft = BiDiMode != bdLeftToRight;
  if (!RightToLeft) return Alignment;
  if (Alignment == plat::taLeftJustify) return plat::taRightJustify;
  if (Alignment == plat::taRightJustify) return plat::taLeftJustify;
  return Alignment;
}

// --- Node walks and the export filter ---------------------------------------------------------------------------

PLazyNode TCustomLazyStringTree::NextOfTextSource(TLSTTextSourceType Source, PLazyNode Node) {
  static constexpr TVZLazyNodeEnumerationMode modes[] = {vneAll,      vneInitialized, vneSelected,
                                                         vneCutCopy,  vneVisible,     vneChecked};
  // Only the visible walk shows children above their parent, as the window does.
  const TLTLazyNodeEnumeration walk{modes[Source], this, Source == tstVisible};
  return walk.GetNext(Node);
}

bool TCustomLazyStringTree::NodeMatchesExportMode(PLazyNode Node) const {
  switch (TreeOptions().ExportMode) {
    case emAll: return true;
    case emChecked: return Node->CheckState == csCheckedNormal;
    case emUnchecked: return Node->CheckState == csUncheckedNormal;
    case emVisibleDueToExpansion: return Node->Parent == RootNode() || Node->Parent->Has(vsExpanded);
    case emSelected: return Node->Has(vsSelected);
  }
  return true;
}

// --- Text export -----------------------------------------------------------------------------------------------

// QuoteBare: also the texts of a tree without columns are written as fields (the CSV rendering, where a
// separator inside a text would otherwise split it).
static QString ExportText(TCustomLazyStringTree& Tree, TLSTTextSourceType Source, const QString& Separator,
                          bool QuoteBare) {
  TStringTreeExporter x(Tree, etText);
  const uint32_t maxLevel = x.MaxLevel(Source, false);
  const QString tabs = Separator.repeated(maxLevel);
  TBufferedString out;
  if (x.Columns.empty()) {
    x.ForEachNode(Source, false, [&](PLazyNode n) {
      out.Add(Separator.repeated(Tree.GetNodeLevel(n)));
      const QString text = x.Texts(n, NoColumn).CellText;
      out.Add(QuoteBare ? TextField(text, Separator) : text);
      out.AddNewLine();
    });
    return out.AsString();
  }
  const std::size_t last = x.Columns.size() - 1;
  for (std::size_t i = 0; i <= last; ++i) {
    out.Add(TextField(x.Columns[i]->Text(), Separator));
    if (i == last) break;
    if (x.Columns[i]->Index() == x.MainColumn) out.Add(tabs);
    out.Add(Separator);
  }
  out.AddNewLine();
  x.ForEachNode(Source, false, [&](PLazyNode n) {
    const uint32_t level = Tree.GetNodeLevel(n);
    for (std::size_t i = 0; i <= last; ++i) {
      const TColumnIndex column = x.Columns[i]->Index();
      const bool main = column == x.MainColumn;
      if (main) out.Add(Separator.repeated(level));
      out.Add(TextField(x.TextWithStatic(n, column), Separator));
      if (main) out.Add(Separator.repeated(maxLevel - level));
      if (i != last) out.Add(Separator);
    }
    out.AddNewLine();
  });
  return out.AsString();
}

QString TCustomLazyStringTree::ContentToText(TLSTTextSourceType Source, const QString& Separator) {
  return ExportText(*this, Source, Separator, false);
}

// --- Transfer renderings ---------------------------------------------------------------------------------------

QByteArray TCustomLazyStringTree::ContentToClipboard(const QString& Format, TLSTTextSourceType Source) {
  auto is = [&](const char* name) { return Format.compare(QLatin1String(name), Qt::CaseInsensitive) == 0; };
  QByteArray out;
  if (is("Plain text")) {
    out = ContentToText(Source, QChar(u'\t')).toUtf8();
  } else if (is("Unicode text")) {
    const QString text = ContentToText(Source, QChar(u'\t'));
    out = QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    out += '\0';
  } else if (is("CSV")) {
    out = ExportText(*this, Source, LocaleListSeparator(), true).toUtf8();
  } else if (is("Rich Text Format") || is("Rich Text Format Without Objects")) {
    out = ContentToRTF(Source);
  } else if (is("HTML Format")) {
    return WrapClipboardHTML(ContentToHTML(Source).toUtf8());
  } else {
    return {};
  }
  out += '\0';
  return out;
}

// --- Event-driven export ---------------------------------------------------------------------------------------

void TCustomLazyStringTree::ContentToCustom(TLSTTextSourceType Source) {
  TStringTreeExporter x(*this, etCustom);
  x.TreeEvent(OnBeforeTreeExport);
  if (Header().UseColumns() && Header().Options().Has(hoVisible)) {
    x.TreeEvent(OnBeforeHeaderExport);
    for (TLazyTreeColumn* column : x.Columns) {
      x.ColumnEvent(OnBeforeColumnExport, column);
      x.ColumnEvent(OnColumnExport, column);
      x.ColumnEvent(OnAfterColumnExport, column);
    }
    x.TreeEvent(OnAfterHeaderExport);
  }
  x.ForEachNode(Source, true, [&](PLazyNode n) {
    x.BeforeNode(n);
    if (OnNodeExport) OnNodeExport(this, etCustom, n);
    x.AfterNode(n);
  });
  x.TreeEvent(OnAfterTreeExport);
}

}  // namespace lazytree
