// The multi-column drop-down's popup list grid: its keys, mouse and wheel, and the cells it draws.
#include "dropdown/multicolumn_grid.h"

#include "dropdown/paint_routines.h"
#include "platform/forms/keys.h"
#include "platform/forms/messages.h"
#include "platform/graphics/canvas.h"
#include "platform/graphics/drawtext.h"
#include "platform/graphics/gdiobjects.h"
#include "platform/graphics/imagelist.h"

namespace dropdown::multicolumn {

using namespace plat;

TExtColGrid::TExtColGrid(TComponent* AOwner)
    : TStringGrid(AOwner), FColumns(std::make_unique<TDropDownColumns>(this)),
      FHeaderFont(std::make_unique<TFont>()) {
  SetFixedCols(0);
  SetOptions(TGridOptions{goRowSelect, goHorzLine});
  SetDefaultDrawing(false);
  SetBorderStyle(bsNone);
  // The cell painter draws the lines (LineWidth); the platform grid's own lines stay off.
  SetGridLineWidth(0);
}

TExtColGrid::~TExtColGrid() = default;

void TExtColGrid::SetColumns(TDropDownColumns* Value) { FColumns->Assign(Value); }
void TExtColGrid::SetHeaderFont(const TFont& Value) { FHeaderFont->Assign(Value); }

void TExtColGrid::SetLineWidth(int Value) {
  FLineWidth = Value;
  SetGridLineWidth(0);
  Invalidate();
}

void TExtColGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TStringGrid::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == FImages) FImages = nullptr;
}

void TExtColGrid::DoSelect() {
  if (OnSelect) OnSelect(this);
}

// ---- keys, mouse and wheel ----------------------------------------------------------------------------------

LRESULT TExtColGrid::DefaultDlgCode() const { return TStringGrid::DefaultDlgCode() | DLGC_WANTARROWS | DLGC_WANTTAB; }

bool TExtColGrid::HandleSelectCell(int ACol, int ARow) {
  const bool allowed = TStringGrid::HandleSelectCell(ACol, ARow);
  if (allowed && ARow != Row() && FLink) FLink->LinkSelectRow(ARow);
  return allowed;
}

void TExtColGrid::HandleKeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (Key == VK_TAB) return;
  FConfirmed = true;
  if (Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN)) {
    // The edit toggles (here: closes) the popup on Alt+Up and Alt+Down.
    if (FLink) FLink->LinkEditKeyDown(Key);
    return;
  }
  const std::uint16_t key = Key;
  TStringGrid::HandleKeyDown(Key, Shift);
  if (key == VK_RETURN) DoSelect();
}

void TExtColGrid::HandleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FConfirmed = true;
  TStringGrid::HandleMouseDown(Button, Shift, X, Y);
}

void TExtColGrid::HandleMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TStringGrid::HandleMouseUp(Button, Shift, X, Y);
  int col = -1, row = -1;
  MouseToCell(X, Y, col, row);
  if (row > 0) DoSelect();
}

// The wheel moves the current row without making it the user's pick.
bool TExtColGrid::WheelStep(bool Down, TShiftState Shift, TPoint MousePos) {
  FWheel = true;
  FConfirmed = false;
  const bool handled =
      Down ? TStringGrid::DoMouseWheelDown(Shift, MousePos) : TStringGrid::DoMouseWheelUp(Shift, MousePos);
  FWheel = false;
  return handled;
}

bool TExtColGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) { return WheelStep(true, Shift, MousePos); }
bool TExtColGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) { return WheelStep(false, Shift, MousePos); }

// ---- drawing a cell -----------------------------------------------------------------------------------------

struct TExtColGrid::TCellLook {
  TColor Color = clWhite;
  TAlignment Alignment = taLeftJustify;
  bool Wordwrap = false;
  bool Ellipsis = false;
  int ImageIndex = -1;
  QString Text;
};

// Colour, alignment, wrapping, font, image and text of a cell from its column and item.
TExtColGrid::TCellLook TExtColGrid::CellLook(int ACol, int ARow) {
  TCellLook look;
  TCanvas& c = *Canvas();
  if (ACol < FColumns->Count()) {
    const TDropDownColumn& column = *FColumns->GetItem(ACol);
    look.Color = column.Color();
    look.Alignment = column.Alignment();
    look.Wordwrap = column.Wordwrap();
    look.Ellipsis = column.Ellipsis();
    c.Font()->Assign(*column.Font());
    TDropDownItems* items = FLink ? &FLink->LinkItems() : nullptr;
    if (ARow >= 1 && items && ARow - 1 < items->Count()) {
      const TDropDownItem& item = *items->GetItem(ARow - 1);
      if (column.ColumnType() == ctImage) look.ImageIndex = item.ImageIndex();
      if (!item.ColumnText(ACol, look.Text)) look.Text = Cells(ACol, ARow);
    } else {
      look.Text = Cells(ACol, ARow);
    }
  } else {
    look.Color = Color();
    c.Font()->Assign(*FHeaderFont);
    look.Text = Cells(ACol, ARow);
  }
  if (FLink) FLink->LinkGetItemText(ACol, ARow, look.Text);
  return look;
}

void TExtColGrid::HandleDrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  TCanvas& c = *Canvas();
  if (FLink && FLink->LinkDrawItem(ACol, ARow, c, ARect)) return;
  // Where the cell stands in its row, for the selection painter's rounded ends.
  int join = 3;
  if (ColCount() == 1)
    join = 0;
  else if (ACol == FixedCols())
    join = 1;
  else if (ACol == ColCount() - 1)
    join = 2;
  const bool header = ARow < FixedRows();
  const bool selected = !header && AState.Contains(gdSelected);
  TCellLook look = CellLook(ACol, ARow);
  if (header) {
    look.Text = ACol < FColumns->Count() ? FColumns->GetItem(ACol)->Header() : QString();
    look.ImageIndex = -1;
    if (FHeaderColor == clNone || FHeaderColorTo == clNone) {
      c.Brush()->SetStyle(bsSolid);
      c.Brush()->SetColor(FHeaderColor == clNone ? look.Color : FHeaderColor);
      c.FillRect(ARect);
    } else if (FLink) {
      FLink->LinkDrawGradient(c, FHeaderColor, FHeaderColorTo, ARect, 80);
    } else {
      DrawDropDownGradient(c, FHeaderColor, FHeaderColorTo, false, ARect, 80);
    }
  } else if (selected) {
    if (FLink) {
      // The selection box leaves the join edge between cells open: the cell's colour shows there.
      c.Brush()->SetStyle(bsSolid);
      c.Brush()->SetColor(look.Color);
      c.FillRect(ARect);
      FLink->LinkDrawSelection(c, ARect, join, look.Color);
    } else {
      c.Brush()->SetStyle(bsSolid);
      c.Brush()->SetColor(clActiveCaption);
      c.FillRect(ARect);
    }
  } else {
    c.Brush()->SetStyle(bsSolid);
    c.Brush()->SetColor(look.Color);
    c.Pen()->SetColor(look.Color);
    c.Pen()->SetWidth(1);
    c.FillRect(ARect);
  }
  DrawLines(c, ARect, header);
  DrawContent(c, ARect, look, selected, header);
}

void TExtColGrid::DrawLines(TCanvas& Canvas, const TRect& R, bool Header) {
  const TGridOptions o = Options();
  const bool horz = Header ? o.Contains(goFixedHorzLine) : o.Contains(goHorzLine);
  const bool vert = Header ? o.Contains(goFixedVertLine) : o.Contains(goVertLine);
  int width = 1;
  if (Header) {
    Canvas.Pen()->SetColor(FFixedLineColor);
  } else {
    width = FLineWidth;
    if (width > 0) Canvas.Pen()->SetColor(FLineColor);
  }
  if (width <= 0 || (!horz && !vert)) return;
  Canvas.Pen()->SetWidth(width);
  const int i = Header ? 1 : (width + 1) / 2;
  if (horz) {
    Canvas.MoveTo(R.Left - i + 1, R.Bottom - i);
    Canvas.LineTo(R.Right - i + 1, R.Bottom - i);
  }
  if (vert) {
    Canvas.MoveTo(R.Right - i, R.Bottom - i);
    Canvas.LineTo(R.Right - i, R.Top - i);
  }
}

void TExtColGrid::DrawContent(TCanvas& Canvas, TRect R, const TCellLook& Look, bool Selected, bool Header) {
  const int inset = FLineWidth;
  R = TRect(R.Left + inset, R.Top + inset, R.Right - inset, R.Bottom - inset);
  TCustomImageList* images = FLink ? FLink->LinkImages() : FImages;
  int textLeft = R.Left + 2;
  if (images && Look.ImageIndex >= 0) {
    const int ih = images->Height();
    const int y = ih < R.Height() ? R.Top + (R.Height() - ih) / 2 : R.Top;
    images->Draw(&Canvas, R.Left + 2, y, Look.ImageIndex, true);
    textLeft = R.Left + images->Width() + 4;
  }
  if (Look.Text.isEmpty()) return;
  unsigned flags = DT_NOPREFIX | DT_EXPANDTABS;
  flags |= Look.Wordwrap ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE | DT_VCENTER;
  if (Look.Ellipsis) flags |= DT_END_ELLIPSIS;
  if (Look.Alignment == taRightJustify) flags |= DT_RIGHT;
  if (Look.Alignment == taCenter) flags |= DT_CENTER;
  if (Header) Canvas.Font()->Assign(*FHeaderFont);
  if (Selected) Canvas.Font()->SetColor(FLink ? FLink->LinkSelectionTextColor() : clHighlightText);
  Canvas.Brush()->SetStyle(bsClear);
  TRect text(textLeft, R.Top, R.Right, R.Bottom);
  Canvas.DrawText(Look.Text, text, flags);
}

}  // namespace dropdown::multicolumn
