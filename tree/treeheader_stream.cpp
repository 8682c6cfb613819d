// The header's binary stream: the header and its columns, little-endian 32-bit fields (see SaveToStream for the
// order). Reading first decodes the whole record into plain values and checks every count, length, enumeration
// and the position map against the bytes that are really there; only a record that is sound in full is applied.
// So a truncated or hostile stream raises plat::EReadError with a message naming the fault, and the header,
// its columns and the stream position stay as they were.
#include <QString>

#include <algorithm>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/streams.h"
#include "tree/treecolumns.h"
#include "tree/treecontrol.h"

namespace lazytree {
namespace {

constexpr int32_t StreamMarker = -1;
constexpr int32_t StreamVersion = 6;
constexpr uint32_t KnownHeaderOptionBits = (1u << (hoAutoColumnPopupMenu + 1)) - 1;
// Sizes and distances in pixels go into sums and layouts of int arithmetic, and fonts into the glyph cache:
// a stream may hold nothing beyond what a screen could ever show, nor more columns than those sums allow.
constexpr int32_t MaxPixels = 100000;
constexpr int32_t MaxFontHeight = 1000;
constexpr int32_t MaxColumns = 10000;

struct TColumnRecord {
  QString Text, Hint;
  int32_t Width = 0, MinWidth = 0, MaxWidth = 0, Style = 0, ImageIndex = 0, Layout = 0, Margin = 0, Spacing = 0,
          BiDiMode = 0;
  uint16_t Options = 0;
  bool HasTagAndAlignment = false, HasColor = false, HasCaptionAlignment = false;
  int32_t Tag = 0, Alignment = 0, Color = 0, CaptionAlignment = 0;
};

struct THeaderRecord {
  int32_t Version = -1;
  std::vector<TColumnRecord> Columns;
  std::vector<TColumnIndex> PositionMap;
  bool HasDefaultWidth = false;
  int32_t DefaultWidth = 0, AutoSizeIndex = 0, Background = 0, Height = 0, Style = 0;
  uint32_t Options = 0;
  int32_t FontColor = 0, FontHeight = 0, FontPitch = 0, FontStyle = 0;
  QString FontName;
  bool HasSorting = false;
  int32_t MainColumn = NoColumn, SortColumn = NoColumn, SortDirection = 0;
  bool HasLimits = false;
  int32_t ParentFont = 0, MaxHeight = 0, MinHeight = 0, DefaultHeight = 0;
  int32_t Percents[4] = {0, 0, 0, 0};
};

[[noreturn]] void Refuse(const QString& What) {
  throw plat::EReadError(QStringLiteral("Invalid header stream: %1.").arg(What));
}

// Reads fields and bounds every length by the bytes left in the stream, so that no count can ask for more
// memory than the stream itself holds.
class THeaderReader {
 public:
  explicit THeaderReader(plat::TStream& Stream) : FStream(Stream) {}

  int32_t Int(const char* Field) {
    if (Left() < 4) Refuse(QStringLiteral("it ends inside the field \"%1\"").arg(QLatin1String(Field)));
    return FStream.ReadI32LE();
  }
  int32_t Bounded(const char* Field, int32_t Lo, int32_t Hi) {
    const int32_t v = Int(Field);
    if (v < Lo || v > Hi) Refuse(QStringLiteral("the value %1 of \"%2\" is out of range").arg(v).arg(QLatin1String(Field)));
    return v;
  }
  int32_t Pixels(const char* Field) { return Bounded(Field, -MaxPixels, MaxPixels); }
  int32_t Enum(const char* Field, int Count) { return Bounded(Field, 0, Count - 1); }
  int32_t Length(const char* Field, int64_t UnitSize) {
    const int32_t n = Int(Field);
    if (n < 0 || n > Left() / UnitSize)
      Refuse(QStringLiteral("the length %1 of \"%2\" exceeds the data").arg(n).arg(QLatin1String(Field)));
    return n;
  }
  QString Utf16(const char* Field) {
    const int32_t n = Length(Field, 2);
    const QByteArray bytes = FStream.ReadBytes(int64_t{n} * 2);
    QString s(n, Qt::Uninitialized);
    for (int32_t i = 0; i < n; ++i)
      s[i] = QChar(static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) | static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
    return s;
  }
  QString Utf8(const char* Field) { return QString::fromUtf8(FStream.ReadBytes(Length(Field, 1))); }
  int64_t Left() { return FStream.Size() - FStream.Position(); }

 private:
  plat::TStream& FStream;
};

uint16_t ConvertColumnOptions(uint32_t Bits, int32_t Version) {
  if (Version >= 3) return static_cast<uint16_t>(Bits & 0xFFFF);
  if (Version == 2) return static_cast<uint16_t>(Bits & 0xFF);
  // Before parent colours existed: bits 0..3 stay, 4..6 move up past the new bit 4.
  return static_cast<uint16_t>((Bits & 0x0F) | ((Bits & 0x70) << 1));
}

TColumnRecord ReadColumn(THeaderReader& R, int32_t Version) {
  TColumnRecord c;
  c.Text = R.Utf16("caption");
  c.Hint = R.Utf16("hint");
  c.Width = R.Pixels("width");
  c.MinWidth = R.Pixels("minimum width");
  c.MaxWidth = R.Pixels("maximum width");
  c.Style = R.Enum("column style", vsOwnerDraw + 1);
  c.ImageIndex = R.Int("image index");
  c.Layout = R.Enum("layout", blGlyphBottom + 1);
  c.Margin = R.Pixels("margin");
  c.Spacing = R.Pixels("spacing");
  c.BiDiMode = R.Enum("bidi mode", bdRightToLeftReadingOnly + 1);
  c.Options = ConvertColumnOptions(static_cast<uint32_t>(R.Int("column options")), Version);
  c.HasTagAndAlignment = Version > 0;
  if (c.HasTagAndAlignment) {
    c.Tag = R.Int("tag");
    c.Alignment = R.Enum("alignment", plat::taCenter + 1);
  }
  c.HasColor = Version > 1;
  if (c.HasColor) c.Color = R.Int("colour");
  c.HasCaptionAlignment = Version > 5 && TLTColumnOptions::FromBits(c.Options).Has(coUseCaptionAlignment);
  if (c.HasCaptionAlignment) c.CaptionAlignment = R.Enum("caption alignment", plat::taCenter + 1);
  return c;
}

void ReadColumns(THeaderReader& R, THeaderRecord& H) {
  // The smallest column record: two empty texts and the fields every version has.
  const int32_t n = R.Length("column count", 4 * 12);
  if (n > MaxColumns) Refuse(QStringLiteral("the column count %1 is out of range").arg(n));
  H.Columns.reserve(static_cast<std::size_t>(n));
  for (int32_t i = 0; i < n; ++i) H.Columns.push_back(ReadColumn(R, H.Version));
  if (n == 0) return;
  std::vector<bool> seen(static_cast<std::size_t>(n), false);
  for (int32_t p = 0; p < n; ++p) {
    const int32_t index = R.Int("position map");
    if (index < 0 || index >= n || seen[static_cast<std::size_t>(index)])
      Refuse(QStringLiteral("the position map is not an order of the %1 columns").arg(n));
    seen[static_cast<std::size_t>(index)] = true;
    H.PositionMap.push_back(index);
  }
}

THeaderRecord ReadRecord(THeaderReader& R, plat::TStream& Stream) {
  THeaderRecord h;
  const int32_t first = R.Int("marker");
  if (first < 0) {
    if (first != StreamMarker) Refuse(QStringLiteral("the marker %1 is unknown").arg(first));
    h.Version = R.Int("version");
    if (h.Version < 0 || h.Version > StreamVersion) Refuse(QStringLiteral("version %1 is not supported").arg(h.Version));
  } else {
    Stream.Seek(-4, plat::soFromCurrent);  // no marker: the oldest layout, starting with the count
  }
  ReadColumns(R, h);
  h.HasDefaultWidth = h.Version > 4;
  if (h.HasDefaultWidth) h.DefaultWidth = R.Pixels("default width");
  h.AutoSizeIndex = R.Int("auto-size index");
  h.Background = R.Int("background");
  h.Height = R.Pixels("height");
  h.Options = static_cast<uint32_t>(R.Int("header options")) & KnownHeaderOptionBits;
  h.Style = R.Enum("header style", hsPlates + 1);
  h.FontColor = R.Int("font colour");
  h.FontHeight = R.Bounded("font height", -MaxFontHeight, MaxFontHeight);
  h.FontName = R.Utf8("font name");
  h.FontPitch = R.Enum("font pitch", plat::fpFixed + 1);
  h.FontStyle = R.Int("font style") & 0x0F;
  h.HasSorting = h.Version > 0;
  if (h.HasSorting) {
    h.MainColumn = R.Int("main column");
    h.SortColumn = R.Int("sort column");
    h.SortDirection = R.Enum("sort direction", sdDescending + 1);
  }
  h.HasLimits = h.Version > 4;
  if (!h.HasLimits) return h;
  h.ParentFont = R.Enum("parent font", 2);
  h.MaxHeight = R.Pixels("maximum height");
  h.MinHeight = R.Pixels("minimum height");
  h.DefaultHeight = R.Pixels("default height");
  for (int32_t& p : h.Percents) {
    p = R.Int("area percentage");
    if (p < 0 || p > 100) Refuse(QStringLiteral("the percentage %1 is out of range").arg(p));
  }
  return h;
}

void ApplyColumn(TLazyTreeColumn& C, const TColumnRecord& R) {
  C.SetText(R.Text);
  C.SetHint(R.Hint);
  // Limits before the width, so that a width the limits of its own record allow survives the round trip.
  C.SetMinWidth(0);
  C.SetMaxWidth(R.MaxWidth);
  C.SetMinWidth(R.MinWidth);
  C.SetWidth(R.Width);
  C.SetStyle(static_cast<TLazyTreeColumnStyle>(R.Style));
  C.SetImageIndex(R.ImageIndex);
  C.SetLayout(static_cast<TLTHeaderColumnLayout>(R.Layout));
  C.SetMargin(R.Margin);
  C.SetSpacing(R.Spacing);
  C.SetBiDiMode(static_cast<TBiDiMode>(R.BiDiMode));
  C.SetOptions(TLTColumnOptions::FromBits(R.Options));
  if (R.HasTagAndAlignment) {
    C.SetColumnTag(R.Tag);
    C.SetAlignment(static_cast<plat::TAlignment>(R.Alignment));
  }
  if (R.HasColor) C.SetColor(static_cast<plat::TColor>(R.Color));
  if (R.HasCaptionAlignment) C.SetCaptionAlignment(static_cast<plat::TAlignment>(R.CaptionAlignment));
}

void WriteUtf16(plat::TStream& S, const QString& Text) {
  S.WriteI32LE(static_cast<int32_t>(Text.size()));
  for (QChar ch : Text) S.WriteU16LE(ch.unicode());
}

}  // namespace

void TLTHeader::SaveToStream(plat::TStream& S) const {
  S.WriteI32LE(StreamMarker);
  S.WriteI32LE(StreamVersion);
  const TLazyTreeColumns& cols = *FColumns;
  S.WriteI32LE(cols.Count());
  for (int i = 0; i < cols.Count(); ++i) {
    const TLazyTreeColumn& c = *cols.Items(i);
    WriteUtf16(S, c.FText);
    WriteUtf16(S, c.FHint);
    for (int32_t v : {c.FWidth, c.FMinWidth, c.FMaxWidth, int32_t{c.FStyle}, c.FImageIndex, int32_t{c.FLayout},
                      c.FMargin, c.FSpacing, int32_t{c.FBiDiMode}, int32_t{c.FOptions.ToBits()},
                      static_cast<int32_t>(c.FTag), int32_t{c.FAlignment}, static_cast<int32_t>(c.FColor)})
      S.WriteI32LE(v);
    if (c.FOptions.Has(coUseCaptionAlignment)) S.WriteI32LE(c.FCaptionAlignment);
  }
  if (cols.Count() > 0) {
    // The map is kept in step with the count lazily; write the order the columns are shown in.
    std::vector<TColumnIndex> map = cols.FPositionToIndex;
    if (static_cast<int>(map.size()) != cols.Count()) {
      map.resize(static_cast<std::size_t>(cols.Count()));
      for (int i = 0; i < cols.Count(); ++i) map[static_cast<std::size_t>(cols.Items(i)->FPosition)] = i;
    }
    for (TColumnIndex i : map) S.WriteI32LE(i);
  }
  S.WriteI32LE(cols.DefaultWidth());
  S.WriteI32LE(FAutoSizeIndex);
  S.WriteI32LE(static_cast<int32_t>(FBackgroundColor));
  S.WriteI32LE(FHeight);
  S.WriteI32LE(static_cast<int32_t>(FOptions.ToBits()));
  S.WriteI32LE(FStyle);
  S.WriteI32LE(static_cast<int32_t>(FFont.Color()));
  S.WriteI32LE(FFont.Height());
  const QByteArray name = FFont.Name().toUtf8();
  S.WriteI32LE(static_cast<int32_t>(name.size()));
  S.WriteBytes(name);
  S.WriteI32LE(FFont.Pitch());
  int32_t style = 0;
  for (plat::TFontStyle fs : {plat::fsBold, plat::fsItalic, plat::fsUnderline, plat::fsStrikeOut})
    if (FFont.Style().Contains(fs)) style |= 1 << fs;
  S.WriteI32LE(style);
  for (int32_t v : {FMainColumn, FSortColumn, int32_t{FSortDirection}, int32_t{FParentFont}, FMaxHeight,
                    FMinHeight, FDefaultHeight, FFixedAreaConstraints.MaxHeightPercent(),
                    FFixedAreaConstraints.MaxWidthPercent(), FFixedAreaConstraints.MinHeightPercent(),
                    FFixedAreaConstraints.MinWidthPercent()})
    S.WriteI32LE(v);
}

void TLTHeader::LoadFromStream(plat::TStream& Stream) {
  const int64_t start = Stream.Position();
  THeaderReader reader(Stream);
  THeaderRecord h;
  try {
    h = ReadRecord(reader, Stream);
  } catch (...) {
    Stream.SetPosition(start);
    throw;
  }

  FStates.Include(hsLoading);
  const TLTHeaderOptions kept = FOptions;
  FOptions = {};
  TLazyTreeColumns& cols = *FColumns;
  cols.Clear();
  if (!h.Columns.empty()) {
    cols.BeginUpdate();
    for (const TColumnRecord& r : h.Columns) ApplyColumn(*cols.Add(), r);
    cols.FPositionToIndex = h.PositionMap;
    cols.EndUpdate();
    cols.RecomputeColumnLefts(true);
  }
  if (h.HasDefaultWidth) cols.SetDefaultWidth(h.DefaultWidth);
  FAutoSizeIndex = h.AutoSizeIndex;
  SetBackground(static_cast<plat::TColor>(h.Background));
  FOptions = kept;
  SetOptions(TLTHeaderOptions::FromBits(h.Options));
  SetStyle(static_cast<TLTHeaderStyle>(h.Style));
  FFont.SetColor(static_cast<plat::TColor>(h.FontColor));
  FFont.SetHeight(h.FontHeight);
  FFont.SetName(h.FontName);
  FFont.SetPitch(static_cast<plat::TFontPitch>(h.FontPitch));
  plat::TFontStyles styles;
  for (plat::TFontStyle fs : {plat::fsBold, plat::fsItalic, plat::fsUnderline, plat::fsStrikeOut})
    if (h.FontStyle & (1 << fs)) styles.Include(fs);
  FFont.SetStyle(styles);
  // A record of the oldest layout has no sorting fields: the main and sort columns stay, but only as columns of
  // what was read, so that they never name a column the header no longer has.
  SetMainColumn(h.HasSorting ? h.MainColumn : FMainColumn);
  FSortColumn = std::min(std::max(h.HasSorting ? h.SortColumn : FSortColumn, NoColumn), cols.Count() - 1);
  if (h.HasSorting) FSortDirection = static_cast<TSortDirection>(h.SortDirection);
  if (h.HasLimits) {
    FParentFont = h.ParentFont != 0;
    // Stored as they stand, but a minimum above the maximum would make every later height clamp meaningless.
    FMinHeight = std::max(h.MinHeight, 0);
    FMaxHeight = std::max(h.MaxHeight, FMinHeight);
    FDefaultHeight = std::clamp(h.DefaultHeight, FMinHeight, FMaxHeight);
    for (int i = 0; i < 4; ++i)
      FFixedAreaConstraints.StorePercent(static_cast<TLTFixedAreaConstraints::TIndex>(i), h.Percents[i]);
  }
  // The height goes back as it was saved, within the record's own limits only. The area percentages are taken of
  // the window's interior, which counts the header's current height: applying them here would make what is read
  // depend on the header's state before, so that a saved header read back could differ from what it saved. The
  // percentages apply when the window next lays out.
  const int percents[4] = {FFixedAreaConstraints.MaxHeightPercent(), FFixedAreaConstraints.MaxWidthPercent(),
                           FFixedAreaConstraints.MinHeightPercent(), FFixedAreaConstraints.MinWidthPercent()};
  for (int i = 0; i < 4; ++i) FFixedAreaConstraints.StorePercent(static_cast<TLTFixedAreaConstraints::TIndex>(i), 0);
  SetHeight(h.Height);
  for (int i = 0; i < 4; ++i)
    FFixedAreaConstraints.StorePercent(static_cast<TLTFixedAreaConstraints::TIndex>(i), percents[i]);
  FStates.Exclude(hsLoading);
  if (FOwner) FOwner->ColumnResized(NoColumn);
}

}  // namespace lazytree
