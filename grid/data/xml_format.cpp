// Flat XML exchange of the grid (xml_format.h).

#include "grid/data/xml_format.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>

#include "grid/data/data_files.h"
#include "grid/data/grid_text_format.h"
#include "grid/data/text_codec.h"
#include "grid/griderror.h"
#include "grid/model/cellgrid.h"
#include "platform/xml/xmldocument.h"

namespace grid {

namespace {

const QString kCRLF = QStringLiteral("\r\n");

bool IsNameStart(QChar c) { return c.isLetter() || c == u'_' || c == u':'; }
bool IsNameChar(QChar c) { return IsNameStart(c) || c.isDigit() || c == u'-' || c == u'.'; }

void CheckName(const QString& Name) {
  const bool ok = !Name.isEmpty() && IsNameStart(Name.front()) && std::all_of(Name.begin(), Name.end(), IsNameChar);
  if (!ok) throw EExtGridError(QStringLiteral("Invalid XML element name \"%1\"").arg(Name));
}

// A character XML 1.0 cannot carry, not even as a reference.
bool IsForbidden(QChar c) {
  const char16_t u = c.unicode();
  return (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0xFFFE || u == 0xFFFF;
}

QString EscapeText(const QString& S, int ACol, int ARow) {
  QString r;
  r.reserve(S.size() + 8);
  for (QChar c : S) {
    switch (c.unicode()) {
      case u'&': r += QLatin1String("&amp;"); break;
      case u'<': r += QLatin1String("&lt;"); break;
      case u'>': r += QLatin1String("&gt;"); break;
      case u'"': r += QLatin1String("&quot;"); break;
      // A reader turns a CR of the text into a line feed; the reference keeps it.
      case u'\r': r += QLatin1String("&#13;"); break;
      default:
        if (IsForbidden(c))
          throw EExtGridError(QStringLiteral("Cell [%1, %2] holds a character XML cannot carry").arg(ACol).arg(ARow));
        r += c;
    }
  }
  return r;
}

QString Reference(char32_t Code) { return QStringLiteral("&#") + QString::number(quint32(Code)) + u';'; }

// The text in the named encoding; what it cannot hold as character references.
QByteArray Encode(const QString& Text, const QString& Encoding) {
  const QString e = Encoding.trimmed().toUpper();
  if (e == QLatin1String("UTF-8") || e == QLatin1String("UTF8")) return Text.toUtf8();
  int limit = -1;
  if (e == QLatin1String("ISO-8859-1") || e == QLatin1String("LATIN1") || e == QLatin1String("ISO8859-1"))
    limit = 255;
  else if (e == QLatin1String("US-ASCII") || e == QLatin1String("ASCII"))
    limit = 127;
  const QByteArray codePage = e.toLatin1();
  QHash<char32_t, bool> known;
  const auto fits = [&](char32_t code) {
    if (code < 128) return true;
    if (limit >= 0) return code <= char32_t(limit);
    auto it = known.find(code);
    if (it != known.end()) return *it;
    const QString one = QString::fromUcs4(&code, 1);
    bool ok = false;
    try {
      ok = DecodeCodePage(EncodeCodePage(one, codePage.constData()), codePage.constData()) == one;
    } catch (const plat::Exception&) {
      throw EExtGridError(QStringLiteral("Unknown XML encoding \"%1\"").arg(Encoding));
    }
    known.insert(code, ok);
    return ok;
  };
  QString safe;
  safe.reserve(Text.size());
  for (qsizetype i = 0; i < Text.size(); ++i) {
    const QChar c = Text[i];
    char32_t code = c.unicode();
    qsizetype len = 1;
    if (c.isHighSurrogate() && i + 1 < Text.size() && Text[i + 1].isLowSurrogate())
      code = QChar::surrogateToUcs4(c, Text[i + 1]), len = 2;
    if (fits(code)) safe += Text.mid(i, len);
    else safe += Reference(code);
    i += len - 1;
  }
  if (limit >= 0) return safe.toLatin1();
  return EncodeCodePage(safe, codePage.constData());
}

}  // namespace

QByteArray XMLBytes(TGridDataHost& Host, const TXMLExportOptions& Options) {
  CheckName(Options.ListDescr);
  CheckName(Options.RecordDescr);
  for (const QString& f : Options.FieldDescr) CheckName(f);
  const TGridDataOptions o = Host.DataOptions();
  const TSaveRange range = SaveRangeOf(Host, o);
  const int hidden = o.SaveHiddenCells ? Host.NumHiddenColumns() : 0;
  QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"") + EscapeText(Options.Encoding, -1, -1) +
                 QStringLiteral("\" ?>") + kCRLF;
  text += u'<' + Options.ListDescr + u'>' + kCRLF;
  TExportRun run(Host, range.StartRow);
  TProgress progress(Host);
  const TCellGrid& store = Host.CellStore();
  for (int r = range.StartRow; r <= range.EndRow; ++r) {
    run.NextRow(r);
    text += u'<' + Options.RecordDescr + u'>' + kCRLF;
    for (int j = range.StartCol; j <= range.EndCol + hidden; ++j) {
      const int k = o.SaveHiddenCells ? j : Host.DisplToRealCol(j);
      if (store.IsMergedNonBaseCell(k, r)) continue;
      QString t;
      Host.SaveCell(k, r, t);
      if (t.isEmpty() && !Options.ExportEmptyCells) continue;
      if (t.isEmpty() && o.QuoteEmptyCells) t = QStringLiteral("\"\"");
      const int f = j - range.StartCol;
      const QString tag = f < Options.FieldDescr.size() ? Options.FieldDescr[f] : QStringLiteral("FIELD%1").arg(f);
      text += u'<' + tag + u'>' + EscapeText(t, k, r) + QStringLiteral("</") + tag + u'>' + kCRLF;
    }
    text += QStringLiteral("</") + Options.RecordDescr + u'>' + kCRLF;
    progress.Report(r, std::max(1, range.EndRow - range.StartRow));
  }
  text += QStringLiteral("</") + Options.ListDescr + u'>' + kCRLF;
  run.Finish();
  return Encode(text, Options.Encoding);
}

void SaveToXML(TGridDataHost& Host, const QString& FileName, const TXMLExportOptions& Options) {
  const QByteArray bytes = XMLBytes(Host, Options);
  try {
    WriteWholeFile(FileName, bytes);
  } catch (const plat::Exception&) {
    throw EExtGridError(QStringLiteral("Cannot Create file ") + FileName);
  }
}

namespace {

// The walk of the import over the children of the document element.
class TXMLWalk {
 public:
  TXMLWalk(TGridDataHost& Host, bool LevelToRow, bool LoadFieldDescr)
      : FHost(Host), FLevelToRow(LevelToRow), FLoadFieldDescr(LoadFieldDescr) {
    const TGridDataOptions o = Host.DataOptions();
    FSavesFixedRows = o.SavesFixedRows();
    FQuoteEmpty = o.QuoteEmptyCells;
    sc = SaveRangeOf(Host, o).StartCol;
    rs = FSavesFixedRows && !LoadFieldDescr ? 0 : Host.FixedRows();
    mc = sc, mr = rs;
  }

  void Run(const plat::TXMLNode& Root) {
    const plat::TXMLNodeList children = Root.ChildNodes();
    for (int i = 0; i < children.Count(); ++i) {
      co = 0, lv = 1;
      if (FLevelToRow && i == 0 && children[i].AttributeCount() == 0) ro = -1;
      Walk(children[i], 1);
      if (!FLevelToRow) ++ro;
    }
    FHost.SetColCount(mc + 1);
    FHost.SetRowCount(mr + 1);
  }

 private:
  static QString Unescape(QString S) { return S.replace(QLatin1String("$amp;"), QLatin1String("&")); }

  void Grow() {
    if (co + sc >= MaxLoadColCount || ro + rs >= MaxLoadRowCount)
      throw EExtGridError(QStringLiteral("XML file too large for the grid"));
    if (FHost.ColCount() <= co + sc) FHost.SetColCount(co + sc + 1);
    if (FHost.RowCount() <= ro + rs) FHost.SetRowCount(ro + rs + 1);
  }

  void Store(const QString& Text) {
    if (ro + rs < 0) return;  // a first record moved above the grid by LevelToRow
    FHost.LoadCell(co + sc, ro + rs, Text);
    mc = std::max(mc, co + sc);
    mr = std::max(mr, ro + rs);
  }

  bool HeaderFree() const { return FSavesFixedRows && FHost.CellStore().GridCellRef(co + sc, 0).isEmpty(); }

  void Walk(const plat::TXMLNode& N, int Depth) {
    if (Depth > MaxXMLDepth) throw EExtGridError(QStringLiteral("XML file nested too deeply"));
    bool moved = false;
    // LevelToRow lifts the first record above row 0 for the row step of its children; a record without
    // children starts row 0 itself.
    if (ro + rs < 0 && !(N.ChildNodes().Count() > 1)) ro = -rs;
    if (N.IsElement()) {
      const int count = N.AttributeCount();
      for (int a = 0; a < count; ++a) {
        Grow();
        if (ro + rs >= 0 && HeaderFree()) FHost.LoadCell(co + sc, 0, N.AttributeName(a));
        Store(Unescape(N.AttributeValue(a)));
        ++co;
      }
      if (FLevelToRow && count > 0) ++ro, co = lv, moved = true;
    }
    const plat::TXMLNodeList children = N.ChildNodes();
    if (children.Count() > 1) {
      if (FLevelToRow && !moved) ++ro, co = 0;
      ++lv;
      for (const plat::TXMLNode& c : children) Walk(c, Depth + 1);
    } else if (children.Count() == 1) {
      Grow();
      if (ro + rs >= 0 && HeaderFree() && FLoadFieldDescr) FHost.LoadCell(co + sc, 0, N.NodeName());
      QString t = Unescape(N.DescendantText());
      if (FQuoteEmpty && t == QLatin1String("\"\"")) t.clear();
      Store(t);
      ++co;
    } else {
      // An empty element empties its cell, when the cell is inside the grid; it does not grow the grid.
      if (co + sc < FHost.ColCount() && ro + rs < FHost.RowCount() && ro + rs >= 0)
        FHost.LoadCell(co + sc, ro + rs, QString());
      ++co;
    }
  }

  TGridDataHost& FHost;
  bool FLevelToRow, FLoadFieldDescr, FSavesFixedRows = false, FQuoteEmpty = true;
  int sc = 0, rs = 0, co = 0, ro = 0, lv = 1, mc = 0, mr = 0;
};

void LoadDocument(TGridDataHost& Host, const plat::TXMLDocument& Doc, bool LevelToRow, bool LoadFieldDescr) {
  THostUpdate update(Host);
  try {
    TXMLWalk(Host, LevelToRow, LoadFieldDescr).Run(Doc.DocumentElement());
  } catch (...) {
    NotifyCellsLoaded(Host);
    throw;
  }
  NotifyCellsLoaded(Host);
}

[[noreturn]] void ParseError(const QString& Error, int Code) {
  static const QRegularExpression line(QStringLiteral("line (\\d+)"));
  const QRegularExpressionMatch m = line.match(Error);
  const QString at = m.hasMatch() ? m.captured(1) : QStringLiteral("0");
  throw plat::Exception(QStringLiteral("XMLDOM Parsing error %1 on line %2").arg(Code).arg(at));
}

// Loads the bytes; a declared single-byte code page the document does not read itself is decoded first.
bool LoadBytes(plat::TXMLDocument& Doc, const QByteArray& Bytes, QString& Error) {
  static const QRegularExpression declared(QStringLiteral("^<\\?xml[^>]*encoding\\s*=\\s*[\"']([A-Za-z0-9._-]+)[\"']"));
  const QRegularExpressionMatch m = declared.match(QString::fromLatin1(Bytes.left(200)));
  if (m.hasMatch()) {
    static const QStringList native = {"UTF-8", "UTF8", "ISO-8859-1", "LATIN1", "US-ASCII", "ASCII", "UTF-16"};
    const QString e = m.captured(1).toUpper();
    if (!native.contains(e)) {
      QString text;
      try {
        text = DecodeCodePage(Bytes, e.toLatin1().constData());
      } catch (const plat::Exception&) {
        return Doc.LoadFromBytes(Bytes, &Error);
      }
      return Doc.LoadFromString(text, &Error);
    }
  }
  return Doc.LoadFromBytes(Bytes, &Error);
}

}  // namespace

void LoadFromXML(TGridDataHost& Host, const QString& FileName, bool LevelToRow, bool LoadFieldDescr) {
  if (!QFileInfo(FileName).isFile()) throw plat::Exception(QStringLiteral("XML file not found"));
  QByteArray bytes;
  try {
    bytes = ReadWholeFile(FileName);
  } catch (const plat::Exception&) {
    throw plat::Exception(QStringLiteral("XMLDOM Parsing error 2 on line 0"));
  }
  if (bytes.size() > plat::MaxXmlFileSize) throw plat::Exception(QStringLiteral("XMLDOM Parsing error 2 on line 0"));
  LoadXMLBytes(Host, bytes, LevelToRow, LoadFieldDescr);
}

void LoadXMLBytes(TGridDataHost& Host, const QByteArray& Bytes, bool LevelToRow, bool LoadFieldDescr) {
  plat::TXMLDocument doc;
  QString error;
  if (!LoadBytes(doc, Bytes, error)) ParseError(error, 1);
  LoadDocument(Host, doc, LevelToRow, LoadFieldDescr);
}

}  // namespace grid
