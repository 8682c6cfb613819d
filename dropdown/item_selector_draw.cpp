// Painting the item selector's cells: the hot or selected box, then the colour box, picture or list image and
// the mini-HTML caption in the cell's layout.
#include "controls/draw_utils.h"
#include "dropdown/item_selector.h"
#include "dropdown/paint_routines.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/imagelist.h"

namespace dropdown {

using namespace plat;

void TCustomItemSelector::Paint() {
  TCanvas* canvas = Canvas();
  if (!canvas) return;
  // The area outside the cells shows the panel's colour.
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(FExtItemSelector->Color());
  canvas->FillRect(TRect(0, 0, Width(), Height()));
  for (int i = 0; i < Items()->Count(); ++i) DrawItem(i, canvas);
}

void TCustomItemSelector::DrawItem(int Index, TCanvas* Canvas) {
  if (!ValidIndex(Index) || !Canvas || !FExtItemSelector) return;
  const TRect r = Items()->GetItem(Index)->Rect();
  if (r.Left < 0 && r.Right < 0) return;
  DrawItemBackground(Index, *Canvas, r);
  if (FExtItemSelector->OnDrawItem) {
    FExtItemSelector->OnDrawItem(this, Canvas, r, Index);
    return;
  }
  DrawItemContent(Index, *Canvas, r);
}

void TCustomItemSelector::DrawItemBackground(int Index, TCanvas& Canvas, const TRect& R) {
  const TItemAppearance& a = *FExtItemSelector->ItemAppearance();
  TColor border = a.BorderColor, top = a.BorderColorTop, bottom = a.BorderColorBottom, edge = a.EdgeColor;
  TColor from = clNone, to = clNone, mirror = clNone, mirrorTo = clNone;
  auto highlight = [&](TColor f, TColor t, TColor m, TColor mt, TColor plainBorder) {
    from = f, to = t, mirror = m, mirrorTo = mt;
    if (plainBorder == clNone) return;
    border = plainBorder;
    top = bottom = edge = clNone;
  };
  if (Index == FItemHot) highlight(a.ColorHot, a.ColorHotTo, a.ColorMirrorHot, a.ColorMirrorHotTo, a.BorderColorHot);
  // After the hot colours: selection wins.
  if (Index == FItemIndex)
    highlight(a.ColorSelected, a.ColorSelectedTo, a.ColorMirrorSelected, a.ColorMirrorSelectedTo,
              a.BorderColorSelected);
  const TColor back = FExtItemSelector->Color();
  if (Index != FItemHot && Index != FItemIndex) {
    Canvas.Brush()->SetStyle(bsSolid);
    Canvas.Brush()->SetColor(back);
    Canvas.FillRect(R);
  } else if (top == clNone) {
    DrawGradientBox(&Canvas, R, from, to, true, 1, border);
  } else {
    controls::DrawRoundedSelection(Canvas, from, to, mirror, mirrorTo, top, bottom, border, edge, back, R, 0);
  }
}

bool TCustomItemSelector::DrawItemImage(const TSelectorItem& Item, TCanvas& Canvas, int X, int Y) {
  if (SelectorType() == stColor) {
    Canvas.Pen()->SetStyle(psSolid);
    Canvas.Pen()->SetColor(clBlack);
    Canvas.Brush()->SetStyle(bsSolid);
    Canvas.Brush()->SetColor(Item.Color());
    Canvas.Rectangle(X, Y, X + ColorBoxWidth(), Y + ColorBoxHeight());
    return true;
  }
  if (Item.HasPicture()) {
    Canvas.Draw(X, Y, Item.Image()->Graphic());
    return true;
  }
  if (Images() && Item.ImageIndex() >= 0) {
    Images()->Draw(&Canvas, X, Y, Item.ImageIndex(), Item.Enabled());
    return true;
  }
  return false;
}

void TCustomItemSelector::DrawItemContent(int Index, TCanvas& Canvas, TRect R) {
  const TSelectorItem& item = *Items()->GetItem(Index);
  const TItemAppearance& a = *FExtItemSelector->ItemAppearance();
  const TSize image = ContentSize(item);
  const int iw = image.cx, ih = image.cy;
  TRect t(R.Left + FItemOffSetX, R.Top + FItemOffSetY, R.Right - FItemOffSetX, R.Bottom - FItemOffSetY);
  TRect p = t;
  Canvas.Font()->Assign(*a.Font());
  if (Index == FItemHot) Canvas.Font()->SetColor(a.ColorHotText);
  if (Index == FItemIndex) Canvas.Font()->SetColor(a.ColorSelectedText);
  Canvas.Brush()->SetStyle(bsClear);
  const QString caption = item.Caption();
  TSize drawn;
  auto drawCaption = [&](bool centre) {
    TSize size;
    DrawHTMLText(Canvas, caption, t, size, nullptr, false, Images());
    if (centre && size.cy < t.Height()) t.Top += (t.Height() - size.cy) / 2;
    Canvas.Brush()->SetStyle(bsClear);
    DrawHTMLText(Canvas, caption, t, drawn, nullptr, true, Images());
  };
  const bool box = SelectorType() == stColor;
  switch (ItemLayout()) {
    case ilCaptionLeft:
      if (!caption.isEmpty()) {
        t.Right -= iw;
        drawCaption(true);
        p.Left = t.Left + drawn.cx + FCaptionGap;
      }
      DrawItemImage(item, Canvas, p.Left, box ? p.Top : p.Top + (p.Height() - ih) / 2);
      break;
    case ilCaptionRight:
      if (DrawItemImage(item, Canvas, p.Left, box ? p.Top : p.Top + (p.Height() - ih) / 2))
        t.Left = p.Left + iw + FCaptionGap;
      if (!caption.isEmpty()) drawCaption(true);
      break;
    case ilCaptionTop:
      if (!caption.isEmpty()) {
        t.Bottom -= ih;
        drawCaption(false);
        p.Top = t.Top + drawn.cy + FCaptionGap;
      } else {
        p.Top += (p.Height() - ih) / 2;
      }
      p.Left += (p.Width() - iw) / 2;
      DrawItemImage(item, Canvas, p.Left, p.Top);
      break;
    case ilCaptionBottom:
      if (caption.isEmpty()) p.Top += (p.Height() - ih) / 2;
      p.Left += (p.Width() - iw) / 2;
      if (DrawItemImage(item, Canvas, p.Left, p.Top)) t.Top = p.Top + ih + FCaptionGap;
      if (!caption.isEmpty()) drawCaption(false);
      break;
  }
}

}  // namespace dropdown
