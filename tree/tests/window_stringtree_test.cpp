// The string tree: asking for main and static texts, paths, the main column's width cache, CSV output with
// its quoting, shortening, and the painted texts.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

#include <map>
#include <string>
#include <vector>

#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "platform/rtl/exceptions.h"
#include "platform/graphics/imagelist.h"
#include "tree/stringtree.h"
#include "tree/treecolumns.h"

namespace lazytree {
namespace {

class TTestStringTree : public TLazyStringTree {
 public:
  using TLazyStringTree::TLazyStringTree;
  using TLazyStringTree::DoGetNodeWidth;
  using TLazyStringTree::DoShortenString;
};

// Each node's texts per column live in a map; every request is counted.
struct Fixture {
  plat::TForm form{nullptr};
  TTestStringTree* tree;
  std::map<std::pair<PLazyNode, int>, QString> texts;
  int requests = 0;
  Fixture() {
    form.SetBounds(0, 0, 500, 400);
    tree = new TTestStringTree(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 300, 200);
  }
  void UseTexts() {
    tree->OnGetText = [this](TBaseLazyTree*, PLazyNode n, TColumnIndex c, TLSTTextType type, QString& text) {
      ++requests;
      auto it = texts.find({n, c});
      if (it != texts.end()) text = type == ttNormal ? it->second : it->second + QStringLiteral(" (static)");
    };
  }
  PLazyNode Add(PLazyNode parent, std::initializer_list<QString> cells) {
    PLazyNode n = tree->AddChild(parent);
    int c = 0;
    for (const QString& s : cells) texts[{n, c++}] = s;
    if (cells.size() == 1) texts[{n, NoColumn}] = *cells.begin();
    return n;
  }
};

TEST(StringTree, TextsComeFromTheEventsOrTheDefault) {
  Fixture f;
  PLazyNode a = f.Add(nullptr, {"A"});
  EXPECT_EQ(f.tree->GetText(a, NoColumn), "Node");
  EXPECT_EQ(f.tree->GetStaticText(a, NoColumn), "");
  f.tree->SetDefaultText("Item");
  EXPECT_EQ(f.tree->GetText(a, NoColumn), "Item");
  f.UseTexts();
  EXPECT_EQ(f.tree->GetText(a, NoColumn), "A");
  EXPECT_EQ(f.requests, 2);  // the main text, then the static one
  EXPECT_EQ(f.tree->GetStaticText(a, NoColumn), "A (static)");
  EXPECT_TRUE(a->Has(vsInitialized));
  // The cell-text event takes over from the text event.
  f.tree->OnGetCellText = [](TCustomLazyStringTree*, TLSTGetCellTextEventArgs& e) {
    e.CellText = QStringLiteral("cell %1").arg(e.Column);
    e.StaticText = QStringLiteral("static");
  };
  f.requests = 0;
  EXPECT_EQ(f.tree->GetText(a, 3), "cell 3");
  EXPECT_EQ(f.tree->GetStaticText(a, 3), "static");
  EXPECT_EQ(f.requests, 0);
  EXPECT_THROW(f.tree->GetText(nullptr, 0), plat::EAssertionFailed);
  EXPECT_THROW(f.tree->GetStaticText(nullptr, 0), plat::EAssertionFailed);
}

TEST(StringTree, PathsAndNewTexts) {
  Fixture f;
  f.UseTexts();
  PLazyNode a = f.Add(nullptr, {"A"});
  PLazyNode b = f.Add(a, {"B"});
  EXPECT_EQ(f.tree->Path(b, 0, '\\'), "A\\B\\");
  EXPECT_EQ(f.tree->Path(a, 0, '/'), "A/");
  EXPECT_EQ(f.tree->Path(nullptr, 0, '/'), "/");
  EXPECT_EQ(f.tree->Path(f.tree->RootNode(), 0, '/'), "/");
  std::vector<QString> news;
  f.tree->OnNewText = [&](TBaseLazyTree*, PLazyNode n, TColumnIndex c, const QString& s) {
    EXPECT_EQ(n, b);
    EXPECT_EQ(c, 0);
    news.push_back(s);
  };
  f.tree->SetText(b, 0, "new");
  EXPECT_EQ(news, std::vector<QString>{"new"});
}

TEST(StringTree, MainColumnWidthIsMeasuredOnceUntilTheNodeIsInvalidated) {
  Fixture f;
  f.UseTexts();
  PLazyNode a = f.Add(nullptr, {"Some text"});
  const int w = f.tree->DoGetNodeWidth(a, NoColumn);
  EXPECT_GT(w, 2 * f.tree->TextMargin());
  EXPECT_EQ(f.tree->TextWidthCache(a), w);
  const int asked = f.requests;
  EXPECT_EQ(f.tree->DoGetNodeWidth(a, NoColumn), w);
  EXPECT_EQ(f.requests, asked);
  // A longer text shows only once the cached width is dropped.
  f.texts[{a, NoColumn}] = "Some much longer text";
  EXPECT_EQ(f.tree->DoGetNodeWidth(a, NoColumn), w);
  f.tree->InvalidateNode(a);
  EXPECT_EQ(f.tree->TextWidthCache(a), 0);
  const int longer = f.tree->DoGetNodeWidth(a, NoColumn);
  EXPECT_GT(longer, w);
  f.tree->ReinitNode(a, false);
  EXPECT_EQ(f.tree->TextWidthCache(a), 0);
  EXPECT_EQ(f.tree->TextWidthCache(f.tree->RootNode()), 0);
  // An empty text is just the margins; a measuring handler has the last word.
  f.texts[{a, NoColumn}] = "";
  f.tree->InvalidateNode(a);
  EXPECT_EQ(f.tree->DoGetNodeWidth(a, NoColumn), 2 * f.tree->TextMargin());
  f.texts[{a, NoColumn}] = "x";
  f.tree->InvalidateNode(a);
  f.tree->OnMeasureTextWidth = [](TBaseLazyTree*, plat::TCanvas*, PLazyNode, TColumnIndex, const QString&, int& e) {
    e = 100;
  };
  EXPECT_EQ(f.tree->DoGetNodeWidth(a, NoColumn), 100 + 2 * f.tree->TextMargin());
}

TEST(StringTree, ShorteningAsksTheHandlerFirst) {
  Fixture f;
  PLazyNode a = f.Add(nullptr, {"A"});
  plat::TCanvas* c = f.tree->Canvas();
  c->SetFont(*f.tree->Font());
  const QString s = QStringLiteral("A rather long piece of text");
  const QString shortened = f.tree->DoShortenString(c, a, 0, s, c->TextWidth(s) / 2);
  EXPECT_TRUE(shortened.endsWith("...")) << shortened.toStdString();
  EXPECT_LE(c->TextWidth(shortened), c->TextWidth(s) / 2);
  f.tree->OnShortenString = [](TBaseLazyTree*, plat::TCanvas*, PLazyNode, TColumnIndex, const QString&, int,
                               QString& result, bool& done) {
    result = "mine";
    done = true;
  };
  EXPECT_EQ(f.tree->DoShortenString(c, a, 0, s, 10), "mine");
}

QString ReadFile(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  return QString::fromUtf8(file.readAll());
}

TEST(StringTreeCsv, QuotesEveryCellAndWritesTopLevelNodesOnly) {
  Fixture f;
  f.UseTexts();
  QTemporaryDir dir;
  const QString path = dir.filePath("out.csv");
  EXPECT_FALSE(f.tree->SaveToCSVFile("", true));
  EXPECT_TRUE(QDir(dir.path()).isEmpty());

  // Without columns every line is empty.
  PLazyNode a = f.Add(nullptr, {"a"});
  f.Add(a, {"child"});
  f.Add(nullptr, {"b"});
  ASSERT_TRUE(f.tree->SaveToCSVFile(path, true));
  EXPECT_EQ(ReadFile(path), "\r\n\r\n\r\n");

  TLazyTreeColumns& cols = f.tree->Header().Columns();
  const char* captions[] = {"Name", "Say \"hi\"", ""};
  for (const char* caption : captions) cols.Add()->SetText(caption);
  f.tree->Clear();
  f.texts.clear();
  struct Row {
    QString cells[3];
  };
  const Row rows[] = {
      {{"plain", "with, comma", "x"}},
      {{"\"quoted\"", "", "two\nlines"}},
      {{"", "", ""}},
  };
  for (const Row& r : rows) {
    PLazyNode n = f.Add(nullptr, {r.cells[0], r.cells[1], r.cells[2]});
    f.Add(n, {"hidden child", "", ""});
  }
  ASSERT_TRUE(f.tree->SaveToCSVFile(path, true));
  EXPECT_EQ(ReadFile(path),
            "\"Name\",\"Say \"\"hi\"\"\",\"\"\r\n"
            "\"plain\",\"with, comma\",\"x\"\r\n"
            "\"\"\"quoted\"\"\",\" \",\"two\nlines\"\r\n"
            "\" \",\" \",\" \"\r\n");
  ASSERT_TRUE(f.tree->SaveToCSVFile(path, false));
  EXPECT_TRUE(ReadFile(path).startsWith("\"plain\""));
}

TEST(StringTreeCsv, AFailedSaveLeavesNoPartialFile) {
  Fixture f;
  QTemporaryDir dir;
  const QString missing = dir.filePath("no/such/folder/out.csv");
  EXPECT_THROW(f.tree->SaveToCSVFile(missing, true), plat::Exception);
  EXPECT_FALSE(QFile::exists(missing));
  // A folder in the way stays a folder.
  QDir(dir.path()).mkdir("taken");
  EXPECT_THROW(f.tree->SaveToCSVFile(dir.filePath("taken"), true), plat::Exception);
  EXPECT_TRUE(QFileInfo(dir.filePath("taken")).isDir());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 0);
}

// A write that fails halfway (here: the disk refuses more bytes) keeps the old file as it was.
TEST(StringTreeCsv, AFailedWriteKeepsTheOldFileWhole) {
  Fixture f;
  f.UseTexts();
  f.tree->Header().Columns().Add()->SetText("Name");
  for (int i = 0; i < 200; ++i) f.Add(nullptr, {QStringLiteral("meter %1 with a long enough caption").arg(i)});
  QTemporaryDir dir;
  const QString path = dir.filePath("out.csv");
  {
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old content\r\n");
  }
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  void (*savedSignal)(int) = signal(SIGXFSZ, SIG_IGN);  // the write fails with an error instead of a signal
  rlimit limit = saved;
  limit.rlim_cur = 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  bool thrown = false;
  try {
    f.tree->SaveToCSVFile(path, true);
  } catch (const plat::Exception&) {
    thrown = true;
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, savedSignal);
  EXPECT_TRUE(thrown);
  EXPECT_EQ(ReadFile(path), "old content\r\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.csv"});  // no temporary file left behind
  // Without the limit the same save replaces the file.
  ASSERT_TRUE(f.tree->SaveToCSVFile(path, true));
  EXPECT_TRUE(ReadFile(path).startsWith("\"Name\"\r\n\"meter 0 with"));
}

THitInfo HitAt(TCustomLazyStringTree& t, int x, int y) {
  THitInfo h;
  t.GetHitTestInfoAt(x, y, true, h);
  return h;
}

TEST(StringTreeHits, ColumnsSpansImagesAndReadingOrder) {
  Fixture f;
  f.UseTexts();
  TLazyTreeColumns& cols = f.tree->Header().Columns();
  for (int i = 0; i < 3; ++i) cols.Add()->SetWidth(100);
  PLazyNode a = f.Add(nullptr, {"abc", "", "z"});
  f.tree->SetPaintOptions(f.tree->TreeOptions().PaintOptions - TLTPaintOptions{toShowRoot});
  THitInfo h = HitAt(*f.tree, 150, 5);
  EXPECT_EQ(h.HitNode, a);
  EXPECT_EQ(h.HitColumn, 1);
  // With spanning the empty middle cell belongs to the first one, where the point lies right of the text.
  f.tree->SetAutoOptions(f.tree->TreeOptions().AutoOptions + TLTAutoOptions{toAutoSpanColumns});
  h = HitAt(*f.tree, 150, 5);
  EXPECT_EQ(h.HitColumn, 0);
  EXPECT_TRUE(h.HitPositions.Has(hiOnItemRight));
  EXPECT_EQ(HitAt(*f.tree, 250, 5).HitColumn, 2);
  EXPECT_EQ(HitAt(*f.tree, 301, 5).HitPositions, (THitPositions{hiToRight}));
  // The text of the first cell starts after the margin.
  EXPECT_TRUE(HitAt(*f.tree, f.tree->Margin() + 2, 5).HitPositions.Has(hiOnItemLabel));
  // A normal image takes its place before the text.
  auto* list = new plat::TImageList(&f.form);
  list->SetWidth(16);
  list->SetHeight(16);
  QImage red(16, 16, QImage::Format_ARGB32);
  red.fill(Qt::red);
  list->AddImage(red);
  f.tree->SetImages(list);
  f.tree->OnGetImageIndex = [](TBaseLazyTreeControl*, PLazyNode, TLTImageKind kind, TColumnIndex c, bool&, int& i) {
    if (kind != ikOverlay && c == 0) i = 0;
  };
  EXPECT_TRUE(HitAt(*f.tree, f.tree->Margin() + 2, 5).HitPositions.Has(hiOnNormalIcon));
  EXPECT_TRUE(HitAt(*f.tree, f.tree->Margin() + 20, 5).HitPositions.Has(hiOnItemLabel));
  // A right-to-left column counts from its right edge.
  cols[2]->SetBiDiMode(bdRightToLeft);
  EXPECT_TRUE(HitAt(*f.tree, 298, 5).HitPositions.Has(hiOnItemLabel));
  EXPECT_TRUE(HitAt(*f.tree, 210, 5).HitPositions.Has(hiOnItemLeft));
}

QImage PaintTree(TCustomLazyStringTree& t, int w, int h) {
  QImage image(w, h, QImage::Format_ARGB32);
  image.fill(Qt::white);
  plat::TCanvas canvas(&image);
  t.PaintTree(&canvas, plat::TRect(0, 0, w, h), {0, 0}, WindowPaintOptions);
  if (qEnvironmentVariableIsSet("TREE_SHOTS")) image.save(qEnvironmentVariable("TREE_SHOTS") + "/stringtree.png");
  return image;
}

// Dark pixels (text) in the columns [x0, x1) of a row band.
int Ink(const QImage& image, int x0, int x1, int y0, int y1) {
  int ink = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) ink += qGray(image.pixel(x, y)) < 128;
  return ink;
}

TEST(StringTreePaint, MainAndStaticTextsWithShortening) {
  Fixture f;
  f.UseTexts();
  f.tree->Font()->SetName("DejaVu Sans");
  f.tree->Font()->SetHeight(-12);
  PLazyNode a = f.Add(nullptr, {"Alpha"});
  f.Add(a, {"Beta"});
  f.tree->SetExpanded(a, true);
  const int textRight = f.tree->GetDisplayRect(a, NoColumn, true).Left + f.tree->DoGetNodeWidth(a, NoColumn);
  QImage image = PaintTree(*f.tree, 300, 60);
  EXPECT_GT(Ink(image, 0, textRight, 0, 18), 10);
  EXPECT_EQ(Ink(image, textRight + 2, 300, 0, 18), 0) << "no static text by default";
  f.tree->SetStringOptions(f.tree->StringOptions() + TLTStringOptions{toShowStaticText});
  image = PaintTree(*f.tree, 300, 60);
  EXPECT_GT(Ink(image, textRight + 2, 300, 0, 18), 10) << "the static text follows the main one";

  // A right-aligned column too narrow for its text: shortened, ending at the column's right edge.
  f.tree->SetStringOptions(f.tree->StringOptions() - TLTStringOptions{toShowStaticText});
  TLazyTreeColumns& cols = f.tree->Header().Columns();
  cols.Add()->SetWidth(120);
  cols.Add()->SetWidth(60);
  cols[1]->SetAlignment(plat::taRightJustify);
  f.texts[{a, 0}] = "Alpha";
  f.texts[{a, 1}] = "A very long text indeed";
  image = PaintTree(*f.tree, 300, 60);
  EXPECT_GT(Ink(image, 150, 176, 0, 18), 5);
  EXPECT_EQ(Ink(image, 180, 300, 0, 18), 0) << "nothing beyond the narrow column";

  // Shortened text keeps a right alignment and gives up centring (it starts at the left then); each time the
  // handler is asked first.
  int asked = 0;
  f.tree->OnShortenString = [&](TBaseLazyTree*, plat::TCanvas*, PLazyNode, TColumnIndex, const QString&, int,
                                QString&, bool&) { ++asked; };
  const int margin = f.tree->TextMargin();
  auto inkSpan = [](const QImage& img, int x0, int x1) {
    int first = -1, last = -1;
    for (int x = x0; x < x1; ++x)
      if (Ink(img, x, x + 1, 0, 18) > 0) {
        if (first < 0) first = x;
        last = x;
      }
    return std::pair{first, last};
  };
  std::map<plat::TAlignment, std::pair<int, int>> spans;
  for (plat::TAlignment align : {plat::taRightJustify, plat::taCenter, plat::taLeftJustify}) {
    cols[1]->SetAlignment(align);
    asked = 0;
    image = PaintTree(*f.tree, 300, 60);
    spans[align] = inkSpan(image, 120, 180);
    EXPECT_EQ(asked, 1) << "alignment " << align;
  }
  EXPECT_EQ(spans[plat::taCenter], spans[plat::taLeftJustify]);
  EXPECT_GE(spans[plat::taRightJustify].second, 180 - margin - 3);
  EXPECT_GT(spans[plat::taRightJustify].first, spans[plat::taLeftJustify].first);
}

// Painting the same page again and again gives the same pixels: the texts come from Qt's drawing the first
// time, from kept glyphs the second and from copies of earlier drawings after that, in plain, selected,
// shortened and right-aligned cells, through the row image and straight onto the target.
TEST(StringTreePaint, RepaintingGivesTheSamePixelsEveryTime) {
  for (const bool buffered : {true, false}) {
    SCOPED_TRACE(buffered ? "row image" : "straight onto the target");
    Fixture f;
    f.UseTexts();
    TTestStringTree& t = *f.tree;
    t.Font()->SetName("DejaVu Sans");
    t.Font()->SetHeight(-12);
    TLazyTreeColumns& cols = t.Header().Columns();
    cols.Add()->SetWidth(110);
    cols.Add()->SetWidth(50);
    cols.Add()->SetWidth(90);
    cols[2]->SetAlignment(plat::taRightJustify);
    PLazyNode a = f.Add(nullptr, {"Repainted", "a text far too long", "right"});
    f.Add(a, {"Child jolly", "Wj", "\u00dcber"});
    PLazyNode b = f.Add(nullptr, {"Selected row", "sel", "and more"});
    t.SetExpanded(a, true);
    t.SetSelected(b, true);
    TLTInternalPaintOptions options = WindowPaintOptions;
    if (!buffered) options.Include(poUnbuffered);
    auto paint = [&] {
      QImage image(300, 80, QImage::Format_ARGB32_Premultiplied);
      image.fill(Qt::white);
      plat::TCanvas canvas(&image);
      t.PaintTree(&canvas, plat::TRect(0, 0, 300, 80), {0, 0}, options);
      return image;
    };
    const QImage first = paint();
    for (int time = 2; time <= 5; ++time) ASSERT_EQ(paint(), first) << "painting " << time;
  }
}

// The first and last x in [x0, x1) of row y whose pixel has the given colour, or (-1, -1).
std::pair<int, int> ColourSpan(const QImage& image, int x0, int x1, int y, QRgb colour) {
  int first = -1, last = -1;
  for (int x = x0; x < x1; ++x)
    if (image.pixel(x, y) == colour) {
      if (first < 0) first = x;
      last = x;
    }
  return {first, last};
}

TEST(StringTreePaint, RightToLeftColumnsMirrorTheAlignmentOfTextAndSelection) {
  // A right-to-left column puts left-aligned text at its right edge and right-aligned text at its left; the
  // selection bar, the text rectangle and the drawn text must land in the same place.
  enum TSide { sdLeftSide, sdCentre, sdRightSide };
  struct Case {
    plat::TAlignment Alignment;
    TBiDiMode BiDi;
    TSide Side;
  };
  const Case cases[] = {
      {plat::taLeftJustify, bdLeftToRight, sdLeftSide},  {plat::taRightJustify, bdLeftToRight, sdRightSide},
      {plat::taCenter, bdLeftToRight, sdCentre},         {plat::taLeftJustify, bdRightToLeft, sdRightSide},
      {plat::taRightJustify, bdRightToLeft, sdLeftSide}, {plat::taCenter, bdRightToLeft, sdCentre},
  };
  const int width = 200, rowHeight = 18;
  const QRgb selection = qRgb(255, 224, 128);
  QImage shot(width, rowHeight * 6, QImage::Format_ARGB32);
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "alignment " << c.Alignment << ", bidi " << int(c.BiDi));
    Fixture f;
    f.UseTexts();
    TTestStringTree& t = *f.tree;
    t.Font()->SetName("DejaVu Sans");
    t.Font()->SetHeight(-12);
    t.SetPaintOptions(t.TreeOptions().PaintOptions - TLTPaintOptions{toShowRoot});
    t.Colors().SetUnfocusedSelectionColor(plat::FromQColor(QColor(selection)));
    t.Colors().SetUnfocusedSelectionBorderColor(plat::FromQColor(QColor(selection)));
    TLazyTreeColumn* column = t.Header().Columns().Add();
    column->SetWidth(width);
    column->SetAlignment(c.Alignment);
    column->SetBiDiMode(c.BiDi);
    PLazyNode a = f.Add(nullptr, {"Alpha"});
    t.SetSelected(a, true);
    const QImage image = PaintTree(t, width + 40, rowHeight);
    for (int y = 0; y < rowHeight; ++y)
      for (int x = 0; x < width; ++x) shot.setPixel(x, row * rowHeight + y, image.pixel(x, y));
    ++row;

    const auto [selLeft, selLast] = ColourSpan(image, 0, width, 1, selection);
    ASSERT_GE(selLeft, 0) << "the selected node shows its selection";
    const int nodeWidth = t.DoGetNodeWidth(a, 0);
    EXPECT_EQ(selLast + 1 - selLeft, nodeWidth) << "the selection is as wide as the text";
    // The text lies inside the selection, away from its edges by the text margin.
    std::pair<int, int> ink{-1, -1};
    for (int x = 0; x < width; ++x)
      if (Ink(image, x, x + 1, 0, rowHeight) > 0) {
        if (ink.first < 0) ink.first = x;
        ink.second = x;
      }
    ASSERT_GE(ink.first, 0);
    EXPECT_GE(ink.first, selLeft + t.TextMargin() - 1);
    EXPECT_LE(ink.second, selLast - t.TextMargin() + 1);
    // The text rectangle that hit testing and editing use is the selection's (it measures from a column
    // rectangle one pixel narrower, so a right or centred text may sit one pixel further left).
    const plat::TRect text = t.GetDisplayRect(a, 0, true);
    EXPECT_NEAR(text.Left, selLeft, 1);
    EXPECT_NEAR(text.Right, selLast + 1, 1);
    const int middle = (selLeft + selLast + 1) / 2;
    switch (c.Side) {
      case sdLeftSide: EXPECT_LT(middle, width / 3); break;
      case sdCentre: EXPECT_NEAR(middle, width / 2, 2); break;
      case sdRightSide: EXPECT_GT(middle, 2 * width / 3); break;
    }
  }
  if (qEnvironmentVariableIsSet("TREE_SHOTS"))
    shot.save(qEnvironmentVariable("TREE_SHOTS") + "/stringtree_alignment_bidi.png");
}

TEST(StringTree, ANewFontDropsEveryMeasuredWidth) {
  Fixture f;
  f.UseTexts();
  PLazyNode a = f.Add(nullptr, {"Some text"});
  PLazyNode b = f.Add(a, {"More"});
  f.tree->Font()->SetHeight(-12);
  const int small = f.tree->DoGetNodeWidth(a, NoColumn);
  f.tree->DoGetNodeWidth(b, NoColumn);
  ASSERT_NE(f.tree->TextWidthCache(b), 0);
  const int smallHeight = f.tree->TextHeight();
  f.tree->Font()->SetHeight(-24);
  EXPECT_EQ(f.tree->TextWidthCache(a), 0);
  EXPECT_EQ(f.tree->TextWidthCache(b), 0);
  EXPECT_GT(f.tree->TextHeight(), smallHeight);
  EXPECT_GT(f.tree->DoGetNodeWidth(a, NoColumn), small);
}

TEST(StringTree, SettingEveryStateShowsTheBusyCursor) {
  Fixture f;
  PLazyNode a = f.Add(nullptr, {"A"});
  a->CheckType = ctCheckBox;
  std::vector<plat::TCursor> seen;
  f.tree->OnChecking = [&](TBaseLazyTree*, PLazyNode, TCheckState&, bool&) { seen.push_back(plat::Screen->Cursor()); };
  f.tree->SetCheckStateForAll(csCheckedNormal, false, false);
  EXPECT_EQ(seen, std::vector<plat::TCursor>{plat::crHourGlass});
  EXPECT_EQ(plat::Screen->Cursor(), plat::crDefault);
  EXPECT_EQ(a->CheckState, csCheckedNormal);
}

TEST(StringTree, RestoresASelectionByText) {
  Fixture f;
  f.UseTexts();
  f.tree->SetSelectionOptions(f.tree->TreeOptions().SelectionOptions + TLTSelectionOptions{toMultiSelect, toRestoreSelection});
  PLazyNode a = f.Add(nullptr, {"Alpha"});
  PLazyNode b = f.Add(nullptr, {"Beta"});
  f.tree->AddToSelection(a);
  f.tree->AddToSelection(b);
  ASSERT_NE(f.tree->PreviouslySelected(), nullptr);
  EXPECT_EQ(f.tree->PreviouslySelected()->size(), 2u);
  f.tree->RemoveFromSelection(b);
  EXPECT_EQ(f.tree->PreviouslySelected()->size(), 1u);
  // A new node with a remembered text, in any case, is selected again; others are not.
  PLazyNode other = f.tree->AddChild(nullptr);
  EXPECT_FALSE(other->Has(vsSelected));
  // Rebuilding the tree brings the remembered selection back.
  f.tree->Clear();
  f.tree->OnGetText = [](TBaseLazyTree*, PLazyNode, TColumnIndex, TLSTTextType, QString& t) { t = "ALPHA"; };
  PLazyNode back = f.tree->AddChild(nullptr);
  EXPECT_TRUE(back->Has(vsSelected));
  EXPECT_FALSE(f.tree->TreeStates().Has(tsPreviouslySelectedLocked));
  // Without the option nothing is remembered.
  Fixture g;
  g.UseTexts();
  g.tree->AddToSelection(g.Add(nullptr, {"x"}));
  EXPECT_EQ(g.tree->PreviouslySelected(), nullptr);
}

TEST(StringTree, MultilineNodesAndHeights) {
  Fixture f;
  f.UseTexts();
  TLazyTreeColumns& cols = f.tree->Header().Columns();
  cols.Add()->SetWidth(80);
  cols.Add()->SetWidth(140);
  PLazyNode a = f.Add(nullptr, {"first words here", "second"});
  f.tree->SetMultiline(a, true);
  EXPECT_EQ(f.tree->DoGetNodeWidth(a, 1), 140) << "a multi-line node is as wide as its column";
  f.tree->SetMultiline(a, false);
  EXPECT_LT(f.tree->DoGetNodeWidth(a, 1), 140);
  // Wrapped into a narrow column the text takes more lines than on one line.
  const int single = f.tree->ComputeNodeHeight(nullptr, a, 0);
  f.tree->SetMultiline(a, true);
  EXPECT_GT(f.tree->ComputeNodeHeight(nullptr, a, 0), single);
  EXPECT_EQ(f.tree->ComputeNodeHeight(nullptr, a, 1, "x"), single);
}

}  // namespace
}  // namespace lazytree
