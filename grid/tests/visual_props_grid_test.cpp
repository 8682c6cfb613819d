// The string grid's looks saved to and loaded from the visual-properties file, and its own fonts following
// its form's scaling.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <memory>

#include "grid/extgrid.h"
#include "platform/forms/forms.h"
#include "platform/rtl/exceptions.h"

namespace grid {
namespace {

struct GridVisualPropsTest : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TExtStringGrid* a = new TExtStringGrid(form.get());
  TExtStringGrid* b = new TExtStringGrid(form.get());
  QTemporaryDir dir;

  static QStringList Lines(const QString& File) {
    QFile f(File);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << File.toStdString();
    return QString::fromLocal8Bit(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  }
  static void Write(const QString& File, const QStringList& Lines) {
    QFile f(File);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(Lines.join(QStringLiteral("\r\n")).toLocal8Bit());
  }
};

// Every key comes back: the second grid, loaded from the first one's file, writes the very same file.
TEST_F(GridVisualPropsTest, SavingAndLoadingRestoresEveryListedProperty) {
  // A look's preset would replace the colours read before it; the custom look is written empty and kept.
  a->SetLook(glCustom);
  a->SetColor(plat::RGB(1, 2, 3));
  a->HintColor = plat::clYellow;
  a->SetSelectionColor(plat::RGB(4, 5, 6));
  a->SetSelectionMirrorColorTo(plat::clRed);
  a->SetURLShow(true);
  a->SetActiveRowShow(true);
  a->SetActiveRowColor(plat::RGB(7, 8, 9));
  a->Font()->SetSize(13);
  a->FixedFont()->SetStyle(plat::TFontStyles().Include(plat::fsBold).Include(plat::fsItalic));
  a->FixedFont()->SetName(QStringLiteral("DejaVu Serif"));
  a->ActiveCellFont()->SetColor(plat::clGreen);
  a->Balloon()->Transparency = 40;
  a->Bands()->SetActive(true);
  a->Bands()->SetSecondaryColor(plat::RGB(10, 11, 12));
  a->SortSettings()->SetIndexColor(plat::clAqua);
  a->ControlLook()->SetCheckSize(19);
  a->ControlLook()->SetControlStyle(csFlat);
  a->ControlLook()->SetFixedGradientFrom(plat::RGB(20, 21, 22));
  a->ControlLook()->SetFixedGradientTo(plat::RGB(23, 24, 25));
  a->Grouping()->HeaderLineWidth = 5;
  a->Grouping()->SummaryLine = true;
  a->SetGridLineColor(plat::RGB(30, 31, 32));
  a->BackGround()->SetDisplay(bdGradientVert);
  a->BackGround()->SetLeft(-3);
  const QString first = dir.filePath("a.txt"), second = dir.filePath("b.txt");
  a->SaveVisualProps(first);
  const QStringList written = Lines(first);
  EXPECT_TRUE(written.contains("FixedFont.Style=fsBold,fsItalic"));
  EXPECT_TRUE(written.contains("Look="));
  EXPECT_TRUE(written.contains("ControlLook.ControlStyle=csFlat"));
  EXPECT_TRUE(written.first().startsWith("Color="));
  EXPECT_TRUE(written.last().startsWith("BackGround.ColorTo="));

  b->SetLook(glCustom);
  b->LoadVisualProps(first);
  EXPECT_EQ(b->Color(), plat::RGB(1, 2, 3));
  EXPECT_EQ(b->ControlLook()->FixedGradientFrom(), plat::RGB(20, 21, 22));
  EXPECT_EQ(b->ControlLook()->FixedGradientTo(), plat::RGB(23, 24, 25));
  EXPECT_EQ(b->FixedFont()->Name(), "DejaVu Serif");
  EXPECT_TRUE(b->FixedFont()->Style().Contains(plat::fsItalic));
  EXPECT_EQ(b->Font()->Size(), 13);
  EXPECT_EQ(b->Grouping()->HeaderLineWidth, 5);
  EXPECT_EQ(b->GridLineColor(), plat::RGB(30, 31, 32));
  EXPECT_EQ(b->BackGround()->Left(), -3);
  b->SaveVisualProps(second);
  const QStringList again = Lines(second);
  ASSERT_EQ(again.size(), written.size());
  for (qsizetype i = 0; i < written.size(); ++i) EXPECT_EQ(again[i], written[i]);
}

// The load stops at a missing integer; what came before it is applied, what follows is not.
TEST_F(GridVisualPropsTest, AMissingFontSizeFailsAfterTheColoursBeforeIt) {
  const QString file = dir.filePath("a.txt");
  a->SetColor(plat::RGB(1, 2, 3));
  a->SetActiveCellColor(plat::RGB(4, 5, 6));
  a->SaveVisualProps(file);
  QStringList lines = Lines(file);
  lines.removeIf([](const QString& l) { return l.startsWith("Font.Size="); });
  Write(file, lines);
  b->SetActiveCellColor(plat::clRed);
  EXPECT_THROW(b->LoadVisualProps(file), plat::EConvertError);
  EXPECT_EQ(b->Color(), plat::RGB(1, 2, 3));
  EXPECT_EQ(b->ActiveCellColor(), plat::clRed);
}

TEST_F(GridVisualPropsTest, FilesThatCannotBeMadeOrOpenedSaySo) {
  const QString missing = dir.filePath("none/looks.txt");
  try {
    a->LoadVisualProps(missing);
    ADD_FAILURE() << "loaded a missing file";
  } catch (const plat::Exception& e) {
    EXPECT_EQ(e.Message(), "Cannot open file " + missing);
  }
  try {
    a->SaveVisualProps(missing);
    ADD_FAILURE() << "saved into a missing folder";
  } catch (const plat::Exception& e) {
    EXPECT_EQ(e.Message(), "Cannot Create " + missing);
  }
}

TEST_F(GridVisualPropsTest, TheFixedAndActiveCellFontsFollowTheFormsScaling) {
  struct TCase {
    int M, D;
    bool Designing;
    int Fixed, Active;
  };
  const TCase cases[] = {{3, 2, false, 15, 12}, {2, 3, false, 7, 5}, {4, 4, false, 10, 8}, {3, 2, true, 10, 8}};
  for (const TCase& c : cases) {
    auto* g = new TExtStringGrid(form.get());
    g->FixedFont()->SetSize(10);
    g->ActiveCellFont()->SetSize(8);
    if (c.Designing) g->SetDesigning(true);
    g->ChangeScale(c.M, c.D);
    EXPECT_EQ(g->FixedFont()->Size(), c.Fixed) << c.M << "/" << c.D << (c.Designing ? " designing" : "");
    EXPECT_EQ(g->ActiveCellFont()->Size(), c.Active) << c.M << "/" << c.D;
  }
}

}  // namespace
}  // namespace grid
