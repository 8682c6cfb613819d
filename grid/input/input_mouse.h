#pragma once
// The string grid's mouse: the left press with its fixed order of who claims it (selection handle, fixed
// sizing, pushed fixed cells, cell objects, links and form controls, whole-row and whole-column selection,
// check boxes, then the base grid's press and direct editing), the release that ends what the press started
// and fires the click events, the double-click, the right button, and the moves (hover feedback, the cursor's
// selection offer, drag selections, the grid's own sizing of fixed columns and rows, drag start, sizing hints).
//
// The grid hands its mouse messages here (Message) and the base grid's notifications that run inside them
// (MouseDownNote, MouseMoveNote, MouseUpNote). Indexes are display indexes unless "real" is said.

#include <QString>

#include <memory>

#include "grid/input/input_state.h"
#include "grid/input/move_feedback.h"
#include "grid/model/gridtypes.h"
#include "platform/forms/messages.h"
#include "platform/forms/stdctrls.h"
#include "platform/grids/grids.h"

namespace grid {

class TExtStringGrid;
class TInputHost;
class THTMLHintWindow;

class TGridMouse {
 public:
  TGridMouse(TExtStringGrid& Grid, TInputHost& Host, TMoveHost& Moves);
  ~TGridMouse();

  // A mouse message for the grid window; false leaves it to the base grid's own dispatch.
  bool Message(plat::TMessage& M);
  // Notifications the base grid calls inside its own press, move and release handling. MouseDownNote
  // returns true when it handled the press itself (the framework's notification must not run).
  bool MouseDownNote(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y);
  void MouseMoveNote(plat::TShiftState Shift, int X, int Y);
  // False stops the framework's release notification (a refused disjunct cell selection).
  bool MouseUpNote(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y);
  // The base grid moved a column or row during this release: the release is no click.
  void Moved() { FColMoveFlg = true; }
  void MouseLeave();
  // With Follow the grid grows and shrinks with its owner form (the form's previous resize handler still runs).
  void FollowOwnerForm(bool Follow);
  void FormResized(plat::TObject* Sender);

  TMouseGestureState& Gesture() { return FGesture; }
  const TMousePress& Press() const { return FPress; }
  TMousePress& Press() { return FPress; }
  TMouseHover& Hover() { return FHover; }
  TMouseSelectMode SelectMode() const { return FSelectMode; }
  void SetSelectMode(TMouseSelectMode M) { FSelectMode = M; }
  // Whether a press inside the handle square of the selection's bottom-right cell would resize the selection.
  bool OnSelectionHandle(int X, int Y);
  TMoveFeedback& MoveFeedback() { return FFeedback; }
  // Cell hints and balloons (input_mouse_hints.cpp): the hint of the cell under the client point shows in the
  // grid's hint window, a balloon in its balloon window; Cancel hides what shows.
  void ShowCellHint(plat::TPoint P);
  void CancelCellHint();
  void PopBalloon();
  void RepaintHoverDown();
  THTMLHintWindow* CellHintWindow() const { return FCellHint.get(); }
  QString CellHintText() const { return FCellHintText; }
  plat::TPoint LastBalloonPos() const { return FLastBalloonPos; }
  // The scroll bar placed over the hovered scroll-bar cell (nullptr until one was hovered).
  plat::TScrollBar* CellScrollBar() const { return FScrollBar; }

 private:
  // ---- the press (input_mouse_press.cpp)
  void LeftButtonDown(plat::TMessage& M);
  bool PressHandle(plat::TMessage& M, int X, int Y, bool Always);
  struct TPressCell;
  bool PressPrepare(TPressCell& P, plat::TMessage& M);
  bool PressFixedSizing(int X, int Y);
  void PressFixedButton(TPressCell& P);
  bool PressCellObjects(TPressCell& P);
  bool PressNodeGlyph(TPressCell& P);
  bool PressDragSource(TPressCell& P);
  bool PressRating(TPressCell& P);
  bool PressCellButton(TPressCell& P, bool Expand);
  void PressDisjunct(TPressCell& P, plat::TMessage& M, bool& Done);
  bool PressLinks(TPressCell& P);
  bool PressWholeRowsCols(TPressCell& P);
  bool PressCheckBox(TPressCell& P);
  void PressBase(TPressCell& P, plat::TMessage& M);
  void PressDirectEdit(TPressCell& P);
  void BaseDispatch(plat::TMessage& M);
  plat::TShiftState DerivedShift() const;
  void FireMouseDown(plat::TShiftState Shift, int X, int Y);
  void FireClickCell(int ARow, int ACol);

  // ---- the release, double-click and right button (input_mouse_release.cpp)
  void LeftButtonUp(plat::TMessage& M);
  void ReleaseFixedSizing(int X, int Y);
  bool ReleaseButton(int X, int Y, int ACol, int ARow);
  bool ReleaseDragSource(int X, int Y, int ACol, int ARow);
  void ReleaseDisjunct(int ACol, int ARow, bool& DeselectDone);
  void ReleaseAutoSelectGroup(int ACol, int ARow);
  void ReleaseCellMouseUp(int X, int Y, int ACol, int ARow);
  void LeftButtonDblClk(plat::TMessage& M);
  bool DblClickAutoSize(int X, int ACol, int ARow);
  void RightButtonDown(plat::TMessage& M);
  void RightButtonUp(plat::TMessage& M);
  void DisjunctCellRelease(plat::TShiftState Shift, int ACol, int ARow, bool& Stop);

  // ---- the moves (input_mouse_move.cpp)
  void MoveHover(int ACol, int ARow, int X, int Y);
  void MoveDragSelect(int ACol, int ARow, int Y);
  void MoveFixedSizingZones(int X, int Y, int ACol, int ARow);
  void MoveDragStart(int ACol, int ARow, int X, int Y, bool OnHandle);
  void MoveBaseSizing(int X, int Y);
  void MoveSelectMode(int ACol, int ARow, int X, int Y, bool OnHandle);
  void MoveAnchors(int X, int Y);
  void MoveCellScrollBar(int ACol, int ARow);
  void MoveCancelHints(int ACol, int ARow);
  bool ShowBalloon(plat::TPoint P);
  int FixedBorderIndex(bool Cols, int Pos) const;
  // The owner form's resize handler while the grid follows its size: the handler it replaced and the size seen.
  struct TFormFollow {
    plat::TControl* Form = nullptr;
    plat::TComponent* Owner = nullptr;  // the same form, read while it is being destroyed
    plat::TNotifyEvent Previous;
    int Width = 0, Height = 0;
  };
  TFormFollow FFollow;
  // The "cw=" / "rh=" hint while a column or row is sized, shown at the top-left corner of Cell.
  void ShowSizingHint(const QString& Text, plat::TRect Cell);
  void HideSizingHint();

  TExtStringGrid& G;
  TInputHost& H;
  TMouseGestureState FGesture;
  TMousePress FPress;
  TMouseHover FHover;
  TMouseSelectMode FSelectMode = msNormal;
  bool FColMoveFlg = false, FColSizeFlg = false;
  TMoveFeedback FFeedback;
  std::unique_ptr<THTMLHintWindow> FSizingHint;
  std::unique_ptr<THTMLHintWindow> FCellHint;
  QString FCellHintText;
  plat::TPoint FLastBalloonPos{-1, -1};
  plat::TScrollBar* FScrollBar = nullptr;
  int FScrollCol = -1, FScrollRow = -1;
  bool FScrollSetup = false;

 public:
  THTMLHintWindow* SizingHintWindow() const { return FSizingHint.get(); }
};

}  // namespace grid
