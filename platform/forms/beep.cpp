#include "platform/forms/beep.h"

#include <QApplication>

#include <utility>

namespace plat {

namespace {
TBeepHook& Hook() {
  static TBeepHook hook;
  return hook;
}
}  // namespace

void MessageBeep(unsigned Type) {
  if (Hook())
    Hook()(Type);
  else
    QApplication::beep();
}

TBeepHook SetBeepHook(TBeepHook Hook_) { return std::exchange(Hook(), std::move(Hook_)); }

}  // namespace plat
