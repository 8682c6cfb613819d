#pragma once
// The grid's exchange with office documents, done on the files themselves: spreadsheet workbooks (.xlsx)
// read and written, word-processor documents (.docx) written, database tables and queries read through ODBC.
// Legacy .xls and .doc files go through the office suite's converter (soffice), started from an argument list.
//
// Every cell goes out through SaveCell and comes in through LoadCell, with the export notifications of the other
// formats. Every write is atomic: a failed save raises and leaves the old file as it was; a file that exists
// but cannot be read as a workbook or document is never replaced.
//
// Spreadsheet export: the cells of rows SaveStartRow .. RowCount - 1 and columns SaveStartCol .. ColCount - 1
// (line breaks without their CR), from column A of the target sheet. Texts that look like numbers are written as
// numbers only when reading them back gives the same text; everything else ("00012345", "=1+1") stays text.
// Spreadsheet import: the sheet's used area (the cells holding values) becomes the grid, after the fixed rows
// and columns when those are not saved; values come back as texts (numbers with 15 significant digits and the
// locale's decimal separator, dates as the locale's date texts, booleans as "True"/"False").

#include <QString>
#include <QStringList>

namespace grid {

class TGridDataHost;

// A new workbook with one sheet (CreateNewSheet, or no file yet), or the existing workbook FileName written in
// place: its active sheet from the row of its active cell.
void SaveToXLS(TGridDataHost& Host, const QString& FileName, bool CreateNewSheet);
// The last sheet of that name in the workbook FileName (added when it has none) from row 1; a new workbook
// holding that one sheet when the file does not exist. The workbook's other parts stay as they were.
void SaveToXLSSheet(TGridDataHost& Host, const QString& FileName, const QString& SheetName);
// The workbook's active sheet (the first unless the file saved another as active).
void LoadFromXLS(TGridDataHost& Host, const QString& FileName);
// EExtGridError "Excel worksheet " + name + " not found" when the workbook has no such sheet.
void LoadFromXLSSheet(TGridDataHost& Host, const QString& FileName, const QString& SheetName);
// The names of the workbook's worksheets in order.
QStringList GetXLSSheets(const QString& FileName);

// The grid, fixed cells included, as a table at the start of a document: a new one (CreateNewDocument, or no
// file yet), else FileName changed in place. ControlText is typed in a paragraph after the table.
void SaveToDOC(TGridDataHost& Host, const QString& FileName, bool CreateNewDocument, const QString& ControlText = {});
// The table added to an existing document: after the paragraph holding the bookmark, or at the end when the
// document has no such bookmark.
void AppendToDoc(TGridDataHost& Host, const QString& FileName, const QString& Bookmark, const QString& ControlText = {});

// The rows of a query: the field names in the last fixed row, the records below the fixed rows. FileName is a
// database file (SQLite, or an .mdb/.accdb file through its ODBC driver) or an ODBC connection text
// ("DSN=...;" or "DRIVER=...;"). The SQL text is passed to the driver as it is.
void LoadFromMDBSQL(TGridDataHost& Host, const QString& FileName, const QString& SQL);
// LoadFromMDBSQL with "SELECT * FROM " and the table's name quoted; EExtGridError for a name that cannot be
// quoted (it holds the quote character).
void LoadFromMDBTable(TGridDataHost& Host, const QString& FileName, const QString& Table);

}  // namespace grid
