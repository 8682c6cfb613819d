#include "windows/program.h"

#include <QApplication>

#include "platform/forms/forms.h"
#include "platform/io/files.h"
#include "windows/about.h"
#include "windows/boot_ser.h"
#include "windows/boot_tcp.h"
#include "windows/insert_key_wireless.h"
#include "windows/main_window.h"
#include "windows/meter_bus.h"
#include "windows/modbus_start_add_sd.h"
#include "windows/new_id_node.h"
#include "windows/new_project.h"
#include "windows/open_conf.h"
#include "windows/par_gen.h"
#include "windows/scan_decode.h"
#include "windows/scan_modbus_start.h"
#include "windows/soft_options.h"

using plat::Application;

namespace {
QString& Dir_Override() {
  static QString dir;
  return dir;
}
}  // namespace

QString Program_Dir() { return Dir_Override().isEmpty() ? plat::ExeDir() : Dir_Override(); }

void Set_Program_Dir(const QString& Dir) { Dir_Override() = Dir; }

void Create_Windows() {
  // The main window first: its creation sets up the folders, the settings and the texts.
  Application->CreateForm(FTessaroneFirmWare);
  Application->CreateForm(FNew_Project);
  Application->CreateForm(FOpenConf);
  Application->CreateForm(FAbout);
  Application->CreateForm(FSoftOptions);
  FSoftOptions->Set_Host(FTessaroneFirmWare);
  Application->CreateForm(FParGen);
  Application->CreateForm(FMeter_Bus);
  Application->CreateForm(FNewIDNode);
  Application->CreateForm(FBootSer);
  Application->CreateForm(FBootTCP);
  Application->CreateForm(FScanDecode);
  Application->CreateForm(FInsertKeyWireless);
  Application->CreateForm(FScanModbusStart);
  Application->CreateForm(FModbusStartAdd_SD);
}

namespace {
template <class T>
void Free(T*& Form) {
  delete Form;
  Form = nullptr;
}
}  // namespace

void Free_Windows() {
  if (Application->MainForm() == FTessaroneFirmWare) Application->SetMainForm(nullptr);
  Free(FModbusStartAdd_SD);
  Free(FScanModbusStart);
  Free(FInsertKeyWireless);
  Free(FScanDecode);
  Free(FBootTCP);
  Free(FBootSer);
  Free(FNewIDNode);
  Free(FMeter_Bus);
  Free(FParGen);
  Free(FSoftOptions);
  Free(FAbout);
  Free(FOpenConf);
  Free(FNew_Project);
  Free(FTessaroneFirmWare);
}

int Program_Main(int argc, char** argv) {
  QApplication app(argc, argv);
  Create_Windows();
  Application->SetTitle(FTessaroneFirmWare->Caption());
  Application->Run();
  return 0;
}
