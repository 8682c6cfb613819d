#include "scanner/mbus_decode.h"

#include "scanner/mbus_tables.h"

#include <QDateTime>

#include <atomic>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Data bytes per data field code; 13 (variable length) takes its length from the LVAR byte.
constexpr int Data_Length[16] = {0, 1, 2, 3, 4, 4, 6, 8, 0, 1, 2, 3, 4, -1, 6, 0};

uint64_t Little_Endian(const uint8_t* Data, int N) {
  uint64_t V = 0;
  for (int I = N - 1; I >= 0; --I) V = (V << 8) | Data[I];
  return V;
}

int64_t Signed_Little_Endian(const uint8_t* Data, int N) {
  if (N <= 0) return 0;
  const uint64_t V = Little_Endian(Data, N);
  if (N >= 8) return int64_t(V);
  const int Shift = 64 - 8 * N;
  return int64_t(V << Shift) >> Shift;  // sign-extend from the top bit of the last byte
}

// Number of data bytes that an LVAR byte announces; -1 for the reserved codes 0xFB..0xFF.
int Lvar_Length(uint8_t L) {
  if (L <= 0xBF) return L;
  if (L <= 0xCF) return L - 0xC0;
  if (L <= 0xDF) return L - 0xD0;
  if (L <= 0xEF) return L - 0xE0;
  if (L <= 0xFA) return L - 0xF0;
  return -1;
}

}  // namespace

void Decode_VIF(TVariable_MBus& R) {
  mbus_tables::TVif_Outcome O;
  mbus_tables::TDesc_Pieces P;
  mbus_tables::Walk_VIF(R, O, &P);
  R.Decoded_Desc = mbus_tables::Lasting_Description(P);
  R.type_data = uint16_t(O.Type_Data);
  R.Type_Data_Vife = O.Type_Data_Vife;
  R.Value_Exponent = O.Exponent;
  R.Value_Mantissa = 0;
  R.Value_Real = 0;
  if (O.Value_Text == mbus_tables::TVif_Outcome::Time_Point ||
      O.Value_Text == mbus_tables::TVif_Outcome::Date_Suffix) {
    R.Value_Kind = TValueKind::TimePoint;
    return;
  }
  if (O.Value_Text == mbus_tables::TVif_Outcome::Cleared) {
    R.Value_Kind = TValueKind::None;
    return;
  }
  const uint8_t* D = R.Data();
  R.Value_Kind = TValueKind::Integer;
  switch (R.dimension) {
    case 1: case 2: case 3: case 4: case 6: case 7:
      R.Value_Mantissa = Signed_Little_Endian(D, R.nbyte);
      break;
    case 5:
      R.Value_Kind = TValueKind::Real;
      R.Value_Real = std::bit_cast<float>(uint32_t(Little_Endian(D, 4)));
      break;
    case 9: case 10: case 11: case 12: case 14:
      R.Value_Mantissa = BCD_To_Int64(D, R.nbyte);
      break;
    case 13: {
      const uint8_t L = R.LVAR;
      if (L <= 0xBF) {
        R.Value_Kind = TValueKind::Text;
      } else if (L <= 0xC9) {
        R.Value_Mantissa = BCD_To_Int64(D, R.nbyte);
      } else if (L >= 0xD0 && L <= 0xD9) {
        R.Value_Mantissa = -BCD_To_Int64(D, R.nbyte);
      } else if (L >= 0xE0 && L <= 0xEF) {
        // A binary number: unsigned, least significant byte first; beyond 63 bits it is shown as hex.
        if (R.nbyte <= 8 && (R.nbyte < 8 || !(D[7] & 0x80)))
          R.Value_Mantissa = int64_t(Little_Endian(D, R.nbyte));
        else
          R.Value_Kind = TValueKind::Text;
      } else if (L == 0xF4) {
        R.Value_Kind = TValueKind::Real;
        R.Value_Real = std::bit_cast<float>(uint32_t(Little_Endian(D, 4)));
      } else if (L == 0xF8) {
        R.Value_Kind = TValueKind::Real;
        R.Value_Real = std::bit_cast<double>(Little_Endian(D, 8));
      }
      break;
    }
    default:
      break;  // no data, readout selection, special function: the value is 0
  }
}

namespace {

// Where the parts of one record lie in the record area, or why the record area ends at it.
struct TRecord_Frame {
  enum TKind { Record, Filler, Skip, End } Kind = End;  // Skip: a record not kept; End: decoding stops here
  TDecodeError Error = TDecodeError::None;              // with End: why the record could not be framed
  bool More = false;                                     // with End: DIF 0x1F, more records in the next telegram
  uint8_t Dif = 0, Vif = 0, Lvar = 0;
  uint8_t Difes[10];
  uint8_t Vifes[10];
  int Numdife = 0, Numvife = 0, Nbyte = 0, Text_Len = 0;
  size_t Text_At = 0, Data_At = 0;
  bool Reserved = false;  // LVAR 0xFB..0xFF: the record is kept, but nothing behind it can be framed
};

// A DIF with data code 15 (special functions): the end of the records, or an idle filler.
void Frame_Special_Function(TRecord_Frame& F, bool Wireless) {
  switch (F.Dif) {
    case 0x0F: return;  // manufacturer specific data up to the end of the telegram
    case 0x1F:          // the same, and more records follow in the next telegram
      F.More = true;
      return;
    case 0x2F:  // idle filler
      F.Kind = Wireless ? TRecord_Frame::Filler : TRecord_Frame::Skip;
      return;
    default:
      if (F.Dif & 0x80) F.Error = TDecodeError::ReservedFunction;  // the data length is unknown
      return;  // 0x3F..0x7F end the telegram
  }
}

// Frames the record that starts at P into F and moves P past it. Nothing outside Area is read. (F is filled in
// place: assembling it in a return value costs more than framing the record.)
void Frame_Record(std::span<const uint8_t> Area, size_t& P, bool Wireless, TRecord_Frame& F) {
  F.Kind = TRecord_Frame::End;
  F.Error = TDecodeError::None;
  F.More = F.Reserved = false;
  F.Vif = F.Lvar = 0;
  F.Numdife = F.Numvife = F.Nbyte = F.Text_Len = 0;
  F.Text_At = F.Data_At = 0;
  const size_t N = Area.size();
  auto Fail = [&](TDecodeError E) {
    F.Kind = TRecord_Frame::End;
    F.Error = E;
  };
  F.Dif = Area[P++];
  const int Code = F.Dif & 0x0F;
  if (Code == 0x0F) return Frame_Special_Function(F, Wireless);
  if (Code == 8) return;  // selection for readout: nothing more to decode
  uint8_t Last = F.Dif;
  while (Last & 0x80) {
    if (F.Numdife == 10) return Fail(TDecodeError::TooManyDIFEs);
    if (P >= N) return Fail(TDecodeError::RecordTruncated);
    Last = Area[P++];
    F.Difes[F.Numdife++] = Last;
  }
  if (P >= N) return Fail(TDecodeError::RecordTruncated);
  F.Vif = Area[P++];
  if (F.Vif == 0x7C || F.Vif == 0xFC) {
    if (P >= N) return Fail(TDecodeError::RecordTruncated);
    F.Text_Len = Area[P++];
    if (size_t(F.Text_Len) > N - P) return Fail(TDecodeError::RecordTruncated);
    F.Text_At = P;
    P += size_t(F.Text_Len);
  }
  Last = F.Vif;
  while (Last & 0x80) {
    if (F.Numvife == 10) return Fail(TDecodeError::TooManyVIFEs);
    if (P >= N) return Fail(TDecodeError::RecordTruncated);
    Last = Area[P++];
    F.Vifes[F.Numvife++] = Last;
  }
  F.Nbyte = Data_Length[Code];
  if (Code == 13) {
    if (P >= N) return Fail(TDecodeError::RecordTruncated);
    F.Lvar = Area[P++];
    F.Nbyte = Lvar_Length(F.Lvar);
    if (F.Nbyte < 0) {
      F.Nbyte = 0;
      F.Reserved = true;
    }
  }
  if (size_t(F.Nbyte) > N - P || F.Text_Len + F.Nbyte > TVariable_MBus::Max_Raw)
    return Fail(TDecodeError::RecordTruncated);
  F.Data_At = P;
  P += size_t(F.Nbyte);
  if (F.Vif == 0x7E || F.Vif == 0xFE) return;  // "any VIF" is a readout selection: decoding ends
  F.Kind = TRecord_Frame::Record;
}

// The number of records that Decode_Records keeps from Area, so that the list grows once per telegram.
size_t Count_Records(std::span<const uint8_t> Area, bool Wireless) {
  size_t Count = 0, P = 0;
  TRecord_Frame F;
  while (P < Area.size()) {
    Frame_Record(Area, P, Wireless, F);
    if (F.Kind == TRecord_Frame::End) break;
    if (F.Kind != TRecord_Frame::Skip) ++Count;
    if (F.Reserved) break;
  }
  return Count;
}

void Fill_Record(TVariable_MBus& R, const TRecord_Frame& F, std::span<const uint8_t> Area) {
  const int Code = F.Dif & 0x0F;
  R.dimension = uint8_t(Code);
  R.nbyte = F.Nbyte;
  R.LVAR = F.Lvar;
  R.function_fild = uint16_t((F.Dif >> 4) & 3);
  const int Storage_Bit = (F.Dif >> 6) & 1;
  R.storage_number = Storage_Bit;
  if (F.Numdife > 0) {
    int64_t Storage = 0;
    uint32_t Tariff = 0, Subunit = 0;
    for (int K = F.Numdife - 1; K >= 0; --K) {
      Storage = Storage * 16 + (F.Difes[K] & 0x0F);
      Tariff = Tariff * 4 + ((F.Difes[K] >> 4) & 3);
      Subunit = Subunit * 2 + ((F.Difes[K] >> 6) & 1);
    }
    std::memcpy(R.DIFE_Bytes, F.Difes, size_t(F.Numdife));
    R.numdife = F.Numdife;
    R.storage_number = Storage_Bit + 2 * Storage;
    R.tarif = uint16_t(Tariff);
    R.device = uint16_t(Subunit);
  }
  const uint8_t Vif = F.Vif;
  R.VIF = Vif;
  if (Vif == 0x7C || Vif == 0xFC) {
    R.casovif = 101;
  } else if (Vif == 0xFB || Vif == 0xFD) {
    R.casovif = Vif == 0xFB ? 2 : 1;
    R.vifvalue = F.Vifes[0];  // bit 7 of the VIF guarantees a first VIFE
  } else if (Vif == 0x7F || Vif == 0xFF) {
    R.casovif = 100;
  } else if (Vif != 0x7B && Vif != 0x7D) {
    R.vifvalue = Vif;
  }
  if (F.Numvife > 0) {
    std::memcpy(R.VIFE_Bytes, F.Vifes, size_t(F.Numvife));
    R.numvife = F.Numvife;
    R.PrinVIFE = F.Vifes[0];
  }
  R.Text_Len = uint8_t(F.Text_Len);
  if (F.Text_Len) std::memcpy(R.Raw, Area.data() + F.Text_At, size_t(F.Text_Len));
  if (F.Nbyte) std::memcpy(R.Raw + F.Text_Len, Area.data() + F.Data_At, size_t(F.Nbyte));
  const uint8_t* D = R.Data();
  const int Nbyte = F.Nbyte;
  R.dato_A = int32_t(uint32_t(Little_Endian(D, Nbyte < 4 ? Nbyte : 4)));
  R.dato_B = Nbyte > 4 ? int32_t(uint32_t(Little_Endian(D + 4, Nbyte < 8 ? Nbyte - 4 : 4))) : 0;
  if (F.Reserved) {
    R.errata = true;
    R.Error = TDecodeError::ReservedLVAR;
  }
  Decode_VIF(R);
}

}  // namespace

TRecords_Result Decode_Records(std::vector<TVariable_MBus>& List, std::span<const uint8_t> Area,
                               const TDecode_Options& Given) {
  TDecode_Options Options = Given;
  if (Options.Decoded_At == 0) Options.Decoded_At = QDateTime::currentMSecsSinceEpoch();
  // Numbers the decodings, skipping 0 on wrapping, so that texts made once per telegram know their records.
  static std::atomic<uint32_t> Decodings{0};
  uint32_t Telegram = ++Decodings;
  if (Telegram == 0) Telegram = ++Decodings;
  TRecords_Result Res;
  // A list without room for a telegram's worth of records grows once, to the count of this telegram's records.
  if (List.capacity() - List.size() < Area.size() / 2) List.reserve(List.size() + Count_Records(Area, Options.Wireless));
  size_t P = 0;
  TRecord_Frame F;
  while (P < Area.size()) {
    const size_t Start = P;
    Frame_Record(Area, P, Options.Wireless, F);
    if (F.Kind == TRecord_Frame::End) {
      Res.LastFrame = !F.More;
      if (F.Error != TDecodeError::None) {
        Res.Error = F.Error;
        Res.Error_Offset = int(Start);
      }
      return Res;
    }
    if (F.Kind == TRecord_Frame::Skip) continue;
    TVariable_MBus& R = List.emplace_back();
    R.DIF_Byte = F.Dif;
    R.Decoded_At = Options.Decoded_At;
    R.Telegram = Telegram;
    if (F.Kind == TRecord_Frame::Filler) {
      R.Real_Wireless_Var = false;
      continue;
    }
    Fill_Record(R, F, Area);
    // After a reserved LVAR the length of the record is unknown, so nothing behind it can be framed.
    if (F.Reserved) {
      Res.Error = TDecodeError::ReservedLVAR;
      Res.Error_Offset = int(Start);
      return Res;
    }
  }
  return Res;
}

TDecodeError Check_Long_Frame(std::span<const uint8_t> Frame) {
  if (Frame.empty() || Frame[0] != 0x68) return TDecodeError::NotLongFrame;
  if (Frame.size() < 6) return TDecodeError::FrameTooShort;
  if (Frame[3] != 0x68 || Frame[1] != Frame[2]) return TDecodeError::BadFrameStart;
  if (size_t(Frame[1]) + 6 != Frame.size()) return TDecodeError::LengthMismatch;
  if (Frame.back() != 0x16) return TDecodeError::NoStopByte;
  uint8_t Sum = 0;
  for (size_t I = 4; I + 2 < Frame.size(); ++I) Sum = uint8_t(Sum + Frame[I]);
  if (Sum != Frame[Frame.size() - 2]) return TDecodeError::BadChecksum;
  return TDecodeError::None;
}

TDecodeError Check_RSP_UD(std::span<const uint8_t> Frame) {
  const TDecodeError E = Check_Long_Frame(Frame);
  if (E != TDecodeError::None) return E;
  const int L = Frame[1];
  if (L < 3) return TDecodeError::HeaderTooShort;
  if (Frame[6] == 0x70) return TDecodeError::ApplicationError;
  if (Frame[6] != 0x72) return TDecodeError::UnsupportedCI;
  if (L < 15) return TDecodeError::HeaderTooShort;  // C, A, CI and the 12 bytes of the fixed data header
  return TDecodeError::None;
}

void Decode_Fixed_Header(std::span<const uint8_t> Frame, TSlave_MBus& Slave) {
  Slave.Primary_Addresss = Frame[5];
  Slave.Identification = uint32_t(Little_Endian(&Frame[7], 4));
  // Upper-case hex digits without leading zeros, at least two.
  char Hex[8];
  int N = 0;
  for (int Shift = 28; Shift >= 0; Shift -= 4) {
    const unsigned Digit = (Slave.Identification >> Shift) & 0x0F;
    if (N == 0 && Digit == 0 && Shift > 4) continue;
    Hex[N++] = "0123456789ABCDEF"[Digit];
  }
  Slave.Secondary_Addresss = QString::fromLatin1(Hex, N);
  Slave.Manufacture = Frame[11] + 256 * Frame[12];
  Slave.Version = Frame[13];
  Slave.Medium = Frame[14];
  Slave.Status = Frame[16];
  Slave.descmedium = Medium_To_Text(Slave.Medium);
  Slave.descManufacture = Manufacturer_To_Text(Slave.Manufacture);
}

THeader_Result Decode_Header(std::span<const uint8_t> Frame, TSlave_MBus& Slave, bool New_Slave,
                             const TDecode_Options& Options) {
  THeader_Result Res;
  Res.Error = Check_RSP_UD(Frame);
  if (Res.Error != TDecodeError::None) return Res;
  if (New_Slave) Decode_Fixed_Header(Frame, Slave);
  const TRecords_Result R = Decode_Records(Slave.List_Var, Frame.subspan(19, Frame.size() - 21), Options);
  Res.LastFrame = R.LastFrame;
  Res.Records_Error = R.Error;
  return Res;
}

QString Medium_To_Text(int Code) {
  switch (Code) {
    case 0: return QStringLiteral("Other");
    case 1: return QStringLiteral("Oil");
    case 2: return QStringLiteral("Electricity");
    case 3: return QStringLiteral("Gas");
    case 4: return QStringLiteral("Heat (outlet)");
    case 5: return QStringLiteral("Steam");
    case 6: return QStringLiteral("Hot Water");
    case 7: return QStringLiteral("Water");
    case 8: return QStringLiteral("Heat Cost Allocator.");
    case 9: return QStringLiteral("Compressed Air");
    case 10: return QStringLiteral("Cooling load meter (outlet)");
    case 11: return QStringLiteral("Cooling load meter (inlet)");
    case 12: return QStringLiteral("Heat (inlet) ");
    case 13: return QStringLiteral("Heat/Cooling load meter");
    case 14: return QStringLiteral("Bus/System");
    case 15: return QStringLiteral("Unknown Medium");
    case 22: return QStringLiteral("Cold Water");
    case 23: return QStringLiteral("Dual Water");
    case 24: return QStringLiteral("Pressure");
    case 25: return QStringLiteral("A/D Converter");
    default: return QStringLiteral("Other");
  }
}

namespace {
char Manufacturer_Letter(int Code) { return Code < 65 || Code > 90 ? '?' : char(Code); }
}  // namespace

QString Manufacturer_Char(int Code) { return QString(QLatin1Char(Manufacturer_Letter(Code))); }

QString Manufacturer_To_Text(int Code) {
  const char Letters[3] = {Manufacturer_Letter(Code / 1024 + 64), Manufacturer_Letter((Code / 32) % 32 + 64),
                           Manufacturer_Letter(Code % 32 + 64)};
  return QString::fromLatin1(Letters, 3);
}

int64_t BCD_To_Int64(const uint8_t* Data, int N) {
  if (N <= 0 || N > 9) return 0;  // more than 18 digits do not fit
  int64_t Sum = 0;
  int64_t Weight = 1;
  const bool Negative = (Data[N - 1] >> 4) == 0x0F;
  for (int I = 0; I < N; ++I) {
    Sum += (Data[I] & 0x0F) * Weight;
    Weight *= 10;
    if (!(I == N - 1 && Negative)) Sum += (Data[I] >> 4) * Weight;
    if (I < N - 1) Weight *= 10;
  }
  return Negative ? -Sum : Sum;
}

int64_t Power_Of_Ten(int N) {
  if (N < 0 || N > 18) return 0;
  int64_t V = 1;
  while (N-- > 0) V *= 10;
  return V;
}

namespace {

// A short text built in place, then made a QString in one allocation: the value and date texts of every
// record of every telegram go through here, and a chain of QString concatenations costs an allocation each.
struct TShort_Text {
  char16_t B[64];
  int N = 0;
  void Put(char16_t C) { B[N++] = C; }
  void Put(QChar C) { B[N++] = C.unicode(); }
  void Put_Ascii(const char* S, int Len) {
    for (int I = 0; I < Len; ++I) B[N++] = char16_t(uint8_t(S[I]));
  }
  void Put_Zeros(int Count) {
    for (int I = 0; I < Count; ++I) B[N++] = u'0';
  }
  void Put_Int(int V) {
    char D[12];
    const auto R = std::to_chars(D, D + sizeof D, V);
    Put_Ascii(D, int(R.ptr - D));
  }
  QString Str() const { return QString(reinterpret_cast<const QChar*>(B), N); }
};

}  // namespace

void Append_Two_Digits(QString& S, int N) {
  if (N >= 0 && N < 100) {
    const char16_t D[2] = {char16_t(u'0' + N / 10), char16_t(u'0' + N % 10)};
    S.append(reinterpret_cast<const QChar*>(D), 2);
  } else {
    S += QString::number(N);
  }
}

QString Two_Digits(int N) {
  QString S;
  Append_Two_Digits(S, N);
  return S;
}

QString Format_Scaled(int64_t Mantissa, int Exponent, QChar Decimal_Point) {
  if (Mantissa == 0) return QStringLiteral("0");
  const bool Negative = Mantissa < 0;
  uint64_t M = Negative ? 0 - uint64_t(Mantissa) : uint64_t(Mantissa);
  char Digits[24];
  int Len = int(std::to_chars(Digits, Digits + sizeof Digits, M).ptr - Digits);
  if (Len > 15) {  // round half up to 15 significant digits
    const bool Up = Digits[15] >= '5';
    Exponent += Len - 15;
    Len = 15;
    if (Up) {
      int I = Len - 1;
      while (I >= 0 && Digits[I] == '9') Digits[I--] = '0';
      if (I >= 0) {
        ++Digits[I];
      } else {
        std::memmove(Digits + 1, Digits, size_t(Len - 1));
        Digits[0] = '1';
        ++Exponent;
      }
    }
  }
  while (Len > 1 && Digits[Len - 1] == '0') {
    --Len;
    ++Exponent;
  }
  const int X = Len - 1 + Exponent;  // decimal exponent of the first digit
  // At most a sign, 15 digits, four leading zeros and "0." in fixed notation, or an exponent of four characters.
  TShort_Text S;
  if (Negative) S.Put(u'-');
  if (X < -4 || X >= 15) {
    S.Put_Ascii(Digits, 1);
    if (Len > 1) {
      S.Put(Decimal_Point);
      S.Put_Ascii(Digits + 1, Len - 1);
    }
    S.Put(u'E');
    S.Put_Int(X);
  } else if (Exponent >= 0) {
    S.Put_Ascii(Digits, Len);
    S.Put_Zeros(Exponent);
  } else {
    const int Int_Digits = Len + Exponent;
    if (Int_Digits > 0) {
      S.Put_Ascii(Digits, Int_Digits);
      S.Put(Decimal_Point);
      S.Put_Ascii(Digits + Int_Digits, Len - Int_Digits);
    } else {
      S.Put(u'0');
      S.Put(Decimal_Point);
      S.Put_Zeros(-Int_Digits);
      S.Put_Ascii(Digits, Len);
    }
  }
  return S.Str();
}

QString Format_Real(double Value, QChar Decimal_Point) {
  if (std::isnan(Value)) return QStringLiteral("NAN");
  if (std::isinf(Value)) return Value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
  char Buf[40];
  std::snprintf(Buf, sizeof Buf, "%.15G", Value);
  // "%G" writes E+020 style exponents; the general format has no plus sign and no leading zeros.
  TShort_Text S;
  for (const char* C = Buf; *C; ++C) {
    if (*C == '.') {
      S.Put(Decimal_Point);
    } else if (*C == 'E') {
      S.Put(u'E');
      ++C;
      if (*C == '-') S.Put(u'-');
      if (*C == '+' || *C == '-') ++C;
      while (*C == '0' && C[1]) ++C;
      S.Put_Ascii(C, int(std::strlen(C)));
      break;
    } else {
      S.Put(char16_t(uint8_t(*C)));
    }
  }
  return S.Str();
}

QString Decode_Error_Text(TDecodeError Error) {
  switch (Error) {
    case TDecodeError::None: return {};
    case TDecodeError::NotLongFrame: return QStringLiteral("not a long frame");
    case TDecodeError::FrameTooShort: return QStringLiteral("frame too short");
    case TDecodeError::BadFrameStart: return QStringLiteral("bad frame start");
    case TDecodeError::LengthMismatch: return QStringLiteral("length does not match the L field");
    case TDecodeError::NoStopByte: return QStringLiteral("no stop byte");
    case TDecodeError::BadChecksum: return QStringLiteral("bad checksum");
    case TDecodeError::HeaderTooShort: return QStringLiteral("header too short");
    case TDecodeError::ApplicationError: return QStringLiteral("application error reported by the slave");
    case TDecodeError::UnsupportedCI: return QStringLiteral("CI field not decoded");
    case TDecodeError::RecordTruncated: return QStringLiteral("premature end of record");
    case TDecodeError::TooManyDIFEs: return QStringLiteral("more than 10 DIFEs");
    case TDecodeError::TooManyVIFEs: return QStringLiteral("more than 10 VIFEs");
    case TDecodeError::ReservedLVAR: return QStringLiteral("reserved LVAR: record length unknown");
    case TDecodeError::ReservedFunction: return QStringLiteral("reserved special function: record length unknown");
    case TDecodeError::NoSuchSlave: return QStringLiteral("no slave at that index");
  }
  return {};
}
