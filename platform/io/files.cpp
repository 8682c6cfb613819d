#include "platform/io/files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <ftw.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {

namespace {

std::mutex hookMutex;
std::function<bool(FileWriteStep, const QString&)> faultHook;

// True when a test asked this step to fail; errno is then set as a real I/O error would set it.
bool InjectedFault(FileWriteStep step, const QString& target) {
  std::function<bool(FileWriteStep, const QString&)> hook;
  {
    std::lock_guard<std::mutex> lock(hookMutex);
    hook = faultHook;
  }
  if (hook && hook(step, target)) {
    errno = EIO;
    return true;
  }
  return false;
}

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

QString ErrnoText(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

void SetError(QString* error, const QString& text) {
  if (error) *error = text;
}

QString NotRegularText(mode_t mode) {
  if (S_ISDIR(mode)) return QStringLiteral("it is a folder");
  if (S_ISFIFO(mode)) return QStringLiteral("it is a pipe, not a file");
  if (S_ISCHR(mode) || S_ISBLK(mode)) return QStringLiteral("it is a device, not a file");
  return QStringLiteral("it is not a regular file");
}

QString FolderOf(const QString& path) {
  const int slash = path.lastIndexOf(PathDelim);
  if (slash < 0) return QStringLiteral(".");
  if (slash == 0) return QStringLiteral("/");
  return path.left(slash);
}

// A hidden name beside Name in Folder that no one else uses: ".<name>.<random>.<kind>".
QString RandomName(const QString& folder, const QString& name, const char* kind) {
  return folder + PathDelim + u'.' + name + u'.' + QString::number(QRandomGenerator::global()->generate(), 36) +
         u'.' + QLatin1String(kind);
}

// True for a name RandomName gave for Name with the given kind: the random part is a 32-bit number in base 36,
// at most seven digits and letters.
bool IsRandomNameOf(const QString& entry, const QString& name, const char* kind) {
  const QString head = u'.' + name + u'.';
  const QString tail = u'.' + QLatin1String(kind);
  const qsizetype random = entry.size() - head.size() - tail.size();
  if (!entry.startsWith(head) || !entry.endsWith(tail) || random < 1 || random > 7) return false;
  for (const QChar c : QStringView(entry).mid(head.size(), random))
    if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z'))) return false;
  return true;
}

// A save cut short (the process killed) leaves its temporary file, or the second name of the old file, beside
// the target. Such leftovers of this file are removed when it is saved again: only regular files whose names
// this code gives, for this very file, so that no other program's file is touched.
void RemoveLeftoverTemps(const QString& target) {
  const QString folder = FolderOf(target);
  const QString name = target.mid(target.lastIndexOf(PathDelim) + 1);
  if (name.isEmpty()) return;
  const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
  for (const QString& e : entries) {
    if (!IsRandomNameOf(e, name, "tmp") && !IsRandomNameOf(e, name, "old")) continue;
    const QByteArray path = Native(folder + PathDelim + e);
    struct stat st {};
    if (::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(path.constData());
  }
}

void SyncFolder(const QString& folder) {
  const int fd = ::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);  // best effort: some file systems refuse to sync a folder
    ::close(fd);
  }
}

// Writes Data through fd, flushes it to disk and closes fd (also on failure); the hook's Write and Sync steps
// stand for Target.
bool WriteAndClose(int fd, const QString& target, const QByteArray& data, QString* error) {
  const char* p = data.constData();
  qsizetype left = data.size();
  bool ok = !InjectedFault(FileWriteStep::Write, target);
  while (ok && left > 0) {
    const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
    } else {
      p += n;
      left -= n;
    }
  }
  if (ok && (InjectedFault(FileWriteStep::Sync, target) || ::fsync(fd) != 0)) ok = false;
  int err = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (!ok) SetError(error, QStringLiteral("Cannot write file \"%1\": %2").arg(target, ErrnoText(err)));
  return ok;
}

// A temporary file beside the target, written and flushed; removed again unless Commit is reached.
class TempFile {
 public:
  explicit TempFile(QString target) : target_(std::move(target)) {}
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  TempFile(TempFile&& other) noexcept : target_(std::move(other.target_)), temp_(std::move(other.temp_)) {
    other.temp_.clear();
  }
  ~TempFile() { Discard(); }

  const QString& Target() const { return target_; }

  bool Write(const QByteArray& data, QString* error) {
    if (target_.isEmpty() || target_.endsWith(PathDelim)) {
      SetError(error, QStringLiteral("Cannot write file \"%1\": no file name").arg(target_));
      return false;
    }
    const QString folder = FolderOf(target_);
    const QString name = target_.mid(target_.lastIndexOf(PathDelim) + 1);
    int fd = -1;
    if (!InjectedFault(FileWriteStep::CreateTemp, target_)) {
      for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        const QString candidate = RandomName(folder, name, "tmp");
        // 0666 lets the process umask decide, as for any new file.
        fd = ::open(Native(candidate).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) temp_ = candidate;
        else if (errno != EEXIST) break;
      }
    }
    if (fd < 0) {
      SetError(error, QStringLiteral("Cannot create file \"%1\": %2").arg(target_, ErrnoText(errno)));
      return false;
    }
    // A replaced file keeps its permissions.
    struct stat old {};
    if (::stat(Native(target_).constData(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);
    if (!WriteAndClose(fd, target_, data, error)) {
      Discard();
      return false;
    }
    return true;
  }

  // Renames the temporary file over the target.
  bool Commit(QString* error) {
    if (InjectedFault(FileWriteStep::Rename, target_) ||
        ::rename(Native(temp_).constData(), Native(target_).constData()) != 0) {
      SetError(error, QStringLiteral("Cannot replace file \"%1\": %2").arg(target_, ErrnoText(errno)));
      return false;
    }
    temp_.clear();
    return true;
  }

  void Discard() {
    if (!temp_.isEmpty()) ::unlink(Native(temp_).constData());
    temp_.clear();
  }

 private:
  QString target_;
  QString temp_;
};

// No target is a folder and none is listed twice.
bool TargetsAreFiles(const QList<FileToWrite>& files, QString* error) {
  for (qsizetype i = 0; i < files.size(); ++i) {
    if (DirectoryExists(files[i].Path)) {
      SetError(error, QStringLiteral("Cannot write file \"%1\": it is a folder").arg(files[i].Path));
      return false;
    }
    for (qsizetype j = 0; j < i; ++j) {
      if (files[j].Path == files[i].Path) {
        SetError(error, QStringLiteral("Cannot write file \"%1\": listed twice").arg(files[i].Path));
        return false;
      }
    }
  }
  return true;
}

bool WildcardMatch(const QString& mask, int mi, const QString& name, int ni) {
  // Iterative match with back-tracking to the last '*'.
  int starM = -1, starN = 0;
  while (ni < name.size()) {
    if (mi < mask.size() && (mask[mi] == u'?' || mask[mi].toCaseFolded() == name[ni].toCaseFolded())) {
      ++mi;
      ++ni;
    } else if (mi < mask.size() && mask[mi] == u'*') {
      starM = mi++;
      starN = ni;
    } else if (starM >= 0) {
      mi = starM + 1;
      ni = ++starN;
    } else {
      return false;
    }
  }
  while (mi < mask.size() && mask[mi] == u'*') ++mi;
  return mi == mask.size();
}

}  // namespace

void SetFileWriteFaultHook(std::function<bool(FileWriteStep, const QString&)> Hook) {
  std::lock_guard<std::mutex> lock(hookMutex);
  faultHook = std::move(Hook);
}

bool WriteFileAtomic(const QString& Path, const QByteArray& Data, QString* Error) {
  if (DirectoryExists(Path)) {
    SetError(Error, QStringLiteral("Cannot write file \"%1\": it is a folder").arg(Path));
    return false;
  }
  RemoveLeftoverTemps(Path);
  TempFile temp(Path);
  if (!temp.Write(Data, Error) || !temp.Commit(Error)) return false;
  SyncFolder(FolderOf(Path));
  return true;
}

bool WriteFilesAtomic(const QList<FileToWrite>& Files, QString* Error) {
  if (!TargetsAreFiles(Files, Error)) return false;
  for (const FileToWrite& f : Files) RemoveLeftoverTemps(f.Path);
  std::vector<TempFile> temps;
  temps.reserve(static_cast<size_t>(Files.size()));
  for (const FileToWrite& f : Files) {
    temps.emplace_back(f.Path);
    if (!temps.back().Write(f.Data, Error)) return false;  // the destructors remove every temporary file
  }

  // Keep a second name for every old file, so that the set can be put back if a rename fails half-way.
  std::vector<QString> backups(temps.size());
  std::vector<bool> existed(temps.size(), false);
  for (size_t i = 0; i < temps.size(); ++i) {
    const QString& target = temps[i].Target();
    if (!FileExists(target)) continue;
    existed[i] = true;
    const QString folder = FolderOf(target);
    const QString name = target.mid(target.lastIndexOf(PathDelim) + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
      const QString candidate = RandomName(folder, name, "old");
      if (::link(Native(target).constData(), Native(candidate).constData()) == 0) {
        backups[i] = candidate;
        break;
      }
      if (errno != EEXIST) break;  // no hard links here: that file cannot be put back
    }
  }
  auto removeBackups = [&backups] {
    for (const QString& b : backups)
      if (!b.isEmpty()) ::unlink(Native(b).constData());
  };

  for (size_t i = 0; i < temps.size(); ++i) {
    if (temps[i].Commit(Error)) continue;
    for (size_t j = 0; j < i; ++j) {
      const QByteArray target = Native(temps[j].Target());
      if (!backups[j].isEmpty()) {
        if (::rename(Native(backups[j]).constData(), target.constData()) == 0) backups[j].clear();
      } else if (!existed[j]) {
        ::unlink(target.constData());  // the file was new: take it away again
      }
    }
    removeBackups();
    return false;
  }
  removeBackups();
  QStringList folders;
  for (const TempFile& t : temps) {
    const QString folder = FolderOf(t.Target());
    if (!folders.contains(folder)) folders << folder;
  }
  for (const QString& folder : folders) SyncFolder(folder);
  return true;
}

// --- a folder's files replaced as one -----------------------------------------------------------------------

namespace {

constexpr const char* kSetKind = "set";  // the fresh folder beside the target folder: ".<name>.<random>.set"

int RemoveEntry(const char* path, const struct stat*, int type, struct FTW*) {
  return type == FTW_DP ? ::rmdir(path) : ::unlink(path);
}

// Removes a folder and everything in it; links are removed, never followed.
void RemoveTree(const QString& folder) {
  ::nftw(Native(folder).constData(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

// Fresh folders an earlier run left beside Folder: one cut short before its exchange holds part of a new set,
// one cut short after it holds the old set. Folder itself is whole either way.
void RemoveLeftovers(const QString& parent, const QString& name) {
  const QStringList entries = QDir(parent).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks);
  for (const QString& e : entries)
    if (IsRandomNameOf(e, name, kSetKind)) RemoveTree(parent + PathDelim + e);
}

bool CopyFile(const QString& from, const QString& to, mode_t mode, QString* error) {
  QByteArray data;
  if (!ReadFileBytes(from, data, error)) return false;
  const int fd = ::open(Native(to).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode & 07777);
  if (fd < 0) {
    SetError(error, QStringLiteral("Cannot create file \"%1\": %2").arg(to, ErrnoText(errno)));
    return false;
  }
  return WriteAndClose(fd, to, data, error);
}

enum class Carried { Done, Failed, Unsupported };

// Puts every entry of From (but those named in Skip) into the empty folder To: files as second links to the
// same data (copies where the file system has no such links), links as links, folders entry by entry.
Carried CarryOver(const QString& from, const QString& to, const QStringList& skip, QString* error) {
  const QStringList entries = QDir(from).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& e : entries) {
    if (skip.contains(e)) continue;
    const QString src = from + PathDelim + e;
    const QString dst = to + PathDelim + e;
    struct stat st {};
    if (::lstat(Native(src).constData(), &st) != 0) {
      SetError(error, QStringLiteral("Cannot read \"%1\": %2").arg(src, ErrnoText(errno)));
      return Carried::Failed;
    }
    if (InjectedFault(FileWriteStep::Link, src)) {
      SetError(error, QStringLiteral("Cannot keep \"%1\": %2").arg(src, ErrnoText(errno)));
      return Carried::Failed;
    }
    if (S_ISREG(st.st_mode)) {
      if (::link(Native(src).constData(), Native(dst).constData()) == 0) continue;
      if (errno != EPERM && errno != EXDEV && errno != EMLINK && errno != EOPNOTSUPP) {
        SetError(error, QStringLiteral("Cannot keep \"%1\": %2").arg(src, ErrnoText(errno)));
        return Carried::Failed;
      }
      if (!CopyFile(src, dst, st.st_mode, error)) return Carried::Failed;
    } else if (S_ISLNK(st.st_mode)) {
      char target[4096];
      const ssize_t n = ::readlink(Native(src).constData(), target, sizeof target - 1);
      if (n < 0 || (target[n] = 0, ::symlink(target, Native(dst).constData()) != 0)) {
        SetError(error, QStringLiteral("Cannot keep \"%1\": %2").arg(src, ErrnoText(errno)));
        return Carried::Failed;
      }
    } else if (S_ISDIR(st.st_mode)) {
      if (::mkdir(Native(dst).constData(), st.st_mode & 07777) != 0) {
        SetError(error, QStringLiteral("Cannot keep \"%1\": %2").arg(src, ErrnoText(errno)));
        return Carried::Failed;
      }
      const Carried inner = CarryOver(src, dst, {}, error);
      if (inner != Carried::Done) return inner;
    } else {
      return Carried::Unsupported;  // a pipe or a device among the files: not ours to recreate
    }
  }
  return Carried::Done;
}

// Writes a new file into the fresh folder; the hook's steps stand for its place in the target folder.
bool WriteIntoSet(const QString& set, const QString& target, const QByteArray& data, QString* error) {
  const QString name = target.mid(target.lastIndexOf(PathDelim) + 1);
  // 0666 lets the process umask decide, as for any new file; a replaced file keeps its permissions.
  const int fd = InjectedFault(FileWriteStep::CreateTemp, target)
                     ? -1
                     : ::open(Native(set + PathDelim + name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    SetError(error, QStringLiteral("Cannot create file \"%1\": %2").arg(target, ErrnoText(errno)));
    return false;
  }
  struct stat old {};
  if (::stat(Native(target).constData(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);
  return WriteAndClose(fd, target, data, error);
}

// Outcome of the exchange; Refused when the file system cannot exchange the folders (nothing changed).
enum class Exchanged { Done, Failed, Refused };

Exchanged ExchangeFolderSet(const QString& folder, const QList<FileToWrite>& files, QString* error) {
  const QString real = QFileInfo(folder).canonicalFilePath();
  const int slash = real.lastIndexOf(PathDelim);
  if (real.isEmpty() || slash < 0 || real == QStringLiteral("/")) return Exchanged::Refused;
  const QString parent = slash == 0 ? QStringLiteral("/") : real.left(slash);
  const QString name = real.mid(slash + 1);
  RemoveLeftovers(parent, name);

  struct stat folderStat {};
  if (::stat(Native(real).constData(), &folderStat) != 0) {
    SetError(error, QStringLiteral("Cannot write into \"%1\": %2").arg(folder, ErrnoText(errno)));
    return Exchanged::Failed;
  }
  QString set;
  if (!InjectedFault(FileWriteStep::CreateTemp, folder)) {
    for (int attempt = 0; attempt < 100 && set.isEmpty(); ++attempt) {
      const QString candidate = RandomName(parent, name, kSetKind);
      if (::mkdir(Native(candidate).constData(), 0700) == 0) set = candidate;
      else if (errno != EEXIST) break;
    }
  }
  if (set.isEmpty()) {
    SetError(error, QStringLiteral("Cannot create a folder beside \"%1\": %2").arg(folder, ErrnoText(errno)));
    return Exchanged::Failed;
  }
  auto fail = [&set](Exchanged how) {
    RemoveTree(set);
    return how;
  };

  QStringList names;
  for (const FileToWrite& f : files) names << f.Path.mid(f.Path.lastIndexOf(PathDelim) + 1);
  const Carried carried = CarryOver(real, set, names, error);
  if (carried != Carried::Done) return fail(carried == Carried::Unsupported ? Exchanged::Refused : Exchanged::Failed);
  for (const FileToWrite& f : files)
    if (!WriteIntoSet(set, f.Path, f.Data, error)) return fail(Exchanged::Failed);
  ::chmod(Native(set).constData(), folderStat.st_mode & 07777);
  SyncFolder(set);

  for (const FileToWrite& f : files) {
    if (InjectedFault(FileWriteStep::Rename, f.Path)) {
      SetError(error, QStringLiteral("Cannot replace file \"%1\": %2").arg(f.Path, ErrnoText(errno)));
      return fail(Exchanged::Failed);
    }
  }
  // A fault at this step stands for a file system that cannot exchange two folders.
  const bool refused = InjectedFault(FileWriteStep::Exchange, folder);
  if (refused || ::renameat2(AT_FDCWD, Native(set).constData(), AT_FDCWD, Native(real).constData(), RENAME_EXCHANGE) != 0) {
    const int err = refused ? EINVAL : errno;
    if (err == EINVAL || err == ENOSYS || err == EOPNOTSUPP || err == EXDEV || err == EBUSY) return fail(Exchanged::Refused);
    SetError(error, QStringLiteral("Cannot replace the files of \"%1\": %2").arg(folder, ErrnoText(err)));
    return fail(Exchanged::Failed);
  }
  SyncFolder(parent);
  // The fresh folder's name now holds the old set. Failing to remove it loses nothing: the next run does.
  if (!InjectedFault(FileWriteStep::Remove, folder)) RemoveTree(set);
  return Exchanged::Done;
}

}  // namespace

bool WriteFolderFilesAtomic(const QList<FileToWrite>& Files, QString* Error) {
  if (Files.isEmpty()) return true;
  const QString folder = FolderOf(Files.first().Path);
  for (const FileToWrite& f : Files) {
    if (FolderOf(f.Path) != folder || f.Path.endsWith(PathDelim)) {
      SetError(Error, QStringLiteral("Cannot write file \"%1\": not a file in \"%2\"").arg(f.Path, folder));
      return false;
    }
  }
  if (!TargetsAreFiles(Files, Error)) return false;
  if (!DirectoryExists(folder)) {
    SetError(Error, QStringLiteral("Cannot write file \"%1\": %2").arg(Files.first().Path, ErrnoText(ENOENT)));
    return false;
  }
  // Leftovers of earlier saves would otherwise be carried into the new set.
  for (const FileToWrite& f : Files) RemoveLeftoverTemps(f.Path);
  switch (ExchangeFolderSet(folder, Files, Error)) {
    case Exchanged::Done: return true;
    case Exchanged::Failed: return false;
    case Exchanged::Refused: break;
  }
  return WriteFilesAtomic(Files, Error);
}

bool ReadFileBytes(const QString& Path, QByteArray& Data, QString* Error, qint64 MaxSize) {
  Data.clear();
  auto refuse = [&](const QString& why) {
    SetError(Error, QStringLiteral("Cannot read file \"%1\": %2").arg(Path, why));
    Data.clear();
    return false;
  };
  // The kind is looked at before opening (opening a device may already act on it) and again on the open file,
  // which is what is read. Opening without blocking keeps a pipe without a writer from stopping the program.
  struct stat st {};
  const QByteArray native = Native(Path);
  if (Path.isEmpty()) return refuse(ErrnoText(ENOENT));
  if (::stat(native.constData(), &st) != 0) {
    const int err = errno;
    if (err == ENOENT && ::lstat(native.constData(), &st) == 0) return refuse(QStringLiteral("it is a link that leads nowhere"));
    return refuse(ErrnoText(err));
  }
  if (!S_ISREG(st.st_mode)) return refuse(NotRegularText(st.st_mode));
  const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return refuse(ErrnoText(errno));
  const auto closeFd = qScopeGuard([fd] { ::close(fd); });
  if (::fstat(fd, &st) != 0) return refuse(ErrnoText(errno));
  if (!S_ISREG(st.st_mode)) return refuse(NotRegularText(st.st_mode));
  const QString tooLarge = QStringLiteral("it is larger than %1 bytes").arg(MaxSize);
  if (st.st_size > MaxSize) return refuse(tooLarge);
  // The size is a hint only: a file that grows while it is read still stops at the limit.
  Data.reserve(qsizetype(st.st_size) + 1);
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return refuse(ErrnoText(errno));
    if (n == 0) break;
    if (Data.size() + n > MaxSize) return refuse(tooLarge);
    Data.append(chunk, qsizetype(n));
  }
  return true;
}

bool FileExists(const QString& Path) {
  struct stat st {};
  return !Path.isEmpty() && ::stat(Native(Path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FileAbsent(const QString& Path) {
  struct stat st {};
  return Path.isEmpty() || (::lstat(Native(Path).constData(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR));
}

bool DirectoryExists(const QString& Path) {
  struct stat st {};
  return !Path.isEmpty() && ::stat(Native(Path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateDir(const QString& Path) {
  return !Path.isEmpty() && ::mkdir(Native(Path).constData(), 0777) == 0;
}

bool ForceDirectories(const QString& Path) {
  if (Path.isEmpty()) return false;
  QDir().mkpath(Path);
  return DirectoryExists(Path);
}

void SortNames(QStringList& Names) {
  std::sort(Names.begin(), Names.end(), [](const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
  });
}

QStringList ListDirectories(const QString& Folder) {
  QStringList names = QDir(Folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
  SortNames(names);
  return names;
}

QStringList ListFiles(const QString& Folder, const QString& Mask) {
  const QStringList all = QDir(Folder).entryList(QDir::Files, QDir::NoSort);
  QStringList names;
  for (const QString& n : all)
    if (Mask.isEmpty() || WildcardMatch(Mask, 0, n, 0)) names << n;
  SortNames(names);
  return names;
}

QString ExeDir() {
  char buf[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  QString exe;
  if (n > 0) exe = QFile::decodeName(QByteArray(buf, static_cast<qsizetype>(n)));
  else if (QCoreApplication::instance()) return ExcludeTrailingPathDelimiter(QCoreApplication::applicationDirPath());
  return ExcludeTrailingPathDelimiter(ExtractFilePath(exe));
}

QString IncludeTrailingPathDelimiter(const QString& Path) {
  return Path.endsWith(PathDelim) ? Path : Path + PathDelim;
}

QString ExcludeTrailingPathDelimiter(const QString& Path) {
  if (Path.size() > 1 && Path.endsWith(PathDelim)) return Path.left(Path.size() - 1);
  return Path;
}

QString ExtractFilePath(const QString& FileName) { return FileName.left(FileName.lastIndexOf(PathDelim) + 1); }

QString ExtractFileName(const QString& FileName) { return FileName.mid(FileName.lastIndexOf(PathDelim) + 1); }

QString ExtractFileExt(const QString& FileName) {
  const QString name = ExtractFileName(FileName);
  const int dot = name.lastIndexOf(u'.');
  return dot < 0 ? QString() : name.mid(dot);
}

QString ChangeFileExt(const QString& FileName, const QString& Extension) {
  const int nameStart = FileName.lastIndexOf(PathDelim) + 1;
  const int dot = FileName.lastIndexOf(u'.');
  const int stemEnd = dot >= nameStart ? dot : FileName.size();
  return FileName.left(stemEnd) + Extension;
}

}  // namespace plat
