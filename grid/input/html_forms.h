#pragma once
// Form controls written as CONTROL tags in HTML cells: a click acts on BUTTON, CHECK and RADIO at once and
// opens a small editor over EDIT, PASSWORD, MASK and COMBO. The cell text is the only store of a control's
// value: every change rewrites the VALUE of its tag.

#include <QString>

#include "platform/forms/stdctrls.h"
#include "platform/graphics/types.h"

namespace grid {

class TExtStringGrid;

// What the HTML hit test of a cell found under a point.
struct THTMLHit {
  QString Anchor, AnchorTitle;
  QString ControlID, ControlType, ControlValue;
  plat::TRect ControlRect;
  int Link = -1;
};

class THTMLForms {
 public:
  explicit THTMLForms(TExtStringGrid& Grid) : G(Grid) {}
  ~THTMLForms();

  // The anchor or control of the HTML cell (display column) under the client point; with a ControlID (and the
  // point -1, -1) the control of that ID wherever it is.
  THTMLHit HitTest(int ACol, int ARow, int X, int Y, const QString& ControlID = QString());
  // A click on an editable control of the base cell (ACol display, ARow).
  void ControlClick(const THTMLHit& Hit, int ACol, int ARow);
  void StartControlEdit(const QString& CellText, const QString& CtrlType, int ARow, int ACol, int ADisplCol,
                        plat::TRect CtrlRect, const QString& CtrlValue, const QString& CtrlID);
  void EndControlEdit();
  void ControlComboSelect();

  bool Editing() const { return FCtrlEditing; }
  bool ButtonDown() const { return FCtrlDown; }
  // The release of a held BUTTON control: drawn up again.
  void ReleaseButton();
  plat::TPoint ControlCell() const { return FCtrlXY; }
  // The ID of the control last edited.
  QString CurrentControlID() const { return FCtrlID; }
  plat::TEdit* EditControl() const { return FEdit; }
  plat::TComboBox* ComboControl() const { return FCombo; }

 private:
  // Enter and Tab end the control's edit (the editor's exit handling writes the value into the cell); Tab
  // then moves on. True when the key was one of them.
  bool EndKey(plat::TWinControl& Editor, char16_t Key);

  TExtStringGrid& G;
  plat::TPoint FCtrlXY{-1, -1};
  QString FCtrlID, FCtrlType;
  bool FCtrlEditing = false, FCtrlDown = false;
  plat::TEdit* FEdit = nullptr;
  plat::TComboBox* FCombo = nullptr;
};

}  // namespace grid
