// The string grid's side of painting: its events and virtuals reach the painted cells, looks and tones set
// the grid's own flat, border and scroll-bar properties, the soft
// focus frame, the designer's quick-configuration panel and the office theme.
#include <QImage>

#include <set>

#include "controls/theme_services.h"
#include "grid/extgrid.h"
#include "grid/view/side_windows.h"
#include "grid/view/tests/render_fixture.h"
#include "platform/forms/menus.h"
#include "platform/forms/messages.h"
#include "platform/graphics/drawtext.h"

namespace grid {
namespace {

using plat::TColor;
using plat::TRect;
using plat::TraceKind;
using plat::testing::PixelAt;

struct ExtGridRender : TShownGrid<TExtStringGrid> {
  ExtGridRender() {
    for (int c = 1; c < 6; ++c) g->SetCells(c, 0, QStringLiteral("Head %1").arg(c));
  }
};

TEST_F(ExtGridRender, TheGridsEventsReachThePaintedCells) {
  int gradients = 0, painted = 0;
  g->OnGetCellGradient = [&](plat::TObject*, int ARow, int ACol, TColor& Color, TColor&, TColor&, TColor&,
                             TCellGradientDirection&) {
    ++gradients;
    if (ACol == 2 && ARow == 3) Color = TColor(0x00C0FF);
  };
  g->OnGetCellBorder = [](plat::TObject*, int ARow, int ACol, plat::TPen*, TCellBorders& B) {
    if (ACol == 3 && ARow == 4) B = TCellBorders{cbTop, cbBottom};
  };
  g->OnGetCellBorderProp = [](plat::TObject*, int, int, TColor&, TColor& Top, TColor&, TColor& Bottom) {
    Top = TColor(0x0000FF);
    Bottom = TColor(0x00FF00);
  };
  g->OnGetFloatFormat = [](plat::TObject*, int ACol, int, bool&, QString& F) { if (ACol == 4) F = "%.2f"; };
  g->OnGetAlignment = [](plat::TObject*, int, int ACol, plat::TAlignment& HA, TVAlignment&) {
    if (ACol == 4) HA = plat::taRightJustify;
  };
  g->OnPainted = [&](plat::TObject*) { ++painted; };
  g->SetCells(4, 5, QStringLiteral("3.14159"));
  plat::TRecordingTracer t;
  const QImage img = Paint(&t);
  EXPECT_GT(gradients, 0);
  EXPECT_EQ(painted, 1);
  const TRect cell = g->CellRect(2, 3);
  EXPECT_EQ(PixelAt(img, cell.Left + 20, cell.Top + 10), TColor(0x00C0FF));
  std::set<TColor> sides;
  for (const auto& l : t.OfKind(TraceKind::Line)) sides.insert(l.PenColor);
  EXPECT_TRUE(sides.count(TColor(0x0000FF)) && sides.count(TColor(0x00FF00)));
  bool formatted = false;
  for (const auto& r : In(t, TraceKind::DrawText, g->CellRect(4, 5)))
    if (r.Text == "3.14" && (r.Flags & plat::DT_RIGHT)) formatted = true;
  EXPECT_TRUE(formatted);
}

// A range indicator grows left of the middle in its negative colour and right of it in its positive one.
TEST_F(ExtGridRender, RangeIndicatorsTakeTheirColourBySign) {
  g->CellObjects().AddRangeIndicator(2, 3, 100, plat::clRed, plat::clGreen, false);
  g->CellObjects().AddRangeIndicator(2, 4, 100, plat::clRed, plat::clGreen, false);
  g->SetCells(2, 3, "-50");
  g->SetCells(2, 4, "50");
  const QImage img = Paint();
  const TRect neg = g->CellRect(2, 3), pos = g->CellRect(2, 4);
  const int mid = neg.Left + neg.Width() / 2;
  EXPECT_EQ(PixelAt(img, mid - 10, neg.Top + 12), plat::clRed);
  EXPECT_NE(PixelAt(img, mid + 10, neg.Top + 12), plat::clGreen);
  EXPECT_EQ(PixelAt(img, mid + 10, pos.Top + 12), plat::clGreen);
}

// Properties made for a fixed cell (a node, an image) keep the fixed cells' font colour.
TEST_F(ExtGridRender, FixedCellsWithPropertiesKeepTheFixedFont) {
  g->FixedFont()->SetColor(TColor(0x0000C0));
  g->SetCells(0, 4, "node");
  g->AddNode(4, 2);
  g->SetCells(0, 6, "plain");
  const plat::TRecordingTracer t = Trace();
  for (const char* text : {"node", "plain"}) {
    bool drawn = false;
    for (const auto& r : t.OfKind(TraceKind::DrawText))
      if (r.Text == text) {
        drawn = true;
        EXPECT_EQ(r.FontColor, TColor(0x0000C0)) << text;
      }
    EXPECT_TRUE(drawn) << text;
  }
}

TEST_F(ExtGridRender, LooksAndTonesSetTheGridsFlatBorderAndScrollBars) {
  controls::TColorTones tones;
  tones.Background = {plat::clWhite, plat::clGray, plat::clBlack};
  tones.Foreground = {TColor(0xE0E0E0), plat::clGray, plat::clBlack};
  tones.Selected = {TColor(0xC08040), plat::clGray, plat::clWhite};
  g->SetColorTones(tones);
  EXPECT_TRUE(g->Flat());
  EXPECT_EQ(g->ScrollType, ssMetro);
  EXPECT_EQ(g->BorderStyle(), plat::bsNone);
  EXPECT_EQ(g->FloatingFooter()->Color(), TColor(0xE0E0E0));
  g->SetComponentStyle(controls::tsOffice2007Luna);
  EXPECT_EQ(g->ScrollType, ssNormal);
  g->SetLook(glXP);
  EXPECT_EQ(g->BorderStyle(), plat::bsSingle);
  // The grid's own writers reach what painting reads.
  g->SetFlat(false);
  g->SetBorderColor(TColor(0x123456));
  EXPECT_FALSE(g->RenderSettings().Colors.Flat);
  EXPECT_EQ(g->RenderSettings().Colors.BorderColor, TColor(0x123456));
  g->SetScrollType(ssMetro);
  g->SetComponentStyle(controls::tsWindowsXP);
  EXPECT_EQ(g->ScrollType, ssNormal);
}

TEST_F(ExtGridRender, TheFocusFrameSurroundsTheCellAndFollowsIt) {
  g->SetCol(2);
  g->SetRow(3);
  const TRect cell = g->CellRect(2, 3);
  g->ShowFocusWindow(cell);
  TGridFocusWindow* w = g->FocusWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->Visible());
  EXPECT_EQ(TExtStringGrid::FocusFrameOwner(), g);
  EXPECT_EQ(TRect(w->Left(), w->Top(), w->Left() + w->Width(), w->Top() + w->Height()),
            TRect(cell.Left - 4, cell.Top - 4, cell.Left + cell.Width() + 5, cell.Top + cell.Height() + 5));
  // The frame is translucent blue over the grid; the cell inside stays the grid's.
  form->Repaint();
  const QImage shot = form->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const TColor ring = PixelAt(shot, cell.Left - 1, cell.Top + cell.Height() / 2);
  EXPECT_GT(int((ring >> 16) & 0xFF), int(ring & 0xFF));  // more blue than red
  EXPECT_EQ(PixelAt(shot, cell.Left + cell.Width() / 2, cell.Top + cell.Height() / 2), g->SelectionColor());
  g->SetCol(3);
  g->MoveFocusWindow();
  EXPECT_EQ(w->Left(), g->CellRect(3, g->Row()).Left - 4);
  g->HideFocusWindow();
  EXPECT_FALSE(w->Visible());
  EXPECT_EQ(TExtStringGrid::FocusFrameOwner(), nullptr);
}

TEST_F(ExtGridRender, TheDesignersPanelTogglesEditingColumnNumbersAndTheLook) {
  EXPECT_EQ(g->DesignHelperHitTest(480, 270), -1);  // at run time nothing shows and nothing is hit...
  g->DesignHelperClick(480, 270);
  g->SetDesigning(true);
  const TRect r = g->DesignHelperRect();
  const int h = (r.Height() - 18) / 4, hh = h + 2, top = r.Top;
  const struct { int x, y, hit; } points[] = {
      {r.Right - 8, top + 8, 4},           {r.Left + 10, top + hh + 4 + hh / 2, 1},
      {r.Left + 10, top + 2 * hh + 4 + hh / 2, 2}, {r.Left + 10, top + 3 * hh + 4 + hh / 2, 3},
      {r.Left - 10, top + 8, -1},          {r.Right - 8, top + 3 * hh + 4 + hh / 2, -1},
  };
  for (const auto& p : points) EXPECT_EQ(g->DesignHelperHitTest(p.x, p.y), p.hit) << p.x << "," << p.y;
  const bool editing = g->Options().Contains(plat::goEditing);
  g->DesignHelperClick(points[1].x, points[1].y);
  EXPECT_NE(g->Options().Contains(plat::goEditing), editing);
  g->DesignHelperClick(points[2].x, points[2].y);
  const plat::TRecordingTracer t = Trace();
  bool numbered = false, titled = false;
  for (const auto& d : t.OfKind(TraceKind::DrawText))
    if (d.Text == "3" && (d.Flags & plat::DT_RIGHT) && d.Rect.Top < 24) numbered = true;
  for (const auto& d : t.OfKind(TraceKind::TextOut))
    if (d.Text.startsWith("Quick config [v")) titled = true;
  EXPECT_TRUE(numbered);
  EXPECT_TRUE(titled);
  QStringList offered;
  QString checked;
  const plat::TPopupMenuRunner old = plat::SetPopupMenuRunner([&](plat::TPopupMenu* M, int, int) {
    plat::TMenuItem* pick = nullptr;
    for (int i = 0; i < M->Items()->Count(); ++i) {
      plat::TMenuItem* item = M->Items()->Items(i);
      offered << item->Caption();
      if (item->Checked()) checked = item->Caption();
      if (item->Caption() == "Windows 7") pick = item;
    }
    return pick;
  });
  g->DesignHelperClick(points[3].x, points[3].y);
  plat::SetPopupMenuRunner(old);
  EXPECT_EQ(offered, QStringList({"Standard", "Soft", "Classic", "Ext", "ListView", "Office 2007", "Windows XP",
                                  "Windows Vista", "Windows 7"}));
  EXPECT_EQ(checked, "Windows XP");
  EXPECT_EQ(g->Look(), glWin7);
  g->DesignHelperClick(points[0].x, points[0].y);
  EXPECT_FALSE(g->ShowDesignHelper());
}

TEST_F(ExtGridRender, TheGridFollowsTheOfficeThemeWhileAdapting) {
  controls::OfficeRegistry().Clear();
  const QString key = QStringLiteral("Software\\Microsoft\\Office\\14.0\\Common");
  controls::OfficeRegistry().WriteInteger(key, "Theme", 3);  // Office 2010 black
  g->SetAutoThemeAdapt(true);
  EXPECT_EQ(g->RenderSettings().Colors.ComponentStyle, controls::tsOffice2010Black);
  controls::OfficeRegistry().WriteInteger(key, "Theme", 2);
  g->Perform(plat::WM_THEMECHANGED);
  EXPECT_EQ(g->RenderSettings().Colors.ComponentStyle, controls::tsOffice2010Silver);
  g->SetAutoThemeAdapt(false);
  controls::OfficeRegistry().WriteInteger(key, "Theme", 1);
  g->Perform(controls::WM_OFFICETHEMECHANGE);
  EXPECT_EQ(g->RenderSettings().Colors.ComponentStyle, controls::tsOffice2010Silver);
  controls::OfficeRegistry().Clear();
}

}  // namespace
}  // namespace grid
