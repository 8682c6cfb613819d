// The enhanced move of columns and rows: the floating header or cell image, the drop arrows, the edge scrolling
// and the drop cursor, and the end of the move on the release.
#include "grid/input/move_feedback.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>

#include "grid/extgrid_events.h"
#include "grid/input/scroll_bar.h"
#include "grid/view/render_grid.h"
#include "grid/view/side_windows.h"
#include "platform/forms/forms.h"

namespace grid {

using plat::TPoint;
using plat::TRect;

namespace {
// Feedback windows float over everything without taking the focus.
void MakeFloating(plat::TControl* C) {
  C->SetParent(nullptr);
  if (QWidget* w = C->Widget()) {
    w->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    w->setAttribute(Qt::WA_ShowWithoutActivating);
  }
}
}  // namespace

TCellsImageWindow::TCellsImageWindow(plat::TComponent* AOwner) : plat::TCustomControl(AOwner) {
  MakeFloating(this);
  SetVisible(false);
}

void TCellsImageWindow::SetImage(const QImage& Image) {
  FImage = Image;
  SetBounds(Left(), Top(), Image.width(), Image.height());
  Invalidate();
}

void TCellsImageWindow::Paint() {
  plat::TCanvas& c = *Canvas();
  if (!FImage.isNull()) c.DrawImage(ClientRect(), FImage, TRect(0, 0, FImage.width(), FImage.height()), plat::cmSrcCopy);
  c.Brush()->SetStyle(plat::bsClear);
  c.Pen()->SetColor(plat::clGray);
  c.Rectangle(ClientRect());
}

TMoveFeedback::TMoveFeedback(TMoveHost& Host) : H(Host), G(Host.MovedGrid()) {}

TMoveFeedback::~TMoveFeedback() {
  delete FMoveForm;
  delete FMoveButton;
  for (TArrowWindow* a : FArrows) delete a;
}

void TMoveFeedback::EnsureWindows() {
  if (FMoveButton) return;
  FMoveButton = new THeaderDragButton(nullptr);
  FMoveButton->Grid = &G;
  const TArrowDirection dirs[] = {arrUp, arrDown, arrLeft, arrRight};
  for (std::size_t i = 0; i < FArrows.size(); ++i) {
    FArrows[i] = new TArrowWindow(nullptr, dirs[i]);
    MakeFloating(FArrows[i]);
  }
}

QImage TMoveFeedback::GridImage(const TRect& R) const {
  if (!G.Widget() || R.IsEmpty()) return {};
  return G.Widget()->grab(QRect(R.Left, R.Top, R.Width(), R.Height())).toImage();
}

void TMoveFeedback::Move(int X, int Y, int ACol, int ARow, int Movecell, int OfsX, int OfsY) {
  EnsureWindows();
  FAllowDrop = true;
  H.StartBlockFocus();
  const bool cols = G.GridState() == plat::gsColMoving;
  if (cols)
    ColumnFeedback(ACol, ARow, Movecell);
  else
    RowFeedback(ACol, ARow, Movecell);
  const bool cells = H.MoveShowsCells();
  TPoint p = G.ClientToScreen(TPoint(X - OfsX, Y - OfsY));
  if (cells && FMoveForm) {
    FMoveForm->SetBounds(p.X, p.Y, FMoveForm->Width(), FMoveForm->Height());
    FMoveForm->SetVisible(true);
  } else {
    FMoveButton->SetBounds(p.X, p.Y, FMoveButton->Width(), FMoveButton->Height());
  }
  if (cols) {
    if (ACol >= 0) PlaceColumnArrows(Movecell);
    if (ACol >= 0) {
      FMoveColInd = ACol;
      FMoveRowInd = 0;
      if (TExtGridEvents& ev = H.MoveEvents(); ev.OnColumnMoving) ev.OnColumnMoving(&G, ACol, FAllowDrop);
    }
  } else if (!(FMoveRowInd == G.RowCount() - 1 && H.FooterHoldsLastRow())) {
    if (ARow >= 0) PlaceRowArrows(Movecell);
    if (ARow >= 0) {
      FMoveColInd = 0;
      FMoveRowInd = ARow;
      if (TExtGridEvents& ev = H.MoveEvents(); ev.OnRowMoving) ev.OnRowMoving(&G, ARow, FAllowDrop);
    }
  }
  AutoScroll(X, Y, cols);
  FMoveButton->SetVisible(!cells);
  FMoveButton->SetEnabled(true);
  FShowing = true;
  plat::Screen->SetCursor(FAllowDrop ? plat::crDrag : plat::crNoDrop);
}

// The floating header of the moved column (and, showing cells, the image of its visible cells).
void TMoveFeedback::ColumnFeedback(int ACol, int ARow, int Movecell) {
  (void)ACol;
  if (Movecell < H.GridFixedCols() || ARow < 0) return;
  if (H.MoveShowsCells() && (!FMoveForm || !FMoveForm->Visible())) {
    if (!FMoveForm) FMoveForm = new TCellsImageWindow(nullptr);
    const int last = std::min(G.RowCount() - 1, G.TopRow() + G.VisibleRowCount() - H.GridFixedRows());
    const TRect a = G.CellRect(Movecell, 0), b = G.CellRect(Movecell, std::max(0, last));
    FMoveForm->SetImage(GridImage(TRect(a.Left, a.Top, a.Right, std::max(a.Bottom, b.Bottom))));
  }
  FMoveButton->SetCaption(G.Cells(H.MoveRealCol(Movecell), 0));
  FMoveButton->SetBounds(FMoveButton->Left(), FMoveButton->Top(), G.ColWidths(Movecell), G.RowHeights(ARow));
  FMoveButton->Invalidate();
}

void TMoveFeedback::RowFeedback(int ACol, int ARow, int Movecell) {
  (void)ARow;
  if (Movecell < H.GridFixedRows() || ACol < 0) return;
  if (H.MoveShowsCells() && (!FMoveForm || !FMoveForm->Visible())) {
    if (!FMoveForm) FMoveForm = new TCellsImageWindow(nullptr);
    const int last = std::min(G.ColCount() - 1, G.VisibleColCount() + G.LeftCol() - H.GridFixedCols());
    const TRect a = G.CellRect(0, Movecell), b = G.CellRect(std::max(0, last), Movecell);
    FMoveForm->SetImage(GridImage(TRect(a.Left, a.Top, std::max(a.Right, b.Right), a.Bottom)));
  }
  FMoveButton->SetCaption(G.Cells(0, Movecell));
  FMoveButton->SetBounds(FMoveButton->Left(), FMoveButton->Top(), G.ColWidths(ACol), G.RowHeights(Movecell));
  FMoveButton->Invalidate();
}

// The arrows stand above and below the border where the column would land: left of a drop column left of the
// moved one, right of it otherwise.
void TMoveFeedback::PlaceColumnArrows(int Movecell) {
  TArrowWindow* up = FArrows[0];
  TArrowWindow* down = FArrows[1];
  const int c = FMoveColInd;
  const bool shown = c >= H.GridFixedCols() && c < G.ColCount() && c - G.LeftCol() < G.VisibleColCount();
  if (c >= H.GridFixedCols() && c < G.ColCount()) {
    const TRect cell = G.CellRect(c, 0);
    const TPoint t = G.ClientToScreen(TPoint(cell.Left, cell.Top));
    const int x = c < Movecell ? t.X - 5 : t.X + G.ColWidths(c) - 5;
    up->SetBounds(x, t.Y + cell.Height(), up->Width(), up->Height());
    down->SetBounds(x, t.Y - 8, down->Width(), down->Height());
  }
  up->SetVisible(shown);
  down->SetVisible(shown);
}

void TMoveFeedback::PlaceRowArrows(int Movecell) {
  TArrowWindow* left = FArrows[2];
  TArrowWindow* right = FArrows[3];
  const int r = FMoveRowInd;
  const bool shown =
      r >= H.GridFixedRows() && r < G.RowCount() && r - G.TopRow() < G.VisibleRowCount() && r >= G.TopRow();
  if (r >= H.GridFixedRows() && r < G.RowCount()) {
    const TRect cell = G.CellRect(0, r);
    const TPoint t = G.ClientToScreen(TPoint(cell.Left, cell.Top));
    const int y = r < Movecell ? t.Y - 5 : t.Y + G.RowHeights(r) - 5;
    left->SetBounds(t.X - 10, y, left->Width(), left->Height());
    right->SetBounds(t.X + cell.Width(), y, right->Width(), right->Height());
  }
  left->SetVisible(shown);
  right->SetVisible(shown);
}

// Beyond the fixed cells or the grid's far edge the grid scrolls one column (row) per move.
void TMoveFeedback::AutoScroll(int X, int Y, bool Cols) {
  const int count = Cols ? G.ColCount() : G.RowCount(), visible = Cols ? G.VisibleColCount() : G.VisibleRowCount();
  const int nfixed = Cols ? H.GridFixedCols() : H.GridFixedRows(), first = Cols ? G.LeftCol() : G.TopRow();
  const int pos = Cols ? X : Y, far = Cols ? G.Width() : G.Height();
  if (visible >= count) return;
  int fixed = 0;
  for (int i = 0; i < nfixed; ++i) fixed += Cols ? G.ColWidths(i) : G.RowHeights(i);
  int to = first;
  if (pos < fixed && first > nfixed) to = first - 1;
  if (pos > far && first + visible < count) to = first + 1;
  if (to == first) return;
  if (Cols)
    G.SetLeftCol(to);
  else
    H.SetGridTopRow(to);
  G.Update();
}

void TMoveFeedback::HideArrows() {
  for (TArrowWindow* a : FArrows)
    if (a) a->SetVisible(false);
}

bool TMoveFeedback::Release(int ACol, int ARow, int Movecell) {
  const plat::TGridState st = G.GridState();
  if (!FShowing || (st != plat::gsColMoving && st != plat::gsRowMoving) || !H.EnhancedMoves()) return false;
  FShowing = false;
  FMoveButton->SetEnabled(false);
  FMoveButton->SetVisible(false);
  delete FMoveForm;
  FMoveForm = nullptr;
  H.EndBlockFocus();
  plat::Screen->SetCursor(plat::crDefault);
  // The grid ends the base grid's move itself, so that the base grid's release does not move again.
  H.CancelMoveTracking();
  FMoveColInd = FMoveRowInd = -1;
  if (!FAllowDrop) return true;  // a refused drop cancels the move
  if (st == plat::gsColMoving && ACol >= H.GridFixedCols() && ACol != Movecell)
    G.MoveColumn(Movecell, ACol);
  // The floating footer's row stays the last row: nothing is dropped onto it.
  else if (st == plat::gsRowMoving && ARow >= H.GridFixedRows() && ARow != Movecell &&
           !(ARow == G.RowCount() - 1 && H.FooterHoldsLastRow()))
    G.MoveRow(Movecell, ARow);
  return true;
}

}  // namespace grid
