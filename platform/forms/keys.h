// Virtual-key codes, the shift state of key and mouse messages, and the key-state table the hosts keep.
#pragma once

#include <cstdint>
#include <initializer_list>

#include <QString>

#include "platform/forms/messages.h"
#include "platform/rtl/sets.h"

class QKeyEvent;

namespace plat {

// --- virtual keys ---
constexpr std::uint16_t VK_LBUTTON = 0x01;
constexpr std::uint16_t VK_RBUTTON = 0x02;
constexpr std::uint16_t VK_CANCEL = 0x03;
constexpr std::uint16_t VK_MBUTTON = 0x04;
constexpr std::uint16_t VK_BACK = 0x08;
constexpr std::uint16_t VK_TAB = 0x09;
constexpr std::uint16_t VK_CLEAR = 0x0C;
constexpr std::uint16_t VK_RETURN = 0x0D;
constexpr std::uint16_t VK_SHIFT = 0x10;
constexpr std::uint16_t VK_CONTROL = 0x11;
constexpr std::uint16_t VK_MENU = 0x12;
constexpr std::uint16_t VK_PAUSE = 0x13;
constexpr std::uint16_t VK_CAPITAL = 0x14;
constexpr std::uint16_t VK_ESCAPE = 0x1B;
constexpr std::uint16_t VK_SPACE = 0x20;
constexpr std::uint16_t VK_PRIOR = 0x21;
constexpr std::uint16_t VK_NEXT = 0x22;
constexpr std::uint16_t VK_END = 0x23;
constexpr std::uint16_t VK_HOME = 0x24;
constexpr std::uint16_t VK_LEFT = 0x25;
constexpr std::uint16_t VK_UP = 0x26;
constexpr std::uint16_t VK_RIGHT = 0x27;
constexpr std::uint16_t VK_DOWN = 0x28;
constexpr std::uint16_t VK_SELECT = 0x29;
constexpr std::uint16_t VK_PRINT = 0x2A;
constexpr std::uint16_t VK_EXECUTE = 0x2B;
constexpr std::uint16_t VK_SNAPSHOT = 0x2C;
constexpr std::uint16_t VK_INSERT = 0x2D;
constexpr std::uint16_t VK_DELETE = 0x2E;
constexpr std::uint16_t VK_HELP = 0x2F;
// '0'..'9' = 0x30..0x39, 'A'..'Z' = 0x41..0x5A
constexpr std::uint16_t VK_LWIN = 0x5B;
constexpr std::uint16_t VK_RWIN = 0x5C;
constexpr std::uint16_t VK_APPS = 0x5D;
constexpr std::uint16_t VK_NUMPAD0 = 0x60;
constexpr std::uint16_t VK_NUMPAD9 = 0x69;
constexpr std::uint16_t VK_MULTIPLY = 0x6A;
constexpr std::uint16_t VK_ADD = 0x6B;
constexpr std::uint16_t VK_SEPARATOR = 0x6C;
constexpr std::uint16_t VK_SUBTRACT = 0x6D;
constexpr std::uint16_t VK_DECIMAL = 0x6E;
constexpr std::uint16_t VK_DIVIDE = 0x6F;
constexpr std::uint16_t VK_F1 = 0x70;
constexpr std::uint16_t VK_F2 = 0x71;
constexpr std::uint16_t VK_F3 = 0x72;
constexpr std::uint16_t VK_F4 = 0x73;
constexpr std::uint16_t VK_F5 = 0x74;
constexpr std::uint16_t VK_F6 = 0x75;
constexpr std::uint16_t VK_F7 = 0x76;
constexpr std::uint16_t VK_F8 = 0x77;
constexpr std::uint16_t VK_F9 = 0x78;
constexpr std::uint16_t VK_F10 = 0x79;
constexpr std::uint16_t VK_F11 = 0x7A;
constexpr std::uint16_t VK_F12 = 0x7B;
constexpr std::uint16_t VK_NUMLOCK = 0x90;
constexpr std::uint16_t VK_SCROLL = 0x91;
constexpr std::uint16_t VK_LSHIFT = 0xA0;
constexpr std::uint16_t VK_RSHIFT = 0xA1;
constexpr std::uint16_t VK_LCONTROL = 0xA2;
constexpr std::uint16_t VK_RCONTROL = 0xA3;
constexpr std::uint16_t VK_LMENU = 0xA4;
constexpr std::uint16_t VK_RMENU = 0xA5;

// Key data (LParam of key messages): repeat count in the low word, the numeric-keypad bit (bit 22, bit 6 of
// the scan code, as the keypad's keys carry it), Alt held (bit 29), previous state (30), transition (31).
constexpr std::uint32_t KF_KEYPAD = 0x00400000u;
constexpr std::uint32_t KF_ALTDOWN = 0x20000000u;
constexpr std::uint32_t KF_REPEAT = 0x40000000u;
constexpr std::uint32_t KF_UP = 0x80000000u;

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Shift state of a mouse message's MK_* flags (plus Alt from the key-state table).
TShiftState KeysToShiftState(WPARAM keys);
// Shift state of a key message's key data (Shift and Ctrl from the key-state table, Alt from bit 29).
TShiftState KeyDataToShiftState(LPARAM keyData);
// Qt key event -> virtual key (0 when the key has none). Return and Enter both give VK_RETURN.
std::uint16_t QtKeyToVK(int qtKey, bool keypad);
std::uint16_t VKFromKeyEvent(const QKeyEvent& e);
// The character a key event types (0 when none), with control characters built as the classic keyboard
// builds them: Ctrl+letter = 1..26, Ctrl+Enter = 10, Backspace 8, Tab 9, Enter 13, Escape 27.
char16_t CharFromKeyEvent(const QKeyEvent& e);
// Key data for a key event (repeat 1, keypad bit, Alt bit; KF_UP for releases).
LPARAM KeyDataFromKeyEvent(const QKeyEvent& e, bool release);

// The key-state table. The hosts update it from every key and mouse event they see, so the answer does not
// depend on what the window system reports; tests may set states directly.
short GetKeyState(int vk);        // high bit set (negative) while down
short GetAsyncKeyState(int vk);   // same table
void SetKeyStateDown(int vk, bool down);
void ResetKeyStates();

}  // namespace plat

namespace plat {
// Virtual key -> Qt key and the text the key types without modifiers ("" when none), for key messages
// that code posts or sends.
int VKToQtKey(std::uint16_t vk);
QString TextOfVK(std::uint16_t vk, bool shift);

// Whether Key is one of Keys.
inline bool IsKey(std::uint16_t Key, std::initializer_list<std::uint16_t> Keys) {
  for (std::uint16_t k : Keys)
    if (k == Key) return true;
  return false;
}

}  // namespace plat
