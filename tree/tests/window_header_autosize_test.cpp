// Sizes that follow the fonts: a fitted column takes the width of its widest text in the tree's font, and the
// header grows with its font when the tree scales automatically. The test font is pinned, so the widths are
// those of its glyphs.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include "platform/forms/forms.h"
#include "tree/stringtree.h"
#include "tree/treecolumns.h"

namespace lazytree {
namespace {

struct Fixture {
  plat::TForm form{nullptr};
  TLazyStringTree* tree;
  Fixture() {
    form.SetBounds(0, 0, 600, 400);
    tree = new TLazyStringTree(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 500, 300);
    for (int i = 0; i < 2; ++i) tree->Header().Columns().Add()->SetWidth(60);
    tree->Header().SetOptions(tree->Header().Options() + TLTHeaderOptions{hoVisible});
    tree->SetPaintOptions(tree->TreeOptions().PaintOptions - TLTPaintOptions{toShowVertGridLines});
    tree->OnGetText = [](TBaseLazyTree*, PLazyNode n, TColumnIndex c, TLSTTextType, QString& text) {
      static const char* media[] = {"Heat", "Electricity", "Water"};
      text = c == 1 ? QString::fromLatin1(media[n->Index % 3]) : QStringLiteral("M");
    };
    tree->SetRootNodeCount(3);
  }
  int Advance(const QString& Text) const { return QFontMetrics(tree->Font()->QtFont()).horizontalAdvance(Text); }
  int Expected() const { return Advance(QStringLiteral("Electricity")) + 2 * tree->TextMargin() + tree->Margin(); }
};

TEST(HeaderAutoSize, AFittedColumnTakesItsWidestTextInTheTreesFont) {
  Fixture f;
  TLTHeader& h = f.tree->Header();
  ASSERT_EQ(f.tree->Font()->QtFont().family(), QStringLiteral("DejaVu Sans"));
  // A double click on the divider of the second column fits it.
  h.SetOptions(h.Options() + TLTHeaderOptions{hoDblClickResize});
  const int divider = 60 + 60 - 1;
  f.tree->Perform(plat::WM_LBUTTONDBLCLK, plat::MK_LBUTTON, plat::MakeLParam(divider, h.Height() / 2));
  EXPECT_EQ(h.Columns()[1]->Width(), f.Expected());
  // A larger font gives a wider column, measured again.
  f.tree->Font()->SetSize(16);
  h.AutoFitColumns(false, smaAllColumns, 1, 1);
  EXPECT_EQ(h.Columns()[1]->Width(), f.Expected());
  EXPECT_GT(f.Expected(), f.Advance(QStringLiteral("Electricity")));
}

TEST(HeaderAutoSize, TheHeaderGrowsWithItsFontWhenTheTreeScales) {
  Fixture f;
  TLTHeader& h = f.tree->Header();
  h.Columns()[0]->SetSpacing(4);
  const TLTAutoOptions autoOptions = f.tree->TreeOptions().AutoOptions;
  f.tree->SetAutoOptions(autoOptions - TLTAutoOptions{toAutoChangeScale});
  const int before = h.Height();
  // Without automatic scaling the height stays.
  h.Font()->SetSize(20);
  EXPECT_EQ(h.Height(), before);
  f.tree->SetAutoOptions(autoOptions + TLTAutoOptions{toAutoChangeScale});
  h.Font()->SetSize(24);
  const int text = QFontMetrics(h.Font()->QtFont()).height();
  EXPECT_EQ(h.Height(), std::max(before, text + 4 + 4 / 2));
  EXPECT_GT(h.Height(), before);
  // A smaller font never shrinks it.
  const int grown = h.Height();
  h.Font()->SetSize(6);
  EXPECT_EQ(h.Height(), grown);
}

}  // namespace
}  // namespace lazytree
