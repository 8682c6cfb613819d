#pragma once
// TRetEdit: the search box of the grid's search panel, an edit that reports Enter and Ctrl+Enter instead of
// passing them on, and hands the line-feed and carriage-return characters to OnKeyPress only.

#include "platform/forms/stdctrls.h"

namespace controls {

class TRetEdit : public plat::TEdit {
 public:
  explicit TRetEdit(plat::TComponent* AOwner) : plat::TEdit(AOwner) {}

  plat::TNotifyEvent OnReturn;
  plat::TNotifyEvent OnCtrlReturn;

 protected:
  void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  void KeyPress(char16_t& Key) override;
};

}  // namespace controls
