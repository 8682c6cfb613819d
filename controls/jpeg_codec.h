#pragma once
// JPEG decompression and compression over libjpeg. Library errors end the call through our own error manager
// (never the process): decoding then gives false, encoding an empty result. Warnings are not printed.

#include <QByteArray>
#include <QImage>

namespace controls {

bool IsJpegData(const QByteArray& Data);
// Grey, RGB/YCbCr and CMYK/YCCK pictures, into a Format_RGB32 image; false for malformed or oversized data.
bool DecodeJpeg(const QByteArray& Data, QImage& Image);
// Quality 1..100; an empty array when the image is empty or the library fails.
QByteArray EncodeJpeg(const QImage& Image, int Quality);

}  // namespace controls
