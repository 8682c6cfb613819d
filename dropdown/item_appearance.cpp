// The item selector's appearance and its items.
#include <array>

#include "dropdown/item_selector.h"
#include "platform/graphics/gdiobjects.h"
#include "platform/graphics/graphic.h"

namespace dropdown {

using namespace plat;

namespace {

struct TSelectionPreset {
  TSelectionColorStyle Style;
  TColor ColorHot, ColorHotTo, ColorMirrorHot, ColorMirrorHotTo;
  TColor BorderColorTop, BorderColorBottom, BorderColor, EdgeColor;
  TColor ColorSelected, ColorSelectedTo, ColorMirrorSelected, ColorMirrorSelectedTo;
};

// Blue in the high byte, as every TColor.
constexpr std::array<TSelectionPreset, 3> SelectionPresets{{
    {scOffice2007, 0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF, 0xA6FFFB,
     0x04B9F4, 0x15C1FB, 0x68E3F9},
    {scWindowsVista, 0xFDF8F1, 0xFCEFD5, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB, 0xFAEEDE,
     0xFAE3B4, clNone, clNone},
    {scWindows7, 0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE, 0xF9D8B9, 0xFBCAA2,
     clNone, clNone},
}};

}  // namespace

// ---- TItemAppearance ------------------------------------------------------------------------------------

TItemAppearance::TItemAppearance(TPersistent* AOwner) : FOwner(AOwner), FFont(std::make_unique<TFont>()) {
  FFont->SetName(QStringLiteral("Tahoma"));
  SetColorStyle(scOffice2007);
  ColorSelectedText = clBlack;
  ColorHotText = clBlack;
  BorderColorHot = clNone;
  BorderColorSelected = clNone;
}

TItemAppearance::~TItemAppearance() = default;

void TItemAppearance::SetFont(const TFont& Value) { FFont->Assign(Value); }

void TItemAppearance::SetColorStyle(TSelectionColorStyle Style) {
  if (Style == FColorStyle) return;
  FColorStyle = Style;
  for (const TSelectionPreset& p : SelectionPresets) {
    if (p.Style != Style) continue;
    ColorHot = p.ColorHot;
    ColorHotTo = p.ColorHotTo;
    ColorMirrorHot = p.ColorMirrorHot;
    ColorMirrorHotTo = p.ColorMirrorHotTo;
    BorderColorTop = p.BorderColorTop;
    BorderColorBottom = p.BorderColorBottom;
    BorderColor = p.BorderColor;
    EdgeColor = p.EdgeColor;
    ColorSelected = p.ColorSelected;
    ColorSelectedTo = p.ColorSelectedTo;
    ColorMirrorSelected = p.ColorMirrorSelected;
    ColorMirrorSelectedTo = p.ColorMirrorSelectedTo;
  }
}

void TItemAppearance::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TItemAppearance*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  ColorMirrorHotTo = s->ColorMirrorHotTo;
  BorderColor = s->BorderColor;
  ColorMirrorHot = s->ColorMirrorHot;
  ColorSelectedTo = s->ColorSelectedTo;
  ColorSelected = s->ColorSelected;
  EdgeColor = s->EdgeColor;
  ColorHotTo = s->ColorHotTo;
  BorderColorBottom = s->BorderColorBottom;
  ColorHot = s->ColorHot;
  BorderColorTop = s->BorderColorTop;
  ColorMirrorSelectedTo = s->ColorMirrorSelectedTo;
  ColorMirrorSelected = s->ColorMirrorSelected;
  FFont->Assign(*s->FFont);
  SetColorStyle(s->FColorStyle);
  ColorSelectedText = s->ColorSelectedText;
  ColorHotText = s->ColorHotText;
  BorderColorHot = s->BorderColorHot;
  BorderColorSelected = s->BorderColorSelected;
}

// ---- TSelectorItem --------------------------------------------------------------------------------------

void TSelectorItem::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TSelectorItem*>(Source);
  if (!s) {
    TCollectionItem::Assign(Source);
    return;
  }
  // The colour's notification comes between the caption's and the image index's.
  SetCaption(s->Caption());
  SetColor(s->FColor);
  AssignPickerItem(*s);
  FHint = s->FHint;
}

void TSelectorItem::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  NotifyChange();
}

bool TSelectorItem::HasPicture() const { return Image()->Graphic() && !Image()->Graphic()->Empty(); }

}  // namespace dropdown
