// Nothing typed is lost: for the text editor and the special editors, every road out of an edit - Enter, Tab,
// a click on another cell, scrolling the edited cell away, the focus going to another control, closing the
// window - leaves the typed value in the cell (validated), with no editor left over another cell.
#include "grid/edit/tests/edit_test_fixture.h"

#include <QScrollBar>

#include "grid/edit/special_editors.h"

namespace grid {
namespace {

using edittest::EditFixture;

struct EditRoads : EditFixture {
  EditRoads() {
    g->SetRowCount(30);
    g->SetOptions(g->Options() + plat::TGridOptions{plat::goTabs});
    g->AddComboString("one");
  }
  static void CaretToEnd(plat::TWinControl* ed) {
    const int n = static_cast<int>(ed->Text().size());
    if (auto* e = dynamic_cast<plat::TCustomEdit*>(ed)) e->SetSelStart(n), e->SetSelLength(0);
    if (auto* c = dynamic_cast<plat::TComboBox*>(ed)) c->SetSelStart(n), c->SetSelLength(0);
  }
  // The control that edits now, the text editor included.
  plat::TWinControl* Editor() {
    if (g->EditCtrl()) return g->EditCtrl();
    return TextEditorShown() ? Ed() : nullptr;
  }
};

TEST_F(EditRoads, EveryWayOutOfAnEditKeepsTheTypedValue) {
  struct Road {
    const char* name;
    std::function<void(EditRoads&)> leave;
  } roads[] = {
      {"Enter", [](EditRoads& f) { f.Key(Qt::Key_Return); }},
      {"Tab", [](EditRoads& f) { f.Key(Qt::Key_Tab); }},
      {"click", [](EditRoads& f) { f.ClickCell(3, 4); }},
      {"scroll", [](EditRoads& f) { f.g->SetTopRow(5); }},
      {"focus", [](EditRoads& f) {
         f.other->SetFocus();
         QApplication::processEvents();
       }},
      {"close", [](EditRoads& f) {
         f.form->Close();
         QApplication::processEvents();
       }},
  };
  struct Kind {
    TEditorType kind;
    QString typed, stored;
  } kinds[] = {{edNormal, "77", "alpha77"},
               {edEditBtn, "77", "alpha77"},
               {edSpinEdit, "7", "127"},
               {edComboEdit, "77", "alpha77"},
               {edUpperCase, "ab", "alphaAB"},
               {edUnitEditBtn, "77", "alpha77"},
               {edMaskEditBtn, "77", "alpha77"}};
  for (const Kind& k : kinds) {
    for (const Road& road : roads) {
      SCOPED_TRACE(QString("kind %1, %2").arg(int(k.kind)).arg(road.name).toStdString());
      log.clear();
      LogValidation();
      form->Show();
      g->SetTopRow(1);
      g->DefaultEditor = k.kind;
      g->SetCells(1, 1, k.kind == edSpinEdit ? "12" : "alpha");
      g->SetFocus();
      g->FocusCell(1, 1);
      Key(Qt::Key_F2);
      plat::TWinControl* ed = Editor();
      ASSERT_NE(ed, nullptr);
      CaretToEnd(ed);
      Type(k.typed);
      road.leave(*this);
      Flush();
      EXPECT_EQ(g->AllCells(1, 1).toStdString(), k.stored.toStdString());
      // The value was validated on its way out, exactly once - unless the text editor's value waits in the
      // scrolled-away cell, to be validated when the cell is left.
      const bool openOutOfView = TEditManager::IsTextKind(k.kind) && QString(road.name) == "scroll";
      EXPECT_EQ(Log().toStdString(), openOutOfView ? "" : ("validate 1,1=" + k.stored).toStdString());
      if (openOutOfView) {
        ClickCell(2, 6);
        EXPECT_EQ(Log().toStdString(), ("validate 1,1=" + k.stored).toStdString());
      }
      // No editor stays over a cell it does not edit.
      if (ed->Visible()) {
        const plat::TRect r = g->CellRect(g->Col(), g->Row());
        EXPECT_TRUE(g->EditMode());
        EXPECT_LE(std::abs(ed->Left() - r.Left), 1);
        EXPECT_LE(std::abs(ed->Top() - r.Top), 1);
        EXPECT_EQ(ed->Text(), g->Cells(g->RealCol(), g->Row()));
      }
      if (g->EditMode()) g->HideInplaceEdit();
    }
  }
}

}  // namespace
}  // namespace grid

