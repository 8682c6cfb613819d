// Deterministic mutations of the real telegrams: truncated, extended, changed and shuffled frames, and record
// areas rewritten behind a valid envelope. Nothing may be read outside the bytes given (the sanitizer build
// checks every read), a broken envelope is always refused, and every kept record fits inside its area.

#include "corpus_support.h"
#include "scanner/mbus_decode.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::vector<std::vector<uint8_t>> All_Frames() {
  std::vector<std::vector<uint8_t>> Out;
  for (const char* Sub : {"test-frames", "error-frames", "unsupported-frames"})
    for (const QString& Name : corpus::Files(Sub, ".hex")) {
      std::vector<uint8_t> B;
      if (corpus::Read_Hex(corpus::Dir(Sub) + u'/' + Name + QStringLiteral(".hex"), B)) Out.push_back(B);
    }
  return Out;
}

void Fix_Checksum(std::vector<uint8_t>& F) {
  uint8_t Sum = 0;
  for (size_t I = 4; I + 2 < F.size(); ++I) Sum = uint8_t(Sum + F[I]);
  F[F.size() - 2] = Sum;
}

// Every kept record lies inside the area; texts can be built for each.
void Check_Records(const std::vector<TVariable_MBus>& List, size_t From, size_t Area_Size, bool Texts) {
  ASSERT_LE(List.size() - From, Area_Size + 1);
  for (size_t I = From; I < List.size(); ++I) {
    const TVariable_MBus& R = List[I];
    ASSERT_GE(R.nbyte, 0);
    ASSERT_LE(size_t(R.Text_Len) + size_t(R.nbyte), Area_Size);
    ASSERT_LE(R.numdife, 10);
    ASSERT_LE(R.numvife, 10);
    if (Texts) {
      const QString All = R.DIF() + R.DIFE() + R.VIFE() + R.totdati() + R.VIF_ASCII() + R.Desc_Type_Data() +
                          R.ValueStr() + R.FunctionFieldStr() + R.DataFieldStr() + R.descdim() + R.sterror();
      ASSERT_GE(All.size(), 3);
    }
  }
}

// Decodes a frame from an exact-size copy; returns the error.
TDecodeError Decode_Frame(const std::vector<uint8_t>& F, bool Texts) {
  std::vector<uint8_t> Exact(F);
  TSlave_MBus Slave;
  const THeader_Result R = Decode_Header(Exact, Slave, true);
  if (R.Error != TDecodeError::None) {
    EXPECT_TRUE(Slave.List_Var.empty());
    return R.Error;
  }
  Check_Records(Slave.List_Var, 0, F.size() - 21, Texts);
  return R.Error;
}

TEST(MutationTest, BrokenEnvelopesAreRefused) {
  const auto Frames = All_Frames();
  ASSERT_GE(Frames.size(), 70u);
  for (const auto& F : Frames) {
    const bool Valid = Check_RSP_UD(F) == TDecodeError::None;
    for (size_t Len = 0; Len < F.size(); ++Len) {
      const std::vector<uint8_t> Cut(F.begin(), F.begin() + Len);
      const TDecodeError E = Decode_Frame(Cut, false);
      if (Valid) {
        EXPECT_NE(E, TDecodeError::None) << "truncated to " << Len;
      }
    }
    for (uint8_t Extra : {0x16, 0x00, 0xE5}) {
      std::vector<uint8_t> Longer(F);
      Longer.push_back(Extra);
      EXPECT_NE(Decode_Frame(Longer, false), TDecodeError::None);
    }
    for (size_t I = 0; I < F.size(); ++I) {
      for (int Change : {0x01, 0x80, 0xFF}) {
        std::vector<uint8_t> M(F);
        M[I] = uint8_t(M[I] ^ Change);
        const TDecodeError E = Decode_Frame(M, false);
        if (Valid) {
          EXPECT_NE(E, TDecodeError::None) << "byte " << I << " changed";
        }
      }
    }
  }
}

TEST(MutationTest, RewrittenRecordAreasStayInsideTheirBytes) {
  const auto Frames = All_Frames();
  std::mt19937 Rng(20261210);
  const uint8_t Specials[] = {0x00, 0x0D, 0x0F, 0x1F, 0x2F, 0x7C, 0x7E, 0x7F, 0x80, 0x8F,
                              0xBF, 0xC9, 0xD9, 0xEF, 0xF4, 0xF8, 0xFB, 0xFC, 0xFD, 0xFF};
  size_t Decoded = 0;
  for (const auto& F : Frames) {
    if (Check_RSP_UD(F) != TDecodeError::None) continue;
    // One byte of the record area at a time, set to each of the codes that change the framing.
    for (size_t I = 19; I + 2 < F.size(); ++I)
      for (uint8_t S : Specials) {
        std::vector<uint8_t> M(F);
        M[I] = S;
        Fix_Checksum(M);
        EXPECT_EQ(Decode_Frame(M, false), TDecodeError::None);
        ++Decoded;
      }
    // Random rewrites of several bytes, the area shortened or lengthened by a few bytes.
    for (int Round = 0; Round < 200; ++Round) {
      std::vector<uint8_t> Area(F.begin() + 19, F.end() - 2);
      const int Edits = 1 + int(Rng() % 6);
      for (int E = 0; E < Edits && !Area.empty(); ++E) Area[Rng() % Area.size()] = uint8_t(Rng());
      const int Resize = int(Rng() % 9) - 4;
      if (Resize < 0 && size_t(-Resize) < Area.size()) Area.resize(Area.size() - size_t(-Resize));
      for (int E = 0; E < Resize; ++E) Area.push_back(uint8_t(Rng()));
      if (Area.size() > 255 - 15) Area.resize(255 - 15);
      std::vector<uint8_t> M(F.begin(), F.begin() + 19);
      M.insert(M.end(), Area.begin(), Area.end());
      M.push_back(0);
      M.push_back(0x16);
      M[1] = M[2] = uint8_t(M.size() - 6);
      Fix_Checksum(M);
      EXPECT_EQ(Decode_Frame(M, Round % 4 == 0), TDecodeError::None);
      // The bare record area, wired and wireless, from an exact-size buffer.
      for (bool Wireless : {false, true}) {
        std::vector<TVariable_MBus> List;
        TDecode_Options O;
        O.Wireless = Wireless;
        const TRecords_Result R = Decode_Records(List, Area, O);
        Check_Records(List, 0, Area.size(), false);
        if (R.Error != TDecodeError::None) {
          EXPECT_GE(R.Error_Offset, 0);
          EXPECT_LT(size_t(R.Error_Offset), Area.size());
        }
      }
      ++Decoded;
    }
  }
  EXPECT_GT(Decoded, 10000u);
}

}  // namespace
