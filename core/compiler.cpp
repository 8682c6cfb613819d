#include "core/compiler.h"

#include "core/bank_writer.h"
#include "core/device_model.h"

int32_t Bank_Device_Type = 0;
int32_t Bank_Sel_Dev = 0;

namespace {
core::bank::Bank_Set& Last_Set() {
  static core::bank::Bank_Set set;
  return set;
}
}  // namespace

void Compile_Configuration() {
  Last_Set() = core::bank::Bank_Set{};
  Last_Set() = core::bank::Compile(Bank_Device_Type, Bank_Sel_Dev, File_ParGen, File_MBus);
}

bool Save_Bank_Files(const QString& Dir, QString* Error) {
  if (Last_Set().Device_Type != Bank_Device_Type) {
    if (Error) *Error = QStringLiteral("Nothing was compiled for device type %1.").arg(Bank_Device_Type);
    return false;
  }
  return core::bank::Save_Bank_Set(Dir, Last_Set(), Error);
}

const core::bank::Bank_Set& Compiled_Bank_Set() { return Last_Set(); }
