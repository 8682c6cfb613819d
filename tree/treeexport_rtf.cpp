// The string tree's RTF export: one table row definition, the header row and a row per node, each text with
// the font, colour and size words it needs, behind a prologue with the font and colour tables.

#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/graphics/canvas.h"
#include "tree/treecolumns.h"
#include "tree/treeexport.h"

namespace lazytree {

namespace {

// Pixels to twips at the screen's resolution, halves to even.
int Twips(int Pixels, int PixelsPerInch) {
  return static_cast<int>(std::nearbyint(static_cast<double>(Pixels) * 1440.0 / PixelsPerInch));
}

class TRtfWriter {
 public:
  TRtfWriter(TCustomLazyStringTree& Tree, TLSTTextSourceType Source) : x(Tree, etRTF), t(Tree), source(Source) {}

  QByteArray Run() {
    out.Add("\\uc1\\trowd\\trgaph70");
    CellBoundaries();
    if (!x.Columns.empty()) HeaderRow();
    x.ForEachNode(source, true, [&](PLazyNode n) {
      if (x.BeforeNode(n)) NodeRow(n);
    });
    out.Add("\\pard\\par");
    return Prologue() + out.AsString() + '}';
  }

 private:
  void CellBoundaries() {
    const int ppi = t.Font()->PixelsPerInch();
    if (x.Columns.empty()) {
      out.Add("\\cellx" + QByteArray::number(Twips(t.ClientWidth(), ppi)));
      return;
    }
    int right = 0;
    for (TLazyTreeColumn* column : x.Columns) {
      right += column->Width();
      out.Add("\\cellx" + QByteArray::number(Twips(right, ppi)));
    }
  }

  static QByteArray Alignment(plat::TAlignment A, TBiDiMode BiDiMode, bool WriteLeft) {
    bool rtl = false;
    const plat::TAlignment a = TStringTreeExporter::Mirrored(A, BiDiMode, rtl);
    if (a == plat::taRightJustify) return "\\qr";
    if (a == plat::taCenter) return "\\qc";
    return WriteLeft ? "\\ql" : "";
  }

  void HeaderRow() {
    x.TreeEvent(t.OnBeforeHeaderExport);
    out.Add("\\pard\\intbl");
    for (TLazyTreeColumn* column : x.Columns) {
      x.ColumnEvent(t.OnBeforeColumnExport, column);
      out.Add(Alignment(column->CaptionAlignment(), column->BiDiMode(), true));
      WriteText(column->Text(), *t.Header().Font());
      out.Add("\\cell");
      x.ColumnEvent(t.OnAfterColumnExport, column);
    }
    out.Add("\\row");
    x.TreeEvent(t.OnAfterHeaderExport);
  }

  void NodeRow(PLazyNode Node) {
    if (x.Columns.empty()) {
      Cell(Node, nullptr);
    } else {
      for (TLazyTreeColumn* column : x.Columns) Cell(Node, column);
    }
    out.Add("\\row");
    out.AddNewLine();
    x.AfterNode(Node);
  }

  void Cell(PLazyNode Node, TLazyTreeColumn* Column) {
    const TColumnIndex index = Column ? Column->Index() : NoColumn;
    const TLSTGetCellTextEventArgs texts = x.Texts(Node, index);
    out.Add("\\pard\\intbl");
    out.Add(Column ? Alignment(Column->Alignment(), Column->BiDiMode(), false)
                   : Alignment(t.Alignment(), bdLeftToRight, false));
    x.PaintText(Node, index, ttNormal, true);
    const plat::TFont& font = *t.Canvas()->Font();
    const uint32_t level = t.GetNodeLevel(Node);
    if (index == x.MainColumn && level > 0) out.Add(QByteArray("\\tab").repeated(level) + ' ');
    WriteText(texts.CellText, font);
    if (!texts.StaticText.isEmpty() && t.StringOptions().Has(toShowStaticText)) {
      x.PaintText(Node, index, ttStatic, false);
      WriteText(QLatin1Char(' ') + texts.StaticText, *t.Canvas()->Font());
    }
    out.Add("\\cell");
  }

  // A text with the style, font, colour and size words it needs; nothing at all for an empty text.
  void WriteText(const QString& Text, const plat::TFont& Font) {
    if (Text.isEmpty()) return;
    const plat::TFontStyles style = Font.Style();
    if (style.Contains(plat::fsUnderline)) out.Add("\\ul");
    if (style.Contains(plat::fsItalic)) out.Add("\\i");
    if (style.Contains(plat::fsBold)) out.Add("\\b");
    const QString name = Font.Name().isEmpty() ? Font.QtFont().family() : Font.Name();
    Select(fonts, name, currentFont, "\\f", 0);
    Select(colors, Font.Color(), currentColor, "\\cf", 1);
    if (Font.Size() != currentSize) {
      out.Add("\\fs" + QByteArray::number(2 * Font.Size()));
      currentSize = Font.Size();
    }
    out.Add(" ");
    out.Add(RtfEscapedText(Text));
    if (style.Contains(plat::fsUnderline)) out.Add("\\ul0");
    if (style.Contains(plat::fsItalic)) out.Add("\\i0");
    if (style.Contains(plat::fsBold)) out.Add("\\b0");
  }

  // Adds Value to its table on first use and writes Word with its index (+ Bias) when it is not current.
  template <class T>
  void Select(std::vector<T>& Table, const T& Value, int& Current, const char* Word, int Bias) {
    int index = static_cast<int>(std::find(Table.begin(), Table.end(), Value) - Table.begin());
    if (index == static_cast<int>(Table.size())) Table.push_back(Value);
    if (index == Current) return;
    out.Add(Word + QByteArray::number(index + Bias));
    Current = index;
  }

  QByteArray Prologue() const {
    QByteArray p = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1043{\\fonttbl";
    for (std::size_t i = 0; i < fonts.size(); ++i)
      p += "{\\f" + QByteArray::number(static_cast<int>(i)) + ' ' + RtfEscapedName(fonts[i]) + ";}";
    p += "}{\\colortbl;";
    for (plat::TColor color : colors) {
      const uint32_t rgb = plat::ColorToRGB(color);
      p += "\\red" + QByteArray::number(rgb & 0xFF) + "\\green" + QByteArray::number((rgb >> 8) & 0xFF) +
           "\\blue" + QByteArray::number((rgb >> 16) & 0xFF) + ';';
    }
    p += '}';
    p += QLocale().measurementSystem() == QLocale::MetricSystem ? "\\paperw16840\\paperh11907"
                                                                : "\\paperw15840\\paperh12240";
    p += "\\margl720\\margr720\\margt720\\margb720";
    return p;
  }

  TStringTreeExporter x;
  TCustomLazyStringTree& t;
  TLSTTextSourceType source;
  TBufferedRawByteString out;
  std::vector<QString> fonts;
  std::vector<plat::TColor> colors;
  int currentFont = -1, currentColor = -1, currentSize = -1;
};

}  // namespace

QByteArray TCustomLazyStringTree::ContentToRTF(TLSTTextSourceType Source) {
  return TRtfWriter(*this, Source).Run();
}

}  // namespace lazytree
