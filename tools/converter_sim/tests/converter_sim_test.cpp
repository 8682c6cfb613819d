// The simulated converter's line behaviour, which the scanner's tests rely on.

#include "tools/converter_sim/converter_sim.h"

#include <gtest/gtest.h>

using namespace convsim;

namespace {

// A minimal readout: header (ID 00000000, manufacturer 0x1234, version 1, medium 7) and one record.
TBytes Telegram() {
  TBytes F = {0x68, 0x12, 0x12, 0x68, 0x08, 0x00, 0x72, 0, 0, 0, 0, 0x34, 0x12, 0x01, 0x07, 0x00, 0x00, 0x00, 0x00,
              0x01, 0x13, 0x05, 0x00, 0x16};
  unsigned S = 0;
  for (size_t I = 4; I < F.size() - 2; ++I) S += F[I];
  F[F.size() - 2] = static_cast<uint8_t>(S);
  return F;
}

TBytes Select(uint32_t Pattern, uint16_t Man = 0xFFFF) {
  TBytes F = {0x68, 0x0B, 0x0B, 0x68, 0x73, 0xFD, 0x52, static_cast<uint8_t>(Pattern), static_cast<uint8_t>(Pattern >> 8),
              static_cast<uint8_t>(Pattern >> 16), static_cast<uint8_t>(Pattern >> 24), static_cast<uint8_t>(Man),
              static_cast<uint8_t>(Man >> 8), 0xFF, 0xFF, 0, 0x16};
  unsigned S = 0;
  for (size_t I = 4; I < 15; ++I) S += F[I];
  F[15] = static_cast<uint8_t>(S);
  return F;
}

TBytes Short(uint8_t C, uint8_t A) { return {0x10, C, A, static_cast<uint8_t>(C + A), 0x16}; }

const TBytes Ack = {0xE5};

}  // namespace

TEST(ConverterSim, MetersAnswerTheLineAsSlavesDo) {
  TWiredBus Bus;
  const TBytes More = With_More_Follows(Telegram());
  TSimMeter A, B;
  ASSERT_TRUE(Make_Meter(5, 0x12345678, {More, Telegram()}, A));
  ASSERT_TRUE(Make_Meter(6, 0x12345699, {Telegram()}, B));
  EXPECT_EQ(A.Id, 0x12345678u);
  EXPECT_EQ(A.Manufacturer, 0x1234);
  EXPECT_EQ(A.Telegrams[0][5], 5);  // the A field is the meter's own
  Bus.Meters = {A, B};
  int Who = -2;
  // Each step of one conversation with the line, in order.
  struct {
    const char* Name;
    TBytes Request;
    std::optional<TBytes> Answer;
    int Answerer;
  } Steps[] = {
      {"SND_NKE to 5", Short(0x40, 5), Ack, -1},
      {"first read", Short(0x7B, 5), Bus.Meters[0].Telegrams[0], 0},
      {"same FCB repeats", Short(0x7B, 5), Bus.Meters[0].Telegrams[0], 0},
      {"toggled FCB advances", Short(0x5B, 5), Bus.Meters[0].Telegrams[1], 0},
      {"nobody at 7", Short(0x7B, 7), std::nullopt, -1},
      {"broadcast gets no answer", Short(0x40, 255), std::nullopt, -1},
      {"select both: collision", Select(0x123456FF), Bus.Collision, -1},
      {"select one by digits", Select(0x1234569F), Ack, -1},
      {"the selected meter reads at 253", Short(0x7B, 253), Bus.Meters[1].Telegrams[0], 1},
      {"SND_NKE to 253 deselects", Short(0x40, 253), Ack, -1},
      {"nobody selected any more", Short(0x7B, 253), std::nullopt, -1},
      {"select with another manufacturer", Select(0xFFFFFFFF, 0x4321), std::nullopt, -1},
      {"bad checksum", TBytes{0x10, 0x7B, 0x05, 0x00, 0x16}, std::nullopt, -1},
  };
  for (const auto& S : Steps) {
    EXPECT_EQ(Bus.Relay(S.Request, &Who), S.Answer) << S.Name;
    EXPECT_EQ(Who, S.Answerer) << S.Name;
  }
}

TEST(ConverterSim, CommandsSwitchModesAndAnalyzerModeRelays) {
  TConverterCore Core;
  TSimMeter M;
  ASSERT_TRUE(Make_Meter(1, std::nullopt, {Telegram()}, M));
  Core.Bus.Meters = {M};
  auto Text = [](const char* S) { return TBytes(S, S + strlen(S)); };
  EXPECT_TRUE(Core.Handle(Short(0x7B, 1)).empty());  // normal mode: frames are not relayed
  EXPECT_EQ(Core.Handle(Text("Veltrum_Enable_Analyzer_Mode")), std::vector<TBytes>{Text("\n\rAnalyzer_Mode Enabled!\n\r")});
  EXPECT_EQ(Core.Handle(Short(0x7B, 1)), std::vector<TBytes>{Core.Bus.Meters[0].Telegrams[0]});
  EXPECT_EQ(Core.Handle(Short(0x7B, 2)), std::vector<TBytes>{Text("NO_SLAVE\n\r")});
  EXPECT_EQ(Core.Handle(Text("Veltrum_Disable_Analyzer_Mode")), std::vector<TBytes>{Text("\n\rAnalyzer_Mode Disabled!\n\r")});
  EXPECT_EQ(Core.Mode, TConverterCore::TMode::Normal);
  // Further commands plug into the same table.
  Core.Add_Command("Veltrum_Type_Radio_Module", [&](TConverterCore&, std::vector<TBytes>& R) { R.push_back(Text("\n\rTELIT\n\r")); });
  EXPECT_EQ(Core.Handle(Text("Veltrum_Type_Radio_Module")), std::vector<TBytes>{Text("\n\rTELIT\n\r")});
}

TEST(ConverterSim, HexFilesAndTelegramPatches) {
  TBytes B;
  std::string Why;
  EXPECT_TRUE(Parse_Hex("68 03\n 03 68\n", B, &Why));
  EXPECT_EQ(B, (TBytes{0x68, 0x03, 0x03, 0x68}));
  EXPECT_FALSE(Parse_Hex("68 0", B, &Why));
  EXPECT_FALSE(Parse_Hex("  ", B, &Why));
  const TBytes P = Patch_Telegram(Telegram(), 9, 0x87654321);
  EXPECT_EQ(P[5], 9);
  EXPECT_EQ((TBytes(P.begin() + 7, P.begin() + 11)), (TBytes{0x21, 0x43, 0x65, 0x87}));
  const TBytes More = With_More_Follows(Telegram());
  EXPECT_EQ(More.size(), Telegram().size() + 1);
  EXPECT_EQ(More[More.size() - 3], 0x1F);
  TSimMeter M;
  EXPECT_FALSE(Make_Meter(1, std::nullopt, {Ack}, M, &Why));
}
