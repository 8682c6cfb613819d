#include "grid/view/search_panel.h"

#include <QImage>
#include <QPainter>

#include "controls/draw_utils.h"
#include "controls/ext_check_box.h"
#include "controls/ext_grid_button.h"
#include "controls/ret_edit.h"
#include "grid/view/render_resources.h"
#include "platform/forms/keys.h"
#include "platform/forms/messages.h"
#include "platform/forms/stdctrls.h"
#include "platform/graphics/canvas.h"

namespace grid {

namespace {

// The search buttons' glyphs, drawn once: an arrow down (find next), an arrow up (find previous) and a marker
// pen stroke (highlight), each also in grey for the disabled button. The corners keep the key colour, so the
// buttons draw them transparent.
enum TGlyph { gArrowDown, gArrowUp, gHighlight };

QImage GlyphImage(TGlyph Kind, bool Disabled) {
  QImage image(16, 16, QImage::Format_RGB32);
  image.fill(QColor(0xFF, 0x00, 0xFF));
  QPainter p(&image);
  const QColor ink = Disabled ? QColor(0xA0, 0xA0, 0xA0) : QColor(0x20, 0x50, 0xA0);
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  if (Kind == gHighlight) {
    p.setBrush(Disabled ? QColor(0xD0, 0xD0, 0xD0) : QColor(0xFF, 0xE0, 0x40));
    p.drawRect(2, 9, 12, 4);
    p.setBrush(ink);
    p.drawRect(5, 3, 6, 6);
    p.drawRect(6, 9, 4, 2);
    return image;
  }
  const bool down = Kind == gArrowDown;
  p.drawRect(6, down ? 2 : 7, 4, 7);
  const QPoint head[3] = {QPoint(2, down ? 8 : 8), QPoint(14, 8), QPoint(8, down ? 14 : 2)};
  p.drawPolygon(head, 3);
  return image;
}

void SetGlyphs(controls::TExtGridButton* B, TGlyph Kind) {
  plat::TBitmap normal, disabled;
  normal.SetImage(GlyphImage(Kind, false));
  normal.SetTransparent(true);
  disabled.SetImage(GlyphImage(Kind, true));
  disabled.SetTransparent(true);
  B->GlyphDisabled()->Assign(disabled);
  B->SetGlyph(normal);
}

// The search box: an accelerator handled on its key-down does not type its character into the box as well.
class TSearchEdit : public controls::TRetEdit {
 public:
  using controls::TRetEdit::TRetEdit;
  bool SwallowChar = false;
  void Dispatch(plat::TMessage& M) override {
    if (M.Msg == plat::WM_SYSCHAR || M.Msg == plat::WM_CHAR) {
      const bool swallow = SwallowChar;
      SwallowChar = false;
      if (swallow) return;
    }
    controls::TRetEdit::Dispatch(M);
  }
};

// A control's left edge, mirrored in a panel laid out right to left.
int Place(const TSearchPanel& P, int Left, int Width) { return P.RightToLeft ? P.Width() - Width - Left : Left; }

}  // namespace

TSearchPanel::TSearchPanel(plat::TComponent* AOwner, TSearchPanelHost& Host) : plat::TPanel(AOwner), FHost(Host) {
  SetShowCaption(false);
  SetBevelOuter(plat::bvNone);
  SetColor(plat::clWhite);

  FEdit = new TSearchEdit(this);
  FEdit->SetParent(this);
  FEdit->SetTabStop(true);
  FEdit->OnChange = [this](plat::TObject*) { EditChanged(); };
  FEdit->OnReturn = [this](plat::TObject*) {
    if (FForward->Enabled()) Fire(OnForwardClick);
  };
  FEdit->OnCtrlReturn = [this](plat::TObject*) {
    if (FBackward->Enabled()) Fire(OnBackwardClick);
  };
  FEdit->OnKeyDown = [this](plat::TObject*, std::uint16_t& Key, plat::TShiftState Shift) {
    if (Key == plat::VK_ESCAPE && Shift.Empty()) {
      Key = 0;
      Fire(OnExitClick);
    } else if (Shift.Contains(plat::ssAlt) && !Shift.Contains(plat::ssCtrl) && Accelerator(Key)) {
      Key = 0;
      static_cast<TSearchEdit*>(FEdit)->SwallowChar = true;
    }
  };

  auto button = [this](TGlyph Kind, const plat::TNotifyEvent* Event) {
    auto* b = new controls::TExtGridButton(this);
    b->SetParent(this);
    SetGlyphs(b, Kind);
    b->SetFlat(true);
    b->SetEnabled(false);
    b->OnClick = [this, Event](plat::TObject*) { Fire(*Event); };
    return b;
  };
  FForward = button(gArrowDown, &OnForwardClick);
  FBackward = button(gArrowUp, &OnBackwardClick);
  FHilite = button(gHighlight, &OnHighlightClick);
  FHilite->SetStyle(controls::tasCheck);

  FExit = new controls::TExtGridButton(this);
  FExit->SetParent(this);
  FExit->SetFlat(true);
  FExit->SetShowCaption(false);
  if (plat::TBitmap* close = GridBitmap(QStringLiteral("ESGCLOSE"))) FExit->SetGlyph(*close);
  FExit->OnClick = [this](plat::TObject*) { Fire(OnExitClick); };

  FMatchCase = new controls::TExtCheckBox(this);
  FMatchCase->SetParent(this);
  FMatchCase->SetTransparent(true);
  FMatchCase->SetTabStop(true);

  LayoutControls();
  FHost.SearchPanelCreated(this);
}

TSearchPanel::~TSearchPanel() = default;

void TSearchPanel::Fire(const plat::TNotifyEvent& Event) {
  if (Event) Event(this);
}

bool TSearchPanel::Accelerator(char16_t Key) {
  const auto hit = [Key](controls::TExtGridButton* B, const QString& Caption) {
    return B->Visible() && B->Enabled() && controls::IsCaptionAccel(Key, Caption);
  };
  if (hit(FForward, FindNextCaption)) {
    Fire(OnForwardClick);
  } else if (hit(FBackward, FindPrevCaption)) {
    Fire(OnBackwardClick);
  } else if (hit(FHilite, HighLightCaption)) {
    FHilite->SetDown(!FHilite->Down());
    Fire(OnHighlightClick);
  } else {
    return false;
  }
  return true;
}

void TSearchPanel::EditChanged() {
  const bool any = !FEdit->Text().isEmpty();
  FForward->SetEnabled(any);
  FBackward->SetEnabled(any);
  FHilite->SetEnabled(any);
  Fire(OnEditChange);
}

void TSearchPanel::LayoutControls() {
  const auto buttonHeight = [](controls::TExtGridButton* B) { return B->Visible() ? 23 : 0; };
  FEdit->SetBounds(Place(*this, 25, 110), 6, 110, 21);
  FForward->SetBounds(Place(*this, 140, 90), 5, 90, buttonHeight(FForward));
  FBackward->SetBounds(Place(*this, 235, 90), 5, 90, buttonHeight(FBackward));
  FExit->SetBounds(Place(*this, 5, 14), 7, 14, FExit->Visible() ? 14 : 0);
  FHilite->SetBounds(Place(*this, 330, 90), 5, 90, buttonHeight(FHilite));
  const int boxWidth = 120;
  FMatchCase->SetBounds(Place(*this, FHilite->Visible() ? 425 : 330, boxWidth), 8, boxWidth,
                        FMatchCase->Visible() ? 18 : 0);

  // The buttons draw their captions as they are: they get them without the accelerator marks, which the panel
  // keeps and answers itself (Accelerator).
  FForward->SetCaption(plat::StripAccelChars(FindNextCaption));
  FBackward->SetCaption(plat::StripAccelChars(FindPrevCaption));
  FHilite->SetCaption(plat::StripAccelChars(HighLightCaption));
  FMatchCase->SetCaption(MatchCaseCaption);
  const auto hint = [](plat::TControl* C, const QString& Text) {
    C->SetHint(Text);
    C->SetShowHint(!Text.isEmpty());
  };
  hint(FExit, HintClose);
  hint(FForward, HintFindNext);
  hint(FBackward, HintFindPrev);
  hint(FHilite, HintHighlight);
  for (controls::TExtGridButton* b : {FForward, FBackward, FHilite}) b->Font()->Assign(*Font());
}

void TSearchPanel::Resize() {
  plat::TPanel::Resize();
  if (RightToLeft) LayoutControls();
}

void TSearchPanel::Paint() {
  plat::TPanel::Paint();
  plat::TCanvas& c = *Canvas();
  const plat::TRect r = ClientRect();
  if (ColorTo == plat::clNone) {
    c.Brush()->SetStyle(plat::bsSolid);
    c.Brush()->SetColor(Color());
    c.FillRect(r);
  } else {
    controls::FillGradientBands(c, Color(), ColorTo, 32, r, false);
  }
  c.Pen()->SetColor(FHost.SearchPanelLineColor());
  c.MoveTo(r.Left, r.Top);
  c.LineTo(r.Right, r.Top);
}

}  // namespace grid
