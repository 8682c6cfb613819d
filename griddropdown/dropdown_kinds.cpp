// The editor families of the drop-down kinds: each creates its editor on first use (owned by the grid,
// hidden and disabled between edits), sets it up over a cell and writes its value back into the cell.
#include <QString>

#include <memory>
#include <mutex>

#include "grid/edit/edit_setup.h"
#include "grid/edit/picker_choice.h"
#include "griddropdown/dropdown_host.h"
#include "griddropdown/grid_dropdowns.h"
#include "griddropdown/griddropdown.h"

namespace grid {

void KeepFixedRowAlways(TExtStringGrid& Inner);

namespace {

template <class TWrapper>
class TDropDownKind : public TCellEditorKind {
 public:
  explicit TDropDownKind(TExtStringGrid& Grid) : TCellEditorKind(Grid), FHost(MakeDropDownHost(Grid)) {}
  plat::TWinControl* Control() const override { return FCtrl; }
  plat::TWinControl* EnsureControl() override { return Ensure(); }

  plat::TWinControl* Setup(const TEditorCell& c) override {
    FHost->SetEditMode(true);
    Ensure();
    FCtrl->EditCancelled = false;
    FCtrl->SetDropDownHeader(FHost->DropDownHeader());
    FCtrl->SetDropDownFooter(FHost->DropDownFooter());
    FCtrl->SetComponentStyle(FHost->ComponentStyle());
    BeforeProps(c);
    FHost->GetEditorProp(c.RCol, c.Row);
    FCtrl->SetBounds(c.Rect.Left, c.Rect.Top, 0, 0);
    FCtrl->SetEnabled(true);
    FCtrl->SetBounds(c.Rect.Left, c.Rect.Top, c.Rect.Width(), c.Rect.Height());
    Fill(c);
    FCtrl->SetColor(c.Color);
    if (c.Font) FCtrl->SetFont(*c.Font);
    FCtrl->SetVisible(true);
    FCtrl->BringToFront();
    if (FCtrl->CanFocus()) FCtrl->SetFocus();
    if (FHost->DirectComboDrop()) FCtrl->ShowDropDown();
    AfterDrop();
    return FCtrl;
  }

  // Only an open edit writes back, once.
  void WriteBack(const TEditorCell& c) override {
    if (!FHost->EditMode()) return;
    FHost->SetEditMode(false);
    if (FCtrl->DroppedDown()) FCtrl->HideDropDown(false);
    Store(c);
    const bool hadFocus = FCtrl->Focused();
    FCtrl->SetEnabled(false);
    FCtrl->SetVisible(false);
    if (hadFocus) FHost->FocusGrid();
  }

 protected:
  TWrapper* Ensure() {
    if (FCtrl) return FCtrl;
    plat::TWinControl* grid = FHost->GridControl();
    TDropDownEditHost* host = FHost.get();
    FCtrl = new TWrapper(grid, host);
    FCtrl->SetVisible(false);
    FCtrl->SetEnabled(false);
    FCtrl->SetParent(grid);
    FCtrl->SetComponentStyle(host->ComponentStyle());
    if (const controls::TColorTones* tones = host->ColorTones()) FCtrl->SetColorTones(*tones);
    FCtrl->OnDropDownHeaderButtonClick = [host](plat::TObject*, int i) { host->HeaderButtonClick(i); };
    FCtrl->OnDropDownFooterButtonClick = [host](plat::TObject*, int i) { host->FooterButtonClick(i); };
    Created();
    return FCtrl;
  }
  virtual void Created() {}
  virtual void BeforeProps(const TEditorCell& c) { (void)c; }
  virtual void Fill(const TEditorCell& c) { FCtrl->SetText(c.EditText); }
  virtual void AfterDrop() {}
  virtual void Store(const TEditorCell& c) { FHost->WriteEditorText(c.RCol, c.Row, FCtrl->EditorText()); }

  std::unique_ptr<TDropDownEditHost> FHost;
  TWrapper* FCtrl = nullptr;
};

class TTrackbarKind : public TDropDownKind<TGridTrackbarDropDown> {
 public:
  using TDropDownKind::TDropDownKind;

 protected:
  void Created() override { FCtrl->SetEditorEnabled(true); }
  void Fill(const TEditorCell& c) override { FCtrl->SetPosition(LeadingInt(c.EditText)); }
};

class TMemoKind : public TDropDownKind<TGridMemoDropDown> {
 public:
  using TDropDownKind::TDropDownKind;

 protected:
  void Created() override {
    TDropDownEditHost* host = FHost.get();
    TGridMemoDropDown* memo = FCtrl;
    // The cell follows the memo as it is typed in; filling the hidden editor is no typing.
    FCtrl->OnChange = [host, memo](plat::TObject* Sender) {
      if (memo->Visible()) host->MemoChange(Sender);
    };
  }
  void AfterDrop() override {
    FCtrl->SetSelStart(0);
    FCtrl->SetSelLength(0);
  }
};

class TCalculatorKind : public TDropDownKind<TGridCalculatorDropDown> {
 public:
  using TDropDownKind::TDropDownKind;

 protected:
  void Created() override { FCtrl->SetEditorEnabled(true); }
};

class TTimePickerKind : public TDropDownKind<TGridTimepickerDropDown> {
 public:
  using TDropDownKind::TDropDownKind;

 protected:
  void Fill(const TEditorCell& c) override {
    FCtrl->SetText(c.EditText);
    FCtrl->SetEditorEnabled(true);
  }
};

class TDetailKind : public TDropDownKind<TGridDetailPickerDropDown> {
 public:
  using TDropDownKind::TDropDownKind;

 protected:
  void Fill(const TEditorCell& c) override {
    FCtrl->SetText(c.EditText);
    FCtrl->SetEditorEnabled(true);
    const int i = FCtrl->Items()->IndexOf(FCtrl->Text());
    if (i >= 0) FCtrl->SetItemIndex(i);
  }
};

class TMultiColumnKind : public TDropDownKind<TGridGridDropDown> {
 public:
  using TDropDownKind::TDropDownKind;

 protected:
  void BeforeProps(const TEditorCell& c) override {
    FCtrl->SetColor(c.Color);
    FCtrl->SetEditorEnabled(true);
  }
  void Fill(const TEditorCell& c) override {
    FCtrl->BeginUpdate();
    FCtrl->EndUpdate();
    FCtrl->SetItemIndex(c.EditText.isEmpty() ? 0 : FCtrl->GetItemIndex(c.EditText));
    FCtrl->SetText(c.EditText);
  }
};

class TExtGridKind : public TDropDownKind<TGridExtGridDropDown> {
 public:
  using TDropDownKind::TDropDownKind;

 protected:
  void BeforeProps(const TEditorCell& c) override {
    FCtrl->SetColor(c.Color);
    FCtrl->SetEditorEnabled(true);
    if (TExtStringGrid* inner = FCtrl->Grid()) KeepFixedRowAlways(*inner);
  }
  void Fill(const TEditorCell& c) override {
    FCtrl->BeginUpdate();
    FCtrl->EndUpdate();
    if (FCtrl->UseItems()) {
      int row = 0;
      QString found;
      if (!c.EditText.isEmpty() && !FCtrl->LookupMatch(c.EditText, found, row)) row = -1;
      FCtrl->SetItemIndex(row);
    }
    FCtrl->SetText(c.EditText);
  }
};

class TColorKind : public TDropDownKind<TGridColorDropDown>, public TColorPickerChoice {
 public:
  using TDropDownKind::TDropDownKind;
  plat::TColor SelectedColor() const override { return FCtrl ? FCtrl->SelectedColor() : plat::clNone; }
  QString SelectedColorText() const override { return FCtrl ? FCtrl->SelectedColorText() : QString(); }

 protected:
  void Created() override {
    FCtrl->AddDefaultColors();
    TDropDownEditHost* host = FHost.get();
    FCtrl->OnSelect = [host](plat::TObject*) { host->ColorSelect(); };
  }
  void Fill(const TEditorCell& c) override {
    const bool shape = FHost->CellType(c.RCol, c.Row) == ctShape;
    FCtrl->SetSelectedColor(shape ? FHost->ShapeColor(c.RCol, c.Row) : FHost->CellColor(c.RCol, c.Row));
  }
  void Store(const TEditorCell& c) override {
    if (FCtrl->EditCancelled) return;
    plat::TColor color = FCtrl->SelectedColor();
    QString value = FCtrl->SelectedColorText();
    FHost->ColorSelected(c.RCol, c.Row, color, value);
    FHost->WriteEditorText(c.RCol, c.Row, value);
    if (FHost->CellType(c.RCol, c.Row) == ctShape)
      FHost->SetShapeColor(c.RCol, c.Row, color);
    else
      FHost->SetCellColor(c.RCol, c.Row, color);
  }
};

class TImageKind : public TDropDownKind<TGridImageDropDown>, public TImagePickerChoice {
 public:
  using TDropDownKind::TDropDownKind;
  int ItemIndex() const override { return FCtrl ? FCtrl->ItemIndex() : -1; }

 protected:
  void Created() override {
    TDropDownEditHost* host = FHost.get();
    FCtrl->OnSelect = [host](plat::TObject*) { host->ImageSelect(); };
  }
  static bool ImageCell(TCellType t) { return t == ctImageList || t == ctDataImage; }
  void Fill(const TEditorCell& c) override {
    if (!ImageCell(FHost->CellType(c.RCol, c.Row))) return;
    FCtrl->SetImages(FHost->GridImages());
    if (FCtrl->Items()->Count() == 0) FCtrl->AddImagesFromImageList();
    FCtrl->SetImageIndex(FHost->ImageIndex(c.RCol, c.Row));
    const int item = FCtrl->ItemIndex();
    const bool chosen = FCtrl->ImageIndex() != -1 && item >= 0 && item < FCtrl->Items()->Count();
    FCtrl->SetText(chosen ? FCtrl->Items()->GetItem(item)->Caption() : QString());
  }
  void Store(const TEditorCell& c) override {
    if (FCtrl->EditCancelled) return;
    int index = FCtrl->ImageIndex();
    FHost->ImageSelected(c.RCol, c.Row, index);
    const TCellType t = FHost->CellType(c.RCol, c.Row);
    if (t == ctImageList) FHost->SetImageIndex(c.RCol, c.Row, index);
    if (t == ctDataImage) FHost->WriteEditorText(c.RCol, c.Row, QString::number(index));
  }
};

template <class TKind>
TCellEditorFactory Make() {
  return [](TExtStringGrid& g) { return std::make_unique<TKind>(g); };
}

}  // namespace

void RegisterGridDropDownEditors() {
  static std::once_flag once;
  std::call_once(once, [] {
    TEditorRegistry::Register({edTrackbarDropDown}, Make<TTrackbarKind>());
    TEditorRegistry::Register({edMemoDropDown}, Make<TMemoKind>());
    TEditorRegistry::Register({edCalculatorDropDown}, Make<TCalculatorKind>());
    TEditorRegistry::Register({edTimePickerDropDown}, Make<TTimePickerKind>());
    TEditorRegistry::Register({edDetailDropDown}, Make<TDetailKind>());
    TEditorRegistry::Register({edGridDropDown}, Make<TMultiColumnKind>());
    TEditorRegistry::Register({edExtGridDropDown}, Make<TExtGridKind>());
    TEditorRegistry::Register({edColorPickerDropDown}, Make<TColorKind>());
    TEditorRegistry::Register({edImagePickerDropDown}, Make<TImageKind>());
  });
}

}  // namespace grid
