#pragma once
// One HTTP GET at a time. The client lives in a module of its own (configurator_http), loaded when the first
// request is made: the network library and the libraries it needs are then not loaded while the program starts.

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class THttp_Get {
 public:
  virtual ~THttp_Get() = default;
  // Sends the request without cookies. Data gets each piece of the body as it arrives; Done is called once at
  // the end: true when the request succeeded with a 2xx status. Neither is called after Abort or destruction.
  virtual void Start(const QUrl& Url, const QByteArray& Accept, std::function<void(const QByteArray&)> Data,
                     std::function<void(bool Ok)> Done) = 0;
  virtual void Abort() = 0;
};

// The module's entry point, by this name.
using THttp_Get_Factory = THttp_Get*();
inline constexpr char Http_Get_Factory_Name[] = "Configurator_Make_Http_Get";

// Loads the module (beside the program, else where the build put it) once and makes a client; null, with Error
// set, when the module cannot be loaded.
std::unique_ptr<THttp_Get> Make_Http_Get(QString* Error = nullptr);
