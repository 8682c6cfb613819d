// Image lists: equally sized images kept with their transparency, drawn by index.
#pragma once

#include <functional>
#include <map>
#include <vector>

#include <QImage>

#include "platform/graphics/color.h"
#include "platform/graphics/types.h"
#include "platform/rtl/events.h"
#include "platform/rtl/component.h"

namespace plat {

class TBitmap;
class TCanvas;
class TIcon;

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };

class TCustomImageList : public TComponent {
  PLAT_CLASS(TCustomImageList)

  // Images of 16 x 16 pixels, or of the size given.
  explicit TCustomImageList(TComponent* AOwner = nullptr);
  TCustomImageList(TComponent* AOwner, int width, int height);
  ~TCustomImageList() override;

  void Assign(TPersistent* Source) override;  // another list: size, settings and images

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Changing the size removes every image.
  void SetWidth(int w) { SetSize(w, height_); }
  void SetHeight(int h) { SetSize(width_, h); }
  void SetSize(int w, int h);
  int Count() const { return int(images_.size()); }
  bool Masked() const { return masked_; }
  void SetMasked(bool v) { masked_ = v; }
  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor c);
  TColor BlendColor() const { return blendColor_; }
  void SetBlendColor(TColor c) { blendColor_ = c; }
  TDrawingStyle DrawingStyle() const { return drawingStyle_; }
  void SetDrawingStyle(TDrawingStyle s) { drawingStyle_ = s; }
  TImageType ImageType() const { return imageType_; }
  void SetImageType(TImageType t) { imageType_ = t; }

  // A bitmap wider than Width is cut into Width-wide images (a strip); each adds one image. The mask, when
  // given, is a bitmap of the same size whose white pixels are transparent. Returns the first new index,
  // or -1 when nothing was added (no bitmap or empty).
  int Add(TBitmap* image, TBitmap* mask);
  // Pixels of maskColor become transparent (clDefault: the bottom-left pixel's colour).
  int AddMasked(TBitmap* image, TColor maskColor);
  int AddIcon(TIcon* icon);
  // An image with alpha, scaled to the list size when it differs.
  int AddImage(const QImage& image);
  void Replace(int index, TBitmap* image, TBitmap* mask);
  void Delete(int index);
  void Clear();

  // Draws image `index` with its top-left at x,y; an index out of range draws nothing. Disabled images are
  // drawn in grey, lighter (a fixed rule, the same on every machine).
  void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
  void Draw(TCanvas* canvas, int x, int y, int index, TDrawingStyle style, TImageType type, bool enabled);
  // Fills dest (resized to Width x Height) with BkColor (clNone: white) and draws the image on it. False for an
  // index out of range.
  bool GetBitmap(int index, TBitmap* dest);
  // The image with alpha (null image for an index out of range).
  QImage GetImage(int index) const;

  // Change observers (the list's change links): called after every change. RegisterChanges returns an id.
  int RegisterChanges(std::function<void()> handler);
  void UnRegisterChanges(int id);
  TNotifyEvent OnChange;

 protected:
  virtual void DoDraw(int index, TCanvas* canvas, int x, int y, TDrawingStyle style, bool enabled);
  void Change();

 private:
  // Cuts the strip into images and appends them; the first new index, or -1 when none.
  int AppendStrip(const QImage& strip);

  int width_;
  int height_;
  bool masked_ = true;
  TColor bkColor_ = clNone;
  TColor blendColor_ = clNone;
  TDrawingStyle drawingStyle_ = dsNormal;
  TImageType imageType_ = itImage;
  std::vector<QImage> images_;  // ARGB32, width_ x height_
  std::map<int, std::function<void()>> links_;
  int nextLink_ = 1;
};

class TImageList : public TCustomImageList {
  PLAT_CLASS(TImageList)
  using TCustomImageList::TCustomImageList;
};

// The grey, lighter look of a disabled image (alpha kept).
QImage DisabledImage(const QImage& image);

}  // namespace plat
