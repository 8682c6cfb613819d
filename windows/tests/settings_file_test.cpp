#include "windows/settings_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

#include "core/device_model.h"
#include "platform/xml/xmldocument.h"

namespace {

void WriteText(const QString& path, const QByteArray& text) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text);
}

QByteArray ReadText(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct ReadCase {
  const char* name;
  const char* file;  // nullptr: no file
  TSettingsRead result;
  const char* project;
  const char* ip;
  const char* language;
  bool internet;
  bool update;
};

const char Full[] =
    "<Conf_Settings><lastproj><projectname>Plant1</projectname></lastproj>"
    "<lastipadd><ipaddress>127.0.0.9</ipaddress></lastipadd><lastlang><language>Deutsch</language></lastlang>"
    "<lastinternet><enable_internet>1</enable_internet><enable_update>1</enable_update></lastinternet>"
    "</Conf_Settings>";

const ReadCase ReadCases[] = {
    {"no file", nullptr, TSettingsRead::Missing, "", "192.168.2.205", "English", false, false},
    {"every value", Full, TSettingsRead::Read, "Plant1", "127.0.0.9", "Deutsch", true, true},
    {"only 1 switches on",
     "<Conf_Settings><lastinternet><enable_internet>1</enable_internet><enable_update>true</enable_update>"
     "</lastinternet></Conf_Settings>",
     TSettingsRead::Read, "", "192.168.2.205", "English", true, false},
    {"each value on its own",
     "<Conf_Settings><lastlang><language>Italiano</language></lastlang><lastipadd/></Conf_Settings>",
     TSettingsRead::Read, "", "192.168.2.205", "Italiano", false, false},
    {"order does not matter, root after a declaration and a comment",
     "<?xml version=\"1.0\"?><!-- x --><Conf_Settings><lastinternet><enable_update>1</enable_update>"
     "<enable_internet> 1</enable_internet></lastinternet><lastproj><projectname>A b</projectname></lastproj>"
     "</Conf_Settings>",
     TSettingsRead::Read, "A b", "192.168.2.205", "English", false, true},
    {"not well-formed", "<Conf_Settings><lastproj><projectname>X</lastproj>", TSettingsRead::Malformed, "",
     "192.168.2.205", "English", false, false},
    {"empty file", "", TSettingsRead::Malformed, "", "192.168.2.205", "English", false, false},
};

TEST(SettingsFile, ReadsEachValueWithItsDefault) {
  for (const ReadCase& c : ReadCases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir dir;
    const QString path = dir.filePath("Tessaron.xml");
    if (c.file) WriteText(path, c.file);
    // Stale state from an earlier run must not survive a read.
    Name_Project = "stale";
    Dir_Project = "stale";
    Last_IP_Address = "stale";
    Lang_Selected = "stale";
    Enable_Internet = Enable_Update = true;
    plat::TXMLDocument doc;
    QString error;
    EXPECT_EQ(Read_Settings(doc, path, &error), c.result);
    EXPECT_EQ(Name_Project, c.project);
    EXPECT_TRUE(Dir_Project.isEmpty());
    EXPECT_EQ(Last_IP_Address, c.ip);
    EXPECT_EQ(Lang_Selected, c.language);
    EXPECT_EQ(Enable_Internet, c.internet);
    EXPECT_EQ(Enable_Update, c.update);
    EXPECT_EQ(error.isEmpty(), c.result != TSettingsRead::Malformed);
  }
}

TEST(SettingsFile, WritesTheFiveValuesInOrderAndReadsThemBack) {
  QTemporaryDir dir;
  const QString path = dir.filePath("Tessaron.xml");
  Name_Project = "Plant <1>";
  Last_IP_Address = "127.0.0.1";
  Lang_Selected = "English";
  Enable_Internet = true;
  Enable_Update = false;
  plat::TXMLDocument doc;
  WriteText(path, Full);
  ASSERT_EQ(Read_Settings(doc, path), TSettingsRead::Read);
  Name_Project = "Plant <1>";
  Last_IP_Address = "127.0.0.1";
  Lang_Selected = "English";
  Enable_Internet = true;
  Enable_Update = false;
  ASSERT_TRUE(Write_Settings(doc, path));
  EXPECT_EQ(ReadText(path),
            "<Conf_Settings>\n"
            "  <lastproj>\n    <projectname>Plant &lt;1&gt;</projectname>\n  </lastproj>\n"
            "  <lastipadd>\n    <ipaddress>127.0.0.1</ipaddress>\n  </lastipadd>\n"
            "  <lastlang>\n    <language>English</language>\n  </lastlang>\n"
            "  <lastinternet>\n    <enable_internet>1</enable_internet>\n    <enable_update>0</enable_update>\n"
            "  </lastinternet>\n"
            "</Conf_Settings>\n");
  plat::TXMLDocument again;
  ASSERT_EQ(Read_Settings(again, path), TSettingsRead::Read);
  EXPECT_EQ(Name_Project, "Plant <1>");
  EXPECT_TRUE(Enable_Internet);
  EXPECT_FALSE(Enable_Update);
}

TEST(SettingsFile, KeepsAnUnreadableFileBesideTheNewOne) {
  QTemporaryDir dir;
  const QString path = dir.filePath("Tessaron.xml");
  const QString kept = dir.filePath("Tessaron.xml.bad");
  WriteText(path, "<Conf_Settings><broken>");
  WriteText(kept, "older");
  plat::TXMLDocument doc;
  ASSERT_EQ(Read_Settings(doc, path), TSettingsRead::Malformed);
  ASSERT_TRUE(Write_Settings(doc, path, kept));
  EXPECT_EQ(ReadText(kept), "<Conf_Settings><broken>");
  plat::TXMLDocument again;
  EXPECT_EQ(Read_Settings(again, path), TSettingsRead::Read);
}

TEST(SettingsFile, AFailedWriteIsReported) {
  QTemporaryDir dir;
  plat::TXMLDocument doc;
  QString error;
  // A folder in the way of the file: no rights let that save succeed.
  ASSERT_TRUE(QDir().mkdir(dir.filePath("Tessaron.xml")));
  EXPECT_FALSE(Write_Settings(doc, dir.filePath("Tessaron.xml"), QString(), &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(Write_Settings(doc, dir.filePath("missing/Tessaron.xml"), QString(), &error));
}

}  // namespace

// A settings file that is no regular file, or far too large for one, is refused at once like a corrupt file:
// a pipe must not hold up the start and a link to an endless device must not be read.
TEST(SettingsFile, OnlyARegularFileOfASettingsFileSizeIsRead) {
  struct Case { const char* kind; std::function<bool(const QString&)> make; };
  const Case cases[] = {
      {"pipe", [](const QString& p) { return ::mkfifo(QFile::encodeName(p).constData(), 0600) == 0; }},
      {"link to a device", [](const QString& p) { return QFile::link(QStringLiteral("/dev/zero"), p); }},
      {"folder", [](const QString& p) { return QDir().mkdir(p); }},
      {"dangling link", [](const QString& p) { return QFile::link(p + QStringLiteral(".gone"), p); }},
      {"huge file", [](const QString& p) {
         QFile f(p);
         return f.open(QIODevice::WriteOnly) && f.write(QByteArray(Full) + "<!--" + QByteArray(2 << 20, 'x') + "-->") > 0;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    QTemporaryDir dir;
    const QString path = dir.filePath("Tessaron.xml");
    ASSERT_TRUE(c.make(path));
    plat::TXMLDocument doc;
    QString error;
    EXPECT_EQ(Read_Settings(doc, path, &error), TSettingsRead::Malformed);
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
    EXPECT_EQ(Last_IP_Address, "192.168.2.205");
  }
}
