#pragma once
// The maker's web addresses (version check, download page, home page) and the asynchronous version check.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <cstdint>
#include <functional>
#include <memory>

#include "core/device_model.h"

class QTimer;
class THttp_Get;

// Scheme, host and port of the maker's web server, without a trailing slash. Web_Server_Default is what the
// program uses; Set_Web_Server_Base replaces it (tests point it at a server on the loopback address).
extern const char Web_Server_Default[];
QString Web_Server_Base();
void Set_Web_Server_Base(const QString& Base);

// The code the version check sends and the version built into this program, per device type (the OEM
// types use those of type 1).
QString Version_Check_Code(int32_t deviceType = Device_Type);
QString Built_In_Version(int32_t deviceType = Device_Type);
// The document code About shows ("MN" + model number).
QString Document_Code(int32_t deviceType = Device_Type);

// <base>/home/download/GetversionSW.asp?nomesw=<code>
QUrl Version_Check_Url(int32_t deviceType = Device_Type);
// <base>/Home/download/download.asp#HD<model>
QUrl Download_Page_Url(int32_t deviceType = Device_Type);
// <base>/HOME/default.asp?frompg=<code>; empty for the OEM types, which have no home page link.
QUrl Home_Page_Url(int32_t deviceType = Device_Type);

// A version text as a number: the text after the first blank (all of it when there is none), trimmed, must
// hold at least five characters; characters 1, 3, 4 and 5 give the number ("VER. 2.302" and "2.302" give
// 2302). -1 when they do not form a number.
int Conv_Version(const QString& Ver_str);

// True when Reply (the body the server sent) names a version newer than Local.
bool Is_Newer_Version(const QString& Reply, const QString& Local = Built_In_Version());

// One HTTP GET of the version text at a time, without blocking: Start sends it and calls Done on the GUI
// thread with the answer of Is_Newer_Version. A failed request, an error status, a body larger than
// Max_Body_Bytes or no answer within the time-out count as an empty reply (false).
class TVersionCheck : public QObject {
 public:
  explicit TVersionCheck(QObject* Parent = nullptr);
  ~TVersionCheck() override;

  static constexpr int Max_Body_Bytes = 4096;
  int TimeoutMs() const { return FTimeoutMs; }
  void SetTimeoutMs(int Ms) { FTimeoutMs = Ms; }

  // False (and Done is not called) while a check is running.
  bool Start(std::function<void(bool Newer)> Done);
  bool Busy() const { return FBusy; }
  // The body of the last finished check as received (empty after a failure).
  QByteArray LastBody() const { return FLastBody; }

 private:
  void Finish(bool ok);
  std::unique_ptr<THttp_Get> FHttp;  // made by the first Start
  bool FBusy = false;
  QTimer* FTimer;
  std::function<void(bool)> FDone;
  QByteArray FBody;
  QByteArray FLastBody;
  int FTimeoutMs = 10000;
};
