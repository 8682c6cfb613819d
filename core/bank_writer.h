#pragma once
// Writes a compiled bank set into a folder, all or nothing.

#include <QString>

#include "core/network_compiler.h"

namespace core::bank {

// Writes every file of the set into Dir (with or without a trailing separator). Each file is first written
// as a temporary file in Dir; the targets are replaced only when all are written, so a failure leaves the
// previous set untouched. False, with Error naming the file and the cause, when a file cannot be written or
// the set is empty (a device type without images). Files of other sets already in Dir are left alone.
bool Save_Bank_Set(const QString& Dir, const Bank_Set& Set, QString* Error = nullptr);

}  // namespace core::bank
