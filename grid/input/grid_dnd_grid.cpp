#include "grid/input/grid_dnd_grid.h"

#include <QPainter>
#include <QPointer>
#include <QRegularExpression>
#include <QWidget>

#include <algorithm>
#include <utility>

#include "grid/data/bin_stream.h"
#include "grid/data/drop.h"
#include "grid/data/office/office_exchange.h"
#include "grid/extgrid.h"
#include "grid/griderror.h"
#include "platform/forms/host.h"
#include "platform/forms/stdctrls.h"

namespace grid {

// ---------------------------------------------------------------- drag state

namespace {

// The grid a drag of this program started from, while its drag loop runs, and the display cells a drop into
// that same grid wrote (so that a move does not empty them again).
const TExtStringGrid* GDragSourceGrid = nullptr;
std::optional<plat::TGridRect> GSameGridDrop;

}  // namespace

// ---------------------------------------------------------------- the drop arrows

// A small arrow over the grid that points at where a drop lands: right at a row, down at a column's header
// from above, up at it from below.
class TDropArrow : public QWidget {
 public:
  enum TKind { Right, Down, Up };
  TDropArrow(QWidget* Parent, TKind Kind) : QWidget(Parent), FKind(Kind) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    resize(kSize, kSize);
    hide();
  }
  static constexpr int kSize = 9;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF a;
    const qreal s = kSize;
    if (FKind == Right) a << QPointF(0, 0) << QPointF(s, s / 2) << QPointF(0, s);
    else if (FKind == Down) a << QPointF(0, 0) << QPointF(s, 0) << QPointF(s / 2, s);
    else a << QPointF(s / 2, 0) << QPointF(s, s) << QPointF(0, s);
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.setBrush(QColor(220, 30, 30));
    p.drawPolygon(a);
  }

 private:
  TKind FKind;
};

// ---------------------------------------------------------------- the grid as host of the drop rules

class TGridDropAdapter final : public TDropHost {
 public:
  TGridDropAdapter(TExtStringGrid& Grid, TGridDragDrop& DragDrop) : FGrid(Grid), FDragDrop(DragDrop) {}

  TDropOptions DropOptions() const override {
    const TDragDropSettings& s = *FGrid.DragDropSettings();
    TDropOptions o;
    o.OleEntireRows = s.OleEntireRows, o.OleAppendRows = s.OleAppendRows, o.OleInsertRows = s.OleInsertRows;
    o.OleRemoveRows = s.OleRemoveRows, o.OleColumnReorder = s.OleColumnReorder;
    o.FixedRowAlways = FGrid.FixedRowAlways();
    o.RowSelect = FGrid.Options().Contains(plat::goRowSelect);
    o.DisjunctRowSelect = FGrid.MouseActions()->DisjunctRowSelect();
    return o;
  }
  TGridDataHost& Data() override { return FGrid.DataHost(); }
  void PlaceText(int ACol, int ARow, const QString& Text) override { FDragDrop.PutTexts(ACol, ARow, Text); }
  int TopRow() const override { return FGrid.TopRow(); }
  int LeftCol() const override { return FGrid.LeftCol(); }
  int VisibleRowCount() const override { return FGrid.VisibleRowCount(); }
  int VisibleColCount() const override { return FGrid.VisibleColCount(); }
  void SetTopRow(int Value) override { FGrid.SetTopRow(Value); }
  void SetLeftCol(int Value) override { FGrid.SetLeftCol(Value); }
  QPoint CellAt(QPoint Pt) const override {
    int c = -1, r = -1;
    FGrid.MouseToCell(Pt.x(), Pt.y(), c, r);
    if (c < 0 || r < 0 || c >= FGrid.ColCount() || r >= FGrid.RowCount()) return {-1, -1};
    return {c, r};
  }
  plat::TRect CellRect(int ACol, int ARow) const override { return FGrid.CellRect(ACol, ARow); }
  void SetSelection(plat::TRect R) override {
    if (R.Left <= R.Right && R.Top <= R.Bottom) FGrid.SetSelection(plat::TGridRect{R.Left, R.Top, R.Right, R.Bottom});
  }
  plat::TRect Selection() const override {
    const plat::TGridRect s = FGrid.Selection();
    return plat::TRect(s.Left, s.Top, s.Right, s.Bottom);
  }
  void InsertRows(int ARow, int Count) override { FGrid.InsertRows(ARow, Count, true); }
  void InsertRowSelection(int ARow, int Count) override {
    // The flags below ARow move down with their rows; the inserted rows are not selected.
    for (int r = FGrid.RowCount() - 1; r >= ARow + Count; --r) FGrid.SetRowSelect(r, FGrid.GetRowSelect(r - Count));
    for (int r = ARow; r < ARow + Count && r < FGrid.RowCount(); ++r) FGrid.SetRowSelect(r, false);
  }
  void LoadCSV(const QString& FileName) override { FGrid.LoadFromCSV(FileName, -1); }
  void LoadWorkbook(const QString& FileName) override { LoadFromXLS(FGrid.DataHost(), FileName); }
  void ShowArrows(const TDropArrows& A) override {
    QWidget* w = FGrid.Widget();
    if (!w) return;
    Place(FLeft, TDropArrow::Right, A.Left, A.LeftAt + QPoint(0, 1));
    Place(FDown, TDropArrow::Down, A.Down, A.DownAt);
    Place(FUp, TDropArrow::Up, A.Up, A.UpAt);
    FShown = A;
  }
  const TDropArrows& Arrows() const { return FShown; }
  void OleDragOver(int ARow, int ACol, bool& Allow) override {
    if (FGrid.OnOleDragOver) FGrid.OnOleDragOver(&FGrid, ARow, ACol, Allow);
  }
  void OleDrop(int ARow, int ACol, const QString& Data, bool& Allow) override {
    if (FGrid.OnOleDrop) FGrid.OnOleDrop(&FGrid, ARow, ACol, Data, Allow);
  }
  void OleDropURL(int ARow, int ACol, const QString& URL, bool& Allow) override {
    if (FGrid.OnOleDropURL) FGrid.OnOleDropURL(&FGrid, ARow, ACol, URL, Allow);
  }
  void OleDropFile(int ARow, int ACol, const QString& File, bool& Allow) override {
    if (FGrid.OnOleDropFile) FGrid.OnOleDropFile(&FGrid, ARow, ACol, File, Allow);
  }
  void OleDropped(plat::TRect R) override {
    if (FGrid.OnOleDropped) FGrid.OnOleDropped(&FGrid, plat::TGridRect{R.Left, R.Top, R.Right, R.Bottom});
  }

 private:
  // An arrow is a child of the grid's window, so that it stays where the grid is on every window system.
  void Place(QPointer<TDropArrow>& Arrow, TDropArrow::TKind Kind, bool Show, QPoint At) {
    if (!Show) {
      if (Arrow) Arrow->hide();
      return;
    }
    if (!Arrow) Arrow = new TDropArrow(FGrid.Widget(), Kind);
    const QSize area = FGrid.Widget()->size();
    Arrow->move(std::clamp(At.x(), 0, std::max(0, area.width() - TDropArrow::kSize)),
                std::clamp(At.y(), 0, std::max(0, area.height() - TDropArrow::kSize)));
    Arrow->show();
    Arrow->raise();
  }
  TExtStringGrid& FGrid;
  TGridDragDrop& FDragDrop;
  QPointer<TDropArrow> FLeft, FDown, FUp;
  TDropArrows FShown;
};

// ---------------------------------------------------------------- the grid as drop target

TGridDropTarget::TGridDropTarget(TExtStringGrid& Grid, TGridDrop& Drop) : FGrid(Grid), FDrop(Drop) {}

plat::TGridCoord TGridDropTarget::CellAt(QPoint pt) const {
  int c = -1, r = -1;
  FGrid.MouseToCell(pt.x(), pt.y(), c, r);
  if (c < 0 || r < 0 || c >= FGrid.ColCount() || r >= FGrid.RowCount()) return {-1, -1};
  return {c, r};
}

void TGridDropTarget::DragMouseMove(QPoint pt, bool& Allow, TDropFormats DropFormats) {
  FDrop.DragMove(pt, Allow, DropFormats.Contains(dfCol),
                 DropFormats.Contains(dfFile) || DropFormats.Contains(dfGridCells));
}

void TGridDropTarget::DragMouseLeave() { FDrop.DragLeave(); }

void TGridDragDrop::PutTexts(int ACol, int ARow, const QString& Text) {
  static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
  QStringList lines = Text.split(lineBreak);
  if (lines.size() > 1 && lines.last().isEmpty()) lines.removeLast();
  int cols = 0;
  for (const QString& l : lines) cols = std::max(cols, int(l.count(u'\t')) + 1);
  FGrid.BeginUpdate();
  for (int r = 0; r < lines.size() && ARow + r < FGrid.RowCount(); ++r) {
    const QStringList fields = lines[r].split(u'\t');
    for (int c = 0; c < cols && ACol + c < FGrid.ColCount(); ++c)
      FGrid.SetCells(FGrid.RealColIndex(ACol + c), ARow + r, fields.value(c));
  }
  FGrid.EndUpdate();
  if (GDragSourceGrid == &FGrid && cols > 0 && !lines.isEmpty())
    GSameGridDrop = plat::TGridRect{ACol, ARow, std::min(ACol + cols, FGrid.ColCount()) - 1,
                                    std::min(ARow + int(lines.size()), FGrid.RowCount()) - 1};
}

void TGridDropTarget::Dropped(plat::TGridCoord At, int Cols, int Rows) {
  if (GDragSourceGrid == &FGrid && Cols > 0 && Rows > 0)
    GSameGridDrop = plat::TGridRect{At.X, At.Y, std::min(At.X + Cols, FGrid.ColCount()) - 1,
                                    std::min(At.Y + Rows, FGrid.RowCount()) - 1};
  // The cells went in whole at At; the application is told the selection, which the drop leaves as it was.
  if (FGrid.OnOleDropped) FGrid.OnOleDropped(&FGrid, FGrid.Selection());
}

void TGridDropTarget::DropText(QPoint pt, const QString& Text) {
  if (!FDrop.DropText(pt, Text)) RefuseDrop();
}

void TGridDropTarget::DropRTF(QPoint pt, const QString& RTF) {
  if (!FDrop.DropRTF(pt, RTF)) RefuseDrop();
}

void TGridDropTarget::DropStream(QPoint pt, const QByteArray& Stream) {
  FDrop.DragLeave();
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
  FDrop.DragLeave();
  const plat::TGridCoord at = CellAt(pt);
  if (const std::optional<bool> listed = FGrid.DragDrop().DropListColumn(at.X < 0 ? FGrid.ColCount() : at.X, at.Y, Col)) {
    if (!*listed) RefuseDrop();
    return;
  }
  if (at.X < 0) return RefuseDrop();
  // Col is a real column; it moves from where it is shown.
  const int from = Col >= 0 && Col < FGrid.AllColCount() ? FGrid.DisplColIndex(Col) : -1;
  const bool movable = GDragSourceGrid == &FGrid && from >= 0 && from < FGrid.ColCount();
  bool allow = movable;
  if (FGrid.OnOleDropCol) FGrid.OnOleDropCol(&FGrid, at.Y, at.X, Col, allow);
  if (!allow || !movable) return RefuseDrop();
  if (from != at.X) FGrid.MoveColumn(from, at.X);
}

void TGridDragDrop::OleColumnDragStart(int ACol, int AIndex, plat::TListBox* AList) {
  FOleDragCol = ACol;
  FOleDragIndex = AIndex;
  FOleDragList = AList;
}

std::optional<bool> TGridDragDrop::DropListColumn(int ACol, int ARow, int Col) {
  if (FOleDragCol < 0) return std::nullopt;
  // The announcement serves one drop, taken or not.
  const int real0 = std::exchange(FOleDragCol, -1), index = std::exchange(FOleDragIndex, -1);
  plat::TListBox* list = std::exchange(FOleDragList, nullptr);
  bool allow = true;
  if (FGrid.OnOleDropCol) FGrid.OnOleDropCol(&FGrid, ARow, ACol, Col, allow);
  if (!allow) return false;
  if (list && index >= 0 && index < list->Items()->Count()) list->Items()->Delete(index);
  // The column order records where each column went; a grid that never recorded one has its columns in place.
  const int at = FGrid.ColumnOrderList()->IndexOf(real0);
  const int real = at >= 0 ? at : real0;
  if (real >= FGrid.AllColCount()) return false;
  FGrid.UnHideColumn(real);
  const int from = FGrid.DisplColIndex(real);
  const int to = std::min(ACol, FGrid.ColCount() - 1);
  if (ACol >= 0 && from >= 0 && from != to) {
    const bool saved = FGrid.EnhRowColMove;
    FGrid.EnhRowColMove = true;
    FGrid.MoveColumn(from, to);
    FGrid.EnhRowColMove = saved;
  }
  return true;
}

// A loader that fails ends the drop with its message; the error does not leave the window system's event.
void TGridDropTarget::DropFiles(QPoint pt, const QStringList& Files) {
  try {
    FDrop.DropFiles(pt, Files);
  } catch (const std::exception&) {
    plat::HandleExceptionInHost(&FGrid);
  }
}

void TGridDropTarget::DropURL(QPoint pt, const QString& URL) { FDrop.DropURL(pt, URL); }

// ---------------------------------------------------------------- the grid as drag source

TGridDragDrop::TGridDragDrop(TExtStringGrid& Grid)
    : FGrid(Grid), FDropHost(std::make_unique<TGridDropAdapter>(Grid, *this)),
      FDrop(std::make_unique<TGridDrop>(*FDropHost)) {
  FGrid.DragDropSettings()->OnDropTargetChange = [this](bool Value) { SetDropTarget(Value); };
  FGrid.DragDropSettings()->OnDropRTFChange = [](bool Value) { SetRTFDropEnabled(Value); };
}

TGridDragDrop::~TGridDragDrop() = default;

TGridDrop& TGridDragDrop::Drop() { return *FDrop; }

void TGridDragDrop::SetDropTarget(bool Value) {
  if (!Value) {
    FTarget.reset();
    if (FGrid.Widget()) FGrid.Widget()->setAcceptDrops(false);
    return;
  }
  if (FTarget || !FGrid.Widget()) return;
  FTarget = std::make_unique<TGridDropTarget>(FGrid, *FDrop);
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
  // A drop into this grid above the dragged rows moves them down; the remembered selection follows them.
  FDrop->SetDropSelection(plat::TRect(dragged.Left, dragged.Top, dragged.Right, dragged.Bottom));
  const TDragResult r = RunTextDragDrop(Source, SelectionText(), FGrid.Cells(FGrid.RealColIndex(ACol), ARow), effect,
                                        DROPEFFECT_COPY | DROPEFFECT_MOVE, cells ? &*cells : nullptr);
  const plat::TRect moved = FDrop->DropSelection().value_or(plat::TRect(dragged.Left, dragged.Top, dragged.Right, dragged.Bottom));
  FDrop->SetDropSelection(std::nullopt);
  if (r == TDragResult::DRAGDROP_S_CANCEL) return r;
  if (!FGrid.DragDropSettings()->OleCopyAlways && effect == DROPEFFECT_MOVE)
    RemoveMovedCells(plat::TGridRect{moved.Left, moved.Top, moved.Right, moved.Bottom});
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
