// The wireless machine against the simulated radio modules of both families, with a fake clock: the command
// sequences and replies of configuration, listening and key installs, the refusals of Insert_Wireless_Key, and
// how listening ends.

#include "scan_fixture.h"
#include "scanner/wmbus_decode.h"
#include "scanner/wmbus_frames.h"
#include "tools/converter_sim/radio_sim.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <random>

using namespace scantest;
using convsim::TBytes;
using convsim::TRadioModuleSim;
using convsim::TWirelessTelegram;

namespace {

TBytes B(const char* Text) { return TBytes(Text, Text + std::strlen(Text)); }
TBytes B(const QByteArray& Text) { return TBytes(Text.begin(), Text.end()); }

// A telegram with a short header (CI 0x7A) of device Id: mode 0 plain records, or mode 5 encrypted with its
// decrypted form (the check bytes 2F 2F first).
TWirelessTelegram Meter_Telegram(uint32_t Id, bool Encrypted) {
  auto Make = [&](uint8_t Mode, const TBytes& Payload) {
    TBytes T = {0, 0x44, 0x2D, 0x2C, uint8_t(Id), uint8_t(Id >> 8), uint8_t(Id >> 16), uint8_t(Id >> 24), 0x1B, 0x16,
                0x7A, 0x21, 0x00, 0x00, Mode};
    T.insert(T.end(), Payload.begin(), Payload.end());
    T[0] = uint8_t(T.size() - 1);
    return T;
  };
  const TBytes Records = {0x0C, 0x13, 0x78, 0x56, 0x34, 0x12, 0x02, 0x5A, 0x2C, 0x01};
  if (!Encrypted) return {Make(0x00, Records), {}};
  TBytes Plain = {0x2F, 0x2F};
  Plain.insert(Plain.end(), Records.begin(), Records.end());
  return {Make(0x05, {0x93, 0x11, 0x7E, 0x02, 0x44, 0xA0, 0x31, 0x00, 0x12, 0x9C, 0x6B, 0x05}), Make(0x05, Plain)};
}

void Clear_Devices() {
  std::lock_guard<std::mutex> L(List_Dev_Lock);
  qDeleteAll(List_Dev_Wireless);
  List_Dev_Wireless.clear();
}

class WirelessEngine : public ::testing::Test {
 protected:
  void SetUp() override { Clear_Devices(); }
  void TearDown() override {
    Engine.reset();
    Clear_Devices();
  }

  void Make(TRadioModuleSim::TFamily Family) {
    Engine.reset();
    CoreP = std::make_unique<convsim::TConverterCore>();
    Module = std::make_unique<TRadioModuleSim>(Family);
    Module->Install(*CoreP);
    Clock = std::make_unique<TFakeClock>(5000);
    auto L = std::make_unique<TMemoryLink>(*CoreP, *Clock, Sent);
    Link = L.get();
    Engine = Make_Stepped_Engine(std::move(L), *Clock);
  }
  bool Start(int Mode = 1, int Channel = 2) {
    return Engine->Start_Scan_Wireless(shEthernet, QStringLiteral("127.0.0.2"), 20502, Mode, Channel,
                                       [this](int Index, TSlave_wMBus* S) { Calls.push_back({Index, S}); }, false);
  }
  // Runs steps until Done holds (false when it never does).
  bool Run_Until(const std::function<bool()>& Done, int Max_Passes = 20000) {
    for (int I = 0; I < Max_Passes; ++I) {
      if (Done()) return true;
      if (!Engine->FInScan) return Done();
      Engine->Run_Pass();
    }
    return Done();
  }
  bool Listening() {
    return Run_Until([this] { return Engine->Step() == (Module->Family() == TRadioModuleSim::TFamily::Telit ? 134 : 320); });
  }
  // Puts a telegram on the air and lets a few steps pass.
  void Hear(const TWirelessTelegram& T, uint8_t Signal = 0x40) {
    const std::optional<TBytes> D = Module->Forward(T, Signal);
    ASSERT_TRUE(D.has_value()) << "the module is not listening";
    Link->Deliver(5, *D);
    for (int I = 0; I < 3; ++I) Engine->Run_Pass();
  }
  TSlave_wMBus Device(int Index) {
    std::lock_guard<std::mutex> L(List_Dev_Lock);
    TSlave_wMBus Copy;
    const TSlave_wMBus& S = *List_Dev_Wireless.at(Index);
    Copy.ALA_Address = S.ALA_Address;
    Copy.Cripted = S.Cripted;
    Copy.Enable_Key = S.Enable_Key;
    Copy.Key = S.Key;
    Copy.RSSI = S.RSSI;
    Copy.RadioCrafts_Ind_Tab_Decript = S.RadioCrafts_Ind_Tab_Decript;
    Copy.List_Var = S.List_Var;
    return Copy;
  }
  qsizetype Device_Count() {
    std::lock_guard<std::mutex> L(List_Dev_Lock);
    return List_Dev_Wireless.size();
  }
  void Stop_And_End() {
    Engine->Stop_Scan();
    ASSERT_TRUE(Run_Until([this] { return !Engine->FInScan; }));
  }

  std::unique_ptr<convsim::TConverterCore> CoreP;
  std::unique_ptr<TRadioModuleSim> Module;
  std::unique_ptr<TFakeClock> Clock;
  TMemoryLink* Link = nullptr;
  std::vector<TBytes> Sent;
  std::vector<std::pair<int, TSlave_wMBus*>> Calls;
  std::unique_ptr<TMBusScanDecode> Engine;
};

std::vector<TBytes> Telit_Config(int Mode, int Channel) {
  std::vector<TBytes> C = {B("+++"), B("ATR\r"), B(QByteArray("ATS400=") + QByteArray::number(Mode) + "\r"),
                           B("ATS401=0\r"), B("ATS402=191\r"),
                           B(QByteArray("ATS420=") + QByteArray::number(Channel) + "\r")};
  const bool Narrow = Mode == 15 || Mode == 17;
  if (!Narrow) C.push_back(B("ATS421=0\r"));
  for (const char* S : {"ATS422=3\r", "ATS430=5\r", "ATS431=5\r", "ATS440=0\r", "ATS441=0\r"}) C.push_back(B(S));
  if (!Narrow) C.push_back(B("ATS442=0\r"));
  C.push_back(B("ATS452=0\r"));
  C.push_back(B("ATS453=0\r"));
  if (!Narrow) C.push_back(B("ATS454=0\r"));
  C.push_back(B("ATO\r"));
  return C;
}

TEST_F(WirelessEngine, TelitConfigurationPerModeThenListening) {
  for (const auto& [Mode, Channel] : std::vector<std::pair<int, int>>{{1, 0}, {5, 8}, {11, 3}, {15, 1}, {17, 4}}) {
    SCOPED_TRACE(Mode);
    Clear_Devices();
    Sent.clear();
    Calls.clear();
    Make(TRadioModuleSim::TFamily::Telit);
    ASSERT_TRUE(Start(Mode, Channel));
    EXPECT_EQ(Link->Port_, 20502);
    ASSERT_TRUE(Listening());
    EXPECT_TRUE(Engine->Wireless_Receive_Message());
    EXPECT_EQ(Engine->Radio_Module(), rmTelit);
    ASSERT_GE(Sent.size(), 2u);
    EXPECT_EQ(Sent[0], B(wmbus::Cmd_Enable_Configuration));
    EXPECT_EQ(Sent[1], B(wmbus::Cmd_Type_Radio_Module));
    EXPECT_EQ(Module->Received(), Telit_Config(Mode, Channel));
    EXPECT_TRUE(Module->Listening());
    EXPECT_FALSE(Engine->New_Frame_Wireless());
    Hear(Meter_Telegram(0x11111111, false), 0x40);
    Hear(Meter_Telegram(0x22222222, true));
    Hear(Meter_Telegram(0x11111111, false), 0x10);
    EXPECT_TRUE(Engine->New_Frame_Wireless());
    ASSERT_EQ(Device_Count(), 2);
    EXPECT_EQ(Device(0).RSSI, -66);  // from the first telegram
    EXPECT_FALSE(Device(0).Cripted);
    EXPECT_EQ(Device(0).List_Var.size(), 2u);
    EXPECT_TRUE(Device(1).Cripted);
    ASSERT_EQ(Calls.size(), 3u);
    EXPECT_EQ(Calls[0].first, 0);
    EXPECT_EQ(Calls[1].first, 1);
    EXPECT_EQ(Calls[2].first, 0);
    EXPECT_EQ(Calls[2].second, Calls[0].second);
    Stop_And_End();
  }
}

TEST_F(WirelessEngine, RadioCraftsConfigurationErasesTheKeyTableThenListens) {
  const std::pair<int, uint8_t> Modes[] = {{1, 0x03}, {5, 0x01}, {11, 0x0A}, {15, 0x11}, {17, 0x10}, {3, 0x03}};
  for (const auto& [Mode, Code] : Modes) {
    SCOPED_TRACE(Mode);
    Clear_Devices();
    Sent.clear();
    Make(TRadioModuleSim::TFamily::RadioCrafts);
    ASSERT_TRUE(Start(Mode));
    ASSERT_TRUE(Listening());
    EXPECT_EQ(Engine->Radio_Module(), rmRadioCrafts);
    std::vector<TBytes> Expected = {{0x00}, {'0'}, {'M'}, wmbus::Build_RadioCrafts_Config(Mode), {0xFF}, {'B'}};
    for (int Slot = 1; Slot <= 64; ++Slot) {
      Expected.push_back({uint8_t(Slot)});
      Expected.push_back(TBytes(8, 0));
    }
    Expected.push_back({'X'});
    EXPECT_EQ(Module->Received(), Expected);
    EXPECT_EQ(Module->RadioCrafts_Config(), (TBytes{0x03, Code, 0x04, 0x00, 0x05, 0x01, 0x12, 0x01, 0x16, 0x17, 0x3A,
                                                   0x01, 0x3D, 0x02, 0x37, 0x01}));
    std::vector<int> All(64);
    std::iota(All.begin(), All.end(), 1);
    EXPECT_EQ(Module->RadioCrafts_Cleared(), All);
    Hear(Meter_Telegram(0x33333333, false), 0xB0);
    ASSERT_EQ(Device_Count(), 1);
    EXPECT_EQ(Device(0).RSSI, -39);
    EXPECT_EQ(Device(0).List_Var.size(), 2u);
    Stop_And_End();
  }
}

TEST_F(WirelessEngine, TelitKeyInstallThenDecryptedTelegrams) {
  Make(TRadioModuleSim::TFamily::Telit);
  ASSERT_TRUE(Start(5, 0));
  ASSERT_TRUE(Listening());
  const TWirelessTelegram T = Meter_Telegram(0x87654321, true);
  Hear(T);
  ASSERT_TRUE(Device(0).Cripted);
  const size_t Before = Module->Received().size();
  std::array<uint8_t, 16> Key;
  for (int I = 0; I < 16; ++I) Key[size_t(I)] = uint8_t(0xA0 + I);
  ASSERT_TRUE(Engine->Insert_Wireless_Key(0, Key));
  EXPECT_TRUE(Device(0).Enable_Key);
  EXPECT_EQ(Device(0).Key, Key);
  EXPECT_FALSE(Engine->Insert_Wireless_Key(0, Key));  // an install is running
  ASSERT_TRUE(Run_Until([&] { return Engine->Step() == 134 && Module->Received().size() > Before; }));
  std::vector<TBytes> Expected = {B("+++"), B("ATS461=45\r"), B("ATS462=44\r"), B("ATS463=33\r"), B("ATS464=67\r"),
                                  B("ATS465=101\r"), B("ATS466=135\r"), B("ATS467=27\r"), B("ATS468=22\r")};
  for (int I = 0; I < 16; ++I) Expected.push_back(B(QByteArray("ATS") + QByteArray::number(470 + I) + "=" + QByteArray::number(0xA0 + I) + "\r"));
  Expected.push_back(B("ATS460=5\r"));
  Expected.push_back(B("ATO\r"));
  const std::vector<TBytes> All = Module->Received();
  EXPECT_EQ(std::vector<TBytes>(All.begin() + long(Before), All.end()), Expected);
  ASSERT_EQ(Module->Active_Keys().size(), 1u);
  EXPECT_EQ(Module->Active_Keys()[0].first.Address, 0x87654321u);
  EXPECT_TRUE(Engine->Wireless_Receive_Message());
  Hear(T);  // the module now decrypts it
  EXPECT_FALSE(Device(0).Cripted);
  size_t Real = 0;
  for (const TVariable_MBus& V : Device(0).List_Var) Real += V.Real_Wireless_Var;
  EXPECT_EQ(Real, 2u);
  Stop_And_End();
  EXPECT_EQ(Engine->FResult, 1);
}

TEST_F(WirelessEngine, RadioCraftsKeysTakeSuccessiveSlotsUntilTheTableIsFull) {
  Make(TRadioModuleSim::TFamily::RadioCrafts);
  ASSERT_TRUE(Start(1));
  ASSERT_TRUE(Listening());
  for (uint32_t I = 0; I < 65; ++I) Hear(Meter_Telegram(0x10000000 + I, true), 0x20);
  ASSERT_EQ(Device_Count(), 65);
  std::array<uint8_t, 16> Key{};
  for (int D = 0; D < 64; ++D) {
    Key[0] = uint8_t(D);
    const size_t Before = Module->Received().size();
    ASSERT_TRUE(Engine->Insert_Wireless_Key(D, Key)) << D;
    EXPECT_EQ(Device(D).RadioCrafts_Ind_Tab_Decript, D + 1);
    ASSERT_TRUE(Run_Until([&] { return Engine->Step() == 320 && Module->Received().size() > Before; })) << D;
    if (D == 2) {
      const std::vector<TBytes> All = Module->Received();
      const uint32_t A = 0x10000002;
      TBytes Key_Bytes(Key.begin(), Key.end());
      const std::vector<TBytes> Expected = {
          {0x00}, {'B'}, {3}, {uint8_t(A), uint8_t(A >> 8), uint8_t(A >> 16), uint8_t(A >> 24), 0x2D, 0x2C, 0x1B, 0x16},
          {'K'}, {3}, Key_Bytes, {'A'}, {3}, {0x00, 0x40}, {'X'}};
      EXPECT_EQ(std::vector<TBytes>(All.begin() + long(Before), All.end()), Expected);
    }
  }
  EXPECT_EQ(Module->Active_Keys().size(), 64u);
  // A device already keyed keeps its slot.
  ASSERT_TRUE(Engine->Insert_Wireless_Key(1, Key));
  EXPECT_EQ(Device(1).RadioCrafts_Ind_Tab_Decript, 2);
  ASSERT_TRUE(Run_Until([&] { return Engine->Step() == 320; }));
  // The 65th device finds no free slot: refused, nothing changed.
  EXPECT_FALSE(Engine->Insert_Wireless_Key(64, Key));
  EXPECT_EQ(Device(64).RadioCrafts_Ind_Tab_Decript, -1);
  EXPECT_FALSE(Device(64).Enable_Key);
  EXPECT_EQ(Engine->Step(), 320);
  Stop_And_End();
}

TEST_F(WirelessEngine, KeysAreRefusedOutsideListening) {
  Make(TRadioModuleSim::TFamily::RadioCrafts);
  std::array<uint8_t, 16> Key{};
  EXPECT_FALSE(Engine->Insert_Wireless_Key(0, Key));  // no scan
  ASSERT_TRUE(Start(1));
  ASSERT_TRUE(Run_Until([&] { return Engine->Step() == 313; }));  // erasing the key table
  {
    std::lock_guard<std::mutex> L(List_Dev_Lock);
    List_Dev_Wireless.append(new TSlave_wMBus());
  }
  EXPECT_FALSE(Engine->Insert_Wireless_Key(0, Key));
  EXPECT_FALSE(Device(0).Enable_Key);
  EXPECT_EQ(Device(0).RadioCrafts_Ind_Tab_Decript, -1);
  ASSERT_TRUE(Listening());
  EXPECT_FALSE(Engine->Insert_Wireless_Key(1, Key));   // no such device
  EXPECT_FALSE(Engine->Insert_Wireless_Key(-1, Key));
  EXPECT_FALSE(Engine->Insert_Wireless_Key(0, std::span<const uint8_t>(Key.data(), 15)));
  EXPECT_EQ(Engine->Step(), 320);
  EXPECT_TRUE(Engine->Insert_Wireless_Key(0, Key));
  EXPECT_EQ(Device(0).RadioCrafts_Ind_Tab_Decript, 1);
  Stop_And_End();
}

TEST_F(WirelessEngine, ListeningTakesOnlyTelegramsFromTheConverter) {
  Make(TRadioModuleSim::TFamily::Telit);
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Listening());
  TBytes D = *Module->Forward(Meter_Telegram(0x44444444, false), 0x40);
  Link->Deliver(1, TBytes(D.begin(), D.end() - 1));  // L + 2: not a Telit telegram
  TBytes Longer = D;
  Longer.push_back(0);
  Link->Deliver(2, Longer);
  Link->Deliver(3, D, Foreign_Address);
  Link->Deliver(4, B("OK\r"));
  for (int I = 0; I < 3; ++I) Engine->Run_Pass();
  EXPECT_EQ(Device_Count(), 0);
  EXPECT_TRUE(Calls.empty());
  EXPECT_EQ(Engine->Foreign_Dropped(), 1u);
  EXPECT_EQ(Engine->Step(), 134);
  Link->Deliver(1, D);
  for (int I = 0; I < 3; ++I) Engine->Run_Pass();
  EXPECT_EQ(Device_Count(), 1);
  Stop_And_End();
}

// The converter's sending port is learnt from its answer to the configuration-mode handshake (here not the port
// the scan talks to): telegrams from that socket are taken; telegram-shaped datagrams from any other port of the
// converter's address, however meter-like, are no devices.
TEST_F(WirelessEngine, ListeningTakesTelegramsOnlyFromTheSocketThatAnsweredTheHandshake) {
  constexpr uint16_t Answer_Port = 31000;
  Make(TRadioModuleSim::TFamily::Telit);
  Link->Shaper = [&](const std::vector<uint8_t>&, const std::vector<TBytes>& Answers) {
    std::vector<TAnswer> Out;
    for (const TBytes& A : Answers) Out.push_back({2, A, Sim_Address, Answer_Port});
    return Out;
  };
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Listening());
  std::mt19937 Rng(47);
  std::uniform_int_distribution<int> Byte(0, 255), Size(12, 80);
  for (int I = 0; I < 3000; ++I) {
    // A meter's link layer with random identities and payload, the length rule kept.
    TBytes D(size_t(Size(Rng)));
    for (uint8_t& X : D) X = uint8_t(Byte(Rng));
    D[0] = uint8_t(D.size() - 3);
    D[1] = 0x44;
    D[2] = 0x2D;
    D[3] = 0x2C;
    const uint16_t Port = I % 2 ? Sim_Port : uint16_t(Answer_Port + 1 + I % 7);
    Link->Deliver(1, D, Sim_Address, Port);
  }
  for (int I = 0; I < 3; ++I) Engine->Run_Pass();
  EXPECT_EQ(Device_Count(), 0);
  EXPECT_TRUE(Calls.empty());
  EXPECT_EQ(Engine->Foreign_Dropped(), 3000u);
  Link->Deliver(1, *Module->Forward(Meter_Telegram(0x44444444, false), 0x40), Sim_Address, Answer_Port);
  for (int I = 0; I < 3; ++I) Engine->Run_Pass();
  EXPECT_EQ(Device_Count(), 1);
  Stop_And_End();
  EXPECT_EQ(Engine->FResult, 1);
}

// Datagrams before the converter's answer to the handshake or to the module question are passed over until the
// time-out; the listening starts all the same.
TEST_F(WirelessEngine, DatagramsBeforeTheConvertersAnswersArePassedOver) {
  for (const QByteArray& Command : {wmbus::Cmd_Enable_Configuration, wmbus::Cmd_Type_Radio_Module}) {
    SCOPED_TRACE(Command.constData());
    Make(TRadioModuleSim::TFamily::Telit);
    Link->Shaper = [&](const std::vector<uint8_t>& Req, const std::vector<TBytes>& Answers) {
      std::vector<TAnswer> Out;
      if (Req == B(Command)) {
        Out.push_back({1, {0x00}});
        Out.push_back({2, B("\n\rError\n\r")});
      }
      for (const TBytes& A : Answers) Out.push_back({Req == B(Command) ? 600u : 2u, A});
      return Out;
    };
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Listening());
    EXPECT_EQ(Engine->FResult, 1);
    Hear(Meter_Telegram(0x12121212, false));
    EXPECT_EQ(Device_Count(), 1);
    Stop_And_End();
    Clear_Devices();
  }
}

// A flood of devices stops at the list's bound: telegrams of further devices are counted and ignored, the devices
// in the list are still heard, and once the window clears the list new devices are taken again.
TEST_F(WirelessEngine, HeardDevicesStayWithinTheListBound) {
  Make(TRadioModuleSim::TFamily::Telit);
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Listening());
  {
    std::lock_guard<std::mutex> L(List_Dev_Lock);
    for (int I = 0; I < Max_Wireless_Devices - 1; ++I) {
      auto* S = new TSlave_wMBus();
      S->ALA_Address = -1 - I;  // identities no telegram below carries
      List_Dev_Wireless.append(S);
    }
  }
  Hear(Meter_Telegram(0x10000001, false));
  EXPECT_EQ(Device_Count(), Max_Wireless_Devices);
  EXPECT_EQ(Engine->Full_List_Dropped(), 0u);
  Hear(Meter_Telegram(0x10000002, false));
  Hear(Meter_Telegram(0x10000003, false));
  Hear(Meter_Telegram(0x10000001, false));  // a device of the list: still taken
  EXPECT_EQ(Device_Count(), Max_Wireless_Devices);
  EXPECT_EQ(Engine->Full_List_Dropped(), 2u);
  EXPECT_EQ(Calls.size(), 2u);
  Clear_Devices();
  Hear(Meter_Telegram(0x10000002, false));
  EXPECT_EQ(Device_Count(), 1);
  EXPECT_EQ(Engine->Full_List_Dropped(), 2u);
  Stop_And_End();
}

TEST_F(WirelessEngine, StopLeavesConfigurationModeAtTheFirstConfirmation) {
  for (const auto Family : {TRadioModuleSim::TFamily::Telit, TRadioModuleSim::TFamily::RadioCrafts}) {
    Sent.clear();
    Make(Family);
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Listening());
    Hear(Meter_Telegram(0x55555555, false));
    Sent.clear();
    Stop_And_End();
    EXPECT_EQ(Sent, std::vector<TBytes>{B(wmbus::Cmd_Disable_Configuration)});
    EXPECT_EQ(Engine->FResult, 1);
    EXPECT_FALSE(Engine->Wireless_Receive_Message());
    EXPECT_EQ(CoreP->Mode, convsim::TConverterCore::TMode::Normal);
    EXPECT_FALSE(Module->Listening());
    EXPECT_EQ(Device_Count(), 1);  // the devices heard stay for the window
    Clear_Devices();
  }
}

TEST_F(WirelessEngine, UnexpectedAnswersFailTheScan) {
  struct TCase {
    const char* Name;
    std::function<void(convsim::TConverterCore&)> Break;
  } Cases[] = {
      {"configuration mode not confirmed",
       [](convsim::TConverterCore& C) {
         C.Add_Command(wmbus::Cmd_Enable_Configuration, [](convsim::TConverterCore&, std::vector<TBytes>& R) { R.push_back(B("NO")); });
       }},
      {"unknown radio module",
       [](convsim::TConverterCore& C) {
         C.Add_Command(wmbus::Cmd_Type_Radio_Module, [](convsim::TConverterCore&, std::vector<TBytes>& R) { R.push_back(B("\n\rOTHER\n\r")); });
       }},
      {"module silent",
       [](convsim::TConverterCore& C) {
         C.Set_Mode_Handler(convsim::TConverterCore::TMode::Configuration,
                            [](convsim::TConverterCore&, std::span<const uint8_t>, std::vector<TBytes>&) { return true; });
       }},
      {"module refuses a register",
       [](convsim::TConverterCore& C) {
         C.Add_Command("ATS402=191\r", [](convsim::TConverterCore&, std::vector<TBytes>& R) { R.push_back(B("ERROR\r")); });
       }},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Sent.clear();
    Make(TRadioModuleSim::TFamily::Telit);
    C.Break(*CoreP);
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Run_Until([&] { return !Engine->FInScan; }));
    EXPECT_EQ(Engine->FResult, 2);
    EXPECT_EQ(Sent.back(), B(wmbus::Cmd_Disable_Configuration));
    EXPECT_FALSE(Engine->Wireless_Receive_Message());
  }
}

// Answer steps look every 40 ms: a reply that is there counts even when the time-out passed meanwhile; when the
// time-out has passed with no reply, the scan fails.
TEST_F(WirelessEngine, ReplyLateButThereCountsNoReplyByTheTimeOutFails) {
  const std::pair<uint64_t, bool> Cases[] = {{990, true}, {1030, true}, {1050, false}};
  for (const auto& [Delay, Listens] : Cases) {
    SCOPED_TRACE(Delay);
    Make(TRadioModuleSim::TFamily::Telit);
    Link->Reply_Delay = Delay;
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Run_Until([&] { return Engine->Step() == 134 || !Engine->FInScan; }, 200000));
    EXPECT_EQ(Engine->Step() == 134, Listens);
    if (Listens) {
      Stop_And_End();
      EXPECT_EQ(Engine->FResult, 1);
    } else {
      EXPECT_EQ(Engine->FResult, 2);
    }
  }
}

TEST_F(WirelessEngine, StartIsRefusedWhileScanningAndForUnusableParameters) {
  Make(TRadioModuleSim::TFamily::Telit);
  auto Proc = [](int, TSlave_wMBus*) {};
  EXPECT_FALSE(Engine->Start_Scan_Wireless(shSerial, QStringLiteral("127.0.0.2"), 20502, 1, 0, Proc, false));
  EXPECT_FALSE(Engine->Start_Scan_Wireless(shEthernet, QStringLiteral("127.0.0"), 20502, 1, 0, Proc, false));
  EXPECT_FALSE(Engine->Start_Scan_Wireless(shEthernet, QStringLiteral("127.0.0.2"), 0, 1, 0, Proc, false));
  EXPECT_FALSE(Engine->FInScan);
  ASSERT_TRUE(Start());
  EXPECT_FALSE(Start());
  EXPECT_FALSE(Engine->Start_Scan(saPrimaryAddress, shEthernet, QStringLiteral("127.0.0.2"), 2400, 1, false, false, 0,
                                  nullptr));
  Stop_And_End();
  // A wired scan afterwards goes back to the command port.
  EXPECT_TRUE(Engine->Start_Scan(saPrimaryAddress, shEthernet, QStringLiteral("127.0.0.2"), 2400, 1, false, false, 0,
                                 nullptr));
  EXPECT_EQ(Link->Port_, 0);
  Engine->Abort_Scan();
  ASSERT_TRUE(Run_Until([&] { return !Engine->FInScan; }));
}

TEST_F(WirelessEngine, CallbackWithoutDeviceAndThrowingCallback) {
  Make(TRadioModuleSim::TFamily::Telit);
  std::vector<std::pair<int, TSlave_wMBus*>> Got;
  ASSERT_TRUE(Engine->Start_Scan_Wireless(shEthernet, QStringLiteral("127.0.0.2"), 20502, 1, 0,
                                          [&](int I, TSlave_wMBus* S) {
                                            Got.push_back({I, S});
                                            throw std::runtime_error("window gone");
                                          },
                                          true));
  ASSERT_TRUE(Listening());
  Hear(Meter_Telegram(1, false));
  Hear(Meter_Telegram(2, false));
  ASSERT_EQ(Got.size(), 2u);
  EXPECT_EQ(Got[1], (std::pair<int, TSlave_wMBus*>{1, nullptr}));
  EXPECT_EQ(Device_Count(), 2);
  Stop_And_End();
}

}  // namespace
