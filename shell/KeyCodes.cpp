// One table from Qt's keys to the Windows virtual-key numbers that handlers compare with.
#include "shell/KeyCodes.h"

#include <Qt>

#include <unordered_map>

namespace {

// Keys by their place on the keyboard: X11 and Wayland key codes (evdev codes + 8) of the
// letter, digit and punctuation keys, for layouts whose characters Qt reports instead.
Word VirtualKeyFromScanCode(unsigned scanCode)
{
    static const std::unordered_map<unsigned, Word> table = {
        {10, '1'},  {11, '2'},  {12, '3'},  {13, '4'},  {14, '5'},  {15, '6'},  {16, '7'},  {17, '8'},
        {18, '9'},  {19, '0'},  {20, 189},  {21, 187},  {24, 'Q'},  {25, 'W'},  {26, 'E'},  {27, 'R'},
        {28, 'T'},  {29, 'Y'},  {30, 'U'},  {31, 'I'},  {32, 'O'},  {33, 'P'},  {34, 219},  {35, 221},
        {38, 'A'},  {39, 'S'},  {40, 'D'},  {41, 'F'},  {42, 'G'},  {43, 'H'},  {44, 'J'},  {45, 'K'},
        {46, 'L'},  {47, 186},  {48, 222},  {49, 192},  {51, 220},  {52, 'Z'},  {53, 'X'},  {54, 'C'},
        {55, 'V'},  {56, 'B'},  {57, 'N'},  {58, 'M'},  {59, 188},  {60, 190},  {61, 191},
    };
    const auto found = table.find(scanCode);
    return found == table.end() ? 0 : found->second;
}

Word VirtualKeyFromKey(int qtKey)
{
    // Letters and digits share their codes with their upper-case characters.
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return static_cast<Word>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<Word>(VK_F1 + (qtKey - Qt::Key_F1));

    static const std::unordered_map<int, Word> table = {
        {Qt::Key_Backspace, VK_BACK},   {Qt::Key_Tab, VK_TAB},          {Qt::Key_Backtab, VK_TAB},
        {Qt::Key_Return, VK_RETURN},    {Qt::Key_Enter, VK_RETURN},     {Qt::Key_Shift, VK_SHIFT},
        {Qt::Key_Control, VK_CONTROL},  {Qt::Key_Alt, VK_MENU},         {Qt::Key_AltGr, VK_MENU},
        {Qt::Key_Pause, VK_PAUSE},      {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE},
        {Qt::Key_Space, VK_SPACE},      {Qt::Key_PageUp, VK_PRIOR},     {Qt::Key_PageDown, VK_NEXT},
        {Qt::Key_End, VK_END},          {Qt::Key_Home, VK_HOME},        {Qt::Key_Left, VK_LEFT},
        {Qt::Key_Up, VK_UP},            {Qt::Key_Right, VK_RIGHT},      {Qt::Key_Down, VK_DOWN},
        {Qt::Key_Insert, VK_INSERT},    {Qt::Key_Delete, VK_DELETE},    {Qt::Key_Print, 44},
        {Qt::Key_Meta, 91},             {Qt::Key_Menu, 93},             {Qt::Key_NumLock, 144},
        {Qt::Key_ScrollLock, 145},      {Qt::Key_Semicolon, 186},       {Qt::Key_Colon, 186},
        {Qt::Key_Equal, 187},           {Qt::Key_Plus, 187},            {Qt::Key_Comma, 188},
        {Qt::Key_Less, 188},            {Qt::Key_Minus, 189},           {Qt::Key_Underscore, 189},
        {Qt::Key_Period, 190},          {Qt::Key_Greater, 190},         {Qt::Key_Slash, 191},
        {Qt::Key_Question, 191},        {Qt::Key_QuoteLeft, 192},       {Qt::Key_AsciiTilde, 192},
        {Qt::Key_BracketLeft, 219},     {Qt::Key_BraceLeft, 219},       {Qt::Key_Backslash, 220},
        {Qt::Key_Bar, 220},             {Qt::Key_BracketRight, 221},    {Qt::Key_BraceRight, 221},
        {Qt::Key_Apostrophe, 222},      {Qt::Key_QuoteDbl, 222},
    };
    const auto found = table.find(qtKey);
    return found == table.end() ? 0 : found->second;
}

} // namespace

Word VirtualKeyFromQt(int qtKey, unsigned nativeScanCode)
{
    const Word code = VirtualKeyFromKey(qtKey);
    return code != 0 ? code : VirtualKeyFromScanCode(nativeScanCode);
}
