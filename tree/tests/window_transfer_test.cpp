// Transfer formats, cut, copy and paste through the clipboard, and drag and drop between trees of one process.
#include <QClipboard>
#include <QCoreApplication>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/forms/forms.h"
#include "platform/rtl/exceptions.h"
#include "tree/drawtree.h"
#include "tree/stringtree.h"
#include "tree/tests/treecheck.h"
#include "tree/treedrag.h"
#include "tree/treetransfer.h"

namespace lazytree {
namespace {

using testing::CheckTree;

const QString kLazyMime = QStringLiteral("application/x-lazy-tree-data");

// A string tree whose node texts live in the nodes' data and arrive from streams as captions. Its drag loop
// is replaced: the drag goes to DropTarget (if any) with the pressed keys, as the platform's loop would.
class TTestTree : public TLazyStringTree {
 public:
  explicit TTestTree(plat::TComponent* Owner) : TLazyStringTree(Owner) {
    SetNodeDataType<QString>();
    OnGetText = [this](TBaseLazyTree*, PLazyNode n, TColumnIndex, TLSTTextType, QString& text) {
      text = *GetNodeData<QString>(n);
    };
    OnNewText = [this](TBaseLazyTree*, PLazyNode n, TColumnIndex, const QString& text) {
      *GetNodeData<QString>(n) = text;
    };
    TreeOptions().SelectionOptions.Include(toMultiSelect);
  }
  PLazyNode Add(PLazyNode parent, const QString& text) {
    PLazyNode n = AddChild(parent);
    *GetNodeData<QString>(n) = text;
    return n;
  }
  QString Texts(PLazyNode parent = nullptr) {
    QString s;
    for (PLazyNode c = (parent ? parent : RootNode())->FirstChild; c; c = c->NextSibling) {
      s += *GetNodeData<QString>(c);
      if (c->ChildCount) s += QStringLiteral("(") + Texts(c) + QStringLiteral(")");
      s += QStringLiteral(" ");
    }
    return s.trimmed();
  }
  // Accept every drop and take the nodes at the drop target.
  void AcceptDrops() {
    OnDragOver = [](TBaseLazyTreeControl*, TBaseLazyTreeControl*, Qt::KeyboardModifiers, TDragState, plat::TPoint,
                    TDropMode, uint32_t&, bool& accept) { accept = true; };
    OnDragDrop = [this](TBaseLazyTreeControl*, TBaseLazyTreeControl*, const QMimeData* data, const QStringList&,
                        Qt::KeyboardModifiers, plat::TPoint, uint32_t& effect, TDropMode) {
      ProcessDrop(data, DropTargetNode(), effect, DropTargetNode() ? amAddChildLast : amAddChildLast);
    };
  }
  using TLazyStringTree::RunOLEDrag;

  TTestTree* DropTarget = nullptr;
  plat::TPoint DropAt{5, 5};
  Qt::KeyboardModifiers DropKeys;
  uint32_t LastAllowed = 0;

 protected:
  void PerformDragDrop(uint32_t AllowedEffects, QMimeData* DataObject, uint32_t& Effect) override {
    std::unique_ptr<QMimeData> owned(DataObject);
    LastAllowed = AllowedEffects;
    Effect = DROPEFFECT_NONE;
    if (!DropTarget) return;
    uint32_t effect = AllowedEffects;
    DropTarget->DragEnter(DataObject, DropKeys, DropAt, effect);
    effect = AllowedEffects;
    DropTarget->DragOver(DropKeys, DropAt, effect);
    effect = AllowedEffects;
    if (DropTarget->Drop(DataObject, DropKeys, DropAt, effect)) Effect = effect;
  }
};

struct Fixture : ::testing::Test {
  plat::TForm form{nullptr};
  TTestTree* a;
  TTestTree* b;
  PLazyNode x = nullptr, y = nullptr;
  void SetUp() override {
    form.SetBounds(0, 0, 600, 400);
    a = MakeTree(0);
    b = MakeTree(300);
    x = a->Add(nullptr, QStringLiteral("x"));
    a->Add(x, QStringLiteral("x1"));
    y = a->Add(nullptr, QStringLiteral("y"));
    a->Add(nullptr, QStringLiteral("z"));
    b->Add(nullptr, QStringLiteral("b"));
    QGuiApplication::clipboard()->clear();
  }
  TTestTree* MakeTree(int left) {
    auto* t = new TTestTree(&form);
    t->SetParent(&form);
    t->SetBounds(left, 0, 280, 300);
    t->SetClipboardFormats({LazyTreeDataFormat, QStringLiteral("Plain text")});
    return t;
  }
  void Check() {
    EXPECT_EQ(CheckTree(*a), "");
    EXPECT_EQ(CheckTree(*b), "");
  }
};

// --- Formats --------------------------------------------------------------------------------------------------

TEST_F(Fixture, FormatsFollowTheRegistryAndTheTreeClass) {
  EXPECT_EQ(TClipboardFormatList::FindFormat(QStringLiteral("lazy TREE data"))->Description, LazyTreeDataFormat);
  EXPECT_EQ(TClipboardFormatList::FindFormat(QStringLiteral("no such format")), nullptr);

  TLazyDrawTree drawn(&form);
  EXPECT_EQ(drawn.ClipboardFormats().Add(QStringLiteral("CSV")), -1);  // a text format of string trees only
  EXPECT_GE(drawn.ClipboardFormats().Add(LazyTreeDataFormat), 0);
  EXPECT_GE(a->ClipboardFormats().Add(QStringLiteral("csv")), 0);
  EXPECT_THROW(a->ClipboardFormats().Insert(0, QStringLiteral("HTML Format")), plat::EStringListError);

  // In priority order: the tree's own data first, the plain text last.
  TFormatEtcArray formats;
  a->CollectTransferFormats(formats);
  std::vector<QString> names;
  for (const TFormatEtc& f : formats) names.push_back(ClipboardFormatName(f.Format));
  EXPECT_EQ(names, (std::vector<QString>{LazyTreeDataFormat, QStringLiteral("CSV"), QStringLiteral("Plain text")}));

  // An empty list offers only what the handler adds.
  a->SetClipboardFormats({});
  a->OnGetUserClipboardFormats = [](TBaseLazyTreeControl*, TFormatEtcArray& f) {
    f.push_back(TFormatEtc{RegisterClipboardFormat(QStringLiteral("My Format"))});
  };
  a->CollectTransferFormats(formats);
  ASSERT_EQ(formats.size(), 1u);
  EXPECT_EQ(ClipboardFormatName(formats[0].Format), QStringLiteral("My Format"));
}

// --- Clipboard ------------------------------------------------------------------------------------------------

TEST_F(Fixture, CopyAndPasteDuplicateTheNodesThroughTheStream) {
  a->AddToSelection(x);
  a->CopyToClipboard();
  EXPECT_TRUE(a->TreeStates().Has(tsCopyPending));
  EXPECT_EQ(a->CutCopyCount(), 1);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_TRUE(data->hasFormat(kLazyMime));
  EXPECT_EQ(data->text(), QStringLiteral("x\r\n"));

  EXPECT_TRUE(b->PasteFromClipboard());
  EXPECT_EQ(b->Texts(), QStringLiteral("b x(x1)"));
  EXPECT_EQ(a->Texts(), QStringLiteral("x(x1) y z"));
  EXPECT_TRUE(a->TreeStates().Has(tsCopyPending));  // a copy stays pending for further pastes
  EXPECT_TRUE(b->PasteFromClipboard());
  EXPECT_EQ(b->Texts(), QStringLiteral("b x(x1) x(x1)"));
  Check();
}

TEST_F(Fixture, TheTextFormatsCarryTheExportsOfTheCopiedNodes) {
  a->SetClipboardFormats({QStringLiteral("HTML Format"), QStringLiteral("CSV"), QStringLiteral("Rich Text Format"),
                          QStringLiteral("Unicode text")});
  a->AddToSelection(y);
  a->CopyToClipboard();
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->formats(), (QStringList{QStringLiteral("text/html"), QStringLiteral("text/rtf"),
                                          QStringLiteral("text/csv"), QStringLiteral("text/plain")}));
  EXPECT_FALSE(data->hasFormat(kLazyMime));
  EXPECT_TRUE(data->html().contains(QStringLiteral(">y<")));
  EXPECT_FALSE(data->html().startsWith(QStringLiteral("Version:")));  // bare HTML, no clipboard envelope
  EXPECT_TRUE(data->data(QStringLiteral("text/rtf")).startsWith("{\\rtf"));
  EXPECT_EQ(data->text(), QStringLiteral("y\r\n"));
  EXPECT_FALSE(data->data(QStringLiteral("text/csv")).endsWith('\0'));
}

TEST_F(Fixture, CutInOneTreeAndPasteInAnotherMovesTheNodes) {
  a->AddToSelection(x);
  a->AddToSelection(y);
  a->CutToClipboard();
  EXPECT_TRUE(a->TreeStates().Has(tsCutPending));
  EXPECT_TRUE(b->PasteFromClipboard());
  EXPECT_EQ(b->Texts(), QStringLiteral("b x(x1) y"));
  EXPECT_EQ(a->Texts(), QStringLiteral("z"));
  EXPECT_FALSE(a->TreeStates().Has(tsCutPending));
  EXPECT_EQ(a->CutCopyCount(), 0);
  Check();
}

TEST_F(Fixture, PastingSeveralNodesAfterATargetKeepsTheirOrder) {
  a->AddToSelection(x);
  a->AddToSelection(y);
  a->CopyToClipboard();
  PLazyNode target = b->RootNode()->FirstChild;
  EXPECT_TRUE(b->ProcessOLEData(nullptr, QGuiApplication::clipboard()->mimeData(), target, amInsertAfter, false));
  b->Add(nullptr, QStringLiteral("end"));
  EXPECT_EQ(b->Texts(), QStringLiteral("b x(x1) y end"));
  Check();
}

TEST_F(Fixture, CutNodePastedIntoItsOwnSubtreeStaysWhereItIs) {
  a->AddToSelection(x);
  a->CutToClipboard();
  EXPECT_TRUE(a->ProcessOLEData(a, QGuiApplication::clipboard()->mimeData(), x->FirstChild, amAddChildLast, true));
  EXPECT_EQ(a->Texts(), QStringLiteral("x(x1) y z"));
  Check();
}

TEST_F(Fixture, OtherClipboardContentEndsThePendingCutAndIsNotWipedByClear) {
  a->AddToSelection(x);
  a->CutToClipboard();
  auto* foreign = new QMimeData;
  foreign->setText(QStringLiteral("another program"));
  QGuiApplication::clipboard()->setMimeData(foreign);
  EXPECT_FALSE(a->TreeStates().Has(tsCutPending));
  EXPECT_FALSE(x->Has(vsCutOrCopy));
  EXPECT_EQ(a->CutCopyCount(), 0);

  a->CopyToClipboard();
  a->Clear();  // the tree's own object leaves the clipboard with its nodes
  const QMimeData* left = QGuiApplication::clipboard()->mimeData();
  EXPECT_TRUE(!left || !left->hasFormat(kLazyMime));
  EXPECT_FALSE(a->TreeStates().Has(tsCopyPending));

  PLazyNode n = a->Add(nullptr, QStringLiteral("n"));
  a->AddToSelection(n);
  a->CopyToClipboard();
  auto* later = new QMimeData;
  later->setText(QStringLiteral("newer"));
  QGuiApplication::clipboard()->setMimeData(later);
  a->Clear();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("newer"));
}

TEST_F(Fixture, FlushLeavesPlainDataThatNoLongerLeadsBackToTheTree) {
  a->AddToSelection(y);
  a->CutToClipboard();
  a->FlushClipboard();
  EXPECT_FALSE(a->TreeStates().Has(tsCutPending));
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  EXPECT_EQ(SourceTreeOfDataObject(data), nullptr);
  // Pasted now it is a copy: the flushed cut removes nothing.
  EXPECT_TRUE(b->PasteFromClipboard());
  EXPECT_EQ(b->Texts(), QStringLiteral("b y"));
  EXPECT_EQ(a->Texts(), QStringLiteral("x(x1) y z"));
  Check();
}

TEST_F(Fixture, HostileClipboardDataIsRefusedAndNothingIsAdded) {
  a->AddToSelection(x);
  const QByteArray good = a->WriteTransferNodes({x});
  const QByteArray hostile[] = {good.left(good.size() - 1), QByteArray("\x01\0\0\0\xff\xff\xff\x7f", 8),
                                QByteArray(40, '\xff')};
  for (const QByteArray& bytes : hostile) {
    auto* data = new QMimeData;
    data->setData(kLazyMime, bytes);
    QGuiApplication::clipboard()->setMimeData(data);
    EXPECT_THROW(b->PasteFromClipboard(), ELazyTreeError);
    EXPECT_EQ(b->Texts(), QStringLiteral("b"));
  }
  // Data without the tree's format is no paste at all.
  QGuiApplication::clipboard()->setText(QStringLiteral("text only"));
  EXPECT_FALSE(b->PasteFromClipboard());
  Check();
}

TEST_F(Fixture, ReadOnlyTreeCopiesButNeitherCutsNorPastes) {
  a->AddToSelection(x);
  a->TreeOptions().MiscOptions.Include(toReadOnly);
  a->CutToClipboard();
  EXPECT_FALSE(a->TreeStates().Has(tsCutPending));
  a->CopyToClipboard();
  EXPECT_TRUE(a->TreeStates().Has(tsCopyPending));
  EXPECT_FALSE(a->PasteFromClipboard());
  a->TreeOptions().MiscOptions.Exclude(toReadOnly);
}

// --- Drag and drop --------------------------------------------------------------------------------------------

TEST_F(Fixture, WithoutADragOverHandlerNoDropIsTaken) {
  bool dropped = false;
  b->OnDragDrop = [&](TBaseLazyTreeControl*, TBaseLazyTreeControl*, const QMimeData*, const QStringList&,
                      Qt::KeyboardModifiers, plat::TPoint, uint32_t&, TDropMode) { dropped = true; };
  a->AddToSelection(x);
  a->DropTarget = b;
  a->RunOLEDrag(plat::TPoint(5, 5));
  EXPECT_FALSE(dropped);
  EXPECT_EQ(a->LastDragEffect(), DROPEFFECT_NONE);
  EXPECT_EQ(b->Texts(), QStringLiteral("b"));
  EXPECT_FALSE(a->TreeStates().Has(tsOLEDragging));
}

TEST_F(Fixture, APendingDragStartsLaterAndNoOperationsAllowEveryEffect) {
  int started = 0, ended = 0;
  a->OnStartDrag = [&](TBaseLazyTreeControl*, bool& user) { user = ++started == 1; };
  a->OnEndDrag = [&](TBaseLazyTreeControl* t, plat::TPoint) {
    ++ended;
    EXPECT_EQ(t->TreeStates().Has(tsUserDragObject), started == 1);
  };
  a->AddToSelection(x);
  a->BeginDrag(false, 7);
  EXPECT_TRUE(a->Dragging());
  EXPECT_TRUE(a->TreeStates().Has(tsOLEDragPending));
  EXPECT_EQ(a->DragThreshold(), 7);
  a->BeginDrag(true);  // ignored while one is pending
  EXPECT_EQ(a->LastAllowed, 0u);
  a->RunOLEDrag(plat::TPoint(5, 5));
  EXPECT_FALSE(a->Dragging());
  EXPECT_EQ(a->LastAllowed, DROPEFFECT_COPY | DROPEFFECT_MOVE);  // the default operations
  a->SetDragOperations({});
  a->RunOLEDrag(plat::TPoint(5, 5));
  EXPECT_EQ(a->LastAllowed, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
  EXPECT_EQ(started, 2);
  EXPECT_EQ(ended, 2);
  EXPECT_FALSE(a->TreeStates().Has(tsUserDragObject));
}

TEST_F(Fixture, PressingAndMovingTheMouseDragsTheNodeIntoTheOtherTree) {
  b->AcceptDrops();
  a->SetDragMode(TBaseLazyTreeControl::dmAutomatic);
  a->DropTarget = b;
  a->DropKeys = Qt::ShiftModifier;
  QWidget* w = a->Widget();
  const QPoint press(a->GetDisplayRect(y, NoColumn, true).Left + 3, 27);  // on y's label
  QTest::mousePress(w, Qt::LeftButton, {}, press);
  EXPECT_TRUE(a->TreeStates().Has(tsOLEDragPending));
  const QPoint to = press + QPoint(0, a->DragThreshold() + 2);
  QMouseEvent move(QEvent::MouseMove, QPointF(to), w->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton, {});
  QCoreApplication::sendEvent(w, &move);
  EXPECT_EQ(b->Texts(), QStringLiteral("b(y)"));  // dropped onto b's row
  EXPECT_EQ(a->Texts(), QStringLiteral("x(x1) z"));
  EXPECT_FALSE(a->Dragging());
  EXPECT_FALSE(a->TreeStates().Has(tsLeftButtonDown));  // the drag took the release; the tree left its press
  Check();
}

TEST_F(Fixture, DragToAnotherTreeCopiesOrWithShiftMoves) {
  b->AcceptDrops();
  a->AddToSelection(y);
  a->DropTarget = b;
  a->DropAt = plat::TPoint(5, 5);  // on b's first row
  a->RunOLEDrag(plat::TPoint(5, 20));
  EXPECT_EQ(b->Texts(), QStringLiteral("b(y)"));
  EXPECT_EQ(a->Texts(), QStringLiteral("x(x1) y z"));
  EXPECT_EQ(a->LastDragEffect(), DROPEFFECT_COPY);
  Check();

  // Moved inside the process: the source is told nothing is left to do, so it deletes nothing more.
  a->TreeOptions().AutoOptions.Include(toAutoDeleteMovedNodes);
  a->ClearSelection();
  a->AddToSelection(x);
  a->DropKeys = Qt::ShiftModifier;
  a->DropAt = plat::TPoint(5, 250);  // below the rows: the root
  a->RunOLEDrag(plat::TPoint(5, 5));
  EXPECT_EQ(b->Texts(), QStringLiteral("b(y) x(x1)"));
  EXPECT_EQ(a->Texts(), QStringLiteral("y z"));
  EXPECT_EQ(a->LastDragEffect(), DROPEFFECT_NONE);
  Check();
}

TEST_F(Fixture, DropWithinOneTreeMovesAndReportsNoEffect) {
  a->AcceptDrops();
  a->AddToSelection(a->RootNode()->LastChild());  // z
  a->DropTarget = a;
  a->DropAt = plat::TPoint(5, 5);  // onto x
  a->TreeOptions().AutoOptions.Include(toAutoDeleteMovedNodes);
  a->RunOLEDrag(plat::TPoint(5, 40));
  EXPECT_EQ(a->Texts(), QStringLiteral("x(x1 z) y"));
  EXPECT_EQ(a->LastDragEffect(), DROPEFFECT_NONE);
  Check();
}

TEST_F(Fixture, HostileOrForeignDropDataIsCopiedOrRefused) {
  b->AcceptDrops();
  // Valid data from elsewhere (not a data object of this process) is copied, never moved.
  QMimeData foreign;
  foreign.setData(kLazyMime, a->WriteTransferNodes({x}));
  uint32_t effect = DROPEFFECT_MOVE;
  EXPECT_TRUE(b->Drop(&foreign, {}, plat::TPoint(5, 250), effect));
  EXPECT_EQ(b->Texts(), QStringLiteral("b x(x1)"));
  EXPECT_EQ(a->Texts(), QStringLiteral("x(x1) y z"));

  QMimeData hostile;
  hostile.setData(kLazyMime, QByteArray("\x01\0\0\0\x20\0\0\0\x02\0\0\0\xff\xff\xff\xff", 16));
  effect = DROPEFFECT_COPY;
  EXPECT_FALSE(b->ProcessDrop(&hostile, nullptr, effect, amAddChildLast));
  EXPECT_EQ(effect, DROPEFFECT_NONE);
  EXPECT_EQ(b->Texts(), QStringLiteral("b x(x1)"));
  Check();
}

TEST_F(Fixture, TheWindowsDragEventsReachTheDropTarget) {
  b->AcceptDrops();
  QMimeData data;
  data.setData(kLazyMime, a->WriteTransferNodes({y}));
  QWidget* w = b->Widget();
  const QPointF at(5, 250);
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &drop);
  EXPECT_TRUE(drop.isAccepted());
  EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
  EXPECT_EQ(b->Texts(), QStringLiteral("b y"));
  Check();
}

TEST_F(Fixture, DraggingNearAnEdgeScrollsAfterTheDelay) {
  for (int i = 0; i < 60; ++i) b->Add(nullptr, QStringLiteral("row"));
  b->AcceptDrops();
  b->TreeOptions().AutoOptions.Include(toAutoScroll);
  b->SetAutoScrollDelay(100);
  uint32_t now = 1000;
  b->SetAnimationClock([&] { return now; });
  QMimeData data;
  uint32_t effect = DROPEFFECT_COPY;
  b->DragEnter(&data, {}, plat::TPoint(20, 150), effect);
  const plat::TPoint bottom(20, b->ClientHeight() - 5);
  effect = DROPEFFECT_COPY;
  b->DragOver({}, bottom, effect);  // the delay starts
  EXPECT_EQ(b->OffsetY(), 0);
  now += 100;
  effect = DROPEFFECT_COPY;
  b->DragOver({}, bottom, effect);
  EXPECT_LT(b->OffsetY(), 0);
  EXPECT_EQ(effect, DROPEFFECT_COPY | DROPEFFECT_SCROLL);
  b->DragLeave();
}

TEST_F(Fixture, TheDropTargetRowShowsWhereTheDropLands) {
  for (const char* t : {"c", "d"}) b->Add(nullptr, QString::fromLatin1(t));
  b->AcceptDrops();
  b->Font()->SetName(QStringLiteral("DejaVu Sans"));
  form.Show();
  const QImage before = b->Widget()->grab().toImage();
  QMimeData data;
  uint32_t effect = DROPEFFECT_COPY;
  b->DragEnter(&data, {}, plat::TPoint(40, 18 + 14), effect);  // lower half of the second row
  EXPECT_EQ(b->LastDropMode(), dmBelow);
  EXPECT_EQ(b->DropTargetNode(), b->RootNode()->FirstChild->NextSibling);
  const QImage during = b->Widget()->grab().toImage();
  during.save(QStringLiteral(TEST_BINARY_DIR "/drop_target_below.png"));
  EXPECT_NE(during, before);
  b->DragLeave();
  EXPECT_EQ(b->Widget()->grab().toImage(), before);
}

TEST_F(Fixture, HoveringOverACollapsedParentOpensItAfterTheDelay) {
  a->AcceptDrops();
  a->SetAutoExpandDelay(10);
  QMimeData data;
  uint32_t effect = DROPEFFECT_COPY;
  a->DragEnter(&data, {}, plat::TPoint(5, 5), effect);
  EXPECT_EQ(a->DropTargetNode(), x);
  EXPECT_FALSE(a->GetExpanded(x));
  a->Perform(plat::WM_TIMER, TBaseLazyTreeControl::ExpandTimer);
  EXPECT_TRUE(a->GetExpanded(x));
  a->DragLeave();
  EXPECT_EQ(a->DropTargetNode(), nullptr);
}

}  // namespace
}  // namespace lazytree

namespace lazytree {
namespace {

// --- Drag image -----------------------------------------------------------------------------------------------

TEST(DragImage, FadeFallsOffFromTheCentre) {
  EXPECT_EQ(TLTDragImage::FadeAlpha(50, 50, 100, 100), 255);
  EXPECT_EQ(TLTDragImage::FadeAlpha(0, 50, 100, 100), 5);  // 255 e^-4
  EXPECT_EQ(TLTDragImage::FadeAlpha(50, 40, 100, 100), 115);  // 255 e^-0.8 = 114.58
  EXPECT_LT(TLTDragImage::FadeAlpha(0, 0, 100, 100), TLTDragImage::FadeAlpha(0, 50, 100, 100));
}

TEST_F(Fixture, PictureShowsTheSelectedRowsAroundTheHotSpotOnATransparentGround) {
  a->Font()->SetName(QStringLiteral("DejaVu Sans"));
  a->SetDragWidth(200);
  a->SetDragHeight(100);
  a->AddToSelection(y);  // the second row, y 18..36
  a->PrepareDragImage(plat::TPoint(5, 5), nullptr);
  const QImage picture = a->DragImage().Picture();
  ASSERT_EQ(picture.size(), QSize(200, 100));
  // The window was clipped at the tree's corner: the rows start 95 pixels right and 45 down in the picture.
  int shown = 0;
  for (int yy = 0; yy < picture.height(); ++yy)
    for (int xx = 0; xx < picture.width(); ++xx) {
      const int alpha = qAlpha(picture.pixel(xx, yy));
      const bool inSelectedRow = xx >= 95 && yy >= 45 + 18 && yy < 45 + 36;
      if (!inSelectedRow) {
        ASSERT_EQ(alpha, 0) << xx << "," << yy;  // background and unselected rows stay invisible
      } else if (alpha > 0) {
        ++shown;
      }
    }
  EXPECT_GT(shown, 200);
  picture.save(QStringLiteral(TEST_BINARY_DIR "/drag_image.png"));
  // For looking at: the picture three times enlarged over a dark ground.
  QImage over(picture.size() * 3, QImage::Format_RGB32);
  over.fill(QColor(40, 60, 90));
  QPainter(&over).drawImage(over.rect(), picture);
  over.save(QStringLiteral(TEST_BINARY_DIR "/drag_image_enlarged.png"));
}

TEST_F(Fixture, SelfDrawnPictureFollowsTheMouseWithinItsRestriction) {
  TLTDragImage& image = a->DragImage();
  QImage picture(40, 20, QImage::Format_ARGB32);
  picture.fill(Qt::blue);
  image.PrepareDrag(picture, QPoint(100, 100), QPoint(110, 105), nullptr);
  EXPECT_FALSE(image.Visible());
  // Hidden: only the last position follows.
  EXPECT_TRUE(image.DragTo(QPoint(120, 105), false));
  EXPECT_EQ(image.GetDragImageRect(), QRect());
  image.ShowDragImage();
  EXPECT_TRUE(image.Visible());
  EXPECT_EQ(image.GetDragImageRect(), QRect(100, 100, 40, 20));
  EXPECT_TRUE(image.DragTo(QPoint(125, 110), false));
  EXPECT_EQ(image.GetDragImageRect().topLeft(), QPoint(105, 105));
  // A move by the whole width lands the picture whole at the new place.
  EXPECT_TRUE(image.DragTo(QPoint(165, 110), false));
  EXPECT_EQ(image.GetDragImageRect().topLeft(), QPoint(145, 105));

  image.SetMoveRestriction(dmrHorizontalOnly);
  EXPECT_FALSE(image.WillMove(QPoint(165, 200)));
  EXPECT_FALSE(image.DragTo(QPoint(165, 200), false));
  EXPECT_TRUE(image.DragTo(QPoint(170, 200), false));
  EXPECT_EQ(image.GetDragImageRect().topLeft(), QPoint(150, 105));
  image.EndDrag();
  EXPECT_FALSE(image.Visible());
  EXPECT_EQ(image.GetDragImageRect(), QRect());
}

}  // namespace
}  // namespace lazytree
