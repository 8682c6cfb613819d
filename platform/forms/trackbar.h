// The framework's track bar (TTrackBar) over Qt's slider: an integer Position between Min and Max, with tick
// marks every Frequency steps, the arrow keys stepping by Frequency and Page Up/Down by PageSize. OnChange
// fires whenever the position changes, by the user or by SetPosition.
#pragma once

#include "platform/forms/controls.h"

class QSlider;

namespace plat {

enum TTrackBarOrientation { trHorizontal, trVertical };

class TTrackBar : public TWinControl {
 public:
  explicit TTrackBar(TComponent* AOwner);
  ~TTrackBar() override;
  QSlider* Slider() const;

  int Min() const { return FMin; }
  void SetMin(int v);
  int Max() const { return FMax; }
  void SetMax(int v);
  // Kept inside Min..Max.
  int Position() const;
  void SetPosition(int v);
  int PageSize() const { return FPageSize; }
  void SetPageSize(int v);
  int Frequency() const { return FFrequency; }
  void SetFrequency(int v);
  TTrackBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TTrackBarOrientation v);

  TNotifyEvent OnChange;

 protected:
  virtual void Changed();

 private:
  void ApplyRange();
  int FMin = 0, FMax = 10, FPageSize = 2, FFrequency = 1;
  TTrackBarOrientation FOrientation = trHorizontal;
  bool FSetting = false;
};

}  // namespace plat
