#pragma once
// What typing in a cell editor does to the grid around it: the cursor walk, by which an editor whose caret
// runs off the left or right end of its text ends the edit and moves to the neighbouring cell, and the
// sizing while typing, by which the edited row and column grow with the text.

#include <QString>

namespace grid {

class TExtStringGrid;

// How the editor that walks ends its edit before the move.
enum class TWalkCommit {
  Validate,   // the text editor: the typed text is validated first; a refusal keeps the edit and the cell
  OnLeaving,  // the combo and button editors: the write-back and the cell change validate
};

// The editor's caret ran off the left (Right false) or right end of Text (with Navigation.CursorWalkEditor).
// A neighbour holding a clickable cell object becomes current without moving on; any other neighbour is
// reached through the Enter advance with the left-right direction, and with Navigation.CursorWalkAlwaysEdit
// its editor opens.
enum class TWalkResult { Moved, NoNeighbour, Refused };
TWalkResult CursorWalk(TExtStringGrid& Grid, bool Right, const QString& Text, TWalkCommit Commit);

// After a key-up in the text editor: with SizeWhileTyping.Width the column grows to its widest cell, with
// SizeWhileTyping.Height and WordWrap the row takes the height its cells need. Both keep the editor's caret.
void SizeWhileTyping(TExtStringGrid& Grid);
// A line break typed into the text editor (Ctrl or Shift with Enter): with SizeWhileTyping.Height and
// Multilinecells the row gets room for Lines lines, or is auto-sized when a cell of it already holds more.
void GrowRowForLines(TExtStringGrid& Grid, int Lines);

}  // namespace grid
