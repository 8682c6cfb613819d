#include "grid/data/find.h"

#include "platform/rtl/strutils.h"

namespace grid {

namespace {

constexpr plat::TPoint kNone{-1, -1};

bool IsAscii(QStringView S) {
  for (QChar c : S)
    if (c.unicode() >= 0x80) return false;
  return true;
}

// The inclusive range a walk covers and the order it takes.
struct TWalk {
  int C0 = 0, C1 = -1, R0 = 0, R1 = -1;
  bool RowByRow = false, Backward = false;

  // The walk's first cell (its last going backwards).
  plat::TPoint First() const { return Backward ? plat::TPoint{C1, R1} : plat::TPoint{C0, R0}; }
  // The cell after P in the walk's order; past the end the walk starts over at its first cell.
  plat::TPoint Advance(plat::TPoint P) const {
    const int d = Backward ? -1 : 1;
    if (RowByRow) {
      if (InCols(P.X + d)) return {P.X + d, P.Y};
      if (InRows(P.Y + d)) return {Backward ? C1 : C0, P.Y + d};
    } else {
      if (InRows(P.Y + d)) return {P.X, P.Y + d};
      if (InCols(P.X + d)) return {P.X + d, Backward ? R1 : R0};
    }
    return First();
  }
  bool InCols(int c) const { return c >= C0 && c <= C1; }
  bool InRows(int r) const { return r >= R0 && r <= R1; }
  // The position of a cell in the walk's order (larger is later).
  long long Order(plat::TPoint P) const {
    const long long k = RowByRow ? static_cast<long long>(P.Y) * (1LL << 31) + P.X
                                 : static_cast<long long>(P.X) * (1LL << 31) + P.Y;
    return Backward ? -k : k;
  }
};

TWalk WalkOf(const TFindHost& H, const TFindParams& P, int FindCol, int FindRow) {
  TWalk w;
  if (P.Contains(fnIncludeFixed)) {
    w.C0 = 0, w.C1 = H.ColCount() - 1, w.R0 = 0, w.R1 = H.RowCount() - 1;
  } else {
    w.C0 = H.FixedCols(), w.C1 = H.ColCount() - H.FixedRightCols() - 1;
    w.R0 = H.FixedRows(), w.R1 = H.RowCount() - H.FixedFooters() - 1;
  }
  if (P.Contains(fnSelectedCells)) H.Selection(w.C0, w.R0, w.C1, w.R1);
  if (P.Contains(fnIncludeHiddenColumns)) w.C1 += H.NumHiddenColumns();
  if (P.Contains(fnIncludeHiddenRows)) w.R1 += H.NumHiddenRows();
  // One row or one column: the later switch of each pair wins.
  if (P.Contains(fnFindInCurrentRow)) w.R0 = w.R1 = H.Row();
  if (P.Contains(fnFindInPresetRow)) w.R0 = w.R1 = FindRow;
  if (P.Contains(fnFindInCurrentCol)) w.C0 = w.C1 = H.Col();
  if (P.Contains(fnFindInPresetCol)) w.C0 = w.C1 = FindCol;
  w.RowByRow = P.Contains(fnDirectionLeftRight);
  w.Backward = P.Contains(fnBackward);
  return w;
}

}  // namespace

QString FindUpperCase(const QString& S) { return plat::AnsiUpperCase(S); }

std::uint16_t FindParamsToBits(const TFindParams& Params) {
  std::uint16_t bits = 0;
  for (int i = 0; i < 16; ++i)
    if (Params.Contains(static_cast<TFindParameters>(i))) bits |= static_cast<std::uint16_t>(1u << i);
  return bits;
}

TFindParams FindParamsFromBits(std::uint16_t Bits) {
  TFindParams p;
  for (int i = 0; i < 16; ++i)
    if (Bits & (1u << i)) p.Include(static_cast<TFindParameters>(i));
  return p;
}

bool TGridFind::CellMatchesFind(int ACol, int ARow, bool Wide) {
  const TFindParams& p = FindParams;
  const int rcol = p.Contains(fnIncludeHiddenColumns) ? ACol : FHost.RealColIndex(ACol);
  QString text = FHost.FindText(rcol, ARow, p.Contains(fnIncludeHiddenRows));
  const QString& needle = Wide ? SearchCacheWide : SearchCache;
  const bool matchCase = p.Contains(fnMatchCase);
  if (p.Contains(fnIgnoreHTMLTags) && !Wide) text = FHost.HTMLToPlainText(text);
  // Two double quotes stand for an empty cell.
  if (needle.size() == 2 && needle[0] == u'"' && needle[1] == u'"') return text.isEmpty();
  if (p.Contains(fnMatchRegular)) return FHost.MatchFilter(needle, matchCase ? text : FindUpperCase(text), matchCase);
  if (needle.isEmpty()) return false;
  // Without case, an ASCII text compares as its upper-cased form without making it; the upper-cased needle of
  // a text with other characters can never occur in an ASCII text.
  qsizetype pos;
  bool equal;
  if (matchCase) {
    pos = text.indexOf(needle);
    equal = text == needle;
  } else if (IsAscii(text)) {
    if (!FNeedleAscii) return false;
    pos = text.indexOf(needle, 0, Qt::CaseInsensitive);
    equal = text.size() == needle.size() && pos == 0;
  } else {
    text = FindUpperCase(text);
    pos = text.indexOf(needle);
    equal = text == needle;
  }
  if (pos < 0) return false;
  if (p.Contains(fnMatchStart) && pos != 0) return false;
  return !p.Contains(fnMatchFull) || equal;
}

plat::TPoint TGridFind::FindCell(plat::TPoint StartCell, const QString& S, const TFindParams& Params, bool Wide) {
  FindParams = Params;
  FFindBusy = true;
  const QString upper = Params.Contains(fnMatchCase) ? S : FindUpperCase(S);
  if (Wide)
    SearchCacheWide = upper;
  else
    SearchCache = upper;
  FNeedleAscii = IsAscii(upper);
  FHost.ExportNotification(esExportStart, -1);
  struct TBusyEnd {
    bool& Busy;
    ~TBusyEnd() { Busy = false; }
  } busyEnd{FFindBusy};

  const int cols = FHost.ColCount(), rows = FHost.RowCount();
  const bool empty = cols == FHost.FixedCols() || cols == 0 || rows + FHost.NumHiddenRows() == FHost.FixedRows() ||
                     rows == 0;
  const TWalk w = WalkOf(FHost, Params, FindCol, FindRow);
  if (!empty && w.C0 <= w.C1 && w.R0 <= w.R1) {
    plat::TPoint p = StartCell == kNone ? w.First() : w.Advance(StartCell);
    // A restriction to one row or column holds for the start too.
    if (Params.Contains(fnFindInCurrentRow) || Params.Contains(fnFindInPresetRow)) p.Y = w.R0;
    if (Params.Contains(fnFindInCurrentCol) || Params.Contains(fnFindInPresetCol)) p.X = w.C0;
    const int d = w.Backward ? -1 : 1;
    int c = p.X, r = p.Y;
    // A start outside the range (a current cell elsewhere) begins the walk at its first cell.
    if (!w.InCols(c) || !w.InRows(r)) c = w.First().X, r = w.First().Y;
    while (w.InCols(c) && w.InRows(r)) {
      if (!FHost.IsIgnoredColumn(c)) {
        FHost.ExportNotification(esExportNewRow, r);
        if (CellMatchesFind(c, r, Wide)) {
          SearchCell = {c, r};
          FHost.ExportNotification(esExportFail, -1);
          if (Params.Contains(fnAutoGoto)) FHost.GotoFound(c, r, Params);
          return {c, r};
        }
      }
      if (w.RowByRow) {
        c += d;
        if (!w.InCols(c)) r += d, c = w.Backward ? w.C1 : w.C0;
      } else {
        r += d;
        if (!w.InRows(r)) c += d, r = w.Backward ? w.R1 : w.R0;
      }
    }
  }
  FHost.ExportNotification(esExportDone, -1);
  return kNone;
}

plat::TPoint TGridFind::Find(plat::TPoint StartCell, const QString& S, const TFindParams& Params) {
  const plat::TPoint p = FindCell(StartCell, S, Params, false);
  if (Params.Contains(fnAutoGoto)) FHost.AfterAutoGoto();
  return p;
}

plat::TPoint TGridFind::FindWide(plat::TPoint StartCell, const QString& S, const TFindParams& Params) {
  return FindCell(StartCell, S, Params, true);
}

plat::TPoint TGridFind::FindFirst(const QString& S, const TFindParams& Params) {
  SearchCell = Find(kNone, S, Params);
  return SearchCell;
}

plat::TPoint TGridFind::FindNext() {
  // The cached text is already upper-cased where it had to be; upper-casing it again changes nothing.
  SearchCell = Find(SearchCell, SearchCache, FindParams);
  return SearchCell;
}

int TGridFind::Replace(const QString& OrigStr, const QString& NewStr, const TFindParams& Params) {
  int count = 0;
  const TWalk w = WalkOf(FHost, Params, FindCol, FindRow);
  plat::TPoint last = kNone;
  for (;;) {
    const plat::TPoint p = Find(last, OrigStr, Params);
    if (p == kNone) break;
    // The walk went round to a cell it had already passed: every cell of the range was visited once.
    if (last != kNone && w.Order(p) <= w.Order(last)) break;
    last = p;
    const int rcol = Params.Contains(fnIncludeHiddenColumns) ? p.X : FHost.RealColIndex(p.X);
    const bool realRow = Params.Contains(fnIncludeHiddenRows);
    QString text = FHost.FindText(rcol, p.Y, realRow);
    if (!OrigStr.isEmpty()) text.replace(OrigStr, NewStr, Qt::CaseInsensitive);
    FHost.WriteText(rcol, p.Y, text, realRow);
    FHost.RowChanged(p.Y);
    ++count;
  }
  return count;
}

int TGridFind::Search(const QString& S) {
  if (FHost.RowCount() < 2) return -1;
  const int rcol = FHost.IncrementalColumn();
  if (rcol < 0) return -1;
  for (int r = FHost.FixedRows(); r < FHost.RowCount(); ++r) {
    const QString text = FHost.HTMLToPlainText(FHost.FindText(rcol, r, false));
    if (FindUpperCase(text.left(S.size())) == S) return r;
  }
  return -1;
}

}  // namespace grid
