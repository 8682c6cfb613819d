// The HTML hint window.
#include "grid/view/hint_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "controls/text_utils.h"
#include "grid/view/render_cells.h"
#include "grid/view/html_cell.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/graphic.h"

namespace grid {

using plat::TRect;

QString THTMLHintWindow::WideFontName;

namespace {
constexpr int MaxHintWidth = 1008;
TRect ScreenOf(plat::TPoint p) {
  QScreen* s = QGuiApplication::screenAt(QPoint(p.X, p.Y));
  if (!s) s = QGuiApplication::primaryScreen();
  if (!s) return TRect(0, 0, 1 << 15, 1 << 15);
  const QRect g = s->geometry();
  return TRect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height());
}
}  // namespace

THTMLHintWindow::THTMLHintWindow(plat::TComponent* AOwner) : plat::TCustomControl(AOwner) {
  if (QWidget* w = Widget()) {
    w->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    w->setAttribute(Qt::WA_ShowWithoutActivating);
  }
  SetColor(plat::clInfoBk);
  SetVisible(false);
}

bool THTMLHintWindow::IsWide(const QString& S) const { return controls::CellTextType(S, true) == 5; }

TRect THTMLHintWindow::Measure(int MaxWidth, const QString& AHint, bool Wide) {
  plat::TBitmap bmp;
  bmp.SetSize(1, 1);
  plat::TCanvas& c = *bmp.Canvas();
  c.Font()->Assign(Font());
  if (Wide) {
    if (!WideFontName.isEmpty()) c.Font()->SetName(WideFontName);
    TRect r(0, 0, MaxWidth, 0);
    c.DrawText(controls::DecodeWideText(AHint), r, plat::DT_CALCRECT | plat::DT_SINGLELINE | plat::DT_NOPREFIX);
    return TRect(0, 0, r.Width(), r.Height());
  }
  THTMLCell h;
  h.Text = AHint;
  h.Rect = TRect(0, 0, MaxWidth, 4096);
  h.Images = Images;
  h.CalcOnly = true;
  h.Render(c);
  return TRect(0, 0, h.Width, h.Height);
}

TRect THTMLHintWindow::CalcHintRect(int MaxWidth, const QString& AHint) {
  return Measure(MaxWidth, AHint, IsWide(AHint));
}

void THTMLHintWindow::ActivateHintData(TRect Rect, const QString& AHint, plat::TObject* AData) {
  if (auto* g = dynamic_cast<TRenderHost*>(AData)) Images = g->ImageList(0, 0);
  ActivateHint(Rect, AHint);
}

void THTMLHintWindow::ShowAt(plat::TPoint ScreenPos, int MaxWidth, const QString& AHint, plat::TColor Color) {
  SetColor(Color);
  const TRect size = CalcHintRect(MaxWidth, AHint);
  ActivateHint(TRect(ScreenPos.X, ScreenPos.Y, ScreenPos.X + size.Width(), ScreenPos.Y + size.Height()), AHint);
}

void THTMLHintWindow::ActivateHint(TRect Rect, const QString& AHint) {
  SetCaption(AHint);
  Rect.Right = Rect.Left + MaxHintWidth;
  const bool wide = IsWide(AHint);
  const TRect m = Measure(Rect.Width(), AHint, wide);
  FWideCaption = wide ? controls::DecodeWideText(AHint) : QString();
  const int margin = wide ? 8 : 16;
  FTextWidth = m.Width();
  FTextHeight = m.Height();
  Rect.Right = Rect.Left + FTextWidth + margin;
  Rect.Bottom = Rect.Top + FTextHeight + 4;
  const TRect mon = MonitorRect ? MonitorRect({Rect.Left, Rect.Top}) : ScreenOf({Rect.Left, Rect.Top});
  if (Rect.Right > mon.Right) {
    Rect.Left = mon.Right - Rect.Width() - 2;
    Rect.Right = Rect.Left + margin + FTextWidth;
  }
  if (Rect.Bottom > mon.Bottom) {
    Rect.Bottom = mon.Bottom - 2;
    Rect.Top = Rect.Bottom - FTextHeight - 4;
  }
  SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
  Show();
  if (QWidget* w = Widget()) w->raise();
  Invalidate();
}

void THTMLHintWindow::ReleaseHint() { Hide(); }

void THTMLHintWindow::Paint() {
  plat::TCanvas& c = *Canvas();
  const TRect r = ClientRect();
  c.Brush()->SetColor(Color());
  c.FillRect(r);
  c.Pen()->SetWidth(1);
  c.Pen()->SetColor(plat::cl3DLight);
  c.MoveTo(r.Left, r.Bottom - 2);
  c.LineTo(r.Left, r.Top);
  c.LineTo(r.Right - 1, r.Top);
  c.Pen()->SetColor(plat::cl3DDkShadow);
  c.MoveTo(r.Left, r.Bottom - 1);
  c.LineTo(r.Right - 1, r.Bottom - 1);
  c.LineTo(r.Right - 1, r.Top - 1);
  TRect t(r.Left + 4, r.Top + (r.Height() - FTextHeight) / 2, r.Right - 4, 0);
  t.Bottom = t.Top + FTextHeight + 8;
  c.Font()->Assign(Font());
  c.Brush()->SetStyle(plat::bsClear);
  if (!FWideCaption.isEmpty()) {
    if (!WideFontName.isEmpty()) c.Font()->SetName(WideFontName);
    c.DrawText(FWideCaption, t, plat::DT_SINGLELINE | plat::DT_NOPREFIX);
    return;
  }
  THTMLCell h;
  h.Text = Caption();
  h.Rect = t;
  h.Images = Images;
  h.Render(c);
}

}  // namespace grid
