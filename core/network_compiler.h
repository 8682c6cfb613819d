#pragma once
// The network compiler: reads a configuration's ParGen.xml and M_Bus.xml and builds the bank images
// that the device type and variant require.

#include <cstdint>
#include <vector>

#include <QByteArray>
#include <QString>

#include "core/bank_images.h"
#include "core/compiler_error.h"

namespace core::bank {

struct Bank_File {
  QString Name;     // "bank.bin", "bank1.bin" or "bank2.bin"
  QByteArray Data;
};

// The files of one compile, in the order they are written. Empty for a device type without images.
struct Bank_Set {
  int Device_Type = 0;
  std::vector<Bank_File> Files;
  const Bank_File* Find(const QString& name) const;
};

// Compiles the two files (either may be missing) for a device type and variant. The variant matters for
// types 1, 1001, 2 and 3 and must be 0 or 1 there. Raises ECompileError; nothing is kept on failure.
Bank_Set Compile(int deviceType, int selDev, const QString& fileParGen, const QString& fileMBus);

// The device variant as the update command reads it: the integer text of Sel_Dev in ParGen.xml, 0 when
// the file or the element is missing, or the file or the text does not read.
int Read_Sel_Dev(const QString& fileParGen);

// Collects the nodes of M_Bus.xml as the builder of a format reads them (exposed for tests).
Bank_Network Collect_Network(Bank_Format fmt, int deviceType, const QString& fileMBus, const TParGen_Numbers& par);
// ParGen.xml as numbers, without the checks of any image (exposed for tests).
TParGen_Numbers Load_ParGen(const QString& fileParGen);

}  // namespace core::bank
