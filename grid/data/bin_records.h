#pragma once
// The record encoding of the binary grid stream: a private, versioned and self-describing layout.
//
//   stream  := magic "XGRD", version (u16), schema, record*
//   schema  := class count (u8), per class: id (u8), name, property count (u8), per property: name, type (u8)
//   name    := length (u8, 1..64), ASCII
//   record  := class id (u8), then the value of every property of its class, in schema order
//   values  := Int32: 4 bytes; Word: 2 bytes; Bool: 1 byte (0 or 1); Double: 8 bytes (IEEE); String: unit count
//              (u32) and UTF-16 units; Bytes: byte count (u32) and bytes; Strings: count (u32) and Strings
// All numbers little-endian. A reader matches classes and properties by name and type, so a property it does
// not know is skipped and one the stream lacks keeps the value it had; so are records of a class it does not know.
// Every count and length is checked against the bytes left before anything is made of it.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace grid::binrec {

enum class TType : std::uint8_t { Int32 = 1, Word = 2, Bool = 3, Double = 4, String = 5, Bytes = 6, Strings = 7 };

// The record classes, in the names the grid gives them.
enum TRecordId : std::uint8_t {
  rPropIO = 1,   // TGridPropIO: the grid's counts, sizes and origin
  rCellIO,       // TGridCellIO: one cell's place and text
  rCellPropIO,   // TGridCellPropIO: the cell's properties
  rGraphicIO,    // TGridGraphicIO: the cell's object
  rSLIO,         // TGridSLIO: radio items, or an image index list as one comma text
  rBMPIO,        // TGridBMPIO, TGridIconIO, TGridPicIO, TGridFilePicIO: a picture's bytes
  rIconIO,
  rPicIO,
  rFilePicIO,
  rRecordCount
};

// Properties of each class, in their order; their index is what a reader's record holds.
enum TPropIOProp { pColCount, pRowCount, pColWidths, pRowHeights, pFullGrid, pID };
enum TCellIOProp { cCol, cRow, cCell, cHasProp };
enum TCellPropIOProp {
  cpAlignment, cpBorderColor, cpBorderWidth, cpBrushColor, cpBrushColorTo, cpBrushStyle, cpFontColor,
  cpFontStyle, cpFontName, cpFontSize, cpReadOnly, cpEditor, cpVAlignment, cpWordWrap, cpNodeLevel,
  cpGradientDirection, cpIsBaseCell, cpCellSpanX, cpCellSpanY, cpHasGraphic
};
enum TGraphicIOProp {
  gCellType, gCellVAlign, gCellHAlign, gCellIndex, gCellTransparent, gCellValue, gCellAngle, gCellBoolean,
  gCellErrFrom, gCellErrLen, gCellText, gCellCreated, gCellCheckBoxState
};
enum TSLIOProp { sStrings };
enum TPictureIOProp { bData };

inline constexpr std::uint16_t StreamVersion = 1;

// The payload record that follows the object record of a cell object of this type; rPropIO for none.
TRecordId PayloadOf(int CellType);

class TRecordWriter {
 public:
  // Starts the stream in Out with the magic, the version and the schema.
  explicit TRecordWriter(QByteArray& Out);
  void Begin(TRecordId Id) { U8(Id); }
  void Int32(std::int32_t V);
  void Word(std::uint16_t V);
  void Bool(bool V) { U8(V ? 1 : 0); }
  void Double(double V);
  void String(const QString& V);
  void Bytes(const QByteArray& V);
  void Strings(const QStringList& V);
  // A whole TGridCellIO record in one step (the record every cell writes).
  void CellRecord(std::uint16_t Col, std::uint16_t Row, const QString& Text, bool HasProp);
  void Reserve(qsizetype Bytes) { FOut.reserve(Bytes); }
  qsizetype Size() const { return FOut.size(); }

 private:
  void U8(std::uint8_t V) { FOut.append(static_cast<char>(V)); }
  void U32(std::uint32_t V);
  QByteArray& FOut;
};

struct TValue {
  bool Present = false;
  std::int64_t Int = 0;  // Int32, Word and Bool
  double Real = 0;
  QString Text;
  QByteArray Data;
  QStringList List;
};

struct TRecord {
  TRecordId Id = rPropIO;
  // By the property index of the class (the enums above).
  std::vector<TValue> Values;
  const TValue& operator[](int Index) const { return Values[static_cast<size_t>(Index)]; }
};

class TRecordReader {
 public:
  // Reads the magic, version and schema; EExtGridError "Corrupt grid stream" when they are not right.
  TRecordReader(const char* Data, qsizetype Size);
  ~TRecordReader();
  qsizetype Left() const { return FEnd - FPos; }
  qsizetype Consumed() const { return FPos - FBegin; }
  // When the next record is a TGridCellIO in this writer's own layout, reads it straight into the arguments and
  // returns true; otherwise reads nothing and returns false (Next then reads it).
  bool NextCell(int& Col, int& Row, QString& Text, bool& HasProp);
  // Reads the next record of a known class into R (values the stream lacks are left out of Present);
  // EExtGridError when the record is cut short or of a class the stream did not declare.
  void Next(TRecord& R);

 private:
  struct TStreamProp;
  struct TStreamClass;
  [[noreturn]] static void Corrupt();
  void Need(qsizetype N) const;
  std::uint8_t U8();
  std::uint32_t U32();
  QByteArray Name();
  void ReadSchema();
  void ReadValue(std::uint8_t Type, TValue* Into);

  const char* FBegin;
  const char* FPos;
  const char* FEnd;
  std::vector<TStreamClass> FClasses;  // by stream class id
  int FCellId = -1;  // the stream's id of TGridCellIO when its properties are this writer's, in order
};

}  // namespace grid::binrec
