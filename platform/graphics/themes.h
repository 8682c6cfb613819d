// Visual styles without a style library: the facts callers ask about the platform (all fixed, settable by
// tests) and a "themed" painter of our own for the few theme classes the controls use.
#pragma once

#include <cstdint>

#include <QString>

#include "platform/graphics/canvas.h"
#include "platform/graphics/types.h"

namespace plat {

// What the program may ask about the system it runs on. The defaults describe a current desktop with
// visual styles on; tests change them to reach the other branches and call ResetPlatformFacts() after.
struct TPlatformFacts {
  bool WindowsXPOrLater = true;
  bool VistaOrLater = true;
  bool Windows7OrLater = true;
  int ComCtl32Major = 6;
  int ComCtl32Minor = 10;
  bool ThemesActive = true;  // visual styles are switched on in the system
  bool AppThemed = true;     // and apply to this program
  QString ColorSchemeName = QStringLiteral("NormalColor");
  QString ThemeFileName = QStringLiteral("Default");
  QString SizeName = QStringLiteral("NormalSize");
};

TPlatformFacts& PlatformFacts();
void ResetPlatformFacts();

// Restores the facts when it goes out of scope.
class TPlatformFactsScope {
 public:
  TPlatformFactsScope() : saved_(PlatformFacts()) {}
  ~TPlatformFactsScope() { PlatformFacts() = saved_; }
  TPlatformFactsScope(const TPlatformFactsScope&) = delete;
  TPlatformFactsScope& operator=(const TPlatformFactsScope&) = delete;

 private:
  TPlatformFacts saved_;
};

bool IsThemeActive();
bool IsAppThemed();
// File, colour-scheme and size names of the current style; false when no style is active.
bool GetCurrentThemeName(QString* fileName, QString* colorName, QString* sizeName);

using HTHEME = std::intptr_t;
constexpr int S_OK = 0;
constexpr int E_FAIL = int(0x80004005u);

// Theme classes and parts the painter knows.
enum : int {
  // "button"
  BP_PUSHBUTTON = 1, BP_RADIOBUTTON = 2, BP_CHECKBOX = 3, BP_GROUPBOX = 4,
  PBS_NORMAL = 1, PBS_HOT = 2, PBS_PRESSED = 3, PBS_DISABLED = 4, PBS_DEFAULTED = 5,
  RBS_UNCHECKEDNORMAL = 1, RBS_UNCHECKEDHOT = 2, RBS_UNCHECKEDPRESSED = 3, RBS_UNCHECKEDDISABLED = 4,
  RBS_CHECKEDNORMAL = 5, RBS_CHECKEDHOT = 6, RBS_CHECKEDPRESSED = 7, RBS_CHECKEDDISABLED = 8,
  CBS_UNCHECKEDNORMAL = 1, CBS_UNCHECKEDHOT = 2, CBS_UNCHECKEDPRESSED = 3, CBS_UNCHECKEDDISABLED = 4,
  CBS_CHECKEDNORMAL = 5, CBS_CHECKEDHOT = 6, CBS_CHECKEDPRESSED = 7, CBS_CHECKEDDISABLED = 8,
  CBS_MIXEDNORMAL = 9, CBS_MIXEDHOT = 10, CBS_MIXEDPRESSED = 11, CBS_MIXEDDISABLED = 12,
  // "combobox"
  CP_DROPDOWNBUTTON = 1,
  CBXS_NORMAL = 1, CBXS_HOT = 2, CBXS_PRESSED = 3, CBXS_DISABLED = 4,
  // "spin"
  SPNP_UP = 1, SPNP_DOWN = 2, SPNP_UPHORZ = 3, SPNP_DOWNHORZ = 4,
  UPS_NORMAL = 1, UPS_HOT = 2, UPS_PRESSED = 3, UPS_DISABLED = 4,
  // "header"
  HP_HEADERITEM = 1, HP_HEADERITEMLEFT = 2, HP_HEADERITEMRIGHT = 3, HP_HEADERSORTARROW = 4,
  HIS_NORMAL = 1, HIS_HOT = 2, HIS_PRESSED = 3,
  HSAS_SORTEDUP = 1, HSAS_SORTEDDOWN = 2,
  // "progress"
  PP_BAR = 1, PP_BARVERT = 2, PP_CHUNK = 3, PP_CHUNKVERT = 4,
  // "edit"
  EP_EDITTEXT = 1,
  ETS_NORMAL = 1, ETS_HOT = 2, ETS_SELECTED = 3, ETS_DISABLED = 4, ETS_FOCUSED = 5, ETS_READONLY = 6,
  // "treeview" (and "listview" items)
  TVP_TREEITEM = 1, TVP_GLYPH = 2, TVP_HOTGLYPH = 4,
  TREIS_NORMAL = 1, TREIS_HOT = 2, TREIS_SELECTED = 3, TREIS_DISABLED = 4, TREIS_SELECTEDNOTFOCUS = 5,
  TREIS_HOTSELECTED = 6,
  GLPS_CLOSED = 1, GLPS_OPENED = 2,
  LVP_LISTITEM = 1,
};

// A handle for the first known class of the ';'-separated list ("Explorer::TreeView" counts as "treeview"),
// or 0 when styles are off or no class is known: callers then draw the classic look.
HTHEME OpenThemeData(const void* window, const QString& classList);
void CloseThemeData(HTHEME theme);
// S_OK when drawn; E_FAIL for an unknown handle or part (nothing drawn).
int DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const TRect& r, const TRect* clip);
// The class a handle stands for ("" for none), for tests.
QString ThemeClassName(HTHEME theme);

// The element-drawing service of the framework: themes on or off and drawing of one element.
struct TThemedElementDetails {
  QString ClassName;
  int Part = 0;
  int State = 0;
};

class TThemeServices {
 public:
  bool ThemesAvailable() const { return PlatformFacts().WindowsXPOrLater && PlatformFacts().ComCtl32Major >= 6; }
  bool ThemesEnabled() const { return ThemesAvailable() && IsThemeActive() && IsAppThemed(); }
  // Draws the element; false when themes are off or the element is unknown.
  bool DrawElement(HDC dc, const TThemedElementDetails& details, const TRect& r, const TRect* clip = nullptr);
};

TThemeServices& ThemeServices();

}  // namespace plat
