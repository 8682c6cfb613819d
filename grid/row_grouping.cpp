// Grouping rows under header nodes by the values of a column, and the calculations that fill the summary
// (or header) rows.
#include <QSet>

#include <algorithm>
#include <cmath>
#include <limits>

#include "grid/extgrid.h"
#include "grid/row_nodes.h"
#include "platform/graphics/color.h"

namespace grid {

namespace {

plat::TColor Rgb(plat::TColor C) { return C == plat::clNone ? C : plat::ColorToRGB(C); }

}  // namespace

void TGridGrouping::HeaderLook(int ARow) {
  const TGrouping& o = *FGrid.Grouping();
  if (o.MergeHeader) return;
  if (o.HeaderColor != plat::clNone) FGrid.SetRowColor(ARow, Rgb(o.HeaderColor));
  if (o.HeaderColorTo != plat::clNone) FGrid.SetRowColorTo(ARow, Rgb(o.HeaderColorTo));
  if (o.HeaderTextColor != plat::clNone) FGrid.SetRowFontColor(ARow, Rgb(o.HeaderTextColor));
}

void TGridGrouping::SummaryLook(int ARow) {
  const TGrouping& o = *FGrid.Grouping();
  if (o.MergeSummary && o.Summary) return;
  if (o.SummaryColor != plat::clNone) FGrid.SetRowColor(ARow, Rgb(o.SummaryColor));
  if (o.SummaryColorTo != plat::clNone) FGrid.SetRowColorTo(ARow, Rgb(o.SummaryColorTo));
  if (o.SummaryTextColor != plat::clNone) FGrid.SetRowFontColor(ARow, Rgb(o.SummaryTextColor));
}

// With summaries, every group but the first gets its predecessor's summary row in front of its header.
int TGridGrouping::CloseGroup(int H, int A) {
  if (H > FGrid.FixedRows() && FGrid.Grouping()->Summary) {
    FGrid.InsertRows(H, 1);
    FNodes.AddSummary(FGrid.RealRowIndex(H));
    SummaryLook(H);
    FNodes.AddNode(FGrid.RealRowIndex(H + 1), A - H);
    return H + 1;
  }
  FNodes.AddNode(FGrid.RealRowIndex(H), A - H);
  return H;
}

void TGridGrouping::Group(int Colindex) {
  if (Colindex < FGrid.FixedCols()) return;
  if (FGroupColumn > 0) FGrid.UnGroup();
  if (FGrid.RowCount() - FGrid.FixedRows() - FGrid.FixedFooters() <= 0) return;
  FGrid.BeginUpdate();
  FIsGrouping = true;
  FGroupColumn = Colindex;
  FGroupWidth = FGrid.AllColWidths(Colindex);
  FGroupCaption = FGrid.FixedRows() > 0 ? FGrid.Cells(Colindex, 0) : QString();
  FGroupFooter = FGrid.FixedFooters() > 0 ? FGrid.Cells(Colindex, FGrid.RowCount() - 1) : QString();
  // Equal values must stand together to fall into one group: the data services sort by the column.
  if (FGrid.SortSettings()->AutoSortForGrouping) {
    FGrid.SortSettings()->SetColumn(Colindex);
    FGrid.QSort();
  }
  const int textCol = Colindex == 1 ? 2 : 1;
  int header = -1;
  QString previous;
  for (int a = FGrid.FixedRows(); a < FGrid.RowCount() - FGrid.FixedFooters(); ++a) {
    const QString text = FGrid.Cells(Colindex, a);
    if (header >= 0 && text == previous) continue;
    if (header >= 0 && CloseGroup(header, a) != header) ++a;
    FGrid.InsertRows(a, 1);
    FGrid.SetCells(textCol, a, text);
    HeaderLook(a);
    header = a;
    previous = text;
    ++a;  // past the header, onto the row that started the group
  }
  const int end = FGrid.RowCount() - FGrid.FixedFooters();
  if (header >= 0) {
    CloseGroup(header, end + 0);
  } else {
    FNodes.AddNode(FGrid.RealRowIndex(FGrid.FixedRows()), end - FGrid.FixedRows());
  }
  if (FGrid.Grouping()->Summary) {
    const int at = FGrid.RowCount() - FGrid.FixedFooters();
    FGrid.InsertRows(at, 1);
    FNodes.AddSummary(FGrid.RealRowIndex(at));
    SummaryLook(at);
  }
  FGrid.RemoveCols(Colindex, 1);
  MergeLooks();
  if (FGrid.CellNode()->ExpandOne)
    for (int r = FGrid.FixedRows(); r < FGrid.RowCount(); ++r)
      if (FNodes.IsNode(r)) {
        FNodes.ExpandNode(FGrid.RealRowIndex(r));
        break;
      }
  if (FGrid.Col() >= FGrid.ColCount() || FGrid.Row() >= FGrid.RowCount())
    FGrid.MoveCurrentCell(FGrid.FixedCols(), FGrid.FixedRows());
  if (FGrid.RowCount() > FGrid.FixedRows()) FGrid.SetRow(FGrid.FixedRows());
  FIsGrouping = false;
  FGrid.EndUpdate();
}

// A summary row at ARow, merged across the columns right of the node column and coloured cell-wise with
// MergeSummary, else in row colours.
void TGridGrouping::InsertSummaryRow(int ARow) {
  FGrid.InsertRows(ARow, 1);
  FNodes.AddSummary(FGrid.RealRowIndex(ARow));
  SummaryLook(ARow);
  const TGrouping& o = *FGrid.Grouping();
  if (!o.MergeSummary || FGrid.ColCount() < 2) return;
  FGrid.MergeCells(1, ARow, FGrid.ColCount() - 1, 1);
  if (o.SummaryColor != plat::clNone) FGrid.SetColors(1, ARow, Rgb(o.SummaryColor));
  if (o.SummaryColorTo != plat::clNone) FGrid.SetColorsTo(1, ARow, Rgb(o.SummaryColorTo));
  if (o.SummaryTextColor != plat::clNone) FGrid.SetFontColors(1, ARow, Rgb(o.SummaryTextColor));
}

void TGridGrouping::MergeLooks() {
  const TGrouping& o = *FGrid.Grouping();
  const int last = FGrid.ColCount() - 1;
  if (last < 1) return;
  for (int r = FGrid.FixedRows(); r < FGrid.RowCount() - FGrid.FixedFooters(); ++r) {
    const bool header = o.MergeHeader && FNodes.IsNode(r);
    const bool summary = o.MergeSummary && o.Summary && FNodes.IsSummary(r);
    if (!header && !summary) continue;
    FGrid.MergeCells(1, r, last, 1);
    const plat::TColor from = header ? o.HeaderColor : o.SummaryColor;
    const plat::TColor to = header ? o.HeaderColorTo : o.SummaryColorTo;
    const plat::TColor text = header ? o.HeaderTextColor : o.SummaryTextColor;
    if (from != plat::clNone) FGrid.SetColors(1, r, Rgb(from));
    if (to != plat::clNone) FGrid.SetColorsTo(1, r, Rgb(to));
    if (text != plat::clNone) FGrid.SetFontColors(1, r, Rgb(text));
  }
}

void TGridGrouping::ClearRowLook(int ARow, bool Merged) {
  if (Merged) {
    if (FGrid.HasCellProperties(1, ARow) && FGrid.IsMergedCell(1, ARow)) FGrid.SplitCells(1, ARow);
    return;
  }
  for (int c = 0; c < FGrid.AllColCount(); ++c)
    if (FGrid.HasCellProperties(c, ARow)) {
      TCellProperties* p = FGrid.GetGridObject(c, ARow);
      p->SetBrushColor(plat::clNone);
      p->SetBrushColorTo(plat::clNone);
      p->FontColor = plat::clNone;
    }
}

void TGridGrouping::UnGroup() {
  if (FGroupColumn <= 0) return;
  while (!FSubGroups.isEmpty()) SubUnGroup(FSubGroups.last());
  TGrouping& o = *FGrid.Grouping();
  const bool expandOne = FGrid.CellNode()->ExpandOne;
  FGrid.CellNode()->ExpandOne = false;
  FNodes.ExpandAll();
  const int col = FGroupColumn;
  FGrid.BeginUpdate();
  FGrid.InsertCols(col, 1);
  FGrid.SetAllColWidths(col, FGroupWidth);
  if (FGrid.FixedRows() > 0) FGrid.SetCells(col, 0, FGroupCaption);
  if (FGrid.FixedFooters() > 0) FGrid.SetCells(col, FGrid.RowCount() - 1, FGroupFooter);
  FIsGrouping = true;
  const int textCol = col == 1 ? 2 : 1;
  QString group;
  for (int r = FGrid.FixedRows(); r < FGrid.RowCount() - FGrid.FixedFooters();) {
    if (FNodes.IsSummary(r)) {  // a summary row not behind a node span (the last one)
      ClearRowLook(r, o.MergeSummary);
      FGrid.FreeCellPropertiesAt(0, r);
      FGrid.RemoveRows(r, 1);
      continue;
    }
    if (!FNodes.IsNode(r)) {
      FGrid.SetCells(col, r, group);
      ++r;
      continue;
    }
    const int span = FNodes.GetNodeSpan(r);
    if (o.Summary && FNodes.IsSummary(r + span)) {
      ClearRowLook(r + span, o.MergeSummary);
      FGrid.FreeCellPropertiesAt(0, r + span);
      FGrid.RemoveRows(r + span, 1);
    }
    group = FGrid.Cells(textCol, r);
    FNodes.RemoveNode(FGrid.RealRowIndex(r));
    ClearRowLook(r, o.MergeHeader);
    FGrid.FreeCellPropertiesAt(0, r);
    FGrid.RemoveRows(r, 1);
  }
  FIsGrouping = false;
  FGroupColumn = -1;
  FGrid.CellNode()->ExpandOne = expandOne;
  FGrid.EndUpdate();
  FGrid.Invalidate();
}

// ---------------------------------------------------------------- sub-grouping

void TGridGrouping::SubHeaderLook(int ARow, int TextCol) {
  const TGrouping& o = *FGrid.Grouping();
  if (!o.MergeHeader) {
    HeaderLook(ARow);
    return;
  }
  const int last = FGrid.ColCount() - 1;
  if (last > TextCol) FGrid.MergeCells(TextCol, ARow, last - TextCol + 1, 1);
  if (o.HeaderColor != plat::clNone) FGrid.SetColors(TextCol, ARow, Rgb(o.HeaderColor));
  if (o.HeaderColorTo != plat::clNone) FGrid.SetColorsTo(TextCol, ARow, Rgb(o.HeaderColorTo));
  if (o.HeaderTextColor != plat::clNone) FGrid.SetFontColors(TextCol, ARow, Rgb(o.HeaderTextColor));
}

// A sub-group header H whose rows end before A becomes a node that names the sub-grouped column.
void TGridGrouping::CloseSubGroup(int H, int A, int Colindex) {
  if (H < 0 || A <= H) return;
  FNodes.AddNode(FGrid.RealRowIndex(H), A - H);
  if (TCellGraphic* g = FNodes.NodeAt(H)) g->CellVar = Colindex;
}

void TGridGrouping::SubGroup(int Colindex) {
  if (Colindex < FGrid.FixedCols() || Colindex >= FGrid.ColCount() || FSubGroups.contains(Colindex)) return;
  const bool expandOne = FGrid.CellNode()->ExpandOne;
  FGrid.CellNode()->ExpandOne = false;
  FGrid.BeginUpdate();
  FNodes.ExpandAll();
  FIsGrouping = true;
  FSubGroups.append(Colindex);
  const int textCol = std::min(Colindex + 1, FGrid.ColCount() - 1);
  int header = -1;
  QString kept;
  bool inRun = false, afterSummary = false;
  for (int a = FGrid.FixedRows(); a < FGrid.RowCount() - FGrid.FixedFooters(); ++a) {
    // Node and summary rows end a run: sub-groups never reach across groups.
    if (FNodes.IsNode(a) || FNodes.IsSummary(a)) {
      CloseSubGroup(header, a, Colindex);
      header = -1;
      inRun = false;
      afterSummary = FNodes.IsSummary(a);
      continue;
    }
    afterSummary = false;
    const QString text = FGrid.Cells(Colindex, a);
    if (!inRun || text != kept) {
      CloseSubGroup(header, a, Colindex);
      FNodes.InsertChildRow(FGrid.RealRowIndex(a), 0);
      FGrid.SetCells(textCol, a, text);
      SubHeaderLook(a, textCol);
      header = a++;
      kept = text;
      inRun = true;
    }
    FGrid.SetCells(Colindex, a, QString());
  }
  // The last sub-group gets a summary row of its own unless a group's summary row already ends the grid.
  if (!afterSummary) {
    const int end = FGrid.RowCount() - FGrid.FixedFooters();
    CloseSubGroup(header, end, Colindex);
    if (FGrid.Grouping()->Summary) InsertSummaryRow(end);
  }
  if (FGrid.RowCount() > FGrid.FixedRows()) FGrid.SetRow(FGrid.FixedRows());
  FIsGrouping = false;
  FGrid.CellNode()->ExpandOne = expandOne;
  FGrid.EndUpdate();
}

void TGridGrouping::SubUnGroup(int Colindex) {
  if (!FSubGroups.removeOne(Colindex)) return;
  const bool expandOne = FGrid.CellNode()->ExpandOne;
  FGrid.CellNode()->ExpandOne = false;
  FGrid.BeginUpdate();
  FNodes.ExpandAll();
  FIsGrouping = true;
  const int textCol = std::min(Colindex + 1, FGrid.ColCount() - 1);
  const bool merged = FGrid.Grouping()->MergeHeader;
  QString text;
  for (int r = FGrid.FixedRows(); r < FGrid.RowCount() - FGrid.FixedFooters();) {
    const TCellGraphic* g = FNodes.NodeAt(r);
    if (g && g->CellVar.toInt() == Colindex) {
      text = FGrid.Cells(textCol, r);
      FNodes.RemoveNode(FGrid.RealRowIndex(r));
      ClearRowLook(r, merged);
      FGrid.FreeCellPropertiesAt(0, r);
      FNodes.RemoveChildRow(FGrid.RealRowIndex(r));
      continue;
    }
    if (g || FNodes.IsSummary(r))
      text.clear();
    else
      FGrid.SetCells(Colindex, r, text);
    ++r;
  }
  FIsGrouping = false;
  FGrid.CellNode()->ExpandOne = expandOne;
  FGrid.EndUpdate();
  FGrid.Invalidate();
}

// ---------------------------------------------------------------- group calculations

double TGridGrouping::Calc(int ACol, int From, int To, int Method) {
  std::vector<double> v;
  for (int r = From; r <= To; ++r) {
    bool ok = false;
    const double d = FGrid.Cells(ACol, r).trimmed().toDouble(&ok);
    if (ok) v.push_back(d);
  }
  double sum = 0;
  for (double d : v) sum += d;
  switch (Method) {
    case 1: return sum;
    case 2: return v.empty() ? 0 : sum / double(v.size());
    case 3: return v.empty() ? 0 : *std::min_element(v.begin(), v.end());
    case 4: return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
    case 6: {
      double res = 0;
      if (FGrid.OnGroupCalc) FGrid.OnGroupCalc(&FGrid, ACol, From, To, res);
      return res;
    }
    case 7: {
      QSet<QString> seen;
      for (int r = From; r <= To; ++r) seen.insert(FGrid.Cells(ACol, r));
      return double(seen.size());
    }
    case 8: {
      if (v.empty()) return 0;
      const double mean = sum / double(v.size());
      double sq = 0;
      for (double d : v) sq += (d - mean) * (d - mean);
      return std::sqrt(sq / double(v.size()));
    }
    default: return 0;
  }
}

// The cell of a header row that holds the group's (or sub-group's) value, merged over or not: ungrouping
// takes the value from there, so no calculation may overwrite it.
bool TGridGrouping::IsHeaderText(int ACol, int ARow) const {
  const TCellGraphic* g = FNodes.NodeAt(ARow);
  if (!g) return false;
  const int var = g->CellVar.toInt();
  const int textCol = var < 0 ? 1 : std::min(var + 1, FGrid.ColCount() - 1);
  return FGrid.BaseCell(ACol, ARow) == FGrid.BaseCell(textCol, ARow);
}

void TGridGrouping::GroupCalc(int ACol, int Method) {
  const bool summary = FGrid.Grouping()->Summary;
  // The shown footer takes the same calculation for the column (the custom, distinct and deviation ones
  // leave it alone).
  static constexpr TColumnCalcType footerCalc[] = {acNONE, acSUM, acAVG, acMIN, acMAX, acCOUNT};
  if (Method >= 1 && Method <= 5 && FGrid.FloatingFooter()->Visible())
    FGrid.FloatingFooter()->SetColumnCalc(ACol, footerCalc[Method]);
  for (int n = FGrid.FixedRows(); n < FGrid.RowCount();) {
    const TCellGraphic* g = FNodes.NodeAt(n);
    if (!g || g->CellBoolean) {
      ++n;
      continue;
    }
    const int span = std::max(g->CellIndex, 1);
    // A node without a summary row behind it (Summary switched on after grouping) takes the result itself:
    // the row behind it is the next group's.
    const int target = summary && FNodes.IsSummary(n + span) ? n + span : n;
    if (target < FGrid.RowCount() && !IsHeaderText(ACol, target)) {
      if (Method == 5)
        FGrid.SetInts(ACol, target, span - 1);
      else
        FGrid.SetFloats(ACol, target, Calc(ACol, n + 1, n + span - 1, Method));
    }
    n += span;
  }
}

}  // namespace grid
