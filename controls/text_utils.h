#pragma once
// Text, character, number, date, clipboard and URL routines shared by the grid family, its editors, its data
// services and the drop-down editors. Free functions without state: positions are 1-based (0 = not found),
// and the locale values (separators, short date format) are read from plat::FormatSettings at each call.

#include <QChar>
#include <QString>

#include <cstdint>
#include <initializer_list>

#include "platform/graphics/types.h"
#include "platform/rtl/datetime.h"

namespace plat {
class TStrings;
}

namespace controls {

using plat::TDateTime;

// ---- locale and character tests ----------------------------------------------------------------------------

QChar LocaleTimeSeparator();
QChar LocaleDateSeparator();
QChar LocaleThousandSeparator();
QChar LocaleDecimalSeparator();
void LocaleShortDateFormat(QString& S);

bool IsDigitChar(QChar Ch);          // decimal digit of any script
bool IsDigitOrMinus(QChar Ch);
bool IsNumberChar(QChar Ch);         // digit, locale thousand or decimal separator, "e", "E"
bool IsSignedNumberChar(QChar Ch);   // IsNumberChar, "+" or "-"
bool IsPlainNumberChar(QChar Ch);    // digit, "-", ".", "e", "E", "+" (locale-free)
bool IsWordBreakChar(QChar Ch);      // blank, apostrophe, ",", "-", "."

// ---- search and integers ------------------------------------------------------------------------------------

// Sub is expected in upper case; S is upper-cased by the ASCII rule before the search.
int PosInUpper(const QString& Sub, const QString& S);
int PosStore(const QString& Sub, const QString& S, int& Index);
int CharIndex(QChar Ch, const QString& S);
// Index is written only when Ch is found.
int CharIndexStore(QChar Ch, const QString& S, int& Index);
int WidePosOf(const QString& Sub, const QString& S);
int CountChar(QChar Ch, const QString& S);
// First character of S in CharSet while the count of double quotes seen (this one included) is even;
// QChar(0) and Index -1 when there is none.
QChar FirstSetCharOutsideQuotes(std::initializer_list<QChar> CharSet, const QString& S, int& Index);
// S is the text after an opening quote: position of the quote that closes the field (a doubled quote is an
// escaped one), 0 when the field does not close. The result is also stored in Pos.
int FindClosingQuote(QChar Quote, const QString& S, int& Pos);
int CountClosingQuotes(QChar Quote, const QString& S);
// Delim found at p: Token = the first p - 1 characters, S loses its first p characters. Otherwise Token is
// empty and S unchanged.
void SplitToken(QString& S, const QString& Delim, QString& Token);
bool HasTwoDateSeparators(const QString& S);
bool IsURLText(const QString& S);
void RemoveURLScheme(QString& S);
// "R<row>C<col>" in any letter case; Cell.X = column, Cell.Y = row. False (Cell untouched) otherwise.
bool ParseRCReference(const QString& S, plat::TPoint& Cell);

// 0 plain, 1 HTML (only with CheckHTML), 2 rich text, 3 formula, 5 wide-encoded text.
int CellTextType(const QString& S, bool CheckHTML);

int IntMax(int A, int B);
int IntMin(int A, int B);
// Bounds of 0 or less are no bounds; Min == Max leaves Value unchanged.
int LimitValue(int Value, int Min, int Max);
// Rect holds cell coordinates (Left/Right columns, Top/Bottom rows, both inclusive).
bool CellInGridRect(const plat::TRect& Rect, int Col, int Row);

// ---- text transforms ----------------------------------------------------------------------------------------

QString DoubleQuotes(const QString& S);
QString UndoubleChar(QChar Ch, const QString& S);
void QuoteMultiLineField(QString& S);
void CRLFToLF(QString& S);
void LTToCRLF(QString& S);
void CRToTilde(QString& S);
void TildeToCRLF(QString& S);
QString CRToBackslashN(const QString& S);
QString BackslashNToCR(const QString& S);
QString CRToBR(const QString& S);
QString RemoveCR(const QString& S);
QString CRToLF(const QString& S);
void FillWithChar(QString& S, QChar Ch);
// OEM is code page 850 and ANSI windows-1252.
void StrToOem(QString& S);
void OemToStr(QString& S);
QString JoinAllStrings(const plat::TStrings& Strings);
QString EncodeLineBreaks(const QString& S);
QString DecodeLineBreaks(const QString& S, bool AllLines);
void ExtractFirstLine(QString& S, bool KeepRest, QString& Line);
int TextLineCount(const QString& S, bool MultiLine);
QString MixedCase(const QString& S);
QString EncodeWideText(const QString& S);
QString DecodeWideText(const QString& S);

// ---- numbers and dates --------------------------------------------------------------------------------------

// 0 integer, 1 decimal number, 2 not a number, 5 scientific notation.
int NumericTextKind(const QString& S);
QString NumericTextToDotDecimal(const QString& S);
// Short dates with "/", "." or "-". Two-digit years: up to 25 in the 2000s, else the 1900s; a year of 100 or
// more is taken as written. Malformed text gives 0; fields that form no date raise plat::EConvertError.
TDateTime ParseDateMDY(const QString& S);
TDateTime ParseDateDMY(const QString& S);
// Next value of a date series; raises plat::EConvertError when the target month lacks the day.
TDateTime StepDate(int16_t Years, int16_t Months, int16_t Days, double Delta, TDateTime Date);

// ---- output builders ----------------------------------------------------------------------------------------

// Wraps an HTML fragment in the clipboard's "HTML Format" envelope. The text is meant to be stored as UTF-8:
// the charset says so and the offsets count UTF-8 bytes.
void BuildClipboardHTML(QString& S);
// Links the first URL that starts with Prefix (given in upper case); False (Html untouched) without one.
bool MakeURLAnchor(const QString& S, const QString& Prefix, QString& Html);

}  // namespace controls
