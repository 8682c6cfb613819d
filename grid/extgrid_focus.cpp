// The soft focus frame: a translucent rounded frame around the edited cell. It is a child window of the grid,
// so it moves with the grid by itself; the window's shape is the frame alone (the cell stays clickable) and
// its pixels carry their own alpha over the grid.
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QWidget>

#include "grid/extgrid.h"
#include "grid/view/render_cells.h"
#include "grid/view/side_windows.h"
#include "platform/forms/messages.h"

namespace grid {

namespace {

TExtStringGrid*& OwnerSlot() {
  static TExtStringGrid* owner = nullptr;
  return owner;
}

class TFocusFrameWindow : public TGridFocusWindow {
 public:
  explicit TFocusFrameWindow(TExtStringGrid* AGrid) : TGridFocusWindow(AGrid), FGrid(AGrid) {
    Widget()->setAttribute(Qt::WA_OpaquePaintEvent, false);
    Widget()->setAttribute(Qt::WA_TransparentForMouseEvents);
    Widget()->setAutoFillBackground(false);
  }
  ~TFocusFrameWindow() override {
    if (OwnerSlot() == FGrid) OwnerSlot() = nullptr;
  }

  // The frame for a window of W x H: a blurred rounded white frame on black is the alpha of the frame
  // colour #97D3FD, at an opacity of 230.
  void MakeFrame(int W, int H) {
    if (FFrame.width() == W && FFrame.height() == H) return;
    plat::TBitmap mask;
    MakeRoundRectMask(mask, W, H, 3, 5, 4);
    FFrame = QImage(W, H, QImage::Format_ARGB32);
    for (int y = 0; y < H; ++y) {
      const std::uint8_t* m = mask.ScanLine(y);
      for (int x = 0; x < W; ++x) FFrame.setPixel(x, y, qRgba(0x97, 0xD3, 0xFD, m[x * 3 + 2] * 230 / 255));
    }
  }
  const QImage& Frame() const { return FFrame; }

  void Dispatch(plat::TMessage& Message) override {
    if (Message.Msg == plat::WM_PAINT) {
      QPainter p(Widget());
      p.drawImage(0, 0, FFrame);
      return;
    }
    TGridFocusWindow::Dispatch(Message);
  }

 private:
  TExtStringGrid* FGrid;
  QImage FFrame;
};

}  // namespace

TExtStringGrid* TExtStringGrid::FocusFrameOwner() { return OwnerSlot(); }

void TExtStringGrid::ShowFocusWindow(plat::TRect Rect) {
  if (!FFocusWindow) {
    FFocusWindow = new TFocusFrameWindow(this);
    FFocusWindow->SetParent(this);
  }
  auto* w = static_cast<TFocusFrameWindow*>(FFocusWindow);
  w->SetVisible(false);
  const plat::TRect outer = TCellRenderer::FocusFrameRect(Rect);
  w->MakeFrame(outer.Width(), outer.Height());
  // Only the frame belongs to the window: the cell inside stays the grid's.
  const QRegion ring = QRegion(0, 0, outer.Width(), outer.Height()) - QRegion(4, 4, Rect.Width(), Rect.Height());
  w->Widget()->setMask(ring);
  w->SetBounds(outer.Left, outer.Top, outer.Width(), outer.Height());
  OwnerSlot() = this;
  FFocusFrameShown = true;
  w->SetVisible(true);
  w->BringToFront();
}

void TExtStringGrid::MoveFocusWindow() {
  if (!FFocusWindow || !FFocusWindow->Visible()) return;
  const plat::TRect outer = TCellRenderer::FocusFrameRect(CellRect(Col(), Row()));
  if (outer.Width() != FFocusWindow->Width() || outer.Height() != FFocusWindow->Height()) {
    ShowFocusWindow(CellRect(Col(), Row()));
    return;
  }
  if (outer.Left != FFocusWindow->Left() || outer.Top != FFocusWindow->Top())
    FFocusWindow->SetBounds(outer.Left, outer.Top, outer.Width(), outer.Height());
}

void TExtStringGrid::HideFocusWindow() {
  if (FFocusWindow) FFocusWindow->SetVisible(false);
  FFocusFrameShown = false;
  if (OwnerSlot() == this) OwnerSlot() = nullptr;
}

}  // namespace grid
