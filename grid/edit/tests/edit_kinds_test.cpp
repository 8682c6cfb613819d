// The special road: each editor kind's set-up from the cell and write-back into it, the keys that end a
// special edit, the start character, the registry of editor families, and the custom editor link.
#include "grid/edit/tests/edit_test_fixture.h"

#include <QPainter>

#include "grid/edit/edit_link.h"
#include "grid/edit/edit_setup.h"
#include "grid/edit/special_editors.h"

namespace grid {
namespace {

using edittest::EditFixture;
using EditKinds = EditFixture;

TEST_F(EditKinds, EachKindIsFilledFromTheCellAndWrittenBack) {
  g->OnGetEditorProp = [](plat::TObject* s, int, int, TEditLink*) {
    auto* grid = static_cast<TExtStringGrid*>(s);
    grid->ClearComboString();
    grid->AddComboString("one");
    grid->AddComboString("two");
  };
  g->BtnUnitEdit()->Units()->Add("kg");
  g->BtnUnitEdit()->Units()->Add("g");
  struct Case {
    TEditorType kind;
    QString cell;
    std::function<QString(plat::TWinControl*)> shown;  // what the editor shows after set-up
    QString expectShown;
    std::function<void(plat::TWinControl*)> change;
    QString stored;
  } cases[] = {
      {edSpinEdit, "12x", [](auto* c) { return QString::number(static_cast<TGridSpin*>(c)->Value()); }, "12",
       [](auto* c) { static_cast<TGridSpin*>(c)->SetValue(15); }, "15"},
      {edFloatSpinEdit, "1.5", [](auto* c) { return QString::number(static_cast<TGridSpin*>(c)->FloatValue()); }, "1.5",
       [](auto* c) { static_cast<TGridSpin*>(c)->SetFloatValue(2.25); }, "2.25"},
      {edComboEdit, "two", [](auto* c) { return c->Text(); }, "two",
       [](auto* c) { c->SetText("three"); }, "three"},
      {edComboList, "two", [](auto* c) { return QString::number(static_cast<TGridCombo*>(c)->ItemIndex()); }, "1",
       [](auto* c) { static_cast<TGridCombo*>(c)->SetItemIndex(0); }, "one"},
      {edEditBtn, "abc", [](auto* c) { return c->Text(); }, "abc", [](auto* c) { c->SetText("xyz"); }, "xyz"},
      {edUnitEditBtn, "5kg",
       [](auto* c) { return c->Text() + "|" + static_cast<TGridUnitEditBtn*>(c)->UnitID(); }, "5|kg",
       [](auto* c) { c->SetText("7"); }, "7kg"},
      // A text without a known unit is edited whole and kept.
      {edUnitEditBtn, "12 lb",
       [](auto* c) { return c->Text() + "|" + static_cast<TGridUnitEditBtn*>(c)->UnitID(); }, "12 lb|",
       [](auto*) {}, "12 lb"},
      {edButton, "press", [](auto* c) { return c->Caption(); }, "press", [](auto*) {}, "press"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.kind));
    g->DefaultEditor = c.kind;
    g->SetCells(1, 1, c.cell);
    g->SetFocus();
    Key(Qt::Key_F2);
    ASSERT_TRUE(g->EditMode());
    plat::TWinControl* ctrl = g->EditCtrl();
    ASSERT_NE(ctrl, nullptr);
    EXPECT_TRUE(ctrl->Visible());
    EXPECT_FALSE(TextEditorShown());
    const plat::TRect cell = g->CellRect(1, 1);
    EXPECT_LE(std::abs(ctrl->Left() - cell.Left), 1);
    EXPECT_LE(std::abs(ctrl->Top() - cell.Top), 1);
    EXPECT_EQ(c.shown(ctrl), c.expectShown);
    c.change(ctrl);
    g->HideInplaceEdit();
    EXPECT_FALSE(ctrl->Visible());
    EXPECT_FALSE(ctrl->Enabled());
    EXPECT_FALSE(g->EditMode());
    EXPECT_EQ(g->Cells(1, 1), c.stored);
  }
}

TEST_F(EditKinds, CheckBoxShowsTheTextAndWritesNothingBack) {
  g->DefaultEditor = edCheckBox;
  Key(Qt::Key_F2);
  TGridCheckBox* box = g->CheckEdit();
  ASSERT_TRUE(box->Visible());
  EXPECT_EQ(box->Caption(), "alpha");
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(g->EditCtrl(), nullptr);
  box->SetChecked(true);
  Key(Qt::Key_Escape);
  EXPECT_FALSE(box->Visible());
  EXPECT_EQ(g->Cells(1, 1), "alpha");
}

TEST_F(EditKinds, DatePickersHoldLimitsAndWriteEmptyWhenUnchecked) {
  plat::FormatSettings.ShortDateFormat = "dd/mm/yyyy";
  g->DefaultEditor = edDateEdit;
  TGridDatePicker* p = g->DateTimePicker();
  p->MinDate = plat::EncodeDate(2020, 1, 1);
  p->MaxDate = plat::EncodeDate(2030, 1, 1);
  struct Case {
    QString cell;
    plat::TDateTime opens;
  } cases[] = {{"15/03/2024", plat::EncodeDate(2024, 3, 15)},
               {"15/03/2010", plat::EncodeDate(2020, 1, 2)},
               {"15/03/2040", plat::EncodeDate(2029, 12, 31)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cell.toStdString());
    g->SetCells(1, 1, c.cell);
    Key(Qt::Key_F2);
    ASSERT_TRUE(p->Visible());
    EXPECT_DOUBLE_EQ(std::floor(p->DateTime()), c.opens);
    g->HideInplaceEdit();
  }
  g->SetCells(1, 1, "15/03/2024");
  p->SetShowCheckbox(true);
  Key(Qt::Key_F2);
  p->SetChecked(false);
  g->HideInplaceEdit();
  EXPECT_EQ(g->Cells(1, 1), "");
  g->DefaultEditor = edDateTimeEdit;
  g->SetCells(1, 1, "15/03/2024 10:30");
  Key(Qt::Key_F2);
  TGridDateTimePicker* dt = g->DateAndTimePicker();
  ASSERT_TRUE(dt->Visible());
  EXPECT_DOUBLE_EQ(dt->OriginalDateTime, plat::EncodeDate(2024, 3, 15) + plat::EncodeTime(10, 30, 0, 0));
  dt->SetShowCheckbox(true);
  dt->SetChecked(false);
  g->HideInplaceEdit();
  EXPECT_EQ(g->Cells(1, 1), "");
}

TEST_F(EditKinds, SpinCommitsOnEnterAndARefusalKeepsItOpen) {
  g->DefaultEditor = edSpinEdit;
  g->SetCells(1, 1, "3");
  LogValidation(false);
  Key(Qt::Key_F2);
  TGridSpin* spin = g->SpinEdit();
  spin->SetValue(9);
  Key(Qt::Key_Return);
  EXPECT_TRUE(spin->Visible());
  EXPECT_TRUE(g->EditMode());
  EXPECT_EQ(Log(), "validate 1,1=9");
  EXPECT_EQ(spin->Text(), "3");  // the spin shows the cell's text again
  LogValidation(true);
  LogEnd();
  log.clear();
  spin->SetValue(9);
  Key(Qt::Key_Return);
  EXPECT_FALSE(spin->Visible());
  EXPECT_EQ(g->Cells(1, 1), "9");
  Flush();
  EXPECT_EQ(Log(), "validate 1,1=9 | editing done | cell done 1,1");
}

TEST_F(EditKinds, SpinStepsOnceWhenOpenedByItsButtonsAndByPageKeys) {
  g->DefaultEditor = edSpinEdit;
  g->SetCells(1, 1, "40");
  g->EditState().SpinUpClick = true;
  Key(Qt::Key_F2);
  EXPECT_EQ(g->SpinEdit()->Value(), 41);
  g->HideInplaceEdit();
  g->EditState().SpinDnClick = true;
  Key(Qt::Key_F2);
  EXPECT_EQ(g->SpinEdit()->Value(), 40);
  TGridSpin* spin = g->SpinEdit();
  spin->Increment = 5;
  struct Case {
    int from;
    int key;
    int to;
  } cases[] = {{98, Qt::Key_PageUp, 98}, {95, Qt::Key_PageUp, 100}, {3, Qt::Key_PageDown, 3},
               {50, Qt::Key_Home, 100},  {50, Qt::Key_End, 0}};
  for (const Case& c : cases) {
    spin->SetValue(c.from);
    Key(c.key);
    EXPECT_EQ(spin->Value(), c.to) << c.from << " key " << c.key;
  }
}

TEST_F(EditKinds, StartCharacterReachesTheEditorsThatTakeIt) {
  struct Case {
    TEditorType kind;
    bool shown;
  } cases[] = {{edSpinEdit, true}, {edEditBtn, true}, {edComboEdit, true}, {edCheckBox, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.kind));
    g->DefaultEditor = c.kind;
    g->SetCells(1, 1, "");
    g->SetFocus();
    Type("7");
    Flush();
    ASSERT_TRUE(g->EditMode());
    plat::TWinControl* ctrl = g->EditorKind(c.kind)->Control();
    EXPECT_EQ(ctrl->Text().contains("7"), c.shown);
    g->HideInplaceEdit();
  }
}

TEST_F(EditKinds, ComboListOnAnUnknownTextTakesAndReportsTheFirstItem) {
  std::vector<QString> reported;
  g->OnComboChange = [&](plat::TObject*, int c, int r, int i, QString s) {
    reported.push_back(QString("%1,%2:%3=%4").arg(c).arg(r).arg(i).arg(s));
  };
  g->DefaultEditor = edComboList;
  g->AddComboString("one");
  g->AddComboString("two");
  g->SetCells(1, 1, "zzz");
  Key(Qt::Key_F2);
  EXPECT_EQ(g->Combobox()->ItemIndex(), 0);
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported[0], "1,1:0=one");
  g->HideInplaceEdit();
  EXPECT_EQ(g->Cells(1, 1), "one");
  reported.clear();
  g->ClearComboString();
  g->SetCells(1, 1, "zzz");
  Key(Qt::Key_F2);
  EXPECT_TRUE(reported.empty());
}

TEST_F(EditKinds, PushButtonSpaceAsksTheEllipsisClickAndStoresItsAnswer) {
  g->DefaultEditor = edButton;
  g->OnEllipsClick = [](plat::TObject*, int c, int r, QString& s) { s = QString("%1 at %2,%3").arg(s).arg(c).arg(r); };
  Key(Qt::Key_F2);
  TGridButton* b = g->Btn();
  ASSERT_TRUE(b->Visible());
  Key(Qt::Key_Space);
  EXPECT_EQ(b->Caption(), "alpha at 1,1");
  EXPECT_EQ(g->Cells(1, 1), "alpha at 1,1");
}

TEST_F(EditKinds, EditButtonRefusalKeepsTheKindAndTheEditorOpen) {
  g->DefaultEditor = edNumericEditBtn;
  g->SetCells(1, 1, "");
  LogValidation(false);
  Key(Qt::Key_F2);
  Type("4x2");
  EXPECT_EQ(g->BtnEdit()->Text(), "42");  // the numeric kind filters like the text editor
  Key(Qt::Key_Return);
  EXPECT_TRUE(g->BtnEdit()->Visible());
  EXPECT_EQ(g->EditControl(), edNumericEditBtn);
  LogValidation(true);
  Key(Qt::Key_Return);
  EXPECT_FALSE(g->BtnEdit()->Visible());
  EXPECT_EQ(g->Cells(1, 1), "42");
}

TEST_F(EditKinds, FocusLeavingASpecialEditorWritesItBackAndLeavingTheCellValidates) {
  g->DefaultEditor = edEditBtn;
  LogValidation();
  Key(Qt::Key_F2);
  Type("k");
  ClickCell(3, 2);
  EXPECT_FALSE(g->BtnEdit()->Visible());
  EXPECT_EQ(g->Cells(1, 1), "k");
  EXPECT_EQ(Log(), "validate 1,1=k");
  EXPECT_EQ(g->Col(), 3);
}

TEST_F(EditKinds, KindsWithoutAnEditorShowNothingUntilAFamilyIsRegistered) {
  g->DefaultEditor = edTrackbarDropDown;
  Key(Qt::Key_F2);
  EXPECT_TRUE(g->EditMode());
  EXPECT_EQ(g->EditCtrl(), nullptr);
  EXPECT_FALSE(TextEditorShown());
  Key(Qt::Key_Down);  // the edit ends with the next cell change
  EXPECT_EQ(g->Row(), 2);

  // A family registered later edits the kind without any change to the grid.
  struct TLabelKind : TCellEditorKind {
    using TCellEditorKind::TCellEditorKind;
    plat::TEdit* edit = nullptr;
    plat::TWinControl* Setup(const TEditorCell& c) override {
      if (!edit) {
        edit = new plat::TEdit(&FGrid);
        edit->SetParent(&FGrid);
      }
      FGrid.EditState().EditMode = true;
      edit->SetBoundsRect(c.Rect);
      edit->SetText("[" + c.EditText + "]");
      edit->SetVisible(true);
      return edit;
    }
    void WriteBack(const TEditorCell& c) override {
      FGrid.WriteEditorText(c.RCol, c.Row, edit->Text());
      edit->SetVisible(false);
    }
    plat::TWinControl* Control() const override { return edit; }
  };
  TEditorRegistry::Register({edMemoDropDown}, [](TExtStringGrid& grid) { return std::make_unique<TLabelKind>(grid); });
  g->DefaultEditor = edMemoDropDown;
  g->SetCells(1, 2, "m");
  Key(Qt::Key_F2);
  ASSERT_NE(g->EditCtrl(), nullptr);
  EXPECT_EQ(g->EditCtrl()->Text(), "[m]");
  g->HideInplaceEdit();
  EXPECT_EQ(g->Cells(1, 2), "[m]");
}

// ---------------------------------------------------------------- the custom editor link

class TUpperLink : public TEditLink {
 public:
  using TEditLink::TEditLink;
  plat::TEdit* edit = nullptr;
  std::vector<QString> calls;
  void CreateEditor(plat::TWinControl* AParent) override {
    calls.push_back("create");
    if (edit) return;
    edit = new plat::TEdit(AParent);
    edit->SetParent(AParent);
    edit->OnKeyDown = [this](plat::TObject* s, std::uint16_t& k, plat::TShiftState sh) { EditKeyDown(s, k, sh); };
  }
  plat::TWinControl* GetEditControl() override { return edit; }
  QString GetEditorValue() override { return edit->Text().toUpper(); }
  void SetEditorValue(const QString& s) override {
    calls.push_back("value " + s);
    edit->SetText(s);
  }
};

struct EditLinkTest : EditFixture {
  TUpperLink* link = new TUpperLink(form.get());
  EditLinkTest() {
    g->DefaultEditor = edCustom;
    g->SetEditLink(link);
  }
};

TEST_F(EditLinkTest, CustomControlEditsTheCellAndEnterStoresItsValue) {
  std::vector<TEditLink*> props;
  g->OnGetEditorProp = [&](plat::TObject*, int, int, TEditLink* l) { props.push_back(l); };
  Key(Qt::Key_F2);
  ASSERT_NE(link->edit, nullptr);
  EXPECT_TRUE(link->edit->Visible());
  EXPECT_EQ(link->edit->Text(), "alpha");
  EXPECT_EQ(link->Grid(), g);
  EXPECT_EQ(link->EditCell(), plat::TPoint(1, 1));
  EXPECT_EQ(link->calls.front(), "create");
  ASSERT_FALSE(props.empty());
  EXPECT_EQ(props.back(), link);
  Type("z");
  Key(Qt::Key_Return);
  EXPECT_FALSE(link->edit->Visible());
  EXPECT_EQ(g->Cells(1, 1), "ALPHAZ");
}

TEST_F(EditLinkTest, EscapePutsTheCellTextBackBeforeWritingBack) {
  Key(Qt::Key_F2);
  Type("junk");
  Key(Qt::Key_Escape);
  EXPECT_FALSE(link->edit->Visible());
  EXPECT_EQ(g->Cells(1, 1), "ALPHA");
}

TEST_F(EditLinkTest, KeysTheLinkWantsStayInTheControl) {
  struct Case {
    int key;
    bool want;
    bool ends;
  } cases[] = {{Qt::Key_Down, false, true}, {Qt::Key_Down, true, false}, {Qt::Key_Home, false, false},
               {Qt::Key_End, false, true},   {Qt::Key_End, true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    link->WantKeyUpDown = link->WantKeyHomeEnd = c.want;
    g->SetFocus();
    g->FocusCell(1, 1);
    Key(Qt::Key_F2);
    ASSERT_TRUE(link->edit->Visible());
    Key(c.key);
    EXPECT_EQ(!link->edit->Visible() || !g->EditMode(), c.ends);
    if (g->EditMode()) g->HideInplaceEdit();
  }
}

TEST_F(EditLinkTest, RefusedValueReopensTheCustomEditor) {
  LogValidation(false);
  Key(Qt::Key_F2);
  Type("q");
  Key(Qt::Key_Return);
  EXPECT_TRUE(link->edit->Visible());
  EXPECT_TRUE(g->EditMode());
  EXPECT_EQ(g->Col(), 1);
}

TEST_F(EditLinkTest, PopupFormSitsAtTheCellWithItsWidth) {
  link->EditStyle = esPopup;
  link->AutoPopupWidth = true;
  link->PopupHeight = 40;
  Key(Qt::Key_F2);
  plat::TForm* popup = link->PopupForm();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->Name(), "gridform");
  EXPECT_EQ(popup->Width(), g->CellRect(1, 1).Width());
  EXPECT_EQ(popup->Height(), 40);
  const plat::TPoint at = g->ClientToScreen(g->CellRect(1, 1).TopLeft());
  EXPECT_EQ(popup->Left(), at.X);
  EXPECT_EQ(popup->Top(), at.Y);
  EXPECT_EQ(link->edit->Parent(), popup);
  // Another link's popup replaces the form by name; the first link forgets it instead of keeping a dangling one.
  TUpperLink other(form.get());
  other.EditStyle = esPopup;
  g->HideInplaceEdit();
  g->SetEditLink(&other);
  g->SetFocus();
  g->FocusCell(2, 1);
  Key(Qt::Key_F2);
  EXPECT_EQ(link->PopupForm(), nullptr);
  EXPECT_NE(other.PopupForm(), nullptr);
  g->HideInplaceEdit();
  g->SetEditLink(link);
  delete other.PopupForm();  // the application owns the popup form
}

}  // namespace
}  // namespace grid

namespace grid {
namespace {

// Each editor kind open over a cell, saved as a picture of the form to look at.
TEST_F(EditKinds, ScreenshotsOfEachEditorOpenOverACell) {
  plat::FormatSettings.ShortDateFormat = "dd/mm/yyyy";
  g->AddComboString("one");
  g->AddComboString("two");
  g->BtnUnitEdit()->Units()->Add("kg");
  g->SetDefaultRowHeight(24);
  g->SetColWidths(1, 170);
  struct Shot {
    TEditorType kind;
    const char* name;
    QString text;
  } shots[] = {{edNormal, "text", "alpha"},        {edSpinEdit, "spin", "42"},       {edComboEdit, "combo", "two"},
               {edComboList, "combo_list", "one"}, {edEditBtn, "edit_button", "abc"}, {edUnitEditBtn, "unit", "5kg"},
               {edCheckBox, "check_box", "ticked"}, {edButton, "button", "press"},   {edDateEdit, "date", "15/03/2024"},
               {edTimeEdit, "time", "10:30:00"}, {edDateTimeEdit, "date_time", "15/03/2024 10:30"},
               {edRichEdit, "rich", "{\\rtf1 plain {\\b bold} {\\i italic}}"}};
  // All pictures cropped around the edited cell, one under the other.
  QImage all(320, 70 * static_cast<int>(std::size(shots)), QImage::Format_RGB32);
  all.fill(Qt::white);
  QPainter painter(&all);
  int y = 0;
  for (const Shot& s : shots) {
    g->DefaultEditor = s.kind;
    g->SetCells(1, 2, s.text);
    g->SetFocus();
    g->FocusCell(1, 2);
    Key(Qt::Key_F2);
    Flush();
    ASSERT_TRUE(g->EditMode()) << s.name;
    const QImage img = form->Widget()->grab().toImage();
    EXPECT_TRUE(img.save(edittest::ShotPath(QStringLiteral("edit_") + s.name)));
    const plat::TRect r = g->CellRect(1, 2);
    painter.drawImage(QPoint(0, y), img.copy(r.Left - 60, r.Top - 25, 320, 70));
    painter.drawText(250, y + 12, s.name);
    y += 70;
    g->HideInplaceEdit();
  }
  painter.end();
  EXPECT_TRUE(all.save(edittest::ShotPath("edit_all_kinds")));
}

}  // namespace
}  // namespace grid

namespace grid {
namespace {

TEST_F(EditKinds, ComboWheelWalksTheItemsAndLookupCompletes) {
  std::vector<int> reported;
  g->OnComboChange = [&](plat::TObject*, int, int, int i, QString) { reported.push_back(i); };
  g->DefaultEditor = edComboEdit;
  g->AddComboString("apple");
  g->AddComboString("banana");
  g->AddComboString("cherry");
  g->SetCells(1, 1, "apple");
  Key(Qt::Key_F2);
  TGridCombo* combo = g->Combobox();
  ASSERT_TRUE(combo->Visible());
  combo->Perform(plat::WM_MOUSEWHEEL, plat::MakeWParam(0, -120), 0);
  combo->Perform(plat::WM_MOUSEWHEEL, plat::MakeWParam(0, -120), 0);
  EXPECT_EQ(combo->Text(), "cherry");
  combo->Perform(plat::WM_MOUSEWHEEL, plat::MakeWParam(0, 120), 0);
  EXPECT_EQ(combo->Text(), "banana");
  EXPECT_EQ(reported, (std::vector<int>{1, 2, 1}));
  // The dropped list is as wide as its widest item with AutoComboDropSize.
  g->HideInplaceEdit();
  g->Navigation()->AutoComboDropSize = true;
  g->AddComboString("a very long item that does not fit the cell at all");
  Key(Qt::Key_F2);
  EXPECT_GT(combo->DroppedWidth(), combo->Width() + 100);
  g->Lookup = true;
  combo->SetText("");
  Type("ch");
  EXPECT_EQ(combo->Text(), "cherry");
  Key(Qt::Key_Return);
  EXPECT_EQ(g->Cells(1, 1), "cherry");
}

TEST_F(EditKinds, AFullTextMovesOnByItselfWithAdvanceAuto) {
  g->Navigation()->SetAdvanceAuto(true);
  g->SetMaxEditLength(2);
  LogValidation();
  g->SetCells(1, 1, "");
  Key(Qt::Key_F2);
  Type("ab");
  Flush();
  EXPECT_EQ(Log(), "validate 1,1=ab");
  EXPECT_EQ(g->Cells(1, 1), "ab");
  EXPECT_NE(g->Col() * 100 + g->Row(), 101);  // moved on from the full cell
}

TEST_F(EditKinds, CellControlsFollowTheirCellsInAndOutOfView) {
  g->SetRowCount(40);
  auto* edit = new plat::TEdit(form.get());
  g->SetCellControls(2, 3, edit);
  g->CellControlsUpdate(true);
  EXPECT_EQ(g->ControlCount(), 1);
  ASSERT_TRUE(edit->Visible());
  const plat::TRect r = g->CellRect(2, 3);
  EXPECT_EQ(edit->BoundsRect(), plat::TRect(r.Left - 1, r.Top - 1, r.Right, r.Bottom));
  g->SetTopRow(20);
  g->CellControlsUpdate(false);
  EXPECT_FALSE(edit->Visible());
  g->SetTopRow(1);
  g->CellControlsUpdate(false);
  EXPECT_TRUE(edit->Visible());
  g->HideColumn(2);
  g->CellControlsUpdate(false);
  EXPECT_FALSE(edit->Visible());
}

}  // namespace
}  // namespace grid

namespace grid {
namespace {

TEST_F(EditKinds, ClosingTheWindowWithAnEditorOpenKeepsTheTypedText) {
  int done = 0;
  g->OnEditingDone = [&](plat::TObject*) { ++done; };
  g->DefaultEditor = edEditBtn;
  g->SetCells(1, 1, "");
  Key(Qt::Key_F2);
  Type("kept");
  // Focus leaving the form's controls writes the editor back before the window goes.
  other->SetFocus();
  QApplication::processEvents();
  EXPECT_EQ(g->Cells(1, 1), "kept");
  EXPECT_EQ(done, 1);
  Key(Qt::Key_F2);  // ignored by the other control
  g->SetFocus();
  Key(Qt::Key_F2);
  ASSERT_TRUE(g->BtnEdit()->Visible());
  form.reset();  // the grid goes with its editor open and focused
  SUCCEED();
}

}  // namespace
}  // namespace grid
