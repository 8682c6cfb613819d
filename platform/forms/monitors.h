// The monitors as window placement sees them: the primary screen's height and the work area (the screen
// without the task bars) of the monitor nearest to a point. Code that places windows asks Monitors(); tests
// install fake monitors with SetMonitors.
#pragma once

#include <vector>

#include "platform/graphics/types.h"

namespace plat {

class TMonitors {
 public:
  virtual ~TMonitors() = default;
  virtual int PrimaryScreenHeight() const = 0;
  // False when there is no monitor at all (then callers fall back to PrimaryWorkArea).
  virtual bool WorkAreaNear(const TPoint& P, TRect& WorkArea) const = 0;
  virtual TRect PrimaryWorkArea() const = 0;
};

// The monitors of the desktop unless a test installed others.
const TMonitors& Monitors();
// Installs Fake (not owned) in place of the desktop's monitors; nullptr restores them.
void SetMonitors(const TMonitors* Fake);

// Fixed monitors for tests: each a full rectangle and a work area; the first is the primary one.
class TFixedMonitors : public TMonitors {
 public:
  struct Monitor {
    TRect Bounds;
    TRect WorkArea;
  };
  void Add(const TRect& Bounds, const TRect& WorkArea) { FList.push_back({Bounds, WorkArea}); }
  int PrimaryScreenHeight() const override { return FList.empty() ? 0 : FList.front().Bounds.Height(); }
  bool WorkAreaNear(const TPoint& P, TRect& WorkArea) const override;
  TRect PrimaryWorkArea() const override { return FList.empty() ? TRect() : FList.front().WorkArea; }

 private:
  std::vector<Monitor> FList;
};

}  // namespace plat
