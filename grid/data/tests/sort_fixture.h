#pragma once
// A bare cell store that the sort works on, as the grid would: texts only, with the events and settings the
// tests set, and a log of the exchanges the sort asked for.

#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "grid/data/sort_host.h"
#include "grid/model/cellgrid.h"

namespace grid::testing {

class TSortGrid : public TCellGridHost, public TCellGrid, public TSortHost {
 public:
  TSortGrid(int Cols, int Rows) : TCellGrid(static_cast<TCellGridHost&>(*this)), FCols(Cols), FRows(Rows) {}

  int ColCount() const override { return FCols; }
  int RowCount() const override { return FRows; }
  void SetRowCount(int Rows) { FRows = Rows; }

  // Column ACol from row First on gets the texts.
  void FillColumn(int ACol, const QStringList& Texts, int First = 0) {
    for (int i = 0; i < Texts.size(); ++i) SetGridCell(ACol, First + i, Texts[i]);
  }
  QStringList Column(int ACol, int First = 0, int Last = -1) const {
    QStringList out;
    for (int r = First; r <= (Last < 0 ? FRows - 1 : Last); ++r) out << GetGridCell(ACol, r);
    return out;
  }

  // ---- TSortHost
  int SortColCount() const override { return FCols; }
  QString SortText(int ACol, int ARow, bool) override { return GetGridCell(ACol, ARow); }
  // With InPlace the sort reads cells without properties where they stand, as the grid lets it.
  const QString* PlainSortText(int ACol, int ARow, bool) override { return InPlace ? PlainCellRef(ACol, ARow) : nullptr; }
  bool DisplayedEmpty(int ACol, int ARow) override { return GetGridCell(ACol, ARow).isEmpty(); }
  QString StrippedText(int ACol, int ARow) override {
    return GetGridCell(ACol, ARow).remove(QRegularExpression(QStringLiteral("<[^>]*>")));
  }
  bool CheckBoxState(int, int, bool& Checked) override { return Checked = false; }
  long long ImageKey(int, int) override { return -1; }
  bool IsIgnoredColumn(int ACol) const override { return Ignored.count(ACol) > 0; }
  void GetFormat(int ACol, TSortStyle& Style, QString& Prefix, QString& Suffix) override {
    ++FormatAsked;
    if (auto it = Formats.find(ACol); it != Formats.end()) Style = it->second;
    if (OnGetFormat) OnGetFormat(ACol, Style, Prefix, Suffix);
  }
  bool FormatFixed() const override { return Fixed && !OnGetFormat; }
  bool CustomCompare(const QString& S1, const QString& S2, int& Res) override {
    if (!OnCustomCompare) return false;
    Res = OnCustomCompare(S1, S2);
    return true;
  }
  bool RawCompare(int ACol, int ARow1, int ARow2, int& Res) override {
    if (!OnRawCompare) return false;
    Res = OnRawCompare(ACol, ARow1, ARow2);
    return true;
  }
  int NumberKind(const QString& S) override {
    bool ok = false;
    S.toDouble(&ok);
    if (!ok || S.trimmed() != S) return 2;
    return S.contains(u'e') || S.contains(u'E') ? 5 : (S.contains(u'.') ? 1 : 0);
  }
  double ShortDate(const QString& S, bool DayFirst) override {
    const QStringList p = S.split(u'/');
    if (p.size() != 3) return 0;
    const int a = p[0].toInt(), b = p[1].toInt(), y = p[2].toInt();
    const int d = DayFirst ? a : b, m = DayFirst ? b : a;
    return y * 10000.0 + m * 100 + d;
  }
  void SortSwapRows(int ARow1, int ARow2) override {
    Swaps.emplace_back(ARow1, ARow2);
    if (MovingCol >= 0)
      SwapStoreCells(MovingCol, ARow1, ARow2);
    else
      SwapStoreRows(ARow1, ARow2);
    if (ARow1 < static_cast<int>(XRef.size()) && ARow2 < static_cast<int>(XRef.size()))
      std::swap(XRef[static_cast<std::size_t>(ARow1)], XRef[static_cast<std::size_t>(ARow2)]);
  }
  bool SwapsSingleColumn() const override { return MovingCol >= 0; }
  // With OnePass the rows take the sort's order at once; the exchanges are logged as they were told.
  bool SortMoveRows(int First, const std::vector<int>& From, const std::vector<std::pair<int, int>>& Exchanges) override {
    if (!OnePass) return false;
    ++Moves;
    Swaps.insert(Swaps.end(), Exchanges.begin(), Exchanges.end());
    if (MovingCol >= 0)
      PermuteStoreCells(MovingCol, First, From);
    else
      PermuteStoreRows(First, From);
    const int last = First + static_cast<int>(From.size()) - 1;
    if (last < static_cast<int>(XRef.size())) {
      const std::vector<int> was = XRef;
      for (std::size_t k = 0; k < From.size(); ++k)
        XRef[std::size_t(First) + k] = was[std::size_t(From[k])];
    } else {
      // Exchanges with a row past the list leave it alone: not worth a second rule in a test host.
      ADD_FAILURE() << "rows past the cross-reference";
    }
    return true;
  }

  void InitXRef() {
    XRef.resize(static_cast<std::size_t>(FRows));
    for (int i = 0; i < FRows; ++i) XRef[static_cast<std::size_t>(i)] = i;
  }

  std::map<int, TSortStyle> Formats;
  std::set<int> Ignored;
  std::function<void(int, TSortStyle&, QString&, QString&)> OnGetFormat;
  std::function<int(const QString&, const QString&)> OnCustomCompare;
  std::function<int(int, int, int)> OnRawCompare;
  std::vector<std::pair<int, int>> Swaps;
  std::vector<int> XRef;
  int MovingCol = -1;
  bool OnePass = false;
  bool InPlace = false;
  int Moves = 0;
  int FormatAsked = 0;
  // The format may be asked once per column.
  bool Fixed = false;

 private:
  int FCols, FRows;
};

}  // namespace grid::testing
