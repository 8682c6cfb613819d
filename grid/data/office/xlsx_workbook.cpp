#include "grid/data/office/xlsx_workbook.h"

#include <algorithm>
#include <map>

#include "grid/data/office/office_xml.h"
#include "grid/data/office/sheet_values.h"
#include "grid/data/office/xlsx_sheet.h"
#include "grid/griderror.h"
#include "platform/xml/xmldocument.h"

namespace grid::office {

namespace {

using plat::TXMLDocument;
using plat::TXMLNode;

const char* const ContentTypesPart = "[Content_Types].xml";
const char* const RelsNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char* const WorksheetType = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
const char* const WorksheetContent = "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";

// The parts of a new workbook before it has sheets.
const char* const NewContentTypes =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
    R"(<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>)"
    R"(</Types>)";
const char* const NewRootRels =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>)"
    R"(</Relationships>)";
const char* const NewWorkbook =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
    R"(<bookViews><workbookView activeTab="0"/></bookViews><sheets/></workbook>)";
const char* const NewWorkbookRels =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
    R"(</Relationships>)";
const char* const NewStyles =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
    R"(<fonts count="1"><font><sz val="10"/><name val="Arial"/><family val="2"/></font></fonts>)"
    R"(<fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills>)"
    R"(<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>)"
    R"(<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>)"
    R"(<cellXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/></cellXfs>)"
    R"(<cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles>)"
    R"(</styleSheet>)";
const char* const EmptySheet =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData/></worksheet>)";

// Elements of a workbook that come after the calculation settings, in the order the format gives them.
const char* const AfterCalcPr[] = {"oleSize", "customWorkbookViews", "pivotCaches", "smartTagPr", "smartTagTypes",
                                   "webPublishing", "fileRecoveryPr", "webPublishObjects", "extLst"};

QString FolderOf(const QString& Part) {
  const qsizetype slash = Part.lastIndexOf(u'/');
  return slash < 0 ? QString() : Part.left(slash);
}

QString RelsPartOf(const QString& Part) {
  const QString folder = FolderOf(Part);
  const QString name = Part.mid(folder.isEmpty() ? 0 : folder.size() + 1);
  return (folder.isEmpty() ? QString() : folder + u'/') + QStringLiteral("_rels/") + name + QStringLiteral(".rels");
}

// A number format code shows a date or a time when, outside quoted texts, escapes and brackets, it holds one
// of the letters of days, months, years, hours or seconds.
bool IsDateFormat(const QString& Code) {
  for (qsizetype i = 0; i < Code.size(); ++i) {
    const QChar c = Code[i].toLower();
    if (c == u'"') {
      i = Code.indexOf(u'"', i + 1);
      if (i < 0) return false;
    } else if (c == u'\\' || c == u'_' || c == u'*') {
      ++i;
    } else if (c == u'[') {
      const qsizetype end = Code.indexOf(u']', i);
      if (end < 0) return false;
      const QString inside = Code.mid(i + 1, end - i - 1).toLower();
      if (inside == u"h" || inside == u"hh" || inside == u"m" || inside == u"mm" || inside == u"s" || inside == u"ss")
        return true;
      i = end;
    } else if (c == u'd' || c == u'm' || c == u'y' || c == u'h' || c == u's') {
      return true;
    }
  }
  return false;
}

bool IsBuiltInDateFormat(int Id) { return (Id >= 14 && Id <= 22) || (Id >= 45 && Id <= 47); }

}  // namespace

QString ResolvePart(const QString& SourcePart, const QString& Target) {
  QStringList parts;
  const QString path = Target.startsWith(u'/') ? Target : FolderOf(SourcePart) + u'/' + Target;
  for (const QString& p : path.split(u'/', Qt::SkipEmptyParts)) {
    if (p == u".") continue;
    if (p == u"..") {
      if (!parts.isEmpty()) parts.removeLast();
      continue;
    }
    parts.append(p);
  }
  return parts.join(u'/');
}

bool IsValidSheetName(const QString& Name) {
  if (Name.isEmpty() || Name.size() > 31 || Name.startsWith(u'\'') || Name.endsWith(u'\'')) return false;
  for (QChar c : Name)
    if (QStringView(u":\\/?*[]").contains(c) || c.unicode() < 0x20) return false;
  return true;
}

TXlsxWorkbook::TXlsxWorkbook()
    : FContentTypes(std::make_unique<TXMLDocument>()),
      FWorkbook(std::make_unique<TXMLDocument>()),
      FWorkbookRels(std::make_unique<TXMLDocument>()) {}

TXlsxWorkbook::~TXlsxWorkbook() = default;

void TXlsxWorkbook::Open(const QString& FileName) {
  FName = FileName;
  FPackage.Open(FileName);
  ReadStructure();
}

void TXlsxWorkbook::OpenBytes(const QByteArray& Data) {
  FName = QStringLiteral("workbook");
  FPackage.OpenBytes(Data, FName);
  ReadStructure();
}

void TXlsxWorkbook::CreateNew() {
  FPackage.Write(ContentTypesPart, NewContentTypes);
  FPackage.Write(QStringLiteral("_rels/.rels"), NewRootRels);
  FPackage.Write(QStringLiteral("xl/workbook.xml"), NewWorkbook);
  FPackage.Write(QStringLiteral("xl/_rels/workbook.xml.rels"), NewWorkbookRels);
  FPackage.Write(QStringLiteral("xl/styles.xml"), NewStyles);
  ReadStructure();
}

QByteArray TXlsxWorkbook::ReadPartOrFail(const QString& Part) { return FPackage.Read(Part); }

void TXlsxWorkbook::LoadXml(TXMLDocument& Doc, const QString& Part) {
  QString error;
  if (!Doc.LoadFromBytes(ReadPartOrFail(Part), &error))
    throw EExtGridError(QStringLiteral("%1: the part %2 is no well-formed XML (%3)").arg(FName, Part, error));
}

void TXlsxWorkbook::ReadStructure() {
  FSheets.clear();
  FStructureChanged = false;
  LoadXml(*FContentTypes, ContentTypesPart);
  TXMLDocument rootRels;
  LoadXml(rootRels, QStringLiteral("_rels/.rels"));
  FWorkbookPart.clear();
  for (TXMLNode r = rootRels.DocumentElement().FirstChildElement(); r; r = r.NextSiblingElement())
    if (r.Attribute("Type").endsWith(QLatin1String("/officeDocument")))
      FWorkbookPart = ResolvePart(QString(), r.Attribute("Target"));
  if (FWorkbookPart.isEmpty())
    throw EExtGridError(QStringLiteral("%1: the package holds no workbook").arg(FName));
  LoadXml(*FWorkbook, FWorkbookPart);
  FWorkbookRelsPart = RelsPartOf(FWorkbookPart);
  LoadXml(*FWorkbookRels, FWorkbookRelsPart);

  std::map<QString, std::pair<QString, QString>> rels;  // id -> (type, part)
  for (TXMLNode r = FWorkbookRels->DocumentElement().FirstChildElement(); r; r = r.NextSiblingElement())
    rels[r.Attribute("Id")] = {r.Attribute("Type"), ResolvePart(FWorkbookPart, r.Attribute("Target"))};
  const TXMLNode sheets = ChildByLocal(FWorkbook->DocumentElement(), "sheets");
  for (TXMLNode s = sheets.FirstChildElement(); s; s = s.NextSiblingElement()) {
    if (!IsLocal(s, "sheet")) continue;
    const auto rel = rels.find(AttributeByLocal(s, "id"));
    if (rel == rels.end())
      throw EExtGridError(QStringLiteral("%1: the sheet %2 has no part").arg(FName, s.Attribute("name")));
    FSheets.push_back({s.Attribute("name"), rel->second.second, rel->second.first.endsWith(QLatin1String("/worksheet"))});
  }
}

int TXlsxWorkbook::ActiveSheet() const {
  const TXMLNode view = ChildByLocal(ChildByLocal(FWorkbook->DocumentElement(), "bookViews"), "workbookView");
  bool ok = false;
  const int tab = view.Attribute("activeTab").toInt(&ok);
  return ok && tab >= 0 && tab < static_cast<int>(FSheets.size()) ? tab : 0;
}

int TXlsxWorkbook::FindSheet(const QString& Name) const {
  for (Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive})
    for (int i = static_cast<int>(FSheets.size()) - 1; i >= 0; --i)
      if (FSheets[static_cast<size_t>(i)].Name.compare(Name, cs) == 0) return i;
  return -1;
}

int TXlsxWorkbook::AddSheet(const QString& Name) {
  if (!IsValidSheetName(Name))
    throw EExtGridError(QStringLiteral("\"%1\" cannot name a worksheet: 1 to 31 characters without : \\ / ? * [ ]")
                            .arg(Name));
  const QString folder = FolderOf(FWorkbookPart);
  QString target, part;
  for (int n = 1;; ++n) {
    target = QStringLiteral("worksheets/sheet%1.xml").arg(n);
    part = ResolvePart(FWorkbookPart, target);
    if (!FPackage.Contains(part)) break;
  }
  QStringList ids;
  TXMLNode rels = FWorkbookRels->DocumentElement();
  for (TXMLNode r = rels.FirstChildElement(); r; r = r.NextSiblingElement()) ids.append(r.Attribute("Id"));
  QString id;
  for (int n = 1; ids.contains(id = QStringLiteral("rId%1").arg(n)); ++n) {
  }
  TXMLNode rel = rels.AddChild(PrefixOf(rels) + QStringLiteral("Relationship"));
  rel.SetAttribute("Id", id);
  rel.SetAttribute("Type", WorksheetType);
  rel.SetAttribute("Target", target);

  TXMLNode types = FContentTypes->DocumentElement();
  TXMLNode over = types.AddChild(PrefixOf(types) + QStringLiteral("Override"));
  over.SetAttribute("PartName", u'/' + part);
  over.SetAttribute("ContentType", WorksheetContent);

  TXMLNode root = FWorkbook->DocumentElement();
  QString relPrefix;
  for (int i = 0; i < root.AttributeCount(); ++i)
    if (root.AttributeValue(i) == QLatin1String(RelsNs) && root.AttributeName(i).startsWith(QLatin1String("xmlns:")))
      relPrefix = root.AttributeName(i).mid(6);
  if (relPrefix.isEmpty()) {
    relPrefix = QStringLiteral("r");
    root.SetAttribute(QStringLiteral("xmlns:r"), RelsNs);
  }
  TXMLNode sheets = ChildByLocal(root, "sheets");
  if (!sheets) throw EExtGridError(QStringLiteral("%1: the workbook lists no sheets").arg(FName));
  int maxId = 0;
  for (TXMLNode s = sheets.FirstChildElement(); s; s = s.NextSiblingElement())
    maxId = std::max(maxId, s.Attribute("sheetId").toInt());
  TXMLNode sheet = sheets.AddChild(PrefixOf(sheets) + QStringLiteral("sheet"));
  sheet.SetAttribute("name", Name);
  sheet.SetAttribute("sheetId", QString::number(maxId + 1));
  sheet.SetAttribute(relPrefix + QStringLiteral(":id"), id);

  FPackage.Write(part, EmptySheet);
  FSheets.push_back({Name, part, true});
  FStructureChanged = true;
  (void)folder;
  return static_cast<int>(FSheets.size()) - 1;
}

QByteArray TXlsxWorkbook::ReadSheet(int Index) { return ReadPartOrFail(FSheets.at(static_cast<size_t>(Index)).Part); }

std::unique_ptr<TPartReader> TXlsxWorkbook::OpenSheet(int Index) {
  return FPackage.OpenPart(FSheets.at(static_cast<size_t>(Index)).Part);
}

void TXlsxWorkbook::WriteSheet(int Index, const QByteArray& Xml, bool Recalculate) {
  FPackage.Write(FSheets.at(static_cast<size_t>(Index)).Part, Xml);
  if (Recalculate) DropCalcChain();
}

QString TXlsxWorkbook::RelatedPart(const QString& TypeSuffix) const {
  for (TXMLNode r = FWorkbookRels->DocumentElement().FirstChildElement(); r; r = r.NextSiblingElement())
    if (r.Attribute("Type").endsWith(TypeSuffix)) return ResolvePart(FWorkbookPart, r.Attribute("Target"));
  return {};
}

void TXlsxWorkbook::DropCalcChain() {
  TXMLNode rels = FWorkbookRels->DocumentElement();
  for (TXMLNode r = rels.FirstChildElement(); r; r = r.NextSiblingElement()) {
    if (!r.Attribute("Type").endsWith(QLatin1String("/calcChain"))) continue;
    const QString part = ResolvePart(FWorkbookPart, r.Attribute("Target"));
    FPackage.Remove(part);
    rels.RemoveChild(r);
    TXMLNode types = FContentTypes->DocumentElement();
    for (TXMLNode o = types.FirstChildElement(); o; o = o.NextSiblingElement())
      if (o.Attribute("PartName") == u'/' + part) {
        types.RemoveChild(o);
        break;
      }
    break;
  }
  TXMLNode root = FWorkbook->DocumentElement();
  TXMLNode calc = ChildByLocal(root, "calcPr");
  if (!calc) {
    TXMLNode before;
    for (TXMLNode c = root.FirstChildElement(); c && !before; c = c.NextSiblingElement())
      for (const char* later : AfterCalcPr)
        if (IsLocal(c, later)) before = c;
    calc = root.InsertChildBefore(PrefixOf(root) + QStringLiteral("calcPr"), before);
  }
  calc.SetAttribute("fullCalcOnLoad", "1");
  FStructureChanged = true;
}

TCellContext TXlsxWorkbook::CellContext() {
  TCellContext context;
  const QString pr = ChildByLocal(FWorkbook->DocumentElement(), "workbookPr").Attribute("date1904");
  context.Date1904 = pr == u"1" || pr == u"true";
  const QString strings = RelatedPart(QStringLiteral("/sharedStrings"));
  if (!strings.isEmpty() && FPackage.Contains(strings)) {
    const std::unique_ptr<TPartReader> part = FPackage.OpenPart(strings);
    context.SharedStrings = ReadSharedStrings(*part, [&](const QString& Why) {
      throw EExtGridError(QStringLiteral("%1: the part %2 is no well-formed XML (%3)").arg(FName, strings, Why));
    });
  }
  const QString styles = RelatedPart(QStringLiteral("/styles"));
  if (!styles.isEmpty() && FPackage.Contains(styles)) {
    TXMLDocument doc;
    LoadXml(doc, styles);
    const TXMLNode root = doc.DocumentElement();
    std::map<int, bool> custom;
    for (TXMLNode f = ChildByLocal(root, "numFmts").FirstChildElement(); f; f = f.NextSiblingElement())
      custom[f.Attribute("numFmtId").toInt()] = IsDateFormat(f.Attribute("formatCode"));
    for (TXMLNode xf = ChildByLocal(root, "cellXfs").FirstChildElement(); xf; xf = xf.NextSiblingElement()) {
      const int id = xf.Attribute("numFmtId").toInt();
      const auto c = custom.find(id);
      context.DateStyles.push_back(c != custom.end() ? c->second : IsBuiltInDateFormat(id));
    }
  }
  return context;
}

void TXlsxWorkbook::Save(const QString& FileName) {
  if (FStructureChanged) {
    FPackage.Write(ContentTypesPart, FContentTypes->SaveToBytes());
    FPackage.Write(FWorkbookPart, FWorkbook->SaveToBytes());
    FPackage.Write(FWorkbookRelsPart, FWorkbookRels->SaveToBytes());
  }
  FPackage.SaveAs(FileName);
}

}  // namespace grid::office
