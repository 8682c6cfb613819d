// The multi-column drop-down: its columns and items, the choice and the stepping keys, completion while typing,
// the lookup typed into the open popup, the popup's rows, heights and column widths, picking and cancelling,
// and the style colours.
#include <QApplication>
#include <QWheelEvent>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "dropdown/multicolumn.h"
#include "dropdown/multicolumn_grid.h"
#include "dropdown/multicolumn_lookup.h"
#include "platform/forms/forms.h"
#include "platform/graphics/gdiobjects.h"
#include "platform/rtl/strings.h"

using namespace plat;

namespace dropdown::multicolumn {
namespace {

// Exposes the popup height rule.
class TTestMultiColumn : public TExtMultiColumnDropDown {
 public:
  using TExtMultiColumnDropDown::TExtMultiColumnDropDown;
  int Adapted(int Height) {
    AdaptDropDownHeight(Height);
    return Height;
  }
};

// A shown form with a multi-column drop-down of three columns, one item per row of texts given.
struct Multi {
  explicit Multi(std::initializer_list<std::initializer_list<QString>> rows) {
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(100, 100, 400, 300);
    drop = new TTestMultiColumn(form.get());
    drop->SetParent(form.get());
    drop->SetBounds(20, 20, 240, 24);
    for (const char* h : {"Name", "Code", "Town"}) drop->Columns()->Add()->SetHeader(QString::fromLatin1(h));
    for (const auto& row : rows) {
      TDropDownItem* item = drop->Items()->Add();
      for (const QString& s : row) item->Text()->Add(s);
    }
    drop->EndUpdate();
    drop->OnSelect = [this](TObject*) { ++selects; };
    form->Show();
    QApplication::processEvents();
    drop->SetFocus();
    QApplication::processEvents();
  }
  QWidget* edit() const { return drop->Widget(); }
  TExtColGrid* grid() const { return drop->Grid(); }
  QWidget* gridWidget() const { return drop->Grid()->Widget(); }
  QString selected() const { return drop->SelText(); }
  bool open() const { return drop->DroppedDown() && drop->DropDownForm()->Visible(); }
  void wheelGrid(int delta) const {
    QWheelEvent e(QPointF(5, 40), QPointF(gridWidget()->mapToGlobal(QPoint(5, 40))), QPoint(), QPoint(0, delta),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(gridWidget(), &e);
  }
  std::unique_ptr<TForm> form;
  TTestMultiColumn* drop;
  int selects = 0;
};

const std::initializer_list<std::initializer_list<QString>> Towns = {
    {"Abc", "1", "Rome"}, {"abd", "2", "Milan"}, {"Bern", "3", "Bern"}};

TEST(MultiColumnItems, AssignCopiesAndIndexInColumnIsExactAndSkipsShortItems) {
  TDropDownColumns columns(nullptr);
  TDropDownColumn& a = *columns.Add();
  a.SetWordwrap(true);
  a.SetWidth(33);
  a.SetAutoSize(true);
  a.SetHeader(QStringLiteral("h"));
  a.SetAlignment(taCenter);
  a.SetColor(0x123456);
  a.SetColumnType(ctImage);
  a.Font()->SetColor(0x00FF00);
  a.SetEllipsis(true);
  TDropDownColumn& b = *columns.Add();
  b.Assign(&a);
  EXPECT_TRUE(b.Wordwrap() && b.AutoSize() && b.Ellipsis());
  EXPECT_EQ(b.Width(), 33);
  EXPECT_EQ(b.Header(), QStringLiteral("h"));
  EXPECT_EQ(b.Alignment(), taCenter);
  EXPECT_EQ(b.Color(), TColor(0x123456));
  EXPECT_EQ(b.ColumnType(), ctImage);
  EXPECT_EQ(b.Font()->Color(), TColor(0x00FF00));
  EXPECT_NE(b.Font(), a.Font());

  TDropDownItems items(nullptr);
  items.Add()->Text()->Add(QStringLiteral("only"));
  TDropDownItem& two = *items.Add();
  two.Text()->Add(QStringLiteral("x"));
  two.Text()->Add(QStringLiteral("Y"));
  two.SetImageIndex(3);
  EXPECT_EQ(items.IndexInColumn(1, QStringLiteral("Y")), 1);
  EXPECT_EQ(items.IndexInColumn(1, QStringLiteral("y")), -1);
  EXPECT_EQ(items.IndexInColumn(1, QString()), -1);  // the short item has no string there
  TDropDownItem& copy = *items.Add();
  copy.Assign(&two);
  EXPECT_EQ(copy.ImageIndex(), 3);
  EXPECT_EQ(copy.Text()->Count(), 2);
  EXPECT_EQ(copy.Text()->Strings(1), QStringLiteral("Y"));
}

TEST(MultiColumnChoice, ItemIndexWritesTheLookupTextAndIgnoresIndexesPastTheEnd) {
  Multi m(Towns);
  m.drop->SetLookupColumn(2);
  const struct {
    int set;
    int index;
    const char* text;
  } cases[] = {{1, 1, "Milan"}, {5, 1, "Milan"}, {3, 1, "Milan"}, {-1, -1, ""}, {2, 2, "Bern"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.set);
    m.drop->SetItemIndex(c.set);
    EXPECT_EQ(m.drop->ItemIndex(), c.index);
    EXPECT_EQ(m.drop->Text(), QString::fromLatin1(c.text));
  }
  m.drop->SetLookupColumn(-1);
  m.drop->SetItemIndex(0);
  EXPECT_EQ(m.drop->Text(), QString());
  m.drop->SetLookupColumn(0);
  EXPECT_EQ(m.drop->GetItemIndex(QStringLiteral("abd")), 1);
  EXPECT_EQ(m.drop->GetItemIndex(QStringLiteral("ABD")), -1);
}

TEST(MultiColumnChoice, SteppingByCallsAndKeys) {
  Multi m({});
  for (int i = 0; i < 15; ++i) m.drop->Items()->Add()->Text()->Add(QString::number(i));
  using Step = std::function<void()>;
  const struct {
    const char* name;
    int from;
    Step step;
    int to;
  } cases[] = {
      {"next from none", -1, [&] { m.drop->SelectNext(); }, 0},
      {"next at last", 14, [&] { m.drop->SelectNext(); }, 14},
      {"previous from none", -1, [&] { m.drop->SelectPrevious(); }, 0},
      {"previous at first", 0, [&] { m.drop->SelectPrevious(); }, 0},
      {"next page", 2, [&] { m.drop->SelectNextPage(); }, 12},
      {"next page stops at last", 12, [&] { m.drop->SelectNextPage(); }, 14},
      {"previous page stops at first", 4, [&] { m.drop->SelectPreviousPage(); }, 0},
      {"last", 3, [&] { m.drop->SelectLast(); }, 14},
      {"Down key", 3, [&] { QTest::keyClick(m.edit(), Qt::Key_Down); }, 4},
      {"Up key", 3, [&] { QTest::keyClick(m.edit(), Qt::Key_Up); }, 2},
      {"PgDn key", 3, [&] { QTest::keyClick(m.edit(), Qt::Key_PageDown); }, 13},
      {"End key in an editable edit", 3, [&] { QTest::keyClick(m.edit(), Qt::Key_End); }, 3},
      {"wheel down", 3, [&] {
         QWheelEvent e(QPointF(5, 5), QPointF(m.edit()->mapToGlobal(QPoint(5, 5))), QPoint(), QPoint(0, -120),
                       Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
         QApplication::sendEvent(m.edit(), &e);
       }, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    m.drop->SetItemIndex(c.from);
    c.step();
    EXPECT_EQ(m.drop->ItemIndex(), c.to);
    EXPECT_EQ(m.drop->Text(), c.to < 0 ? QString() : QString::number(c.to));
  }
  m.drop->SetEditorEnabled(false);
  m.drop->SetItemIndex(3);
  QTest::keyClick(m.edit(), Qt::Key_End);
  EXPECT_EQ(m.drop->ItemIndex(), 14);
  QTest::keyClick(m.edit(), Qt::Key_Home);
  EXPECT_EQ(m.drop->ItemIndex(), 0);
}

TEST(MultiColumnChoice, WithoutItemsNothingStepsAndThePopupHasNoHeaderRow) {
  Multi m({});
  QTest::keyClick(m.edit(), Qt::Key_Down);
  m.drop->SelectLast();
  m.drop->SelectNextPage();
  EXPECT_EQ(m.drop->ItemIndex(), -1);
  m.drop->Columns()->GetItem(0)->SetAutoSize(true);
  m.drop->ShowDropDown();
  ASSERT_TRUE(m.open());
  EXPECT_EQ(m.grid()->RowCount(), 1);
  EXPECT_EQ(m.grid()->FixedRows(), 0);
  EXPECT_EQ(m.drop->Columns()->GetItem(0)->Width(), 0);
  EXPECT_EQ(m.drop->ItemIndex(), -1);
}

TEST(MultiColumnPrefixIndex, FindsTheFirstTextInListOrderAgainstAPlainWalk) {
  QStringList texts{"beta", "Alpha", "alpha", "al", "", "alp", "gamma", "alpha", "b"};
  TPrefixIndex index;
  auto walk = [&texts](const QString& prefix) {
    if (prefix.isEmpty()) return -1;
    for (int i = 0; i < texts.size(); ++i)
      if (texts[i].startsWith(prefix)) return i;
    return -1;
  };
  for (const char* p : {"a", "al", "alp", "alpha", "alphab", "b", "be", "g", "Al", "x", "", "gamma"}) {
    SCOPED_TRACE(p);
    EXPECT_EQ(index.Find(texts, QString::fromLatin1(p)), walk(QString::fromLatin1(p)));
  }
  // A rebuilt list needs Clear when its size stays; a list of another size is noticed.
  texts[1] = QStringLiteral("zeta");
  index.Clear();
  EXPECT_EQ(index.Find(texts, QStringLiteral("z")), 1);
  texts << QStringLiteral("omega");
  EXPECT_EQ(index.Find(texts, QStringLiteral("o")), 9);
}

// ---- completion while typing ------------------------------------------------------------------------------

TEST(MultiColumnTyping, CompletesFromTheFirstMatchAndTakesTheItemsCaseOnRelease) {
  Multi m(Towns);
  QTest::keyClick(m.edit(), Qt::Key_A);
  EXPECT_EQ(m.drop->Text(), QStringLiteral("Abc"));
  EXPECT_EQ(m.selected(), QStringLiteral("bc"));
  QTest::keyPress(m.edit(), Qt::Key_B);
  EXPECT_EQ(m.drop->Text(), QStringLiteral("Abc"));
  EXPECT_EQ(m.selected(), QStringLiteral("c"));
  EXPECT_EQ(m.drop->ItemIndex(), 0);
  QTest::keyRelease(m.edit(), Qt::Key_B);
  EXPECT_EQ(m.drop->Text(), QStringLiteral("Abc"));
  EXPECT_EQ(m.selected(), QStringLiteral("c"));
  EXPECT_TRUE(m.drop->Modified());
}

TEST(MultiColumnTyping, TheTypedPartKeepsItsCaseUntilTheRelease) {
  Multi m(Towns);
  QTest::keyPress(m.edit(), Qt::Key_B, Qt::NoModifier);
  QTest::keyRelease(m.edit(), Qt::Key_B);
  m.drop->SetText(QString());
  QTest::keyPress(m.edit(), 'a');
  EXPECT_EQ(m.drop->Text(), QStringLiteral("abc"));  // the typed "a", then the rest of "Abc"
  QTest::keyRelease(m.edit(), 'a');
  EXPECT_EQ(m.drop->Text(), QStringLiteral("Abc"));
}

TEST(MultiColumnTyping, AMissCutsTheTextAtTheCaretAndBackspaceDoesNotComplete) {
  Multi m(Towns);
  m.drop->SetText(QStringLiteral("Abc"));
  m.drop->SetSelStart(1);
  m.drop->SetSelLength(0);
  QTest::keyClick(m.edit(), Qt::Key_X);
  EXPECT_EQ(m.drop->Text(), QStringLiteral("Ax"));
  EXPECT_EQ(m.drop->SelStart(), 2);
  QTest::keyClick(m.edit(), Qt::Key_Backspace);
  QTest::keyClick(m.edit(), Qt::Key_Backspace);
  EXPECT_EQ(m.drop->Text(), QString());
  // A lookup column the items lack matches nothing.
  m.drop->SetLookupColumn(5);
  m.drop->EndUpdate();
  QTest::keyClick(m.edit(), Qt::Key_B);
  EXPECT_EQ(m.drop->Text(), QStringLiteral("b"));
}

TEST(MultiColumnTyping, EnterTakesTheItemsOwnTextAndEscapeReselectsByText) {
  Multi m(Towns);
  m.drop->SetText(QStringLiteral("ABD"));
  QTest::keyClick(m.edit(), Qt::Key_Return);
  EXPECT_EQ(m.drop->Text(), QStringLiteral("abd"));
  EXPECT_EQ(m.drop->ItemIndex(), 1);
  m.drop->SetText(QStringLiteral("bern"));
  QTest::keyClick(m.edit(), Qt::Key_Escape);
  EXPECT_EQ(m.drop->ItemIndex(), 2);
  EXPECT_EQ(m.drop->Text(), QStringLiteral("Bern"));
}

// ---- the popup ----------------------------------------------------------------------------------------------

TEST(MultiColumnPopup, FillsAHeaderRowAndOneRowPerItemOnTheChoice) {
  Multi m(Towns);
  m.drop->SetItemIndex(1);
  m.drop->ShowDropDown();
  ASSERT_TRUE(m.open());
  EXPECT_EQ(m.grid()->RowCount(), 4);
  EXPECT_EQ(m.grid()->FixedRows(), 1);
  EXPECT_EQ(m.grid()->ColCount(), 3);
  EXPECT_EQ(m.grid()->RowHeights(0), 25);
  EXPECT_EQ(m.grid()->RowHeights(1), 22);
  EXPECT_EQ(m.grid()->Row(), 2);
  EXPECT_EQ(m.grid()->Columns()->GetItem(2)->Header(), QStringLiteral("Town"));
}

TEST(MultiColumnPopup, HeightSnapsToWholeRowsAndARowHeightBelowOneCountsAsOne) {
  Multi m(Towns);
  // 25 header + 2 border + 100 for rows: four rows of 22.
  EXPECT_EQ(m.drop->Adapted(127), 25 + 4 * 22 + 2);
  m.drop->SetDropDownRowHeight(0);
  EXPECT_EQ(m.drop->Adapted(127), 127);
  m.drop->SetDropDownRowHeight(-3);
  EXPECT_EQ(m.drop->Adapted(40), 40);
  m.drop->ShowDropDown();
  ASSERT_TRUE(m.open());
  EXPECT_EQ(m.grid()->DefaultRowHeight(), 1);
}

TEST(MultiColumnPopup, ColumnsScaleToThePopupWidthCarryingTheFractions) {
  Multi m(Towns);
  m.drop->ShowDropDown();
  ASSERT_TRUE(m.open());
  const struct {
    int width;
    int expected[3];
  } cases[] = {{241, {80, 80, 80}}, {200, {66, 66, 67}}, {482, {160, 160, 160}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    TDropDownForm& f = *m.drop->DropDownForm();
    f.SetBounds(f.Left(), f.Top(), c.width, f.Height());
    m.drop->SizeColumnsToDropDown();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(m.grid()->ColWidths(i), c.expected[i]) << i;
    EXPECT_EQ(m.drop->Columns()->GetItem(0)->Width(), 80);
  }
}

TEST(MultiColumnPopup, AutoSizedColumnsFitTheWidestItemAndThePopupFitsTheColumns) {
  Multi m({{"a", "a much longer code text", "x"}, {"b", "", "y"}});
  m.drop->Columns()->GetItem(1)->SetAutoSize(true);
  m.drop->SetColumnSizeWithDropDown(false);
  m.drop->ShowDropDown();
  ASSERT_TRUE(m.open());
  const int w = m.drop->Columns()->GetItem(1)->Width();
  EXPECT_GT(w, 80);
  EXPECT_EQ(m.grid()->ColWidths(1), w);
  EXPECT_EQ(m.drop->DropDownForm()->Width(), 80 + w + 80 + 2);
}

TEST(MultiColumnPopup, KeysInTheGridFollowAndEnterPicks) {
  Multi m(Towns);
  m.drop->ShowDropDown();
  ASSERT_TRUE(m.open());
  QTest::keyClick(m.gridWidget(), Qt::Key_Down);
  EXPECT_EQ(m.drop->ItemIndex(), 1);
  EXPECT_EQ(m.drop->Text(), QStringLiteral("abd"));
  QTest::keyClick(m.gridWidget(), Qt::Key_Return);
  EXPECT_FALSE(m.open());
  EXPECT_EQ(m.drop->ItemIndex(), 1);
  EXPECT_EQ(m.selects, 1);
}

TEST(MultiColumnPopup, AnOutsideCloseKeepsAKeyedRowButNotAWheeledOne) {
  Multi m(Towns);
  m.drop->SetItemIndex(0);
  m.drop->ShowDropDown();
  m.wheelGrid(-120);
  EXPECT_EQ(m.grid()->Row(), 2);
  EXPECT_EQ(m.drop->ItemIndex(), 0);
  m.drop->HideDropDown(false);  // the popup lost the activation: an accepted close
  EXPECT_EQ(m.drop->ItemIndex(), 0);
  EXPECT_EQ(m.drop->Text(), QStringLiteral("Abc"));

  m.drop->ShowDropDown();
  QTest::keyClick(m.gridWidget(), Qt::Key_Down);
  m.wheelGrid(-120);
  m.drop->HideDropDown(false);
  EXPECT_EQ(m.drop->ItemIndex(), 1);
}

TEST(MultiColumnPopup, EscapeGivesBackTheChoiceAndTheTextOfTheOpening) {
  Multi m(Towns);
  QTest::keyClicks(m.edit(), QStringLiteral("zz"));
  ASSERT_EQ(m.drop->Text(), QStringLiteral("zz"));
  m.drop->ShowDropDown();
  QTest::keyClick(m.gridWidget(), Qt::Key_Down);
  EXPECT_EQ(m.drop->ItemIndex(), 1);
  EXPECT_EQ(m.drop->Text(), QStringLiteral("abd"));
  QTest::keyClick(m.gridWidget(), Qt::Key_Escape);
  EXPECT_FALSE(m.open());
  EXPECT_EQ(m.drop->ItemIndex(), -1);
  EXPECT_EQ(m.drop->Text(), QStringLiteral("zz"));
}

TEST(MultiColumnPopup, TypingInThePopupLooksUpAndRestartsWithALoneCharacter) {
  Multi m(Towns);
  m.drop->ShowDropDown();
  QTest::keyClicks(m.gridWidget(), QStringLiteral("ab"));
  EXPECT_EQ(m.drop->ItemIndex(), 0);
  EXPECT_EQ(m.drop->Text(), QStringLiteral("Abc"));
  EXPECT_EQ(m.selected(), QStringLiteral("c"));
  EXPECT_EQ(m.grid()->Row(), 1);
  QTest::keyClick(m.gridWidget(), Qt::Key_D);  // "abd"
  EXPECT_EQ(m.drop->ItemIndex(), 1);
  EXPECT_EQ(m.grid()->Row(), 2);
  QTest::keyClick(m.gridWidget(), Qt::Key_B);  // "abdb" continues nothing: "b" alone finds Bern
  EXPECT_EQ(m.drop->ItemIndex(), 2);
  EXPECT_EQ(m.drop->Text(), QStringLiteral("Bern"));
  EXPECT_EQ(m.grid()->Row(), 3);
  m.drop->SetCaseSensitive(true);
  QTest::keyClick(m.gridWidget(), Qt::Key_Q);  // neither "bq" nor "q": nothing moves
  EXPECT_EQ(m.drop->ItemIndex(), 2);
  EXPECT_TRUE(m.open());
}

// ---- styles -----------------------------------------------------------------------------------------------

TEST(MultiColumnStyles, DefaultsAndStyleColours) {
  Multi m({});
  EXPECT_EQ(m.drop->HeaderColor(), TColor(0xFFFFFF));
  EXPECT_EQ(m.drop->HeaderColorTo(), TColor(0x808080));
  EXPECT_EQ(m.drop->LineColor(), TColor(0xF1EDEB));
  EXPECT_EQ(m.drop->FixedLineColor(), TColor(0xD1BBA4));
  EXPECT_EQ(m.drop->HeaderFont()->Color(), TColor(0x723708));
  EXPECT_EQ(m.drop->DropDownHeight(), 200);
  const struct {
    controls::TExtStyle style;
    TColor header, headerTo, line, fixedLine, selectionText;
    TSelectionColorStyle selection;
  } cases[] = {
      {controls::tsOffice2003Blue, 0xD68759, 0x933803, 0x962D00, 0x962D00, clBlack, scOffice2007},
      {controls::tsWindows7, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFBD6B8, clBlack, scWindows7},
      {controls::tsWindowsXP, clBtnFace, clBtnFace, 0xC0C0C0, clBlack, clHighlightText, scCustom},
      {controls::tsOffice2010Black, 0x828282, clNone, 0xEEDDCF, 0xEEDDCF, clBlack, scCustom},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.style));
    m.drop->SetComponentStyle(c.style);
    EXPECT_EQ(m.drop->HeaderColor(), c.header);
    EXPECT_EQ(m.drop->HeaderColorTo(), c.headerTo);
    EXPECT_EQ(m.drop->LineColor(), c.line);
    EXPECT_EQ(m.drop->FixedLineColor(), c.fixedLine);
    EXPECT_EQ(m.drop->SelectionTextColor(), c.selectionText);
    EXPECT_EQ(m.drop->SelectionColorStyle(), c.selection);
  }
  EXPECT_EQ(m.drop->SelectionColor(), TColor(0x6CD0FF));
  m.drop->SetSelectionColorStyle(scWindowsVista);
  EXPECT_EQ(m.drop->LineColor(), TColor(0xECECF0));
  EXPECT_EQ(m.drop->FixedLineColor(), TColor(0xD4D2D1));
}

}  // namespace
}  // namespace dropdown::multicolumn
