// The header's binary stream: the exact bytes of a default header, round trips of headers with columns, the
// older layouts, and the reader's refusal of truncated and malformed streams without changing anything.
#include <gtest/gtest.h>

#include <QByteArray>

#include <initializer_list>
#include <random>

#include "platform/forms/forms.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/streams.h"
#include "tree/treecolumns.h"
#include "tree/treecontrol.h"

namespace lazytree {
namespace {

struct Fixture {
  plat::TForm form{nullptr};
  TBaseLazyTreeControl* tree;
  Fixture() {
    form.SetBounds(0, 0, 600, 400);
    tree = new TBaseLazyTreeControl(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 300, 200);
  }
  TLTHeader& H() { return tree->Header(); }
  TLazyTreeColumns& Cols() { return H().Columns(); }
  QByteArray Save() {
    plat::TMemoryStream s;
    H().SaveToStream(s);
    return s.Bytes();
  }
  void Load(const QByteArray& b) {
    plat::TMemoryStream s(b);
    H().LoadFromStream(s);
  }
};

// Little-endian 32-bit fields as the stream holds them.
struct Bytes {
  QByteArray Data;
  Bytes& Ints(std::initializer_list<int32_t> values) {
    for (int32_t v : values)
      for (int i = 0; i < 4; ++i) Data.append(static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF));
    return *this;
  }
  Bytes& Raw(const QByteArray& b) {
    Data.append(b);
    return *this;
  }
};

// A header with three columns in a changed order and non-default settings everywhere.
void Populate(Fixture& f) {
  const char16_t caption[] = u"Temp \u00b0C \u20ac";
  for (int i = 0; i < 3; ++i) {
    TLazyTreeColumn* c = f.Cols().Add();
    c->SetText(i == 1 ? QString::fromUtf16(caption) : QStringLiteral("Col %1").arg(i));
    c->SetHint(QStringLiteral("hint %1").arg(i));
    c->SetMinWidth(i);
    c->SetWidth(5 + 30 * i);  // 5 is below the default minimum: it survives only with its own limits
    c->SetMaxWidth(500 + i);
    c->SetImageIndex(i - 1);
    c->SetLayout(static_cast<TLTHeaderColumnLayout>(i));
    c->SetMargin(2 + i);
    c->SetSpacing(7 - i);
    c->SetColumnTag(100 + i);
    c->SetAlignment(plat::taCenter);
    c->SetColor(static_cast<plat::TColor>(0x123456 + i));
  }
  f.Cols()[2]->SetCaptionAlignment(plat::taRightJustify);
  f.Cols()[0]->SetPosition(2);
  TLTHeader& h = f.H();
  h.SetBackground(static_cast<plat::TColor>(0x00AABBCC));
  h.SetStyle(hsPlates);
  h.SetMinHeight(12);
  h.SetMaxHeight(80);
  h.SetDefaultHeight(22);
  h.SetHeight(25);
  h.SetOptions({hoColumnResize, hoShowImages, hoHotTrack, hoAutoColumnPopupMenu});
  h.Font()->SetName(QStringLiteral("DejaVu Sans Mono"));
  h.Font()->SetHeight(-13);
  h.Font()->SetColor(static_cast<plat::TColor>(0x00102030));
  h.Font()->SetStyle(plat::TFontStyles{plat::fsBold, plat::fsUnderline});
  h.Font()->SetPitch(plat::fpFixed);
  h.SetMainColumn(1);
  h.SetSortColumn(2);
  h.SetSortDirection(sdDescending);
  h.FixedAreaConstraints().SetMaxWidthPercent(60);
  h.FixedAreaConstraints().SetMinWidthPercent(10);
  h.Columns().SetDefaultWidth(77);
}

TEST(HeaderStream, ADefaultHeaderWithoutColumnsHasTheseBytes) {
  Fixture f;
  const plat::TFont* font = f.H().Font();
  const QByteArray name = font->Name().toUtf8();
  Bytes want;
  want.Ints({-1, 6, 0, 50, 0, static_cast<int32_t>(plat::clBtnFace), 19, 522, 0,
             static_cast<int32_t>(font->Color()), font->Height(), static_cast<int32_t>(name.size())})
      .Raw(name)
      .Ints({font->Pitch(), 0, -1, -1, 0, 0, 10000, 10, 19, 0, 0, 0, 0});
  EXPECT_EQ(f.Save().toHex(), want.Data.toHex());
}

TEST(HeaderStream, RoundTripKeepsHeaderColumnsAndOrder) {
  Fixture a;
  Populate(a);
  const QByteArray saved = a.Save();
  Fixture b;
  b.Cols().Add();  // replaced by what is read
  b.Load(saved);
  EXPECT_TRUE(b.Cols().Equals(a.Cols()));
  EXPECT_EQ(b.Cols().PositionToIndex(), (std::vector<TColumnIndex>{1, 2, 0}));
  EXPECT_EQ(b.Cols()[0]->Width(), 5);
  EXPECT_EQ(b.Cols()[1]->Text(), a.Cols()[1]->Text());
  EXPECT_EQ(b.Cols()[2]->CaptionAlignment(), plat::taRightJustify);
  EXPECT_EQ(b.Cols()[1]->Left(), 0);  // lefts follow the order read
  EXPECT_EQ(b.Cols()[0]->Left(), 35 + 65);
  const TLTHeader& h = b.H();
  EXPECT_EQ(h.Height(), 25);
  EXPECT_EQ(h.Style(), hsPlates);
  EXPECT_EQ(h.Background(), static_cast<plat::TColor>(0x00AABBCC));
  EXPECT_EQ(h.MainColumn(), 1);
  EXPECT_EQ(h.SortColumn(), 2);
  EXPECT_EQ(h.SortDirection(), sdDescending);
  EXPECT_EQ(h.Font()->Name(), QStringLiteral("DejaVu Sans Mono"));
  EXPECT_TRUE(h.Font()->Style().Contains(plat::fsUnderline));
  EXPECT_EQ(h.MinHeight(), 12);
  EXPECT_EQ(h.MaxHeight(), 80);
  EXPECT_EQ(h.DefaultHeight(), 22);
  EXPECT_EQ(b.H().FixedAreaConstraints().MaxWidthPercent(), 60);
  EXPECT_EQ(h.Columns().DefaultWidth(), 77);
  EXPECT_FALSE(h.States().Has(hsLoading));
  EXPECT_EQ(b.Save().toHex(), saved.toHex());
}

TEST(HeaderStream, AStreamWithoutMarkerReadsAsTheOldestLayout) {
  Fixture f;
  f.H().SetSortColumn(NoColumn);
  const QByteArray name("Sans");
  // N = 1, a version-0 column record (no tag, alignment, colour), no position map entries beyond the one.
  Bytes b;
  b.Ints({1, 1}).Raw(QByteArray("A\0", 2)).Ints({0, 80, 10, 1000, 0, -1, 0, 4, 3, 0, 0x1F, 0})
      .Ints({0, static_cast<int32_t>(plat::clBtnFace), 30, 522, 1, 0, -11, 4})
      .Raw(name)
      .Ints({0, 0});
  f.Load(b.Data);
  ASSERT_EQ(f.Cols().Count(), 1);
  const TLazyTreeColumn* c = f.Cols()[0];
  EXPECT_EQ(c->Text(), QStringLiteral("A"));
  EXPECT_EQ(c->Width(), 80);
  // Bits 0..3 stay, bit 4 moves to 5: parent colour off, resizable on.
  EXPECT_EQ(c->Options().ToBits(), 0x2F);
  EXPECT_EQ(c->ColumnTag(), 0);
  EXPECT_EQ(f.H().Height(), 30);
  EXPECT_EQ(f.H().Style(), hsFlatButtons);
  EXPECT_EQ(f.H().SortColumn(), NoColumn);
}

// The oldest layout carries no main or sort column: those kept from before must fit the columns read, or a saved
// header would name a column that is not there and load back differently.
TEST(HeaderStream, TheOldestLayoutKeepsOnlyMainAndSortColumnsThatStillExist) {
  const struct {
    int Columns;
    TColumnIndex Main, Sort;
  } cases[] = {{0, NoColumn, NoColumn}, {1, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Columns);
    Fixture f;
    Populate(f);  // main column 1, sort column 2
    Bytes b;
    b.Ints({c.Columns});
    for (int i = 0; i < c.Columns; ++i) b.Ints({0, 0, 80, 10, 1000, 0, -1, 0, 4, 3, 0, 0x1F});
    if (c.Columns > 0) b.Ints({0});
    b.Ints({0, 0, 30, 522, 1, 0, -11, 0, 0, 0});
    f.Load(b.Data);
    ASSERT_EQ(f.Cols().Count(), c.Columns);
    EXPECT_EQ(f.H().MainColumn(), c.Main);
    EXPECT_EQ(f.H().SortColumn(), c.Sort);
    const QByteArray saved = f.Save();
    f.Load(saved);
    EXPECT_EQ(f.Save().toHex(), saved.toHex());
  }
}

TEST(HeaderStream, Version1ConvertsOptionsAndReadsTagAndSorting) {
  Fixture f;
  Bytes b;
  b.Ints({-1, 1, 1, 0, 0, 60, 10, 1000, 0, -1, 0, 4, 3, 0, 0x1F, 42, 2, 0})
      .Ints({0, 0, 19, 522, 0, 0, -11, 0, 0, 0})
      .Ints({0, 0, 1});
  f.Load(b.Data);
  ASSERT_EQ(f.Cols().Count(), 1);
  EXPECT_EQ(f.Cols()[0]->Options().ToBits(), 0x2F);
  EXPECT_EQ(f.Cols()[0]->ColumnTag(), 42);
  EXPECT_EQ(f.Cols()[0]->Alignment(), plat::taCenter);
  EXPECT_EQ(f.H().SortColumn(), 0);
  EXPECT_EQ(f.H().SortDirection(), sdDescending);
}

// Loading must either succeed or throw EReadError leaving the target header and the stream untouched.
void ExpectRefusedUnchanged(Fixture& target, const QByteArray& data, const std::string& what) {
  const QByteArray before = target.Save();
  plat::TMemoryStream s(data);
  s.SetPosition(0);
  EXPECT_THROW(target.H().LoadFromStream(s), plat::EReadError) << what;
  EXPECT_EQ(s.Position(), 0) << what;
  EXPECT_EQ(target.Save(), before) << what;
  EXPECT_FALSE(target.H().States().Has(hsLoading)) << what;
}

TEST(HeaderStream, EveryTruncationIsRefusedAndChangesNothing) {
  Fixture source;
  Populate(source);
  const QByteArray full = source.Save();
  Fixture target;
  target.Cols().Add()->SetText(QStringLiteral("keep me"));
  for (int len = 0; len < full.size(); ++len) ExpectRefusedUnchanged(target, full.left(len), "length " + std::to_string(len));
}

TEST(HeaderStream, HostileFieldsAreRefused) {
  Fixture source;
  source.Cols().Add();
  source.Cols().Add();
  const QByteArray good = source.Save();
  // Offsets in the two-column stream: count at 8, first caption length at 12, the map after both records.
  const int record = 4 + 4 + 13 * 4;
  const int map = 12 + 2 * record;
  auto patched = [&](int offset, int32_t value) {
    QByteArray b = good;
    for (int i = 0; i < 4; ++i) b[offset + i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
    return b;
  };
  struct Case {
    const char* name;
    int offset;
    int32_t value;
  } cases[] = {
      {"unknown marker", 0, -2},
      {"future version", 4, 7},
      {"negative version", 4, -5},
      {"huge column count", 8, 0x7FFFFFFF},
      {"negative column count", 8, -1},
      {"huge caption", 12, 0x40000000},
      {"negative caption", 12, -3},
      {"bad column style", 12 + 8 + 12, 9},
      {"bad layout", 12 + 8 + 20, 4},
      {"bad bidi mode", 12 + 8 + 32, -1},
      {"map index out of range", map, 2},
      {"map repeats a column", map + 4, 0},
      {"negative map index", map, -1},
      {"font name longer than the data", map + 8 + 4 * 8, 1000},
      {"percentage above 100", static_cast<int>(good.size()) - 4, 101},
      // Sizes beyond any screen would overflow the int sums of layout and sizing.
      {"column width 2^30", 12 + 8, 0x40000000},
      {"lowest maximum width", 12 + 8 + 8, INT32_MIN},
      {"margin", 12 + 8 + 24, -0x7FFFFFFF},
      {"spacing", 12 + 8 + 28, 0x7FFFFFFF},
      {"default width", map + 8, 0x40000000},
      {"header height", map + 20, INT32_MIN},
      {"font height", map + 36, 0x7FFFFFFF},
  };
  Fixture target;
  Populate(target);
  for (const Case& c : cases) ExpectRefusedUnchanged(target, patched(c.offset, c.value), c.name);
  // The unpatched stream loads.
  target.Load(good);
  EXPECT_EQ(target.Cols().Count(), 2);
}

// A header's height is read back as saved, within the limits of its own record: the area percentages, taken of
// the window's interior with the header's height in it, must not make a header read differently from what it
// saved, nor depend on the height it had before.
TEST(HeaderStream, AreaPercentagesDoNotRewriteTheHeightRead) {
  struct Case {
    const char* name;
    int32_t height, options, maxHeight, minHeight, maxPercent, minPercent, want;
  } cases[] = {
      {"hidden header, minimum percentage", 0, 0, 0, 6, 0, 59, 6},
      {"shown header, maximum percentage", 30, 1 << hoVisible, 10000, 10, 10, 0, 30},
      {"shown header, minimum percentage", 19, 1 << hoVisible, 10000, 10, 0, 50, 19},
      {"height below its own minimum", 4, 0, 10000, 12, 0, 30, 12},
  };
  for (const Case& c : cases) {
    Fixture f;
    const plat::TFont* font = f.H().Font();
    const QByteArray name = font->Name().toUtf8();
    Bytes stream;
    stream.Ints({-1, 6, 0, 50, 0, static_cast<int32_t>(plat::clBtnFace), c.height, c.options, 0,
                 static_cast<int32_t>(font->Color()), font->Height(), static_cast<int32_t>(name.size())})
        .Raw(name)
        .Ints({font->Pitch(), 0, -1, -1, 0, 0, c.maxHeight, c.minHeight, 19, c.maxPercent, 0, c.minPercent, 0});
    for (int before : {40, 150}) {
      f.H().SetHeight(before);
      f.Load(stream.Data);
      EXPECT_EQ(f.H().Height(), c.want) << c.name << ", height before " << before;
      EXPECT_EQ(f.H().FixedAreaConstraints().MinHeightPercent(), c.minPercent) << c.name;
      const QByteArray saved = f.Save();
      f.Load(saved);
      EXPECT_EQ(f.Save().toHex().toStdString(), saved.toHex().toStdString()) << c.name << ", height before " << before;
    }
  }
}

TEST(HeaderStream, RandomMutationsLoadOrAreRefusedCleanly) {
  Fixture source;
  Populate(source);
  const QByteArray good = source.Save();
  std::mt19937 rng(1234);
  Fixture target;
  int refused = 0;
  for (int round = 0; round < 400; ++round) {
    QByteArray b = good;
    const int flips = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < flips; ++i) b[static_cast<int>(rng() % static_cast<uint32_t>(b.size()))] = static_cast<char>(rng());
    const QByteArray before = target.Save();
    plat::TMemoryStream s(b);
    try {
      target.H().LoadFromStream(s);
      // What loaded is a consistent collection: the map is an order of the columns.
      std::vector<TColumnIndex> map = target.Cols().PositionToIndex();
      std::sort(map.begin(), map.end());
      for (int i = 0; i < static_cast<int>(map.size()); ++i) ASSERT_EQ(map[static_cast<std::size_t>(i)], i);
      target.Save();
    } catch (const plat::EReadError&) {
      ++refused;
      ASSERT_EQ(target.Save(), before) << "round " << round;
    }
  }
  EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace lazytree
