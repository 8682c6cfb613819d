#include "grid/data/office/xlsx_sheet.h"

#include <cstdlib>
#include <cstring>
#include <map>

#include "grid/data/office/office_xml.h"
#include "grid/data/office/sheet_values.h"
#include "grid/griderror.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/formatsettings.h"
#include "platform/xml/xmldocument.h"

namespace grid::office {

namespace {

using plat::TXMLAttribute;
using plat::TXMLDocument;
using plat::TXMLNode;

// The column and row of each cell element in a row; elements without an address follow their neighbour.
struct TAddressWalk {
  int Row = 0, Col = 0;
  void NextRow(const TXMLNode& RowNode) {
    const QString r = RowNode.Attribute("r");
    Row = r.isEmpty() ? Row + 1 : r.toInt();
    Col = 0;
  }
  void NextCell(const char* Ref) {
    int col = 0, row = 0;
    if (!Ref || !*Ref) {
      ++Col;
    } else if (ParseCellRef(QString::fromLatin1(Ref), col, row)) {
      Col = col;
      Row = row;
    } else {
      Col = 0;  // an address that names no cell of a sheet
    }
  }
};

}  // namespace

int ActiveCellRow(const QByteArray& Xml) {
  TXMLDocument doc;
  if (!doc.LoadFromBytes(Xml)) return 1;
  const TXMLNode view = ChildByLocal(ChildByLocal(doc.DocumentElement(), "sheetViews"), "sheetView");
  for (TXMLNode s = view.FirstChildElement(); s; s = s.NextSiblingElement()) {
    int col = 0, row = 0;
    if (IsLocal(s, "selection") && ParseCellRef(s.Attribute("activeCell"), col, row)) return row;
  }
  return 1;
}

// ---- writing

namespace {

// The dimension of a block: "A1:C10", or "A1" for one cell or none.
QString BlockRef(int FirstRow, int LastRow, int LastCol) {
  const QString first = CellRef(1, FirstRow);
  if (LastRow <= FirstRow && LastCol <= 1) return first;
  return first + u':' + CellRef(LastCol, LastRow);
}

}  // namespace

QByteArray NewSheetXml(const TCellBlock& Block) {
  const QChar decimal = plat::FormatSettings.DecimalSeparator;
  QByteArray out;
  out.reserve(static_cast<qsizetype>(Block.Texts.size()) * 24 + 512);
  out.append(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
             "\n"
             R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)");
  out.append(R"(<dimension ref=")");
  out.append(BlockRef(Block.FirstRow, Block.FirstRow + Block.Rows - 1, Block.Cols).toLatin1());
  out.append(R"("/><sheetData>)");
  std::vector<QByteArray> letters(static_cast<size_t>(Block.Cols));
  for (int c = 0; c < Block.Cols; ++c) AppendColumnLetters(letters[static_cast<size_t>(c)], c + 1);
  QByteArray number;
  for (int r = 0; r < Block.Rows; ++r) {
    const QByteArray row = QByteArray::number(Block.FirstRow + r);
    bool open = false;
    for (int c = 0; c < Block.Cols; ++c) {
      const QString& text = Block.At(r, c);
      if (text.isEmpty()) continue;
      if (!open) {
        out.append(R"(<row r=")").append(row).append(R"(">)");
        open = true;
      }
      out.append(R"(<c r=")").append(letters[static_cast<size_t>(c)]).append(row);
      if (IsCanonicalNumber(text, decimal, &number)) {
        out.append(R"("><v>)").append(number).append("</v></c>");
      } else {
        out.append(NeedsPreserve(text) ? R"(" t="inlineStr"><is><t xml:space="preserve">)"
                                       : R"(" t="inlineStr"><is><t>)");
        AppendXmlText(out, text);
        out.append("</t></is></c>");
      }
    }
    if (open) out.append("</row>");
  }
  out.append("</sheetData></worksheet>");
  return out;
}

namespace {

// Writes one text into a cell element, replacing what it held; keeps its style.
void SetCellText(TXMLNode Cell, const QString& Prefix, const QString& Text, QChar Decimal) {
  Cell.ClearChildNodes();
  for (const char* a : {"t", "cm", "vm"}) Cell.RemoveAttribute(a);
  QByteArray number;
  if (IsCanonicalNumber(Text, Decimal, &number)) {
    Cell.AddChild(Prefix + QStringLiteral("v")).SetText(QString::fromLatin1(number));
    return;
  }
  Cell.SetAttribute("t", "inlineStr");
  TXMLNode t = Cell.AddChild(Prefix + QStringLiteral("is")).AddChild(Prefix + QStringLiteral("t"));
  if (NeedsPreserve(Text)) t.SetAttribute("xml:space", "preserve");
  t.SetText(FormatEscapes(Text));
}

// The row elements by row number.
std::map<int, TXMLNode> RowsOf(const TXMLNode& Data) {
  std::map<int, TXMLNode> rows;
  TAddressWalk at;
  for (TXMLNode row = Data.FirstChildElement(); row; row = row.NextSiblingElement()) {
    if (!IsLocal(row, "row")) continue;
    at.NextRow(row);
    rows[at.Row] = row;
  }
  return rows;
}

std::map<int, TXMLNode> CellsOf(const TXMLNode& Row, int RowNumber) {
  std::map<int, TXMLNode> cells;
  TAddressWalk at;
  at.Row = RowNumber;
  for (TXMLNode c = Row.FirstChildElement(); c; c = c.NextSiblingElement()) {
    if (!IsLocal(c, "c")) continue;
    const QByteArray ref = c.Attribute("r").toLatin1();
    at.NextCell(ref.constData());
    cells[at.Col] = c;
  }
  return cells;
}

// The element that follows key K in a map of elements (null at the end).
TXMLNode NodeAfter(const std::map<int, TXMLNode>& M, int K) {
  const auto it = M.upper_bound(K);
  return it == M.end() ? TXMLNode() : it->second;
}

void MergeRow(TXMLNode Row, int RowNumber, const TCellBlock& Block, int R, const QString& Prefix) {
  const QChar decimal = plat::FormatSettings.DecimalSeparator;
  std::map<int, TXMLNode> cells = CellsOf(Row, RowNumber);
  Row.RemoveAttribute("spans");  // a hint of the cells' extent that the new cells may break
  for (int c = 1; c <= Block.Cols; ++c) {
    const QString& text = Block.At(R, c - 1);
    const auto it = cells.find(c);
    if (text.isEmpty()) {
      if (it == cells.end()) continue;
      if (it->second.HasAttribute("s")) {
        it->second.ClearChildNodes();
        for (const char* a : {"t", "cm", "vm"}) it->second.RemoveAttribute(a);
      } else {
        Row.RemoveChild(it->second);
        cells.erase(it);
      }
      continue;
    }
    TXMLNode cell = it != cells.end() ? it->second : Row.InsertChildBefore(Prefix + QStringLiteral("c"), NodeAfter(cells, c));
    cell.SetAttribute("r", CellRef(c, RowNumber));
    cells[c] = cell;
    SetCellText(cell, Prefix, text, decimal);
  }
}

void WidenDimension(TXMLNode Root, const TCellBlock& Block) {
  TXMLNode dim = ChildByLocal(Root, "dimension");
  if (!dim) return;
  int c1 = 1, r1 = Block.FirstRow, c2 = Block.Cols, r2 = Block.FirstRow + Block.Rows - 1;
  const QStringList parts = dim.Attribute("ref").split(u':');
  int col = 0, row = 0;
  if (ParseCellRef(parts.value(0), col, row)) c1 = std::min(c1, col), r1 = std::min(r1, row);
  if (ParseCellRef(parts.value(parts.size() - 1), col, row)) c2 = std::max(c2, col), r2 = std::max(r2, row);
  dim.SetAttribute("ref", r1 == r2 && c1 == c2 ? CellRef(c1, r1) : CellRef(c1, r1) + u':' + CellRef(c2, r2));
}

}  // namespace

QByteArray MergeIntoSheet(const QByteArray& Xml, const TCellBlock& Block) {
  TXMLDocument doc;
  QString error;
  if (!doc.LoadFromBytes(Xml, &error)) throw EExtGridError(QStringLiteral("The worksheet cannot be read: ") + error);
  const TXMLNode root = doc.DocumentElement();
  TXMLNode data = ChildByLocal(root, "sheetData");
  if (!IsLocal(root, "worksheet") || !data) throw EExtGridError(QStringLiteral("The sheet holds no cells"));
  const QString prefix = PrefixOf(data);
  std::map<int, TXMLNode> rows = RowsOf(data);
  for (int r = 0; r < Block.Rows; ++r) {
    const int number = Block.FirstRow + r;
    auto it = rows.find(number);
    if (it == rows.end()) {
      bool any = false;
      for (int c = 0; c < Block.Cols && !any; ++c) any = !Block.At(r, c).isEmpty();
      if (!any) continue;
      TXMLNode row = data.InsertChildBefore(prefix + QStringLiteral("row"), NodeAfter(rows, number));
      row.SetAttribute("r", QString::number(number));
      it = rows.emplace(number, row).first;
    }
    MergeRow(it->second, number, Block, r, prefix);
  }
  WidenDimension(root, Block);
  return doc.SaveToBytes();
}

}  // namespace grid::office
