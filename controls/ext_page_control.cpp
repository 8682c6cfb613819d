#include "controls/ext_page_control.h"

#include <QRegularExpression>

#include <algorithm>

#include "platform/forms/forms.h"
#include "platform/graphics/canvas.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"

namespace controls {

using namespace plat;

namespace {

// Runs a sheet's OnShow / OnHide; what the handler raises goes to the application's error box and does not
// stop the page switch.
void RaiseGuarded(const TNotifyEvent& Event, TObject* Sender) {
  if (!Event) return;
  try {
    Event(Sender);
  } catch (...) {
    if (Application) Application->HandleException(Sender);
  }
}

}  // namespace

// ---- TTabMargin -----------------------------------------------------------------------------------------------

void TTabMargin::SetMargin(TMarginSize& Field, TMarginSize Value, int Index) {
  if (Field == Value) return;
  if (FOnMarginChange) FOnMarginChange(Value, Field, Index);
  Field = Value;
}

void TTabMargin::Assign(TPersistent* Source) {
  auto* m = dynamic_cast<TTabMargin*>(Source);
  if (!m) return;
  FLeftMargin = m->FLeftMargin;
  FTopMargin = m->FTopMargin;
  FRightMargin = m->FRightMargin;
}

// ---- TExtTabSheet ---------------------------------------------------------------------------------------------

TExtTabSheet::TExtTabSheet(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle.Include(csAcceptsControls);
  SetVisible(false);
  SetAlign(alClient);
}

TExtTabSheet::~TExtTabSheet() {
  if (FPageControl) {
    if (FPageControl->FUndockingPage == this) FPageControl->FUndockingPage = nullptr;
    FPageControl->RemovePage(this);
  }
}

void TExtTabSheet::SetExtPageControl(TExtPageControl* Value) {
  if (Value == FPageControl) return;
  if (FPageControl) FPageControl->RemovePage(this);
  if (Value) {
    SetParent(Value);
    Value->InsertPage(this);
  }
}

int TExtTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  const auto& pages = FPageControl->FPages;
  return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TExtTabSheet::SetPageIndex(int Value) {
  if (!FPageControl) return;
  const int last = FPageControl->PageCount() - 1;
  if (Value > last || Value < 0)
    throw EListError(Format("%d is an invalid PageIndex value.  PageIndex must be between 0 and %d", {Value, last}));
  FPageControl->MovePage(this, Value);
}

int TExtTabSheet::TabIndex() const { return FPageControl ? FPageControl->TabIndexOfPage(this) : -1; }

void TExtTabSheet::ControlChanged() {
  if (FPageControl) FPageControl->Invalidate();
}

void TExtTabSheet::SetTextColor(TColor v) {
  if (v == FTextColor) return;
  FTextColor = v;
  ControlChanged();
}

void TExtTabSheet::SetTabColor(TColor v) {
  if (v == FTabColor) return;
  FTabColor = v;
  Invalidate();
  ControlChanged();  // the tab lies on the control
}

void TExtTabSheet::SetTabColorTo(TColor v) {
  if (v == FTabColorTo) return;
  FTabColorTo = v;
  Invalidate();
  ControlChanged();
}

void TExtTabSheet::SetTabGradientDirection(TGradientDirection v) {
  if (v == FTabGradientDirection) return;
  FTabGradientDirection = v;
  ControlChanged();
}

void TExtTabSheet::SetColorTo(TColor v) {
  if (v == FColorTo) return;
  FColorTo = v;
  Invalidate();
  ControlChanged();
}

void TExtTabSheet::ColorChanged() {
  TCustomControl::ColorChanged();
  ControlChanged();
}

void TExtTabSheet::SetImageIndex(int v) {
  if (v < 0) v = -1;
  if (v == FImageIndex) return;
  FImageIndex = v;
  FImageIndexDummy = std::max(0, v);
  UpdateTabCaption();
  ControlChanged();
}

void TExtTabSheet::SetShowClose(bool v) {
  if (v == FShowClose) return;
  FShowClose = v;
  UpdateTabCaption();
  ControlChanged();
}

void TExtTabSheet::SetTabEnable(bool v) {
  if (v == FTabEnable) return;
  if (!v && FPageControl && FPageControl->ActivePage() == this)
    throw Exception(QStringLiteral("Can not disable active tab."));
  FTabEnable = v;
  ControlChanged();
}

void TExtTabSheet::SetTabVisible(bool v) {
  if (v == FTabVisible) return;
  FTabVisible = v;
  UpdateTabShowing();
}

void TExtTabSheet::SetHighlighted(bool v) {
  FHighlighted = v;
  if (FPageControl && FTabShowing && !ComponentState().Contains(csReading))
    FPageControl->SetHighlighted(TabIndex(), v);
}

void TExtTabSheet::UpdateTabShowing() { SetTabShowing(FPageControl != nullptr && FTabVisible); }

void TExtTabSheet::SetTabShowing(bool v) {
  if (v == FTabShowing) return;
  if (v)
    FPageControl->ShowTab(this);
  else
    FPageControl->HideTab(this);
}

void TExtTabSheet::UpdateTabCaption() {
  const QString cap = Caption();
  if (FPageControl && FPageControl->TabBorder3D())
    FTabCaption = cap;
  else if (FShowClose)
    FTabCaption = cap + QLatin1Char(' ');
  else
    FTabCaption = cap.size() <= 2 ? QString() : cap.left(cap.size() - 2);
  if (FPageControl && FTabShowing)
    FPageControl->SetTabText(TabIndex(), FPageControl->ActivePage() == this ? FPageControl->PaddedCaption(this)
                                                                             : FTabCaption);
}

void TExtTabSheet::TextChanged() {
  TCustomControl::TextChanged();
  UpdateTabCaption();
  ControlChanged();
}

void TExtTabSheet::VisibleChanged() {
  TCustomControl::VisibleChanged();
  RaiseGuarded(Visible() ? OnShow : OnHide, this);
}

void TExtTabSheet::Paint() {
  TCustomControl::Paint();
  if (FColorTo != clNone) FillTabGradient(*Canvas(), Color(), FColorTo, 64, ClientRect(), gdVertical);
}

// ---- TExtPageControl: life -------------------------------------------------------------------------------------

TExtPageControl::TExtPageControl(TComponent* AOwner)
    : TCustomTabControl(AOwner),
      FTabMargin(std::make_unique<TTabMargin>()),
      FDummyImages(std::make_unique<TCustomImageList>(nullptr, 0, 0)),
      FTabBackGround(std::make_unique<TBitmap>()),
      FTabBackGroundActive(std::make_unique<TBitmap>()),
      FActiveFont(std::make_unique<TFont>()),
      FCloseGlyph(std::make_unique<TBitmap>()) {
  FTabBackGround->SetSize(0, 0);
  FTabBackGroundActive->SetSize(0, 0);
  FCloseGlyph->SetSize(0, 0);
  FTabMargin->FOnMarginChange = [this](int NewValue, int OldValue, int Index) {
    MarginChanging(NewValue, OldValue, Index);
  };
  Font()->SetName(QStringLiteral("Tahoma"));
  FActiveFont->SetName(QStringLiteral("Tahoma"));
  FActiveFont->OnChange = [this](TObject*) {
    UpdateActivePadding();
    Invalidate();
  };
  FControlStyle.Exclude(csAcceptsControls);
  SetTabImages(FDummyImages.get());
  SetOwnerDraw(true);
}

TExtPageControl::~TExtPageControl() {
  FDestroying = true;
  for (TExtTabSheet* p : FPages) p->FPageControl = nullptr;
  FPages.clear();
  FActivePage = nullptr;
  if (FImages) FImages->UnRegisterChanges(FImageLink);
  SetTabImages(nullptr);
}

QString TExtPageControl::Version() const {
  return QStringLiteral("%1.%2.%3.%4")
      .arg(VersionNr >> 24)
      .arg((VersionNr >> 16) & 0xFF)
      .arg((VersionNr >> 8) & 0xFF)
      .arg(VersionNr & 0xFF);
}

bool TExtPageControl::Designing() const { return ComponentState().Contains(csDesigning); }

void TExtPageControl::Loaded() {
  TCustomTabControl::Loaded();
  for (TExtTabSheet* p : FPages)
    if (p->FTabShowing) SetHighlighted(p->TabIndex(), p->FHighlighted);
  ResetDummyImages();
  FPropertiesLoaded = true;
}

// ---- pages ----------------------------------------------------------------------------------------------------

TExtTabSheet* TExtPageControl::GetPage(int Index) const {
  return Index >= 0 && Index < PageCount() ? FPages[std::size_t(Index)] : nullptr;
}

int TExtPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TExtPageControl::SetActivePageIndex(int Value) { SetActivePage(GetPage(Value)); }

int TExtPageControl::TabIndexOfPage(const TExtTabSheet* Page) const {
  int tab = 0;
  for (TExtTabSheet* p : FPages) {
    if (p == Page) return p->FTabShowing ? tab : -1;
    if (p->FTabShowing) ++tab;
  }
  return -1;
}

int TExtPageControl::PageIndexOfTab(int TabIndex) const {
  if (TabIndex < 0) return -1;
  for (int i = 0; i < PageCount(); ++i)
    if (FPages[std::size_t(i)]->FTabShowing && TabIndex-- == 0) return i;
  return -1;
}

int TExtPageControl::PageIndexAt(int X, int Y) const { return PageIndexOfTab(IndexOfTabAt(X, Y)); }

void TExtPageControl::InsertPage(TExtTabSheet* Page) {
  FPages.push_back(Page);
  Page->FPageControl = this;
  Page->UpdateTabShowing();
  AdoptDefaults(Page);
}

void TExtPageControl::AdoptDefaults(TExtTabSheet* Page) {
  if (Page->FTextColor == 0) Page->FTextColor = FDefaultTextColor;
  if (Page->FTabColor == clNone) Page->FTabColor = FDefaultTabColor;
  if (Page->FTabColorTo == clNone) Page->FTabColorTo = FDefaultTabColorTo;
}

void TExtPageControl::RemovePage(TExtTabSheet* Page) {
  TExtTabSheet* next = FindNextPage(Page, true, !Designing());
  if (next == Page) next = nullptr;
  Page->SetTabShowing(false);
  Page->FPageControl = nullptr;
  FPages.erase(std::remove(FPages.begin(), FPages.end(), Page), FPages.end());
  if (FActivePage == Page) {
    FActivePage = nullptr;
    Page->SetVisible(false);
  }
  if (!FDestroying) {
    FDocked.erase(std::remove_if(FDocked.begin(), FDocked.end(), [Page](const auto& d) { return d.second == Page; }),
                  FDocked.end());
    SetActivePage(next);
  }
  if (!Page->ComponentState().Contains(csDestroying)) Page->SetParent(nullptr);
}

void TExtPageControl::MovePage(TExtTabSheet* Page, int NewIndex) {
  const int oldTab = TabIndexOfPage(Page);
  FPages.erase(std::remove(FPages.begin(), FPages.end(), Page), FPages.end());
  FPages.insert(FPages.begin() + NewIndex, Page);
  if (oldTab >= 0) MoveTab(oldTab, TabIndexOfPage(Page));
  Invalidate();
}

void TExtPageControl::ShowTab(TExtTabSheet* Page) {
  Page->FTabShowing = true;
  Page->UpdateTabCaption();
  const int tab = TabIndexOfPage(Page);
  InsertTab(tab, Page->FTabCaption, Page);
  if (Page->FHighlighted) SetHighlighted(tab, true);
  SyncActivePageWithTab();
}

void TExtPageControl::HideTab(TExtTabSheet* Page) {
  const int tab = TabIndexOfPage(Page);
  const bool selected = tab == TabIndex();
  Page->FTabShowing = false;
  DeleteTab(tab);
  if (Page == FActivePage || selected) {
    SetTabIndex(tab < TabCount() ? tab : TabCount() - 1);
    SyncActivePageWithTab();
  }
}

void TExtPageControl::SyncActivePageWithTab() {
  const int tab = TabIndex();
  ChangeActivePage(tab >= 0 ? dynamic_cast<TExtTabSheet*>(TabObject(tab)) : nullptr);
}

void TExtPageControl::SetActivePage(TExtTabSheet* Page) {
  if (Page && Page->FPageControl != this) return;
  ChangeActivePage(Page);
  if (!Page)
    SetTabIndex(-1);
  else if (Page == FActivePage)
    SetTabIndex(TabIndexOfPage(Page));
}

void TExtPageControl::ChangeActivePage(TExtTabSheet* Page) {
  if (Page == FActivePage) return;
  if (Page && !Designing() && !Page->FTabEnable) return;
  TExtTabSheet* old = FActivePage;
  TCustomForm* form = GetParentForm(this);
  if (form && old && form->ActiveControl() && form->ActiveControl() != old &&
      old->ContainsControl(form->ActiveControl())) {
    form->SetActiveControl(old);
    if (form->ActiveControl() != old) {  // the form kept the focus where it was
      SetTabIndex(TabIndexOfPage(old));
      return;
    }
  }
  if (Page) {
    Page->BringToFront();
    Page->SetVisible(true);
    if (form && old && form->ActiveControl() == old) {
      if (Page->CanFocus())
        form->SetActiveControl(Page);
      else if (CanFocus())
        form->SetActiveControl(this);
    }
  }
  FActivePage = Page;
  if (old) old->SetVisible(false);
  if (old && old->FTabShowing) SetTabText(old->TabIndex(), old->FTabCaption);
  UpdateActivePadding();
  if (form && Page && form->ActiveControl() == Page) Page->SelectNext(nullptr, true, true);
  Invalidate();
}

QString TExtPageControl::PaddedCaption(const TExtTabSheet* Page) const {
  QString text = Page->FTabCaption;
  const TFontStyles st = FActiveFont->Style();
  if (FTabBorder3D || !(st.Contains(fsBold) || st.Contains(fsItalic))) return text;
  TBitmap probe(1, 1);
  TCanvas* c = probe.Canvas();
  c->Font()->Assign(*FActiveFont);
  const int active = c->TextWidth(text);
  c->Font()->Assign(*Font());
  const int diff = active - c->TextWidth(text);
  QString blanks;
  while (c->TextWidth(blanks) < diff) blanks += QLatin1Char(' ');
  return text + blanks;
}

void TExtPageControl::UpdateActivePadding() {
  if (FActivePage && FActivePage->FTabShowing) SetTabText(FActivePage->TabIndex(), PaddedCaption(FActivePage));
}

TExtTabSheet* TExtPageControl::FindNextPage(TExtTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const {
  const int n = PageCount();
  if (n == 0) return nullptr;
  int start = static_cast<int>(std::find(FPages.begin(), FPages.end(), CurPage) - FPages.begin());
  if (start == n) start = GoForward ? n - 1 : 0;
  int i = start;
  do {
    i = GoForward ? (i + 1) % n : (i + n - 1) % n;
    TExtTabSheet* p = FPages[std::size_t(i)];
    if (!CheckTabVisible || p->FTabVisible) return p;
  } while (i != start);
  return nullptr;
}

void TExtPageControl::SelectNextPage(bool GoForward) {
  TExtTabSheet* page = FindNextPage(FActivePage, GoForward, true);
  if (!page || page == FActivePage) return;
  FChangingTo = TabIndexOfPage(page);
  const bool allowed = CanChange();
  FChangingTo = -1;
  if (!allowed) return;
  SetTabIndex(TabIndexOfPage(page));
  Change();
}

bool TExtPageControl::CanChange() {
  const int to = PageIndexOfTab(FChangingTo);
  bool allow = true;
  // A disabled tab is never chosen at run time (the selection would leave the shown page behind).
  if (TExtTabSheet* target = GetPage(to); target && !target->FTabEnable && !Designing()) allow = false;
  if (allow && OnCanChange) OnCanChange(this, ActivePageIndex(), to, allow);
  if (allow) allow = TCustomTabControl::CanChange();
  return allow;
}

void TExtPageControl::Change() {
  SyncActivePageWithTab();
  TCustomTabControl::Change();
  Invalidate();
}

bool TExtPageControl::CanShowTab(int TabIndex) const {
  TExtTabSheet* p = GetPage(PageIndexOfTab(TabIndex));
  return p && p->Enabled();
}

void TExtPageControl::ShowControl(TControl* AControl) {
  if (auto* p = dynamic_cast<TExtTabSheet*>(AControl); p && p->FPageControl == this) SetActivePage(p);
}

int TExtPageControl::GetImageIndex(int TabIndex) {
  if (OnGetImageIndex) return TCustomTabControl::GetImageIndex(TabIndex);
  TExtTabSheet* p = GetPage(PageIndexOfTab(TabIndex));
  return p ? p->FImageIndexDummy : -1;
}

void TExtPageControl::OpenAllClosedTabs() {
  for (int i = 0; i < FClosedTabList.Count(); ++i)
    if (auto* p = dynamic_cast<TExtTabSheet*>(FClosedTabList.Objects(i))) p->SetExtPageControl(this);
}

bool TExtPageControl::OpenClosedTab(const QString& TabName) {
  const int i = FClosedTabList.IndexOf(TabName);
  if (i < 0) return false;
  auto* p = dynamic_cast<TExtTabSheet*>(FClosedTabList.Objects(i));
  if (!p) return false;
  p->SetExtPageControl(this);
  return true;
}

void TExtPageControl::AlignControls(TControl* AControl, TRect& Rect) {
  Rect = DisplayRect();
  TCustomTabControl::AlignControls(AControl, Rect);
}

// ---- settings -------------------------------------------------------------------------------------------------

void TExtPageControl::SetImages(TCustomImageList* Value) {
  if (Value == FImages) return;
  if (FImages) {
    FImages->UnRegisterChanges(FImageLink);
    FImages->RemoveFreeNotification(this);
  }
  FImages = Value;
  if (FImages) {
    FImageLink = FImages->RegisterChanges([this] { Invalidate(); });
    FImages->FreeNotification(this);
  }
  if (FTabBorder3D) SetTabImages(FImages);
  ResetDummyImages();
  Invalidate();
}

void TExtPageControl::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomTabControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    if (FTabBorder3D) SetTabImages(nullptr);
    ResetDummyImages();
  }
}

void TExtPageControl::ResetDummyImages() {
  const TTabMargin& m = *FTabMargin;
  if (TabPosition() == tpTop || TabPosition() == tpBottom)
    FDummyImages->SetSize((FImages ? FImages->Width() : 0) + m.LeftMargin() + m.RightMargin(), 0);
  else
    FDummyImages->SetSize(0, (FImages ? FImages->Height() : 0) + m.TopMargin() + m.RightMargin());
  LayoutChanged();
}

void TExtPageControl::MarginChanging(int NewValue, int OldValue, int Index) {
  (void)OldValue;
  if (!ComponentState().Contains(csLoading) || Designing()) {
    // The margin changes after this call: the room is worked out with the new value in its place.
    TTabMargin next;
    next.Assign(FTabMargin.get());
    if (Index == 0) next.SetLeftMargin(NewValue);
    if (Index == 1) next.SetTopMargin(NewValue);
    if (Index == 2) next.SetRightMargin(NewValue);
    const bool horizontal = TabPosition() == tpTop || TabPosition() == tpBottom;
    if (horizontal && Index != 1)
      FDummyImages->SetSize((FImages ? FImages->Width() : 0) + next.LeftMargin() + next.RightMargin(), 0);
    if (!horizontal && Index != 0)
      FDummyImages->SetSize(0, (FImages ? FImages->Height() : 0) + next.TopMargin() + next.RightMargin());
    LayoutChanged();
  }
  Invalidate();
}

void TExtPageControl::SetTabPosition(TTabPosition Value) {
  if (Value == TabPosition()) return;
  TCustomTabControl::SetTabPosition(Value);
  ResetDummyImages();
}

void TExtPageControl::SetDefaultTextColor(TColor v) {
  for (TExtTabSheet* p : FPages)
    if (p->FTextColor == FDefaultTextColor) p->FTextColor = v;
  FDefaultTextColor = v;
  Invalidate();
}

void TExtPageControl::SetDefaultTabColor(TColor v) {
  for (TExtTabSheet* p : FPages)
    if (p->FTabColor == FDefaultTabColor) p->FTabColor = v;
  FDefaultTabColor = v;
  Invalidate();
}

void TExtPageControl::SetDefaultTabColorTo(TColor v) {
  for (TExtTabSheet* p : FPages)
    if (p->FTabColorTo == FDefaultTabColorTo) p->FTabColorTo = v;
  FDefaultTabColorTo = v;
  Invalidate();
}

void TExtPageControl::SetTabBorder3D(bool v) {
  if (v == FTabBorder3D) return;
  FTabBorder3D = v;
  SetTabImages(v ? FImages : FDummyImages.get());
  SetOwnerDraw(!v);
  for (TExtTabSheet* p : FPages) p->UpdateTabCaption();
  Invalidate();
}

void TExtPageControl::SetTabOverlap(int v) { Store(FTabOverlap, std::clamp(v, 0, 15)); }

void TExtPageControl::SetTabSplitLine(bool v) {
  if (v == FTabSplitLine) return;
  if (v && FTabStyle == tsDotNet)
    throw Exception(QStringLiteral("TabSplitLine must be false when TabStyle is tsDotNet"));
  FTabSplitLine = v;
  Invalidate();
}

void TExtPageControl::SetTabBackGround(const TBitmap* v) {
  if (v)
    FTabBackGround->Assign(*v);
  else
    FTabBackGround->SetSize(0, 0);
  if (Designing() && !FTabBackGround->Empty()) {
    const bool horizontal = TabPosition() == tpTop || TabPosition() == tpBottom;
    SetTabHeight((horizontal ? FTabBackGround->Height() : FTabBackGround->Width()) - 3);
  }
  Invalidate();
}

void TExtPageControl::SetTabBackGroundActive(const TBitmap* v) {
  if (v)
    FTabBackGroundActive->Assign(*v);
  else
    FTabBackGroundActive->SetSize(0, 0);
  Invalidate();
}

void TExtPageControl::SetCloseGlyph(const TBitmap* v) {
  if (v)
    FCloseGlyph->Assign(*v);
  else
    FCloseGlyph->SetSize(0, 0);
  Invalidate();
}

void TExtPageControl::FontChanged() {
  TCustomTabControl::FontChanged();
  UpdateActivePadding();
}

// ---- mouse and keys -------------------------------------------------------------------------------------------

void TExtPageControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FLastMouse = TPoint(X, Y);
  if (!Designing() && !FTabBorder3D && FActivePage && FActivePage->FShowClose &&
      CloseButtonHitRect(FActivePage).Contains(TPoint(X, Y))) {
    FCloseState = cbsPressed;
    Invalidate();
  }
  TCustomTabControl::MouseDown(Button, Shift, X, Y);
}

void TExtPageControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomTabControl::MouseUp(Button, Shift, X, Y);
  const bool wasPressed = FCloseState == cbsPressed;
  if (wasPressed) {
    FCloseState = FHoverClosedButton ? cbsHot : cbsNormal;
    Invalidate();
  }
  if (Button != mbLeft || Designing() || FTabBorder3D || !FActivePage || !FActivePage->FShowClose) return;
  if (CloseButtonHitRect(FActivePage).Contains(TPoint(X, Y))) CloseActivePage();
}

void TExtPageControl::CloseActivePage() {
  TExtTabSheet* page = FActivePage;
  TExtTabSheet* next = FindNextPage(page, true, true);
  if (next == page) next = nullptr;
  bool canClose = true;
  if (page->OnCanClose) page->OnCanClose(page, canClose);
  if (!canClose) return;
  if (page->OnClose) page->OnClose(page);
  SetActivePage(next);
  FCloseState = cbsNormal;
  FHoverClosedButton = false;
  if (FFreeOnClose) {
    delete page;
  } else {
    if (FClosedTabList.IndexOfObject(page) < 0) FClosedTabList.AddObject(page->Name(), page);
    page->SetExtPageControl(nullptr);
  }
  Invalidate();
}

void TExtPageControl::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomTabControl::MouseMove(Shift, X, Y);
  if (Designing() || FTabBorder3D || FTabHoverColor == clNone) return;
  CheckHover(X, Y);
}

void TExtPageControl::CheckHover(int X, int Y) {
  const int page = PageIndexAt(X, Y);
  if (FTabBackGround->Empty() && page != FHoverTab) {
    FHoverTab = page;
    Invalidate();
  }
  if (!FActivePage || !FActivePage->FShowClose) return;
  const bool inside = CloseButtonHitRect(FActivePage).Contains(TPoint(X, Y));
  if (inside == FHoverClosedButton) return;
  FHoverClosedButton = inside;
  if (FCloseState != cbsPressed) FCloseState = inside ? cbsHot : cbsNormal;
  Invalidate();
}

void TExtPageControl::MouseLeft() {
  if (FTabBackGround->Empty() && FHoverTab >= 0) Invalidate();
  FHoverTab = -1;
  if (FHoverClosedButton) {
    FHoverClosedButton = false;
    if (FCloseState == cbsHot) FCloseState = cbsNormal;
    Invalidate();
  }
}

void TExtPageControl::DblClick() {
  TCustomTabControl::DblClick();
  TExtTabSheet* sheet = GetPage(PageIndexAt(FLastMouse.X, FLastMouse.Y));
  if (TControl* c = DockedControl(sheet)) UndockClient(c, nullptr);
}

void TExtPageControl::Dispatch(TMessage& M) {
  switch (M.Msg) {
    case CM_DIALOGKEY:
      if (M.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0) {
        TWinControl* focused = Screen ? Screen->ActiveControl() : nullptr;
        if (focused && ContainsControl(focused)) {
          SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
          M.Result = 1;
          return;
        }
      }
      break;
    case CM_MOUSELEAVE:
      MouseLeft();
      break;
    default: break;
  }
  TCustomTabControl::Dispatch(M);
}

// ---- docking by code ------------------------------------------------------------------------------------------

TControl* TExtPageControl::DockedControl(const TExtTabSheet* Sheet) const {
  for (const auto& [c, s] : FDocked)
    if (Sheet && s == Sheet) return c;
  return nullptr;
}

TExtTabSheet* TExtPageControl::DockClient(TControl* Client) {
  if (!Client) return nullptr;
  for (const auto& d : FDocked)
    if (d.first == Client) return nullptr;
  FNewDockSheet = new TExtTabSheet(this);
  try {
    FNewDockSheet->SetExtPageControl(this);
    if (auto* form = dynamic_cast<TCustomForm*>(Client)) FNewDockSheet->SetCaption(form->Caption());
    Client->SetParent(FNewDockSheet);
    Client->SetAlign(alClient);
    FDocked.emplace_back(Client, FNewDockSheet);
    FNewDockSheet->SetTabVisible(Client->Visible());
    if (Client->Visible()) SetActivePage(FNewDockSheet);
  } catch (...) {
    FDocked.erase(std::remove_if(FDocked.begin(), FDocked.end(),
                                 [this](const auto& d) { return d.second == FNewDockSheet; }),
                  FDocked.end());
    if (Client->Parent() == FNewDockSheet) Client->SetParent(nullptr);
    delete FNewDockSheet;
    FNewDockSheet = nullptr;
    throw;
  }
  TExtTabSheet* sheet = FNewDockSheet;
  FNewDockSheet = nullptr;
  return sheet;
}

void TExtPageControl::UndockClient(TControl* Client, TWinControl* NewParent) {
  auto it = std::find_if(FDocked.begin(), FDocked.end(), [Client](const auto& d) { return d.first == Client; });
  if (it == FDocked.end()) return;
  TExtTabSheet* sheet = it->second;
  FDocked.erase(it);
  FUndockingPage = sheet;
  Client->SetAlign(alNone);
  Client->SetParent(NewParent);
  if (FActivePage == sheet) SelectNextPage(true);
  if (FUndockingPage == sheet) {
    FUndockingPage = nullptr;
    delete sheet;
  }
}

void TExtPageControl::DockClientChanged(TControl* Client) {
  for (const auto& [c, s] : FDocked) {
    if (c != Client) continue;
    QString text = Client->Caption();
    const int br = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    s->SetCaption(br < 0 ? text : text.left(br));
    s->SetTabVisible(Client->Visible());
  }
}

}  // namespace controls
