// The column menu: entries in display or index order with check marks, the fit entry, the last visible column
// kept, the handler's disabled and hidden entries, choosing entries, and the header's automatic menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/forms/forms.h"
#include "platform/forms/menus.h"
#include "tree/treecolumns.h"
#include "tree/treecontrol.h"
#include "tree/treeheaderpopup.h"

namespace lazytree {
namespace {

// Runs popups without a menu loop: records the entries and chooses the one named by Choose (-1: none).
struct Runner {
  std::vector<std::string> shown;
  int choose = -1;
  plat::TPopupMenuRunner previous;
  Runner() {
    previous = plat::SetPopupMenuRunner([this](plat::TPopupMenu* m, int, int) -> plat::TMenuItem* {
      shown.clear();
      for (int i = 0; i < m->Items()->Count(); ++i) {
        const plat::TMenuItem* it = m->Items()->Items(i);
        shown.push_back(it->Caption().toStdString() + (it->Checked() ? " [x]" : "") + (it->Enabled() ? "" : " off"));
      }
      return choose >= 0 ? m->Items()->Items(choose) : nullptr;
    });
  }
  ~Runner() { plat::SetPopupMenuRunner(previous); }
};

struct Fixture {
  plat::TForm form{nullptr};
  TBaseLazyTreeControl* tree;
  TLTHeaderPopupMenu* menu;
  Runner runner;
  Fixture(int columns) {
    form.SetBounds(0, 0, 600, 400);
    tree = new TBaseLazyTreeControl(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 400, 200);
    for (int i = 0; i < columns; ++i) Cols().Add()->SetText(QStringLiteral("C%1").arg(i));
    menu = new TLTHeaderPopupMenu(&form);
    menu->SetPopupComponent(tree);
  }
  TLazyTreeColumns& Cols() { return tree->Header().Columns(); }
  void Hide(int i) { Cols()[i]->SetOptions(Cols()[i]->Options() - TLTColumnOptions{coVisible}); }
  std::vector<std::string>& Show() {
    menu->Popup(0, 0);
    return runner.shown;
  }
};

using Entries = std::vector<std::string>;

TEST(HeaderPopup, WithoutColumnsOnlyTheFitEntry) {
  Fixture f(0);
  EXPECT_EQ(f.Show(), Entries{});
  f.menu->SetOptions({poResizeToFitItem});
  EXPECT_EQ(f.Show(), (Entries{"&Resize All Columns To Fit", "-"}));
  f.runner.choose = 0;
  f.Show();  // fits nothing, fails nothing
}

TEST(HeaderPopup, TheLastVisibleColumnCannotBeHidden) {
  Fixture f(3);
  f.Hide(0);
  f.Hide(2);
  EXPECT_EQ(f.Show(), (Entries{"C0", "C1 [x] off", "C2"}));
  f.menu->SetOptions({poAllowHideAll});
  EXPECT_EQ(f.Show(), (Entries{"C0", "C1 [x]", "C2"}));
  // An entry the handler hides is not remembered, so nothing is disabled.
  f.menu->SetOptions({});
  f.menu->OnAddHeaderPopupItem = [](TBaseLazyTreeControl*, TColumnIndex c, TAddPopupItemType& cmd) {
    if (c == 1) cmd = apHidden;
    if (c == 2) cmd = apDisabled;
  };
  EXPECT_EQ(f.Show(), (Entries{"C0", "C2 off"}));
}

TEST(HeaderPopup, EntriesFollowDisplayOrderUnlessOriginalOrderIsAsked) {
  Fixture f(3);
  f.Cols()[2]->SetPosition(0);
  EXPECT_EQ(f.Show(), (Entries{"C2 [x]", "C0 [x]", "C1 [x]"}));
  f.menu->SetOptions({poOriginalOrder});
  EXPECT_EQ(f.Show(), (Entries{"C0 [x]", "C1 [x]", "C2 [x]"}));
}

TEST(HeaderPopup, ChoosingAnEntrySwitchesItsColumn) {
  Fixture f(3);
  std::vector<std::pair<int, bool>> changes;
  f.menu->OnColumnChange = [&](TBaseLazyTreeControl*, TColumnIndex c, bool visible) { changes.emplace_back(c, visible); };
  f.runner.choose = 1;
  f.Show();
  EXPECT_FALSE(f.Cols()[1]->Visible());
  f.Show();
  EXPECT_TRUE(f.Cols()[1]->Visible());
  EXPECT_EQ(changes, (std::vector<std::pair<int, bool>>{{1, false}, {1, true}}));
  // Without a tree to work on the menu shows what it has and changes nothing.
  f.menu->SetPopupComponent(&f.form);
  f.Show();
  EXPECT_TRUE(f.Cols()[1]->Visible());
}

TEST(HeaderPopup, ARightClickInTheHeaderShowsTheAutomaticMenu) {
  Fixture f(3);
  TLTHeader& h = f.tree->Header();
  h.SetOptions(h.Options() + TLTHeaderOptions{hoVisible, hoAutoColumnPopupMenu});
  std::vector<std::pair<int, bool>> changes;
  h.OnColumnVisibilityChanged = [&](TBaseLazyTreeControl*, int c, bool v) { changes.emplace_back(c, v); };
  f.runner.choose = 2;
  plat::TMessage up{plat::WM_RBUTTONUP, 0, plat::MakeLParam(10, -5), 0};
  h.HeaderMessage(up);
  // Without hoDblClickResize (and without rows) there is no fit entry.
  EXPECT_EQ(f.runner.shown, (Entries{"C0 [x]", "C1 [x]", "C2 [x]"}));
  EXPECT_FALSE(f.Cols()[2]->Visible());
  EXPECT_EQ(changes, (std::vector<std::pair<int, bool>>{{2, false}}));
  f.tree->AddChild(nullptr);
  h.SetOptions(h.Options() + TLTHeaderOptions{hoDblClickResize});
  f.runner.choose = -1;
  h.HeaderMessage(up);
  EXPECT_EQ(f.runner.shown.front(), "&Resize All Columns To Fit");
}

}  // namespace
}  // namespace lazytree
