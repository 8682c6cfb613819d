#pragma once
// A string grid as drag source and drop target. Texts drop into the cells from the cell under the point on
// (tabs to the next column, line breaks to the next row), dragged cells drop as a block at that cell, a
// column dragged inside the grid moves there, rich text and links go into the cell, and one dropped CSV or
// spreadsheet file is loaded. Every drop is clipped to the grid, and the events may refuse it. Where a drop
// may land, the rows it inserts or appends, the arrows and the scrolling at the edges follow TGridDrop
// (grid/data/drop.h).
//
// The cells of a drag travel as the grid's binary stream (grid/data/bin_stream.h) with their properties; a drop
// takes a stream only when all of it reads.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>

#include "grid/input/grid_dnd.h"
#include "platform/grids/grids.h"

namespace plat {
class TListBox;
}

namespace grid {

class TExtStringGrid;
class TGridDrop;
class TGridDropAdapter;

class TGridDropTarget : public TESGDropTarget {
 public:
  TGridDropTarget(TExtStringGrid& Grid, TGridDrop& Drop);

 protected:
  void DropText(QPoint pt, const QString& Text) override;
  void DropStream(QPoint pt, const QByteArray& Stream) override;
  void DropCol(QPoint pt, int Col) override;
  void DropFiles(QPoint pt, const QStringList& Files) override;
  void DropURL(QPoint pt, const QString& URL) override;
  void DropRTF(QPoint pt, const QString& RTF) override;
  void DragMouseMove(QPoint pt, bool& Allow, TDropFormats DropFormats) override;
  void DragMouseLeave() override;

 private:
  // The cell under the point, (-1, -1) outside the cells.
  plat::TGridCoord CellAt(QPoint pt) const;
  // After a drop of Cols x Rows cells at At.
  void Dropped(plat::TGridCoord At, int Cols, int Rows);
  TExtStringGrid& FGrid;
  TGridDrop& FDrop;
};

// The grid's side of a drag it started: remembers the last copy or move effect the targets answered.
class TGridDropSource : public TESGDropSource {
 public:
  int LastEffect() const { return FLastEffect; }

 protected:
  void CurrentEffect(int Effect) override;

 private:
  int FLastEffect = DROPEFFECT_NONE;
};

class TGridDragDrop {
 public:
  explicit TGridDragDrop(TExtStringGrid& Grid);
  ~TGridDragDrop();
  TGridDragDrop(const TGridDragDrop&) = delete;
  TGridDragDrop& operator=(const TGridDragDrop&) = delete;

  // Registers or revokes the grid's window as a drop target (DragDropSettings.OleDropTarget).
  void SetDropTarget(bool Value);
  TGridDropTarget* Target() { return FTarget.get(); }
  // The drop rules of the grid (also while it is no drop target: a drag it started remembers its selection).
  TGridDrop& Drop();
  // Texts row by row from the cell (ACol, ARow) on, clipped to the grid (short rows empty the cells after them).
  void PutTexts(int ACol, int ARow, const QString& Text);
  // Drags the selection (text, the cell (ACol, ARow) as rich text and, with Navigation.AllowFmtClipboard, the
  // cells) or, with ColumnDrag, the column ACol; with DragDropSettings.ShowCells a picture of the dragged cells
  // follows the pointer. A cell drag that ends as a move (and OleCopyAlways off) empties the dragged cells, or
  // with OleRemoveRows and row selection removes their rows. Answers the drag loop's result; OnOleDragStart
  // fires first and, unless the drag was cancelled, OnOleDragStop with the performed effect last.
  TDragResult StartDrag(int ACol, int ARow, bool ColumnDrag);
  // The picture of the display cells of R as they are shown, drawn without the selection and translucent
  // (alpha 192); null when they are not shown.
  QImage CellsPicture(plat::TGridRect R) const;
  // The selection as tab and line separated text.
  QString SelectionText() const;
  // A column chooser list starts dragging its item AIndex for the hidden real column ACol (see the grid's
  // OleColumnDragStart); the next column drop into this grid is that column's.
  void OleColumnDragStart(int ACol, int AIndex, plat::TListBox* AList);
  // The column drop of a list drag at display column ACol (the column count right of the last column) and
  // row ARow: the item leaves the list, the column is shown and moves to ACol; OnOleDropCol may refuse it.
  // Answers nothing when no list drag is announced (Col is then a column of a grid), else whether it dropped.
  std::optional<bool> DropListColumn(int ACol, int ARow, int Col);

 private:
  TDragResult DragColumn(TGridDropSource& Source, int ACol);
  TDragResult DragCells(TGridDropSource& Source, int ACol, int ARow);
  // After a move out of this grid: the dragged cells leave it (but not the cells a drop into this same grid
  // has just written).
  void RemoveMovedCells(plat::TGridRect Dragged);
  TExtStringGrid& FGrid;
  // The announced list drag: the real column, the list's item, the list (-1, -1, null when none).
  int FOleDragCol = -1, FOleDragIndex = -1;
  plat::TListBox* FOleDragList = nullptr;
  std::unique_ptr<TGridDropAdapter> FDropHost;
  std::unique_ptr<TGridDrop> FDrop;
  std::unique_ptr<TGridDropTarget> FTarget;
};

}  // namespace grid
