#pragma once
// Small shared classes of the grid family that need controls or drawing: the list of controls placed on
// cells, the picture named by a file, the stepped gradient fill, and the system and theme tests.

#include <QString>

#include <memory>
#include <vector>

#include "grid/model/cell_controls.h"
#include "grid/model/gridtypes.h"
#include "platform/graphics/canvas.h"
#include "platform/rtl/object.h"

namespace plat {
class TControl;
}

namespace grid {

// Controls placed on cells (the places and how they follow rows and columns are the model's); owns its items,
// not the controls.
class TControlList : public TControlPlaces {
  PLAT_CLASS(TControlList)

  // Some item's control is a windowed control with that window handle.
  bool HasHandle(quintptr Handle) const;
};

// A picture kept by its file name; it is loaded to measure it and again to draw it.
class TFilePicture : public plat::TPersistent {
  PLAT_CLASS(TFilePicture)

  QString Filename() const { return FFilename; }
  // Loads the file to take its size; a load error reaches the caller and the size keeps its old value.
  void SetFilename(const QString& Value);
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Nothing for an empty file name; otherwise loads the file and stretches it into r.
  void DrawPicture(plat::TCanvas& Canvas, const plat::TRect& r) const;
  // From a TFilePicture: name and size, without loading.
  void Assign(plat::TPersistent* Source) override;

 private:
  QString FFilename;
  int FWidth = 0;
  int FHeight = 0;
};

// Operating system 5.1 or later.
bool IsWinXPOrLater();
// Themed common controls: IsWinXPOrLater, themes active and common controls of major version 6 or later.
bool IsThemedComCtl();
TXPColorScheme CurrentXPColorScheme();

// Steps bands from FromColor to ToColor across R (overlapping by a pixel), then a BorderColor frame unless
// clNone. Steps 0 counts as 1.
void DrawGradientSteps(plat::TCanvas& Canvas, plat::TColor FromColor, plat::TColor ToColor, plat::TColor BorderColor,
                       int Steps, const plat::TRect& R, bool Horizontal);

}  // namespace grid
