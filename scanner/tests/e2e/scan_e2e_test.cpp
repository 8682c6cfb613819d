// The scanner on its own thread, over UDP on loopback (scanner 127.0.0.1, converter 127.0.0.2, a foreign sender
// on 127.0.0.3), against the simulated converter with its fault switches, in real time.

#include "core/device_model.h"
#include "scanner/mbus_scan.h"
#include "scanner/tests/corpus_support.h"
#include "tools/converter_sim/converter_sim.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <set>
#include <thread>

namespace {

struct TReport {
  int32_t M, A, F, K;
};

void Clear_Slaves() {
  std::lock_guard<std::mutex> L(List_Dev_Lock);
  qDeleteAll(List_Dev_MBus);
  List_Dev_MBus.clear();
}

convsim::TSimMeter Meter(uint8_t Primary, uint32_t Id, const char* File, int Telegrams = 1) {
  std::vector<uint8_t> T;
  EXPECT_TRUE(corpus::Read_Hex(corpus::Dir("test-frames") + u'/' + QLatin1StringView(File) + QStringLiteral(".hex"), T));
  std::vector<convsim::TBytes> List(static_cast<size_t>(Telegrams - 1), convsim::With_More_Follows(T));
  List.push_back(T);
  convsim::TSimMeter M;
  std::string Why;
  EXPECT_TRUE(convsim::Make_Meter(Primary, Id, List, M, &Why)) << Why;
  return M;
}

class ScanE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    Clear_Slaves();
    QString Error;
    ASSERT_TRUE(Sim.Start(QStringLiteral("127.0.0.2"), 0, &Error)) << Error.toStdString();
  }
  void TearDown() override {
    Engine.reset();
    Sim.Stop();
    Clear_Slaves();
  }

  // Runs one scan to its end; false when it did not end within a minute.
  bool Scan(TScanType Type, int Baud, int Cut_After, int First, int Last) {
    TScanNetConfig Net;
    Net.Bind_Address = QStringLiteral("127.0.0.1");
    Net.Local_Port = 0;
    Net.Converter_Port = Sim.Port();
    TScanEnvironment Env;
    Env.Transport = std::make_unique<TUdpScanTransport>(Net);
    Engine = std::make_unique<TMBusScanDecode>(std::move(Env));
    TScanTiming Timing;
    Timing.First_Primary = First;
    Timing.Last_Primary = Last;
    EXPECT_TRUE(Engine->Set_Timing(Timing));
    Engine->Event_Run.SetEvent();
    EXPECT_TRUE(Engine->Start_Scan(Type, shEthernet, QStringLiteral("127.0.0.2"), Baud, 1, false, false, Cut_After,
                                   [this](TScan_Report M, int32_t A, int32_t F, TScan_Kind K) {
                                     std::lock_guard<std::mutex> L(Lock);
                                     Reports.push_back({int32_t(M), A, F, int32_t(K)});
                                   }));
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (Engine->FInScan && std::chrono::steady_clock::now() < Deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return !Engine->FInScan;
  }

  // Every slave in the list is one of the simulated meters, at its own primary address, listed once; returns
  // the identification numbers found.
  std::set<uint32_t> Check_Found_Slaves() {
    std::map<uint32_t, uint8_t> Truth;
    for (const convsim::TSimMeter& M : Sim.Core.Bus.Meters) Truth[M.Id] = M.Primary;
    std::set<uint32_t> Found;
    std::lock_guard<std::mutex> L(List_Dev_Lock);
    for (const TSlave_MBus* S : List_Dev_MBus) {
      auto It = Truth.find(S->Identification);
      EXPECT_NE(It, Truth.end()) << "a slave that does not exist: " << std::hex << S->Identification;
      if (It != Truth.end()) {
        EXPECT_EQ(S->Primary_Addresss, It->second);
      }
      EXPECT_TRUE(Found.insert(S->Identification).second) << "listed twice: " << std::hex << S->Identification;
    }
    return Found;
  }

  convsim::TConverterSim Sim;
  std::unique_ptr<TMBusScanDecode> Engine;
  std::mutex Lock;
  std::vector<TReport> Reports;
};

// Duplicated answers, answers from another port of the converter, forged answers from a foreign host and
// oversized datagrams: every slave is found, exactly once, and nothing else.
TEST_F(ScanE2E, PrimaryScanFindsEverySlaveDespiteHarmlessFaults) {
  Sim.Core.Bus.Meters = {Meter(1, 0x11111111, "emh_diz"), Meter(3, 0x33333333, "kamstrup_382_005"),
                         Meter(4, 0x44444444, "example_data_01", 2)};
  convsim::TSimFaults F;
  F.Twice = F.Other_Port = F.Foreign = F.Oversized = 0.3;
  F.Seed = 7;
  Sim.Set_Faults(F);
  ASSERT_TRUE(Scan(saPrimaryAddress, 2400, 3, 0, 5));
  EXPECT_EQ(Engine->FResult, 1);
  EXPECT_EQ(Check_Found_Slaves(), (std::set<uint32_t>{0x11111111, 0x33333333, 0x44444444}));
  EXPECT_GT(Engine->Foreign_Dropped(), 0u);
  std::lock_guard<std::mutex> L(Lock);
  ASSERT_EQ(Reports.size(), 8u);
  int Found = 0;
  for (const TReport& R : Reports) Found += R.M == 2 && R.F == 1;
  EXPECT_EQ(Found, 3);
  EXPECT_EQ(Reports.back().M, 3);
  std::lock_guard<std::mutex> SL(Sim.Core.Lock);
  EXPECT_EQ(Sim.Core.Mode, convsim::TConverterCore::TMode::Normal);
}

// A stray byte from the line before every readout: each slave's own answer that follows it is still taken.
TEST_F(ScanE2E, PrimaryScanTakesReadoutsThatFollowAStrayByte) {
  Sim.Core.Bus.Meters = {Meter(1, 0x11111111, "emh_diz"), Meter(3, 0x33333333, "kamstrup_382_005")};
  convsim::TSimFaults F;
  F.Stray = 1;
  Sim.Set_Faults(F);
  ASSERT_TRUE(Scan(saPrimaryAddress, 38400, 1, 0, 4));
  EXPECT_EQ(Engine->FResult, Result_Scanned);
  EXPECT_EQ(Check_Found_Slaves(), (std::set<uint32_t>{0x11111111, 0x33333333}));
  EXPECT_GE(Engine->Stray_Replies(), 2u);
}

// The scanner's local port taken by another socket: the scan ends at once and says that the port is in use.
TEST_F(ScanE2E, PortInUseIsReportedAsSuch) {
  plat::TUdpSocket Holder;
  QString Error;
  ASSERT_TRUE(Holder.Open(QStringLiteral("127.0.0.1"), 0, [](const plat::TUdpDatagram&) {}, &Error))
      << Error.toStdString();
  TScanNetConfig Net;
  Net.Bind_Address = QStringLiteral("127.0.0.1");
  Net.Local_Port = Holder.Local_Port();
  Net.Converter_Port = Sim.Port();
  TScanEnvironment Env;
  Env.Transport = std::make_unique<TUdpScanTransport>(Net);
  Engine = std::make_unique<TMBusScanDecode>(std::move(Env));
  Engine->Event_Run.SetEvent();
  ASSERT_TRUE(Engine->Start_Scan(saPrimaryAddress, shEthernet, QStringLiteral("127.0.0.2"), 2400, 1, false, false, 0,
                                 nullptr));
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (Engine->FInScan && std::chrono::steady_clock::now() < Deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_FALSE(Engine->FInScan);
  EXPECT_EQ(Engine->FResult, Result_No_Socket);
  EXPECT_TRUE(Engine->Open_Error().contains(QStringLiteral("in use"))) << Engine->Open_Error().toStdString();
  EXPECT_EQ(Sim.Datagrams_Received(), 0u);
}

// A fifth of the answers lost, some late (after the scanner's time-out), some replaced by garbage: no crash, no
// slave that does not exist, and every slave whose readout reached the scanner unharmed is in the list.
TEST_F(ScanE2E, ScansSurviveLossLateAnswersAndGarbage) {
  struct {
    const char* Name;
    TScanType Type;
    uint32_t Seed;
  } Cases[] = {{"primary", saPrimaryAddress, 3}, {"secondary", saSecondaryAddress, 2}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    Clear_Slaves();
    {
      std::lock_guard<std::mutex> L(Sim.Core.Lock);
      Sim.Core.Bus.Meters = {Meter(1, 0x12000000, "emh_diz"), Meter(2, 0x12500000, "kamstrup_382_005"),
                             Meter(3, 0x19000000, "example_data_01"), Meter(4, 0x50000000, "emh_diz")};
    }
    convsim::TSimFaults F;
    F.Drop = 0.2;
    F.Late = 0.1;
    F.Late_Ms = 700;  // longer than both time-outs at 38400 baud (458 and 534 ms)
    F.Garbage = 0.05;
    F.Seed = C.Seed;
    Sim.Set_Faults(F);
    Sim.Clear_Clean_Readouts();
    ASSERT_TRUE(Scan(C.Type, 38400, 1, 0, 5));
    EXPECT_EQ(Engine->FResult, 1);
    const std::set<uint32_t> Found = Check_Found_Slaves();
    EXPECT_FALSE(Sim.Clean_Readouts().empty());  // the faults left something to find
    for (uint32_t Id : Sim.Clean_Readouts()) EXPECT_TRUE(Found.count(Id)) << "missed reachable " << std::hex << Id;
    Engine.reset();
  }
}

}  // namespace
