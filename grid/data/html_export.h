#pragma once
// The grid as an HTML page: one table with a CSS class per distinct cell look, merged cells as COLSPAN and
// ROWSPAN, fixed rows as a header row, and, on request, the cell pictures as JPEG files in an "images" folder
// beside the page. The same page text is what the clipboard's HTML copy carries.
//
// Cell texts go out through SaveCell and are written as they are (cells may hold HTML on purpose);
// ConvertSpecialChars turns "&", "<", ">", double quotes and accented letters into entities. A text holding a
// web or mail address becomes a link (URLShow) whose address is quoted and escaped, and only for the schemes
// http, https, ftp, file and mailto. Saved pages that are not Unicode stay 7-bit: other characters are written
// as numeric character references, so nothing is lost.

#include <QByteArray>
#include <QList>
#include <QString>

#include "grid/data/grid_data_host.h"

namespace grid {

// The options of an HTML export (the grid's HTMLSettings and the grid properties the page reads).
struct THTMLOptions {
  bool XHTML = false;
  QString PrefixTag, SuffixTag, HeaderFile, FooterFile, TableStyle, Summary;
  int BorderSize = 1, CellSpacing = 0, CellPadding = 0, Width = 100;
  // Column widths in pixels (by save column; negative entries are written as they are).
  QList<int> ColWidths;
  bool SaveColor = true, ConvertSpecialChars = false, NonBreakingText = false, ExportImages = true;
  bool URLShow = false, URLFull = false;
  // The background of fixed cells, as RGB.
  plat::TColor FixedColor = plat::RGB(0xF0, 0xF0, 0xF0);
};

// The page. Dir is the folder ("/" separated, with a trailing "/", or empty for the working folder) under
// which "images" is made for the cell pictures; a picture is referenced by its absolute file URL.
// Exception "Cannot create <dir>images" when the folder cannot be made.
QString SaveToHTMLString(TGridDataHost& Host, const THTMLOptions& Options, const QString& Dir);

// The lines of a saved page: with Append the existing file's lines first (a file that cannot be read adds
// none), then the header file, the page (pictures beside the file), the footer file. Unicode: UTF-16LE with
// a mark; otherwise 7-bit text with character references. Written atomically.
void SaveToHTML(TGridDataHost& Host, const THTMLOptions& Options, const QString& FileName, bool Unicode,
                bool Append = false);

// The escaping helpers of the page (also used by the XML writer and the clipboard).
// "&", "<", ">" and double quotes as entities; with Extended, the letters of Latin-1 above 159 as named
// entities too.
QString HTMLEntities(const QString& S, bool Extended);
// Every blank as "&nbsp;".
QString HTMLBlanksToNbsp(const QString& S);
// RRGGBB of an RGB colour.
QString HTMLHexColor(plat::TColor Color);
// Characters above 127 as numeric character references.
QString AsciiWithReferences(const QString& S);

}  // namespace grid
