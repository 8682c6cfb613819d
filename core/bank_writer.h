#pragma once
// Writes a compiled bank set into a folder, all or nothing.

#include <QString>

#include "core/network_compiler.h"

namespace core::bank {

// Writes every file of the set into Dir (with or without a trailing separator) so that the set changes as one:
// a failure, or the process ending at any point, leaves the previous set or the new one, never a mix, and the
// next save removes what a save cut short left beside Dir. False, with Error naming the file and the cause,
// when a file cannot be written or the set is empty (a device type without images). Files of other sets
// already in Dir are left alone.
bool Save_Bank_Set(const QString& Dir, const Bank_Set& Set, QString* Error = nullptr);

}  // namespace core::bank
