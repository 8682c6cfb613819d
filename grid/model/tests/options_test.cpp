#include "grid/model/options.h"

#include <gtest/gtest.h>

namespace grid {
namespace {

struct Counter {
  int n = 0;
  plat::TNotifyEvent Event() {
    return [this](plat::TObject*) { ++n; };
  }
};

TEST(Bands, TotalLengthAndNotificationOnlyWhileActive) {
  TBands bands;
  Counter changes;
  bands.OnChange = changes.Event();
  EXPECT_EQ(bands.TotalLength(), 2);
  bands.SetPrimaryLength(3);
  EXPECT_EQ(bands.TotalLength(), 4);
  bands.SetPrimaryColor(plat::clRed);
  EXPECT_EQ(changes.n, 0);  // inactive bands change silently
  bands.SetActive(true);
  bands.SetActive(true);
  bands.SetSecondaryColor(plat::clBlue);
  bands.SetSecondaryColor(plat::clBlue);
  EXPECT_EQ(changes.n, 2);

  TBands other;
  other.SetPrimaryLength(2);
  other.SetSecondaryLength(5);
  bands.Assign(&other);
  EXPECT_EQ(bands.TotalLength(), 7);
  EXPECT_FALSE(bands.Active());
  EXPECT_EQ(changes.n, 2);  // Assign does not notify
}

TEST(SyncGrid, RefusesItsOwnGrid) {
  plat::TComponent owner(nullptr), other(nullptr);
  TSyncGrid sync(&owner);
  sync.SetGrid(&other);
  sync.SetGrid(&owner);
  EXPECT_EQ(sync.Grid(), &other);
  TSyncGrid copy(&other);
  copy.Assign(&sync);  // through the setter: the copy's own grid is refused as well
  EXPECT_EQ(copy.Grid(), nullptr);
}

TEST(Navigation, AdvanceAutoTurnsAdvanceOnEnterOnButNotOff) {
  TNavigation nav;
  Counter changes;
  nav.OnChange = changes.Event();
  nav.SetAdvanceAuto(true);
  EXPECT_TRUE(nav.AdvanceOnEnter);
  nav.SetAdvanceAuto(false);
  EXPECT_TRUE(nav.AdvanceOnEnter);
  EXPECT_EQ(changes.n, 0);
  nav.SetAdvanceDirection(adTopBottom);
  nav.SetAdvanceDirection(adTopBottom);
  nav.SetAdvanceInsert(true);
  EXPECT_EQ(changes.n, 2);

  // Defaults that start true, and the one setting Assign leaves alone.
  TNavigation fresh;
  EXPECT_TRUE(fresh.CopyHTMLTagsToClipboard && fresh.AllowClipboardRowGrow && fresh.AllowClipboardColGrow &&
              fresh.EditSelectAll && fresh.SkipFixedCells && fresh.AllowCtrlEnter && fresh.CursorWalkAlwaysEdit &&
              fresh.AdvanceAutoEdit && fresh.LeftRightRowSelect && fresh.ComboGetUpDown &&
              fresh.SkipDisabledRows && fresh.AdvanceOnEnterLoop && fresh.AdvanceSkipReadOnlyCells);
  EXPECT_FALSE(fresh.AllowInsertRow || fresh.AdvanceOnEnter || fresh.TabToNextAtEnd);
  nav.KeepScrollOnSort = true;
  nav.HomeEndKey = heFirstLastCell;
  fresh.Assign(&nav);
  EXPECT_FALSE(fresh.KeepScrollOnSort);
  EXPECT_EQ(fresh.HomeEndKey, heFirstLastCell);
  EXPECT_EQ(fresh.AdvanceDirection(), adTopBottom);
}

TEST(MouseActions, DisjunctSelectionsAreExclusiveOnlyWhileDesigning) {
  plat::TComponent owner(nullptr);
  TMouseActions mouse(&owner);
  bool designing = false;
  mouse.OnIsDesigning = [&](plat::TObject*, bool& d) { d = designing; };
  mouse.SetDisjunctRowSelect(true);
  mouse.SetDisjunctColSelect(true);
  EXPECT_TRUE(mouse.DisjunctRowSelect());
  designing = true;
  mouse.SetDisjunctCellSelect(true);
  EXPECT_FALSE(mouse.DisjunctRowSelect());
  EXPECT_FALSE(mouse.DisjunctColSelect());
  EXPECT_TRUE(mouse.DisjunctCellSelect());
}

TEST(MouseActions, HotmailRowSelectAndWhatAssignLeaves) {
  plat::TComponent owner(nullptr);
  TMouseActions mouse(&owner);
  Counter invalidates, disables, changes;
  mouse.OnInvalidate = invalidates.Event();
  mouse.OnDisableEdit = disables.Event();
  mouse.OnChange = changes.Event();
  mouse.SetHotmailRowSelect(true);
  EXPECT_TRUE(mouse.DisjunctRowSelect());
  EXPECT_TRUE(mouse.CheckAllCheck);
  mouse.SetHotmailRowSelect(false);
  EXPECT_EQ(invalidates.n, 2);
  mouse.SetEditOnDblClickOnly(true);
  mouse.SetEditOnDblClickOnly(false);
  EXPECT_EQ(disables.n, 1);
  mouse.SetWheelAction(waScroll);
  mouse.SetWheelAction(waScroll);
  EXPECT_EQ(changes.n, 1);

  mouse.SizeFixedRow = true;
  mouse.SizeFixedCol = true;
  mouse.FixedComboValues()->Add("a");
  TMouseActions copy(&owner);
  copy.Assign(&mouse);
  EXPECT_TRUE(copy.SizeFixedCol);
  EXPECT_FALSE(copy.SizeFixedRow);
  EXPECT_EQ(copy.FixedComboValues()->Count(), 0);
  EXPECT_FALSE(copy.EditOnDblClickOnly());
  EXPECT_EQ(copy.WheelAction(), waScroll);
  EXPECT_TRUE(copy.DisjunctRowSelect());
}

TEST(Options, EventsFireAsEachSettingSays) {
  TBalloonSettings balloon;
  Counter enables;
  balloon.OnEnableChange = enables.Event();
  balloon.SetEnable(false);  // the value it already has: still fires
  balloon.SetEnable(true);
  EXPECT_EQ(enables.n, 2);

  TShowModified modified;
  Counter colours;
  modified.OnChange = colours.Event();
  modified.SetColor(plat::clYellow);
  EXPECT_EQ(colours.n, 1);

  TGridProgressAppearance progress;
  Counter looks;
  progress.OnChange = looks.Event();
  progress.SetSteps(11);
  progress.SetSteps(12);
  progress.SetLevel0Color(0x00FF00);
  TGridProgressAppearance other;
  other.Assign(&progress);
  EXPECT_EQ(looks.n, 1);
  EXPECT_EQ(other.Steps(), 12);
  EXPECT_EQ(other.Level2Color(), 0x53A9FF);
  EXPECT_EQ(other.UnCompleteFontColor(), plat::clWindowText);
}

TEST(DragDropSettings, DropTargetChangesAreHandedOnOutsideTheDesigner) {
  plat::TComponent owner(nullptr);
  TDragDropSettings dd(&owner);
  std::vector<bool> targets;
  dd.OnDropTargetChange = [&](bool v) { targets.push_back(v); };
  dd.SetOleDropTarget(true);
  owner.SetDesigning(true);
  dd.SetOleDropTarget(false);
  EXPECT_EQ(targets, std::vector<bool>{true});
  EXPECT_FALSE(dd.OleDropTarget());
  TDragDropSettings copy(&owner);
  dd.OleColumnsOnly = true;
  copy.Assign(&dd);
  EXPECT_TRUE(copy.OleColumnsOnly);
  EXPECT_EQ(targets.size(), 1u);  // Assign registers nothing
}

TEST(Options, AssignSkipsWhatEachClassKeeps) {
  TGrouping g;
  g.Summary = true;
  g.HeaderLineWidth = 5;
  g.MergeHeader = true;
  TGrouping gc;
  gc.Assign(&g);
  EXPECT_TRUE(gc.MergeHeader);
  EXPECT_FALSE(gc.Summary);
  EXPECT_EQ(gc.HeaderLineWidth, 2);

  THTMLSettings h;
  h.ExportImages = false;
  h.Width = 80;
  h.ColWidths.Add(3);
  THTMLSettings hc;
  hc.Assign(&h);
  EXPECT_TRUE(hc.ExportImages);
  EXPECT_EQ(hc.Width, 80);
  EXPECT_EQ(hc.ColWidths.Count(), 0);

  TDragScrollOptions d;
  d.Delays()->RepeatDelay = 10;
  d.Margins()->LeftMargin = 7;
  d.Active = true;
  TDragScrollOptions dc;
  dc.Assign(&d);
  EXPECT_EQ(dc.Delays()->RepeatDelay, 10);
  EXPECT_EQ(dc.Margins()->LeftMargin, 7);
  EXPECT_TRUE(dc.Active);

  TBands bands;
  bands.Assign(&g);  // another class: nothing copied, no error
  EXPECT_EQ(bands.TotalLength(), 2);
}

TEST(GridItem, OwnsItsRowTexts) {
  plat::TCollection hidden(plat::ItemClassOf<TGridItem>());
  auto* item = static_cast<TGridItem*>(hidden.Add());
  ASSERT_NE(item->Items(), nullptr);
  EXPECT_EQ(item->Items()->Count(), 0);
  item->SetIdx(4);
  item->SetHeight(20);
  auto texts = std::make_unique<plat::TStringList>();
  texts->Add("x");
  item->SetItems(std::move(texts));
  EXPECT_EQ(item->Items()->Strings(0), "x");
  EXPECT_EQ(item->Idx(), 4);
}

}  // namespace
}  // namespace grid
