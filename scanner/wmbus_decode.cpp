#include "scanner/wmbus_decode.h"

#include "scanner/mbus_decode.h"

#include <memory>

namespace {

uint16_t U16(std::span<const uint8_t> D, int At) { return uint16_t(D[size_t(At)] | (D[size_t(At) + 1] << 8)); }

uint32_t U32(std::span<const uint8_t> D, int At) {
  return uint32_t(D[size_t(At)]) | uint32_t(D[size_t(At) + 1]) << 8 | uint32_t(D[size_t(At) + 2]) << 16 |
         uint32_t(D[size_t(At) + 3]) << 24;
}

// The encryption mode of a configuration field whose high byte is Byte.
int Mode_Of(uint8_t Byte) { return Byte & 0x1F; }

constexpr int Link_Header = 11;  // L, C, manufacturer, address, version, device type, CI
constexpr int Telit_Appended = 2;

// The link-layer functions a meter sends on its own or in answer: SND_NR, SND_IR, ACC_NR, ACC_DMD, and RSP_UD
// with any of its ACD/DFC bits. Anything else is no meter's telegram.
bool Is_Meter_C_Field(uint8_t C) {
  switch (C) {
    case 0x44: case 0x46: case 0x47: case 0x48:
    case 0x08: case 0x18: case 0x28: case 0x38:
      return true;
    default:
      return false;
  }
}

// A manufacturer code is three letters A..Z, five bits each; bit 15 is left alone.
bool Is_Manufacturer_Code(uint16_t Code) {
  for (int Shift = 0; Shift <= 10; Shift += 5) {
    const int Letter = (Code >> Shift) & 0x1F;
    if (Letter < 1 || Letter > 26) return false;
  }
  return true;
}

}  // namespace

bool Is_Wireless_Telegram(std::span<const uint8_t> Datagram, bool Telit) {
  if (Datagram.empty()) return false;
  const size_t Telegram = size_t(Datagram[0]) + 1;
  if (Telit) return Datagram.size() == Telegram + Telit_Appended;
  return Datagram.size() == Telegram || Datagram.size() == Telegram + 1;
}

int Appended_Bytes(std::span<const uint8_t> Datagram, bool Telit) {
  if (Telit) return Telit_Appended;
  return Datagram.empty() ? 0 : int(Datagram.size()) - (int(Datagram[0]) + 1);
}

int8_t Telit_RSSI(uint8_t Signal) {
  const int V = -int(Signal) - 2;
  return int8_t(V < -128 ? -128 : V);
}

int8_t RadioCrafts_RSSI(uint8_t Signal) { return int8_t(int(int8_t(Signal)) / 2 + 1); }

bool Parse_Wireless_Telegram(std::span<const uint8_t> D, bool Telit, TWireless_Telegram& Out) {
  const int Len = int(D.size());
  const int Appended = Appended_Bytes(D, Telit);
  const int End = Len - Appended;  // header bytes and record starts lie below End
  if (End < Link_Header) return false;
  // Bytes that merely fit their length are no telegram: a meter's link layer names a meter function and a
  // manufacturer, and a long header names the manufacturer of the device inside.
  if (!Is_Meter_C_Field(D[1]) || !Is_Manufacturer_Code(U16(D, 2))) return false;
  TWireless_Telegram T;
  T.C = D[1];
  T.LLA_Manufacturer = U16(D, 2);
  T.LLA_Address = U32(D, 4);
  T.LLA_Version = D[8];
  T.LLA_DeviceType = D[9];
  T.CI = D[10];
  T.Has_Signal = Appended > 0;
  if (T.Has_Signal) T.Signal = D[size_t(Len) - 1];
  T.ALA_Manufacturer = T.LLA_Manufacturer;
  T.ALA_Address = int32_t(T.LLA_Address);
  T.ALA_Version = T.LLA_Version;
  T.ALA_DeviceType = T.LLA_DeviceType;
  T.Records_End = End;
  auto Has = [&](int Byte) { return Byte < End; };
  switch (T.CI) {
    case 0x78:  // no transport header: plain records
      T.Cripted = false;
      T.Records_From = Link_Header;
      break;
    case 0x7A: {
      if (!Has(14)) return false;
      const int Mode = Mode_Of(D[14]);
      if (Mode == 0 || (Mode == 5 && Has(16) && D[15] == 0x2F && D[16] == 0x2F)) {
        T.Cripted = false;
        T.Records_From = 15;
      }
      break;
    }
    case 0x8D: {
      if (!Has(19)) return false;
      const bool Inner_78 = D[19] == 0x78;
      T.Keep_Known = !Inner_78;
      T.Cripted = (D[16] & 0x20) != 0 && !Inner_78;
      if (Inner_78) T.Records_From = 20;
      break;
    }
    default: {
      if (!Has(18)) return false;
      T.ALA_Address = int32_t(U32(D, 11));
      T.ALA_Manufacturer = U16(D, 15);
      T.ALA_Version = D[17];
      T.ALA_DeviceType = D[18];
      if (T.CI == 0x72) {
        if (!Has(22) || !Is_Manufacturer_Code(T.ALA_Manufacturer)) return false;
        if (Mode_Of(D[22]) == 0 || (Has(24) && D[23] == 0x2F && D[24] == 0x2F)) {
          T.Cripted = false;
          T.Records_From = 23;
        }
      }
      break;
    }
  }
  Out = T;
  return true;
}

int Find_Wireless_Slave(const QList<TSlave_wMBus*>& List, uint16_t Manufacturer, int32_t Address, uint8_t Version,
                        uint8_t DeviceType) {
  for (qsizetype I = 0; I < List.size(); ++I) {
    const TSlave_wMBus* S = List[I];
    if (S && S->ALA_Manufacturer == Manufacturer && S->ALA_Address == Address && S->ALA_Version == Version &&
        S->ALA_DeviceType == DeviceType)
      return int(I);
  }
  return -1;
}

TWireless_Intake Decode_Wireless_Frame(QList<TSlave_wMBus*>& List, std::span<const uint8_t> Datagram, bool Telit,
                                       const QDateTime& Now, int Max_Devices) {
  TWireless_Intake R;
  TWireless_Telegram T;
  if (!Is_Wireless_Telegram(Datagram, Telit) || !Parse_Wireless_Telegram(Datagram, Telit, T)) return R;
  R.Index = Find_Wireless_Slave(List, T.ALA_Manufacturer, T.ALA_Address, T.ALA_Version, T.ALA_DeviceType);
  TSlave_wMBus* S = nullptr;
  if (R.Index < 0) {
    if (List.size() >= Max_Devices) {
      R.List_Full = true;
      return R;
    }
    auto Fresh = std::make_unique<TSlave_wMBus>();
    Fresh->Message_Type = T.C;
    Fresh->LLA_Manufacturer = T.LLA_Manufacturer;
    Fresh->LLA_Manu_str = Manufacturer_To_Text(T.LLA_Manufacturer);
    Fresh->LLA_Address = T.LLA_Address;
    Fresh->LLA_Version = T.LLA_Version;
    Fresh->LLA_DeviceType = T.LLA_DeviceType;
    Fresh->ALA_Manufacturer = T.ALA_Manufacturer;
    Fresh->ALA_Manu_str = Manufacturer_To_Text(T.ALA_Manufacturer);
    Fresh->ALA_Address = T.ALA_Address;
    Fresh->ALA_Version = T.ALA_Version;
    Fresh->ALA_DeviceType = T.ALA_DeviceType;
    if (T.Has_Signal) Fresh->RSSI = Telit ? Telit_RSSI(T.Signal) : RadioCrafts_RSSI(T.Signal);
    Fresh->RadioCrafts_Ind_Tab_Decript = -1;
    S = Fresh.get();
    List.append(Fresh.release());
    R.Index = int(List.size()) - 1;
    R.New_Device = true;
  } else {
    S = List[R.Index];
    if (T.Keep_Known) return R;
  }
  // The user's ticks survive a new telegram with the same records.
  std::vector<TVariable_MBus> Old;
  Old.swap(S->List_Var);
  S->Cancel_Var();
  S->DateTime = Now;
  S->Cripted = T.Cripted;
  if (T.Records_From >= 0 && T.Records_From < T.Records_End) {
    TDecode_Options Options;
    Options.Wireless = true;
    Options.Decoded_At = Now.toMSecsSinceEpoch();
    Decode_Records(S->List_Var, Datagram.subspan(size_t(T.Records_From), size_t(T.Records_End - T.Records_From)),
                   Options);
  }
  for (size_t I = 0; I < S->List_Var.size() && I < Old.size(); ++I) {
    TVariable_MBus& V = S->List_Var[I];
    if (V.DIF_Byte == Old[I].DIF_Byte && V.VIF == Old[I].VIF) V.Enable = Old[I].Enable;
  }
  R.Refreshed = true;
  return R;
}
