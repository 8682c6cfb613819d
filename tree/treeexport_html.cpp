// The string tree's HTML export: a style sheet with the tree's and the header's fonts, then one table whose rows
// show the tree structure as a staircase of indentation cells and column spans.

#include "platform/graphics/canvas.h"
#include "tree/treecolumns.h"
#include "tree/treeexport.h"

namespace lazytree {

namespace {

// A font name inside a CSS string, safe both in the style sheet and in an attribute.
QString CssFontName(const plat::TFont& Font) {
  QString name = Font.Name().isEmpty() ? Font.QtFont().family() : Font.Name();
  QString out;
  for (QChar c : name) {
    if (c == QLatin1Char('\\') || c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('<') ||
        c == QLatin1Char('>') || c == QLatin1Char('&')) {
      out += QStringLiteral("\\%1 ").arg(c.unicode(), 0, 16);
    } else {
      out += c;
    }
  }
  return out;
}

// The declarations of a font: family, size, style, weight, decoration and colour.
QString FontDeclarations(const plat::TFont& Font) {
  const plat::TFontStyles style = Font.Style();
  QString s = QStringLiteral("font-family: '%1'; ").arg(CssFontName(Font));
  s += Font.Size() < 0 ? QStringLiteral("font-size: %1px; ").arg(Font.Height())
                       : QStringLiteral("font-size: %1pt; ").arg(Font.Size());
  s += QStringLiteral("font-style: %1; ").arg(style.Contains(plat::fsItalic) ? "italic" : "normal");
  s += QStringLiteral("font-weight: %1; ").arg(style.Contains(plat::fsBold) ? "bold" : "normal");
  s += QStringLiteral("text-decoration: %1; ").arg(style.Contains(plat::fsUnderline) ? "underline" : "none");
  s += QStringLiteral("color: ") + HtmlColor(Font.Color()) + QLatin1Char(';');
  return s;
}

// A class rule of the style sheet.
QString ClassRule(const QString& Name, const plat::TFont& Font) {
  return QLatin1Char('.') + Name + QLatin1Char('{') + FontDeclarations(Font) + QLatin1Char('}');
}

// The alignment attribute (with the direction of a right-to-left column).
QString AlignAttribute(plat::TAlignment Alignment, TBiDiMode BiDiMode) {
  bool rtl = false;
  const plat::TAlignment a = TStringTreeExporter::Mirrored(Alignment, BiDiMode, rtl);
  QString s = rtl ? QStringLiteral(" dir=\"rtl\"") : QString();
  if (a == plat::taRightJustify) return s + QStringLiteral(" align=right");
  if (a == plat::taCenter) return s + QStringLiteral(" align=center");
  return s + QStringLiteral(" align=left");
}

QString Colspan(uint32_t Span) { return QStringLiteral(" colspan=\"%1\"").arg(Span); }

class THtmlWriter {
 public:
  THtmlWriter(TCustomLazyStringTree& Tree, TLSTTextSourceType Source) : x(Tree, etHTML), t(Tree), source(Source) {}

  QString Run(const QString& Caption) {
    cellPadding = QStringLiteral("padding-left: %1px; padding-right: %1px;").arg(t.Margin());
    maxLevel = x.MaxLevel(source, true);
    StyleSheet();
    QString attributes = QStringLiteral(" ");
    if (!Caption.isEmpty()) attributes += QStringLiteral("caption=\"") + HtmlEscaped(Caption) + QLatin1Char('"');
    if (t.BorderStyle() != plat::bsNone)
      attributes += QStringLiteral(" border=\"%1\" frame=box").arg(t.BorderWidth() + 1);
    out.Add(QStringLiteral("<table class=\"default\" style=\"border-collapse: collapse;\" bgcolor=") +
            HtmlColor(t.Color()) + attributes + QStringLiteral(" cellspacing=\"0\">"));
    out.AddNewLine();
    if (!x.Columns.empty()) HeaderRow();
    x.ForEachNode(source, true, [&](PLazyNode n) {
      if (x.BeforeNode(n)) NodeRow(n);
    });
    out.Add(QStringLiteral("</table>"));
    return out.AsString();
  }

 private:
  void StyleSheet() {
    const auto& paint = t.TreeOptions().PaintOptions;
    const QString lineStyle = t.LineStyle() == lsSolid ? QStringLiteral("solid;") : QStringLiteral("dotted;");
    out.Add(QStringLiteral("<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
                           "<style type=\"text/css\">"));
    out.AddNewLine();
    out.Add(ClassRule(QStringLiteral("default"), *t.Font()));
    out.AddNewLine();
    out.Add(ClassRule(QStringLiteral("header"), *t.Header().Font()));
    out.AddNewLine();
    if (paint.Has(toShowHorzGridLines)) {
      out.Add(QStringLiteral(".noborder{ border-bottom:1px; border-left: 0px; border-right: 0px; border-top: 1px;"
                             "border-style:") + lineStyle);
    } else {
      out.Add(QStringLiteral(".noborder{border-style: none;"));
    }
    out.Add(cellPadding + QLatin1Char('}'));
    out.AddNewLine();
    out.Add(QStringLiteral(".normalborder {vertical-align: top; "));
    out.Add(paint.Has(toShowVertGridLines) ? QStringLiteral("border-right: 1px; border-left: 1px; ")
                                           : QStringLiteral("border-right: none; border-left:none; "));
    out.Add(paint.Has(toShowHorzGridLines) ? QStringLiteral("border-top: 1px; border-bottom: 1px; ")
                                           : QStringLiteral("border-top:none; border-bottom: none;"));
    out.Add(QStringLiteral("border-width: thin; border-style: ") + lineStyle + cellPadding +
            QStringLiteral("}</style>"));
    out.AddNewLine();
  }

  void HeaderRow() {
    x.TreeEvent(t.OnBeforeHeaderExport);
    out.Add(QStringLiteral("<tr class=\"header\" style=\"") + cellPadding + QStringLiteral("\">"));
    out.AddNewLine();
    for (TLazyTreeColumn* column : x.Columns) {
      x.ColumnEvent(t.OnBeforeColumnExport, column);
      QString cell = QStringLiteral("<th height=\"%1px\"").arg(t.Header().Height());
      cell += AlignAttribute(column->CaptionAlignment(), column->BiDiMode());
      if (column->Index() == x.MainColumn && maxLevel > 0) cell += Colspan(maxLevel + 1);
      cell += QStringLiteral(" bgcolor=") + HtmlColor(plat::clBtnFace);
      cell += QStringLiteral(" width=\"%1px\">").arg(column->Width());
      cell += HtmlEscaped(column->Text()) + QStringLiteral("</th>");
      out.Add(cell);
      x.ColumnEvent(t.OnAfterColumnExport, column);
    }
    out.Add(QStringLiteral("</tr>"));
    out.AddNewLine();
    x.TreeEvent(t.OnAfterHeaderExport);
  }

  void NodeRow(PLazyNode Node) {
    out.Add(QStringLiteral(" <tr class=\"default\">"));
    out.AddNewLine();
    if (x.Columns.empty()) {
      Cell(Node, nullptr);
    } else {
      for (TLazyTreeColumn* column : x.Columns) Cell(Node, column);
    }
    x.AfterNode(Node);
    out.Add(QStringLiteral(" </tr>"));
    out.AddNewLine();
  }

  void Cell(PLazyNode Node, TLazyTreeColumn* Column) {
    const TColumnIndex index = Column ? Column->Index() : NoColumn;
    const uint32_t level = t.GetNodeLevel(Node);
    const QString height = QString::number(Node->NodeHeight);
    const bool fontChanged = x.PaintText(Node, index, ttNormal, true);
    const bool ownColor = Column && !Column->Options().Has(coParentColor);
    if (index == x.MainColumn && level > 0) IndentCells(level, height, Column, ownColor);
    QString cell = QStringLiteral(" <td class=\"normalborder\" ");
    if (fontChanged) cell += QStringLiteral("style=\"") + HtmlEscaped(FontDeclarations(*t.Canvas()->Font())) +
                             QStringLiteral("\" ");
    else cell += QLatin1Char(' ');
    cell += QStringLiteral("height=\"") + height + QStringLiteral("px\"");
    cell += Column ? AlignAttribute(Column->Alignment(), Column->BiDiMode())
                   : AlignAttribute(t.Alignment(), bdLeftToRight);
    if (index == x.MainColumn && maxLevel > 0 && level < maxLevel) cell += Colspan(maxLevel - level + 1);
    if (ownColor) cell += QStringLiteral(" bgcolor=") + HtmlColor(Column->Color());
    cell += QLatin1Char('>') + HtmlEscaped(x.TextWithStatic(Node, index)) + QStringLiteral("</td>");
    out.Add(cell);
  }

  void IndentCells(uint32_t Level, const QString& Height, TLazyTreeColumn* Column, bool OwnColor) {
    for (uint32_t i = 0; i < Level; ++i) {
      if (!OwnColor) {
        out.Add(i == 0 ? QStringLiteral(" <td height=\"") + Height +
                             QStringLiteral("px\" class=\"normalborder\">&nbsp;</td>")
                       : QStringLiteral(" <td>&nbsp;</td>"));
      } else {
        out.Add(QStringLiteral("<td class=\"noborder\" width=\"%1\" height=\"").arg(t.Indent()) + Height +
                QStringLiteral("px\" bgcolor=") + HtmlColor(Column->Color()) + QStringLiteral(">&nbsp;</td>"));
      }
    }
  }

  TStringTreeExporter x;
  TCustomLazyStringTree& t;
  TLSTTextSourceType source;
  TBufferedString out;
  QString cellPadding;
  uint32_t maxLevel = 0;
};

}  // namespace

QString TCustomLazyStringTree::ContentToHTML(TLSTTextSourceType Source, const QString& Caption) {
  return THtmlWriter(*this, Source).Run(Caption);
}

}  // namespace lazytree
