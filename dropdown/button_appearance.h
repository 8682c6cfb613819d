#pragma once
// The colours of the flat buttons on a drop-down popup's header and footer bars, for their normal, hot,
// pressed, disabled and toggled states. Every colour setter notifies OnChange when the value changes.

#include "platform/graphics/color.h"
#include "platform/graphics/gdiobjects.h"
#include "platform/rtl/events.h"
#include "platform/rtl/object.h"

namespace dropdown {

class TExtButtonAppearance : public plat::TPersistent {
  PLAT_CLASS(TExtButtonAppearance)

  TExtButtonAppearance();
  void Assign(plat::TPersistent* Source) override;

#define DROPDOWN_BUTTON_COLOR(Name, Default)      \
  plat::TColor Name() const { return F##Name; }   \
  void Set##Name(plat::TColor Value) {            \
    if (Value == F##Name) return;                 \
    F##Name = Value;                              \
    Changed();                                    \
  }
  DROPDOWN_BUTTON_COLOR(BorderColor, plat::clNone)
  DROPDOWN_BUTTON_COLOR(BorderColorHot, plat::TColor(0x808080))
  DROPDOWN_BUTTON_COLOR(BorderColorDown, plat::TColor(0x800000))
  DROPDOWN_BUTTON_COLOR(BorderColorDisabled, plat::TColor(0x808080))
  DROPDOWN_BUTTON_COLOR(BorderColorChecked, plat::TColor(0xFF0000))
  DROPDOWN_BUTTON_COLOR(Color, plat::clNone)
  DROPDOWN_BUTTON_COLOR(ColorTo, plat::clNone)
  DROPDOWN_BUTTON_COLOR(ColorDown, plat::TColor(0xF5D8CA))
  DROPDOWN_BUTTON_COLOR(ColorDownTo, plat::TColor(0xF9BDA0))
  DROPDOWN_BUTTON_COLOR(ColorHot, plat::TColor(0xF5F0E1))
  DROPDOWN_BUTTON_COLOR(ColorHotTo, plat::TColor(0xF9D2B2))
  DROPDOWN_BUTTON_COLOR(ColorCheckedTo, plat::TColor(0xF9BDA0))
  DROPDOWN_BUTTON_COLOR(ColorDisabled, plat::TColor(0xF2F2F2))
  DROPDOWN_BUTTON_COLOR(ColorDisabledTo, plat::clNone)
  DROPDOWN_BUTTON_COLOR(ColorChecked, plat::TColor(0xF5D8CA))
#undef DROPDOWN_BUTTON_COLOR

  // 0 horizontal (bands left to right), 1 vertical (top to bottom).
  int Gradient() const { return FGradient; }
  void SetGradient(int Value) {
    if (Value == FGradient) return;
    FGradient = Value;
    Changed();
  }
  plat::TFont* Font() { return &FFont; }

  plat::TNotifyEvent OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange(this);
  }
  plat::TColor FBorderColor = plat::clNone, FBorderColorHot = 0x808080, FBorderColorDown = 0x800000;
  plat::TColor FBorderColorDisabled = 0x808080, FBorderColorChecked = 0xFF0000;
  plat::TColor FColor = plat::clNone, FColorTo = plat::clNone, FColorDown = 0xF5D8CA, FColorDownTo = 0xF9BDA0;
  plat::TColor FColorHot = 0xF5F0E1, FColorHotTo = 0xF9D2B2, FColorCheckedTo = 0xF9BDA0;
  plat::TColor FColorDisabled = 0xF2F2F2, FColorDisabledTo = plat::clNone, FColorChecked = 0xF5D8CA;
  int FGradient = 1;
  plat::TFont FFont;
};

}  // namespace dropdown
