#include "windows/http_get.h"

#include <QDir>

#include <dlfcn.h>

#include <mutex>

#include "platform/io/files.h"

namespace {

// The module stays loaded for the life of the process: clients made by it may live until the end.
THttp_Get_Factory* Factory(QString* Error) {
  static std::once_flag once;
  static THttp_Get_Factory* factory = nullptr;
  static QString error;
  std::call_once(once, [] {
    const QString beside = QDir(plat::ExeDir()).filePath(QStringLiteral(CONFIGURATOR_HTTP_MODULE_NAME));
    QString tried;
    for (const QString& path : {beside, QStringLiteral(CONFIGURATOR_HTTP_MODULE_BUILT)}) {
      void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
      if (!handle) {
        tried += QStringLiteral("\n") + QString::fromLocal8Bit(dlerror());
        continue;
      }
      if (auto* f = reinterpret_cast<THttp_Get_Factory*>(dlsym(handle, Http_Get_Factory_Name))) {
        factory = f;
        return;
      }
      tried += QStringLiteral("\n%1: no %2").arg(path, QString::fromLatin1(Http_Get_Factory_Name));
    }
    error = QStringLiteral("The HTTP module cannot be loaded:%1").arg(tried);
  });
  if (!factory && Error) *Error = error;
  return factory;
}

}  // namespace

std::unique_ptr<THttp_Get> Make_Http_Get(QString* Error) {
  THttp_Get_Factory* f = Factory(Error);
  return f ? std::unique_ptr<THttp_Get>(f()) : nullptr;
}
