#include "platform/graphics/graphic.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

#include "platform/graphics/canvas.h"
#include "platform/io/files.h"
#include "platform/rtl/streams.h"

namespace plat {

namespace {

// Pictures are read only from regular files of a picture's size; anything else cannot be opened as one.
QByteArray ReadGraphicFile(const QString& fileName) {
  QByteArray data;
  QString error;
  if (!ReadFileBytes(fileName, data, &error, MaxGraphicFileSize)) throw EFOpenError(error);
  return data;
}

}  // namespace

// ---- TGraphic

void TGraphic::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  Changed();
}

void TGraphic::Changed() {
  modified_ = true;
  if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const QString& fileName) { LoadFromBytes(ReadGraphicFile(fileName)); }

void TGraphic::SaveToFile(const QString& fileName) const {
  QByteArray data = SaveToBytes();
  QSaveFile f(fileName);
  // Flushed before the commit: a write the disk refuses shows here, where the commit could publish a short file.
  if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.flush() || !f.commit())
    throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, f.errorString()));
}

void TGraphic::LoadFromStream(QIODevice& stream) { LoadFromBytes(stream.readAll()); }

void TGraphic::LoadFromStream(TStream& stream) {
  int64_t n = stream.Size() - stream.Position();
  LoadFromBytes(n > 0 ? stream.ReadBytes(n) : QByteArray());
}

void TGraphic::SaveToStream(TStream& stream) const { stream.WriteBytes(SaveToBytes()); }

void TGraphic::SaveToStream(QIODevice& stream) const {
  QByteArray data = SaveToBytes();
  if (stream.write(data) != data.size()) throw EInvalidGraphicOperation(QStringLiteral("Stream write error"));
}

namespace {

QImage::Format QtFormat(TPixelFormat f) {
  switch (f) {
    case pf24bit: return QImage::Format_BGR888;
    case pf32bit: return QImage::Format_ARGB32;
    default: return QImage::Format_RGB32;
  }
}

QImage Decode(const QByteArray& data, const char* format) {
  QBuffer buf;
  buf.setData(data);
  buf.open(QIODevice::ReadOnly);
  QImageReader reader(&buf, format);
  reader.setAutoTransform(false);
  QImage img = reader.read();
  return img;
}

// Key-colour transparency: pixels of the key colour become fully transparent.
QImage MaskedByColour(const QImage& src, TColor key) {
  QImage out = src.convertToFormat(QImage::Format_ARGB32);
  QRgb k = ToQColor(key).rgb() & 0xFFFFFF;
  for (int y = 0; y < out.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      if ((row[x] & 0xFFFFFF) == k) row[x] = 0; else row[x] |= 0xFF000000u;
    }
  }
  return out;
}

void DrawWithAlpha(TCanvas& canvas, const TRect& r, const QImage& img) {
  QPainter* p = canvas.Painter();
  if (!p || img.isNull() || r.IsEmpty()) return;
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  p->drawImage(ToQRect(r), img);
}

}  // namespace

// ---- TBitmap

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) : format_(format) { SetSize(width, height); }

TBitmap::~TBitmap() {
  if (canvas_) canvas_->SetDevice(nullptr);
}

TCanvas* TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TCanvas>(&image_);
  return canvas_.get();
}

const QImage& TBitmap::Image() const {
  if (canvas_) canvas_->EndPainting();
  return image_;
}

void TBitmap::Reformat(const QImage& src, int w, int h) {
  if (canvas_) canvas_->EndPainting();
  w = std::max(0, w);
  h = std::max(0, h);
  if (w == 0 || h == 0) {
    image_ = QImage();
  } else {
    QImage next(w, h, QtFormat(format_));
    next.fill(Qt::white);
    if (!src.isNull()) {
      QImage s = src.format() == next.format() ? src : src.convertToFormat(next.format());
      int cw = std::min(w, s.width()), ch = std::min(h, s.height());
      int bpp = next.depth() / 8;
      for (int y = 0; y < ch; ++y) memcpy(next.scanLine(y), s.constScanLine(y), size_t(cw) * bpp);
    }
    image_ = next;
  }
  if (canvas_) canvas_->SetDevice(&image_);
}

void TBitmap::AfterImageChange() { Changed(); }

void TBitmap::SetSize(int w, int h) {
  if (w == Width() && h == Height() && (!image_.isNull() || w == 0 || h == 0)) return;
  QImage old = Image();
  Reformat(old, w, h);
  AfterImageChange();
}

void TBitmap::SetPixelFormat(TPixelFormat f) {
  if (f == format_) return;
  QImage old = Image();
  format_ = f;
  Reformat(old, old.width(), old.height());
  AfterImageChange();
}

void TBitmap::SetAlphaFormat(TAlphaFormat f) {
  if (f == alphaFormat_) return;
  alphaFormat_ = f;
  Changed();
}

std::uint8_t* TBitmap::ScanLine(int row) {
  if (row < 0 || row >= Height()) throw EInvalidGraphicOperation(QStringLiteral("Scan line index out of range"));
  if (canvas_) canvas_->EndPainting();
  return image_.scanLine(row);
}

TColor TBitmap::TransparentColor() const {
  if (transparentMode_ == tmFixed) return transparentColor_;
  if (image_.isNull()) return clDefault;
  return FromQColor(QColor::fromRgb(Image().pixel(0, Height() - 1)));
}

void TBitmap::SetTransparentColor(TColor c) {
  transparentColor_ = c;
  transparentMode_ = tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode m) {
  if (m == transparentMode_) return;
  transparentMode_ = m;
  Changed();
}

void TBitmap::SetImage(const QImage& image) {
  Reformat(image, image.width(), image.height());
  AfterImageChange();
}

void TBitmap::Assign(TPersistent* Source) {
  if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    Assign(*g);
    return;
  }
  TGraphic::Assign(Source);
}

void TBitmap::Assign(const TBitmap& s) {
  if (&s == this) return;
  format_ = s.format_;
  alphaFormat_ = s.alphaFormat_;
  transparent_ = s.transparent_;
  transparentColor_ = s.transparentColor_;
  transparentMode_ = s.transparentMode_;
  QImage src = s.Image();
  Reformat(src, src.width(), src.height());
  AfterImageChange();
}

void TBitmap::Assign(const TGraphic& s) {
  if (auto* b = dynamic_cast<const TBitmap*>(&s)) {
    Assign(*b);
    return;
  }
  QImage img = s.ToImage();
  Reformat(QImage(), img.width(), img.height());
  if (!img.isNull()) {
    // Drawn over white, as the framework draws a picture into a new bitmap.
    QPainter p(&image_);
    p.drawImage(0, 0, img);
  }
  AfterImageChange();
}

std::unique_ptr<TGraphic> TBitmap::Clone() const {
  auto b = std::make_unique<TBitmap>();
  b->Assign(*this);
  return b;
}

QImage TBitmap::ToImage() const {
  const QImage& img = Image();
  if (format_ == pf32bit && alphaFormat_ != afIgnored) return img;
  return img.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_ARGB32);
}

void TBitmap::Draw(TCanvas& canvas, const TRect& r) {
  if (Empty()) return;
  if (&canvas == canvas_.get()) return;  // drawing a bitmap onto itself does nothing
  const QImage& img = Image();
  if (transparent_) {
    DrawWithAlpha(canvas, r, MaskedByColour(img, TransparentColor()));
  } else if (format_ == pf32bit && alphaFormat_ != afIgnored) {
    QImage a = alphaFormat_ == afPremultiplied
                   ? QImage(img.constBits(), img.width(), img.height(), img.bytesPerLine(),
                            QImage::Format_ARGB32_Premultiplied)
                   : img;
    DrawWithAlpha(canvas, r, a);
  } else {
    canvas.DrawImage(r, img, TRect(0, 0, Width(), Height()), canvas.CopyMode());
  }
}

void TBitmap::LoadFromBytes(const QByteArray& data) {
  if (DetectGraphicFormat(data) != QLatin1String("BMP")) throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
  QImage img = Decode(data, "BMP");
  if (img.isNull()) throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
  TPixelFormat f = img.hasAlphaChannel() ? pf32bit : (img.depth() == 24 ? pf24bit : pfDevice);
  if (img.depth() == 24 || img.format() == QImage::Format_RGB888) f = pf24bit;
  format_ = f;
  alphaFormat_ = afIgnored;
  Reformat(img, img.width(), img.height());
  AfterImageChange();
}

QByteArray TBitmap::SaveToBytes() const {
  QByteArray out;
  QBuffer buf(&out);
  buf.open(QIODevice::WriteOnly);
  QImage img = Image();
  if (img.isNull()) img = QImage(1, 1, QImage::Format_RGB32), img.fill(Qt::white);
  if (format_ != pf32bit) img = img.convertToFormat(QImage::Format_RGB888);
  QImageWriter w(&buf, "BMP");
  if (!w.write(img)) throw EInvalidGraphicOperation(QStringLiteral("Cannot write the bitmap"));
  return out;
}

// ---- TIcon

void TIcon::Assign(const TIcon& s) {
  if (&s == this) return;
  image_ = s.image_;
  Changed();
}

std::unique_ptr<TGraphic> TIcon::Clone() const {
  auto i = std::make_unique<TIcon>();
  i->Assign(*this);
  return i;
}

void TIcon::SetImage(const QImage& image) {
  image_ = image.convertToFormat(QImage::Format_ARGB32);
  Changed();
}

void TIcon::Draw(TCanvas& canvas, const TRect& r) { DrawWithAlpha(canvas, r, image_); }

void TIcon::LoadFromBytes(const QByteArray& data) {
  QImage img = Decode(data, DetectGraphicFormat(data) == QLatin1String("ICO") ? "ICO" : nullptr);
  if (img.isNull()) throw EInvalidGraphic(QStringLiteral("Icon image is not valid"));
  image_ = img.convertToFormat(QImage::Format_ARGB32);
  Changed();
}

QByteArray TIcon::SaveToBytes() const {
  QByteArray out;
  QBuffer buf(&out);
  buf.open(QIODevice::WriteOnly);
  QImageWriter w(&buf, "ICO");
  if (image_.isNull() || !w.write(image_)) throw EInvalidGraphicOperation(QStringLiteral("Cannot write the icon"));
  return out;
}

// ---- TImageGraphic

QString TImageGraphic::ClassName() const {
  if (format_ == QLatin1String("PNG")) return QStringLiteral("TPngImage");
  if (format_ == QLatin1String("JPEG")) return QStringLiteral("TJPEGImage");
  if (format_ == QLatin1String("GIF")) return QStringLiteral("TGIFImage");
  return QStringLiteral("TImageGraphic");
}

std::unique_ptr<TGraphic> TImageGraphic::Clone() const {
  auto g = std::make_unique<TImageGraphic>();
  g->image_ = image_;
  g->format_ = format_;
  g->data_ = data_;
  g->transparent_ = transparent_;
  return g;
}

void TImageGraphic::Draw(TCanvas& canvas, const TRect& r) { DrawWithAlpha(canvas, r, image_); }

void TImageGraphic::LoadFromBytes(const QByteArray& data) {
  QString fmt = DetectGraphicFormat(data);
  if (fmt != QLatin1String("PNG") && fmt != QLatin1String("JPEG") && fmt != QLatin1String("GIF"))
    throw EInvalidGraphic(QStringLiteral("Unknown picture file format"));
  QImage img = Decode(data, fmt.toLatin1().constData());
  if (img.isNull()) throw EInvalidGraphic(QStringLiteral("%1 image is not valid").arg(fmt));
  image_ = img.convertToFormat(QImage::Format_ARGB32);
  format_ = fmt;
  data_ = data;
  transparent_ = img.hasAlphaChannel();
  Changed();
}

QString DetectGraphicFormat(const QByteArray& d) {
  auto at = [&](int i) { return i < d.size() ? uint8_t(d[i]) : 0xFFFF; };
  if (d.size() >= 14 && at(0) == 'B' && at(1) == 'M') return QStringLiteral("BMP");
  if (d.size() >= 8 && d.startsWith("\x89PNG\r\n\x1a\n")) return QStringLiteral("PNG");
  if (d.size() >= 3 && at(0) == 0xFF && at(1) == 0xD8 && at(2) == 0xFF) return QStringLiteral("JPEG");
  if (d.size() >= 6 && (d.startsWith("GIF87a") || d.startsWith("GIF89a"))) return QStringLiteral("GIF");
  if (d.size() >= 6 && at(0) == 0 && at(1) == 0 && at(2) == 1 && at(3) == 0 && (at(4) | (at(5) << 8)) > 0)
    return QStringLiteral("ICO");
  return QString();
}

// ---- TPicture

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

void TPicture::SetGraphic(const TGraphic* g) { SetGraphic(g ? g->Clone() : nullptr); }

void TPicture::SetGraphic(std::unique_ptr<TGraphic> g) {
  graphic_ = std::move(g);
  if (graphic_) graphic_->OnChange = [this](TObject*) { Changed(); };
  Changed();
}

TBitmap* TPicture::Bitmap() {
  if (auto* b = dynamic_cast<TBitmap*>(graphic_.get())) return b;
  SetGraphic(std::make_unique<TBitmap>());
  return static_cast<TBitmap*>(graphic_.get());
}

TIcon* TPicture::Icon() {
  if (auto* i = dynamic_cast<TIcon*>(graphic_.get())) return i;
  SetGraphic(std::make_unique<TIcon>());
  return static_cast<TIcon*>(graphic_.get());
}

void TPicture::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TPicture*>(Source)) {
    Assign(*p);
  } else if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(g);
  } else if (!Source) {
    SetGraphic(static_cast<const TGraphic*>(nullptr));
  } else {
    TPersistent::Assign(Source);
  }
}

void TPicture::Assign(const TPicture& s) {
  if (&s == this) return;
  SetGraphic(s.graphic_.get());
}

void TPicture::LoadFromBytes(const QByteArray& data) {
  QString fmt = DetectGraphicFormat(data);
  std::unique_ptr<TGraphic> g;
  if (fmt == QLatin1String("BMP")) g = std::make_unique<TBitmap>();
  else if (fmt == QLatin1String("ICO")) g = std::make_unique<TIcon>();
  else if (!fmt.isEmpty()) g = std::make_unique<TImageGraphic>();
  else throw EInvalidGraphic(QStringLiteral("Unknown picture file format"));
  g->LoadFromBytes(data);
  SetGraphic(std::move(g));
}

void TPicture::LoadFromFile(const QString& fileName) { LoadFromBytes(ReadGraphicFile(fileName)); }

void TPicture::SaveToFile(const QString& fileName) const {
  if (graphic_) graphic_->SaveToFile(fileName);
}

}  // namespace plat
