#pragma once
// TExtTrackBarDropDown: an integer edit with a track bar that drops down under it. The edit is a display by
// default (the editor disabled): Up and Down step the value by Frequency within Min..Max, and dragging the mouse
// across the edit moves it by one step per PageSize pixels. Closing the popup by clicking elsewhere keeps the
// value.

#include "dropdown/ext_dropdown.h"

namespace plat {
class TTrackBar;
}

namespace dropdown {

class TExtTrackBarDropDown : public TExtCustomDropDown {
 public:
  explicit TExtTrackBarDropDown(plat::TComponent* AOwner);
  ~TExtTrackBarDropDown() override;

  int Min() const { return FMin; }
  void SetMin(int Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  int Position() const { return FPosition; }
  void SetPosition(int Value);
  // Tick spacing and arrow-key step.
  int Frequency() const { return FFrequency; }
  void SetFrequency(int Value);
  // Pixels of mouse travel over the edit per step; below 1 counts as 1.
  int PageSize() const { return FPageSize; }
  void SetPageSize(int Value);
  plat::TTrackBar* TrackBar() const { return FTrackBar; }

  // The track bar moved.
  plat::TNotifyEvent OnTrackChange;

  void Dispatch(plat::TMessage& Message) override;

 protected:
  void CreateDropDownForm() override;
  void BeforeDropDown() override;
  void HandleChange() override;

 private:
  void TrackBarChange();
  void StepKey(std::uint16_t Key);

  plat::TTrackBar* FTrackBar = nullptr;
  int FMin = 0;
  int FFrequency = 1;
  int FPageSize = 2;
  int FMax = 10;
  int FPosition = 0;
  bool FMouseDraging = false;
  int FMouseX = 0;
};

}  // namespace dropdown
