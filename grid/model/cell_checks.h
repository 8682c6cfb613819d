#pragma once
// Check boxes, tri-state check boxes, radio buttons and radio groups in cells: adding them to cells and
// columns, reading and writing their state (kept in the object, in the cell text, or in the grid's row
// selection), one click on each, and hit testing of the box.
//
// Text-based boxes (data and virtual check boxes) are checked exactly when the cell text equals the cell's
// check-true text. Set operations never notify; clicks and SetCheckStateNotify do.
//
// GetCheckBoxState, SetCheckBoxState and IsChecked take real rows: the box of a hidden row is read and written
// in the hidden-row store. The other operations take display rows.

#include <QString>

#include "grid/model/cell_objects.h"

namespace plat {
class TStrings;
}

namespace grid {

class TCellChecks {
 public:
  explicit TCellChecks(TCellObjects& Objects) : FObjects(Objects), FCells(Objects.Cells()), FHost(Objects.Host()) {}

  // ---- check boxes
  // Raise "Invalid cell" for a cell outside the grid (hidden rows and columns counted, negatives refused).
  void AddCheckBox(int ACol, int ARow, bool State, bool Data);
  void AddCheckBox(int ACol, int ARow, TCheckBoxState State);
  // Summary rows are skipped; node rows get a tri-state box.
  void AddCheckBoxColumn(int ACol, bool DefaultState, bool DataCheckBox, bool FromRowZero = false);
  void RemoveCheckBoxColumn(int ACol, bool FromRowZero = false);
  bool RemoveCheckBox(int ACol, int ARow);
  bool HasCheckBox(int ACol, int ARow) { return FObjects.CellTypeInSet(ACol, ARow, kCheckBoxTypes); }
  bool HasDataCheckBox(int ACol, int ARow) { return FObjects.CellTypeInSet(ACol, ARow, kDataCheckBoxTypes); }
  bool GetCheckBoxState(int ACol, int ARow, bool& State);
  bool GetCheckBoxState(int ACol, int ARow, TCheckBoxState& State);
  bool IsChecked(int ACol, int ARow);
  bool SetCheckBoxState(int ACol, int ARow, bool State);
  bool SetCheckBoxState(int ACol, int ARow, TCheckBoxState State);
  // As SetCheckBoxState, but a real change is reported through the grid's check-box change.
  bool SetCheckStateNotify(int ACol, int ARow, bool State);
  void CheckAll(int ACol);
  void UnCheckAll(int ACol);
  // One click: true when the box changed. With AutoCheckGroup a node row's box sets the boxes of its rows, and
  // a click on a row inside a node makes the node's box checked, unchecked, or grayed when its rows differ.
  bool ToggleCellCheck(int ACol, int ARow, bool FromUser);
  bool ToggleCheckBox(int ACol, int ARow) { return ToggleCellCheck(ACol, ARow, false); }
  // Whether a point of the cell rectangle hits the box (the whole cell unless Precise).
  bool IsInCheckBox(int ACol, int ARow, plat::TRect CellRect, int XPos, int YPos, bool Precise, int CheckSize,
                    plat::TAlignment TextAlign, int TextWidth);

  // ---- radio buttons
  void AddRadioButton(int ACol, int ARow, bool State);
  bool RemoveRadioButton(int ACol, int ARow) { return FObjects.RemoveCellGraphicOfType(ACol, ARow, ctRadioButton); }
  bool HasRadioButton(int ACol, int ARow) { return FObjects.CellTypeInSet(ACol, ARow, {ctRadioButton}); }
  void AddRadioButtonColumn(int ACol);
  void RemoveRadioButtonColumn(int ACol);
  bool IsRadioButtonChecked(int ACol, int ARow);
  bool SetRadioButtonState(int ACol, int ARow, bool State);
  void SetRadioButtonColumnIndex(int ACol, int Index);
  int GetRadioButtonColumnIndex(int ACol);
  // One click: checks the button and unchecks every other one of the column.
  bool CheckRadioButton(int ACol, int ARow, bool FromUser);

  // ---- radio groups
  // The item list stays the caller's; CreateRadio makes an owned empty list and returns it.
  void AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, plat::TStrings* sl);
  plat::TStrings* CreateRadio(int ACol, int ARow, int DirRadio, int IdxRadio);
  bool GetRadioIdx(int ACol, int ARow, int& IdxRadio);
  bool SetRadioIdx(int ACol, int ARow, int IdxRadio);
  plat::TStrings* GetRadioStrings(int ACol, int ARow);
  bool IsRadio(int ACol, int ARow) { return FObjects.CellTypeInSet(ACol, ARow, {ctRadio}); }
  bool RemoveRadio(int ACol, int ARow) { return FObjects.RemoveCellGraphicOfType(ACol, ARow, ctRadio); }
  // One click: the next item (wrapping), from the cell text when no index is selected.
  bool CycleRadioGroup(int ACol, int ARow, bool FromUser);

 private:
  // A box found by real row: at its display row (Row), or in the hidden-row store (Row -1, HiddenText).
  struct TBoxRef {
    TCellGraphic* G = nullptr;
    int Row = -1;
    QString HiddenText;
  };
  // A row's place among the nodes: a node row with its span, or a row of the node row Parent (span of it).
  struct TNodePlace {
    bool Node = false, Contracted = false;
    int Span = 0, Parent = -1;
  };
  TBoxRef BoxAt(int ACol, int ARealRow);
  bool BoxTextChecked(int ACol, int ARealRow, const TBoxRef& B) const;
  TNodePlace NodePlaceOf(int ARow);
  void CheckNodeRows(int ACol, int ARow, const TNodePlace& Place, bool State);
  void UpdateNodeBox(int ACol, const TNodePlace& Place);
  void CheckCell(int ACol, int ARow) const;
  TCellVAlign BoxVAlign() const;
  bool TextChecked(int ACol, int ARow) const;
  void SetCheckText(int ACol, int ARow, bool State);
  TCellGraphic* RadioButtonAt(int ACol, int ARow);

  TCellObjects& FObjects;
  TCellGrid& FCells;
  TCellObjectsHost& FHost;
};

}  // namespace grid
