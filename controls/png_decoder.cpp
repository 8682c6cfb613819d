#include "controls/png_decoder.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <vector>

namespace controls {

namespace {

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

uint32_t Be32(const unsigned char* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

struct Header {
  uint32_t width = 0, height = 0;
  int depth = 0, colourType = 0, interlace = 0;
  int channels = 0;
};

bool ValidDepth(int type, int depth) {
  switch (type) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2: case 4: case 6: return depth == 8 || depth == 16;
    default: return false;
  }
}

int ChannelsOf(int type) {
  switch (type) {
    case 0: case 3: return 1;
    case 4: return 2;
    case 2: return 3;
    default: return 4;
  }
}

// Bytes of one filtered row (without the filter byte) of a given width.
uint64_t RowBytes(const Header& h, uint64_t width) { return (width * h.channels * h.depth + 7) / 8; }

struct Pass {
  int x0, y0, dx, dy;
};
constexpr Pass kAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                            {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
constexpr Pass kWhole = {0, 0, 1, 1};

uint64_t PassWidth(const Header& h, const Pass& p) { return h.width > uint32_t(p.x0) ? (h.width - p.x0 + p.dx - 1) / p.dx : 0; }
uint64_t PassHeight(const Header& h, const Pass& p) { return h.height > uint32_t(p.y0) ? (h.height - p.y0 + p.dy - 1) / p.dy : 0; }

// Inflates exactly `expected` bytes. The output grows as data arrives, so a small file that only claims a
// large picture costs no large allocation.
bool Inflate(const std::vector<unsigned char>& in, std::vector<unsigned char>& out, uint64_t expected) {
  out.clear();
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) return false;
  zs.next_in = const_cast<unsigned char*>(in.data());
  zs.avail_in = uInt(in.size());
  uint64_t produced = 0;
  while (produced < expected) {
    const uint64_t chunk = std::min<uint64_t>(expected - produced, 1u << 20);
    out.resize(produced + chunk);
    zs.next_out = out.data() + produced;
    zs.avail_out = uInt(chunk);
    const int rc = inflate(&zs, Z_NO_FLUSH);
    const uint64_t got = chunk - zs.avail_out;
    produced += got;
    if (rc == Z_STREAM_END || (rc != Z_OK && rc != Z_BUF_ERROR) || (got == 0 && zs.avail_in == 0)) break;
    if (rc == Z_BUF_ERROR && got == 0) break;
  }
  inflateEnd(&zs);
  out.resize(produced);
  return produced == expected;
}

int Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  if (pb <= pc) return b;
  return c;
}

// Undoes the row filters of one pass in place; `rows` rows of `stride` bytes each after their filter byte.
bool Unfilter(unsigned char* data, uint64_t rows, uint64_t stride, int bpp) {
  const unsigned char* prior = nullptr;
  for (uint64_t y = 0; y < rows; ++y) {
    unsigned char* row = data + y * (stride + 1);
    const int filter = row[0];
    unsigned char* cur = row + 1;
    for (uint64_t i = 0; i < stride; ++i) {
      const int a = i >= uint64_t(bpp) ? cur[i - bpp] : 0;
      const int b = prior ? prior[i] : 0;
      const int c = prior && i >= uint64_t(bpp) ? prior[i - bpp] : 0;
      int v = cur[i];
      switch (filter) {
        case 0: break;
        case 1: v += a; break;
        case 2: v += b; break;
        case 3: v += (a + b) / 2; break;
        case 4: v += Paeth(a, b, c); break;
        default: return false;
      }
      cur[i] = static_cast<unsigned char>(v);
    }
    prior = cur;
  }
  return true;
}

struct Palette {
  std::array<QRgb, 256> colours{};
  int count = 0;
};

struct Transparency {
  bool hasKey = false;
  uint16_t key[3] = {0, 0, 0};
};

// Sample n (0-based) of a row at the header's depth.
unsigned Sample(const unsigned char* row, uint64_t n, int depth) {
  switch (depth) {
    case 16: return (unsigned(row[2 * n]) << 8) | row[2 * n + 1];
    case 8: return row[n];
    default: {
      const uint64_t bit = n * depth;
      const unsigned shift = unsigned(8 - depth - bit % 8);
      return (row[bit / 8] >> shift) & ((1u << depth) - 1);
    }
  }
}

unsigned To8(unsigned v, int depth) {
  if (depth == 16) return (v * 255 + 32767) / 65535;
  if (depth == 8) return v;
  return v * 255 / ((1u << depth) - 1);
}

void StoreRow(const Header& h, const unsigned char* row, uint64_t width, const Pass& p, uint64_t passRow,
              const Palette& pal, const Transparency& trns, QImage& img) {
  const int y = int(p.y0 + passRow * p.dy);
  QRgb* out = reinterpret_cast<QRgb*>(img.scanLine(y));
  for (uint64_t i = 0; i < width; ++i) {
    const int x = int(p.x0 + i * p.dx);
    QRgb px = 0;
    switch (h.colourType) {
      case 0: {
        const unsigned g = Sample(row, i, h.depth);
        const unsigned g8 = To8(g, h.depth);
        px = qRgba(int(g8), int(g8), int(g8), trns.hasKey && g == trns.key[0] ? 0 : 255);
        break;
      }
      case 2: {
        const unsigned r = Sample(row, 3 * i, h.depth), g = Sample(row, 3 * i + 1, h.depth),
                       b = Sample(row, 3 * i + 2, h.depth);
        const bool clear = trns.hasKey && r == trns.key[0] && g == trns.key[1] && b == trns.key[2];
        px = qRgba(int(To8(r, h.depth)), int(To8(g, h.depth)), int(To8(b, h.depth)), clear ? 0 : 255);
        break;
      }
      case 3: {
        const unsigned idx = Sample(row, i, h.depth);
        px = int(idx) < pal.count ? pal.colours[idx] : qRgba(0, 0, 0, 255);
        break;
      }
      case 4: {
        const unsigned g = To8(Sample(row, 2 * i, h.depth), h.depth);
        px = qRgba(int(g), int(g), int(g), int(To8(Sample(row, 2 * i + 1, h.depth), h.depth)));
        break;
      }
      default:
        px = qRgba(int(To8(Sample(row, 4 * i, h.depth), h.depth)), int(To8(Sample(row, 4 * i + 1, h.depth), h.depth)),
                   int(To8(Sample(row, 4 * i + 2, h.depth), h.depth)),
                   int(To8(Sample(row, 4 * i + 3, h.depth), h.depth)));
        break;
    }
    out[x] = px;
  }
}

}  // namespace

bool IsPngData(const QByteArray& Data) {
  return Data.size() >= 8 && std::memcmp(Data.constData(), kSignature, 8) == 0;
}

bool DecodePng(const QByteArray& Data, QImage& Image) {
  if (!IsPngData(Data)) return false;
  const auto* bytes = reinterpret_cast<const unsigned char*>(Data.constData());
  const uint64_t size = uint64_t(Data.size());
  uint64_t pos = 8;
  Header h;
  bool seenHeader = false, seenEnd = false;
  Palette pal;
  Transparency trns;
  std::vector<unsigned char> compressed;

  while (pos + 12 <= size) {
    const uint32_t len = Be32(bytes + pos);
    if (len > 0x7FFFFFFFu || pos + 12 + uint64_t(len) > size) return false;
    const unsigned char* type = bytes + pos + 4;
    const unsigned char* body = bytes + pos + 8;
    const uint32_t crc = Be32(body + len);
    if (crc32(crc32(0L, Z_NULL, 0), type, uInt(len + 4)) != crc) return false;
    const bool isHeader = std::memcmp(type, "IHDR", 4) == 0;
    if (!seenHeader && !isHeader) return false;
    if (isHeader) {
      if (seenHeader || len != 13) return false;
      h.width = Be32(body);
      h.height = Be32(body + 4);
      h.depth = body[8];
      h.colourType = body[9];
      h.interlace = body[12];
      if (body[10] != 0 || body[11] != 0 || h.interlace > 1) return false;
      if (!ValidDepth(h.colourType, h.depth)) return false;
      if (h.width == 0 || h.height == 0 || h.width > uint32_t(kMaxPictureSide) || h.height > uint32_t(kMaxPictureSide) ||
          uint64_t(h.width) * h.height > uint64_t(kMaxPicturePixels))
        return false;
      h.channels = ChannelsOf(h.colourType);
      seenHeader = true;
    } else if (std::memcmp(type, "PLTE", 4) == 0) {
      if (len % 3 != 0 || len / 3 > 256 || len == 0) return false;
      pal.count = int(len / 3);
      for (int i = 0; i < pal.count; ++i)
        pal.colours[i] = qRgba(body[3 * i], body[3 * i + 1], body[3 * i + 2], 255);
    } else if (std::memcmp(type, "tRNS", 4) == 0) {
      if (h.colourType == 3) {
        if (len > uint32_t(pal.count)) return false;
        for (uint32_t i = 0; i < len; ++i) pal.colours[i] = qRgba(qRed(pal.colours[i]), qGreen(pal.colours[i]),
                                                                  qBlue(pal.colours[i]), body[i]);
      } else if (h.colourType == 0 && len == 2) {
        trns.hasKey = true;
        trns.key[0] = uint16_t((body[0] << 8) | body[1]);
      } else if (h.colourType == 2 && len == 6) {
        trns.hasKey = true;
        for (int i = 0; i < 3; ++i) trns.key[i] = uint16_t((body[2 * i] << 8) | body[2 * i + 1]);
      }
    } else if (std::memcmp(type, "IDAT", 4) == 0) {
      if (compressed.size() + len > size) return false;
      compressed.insert(compressed.end(), body, body + len);
    } else if (std::memcmp(type, "IEND", 4) == 0) {
      seenEnd = true;
      break;
    } else if ((type[0] & 0x20) == 0) {
      return false;  // an unknown chunk that is critical
    }
    pos += 12 + uint64_t(len);
  }
  if (!seenHeader || !seenEnd || compressed.empty()) return false;
  if (h.colourType == 3 && pal.count == 0) return false;

  const int bpp = std::max(1, h.channels * h.depth / 8);
  std::vector<Pass> passes;
  if (h.interlace)
    passes.assign(std::begin(kAdam7), std::end(kAdam7));
  else
    passes.push_back(kWhole);
  uint64_t expected = 0;
  for (const Pass& p : passes) {
    const uint64_t w = PassWidth(h, p), rows = PassHeight(h, p);
    if (w > 0 && rows > 0) expected += rows * (RowBytes(h, w) + 1);
  }
  std::vector<unsigned char> raw;
  if (!Inflate(compressed, raw, expected)) return false;

  QImage img(int(h.width), int(h.height), QImage::Format_ARGB32);
  if (img.isNull()) return false;
  uint64_t offset = 0;
  for (const Pass& p : passes) {
    const uint64_t w = PassWidth(h, p), rows = PassHeight(h, p);
    if (w == 0 || rows == 0) continue;
    const uint64_t stride = RowBytes(h, w);
    if (!Unfilter(raw.data() + offset, rows, stride, bpp)) return false;
    for (uint64_t r = 0; r < rows; ++r)
      StoreRow(h, raw.data() + offset + r * (stride + 1) + 1, w, p, r, pal, trns, img);
    offset += rows * (stride + 1);
  }
  Image = img;
  return true;
}

}  // namespace controls
