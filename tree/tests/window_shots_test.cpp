// Pictures for looking at: a string tree with a header (sort arrow, hot and pressed buttons), columns, check
// boxes, images and a selection, the same tree in each line style and with right-to-left columns, and the
// header's column menu. The pictures go to TREE_SHOTS when it is set; the checks here only guard what the
// pictures are meant to show.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QWidget>

#include "platform/forms/forms.h"
#include "platform/forms/menus.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/imagelist.h"
#include "tree/checkstate.h"
#include "tree/stringtree.h"
#include "tree/treecolumns.h"
#include "tree/treeheaderpopup.h"

namespace lazytree {
namespace {

void Save(const QImage& Image, const char* Name) {
  if (qEnvironmentVariableIsSet("TREE_SHOTS"))
    Image.save(qEnvironmentVariable("TREE_SHOTS") + QLatin1Char('/') + QLatin1String(Name));
}

QImage Icon(QColor Colour) {
  QImage icon(16, 16, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  QPainter p(&icon);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(Colour);
  p.setPen(Colour.darker());
  p.drawRoundedRect(QRectF(2.5, 2.5, 11, 11), 2, 2);
  return icon;
}

struct Fixture {
  plat::TForm form{nullptr};
  TLazyStringTree* tree;
  Fixture() {
    form.SetBounds(0, 0, 700, 500);
    tree = new TLazyStringTree(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 420, 230);
    auto* images = new plat::TImageList(&form);
    images->AddImage(Icon(QColor(40, 120, 200)));
    images->AddImage(Icon(QColor(220, 140, 30)));
    tree->SetImages(images);
    tree->Header().SetImages(images);
    const char* captions[] = {"Meter", "Medium", "Address"};
    const int widths[] = {200, 110, 90};
    for (int i = 0; i < 3; ++i) {
      TLazyTreeColumn* c = Cols().Add();
      c->SetText(QString::fromUtf8(captions[i]));
      c->SetWidth(widths[i]);
    }
    Cols()[0]->SetImageIndex(0);
    H().SetOptions(H().Options() + TLTHeaderOptions{hoVisible, hoShowSortGlyphs, hoHotTrack, hoShowImages});
    H().SetSortColumn(1);
    H().SetSortDirection(sdDescending);
    tree->SetMiscOptions(tree->TreeOptions().MiscOptions + TLTMiscOptions{toCheckSupport});
    tree->OnGetText = [](TBaseLazyTree*, PLazyNode n, TColumnIndex c, TLSTTextType, QString& text) {
      static const char* media[] = {"Heat", "Water", "Electricity", "Gas"};
      if (c <= 0)
        text = n->Parent && n->Parent->Parent ? QStringLiteral("Meter %1").arg(n->Index + 1)
                                              : QStringLiteral("Converter %1").arg(n->Index + 1);
      else if (c == 1)
        text = QString::fromLatin1(media[n->Index % 4]);
      else
        text = QString::number(n->Index * 7 + 1);
    };
    tree->OnGetImageIndex = [](auto*, PLazyNode n, TLTImageKind k, TColumnIndex c, bool&, int& i) {
      if (k != ikOverlay && c <= 0) i = n->ChildCount > 0 ? 0 : 1;
    };
    tree->SetRootNodeCount(3);
    for (PLazyNode n = tree->GetFirst(); n; n = n->NextSibling) {
      tree->SetCheckType(n, ctTriStateCheckBox);
      tree->SetChildCount(n, 3);
    }
    for (PLazyNode n = tree->GetFirst(); n; n = tree->GetNext(n))
      if (n->Parent != tree->RootNode()) tree->SetCheckType(n, ctCheckBox);
    tree->ToggleNode(tree->GetFirst());
    tree->ToggleNode(tree->GetFirst()->NextSibling);
    tree->SetCheckState(tree->GetFirst()->FirstChild, csCheckedNormal);
    tree->SetCheckState(tree->GetFirst()->NextSibling, csCheckedNormal);
    PLazyNode selected = tree->GetFirst()->FirstChild->NextSibling;
    form.Show();
    QApplication::processEvents();
    tree->SetFocus();
    tree->SetFocusedNode(selected);
    tree->SetSelected(selected, true);
  }
  TLTHeader& H() { return tree->Header(); }
  TLazyTreeColumns& Cols() { return H().Columns(); }
  QImage Shot() {
    tree->Repaint();
    return tree->Widget()->grab().toImage();
  }
};

TEST(TreeShots, ATreeWithHeaderColumnsChecksImagesAndSelection) {
  Fixture f;
  // The mouse over the third button makes it hot.
  f.tree->Perform(plat::WM_MOUSEMOVE, 0, plat::MakeLParam(360, f.H().Height() / 2));
  const QImage hot = f.Shot();
  Save(hot, "tree_columns_checks.png");
  // Pressing the first button draws it pressed.
  f.tree->Perform(plat::WM_LBUTTONDOWN, plat::MK_LBUTTON, plat::MakeLParam(100, f.H().Height() / 2));
  const QImage pressed = f.Shot();
  Save(pressed, "tree_header_pressed.png");
  f.tree->Perform(plat::WM_LBUTTONUP, 0, plat::MakeLParam(100, f.H().Height() / 2));
  EXPECT_NE(hot.copy(0, 0, 200, f.H().Height()), pressed.copy(0, 0, 200, f.H().Height()));
  // The selected row differs from the row below it left of the texts, where both show only background.
  const int band = f.H().Height(), rowHeight = static_cast<int>(f.tree->DefaultNodeHeight());
  PLazyNode selected = f.tree->GetFirst()->FirstChild->NextSibling;
  const plat::TRect r = f.tree->GetDisplayRect(selected, 0, true);
  EXPECT_NE(hot.pixel(r.Left + 1, band + r.Top + rowHeight / 2),
            hot.pixel(r.Left + 1, band + r.Top + rowHeight + rowHeight / 2));
}

TEST(TreeShots, EachLineStyle) {
  struct Case {
    TLTLineStyle style;
    const char* name;
  } cases[] = {{lsDotted, "tree_lines_dotted.png"}, {lsSolid, "tree_lines_solid.png"},
               {lsCustomStyle, "tree_lines_custom.png"}};
  QImage previous;
  for (const Case& c : cases) {
    Fixture f;
    // Dashes of three pixels and a gap of one, across and down (0 bits are drawn in the line colour).
    f.tree->OnGetLineStyle = [](TBaseLazyTreeControl*, TLinePattern& bits) {
      bits = {0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88, 0xFF};
    };
    f.tree->SetLineStyle(c.style);
    const QImage shot = f.Shot().copy(0, f.H().Height(), 120, 200);
    Save(shot.scaled(shot.width() * 2, shot.height() * 2), c.name);
    EXPECT_NE(shot, previous) << c.name;
    previous = shot;
  }
}

TEST(TreeShots, RightToLeftColumns) {
  // The main column and the address column read right to left: lines, buttons, check boxes, images, texts and
  // the selection all start from their right edges.
  Fixture f;
  PLazyNode selected = f.tree->GetFirst()->FirstChild->NextSibling;
  const plat::TRect ltr = f.tree->GetDisplayRect(selected, 0, true);
  f.Cols()[0]->SetBiDiMode(bdRightToLeft);
  f.Cols()[2]->SetBiDiMode(bdRightToLeft);
  const QImage shot = f.Shot();
  Save(shot, "tree_rtl_columns.png");
  const plat::TRect r = f.tree->GetDisplayRect(selected, 0, true);
  const int width = f.Cols()[0]->Width();
  EXPECT_NEAR(r.Left, width - ltr.Right, 1) << "the text's place in the main column is mirrored";
  EXPECT_NEAR(r.Right, width - ltr.Left, 1);
  // Above the glyphs the selection differs from the unselected row below it.
  const int x = (r.Left + r.Right) / 2, y = f.H().Height() + r.Top + 1;
  EXPECT_NE(shot.pixel(x, y), shot.pixel(x, y + r.Height())) << "the selection lies under the text";
}

TEST(TreeShots, TheHeaderMenu) {
  Fixture f;
  f.Cols()[2]->SetOptions(f.Cols()[2]->Options() - TLTColumnOptions{coVisible});
  auto* menu = new TLTHeaderPopupMenu(&f.form);
  menu->SetOptions({poResizeToFitItem});
  menu->SetPopupComponent(f.tree);
  QImage picture;
  // Render the entries as Qt's menu shows them, without running its loop.
  const plat::TPopupMenuRunner previous =
      plat::SetPopupMenuRunner([&picture](plat::TPopupMenu* m, int, int) -> plat::TMenuItem* {
        QMenu qmenu;
        for (int i = 0; i < m->Items()->Count(); ++i) {
          const plat::TMenuItem* it = m->Items()->Items(i);
          if (it->Caption() == QLatin1String("-")) {
            qmenu.addSeparator();
            continue;
          }
          QAction* a = qmenu.addAction(it->Caption());
          a->setCheckable(it->Checked());
          a->setChecked(it->Checked());
          a->setEnabled(it->Enabled());
        }
        qmenu.adjustSize();
        picture = qmenu.grab().toImage();
        return nullptr;
      });
  menu->Popup(0, 0);
  plat::SetPopupMenuRunner(previous);
  ASSERT_FALSE(picture.isNull());
  Save(picture, "tree_header_menu.png");
  EXPECT_GT(picture.height(), 3 * 10);  // the fit entry and the three columns
}

}  // namespace
}  // namespace lazytree
