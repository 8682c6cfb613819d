#include "windows/version_check.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

#include "windows/tests/local_http_server.h"

namespace {

TEST(VersionCheck, ConvVersion) {
  const struct {
    const char* text;
    int value;
  } cases[] = {
      {"VER. 2.302", 2302}, {"2.302", 2302},   {"VER.   2.012  ", 2012}, {" VER. 2.012", -1}, {"VER. 0.000", 0},
      {"VER. 2.4", -1},     {"VER. 2.40", -1}, {"VER. 2.400", 2400},       {"VER. abcde", -1},
      {"", -1},             {"VER.", -1},      {"VER. 2.3025", 2302},      {"x 1-234", 1234},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Conv_Version(c.text), c.value);
  }
}

TEST(VersionCheck, NewerOnlyWhenBothNumbersReadAndTheReplyIsHigher) {
  const struct {
    const char* reply;
    bool newer;
  } cases[] = {
      {"VER. 2.400", true},  {"VER. 2.302", false}, {"VER. 2.301", false}, {"VER. 0.000", false},
      {"ver. 0.000", false}, {"ver. 9.999", true},  {"", false},           {"  \r\n", false},
      {"VER. 2.4", false},   {"<html>not found</html>", false},          {"\r\nVER. 3.000\r\n", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reply);
    EXPECT_EQ(Is_Newer_Version(c.reply, "2.302"), c.newer);
  }
}

TEST(VersionCheck, AddressesPerModel) {
  const QString saved = Web_Server_Base();
  Set_Web_Server_Base("http://127.0.0.1:8/");
  EXPECT_EQ(Version_Check_Url(3).toString(), "http://127.0.0.1:8/home/download/GetversionSW.asp?nomesw=SW51645");
  EXPECT_EQ(Version_Check_Url(1007).toString(),
            "http://127.0.0.1:8/home/download/GetversionSW.asp?nomesw=SW51427");
  EXPECT_EQ(Download_Page_Url(3).toString(), "http://127.0.0.1:8/Home/download/download.asp#HD51645");
  EXPECT_EQ(Download_Page_Url(1001).toString(), "http://127.0.0.1:8/Home/download/download.asp#HD51427");
  EXPECT_EQ(Download_Page_Url(1007).toString(), "http://127.0.0.1:8/Home/download/download.asp#HD51427");
  EXPECT_EQ(Home_Page_Url(3).toString(), "http://127.0.0.1:8/HOME/default.asp?frompg=SW51645");
  EXPECT_EQ(Home_Page_Url(6).toString(), "http://127.0.0.1:8/HOME/default.asp?frompg=SW51863");
  EXPECT_TRUE(Home_Page_Url(1001).isEmpty());
  EXPECT_TRUE(Home_Page_Url(1007).isEmpty());
  Set_Web_Server_Base(saved);

  const struct {
    int type;
    const char* version;
    const char* document;
  } models[] = {{1, "2.302", "MN51427"}, {2, "3.207", "MN51318"}, {3, "2.012", "MN51645"},
                {4, "3.000", "MN51536"}, {5, "3.000", "MN51754"}, {6, "1.508", "MN51863"},
                {7, "1.507", "MN51872"}, {1001, "2.302", "MN51427"}, {1007, "2.302", "MN51872"}};
  for (const auto& m : models) {
    SCOPED_TRACE(m.type);
    EXPECT_EQ(Built_In_Version(m.type), m.version);
    EXPECT_EQ(Document_Code(m.type), m.document);
  }
}

// Runs one check against the server and waits for its answer.
std::optional<bool> RunCheck(TVersionCheck& check, int waitMs = 5000) {
  std::optional<bool> result;
  EXPECT_TRUE(check.Start([&](bool newer) { result = newer; }));
  QElapsedTimer t;
  t.start();
  while (!result && t.elapsed() < waitMs) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return result;
}

class VersionCheckServer : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = Web_Server_Base();
    Set_Web_Server_Base(server_.Base());
  }
  void TearDown() override { Set_Web_Server_Base(saved_); }
  LocalHttpServer server_;
  QString saved_;
};

TEST_F(VersionCheckServer, AnswersByTheReply) {
  const struct {
    const char* name;
    int status;
    QByteArray body;
    bool newer;
  } cases[] = {
      {"newer", 200, "VER. 2.400", true},
      {"same", 200, "VER. 2.012", false},
      {"none published", 200, "VER. 0.000", false},
      {"malformed", 200, "<html><body>maintenance</body></html>", false},
      {"short version", 200, "VER. 2.4", false},
      {"error status with a version", 404, "VER. 9.999", false},
      {"too long", 200, QByteArray("VER. 9.999") + QByteArray(1 << 20, ' '), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    server_.Status = c.status;
    server_.Body = c.body;
    server_.Requests.clear();
    TVersionCheck check;
    const std::optional<bool> r = RunCheck(check);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(*r, c.newer);
    EXPECT_FALSE(check.Busy());
    ASSERT_EQ(server_.Requests.size(), 1);
    const QByteArray head = server_.Requests[0];
    EXPECT_TRUE(head.startsWith("GET /home/download/GetversionSW.asp?nomesw=SW51645 HTTP/1.")) << head.data();
    EXPECT_TRUE(head.contains("\r\nAccept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"))
        << head.data();
    EXPECT_FALSE(head.toLower().contains("\r\ncookie:")) << head.data();
  }
}

TEST_F(VersionCheckServer, NoAnswerEndsAfterTheTimeOutWithoutBlocking) {
  server_.Silent = true;
  TVersionCheck check;
  check.SetTimeoutMs(300);
  int ticks = 0;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] { ++ticks; });
  watch.start(10);
  QElapsedTimer t;
  t.start();
  const std::optional<bool> r = RunCheck(check);
  ASSERT_TRUE(r.has_value());
  EXPECT_FALSE(*r);
  EXPECT_GE(t.elapsed(), 250);
  EXPECT_LT(t.elapsed(), 3000);
  EXPECT_GT(ticks, 5);  // the event loop kept running while the check waited
  EXPECT_FALSE(check.Busy());
}

TEST_F(VersionCheckServer, OneCheckAtATimeAndNoServerMeansNoNewerVersion) {
  server_.Silent = true;
  TVersionCheck check;
  check.SetTimeoutMs(200);
  EXPECT_TRUE(check.Start([](bool) {}));
  EXPECT_TRUE(check.Busy());
  EXPECT_FALSE(check.Start([](bool) { ADD_FAILURE() << "second check started"; }));
  QElapsedTimer t;
  t.start();
  while (check.Busy() && t.elapsed() < 3000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_FALSE(check.Busy());

  // A port where nothing listens: refused at once.
  LocalHttpServer* gone = new LocalHttpServer;
  const QString base = gone->Base();
  delete gone;
  Set_Web_Server_Base(base);
  TVersionCheck refused;
  const std::optional<bool> r = RunCheck(refused);
  ASSERT_TRUE(r.has_value());
  EXPECT_FALSE(*r);
}

}  // namespace
