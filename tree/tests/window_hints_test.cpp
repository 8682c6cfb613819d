// Hints and tooltips: which request shows what in each hint mode, the tooltip of a clipped cell text and none
// for a text that fits, column hints over the header, no hint over the node being edited or twice inside the
// rectangle of the last one, the hint window's size and text, and the window kept inside the desktop.
#include <QApplication>
#include <QHelpEvent>
#include <QScreen>

#include <gtest/gtest.h>

#include "platform/graphics/canvas.h"
#include "tree/tests/keyfixture.h"
#include "tree/treecolumns.h"
#include "tree/treehints.h"

namespace lazytree {
namespace {

using testing::KeyFixture;

const QString kLong = QStringLiteral("A rather long node text that the narrow tree cuts off");

// Short, Long; the tree is 200 wide, hints on.
struct Hints : KeyFixture {
  Hints() {
    tree->SetBounds(0, 0, 200, 120);
    tree->SetShowHint(true);
    tree->SetHint("Control hint|the long part");
    Add(nullptr, "Short");
    Add(nullptr, kLong);
    Show();
  }
  TLTHintRequest Ask(int x, int y) {
    TLTHintRequest r;
    r.CursorPos = {x, y};
    r.CursorRect = plat::TRect(0, 0, tree->ClientWidth(), tree->ClientHeight());
    tree->HintRequest(r);
    return r;
  }
  // A point on a node's text.
  plat::TPoint OnText(const QString& name) {
    const plat::TRect r = tree->GetDisplayRect(N(name), NoColumn, true);
    return {r.Left + 5, (r.Top + r.Bottom) / 2};
  }
  void Forget() { tree->Perform(plat::CM_MOUSELEAVE); }
};

TEST(TreeHints, TheDefaultModeShowsTheShortControlHint) {
  Hints f;
  const plat::TPoint p = f.OnText(kLong);
  const TLTHintRequest r = f.Ask(p.X, p.Y);
  EXPECT_EQ(r.Result, 0);
  EXPECT_FALSE(r.TreeHintWindow);  // the framework's ordinary hint, without the tree's data
  EXPECT_EQ(r.HintStr, "Control hint");
  f.tree->SetShowHint(false);
  EXPECT_EQ(f.Ask(p.X, p.Y).Result, 1);
}

TEST(TreeHints, ATooltipShowsOnlyForAClippedText) {
  Hints f;
  f.tree->SetHintMode(hmTooltip);
  const plat::TPoint shortPoint = f.OnText("Short");
  EXPECT_EQ(f.Ask(shortPoint.X, shortPoint.Y).Result, 1);

  const plat::TPoint p = f.OnText(kLong);
  TLTHintRequest r = f.Ask(p.X, p.Y);
  ASSERT_EQ(r.Result, 0);
  EXPECT_TRUE(r.TreeHintWindow);
  EXPECT_EQ(r.HintData.Node, f.N(kLong));
  // The window lies exactly over the cell text, one pixel larger on each side, with the full text.
  const plat::TRect text = f.tree->GetDisplayRect(f.N(kLong), NoColumn, true, true, true);
  EXPECT_EQ(r.CursorRect, text);
  EXPECT_EQ(r.HintPos, f.tree->ClientToScreen({text.Left, text.Top}));
  TLTHintData data = r.HintData;
  const plat::TRect size = f.tree->CalcHintRect(800, data);
  EXPECT_EQ(data.HintText, kLong);
  EXPECT_EQ(size, plat::TRect(-1, -1, text.Width() + 1, text.Height() + 1));
}

TEST(TreeHints, TextsCutByAColumnOrScrolledAboveTheTopShowTheirTooltip) {
  struct Case {
    const char* what;
    int columnWidth;  // 0: no columns
    int offsetY;
    const char* node;
    int result;
  } cases[] = {
      {"fits a wide column", 190, 0, "Short", 1},
      {"cut by the column's right border", 30, 0, "Short", 0},
      {"partly above the top", 0, -9, "Short", 0},
  };
  for (const Case& c : cases) {
    Hints f;
    for (int i = 0; i < 12; ++i) f.Add(nullptr, QString("Row %1").arg(i));
    f.tree->SetHintMode(hmTooltip);
    if (c.columnWidth > 0) f.tree->Header().Columns().Add()->SetWidth(c.columnWidth);
    f.tree->SetOffsetY(c.offsetY);
    const plat::TRect text = f.tree->GetDisplayRect(f.N(c.node), c.columnWidth > 0 ? 0 : NoColumn, true, true);
    const int y = std::max(text.Top, 0) + 2;
    EXPECT_EQ(f.Ask(text.Left + 2, y).Result, c.result) << c.what;
  }
}

TEST(TreeHints, NodeHintsComeFromTheHandlerAndFallBackToTheControlHint) {
  Hints f;
  f.tree->OnGetHint = [&](TBaseLazyTree*, PLazyNode n, TColumnIndex, TLTTooltipLineBreakStyle&, QString& text) {
    text = "hint of " + f.Name(n);
  };
  f.tree->SetHintMode(hmHintAndDefault);
  const plat::TPoint p = f.OnText("Short");
  TLTHintRequest r = f.Ask(p.X, p.Y);
  ASSERT_EQ(r.Result, 0);
  TLTHintData data = r.HintData;
  f.tree->CalcHintRect(800, data);
  EXPECT_EQ(data.HintText, "hint of Short");
  // The hint stays valid over the whole row and opens below it.
  const plat::TRect row = f.tree->GetDisplayRect(f.N("Short"), NoColumn, false);
  EXPECT_EQ(r.CursorRect, plat::TRect(0, row.Top, f.tree->ClientWidth(), row.Bottom));

  f.Forget();
  r = f.Ask(10, 100);  // empty space below the rows
  ASSERT_EQ(r.Result, 0);
  data = r.HintData;
  f.tree->CalcHintRect(800, data);
  EXPECT_EQ(data.HintText, "Control hint");

  f.Forget();
  f.tree->SetHintMode(hmHint);
  EXPECT_EQ(f.Ask(10, 100).Result, 1);  // no node, no fall-back
}

TEST(TreeHints, NoHintTwiceInsideTheLastRectangleNorOverTheEditedNode) {
  Hints f;
  f.tree->SetHintMode(hmHint);
  const plat::TPoint p = f.OnText("Short");
  ASSERT_EQ(f.Ask(p.X, p.Y).Result, 0);
  EXPECT_EQ(f.Ask(p.X + 3, p.Y).Result, 1);
  f.Forget();
  EXPECT_EQ(f.Ask(p.X + 3, p.Y).Result, 0);

  f.Forget();
  TLTMiscOptions misc = f.tree->TreeOptions().MiscOptions;
  misc.Include(toEditable);
  f.tree->SetMiscOptions(misc);
  ASSERT_TRUE(f.tree->EditNode(f.N("Short"), NoColumn));
  EXPECT_EQ(f.Ask(p.X, p.Y).Result, 1);
  const plat::TPoint other = f.OnText(kLong);
  EXPECT_EQ(f.Ask(other.X, other.Y).Result, 0);
}

TEST(TreeHints, ColumnHintsShowOverTheHeaderOnlyWhenAskedFor) {
  Hints f;
  TLTHeader& h = f.tree->Header();
  h.Columns().Add()->SetWidth(100);
  h.Columns().Add()->SetWidth(100);
  h.Columns()[0]->SetHint("first column");
  h.SetOptions(h.Options() + TLTHeaderOptions{hoVisible});
  const int y = -h.Height() / 2;
  EXPECT_EQ(f.Ask(50, y).HintStr, "Control hint");  // without hoShowHint the header is like the rest
  f.Forget();
  h.SetOptions(h.Options() + TLTHeaderOptions{hoShowHint});
  TLTHintRequest r = f.Ask(50, y);
  ASSERT_EQ(r.Result, 0);
  EXPECT_EQ(r.HintStr, "first column");
  EXPECT_EQ(r.CursorRect, plat::TRect(0, -h.Height(), 100, 0));
  f.Forget();
  EXPECT_EQ(f.Ask(150, y).Result, 1);  // the second column has no hint
}

TEST(TreeHints, ATooltipEventShowsTheWindowWithTheFullTextInsideTheDesktop) {
  Hints f;
  f.tree->SetHintMode(hmTooltip);
  const plat::TPoint p = f.OnText(kLong);
  const QPoint local(p.X, p.Y + f.tree->HeaderBandHeight());
  QHelpEvent e(QEvent::ToolTip, local, f.tree->Widget()->mapToGlobal(local));
  QApplication::sendEvent(f.tree->Widget(), &e);
  TLazyTreeHintWindow* w = f.tree->HintWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->HintData().HintText, kLong);
  EXPECT_TRUE(f.tree->TreeStates().Has(tsHint));
  const QRect desk = w->screen()->availableGeometry();
  EXPECT_TRUE(desk.contains(w->geometry())) << w->geometry().x() << "," << w->geometry().width();
  // Keys and moves inside the text keep it; a move off the text hides it.
  const QPoint inside = local + QPoint(3, 0);
  QTest::keyClick(f.tree->Widget(), Qt::Key_Shift);
  QTest::mouseMove(f.tree->Widget(), inside);
  EXPECT_NE(f.tree->HintWindow(), nullptr);
  QTest::mouseMove(f.tree->Widget(), QPoint(inside.x(), inside.y() + 40));
  EXPECT_EQ(f.tree->HintWindow(), nullptr);
  EXPECT_FALSE(f.tree->TreeStates().Has(tsHint));
  QApplication::sendEvent(f.tree->Widget(), &e);
  ASSERT_EQ(f.tree->HintWindow(), nullptr);  // still inside the last hint's rectangle: not asked again
  f.Forget();
  QApplication::sendEvent(f.tree->Widget(), &e);
  ASSERT_NE(f.tree->HintWindow(), nullptr);
  // A request for a point with nothing to show hides it again.
  f.Forget();
  const plat::TPoint shortPoint = f.OnText("Short");
  const QPoint s(shortPoint.X, shortPoint.Y);
  QHelpEvent e2(QEvent::ToolTip, s, f.tree->Widget()->mapToGlobal(s));
  QApplication::sendEvent(f.tree->Widget(), &e2);
  EXPECT_EQ(f.tree->HintWindow(), nullptr);
}

TEST(TreeHints, TheWindowMovesInsideTheDesktopFromEverySide) {
  Hints f;
  f.tree->SetHintMode(hmTooltip);
  const plat::TPoint p = f.OnText(kLong);
  TLTHintRequest r = f.Ask(p.X, p.Y);
  ASSERT_EQ(r.Result, 0);
  TLazyTreeHintWindow w;
  const QRect desk = QGuiApplication::primaryScreen()->availableGeometry();
  for (QPoint at : {QPoint(desk.right() - 10, desk.bottom() - 5), QPoint(desk.left() - 50, desk.top() - 30)}) {
    w.ActivateHint(plat::TRect(at.x(), at.y(), at.x() + 120, at.y() + 20), r.HintData, p);
    EXPECT_TRUE(desk.contains(w.geometry())) << at.x() << "," << at.y();
  }
}

TEST(TreeHints, TheHintOpensByFadingOrSlidingOrAtOnce) {
  struct Case {
    THintAnimationType kind;
    double startOpacity;  // right after the activation
    bool startsHidden;    // no row shown yet
  } cases[] = {{hatNone, 1.0, false}, {hatFade, 0.0, false}, {hatSlide, 1.0, true}};
  for (const Case& c : cases) {
    Hints f;
    f.tree->SetHintMode(hmTooltip);
    f.tree->SetHintAnimation(c.kind);
    EXPECT_EQ(f.tree->GetEffectiveHintAnimation(), c.kind);
    const plat::TPoint p = f.OnText(kLong);
    const QPoint local(p.X, p.Y);
    QHelpEvent e(QEvent::ToolTip, local, f.tree->Widget()->mapToGlobal(local));
    QApplication::sendEvent(f.tree->Widget(), &e);
    TLazyTreeHintWindow* w = f.tree->HintWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_DOUBLE_EQ(w->windowOpacity(), c.startOpacity) << int(c.kind);
    EXPECT_EQ(w->VisibleRows() == 0, c.startsHidden) << int(c.kind);
    // Halfway and at the end of the steps.
    const int steps = c.kind == hatFade ? 255 : w->height();
    w->AnimationStep(steps / 2, steps);
    if (c.kind == hatSlide) {
      EXPECT_EQ(w->VisibleRows(), steps / 2);
    }
    if (c.kind == hatFade) {
      EXPECT_NEAR(w->windowOpacity(), 0.5, 0.01);
    }
    w->AnimationStep(steps, steps);
    EXPECT_DOUBLE_EQ(w->windowOpacity(), 1.0);
    EXPECT_EQ(w->VisibleRows(), w->height());
  }
}

TEST(TreeHints, AnOwnerDrawnHintTakesItsSizeAndPaintingFromTheHandlers) {
  Hints f;
  f.tree->SetHintMode(hmHint);
  f.tree->OnGetHintKind = [](TBaseLazyTreeControl*, PLazyNode, TColumnIndex, TLTHintKind& kind) { kind = vhkOwnerDraw; };
  plat::TRect size(0, 0, 0, 0);
  f.tree->OnGetHintSize = [&](TBaseLazyTreeControl*, PLazyNode, TColumnIndex, plat::TRect& r) { r = size; };
  int drawn = 0;
  f.tree->OnDrawHint = [&](TBaseLazyTreeControl*, plat::TCanvas* c, PLazyNode n, const plat::TRect& r, TColumnIndex) {
    ++drawn;
    EXPECT_EQ(f.Name(n), "Short");
    c->Brush()->SetColor(plat::clRed);
    c->FillRect(r);
  };
  const plat::TPoint p = f.OnText("Short");
  EXPECT_EQ(f.Ask(p.X, p.Y).Result, 1);  // an empty size: no hint
  f.Forget();
  size = plat::TRect(0, 0, 40, 12);
  const QPoint local(p.X, p.Y);
  QHelpEvent e(QEvent::ToolTip, local, f.tree->Widget()->mapToGlobal(local));
  QApplication::sendEvent(f.tree->Widget(), &e);
  TLazyTreeHintWindow* w = f.tree->HintWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->size(), QSize(40, 12));
  const QImage image = w->Render();
  EXPECT_EQ(drawn, 1);
  EXPECT_EQ(image.pixelColor(20, 6), QColor(Qt::red));
}

}  // namespace
}  // namespace lazytree
