// Record grammar, values, tables and frame checks of the telegram decoder, case by case.

#include "scanner/mbus_decode.h"

#include <QDateTime>
#include <QLocale>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> L) {
  std::vector<uint8_t> V;
  for (int B : L) V.push_back(uint8_t(B));
  return V;
}

struct TDecoded {
  std::vector<TVariable_MBus> List;
  TRecords_Result Result;
};

TDecoded Decode(const std::vector<uint8_t>& Area, bool Wireless = false) {
  TDecoded D;
  TDecode_Options O;
  O.Wireless = Wireless;
  // Decode from an exact-size copy, so that the sanitizer build catches a read past the area.
  std::vector<uint8_t> Exact(Area);
  D.Result = Decode_Records(D.List, Exact, O);
  return D;
}

// A long frame (RSP_UD, CI 0x72) around a record area, with the L field and checksum set.
std::vector<uint8_t> Frame(const std::vector<uint8_t>& Records, int CI = 0x72, int Address = 5) {
  std::vector<uint8_t> Body = Bytes({0x08, Address, CI, 0x78, 0x56, 0x34, 0x12, 0x2D, 0x2C, 0x01, 0x07, 0x55, 0x00,
                                     0x00, 0x00});
  Body.insert(Body.end(), Records.begin(), Records.end());
  std::vector<uint8_t> F = Bytes({0x68, int(Body.size()), int(Body.size()), 0x68});
  uint8_t Sum = 0;
  for (uint8_t B : Body) Sum = uint8_t(Sum + B);
  F.insert(F.end(), Body.begin(), Body.end());
  F.push_back(Sum);
  F.push_back(0x16);
  return F;
}

TEST(DecodeRecordsTest, DifeChainGivesStorageTariffAndSubunit) {
  struct TCase {
    std::vector<uint8_t> Area;
    int64_t Storage;
    int Tariff, Subunit;
    const char* Dife;
  } Cases[] = {
      {Bytes({0xC4, 0x01, 0x13, 1, 0, 0, 0}), 3, 0, 0, "$01 "},
      {Bytes({0x84, 0x20, 0x13, 1, 0, 0, 0}), 0, 2, 0, "$20 "},
      {Bytes({0x84, 0x40, 0x13, 1, 0, 0, 0}), 0, 0, 1, "$40 "},
      {Bytes({0x84, 0x81, 0x01, 0x13, 1, 0, 0, 0}), 34, 0, 0, "$81 $01 "},
      {Bytes({0x84, 0xD0, 0x61, 0x13, 1, 0, 0, 0}), 2 * 0x10, 1 + 4 * 2, 1 + 2 * 1, "$D0 $61 "},
      {Bytes({0x44, 0x13, 1, 0, 0, 0}), 1, 0, 0, ""},
  };
  for (const auto& C : Cases) {
    const TDecoded D = Decode(C.Area);
    ASSERT_EQ(D.List.size(), 1u) << C.Dife;
    const TVariable_MBus& R = D.List[0];
    EXPECT_EQ(R.storage_number, C.Storage) << C.Dife;
    EXPECT_EQ(R.tarif, C.Tariff) << C.Dife;
    EXPECT_EQ(R.device, C.Subunit) << C.Dife;
    EXPECT_EQ(R.DIFE(), QString::fromLatin1(C.Dife));
    EXPECT_EQ(R.numdife, int(C.Area.size()) - 6);
  }
}

TEST(DecodeRecordsTest, ValuesUnitsAndCategories) {
  struct TCase {
    std::vector<uint8_t> Area;
    const char* Value;
    int Type_Data;
    int Type_Data_Vife;
    const char* Desc;
  } Cases[] = {
      // Data types: BCD (with the negative F nibble), signed integers, reals, variable length.
      {Bytes({0x0A, 0x78, 0x34, 0x12}), "1234", 23, 0, "Fabrication No"},
      {Bytes({0x0A, 0x78, 0x34, 0xF2}), "-234", 23, 0, "Fabrication No"},
      {Bytes({0x0E, 0x78, 0x90, 0x78, 0x56, 0x34, 0x12, 0x99}), "991234567890", 23, 0, "Fabrication No"},
      {Bytes({0x03, 0x78, 0xFF, 0xFF, 0xFF}), "-1", 23, 0, "Fabrication No"},
      {Bytes({0x03, 0x78, 0xFF, 0xFF, 0x7F}), "8388607", 23, 0, "Fabrication No"},
      {Bytes({0x06, 0x78, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), "-2", 23, 0, "Fabrication No"},
      {Bytes({0x07, 0x78, 0x01, 0, 0, 0, 0, 0, 0, 0x40}), "4.61168601842739E18", 23, 0, "Fabrication No"},
      {Bytes({0x05, 0x13, 0x00, 0x00, 0x48, 0x41}), "0.0125", 2, 0, "Volume m3"},
      {Bytes({0x05, 0x78, 0x00, 0x00, 0xC0, 0x7F}), "NAN", 23, 0, "Fabrication No"},
      {Bytes({0x0D, 0x78, 0xC3, 0x56, 0x34, 0x12}), "123456", 23, 0, "Fabrication No"},
      {Bytes({0x0D, 0x78, 0xD2, 0x34, 0x12}), "-1234", 23, 0, "Fabrication No"},
      {Bytes({0x0D, 0x78, 0xE2, 0x34, 0x12}), "4660", 23, 0, "Fabrication No"},
      {Bytes({0x0D, 0xFD, 0x0C, 0x03, 'c', 'b', 'a'}), "abc", 19, 7, "Model Version"},
      {Bytes({0x00, 0x78}), "0", 23, 0, "Fabrication No"},
      // Primary table with scaling, time points and the special rows.
      {Bytes({0x04, 0x13, 0x39, 0x30, 0x00, 0x00}), "12.345", 2, 0, "Volume m3"},
      {Bytes({0x04, 0x07, 0x39, 0x30, 0x00, 0x00}), "123450000", 0, 0, "Energy Wh"},
      {Bytes({0x02, 0x5A, 0xD2, 0x04}), "123.4", 12, 0, "Flow Temperature \u00B0C"},
      {Bytes({0x02, 0x22, 0x10, 0x00}), "16", 4, 0, "On Time Hours"},
      {Bytes({0x02, 0x6D, 0x7F, 0x2C}), "31/12/19", 20, 0, "Time Point Date (Type G)"},
      {Bytes({0x04, 0x6D, 0x1E, 0x0C, 0x7F, 0x2C}), "31/12/19 12:30", 20, 0, "Time Point Date and Time (Type F)"},
      {Bytes({0x03, 0x6D, 0x05, 0x1E, 0x0C}), "12:30:05", 20, 0, "Time Point Extended Time Point (Type J)"},
      {Bytes({0x06, 0x6D, 0x05, 0x1E, 0x2C, 0x7F, 0x2C, 0x00}), "Monday 31/12/19 12:30:05", 20, 0,
       "Time Point Extended Date and Time Point (Type I)"},
      // The widest fields: day 31, month 15, a year of three digits, Sunday.
      {Bytes({0x02, 0x6D, 0xFF, 0xFF}), "31/15/127", 20, 0, "Time Point Date (Type G)"},
      {Bytes({0x06, 0x6D, 0x05, 0x1E, 0xEC, 0xFF, 0xFF, 0x00}), "Sunday 31/15/127 12:30:05", 20, 0,
       "Time Point Extended Date and Time Point (Type I)"},
      {Bytes({0x01, 0x6D, 0x07}), "7", 20, 0, ""},
      {Bytes({0x01, 0x6E, 0x05}), "5", 22, 0, "Units for H.C.A."},
      {Bytes({0x01, 0x6F, 0x05}), "5", 65535, 0, ""},
      {Bytes({0x01, 0x7F, 0x05}), "5", 65535, 0, "Manufacturer Specific"},
      // Extension tables.
      {Bytes({0x01, 0xFD, 0x08, 0x05}), "5", 19, 3, "Unique message Identification"},
      {Bytes({0x02, 0xFD, 0x48, 0xE8, 0x03}), "100", 19, 38, "Electric Units Volts"},
      {Bytes({0x01, 0xFD, 0x23, 0x05}), "5", 19, 0, "Reserved"},
      {Bytes({0x01, 0xFB, 0x78, 0x05}), "0.005", 19, 69, "Cum. Max. of Active Power W"},
      {Bytes({0x01, 0xFB, 0x01, 0x05}), "5", 19, 51, "Energy MWh"},
      // A VIF 0x7B/0x7D without an extension bit has no VIFE to select a row: reserved, unscaled.
      {Bytes({0x01, 0x7B, 0x05}), "5", 19, 0, "Reserved"},
      {Bytes({0x01, 0x7D, 0x05}), "5", 19, 0, "Reserved"},
      // VIFE chain: suffixes, the first code wins, reserved codes, the combinable extension, date suffixes.
      {Bytes({0x01, 0x93, 0x3B, 0x05}), "0.005", 2, 95,
       "Volume m3 - Accumulation Only if Positive Contributions (Forward Flow Contribution)"},
      {Bytes({0x01, 0x93, 0x09, 0x05}), "0.005", 2, 0, "Volume m3 - Reserved"},
      {Bytes({0x01, 0x93, 0xA2, 0x3B, 0x05}), "0.005", 2, 72,
       "Volume m3 - Per Hour - Accumulation Only if Positive Contributions (Forward Flow Contribution)"},
      {Bytes({0x01, 0xFD, 0xC8, 0xFC, 0x01, 0x05}), "0.5", 19, 38, "Electric Units Volts - At Phase L1"},
      {Bytes({0x01, 0xFD, 0xC8, 0xFC, 0x10, 0x05}), "0.5", 19, 38,
       "Electric Units Volts - Accumulation of abs. Value for Both Positive and Negative Contribution (Absolute Count)"},
      {Bytes({0x01, 0x93, 0x74, 0x05}), "0.005", 2, 103,
       "Volume m3 - Moltiplicative Correction Factor: 10^(-2)"},
      {Bytes({0x02, 0xEC, 0x6A, 0x7F, 0x2C}), "31/12/19", 20, 102,
       "Time Point Date (Type G) - Date(/Time) of Begin of First"},
      {Bytes({0x01, 0x93, 0x6A, 0x05}), "", 2, 102, "Volume m3 - Date(/Time) of Begin of First"},
      // Plain-text unit: the text follows the VIF, is sent last character first; the value keeps its data type.
      {Bytes({0x02, 0xFC, 0x03, 'h', 'W', 'k', 0x74, 0x15, 0x22}), "8725", 21, 103,
       "Vif in following String - Moltiplicative Correction Factor: 10^(-2)"},
      {Bytes({0x01, 0x7C, 0x01, 'V', 0x07}), "7", 21, 0, "Vif in following String"},
  };
  for (const auto& C : Cases) {
    const TDecoded D = Decode(C.Area);
    ASSERT_EQ(D.List.size(), 1u) << C.Desc;
    ASSERT_EQ(D.Result.Error, TDecodeError::None) << C.Desc;
    const TVariable_MBus& R = D.List[0];
    EXPECT_EQ(R.Value_Text_C(), QString::fromUtf8(C.Value)) << C.Desc;
    EXPECT_EQ(R.type_data, C.Type_Data) << C.Desc;
    EXPECT_EQ(R.Type_Data_Vife, C.Type_Data_Vife) << C.Desc;
    EXPECT_EQ(R.Desc_Type_Data(), QString::fromUtf8(C.Desc));
  }
}

TEST(DecodeRecordsTest, RawCodingFieldsAndTexts) {
  const TDecoded D = Decode(Bytes({0x94, 0x81, 0x01, 0xFD, 0xBA, 0x7F, 0x01, 0x02, 0x03, 0x04,  //
                                   0x0D, 0x7C, 0x02, 'h', 'W', 0xC2, 0x34, 0x12}));
  ASSERT_EQ(D.List.size(), 2u);
  const TVariable_MBus& R = D.List[0];
  EXPECT_EQ(R.DIF(), QStringLiteral("$94"));
  EXPECT_EQ(R.DIFE(), QStringLiteral("$81 $01 "));
  EXPECT_EQ(R.VIF, 0xFD);
  EXPECT_EQ(R.VIFE(), QStringLiteral("$BA $7F "));
  EXPECT_EQ(R.numvife, 2);
  EXPECT_EQ(R.PrinVIFE, 0xBA);
  EXPECT_EQ(R.vifvalue, 0xBA);
  EXPECT_EQ(R.casovif, 1);
  EXPECT_EQ(R.totdati(), QStringLiteral("01020304"));
  EXPECT_EQ(R.dato_A, 0x04030201);
  EXPECT_EQ(R.dato_B, 0);
  EXPECT_EQ(R.nbyte, 4);
  EXPECT_EQ(R.dimension, 4);
  EXPECT_EQ(R.function_fild, 1);
  EXPECT_EQ(R.FunctionFieldStr(), QStringLiteral("Maximum value"));
  EXPECT_EQ(R.DataFieldStr(), QStringLiteral("32 Bit Integer"));
  EXPECT_EQ(R.descdim(), QStringLiteral("32 Bit Integer"));
  EXPECT_EQ(R.Desc_Type_Data(), QStringLiteral("Dimensionless / No VIF - Next VIFEs and Data of This Block Are "
                                               "Manufacturer Specific"));
  EXPECT_TRUE(R.Enable);
  EXPECT_TRUE(R.Real_Wireless_Var);
  // The decoding time, in the user's formats; without a given time stamp the clock is read.
  const QDateTime Now = QDateTime::currentDateTime();
  EXPECT_LE(std::abs(R.Decoded_At - Now.toMSecsSinceEpoch()), 60000);
  TVariable_MBus Stamped = R;
  Stamped.Decoded_At = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)).toMSecsSinceEpoch();
  EXPECT_EQ(Stamped.datagiorno(), QLocale().toString(QDate(2026, 3, 4), QLocale::ShortFormat));
  EXPECT_EQ(Stamped.tempo(), QLocale().toString(QTime(5, 6, 7), QLocale::LongFormat));

  const TVariable_MBus& T = D.List[1];
  EXPECT_EQ(T.casovif, 101);
  EXPECT_EQ(T.vifvalue, -1);
  EXPECT_EQ(T.VIF_ASCII(), QStringLiteral("Wh"));
  EXPECT_EQ(T.DataFieldStr(), QStringLiteral("Variable Length - Positive BCD Number with 4 digits"));
  EXPECT_EQ(T.descdim(), QStringLiteral("Variable length: Positive BCD number with 2 *2 digits"));
  EXPECT_EQ(T.Value_Text_C(), QStringLiteral("1234"));
  EXPECT_EQ(T.FunctionFieldStr(), QStringLiteral("Istantaneous value"));
}

TEST(DecodeRecordsTest, SpecialFunctionsAndBoundsEndTheTelegram) {
  struct TCase {
    const char* Name;
    std::vector<uint8_t> Area;
    bool Wireless;
    size_t Records;
    bool Last_Frame;
    TDecodeError Error;
  } Cases[] = {
      {"0F first", Bytes({0x0F, 0x01, 0x02}), false, 0, true, TDecodeError::None},
      {"1F after a record", Bytes({0x01, 0x78, 0x05, 0x1F, 0x99}), false, 1, false, TDecodeError::None},
      {"2F wired", Bytes({0x2F, 0x01, 0x78, 0x05, 0x2F}), false, 1, true, TDecodeError::None},
      {"2F wireless", Bytes({0x2F, 0x01, 0x78, 0x05, 0x2F}), true, 3, true, TDecodeError::None},
      {"7F ends", Bytes({0x01, 0x78, 0x05, 0x7F, 0x01, 0x78, 0x05}), false, 1, true, TDecodeError::None},
      {"3F ends", Bytes({0x3F, 0x01, 0x78, 0x05}), false, 0, true, TDecodeError::None},
      {"readout selection", Bytes({0x01, 0x78, 0x05, 0x08, 0x78, 0x01, 0x78, 0x05}), false, 1, true,
       TDecodeError::None},
      {"any VIF", Bytes({0x01, 0x7E, 0x05, 0x01, 0x78, 0x05}), false, 0, true, TDecodeError::None},
      {"reserved function", Bytes({0x8F, 0x01, 0x78, 0x05}), false, 0, true, TDecodeError::ReservedFunction},
      {"reserved LVAR", Bytes({0x0D, 0x78, 0xFB, 0x01, 0x78, 0x05}), false, 1, true, TDecodeError::ReservedLVAR},
      {"data past the end", Bytes({0x01, 0x78, 0x05, 0x04, 0x13, 0x01, 0x02}), false, 1, true,
       TDecodeError::RecordTruncated},
      {"DIFE past the end", Bytes({0x84}), false, 0, true, TDecodeError::RecordTruncated},
      {"VIF past the end", Bytes({0x04}), false, 0, true, TDecodeError::RecordTruncated},
      {"VIFE past the end", Bytes({0x01, 0x93}), false, 0, true, TDecodeError::RecordTruncated},
      {"text past the end", Bytes({0x01, 0xFC, 0x05, 'a'}), false, 0, true, TDecodeError::RecordTruncated},
      {"LVAR missing", Bytes({0x0D, 0x78}), false, 0, true, TDecodeError::RecordTruncated},
      {"LVAR text past the end", Bytes({0x0D, 0x78, 0x05, 'a'}), false, 0, true, TDecodeError::RecordTruncated},
      {"ten DIFEs, the last open", Bytes({0x84, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x13,
                                          1, 0, 0, 0}), false, 0, true, TDecodeError::TooManyDIFEs},
      {"ten DIFEs, the last closed", Bytes({0x84, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x00,
                                            0x13, 1, 0, 0, 0}), false, 1, true, TDecodeError::None},
      {"ten VIFEs, the last open", Bytes({0x01, 0x93, 0xA0, 0xA0, 0xA0, 0xA0, 0xA0, 0xA0, 0xA0, 0xA0, 0xA0, 0xA0,
                                          0x20, 0x05}), false, 0, true, TDecodeError::TooManyVIFEs},
      {"ten VIFEs, the last closed", Bytes({0x01, 0x93, 0xA0, 0xA0, 0xA0, 0xA0, 0xA0, 0xA0, 0xA0, 0xA0, 0xA0,
                                            0x20, 0x05}), false, 1, true, TDecodeError::None},
      {"empty area", Bytes({}), false, 0, true, TDecodeError::None},
  };
  for (const auto& C : Cases) {
    const TDecoded D = Decode(C.Area, C.Wireless);
    EXPECT_EQ(D.List.size(), C.Records) << C.Name;
    EXPECT_EQ(D.Result.LastFrame, C.Last_Frame) << C.Name;
    EXPECT_EQ(D.Result.Error, C.Error) << C.Name;
  }
}

TEST(DecodeRecordsTest, IdleFillerAndReservedLvarRecords) {
  const TDecoded W = Decode(Bytes({0x2F, 0x01, 0x78, 0x05}), true);
  ASSERT_EQ(W.List.size(), 2u);
  const TVariable_MBus& F = W.List[0];
  EXPECT_FALSE(F.Real_Wireless_Var);
  EXPECT_FALSE(F.errata);
  EXPECT_EQ(F.VIF, 0);
  EXPECT_EQ(F.type_data, 0);
  EXPECT_EQ(F.DIF(), QStringLiteral("$2F"));
  EXPECT_EQ(F.DataFieldStr(), QStringLiteral("Special Function"));
  EXPECT_EQ(F.Desc_Type_Data(), QString());
  EXPECT_EQ(F.ValueStr(), QString());
  EXPECT_EQ(F.FunctionFieldStr(), QString());
  EXPECT_TRUE(W.List[1].Real_Wireless_Var);

  const TDecoded E = Decode(Bytes({0x0D, 0x13, 0xFB, 0x01, 0x78, 0x05}));
  ASSERT_EQ(E.List.size(), 1u);
  EXPECT_TRUE(E.List[0].errata);
  EXPECT_EQ(E.List[0].sterror(), QStringLiteral("Non analizabile"));
  EXPECT_EQ(E.List[0].nbyte, 0);
  EXPECT_EQ(E.List[0].DataFieldStr(), QStringLiteral("Variable Length - Reserved"));
  EXPECT_EQ(E.List[0].Value_Text_C(), QStringLiteral("0"));

  const TDecoded A = Decode(Bytes({0x0D, 0x78, 0x03, 'c', 'b', 'a'}));
  ASSERT_EQ(A.List.size(), 1u);
  EXPECT_EQ(A.List[0].DataFieldStr(), QStringLiteral("Variable Length - ASCII String with 3characters"));
  EXPECT_EQ(A.List[0].descdim(), QStringLiteral("Variable length: ASCII string with 3 characters"));
  EXPECT_FALSE(A.List[0].errata);
  EXPECT_EQ(A.List[0].sterror(), QString());
}

TEST(DecodeRecordsTest, ValueStrUsesTheLocaleDecimalSeparator) {
  const TDecoded D = Decode(Bytes({0x04, 0x13, 0x39, 0x30, 0x00, 0x00}));
  ASSERT_EQ(D.List.size(), 1u);
  const QLocale Saved;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const QString German = D.List[0].ValueStr();
  QLocale::setDefault(Saved);
  EXPECT_EQ(German, QStringLiteral("12,345"));
  EXPECT_EQ(D.List[0].Value_Text_C(), QStringLiteral("12.345"));
  double V = 0;
  ASSERT_TRUE(D.List[0].Value_Number(V));
  EXPECT_DOUBLE_EQ(V, 12.345);
}

// The reception texts are shared by the records of a telegram, yet each record reads its own time, whatever
// order the records of several telegrams are read in. A change of the default locale shows from the next
// telegram read on (the records of one telegram read one after another share their texts).
TEST(DecodeRecordsTest, EachRecordReadsItsOwnReceptionTime) {
  const QLocale Saved;
  const QDateTime Times[] = {QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7, 10)),
                             QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7, 900)),  // the same second
                             QDateTime(QDate(2026, 3, 4), QTime(5, 6, 8)),
                             QDateTime(QDate(1969, 12, 31), QTime(23, 59, 59, 500)),  // before the epoch
                             QDateTime(QDate(2027, 1, 1), QTime(0, 0, 0))};
  const QLocale Locales[] = {QLocale::c(), QLocale(QLocale::German, QLocale::Germany)};
  std::vector<TVariable_MBus> Records(std::size(Times));
  for (size_t I = 0; I < Records.size(); ++I) Records[I].Decoded_At = Times[I].toMSecsSinceEpoch();
  bool Forward = true;  // each locale starts at the other end: with another telegram than the last one read
  for (const QLocale& L : Locales) {
    QLocale::setDefault(L);
    for (int Pass = 0; Pass < 2; ++Pass, Forward = !Forward)
      for (size_t K = 0; K < Records.size(); ++K) {
        const size_t I = Forward ? K : Records.size() - 1 - K;
        EXPECT_EQ(Records[I].datagiorno(), L.toString(Times[I].date(), QLocale::ShortFormat)) << I;
        EXPECT_EQ(Records[I].tempo(), L.toString(Times[I].time(), QLocale::LongFormat)) << I;
      }
    Forward = !Forward;
  }
  QLocale::setDefault(Saved);
}

TEST(NumberTextTest, GeneralFormatOfScaledIntegers) {
  struct TCase {
    int64_t M;
    int E;
    const char* Text;
  } Cases[] = {
      {12345, -3, "12.345"}, {100, -2, "1"}, {-1, -1, "-0.1"}, {10, -5, "0.0001"}, {5, -7, "5E-7"},
      {123, 0, "123"}, {1, 14, "100000000000000"}, {1, 15, "1E15"}, {123456789012345, -20, "1.23456789012345E-6"},
      {1234567890123456789, 0, "1.23456789012346E18"}, {999999999999999999, 0, "1E18"},
      {INT64_MIN, 0, "-9.22337203685478E18"}, {0, -3, "0"}, {1234567890123456, -3, "1234567890123.46"},
  };
  for (const auto& C : Cases) EXPECT_EQ(Format_Scaled(C.M, C.E, u'.'), QLatin1StringView(C.Text)) << C.Text;
  EXPECT_EQ(Format_Scaled(12345, -3, u','), QStringLiteral("12,345"));
  EXPECT_EQ(Format_Real(0.1f, u'.'), QStringLiteral("0.100000001490116"));
  EXPECT_EQ(Format_Real(1.5e20, u'.'), QStringLiteral("1.5E20"));
  EXPECT_EQ(Format_Real(-2.5e-7, u','), QStringLiteral("-2,5E-7"));
}

TEST(NumberTextTest, HelpersOfTheDecoder) {
  EXPECT_EQ(BCD_To_Int64(Bytes({0x34, 0x12}).data(), 2), 1234);
  EXPECT_EQ(BCD_To_Int64(Bytes({0x34, 0xF2}).data(), 2), -234);
  EXPECT_EQ(BCD_To_Int64(Bytes({0xA1}).data(), 1), 101);
  EXPECT_EQ(Power_Of_Ten(0), 1);
  EXPECT_EQ(Power_Of_Ten(18), 1000000000000000000);
  EXPECT_EQ(Two_Digits(7), QStringLiteral("07"));
  EXPECT_EQ(Two_Digits(19), QStringLiteral("19"));
  EXPECT_EQ(Manufacturer_To_Text(0x2C2D), QStringLiteral("KAM"));
  EXPECT_EQ(Manufacturer_To_Text(0x0401), QStringLiteral("A?A"));  // a 5-bit group of 0 gives "?"
  EXPECT_EQ(Manufacturer_To_Text(0x2C3B), QStringLiteral("KA?"));  // 27 is above "Z"
  EXPECT_EQ(Manufacturer_To_Text(0xFFFF), QStringLiteral("???"));
  EXPECT_EQ(Medium_To_Text(22), QStringLiteral("Cold Water"));
  EXPECT_EQ(Medium_To_Text(12), QStringLiteral("Heat (inlet) "));
  EXPECT_EQ(Medium_To_Text(21), QStringLiteral("Other"));
  EXPECT_EQ(Medium_To_Text(8), QStringLiteral("Heat Cost Allocator."));
}

TEST(DecodeHeaderTest, FrameChecksRefuseEveryMalformedEnvelope) {
  const std::vector<uint8_t> Good = Frame(Bytes({0x01, 0x78, 0x05}));
  ASSERT_EQ(Check_RSP_UD(Good), TDecodeError::None);
  auto With = [&](auto Change) {
    std::vector<uint8_t> F = Good;
    Change(F);
    return F;
  };
  auto Resum = [](std::vector<uint8_t>& F) {
    uint8_t Sum = 0;
    for (size_t I = 4; I + 2 < F.size(); ++I) Sum = uint8_t(Sum + F[I]);
    F[F.size() - 2] = Sum;
  };
  struct TCase {
    const char* Name;
    std::vector<uint8_t> F;
    TDecodeError Error;
  } Cases[] = {
      {"single ACK", Bytes({0xE5}), TDecodeError::NotLongFrame},
      {"empty", Bytes({}), TDecodeError::NotLongFrame},
      {"NO_SLAVE text", Bytes({'N', 'O', '_', 'S', 'L', 'A', 'V', 'E', '\n', '\r'}), TDecodeError::NotLongFrame},
      {"five bytes", Bytes({0x68, 0x00, 0x00, 0x68, 0x16}), TDecodeError::FrameTooShort},
      {"second start byte", With([](auto& F) { F[3] = 0x69; }), TDecodeError::BadFrameStart},
      {"L fields differ", With([](auto& F) { F[2] = uint8_t(F[2] + 1); }), TDecodeError::BadFrameStart},
      {"truncated", With([](auto& F) { F.erase(F.end() - 3); }), TDecodeError::LengthMismatch},
      {"oversized", With([](auto& F) { F.push_back(0x16); }), TDecodeError::LengthMismatch},
      {"stop byte", With([](auto& F) { F.back() = 0x17; }), TDecodeError::NoStopByte},
      {"checksum", With([](auto& F) { F[F.size() - 2] ^= 1; }), TDecodeError::BadChecksum},
      {"data changed", With([](auto& F) { F[20] ^= 1; }), TDecodeError::BadChecksum},
      {"application error", Bytes({0x68, 0x04, 0x04, 0x68, 0x08, 0x01, 0x70, 0x08, 0x81, 0x16}),
       TDecodeError::ApplicationError},
      {"CI 0x76", With([&](auto& F) { F[6] = 0x76; Resum(F); }), TDecodeError::UnsupportedCI},
      {"CI 0x73", With([&](auto& F) { F[6] = 0x73; Resum(F); }), TDecodeError::UnsupportedCI},
      {"L of 2", Bytes({0x68, 0x02, 0x02, 0x68, 0x08, 0x05, 0x0D, 0x16}), TDecodeError::HeaderTooShort},
      {"header cut", Bytes({0x68, 0x08, 0x08, 0x68, 0x08, 0x02, 0x72, 0x78, 0x56, 0x34, 0x12, 0x24, 0xB4, 0x16}),
       TDecodeError::HeaderTooShort},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(Check_RSP_UD(C.F), C.Error) << C.Name;
    TSlave_MBus Slave;
    const THeader_Result R = Decode_Header(C.F, Slave, true);
    EXPECT_EQ(R.Error, C.Error) << C.Name;
    EXPECT_TRUE(Slave.List_Var.empty()) << C.Name;
    EXPECT_TRUE(Slave.Secondary_Addresss.isEmpty()) << C.Name;
  }
}

TEST(DecodeHeaderTest, HeaderOfTheFirstTelegramAndRecordsOfEvery) {
  TSlave_MBus Slave;
  const THeader_Result First = Decode_Header(Frame(Bytes({0x01, 0x78, 0x05, 0x1F}), 0x72, 7), Slave, true);
  ASSERT_EQ(First.Error, TDecodeError::None);
  EXPECT_FALSE(First.LastFrame);
  EXPECT_EQ(Slave.Primary_Addresss, 7);
  EXPECT_EQ(Slave.Secondary_Addresss, QStringLiteral("12345678"));
  EXPECT_EQ(Slave.Manufacture, 0x2C2D);
  EXPECT_EQ(Slave.descManufacture, QStringLiteral("KAM"));
  EXPECT_EQ(Slave.Version, 1);
  EXPECT_EQ(Slave.Medium, 7);
  EXPECT_EQ(Slave.descmedium, QStringLiteral("Water"));
  EXPECT_EQ(Slave.Status, 0);
  ASSERT_EQ(Slave.List_Var.size(), 1u);

  // A later telegram adds its records; its header is not read again.
  const THeader_Result Second = Decode_Header(Frame(Bytes({0x01, 0x79, 0x06}), 0x72, 9), Slave, false);
  ASSERT_EQ(Second.Error, TDecodeError::None);
  EXPECT_TRUE(Second.LastFrame);
  EXPECT_EQ(Slave.Primary_Addresss, 7);
  ASSERT_EQ(Slave.List_Var.size(), 2u);
  EXPECT_EQ(Slave.List_Var[1].type_data, 24);

  // The identification keeps at least two digits, with leading zeros dropped.
  std::vector<uint8_t> F = Frame(Bytes({}));
  F[7] = 0x05;
  F[8] = F[9] = F[10] = 0;
  uint8_t Sum = 0;
  for (size_t I = 4; I + 2 < F.size(); ++I) Sum = uint8_t(Sum + F[I]);
  F[F.size() - 2] = Sum;
  TSlave_MBus Small;
  ASSERT_EQ(Decode_Header(F, Small, true).Error, TDecodeError::None);
  EXPECT_EQ(Small.Secondary_Addresss, QStringLiteral("05"));
  EXPECT_TRUE(Small.List_Var.empty());
}

TEST(DecodeHeaderTest, ListFormAppendsSlavesAndAddsLaterTelegrams) {
  std::vector<std::unique_ptr<TSlave_MBus>> List;
  bool Last = true;
  TDecodeError Error = TDecodeError::None;
  EXPECT_EQ(Decode_Header(List, -1, Frame(Bytes({0x01, 0x78, 0x05, 0x1F}), 0x72, 3), Last), 0);
  EXPECT_FALSE(Last);
  EXPECT_EQ(Decode_Header(List, -1, Frame(Bytes({0x01, 0x78, 0x06}), 0x72, 4), Last), 1);
  EXPECT_EQ(Decode_Header(List, 0, Frame(Bytes({0x01, 0x79, 0x07}), 0x72, 9), Last), 0);
  EXPECT_TRUE(Last);
  ASSERT_EQ(List.size(), 2u);
  EXPECT_EQ(List[0]->Primary_Addresss, 3);
  EXPECT_EQ(List[0]->List_Var.size(), 2u);
  EXPECT_EQ(List[1]->Primary_Addresss, 4);
  // Refused frames and unknown slaves change nothing.
  EXPECT_EQ(Decode_Header(List, -1, Bytes({0xE5}), Last, {}, &Error), -1);
  EXPECT_EQ(Error, TDecodeError::NotLongFrame);
  EXPECT_EQ(Decode_Header(List, 2, Frame(Bytes({0x01, 0x79, 0x07})), Last, {}, &Error), -1);
  EXPECT_EQ(Error, TDecodeError::NoSuchSlave);
  EXPECT_EQ(List.size(), 2u);
  EXPECT_EQ(List[0]->List_Var.size(), 2u);

  std::vector<TSlave_MBus*> Raw;
  EXPECT_EQ(Decode_Header(Raw, -1, Frame(Bytes({0x01, 0x78, 0x05})), Last), 0);
  ASSERT_EQ(Raw.size(), 1u);
  EXPECT_EQ(Raw[0]->List_Var.size(), 1u);
  delete Raw[0];
}

// The decoding keeps each record's description; it must be the one the tables give for that record's own VIF
// and VIFE chain, whatever other chains were decoded before it or at the same time on another thread.
TEST(DecodeRecordsTest, KeptDescriptionsAreTheRecordsOwn) {
  std::vector<uint8_t> Area;
  int Records = 0;
  for (int First = 0x10; First < 0x60; First += 3)
    for (int Second = 0x11; Second < 0x40; Second += 5) {  // suffix pairs, many of them reserved codes
      for (int B : {0x01, 0x93, 0x80 | First, Second, 0x05}) Area.push_back(uint8_t(B));
      ++Records;
    }
  auto Check = [&](std::vector<TVariable_MBus>& List) {
    int Bad = 0;
    for (TVariable_MBus& R : List) {
      const QString Kept = R.Desc_Type_Data();
      TVariable_MBus Fresh = R;
      Fresh.Decoded_Desc = nullptr;  // looked up anew from the coding
      if (Kept != Fresh.Desc_Type_Data() || !Kept.startsWith(QStringLiteral("Volume m3 - "))) ++Bad;
    }
    return Bad;
  };
  int Other_Bad = -1;
  std::thread Other([&] {
    std::vector<uint8_t> Reversed;
    for (int I = Records - 1; I >= 0; --I) Reversed.insert(Reversed.end(), Area.begin() + 5 * I, Area.begin() + 5 * I + 5);
    int Bad = 0;
    for (int Pass = 0; Pass < 20; ++Pass) {
      TDecoded D = Decode(Reversed);
      Bad += Check(D.List);
    }
    Other_Bad = Bad;
  });
  for (int Pass = 0; Pass < 20; ++Pass) {
    TDecoded D = Decode(Area);
    ASSERT_EQ(D.Result.Error, TDecodeError::None);
    ASSERT_EQ(int(D.List.size()), Records);
    EXPECT_EQ(Check(D.List), 0);
  }
  Other.join();
  EXPECT_EQ(Other_Bad, 0);
}

}  // namespace
