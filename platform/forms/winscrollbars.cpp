// A window's own scroll bars: Qt bars placed at the client edges that report their actions as scroll messages
// and show the range, page and position the window sets.
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>

#include "platform/forms/controls.h"
#include "platform/forms/host.h"
#include "platform/forms/scrollbarstate.h"

namespace plat {

TWinControl::ScrollBarState& TWinControl::Bar(int b) const {
  auto& p = b == SB_HORZ ? FHorz : FVert;
  if (!p) {
    p = std::make_unique<ScrollBarState>();
    auto* self = const_cast<TWinControl*>(this);
    auto* bar = new QScrollBar(b == SB_HORZ ? Qt::Horizontal : Qt::Vertical, self->Widget());
    bar->hide();
    bar->setFocusPolicy(Qt::NoFocus);
    // Opaque: a moved thumb repaints the bar alone, not the control under it.
    bar->setAutoFillBackground(true);
    bar->setObjectName(b == SB_HORZ ? QStringLiteral("HorzScrollBar") : QStringLiteral("VertScrollBar"));
    p->Bar = bar;
    const UINT msg = b == SB_HORZ ? WM_HSCROLL : WM_VSCROLL;
    ScrollBarState* st = p.get();
    auto send = [self, msg](int code, int pos) {
      detail::Guarded(self, [&] { self->Perform(msg, MakeWParam(code, pos), 0); });
    };
    QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [self, st, bar, send](int action) {
      int code = -1;
      switch (action) {
        case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
        case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
        case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
        case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
        case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
        case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
        case QAbstractSlider::SliderMove:
          st->Tracking = true;
          st->TrackPos = bar->sliderPosition();
          send(SB_THUMBTRACK, st->TrackPos);
          return;
        default: return;
      }
      send(code, st->Pos);
      send(SB_ENDSCROLL, st->Pos);
      // The window decides the new position (SetScrollPos); the bar shows what it decided.
      bar->setSliderPosition(st->Pos);
      (void)self;
    });
    QObject::connect(bar, &QAbstractSlider::sliderReleased, bar, [st, bar, send] {
      st->TrackPos = bar->sliderPosition();
      send(SB_THUMBPOSITION, st->TrackPos);
      send(SB_ENDSCROLL, st->Pos);
      st->Tracking = false;
      QSignalBlocker block(bar);
      bar->setValue(st->Pos);
    });
  }
  return *p;
}

namespace {
int MaxPos(int mn, int mx, UINT page) { return std::max(mn, mx - std::max(static_cast<int>(page) - 1, 0)); }
}  // namespace

int TWinControl::SetScrollInfo(int BarKind, const TScrollInfo& Info, bool Redraw) {
  (void)Redraw;
  if (BarKind != SB_HORZ && BarKind != SB_VERT) return 0;
  ScrollBarState& s = Bar(BarKind);
  if (Info.fMask & SIF_RANGE) {
    s.Min = Info.nMin;
    s.Max = std::max(Info.nMin, Info.nMax);
  }
  if (Info.fMask & SIF_PAGE) s.Page = std::min<UINT>(Info.nPage, static_cast<UINT>(s.Max - s.Min + 1));
  if (Info.fMask & SIF_POS) s.Pos = Info.nPos;
  s.Pos = std::clamp(s.Pos, s.Min, MaxPos(s.Min, s.Max, s.Page));
  const bool scrollable = s.Page == 0 ? s.Max > s.Min : static_cast<int>(s.Page) <= s.Max - s.Min;
  {
    QSignalBlocker block(s.Bar);
    s.Bar->setRange(s.Min, MaxPos(s.Min, s.Max, s.Page));
    s.Bar->setPageStep(std::max<int>(1, static_cast<int>(s.Page)));
    if (!s.Tracking) s.Bar->setValue(s.Pos);
  }
  if (Info.fMask & (SIF_RANGE | SIF_PAGE)) {
    const bool show = scrollable || (Info.fMask & SIF_DISABLENOSCROLL);
    s.Bar->setEnabled(scrollable);
    if (show != s.Shown) {
      s.Shown = show;
      LayoutScrollBars();
    }
  }
  return s.Pos;
}

bool TWinControl::GetScrollInfo(int BarKind, TScrollInfo& Info) const {
  if (BarKind != SB_HORZ && BarKind != SB_VERT) return false;
  ScrollBarState& s = Bar(BarKind);
  if (Info.fMask & SIF_RANGE) {
    Info.nMin = s.Min;
    Info.nMax = s.Max;
  }
  if (Info.fMask & SIF_PAGE) Info.nPage = s.Page;
  if (Info.fMask & SIF_POS) Info.nPos = s.Pos;
  if (Info.fMask & SIF_TRACKPOS) Info.nTrackPos = s.Tracking ? s.TrackPos : s.Pos;
  return true;
}

void TWinControl::ShowScrollBar(int BarKind, bool Show) {
  if (BarKind == SB_BOTH) {
    ShowScrollBar(SB_HORZ, Show);
    ShowScrollBar(SB_VERT, Show);
    return;
  }
  if (BarKind != SB_HORZ && BarKind != SB_VERT) return;
  ScrollBarState& s = Bar(BarKind);
  if (s.Shown == Show) return;
  s.Shown = Show;
  LayoutScrollBars();
}

int TWinControl::SetScrollPos(int BarKind, int Pos, bool Redraw) {
  if (BarKind != SB_HORZ && BarKind != SB_VERT) return 0;
  const int old = Bar(BarKind).Pos;
  TScrollInfo si;
  si.fMask = SIF_POS;
  si.nPos = Pos;
  SetScrollInfo(BarKind, si, Redraw);
  return old;
}

int TWinControl::GetScrollPos(int BarKind) const {
  if (BarKind != SB_HORZ && BarKind != SB_VERT) return 0;
  return Bar(BarKind).Pos;
}

void TWinControl::SetScrollRange(int BarKind, int Min, int Max, bool Redraw) {
  TScrollInfo si;
  si.fMask = SIF_RANGE;
  si.nMin = Min;
  si.nMax = Max;
  SetScrollInfo(BarKind, si, Redraw);
}

bool TWinControl::ScrollBarVisible(int BarKind) const {
  const auto& p = BarKind == SB_HORZ ? FHorz : FVert;
  return p && p->Shown;
}

void TWinControl::EnableScrollBar(int BarKind, bool Enable) {
  if (BarKind == SB_BOTH) {
    EnableScrollBar(SB_HORZ, Enable);
    EnableScrollBar(SB_VERT, Enable);
    return;
  }
  if (BarKind != SB_HORZ && BarKind != SB_VERT) return;
  ScrollBarState& s = Bar(BarKind);
  s.Enabled = Enable;
  s.Bar->setEnabled(Enable);
}

bool TWinControl::ScrollBarEnabled(int BarKind) const {
  const auto& p = BarKind == SB_HORZ ? FHorz : FVert;
  return !p || p->Enabled;
}

void TWinControl::SetScrollBarLook(int Size, TColor Color) {
  Size = std::max(1, Size);
  const bool resized = Size != FScrollBarSize;
  FScrollBarSize = Size;
  FScrollBarColor = Color;
  for (int b : {SB_HORZ, SB_VERT}) {
    QScrollBar* bar = Bar(b).Bar;
    QPalette pal = bar->style()->standardPalette();
    if (Color != clNone) {
      pal.setColor(QPalette::Window, ToQColor(Color));
      pal.setColor(QPalette::Button, ToQColor(Color));
    }
    bar->setPalette(pal);
  }
  if (resized) LayoutScrollBars();
}

TRect TWinControl::ClientRect() const {
  TRect r = TControl::ClientRect();
  if (ScrollBarVisible(SB_VERT)) r.Right = std::max(0, r.Right - FScrollBarSize);
  if (ScrollBarVisible(SB_HORZ)) r.Bottom = std::max(0, r.Bottom - FScrollBarSize);
  return r;
}

void TWinControl::LayoutScrollBars() {
  const TRect c = ClientRect();
  if (FVert) {
    const int top = std::clamp(VerticalScrollBarTop(), 0, std::max(c.Bottom, 0));
    FVert->Bar->setGeometry(c.Right, top, FScrollBarSize, c.Bottom - top);
    FVert->Bar->setVisible(FVert->Shown);
  }
  if (FHorz) {
    FHorz->Bar->setGeometry(0, c.Bottom, c.Right, FScrollBarSize);
    FHorz->Bar->setVisible(FHorz->Shown);
  }
  Realign();
  Invalidate();
}

}  // namespace plat
