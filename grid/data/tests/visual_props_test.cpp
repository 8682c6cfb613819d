#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "grid/data/visual_props.h"
#include "platform/rtl/exceptions.h"

namespace grid {
namespace {

TEST(VisualProps, ValuesReadBackAsWritten) {
  QTemporaryDir dir;
  const QString file = dir.filePath("looks.txt");
  TFontValues font;
  font.Color = plat::clNavy, font.Size = 11, font.Name = "DejaVu Sans";
  font.Style.Include(plat::fsBold).Include(plat::fsItalic);
  TVisualPropsWriter w;
  w.Color("Color", plat::clWindow);
  w.Color("SelectionColor", plat::RGB(1, 2, 3));
  w.Color("HintColor", plat::clNone);
  w.Bool("URLShow", true);
  w.Int("Balloon.Transparency", -7);
  w.Font("Font", font);
  w.Enum("Look", "glXP");
  w.SaveToFile(file);
  EXPECT_TRUE(w.Lines().contains("Font.Style=fsBold,fsItalic"));

  const TVisualPropsReader r(file);
  EXPECT_EQ(r.Color("color"), plat::clWindow);  // keys ignore letter case
  EXPECT_EQ(r.Color("SelectionColor"), plat::RGB(1, 2, 3));
  EXPECT_EQ(r.Color("HintColor"), plat::clNone);
  EXPECT_TRUE(r.Bool("URLShow"));
  EXPECT_EQ(r.Int("Balloon.Transparency"), -7);
  const TFontValues f = r.Font("Font");
  EXPECT_EQ(f.Color, plat::clNavy);
  EXPECT_EQ(f.Size, 11);
  EXPECT_EQ(f.Name, "DejaVu Sans");
  EXPECT_TRUE(f.Style.Contains(plat::fsBold) && f.Style.Contains(plat::fsItalic));
  EXPECT_FALSE(f.Style.Contains(plat::fsUnderline));
  int look = -1;
  EXPECT_TRUE(r.Enum("Look", {"glStandard", "glSoft", "glClassic", "glExt", "glXP"}, look));
  EXPECT_EQ(look, 4);
}

TEST(VisualProps, MissingKeysReadAsNothingExceptIntegers) {
  const TVisualPropsReader r(QStringList{"Color=", "Flag=TrUe", "Size=x"});
  EXPECT_EQ(r.Color("Color"), plat::clNone);
  EXPECT_EQ(r.Color("Absent"), plat::clNone);
  EXPECT_TRUE(r.Bool("Flag"));
  EXPECT_FALSE(r.Bool("Absent"));
  int e = 3;
  EXPECT_FALSE(r.Enum("Absent", {"a"}, e));
  EXPECT_EQ(e, 3);
  EXPECT_THROW(r.Int("Size"), plat::EConvertError);
  EXPECT_THROW(r.Int("Font.Size"), plat::EConvertError);
  EXPECT_THROW(r.Font("Font"), plat::EConvertError);
}

TEST(VisualProps, FilesThatCannotBeMadeOrReadSaySo) {
  try {
    TVisualPropsWriter().SaveToFile("/nonexistent-dir/looks.txt");
    ADD_FAILURE() << "no error";
  } catch (const plat::Exception& e) {
    EXPECT_EQ(e.Message(), "Cannot Create /nonexistent-dir/looks.txt");
  }
  EXPECT_THROW(TVisualPropsReader("/nonexistent-dir/looks.txt"), plat::Exception);
}

TEST(ValueTexts, BooleansStylesAndColours) {
  EXPECT_EQ(BoolYN(true), "Y");
  EXPECT_FALSE(YNBool("N"));
  plat::TFontStyles s;
  s.Include(plat::fsBold).Include(plat::fsStrikeOut);
  EXPECT_EQ(FontStyleBits(s), 9);
  EXPECT_EQ(FontStyleBits(BitsFontStyle(6)), 6);
  for (plat::TColor c : {plat::clRed, plat::clBtnFace, plat::RGB(10, 20, 30), plat::clDefault})
    EXPECT_EQ(TextToColor(ColorText(c)), c);
  EXPECT_THROW(TextToColor("notacolour"), plat::EConvertError);
}

}  // namespace
}  // namespace grid
