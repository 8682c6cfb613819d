#pragma once
// Decoding of M-Bus replies (variable data structure, least significant byte first) into slave and record
// objects. Every function here is a pure function of the bytes it is given: no socket, no window and no shared
// list are needed, and nothing is read outside the span passed in.

#include "scanner/mbus_types.h"

#include <QString>

#include <cstdint>
#include <span>
#include <vector>

struct TDecode_Options {
  bool Wireless = false;      // a wireless scan keeps idle fillers (DIF 0x2F) as records
  int64_t Decoded_At = 0;     // time stamp given to every record (ms since the epoch, UTC)
};

struct TRecords_Result {
  bool LastFrame = true;                       // false when DIF 0x1F announced more records in a next telegram
  TDecodeError Error = TDecodeError::None;     // why decoding stopped early; the records before it are kept
  int Error_Offset = -1;                       // offset in the record area of the record that stopped it
};

// Parses the data records of Area and appends one TVariable_MBus per kept record to List. Area is exactly the
// record area (wired: from byte 19 up to the byte before the checksum). A record that does not fit in Area is not
// kept and ends the decoding; so do the special functions and readout selections that end a telegram.
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

// Text and number helpers.
QString Medium_To_Text(int Code);
QString Manufacturer_To_Text(int Code);
QString Manufacturer_Char(int Code);
int64_t BCD_To_Int64(const uint8_t* Data, int N);
int64_t Power_Of_Ten(int N);
QString Two_Digits(int N);

// Formats Mantissa x 10^Exponent in the general number format: shortest form, at most 15 significant digits,
// fixed notation from 1E-5 up to below 1E15, otherwise d.dddE+x; Decimal_Point separates the fraction.
QString Format_Scaled(int64_t Mantissa, int Exponent, QChar Decimal_Point);
QString Format_Real(double Value, QChar Decimal_Point);
