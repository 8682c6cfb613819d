#include "platform/graphics/gdiobjects.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace plat {

void TGraphicsObject::Changed() {
  ++version_;
  if (OnChange) OnChange(this);
}

namespace {
QString& DefaultName() {
  static QString name = QStringLiteral("Tahoma");
  return name;
}
}  // namespace

QString DefaultFontName() { return DefaultName(); }
void SetDefaultFontName(const QString& name) { DefaultName() = name; }

TFont::TFont() : name_(DefaultFontName()) {}

void TFont::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TFont*>(Source)) {
    Assign(*s);
    return;
  }
  TPersistent::Assign(Source);
}

void TFont::Assign(const TFont& s) {
  if (&s == this) return;
  name_ = s.name_;
  height_ = s.height_;
  style_ = s.style_;
  color_ = s.color_;
  charset_ = s.charset_;
  pitch_ = s.pitch_;
  quality_ = s.quality_;
  orientation_ = s.orientation_;
  if (s.qfontBuilt_) {  // the same shape: share the source's Qt font rather than build another
    qfont_ = s.qfont_;
    qfontShape_ = s.qfontShape_;
    qfontBuilt_ = true;
    qfontId_ = s.qfontId_;
  }
  Changed();
}

bool TFont::IsEqual(const TFont& s) const {
  return name_ == s.name_ && height_ == s.height_ && style_ == s.style_ && color_ == s.color_ &&
         charset_ == s.charset_ && pitch_ == s.pitch_ && quality_ == s.quality_ && orientation_ == s.orientation_;
}

void TFont::SetName(const QString& v) {
  if (v == name_) return;
  name_ = v;
  Changed();
}

int TFont::Size() const { return -MulDiv(height_, 72, PixelsPerInch()); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, PixelsPerInch(), 72)); }

void TFont::SetHeight(int v) {
  if (v == height_) return;
  height_ = v;
  Changed();
}

void TFont::SetStyle(TFontStyles v) {
  if (v == style_) return;
  style_ = v;
  Changed();
}

void TFont::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  Changed();
}

void TFont::SetCharset(TFontCharset v) {
  if (v == charset_) return;
  charset_ = v;
  Changed();
}

void TFont::SetPitch(TFontPitch v) {
  if (v == pitch_) return;
  pitch_ = v;
  Changed();
}

void TFont::SetQuality(TFontQuality v) {
  if (v == quality_) return;
  quality_ = v;
  Changed();
}

void TFont::SetOrientation(int v) {
  if (v == orientation_) return;
  orientation_ = v;
  Changed();
}

namespace {

bool FamilyInstalled(const QString& family) {
  // Asked once per face name; faces registered later by the program are seen on the first ask after.
  static QHash<QString, bool> known;
  auto it = known.find(family.toLower());
  if (it != known.end()) return it.value();
  bool found = QFontDatabase::families().contains(family, Qt::CaseInsensitive);
  known.insert(family.toLower(), found);
  return found;
}

}  // namespace

TFont::TShape TFont::Shape() const {
  return TShape{name_.isEmpty() ? DefaultFontName() : name_, height_, style_, pitch_, quality_};
}

const QFont& TFont::QtFont() const {
  TShape shape = Shape();
  if (qfontBuilt_ && qfontShape_ == shape) return qfont_;
  QFont f;
  QString family = shape.family;
  if (!FamilyInstalled(family)) family = QString::fromLatin1(kStandInFontName);
  f.setFamilies({family, QString::fromLatin1(kStandInFontName)});
  f.setBold(style_.Contains(fsBold));
  f.setItalic(style_.Contains(fsItalic));
  f.setUnderline(style_.Contains(fsUnderline));
  f.setStrikeOut(style_.Contains(fsStrikeOut));
  if (pitch_ == fpFixed) f.setFixedPitch(true);
  if (quality_ == fqNonAntialiased || quality_ == fqDraft) f.setStyleStrategy(QFont::NoAntialias);
  int px;
  if (height_ < 0) {
    px = -height_;
  } else if (height_ > 0) {
    // A cell height: find the em whose ascent + descent is that height.
    QFont probe = f;
    probe.setPixelSize(100);
    QFontMetrics m(probe);
    int cell = std::max(1, m.ascent() + m.descent());
    px = int(std::lround(double(height_) * 100.0 / cell));
  } else {
    px = 11;
  }
  f.setPixelSize(std::max(1, px));
  f.setKerning(false);
  qfont_ = f;
  qfontShape_ = std::move(shape);
  qfontBuilt_ = true;
  static std::uint64_t lastId = 0;  // fonts are built on the GUI thread
  qfontId_ = ++lastId;
  return qfont_;
}

void TPen::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TPen*>(Source)) {
    Assign(*s);
    return;
  }
  TPersistent::Assign(Source);
}

void TPen::Assign(const TPen& s) {
  if (&s == this) return;
  color_ = s.color_;
  width_ = s.width_;
  style_ = s.style_;
  mode_ = s.mode_;
  Changed();
}

void TPen::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  Changed();
}

void TPen::SetWidth(int v) {
  if (v < 0) v = 0;
  if (v == width_) return;
  width_ = v;
  Changed();
}

void TPen::SetStyle(TPenStyle v) {
  if (v == style_) return;
  style_ = v;
  Changed();
}

void TPen::SetMode(TPenMode v) {
  if (v == mode_) return;
  mode_ = v;
  Changed();
}

void TBrush::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TBrush*>(Source)) {
    Assign(*s);
    return;
  }
  TPersistent::Assign(Source);
}

void TBrush::Assign(const TBrush& s) {
  if (&s == this) return;
  color_ = s.color_;
  style_ = s.style_;
  bitmap_ = s.bitmap_;
  Changed();
}

void TBrush::SetColor(TColor v) {
  if (v == color_ && style_ != bsClear) return;
  color_ = v;
  if (style_ == bsClear) style_ = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle v) {
  if (v == style_) return;
  style_ = v;
  Changed();
}

void TBrush::SetBitmap(TBitmap* v) {
  if (v == bitmap_) return;
  bitmap_ = v;
  Changed();
}

}  // namespace plat
