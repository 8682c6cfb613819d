// The grid's own editor families: how each special editor is created on first use, placed and filled from
// the cell, and how its value goes back into the cell.
#include <QString>

#include "grid/edit/edit_setup.h"
#include "grid/edit/rich_text.h"
#include "grid/edit/special_editors.h"
#include "grid/extgrid.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/formatsettings.h"

namespace grid {

namespace {

// The whole number a text starts with ("12ab" is 12, "" and "x" are 0).
int LeadingInt(const QString& Text) {
  const QString t = Text.trimmed();
  int i = t.startsWith(u'-') ? 1 : 0;
  long long v = 0;
  for (; i < t.size() && t[i].isDigit() && v < 1000000000LL; ++i) v = v * 10 + t[i].digitValue();
  return static_cast<int>(t.startsWith(u'-') ? -v : v);
}

template <class TCtrl>
class TControlKind : public TCellEditorKind {
 public:
  using TCellEditorKind::TCellEditorKind;
  plat::TWinControl* Control() const override { return FCtrl; }
  plat::TWinControl* EnsureControl() override { return Ensure(); }

 protected:
  TCtrl* Ensure() {
    if (!FCtrl) {
      FCtrl = new TCtrl(&FGrid);
      FCtrl->SetVisible(false);
      FCtrl->SetEnabled(false);
      FCtrl->SetParent(&FGrid);
    }
    return FCtrl;
  }
  void Place(const plat::TRect& r) { FCtrl->SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  void Looks(const TEditorCell& c) {
    FCtrl->SetColor(c.Color);
    if (c.Font) FCtrl->SetFont(*c.Font);
  }
  void ShowAndFocus() {
    FCtrl->SetEnabled(true);
    FCtrl->SetVisible(true);
    FCtrl->BringToFront();
    if (FCtrl->CanFocus()) FCtrl->SetFocus();
  }
  // A closed editor that had the focus gives it back to the grid.
  void HideCtrl() {
    const bool hadFocus = FCtrl->Focused();
    FCtrl->SetEnabled(false);
    FCtrl->SetVisible(false);
    if (hadFocus && FGrid.CanFocus()) FGrid.SetFocus();
  }
  // Kinds that open an edit write back only while the edit is open, and close it.
  bool TakeOpenEdit() {
    TEditState& st = FGrid.EditState();
    if (!st.EditMode) return false;
    st.EditMode = false;
    return true;
  }
  void EditorProps(const TEditorCell& c) { FGrid.DoGetEditorProp(c.RCol, c.Row, FGrid.EditLink()); }
  // Set-up starts: the edit is open and the control exists.
  TCtrl* Open() {
    FGrid.EditState().EditMode = true;
    return Ensure();
  }
  // Write-back ends: the value (when there is one) goes into the cell, the edit closes, the control goes.
  void Close(const TEditorCell& c, const QString* Value) {
    if (Value) FGrid.WriteEditorText(c.RCol, c.Row, *Value);
    FGrid.EditState().EditMode = false;
    HideCtrl();
  }
  TCtrl* FCtrl = nullptr;
};

class TSpinKind : public TControlKind<TGridSpin> {
 public:
  using TControlKind::TControlKind;
  plat::TWinControl* Setup(const TEditorCell& c) override {
    Open();
    Place(c.Rect);
    FCtrl->SetEnabled(true);
    FCtrl->SetVisible(true);
    Looks(c);
    FCtrl->ExcelStyleDecimalSeparator = FGrid.ExcelStyleDecimalSeparator;
    EditorProps(c);
    switch (c.Kind) {
      case edFloatSpinEdit: {
        FCtrl->SetSpinType(controls::sptFloat);
        QString t = c.EditText.trimmed();
        t.replace(plat::FormatSettings.DecimalSeparator, u'.');
        FCtrl->SetFloatValue(t.toDouble());
        break;
      }
      case edTimeSpinEdit:
        FCtrl->SetSpinType(controls::sptTime);
        FCtrl->SetText(c.EditText);
        break;
      case edDateSpinEdit: {
        FCtrl->SetSpinType(controls::sptDate);
        plat::TDateTime d = 0;
        FCtrl->SetDateValue(plat::TryStrToDate(c.EditText, d) ? d : plat::Now());
        break;
      }
      default:
        FCtrl->SetSpinType(controls::sptNormal);
        FCtrl->SetValue(LeadingInt(c.EditText));
        break;
    }
    ShowAndFocus();
    TEditState& st = FGrid.EditState();
    if (st.SpinUpClick) FCtrl->IncrementValue(false);
    if (st.SpinDnClick) FCtrl->DecrementValue(false);
    st.SpinUpClick = st.SpinDnClick = false;
    return FCtrl;
  }
  void WriteBack(const TEditorCell& c) override {
    FGrid.EditState().EditMode = false;
    if (FCtrl->AllowEmptyValue && FCtrl->Text().trimmed().isEmpty()) {
      FGrid.WriteEditorText(c.RCol, c.Row, QString());
    } else {
      switch (c.Kind) {
        case edFloatSpinEdit: FGrid.SetFloats(c.RCol, c.Row, FCtrl->FloatValue()); break;
        case edTimeSpinEdit: FGrid.WriteEditorText(c.RCol, c.Row, FCtrl->Text()); break;
        case edDateSpinEdit: FGrid.SetDates(c.RCol, c.Row, FCtrl->DateValue()); break;
        default: FGrid.SetInts(c.RCol, c.Row, FCtrl->Value()); break;
      }
    }
    HideCtrl();
  }
};

class TComboKind : public TControlKind<TGridCombo> {
 public:
  using TControlKind::TControlKind;
  plat::TWinControl* Setup(const TEditorCell& c) override {
    Open();
    const bool list = c.Kind == edComboList;
    FCtrl->SetDropDownCount(FGrid.ControlLook()->DropDownCount);
    EditorProps(c);
    FCtrl->Items()->Assign(FGrid.ComboItems());
    FCtrl->SetDroppedDown(false);
    FCtrl->SetStyle(list ? plat::csDropDownList : plat::csDropDown);
    Place(plat::TRect(c.Rect.Left, c.Rect.Top, c.Rect.Right, c.Rect.Top + c.CellRect.Height()));
    FCtrl->SetEnabled(true);
    const int comboIdx = FGrid.EditState().ComboIdx;
    bool reportFirst = false;
    if (list) {
      int i = FCtrl->Items()->IndexOf(c.EditText);
      if (i < 0 && comboIdx == -1 && FCtrl->Items()->Count() > 0) {
        i = 0;
        reportFirst = true;
      } else if (i < 0) {
        i = comboIdx;
      }
      FCtrl->SetItemIndex(i < FCtrl->Items()->Count() ? i : -1);
    } else {
      FCtrl->SetText(c.EditText);
      if (comboIdx != -1 && FCtrl->Items()->IndexOf(c.EditText) < 0 && comboIdx < FCtrl->Items()->Count())
        FCtrl->SetItemIndex(comboIdx);
      FCtrl->SetMaxLength(FGrid.MaxComboLength);
    }
    Looks(c);
    const TGridLook look = FGrid.Look();
    const bool flat = look == glSoft || look == glExt || look == glXP || look == glListView || look == glVista ||
                      look == glWin7 || look == glOffice2007;
    FCtrl->SetFlat(flat);
    FCtrl->SetEtched(flat);
    if (FGrid.Navigation()->AutoComboDropSize)
      FCtrl->SizeDropDownWidth();
    else if (FCtrl->DropWidth() > 0)
      FCtrl->SetDroppedWidth(FCtrl->DropWidth());
    ShowAndFocus();
    if (FGrid.MouseActions()->DirectComboDrop || FGrid.ControlLook()->DropDownAlwaysVisible())
      FCtrl->SetDroppedDown(true);
    if (FGrid.MouseActions()->DirectEdit && FGrid.MouseActions()->DirectComboDrop) {
      const plat::TGridRect s = FGrid.Selection();
      FGrid.DoSelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
    }
    if (reportFirst) FCtrl->FireComboChange();
    return FCtrl;
  }
  void WriteBack(const TEditorCell& c) override {
    if (!TakeOpenEdit()) return;
    FGrid.WriteEditorText(c.RCol, c.Row, FCtrl->Text());
    FCtrl->SetDroppedDown(false);
    HideCtrl();
  }
};

class TEditBtnKind : public TControlKind<TGridEditBtn> {
 public:
  using TControlKind::TControlKind;
  plat::TWinControl* Setup(const TEditorCell& c) override {
    Open();
    Place(plat::TRect(c.Rect.Left, c.Rect.Top, c.Rect.Right, c.Rect.Top + c.CellRect.Height()));
    FCtrl->SetEditMask(c.Kind == edMaskEditBtn ? FGrid.GetEditMask(c.Col, c.Row) : QString());
    FCtrl->SetEditValue(c.EditText);
    FCtrl->SetMaxLength(FCtrl->IsMasked() ? 0 : FGrid.EditLimit());
    Looks(c);
    ShowAndFocus();
    if (FCtrl->IsMasked() && FGrid.Navigation()->ImproveMaskSel) {
      FCtrl->SetSelStart(0);
      FCtrl->SetSelLength(1);
    }
    return FCtrl;
  }
  void WriteBack(const TEditorCell& c) override {
    if (!TakeOpenEdit()) return;
    FGrid.WriteEditorText(c.RCol, c.Row, FCtrl->EditValue());
    HideCtrl();
  }
};

class TUnitKind : public TControlKind<TGridUnitEditBtn> {
 public:
  using TControlKind::TControlKind;
  plat::TWinControl* Setup(const TEditorCell& c) override {
    Open();
    Place(plat::TRect(c.Rect.Left, c.Rect.Top, c.Rect.Right, c.Rect.Top + c.CellRect.Height()));
    FCtrl->SetMaxLength(FGrid.EditLimit());
    FCtrl->SetUnitID(QString());
    FCtrl->SetText(QString());
    EditorProps(c);
    FCtrl->SetTextAndUnit(c.EditText);
    // A text that ends in none of the units is edited whole: an empty editor would write the cell empty.
    if (FCtrl->UnitID().isEmpty()) FCtrl->SetText(c.EditText);
    Looks(c);
    ShowAndFocus();
    return FCtrl;
  }
  void WriteBack(const TEditorCell& c) override {
    const QString value = FCtrl->TextAndUnit();
    Close(c, &value);
  }
};

class TCheckKind : public TControlKind<TGridCheckBox> {
 public:
  using TControlKind::TControlKind;
  bool TakesStartChar(TEditorType) const override { return false; }
  plat::TWinControl* Setup(const TEditorCell& c) override {
    Open();
    Place(c.Rect);
    FCtrl->SetCaption(c.EditText);
    FCtrl->SetState(plat::cbUnchecked);
    Looks(c);
    ShowAndFocus();
    return nullptr;
  }
  // The check box shows the cell text as its caption; its state stays in the editor.
  void WriteBack(const TEditorCell& c) override { Close(c, nullptr); }
};

class TButtonKind : public TControlKind<TGridButton> {
 public:
  using TControlKind::TControlKind;
  bool TakesStartChar(TEditorType) const override { return false; }
  plat::TWinControl* Setup(const TEditorCell& c) override {
    Open();
    const plat::TRect& r = c.CellRect;
    Place(plat::TRect(r.Left - 1, r.Top - 1, r.Right, r.Bottom));
    FCtrl->SetCaption(c.EditText);
    ShowAndFocus();
    return FCtrl;
  }
  void WriteBack(const TEditorCell& c) override { Close(c, nullptr); }
};

class TDateKind : public TControlKind<TGridDatePicker> {
 public:
  using TControlKind::TControlKind;
  bool TakesStartChar(TEditorType Kind) const override { return Kind != edTimeEdit; }
  plat::TWinControl* Setup(const TEditorCell& c) override {
    Open();
    if (c.Kind == edTimeEdit) {
      plat::TDateTime t = 0;
      FCtrl->SetDateTime(plat::TryStrToTime(c.EditText, t) ? t : plat::Now());
      FCtrl->SetKind(plat::dtkTime);
    } else {
      FCtrl->SetDateTime(DateOf(c.EditText));
      FCtrl->SetKind(plat::dtkDate);
      FCtrl->SetDateMode(c.Kind == edDateEditUpDown ? plat::dmUpDown : plat::dmComboBox);
    }
    Place(c.Rect);
    EditorProps(c);
    Looks(c);
    ShowAndFocus();
    if (c.Kind != edTimeEdit && FGrid.MouseActions()->DirectDateDrop) FCtrl->Perform(plat::WM_KEYDOWN, plat::VK_F4, 0);
    return FCtrl;
  }
  void WriteBack(const TEditorCell& c) override {
    FCtrl->SetDroppedDown(false);
    QString text;
    if (c.Kind == edTimeEdit)
      text = FCtrl->Format().isEmpty() ? plat::TimeToStr(FCtrl->Time()) : FCtrl->Text();
    else
      text = FCtrl->Checked() ? FCtrl->Text() : QString();
    Close(c, &text);
  }

 private:
  plat::TDateTime DateOf(const QString& Text) {
    plat::TDateTime d = plat::Now();
    if (Text.trimmed().isEmpty()) return d;
    if (FGrid.OnCustomStrToDate) {
      bool done = false;
      FGrid.OnCustomStrToDate(&FGrid, Text, d, done);
    } else {
      d = CellTextToDateTime(Text);
    }
    if (FCtrl->MaxDate != 0 && d > FCtrl->MaxDate) d = FCtrl->MaxDate - 1;
    if (FCtrl->MinDate != 0 && d <= FCtrl->MinDate) d = FCtrl->MinDate + 1;
    return d;
  }
};

class TDateTimeKind : public TControlKind<TGridDateTimePicker> {
 public:
  using TControlKind::TControlKind;
  bool TakesStartChar(TEditorType) const override { return false; }
  plat::TWinControl* Setup(const TEditorCell& c) override {
    Open();
    FCtrl->SetKind(controls::dkDateTime);
    const plat::TDateTime v = CellTextToDateTime(c.EditText);
    FCtrl->OriginalDateTime = v;
    FCtrl->SetDateTime(v);
    Place(plat::TRect(c.Rect.Left, c.Rect.Top, c.Rect.Right,
                      c.Rect.Top + std::max(FCtrl->Height(), c.CellRect.Height())));
    EditorProps(c);
    Looks(c);
    ShowAndFocus();
    return nullptr;
  }
  void WriteBack(const TEditorCell& c) override {
    const plat::TFormatSettings& f = plat::FormatSettings;
    const QString text =
        FCtrl->Checked() ? plat::FormatDateTime(f.ShortDateFormat + u' ' + f.ShortTimeFormat, FCtrl->DateTime()) : QString();
    Close(c, &text);
  }
};

class TRichKind : public TControlKind<TExtRichEdit> {
 public:
  using TControlKind::TControlKind;
  plat::TWinControl* Setup(const TEditorCell& c) override {
    Open();
    Place(c.Rect);
    EditorProps(c);
    FCtrl->Locked = true;
    FGrid.CellToRich(c.RCol, c.Row, FCtrl);
    if (FGrid.Navigation()->EditSelectAll) FCtrl->SelectAll();
    Looks(c);
    ShowAndFocus();
    FCtrl->Locked = false;
    return FCtrl;
  }
  void WriteBack(const TEditorCell& c) override {
    const QString value = FGrid.RichToString(FCtrl);
    Close(c, &value);
  }
};

template <class TKind>
TCellEditorFactory Make() {
  return [](TExtStringGrid& g) { return std::make_unique<TKind>(g); };
}

}  // namespace

void RegisterSpecialEditors() {
  TEditorRegistry::Register({edSpinEdit, edFloatSpinEdit, edTimeSpinEdit, edDateSpinEdit}, Make<TSpinKind>());
  TEditorRegistry::Register({edComboEdit, edComboList}, Make<TComboKind>());
  TEditorRegistry::Register({edEditBtn, edNumericEditBtn, edFloatEditBtn, edMaskEditBtn}, Make<TEditBtnKind>());
  TEditorRegistry::Register({edUnitEditBtn, edNumericUnitEditBtn, edFloatUnitEditBtn}, Make<TUnitKind>());
  TEditorRegistry::Register({edCheckBox}, Make<TCheckKind>());
  TEditorRegistry::Register({edButton}, Make<TButtonKind>());
  TEditorRegistry::Register({edDateEdit, edDateEditUpDown, edTimeEdit}, Make<TDateKind>());
  TEditorRegistry::Register({edDateTimeEdit}, Make<TDateTimeKind>());
  TEditorRegistry::Register({edRichEdit}, Make<TRichKind>());
}

}  // namespace grid
