#pragma once
// File-system helpers and whole-file writes that never leave a torn file behind.
//
// Every whole-file write goes to a temporary file in the target's folder, is flushed to disk and then renamed
// over the target, so a crash or a failed write leaves either the old or the new content, never a mix.
// Paths use '/' as the separator.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace plat {

inline constexpr QChar PathDelim = u'/';

// --- whole-file reads and writes -------------------------------------------------------------------------------

// Writes Data as the whole content of Path. On failure returns false, leaves any old file untouched, removes the
// temporary file and, when Error is given, stores a message naming the file and the cause.
bool WriteFileAtomic(const QString& Path, const QByteArray& Data, QString* Error = nullptr);

struct FileToWrite {
  QString Path;
  QByteArray Data;
};

// Writes a set of files all or nothing: every temporary file is written and flushed first, and the targets are
// replaced only when all of them are written. On any failure no target changes (a target already replaced when
// a later rename fails is put back), the temporary files are removed and the result is false.
bool WriteFilesAtomic(const QList<FileToWrite>& Files, QString* Error = nullptr);

// Largest file a reader takes when it names no limit of its own: more than any file the program reads.
inline constexpr qint64 MaxReadFileSize = qint64(256) << 20;

// Writes a set of files that all lie in one existing folder so that the folder's content changes as one: the
// folder's other entries and the new files are put together in a fresh folder beside it, which then trades
// places with it in a single step. A process killed at any point leaves the old set or the new one, whole; a
// fresh folder such a run leaves beside the folder is removed by the next call for that folder. Entries of the
// folder that are not in the set stay as they are. Where the file system cannot trade two folders (or the
// folder holds a pipe or a device), the files are written as WriteFilesAtomic writes them.
bool WriteFolderFilesAtomic(const QList<FileToWrite>& Files, QString* Error = nullptr);

// Reads the whole file into Data. Every reader of the program goes through here, so that only a regular file is
// ever read: a folder, a pipe, a device or a link to one is refused without blocking and without reading it, as
// is a file larger than MaxSize bytes. False (Data emptied, Error naming the file and the cause) when the file is
// refused or cannot be opened or read.
bool ReadFileBytes(const QString& Path, QByteArray& Data, QString* Error = nullptr, qint64 MaxSize = MaxReadFileSize);

// --- files and folders ------------------------------------------------------------------------------------------

// True when Path names an existing regular file (a folder is not a file).
bool FileExists(const QString& Path);
// True only when nothing at all stands at Path (or Path is empty). A folder, a pipe, a device, a link that leads
// nowhere or an entry that cannot be examined is not absent: a reader must report it instead of taking the file
// as missing.
bool FileAbsent(const QString& Path);
// True when Path names an existing folder.
bool DirectoryExists(const QString& Path);
// Creates one folder level; false when it cannot be created or already exists.
bool CreateDir(const QString& Path);
// Creates the folder and every missing parent; true when the folder exists afterwards.
bool ForceDirectories(const QString& Path);

// Names (not paths) of the sub-folders of Folder, without "." and "..", sorted by SortNames.
QStringList ListDirectories(const QString& Folder);
// Names (not paths) of the regular files of Folder whose name matches Mask ('*' and '?' wildcards, letters
// compared without regard to case, "*" or an empty mask for all), sorted by SortNames.
QStringList ListFiles(const QString& Folder, const QString& Mask = QStringLiteral("*"));
// The order every listing uses: letters compared without regard to case, ties broken by the exact text, so the
// order does not depend on the file system or the locale.
void SortNames(QStringList& Names);

// Folder of the running executable, without a trailing separator.
QString ExeDir();

// --- path texts -------------------------------------------------------------------------------------------------

QString IncludeTrailingPathDelimiter(const QString& Path);
// Removes one trailing separator; the root "/" stays as it is.
QString ExcludeTrailingPathDelimiter(const QString& Path);
// Folder part of FileName including the trailing separator ("" when FileName holds no separator).
QString ExtractFilePath(const QString& FileName);
// Name part of FileName after the last separator.
QString ExtractFileName(const QString& FileName);
// Extension of the name part including the dot ("" when the name has none).
QString ExtractFileExt(const QString& FileName);
// Replaces the extension of the name part (a dot in a folder name does not count); Extension includes the dot
// or is empty to remove the extension.
QString ChangeFileExt(const QString& FileName, const QString& Extension);

// --- fault injection for tests ----------------------------------------------------------------------------------

// Link: keeping an entry of a folder whose files are replaced as one (Target: the entry). Exchange: the folders
// trading places (Target: the folder); a fault there stands for a file system that cannot do it. Remove: taking
// away the folder that then holds the old set.
enum class FileWriteStep { CreateTemp, Write, Sync, Rename, Link, Exchange, Remove };

// While set, the atomic writers ask the hook before each step; a true answer makes that step fail as an I/O
// error would. Only tests set it. Pass an empty function to remove it.
void SetFileWriteFaultHook(std::function<bool(FileWriteStep, const QString& Target)> Hook);

}  // namespace plat
