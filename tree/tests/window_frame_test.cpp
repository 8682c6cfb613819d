// The tree as a window control: defaults, option setters, loading, scroll bars and scroll messages, node
// rectangles, keeping nodes in view, the wheel, the position cache behind lookups, and accessibility.
#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/forms/forms.h"
#include "platform/graphics/imagelist.h"
#include "tree/tests/treecheck.h"
#include "tree/treeaccessibility.h"
#include "tree/treecolumns.h"
#include "tree/treecontrol.h"

namespace lazytree {
namespace {

using plat::TMessage;

class TTestTree : public TBaseLazyTreeControl {
 public:
  using TBaseLazyTreeControl::TBaseLazyTreeControl;
  using TBaseLazyTreeControl::DoMouseWheel;
  int nodeWidth = 0;
  QString text = QStringLiteral("node text");
  QString AccessibleText(PLazyNode) override { return text; }

 protected:
  int DoGetNodeWidth(PLazyNode, TColumnIndex) override { return nodeWidth; }
};

// A form with a tree whose client area is 200 x 180 without scroll bars.
struct Fixture {
  plat::TForm form{nullptr};
  TTestTree* tree;
  Fixture() {
    form.SetBounds(0, 0, 400, 400);
    tree = new TTestTree(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 200, 180);
  }
  // Roots top-level nodes of 18 pixels.
  void Rows(uint32_t roots) { tree->SetRootNodeCount(roots); }
  void Scroll(int code) {
    tree->Perform(plat::WM_VSCROLL, plat::MakeWParam(code, 0), 0);
  }
};

TEST(TreeWindow, ConstructionDefaults) {
  Fixture f;
  TTestTree& t = *f.tree;
  struct Case {
    const char* name;
    int64_t actual, expected;
  };
  const Case cases[] = {
      {"DefaultNodeHeight", t.DefaultNodeHeight(), 18}, {"Indent", t.Indent(), 18},
      {"AnimationDuration", t.AnimationDuration(), 200}, {"AutoExpandDelay", t.AutoExpandDelay(), 1000},
      {"AutoScrollDelay", t.AutoScrollDelay(), 1000},   {"AutoScrollInterval", t.AutoScrollInterval(), 1},
      {"Margin", t.Margin(), 4},                          {"TextMargin", t.TextMargin(), 4},
      {"DragHeight", t.DragHeight(), 350},                {"DragWidth", t.DragWidth(), 200},
      {"EditDelay", t.EditDelay(), 1000},                 {"SelectionBlendFactor", t.SelectionBlendFactor(), 128},
      {"IncrementalSearchTimeout", t.IncrementalSearchTimeout(), 1000},
      {"IncrementalSearch", t.IncrementalSearch(), isNone}, {"IncrementalSearchStart", t.IncrementalSearchStart(), ssFocusedNode},
      {"NodeAlignment", t.NodeAlignment(), naProportional}, {"LineStyle", t.LineStyle(), lsDotted},
      {"CheckImageKind", t.CheckImageKind(), ckSystemDefault}, {"BorderStyle", t.BorderStyle(), plat::bsSingle},
      {"ButtonStyle", t.ButtonStyle(), bsRectangle},     {"ButtonFillMode", t.ButtonFillMode(), fmTreeColor},
      {"DragImageKind", t.DragImageKind(), diComplete},  {"HintAnimation", t.HintAnimation(), hatSystemDefault},
      {"DefaultPasteMode", t.DefaultPasteMode(), amAddChildLast}, {"NodeDataSize", t.NodeDataSize(), -1},
      {"ScrollBars", t.ScrollBarOptions().ScrollBars(), plat::ssBoth},
      {"VerticalIncrement", t.ScrollBarOptions().VerticalIncrement(), 20},
      {"HorizontalIncrement", t.ScrollBarOptions().HorizontalIncrement(), 20},
      {"Width", t.Width(), 200}, {"TabStop", t.TabStop(), 1}, {"DoubleBuffered", t.DoubleBuffered(), 1},
      {"BottomSpace", t.BottomSpace(), 0}, {"ChangeDelay", t.ChangeDelay(), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.name;
  EXPECT_EQ(t.DragOperations(), (TDragOperations{doCopy, doMove}));
  t.SetDoubleBuffered(false);
  EXPECT_TRUE(t.DoubleBuffered());
  EXPECT_TRUE(t.TreeStates().Has(tsUseThemes));
}

TEST(TreeWindow, OptionSettersAndTheirSideEffects) {
  Fixture f;
  TTestTree& t = *f.tree;
  t.SetPaintOptions({toFixedIndent});
  EXPECT_EQ(t.TreeOptions().PaintOptions, (TLTPaintOptions{toShowRoot, toFixedIndent}));
  t.SetPaintOptions({toThemeAware});
  EXPECT_TRUE(t.TreeStates().Has(tsUseThemes));
  t.SetPaintOptions({});
  EXPECT_FALSE(t.TreeStates().Has(tsUseThemes));

  t.SetAnimationOptions(1u << toAnimatedToggle);
  t.SetAnimationDuration(0);
  EXPECT_EQ(t.TreeOptions().AnimationOptions, 0);
  t.SetAnimationOptions(1u << toAnimatedToggle);
  EXPECT_EQ(t.AnimationDuration(), 0u);
  t.SetAnimationDuration(150);
  EXPECT_EQ(t.TreeOptions().AnimationOptions, 1u << toAnimatedToggle);

  t.SetSelectionOptions({toMultiSelect});
  f.Rows(3);
  for (PLazyNode n = t.GetFirst(); n; n = t.GetNextSibling(n)) t.AddToSelection(n);
  EXPECT_EQ(t.SelectedCount(), 3u);
  t.SetSelectionOptions({});
  EXPECT_EQ(t.SelectedCount(), 0u);

  // Showing filtered nodes brings their rows back, with counts and heights following.
  PLazyNode first = t.GetFirst();
  t.SetFiltered(first, true);
  EXPECT_EQ(t.VisibleCount(), 2u);
  t.SetPaintOptions(t.TreeOptions().PaintOptions + TLTPaintOptions{toShowFilteredNodes});
  EXPECT_EQ(t.VisibleCount(), 3u);
  EXPECT_EQ(testing::CheckTree(t), "");
  EXPECT_EQ(testing::CheckRows(t), "");
  t.SetPaintOptions(t.TreeOptions().PaintOptions - TLTPaintOptions{toShowFilteredNodes});
  EXPECT_EQ(t.VisibleCount(), 2u);
  EXPECT_EQ(testing::CheckRows(t), "");
}

TEST(TreeWindow, RootCountReadWhileLoadingIsMadeAfterwards) {
  Fixture f;
  TTestTree& t = *f.tree;
  t.TreeOptions().MiscOptions.Include(toReadOnly);
  t.BeginLoading();
  t.SetRootNodeCount(5);
  EXPECT_EQ(t.RootNodeCount(), 0u);
  EXPECT_TRUE(t.TreeStates().Has(tsNeedRootCountUpdate));
  t.EndLoading();
  EXPECT_EQ(t.RootNodeCount(), 5u);
  EXPECT_FALSE(t.TreeStates().Has(tsNeedRootCountUpdate));
  EXPECT_TRUE(t.TreeOptions().MiscOptions.Has(toReadOnly));
}

TEST(TreeWindow, AssignCopiesSettingsAndRefusesAReadOnlyTarget) {
  Fixture a, b;
  a.tree->SetIndent(30);
  a.tree->SetMargin(7);
  a.tree->SetDefaultNodeHeight(22);
  a.Rows(4);
  b.tree->Assign(*a.tree);
  EXPECT_EQ(b.tree->Indent(), 30u);
  EXPECT_EQ(b.tree->Margin(), 7);
  EXPECT_EQ(b.tree->DefaultNodeHeight(), 22u);
  EXPECT_EQ(b.tree->RootNodeCount(), 4u);
  b.tree->TreeOptions().MiscOptions.Include(toReadOnly);
  EXPECT_THROW(b.tree->Assign(*a.tree), plat::EConvertError);
}

TEST(TreeWindow, ScaleMovesHeightAndIndent) {
  Fixture f;
  f.tree->ChangeScale(3, 2);
  EXPECT_EQ(f.tree->DefaultNodeHeight(), 27u);
  EXPECT_EQ(f.tree->Indent(), 27u);
  f.tree->SetDefaultNodeHeight(0);
  EXPECT_EQ(f.tree->DefaultNodeHeight(), 18u);
}

TEST(TreeScroll, RowsThatFitNeedNoBar) {
  Fixture f;
  f.Rows(10);  // 180 pixels in 180
  EXPECT_EQ(f.tree->RangeY(), 180u);
  EXPECT_FALSE(f.tree->ScrollBarVisible(plat::SB_VERT));
  f.Scroll(plat::SB_BOTTOM);
  EXPECT_EQ(f.tree->OffsetY(), 0);
  f.tree->ScrollBarOptions().SetAlwaysVisible(true);
  EXPECT_TRUE(f.tree->ScrollBarVisible(plat::SB_VERT));
}

TEST(TreeScroll, BarFollowsRangeAndOffset) {
  Fixture f;
  f.Rows(100);
  TTestTree& t = *f.tree;
  ASSERT_TRUE(t.ScrollBarVisible(plat::SB_VERT));
  plat::TScrollInfo si;
  si.fMask = plat::SIF_ALL;
  t.GetScrollInfo(plat::SB_VERT, si);
  EXPECT_EQ(si.nMax, 1800);
  EXPECT_EQ(si.nPage, static_cast<plat::UINT>(t.ClientHeight() + 1));
  t.SetOffsetY(-500);
  EXPECT_EQ(t.GetScrollPos(plat::SB_VERT), 500);
  t.SetBottomSpace(50);
  EXPECT_EQ(t.RangeY(), 1850u);
  f.Scroll(plat::SB_BOTTOM);
  EXPECT_EQ(t.OffsetY(), t.ClientHeight() - 1850);
  EXPECT_EQ(t.GetScrollPos(plat::SB_VERT), 1850 - t.ClientHeight());
}

TEST(TreeScroll, ScrollMessagesMoveTheOffset) {
  struct Case {
    int code;
    int start;
    int expected;  // with 100 rows of 18 in 180 pixels: offsets in [-1620, 0]
  };
  const Case cases[] = {
      {plat::SB_LINEDOWN, 0, -20},     {plat::SB_LINEUP, -100, -80},   {plat::SB_LINEUP, -10, 0},
      {plat::SB_PAGEDOWN, 0, -180},    {plat::SB_PAGEUP, -100, 0},     {plat::SB_TOP, -700, 0},
      {plat::SB_BOTTOM, 0, -1620},     {plat::SB_PAGEDOWN, -1600, -1620}, {9, -40, -40},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.tree->ScrollBarOptions().SetScrollBars(plat::ssNone);  // the client stays 180 high
    f.Rows(100);
    f.tree->SetOffsetY(c.start);
    f.Scroll(c.code);
    EXPECT_EQ(f.tree->OffsetY(), c.expected) << "code " << c.code << " from " << c.start;
  }
}

TEST(TreeScroll, ThumbTrackingFollowsTheFullTrackPosition) {
  Fixture f;
  f.Rows(10000);  // 180,000 pixels: beyond 16 bits
  f.tree->SetScrollPos(plat::SB_VERT, 100000);
  f.Scroll(plat::SB_THUMBPOSITION);
  EXPECT_TRUE(f.tree->TreeStates().Has(tsThumbTracking));
  EXPECT_EQ(f.tree->OffsetY(), -100000);
  f.Scroll(plat::SB_ENDSCROLL);
  EXPECT_FALSE(f.tree->TreeStates().Has(tsThumbTracking));
}

TEST(TreeScroll, WheelScrollsLinesPagesAndSideways) {
  Fixture f;
  TTestTree& t = *f.tree;
  t.nodeWidth = 900;
  f.Rows(100);
  t.UpdateScrollBars(true);
  const int lines = QApplication::wheelScrollLines();
  t.DoMouseWheel({}, -120, {});
  EXPECT_EQ(t.OffsetY(), -lines * 18);
  t.DoMouseWheel({plat::ssCtrl}, -120, {});
  EXPECT_EQ(t.OffsetY(), -lines * 18 - t.ClientHeight());
  t.DoMouseWheel({plat::ssShift}, -120, {});
  EXPECT_EQ(t.OffsetX(), -lines * 18);  // without columns a line sideways is the indent
  EXPECT_EQ(t.OffsetY(), -lines * 18 - t.ClientHeight());
}

TEST(TreeRects, DisplayRectsOfRowsAndTexts) {
  Fixture f;
  TTestTree& t = *f.tree;
  t.nodeWidth = 40;
  f.Rows(3);
  PLazyNode second = t.GetFirst()->NextSibling;
  t.SetChildCount(second, 2);
  t.ToggleNode(second);
  PLazyNode child = second->FirstChild;
  const int w = t.ClientWidth();
  struct Case {
    const char* name;
    PLazyNode node;
    bool textOnly;
    plat::TRect expected;
  };
  const Case cases[] = {
      {"first row", t.GetFirst(), false, plat::Rect(0, 0, w, 18)},
      {"child row", child, false, plat::Rect(0, 36, w, 54)},
      {"first text", t.GetFirst(), true, plat::Rect(4 + 18, 0, 4 + 18 + 40, 18)},
      {"child text", child, true, plat::Rect(4 + 36, 36, 4 + 36 + 40, 54)},
  };
  for (const Case& c : cases) EXPECT_EQ(t.GetDisplayRect(c.node, NoColumn, c.textOnly), c.expected) << c.name;
  t.SetOffsetY(-10);  // no scrolling room: clamped
  EXPECT_EQ(t.OffsetY(), 0);
  t.ToggleNode(second);
  EXPECT_EQ(t.GetDisplayRect(child, NoColumn, false), plat::TRect()) << "under a collapsed parent";
  t.SetVisible(t.GetFirst(), false);
  EXPECT_EQ(t.GetDisplayRect(t.GetFirst(), NoColumn, false), plat::TRect()) << "hidden";
  EXPECT_EQ(t.GetDisplayRect(second, NoColumn, false).Top, 0);
  EXPECT_THROW(t.GetDisplayRect(nullptr, NoColumn, false), ELazyTreeAssertion);
  EXPECT_THROW(t.GetDisplayRect(t.RootNode(), NoColumn, false), ELazyTreeAssertion);
}

TEST(TreeRects, TextRectsStartRightOfTheCheckBoxAndImages) {
  Fixture f;
  TTestTree& t = *f.tree;
  t.nodeWidth = 40;
  f.Rows(2);
  auto* images = new plat::TImageList(&f.form);  // 16 x 16
  images->AddImage(QImage(16, 16, QImage::Format_ARGB32));
  t.SetMiscOptions(t.TreeOptions().MiscOptions + TLTMiscOptions{toCheckSupport});
  const int check = t.CheckImagesInForce()->Width() + 2, image = 16 + 2, start = 4 + 18;  // margin and root indent
  struct Case {
    const char* name;
    bool checkBox, stateImage, normalImage;
    int left;
  } cases[] = {
      {"plain", false, false, false, start},
      {"check box", true, false, false, start + check},
      {"normal image", false, false, true, start + image},
      {"all three", true, true, true, start + check + 2 * image},
  };
  for (const Case& c : cases) {
    t.SetCheckType(t.GetFirst(), c.checkBox ? ctCheckBox : ctNone);
    t.SetImages(c.normalImage ? images : nullptr);
    t.SetStateImages(c.stateImage ? images : nullptr);
    t.OnGetImageIndex = [](auto*, PLazyNode, TLTImageKind, TColumnIndex, bool&, int& i) { i = 0; };
    EXPECT_EQ(t.GetDisplayRect(t.GetFirst(), NoColumn, true), plat::Rect(c.left, 0, c.left + 40, 18)) << c.name;
  }
  // In a right-to-left column the room is taken from the right and the text sits at the right.
  t.SetImages(nullptr);
  t.SetStateImages(nullptr);
  t.SetCheckType(t.GetFirst(), ctNone);
  TLazyTreeColumn* column = t.Header().Columns().Add();
  column->SetWidth(150);
  column->SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(t.GetDisplayRect(t.GetFirst(), 0, true), plat::Rect(150 - 1 - start - 40, 0, 150 - 1 - start, 18));
}

TEST(TreeRects, ScrollIntoViewCases) {
  struct Case {
    const char* name;
    int start;
    uint32_t row;
    bool center;
    bool result;
    int offset;
  };
  // 100 rows of 18 in 180 pixels (no bars).
  const Case cases[] = {
      {"in view", 0, 3, false, false, 0},
      {"in view, centred", -360, 25, true, true, -360 + 90 - (25 * 18 + 18 - 360)},
      {"below", 0, 20, false, true, 180 - 21 * 18},
      {"above", -720, 10, false, true, -180},
      {"above, centred", -720, 10, true, true, -180 + 90},
      {"centred at the start clamps", 0, 1, true, true, 0},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.tree->ScrollBarOptions().SetScrollBars(plat::ssNone);
    f.Rows(100);
    f.tree->SetOffsetY(c.start);
    PLazyNode n = f.tree->GetFirst();
    for (uint32_t i = 0; i < c.row; ++i) n = n->NextSibling;
    EXPECT_EQ(f.tree->ScrollIntoView(n, c.center), c.result) << c.name;
    EXPECT_EQ(f.tree->OffsetY(), c.offset) << c.name;
  }
}

TEST(TreeRects, TopNodeExpandsParentsAndIsClampedAtTheEnd) {
  Fixture f;
  TTestTree& t = *f.tree;
  t.ScrollBarOptions().SetScrollBars(plat::ssNone);
  f.Rows(50);
  PLazyNode p = t.GetFirst();
  for (int i = 0; i < 10; ++i) p = p->NextSibling;
  t.SetChildCount(p, 3);
  PLazyNode c = p->FirstChild->NextSibling;
  t.SetTopNode(c);
  EXPECT_TRUE(p->Has(vsExpanded));
  EXPECT_EQ(t.TopNode(), c);
  EXPECT_EQ(t.GetDisplayRect(c, NoColumn, false).Top, 0);
  t.SetTopNode(t.GetLast());
  EXPECT_EQ(t.OffsetY(), 180 - 53 * 18);
  EXPECT_EQ(t.BottomNode(), t.GetLast());
  t.SetBottomNode(c);
  EXPECT_EQ(t.GetDisplayRect(c, NoColumn, false).Bottom, 180);
}

TEST(TreeRects, ExpandingBringsTheNewRowsIntoView) {
  Fixture f;
  TTestTree& t = *f.tree;
  t.ScrollBarOptions().SetScrollBars(plat::ssNone);
  f.Rows(20);
  PLazyNode p = t.GetFirst();
  for (int i = 0; i < 8; ++i) p = p->NextSibling;  // row 8, top 144
  t.SetChildCount(p, 4);
  t.ToggleNode(p);  // 5 rows of 90 pixels fit: the last child comes into view
  EXPECT_EQ(t.GetDisplayRect(p->LastChild(), NoColumn, false).Bottom, 180);
  t.ToggleNode(p);
  t.SetOffsetY(0);
  t.SetChildCount(p, 30);  // too tall: the node goes to the top
  t.ToggleNode(p);
  EXPECT_EQ(t.TopNode(), p);
}

TEST(TreeCache, LookupsUseTheCacheOnceTheWorkerIsDone) {
  Fixture f;
  TTestTree& t = *f.tree;
  f.Rows(3000);
  for (int i = 0; i < 2000 && !t.TreeStates().Has(tsUseCache); ++i) {
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  ASSERT_TRUE(t.TreeStates().Has(tsUseCache));
  ASSERT_NE(t.PositionCache(), nullptr);
  EXPECT_EQ(t.PositionCache()->size(), 2u);
  t.SetOffsetY(-2500 * 18 - 5);
  PLazyNode n = t.GetFirst();
  for (int i = 0; i < 2500; ++i) n = n->NextSibling;
  int top = 0;
  EXPECT_EQ(t.GetNodeAt(0, 0, true, top), n);
  EXPECT_EQ(top, -5);
  EXPECT_EQ(t.GetDisplayRect(n, NoColumn, false).Top, -5);
}

TEST(TreeCache, ATreeDestroyedDuringItsBuildWaitsForTheWorker) {
  for (int i = 0; i < 5; ++i) {
    Fixture f;
    f.Rows(300000);
  }
  QCoreApplication::processEvents();  // notices posted for the destroyed trees are dropped
}

struct FakeProvider : ILTAccessibleProvider {
  int asked = 0;
  bool answer = true;
  QAccessibleInterface* CreateIAccessible(TBaseLazyTreeControl*) override {
    ++asked;
    return nullptr;  // the program has no accessible objects of its own
  }
};

TEST(TreeAccessibility, FactoryAsksProvidersAndTreeAnswersItemQueries) {
  Fixture f;
  TTestTree& t = *f.tree;
  TLTAccessibilityFactory& factory = TLTAccessibilityFactory::GetAccessibilityFactory();
  EXPECT_EQ(t.Accessibility().GetObject(), nullptr);  // no provider: nothing
  FakeProvider p0, p1, p2;
  factory.RegisterAccessibleProvider(&p0);
  factory.RegisterAccessibleProvider(&p0);
  EXPECT_EQ(factory.ProviderCount(), 1u);
  factory.RegisterAccessibleProvider(&p1);
  factory.RegisterAccessibleProvider(&p2);
  EXPECT_EQ(t.Accessibility().GetObject(), nullptr);
  EXPECT_EQ(p0.asked, 1);  // the tree's own object comes from provider 0
  EXPECT_EQ(t.Accessibility().GetObject(), nullptr);
  EXPECT_EQ(p0.asked, 2);
  factory.UnRegisterAccessibleProvider(&p0);
  factory.UnRegisterAccessibleProvider(&p1);
  factory.UnRegisterAccessibleProvider(&p2);
  EXPECT_EQ(factory.ProviderCount(), 0u);

  f.Rows(3);
  PLazyNode a = t.GetFirst();
  t.SetChildCount(a, 2);
  TTreeAccessibility& acc = t.Accessibility();
  EXPECT_EQ(acc.GetNextItem(TVGN_ROOT, nullptr), a);
  EXPECT_EQ(acc.GetNextItem(TVGN_PARENT, a), nullptr);
  EXPECT_EQ(acc.GetNextItem(TVGN_CHILD, a), a->FirstChild);
  EXPECT_EQ(acc.GetNextItem(TVGN_PARENT, a->FirstChild), a);
  EXPECT_EQ(acc.GetNextItem(TVGN_NEXT, a), a->NextSibling);
  EXPECT_EQ(acc.GetNextItem(TVGN_NEXTVISIBLE, a), a->NextSibling);
  EXPECT_EQ(acc.GetNextItem(TVGN_LASTVISIBLE, nullptr), t.GetLast(nullptr));
  EXPECT_EQ(acc.GetNextItem(TVGN_NEXT, nullptr), nullptr);
  EXPECT_EQ(acc.GetNextItem(42, a), nullptr);

  char16_t buffer[5];
  TTreeViewItem item;
  item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_CHILDREN | TVIF_STATE;
  item.hItem = a;
  item.pszText = buffer;
  item.cchTextMax = 5;
  ASSERT_TRUE(acc.GetItem(item));
  EXPECT_EQ(std::u16string(buffer), u"node");
  EXPECT_EQ(item.cChildren, 2);
  EXPECT_EQ(item.state, 0u);
  // Handles that are no nodes of this tree are refused.
  Fixture other;
  other.Rows(1);
  item.hItem = other.tree->GetFirst();
  EXPECT_FALSE(acc.GetItem(item));
  plat::TRect r;
  EXPECT_FALSE(acc.GetItemRect(other.tree->GetFirst(), false, r));
  EXPECT_TRUE(acc.GetItemRect(a->NextSibling, false, r));
  EXPECT_EQ(r.Top, 18);
}

// A window that can move its pixels: the toggle is shown in steps while the model still holds the old state.
class TAnimatedTree : public TTestTree {
 public:
  using TTestTree::TTestTree;
  PLazyNode watched = nullptr;
  int moves = 0, fills = 0, movedWhileChanged = 0;

 protected:
  bool CanAnimateToggle() const override { return true; }
  void ScrollWindowRect(const plat::TRect&, int, bool first) override {
    ++moves;
    if (first) ++fills;
    if (watched && watched->Has(vsExpanded) != expandedBefore) ++movedWhileChanged;
    EXPECT_TRUE(TreeStates().Has(tsInAnimation));
  }

 public:
  bool expandedBefore = false;
};

TEST(TreeToggle, AnimationRunsBeforeTheModelChangesAndEndsWhereAnInstantToggleDoes) {
  int finalOffset[2] = {0, 0};
  for (int animated = 0; animated < 2; ++animated) {
    plat::TForm form(nullptr);
    form.SetBounds(0, 0, 400, 400);
    auto* t = new TAnimatedTree(&form);
    t->SetParent(&form);
    t->SetBounds(0, 0, 200, 180);
    t->ScrollBarOptions().SetScrollBars(plat::ssNone);
    uint32_t clock = 0;
    t->SetAnimationClock([&] { return clock += 1; });
    t->SetAnimationDuration(animated ? 200 : 0);
    t->SetRootNodeCount(20);
    PLazyNode p = t->GetFirst();
    for (int i = 0; i < 8; ++i) p = p->NextSibling;
    t->SetChildCount(p, 4);
    t->watched = p;
    t->expandedBefore = false;
    t->ToggleNode(p);
    EXPECT_TRUE(p->Has(vsExpanded));
    EXPECT_EQ(t->moves > 0, animated == 1);
    EXPECT_EQ(t->fills, animated ? 1 : 0);
    EXPECT_EQ(t->movedWhileChanged, 0);
    EXPECT_FALSE(t->TreeStates().Has(tsInAnimation));
    finalOffset[animated] = t->OffsetY();
    // Inside an update nothing is animated.
    t->moves = 0;
    t->expandedBefore = true;
    t->BeginUpdate();
    t->ToggleNode(p);
    t->EndUpdate();
    EXPECT_EQ(t->moves, 0);
    EXPECT_FALSE(p->Has(vsExpanded));
  }
  EXPECT_EQ(finalOffset[0], finalOffset[1]);
}

TEST(TreeHeights, VariableHeightsAreMeasuredOnceThroughTheEvent) {
  Fixture f;
  TTestTree& t = *f.tree;
  int measured = 0;
  t.OnMeasureItem = [&](TBaseLazyTreeControl*, PLazyNode n, uint32_t& h) {
    ++measured;
    h = 10 + n->Index;
  };
  t.SetMiscOptions(t.TreeOptions().MiscOptions + TLTMiscOptions{toVariableNodeHeight});
  f.Rows(3);
  EXPECT_EQ(measured, 3);
  EXPECT_EQ(t.RangeY(), 10u + 11u + 12u);
  t.GetNodeHeight(t.GetFirst());
  EXPECT_EQ(measured, 3);
  EXPECT_EQ(testing::CheckTree(t), "");
}

TEST(TreeHeights, AFontChangeRaisesTheDefaultHeightButNeverLowersIt) {
  Fixture f;
  TTestTree& t = *f.tree;
  plat::TFont big;
  big.Assign(*t.Font());
  big.SetSize(40);
  t.SetFont(big);
  const uint32_t raised = t.DefaultNodeHeight();
  EXPECT_GT(raised, 18u);
  big.SetSize(6);
  t.SetFont(big);
  EXPECT_EQ(t.DefaultNodeHeight(), raised);
}

TEST(TreeWindow, PaintsItsBackgroundBesideItsBars) {
  Fixture f;
  f.Rows(100);
  f.tree->nodeWidth = 400;
  f.tree->UpdateScrollBars(true);
  const QImage image = f.tree->Widget()->grab().toImage();
  image.save(QStringLiteral(TEST_BINARY_DIR "/tree_window.png"));
  const int w = f.tree->ClientWidth(), h = f.tree->ClientHeight();
  ASSERT_TRUE(f.tree->ScrollBarVisible(plat::SB_VERT));
  ASSERT_TRUE(f.tree->ScrollBarVisible(plat::SB_HORZ));
  EXPECT_EQ(image.pixelColor(w / 2, h / 2), QColor(Qt::white));
  EXPECT_NE(image.pixelColor(w + 8, h / 2), QColor(Qt::white)) << "the vertical bar";
  EXPECT_NE(image.pixelColor(w / 2, h + 8), QColor(Qt::white)) << "the horizontal bar";
}

class TCursorTree : public TTestTree {
 public:
  using TTestTree::TTestTree;
  plat::TPoint cursor;

 protected:
  plat::TPoint CursorClientPos() const override { return cursor; }
};

TEST(TreeScroll, AutoScrollWhileARubberBandIsDrawn) {
  plat::TForm form(nullptr);
  auto* t = new TCursorTree(&form);
  t->SetParent(&form);
  t->SetBounds(0, 0, 200, 180);
  t->ScrollBarOptions().SetScrollBars(plat::ssNone);
  t->SetRootNodeCount(100);
  t->UpdateAutoScroll(50, 175);
  EXPECT_TRUE(t->ScrollDirections().Empty()) << "no rubber band, no auto-scroll";
  t->DoStateChange({tsDrawSelecting});
  t->UpdateAutoScroll(50, 175);
  EXPECT_TRUE(t->ScrollDirections().Empty()) << "toAutoScroll is off";
  t->SetAutoOptions(t->TreeOptions().AutoOptions + TLTAutoOptions{toAutoScroll});
  t->UpdateAutoScroll(50, 100);
  EXPECT_TRUE(t->ScrollDirections().Empty()) << "away from the edges";
  t->UpdateAutoScroll(50, 175);
  EXPECT_EQ(t->ScrollDirections(), TScrollDirections{sdDown});
  EXPECT_TRUE(t->TreeStates().Has(tsScrollPending));
  t->cursor = {50, 175};
  t->AutoScrollStep();
  EXPECT_EQ(t->OffsetY(), -20);
  t->cursor = {50, 200};  // below the window: the step grows with the distance
  t->AutoScrollStep();
  EXPECT_EQ(t->OffsetY(), -20 - 20 * 21);
  t->SetOffsetY(-1620);
  t->AutoScrollStep();  // at the end: the direction goes, and with it the scrolling states
  EXPECT_TRUE(t->ScrollDirections().Empty());
  EXPECT_FALSE(t->TreeStates().Has(tsScrollPending));
  t->UpdateAutoScroll(50, 5);
  EXPECT_EQ(t->ScrollDirections(), TScrollDirections{sdUp});
  t->UpdateAutoScroll(50, 90);
  EXPECT_FALSE(t->TreeStates().Has(tsScrollPending));
}

TEST(TreeWindow, ARemovedImageListIsForgottenEverywhere) {
  Fixture f;
  TTestTree& t = *f.tree;
  auto* list = new plat::TImageList(&f.form);
  list->SetWidth(16);
  list->SetHeight(16);
  t.SetImages(list);
  t.SetCustomCheckImages(list);
  t.SetCheckImageKind(ckCustom);
  QImage red(16, 16, QImage::Format_ARGB32);
  red.fill(Qt::red);
  list->AddImage(red);  // a change reaches the tree through its link without harm
  delete list;
  EXPECT_EQ(t.Images(), nullptr);
  EXPECT_EQ(t.CustomCheckImages(), nullptr);
  EXPECT_EQ(t.CheckImageKind(), ckSystemDefault);
  auto* other = new plat::TImageList(&f.form);
  t.SetStateImages(other);
  t.SetStateImages(nullptr);
  delete other;  // no longer linked: nothing to forget
  EXPECT_EQ(t.StateImages(), nullptr);
}

}  // namespace
}  // namespace lazytree
