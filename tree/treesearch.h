#pragma once
// Incremental search: typing the start of a node's text finds the node. The search owns its settings, the text
// typed so far and the node it found last, and sees the window through TTreeSearchHost; each keystroke
// restarts the host's search timer, and when it expires (or the tree loses the focus) the typed text goes.

#include <QString>

#include <cstdint>

#include "tree/lazytree.h"

namespace lazytree {

enum TLTIncrementalSearch : uint8_t { isAll, isNone, isInitializedOnly, isVisibleOnly };
enum TLTSearchDirection : uint8_t { sdForward, sdBackward };
enum TLTSearchStart : uint8_t { ssAlwaysStartOver, ssLastHit, ssFocusedNode };

// What the search needs of the window it searches.
class TTreeSearchHost {
 public:
  virtual TBaseLazyTree& Store() = 0;
  virtual PLazyNode FocusedNode() const = 0;
  // 0 when Node matches Text.
  virtual int Compare(PLazyNode Node, const QString& Text) = 0;
  // A match: it becomes the selected, focused node.
  virtual void Found(PLazyNode Node) = 0;
  // Nothing matches what was typed.
  virtual void Miss() = 0;
  virtual void StartSearchTimer(uint32_t Milliseconds) = 0;
  virtual void StopSearchTimer() = 0;

 protected:
  ~TTreeSearchHost() = default;
};

class TTreeSearch {
 public:
  explicit TTreeSearch(TTreeSearchHost& Host) : FHost(Host) {}
  TTreeSearch(const TTreeSearch&) = delete;
  TTreeSearch& operator=(const TTreeSearch&) = delete;

  TLTIncrementalSearch Mode() const { return FMode; }
  void SetMode(TLTIncrementalSearch Value) { FMode = Value; }
  TLTSearchDirection Direction() const { return FDirection; }
  void SetDirection(TLTSearchDirection Value) { FDirection = Value; }
  TLTSearchStart Start() const { return FStart; }
  void SetStart(TLTSearchStart Value) { FStart = Value; }
  uint32_t Timeout() const { return FTimeout; }
  void SetTimeout(uint32_t Value) { FTimeout = Value; }

  const QString& Buffer() const { return FBuffer; }
  PLazyNode LastHit() const { return FLastHit; }
  // One keystroke (the character of the key; 8 = backspace, 0 = restart the time-out).
  void Key(char16_t C);
  // The typed text and the last hit are forgotten.
  void End();
  // A node is freed: the search no longer starts from it.
  void Forget(PLazyNode Node) {
    if (Node == FLastHit) FLastHit = nullptr;
  }

 private:
  PLazyNode StartNode();

  TTreeSearchHost& FHost;
  TLTIncrementalSearch FMode = isNone;
  TLTSearchDirection FDirection = sdForward;
  TLTSearchStart FStart = ssFocusedNode;
  uint32_t FTimeout = 1000;
  QString FBuffer;
  PLazyNode FLastHit = nullptr;
};

}  // namespace lazytree
