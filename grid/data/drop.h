#pragma once
// What a drop does to the grid: the target cell under the pointer (or the append position below the last row),
// which drags may drop where, the drop arrows, auto-scrolling at the edges, and the drop of text, cells, rich
// text, links and one CSV or spreadsheet file.
//
// TGridDrop owns the drop state of one grid (the selection a drag of this grid started from, the scroll tick)
// and sees the grid through TDropHost. Points are in the grid's client pixels; columns are display columns.

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <optional>

#include "grid/data/clipboard.h"  // TTextSize

namespace grid {

// The options the drop reads (DragDropSettings and a few grid options).
struct TDropOptions {
  bool OleEntireRows = false, OleAppendRows = false, OleInsertRows = false, OleRemoveRows = false;
  bool OleColumnReorder = false, FixedRowAlways = false, RowSelect = false, DisjunctRowSelect = false;
};

// Where the arrows stand: ArwL beside the target row, ArwD above and ArwU below a target column; the points
// are the top-left corners of the arrows (Down: its top; Up: its top at the cell's bottom).
struct TDropArrows {
  bool Left = false, Down = false, Up = false;
  QPoint LeftAt, DownAt, UpAt;
  friend bool operator==(const TDropArrows&, const TDropArrows&) = default;
};

// The cell a drop addresses: (-1, -1) where the point is on no cell; Append: below the last row.
struct TDropTarget {
  int Col = -1, Row = -1;
  bool Append = false;
  bool Exists() const { return Col >= 0 && Row >= 0; }
};

class TDropHost {
 public:
  virtual ~TDropHost() = default;
  virtual TDropOptions DropOptions() const = 0;
  // The counts and cells the rules read.
  virtual TGridDataHost& Data() = 0;
  // Writes a dropped tab-separated text with its first field at (ACol, ARow).
  virtual void PlaceText(int ACol, int ARow, const QString& Text) = 0;
  virtual int TopRow() const = 0;
  virtual int LeftCol() const = 0;
  virtual int VisibleRowCount() const = 0;
  virtual int VisibleColCount() const = 0;
  virtual void SetTopRow(int Value) = 0;
  virtual void SetLeftCol(int Value) = 0;
  // The cell under a client point ((-1, -1) on none) and a cell's rectangle in client pixels.
  virtual QPoint CellAt(QPoint Pt) const = 0;
  virtual plat::TRect CellRect(int ACol, int ARow) const = 0;
  virtual void SetSelection(plat::TRect R) = 0;
  virtual plat::TRect Selection() const = 0;
  virtual void InsertRows(int ARow, int Count) = 0;
  // Unselected entries in the disjunct row selection at ARow.
  virtual void InsertRowSelection(int ARow, int Count) { (void)ARow, (void)Count; }
  // Loaders of a dropped file.
  virtual void LoadCSV(const QString& FileName) = 0;
  virtual void LoadWorkbook(const QString& FileName) = 0;
  virtual void ShowArrows(const TDropArrows& Arrows) = 0;
  // Events of the application; the defaults allow.
  virtual void OleDragOver(int ARow, int ACol, bool& Allow) { (void)ARow, (void)ACol, (void)Allow; }
  virtual void OleDrop(int ARow, int ACol, const QString& Data, bool& Allow) { (void)ARow, (void)ACol, (void)Data, (void)Allow; }
  virtual void OleDropURL(int ARow, int ACol, const QString& URL, bool& Allow) { (void)ARow, (void)ACol, (void)URL, (void)Allow; }
  virtual void OleDropFile(int ARow, int ACol, const QString& File, bool& Allow) { (void)ARow, (void)ACol, (void)File, (void)Allow; }
  virtual void OleDropped(plat::TRect R) { (void)R; }
};

// The kind of a dropped file, by its extension alone (in any letter case): 1 CSV, 2 workbook, 0 other.
int DroppedFileKind(const QString& FileName);

class TGridDrop {
 public:
  explicit TGridDrop(TDropHost& Host) : FHost(Host) {}

  TDropTarget Target(QPoint Pt, bool ColumnDrag) const;
  // Every pointer move of a drag over the grid: Allow in is the drag's own answer, out whether it may drop
  // here. Scrolls at the edges and places the arrows.
  void DragMove(QPoint Pt, bool& Allow, bool ColumnDrag, bool FilesOrCells);
  void DragLeave();
  // Each drop answers whether it took anything.
  bool DropText(QPoint Pt, const QString& Text);
  bool DropRTF(QPoint Pt, const QString& RTF);
  bool DropURL(QPoint Pt, const QString& URL);
  bool DropFiles(QPoint Pt, const QStringList& Files);

  // The selection a drag of this grid started from, while it runs; a text drop above it moves it down with the
  // rows it inserts, so that a move removes the right rows afterwards.
  void SetDropSelection(std::optional<plat::TRect> R) { FDropSelection = R; }
  std::optional<plat::TRect> DropSelection() const { return FDropSelection; }

 private:
  void AutoScroll(QPoint Pt, const TDropTarget& T);
  TDropArrows ArrowsFor(const TDropTarget& T, bool ColumnDrag) const;
  plat::TRect CellBox(int ACol, int ARow) const;
  void HideArrows() { FHost.ShowArrows({}); }

  TDropHost& FHost;
  std::optional<plat::TRect> FDropSelection;
  int FTicks = 0;
};

}  // namespace grid
