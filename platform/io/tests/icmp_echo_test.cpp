// ICMP echo on loopback and the refusal of texts that are not IPv4 addresses.

#include "platform/io/icmp_echo.h"

#include <gtest/gtest.h>

#include <thread>

using namespace plat;

namespace {

TEchoStatus Await(TIcmpEcho& e) {
  for (;;) {
    const TEchoStatus s = e.Poll();
    if (s != TEchoStatus::Pending) return s;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace

TEST(IcmpEcho, LoopbackAnswersWithData) {
  QString why;
  if (!TIcmpEcho::Available(&why)) GTEST_SKIP() << why.toStdString();
  TIcmpEcho e;
  for (const char* host : {"127.0.0.1", "127.0.0.2", " 127.0.0.1 "}) {
    e.Send(QString::fromLatin1(host));
    EXPECT_EQ(Await(e), TEchoStatus::Reply) << host;
  }
}

TEST(IcmpEcho, ReplyWithoutDataIsToldApart) {
  QString why;
  if (!TIcmpEcho::Available(&why)) GTEST_SKIP() << why.toStdString();
  TIcmpEcho e;
  e.PacketSize = 0;
  e.Send(QStringLiteral("127.0.0.1"));
  EXPECT_EQ(Await(e), TEchoStatus::ReplyWithoutData);
}

TEST(IcmpEcho, TextsThatAreNotAddressesRaise) {
  TIcmpEcho e;
  for (const char* host : {"", "300.1.1.1", "1.2.3", "localhost", "127.0.0.1.5", "::1"}) {
    EXPECT_THROW(e.Send(QString::fromLatin1(host)), EIcmpError) << host;
    EXPECT_EQ(e.Poll(), TEchoStatus::TimedOut) << host;
  }
}
