#include "platform/rtl/inifile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/rtl/exceptions.h"
#include "printers.h"

using namespace plat;

namespace {

QByteArray ReadAll(const QString& Path) {
  QFile f(Path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString& Path, const QByteArray& Data) {
  QFile f(Path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(Data);
}

}  // namespace

TEST(IniFile, ReadsTheUsualShapes) {
  QTemporaryDir dir;
  const QString path = dir.filePath("settings.ini");
  WriteAll(path,
           "orphan=ignored\n"
           "; comment\n"
           "[Main]\r\n"
           "  Port = 0x1F6 \n"
           "Name=  Converter 1\n"
           "Flag=1\n"
           "Off=0\n"
           "Bad=12x\n"
           "Ratio=2.5\n"
           "plain line\n"
           "\n"
           "[ Other ]\n"
           "Für=Größe\n");
  TMemIniFile ini(path);
  struct Case {
    const char* section;
    const char* ident;
    const char* want;
  };
  const Case cases[] = {
      {"Main", "Port", "0x1F6"},  {"MAIN", "name", "Converter 1"}, {"Main", "missing", "dflt"},
      {"Nope", "Port", "dflt"},   {"Other", "Für", "Größe"},       {"Main", "orphan", "dflt"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ini.ReadString(QString::fromUtf8(c.section), QString::fromUtf8(c.ident), "dflt"),
              QString::fromUtf8(c.want))
        << c.section << "/" << c.ident;
  EXPECT_EQ(ini.ReadInteger("Main", "Port", -1), 0x1F6);
  EXPECT_EQ(ini.ReadInteger("Main", "Bad", -1), -1);
  EXPECT_TRUE(ini.ReadBool("Main", "Flag", false));
  EXPECT_FALSE(ini.ReadBool("Main", "Off", true));
  EXPECT_TRUE(ini.ReadBool("Main", "Missing", true));
  EXPECT_EQ(ini.ReadFloat("Main", "Ratio", 0), 2.5);
  EXPECT_TRUE(ini.SectionExists("other"));
  EXPECT_FALSE(ini.SectionExists("x"));
  EXPECT_TRUE(ini.ValueExists("Main", "FLAG"));
  EXPECT_FALSE(ini.ValueExists("Main", "plain line"));
  TStringList list;
  ini.ReadSections(list);
  EXPECT_EQ(list.CommaText(), QString("Main,Other"));
  ini.ReadSection("Main", list);
  EXPECT_EQ(list.CommaText(), QString("Port,Name,Flag,Off,Bad,Ratio"));
  ini.ReadSectionValues("Other", list);
  EXPECT_EQ(list.Text(), QString::fromUtf8("Für=Größe\r\n"));
}

TEST(IniFile, RoundTripAndWriteThrough) {
  QTemporaryDir dir;
  const QString path = dir.filePath("out.ini");
  {
    TMemIniFile mem(path);
    mem.WriteString("A", "Text", "hello world");
    mem.WriteInteger("A", "Count", -3);
    mem.WriteBool("B", "On", true);
    mem.WriteFloat("B", "Ratio", 0.125);
    mem.WriteString("a", "count", "4");  // same section and key, other case
    EXPECT_EQ(ReadAll(path), QByteArray("<missing>"));  // nothing written before UpdateFile
    mem.UpdateFile();
  }
  EXPECT_EQ(ReadAll(path), QByteArray("[A]\r\nText=hello world\r\ncount=4\r\n\r\n[B]\r\nOn=1\r\nRatio=0.125\r\n\r\n"));
  {
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("A", "Count", 0), 4);
    ini.DeleteKey("A", "Text");
    EXPECT_FALSE(ReadAll(path).contains("Text"));  // written at once
    ini.EraseSection("B");
    ini.WriteString("C", "K", "v");
  }
  TMemIniFile back(path);
  TStringList lines;
  back.GetStrings(lines);
  EXPECT_EQ(lines.Text(), QString("[A]\r\ncount=4\r\n\r\n[C]\r\nK=v\r\n\r\n"));
}

TEST(IniFile, FailedWriteKeepsTheOldFile) {
  QTemporaryDir dir;
  const QString sub = dir.filePath("ro");
  ASSERT_TRUE(QDir().mkpath(sub));
  const QString path = sub + "/x.ini";
  WriteAll(path, "[S]\nk=old\n");
  QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  const bool canWrite = QFile(sub + "/probe").open(QIODevice::WriteOnly);  // true when running as root
  TIniFile ini(path);
  if (!canWrite) {
    EXPECT_THROW(ini.WriteString("S", "k", "new"), EFCreateError);
    EXPECT_EQ(ReadAll(path), QByteArray("[S]\nk=old\n"));
  }
  QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  EXPECT_THROW(TMemIniFile(dir.path()), EFOpenError);  // a folder is not a readable file
  TMemIniFile nowhere(dir.filePath("missing/x.ini"));
  nowhere.WriteString("S", "k", "v");
  EXPECT_THROW(nowhere.UpdateFile(), EFCreateError);
}
