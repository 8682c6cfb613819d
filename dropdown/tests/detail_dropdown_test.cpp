// The detail drop-down: its items' notifications and copies, completion while typing, the choice and its
// events, the popup's keys, search and paging, cancelling, and the rows it draws.
#include <QApplication>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <memory>

#include "dropdown/detail_dropdown.h"
#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/graphic.h"
#include "platform/testing/pixels.h"

using namespace plat;

namespace dropdown {
namespace {

struct Detail {
  explicit Detail(std::initializer_list<QString> captions) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 360, 300);
    drop = new TExtDetailDropDown(form.get());
    drop->SetParent(form.get());
    drop->SetBounds(20, 20, 240, 24);
    for (const QString& c : captions) drop->Items()->Add()->SetCaption(c);
    drop->OnSelect = [this](TObject*) { ++selects; };
    form->Show();
    QApplication::processEvents();
    drop->SetFocus();
    QApplication::processEvents();
  }
  QWidget* edit() const { return drop->Widget(); }
  QWidget* list() const { return drop->ItemSelector()->Widget(); }
  QString selected() const { return drop->SelText(); }
  void type(const QString& keys) const { QTest::keyClicks(edit(), keys); }
  std::unique_ptr<TForm> form;
  TExtDetailDropDown* drop;
  int selects = 0;
};

TEST(DetailItems, NotifyCaptionAndImageIndexOnlyAndAssignCopiesAll) {
  TDetailItems items(nullptr);
  int changes = 0;
  items.OnChange = [&](TObject*) { ++changes; };
  TObject attached;
  const struct {
    const char* name;
    std::function<void(TDetailItem&)> act;
    int changes;
  } cases[] = {
      {"caption", [](TDetailItem& i) { i.SetCaption(QStringLiteral("c")); }, 1},
      {"image index", [](TDetailItem& i) { i.SetImageIndex(4); }, 1},
      {"same image index", [](TDetailItem& i) { i.SetImageIndex(4); }, 0},
      {"notes", [](TDetailItem& i) { i.SetNotes(QStringLiteral("n")); }, 0},
      {"tag", [](TDetailItem& i) { i.SetTag(9); }, 0},
      {"object", [&](TDetailItem& i) { i.SetItemObject(&attached); }, 0},
  };
  TDetailItem& item = *items.Add();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    changes = 0;
    c.act(item);
    EXPECT_EQ(changes, c.changes);
  }
  changes = 0;
  items.Add();
  EXPECT_EQ(changes, 0);
  TBitmap picture(6, 2);
  item.Image()->SetGraphic(&picture);
  item.SetEnabled(false);
  TDetailItem& copy = *items.GetItem(1);
  copy.Assign(&item);
  EXPECT_EQ(copy.Caption(), QStringLiteral("c"));
  EXPECT_EQ(copy.ImageIndex(), 4);
  EXPECT_EQ(copy.Notes(), QStringLiteral("n"));
  EXPECT_EQ(copy.Tag(), 9);
  EXPECT_EQ(copy.ItemObject(), &attached);
  EXPECT_FALSE(copy.Enabled());
  EXPECT_EQ(copy.Image()->Width(), 6);
  EXPECT_EQ(items.IndexOf(QStringLiteral("c")), 0);
  EXPECT_EQ(items.IndexOf(QStringLiteral("C")), -1);
}

TEST(DetailCompletion, TypingCompletesFromTheFirstMatchingCaption) {
  const QString longCaption = QStringLiteral("w") + QString(300, QLatin1Char('z'));
  const struct {
    const char* name;
    bool matchCase;
    QString keys;
    QString text, selected;
    int itemIndex;
  } cases[] = {
      {"prefix in another case", false, QStringLiteral("al"), QStringLiteral("alpha"), QStringLiteral("pha"), 0},
      {"typing over the completion", false, QStringLiteral("alx"), QStringLiteral("alx"), QString(), 0},
      {"a longer prefix reaches the later item", false, QStringLiteral("alphab"), QStringLiteral("alphabet"),
       QStringLiteral("et"), 2},
      {"case sensitive finds nothing", true, QStringLiteral("al"), QStringLiteral("al"), QString(), -1},
      {"case sensitive in the caption's case", true, QStringLiteral("Be"), QStringLiteral("Beta"),
       QStringLiteral("ta"), 1},
      {"no caption begins so", false, QStringLiteral("qq"), QStringLiteral("qq"), QString(), -1},
      {"a long caption adds at most 255 characters", false, QStringLiteral("Wz"),
       QStringLiteral("Wz") + QString(255, QLatin1Char('z')), QString(255, QLatin1Char('z')), 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Detail d({QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Alphabet"), longCaption});
    d.drop->SetMatchCase(c.matchCase);
    d.type(c.keys);
    EXPECT_EQ(d.drop->Text(), c.text);
    EXPECT_EQ(d.selected(), c.selected);
    EXPECT_EQ(d.drop->ItemIndex(), c.itemIndex);
    EXPECT_EQ(d.selects, 0);
  }
}

TEST(DetailCompletion, BackspaceStopsCompletingAndTypingInsideKeepsTheRest) {
  Detail d({QStringLiteral("Alpha")});
  d.type(QStringLiteral("al"));
  QTest::keyClick(d.edit(), Qt::Key_Backspace);  // removes the completed part
  EXPECT_EQ(d.drop->Text(), QStringLiteral("al"));
  QTest::keyClick(d.edit(), Qt::Key_Backspace);
  EXPECT_EQ(d.drop->Text(), QStringLiteral("a"));
  d.type(QStringLiteral("l"));  // any other key: completing again
  EXPECT_EQ(d.drop->Text(), QStringLiteral("alpha"));

  Detail inside({QStringLiteral("Alpha")});
  inside.drop->SetText(QStringLiteral("xyz"));
  inside.drop->SetSelStart(1);
  inside.type(QStringLiteral("q"));
  EXPECT_EQ(inside.drop->Text(), QStringLiteral("xqyz"));
}

TEST(DetailChoice, ItemIndexWritesTheTextAndFiresOnSelect) {
  Detail d({QStringLiteral("Alphabet"), QStringLiteral("Alpha")});
  d.drop->SetItemIndex(1);  // the text, a prefix of the first caption, is not completed again
  EXPECT_EQ(d.drop->Text(), QStringLiteral("Alpha"));
  EXPECT_EQ(d.selected(), QStringLiteral("Alpha"));
  EXPECT_EQ(d.drop->ItemIndex(), 1);
  EXPECT_EQ(d.selects, 1);
  d.drop->SetItemIndex(1);
  EXPECT_EQ(d.selects, 1);
  d.drop->SetItemIndex(5);
  EXPECT_EQ(d.drop->ItemIndex(), 1);
  d.drop->SetItemIndex(-1);
  EXPECT_EQ(d.drop->Text(), QString());
  EXPECT_EQ(d.drop->ItemIndex(), -1);
  EXPECT_EQ(d.selects, 1);
  d.drop->SetText(QStringLiteral("Alpha"));
  QTest::keyClick(d.edit(), Qt::Key_Return);  // Enter takes the item whose caption the text is
  EXPECT_EQ(d.drop->ItemIndex(), 1);
  QTest::keyClick(d.edit(), Qt::Key_End);
  QTest::keyClick(d.edit(), Qt::Key_Return);  // again: the text stays that caption
  EXPECT_EQ(d.drop->ItemIndex(), 1);
  EXPECT_EQ(d.drop->Text(), QStringLiteral("Alpha"));
}

TEST(DetailKeys, ClosedPopupArrowsStepTheChoice) {
  Detail d({QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma")});
  const struct {
    bool editor;
    Qt::Key key;
    int from, to;
  } cases[] = {
      {true, Qt::Key_Down, -1, 0}, {true, Qt::Key_Down, 1, 2},  {true, Qt::Key_Down, 2, 2},
      {true, Qt::Key_Up, 1, 0},    {true, Qt::Key_End, 0, 0},   {true, Qt::Key_Home, 2, 2},
      {false, Qt::Key_End, 0, 2},  {false, Qt::Key_Home, 2, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    d.drop->SetEditorEnabled(c.editor);
    d.drop->SetItemIndex(c.from);
    QTest::keyClick(d.edit(), c.key);
    EXPECT_EQ(d.drop->ItemIndex(), c.to);
    EXPECT_FALSE(d.drop->DroppedDown());
  }
}

TEST(DetailPopup, ArrowsMoveEscapeRestoresAndAClickChooses) {
  Detail d({QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma")});
  d.drop->SetItemIndex(0);
  d.drop->ShowDropDown();
  ASSERT_TRUE(d.drop->DroppedDown());
  QTest::keyClick(d.list(), Qt::Key_Down);
  QTest::keyClick(d.list(), Qt::Key_Down);
  EXPECT_TRUE(d.drop->DroppedDown());
  EXPECT_EQ(d.drop->ItemIndex(), 2);
  EXPECT_EQ(d.drop->Text(), QStringLiteral("Gamma"));
  QTest::keyClick(d.list(), Qt::Key_Escape);
  EXPECT_FALSE(d.drop->DroppedDown());
  EXPECT_EQ(d.drop->ItemIndex(), 0);
  EXPECT_EQ(d.drop->Text(), QStringLiteral("Alpha"));

  d.drop->ShowDropDown();
  TCustomItemSelector& panel = *d.drop->ItemSelector()->ItemSelectorPanel();
  const TRect r = panel.GetItemRect(1);
  QTest::mouseClick(panel.Widget(), Qt::LeftButton, {}, QPoint(r.Left + 5, r.Top + 5));
  EXPECT_FALSE(d.drop->DroppedDown());
  EXPECT_EQ(d.drop->ItemIndex(), 1);
  EXPECT_EQ(d.drop->Text(), QStringLiteral("Beta"));
}

TEST(DetailPopup, LettersSearchTheListUntilTheBurstEnds) {
  Detail d({QStringLiteral("Alpha"), QStringLiteral("Bravo"), QStringLiteral("Beta")});
  d.drop->ShowDropDown();
  QTest::keyClick(d.list(), Qt::Key_B);
  QTest::keyClick(d.list(), Qt::Key_E);
  EXPECT_EQ(d.drop->ItemSelector()->ItemIndex(), 2);
  EXPECT_EQ(d.drop->ItemIndex(), 2);
  EXPECT_TRUE(d.drop->DroppedDown());
  QTest::qWait(600);  // the search ends 500 ms after its first key
  QTest::keyClick(d.list(), Qt::Key_A);
  EXPECT_EQ(d.drop->ItemIndex(), 0);
}

TEST(DetailPopup, PagesByTheVisibleRows) {
  Detail d({});
  for (int i = 0; i < 20; ++i) d.drop->Items()->Add()->SetCaption(QStringLiteral("Item %1").arg(i));
  d.drop->SetItemHeight(20);  // 100 / 20: five rows show
  const struct {
    int from;
    Qt::Key key;
    int to;
  } cases[] = {{2, Qt::Key_PageDown, 7}, {17, Qt::Key_PageDown, 19}, {7, Qt::Key_PageUp, 2}, {3, Qt::Key_PageUp, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.from);
    d.drop->SetItemIndex(c.from);
    d.drop->ShowDropDown();
    ASSERT_EQ(d.drop->ItemSelector()->GetVisibleItemCount(), 5);
    QTest::keyClick(d.list(), c.key);
    EXPECT_EQ(d.drop->ItemIndex(), c.to);
    EXPECT_TRUE(d.drop->DroppedDown());
    d.drop->HideDropDown(false);
  }
}

// A row height of 0 used to divide by zero when the visible rows were counted.
TEST(DetailPopup, ZeroItemHeightPagesWithoutDividingByZero) {
  Detail d({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
  d.drop->SetItemHeight(0);
  d.drop->ShowDropDown();
  QTest::keyClick(d.list(), Qt::Key_PageDown);
  EXPECT_EQ(d.drop->ItemIndex(), 2);
}

TEST(DetailPopup, WheelStepsTheChoice) {
  Detail d({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
  QWheelEvent down(QPointF(5, 5), QPointF(d.edit()->mapToGlobal(QPoint(5, 5))), QPoint(), QPoint(0, -120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(d.edit(), &down);
  QApplication::sendEvent(d.edit(), &down);
  EXPECT_EQ(d.drop->ItemIndex(), 1);
}

// The box of the pixels clearly tinted towards one colour channel (anti-aliased text keeps few exact font pixels).
TRect TintBox(const QImage& img, int channel) {
  TRect box(INT_MAX, INT_MAX, -1, -1);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QColor c = img.pixelColor(x, y);
      const int v[] = {c.red(), c.green(), c.blue()};
      if (v[channel] - std::max(v[(channel + 1) % 3], v[(channel + 2) % 3]) < 80) continue;
      box = TRect(std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1), std::max(box.Bottom, y + 1));
    }
  return box.Right < 0 ? TRect() : box;
}

TEST(DetailRows, NotesStandOneLineBelowTheCaption) {
  Detail d({QStringLiteral("Caption")});
  d.drop->Items()->GetItem(0)->SetNotes(QStringLiteral("notes <b>bold</b>"));
  d.drop->CaptionFont()->SetColor(clRed);
  d.drop->NotesFont()->SetColor(clBlue);
  d.drop->SetItemHeight(40);
  d.drop->ShowDropDown();
  TCustomItemSelector& panel = *d.drop->ItemSelector()->ItemSelectorPanel();
  const TRect r = panel.GetItemRect(0);
  TBitmap bmp(panel.Width(), panel.Height());
  panel.DrawItem(0, bmp.Canvas());
  const QImage img = bmp.Image().copy();
  const TRect caption = TintBox(img, 0);
  const TRect notes = TintBox(img, 2);
  ASSERT_FALSE(caption.IsEmpty());
  ASSERT_FALSE(notes.IsEmpty());
  TBitmap scratch(1, 1);
  scratch.Canvas()->Font()->Assign(*d.drop->CaptionFont());
  const int line = scratch.Canvas()->TextHeight(QStringLiteral("gh"));
  EXPECT_GE(caption.Top, r.Top + 2);
  EXPECT_LT(caption.Bottom, r.Top + 2 + line + 1);
  EXPECT_GE(notes.Top, r.Top + 2 + line);
  EXPECT_GE(caption.Left, r.Left + 4);
}

TEST(DetailRows, Screenshot) {
  Detail d({QStringLiteral("Meter 1"), QStringLiteral("Meter 2"), QStringLiteral("A caption far too long for the "
                                                                                 "width of the popup list")});
  d.drop->Items()->GetItem(0)->SetNotes(QStringLiteral("Water, <b>primary</b> address 1"));
  d.drop->Items()->GetItem(1)->SetNotes(QStringLiteral("Heat, <i>secondary</i> address 12345678"));
  TBitmap picture(16, 16);
  picture.Canvas()->Brush()->SetColor(clGreen);
  picture.Canvas()->FillRect(TRect(2, 2, 14, 14));  // the white corner is the transparent colour
  d.drop->Items()->GetItem(1)->Image()->SetGraphic(&picture);
  d.drop->SetItemHeight(36);
  d.drop->SetItemIndex(1);
  d.drop->ShowDropDown();
  QApplication::processEvents();
  const QImage shot = d.drop->DropDownForm()->Widget()->grab().toImage();
  ASSERT_TRUE(shot.save(QStringLiteral(TEST_BINARY_DIR "/detail_dropdown.png")));
  // As wide as the edit, and the popup's border.
  EXPECT_EQ(d.drop->DropDownForm()->Width(), d.drop->Width() + 2 * d.drop->DropDownBorderWidth());
}

}  // namespace
}  // namespace dropdown
