#pragma once
// Small picture files built in the test: PNG with every colour type, filter and interlacing, GIF with frames,
// and the other formats through Qt's writers.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace samples {

inline void Put32(QByteArray& b, uint32_t v) {
  b.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
}
inline void Put16le(QByteArray& b, int v) { b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); }

inline void Chunk(QByteArray& png, const char* type, const QByteArray& body) {
  Put32(png, uint32_t(body.size()));
  QByteArray t = QByteArray(type, 4) + body;
  png += t;
  Put32(png, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(t.constData()), uInt(t.size()))));
}

inline int PaethPredict(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
}

// Filters rows (each `stride` bytes) with filter (row index + firstFilter) % 5, so every filter is used.
inline QByteArray FilterRows(const std::vector<QByteArray>& rows, int bpp, int firstFilter) {
  QByteArray out;
  QByteArray prior;
  for (size_t y = 0; y < rows.size(); ++y) {
    const QByteArray& r = rows[y];
    const int f = int((y + firstFilter) % 5);
    out.append(char(f));
    for (int i = 0; i < r.size(); ++i) {
      const int x = uchar(r[i]);
      const int a = i >= bpp ? uchar(r[i - bpp]) : 0;
      const int b = prior.isEmpty() ? 0 : uchar(prior[i]);
      const int c = prior.isEmpty() || i < bpp ? 0 : uchar(prior[i - bpp]);
      int v = x;
      if (f == 1) v = x - a;
      if (f == 2) v = x - b;
      if (f == 3) v = x - (a + b) / 2;
      if (f == 4) v = x - PaethPredict(a, b, c);
      out.append(char(v & 0xFF));
    }
    prior = r;
  }
  return out;
}

// Packs samples of `depth` bits (MSB first) into a row.
inline QByteArray PackRow(const std::vector<unsigned>& samples, int depth) {
  QByteArray row;
  if (depth >= 8) {
    for (unsigned s : samples) {
      if (depth == 16) row.append(char(s >> 8));
      row.append(char(s & 0xFF));
    }
    return row;
  }
  unsigned acc = 0;
  int bits = 0;
  for (unsigned s : samples) {
    acc = (acc << depth) | s;
    bits += depth;
    if (bits == 8) {
      row.append(char(acc));
      acc = 0;
      bits = 0;
    }
  }
  if (bits) row.append(char(acc << (8 - bits)));
  return row;
}

struct PngSample {
  int width, height, depth, colourType;
  bool interlaced;
  // samples(x, y) -> the samples of one pixel
  std::vector<unsigned> (*pixel)(int x, int y);
  QByteArray plte;  // palette bytes, if any
  QByteArray trns;  // tRNS body, if any
};

inline QByteArray BuildPng(const PngSample& s) {
  const int channels = s.colourType == 0 || s.colourType == 3 ? 1 : s.colourType == 4 ? 2 : s.colourType == 2 ? 3 : 4;
  const int bpp = std::max(1, channels * s.depth / 8);
  struct Pass { int x0, y0, dx, dy; };
  std::vector<Pass> passes = s.interlaced
      ? std::vector<Pass>{{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}
      : std::vector<Pass>{{0, 0, 1, 1}};
  QByteArray raw;
  int filter = 0;
  for (const Pass& p : passes) {
    std::vector<QByteArray> rows;
    for (int y = p.y0; y < s.height; y += p.dy) {
      std::vector<unsigned> samples;
      for (int x = p.x0; x < s.width; x += p.dx)
        for (unsigned v : s.pixel(x, y)) samples.push_back(v);
      if (!samples.empty()) rows.push_back(PackRow(samples, s.depth));
    }
    raw += FilterRows(rows, bpp, filter++);
  }
  uLongf len = compressBound(uLong(raw.size()));
  QByteArray z(int(len), 0);
  compress(reinterpret_cast<Bytef*>(z.data()), &len, reinterpret_cast<const Bytef*>(raw.constData()), uLong(raw.size()));
  z.resize(int(len));

  QByteArray png("\x89PNG\r\n\x1a\n", 8);
  QByteArray ihdr;
  Put32(ihdr, uint32_t(s.width));
  Put32(ihdr, uint32_t(s.height));
  ihdr.append(char(s.depth)).append(char(s.colourType)).append('\0').append('\0').append(char(s.interlaced ? 1 : 0));
  Chunk(png, "IHDR", ihdr);
  if (!s.plte.isEmpty()) Chunk(png, "PLTE", s.plte);
  if (!s.trns.isEmpty()) Chunk(png, "tRNS", s.trns);
  // Two IDAT chunks, to cover data split over chunks.
  const int half = int(z.size() / 2);
  Chunk(png, "IDAT", z.left(half));
  Chunk(png, "IDAT", z.mid(half));
  Chunk(png, "IEND", QByteArray());
  return png;
}

// LZW data of a GIF frame of `count` pixels of colour index `index` (minimum code size 2): a clear code before
// every two literals keeps the codes at three bits.
inline QByteArray GifPixels(int count, int index) {
  std::vector<int> codes;
  for (int i = 0; i < count; ++i) {
    if (i % 2 == 0) codes.push_back(4);
    codes.push_back(index);
  }
  codes.push_back(5);
  QByteArray bytes;
  unsigned acc = 0;
  int bits = 0;
  for (int c : codes) {
    acc |= unsigned(c) << bits;
    bits += 3;
    while (bits >= 8) {
      bytes.append(char(acc & 0xFF));
      acc >>= 8;
      bits -= 8;
    }
  }
  if (bits) bytes.append(char(acc & 0xFF));
  QByteArray out;
  out.append(char(2));
  for (int at = 0; at < bytes.size(); at += 255) {
    const QByteArray block = bytes.mid(at, 255);
    out.append(char(block.size())).append(block);
  }
  out.append('\0');
  return out;
}

struct GifFrame {
  int x, y, w, h, colour, delay;
};

// Palette: 0 black, 1 red, 2 green, 3 blue.
inline QByteArray BuildGif(int width, int height, const std::vector<GifFrame>& frames, bool withControl = true) {
  QByteArray g("GIF89a");
  Put16le(g, width);
  Put16le(g, height);
  g.append(char(0x81)).append('\0').append('\0');
  g.append(QByteArray("\x00\x00\x00\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF", 12));
  for (const GifFrame& f : frames) {
    if (withControl) {
      g.append(QByteArray("\x21\xF9\x04\x00", 4));
      Put16le(g, f.delay);
      g.append('\0').append('\0');
    }
    g.append(char(0x2C));
    Put16le(g, f.x);
    Put16le(g, f.y);
    Put16le(g, f.w);
    Put16le(g, f.h);
    g.append('\0');
    g += GifPixels(f.w * f.h, f.colour);
  }
  g.append(char(0x3B));
  return g;
}

inline QByteArray WriteWithQt(const QImage& img, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  writer.write(img);
  return bytes;
}

// A 6 x 4 picture: left half red, right half blue, with a green pixel at (1, 1).
inline QImage TestImage() {
  QImage img(6, 4, QImage::Format_RGB32);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) img.setPixel(x, y, x < 3 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
  img.setPixel(1, 1, qRgb(0, 255, 0));
  return img;
}

}  // namespace samples
