// Key codes as handlers see them: the Windows virtual-key numbers.
#pragma once

#include "shell/Conversions.h"

constexpr Word VK_BACK = 8, VK_TAB = 9, VK_CLEAR = 12, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17,
               VK_MENU = 18, VK_PAUSE = 19, VK_CAPITAL = 20, VK_ESCAPE = 27, VK_SPACE = 32,
               VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35, VK_HOME = 36, VK_LEFT = 37, VK_UP = 38,
               VK_RIGHT = 39, VK_DOWN = 40, VK_SNAPSHOT = 44, VK_INSERT = 45, VK_DELETE = 46,
               VK_LWIN = 91, VK_RWIN = 92, VK_APPS = 93, VK_NUMPAD0 = 96, VK_MULTIPLY = 106, VK_ADD = 107,
               VK_SUBTRACT = 109, VK_DECIMAL = 110, VK_DIVIDE = 111, VK_F1 = 112, VK_NUMLOCK = 144,
               VK_SCROLL = 145;
// The punctuation keys, by what they type on a US keyboard.
constexpr Word VK_OEM_1 = 186 /* ; */, VK_OEM_PLUS = 187, VK_OEM_COMMA = 188, VK_OEM_MINUS = 189,
               VK_OEM_PERIOD = 190, VK_OEM_2 = 191 /* / */, VK_OEM_3 = 192 /* ` */, VK_OEM_4 = 219 /* [ */,
               VK_OEM_5 = 220 /* \ */, VK_OEM_6 = 221 /* ] */, VK_OEM_7 = 222 /* ' */,
               VK_OEM_102 = 226 /* the extra key beside the left Shift */;
// The code of a key the table does not know (a media key, a key of a foreign keyboard):
// handlers still see it pressed.
constexpr Word VK_UNKNOWN = 255;

// What the window system says of one key press.
struct NativeKey {
    int qtKey = 0;             // Qt::Key: what the key types or does under the current layout
    bool keypad = false;       // Qt's keypad modifier: the key lies on the numeric keypad
    unsigned scanCode = 0;     // the key's place: X11 / Wayland key code (evdev code + 8), 0 if unknown
    unsigned keysym = 0;       // the X keysym the key gives now (Num Lock and Shift applied), 0 if unknown
};

// The virtual-key code of a key press. The key's place decides where the window system
// tells it, so that a letter under a Russian layout or a punctuation key gives the code of
// its place whatever it types; the keypad's keys give the digits or the navigation keys as
// Num Lock and Shift make them type. Without a place the Qt key decides. A key known to
// neither gives VK_UNKNOWN, never 0.
Word VirtualKey(const NativeKey& key);
