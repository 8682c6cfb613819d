// The colour picker on a real (virtual) X server: the open popup in each way of choosing, as the user sees it
// (saved as PNG files next to the test binary), and a pick made with the real pointer.
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <memory>

#include "dropdown/color_picker.h"
#include "dropdown/color_selector.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/forms.h"
#include "platform/graphics/color.h"

using namespace plat;

namespace dropdown {
namespace {

void Settle() {
  for (int i = 0; i < 20; ++i) {
    QApplication::processEvents();
    QTest::qWait(10);
  }
}

// The screen around the form and its popup.
void SaveScreen(const QString& name, const TForm& form) {
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, form.Left() - 10, form.Top() - 10, 420, 330);
  ASSERT_TRUE(shot.save(QStringLiteral(TEST_BINARY_DIR "/%1.png").arg(name)));
}

struct Screen {
  Screen() {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(60, 60, 400, 300);
    form->SetCaption(QStringLiteral("Colour picker"));
    drop = new TExtColorPickerDropDown(form.get());
    drop->SetParent(form.get());
    drop->SetBounds(90, 20, 180, 24);
    drop->SetLabelCaption(QStringLiteral("Colour:"));
    drop->SetLabelPosition(lpLeftCenter);
    drop->AddDefaultColors();
    drop->SetColorValueText(cvtHTML);
    form->Show();
    Settle();
  }
  void Open(TColorSelectionStyle style) const {
    drop->SetColorSelectionStyle(style);
    drop->ShowDropDown();
    Settle();
    ASSERT_TRUE(drop->DropDownForm()->Widget()->isVisible());
  }
  std::unique_ptr<TForm> form;
  TExtColorPickerDropDown* drop;
};

TEST(ColorPickerScreens, EachWayOfChoosing) {
  Screen s;
  s.drop->SetSelectedColor(0x008080);  // Olive
  s.Open(csList);
  s.drop->ItemSelector()->ItemSelectorPanel()->SetItemHot(9);
  Settle();
  SaveScreen(QStringLiteral("color_picker_list"), *s.form);
  s.drop->HideDropDown(true);

  s.drop->SetSelectedColor(0xDACEC2);
  s.Open(csDiscrete);
  s.drop->ColorSelector()->SetItemHot(25);
  Settle();
  SaveScreen(QStringLiteral("color_picker_palette"), *s.form);
  s.drop->HideDropDown(true);

  s.drop->SetSelectedColor(clWhite);
  s.Open(csColorCube);
  TExtColorCubePanel& cube = *s.drop->CubePanel();
  const TPoint hot = cube.CellCenter(40);
  QTest::mouseMove(cube.Widget(), QPoint(hot.X, hot.Y));
  Settle();
  SaveScreen(QStringLiteral("color_picker_cube"), *s.form);
  // The honeycomb enlarged: hexagons, the hot frame (red and white) and the selected one (black and white).
  const QImage honeycomb = cube.Widget()->grab().toImage();
  ASSERT_TRUE(honeycomb.scaled(honeycomb.size() * 3).save(QStringLiteral(TEST_BINARY_DIR "/color_picker_cube_zoom.png")));
  s.drop->HideDropDown(true);

  s.drop->SetSelectedColor(0x3399FF);
  s.Open(csSpectrum);
  QTest::mouseMove(s.drop->SpectrumPanel()->SpectrumImage()->Widget(), QPoint(100, 40));
  Settle();
  SaveScreen(QStringLiteral("color_picker_spectrum"), *s.form);
  s.drop->HideDropDown(true);

  // The eyedropper, enlarged.
  const QImage pointer = TExtColorSpectrumPanel::PointerImage();
  QImage shown(32, 32, QImage::Format_RGB32);
  shown.fill(QColor(0x40, 0x80, 0xC0));
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      if (qAlpha(pointer.pixel(x, y))) shown.setPixel(x, y, pointer.pixel(x, y));
  ASSERT_TRUE(shown.scaled(256, 256).save(QStringLiteral(TEST_BINARY_DIR "/color_picker_pointer.png")));

  // The edit after choosing: the colour box and its text.
  Settle();
  SaveScreen(QStringLiteral("color_picker_edit"), *s.form);
}

TEST(ColorPickerScreens, PickingFromTheCubeWithThePointer) {
  Screen s;
  s.Open(csColorCube);
  TExtColorCubePanel& cube = *s.drop->CubePanel();
  const TPoint c = cube.CellCenter(64);
  QTest::mouseClick(cube.Widget(), Qt::LeftButton, {}, QPoint(c.X, c.Y));
  Settle();
  EXPECT_FALSE(s.drop->DropDownForm()->Widget()->isVisible());
  EXPECT_EQ(s.drop->SelectedColor(), clWhite);
  EXPECT_EQ(s.drop->SelectedColorText(), QStringLiteral("#FFFFFF"));
}

}  // namespace
}  // namespace dropdown
