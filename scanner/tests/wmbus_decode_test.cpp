// Intake of forwarded wireless telegrams: the length rule, the header layouts by CI, telling encrypted payloads
// from ones the radio module decrypted, and how a known device is refreshed.

#include "scanner/wmbus_decode.h"

#include "scanner/mbus_decode.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

namespace {

using TBytes = std::vector<uint8_t>;

TBytes Cat(TBytes A, const TBytes& B) {
  A.insert(A.end(), B.begin(), B.end());
  return A;
}

// A telegram without CRCs from the L field on, the L field set: C, manufacturer, identification, version,
// device type, CI, then Rest.
TBytes Telegram(uint8_t CI, const TBytes& Rest, uint32_t Id = 0x12345678, uint16_t Man = 0x2C2D, uint8_t Ver = 0x1B,
                uint8_t Type = 0x07, uint8_t C = 0x44) {
  TBytes T = {0, C, uint8_t(Man), uint8_t(Man >> 8), uint8_t(Id), uint8_t(Id >> 8), uint8_t(Id >> 16),
              uint8_t(Id >> 24), Ver, Type, CI};
  T = Cat(T, Rest);
  T[0] = uint8_t(T.size() - 1);
  return T;
}

TBytes Drop_Last(TBytes A, size_t N) {
  A.resize(A.size() - N);
  return A;
}

// As a Telit module forwards it: two bytes appended, the signal level last.
TBytes Telit(TBytes T, uint8_t Signal = 0x40) { return Cat(T, {0x2A, Signal}); }
// As a RadioCrafts module forwards it: its signal byte appended, the L field the telegram's own.
TBytes RadioCrafts(TBytes T, uint8_t Signal = 0xB0) { return Cat(T, {Signal}); }

const TBytes Records = {0x0C, 0x13, 0x78, 0x56, 0x34, 0x12,  // volume, 8-digit BCD
                        0x02, 0x5A, 0x2C, 0x01};             // flow temperature, 16-bit

TBytes Short_Header(uint8_t Config_High, const TBytes& Payload) { return Cat({0x21, 0x00, 0x00, Config_High}, Payload); }
TBytes Long_Header(uint32_t Id, uint8_t Config_High, const TBytes& Payload) {
  return Cat({uint8_t(Id), uint8_t(Id >> 8), uint8_t(Id >> 16), uint8_t(Id >> 24), 0x93, 0x15, 0x3C, 0x06, 0x21, 0x00,
              0x00, Config_High},
             Payload);
}
TBytes Ell_Header(uint8_t Sn_High, uint8_t Inner_CI, const TBytes& Payload) {
  return Cat({0x20, 0x21, 0x11, 0x22, 0x33, Sn_High, 0xAB, 0xCD, Inner_CI}, Payload);
}

struct TList {
  QList<TSlave_wMBus*> L;
  ~TList() { qDeleteAll(L); }
};

TWireless_Intake Take(TList& List, const TBytes& Datagram, bool Is_Telit = true,
                      const QDateTime& Now = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5))) {
  const TBytes Exact(Datagram);  // exact size, so that the sanitizer build sees any read past the datagram
  return Decode_Wireless_Frame(List.L, Exact, Is_Telit, Now);
}

TEST(WirelessIntake, LengthRuleOfEachModule) {
  const TBytes T = Telegram(0x7A, Short_Header(0x00, Records));
  struct TCase {
    TBytes Datagram;
    bool Is_Telit;
    bool Taken;
  } Cases[] = {
      {Telit(T), true, true},
      {RadioCrafts(T), false, true},
      {T, false, true},               // L + 1: a RadioCrafts module whose signal byte is switched off
      {Telit(T), false, false},       // L + 3 is not a RadioCrafts telegram
      {RadioCrafts(T), true, false},  // L + 2 is not a Telit telegram
      {T, true, false},
      {Cat(Telit(T), {0x00}), true, false},
      {Drop_Last(Telit(T), 1), true, false},
      {TBytes{}, true, false},
      {TBytes{0x00}, false, true},  // passes the length rule; too short for a header, dropped below
  };
  for (const TCase& C : Cases) {
    EXPECT_EQ(Is_Wireless_Telegram(C.Datagram, C.Is_Telit), C.Taken) << C.Datagram.size();
    TList List;
    const TWireless_Intake R = Take(List, C.Datagram, C.Is_Telit);
    EXPECT_EQ(R.Index >= 0, C.Taken && C.Datagram.size() > 1) << C.Datagram.size();
    EXPECT_EQ(List.L.size(), R.Index >= 0 ? 1 : 0);
  }
}

// Bytes that only fit their length are no telegram: the link layer must name a function a meter sends and a
// manufacturer of three letters, and so must a long header for the device inside.
TEST(WirelessIntake, OnlyAMetersLinkLayerMakesADevice) {
  const TBytes Short = Short_Header(0x00, Records);
  struct TCase {
    const char* Name;
    TBytes Datagram;
    bool Taken;
  } Cases[] = {
      {"SND_NR", Telegram(0x7A, Short), true},
      {"SND_IR", Telegram(0x7A, Short, 1, 0x2C2D, 1, 7, 0x46), true},
      {"ACC_DMD", Telegram(0x7A, Short, 1, 0x2C2D, 1, 7, 0x48), true},
      {"RSP_UD with ACD", Telegram(0x7A, Short, 1, 0x2C2D, 1, 7, 0x28), true},
      {"a primary station's SND_UD", Telegram(0x7A, Short, 1, 0x2C2D, 1, 7, 0x53), false},
      {"C field zero", Telegram(0x7A, Short, 1, 0x2C2D, 1, 7, 0x00), false},
      {"manufacturer ZZZ", Telegram(0x7A, Short, 1, 0x6B5A), true},
      {"manufacturer letter 0", Telegram(0x7A, Short, 1, 0x2C20), false},
      {"manufacturer letter 27", Telegram(0x7A, Short, 1, 0x2C3B), false},
      {"manufacturer all ones", Telegram(0x7A, Short, 1, 0xFFFF), false},
      {"long header", Telegram(0x72, Long_Header(0x11, 0x00, Records)), true},
      {"long header, manufacturer 0", Telegram(0x72, Cat({1, 0, 0, 0, 0, 0, 1, 7, 0x21, 0, 0, 0}, Records)), false},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TList List;
    for (const bool Is_Telit : {true, false}) {
      const TWireless_Intake R = Take(List, Is_Telit ? Telit(C.Datagram) : RadioCrafts(C.Datagram), Is_Telit);
      EXPECT_EQ(R.Index >= 0, C.Taken);
    }
    EXPECT_EQ(List.L.size(), C.Taken ? 1 : 0);
  }
}

TEST(WirelessIntake, PlainShortHeaderFillsTheDevice) {
  TList List;
  const QDateTime Now(QDate(2026, 5, 6), QTime(7, 8, 9));
  const TWireless_Intake R = Take(List, Telit(Telegram(0x7A, Short_Header(0x00, Records)), 0x40), true, Now);
  ASSERT_EQ(R.Index, 0);
  EXPECT_TRUE(R.New_Device);
  const TSlave_wMBus& S = *List.L[0];
  EXPECT_EQ(S.Message_Type, 0x44);
  EXPECT_EQ(S.LLA_Manufacturer, 0x2C2D);
  EXPECT_EQ(S.LLA_Manu_str, "KAM");
  EXPECT_EQ(S.LLA_Address, 0x12345678u);
  EXPECT_EQ(S.LLA_Version, 0x1B);
  EXPECT_EQ(S.LLA_DeviceType, 0x07);
  EXPECT_EQ(S.ALA_Manufacturer, 0x2C2D);
  EXPECT_EQ(S.ALA_Manu_str, "KAM");
  EXPECT_EQ(S.ALA_Address, 0x12345678);
  EXPECT_EQ(S.ALA_Version, 0x1B);
  EXPECT_EQ(S.ALA_DeviceType, 0x07);
  EXPECT_EQ(S.RSSI, -66);
  EXPECT_EQ(S.DateTime, Now);
  EXPECT_FALSE(S.Cripted);
  EXPECT_TRUE(S.Enable);
  EXPECT_FALSE(S.Enable_Key);
  EXPECT_EQ(S.RadioCrafts_Ind_Tab_Decript, -1);
  // The two module bytes are not read as records.
  ASSERT_EQ(S.List_Var.size(), 2u);
  EXPECT_EQ(S.List_Var[0].Value_Text_C(), "12345.678");
  EXPECT_EQ(S.List_Var[1].Value_Text_C(), "30");
}

TEST(WirelessIntake, EncryptedAndDecryptedPayloads) {
  const TBytes Marked = Cat({0x2F, 0x2F}, Records);
  struct TCase {
    const char* Name;
    TBytes Datagram;
    bool Cripted;
    size_t Records;  // real records (idle fillers not counted)
    int32_t ALA_Address;
  } Cases[] = {
      {"7A mode 0", Telit(Telegram(0x7A, Short_Header(0x00, Records))), false, 2, 0x12345678},
      {"7A mode 5 decrypted", Telit(Telegram(0x7A, Short_Header(0x05, Marked))), false, 2, 0x12345678},
      {"7A mode 5 encrypted", Telit(Telegram(0x7A, Short_Header(0x05, {0x91, 0x2F, 0x44, 0x10, 0x7E, 0x01}))), true, 0,
       0x12345678},
      {"7A mode 5, one marker byte", Telit(Telegram(0x7A, Short_Header(0x05, Cat({0x2F, 0x00}, Records)))), true, 0,
       0x12345678},
      {"7A mode 0x15 is not mode 5", Telit(Telegram(0x7A, Short_Header(0x15, Marked))), true, 0, 0x12345678},
      {"7A mode 7", Telit(Telegram(0x7A, Short_Header(0x07, Marked))), true, 0, 0x12345678},
      {"72 mode 0", Telit(Telegram(0x72, Long_Header(0x87654321, 0x00, Records))), false, 2, int32_t(0x87654321)},
      {"72 mode 5 decrypted", Telit(Telegram(0x72, Long_Header(0x00000042, 0x05, Marked))), false, 2, 0x42},
      {"72 mode 5 encrypted", Telit(Telegram(0x72, Long_Header(0x00000042, 0x05, {0x91, 0x2F, 0x44, 0x10}))), true, 0,
       0x42},
      {"8D inner 78, encrypted flag", Telit(Telegram(0x8D, Ell_Header(0x20, 0x78, Records))), false, 2, 0x12345678},
      {"8D encrypted", Telit(Telegram(0x8D, Ell_Header(0x20, 0x7A, Records))), true, 0, 0x12345678},
      {"8D plain, other inner CI", Telit(Telegram(0x8D, Ell_Header(0x00, 0x7A, Records))), false, 0, 0x12345678},
      {"78 no header", Telit(Telegram(0x78, Records)), false, 2, 0x12345678},
      {"unknown CI", Telit(Telegram(0xA0, Long_Header(0x99, 0x00, Records))), true, 0, 0x99},
  };
  for (const TCase& C : Cases) {
    TList List;
    ASSERT_EQ(Take(List, C.Datagram).Index, 0) << C.Name;
    const TSlave_wMBus& S = *List.L[0];
    EXPECT_EQ(S.Cripted, C.Cripted) << C.Name;
    size_t Real = 0;
    for (const TVariable_MBus& V : S.List_Var) Real += V.Real_Wireless_Var ? 1 : 0;
    EXPECT_EQ(Real, C.Records) << C.Name;
    EXPECT_EQ(S.ALA_Address, C.ALA_Address) << C.Name;
    EXPECT_EQ(S.LLA_Address, 0x12345678u) << C.Name;
  }
}

TEST(WirelessIntake, LongHeaderGivesTheApplicationLayer) {
  TList List;
  Take(List, Telit(Telegram(0x72, Long_Header(0x00112233, 0x00, Records), 0xAABBCCDD, 0x0442, 0x01, 0x31)));
  ASSERT_EQ(List.L.size(), 1);
  const TSlave_wMBus& S = *List.L[0];
  EXPECT_EQ(S.LLA_Address, 0xAABBCCDDu);
  EXPECT_EQ(S.LLA_Manufacturer, 0x0442);
  EXPECT_EQ(S.ALA_Address, 0x00112233);
  EXPECT_EQ(S.ALA_Manufacturer, 0x1593);
  EXPECT_EQ(S.ALA_Version, 0x3C);
  EXPECT_EQ(S.ALA_DeviceType, 0x06);
  EXPECT_EQ(Find_Wireless_Slave(List.L, 0x1593, 0x00112233, 0x3C, 0x06), 0);
  EXPECT_EQ(Find_Wireless_Slave(List.L, 0x1593, 0x00112233, 0x3C, 0x07), -1);
  EXPECT_EQ(Find_Wireless_Slave(List.L, 0x0442, int32_t(0xAABBCCDD), 0x01, 0x31), -1);
}

TEST(WirelessIntake, KnownDeviceGetsNewRecordsButKeepsItsFirstLinkLayer) {
  TList List;
  const QDateTime T1(QDate(2026, 1, 1), QTime(1, 0)), T2(QDate(2026, 1, 1), QTime(2, 0));
  // The same application layer heard through two link layers (a repeater, say) and at two signal levels.
  Take(List, Telit(Telegram(0x72, Long_Header(0x42, 0x00, Records), 0x11111111, 0x0442, 0x01, 0x31, 0x44), 0x40), true,
       T1);
  const TWireless_Intake R =
      Take(List, Telit(Telegram(0x72, Long_Header(0x42, 0x00, {0x02, 0x5A, 0x10, 0x00}), 0x22222222, 0x0443, 0x02,
                                0x32, 0x46),
                       0x10),
           true, T2);
  EXPECT_EQ(R.Index, 0);
  EXPECT_FALSE(R.New_Device);
  EXPECT_TRUE(R.Refreshed);
  ASSERT_EQ(List.L.size(), 1);
  const TSlave_wMBus& S = *List.L[0];
  EXPECT_EQ(S.Message_Type, 0x44);
  EXPECT_EQ(S.LLA_Address, 0x11111111u);
  EXPECT_EQ(S.LLA_Manufacturer, 0x0442);
  EXPECT_EQ(S.LLA_Version, 0x01);
  EXPECT_EQ(S.LLA_DeviceType, 0x31);
  EXPECT_EQ(S.RSSI, -66);
  EXPECT_EQ(S.DateTime, T2);
  ASSERT_EQ(S.List_Var.size(), 1u);
  EXPECT_EQ(S.List_Var[0].Value_Text_C(), "1.6");
}

TEST(WirelessIntake, ExtendedLinkLayerWithoutInnerHeaderKeepsAKnownDevice) {
  TList List;
  const QDateTime T1(QDate(2026, 1, 1), QTime(1, 0)), T2(QDate(2026, 1, 1), QTime(2, 0));
  Take(List, Telit(Telegram(0x8D, Ell_Header(0x20, 0x78, Records))), true, T1);
  const TWireless_Intake R = Take(List, Telit(Telegram(0x8D, Ell_Header(0x20, 0x7A, {0x01, 0x02, 0x03}))), true, T2);
  EXPECT_EQ(R.Index, 0);  // the caller still notifies the window
  EXPECT_FALSE(R.Refreshed);
  const TSlave_wMBus& S = *List.L[0];
  EXPECT_FALSE(S.Cripted);
  EXPECT_EQ(S.DateTime, T1);
  EXPECT_EQ(S.List_Var.size(), 2u);
}

TEST(WirelessIntake, TicksOfUnchangedRecordsSurviveANewTelegram) {
  TList List;
  const TBytes D = Telit(Telegram(0x7A, Short_Header(0x00, Records)));
  Take(List, D);
  List.L[0]->List_Var[1].Enable = false;
  Take(List, D);
  EXPECT_TRUE(List.L[0]->List_Var[0].Enable);
  EXPECT_FALSE(List.L[0]->List_Var[1].Enable);
  // A telegram with other records at that place starts ticked.
  Take(List, Telit(Telegram(0x7A, Short_Header(0x00, {0x0C, 0x13, 0x01, 0x00, 0x00, 0x00, 0x04, 0x13, 1, 0, 0, 0}))));
  EXPECT_TRUE(List.L[0]->List_Var[1].Enable);
}

TEST(WirelessIntake, HeadersCutShortAreDropped) {
  // Each telegram ends one byte before its header would be complete (the module's bytes follow).
  const TBytes Cases[] = {
      Drop_Last(Telegram(0x7A, Short_Header(0x05, {})), 1),
      Drop_Last(Telegram(0x72, Long_Header(1, 0x00, {})), 1),
      Drop_Last(Telegram(0x8D, Ell_Header(0x00, 0x78, {})), 1),
      Drop_Last(Telegram(0xA0, Long_Header(1, 0x00, {})), 5),
      Drop_Last(Telegram(0x78, {}), 1),
  };
  for (TBytes T : Cases) {
    T[0] = uint8_t(T.size() - 1);
    TList List;
    EXPECT_EQ(Take(List, Telit(T)).Index, -1) << int(T.size() > 10 ? T[10] : 0);
    EXPECT_EQ(Take(List, RadioCrafts(T), false).Index, -1);
    EXPECT_EQ(Take(List, T, false).Index, -1);
    EXPECT_TRUE(List.L.isEmpty());
  }
}

TEST(WirelessIntake, EveryCutOfATelegramStaysInsideTheDatagram) {
  const TBytes Full[] = {Telegram(0x7A, Short_Header(0x05, Cat({0x2F, 0x2F}, Records))),
                         Telegram(0x72, Long_Header(7, 0x05, Cat({0x2F, 0x2F}, Records))),
                         Telegram(0x8D, Ell_Header(0x20, 0x78, Records)), Telegram(0x78, Records)};
  for (const TBytes& F : Full)
    for (size_t N = 1; N <= F.size(); ++N) {
      TBytes T(F.begin(), F.begin() + long(N));
      T[0] = uint8_t(N - 1);
      TList List;
      Take(List, Telit(T));
      Take(List, RadioCrafts(T), false);
      for (const TSlave_wMBus* S : List.L) EXPECT_LE(S->List_Var.size(), 4u);
    }
}

// Random datagrams that pass the length rule, with the CI fields of every layout: whatever the bytes, nothing is
// read outside the datagram (the sanitizer build checks) and every record kept lies in the record area.
TEST(WirelessIntake, RandomDatagramsStayInBounds) {
  std::mt19937 Rng(20261210);
  const uint8_t CIs[] = {0x7A, 0x72, 0x8D, 0x78, 0xA0};
  TList List;
  for (int I = 0; I < 20000; ++I) {
    const bool Is_Telit = I % 2 == 0;
    const size_t Len = 1 + Rng() % 60;
    TBytes D(Len);
    for (uint8_t& B : D) B = uint8_t(Rng());
    if (Len > 10) D[10] = CIs[Rng() % 5];
    if (Len > 14 && Rng() % 2) D[14] = 0x05;
    if (Len > 16 && Rng() % 2) D[15] = D[16] = 0x2F;
    if (Len > 19 && Rng() % 2) D[19] = 0x78;
    const int Extra = Is_Telit ? 3 : 1 + int(Rng() % 2);
    if (int(Len) < Extra) continue;
    D[0] = uint8_t(Len - size_t(Extra));
    const TWireless_Intake R = Take(List, D, Is_Telit);
    if (R.Index >= 0) {
      EXPECT_LT(R.Index, List.L.size());
      EXPECT_LE(List.L[R.Index]->List_Var.size(), Len);
    }
  }
}

TEST(WirelessIntake, SignalLevels) {
  struct TCase {
    uint8_t B;
    int Telit, RadioCrafts;
  } Cases[] = {
      {0x00, -2, 1}, {0x40, -66, 33}, {0x7E, -128, 64}, {0x7F, -128, 64},  // Telit never wraps to a positive level
      {0xC8, -128, -27}, {0xFF, -128, 1}, {0x81, -128, -62}, {0x05, -7, 3},
  };
  for (const TCase& C : Cases) {
    EXPECT_EQ(Telit_RSSI(C.B), C.Telit) << int(C.B);
    EXPECT_EQ(RadioCrafts_RSSI(C.B), C.RadioCrafts) << int(C.B);
  }
}

// A full list takes no new device, but its devices are still refreshed; once the list has room, new devices are
// taken again.
TEST(WirelessIntake, FullListTakesNoNewDevice) {
  const QDateTime Now(QDate(2026, 1, 2), QTime(3, 4, 5));
  auto Heard = [&](uint32_t Id) { return Telit(Telegram(0x7A, Short_Header(0x00, Records), Id)); };
  TList List;
  for (uint32_t Id = 1; Id <= 3; ++Id) EXPECT_EQ(Decode_Wireless_Frame(List.L, Heard(Id), true, Now, 3).Index, int(Id) - 1);
  TWireless_Intake R = Decode_Wireless_Frame(List.L, Heard(4), true, Now, 3);
  EXPECT_EQ(R.Index, -1);
  EXPECT_TRUE(R.List_Full);
  EXPECT_EQ(List.L.size(), 3);
  R = Decode_Wireless_Frame(List.L, Heard(2), true, Now.addSecs(1), 3);
  EXPECT_EQ(R.Index, 1);
  EXPECT_TRUE(R.Refreshed);
  EXPECT_FALSE(R.List_Full);
  EXPECT_EQ(List.L[1]->DateTime, Now.addSecs(1));
  delete List.L.takeLast();
  R = Decode_Wireless_Frame(List.L, Heard(4), true, Now, 3);
  EXPECT_EQ(R.Index, 2);
  EXPECT_TRUE(R.New_Device);
}

// A RadioCrafts datagram ends with at most the module's signal byte: every record up to it is read, the last one
// included, and the level comes from that byte, or is 0 when the module sent none.
TEST(WirelessIntake, RadioCraftsTelegramsKeepTheirLastRecord) {
  const TBytes T = Telegram(0x7A, Short_Header(0x00, Records));
  const struct {
    const char* Name;
    TBytes Datagram;
    int RSSI;
  } Cases[] = {{"signal byte", RadioCrafts(T, 0xB0), -39}, {"no signal byte", T, 0}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    TList List;
    ASSERT_EQ(Take(List, C.Datagram, false).Index, 0);
    const TSlave_wMBus& S = *List.L[0];
    EXPECT_EQ(S.RSSI, C.RSSI);
    ASSERT_EQ(S.List_Var.size(), 2u);
    EXPECT_EQ(S.List_Var[0].Value_Text_C(), "12345.678");
    EXPECT_EQ(S.List_Var[1].Value_Text_C(), "30");
  }
}

}  // namespace
