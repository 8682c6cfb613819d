#pragma once
// One call of the mini-HTML renderer for a grid cell: the few inputs a cell has, named, and the measured size
// back. Everything else the renderer takes (hot spots, controls, anchors) keeps its neutral value.

#include <QString>

#include "platform/graphics/canvas.h"
#include "platform/graphics/imagelist.h"

namespace grid {

struct THTMLCell {
  QString Text;
  plat::TRect Rect;
  plat::TCustomImageList* Images = nullptr;
  plat::TColor URLColor = plat::clBlue;
  plat::TColor ShadowColor = plat::clGray;
  int HoverLink = -1;
  bool Blink = false;
  bool HoverUnderline = false;
  bool WordWrap = true;
  bool CalcOnly = false;
  // Out: the laid-out text's size.
  int Width = 0, Height = 0;

  void Render(plat::TCanvas& Canvas);
};

}  // namespace grid
