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
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

namespace {

const char Title[] = "Veltrum - Configurator SW51645 - M-Bus Multi-Master / Modbus ";

struct XConnection {
  XConnection() : c(xcb_connect(nullptr, nullptr)) {}
  ~XConnection() { xcb_disconnect(c); }
  bool Ok() const { return c && !xcb_connection_has_error(c); }
  xcb_screen_t* Screen() const { return xcb_setup_roots_iterator(xcb_get_setup(c)).data; }

  xcb_atom_t Atom(const char* name) const {
    auto* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(r);
    return a;
  }

  std::string Name(xcb_window_t w) const {
    auto* r = xcb_get_property_reply(
        c, xcb_get_property(c, 0, w, Atom("_NET_WM_NAME"), Atom("UTF8_STRING"), 0, 1024), nullptr);
    std::string name;
    if (r) name.assign(static_cast<const char*>(xcb_get_property_value(r)), xcb_get_property_value_length(r));
    free(r);
    return name;
  }

  bool Viewable(xcb_window_t w) const {
    auto* r = xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr);
    const bool v = r && r->map_state == XCB_MAP_STATE_VIEWABLE;
    free(r);
    return v;
  }

  // The shown top-level window of that title.
  std::optional<xcb_window_t> Find(const std::string& title) const {
    auto* tree = xcb_query_tree_reply(c, xcb_query_tree(c, Screen()->root), nullptr);
    std::optional<xcb_window_t> found;
    if (tree) {
      const xcb_window_t* kids = xcb_query_tree_children(tree);
      for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i) {
        if (Name(kids[i]) == title && Viewable(kids[i])) found = kids[i];
      }
    }
    free(tree);
    return found;
  }

  QImage Grab(xcb_window_t w) const {
    auto* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr);
    if (!g) return {};
    const int width = g->width, height = g->height;
    free(g);
    auto* img = xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, w, 0, 0, uint16_t(width), uint16_t(height), ~0u), nullptr);
    if (!img) return {};
    QImage out;
    if (xcb_get_image_data_length(img) >= width * height * 4) {
      out = QImage(xcb_get_image_data(img), width, height, QImage::Format_RGB32).copy();
    }
    free(img);
    return out;
  }

  // What the window manager sends when the user closes a window from its title bar.
  void Close(xcb_window_t w) const {
    xcb_client_message_event_t e{};
    e.response_type = XCB_CLIENT_MESSAGE;
    e.format = 32;
    e.window = w;
    e.type = Atom("WM_PROTOCOLS");
    e.data.data32[0] = Atom("WM_DELETE_WINDOW");
    e.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, w, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&e));
    xcb_flush(c);
  }

  xcb_connection_t* c;
};

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
