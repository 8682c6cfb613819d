#pragma once
// The colour tables of the component styles for what the drop-downs colour beyond the drop-down itself: the
// item colours of the pickers. The drop-down's own tables (popup, bars, buttons) are applied by
// TExtCustomDropDown::SetComponentStyle.

#include "controls/theme_services.h"
#include "platform/graphics/color.h"

namespace dropdown {

// The colours a style gives to the items of a picker (hot, mirrored and selected item boxes, their borders and
// texts). The pickers' item appearance carries them.
struct TItemAppearanceColors {
  plat::TColor ColorHot = plat::clNone, ColorHotTo = plat::clNone;
  plat::TColor ColorMirrorHot = plat::clNone, ColorMirrorHotTo = plat::clNone;
  plat::TColor BorderColor = plat::clNone;
  plat::TColor ColorSelected = plat::clNone, ColorSelectedTo = plat::clNone;
  plat::TColor ColorMirrorSelected = plat::clNone, ColorMirrorSelectedTo = plat::clNone;
  plat::TColor BorderColorTop = plat::clNone, BorderColorBottom = plat::clNone, EdgeColor = plat::clNone;
  plat::TColor ColorSelectedText = plat::clBlack, ColorHotText = plat::clBlack;
  plat::TColor BorderColorHot = plat::clNone, BorderColorSelected = plat::clNone;
};

// Sets the item colours of Style; nothing without an appearance or for tsCustom.
void SetItemAppearanceStyle(TItemAppearanceColors* Appearance, controls::TExtStyle Style);

}  // namespace dropdown
