// The serial component on a pseudo-terminal pair: the component opens the terminal side, the test plays the
// device on the other side.

#include "scanner/comm.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

class PtyPair {
 public:
  PtyPair() {
    Master = posix_openpt(O_RDWR | O_NOCTTY);
    if (Master >= 0 && grantpt(Master) == 0 && unlockpt(Master) == 0) Slave_Path = QString::fromLocal8Bit(ptsname(Master));
  }
  ~PtyPair() {
    if (Master >= 0) ::close(Master);
  }
  int Master = -1;
  QString Slave_Path;
};

void Expect_Comm_Error(const std::function<void()>& Fn, const QString& Message, int32_t Code) {
  try {
    Fn();
    ADD_FAILURE() << "no ECommError";
  } catch (const ECommError& E) {
    EXPECT_EQ(E.Message(), Message);
    EXPECT_EQ(E.ErrorCode, Code);
  }
}

}  // namespace

TEST(Comm, ClosedPortAnswersWithoutRaising) {
  TComm C;
  EXPECT_FALSE(C.Enabled());
  EXPECT_EQ(C.InQueCount(), -1);
  EXPECT_EQ(C.OutQueCount(), -1);
  EXPECT_FALSE(C.CTS());
  EXPECT_FALSE(C.DSR());
  EXPECT_EQ(C.DeviceName(), QStringLiteral("Com2"));
  C.SetBaudRate(br2400);  // stored; applied at Open
  EXPECT_EQ(C.BaudRate(), br2400);
  Expect_Comm_Error([&] { C.SetDTRState(true); }, QStringLiteral("Port not open, unable to complete operation (Error: -1) "), -1);
  C.Close();  // nothing to close
}

TEST(Comm, OpenFailuresRaiseAndLeaveThePortClosed) {
  TComm C;
  C.SetDeviceName(QStringLiteral("/nonexistent/tty"));
  try {
    C.Open();
    ADD_FAILURE() << "opened a missing device";
  } catch (const ECommError& E) {
    EXPECT_TRUE(E.Message().startsWith(QStringLiteral("Error accessing specified device (Error: "))) << E.what();
    EXPECT_GT(E.ErrorCode, 0);
  }
  EXPECT_FALSE(C.Enabled());
  C.SetDeviceName(QStringLiteral("/dev/null"));  // opens, but is no serial device
  Expect_Comm_Error([&] { C.Open(); }, QStringLiteral("Invalid device handle, access denied (Error: -1) "), -1);
  EXPECT_FALSE(C.Enabled());
}

TEST(Comm, WritesReadsAndRaisesRxCharOnAPseudoTerminal) {
  PtyPair P;
  ASSERT_FALSE(P.Slave_Path.isEmpty());
  TComm C;
  C.SetDeviceName(P.Slave_Path);
  C.SetBaudRate(br115200);
  std::atomic<int> Rx_Count{0};
  C.OnRxChar = [&](TCustomComm*, int32_t Count) { Rx_Count = Count; };
  C.Open();
  ASSERT_TRUE(C.Enabled());

  // Property rules while open.
  C.SetDeviceName(P.Slave_Path);  // the same name: no change, no error
  Expect_Comm_Error([&] { C.SetDeviceName(QStringLiteral("/dev/ttyS9")); }, QStringLiteral("Port already assigned (open) (Error: -1) "), -1);
  Expect_Comm_Error([&] { C.Open(); }, QStringLiteral("Port already assigned (open) (Error: -1) "), -1);
  C.SetParity(paEven);  // re-applied while open
  C.SetParity(paNone);

  // A read with nothing queued returns 0 at once.
  uint8_t Buf[64];
  const auto T0 = std::chrono::steady_clock::now();
  EXPECT_EQ(C.Read(Buf, sizeof Buf), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - T0, std::chrono::milliseconds(200));

  // Bytes written by the component reach the device side unchanged (raw mode: no translation of \n).
  const uint8_t Frame[] = {0x10, 0x7B, 0x0A, 0x85, 0x0D, 0x16};
  EXPECT_EQ(C.Write(Frame, sizeof Frame), static_cast<int32_t>(sizeof Frame));
  uint8_t Got[16] = {};
  size_t N = 0;
  for (int I = 0; I < 100 && N < sizeof Frame; ++I) {
    const ssize_t R = ::read(P.Master, Got + N, sizeof Got - N);
    if (R > 0) N += static_cast<size_t>(R);
    else std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_EQ(N, sizeof Frame);
  EXPECT_EQ(0, memcmp(Got, Frame, sizeof Frame));

  // Bytes from the device raise OnRxChar with the queued count and can be read.
  const uint8_t Reply[] = {0xE5, 0x0D, 0x0A};
  ASSERT_EQ(::write(P.Master, Reply, sizeof Reply), static_cast<ssize_t>(sizeof Reply));
  for (int I = 0; I < 200 && Rx_Count == 0; ++I) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(Rx_Count.load(), 3);
  EXPECT_EQ(C.InQueCount(), 3);
  EXPECT_EQ(C.Read(Buf, sizeof Buf), 3);
  EXPECT_EQ(0, memcmp(Buf, Reply, sizeof Reply));

  C.Close();
  EXPECT_FALSE(C.Enabled());
  EXPECT_EQ(C.InQueCount(), -1);
}
