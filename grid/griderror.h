#pragma once
// The string grid's own error, raised with fixed English messages.

#include "platform/rtl/exceptions.h"

namespace grid {

class EExtGridError : public plat::Exception {
 public:
  explicit EExtGridError(const QString& Msg) : Exception(Msg) {}
};

}  // namespace grid
