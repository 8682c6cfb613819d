// Points, sizes and rectangles with the window framework's conventions: a rectangle is
// [Left, Right) x [Top, Bottom), so Right and Bottom are the first column and row outside it.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace plat {

struct TPoint {
  int X = 0;
  int Y = 0;
  constexpr TPoint() = default;
  constexpr TPoint(int x, int y) : X(x), Y(y) {}
  friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
  constexpr TPoint operator+(const TPoint& o) const { return {X + o.X, Y + o.Y}; }
  constexpr TPoint operator-(const TPoint& o) const { return {X - o.X, Y - o.Y}; }
};

struct TSize {
  int cx = 0;
  int cy = 0;
  constexpr TSize() = default;
  constexpr TSize(int w, int h) : cx(w), cy(h) {}
  friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  constexpr TRect() = default;
  constexpr TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
  constexpr TRect(const TPoint& topLeft, const TPoint& bottomRight)
      : Left(topLeft.X), Top(topLeft.Y), Right(bottomRight.X), Bottom(bottomRight.Y) {}
  friend constexpr bool operator==(const TRect&, const TRect&) = default;

  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  constexpr TPoint TopLeft() const { return {Left, Top}; }
  constexpr TPoint BottomRight() const { return {Right, Bottom}; }
  constexpr TSize Size() const { return {Width(), Height()}; }
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  constexpr bool Contains(const TPoint& p) const {
    return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
  }
};

constexpr TPoint Point(int x, int y) { return {x, y}; }
constexpr TSize Size(int cx, int cy) { return {cx, cy}; }
constexpr TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
constexpr TRect Bounds(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}

// An empty rectangle has no width or no height (Right <= Left or Bottom <= Top).
constexpr bool IsRectEmpty(const TRect& r) { return r.IsEmpty(); }
constexpr bool PtInRect(const TRect& r, const TPoint& p) { return r.Contains(p); }

// Grows (negative: shrinks) the rectangle by dx on the left and right and dy on the top and bottom.
constexpr void InflateRect(TRect& r, int dx, int dy) {
  r.Left -= dx;
  r.Right += dx;
  r.Top -= dy;
  r.Bottom += dy;
}
constexpr void OffsetRect(TRect& r, int dx, int dy) {
  r.Left += dx;
  r.Right += dx;
  r.Top += dy;
  r.Bottom += dy;
}

// Both return false and set an empty (all zero) result when the answer is empty.
bool IntersectRect(TRect& dst, const TRect& a, const TRect& b);
// The smallest rectangle holding both; an empty operand is ignored.
bool UnionRect(TRect& dst, const TRect& a, const TRect& b);

inline bool EqualRect(const TRect& a, const TRect& b) { return a == b; }

// Conversions to Qt's rectangles, whose right() and bottom() are inclusive.
inline QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }
inline TRect FromQRect(const QRect& r) { return TRect(r.x(), r.y(), r.x() + r.width(), r.y() + r.height()); }
inline QPoint ToQPoint(const TPoint& p) { return QPoint(p.X, p.Y); }
inline TPoint FromQPoint(const QPoint& p) { return TPoint(p.x(), p.y()); }
inline QSize ToQSize(const TSize& s) { return QSize(s.cx, s.cy); }
inline TSize FromQSize(const QSize& s) { return TSize(s.width(), s.height()); }

}  // namespace plat
