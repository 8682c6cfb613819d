#pragma once
// The compiler as the update command calls it: two settings, then Compile_Configuration on the open
// configuration's files (File_ParGen, File_MBus), then Save_Bank_Files into its bin folder.

#include <QString>

#include <cstdint>

#include "core/network_compiler.h"

// Copy of Device_Type that the caller stores before each compile; the compiler and the writer test this copy.
extern int32_t Bank_Device_Type;
// Device variant (Sel_Dev of ParGen.xml) for types 1, 1001, 2 and 3; 0 for the other types.
extern int32_t Bank_Sel_Dev;

// Compiles File_ParGen and File_MBus for Bank_Device_Type and Bank_Sel_Dev. A value that does not convert,
// a malformed file or a network the images cannot hold raises core::bank::ECompileError; the images of an
// earlier compile are dropped first, so a failed compile leaves nothing to save.
void Compile_Configuration();

// Writes the images of the last compile into Dir (the configuration's bin folder), all or nothing. False when
// nothing was compiled (also for a device type without images) or a file cannot be written; the previous
// files then stay as they were and Error, when given, says why.
bool Save_Bank_Files(const QString& Dir, QString* Error = nullptr);

// The images of the last successful Compile_Configuration (empty after a failure).
const core::bank::Bank_Set& Compiled_Bank_Set();
