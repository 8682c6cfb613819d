// Frames the scanner sends and the tests it applies to the replies.

#include "scanner/mbus_frames.h"

#include <gtest/gtest.h>

using namespace mbus;
using B = std::vector<uint8_t>;

TEST(MBusFrames, RequestFramesHaveTheExactBytes) {
  struct {
    const char* Name;
    B Got;
    B Expected;
  } Cases[] = {
      {"SND_NKE 255", Build_SND_NKE(255), {0x10, 0x40, 0xFF, 0x3F, 0x16}},
      {"SND_NKE 253", Build_SND_NKE(253), {0x10, 0x40, 0xFD, 0x3D, 0x16}},
      {"REQ_UD2 5 first", Build_REQ_UD2(5, 0), {0x10, 0x7B, 0x05, 0x80, 0x16}},
      {"REQ_UD2 253 first", Build_REQ_UD2(253, 0), {0x10, 0x7B, 0xFD, 0x78, 0x16}},
      {"REQ_UD2 253 second", Build_REQ_UD2(253, 1), {0x10, 0x5B, 0xFD, 0x58, 0x16}},
      {"REQ_UD2 253 third", Build_REQ_UD2(253, 2), {0x10, 0x7B, 0xFD, 0x78, 0x16}},
      {"application reset 255", Build_App_Reset(255), {0x68, 0x03, 0x03, 0x68, 0x73, 0xFF, 0x50, 0xC2, 0x16}},
      {"select 1 then wildcards", Build_Select_Secondary({1, -1, -1, -1, -1, -1, -1, -1}),
       {0x68, 0x0B, 0x0B, 0x68, 0x73, 0xFD, 0x52, 0xFF, 0xFF, 0xFF, 0x1F, 0xFF, 0xFF, 0xFF, 0xFF, 0xDA, 0x16}},
      {"select 12345678", Build_Select_Secondary({1, 2, 3, 4, 5, 6, 7, 8}),
       {0x68, 0x0B, 0x0B, 0x68, 0x73, 0xFD, 0x52, 0x78, 0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0xD2, 0x16}},
  };
  for (const auto& C : Cases) EXPECT_EQ(C.Got, C.Expected) << C.Name;
}

namespace {
// A long frame 68 L L 68 C A CI + Payload + CS 16 with a correct L field and checksum.
B Long_Frame(size_t Payload) {
  B F = {0x68, 0, 0, 0x68, 0x08, 0x01, 0x72};
  for (size_t I = 0; I < Payload; ++I) F.push_back(static_cast<uint8_t>(I));
  unsigned S = 0;
  for (size_t I = 4; I < F.size(); ++I) S += F[I];
  F.push_back(static_cast<uint8_t>(S));
  F.push_back(0x16);
  F[1] = F[2] = static_cast<uint8_t>(F.size() - 6);
  return F;
}
}  // namespace

TEST(MBusFrames, ReplyClassification) {
  B Ok = Long_Frame(16);  // 25 bytes
  B Header_Only = Long_Frame(12);  // 21 bytes: a header with no record
  B Bad_Sum = Ok;
  Bad_Sum[Bad_Sum.size() - 2] ^= 1;
  B Bad_L = Ok;  // both L bytes agree but do not match the length, the checksum still right
  Bad_L[1] = Bad_L[2] = static_cast<uint8_t>(Bad_L[1] - 1);
  B No_Stop = Ok;
  No_Stop.at(Ok.size() - 1) = 0x17;
  B Second_Start = Ok;
  Second_Start[3] = 0x69;
  struct {
    const char* Name;
    B Reply;
    bool Rsp_Ud, Ack, No_Slave;
  } Cases[] = {
      {"readout", Ok, true, false, false},
      {"21-byte readout", Header_Only, false, false, false},
      {"checksum wrong", Bad_Sum, false, false, false},
      {"L field wrong", Bad_L, false, false, false},
      {"stop byte wrong", No_Stop, false, false, false},
      {"second start byte wrong", Second_Start, false, false, false},
      {"single ACK", {0xE5}, false, true, false},
      {"two ACKs", {0xE5, 0xE5}, false, false, false},
      {"NO_SLAVE", {'N', 'O', '_', 'S', 'L', 'A', 'V', 'E', '\n', '\r'}, false, false, true},
      {"NO_SLAVE and more", {'N', 'O', '_', 'S', 'L', 'A', 'V', 'E', '\n', '\r', 0}, false, false, false},
      {"NO_SLAVE cut", {'N', 'O', '_', 'S', 'L', 'A', 'V', 'E', '\n'}, false, false, false},
      {"empty", {}, false, false, false},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(Is_Valid_RSP_UD(C.Reply), C.Rsp_Ud) << C.Name;
    EXPECT_EQ(Is_Single_ACK(C.Reply), C.Ack) << C.Name;
    EXPECT_EQ(Is_No_Slave(C.Reply), C.No_Slave) << C.Name;
  }
}

TEST(MBusFrames, IdentificationMatchesSearchDigits) {
  struct {
    uint32_t Id;
    int Digits[8];
    bool Match;
  } Cases[] = {
      {0x12345678, {1, 2, 3, 4, 5, 6, 7, 8}, true},
      {0x12345678, {1, -1, -1, -1, -1, -1, -1, -1}, true},
      {0x12345678, {1, 2, 3, 4, 5, 6, 7, 9}, false},
      {0x12345678, {2, -1, -1, -1, -1, -1, -1, -1}, false},
      {0x00000000, {-1, -1, -1, -1, -1, -1, -1, 0}, true},
  };
  for (const auto& C : Cases) EXPECT_EQ(Id_Matches_Digits(C.Id, C.Digits), C.Match) << std::hex << C.Id;
}
