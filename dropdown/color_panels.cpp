// The colour picker's item collections and its honeycomb panel.
#include "dropdown/color_panels.h"

#include <QToolTip>

#include "platform/graphics/canvas.h"
#include "platform/rtl/format.h"

namespace dropdown {

using namespace plat;

// ---- named colours ------------------------------------------------------------------------------------------

TColorItem::TColorItem(TCollection* Collection) : TCollectionItem(Collection) {}

void TColorItem::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TColorItem*>(Source);
  if (!s) {
    TCollectionItem::Assign(Source);
    return;
  }
  SetCaption(s->FCaption);
  SetColor(s->FColor);
  FEnabled = s->FEnabled;
  FHint = s->FHint;
}

void TColorItem::NotifyChange() {
  auto* items = dynamic_cast<TColorItems*>(Collection());
  if (items && items->OnChange) items->OnChange(items);
}

void TColorItem::SetCaption(const QString& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  NotifyChange();
}

void TColorItem::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  NotifyChange();
}

TColorItems::TColorItems(TPersistent* AOwner) : TCollection(ItemClassOf<TColorItem>()), FMyOwner(AOwner) {}

// ---- colour boxes -------------------------------------------------------------------------------------------

TColorBoxItem::TColorBoxItem(TCollection* Collection) : TCollectionItem(Collection) {}

void TColorBoxItem::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TColorBoxItem*>(Source);
  if (!s) {
    TCollectionItem::Assign(Source);
    return;
  }
  SetColor(s->FColor);
  FColorBoxPos = s->FColorBoxPos;
  FEnabled = s->FEnabled;
}

void TColorBoxItem::NotifyChange() {
  auto* items = dynamic_cast<TColorBoxItems*>(Collection());
  if (items && items->OnChange) items->OnChange(items);
}

void TColorBoxItem::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  NotifyChange();
}

TColorBoxItems::TColorBoxItems(TPersistent* AOwner)
    : TCollection(ItemClassOf<TColorBoxItem>()), FMyOwner(AOwner) {}

// ---- the honeycomb ------------------------------------------------------------------------------------------

namespace {

// The cells' colours, row by row from the top, left to right.
constexpr TColor CubeColors[TExtColorCubePanel::CellCount] = {
    0x663300, 0x996633, 0xCC6633, 0x993300, 0x990000, 0xCC0000, 0x660000,                                // 1
    0x666600, 0x996600, 0xCC9900, 0xCC6600, 0xCC3300, 0xFF0000, 0xFF3333, 0x993333,                      // 2
    0x808000, 0x999900, 0xCCCC33, 0xFFCC00, 0xFF9900, 0xFF6600, 0xFF6633, 0xCC3333, 0x996666,            // 3
    0x669933, 0x99CC00, 0xCCFF00, 0xFFFF00, 0xFFCC33, 0xFF9933, 0xFF9966, 0xFF6666, 0xFF0066, 0xCC0066,  // 4
    0x339933, 0x66CC00, 0x99FF00, 0xCCFF66, 0xFFFF66, 0xFFCC66, 0xFFCC99, 0xFF9999, 0xFF6699, 0xFF3399,
    0xFF0099,  // 5
    0x006600, 0x00CC00, 0x00FF00, 0x99FF66, 0xCCFF99, 0xFFFFCC, 0xFFECCC, 0xFFCCCC, 0xFF99CC, 0xFF66CC,
    0xFF00CC, 0xCC0099,  // 6
    0x003300, 0x008000, 0x33CC33, 0x66FF66, 0x99FF99, 0xCCFFCC, 0xFFFFFF, 0xFFCCFF, 0xFF99FF, 0xFF66FF,
    0xFF00FF, 0xCC00CC, 0x660066,  // 7
    0x006633, 0x009900, 0x33FF66, 0x66FF99, 0x99FFCC, 0xCCFFFF, 0xCCCCFF, 0xCC99FF, 0xCC66FF, 0xCC33FF,
    0x9900CC, 0x800080,  // 8
    0x003333, 0x009966, 0x33FF99, 0x66FFCC, 0x99FFFF, 0x99CCFF, 0x9999FF, 0x9966FF, 0x9933FF, 0x9933CC,
    0x990099,  // 9
    0x336666, 0x00CC99, 0x33FFCC, 0x66FFFF, 0x66CCFF, 0x6699FF, 0x807CFF, 0x6600FF, 0x9300D6, 0x663399,  // 10
    0x008080, 0x00CCCC, 0x00FFFF, 0x00CCFF, 0x3399FF, 0x0066FF, 0x5050FF, 0x6600CC, 0x330066,            // 11
    0x336699, 0x0099CC, 0x0099FF, 0x0066CC, 0x0033FF, 0x0000FF, 0x0000CC, 0x330099,                      // 12
    0x003366, 0x006699, 0x0033CC, 0x003399, 0x000099, 0x000080, 0x2100A5,                                // 13
};

constexpr int CubeRows = 13;

void Outline(TCanvas& Canvas, TColor Color) {
  Canvas.Brush()->SetStyle(bsClear);
  Canvas.Pen()->SetStyle(psSolid);
  Canvas.Pen()->SetColor(Color);
}

}  // namespace

TExtColorCubePanel::TExtColorCubePanel(TComponent* AOwner) : TExtCustomColorSelectorPanel(AOwner) {
  BuildCube();
  SetShowRGBHint(true);
}

void TExtColorCubePanel::BuildCube() {
  FCubeSize = TPoint(6, 3);
  int n = 1;
  for (int r = 1; r <= CubeRows; ++r) {
    const int cells = r <= 7 ? r + 6 : 20 - r;
    const int firstX = r <= 7 ? 55 - FCubeSize.X * (r - 1) : 19 + FCubeSize.X * (r - 7);
    const int y = 20 + 10 * (r - 1);
    for (int c = 0; c < cells; ++c, ++n) {
      FCubeCells[n].Center = TPoint(firstX + c * 2 * FCubeSize.X, y);
      FCubeCells[n].Color = CubeColors[n - 1];
    }
  }
}

void TExtColorCubePanel::ResetCube() {
  FHotIndex = -1;
  SetBounds(Left(), Top(), 182, 160);
}

void TExtColorCubePanel::SetSelection(TColor Color, int Index) {
  FSelectedColor = Color;
  if (ValidCell(Index)) {
    FSelectedIndex = Index;
    return;
  }
  FSelectedIndex = -1;
  for (int i = 1; i <= CellCount; ++i) {
    if (FCubeCells[i].Color == Color) {
      FSelectedIndex = i;
      return;
    }
  }
}

void TExtColorCubePanel::SetShowRGBHint(bool Value) {
  FShowRGBHint = Value;
  SetShowHint(Value);
}

TPoint TExtColorCubePanel::CellCenter(int Index) const {
  return ValidCell(Index) ? FCubeCells[Index].Center : TPoint();
}

TColor TExtColorCubePanel::CellColor(int Index) const {
  return ValidCell(Index) ? FCubeCells[Index].Color : clNone;
}

int TExtColorCubePanel::CellAtPos(int X, int Y) const {
  const int radius = FCubeSize.X;
  for (int i = 1; i <= CellCount; ++i) {
    const int dx = FCubeCells[i].Center.X - X, dy = FCubeCells[i].Center.Y - Y;
    if (dx * dx + dy * dy <= radius * radius) return i;
  }
  return -1;
}

void TExtColorCubePanel::DrawHexagon(TCanvas& Canvas, TPoint Center, int A, int B) {
  const int cx = Center.X, cy = Center.Y;
  const TPoint points[] = {{cx - B, cy - A}, {cx, cy - 2 * A}, {cx + B, cy - A},
                           {cx + B, cy + A}, {cx, cy + 2 * A}, {cx - B, cy + A}};
  Canvas.Polygon(points);
}

void TExtColorCubePanel::DrawHotFrame(TCanvas& Canvas, TPoint Center) {
  Outline(Canvas, TColor(0x0000FF));
  DrawHexagon(Canvas, Center, 3, 5);
  Outline(Canvas, clWhite);
  DrawHexagon(Canvas, Center, 2, 4);
}

void TExtColorCubePanel::DrawSelectedFrame(TCanvas& Canvas, TPoint Center) {
  Outline(Canvas, clBlack);
  DrawHexagon(Canvas, Center, 3, 5);
  Outline(Canvas, clWhite);
  DrawHexagon(Canvas, Center, 2, 4);
}

void TExtColorCubePanel::DrawCell(TCanvas& Canvas, int Index) {
  if (!ValidCell(Index)) return;
  const TCubeCell& cell = FCubeCells[Index];
  Canvas.Pen()->SetStyle(psSolid);
  Canvas.Pen()->SetColor(cell.Color);
  Canvas.Brush()->SetStyle(bsSolid);
  Canvas.Brush()->SetColor(cell.Color);
  DrawHexagon(Canvas, cell.Center, 3, 6);
  if (Index == FHotIndex) DrawHotFrame(Canvas, cell.Center);
  if (Index == FSelectedIndex) DrawSelectedFrame(Canvas, cell.Center);
}

void TExtColorCubePanel::DrawCells(TCanvas& Canvas) {
  for (int i = 1; i <= CellCount; ++i) DrawCell(Canvas, i);
}

void TExtColorCubePanel::Paint() {
  if (!Canvas()) return;
  // The panel's colour around and between the cells.
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
  DrawCells(*Canvas());
}

void TExtColorCubePanel::MouseMove(TShiftState Shift, int X, int Y) {
  TExtCustomColorSelectorPanel::MouseMove(Shift, X, Y);
  const int cell = CellAtPos(X, Y);
  if (cell < 0) {
    if (FShowRGBHint) {
      SetHint(QString());
      QToolTip::hideText();
    }
    return;
  }
  if (cell == FHotIndex) return;
  FHotIndex = cell;
  Invalidate();
  if (FShowRGBHint) {
    const TColor c = FCubeCells[cell].Color;
    SetHint(Format(QStringLiteral("Red: %d,  Green: %d,  Blue: %d"), {GetRValue(c), GetGValue(c), GetBValue(c)}));
    QToolTip::hideText();
  }
}

void TExtColorCubePanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TExtCustomColorSelectorPanel::MouseDown(Button, Shift, X, Y);
  const int cell = CellAtPos(X, Y);
  if (cell < 0) return;
  SetSelection(FCubeCells[cell].Color, cell);
  Invalidate();
  if (OnSelect) OnSelect(this);
}

void TExtColorCubePanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TExtCustomColorSelectorPanel::MouseUp(Button, Shift, X, Y);
  if (OnShouldHide) OnShouldHide(this);
}

}  // namespace dropdown
