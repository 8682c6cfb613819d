// The quick-configuration panel the grid shows in the form designer: editing on or off, column numbers, and
// the look, in a small box at the client's bottom-right corner. It is never shown at run time.
#include <memory>

#include "grid/extgrid.h"
#include "grid/view/render_cells.h"
#include "grid/view/render_resources.h"
#include "platform/forms/forms.h"
#include "platform/forms/menus.h"
#include "platform/forms/messages.h"

namespace grid {

namespace {

constexpr int kPanelWidth = 150;

void PanelFont(plat::TCanvas& C) {
  C.Font()->SetName(QStringLiteral("Tahoma"));
  C.Font()->SetSize(8);
  C.Font()->SetStyle(plat::TFontStyles{});
}

// A canvas in the panel's font for measuring, whatever the grid's canvas holds.
plat::TCanvas& Measuring() {
  static plat::TBitmap scratch(1, 1);
  PanelFont(*scratch.Canvas());
  return *scratch.Canvas();
}

QString LookText(TGridLook Look) { return QStringLiteral("Set look: ") + LookName(Look); }

}  // namespace

bool TExtStringGrid::DesignHelperShown() { return IsDesigning() && FShowDesignHelper; }

plat::TRect TExtStringGrid::DesignHelperRect() {
  const int h = Measuring().TextHeight(QStringLiteral("gh"));
  return plat::TRect(ClientWidth() - kPanelWidth, ClientHeight() - (4 * h + 18), ClientWidth(), ClientHeight());
}

void TExtStringGrid::PaintDesignHelper() {
  if (!DesignHelperShown()) return;
  plat::TCanvas& C = *Canvas();
  const plat::TRect r = DesignHelperRect();
  PanelFont(C);
  const int h = C.TextHeight(QStringLiteral("gh"));
  C.Brush()->SetColor(plat::clInfoBk);
  C.Pen()->SetColor(plat::clGray);
  C.Pen()->SetWidth(1);
  C.Rectangle(r);
  C.Font()->SetColor(Hex(0x000080));
  C.SetBkMode(plat::TRANSPARENT);
  C.TextOut(r.Left + 4, r.Top + 4, QStringLiteral("Quick config [v") + GetVersionString() + u']');
  if (plat::TBitmap* close = GridBitmap(QStringLiteral("ESGCLOSE"))) C.Draw(r.Right - 16, r.Top + 2, close);
  TCellRenderer& R = Renderer();
  const auto entry = [&](int Hot, int X, int Y, const QString& Text) {
    C.Font()->SetStyle(FDesignHot == Hot ? plat::TFontStyles{plat::fsUnderline} : plat::TFontStyles{});
    C.TextOut(X, Y, Text);
  };
  R.DrawCheckBox(C, plat::TRect(r.Left + 4, r.Top + h + 4, r.Left + 20, r.Top + h + 20),
                 Options().Contains(plat::goEditing), plat::cbUnchecked, false, csWinXP, false, true);
  entry(1, r.Left + 22, r.Top + h + 6, QStringLiteral("Allow edit"));
  R.DrawCheckBox(C, plat::TRect(r.Left + 4, r.Top + 2 * h + 6, r.Left + 20, r.Top + 2 * h + 22),
                 FDesignColumnNumbers, plat::cbUnchecked, false, csWinXP, false, true);
  entry(2, r.Left + 22, r.Top + 2 * h + 8, QStringLiteral("Column numbers"));
  entry(3, r.Left + 4, r.Top + 3 * h + 10, LookText(Look()));
  C.Font()->SetStyle(plat::TFontStyles{});
}

// 4 close, 1 "Allow edit", 2 "Column numbers", 3 the look; -1 elsewhere. A later test wins over an earlier.
int TExtStringGrid::DesignHelperHitTest(int X, int Y) {
  plat::TCanvas& C = Measuring();
  const plat::TRect r = DesignHelperRect();
  const int h = C.TextHeight(QStringLiteral("gh")), H = 4 * h + 18, hh = h + 2;
  const int R = r.Right, B = r.Bottom, top = B - H;
  int hit = -1;
  if (X > R - 16 && top < Y && Y < top + 16) hit = 4;
  if (R - 150 < X && X < R - 132 + C.TextWidth(QStringLiteral("Allow edit")) && top + hh + 4 < Y && Y < top + 2 * hh + 4)
    hit = 1;
  if (R - 150 < X && X < R - 132 + C.TextWidth(QStringLiteral("Column numbers")) && top + 2 * hh + 4 < Y &&
      Y < top + 3 * hh + 4)
    hit = 2;
  if (R - 150 < X && X < R - 150 + C.TextWidth(LookText(Look())) && top + 3 * hh + 4 < Y && Y < top + 4 * hh + 4)
    hit = 3;
  return hit;
}

// The designer's hit test: the panel's entries take the click; a change of the hot entry repaints the panel.
bool TExtStringGrid::DesignHelperMouse(int X, int Y) {
  if (!DesignHelperShown()) return false;
  const int hit = DesignHelperHitTest(X, Y);
  if (hit != FDesignHot) Invalidate();
  FDesignHot = hit;
  return hit >= 1 && hit <= 4;
}

void TExtStringGrid::DesignHelperClick(int X, int Y) {
  if (!DesignHelperShown()) return;
  const int hit = DesignHelperHitTest(X, Y);
  switch (hit) {
    case 1:
      SetOptions(Options().Contains(plat::goEditing) ? Options() - plat::TGridOptions{plat::goEditing}
                                                     : Options() + plat::TGridOptions{plat::goEditing});
      break;
    case 2:
      FDesignColumnNumbers = !FDesignColumnNumbers;
      Invalidate();
      break;
    case 3: {
      auto menu = std::make_unique<plat::TPopupMenu>(nullptr);
      static const TGridLook order[] = {glStandard, glSoft,       glClassic, glExt,  glListView,
                                        glOffice2007, glXP, glVista, glWin7};
      TGridLook chosen = Look();
      bool picked = false;
      for (TGridLook l : order) {
        const QString caption = l == glOffice2007 ? QStringLiteral("Office 2007") : LookName(l);
        plat::TMenuItem* item = plat::NewItem(menu.get(), caption, [&chosen, &picked, l](plat::TObject*) {
          chosen = l;
          picked = true;
        });
        item->SetTag(int(l) + 1);
        item->SetChecked(l == Look());
        menu->Items()->Add(item);
      }
      const plat::TPoint p = ClientToScreen(plat::TPoint(X, Y));
      menu->Popup(p.X, p.Y);
      if (picked) SetLook(chosen);
      break;
    }
    case 4: SetShowDesignHelper(false); return;
    default: return;
  }
  // The designer lays the form out again: one pixel narrower, then as it was.
  if (plat::TCustomForm* form = plat::GetParentForm(this)) {
    form->SetWidth(form->Width() - 1);
    form->SetWidth(form->Width() + 1);
  }
}

}  // namespace grid
