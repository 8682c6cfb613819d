// Starting programs from an argument list and the bounded wait.

#include "platform/io/process.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <thread>

using namespace plat;

namespace {

QString Shell() { return QStringLiteral("/bin/sh"); }

void Nap() { std::this_thread::sleep_for(std::chrono::milliseconds(5)); }

}  // namespace

TEST(Process, ArgumentsArriveUnsplitInTheWorkingFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // The child writes its working folder and each argument on a line of its own.
  const QStringList args = {QStringLiteral("-c"), QStringLiteral("pwd > out.txt; printf '%s\\n' \"$@\" >> out.txt"),
                            QStringLiteral("sh"),  QStringLiteral("a b"),
                            QStringLiteral("\"q\" \\bin\\"), QString(), QStringLiteral("$HOME;x")};
  TStartedProcess p;
  QString error;
  ASSERT_TRUE(StartProcess(Shell(), args, dir.path(), p, &error)) << error.toStdString();
  int code = -1;
  ASSERT_EQ(WaitForProcess(p, 10000, Nap, MonotonicTicks, &code), TWaitResult::Ended);
  EXPECT_EQ(code, 0);
  QFile f(dir.filePath(QStringLiteral("out.txt")));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
  ASSERT_GE(lines.size(), 5);
  EXPECT_EQ(QDir(lines[0]).canonicalPath(), QDir(dir.path()).canonicalPath());
  EXPECT_EQ(lines[1], QStringLiteral("a b"));
  EXPECT_EQ(lines[2], QStringLiteral("\"q\" \\bin\\"));
  EXPECT_EQ(lines[3], QString());
  EXPECT_EQ(lines[4], QStringLiteral("$HOME;x"));
}

TEST(Process, ExitCodeIsReported) {
  for (int want : {0, 3, 255}) {
    TStartedProcess p;
    ASSERT_TRUE(StartProcess(Shell(), {QStringLiteral("-c"), QStringLiteral("exit %1").arg(want)}, QString(), p));
    int code = -1;
    ASSERT_EQ(WaitForProcess(p, 10000, Nap, MonotonicTicks, &code), TWaitResult::Ended);
    EXPECT_EQ(code, want);
  }
}

TEST(Process, ProgramsThatCannotStartSayWhy) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString notExecutable = dir.filePath(QStringLiteral("plain.exe"));
  const QString noFormat = dir.filePath(QStringLiteral("windows.exe"));
  {
    QFile f(notExecutable);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("data");
  }
  {
    QFile f(noFormat);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("MZ\x90\x00 not a program for this system");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  struct Case {
    QString Program;
    QString WorkDir;
    const char* Reason;
  } cases[] = {
      {dir.filePath(QStringLiteral("missing.exe")), QString(), "does not exist"},
      {notExecutable, QString(), "not executable"},
      {noFormat, QString(), "not a program"},
      {Shell(), dir.filePath(QStringLiteral("no-such-folder")), "does not exist"},
  };
  for (const Case& c : cases) {
    TStartedProcess p;
    QString error;
    // Root may execute any file with an execute bit, so the mode case only counts where it applies.
    const bool started = StartProcess(c.Program, {QStringLiteral("-c"), QStringLiteral("exit 0")}, c.WorkDir, p, &error);
    if (started && c.Program == notExecutable && geteuid() == 0) {
      WaitForProcess(p, 10000, Nap);
      continue;
    }
    EXPECT_FALSE(started) << c.Program.toStdString();
    EXPECT_EQ(p.Pid, -1);
    EXPECT_TRUE(error.contains(QString::fromLatin1(c.Reason))) << error.toStdString();
    EXPECT_TRUE(error.contains(c.Program)) << error.toStdString();
  }
}

TEST(Process, WaitStopsAtTheLimitAndLeavesTheProgramRunning) {
  TStartedProcess p;
  ASSERT_TRUE(StartProcess(QStringLiteral("/bin/sleep"), {QStringLiteral("30")}, QString(), p));
  // A clock that jumps 10 s at every reading: the 150 s bound is reached after a few checks, in no real time.
  uint32_t now = 0xFFFFF000u;  // close to the wrap, which must not matter
  int idles = 0;
  const auto clock = [&] {
    const uint32_t t = now;
    now += 10000;
    return t;
  };
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(WaitForProcess(p, 150000, [&] { ++idles; }, clock), TWaitResult::TimedOut);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(idles, 14);  // readings at 10, 20, ... 140 s are under the bound; 150 s is not
  EXPECT_EQ(kill(p.Pid, 0), 0) << "the wait must not end the program";
  EXPECT_GE(ReapFinishedProcesses(), 1);
  // The test ends its own child; the abandoned program is then reaped, not left as a zombie.
  ASSERT_EQ(kill(p.Pid, SIGTERM), 0);
  for (int i = 0; i < 500 && ReapFinishedProcesses() > 0; ++i) Nap();
  EXPECT_EQ(ReapFinishedProcesses(), 0);
  EXPECT_NE(kill(p.Pid, 0), 0);
}

TEST(Process, WaitEndsWhenTheProgramEndsBeforeTheLimit) {
  TStartedProcess p;
  ASSERT_TRUE(StartProcess(QStringLiteral("/bin/sleep"), {QStringLiteral("0.2")}, QString(), p));
  int idles = 0;
  EXPECT_EQ(WaitForProcess(p, 150000, [&] { ++idles; Nap(); }), TWaitResult::Ended);
  EXPECT_GT(idles, 0);
}

TEST(Process, TheProgramRunsInASessionOfItsOwn) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  TStartedProcess p;
  ASSERT_TRUE(StartProcess(Shell(), {QStringLiteral("-c"), QStringLiteral("cut -d' ' -f6 /proc/$$/stat > sid.txt")},
                           dir.path(), p));
  ASSERT_EQ(WaitForProcess(p, 10000, Nap), TWaitResult::Ended);
  QFile f(dir.filePath(QStringLiteral("sid.txt")));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const pid_t sid = static_cast<pid_t>(f.readAll().trimmed().toLong());
  EXPECT_EQ(sid, p.Pid);
  EXPECT_NE(sid, getsid(0));
}
