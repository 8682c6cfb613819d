#pragma once
// PNG decoding over zlib with our own chunk reader and filter reconstruction. Every read is bounds-checked: a
// truncated, oversized or hostile file gives false and leaves the output untouched.

#include <QByteArray>
#include <QImage>

namespace controls {

// Largest width or height, and largest pixel count, a picture may have.
constexpr int kMaxPictureSide = 16384;
constexpr long long kMaxPicturePixels = 16LL * 1024 * 1024;

bool IsPngData(const QByteArray& Data);
// Decodes every standard colour type and bit depth, interlaced or not, with palette and tRNS transparency,
// into a Format_ARGB32 image. False for anything malformed (CRC errors included).
bool DecodePng(const QByteArray& Data, QImage& Image);

}  // namespace controls
