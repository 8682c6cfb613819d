#include "grid/view/html_cell.h"

#include "controls/mini_html.h"

namespace grid {

void THTMLCell::Render(plat::TCanvas& Canvas) {
  QString anchor, stripped, focusAnchor, title, controlID, controlValue, controlType;
  int links = 0, mouseLink = -1;
  plat::TRect hoverRect, controlRect;
  controls::RenderHTMLText(Canvas, Text, Rect, Images, -1, -1, -1, HoverLink, 2, false, CalcOnly, false, false,
                           Blink, HoverUnderline, WordWrap, false, 1.0, URLColor, plat::clNone, plat::clNone,
                           ShadowColor, anchor, stripped, focusAnchor, title, Width, Height, links, mouseLink,
                           hoverRect, controlRect, controlID, controlValue, controlType, nullptr, nullptr, nullptr, 0);
}

}  // namespace grid
