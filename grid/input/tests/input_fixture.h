// A shown string grid of 6 columns and 8 rows (one fixed row and column, 60 x 20 pixel cells) driven through
// the messages the window system sends: key-down with the key states set, typed characters, the wheel.
#pragma once

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

#include "grid/extgrid.h"
#include "platform/forms/forms.h"
#include "platform/forms/keys.h"
#include "platform/forms/messages.h"

namespace grid {

struct GridInput : ::testing::Test {
  std::unique_ptr<plat::TForm> form = std::make_unique<plat::TForm>(nullptr);
  TExtStringGrid* g = new TExtStringGrid(form.get());
  std::vector<QString> log;

  GridInput() {
    form->SetBounds(0, 0, 440, 320);
    g->SetParent(form.get());
    g->SetBounds(0, 0, 420, 300);
    g->SetColCount(6);
    g->SetRowCount(8);
    g->SetDefaultColWidth(60);
    g->SetDefaultRowHeight(20);
    g->Font()->SetName("DejaVu Sans");
    g->Font()->SetSize(8);
    g->FixedFont()->Assign(g->Font());
    for (int c = 0; c < 6; ++c)
      for (int r = 0; r < 8; ++r) g->SetCells(c, r, QStringLiteral("%1:%2").arg(c).arg(r));
    form->Show();
    QApplication::processEvents();
  }
  ~GridInput() override { plat::ResetKeyStates(); }

  static void SetShift(plat::TShiftState s) {
    plat::SetKeyStateDown(plat::VK_SHIFT, s.Contains(plat::ssShift));
    plat::SetKeyStateDown(plat::VK_CONTROL, s.Contains(plat::ssCtrl));
    plat::SetKeyStateDown(plat::VK_MENU, s.Contains(plat::ssAlt));
  }
  void Key(std::uint16_t vk, plat::TShiftState s = {}) {
    SetShift(s);
    g->Perform(plat::WM_KEYDOWN, vk, 1);
    g->Perform(plat::WM_KEYUP, vk, 1 | (1u << 31));
    SetShift({});
  }
  void Char(char16_t ch, plat::LPARAM data = 1) { g->Perform(plat::WM_CHAR, ch, data); }
  void Wheel(int delta, plat::TShiftState s = {}) {
    SetShift(s);
    g->Perform(plat::WM_MOUSEWHEEL, plat::MakeWParam(0, static_cast<std::uint16_t>(delta)), plat::MakeLParam(10, 10));
    SetShift({});
  }
  plat::TPoint Cell() const { return {g->Col(), g->Row()}; }
  void Log(const QString& s) { log.push_back(s); }
  QString Logged() const { return QStringList(log.begin(), log.end()).join(" | "); }
  void Edit() { g->SetOptions(g->Options() + plat::TGridOptions{plat::goEditing}); }
};

}  // namespace grid
