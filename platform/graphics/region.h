// Regions: sets of pixels built from rectangles and polygons and combined, used for clipping and hit tests.
// TRegion is a value; HRGN is the shared handle the handle-style functions pass around (nullptr = no region).
#pragma once

#include <memory>
#include <span>

#include <QRegion>

#include "platform/graphics/types.h"

namespace plat {

enum TPolyFillMode { ALTERNATE = 1, WINDING = 2 };
enum TRegionCombine { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
enum TRegionKind { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

class TRegion {
 public:
  TRegion() = default;
  explicit TRegion(const TRect& r);
  explicit TRegion(const QRegion& r) : region_(r) {}
  // The pixels whose centres lie inside the polygon, as a polygon fill covers them.
  static TRegion FromPolygon(std::span<const TPoint> points, TPolyFillMode mode = ALTERNATE);
  static TRegion FromEllipse(const TRect& r);

  bool IsEmpty() const { return region_.isEmpty(); }
  TRegionKind Kind() const;
  TRect BoundingRect() const { return FromQRect(region_.boundingRect()); }
  bool Contains(const TPoint& p) const { return region_.contains(ToQPoint(p)); }
  bool Intersects(const TRect& r) const { return region_.intersects(ToQRect(r)); }
  void Offset(int dx, int dy) { region_.translate(dx, dy); }
  TRegion Combined(const TRegion& other, TRegionCombine mode) const;
  friend bool operator==(const TRegion& a, const TRegion& b) { return a.region_ == b.region_; }

  const QRegion& QtRegion() const { return region_; }

 private:
  QRegion region_;
};

using HRGN = std::shared_ptr<TRegion>;

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const TRect& r);
HRGN CreatePolygonRgn(std::span<const TPoint> points, TPolyFillMode mode);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
// dest := src1 <mode> src2 (src2 unused for RGN_COPY); dest may be src1 or src2. Returns the kind of the result,
// RGN_ERROR when a handle is missing.
int CombineRgn(const HRGN& dest, const HRGN& src1, const HRGN& src2, int mode);
bool PtInRegion(const HRGN& rgn, int x, int y);
bool RectInRegion(const HRGN& rgn, const TRect& r);
int GetRgnBox(const HRGN& rgn, TRect& box);
int OffsetRgn(const HRGN& rgn, int dx, int dy);
bool EqualRgn(const HRGN& a, const HRGN& b);
bool SetRectRgn(const HRGN& rgn, int left, int top, int right, int bottom);
// Releases the handle (the region itself goes when the last holder lets go).
bool DeleteObject(HRGN& rgn);

}  // namespace plat
