#pragma once
// The grid's own feedback while a column or row is moved by dragging its header: a floating copy of the header
// cell (or an image of the moved cells) follows the mouse, two arrows show where the column or row would land,
// the grid scrolls at its edges and the cursor tells whether it may be dropped there. The release finishes the
// move itself (or cancels it when the drop was refused).

#include <QImage>

#include <array>

#include "platform/forms/controls.h"

namespace grid {

class THeaderDragButton;
class TRenderGrid;
struct TExtGridEvents;

// What the column and row move asks of its grid beyond the painting grid's own members.
class TMoveHost {
 public:
  virtual TRenderGrid& MovedGrid() = 0;
  // The grid's own fixed counts and top-row writer (the base grid's differ).
  virtual int GridFixedCols() const = 0;
  virtual int GridFixedRows() const = 0;
  virtual void SetGridTopRow(int Value) = 0;
  virtual int MoveRealCol(int ACol) const = 0;
  // Whether the moves show the floating header and cells, and whether they show the moved cells' image.
  virtual bool EnhancedMoves() const = 0;
  virtual bool MoveShowsCells() = 0;
  // Whether the last row is the floating footer's (nothing moves onto it).
  virtual bool FooterHoldsLastRow() const = 0;
  // Ends the base grid's own move tracking.
  virtual void CancelMoveTracking() = 0;
  // The grid's focus-block notifications around the move, and its events raised with the grid as sender.
  virtual void StartBlockFocus() = 0;
  virtual void EndBlockFocus() = 0;
  virtual TExtGridEvents& MoveEvents() = 0;

 protected:
  ~TMoveHost() = default;
};

class TArrowWindow;

// A borderless top-most window that shows an image of cells (the moved column or row).
class TCellsImageWindow : public plat::TCustomControl {
 public:
  explicit TCellsImageWindow(plat::TComponent* AOwner);
  void SetImage(const QImage& Image);
  const QImage& Image() const { return FImage; }

 protected:
  void Paint() override;

 private:
  QImage FImage;
};

class TMoveFeedback {
 public:
  explicit TMoveFeedback(TMoveHost& Host);
  ~TMoveFeedback();

  // One mouse move while the base grid moves column (or row) Movecell; (OfsX, OfsY) is where the header was
  // grabbed. (ACol, ARow) is the cell under the mouse.
  void Move(int X, int Y, int ACol, int ARow, int Movecell, int OfsX, int OfsY);
  // Whether the feedback shows (the cursor is the drag or no-drop cursor).
  bool Showing() const { return FShowing; }
  // The release over (ACol, ARow): the feedback goes and the grid moves the column or row unless the drop was
  // refused. True when a move ended here (the release is then no click).
  bool Release(int ACol, int ARow, int Movecell);
  void HideArrows();

  THeaderDragButton* MoveButton() const { return FMoveButton; }
  TCellsImageWindow* MoveForm() const { return FMoveForm; }
  TArrowWindow* Arrow(int Direction) const { return FArrows[std::size_t(Direction)]; }
  bool AllowDrop() const { return FAllowDrop; }

 private:
  void ColumnFeedback(int ACol, int ARow, int Movecell);
  void RowFeedback(int ACol, int ARow, int Movecell);
  void PlaceColumnArrows(int Movecell);
  void PlaceRowArrows(int Movecell);
  void AutoScroll(int X, int Y, bool Cols);
  void EnsureWindows();
  // An image of the client rectangle R of the grid as it is drawn now.
  QImage GridImage(const plat::TRect& R) const;

  TMoveHost& H;
  TRenderGrid& G;
  THeaderDragButton* FMoveButton = nullptr;
  TCellsImageWindow* FMoveForm = nullptr;
  std::array<TArrowWindow*, 4> FArrows{};  // up, down, left, right
  int FMoveColInd = -1, FMoveRowInd = -1;
  bool FShowing = false, FAllowDrop = true;
};

}  // namespace grid
