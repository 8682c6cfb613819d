#pragma once
// Where the grid keeps integer settings between runs: an INI file named by the caller, or the registry's
// stand-in, an INI tree under the user's configuration folder with one file per key path. Key paths are
// relative: a part that is ".." or an absolute path is refused before anything is read or written.

#include <QString>

#include <memory>

#include "platform/rtl/inifile.h"

namespace grid {

enum TSettingsLocation { slRegistry, slIniFile };

class TSettingsStore {
 public:
  // plat::Exception "Invalid settings key ..." for a key path that leaves the tree; the platform's file errors for
  // an INI file that cannot be read.
  TSettingsStore(TSettingsLocation Location, const QString& Key);
  ~TSettingsStore();

  // The file that holds the key: the INI file itself, or the key's file in the tree.
  const QString& FileName() const { return FFileName; }
  // The tree's root: the user's configuration folder of the application.
  static QString RegistryRoot();
  // The tree file of a key path ("Software\\Maker\\Grid" -> root/Software/Maker/Grid.ini); throws for "..",
  // an empty part or an absolute path.
  static QString RegistryFile(const QString& Key);

  int ReadInteger(const QString& Section, const QString& Ident, int Default) const;
  bool ValueExists(const QString& Section, const QString& Ident) const;
  void WriteInteger(const QString& Section, const QString& Ident, int Value);
  // Writes what was changed (folders of the tree are made as needed); nothing when only read.
  void Flush();

 private:
  QString FFileName;
  std::unique_ptr<plat::TMemIniFile> FIni;
  bool FChanged = false;
};

}  // namespace grid
