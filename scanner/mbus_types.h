#pragma once
// Objects that a decoded M-Bus reply turns into: one TSlave_MBus per wired slave, one TVariable_MBus per data
// record. A record keeps its raw coding in small fixed buffers and builds its texts on demand, so that decoding
// a telegram allocates nothing per record; the text fields are therefore const member functions of the same name.

#include <QString>

#include <cstdint>
#include <vector>

// Why a telegram was refused, or why the decoding of its record area stopped early.
enum class TDecodeError : uint8_t {
  None,
  NotLongFrame,       // first byte is not 0x68 (for example a single ACK)
  FrameTooShort,      // fewer bytes than a long frame's envelope
  BadFrameStart,      // second start byte or the repeated L field differ
  LengthMismatch,     // L field does not match the number of bytes received
  NoStopByte,         // last byte is not 0x16
  BadChecksum,        // checksum byte differs from the sum of C .. last data byte
  HeaderTooShort,     // L too small for the fixed data header
  ApplicationError,   // CI 0x70: the slave reports an application error
  UnsupportedCI,      // a CI field whose layout is not decoded
  RecordTruncated,    // a record runs past the end of the record area
  TooManyDIFEs,       // the tenth DIFE still announces another
  TooManyVIFEs,       // the tenth VIFE still announces another
  ReservedLVAR,       // LVAR 0xFB..0xFF: the data length is unknown
  ReservedFunction,   // a special-function DIF with the extension bit: the data length is unknown
  NoSuchSlave,        // records were to be added to a slave that is not in the list
};

// Fixed English text of an error, for logs and the diagnostic tool.
QString Decode_Error_Text(TDecodeError Error);

// How the value of a record is held before it is shown.
enum class TValueKind : uint8_t {
  None,       // no value (no data, or a value text that the VIFE chain cleared)
  Integer,    // Value_Mantissa x 10^Value_Exponent
  Real,       // Value_Real x 10^Value_Exponent
  Text,       // characters (variable-length ASCII data), or a hex dump of a long binary
  TimePoint,  // date and/or time built from the data bytes (VIF 0x6C/0x6D or a date VIFE)
};

class TVariable_MBus {
 public:
  static constexpr int Max_Raw = 255;  // a record never spans more than a telegram's 255 bytes

  TVariable_MBus() noexcept {}

  // Numeric fields of the record.
  int32_t dato_A = 0;              // data bytes 0..3, little-endian
  int32_t dato_B = 0;              // data bytes 4..7, little-endian
  uint8_t dimension = 0;           // data field code (DIF bits 0-3)
  uint16_t function_fild = 0;      // 0 instantaneous, 1 maximum, 2 minimum, 3 during error state
  int64_t storage_number = 0;
  uint16_t tarif = 0;
  uint16_t device = 0;             // subunit
  uint16_t type_data = 0;          // VIF category; -1 is stored as 65535
  uint16_t scale = 0;              // always 0 (the value is scaled as it is decoded); the JSON form lists it
  bool errata = false;             // the record could not be decoded
  int32_t nbyte = 0;               // number of data bytes
  int32_t numdife = 0;
  int32_t numvife = 0;
  int32_t vifvalue = -1;           // the VIF, or for VIF 0xFB/0xFD the first VIFE; -1 when not set
  int32_t PrinVIFE = 0;            // the first VIFE, 0 when none
  uint8_t casovif = 0;             // 0 primary, 1 FD table, 2 FB table, 100 manufacturer VIF, 101 plain-text VIF
  int32_t numdato = 0;             // always 0; the JSON form of a record lists it
  uint8_t VIF = 0;                 // the VIF byte as received
  int32_t Type_Data_Vife = 0;      // VIFE category 0..151, 0 = none
  bool Enable = true;              // the window's check box
  bool Real_Wireless_Var = true;   // false only for a wireless idle filler
  // Always empty; the JSON form of a record lists them.
  QString Description;
  QString icon;

  // Text fields, built from the raw coding when asked for.
  QString sterror() const;          // decoding error text, empty when the record is sound
  QString descdim() const;          // data type text, second wording
  QString VIFE() const;             // "$XX " per VIFE
  QString DIF() const;              // "$XX"
  QString DIFE() const;             // "$XX " per DIFE
  QString totdati() const;          // data bytes as hex, in received order
  QString VIF_ASCII() const;        // unit text of a plain-text VIF, in reading order
  // Local date and time of the decoding, in the user's short date and long time formats. The records of one
  // telegram share these texts: a change of the default locale shows from the next telegram read on.
  QString datagiorno() const;
  QString tempo() const;
  QString Desc_Type_Data() const;   // unit and description, with the VIFE suffixes
  // The value as shown, with the user's decimal separator (shared, like the reception texts, by the records of
  // one telegram read one after another).
  QString ValueStr() const;
  QString FunctionFieldStr() const;
  QString DataFieldStr() const;     // data type text, first wording

  // The value as a locale-free text ('.' as decimal separator); empty when the record has no value.
  QString Value_Text_C() const;
  // The numeric value, scaled; false when the value is not a number.
  bool Value_Number(double& Out) const;

  // Raw coding of the record, as received.
  uint8_t DIF_Byte = 0;
  uint8_t LVAR = 0;                 // the LVAR byte of data code 13
  uint8_t DIFE_Bytes[10] = {};
  uint8_t VIFE_Bytes[10] = {};
  uint8_t Text_Len = 0;             // plain-text unit bytes, stored first in Raw (received order)
  uint8_t Raw[Max_Raw];             // the plain-text unit bytes, then the nbyte data bytes

  const uint8_t* Data() const { return Raw + Text_Len; }

  // Decoded value.
  TValueKind Value_Kind = TValueKind::None;
  int8_t Value_Exponent = 0;
  int64_t Value_Mantissa = 0;
  double Value_Real = 0;
  TDecodeError Error = TDecodeError::None;
  int64_t Decoded_At = 0;           // milliseconds since the epoch (UTC) when the telegram was decoded
  uint32_t Telegram = 0;            // the decoding's own number, the same for every record of a telegram; 0: none
  // The description the decoding found while it walked the VIF and the VIFE chain: a text kept for the life of
  // the process, so that Desc_Type_Data neither walks the tables again nor joins the pieces again. Null for a
  // record made otherwise (its description is looked up when asked for); whoever changes the coding of a decoded
  // record clears it.
  const QString* Decoded_Desc = nullptr;
};

class TSlave_MBus {
 public:
  uint16_t Primary_Addresss = 0;    // A field of the first RSP_UD
  QString Secondary_Addresss;       // identification number as hex text, at least two digits
  int32_t Manufacture = 0;
  int32_t Version = 0;
  int32_t Medium = 0;
  int32_t Status = 0;
  QString descManufacture;
  QString descmedium;
  QString description;              // always empty; the JSON form of a slave lists it
  std::vector<TVariable_MBus> List_Var;  // records of every telegram read from this slave, in order

  // Identification number as read (BCD digits, least significant byte first in the telegram).
  uint32_t Identification = 0;
};
