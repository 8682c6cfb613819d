#include "grid/data/drop.h"

#include <QFileInfo>

#include <algorithm>


namespace grid {

int DroppedFileKind(const QString& FileName) {
  const QString ext = QFileInfo(FileName).suffix().toUpper();
  if (ext == QLatin1String("CSV")) return 1;
  if (ext == QLatin1String("XLS") || ext == QLatin1String("XLSX")) return 2;
  return 0;
}

// ---------------------------------------------------------------- where a drop lands

TDropTarget TGridDrop::Target(QPoint Pt, bool ColumnDrag) const {
  const QPoint c = FHost.CellAt(Pt);
  TDropTarget t{c.x(), c.y(), false};
  if (t.Exists() || ColumnDrag) return t;
  const TDropOptions o = FHost.DropOptions();
  TGridDataHost& d = FHost.Data();
  if (!o.OleEntireRows || !o.OleAppendRows || d.RowCount() < 1) return t;
  // Below the last row, measured in the left-most column in view.
  const plat::TRect last = FHost.CellRect(FHost.LeftCol(), d.RowCount() - 1);
  if (last.Bottom > last.Top && Pt.y() >= last.Bottom) return TDropTarget{d.FixedCols(), d.RowCount() - 1, true};
  return t;
}

plat::TRect TGridDrop::CellBox(int ACol, int ARow) const {
  const int cols = FHost.Data().ColCount();
  if (ACol < cols || cols < 1) return FHost.CellRect(ACol, ARow);
  // The place right of the last column.
  const plat::TRect last = FHost.CellRect(cols - 1, ARow);
  return plat::TRect(last.Right, last.Top, last.Right + (last.Right - last.Left), last.Bottom);
}

TDropArrows TGridDrop::ArrowsFor(const TDropTarget& T, bool ColumnDrag) const {
  const TDropOptions o = FHost.DropOptions();
  TDropArrows a;
  if (ColumnDrag) {
    const plat::TRect box = CellBox(T.Col, T.Row);
    a.Down = a.Up = true;
    a.DownAt = QPoint(box.Left, box.Top - 8);
    a.UpAt = QPoint(box.Left, box.Bottom);
    return a;
  }
  const int col = o.OleEntireRows ? FHost.Data().FixedCols() : T.Col;
  const int row = T.Row == 0 && o.FixedRowAlways ? 1 : T.Row;
  const plat::TRect box = CellBox(col, row);
  a.Left = true;
  a.LeftAt = QPoint(box.Left - 10, T.Append ? box.Bottom : box.Top);
  return a;
}

void TGridDrop::AutoScroll(QPoint Pt, const TDropTarget& T) {
  TGridDataHost& d = FHost.Data();
  const int top = FHost.TopRow(), left = FHost.LeftCol();
  if ((T.Row == 0 && top > d.FixedRows()) || (Pt.y() < 8 && d.FixedRows() == 0 && top > 0))
    FHost.SetTopRow(top - 1);
  else if (T.Row == top + FHost.VisibleRowCount() && T.Row < d.RowCount())
    FHost.SetTopRow(top + 1);
  // Sideways only every second move, so that a pointer at the edge does not race through wide grids.
  if (FTicks++ % 2 != 0) return;
  if (T.Col == 0 && left > d.FixedCols())
    FHost.SetLeftCol(left - 1);
  else if (T.Col == left + FHost.VisibleColCount() && T.Col < d.ColCount())
    FHost.SetLeftCol(left + 1);
}

void TGridDrop::DragMove(QPoint Pt, bool& Allow, bool ColumnDrag, bool FilesOrCells) {
  const TDropOptions o = FHost.DropOptions();
  TGridDataHost& d = FHost.Data();
  TDropTarget t = Target(Pt, ColumnDrag);
  Allow = t.Exists();
  if (!ColumnDrag && Allow) AutoScroll(Pt, t);
  if (!ColumnDrag) {
    if (t.Exists() && t.Row < d.FixedRows() && !(d.RowCount() == 1 && o.FixedRowAlways)) Allow = false;
  } else if (t.Col < 0) {
    t = TDropTarget{d.ColCount(), 0, false};
    Allow = true;
  } else {
    Allow = t.Row < d.FixedRows() && t.Col >= d.FixedCols();
  }
  if (FilesOrCells) Allow = true;
  FHost.OleDragOver(t.Row, t.Col, Allow);
  Allow = Allow && (t.Exists() || FilesOrCells);
  FHost.ShowArrows(Allow && t.Exists() ? ArrowsFor(t, ColumnDrag) : TDropArrows{});
}

void TGridDrop::DragLeave() { HideArrows(); }

// ---------------------------------------------------------------- drops

bool TGridDrop::DropText(QPoint Pt, const QString& Text) {
  const TDropOptions o = FHost.DropOptions();
  TGridDataHost& d = FHost.Data();
  TDropTarget t = Target(Pt, false);
  const TTextSize size = TextSize(Text);
  if (o.RowSelect) t.Col = o.OleEntireRows ? 0 : d.FixedCols();
  bool allow = true;
  FHost.OleDrop(t.Row, t.Col, Text, allow);
  plat::TRect sel = FHost.Selection();
  const bool take = allow && t.Exists();
  if (take) {
    const int added = size.Rows + 1;
    if (FDropSelection && FDropSelection->Top >= t.Row && o.OleRemoveRows) {
      FDropSelection->Top += added;
      FDropSelection->Bottom += added;
      if (o.DisjunctRowSelect) FHost.InsertRowSelection(t.Row, added);
    }
    if (t.Row == 0 && o.FixedRowAlways && d.RowCount() == 1) t.Row = 1;
    if (o.OleInsertRows) {
      const int top = FHost.TopRow();
      if (t.Append) {
        d.SetRowCount(d.RowCount() + added);
        ++t.Row;
      } else {
        FHost.InsertRows(t.Row, added);
      }
      FHost.SetTopRow(top > d.FixedRows() ? top + 1 : top);
    }
    FHost.PlaceText(t.Col, t.Row, Text);
    t.Col = std::max(t.Col, d.FixedCols());
    const int right = o.RowSelect ? t.Col + size.Cols - d.FixedCols() : t.Col + size.Cols - 1;
    sel = plat::TRect(t.Col, t.Row, std::min(right, d.ColCount() - 1), std::min(t.Row + size.Rows, d.RowCount() - 1));
    FHost.SetSelection(sel);
  }
  HideArrows();
  FHost.OleDropped(sel);
  return take;
}

bool TGridDrop::DropRTF(QPoint Pt, const QString& RTF) {
  const TDropTarget t = Target(Pt, false);
  bool allow = true;
  FHost.OleDrop(t.Row, t.Col, RTF, allow);
  HideArrows();
  if (!allow || !t.Exists()) return false;
  FHost.Data().WriteCell(FHost.Data().DisplToRealCol(t.Col), t.Row, RTF);
  return true;
}

bool TGridDrop::DropURL(QPoint Pt, const QString& URL) {
  const TDropTarget t = Target(Pt, false);
  bool allow = true;
  FHost.OleDropURL(t.Row, t.Col, URL, allow);
  HideArrows();
  if (!allow || !t.Exists()) return false;
  FHost.Data().WriteCell(FHost.Data().DisplToRealCol(t.Col), t.Row, URL);
  return true;
}

bool TGridDrop::DropFiles(QPoint Pt, const QStringList& Files) {
  HideArrows();
  if (Files.size() != 1) return false;
  const TDropTarget t = Target(Pt, false);
  const QString& file = Files.first();
  bool allow = true;
  FHost.OleDropFile(t.Row, t.Col, file, allow);
  const int kind = DroppedFileKind(file);
  if (!allow || kind == 0) return false;
  FHost.OleDrop(-1, -1, file, allow);
  if (!allow) return false;
  if (kind == 1)
    FHost.LoadCSV(file);
  else
    FHost.LoadWorkbook(file);
  return true;
}

}  // namespace grid
