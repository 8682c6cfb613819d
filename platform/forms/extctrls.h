// Panel, shape, image and timer.
#pragma once

#include <memory>

#include "platform/forms/controls.h"
#include "platform/forms/stdctrls.h"

class QTimer;

namespace plat {

class TPicture;

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TBorderStyle { bsNoBorder, bsSingleBorder };

// A container with a bevel and a centred caption ("&x" as a mnemonic), painted through its canvas.
class TPanel : public TCustomControl {
 public:
  explicit TPanel(TComponent* AOwner);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut v);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut v);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int v);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool v);

 protected:
  void Paint() override;
  void TextChanged() override { Invalidate(); }

 private:
  TBevelCut FBevelOuter = bvRaised;
  TBevelCut FBevelInner = bvNone;
  int FBevelWidth = 1;
  TAlignment FAlignment = taCenter;
  bool FShowCaption = true;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
 public:
  explicit TShape(TComponent* AOwner);
  ~TShape() override;
  TShapeType Shape() const { return FShape; }
  void SetShape(TShapeType v);
  TPen* Pen() const { return FPen.get(); }
  TBrush* Brush() const { return FBrush.get(); }

 protected:
  void Paint() override;

 private:
  TShapeType FShape = stRectangle;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
};

class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;
  TPicture* Picture() const { return FPicture.get(); }
  bool Stretch() const { return FStretch; }
  void SetStretch(bool v);
  bool Center() const { return FCenter; }
  void SetCenter(bool v);
  bool Proportional() const { return FProportional; }
  void SetProportional(bool v);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v);
  // Where the picture is drawn in the client area.
  TRect DestRect() const;

 protected:
  void Paint() override;

 private:
  void PictureChanged();
  std::unique_ptr<TPicture> FPicture;
  bool FStretch = false;
  bool FCenter = false;
  bool FProportional = false;
  bool FTransparent = false;
  bool FAutoSize = false;
};

// Runs OnTimer every Interval milliseconds while Enabled and Interval > 0.
class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned v);
  TNotifyEvent OnTimer;
  // True while the timer is counting.
  bool Running() const;

 protected:
  virtual void Timer();

 private:
  void UpdateTimer();
  std::unique_ptr<QTimer> FTimer;
  bool FEnabled = true;
  unsigned FInterval = 1000;
};

// A bar between two aligned controls: dragging it resizes the control it follows (the one aligned to the same
// side and touching it), keeping that control and the client-aligned control at least MinSize.
class TSplitter : public TGraphicControl {
 public:
  explicit TSplitter(TComponent* AOwner);
  int MinSize() const { return FMinSize; }
  void SetMinSize(int v) { FMinSize = v < 1 ? 1 : v; }
  // The control the splitter resizes (nullptr: none found).
  TControl* FindResizedControl() const;
  // Moves the splitter by Delta pixels (down or right positive), as a drag does.
  void MoveBy(int Delta);
  TNotifyEvent OnMoved;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  bool Horizontal() const { return Align() == alTop || Align() == alBottom; }
  int FMinSize = 30;
  bool FDragging = false;
  int FDownAt = 0;
};

}  // namespace plat
