// The column objects of a column grid and their collection.
#include <QStringList>

#include "grid/column_grid.h"

namespace grid {

// ---------------------------------------------------------------- a column

TGridColumnItem::TGridColumnItem(plat::TCollection* Collection) : plat::TCollectionItem(Collection) {
  FBorderPen.SetWidth(1);
  FBorderPen.SetColor(plat::TColor(0xC0C0C0));
  FPrintBorderPen.SetWidth(1);
  FPrintBorderPen.SetColor(0);
  if (TExtColumnGrid* g = Grid()) {
    FFont.Assign(g->Font());
    FHeaderFont.Assign(g->Font());
    FPrintFont.Assign(g->Font());
    FColor = g->Color();
    DefIdx = Index();
    const auto notify = [this](plat::TObject*) { Changed(false); };
    FFont.OnChange = notify;
    FBorderPen.OnChange = notify;
    FHeaderFont.OnChange = [this](plat::TObject*) { Repaint(); };
    FFilter.OnChange = [this](plat::TObject*) { Repaint(); };
  }
}

TGridColumnItem::~TGridColumnItem() {
  FFont.OnChange = nullptr;
  FHeaderFont.OnChange = nullptr;
  FBorderPen.OnChange = nullptr;
  FFilter.OnChange = nullptr;
}

TExtColumnGrid* TGridColumnItem::Grid() const {
  auto* c = dynamic_cast<TGridColumnCollection*>(Collection());
  return c ? c->Grid() : nullptr;
}

void TGridColumnItem::Repaint() const {
  if (TExtColumnGrid* g = Grid()) g->Invalidate();
}

int TGridColumnItem::Width() const {
  const TExtColumnGrid* g = Grid();
  if (!g) return 0;
  return Index() < g->AllColCount() ? g->AllColWidths(Index()) : FWidth;
}

void TGridColumnItem::SetWidth(int Value) {
  FWidth = Value;
  if (TExtColumnGrid* g = Grid(); g && Index() < g->AllColCount()) g->SetAllColWidths(Index(), Value);
}

void TGridColumnItem::SetAlignment(plat::TAlignment Value) {
  FAlignment = Value;
  Repaint();
}

void TGridColumnItem::SetHeaderAlignment(plat::TAlignment Value) {
  FHeaderAlignment = Value;
  Repaint();
}

void TGridColumnItem::SetFloatFormat(const QString& Value) {
  FFloatFormat = Value;
  Repaint();
}

void TGridColumnItem::SetHeader(const QString& Value) {
  FHeader = Value;
  TExtColumnGrid* g = Grid();
  if (!g) return;
  if (g->FixedRows() > 0 && !g->FColMoving) {
    g->SetCells(Index(), 0, Value);
    Changed(false);
  }
  g->UpdateColumnHeaders();
}

void TGridColumnItem::SetEditor(TEditorType Value) {
  if (FEditor == Value) return;
  const bool repaint = FEditor == edDataCheckBox || Value == edDataCheckBox;
  FEditor = Value;
  if (repaint) Repaint();
}

QString TGridColumnItem::DisplayName() const {
  if (!Name.isEmpty()) return QStringLiteral("Col %1: %2").arg(Index()).arg(Name);
  return QStringLiteral("Column %1").arg(Index());
}

QString TGridColumnItem::Rows(int ARow) const { return Grid() ? Grid()->Cells(Index(), ARow) : QString(); }
void TGridColumnItem::SetRows(int ARow, const QString& Value) {
  if (TExtColumnGrid* g = Grid()) g->SetCells(Index(), ARow, Value);
}
int TGridColumnItem::Ints(int ARow) const { return Grid() ? Grid()->Ints(Index(), ARow) : 0; }
double TGridColumnItem::Floats(int ARow) const { return Grid() ? Grid()->Floats(Index(), ARow) : 0; }

void TGridColumnItem::Assign(plat::TPersistent* Source) {
  auto* src = dynamic_cast<TGridColumnItem*>(Source);
  if (!src) return plat::TCollectionItem::Assign(Source);
  CopyFrom(*src, false);
}

void TGridColumnItem::AssignVisuals(plat::TPersistent* Source) {
  auto* src = dynamic_cast<TGridColumnItem*>(Source);
  if (!src) return plat::TCollectionItem::Assign(Source);
  CopyFrom(*src, true);
}

// Visuals: colour and font come from the grid; combo items, drop-down count, header font, header, name and
// tag stay as they are.
void TGridColumnItem::CopyFrom(TGridColumnItem& Src, bool Visuals) {
  FWidth = Src.Grid() ? Src.Width() : Src.FWidth;
  if (TExtColumnGrid* g = Grid(); g && Index() < g->AllColCount()) g->SetAllColWidths(Index(), FWidth);
  FAlignment = Src.FAlignment;
  FHeaderAlignment = Src.FHeaderAlignment;
  FFloatFormat = Src.FFloatFormat;
  SortStyle = Src.SortStyle;
  SortPrefix = Src.SortPrefix;
  SortSuffix = Src.SortSuffix;
  EditMask = Src.EditMask;
  EditLength = Src.EditLength;
  EditLink = Src.EditLink;
  FEditor = Src.FEditor;
  FFixed = Src.FFixed;
  ReadOnly = Src.ReadOnly;
  SpinMin = Src.SpinMin;
  SpinMax = Src.SpinMax;
  SpinStep = Src.SpinStep;
  FPassword = Src.FPassword;
  FPrintFont.Assign(&Src.FPrintFont);
  PrintColor = Src.PrintColor;
  FBorders = Src.FBorders;
  FBorderPen.Assign(&Src.FBorderPen);
  PrintBorders = Src.PrintBorders;
  FPrintBorderPen.Assign(&Src.FPrintBorderPen);
  DefIdx = Src.DefIdx;
  CheckFalse = Src.CheckFalse;
  CheckTrue = Src.CheckTrue;
  FShowBands = Src.FShowBands;
  FFilter.Assign(&Src.FFilter);
  MaxSize = Src.MaxSize;
  MinSize = Src.MinSize;
  AutoMinSize = Src.AutoMinSize;
  AutoMaxSize = Src.AutoMaxSize;
  ColumnPopup = Src.ColumnPopup;
  FilterCaseSensitive = Src.FilterCaseSensitive;
  if (Visuals) {
    if (TExtColumnGrid* g = Grid()) {
      FColor = g->Color();
      FFont.Assign(g->Font());
    }
    return;
  }
  FColor = Src.FColor;
  FFont.Assign(&Src.FFont);
  FComboItems.Assign(&Src.FComboItems);
  DropDownCount = Src.DropDownCount;
  FHeaderFont.Assign(&Src.FHeaderFont);
  FHeader = Src.FHeader;
  Name = Src.Name;
  Tag = Src.Tag;
}

// ---------------------------------------------------------------- the stored form

namespace {

TColumnFontRecord FontRecord(const plat::TFont& f) {
  std::uint8_t style = 0;
  for (int s = plat::fsBold; s <= plat::fsStrikeOut; ++s)
    if (f.Style().Contains(static_cast<plat::TFontStyle>(s))) style |= static_cast<std::uint8_t>(1 << s);
  return {f.Name(), f.Height(), static_cast<std::uint32_t>(f.Color()), style, f.Charset(),
          static_cast<std::uint8_t>(f.Pitch())};
}

void ApplyFont(plat::TFont& f, const TColumnFontRecord& r) {
  plat::TFontStyles style;
  for (int s = plat::fsBold; s <= plat::fsStrikeOut; ++s)
    if (r.Style & (1 << s)) style.Include(static_cast<plat::TFontStyle>(s));
  f.SetName(r.Name);
  f.SetHeight(r.Height);
  f.SetColor(static_cast<plat::TColor>(r.Color));
  f.SetStyle(style);
  f.SetCharset(r.Charset);
  f.SetPitch(static_cast<plat::TFontPitch>(r.Pitch));
}

TColumnPenRecord PenRecord(const plat::TPen& p) {
  return {p.Width(), static_cast<std::uint32_t>(p.Color()), static_cast<std::uint8_t>(p.Style())};
}

void ApplyPen(plat::TPen& p, const TColumnPenRecord& r) {
  p.SetWidth(r.Width);
  p.SetColor(static_cast<plat::TColor>(r.Color));
  p.SetStyle(static_cast<plat::TPenStyle>(r.Style));
}

std::uint8_t BorderBits(TCellBorders b) {
  std::uint8_t bits = 0;
  for (int s = cbTop; s <= cbBottom; ++s)
    if (b.Contains(static_cast<TCellBorder>(s))) bits |= static_cast<std::uint8_t>(1 << s);
  return bits;
}

TCellBorders BordersOf(std::uint8_t bits) {
  TCellBorders b;
  for (int s = cbTop; s <= cbBottom; ++s)
    if (bits & (1 << s)) b.Include(static_cast<TCellBorder>(s));
  return b;
}

QStringList ListOf(const plat::TStrings& s) {
  QStringList l;
  for (int i = 0; i < s.Count(); ++i) l << s.Strings(i);
  return l;
}

void FillList(plat::TStrings& s, const QStringList& l) {
  s.BeginUpdate();
  s.Clear();
  for (const QString& t : l) s.Add(t);
  s.EndUpdate();
}

}  // namespace

TColumnRecord TGridColumnItem::ToRecord() const {
  TColumnRecord r;
  r.Width = Grid() ? Width() : FWidth;
  r.Alignment = static_cast<std::uint8_t>(FAlignment);
  r.Header = FHeader;
  r.SortStyle = static_cast<std::uint8_t>(SortStyle);
  r.SortPrefix = SortPrefix;
  r.SortSuffix = SortSuffix;
  r.EditMask = EditMask;
  r.EditLength = EditLength;
  r.Font = FontRecord(FFont);
  r.Color = static_cast<std::uint32_t>(FColor);
  r.Editor = static_cast<std::uint8_t>(FEditor);
  r.Fixed = FFixed;
  r.ReadOnly = ReadOnly;
  r.ComboItems = ListOf(FComboItems);
  r.DropDownCount = DropDownCount;
  r.SpinMin = SpinMin;
  r.SpinMax = SpinMax;
  r.SpinStep = SpinStep;
  r.Password = FPassword;
  r.PrintFont = FontRecord(FPrintFont);
  r.PrintColor = static_cast<std::uint32_t>(PrintColor);
  r.Borders = BorderBits(FBorders);
  r.BorderPen = PenRecord(FBorderPen);
  r.PrintBorders = BorderBits(PrintBorders);
  r.PrintBorderPen = PenRecord(FPrintBorderPen);
  r.Tag = Tag;
  r.Name = Name;
  r.CheckFalse = CheckFalse;
  r.CheckTrue = CheckTrue;
  r.ShowBands = FShowBands;
  r.Filter = ListOf(FFilter);
  r.MaxSize = MaxSize;
  r.MinSize = MinSize;
  r.AutoMinSize = AutoMinSize;
  r.AutoMaxSize = AutoMaxSize;
  r.ColumnPopupType = static_cast<std::uint8_t>(ColumnPopupType);
  r.FilterCaseSensitive = FilterCaseSensitive;
  r.FloatFormat = FFloatFormat;
  r.HeaderAlignment = static_cast<std::uint8_t>(FHeaderAlignment);
  r.HeaderFont = FontRecord(FHeaderFont);
  r.PrintBorderCustom = PrintBorderCustom;
  r.PrintFontCustom = PrintFontCustom;
  return r;
}

void TGridColumnItem::FromRecord(const TColumnRecord& r) {
  SetWidth(r.Width);
  FAlignment = static_cast<plat::TAlignment>(r.Alignment);
  FHeader = r.Header;
  SortStyle = static_cast<TSortStyle>(r.SortStyle);
  SortPrefix = r.SortPrefix;
  SortSuffix = r.SortSuffix;
  EditMask = r.EditMask;
  EditLength = r.EditLength;
  ApplyFont(FFont, r.Font);
  FColor = static_cast<plat::TColor>(r.Color);
  FEditor = static_cast<TEditorType>(r.Editor);
  FFixed = r.Fixed;
  ReadOnly = r.ReadOnly;
  FillList(FComboItems, r.ComboItems);
  DropDownCount = r.DropDownCount;
  SpinMin = r.SpinMin;
  SpinMax = r.SpinMax;
  SpinStep = r.SpinStep;
  FPassword = r.Password;
  ApplyFont(FPrintFont, r.PrintFont);
  PrintColor = static_cast<plat::TColor>(r.PrintColor);
  FBorders = BordersOf(r.Borders);
  ApplyPen(FBorderPen, r.BorderPen);
  PrintBorders = BordersOf(r.PrintBorders);
  ApplyPen(FPrintBorderPen, r.PrintBorderPen);
  Tag = r.Tag;
  Name = r.Name;
  CheckFalse = r.CheckFalse;
  CheckTrue = r.CheckTrue;
  FShowBands = r.ShowBands;
  FillList(FFilter, r.Filter);
  MaxSize = r.MaxSize;
  MinSize = r.MinSize;
  AutoMinSize = r.AutoMinSize;
  AutoMaxSize = r.AutoMaxSize;
  ColumnPopupType = static_cast<TColumnPopupType>(r.ColumnPopupType);
  FilterCaseSensitive = r.FilterCaseSensitive;
  FFloatFormat = r.FloatFormat;
  FHeaderAlignment = static_cast<plat::TAlignment>(r.HeaderAlignment);
  ApplyFont(FHeaderFont, r.HeaderFont);
  PrintBorderCustom = r.PrintBorderCustom;
  PrintFontCustom = r.PrintFontCustom;
}

// ---------------------------------------------------------------- the collection

TGridColumnCollection::TGridColumnCollection(TExtColumnGrid* AOwner)
    : plat::TOwnedCollection(AOwner, plat::ItemClassOf<TGridColumnItem>()), FOwner(AOwner) {}

TGridColumnItem* TGridColumnCollection::Add() {
  TGridColumnItem* last = Count() > 0 ? Items(Count() - 1) : nullptr;
  auto* item = static_cast<TGridColumnItem*>(TCollection::Add());
  if (last) item->AssignVisuals(last);
  return item;
}

TGridColumnItem* TGridColumnCollection::Insert(int Index) {
  return static_cast<TGridColumnItem*>(TCollection::Insert(Index));
}

void TGridColumnCollection::Update(plat::TCollectionItem* Item) {
  TCollection::Update(Item);
  TExtColumnGrid* g = FOwner;
  if (!g || UpdateCount() > 0 || FNoRecursiveUpdate || g->IsLoading() || g->FDestroying) return;
  const int shown = Count() - g->NumHiddenColumns();
  if (shown != g->ColCount() && shown > g->FixedCols()) g->SetColCount(shown);
  g->UpdateColumnHeaders();
  g->Invalidate();
}

void TGridColumnCollection::SetOrganization() {
  FNoRecursiveUpdate = true;
  FOwner->SynchColumns();
  FNoRecursiveUpdate = false;
  for (int i = 0; i < Count(); ++i) Items(i)->DefIdx = i;
}

// A permutation settles after a few passes; the bound keeps
// repeated positions (which the INI reader refuses anyway) from looping.
void TGridColumnCollection::ResetOrganization() {
  for (int pass = 0; pass <= Count() * Count(); ++pass) {
    bool moved = false;
    for (int i = 0; i < Count(); ++i) {
      const int d = Items(i)->DefIdx;
      if (d >= 0 && d < i) {
        FOwner->MoveColumn(FOwner->DisplColIndex(i), FOwner->DisplColIndex(d));
        moved = true;
      }
    }
    if (!moved) return;
  }
}

}  // namespace grid
