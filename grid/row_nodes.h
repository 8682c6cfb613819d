#pragma once
// Rows shown as a tree. A node row carries a ctNode cell object in column 0 and owns the rows below it (its
// span, counting the node row; 0 means up to the next node row). Contracting a node hides the other rows of
// its span through the hidden-row store, expanding brings them back in place; rows inside a span carry their
// nesting level in their column-0 cell properties. Any cell may also hold an expand button (ctExpand) that
// remembers a normal and an expanded row height.
//
// Grouping builds such a tree from a column: it inserts a header node before each run of equal values,
// optionally a summary row after each group, and removes the grouped column; ungrouping undoes all of it.
// Group calculations write sums, averages and the like into the summary (or header) rows.
//
// Row arguments are display rows unless they are named "real".

#include <QList>
#include <QString>

#include "grid/model/cell_graphic.h"

namespace grid {

class TExtStringGrid;

class TGridNodes {
 public:
  explicit TGridNodes(TExtStringGrid& Grid) : FGrid(Grid) {}

  // ---- nodes
  void AddNode(int ARowReal, int Span);
  void AddSummary(int ARowReal);
  void RemoveNode(int ARowReal);
  void RemoveAllNodes();
  bool IsNode(int ARow) const;
  bool IsSummary(int ARow) const;
  int NumNodes() const { return FNumNodes; }
  // Counts the node rows again after cells came in from a stream: rows from FixedRows on whose column-0 cell
  // is a node cell; column 0 is repainted when there are any.
  void RecountNodes();
  bool GetNodeState(int ARow) const;
  void SetNodeState(int ARow, bool Contracted);
  int GetNodeLevel(int ARow) const;
  int GetNodeSpan(int ARow) const;
  void SetNodeSpan(int ARow, int Span);
  void UpdateNodeSpan(int ARow, int Delta);
  int GetSubNodeCount(int ARow) const;
  void UpdateSubNodeCount(int ARow, int Delta);
  // 0 node row, 2 the tree line goes on below, 1 it ends here.
  int GetNodeSpanType(int ARow) const;
  int GetParentRow(int ARow) const;
  void ExpandNode(int ARowReal);
  void ExpandNodeRows(int ARowReal);
  void ContractNode(int ARowReal);
  void ExpandAll();
  void ContractAll();
  void InsertNormalRow(int ARowReal);
  void RemoveNormalRow(int ARow);
  void InsertChildRow(int ARowReal, int InsertAt);
  void RemoveChildRow(int ARowReal);

  // ---- expandable cells (base cell of a merged area)
  void AddExpand(int ACol, int ARow, int ExpandedHeight);
  bool HasExpand(int ACol, int ARow) const;
  void RemoveExpand(int ACol, int ARow);
  bool ToggleExpand(int ACol, int ARow);
  bool GetExpandState(int ACol, int ARow) const;
  int GetExpandHeight(int ACol, int ARow, bool Expanded) const;

  // The node object of a row (display), nullptr for other rows.
  TCellGraphic* NodeAt(int ARow) const;

 private:
  // The level of any row (0 without cell properties).
  int LevelOf(int ARow) const;
  void ChangeLevels(int From, int Count, int Delta);
  // The first node row after ARow (display), or RowCount.
  int NextNodeRow(int ARow) const;
  void MoveRowContents(int From, int To);

  TExtStringGrid& FGrid;
  int FNumNodes = 0;
};

class TGridGrouping {
 public:
  TGridGrouping(TExtStringGrid& Grid, TGridNodes& Nodes) : FGrid(Grid), FNodes(Nodes) {}

  void Group(int Colindex);
  void UnGroup();
  // One level deeper in a grouped grid: inside each group, a child header row (text in the column right of
  // Colindex) becomes a node over each run of equal values of Colindex, whose cells are emptied; the node
  // remembers Colindex. SubUnGroup gives the values back and removes those headers; UnGroup does it first.
  void SubGroup(int Colindex);
  void SubUnGroup(int Colindex);
  // Method: 1 sum, 2 average, 3 minimum, 4 maximum, 5 count, 6 custom (OnGroupCalc), 7 distinct values,
  // 8 population standard deviation.
  void GroupCalc(int ACol, int Method);
  bool IsGrouping() const { return FIsGrouping; }
  int GroupColumn() const { return FGroupColumn; }

 private:
  void HeaderLook(int ARow);
  void SummaryLook(int ARow);
  // Closes the group whose header is H and whose rows end before A; answers the header's new place.
  int CloseGroup(int H, int A);
  void MergeLooks();
  void InsertSummaryRow(int ARow);
  void SubHeaderLook(int ARow, int TextCol);
  void CloseSubGroup(int H, int A, int Colindex);
  void ClearRowLook(int ARow, bool Merged);
  double Calc(int ACol, int From, int To, int Method);
  bool IsHeaderText(int ACol, int ARow) const;

  TExtStringGrid& FGrid;
  TGridNodes& FNodes;
  int FGroupColumn = -1;
  QString FGroupCaption, FGroupFooter;
  int FGroupWidth = 0;
  bool FIsGrouping = false;
  QList<int> FSubGroups;
};

}  // namespace grid
