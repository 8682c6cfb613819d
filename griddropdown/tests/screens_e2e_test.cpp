// Each drop-down editor opened in its cell on a real (virtual) X server, with its drop-down open: the editor
// covers the cell and the drop-down hangs below it. The pictures go to GRID_DROPDOWN_SHOTS when set, else next
// to the test binary, to be looked at.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include "griddropdown/tests/dropdown_fixture.h"
#include "platform/graphics/imagelist.h"

namespace grid {
namespace {

void Settle() {
  for (int i = 0; i < 20; ++i) {
    QApplication::processEvents();
    QTest::qWait(10);
  }
}

QString ShotPath(const QString& Name) {
  const QString dir = qEnvironmentVariable("GRID_DROPDOWN_SHOTS", QStringLiteral(TEST_BINARY_DIR));
  QDir().mkpath(dir);
  return dir + QStringLiteral("/") + Name + QStringLiteral(".png");
}

struct Screens : dropdowntest::DropDownFixture {
  plat::TImageList* images = new plat::TImageList(form.get());

  Screens() {
    form->SetBounds(40, 40, 480, 330);
    g->SetColCount(3);
    g->SetDefaultColWidth(150);
    g->SetColWidths(0, 60);
    g->SetCells(1, 0, "Setting");
    g->SetCells(2, 0, "Note");
    for (int r = 1; r < g->RowCount(); ++r) g->SetCells(0, r, QString::number(r));
    g->SetCells(2, 1, "beside the editor");
    for (plat::TColor c : {plat::clRed, plat::clGreen, plat::clBlue, plat::clYellow}) {
      QImage img(images->Width(), images->Height(), QImage::Format_ARGB32);
      img.fill(plat::ToQColor(c));
      images->AddImage(img);
    }
    g->SetGridImages(images);
    TGridDetailPickerDropDown* detail = DetailPickerDropDown(*g);
    for (const char* c : {"Wired meter", "Radio meter", "Pulse counter"}) detail->Items()->Add()->SetCaption(c);
    for (TGridGridDropDown* d : {GridDropDown(*g)}) {
      d->Columns()->Add()->SetHeader("Code");
      d->Columns()->Add()->SetHeader("Medium");
      for (const QStringList& row : {QStringList{"04", "Heat"}, QStringList{"07", "Water"}, QStringList{"02", "Electricity"}}) {
        auto* item = d->Items()->Add();
        for (const QString& s : row) item->Text()->Add(s);
      }
    }
    TGridExtGridDropDown* ext = ExtGridDropDown(*g);
    ext->Columns()->Add()->SetHeader("Code");
    ext->Columns()->Add()->SetHeader("Medium");
    for (const QStringList& row : {QStringList{"04", "Heat"}, QStringList{"07", "Water"}, QStringList{"02", "Electricity"}}) {
      auto* item = ext->Items()->Add();
      for (const QString& s : row) item->Text()->Add(s);
    }
  }
};

TEST_F(Screens, EachEditorOpensInItsCellWithItsDropDownBelow) {
  struct Shot {
    const char* name;
    TEditorType kind;
    QString text;
    int row = 1;
  } shots[] = {
      {"trackbar_dropdown_cell", edTrackbarDropDown, "6"},
      {"memo_dropdown_cell", edMemoDropDown, "first line\r\nsecond line"},
      {"calculator_dropdown_cell", edCalculatorDropDown, "12.5"},
      {"timepicker_dropdown_cell", edTimePickerDropDown, "10:15:00"},
      {"detail_dropdown_cell", edDetailDropDown, "Radio meter"},
      {"multicolumn_dropdown_cell", edGridDropDown, "07"},
      {"grid_dropdown_cell", edExtGridDropDown, "07"},
      {"color_dropdown_cell", edColorPickerDropDown, ""},
      {"image_dropdown_cell", edImagePickerDropDown, "2", 2},
  };
  // The image picker's cell shows an image of the grid's list by its number.
  g->SetCells(1, 2, "2");
  g->CellObjects().AddDataImage(1, 2, 2, haLeft, vaTop);
  g->SetColors(1, 1, plat::clSkyBlue);
  Settle();
  for (const Shot& s : shots) {
    SCOPED_TRACE(s.name);
    OpenWith(s.kind, 1, s.row, s.text);
    Settle();
    ASSERT_TRUE(EditorOpen());
    dropdown::TExtCustomDropDown* ed = Editor();
    const plat::TRect cell = g->CellRect(1, s.row);
    EXPECT_EQ(ed->Left(), cell.Left);
    EXPECT_EQ(ed->Top(), cell.Top);
    Key(Qt::Key_Down, Qt::AltModifier);
    Settle();
    ASSERT_TRUE(ed->DroppedDown());
    QWidget* popup = ed->DropDownForm()->Widget();
    ASSERT_TRUE(popup->isVisible());
    // The drop-down hangs from the editor's bottom edge.
    const QPoint editorBottom = ed->Widget()->mapToGlobal(QPoint(0, ed->Height()));
    EXPECT_LE(std::abs(popup->geometry().top() - editorBottom.y()), 2);
    const QRect area = form->Widget()->frameGeometry().united(popup->frameGeometry()).adjusted(-8, -8, 8, 8);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    EXPECT_TRUE(shot.save(ShotPath(QString::fromLatin1(s.name))));
    ed->HideDropDown(true);
    Key(Qt::Key_Escape);
    Settle();
    EXPECT_FALSE(g->EditMode());
  }
}

}  // namespace
}  // namespace grid
