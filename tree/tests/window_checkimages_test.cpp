// Check image lists: strips cut into masked squares with their colours mapped, the missing-strip assertion,
// and the drawn system lists in the layout of the check image index.
#include <QImage>

#include <gtest/gtest.h>

#include "platform/graphics/color.h"
#include "platform/graphics/imagelist.h"
#include "platform/rtl/exceptions.h"
#include "tree/checkimages.h"
#include "tree/checkstate.h"

namespace lazytree {
namespace {

TEST(CheckImageStrips, CutIntoMaskedSquaresWithMappedColours) {
  // Three 4 x 4 squares plus two stray columns; red (top-left) is transparent.
  QImage strip(14, 4, QImage::Format_RGB32);
  strip.fill(Qt::red);
  strip.setPixel(5, 1, qRgb(255, 255, 255));
  strip.setPixel(9, 2, qRgb(0, 0, 0));
  plat::TImageList list(nullptr);
  list.AddImage(QImage(16, 16, QImage::Format_ARGB32));  // replaced
  LoadCheckImageStrip(&list, strip, "LT_TEST", true);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Width(), 4);
  EXPECT_EQ(list.Height(), 4);
  const QImage second = list.GetImage(1);
  EXPECT_EQ(qAlpha(second.pixel(0, 0)), 0);
  EXPECT_EQ(QColor(second.pixel(1, 1)).rgb() & 0xFFFFFF, plat::ToQColor(plat::clWindow).rgb() & 0xFFFFFF);
  EXPECT_EQ(QColor(list.GetImage(2).pixel(1, 2)).rgb() & 0xFFFFFF, plat::ToQColor(plat::clBtnText).rgb() & 0xFFFFFF);
  // Unmapped, white stays white.
  LoadCheckImageStrip(&list, strip, "LT_TEST", false);
  EXPECT_EQ(list.GetImage(1).pixel(1, 1) & 0xFFFFFF, 0xFFFFFFu);
  try {
    LoadCheckImageStrip(&list, QImage(), "LT_FLAT", true);
    FAIL() << "no assertion";
  } catch (const plat::EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "Internal image \"LT_FLAT\" is missing or corrupt.");
  }
}

TEST(CheckImageLists, SystemListsFollowTheIndexLayout) {
  for (bool flat : {false, true}) {
    plat::TCustomImageList* list = SystemCheckImages(flat);
    ASSERT_EQ(list->Count(), 25);
    EXPECT_EQ(list->Width(), CheckImageSize);
    auto opaque = [&](int index) {
      const QImage image = list->GetImage(index);
      int n = 0;
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += qAlpha(image.pixel(x, y)) > 0;
      return n;
    };
    EXPECT_EQ(opaque(0), 0) << "the empty image";
    for (int i = 1; i <= 20; ++i) EXPECT_GT(opaque(i), 0) << i;
    // Checked and unchecked boxes differ; so do a normal and an inactive one.
    EXPECT_NE(list->GetImage(CheckImageIndex(ctCheckBox, csUncheckedNormal, true, false)),
              list->GetImage(CheckImageIndex(ctCheckBox, csCheckedNormal, true, false)));
    EXPECT_NE(list->GetImage(CheckImageIndex(ctRadioButton, csCheckedNormal, true, false)),
              list->GetImage(CheckImageIndex(ctRadioButton, csCheckedNormal, false, false)));
    EXPECT_EQ(SystemCheckImages(flat), list) << "made once";
    if (qEnvironmentVariableIsSet("TREE_SHOTS")) {
      QImage all(25 * CheckImageSize, CheckImageSize, QImage::Format_ARGB32);
      all.fill(Qt::white);
      for (int i = 0; i < 25; ++i)
        for (int y = 0; y < CheckImageSize; ++y)
          for (int x = 0; x < CheckImageSize; ++x) {
            const QRgb p = list->GetImage(i).pixel(x, y);
            if (qAlpha(p)) all.setPixel(i * CheckImageSize + x, y, p);
          }
      all.scaled(all.width() * 3, all.height() * 3).save(qEnvironmentVariable("TREE_SHOTS") +
                                                          (flat ? "/checks_flat.png" : "/checks.png"));
    }
  }
}

}  // namespace
}  // namespace lazytree
