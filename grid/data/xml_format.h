#pragma once
// Flat XML exchange of the grid: a list element holding one record element per row and, in it, one field
// element per cell.
//
// Writing: the declaration names XMLEncoding and the file is written in that encoding (UTF-8, ISO-8859-1,
// US-ASCII or any code page iconv knows); characters it lacks become numeric character references. Texts
// are escaped with the standard entities, and a CR as "&#13;" so that line breaks come back as they were.
// Element names must be XML names, and a cell holding a control character XML cannot carry is refused with
// EExtGridError naming the cell; nothing is written then.
//
// Reading goes through the project's XML document: every child of the document element is walked, its
// attributes and its leaf elements filling consecutive columns. Texts are taken as the document decoded them;
// only the "$amp;" that older files wrote for "&" is turned back into "&".

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "grid/data/grid_data_host.h"

namespace grid {

struct TXMLExportOptions {
  QString ListDescr = QStringLiteral("LIST"), RecordDescr = QStringLiteral("RECORD");
  // The field element names by save column; "FIELD<n>" where none is given.
  QStringList FieldDescr;
  bool ExportEmptyCells = false;
  QString Encoding = QStringLiteral("ISO-8859-1");
};

// EExtGridError "Cannot Create file <name>" when the file cannot be written (the old file stays whole).
void SaveToXML(TGridDataHost& Host, const QString& FileName, const TXMLExportOptions& Options);
// The bytes SaveToXML writes.
QByteArray XMLBytes(TGridDataHost& Host, const TXMLExportOptions& Options);

// Exception "XML file not found" for a missing file; "XMLDOM Parsing error <code> on line <line>" for a file
// that is not well-formed XML (code 1: not well-formed, 2: unreadable). EExtGridError when the file nests deeper
// than MaxXMLDepth or would make a grid beyond MaxLoadColCount columns or MaxLoadRowCount rows.
void LoadFromXML(TGridDataHost& Host, const QString& FileName, bool LevelToRow, bool LoadFieldDescr);
// The same over a file's bytes.
void LoadXMLBytes(TGridDataHost& Host, const QByteArray& Bytes, bool LevelToRow, bool LoadFieldDescr);

inline constexpr int MaxXMLDepth = 256;

}  // namespace grid
