#include "windows/project_folders.h"

#include <QDir>
#include <QFileInfo>

#include "core/device_model.h"
#include "platform/io/files.h"

bool Is_Valid_Configuration_Name(const QString& N) {
  if (!Is_Plain_File_Name(N)) return false;
  for (QChar c : N) {
    if (c == u'<' || c == u'>' || c == u'"' || c == u'|' || c == u'?' || c == u'*') return false;
  }
  if (N.front().isSpace() || N.back().isSpace() || N.back() == u'.') return false;
  return N.toUtf8().size() <= 255;
}

int Create_Configuration(const QString& Projects, const QString& N) {
  if (N.isEmpty()) return 32;
  if (!Is_Valid_Configuration_Name(N)) return 30;
  if (Search_Name(List_Configurations(Projects), N) >= 0) return 31;
  const QString dir = QDir(Projects).filePath(N);
  if (QFileInfo::exists(dir)) return 31;  // a file of that name
  if (!QDir().mkdir(dir)) return 30;
  // Without its bin folder the configuration could never be compiled: undo and refuse.
  if (!QDir().mkdir(QDir(dir).filePath(QStringLiteral("bin")))) {
    QDir().rmdir(dir);
    return 30;
  }
  return 0;
}

QStringList List_Configurations(const QString& Projects) { return plat::ListDirectories(Projects); }

int Search_Name(const QStringList& List, const QString& Name) {
  const int exact = List.indexOf(Name);
  if (exact >= 0) return exact;
  for (int i = 0; i < List.size(); ++i) {
    if (List[i].compare(Name, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

bool Configuration_Exists(const QString& Projects, const QString& Name) {
  return Is_Plain_File_Name(Name) && QFileInfo(QDir(Projects).filePath(Name)).isDir();
}

QStringList List_Language_Files(const QString& Language) {
  QStringList names;
  for (const QString& f : plat::ListFiles(Language, QStringLiteral("*.lng"))) {
    // The loader opens "<name>.lng" exactly, so only that spelling of the extension is a language.
    if (f.endsWith(QStringLiteral(".lng")) && f.size() > 4) names << f;
  }
  plat::SortNames(names);
  return names;
}
