#include "platform/graphics/region.h"

#include <QPolygon>

namespace plat {

TRegion::TRegion(const TRect& r) {
  if (!r.IsEmpty()) region_ = QRegion(ToQRect(r));
}

TRegion TRegion::FromPolygon(std::span<const TPoint> points, TPolyFillMode mode) {
  QPolygon poly;
  poly.reserve(int(points.size()));
  for (const TPoint& p : points) poly << ToQPoint(p);
  return TRegion(QRegion(poly, mode == WINDING ? Qt::WindingFill : Qt::OddEvenFill));
}

TRegion TRegion::FromEllipse(const TRect& r) {
  if (r.IsEmpty()) return TRegion();
  return TRegion(QRegion(ToQRect(r), QRegion::Ellipse));
}

TRegionKind TRegion::Kind() const {
  if (region_.isEmpty()) return NULLREGION;
  return region_.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

TRegion TRegion::Combined(const TRegion& o, TRegionCombine mode) const {
  switch (mode) {
    case RGN_AND: return TRegion(region_.intersected(o.region_));
    case RGN_OR: return TRegion(region_.united(o.region_));
    case RGN_XOR: return TRegion(region_.xored(o.region_));
    case RGN_DIFF: return TRegion(region_.subtracted(o.region_));
    case RGN_COPY: return *this;
  }
  return *this;
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  // Swapped corners are put in order, as the handle functions do.
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  return std::make_shared<TRegion>(TRect(left, top, right, bottom));
}

HRGN CreateRectRgnIndirect(const TRect& r) { return CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom); }

HRGN CreatePolygonRgn(std::span<const TPoint> points, TPolyFillMode mode) {
  return std::make_shared<TRegion>(TRegion::FromPolygon(points, mode));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
  return std::make_shared<TRegion>(TRegion::FromEllipse(TRect(left, top, right, bottom)));
}

int CombineRgn(const HRGN& dest, const HRGN& src1, const HRGN& src2, int mode) {
  if (!dest || !src1) return RGN_ERROR;
  if (mode < RGN_AND || mode > RGN_COPY) return RGN_ERROR;
  if (mode != RGN_COPY && !src2) return RGN_ERROR;
  TRegion result = mode == RGN_COPY ? *src1 : src1->Combined(*src2, TRegionCombine(mode));
  *dest = result;
  return dest->Kind();
}

bool PtInRegion(const HRGN& rgn, int x, int y) { return rgn && rgn->Contains(TPoint(x, y)); }

bool RectInRegion(const HRGN& rgn, const TRect& r) { return rgn && rgn->Intersects(r); }

int GetRgnBox(const HRGN& rgn, TRect& box) {
  if (!rgn) return RGN_ERROR;
  box = rgn->IsEmpty() ? TRect() : rgn->BoundingRect();
  return rgn->Kind();
}

int OffsetRgn(const HRGN& rgn, int dx, int dy) {
  if (!rgn) return RGN_ERROR;
  rgn->Offset(dx, dy);
  return rgn->Kind();
}

bool EqualRgn(const HRGN& a, const HRGN& b) { return a && b && *a == *b; }

bool SetRectRgn(const HRGN& rgn, int left, int top, int right, int bottom) {
  if (!rgn) return false;
  *rgn = *CreateRectRgn(left, top, right, bottom);
  return true;
}

bool DeleteObject(HRGN& rgn) {
  bool had = bool(rgn);
  rgn.reset();
  return had;
}

}  // namespace plat
