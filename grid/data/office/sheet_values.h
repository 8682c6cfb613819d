#pragma once
// What a spreadsheet cell holds as the grid's text, both ways: cell addresses, numbers and the text escapes of
// the workbook format.
//
// A cell text is written as a number only when reading the number back gives the same text (no leading zero,
// no trailing decimal zero, at most 15 significant digits, the locale's decimal separator); every other text,
// "00012345" and "=1+1" included, is written as text, so nothing turns into another number or a formula.

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringView>

namespace grid::office {

// The limits of a worksheet.
inline constexpr int MaxSheetColumns = 16384;  // XFD
inline constexpr int MaxSheetRows = 1048576;

// Letters of a column (1 = A, 26 = Z, 27 = AA, 16384 = XFD), counted in bijective base 26.
QString ColumnLetters(int Col);
void AppendColumnLetters(QByteArray& Out, int Col);
// The column of its letters (either case); 0 when they are no letters or name a column beyond XFD.
int ColumnOfLetters(QStringView Letters);
// A cell address such as "B12" or "$B$12" into its column and row (from 1); false for anything else.
bool ParseCellRef(QStringView Ref, int& Col, int& Row);
// "A1" for column 1, row 1.
QString CellRef(int Col, int Row);

// Whether the text is written as a number (see above); Value gets the number as the file holds it ("." decimal).
bool IsCanonicalNumber(QStringView Text, QChar Decimal, QByteArray* Value = nullptr);
// A number as the grid shows a read value: 15 significant digits, the locale's decimal separator, an exponent
// as "1E20" or "1.5E-7".
QString NumberText(double Value, QChar Decimal);

// Appends the text escaped for an element's content or an attribute value. Characters that XML cannot hold
// and a text that looks like such an escape are written as the format's _xHHHH_ escapes.
void AppendXmlText(QByteArray& Out, QStringView Text);
// Only the _xHHHH_ escapes, for a text that an XML document class escapes on its own.
QString FormatEscapes(QStringView Text);
// Undoes the _xHHHH_ escapes of a read text.
QString DecodeEscapes(const QString& Text);
// Whether an element holding this text needs xml:space="preserve" (blanks at its ends, line breaks, tabs).
bool NeedsPreserve(QStringView Text);

}  // namespace grid::office
