// The string grid's column layout kept between runs: widths and order in the store ColumnSize names, and the
// column states as one text, and its looks in the visual-properties file. The grid's side of the data
// services' layout and visual-properties routines; its own fonts follow its form's scaling.
#include "grid/data/column_layout.h"
#include "grid/data/visual_props.h"
#include "grid/extgrid.h"

namespace grid {

namespace {

class TGridLayoutHost : public TLayoutHost {
 public:
  explicit TGridLayoutHost(TExtStringGrid& Grid) : G(Grid) {}
  int ColCount() const override { return G.ColCount(); }
  int AllColCount() const override { return G.AllColCount(); }
  void SetColCount(int Value) override { G.SetColCount(Value); }
  int ColWidth(int ACol) const override { return G.ColWidths(ACol); }
  void SetColWidth(int ACol, int Value) override { G.SetColWidths(ACol, Value); }
  int DefaultColWidth() const override { return G.DefaultColWidth(); }
  void SetDefaultColWidth(int Value) override { G.SetDefaultColWidth(Value); }
  bool IsHiddenColumn(int ACol) const override { return G.IsHiddenColumn(ACol); }
  void HideColumn(int ACol) override { G.HideColumn(ACol); }
  void UnHideColumnsAll() override { G.UnHideColumnsAll(); }
  std::vector<int> ColumnOrder() const override {
    const TIntList& l = *G.ColumnOrderList();
    return std::vector<int>(l.begin(), l.end());
  }
  void SetColumnOrderList(const std::vector<int>& Order) override {
    TIntList& l = *G.ColumnOrderList();
    l.Clear();
    for (std::size_t i = 0; i < Order.size(); ++i) l.Insert(static_cast<int>(i), Order[i]);
  }
  void ResetColumnOrder() override { G.ResetColumnOrder(); }
  bool Stretch() const override { return G.ColumnSize()->Stretch(); }
  void SetStretch(bool Value) override { G.ColumnSize()->SetStretch(Value); }
  int StretchColumn() const override { return G.ColumnSize()->StretchColumn; }

 private:
  TExtStringGrid& G;
};

bool HasStore(TExtStringGrid& G) {
  const TColumnSize& s = *G.ColumnSize();
  return !s.Key.isEmpty() && !s.Section.isEmpty() && !G.ComponentState().Contains(plat::csDesigning);
}

TSettingsLocation Location(TExtStringGrid& G) {
  return G.ColumnSize()->Location == clIniFile ? slIniFile : slRegistry;
}

}  // namespace

QString TExtStringGrid::ColumnStatesToString() {
  TGridLayoutHost host(*this);
  return ColumnStatesText(ReadColumnStates(host));
}

void TExtStringGrid::StringToColumnStates(const QString& Value) {
  TGridLayoutHost host(*this);
  ApplyColumnStates(host, Value);
}

void TExtStringGrid::SaveColSizes() {
  if (!HasStore(*this)) return;
  TGridLayoutHost host(*this);
  TSettingsStore store(Location(*this), FColumnSize.Key);
  grid::SaveColSizes(host, store, FColumnSize.Section);
}

void TExtStringGrid::LoadColSizes() {
  if (!HasStore(*this)) return;
  TGridLayoutHost host(*this);
  const TSettingsStore store(Location(*this), FColumnSize.Key);
  grid::LoadColSizes(host, store, FColumnSize.Section);
}

void TExtStringGrid::SaveColPositions() {
  if (!HasStore(*this)) return;
  TGridLayoutHost host(*this);
  TSettingsStore store(Location(*this), FColumnSize.Key);
  grid::SaveColPositions(host, store, FColumnSize.Section);
}

void TExtStringGrid::LoadColPositions() {
  if (!HasStore(*this)) return;
  TGridLayoutHost host(*this);
  const TSettingsStore store(Location(*this), FColumnSize.Key);
  grid::LoadColPositions(host, store, FColumnSize.Section);
}

// ---- the visual properties file

namespace {

using TColor = plat::TColor;

TVisualProp ColorProp(const char* Key, std::function<TColor()> Get, std::function<void(TColor)> Set) {
  TVisualProp p;
  p.Key = QString::fromLatin1(Key), p.Kind = TVisualProp::vkColor;
  p.Get = [Get] {
    TVisualValue v;
    v.Color = Get();
    return v;
  };
  p.Set = [Set](const TVisualValue& v) { Set(v.Color); };
  return p;
}

TVisualProp BoolProp(const char* Key, std::function<bool()> Get, std::function<void(bool)> Set) {
  TVisualProp p;
  p.Key = QString::fromLatin1(Key), p.Kind = TVisualProp::vkBool;
  p.Get = [Get] {
    TVisualValue v;
    v.Bool = Get();
    return v;
  };
  p.Set = [Set](const TVisualValue& v) { Set(v.Bool); };
  return p;
}

TVisualProp IntProp(const char* Key, std::function<int()> Get, std::function<void(int)> Set) {
  TVisualProp p;
  p.Key = QString::fromLatin1(Key), p.Kind = TVisualProp::vkInt;
  p.Get = [Get] {
    TVisualValue v;
    v.Int = Get();
    return v;
  };
  p.Set = [Set](const TVisualValue& v) { Set(v.Int); };
  return p;
}

// Idents name the values 0, 1, ...; a value beyond them is written as the empty text.
TVisualProp EnumProp(const char* Key, const QStringList& Idents, std::function<int()> Get, std::function<void(int)> Set) {
  TVisualProp p;
  p.Key = QString::fromLatin1(Key), p.Kind = TVisualProp::vkEnum, p.Idents = Idents;
  p.Get = [Get, Idents] {
    TVisualValue v;
    v.Int = Get();
    v.Ident = v.Int >= 0 && v.Int < Idents.size() ? Idents[v.Int] : QString();
    return v;
  };
  p.Set = [Set](const TVisualValue& v) { Set(v.Int); };
  return p;
}

// The font is changed in place: its owner hears of the change as of any other.
TVisualProp FontProp(const char* Key, std::function<plat::TFont*()> Font) {
  TVisualProp p;
  p.Key = QString::fromLatin1(Key), p.Kind = TVisualProp::vkFont;
  p.Get = [Font] {
    const plat::TFont& f = *Font();
    TVisualValue v;
    v.Font.Color = f.Color(), v.Font.Style = f.Style(), v.Font.Size = f.Size(), v.Font.Name = f.Name();
    return v;
  };
  p.Set = [Font](const TVisualValue& v) {
    plat::TFont& f = *Font();
    f.SetColor(v.Font.Color);
    f.SetStyle(v.Font.Style);
    f.SetSize(v.Font.Size);
    f.SetName(v.Font.Name);
  };
  return p;
}

QStringList Idents(std::initializer_list<const char*> Names) {
  QStringList l;
  for (const char* n : Names) l << QString::fromLatin1(n);
  return l;
}

// The file's keys in the order they are written.
std::vector<TVisualProp> VisualPropsOf(TExtStringGrid& G) {
  TExtStringGrid* g = &G;
  std::vector<TVisualProp> p;
  p.push_back(ColorProp("Color", [g] { return g->Color(); }, [g](TColor c) { g->SetColor(c); }));
  p.push_back(ColorProp("HintColor", [g] { return g->HintColor; }, [g](TColor c) { g->HintColor = c; }));
  p.push_back(ColorProp("SelectionColor", [g] { return g->SelectionColor(); }, [g](TColor c) { g->SetSelectionColor(c); }));
  p.push_back(ColorProp("SelectionColorTo", [g] { return g->SelectionColorTo(); }, [g](TColor c) { g->SetSelectionColorTo(c); }));
  p.push_back(ColorProp("SelectionMirrorColor", [g] { return g->SelectionMirrorColor(); },
                        [g](TColor c) { g->SetSelectionMirrorColor(c); }));
  p.push_back(ColorProp("SelectionMirrorColorTo", [g] { return g->SelectionMirrorColorTo(); },
                        [g](TColor c) { g->SetSelectionMirrorColorTo(c); }));
  p.push_back(ColorProp("SelectionTextColor", [g] { return g->SelectionTextColor(); },
                        [g](TColor c) { g->SetSelectionTextColor(c); }));
  p.push_back(ColorProp("URLColor", [g] { return g->URLColor; }, [g](TColor c) { g->SetURLColor(c); }));
  p.push_back(BoolProp("URLShow", [g] { return g->URLShow(); }, [g](bool b) { g->SetURLShow(b); }));
  p.push_back(BoolProp("URLShowInText", [g] { return g->URLShowInText(); }, [g](bool b) { g->SetURLShowInText(b); }));
  p.push_back(ColorProp("ScrollColor", [g] { return g->ScrollColor; }, [g](TColor c) { g->SetScrollColor(c); }));
  p.push_back(ColorProp("ActiveRowColor", [g] { return g->ActiveRowColor(); }, [g](TColor c) { g->SetActiveRowColor(c); }));
  p.push_back(BoolProp("ActiveRowShow", [g] { return g->ActiveRowShow(); }, [g](bool b) { g->SetActiveRowShow(b); }));
  p.push_back(BoolProp("ActiveCellShow", [g] { return g->ActiveCellShow(); }, [g](bool b) { g->SetActiveCellShow(b); }));
  p.push_back(FontProp("Font", [g] { return g->Font(); }));
  p.push_back(ColorProp("ActiveCellColor", [g] { return g->ActiveCellColor(); }, [g](TColor c) { g->SetActiveCellColor(c); }));
  p.push_back(ColorProp("ActiveCellColorTo", [g] { return g->ActiveCellColorTo(); },
                        [g](TColor c) { g->SetActiveCellColorTo(c); }));
  p.push_back(FontProp("ActiveCellFont", [g] { return g->ActiveCellFont(); }));
  p.push_back(FontProp("FixedFont", [g] { return g->FixedFont(); }));
  p.push_back(ColorProp("Balloon.BackgroundColor", [g] { return g->Balloon()->BackgroundColor; },
                        [g](TColor c) { g->Balloon()->BackgroundColor = c; }));
  p.push_back(ColorProp("Balloon.TextColor", [g] { return g->Balloon()->TextColor; },
                        [g](TColor c) { g->Balloon()->TextColor = c; }));
  p.push_back(IntProp("Balloon.Transparency", [g] { return int(g->Balloon()->Transparency); },
                      [g](int i) { g->Balloon()->Transparency = quint8(i); }));
  TBands* bands = G.Bands();
  p.push_back(ColorProp("Bands.PrimaryColor", [bands] { return bands->PrimaryColor(); },
                        [bands](TColor c) { bands->SetPrimaryColor(c); }));
  p.push_back(ColorProp("Bands.SecondaryColor", [bands] { return bands->SecondaryColor(); },
                        [bands](TColor c) { bands->SetSecondaryColor(c); }));
  p.push_back(BoolProp("Bands.Active", [bands] { return bands->Active(); }, [bands](bool b) { bands->SetActive(b); }));
  p.push_back(ColorProp("SortSettings.IndexColor", [g] { return g->SortSettings()->IndexColor(); },
                        [g](TColor c) { g->SortSettings()->SetIndexColor(c); }));
  p.push_back(ColorProp("FloatingFooter.Color", [g] { return g->FloatingFooter()->Color(); },
                        [g](TColor c) { g->FloatingFooter()->SetColor(c); }));
  TControlLook* look = G.ControlLook();
  p.push_back(IntProp("ControlLook.CheckSize", [look] { return look->CheckSize(); }, [look](int i) { look->SetCheckSize(i); }));
  p.push_back(ColorProp("ControlLook.Color", [look] { return look->Color(); }, [look](TColor c) { look->SetColor(c); }));
  p.push_back(ColorProp("ControlLook.CommentColor", [look] { return look->CommentColor(); },
                        [look](TColor c) { look->SetCommentColor(c); }));
  p.push_back(EnumProp("ControlLook.ControlStyle",
                       Idents({"csClassic", "csFlat", "csWinXP", "csCorvane", "csExt", "csGlyph", "csTheme"}),
                       [look] { return int(look->ControlStyle()); },
                       [look](int i) { look->SetControlStyle(TControlStyle(i)); }));
  p.push_back(ColorProp("ControlLook.FixedGradientFrom", [look] { return look->FixedGradientFrom(); },
                        [look](TColor c) { look->SetFixedGradientFrom(c); }));
  p.push_back(ColorProp("ControlLook.FixedGradientTo", [look] { return look->FixedGradientTo(); },
                        [look](TColor c) { look->SetFixedGradientTo(c); }));
  p.push_back(IntProp("ControlLook.RadioSize", [look] { return look->RadioSize(); }, [look](int i) { look->SetRadioSize(i); }));
  p.push_back(BoolProp("ControlLook.FlatButton", [look] { return look->FlatButton(); }, [look](bool b) { look->SetFlatButton(b); }));
  p.push_back(ColorProp("ControlLook.ProgressBorderColor", [look] { return look->ProgressBorderColor; },
                        [look](TColor c) { look->ProgressBorderColor = c; }));
  p.push_back(BoolProp("ControlLook.ProgressXP", [look] { return look->ProgressXP(); }, [look](bool b) { look->SetProgressXP(b); }));
  // The custom look has no identifier: it is written empty and read as no change.
  p.push_back(EnumProp("Look", Idents({"glStandard", "glSoft", "glClassic", "glExt", "glXP", "glListView", "glVista",
                                       "glWin7", "glOffice2007"}),
                       [g] { return int(g->Look()); }, [g](int i) { g->SetLook(TGridLook(i)); }));
  p.push_back(ColorProp("SearchFooter.Color", [g] { return g->SearchFooter()->Color(); },
                        [g](TColor c) { g->SearchFooter()->SetColor(c); }));
  p.push_back(ColorProp("SearchFooter.ColorTo", [g] { return g->SearchFooter()->ColorTo(); },
                        [g](TColor c) { g->SearchFooter()->SetColorTo(c); }));
  TGrouping* gr = G.Grouping();
  const auto groupColor = [&](const char* Key, TColor TGrouping::*Field) {
    p.push_back(ColorProp(Key, [gr, Field] { return gr->*Field; }, [gr, Field](TColor c) { gr->*Field = c; }));
  };
  const auto groupInt = [&](const char* Key, int TGrouping::*Field) {
    p.push_back(IntProp(Key, [gr, Field] { return gr->*Field; }, [gr, Field](int i) { gr->*Field = i; }));
  };
  const auto groupBool = [&](const char* Key, bool TGrouping::*Field) {
    p.push_back(BoolProp(Key, [gr, Field] { return gr->*Field; }, [gr, Field](bool b) { gr->*Field = b; }));
  };
  groupColor("Grouping.HeaderColor", &TGrouping::HeaderColor);
  groupColor("Grouping.HeaderColorTo", &TGrouping::HeaderColorTo);
  groupColor("Grouping.HeaderTextColor", &TGrouping::HeaderTextColor);
  groupBool("Grouping.HeaderUnderline", &TGrouping::HeaderUnderline);
  groupColor("Grouping.HeaderLineColor", &TGrouping::HeaderLineColor);
  groupInt("Grouping.HeaderLineWidth", &TGrouping::HeaderLineWidth);
  groupColor("Grouping.SummaryColor", &TGrouping::SummaryColor);
  groupColor("Grouping.SummaryColorTo", &TGrouping::SummaryColorTo);
  groupColor("Grouping.SummaryTextColor", &TGrouping::SummaryTextColor);
  groupBool("Grouping.SummaryLine", &TGrouping::SummaryLine);
  groupColor("Grouping.SummaryLineColor", &TGrouping::SummaryLineColor);
  groupInt("Grouping.SummaryLineWidth", &TGrouping::SummaryLineWidth);
  p.push_back(ColorProp("GridLineColor", [g] { return g->GridLineColor(); }, [g](TColor c) { g->SetGridLineColor(c); }));
  p.push_back(ColorProp("GridFixedLineColor", [g] { return g->GridFixedLineColor(); },
                        [g](TColor c) { g->SetGridFixedLineColor(c); }));
  TBackGround* bg = G.BackGround();
  p.push_back(IntProp("BackGround.Top", [bg] { return bg->Top(); }, [bg](int i) { bg->SetTop(i); }));
  p.push_back(IntProp("BackGround.Left", [bg] { return bg->Left(); }, [bg](int i) { bg->SetLeft(i); }));
  p.push_back(EnumProp("BackGround.Display", Idents({"bdTile", "bdFixed", "bdGradientHorz", "bdGradientVert"}),
                       [bg] { return int(bg->Display()); }, [bg](int i) { bg->SetDisplay(TBackGroundDisplay(i)); }));
  p.push_back(EnumProp("BackGround.Cells", Idents({"bcNormal", "bcFixed", "bcAll"}), [bg] { return int(bg->Cells()); },
                       [bg](int i) { bg->SetCells(TBackGroundCells(i)); }));
  p.push_back(ColorProp("BackGround.Color", [bg] { return bg->Color(); }, [bg](TColor c) { bg->SetColor(c); }));
  p.push_back(ColorProp("BackGround.ColorTo", [bg] { return bg->ColorTo(); }, [bg](TColor c) { bg->SetColorTo(c); }));
  return p;
}

}  // namespace

void TExtStringGrid::SaveVisualProps(const QString& FileName) { grid::SaveVisualProps(VisualPropsOf(*this), FileName); }

void TExtStringGrid::LoadVisualProps(const QString& FileName) { grid::LoadVisualProps(VisualPropsOf(*this), FileName); }

void TExtStringGrid::ChangeScale(int M, int D) {
  TRenderGrid::ChangeScale(M, D);
  if (IsDesigning() || M == D || D == 0) return;
  // The grid's own fonts follow its form's scaling.
  FixedFont()->SetSize(plat::MulDiv(FixedFont()->Size(), M, D));
  ActiveCellFont()->SetSize(plat::MulDiv(ActiveCellFont()->Size(), M, D));
}

}  // namespace grid
