#pragma once
// A shown string grid whose cells edit with the drop-down editors, typed into through Qt's test input.

#include <QApplication>
#include <QTest>

#include <functional>

#include "grid/edit/tests/edit_test_fixture.h"
#include "griddropdown/grid_dropdowns.h"
#include "griddropdown/griddropdown.h"

namespace grid::dropdowntest {

struct DropDownFixture : edittest::EditFixture {
  DropDownFixture() {
    RegisterGridDropDownEditors();
    g->SetOptions(g->Options() + plat::TGridOptions{plat::goTabs});
    g->SetDefaultColWidth(90);
    g->SetDefaultRowHeight(24);
  }
  // The drop-down editing the current cell, nullptr when none.
  dropdown::TExtCustomDropDown* Editor() const { return dynamic_cast<dropdown::TExtCustomDropDown*>(g->EditCtrl()); }
  bool EditorOpen() const { return Editor() && Editor()->Visible() && g->EditMode(); }
};

}  // namespace grid::dropdowntest
