// The wired scan engine against a simulated converter, with a fake clock: whole scans run in milliseconds and
// every wait and time-out is checked to the millisecond.

#include "corpus_support.h"
#include "scan_fixture.h"
#include "scanner/mbus_frames.h"

#include <gtest/gtest.h>

#include <set>

using namespace scantest;

namespace {

convsim::TBytes Corpus_Telegram(const char* Name) {
  std::vector<uint8_t> B;
  EXPECT_TRUE(corpus::Read_Hex(corpus::Dir("test-frames") + u'/' + QLatin1StringView(Name) + QStringLiteral(".hex"), B))
      << Name;
  return B;
}

convsim::TSimMeter Meter(uint8_t Primary, std::optional<uint32_t> Id, std::vector<convsim::TBytes> Telegrams) {
  convsim::TSimMeter M;
  std::string Why;
  EXPECT_TRUE(convsim::Make_Meter(Primary, Id, Telegrams, M, &Why)) << Why;
  return M;
}

class ScanEngine : public ::testing::Test {
 protected:
  void SetUp() override { Clear_Slaves(); }
  void TearDown() override { Clear_Slaves(); }

  // Builds the engine (no thread) on a fresh link; Start_Tick sets where the fake tick starts.
  void Make(uint32_t Start_Tick = 1000, TScanTiming Timing = {}) {
    Clock = std::make_unique<TFakeClock>(Start_Tick);
    Start = Start_Tick;
    auto L = std::make_unique<TMemoryLink>(Core, *Clock, Sent);
    Link = L.get();
    Engine = Make_Stepped_Engine(std::move(L), *Clock);
    ASSERT_TRUE(Engine->Set_Timing(Timing));
  }

  bool Start_Scan(TScanType T, int Baud = 2400, int Cut_After = 0, bool App_Reset = false, bool Snd_Nke = false) {
    return Engine->Start_Scan(T, shEthernet, QStringLiteral("127.0.0.2"), Baud, 1, App_Reset, Snd_Nke, Cut_After,
                              [this](TScan_Report M, int32_t A, int32_t F, TScan_Kind K) {
                                Reports.push_back({int32_t(M), A, F, int32_t(K)});
                              });
  }

  void Run(int Max_Passes = 100000) {
    for (int I = 0; I < Max_Passes && Engine->FInScan; ++I) Engine->Run_Pass();
    ASSERT_FALSE(Engine->FInScan) << "scan did not end";
  }

  std::vector<TReport> Found() const {
    std::vector<TReport> F;
    for (const TReport& R : Reports)
      if (R.M == 2 && R.F == 1) F.push_back(R);
    return F;
  }

  int Count_Sent(const std::vector<uint8_t>& Frame) const {
    return static_cast<int>(std::count(Sent.begin(), Sent.end(), Frame));
  }

  convsim::TConverterCore Core;
  std::unique_ptr<TFakeClock> Clock;
  uint32_t Start = 0;
  TMemoryLink* Link = nullptr;
  std::vector<std::vector<uint8_t>> Sent;
  std::vector<TReport> Reports;
  std::unique_ptr<TMBusScanDecode> Engine;
};

// An empty line: one report per address in order, the end report, result 1, and the converter left in normal
// mode; the timing is the protocol's to the millisecond, also when the tick wraps during the scan.
TEST_F(ScanEngine, EmptyLinePrimaryScanReportsEveryAddressWithExactTiming) {
  for (const uint32_t Start_Tick : {1000u, 0xFFFFFFFFu - 70000u}) {
    SCOPED_TRACE(Start_Tick);
    Reports.clear();
    Sent.clear();
    Make(Start_Tick);
    ASSERT_TRUE(Start_Scan(saPrimaryAddress));
    Run();
    ASSERT_EQ(Reports.size(), 253u);
    EXPECT_EQ(Reports.front(), (TReport{1, 0, 0, 1}));
    for (int A = 0; A <= 250; ++A) EXPECT_EQ(Reports[static_cast<size_t>(A + 1)], (TReport{2, A, 0, 1}));
    EXPECT_EQ(Reports.back(), (TReport{3, 0, 0, 1}));
    EXPECT_EQ(Engine->FResult, 1);
    EXPECT_EQ(Core.Mode, convsim::TConverterCore::TMode::Normal);
    // Steps 0-3, then per address steps 4, 9 (with its 500 ms sleep) and 10, then 4 and the end steps 200-203:
    // every step is followed by the 40 ms pause, and NO_SLAVE arrives within the pause.
    EXPECT_EQ(Clock->Elapsed(Start_Tick), 4u * 40 + 251u * (3 * 40 + 500) + 5u * 40);
    EXPECT_EQ(Count_Sent(mbus::Build_REQ_UD2(17, 0)), 1);
  }
}

TEST_F(ScanEngine, PrimaryScanReadsEachSlaveWithTheRequestedNumberOfTelegrams) {
  const convsim::TBytes T = Corpus_Telegram("emh_diz");
  const convsim::TBytes More = convsim::With_More_Follows(T);
  struct {
    int Cut_After;
    int Telegrams_Read;  // of the three-telegram meter
  } Cases[] = {{0, 1}, {1, 1}, {2, 2}, {3, 3}, {9, 3}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Cut_After);
    Clear_Slaves();
    Reports.clear();
    Sent.clear();
    Core.Bus.Meters = {Meter(3, 0x11111111, {T}), Meter(7, 0x22222222, {More, More, T})};
    TScanTiming Timing;
    Timing.Last_Primary = 9;
    Make(1000, Timing);
    ASSERT_TRUE(Start_Scan(saPrimaryAddress, 2400, C.Cut_After));
    Run();
    EXPECT_EQ(Found(), (std::vector<TReport>{{2, 3, 1, 1}, {2, 7, 1, 1}}));
    std::lock_guard<std::mutex> L(List_Dev_Lock);
    ASSERT_EQ(List_Dev_MBus.size(), 2);
    EXPECT_EQ(List_Dev_MBus[0]->Primary_Addresss, 3);
    EXPECT_EQ(List_Dev_MBus[0]->Secondary_Addresss, QStringLiteral("11111111"));
    EXPECT_EQ(List_Dev_MBus[1]->Secondary_Addresss, QStringLiteral("22222222"));
    EXPECT_EQ(List_Dev_MBus[1]->List_Var.size(), List_Dev_MBus[0]->List_Var.size() * C.Telegrams_Read);
    // The frame count bit alternates, starting set.
    EXPECT_EQ(Count_Sent(mbus::Build_REQ_UD2(7, 0)), (C.Telegrams_Read + 1) / 2);
    EXPECT_EQ(Count_Sent(mbus::Build_REQ_UD2(7, 1)), C.Telegrams_Read / 2);
  }
}

TEST_F(ScanEngine, PrimaryOptionsSendResetAndNkeBeforeEachReadWithTheirSleeps) {
  TScanTiming Timing;
  Timing.Last_Primary = 1;
  Core.Bus.Meters = {Meter(1, std::nullopt, {Corpus_Telegram("emh_diz")})};
  Make(1000, Timing);
  ASSERT_TRUE(Start_Scan(saPrimaryAddress, 2400, 0, true, true));
  Run();
  EXPECT_EQ(Found(), (std::vector<TReport>{{2, 1, 1, 1}}));
  const std::vector<std::vector<uint8_t>> Expected = {
      std::vector<uint8_t>(mbus::Cmd_Enable_Analyzer.begin(), mbus::Cmd_Enable_Analyzer.end()),
      mbus::Build_SND_NKE(255),
      mbus::Build_App_Reset(0), mbus::Build_SND_NKE(0), mbus::Build_REQ_UD2(0, 0),
      mbus::Build_App_Reset(1), mbus::Build_SND_NKE(1), mbus::Build_REQ_UD2(1, 0),
      std::vector<uint8_t>(mbus::Cmd_Disable_Analyzer.begin(), mbus::Cmd_Disable_Analyzer.end())};
  EXPECT_EQ(Sent, Expected);
  // Address 0 is silent: the reset and SND_NKE wait for their short time-out (330000/2400 + 450 = 587 ms,
  // noticed at the first pause after it), the read gets NO_SLAVE at once. Address 1 acknowledges both.
  const uint64_t Silent_Ack = 15 * 40;  // first pass after 587 ms
  const uint64_t Address0 = 40 + (500 + 40) + Silent_Ack + (500 + 40) + Silent_Ack + (500 + 40) + 40;
  const uint64_t Address1 = 40 + 3 * (500 + 40) + 3 * 40;
  EXPECT_EQ(Clock->Elapsed(1000), 4u * 40 + Address0 + Address1 + 5u * 40);
}

// Identification numbers that collide down to the last digit, in several branches of the search.
TEST_F(ScanEngine, SecondarySearchFindsEverySlaveAmongCollidingIdentifications) {
  const std::vector<uint32_t> Ids = {0x12345678, 0x12345679, 0x12349999, 0x12399999, 0x87654321, 0x00000000,
                                     0x99999999};
  const convsim::TBytes T = Corpus_Telegram("emh_diz");
  for (size_t I = 0; I < Ids.size(); ++I) Core.Bus.Meters.push_back(Meter(static_cast<uint8_t>(I), Ids[I], {T}));
  Make();
  ASSERT_TRUE(Start_Scan(saSecondaryAddress));
  Run();
  std::set<uint32_t> Reported;
  for (const TReport& R : Found()) {
    EXPECT_EQ(R.K, 2);
    Reported.insert(static_cast<uint32_t>(R.A));
  }
  EXPECT_EQ(Reported, std::set<uint32_t>(Ids.begin(), Ids.end()));
  EXPECT_EQ(Found().size(), Ids.size());
  EXPECT_EQ(Reports.front(), (TReport{1, 0, 0, 2}));
  EXPECT_EQ(Reports.back(), (TReport{3, 0, 0, 2}));
  std::lock_guard<std::mutex> L(List_Dev_Lock);
  ASSERT_EQ(List_Dev_MBus.size(), static_cast<qsizetype>(Ids.size()));
  for (const TSlave_MBus* S : List_Dev_MBus) EXPECT_TRUE(std::count(Ids.begin(), Ids.end(), S->Identification));
}

// A reply that merely starts with NO_SLAVE is a collision: the search descends instead of moving on.
TEST_F(ScanEngine, SecondaryTreatsAnythingButAckOrExactNoSlaveAsCollision) {
  Core.Bus.Meters = {Meter(1, 0x40000000, {Corpus_Telegram("emh_diz")})};
  Make();
  int Selects_Of_Digit_A3 = 0;
  Link->Shaper = [&](const std::vector<uint8_t>& Req, const std::vector<convsim::TBytes>& Ans) {
    std::vector<TAnswer> Out;
    // Digit A = 3 (and the rest wildcards) gets "NO_SLAVE\n\r!" from a converter with a noisy line.
    if (Req == mbus::Build_Select_Secondary({3, -1, -1, -1, -1, -1, -1, -1})) {
      ++Selects_Of_Digit_A3;
      Out.push_back({2, {'N', 'O', '_', 'S', 'L', 'A', 'V', 'E', '\n', '\r', '!'}});
      return Out;
    }
    for (const convsim::TBytes& A : Ans) Out.push_back({2, A});
    return Out;
  };
  ASSERT_TRUE(Start_Scan(saSecondaryAddress));
  Run();
  EXPECT_EQ(Selects_Of_Digit_A3, 1);
  EXPECT_EQ(Count_Sent(mbus::Build_Select_Secondary({3, 9, -1, -1, -1, -1, -1, -1})), 1);  // descended under 3
  EXPECT_EQ(Found(), (std::vector<TReport>{{2, 0x40000000, 1, 2}}));
}

// The converter does not confirm analyzer mode: result 2, no slave, no report; leaving the mode is tried three
// times when the converter stays silent.
TEST_F(ScanEngine, UnconfirmedAnalyzerModeEndsTheScanWithResultTwo) {
  const std::vector<uint8_t> Disable(mbus::Cmd_Disable_Analyzer.begin(), mbus::Cmd_Disable_Analyzer.end());
  struct {
    const char* Name;
    bool Silent;  // no answer at all (else a wrong text)
    int Disable_Tries;
  } Cases[] = {{"wrong text", false, 1}, {"silent", true, 3}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    Reports.clear();
    Sent.clear();
    Make();
    Link->Shaper = [&](const std::vector<uint8_t>& Req, const std::vector<convsim::TBytes>& Ans) {
      std::vector<TAnswer> Out;
      if (C.Silent) return Out;
      if (Req == Disable)
        for (const convsim::TBytes& A : Ans) Out.push_back({2, A});
      else
        Out.push_back({2, {'\n', '\r', 'E', 'r', 'r', 'o', 'r', '\n', '\r'}});
      return Out;
    };
    ASSERT_TRUE(Start_Scan(saSecondaryAddress));
    Run();
    EXPECT_EQ(Engine->FResult, 2);
    EXPECT_TRUE(Reports.empty());
    EXPECT_EQ(Count_Sent(Disable), C.Disable_Tries);
  }
}

// Datagrams before the analyzer-mode confirmation (a stray byte, an echo, a late answer of an earlier run) are
// passed over until the time-out: the scan goes on and finds the slave. A confirmation after the time-out does not.
TEST_F(ScanEngine, DatagramsBeforeTheAnalyzerConfirmationArePassedOver) {
  const std::vector<uint8_t> Enable(mbus::Cmd_Enable_Analyzer.begin(), mbus::Cmd_Enable_Analyzer.end());
  struct {
    const char* Name;
    std::vector<std::vector<uint8_t>> Before;
    uint64_t Confirm_Delay;
    int32_t Result;
  } Cases[] = {
      {"one zero byte", {{0x00}}, 3, 1},
      {"an error text and a single ACK", {{'\n', '\r', 'E', 'r', 'r', 'o', 'r', '\n', '\r'}, {0xE5}}, 900, 1},
      {"confirmation after the time-out", {{0x00}}, 1200, 2},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    Clear_Slaves();
    Reports.clear();
    TScanTiming Timing;
    Timing.First_Primary = Timing.Last_Primary = 2;
    Core.Bus.Meters = {Meter(2, std::nullopt, {Corpus_Telegram("emh_diz")})};
    Make(1000, Timing);
    Link->Shaper = [&](const std::vector<uint8_t>& Req, const std::vector<convsim::TBytes>& Ans) {
      std::vector<TAnswer> Out;
      const bool Enabling = Req == Enable;
      if (Enabling)
        for (const std::vector<uint8_t>& B : C.Before) Out.push_back({1, B});
      for (const convsim::TBytes& A : Ans) Out.push_back({Enabling ? C.Confirm_Delay : 2, A});
      return Out;
    };
    ASSERT_TRUE(Start_Scan(saPrimaryAddress));
    Run();
    EXPECT_EQ(Engine->FResult, C.Result);
    EXPECT_EQ(Found().size(), C.Result == 1 ? 1u : 0u);
  }
}

// Replies that are not the answer to the request just sent: a telegram of the address asked before that comes
// late, forged answers from another host, and datagrams longer than any reply. None of them may become a slave,
// and the slave that really answers is still found.
TEST_F(ScanEngine, LateForeignAndOversizedDatagramsNeverBecomeTheAnswer) {
  const convsim::TBytes T = Corpus_Telegram("emh_diz");
  Core.Bus.Meters = {Meter(4, 0x44444444, {T}), Meter(5, 0x55555555, {T})};
  TScanTiming Timing;
  Timing.First_Primary = 3;
  Timing.Last_Primary = 6;
  Make(1000, Timing);
  const convsim::TBytes Ghost = convsim::Patch_Telegram(T, 5, 0x98765432);
  Link->Shaper = [&](const std::vector<uint8_t>& Req, const std::vector<convsim::TBytes>& Ans) {
    std::vector<TAnswer> Out;
    if (Req == mbus::Build_REQ_UD2(4, 0)) {
      // Address 4 answers only after its time-out and after the request to address 5 went out.
      for (const convsim::TBytes& A : Ans) Out.push_back({1802 + 700, A});
      return Out;
    }
    if (Req == mbus::Build_REQ_UD2(5, 0)) {
      Out.push_back({1, Ghost, Foreign_Address});
      Out.push_back({1, std::vector<uint8_t>(3000, 0x68)});
      // The slave at 5 is slow: the late telegram of address 4 comes in before its own.
      for (const convsim::TBytes& A : Ans) Out.push_back({300, A});
      return Out;
    }
    for (const convsim::TBytes& A : Ans) Out.push_back({2, A});
    return Out;
  };
  ASSERT_TRUE(Start_Scan(saPrimaryAddress));
  Run();
  EXPECT_EQ(Found(), (std::vector<TReport>{{2, 5, 1, 1}}));
  std::lock_guard<std::mutex> L(List_Dev_Lock);
  ASSERT_EQ(List_Dev_MBus.size(), 1);
  EXPECT_EQ(List_Dev_MBus[0]->Identification, 0x55555555u);
  EXPECT_EQ(List_Dev_MBus[0]->Primary_Addresss, 5);
  EXPECT_EQ(Engine->Foreign_Dropped(), 1u);
  EXPECT_EQ(Engine->Oversized_Dropped(), 1u);
}

// A reply that arrives just before the time-out is noticed only at the next pass, after the time-out passed:
// it still counts, and the address is reported once, as found.
TEST_F(ScanEngine, ReplyNoticedAfterTheTimeOutStillCounts) {
  const convsim::TBytes T = Corpus_Telegram("emh_diz");
  struct {
    int Cut_After;
    int Telegrams;
  } Cases[] = {{1, 1}, {3, 3}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Cut_After);
    Clear_Slaves();
    Reports.clear();
    Core.Bus.Meters = {Meter(2, std::nullopt, {convsim::With_More_Follows(T), convsim::With_More_Follows(T), T})};
    TScanTiming Timing;
    Timing.First_Primary = Timing.Last_Primary = 2;
    Make(1000, Timing);
    Link->Shaper = [&](const std::vector<uint8_t>&, const std::vector<convsim::TBytes>& Ans) {
      std::vector<TAnswer> Out;
      for (const convsim::TBytes& A : Ans) Out.push_back({A.size() > 21 && A[0] == 0x68 ? 1801u : 2u, A});
      return Out;
    };
    ASSERT_TRUE(Start_Scan(saPrimaryAddress, 2400, C.Cut_After));
    Run();
    EXPECT_EQ(std::count(Reports.begin(), Reports.end(), TReport{2, 2, 1, 1}), 1);
    EXPECT_EQ(std::count(Reports.begin(), Reports.end(), TReport{2, 2, 0, 1}), 0);
    std::lock_guard<std::mutex> L(List_Dev_Lock);
    ASSERT_EQ(List_Dev_MBus.size(), 1);
  }
}

// Once a slave's first telegram is in the list, a later telegram that never comes does not turn it into "not
// found" (the list and the reports agree).
TEST_F(ScanEngine, SlaveWhoseFollowUpTelegramIsLostIsReportedFound) {
  const convsim::TBytes T = Corpus_Telegram("emh_diz");
  for (const TScanType Type : {saPrimaryAddress, saSecondaryAddress}) {
    SCOPED_TRACE(Type);
    Clear_Slaves();
    Reports.clear();
    Core.Bus.Meters = {Meter(2, 0x20000000, {convsim::With_More_Follows(T), T})};
    TScanTiming Timing;
    Timing.First_Primary = Timing.Last_Primary = 2;
    Make(1000, Timing);
    Link->Shaper = [&](const std::vector<uint8_t>& Req, const std::vector<convsim::TBytes>& Ans) {
      std::vector<TAnswer> Out;
      if (Req.size() == 5 && Req[1] == 0x5B) return Out;  // the second read is lost
      for (const convsim::TBytes& A : Ans) Out.push_back({2, A});
      return Out;
    };
    ASSERT_TRUE(Start_Scan(Type, 2400, 3));
    Run();
    const TReport Expected = Type == saPrimaryAddress ? TReport{2, 2, 1, 1} : TReport{2, 0x20000000, 1, 2};
    EXPECT_EQ(Found(), (std::vector<TReport>{Expected}));
    EXPECT_EQ(std::count_if(Reports.begin(), Reports.end(), [](const TReport& R) { return R.M == 2 && R.F == 0 && R.A == 2; }), 0);
  }
}

TEST_F(ScanEngine, StartIsRefusedWhileScanningAndForUnusableParameters) {
  Make();
  auto Try = [&](TSelectHard H, const char* Ip, int Baud) {
    return Engine->Start_Scan(saPrimaryAddress, H, QString::fromLatin1(Ip), Baud, 1, false, false, 0, nullptr);
  };
  EXPECT_FALSE(Try(shSerial, "127.0.0.2", 2400));  // no serial transport reads replies
  EXPECT_FALSE(Try(shEthernet, "127.0.0", 2400));
  EXPECT_FALSE(Try(shEthernet, "127.0.0.256", 2400));
  EXPECT_FALSE(Try(shEthernet, "127.0.0.2", 0));
  EXPECT_FALSE(Try(shEthernet, "127.0.0.2", -2400));
  EXPECT_FALSE(Engine->FInScan);
  ASSERT_TRUE(Try(shEthernet, "127.0.0.2", 2400));
  Engine->Run_Pass();
  const int32_t Step = Engine->Step();
  EXPECT_FALSE(Try(shEthernet, "127.0.0.2", 9600));
  EXPECT_FALSE(Engine->Set_Timing(TScanTiming{}));
  EXPECT_EQ(Engine->Step(), Step);
  EXPECT_TRUE(Engine->FInScan);
}

// A socket that cannot be bound is not an unconfirmed analyzer mode: the result says so and carries the reason,
// and a later scan that opens its socket clears it.
TEST_F(ScanEngine, SocketThatCannotOpenEndsTheScanSayingWhy) {
  Make();
  Link->Fail_Open = true;
  ASSERT_TRUE(Start_Scan(saPrimaryAddress));
  Run(10);
  EXPECT_EQ(Engine->FResult, Result_No_Socket);
  EXPECT_EQ(Engine->Open_Error(), QStringLiteral("bind refused"));
  EXPECT_TRUE(Sent.empty());
  Link->Fail_Open = false;
  ASSERT_TRUE(Start_Scan(saSecondaryAddress));
  Engine->Run_Pass();
  EXPECT_EQ(Engine->FResult, Result_Scanned);
  EXPECT_TRUE(Engine->Open_Error().isEmpty());
  Engine->Abort_Scan();
  Run();
}

// While a primary readout is awaited, a datagram that is not one (a stray byte on the line) is counted and passed
// over: the readout that follows it before the time-out is taken. Only NO_SLAVE or the time-out end the wait.
TEST_F(ScanEngine, PrimaryReadoutAfterAStrayByteIsTaken) {
  const convsim::TBytes T = Corpus_Telegram("emh_diz");
  struct {
    const char* Name;
    std::vector<convsim::TBytes> Before;  // what arrives first, 1 ms after the request
    uint64_t Reply_Delay;                 // the readout's delay (0: none comes)
    bool Found;
    uint64_t Stray;
  } Cases[] = {
      {"stray byte", {{0x00}}, 300, true, 1},
      {"ACK and a broken frame", {{0xE5}, {0x68, 0x03, 0x03, 0x68, 0x08, 0x02, 0x72, 0x00, 0x16}}, 300, true, 2},
      {"readout just before the time-out", {{0x7F}}, 1801, true, 1},
      {"stray byte, then nothing", {{0x00}}, 0, false, 1},
      {"no slave", {convsim::TBytes(mbus::Reply_No_Slave.begin(), mbus::Reply_No_Slave.end())}, 300, false, 0},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    Clear_Slaves();
    Reports.clear();
    Core.Bus.Meters = {Meter(2, 0x22222222, {T})};
    TScanTiming Timing;
    Timing.First_Primary = Timing.Last_Primary = 2;
    Make(1000, Timing);
    Link->Shaper = [&](const std::vector<uint8_t>& Req, const std::vector<convsim::TBytes>& Ans) {
      std::vector<TAnswer> Out;
      if (Req != mbus::Build_REQ_UD2(2, 0)) {
        for (const convsim::TBytes& A : Ans) Out.push_back({2, A});
        return Out;
      }
      for (const convsim::TBytes& B : C.Before) Out.push_back({1, B});
      if (C.Reply_Delay)
        for (const convsim::TBytes& A : Ans) Out.push_back({C.Reply_Delay, A});
      return Out;
    };
    ASSERT_TRUE(Start_Scan(saPrimaryAddress));
    Run();
    EXPECT_EQ(std::count(Reports.begin(), Reports.end(), TReport{2, 2, C.Found ? 1 : 0, 1}), 1);
    EXPECT_EQ(Reports.size(), 3u);
    EXPECT_EQ(Engine->Stray_Replies(), C.Stray);
    std::lock_guard<std::mutex> L(List_Dev_Lock);
    EXPECT_EQ(List_Dev_MBus.size(), C.Found ? 1 : 0);
  }
}

// Stop: the primary scan finishes the address and reports the end; the secondary search ends at the next digit
// without an end report. Abort: end steps at once; the end report only when it was already due.
TEST_F(ScanEngine, StopAndAbortEndTheScanAsTheOwnerExpects) {
  struct {
    TScanType Type;
    bool Abort;
    bool End_Report;
  } Cases[] = {{saPrimaryAddress, false, true},
               {saSecondaryAddress, false, false},
               {saPrimaryAddress, true, false},
               {saSecondaryAddress, true, false}};
  const std::vector<uint8_t> Disable(mbus::Cmd_Disable_Analyzer.begin(), mbus::Cmd_Disable_Analyzer.end());
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Type << " abort " << C.Abort);
    Reports.clear();
    Sent.clear();
    Make();
    ASSERT_TRUE(Start_Scan(C.Type));
    for (int I = 0; I < 40; ++I) Engine->Run_Pass();
    const size_t Before = Reports.size();
    if (C.Abort)
      Engine->Abort_Scan();
    else
      Engine->Stop_Scan();
    Run();
    const bool Has_End = !Reports.empty() && Reports.back().M == 3;
    EXPECT_EQ(Has_End, C.End_Report);
    EXPECT_LE(Reports.size(), Before + 2);  // at most the current address and the end
    EXPECT_EQ(Count_Sent(Disable), 1);
    EXPECT_EQ(Core.Mode, convsim::TConverterCore::TMode::Normal);
  }
}

TEST_F(ScanEngine, ThrowingProgressCallbackDoesNotStopTheScan) {
  TScanTiming Timing;
  Timing.Last_Primary = 3;
  Core.Bus.Meters = {Meter(2, std::nullopt, {Corpus_Telegram("emh_diz")})};
  Make(1000, Timing);
  int Calls = 0;
  ASSERT_TRUE(Engine->Start_Scan(saPrimaryAddress, shEthernet, QStringLiteral("127.0.0.2"), 2400, 1, false, false, 0,
                                 [&](TScan_Report, int32_t, int32_t, TScan_Kind) {
                                   ++Calls;
                                   throw std::runtime_error("window gone");
                                 }));
  Run();
  EXPECT_EQ(Calls, 6);  // start, four addresses, end
  std::lock_guard<std::mutex> L(List_Dev_Lock);
  EXPECT_EQ(List_Dev_MBus.size(), 1);
}

// The engine on its own thread: the run gate holds it, progress arrives in order, and closing the window in
// the middle of a scan still leaves the converter's analyzer mode.
TEST(ScanEngineThread, RunsBehindTheGateAndLeavesAnalyzerModeWhenClosed) {
  Clear_Slaves();
  convsim::TConverterCore Core;
  std::string Why;
  convsim::TSimMeter M;
  std::vector<uint8_t> T;
  ASSERT_TRUE(corpus::Read_Hex(corpus::Dir("test-frames") + QStringLiteral("/emh_diz.hex"), T));
  ASSERT_TRUE(convsim::Make_Meter(1, std::nullopt, {T}, M, &Why));
  Core.Bus.Meters = {M};
  // A link that answers at once on the sender's thread, with the real clock.
  class TDirectLink final : public TScanTransport {
   public:
    explicit TDirectLink(convsim::TConverterCore& C) : Core_(C) {}
    bool Open(TReceiver R, QString*) override {
      std::lock_guard<std::mutex> L(Lock_);
      R_ = std::move(R);
      return true;
    }
    void Close() override {
      std::lock_guard<std::mutex> L(Lock_);
      R_ = nullptr;
    }
    bool Send(uint32_t, const uint8_t* D, size_t N) override {
      const std::vector<convsim::TBytes> Ans = Core_.Handle(std::span<const uint8_t>(D, N));
      std::thread([this, Ans] {  // answers come from another thread, as from a socket's listener
        std::lock_guard<std::mutex> L(Lock_);
        for (const convsim::TBytes& A : Ans)
          if (R_) R_(A.data(), A.size(), Sim_Address, Sim_Port);
      }).join();
      return true;
    }

   private:
    convsim::TConverterCore& Core_;
    std::mutex Lock_;
    TReceiver R_;
  };
  TScanEnvironment Env;
  Env.Transport = std::make_unique<TDirectLink>(Core);
  TMBusScanDecode Engine(std::move(Env));
  TScanTiming Fast;
  Fast.Step_Pause = 1;
  Fast.Idle_Pause = 1;
  Fast.Primary_Sleep = 1;
  Fast.Last_Primary = 40;
  ASSERT_TRUE(Engine.Set_Timing(Fast));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the thread's first pass is behind it
  std::mutex Lock;
  std::vector<TReport> Reports;
  auto Proc = [&](TScan_Report Mt, int32_t A, int32_t F, TScan_Kind K) {
    std::lock_guard<std::mutex> L(Lock);
    Reports.push_back({int32_t(Mt), A, F, int32_t(K)});
  };
  ASSERT_TRUE(Engine.Start_Scan(saPrimaryAddress, shEthernet, QStringLiteral("127.0.0.2"), 2400, 1, false, false, 0, Proc));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(Engine.Step(), 0);  // the gate is closed: nothing ran
  Engine.Event_Run.SetEvent();
  while (Engine.FInScan) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  {
    std::lock_guard<std::mutex> L(Lock);
    ASSERT_EQ(Reports.size(), 43u);
    EXPECT_EQ(Reports[2], (TReport{2, 1, 1, 1}));
    EXPECT_EQ(Reports.back(), (TReport{3, 0, 0, 1}));
    Reports.clear();
  }
  // Again, and close the window in the middle.
  ASSERT_TRUE(Engine.Start_Scan(saPrimaryAddress, shEthernet, QStringLiteral("127.0.0.2"), 2400, 1, false, false, 0, Proc));
  while (Engine.Step() < 9) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  Engine.Request_Close();
  for (int I = 0; I < 2000 && Engine.FInScan; ++I) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  EXPECT_FALSE(Engine.FInScan);
  {
    std::lock_guard<std::mutex> L(Core.Lock);
    EXPECT_EQ(Core.Mode, convsim::TConverterCore::TMode::Normal);
  }
  Clear_Slaves();
}

}  // namespace
