// The default beep with which editors refuse a keystroke. Tests replace the sound with a hook that counts.
#pragma once

#include <functional>

namespace plat {

void MessageBeep(unsigned Type = 0);
// Replaces the beep (an empty hook restores the sound); returns the previous hook.
using TBeepHook = std::function<void(unsigned Type)>;
TBeepHook SetBeepHook(TBeepHook Hook);

}  // namespace plat
