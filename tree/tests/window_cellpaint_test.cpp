// Painting inside a cell: grid lines and their exceptions, band lines, the area below the rows, the drop
// target, the focus rectangle, alignment of the selection, the explorer look, the handler's content margins,
// empty cells, spanning texts over empty cells and the canvas font hook.
#include <QImage>

#include <gtest/gtest.h>

#include <vector>

#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/imagelist.h"
#include "platform/graphics/themes.h"
#include "tree/checkstate.h"
#include "tree/stringtree.h"
#include "tree/treecontrol.h"

namespace lazytree {
namespace {

using plat::TRect;

QRgb Rgb(plat::TColor c) { return plat::ToQColor(c).rgba(); }

// The content is a bar as wide as the node width; drop target and hot node are set directly.
class TCellTree : public TBaseLazyTreeControl {
 public:
  using TBaseLazyTreeControl::TBaseLazyTreeControl;
  int nodeWidth = 30;
  std::vector<TRect> contents;
  void SetDropTarget(PLazyNode Node) { FDropTargetNode = Node; }
  void SetHot(PLazyNode Node) { FHotNode = Node; }
  using TBaseLazyTreeControl::CellContentMargin;
  using TBaseLazyTreeControl::CellIsEmpty;

 protected:
  int DoGetNodeWidth(PLazyNode, TColumnIndex) override { return nodeWidth; }
  void PaintNodeContent(const TLTPaintInfo& Info) override { contents.push_back(Info.ContentRect); }
};

struct Fixture {
  plat::TForm form{nullptr};
  TCellTree* tree;
  explicit Fixture(std::vector<int> widths = {}) {
    form.SetBounds(0, 0, 500, 400);
    tree = new TCellTree(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 300, 200);
    tree->SetPaintOptions(tree->TreeOptions().PaintOptions - TLTPaintOptions{toShowTreeLines, toShowButtons});
    tree->Colors().SetGridLineColor(plat::clRed);
    for (int w : widths) tree->Header().Columns().Add()->SetWidth(w);
    tree->SetRootNodeCount(2);
  }
  void Options(TLTPaintOptions Add, TLTPaintOptions Remove = {}) {
    tree->SetPaintOptions(tree->TreeOptions().PaintOptions + Add - Remove);
  }
  QImage Paint(TRect window = TRect(0, 0, 300, 72), plat::TCanvas* canvas = nullptr) {
    QImage image(window.Width(), window.Height(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    plat::TCanvas own(&image);
    tree->PaintTree(canvas ? canvas : &own, window, {0, 0}, WindowPaintOptions);
    return image;
  }
};

// Pixels of a colour in a one-pixel column (x) or row (y) of the image between two bounds.
int ColumnCount(const QImage& image, int x, int top, int bottom, plat::TColor c) {
  int n = 0;
  for (int y = top; y < bottom; ++y) n += image.pixel(x, y) == Rgb(c);
  return n;
}
int RowCount(const QImage& image, int y, int left, int right, plat::TColor c) {
  int n = 0;
  for (int x = left; x < right; ++x) n += image.pixel(x, y) == Rgb(c);
  return n;
}

TEST(CellPaint, VerticalGridLinesAndTheirExceptions) {
  struct Case {
    const char* what;
    std::vector<int> widths;
    bool fixed, autoResize;
    std::vector<int> lines, noLines;  // x of the cells' last pixel columns
  } cases[] = {
      {"three columns", {60, 80, 40}, false, false, {59, 139, 179}, {}},
      {"the last column ends at the client's edge", {60, 80, 160}, false, false, {59, 139}, {299}},
      {"a fixed last column keeps its line there", {60, 80, 160}, true, false, {59, 139, 299}, {}},
      {"the auto-size column of hoAutoResize has none", {60, 80, 40}, false, true, {59, 139}, {299}},
  };
  for (const Case& c : cases) {
    Fixture f(c.widths);
    f.Options({toShowVertGridLines});
    TLTHeader& h = f.tree->Header();
    if (c.fixed)
      for (int i = 0; i < 3; ++i) h.Columns()[i]->SetOptions(h.Columns()[i]->Options() + TLTColumnOptions{coFixed});
    if (c.autoResize) {
      h.SetAutoSizeIndex(2);
      h.SetOptions(h.Options() + TLTHeaderOptions{hoAutoResize});
    }
    const QImage image = f.Paint();
    for (int x : c.lines) EXPECT_GE(ColumnCount(image, x, 0, 36, plat::clRed), 16) << c.what << " x " << x;
    for (int x : c.noLines) EXPECT_EQ(ColumnCount(image, x, 0, 36, plat::clRed), 0) << c.what << " x " << x;
    EXPECT_EQ(ColumnCount(image, 59, 40, 72, plat::clRed), 0) << c.what << ": nothing below the rows";
  }
}

TEST(CellPaint, AFullRowSelectionShowsBetweenTheDotsOfItsGridLines) {
  Fixture f({60, 80, 40});
  f.Options({toShowVertGridLines});
  f.tree->SetSelectionOptions(f.tree->TreeOptions().SelectionOptions + TLTSelectionOptions{toFullRowSelect});
  f.tree->Colors().SetUnfocusedSelectionColor(plat::clYellow);
  f.tree->AddToSelection(f.tree->GetFirst());
  const QImage image = f.Paint();
  EXPECT_EQ(ColumnCount(image, 59, 0, 18, plat::clRed) + ColumnCount(image, 59, 0, 18, plat::clYellow), 18);
  EXPECT_EQ(ColumnCount(image, 59, 18, 36, plat::clYellow), 0) << "the unselected row keeps the background";
}

TEST(CellPaint, FullVerticalGridLinesRunBelowTheRows) {
  for (bool full : {false, true}) {
    Fixture f({60, 80, 40});
    f.Options(full ? TLTPaintOptions{toShowVertGridLines, toFullVertGridLines} : TLTPaintOptions{toShowVertGridLines});
    f.tree->Header().Columns()[1]->SetColor(plat::clAqua);
    const QImage image = f.Paint();
    EXPECT_EQ(ColumnCount(image, 139, 40, 72, plat::clRed) >= 16, full);
    EXPECT_EQ(image.pixel(138, 60), Rgb(plat::clAqua)) << "the column's colour up to the line";
    if (full) {
      EXPECT_EQ(ColumnCount(image, 139, 40, 72, plat::clAqua), 0) << "the line's pixels are not filled over";
    }
    EXPECT_EQ(image.pixel(200, 60), Rgb(f.tree->Colors().BackGroundColor())) << "right of the columns";
  }
}

TEST(CellPaint, BandLinesStartAtTheNodesOwnLevel) {
  Fixture f;
  f.Options({toShowHorzGridLines});
  f.tree->SetLineMode(lmBands);
  f.tree->SetChildCount(f.tree->GetFirst(), 2);
  f.tree->ToggleNode(f.tree->GetFirst());
  const QImage image = f.Paint();
  // The first child's row (y 18..35) closes at y 35: right of its level (x 36 on) and in its own level's band,
  // but not under the parent's level.
  EXPECT_EQ(RowCount(image, 35, 2, 17, plat::clRed), 0);
  EXPECT_GT(RowCount(image, 35, 40, 100, plat::clRed), 20);
  Fixture normal;
  normal.Options({toShowHorzGridLines});
  normal.tree->SetChildCount(normal.tree->GetFirst(), 2);
  normal.tree->ToggleNode(normal.tree->GetFirst());
  EXPECT_GT(RowCount(normal.Paint(), 35, 2, 17, plat::clRed), 4) << "a normal grid line spans the row";
}

TEST(CellPaint, TheDropTargetIsFilledOnlyForADropOnIt) {
  struct Case {
    TDropMode mode;
    bool selected, filled;
  } cases[] = {{dmOnNode, false, true}, {dmAbove, false, false}, {dmBelow, true, true}};
  for (const Case& c : cases) {
    Fixture f;
    f.tree->Colors().SetDropTargetColor(plat::clLime);
    f.tree->Colors().SetDropTargetBorderColor(plat::clLime);
    PLazyNode node = f.tree->GetFirst();
    if (c.selected) f.tree->AddToSelection(node);
    f.tree->SetDropTarget(node);
    f.tree->SetLastDropMode(c.mode);
    const QImage image = f.Paint();
    const int x = 18 + 4 + 15;  // inside the 30-pixel content of a top-level node
    EXPECT_EQ(image.pixel(x, 9) == Rgb(plat::clLime), c.filled) << "mode " << int(c.mode);
  }
}

TEST(CellPaint, TheSelectionSitsWhereTheColumnAlignsItsContent) {
  for (plat::TAlignment a : {plat::taLeftJustify, plat::taRightJustify, plat::taCenter}) {
    Fixture f({100, 100});
    f.tree->Header().Columns()[1]->SetAlignment(a);
    f.tree->SetFocusedColumn(1);
    f.tree->Colors().SetUnfocusedSelectionColor(plat::clYellow);
    f.tree->Colors().SetUnfocusedSelectionBorderColor(plat::clYellow);
    f.tree->AddToSelection(f.tree->GetFirst());
    const QImage image = f.Paint();
    // Column 1's content runs from x 104 to 200; the 30-pixel selection lies at its left, right or centre.
    const int left = a == plat::taLeftJustify ? 104 : a == plat::taRightJustify ? 170 : (104 + 200 - 30) / 2;
    EXPECT_EQ(image.pixel(left + 15, 9), Rgb(plat::clYellow)) << int(a);
    EXPECT_NE(image.pixel(left - 3, 9), Rgb(plat::clYellow)) << int(a);
  }
}

TEST(CellPaint, TheFocusRectangleStaysInTheFocusedColumnOfAFullRow) {
  Fixture f({100, 100});
  f.tree->SetSelectionOptions(f.tree->TreeOptions().SelectionOptions + TLTSelectionOptions{toFullRowSelect});
  f.tree->SetFocusedNode(f.tree->GetFirst());
  f.tree->SetFocusedColumn(1);
  f.tree->SetPaintOptions(f.tree->TreeOptions().PaintOptions + TLTPaintOptions{toPopupMode});  // painted focused
  plat::TRecordingTracer tracer;
  QImage image(300, 72, QImage::Format_ARGB32);
  plat::TCanvas canvas(&image);
  canvas.SetTracer(&tracer);
  f.tree->PaintTree(&canvas, TRect(0, 0, 300, 72), {0, 0}, WindowPaintOptions + TLTInternalPaintOptions{poUnbuffered});
  const auto frames = tracer.OfKind(plat::TraceKind::FocusRect);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_GE(frames[0].Rect.Left, 100) << "in column 1 only";
}

TEST(CellPaint, TheExplorerLookDrawsItsItemStates) {
  struct Case {
    bool hotTrack, hot, selected, popup;
    int state;  // of the item element; 0: none drawn
  } cases[] = {{false, false, true, true, plat::TREIS_SELECTED},
               {false, false, true, false, plat::TREIS_SELECTEDNOTFOCUS},
               {true, true, false, false, plat::TREIS_HOT},
               {true, true, true, true, plat::TREIS_HOTSELECTED},
               {false, false, false, false, 0}};
  for (const Case& c : cases) {
    Fixture f;
    f.Options({toUseExplorerTheme, toThemeAware});
    ASSERT_TRUE(f.tree->TreeStates().Has(tsUseExplorerTheme));
    if (c.hotTrack) f.Options({toHotTrack});
    if (c.popup) f.Options({toPopupMode});
    PLazyNode node = f.tree->GetFirst();
    if (c.selected) f.tree->AddToSelection(node);
    if (c.hot) f.tree->SetHot(node);
    f.tree->SetFocusedNode(node->NextSibling);  // the focused row's own frame is tested below
    plat::TRecordingTracer tracer;
    QImage image(300, 72, QImage::Format_ARGB32);
    plat::TCanvas canvas(&image);
    canvas.SetTracer(&tracer);
    f.tree->PaintTree(&canvas, TRect(0, 0, 300, 72), {0, 0}, WindowPaintOptions + TLTInternalPaintOptions{poUnbuffered});
    std::vector<int> states;
    for (const auto& r : tracer.OfKind(plat::TraceKind::ThemePart))
      if (r.Text == QLatin1String("treeview") && (r.Flags & 0xFFFF) == plat::TVP_TREEITEM) states.push_back(int(r.Flags >> 16));
    EXPECT_EQ(states, c.state ? std::vector<int>{c.state} : std::vector<int>{}) << "case " << (&c - cases);
  }
  // The focused row is framed by the hot-and-selected item state when selected.
  Fixture f;
  f.Options({toUseExplorerTheme, toThemeAware, toPopupMode});
  f.tree->AddToSelection(f.tree->GetFirst());
  f.tree->SetFocusedNode(f.tree->GetFirst());
  plat::TRecordingTracer tracer;
  QImage image(300, 72, QImage::Format_ARGB32);
  plat::TCanvas canvas(&image);
  canvas.SetTracer(&tracer);
  f.tree->PaintTree(&canvas, TRect(0, 0, 300, 72), {0, 0}, WindowPaintOptions + TLTInternalPaintOptions{poUnbuffered});
  std::vector<int> states;
  for (const auto& r : tracer.OfKind(plat::TraceKind::ThemePart)) states.push_back(int(r.Flags >> 16));
  EXPECT_EQ(states, (std::vector<int>{plat::TREIS_SELECTED, plat::TREIS_HOTSELECTED}));
}

TEST(CellPaint, TheHandlerReportsContentMarginsAndEmptyCells) {
  Fixture f({100, 100});
  std::vector<TLTCellPaintMode> modes;
  f.tree->OnBeforeCellPaint = [&](auto*, auto*, PLazyNode, TColumnIndex, TLTCellPaintMode m, const TRect&, TRect& r) {
    modes.push_back(m);
    r.Left += 3, r.Top += 1, r.Right -= 5, r.Bottom -= 2;
  };
  PLazyNode node = f.tree->GetFirst();
  EXPECT_EQ(f.tree->CellContentMargin(node, 1, ccmtAllSides, nullptr), plat::TPoint(8, 3));
  EXPECT_EQ(f.tree->CellContentMargin(node, 1, ccmtTopLeftOnly, nullptr), plat::TPoint(3, 1));
  EXPECT_EQ(f.tree->CellContentMargin(node, 1, ccmtBottomRightOnly, nullptr), plat::TPoint(5, 2));
  EXPECT_EQ(modes, (std::vector<TLTCellPaintMode>(3, cpmGetContentMargin)));
  modes.clear();
  f.tree->contents.clear();
  f.Paint(TRect(0, 0, 300, 18));
  EXPECT_EQ(modes, (std::vector<TLTCellPaintMode>(2, cpmPaint)));
  ASSERT_EQ(f.tree->contents.size(), 2u);
  EXPECT_EQ(f.tree->contents[1].Right, 200 - 5) << "the content painter gets what the handler left";

  EXPECT_TRUE(f.tree->CellIsEmpty(node, 0));
  f.tree->OnGetCellIsEmpty = [](auto*, PLazyNode, TColumnIndex c, bool& empty) { empty = c != 0; };
  EXPECT_FALSE(f.tree->CellIsEmpty(node, 0));
  EXPECT_TRUE(f.tree->CellIsEmpty(node, 1));
}

TEST(CellPaint, AnOpenEditorTakesTheCellsSelectionAndContent) {
  Fixture f;
  PLazyNode node = f.tree->GetFirst();
  f.tree->Colors().SetUnfocusedSelectionColor(plat::clYellow);
  f.tree->AddToSelection(node);
  f.tree->SetFocusedNode(node);
  f.tree->DoStateChange({tsEditing});
  const QImage image = f.Paint();
  f.tree->DoStateChange({}, {tsEditing});
  EXPECT_EQ(RowCount(image, 9, 0, 300, plat::clYellow), 0);
  EXPECT_EQ(f.tree->contents.size(), 1u) << "only the other row's content";
}

TEST(CellPaint, AHotNodeShowsTheHotCheckImage) {
  Fixture f;
  f.tree->SetMiscOptions(f.tree->TreeOptions().MiscOptions + TLTMiscOptions{toCheckSupport});
  f.tree->SetCheckImageKind(ckLightCheck);
  PLazyNode node = f.tree->GetFirst();
  node->CheckType = ctCheckBox;
  node->CheckState = csCheckedNormal;
  plat::TRecordingTracer tracer;
  QImage image(300, 36, QImage::Format_ARGB32);
  plat::TCanvas canvas(&image);
  canvas.SetTracer(&tracer);
  const auto drawnIndex = [&] {
    tracer.Clear();
    f.tree->PaintTree(&canvas, TRect(0, 0, 300, 18), {0, 0}, WindowPaintOptions + TLTInternalPaintOptions{poUnbuffered});
    for (const auto& r : tracer.OfKind(plat::TraceKind::Draw))
      if (r.Text == QLatin1String("ImageList")) return int(r.Flags & 0xFFFF);
    return -1;
  };
  EXPECT_EQ(drawnIndex(), CheckImageIndex(ctCheckBox, csCheckedNormal, true, false));
  f.tree->SetHot(node);
  EXPECT_EQ(drawnIndex(), CheckImageIndex(ctCheckBox, csCheckedNormal, true, true));
}

TEST(CellPaint, TheFontHookNotesChangesAndHandsThemOn) {
  Fixture f;
  plat::TCanvas canvas;
  int own = 0;
  canvas.Font()->OnChange = [&](plat::TObject*) { ++own; };
  f.tree->HookCanvasFontChange(&canvas);
  f.tree->HookCanvasFontChange(&canvas);  // hooking twice keeps the first remembered handler
  f.tree->SetFontChanged(false);
  canvas.Font()->SetSize(20);
  EXPECT_TRUE(f.tree->FontChanged());
  EXPECT_EQ(own, 1);
  f.tree->UnhookCanvasFontChange(&canvas);
  f.tree->SetFontChanged(false);
  canvas.Font()->SetSize(21);
  EXPECT_FALSE(f.tree->FontChanged());
  EXPECT_EQ(own, 2) << "the font's own handler is back";
}

// A string tree's text runs on over the empty cells after it with toAutoSpanColumns.
TEST(CellPaint, TextsSpanEmptyCellsOnTheirRight) {
  for (bool span : {false, true}) {
    plat::TForm form(nullptr);
    form.SetBounds(0, 0, 500, 400);
    auto* tree = new TLazyStringTree(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 400, 200);
    for (int w : {80, 80, 80}) tree->Header().Columns().Add()->SetWidth(w);
    if (span) tree->SetAutoOptions(tree->TreeOptions().AutoOptions + TLTAutoOptions{toAutoSpanColumns});
    tree->OnGetText = [](TBaseLazyTree*, PLazyNode, TColumnIndex c, TLSTTextType, QString& t) {
      t = c == 0 ? QStringLiteral("A text longer than its own column is wide") : c == 2 ? QStringLiteral("C") : QString();
    };
    tree->SetRootNodeCount(1);
    plat::TRecordingTracer tracer;
    QImage image(400, 18, QImage::Format_ARGB32);
    plat::TCanvas canvas(&image);
    canvas.SetTracer(&tracer);
    tree->PaintTree(&canvas, TRect(0, 0, 400, 18), {0, 0}, WindowPaintOptions + TLTInternalPaintOptions{poUnbuffered});
    std::vector<TRect> rects;
    std::vector<QString> texts;
    for (const auto& r : tracer.OfKind(plat::TraceKind::DrawText)) {
      rects.push_back(r.Rect);
      texts.push_back(r.Text);
    }
    ASSERT_EQ(texts.size(), 2u) << span;
    EXPECT_EQ(texts[1], QStringLiteral("C"));
    EXPECT_EQ(rects[0].Right > 80, span) << "the first text's rectangle reaches into the empty cell";
    EXPECT_EQ(texts[0].endsWith(QStringLiteral("...")), true) << "still longer than two columns";
  }
}

// Without columns the horizontal range is the widest row in view: indentation, check box, images and content,
// plus the margin.
TEST(CellPaint, TheRangeWithoutColumnsCountsWhatARowShows) {
  Fixture f;
  TCellTree& t = *f.tree;
  const auto range = [&] {
    t.UpdateHorizontalRange();
    return static_cast<int>(t.RangeX());
  };
  EXPECT_EQ(range(), 18 + 30 + 4);
  t.SetMiscOptions(t.TreeOptions().MiscOptions + TLTMiscOptions{toCheckSupport});
  EXPECT_EQ(range(), 18 + 30 + 4) << "a node without a check type takes no check room";
  t.GetFirst()->CheckType = ctCheckBox;
  EXPECT_EQ(range(), 18 + 16 + 2 + 30 + 4);
  auto* images = new plat::TImageList(&f.form);
  t.SetImages(images);
  EXPECT_EQ(range(), 18 + 16 + 2 + 16 + 2 + 30 + 4);
  t.SetChildCount(t.GetFirst()->NextSibling, 1);
  t.ToggleNode(t.GetFirst()->NextSibling);
  t.GetFirst()->CheckType = ctNone;
  EXPECT_EQ(range(), 2 * 18 + 16 + 2 + 30 + 4) << "the child one level deeper";
}

// Invalidating children initialises what it repaints: the node itself, its children (all descendants when
// recursive), and makes the children of a node that has them still to come.
TEST(CellPaint, InvalidatingChildrenInitialisesWhatItRepaints) {
  for (bool recursive : {false, true}) {
    Fixture f;
    TCellTree& t = *f.tree;
    t.OnInitNode = [](TBaseLazyTree*, PLazyNode, PLazyNode, TLazyNodeInitStates& s) { s.Include(ivsHasChildren); };
    t.OnInitChildren = [&t](TBaseLazyTree*, PLazyNode n, uint32_t& count) { count = t.GetNodeLevel(n) < 3 ? 2 : 0; };
    t.SetChildCount(t.GetFirst(), 1);  // collapsed: its child is out of view and not initialised
    PLazyNode node = t.GetFirst()->FirstChild;
    ASSERT_FALSE(node->Has(vsInitialized));
    t.InvalidateChildren(node, recursive);
    EXPECT_TRUE(node->Has(vsInitialized));
    ASSERT_EQ(node->ChildCount, 2u) << "the children were made";
    EXPECT_EQ(node->FirstChild->Has(vsInitialized), recursive);
    EXPECT_EQ(node->FirstChild->ChildCount, recursive ? 2u : 0u) << "grandchildren made only by the recursive form";
  }
}

}  // namespace
}  // namespace lazytree
