#include "platform/rtl/exceptions.h"

namespace plat {

// Out of line so that the class's type information lives in one place.
Exception::~Exception() = default;

}  // namespace plat
