// Check image lists: strips from images, and the lists drawn with the frame-control drawing.

#include "tree/checkimages.h"

#include "platform/graphics/canvas.h"
#include "platform/graphics/classic.h"
#include "platform/graphics/color.h"
#include "platform/graphics/graphic.h"
#include "platform/rtl/exceptions.h"

namespace lazytree {

namespace {

void MapStripColours(QImage& Image) {
  struct Pair {
    QRgb from;
    plat::TColor to;
  };
  const Pair pairs[] = {{0xFFFFFF, plat::clWindow}, {0xC0C0C0, plat::clBtnFace}, {0x808080, plat::clBtnShadow},
                        {0x000000, plat::clBtnText}};
  for (int y = 0; y < Image.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(Image.scanLine(y));
    for (int x = 0; x < Image.width(); ++x)
      for (const Pair& p : pairs)
        if ((row[x] & 0xFFFFFF) == p.from) {
          row[x] = plat::ToQColor(p.to).rgb();
          break;
        }
  }
}

}  // namespace

void LoadCheckImageStrip(plat::TCustomImageList* List, QImage Strip, const QString& ResourceName, bool MapColours) {
  if (Strip.height() < 1)
    throw plat::EAssertionFailed(QStringLiteral("Internal image \"%1\" is missing or corrupt.").arg(ResourceName));
  Strip = Strip.convertToFormat(QImage::Format_RGB32);
  if (MapColours) MapStripColours(Strip);
  List->Clear();
  List->SetSize(Strip.height(), Strip.height());
  const int squares = Strip.width() / Strip.height();
  plat::TBitmap bitmap;
  bitmap.SetImage(Strip.copy(0, 0, squares * Strip.height(), Strip.height()));
  List->AddMasked(&bitmap, plat::FromQColor(QColor::fromRgb(Strip.pixel(0, 0))));
}

std::unique_ptr<plat::TImageList> CreateSystemCheckImages(bool Flat) {
  auto list = std::make_unique<plat::TImageList>(nullptr);
  list->SetSize(CheckImageSize, CheckImageSize);
  QImage empty(CheckImageSize, CheckImageSize, QImage::Format_ARGB32);
  empty.fill(Qt::transparent);
  list->AddImage(empty);
  for (int n = 0; n < 20; ++n) {
    unsigned state = n < 8 ? plat::DFCS_BUTTONRADIO : n < 16 ? plat::DFCS_BUTTONCHECK : plat::DFCS_BUTTON3STATE;
    static constexpr unsigned kinds[] = {0, plat::DFCS_HOT, plat::DFCS_PUSHED, plat::DFCS_INACTIVE};
    state |= kinds[n % 4];
    if ((n >= 4 && n <= 7) || n >= 12) state |= plat::DFCS_CHECKED;
    if (Flat) state |= plat::DFCS_FLAT;
    QImage image(CheckImageSize, CheckImageSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
      plat::TCanvas canvas(&image);
      plat::DrawFrameControl(&canvas, plat::TRect(0, 0, CheckImageSize, CheckImageSize), plat::DFC_BUTTON, state);
    }
    list->AddImage(image);
  }
  // The button images come from the bitmap strips, which are not part of this build: the slots stay empty.
  for (int n = 0; n < 4; ++n) list->AddImage(empty);
  return list;
}

plat::TCustomImageList* SystemCheckImages(bool Flat) {
  static std::unique_ptr<plat::TImageList> lists[2];
  std::unique_ptr<plat::TImageList>& list = lists[Flat ? 1 : 0];
  if (!list) list = CreateSystemCheckImages(Flat);
  return list.get();
}

}  // namespace lazytree
