// The string grid as the drop-down editors' host: each answer is one call on the grid's public members.
#include "griddropdown/dropdown_host.h"
#include "grid/edit/edit_manager.h"
#include "grid/edit/edit_setup.h"
#include "grid/extgrid.h"
#include "grid/input/input_mouse.h"
#include "griddropdown/grid_dropdowns.h"
#include "griddropdown/griddropdown.h"
#include "platform/forms/msgqueue.h"

namespace grid {

// The whole number a text starts with ("12ab" is 12, "" and "x" are 0).
int LeadingInt(const QString& Text) {
  const QString t = Text.trimmed();
  const bool negative = t.startsWith(u'-');
  long long v = 0;
  for (qsizetype i = negative ? 1 : 0; i < t.size() && t[i].isDigit() && v < 1000000000LL; ++i)
    v = v * 10 + t[i].digitValue();
  return static_cast<int>(negative ? -v : v);
}

namespace {

class TGridDropDownHost final : public TDropDownEditHost {
 public:
  explicit TGridDropDownHost(TExtStringGrid& Grid) : G(Grid) {}

  plat::TWinControl* GridControl() override { return &G; }
  int Col() override { return G.Col(); }
  int Row() override { return G.Row(); }
  int RealCol() override { return G.RealCol(); }

  QString CurrentCell() override { return G.CurrentCell(); }
  void SetCurrentCell(const QString& Value) override { G.SetCurrentCellText(Value); }
  QString CellCacheText() override { return G.CellCacheText(); }
  bool ValidateCell(const QString& Value) override { return G.ValidateCell(Value); }
  QString NewCellText() override { return G.EditState().NewCellText; }
  void HideInplaceEdit() override { G.HideInplaceEdit(); }
  void ShowInplaceEdit() override { G.ShowInplaceEdit(); }
  void DoneInplaceEdit(std::uint16_t Key, plat::TShiftState Shift) override { G.DoneInplaceEdit(Key, Shift); }
  bool WantsTabKey() override { return G.WantsTabKey(); }
  bool TabMovesCells() override { return G.Options().Contains(plat::goTabs); }
  void TabToNextCell(bool Backwards) override { G.EditorTabToNextCell(Backwards); }
  bool AdvanceAutoEdit() override { return G.Navigation()->AdvanceOnEnter && G.Navigation()->AdvanceAutoEdit; }
  void PostKeyDown(std::uint16_t Key) override { plat::PostMessage(G.Handle(), plat::WM_KEYDOWN, Key, 0); }
  void PassKeyToGrid(std::uint16_t& Key, plat::TShiftState Shift) override { G.PassKeyToGrid(Key, Shift); }
  void FocusGrid() override {
    if (G.CanFocus()) G.SetFocus();
  }
  bool WritingBack() override { return G.EditState().BlockKill; }
  bool EditMode() override { return G.EditState().EditMode; }
  void SetEditMode(bool Value) override { G.EditState().EditMode = Value; }
  bool TakeEditClick(plat::TPoint& At) override {
    TMousePress& press = G.Mouse().Press();
    if (!press.LButFlg) return false;
    press.LButFlg = false;
    At = plat::TPoint(press.Clickposx, press.Clickposy);
    return true;
  }

  void KeyPress(plat::TObject* Sender, char16_t& Key) override {
    if (G.OnKeyPress) G.OnKeyPress(Sender, Key);
  }
  void EditChange(const QString& Value) override {
    if (G.OnEditChange) G.OnEditChange(&G, G.Col(), G.Row(), Value);
  }
  void MemoChange(plat::TObject* Sender) override { G.MemoEditorChanged(Sender); }
  void HeaderButtonClick(int ButtonIndex) override { G.DropDownHeaderButtonClicked(&G, ButtonIndex); }
  void FooterButtonClick(int ButtonIndex) override { G.DropDownFooterButtonClicked(&G, ButtonIndex); }
  void ColorSelect() override { G.DoColorSelect(); }
  void ImageSelect() override { G.DoImageSelect(); }
  // The grid's events take the choice by value: a handler sees it but cannot change it.
  void ColorSelected(int RCol, int ARow, plat::TColor& Color, QString&) override {
    if (G.OnColorSelected) G.OnColorSelected(&G, RCol, ARow, Color);
  }
  void ImageSelected(int RCol, int ARow, int& Index) override {
    if (G.OnImageSelected) G.OnImageSelected(&G, RCol, ARow, Index);
  }

  void GetEditorProp(int RCol, int ARow) override { G.DoGetEditorProp(RCol, ARow, G.EditLink()); }
  void WriteEditorText(int RCol, int ARow, const QString& Value) override { G.WriteEditorText(RCol, ARow, Value); }
  THeaderAppearance* DropDownHeader() override { return G.ControlLook()->DropDownHeader(); }
  TFooterAppearance* DropDownFooter() override { return G.ControlLook()->DropDownFooter(); }
  bool DirectComboDrop() override { return G.MouseActions()->DirectComboDrop; }
  controls::TExtStyle ComponentStyle() override { return G.RenderSettings().Colors.ComponentStyle; }
  const controls::TColorTones* ColorTones() override {
    const controls::TColorTones& t = G.RenderSettings().Colors.Tones;
    return t.Background.BrushColor == plat::clNone ? nullptr : &t;
  }
  plat::TCustomImageList* GridImages() override { return G.GridImages(); }
  TCellType CellType(int RCol, int ARow) override { return G.GetCellType(RCol, ARow); }
  plat::TColor CellColor(int RCol, int ARow) override { return G.Colors(RCol, ARow); }
  void SetCellColor(int RCol, int ARow, plat::TColor Value) override { G.SetColors(RCol, ARow, Value); }
  plat::TColor ShapeColor(int RCol, int ARow) override { return G.CellObjects().GetShapeColor(RCol, ARow); }
  void SetShapeColor(int RCol, int ARow, plat::TColor Value) override {
    G.CellObjects().SetShapeColor(RCol, ARow, Value);
  }
  int ImageIndex(int RCol, int ARow) override {
    if (G.GetCellType(RCol, ARow) == ctDataImage) return LeadingInt(G.Cells(RCol, ARow));
    int index = -1;
    return G.CellObjects().GetImageIdx(RCol, ARow, index) ? index : -1;
  }
  void SetImageIndex(int RCol, int ARow, int Value) override { G.CellObjects().SetImageIdx(RCol, ARow, Value); }

 private:
  TExtStringGrid& G;
};

}  // namespace

std::unique_ptr<TDropDownEditHost> MakeDropDownHost(TExtStringGrid& Grid) {
  return std::make_unique<TGridDropDownHost>(Grid);
}

// The grid drop-down's inner grid keeps its header row, however few rows it is given.
void KeepFixedRowAlways(TExtStringGrid& Inner) { Inner.SetFixedRowAlways(true); }

// ---- the grid's drop-down editors, each created on first use

namespace {
template <class T>
T* Editor(TExtStringGrid& Grid, TEditorType Kind) {
  TCellEditorKind* k = Grid.EditorKind(Kind);
  return k ? dynamic_cast<T*>(k->EnsureControl()) : nullptr;
}
}  // namespace

TGridTrackbarDropDown* TrackbarDropDown(TExtStringGrid& G) { return Editor<TGridTrackbarDropDown>(G, edTrackbarDropDown); }
TGridMemoDropDown* MemoDropDown(TExtStringGrid& G) { return Editor<TGridMemoDropDown>(G, edMemoDropDown); }
TGridCalculatorDropDown* CalculatorDropDown(TExtStringGrid& G) {
  return Editor<TGridCalculatorDropDown>(G, edCalculatorDropDown);
}
TGridTimepickerDropDown* TimePickerDropDown(TExtStringGrid& G) {
  return Editor<TGridTimepickerDropDown>(G, edTimePickerDropDown);
}
TGridDetailPickerDropDown* DetailPickerDropDown(TExtStringGrid& G) {
  return Editor<TGridDetailPickerDropDown>(G, edDetailDropDown);
}
TGridGridDropDown* GridDropDown(TExtStringGrid& G) { return Editor<TGridGridDropDown>(G, edGridDropDown); }
TGridColorDropDown* ColorPickerDropDown(TExtStringGrid& G) { return Editor<TGridColorDropDown>(G, edColorPickerDropDown); }
TGridImageDropDown* ImagePickerDropDown(TExtStringGrid& G) { return Editor<TGridImageDropDown>(G, edImagePickerDropDown); }
TGridExtGridDropDown* ExtGridDropDown(TExtStringGrid& G) { return Editor<TGridExtGridDropDown>(G, edExtGridDropDown); }

}  // namespace grid
