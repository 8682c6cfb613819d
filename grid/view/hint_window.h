#pragma once
// THTMLHintWindow: the borderless window that shows cell hints and scroll hints. Its text is mini-HTML (plain
// words included) or a wide-encoded text drawn on one line. It sizes itself to the text, keeps inside the
// monitor it is shown on and never takes the focus.

#include <QString>

#include "controls/picture.h"
#include "platform/forms/controls.h"
#include "platform/graphics/imagelist.h"

namespace grid {

class THTMLHintWindow : public plat::TCustomControl {
 public:
  explicit THTMLHintWindow(plat::TComponent* AOwner);

  // Takes the images and picture container of the grid that asks (AData may be any object).
  void ActivateHintData(plat::TRect Rect, const QString& AHint, plat::TObject* AData);
  // The size of the text alone: (0, 0, width, height), measured at most MaxWidth wide.
  plat::TRect CalcHintRect(int MaxWidth, const QString& AHint);
  // Sizes the window to the text plus its margin, keeps it on its monitor, shows it without activation.
  void ActivateHint(plat::TRect Rect, const QString& AHint);
  // Shows AHint in Color with its top-left corner at a screen point, measured at most MaxWidth wide (the
  // cell, sizing and scroll hints of the grid).
  void ShowAt(plat::TPoint ScreenPos, int MaxWidth, const QString& AHint, plat::TColor Color);
  // Hides the window (the window handle is released).
  void ReleaseHint();
  // The font name wide-encoded hints are drawn with (the grid that last prepared a cell hint sets it).
  static QString WideFontName;

  plat::TCustomImageList* Images = nullptr;
  controls::TPictureContainer* PictureContainer = nullptr;
  int TextWidth() const { return FTextWidth; }
  int TextHeight() const { return FTextHeight; }
  // The rectangle of the monitor the hint is placed on (tests may replace it).
  std::function<plat::TRect(plat::TPoint)> MonitorRect;

 protected:
  void Paint() override;
  void TextChanged() override { Invalidate(); }

 private:
  bool IsWide(const QString& S) const;
  plat::TRect Measure(int MaxWidth, const QString& AHint, bool Wide);
  int FTextWidth = 0;
  int FTextHeight = 0;
  QString FWideCaption;
};

}  // namespace grid
