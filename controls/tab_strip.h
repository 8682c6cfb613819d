#pragma once
// TCustomTabControl: the tab strip that page controls build on. It keeps the tab items (text and an object),
// lays them out along one edge in one or several rows, hit-tests them, asks before the selection changes and
// reports the change afterwards. It paints a plain classic look unless OwnerDraw hands each tab to DrawTab.
//
// Layout rule (fixed, so that pixel tests hold on every machine): a tab is as long as its text in the
// control's font plus 2 x 6 pixels plus the image list's width (top and bottom) or height (left and right),
// or TabWidth when that is set; a row is as thick as the taller of text and image plus 2 x 3 pixels, or
// TabHeight when that is set. Tabs start 2 pixels from the control's edges. With MultiLine the tabs wrap into
// rows; the row holding the selected tab lies next to the page, and unless RaggedRight every row of a strip
// with several rows is stretched to the full length. A single line that does not fit scrolls: two arrow
// buttons (35 pixels in all) appear at the strip's far end.

#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "platform/forms/controls.h"
#include "platform/graphics/imagelist.h"
#include "platform/graphics/types.h"

namespace plat {
class TBitmap;
}

namespace controls {

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };

class TCustomTabControl;
using TTabChangingEvent = std::function<void(plat::TObject* Sender, bool& AllowChange)>;
using TDrawTabEvent =
    std::function<void(TCustomTabControl* Control, int TabIndex, const plat::TRect& Rect, bool Active)>;
using TTabGetImageEvent = std::function<void(plat::TObject* Sender, int TabIndex, int& ImageIndex)>;

class TCustomTabControl : public plat::TCustomControl {
 public:
  explicit TCustomTabControl(plat::TComponent* AOwner);
  ~TCustomTabControl() override;

  // ---- items
  int TabCount() const { return static_cast<int>(FTabs.size()); }
  QString TabText(int Index) const;
  void SetTabText(int Index, const QString& Text);
  plat::TObject* TabObject(int Index) const;
  // Index past the end appends.
  void InsertTab(int Index, const QString& Text, plat::TObject* Object);
  void DeleteTab(int Index);
  void MoveTab(int CurIndex, int NewIndex);
  bool Highlighted(int Index) const;
  void SetHighlighted(int Index, bool Value);

  // The selected tab (-1: none). Setting it runs no change events.
  int TabIndex() const { return FTabIndex; }
  void SetTabIndex(int Value);

  // ---- settings
  plat::TCustomImageList* TabImages() const { return FTabImages; }
  void SetTabImages(plat::TCustomImageList* Value);
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  TTabPosition TabPosition() const { return FTabPosition; }
  virtual void SetTabPosition(TTabPosition Value);
  int TabHeight() const { return FTabHeight; }
  void SetTabHeight(int Value);
  int TabWidth() const { return FTabWidth; }
  void SetTabWidth(int Value);
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool Value) { FHotTrack = Value; }
  bool RaggedRight() const { return FRaggedRight; }
  void SetRaggedRight(bool Value);
  bool ScrollOpposite() const { return FScrollOpposite; }
  void SetScrollOpposite(bool Value) { FScrollOpposite = Value; }
  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool Value);

  // ---- geometry
  // The tab's rectangle in client coordinates; empty for an index out of range. A tab scrolled out of a
  // single line lies outside the client area.
  plat::TRect TabRect(int Index) const;
  // The tab at the point, -1 when none (the scroll buttons cover the tabs beneath them).
  int IndexOfTabAt(int X, int Y) const;
  // Where the pages go: inside the page frame.
  plat::TRect DisplayRect() const;
  int RowCount() const;
  // Single line only: the first tab shown and whether the scroll buttons show.
  int FirstVisibleTab() const { return FFirstTab; }
  bool ScrollButtonsShown() const;
  plat::TRect ScrollButtonsRect() const;
  // Scrolls a single line by one tab (forward: towards the later tabs).
  void ScrollTabs(bool Forward);

  TTabChangingEvent OnChanging;
  plat::TNotifyEvent OnChange;
  TDrawTabEvent OnDrawTab;
  TTabGetImageEvent OnGetImageIndex;

  void Dispatch(plat::TMessage& Message) override;

 protected:
  // Asked before the user's choice moves the selection; OnChanging decides.
  virtual bool CanChange();
  // After the user's choice moved the selection: OnChange.
  virtual void Change();
  virtual int GetImageIndex(int TabIndex);
  virtual void DrawTab(int TabIndex, const plat::TRect& Rect, bool Active);
  // The user picked a tab (mouse or arrow keys): asks, selects, reports. False when refused or unchanged.
  bool SelectTabByUser(int Index);
  // The platform look of the strip and page frame (or the owner-drawn tabs).
  void Paint() override;
  void PaintScrollButtons(plat::TCanvas* C);
  void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void KeyDown(std::uint16_t& Key, plat::TShiftState Shift) override;
  plat::LRESULT DefaultDlgCode() const override { return plat::DLGC_WANTARROWS; }
  void Resize() override;
  void FontChanged() override;
  void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;
  // The layout changed: tabs are laid out again before the next geometry query, and the pages realigned.
  void LayoutChanged();
  virtual void TabsRearranged() {}
  // The tab the user's choice would select while CanChange is asked (-1 otherwise).
  int FChangingTo = -1;

 private:
  struct Item {
    QString Text;
    plat::TObject* Object = nullptr;
    bool Highlighted = false;
  };
  void EnsureLayout() const;
  int MeasureTab(int Index) const;
  int Thickness() const;
  int AvailableLength() const;
  void PlaceRows(const std::vector<std::vector<int>>& Rows, const std::vector<int>& Lengths) const;
  plat::TRect PlaceAcross(int Position, int RowsInAll, int Start, int Length) const;

  std::vector<Item> FTabs;
  int FTabIndex = -1;
  plat::TCustomImageList* FTabImages = nullptr;
  int FImageLink = 0;
  bool FMultiLine = false;
  TTabPosition FTabPosition = tpTop;
  int FTabHeight = 0;
  int FTabWidth = 0;
  bool FHotTrack = false;
  bool FRaggedRight = false;
  bool FScrollOpposite = false;
  bool FOwnerDraw = false;
  int FFirstTab = 0;
  std::unique_ptr<plat::TBitmap> FProbe;  // measures texts in the control's font
  mutable bool FLayoutValid = false;
  mutable std::vector<plat::TRect> FRects;
  mutable int FRowCount = 0;
  mutable bool FOverflow = false;
};

}  // namespace controls
