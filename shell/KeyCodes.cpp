// The table from keys to the Windows virtual-key numbers that handlers compare with: first
// by the key's place on the keyboard, then, for presses that come without one (synthetic
// events), by Qt's key.
#include "shell/KeyCodes.h"

#include <Qt>

#include <unordered_map>

namespace {

// A key's place: its code, and for the keypad's digit keys the code they give while
// they type digits (0 where the key has one meaning only).
struct Place {
    Word code;
    Word digitCode = 0;
};

// X11 and Wayland key codes (evdev codes + 8) of a 105-key keyboard.
const std::unordered_map<unsigned, Place>& Places()
{
    static const std::unordered_map<unsigned, Place> table = [] {
        std::unordered_map<unsigned, Place> places = {
            {9, {VK_ESCAPE}},   {20, {189}},         {21, {187}},         {22, {VK_BACK}},     {23, {VK_TAB}},
            {34, {219}},        {35, {221}},         {36, {VK_RETURN}},   {37, {VK_CONTROL}},  {47, {186}},
            {48, {222}},        {49, {192}},         {50, {VK_SHIFT}},    {51, {220}},         {59, {188}},
            {60, {190}},        {61, {191}},         {62, {VK_SHIFT}},    {63, {106}},         {64, {VK_MENU}},
            {65, {VK_SPACE}},   {66, {VK_CAPITAL}},  {77, {VK_NUMLOCK}},  {78, {145}},         {82, {109}},
            {86, {107}},        {94, {226}},         {95, {122}},         {96, {123}},         {104, {VK_RETURN}},
            {105, {VK_CONTROL}}, {106, {111}},       {107, {VK_SNAPSHOT}},         {108, {VK_MENU}},    {110, {VK_HOME}},
            {111, {VK_UP}},     {112, {VK_PRIOR}},   {113, {VK_LEFT}},    {114, {VK_RIGHT}},   {115, {VK_END}},
            {116, {VK_DOWN}},   {117, {VK_NEXT}},    {118, {VK_INSERT}},  {119, {VK_DELETE}},  {127, {VK_PAUSE}},
            {133, {91}},        {134, {92}},         {135, {93}},
            // The keypad: navigation keys while Num Lock is off (or Shift is held), digits else.
            {79, {VK_HOME, 103}}, {80, {VK_UP, 104}},    {81, {VK_PRIOR, 105}}, {83, {VK_LEFT, 100}},
            {84, {VK_CLEAR, 101}}, {85, {VK_RIGHT, 102}}, {87, {VK_END, 97}},   {88, {VK_DOWN, 98}},
            {89, {VK_NEXT, 99}},  {90, {VK_INSERT, 96}}, {91, {VK_DELETE, VK_DECIMAL}},
        };
        const char* rows[] = {"1234567890", "QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
        const unsigned firstPlace[] = {10, 24, 38, 52};
        for (int row = 0; row < 4; ++row)
            for (unsigned i = 0; rows[row][i] != '\0'; ++i)
                places[firstPlace[row] + i] = {static_cast<Word>(rows[row][i])};
        for (unsigned i = 0; i < 10; ++i) // F1-F10
            places[67 + i] = {static_cast<Word>(VK_F1 + i)};
        for (unsigned i = 0; i < 12; ++i) // F13-F24
            places[191 + i] = {static_cast<Word>(VK_F1 + 12 + i)};
        return places;
    }();
    return table;
}

// Whether a keypad key types a digit or the decimal point now: X keysyms KP_0-KP_9,
// KP_Decimal and KP_Separator (the Russian layout's keypad comma).
bool TypesDigit(unsigned keysym)
{
    return (keysym >= 0xffb0 && keysym <= 0xffb9) || keysym == 0xffae || keysym == 0xffac;
}

Word VirtualKeyFromQtKey(int qtKey, bool keypad)
{
    if (keypad && qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return static_cast<Word>(VK_NUMPAD0 + (qtKey - Qt::Key_0));
    // Letters and digits share their codes with their upper-case characters.
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return static_cast<Word>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<Word>(VK_F1 + (qtKey - Qt::Key_F1));

    static const std::unordered_map<int, Word> keypadTable = {
        {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107}, {Qt::Key_Minus, 109}, {Qt::Key_Period, VK_DECIMAL},
        {Qt::Key_Comma, VK_DECIMAL}, {Qt::Key_Slash, 111}, {Qt::Key_Clear, VK_CLEAR},
    };
    if (keypad) {
        const auto found = keypadTable.find(qtKey);
        if (found != keypadTable.end())
            return found->second;
    }
    static const std::unordered_map<int, Word> table = {
        {Qt::Key_Backspace, VK_BACK},   {Qt::Key_Tab, VK_TAB},          {Qt::Key_Backtab, VK_TAB},
        {Qt::Key_Return, VK_RETURN},    {Qt::Key_Enter, VK_RETURN},     {Qt::Key_Shift, VK_SHIFT},
        {Qt::Key_Control, VK_CONTROL},  {Qt::Key_Alt, VK_MENU},         {Qt::Key_AltGr, VK_MENU},
        {Qt::Key_Pause, VK_PAUSE},      {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE},
        {Qt::Key_Space, VK_SPACE},      {Qt::Key_PageUp, VK_PRIOR},     {Qt::Key_PageDown, VK_NEXT},
        {Qt::Key_End, VK_END},          {Qt::Key_Home, VK_HOME},        {Qt::Key_Left, VK_LEFT},
        {Qt::Key_Up, VK_UP},            {Qt::Key_Right, VK_RIGHT},      {Qt::Key_Down, VK_DOWN},
        {Qt::Key_Insert, VK_INSERT},    {Qt::Key_Delete, VK_DELETE},    {Qt::Key_Print, VK_SNAPSHOT},
        {Qt::Key_Clear, VK_CLEAR},      {Qt::Key_Meta, 91},             {Qt::Key_Menu, 93},
        {Qt::Key_NumLock, VK_NUMLOCK},  {Qt::Key_ScrollLock, 145},      {Qt::Key_Semicolon, 186},
        {Qt::Key_Colon, 186},           {Qt::Key_Equal, 187},           {Qt::Key_Plus, 187},
        {Qt::Key_Comma, 188},           {Qt::Key_Less, 188},            {Qt::Key_Minus, 189},
        {Qt::Key_Underscore, 189},      {Qt::Key_Period, 190},          {Qt::Key_Greater, 190},
        {Qt::Key_Slash, 191},           {Qt::Key_Question, 191},        {Qt::Key_QuoteLeft, 192},
        {Qt::Key_AsciiTilde, 192},      {Qt::Key_BracketLeft, 219},     {Qt::Key_BraceLeft, 219},
        {Qt::Key_Backslash, 220},       {Qt::Key_Bar, 220},             {Qt::Key_BracketRight, 221},
        {Qt::Key_BraceRight, 221},      {Qt::Key_Apostrophe, 222},      {Qt::Key_QuoteDbl, 222},
    };
    const auto found = table.find(qtKey);
    return found == table.end() ? VK_UNKNOWN : found->second;
}

} // namespace

Word VirtualKey(const NativeKey& key)
{
    const auto place = Places().find(key.scanCode);
    if (place == Places().end())
        return VirtualKeyFromQtKey(key.qtKey, key.keypad);
    const Place& found = place->second;
    return found.digitCode != 0 && TypesDigit(key.keysym) ? found.digitCode : found.code;
}
