#include "grid/data/data_files.h"

#include "platform/io/files.h"
#include "platform/rtl/exceptions.h"

namespace grid {

QByteArray ReadWholeFile(const QString& FileName) {
  QByteArray data;
  QString error;
  if (!plat::ReadFileBytes(FileName, data, &error)) throw plat::EFOpenError(error);
  return data;
}

void WriteWholeFile(const QString& FileName, const QByteArray& Data) {
  QString error;
  if (!plat::WriteFileAtomic(FileName, Data, &error)) throw plat::EFCreateError(error);
}

}  // namespace grid
