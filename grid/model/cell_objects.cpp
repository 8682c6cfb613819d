#include "grid/model/cell_objects.h"

#include "grid/model/intlist.h"
#include "platform/rtl/strings.h"

namespace grid {

namespace {

constexpr TCellTypes kControlTypes{ctCheckBox,    ctDataCheckBox, ctRadio,       ctButton,
                                   ctVirtCheckBox, ctRowCheckBox,  ctRadioButton, ctTriStateCheckBox};
constexpr TCellTypes kDataTextTypes{ctDataCheckBox, ctDataImage, ctVirtCheckBox, ctRowCheckBox};

}  // namespace

TCellObjects::TCellObjects(TCellGrid& Cells, TCellObjectsHost& Host)
    : FCells(Cells), FHost(Host), FRowObject(std::make_unique<TCellGraphic>()) {
  FRowObject->SetShared(true);
  FRowObject->CellType = ctRowCheckBox;
}

// ---- the object of a cell ------------------------------------------------------------------------------

TCellGraphic* TCellObjects::OwnGraphic(int ACol, int ARow) const {
  if (ACol < 0 || ARow < 0) return nullptr;
  return dynamic_cast<TCellGraphic*>(FCells.GetGraphicObjectEx(ACol, ARow));
}

TCellGraphic* TCellObjects::GetCellGraphic(int ACol, int ARow) {
  plat::TObject* raw = ACol >= 0 && ARow >= 0 ? FCells.GetGraphicObjectEx(ACol, ARow) : nullptr;
  if (raw && !dynamic_cast<TCellGraphic*>(raw)) return nullptr;
  if (ACol != 0 || !FHost.RowCheckColumn() || ARow < 0) return static_cast<TCellGraphic*>(raw);
  TCellGraphic& g = *FRowObject;
  g.CellType = ctRowCheckBox;
  if (ARow == 0) {
    const int selected = FHost.SelectedRowCount(), normal = FCells.RowCount() - FHost.FixedRows();
    g.CellAngle = selected > 0 && selected < normal ? 1 : 0;
    g.CellBoolean = selected == normal;
  } else {
    g.CellAngle = 0;
    g.CellBoolean = FHost.RowSelected(ARow);
  }
  g.CellTransparent = FHost.FlatLook();
  return &g;
}

TCellType TCellObjects::GetCellType(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return ctEmpty;
  if (ACol == 0 && FHost.RowCheckColumn()) return ctRowCheckBox;
  const TCellGraphic* g = OwnGraphic(ACol, ARow);
  return g ? g->CellType : ctEmpty;
}

TCellGraphic* TCellObjects::CreateCellGraphic(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0 || ACol >= FCells.TotalColCount() || ARow >= FCells.RowCount()) return nullptr;
  RemoveCellGraphic(ACol, ARow);
  auto* g = new TCellGraphic;
  FCells.SetGraphicObjectEx(ACol, ARow, g);
  if (FCells.GetGraphicObjectEx(ACol, ARow) != g) {  // the grid refused it (being destroyed)
    delete g;
    return nullptr;
  }
  return g;
}

bool TCellObjects::RemoveCellGraphic(int ACol, int ARow) {
  if (ACol < 0 || ARow < 0) return false;
  TCellProperties* p = FCells.GetGridObject(ACol, ARow);
  if (!p || !p->FGraphicObject) return false;
  plat::TObject* old = std::exchange(p->FGraphicObject, nullptr);
  auto* g = dynamic_cast<TCellGraphic*>(old);
  if (g && !g->Shared()) delete g;
  if (!FCells.IsDestroying()) FCells.RepaintCell(ACol, ARow);
  return true;
}

bool TCellObjects::RemoveCellGraphicOfType(int ACol, int ARow, TCellType CellType) {
  return GetCellType(ACol, ARow) == CellType && RemoveCellGraphic(ACol, ARow);
}

TCellGraphic* TCellObjects::BaseGraphic(int ACol, int ARow, TCellTypes Types) {
  if (ACol < 0 || ARow < 0) return nullptr;
  int bc = ACol, br = ARow;
  FCells.ResolveBaseCell(ACol, ARow, bc, br);
  TCellGraphic* g = OwnGraphic(bc, br);
  return g && Types.Contains(g->CellType) ? g : nullptr;
}

bool TCellObjects::CellTypeInSet(int ACol, int ARow, TCellTypes Types) {
  return BaseGraphic(ACol, ARow, Types) != nullptr;
}

bool TCellObjects::IsControlCell(int ACol, int ARow) { return CellTypeInSet(ACol, ARow, kControlTypes); }

bool TCellObjects::IsDataTextCell(int ACol, int ARow) { return CellTypeInSet(ACol, ARow, kDataTextTypes); }

TCellGraphic* TCellObjects::OfType(int ACol, int ARow, TCellType Type) {
  TCellGraphic* g = OwnGraphic(ACol, ARow);
  return g && g->CellType == Type ? g : nullptr;
}

template <class Fn>
void TCellObjects::ForEachCell(Fn&& fn) {
  // Columns outer, rows inner.
  for (int c = 0; c < FCells.ColCount(); ++c)
    for (int r = 0; r < FCells.RowCount(); ++r) fn(c, r);
}

// ---- pictures ------------------------------------------------------------------------------------------

void TCellObjects::AddBitmap(int ACol, int ARow, plat::TObject* ABmp, bool Transparent, TCellHAlign hal,
                             TCellVAlign val, bool Owned) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  if (!g) {
    if (Owned) delete ABmp;
    return;
  }
  g->SetBitmap(ABmp, Transparent, hal, val);
  if (Owned) g->SetOwnedBitmap(ABmp), g->CellCreated = true;
}

plat::TObject* TCellObjects::GetBitmap(int ACol, int ARow) {
  TCellGraphic* g = OfType(ACol, ARow, ctBitmap);
  return g ? g->CellBitmap : nullptr;
}

void TCellObjects::AddPicture(int ACol, int ARow, plat::TObject* APicture, bool Transparent,
                              TStretchMode StretchMode, int padding, TCellHAlign hal, TCellVAlign val, bool Owned,
                              bool FromFile) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  if (!g) {
    if (Owned) delete APicture;
    return;
  }
  if (FromFile)
    g->SetFilePicture(APicture, Transparent, StretchMode, padding, hal, val);
  else
    g->SetPicture(APicture, Transparent, StretchMode, padding, hal, val);
  if (Owned) g->SetOwnedBitmap(APicture), g->CellCreated = true;
}

plat::TObject* TCellObjects::GetPicture(int ACol, int ARow, bool FromFile) {
  TCellGraphic* g = OfType(ACol, ARow, FromFile ? ctFilePicture : ctPicture);
  return g ? g->CellBitmap : nullptr;
}

void TCellObjects::AddIcon(int ACol, int ARow, plat::TObject* AIcon, TCellHAlign hal, TCellVAlign val,
                           bool Owned) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  if (!g) {
    if (Owned) delete AIcon;
    return;
  }
  g->SetIcon(AIcon, hal, val);
  if (Owned) g->SetOwnedIcon(AIcon), g->CellCreated = true;
}

qintptr TCellObjects::GetCellImageKey(int ACol, int ARow) {
  const TCellGraphic* g = OwnGraphic(ACol, ARow);
  if (!g) return -1;
  switch (g->CellType) {
    case ctBitmap: return reinterpret_cast<qintptr>(g->CellBitmap);
    case ctIcon: return reinterpret_cast<qintptr>(g->CellIcon);
    case ctImageList: return g->CellIndex;
    default: return -1;
  }
}

// ---- image lists ---------------------------------------------------------------------------------------

void TCellObjects::AddImageIdx(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val) {
  if (!FHost.HasGridImages()) return;
  if (TCellGraphic* g = CreateCellGraphic(ACol, ARow)) g->SetImageIdx(Aidx, hal, val);
}

bool TCellObjects::GetImageIdx(int ACol, int ARow, int& idx) {
  if (!FHost.HasGridImages() || GetCellType(ACol, ARow) != ctImageList) return false;
  idx = OwnGraphic(ACol, ARow)->CellIndex;
  return true;
}

void TCellObjects::SetImageIdx(int ACol, int ARow, int Idx) {
  if (!FHost.HasGridImages()) return;
  if (TCellGraphic* g = OfType(ACol, ARow, ctImageList)) g->CellIndex = Idx;
}

bool TCellObjects::RemoveImageIdx(int ACol, int ARow) {
  return FHost.HasGridImages() && RemoveCellGraphicOfType(ACol, ARow, ctImageList);
}

void TCellObjects::AddDataImage(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val) {
  if (!FHost.HasGridImages()) return;
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  if (!g) return;
  g->SetDataImage(Aidx, hal, val);
  if (FCells.GridCellRef(ACol, ARow).isEmpty()) FCells.SetCells(ACol, ARow, QString::number(Aidx));
}

void TCellObjects::RemoveDataImage(int ACol, int ARow) {
  RemoveCellGraphicOfType(ACol, ARow, ctDataImage);
  FCells.SetCells(ACol, ARow, QString());
}

TIntList* TCellObjects::AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val) {
  if (!FHost.HasGridImages()) return nullptr;
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  if (!g) return nullptr;
  auto* list = new TIntList(ACol, ARow);
  TCellGrid* cells = &FCells;
  list->OnChange = [cells](plat::TObject*, int c, int r) { cells->RepaintCell(c, r); };
  g->SetMultiImage(list, Dir, hal, val);
  return list;
}

TIntList* TCellObjects::GetCellImages(int ACol, int ARow) {
  TCellGraphic* g = OfType(ACol, ARow, ctImages);
  return g ? dynamic_cast<TIntList*>(g->CellBitmap) : nullptr;
}

void TCellObjects::AddInterfacedCell(int ACol, int ARow, plat::TObject* AObject) {
  if (TCellGraphic* g = CreateCellGraphic(ACol, ARow)) g->SetInterfacedCell(AObject);
}

plat::TObject* TCellObjects::GetInterfacedCell(int ACol, int ARow) {
  TCellGraphic* g = OfType(ACol, ARow, ctInterface);
  return g ? g->CellBitmap : nullptr;
}

// ---- indicators ----------------------------------------------------------------------------------------

void TCellObjects::AddProgressFormatted(int ACol, int ARow, plat::TColor FGColor, plat::TColor FGTextColor,
                                        plat::TColor BKColor, plat::TColor BKTextColor, const QString& Fmt, int Min,
                                        int Max) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  if (!g) return;
  g->CellType = ctProgress;
  g->CellHAlign = haLeft;
  g->CellVAlign = vaTop;
  g->CellBitmapColor = FGColor;
  g->CellIconColor = BKColor;
  g->CellIndex = static_cast<int>(FGTextColor);
  g->CellAngle = static_cast<int>(BKTextColor);
  g->CellErrFrom = Min;
  g->CellErrLen = Max;
  g->CellText = Fmt;
  g->CellBoolean = true;
  if (FHost.AutoNumAlign()) FCells.GetGridObject(ACol, ARow)->Alignment = plat::taRightJustify;
}

void TCellObjects::AddProgressEx(int ACol, int ARow, plat::TColor FGColor, plat::TColor FGTextColor,
                                 plat::TColor BKColor, plat::TColor BKTextColor) {
  AddProgressFormatted(ACol, ARow, FGColor, FGTextColor, BKColor, BKTextColor, QString(), 0, 100);
}

void TCellObjects::AddProgress(int ACol, int ARow, plat::TColor FGColor, plat::TColor BKColor) {
  AddProgressFormatted(ACol, ARow, FGColor, 0, BKColor, 0, QString(), 0, 100);
  if (TCellGraphic* g = OfType(ACol, ARow, ctProgress)) g->CellBoolean = false;
}

void TCellObjects::AddProgressPie(int ACol, int ARow, plat::TColor Color, int Value) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  if (!g) return;
  g->CellType = ctProgressPie;
  g->CellBitmapColor = Color;
  g->CellAngle = Value;
  g->CellHAlign = haBeforeText;
  g->CellVAlign = vaTop;
}

void TCellObjects::SetProgressPie(int ACol, int ARow, int Value) {
  if (TCellGraphic* g = OfType(ACol, ARow, ctProgressPie)) {
    g->CellAngle = Value;
    FCells.RepaintCell(ACol, ARow);
  }
}

void TCellObjects::AddExtProgress(int ACol, int ARow, int Min, int Max) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  if (!g) return;
  g->CellType = ctXPProgress;
  g->CellHAlign = haLeft;
  g->CellVAlign = vaTop;
  g->CellErrFrom = Min;
  g->CellErrLen = Max;
}

void TCellObjects::AddRangeIndicator(int ACol, int ARow, int Range, plat::TColor NegColor, plat::TColor PosColor,
                                     bool ShowValue) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  if (!g) return;
  g->CellType = ctRangeIndicator;
  g->CellHAlign = haLeft;
  g->CellVAlign = vaTop;
  g->CellIndex = Range;
  g->CellBitmapColor = NegColor;
  g->CellIconColor = PosColor;
  g->CellBoolean = ShowValue;
}

void TCellObjects::AddShape(int ACol, int ARow, TCellShape Shape, plat::TColor FillColor, plat::TColor LineColor,
                            TCellHAlign hal, TCellVAlign val) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  if (!g) return;
  g->CellType = ctShape;
  g->CellAngle = Shape;
  g->CellIndex = static_cast<int>(FillColor);
  g->CellBitmapColor = LineColor;
  g->CellHAlign = hal;
  g->CellVAlign = val;
}

void TCellObjects::SetShapeColor(int ACol, int ARow, plat::TColor FillColor) {
  if (TCellGraphic* g = OfType(ACol, ARow, ctShape)) {
    g->CellIndex = static_cast<int>(FillColor);
    FCells.RepaintCell(ACol, ARow);
  }
}

plat::TColor TCellObjects::GetShapeColor(int ACol, int ARow) {
  const TCellGraphic* g = OfType(ACol, ARow, ctShape);
  return g ? static_cast<plat::TColor>(g->CellIndex) : plat::clNone;
}

void TCellObjects::AddRating(int ACol, int ARow, int Scale, plat::TColor FillColor, plat::TColor EmptyColor) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  if (!g) return;
  g->CellType = ctRating;
  g->CellAngle = Scale;
  g->CellIndex = static_cast<int>(FillColor);
  g->CellBitmapColor = EmptyColor;
  g->CellHAlign = haFull;
}

// ---- scroll bars ---------------------------------------------------------------------------------------

void TCellObjects::AddScrollBar(int ACol, int ARow, bool AutoRange) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  if (!g) return;
  g->CellType = ctScrollbar;
  g->CellAngle = 0;
  g->CellErrFrom = 100;
  g->CellIndex = 0;
  g->CellBoolean = AutoRange;
  // An auto-range bar takes its page and range from the cell text as drawn.
  if (AutoRange) FCells.CellTextChanged(ACol, ARow);
}

bool TCellObjects::HasAutoRangeScrollBar(int ACol, int ARow) {
  const TCellGraphic* g = BaseGraphic(ACol, ARow, {ctScrollbar});
  return g && g->CellBoolean;
}

void TCellObjects::SetScrollPosition(int ACol, int ARow, int Pos) {
  if (TCellGraphic* g = BaseGraphic(ACol, ARow, {ctScrollbar})) {
    g->CellIndex = Pos;
    FCells.RepaintCell(ACol, ARow);
  }
}

int TCellObjects::GetScrollPosition(int ACol, int ARow) {
  const TCellGraphic* g = BaseGraphic(ACol, ARow, {ctScrollbar});
  return g ? g->CellIndex : -1;
}

void TCellObjects::SetScrollProp(int ACol, int ARow, TScrollProp Prop) {
  if (TCellGraphic* g = BaseGraphic(ACol, ARow, {ctScrollbar})) {
    g->CellAngle = Prop.PageSize;
    g->CellErrFrom = Prop.Range;
  }
}

TScrollProp TCellObjects::GetScrollProp(int ACol, int ARow) {
  const TCellGraphic* g = BaseGraphic(ACol, ARow, {ctScrollbar});
  return g ? TScrollProp{g->CellAngle, g->CellErrFrom} : TScrollProp{-1, -1};
}

// ---- comments, markers, balloons, rotated text ---------------------------------------------------------

void TCellObjects::AddColorComment(int ACol, int ARow, const QString& Comment, plat::TColor Color) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  if (!g) return;
  g->CellType = ctComment;
  g->CellHAlign = haLeft;
  g->CellVAlign = vaTop;
  g->CellText = Comment;
  g->CellIndex = static_cast<int>(Color);
}

void TCellObjects::AddComment(int ACol, int ARow, const QString& Comment) {
  AddColorComment(ACol, ARow, Comment, FHost.CommentColor());
}

QString TCellObjects::GetComment(int ACol, int ARow) {
  const TCellGraphic* g = OfType(ACol, ARow, ctComment);
  return g ? g->CellText : QString();
}

void TCellObjects::SetComment(int ACol, int ARow, const QString& Comment) {
  if (TCellGraphic* g = OfType(ACol, ARow, ctComment))
    g->CellText = Comment;
  else if (!OwnGraphic(ACol, ARow))
    AddComment(ACol, ARow, Comment);
}

bool TCellObjects::IsComment(int ACol, int ARow, QString& comment) {
  const TCellGraphic* g = OfType(ACol, ARow, ctComment);
  if (g) comment = g->CellText;
  return g != nullptr;
}

void TCellObjects::RemoveAllComments() {
  ForEachCell([&](int c, int r) { RemoveComment(c, r); });
}

void TCellObjects::AddMarker(int ACol, int ARow, int ErrPos, int ErrLen) {
  TCellGraphic* g = OwnGraphic(ACol, ARow);
  if (!g) {
    g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->CellType = ctEmpty;
  }
  g->CellErrFrom = ErrPos;
  g->CellErrLen = ErrLen;
  FCells.RepaintCell(ACol, ARow);
}

void TCellObjects::GetMarker(int ACol, int ARow, int& ErrPos, int& ErrLen) {
  const TCellGraphic* g = OwnGraphic(ACol, ARow);
  ErrPos = g ? g->CellErrFrom : 0;
  ErrLen = g ? g->CellErrLen : 0;
}

void TCellObjects::RemoveMarker(int ACol, int ARow) {
  TCellGraphic* g = OwnGraphic(ACol, ARow);
  if (!g) return;
  if (g->CellType == ctEmpty) {
    RemoveCellGraphic(ACol, ARow);
    return;
  }
  g->CellErrFrom = 0;
  g->CellErrLen = 0;
}

void TCellObjects::RemoveAllMarkers() {
  ForEachCell([&](int c, int r) { RemoveMarker(c, r); });
}

void TCellObjects::AddBalloon(int ACol, int ARow, const QString& Title, const QString& Text, TBalloonIcon Icon) {
  TCellGraphic* g = OwnGraphic(ACol, ARow);
  if (!g) {
    g = CreateCellGraphic(ACol, ARow);
    if (!g) return;
    g->CellType = ctBalloon;
    g->CellAngle = 0;
  } else if (kBalloonHostTypes.Contains(g->CellType)) {
    g->CellAngle = 1;
  } else {
    return;
  }
  auto* lines = new plat::TStringList;
  lines->Add(Title);
  lines->Add(Text);
  g->CellIndex = Icon;
  // The strings belong to the object; a balloon given before is freed.
  g->SetOwnedBitmap(lines);
}

bool TCellObjects::RemoveBalloon(int ACol, int ARow) {
  TCellGraphic* g = OwnGraphic(ACol, ARow);
  if (g && kBalloonHostTypes.Contains(g->CellType) && g->CellAngle == 1) {
    g->CellAngle = 0;
    g->FreeOwnedBitmap();
    return true;
  }
  return RemoveCellGraphicOfType(ACol, ARow, ctBalloon);
}

bool TCellObjects::IsBalloon(int ACol, int ARow, QString& Title, QString& Text, TBalloonIcon& Icon) {
  const TCellGraphic* g = OwnGraphic(ACol, ARow);
  if (!g) return false;
  const bool is = g->CellType == ctBalloon || (kBalloonHostTypes.Contains(g->CellType) && g->CellAngle == 1);
  const auto* lines = dynamic_cast<const plat::TStrings*>(g->CellBitmap);
  if (!is || !lines) return false;
  Title = lines->Count() > 0 ? lines->Strings(0) : QString();
  Text = lines->Count() > 1 ? lines->Strings(1) : QString();
  Icon = static_cast<TBalloonIcon>(g->CellIndex);
  return true;
}

void TCellObjects::AddRotated(int ACol, int ARow, int AAngle, const QString& s) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  if (!g) return;
  g->SetAngle(AAngle);
  FCells.SetCells(ACol, ARow, s);
}

void TCellObjects::SetRotated(int ACol, int ARow, int AAngle) {
  TCellGraphic* g = OwnGraphic(ACol, ARow);
  if (!g) g = CreateCellGraphic(ACol, ARow);
  if (g) g->SetAngle(AAngle);
}

bool TCellObjects::IsRotated(int ACol, int ARow, int& aAngle) {
  const TCellGraphic* g = OfType(ACol, ARow, ctRotated);
  if (g) aAngle = g->CellAngle;
  return g != nullptr;
}

// ---- buttons -------------------------------------------------------------------------------------------

void TCellObjects::AddButton(int ACol, int ARow, int bw, int bh, const QString& Caption, TCellHAlign hal,
                             TCellVAlign val) {
  if (TCellGraphic* g = CreateCellGraphic(ACol, ARow)) g->SetButton(bw, bh, Caption, hal, val);
}

void TCellObjects::AddBitButton(int ACol, int ARow, int bw, int bh, const QString& Caption, plat::TObject* Glyph,
                                TCellHAlign hal, TCellVAlign val, bool Owned) {
  TCellGraphic* g = CreateCellGraphic(ACol, ARow);
  if (!g) {
    if (Owned) delete Glyph;
    return;
  }
  g->SetBitButton(bw, bh, Caption, Glyph, hal, val);
  if (Owned) g->SetOwnedBitmap(Glyph), g->CellCreated = true;
}

void TCellObjects::SetButtonText(int ACol, int ARow, const QString& Caption) {
  if (TCellGraphic* g = OwnGraphic(ACol, ARow)) {
    g->CellText = Caption;
    FCells.RepaintCell(ACol, ARow);
  }
}

QString TCellObjects::GetButtonText(int ACol, int ARow) {
  const TCellGraphic* g = OwnGraphic(ACol, ARow);
  return g ? g->CellText : QString();
}

void TCellObjects::PushButton(int ACol, int ARow, bool push) {
  TCellGraphic* g = OwnGraphic(ACol, ARow);
  if (!g || g->CellType == ctNode) return;
  g->CellBoolean = push;
  FCells.RepaintCell(ACol, ARow);
}

bool TCellObjects::RemoveButton(int ACol, int ARow) {
  const bool plain = RemoveCellGraphicOfType(ACol, ARow, ctButton);
  return RemoveBitButton(ACol, ARow) || plain;
}

void TCellObjects::RemoveAllButtons() {
  ForEachCell([&](int c, int r) { RemoveButton(c, r); });
}

}  // namespace grid
