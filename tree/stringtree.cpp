// The string tree: asking for texts, measuring and caching widths, drawing and shortening texts, node paths,
// and saving the content as CSV.

#include "tree/stringtree.h"

#include <QStringList>

#include <cstring>

#include "platform/graphics/canvas.h"
#include "platform/graphics/drawtext.h"
#include "platform/rtl/strings.h"
#include "tree/treecolumns.h"
#include "tree/treeutils.h"

namespace lazytree {

TCustomLazyStringTree::TCustomLazyStringTree(plat::TComponent* AOwner) : TBaseLazyTreeControl(AOwner) {
  FTextWidthCacheOffset = ReserveInternalData(sizeof(int32_t));
}

void TCustomLazyStringTree::SetDefaultText(const QString& Value) {
  if (FDefaultText == Value) return;
  FDefaultText = Value;
  if (!Loading()) Invalidate();
}

void TCustomLazyStringTree::WriteFormProperties(QVariantMap& Properties) const {
  if (FDefaultText != QLatin1String("Node")) Properties.insert(QStringLiteral("WideDefaultText"), FDefaultText);
}

bool TCustomLazyStringTree::ReadFormProperty(const QString& Name, const QVariant& Value) {
  if (Name == QLatin1String("WideDefaultText")) {
    SetDefaultText(Value.toString());
    return true;
  }
  if (Name != QLatin1String("StringOptions")) return false;
  // The old option names; those without a counterpart are dropped.
  TLTStringOptions options;
  for (const QString& option : Value.toStringList()) {
    if (option == QLatin1String("soSaveCaptions")) options.Include(toSaveCaptions);
    if (option == QLatin1String("soShowStaticText")) options.Include(toShowStaticText);
  }
  SetStringOptions(options);
  return true;
}

void TCustomLazyStringTree::SetStringOptions(TLTStringOptions Value) {
  const bool staticChanged = FStringOptions.Has(toShowStaticText) != Value.Has(toShowStaticText);
  FStringOptions = Value;
  if (staticChanged && !Loading()) Invalidate();
}

int32_t TCustomLazyStringTree::TextWidthCache(PLazyNode Node) {
  if (!Node || Node == RootNode()) return 0;  // the hidden root has no internal area
  int32_t v;
  std::memcpy(&v, GetInternalData(Node, FTextWidthCacheOffset), sizeof v);
  return v;
}

void TCustomLazyStringTree::SetTextWidthCache(PLazyNode Node, int32_t Value) {
  if (!Node || Node == RootNode()) return;
  std::memcpy(GetInternalData(Node, FTextWidthCacheOffset), &Value, sizeof Value);
}

void TCustomLazyStringTree::ClearTextWidthCaches() {
  for (PLazyNode n = GetFirstNoInit(); n; n = GetNextNoInit(n)) SetTextWidthCache(n, 0);
}

void TCustomLazyStringTree::Dispatch(plat::TMessage& Message) {
  TBaseLazyTreeControl::Dispatch(Message);
  if (Message.Msg != plat::CM_FONTCHANGED) return;
  plat::TCanvas* c = Canvas();
  c->SetFont(*Font());
  FTextHeight = c->TextHeight(QStringLiteral("Hg"));
  FEllipsisWidth = c->TextWidth(QStringLiteral("..."));
  ClearTextWidthCaches();
}

// --- Texts ---------------------------------------------------------------------------------------------------

void TCustomLazyStringTree::DoGetText(TLSTGetCellTextEventArgs& Args) {
  if (Args.Node != RootNode() && !Args.Node->Has(vsInitialized)) InitNode(Args.Node);
  if (OnGetCellText) {
    OnGetCellText(this, Args);
  } else if (OnGetText) {
    OnGetText(this, Args.Node, Args.Column, ttNormal, Args.CellText);
    OnGetText(this, Args.Node, Args.Column, ttStatic, Args.StaticText);
  }
}

QString TCustomLazyStringTree::GetText(PLazyNode Node, TColumnIndex Column) {
  if (!Node) throw ELazyTreeAssertion("Node must not be nil.");
  TLSTGetCellTextEventArgs args{Node, Column, FDefaultText, {}, etNone};
  DoGetText(args);
  return args.CellText;
}

QString TCustomLazyStringTree::GetStaticText(PLazyNode Node, TColumnIndex Column) {
  if (!Node) throw ELazyTreeAssertion("Node must not be nil.");
  TLSTGetCellTextEventArgs args{Node, Column, {}, {}, etNone};
  DoGetText(args);
  return args.StaticText;
}

void TCustomLazyStringTree::DoNewText(PLazyNode Node, TColumnIndex Column, const QString& Text) {
  if (OnNewText) OnNewText(this, Node, Column, Text);
  if (!Updating()) UpdateHorizontalScrollBar(false);
}

void TCustomLazyStringTree::SetText(PLazyNode Node, TColumnIndex Column, const QString& Value) {
  DoNewText(Node, Column, Value);
  InvalidateNode(Node);
}

QString TCustomLazyStringTree::Path(PLazyNode Node, TColumnIndex Column, QChar Delimiter) {
  if (!Node || Node == RootNode()) return QString(Delimiter);
  std::vector<PLazyNode> chain;
  for (PLazyNode n = Node; n && n != RootNode(); n = n->Parent) chain.push_back(n);
  QString result;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) result += GetText(*it, Column) + Delimiter;
  return result;
}

// --- Measuring -----------------------------------------------------------------------------------------------

plat::TCanvas* TCustomLazyStringTree::MeasureCanvas(plat::TCanvas* Canvas) { return Canvas ? Canvas : this->Canvas(); }

void TCustomLazyStringTree::DoPaintText(PLazyNode Node, plat::TCanvas* Canvas, TColumnIndex Column,
                                        TLSTTextType TextType) {
  if (OnPaintText) OnPaintText(this, Canvas, Node, Column, TextType);
}

plat::TSize TCustomLazyStringTree::MeasureTextExtent(plat::TCanvas* Canvas, PLazyNode Node, TColumnIndex Column,
                                                     const QString& Text) {
  plat::TSize extent = Canvas->TextExtent(Text);
  if (Node->Has(vsMultiline)) {
    // The widest line when the text is wrapped into its single-line width.
    unsigned flags = plat::DT_CALCRECT | plat::DT_WORDBREAK | plat::DT_NOPREFIX | plat::DT_EDITCONTROL |
                     plat::DT_END_ELLIPSIS | static_cast<unsigned>(CellAlignmentFlag(Column));
    plat::TRect r(0, 0, extent.cx, 0x7FFFFFF);
    Canvas->DrawText(Text, r, flags);
    extent.cx = r.Right - r.Left;
  }
  if (OnMeasureTextWidth) OnMeasureTextWidth(this, Canvas, Node, Column, Text, extent.cx);
  if (OnMeasureTextHeight) OnMeasureTextHeight(this, Canvas, Node, Column, Text, extent.cy);
  return extent;
}

int TCustomLazyStringTree::TextWidth(plat::TCanvas* Canvas, PLazyNode Node, const QString& Text,
                                     TColumnIndex Column) {
  int result = 2 * TextMargin();
  if (Text.isEmpty()) return result;
  Canvas->SetFont(*Font());
  DoPaintText(Node, Canvas, Column, ttNormal);
  return result + MeasureTextExtent(Canvas, Node, Column, Text).cx;
}

int TCustomLazyStringTree::StaticTextWidth(plat::TCanvas* Canvas, PLazyNode Node, const QString& Text,
                                           TColumnIndex Column) {
  if (Text.isEmpty() || Alignment() == plat::taCenter || Node->Has(vsMultiline)) return 0;
  Canvas->SetFont(*Font());
  DoPaintText(Node, Canvas, Column, ttStatic);
  return TextMargin() + MeasureTextExtent(Canvas, Node, Column, Text).cx;
}

int TCustomLazyStringTree::DoGetNodeWidth(PLazyNode Node, TColumnIndex Column) {
  if (Column >= 0 && Node->Has(vsMultiline) && Header().Columns().IsValidColumn(Column))
    return Header().Columns()[Column]->Width();
  plat::TCanvas* canvas = MeasureCanvas(nullptr);
  if (Column == Header().MainColumn()) {
    int32_t cached = TextWidthCache(Node);
    if (cached == 0) {
      cached = TextWidth(canvas, Node, GetText(Node, Column), Column);
      SetTextWidthCache(Node, cached);
    }
    return cached;
  }
  return TextWidth(canvas, Node, GetText(Node, Column), Column);
}

int TCustomLazyStringTree::DoGetNodeExtraWidth(PLazyNode Node, TColumnIndex Column) {
  if (!FStringOptions.Has(toShowStaticText)) return 0;
  return StaticTextWidth(MeasureCanvas(nullptr), Node, GetStaticText(Node, Column), Column);
}

// A cell with text is never empty.
bool TCustomLazyStringTree::CellIsEmpty(PLazyNode Node, TColumnIndex Column) {
  return GetText(Node, Column).isEmpty() && TBaseLazyTreeControl::CellIsEmpty(Node, Column);
}

namespace {
unsigned AlignmentFlag(plat::TAlignment Alignment) {
  if (Alignment == plat::taRightJustify) return plat::DT_RIGHT;
  if (Alignment == plat::taCenter) return plat::DT_CENTER;
  return 0;
}
}  // namespace

bool TCustomLazyStringTree::CellIsRightToLeft(TColumnIndex Column) const {
  const TLazyTreeColumns& cols = Header().Columns();
  return Column >= 0 && cols.IsValidColumn(Column) && cols[Column]->UseRightToLeftReading();
}

// The column's alignment (the tree's without one), mirrored in a right-to-left column as painting mirrors it.
int TCustomLazyStringTree::CellAlignmentFlag(TColumnIndex Column) const {
  plat::TAlignment a = Alignment();
  if (Column >= 0 && Header().Columns().IsValidColumn(Column)) a = Header().Columns()[Column]->Alignment();
  if (CellIsRightToLeft(Column) && a != plat::taCenter)
    a = a == plat::taLeftJustify ? plat::taRightJustify : plat::taLeftJustify;
  return static_cast<int>(AlignmentFlag(a));
}

int TCustomLazyStringTree::ComputeNodeHeight(plat::TCanvas* Canvas, PLazyNode Node, TColumnIndex Column, QString S) {
  Canvas = MeasureCanvas(Canvas);
  if (S.isEmpty()) S = GetText(Node, Column);
  unsigned flags = plat::DT_CALCRECT | plat::DT_NOPREFIX | static_cast<unsigned>(CellAlignmentFlag(Column));
  if (CellIsRightToLeft(Column)) flags |= plat::DT_RTLREADING;
  if (Node->Has(vsMultiline)) flags |= plat::DT_WORDBREAK | plat::DT_EDITCONTROL;
  else flags |= plat::DT_SINGLELINE | plat::DT_VCENTER;
  plat::TRect r;
  if (Column < 0 || !Header().Columns().IsValidColumn(Column)) {
    r.Right = ClientWidth();
  } else {
    r.Right = Header().Columns()[Column]->Width() - TextMargin();
    r.Left = TextMargin() + Margin();
    if (Column == Header().MainColumn()) {
      std::vector<TLTLineType> lines;
      const int levels = TreeOptions().PaintOptions.Has(toFixedIndent) ? 1 : ComputeLineImage(Node, lines);
      r.Left += static_cast<int>(Indent()) * levels;
    }
    NextPaintColumn(Node, Column, r);  // as wide as painting makes the cell
  }
  Canvas->DrawText(S, r, flags);
  return r.Bottom - r.Top;
}

QString TCustomLazyStringTree::DoShortenString(plat::TCanvas* Canvas, PLazyNode Node, TColumnIndex Column,
                                               const QString& S, int Width, int EllipsisWidth) {
  QString result;
  bool done = false;
  if (OnShortenString) OnShortenString(this, Canvas, Node, Column, S, Width, result, done);
  if (done) return result;
  return ShortenWithEllipsis(Canvas, S, Width, EllipsisWidth);
}

// --- Drawing -------------------------------------------------------------------------------------------------

void TCustomLazyStringTree::PaintNodeContent(const TLTPaintInfo& PaintInfo) {
  // The hook tells DrawMainText whether OnPaintText changed the font, so that it measures again.
  HookCanvasFontChange(PaintInfo.Canvas);
  try {
    TLSTGetCellTextEventArgs args{PaintInfo.Node, PaintInfo.Column, FDefaultText, {}, etNone};
    DoGetText(args);
    const int flags = plat::ETO_CLIPPED;
    if (!args.CellText.isEmpty()) DrawMainText(PaintInfo, flags, args.CellText);
    if (Alignment() != plat::taCenter && !PaintInfo.Node->Has(vsMultiline) &&
        FStringOptions.Has(toShowStaticText) && !args.StaticText.isEmpty())
      DrawStaticText(PaintInfo, flags, args.StaticText);
  } catch (...) {
    UnhookCanvasFontChange(PaintInfo.Canvas);
    throw;
  }
  UnhookCanvasFontChange(PaintInfo.Canvas);
}

TColumnIndex TCustomLazyStringTree::NextPaintColumn(PLazyNode Node, TColumnIndex Column, plat::TRect& CellRect) {
  const TLazyTreeColumns& cols = Header().Columns();
  if (!TreeOptions().AutoOptions.Has(toAutoSpanColumns) || !Header().UseColumns() || !cols.IsValidColumn(Column) ||
      cols[Column]->UseRightToLeftReading())
    return TBaseLazyTreeControl::NextPaintColumn(Node, Column, CellRect);
  // A text runs on over the empty cells after it.
  TColumnIndex next = cols.GetNextVisibleColumn(Column);
  while (next >= 0 && !cols[next]->UseRightToLeftReading() && CellIsEmpty(Node, next)) {
    CellRect.Right += cols[next]->Width();
    next = cols.GetNextVisibleColumn(next);
  }
  return next;
}

void TCustomLazyStringTree::NotifyEditCancelled() {
  TBaseLazyTreeControl::NotifyEditCancelled();
  ClearTextWidthCaches();
}

QString TCustomLazyStringTree::GetImageText(PLazyNode Node, TLTImageKind Kind, TColumnIndex Column) {
  if (!Node) throw ELazyTreeAssertion("Node must not be nil.");
  if (Node != RootNode() && !Node->Has(vsInitialized)) InitNode(Node);
  QString text;
  if (OnGetImageText) OnGetImageText(this, Node, Kind, Column, text);
  return text;
}

void TCustomLazyStringTree::PrepareTextFont(const TLTPaintInfo& PaintInfo) {
  plat::TCanvas* c = PaintInfo.Canvas;
  c->SetFont(*Font());
  c->Font()->SetColor(Enabled() ? Colors().NodeFontColor() : Colors().DisabledColor());
  PLazyNode node = PaintInfo.Node;
  const bool explorer = TreeStates().Has(tsUseExplorerTheme);
  if (TreeOptions().PaintOptions.Has(toHotTrack) && node == FHotNode && !explorer) {
    plat::TFontStyles style = c->Font()->Style();
    style.Include(plat::fsUnderline);
    c->Font()->SetStyle(style);
    c->Font()->SetColor(Colors().HotColor());
  }
  const bool inFocusColumn = PaintInfo.Column == FocusedColumn() ||
                             TreeOptions().SelectionOptions.Has(toFullRowSelect);
  if (!PaintInfo.PaintOptions.Has(poDrawSelection) || !inFocusColumn || explorer) return;
  const bool popup = TreeOptions().PaintOptions.Has(toPopupMode);
  bool selected;
  if (node == FDropTargetNode) selected = LastDropMode() == dmOnNode || node->Has(vsSelected);
  else selected = node->Has(vsSelected) && (Focused() || popup);
  if (selected) c->Font()->SetColor(Colors().SelectionTextColor());
}

void TCustomLazyStringTree::DrawMainText(const TLTPaintInfo& PaintInfo, int /*Flags*/, const QString& Text) {
  plat::TCanvas* c = PaintInfo.Canvas;
  PLazyNode node = PaintInfo.Node;
  const TColumnIndex column = PaintInfo.Column;
  PrepareTextFont(PaintInfo);
  plat::TRect r = PaintInfo.ContentRect;
  r.Left += TextMargin();
  r.Right -= TextMargin();
  c->SetTextFlags(0);
  const bool disabled = !Enabled() || node->Has(vsDisabled);
  // The paint pass has mirrored the alignment for a right-to-left column already; the selection uses it too.
  const unsigned alignFlag = AlignmentFlag(PaintInfo.Alignment);
  const unsigned reading = CellIsRightToLeft(column) ? plat::DT_RTLREADING : 0u;
  unsigned flags;
  QString text = Text;
  if (node->Has(vsMultiline)) {
    DoPaintText(node, c, column, ttNormal);
    const int h = ComputeNodeHeight(c, node, column);
    if (disabled) c->Font()->SetColor(Colors().DisabledColor());
    flags = alignFlag | reading | plat::DT_WORDBREAK | plat::DT_NOPREFIX | plat::DT_EDITCONTROL |
            plat::DT_END_ELLIPSIS;
    if (h < r.Height()) {
      const int d = (r.Height() - h) / 2;
      r.Top += d;
      r.Bottom -= d;
    }
  } else {
    SetFontChanged(false);
    DoPaintText(node, c, column, ttNormal);
    const bool fontChanged = FontChanged();
    int nodeWidth = PaintInfo.NodeWidth;
    if (fontChanged) nodeWidth = 2 * TextMargin() + c->TextExtent(Text).cx;
    if (disabled) c->Font()->SetColor(Colors().DisabledColor());
    flags = plat::DT_SINGLELINE | plat::DT_VCENTER | plat::DT_NOPREFIX | reading;
    if (column == NoColumn) {
      flags |= alignFlag;
    } else if (r.Width() < nodeWidth - 2 * TextMargin()) {
      // Too narrow: shortened, and kept at its edge when right-justified, else from the left.
      text = DoShortenString(c, node, column, Text, r.Width(), fontChanged ? 0 : FEllipsisWidth);
      if (alignFlag == plat::DT_RIGHT) flags |= plat::DT_RIGHT;
    } else {
      flags |= alignFlag;
    }
  }
  c->SetBkMode(c->TextFlags() & plat::ETO_OPAQUE ? plat::OPAQUE : plat::TRANSPARENT);
  RenderText(PaintInfo, text, flags, r);
}

void TCustomLazyStringTree::RenderText(const TLTPaintInfo& PaintInfo, const QString& Text, unsigned Flags,
                                       plat::TRect R) {
  bool defaultDraw = true;
  if (OnDrawText) OnDrawText(this, PaintInfo.Canvas, PaintInfo.Node, PaintInfo.Column, Text, R, defaultDraw);
  if (defaultDraw) PaintInfo.Canvas->DrawText(Text, R, Flags);
}

void TCustomLazyStringTree::DrawStaticText(const TLTPaintInfo& PaintInfo, int /*Flags*/, const QString& Text) {
  plat::TCanvas* c = PaintInfo.Canvas;
  PLazyNode node = PaintInfo.Node;
  c->SetFont(*Font());
  if (TreeOptions().SelectionOptions.Has(toFullRowSelect)) {
    bool selected;
    if (node == FDropTargetNode) selected = LastDropMode() == dmOnNode || node->Has(vsSelected);
    else selected = node->Has(vsSelected) && (Focused() || TreeOptions().PaintOptions.Has(toPopupMode));
    c->Font()->SetColor(selected ? Colors().SelectionTextColor() : Colors().NodeFontColor());
  }
  c->SetTextFlags(0);
  DoPaintText(node, c, PaintInfo.Column, ttStatic);
  if (!Enabled() || node->Has(vsDisabled)) c->Font()->SetColor(Colors().DisabledColor());
  plat::TRect r = PaintInfo.ContentRect;
  if (PaintInfo.Alignment == plat::taRightJustify) r.Right -= PaintInfo.NodeWidth + TextMargin();
  else r.Left += PaintInfo.NodeWidth + TextMargin();
  c->SetBkMode(c->TextFlags() & plat::ETO_OPAQUE ? plat::OPAQUE : plat::TRANSPARENT);
  c->DrawText(Text, r, plat::DT_SINGLELINE | plat::DT_VCENTER | plat::DT_NOPREFIX);
}

// --- Caches --------------------------------------------------------------------------------------------------

void TCustomLazyStringTree::InvalidateNode(PLazyNode Node) {
  if (Node && Node != RootNode()) {
    SetTextWidthCache(Node, 0);
    Node->Exclude(vsHeightMeasured);
  }
  TBaseLazyTreeControl::InvalidateNode(Node);
}

void TCustomLazyStringTree::ReinitNode(PLazyNode Node, bool Recursive) {
  TBaseLazyTreeControl::ReinitNode(Node, Recursive);
  if (!Node || Node == RootNode()) {
    if (Recursive) ClearTextWidthCaches();
    return;
  }
  SetTextWidthCache(Node, 0);
  if (!Recursive) return;
  for (PLazyNode n = GetFirstChildNoInit(Node); n && HasAsParent(n, Node); n = GetNextNoInit(n))
    SetTextWidthCache(n, 0);
}

// --- Restoring a selection by text ------------------------------------------------------------------------

namespace {

bool CaseInsensitiveLess(const QString& A, const QString& B) { return A.compare(B, Qt::CaseInsensitive) < 0; }

}  // namespace

// The main text as the text event gives it, without initialising the node.
QString TCustomLazyStringTree::SelectionText(PLazyNode Node) {
  QString text;
  OnGetText(this, Node, 0, ttNormal, text);
  return text;
}

void TCustomLazyStringTree::AddToSelection(PLazyNode Node) {
  TBaseLazyTreeControl::AddToSelection(Node);
  if (TreeOptions().SelectionOptions.Has(toRestoreSelection) && OnGetText && Node->Has(vsSelected) &&
      !TreeStates().Has(tsPreviouslySelectedLocked)) {
    if (!FPreviouslySelected) FPreviouslySelected = std::make_unique<std::set<QString, bool (*)(const QString&, const QString&)>>(&CaseInsensitiveLess);
    if (SelectedCount() == 1) FPreviouslySelected->clear();
    FPreviouslySelected->insert(SelectionText(Node));
  }
  ChooseNextNodeToSelect(Node);
}

void TCustomLazyStringTree::RemoveFromSelection(PLazyNode Node) {
  TBaseLazyTreeControl::RemoveFromSelection(Node);
  if (!FPreviouslySelected || !TreeOptions().SelectionOptions.Has(toRestoreSelection) || Node->Has(vsSelected))
    return;
  if (SelectedCount() == 0) FPreviouslySelected->clear();
  else if (OnGetText) FPreviouslySelected->erase(SelectionText(Node));
}

PLazyNode TCustomLazyStringTree::AddChild(PLazyNode Parent, void* UserData) {
  PLazyNode node = TBaseLazyTreeControl::AddChild(Parent, UserData);
  if (!FPreviouslySelected || !OnGetText || !TreeOptions().SelectionOptions.Has(toRestoreSelection)) return node;
  if (!FPreviouslySelected->count(SelectionText(node))) return node;
  DoStateChange({tsPreviouslySelectedLocked});
  struct Unlock {
    TCustomLazyStringTree* tree;
    ~Unlock() { tree->DoStateChange({}, {tsPreviouslySelectedLocked}); }
  } unlock{this};
  AddToSelection(node);
  if (!Updating()) ScrollIntoView(GetFirstSelected(), true);
  return node;
}

// --- CSV -----------------------------------------------------------------------------------------------------

namespace {

QString CsvField(const QString& S) {
  QString q = S;
  q.replace(QLatin1Char('"'), QLatin1String("\"\""));
  return QLatin1Char('"') + q + QLatin1Char('"');
}

}  // namespace

bool TCustomLazyStringTree::SaveToCSVFile(const QString& FileNameWithPath, bool IncludeHeading) {
  if (FileNameWithPath.isEmpty()) return false;
  const TLazyTreeColumns& columns = Header().Columns();
  const int count = columns.Count();
  plat::TStringList lines;
  if (IncludeHeading) {
    QStringList fields;
    for (int c = 0; c < count; ++c) fields << CsvField(columns[c]->Text());
    lines.Add(fields.join(QLatin1Char(',')));
  }
  for (PLazyNode n = GetFirstChildNoInit(nullptr); n; n = n->NextSibling) {
    QStringList fields;
    for (int c = 0; c < count; ++c) {
      const QString text = GetText(n, c);
      fields << CsvField(text.isEmpty() ? QStringLiteral(" ") : text);
    }
    lines.Add(fields.join(QLatin1Char(',')));
  }
  lines.SaveToFile(FileNameWithPath);  // through a temporary file: the old one stays whole on failure
  return true;
}

}  // namespace lazytree
