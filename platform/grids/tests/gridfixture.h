// A string grid on a shown form, with the protected steps opened for tests, and helpers that drive it
// through the same messages the window system sends.
#pragma once

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <memory>
#include <vector>

#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "platform/grids/stringgrid.h"

namespace gridtest {

using namespace plat;

class TTestGrid : public TStringGrid {
 public:
  using TStringGrid::TStringGrid;
  using TCustomGrid::HideEditor;
  using TCustomGrid::MaxLeftCol;
  using TCustomGrid::MaxTopRow;
  using TCustomGrid::ShowEditor;
  using TCustomGrid::FAnchor;
  using TCustomGrid::FSizingPos;
  using TCustomGrid::FMovePos;

  // Cells the select-cell check refuses.
  std::vector<TGridCoord> Refused;
  std::vector<TGridCoord> Asked;
  std::vector<QString> Log;

 protected:
  bool HandleSelectCell(int ACol, int ARow) override {
    Asked.push_back({ACol, ARow});
    for (const TGridCoord& c : Refused)
      if (c.X == ACol && c.Y == ARow) return false;
    return TStringGrid::HandleSelectCell(ACol, ARow);
  }
  void TopLeftChanged() override {
    Log.push_back(QString("topleft %1,%2").arg(LeftCol()).arg(TopRow()));
    TStringGrid::TopLeftChanged();
  }
};

struct GridFixture {
  std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
  TTestGrid* grid;

  explicit GridFixture(int width = 400, int height = 300) {
    form->SetBounds(0, 0, width + 20, height + 20);
    grid = new TTestGrid(form.get());
    grid->SetParent(form.get());
    grid->SetBounds(0, 0, width, height);
    form->Show();
    QApplication::processEvents();
  }

  void Press(int x, int y, TShiftState shift = {}) { Mouse(WM_LBUTTONDOWN, x, y, shift); }
  void Move(int x, int y, TShiftState shift = {}) { Mouse(WM_MOUSEMOVE, x, y, shift, true); }
  void Release(int x, int y, TShiftState shift = {}) { Mouse(WM_LBUTTONUP, x, y, shift); }
  void Click(int x, int y, TShiftState shift = {}) {
    Press(x, y, shift);
    Release(x, y, shift);
  }
  void Key(std::uint16_t vk, TShiftState shift = {}) {
    SetKeyStateDown(VK_SHIFT, shift.Contains(ssShift));
    SetKeyStateDown(VK_CONTROL, shift.Contains(ssCtrl));
    grid->Perform(WM_KEYDOWN, vk, 1);
    SetKeyStateDown(VK_SHIFT, false);
    SetKeyStateDown(VK_CONTROL, false);
  }
  void Char(char16_t ch) { grid->Perform(WM_CHAR, ch, 1); }

  // The grid painted into an image, with the canvas calls reported to `tracer` when given.
  QImage Paint(ICanvasTracer* tracer = nullptr) {
    grid->Canvas()->SetTracer(tracer);
    QImage img = grid->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    grid->Canvas()->SetTracer(nullptr);
    return img;
  }

 private:
  void Mouse(UINT msg, int x, int y, TShiftState shift, bool move = false) {
    WPARAM keys = 0;
    if (shift.Contains(ssShift)) keys |= MK_SHIFT;
    if (shift.Contains(ssCtrl)) keys |= MK_CONTROL;
    if (msg == WM_LBUTTONDOWN || (move && pressed)) keys |= MK_LBUTTON;
    if (msg == WM_LBUTTONDOWN) pressed = true;
    if (msg == WM_LBUTTONUP) pressed = false;
    grid->Perform(msg, keys, MakeLParam(x, y));
  }
  bool pressed = false;
};

}  // namespace gridtest
