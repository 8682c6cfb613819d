#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <random>

#include "controls/jpeg_codec.h"
#include "controls/picture.h"
#include "controls/png_decoder.h"
#include "picture_samples.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/rtl/exceptions.h"

using namespace controls;
using namespace samples;

namespace {

std::vector<unsigned> GreyPixel1(int x, int y) { return {unsigned((x + y) % 2)}; }
std::vector<unsigned> GreyPixel4(int x, int y) { return {unsigned((x * 3 + y) % 16)}; }
std::vector<unsigned> GreyPixel16(int x, int y) { return {unsigned(x * 4000 + y * 300)}; }
std::vector<unsigned> RgbPixel8(int x, int y) { return {unsigned(x * 20), unsigned(y * 30), unsigned((x * y) % 256)}; }
std::vector<unsigned> RgbPixel16(int x, int y) { return {unsigned(x * 5000), unsigned(y * 7000), 65535u}; }
std::vector<unsigned> PalettePixel2(int x, int y) { return {unsigned((x + 2 * y) % 4)}; }
std::vector<unsigned> GreyAlpha8(int x, int y) { return {unsigned(x * 25), unsigned(255 - y * 20)}; }
std::vector<unsigned> Rgba8(int x, int y) { return {unsigned(x * 17), unsigned(y * 19), 99u, unsigned((x + y) * 9)}; }
std::vector<unsigned> Rgba16(int x, int y) { return {unsigned(x * 4000), 100u, unsigned(y * 4000), 65535u - unsigned(x * 1000)}; }

std::vector<PngSample> PngVariants() {
  const QByteArray palette("\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF\x10\x20\x30", 12);
  QByteArray greyKey;
  greyKey.append('\0').append('\x03');
  return {
      {9, 7, 1, 0, false, GreyPixel1, {}, {}},
      {9, 7, 4, 0, true, GreyPixel4, {}, greyKey},
      {5, 6, 16, 0, false, GreyPixel16, {}, {}},
      {11, 9, 8, 2, false, RgbPixel8, {}, {}},
      {11, 9, 8, 2, true, RgbPixel8, {}, {}},
      {6, 5, 16, 2, false, RgbPixel16, {}, {}},
      {10, 10, 2, 3, false, PalettePixel2, palette, QByteArray("\x80\xFF", 2)},
      {10, 10, 2, 3, true, PalettePixel2, palette, {}},
      {8, 8, 8, 4, false, GreyAlpha8, {}, {}},
      {13, 11, 8, 6, true, Rgba8, {}, {}},
      {7, 3, 16, 6, false, Rgba16, {}, {}},
      {1, 1, 8, 6, true, Rgba8, {}, {}},
  };
}

TEST(PngDecoder, MatchesTheReferenceDecoderForEveryKind) {
  int index = 0;
  for (const PngSample& sample : PngVariants()) {
    const QByteArray png = BuildPng(sample);
    QImage mine;
    ASSERT_TRUE(DecodePng(png, mine)) << "variant " << index;
    QImage reference = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(reference.isNull()) << "variant " << index;
    ASSERT_EQ(mine.size(), reference.size()) << "variant " << index;
    for (int y = 0; y < mine.height(); ++y)
      for (int x = 0; x < mine.width(); ++x) {
        const QRgb a = mine.pixel(x, y), b = reference.pixel(x, y);
        // Fully transparent pixels may differ in their colour channels.
        if (qAlpha(a) == 0 && qAlpha(b) == 0) continue;
        ASSERT_EQ(a, b) << "variant " << index << " at " << x << "," << y;
      }
    ++index;
  }
}

TEST(PngDecoder, RefusesBrokenFiles) {
  const QByteArray good = BuildPng(PngVariants()[3]);
  QImage out(3, 3, QImage::Format_ARGB32);
  out.fill(Qt::yellow);
  // Every truncation fails and leaves the output untouched.
  for (int n = 0; n < good.size(); ++n) {
    ASSERT_FALSE(DecodePng(good.left(n), out)) << n;
    ASSERT_EQ(out.size(), QSize(3, 3));
  }
  QByteArray badCrc = good;
  badCrc[20] = char(badCrc[20] ^ 1);  // inside IHDR
  EXPECT_FALSE(DecodePng(badCrc, out));

  // A header that claims a huge picture is refused before anything is allocated for it.
  PngSample huge = PngVariants()[3];
  QByteArray big = BuildPng(huge);
  QByteArray ihdr;
  Put32(ihdr, 100000);
  Put32(ihdr, 100000);
  ihdr.append('\x08').append('\x02').append('\0').append('\0').append('\0');
  QByteArray forged("\x89PNG\r\n\x1a\n", 8);
  Chunk(forged, "IHDR", ihdr);
  forged += big.mid(8 + 25);
  EXPECT_FALSE(DecodePng(forged, out));
}

TEST(JpegCodec, RoundTripAndTruncation) {
  const QImage source = TestImage().scaled(48, 32);
  const QByteArray jpeg = EncodeJpeg(source, 95);
  ASSERT_TRUE(IsJpegData(jpeg));
  QImage decoded;
  ASSERT_TRUE(DecodeJpeg(jpeg, decoded));
  EXPECT_EQ(decoded.size(), QSize(48, 32));
  const QRgb left = decoded.pixel(4, 28), right = decoded.pixel(44, 4);
  EXPECT_GT(qRed(left), 200);
  EXPECT_LT(qBlue(left), 60);
  EXPECT_GT(qBlue(right), 200);
  EXPECT_LT(qRed(right), 60);

  // Qt's own writer too.
  ASSERT_TRUE(DecodeJpeg(WriteWithQt(source, "jpeg"), decoded));
  EXPECT_EQ(decoded.size(), QSize(48, 32));

  for (int n : {0, 2, 3, 10, 100, int(jpeg.size() / 2), int(jpeg.size() - 3)}) {
    QImage out;
    EXPECT_FALSE(DecodeJpeg(jpeg.left(n), out)) << n;
    EXPECT_TRUE(out.isNull());
  }
  EXPECT_TRUE(EncodeJpeg(QImage(), 90).isEmpty());
}

struct FormatCase {
  const char* name;
  QByteArray bytes;
  bool exact;
};

std::vector<FormatCase> FormatCases() {
  const QImage img = TestImage();
  return {
      {"BMP", WriteWithQt(img, "bmp"), true},
      {"PNG", WriteWithQt(img, "png"), true},
      {"JPEG", WriteWithQt(img.scaled(48, 32), "jpeg"), false},
      {"ICO", WriteWithQt(img, "ico"), true},
      {"GIF", BuildGif(6, 4, {{0, 0, 6, 4, 1, 10}}), false},
  };
}

TEST(HTMLPicture, DecodesEveryFormat) {
  for (const auto& c : FormatCases()) {
    ASSERT_FALSE(c.bytes.isEmpty()) << c.name;
    THTMLPicture pic;
    int changes = 0;
    pic.OnChange = [&](plat::TObject*) { ++changes; };
    pic.LoadFromBytes(c.bytes);
    EXPECT_FALSE(pic.Empty()) << c.name;
    EXPECT_EQ(changes, 1) << c.name;
    EXPECT_EQ(pic.SaveToBytes(), c.bytes) << c.name;  // the bytes as loaded
    if (c.exact) {
      EXPECT_EQ(QSize(pic.Width(), pic.Height()), QSize(6, 4)) << c.name;
      EXPECT_EQ(pic.Image().pixel(1, 1), qRgb(0, 255, 0)) << c.name;
      EXPECT_EQ(pic.Image().pixel(5, 3), qRgb(0, 0, 255)) << c.name;
    }
    EXPECT_EQ(pic.FrameCount(), QByteArray(c.name) == "GIF" ? 1 : -1) << c.name;
  }
}

TEST(HTMLPicture, TruncatedAndMutatedFilesStayEmpty) {
  // Every prefix of every sample, and a fixed series of random mutations: never a crash or a read past the
  // data (run under AddressSanitizer to see the second); a picture that does not decode is empty.
  std::mt19937 rng(20261210);
  int decoded = 0, refused = 0;
  for (const auto& c : FormatCases()) {
    for (int n = 0; n < c.bytes.size(); ++n) {
      THTMLPicture pic;
      try {
        pic.LoadFromBytes(c.bytes.left(n));
        ++decoded;
      } catch (const plat::Exception&) {
        EXPECT_TRUE(pic.Empty());
        EXPECT_EQ(pic.Width(), 0);
        ++refused;
      }
    }
    for (int round = 0; round < 1500; ++round) {
      QByteArray m = c.bytes;
      const int edits = 1 + int(rng() % 4);
      for (int e = 0; e < edits; ++e) {
        const int at = int(rng() % m.size());
        switch (rng() % 4) {
          case 0: m[at] = char(rng()); break;
          case 1: m[at] = char(uchar(m[at]) ^ (1u << (rng() % 8))); break;
          case 2: m.remove(at, 1 + int(rng() % 8)); break;
          default: m.insert(at, QByteArray(1 + int(rng() % 8), char(rng()))); break;
        }
        if (m.isEmpty()) m = "x";
      }
      THTMLPicture pic;
      try {
        pic.LoadFromBytes(m);
        (void)pic.FrameCount();
        for (int i = 1; i <= 4; ++i) (void)pic.GetFrameTime(i);
        ++decoded;
      } catch (const plat::Exception&) {
        EXPECT_TRUE(pic.Empty());
        ++refused;
      }
    }
  }
  EXPECT_GT(refused, 0);
  EXPECT_GT(decoded, 0);
}

TEST(HTMLPicture, MutatedPngsThroughOurDecoder) {
  std::mt19937 rng(77);
  for (const PngSample& sample : PngVariants()) {
    const QByteArray png = BuildPng(sample);
    for (int round = 0; round < 400; ++round) {
      QByteArray m = png;
      const int at = 8 + int(rng() % (m.size() - 8));
      m[at] = char(rng());
      // Recompute the chunk CRCs, so the mutation reaches the chunk parser and the filters.
      QByteArray fixed = m.left(8);
      qsizetype pos = 8;
      bool ok = true;
      while (pos + 12 <= m.size()) {
        const uint32_t len = (uint32_t(uchar(m[pos])) << 24) | (uint32_t(uchar(m[pos + 1])) << 16) |
                             (uint32_t(uchar(m[pos + 2])) << 8) | uchar(m[pos + 3]);
        if (len > uint32_t(m.size()) || pos + 12 + qsizetype(len) > m.size()) {
          ok = false;
          break;
        }
        Chunk(fixed, m.mid(pos + 4, 4).constData(), m.mid(pos + 8, len));
        pos += 12 + len;
      }
      QImage out;
      (void)DecodePng(ok ? fixed : m, out);
    }
  }
}

TEST(HTMLPicture, GifFramesAndTiming) {
  const QByteArray gif = BuildGif(8, 6, {{0, 0, 8, 6, 1, 10}, {2, 1, 3, 2, 2, 20}, {4, 3, 4, 3, 3, 30}});
  THTMLPicture pic;
  pic.LoadFromBytes(gif);
  EXPECT_TRUE(pic.IsGIF());
  EXPECT_EQ(pic.FrameCount(), 3);
  EXPECT_EQ(pic.GetFrameTime(1), 10);
  EXPECT_EQ(pic.GetFrameTime(3), 30);
  EXPECT_EQ(pic.GetFrameTime(5), -1);
  EXPECT_EQ(pic.GetFrameTime(0), -1);
  EXPECT_EQ(pic.GetMaxWidth(), 8);
  EXPECT_EQ(pic.GetMaxHeight(), 6);

  int frameChanges = 0;
  pic.OnFrameChange = [&](plat::TObject*) { ++frameChanges; };
  pic.SetFrame(2);
  EXPECT_EQ(frameChanges, 1);
  EXPECT_EQ(pic.FrameXPos(), 2);
  EXPECT_EQ(pic.FrameYPos(), 1);
  EXPECT_EQ(QSize(pic.Width(), pic.Height()), QSize(3, 2));  // the frame itself
  EXPECT_EQ(pic.Image().pixel(0, 0), qRgb(0, 255, 0));
  pic.FrameNext();
  pic.FrameNext();
  EXPECT_EQ(pic.Frame(), 1);
  pic.FramePrev();
  EXPECT_EQ(pic.Frame(), 3);

  // Animation: the first step never advances, the second always does; then a frame stays for its delay.
  THTMLPicture anim;
  anim.LoadFromBytes(gif);
  std::vector<int> shown;
  for (int i = 0; i < 7; ++i) {
    if (anim.Step()) shown.push_back(anim.Frame());
  }
  // Steps: 1 no; 2 -> frame 2 (next at -1 + 20 = 19); calls 3 and 4 (10, 20 >= 19): 4 -> frame 3 (next 49);
  // 5 (30), 6 (40), 7 (50 >= 49) -> frame 1.
  EXPECT_EQ(shown, (std::vector<int>{2, 3, 1}));

  THTMLPicture single;
  single.LoadFromBytes(BuildGif(4, 4, {{0, 0, 4, 4, 3, 5}}));
  EXPECT_EQ(single.FrameCount(), 1);
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(single.Step());

  THTMLPictureCache cache;
  cache.AddPicture()->LoadFromBytes(gif);
  cache.AddPicture()->LoadFromBytes(WriteWithQt(TestImage(), "png"));
  EXPECT_FALSE(cache.Animate());
  EXPECT_TRUE(cache.Animate());
}

TEST(HTMLPicture, FilesAndUrls) {
  QTemporaryDir dir;
  const QString good = dir.filePath("a.png"), junk = dir.filePath("b.png");
  {
    QFile f(good);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(WriteWithQt(TestImage(), "png"));
    QFile j(junk);
    ASSERT_TRUE(j.open(QIODevice::WriteOnly));
    j.write("not a picture at all");
  }
  THTMLPicture pic;
  pic.LoadFromFile(junk);
  EXPECT_TRUE(pic.Empty());
  plat::TBitmap target(10, 10);
  target.Canvas()->Brush()->SetColor(plat::clWhite);
  target.Canvas()->FillRect(plat::TRect(0, 0, 10, 10));
  plat::TRecordingTracer trace;
  target.Canvas()->SetTracer(&trace);
  target.Canvas()->Draw(0, 0, &pic);  // empty: nothing drawn
  EXPECT_EQ(trace.Records.size(), 0u);

  pic.LoadFromURL("FiLe://" + good);
  EXPECT_FALSE(pic.Empty());
  EXPECT_EQ(pic.ID(), "FiLe://" + good);
  pic.LoadFromFile("/dev/zero");  // not a regular file: refused without reading
  EXPECT_TRUE(pic.Empty());
  pic.LoadFromFile(dir.filePath("missing.png"));
  EXPECT_TRUE(pic.Empty());

  THTMLPicture web;
  web.LoadFromURL("http://127.0.0.1/x.png");
  EXPECT_TRUE(web.Empty());
  EXPECT_TRUE(web.Busy());
  EXPECT_EQ(web.URL(), "http://127.0.0.1/x.png");
  THTMLPicture sync;
  sync.SetAsynch(false);
  sync.LoadFromURL("http://127.0.0.1/y.png");
  EXPECT_FALSE(sync.Busy());
  EXPECT_EQ(sync.ID(), "http://127.0.0.1/y.png");

  // Streams: a stream that does not decode raises and leaves the picture empty.
  QByteArray notPicture("GIF89a....");
  QBuffer buffer(&notPicture);
  buffer.open(QIODevice::ReadOnly);
  EXPECT_THROW(pic.LoadFromStream(&buffer), plat::Exception);
  EXPECT_TRUE(pic.Empty());
  pic.LoadFromStream(nullptr);
}

TEST(HTMLPicture, ResourcePictures) {
  THTMLPicture pic;
  pic.LoadFromURL("rEs://dot.png");  // the prefix in any letter case
  ASSERT_FALSE(pic.Empty());
  EXPECT_EQ(pic.ID(), "rEs://dot.png");
  EXPECT_EQ(QSize(pic.Width(), pic.Height()), QSize(3, 2));
  EXPECT_EQ(pic.Image().pixel(2, 1), qRgb(255, 0, 255));
  EXPECT_EQ(pic.FrameCount(), -1);
  EXPECT_EQ(pic.GetFrameTime(1), -1);

  THTMLPicture missing;
  missing.LoadFromResourceName("nothing.png");
  EXPECT_TRUE(missing.Empty());
}

TEST(HTMLPicture, ContainerAndCacheLookup) {
  TPictureContainer container(nullptr);
  TPictureItem* item = container.Items()->Add();
  item->SetName("Logo");
  item->Picture()->LoadFromBytes(WriteWithQt(TestImage(), "bmp"));
  EXPECT_EQ(container.FindPicture("LOGO"), item->Picture());
  EXPECT_EQ(container.FindPicture("other"), nullptr);

  TPictureContainer copy(nullptr);
  copy.SetItems(container.Items());
  ASSERT_EQ(copy.Items()->Count(), 1);
  EXPECT_NE(copy.FindPicture("logo"), item->Picture());
  EXPECT_EQ(copy.FindPicture("logo")->Width(), 6);

  THTMLPictureCache cache;
  cache.AddPicture()->SetID("Pic");
  EXPECT_NE(cache.FindPicture("Pic"), nullptr);
  EXPECT_EQ(cache.FindPicture("PIC"), nullptr);
  cache.ClearPictures();
  EXPECT_EQ(cache.Count(), 0);

  THTMLPicture a;
  a.LoadFromBytes(WriteWithQt(TestImage(), "png"));
  THTMLPicture b;
  b.Assign(&a);
  EXPECT_FALSE(b.Empty());
  EXPECT_EQ(b.Width(), 6);
  b.Assign(nullptr);
  EXPECT_TRUE(b.Empty());
  EXPECT_TRUE(b.SaveToBytes().isEmpty());
}

}  // namespace
