// The grid's shared classes that need controls or drawing, and the option objects with fonts and bitmaps.
#include "grid/extobj.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "grid/view/options_look.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/themes.h"
#include "platform/rtl/exceptions.h"
#include "platform/testing/pixels.h"

namespace grid {
namespace {

using plat::TRect;
using plat::testing::ExpectRectFilled;
using plat::testing::PixelAt;

TEST(DrawGradientSteps, BandsBorderAndTheZeroStepCase) {
  plat::TBitmap bmp(40, 20);
  plat::TCanvas* c = bmp.Canvas();
  DrawGradientSteps(*c, plat::clRed, plat::clBlue, plat::clNone, 0, TRect(0, 0, 40, 10), true);
  DrawGradientSteps(*c, plat::clBlack, plat::clWhite, plat::clLime, 2, TRect(0, 10, 40, 20), false);
  c->EndPainting();
  const QImage& img = bmp.Image();
  EXPECT_TRUE(ExpectRectFilled(img, TRect(0, 0, 40, 10), plat::clRed));  // one band in FromColor
  // Two bands of 5 rows: black, then half way (128, half even of 127.5), framed in lime.
  EXPECT_TRUE(ExpectRectFilled(img, TRect(1, 11, 39, 15), plat::clBlack));
  EXPECT_TRUE(ExpectRectFilled(img, TRect(1, 15, 39, 19), plat::RGB(128, 128, 128)));
  EXPECT_EQ(PixelAt(img, 0, 15), plat::clLime);
  EXPECT_EQ(PixelAt(img, 39, 19), plat::clLime);
}

TEST(ControlList, FindsAndRemovesItemsButNotControls) {
  plat::TForm form(nullptr);
  auto* edit = new plat::TEdit(&form);
  edit->SetParent(&form);
  TControlList list;
  list.AddControl(2, 3, edit);
  list.AddControl(4, 1, nullptr);
  EXPECT_EQ(list.ControlIndex(4, 1), 1);
  EXPECT_EQ(list.ControlIndex(3, 2), -1);
  EXPECT_TRUE(list.HasHandle(quintptr(edit->Handle())));
  EXPECT_FALSE(list.HasHandle(quintptr(edit->Handle()) + 999));
  list.RemoveControl(0);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.GetControl(0)->X, 4);
  EXPECT_THROW(list.GetControl(1), plat::EListError);
  EXPECT_EQ(edit->Parent(), &form);  // the control lives on
}

TEST(FilePicture, MeasuresOnLoadAndKeepsTheSizeOnAFailedLoad) {
  QTemporaryDir dir;
  const QString file = dir.filePath("p.png");
  QImage img(7, 5, QImage::Format_RGB32);
  img.fill(Qt::red);
  ASSERT_TRUE(img.save(file));
  TFilePicture pic;
  pic.SetFilename(file);
  EXPECT_EQ(pic.Width(), 7);
  EXPECT_EQ(pic.Height(), 5);
  EXPECT_ANY_THROW(pic.SetFilename(dir.filePath("missing.png")));
  EXPECT_EQ(pic.Width(), 7);
  TFilePicture copy;
  copy.Assign(&pic);
  EXPECT_EQ(copy.Height(), 5);
  plat::TBitmap bmp(14, 10);
  pic.SetFilename(file);
  pic.DrawPicture(*bmp.Canvas(), TRect(0, 0, 14, 10));
  bmp.Canvas()->EndPainting();
  EXPECT_TRUE(ExpectRectFilled(bmp.Image(), TRect(0, 0, 14, 10), plat::clRed));
}

TEST(SystemFacts, ColourSchemeFromTheThemeName) {
  struct Case {
    const char* name;
    bool themes;
    TXPColorScheme expect;
  };
  const Case cases[] = {{"NormalColor", true, xpBlue}, {"HomeStead", true, xpGreen}, {"Metallic", true, xpGray},
                        {"Aero", true, xpNone}, {"NormalColor", false, xpNone}};
  for (const Case& k : cases) {
    plat::TPlatformFactsScope scope;
    plat::PlatformFacts().ColorSchemeName = k.name;
    plat::PlatformFacts().ThemesActive = k.themes;
    EXPECT_EQ(CurrentXPColorScheme(), k.expect) << k.name;
    EXPECT_EQ(IsThemedComCtl(), k.themes);
  }
  plat::TPlatformFactsScope scope;
  plat::PlatformFacts().WindowsXPOrLater = false;
  EXPECT_FALSE(IsThemedComCtl());
  EXPECT_EQ(CurrentXPColorScheme(), xpNone);
}

TEST(ControlLook, GradientColoursReachTheGridAsTheirRoleSays) {
  plat::TComponent owner(nullptr);
  TControlLook look(&owner);
  std::vector<std::pair<TFixedGradientRole, plat::TColor>> copies;
  look.OnGradientCopy = [&](TFixedGradientRole r, plat::TColor c) { copies.emplace_back(r, c); };
  look.SetFixedGradientFrom(plat::clNone);        // stored, not copied
  look.SetFixedGradientMirrorFrom(plat::clNone);  // mirror colours are always copied
  look.SetFixedGradientHoverBorder(plat::clRed);
  EXPECT_EQ(look.FixedGradientFrom(), plat::clNone);
  EXPECT_EQ(copies, (std::vector<std::pair<TFixedGradientRole, plat::TColor>>{{fgMirrorFrom, plat::clNone},
                                                                              {fgHoverBorder, plat::clRed}}));
  look.SetFixedGradientFrom(plat::clRed);
  look.SetFixedGradientTo(plat::clBlue);
  TControlLook other(&owner);
  other.OnGradientCopy = [&](TFixedGradientRole, plat::TColor) { FAIL() << "Assign copies into the grid"; };
  other.Assign(&look);
  EXPECT_EQ(other.FixedGradientFrom(), plat::clRed);
  EXPECT_EQ(other.FixedGradientTo(), plat::clBlue);
  other.SetColor(plat::clGreen);
  other.Init();
  EXPECT_EQ(other.FixedGradientFrom(), plat::clNone);
  EXPECT_EQ(other.FixedGradientDownTo(), plat::clSilver);
  EXPECT_EQ(other.Color(), plat::clBlack);
  int invalidates = 0;
  other.OnInvalidate = [&](plat::TObject*) { ++invalidates; };
  other.SetCheckSize(15);  // the same value still invalidates
  other.DropDownCount = 3;  // a plain field
  EXPECT_EQ(invalidates, 1);
}

TEST(SearchFooter, DesignTimeTextsAndNotifications) {
  TSearchFooter runtime(nullptr, false);
  EXPECT_EQ(runtime.FindNextCaption(), "");
  TSearchFooter designed(nullptr, true);
  EXPECT_EQ(designed.FindNextCaption(), "Find &next");
  EXPECT_EQ(designed.HintHighlight(), "Highlight occurrences");
  int changes = 0;
  designed.OnChange = [&](plat::TObject*) { ++changes; };
  designed.SetVisible(false);  // unchanged: no notice
  designed.SetColor(plat::clWhite);  // always notifies
  designed.SetShowClose(true);
  designed.SetShowFindNext(false);
  EXPECT_EQ(changes, 3);
  designed.AutoSearch = false;
  designed.SearchColumn = 4;
  TSearchFooter copy(nullptr, false);
  copy.Assign(&designed);
  EXPECT_TRUE(copy.AutoSearch);
  EXPECT_EQ(copy.SearchColumn, 4);
  EXPECT_EQ(copy.FindPrevCaption(), "Find &previous");
}

TEST(PrintSettings, AssignTakesOnlyPrintSettings) {
  TPrintSettings a(nullptr), b(nullptr);
  a.TitleLines()->Add("title");
  a.Font()->SetSize(14);
  a.FixedCellsAlways = true;
  a.PageNumSep = "-";
  b.Assign(&a);
  EXPECT_EQ(b.TitleLines()->Strings(0), "title");
  EXPECT_EQ(b.Font()->Size(), 14);
  EXPECT_EQ(b.PageNumSep, "-");
  EXPECT_FALSE(b.FixedCellsAlways);
  TGrouping other;
  EXPECT_THROW(b.Assign(&other), plat::EInvalidCast);
}

TEST(CellNodeAndBackGround, ChangesRepaintOrInvalidate) {
  TCellNode node(nullptr);
  int repaints = 0;
  node.OnRepaint = [&](plat::TObject*) { ++repaints; };
  node.SetNodeIndent(12);  // unchanged
  node.SetNodeType(cnFlat);
  node.Color = plat::clRed;  // plain
  EXPECT_EQ(repaints, 1);
  TBackGround bg(nullptr);
  int invalidates = 0;
  bg.OnInvalidate = [&](plat::TObject*) { ++invalidates; };
  bg.SetLeft(0);
  bg.SetDisplay(bdFixed);
  EXPECT_EQ(invalidates, 2);
}

}  // namespace
}  // namespace grid
