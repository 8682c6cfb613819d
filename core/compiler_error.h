#pragma once
// The error that ends a compile. Nothing is written once it is raised: the images are built in local
// buffers and handed out only when the whole compile succeeded. It is a runtime exception, so the
// application's error box shows its message.

#include <QString>

#include "platform/rtl/exceptions.h"

namespace core::bank {

class ECompileError : public plat::Exception {
 public:
  explicit ECompileError(const QString& message) : plat::Exception(message) {}
};

}  // namespace core::bank
