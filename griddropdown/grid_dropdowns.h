#pragma once
// The grid's drop-down cell editors: each drop-down control with the grid's side added. It ends the edit with
// keys after validating the value (Enter, Up and Down commit and move on, Tab commits and goes to the next
// cell, Escape puts the cell's text back), reports its text changes and typed characters through the grid's
// events, and ends the edit when it loses the focus. Alt+Down opens the drop-down instead of ending the edit.
// The nine differ only in a few details, kept in the shared template (grid_dropdowns.cpp):
//  - track bar: wants Enter and Escape from the dialog keys, writes its text through SetText, caret at a click;
//  - memo: gives the cell its lines as one text, caret at a click;
//  - calculator: Enter first completes the pending operation, so the cell gets the result; caret at a click;
//  - time picker: no focus frame of its own;
//  - colour picker: wants Enter and Escape; with its palette open only Tab, Enter and Escape end the edit
//    (Up and Down move in the palette), closed also Home; only Enter commits.
// The grid sets them up and writes them back through the editor families of dropdown_kinds.cpp.

#include <QString>

#include <cstdint>

#include "dropdown/calculator_dropdown.h"
#include "dropdown/color_picker.h"
#include "dropdown/detail_dropdown.h"
#include "dropdown/grid_dropdown.h"
#include "dropdown/image_picker.h"
#include "dropdown/memo_dropdown.h"
#include "dropdown/multicolumn.h"
#include "dropdown/time_picker.h"
#include "dropdown/trackbar_dropdown.h"

namespace grid {

class TDropDownEditHost;
class TExtStringGrid;

template <class TParent>
class TGridDropDownOf : public TParent {
 public:
  TGridDropDownOf(plat::TComponent* AOwner, TDropDownEditHost* Host);

  bool Forced = false;   // cleared on every key-down
  bool WorkMode = true;  // false after a Backspace or Delete key-down
  // Escape ended the edit: the cell keeps what it had (set-up clears it).
  bool EditCancelled = false;
  TDropDownEditHost* GridHost() const { return FHost; }
  // The value the editor gives the cell.
  QString EditorText() const;
  // A display-only editor (EditorEnabled off) drops the keys it does not use: the keys that end an edit
  // reach the grid's key-down all the same.
  void Dispatch(plat::TMessage& Message) override;

 protected:
  void HandleKeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void HandleKeyPress(char16_t& Key) override;
  void HandleChange() override;
  void WantSpecialKeyMessage(plat::TMessage& Message) override;
  void SetFocusMessage(plat::TMessage& Message) override;
  void DoExit() override;

 private:
  // The text write of the closing keys (the track bar formats it, the others write it unchanged).
  void WriteText(const QString& Value);
  // The keys that end the edit (Alt+Up and Alt+Down never do).
  bool ClosingKey(std::uint16_t Key, plat::TShiftState Shift) const;
  // The value becomes the current cell's and is validated; false when refused.
  bool Commit();
  void CaretAtClick();
  TDropDownEditHost* FHost;
};

extern template class TGridDropDownOf<dropdown::TExtTrackBarDropDown>;
extern template class TGridDropDownOf<dropdown::TExtMemoDropDown>;
extern template class TGridDropDownOf<dropdown::TExtCalculatorDropdown>;
extern template class TGridDropDownOf<dropdown::TExtTimePickerDropDown>;
extern template class TGridDropDownOf<dropdown::TExtDetailDropDown>;
extern template class TGridDropDownOf<dropdown::TExtMultiColumnDropDown>;
extern template class TGridDropDownOf<dropdown::TCustomExtGridDropDown>;
extern template class TGridDropDownOf<dropdown::TExtColorPickerDropDown>;
extern template class TGridDropDownOf<dropdown::TExtImagePickerDropDown>;

class TGridTrackbarDropDown : public TGridDropDownOf<dropdown::TExtTrackBarDropDown> {
 public:
  using TGridDropDownOf::TGridDropDownOf;
  void DoChange() {}
};

class TGridMemoDropDown : public TGridDropDownOf<dropdown::TExtMemoDropDown> {
 public:
  using TGridDropDownOf::TGridDropDownOf;
};

class TGridCalculatorDropDown : public TGridDropDownOf<dropdown::TExtCalculatorDropdown> {
 public:
  using TGridDropDownOf::TGridDropDownOf;
};

class TGridTimepickerDropDown : public TGridDropDownOf<dropdown::TExtTimePickerDropDown> {
 public:
  using TGridDropDownOf::TGridDropDownOf;
};

class TGridDetailPickerDropDown : public TGridDropDownOf<dropdown::TExtDetailDropDown> {
 public:
  using TGridDropDownOf::TGridDropDownOf;
};

class TGridGridDropDown : public TGridDropDownOf<dropdown::TExtMultiColumnDropDown> {
 public:
  using TGridDropDownOf::TGridDropDownOf;
};

class TGridExtGridDropDown : public TGridDropDownOf<dropdown::TCustomExtGridDropDown> {
 public:
  using TGridDropDownOf::TGridDropDownOf;
  // The drop-down's inner grid.
  TExtStringGrid* Grid() const;
};

class TGridColorDropDown : public TGridDropDownOf<dropdown::TExtColorPickerDropDown> {
 public:
  using TGridDropDownOf::TGridDropDownOf;
};

class TGridImageDropDown : public TGridDropDownOf<dropdown::TExtImagePickerDropDown> {
 public:
  using TGridDropDownOf::TGridDropDownOf;
};

}  // namespace grid
