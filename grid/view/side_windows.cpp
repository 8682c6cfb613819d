#include "grid/view/side_windows.h"

#include <QRegion>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "grid/input/html_forms.h"
#include "platform/graphics/canvas.h"

namespace grid {

// ---------------------------------------------------------------- arrow windows

QPolygon TArrowWindow::ArrowPolygon(TArrowDirection Direction) {
  switch (Direction) {
    case arrUp: return QPolygon({{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}});
    case arrDown: return QPolygon({{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}});
    // Each side's arrow points at the drop position: the left one to the right, the right one to the left.
    case arrLeft: return QPolygon({{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}});
    case arrRight: return QPolygon({{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}});
  }
  return {};
}

TArrowWindow::TArrowWindow(plat::TComponent* AOwner, TArrowDirection Direction)
    : plat::TPanel(AOwner), FDir(Direction), FArrow(ArrowPolygon(Direction)) {
  SetVisible(false);
  SetBevelOuter(plat::bvNone);
  SetShowCaption(false);
  SetColor(plat::TColor(0x00FF00));
  const QRect box = FArrow.boundingRect();
  SetBounds(0, 0, box.right() + 1, box.bottom() + 1);
  if (auto* parent = dynamic_cast<plat::TWinControl*>(AOwner)) SetParent(parent);
  // The window is the arrow's shape (a window region on the system, a mask here).
  if (QWidget* w = Widget()) w->setMask(QRegion(FArrow, Qt::WindingFill));
}

void TArrowWindow::Paint() {
  plat::TCanvas* c = Canvas();
  c->Brush()->SetColor(Color());
  c->Pen()->SetColor(Color());
  c->FillRect(ClientRect());
}

// ---------------------------------------------------------------- focus window

TGridFocusWindow::TGridFocusWindow(plat::TComponent* AOwner) : plat::TCustomControl(AOwner) {
  SetBounds(0, 0, 0, 0);
  SetColor(plat::TColor(0x0000FF));
  SetVisible(false);
}

// ---------------------------------------------------------------- alpha mask

TGridAlphaMask::TGridAlphaMask() { SetPixelFormat(plat::pf32bit); }

void TGridAlphaMask::AssignMask(const plat::TBitmap& Source) {
  if (const auto* m = dynamic_cast<const TGridAlphaMask*>(&Source)) {
    Opacity = m->Opacity;
    if (m->Width() == Width() && m->Height() == Height()) {
      QImage copy = m->Image().convertToFormat(QImage::Format_ARGB32);
      SetImage(copy);
    }
  } else {
    Assign(Source);
  }
  SetPixelFormat(plat::pf32bit);
}

void TGridAlphaMask::MergeMask(plat::TBitmap& Mask, plat::TBitmap& Bitmap, plat::TColor Color) {
  (void)Color;
  if (Bitmap.PixelFormat() != plat::pf24bit) return;
  SetPixelFormat(plat::pf32bit);
  SetSize(Bitmap.Width(), Bitmap.Height());
  const bool maskFits = Mask.PixelFormat() == plat::pf24bit && Mask.Width() >= Width() && Mask.Height() >= Height();
  for (int y = 0; y < Height(); ++y) {
    const std::uint8_t* src = Bitmap.ScanLine(y);
    const std::uint8_t* m = maskFits ? Mask.ScanLine(y) : nullptr;
    std::uint8_t* dst = ScanLine(y);
    for (int x = 0; x < Width(); ++x) {
      const int alpha = m ? m[x * 3 + 2] : 255;
      for (int ch = 0; ch < 3; ++ch)
        dst[x * 4 + ch] = static_cast<std::uint8_t>(std::lround(src[x * 3 + ch] * alpha / 255.0));
      dst[x * 4 + 3] = static_cast<std::uint8_t>(alpha);
    }
  }
}

// ---------------------------------------------------------------- blur

int ClampInt(int Lo, int Hi, int Value) {
  if (Value >= Lo && Value <= Hi) return Value;
  return Value > Hi ? Hi : Lo;
}

int ClampRoundByte(int Lo, int Hi, double X) {
  if (X >= Hi) return Hi;
  if (X < Lo) return Lo;
  return static_cast<int>(X);
}

TGaussKernel MakeGaussKernel(double Radius) {
  TGaussKernel k;
  float sum = 0;
  for (int i = 0; i <= 20; ++i) {
    const float d = static_cast<float>((i - 10) / Radius);
    k.Weights[static_cast<std::size_t>(i)] = std::exp(-d * d / 2);
    sum += k.Weights[static_cast<std::size_t>(i)];
  }
  for (float& w : k.Weights) w /= sum;
  int half = 10;
  float tail = 0;
  // Outer taps go while what they carry together stays below half a grey step.
  while (half > 1 && tail + 2 * k.Weights[static_cast<std::size_t>(10 + half)] < 1.0f / 510) {
    tail += 2 * k.Weights[static_cast<std::size_t>(10 + half)];
    --half;
  }
  k.HalfWidth = half;
  float kept = 0;
  for (int i = 10 - half; i <= 10 + half; ++i) kept += k.Weights[static_cast<std::size_t>(i)];
  for (int i = 10 - half; i <= 10 + half; ++i) k.Weights[static_cast<std::size_t>(i)] /= kept;
  return k;
}

void BlurLine(std::uint8_t* Line, int Last, const TGaussKernel& Kernel, std::uint8_t* Scratch) {
  for (int p = 0; p <= Last; ++p)
    for (int ch = 0; ch < 3; ++ch) {
      double sum = 0;
      for (int k = -Kernel.HalfWidth; k <= Kernel.HalfWidth; ++k)
        sum += Kernel.Weights[static_cast<std::size_t>(10 + k)] * Line[ClampInt(0, Last, p - k) * 3 + ch];
      Scratch[p * 3 + ch] = static_cast<std::uint8_t>(ClampRoundByte(0, 255, sum));
    }
  std::memcpy(Line, Scratch, static_cast<std::size_t>(Last + 1) * 3);
}

void GaussianBlur(plat::TBitmap& Bitmap, double Radius) {
  if (Bitmap.PixelFormat() != plat::pf24bit)
    throw plat::EInvalidGraphicOperation(QStringLiteral("Blur only works for 24-bit bitmaps"));
  // A radius of 0 would divide by zero in the kernel: no blur at all.
  if (Radius <= 0) return;
  const int w = Bitmap.Width(), h = Bitmap.Height();
  if (w == 0 || h == 0) return;
  const TGaussKernel k = MakeGaussKernel(Radius);
  std::vector<std::uint8_t> scratch(static_cast<std::size_t>(std::max(w, h)) * 3);
  for (int y = 0; y < h; ++y) {
    if (y > 20 && y < h - 20)
      std::memcpy(Bitmap.ScanLine(y), Bitmap.ScanLine(15), static_cast<std::size_t>(w) * 3);
    else
      BlurLine(Bitmap.ScanLine(y), w - 1, k, scratch.data());
  }
  std::vector<std::uint8_t> column(static_cast<std::size_t>(h) * 3);
  for (int x = 0; x < w; ++x) {
    if (x > 20 && x < w - 20) {
      for (int y = 0; y < h; ++y) std::memcpy(Bitmap.ScanLine(y) + x * 3, Bitmap.ScanLine(y) + 15 * 3, 3);
      continue;
    }
    for (int y = 0; y < h; ++y) std::memcpy(&column[static_cast<std::size_t>(y) * 3], Bitmap.ScanLine(y) + x * 3, 3);
    BlurLine(column.data(), h - 1, k, scratch.data());
    for (int y = 0; y < h; ++y) std::memcpy(Bitmap.ScanLine(y) + x * 3, &column[static_cast<std::size_t>(y) * 3], 3);
  }
}

void MakeRoundRectMask(plat::TBitmap& Bitmap, int W, int H, double Blur, int Corner, int PenWidth) {
  Bitmap.SetPixelFormat(plat::pf24bit);
  Bitmap.SetSize(W, H);
  plat::TCanvas* c = Bitmap.Canvas();
  c->Brush()->SetColor(plat::clBlack);
  c->FillRect(plat::TRect(0, 0, W, H));
  const int half = PenWidth / 2;
  c->Pen()->SetColor(plat::clWhite);
  if (PenWidth < 1) {
    c->Pen()->SetWidth(1);
    c->Brush()->SetColor(plat::clWhite);
  } else {
    c->Pen()->SetWidth(PenWidth);
    c->Brush()->SetColor(plat::clBlack);
  }
  c->RoundRect(half + 2, half + 2, W - half - 2, H - half - 2, Corner, Corner);
  c->Pen()->SetWidth(1);
  if (Blur > 0) GaussianBlur(Bitmap, Blur);
}

// ---------------------------------------------------------------- balloon tooltip window

TBalloonTipWindow::TBalloonTipWindow(plat::TComponent* AOwner) : plat::TCustomControl(AOwner) {
  SetVisible(false);
  SetColor(plat::clInfoBk);
}

void TBalloonTipWindow::SetTitle(int AIcon, const QString& ATitle) {
  Icon = AIcon >= 0 && AIcon <= 3 ? AIcon : 0;
  Title = ATitle.left(255);
}

plat::TRect TBalloonTipWindow::TextSize(int MaxWidth) {
  plat::TCanvas* c = Canvas();
  c->Font()->SetStyle({plat::fsBold});
  const int titleW = c->TextWidth(Title), lineH = c->TextHeight(QStringLiteral("gh"));
  c->Font()->SetStyle({});
  plat::TRect t(0, 0, MaxWidth, 0);
  c->DrawText(Text, t, plat::DT_CALCRECT | plat::DT_WORDBREAK | plat::DT_NOPREFIX);
  return plat::TRect(0, 0, std::min(MaxWidth, std::max(titleW, t.Width())) + 12, lineH + t.Height() + 10);
}

void TBalloonTipWindow::Paint() {
  plat::TCanvas* c = Canvas();
  const plat::TRect r = ClientRect();
  c->Brush()->SetColor(Color());
  c->Pen()->SetColor(plat::clGray);
  c->Rectangle(r);
  c->Brush()->SetStyle(plat::bsClear);
  c->Font()->SetColor(TextColor);
  c->Font()->SetStyle({plat::fsBold});
  c->TextOut(6, 4, Title);
  const int lineH = c->TextHeight(QStringLiteral("gh"));
  c->Font()->SetStyle({});
  plat::TRect t(6, 6 + lineH, r.Right - 6, r.Bottom - 4);
  c->DrawText(Text, t, plat::DT_WORDBREAK | plat::DT_NOPREFIX);
}

// ---------------------------------------------------------------- the form-control editors

namespace {

bool WantsTab(plat::TMessage& M) {
  if (M.Msg != plat::CM_WANTSPECIALKEY) return false;
  if (M.WParam == plat::VK_TAB) {
    M.Result = 1;
    return true;
  }
  if (M.WParam == plat::VK_RETURN) {
    M.Result = 0;
    return true;
  }
  return false;
}

}  // namespace

TControlEdit::TControlEdit(plat::TComponent* AOwner) : plat::TEdit(AOwner) {}

void TControlEdit::Dispatch(plat::TMessage& Message) {
  if (WantsTab(Message)) return;
  plat::TEdit::Dispatch(Message);
}

void TControlEdit::KeyPress(char16_t& Key) {
  if (OnEndKey && OnEndKey(Key)) {
    Key = 0;
    return;
  }
  plat::TEdit::KeyPress(Key);
}

TControlCombo::TControlCombo(plat::TComponent* AOwner) : controls::TEsgComboBox(AOwner) {}

void TControlCombo::Dispatch(plat::TMessage& Message) {
  if (Message.Msg == plat::CM_WANTSPECIALKEY && Message.WParam == plat::VK_TAB) {
    Message.Result = 1;
    return;
  }
  controls::TEsgComboBox::Dispatch(Message);
}

void TControlCombo::KeyPress(char16_t& Key) {
  if (OnEndKey && OnEndKey(Key)) {
    Key = 0;
    return;
  }
  controls::TEsgComboBox::KeyPress(Key);
}

}  // namespace grid
