#include "controls/jpeg_codec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "controls/png_decoder.h"

namespace controls {

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void OnMessage(j_common_ptr) {}

// A picture whose data ends early is refused instead of being padded with grey.
void OnEmit(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) OnError(cinfo);
}

// Kept on the heap and reached through a pointer that is not changed after setjmp, so its contents are valid
// after a jump back.
struct DecodeState {
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  QImage image;
  std::vector<unsigned char> row;
};

struct EncodeState {
  jpeg_compress_struct cinfo{};
  ErrorManager err{};
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  std::vector<unsigned char> row;
};

}  // namespace

bool IsJpegData(const QByteArray& Data) {
  return Data.size() >= 3 && uchar(Data[0]) == 0xFF && uchar(Data[1]) == 0xD8 && uchar(Data[2]) == 0xFF;
}

bool DecodeJpeg(const QByteArray& Data, QImage& Image) {
  if (!IsJpegData(Data)) return false;
  const std::unique_ptr<DecodeState> s(new DecodeState);
  s->cinfo.err = jpeg_std_error(&s->err.pub);
  s->err.pub.error_exit = OnError;
  s->err.pub.output_message = OnMessage;
  s->err.pub.emit_message = OnEmit;
  if (setjmp(s->err.jump)) {
    jpeg_destroy_decompress(&s->cinfo);
    return false;
  }
  jpeg_create_decompress(&s->cinfo);
  jpeg_mem_src(&s->cinfo, reinterpret_cast<const unsigned char*>(Data.constData()), static_cast<unsigned long>(Data.size()));
  if (jpeg_read_header(&s->cinfo, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&s->cinfo);
    return false;
  }
  const JDIMENSION w = s->cinfo.image_width, h = s->cinfo.image_height;
  if (w == 0 || h == 0 || w > JDIMENSION(kMaxPictureSide) || h > JDIMENSION(kMaxPictureSide) ||
      static_cast<long long>(w) * h > kMaxPicturePixels) {
    jpeg_destroy_decompress(&s->cinfo);
    return false;
  }
  const bool cmyk = s->cinfo.jpeg_color_space == JCS_CMYK || s->cinfo.jpeg_color_space == JCS_YCCK;
  s->cinfo.out_color_space = cmyk ? JCS_CMYK : (s->cinfo.num_components == 1 ? JCS_GRAYSCALE : JCS_RGB);
  jpeg_start_decompress(&s->cinfo);
  const int comps = s->cinfo.output_components;
  s->image = QImage(int(s->cinfo.output_width), int(s->cinfo.output_height), QImage::Format_RGB32);
  if (s->image.isNull()) {
    jpeg_destroy_decompress(&s->cinfo);
    return false;
  }
  s->row.resize(size_t(s->cinfo.output_width) * comps);
  while (s->cinfo.output_scanline < s->cinfo.output_height) {
    const int y = int(s->cinfo.output_scanline);
    JSAMPROW rows[1] = {s->row.data()};
    if (jpeg_read_scanlines(&s->cinfo, rows, 1) != 1) break;
    QRgb* out = reinterpret_cast<QRgb*>(s->image.scanLine(y));
    const unsigned char* in = s->row.data();
    for (JDIMENSION x = 0; x < s->cinfo.output_width; ++x) {
      if (comps == 1) {
        out[x] = qRgb(in[x], in[x], in[x]);
      } else if (comps == 3) {
        out[x] = qRgb(in[3 * x], in[3 * x + 1], in[3 * x + 2]);
      } else {
        // CMYK as stored by common writers (inverted): each channel times K.
        const int k = in[4 * x + 3];
        out[x] = qRgb(in[4 * x] * k / 255, in[4 * x + 1] * k / 255, in[4 * x + 2] * k / 255);
      }
    }
  }
  const bool complete = s->cinfo.output_scanline == s->cinfo.output_height;
  if (complete) jpeg_finish_decompress(&s->cinfo);
  jpeg_destroy_decompress(&s->cinfo);
  if (!complete) return false;
  Image = s->image;
  return true;
}

QByteArray EncodeJpeg(const QImage& Image, int Quality) {
  if (Image.isNull()) return QByteArray();
  const QImage rgb = Image.convertToFormat(QImage::Format_RGB32);
  const std::unique_ptr<EncodeState> s(new EncodeState);
  s->cinfo.err = jpeg_std_error(&s->err.pub);
  s->err.pub.error_exit = OnError;
  s->err.pub.output_message = OnMessage;
  if (setjmp(s->err.jump)) {
    jpeg_destroy_compress(&s->cinfo);
    std::free(s->buffer);
    return QByteArray();
  }
  jpeg_create_compress(&s->cinfo);
  jpeg_mem_dest(&s->cinfo, &s->buffer, &s->size);
  s->cinfo.image_width = JDIMENSION(rgb.width());
  s->cinfo.image_height = JDIMENSION(rgb.height());
  s->cinfo.input_components = 3;
  s->cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&s->cinfo);
  jpeg_set_quality(&s->cinfo, std::clamp(Quality, 1, 100), TRUE);
  jpeg_start_compress(&s->cinfo, TRUE);
  s->row.resize(size_t(rgb.width()) * 3);
  while (s->cinfo.next_scanline < s->cinfo.image_height) {
    const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(int(s->cinfo.next_scanline)));
    for (int x = 0; x < rgb.width(); ++x) {
      s->row[3 * x] = uchar(qRed(in[x]));
      s->row[3 * x + 1] = uchar(qGreen(in[x]));
      s->row[3 * x + 2] = uchar(qBlue(in[x]));
    }
    JSAMPROW rows[1] = {s->row.data()};
    jpeg_write_scanlines(&s->cinfo, rows, 1);
  }
  jpeg_finish_compress(&s->cinfo);
  QByteArray result(reinterpret_cast<const char*>(s->buffer), qsizetype(s->size));
  jpeg_destroy_compress(&s->cinfo);
  std::free(s->buffer);
  return result;
}

}  // namespace controls
