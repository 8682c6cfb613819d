#pragma once
// A workbook package: its sheets in order, the active one, and the parts a reader or a writer of cells needs.
//
// Opening reads only the package's structure (content types, relationships, the workbook part); sheets,
// shared strings and styles are read when asked for. Changing the workbook touches only what it must: adding a
// sheet adds its part, relationship, content type and entry; writing cells replaces the sheet's part; every other
// part is saved as it was, byte for byte.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

#include "grid/data/office/zip_package.h"

namespace plat {
class TXMLDocument;
}

namespace grid::office {

struct TSheetEntry {
  QString Name;
  QString Part;  // the sheet's part name in the package ("xl/worksheets/sheet1.xml")
  bool Worksheet = true;  // false for a chart or dialog sheet, which holds no cells
};

// What the cell reader needs of the workbook besides the sheet: the shared strings and which cell styles show
// dates.
struct TCellContext {
  std::vector<QString> SharedStrings;
  std::vector<bool> DateStyles;  // by cell style index
  bool Date1904 = false;
};

class TXlsxWorkbook {
 public:
  TXlsxWorkbook();
  ~TXlsxWorkbook();

  // An existing workbook; EExtGridError naming the file and the cause when it is no readable workbook.
  void Open(const QString& FileName);
  void OpenBytes(const QByteArray& Data);
  // A new workbook without sheets.
  void CreateNew();

  const std::vector<TSheetEntry>& Sheets() const { return FSheets; }
  // The sheet the workbook opens with (0 when it names none or one it lacks).
  int ActiveSheet() const;
  // The last sheet of that name (letters compared as written, else without regard to case); -1 when none.
  int FindSheet(const QString& Name) const;
  // A new empty worksheet at the end; EExtGridError for a name a workbook cannot hold.
  int AddSheet(const QString& Name);

  QByteArray ReadSheet(int Index);
  // The sheet's part as a reader that inflates it piece by piece.
  std::unique_ptr<TPartReader> OpenSheet(int Index);
  // Replaces the sheet's part. Formulas may depend on the written cells: the saved calculation chain goes and
  // the workbook asks to be calculated when opened.
  void WriteSheet(int Index, const QByteArray& Xml, bool Recalculate);
  TCellContext CellContext();
  void Save(const QString& FileName);

  TZipPackage& Package() { return FPackage; }
  QString FileName() const { return FName; }

 private:
  void ReadStructure();
  QByteArray ReadPartOrFail(const QString& Part);
  void LoadXml(plat::TXMLDocument& Doc, const QString& Part);
  void DropCalcChain();
  QString RelatedPart(const QString& TypeSuffix) const;

  TZipPackage FPackage;
  QString FName;
  QString FWorkbookPart, FWorkbookRelsPart;
  std::unique_ptr<plat::TXMLDocument> FContentTypes, FWorkbook, FWorkbookRels;
  std::vector<TSheetEntry> FSheets;
  bool FStructureChanged = false;
};

// The package folder a relationship target points into: Target relative to the part SourcePart (or absolute
// with a leading "/"), with "." and ".." resolved.
QString ResolvePart(const QString& SourcePart, const QString& Target);
// Whether a worksheet may carry this name: 1 to 31 characters, none of : \ / ? * [ ], no apostrophe at
// either end.
bool IsValidSheetName(const QString& Name);

}  // namespace grid::office
