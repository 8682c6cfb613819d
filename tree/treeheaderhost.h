#pragma once
// What the header and its columns need of the tree window beyond the window's public members: whether it is
// loading, being destroyed or updating, the height of its rows, its timers, hint and mouse, the header's
// image list it keeps, and the focused column that the header's changes may move without asking.

#include <cstdint>

#include "platform/graphics/types.h"
#include "tree/lazytypes.h"

namespace plat {
class TCustomImageList;
}  // namespace plat

namespace lazytree {

class TTreeHeaderHost {
 public:
  virtual bool Loading() const = 0;
  virtual bool Destroying() const = 0;
  virtual bool Updating() const = 0;
  // The height of the rows' area below the header band.
  virtual int RowsHeight() const = 0;
  virtual void CancelHint() = 0;
  virtual void StartTimer(int TimerId, uint32_t Milliseconds) = 0;
  virtual void StopTimer(int TimerId) = 0;
  // Where the mouse is, in the rows' client coordinates.
  virtual plat::TPoint CursorClientPos() const = 0;
  // The header's images: the window follows the list's changes and forgets it when it is destroyed.
  virtual plat::TCustomImageList* HeaderImages() const = 0;
  virtual void SetHeaderImages(plat::TCustomImageList* Value) = 0;
  // The main column changed: an open edit ends unsaved.
  virtual void MainColumnChanged() = 0;
  // Moves the focused column without the focus-change handlers (a column went away, or followed the main one).
  virtual void SetFocusedColumnQuietly(TColumnIndex Column) = 0;

 protected:
  ~TTreeHeaderHost() = default;
};

}  // namespace lazytree
