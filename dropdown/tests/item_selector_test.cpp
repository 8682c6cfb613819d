// The item selector: change notifications and copies of its items and appearance, the layout of the cells,
// the select, hot and lookup steps, painting of hot and selected cells, and scrolling.
#include <QApplication>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "dropdown/item_selector.h"
#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/testing/pixels.h"

using namespace plat;
using plat::testing::ExpectPixel;
using plat::testing::PixelAt;

namespace dropdown {
namespace {

// A container on a form, with captions added.
struct Selector {
  explicit Selector(std::initializer_list<QString> captions = {}) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    sel = new TExtCustomItemSelector(form.get());
    sel->SetParent(form.get());
    sel->SetBounds(0, 0, 200, 150);
    for (const QString& c : captions) sel->Items()->Add()->SetCaption(c);
    sel->UpdateSelectorPanel();
  }
  TCustomItemSelector& panel() const { return *sel->ItemSelectorPanel(); }
  std::unique_ptr<TForm> form;
  TExtCustomItemSelector* sel;
};

TEST(ItemSelectorItems, OnChangeOnlyForCaptionColourAndImageIndex) {
  TSelectorItems items(nullptr);
  int changes = 0;
  items.OnChange = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &items);
    ++changes;
  };
  TBitmap picture(4, 4);
  TPicture holder;
  holder.SetGraphic(&picture);
  const struct {
    const char* name;
    std::function<void()> act;
    int changes;
  } cases[] = {
      {"add", [&] { items.Add(); }, 0},
      {"insert", [&] { items.Insert(0); }, 0},
      {"caption", [&] { items.GetItem(0)->SetCaption(QStringLiteral("a")); }, 1},
      {"same caption", [&] { items.GetItem(0)->SetCaption(QStringLiteral("a")); }, 0},
      {"colour", [&] { items.GetItem(0)->SetColor(clRed); }, 1},
      {"same colour", [&] { items.GetItem(0)->SetColor(clRed); }, 0},
      {"image index", [&] { items.GetItem(0)->SetImageIndex(3); }, 1},
      {"picture", [&] { items.GetItem(0)->SetImage(&holder); }, 0},
      {"hint", [&] { items.GetItem(0)->SetHint(QStringLiteral("h")); }, 0},
      {"delete", [&] { items.Delete(1); }, 0},
      {"clear", [&] { items.Clear(); }, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    changes = 0;
    c.act();
    EXPECT_EQ(changes, c.changes);
  }
}

TEST(ItemSelectorItems, AssignCopiesEveryProperty) {
  TSelectorItems items(nullptr);
  TSelectorItem& source = *items.Add();
  source.SetCaption(QStringLiteral("<b>x</b>"));
  source.SetColor(clBlue);
  source.SetImageIndex(2);
  source.SetHint(QStringLiteral("tip"));
  source.SetEnabled(false);
  TBitmap picture(5, 3);
  source.Image()->SetGraphic(&picture);
  TSelectorItem& copy = *items.Add();
  copy.Assign(&source);
  EXPECT_EQ(copy.Caption(), source.Caption());
  EXPECT_EQ(copy.Color(), clBlue);
  EXPECT_EQ(copy.ImageIndex(), 2);
  EXPECT_EQ(copy.Hint(), QStringLiteral("tip"));
  EXPECT_FALSE(copy.Enabled());
  EXPECT_EQ(copy.Image()->Width(), 5);
  EXPECT_EQ(copy.Image()->Height(), 3);
  EXPECT_NE(copy.Image()->Graphic(), source.Image()->Graphic());
  TSelectorItems other(nullptr);
  other.Assign(&items);
  ASSERT_EQ(other.Count(), 2);
  EXPECT_EQ(other.GetItem(1)->Caption(), source.Caption());
}

TEST(ItemSelectorAppearance, PresetsAndAssign) {
  TItemAppearance a(nullptr);
  EXPECT_EQ(a.ColorStyle(), scOffice2007);
  EXPECT_EQ(a.Font()->Name(), QStringLiteral("Tahoma"));
  EXPECT_EQ(a.ColorHot, 0xD7FFFDu);
  EXPECT_EQ(a.ColorMirrorSelectedTo, 0x68E3F9u);
  a.SetColorStyle(scWindowsVista);
  EXPECT_EQ(a.ColorHot, 0xFDF8F1u);
  EXPECT_EQ(a.ColorMirrorHot, clNone);
  a.ColorHot = clRed;
  a.SetColorStyle(scWindowsVista);  // the same style loads nothing
  EXPECT_EQ(a.ColorHot, clRed);
  a.SetColorStyle(scCustom);
  EXPECT_EQ(a.ColorHot, clRed);

  // The source's style differs from the target's, so its preset wins over its own colours; the text colours
  // and plain borders are copied after it.
  TItemAppearance source(nullptr);
  source.SetColorStyle(scWindows7);
  source.ColorHot = clLime;
  source.ColorHotText = clMaroon;
  source.BorderColorSelected = clNavy;
  source.Font()->SetName(QStringLiteral("DejaVu Sans"));
  TItemAppearance target(nullptr);
  target.Assign(&source);
  EXPECT_EQ(target.ColorStyle(), scWindows7);
  EXPECT_EQ(target.ColorHot, 0xFCEBDCu);
  EXPECT_EQ(target.ColorHotText, clMaroon);
  EXPECT_EQ(target.BorderColorSelected, clNavy);
  EXPECT_EQ(target.Font()->Name(), QStringLiteral("DejaVu Sans"));
  // Same style: the source's individual colours stay.
  TItemAppearance same(nullptr);
  same.SetColorStyle(scWindows7);
  same.Assign(&source);
  EXPECT_EQ(same.ColorHot, clLime);
}

TEST(ItemSelectorLayout, EmptySelector) {
  Selector s;
  EXPECT_EQ(s.panel().Width(), 100);
  EXPECT_EQ(s.panel().Height(), 50);
  EXPECT_EQ(s.sel->GetVisibleItemCount(), 0);
  EXPECT_FALSE(s.sel->LookupItem(QStringLiteral("A")));
  TSize size;
  s.sel->GetSelectorPanelSize(size);
  EXPECT_EQ(size, TSize(100, 50));
  EXPECT_EQ(s.panel().GetItemRect(0), TRect(-1, -1, -1, -1));
  EXPECT_EQ(s.panel().ItemAtPos(10, 10), -1);
}

TEST(ItemSelectorLayout, CellsTileRowByRow) {
  Selector s({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"),
              QStringLiteral("e")});
  s.sel->SetColumns(2);
  TSize cell;
  s.panel().GetItemSize(cell);
  ASSERT_GT(cell.cx, 0);
  const int rows[] = {0, 0, 1, 1, 2}, cols[] = {0, 1, 0, 1, 0};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    const TRect r = s.panel().GetItemRect(i);
    EXPECT_EQ(r, TRect(2 + cols[i] * cell.cx, 2 + rows[i] * cell.cy, 2 + (cols[i] + 1) * cell.cx,
                       2 + (rows[i] + 1) * cell.cy));
    EXPECT_EQ(s.panel().ItemAtPos(r.Left, r.Top), i);
  }
  EXPECT_EQ(s.panel().Width(), 2 * cell.cx + 4);
  EXPECT_EQ(s.panel().Height(), 3 * cell.cy + 4);
  for (int refused : {0, -3}) {
    s.sel->SetColumns(refused);
    EXPECT_EQ(s.sel->Columns(), 2);
  }
}

TEST(ItemSelectorLayout, CellSizeFromImagesCaptionsAndLayout) {
  Selector s({QStringLiteral("x")});
  s.sel->SetSelectorType(stColor);
  s.sel->Items()->GetItem(0)->SetCaption(QString());
  TSize cell;
  s.panel().GetItemSize(cell);
  EXPECT_EQ(cell, TSize(14 + 8, 14 + 8));
  s.sel->Items()->GetItem(0)->SetCaption(QStringLiteral("Caption"));
  s.panel().GetItemSize(cell);
  TSize right = cell;
  EXPECT_GT(right.cx, 14 + 4 + 8 + 4);
  s.sel->SetItemLayout(ilCaptionBottom);
  s.panel().GetItemSize(cell);
  EXPECT_LT(cell.cx, right.cx);
  EXPECT_GT(cell.cy, right.cy);
}

// An OnItemSize that answers a height of 0 must not divide by zero when the visible rows are counted.
TEST(ItemSelectorLayout, ZeroItemHeightCountsAsOne) {
  Selector s({QStringLiteral("a"), QStringLiteral("b")});
  for (int height : {0, -5}) {
    SCOPED_TRACE(height);
    s.sel->OnItemSize = [height](TObject*, TSize& size) { size = TSize(50, height); };
    s.sel->UpdateSelectorPanel();
    EXPECT_EQ(s.sel->GetVisibleItemCount(), s.sel->Height());
  }
}

TEST(ItemSelectorSelection, StepsAndEvents) {
  Selector s({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
  int selects = 0;
  s.sel->OnItemSelect = [&](TObject* Sender) {
    EXPECT_EQ(Sender, s.sel);
    ++selects;
  };
  s.sel->SelectPrevious();
  EXPECT_EQ(s.sel->ItemIndex(), 0);
  s.sel->SelectLast();
  s.sel->SelectNext();
  EXPECT_EQ(s.sel->ItemIndex(), 2);
  EXPECT_EQ(selects, 2);  // the step past the last item selects nothing
  s.sel->SetItemIndex(2);  // the selected item again still tells
  EXPECT_EQ(selects, 3);
  s.sel->SetItemIndex(-1);
  EXPECT_EQ(s.sel->ItemIndex(), -1);
  EXPECT_EQ(selects, 3);
  s.sel->Items()->GetItem(1)->SetEnabled(false);
  s.sel->SetItemIndex(0);
  s.sel->SelectNext();  // onto the disabled item: refused
  EXPECT_EQ(s.sel->ItemIndex(), 0);
  s.panel().SetItemHot(1);
  EXPECT_EQ(s.sel->ItemHot(), -1);
  s.sel->HotNext();
  s.sel->HotNext();
  EXPECT_EQ(s.sel->ItemHot(), 0);
  s.sel->UpdateSelectorPanel();  // an arrangement forgets the hot item and keeps the selection
  EXPECT_EQ(s.sel->ItemHot(), -1);
  EXPECT_EQ(s.sel->ItemIndex(), 0);
}

TEST(ItemSelectorSelection, LookupByPlainTrimmedUpperCaption) {
  Selector s({QStringLiteral("<b>abc</b>"), QStringLiteral(" ab"), QStringLiteral("Abd"), QStringLiteral("beta")});
  const struct {
    QString search;
    bool found;
    int index;
  } cases[] = {
      {QStringLiteral("AB"), true, 0},  {QStringLiteral("ABD"), true, 2}, {QStringLiteral("B"), true, 3},
      {QStringLiteral("ab"), false, 3}, {QStringLiteral("X"), false, 3},  {QString(), false, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.search.toStdString());
    EXPECT_EQ(s.sel->LookupItem(c.search), c.found);
    EXPECT_EQ(s.sel->ItemIndex(), c.index);
  }
}

TEST(ItemSelectorSelection, InvalidOwnerIsRefused) {
  TForm form(nullptr);
  try {
    TCustomItemSelector panel(&form);
    FAIL() << "created";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Invalid parent"));
  }
}

// Draws one cell on a white bitmap of the panel's size.
QImage DrawCell(Selector& s, int index) {
  TBitmap bmp(s.panel().Width(), s.panel().Height());
  s.panel().DrawItem(index, bmp.Canvas());
  return bmp.Image().copy();
}

TEST(ItemSelectorPainting, SelectedWinsOverHot) {
  Selector s({QStringLiteral("a"), QStringLiteral("b")});
  s.sel->SetColor(clWhite);
  TItemAppearance& a = *s.sel->ItemAppearance();
  a.SetColorStyle(scWindowsVista);
  a.BorderColorHot = clRed;
  a.BorderColorSelected = clBlue;
  a.ColorHot = a.ColorHotTo = clYellow;
  a.ColorSelected = a.ColorSelectedTo = clLime;
  const TRect r = s.panel().GetItemRect(0);
  const TPoint inside(r.Left + 2, r.Top + r.Height() / 2);
  EXPECT_TRUE(ExpectPixel(DrawCell(s, 0), inside.X, inside.Y, clWhite));
  s.panel().SetItemHot(0);
  QImage hot = DrawCell(s, 0);
  EXPECT_TRUE(ExpectPixel(hot, inside.X, inside.Y, clYellow));
  EXPECT_TRUE(ExpectPixel(hot, r.Left, r.Top, clRed));
  s.sel->SetItemIndex(0);
  QImage both = DrawCell(s, 0);
  EXPECT_TRUE(ExpectPixel(both, inside.X, inside.Y, clLime));
  EXPECT_TRUE(ExpectPixel(both, r.Left, r.Top, clBlue));
}

TEST(ItemSelectorPainting, ColourBoxAboveTheCaption) {
  Selector s({QStringLiteral("Wide caption")});
  s.sel->SetSelectorType(stColor);
  s.sel->SetItemLayout(ilCaptionBottom);
  s.sel->SetColor(clWhite);
  s.sel->Items()->GetItem(0)->SetColor(clRed);
  s.sel->ItemAppearance()->Font()->SetColor(clBlue);
  s.sel->UpdateSelectorPanel();
  const QImage img = DrawCell(s, 0);
  const TRect box = plat::testing::BoundingBox(img, clRed);
  ASSERT_FALSE(box.IsEmpty());
  const TRect text = plat::testing::BoundingBox(img, clBlue);
  ASSERT_FALSE(text.IsEmpty());
  // The box's black frame starts 1 above the red fill; the caption's rectangle begins box height + gap lower.
  const int boxTop = box.Top - 1;
  EXPECT_EQ(boxTop, s.panel().GetItemRect(0).Top + 4);
  EXPECT_GE(text.Top, boxTop + 14 + 4);
}

TEST(ItemSelectorScrolling, ScrollsTheItemIntoViewAndFollowsTheThumb) {
  Selector s;
  for (int i = 0; i < 30; ++i) s.sel->Items()->Add()->SetCaption(QStringLiteral("Item %1").arg(i));
  s.sel->UpdateSelectorPanel();
  ASSERT_TRUE(s.sel->ScrollBarVisible(SB_VERT));
  s.sel->SetItemIndex(29);
  const TRect last = s.panel().GetItemRect(29);
  EXPECT_EQ(last.Bottom + s.panel().Top(), s.sel->ClientHeight());
  s.sel->SetItemIndex(0);
  EXPECT_EQ(s.panel().Top(), -s.panel().GetItemRect(0).Top);
  s.sel->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 40), 0);
  EXPECT_EQ(s.panel().Top(), -40);
  const int rowHeight = last.Height();
  EXPECT_EQ(s.sel->GetVisibleItemCount(), s.sel->Height() / rowHeight);
}

TEST(ItemSelectorMouse, PointingMakesHotAndPressingSelects) {
  Selector s({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
  s.form->Show();
  QApplication::processEvents();
  s.sel->Items()->GetItem(1)->SetHint(QStringLiteral("second"));
  s.sel->Items()->GetItem(2)->SetEnabled(false);
  int selects = 0;
  s.sel->OnItemSelect = [&](TObject*) { ++selects; };
  QWidget* panel = s.panel().Widget();
  auto centre = [&](int i) {
    const TRect r = s.panel().GetItemRect(i);
    return QPoint(r.Left + r.Width() / 2, r.Top + r.Height() / 2);
  };
  QTest::mouseMove(panel, centre(1));
  EXPECT_EQ(s.sel->ItemHot(), 1);
  EXPECT_EQ(s.panel().Hint(), QStringLiteral("second"));
  QTest::mouseMove(panel, centre(2));  // a disabled item clears the hot one
  EXPECT_EQ(s.sel->ItemHot(), -1);
  QTest::mouseClick(panel, Qt::LeftButton, {}, centre(2));
  EXPECT_EQ(s.sel->ItemIndex(), -1);
  QTest::mouseClick(panel, Qt::RightButton, {}, centre(0));  // any button selects
  EXPECT_EQ(s.sel->ItemIndex(), 0);
  EXPECT_EQ(selects, 1);
}

}  // namespace
}  // namespace dropdown
