// Reading the cells of a worksheet part in one pass over its XML (xlsx_sheet.h).

#include <cstdlib>
#include <cstring>
#include <string>

#include "grid/data/office/sheet_values.h"
#include "grid/data/office/xlsx_sheet.h"
#include "grid/data/office/xml_stream.h"
#include "grid/data/office/zip_package.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/formatsettings.h"

namespace grid::office {

namespace {

[[noreturn]] void Incorrect() { throw plat::Exception(QStringLiteral("Incorrect XLS file")); }

bool ValidAddress(int Col, int Row) { return Col >= 1 && Col <= MaxSheetColumns && Row >= 1 && Row <= MaxSheetRows; }

bool IsDigit(char C) { return C >= '0' && C <= '9'; }

// A row number as the part writes it ("12"); anything else goes the general way of a number text.
int RowNumber(std::string_view V) {
  if (!V.empty() && V.size() <= 7 && V[0] != '0') {
    int n = 0;
    size_t i = 0;
    for (; i < V.size() && IsDigit(V[i]); ++i) n = n * 10 + (V[i] - '0');
    if (i == V.size()) return n;
  }
  return QString::fromUtf8(V.data(), static_cast<qsizetype>(V.size())).toInt();
}

// A cell address as the part writes it ("AB12"): false when it takes the general way.
bool PlainCellRef(std::string_view V, int& Col, int& Row) {
  size_t i = 0;
  int col = 0;
  while (i < V.size() && i < 3 && V[i] >= 'A' && V[i] <= 'Z') col = col * 26 + (V[i++] - 'A' + 1);
  if (i == 0 || i == V.size() || V[i] == '0' || V.size() - i > 7) return false;
  int row = 0;
  for (; i < V.size(); ++i) {
    if (!IsDigit(V[i])) return false;
    row = row * 10 + (V[i] - '0');
  }
  if (col > MaxSheetColumns || row > MaxSheetRows) return false;
  Col = col, Row = row;
  return true;
}

// The column and row of each cell element in a row; elements without an address follow their neighbour, and
// an address sets the row for the cells after it.
struct TAddressWalk {
  int Row = 0, Col = 0;
  void NextRow(bool HasNumber, std::string_view Number) {
    Row = !HasNumber || Number.empty() ? Row + 1 : RowNumber(Number);
    Col = 0;
  }
  void NextCell(bool HasRef, std::string_view Ref) {
    int col = 0, row = 0;
    if (!HasRef || Ref.empty()) {
      ++Col;
    } else if (PlainCellRef(Ref, col, row) ||
               ParseCellRef(QString::fromLatin1(Ref.data(), static_cast<qsizetype>(Ref.size())), col, row)) {
      Col = col;
      Row = row;
    } else {
      Col = 0;  // an address that names no cell of a sheet
    }
  }
};

QString Utf8(std::string_view S) { return QString::fromUtf8(S.data(), static_cast<qsizetype>(S.size())); }

// The number of a value as the grid shows it: the written digits when they read back the same, which is how
// numbers are mostly written, else through the double.
QString NumberValue(std::string_view V, int Style, const TCellContext& Context, QChar Decimal) {
  const bool date = Style >= 0 && Style < static_cast<int>(Context.DateStyles.size()) &&
                    Context.DateStyles[static_cast<size_t>(Style)];
  if (!date && V.size() <= 32) {
    char16_t buf[32];
    for (size_t i = 0; i < V.size(); ++i) buf[i] = static_cast<unsigned char>(V[i]);
    const QStringView view(buf, static_cast<qsizetype>(V.size()));
    if (IsCanonicalNumber(view, u'.')) {
      QString s = view.toString();
      if (Decimal != u'.') s.replace(u'.', Decimal);
      return s;
    }
  }
  bool ok = false;
  const double d = QString::fromUtf8(V.data(), static_cast<qsizetype>(V.size())).toDouble(&ok);
  if (!ok) Incorrect();
  if (date) return plat::DateTimeToStr(Context.Date1904 ? d + 1462 : d);
  return NumberText(d, Decimal);
}

// Whether a read text holds what may be one of the format's _xHHHH_ escapes.
bool MayHoldEscapes(std::string_view S) { return S.find("_x") != std::string_view::npos; }

QString TextOf(std::string_view S) { return MayHoldEscapes(S) ? DecodeEscapes(Utf8(S)) : Utf8(S); }

// A cell element as it is read: its attributes and the texts of its first value and first inline string.
struct TCellRead {
  enum TType { ctNumber, ctInline, ctShared, ctBoolean, ctText, ctError };
  TType Type = ctNumber;
  int Style = 0;
  bool HasValue = false, HasInline = false;
  std::string Value, Inline;

  void Start(TXmlStream& X) {
    Type = ctNumber;
    Style = 0;
    HasValue = HasInline = false;
    Value.clear();
    Inline.clear();
    std::string_view v;
    if (X.Attribute("t", v)) {
      if (v == "inlineStr") Type = ctInline;
      else if (v == "s") Type = ctShared;
      else if (v == "b") Type = ctBoolean;
      else if (v == "str" || v == "d") Type = ctText;
      else if (v == "e") Type = ctError;
      // any other type is read as a number, which it then has to be
    }
    if (X.Attribute("s", v)) Style = StyleIndex(v);
  }

  static int StyleIndex(std::string_view V) {
    if (!V.empty() && V.size() <= 9) {
      int n = 0;
      size_t i = 0;
      for (; i < V.size() && IsDigit(V[i]); ++i) n = n * 10 + (V[i] - '0');
      if (i == V.size()) return n;
    }
    return static_cast<int>(std::strtol(std::string(V).c_str(), nullptr, 10));
  }

  // The cell's text; false when it holds none (or an error value).
  bool Text(const TCellContext& Context, QChar Decimal, QString& Out) const {
    if (Type == ctInline) {
      if (!HasInline) return false;
      Out = TextOf(Inline);
      return true;
    }
    if (!HasValue || Type == ctError) return false;
    switch (Type) {
      case ctShared: {
        bool ok = false;
        const int index = IndexValue(ok);
        if (!ok || index < 0 || index >= static_cast<int>(Context.SharedStrings.size())) Incorrect();
        Out = Context.SharedStrings[static_cast<size_t>(index)];
        break;
      }
      case ctBoolean: Out = Utf8(Value).trimmed() == u"1" ? QStringLiteral("True") : QStringLiteral("False"); break;
      case ctText: Out = TextOf(Value); break;
      default: Out = NumberValue(Value, Style, Context, Decimal); break;
    }
    return true;
  }

  int IndexValue(bool& Ok) const {
    if (!Value.empty() && Value.size() <= 9 && (Value[0] != '0' || Value.size() == 1)) {
      int n = 0;
      size_t i = 0;
      for (; i < Value.size() && IsDigit(Value[i]); ++i) n = n * 10 + (Value[i] - '0');
      if (i == Value.size()) return Ok = true, n;
    }
    return Utf8(Value).toInt(&Ok);
  }
};

// A first guess of the number of cells from the sheet's dimension, bounded by what the part's size can hold.
size_t CellsToReserve(std::string_view Ref, qint64 PartSize) {
  const size_t colon = Ref.find(':');
  if (colon == std::string_view::npos) return 0;
  int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
  if (!PlainCellRef(Ref.substr(0, colon), c1, r1) || !PlainCellRef(Ref.substr(colon + 1), c2, r2)) return 0;
  if (c2 < c1 || r2 < r1) return 0;
  const qint64 area = qint64(c2 - c1 + 1) * (r2 - r1 + 1);
  return static_cast<size_t>(std::min<qint64>(area, PartSize / 16 + 16));
}

}  // namespace

std::vector<TSheetCell> ReadSheetCells(TPartReader& Sheet, const TCellContext& Context) {
  TXmlStream x(Sheet, [](const QString&) { Incorrect(); });
  const QChar decimal = plat::FormatSettings.DecimalSeparator;
  std::vector<TSheetCell> cells;
  TAddressWalk at;
  TCellRead cell;
  // Where the reader is: the sheet's first sheetData (depth 2), a row in it (3), a cell in the row (4), the
  // cell's first value (5) or first inline string (5), a text of that string (6), a run of it (6) and the
  // run's first text (7).
  bool dataSeen = false, inData = false, inRow = false, inCell = false, inValue = false, inInline = false;
  bool inInlineText = false, inRun = false, runTextSeen = false, inRunText = false;
  for (TXmlStream::TToken t = x.Next(); t != TXmlStream::tkEnd; t = x.Next()) {
    const int depth = x.Depth();
    if (t == TXmlStream::tkText) {
      if (inValue && depth == 5) cell.Value.append(x.Text());
      else if ((inInlineText && depth == 6) || (inRunText && depth == 7)) cell.Inline.append(x.Text());
      continue;
    }
    if (t == TXmlStream::tkStart) {
      const std::string_view name = x.LocalName();
      switch (depth) {
        case 2:
          if (name == "sheetData" && !dataSeen) dataSeen = inData = true;
          else if (name == "dimension" && cells.empty()) {
            std::string_view ref;
            if (x.Attribute("ref", ref)) cells.reserve(CellsToReserve(ref, Sheet.ClaimedSize()));
          }
          break;
        case 3:
          if (inData && name == "row") {
            std::string_view r;
            const bool has = x.Attribute("r", r);
            at.NextRow(has, r);
            inRow = true;
          }
          break;
        case 4:
          if (inRow && name == "c") {
            std::string_view ref;
            const bool has = x.Attribute("r", ref);
            at.NextCell(has, ref);
            if (!ValidAddress(at.Col, at.Row)) Incorrect();
            cell.Start(x);
            inCell = true;
          }
          break;
        case 5:
          if (!inCell) break;
          if (name == "v" && !cell.HasValue) inValue = cell.HasValue = true;
          else if (name == "is" && !cell.HasInline) inInline = cell.HasInline = true;
          break;
        case 6:
          if (!inInline) break;
          if (name == "t") inInlineText = true;
          else if (name == "r") inRun = true, runTextSeen = false;
          break;
        case 7:
          if (inRun && name == "t" && !runTextSeen) inRunText = runTextSeen = true;
          break;
        default: break;
      }
      continue;
    }
    switch (depth) {  // an end tag
      case 2: inData = false; break;
      case 3: inRow = false; break;
      case 4:
        if (inCell) {
          TSheetCell c{at.Col, at.Row, {}};
          if (cell.Text(Context, decimal, c.Text)) cells.push_back(std::move(c));
        }
        inCell = false;
        break;
      case 5: inValue = inInline = false; break;
      case 6: inInlineText = inRun = false; break;
      case 7: inRunText = false; break;
      default: break;
    }
  }
  return cells;
}

std::vector<TSheetCell> ReadSheetCells(const QByteArray& Xml, const TCellContext& Context) {
  TBytesPartReader part(Xml);
  return ReadSheetCells(part, Context);
}

std::vector<QString> ReadSharedStrings(TPartReader& Part, const std::function<void(const QString&)>& Fail) {
  TXmlStream x(Part, Fail);
  std::vector<QString> strings;
  std::string text;
  // An item (depth 2) holds texts (3) and runs (3) whose first text (4) counts.
  bool inItem = false, inText = false, inRun = false, runTextSeen = false, inRunText = false;
  for (TXmlStream::TToken t = x.Next(); t != TXmlStream::tkEnd; t = x.Next()) {
    const int depth = x.Depth();
    if (t == TXmlStream::tkText) {
      if ((inText && depth == 3) || (inRunText && depth == 4)) text.append(x.Text());
      continue;
    }
    const std::string_view name = x.LocalName();
    if (t == TXmlStream::tkStart) {
      if (depth == 2 && name == "si") inItem = true, text.clear();
      else if (depth == 3 && inItem && name == "t") inText = true;
      else if (depth == 3 && inItem && name == "r") inRun = true, runTextSeen = false;
      else if (depth == 4 && inRun && name == "t" && !runTextSeen) inRunText = runTextSeen = true;
      continue;
    }
    if (depth == 2 && inItem) {
      strings.push_back(TextOf(text));
      inItem = false;
    } else if (depth == 3) {
      inText = inRun = false;
    } else if (depth == 4) {
      inRunText = false;
    }
  }
  return strings;
}

}  // namespace grid::office
