// Screenshots of the string grid with every kind of cell under each look, one image per look (and one each for
// colour tones and a component style), written to $SHOTS_DIR or else beside the test program.
#include <QImage>
#include <QPainter>

#include "grid/extgrid.h"
#include "grid/view/tests/render_fixture.h"
#include "platform/graphics/imagelist.h"

namespace grid {
namespace {

using plat::TColor;

QString ShotPath(const QString& Name) {
  const QByteArray dir = qgetenv("SHOTS_DIR");
  return (dir.isEmpty() ? QString(TEST_BINARY_DIR) : QString::fromLocal8Bit(dir)) + "/gridrender_" + Name + ".png";
}

// A small coloured square with a dark frame: the images of the image list.
QImage Swatch(QColor Fill) {
  QImage img(16, 16, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  p.setPen(QColor(40, 40, 40));
  p.setBrush(Fill);
  p.drawRect(2, 2, 11, 11);
  return img;
}

struct GridShots : TShownGrid<TExtStringGrid> {
  plat::TCustomImageList images{nullptr, 16, 16};
  plat::TBitmap glyph{16, 16};

  void Fill() {
    form->SetBounds(0, 0, 780, 490);
    g->SetBounds(0, 0, 760, 470);
    g->SetColCount(8);
    g->SetRowCount(16);
    g->SetDefaultRowHeight(26);
    g->SetColWidths(0, 90);
    for (int c = 1; c < 8; ++c) g->SetColWidths(c, 95);
    for (QColor c : {QColor(220, 60, 60), QColor(60, 160, 60), QColor(60, 90, 210)}) images.AddImage(Swatch(c));
    g->SetGridImages(&images);
    glyph.SetImage(Swatch(QColor(240, 180, 40)));
    const char* heads[] = {"Nodes", "Text", "Checks", "Radio", "Images", "Gauges", "Buttons", "More"};
    for (int c = 0; c < 8; ++c) g->SetCells(c, 0, heads[c]);
    for (int r = 1; r < 16; ++r) g->SetCells(1, r, QStringLiteral("row %1 text").arg(r));
    // Text kinds.
    g->SetCells(1, 2, "<b>bold</b> and <i>italic</i>");
    g->SetCells(1, 3, "<font color=\"clRed\">red</font> html");
    g->SetCells(1, 4, "{\\rtf1 rich \\b bold\\b0  text}");
    g->SetCells(1, 5, "3.14159");
    g->SetCells(1, 6, "https://example.invalid");
    g->RenderSettings().URLShow = true;
    g->SetCells(1, 7, "a long text that wraps over two lines in its cell");
    g->SetRowHeights(7, 36);
    g->SetCells(1, 8, "a mistakke");
    g->CellObjects().AddMarker(1, 8, 2, 8);
    g->OnGetFloatFormat = [](plat::TObject*, int ACol, int ARow, bool&, QString& F) {
      if (ACol == 1 && ARow == 5) F = "%.2f";
    };
    // Check boxes and radio buttons.
    g->AddCheckBox(2, 1, true, false);
    g->SetCells(2, 1, "checked");
    g->AddCheckBox(2, 2, false, false);
    g->SetCells(2, 2, "unchecked");
    g->AddCheckBox(2, 3, plat::cbGrayed);
    g->AddCheckBox(2, 4, true, true);
    g->SetCells(2, 4, "Y");
    g->AddRadioButton(2, 5, true);
    g->AddRadioButton(2, 6, false);
    plat::TStrings* items = g->CellChecks().CreateRadio(3, 1, 0, 1);
    for (const char* s : {"one", "two", "three"}) items->Add(s);
    g->SetRowHeights(1, 52);
    plat::TStrings* across = g->CellChecks().CreateRadio(3, 2, 1, 0);
    for (const char* s : {"a", "b"}) across->Add(s);
    g->CellObjects().AddRating(3, 3, 5, Hex(0xFFC000), Hex(0xD0D0D0));
    g->SetCells(3, 3, "3.5");
    g->CellObjects().AddShape(3, 4, csStar, Hex(0x33AA33), plat::clBlack, haCenter, vaCenter);
    g->CellObjects().AddRotated(3, 5, 20, "turned");
    g->CellObjects().AddComment(3, 6, "a comment");
    g->SetCells(3, 6, "commented");
    // Images.
    g->AddImageIdx(4, 1, 0, haBeforeText, vaCenter);
    g->SetCells(4, 1, "listed");
    g->CellObjects().AddDataImage(4, 2, 0, haCenter, vaCenter);
    g->SetCells(4, 2, "2");
    TIntList* list = g->CellObjects().AddMultiImage(4, 3, 0, haLeft, vaCenter);
    for (int i : {0, 1, 2}) list->Add(i);
    g->CellObjects().AddBitmap(4, 4, &glyph, true, haRight, vaCenter);
    g->SetCells(4, 4, "bitmap");
    // Gauges.
    g->CellObjects().AddProgressFormatted(5, 1, Hex(0x2E8B57), plat::clWhite, plat::clWhite, plat::clBlack,
                                         "%.0f%%", 0, 100);
    g->SetCells(5, 1, "65");
    g->CellObjects().AddExtProgress(5, 2, 0, 100);
    g->SetCells(5, 2, "80");
    g->CellObjects().AddProgressPie(5, 3, Hex(0x3366CC), 30);
    g->CellObjects().AddRangeIndicator(5, 4, 100, plat::clRed, plat::clGreen, true);
    g->SetCells(5, 4, "-40");
    g->CellObjects().AddScrollBar(5, 5, false);
    g->CellObjects().SetScrollProp(5, 5, TScrollProp{2, 10});
    g->CellObjects().SetScrollPosition(5, 5, 2);
    g->SetCells(5, 5, "line 1\nline 2\nline 3\nline 4");
    // Buttons.
    g->CellObjects().AddButton(6, 1, 70, 20, "Push", haCenter, vaCenter);
    g->CellObjects().AddBitButton(6, 2, 70, 20, "Glyph", &glyph, haCenter, vaCenter);
    g->CellObjects().AddButton(6, 3, 70, 20, "Down", haCenter, vaCenter);
    g->CellObjects().PushButton(6, 3, true);
    g->SetCells(7, 1, "expand");
    g->AddExpand(7, 1, 40);
    g->SetCells(7, 2, "password");
    g->OnIsPasswordCell = [](plat::TObject*, int ARow, int ACol, bool& P) { P = ACol == 7 && ARow == 2; };
    g->SetCells(7, 3, "=formula");
    // Nodes in column 0, a modified row, the sort and filter glyphs, a selection with its frame and handle.
    g->AddNode(9, 4);
    g->SetCells(0, 9, "group");
    g->AddNode(11, 2);
    g->SetCells(0, 11, "sub");
    g->ShowModified()->Enabled = true;
    g->SetRowModified(13, true);
    g->SortSettings()->SetShow(true);
    g->SortSettings()->SetColumn(1);
    g->FilterDropDownAuto = true;
    g->SetSelectionRectangle(true);
    g->SetSelectionResizer(true);
    g->SetOptions(g->Options() + plat::TGridOptions{plat::goRangeSelect});
    g->SetSelection(plat::TGridRect{6, 12, 7, 14});
    g->SetActiveCellShow(true);
  }
};

TEST_F(GridShots, EveryCellKindUnderEachLook) {
  Fill();
  const struct { TGridLook look; const char* name; TControlStyle style; } looks[] = {
      {glStandard, "standard", csClassic}, {glSoft, "soft", csFlat},         {glClassic, "classic", csTervane},
      {glExt, "ext", csExt},               {glXP, "xp", csWinXP},            {glListView, "listview", csTheme},
      {glVista, "vista", csTheme},         {glWin7, "win7", csWinXP},        {glOffice2007, "office2007", csExt},
  };
  for (const auto& l : looks) {
    g->SetLook(l.look);
    g->ControlLook()->SetControlStyle(l.style);
    const QImage img = Paint();
    EXPECT_TRUE(img.save(ShotPath(l.name))) << l.name;
  }
  g->SetComponentStyle(controls::tsOffice2010Blue);
  EXPECT_TRUE(Paint().save(ShotPath("office2010")));
  controls::TColorTones tones;
  tones.Background = {Hex(0xFFFFFF), Hex(0xC8C8C8), Hex(0x222222)};
  tones.Foreground = {Hex(0x2B579A), Hex(0x2B579A), Hex(0xFFFFFF)};
  tones.Selected = {Hex(0xCDE6F7), Hex(0x92C0E0), Hex(0x000000)};
  tones.Hover = {Hex(0xE6F2FA), Hex(0xE6F2FA), Hex(0x000000)};
  tones.Disabled = {Hex(0xF0F0F0), Hex(0xD0D0D0), Hex(0x808080)};
  g->SetColorTones(tones);
  EXPECT_TRUE(Paint().save(ShotPath("tones")));
}

}  // namespace
}  // namespace grid
