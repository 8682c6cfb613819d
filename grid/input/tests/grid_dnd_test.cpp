// Drag and drop: the byte layouts and protocol answers of the drag layer, the drop target's choices, hostile
// dropped data, and drags between two grids in one process (the drag loop replaced by one that sends Qt's
// drag events to the target grid's window).
#include "grid/input/grid_dnd.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

#include "grid/extgrid.h"
#include "grid/input/grid_dnd_grid.h"
#include "platform/forms/clipboard.h"
#include "platform/forms/forms.h"
#include "platform/forms/stdctrls.h"

namespace grid {
namespace {

using R = TDragResult;

QString Mime(const char* Format) { return plat::MimeTypeOfClipboardFormat(Format); }

TEST(DragLayer, BlocksHaveTheirLayouts) {
  QByteArray stream(100, '\0');
  for (int i = 0; i < 100; ++i) stream[i] = char(i * 7);
  const TSourceDataObject data("abc", &stream, 5, "{\\rtf1 x}");
  QByteArray b;
  ASSERT_EQ(data.GetData(kFormatCells, b), R::S_OK);
  ASSERT_EQ(b.size(), 108);
  EXPECT_EQ(b.left(8), QByteArray("\x64\0\0\0\0\0\0\0", 8));
  EXPECT_EQ(b.mid(8), stream);
  EXPECT_EQ(CellsPayload(b), stream);
  ASSERT_EQ(data.GetData(kFormatText, b), R::S_OK);
  EXPECT_EQ(b, QByteArray("abc\0", 4));
  ASSERT_EQ(data.GetData(kFormatUnicodeText, b), R::S_OK);
  EXPECT_EQ(b, QByteArray("a\0b\0c\0\0\0", 8));
  ASSERT_EQ(data.GetData(kFormatColumn, b), R::S_OK);
  EXPECT_EQ(b, QByteArray("\x05\0\0\0", 4));
  SetRTFDropEnabled(false);
  EXPECT_EQ(data.GetData(kFormatRTF, b), R::DV_E_FORMATETC);
  EXPECT_TRUE(b.isEmpty());
  SetRTFDropEnabled(true);
  EXPECT_EQ(data.GetData(kFormatRTF, b), R::S_OK);
  EXPECT_EQ(b, QByteArray("{\\rtf1 x}\0", 10));
  SetRTFDropEnabled(false);
  const TSourceDataObject empty("", nullptr, -1, "");
  for (const char* f : {kFormatText, kFormatUnicodeText, kFormatColumn, kFormatCells, "Other"})
    EXPECT_EQ(empty.QueryGetData(f), R::DV_E_FORMATETC) << f;
}

TEST(DragLayer, TheEnumeratorListsThreeFourOrFiveFormats) {
  TSourceEnumFormatEtc plain(false, false);
  QStringList got;
  int fetched = 0;
  EXPECT_EQ(plain.Next(10, got, &fetched), R::S_FALSE);
  EXPECT_EQ(got, (QStringList{kFormatText, kFormatUnicodeText, kFormatRTF}));
  EXPECT_EQ(fetched, 3);
  plain.Reset();
  EXPECT_EQ(plain.Skip(5), R::S_FALSE);
  got.clear();
  EXPECT_EQ(plain.Next(1, got, &fetched), R::S_FALSE);
  EXPECT_EQ(fetched, 0);

  TSourceEnumFormatEtc full(true, true);
  got.clear();
  EXPECT_EQ(full.Next(2, got, nullptr), R::S_OK);
  std::unique_ptr<TSourceEnumFormatEtc> copy = full.Clone();
  got.clear();
  EXPECT_EQ(copy->Next(3, got, &fetched), R::S_OK);
  EXPECT_EQ(got, (QStringList{kFormatRTF, kFormatColumn, kFormatCells}));
  EXPECT_EQ(full.Skip(3), R::S_OK);
  EXPECT_EQ(full.Skip(1), R::S_FALSE);
}

TEST(DragLayer, EffectsFollowCtrlAndTheAllowedEffects) {
  EXPECT_EQ(DropEffectFromKeys(true, DROPEFFECT_MOVE | DROPEFFECT_COPY), DROPEFFECT_COPY);
  EXPECT_EQ(DropEffectFromKeys(false, DROPEFFECT_MOVE | DROPEFFECT_COPY), DROPEFFECT_MOVE);
  EXPECT_EQ(DropEffectFromKeys(false, DROPEFFECT_COPY), DROPEFFECT_COPY);
  TESGDropSource s;
  EXPECT_EQ(s.QueryContinueDrag(true, true), R::DRAGDROP_S_CANCEL);
  EXPECT_EQ(s.QueryContinueDrag(false, false), R::DRAGDROP_S_DROP);
  EXPECT_EQ(s.QueryContinueDrag(false, true), R::S_OK);
  EXPECT_EQ(s.GiveFeedback(DROPEFFECT_NONE), R::DRAGDROP_S_USEDEFAULTCURSORS);
  EXPECT_TRUE(s.NoAccept());
  s.GiveFeedback(DROPEFFECT_COPY);
  EXPECT_FALSE(s.NoAccept());
}

// Records which drop virtuals run, in order.
struct TRecordingTarget : TESGDropTarget {
  QStringList log;
  void DropText(QPoint, const QString& t) override { log << "text:" + t; }
  void DropStream(QPoint, const QByteArray& s) override { log << QString("stream:%1").arg(s.size()); }
  void DropCol(QPoint, int c) override { log << QString("col:%1").arg(c); }
  void DropRTF(QPoint, const QString& r) override { log << "rtf:" + r; }
  void DropFiles(QPoint, const QStringList& f) override { log << "files:" + f.join(','); }
  void DropURL(QPoint, const QString& u) override { log << "url:" + u; }
};

TEST(DropTarget, AcceptSwitchesDecideTheDragNotWhichDropsRun) {
  QMimeData m;
  m.setText("hello");
  m.setUrls({QUrl::fromLocalFile("/tmp/a.txt")});
  TRecordingTarget t;
  t.AcceptText = false;
  int effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  t.DragEnter(&m, false, {}, effect);
  EXPECT_TRUE(t.Ok());
  EXPECT_EQ(effect, DROPEFFECT_MOVE);
  EXPECT_TRUE(t.DropFormats().Contains(dfFile));
  effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  t.Drop(&m, true, {}, effect);
  EXPECT_EQ(effect, DROPEFFECT_COPY);
  EXPECT_EQ(t.log.join('|'), "text:hello|files:/tmp/a.txt");

  t.AcceptFiles = false;
  effect = DROPEFFECT_COPY;
  t.DragEnter(&m, false, {}, effect);
  EXPECT_EQ(effect, DROPEFFECT_NONE);
  t.log.clear();
  t.Drop(&m, false, {}, effect);
  EXPECT_TRUE(t.log.isEmpty());
}

TEST(DropTarget, ALinkDropsAsItsAddressAndTheFilesBesideItAsFiles) {
  QMimeData m;
  m.setUrls({QUrl("http://127.0.0.1/meters"), QUrl::fromLocalFile("/tmp/b.csv")});
  TRecordingTarget t;
  int effect = DROPEFFECT_COPY;
  t.DragEnter(&m, false, {}, effect);
  EXPECT_TRUE(t.DropFormats().Contains(dfURL));
  t.Drop(&m, false, {}, effect);
  ASSERT_GE(t.log.size(), 2);
  EXPECT_EQ(t.log[t.log.size() - 2], "files:/tmp/b.csv");
  EXPECT_EQ(t.log.last(), "url:http://127.0.0.1/meters");
}

TEST(DropTarget, RTFOnlyWhileRTFDropsAreOnAndColumnsBeforeAnythingElse) {
  QMimeData rtf;
  rtf.setData(Mime(kFormatRTF), QByteArray("{\\rtf1 y}\0junk", 14));
  TRecordingTarget t;
  int effect = DROPEFFECT_COPY;
  SetRTFDropEnabled(false);
  t.DragEnter(&rtf, false, {}, effect);
  EXPECT_EQ(effect, DROPEFFECT_NONE);
  SetRTFDropEnabled(true);
  effect = DROPEFFECT_COPY;
  t.DragEnter(&rtf, false, {}, effect);
  EXPECT_EQ(effect, DROPEFFECT_COPY);
  t.Drop(&rtf, false, {}, effect);
  EXPECT_EQ(t.log.join('|'), "rtf:{\\rtf1 y}");
  SetRTFDropEnabled(false);

  QMimeData col;
  col.setText("t");
  col.setData(Mime(kFormatColumn), QByteArray("\x03\0\0\0", 4));
  t.log.clear();
  t.AcceptCols = true;
  t.DragEnter(&col, false, {}, effect);
  t.Drop(&col, false, {}, effect);
  EXPECT_EQ(t.log.join('|'), "col:3");
}

// Blocks of the right MIME types with wrong insides: each is treated as absent (or refused) and nothing reads
// past its end.
TEST(DropTarget, HostileBlocksAreReadWithinTheirBounds) {
  struct Case {
    const char* name;
    const char* format;
    QByteArray block;
    const char* log;
  } cases[] = {
      {"column of two bytes", kFormatColumn, QByteArray("\x01\x02", 2), ""},
      {"empty column", kFormatColumn, QByteArray(), ""},
      {"cells shorter than their header", kFormatCells, QByteArray("\x04\0\0", 3), "text:fallback"},
      {"cells longer than their block", kFormatCells, QByteArray("\xFF\xFF\xFF\x7F\0\0\0\0abc", 11), "text:fallback"},
      {"cells of exact length", kFormatCells, QByteArray("\x03\0\0\0\0\0\0\0abc", 11), "stream:3"},
  };
  for (const Case& c : cases) {
    QMimeData m;
    m.setText("fallback");
    m.setData(Mime(c.format), c.block);
    TRecordingTarget t;
    t.AcceptCols = true;
    int effect = DROPEFFECT_COPY;
    t.DragEnter(&m, false, {}, effect);
    t.Drop(&m, false, {}, effect);
    EXPECT_EQ(t.log.join('|'), c.log) << c.name;
  }
}

// ---------------------------------------------------------------- two grids in one process

// Hands the drag to a widget as Qt's drag events at a point, and tells the source what the target answered.
class TSendLoop : public IDragLoop {
 public:
  QWidget* Target = nullptr;
  QPoint At;
  Qt::KeyboardModifiers Modifiers = Qt::NoModifier;
  QImage Image;  // the drag image of the last drag
  QPoint HotSpot;
  QWidget* Capture = nullptr;  // when set, Scene is this window before the drop with the picture by the pointer
  QImage Scene;
  TDragResult Run(const TSourceDataObject& Data, TESGDropSource& Source, int OkEffects, int& Effect) override {
    Image = Source.DragImage();
    HotSpot = Source.DragHotSpot();
    const std::unique_ptr<QMimeData> mime = Data.ToMimeData();
    Qt::DropActions actions = Qt::CopyAction;
    if (OkEffects & DROPEFFECT_MOVE) actions |= Qt::MoveAction;
    QDragEnterEvent enter(At, actions, mime.get(), Qt::LeftButton, Modifiers);
    QCoreApplication::sendEvent(Target, &enter);
    Source.GiveFeedback(!enter.isAccepted() ? DROPEFFECT_NONE
                        : enter.dropAction() == Qt::MoveAction ? DROPEFFECT_MOVE : DROPEFFECT_COPY);
    if (!enter.isAccepted()) {
      Effect = DROPEFFECT_NONE;
      return Source.QueryContinueDrag(false, false);
    }
    if (Capture) {
      Scene = Capture->grab().toImage();
      QPainter p(&Scene);
      p.drawImage(Target->mapTo(Capture, At) - HotSpot, Image);
    }
    QDropEvent drop(QPointF(At), actions, mime.get(), Qt::NoButton, Modifiers);
    QCoreApplication::sendEvent(Target, &drop);
    Effect = !drop.isAccepted() ? DROPEFFECT_NONE : drop.dropAction() == Qt::MoveAction ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    return Source.QueryContinueDrag(false, false);
  }
};

struct TwoGrids : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TExtStringGrid* a = new TExtStringGrid(form.get());
  TExtStringGrid* b = new TExtStringGrid(form.get());
  TSendLoop loop;
  TwoGrids() {
    form->SetBounds(0, 0, 700, 300);
    for (TExtStringGrid* g : {a, b}) {
      g->SetParent(form.get());
      g->SetColCount(5);
      g->SetRowCount(6);
      g->SetDefaultColWidth(60);
    }
    a->SetBounds(0, 0, 340, 280);
    b->SetBounds(350, 0, 340, 280);
    for (int r = 0; r < 6; ++r)
      for (int c = 0; c < 5; ++c) a->SetCells(c, r, QString("a%1%2").arg(c).arg(r));
    form->Show();
    QApplication::processEvents();
    b->DragDropSettings()->SetOleDropTarget(true);
    a->DragDropSettings()->SetOleDropTarget(true);
    SetDragLoop(&loop);
  }
  ~TwoGrids() override { SetDragLoop(nullptr); }
  void DropOn(TExtStringGrid* g, int c, int r) {
    const plat::TRect cell = g->CellRect(c, r);
    loop.Target = g->Widget();
    loop.At = QPoint((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
  }
};

// As text and as the grid's own cells; a move empties the dragged cells, a copy (Ctrl held, or OleCopyAlways)
// keeps them.
TEST_F(TwoGrids, SelectedCellsDropIntoTheOtherGrid) {
  struct Case {
    const char* name;
    bool cells, ctrl, copyAlways;
    int effect;
  } cases[] = {{"text, move", false, false, false, DROPEFFECT_MOVE},
               {"cells, move", true, false, false, DROPEFFECT_MOVE},
               {"cells, Ctrl copies", true, true, false, DROPEFFECT_COPY},
               {"copy always", false, false, true, DROPEFFECT_MOVE}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (int r = 0; r < 6; ++r)
      for (int k = 0; k < 5; ++k) a->SetCells(k, r, QString("a%1%2").arg(k).arg(r)), b->SetCells(k, r, "");
    a->Navigation()->AllowFmtClipboard = c.cells;
    a->DragDropSettings()->OleCopyAlways = c.copyAlways;
    loop.Modifiers = c.ctrl ? Qt::ControlModifier : Qt::NoModifier;
    a->SetSelection(plat::TGridRect{1, 1, 2, 3});
    DropOn(b, 3, 2);
    int stopped = -1;
    a->OnOleDragStop = [&](plat::TObject*, int e) { stopped = e; };
    EXPECT_EQ(a->StartOleDrag(1, 1, false), R::DRAGDROP_S_DROP);
    EXPECT_EQ(stopped, c.effect);
    EXPECT_EQ(b->Cells(3, 2), "a11");
    EXPECT_EQ(b->Cells(4, 2), "a21");
    EXPECT_EQ(b->Cells(4, 4), "a23");
    EXPECT_EQ(b->Cells(3, 5), "");  // the block ends with its third row
    EXPECT_EQ(b->Cells(2, 2), "");
    const bool moved = c.effect == DROPEFFECT_MOVE && !c.copyAlways;
    EXPECT_EQ(a->Cells(1, 1), moved ? "" : "a11");
    EXPECT_EQ(a->Cells(2, 3), moved ? "" : "a23");
    EXPECT_EQ(a->Cells(3, 1), "a31");  // outside the dragged cells
    EXPECT_EQ(a->Cells(1, 4), "a14");
  }
}

// A move inside one grid onto cells that overlap the dragged ones: what the drop wrote stays.
TEST_F(TwoGrids, AMoveOntoOverlappingCellsKeepsWhatTheDropWrote) {
  a->SetSelection(plat::TGridRect{1, 1, 2, 2});
  DropOn(a, 2, 2);
  EXPECT_EQ(a->StartOleDrag(1, 1, false), R::DRAGDROP_S_DROP);
  EXPECT_EQ(a->Cells(2, 2), "a11");
  EXPECT_EQ(a->Cells(3, 2), "a21");
  EXPECT_EQ(a->Cells(2, 3), "a12");
  EXPECT_EQ(a->Cells(3, 3), "a22");
  EXPECT_EQ(a->Cells(1, 1), "");
  EXPECT_EQ(a->Cells(2, 1), "");
  EXPECT_EQ(a->Cells(1, 2), "");
}

TEST_F(TwoGrids, AMoveOfSelectedRowsRemovesThemWithOleRemoveRows) {
  a->SetOptions(a->Options() + plat::TGridOptions{plat::goRowSelect});
  a->DragDropSettings()->OleRemoveRows = true;
  a->SetSelection(plat::TGridRect{1, 2, 4, 3});
  DropOn(b, 1, 1);
  EXPECT_EQ(a->StartOleDrag(1, 2, false), R::DRAGDROP_S_DROP);
  EXPECT_EQ(a->RowCount(), 4);
  EXPECT_EQ(a->Cells(1, 2), "a14");
  EXPECT_EQ(b->Cells(1, 1), "a12");
  EXPECT_EQ(b->Cells(1, 2), "a13");
}

// With ShowCells a translucent picture of the dragged cells follows the pointer at (4, 4) from it.
TEST_F(TwoGrids, APictureOfTheDraggedCellsFollowsThePointer) {
  a->SetSelection(plat::TGridRect{1, 1, 2, 3});
  DropOn(b, 3, 2);
  loop.Capture = form->Widget();
  a->StartOleDrag(1, 1, false);
  const plat::TRect first = a->CellRect(1, 1), last = a->CellRect(2, 3);
  ASSERT_FALSE(loop.Image.isNull());
  EXPECT_EQ(loop.Image.size(), QSize(last.Right - first.Left, last.Bottom - first.Top));
  EXPECT_EQ(loop.HotSpot, QPoint(-4, -4));
  EXPECT_NEAR(qAlpha(loop.Image.pixel(5, 5)), 192, 1);
  if (qEnvironmentVariableIsSet("GRID_SHOTS")) loop.Scene.save(qEnvironmentVariable("GRID_SHOTS") + "/grid_drag.png");
  // A dragged column shows its header and its visible rows.
  a->DragDropSettings()->OleColumnDragDrop = true;
  a->SetTopRow(2);
  a->StartOleDrag(3, 0, true);
  const plat::TRect head = a->CellRect(3, 0), foot = a->CellRect(3, 5);
  EXPECT_EQ(loop.Image.size(), QSize(head.Right - head.Left, foot.Bottom - head.Top));
  a->DragDropSettings()->ShowCells = false;
  a->StartOleDrag(1, 1, false);
  EXPECT_TRUE(loop.Image.isNull());
}

TEST_F(TwoGrids, ARefusedDropCountsAsCancelledAndChangesNothing) {
  a->SetSelection(plat::TGridRect{1, 1, 1, 1});
  b->OnOleDragOver = [](plat::TObject*, int, int, bool& Allow) { Allow = false; };
  b->OnOleDrop = [](plat::TObject*, int, int, QString, bool& Allow) { Allow = false; };
  DropOn(b, 1, 1);
  EXPECT_EQ(a->StartOleDrag(1, 1, false), R::DRAGDROP_S_DROP);  // the enter accepted, the drop vetoed
  EXPECT_EQ(b->Cells(1, 1), "");
  EXPECT_EQ(a->Cells(1, 1), "a11");  // a refused move is no move
  b->DragDropSettings()->SetOleDropTarget(false);
  bool stopped = false;
  a->OnOleDragStop = [&](plat::TObject*, int) { stopped = true; };
  EXPECT_EQ(a->StartOleDrag(1, 1, false), R::DRAGDROP_S_CANCEL);
  EXPECT_FALSE(stopped);
  EXPECT_EQ(a->Cells(1, 1), "a11");
}

TEST_F(TwoGrids, AColumnMovesInsideItsGridOnly) {
  for (TExtStringGrid* g : {a, b}) g->DragDropSettings()->OleColumnDragDrop = true;
  a->DragDropSettings()->SetOleDropTarget(false);
  a->DragDropSettings()->SetOleDropTarget(true);  // takes the column switch
  b->DragDropSettings()->SetOleDropTarget(false);
  b->DragDropSettings()->SetOleDropTarget(true);
  int dragged = -1;
  a->OnOleDropCol = [&](plat::TObject*, int, int, int DropCol, bool&) { dragged = DropCol; };
  DropOn(a, 3, 1);
  a->StartOleDrag(1, 0, true);
  EXPECT_EQ(a->Cells(3, 0), "a10");
  EXPECT_EQ(a->Cells(1, 0), "a20");
  // With a column hidden before it the drag carries the real column and moves the one that was grabbed.
  a->HideColumn(1);
  DropOn(a, 1, 1);
  a->StartOleDrag(2, 0, true);  // shown at 2: real column 3 ("a10" since the move above)
  EXPECT_EQ(dragged, 3);
  EXPECT_EQ(a->Cells(a->RealColIndex(1), 0), "a10");
  a->UnHideColumn(1);
  a->OnOleDropCol = nullptr;
  b->SetCells(1, 0, "b1");
  int announced = -1;
  b->OnOleDropCol = [&](plat::TObject*, int, int, int DropCol, bool& Allow) {
    announced = DropCol;
    EXPECT_FALSE(Allow);
  };
  DropOn(b, 3, 1);
  a->StartOleDrag(1, 0, true);
  EXPECT_EQ(announced, 1);
  EXPECT_EQ(b->Cells(1, 0), "b1");
}

// OnOleDropped is told the cells a text drop wrote; a refused text drop and a drop of whole cells leave the
// selection as it was and report it.
TEST_F(TwoGrids, OnOleDroppedIsToldTheDroppedRectangle) {
  struct Case {
    const char* name;
    bool cells, refuse;
    plat::TGridRect expected;
  } cases[] = {{"text", false, false, {3, 2, 4, 4}},
               {"refused text", false, true, {1, 1, 1, 1}},
               {"cells", true, false, {1, 1, 1, 1}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    a->Navigation()->AllowFmtClipboard = c.cells;
    a->SetSelection(plat::TGridRect{1, 1, 2, 3});
    b->SetSelection(plat::TGridRect{1, 1, 1, 1});
    b->OnOleDrop = [&](plat::TObject*, int, int, const QString&, bool& Allow) { Allow = !c.refuse; };
    std::vector<plat::TGridRect> told;
    b->OnOleDropped = [&](plat::TObject*, plat::TGridRect R) { told.push_back(R); };
    DropOn(b, 3, 2);
    a->DragDropSettings()->OleCopyAlways = true;
    a->StartOleDrag(1, 1, false);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].Left, c.expected.Left);
    EXPECT_EQ(told[0].Top, c.expected.Top);
    EXPECT_EQ(told[0].Right, c.expected.Right);
    EXPECT_EQ(told[0].Bottom, c.expected.Bottom);
    EXPECT_EQ(b->Cells(3, 2), c.refuse ? "" : "a11");
    for (int r = 0; r < 6; ++r)
      for (int k = 0; k < 5; ++k) b->SetCells(k, r, "");
  }
}

// A column chooser list announces the hidden column it drags: the drop shows that column where it lands (right
// of the last column: at the end) and takes the item out of the list; OnOleDropCol may refuse it.
TEST_F(TwoGrids, AColumnFromAChooserListIsShownWhereItDrops) {
  struct Case {
    const char* name;
    int dropCol;  // -1: right of the last column
    bool refuse;
    int shownAt;  // -1: still hidden
  } cases[] = {{"on a header", 0, false, 0}, {"beyond the last column", -1, false, 4}, {"refused", 1, true, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<plat::TForm> f = std::make_unique<plat::TForm>(nullptr);
    auto* g = new TExtStringGrid(f.get());
    g->SetParent(f.get());
    g->SetBounds(0, 0, 400, 200);
    g->SetColCount(5);
    g->SetRowCount(4);
    g->SetDefaultColWidth(60);
    for (int k = 0; k < 5; ++k) g->SetCells(k, 0, QString("h%1").arg(k));
    auto* list = new plat::TListBox(f.get());
    list->SetParent(f.get());
    list->Items()->Add("other");
    list->Items()->Add("h2");
    f->SetBounds(0, 0, 500, 220);
    f->Show();
    QApplication::processEvents();
    g->DragDropSettings()->OleColumnDragDrop = true;
    g->DragDropSettings()->SetOleDropTarget(true);
    g->SetColumnOrder();
    g->HideColumn(2);
    int announced = -1;
    g->OnOleDropCol = [&](plat::TObject*, int, int, int DropCol, bool& Allow) {
      announced = DropCol;
      Allow = !c.refuse;
    };
    loop.Target = g->Widget();
    if (c.dropCol >= 0) {
      const plat::TRect cell = g->CellRect(c.dropCol, 0);
      loop.At = QPoint((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
    } else {
      loop.At = QPoint(g->CellRect(3, 0).Right + 40, 10);
    }
    g->OleColumnDragStart(2, 1, list);
    TGridDropSource source;
    int effect = DROPEFFECT_NONE;
    RunColumnDragDrop(source, 2, DROPEFFECT_COPY | DROPEFFECT_MOVE, effect);
    EXPECT_EQ(announced, 2);
    EXPECT_EQ(list->Items()->Count(), c.refuse ? 2 : 1);
    EXPECT_EQ(list->Items()->Strings(0), "other");
    if (c.shownAt < 0) {
      EXPECT_EQ(g->ColCount(), 4);
      EXPECT_TRUE(g->IsHiddenColumn(2));
    } else {
      EXPECT_EQ(g->ColCount(), 5);
      EXPECT_EQ(g->Cells(g->RealColIndex(c.shownAt), 0), "h2");
    }
    // The announcement served this drop: a column dragged in the grid afterwards is its own again.
    EXPECT_FALSE(g->DragDrop().DropListColumn(0, 0, 0).has_value());
  }
}

// Data from another program: well-formed text lands in cells; hostile blocks of the grid's formats change
// nothing and read nothing beyond their ends.
TEST_F(TwoGrids, DropsOfForeignAndHostileData) {
  const auto drop = [&](QMimeData& m) {
    const plat::TRect cell = b->CellRect(1, 1);
    const QPoint at((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &m, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(b->Widget(), &enter);
    QDropEvent d(QPointF(at), Qt::CopyAction, &m, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(b->Widget(), &d);
    return d.isAccepted();
  };
  QMimeData text;
  text.setText("x\ty\r\nz\r\n");
  EXPECT_TRUE(drop(text));
  EXPECT_EQ(b->Cells(1, 1), "x");
  EXPECT_EQ(b->Cells(2, 1), "y");
  EXPECT_EQ(b->Cells(1, 2), "z");
  EXPECT_EQ(b->Cells(1, 3), "");

  const QByteArray hostile[] = {
      CellsBlock(QByteArray("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 8)),      // counts far beyond the block
      CellsBlock(QByteArray("\x01\0\0\0\x01\0\0\0\xFF\xFF\xFF\x7F", 12)),  // a cell longer than the block
      QByteArray("\x10\0\0\0\0\0\0\0short", 13),                          // a length beyond the block
      QByteArray(3, '\x7F'),
  };
  for (const QByteArray& h : hostile) {
    QMimeData m;
    m.setData(Mime(kFormatCells), h);
    drop(m);
    EXPECT_EQ(b->Cells(1, 1), "x");
    EXPECT_EQ(b->Cells(2, 1), "y");
  }
  QMimeData col;
  col.setData(Mime(kFormatColumn), QByteArray("\xFF\xFF\xFF\x7F", 4));
  b->DragDropSettings()->OleColumnDragDrop = true;
  EXPECT_EQ(b->ColCount(), 5);
  drop(col);
  EXPECT_EQ(b->Cells(1, 1), "x");
}

// While it lives, the process may map at most Room bytes more than it holds now: a drop that would take memory
// out of proportion to its size fails instead of swamping the machine.
class TAddressRoom {
 public:
  explicit TAddressRoom(rlim_t Room) {
    getrlimit(RLIMIT_AS, &FOld);
    long pages = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
      if (std::fscanf(f, "%ld", &pages) != 1) pages = 0;
      std::fclose(f);
    }
    rlimit now = FOld;
    now.rlim_cur = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + Room;
    if (FOld.rlim_cur != RLIM_INFINITY) now.rlim_cur = std::min(now.rlim_cur, FOld.rlim_cur);
    setrlimit(RLIMIT_AS, &now);
  }
  ~TAddressRoom() { setrlimit(RLIMIT_AS, &FOld); }

 private:
  rlimit FOld{};
};

// A ragged drop pads its short lines with empty cells as far as its widest line, clipped to the grid; a drop
// of one line of many tabs and many short lines costs memory in proportion to its size, not to its rows times
// its widest line.
TEST_F(TwoGrids, RaggedTextDropsPadShortLinesWithinTheGrid) {
  const auto drop = [&](const QString& Text) {
    QMimeData m;
    m.setText(Text);
    const plat::TRect cell = b->CellRect(1, 1);
    const QPoint at((cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &m, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(b->Widget(), &enter);
    QDropEvent d(QPointF(at), Qt::CopyAction, &m, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(b->Widget(), &d);
    return d.isAccepted();
  };
  for (int r = 0; r < 6; ++r)
    for (int c = 0; c < 5; ++c) b->SetCells(c, r, "old");
  ASSERT_TRUE(drop("a\tb\tc\r\nd\r\n\r\ne\tf"));
  const char* rows[][5] = {{"old", "old", "old", "old", "old"},
                           {"old", "a", "b", "c", "old"},
                           {"old", "d", "", "", "old"},
                           {"old", "", "", "", "old"},
                           {"old", "e", "f", "", "old"},
                           {"old", "old", "old", "old", "old"}};
  for (int r = 0; r < 6; ++r)
    for (int c = 0; c < 5; ++c) EXPECT_EQ(b->Cells(c, r), rows[r][c]) << c << "," << r;

  const QString hostile = QString(8000, u'\t') + QString(8000, u'\n');
  {
    TAddressRoom room(256 << 20);
    EXPECT_TRUE(drop(hostile));
  }
  for (int r = 1; r < 6; ++r)
    for (int c = 1; c < 5; ++c) EXPECT_EQ(b->Cells(c, r), "") << c << "," << r;
  EXPECT_EQ(b->Cells(0, 1), "old");
}

}  // namespace
}  // namespace grid
