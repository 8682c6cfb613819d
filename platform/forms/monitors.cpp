#include "platform/forms/monitors.h"

#include <QGuiApplication>
#include <QScreen>

#include <climits>
#include <cstdlib>

namespace plat {

namespace {

// Distance from P to the rectangle (0 inside), in the sum of both axes: enough to find the nearest one.
long long DistanceTo(const TRect& r, const TPoint& p) {
  const long long dx = p.X < r.Left ? r.Left - p.X : (p.X >= r.Right ? p.X - r.Right + 1 : 0);
  const long long dy = p.Y < r.Top ? r.Top - p.Y : (p.Y >= r.Bottom ? p.Y - r.Bottom + 1 : 0);
  return dx + dy;
}

TRect FromQRect(const QRect& r) { return TRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()); }

class TDesktopMonitors : public TMonitors {
 public:
  int PrimaryScreenHeight() const override {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 0;
  }
  bool WorkAreaNear(const TPoint& P, TRect& WorkArea) const override {
    const QScreen* best = nullptr;
    long long bestDistance = LLONG_MAX;
    for (const QScreen* s : QGuiApplication::screens()) {
      const long long d = DistanceTo(FromQRect(s->geometry()), P);
      if (d < bestDistance) {
        bestDistance = d;
        best = s;
      }
    }
    if (!best) return false;
    WorkArea = FromQRect(best->availableGeometry());
    return true;
  }
  TRect PrimaryWorkArea() const override {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? FromQRect(s->availableGeometry()) : TRect();
  }
};

const TMonitors* g_fake = nullptr;

}  // namespace

const TMonitors& Monitors() {
  static const TDesktopMonitors desktop;
  return g_fake ? *g_fake : desktop;
}

void SetMonitors(const TMonitors* Fake) { g_fake = Fake; }

bool TFixedMonitors::WorkAreaNear(const TPoint& P, TRect& WorkArea) const {
  const Monitor* best = nullptr;
  long long bestDistance = LLONG_MAX;
  for (const Monitor& m : FList) {
    const long long d = DistanceTo(m.Bounds, P);
    if (d < bestDistance) {
      bestDistance = d;
      best = &m;
    }
  }
  if (!best) return false;
  WorkArea = best->WorkArea;
  return true;
}

}  // namespace plat
