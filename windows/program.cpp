#include "windows/program.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include "griddropdown/griddropdown.h"
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

void Create_Main_Window() {
  // Its creation sets up the folders, the settings and the texts the other windows rely on.
  Application->CreateForm(FTessaroneFirmWare);
}

namespace {
template <class T>
void Create_Once(T*& Form) {
  if (!Form) Application->CreateForm(Form);
}
}  // namespace

void Create_Other_Windows() {
  Create_Once(FNew_Project);
  Create_Once(FOpenConf);
  Create_Once(FAbout);
  if (!FSoftOptions) {
    Application->CreateForm(FSoftOptions);
    FSoftOptions->Set_Host(FTessaroneFirmWare);
  }
  Create_Once(FParGen);
  Create_Once(FMeter_Bus);
  Create_Once(FNewIDNode);
  Create_Once(FBootSer);
  Create_Once(FBootTCP);
  Create_Once(FScanDecode);
  Create_Once(FInsertKeyWireless);
  Create_Once(FScanModbusStart);
  Create_Once(FModbusStartAdd_SD);
}

void Create_Windows() {
  Create_Main_Window();
  Create_Other_Windows();
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

namespace {

// Runs a function once, soon after the watched widget's first paint.
class TAfter_First_Paint : public QObject {
 public:
  TAfter_First_Paint(QWidget* Watched, void (*Run)()) : QObject(Watched), FRun(Run) { Watched->installEventFilter(this); }

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    if (Event->type() == QEvent::Paint) {
      Watched->removeEventFilter(this);
      QTimer::singleShot(0, FRun);
      deleteLater();
    }
    return false;
  }

 private:
  void (*FRun)();
};

}  // namespace

int Program_Main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The grids' drop-down cell editors join the grid's editor registry before any grid edits.
  grid::RegisterGridDropDownEditors();
  Create_Main_Window();
  Application->SetTitle(FTessaroneFirmWare->Caption());
  // The other windows are made once the main window is on the screen, so that it shows sooner; what the main
  // window opens before then is made on the spot.
  new TAfter_First_Paint(FTessaroneFirmWare->Widget(), Create_Other_Windows);
  Application->Run();
  return 0;
}
