// The UDP socket on loopback.

#include "platform/io/udp_socket.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

using namespace plat;

namespace {
struct TInbox {
  std::mutex Lock;
  std::condition_variable Cv;
  std::vector<std::pair<std::vector<uint8_t>, uint32_t>> Got;
  void Put(const TUdpDatagram& D) {
    std::lock_guard<std::mutex> L(Lock);
    Got.push_back({std::vector<uint8_t>(D.Data, D.Data + D.Size), D.From_Address});
    Cv.notify_all();
  }
  bool Wait(size_t N) {
    std::unique_lock<std::mutex> L(Lock);
    return Cv.wait_for(L, std::chrono::seconds(5), [&] { return Got.size() >= N; });
  }
};
}  // namespace

TEST(UdpSocket, ParsesOnlyDottedQuads) {
  struct {
    const char* Text;
    bool Ok;
    uint32_t Value;
  } Cases[] = {{"127.0.0.1", true, 0x7F000001}, {"0.0.0.0", true, 0},  {"255.255.255.255", true, 0xFFFFFFFF},
               {"256.0.0.1", false, 0},         {"1.2.3", false, 0},   {"1.2.3.4.5", false, 0},
               {"1.2.3.a", false, 0},           {" 1.2.3.4", false, 0}, {"1..3.4", false, 0},
               {"", false, 0},                  {"+1.2.3.4", false, 0}};
  for (const auto& C : Cases) {
    uint32_t V = 0;
    EXPECT_EQ(Parse_IPv4(QString::fromLatin1(C.Text), V), C.Ok) << C.Text;
    if (C.Ok) {
      EXPECT_EQ(V, C.Value) << C.Text;
      EXPECT_EQ(IPv4_To_Text(V), QString::fromLatin1(C.Text));
    }
  }
}

// Whole datagrams with their sender reach the handler; one longer than the limit is dropped and counted, and
// the next one still arrives.
TEST(UdpSocket, DeliversWholeDatagramsAndDropsOversizedOnes) {
  TInbox In;
  TUdpSocket Receiver(2051), Sender;
  ASSERT_TRUE(Receiver.Open(QStringLiteral("127.0.0.1"), 0, [&](const TUdpDatagram& D) { In.Put(D); }));
  ASSERT_TRUE(Sender.Open(QStringLiteral("127.0.0.3"), 0, nullptr));
  ASSERT_NE(Receiver.Local_Port(), 0);
  const std::vector<uint8_t> Small = {0xE5}, Max(2051, 0x68), Over(2052, 0x16), Huge(9000, 0x16);
  for (const auto* D : {&Small, &Over, &Huge, &Max})
    ASSERT_TRUE(Sender.Send_To(0x7F000001, Receiver.Local_Port(), D->data(), D->size()));
  ASSERT_TRUE(In.Wait(2));
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  std::lock_guard<std::mutex> L(In.Lock);
  ASSERT_EQ(In.Got.size(), 2u);
  EXPECT_EQ(In.Got[0].first, Small);
  EXPECT_EQ(In.Got[0].second, 0x7F000003u);
  EXPECT_EQ(In.Got[1].first, Max);
  EXPECT_EQ(Receiver.Oversized_Count(), 2u);
}

TEST(UdpSocket, BindFailuresAreReported) {
  TUdpSocket A, B;
  QString Error;
  EXPECT_FALSE(A.Open(QStringLiteral("localhost"), 0, nullptr, &Error));
  EXPECT_FALSE(Error.isEmpty());
  ASSERT_TRUE(A.Open(QStringLiteral("127.0.0.1"), 0, nullptr));
  EXPECT_FALSE(B.Open(QStringLiteral("127.0.0.1"), A.Local_Port(), nullptr, &Error));  // port in use
  EXPECT_TRUE(Error.contains(QString::number(A.Local_Port()))) << Error.toStdString();
  EXPECT_FALSE(B.Active());
  A.Close();
  EXPECT_FALSE(A.Send_To(0x7F000001, 9, nullptr, 0));
}
