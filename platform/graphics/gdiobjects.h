// Font, pen and brush: the drawing objects of a canvas. Each reports a change through OnChange(Sender)
// and counts its changes in Version(), so a canvas can tell cheaply whether it must set up its painter again.
// Properties are read with Name() and written with SetName(...), as everywhere in this layer.
#pragma once

#include <cstdint>
#include <functional>

#include <QFont>
#include <QString>

#include "platform/graphics/color.h"
#include "platform/rtl/events.h"
#include "platform/rtl/math.h"
#include "platform/rtl/object.h"
#include "platform/rtl/sets.h"

namespace plat {

class TBitmap;

class TGraphicsObject : public TPersistent {
  PLAT_CLASS(TGraphicsObject)

  TNotifyEvent OnChange;
  std::uint64_t Version() const { return version_; }

 protected:
  void Changed();

 private:
  std::uint64_t version_ = 0;
};

enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TFontQuality { fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType, fqClearTypeNatural };

using TFontCharset = std::uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
constexpr TFontCharset OEM_CHARSET = 255;

// The face new fonts get. Faces that are not installed fall back to the stand-in face (DejaVu Sans).
QString DefaultFontName();
void SetDefaultFontName(const QString& name);
constexpr const char* kStandInFontName = "DejaVu Sans";

class TFont : public TGraphicsObject {
  PLAT_CLASS(TFont)

  TFont();
  void Assign(TPersistent* Source) override;
  void Assign(const TFont& source);

  QString Name() const { return name_; }
  void SetName(const QString& v);
  // Points at PixelsPerInch (96): Size = -MulDiv(Height, 72, 96). A negative size is a pixel height.
  int Size() const;
  void SetSize(int points);
  // Pixels: negative is the character height (the em), positive the cell height (ascent + descent).
  int Height() const { return height_; }
  void SetHeight(int v);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles v);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset v);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch v);
  TFontQuality Quality() const { return quality_; }
  void SetQuality(TFontQuality v);
  // Tenths of a degree, counter-clockwise, around the text origin.
  int Orientation() const { return orientation_; }
  void SetOrientation(int v);
  int PixelsPerInch() const { return 96; }

  // The Qt font with the pixel size set explicitly, so the screen's DPI never changes a layout.
  const QFont& QtFont() const;
  // Names the Qt font QtFont() gives: a new number whenever a different one is built, the same number for a
  // font assigned from this one. A painter that has this number's font needs no setFont.
  std::uint64_t QtFontId() const {
    QtFont();
    return qfontId_;
  }
  bool IsEqual(const TFont& o) const;

 private:
  QString name_;
  int height_ = -11;
  TFontStyles style_;
  TColor color_ = clWindowText;
  TFontCharset charset_ = DEFAULT_CHARSET;
  TFontPitch pitch_ = fpDefault;
  TFontQuality quality_ = fqDefault;
  int orientation_ = 0;
  // What the Qt font is made of (the colour is not): drawing in another colour keeps the Qt font, and with it
  // the glyph engine Qt looked up for it.
  struct TShape {
    QString family;
    int height;
    TFontStyles style;
    TFontPitch pitch;
    TFontQuality quality;
    bool operator==(const TShape&) const = default;
  };
  TShape Shape() const;
  mutable QFont qfont_;
  mutable TShape qfontShape_{};
  mutable bool qfontBuilt_ = false;
  mutable std::uint64_t qfontId_ = 0;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psUserStyle, psAlternate };
enum TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen, pmMaskNotPen,
  pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

class TPen : public TGraphicsObject {
  PLAT_CLASS(TPen)

  void Assign(TPersistent* Source) override;
  void Assign(const TPen& source);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  int Width() const { return width_; }
  void SetWidth(int v);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle v);
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode v);

 private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
};


class TBrush : public TGraphicsObject {
  PLAT_CLASS(TBrush)

  void Assign(TPersistent* Source) override;
  void Assign(const TBrush& source);
  TColor Color() const { return color_; }
  void SetColor(TColor v);  // a clear brush becomes solid, as in the framework
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle v);
  // A pattern bitmap (not owned) that, while set, takes the place of colour and style.
  TBitmap* Bitmap() const { return bitmap_; }
  void SetBitmap(TBitmap* v);

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  TBitmap* bitmap_ = nullptr;
};

}  // namespace plat
