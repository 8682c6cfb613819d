#include "grid/view/cell_graphic_size.h"

#include <algorithm>
#include <cmath>

#include "grid/extobj.h"
#include "grid/model/intlist.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/imagelist.h"

namespace grid {

namespace {

bool BesideText(TCellHAlign h) { return h == haBeforeText || h == haAfterText; }
bool AboveOrUnderText(TCellVAlign v) { return v == vaUnderText || v == vaAboveText; }

// The size of a picture-like object: a graphic, a picture or a picture kept by file name.
plat::TSize PictureOf(const plat::TObject* O) {
  if (const auto* g = dynamic_cast<const plat::TGraphic*>(O)) return {g->Width(), g->Height()};
  if (const auto* p = dynamic_cast<const plat::TPicture*>(O)) return {p->Width(), p->Height()};
  if (const auto* f = dynamic_cast<const TFilePicture*>(O)) return {f->Width(), f->Height()};
  return {0, 0};
}

// An image of W x H beside or above the text: its width only beside the text, its height only above or under
// it; both when the cell has no text.
plat::TPoint AroundText(const TCellGraphic& G, int W, int H, bool NoText) {
  return {BesideText(G.CellHAlign) || NoText ? W : 0, AboveOrUnderText(G.CellVAlign) || NoText ? H : 0};
}

}  // namespace

plat::TSize TCellGraphicSizer::CellSize(int ACol, int ARow) {
  const plat::TRect area = FHost.SizedArea(ACol, ARow);
  int w = 0, h = 0;
  for (int c = area.Left; c <= area.Right; ++c) w += FHost.RealColWidth(c);
  for (int r = area.Top; r <= area.Bottom; ++r) h += FHost.SizedRowHeight(r);
  return {w, h};
}

plat::TPoint TCellGraphicSizer::RadioSize(const TCellGraphic& G) {
  const auto* items = dynamic_cast<const plat::TStrings*>(G.CellBitmap);
  plat::TCanvas& canvas = FHost.MeasureCanvas();
  const int th = canvas.TextHeight(QStringLiteral("gh"));
  const int count = items ? items->Count() : 0;
  int w = 0;
  for (int i = 0; i < count; ++i) {
    const int iw = canvas.TextWidth(items->Strings(i)) + 12;
    w = G.CellBoolean ? w + iw : std::max(w, iw);
  }
  if (G.CellBoolean) return {w, th};
  return {std::max(12, w), count * std::max(16, th)};
}

plat::TPoint TCellGraphicSizer::ImagesSize(const TCellGraphic& G, plat::TCustomImageList* Images) {
  const auto* list = dynamic_cast<const TIntList*>(G.CellBitmap);
  if (!Images || !list) return {0, 0};
  const int n = list->Count();
  if (G.CellBoolean) return {n * Images->Width(), Images->Height()};
  return {Images->Width(), n * Images->Height()};
}

plat::TPoint TCellGraphicSizer::ButtonSize(const TCellGraphic& G, bool HasText, bool& FixedWidth) {
  plat::TPoint s(G.CellIndex & 0xFFFF, (static_cast<unsigned>(G.CellIndex) >> 16) & 0xFFFF);
  plat::TCanvas& canvas = FHost.MeasureCanvas();
  if (HasText) {
    if (G.CellHAlign == haCenter) s.X = 0;
    if (G.CellHAlign == haFull) s.X = canvas.TextWidth(G.CellText) + 4;
    if (AboveOrUnderText(G.CellVAlign))
      s.X = 0;
    else
      s.Y = 0;
  } else if (G.CellHAlign == haFull) {
    canvas.Font()->Assign(FHost.MeasureFont());
    s.X = canvas.TextWidth(G.CellText) + 4;
    FixedWidth = !G.CellText.isEmpty();
  }
  return s;
}

plat::TPoint TCellGraphicSizer::ObjectSize(const TCellGraphic& G, int ACol, int ARow, int YMargin,
                                           bool& FixedWidth) {
  const bool noText = FHost.CellTextEmpty(ACol, ARow);
  const int check = FHost.CheckBoxSize(), radio = FHost.RadioButtonSize();
  plat::TCustomImageList* images = FHost.CellImages();
  switch (G.CellType) {
    case ctBitmap: {
      const plat::TSize s = PictureOf(G.CellBitmap);
      return AroundText(G, s.cx, s.cy, noText);
    }
    case ctIcon: {
      const plat::TSize s = PictureOf(G.CellIcon);
      return {AroundText(G, s.cx, s.cy, noText).X, s.cy};
    }
    case ctImageList:
    case ctDataImage:
      return images ? AroundText(G, images->Width(), images->Height(), noText) : plat::TPoint();
    case ctCheckBox: case ctDataCheckBox: case ctVirtCheckBox: case ctRowCheckBox: case ctTriStateCheckBox:
      return {check, check};
    case ctRadioButton: return {radio, radio};
    case ctProgressPie: return {20, 20};
    case ctRadio: return RadioSize(G);
    case ctImages: return ImagesSize(G, images);
    case ctPicture:
    case ctFilePicture: {
      const plat::TSize cell = CellSize(ACol, ARow), pic = PictureOf(G.CellBitmap);
      const int cw = cell.cx - 1 - FHost.ContentsMargins().X;
      const int ch = cell.cy - 1 - FHost.ContentsMargins().Y - YMargin;
      return G.GetPictureSize(pic.cx, pic.cy, cw, ch);
    }
    case ctButton:
    case ctBitButton: return ButtonSize(G, !noText, FixedWidth);
    case ctInterface: {
      auto* cell = dynamic_cast<IInterfacedCell*>(G.CellBitmap);
      const int w = cell ? cell->GetWidth() : 0, h = cell ? cell->GetHeight() : 0;
      if (w != 0 && h != 0) return {w, h};
      const plat::TSize s = CellSize(ACol, ARow);
      return {s.cx, s.cy};
    }
    case ctRating:
      FixedWidth = true;
      return {G.CellAngle * 18, 16};
    default: return {0, 0};
  }
}

plat::TPoint TCellGraphicSizer::ScreenSize(int ACol, int ARow, int YMargin) {
  const TCellGraphic* g = FHost.CellGraphicAt(ACol, ARow);
  if (!g) return {0, 0};
  bool fixedWidth = false;
  plat::TPoint s = ObjectSize(*g, ACol, ARow, YMargin, fixedWidth);
  if (g->CellVAlign == vaFull || (g->CellHAlign == haFull && !fixedWidth)) {
    const plat::TSize cell = CellSize(ACol, ARow);
    if (g->CellVAlign == vaFull) s.Y = cell.cy;
    if (g->CellHAlign == haFull && !fixedWidth) s.X = cell.cx;
  }
  return s;
}

plat::TPoint TCellGraphicSizer::PrintSize(int ACol, int ARow, int MaxW, int MaxH, double Scale) {
  const TCellGraphic* g = FHost.CellGraphicAt(ACol, ARow);
  if (!g) return {0, 0};
  plat::TCustomImageList* images = FHost.CellImages();
  bool fixedWidth = false;
  switch (g->CellType) {
    case ctBitmap: {
      const plat::TSize s = PictureOf(g->CellBitmap);
      return {s.cx, s.cy};
    }
    case ctIcon: {
      const plat::TSize s = PictureOf(g->CellIcon);
      return {s.cx, s.cy};
    }
    case ctImageList:
      return images ? plat::TPoint(ObjectSize(*g, ACol, ARow, 0, fixedWidth).X, images->Height()) : plat::TPoint();
    case ctDataImage: return images ? plat::TPoint(images->Width(), images->Height()) : plat::TPoint();
    case ctPicture:
    case ctFilePicture: {
      const plat::TSize pic = PictureOf(g->CellBitmap);
      const plat::TPoint s = g->GetPictureSize(pic.cx, pic.cy, MaxW, MaxH);
      if (Scale == 0) return s;
      return {int(std::nearbyint(s.X / Scale)), int(std::nearbyint(s.Y / Scale))};
    }
    case ctButton:
    case ctBitButton: return {g->CellIndex & 0xFFFF, int((static_cast<unsigned>(g->CellIndex) >> 16) & 0xFFFF)};
    case ctProgress:
    case ctXPProgress: return {FHost.RealColWidth(ACol), FHost.SizedRowHeight(ARow)};
    case ctShape: {
      const int side = FHost.SizedRowHeight(ARow) - 2 * FHost.CellMarginY();
      return {side, side};
    }
    case ctNode:
    case ctProgressPie: return {20, 20};
    case ctInterface: {
      auto* cell = dynamic_cast<IInterfacedCell*>(g->CellBitmap);
      if (!cell) return {0, 0};
      const plat::TSize s = CellSize(ACol, ARow);
      return {cell->GetWidth() ? cell->GetWidth() : s.cx, cell->GetHeight() ? cell->GetHeight() : s.cy};
    }
    case ctCheckBox: case ctDataCheckBox: case ctVirtCheckBox: case ctRowCheckBox: case ctTriStateCheckBox:
    case ctRadioButton: case ctRadio: case ctImages:
      return ObjectSize(*g, ACol, ARow, 0, fixedWidth);
    default: return {0, 0};
  }
}

}  // namespace grid
