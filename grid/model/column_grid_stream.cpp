#include "grid/model/column_grid_stream.h"

#include <cstring>
#include <utility>

namespace grid {

namespace {

constexpr char kMagic[8] = {'X', 'C', 'O', 'L', 'G', 'R', 'I', 'D'};
constexpr qsizetype kHeaderSize = 8 + 2 + 4;
// A record holds at least its fixed-size fields, so a count larger than the payload allows is refused early.
constexpr qsizetype kMinRecordSize = 4;

class TWriter {
 public:
  void U8(std::uint8_t v) { FOut.append(static_cast<char>(v)); }
  void Bool(bool v) { U8(v ? 1 : 0); }
  void U16(std::uint16_t v) { for (int i = 0; i < 2; ++i) U8(static_cast<std::uint8_t>(v >> (8 * i))); }
  void U32(std::uint32_t v) { for (int i = 0; i < 4; ++i) U8(static_cast<std::uint8_t>(v >> (8 * i))); }
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void Str(const QString& s) {
    U32(static_cast<std::uint32_t>(s.size()));
    for (QChar c : s) U16(c.unicode());
  }
  void List(const QStringList& l) {
    U32(static_cast<std::uint32_t>(l.size()));
    for (const QString& s : l) Str(s);
  }
  void Font(const TColumnFontRecord& f) {
    Str(f.Name);
    I32(f.Height);
    U32(f.Color);
    U8(f.Style);
    U8(f.Charset);
    U8(f.Pitch);
  }
  void Pen(const TColumnPenRecord& p) {
    I32(p.Width);
    U32(p.Color);
    U8(p.Style);
  }
  void Raw(const QByteArray& b) { FOut.append(b); }
  QByteArray& Out() { return FOut; }

 private:
  QByteArray FOut;
};

// Every read checks the bytes left; the first failure sticks and names what could not be read.
class TReader {
 public:
  TReader(const char* Data, qsizetype Size) : FData(Data), FSize(Size) {}
  bool Ok() const { return FError.isEmpty(); }
  const QString& Error() const { return FError; }
  qsizetype Left() const { return FSize - FPos; }
  void Fail(const QString& What) {
    if (Ok()) FError = What;
  }
  std::uint8_t U8(const char* What) {
    if (!Need(1, What)) return 0;
    return static_cast<std::uint8_t>(FData[FPos++]);
  }
  std::uint8_t Enum(const char* What, int Max) {
    const std::uint8_t v = U8(What);
    if (v > Max) Fail(QStringLiteral("%1 out of range (%2)").arg(QLatin1String(What)).arg(v));
    return v;
  }
  bool Bool(const char* What) { return Enum(What, 1) != 0; }
  std::uint16_t U16(const char* What) {
    if (!Need(2, What)) return 0;
    std::uint16_t v = 0;
    for (int i = 0; i < 2; ++i) v |= static_cast<std::uint16_t>(static_cast<std::uint8_t>(FData[FPos++]) << (8 * i));
    return v;
  }
  std::uint32_t U32(const char* What) {
    if (!Need(4, What)) return 0;
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(FData[FPos++])) << (8 * i);
    return v;
  }
  std::int32_t I32(const char* What) { return static_cast<std::int32_t>(U32(What)); }
  std::int32_t Bounded(const char* What, std::int32_t Lo, std::int32_t Hi) {
    const std::int32_t v = I32(What);
    if (Ok() && (v < Lo || v > Hi)) Fail(QStringLiteral("%1 out of range (%2)").arg(QLatin1String(What)).arg(v));
    return v;
  }
  QString Str(const char* What) {
    const std::uint32_t n = U32(What);
    if (!Ok()) return {};
    if (n > static_cast<std::uint64_t>(Left()) / 2) {
      Fail(QStringLiteral("%1 longer than the stream").arg(QLatin1String(What)));
      return {};
    }
    QString s(static_cast<qsizetype>(n), Qt::Uninitialized);
    for (std::uint32_t i = 0; i < n; ++i) s[i] = QChar(U16(What));
    return s;
  }
  QStringList List(const char* What) {
    const std::uint32_t n = U32(What);
    // Each string takes at least its 4-byte length.
    if (Ok() && n > static_cast<std::uint64_t>(Left()) / 4) Fail(QStringLiteral("%1 longer than the stream").arg(QLatin1String(What)));
    QStringList l;
    for (std::uint32_t i = 0; Ok() && i < n; ++i) l << Str(What);
    return l;
  }
  TColumnFontRecord Font(const char* What) {
    TColumnFontRecord f;
    f.Name = Str(What);
    f.Height = Bounded(What, -kMaxFontHeight, kMaxFontHeight);
    f.Color = U32(What);
    f.Style = Enum(What, kFontStyleBits);
    f.Charset = U8(What);
    f.Pitch = Enum(What, kMaxPitch);
    return f;
  }
  TColumnPenRecord Pen(const char* What) {
    TColumnPenRecord p;
    p.Width = Bounded(What, 0, kMaxPenWidth);
    p.Color = U32(What);
    p.Style = Enum(What, kMaxPenStyle);
    return p;
  }
  qsizetype Pos() const { return FPos; }

 private:
  bool Need(qsizetype n, const char* What) {
    if (!Ok()) return false;
    if (Left() < n) {
      Fail(QStringLiteral("the stream ends inside %1").arg(QLatin1String(What)));
      return false;
    }
    return true;
  }
  const char* FData;
  qsizetype FSize;
  qsizetype FPos = 0;
  QString FError;
};

void WriteRecord(TWriter& w, const TColumnRecord& c) {
  w.I32(c.Width);
  w.U8(c.Alignment);
  w.Str(c.Header);
  w.U8(c.SortStyle);
  w.Str(c.SortPrefix);
  w.Str(c.SortSuffix);
  w.Str(c.EditMask);
  w.I32(c.EditLength);
  w.Font(c.Font);
  w.U32(c.Color);
  w.U8(c.Editor);
  w.Bool(c.Fixed);
  w.Bool(c.ReadOnly);
  w.List(c.ComboItems);
  w.I32(c.DropDownCount);
  w.I32(c.SpinMin);
  w.I32(c.SpinMax);
  w.I32(c.SpinStep);
  w.Bool(c.Password);
  w.Font(c.PrintFont);
  w.U32(c.PrintColor);
  w.U8(c.Borders);
  w.Pen(c.BorderPen);
  w.U8(c.PrintBorders);
  w.Pen(c.PrintBorderPen);
  w.I32(c.Tag);
  w.Str(c.Name);
  w.Str(c.CheckFalse);
  w.Str(c.CheckTrue);
  w.Bool(c.ShowBands);
  w.List(c.Filter);
  w.I32(c.MaxSize);
  w.I32(c.MinSize);
  w.I32(c.AutoMinSize);
  w.I32(c.AutoMaxSize);
  w.U8(c.ColumnPopupType);
  w.Bool(c.FilterCaseSensitive);
  w.Str(c.FloatFormat);
  w.U8(c.HeaderAlignment);
  w.Font(c.HeaderFont);
  w.Bool(c.PrintBorderCustom);
  w.Bool(c.PrintFontCustom);
}

TColumnRecord ReadRecord(TReader& r) {
  TColumnRecord c;
  c.Width = r.Bounded("Width", 0, kMaxColumnPixels);
  c.Alignment = r.Enum("Alignment", kMaxAlignment);
  c.Header = r.Str("Header");
  c.SortStyle = r.Enum("SortStyle", kMaxSortStyle);
  c.SortPrefix = r.Str("SortPrefix");
  c.SortSuffix = r.Str("SortSuffix");
  c.EditMask = r.Str("EditMask");
  c.EditLength = r.I32("EditLength");
  c.Font = r.Font("Font");
  c.Color = r.U32("Color");
  c.Editor = r.Enum("Editor", kMaxEditor);
  c.Fixed = r.Bool("Fixed");
  c.ReadOnly = r.Bool("ReadOnly");
  c.ComboItems = r.List("ComboItems");
  c.DropDownCount = r.Bounded("DropDownCount", 0, kMaxDropDownCount);
  c.SpinMin = r.I32("SpinMin");
  c.SpinMax = r.I32("SpinMax");
  c.SpinStep = r.I32("SpinStep");
  c.Password = r.Bool("Password");
  c.PrintFont = r.Font("PrintFont");
  c.PrintColor = r.U32("PrintColor");
  c.Borders = r.Enum("Borders", kBorderBits);
  c.BorderPen = r.Pen("BorderPen");
  c.PrintBorders = r.Enum("PrintBorders", kBorderBits);
  c.PrintBorderPen = r.Pen("PrintBorderPen");
  c.Tag = r.I32("Tag");
  c.Name = r.Str("Name");
  c.CheckFalse = r.Str("CheckFalse");
  c.CheckTrue = r.Str("CheckTrue");
  c.ShowBands = r.Bool("ShowBands");
  c.Filter = r.List("Filter");
  // Size limits of 0 or below mean none; any other becomes a column width.
  c.MaxSize = r.Bounded("MaxSize", INT32_MIN, kMaxColumnPixels);
  c.MinSize = r.Bounded("MinSize", INT32_MIN, kMaxColumnPixels);
  c.AutoMinSize = r.Bounded("AutoMinSize", INT32_MIN, kMaxColumnPixels);
  c.AutoMaxSize = r.Bounded("AutoMaxSize", INT32_MIN, kMaxColumnPixels);
  c.ColumnPopupType = r.Enum("ColumnPopupType", kMaxPopupType);
  c.FilterCaseSensitive = r.Bool("FilterCaseSensitive");
  c.FloatFormat = r.Str("FloatFormat");
  c.HeaderAlignment = r.Enum("HeaderAlignment", kMaxAlignment);
  c.HeaderFont = r.Font("HeaderFont");
  c.PrintBorderCustom = r.Bool("PrintBorderCustom");
  c.PrintFontCustom = r.Bool("PrintFontCustom");
  return c;
}

bool ReadPayload(TReader& r, std::vector<TColumnRecord>& Out) {
  const std::uint32_t count = r.U32("the column count");
  if (r.Ok() && count > static_cast<std::uint64_t>(r.Left()) / kMinRecordSize)
    r.Fail(QStringLiteral("column count %1 larger than the stream").arg(count));
  for (std::uint32_t i = 0; r.Ok() && i < count; ++i) {
    const std::uint32_t len = r.U32("a record length");
    if (!r.Ok()) break;
    if (len > static_cast<std::uint64_t>(r.Left())) {
      r.Fail(QStringLiteral("record %1 longer than the stream").arg(i));
      break;
    }
    const qsizetype start = r.Pos();
    TColumnRecord c = ReadRecord(r);
    if (r.Ok() && r.Pos() - start != static_cast<qsizetype>(len))
      r.Fail(QStringLiteral("record %1 does not match its length").arg(i));
    if (r.Ok()) Out.push_back(std::move(c));
  }
  if (r.Ok() && r.Left() != 0) r.Fail(QStringLiteral("bytes left after the last column"));
  return r.Ok();
}

}  // namespace

QByteArray WriteColumnStream(const std::vector<TColumnRecord>& Columns) {
  TWriter payload;
  payload.U32(static_cast<std::uint32_t>(Columns.size()));
  for (const TColumnRecord& c : Columns) {
    TWriter rec;
    WriteRecord(rec, c);
    payload.U32(static_cast<std::uint32_t>(rec.Out().size()));
    payload.Raw(rec.Out());
  }
  TWriter w;
  w.Raw(QByteArray(kMagic, sizeof kMagic));
  w.U16(kColumnStreamVersion);
  w.U32(static_cast<std::uint32_t>(payload.Out().size()));
  w.Raw(payload.Out());
  return std::move(w.Out());
}

bool ReadColumnStream(const QByteArray& Data, std::vector<TColumnRecord>& Columns, qsizetype& Used,
                      QString& Error) {
  const auto refuse = [&](const QString& Why) {
    Error = QStringLiteral("Not a column stream: ") + Why;
    return false;
  };
  if (Data.size() < kHeaderSize) {
    if (Data.size() >= 8 && std::memcmp(Data.constData(), kMagic, 8) != 0) return refuse(QStringLiteral("unknown header"));
    return refuse(QStringLiteral("the stream ends inside its header"));
  }
  if (std::memcmp(Data.constData(), kMagic, 8) != 0) return refuse(QStringLiteral("unknown header"));
  TReader head(Data.constData() + 8, kHeaderSize - 8);
  const std::uint16_t version = head.U16("the version");
  const std::uint32_t length = head.U32("the payload length");
  if (version != kColumnStreamVersion) return refuse(QStringLiteral("version %1 is not supported").arg(version));
  if (length > static_cast<std::uint64_t>(Data.size() - kHeaderSize))
    return refuse(QStringLiteral("the stream ends inside its columns"));
  TReader body(Data.constData() + kHeaderSize, static_cast<qsizetype>(length));
  std::vector<TColumnRecord> read;
  if (!ReadPayload(body, read)) return refuse(body.Error());
  Columns = std::move(read);
  Used = kHeaderSize + static_cast<qsizetype>(length);
  return true;
}

}  // namespace grid
