#include "platform/testing/network_guard.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

sockaddr_in Address(const char* ip, uint16_t port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  inet_pton(AF_INET, ip, &a.sin_addr);
  return a;
}

TEST(NetworkGuard, LetsLoopbackThrough) {
  int fd = socket(AF_INET, SOCK_DGRAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_in to = Address("127.0.0.2", 9);
  EXPECT_EQ(sendto(fd, "x", 1, 0, reinterpret_cast<sockaddr*>(&to), sizeof to), 1);
  close(fd);
}

TEST(NetworkGuard, RefusesAndFailsTrafficOffLoopback) {
  int fd = socket(AF_INET, SOCK_DGRAM, 0);
  ASSERT_GE(fd, 0);
  // The guard refuses before anything is sent, so no datagram ever leaves the machine.
  for (const char* ip : {"192.168.2.205", "10.0.0.1", "8.8.8.8"}) {
    sockaddr_in to = Address(ip, 10000);
    ssize_t sent = 0;
    EXPECT_NONFATAL_FAILURE(sent = sendto(fd, "x", 1, 0, reinterpret_cast<sockaddr*>(&to), sizeof to),
                            "loopback");
    EXPECT_EQ(sent, -1);
    int rc = 0;
    EXPECT_NONFATAL_FAILURE(rc = connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to), ip);
    EXPECT_EQ(rc, -1);
  }
  close(fd);
  EXPECT_GE(plat::testing::RefusedDestinations().size(), 6u);
}

}  // namespace

#include <QHostAddress>
#include <QUdpSocket>

namespace {

TEST(NetworkGuard, CatchesQtSockets) {
  QUdpSocket socket;
  ASSERT_TRUE(socket.bind(QHostAddress("127.0.0.1"), 0));
  EXPECT_EQ(socket.writeDatagram("x", 1, QHostAddress("127.0.0.1"), socket.localPort()), 1);
  qint64 sent = 0;
  EXPECT_NONFATAL_FAILURE(sent = socket.writeDatagram("x", 1, QHostAddress("192.168.2.205"), 10000),
                          "192.168.2.205");
  EXPECT_EQ(sent, -1);
}

}  // namespace
