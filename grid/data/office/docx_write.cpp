// Word-processor export of the grid (office_exchange.h): the grid as a table of a .docx document.

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>

#include "grid/data/data_files.h"
#include "grid/data/grid_data_host.h"
#include "grid/data/office/office_convert.h"
#include "grid/data/office/office_exchange.h"
#include "grid/data/office/office_xml.h"
#include "grid/data/office/sheet_values.h"
#include "grid/data/office/xlsx_workbook.h"
#include "grid/data/office/zip_package.h"
#include "grid/griderror.h"
#include "platform/xml/xmldocument.h"

namespace grid {

namespace {

using namespace office;
using plat::TXMLDocument;
using plat::TXMLNode;

const char* const NewContentTypes =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>)"
    R"(</Types>)";
const char* const NewRootRels =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>)"
    R"(</Relationships>)";
// An A4 page with 2 cm margins holding one empty paragraph, as a new document starts.
const char* const NewDocument =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body><w:p/>)"
    R"(<w:sectPr><w:pgSz w:w="11906" w:h="16838"/>)"
    R"(<w:pgMar w:top="1134" w:right="1134" w:bottom="1134" w:left="1134" w:header="709" w:footer="709" w:gutter="0"/>)"
    R"(</w:sectPr></w:body></w:document>)";

// Screen pixels at 96 dots per inch in twentieths of a point.
constexpr int TwipsPerPixel = 15;

class TDocxDocument {
 public:
  void CreateNew() {
    FPackage.Write(QStringLiteral("[Content_Types].xml"), NewContentTypes);
    FPackage.Write(QStringLiteral("_rels/.rels"), NewRootRels);
    FPackage.Write(QStringLiteral("word/document.xml"), NewDocument);
    FName = QStringLiteral("document");
    Load(QStringLiteral("word/document.xml"));
  }
  void Open(const QString& FileName) {
    FName = FileName;
    FPackage.Open(FileName);
    TXMLDocument rels;
    QString error;
    if (!rels.LoadFromBytes(FPackage.Read(QStringLiteral("_rels/.rels")), &error))
      throw EExtGridError(QStringLiteral("%1: the part _rels/.rels is no well-formed XML (%2)").arg(FileName, error));
    QString part;
    for (TXMLNode r = rels.DocumentElement().FirstChildElement(); r; r = r.NextSiblingElement())
      if (r.Attribute("Type").endsWith(QLatin1String("/officeDocument"))) part = ResolvePart(QString(), r.Attribute("Target"));
    if (part.isEmpty()) throw EExtGridError(QStringLiteral("%1: the package holds no document").arg(FileName));
    Load(part);
  }
  TXMLNode Body() const { return FBody; }
  QString Prefix() const { return FPrefix; }
  void Save(const QString& FileName) {
    FPackage.Write(FPart, FDoc.SaveToBytes());
    FPackage.SaveAs(FileName);
  }

 private:
  void Load(const QString& Part) {
    FPart = Part;
    QString error;
    if (!FDoc.LoadFromBytes(FPackage.Read(Part), &error))
      throw EExtGridError(QStringLiteral("%1: the part %2 is no well-formed XML (%3)").arg(FName, Part, error));
    FBody = ChildByLocal(FDoc.DocumentElement(), "body");
    if (!IsLocal(FDoc.DocumentElement(), "document") || !FBody)
      throw EExtGridError(QStringLiteral("%1: the package holds no document body").arg(FName));
    FPrefix = PrefixOf(FBody);
    // What the grid adds goes in without layout whitespace, as documents are written.
    FDoc.Options().Indent = false;
  }

  TZipPackage FPackage;
  TXMLDocument FDoc;
  QString FName, FPart, FPrefix;
  TXMLNode FBody;
};

// A run's text: lines split at line breaks, tabs as tab marks; other control characters a document cannot hold
// are left out.
void AddRunText(TXMLNode Run, const QString& P, const QString& Text) {
  QString piece;
  auto flush = [&] {
    if (piece.isEmpty()) return;
    TXMLNode t = Run.AddChild(P + QStringLiteral("t"));
    if (NeedsPreserve(piece)) t.SetAttribute("xml:space", "preserve");
    t.SetText(piece);
    piece.clear();
  };
  for (qsizetype i = 0; i < Text.size(); ++i) {
    const QChar c = Text[i];
    if (c == u'\r' || c == u'\n' || c == u'\t') {
      flush();
      if (c == u'\t') Run.AddChild(P + QStringLiteral("tab"));
      else if (c == u'\n' || i + 1 >= Text.size() || Text[i + 1] != u'\n') Run.AddChild(P + QStringLiteral("br"));
    } else if (c.unicode() >= 0x20 && c.unicode() != 0xFFFE && c.unicode() != 0xFFFF) {
      piece += c;
    }
  }
  flush();
}

TXMLNode AddParagraph(TXMLNode Parent, const QString& P, TXMLNode Before, const QString& Text) {
  TXMLNode p = Parent.InsertChildBefore(P + QStringLiteral("p"), Before);
  if (!Text.isEmpty()) AddRunText(p.AddChild(P + QStringLiteral("r")), P, Text);
  return p;
}

void SetAttr(TXMLNode N, const QString& P, const char* Name, const QString& Value) {
  N.SetAttribute(P + QLatin1String(Name), Value);
}

void AddTableProperties(TXMLNode Table, const QString& P, TGridDataHost& Host) {
  TXMLNode pr = Table.AddChild(P + QStringLiteral("tblPr"));
  TXMLNode width = pr.AddChild(P + QStringLiteral("tblW"));
  SetAttr(width, P, "w", QStringLiteral("0"));
  SetAttr(width, P, "type", QStringLiteral("auto"));
  TXMLNode borders = pr.AddChild(P + QStringLiteral("tblBorders"));
  for (const char* side : {"top", "left", "bottom", "right", "insideH", "insideV"}) {
    TXMLNode b = borders.AddChild(P + QLatin1String(side));
    SetAttr(b, P, "val", QStringLiteral("single"));
    SetAttr(b, P, "sz", QStringLiteral("4"));
    SetAttr(b, P, "space", QStringLiteral("0"));
    SetAttr(b, P, "color", QStringLiteral("auto"));
  }
  TXMLNode grid = Table.AddChild(P + QStringLiteral("tblGrid"));
  for (int c = 0; c < Host.ColCount(); ++c)
    SetAttr(grid.AddChild(P + QStringLiteral("gridCol")), P, "w", QString::number(Host.ColWidth(c) * TwipsPerPixel));
}

// The whole grid, fixed rows and columns included, cell by cell with each cell's alignment.
TXMLNode InsertTable(TGridDataHost& Host, TXMLNode Body, const QString& P, TXMLNode Before) {
  TXMLNode table = Body.InsertChildBefore(P + QStringLiteral("tbl"), Before);
  AddTableProperties(table, P, Host);
  TExportRun run(Host, 0);
  for (int r = 0; r < Host.RowCount(); ++r) {
    run.NextRow(r);
    TXMLNode row = table.AddChild(P + QStringLiteral("tr"));
    for (int c = 0; c < Host.ColCount(); ++c) {
      const int real = Host.DisplToRealCol(c);
      QString text;
      Host.SaveCell(real, r, text);
      TXMLNode cell = row.AddChild(P + QStringLiteral("tc"));
      TXMLNode width = cell.AddChild(P + QStringLiteral("tcPr")).AddChild(P + QStringLiteral("tcW"));
      SetAttr(width, P, "w", QString::number(Host.ColWidth(c) * TwipsPerPixel));
      SetAttr(width, P, "type", QStringLiteral("dxa"));
      TXMLNode p = cell.AddChild(P + QStringLiteral("p"));
      const plat::TAlignment align = Host.CellAlignment(real, r);
      if (align != plat::taLeftJustify)
        SetAttr(p.AddChild(P + QStringLiteral("pPr")).AddChild(P + QStringLiteral("jc")), P, "val",
                align == plat::taRightJustify ? QStringLiteral("right") : QStringLiteral("center"));
      if (!text.isEmpty()) AddRunText(p.AddChild(P + QStringLiteral("r")), P, text);
    }
  }
  run.Finish();
  return table;
}

// The top-level block of the body that holds the bookmark's start; null when the document has no such bookmark.
TXMLNode BlockOfBookmark(const TXMLNode& Body, const QString& Name) {
  std::function<bool(const TXMLNode&)> holds = [&](const TXMLNode& N) {
    for (TXMLNode c = N.FirstChildElement(); c; c = c.NextSiblingElement()) {
      if (IsLocal(c, "bookmarkStart") && AttributeByLocal(c, "name") == Name) return true;
      if (holds(c)) return true;
    }
    return false;
  };
  for (TXMLNode b = Body.FirstChildElement(); b; b = b.NextSiblingElement())
    if (!IsLocal(b, "sectPr") && holds(b)) return b;
  return {};
}

// The body's closing section properties, before which new blocks at the end go (null: none).
TXMLNode EndOfBody(const TXMLNode& Body) {
  TXMLNode last;
  for (TXMLNode b = Body.FirstChildElement(); b; b = b.NextSiblingElement()) last = b;
  return last && IsLocal(last, "sectPr") ? last : TXMLNode();
}

enum class TPlace { Start, Bookmark };

void WriteDocument(TGridDataHost& Host, const QString& FileName, bool CreateNew, TPlace Place, const QString& Bookmark,
                   const QString& ControlText) {
  TDocxDocument doc;
  if (CreateNew) doc.CreateNew();
  else doc.Open(FileName);
  TXMLNode body = doc.Body();
  const QString p = doc.Prefix();
  // The control's own text and a paragraph mark are typed where the document opens, at its start.
  TXMLNode typed = AddParagraph(body, p, body.FirstChildElement(), ControlText);
  TXMLNode before = typed;
  if (Place == TPlace::Bookmark) {
    const TXMLNode block = Bookmark.isEmpty() ? TXMLNode() : BlockOfBookmark(body, Bookmark);
    if (block) {
      before = block.NextSiblingElement();
    } else {
      before = EndOfBody(body);
      AddParagraph(body, p, before, QString());
    }
  }
  InsertTable(Host, body, p, before);
  // A table never ends a document: a paragraph follows it.
  if (!before || IsLocal(before, "sectPr")) AddParagraph(body, p, before, QString());
  doc.Save(FileName);
}

// A legacy .doc file: the work is done on a converted copy, which is converted back and then replaces the file.
void WriteDocumentAs(TGridDataHost& Host, const QString& FileName, bool CreateNew, TPlace Place,
                     const QString& Bookmark, const QString& ControlText) {
  if (!IsLegacyDocument(FileName)) return WriteDocument(Host, FileName, CreateNew, Place, Bookmark, ControlText);
  QTemporaryDir dir;
  QDir(dir.path()).mkpath(QStringLiteral("in"));
  QDir(dir.path()).mkpath(QStringLiteral("out"));
  const QString work = dir.filePath(QStringLiteral("in/") + QFileInfo(FileName).completeBaseName() + QStringLiteral(".docx"));
  if (!CreateNew) ConvertOfficeFile(FileName, QStringLiteral("docx"), dir.filePath(QStringLiteral("in")));
  WriteDocument(Host, work, CreateNew, Place, Bookmark, ControlText);
  const QString out = ConvertOfficeFile(work, QStringLiteral("doc"), dir.filePath(QStringLiteral("out")));
  WriteWholeFile(FileName, ReadWholeFile(out));
}

}  // namespace

void SaveToDOC(TGridDataHost& Host, const QString& FileName, bool CreateNewDocument, const QString& ControlText) {
  const bool create = CreateNewDocument || !QFileInfo::exists(FileName);
  WriteDocumentAs(Host, FileName, create, TPlace::Start, QString(), ControlText);
}

void AppendToDoc(TGridDataHost& Host, const QString& FileName, const QString& Bookmark, const QString& ControlText) {
  WriteDocumentAs(Host, FileName, false, TPlace::Bookmark, Bookmark, ControlText);
}

}  // namespace grid
