#pragma once
// The error that ends a compile. Nothing is written once it is raised: the images are built in local
// buffers and handed out only when the whole compile succeeded.

#include <QString>
#include <stdexcept>

namespace core::bank {

class ECompileError : public std::runtime_error {
 public:
  explicit ECompileError(const QString& message)
      : std::runtime_error(message.toStdString()), Message(message) {}
  QString Message;
};

}  // namespace core::bank
