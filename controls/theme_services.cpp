#include "controls/theme_services.h"

#include <algorithm>

#include "platform/rtl/exceptions.h"

using namespace plat;

namespace controls {

namespace {

const QString kOffice14 = QStringLiteral("Software\\Microsoft\\Office\\14.0\\Common");
const QString kOffice12 = QStringLiteral("Software\\Microsoft\\Office\\12.0\\Common");

TThemeNotifier* gNotifier = nullptr;
std::vector<TThemeNotifierWindow*>& LiveNotifierWindows() {
  static std::vector<TThemeNotifierWindow*> windows;
  return windows;
}

}  // namespace

TThemeMessageSink& ThemeMessageSink() {
  static TThemeMessageSink sink;
  return sink;
}

// ---- the office keys ----------------------------------------------------------------------------------------

QString TOfficeRegistry::Normal(const QString& Key) {
  QString k = Key.toLower();
  while (k.endsWith(u'\\')) k.chop(1);
  while (k.startsWith(u'\\')) k.remove(0, 1);
  return k;
}

bool TOfficeRegistry::KeyExists(const QString& Key) const { return keys_.count(Normal(Key)) != 0; }

bool TOfficeRegistry::ReadInteger(const QString& Key, const QString& Name, int& Value) const {
  const auto k = keys_.find(Normal(Key));
  if (k == keys_.end()) return false;
  const auto v = k->second.find(Name.toLower());
  if (v == k->second.end()) return false;
  Value = v->second;
  return true;
}

void TOfficeRegistry::CreateKey(const QString& Key) {
  // Creating a key creates its parents, as the registry does.
  const QString k = Normal(Key);
  bool created = false;
  qsizetype at = 0;
  while (true) {
    at = k.indexOf(u'\\', at);
    const QString part = at < 0 ? k : k.left(at);
    if (keys_.emplace(part, std::map<QString, int>{}).second) created = true;
    if (at < 0) break;
    ++at;
  }
  if (created) Notify(k, ChangeName);
}

void TOfficeRegistry::WriteInteger(const QString& Key, const QString& Name, int Value) {
  CreateKey(Key);
  keys_[Normal(Key)][Name.toLower()] = Value;
  Notify(Normal(Key), ChangeLastSet);
}

void TOfficeRegistry::Clear() { keys_.clear(); }

int TOfficeRegistry::Watch(const QString& Key, std::function<void(const QString&, std::uint32_t)> OnChange) {
  const int id = nextWatch_++;
  watchers_[id] = {Normal(Key), std::move(OnChange)};
  return id;
}

void TOfficeRegistry::Unwatch(int Id) { watchers_.erase(Id); }

void TOfficeRegistry::Notify(const QString& Key, std::uint32_t Kind) {
  // Copy first: a watcher may unwatch itself or others.
  std::vector<std::function<void(const QString&, std::uint32_t)>> calls;
  for (const auto& [id, w] : watchers_) {
    if (Key == w.first || Key.startsWith(w.first + u'\\')) calls.push_back(w.second);
  }
  for (auto& c : calls) c(Key, Kind);
}

TOfficeRegistry& OfficeRegistry() {
  static TOfficeRegistry registry;
  return registry;
}

// ---- free routines -----------------------------------------------------------------------------------------

bool ComCtl32Version6OrLater() { return PlatformFacts().ComCtl32Major > 5; }
bool RunningOnVistaOrLater() { return PlatformFacts().VistaOrLater; }
bool IsWindowsXPOrLater() { return PlatformFacts().WindowsXPOrLater; }

int InstalledOfficeGeneration() {
  const TOfficeRegistry& r = OfficeRegistry();
  if (r.KeyExists(kOffice14 + QStringLiteral("\\General"))) return 2;
  if (r.KeyExists(kOffice12 + QStringLiteral("\\General"))) return 1;
  return 0;
}

int ReadOfficeThemeValue(const TOfficeRegistry& Registry, const QString& Key) {
  int v = -1;
  if (!Registry.ReadInteger(Key, QStringLiteral("Theme"), v)) return -1;
  return v;
}

int XPColorScheme() {
  if (!IsWindowsXPOrLater()) return 0;
  if (!IsThemeActive() || !ComCtl32Version6OrLater()) return 0;
  QString file, colour, size;
  if (!GetCurrentThemeName(&file, &colour, &size)) return 0;
  if (colour.contains(QStringLiteral("NormalColor"))) return 1;
  if (colour.contains(QStringLiteral("HomeStead"))) return 2;
  if (colour.contains(QStringLiteral("Metallic"))) return 3;
  return 0;
}

TOfficeTheme DetectOfficeTheme() {
  const TOfficeRegistry& r = OfficeRegistry();
  int v = ReadOfficeThemeValue(r, kOffice14);
  switch (v) {
    case 1: return ot2010Blue;
    case 2: return ot2010Silver;
    case 3: return ot2010Black;
    default: break;
  }
  if (v == -1) {
    v = ReadOfficeThemeValue(r, kOffice12);
    switch (v) {
      case 1: return ot2007Blue;
      case 2: return ot2007Silver;
      case 3: return ot2007Black;
      default: break;
    }
    if (v == -1) {
      switch (XPColorScheme()) {
        case 0: return ot2003Classic;
        case 2: return ot2003Olive;
        case 3: return ot2003Silver;
        default: break;
      }
    }
  }
  return ot2003Blue;
}

QString DefaultUIFontName() {
  return RunningOnVistaOrLater() ? QStringLiteral("Segoe UI") : QStringLiteral("Tahoma");
}

// ---- window handle list ------------------------------------------------------------------------------------

void THandleList::Check(int Index) const {
  if (Index < 0 || Index >= int(items_.size()))
    throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

int THandleList::Add(TThemeWindow Wnd) {
  std::lock_guard g(lock_);
  items_.push_back(Wnd);
  return int(items_.size()) - 1;
}

void THandleList::Insert(int Index, TThemeWindow Wnd) {
  std::lock_guard g(lock_);
  if (Index < 0 || Index > int(items_.size()))
    throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
  items_.insert(items_.begin() + Index, Wnd);
}

void THandleList::Delete(int Index) {
  std::lock_guard g(lock_);
  Check(Index);
  items_.erase(items_.begin() + Index);
}

void THandleList::DeleteValue(TThemeWindow Wnd) {
  std::lock_guard g(lock_);
  const auto it = std::find(items_.begin(), items_.end(), Wnd);
  if (it != items_.end()) items_.erase(it);
}

bool THandleList::HasValue(TThemeWindow Wnd) const {
  std::lock_guard g(lock_);
  return std::find(items_.begin(), items_.end(), Wnd) != items_.end();
}

TThemeWindow THandleList::GetInteger(int Index) const {
  std::lock_guard g(lock_);
  Check(Index);
  return items_[Index];
}

void THandleList::SetInteger(int Index, TThemeWindow Wnd) {
  std::lock_guard g(lock_);
  Check(Index);
  items_[Index] = Wnd;
}

std::vector<TThemeWindow> THandleList::Snapshot() const {
  std::lock_guard g(lock_);
  return items_;
}

// ---- the monitor and the notifier --------------------------------------------------------------------------

TRegMonitorThread::TRegMonitorThread() = default;

TRegMonitorThread::~TRegMonitorThread() { Stop(); }

bool TRegMonitorThread::Resume() {
  if (watchId_ != 0) return true;
  if (!OfficeRegistry().KeyExists(Key)) return false;
  watchId_ = OfficeRegistry().Watch(Key, [this](const QString&, std::uint32_t kind) { Changed(kind); });
  return true;
}

void TRegMonitorThread::Stop() {
  if (watchId_ != 0) OfficeRegistry().Unwatch(watchId_);
  watchId_ = 0;
}

void TRegMonitorThread::Changed(std::uint32_t Kind) {
  if ((Filter() & Kind) == 0) return;
  if (Wnd != nullptr) SendThemeMessage(Wnd, WM_OFFICETHEMECHANGE, RootKey, Key);
  for (TThemeWindow w : winList_.Snapshot()) SendThemeMessage(w, WM_OFFICETHEMECHANGE, RootKey, Key);
}

TThemeNotifierWindow::TThemeNotifierWindow(TComponent* AOwner) : TComponent(AOwner) {
  LiveNotifierWindows().push_back(this);
}

TThemeNotifierWindow::~TThemeNotifierWindow() {
  auto& live = LiveNotifierWindows();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

void TThemeNotifierWindow::WndProc(unsigned Msg, std::intptr_t, const QString&) {
  if (Msg == WM_OFFICETHEMECHANGE && OnOfficeThemeChange) OnOfficeThemeChange(this);
}

void SendThemeMessage(TThemeWindow Wnd, unsigned Msg, std::intptr_t WParam, const QString& Key) {
  for (TThemeNotifierWindow* w : LiveNotifierWindows()) {
    if (w->Handle() == Wnd) {
      w->WndProc(Msg, WParam, Key);
      return;
    }
  }
  if (ThemeMessageSink()) ThemeMessageSink()(Wnd, Msg, WParam, Key);
}

TThemeNotifier::TThemeNotifier(TComponent* AOwner) : TComponent(AOwner) {
  if (ComponentState().Contains(csDesigning)) return;
  const int g = InstalledOfficeGeneration();
  if (g != 1 && g != 2) return;
  window_ = new TThemeNotifierWindow(this);
  window_->OnOfficeThemeChange = [this](TObject*) {
    if (OnOfficeThemeChange) OnOfficeThemeChange(this);
  };
  monitor_ = std::make_unique<TRegMonitorThread>();
  monitor_->Wnd = window_->Handle();
  monitor_->SetFilter(4);
  monitor_->Key = g == 2 ? kOffice14 : kOffice12;
  monitor_->RootKey = HKEY_CURRENT_USER;
  monitor_->WatchSub = true;
  // A key that does not open ends the monitor; the notifier then has none.
  if (!monitor_->Resume()) monitor_.reset();
}

TThemeNotifier::~TThemeNotifier() {
  if (monitor_) monitor_->Stop();
  if (gNotifier == this) gNotifier = nullptr;
}

void TThemeNotifier::RegisterWindow(TThemeWindow Wnd) {
  if (monitor_ && !monitor_->WinList().HasValue(Wnd)) monitor_->WinList().Add(Wnd);
}

void TThemeNotifier::UnRegisterWindow(TThemeWindow Wnd) {
  if (monitor_) monitor_->WinList().DeleteValue(Wnd);
}

TThemeNotifier* ThemeNotifierInstance(TComponent* Owner) {
  if (gNotifier == nullptr) gNotifier = new TThemeNotifier(Owner);
  return gNotifier;
}

// ---- the theme-function tables -----------------------------------------------------------------------------

TThemeLibrary& XPVS() {
  static TThemeLibrary library;
  return library;
}

TThemeLibrary& ATXPVS() {
  static TThemeLibrary library;
  return library;
}

void LoadThemeLibrary(TThemeLibrary& Library) {
  if (Library.Loaded) return;
  Library.OpenThemeData = &plat::OpenThemeData;
  Library.CloseThemeData = &plat::CloseThemeData;
  Library.DrawThemeBackground = &plat::DrawThemeBackground;
  Library.IsThemeActive = &plat::IsThemeActive;
  Library.IsAppThemed = &plat::IsAppThemed;
  Library.GetCurrentThemeName = &plat::GetCurrentThemeName;
  Library.Loaded = true;
  ++Library.LoadCount;
}

void FreeThemeLibrary(TThemeLibrary& Library) {
  if (!Library.Loaded) return;
  const int count = Library.LoadCount;
  Library = TThemeLibrary{};
  Library.LoadCount = count;
}

namespace {
// Both tables are ready from start-up, as the units' initialisation loads them.
struct LoadAtStartUp {
  LoadAtStartUp() {
    LoadThemeLibrary(XPVS());
    LoadThemeLibrary(ATXPVS());
  }
} loadAtStartUp;
}  // namespace

}  // namespace controls
