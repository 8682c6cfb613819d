#include "grid/input/grid_dnd_grid.h"

#include <QPainter>
#include <QRegularExpression>
#include <QWidget>

#include <algorithm>

#include "grid/data/bin_stream.h"
#include "grid/extgrid.h"
#include "grid/griderror.h"

namespace grid {

// ---------------------------------------------------------------- drag state

namespace {

// The grid a drag of this program started from, while its drag loop runs, and the display cells a drop into
// that same grid wrote (so that a move does not empty them again).
const TExtStringGrid* GDragSourceGrid = nullptr;
std::optional<plat::TGridRect> GSameGridDrop;

}  // namespace

// ---------------------------------------------------------------- the grid as drop target

TGridDropTarget::TGridDropTarget(TExtStringGrid& Grid) : FGrid(Grid) {}

plat::TGridCoord TGridDropTarget::CellAt(QPoint pt) const {
  int c = -1, r = -1;
  FGrid.MouseToCell(pt.x(), pt.y(), c, r);
  if (c < 0 || r < 0 || c >= FGrid.ColCount() || r >= FGrid.RowCount()) return {-1, -1};
  return {c, r};
}

void TGridDropTarget::DragMouseMove(QPoint pt, bool& Allow, TDropFormats DropFormats) {
  (void)DropFormats;
  const plat::TGridCoord at = CellAt(pt);
  if (at.X < 0) {
    Allow = false;
    return;
  }
  if (FGrid.OnOleDragOver) FGrid.OnOleDragOver(&FGrid, at.Y, at.X, Allow);
}

void TGridDropTarget::PutTexts(plat::TGridCoord At, const QList<QStringList>& Rows) {
  int cols = 0;
  for (const QStringList& r : Rows) cols = std::max(cols, int(r.size()));
  FGrid.BeginUpdate();
  for (int r = 0; r < Rows.size() && At.Y + r < FGrid.RowCount(); ++r)
    for (int c = 0; c < cols && At.X + c < FGrid.ColCount(); ++c)
      FGrid.SetCells(FGrid.RealColIndex(At.X + c), At.Y + r, Rows[r].value(c));
  FGrid.EndUpdate();
  Dropped(At, cols, int(Rows.size()));
}

void TGridDropTarget::Dropped(plat::TGridCoord At, int Cols, int Rows) {
  if (GDragSourceGrid == &FGrid && Cols > 0 && Rows > 0)
    GSameGridDrop = plat::TGridRect{At.X, At.Y, std::min(At.X + Cols, FGrid.ColCount()) - 1,
                                    std::min(At.Y + Rows, FGrid.RowCount()) - 1};
  if (FGrid.OnOleDropped) FGrid.OnOleDropped(&FGrid, At.Y, At.X);
}

void TGridDropTarget::DropText(QPoint pt, const QString& Text) {
  const plat::TGridCoord at = CellAt(pt);
  bool allow = at.X >= 0;
  if (allow && FGrid.OnOleDrop) FGrid.OnOleDrop(&FGrid, at.Y, at.X, Text, allow);
  if (!allow) return RefuseDrop();
  static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
  QStringList lines = Text.split(lineBreak);
  if (lines.size() > 1 && lines.last().isEmpty()) lines.removeLast();
  QList<QStringList> rows;
  for (const QString& l : lines) rows << l.split(u'\t');
  PutTexts(at, rows);
}

void TGridDropTarget::DropStream(QPoint pt, const QByteArray& Stream) {
  const plat::TGridCoord at = CellAt(pt);
  int cols = 0, rows = 0;
  bool allow = at.X >= 0 && BinStreamReads(Stream, cols, rows);
  if (allow && FGrid.OnOleDrop) FGrid.OnOleDrop(&FGrid, at.Y, at.X, QString(), allow);
  if (!allow) return RefuseDrop();
  FGrid.BeginUpdate();
  LoadBinBytesAtPoint(FGrid.DataHost(), plat::TPoint(at.X, at.Y), Stream);
  FGrid.EndUpdate();
  Dropped(at, cols, rows);
}

// A column moves only inside the grid it was dragged from; a column of another grid or program, or out of
// range, is only announced.
void TGridDropTarget::DropCol(QPoint pt, int Col) {
  const plat::TGridCoord at = CellAt(pt);
  if (at.X < 0) return RefuseDrop();
  // Col is a real column; it moves from where it is shown.
  const int from = Col >= 0 && Col < FGrid.AllColCount() ? FGrid.DisplColIndex(Col) : -1;
  const bool movable = GDragSourceGrid == &FGrid && from >= 0 && from < FGrid.ColCount();
  bool allow = movable;
  if (FGrid.OnOleDropCol) FGrid.OnOleDropCol(&FGrid, at.Y, at.X, Col, allow);
  if (!allow || !movable) return RefuseDrop();
  if (from != at.X) FGrid.MoveColumn(from, at.X);
}

void TGridDropTarget::DropFiles(QPoint pt, const QStringList& Files) {
  const plat::TGridCoord at = CellAt(pt);
  for (const QString& f : Files) {
    bool allow = true;
    if (FGrid.OnOleDropFile) FGrid.OnOleDropFile(&FGrid, at.Y, at.X, f, allow);
  }
}

void TGridDropTarget::DropURL(QPoint pt, const QString& URL) {
  const plat::TGridCoord at = CellAt(pt);
  bool allow = true;
  if (FGrid.OnOleDropURL) FGrid.OnOleDropURL(&FGrid, at.Y, at.X, URL, allow);
}

// ---------------------------------------------------------------- the grid as drag source

TGridDragDrop::TGridDragDrop(TExtStringGrid& Grid) : FGrid(Grid) {
  FGrid.DragDropSettings()->OnDropTargetChange = [this](bool Value) { SetDropTarget(Value); };
  FGrid.DragDropSettings()->OnDropRTFChange = [](bool Value) { SetRTFDropEnabled(Value); };
}

TGridDragDrop::~TGridDragDrop() = default;

void TGridDragDrop::SetDropTarget(bool Value) {
  if (!Value) {
    FTarget.reset();
    if (FGrid.Widget()) FGrid.Widget()->setAcceptDrops(false);
    return;
  }
  if (FTarget || !FGrid.Widget()) return;
  FTarget = std::make_unique<TGridDropTarget>(FGrid);
  const TDragDropSettings& s = *FGrid.DragDropSettings();
  FTarget->AcceptText = s.OleAcceptText;
  FTarget->AcceptFiles = s.OleAcceptFiles;
  FTarget->AcceptURLs = s.OleAcceptURLs;
  FTarget->AcceptCols = s.OleColumnDragDrop;
  FTarget->Attach(FGrid.Widget());
}

QString TGridDragDrop::SelectionText() const {
  const plat::TGridRect s = FGrid.Selection();
  QStringList lines;
  for (int r = s.Top; r <= s.Bottom; ++r) {
    QStringList cells;
    for (int c = s.Left; c <= s.Right; ++c) cells << FGrid.Cells(FGrid.RealColIndex(c), r);
    lines << cells.join(u'\t');
  }
  return lines.join(QStringLiteral("\r\n"));
}

void TGridDropSource::CurrentEffect(int Effect) {
  if (Effect == DROPEFFECT_COPY || Effect == DROPEFFECT_MOVE) FLastEffect = Effect;
}

QImage TGridDragDrop::CellsPicture(plat::TGridRect R) const {
  QWidget* w = FGrid.Widget();
  if (!w) return {};
  const plat::TRect from = FGrid.CellRect(R.Left, R.Top), to = FGrid.CellRect(R.Right, R.Bottom);
  const QRect area = QRect(QPoint(from.Left, from.Top), QPoint(to.Right - 1, to.Bottom - 1)).intersected(w->rect());
  if (R.Left > R.Right || R.Top > R.Bottom || area.isEmpty()) return {};
  auto& grid = const_cast<TExtStringGrid&>(FGrid);
  const bool shown = grid.ShowSelection();
  grid.SetShowSelection(false);
  const QImage cells = w->grab(area).toImage();
  grid.SetShowSelection(shown);
  QImage picture(cells.size(), QImage::Format_ARGB32_Premultiplied);
  picture.setDevicePixelRatio(cells.devicePixelRatio());
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setOpacity(192 / 255.0);
  p.drawImage(0, 0, cells);
  return picture;
}

TDragResult TGridDragDrop::StartDrag(int ACol, int ARow, bool ColumnDrag) {
  TGridDropSource source;
  if (FGrid.OnOleDragStart) FGrid.OnOleDragStart(&FGrid, ARow, FGrid.RealColIndex(ACol));
  GDragSourceGrid = &FGrid;
  GSameGridDrop.reset();
  const TDragResult r = ColumnDrag ? DragColumn(source, ACol) : DragCells(source, ACol, ARow);
  GDragSourceGrid = nullptr;
  GSameGridDrop.reset();
  return r;
}

TDragResult TGridDragDrop::DragColumn(TGridDropSource& Source, int ACol) {
  if (FGrid.DragDropSettings()->ShowCells)
    // The column as it is seen: its header and its visible rows.
    Source.SetDragImage(CellsPicture({ACol, 0, ACol, FGrid.TopRow() + FGrid.VisibleRowCount() - 1}), {-4, -4});
  int effect = DROPEFFECT_NONE;
  const TDragResult r = RunColumnDragDrop(Source, FGrid.RealColIndex(ACol), DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
  if (r != TDragResult::DRAGDROP_S_CANCEL && FGrid.OnOleDragStop) FGrid.OnOleDragStop(&FGrid, effect);
  return r;
}

TDragResult TGridDragDrop::DragCells(TGridDropSource& Source, int ACol, int ARow) {
  const plat::TGridRect dragged = FGrid.Selection();
  if (FGrid.DragDropSettings()->ShowCells) {
    const plat::TGridRect seen{std::max(dragged.Left, FGrid.LeftCol()), std::max(dragged.Top, FGrid.TopRow()),
                               std::min(dragged.Right, FGrid.LeftCol() + FGrid.VisibleColCount() - 1),
                               std::min(dragged.Bottom, FGrid.TopRow() + FGrid.VisibleRowCount() - 1)};
    Source.SetDragImage(CellsPicture(seen), {-4, -4});
  }
  std::optional<QByteArray> cells;
  if (FGrid.Navigation()->AllowFmtClipboard) {
    const plat::TGridRect s = FGrid.Selection();
    try {
      cells = BinStreamOfRect(FGrid.DataHost(), plat::TRect(s.Left, s.Top, s.Right, s.Bottom));
    } catch (const EExtGridError&) {
      // A selection beyond what the stream addresses travels as text only.
    }
  }
  int effect = DROPEFFECT_NONE;
  const TDragResult r = RunTextDragDrop(Source, SelectionText(), FGrid.Cells(FGrid.RealColIndex(ACol), ARow), effect,
                                        DROPEFFECT_COPY | DROPEFFECT_MOVE, cells ? &*cells : nullptr);
  if (r == TDragResult::DRAGDROP_S_CANCEL) return r;
  if (!FGrid.DragDropSettings()->OleCopyAlways && effect == DROPEFFECT_MOVE) RemoveMovedCells(dragged);
  if (FGrid.OnOleDragStop) FGrid.OnOleDragStop(&FGrid, effect);
  return r;
}

void TGridDragDrop::RemoveMovedCells(plat::TGridRect Dragged) {
  const std::optional<plat::TGridRect> kept = GSameGridDrop;
  const auto written = [&kept](int c, int r) {
    return kept && c >= kept->Left && c <= kept->Right && r >= kept->Top && r <= kept->Bottom;
  };
  const bool disjunctRows = FGrid.MouseActions()->DisjunctRowSelect();
  if (FGrid.DragDropSettings()->OleRemoveRows && FGrid.Options().Contains(plat::goRowSelect)) {
    if (disjunctRows) {
      FGrid.RemoveSelectedRows();
      return;
    }
    // Rows a drop into this grid wrote stay; the others go, from the bottom up.
    for (int r = std::min(Dragged.Bottom, FGrid.RowCount() - 1); r >= Dragged.Top; --r)
      if (!written(Dragged.Left, r)) FGrid.RemoveRows(r, 1);
    return;
  }
  if (disjunctRows) {
    FGrid.ClearSelection();
    return;
  }
  FGrid.BeginUpdate();
  for (int c = Dragged.Left; c <= std::min(Dragged.Right, FGrid.ColCount() - 1); ++c) {
    const int real = FGrid.RealColIndex(c);
    for (int r = Dragged.Top; r <= Dragged.Bottom; ++r)
      if (!written(c, r)) FGrid.ClearRect(real, r, real, r);
  }
  FGrid.EndUpdate();
}

}  // namespace grid
