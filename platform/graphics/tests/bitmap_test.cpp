// Bitmaps, pictures and image lists: pixel layout, files, transparency and drawing by index.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageWriter>
#include <QDir>
#include <QTemporaryDir>

#include <sys/stat.h>

#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/imagelist.h"
#include "platform/rtl/streams.h"
#include "platform/testing/pixels.h"

using namespace plat;
using plat::testing::BoundingBox;
using plat::testing::CountColour;
using plat::testing::ExpectPixel;
using plat::testing::ExpectRectFilled;

namespace {

QByteArray Encode(const QImage& img, const char* format) {
  QByteArray out;
  QBuffer buf(&out);
  buf.open(QIODevice::WriteOnly);
  QImageWriter w(&buf, format);
  EXPECT_TRUE(w.write(img)) << format;
  return out;
}

// A 1 x 1 white picture, written by hand (Qt reads GIF but does not write it).
QByteArray TinyGif() {
  static const unsigned char bytes[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00,
                                        0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00,
                                        0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
  return QByteArray(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

TEST(BitmapTest, ScanLinesHoldBlueGreenRedBytes) {
  struct Case {
    TPixelFormat format;
    int bytesPerPixel;
  };
  for (const Case& k : {Case{pf24bit, 3}, Case{pf32bit, 4}, Case{pfDevice, 4}}) {
    SCOPED_TRACE(k.format);
    TBitmap b(5, 3, k.format);
    EXPECT_EQ(b.PixelFormat(), k.format);
    b.Canvas()->SetPixels(2, 1, RGB(0x11, 0x22, 0x33));
    const uint8_t* row = b.ScanLine(1);
    EXPECT_EQ(row[2 * k.bytesPerPixel + 0], 0x33);
    EXPECT_EQ(row[2 * k.bytesPerPixel + 1], 0x22);
    EXPECT_EQ(row[2 * k.bytesPerPixel + 2], 0x11);
    EXPECT_EQ(b.BytesPerScanLine() % 4, 0);
    // Writing through the scan line is what the canvas then reads.
    b.ScanLine(2)[0] = 0xFF;
    b.ScanLine(2)[1] = 0x00;
    b.ScanLine(2)[2] = 0x00;
    EXPECT_EQ(b.Canvas()->Pixels(0, 2), clBlue);
    EXPECT_THROW(b.ScanLine(3), EInvalidGraphicOperation);
    EXPECT_THROW(b.ScanLine(-1), EInvalidGraphicOperation);
  }
}

TEST(BitmapTest, ResizingKeepsPixelsAndWhitensNewOnes) {
  TBitmap b(4, 4);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->FillRect(Rect(0, 0, 4, 4));
  b.SetSize(6, 2);
  EXPECT_EQ(b.Width(), 6);
  EXPECT_EQ(b.Height(), 2);
  EXPECT_TRUE(ExpectRectFilled(b, Rect(0, 0, 4, 2), clRed));
  EXPECT_TRUE(ExpectRectFilled(b, Rect(4, 0, 6, 2), clWhite));
  // The canvas keeps drawing on the resized bitmap.
  b.Canvas()->Brush()->SetColor(clBlue);
  b.Canvas()->FillRect(Rect(5, 1, 6, 2));
  EXPECT_TRUE(ExpectPixel(b, 5, 1, clBlue));
  b.SetPixelFormat(pf24bit);
  EXPECT_TRUE(ExpectPixel(b, 5, 1, clBlue));
  EXPECT_TRUE(ExpectPixel(b, 0, 0, clRed));
  b.SetSize(0, 0);
  EXPECT_TRUE(b.Empty());
}

TEST(BitmapTest, BmpRoundTripThroughFileAndStream) {
  QTemporaryDir dir;
  for (TPixelFormat f : {pf24bit, pf32bit, pfDevice}) {
    SCOPED_TRACE(f);
    TBitmap b(7, 5, f);
    b.Canvas()->Brush()->SetColor(RGB(10, 200, 30));
    b.Canvas()->FillRect(Rect(1, 1, 6, 4));
    b.Canvas()->SetPixels(0, 4, RGB(250, 1, 2));
    const QString path = dir.filePath(QStringLiteral("round.bmp"));
    b.SaveToFile(path);
    TBitmap back;
    back.LoadFromFile(path);
    EXPECT_EQ(back.Width(), 7);
    EXPECT_EQ(back.Height(), 5);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x) EXPECT_EQ(back.Canvas()->Pixels(x, y), b.Canvas()->Pixels(x, y)) << x << "," << y;
    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    b.SaveToStream(out);
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    TBitmap fromStream;
    fromStream.LoadFromStream(in);
    EXPECT_EQ(fromStream.Canvas()->Pixels(0, 4), RGB(250, 1, 2));
    // The runtime's streams: the bitmap is read from the stream's position.
    TMemoryStream ms;
    ms.WriteU32LE(0xDEADBEEF);
    b.SaveToStream(ms);
    ms.SetPosition(4);
    TBitmap fromMemory;
    fromMemory.LoadFromStream(ms);
    EXPECT_EQ(fromMemory.Canvas()->Pixels(3, 2), RGB(10, 200, 30));
  }
}

TEST(BitmapTest, LoadingSomethingElseFailsAndKeepsTheBitmap) {
  TBitmap b(3, 3);
  b.Canvas()->SetPixels(1, 1, clRed);
  QImage png(2, 2, QImage::Format_RGB32);
  png.fill(Qt::blue);
  const QByteArray notBmp[] = {Encode(png, "PNG"), QByteArray("BM") + QByteArray(40, '\0'), QByteArray()};
  for (const QByteArray& data : notBmp) {
    EXPECT_THROW(b.LoadFromBytes(data), EInvalidGraphic);
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.Canvas()->Pixels(1, 1), clRed);
  }
  EXPECT_THROW(b.LoadFromFile(QStringLiteral("/nonexistent/x.bmp")), EFOpenError);
  EXPECT_THROW(b.SaveToFile(QStringLiteral("/nonexistent/dir/x.bmp")), EFCreateError);
  TPicture pic;
  EXPECT_THROW(pic.LoadFromFile(QStringLiteral("/nonexistent/x.png")), EFOpenError);
}

TEST(BitmapTest, TransparentBitmapLeavesItsKeyColourOut) {
  TBitmap glyph(6, 6);
  glyph.Canvas()->Brush()->SetColor(clFuchsia);
  glyph.Canvas()->FillRect(Rect(0, 0, 6, 6));
  glyph.Canvas()->Brush()->SetColor(clBlue);
  glyph.Canvas()->FillRect(Rect(2, 2, 4, 4));
  EXPECT_EQ(glyph.TransparentColor(), clFuchsia);  // bottom-left pixel
  TBitmap target(10, 10);
  target.Canvas()->Brush()->SetColor(clRed);
  target.Canvas()->FillRect(Rect(0, 0, 10, 10));
  glyph.SetTransparent(true);
  target.Canvas()->Draw(2, 2, &glyph);
  EXPECT_EQ(CountColour(target, clFuchsia), 0);
  EXPECT_EQ(BoundingBox(target, clBlue), Rect(4, 4, 6, 6));
  // A fixed key colour: now blue is the one left out.
  glyph.SetTransparentColor(clBlue);
  EXPECT_EQ(glyph.TransparentMode(), tmFixed);
  target.Canvas()->FillRect(Rect(0, 0, 10, 10));
  target.Canvas()->Draw(2, 2, &glyph);
  EXPECT_EQ(CountColour(target, clBlue), 0);
  EXPECT_EQ(CountColour(target, clFuchsia), 32);
  // Not transparent: everything is copied.
  glyph.SetTransparent(false);
  target.Canvas()->FillRect(Rect(0, 0, 10, 10));
  target.Canvas()->StretchDraw(Rect(0, 0, 10, 10), &glyph);
  EXPECT_EQ(CountColour(target, clRed), 0);
}

TEST(PictureTest, LoadChoosesTheGraphicByContent) {
  QTemporaryDir dir;
  QImage img(4, 3, QImage::Format_RGB32);
  img.fill(QColor(0, 0, 255));
  struct Case {
    const char* file;
    QByteArray data;
    const char* className;
    int w, h;
  };
  const Case cases[] = {
      {"a.png", Encode(img, "PNG"), "TPngImage", 4, 3},
      {"a.jpg", Encode(img, "JPEG"), "TJPEGImage", 4, 3},
      {"a.ico", Encode(img, "ICO"), "TIcon", 4, 3},
      {"a.bmp", Encode(img, "BMP"), "TBitmap", 4, 3},
      {"a.gif", TinyGif(), "TGIFImage", 1, 1},
      {"png-named.bmp", Encode(img, "PNG"), "TPngImage", 4, 3},  // the name does not decide
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.file);
    const QString path = dir.filePath(QString::fromUtf8(k.file));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(k.data);
    f.close();
    TPicture pic;
    int changes = 0;
    pic.OnChange = [&](TObject*) { ++changes; };
    pic.LoadFromFile(path);
    ASSERT_NE(pic.Graphic(), nullptr);
    EXPECT_EQ(pic.Graphic()->ClassName(), QString::fromUtf8(k.className));
    EXPECT_EQ(pic.Width(), k.w);
    EXPECT_EQ(pic.Height(), k.h);
    EXPECT_GE(changes, 1);
    TBitmap target(8, 8);
    target.Canvas()->Draw(1, 1, pic.Graphic());
    EXPECT_EQ(plat::testing::BoundingBoxExcept(target.Image(), clWhite).IsEmpty(), k.w == 1);  // GIF is white
  }
}

TEST(PictureTest, BrokenOrUnknownDataLeavesThePictureAlone) {
  TPicture pic;
  TBitmap b(2, 2);
  pic.SetGraphic(&b);
  QByteArray png = Encode(QImage(5, 5, QImage::Format_RGB32), "PNG");
  const QByteArray bad[] = {QByteArray("hello"), png.left(20), QByteArray("GIF89a") + QByteArray(4, '\0'),
                            QByteArray()};
  for (const QByteArray& data : bad) {
    EXPECT_THROW(pic.LoadFromBytes(data), EInvalidGraphic);
    ASSERT_NE(pic.Graphic(), nullptr);
    EXPECT_EQ(pic.Graphic()->ClassName(), QStringLiteral("TBitmap"));
    EXPECT_EQ(pic.Width(), 2);
  }
}

TEST(PictureTest, AskingForTheBitmapOfAnotherGraphicGivesAnEmptyBitmap) {
  TPicture pic;
  pic.LoadFromBytes(TinyGif());
  TBitmap* b = pic.Bitmap();
  ASSERT_NE(b, nullptr);
  EXPECT_TRUE(b->Empty());
  EXPECT_EQ(pic.Graphic(), b);
  // Assign copies: the source stays independent.
  TPicture other;
  other.Assign(&pic);
  EXPECT_NE(other.Graphic(), pic.Graphic());
  EXPECT_EQ(other.Graphic()->ClassName(), QStringLiteral("TBitmap"));
}

class ImageListTest : public ::testing::Test {
 protected:
  ImageListTest() : target(40, 20) {
    target.Canvas()->Brush()->SetColor(clRed);
    target.Canvas()->FillRect(Rect(0, 0, 40, 20));
  }
  // A strip of n 4x4 images on a fuchsia background, image i with a blue square of size i+1 at its top-left.
  static void Strip(TBitmap& b, int n) {
    b.SetSize(4 * n, 4);
    b.Canvas()->Brush()->SetColor(clFuchsia);
    b.Canvas()->FillRect(Rect(0, 0, 4 * n, 4));
    b.Canvas()->Brush()->SetColor(clBlue);
    for (int i = 0; i < n; ++i) b.Canvas()->FillRect(Rect(4 * i, 0, 4 * i + std::min(i + 1, 3), std::min(i + 1, 3)));
  }
  TBitmap target;
};

TEST_F(ImageListTest, StripsAreCutIntoImagesAndDrawnByIndex) {
  TImageList list(nullptr, 4, 4);
  int changes = 0;
  int link = list.RegisterChanges([&] { ++changes; });
  TBitmap strip;
  Strip(strip, 3);
  EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
  EXPECT_EQ(list.AddMasked(&strip, clDefault), 3);  // key from the bottom-left pixel
  EXPECT_EQ(list.Count(), 6);
  EXPECT_EQ(changes, 2);
  TRecordingTracer tracer;
  target.Canvas()->SetTracer(&tracer);
  list.Draw(target.Canvas(), 10, 5, 1);
  EXPECT_EQ(CountColour(target, clFuchsia), 0);
  EXPECT_EQ(BoundingBox(target, clBlue), Rect(10, 5, 12, 7));
  ASSERT_EQ(tracer.Count(TraceKind::Draw), 1);
  EXPECT_EQ(tracer.Records[0].Rect, Rect(10, 5, 14, 9));
  // Out of range draws nothing.
  for (int bad : {-1, 6, 100}) list.Draw(target.Canvas(), 0, 0, bad);
  EXPECT_EQ(tracer.Count(TraceKind::Draw), 1);
  EXPECT_EQ(CountColour(target, clBlue), 4);
  list.UnRegisterChanges(link);
  list.SetSize(8, 8);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(changes, 2);
}

TEST_F(ImageListTest, DisabledImagesAreLighterGreyAndKeepTheirShape) {
  TImageList list(nullptr, 4, 4);
  TBitmap strip;
  Strip(strip, 3);
  list.AddMasked(&strip, clFuchsia);
  list.Draw(target.Canvas(), 0, 0, 2, true);
  list.Draw(target.Canvas(), 20, 0, 2, false);
  const QImage& img = target.Image();
  int drawn = 0;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      TColor on = plat::testing::PixelAt(img, x, y), off = plat::testing::PixelAt(img, 20 + x, y);
      if (on == clRed) {
        EXPECT_EQ(off, clRed) << x << "," << y;  // transparent stays transparent
        continue;
      }
      ++drawn;
      EXPECT_EQ(GetRValue(off), GetGValue(off));
      EXPECT_EQ(GetGValue(off), GetBValue(off));
      EXPECT_GT(GetRValue(off), 0x80);
    }
  EXPECT_EQ(drawn, 9);
}

TEST_F(ImageListTest, MaskBitmapAndGetBitmap) {
  TImageList list(nullptr, 4, 4);
  TBitmap img(4, 4), mask(4, 4);
  img.Canvas()->Brush()->SetColor(clGreen);
  img.Canvas()->FillRect(Rect(0, 0, 4, 4));
  mask.Canvas()->Brush()->SetColor(clBlack);
  mask.Canvas()->FillRect(Rect(0, 0, 2, 4));  // left half opaque, right half (white) transparent
  EXPECT_EQ(list.Add(&img, &mask), 0);
  EXPECT_EQ(list.Add(nullptr, nullptr), -1);
  list.Draw(target.Canvas(), 0, 0, 0);
  EXPECT_EQ(BoundingBox(target, clGreen), Rect(0, 0, 2, 4));
  list.SetBkColor(clYellow);
  TBitmap out;
  EXPECT_TRUE(list.GetBitmap(0, &out));
  EXPECT_EQ(out.Width(), 4);
  EXPECT_TRUE(ExpectRectFilled(out, Rect(0, 0, 2, 4), clGreen));
  EXPECT_TRUE(ExpectRectFilled(out, Rect(2, 0, 4, 4), clYellow));
  EXPECT_FALSE(list.GetBitmap(1, &out));
}

}  // namespace

// A picture is opened only from a regular file: a pipe fails at once instead of waiting for a writer, and a link
// to an endless device is not read. The picture stays as it was.
TEST(PictureTest, OnlyRegularFilesAreOpened) {
  QTemporaryDir dir;
  ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.png")).constData(), 0600), 0);
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), dir.filePath("zero.png")));
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder.png"));
  for (const char* name : {"pipe.png", "zero.png", "folder.png", "missing.png"}) {
    SCOPED_TRACE(name);
    TPicture pic;
    EXPECT_THROW(pic.LoadFromFile(dir.filePath(name)), EFOpenError);
    EXPECT_EQ(pic.Graphic(), nullptr);
    TBitmap bitmap(2, 2);
    EXPECT_THROW(bitmap.LoadFromFile(dir.filePath(name)), EFOpenError);
    EXPECT_EQ(bitmap.Width(), 2);
  }
}
