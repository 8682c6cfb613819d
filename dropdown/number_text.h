#pragma once
// Number texts of the drop-down edits: classifying a typed value, hexadecimal digits and values, range
// separators, thousand separators and the locale conversion to a floating-point number. The decimal separator
// D and the thousand separator G are the process-wide format settings', read at each call.

#include <QChar>
#include <QString>

namespace dropdown {

enum TNumberClass { ncInteger = 0, ncFloat = 1, ncNone = 2, ncHex = 5 };

// Integer (digits and "-"), float (digits, ",", "-", "."; a G never in the first place nor within two places
// after the previous one), hexadecimal (digits, A-F, a-f, "-") or none; more than one "-" or D, or an empty
// text, is none.
TNumberClass ClassifyNumber(const QString& Text);
// 0..9, 10..15 for A-F and a-f, 0 for any other character.
int HexDigitValue(QChar Ch);
// Every character a hexadecimal digit from the right (others count as 0); wraps at 32 bits.
int HexToInt(const QString& Text);
bool IsRangeSeparator(QChar Ch);
QString RemoveThousandSeparators(const QString& Text);
// Thousand separators removed, then the locale conversion; 0 for a text that is not a number.
double TextToFloat(const QString& Text);
QChar DecimalSeparator();
QChar ThousandSeparator();

}  // namespace dropdown
