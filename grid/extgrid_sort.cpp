// The string grid's sorting: the frame a sort runs in (update bracket, floating footer, column 0, current
// row, scroll position) around the data services' quicksort, the grid's side of that sort (texts, formats,
// comparison events, the row exchange), and the sort settings' text.
#include <QElapsedTimer>

#include <typeinfo>

#include "controls/text_utils.h"
#include "grid/data/grid_sorter.h"
#include "grid/data/sort_text.h"
#include "grid/extgrid.h"
#include "platform/rtl/exceptions.h"

namespace grid {

namespace {

class TGridSortHost : public TSortHost {
 public:
  explicit TGridSortHost(TExtStringGrid& Grid) : G(Grid) {}

  // Hidden columns keep their cells at their real indexes, so the tie-break reaches them as it is.
  int SortColCount() const override { return G.AllColCount(); }
  QString SortText(int ACol, int ARow, bool Displayed) override {
    return Displayed ? G.Cells(ACol, ARow) : G.GridCells(ACol, ARow);
  }
  const QString* PlainSortText(int ACol, int ARow, bool Displayed) override {
    // The shown text is the stored one while no display-text hook changes it: no handler, no anchored web
    // addresses and, in column 1, no node counts.
    if (Displayed && (G.OnGetDisplText || G.OnGetDisplWideText || G.URLShowInText() ||
                      (ACol == 1 && G.Grouping()->ShowGroupCount)))
      return nullptr;
    return G.CellStore().PlainCellRef(ACol, ARow);
  }
  bool DisplayedEmpty(int ACol, int ARow) override { return G.Cells(ACol, ARow).isEmpty(); }
  QString StrippedText(int ACol, int ARow) override { return G.StrippedCells(ACol, ARow); }
  bool CheckBoxState(int ACol, int ARow, bool& Checked) override {
    Checked = false;
    if (!G.HasCheckBox(ACol, ARow)) return false;
    G.GetCheckBoxState(ACol, ARow, Checked);
    return true;
  }
  long long ImageKey(int ACol, int ARow) override { return G.CellObjects().GetCellImageKey(ACol, ARow); }
  bool IsIgnoredColumn(int ACol) const override { return G.Hiding().IsIgnoredColumn(ACol); }
  void GetFormat(int ACol, TSortStyle& Style, QString& Prefix, QString& Suffix) override {
    G.DoGetFormat(ACol, Style, Prefix, Suffix);
  }
  // A column grid's format is its column's; only a format handler may answer differently per comparison.
  bool FormatFixed() const override { return !G.OnGetFormat; }
  bool CustomCompare(const QString& S1, const QString& S2, int& Res) override {
    if (!G.OnCustomCompare) return false;
    G.OnCustomCompare(&G, S1, S2, Res);
    return true;
  }
  bool RawCompare(int ACol, int ARow1, int ARow2, int& Res) override {
    if (!G.OnRawCompare) return false;
    G.OnRawCompare(&G, ACol, ARow1, ARow2, Res);
    return true;
  }
  int NumberKind(const QString& S) override { return controls::NumericTextKind(S); }
  double ShortDate(const QString& S, bool DayFirst) override {
    try {
      return DayFirst ? controls::ParseDateDMY(S) : controls::ParseDateMDY(S);
    } catch (const plat::Exception&) {
      return 0;
    }
  }
  void SortSwapRows(int ARow1, int ARow2) override { G.SortSwapRows(ARow1, ARow2); }
  bool SwapsSingleColumn() const override { return G.SortSettings()->SortSingleColumn; }
  bool SortMoveRows(int First, const std::vector<int>& From, const std::vector<std::pair<int, int>>& Swaps) override;

 private:
  // The rows may take their places in one pass only while the grid's own SortSwapRows is the one that
  // would run: a descendant that replaced it sees every exchange.
  bool OwnSwap() const {
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpmf-conversions"
    using TSwapFn = void (*)(TExtStringGrid*, int, int);
    return reinterpret_cast<TSwapFn>(G.*(&TExtStringGrid::SortSwapRows)) ==
           reinterpret_cast<TSwapFn>(&TExtStringGrid::SortSwapRows);
#pragma GCC diagnostic pop
#else
    return typeid(G) == typeid(TExtStringGrid);
#endif
  }

  TExtStringGrid& G;
};

// What the grid's SortSwapRows does for each of Swaps, done once for the whole order: the count, the
// cross-reference, the cells (whole rows with their heights, selection and modified flags, or the sort
// column's cells alone) and SortRow.
bool TGridSortHost::SortMoveRows(int First, const std::vector<int>& From, const std::vector<std::pair<int, int>>& Swaps) {
  const int n = static_cast<int>(From.size());
  TIntList& xref = *G.SortRowXRef();
  // Exchanges with a row past the cross-reference leave it alone: those the exchanges themselves handle.
  if (!OwnSwap() || First < 0 || n == 0 || First + n > G.RowCount() || First + n > xref.Count()) return false;
  G.SetSwaps(G.Swaps() + static_cast<int>(Swaps.size()));
  std::vector<char> touched(static_cast<std::size_t>(n));
  for (const auto& s : Swaps) touched[std::size_t(s.first - First)] = touched[std::size_t(s.second - First)] = 1;
  std::vector<int> rows;
  for (int k = 0; k < n; ++k)
    if (touched[std::size_t(k)]) rows.push_back(First + k);
  // A per-row value of the range read once and written back where it changed.
  const auto permute = [&](auto get, auto set) {
    std::vector<decltype(get(0))> was(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) was[std::size_t(k)] = get(First + k);
    for (int k = 0; k < n; ++k) {
      const std::size_t src = std::size_t(From[std::size_t(k)] - First);
      if (src != std::size_t(k) && was[std::size_t(k)] != was[src]) set(First + k, was[src]);
    }
  };
  permute([&](int r) { return xref[r]; }, [&](int r, int v) { xref.SetItems(r, v); });
  if (G.SortSettings()->SortSingleColumn) {
    G.RowColOps().PermuteColumnCells(G.SortSettings()->Column(), First, From, rows);
    return true;
  }
  G.RowColOps().PermuteRows(First, From, rows);
  if (G.MouseActions()->DisjunctRowSelect() && G.Navigation()->MoveRowOnSort) {
    const bool hidden = G.NumHiddenRows() > 0;
    const auto real = [&](int r) { return hidden ? G.RealRowIndex(r) : r; };
    permute([&](int r) { return G.GetRowSelect(real(r)); }, [&](int r, bool v) { G.SetRowSelect(real(r), v); });
  }
  if (G.ShowModified()->Enabled)
    permute([&](int r) { return G.RowModified(r); }, [&](int r, bool v) { G.SetRowModified(r, v); });
  const int sortRow = G.SortRow();
  if (sortRow >= First && sortRow < First + n)
    for (int k = 0; k < n; ++k)
      if (From[std::size_t(k)] == sortRow) {
        G.SetSortRow(First + k);
        break;
      }
  return true;
}

// What a sort changes only for its duration, put back when it ends, also when a comparison raises.
class TSortFrame {
 public:
  TSortFrame(TExtStringGrid& Grid, bool Footers) : G(Grid), FFooters(Footers) {
    TSortSettings& s = *G.SortSettings();
    if (s.NormalCellsOnly && G.FixedCols() > 0)
      for (int r = 0; r < G.RowCount(); ++r) FColumn0.push_back(G.GridCells(0, r));
    FTopRow = G.TopRow();
    G.BeginUpdate();
    if (FFooters) {
      FFooterVisible = G.FloatingFooter()->Visible();
      FFixedFooters = G.FixedFooters();
      if (FFooterVisible) G.FloatingFooter()->SetVisible(false);
    }
    FRow = G.Row();
    G.SetSortRow(G.Row());
  }
  ~TSortFrame() {
    for (int r = 0; r < static_cast<int>(FColumn0.size()) && r < G.RowCount(); ++r)
      G.SetGridCells(0, r, FColumn0[static_cast<std::size_t>(r)]);
    if (G.Navigation()->KeepScrollOnSort) G.SetTopRow(FTopRow);
    if (FFooters) {
      if (FFooterVisible) G.FloatingFooter()->SetVisible(true);
      G.SetFixedFooters(FFixedFooters);
    }
    G.EndUpdate();
    if (FFooters && FFooterVisible) G.UpdateFooter();
  }
  // The current row follows its row through the sort with MoveRowOnSort, else stays where it was.
  void RestoreRow(bool Always) {
    if (!Always && G.MouseActions()->DisjunctRowSelect()) return;
    const int row = G.Navigation()->MoveRowOnSort ? G.SortRow() : FRow;
    if (row >= 0 && row < G.RowCount() && row != G.Row()) G.SetRow(row);
  }

 private:
  TExtStringGrid& G;
  bool FFooters;
  std::vector<QString> FColumn0;
  int FTopRow = 0, FRow = 0, FFixedFooters = 0;
  bool FFooterVisible = false;
};

int SortSign(TSortDirection D) { return D == sdAscending ? 1 : -1; }

}  // namespace

void TExtStringGrid::InitSortXRef() {
  TIntList& x = *SortRowXRef();
  x.Clear();
  for (int r = 0; r < RowCount(); ++r) x.Insert(r, r);
}

void TExtStringGrid::QSort() {
  TSortSettings& s = FSortSettings;
  if (s.Column() < 0) return;
  if (RowCount() != SortRowXRef()->Count()) InitSortXRef();
  s.Keys().clear();
  // The footer rows, the floating footer's included, stay out (hiding that footer drops its fixed row).
  const int last = RowCount() - FixedFooters() - 1;
  TSortFrame frame(*this, true);
  TGridSortHost host(*this);
  TGridSorter sorter(host, s.Options());
  s.SortDir = SortSign(s.Direction());
  sorter.QuickSortRows(s.Column(), FixedRows(), last, s.SortDir,
                       s.SortSingleColumn ? s.Column() : -1);
  frame.RestoreRow(false);
}

void TExtStringGrid::QSortIndexed() {
  TSortSettings& s = FSortSettings;
  if (s.Keys().empty()) throw EExtGridError(QStringLiteral("No indexes specified for indexed sort"));
  if (RowCount() != SortRowXRef()->Count()) InitSortXRef();
  const int last = RowCount() - FixedFooters() - 1;
  TSortFrame frame(*this, true);
  TGridSortHost host(*this);
  TGridSorter sorter(host, s.Options());
  sorter.QuickSortRowsIndexed(s.Keys(), FixedRows(), last,
                              s.SortSingleColumn ? s.Column() : -1);
  frame.RestoreRow(true);
}

void TExtStringGrid::QSortGroup() {
  if (FSortSettings.Column() < 0) return;
  SortGroups(false);
}

void TExtStringGrid::QSortGroupIndexed() {
  if (FSortSettings.Keys().empty()) throw EExtGridError(QStringLiteral("No indexes specified for indexed sort"));
  SortGroups(true);
}

void TExtStringGrid::SortGroups(bool Indexed) {
  TSortSettings& s = FSortSettings;
  if (RowCount() != SortRowXRef()->Count()) InitSortXRef();
  TSortFrame frame(*this, false);
  TGridSortHost host(*this);
  TGridSorter sorter(host, s.Options());
  const int first = FixedRows(), last = RowCount() - FixedFooters() - 1;
  int deepest = 0;
  for (int r = first; r <= last; ++r)
    if (IsNode(r)) deepest = std::max(deepest, GetNodeLevel(r));
  s.SortDir = SortSign(s.Direction());
  const int moving = s.SortSingleColumn ? s.Column() : -1;
  // Only the children of expanded nodes of the deepest level move; the nodes themselves keep their places.
  for (int r = first; r <= last; ++r) {
    if (!IsNode(r) || GetNodeLevel(r) != deepest || NodeState(r) || GetNodeSpan(r) <= 2) continue;
    const int to = std::min(r + GetNodeSpan(r) - 1, last);
    if (Indexed)
      sorter.QuickSortRowsIndexed(s.Keys(), r + 1, to, moving);
    else
      sorter.QuickSortRows(s.Column(), r + 1, to, s.SortDir, moving);
  }
  frame.RestoreRow(true);
}

void TExtStringGrid::QUnSort() {
  TIntList& x = *SortRowXRef();
  std::vector<int> work(x.begin(), x.end());
  {
    TSortFrame frame(*this, false);
    TGridSortHost host(*this);
    TGridSorter sorter(host, FSortSettings.Options());
    // Rows added since the last reset have no place recorded: only the recorded rows go back.
    sorter.QuickUnSortRows(work, 0, std::min(RowCount(), static_cast<int>(work.size())) - 1);
  }
  InitSortXRef();
}

void TExtStringGrid::Sort(int ACol, TSortDirection Direction) {
  FSortSettings.SetColumn(ACol);
  FSortSettings.SetDirection(Direction);
  QSort();
}

void TExtStringGrid::SortByColumn(int ACol) {
  if (RowCount() < 2) return;
  FSortSettings.SetColumn(ACol);
  QSort();
}

void TExtStringGrid::QuickSort(int ACol, int Left, int Right) {
  TSortSettings& s = FSortSettings;
  if (RowCount() != SortRowXRef()->Count()) InitSortXRef();
  TGridSortHost host(*this);
  TGridSorter sorter(host, s.Options());
  s.SortDir = SortSign(s.Direction());
  sorter.QuickSortRows(ACol, Left, Right, s.SortDir, s.SortSingleColumn ? s.Column() : -1);
}

void TExtStringGrid::QuickSortIndexed(int Left, int Right) {
  TSortSettings& s = FSortSettings;
  if (RowCount() != SortRowXRef()->Count()) InitSortXRef();
  TGridSortHost host(*this);
  TGridSorter sorter(host, s.Options());
  sorter.QuickSortRowsIndexed(s.Keys(), Left, Right, s.SortSingleColumn ? s.Column() : -1);
}

bool TExtStringGrid::SortLine(int ACol, int ARow1, int ARow2) {
  TSortSettings& s = FSortSettings;
  TGridSortHost host(*this);
  TCellComparer cmp(host, s.Options());
  for (int c = ACol;; ++c) {
    const int r = cmp.CompareCells(c, ARow1, ARow2, SortSign(s.Direction()));
    if (r != 0 && r == s.SortDir) {
      SortSwapRows(ARow1, ARow2);
      return true;
    }
    if (r != 0 || c >= AllColCount() - 1) return false;
  }
}

// ---- the sort settings -------------------------------------------------------------------------------------

void TSortSettings::SetRow(int V) {
  if (FGrid && V >= FGrid->FixedRows())
    throw plat::Exception(QStringLiteral("Sort row should be smaller than number of fixed rows"));
  FView.Row = V;
}

TSortOptions TSortSettings::Options() const {
  TSortOptions o;
  o.AutoFormat = AutoFormat, o.IgnoreCase = IgnoreCase, o.Full = Full;
  o.IgnoreBlanks = IgnoreBlanks, o.BlankPos = BlankPos, o.SortOnVirtualCells = SortOnVirtualCells;
  return o;
}

void TSortSettings::Assign(const TSortSettings& Source) {
  if (&Source == this) return;
  // The sort keys are the grid's own list, not a setting.
  const std::vector<std::uint32_t> keys = FView.Index;
  FView = Source.FView;
  FView.Index = keys;
  // The glyphs are copied by content: each grid keeps its own bitmaps.
  auto glyphs = std::make_shared<TSortView::TGlyphs>();
  TSortView::TGlyphs& from = *Source.FView.Glyphs;
  glyphs->UpGlyph.Assign(&from.UpGlyph), glyphs->DownGlyph.Assign(&from.DownGlyph);
  glyphs->IndexUpGlyph.Assign(&from.IndexUpGlyph), glyphs->IndexDownGlyph.Assign(&from.IndexDownGlyph);
  FView.Glyphs = glyphs;
  InitSortDirection = Source.InitSortDirection, IndexSortKey = Source.IndexSortKey;
  UndoSort = Source.UndoSort, AutoColumnMerge = Source.AutoColumnMerge;
  SortSingleColumn = Source.SortSingleColumn, AutoSortForGrouping = Source.AutoSortForGrouping;
  AutoFormat = Source.AutoFormat, Full = Source.Full, IgnoreBlanks = Source.IgnoreBlanks;
  BlankPos = Source.BlankPos, NormalCellsOnly = Source.NormalCellsOnly;
  HeaderColor = Source.HeaderColor, HeaderColorTo = Source.HeaderColorTo;
  HeaderMirrorColor = Source.HeaderMirrorColor, HeaderMirrorColorTo = Source.HeaderMirrorColorTo;
}

QString TSortSettings::SaveToString() const {
  TSortState st;
  st.IndexShow = FView.IndexShow;
  st.Column = FView.Column;
  st.Descending = FView.Direction == sdDescending;
  st.Keys = FView.Index;
  return SortStateToString(st);
}

void TSortSettings::LoadFromString(const QString& Value) {
  if (Value.isEmpty()) return;
  const TSortTextRequest req = ParseSortText(Value, FGrid ? FGrid->AllColCount() : 0);
  if (req.Kind == stkIgnored) return;
  SetShow(true);
  if (req.Kind == stkIndexed) {
    SetIndexShow(true);
    if (req.Keys.empty()) return;
    FView.Index = req.Keys;
    if (FGrid) FGrid->QSortIndexed();
    return;
  }
  SetIndexShow(false);
  SetDirection(req.Descending ? sdDescending : sdAscending);
  if (!req.HasColumn) return;
  SetColumn(req.Column);
  if (FGrid) FGrid->QSort();
}

void TSortSettings::Remove() {
  SetColumn(-1);
  FView.Index.clear();
  if (FGrid && FGrid->FixedRows() > 0) FGrid->InvalidateRow(FGrid->FixedRows() - 1);
}

}  // namespace grid
