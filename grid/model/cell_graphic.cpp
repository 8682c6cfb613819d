#include "grid/model/cell_graphic.h"

#include <cmath>
#include <utility>

namespace grid {

TCellGraphic::~TCellGraphic() {
  delete std::exchange(FOwnedBitmap, nullptr);
  delete std::exchange(FOwnedIcon, nullptr);
}

void TCellGraphic::Assign(plat::TPersistent* Source) {
  auto* src = dynamic_cast<TCellGraphic*>(Source);
  if (!src) {
    plat::TPersistent::Assign(Source);
    return;
  }
  CellType = src->CellType;
  CellVAlign = src->CellVAlign;
  CellHAlign = src->CellHAlign;
  CellIndex = src->CellIndex;
  CellTransparent = src->CellTransparent;
  CellValue = src->CellValue;
  CellAngle = src->CellAngle;
  CellBoolean = src->CellBoolean;
  CellErrFrom = src->CellErrFrom;
  CellErrLen = src->CellErrLen;
  CellText = src->CellText;
  CellCreated = src->CellCreated;
}

void TCellGraphic::SetOwnedBitmap(plat::TObject* Value) {
  if (Value == FOwnedBitmap) return;
  FreeOwnedBitmap();
  FOwnedBitmap = Value;
  CellBitmap = Value;
}

void TCellGraphic::SetOwnedIcon(plat::TObject* Value) {
  if (Value == FOwnedIcon) return;
  if (CellIcon == FOwnedIcon) CellIcon = nullptr;
  delete std::exchange(FOwnedIcon, Value);
  CellIcon = Value;
}

void TCellGraphic::FreeOwnedBitmap() {
  if (!FOwnedBitmap) return;
  if (CellBitmap == FOwnedBitmap) CellBitmap = nullptr;
  delete std::exchange(FOwnedBitmap, nullptr);
}

void TCellGraphic::Place(TCellType Type, TCellHAlign hal, TCellVAlign val) {
  CellType = Type;
  CellHAlign = hal;
  CellVAlign = val;
}

void TCellGraphic::SetBitmap(plat::TObject* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val) {
  Place(ctBitmap, hal, val);
  CellBitmap = ABmp;
  CellTransparent = Transparent;
}

void TCellGraphic::SetIcon(plat::TObject* aicon, TCellHAlign hal, TCellVAlign val) {
  Place(ctIcon, hal, val);
  CellIcon = aicon;
}

void TCellGraphic::SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val) {
  Place(ctImageList, hal, val);
  CellIndex = idx;
}

void TCellGraphic::SetDataImage(int idx, TCellHAlign hal, TCellVAlign val) {
  Place(ctDataImage, hal, val);
  CellIndex = idx;
}

void TCellGraphic::SetMultiImage(plat::TObject* List, int dir, TCellHAlign hal, TCellVAlign val) {
  Place(ctImages, hal, val);
  CellBoolean = dir == 0;
  SetOwnedBitmap(List);
  CellCreated = true;
}

void TCellGraphic::SetPicture(plat::TObject* APicture, bool Transparent, TStretchMode StretchMode, int padding,
                              TCellHAlign hal, TCellVAlign val) {
  Place(ctPicture, hal, val);
  CellBitmap = APicture;
  CellTransparent = Transparent;
  CellAngle = StretchMode;
  CellIndex = padding;
}

void TCellGraphic::SetFilePicture(plat::TObject* APicture, bool Transparent, TStretchMode stretchmode,
                                  int padding, TCellHAlign hal, TCellVAlign val) {
  SetPicture(APicture, Transparent, stretchmode, padding, hal, val);
  CellType = ctFilePicture;
}

void TCellGraphic::SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val) {
  Place(Data ? ctDataCheckBox : ctCheckBox, hal, val);
  CellAngle = 0;
  CellBoolean = Value;
  CellTransparent = Flat;
}

void TCellGraphic::SetCheckBox(TCheckBoxState Value, bool Flat, TCellHAlign hal, TCellVAlign val) {
  Place(ctTriStateCheckBox, hal, val);
  CellCheckBoxState = Value;
  CellBoolean = false;
  CellTransparent = Flat;
}

void TCellGraphic::SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val) {
  Place(ctRadioButton, hal, val);
  CellAngle = 0;
  CellBoolean = Value;
  CellTransparent = Flat;
}

void TCellGraphic::SetButton(int bw, int bh, const QString& caption, TCellHAlign hal, TCellVAlign val) {
  Place(ctButton, hal, val);
  CellIndex = static_cast<int>((static_cast<unsigned>(bh) << 16) | (static_cast<unsigned>(bw) & 0xFFFFu));
  CellBoolean = false;
  CellText = caption;
}

void TCellGraphic::SetBitButton(int bw, int bh, const QString& caption, plat::TObject* Glyph, TCellHAlign hal,
                                TCellVAlign val) {
  SetButton(bw, bh, caption, hal, val);
  CellType = ctBitButton;
  CellBitmap = Glyph;
}

void TCellGraphic::SetInterfacedCell(plat::TObject* AObject) {
  CellType = ctInterface;
  CellBitmap = AObject;
}

void TCellGraphic::SetAngle(int AAngle) {
  CellType = ctRotated;
  while (AAngle < 0) AAngle += 360;
  while (AAngle > 360) AAngle -= 360;
  CellAngle = AAngle;
}

plat::TPoint TCellGraphic::GetPictureSize(int W, int H, int cw, int rh) const {
  const int aw = cw - CellIndex, ah = rh - CellIndex;
  const auto fitted = [&](bool limit) {
    double rx = W > 0 ? static_cast<double>(aw) / W : 1.0;
    double ry = H > 0 ? static_cast<double>(ah) / H : 1.0;
    if (limit) rx = std::min(rx, 1.0), ry = std::min(ry, 1.0);
    // Round half to even, as the described rounding does.
    if (rx < ry) return plat::TPoint(aw, static_cast<int>(std::nearbyint(H * rx)));
    return plat::TPoint(static_cast<int>(std::nearbyint(W * ry)), ah);
  };
  switch (CellAngle) {
    case Stretch: return {aw, ah};
    case Shrink: return (W > aw || H > ah) ? plat::TPoint(aw, ah) : plat::TPoint(W, H);
    case StretchWithAspectRatio: return fitted(false);
    case ShrinkWithAspectRatio: return (W <= aw && H <= ah) ? plat::TPoint(W, H) : fitted(true);
    default: return {W, H};
  }
}

}  // namespace grid
