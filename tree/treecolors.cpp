#include "tree/treecolors.h"

namespace lazytree {

using namespace plat;

TLTColors::TLTColors() : TLTColors(TOwner{}) {}

TLTColors::TLTColors(TOwner Owner)
    : FOwner(std::move(Owner)),
      FColors{clBtnShadow, clHighlight, clHighlight, clHighlight, clBtnFace,   clBtnShadow,
              clBtnFace,   clBtnFace,   clWindowText, clHighlight, clBtnFace, clHighlight,
              clHighlight, clHighlight, clBtnShadow,  clHighlightText, clBtnFace} {}

void TLTColors::SetColor(int Index, TColor Value) {
  TColor& c = FColors.at(static_cast<std::size_t>(Index));
  if (c == Value) return;
  c = Value;
  if (FOwner.Changed) FOwner.Changed(Index);
}

void TLTColors::Assign(const TLTColors& Source) {
  if (&Source == this) return;
  FColors = Source.FColors;
  if (FOwner.Changed) FOwner.Changed(-1);
}

TColor TLTColors::BackGroundColor() const { return FOwner.BackGroundColor ? FOwner.BackGroundColor() : clWindow; }

TColor TLTColors::NodeFontColor() const { return FOwner.NodeFontColor ? FOwner.NodeFontColor() : clWindowText; }

TColor TLTColors::HeaderFontColor() const {
  return FOwner.HeaderFontColor ? FOwner.HeaderFontColor() : NodeFontColor();
}

}  // namespace lazytree
