#include "platform/io/files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <iterator>

#include <sys/stat.h>

using namespace plat;

namespace {

class Files : public ::testing::Test {
 protected:
  void TearDown() override { SetFileWriteFaultHook({}); }

  QString Path(const QString& name) const { return dir_.path() + u'/' + name; }

  void Put(const QString& name, const QByteArray& data) const {
    QFile f(Path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
  }

  QByteArray Get(const QString& name) const {
    QByteArray data;
    EXPECT_TRUE(ReadFileBytes(Path(name), data)) << name.toStdString();
    return data;
  }

  // Every entry of the folder, hidden ones included: shows leftover temporary files.
  QStringList Entries() const {
    QStringList e = QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    e.sort();
    return e;
  }

  QTemporaryDir dir_;
};

const char* StepName(FileWriteStep s) {
  switch (s) {
    case FileWriteStep::CreateTemp: return "CreateTemp";
    case FileWriteStep::Write: return "Write";
    case FileWriteStep::Sync: return "Sync";
    case FileWriteStep::Rename: return "Rename";
    case FileWriteStep::Link: return "Link";
    case FileWriteStep::Exchange: return "Exchange";
    case FileWriteStep::Remove: return "Remove";
  }
  return "?";
}

const FileWriteStep kAllSteps[] = {FileWriteStep::CreateTemp, FileWriteStep::Write, FileWriteStep::Sync,
                                   FileWriteStep::Rename};

}  // namespace

TEST_F(Files, AtomicWriteCreatesAndReplacesAndKeepsPermissions) {
  ASSERT_TRUE(WriteFileAtomic(Path("a.xml"), "first"));
  EXPECT_EQ(Get("a.xml"), "first");
  ::chmod(QFile::encodeName(Path("a.xml")).constData(), 0640);
  QString error = "untouched";
  ASSERT_TRUE(WriteFileAtomic(Path("a.xml"), QByteArray(), &error));
  EXPECT_EQ(Get("a.xml"), QByteArray());
  EXPECT_EQ(error, "untouched");
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(Path("a.xml")).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(Entries(), QStringList{"a.xml"});
}

// Temporaries and second names that a killed save left beside a file go when that file is saved again, by any
// of the writers; what only looks like them (another file's, another kind, a folder, a link, a name this code
// never gives) stays.
TEST_F(Files, SavingAFileSweepsTheLeftoversOfItsInterruptedSaves) {
  const QStringList leftovers = {".M_Bus.xml.1a2b3c.tmp", ".M_Bus.xml.zzzzzzz.tmp", ".M_Bus.xml.0.old"};
  const QStringList others = {".Other.xml.1a2b3c.tmp",     ".M_Bus.xml.1a2b3c.bak", ".M_Bus.xml.ABC.tmp",
                              ".M_Bus.xml.12345678.tmp",   ".M_Bus.xml..tmp",       "M_Bus.xml.1a2b3c.tmp",
                              ".M_Bus.xml.1a2b3c.tmp.keep"};
  const std::function<bool(const QString&)> writers[] = {
      [](const QString& p) { return WriteFileAtomic(p, "new"); },
      [](const QString& p) { return WriteFilesAtomic({{p, "new"}}); },
      [](const QString& p) { return WriteFolderFilesAtomic({{p, "new"}}); },
  };
  for (size_t w = 0; w < std::size(writers); ++w) {
    SCOPED_TRACE(w);
    QDir(Path("f")).removeRecursively();
    ASSERT_TRUE(CreateDir(Path("f")));
    Put("f/M_Bus.xml", "old");
    for (const QString& n : leftovers + others) Put("f/" + n, "left");
    ASSERT_TRUE(CreateDir(Path("f/.M_Bus.xml.dir1.tmp")));
    ASSERT_TRUE(QFile::link("M_Bus.xml", Path("f/.M_Bus.xml.lnk1.tmp")));
    ASSERT_TRUE(writers[w](Path("f/M_Bus.xml")));
    EXPECT_EQ(Get("f/M_Bus.xml"), "new");
    QStringList expected = others;
    expected << "M_Bus.xml" << ".M_Bus.xml.dir1.tmp" << ".M_Bus.xml.lnk1.tmp";
    expected.sort();
    QStringList got = QDir(Path("f")).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    got.sort();
    EXPECT_EQ(got, expected) << got.join(' ').toStdString();
  }
}

TEST_F(Files, FailedAtomicWriteLeavesOldFileAndNoLeftovers) {
  for (FileWriteStep failing : kAllSteps) {
    SCOPED_TRACE(StepName(failing));
    Put("a.xml", "old content");
    SetFileWriteFaultHook([failing](FileWriteStep s, const QString&) { return s == failing; });
    QString error;
    EXPECT_FALSE(WriteFileAtomic(Path("a.xml"), "new content", &error));
    EXPECT_TRUE(error.contains(Path("a.xml"))) << error.toStdString();
    SetFileWriteFaultHook({});
    EXPECT_EQ(Get("a.xml"), "old content");
    EXPECT_EQ(Entries(), QStringList{"a.xml"});
  }
}

TEST_F(Files, AtomicWriteRefusesFoldersAndMissingFolders) {
  ASSERT_TRUE(CreateDir(Path("sub")));
  QString error;
  EXPECT_FALSE(WriteFileAtomic(Path("sub"), "x", &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_TRUE(DirectoryExists(Path("sub")));
  error.clear();
  EXPECT_FALSE(WriteFileAtomic(Path("missing/a.xml"), "x", &error));
  EXPECT_TRUE(error.contains("missing/a.xml")) << error.toStdString();
}

TEST_F(Files, FileSetIsWrittenAllOrNothing) {
  // b.bin is new, a.bin and c.bin exist; whichever step fails on whichever file, the old set stays as it was.
  for (int failingFile = 0; failingFile < 3; ++failingFile) {
    for (FileWriteStep failing : kAllSteps) {
      SCOPED_TRACE(::testing::Message() << "file " << failingFile << " step " << StepName(failing));
      for (const QString& e : Entries()) QFile::remove(Path(e));
      Put("a.bin", "old a");
      Put("c.bin", "old c");
      const QList<FileToWrite> set = {{Path("a.bin"), "new a"}, {Path("b.bin"), "new b"}, {Path("c.bin"), "new c"}};
      const QString failingPath = set[failingFile].Path;
      SetFileWriteFaultHook([&](FileWriteStep s, const QString& target) {
        return s == failing && target == failingPath;
      });
      QString error;
      EXPECT_FALSE(WriteFilesAtomic(set, &error));
      EXPECT_TRUE(error.contains(failingPath)) << error.toStdString();
      SetFileWriteFaultHook({});
      EXPECT_EQ(Get("a.bin"), "old a");
      EXPECT_EQ(Get("c.bin"), "old c");
      EXPECT_EQ(Entries(), (QStringList{"a.bin", "c.bin"}));
    }
  }
  Put("a.bin", "old a");
  ASSERT_TRUE(WriteFilesAtomic({{Path("a.bin"), "new a"}, {Path("b.bin"), "new b"}}));
  EXPECT_EQ(Get("a.bin"), "new a");
  EXPECT_EQ(Get("b.bin"), "new b");
  EXPECT_EQ(Entries(), (QStringList{"a.bin", "b.bin", "c.bin"}));
}

// A folder's set changes as one: the folder's other entries stay as they are (files, links, sub-folders, the
// permissions of a replaced file and of the folder), a step that fails leaves the old folder untouched, and a
// file system that cannot trade folders still gets the set written file by file.
TEST_F(Files, FolderSetChangesAsOneAndKeepsTheOtherEntries) {
  auto folderEntries = [this](const QString& sub) {
    QStringList e = QDir(Path(sub)).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    e.sort();
    return e.join(' ').toStdString();
  };
  auto mode = [this](const QString& name) {
    struct stat st {};
    ::stat(QFile::encodeName(Path(name)).constData(), &st);
    return st.st_mode & 0777;
  };
  const QList<FileToWrite> set = {{Path("bin/a.bin"), "new a"}, {Path("bin/b.bin"), "new b"}};
  struct Case { FileWriteStep step; QString target; bool written; bool leftover; };
  const Case cases[] = {
      {FileWriteStep::CreateTemp, Path("bin"), false, false},
      {FileWriteStep::Link, Path("bin/keep.txt"), false, false},
      {FileWriteStep::CreateTemp, Path("bin/b.bin"), false, false},
      {FileWriteStep::Write, Path("bin/a.bin"), false, false},
      {FileWriteStep::Sync, Path("bin/b.bin"), false, false},
      {FileWriteStep::Rename, Path("bin/b.bin"), false, false},
      {FileWriteStep::Exchange, Path("bin"), true, false},  // written file by file instead
      {FileWriteStep::Remove, Path("bin"), true, true},     // the old set stays beside until the next run
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << StepName(c.step) << " " << c.target.toStdString());
    QDir(Path("bin")).removeRecursively();
    ASSERT_TRUE(CreateDir(Path("bin")));
    ASSERT_TRUE(CreateDir(Path("bin/sub")));
    Put("bin/a.bin", "old a");
    Put("bin/keep.txt", "kept");
    Put("bin/sub/inner", "inner");
    ASSERT_TRUE(QFile::link("keep.txt", Path("bin/link")));
    ::chmod(QFile::encodeName(Path("bin/a.bin")).constData(), 0640);
    ::chmod(QFile::encodeName(Path("bin")).constData(), 0750);
    SetFileWriteFaultHook([&c](FileWriteStep s, const QString& target) { return s == c.step && target == c.target; });
    QString error;
    EXPECT_EQ(WriteFolderFilesAtomic(set, &error), c.written) << error.toStdString();
    SetFileWriteFaultHook({});
    EXPECT_EQ(folderEntries("bin"), c.written ? "a.bin b.bin keep.txt link sub" : "a.bin keep.txt link sub");
    EXPECT_EQ(Get("bin/a.bin"), c.written ? "new a" : "old a");
    EXPECT_EQ(Get("bin/keep.txt"), "kept");
    EXPECT_EQ(Get("bin/sub/inner"), "inner");
    EXPECT_EQ(QFile::symLinkTarget(Path("bin/link")), Path("bin/keep.txt"));
    EXPECT_EQ(mode("bin/a.bin"), 0640u);
    EXPECT_EQ(mode("bin"), 0750u);
    EXPECT_EQ(Entries().size(), c.leftover ? 2 : 1) << Entries().join(' ').toStdString();
    if (c.written) {
      ASSERT_TRUE(WriteFolderFilesAtomic(set));  // the next run takes away what the last one left
      EXPECT_EQ(Entries(), QStringList{"bin"});
    }
  }
}

// A folder reached through a link keeps its link; a folder holding a pipe is written file by file; what is no
// set of files in one existing folder is refused before anything is written.
TEST_F(Files, FolderSetRefusesWhatIsNoSetOfFilesInAFolder) {
  ASSERT_TRUE(CreateDir(Path("real")));
  ASSERT_TRUE(QFile::link(Path("real"), Path("bin")));
  ASSERT_TRUE(WriteFolderFilesAtomic({{Path("bin/a.bin"), "a"}}));
  EXPECT_EQ(QFile::symLinkTarget(Path("bin")), Path("real"));
  EXPECT_EQ(Get("real/a.bin"), "a");
  ASSERT_EQ(::mkfifo(QFile::encodeName(Path("real/pipe")).constData(), 0600), 0);
  ASSERT_TRUE(WriteFolderFilesAtomic({{Path("bin/a.bin"), "new a"}}));
  EXPECT_EQ(Get("real/a.bin"), "new a");
  EXPECT_EQ(Entries(), (QStringList{"bin", "real"}));

  ASSERT_TRUE(CreateDir(Path("real/b.bin")));
  const QList<QList<FileToWrite>> refused = {
      {{Path("real/a.bin"), "x"}, {Path("real/b.bin"), "x"}},  // a folder in the way
      {{Path("real/a.bin"), "x"}, {Path("real/a.bin"), "y"}},  // the same file twice
      {{Path("real/a.bin"), "x"}, {Path("c.bin"), "y"}},       // two folders
      {{Path("missing/a.bin"), "x"}},                         // no folder
  };
  for (const QList<FileToWrite>& files : refused) {
    QString error;
    EXPECT_FALSE(WriteFolderFilesAtomic(files, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(Get("real/a.bin"), "new a");
    EXPECT_EQ(Entries(), (QStringList{"bin", "real"}));
  }
}

TEST_F(Files, FileSetRefusesAFolderTargetBeforeWritingAnything) {
  Put("a.bin", "old a");
  ASSERT_TRUE(CreateDir(Path("b.bin")));
  EXPECT_FALSE(WriteFilesAtomic({{Path("a.bin"), "new a"}, {Path("b.bin"), "new b"}}));
  EXPECT_EQ(Get("a.bin"), "old a");
  EXPECT_EQ(Entries(), (QStringList{"a.bin", "b.bin"}));
}

TEST_F(Files, ReadFailsOnMissingFilesAndFolders) {
  QByteArray data = "stale";
  QString error;
  EXPECT_FALSE(ReadFileBytes(Path("none"), data, &error));
  EXPECT_TRUE(data.isEmpty());
  EXPECT_TRUE(error.contains(Path("none")));
  EXPECT_FALSE(ReadFileBytes(dir_.path(), data));
  EXPECT_FALSE(FileExists(dir_.path()));
  EXPECT_FALSE(FileExists(Path("none")));
  EXPECT_TRUE(DirectoryExists(dir_.path()));
}

// Only regular files are read, and only up to the caller's limit; anything else fails at once, naming the entry,
// without blocking (a pipe nobody writes to) and without reading (an endless device). Only a name with nothing
// behind it is absent.
TEST_F(Files, OnlyRegularFilesWithinTheLimitAreRead) {
  Put("small", "12345");
  ASSERT_TRUE(CreateDir(Path("folder")));
  ASSERT_EQ(::mkfifo(QFile::encodeName(Path("fifo")).constData(), 0600), 0);
  ASSERT_TRUE(QFile::link(Path("nowhere"), Path("dangling")));
  ASSERT_TRUE(QFile::link(Path("fifo"), Path("to-fifo")));
  ASSERT_TRUE(QFile::link(Path("small"), Path("to-small")));
  struct Case { QString path; qint64 limit; bool read; const char* why; bool absent; };
  const Case cases[] = {
      {Path("small"), 5, true, "", false},
      {Path("to-small"), 5, true, "", false},
      {Path("small"), 4, false, "larger than 4 bytes", false},
      {Path("folder"), MaxReadFileSize, false, "folder", false},
      {Path("fifo"), MaxReadFileSize, false, "pipe", false},
      {Path("to-fifo"), MaxReadFileSize, false, "pipe", false},
      {Path("dangling"), MaxReadFileSize, false, "leads nowhere", false},
      {QStringLiteral("/dev/zero"), MaxReadFileSize, false, "device", false},
      {Path("none"), MaxReadFileSize, false, "No such file", true},
      {Path("none/deeper"), MaxReadFileSize, false, "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    QByteArray data = "stale";
    QString error;
    EXPECT_EQ(ReadFileBytes(c.path, data, &error, c.limit), c.read) << error.toStdString();
    EXPECT_EQ(data, c.read ? QByteArray("12345") : QByteArray());
    if (!c.read) {
      EXPECT_TRUE(error.contains(c.path) && error.contains(c.why)) << error.toStdString();
    }
    EXPECT_EQ(FileAbsent(c.path), c.absent);
  }
  EXPECT_TRUE(FileAbsent(QString()));
}

TEST_F(Files, FoldersAreCreatedOneOrAllLevels) {
  EXPECT_FALSE(CreateDir(Path("x/y")));
  EXPECT_TRUE(ForceDirectories(Path("x/y/z")));
  EXPECT_TRUE(DirectoryExists(Path("x/y/z")));
  EXPECT_TRUE(ForceDirectories(Path("x/y/z")));
  EXPECT_FALSE(CreateDir(Path("x")));  // exists already
  Put("f", "");
  EXPECT_FALSE(ForceDirectories(Path("f")));
}

TEST_F(Files, ListingsAreFilteredAndSortedStably) {
  for (const char* f : {"b.lng", "a.LNG", "A.lng", "c.txt", ".hidden.lng", "English.lng", "lng", "x.lng.bak"})
    Put(f, "");
  for (const char* d : {"PROJ_b", "proj_a", "Proj_A", "d.lng"}) ASSERT_TRUE(CreateDir(Path(d)));

  struct Case { const char* mask; QStringList want; };
  const Case cases[] = {
      {"*.lng", {"A.lng", "a.LNG", "b.lng", "English.lng"}},
      {"?.lng", {"A.lng", "a.LNG", "b.lng"}},
      {"*", {"A.lng", "a.LNG", "b.lng", "c.txt", "English.lng", "lng", "x.lng.bak"}},
      {"", {"A.lng", "a.LNG", "b.lng", "c.txt", "English.lng", "lng", "x.lng.bak"}},
      {"*lng*", {"A.lng", "a.LNG", "b.lng", "English.lng", "lng", "x.lng.bak"}},
      {"english.LNG", {"English.lng"}},
      {"*.xml", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ListFiles(dir_.path(), c.mask), c.want) << c.mask;
  EXPECT_EQ(ListDirectories(dir_.path()), (QStringList{"d.lng", "Proj_A", "proj_a", "PROJ_b"}));
  EXPECT_EQ(ListFiles(Path("none")), QStringList());
  EXPECT_EQ(ListDirectories(Path("none")), QStringList());
}

TEST(FilePaths, ExeDirIsTheProgramFolderWithoutSeparator) {
  const QString dir = ExeDir();
  EXPECT_FALSE(dir.endsWith(u'/'));
  EXPECT_EQ(QFileInfo(dir).canonicalFilePath(), QFileInfo(QCoreApplication::applicationDirPath()).canonicalFilePath());
  EXPECT_TRUE(FileExists(dir + u'/' + QFileInfo(QCoreApplication::applicationFilePath()).fileName()));
}

TEST(FilePaths, PathTexts) {
  struct Case { const char* in; const char* path; const char* name; const char* ext; const char* toXml; };
  const Case cases[] = {
      {"/a/b/c.txt", "/a/b/", "c.txt", ".txt", "/a/b/c.xml"},
      {"/a/b.d/c", "/a/b.d/", "c", "", "/a/b.d/c.xml"},
      {"c.tar.gz", "", "c.tar.gz", ".gz", "c.tar.xml"},
      {"/a/b/", "/a/b/", "", "", "/a/b/.xml"},
      {"/", "/", "", "", "/.xml"},
      {"", "", "", "", ".xml"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractFilePath(c.in), QString(c.path)) << c.in;
    EXPECT_EQ(ExtractFileName(c.in), QString(c.name)) << c.in;
    EXPECT_EQ(ExtractFileExt(c.in), QString(c.ext)) << c.in;
    EXPECT_EQ(ChangeFileExt(c.in, ".xml"), QString(c.toXml)) << c.in;
  }
  EXPECT_EQ(ChangeFileExt("/a/b.txt", ""), "/a/b");

  struct Delim { const char* in; const char* included; const char* excluded; };
  const Delim delims[] = {{"/a/b", "/a/b/", "/a/b"}, {"/a/b/", "/a/b/", "/a/b"}, {"/", "/", "/"}, {"", "/", ""}};
  for (const Delim& d : delims) {
    EXPECT_EQ(IncludeTrailingPathDelimiter(d.in), QString(d.included)) << d.in;
    EXPECT_EQ(ExcludeTrailingPathDelimiter(d.in), QString(d.excluded)) << d.in;
  }
}
