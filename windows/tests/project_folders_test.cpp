#include "windows/project_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct NameCase {
  QString name;
  int result;
};

TEST(ProjectFolders, CreatesOnlySafeNewNames) {
  QTemporaryDir root;
  const QString projects = root.filePath("PROJECTS");
  ASSERT_TRUE(QDir().mkdir(projects));
  ASSERT_TRUE(QDir().mkdir(projects + "/Existing"));
  QFile(projects + "/afile").open(QIODevice::WriteOnly);

  const NameCase cases[] = {
      {"", 32},
      {"Existing", 31},
      {"EXISTING", 31},  // would clash on a file system that ignores case
      {"afile", 31},
      {"..", 30},
      {".", 30},
      {"../evil", 30},
      {"a/b", 30},
      {"a\\b", 30},
      {"/tmp/x", 30},
      {"c:x", 30},
      {QString("a") + QChar(9) + "b", 30},
      {QString("a") + QChar(0) + "b", 30},
      {"x\"y", 30},
      {"a<b", 30},
      {"a|b", 30},
      {"a?b", 30},
      {"a*b", 30},
      {" lead", 30},
      {"trail ", 30},
      {"dot.", 30},
      {QString(256, 'n'), 30},
      {QString(255, 'n'), 0},
      {"Plant 1", 0},
      {"Anlage-Süd.2", 0},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    const QStringList before = QDir(root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const QStringList beforeProjects = QDir(projects).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    EXPECT_EQ(Create_Configuration(projects, c.name), c.result);
    if (c.result == 0) {
      EXPECT_TRUE(QFileInfo(projects + "/" + c.name + "/bin").isDir());
      EXPECT_EQ(QDir(projects + "/" + c.name).entryList(QDir::Files).size(), 0);
    } else {
      // Nothing is created anywhere.
      EXPECT_EQ(QDir(root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
      EXPECT_EQ(QDir(projects).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), beforeProjects);
    }
  }
  EXPECT_FALSE(QFileInfo::exists(root.filePath("evil")));
}

TEST(ProjectFolders, AFolderThatCannotBeCreatedGivesText30) {
  QTemporaryDir root;
  EXPECT_EQ(Create_Configuration(root.filePath("missing/PROJECTS"), "Plant"), 30);
  EXPECT_FALSE(QFileInfo::exists(root.filePath("missing")));
}

TEST(ProjectFolders, ListsFoldersOnlyAndSearchesExactFirst) {
  QTemporaryDir root;
  const QString projects = root.filePath("PROJECTS");
  EXPECT_TRUE(List_Configurations(projects).isEmpty());
  QDir().mkpath(projects + "/beta");
  QDir().mkpath(projects + "/Alpha");
  QDir().mkpath(projects + "/alpha");
  QFile(projects + "/file.xml").open(QIODevice::WriteOnly);
  const QStringList list = List_Configurations(projects);
  EXPECT_EQ(list, QStringList({"Alpha", "alpha", "beta"}));
  EXPECT_EQ(Search_Name(list, "alpha"), 1);
  EXPECT_EQ(Search_Name(list, "ALPHA"), 0);
  EXPECT_EQ(Search_Name(list, "BETA"), 2);
  EXPECT_EQ(Search_Name(list, "gamma"), -1);
  EXPECT_EQ(Search_Name(list, ""), -1);

  EXPECT_TRUE(Configuration_Exists(projects, "beta"));
  EXPECT_FALSE(Configuration_Exists(projects, "file.xml"));
  EXPECT_FALSE(Configuration_Exists(projects, "gamma"));
  EXPECT_FALSE(Configuration_Exists(projects, ""));
  EXPECT_FALSE(Configuration_Exists(projects, ".."));
  EXPECT_FALSE(Configuration_Exists(projects + "/beta", "../alpha"));
}

TEST(ProjectFolders, ListsLanguageFilesSortedWithoutRegardToCase) {
  QTemporaryDir root;
  for (const char* f : {"italiano.lng", "English.lng", "Deutsch.lng", "flag.bmp", "Upper.LNG", ".lng"}) {
    QFile(root.filePath(f)).open(QIODevice::WriteOnly);
  }
  QDir().mkdir(root.filePath("Folder.lng"));
  EXPECT_EQ(List_Language_Files(root.path()), QStringList({"Deutsch.lng", "English.lng", "italiano.lng"}));
  EXPECT_TRUE(List_Language_Files(root.filePath("none")).isEmpty());
}

}  // namespace
