#pragma once
// The tree's colour set: seventeen indexed colours with their defaults, and the colours of background and fonts.
// Writing a colour repaints the tree that owns the set.

#include <array>
#include <functional>

#include "platform/graphics/color.h"
#include "platform/graphics/gdivalues.h"

namespace lazytree {

enum TLTColorIndex : int {
  ciDisabledColor, ciDropMarkColor, ciDropTargetColor, ciFocusedSelectionColor, ciGridLineColor, ciTreeLineColor,
  ciUnfocusedSelectionColor, ciBorderColor, ciHotColor, ciFocusedSelectionBorderColor,
  ciUnfocusedSelectionBorderColor, ciDropTargetBorderColor, ciSelectionRectangleBlendColor,
  ciSelectionRectangleBorderColor, ciHeaderHotColor, ciSelectionTextColor, ciUnfocusedColor, ciColorCount
};

class TLTColors {
 public:
  // Changed is told the index of each changed colour (the owner repaints); Background and the font colours
  // come from the owner too.
  struct TOwner {
    std::function<void(int Index)> Changed;
    std::function<plat::TColor()> BackGroundColor;
    std::function<plat::TColor()> NodeFontColor;
    std::function<plat::TColor()> HeaderFontColor;
  };
  TLTColors();
  explicit TLTColors(TOwner Owner);

  plat::TColor GetColor(int Index) const { return FColors.at(static_cast<std::size_t>(Index)); }
  void SetColor(int Index, plat::TColor Value);
  // Takes all seventeen colours of Source.
  void Assign(const TLTColors& Source);

  plat::TColor BackGroundColor() const;
  plat::TColor NodeFontColor() const;
  plat::TColor HeaderFontColor() const;

#define LT_COLOR(Name)                                                 \
  plat::TColor Name() const { return GetColor(ci##Name); }            \
  void Set##Name(plat::TColor Value) { SetColor(ci##Name, Value); }
  LT_COLOR(DisabledColor)
  LT_COLOR(DropMarkColor)
  LT_COLOR(DropTargetColor)
  LT_COLOR(FocusedSelectionColor)
  LT_COLOR(GridLineColor)
  LT_COLOR(TreeLineColor)
  LT_COLOR(UnfocusedSelectionColor)
  LT_COLOR(BorderColor)
  LT_COLOR(HotColor)
  LT_COLOR(FocusedSelectionBorderColor)
  LT_COLOR(UnfocusedSelectionBorderColor)
  LT_COLOR(DropTargetBorderColor)
  LT_COLOR(SelectionRectangleBlendColor)
  LT_COLOR(SelectionRectangleBorderColor)
  LT_COLOR(HeaderHotColor)
  LT_COLOR(SelectionTextColor)
  LT_COLOR(UnfocusedColor)
#undef LT_COLOR

 private:
  TOwner FOwner;
  std::array<plat::TColor, ciColorCount> FColors;
};

}  // namespace lazytree
