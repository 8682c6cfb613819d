// Fuzz entry for the telegram decoder. The first input byte picks the path; the rest is the telegram:
//   0: the bytes as a reply frame, envelope checks included;
//   1: the bytes as a reply frame whose L field and checksum are made to fit, so the record area is reached;
//   2, 3: the bytes as a bare record area, wired and wireless.
// Every text of every kept record is built as well.

#include "scanner/mbus_decode.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

void Touch(const std::vector<TVariable_MBus>& List) {
  for (const TVariable_MBus& R : List) {
    volatile qsizetype N = R.DIF().size() + R.DIFE().size() + R.VIFE().size() + R.totdati().size() +
                           R.VIF_ASCII().size() + R.Desc_Type_Data().size() + R.ValueStr().size() +
                           R.FunctionFieldStr().size() + R.DataFieldStr().size() + R.descdim().size() +
                           R.sterror().size();
    (void)N;
    double V;
    (void)R.Value_Number(V);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 1) return 0;
  const int Mode = Data[0] & 3;
  std::vector<uint8_t> Bytes(Data + 1, Data + Size);
  if (Mode == 0 || Mode == 1) {
    if (Mode == 1 && Bytes.size() >= 6 && Bytes.size() <= 261) {
      Bytes[0] = Bytes[3] = 0x68;
      Bytes[1] = Bytes[2] = uint8_t(Bytes.size() - 6);
      Bytes.back() = 0x16;
      uint8_t Sum = 0;
      for (size_t I = 4; I + 2 < Bytes.size(); ++I) Sum = uint8_t(Sum + Bytes[I]);
      Bytes[Bytes.size() - 2] = Sum;
    }
    TSlave_MBus Slave;
    Decode_Header(Bytes, Slave, true);
    Touch(Slave.List_Var);
  } else {
    std::vector<TVariable_MBus> List;
    TDecode_Options Options;
    Options.Wireless = Mode == 3;
    Decode_Records(List, Bytes, Options);
    Touch(List);
  }
  return 0;
}
