#pragma once
// The look-and-feel plumbing of the component family: the style vocabulary shared by the grid and the drop-down
// editors, detection of the office colour theme the user runs, a process-wide notifier that follows a theme
// change, and the two theme-function tables.
//
// This system keeps no office registry keys, so the keys are read from an in-process store (OfficeRegistry())
// that is empty in the program; the theme facts come from plat::PlatformFacts(). With the store empty the
// notifier creates neither its window nor its monitor, exactly as on a desktop without the office suite.
// A monitor (created when the store holds the keys) is driven by the store's change notices on the GUI
// thread instead of a thread of its own, and its messages reach windows through ThemeMessageSink().

#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/graphics/color.h"
#include "platform/graphics/themes.h"
#include "platform/rtl/component.h"
#include "platform/rtl/events.h"

namespace controls {

enum TExtStyle {
  tsOffice2003Blue, tsOffice2003Silver, tsOffice2003Olive, tsOffice2003Classic, tsOffice2007Luna,
  tsOffice2007Obsidian, tsWindowsXP, tsWhidbey, tsCustom, tsOffice2007Silver, tsWindowsVista, tsWindows7,
  tsTerminal, tsOffice2010Blue, tsOffice2010Silver, tsOffice2010Black
};

enum TOfficeTheme {
  ot2003Blue, ot2003Silver, ot2003Olive, ot2003Classic, ot2007Blue, ot2007Silver, ot2007Black, ot2010Blue,
  ot2010Silver, ot2010Black, otUnknown
};

struct TColorTone {
  plat::TColor BrushColor = plat::clNone;
  plat::TColor BorderColor = plat::clNone;
  plat::TColor TextColor = plat::clNone;
};

struct TColorTones {
  TColorTone Background, Foreground, Selected, Hover, Disabled;
};

// Applies a component style (implemented by the grid and the drop-down editors).
class IExtStyle {
 public:
  static constexpr const char* IID = "11AC2DDC-C087-4298-AB6E-EA1B5017511B";
  virtual ~IExtStyle() = default;
  virtual void SetComponentStyle(TExtStyle AStyle) = 0;
};

// Applies a colour set.
class IExtTones {
 public:
  static constexpr const char* IID = "1F492643-6699-4F25-8B34-3233FA735036";
  virtual ~IExtTones() = default;
  virtual void SetColorTones(TColorTones ATones) = 0;
};

// A window as the theme services see it: an opaque handle.
using TThemeWindow = const void*;

// Message a watched office-theme change sends to the registered windows (WParam the root key, LParam the key).
constexpr unsigned WM_OFFICETHEMECHANGE = 0x0BB1;
constexpr std::intptr_t HKEY_CURRENT_USER = std::intptr_t(0x80000001u);

// Where theme-change messages for windows other than the notifier's own go (the window layer installs the
// delivery; tests record). Called on the GUI thread.
using TThemeMessageSink = std::function<void(TThemeWindow Wnd, unsigned Msg, std::intptr_t WParam, const QString& Key)>;
TThemeMessageSink& ThemeMessageSink();

// ---- the office keys ----------------------------------------------------------------------------------------

// Keys (paths below the current user's root, "\" separated, letter case ignored) with integer values.
class TOfficeRegistry {
 public:
  bool KeyExists(const QString& Key) const;
  // False when the key or the value is missing.
  bool ReadInteger(const QString& Key, const QString& Name, int& Value) const;
  void CreateKey(const QString& Key);
  // Creates the key when missing and notifies the watchers of the key and of its parents.
  void WriteInteger(const QString& Key, const QString& Name, int Value);
  void Clear();

  // Change kinds a watcher is told of: a key created (1, a name change) or a value written (4, last-set).
  enum : std::uint32_t { ChangeName = 1, ChangeLastSet = 4 };
  // A watcher is called after every change at Key or below it; returns an id for Unwatch.
  int Watch(const QString& Key, std::function<void(const QString& ChangedKey, std::uint32_t Kind)> OnChange);
  void Unwatch(int Id);

 private:
  static QString Normal(const QString& Key);
  std::map<QString, std::map<QString, int>> keys_;
  void Notify(const QString& Key, std::uint32_t Kind);
  std::map<int, std::pair<QString, std::function<void(const QString&, std::uint32_t)>>> watchers_;
  int nextWatch_ = 1;
};

// The store the theme services read; empty in the program.
TOfficeRegistry& OfficeRegistry();

// ---- free routines -----------------------------------------------------------------------------------------

bool ComCtl32Version6OrLater();
bool RunningOnVistaOrLater();
bool IsWindowsXPOrLater();
// 2 office 2010 keys, 1 office 2007 keys, 0 none.
int InstalledOfficeGeneration();
// The integer "Theme" of the key; -1 when the key or the value is missing.
int ReadOfficeThemeValue(const TOfficeRegistry& Registry, const QString& Key);
// 0 none/other, 1 NormalColor, 2 HomeStead, 3 Metallic.
int XPColorScheme();
TOfficeTheme DetectOfficeTheme();
// "Segoe UI" or "Tahoma" (the font layer substitutes a face that is not installed).
QString DefaultUIFontName();

// ---- window handle list ------------------------------------------------------------------------------------

class THandleList {
 public:
  int Count() const { return int(items_.size()); }
  int Add(TThemeWindow Wnd);
  void Insert(int Index, TThemeWindow Wnd);
  void Delete(int Index);
  // Removes the first entry equal to Wnd, if any.
  void DeleteValue(TThemeWindow Wnd);
  bool HasValue(TThemeWindow Wnd) const;
  TThemeWindow GetInteger(int Index) const;
  void SetInteger(int Index, TThemeWindow Wnd);
  // A copy taken under the list's lock (the monitor walks this while the GUI thread edits the list).
  std::vector<TThemeWindow> Snapshot() const;

 private:
  void Check(int Index) const;
  mutable std::mutex lock_;
  std::vector<TThemeWindow> items_;
};

// ---- the monitor and the notifier --------------------------------------------------------------------------

class TThemeNotifierWindow;

// Watches a key of the office store and sends WM_OFFICETHEMECHANGE to Wnd and then to every window of WinList
// on each change. Create it, set the properties, then Resume(); Stop() ends the watch.
class TRegMonitorThread {
 public:
  TRegMonitorThread();
  ~TRegMonitorThread();
  TRegMonitorThread(const TRegMonitorThread&) = delete;
  TRegMonitorThread& operator=(const TRegMonitorThread&) = delete;

  QString Key;
  std::intptr_t RootKey = HKEY_CURRENT_USER;
  bool WatchSub = true;
  TThemeWindow Wnd = nullptr;
  // 0 stands for the default 15 (name, attributes, last-set and security changes).
  std::uint32_t Filter() const { return filter_ == 0 ? 15u : filter_; }
  void SetFilter(std::uint32_t Value) { filter_ = Value; }
  THandleList& WinList() { return winList_; }
  bool Running() const { return watchId_ != 0; }

  // Opens the key and starts watching; false (and nothing watched) when the key does not exist.
  bool Resume();
  void Stop();

 private:
  void Changed(std::uint32_t Kind);
  std::uint32_t filter_ = 0;
  THandleList winList_;
  int watchId_ = 0;
};

// An invisible window that turns WM_OFFICETHEMECHANGE into OnOfficeThemeChange.
class TThemeNotifierWindow : public plat::TComponent {
 public:
  explicit TThemeNotifierWindow(plat::TComponent* AOwner);
  ~TThemeNotifierWindow() override;
  TThemeWindow Handle() const { return this; }
  void WndProc(unsigned Msg, std::intptr_t WParam, const QString& Key);
  plat::TNotifyEvent OnOfficeThemeChange;
};

// Delivers a theme message: to a live notifier window directly, to any other window through the sink.
void SendThemeMessage(TThemeWindow Wnd, unsigned Msg, std::intptr_t WParam, const QString& Key);

class TThemeNotifier : public plat::TComponent {
 public:
  explicit TThemeNotifier(plat::TComponent* AOwner);
  ~TThemeNotifier() override;

  void RegisterWindow(TThemeWindow Wnd);
  void UnRegisterWindow(TThemeWindow Wnd);
  // Fired on the GUI thread on every change of the watched key, with the notifier as sender.
  plat::TNotifyEvent OnOfficeThemeChange;

  TRegMonitorThread* RegMonitorThread() const { return monitor_.get(); }
  TThemeNotifierWindow* NotifierWindow() const { return window_; }

 private:
  std::unique_ptr<TRegMonitorThread> monitor_;
  TThemeNotifierWindow* window_ = nullptr;  // owned through the component ownership
};

// The process-wide notifier, created with Owner on the first call.
TThemeNotifier* ThemeNotifierInstance(plat::TComponent* Owner);

// ---- the theme-function tables -----------------------------------------------------------------------------

// The theme functions the editors, the renderer and the grid call (one table), and the drop-down editors (the
// other). The functions are the layer's themed painter; loading only marks the table ready.
struct TThemeLibrary {
  bool Loaded = false;
  int LoadCount = 0;  // how often a load really happened
  plat::HTHEME (*OpenThemeData)(const void*, const QString&) = nullptr;
  void (*CloseThemeData)(plat::HTHEME) = nullptr;
  int (*DrawThemeBackground)(plat::HTHEME, plat::HDC, int, int, const plat::TRect&, const plat::TRect*) = nullptr;
  bool (*IsThemeActive)() = nullptr;
  bool (*IsAppThemed)() = nullptr;
  bool (*GetCurrentThemeName)(QString*, QString*, QString*) = nullptr;
};

TThemeLibrary& XPVS();    // editors, HTML renderer, grid
TThemeLibrary& ATXPVS();  // drop-down editors
void LoadThemeLibrary(TThemeLibrary& Library);
void FreeThemeLibrary(TThemeLibrary& Library);

}  // namespace controls
