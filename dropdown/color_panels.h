#pragma once
// What the colour picker chooses from: its named colours (list), its colour boxes (palette), and two panels
// it shows in its popup: a honeycomb of 127 fixed colours (the cube) and a picture of every hue from white
// through the pure hues to black (the spectrum). Both panels report a choice through OnSelect and ask the
// picker to close its popup through OnShouldHide when the mouse button is released.

#include <QImage>
#include <QString>

#include <array>

#include "platform/forms/controls.h"
#include "platform/rtl/collection.h"

namespace plat {
class TImage;
}

namespace dropdown {

// ---- named colours ------------------------------------------------------------------------------------------

class TColorItem : public plat::TCollectionItem {
  PLAT_CLASS(TColorItem)

  explicit TColorItem(plat::TCollection* Collection);

  // Another colour item: caption and colour through their setters, Enabled and the hint. Another class: the
  // base's rule.
  void Assign(plat::TPersistent* Source) override;

  QString Caption() const { return FCaption; }
  void SetCaption(const QString& Value);
  plat::TColor Color() const { return FColor; }
  void SetColor(plat::TColor Value);
  QString Hint() const { return FHint; }
  void SetHint(const QString& Value) { FHint = Value; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  plat::TRect Rect() const { return FRect; }
  void SetRect(const plat::TRect& Value) { FRect = Value; }

 private:
  void NotifyChange();
  QString FCaption;
  plat::TColor FColor = plat::clNone;
  bool FEnabled = true;
  plat::TRect FRect;
  QString FHint;
};

class TColorItems : public plat::TCollection {
  PLAT_CLASS(TColorItems)

  explicit TColorItems(plat::TPersistent* AOwner);
  TColorItem* Add() { return static_cast<TColorItem*>(plat::TCollection::Add()); }
  TColorItem* Insert(int Index) { return static_cast<TColorItem*>(plat::TCollection::Insert(Index)); }
  TColorItem* GetItem(int Index) const { return static_cast<TColorItem*>(Items(Index)); }
  void SetItem(int Index, TColorItem* Value) { SetItems(Index, Value); }
  plat::TPersistent* Owner() const override { return FMyOwner; }

  plat::TNotifyEvent OnChange;

 private:
  plat::TPersistent* FMyOwner;
};

// ---- colour boxes -------------------------------------------------------------------------------------------

// Where a colour box stands in its column of the palette: alone, or first, middle or last of a joined group.
enum TItemPos { ipStandAlone, ipTop, ipMiddle, ipBottom };

class TColorBoxItem : public plat::TCollectionItem {
  PLAT_CLASS(TColorBoxItem)

  explicit TColorBoxItem(plat::TCollection* Collection);

  // Another colour box: the colour through its setter, the position and Enabled. Another class: the base's
  // rule.
  void Assign(plat::TPersistent* Source) override;

  plat::TColor Color() const { return FColor; }
  void SetColor(plat::TColor Value);
  TItemPos ColorBoxPos() const { return FColorBoxPos; }
  void SetColorBoxPos(TItemPos Value) { FColorBoxPos = Value; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  // The box's place in the palette; empty until the palette arranged it.
  plat::TRect Rect() const { return FRect; }
  void SetRect(const plat::TRect& Value) { FRect = Value; }

 private:
  void NotifyChange();
  plat::TColor FColor = plat::clNone;
  bool FEnabled = true;
  plat::TRect FRect;
  TItemPos FColorBoxPos = ipStandAlone;
};

class TColorBoxItems : public plat::TCollection {
  PLAT_CLASS(TColorBoxItems)

  explicit TColorBoxItems(plat::TPersistent* AOwner);
  TColorBoxItem* Add() { return static_cast<TColorBoxItem*>(plat::TCollection::Add()); }
  TColorBoxItem* Insert(int Index) { return static_cast<TColorBoxItem*>(plat::TCollection::Insert(Index)); }
  TColorBoxItem* GetItem(int Index) const { return static_cast<TColorBoxItem*>(Items(Index)); }
  void SetItem(int Index, TColorBoxItem* Value) { SetItems(Index, Value); }
  plat::TPersistent* Owner() const override { return FMyOwner; }

  plat::TNotifyEvent OnChange;

 private:
  plat::TPersistent* FMyOwner;
};

// ---- panels -------------------------------------------------------------------------------------------------

// The base of the popup panels; the owning picker sets OnShouldHide.
class TExtCustomColorSelectorPanel : public plat::TCustomControl {
 public:
  explicit TExtCustomColorSelectorPanel(plat::TComponent* AOwner) : plat::TCustomControl(AOwner) {}

  plat::TNotifyEvent OnShouldHide;
};

// The honeycomb: 127 hexagonal cells of fixed colours in 13 rows (7 to 13 cells), numbered 1 to 127 row by
// row from the top.
class TExtColorCubePanel : public TExtCustomColorSelectorPanel {
 public:
  static constexpr int CellCount = 127;

  explicit TExtColorCubePanel(plat::TComponent* AOwner);

  // The cell size, the 127 colours and the cell centres (the same every time).
  void BuildCube();
  // No hot cell, and the panel takes the cube's size (182 x 160).
  void ResetCube();

  plat::TColor SelectedColor() const { return FSelectedColor; }
  // SetSelection(Value, -1); no repaint.
  void SetSelectedColor(plat::TColor Value) { SetSelection(Value, -1); }
  // Stores the colour; an Index in 1..127 becomes the selected cell, any other the first cell of that colour
  // (none: -1).
  void SetSelection(plat::TColor Color, int Index);
  int SelectedIndex() const { return FSelectedIndex; }
  int HotIndex() const { return FHotIndex; }
  bool ShowRGBHint() const { return FShowRGBHint; }
  // Also turns the panel's ShowHint on or off.
  void SetShowRGBHint(bool Value);

  // Cell 1..127 (other indices: a centre of (0, 0) and clNone).
  plat::TPoint CellCenter(int Index) const;
  plat::TColor CellColor(int Index) const;
  // The first cell whose centre lies within 6 pixels of the point; -1 when none.
  int CellAtPos(int X, int Y) const;

  void DrawCell(plat::TCanvas& Canvas, int Index);
  void DrawCells(plat::TCanvas& Canvas);
  // A hexagon with a point at the top and at the bottom, 2B wide and 4A high, around the centre.
  static void DrawHexagon(plat::TCanvas& Canvas, plat::TPoint Center, int A, int B);
  static void DrawHotFrame(plat::TCanvas& Canvas, plat::TPoint Center);
  static void DrawSelectedFrame(plat::TCanvas& Canvas, plat::TPoint Center);

  plat::TNotifyEvent OnSelect;

 protected:
  void Paint() override;
  void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void MouseMove(plat::TShiftState Shift, int X, int Y) override;
  void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;

 private:
  struct TCubeCell {
    plat::TPoint Center;
    plat::TColor Color = plat::clNone;
  };
  bool ValidCell(int Index) const { return Index >= 1 && Index <= CellCount; }

  std::array<TCubeCell, CellCount + 1> FCubeCells{};  // [0] unused: cells are numbered from 1
  plat::TPoint FCubeSize;
  plat::TColor FSelectedColor = plat::clNone;
  int FSelectedIndex = -1;
  int FHotIndex = -1;
  bool FShowRGBHint = true;
};

// The spectrum: a 128 x 128 picture of every hue (left to right) from white (top) through the pure hues
// (middle) to black (bottom), with two boxes below it: the chosen colour and the colour under the pointer.
class TExtColorSpectrumPanel : public TExtCustomColorSelectorPanel {
 public:
  // The application's cursor slot of the eyedropper pointer.
  static constexpr plat::TCursor PointerCursor = 54;

  explicit TExtColorSpectrumPanel(plat::TComponent* AOwner);
  ~TExtColorSpectrumPanel() override;

  // Size 150 x 174, the picture centred near the top, the two boxes placed below it, no hot colour.
  void ArrangeSpectrum();

  plat::TColor SelectedColor() const { return FSelectedColor; }
  // Stores the colour; no repaint.
  void SetSelectedColor(plat::TColor Value);
  plat::TColor HotColor() const { return FHotColor; }
  plat::TRect SelectedRect() const { return FSelectedRect; }
  plat::TRect HotRect() const { return FHotRect; }
  plat::TImage* SpectrumImage() const { return FSpectrumImage; }

  void DrawSelectedBox(plat::TCanvas& Canvas);
  void DrawHotBox(plat::TCanvas& Canvas);

  // The spectrum picture (hue by column, lightness by row), made once.
  static const QImage& SpectrumBitmap();
  // The eyedropper pointer, 32 x 32 in black and white, pointing to the lower left.
  static const QImage& PointerImage();
  static constexpr int PointerHotX = 1, PointerHotY = 30;

  plat::TNotifyEvent OnSelect;

 protected:
  void Paint() override;
  void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;

 private:
  void SpectrumMouseMove(plat::TShiftState Shift, int X, int Y);
  void SpectrumMouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y);
  void SpectrumMouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y);
  // The colour the panel shows at a point of its client area (its own painting and the picture's).
  plat::TColor DisplayedColor(int X, int Y) const;
  void DrawBox(plat::TCanvas& Canvas, const plat::TRect& R, plat::TColor Color);

  plat::TImage* FSpectrumImage = nullptr;
  plat::TColor FHotColor = plat::clNone;
  plat::TColor FSelectedColor = plat::clWhite;
  plat::TRect FHotRect, FSelectedRect;
};

}  // namespace dropdown
