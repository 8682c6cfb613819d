#pragma once
// The editor registry: the grid's side of each family of special editor kinds. A family creates its control
// on first use (one per grid, owned by the grid, hidden and disabled between edits), sets it up over a cell
// and writes its value back. The grid asks the registry by kind, so editor libraries (the drop-down
// editors) add their families with Register without the grid changing; a kind nobody registered shows no
// editor, and its edit ends at the next cell change like every editor that cannot be shown.

#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "grid/model/gridtypes.h"
#include "platform/forms/controls.h"

namespace grid {

class TExtStringGrid;

// What the set-up and write-back of one edit get.
struct TEditorCell {
  TEditorType Kind = edNormal;
  int Col = 0;   // display column
  int RCol = 0;  // real column
  int Row = 0;
  plat::TRect Rect;      // the editor rectangle (cell rectangle less one pixel right and bottom)
  plat::TRect CellRect;  // the cell rectangle
  plat::TColor Color = plat::clWindow;
  const plat::TFont* Font = nullptr;
  QString EditText;      // the cell's text to edit
};

class TCellEditorKind {
 public:
  explicit TCellEditorKind(TExtStringGrid& Grid) : FGrid(Grid) {}
  virtual ~TCellEditorKind() = default;
  TCellEditorKind(const TCellEditorKind&) = delete;
  TCellEditorKind& operator=(const TCellEditorKind&) = delete;

  // Creates the control when needed, places, fills, colours, shows and focuses it. Returns the control that
  // edits (EditCtrl), or nullptr for the kinds that leave it empty.
  virtual plat::TWinControl* Setup(const TEditorCell& Cell) = 0;
  // Takes the value back into the cell (through the grid's WriteEditorText), hides and disables the editor.
  virtual void WriteBack(const TEditorCell& Cell) = 0;
  // Whether a character typed on the grid that started the edit is handed to the editor.
  virtual bool TakesStartChar(TEditorType Kind) const { (void)Kind; return true; }
  // The family's control, nullptr before the first use.
  virtual plat::TWinControl* Control() const = 0;
  // Whether the control belongs to the grid (an application's own control through the edit link does not).
  virtual bool OwnsControl() const { return true; }
  // The family's control, created when it is not there yet (nullptr for families without one of their own).
  virtual plat::TWinControl* EnsureControl() { return Control(); }

 protected:
  TExtStringGrid& FGrid;
};

using TCellEditorFactory = std::function<std::unique_ptr<TCellEditorKind>(TExtStringGrid&)>;

class TEditorRegistry {
 public:
  // Registers one family for the given kinds (a later registration of a kind replaces the earlier one).
  static void Register(const std::vector<TEditorType>& Kinds, TCellEditorFactory Factory);
  // The family id of a kind (kinds of one registration share it), -1 when none is registered.
  static int FamilyOf(TEditorType Kind);
  static TCellEditorFactory FactoryOf(int Family);
};

// Registers the grid's own families (spin, combo, button editors, check box, push button, date pickers,
// custom link); runs once, the first time a grid edits.
void RegisterGridEditors();

}  // namespace grid
