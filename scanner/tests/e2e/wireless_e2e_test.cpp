// Wireless listening over UDP on loopback (scanner 127.0.0.1, converter 127.0.0.2, both on the wireless port),
// against the simulated converter with a radio module of each family forwarding telegrams at its own pace, in
// real time: configuration, telegrams taken, a key installed, the decrypted telegrams read, the export of the
// result read back by the compiler.

#include "core/device_model.h"
#include "core/network_compiler.h"
#include "scanner/mbus_scan.h"
#include "tools/converter_sim/converter_sim.h"
#include "tools/converter_sim/radio_sim.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using convsim::TBytes;
using convsim::TRadioModuleSim;

void Clear_Devices() {
  std::lock_guard<std::mutex> L(List_Dev_Lock);
  qDeleteAll(List_Dev_Wireless);
  List_Dev_Wireless.clear();
}

std::vector<convsim::TWirelessTelegram> Telegrams() {
  const TBytes Plain = {0x18, 0x44, 0x2D, 0x2C, 0x11, 0x11, 0x11, 0x11, 0x1B, 0x16, 0x7A, 0x21, 0x00,
                        0x00, 0x00, 0x0C, 0x13, 0x78, 0x56, 0x34, 0x12, 0x02, 0x5A, 0x2C, 0x01};
  const TBytes Encrypted = {0x18, 0x44, 0x2D, 0x2C, 0x22, 0x22, 0x22, 0x22, 0x1B, 0x16, 0x7A, 0x21, 0x00,
                            0x00, 0x05, 0x93, 0x11, 0x7E, 0x02, 0x44, 0xA0, 0x31, 0x00, 0x12, 0x9C};
  const TBytes Decrypted = {0x1A, 0x44, 0x2D, 0x2C, 0x22, 0x22, 0x22, 0x22, 0x1B, 0x16, 0x7A, 0x21, 0x00, 0x00,
                            0x05, 0x2F, 0x2F, 0x0C, 0x13, 0x78, 0x56, 0x34, 0x12, 0x02, 0x5A, 0x2C, 0x01};
  return {{Plain, {}}, {Encrypted, Decrypted}};
}

bool Wait_For(const std::function<bool()>& Done, int Ms = 20000) {
  const auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ms);
  while (std::chrono::steady_clock::now() < End) {
    if (Done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return Done();
}

int Find_Locked(int32_t Address) {
  for (qsizetype I = 0; I < List_Dev_Wireless.size(); ++I)
    if (List_Dev_Wireless[I]->ALA_Address == Address) return int(I);
  return -1;
}

int Find(int32_t Address) {
  std::lock_guard<std::mutex> L(List_Dev_Lock);
  return Find_Locked(Address);
}

bool Readable(int Index) {
  std::lock_guard<std::mutex> L(List_Dev_Lock);
  return !List_Dev_Wireless[Index]->Cripted && !List_Dev_Wireless[Index]->List_Var.empty();
}

TEST(WirelessE2E, ListenKeyAndExportWithEachRadioModule) {
  for (const auto Family : {TRadioModuleSim::TFamily::Telit, TRadioModuleSim::TFamily::RadioCrafts}) {
    SCOPED_TRACE(Family == TRadioModuleSim::TFamily::Telit ? "Telit" : "RadioCrafts");
    Clear_Devices();
    convsim::TConverterSim Sim;
    TRadioModuleSim Module(Family);
    Module.Install(Sim.Core);
    QString Error;
    ASSERT_TRUE(Sim.Start(QStringLiteral("127.0.0.2"), 0, &Error)) << Error.toStdString();
    const uint16_t Port = Sim.Port();
    convsim::TWirelessTransmitter Air(Module, Telegrams(), 15, true, 0x40,
                                      [&Sim](const TBytes& D) { return Sim.Send_To_Peer(D); });
    TScanNetConfig Net;
    Net.Bind_Address = QStringLiteral("127.0.0.1");
    TScanEnvironment Env;
    Env.Transport = std::make_unique<TUdpScanTransport>(Net);
    TMBusScanDecode Engine(std::move(Env));
    TScanTiming Fast;
    Fast.Step_Pause = 2;
    Fast.Idle_Pause = 2;
    Fast.Radio_Slot_Time_Out = 10;
    Fast.Radio_Block_Time_Out = 50;
    ASSERT_TRUE(Engine.Set_Timing(Fast));
    Engine.Event_Run.SetEvent();
    std::atomic<int> Calls{0};
    ASSERT_TRUE(Engine.Start_Scan_Wireless(shEthernet, QStringLiteral("127.0.0.2"), Port, 5, 0,
                                           [&](int, TSlave_wMBus*) { ++Calls; }, false));
    ASSERT_TRUE(Wait_For([&] { return Find(0x22222222) >= 0 && Find(0x11111111) >= 0; })) << Engine.Step();
    EXPECT_EQ(Engine.Radio_Module(), Family == TRadioModuleSim::TFamily::Telit ? rmTelit : rmRadioCrafts);
    const int Keyed = Find(0x22222222);
    EXPECT_FALSE(Readable(Keyed));
    EXPECT_TRUE(Readable(Find(0x11111111)));
    {
      // Both records of the plain telegram are read, the last one included, and the level is the signal byte's.
      std::lock_guard<std::mutex> L(List_Dev_Lock);
      const TSlave_wMBus& Plain = *List_Dev_Wireless[Find_Locked(0x11111111)];
      ASSERT_EQ(Plain.List_Var.size(), 2u);
      EXPECT_EQ(Plain.List_Var[1].Value_Text_C(), "30");
      EXPECT_EQ(Plain.RSSI, Family == TRadioModuleSim::TFamily::Telit ? -66 : 33);
    }
    std::array<uint8_t, 16> Key{};
    Key[15] = 0x5A;
    ASSERT_TRUE(Engine.Insert_Wireless_Key(Keyed, Key));
    ASSERT_TRUE(Wait_For([&] { return Readable(Keyed); })) << Engine.Step();
    ASSERT_EQ(Module.Active_Keys().size(), 1u);
    EXPECT_EQ(Module.Active_Keys()[0].second, Key);
    Engine.Stop_Scan();
    ASSERT_TRUE(Wait_For([&] { return !Engine.FInScan; }));
    EXPECT_EQ(Engine.FResult, 1);
    EXPECT_EQ(Engine.Foreign_Dropped(), 0u);
    EXPECT_GE(Calls.load(), 3);
    {
      std::lock_guard<std::mutex> L(Sim.Core.Lock);
      EXPECT_EQ(Sim.Core.Mode, convsim::TConverterCore::TMode::Normal);
    }

    QTemporaryDir Dir;
    TSaveConfXML Save;
    Save.XML_Code_Dev = 13;
    Save.Mod_Start = 100;
    Save.File_Name = Dir.filePath(QStringLiteral("M_Bus.xml"));
    ASSERT_TRUE(Engine.Save_XML_Conf_Wireless(Save));
    const core::bank::Bank_Network Net2 = core::bank::Collect_Network(
        core::bank::Bank_Format::Network, 6, Save.File_Name, core::bank::Load_ParGen(Dir.filePath("ParGen.xml")));
    ASSERT_EQ(Net2.Nodi_Wireless.size(), 2u);
    const core::bank::TwMBus_Slot& Slot = Net2.wMBus_Slots[size_t(Keyed)];
    EXPECT_EQ(Slot.Address, 0x22222222u);
    EXPECT_EQ(Slot.Key_Enable, 1);
    EXPECT_EQ(Slot.Key[15], 0x5A);
    EXPECT_NO_THROW(core::bank::Compile(6, 0, Dir.filePath("ParGen.xml"), Save.File_Name));
    Clear_Devices();
  }
}

}  // namespace
