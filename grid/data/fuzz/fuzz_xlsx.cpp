// libFuzzer target: the workbook (.xlsx) reader. The first byte picks the form. Odd: the rest is a whole package,
// opened and read as the grid reads a workbook. Even: the rest is split at NUL bytes into the sheet, the shared
// strings and the styles of a valid package, so the fuzzer works on the XML the readers parse; the sheet is
// then read into a grid and also written into, as a named sheet of an existing workbook is.

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "grid/data/data_grid.h"
#include "grid/data/office/xlsx_sheet.h"
#include "grid/data/office/xlsx_workbook.h"
#include "grid/data/office/zip_package.h"
#include "platform/rtl/exceptions.h"

namespace {

using namespace grid::office;

// A workbook with one sheet whose relationships name shared strings as well as styles.
QByteArray MakeTemplate() {
  QTemporaryDir dir;
  TXlsxWorkbook book;
  book.CreateNew();
  book.AddSheet(QStringLiteral("S"));
  book.Save(dir.filePath("t.xlsx"));
  TZipPackage p;
  p.Open(dir.filePath("t.xlsx"));
  const QString rels = QStringLiteral("xl/_rels/workbook.xml.rels");
  QByteArray r = p.Read(rels);
  r.replace("</Relationships>",
            R"(<Relationship Id="rIdS" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/)"
            R"(sharedStrings" Target="sharedStrings.xml"/></Relationships>)");
  p.Write(rels, r);
  p.Write(QStringLiteral("xl/sharedStrings.xml"), QByteArray());
  p.SaveAs(dir.filePath("u.xlsx"));
  QFile f(dir.filePath("u.xlsx"));
  f.open(QIODevice::ReadOnly);
  return f.readAll();
}

void ReadAll(TXlsxWorkbook& Book, bool Write) {
  if (Book.Sheets().empty()) return;
  const int index = Book.ActiveSheet();
  const QByteArray xml = Book.ReadSheet(index);
  std::vector<TSheetCell> cells = ReadSheetCells(xml, Book.CellContext());
  (void)ActiveCellRow(xml);
  if (!Write) return;
  TCellBlock block;
  block.FirstRow = 2, block.Rows = 2, block.Cols = 2;
  block.Texts = {QStringLiteral("1.5"), QString(), QStringLiteral("a<b"), QStringLiteral("00012")};
  (void)MergeIntoSheet(xml, block);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static const QByteArray kTemplate = MakeTemplate();
  if (Size == 0) return 0;
  const QByteArray rest(reinterpret_cast<const char*>(Data + 1), static_cast<qsizetype>(Size - 1));
  try {
    TXlsxWorkbook book;
    if (Data[0] & 1) {
      book.OpenBytes(rest);
      ReadAll(book, false);
      return 0;
    }
    const QList<QByteArray> parts = rest.split('\0');
    book.OpenBytes(kTemplate);
    TZipPackage& p = book.Package();
    p.Write(book.Sheets()[0].Part, parts.value(0));
    p.Write(QStringLiteral("xl/sharedStrings.xml"), parts.value(1));
    if (parts.size() > 2) p.Write(QStringLiteral("xl/styles.xml"), parts.value(2));
    ReadAll(book, Data[0] & 2);
  } catch (const plat::Exception&) {
  }
  return 0;
}
