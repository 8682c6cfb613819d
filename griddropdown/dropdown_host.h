#pragma once
// What the grid's drop-down cell editors need of the string grid: the edit session they end (validating,
// hiding, moving on), the events they raise on the grid, the settings their set-up reads and the cell store
// their write-back changes. The string grid answers it through an adapter (MakeDropDownHost); the editors
// never see the grid class itself.

#include <QString>

#include <cstdint>
#include <memory>

#include "controls/theme_services.h"
#include "grid/model/cell_graphic.h"
#include "platform/forms/controls.h"

namespace plat {
class TCustomImageList;
}

namespace grid {

class TExtStringGrid;
class THeaderAppearance;
class TFooterAppearance;

class TDropDownEditHost {
 public:
  virtual ~TDropDownEditHost() = default;

  // The grid as owner and parent of the editor controls, and its current cell (display column, row).
  virtual plat::TWinControl* GridControl() = 0;
  virtual int Col() = 0;
  virtual int Row() = 0;
  virtual int RealCol() = 0;

  // ---- the edit session
  virtual QString CurrentCell() = 0;
  virtual void SetCurrentCell(const QString& Value) = 0;
  // The text the cell had when its edit started.
  virtual QString CellCacheText() = 0;
  // False: the value was refused; NewCellText then holds what the validation left.
  virtual bool ValidateCell(const QString& Value) = 0;
  virtual QString NewCellText() = 0;
  virtual void HideInplaceEdit() = 0;
  virtual void ShowInplaceEdit() = 0;
  virtual void DoneInplaceEdit(std::uint16_t Key, plat::TShiftState Shift) = 0;
  virtual bool WantsTabKey() = 0;
  // goTabs: Tab moves from cell to cell.
  virtual bool TabMovesCells() = 0;
  virtual void TabToNextCell(bool Backwards) = 0;
  // Navigation.AdvanceOnEnter together with AdvanceAutoEdit: Enter opens the next cell's editor.
  virtual bool AdvanceAutoEdit() = 0;
  virtual void PostKeyDown(std::uint16_t Key) = 0;
  // The grid's key-down handling for a key an editor passes on.
  virtual void PassKeyToGrid(std::uint16_t& Key, plat::TShiftState Shift) = 0;
  virtual void FocusGrid() = 0;
  // An editor is being written back (its focus loss must not write it back again).
  virtual bool WritingBack() = 0;
  virtual bool EditMode() = 0;
  virtual void SetEditMode(bool Value) = 0;
  // A click opened the edit with caret positioning: the click (grid client pixels), taken once.
  virtual bool TakeEditClick(plat::TPoint& At) = 0;

  // ---- events the editors raise on the grid
  virtual void KeyPress(plat::TObject* Sender, char16_t& Key) = 0;
  virtual void EditChange(const QString& Value) = 0;
  // The memo editor's text changed: the grid copies it into the cell as it is typed.
  virtual void MemoChange(plat::TObject* Sender) = 0;
  virtual void HeaderButtonClick(int ButtonIndex) = 0;
  virtual void FooterButtonClick(int ButtonIndex) = 0;
  virtual void ColorSelect() = 0;
  virtual void ImageSelect() = 0;
  // The write-back's choice, told before it is stored (the colour with its text, the image index).
  virtual void ColorSelected(int RCol, int ARow, plat::TColor& Color, QString& Value) = 0;
  virtual void ImageSelected(int RCol, int ARow, int& Index) = 0;

  // ---- set-up and write-back (real columns)
  virtual void GetEditorProp(int RCol, int ARow) = 0;
  virtual void WriteEditorText(int RCol, int ARow, const QString& Value) = 0;
  virtual THeaderAppearance* DropDownHeader() = 0;
  virtual TFooterAppearance* DropDownFooter() = 0;
  virtual bool DirectComboDrop() = 0;
  virtual controls::TExtStyle ComponentStyle() = 0;
  // The grid's colour tones, nullptr while the grid has none of its own.
  virtual const controls::TColorTones* ColorTones() = 0;
  virtual plat::TCustomImageList* GridImages() = 0;
  virtual TCellType CellType(int RCol, int ARow) = 0;
  virtual plat::TColor CellColor(int RCol, int ARow) = 0;
  virtual void SetCellColor(int RCol, int ARow, plat::TColor Value) = 0;
  virtual plat::TColor ShapeColor(int RCol, int ARow) = 0;
  virtual void SetShapeColor(int RCol, int ARow, plat::TColor Value) = 0;
  virtual int ImageIndex(int RCol, int ARow) = 0;
  virtual void SetImageIndex(int RCol, int ARow, int Value) = 0;
};

// The string grid's answer to the drop-down editors.
std::unique_ptr<TDropDownEditHost> MakeDropDownHost(TExtStringGrid& Grid);

// The whole number a text starts with ("12ab" is 12, "" and "x" are 0).
int LeadingInt(const QString& Text);

}  // namespace grid
