#pragma once
// TExtPageControl: a page control whose tab band and page frame it paints itself (gradient and hover colours,
// images, close buttons, text turned for tabs on the left and right, bitmap backgrounds, two tab styles), with
// pages (TExtTabSheet) of which one is shown. Pages closed with their button go to a list from which they can
// be opened again by name. Controls and forms can be docked into it by code, each on a page of its own.
//
// The strip holds an item only for a page whose tab shows (attached and TabVisible): a page index counts all
// pages, a tab index only those with a showing tab.

#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "controls/draw_utils.h"
#include "controls/tab_strip.h"
#include "platform/graphics/color.h"
#include "platform/graphics/gdiobjects.h"
#include "platform/graphics/graphic.h"
#include "platform/graphics/imagelist.h"
#include "platform/rtl/strings.h"

namespace controls {

class TExtPageControl;

// The page control's gradient: Count bands (0 counts as 1) from From to To along the direction, each band a
// rectangle in its colour from round(n * d) to that + round(d) + 1, d = extent / Count.
void FillTabGradient(plat::TCanvas& Canvas, plat::TColor From, plat::TColor To, int Count, const plat::TRect& Rect,
                     TGradientDirection Direction);
// Draws Picture over Length pixels (along x, or along y when Vertical) from (X, Y): its first half, its two
// middle columns (rows) stretched over what remains, its second half. The bottom-left pixel's colour is
// transparent.
void DrawThreeSlices(plat::TCanvas& Canvas, const plat::TBitmap& Picture, int X, int Y, int Length, bool Vertical);

enum TTabStyle { tsClassic, tsDotNet };

using TMarginSize = int;
using TMarginChangeEvent = std::function<void(int NewValue, int OldValue, int Index)>;
using TCanCloseEvent = std::function<void(plat::TObject* Sender, bool& CanClose)>;
using TCanChangeEvent = std::function<void(plat::TObject* Sender, int FromPage, int ToPage, bool& AllowChange)>;

// Space around image and text of every tab. Index of the change event: 0 left, 1 top, 2 right.
class TTabMargin : public plat::TPersistent {
 public:
  TMarginSize LeftMargin() const { return FLeftMargin; }
  void SetLeftMargin(TMarginSize v) { SetMargin(FLeftMargin, v, 0); }
  TMarginSize TopMargin() const { return FTopMargin; }
  void SetTopMargin(TMarginSize v) { SetMargin(FTopMargin, v, 1); }
  TMarginSize RightMargin() const { return FRightMargin; }
  void SetRightMargin(TMarginSize v) { SetMargin(FRightMargin, v, 2); }
  // Another TTabMargin: copies the three values without change events; anything else changes nothing.
  void Assign(plat::TPersistent* Source) override;
  // Raised before a margin changes.
  TMarginChangeEvent FOnMarginChange;

 private:
  void SetMargin(TMarginSize& Field, TMarginSize Value, int Index);
  TMarginSize FLeftMargin = 0;
  TMarginSize FTopMargin = 0;
  TMarginSize FRightMargin = 0;
};

class TExtTabSheet : public plat::TCustomControl {
 public:
  explicit TExtTabSheet(plat::TComponent* AOwner);
  ~TExtTabSheet() override;

  TExtPageControl* ExtPageControl() const { return FPageControl; }
  // Attaches the sheet as the last page of the control (nullptr detaches it).
  void SetExtPageControl(TExtPageControl* Value);
  int PageIndex() const;
  void SetPageIndex(int Value);
  int TabIndex() const;
  // The item text the strip sizes the tab from.
  QString TabCaption() const { return FTabCaption; }
  bool TabShowing() const { return FTabShowing; }

  plat::TColor TextColor() const { return FTextColor; }
  void SetTextColor(plat::TColor v);
  plat::TColor TabColor() const { return FTabColor; }
  void SetTabColor(plat::TColor v);
  plat::TColor TabColorTo() const { return FTabColorTo; }
  void SetTabColorTo(plat::TColor v);
  TGradientDirection TabGradientDirection() const { return FTabGradientDirection; }
  void SetTabGradientDirection(TGradientDirection v);
  TGradientDirection HoverGradientDirection() const { return FHoverGradientDirection; }
  void SetHoverGradientDirection(TGradientDirection v) { FHoverGradientDirection = v; }
  plat::TColor ColorTo() const { return FColorTo; }
  void SetColorTo(plat::TColor v);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  // ImageIndex when it is 0 or more, else 0: what the strip is told.
  int ImageIndexDummy() const { return FImageIndexDummy; }
  bool ShowClose() const { return FShowClose; }
  void SetShowClose(bool v);
  bool TabEnable() const { return FTabEnable; }
  // False on the active page raises "Can not disable active tab.".
  void SetTabEnable(bool v);
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool v);
  bool Highlighted() const { return FHighlighted; }
  void SetHighlighted(bool v);

  plat::TNotifyEvent OnShow;
  plat::TNotifyEvent OnHide;
  plat::TNotifyEvent OnClose;
  TCanCloseEvent OnCanClose;


 protected:
  void Paint() override;
  void TextChanged() override;
  void VisibleChanged() override;
  void ColorChanged() override;

 private:
  friend class TExtPageControl;
  void UpdateTabCaption();
  void SetTabShowing(bool v);
  void UpdateTabShowing();
  void ControlChanged();  // repaints the page control

  TExtPageControl* FPageControl = nullptr;
  QString FTabCaption;
  plat::TColor FTextColor = 0;
  plat::TColor FTabColor = plat::clNone;
  plat::TColor FTabColorTo = plat::clNone;
  TGradientDirection FTabGradientDirection = gdVertical;
  TGradientDirection FHoverGradientDirection = gdVertical;
  plat::TColor FColorTo = plat::clNone;
  int FImageIndex = -1;
  int FImageIndexDummy = 0;
  bool FShowClose = false;
  bool FTabEnable = true;
  bool FTabVisible = true;
  bool FTabShowing = false;
  bool FHighlighted = false;
};

enum TCloseButtonState { cbsNormal, cbsHot, cbsPressed };

class TExtPageControl : public TCustomTabControl {
 public:
  explicit TExtPageControl(plat::TComponent* AOwner);
  ~TExtPageControl() override;

  static constexpr unsigned VersionNr = 0x01040000;
  QString Version() const;
  void SetVersion(const QString&) {}

  // ---- pages
  int PageCount() const { return static_cast<int>(FPages.size()); }
  TExtTabSheet* GetPage(int Index) const;
  TExtTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TExtTabSheet* Page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int Value);
  TExtTabSheet* FindNextPage(TExtTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;
  void SelectNextPage(bool GoForward);
  // Re-attaches every sheet / the sheet of that name from the closed list (they stay in the list).
  void OpenAllClosedTabs();
  bool OpenClosedTab(const QString& TabName);
  const plat::TStringList& ClosedTabList() const { return FClosedTabList; }
  // The page index of the tab at a point, -1 when none.
  int PageIndexAt(int X, int Y) const;

  // ---- docking by code (controls are docked and undocked by the program, not dragged)
  // Puts the control on a new sheet that fills with it; a form's text becomes the caption. Refused (nullptr)
  // when the control already sits on one of the sheets.
  TExtTabSheet* DockClient(plat::TControl* Client);
  // Takes the control off its sheet onto NewParent (nullptr: a form floats on its own) and frees the sheet.
  void UndockClient(plat::TControl* Client, plat::TWinControl* NewParent);
  // A docked control's text or visibility changed: the sheet follows.
  void DockClientChanged(plat::TControl* Client);
  plat::TControl* DockedControl(const TExtTabSheet* Sheet) const;

  // ---- appearance
  plat::TCustomImageList* Images() const { return FImages; }
  void SetImages(plat::TCustomImageList* Value);
  plat::TCustomImageList* DummyImages() const { return FDummyImages.get(); }
  TTabMargin* TabMargin() const { return FTabMargin.get(); }
  plat::TColor DefaultTextColor() const { return FDefaultTextColor; }
  void SetDefaultTextColor(plat::TColor v);
  plat::TColor DefaultTabColor() const { return FDefaultTabColor; }
  void SetDefaultTabColor(plat::TColor v);
  plat::TColor DefaultTabColorTo() const { return FDefaultTabColorTo; }
  void SetDefaultTabColorTo(plat::TColor v);
  plat::TColor ActiveColor() const { return FActiveColor; }
  void SetActiveColor(plat::TColor v) { Store(FActiveColor, v); }
  plat::TColor ActiveColorTo() const { return FActiveColorTo; }
  void SetActiveColorTo(plat::TColor v) { Store(FActiveColorTo, v); }
  bool TabBorder3D() const { return FTabBorder3D; }
  void SetTabBorder3D(bool v);
  plat::TColor TabBorderColor() const { return FTabBorderColor; }
  void SetTabBorderColor(plat::TColor v) { Store(FTabBorderColor, v); }
  plat::TColor TabHoverColor() const { return FTabHoverColor; }
  void SetTabHoverColor(plat::TColor v) { Store(FTabHoverColor, v); }
  plat::TColor TabHoverColorTo() const { return FTabHoverColorTo; }
  void SetTabHoverColorTo(plat::TColor v) { Store(FTabHoverColorTo, v); }
  plat::TColor TabHoverBorder() const { return FTabHoverBorder; }
  void SetTabHoverBorder(plat::TColor v) { Store(FTabHoverBorder, v); }
  bool ShowFocus() const { return FShowFocus; }
  void SetShowFocus(bool v) { Store(FShowFocus, v); }
  int TabOverlap() const { return FTabOverlap; }
  void SetTabOverlap(int v);
  bool TabSheet3D() const { return FTabSheet3D; }
  void SetTabSheet3D(bool v) { Store(FTabSheet3D, v); }
  plat::TColor TabSheetBorderColor() const { return FTabSheetBorderColor; }
  void SetTabSheetBorderColor(plat::TColor v) { Store(FTabSheetBorderColor, v); }
  plat::TColor TabBackGroundColor() const { return FTabBackGroundColor; }
  void SetTabBackGroundColor(plat::TColor v) { Store(FTabBackGroundColor, v); }
  bool TabSplitLine() const { return FTabSplitLine; }
  // True while TabStyle is tsDotNet raises "TabSplitLine must be false when TabStyle is tsDotNet".
  void SetTabSplitLine(bool v);
  bool RoundEdges() const { return FRoundEdges; }
  void SetRoundEdges(bool v) { Store(FRoundEdges, v); }
  plat::TBitmap* TabBackGround() const { return FTabBackGround.get(); }
  void SetTabBackGround(const plat::TBitmap* v);
  plat::TBitmap* TabBackGroundActive() const { return FTabBackGroundActive.get(); }
  void SetTabBackGroundActive(const plat::TBitmap* v);
  TTabStyle TabStyle() const { return FTabStyle; }
  void SetTabStyle(TTabStyle v) { Store(FTabStyle, v); }
  int LowerActive() const { return FLowerActive; }
  void SetLowerActive(int v) { Store(FLowerActive, v); }
  bool FreeOnClose() const { return FFreeOnClose; }
  void SetFreeOnClose(bool v) { FFreeOnClose = v; }
  plat::TFont* ActiveFont() const { return FActiveFont.get(); }
  void SetActiveFont(const plat::TFont& v) { FActiveFont->Assign(v); }
  plat::TBitmap* CloseGlyph() const { return FCloseGlyph.get(); }
  void SetCloseGlyph(const plat::TBitmap* v);
  void SetTabPosition(TTabPosition Value) override;

  // ---- state (for painting and tests)
  int HoverTab() const { return FHoverTab; }
  bool HoverClosedButton() const { return FHoverClosedButton; }
  TCloseButtonState CloseButtonState() const { return FCloseState; }
  bool PropertiesLoaded() const { return FPropertiesLoaded; }
  // The close button's hit box on the sheet's tab (empty without ShowClose or a showing tab).
  plat::TRect CloseButtonHitRect(const TExtTabSheet* Sheet) const;
  // Where the close button of the sheet is drawn in a state: its origin (x, y) as the painter uses it.
  plat::TPoint CloseButtonOrigin(const TExtTabSheet* Sheet, TCloseButtonState State) const;

  TCanChangeEvent OnCanChange;

  void DblClick() override;
  void Dispatch(plat::TMessage& Message) override;
  void AlignControls(plat::TControl* AControl, plat::TRect& Rect) override;

 protected:
  void Loaded() override;
  void Paint() override;
  bool CanChange() override;
  void Change() override;
  int GetImageIndex(int TabIndex) override;
  virtual bool CanShowTab(int TabIndex) const;
  virtual void ShowControl(plat::TControl* AControl);
  virtual void SyncActivePageWithTab();
  void MouseDown(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void MouseMove(plat::TShiftState Shift, int X, int Y) override;
  void MouseUp(plat::TMouseButton Button, plat::TShiftState Shift, int X, int Y) override;
  void FontChanged() override;
  void Notification(plat::TComponent* AComponent, plat::TOperation Operation) override;

 private:
  friend class TExtTabSheet;
  friend class TExtPagePainter;

  // Sheets.
  void InsertPage(TExtTabSheet* Page);
  void RemovePage(TExtTabSheet* Page);
  void MovePage(TExtTabSheet* Page, int NewIndex);
  void ShowTab(TExtTabSheet* Page);
  void HideTab(TExtTabSheet* Page);
  int TabIndexOfPage(const TExtTabSheet* Page) const;
  int PageIndexOfTab(int TabIndex) const;
  void ChangeActivePage(TExtTabSheet* Page);
  void UpdateActivePadding();
  QString PaddedCaption(const TExtTabSheet* Page) const;
  void AdoptDefaults(TExtTabSheet* Page);
  void CloseActivePage();
  void MarginChanging(int NewValue, int OldValue, int Index);
  void ResetDummyImages();
  void CheckHover(int X, int Y);
  void MouseLeft();
  bool Designing() const;
  // Painting (the band, the page frame, the tabs, the close button).
  void DrawCloseButton(plat::TCanvas* C, const TExtTabSheet* Sheet, TCloseButtonState State);
  plat::TPoint FLastMouse;

  template <class T>
  void Store(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Invalidate();
  }

  std::vector<TExtTabSheet*> FPages;
  TExtTabSheet* FActivePage = nullptr;
  TExtTabSheet* FUndockingPage = nullptr;
  TExtTabSheet* FNewDockSheet = nullptr;
  std::unique_ptr<TTabMargin> FTabMargin;
  plat::TStringList FClosedTabList;
  plat::TCustomImageList* FImages = nullptr;
  std::unique_ptr<plat::TCustomImageList> FDummyImages;
  plat::TColor FDefaultTextColor = 0;
  plat::TColor FDefaultTabColor = plat::clBtnFace;
  plat::TColor FDefaultTabColorTo = plat::clNone;
  plat::TColor FActiveColor = plat::clBtnFace;
  plat::TColor FActiveColorTo = plat::clNone;
  bool FTabBorder3D = false;
  plat::TColor FTabBorderColor = plat::clGray;
  plat::TColor FTabHoverColor = plat::clNone;
  plat::TColor FTabHoverColorTo = plat::clNone;
  plat::TColor FTabHoverBorder = plat::clNone;
  bool FShowFocus = false;
  bool FHoverClosedButton = false;
  TCloseButtonState FCloseState = cbsNormal;
  int FTabOverlap = 0;
  bool FTabSheet3D = false;
  plat::TColor FTabSheetBorderColor = plat::clGray;
  plat::TColor FTabBackGroundColor = plat::clBtnFace;
  bool FTabSplitLine = false;
  bool FRoundEdges = false;
  int FHoverTab = -1;
  std::unique_ptr<plat::TBitmap> FTabBackGround;
  std::unique_ptr<plat::TBitmap> FTabBackGroundActive;
  TTabStyle FTabStyle = tsClassic;
  int FLowerActive = 2;
  bool FPropertiesLoaded = false;
  bool FFreeOnClose = false;
  std::unique_ptr<plat::TFont> FActiveFont;
  std::unique_ptr<plat::TBitmap> FCloseGlyph;
  int FImageLink = 0;
  bool FDestroying = false;
  // Docked controls and their sheets.
  std::vector<std::pair<plat::TControl*, TExtTabSheet*>> FDocked;
};

}  // namespace controls
