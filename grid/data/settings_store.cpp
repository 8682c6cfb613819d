#include "grid/data/settings_store.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/rtl/exceptions.h"

namespace grid {

TSettingsStore::TSettingsStore(TSettingsLocation Location, const QString& Key)
    : FFileName(Location == slRegistry ? RegistryFile(Key) : Key),
      FIni(std::make_unique<plat::TMemIniFile>(FFileName)) {}

TSettingsStore::~TSettingsStore() = default;

QString TSettingsStore::RegistryRoot() {
  return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

QString TSettingsStore::RegistryFile(const QString& Key) {
  QString path = Key;
  path.replace(u'\\', u'/');
  const auto refuse = [&] { throw plat::Exception(QStringLiteral("Invalid settings key ") + Key); };
  if (path.isEmpty() || path.startsWith(u'/') || QDir::isAbsolutePath(path) || path.contains(u':')) refuse();
  const QStringList parts = path.split(u'/');
  for (const QString& p : parts)
    if (p.isEmpty() || p == QStringLiteral("..") || p == QStringLiteral(".")) refuse();
  return RegistryRoot() + u'/' + parts.join(u'/') + QStringLiteral(".ini");
}

int TSettingsStore::ReadInteger(const QString& Section, const QString& Ident, int Default) const {
  return FIni->ReadInteger(Section, Ident, Default);
}

bool TSettingsStore::ValueExists(const QString& Section, const QString& Ident) const {
  return FIni->ValueExists(Section, Ident);
}

void TSettingsStore::WriteInteger(const QString& Section, const QString& Ident, int Value) {
  FIni->WriteInteger(Section, Ident, Value);
  FChanged = true;
}

void TSettingsStore::Flush() {
  if (!FChanged) return;
  const QString dir = QFileInfo(FFileName).absolutePath();
  if (!dir.isEmpty()) QDir().mkpath(dir);
  FIni->UpdateFile();
  FChanged = false;
}

}  // namespace grid
