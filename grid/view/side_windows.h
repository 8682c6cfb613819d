#pragma once
// Windows and bitmaps the grid uses beside its own window: the arrows that show where a dragged column lands,
// the window of the soft focus frame with its alpha mask (a blurred rounded rectangle), and the balloon
// tooltip window of cell balloons. Showing and moving them is the painting and input code's.

#include <QPolygon>
#include <QString>

#include <array>
#include <functional>

#include "controls/flat_combo.h"
#include "grid/model/gridtypes.h"
#include "platform/forms/controls.h"
#include "platform/forms/extctrls.h"
#include "platform/forms/stdctrls.h"
#include "platform/graphics/graphic.h"

namespace grid {

// An arrow of 7 points; the window's shape is the polygon.
class TArrowWindow : public plat::TPanel {
 public:
  TArrowWindow(plat::TComponent* AOwner, TArrowDirection Direction);
  TArrowDirection Dir() const { return FDir; }
  const QPolygon& Arrow() const { return FArrow; }
  static QPolygon ArrowPolygon(TArrowDirection Direction);
  // The window style: exactly a popup window.
  static constexpr unsigned Style = 0x80000000u;

 protected:
  void Paint() override;

 private:
  TArrowDirection FDir;
  QPolygon FArrow;
};

// The window that carries the focus frame: created 0 x 0, red, a disabled popup that stays on top.
class TGridFocusWindow : public plat::TCustomControl {
 public:
  explicit TGridFocusWindow(plat::TComponent* AOwner);
  static constexpr unsigned Style = 0x88000000u;   // popup, disabled
  static constexpr unsigned ExStyle = 0x88u;       // topmost, tool window
};

// A 32-bit bitmap with premultiplied alpha and a constant opacity.
class TGridAlphaMask : public plat::TBitmap {
 public:
  TGridAlphaMask();
  quint8 Opacity = 255;
  // From another mask: its opacity and pixels (the sizes must match); from any other bitmap: the bitmap's
  // own copy. The format is 32 bits afterwards.
  void AssignMask(const plat::TBitmap& Source);
  // This mask takes Bitmap's size and pixels, premultiplied with the red channel of Mask as alpha. Nothing
  // happens unless Bitmap is a 24-bit bitmap. Color is not used.
  void MergeMask(plat::TBitmap& Mask, plat::TBitmap& Bitmap, plat::TColor Color);
};

// The blur's weights: 21 taps around the centre (index 10), of which the centre +- HalfWidth are used.
struct TGaussKernel {
  int HalfWidth = 0;
  std::array<float, 21> Weights{};
};
TGaussKernel MakeGaussKernel(double Radius);
int ClampInt(int Lo, int Hi, int Value);
int ClampRoundByte(int Lo, int Hi, double X);
// Blurs one line of 24-bit pixels (Last + 1 of them, B G R bytes) in place, through Scratch.
void BlurLine(std::uint8_t* Line, int Last, const TGaussKernel& Kernel, std::uint8_t* Scratch);
// Blurs the borders (20 pixels deep) of a 24-bit bitmap; the inside repeats row and column 15. A radius of 0
// or below blurs nothing. Another format raises "Blur only works for 24-bit bitmaps".
void GaussianBlur(plat::TBitmap& Bitmap, double Radius);
// A W x H 24-bit mask: black, with a white rounded rectangle (filled below PenWidth 1, else its outline),
// blurred when Blur > 0.
void MakeRoundRectMask(plat::TBitmap& Bitmap, int W, int H, double Blur, int Corner, int PenWidth);

// The balloon tooltip window of the grid: a title with an icon (0 none, 1 info, 2 warning, 3 error), the
// delays and a constant alpha.
class TBalloonTipWindow : public plat::TCustomControl {
 public:
  explicit TBalloonTipWindow(plat::TComponent* AOwner);
  QString Title;
  int Icon = 0;
  int InitialDelay = -1, ReshowDelay = -1, AutoPopDelay = -1;
  int Alpha = 255;
  // The tool registered for the grid's client rectangle (text supplied on demand).
  plat::TRect ToolRect;
  bool ToolAdded = false;
  // Sets the title (at most 255 characters) and the icon (outside 0..3 counts as 0).
  void SetTitle(int AIcon, const QString& ATitle);
  // The text under the title, and the size the window needs for title and text (text wrapped at MaxWidth).
  QString Text;
  plat::TColor TextColor = plat::clInfoText;
  plat::TRect TextSize(int MaxWidth);

 protected:
  void Paint() override;
};

// The small editors over the form controls written in HTML cells: an edit box (also for password and mask
// controls) and a combo box. Enter ends the control's edit and gives the grid the focus; Tab ends it too and
// then goes on - to the next cell with Navigation.AdvanceAuto, else to the cell's next editable control.
// OnEndKey is the grid's handling of a typed key: true when it ended the edit (the key is then swallowed).
using TControlEndKey = std::function<bool(char16_t Key)>;

class TControlEdit : public plat::TEdit {
 public:
  explicit TControlEdit(plat::TComponent* AOwner);
  void Dispatch(plat::TMessage& Message) override;
  TControlEndKey OnEndKey;

 protected:
  void KeyPress(char16_t& Key) override;
};

class TControlCombo : public controls::TEsgComboBox {
 public:
  explicit TControlCombo(plat::TComponent* AOwner);
  void Dispatch(plat::TMessage& Message) override;
  TControlEndKey OnEndKey;

 protected:
  void KeyPress(char16_t& Key) override;
};

}  // namespace grid
