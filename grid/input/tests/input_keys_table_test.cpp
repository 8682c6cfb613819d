// One table of keys on the shown 6 x 8 grid: key, modifiers, options and the starting cell against the cell,
// the selection and the editing state the key leaves behind.
#include "grid/input/tests/input_fixture.h"

namespace grid {
namespace {

using plat::TGridOptions;
using plat::TGridRect;
using plat::TPoint;
using plat::TShiftState;
using plat::ssCtrl;
using plat::ssShift;

struct KeyCase {
  const char* what;
  std::uint16_t key;
  TShiftState shift;
  TGridOptions options;
  TPoint from;
  TPoint to;
  TGridRect selection;
  bool editing;
};

constexpr auto kRange = plat::goRangeSelect;
constexpr auto kRow = plat::goRowSelect;
constexpr auto kEdit = plat::goEditing;
constexpr auto kTabs = plat::goTabs;

TEST_F(GridInput, KeysMoveSelectAndEditAsTheirOptionsSay) {
  const KeyCase cases[] = {
      {"Right", plat::VK_RIGHT, {}, {}, {2, 2}, {3, 2}, {3, 2, 3, 2}, false},
      {"Left stops at the first normal column", plat::VK_LEFT, {}, {}, {1, 3}, {1, 3}, {1, 3, 1, 3}, false},
      {"Down stops at the last row", plat::VK_DOWN, {}, {}, {2, 7}, {2, 7}, {2, 7, 2, 7}, false},
      {"Up stops at the first normal row", plat::VK_UP, {}, {}, {4, 1}, {4, 1}, {4, 1, 4, 1}, false},
      {"Shift+Right widens a range, the cell stays", plat::VK_RIGHT, {ssShift}, {kRange}, {2, 2}, {2, 2}, {2, 2, 3, 2},
       false},
      {"Shift+Down widens a range", plat::VK_DOWN, {ssShift}, {kRange}, {2, 2}, {2, 2}, {2, 2, 2, 3}, false},
      {"Shift without range select only moves", plat::VK_DOWN, {ssShift}, {}, {2, 2}, {2, 3}, {2, 3, 2, 3},
       false},
      {"row select takes the whole row", plat::VK_DOWN, {}, {kRow}, {2, 2}, {2, 3}, {1, 3, 5, 3}, false},
      {"Page Down stops at the last row", plat::VK_NEXT, {}, {}, {3, 2}, {3, 7}, {3, 7, 3, 7}, false},
      {"Page Up stops at the first row", plat::VK_PRIOR, {}, {}, {3, 6}, {3, 1}, {3, 1, 3, 1}, false},
      {"Ctrl+Home goes to the first cell", plat::VK_HOME, {ssCtrl}, {}, {4, 5}, {1, 1}, {1, 1, 1, 1}, false},
      {"F2 opens the editor", plat::VK_F2, {}, {kEdit}, {2, 2}, {2, 2}, {2, 2, 2, 2}, true},
      {"F2 without editing opens nothing", plat::VK_F2, {}, {}, {2, 2}, {2, 2}, {2, 2, 2, 2}, false},
      {"Enter opens the editor", plat::VK_RETURN, {}, {kEdit}, {3, 4}, {3, 4}, {3, 4, 3, 4}, true},
      {"Enter without editing moves nothing", plat::VK_RETURN, {}, {}, {3, 4}, {3, 4}, {3, 4, 3, 4}, false},
      {"Tab with goTabs moves right", plat::VK_TAB, {}, {kTabs}, {2, 2}, {3, 2}, {3, 2, 3, 2}, false},
      {"Shift+Tab with goTabs moves left", plat::VK_TAB, {ssShift}, {kTabs}, {2, 2}, {1, 2}, {1, 2, 1, 2}, false},
      {"Tab wraps to the next row", plat::VK_TAB, {}, {kTabs}, {5, 2}, {1, 3}, {1, 3, 1, 3}, false},
      {"Tab without goTabs stays", plat::VK_TAB, {}, {}, {2, 2}, {2, 2}, {2, 2, 2, 2}, false},
      {"an arrow while editing closes the editor", plat::VK_DOWN, {}, {kEdit}, {2, 2}, {2, 3}, {2, 3, 2, 3},
       false},
  };
  const TGridOptions base = g->Options() - TGridOptions{kEdit, kRange, kRow, kTabs};
  for (const KeyCase& c : cases) {
    g->HideInplaceEdit();
    g->SetOptions(base + c.options);
    g->FocusCell(c.from.X, c.from.Y);
    g->SetSelection({c.from.X, c.from.Y, c.from.X, c.from.Y});
    if (c.key == plat::VK_DOWN && c.options.Contains(kEdit)) g->ShowInplaceEdit();
    // A real keyboard sends the character of Enter and Tab between key-down and key-up.
    SetShift(c.shift);
    g->Perform(plat::WM_KEYDOWN, c.key, 1);
    if (c.key == plat::VK_RETURN || c.key == plat::VK_TAB) Char(static_cast<char16_t>(c.key));
    g->Perform(plat::WM_KEYUP, c.key, 1 | (1u << 31));
    SetShift({});
    EXPECT_EQ(Cell(), c.to) << c.what;
    EXPECT_EQ(g->Selection(), c.selection) << c.what;
    EXPECT_EQ(g->EditorMode(), c.editing) << c.what;
  }
}

}  // namespace
}  // namespace grid
