#pragma once
// The state of one of a window's own scroll bars: the Qt bar that shows it and the range, page and position
// the window set, kept apart from the bar so that the window alone decides where the thumb goes.

#include <QScrollBar>

#include "platform/forms/controls.h"

namespace plat {

struct TWinControl::ScrollBarState {
  QScrollBar* Bar = nullptr;
  int Min = 0, Max = 100;
  UINT Page = 0;
  int Pos = 0;
  int TrackPos = 0;
  bool Shown = false;
  bool Enabled = true;
  bool Tracking = false;
};

}  // namespace plat
