#pragma once
// The grid's drop-down cell editors, registered with the grid's editor registry. Program start and tests call
// RegisterGridDropDownEditors once before the grids edit (a static library would drop editors that only
// registered themselves). The getters give a grid's editor of each kind, created on first use (hidden, owned
// by the grid); an application fills item lists through them, for example in OnGetEditorProp.

namespace grid {

class TExtStringGrid;
class TGridTrackbarDropDown;
class TGridMemoDropDown;
class TGridCalculatorDropDown;
class TGridTimepickerDropDown;
class TGridDetailPickerDropDown;
class TGridGridDropDown;
class TGridColorDropDown;
class TGridImageDropDown;
class TGridExtGridDropDown;

void RegisterGridDropDownEditors();

TGridTrackbarDropDown* TrackbarDropDown(TExtStringGrid& Grid);
TGridMemoDropDown* MemoDropDown(TExtStringGrid& Grid);
TGridCalculatorDropDown* CalculatorDropDown(TExtStringGrid& Grid);
TGridTimepickerDropDown* TimePickerDropDown(TExtStringGrid& Grid);
TGridDetailPickerDropDown* DetailPickerDropDown(TExtStringGrid& Grid);
TGridGridDropDown* GridDropDown(TExtStringGrid& Grid);
TGridColorDropDown* ColorPickerDropDown(TExtStringGrid& Grid);
TGridImageDropDown* ImagePickerDropDown(TExtStringGrid& Grid);
TGridExtGridDropDown* ExtGridDropDown(TExtStringGrid& Grid);

}  // namespace grid
