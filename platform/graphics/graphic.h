// Pictures: the abstract TGraphic, TBitmap (an image with a canvas), TIcon, TImageGraphic (PNG, JPEG, GIF)
// and TPicture, which holds one graphic and loads a file by its content.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>

#include <QByteArray>
#include <QImage>
#include <QString>

#include "platform/graphics/color.h"
#include "platform/graphics/types.h"
#include "platform/rtl/events.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"

class QIODevice;

namespace plat {

class TCanvas;
class TStream;

// A picture that cannot be read or an operation a picture cannot do.
class EInvalidGraphic : public Exception {
 public:
  explicit EInvalidGraphic(const QString& Msg) : Exception(Msg) {}
};
class EInvalidGraphicOperation : public Exception {
 public:
  explicit EInvalidGraphicOperation(const QString& Msg) : Exception(Msg) {}
};

// Larger files are not read as pictures.
inline constexpr qint64 MaxGraphicFileSize = qint64(16) << 20;

class TGraphic : public TPersistent {
  PLAT_CLASS(TGraphic)

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int) {}
  virtual void SetHeight(int) {}
  virtual bool Empty() const { return Width() == 0 || Height() == 0; }
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool v);
  bool Modified() const { return modified_; }
  void SetModified(bool v) { modified_ = v; }

  // Draws the graphic stretched to r (logical coordinates of the canvas).
  virtual void Draw(TCanvas& canvas, const TRect& r) = 0;
  // The pixels as an image with alpha (what Draw puts down, before transparency by key colour).
  virtual QImage ToImage() const = 0;

  // Loading raises EInvalidGraphic for data this class cannot read (EFOpenError for a file that cannot be
  // opened, EFCreateError for one that cannot be written); the graphic is then unchanged.
  virtual void LoadFromBytes(const QByteArray& data) = 0;
  virtual QByteArray SaveToBytes() const = 0;
  void LoadFromFile(const QString& fileName);
  void SaveToFile(const QString& fileName) const;  // whole-file write through a temporary file
  void LoadFromStream(QIODevice& stream);          // reads to the end
  void SaveToStream(QIODevice& stream) const;
  void LoadFromStream(TStream& stream);            // reads from the position to the end
  void SaveToStream(TStream& stream) const;        // writes at the position

  virtual std::unique_ptr<TGraphic> Clone() const = 0;

  TNotifyEvent OnChange;

 protected:
  void Changed();
  bool transparent_ = false;

 private:
  bool modified_ = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };
enum TAlphaFormat { afIgnored, afDefined, afPremultiplied };

// A bitmap in memory. Rows of pf24bit are B,G,R bytes and of pf32bit/pfDevice B,G,R,A bytes (rows padded to
// 4 bytes, top row first); the other formats are kept as pfDevice pixels. New pixels are white.
class TBitmap : public TGraphic {
 public:
  TBitmap();
  TBitmap(int width, int height, TPixelFormat format = pfDevice);
  ~TBitmap() override;

  PLAT_CLASS(TBitmap)
  void Assign(TPersistent* Source) override;
  void Assign(const TBitmap& source);
  // Any graphic: its image is copied (bitmaps keep their format and transparency settings).
  void Assign(const TGraphic& source);
  std::unique_ptr<TGraphic> Clone() const override;

  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  void SetWidth(int w) override { SetSize(w, Height()); }
  void SetHeight(int h) override { SetSize(Width(), h); }
  // Keeps the pixels that still fit; new pixels are white.
  void SetSize(int w, int h);
  TPixelFormat PixelFormat() const { return format_; }
  void SetPixelFormat(TPixelFormat f);
  TAlphaFormat AlphaFormat() const { return alphaFormat_; }
  void SetAlphaFormat(TAlphaFormat f);
  bool Monochrome() const { return format_ == pf1bit; }

  TCanvas* Canvas();
  // Raises EInvalidGraphicOperation for a row outside 0..Height-1.
  std::uint8_t* ScanLine(int row);
  int BytesPerScanLine() const { return int(image_.bytesPerLine()); }

  // tmAuto: the bottom-left pixel's colour (clDefault for an empty bitmap).
  TColor TransparentColor() const;
  void SetTransparentColor(TColor c);  // also sets tmFixed
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode m);

  // The pixels (painting on the canvas is finished first).
  const QImage& Image() const;
  void SetImage(const QImage& image);  // converted to the bitmap's pixel format

  void Draw(TCanvas& canvas, const TRect& r) override;
  QImage ToImage() const override;
  void LoadFromBytes(const QByteArray& data) override;  // BMP only
  QByteArray SaveToBytes() const override;             // BMP

  void Dormant() {}
  void FreeImage() {}
  bool HandleAllocated() const { return !image_.isNull(); }

 private:
  void Reformat(const QImage& src, int w, int h);
  void AfterImageChange();
  QImage image_;
  TPixelFormat format_ = pfDevice;
  TAlphaFormat alphaFormat_ = afIgnored;
  TColor transparentColor_ = clDefault;
  TTransparentMode transparentMode_ = tmAuto;
  std::unique_ptr<TCanvas> canvas_;
};

// An icon (an image with alpha); reads ICO and any image Qt decodes, writes ICO.
class TIcon : public TGraphic {
 public:
  PLAT_CLASS(TIcon)
  TIcon() { transparent_ = true; }
  void Assign(const TIcon& source);
  std::unique_ptr<TGraphic> Clone() const override;
  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  void SetImage(const QImage& image);
  const QImage& Image() const { return image_; }
  void Draw(TCanvas& canvas, const TRect& r) override;
  QImage ToImage() const override { return image_; }
  void LoadFromBytes(const QByteArray& data) override;
  QByteArray SaveToBytes() const override;

 private:
  QImage image_;
};

// A decoded PNG, JPEG or GIF picture (the first frame of a GIF). SaveToBytes gives back the bytes it was read
// from.
class TImageGraphic : public TGraphic {
 public:
  QString ClassName() const override;
  std::unique_ptr<TGraphic> Clone() const override;
  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  QString Format() const { return format_; }  // "PNG", "JPEG" or "GIF"
  void Draw(TCanvas& canvas, const TRect& r) override;
  QImage ToImage() const override { return image_; }
  void LoadFromBytes(const QByteArray& data) override;
  QByteArray SaveToBytes() const override { return data_; }

 private:
  QImage image_;
  QString format_;
  QByteArray data_;
};

// Which kind of picture the bytes hold, by their first bytes: "BMP", "PNG", "JPEG", "GIF", "ICO" or "".
QString DetectGraphicFormat(const QByteArray& data);

class TPicture : public TPersistent {
  PLAT_CLASS(TPicture)

  TPicture();
  ~TPicture() override;

  TGraphic* Graphic() const { return graphic_.get(); }
  // Keeps a copy of the graphic (nullptr: empties the picture).
  void SetGraphic(const TGraphic* graphic);
  void SetGraphic(std::unique_ptr<TGraphic> graphic);
  // The graphic as a bitmap; a picture holding no bitmap gets a new empty one in place of its graphic.
  TBitmap* Bitmap();
  TIcon* Icon();
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }
  void Assign(TPersistent* Source) override;  // a picture or a graphic
  void Assign(const TPicture& source);

  // Chooses the graphic class from the content; raises EInvalidGraphic (picture unchanged) for unknown or
  // broken data, EFOpenError when the file cannot be opened.
  void LoadFromFile(const QString& fileName);
  void LoadFromBytes(const QByteArray& data);
  void SaveToFile(const QString& fileName) const;

  TNotifyEvent OnChange;

 private:
  void Changed();
  std::unique_ptr<TGraphic> graphic_;
};

}  // namespace plat
