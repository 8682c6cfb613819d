#pragma once
// The mouse state of the string grid: which gesture a press started (a small state machine with named
// states that the release always brings back to Idle), what the press recorded for the moves and the release
// (position, sized cell, move source), and the hover objects the moves keep between them.

#include <QString>

#include "platform/graphics/types.h"
#include "platform/grids/grids.h"

namespace grid {

// What the left button is doing between a press and its release.
enum class TMouseGesture {
  Idle,            // no button held (or a press that ended at once: a node glyph, a radio group, a link)
  BasePress,       // the base grid's press: current cell, range selection, its sizing or moving
  HandleResize,    // the selection is being resized by its bottom-right handle
  FixedColSizing,  // the grid sizes a fixed column itself
  FixedRowSizing,  // ... or a fixed row
  ButtonPushed,    // a cell button, an expand button or a fixed cell drawn as a button is held down
  DragSource,      // a selected cell (or header) was pressed: a move may start a drag, a release selects
  RowDragSelect,   // whole rows are selected by dragging down the fixed column
  ColDragSelect,   // whole columns are selected by dragging along the fixed row
  DisjunctSelect,  // a disjunct row or column selection was started or is being deselected
};

// The gesture and its transitions: Begin from Idle only (a second press without a release ends the stale
// gesture first), End back to Idle.
class TMouseGestureState {
 public:
  TMouseGesture Current() const { return FCurrent; }
  bool Is(TMouseGesture G) const { return FCurrent == G; }
  bool Idle() const { return FCurrent == TMouseGesture::Idle; }
  void Begin(TMouseGesture G) { FCurrent = G; }
  void End() { FCurrent = TMouseGesture::Idle; }

 private:
  TMouseGesture FCurrent = TMouseGesture::Idle;
};

// What a press leaves for the moves and the release (client pixels; display indexes unless "real").
struct TMousePress {
  bool DoOnClick = false;      // the release may fire OnClick for a fixed cell
  bool MouseDownMove = false;  // a press happened and no release yet
  bool KeepDown = false;       // the button is held
  bool SpinUpClick = false, SpinDnClick = false;
  plat::TPoint PushedCellButton{-1, -1};
  plat::TRect PushedFixedCell;
  bool FixedCellPushed = false;
  bool DeselectState = false;  // Ctrl-press on a selected row or column: the release deselects it
  plat::TGridRect DropSelection;
  int Movecell = -1;           // column or row a move would take
  int MoveOfsX = 0, MoveOfsY = 0;
  int Clickposx = 0, Clickposy = 0;
  int Colclicked = -1, Rowclicked = -1;
  int Colclickedsize = 0, Rowclickedsize = 0;
  int Clickposdx = 0, Clickposdy = 0;
  int OldTopRow = 0, OldKeepLeftCol = 0;
  int MouseSelectStart = -1;   // row or column where a whole-row or whole-column drag started
  int SizingFixedIndex = -1;   // the fixed column or row the grid sizes itself
  int SizeFixedPos = 0;        // last drawn sizing line
  bool LButFlg = false;        // the editor places its caret at the mouse
  bool DblClk = false;         // the last double-click auto-sized a column: the release skips the header click
  bool FilterButtonPress = false;

  void Reset() { *this = TMousePress(); }
};

// Hover objects and the cursor offer, kept from one move to the next.
struct TMouseHover {
  int HoverRowIdx = -1;
  int HoverFixedX = -1, HoverFixedY = -1;
  plat::TPoint HotFixedCell{-1, -1};
  plat::TPoint HoverButton{-1, -1};
  plat::TPoint HoverCell{-1, -1};
  int HoverLink = -1;
  QString Anchor;
  QString LastAnchorHint;
  plat::TPoint LastHintPos{-1, -1};
  bool SizeFixed = false, SizeFixedR = false;  // the mouse is on the border of a fixed column / row
  bool NoMouseLeave = false;
  bool ColSized = false, RowSized = false;     // the base grid is sizing
  bool ScrollHintShow = false;
  QString SizingHint;                          // "cw=<b>120</b>" while a column is sized with the hint on
  bool MoveRowScrollAllowed = false;           // a whole-row drag scrolled up over the fixed rows
};

}  // namespace grid
