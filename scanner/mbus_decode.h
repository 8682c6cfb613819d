#pragma once
// Decoding of M-Bus replies (variable data structure, least significant byte first) into slave and record
// objects. Every function here is a pure function of the bytes it is given: no socket, no window and no shared
// list are needed, and nothing is read outside the span passed in.

#include "scanner/mbus_types.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <span>
#include <type_traits>
#include <vector>

struct TDecode_Options {
  bool Wireless = false;      // a wireless scan keeps idle fillers (DIF 0x2F) as records
  int64_t Decoded_At = 0;     // time stamp given to every record (ms since the epoch, UTC); 0 takes the clock
};

struct TRecords_Result {
  bool LastFrame = true;                       // false when DIF 0x1F announced more records in a next telegram
  TDecodeError Error = TDecodeError::None;     // why decoding stopped early; the records before it are kept
  int Error_Offset = -1;                       // offset in the record area of the record that stopped it
};

// Parses the data records of Area and appends one TVariable_MBus per kept record to List. Area is exactly the
// record area: wired, bytes 19 .. length - 3 of the long frame (up to the checksum); wireless, from the first
// record byte up to the bytes the radio module appended to the telegram (see wmbus_decode.h).
// A record that does not fit in Area is not kept and ends the decoding, with the reason in the result; so do the
// special functions and readout selections that end a telegram. The records before stay in List.
TRecords_Result Decode_Records(std::vector<TVariable_MBus>& List, std::span<const uint8_t> Area,
                               const TDecode_Options& Options = {});

// Checks the envelope of a long frame (68 L L 68 C A CI ... CS 16): both start bytes, the repeated L field
// against the number of bytes, the stop byte and the checksum. The CI field is not looked at.
TDecodeError Check_Long_Frame(std::span<const uint8_t> Frame);

// Checks a reply to REQ_UD2 for decoding: a sound long frame, CI 0x72 and a complete fixed data header.
TDecodeError Check_RSP_UD(std::span<const uint8_t> Frame);

// Fills the header fields of Slave (address, identification, manufacturer, version, medium, status and their
// texts) from a frame that passed Check_RSP_UD.
void Decode_Fixed_Header(std::span<const uint8_t> Frame, TSlave_MBus& Slave);

struct THeader_Result {
  TDecodeError Error = TDecodeError::None;  // a refused frame leaves Slave untouched
  bool LastFrame = true;
  TDecodeError Records_Error = TDecodeError::None;  // why the record area stopped early, if it did
};

// Decodes an RSP_UD long frame into Slave: when New_Slave, the fixed header is read into it first; the records
// are appended to Slave.List_Var in either case (a later telegram of the same slave only adds records).
THeader_Result Decode_Header(std::span<const uint8_t> Frame, TSlave_MBus& Slave, bool New_Slave,
                             const TDecode_Options& Options = {});

// The list form used by the scan: Index < 0 appends a new slave read from this telegram's header and returns its
// index; otherwise the records are added to the slave at Index, which is returned. LastFrame receives whether the
// slave announced no further telegram. A refused frame, or an Index outside the list, changes nothing and gives -1
// (with the reason in Error when asked). Slave_List holds TSlave_MBus pointers or std::unique_ptr<TSlave_MBus>.
template <class Slave_List>
int Decode_Header(Slave_List& List, int Index, std::span<const uint8_t> Frame, bool& LastFrame,
                  const TDecode_Options& Options = {}, TDecodeError* Error = nullptr) {
  using TElement = typename Slave_List::value_type;
  static_assert(std::is_same_v<TElement, TSlave_MBus*> || std::is_same_v<TElement, std::unique_ptr<TSlave_MBus>>);
  const auto Count = static_cast<long long>(List.size());
  TDecodeError E = Index >= Count ? TDecodeError::NoSuchSlave : Check_RSP_UD(Frame);
  if (E != TDecodeError::None) {
    if (Error) *Error = E;
    return -1;
  }
  if (Index < 0) {
    if constexpr (std::is_pointer_v<TElement>)
      List.push_back(new TSlave_MBus());
    else
      List.push_back(std::make_unique<TSlave_MBus>());
    Index = static_cast<int>(List.size()) - 1;
  }
  const THeader_Result R = Decode_Header(Frame, *List[Index], Index == Count, Options);
  LastFrame = R.LastFrame;
  if (Error) *Error = R.Records_Error;
  return Index;
}

// Sets type_data, Type_Data_Vife and the value of a record whose raw coding is filled in (Decode_Records calls it
// for every kept record).
void Decode_VIF(TVariable_MBus& Item);

// Text and number helpers.
QString Medium_To_Text(int Code);
QString Manufacturer_To_Text(int Code);
QString Manufacturer_Char(int Code);
int64_t BCD_To_Int64(const uint8_t* Data, int N);
int64_t Power_Of_Ten(int N);
QString Two_Digits(int N);
void Append_Two_Digits(QString& S, int N);  // the same, appended to S

// Formats Mantissa x 10^Exponent in the general number format: shortest form, at most 15 significant digits
// (rounded half up), fixed notation from 1E-4 up to below 1E15, otherwise d.dddEx (as 1.5E20, 5E-7);
// Decimal_Point separates the fraction. Format_Real does the same for a floating-point value (NAN, INF, -INF).
QString Format_Scaled(int64_t Mantissa, int Exponent, QChar Decimal_Point);
QString Format_Real(double Value, QChar Decimal_Point);
