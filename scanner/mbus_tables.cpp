#include "scanner/mbus_tables.h"

#include <algorithm>
#include <array>
#include <map>
#include <mutex>
#include <vector>

namespace mbus_tables {
namespace {

// One entry per code 0x00..0x7F of a table. Code: the category the entry sets (primary table: the Type index, -1
// for none; extension tables and chain: the VIFE index, 0 for none). Exp_Base + (code & Exp_Mask) is the power of
// ten of the value when Scaled.
struct TEntry {
  const char* Text = nullptr;
  int16_t Code = 0;
  int8_t Exp_Base = 0;
  uint8_t Exp_Mask = 0;
  bool Scaled = false;
  bool Date = false;  // chain: the value text becomes the date
  QString Storage;    // Text as the description shows it
  QString Q;          // the same characters without a reference count: copies of it cost no atomic operation
};

using TTable = std::array<TEntry, 128>;

struct TBuilder {
  TTable T{};
  // A range of codes with one text (or a text per code) and one scaling.
  void Range(int Lo, int Hi, const char* Text, int Code, int Exp_Base = 0, int Mask = 0, bool Scaled = false) {
    for (int C = Lo; C <= Hi; ++C)
      T[C] = TEntry{Text, int16_t(Code), int8_t(Exp_Base), uint8_t(Mask), Scaled, false};
  }
  void Scaled(int Lo, int Hi, const char* Text, int Code, int Exp_Base, int Mask) {
    Range(Lo, Hi, Text, Code, Exp_Base, Mask, true);
  }
  // Consecutive codes from Lo, each with its own text; Codes_Step 1 numbers them on, 0 gives all the same code.
  template <size_t N>
  void List(int Lo, const char* const (&Texts)[N], int Code, int Code_Step = 1, bool Date = false) {
    for (size_t I = 0; I < N; ++I)
      T[Lo + I] = TEntry{Texts[I], int16_t(Code + int(I) * Code_Step), 0, 0, false, Date};
  }
};

TTable Build_Primary() {
  TBuilder B;
  B.Scaled(0x00, 0x07, "Energy Wh", 0, -3, 7);
  B.Scaled(0x08, 0x0F, "Energy J", 1, 0, 7);
  B.Scaled(0x10, 0x17, "Volume m3", 2, -6, 7);
  B.Scaled(0x18, 0x1F, "Mass kg", 3, -3, 7);
  B.List(0x20, {"On Time Seconds", "On Time Minutes", "On Time Hours", "On Time Days"}, 4, 0);
  B.List(0x24, {"Operating Time Seconds", "Operating Time Minutes", "Operating Time Hours", "Operating Time Days"},
         5, 0);
  B.Scaled(0x28, 0x2F, "Power W", 6, -3, 7);
  B.Scaled(0x30, 0x37, "Power J/h", 7, 0, 7);
  B.Scaled(0x38, 0x3F, "Volume Flow m3/h", 8, -6, 7);
  B.Scaled(0x40, 0x47, "Volume Flow ext. m3/min", 9, -7, 7);
  B.Scaled(0x48, 0x4F, "Volume Flow ext. m3/s", 10, -9, 7);
  B.Scaled(0x50, 0x57, "Mass Flow kg/h", 11, -3, 7);
  B.Scaled(0x58, 0x5B, "Flow Temperature \u00B0C", 12, -3, 3);
  B.Scaled(0x5C, 0x5F, "Return Temperature \u00B0C", 13, -3, 3);
  B.Scaled(0x60, 0x63, "Temperature Difference K", 14, -3, 3);
  B.Scaled(0x64, 0x67, "External Temperature \u00B0C", 15, -3, 3);
  B.Scaled(0x68, 0x6B, "Pressure bar", 16, -3, 3);
  B.Range(0x6C, 0x6D, "", 20);  // time point: the text follows the data code
  B.Range(0x6E, 0x6E, "Units for H.C.A.", 22);
  B.Range(0x6F, 0x6F, "", -1);
  B.List(0x70, {"Averaging Duration Seconds", "Averaging Duration Minutes", "Averaging Duration Hours",
                "Averaging Duration Days"}, 17, 0);
  B.List(0x74, {"Actuality Duration Seconds", "Actuality Duration Minutes", "Actuality Duration Hours",
                "Actuality Duration Days"}, 18, 0);
  B.Range(0x78, 0x78, "Fabrication No", 23);
  B.Range(0x79, 0x79, "Identification", 24);
  B.Range(0x7A, 0x7A, "Bus Address", 25);
  B.Range(0x7B, 0x7B, "", 19);
  B.Range(0x7C, 0x7C, "Vif in following String", 21);
  B.Range(0x7D, 0x7D, "", 19);
  B.Range(0x7E, 0x7E, "Any VIF", -1);
  B.Range(0x7F, 0x7F, "Manufacturer Specific", -1);
  return B.T;
}

TTable Build_FD() {
  TBuilder B;
  B.Scaled(0x00, 0x03, "Credit of (currency units)", 1, -3, 3);
  B.Scaled(0x04, 0x07, "Debit of (currency units)", 2, -3, 3);
  B.List(0x08, {"Unique message Identification", "Device Type", "Manufacturer", "Parameter Set Identification",
                "Model Version", "Hardware Version Number", "Metrology (Firmware) Version Number",
                "Other Software Version Number", "Customer LOcation", "Customer", "Access Code User",
                "Access Code Operator", "Access Code System Operator", "Access Code Developer", "Password",
                "Error Flag (Binary)", "Error Mask"}, 3);
  B.Range(0x19, 0x19, "Security Key", 126);
  B.List(0x1A, {"Digital Output (Binary)", "Digital Input (Binary)", "Baudrate [Baud]",
                "Responce Delay Time [Bit-Times]", "Retry"}, 20);
  B.Range(0x1F, 0x1F, "Remote Control (Device Specific e.g. Gas Value)", 127);
  B.List(0x20, {"First Storage Number for Cyclic Storage", "Last Storage Number for Cyclic Storage",
                "Size of Storage Block"}, 25);
  B.List(0x24, {"Storage Interval Second(s)", "Storage Interval Minute(s)", "Storage Interval Hour(s)",
                "Storage Interval Day(s)"}, 28, 0);
  B.List(0x28, {"Storage Interval Month(s)", "Storage Interval Year(s)"}, 29);
  B.Range(0x2A, 0x2A, "Operator Specific Data", 128);
  B.Range(0x2B, 0x2B, "Time Point Second (0 to 59)", 129);
  B.List(0x2C, {"Duration Since Last Readout Second(s)", "Duration Since Last Readout Minute(s)",
                "Duration Since Last Readout Hour(s)", "Duration Since Last Readout Day(s)"}, 31, 0);
  B.Range(0x30, 0x30, "Start (Date/Time) of Tariff", 32);
  B.List(0x31, {"Duration of Tariff Minute(s)", "Duration of Tariff Hour(s)", "Duration of Tariff Day(s)"}, 33, 0);
  B.List(0x34, {"Period of Tariff Second(s)", "Period of Tariff Minute(s)", "Period of Tariff Hour(s)",
                "Period of Tariff Day(s)"}, 34, 0);
  B.List(0x38, {"Period of Tariff Month(s)", "Period of Tariff Year(s)"}, 35);
  B.Range(0x3A, 0x3A, "Dimensionless / No VIF", 37);
  B.Range(0x3B, 0x3B, "Data Container for Wireless M-Bus Protocol", 130);
  B.List(0x3C, {"Period of Nominal Data Transmissions Second(s)", "Period of Nominal Data Transmissions Minute(s)",
                "Period of Nominal Data Transmissions Hour(s)", "Period of Nominal Data Transmissions Day(s)"},
         131, 0);
  B.Scaled(0x40, 0x4F, "Electric Units Volts", 38, -9, 15);
  B.Scaled(0x50, 0x5F, "Electric Units A", 39, -12, 15);
  B.List(0x60, {"Reset Counter", "Cumulation Counter", "Control Signal", "Day of Week", "Week Number",
                "Time Point of Day Change", "State of Parameter Activation", "Special Supplier Information"}, 40);
  B.List(0x68, {"Duration Since Last Cumulation Hour(s)", "Duration Since Last Cumulation Day(s)",
                "Duration Since Last Cumulation Month(s)", "Duration Since Last Cumulation Year(s)"}, 48, 0);
  B.List(0x6C, {"Operating Time Battery Hour(s)", "Operating Time Battery Day(s)", "Operating Time Battery Month(s)",
                "Operating Time Battery Year(s)"}, 49, 0);
  B.Range(0x70, 0x70, "Date and Time of Battery Change", 50);
  B.List(0x71, {"RF Level Units: dBm", "Daylight Savings (Beginning, Ending, Deviation) Data Type K",
                "Listening Window Management Data Type L", "Remaining Battery Life Time (Days)",
                "Number Times the Meter Was Stopped"}, 132);
  return B.T;
}

TTable Build_FB() {
  TBuilder B;
  B.Scaled(0x00, 0x01, "Energy MWh", 51, -1, 1);
  B.Scaled(0x02, 0x03, "Reactive Energy kVARh", 137, 0, 1);
  B.Scaled(0x04, 0x05, "Apparent Energy kVAh", 138, 0, 1);
  B.Scaled(0x08, 0x09, "Energy GJ", 52, -1, 1);
  B.Scaled(0x0C, 0x0F, "Energy MCal", 139, -1, 3);
  B.Scaled(0x10, 0x11, "Volume m3", 53, 2, 1);
  B.Scaled(0x14, 0x17, "Reactive Power kVAR", 140, -3, 3);
  B.Scaled(0x18, 0x19, "Volume t", 54, 2, 1);
  B.Scaled(0x1A, 0x1B, "Relative Humidity %", 141, -1, 1);
  B.Range(0x20, 0x20, "Volume Feet 3", 142);
  B.List(0x21, {"Volume 0,1 Feet 3", "Volume 0,1 American Gallon", "Volume 1 American Gallon",
                "Volume Flow 0,001 American Gallon/min", "Volume Flow 1 American Gallon/min",
                "Volume Flow 1 American Gallon/h"}, 55);
  B.Scaled(0x28, 0x29, "Power MW", 61, -1, 1);
  B.Range(0x2A, 0x2A, "Phase U-U (Volt. to Volt.)", 143);
  B.Range(0x2B, 0x2B, "Phase U-I (Volt. to Current)", 144);
  B.Scaled(0x2C, 0x2F, "Frequency Hz", 145, -3, 3);
  B.Scaled(0x30, 0x31, "Power GJ/h", 62, -1, 1);
  B.Scaled(0x34, 0x37, "Apparent Power kVA", 146, -3, 3);
  B.Scaled(0x58, 0x5B, "Flow Temperature \u00B0F", 63, -3, 3);
  B.Scaled(0x5C, 0x5F, "Return Temperature \u00B0F", 64, -3, 3);
  B.Scaled(0x60, 0x63, "Temperature Difference \u00B0F", 65, -3, 3);
  B.Scaled(0x64, 0x67, "External Temperature \u00B0F", 66, -3, 3);
  B.Scaled(0x70, 0x73, "Cold / Warm Temperature Limit \u00B0F", 67, -3, 3);
  B.Scaled(0x74, 0x77, "Cold / Warm Temperature Limit \u00B0C", 68, -3, 3);
  B.Scaled(0x78, 0x7F, "Cum. Max. of Active Power W", 69, -3, 7);
  return B.T;
}

TTable Build_Chain() {
  TBuilder B;
  B.List(0x00, {" - None", " - Too Many DIFEs", " - Storage Number not Implemented",
                " - Unit Number not Implemented", " - Tariff Number not Implemented", " - Function not Implemented",
                " - Data Class not Implemented", " - Data Size not Implemented"}, 108);
  B.List(0x0B, {" - Too Many VIFEs", " - Illegal VIF-Group", " - Illegal VIF-Exponent", " - VIF / DIF Mismatch",
                " - Unimplemented Action"}, 116);
  B.List(0x15, {" - No Data Available (Undefined Value)", " - Data Overflow", " - Data Underflow",
                " - Data Error"}, 121);
  B.Range(0x1C, 0x1C, " - Premature End of Record", 125);
  B.List(0x20, {" - Per Second", " - Per Minute", " - Per Hour", " - Per Day", " - Per Week", " - Per Month",
                " - Per Year", " - Per Revolution / Measurement"}, 70);
  B.List(0x28, {" - Increment per Input Pulse on Input Channel 0", " - Increment per Input Pulse on Input Channel 1"},
         78, 0);
  B.List(0x2A, {" - Increment per Output Pulse on Output Channel 0",
                " - Increment per Output Pulse on Output Channel 1"}, 79, 0);
  B.List(0x2C, {" - Per Liter", " - Per m3", " - Per kg", " - Per K (Kelvin)", " - Per kWh", " - Per GJ", " - Per kW",
                " - Per (K*l)(Kelvin * Litre)", " - Per V (Volt)", " - Per (A) (Ampere)", " - Multiplied by s",
                " - Multiplied by s / V", " - Multiplied by s / A", " - Start Date (/Time) of"}, 80);
  B.Range(0x3A, 0x3A, " - VIF Contains Uncorrect Unit or Value at Metering Conditions Instead of Converted Unit", 94);
  B.Range(0x3B, 0x3B, " - Accumulation Only if Positive Contributions (Forward Flow Contribution)", 95);
  B.Range(0x3C, 0x3C, " - Accumulation of abs Value Only if Negative Contributions (Backward Flow)", 96);
  B.Range(0x3D, 0x3D, " - Reserved for Alternate non-metric Unit System (according to Annex C)", 147);
  B.Range(0x3E, 0x3E, " - Value at Base Conditions", 148);
  B.Range(0x40, 0x40, " - Lower Limit Value", 97);
  B.Range(0x48, 0x48, " - Upper Limit Value", 97);
  B.Range(0x41, 0x41, " - # of Exceeds of Lower Limit", 98);
  B.Range(0x49, 0x49, " - # of Exceeds of Upper Limit", 98);
  B.List(0x42, {" - Date(/Time) of Begin of First Lower Limit Exceed", " - Date(/Time) of End of First Lower Limit Exceed"},
         99, 0, true);
  B.List(0x46, {" - Date(/Time) of Begin of Last Lower Limit Exceed", " - Date(/Time) of End of Last Lower Limit Exceed"},
         99, 0, true);
  B.List(0x4A, {" - Date(/Time) of Begin of First Upper Limit Exceed", " - Date(/Time) of End of First Upper Limit Exceed"},
         99, 0, true);
  B.List(0x4E, {" - Date(/Time) of Begin of Last Upper Limit Exceed", " - Date(/Time) of End of Last Upper Limit Exceed"},
         99, 0, true);
  B.List(0x50, {" - Duration 00 of First Lower Limit Exceed", " - Duration 01 of First Lower Limit Exceed",
                " - Duration 02 of First Lower Limit Exceed", " - Duration 03 of First Lower Limit Exceed",
                " - Duration 00 of Last Lower Limit Exceed", " - Duration 01 of Last Lower Limit Exceed",
                " - Duration 02 of Last Lower Limit Exceed", " - Duration 03 of Last Lower Limit Exceed",
                " - Duration 00 of First Upper Limit Exceed", " - Duration 01 of First Upper Limit Exceed",
                " - Duration 02 of First Upper Limit Exceed", " - Duration 03 of First Upper Limit Exceed",
                " - Duration 00 of Last Upper Limit Exceed", " - Duration 01 of Last Upper Limit Exceed",
                " - Duration 02 of Last Upper Limit Exceed", " - Duration 03 of Last Upper Limit Exceed"}, 100, 0);
  B.List(0x60, {" - Duration 00 of First", " - Duration 01 of First", " - Duration 02 of First",
                " - Duration 03 of First", " - Duration 00 of Last", " - Duration 01 of Last",
                " - Duration 02 of Last", " - Duration 03 of Last"}, 101, 0);
  B.Range(0x68, 0x68, " - Value During Lower Limit Exceed", 149);
  B.Range(0x6C, 0x6C, " - Value During Upper Limit Exceed", 149);
  B.Range(0x69, 0x69, " - Leakage Values", 150);
  B.Range(0x6D, 0x6D, " - Overflow Values", 151);
  B.List(0x6A, {" - Date(/Time) of Begin of First", " - Date(/Time) of End of First"}, 102, 0, true);
  B.List(0x6E, {" - Date(/Time) of Begin of Last", " - Date(/Time) of End of Last"}, 102, 0, true);
  B.List(0x70, {" - Moltiplicative Correction Factor: 10^(-6)", " - Moltiplicative Correction Factor: 10^(-5)",
                " - Moltiplicative Correction Factor: 10^(-4)", " - Moltiplicative Correction Factor: 10^(-3)",
                " - Moltiplicative Correction Factor: 10^(-2)", " - Moltiplicative Correction Factor: 10^(-1)",
                " - Moltiplicative Correction Factor: 10^(0)", " - Moltiplicative Correction Factor: 10^(1)"},
         103, 0);
  B.List(0x78, {" - Additive Correction Constant: 10^(-3) * Unit of VIF",
                " - Additive Correction Constant: 10^(-2) * Unit of VIF",
                " - Additive Correction Constant: 10^(-1) * Unit of VIF",
                " - Additive Correction Constant: 10^(0) * Unit of VIF"}, 104, 0);
  B.Range(0x7D, 0x7D, " - Multiplicative Cerrection Factor: 10^(3)", 105);
  B.Range(0x7E, 0x7E, " - Future Value", 106);
  B.Range(0x7F, 0x7F, " - Next VIFEs and Data of This Block Are Manufacturer Specific", 107);
  return B.T;
}

// The texts are plain ASCII but for a few with a unit sign, written in UTF-8.
TTable With_Texts(TTable T) {
  for (TEntry& E : T)
    if (E.Text) {
      E.Storage = QString::fromUtf8(E.Text);
      E.Q = QString::fromRawData(E.Storage.constData(), E.Storage.size());
    }
  return T;
}

// Moving or copying an entry keeps its Storage's characters where they are, so Q stays valid in the tables.
const TTable& Primary() { static const TTable T = With_Texts(Build_Primary()); return T; }
const TTable& Table_FD() { static const TTable T = With_Texts(Build_FD()); return T; }
const TTable& Table_FB() { static const TTable T = With_Texts(Build_FB()); return T; }
const TTable& Chain() { static const TTable T = With_Texts(Build_Chain()); return T; }

const QString& Reserved_Text() {
  static const QString S = QStringLiteral("Reserved");
  return S;
}

const QString& Reserved_Suffix() {
  static const QString S = QStringLiteral(" - Reserved");
  return S;
}

// The text of the code after a chain VIFE 0x7C; null for a code without one.
const QString* Combinable_Text(int Code) {
  static const QString T[] = {
      QStringLiteral(" - At Phase L1"),
      QStringLiteral(" - At Phase L2"),
      QStringLiteral(" - At Phase L3"),
      QStringLiteral(" - At Neutral (N)"),
      QStringLiteral(" - Between Phase L1 and L2"),
      QStringLiteral(" - Between Phase L2 and L3"),
      QStringLiteral(" - Between Phase L3 and L1"),
      QStringLiteral(" - Accumulation of abs. Value for Both Positive and Negative Contribution (Absolute Count)")};
  if (Code >= 0x01 && Code <= 0x07) return &T[Code - 1];
  return Code == 0x10 ? &T[7] : nullptr;
}

const QString* Time_Point_Text(int Data_Code) {
  static const QString T[] = {QStringLiteral("Time Point Date (Type G)"),
                              QStringLiteral("Time Point Date and Time (Type F)"),
                              QStringLiteral("Time Point Extended Time Point (Type J)"),
                              QStringLiteral("Time Point Extended Date and Time Point (Type I)")};
  switch (Data_Code) {
    case 2: return &T[0];
    case 4: return &T[1];
    case 3: return &T[2];
    case 6: return &T[3];
    default: return nullptr;
  }
}

void Append(TDesc_Pieces* Desc, const QString* Text) {
  if (Desc && Text && Desc->Count < TDesc_Pieces::Max) Desc->Piece[Desc->Count++] = Text;
}

}  // namespace

void Walk_VIF(const TVariable_MBus& R, TVif_Outcome& Out, TDesc_Pieces* Desc) {
  Out = TVif_Outcome{};
  const int V = R.VIF & 0x7F;
  int Chain_Start = -1;
  if (V == 0x7B || V == 0x7D) {
    Out.Type_Data = 19;
    if ((R.VIF & 0x80) == 0 || R.numvife == 0) {
      // 0x7B/0x7D without an extension bit carry no VIFE to select a row: the coding is reserved.
      Append(Desc, &Reserved_Text());
    } else {
      const uint8_t First = R.VIFE_Bytes[0];
      const TEntry& E = (V == 0x7B ? Table_FB() : Table_FD())[First & 0x7F];
      if (E.Text) {
        Append(Desc, E.Text ? &E.Q : nullptr);
        Out.Type_Data_Vife = E.Code;
        if (E.Scaled) Out.Exponent = int8_t(E.Exp_Base + (First & E.Exp_Mask));
      } else {
        Append(Desc, &Reserved_Text());
      }
      if (First & 0x80) Chain_Start = 1;
    }
  } else {
    const TEntry& E = Primary()[V];
    Out.Type_Data = E.Code;
    if (V == 0x6C || V == 0x6D) {
      const QString* T = Time_Point_Text(R.dimension);
      if (T) {
        Append(Desc, T);
        Out.Value_Text = TVif_Outcome::Time_Point;
      }
    } else {
      Append(Desc, E.Text ? &E.Q : nullptr);
      if (E.Scaled) Out.Exponent = int8_t(E.Exp_Base + (V & E.Exp_Mask));
    }
    if ((R.VIF & 0x80) && R.VIF != 0xFE && R.VIF != 0xFF) Chain_Start = 0;
  }
  if (Chain_Start < 0) return;
  const TTable& C = Chain();
  for (int I = Chain_Start; I < R.numvife; ++I) {
    uint8_t X = R.VIFE_Bytes[I];
    const int Code = X & 0x7F;
    if (Code == 0x7C) {
      if (I < 9) {
        ++I;
        X = I < R.numvife ? R.VIFE_Bytes[I] : 0;
        Append(Desc, Combinable_Text(X & 0x7F));
      }
    } else {
      const TEntry& E = C[Code];
      if (E.Text) {
        Append(Desc, E.Text ? &E.Q : nullptr);
        if (Out.Type_Data_Vife == 0) Out.Type_Data_Vife = E.Code;
        if (E.Date) Out.Value_Text = (R.dimension == 2 || R.dimension == 4) ? TVif_Outcome::Date_Suffix
                                                                           : TVif_Outcome::Cleared;
      } else {
        Append(Desc, &Reserved_Suffix());
      }
    }
    if (!(X & 0x80)) break;
  }
}

const QString* Lasting_Description(const TDesc_Pieces& P) {
  static const QString Empty = QStringLiteral("");
  if (P.Count == 0) return &Empty;
  if (P.Count == 1) return P.Piece[0];
  // The joins this thread asked for last, so that most records find theirs without the lock.
  struct TRecent {
    const QString* Piece[TDesc_Pieces::Max];
    int Count = 0;
    const QString* Text = nullptr;
  };
  thread_local std::array<TRecent, 64> Recent{};
  uint64_t H = 0;
  for (int I = 0; I < P.Count; ++I) H = (H ^ uint64_t(reinterpret_cast<uintptr_t>(P.Piece[I]))) * 0x9E3779B97F4A7C15ull;
  TRecent& R = Recent[H >> 58];
  if (R.Text && R.Count == P.Count && std::equal(P.Piece, P.Piece + P.Count, R.Piece)) return R.Text;

  // Each join is kept once, with a copy of its characters that carries no reference count (copies of it cost no
  // atomic operation). The pieces are the tables' own strings, so a network's records make a few dozen joins;
  // the bound only keeps a stream of damaged telegrams from growing the store without end.
  struct TJoin {
    QString Storage;
    QString Q;
  };
  static std::mutex Lock;
  static auto* Kept = new std::map<std::vector<const QString*>, TJoin>;  // never freed: copies may outlive every static
  constexpr size_t Max_Kept = 10000;
  std::vector<const QString*> Key(P.Piece, P.Piece + P.Count);
  const std::lock_guard<std::mutex> Guard(Lock);
  auto It = Kept->find(Key);
  if (It == Kept->end()) {
    if (Kept->size() >= Max_Kept) return nullptr;
    QString S;
    qsizetype Size = 0;
    for (int I = 0; I < P.Count; ++I) Size += P.Piece[I]->size();
    S.reserve(Size);
    for (int I = 0; I < P.Count; ++I) S += *P.Piece[I];
    It = Kept->emplace(std::move(Key), TJoin{S, QString()}).first;
    It->second.Q = QString::fromRawData(It->second.Storage.constData(), It->second.Storage.size());
  }
  std::copy(P.Piece, P.Piece + P.Count, R.Piece);
  R.Count = P.Count;
  R.Text = &It->second.Q;
  return R.Text;
}

}  // namespace mbus_tables
