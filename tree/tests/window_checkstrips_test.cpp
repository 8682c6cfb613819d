// The drawn check image strips, the tree unit's one-time set-up of the nine shared lists, the strip kinds a
// tree draws its check boxes from, and the string tree's extra form properties.
#include <QApplication>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include "platform/forms/extctrls.h"
#include "platform/forms/forms.h"
#include "platform/forms/messages.h"
#include "platform/graphics/color.h"
#include "platform/graphics/imagelist.h"
#include "platform/rtl/exceptions.h"
#include "tree/checkimages.h"
#include "tree/treetransfer.h"
#include "tree/checkstate.h"
#include "tree/stringtree.h"

namespace lazytree {
namespace {

int Opaque(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += qAlpha(image.pixel(x, y)) > 0;
  return n;
}

bool HasColour(const QImage& image, QRgb colour) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) && (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
  return false;
}

struct StripCase {
  const char* name;
  TTreeUnitList list;
  TCheckImageKind kind;
};
const StripCase Strips[] = {
    {"LT_CHECK_LIGHT", tlLightCheck, ckLightCheck}, {"LT_CHECK_DARK", tlDarkCheck, ckDarkCheck},
    {"LT_TICK_LIGHT", tlLightTick, ckLightTick},    {"LT_TICK_DARK", tlDarkTick, ckDarkTick},
    {"LT_FLAT", tlFlat, ckFlat},                    {"LT_XP", tlXP, ckXP},
};

void SaveShot(const plat::TCustomImageList* list, const QString& name) {
  if (!qEnvironmentVariableIsSet("TREE_SHOTS")) return;
  const int size = list->Width();
  QImage all(list->Count() * size, size, QImage::Format_ARGB32);
  all.fill(Qt::white);
  for (int i = 0; i < list->Count(); ++i)
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const QRgb p = list->GetImage(i).pixel(x, y);
        if (qAlpha(p)) all.setPixel(i * size + x, y, p);
      }
  all.scaled(all.width() * 3, all.height() * 3).save(qEnvironmentVariable("TREE_SHOTS") + "/" + name + ".png");
}

TEST(CheckStrips, EveryStripFollowsTheIndexLayout) {
  for (const StripCase& c : Strips) {
    SCOPED_TRACE(c.name);
    const QImage strip = CheckImageStrip(c.name);
    ASSERT_EQ(strip.size(), QSize(25 * CheckImageSize, CheckImageSize));
    plat::TCustomImageList* list = TreeUnitImages(c.list);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Count(), 25);
    EXPECT_EQ(list->Width(), CheckImageSize);
    EXPECT_EQ(Opaque(list->GetImage(0)), 0) << "the empty image";
    for (int i = 1; i < 25; ++i) EXPECT_GT(Opaque(list->GetImage(i)), 0) << i;
    // Unchecked and checked, normal and inactive, box and radio button, box and push button all differ.
    const int pairs[][2] = {{9, 13}, {1, 5}, {13, 16}, {9, 1}, {21, 9}, {17, 13}, {21, 24}};
    for (const auto& p : pairs) EXPECT_NE(list->GetImage(p[0]), list->GetImage(p[1])) << p[0] << " " << p[1];
    SaveShot(list, QString::fromLatin1(c.name).toLower());
  }
  // The looks differ from each other in their checked box.
  for (const StripCase& a : Strips)
    for (const StripCase& b : Strips)
      if (a.list < b.list) {
        EXPECT_NE(TreeUnitImages(a.list)->GetImage(13), TreeUnitImages(b.list)->GetImage(13))
            << a.name << " " << b.name;
      }
  // Only the XP strip keeps its own colours; the dark strips show the button face inside their boxes.
  EXPECT_TRUE(HasColour(TreeUnitImages(tlXP)->GetImage(9), 0x1C5180));
  EXPECT_FALSE(HasColour(TreeUnitImages(tlFlat)->GetImage(9), 0x1C5180));
  EXPECT_TRUE(HasColour(TreeUnitImages(tlDarkCheck)->GetImage(9), plat::ToQColor(plat::clBtnFace).rgb()));
}

TEST(CheckStrips, UtilitiesAndUnknownNames) {
  plat::TCustomImageList* utilities = TreeUnitImages(tlUtilities);
  ASSERT_EQ(utilities->Count(), 9);
  // Drop marks, classic and themed sort arrows; the rest are empty.
  for (int i = 0; i < 9; ++i) EXPECT_EQ(Opaque(utilities->GetImage(i)) > 0, i <= UtilityThemedSortAscending) << i;
  // An ascending arrow points up: its top half has fewer pixels than its bottom half, a descending one the other
  // way round.
  const auto halves = [&](int i) {
    const QImage g = utilities->GetImage(i).convertToFormat(QImage::Format_ARGB32);
    int top = 0, bottom = 0;
    for (int y = 0; y < g.height(); ++y)
      for (int x = 0; x < g.width(); ++x)
        if (qAlpha(g.pixel(x, y)) > 0 && qRed(g.pixel(x, y)) < 0xF0) (y < 8 ? top : bottom) += 1;  // not the light edge
    return std::pair{top, bottom};
  };
  for (int i : {UtilitySortAscending, UtilityThemedSortAscending}) EXPECT_LT(halves(i).first, halves(i).second) << i;
  for (int i : {UtilitySortDescending, UtilityThemedSortDescending}) EXPECT_GT(halves(i).first, halves(i).second) << i;
  SaveShot(utilities, "utilities");
  EXPECT_TRUE(CheckImageStrip("LT_NOTHING").isNull());
  plat::TImageList list(nullptr);
  EXPECT_THROW(LoadCheckImageStrip(&list, CheckImageStrip("LT_NOTHING"), "LT_NOTHING", true), plat::EAssertionFailed);
}

TEST(CheckStrips, SystemListsTakeTheirButtonsFromTheStrips) {
  for (bool flat : {false, true}) {
    plat::TCustomImageList* system = SystemCheckImages(flat);
    plat::TCustomImageList* source = TreeUnitImages(flat ? tlFlat : tlDarkCheck);
    for (int i = 21; i < 25; ++i) {
      EXPECT_GT(Opaque(system->GetImage(i)), 0) << i;
      EXPECT_EQ(system->GetImage(i).convertToFormat(QImage::Format_ARGB32),
                source->GetImage(i).convertToFormat(QImage::Format_ARGB32))
          << i;
    }
    // A button's image index lands on them.
    EXPECT_EQ(CheckImageIndex(ctButton, csCheckedNormal, true, false), 21);
    SaveShot(system, flat ? "system_flat" : "system");
  }
}

TEST(TreeUnit, SetUpOnceWithTheFirstTreeAndAgainAfterFinalizing) {
  FinalizeTreeUnit();
  EXPECT_FALSE(TreeUnitInitialized());
  plat::TCustomImageList* lists[tlCount];
  {
    plat::TForm form(nullptr);
    new TLazyStringTree(&form);
    ASSERT_TRUE(TreeUnitInitialized());
    for (int i = 0; i < tlCount; ++i) {
      lists[i] = TreeUnitImages(TTreeUnitList(i));
      ASSERT_NE(lists[i], nullptr) << i;
      for (int j = 0; j < i; ++j) EXPECT_NE(lists[i], lists[j]) << i << " " << j;
    }
    // More trees and more calls share the same lists.
    new TLazyStringTree(&form);
    InitializeTreeUnit();
    for (int i = 0; i < tlCount; ++i) EXPECT_EQ(TreeUnitImages(TTreeUnitList(i)), lists[i]) << i;
    EXPECT_EQ(TreeUnitIsModernSystem(), true);
    // The reference format, the splitter cursors of their slots and the trees' transfer formats.
    EXPECT_EQ(ClipboardFormatName(RegisterClipboardFormat(LazyTreeReferenceFormat)), LazyTreeReferenceFormat);
    for (auto [slot, shape] : {std::pair{crVertSplit, Qt::SplitVCursor}, std::pair{crHeaderSplit, Qt::SplitHCursor}}) {
      plat::TPanel panel(&form);
      panel.SetCursor(slot);
      EXPECT_EQ(panel.Widget()->cursor().shape(), shape) << slot;
    }
    for (const char* name : {"Lazy Tree Data", "HTML Format", "Rich Text Format Without Objects", "Rich Text Format",
                             "CSV", "Plain text", "Unicode text"})
      EXPECT_NE(TClipboardFormatList::FindFormat(QString::fromLatin1(name)), nullptr) << name;
#if defined(__x86_64__)
    EXPECT_TRUE(TreeUnitHasMMX());
#endif
  }
  FinalizeTreeUnit();
  EXPECT_FALSE(TreeUnitInitialized());
  FinalizeTreeUnit();  // a second shutdown does nothing
  EXPECT_EQ(TreeUnitImages(tlCount), nullptr);
  plat::TForm form(nullptr);
  new TLazyStringTree(&form);
  EXPECT_TRUE(TreeUnitInitialized());
  EXPECT_EQ(SystemCheckImages(false)->Count(), 25);
}

TEST(TreeUnit, EachStripKindDrawsFromItsSharedList) {
  plat::TForm form(nullptr);
  auto* tree = new TLazyStringTree(&form);
  for (const StripCase& c : Strips) {
    tree->SetCheckImageKind(c.kind);
    EXPECT_EQ(tree->CheckImagesInForce(), TreeUnitImages(c.list)) << c.name;
  }
}

TEST(StringTreeForm, DefaultTextIsWrittenAsWideDefaultTextWhenChanged) {
  plat::TForm form(nullptr);
  auto* tree = new TLazyStringTree(&form);
  struct Case {
    QString text;
    bool written;
  };
  const Case cases[] = {{"Node", false}, {"Gerät", true}, {"", true}, {"node", true}};
  for (const Case& c : cases) {
    tree->SetDefaultText(c.text);
    QVariantMap props;
    tree->WriteFormProperties(props);
    EXPECT_EQ(props.contains("WideDefaultText"), c.written) << c.text.toStdString();
    if (!c.written) continue;
    EXPECT_EQ(props.value("WideDefaultText").toString(), c.text);
    // Read back into another tree.
    auto* other = new TLazyStringTree(&form);
    EXPECT_TRUE(other->ReadFormProperty("WideDefaultText", props.value("WideDefaultText")));
    EXPECT_EQ(other->DefaultText(), c.text);
  }
  EXPECT_FALSE(tree->ReadFormProperty("DefaultTextW", QString("x")));
  EXPECT_EQ(tree->DefaultText(), "node");
}

TEST(StringTreeForm, OldStringOptionsAreReadButNeverWritten) {
  plat::TForm form(nullptr);
  auto* tree = new TLazyStringTree(&form);
  struct Case {
    QStringList names;
    TLTStringOptions expected;
  };
  const Case cases[] = {{{}, {}},
                        {{"soSaveCaptions"}, {toSaveCaptions}},
                        {{"soShowStaticText", "soReadOnly"}, {toShowStaticText}},
                        {{"soSaveCaptions", "soShowStaticText"}, {toSaveCaptions, toShowStaticText}}};
  for (const Case& c : cases) {
    tree->SetStringOptions({toAutoAcceptEditChange});
    EXPECT_TRUE(tree->ReadFormProperty("StringOptions", c.names));
    EXPECT_EQ(tree->StringOptions(), c.expected) << c.names.join(',').toStdString();
    QVariantMap props;
    tree->WriteFormProperties(props);
    EXPECT_FALSE(props.contains("StringOptions"));
  }
}

// A change of the system colours makes the mapped strips and the system lists again in the new colours; the
// lists stay the same objects, and the XP strip, whose colours are its own, stays as it was.
TEST(TreeUnit, ASystemColourChangeRedrawsTheMappedStrips) {
  plat::TForm form(nullptr);
  auto* tree = new TLazyStringTree(&form);
  tree->SetParent(&form);
  form.Show();
  plat::TCustomImageList* light = TreeUnitImages(tlLightCheck);
  const QImage xpBefore = TreeUnitImages(tlXP)->GetImage(9);
  const QColor window(0x20, 0x40, 0x60);
  const plat::TColor saved = plat::SetSystemColor(plat::COLOR_WINDOW, plat::FromQColor(window));
  // The window hears of it through the application's palette change.
  const QPalette palette = QApplication::palette();
  QPalette changed = palette;
  changed.setColor(QPalette::Base, window);
  QApplication::setPalette(changed);
  QApplication::processEvents();
  QApplication::setPalette(palette);
  const bool newWindowColour = HasColour(light->GetImage(9), window.rgb());
  const bool xpKept = TreeUnitImages(tlXP)->GetImage(9) == xpBefore;
  plat::TCustomImageList* lightAfter = TreeUnitImages(tlLightCheck);
  plat::SetSystemColor(plat::COLOR_WINDOW, saved);
  tree->Perform(plat::CM_SYSCOLORCHANGE);
  EXPECT_TRUE(newWindowColour) << "the unchecked box is filled with the new window colour";
  EXPECT_TRUE(xpKept);
  EXPECT_EQ(lightAfter, light);
  EXPECT_FALSE(HasColour(light->GetImage(9), window.rgb())) << "and back with the old colours";
}

}  // namespace
}  // namespace lazytree
