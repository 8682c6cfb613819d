// What reaches bin/: a configuration file that is there but cannot be read stops the compile, and a bank set
// changes as one, whatever step of the save is cut short.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/bank_writer.h"
#include "core/compiler.h"
#include "core/device_model.h"
#include "core/network_compiler.h"
#include "core/tests/bank_test_util.h"
#include "platform/io/files.h"

using namespace bank_test;
using core::bank::Bank_Set;
using core::bank::Compile;
using core::bank::ECompileError;

namespace {

const QByteArray kNetwork =
    "<Nodo Node_Enable=\"1\" ID_Primary=\"2\"><Variabile Enable=\"1\" Type=\"0\" Fun_Field=\"0\" Dim=\"1\" "
    "ModReg=\"1\" ModScale=\"0\"/></Nodo>";

// Type 3 with its Ethernet port: a set of two files.
const Elements kParGen = {
    {"Sel_Dev", "1"}, {"Sel_Dev_MBus_Present", "1"}, {"Mod_Ser", "1"}, {"Mod_Baud", "7"}, {"Mod_Par", "0"},
    {"Mod_Id", "1"}, {"Mod_StopBit", "0"}, {"Mod_Protocol", "0"}, {"Meter_Baud", "3"}, {"Meter_Par", "1"},
    {"Meter_Req_Type", "1"}, {"Meter_Req_Delay", "100"}, {"Node_State", "0xFF"}, {"IP_1", "192"}, {"IP_2", "168"},
    {"IP_3", "0"}, {"IP_4", "10"}, {"SM_1", "255"}, {"SM_2", "255"}, {"SM_3", "255"}, {"SM_4", "0"},
    {"GA_1", "192"}, {"GA_2", "168"}, {"GA_3", "0"}, {"GA_4", "1"}, {"Gat_Enable", "0"}};

// The bin/ folder's files and their contents.
QMap<QString, QByteArray> Files_In(const QString& folder) {
  QMap<QString, QByteArray> files;
  for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
    QByteArray data;
    plat::ReadFileBytes(folder + u'/' + name, data);
    files.insert(name, data);
  }
  return files;
}

QMap<QString, QByteArray> Files_Of(const Bank_Set& set) {
  QMap<QString, QByteArray> files;
  for (const auto& f : set.Files) files.insert(f.Name, f.Data);
  return files;
}

}  // namespace

// Something other than a file in place of a configuration file is no missing file: compiling it as an empty
// network would overwrite a good bank set and report success.
TEST(BankSet, AConfigurationFileThatIsNoRegularFileStopsTheCompile) {
  using Make = bool (*)(const QString& path);
  struct Case { const char* kind; Make make; };
  const Case cases[] = {
      {"folder", [](const QString& p) { return QDir().mkdir(p); }},
      {"dangling link", [](const QString& p) { return QFile::link(p + ".gone", p); }},
      {"pipe", [](const QString& p) { return ::mkfifo(QFile::encodeName(p).constData(), 0600) == 0; }},
      {"link to a device", [](const QString& p) { return QFile::link(QStringLiteral("/dev/zero"), p); }},
  };
  for (const bool parGen : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(parGen ? "ParGen.xml " : "M_Bus.xml ") + c.kind);
      Config_Dir d;
      d.Write_ParGen(kParGen);
      d.Write_MBus(kNetwork);
      const Bank_Set good = Compile(3, 1, d.ParGen(), d.MBus());
      ASSERT_TRUE(core::bank::Save_Bank_Set(d.Bin(), good));

      const QString broken = parGen ? d.ParGen() : d.MBus();
      ASSERT_TRUE(QFile::remove(broken));
      ASSERT_TRUE(c.make(broken));
      File_ParGen = d.ParGen();
      File_MBus = d.MBus();
      Bank_Device_Type = 3;
      Bank_Sel_Dev = 1;
      try {
        Compile_Configuration();
        ADD_FAILURE() << "compiled";
      } catch (const ECompileError& e) {
        EXPECT_TRUE(e.Message().contains(broken)) << e.Message().toStdString();
      }
      QString error;
      EXPECT_FALSE(Save_Bank_Files(d.Bin(), &error));
      EXPECT_EQ(Files_In(d.Bin()), Files_Of(good));
    }
  }
  File_ParGen.clear();
  File_MBus.clear();
}

// The save is killed at each step the file layer takes, one run per step, until a run is no longer cut short.
// Whatever the step, bin/ then holds the old set or the new one, never a mix, and the file of the other variant
// that is no part of either set stays. The next save leaves no temporary file or folder behind.
TEST(BankSet, ASaveKilledAtAnyStepLeavesTheOldSetOrTheNewOne) {
  Config_Dir d;
  d.Write_ParGen(kParGen);
  d.Write_MBus(kNetwork);
  const Bank_Set oldSet = Compile(3, 1, d.ParGen(), d.MBus());
  d.Write_MBus(QByteArray(kNetwork).replace("ID_Primary=\"2\"", "ID_Primary=\"3\""));
  const Bank_Set newSet = Compile(3, 1, d.ParGen(), d.MBus());
  QMap<QString, QByteArray> before = Files_Of(oldSet), after = Files_Of(newSet);
  ASSERT_NE(before, after);
  before.insert("bank.bin", "variant 0");
  after.insert("bank.bin", "variant 0");

  constexpr int kKilled = 42;
  bool sawOld = false, sawNew = false;
  int step = 1;
  for (;; ++step) {
    SCOPED_TRACE(::testing::Message() << "killed at step " << step);
    for (auto it = before.begin(); it != before.end(); ++it) d.Write(d.Bin() + u'/' + it.key(), it.value());
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      int calls = 0;
      plat::SetFileWriteFaultHook([&calls, step](plat::FileWriteStep, const QString&) {
        if (++calls == step) ::_exit(kKilled);
        return false;
      });
      ::_exit(core::bank::Save_Bank_Set(d.Bin(), newSet) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 0) break;  // this run reached its end
    ASSERT_EQ(WEXITSTATUS(status), kKilled);
    const QMap<QString, QByteArray> found = Files_In(d.Bin());
    EXPECT_TRUE(found == before || found == after) << QStringList(found.keys()).join(' ').toStdString();
    sawOld = sawOld || found == before;
    sawNew = sawNew || found == after;

    QString error;
    ASSERT_TRUE(core::bank::Save_Bank_Set(d.Bin(), newSet, &error)) << error.toStdString();
    EXPECT_EQ(Files_In(d.Bin()), after);
    QStringList entries = QDir(d.Path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    entries.sort();
    EXPECT_EQ(entries.join(' ').toStdString(), "M_Bus.xml ParGen.xml bin");
  }
  EXPECT_GT(step, 8);  // every file written, kept and exchanged is a step of its own
  EXPECT_TRUE(sawOld);
  EXPECT_TRUE(sawNew);
  EXPECT_EQ(Files_In(d.Bin()), after);
}
