// The "Update Device" step: compiling the open configuration into its bank images, choosing the serial or the
// Ethernet update window, and starting an updater and waiting for it.
#include <QDir>
#include <QFileInfo>

#include <chrono>
#include <thread>

#include "core/compiler.h"
#include "core/device_model.h"
#include "core/network_compiler.h"
#include "platform/io/files.h"
#include "platform/io/process.h"
#include "platform/rtl/exceptions.h"
#include "windows/boot_ser.h"
#include "windows/boot_tcp.h"
#include "windows/main_window.h"
#include "windows/update_commands.h"

using namespace plat;

namespace {

void Error_Text_Box(const QString& Text) { Application->HandleException(FTessaroneFirmWare, Exception(Text)); }

}  // namespace

void TFTessaroneFirmWare::Update_Device() {
  const int v = Device_Model().Has_Variant() ? Select_Type_427() : 0;
  try {
    Bank_Device_Type = Device_Type;
    Compile_Configuration();
    // The images must be written, all of them, before any updater may take them: a failed write stops here
    // instead of handing old or mixed images to the converter.
    const QString bin = QDir(Dir_Project).filePath(QStringLiteral("bin"));
    QString error;
    if (!ForceDirectories(bin)) throw Exception(QStringLiteral("Cannot create the folder \"%1\".").arg(bin));
    if (!Save_Bank_Files(IncludeTrailingPathDelimiter(bin), &error)) throw Exception(error);
  } catch (...) {
    Application->HandleException(this);
    return;
  }
  switch (Updater_Of(Device_Type, v)) {
    case TUpdater::Serial: FBootSer->ShowModal(); break;
    case TUpdater::Tcp: FBootTCP->ShowModal(); break;
    case TUpdater::None: break;
  }
}

int TFTessaroneFirmWare::Select_Type_427() {
  int result = 0;
  if (QFileInfo(File_ParGen).isFile() && Device_Model().Has_Variant()) result = core::bank::Read_Sel_Dev(File_ParGen);
  Bank_Sel_Dev = result;
  return result;
}

bool TFTessaroneFirmWare::Start_Program(const QString& NomeSW, const QStringList& Parameter, bool tipo) {
  (void)tipo;
  TStartedProcess p;
  QString error;
  if (!StartProcess(NomeSW, Parameter, Updater_Folder(), p, &error)) {
    Error_Text_Box(error);
    return false;
  }
  int code = 0;
  const TWaitResult r = WaitForProcess(
      p, Updater_Run.Wait_Limit_Ms,
      [] {
        Application->ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      },
      Updater_Run.Clock ? Updater_Run.Clock : TTickClock(MonotonicTicks), &code);
  // An updater that reports a failure must not pass for a finished update.
  if (r == TWaitResult::Ended && code != 0) {
    Error_Text_Box(QStringLiteral("The updater \"%1\" ended with the error code %2: the device may not have been "
                                  "updated.")
                       .arg(QFileInfo(NomeSW).fileName())
                       .arg(code));
    return false;
  }
  return true;
}
