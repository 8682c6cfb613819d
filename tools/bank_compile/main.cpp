// bank_compile --device-type N CONFIG_DIR
//
// Compiles CONFIG_DIR/ParGen.xml and CONFIG_DIR/M_Bus.xml for device type N as the update command does and
// writes the bank files into CONFIG_DIR/bin/. Exit 0 on success; on a compile or write error the error text
// goes to stderr, the exit code is 1 and no file is changed. A driver for tests and benchmarks.

#include <cstdio>
#include <cstring>

#include <QString>

#include "core/compiler.h"
#include "core/device_model.h"
#include "platform/io/files.h"
#include "platform/rtl/strutils.h"

namespace {

int Usage() {
  std::fputs("usage: bank_compile --device-type N CONFIG_DIR\n", stderr);
  return 2;
}

void Print_Error(const QString& text) {
  const QByteArray t = text.toUtf8();
  std::fprintf(stderr, "%s\n", t.constData());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || std::strcmp(argv[1], "--device-type") != 0) return Usage();
  int deviceType = 0;
  if (!plat::TryStrToInt(QString::fromLocal8Bit(argv[2]), deviceType)) return Usage();
  const QString dir = plat::ExcludeTrailingPathDelimiter(QString::fromLocal8Bit(argv[3]));
  if (!plat::DirectoryExists(dir)) {
    Print_Error(QStringLiteral("The configuration folder %1 does not exist.").arg(dir));
    return 1;
  }

  Dir_Project = dir;
  File_ParGen = dir + QStringLiteral("/ParGen.xml");
  File_MBus = dir + QStringLiteral("/M_Bus.xml");
  Bank_Sel_Dev = Device_Model(deviceType).Has_Variant() ? core::bank::Read_Sel_Dev(File_ParGen) : 0;
  Bank_Device_Type = deviceType;
  try {
    Compile_Configuration();
  } catch (const core::bank::ECompileError& e) {
    Print_Error(e.Message());
    return 1;
  }
  const QString bin = dir + QStringLiteral("/bin");
  QString error;
  if (!plat::ForceDirectories(bin) || !Save_Bank_Files(bin + QStringLiteral("/"), &error)) {
    Print_Error(error.isEmpty() ? QStringLiteral("The folder %1 cannot be created.").arg(bin) : error);
    return 1;
  }
  return 0;
}
