// The framework's base grid: TCustomGrid (geometry, painting, the press/move/release state machine, keyboard
// moves, scroll bars and the in-place editor host), TDrawGrid (the same with events) and, in stringgrid.h,
// TStringGrid with its cell store.
//
// Geometry: columns and rows are two TGridAxis objects (prefix sums over sparse sizes), so the position of a
// cell and the cell under a pixel never walk over the cells before it. Painting visits only the cells in view.
//
// Coordinates: cells are (column, row); pixels are client pixels. A rectangle is [Left, Right) x [Top,
// Bottom); a TGridRect holds cell indexes with Right and Bottom inclusive.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/forms/controls.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"
#include "platform/grids/editmask.h"
#include "platform/grids/gridaxis.h"

namespace plat {

class TCustomGrid;

enum TGridOption {
  goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected, goRowSizing,
  goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect, goAlwaysShowEditor, goThumbTracking
};
using TGridOptions = TSet<TGridOption>;

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed, gdRowSelected, gdHotTrack, gdPressed };
using TGridDrawState = TSet<TGridDrawStateItem>;

struct TGridCoord {
  int X = 0;
  int Y = 0;
  friend constexpr bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// Cell indexes, Right and Bottom inclusive.
struct TGridRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  friend constexpr bool operator==(const TGridRect&, const TGridRect&) = default;
  constexpr bool Contains(int c, int r) const { return c >= Left && c <= Right && r >= Top && r <= Bottom; }
};

// The timer of range selection and moving (auto-scroll while the mouse is outside the cells).
constexpr std::uintptr_t GridScrollTimerId = 1;
constexpr unsigned GridScrollTimerMs = 60;
// The thumb range of the scroll bars: positions 0 .. 127 map onto the scrollable rows and columns.
constexpr int GridScrollRange = 127;

using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TGetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, QString& Value)>;
using TSetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, const QString& Value)>;
using TMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;

// The editor the grid shows over the current cell: loads the cell through the grid's get-edit-text step,
// sends every change back through set-edit-text, and passes navigation keys to the grid.
class TInplaceEdit : public TMemo {
 public:
  explicit TInplaceEdit(TComponent* AOwner);
  TCustomGrid* Grid() const { return FGrid; }

  // Places the editor over r (client pixels of the grid) and shows it.
  void Move(const TRect& r);
  void Hide();
  void SetFocus() override;
  // Loads the current cell's text, edit limit and mask.
  virtual void UpdateContents();
  // The mask the grid gave for the cell ("" = none, see editmask.h). With a mask the editor shows every
  // position, typing overwrites the input positions and skips the literals.
  QString EditMask() const { return FEditMask; }
  void SetEditMask(const QString& v);
  bool IsMasked() const { return !FMask.Empty(); }
  // The value the editor holds: its text, or with a mask the mask's value of it.
  QString EditValue() const;
  // The text as shown after the last UpdateContents.
  QString LoadedText() const { return FLoadedText; }
  // Puts back the text loaded by the last UpdateContents (and sends it to the grid).
  void Reset();

 protected:
  // Moves the widget to the rectangle Move was given.
  virtual void BoundsChanged();
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char16_t& Key) override;
  void Change() override;
  LRESULT DefaultDlgCode() const override;
  void Dispatch(TMessage& Message) override;

  TRect FEditRect;

 private:
  bool ForwardsKey(std::uint16_t Key, TShiftState Shift) const;
  // Masked typing: puts ch (or a blank for Backspace / Delete) at the fitting input position.
  void MaskedType(char16_t ch);
  void MaskedClear(bool backwards);
  void SetMaskedText(const QString& text, int caret);
  TCustomGrid* FGrid;
  QString FEditMask;
  TEditMask FMask;
  QString FLoadedText;
  bool FLoading = false;
};

class TCustomGrid : public TCustomControl {
 public:
  explicit TCustomGrid(TComponent* AOwner);
  ~TCustomGrid() override;

  // ---- counts and fixed parts
  int ColCount() const { return FCols.Count(); }
  void SetColCount(int v);
  int RowCount() const { return FRows.Count(); }
  void SetRowCount(int v);
  // A fixed count must stay below the count: EInvalidGridOperation otherwise.
  int FixedCols() const { return FFixedCols; }
  void SetFixedCols(int v);
  int FixedRows() const { return FFixedRows; }
  void SetFixedRows(int v);

  // ---- sizes
  int DefaultColWidth() const { return FCols.DefaultSize(); }
  void SetDefaultColWidth(int v);  // every column goes back to the default
  int DefaultRowHeight() const { return FRows.DefaultSize(); }
  void SetDefaultRowHeight(int v);
  int ColWidths(int i) const { return FCols.Size(i); }
  void SetColWidths(int i, int v);
  int RowHeights(int i) const { return FRows.Size(i); }
  // The widths of columns From .. To - 1 and the heights of rows From .. To - 1, without the lines between
  // them: answered from the axes' sums, without a walk over the indexes.
  std::int64_t ColWidthsBetween(int From, int To) const { return SizesBetween(FCols, From, To); }
  std::int64_t RowHeightsBetween(int From, int To) const { return SizesBetween(FRows, From, To); }
  void SetRowHeights(int i, int v);
  int GridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int v);
  // Width and height of all cells with their lines.
  int GridWidth() const;
  int GridHeight() const;

  // ---- looks and behaviour
  TColor FixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor v);
  bool DefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(bool v);
  TGridOptions Options() const { return FOptions; }
  void SetOptions(TGridOptions v);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle v);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle v);

  // ---- view
  int TopRow() const { return FTopLeft.Y; }
  void SetTopRow(int v);
  int LeftCol() const { return FTopLeft.X; }
  void SetLeftCol(int v);
  // Scrollable columns and rows fully in view from LeftCol / TopRow (at least 1 while there is one).
  int VisibleColCount() const;
  int VisibleRowCount() const;
  // The cell's rectangle in client pixels; empty (all zero) for a cell out of view or out of the grid.
  TRect CellRect(int ACol, int ARow) const;
  // The cell under a client point; -1 for a coordinate outside every cell in view.
  void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
  TGridCoord MouseCoord(int X, int Y) const;

  // ---- current cell and selection
  int Col() const { return FCurrent.X; }
  void SetCol(int v);
  int Row() const { return FCurrent.Y; }
  void SetRow(int v);
  TGridRect Selection() const;
  void SetSelection(const TGridRect& v);
  // Moves the current cell (after the select-cell check; a refusal changes nothing). MoveAnchor: the
  // selection collapses onto the cell; Show: the cell is scrolled into view.
  void MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show);
  TGridState GridState() const { return FGridState; }

  // ---- editor
  bool EditorMode() const { return FEditorMode; }
  void SetEditorMode(bool v);
  TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }

  // ---- rows and columns (sizes and stored data move with them)
  void MoveColumn(int FromIndex, int ToIndex);
  void MoveRow(int FromIndex, int ToIndex);
  void DeleteRow(int ARow);

  void InvalidateCell(int ACol, int ARow);
  void InvalidateRow(int ARow);
  void InvalidateCol(int ACol);
  void InvalidateGrid() { Invalidate(); }

  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;

  void Dispatch(TMessage& Message) override;

 protected:
  friend class TInplaceEdit;

  // ---- the cells: painting and selecting
  virtual void HandleDrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
  // The select-cell check before every move of the current cell; false refuses the move.
  virtual bool HandleSelectCell(int ACol, int ARow);
  void Paint() override;

  // ---- the editor steps
  virtual TInplaceEdit* HandleCreateEditor();
  virtual bool HandleCanEditShow();
  virtual bool CanEditModify();
  virtual bool CanEditAcceptKey(char16_t Key);
  virtual QString HandleGetEditText(int ACol, int ARow);
  virtual void HandleSetEditText(int ACol, int ARow, const QString& Value);
  virtual int HandleGetEditLimit();
  virtual QString GetEditMask(int ACol, int ARow);
  void ShowEditor();
  void ShowEditorChar(char16_t Ch);
  void HideEditor();
  void InvalidateEditor();
  // Places (or hides) the editor to match the current cell and the editor mode.
  void UpdateEdit();
  // Sends the editor's text to the cell it edits.
  void UpdateText();

  // ---- input
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
  virtual void HandleKeyDown(std::uint16_t& Key, TShiftState Shift);
  void KeyPress(char16_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  // The press/move/release notifications, run inside the grid's own handling (they fire the events).
  virtual void HandleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void HandleMouseMove(TShiftState Shift, int X, int Y);
  virtual void HandleMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
  virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
  // Sizing state at a point: the border zone runs from D pixels before a cell's right (bottom) edge to 7 - D
  // after it, D = (7 - GridLineWidth) div 2; Index is the column (row) being sized, SizingPos the edge.
  virtual void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs);
  LRESULT DefaultDlgCode() const override;

  // ---- notifications
  virtual void TopLeftChanged();
  virtual void SizeChanged(int OldColCount, int OldRowCount);
  virtual void ColWidthsChanged();
  virtual void RowHeightsChanged();
  // Called after a column (row) moved; the string grid moves its stored data here.
  virtual void HandleColumnMoved(int FromIndex, int ToIndex);
  virtual void HandleRowMoved(int FromIndex, int ToIndex);
  virtual void ChangeScale(int M, int D);
  void Resize() override;

  // Moves the selection's far corner (range selection) or the current cell (otherwise).
  void MoveAnchor(const TGridCoord& NewAnchor);
  void FocusCell(int ACol, int ARow, bool MoveAnchor);
  void ClampInView(const TGridCoord& Coord);
  // The largest TopRow / LeftCol that still fills the view.
  int MaxTopRow() const;
  int MaxLeftCol() const;
  void UpdateScrollBars();
  // Asked while UpdateScrollBars decides which window bars to show: Vert and Horz come in as "the grid needs
  // the bar" and may be changed (a bar kept in place although everything fits).
  virtual void DecideScrollBars(bool& Vert, bool& Horz) { (void)Vert, (void)Horz; }

  TGridAxis& ColAxis() { return FCols; }
  TGridAxis& RowAxis() { return FRows; }

  TGridState FGridState = gsNormal;
  // The part of the client a paint event asks for (empty: all); cells outside it are not drawn.
  TRect FPaintDirty;
  TGridCoord FCurrent;
  TGridCoord FAnchor;
  TGridCoord FTopLeft;
  int FSizingIndex = -1;
  int FSizingPos = 0;
  int FSizingOfs = 0;
  int FMoveIndex = -1;
  int FMovePos = -1;
  TInplaceEdit* FInplaceEdit = nullptr;
  bool FEditorMode = false;
  // The cell the editor shows (-1: none).
  int FInplaceCol = -1;
  int FInplaceRow = -1;

 private:
  // One axis as the view shows it: the fixed indexes first, then the scrollable ones from First.
  struct TAxisView {
    const TGridAxis* Axis;
    int Fixed;
    int First;
    int Client;  // client extent in pixels
    std::int64_t FixedExtent() const { return Axis->Pos(Fixed); }
    std::int64_t Avail() const { return Client - FixedExtent(); }  // pixels left for the scrollable part
  };
  static std::int64_t SizesBetween(const TGridAxis& Axis, int From, int To) {
    if (To <= From) return 0;
    return Axis.Pos(To) - Axis.Pos(From) - std::int64_t(To - From) * Axis.Gap();
  }
  TAxisView HorzView() const;
  TAxisView VertView() const;
  int PixelOf(const TAxisView& v, int index) const;
  int CellAt(const TAxisView& v, int pixel) const;
  void SetTopLeft(int ACol, int ARow);
  void ScrollView(const TGridCoord& Old);
  void UpdateScrollPos();
  void ScrollMessage(int Bar, int Code, int Pos);
  void TimerTick();
  void MoveTimerScroll();
  void PaintDirect();
  void PaintArea(int firstCol, int lastCol, int firstRow, int lastRow, bool focused);
  void UpdateGaps();
  void PaintFeedback();
  void ClampCells();
  void KeyTarget(std::uint16_t Key, TShiftState Shift, TGridCoord& cell, TGridCoord& topLeft) const;
  bool CtrlKeyTarget(std::uint16_t Key, TGridCoord& cell, TGridCoord& topLeft) const;
  void EndMouseGesture(TShiftState Shift, int X, int Y);
  int MovingTarget(int X, int Y) const;

  TGridAxis FCols;
  TGridAxis FRows;
  int FFixedCols = 1;
  int FFixedRows = 1;
  int FGridLineWidth = 1;
  TColor FFixedColor = clBtnFace;
  bool FDefaultDrawing = true;
  TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  TScrollStyle FScrollBars = ssBoth;
  TFormBorderStyle FBorderStyle = bsSingle;
  TPoint FLastMouse;
  int FWheelAccum = 0;
  bool FUpdatingScrollBars = false;
};

class TDrawGrid : public TCustomGrid {
 public:
  explicit TDrawGrid(TComponent* AOwner);

  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;
  TGetEditEvent OnGetEditMask;
  TGetEditEvent OnGetEditText;
  TSetEditEvent OnSetEditText;
  TMovedEvent OnColumnMoved;
  TMovedEvent OnRowMoved;
  TNotifyEvent OnTopLeftChanged;

 protected:
  void HandleDrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  bool HandleSelectCell(int ACol, int ARow) override;
  QString HandleGetEditText(int ACol, int ARow) override;
  void HandleSetEditText(int ACol, int ARow, const QString& Value) override;
  QString GetEditMask(int ACol, int ARow) override;
  void HandleColumnMoved(int FromIndex, int ToIndex) override;
  void HandleRowMoved(int FromIndex, int ToIndex) override;
  void TopLeftChanged() override;
};

}  // namespace plat
