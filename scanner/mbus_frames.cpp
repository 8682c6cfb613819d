#include "scanner/mbus_frames.h"

#include <algorithm>

namespace mbus {

const QByteArray Cmd_Enable_Analyzer = QByteArrayLiteral("Veltrum_Enable_Analyzer_Mode");
const QByteArray Cmd_Disable_Analyzer = QByteArrayLiteral("Veltrum_Disable_Analyzer_Mode");
const QByteArray Reply_Analyzer_Enabled = QByteArrayLiteral("\n\rAnalyzer_Mode Enabled!\n\r");
const QByteArray Reply_Analyzer_Disabled = QByteArrayLiteral("\n\rAnalyzer_Mode Disabled!\n\r");
const QByteArray Reply_No_Slave = QByteArrayLiteral("NO_SLAVE\n\r");

namespace {
uint8_t Sum(const uint8_t* First, const uint8_t* Last) {
  unsigned S = 0;
  for (; First != Last; ++First) S += *First;
  return static_cast<uint8_t>(S);
}

std::vector<uint8_t> Short_Frame(uint8_t C, uint8_t A) {
  return {0x10, C, A, static_cast<uint8_t>(C + A), 0x16};
}
}  // namespace

std::vector<uint8_t> Build_SND_NKE(uint8_t A) { return Short_Frame(0x40, A); }

std::vector<uint8_t> Build_REQ_UD2(uint8_t A, int Frame_No) {
  return Short_Frame(Frame_No % 2 == 0 ? 0x7B : 0x5B, A);
}

std::vector<uint8_t> Build_App_Reset(uint8_t A) {
  std::vector<uint8_t> F = {0x68, 0x03, 0x03, 0x68, 0x73, A, 0x50, 0, 0x16};
  F[7] = Sum(F.data() + 4, F.data() + 7);
  return F;
}

std::vector<uint8_t> Build_Select_Secondary(const int (&Digits)[8]) {
  auto Nibble = [&](int I) -> uint8_t { return Digits[I] < 0 ? 0xF : static_cast<uint8_t>(Digits[I] & 0xF); };
  auto Byte = [&](int Hi) -> uint8_t { return static_cast<uint8_t>(Nibble(Hi) << 4 | Nibble(Hi + 1)); };
  std::vector<uint8_t> F = {0x68, 0x0B, 0x0B, 0x68, 0x73, 0xFD, 0x52,
                            Byte(6), Byte(4), Byte(2), Byte(0),  // identification, least significant byte first
                            0xFF, 0xFF, 0xFF, 0xFF, 0, 0x16};
  F[15] = Sum(F.data() + 4, F.data() + 15);
  return F;
}

bool Is_Single_ACK(std::span<const uint8_t> Reply) { return Reply.size() == 1 && Reply[0] == 0xE5; }

bool Is_No_Slave(std::span<const uint8_t> Reply) {
  return Reply.size() == static_cast<size_t>(Reply_No_Slave.size()) &&
         std::equal(Reply.begin(), Reply.end(), reinterpret_cast<const uint8_t*>(Reply_No_Slave.constData()));
}

bool Is_Valid_RSP_UD(std::span<const uint8_t> R) {
  const size_t N = R.size();
  if (N <= 21) return false;
  if (R[0] != 0x68 || R[3] != 0x68 || R[1] != R[2] || R[N - 1] != 0x16) return false;
  // The L field counts C up to the last data byte; a frame whose length disagrees would put the record area
  // somewhere else than the sender meant.
  if (static_cast<size_t>(R[1]) + 6 != N) return false;
  return R[N - 2] == Sum(R.data() + 4, R.data() + N - 2);
}

bool Id_Matches_Digits(uint32_t Id, const int (&Digits)[8]) {
  for (int I = 0; I < 8; ++I) {
    if (Digits[I] < 0) continue;
    const int Nib = static_cast<int>((Id >> (28 - 4 * I)) & 0xF);
    if (Nib != Digits[I]) return false;
  }
  return true;
}

}  // namespace mbus
