#pragma once
// Highlighting and marking text inside cells: every occurrence of a text is wrapped into a tag of the grid's
// mini-HTML ("hi" for a highlight, "e" for an error mark), which the renderer draws; removing takes the tags out
// again. The tags live in the cell texts, so they travel with them (copy, save) until removed.
//
// Ranges address real columns (hidden columns sit beyond ColCount) and display rows; only base cells of merged
// cells are visited.

#include <QString>

#include "grid/data/find.h"

namespace grid {

// Tag names of a highlight and of an error mark.
inline constexpr char16_t kHighlightTag[] = u"hi";
inline constexpr char16_t kMarkTag[] = u"e";

struct TCellRange {
  int FromCol = 0, FromRow = 0, ToCol = -1, ToRow = -1;
};

// Which cells an operation of a column, a row or the whole grid covers (the fixed ones with DoFixed).
enum THighlightKind { hkHighlight, hkMark, hkRemove };
TCellRange HighlightColRange(const TFindHost& Host, int ACol, bool DoFixed);
TCellRange HighlightRowRange(const TFindHost& Host, int ARow, bool DoFixed, THighlightKind Kind);
TCellRange HighlightGridRange(const TFindHost& Host, bool DoFixed, THighlightKind Kind);

// Wraps Text in every cell of the range into Tag: the cell text and the search text are entity-escaped first,
// so text holding "<", ">", "&" or quotes stays valid mini-HTML.
void HilightRange(TFindHost& Host, const TCellRange& Range, const QString& Text, const QString& Tag, bool DoCase);
// Removes the tags of that name from every cell of the range and turns its entities back into characters.
void UnHilightRange(TFindHost& Host, const TCellRange& Range, const QString& Tag);

}  // namespace grid
