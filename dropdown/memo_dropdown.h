#pragma once
// TExtMemoDropDown: a multi-line text (MemoText) edited in a memo that drops down, while the edit shows it in
// one line. With the editor disabled the edit shows the first line, followed by "..." when more lines follow
// or cut with "..." to the edit's width. Escape in the memo gives back the text it opened with; closing the
// popup by clicking elsewhere keeps what was typed.

#include "dropdown/ext_dropdown.h"
#include "platform/forms/stdctrls.h"

namespace plat {
class TPopupMenu;
class TStringList;
}  // namespace plat

namespace dropdown {

class TExtMemoDropDown : public TExtCustomDropDown {
 public:
  explicit TExtMemoDropDown(plat::TComponent* AOwner);
  ~TExtMemoDropDown() override;

  plat::TStringList* MemoText() const { return FMemoText.get(); }
  void SetMemoText(plat::TStrings* Value);
  plat::TMemo* Memo() const { return FMemo; }
  plat::TPopupMenu* MemoPopup() const { return FMemoPopup; }
  void SetMemoPopup(plat::TPopupMenu* Value) { FMemoPopup = Value; }
  plat::TScrollStyle MemoScrollBars() const { return FMemoScrollBars; }
  void SetMemoScrollBars(plat::TScrollStyle Value) { FMemoScrollBars = Value; }
  bool MemoReadOnly() const { return FMemoReadOnly; }
  void SetMemoReadOnly(bool Value);
  // Entering the edit opens the popup.
  bool AutoDrop() const { return FAutoDrop; }
  void SetAutoDrop(bool Value) { FAutoDrop = Value; }

  // The memo's text changed while the popup is open.
  plat::TNotifyEvent OnMemoChange;

 protected:
  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void DoHideDropDown(bool Cancelled) override;
  void DropDownHidden() override;
  void DoEnter() override;
  void HandleChange() override;
  void ControlKeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void ControlKeyUp(std::uint16_t& Key, plat::TShiftState Shift) override;
  void ControlKeyPress(char16_t& Key) override;

 private:
  // Writes MemoText into the edit in one line.
  void UpdateEditText();
  // MemoText's lines joined by line breaks.
  QString JoinedText() const;

  plat::TPopupMenu* FMemoPopup = nullptr;
  std::unique_ptr<plat::TStringList> FMemoText;
  plat::TMemo* FMemo = nullptr;
  plat::TScrollStyle FMemoScrollBars = plat::ssNone;
  bool FMemoReadOnly = false;
  bool FInternalUpdate = false;
  bool FAutoDrop = false;
};

}  // namespace dropdown
