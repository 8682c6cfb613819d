#include "scanner/mbus_types.h"

#include "scanner/mbus_decode.h"
#include "scanner/mbus_tables.h"

#include <QDateTime>
#include <QLocale>
#include <QSet>

#include <cmath>
#include <mutex>

namespace {

const char Hex_Digits[] = "0123456789ABCDEF";

void Append_Hex(QString& S, uint8_t B) {
  S += QLatin1Char(Hex_Digits[B >> 4]);
  S += QLatin1Char(Hex_Digits[B & 0x0F]);
}

QString Dollar_List(const uint8_t* Bytes, int N) {
  QString S;
  S.reserve(N * 4);
  for (int I = 0; I < N; ++I) {
    S += u'$';
    Append_Hex(S, Bytes[I]);
    S += u' ';
  }
  return S;
}

const char* const Week_Days[8] = {"", "Monday ", "Tuesday ", "Wednesday ", "Thursday ", "Friday ", "Saturday ",
                                  "Sunday "};

// Date and/or time of a time-point record, by data code (G, J, F, I), built in place and made a QString in one
// allocation: a chain of appends costs a capacity check and a call per piece.
QString Time_Point_Text(const TVariable_MBus& R) {
  const uint8_t* B = R.Data();
  auto Year = [](uint8_t Low, uint8_t High) { return ((Low >> 5) & 7) + 8 * ((High >> 4) & 0x0F); };
  char16_t S[40];  // at most a week day of ten characters, a date of nine and a time of eight, with a blank
  int N = 0;
  auto Put = [&](char16_t C) { S[N++] = C; };
  auto Digits = [&](int V) {  // two digits; a year of the seven-bit field may take three
    if (V >= 100) Put(char16_t(u'0' + V / 100));
    Put(char16_t(u'0' + V / 10 % 10));
    Put(char16_t(u'0' + V % 10));
  };
  auto Date = [&](uint8_t Day, uint8_t Month_Year) {
    Digits(Day & 0x1F);
    Put(u'/');
    Digits(Month_Year & 0x0F);
    Put(u'/');
    Digits(Year(Day, Month_Year));
  };
  auto Clock = [&](const uint8_t* Hour_Minute_Second, bool Seconds) {  // bytes from the hour down
    Digits(Hour_Minute_Second[0] & 0x1F);
    Put(u':');
    Digits(Hour_Minute_Second[-1] & 0x3F);
    if (Seconds) {
      Put(u':');
      Digits(Hour_Minute_Second[-2] & 0x3F);
    }
  };
  switch (R.dimension) {
    case 2:
      Date(B[0], B[1]);
      break;
    case 4:
      Date(B[2], B[3]);
      Put(u' ');
      Clock(B + 1, false);
      break;
    case 3:
      Clock(B + 2, true);
      break;
    case 6:
      for (const char* W = Week_Days[(B[2] >> 5) & 7]; *W; ++W) Put(char16_t(*W));
      Date(B[3], B[4]);
      Put(u' ');
      Clock(B + 2, true);
      break;
    default:
      return {};
  }
  return QString(reinterpret_cast<const QChar*>(S), N);
}

// Characters of a variable-length ASCII value: sent last character first; control characters become '?'.
QString Ascii_Value(const TVariable_MBus& R) {
  QString S;
  S.reserve(R.nbyte);
  const uint8_t* D = R.Data();
  for (int I = R.nbyte - 1; I >= 0; --I) S += (D[I] < 0x20 || D[I] == 0x7F) ? QChar(u'?') : QChar(D[I]);
  return S;
}

QString Format_Value(const TVariable_MBus& R, QChar Decimal_Point) {
  if (!R.Real_Wireless_Var) return {};
  switch (R.Value_Kind) {
    case TValueKind::None:
      return {};
    case TValueKind::Integer:
      return Format_Scaled(R.Value_Mantissa, R.Value_Exponent, Decimal_Point);
    case TValueKind::Real: {
      double V = R.Value_Real;
      if (R.Value_Exponent != 0) {
        if (std::isfinite(V)) {
          const double P = std::pow(10.0, std::abs(R.Value_Exponent));
          V = R.Value_Exponent > 0 ? V * P : V / P;
        }
      }
      return Format_Real(V, Decimal_Point);
    }
    case TValueKind::Text: {
      if (R.dimension == 13 && R.LVAR <= 0xBF) return Ascii_Value(R);
      QString S;  // a long binary number: hex, most significant byte first
      const uint8_t* D = R.Data();
      for (int I = R.nbyte - 1; I >= 0; --I) Append_Hex(S, D[I]);
      return S;
    }
    case TValueKind::TimePoint:
      return Time_Point_Text(R);
  }
  return {};
}

// The user's locale's decimal separator and the reception date and time as it writes them. Building the default
// locale is dear (it checks the system locale each time), so the separator is looked up again only when the
// default locale changed, and the reception texts are made once per telegram: every record of a telegram
// carries the same reception time, and the texts are made again only for another second or locale (per
// thread: a QLocale's texts are not shared across threads).
struct TLocale_Texts {
  QLocale Locale;
  bool Dated = false;       // Date and Time are those of Second in Locale
  int64_t Decoded_At = 0;   // the reception time they were last asked for
  int64_t Second = 0;
  QString Date, Time;
};

QChar Decimal_Point_Of(const QLocale& L) {
  const QString P = L.decimalPoint();
  return P.isEmpty() ? QChar(u'.') : P.at(0);
}

// Comparing locales is cheap beside reading the separator, which builds a string each time. Building the default
// locale to compare is dear beside a record's text, so the records of one telegram read one after another share
// the separator, as they share the reception texts.
QChar Current_Decimal_Point(uint32_t Telegram) {
  struct TSeparator {
    QLocale Locale;
    QChar Point = Decimal_Point_Of(Locale);
    uint32_t Telegram = 0;  // the telegram it was last looked up for; 0 for none
  };
  thread_local TSeparator C;
  if (Telegram != 0 && Telegram == C.Telegram) return C.Point;
  const QLocale Now;
  if (!(Now == C.Locale)) {
    C.Locale = Now;
    C.Point = Decimal_Point_Of(Now);
  }
  C.Telegram = Telegram;
  return C.Point;
}

// The reception texts are kept for the life of the process, so that the records' copies of them carry no
// reference count: a counted copy costs an atomic operation, more than the rest of a record's texts. Each
// distinct text is kept once; a day of reading makes at most 86400 time texts, and past the bound texts are
// handed out counted.
QString Lasting(const QString& S) {
  static std::mutex Lock;
  static auto* Kept = new QSet<QString>;  // never freed: copies may outlive every static
  constexpr qsizetype Max_Kept = 100000;
  const std::lock_guard<std::mutex> Guard(Lock);
  auto It = Kept->constFind(S);
  if (It == Kept->cend()) {
    if (Kept->size() >= Max_Kept) return S;
    It = Kept->insert(S);
  }
  return QString::fromRawData(It->constData(), It->size());
}

const TLocale_Texts& Reception_Texts(int64_t Decoded_At) {
  thread_local TLocale_Texts C;
  if (C.Dated && C.Decoded_At == Decoded_At) return C;  // another record of the same telegram
  const QLocale Now;
  const int64_t Second = Decoded_At >= 0 ? Decoded_At / 1000 : -((999 - Decoded_At) / 1000);
  if (!C.Dated || C.Second != Second || Now != C.Locale) {
    const QDateTime At = QDateTime::fromMSecsSinceEpoch(Second * 1000).toLocalTime();
    C.Locale = Now;
    C.Date = Lasting(Now.toString(At.date(), QLocale::ShortFormat));
    C.Time = Lasting(Now.toString(At.time(), QLocale::LongFormat));
    C.Second = Second;
    C.Dated = true;
  }
  C.Decoded_At = Decoded_At;
  return C;
}

}  // namespace

QString TVariable_MBus::sterror() const {
  return Error == TDecodeError::ReservedLVAR ? QStringLiteral("Non analizabile") : QString();
}

QString TVariable_MBus::descdim() const {
  if (!Real_Wireless_Var) return {};
  switch (dimension) {
    case 0: return QStringLiteral("No data");
    case 1: return QStringLiteral("8 Bit Integer");
    case 2: return QStringLiteral("16 Bit Integer");
    case 3: return QStringLiteral("24 Bit Integer");
    case 4: return QStringLiteral("32 Bit Integer");
    case 5: return QStringLiteral("32 Bit real");
    case 6: return QStringLiteral("48 Bit Integer");
    case 7: return QStringLiteral("64 Bit Integer");
    case 8: return QStringLiteral("Selection for Readout");
    case 9: return QStringLiteral("2 digit BCD");
    case 10: return QStringLiteral("4 digit BCD");
    case 11: return QStringLiteral("6 digit BCD");
    case 12: return QStringLiteral("8 digit BCD");
    case 13: {
      const QString N = QString::number(nbyte);
      if (LVAR <= 0xBF) return QStringLiteral("Variable length: ASCII string with ") + N + QStringLiteral(" characters");
      if (LVAR <= 0xCF) return QStringLiteral("Variable length: Positive BCD number with ") + N + QStringLiteral(" *2 digits");
      if (LVAR <= 0xDF) return QStringLiteral("Variable length: Negative BCD number with ") + N + QStringLiteral(" *2 digits");
      if (LVAR <= 0xEF) return QStringLiteral("Variable length: Binary number with ") + N + QStringLiteral(" bytes");
      if (LVAR <= 0xFA) return QStringLiteral("Variable length: Floating Point number with ") + N + QStringLiteral(" bytes");
      return QStringLiteral("Variable length: Reserved");
    }
    case 14: return QStringLiteral("12 digit BCD");
    default: return {};
  }
}

QString TVariable_MBus::DataFieldStr() const {
  switch (DIF_Byte & 0x0F) {
    case 1: return QStringLiteral("8 Bit Integer");
    case 2: return QStringLiteral("16 Bit Integer");
    case 3: return QStringLiteral("24 Bit Integer");
    case 4: return QStringLiteral("32 Bit Integer");
    case 5: return QStringLiteral("32 Bit Real");
    case 6: return QStringLiteral("48 Bit Integer");
    case 7: return QStringLiteral("64 Bit Integer");
    case 9: return QStringLiteral("2 Digit BCD");
    case 10: return QStringLiteral("4 Digit BCD");
    case 11: return QStringLiteral("6 Digit BCD");
    case 12: return QStringLiteral("8 Digit BCD");
    case 13: {
      if (LVAR <= 0xBF)
        return QStringLiteral("Variable Length - ASCII String with ") + QString::number(nbyte) + QStringLiteral("characters");
      if (LVAR <= 0xCF)
        return QStringLiteral("Variable Length - Positive BCD Number with ") + QString::number(2 * nbyte) + QStringLiteral(" digits");
      if (LVAR <= 0xDF)
        return QStringLiteral("Variable Length - Negative BCD Number with ") + QString::number(2 * nbyte) + QStringLiteral(" digits");
      if (LVAR <= 0xEF)
        return QStringLiteral("Variable Length - Binary Number with ") + QString::number(nbyte) + QStringLiteral(" Bytes");
      if (LVAR <= 0xFA)
        return QStringLiteral("Variable Length - Floating Point Number with ") + QString::number(nbyte) + QStringLiteral(" Bytes");
      return QStringLiteral("Variable Length - Reserved");
    }
    case 14: return QStringLiteral("12 Digit BCD");
    case 15: return QStringLiteral("Special Function");
    default: return {};  // no data, selection for readout
  }
}

QString TVariable_MBus::FunctionFieldStr() const {
  if (!Real_Wireless_Var) return {};
  switch (function_fild) {
    case 0: return QStringLiteral("Istantaneous value");
    case 1: return QStringLiteral("Maximum value");
    case 2: return QStringLiteral("Minimum value");
    default: return QStringLiteral("Value during error state");
  }
}

QString TVariable_MBus::VIFE() const { return Dollar_List(VIFE_Bytes, numvife); }
QString TVariable_MBus::DIFE() const { return Dollar_List(DIFE_Bytes, numdife); }

QString TVariable_MBus::DIF() const {
  QString S = QStringLiteral("$");
  Append_Hex(S, DIF_Byte);
  return S;
}

QString TVariable_MBus::totdati() const {
  QString S;
  S.reserve(nbyte * 2);
  for (int I = 0; I < nbyte; ++I) Append_Hex(S, Data()[I]);
  return S;
}

QString TVariable_MBus::VIF_ASCII() const {
  QString S;
  S.reserve(Text_Len);
  for (int I = Text_Len - 1; I >= 0; --I) S += QChar(Raw[I]);
  return S;
}

QString TVariable_MBus::datagiorno() const { return Reception_Texts(Decoded_At).Date; }

QString TVariable_MBus::tempo() const { return Reception_Texts(Decoded_At).Time; }

QString TVariable_MBus::Desc_Type_Data() const {
  if (!Real_Wireless_Var) return {};
  if (Decoded_Desc) return *Decoded_Desc;
  mbus_tables::TDesc_Pieces P;
  mbus_tables::TVif_Outcome O;
  mbus_tables::Walk_VIF(*this, O, &P);
  // Most records have a description of one piece: the table's own string is shared.
  if (P.Count == 1) return *P.Piece[0];
  if (P.Count == 0) return QStringLiteral("");
  qsizetype Size = 0;
  for (int I = 0; I < P.Count; ++I) Size += P.Piece[I]->size();
  QString S;
  S.reserve(Size);
  for (int I = 0; I < P.Count; ++I) S += *P.Piece[I];
  return S;
}

QString TVariable_MBus::ValueStr() const { return Format_Value(*this, Current_Decimal_Point(Telegram)); }

QString TVariable_MBus::Value_Text_C() const { return Format_Value(*this, u'.'); }

bool TVariable_MBus::Value_Number(double& Out) const {
  if (!Real_Wireless_Var) return false;
  double V;
  if (Value_Kind == TValueKind::Integer)
    V = double(Value_Mantissa);
  else if (Value_Kind == TValueKind::Real)
    V = Value_Real;
  else
    return false;
  if (Value_Exponent != 0) {
    const double P = std::pow(10.0, std::abs(Value_Exponent));
    V = Value_Exponent > 0 ? V * P : V / P;
  }
  Out = V;
  return true;
}
