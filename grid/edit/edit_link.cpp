#include "grid/edit/edit_link.h"

#include "grid/edit/edit_setup.h"
#include "grid/extgrid.h"
#include "platform/forms/msgqueue.h"

namespace grid {

using plat::TShiftState;

TEditLink::TEditLink(plat::TComponent* AOwner) : plat::TComponent(AOwner) {}

TEditLink::~TEditLink() {
  if (FPopupForm) FPopupForm->RemoveFreeNotification(this);
}

void TEditLink::SetPopupForm(plat::TForm* Value) {
  if (FPopupForm == Value) return;
  if (FPopupForm) FPopupForm->RemoveFreeNotification(this);
  FPopupForm = Value;
  if (FPopupForm) FPopupForm->FreeNotification(this);
}

// A popup form freed by someone else (another link re-creating "gridform") is forgotten, not used.
void TEditLink::Notification(plat::TComponent* AComponent, plat::TOperation Operation) {
  plat::TComponent::Notification(AComponent, Operation);
  if (Operation == plat::TOperation::opRemove && AComponent == FPopupForm) FPopupForm = nullptr;
}

plat::TWinControl* TEditLink::GetParent() const {
  if (EditStyle == esPopup) return FPopupForm;
  return FOwner;
}

QString TEditLink::GetCellValue() const { return FOwner ? FOwner->Cells(FOwner->RealCol(), FOwner->Row()) : QString(); }

void TEditLink::SetCellValue(const QString& s) {
  if (FOwner) FOwner->WriteEditorText(FOwner->RealCol(), FOwner->Row(), s);
}

void TEditLink::SetRect(const plat::TRect& r) {
  plat::TWinControl* c = GetEditControl();
  if (!c) return;
  const int lw = FOwner ? FOwner->GridLineWidth() : 0;
  c->SetBounds(r.Left, r.Top, r.Width() - lw, r.Height() - lw);
}

void TEditLink::SetVisible(bool Value) {
  if (plat::TWinControl* c = GetEditControl()) c->SetVisible(Value);
}

void TEditLink::SetFocus(bool Value) {
  plat::TWinControl* c = GetEditControl();
  if (Value && c) {
    c->SetVisible(true);
    c->SetEnabled(true);
    if (EditStyle == esInplace && !FSubClassed && FOwner) {
      // With tabbing between cells the control keeps arrows, Tab and characters for itself; every other
      // message reaches its own procedure.
      FSavedProc = c->WindowProc;
      FSubClassedCtrl = c;
      TExtStringGrid* g = FOwner;
      auto saved = FSavedProc;
      c->WindowProc = [g, saved](plat::TMessage& M) {
        if (M.Msg == plat::WM_GETDLGCODE && g->Options().Contains(plat::goTabs)) {
          M.Result = plat::DLGC_WANTARROWS | plat::DLGC_WANTTAB | plat::DLGC_WANTCHARS;
          return;
        }
        saved(M);
      };
      FSubClassed = true;
    }
    if (c->CanFocus()) c->SetFocus();
  } else if (FOwner && FOwner->CanFocus()) {
    FOwner->SetFocus();
  }
}

void TEditLink::RestoreWinProc() {
  if (EditStyle != esInplace) return;
  if (FSubClassed && FSubClassedCtrl && FSubClassedCtrl == GetEditControl()) FSubClassedCtrl->WindowProc = FSavedProc;
  FSubClassed = false;
  FSubClassedCtrl = nullptr;
  if (plat::TWinControl* c = GetEditControl()) c->SetVisible(false);
}

void TEditLink::HideEditor() {
  SetCellValue(GetEditorValue());
  if (FOwner) FOwner->HideInplaceEdit();
  RestoreWinProc();
}

void TEditLink::EditExit(plat::TObject* Sender) {
  (void)Sender;
  HideEditor();
  if (EditStyle == esPopup && FPopupForm) {
    DestroyEditor();
    FPopupForm->Hide();
  }
}

void TEditLink::FormExit(plat::TObject* Sender) {
  if (!FOwner) return;
  if (FOwner->InplaceEditor()) FOwner->InplaceEditor()->SetText(GetEditorValue());
  if (FForcedExit)
    SetCellValue(GetEditorValue());
  else
    EditExit(Sender);
}

void TEditLink::FocusGrid() {
  FForcedExit = true;
  if (FOwner && FOwner->CanFocus()) FOwner->SetFocus();
  FForcedExit = false;
}

void TEditLink::EditKeyDown(plat::TObject* Sender, std::uint16_t& Key, TShiftState Shift) {
  (void)Sender;
  if (!FOwner) return;
  TExtStringGrid& g = *FOwner;
  bool closing = Shift.Contains(plat::ssAlt);
  switch (Key) {
    case plat::VK_UP: case plat::VK_DOWN: closing = closing || !WantKeyUpDown; break;
    case plat::VK_LEFT: case plat::VK_RIGHT: closing = closing || !WantKeyLeftRight; break;
    case plat::VK_END: closing = closing || !WantKeyHomeEnd; break;
    case plat::VK_PRIOR: case plat::VK_NEXT: closing = closing || !WantKeyPriorNext; break;
    case plat::VK_RETURN: closing = closing || !WantKeyReturn; break;
    case plat::VK_ESCAPE: closing = closing || !WantKeyEscape; break;
    case plat::VK_TAB: closing = closing || !WantTabs; break;
    default: break;
  }
  if (!closing) return;
  const bool backwards = Shift.Contains(plat::ssShift);
  if (Key == plat::VK_TAB) {
    if (g.Navigation()->TabToNextAtEnd) {
      FocusGrid();
      g.EditorToCell(g.Col(), g.Row());
      const int c = g.Col(), r = g.Row();
      g.EditorTabToNextCell(backwards);
      if ((c != g.Col() || r != g.Row()) && !g.IsControlCell(g.RealCol(), g.Row())) {
        plat::PostMessage(g.Handle(), plat::WM_KEYDOWN, plat::VK_F2, 0);
        Key = 0;
        return;
      }
    }
    Key = 0;
  }
  if (Key == plat::VK_ESCAPE) SetEditorValue(g.CellCacheText());
  FocusGrid();
  g.EditorToCell(g.Col(), g.Row());
  if (EditStyle == esPopup) EditExit(this);
  g.EditState().EditMode = false;
  if (g.EditState().Editing) g.ValidateCell(g.Cells(g.RealCol(), g.Row()));
  g.Select();
  TEditState& st = g.EditState();
  if (Key == plat::VK_RETURN && st.LastValidation) {
    g.EditorAdvance(backwards);
    Key = 0;
    return;
  }
  if (!st.LastValidation) {
    st.LastValidation = true;
    g.SetupCellEditor(g.Col(), g.Row());
    return;
  }
  if (Key == plat::VK_ESCAPE) {
    Key = 0;
  } else if (Key != 0) {
    std::uint16_t k = Key;
    g.PassKeyToGrid(k, Shift);
  }
  if (plat::TWinControl* c = GetEditControl()) c->SetEnabled(false);
  FocusGrid();
}

// ---------------------------------------------------------------- the grid's side of edCustom

namespace {

class TCustomEditorKind : public TCellEditorKind {
 public:
  using TCellEditorKind::TCellEditorKind;

  plat::TWinControl* Setup(const TEditorCell& Cell) override {
    TEditLink* link = FGrid.EditLink();
    if (!link) return nullptr;
    TEditState& st = FGrid.EditState();
    st.EditMode = true;
    link->SetGrid(&FGrid);
    link->SetEditCell(plat::TPoint(Cell.RCol, Cell.Row));
    if (link->EditStyle == esPopup) {
      OpenPopup(*link, Cell);
      link->CreateEditor(link->PopupForm());
      link->SetRect(plat::TRect(0, 0, link->PopupWidth, link->PopupHeight));
    } else {
      link->CreateEditor(&FGrid);
      link->SetRect(Cell.CellRect);
    }
    link->SetVisible(true);
    link->SetCellProps(Cell.Color, Cell.Font);
    link->SetProperties();
    FGrid.DoGetEditorProp(Cell.RCol, Cell.Row, link);
    link->SetEditorValue(Cell.EditText);
    const char16_t start = st.StartEditChar;
    link->SetFocus(true);
    st.StartEditChar = start;
    st.EditActive = true;
    return link->GetEditControl();
  }

  void WriteBack(const TEditorCell& Cell) override {
    if (FGrid.ControlLook()->DropDownAlwaysVisible()) {
      TEditorType e = FGrid.DefaultEditor;
      FGrid.GetCellEditorType(Cell.RCol, Cell.Row, e);
    }
    TEditLink* link = FGrid.EditLink();
    if (!link) return;
    FGrid.WriteEditorText(Cell.RCol, Cell.Row, link->GetEditorValue());
    if (link->EditStyle != esPopup) link->SetVisible(false);
    link->RestoreWinProc();
    FGrid.EditState().EditMode = false;
  }

  bool OwnsControl() const override { return false; }
  plat::TWinControl* Control() const override {
    TEditLink* link = FGrid.EditLink();
    return link ? link->GetEditControl() : nullptr;
  }

 private:
  void OpenPopup(TEditLink& Link, const TEditorCell& Cell) {
    if (Link.AutoPopupWidth) Link.PopupWidth = Cell.CellRect.Width();
    if (!Link.PopupForm()) {
      plat::TComponent* app = plat::Application;
      if (plat::TComponent* old = app ? app->FindComponent(QStringLiteral("gridform")) : nullptr) delete old;
      auto* form = new plat::TForm(app);
      form->SetName(QStringLiteral("gridform"));
      Link.SetPopupForm(form);
    }
    plat::TForm* form = Link.PopupForm();
    plat::TPoint pos(Link.PopupLeft, Link.PopupTop);
    if (Link.PopupLeft == -1 || Link.PopupTop == -1) pos = FGrid.ClientToScreen(Cell.CellRect.TopLeft());
    form->SetBounds(pos.X, pos.Y, 0, 0);
    TEditLink* link = &Link;
    form->OnDeactivate = [link](plat::TObject* S) { link->FormExit(S); };
    form->SetFormStyle(plat::fsStayOnTop);
    form->SetBorderStyle(plat::bsNone);
    form->Show();
    form->SetBounds(pos.X, pos.Y, Link.PopupWidth, Link.PopupHeight);
  }
};

}  // namespace

void RegisterCustomEditor() {
  TEditorRegistry::Register({edCustom}, [](TExtStringGrid& g) { return std::make_unique<TCustomEditorKind>(g); });
}

}  // namespace grid
