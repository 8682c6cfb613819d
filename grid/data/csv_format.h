#pragma once
// CSV exchange of the grid: written with the grid's own quoting rules, read with the separator detected from
// the first two lines when the grid names none.
//
// Writing: a field is quoted when AlwaysQuotes says so, when it holds a double quote but not the separator, when
// it starts or ends with a blank (which a reader would otherwise drop), and when it holds the separator or a line
// break. Double quotes are doubled; an empty field is "" (QuoteEmptyCells) or nothing. A line break in a field
// that is not quoted for another reason travels as character 11 (CR LF) inside quotes, so the lines stay lines
// for old readers; one in a field already quoted stays a line break (as LF). The JavaCSV dialect writes line
// breaks as "~" and an empty field as "^", and quotes a field that holds the separator.
//
// Reading: fields are split at the separator; a field starting with a double quote (blanks before it skipped)
// runs to its closing quote, across line breaks, with doubled quotes read as one; a quote that never closes
// takes the rest of its line. A separator at the end of a line makes no empty field. Character 11 (or "~" and
// "^" under JavaCSV) is read back as CR LF (and an empty field). Each loaded row is emptied first, so no cell of
// the old content survives in it.

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringView>

#include "grid/data/grid_data_host.h"

namespace plat {
class TStream;
}

namespace grid {

// Unicode: UTF-8 with a mark. Otherwise the system code page (UTF-8), or with OemConvert the OEM code page.
void SaveToCSV(TGridDataHost& Host, const QString& FileName, bool Unicode);
// Adds the lines to the end of an existing file (in the file's own encoding when not Unicode); the whole file
// is written again atomically, so a failure leaves it as it was.
void AppendToCSV(TGridDataHost& Host, const QString& FileName, bool Unicode);
// The file variants do nothing for an empty (0-byte) file. Exception "File is empty" for a text without lines.
// MaxRows above 0 limits the lines read.
void LoadFromCSV(TGridDataHost& Host, const QString& FileName, int MaxRows = 0);
// Adds the rows after the existing ones (above a shown floating footer).
void InsertFromCSV(TGridDataHost& Host, const QString& FileName, int MaxRows = 0);
// Reads from the stream's position to its end.
void LoadFromCSVStream(TGridDataHost& Host, plat::TStream& Stream, int MaxRows = 0);

// The text SaveToCSV writes, before encoding, and the bytes it writes.
QString CSVText(TGridDataHost& Host);
QByteArray CSVBytes(TGridDataHost& Host, bool Unicode);
// Loads CSV text (already decoded) at the save range's first row, or after the last row with Insert.
void LoadCSVText(TGridDataHost& Host, QStringView Text, int MaxRows, bool Insert);
// The separator detected from the first two lines of a file; 0 when no candidate occurs.
QChar DetectSeparator(QStringView Line1, QStringView Line2);

}  // namespace grid
