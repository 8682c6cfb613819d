// A drawing surface with the window framework's geometry over a QPainter.
//
// Coordinates are integers; a rectangle is [Left, Right) x [Top, Bottom). LineTo leaves out its end pixel;
// Rectangle, Ellipse and RoundRect draw their outline with the pen inside the rectangle and fill the inside
// with the brush; with a clear pen the fill covers the rectangle less its last column and row. FillRect
// covers exactly the rectangle. Antialiasing is off.
//
// The canvas draws on a QPaintDevice (normally a QImage: a bitmap or a control's back buffer) with a
// painter it opens on first use, or on a painter the caller lends (SetPainter). Pixel reads, CopyRect
// sources and FloodFill need an image. Call EndPainting() before the image is read from outside, resized
// or replaced; drawing again opens a new painter.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include <QString>

#include "platform/graphics/canvastracer.h"
#include "platform/graphics/color.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/gdiobjects.h"
#include "platform/graphics/region.h"
#include "platform/graphics/types.h"
#include "platform/rtl/events.h"
#include "platform/rtl/object.h"

class QBrush;
class QFont;
class QImage;
class QPaintDevice;
class QPainter;

namespace plat {

class TBitmap;
class TCanvas;
class TGraphic;

// The stand-in for a device-context handle: the canvas itself.
using HDC = TCanvas*;

// Raster operations of CopyRect, Draw and BitBlt.
using TCopyMode = std::uint32_t;
constexpr TCopyMode cmBlackness = 0x00000042;
constexpr TCopyMode cmDstInvert = 0x00550009;
constexpr TCopyMode cmMergeCopy = 0x00C000CA;
constexpr TCopyMode cmMergePaint = 0x00BB0226;
constexpr TCopyMode cmNotSrcCopy = 0x00330008;
constexpr TCopyMode cmNotSrcErase = 0x001100A6;
constexpr TCopyMode cmPatCopy = 0x00F00021;
constexpr TCopyMode cmPatInvert = 0x005A0049;
constexpr TCopyMode cmPatPaint = 0x00FB0A09;
constexpr TCopyMode cmSrcAnd = 0x008800C6;
constexpr TCopyMode cmSrcCopy = 0x00CC0020;
constexpr TCopyMode cmSrcErase = 0x00440328;
constexpr TCopyMode cmSrcInvert = 0x00660046;
constexpr TCopyMode cmSrcPaint = 0x00EE0086;
constexpr TCopyMode cmWhiteness = 0x00FF0062;
constexpr TCopyMode SRCCOPY = cmSrcCopy, SRCPAINT = cmSrcPaint, SRCAND = cmSrcAnd, SRCINVERT = cmSrcInvert,
                    SRCERASE = cmSrcErase, NOTSRCCOPY = cmNotSrcCopy, NOTSRCERASE = cmNotSrcErase,
                    MERGECOPY = cmMergeCopy, MERGEPAINT = cmMergePaint, PATCOPY = cmPatCopy,
                    PATPAINT = cmPatPaint, PATINVERT = cmPatInvert, DSTINVERT = cmDstInvert,
                    BLACKNESS = cmBlackness, WHITENESS = cmWhiteness;

enum TFillStyle { fsSurface, fsBorder };

// Background modes.
enum : int { TRANSPARENT = 1, OPAQUE = 2 };
// Mapping modes: MM_TEXT, a logical unit is a device pixel and y grows downwards; MM_LOMETRIC, a logical unit is a
// tenth of a millimetre and y grows upwards.
enum : int { MM_TEXT = 1, MM_LOMETRIC = 8 };
// TextOut/TextRect flags.
enum : int { ETO_OPAQUE = 2, ETO_CLIPPED = 4, ETO_RTLREADING = 0x80 };

class TCanvas : public TPersistent {
  PLAT_CLASS(TCanvas)

  TCanvas();
  explicit TCanvas(QPaintDevice* device);
  ~TCanvas() override;

  // ---- the surface
  // Binds the canvas to a device (nullptr: none). Ends painting on the previous device; keeps pen, brush,
  // font, and resets clip, origins and the saved states.
  void SetDevice(QPaintDevice* device);
  QPaintDevice* Device() const { return device_; }
  QImage* Image() const;  // the device when it is a QImage
  // Draw through a painter someone else has begun (for example in a widget's paint event); nullptr returns
  // to the canvas's own painter. The canvas sets the painter's transform and clip to its own origin and clip
  // and does not end the painter.
  void SetPainter(QPainter* painter);
  void EndPainting();
  bool HandleAllocated() const { return device_ != nullptr || external_ != nullptr; }
  HDC Handle() { return this; }
  // The painter with the canvas origin and clip applied, for drawing this layer does not offer.
  QPainter* Painter();
  // Width and height of the device, 0 without one.
  TSize DeviceSize() const;

  // ---- mapping mode
  // In MM_LOMETRIC the coordinates, lengths, pen widths and font heights of lines, rectangles, fills, frames,
  // text, DrawText, StretchDraw and the clip are in tenths of a millimetre with y growing upwards (positions down
  // the page are negative). The canvas maps them onto the device's pixels itself, at dotsPerInch (0: the
  // device's own resolution), and draws there; a transform that flipped y would mirror the glyphs, so text stays
  // upright and a font's Orientation still turns it counter-clockwise as seen on the device. Origins (window, viewport, brush) stay in device pixels, as do the
  // calls not named here (shapes, pixels, flood fill, copies). Returns the previous mode.
  int SetMapMode(int mode, int dotsPerInch = 0);
  int MapMode() const { return mapMode_; }
  // Dots per inch of the metric mapping.
  int MapResolution() const { return mapDpi_; }
  // Metric point to the device's pixels (before the origins) and back; identity in MM_TEXT.
  TPoint MetricToPixels(const TPoint& p) const;
  TPoint PixelsToMetric(const TPoint& p) const;
  // A metric rectangle in pixels, normalised (Left < Right, Top < Bottom).
  TRect MetricToPixels(const TRect& r) const;

  // ---- drawing objects
  TFont* Font() const { return font_.get(); }
  void SetFont(const TFont& f) { font_->Assign(f); }
  TPen* Pen() const { return pen_.get(); }
  void SetPen(const TPen& p) { pen_->Assign(p); }
  TBrush* Brush() const { return brush_.get(); }
  void SetBrush(const TBrush& b) { brush_->Assign(b); }
  TPoint PenPos() const { return penPos_; }
  void SetPenPos(const TPoint& p) { penPos_ = p; }
  TCopyMode CopyMode() const { return copyMode_; }
  void SetCopyMode(TCopyMode m) { copyMode_ = m; }
  int TextFlags() const { return textFlags_; }
  void SetTextFlags(int f) { textFlags_ = f; }

  // Background mode and colour of text and dashed lines. The brush sets them (solid: OPAQUE with the
  // brush colour; otherwise TRANSPARENT) whenever it changes; SetBkMode/SetBkColor override until then.
  int BkMode() const;
  void SetBkMode(int mode);
  TColor BkColor() const;
  void SetBkColor(TColor c);
  // The text colour: the font colour, or the value given here until the font changes.
  TColor TextColor() const;
  void SetTextColor(TColor c);

  // ---- lines and shapes
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polyline(std::span<const TPoint> points);
  void Polygon(std::span<const TPoint> points);
  void SetPolyFillMode(TPolyFillMode mode) { polyFillMode_ = mode; }
  TPolyFillMode PolyFillMode() const { return polyFillMode_; }
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void FillRect(const TRect& r);
  void FrameRect(const TRect& r);  // one-pixel frame in the brush colour
  void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight);
  void RoundRect(const TRect& r, int cx, int cy) { RoundRect(r.Left, r.Top, r.Right, r.Bottom, cx, cy); }
  void Ellipse(int x1, int y1, int x2, int y2);
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  // Counter-clockwise from the radial through (x3,y3) to the radial through (x4,y4).
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  // fsSurface: fills the area of colour c around (x,y); fsBorder: fills up to a border of colour c.
  void FloodFill(int x, int y, TColor c, TFillStyle style);
  // Reads clNone outside the surface, outside the clip or without an image.
  TColor Pixels(int x, int y);
  void SetPixels(int x, int y, TColor c);
  // Inverts every other pixel of the rectangle's one-pixel frame: drawing it twice restores the pixels.
  void DrawFocusRect(const TRect& r);

  // ---- text (the origin is the top-left of the text box, not the baseline)
  void TextOut(int x, int y, const QString& text);
  void TextRect(const TRect& r, int x, int y, const QString& text);
  int TextWidth(const QString& text);
  int TextHeight(const QString& text);
  TSize TextExtent(const QString& text);
  int DrawText(const QString& text, TRect& r, unsigned flags, DRAWTEXTPARAMS* params = nullptr);

  // ---- pictures
  void Draw(int x, int y, TGraphic* graphic);
  void Draw(int x, int y, TGraphic* graphic, std::uint8_t opacity);
  void StretchDraw(const TRect& r, TGraphic* graphic);
  // Copies from another canvas (which must draw on an image) with CopyMode, stretching when the sizes differ.
  void CopyRect(const TRect& dest, TCanvas* source, const TRect& src);
  // Copies a bitmap part, replacing colour `color` of the source with the brush.
  void BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& src, TColor color);
  // Draws a QImage with the canvas's copy mode (for graphics and hosts).
  void DrawImage(const TRect& dest, const QImage& image, const TRect& src, TCopyMode mode);

  // ---- clipping, origins and saved states
  // The clip's bounding box in logical coordinates, or the whole surface when nothing clips.
  TRect ClipRect() const;
  bool HasClip() const { return clip_.has_value(); }
  // The clip in device coordinates (empty optional: none).
  const std::optional<TRegion>& ClipRegion() const { return clip_; }
  // Region in device coordinates; nullptr removes the clip. Returns the kind of the new clip.
  int SelectClipRgn(const TRegion* region);
  int IntersectClipRect(const TRect& r);  // logical coordinates
  int ExcludeClipRect(const TRect& r);    // logical coordinates
  // Device point = logical point - window origin + viewport origin.
  TPoint WindowOrg() const { return windowOrg_; }
  void SetWindowOrg(const TPoint& p);
  TPoint ViewportOrg() const { return viewportOrg_; }
  void SetViewportOrg(const TPoint& p);
  // Moves the window origin so that logical (0,0) lands dx,dy further in device space.
  void MoveWindowOrg(int dx, int dy) { SetWindowOrg(TPoint(windowOrg_.X - dx, windowOrg_.Y - dy)); }
  TPoint BrushOrigin() const { return brushOrigin_; }
  void SetBrushOrigin(const TPoint& p) { brushOrigin_ = p; }
  // Saves clip, origins, background and text colour; returns the level (>= 1).
  int SaveDC();
  // level > 0 restores that level, level < 0 goes that many levels back. False when there is no such level.
  bool RestoreDC(int level);

  // ---- locking (drawing happens on the GUI thread only; the count is kept for the callers that ask)
  void Lock() { ++lockCount_; }
  void Unlock() { if (lockCount_ > 0) --lockCount_; }
  bool TryLock() { Lock(); return true; }
  int LockCount() const { return lockCount_; }

  // ---- change notification (called around each drawing call)
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

  // ---- tracing for tests
  void SetTracer(ICanvasTracer* tracer) { tracer_ = tracer; }
  ICanvasTracer* Tracer() const { return tracer_; }
  // Builds a record with the canvas's current font, pen and brush and sends it to the tracer.
  void Trace(TraceKind kind, const TRect& r, std::vector<TPoint> points = {}, const QString& text = {},
             unsigned flags = 0);

  // Device <-> logical conversion.
  TPoint LogicalToDevice(const TPoint& p) const { return p - windowOrg_ + viewportOrg_; }
  TRect LogicalToDevice(const TRect& r) const;
  TPoint DeviceToLogical(const TPoint& p) const { return p + windowOrg_ - viewportOrg_; }

  // The painter prepared for text in the canvas font and text colour (used by the DrawText engine).
  QPainter* TextPainter();
  const QFont& QtFont() const { return font_->QtFont(); }

 private:
  struct SavedState;
  QPainter* ActivePainter();
  void ApplyState(QPainter* p);
  void Changing();
  void Changed();
  bool PenVisible() const;
  bool BrushVisible() const;
  void FillDevice(const TRect& logical, TColor color);
  void PlotLine(TPoint a, TPoint b, bool includeEnd, int& patternIndex);
  void StrokeWide(const std::vector<TPoint>& pts, bool closed);
  void ApplyPenMode(QPainter* p);
  void SetBrushOnPainter(QPainter* p);
  void DrawTextBox(int x, int y, const QString& text, const TRect* clip, bool opaqueRect);
  void ArcShape(int kind, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  // The calls in pixels; the public ones map metric coordinates onto them.
  void LineToPixels(int x, int y);
  void RectanglePixels(int x1, int y1, int x2, int y2);
  void FillRectPixels(const TRect& r);
  void FrameRectPixels(const TRect& r);
  TSize TextExtentPixels(const QString& text);
  void TextOutPixels(int x, int y, const QString& text);
  void TextRectPixels(const TRect& r, int x, int y, const QString& text);
  void StretchDrawPixels(const TRect& r, TGraphic* graphic);
  TRect ClipRectPixels() const;
  int IntersectClipRectPixels(const TRect& r);
  int ExcludeClipRectPixels(const TRect& r);
  // For one call in MM_LOMETRIC: MM_TEXT with the pen and font mapped to pixels.
  class TPixelScope;
  bool Metric() const { return mapMode_ == MM_LOMETRIC; }
  int ToPixelsX(int v) const;
  int ToPixelsY(int v) const;  // a length: no sign change
  int ToMetricX(int px) const;
  int ToMetricY(int px) const;  // a length: no sign change

  std::unique_ptr<TFont> font_;
  std::unique_ptr<TPen> pen_;
  std::unique_ptr<TBrush> brush_;
  QPaintDevice* device_ = nullptr;
  std::unique_ptr<QPainter> own_;
  QPainter* external_ = nullptr;
  bool stateDirty_ = true;
  TPoint penPos_;
  TCopyMode copyMode_ = cmSrcCopy;
  int textFlags_ = 0;
  TPolyFillMode polyFillMode_ = ALTERNATE;
  std::optional<TRegion> clip_;
  TPoint windowOrg_;
  TPoint viewportOrg_;
  TPoint brushOrigin_;
  std::optional<int> bkModeOverride_;
  std::uint64_t bkModeVersion_ = 0;
  std::optional<TColor> bkColorOverride_;
  std::uint64_t bkColorVersion_ = 0;
  std::optional<TColor> textColorOverride_;
  std::uint64_t textFontVersion_ = 0;
  // The font (TFont::QtFontId) the own painter was given last, 0 for none: setting the same font again would
  // have Qt look its glyph engine up again for every text.
  std::uint64_t painterFontId_ = 0;
  // The translation and clip the own painter was given last (nullopt: not known, as after begin or after the
  // painter was lent out): a row of cells saves and restores the clip many times over one translation.
  struct TAppliedState {
    TPoint shift;
    std::optional<TRegion> clip;
  };
  std::optional<TAppliedState> applied_;
  // The Qt brush of the last brush bitmap (keyed by the image's cache key): a dotted line filled again and
  // again with one pattern keeps one texture.
  std::unique_ptr<QBrush> textureBrush_;
  std::int64_t textureKey_ = 0;
  std::vector<SavedState> saved_;
  int lockCount_ = 0;
  ICanvasTracer* tracer_ = nullptr;
  int mapMode_ = MM_TEXT;
  int mapDpi_ = 96;
  // The pen and font in pixels while MM_LOMETRIC maps them, rebuilt when the logical ones change.
  std::unique_ptr<TFont> pixelFont_;
  std::unique_ptr<TPen> pixelPen_;
  std::uint64_t pixelFontVersion_ = ~std::uint64_t(0), pixelPenVersion_ = ~std::uint64_t(0);
};

// ---- handle-style functions over a canvas (dc may be nullptr: they then do nothing and report failure)
int DrawText(HDC dc, const QString& text, int count, TRect& r, unsigned flags);
int DrawTextEx(HDC dc, const QString& text, int count, TRect& r, unsigned flags, DRAWTEXTPARAMS* params);
int SetBkMode(HDC dc, int mode);         // returns the previous mode
TColor SetBkColor(HDC dc, TColor c);     // returns the previous colour
TColor SetTextColor(HDC dc, TColor c);   // returns the previous colour
int SelectClipRgn(HDC dc, const HRGN& rgn);
int ExtSelectClipRgn(HDC dc, const HRGN& rgn, int mode);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int GetClipBox(HDC dc, TRect& r);
int SaveDC(HDC dc);
bool RestoreDC(HDC dc, int level);
bool SetWindowOrgEx(HDC dc, int x, int y, TPoint* old);
bool GetWindowOrgEx(HDC dc, TPoint* p);
bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* old);
bool GetViewportOrgEx(HDC dc, TPoint* p);
void MoveWindowOrg(HDC dc, int dx, int dy);
bool SetBrushOrgEx(HDC dc, int x, int y, TPoint* old);
bool DrawFocusRect(HDC dc, const TRect& r);
bool BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int sx, int sy, TCopyMode rop);
bool StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int sx, int sy, int sw, int sh,
                TCopyMode rop);
bool PatBlt(HDC dc, int x, int y, int width, int height, TCopyMode rop);
bool GetTextExtentPoint32(HDC dc, const QString& text, TSize& size);

}  // namespace plat
