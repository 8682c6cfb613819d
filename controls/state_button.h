#pragma once
// What the editors' small buttons share: the colours their owners may set, and a graphic button that is
// down while the left mouse button holds it, hot while the pointer is over it, and may be themed or flat.

#include <memory>

#include "platform/forms/controls.h"
#include "platform/graphics/types.h"
#include "platform/graphics/color.h"
#include "platform/graphics/graphic.h"

namespace plat {
class TCanvas;
}

namespace controls {

// Own button colours (clNone: the look of the theme or the platform).
struct TButtonColors {
  plat::TColor ButtonColor = plat::clNone;
  plat::TColor ButtonColorHot = plat::clNone;
  plat::TColor ButtonColorDown = plat::clNone;
  plat::TColor ButtonTextColor = plat::clNone;
  plat::TColor ButtonTextColorHot = plat::clNone;
  plat::TColor ButtonTextColorDown = plat::clNone;
  plat::TColor ButtonBorderColor = plat::clNone;

  // The flat drop-down button of an edit in these colours: the face filled over Face (hot or down colour while
  // Hover), the border colour's line on the left edge of Edge, and a small down arrow whose left point is at
  // ArrowLeft. Held: a mouse button is down.
  void PaintFlatDropButton(plat::TCanvas& C, const plat::TRect& Face, const plat::TRect& Edge, int ArrowLeft,
                           bool Hover, bool Held) const;
};

class TStateButton : public plat::TGraphicControl {
 public:
  explicit TStateButton(plat::TComponent* AOwner);
  ~TStateButton() override;
  bool IsWinXP() const { return FIsWinXP; }
  void SetIsWinXP(bool v);
  bool Flat() const { return FFlat; }
  void SetFlat(bool v);
  bool Hot() const { return FHot; }
  bool Down() const { return FDown; }
  plat::TBitmap* Glyph() const { return FGlyph.get(); }
  void Dispatch(plat::TMessage& Message) override;

 protected:
  void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  bool FIsWinXP = false;
  bool FFlat = false;
  bool FHot = false;
  bool FDown = false;
  std::unique_ptr<plat::TBitmap> FGlyph;
};

}  // namespace controls
