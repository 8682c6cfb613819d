#pragma once
// Event handler types: a handler is "assigned" when the std::function is not empty.

#include <functional>

namespace plat {

class TObject;

using TNotifyEvent = std::function<void(TObject* Sender)>;

}  // namespace plat
