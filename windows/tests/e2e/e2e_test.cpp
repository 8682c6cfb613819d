// The configurator as a user starts it: copied into an empty folder, started under the X server this test runs
// in, looked at, and closed from the title bar.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include "windows/tests/e2e/x_display.h"

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

namespace {

const char Title[] = "Veltrum - Configurator SW51645 - M-Bus Multi-Master / Modbus ";

class Program : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X server (run under xvfb-run)";
    ASSERT_TRUE(x_.Ok());
    // The program keeps its folders beside its executable, so it runs from a folder of its own.
    exe_ = dir_.filePath("configurator");
    ASSERT_TRUE(QFile::copy(CONFIGURATOR_EXE, exe_));
    QFile::setPermissions(exe_, QFile::permissions(exe_) | QFile::ExeOwner);
  }

  void TearDown() override {
    if (proc_.state() != QProcess::NotRunning) {
      proc_.kill();
      proc_.waitForFinished(5000);
    }
  }

  void Write(const QString& rel, const QByteArray& text) {
    QDir().mkpath(QFileInfo(dir_.filePath(rel)).path());
    QFile f(dir_.filePath(rel));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  }
  std::string Read(const QString& rel) {
    QFile f(dir_.filePath(rel));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
  }

  // Starts the program and waits for its main window.
  xcb_window_t StartAndWait() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    proc_.setProcessEnvironment(env);
    proc_.setWorkingDirectory(QDir::tempPath());  // not its own folder: the folders follow the executable
    proc_.setProcessChannelMode(QProcess::ForwardedChannels);
    proc_.start(exe_, {});
    EXPECT_TRUE(proc_.waitForStarted(10000));
    QElapsedTimer t;
    t.start();
    std::optional<xcb_window_t> w;
    while (!(w = x_.Find(Title)) && t.elapsed() < 30000 && proc_.state() == QProcess::Running) {
      QThread::msleep(50);
    }
    EXPECT_TRUE(w.has_value()) << "no window titled \"" << Title << "\"";
    QThread::msleep(500);  // let it paint
    return w.value_or(0);
  }

  void CloseAndWait(xcb_window_t w) {
    x_.Close(w);
    ASSERT_TRUE(proc_.waitForFinished(15000)) << "the program did not end when its window was closed";
    EXPECT_EQ(proc_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(proc_.exitCode(), 0);
  }

  XConnection x_;
  QTemporaryDir dir_;
  QString exe_;
  QProcess proc_;
};

TEST_F(Program, FirstStartShowsTheMainWindowAndSavesTheSettingsAtClose) {
  const xcb_window_t w = StartAndWait();
  ASSERT_NE(w, 0u);
  const QImage shot = x_.Grab(w);
  ASSERT_FALSE(shot.isNull());
  shot.save(QStringLiteral(TEST_BINARY_DIR "/main_window.png"));
  EXPECT_EQ(shot.width(), 694);
  EXPECT_EQ(shot.height(), 396);
  // The window's own background in a free corner, and something drawn on it.
  EXPECT_EQ(shot.pixelColor(4, shot.height() - 4), QColor(248, 247, 237));
  int painted = 0;
  for (int y = 0; y < shot.height(); y += 2) {
    for (int x = 0; x < shot.width(); x += 2) painted += shot.pixelColor(x, y) != QColor(248, 247, 237);
  }
  EXPECT_GT(painted, 1000);

  for (const char* d : {"MASTER", "PROJECTS", "LANGUAGE"}) EXPECT_TRUE(QFileInfo(dir_.filePath(d)).isDir()) << d;
  EXPECT_FALSE(QFileInfo::exists(dir_.filePath("Tessaron.xml")));
  EXPECT_FALSE(QFileInfo::exists(QDir(QDir::tempPath()).filePath("Tessaron.xml")) &&
               QFileInfo(QDir(QDir::tempPath()).filePath("Tessaron.xml")).lastModified().secsTo(
                   QDateTime::currentDateTime()) < 5);

  CloseAndWait(w);
  EXPECT_EQ(Read("Tessaron.xml"),
            "<Conf_Settings>\n"
            "  <lastproj>\n    <projectname/>\n  </lastproj>\n"
            "  <lastipadd>\n    <ipaddress>192.168.2.205</ipaddress>\n  </lastipadd>\n"
            "  <lastlang>\n    <language>English</language>\n  </lastlang>\n"
            "  <lastinternet>\n    <enable_internet>0</enable_internet>\n    <enable_update>0</enable_update>\n"
            "  </lastinternet>\n"
            "</Conf_Settings>\n");
}

TEST_F(Program, ReopensTheLastConfigurationAndWritesTheSettingsBack) {
  Write("PROJECTS/Plant1/bin/.keep", "");
  Write("Tessaron.xml",
        "<Conf_Settings><lastproj><projectname>Plant1</projectname></lastproj><lastipadd><ipaddress>127.0.0.1"
        "</ipaddress></lastipadd><lastlang><language>English</language></lastlang></Conf_Settings>");
  const xcb_window_t w = StartAndWait();
  ASSERT_NE(w, 0u);
  x_.Grab(w).save(QStringLiteral(TEST_BINARY_DIR "/main_window_open.png"));
  CloseAndWait(w);
  const std::string s = Read("Tessaron.xml");
  EXPECT_NE(s.find("<projectname>Plant1</projectname>"), std::string::npos) << s;
  EXPECT_NE(s.find("<ipaddress>127.0.0.1</ipaddress>"), std::string::npos) << s;
  EXPECT_NE(s.find("<enable_internet>0</enable_internet>"), std::string::npos) << s;
}

}  // namespace
