#include "core/bank_writer.h"

#include "platform/io/files.h"

namespace core::bank {

bool Save_Bank_Set(const QString& Dir, const Bank_Set& Set, QString* Error) {
  if (Set.Files.empty()) {
    if (Error) *Error = QStringLiteral("No bank image was compiled for device type %1.").arg(Set.Device_Type);
    return false;
  }
  const QString folder = plat::IncludeTrailingPathDelimiter(QString(Dir).replace(u'\\', u'/'));
  QList<plat::FileToWrite> files;
  files.reserve(qsizetype(Set.Files.size()));
  for (const Bank_File& f : Set.Files) files.append({folder + f.Name, f.Data});
  return plat::WriteFolderFilesAtomic(files, Error);
}

}  // namespace core::bank
