#pragma once
// The drag image and the drag state of a tree.
//
// TLTDragImage owns the translucent picture of what is dragged. With a drag object the platform's drag shows
// it (the picture goes to the drag as its pixmap); without one (a header column drag) the object shows the
// picture itself in a small translucent window that follows DragTo. Either way the picture is the one
// PrepareDrag composes: the colour key made transparent, the fade towards the edges and the constant
// transparency applied per pixel.

#include <QImage>
#include <QMimeData>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/graphics/graphic.h"
#include "tree/lazytypes.h"

namespace lazytree {

class TBaseLazyTreeControl;
class TLTDataObject;

using TLTTransparency = uint8_t;
using TLTBias = int8_t;
enum TLTDragMoveRestriction : uint8_t { dmrNone, dmrHorizontalOnly, dmrVerticalOnly };
enum TLTDragImageState : uint8_t { disHidden, disInDrag, disPrepared, disSystemSupport };
using TLTDragImageStates = TEnumSet<TLTDragImageState, uint8_t>;

class TLTDragImage {
 public:
  explicit TLTDragImage(TBaseLazyTreeControl* AOwner);
  ~TLTDragImage();
  TLTDragImage(const TLTDragImage&) = delete;
  TLTDragImage& operator=(const TLTDragImage&) = delete;

  plat::TColor ColorKey() const { return FColorKey; }
  void SetColorKey(plat::TColor Value) { FColorKey = Value; }
  bool Fade() const { return FFade; }
  void SetFade(bool Value) { FFade = Value; }
  TLTDragMoveRestriction MoveRestriction() const { return FRestriction; }
  void SetMoveRestriction(TLTDragMoveRestriction Value) { FRestriction = Value; }
  TLTBias PostBlendBias() const { return FPostBlendBias; }
  void SetPostBlendBias(TLTBias Value) { FPostBlendBias = Value; }
  TLTBias PreBlendBias() const { return FPreBlendBias; }
  void SetPreBlendBias(TLTBias Value) { FPreBlendBias = Value; }
  TLTTransparency Transparency() const { return FTransparency; }
  void SetTransparency(TLTTransparency Value) { FTransparency = Value; }
  // Shown by the object itself right now.
  bool Visible() const;
  TLTDragImageStates States() const { return FStates; }

  // Takes the picture for a new drag (ImagePosition and HotSpot on the screen). With a data object the drag
  // shows the picture (disSystemSupport); without one the object shows it once ShowDragImage is called.
  void PrepareDrag(const QImage& DragImage, QPoint ImagePosition, QPoint HotSpot, const QMimeData* DataObject);
  bool DragTo(QPoint P, bool ForceRepaint);
  void ShowDragImage();
  void HideDragImage();
  void EndDrag();
  // The area under the picture changed: shown again with the new state of what lies below.
  void RecaptureBackground(bool ReshowDragImage);
  QRect GetDragImageRect() const;
  bool WillMove(QPoint P) const;

  // The composed picture: colour key and fade in its alpha channel, the constant transparency and the biases
  // applied (premultiplied ARGB). Null before PrepareDrag.
  const QImage& Picture() const { return FAlphaImage; }
  // Where the hot spot lies inside the picture.
  QPoint HotSpotOffset() const { return FLastPosition - FImagePosition; }
  QPoint ImagePosition() const { return FImagePosition; }
  // The alpha of the fade for pixel (X, Y) of a W x H picture: 255 e^(-8 r), r the distance from the centre in
  // units of the larger side, rounded half to even.
  static uint8_t FadeAlpha(int X, int Y, int W, int H);

 private:
  void Compose();
  void ShowWindow();

  TBaseLazyTreeControl* FOwner;
  QImage FDragImage;   // the picture with its alpha channel computed
  QImage FAlphaImage;  // the picture as shown
  QPoint FImagePosition;
  QPoint FLastPosition;
  TLTTransparency FTransparency = 128;
  TLTBias FPreBlendBias = 0;
  TLTBias FPostBlendBias = 0;
  bool FFade = false;
  TLTDragMoveRestriction FRestriction = dmrNone;
  plat::TColor FColorKey = plat::clNone;
  TLTDragImageStates FStates;
  std::unique_ptr<QWidget> FWindow;
};

// Effects of a drag or drop: copy 1, move 2, link 4; the scroll flag tells that the view scrolled.
enum : uint32_t { DROPEFFECT_NONE = 0, DROPEFFECT_COPY = 1, DROPEFFECT_MOVE = 2, DROPEFFECT_LINK = 4,
                  DROPEFFECT_SCROLL = 0x80000000u };
enum TDragState : uint8_t { dsDragEnter, dsDragLeave, dsDragMove };

class TClipboardFormats;

// What a tree keeps for the clipboard and for drag and drop, made on first use.
struct TTreeTransferState {
  explicit TTreeTransferState(TBaseLazyTreeControl* Tree);
  ~TTreeTransferState();

  TBaseLazyTreeControl* FTree;
  std::unique_ptr<TClipboardFormats> ClipboardFormats;
  QPointer<TLTDataObject> ClipboardObject;  // the tree's object while the clipboard may hold it
  TLTDragImage DragImage;
  std::vector<PLazyNode> DragSelection;     // while this tree is the drag source
  // Drop target side.
  bool IsDropTarget = false;
  const QMimeData* DataObject = nullptr;
  TBaseLazyTreeControl* DragSource = nullptr;
  uint32_t LastDragEffect = 0;
  uint32_t DragScrollStart = 0;             // when auto-scrolling over this drop target became possible
  int DragThreshold = 0;
  std::unique_ptr<QObject> DropFilter;      // takes the window's drag events
};

}  // namespace lazytree
