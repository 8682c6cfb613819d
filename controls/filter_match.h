#pragma once
// Filter expressions: whether one cell value matches an expression a user typed, such as ">5&<10", "ab*",
// "!x?z" or "(a|b)&c". Terms are comparisons (numbers, locale dates or text) or wildcard patterns, joined by
// "&" (and) and "|", ";" or "^" (or) and grouped by parentheses, all evaluated left to right without
// precedence. Free functions without state; every input, however malformed, gives a result.

#include <QString>

#include "platform/rtl/datetime.h"

namespace controls {

bool MatchFilter(const QString& Expression, const QString& Value, bool CaseSensitive);
// Upper-cases both texts unless CaseSensitive, then MatchFilterCondition.
bool MatchFilterTerm(const QString& Term, const QString& Value, bool CaseSensitive);
// One term against the value, both already in the wanted case.
bool MatchFilterCondition(const QString& Condition, const QString& Value);
// Drops every blank that lies outside double quotes.
QString RemoveBlanksOutsideQuotes(const QString& S);
// 1-based position of the ")" that closes the "(" counted from the start; 0 when there is none.
int FindMatchingParen(const QString& S);
// The locale decimal separator becomes "." and locale thousand separators are dropped.
QString LocaleNumberToDot(const QString& Text);
// A date (and optional time) with its fields in the order of the locale short date format. False on any
// failure; a time part without time separator still stores the date.
bool ParseLocaleDateTime(const QString& S, plat::TDateTime& DateTime);

}  // namespace controls
