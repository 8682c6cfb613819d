#pragma once
// A form with a TExtPageControl and named sheets, for the page control's tests.

#include <QImage>
#include <QWidget>

#include <memory>
#include <vector>

#include "controls/ext_page_control.h"
#include "platform/forms/forms.h"

namespace controls::testing {

struct PageForm {
  explicit PageForm(int Pages = 3, TTabPosition Position = tpTop, int Width = 320, int Height = 200) {
    form = std::make_unique<plat::TForm>(nullptr);
    form->SetBounds(0, 0, Width + 20, Height + 20);
    pc = new TExtPageControl(form.get());
    pc->SetName("Pages");
    pc->SetParent(form.get());
    pc->SetBounds(10, 10, Width, Height);
    pc->SetTabPosition(Position);
    for (int i = 0; i < Pages; ++i) Add(QStringLiteral("  Page %1    ").arg(i + 1));
  }
  TExtTabSheet* Add(const QString& Caption) {
    auto* s = new TExtTabSheet(form.get());
    s->SetName(QStringLiteral("Sheet%1").arg(sheets.size() + 1));
    s->SetCaption(Caption);
    s->SetExtPageControl(pc);
    sheets.push_back(s);
    return s;
  }
  // The control as painted now.
  QImage Grab() const {
    pc->Repaint();
    return pc->Widget()->grab().toImage();
  }
  std::unique_ptr<plat::TForm> form;
  TExtPageControl* pc;
  std::vector<TExtTabSheet*> sheets;
};

}  // namespace controls::testing
