// The tree's colour set and drawing helpers: text shortening and wrapping measured on a real canvas, the
// blending engine's arithmetic and clipping, greyed images.
#include <QFont>
#include <QImage>

#include <gtest/gtest.h>

#include <memory>

#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/drawtext.h"
#include "tree/treecolors.h"
#include "tree/treecontrol.h"
#include "tree/treeutils.h"

namespace lazytree {
namespace {

using plat::TColor;
using plat::TRect;

struct CanvasOnImage {
  QImage image;
  plat::TCanvas canvas;
  explicit CanvasOnImage(int w = 200, int h = 50, QImage::Format f = QImage::Format_ARGB32)
      : image(w, h, f), canvas(&image) {
    image.fill(Qt::transparent);  // every channel 0, alpha too
    canvas.Font()->SetName(QStringLiteral("DejaVu Sans"));
    canvas.Font()->SetSize(9);
  }
};

TEST(TreeColors, DefaultsAndRepaintOnChange) {
  TLTColors colors;
  const TColor expected[ciColorCount] = {
      plat::clBtnShadow, plat::clHighlight, plat::clHighlight, plat::clHighlight, plat::clBtnFace,
      plat::clBtnShadow, plat::clBtnFace,   plat::clBtnFace,   plat::clWindowText, plat::clHighlight,
      plat::clBtnFace,   plat::clHighlight, plat::clHighlight, plat::clHighlight, plat::clBtnShadow,
      plat::clHighlightText, plat::clBtnFace};
  for (int i = 0; i < ciColorCount; ++i) EXPECT_EQ(colors.GetColor(i), expected[i]) << "index " << i;

  int changes = 0, lastIndex = -2;
  TLTColors owned(TLTColors::TOwner{[&](int i) { ++changes, lastIndex = i; }, [] { return TColor(0x123456); },
                                    nullptr, nullptr});
  owned.SetTreeLineColor(plat::clRed);
  owned.SetTreeLineColor(plat::clRed);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(lastIndex, ciTreeLineColor);
  EXPECT_EQ(owned.BackGroundColor(), TColor(0x123456));
  colors.Assign(owned);
  EXPECT_EQ(colors.TreeLineColor(), plat::clRed);

  plat::TForm form(nullptr);
  auto* tree = new TBaseLazyTreeControl(&form);
  tree->SetParent(&form);
  tree->Colors().SetGridLineColor(plat::clLime);
  EXPECT_EQ(tree->Colors().GridLineColor(), plat::clLime);
  EXPECT_EQ(tree->Colors().BackGroundColor(), tree->Color());
}

TEST(TreeUtils, ShortenWithEllipsis) {
  CanvasOnImage c;
  plat::TCanvas& cv = c.canvas;
  const QString s = QStringLiteral("Meter 12345678");
  const int full = cv.TextWidth(s), dots = cv.TextWidth(QStringLiteral("..."));
  struct Case {
    const char* name;
    int width;
    int ellipsisWidth;
    QString expected;
  };
  auto prefixFitting = [&](int width) {
    QString best;
    for (int n = 0; n <= s.size(); ++n)
      if (cv.TextWidth(s.left(n)) + dots <= width) best = s.left(n);
    return best + QStringLiteral("...");
  };
  const Case cases[] = {
      {"fits with the ellipsis to spare", full + dots, 0, s},
      {"fits exactly but not with the ellipsis", full, 0, prefixFitting(full)},
      {"half the width", full / 2, 0, prefixFitting(full / 2)},
      {"narrower than the ellipsis", dots - 1, 0, QString()},
      {"no width", 0, 0, QString()},
      {"given ellipsis width", full, 1, s.left(s.size() - 1) + QStringLiteral("...")},
  };
  for (const Case& cs : cases)
    EXPECT_EQ(ShortenWithEllipsis(&cv, s, cs.width, cs.ellipsisWidth), cs.expected) << cs.name;
  EXPECT_EQ(ShortenWithEllipsis(&cv, QString(), 100), QString());
}

TEST(TreeUtils, WrapTextToWidth) {
  CanvasOnImage c;
  plat::TCanvas& cv = c.canvas;
  const unsigned fmt = plat::DT_SINGLELINE;
  auto width = [&](const char* t) { return cv.TextWidth(QString::fromUtf8(t)); };
  const TRect twoWords(0, 0, width("alpha beta") + 1, 20);
  EXPECT_EQ(WrapTextToWidth(&cv, "  alpha beta gamma  ", twoWords, false, fmt), "alpha beta\ngamma");
  EXPECT_EQ(WrapTextToWidth(&cv, "alpha beta gamma", TRect(0, 0, width("beta gamma") + 1, 20), true, fmt),
            "beta gamma\nalpha");
  // A word wider than the bound is split; every line holds at least one character.
  QString wrapped = WrapTextToWidth(&cv, "abcdefghij", TRect(0, 0, width("abc") + 1, 20), false, fmt);
  EXPECT_EQ(wrapped.remove(QLatin1Char('\n')), QStringLiteral("abcdefghij"));
  for (const QString& line : WrapTextToWidth(&cv, "abcdefghij", TRect(0, 0, width("abc") + 1, 20), false, fmt)
                                 .split(QLatin1Char('\n'))) {
    EXPECT_FALSE(line.isEmpty());
    EXPECT_LE(cv.TextWidth(line), width("abc") + 1);
  }
  EXPECT_EQ(WrapTextToWidth(&cv, "abc", TRect(0, 0, 1, 20), false, fmt), "a\nb\nc");
  EXPECT_EQ(WrapTextToWidth(&cv, "   ", twoWords, false, fmt), QString());
}

TEST(TreeUtils, AlphaBlendArithmetic) {
  struct Case {
    const char* name;
    TAlphaBlendMode mode;
    QRgb src;
    int alpha, bias;
    QRgb expected;  // destination starts black
  };
  const Case cases[] = {
      {"constant 0 keeps the destination plus bias", abConstant, qRgba(255, 255, 255, 255), 0, 10,
       qRgba(10, 10, 10, 10)},
      {"constant 255 gives the source weighted 255/256", abConstant, qRgba(255, 255, 255, 255), 255, 0,
       qRgba(254, 254, 254, 254)},
      {"negative bias clamps at 0", abConstant, qRgba(100, 100, 100, 100), 128, -100, qRgba(0, 0, 0, 0)},
      {"per pixel takes the source alpha", abPerPixel, qRgba(200, 100, 50, 128), 0, 0, qRgba(100, 50, 25, 64)},
      {"per pixel times constant", abPerPixelTimesConstant, qRgba(200, 200, 200, 128), 128, 0,
       qRgba(50, 50, 50, 32)},
  };
  for (const Case& c : cases) {
    CanvasOnImage src(4, 4), dst(4, 4);
    src.image.fill(QColor::fromRgba(c.src));
    AlphaBlendRect(&src.canvas, &dst.canvas, TRect(0, 0, 4, 4), plat::TPoint(0, 0), c.mode, c.alpha, c.bias);
    EXPECT_EQ(dst.image.pixel(2, 2), c.expected) << c.name;
  }
  // A colour over the destination, in place, without bias.
  CanvasOnImage dst(4, 4);
  AlphaBlendRect(nullptr, &dst.canvas, TRect(1, 1, 3, 3), plat::TPoint(99, 99), abConstantWithColor, 128,
                 static_cast<int>(plat::clRed));
  EXPECT_EQ(dst.image.pixel(1, 1), qRgba(127, 0, 0, 0));
  EXPECT_EQ(dst.image.pixel(0, 0), qRgba(0, 0, 0, 0));
}

TEST(TreeUtils, AlphaBlendChecksAndClips) {
  CanvasOnImage src(10, 10), dst(6, 6);
  src.image.fill(Qt::white);
  // Reaching past both images: only the overlapping pixels change, nothing outside is touched.
  // Source (-3, -3) lands on (2, 2): only source (0, 0) and on exist, and only dst (5, 5) is inside both.
  AlphaBlendRect(&src.canvas, &dst.canvas, TRect(-3, -3, 20, 20), plat::TPoint(2, 2), abConstant, 255, 0);
  EXPECT_EQ(qRed(dst.image.pixel(5, 5)), 254);
  EXPECT_EQ(qRed(dst.image.pixel(4, 4)), 0);
  EXPECT_EQ(qRed(dst.image.pixel(2, 2)), 0);
  // A target left of and above the destination: the part that lands inside is blended.
  CanvasOnImage dst2(6, 6);
  AlphaBlendRect(&src.canvas, &dst2.canvas, TRect(0, 0, 4, 4), plat::TPoint(-2, -2), abConstant, 255, 0);
  EXPECT_EQ(qRed(dst2.image.pixel(0, 0)), 254);
  EXPECT_EQ(qRed(dst2.image.pixel(1, 1)), 254);
  EXPECT_EQ(qRed(dst2.image.pixel(2, 2)), 0);

  plat::TCanvas noImage;
  AlphaBlendRect(&noImage, &noImage, TRect(), plat::TPoint(), abConstant, 10, 0);  // empty: no checks
  EXPECT_THROW(AlphaBlendRect(&src.canvas, &noImage, TRect(0, 0, 2, 2), plat::TPoint(), abConstant, 10, 0),
               ELazyTreeAssertion);
  CanvasOnImage gray(4, 4, QImage::Format_Grayscale8);
  try {
    AlphaBlendRect(&src.canvas, &gray.canvas, TRect(0, 0, 2, 2), plat::TPoint(), abConstant, 10, 0);
    ADD_FAILURE() << "an 8-bit image was blended";
  } catch (const ELazyTreeAssertion& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Alpha blending error: bitmap must use 32 bpp."));
  }
}

TEST(TreeUtils, SmallHelpers) {
  EXPECT_EQ(NormalizedRect(TRect(10, 20, 1, 2)), TRect(1, 2, 10, 20));
  EXPECT_EQ(ColorToImageListRGB(plat::clNone), CLR_NONE);
  EXPECT_EQ(ColorToImageListRGB(plat::clDefault), CLR_DEFAULT);
  EXPECT_EQ(ColorToImageListRGB(TColor(0x00123456)), 0x00123456u);
  EXPECT_TRUE(CpuHasMMX());

  CanvasOnImage c(40, 40);
  ClipCanvasToRect(&c.canvas, TRect(5, 5, 15, 15));
  EXPECT_EQ(c.canvas.ClipRect(), TRect(5, 5, 15, 15));
  plat::TRegion limit(TRect(10, 0, 40, 40));
  ClipCanvasToRect(&c.canvas, TRect(5, 5, 15, 15), &limit);
  EXPECT_EQ(c.canvas.ClipRect(), TRect(10, 5, 15, 15));

  TRect r(3, 4, 0, 0);
  CalcTextRect(&c.canvas, QStringLiteral("Tg"), r, plat::DT_SINGLELINE);
  EXPECT_EQ(r.Left, 3);
  EXPECT_EQ(r.Width(), c.canvas.TextWidth(QStringLiteral("Tg")));

  c.canvas.SelectClipRgn(nullptr);
  plat::TImageList list(nullptr);
  list.SetWidth(2);
  list.SetHeight(2);
  QImage red(2, 2, QImage::Format_ARGB32);
  red.fill(Qt::red);
  list.AddImage(red);
  DrawImageOrSaturated(&list, 0, &c.canvas, 30, 30, plat::dsNormal, false);
  const QRgb grey = c.image.pixel(30, 30);
  EXPECT_EQ(qRed(grey), qGreen(grey));
  EXPECT_EQ(qGreen(grey), qBlue(grey));
  DrawImageOrSaturated(&list, 0, &c.canvas, 34, 30, plat::dsNormal, true);
  EXPECT_EQ(c.image.pixel(34, 30), qRgb(255, 0, 0));
}

}  // namespace
}  // namespace lazytree
