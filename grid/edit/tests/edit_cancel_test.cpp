// Cancelling and ending special edits through the real grid: Escape in each editor leaves the cell as it was,
// the check box and combo list close on their own keys only, the end of each special edit is announced once
// and after the handler, and an edit link's control asks for the grid's keys while the grid tabs.
#include "grid/edit/tests/edit_test_fixture.h"

#include "grid/edit/edit_link.h"
#include "grid/edit/special_editors.h"

namespace grid {
namespace {

using edittest::EditFixture;
using EditCancel = EditFixture;

// The control that edits a kind now (the check box and the date-and-time picker leave EditCtrl empty).
plat::TWinControl* EditorOf(TExtStringGrid* g, TEditorType kind) {
  if (kind == edCheckBox) return g->CheckEdit();
  if (kind == edDateTimeEdit) return g->DateAndTimePicker();
  return g->EditCtrl();
}

TEST_F(EditCancel, EscapeInEachSpecialEditorLeavesTheCellAsItWas) {
  plat::FormatSettings.ShortDateFormat = "dd/mm/yyyy";
  g->AddComboString("one");
  g->AddComboString("two");
  g->BtnUnitEdit()->Units()->Add("kg");
  g->BtnUnitEdit()->Units()->Add("g");
  struct Case {
    TEditorType kind;
    QString cell;
    std::function<void(plat::TWinControl*)> change;  // what the user does before Escape
  } cases[] = {
      {edSpinEdit, "12", [](auto* c) { static_cast<TGridSpin*>(c)->SetValue(30); }},
      {edFloatSpinEdit, "1.50", [](auto* c) { c->SetText("9.75"); }},
      {edComboEdit, "two", [](auto* c) { c->SetText("three"); }},
      {edComboList, "two", [](auto* c) { static_cast<TGridCombo*>(c)->SetItemIndex(0); }},
      {edEditBtn, "abc", [](auto* c) { c->SetText("xyz"); }},
      {edNumericEditBtn, "42", [](auto* c) { c->SetText("7"); }},
      {edUnitEditBtn, "5kg",
       [](auto* c) {
         c->SetText("8");
         static_cast<TGridUnitEditBtn*>(c)->SetUnitID("g");
       }},
      {edDateEdit, "15/03/2024", [](auto* c) { static_cast<TGridDatePicker*>(c)->SetDateTime(plat::EncodeDate(2001, 2, 3)); }},
      {edDateTimeEdit, "15/03/2024 10:30",
       [](auto* c) { static_cast<TGridDateTimePicker*>(c)->SetDateTime(plat::EncodeDate(2001, 2, 3)); }},
      {edCheckBox, "caption", [](auto* c) { static_cast<TGridCheckBox*>(c)->SetChecked(true); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.kind));
    LogValidation();
    log.clear();
    OpenWith(c.kind, 1, 1, c.cell);
    ASSERT_TRUE(g->EditMode());
    plat::TWinControl* ed = EditorOf(g, c.kind);
    ASSERT_NE(ed, nullptr);
    ASSERT_TRUE(ed->Visible());
    c.change(ed);
    Key(Qt::Key_Escape);
    Flush();
    EXPECT_FALSE(ed->Visible());
    EXPECT_FALSE(g->EditMode());
    EXPECT_EQ(g->Cells(1, 1), c.cell);
    EXPECT_EQ(g->Col() * 100 + g->Row(), 101);  // Escape does not move
    EXPECT_TRUE(g->Focused());
  }
}

TEST_F(EditCancel, PushButtonEscapeRestoresTheCellAndReachesTheGridsKeys) {
  std::vector<std::uint16_t> keys;
  g->OnKeyDown = [&](plat::TObject*, std::uint16_t& k, plat::TShiftState) { keys.push_back(k); };
  OpenWith(edButton, 1, 1, "press");
  ASSERT_TRUE(g->Btn()->Visible());
  keys.clear();
  Key(Qt::Key_Escape);
  EXPECT_FALSE(g->Btn()->Visible());
  EXPECT_FALSE(g->EditMode());
  EXPECT_EQ(g->Cells(1, 1), "press");
  EXPECT_EQ(keys, std::vector<std::uint16_t>{plat::VK_ESCAPE});
}

TEST_F(EditCancel, CheckBoxClosesOnItsKeysAndKeepsHomeAndSpace) {
  g->DefaultEditor = edCheckBox;
  g->SetRowCount(8);
  struct Case {
    int key;
    bool closes;
  } cases[] = {{Qt::Key_Home, false},  {Qt::Key_Space, false}, {Qt::Key_PageUp, true}, {Qt::Key_PageDown, true},
               {Qt::Key_End, true},    {Qt::Key_Left, true},   {Qt::Key_Right, true}, {Qt::Key_Up, true},
               {Qt::Key_Down, true},   {Qt::Key_Escape, true}, {Qt::Key_Return, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    g->SetFocus();
    g->FocusCell(1, 3);
    Key(Qt::Key_F2);
    TGridCheckBox* box = g->CheckEdit();
    ASSERT_TRUE(box->Visible());
    const bool before = box->Checked();
    Key(c.key);
    EXPECT_EQ(!box->Visible(), c.closes);
    if (c.key == Qt::Key_Space) {
      EXPECT_NE(box->Checked(), before);  // Space toggles the box
    }
    if (g->EditMode()) g->HideInplaceEdit();
  }
  // A click toggles the box once and keeps the edit open.
  g->SetFocus();
  g->FocusCell(1, 3);
  Key(Qt::Key_F2);
  TGridCheckBox* box = g->CheckEdit();
  const bool before = box->Checked();
  QTest::mouseClick(box->Widget(), Qt::LeftButton, {}, QPoint(6, box->Height() / 2));
  EXPECT_NE(box->Checked(), before);
  EXPECT_TRUE(box->Visible());
  g->HideInplaceEdit();
  // Up and Down go on to the grid after closing.
  g->SetFocus();
  g->FocusCell(1, 3);
  Key(Qt::Key_F2);
  Key(Qt::Key_Down);
  EXPECT_EQ(g->Row(), 4);
}

TEST_F(EditCancel, ComboListLeftEndsTheEditWhileATypedComboMovesItsCaret) {
  g->AddComboString("one");
  g->AddComboString("two");
  g->SetCells(2, 1, "two");
  // A list-style combo ends the edit on Left and the grid moves left.
  g->DefaultEditor = edComboList;
  g->SetFocus();
  g->FocusCell(2, 1);
  Key(Qt::Key_F2);
  TGridCombo* combo = g->Combobox();
  ASSERT_TRUE(combo->Visible());
  Key(Qt::Key_Left);
  EXPECT_FALSE(combo->Visible());
  EXPECT_EQ(g->Col(), 1);
  EXPECT_EQ(g->Cells(2, 1), "two");
  // A typed combo with its list closed keeps Left for its caret.
  g->DefaultEditor = edComboEdit;
  g->SetFocus();
  g->FocusCell(2, 1);
  Key(Qt::Key_F2);
  ASSERT_TRUE(combo->Visible());
  combo->SetSelStart(2);
  combo->SetSelLength(0);
  Key(Qt::Key_Left);
  EXPECT_TRUE(combo->Visible());
  EXPECT_EQ(combo->SelStart(), 1);
  EXPECT_EQ(g->Col(), 2);
  g->HideInplaceEdit();
}

TEST_F(EditCancel, EachSpecialEditIsAnnouncedOnceAfterItsHandler) {
  LogEnd();
  struct Case {
    TEditorType kind;
    int key;
  } cases[] = {{edSpinEdit, Qt::Key_Return}, {edEditBtn, Qt::Key_Return}, {edComboEdit, Qt::Key_Escape},
               {edCheckBox, Qt::Key_Escape}, {edUnitEditBtn, Qt::Key_Escape}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.kind));
    log.clear();
    OpenWith(c.kind, 1, 1, "3");
    ASSERT_TRUE(g->EditActive());
    Key(c.key);
    EXPECT_EQ(Log(), "editing done");  // the cell's notice waits for the message loop
    Flush();
    EXPECT_EQ(Log(), "editing done | cell done 1,1");
    EXPECT_FALSE(g->EditActive());
  }
  // The text editor closed with HideCellEdit alone announces nothing.
  log.clear();
  g->DefaultEditor = edNormal;
  g->SetFocus();
  g->FocusCell(1, 1);
  Key(Qt::Key_F2);
  ASSERT_TRUE(TextEditorShown());
  g->HideCellEdit();
  Flush();
  EXPECT_EQ(Log(), "");
}

TEST_F(EditCancel, StartCharacterLandsOnlyInTheEditorsThatTakeIt) {
  struct Case {
    TEditorType kind;
    bool lands;
    QString cell;  // a cell text without a 7 in it, so that only a typed one shows
  } cases[] = {{edUnitEditBtn, true, ""}, {edNumericEditBtn, true, ""}, {edButton, false, ""},
               {edTimeEdit, false, "10:30:00"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.kind));
    g->DefaultEditor = c.kind;
    g->SetCells(1, 1, c.cell);
    g->SetFocus();
    g->FocusCell(1, 1);
    Type("7");
    Flush();
    ASSERT_TRUE(g->EditMode());
    plat::TWinControl* ed = EditorOf(g, c.kind);
    ASSERT_NE(ed, nullptr);
    EXPECT_EQ(ed->Text().contains('7'), c.lands) << ed->Text().toStdString();
    EXPECT_EQ(g->EditState().StartEditChar, 0);
    g->HideInplaceEdit();
  }
}

// A small custom control behind the edit link.
class TPlainLink : public TEditLink {
 public:
  using TEditLink::TEditLink;
  plat::TEdit* edit = nullptr;
  void CreateEditor(plat::TWinControl* AParent) override {
    if (edit) return;
    edit = new plat::TEdit(AParent);
    edit->SetParent(AParent);
    edit->OnKeyDown = [this](plat::TObject* s, std::uint16_t& k, plat::TShiftState sh) { EditKeyDown(s, k, sh); };
  }
  plat::TWinControl* GetEditControl() override { return edit; }
  QString GetEditorValue() override { return edit->Text(); }
  void SetEditorValue(const QString& s) override { edit->SetText(s); }
};

TEST_F(EditCancel, LinkedControlAsksForTheGridsKeysWhileTheGridTabs) {
  auto* link = new TPlainLink(form.get());
  g->DefaultEditor = edCustom;
  g->SetEditLink(link);
  g->SetOptions(g->Options() + plat::TGridOptions{plat::goTabs});
  Key(Qt::Key_F2);
  ASSERT_NE(link->edit, nullptr);
  ASSERT_TRUE(link->edit->Visible());
  const auto code = link->edit->Perform(plat::WM_GETDLGCODE, 0, 0);
  EXPECT_EQ(code & (plat::DLGC_WANTARROWS | plat::DLGC_WANTTAB | plat::DLGC_WANTCHARS),
            plat::DLGC_WANTARROWS | plat::DLGC_WANTTAB | plat::DLGC_WANTCHARS);
  // Tab stores the value and, with TabToNextAtEnd, moves on to the next cell.
  g->Navigation()->TabToNextAtEnd = true;
  link->edit->SetText("gamma");
  Key(Qt::Key_Tab);
  Flush();
  EXPECT_EQ(g->Cells(1, 1), "gamma");
  EXPECT_EQ(g->Col(), 2);
  if (g->EditMode()) g->HideInplaceEdit();
  // Written back, the control has its own window procedure again.
  g->SetOptions(g->Options() - plat::TGridOptions{plat::goTabs});
  EXPECT_EQ(link->edit->Perform(plat::WM_GETDLGCODE, 0, 0) & plat::DLGC_WANTTAB, 0);
}

}  // namespace
}  // namespace grid
