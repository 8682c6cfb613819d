#include "grid/data/highlight.h"

namespace grid {

namespace {

int NormalLastCol(const TFindHost& H) { return H.ColCount() - H.FixedRightCols() - 1; }
int NormalLastRow(const TFindHost& H) { return H.RowCount() - H.FixedFooters() - 1; }

}  // namespace

TCellRange HighlightColRange(const TFindHost& Host, int ACol, bool DoFixed) {
  if (DoFixed) return {ACol, 0, ACol, Host.RowCount() - 1};
  return {ACol, Host.FixedRows(), ACol, NormalLastRow(Host)};
}

TCellRange HighlightRowRange(const TFindHost& Host, int ARow, bool DoFixed, THighlightKind Kind) {
  // Removing reaches the hidden columns too, so that no tag stays behind in a column hidden meanwhile.
  const int hidden = Kind == hkRemove ? Host.NumHiddenColumns() : 0;
  if (DoFixed) return {0, ARow, Host.ColCount() - 1 + hidden, ARow};
  return {Host.FixedCols(), ARow, NormalLastCol(Host) + hidden, ARow};
}

TCellRange HighlightGridRange(const TFindHost& Host, bool DoFixed, THighlightKind Kind) {
  const int hidden = Host.NumHiddenColumns();
  if (DoFixed) {
    const int last = Host.ColCount() - 1 + (Kind == hkRemove ? hidden : 0);
    return {0, 0, last, Host.RowCount() - 1};
  }
  const int last = NormalLastCol(Host) + (Kind == hkMark ? 0 : hidden);
  return {Host.FixedCols(), Host.FixedRows(), last, NormalLastRow(Host)};
}

void HilightRange(TFindHost& Host, const TCellRange& Range, const QString& Text, const QString& Tag, bool DoCase) {
  const QString search = Host.CharsToEntities(Text);
  const bool displayed = Host.HasDisplayTextHandler();
  for (int r = Range.FromRow; r <= Range.ToRow; ++r)
    for (int c = Range.FromCol; c <= Range.ToCol; ++c) {
      if (!Host.IsBaseCell(c, r)) continue;
      const QString text = displayed ? Host.FindText(c, r, false) : Host.StoredText(c, r);
      Host.WriteText(c, r, Host.HighlightText(Host.CharsToEntities(text), search, Tag, DoCase), false);
    }
}

void UnHilightRange(TFindHost& Host, const TCellRange& Range, const QString& Tag) {
  for (int r = Range.FromRow; r <= Range.ToRow; ++r)
    for (int c = Range.FromCol; c <= Range.ToCol; ++c) {
      if (!Host.IsBaseCell(c, r)) continue;
      // The tags go first: with the entities turned back first, an escaped "<" inside a highlight would start a
      // tag of its own and swallow the closing tag.
      Host.WriteText(c, r, Host.EntitiesToChars(Host.RemoveTagPair(Host.StoredText(c, r), Tag)), false);
    }
}

}  // namespace grid
