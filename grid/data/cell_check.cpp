#include "grid/data/cell_check.h"

#include "grid/data/highlight.h"

namespace grid {

bool CheckCell(TCellCheckHost& Host, TCellCheckerLink* Checker, int ACol, int ARow) {
  if (!Checker) return true;
  const QString text = Host.RemoveTagPair(Host.FindText(ACol, ARow, false), QString::fromUtf16(kMarkTag));
  if (Checker->GotoCell()) Host.GotoCell(ACol, ARow);
  QString result = text;
  if (Checker->UseCorrect()) result = Checker->Correct(ACol, ARow, text);
  if (Checker->UseMarkError()) result = Checker->MarkError(ACol, ARow, text);
  Host.WriteText(ACol, ARow, result, false);
  return result == text;
}

bool CheckCells(TCellCheckHost& Host, TCellCheckerLink* Checker, int FromCol, int FromRow, int ToCol, int ToRow) {
  if (!Checker) return true;
  Checker->StartCheck();
  const int col = Host.Col(), row = Host.Row();
  bool passed = true;
  for (int r = FromRow; r <= ToRow; ++r)
    for (int c = FromCol; c <= ToCol; ++c)
      if (!CheckCell(Host, Checker, c, r)) passed = false;
  Checker->StopCheck();
  if (Checker->GotoCell()) Host.SetCurrent(col, row);
  return passed;
}

namespace {

struct TNormal {
  int C0, C1, R0, R1;
};

TNormal CheckRange(const TFindHost& H, bool DoFixed) {
  if (DoFixed) return {0, H.ColCount() - 1, 0, H.RowCount() - 1};
  return {H.FixedCols(), H.ColCount() - H.FixedRightCols() - 1, H.FixedRows(), H.RowCount() - H.FixedFooters() - 1};
}

}  // namespace

bool CheckCol(TCellCheckHost& Host, TCellCheckerLink* Checker, bool DoFixed, int ACol) {
  const TNormal n = CheckRange(Host, DoFixed);
  return CheckCells(Host, Checker, ACol, n.R0, ACol, n.R1);
}

bool CheckRow(TCellCheckHost& Host, TCellCheckerLink* Checker, bool DoFixed, int ARow) {
  const TNormal n = CheckRange(Host, DoFixed);
  return CheckCells(Host, Checker, n.C0, ARow, n.C1, ARow);
}

bool CheckGrid(TCellCheckHost& Host, TCellCheckerLink* Checker, bool DoFixed) {
  const TNormal n = CheckRange(Host, DoFixed);
  return CheckCells(Host, Checker, n.C0, n.R0, n.C1, n.R1);
}

}  // namespace grid
