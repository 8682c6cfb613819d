#include "grid/data/bin_records.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>

#include "grid/griderror.h"
#include "grid/model/cell_graphic.h"

namespace grid::binrec {

namespace {

struct TPropDef {
  const char* Name;
  TType Type;
};

struct TClassDef {
  const char* Name;
  std::span<const TPropDef> Props;
};

using enum TType;

constexpr TPropDef PropIOProps[] = {{"ColCount", Int32},  {"RowCount", Int32}, {"ColWidths", String},
                                    {"RowHeights", String}, {"FullGrid", Bool}, {"ID", Int32}};
constexpr std::array<TPropDef, 4> CellIOProps = {{{"Col", Word}, {"Row", Word}, {"Cell", String}, {"HasProp", Bool}}};
constexpr TPropDef CellPropIOProps[] = {
    {"CellProperties.Alignment", Int32},   {"CellProperties.BorderColor", Int32},
    {"CellProperties.BorderWidth", Int32}, {"CellProperties.BrushColor", Int32},
    {"CellProperties.BrushColorTo", Int32}, {"CellProperties.BrushStyle", Int32},
    {"CellProperties.FontColor", Int32},   {"CellProperties.FontStyle", Int32},
    {"CellProperties.FontName", String},   {"CellProperties.FontSize", Int32},
    {"CellProperties.ReadOnly", Bool},     {"CellProperties.Editor", Int32},
    {"CellProperties.VAlignment", Int32},  {"CellProperties.WordWrap", Bool},
    {"CellProperties.NodeLevel", Int32},   {"CellProperties.GradientDirection", Int32},
    {"CellProperties.IsBaseCell", Bool},   {"CellProperties.CellSpanX", Int32},
    {"CellProperties.CellSpanY", Int32},   {"HasGraphic", Bool}};
constexpr TPropDef GraphicIOProps[] = {
    {"CellGraphic.CellType", Int32},    {"CellGraphic.CellVAlign", Int32},   {"CellGraphic.CellHAlign", Int32},
    {"CellGraphic.CellIndex", Int32},   {"CellGraphic.CellTransparent", Bool}, {"CellGraphic.CellValue", Double},
    {"CellGraphic.CellAngle", Int32},   {"CellGraphic.CellBoolean", Bool},   {"CellGraphic.CellErrFrom", Int32},
    {"CellGraphic.CellErrLen", Int32},  {"CellGraphic.CellText", String},    {"CellGraphic.CellCreated", Bool},
    {"CellGraphic.CellCheckBoxState", Int32}};
constexpr TPropDef SLIOProps[] = {{"Strings", Strings}};
constexpr TPropDef BMPIOProps[] = {{"Bitmap", Bytes}};
constexpr TPropDef IconIOProps[] = {{"Icon", Bytes}};
constexpr TPropDef PicIOProps[] = {{"Picture", Bytes}};

// By record id (index 0 unused).
constexpr TClassDef Classes[rRecordCount] = {
    {"", {}},
    {"TGridPropIO", PropIOProps},
    {"TGridCellIO", CellIOProps},
    {"TGridCellPropIO", CellPropIOProps},
    {"TGridGraphicIO", GraphicIOProps},
    {"TGridSLIO", SLIOProps},
    {"TGridBMPIO", BMPIOProps},
    {"TGridIconIO", IconIOProps},
    {"TGridPicIO", PicIOProps},
    {"TGridFilePicIO", PicIOProps},
};

constexpr char Magic[4] = {'X', 'G', 'R', 'D'};
constexpr size_t MaxName = 64;

void AppendName(QByteArray& Out, const char* Name) {
  const size_t n = std::strlen(Name);
  Out.append(static_cast<char>(n));
  Out.append(Name, static_cast<qsizetype>(n));
}

}  // namespace

TRecordId PayloadOf(int CellType) {
  switch (CellType) {
    case ctBitmap:
    case ctBitButton:
      return rBMPIO;
    case ctIcon:
      return rIconIO;
    case ctRadio:
    case ctImages:
      return rSLIO;
    case ctPicture:
      return rPicIO;
    case ctFilePicture:
      return rFilePicIO;
    default:
      return rPropIO;
  }
}

// ---- writing

TRecordWriter::TRecordWriter(QByteArray& Out) : FOut(Out) {
  FOut.append(Magic, 4);
  FOut.append(static_cast<char>(StreamVersion & 0xFF));
  FOut.append(static_cast<char>(StreamVersion >> 8));
  U8(rRecordCount - 1);
  for (int id = 1; id < rRecordCount; ++id) {
    U8(static_cast<std::uint8_t>(id));
    AppendName(FOut, Classes[id].Name);
    U8(static_cast<std::uint8_t>(Classes[id].Props.size()));
    for (const TPropDef& p : Classes[id].Props) {
      AppendName(FOut, p.Name);
      U8(static_cast<std::uint8_t>(p.Type));
    }
  }
}

void TRecordWriter::U32(std::uint32_t V) {
  const char b[4] = {static_cast<char>(V), static_cast<char>(V >> 8), static_cast<char>(V >> 16),
                     static_cast<char>(V >> 24)};
  FOut.append(b, 4);
}

void TRecordWriter::Int32(std::int32_t V) { U32(static_cast<std::uint32_t>(V)); }

void TRecordWriter::Word(std::uint16_t V) {
  const char b[2] = {static_cast<char>(V), static_cast<char>(V >> 8)};
  FOut.append(b, 2);
}

void TRecordWriter::Double(double V) {
  std::uint64_t bits;
  std::memcpy(&bits, &V, 8);
  U32(static_cast<std::uint32_t>(bits));
  U32(static_cast<std::uint32_t>(bits >> 32));
}

void TRecordWriter::String(const QString& V) {
  U32(static_cast<std::uint32_t>(V.size()));
  // UTF-16 units as they are in memory: the platforms the program runs on are little-endian.
  static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN);
  FOut.append(reinterpret_cast<const char*>(V.constData()), V.size() * 2);
}

void TRecordWriter::CellRecord(std::uint16_t Col, std::uint16_t Row, const QString& Text, bool HasProp) {
  const qsizetype units = Text.size(), old = FOut.size();
  FOut.resize(old + 10 + units * 2);
  char* d = FOut.data() + old;
  const std::uint32_t n = static_cast<std::uint32_t>(units);
  d[0] = static_cast<char>(rCellIO);
  d[1] = static_cast<char>(Col), d[2] = static_cast<char>(Col >> 8);
  d[3] = static_cast<char>(Row), d[4] = static_cast<char>(Row >> 8);
  d[5] = static_cast<char>(n), d[6] = static_cast<char>(n >> 8), d[7] = static_cast<char>(n >> 16);
  d[8] = static_cast<char>(n >> 24);
  std::memcpy(d + 9, Text.constData(), static_cast<size_t>(units) * 2);
  d[9 + units * 2] = HasProp ? 1 : 0;
}

void TRecordWriter::Bytes(const QByteArray& V) {
  U32(static_cast<std::uint32_t>(V.size()));
  FOut.append(V);
}

void TRecordWriter::Strings(const QStringList& V) {
  U32(static_cast<std::uint32_t>(V.size()));
  for (const QString& s : V) String(s);
}

// ---- reading

struct TRecordReader::TStreamProp {
  std::uint8_t Type;
  int Index;  // the property's index in its class, -1 for one this reader does not know
};

struct TRecordReader::TStreamClass {
  TRecordId Id = rPropIO;
  bool Declared = false;
  std::vector<TStreamProp> Props;
};

TRecordReader::TRecordReader(const char* Data, qsizetype Size) : FBegin(Data), FPos(Data), FEnd(Data + Size) {
  Need(6);
  if (std::memcmp(FPos, Magic, 4) != 0) Corrupt();
  FPos += 4;
  const std::uint16_t version = static_cast<std::uint8_t>(FPos[0]) | static_cast<std::uint8_t>(FPos[1]) << 8;
  FPos += 2;
  // A later version may add classes and properties, which the schema describes; the version only changes when
  // the encoding itself does.
  if (version != StreamVersion) Corrupt();
  ReadSchema();
}

TRecordReader::~TRecordReader() = default;

void TRecordReader::Corrupt() { throw EExtGridError(QStringLiteral("Corrupt grid stream")); }

void TRecordReader::Need(qsizetype N) const {
  if (N < 0 || N > FEnd - FPos) Corrupt();
}

std::uint8_t TRecordReader::U8() {
  Need(1);
  return static_cast<std::uint8_t>(*FPos++);
}

std::uint32_t TRecordReader::U32() {
  Need(4);
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<std::uint8_t>(FPos[i]);
  FPos += 4;
  return v;
}

QByteArray TRecordReader::Name() {
  const std::uint8_t n = U8();
  if (n == 0 || n > MaxName) Corrupt();
  Need(n);
  QByteArray name(FPos, n);
  FPos += n;
  return name;
}

void TRecordReader::ReadSchema() {
  FClasses.assign(256, {});
  const int count = U8();
  for (int i = 0; i < count; ++i) {
    TStreamClass& c = FClasses[U8()];
    if (c.Declared) Corrupt();
    c.Declared = true;
    const QByteArray name = Name();
    int known = 0;
    for (int id = 1; id < rRecordCount; ++id)
      if (name == Classes[id].Name) known = id;
    c.Id = static_cast<TRecordId>(known);
    const int props = U8();
    for (int k = 0; k < props; ++k) {
      const QByteArray pname = Name();
      const std::uint8_t type = U8();
      if (type < 1 || type > static_cast<std::uint8_t>(Strings)) Corrupt();
      int index = -1;
      if (known) {
        const auto defs = Classes[known].Props;
        for (size_t j = 0; j < defs.size(); ++j)
          if (pname == defs[j].Name && type == static_cast<std::uint8_t>(defs[j].Type)) index = static_cast<int>(j);
      }
      c.Props.push_back({type, index});
    }
    bool own = known == rCellIO && c.Props.size() == CellIOProps.size();
    for (size_t k = 0; own && k < c.Props.size(); ++k) own = c.Props[k].Index == static_cast<int>(k);
    if (own) FCellId = static_cast<int>(&c - FClasses.data());
  }
}

bool TRecordReader::NextCell(int& Col, int& Row, QString& Text, bool& HasProp) {
  if (FCellId < 0 || FEnd - FPos < 10 || static_cast<std::uint8_t>(*FPos) != FCellId) return false;
  const auto b = [this](int i) { return static_cast<std::uint32_t>(static_cast<std::uint8_t>(FPos[i])); };
  const std::uint32_t n = b(5) | b(6) << 8 | b(7) << 16 | b(8) << 24;
  if (static_cast<std::uint64_t>(n) * 2 + 10 > static_cast<std::uint64_t>(FEnd - FPos)) Corrupt();
  const std::uint8_t flag = static_cast<std::uint8_t>(FPos[9 + qsizetype(n) * 2]);
  if (flag > 1) Corrupt();
  Col = static_cast<int>(b(1) | b(2) << 8);
  Row = static_cast<int>(b(3) | b(4) << 8);
  Text = QString(reinterpret_cast<const QChar*>(FPos + 9), static_cast<qsizetype>(n));
  HasProp = flag != 0;
  FPos += 10 + qsizetype(n) * 2;
  return true;
}

void TRecordReader::ReadValue(std::uint8_t Type, TValue* Into) {
  TValue scratch;
  TValue& v = Into ? *Into : scratch;
  v.Present = true;
  switch (static_cast<TType>(Type)) {
    case Int32:
      v.Int = static_cast<std::int32_t>(U32());
      break;
    case Word:
      Need(2);
      v.Int = static_cast<std::uint8_t>(FPos[0]) | static_cast<std::uint8_t>(FPos[1]) << 8;
      FPos += 2;
      break;
    case Bool: {
      const std::uint8_t b = U8();
      if (b > 1) Corrupt();
      v.Int = b;
      break;
    }
    case Double: {
      const std::uint64_t lo = U32(), hi = U32();
      const std::uint64_t bits = lo | hi << 32;
      std::memcpy(&v.Real, &bits, 8);
      break;
    }
    case String: {
      const std::uint32_t n = U32();
      Need(static_cast<qsizetype>(n) * 2);
      if (Into) v.Text = QString(reinterpret_cast<const QChar*>(FPos), static_cast<qsizetype>(n));
      FPos += static_cast<qsizetype>(n) * 2;
      break;
    }
    case Bytes: {
      const std::uint32_t n = U32();
      Need(static_cast<qsizetype>(n));
      if (Into) v.Data = QByteArray(FPos, static_cast<qsizetype>(n));
      FPos += n;
      break;
    }
    case Strings: {
      const std::uint32_t n = U32();
      // Every string takes at least its 4-byte count: a count the bytes cannot hold is corrupt.
      Need(static_cast<qsizetype>(n) * 4);
      v.List.clear();
      for (std::uint32_t i = 0; i < n; ++i) {
        TValue s;
        ReadValue(static_cast<std::uint8_t>(String), Into ? &s : nullptr);
        if (Into) v.List.append(std::move(s.Text));
      }
      break;
    }
  }
}

void TRecordReader::Next(TRecord& R) {
  const TStreamClass* cp = &FClasses[U8()];
  // Records of classes this reader does not know are passed over: the schema says how long they are.
  while (cp->Declared && !cp->Id) {
    for (const TStreamProp& p : cp->Props) ReadValue(p.Type, nullptr);
    cp = &FClasses[U8()];
  }
  const TStreamClass& c = *cp;
  if (!c.Declared) Corrupt();
  R.Id = c.Id;
  R.Values.resize(Classes[c.Id].Props.size());
  for (TValue& v : R.Values) v.Present = false;
  for (const TStreamProp& p : c.Props) ReadValue(p.Type, p.Index >= 0 ? &R.Values[static_cast<size_t>(p.Index)] : nullptr);
}

}  // namespace grid::binrec
