// The preview: pages drawn into a canvas rectangle, and the preview window showing the printed pages.
#include <gtest/gtest.h>

#include <QImage>
#include <QPrintPreviewWidget>

#include "grid/print/print_preview.h"
#include "platform/testing/pixels.h"
#include "print_fixture.h"

using namespace grid;
using grid::testing::TPrintFixture;

namespace {

TEST(PrintPreview, DrawsTheChosenPageIntoTheDisplayRectangleOnly) {
  TPrintFixture f(3, 200);
  f.Settings.PageNr = ppBottomCenter;
  QImage img(500, 700, QImage::Format_RGB32);
  img.fill(Qt::white);
  plat::TCanvas canvas(&img);
  const plat::TRect display(50, 40, 450, 640);
  f.Printer.SetPreviewPage(2);
  f.Printer.PrintPreview(canvas, display);
  canvas.EndPainting();
  EXPECT_GT(f.Printer.PrintNrOfPages(), 2);
  EXPECT_FALSE(f.Printer.IsPrintPreview()) << "only while drawing";
  EXPECT_EQ(canvas.MapMode(), plat::MM_TEXT) << "the canvas's mapping comes back";
  const plat::TRect ink = plat::testing::BoundingBoxExcept(img, plat::clWhite);
  EXPECT_GE(ink.Left, display.Left);
  EXPECT_GE(ink.Top, display.Top);
  EXPECT_LE(ink.Right, display.Right);
  EXPECT_LE(ink.Bottom, display.Bottom);
  ASSERT_FALSE(f.Printer.Pages().empty());
  EXPECT_EQ(f.Printer.Pages().size(), size_t(f.Printer.PrintNrOfPages())) << "every page laid out";
  img.save(QStringLiteral(TEST_BINARY_DIR "/preview_canvas.png"));
}

TEST(PrintPreview, TheWindowShowsAsManyPagesAsThePrintHas) {
  TPrintFixture f(4, 150, 0, 1);
  f.Settings.RepeatFixedRows = true;
  f.Settings.PageNr = ppBottomRight;
  f.Settings.Title = ppTopCenter;
  f.Settings.TitleText = QStringLiteral("Meter list");
  QPrintPreviewWidget* preview = CreatePrintPreview(f.Printer, nullptr);
  preview->resize(700, 900);
  preview->show();
  preview->updatePreview();
  EXPECT_EQ(preview->pageCount(), f.Printer.PrintNrOfPages());
  EXPECT_GE(preview->pageCount(), 2);
  preview->grab().save(QStringLiteral(TEST_BINARY_DIR "/preview_window.png"));
  delete preview;
}

}  // namespace
