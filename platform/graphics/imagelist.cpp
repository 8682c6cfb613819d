#include "platform/graphics/imagelist.h"

#include <QPainter>

#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"

namespace plat {

TCustomImageList::TCustomImageList(TComponent* AOwner) : TCustomImageList(AOwner, 16, 16) {}

TCustomImageList::TCustomImageList(TComponent* AOwner, int width, int height)
    : TComponent(AOwner), width_(std::max(0, width)), height_(std::max(0, height)) {}

TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TCustomImageList*>(Source)) {
    if (s == this) return;
    width_ = s->width_;
    height_ = s->height_;
    masked_ = s->masked_;
    bkColor_ = s->bkColor_;
    blendColor_ = s->blendColor_;
    drawingStyle_ = s->drawingStyle_;
    imageType_ = s->imageType_;
    images_ = s->images_;
    Change();
    return;
  }
  TComponent::Assign(Source);
}

void TCustomImageList::Change() {
  if (OnChange) OnChange(this);
  // Copy: a handler may unregister itself.
  auto links = links_;
  for (auto& [id, fn] : links)
    if (fn) fn();
}

int TCustomImageList::RegisterChanges(std::function<void()> handler) {
  int id = nextLink_++;
  links_[id] = std::move(handler);
  return id;
}

void TCustomImageList::UnRegisterChanges(int id) { links_.erase(id); }

void TCustomImageList::SetSize(int w, int h) {
  w = std::max(0, w);
  h = std::max(0, h);
  if (w == width_ && h == height_) return;
  width_ = w;
  height_ = h;
  images_.clear();
  Change();
}

void TCustomImageList::SetBkColor(TColor c) {
  if (c == bkColor_) return;
  bkColor_ = c;
  Change();
}

namespace {

// Cuts a strip into cells of w x h; a picture narrower than a cell gives one cell.
std::vector<QImage> Cut(const QImage& img, int w, int h) {
  std::vector<QImage> out;
  if (img.isNull() || w <= 0 || h <= 0) return out;
  int n = std::max(1, img.width() / w);
  for (int i = 0; i < n; ++i) {
    QImage cell(w, h, QImage::Format_ARGB32);
    cell.fill(Qt::transparent);
    QPainter p(&cell);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, img, i * w, 0, std::min(w, img.width() - i * w), std::min(h, img.height()));
    p.end();
    out.push_back(cell);
  }
  return out;
}

// The bitmap's pixels, opaque, in the list's format.
QImage Opaque(const TBitmap& bitmap) {
  return bitmap.Image().convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

int TCustomImageList::AppendStrip(const QImage& strip) {
  auto cells = Cut(strip, width_, height_);
  if (cells.empty()) return -1;
  int first = Count();
  images_.insert(images_.end(), cells.begin(), cells.end());
  Change();
  return first;
}

int TCustomImageList::Add(TBitmap* image, TBitmap* mask) {
  if (!image || image->Empty()) return -1;
  QImage img = Opaque(*image);
  if (mask && !mask->Empty()) {
    QImage m = mask->Image().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < img.height() && y < m.height(); ++y) {
      QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
      const QRgb* mr = reinterpret_cast<const QRgb*>(m.constScanLine(y));
      for (int x = 0; x < img.width() && x < m.width(); ++x)
        if ((mr[x] & 0xFFFFFF) == 0xFFFFFF) row[x] = 0;
    }
  }
  return AppendStrip(img);
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor) {
  if (!image || image->Empty()) return -1;
  QImage img = Opaque(*image);
  TColor key = maskColor == clDefault ? FromQColor(QColor::fromRgb(img.pixel(0, img.height() - 1)))
                                      : ColorToRGB(maskColor);
  QRgb k = ToQColor(key).rgb() & 0xFFFFFF;
  for (int y = 0; y < img.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if ((row[x] & 0xFFFFFF) == k) row[x] = 0;
  }
  return AppendStrip(img);
}

int TCustomImageList::AddIcon(TIcon* icon) {
  if (!icon || icon->Empty()) return -1;
  return AddImage(icon->Image());
}

int TCustomImageList::AddImage(const QImage& image) {
  if (image.isNull() || width_ <= 0 || height_ <= 0) return -1;
  QImage img = image.convertToFormat(QImage::Format_ARGB32);
  if (img.size() != QSize(width_, height_))
    img = img.scaled(width_, height_, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  images_.push_back(img);
  Change();
  return Count() - 1;
}

void TCustomImageList::Replace(int index, TBitmap* image, TBitmap* mask) {
  if (index < 0 || index >= Count()) return;
  TCustomImageList tmp(nullptr, width_, height_);
  if (tmp.Add(image, mask) < 0) return;
  images_[size_t(index)] = tmp.images_.front();
  Change();
}

void TCustomImageList::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  images_.erase(images_.begin() + index);
  Change();
}

void TCustomImageList::Clear() {
  if (images_.empty()) return;
  images_.clear();
  Change();
}

QImage TCustomImageList::GetImage(int index) const {
  if (index < 0 || index >= Count()) return QImage();
  return images_[size_t(index)];
}

QImage DisabledImage(const QImage& image) {
  QImage out = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      QRgb p = row[x];
      int grey = (qRed(p) * 30 + qGreen(p) * 59 + qBlue(p) * 11) / 100;
      int light = (grey + 2 * 255) / 3;
      row[x] = qRgba(light, light, light, qAlpha(p));
    }
  }
  return out;
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
  Draw(canvas, x, y, index, drawingStyle_, imageType_, enabled);
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, TDrawingStyle style, TImageType type,
                            bool enabled) {
  if (!canvas || index < 0 || index >= Count()) return;
  if (type == itMask) {
    // The mask: black where the image is, white where it is transparent.
    QImage m(width_, height_, QImage::Format_RGB32);
    const QImage& img = images_[size_t(index)];
    for (int yy = 0; yy < height_; ++yy)
      for (int xx = 0; xx < width_; ++xx) m.setPixel(xx, yy, qAlpha(img.pixel(xx, yy)) ? 0xFF000000u : 0xFFFFFFFFu);
    canvas->DrawImage(TRect(x, y, x + width_, y + height_), m, TRect(0, 0, width_, height_), cmSrcCopy);
    canvas->Trace(TraceKind::Draw, TRect(x, y, x + width_, y + height_), {}, QStringLiteral("ImageList"),
                  unsigned(index));
    return;
  }
  DoDraw(index, canvas, x, y, style, enabled);
}

void TCustomImageList::DoDraw(int index, TCanvas* canvas, int x, int y, TDrawingStyle style, bool enabled) {
  QImage img = enabled ? images_[size_t(index)] : DisabledImage(images_[size_t(index)]);
  if (enabled && (style == dsFocus || style == dsSelected)) {
    // Blended with the blend colour (25% for focus, 50% for selected) where the image is opaque.
    TColor bc = blendColor_ == clNone || blendColor_ == clDefault ? clHighlight : blendColor_;
    QColor b = ToQColor(bc);
    int share = style == dsFocus ? 64 : 128;
    for (int yy = 0; yy < img.height(); ++yy) {
      QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(yy));
      for (int xx = 0; xx < img.width(); ++xx) {
        QRgb p = row[xx];
        row[xx] = qRgba((qRed(p) * (256 - share) + b.red() * share) >> 8,
                        (qGreen(p) * (256 - share) + b.green() * share) >> 8,
                        (qBlue(p) * (256 - share) + b.blue() * share) >> 8, qAlpha(p));
      }
    }
  }
  TRect r(x, y, x + width_, y + height_);
  QPainter* p = canvas->Painter();
  if (p) {
    if (bkColor_ != clNone && style != dsTransparent && masked_) p->fillRect(ToQRect(r), ToQColor(bkColor_));
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawImage(QPoint(x, y), masked_ ? img : img.convertToFormat(QImage::Format_RGB32));
  }
  canvas->Trace(TraceKind::Draw, r, {}, QStringLiteral("ImageList"), unsigned(index) | (enabled ? 0 : 0x80000000u));
}

bool TCustomImageList::GetBitmap(int index, TBitmap* dest) {
  if (!dest || index < 0 || index >= Count()) return false;
  dest->SetSize(width_, height_);
  TCanvas* c = dest->Canvas();
  c->Brush()->SetColor(bkColor_ == clNone ? clWhite : bkColor_);
  c->FillRect(TRect(0, 0, width_, height_));
  QPainter* p = c->Painter();
  if (p) {
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawImage(0, 0, images_[size_t(index)]);
  }
  dest->Canvas()->EndPainting();
  return true;
}

}  // namespace plat
