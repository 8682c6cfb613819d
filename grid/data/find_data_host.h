#pragma once
// The find's host over a window-free grid (TDataGrid), for tools, tests and benchmarks: it keeps its own current
// cell and selection. Without the window grid's renderer it reads mini-HTML plainly: tags are removed ("<BR>"
// and "<HR>" become line breaks), highlighting wraps occurrences outside tags, and filter expressions go to
// PatternMatch (nothing matches without one).

#include <functional>

#include "grid/data/cell_check.h"
#include "grid/data/data_grid.h"

namespace grid {

class TDataGridFindHost : public TCellCheckHost {
 public:
  explicit TDataGridFindHost(TDataGrid& Grid) : G(Grid) {}

  int ColCount() const override { return G.ColCount(); }
  int RowCount() const override { return G.RowCount(); }
  int FixedCols() const override { return G.FixedCols(); }
  int FixedRows() const override { return G.FixedRows(); }
  int FixedRightCols() const override { return G.FixedRightCols(); }
  int FixedFooters() const override { return G.FixedFooters(); }
  int NumHiddenColumns() const override { return G.NumHiddenColumns(); }
  int Col() const override { return CurCol; }
  int Row() const override { return CurRow; }
  void Selection(int& Left, int& Top, int& Right, int& Bottom) const override {
    Left = Sel.Left, Top = Sel.Top, Right = Sel.Right, Bottom = Sel.Bottom;
  }
  bool IsIgnoredColumn(int ACol) const override;

  QString FindText(int RCol, int ARow, bool RealRow) override;
  QString StoredText(int RCol, int ARow) override { return G.GetGridCell(RCol, ARow); }
  void WriteText(int RCol, int ARow, const QString& Value, bool RealRow) override;
  bool IsBaseCell(int ACol, int ARow) const override { return G.IsBaseCell(ACol, ARow); }

  QString HTMLToPlainText(const QString& S) override;
  bool MatchFilter(const QString& Expression, const QString& Value, bool CaseSensitive) override;
  QString HighlightText(const QString& S, const QString& Search, const QString& Tag, bool CaseSensitive) override;
  QString RemoveTagPair(const QString& S, const QString& Tag) override;
  QString EntitiesToChars(const QString& S) override;
  QString CharsToEntities(const QString& S) override;

  void GotoFound(int ACol, int ARow, const TFindParams& Params) override;
  void ExportNotification(TGridExportState AState, int ARow) override;
  void GotoCell(int RCol, int ARow) override { CurCol = RCol, CurRow = ARow; }
  void SetCurrent(int ACol, int ARow) override { CurCol = ACol, CurRow = ARow; }

  int CurCol = 0, CurRow = 0;
  // The selection rectangle, inclusive.
  plat::TRect Sel;
  std::vector<int> IgnoredColumns;
  std::function<bool(const QString& Expression, const QString& Value, bool CaseSensitive)> PatternMatch;
  std::function<void(TGridExportState AState, int ARow)> OnNotify;

 private:
  TDataGrid& G;
};

}  // namespace grid
