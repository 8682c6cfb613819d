#pragma once
// The special editor controls of the string grid: small controls of the basic-controls family with the
// grid's side added - ending the edit with keys (validating first where the key commits), moving to the
// neighbouring cell, firing the grid's editor events, and writing back when the focus goes elsewhere.
// One control of each family per grid; the grid places and fills them (edit_kinds.cpp).

#include <QString>

#include "controls/date_picker.h"
#include "controls/edit_button.h"
#include "controls/flat_combo.h"
#include "controls/spin_edit.h"
#include "platform/forms/stdctrls.h"
#include "platform/grids/editmask.h"

namespace grid {

class TExtStringGrid;

// The grid side every special editor shares.
class TGridEditorSide {
 public:
  explicit TGridEditorSide(plat::TComponent* AOwner);
  TExtStringGrid* Grid() const { return FGrid; }

 protected:
  // Writes the value into the current cell and validates it; false when refused.
  bool Commit(const QString& Value);
  // After a closing key: Tab with goTabs moves to the next cell, Tab otherwise goes to the grid, every
  // other key ends the edit through DoneInplaceEdit (Enter reopens the editor of the next cell with
  // AdvanceOnEnter and AdvanceAutoEdit).
  void Close(std::uint16_t Key, plat::TShiftState Shift);
  // The focus left the editor: it is written back, unless the grid is writing it back already.
  void FocusLost();
  // Key-up of a one-line editor with Navigation.CursorWalkEditor: Left with the caret at 0 (at key-down and
  // now) or Right with it at the end, no selection and no modifier, ends the edit towards that neighbour.
  bool WalkOnKeyUp(std::uint16_t Key, plat::TShiftState Shift, int CaretBefore, int Caret, int SelLength,
                   int Length, const QString& Text);
  void FocusGrid();
  TExtStringGrid* FGrid;
};

class TGridSpin : public controls::TEsgSpinEdit, public TGridEditorSide {
 public:
  explicit TGridSpin(plat::TComponent* AOwner);
  void SpinUpClick(plat::TObject* Sender) override;
  void SpinDownClick(plat::TObject* Sender) override;
  void Dispatch(plat::TMessage& Message) override;

 protected:
  void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void KeyPress(char16_t& Key) override;

 private:
  void FireSpin(bool Up);
  bool PageKey(std::uint16_t Key);
};

class TGridCombo : public controls::TEsgComboBox, public TGridEditorSide {
 public:
  explicit TGridCombo(plat::TComponent* AOwner);
  void Dispatch(plat::TMessage& Message) override;
  plat::TNotifyEvent OnReturnKey;
  // The combo change events for the current item.
  void FireComboChange();
  // Lookup completion of the typed prefix from the items, then from the grid's lookup list.
  void DoChange();
  // Widens the dropped list to the widest item (in the grid's font), with room for a scroll bar when the
  // list holds more items than it shows.
  void SizeDropDownWidth();
  bool WorkMode = true;
  int ItemIdx = -1;
  bool ItemChange = false;

 protected:
  void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void KeyUp(std::uint16_t& Key, plat::TShiftState Shift) override;
  void KeyPress(char16_t& Key) override;
  void Change() override;
  // The list's choice, drop-down and close-up reach the grid as the combo's notifications.
  void Select() override;
  void DropDownShown() override;
  void DropDownHidden() override;

 public:
  // The grid has heard of the close-up.
  void ListClosed() { FListClosing = false; }

 private:
  void FocusGained();
  void Notify(int Code);
  int FSelKeyDown = 0;
  bool FListOpen = false, FListClosing = false;
};

class TGridEditBtn : public controls::TEsgEditBtn, public TGridEditorSide {
 public:
  explicit TGridEditBtn(plat::TComponent* AOwner);
  bool StopEditAfterClick = false;
  bool WorkMode = true;
  void ClickButton() override;
  void Dispatch(plat::TMessage& Message) override;
  // The edit mask (empty: none): with a mask the editor shows every position, typing fills the input
  // positions and skips the literals, and the value leaves out what the mask does not save.
  QString EditMask() const { return FEditMask; }
  void SetEditMask(const QString& Value);
  bool IsMasked() const { return !FMask.Empty(); }
  // Shows a value (through the mask when there is one).
  void SetEditValue(const QString& Value);
  QString EditValue() const;
  // Lookup completion of the typed prefix from the grid's lookup list.
  void DoChange();

 protected:
  void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void KeyUp(std::uint16_t& Key, plat::TShiftState Shift) override;
  void KeyPress(char16_t& Key) override;
  void Change() override;

 private:
  bool MaskedKey(char16_t Key);
  void Paste();
  QString FEditMask;
  plat::TEditMask FMask;
  int FSelKeyDown = 0;
};

class TGridUnitEditBtn : public controls::TEsgUnitEditBtn, public TGridEditorSide {
 public:
  explicit TGridUnitEditBtn(plat::TComponent* AOwner);
  void ClickButton() override;
  void Dispatch(plat::TMessage& Message) override;

 protected:
  void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void KeyPress(char16_t& Key) override;
};

class TGridCheckBox : public plat::TCheckBox, public TGridEditorSide {
 public:
  explicit TGridCheckBox(plat::TComponent* AOwner);
  void Dispatch(plat::TMessage& Message) override;

 protected:
  // The arrow keys end the edit and move the grid, so they must reach the box's key-down instead of the
  // form's dialog navigation.
  plat::LRESULT DefaultDlgCode() const override { return plat::TCheckBox::DefaultDlgCode() | plat::DLGC_WANTARROWS; }
  void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
};

class TGridButton : public plat::TButton, public TGridEditorSide {
 public:
  explicit TGridButton(plat::TComponent* AOwner);
  void Dispatch(plat::TMessage& Message) override;
  // The caption goes through the grid's ellipsis click and into the cell.
  void Pressed();

 protected:
  void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
};

class TGridDatePicker : public controls::TEsgDateTimePicker, public TGridEditorSide {
 public:
  explicit TGridDatePicker(plat::TComponent* AOwner);
  // Limits the set-up holds a cell's date in (0: none).
  plat::TDateTime MinDate = 0, MaxDate = 0;
  // The dropped calendar's week numbers, today line and today circle.
  bool Weeknumbers = false, ShowToday = true, ShowTodayCircle = true;
  // The calendar is dropped down (between its drop-down and close-up notices).
  bool OldDropped() const { return FOldDropped; }
  void Dispatch(plat::TMessage& Message) override;
  // After a typed digit: a field the digit completed hands the caret on to the next field, unless it is the
  // format's last field or the picker moved on by itself.
  virtual void ShiftFocus();

 protected:
  void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void KeyPress(char16_t& Key) override;
  void Change() override;
  void DropDown() override;
  void CloseUp() override;

 private:
  void RememberFields();
  bool FieldChanged(plat::TDateTimeField Field, int Before) const;
  plat::TDateTime CellValue(const QString& Text) const;
  void PaintFlatFrame();
  int Fy = 0, Fm = 0, Fd = 0, Fth = 0, Ftm = 0, Fts = 0;
  int FFieldBefore = 0;
  bool FOldDropped = false;
};

class TGridDateTimePicker : public controls::TExtDateTimePicker, public TGridEditorSide {
 public:
  explicit TGridDateTimePicker(plat::TComponent* AOwner);
  plat::TDateTime OriginalDateTime = 0;
  void Dispatch(plat::TMessage& Message) override;

 protected:
  void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void CloseUp() override;
};

// The date a cell's text gives: the date and time formats, then ISO 8601; the current date and time when
// the text is empty or does not convert.
plat::TDateTime CellTextToDateTime(const QString& Text);

}  // namespace grid
