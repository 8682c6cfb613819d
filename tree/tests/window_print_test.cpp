// Printing a tree: how its picture is cut into pages, and whole prints into PDF files whose pages are counted
// (the last print stays in the build folder as tree_print.pdf to be looked at).
#include <QFile>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <vector>

#include "platform/forms/forms.h"
#include "platform/rtl/exceptions.h"
#include "tree/stringtree.h"
#include "tree/treecolumns.h"
#include "tree/treeprint.h"

namespace lazytree {
namespace {

TEST(TreePrint, PicturesAreCutIntoWholePages) {
  struct Case {
    int w, h;           // picture
    int deviceW, deviceH;
    double ratio;
    int pageW, pageH, columns, rows;
  };
  const std::vector<Case> cases = {
      {100, 100, 1000, 2000, 10, 100, 200, 1, 1},  // exactly one page wide: no blank column
      {101, 200, 1000, 2000, 10, 100, 200, 2, 1},  // exactly one page high: no blank row
      {100, 201, 1000, 2000, 10, 100, 200, 1, 2},
      {0, 0, 1000, 2000, 10, 100, 200, 1, 1},      // an empty picture still prints a page
      {500, 500, 999, 1999, 10, 100, 200, 5, 3},   // page sizes round
      {10, 10, 5, 5, 0, 5, 5, 2, 2},               // no ratio: one to one
      {10, 10, 0, 0, 2, 1, 1, 10, 10},             // a device without size cannot divide by zero
  };
  for (const Case& c : cases) {
    const TPrintLayout l = ComputePrintLayout(c.w, c.h, c.deviceW, c.deviceH, c.ratio);
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
    EXPECT_EQ(l.PageW, c.pageW);
    EXPECT_EQ(l.PageH, c.pageH);
    EXPECT_EQ(l.Columns, c.columns);
    EXPECT_EQ(l.Rows, c.rows);
  }
}

int PdfPageCount(const QString& File) {
  QFile f(File);
  if (!f.open(QIODevice::ReadOnly)) return -1;
  return static_cast<int>(QString::fromLatin1(f.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

struct Fixture {
  plat::TForm form{nullptr};
  TLazyStringTree* tree;
  Fixture() {
    form.SetBounds(0, 0, 500, 400);
    tree = new TLazyStringTree(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 300, 200);
    tree->Font()->SetName(QStringLiteral("DejaVu Sans"));
    tree->OnGetText = [this](TBaseLazyTree*, PLazyNode n, TColumnIndex c, TLSTTextType, QString& text) {
      text = c == 1 ? QString::number(tree->AbsoluteIndex(n) * 7) : QStringLiteral("Device %1").arg(n->Index);
    };
    TLazyTreeColumns& cols = tree->Header().Columns();
    cols.Add()->SetText(QStringLiteral("Device"));
    cols.Add()->SetText(QStringLiteral("Value"));
    cols[0]->SetWidth(180);
    cols[1]->SetWidth(90);
    tree->Header().SetOptions(tree->Header().Options() + TLTHeaderOptions{hoVisible});
    tree->TreeOptions().PaintOptions += TLTPaintOptions{toShowHorzGridLines, toShowVertGridLines};
  }
  void Nodes(int Top, int Children) {
    for (int i = 0; i < Top; ++i) {
      PLazyNode n = tree->AddChild(nullptr);
      for (int c = 0; c < Children; ++c) tree->AddChild(n);
      tree->SetExpanded(n, true);
    }
  }
  QString File() const { return QStringLiteral(TEST_BINARY_DIR "/tree_print.pdf"); }
};

TEST(TreePrint, WithoutAPrinterNothingHappens) {
  Fixture f;
  f.Nodes(3, 0);
  const TPrintLayout l = f.tree->Print(nullptr, true);
  EXPECT_EQ(l.Columns * l.Rows, 0);
  EXPECT_EQ(f.tree->UpdateCount(), 0u);
}

TEST(TreePrint, ATreePrintsAsManyPagesAsItsPictureNeeds) {
  Fixture f;
  f.Nodes(4, 3);
  const plat::TColor color = f.tree->Color();
  {
    QPdfWriter pdf(f.File());
    pdf.setPageSize(QPageSize(QPageSize::A6));
    const TPrintLayout small = f.tree->Print(&pdf, true);
    EXPECT_EQ(small.Columns, 1);
    EXPECT_EQ(small.Rows, 1);
    EXPECT_GT(small.Ratio, 1.0);  // the printer has the finer resolution
  }
  EXPECT_EQ(PdfPageCount(f.File()), 1);
  EXPECT_EQ(f.tree->Color(), color);
  EXPECT_EQ(f.tree->UpdateCount(), 0u);

  // Taller than a page: every page row, none blank at the end.
  f.Nodes(30, 3);
  TPrintLayout tall;
  {
    QPdfWriter pdf(f.File());
    pdf.setPageSize(QPageSize(QPageSize::A6));
    tall = f.tree->Print(&pdf, true);
  }
  const int pictureH = f.tree->GetTreeRect().Height() + f.tree->Header().Height();
  EXPECT_EQ(tall.Rows, (pictureH + tall.PageH - 1) / tall.PageH);
  EXPECT_GT(tall.Rows, 1);
  EXPECT_EQ(PdfPageCount(f.File()), tall.Rows * tall.Columns);
}

TEST(TreePrint, APrinterThatCannotStartRaisesAndRestoresTheTree) {
  Fixture f;
  f.Nodes(2, 0);
  const plat::TColor color = f.tree->Color();
  QPdfWriter pdf(QStringLiteral("/nonexistent-folder/tree.pdf"));
  EXPECT_THROW(f.tree->Print(&pdf, false), plat::Exception);
  EXPECT_EQ(f.tree->Color(), color);
  EXPECT_EQ(f.tree->UpdateCount(), 0u);
}

}  // namespace
}  // namespace lazytree
