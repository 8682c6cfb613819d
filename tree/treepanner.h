#pragma once
// Wheel panning: a middle-button press shows a small window at the click point and scrolls towards the pointer
// (the scroll timer, every 20 ms) while the button is held and dragged, or hands-free after an early release
// until the next click; the cursor shows the direction. The panner owns the window and the cursor it chose and
// sees the tree window through TTreePanHost.

#include <QString>

#include <cstdint>
#include <memory>

#include "platform/graphics/types.h"
#include "tree/lazytree.h"

class QWidget;

namespace lazytree {

// Where a wheel panning is. The tree states tsWheelPanning and tsWheelScrolling hold it (auto-scrolling, the
// buttons and the tree's users read them); these names say what each combination of them means.
enum class TPanState : uint8_t {
  Idle,       // no panning
  Pressed,    // the middle button went down and has not been dragged: its release goes on hands-free
  Dragging,   // dragged with the button held: the release ends the panning
  HandsFree,  // released before a drag: scrolling towards the pointer goes on until the next click
};

// What the panner needs of the tree window.
class TTreePanHost {
 public:
  virtual TBaseLazyTree& Store() = 0;
  // Whether the content is wider (higher) than the client area.
  virtual bool RoomX() const = 0;
  virtual bool RoomY() const = 0;
  virtual plat::TPoint ClientToScreen(plat::TPoint P) const = 0;
  // Where the panning began: the window's last click point, which the auto-scroll steps measure from.
  virtual plat::TPoint Origin() const = 0;
  virtual void SetOrigin(plat::TPoint P) = 0;
  // The window's cursor choice for the pointer at P (a window may put its own in front of the panner's).
  virtual void ChooseCursorAt(plat::TPoint P) = 0;
  virtual void ShowPanCursor(Qt::CursorShape Shape) = 0;
  // The window's own cursor again once panning ends.
  virtual void RestoreCursor() = 0;
  // Focus and mouse capture while panning.
  virtual void BeginCapture() = 0;
  virtual void EndCapture() = 0;
  virtual void StartScrollTimer(uint32_t Milliseconds) = 0;
  virtual void StopScrollTimer() = 0;

 protected:
  ~TTreePanHost() = default;
};

class TTreePanner {
 public:
  explicit TTreePanner(TTreePanHost& Host);
  ~TTreePanner();
  TTreePanner(const TTreePanner&) = delete;
  TTreePanner& operator=(const TTreePanner&) = delete;

  TPanState State() const;
  // Starts panning at a client point (a middle-button press).
  void Begin(plat::TPoint Position);
  // Ends panning, if it runs: timer, states, capture, window and cursor.
  void Stop();
  // The pointer moved Dx, Dy (absolute distances) from the origin; Threshold is the drag distance.
  void Moved(int Dx, int Dy, int Threshold);
  // The middle button came up; true when panning took the release.
  bool Released();
  // The direction cursor for the pointer at client (X, Y).
  void ChooseCursor(int X, int Y);
  const QString& CursorName() const { return FCursorName; }
  QWidget* Window() const { return FWindow.get(); }

 private:
  TTreePanHost& FHost;
  std::unique_ptr<QWidget> FWindow;
  QString FCursorName;
};

}  // namespace lazytree
