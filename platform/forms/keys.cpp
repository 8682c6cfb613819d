#include "platform/forms/keys.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <array>

namespace plat {

namespace {

std::array<bool, 256>& States() {
  static std::array<bool, 256> s{};
  return s;
}

struct KeyPair {
  int qt;
  std::uint16_t vk;
};

constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, VK_BACK},   {Qt::Key_Tab, VK_TAB},         {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Clear, VK_CLEAR},      {Qt::Key_Return, VK_RETURN},   {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT},      {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},
    {Qt::Key_AltGr, VK_RMENU},      {Qt::Key_Pause, VK_PAUSE},     {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_Escape, VK_ESCAPE},    {Qt::Key_Space, VK_SPACE},     {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},    {Qt::Key_End, VK_END},         {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},        {Qt::Key_Up, VK_UP},           {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},        {Qt::Key_Select, VK_SELECT},   {Qt::Key_Print, VK_SNAPSHOT},
    {Qt::Key_Execute, VK_EXECUTE},  {Qt::Key_Insert, VK_INSERT},   {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Help, VK_HELP},        {Qt::Key_Meta, VK_LWIN},       {Qt::Key_Menu, VK_APPS},
    {Qt::Key_NumLock, VK_NUMLOCK},  {Qt::Key_ScrollLock, VK_SCROLL},
    {Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, 0xBB},         {Qt::Key_Comma, 0xBC},
    {Qt::Key_Minus, 0xBD},          {Qt::Key_Period, 0xBE},        {Qt::Key_Slash, 0xBF},
    {Qt::Key_Semicolon, 0xBA},      {Qt::Key_Equal, 0xBB},         {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_BracketLeft, 0xDB},    {Qt::Key_Backslash, 0xDC},     {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_Apostrophe, 0xDE},
};

}  // namespace

std::uint16_t QtKeyToVK(int key, bool keypad) {
  if (keypad) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<std::uint16_t>(VK_NUMPAD0 + (key - Qt::Key_0));
    switch (key) {
      case Qt::Key_Asterisk: return VK_MULTIPLY;
      case Qt::Key_Plus: return VK_ADD;
      case Qt::Key_Minus: return VK_SUBTRACT;
      case Qt::Key_Slash: return VK_DIVIDE;
      case Qt::Key_Period:
      case Qt::Key_Comma: return VK_DECIMAL;
      default: break;
    }
  }
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<std::uint16_t>('0' + (key - Qt::Key_0));
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<std::uint16_t>('A' + (key - Qt::Key_A));
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<std::uint16_t>(VK_F1 + (key - Qt::Key_F1));
  for (const auto& p : kKeys)
    if (p.qt == key) return p.vk;
  return 0;
}

std::uint16_t VKFromKeyEvent(const QKeyEvent& e) {
  return QtKeyToVK(e.key(), (e.modifiers() & Qt::KeypadModifier) != 0);
}

char16_t CharFromKeyEvent(const QKeyEvent& e) {
  const int key = e.key();
  const bool ctrl = (e.modifiers() & Qt::ControlModifier) != 0;
  switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return ctrl ? 0 : 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return ctrl ? 10 : 13;
    case Qt::Key_Escape: return 27;
    default: break;
  }
  if (ctrl) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<char16_t>(1 + (key - Qt::Key_A));
    return 0;
  }
  const QString t = e.text();
  if (t.isEmpty()) return 0;
  const char16_t c = t.at(0).unicode();
  if (c < 32 || c == 127) return 0;  // other control characters come only from the rules above
  return c;
}

LPARAM KeyDataFromKeyEvent(const QKeyEvent& e, bool release) {
  std::uint32_t d = 1;
  if (e.modifiers() & Qt::KeypadModifier) d |= KF_KEYPAD;
  if (e.modifiers() & Qt::AltModifier) d |= KF_ALTDOWN;
  if (e.isAutoRepeat()) d |= KF_REPEAT;
  if (release) d |= KF_UP | KF_REPEAT;
  return static_cast<LPARAM>(static_cast<std::int32_t>(d));
}

short GetKeyState(int vk) {
  if (vk < 0 || vk > 255) return 0;
  return States()[static_cast<std::size_t>(vk)] ? static_cast<short>(-32768) : 0;
}

short GetAsyncKeyState(int vk) { return GetKeyState(vk); }

void SetKeyStateDown(int vk, bool down) {
  if (vk < 0 || vk > 255) return;
  States()[static_cast<std::size_t>(vk)] = down;
  // The generic keys follow their left/right forms and the other way round.
  auto& s = States();
  switch (vk) {
    case VK_LSHIFT: case VK_RSHIFT: s[VK_SHIFT] = s[VK_LSHIFT] || s[VK_RSHIFT] || down; break;
    case VK_LCONTROL: case VK_RCONTROL: s[VK_CONTROL] = s[VK_LCONTROL] || s[VK_RCONTROL] || down; break;
    case VK_LMENU: case VK_RMENU: s[VK_MENU] = s[VK_LMENU] || s[VK_RMENU] || down; break;
    case VK_SHIFT: s[VK_LSHIFT] = down; if (!down) s[VK_RSHIFT] = false; break;
    case VK_CONTROL: s[VK_LCONTROL] = down; if (!down) s[VK_RCONTROL] = false; break;
    case VK_MENU: s[VK_LMENU] = down; if (!down) s[VK_RMENU] = false; break;
    default: break;
  }
}

void ResetKeyStates() { States().fill(false); }

TShiftState KeysToShiftState(WPARAM keys) {
  TShiftState s;
  if (keys & MK_SHIFT) s.Include(ssShift);
  if (keys & MK_CONTROL) s.Include(ssCtrl);
  if (keys & MK_LBUTTON) s.Include(ssLeft);
  if (keys & MK_RBUTTON) s.Include(ssRight);
  if (keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (static_cast<std::uint32_t>(keyData) & KF_ALTDOWN) s.Include(ssAlt);
  return s;
}

}  // namespace plat

namespace plat {

int VKToQtKey(std::uint16_t vk) {
  if (vk >= '0' && vk <= '9') return Qt::Key_0 + (vk - '0');
  if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + (vk - 'A');
  if (vk >= VK_F1 && vk <= VK_F12) return Qt::Key_F1 + (vk - VK_F1);
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return Qt::Key_0 + (vk - VK_NUMPAD0);
  switch (vk) {
    case VK_MULTIPLY: return Qt::Key_Asterisk;
    case VK_ADD: return Qt::Key_Plus;
    case VK_SUBTRACT: return Qt::Key_Minus;
    case VK_DIVIDE: return Qt::Key_Slash;
    case VK_DECIMAL: return Qt::Key_Period;
    default: break;
  }
  for (const auto& p : kKeys)
    if (p.vk == vk) return p.qt;
  return 0;
}

QString TextOfVK(std::uint16_t vk, bool shift) {
  if (vk >= '0' && vk <= '9') return QString(QChar(vk));
  if (vk >= 'A' && vk <= 'Z') return QString(QChar(shift ? vk : vk + 32));
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return QString(QChar('0' + (vk - VK_NUMPAD0)));
  switch (vk) {
    case VK_SPACE: return QStringLiteral(" ");
    case VK_RETURN: return QStringLiteral("\r");
    case VK_TAB: return QStringLiteral("\t");
    case VK_BACK: return QStringLiteral("\b");
    case VK_ESCAPE: return QString(QChar(27));
    case VK_MULTIPLY: return QStringLiteral("*");
    case VK_ADD: return QStringLiteral("+");
    case VK_SUBTRACT: return QStringLiteral("-");
    case VK_DIVIDE: return QStringLiteral("/");
    case VK_DECIMAL: return QStringLiteral(".");
    default: return QString();
  }
}

}  // namespace plat
