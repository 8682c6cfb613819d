#pragma once
// The runtime's exception hierarchy. Every error raised by the platform layer is a plat::Exception carrying a
// user-readable message; hosts catch it and hand it to the application's error box.

#include <QByteArray>
#include <QString>

#include <exception>

namespace plat {

class Exception : public std::exception {
 public:
  explicit Exception(const QString& Msg) : FMessage(Msg), FWhat(Msg.toUtf8()) {}
  ~Exception() override;
  const QString& Message() const noexcept { return FMessage; }
  void SetMessage(const QString& Msg) {
    FMessage = Msg;
    FWhat = Msg.toUtf8();
  }
  const char* what() const noexcept override { return FWhat.constData(); }

 private:
  QString FMessage;
  QByteArray FWhat;
};

#define PLAT_DECLARE_EXCEPTION(Name, Base)                   \
  class Name : public Base {                                 \
   public:                                                   \
    explicit Name(const QString& Msg) : Base(Msg) {}         \
  };

PLAT_DECLARE_EXCEPTION(EConvertError, Exception)
PLAT_DECLARE_EXCEPTION(EListError, Exception)
PLAT_DECLARE_EXCEPTION(EStringListError, Exception)
PLAT_DECLARE_EXCEPTION(EInvalidCast, Exception)
PLAT_DECLARE_EXCEPTION(EStreamError, Exception)
PLAT_DECLARE_EXCEPTION(EReadError, EStreamError)
PLAT_DECLARE_EXCEPTION(EWriteError, EStreamError)
PLAT_DECLARE_EXCEPTION(EFOpenError, EStreamError)
PLAT_DECLARE_EXCEPTION(EFCreateError, EStreamError)
PLAT_DECLARE_EXCEPTION(EInvalidOperation, Exception)
PLAT_DECLARE_EXCEPTION(EInvalidGridOperation, Exception)
PLAT_DECLARE_EXCEPTION(EComponentError, Exception)
PLAT_DECLARE_EXCEPTION(EAssertionFailed, Exception)

#undef PLAT_DECLARE_EXCEPTION

}  // namespace plat
