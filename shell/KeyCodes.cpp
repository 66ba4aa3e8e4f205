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
            {9, {VK_ESCAPE}},        {20, {VK_OEM_MINUS}},   {21, {VK_OEM_PLUS}},   {22, {VK_BACK}},
            {23, {VK_TAB}},          {34, {VK_OEM_4}},       {35, {VK_OEM_6}},      {36, {VK_RETURN}},
            {37, {VK_CONTROL}},      {47, {VK_OEM_1}},       {48, {VK_OEM_7}},      {49, {VK_OEM_3}},
            {50, {VK_SHIFT}},        {51, {VK_OEM_5}},       {59, {VK_OEM_COMMA}},  {60, {VK_OEM_PERIOD}},
            {61, {VK_OEM_2}},        {62, {VK_SHIFT}},       {63, {VK_MULTIPLY}},   {64, {VK_MENU}},
            {65, {VK_SPACE}},        {66, {VK_CAPITAL}},     {77, {VK_NUMLOCK}},    {78, {VK_SCROLL}},
            {82, {VK_SUBTRACT}},     {86, {VK_ADD}},         {94, {VK_OEM_102}},    {95, {VK_F1 + 10}},
            {96, {VK_F1 + 11}},      {104, {VK_RETURN}},     {105, {VK_CONTROL}},   {106, {VK_DIVIDE}},
            {107, {VK_SNAPSHOT}},    {108, {VK_MENU}},       {110, {VK_HOME}},      {111, {VK_UP}},
            {112, {VK_PRIOR}},       {113, {VK_LEFT}},       {114, {VK_RIGHT}},     {115, {VK_END}},
            {116, {VK_DOWN}},        {117, {VK_NEXT}},       {118, {VK_INSERT}},    {119, {VK_DELETE}},
            {127, {VK_PAUSE}},       {133, {VK_LWIN}},       {134, {VK_RWIN}},      {135, {VK_APPS}},
            // The keypad: navigation keys while Num Lock is off (or Shift is held), digits else.
            {79, {VK_HOME, VK_NUMPAD0 + 7}},  {80, {VK_UP, VK_NUMPAD0 + 8}},   {81, {VK_PRIOR, VK_NUMPAD0 + 9}},
            {83, {VK_LEFT, VK_NUMPAD0 + 4}},  {84, {VK_CLEAR, VK_NUMPAD0 + 5}}, {85, {VK_RIGHT, VK_NUMPAD0 + 6}},
            {87, {VK_END, VK_NUMPAD0 + 1}},   {88, {VK_DOWN, VK_NUMPAD0 + 2}}, {89, {VK_NEXT, VK_NUMPAD0 + 3}},
            {90, {VK_INSERT, VK_NUMPAD0}},    {91, {VK_DELETE, VK_DECIMAL}},
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
        {Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, VK_ADD}, {Qt::Key_Minus, VK_SUBTRACT}, {Qt::Key_Period, VK_DECIMAL},
        {Qt::Key_Comma, VK_DECIMAL}, {Qt::Key_Slash, VK_DIVIDE}, {Qt::Key_Clear, VK_CLEAR},
    };
    if (keypad) {
        const auto found = keypadTable.find(qtKey);
        if (found != keypadTable.end())
            return found->second;
    }
    static const std::unordered_map<int, Word> table = {
        {Qt::Key_Backspace, VK_BACK},      {Qt::Key_Tab, VK_TAB},          {Qt::Key_Backtab, VK_TAB},
        {Qt::Key_Return, VK_RETURN},       {Qt::Key_Enter, VK_RETURN},     {Qt::Key_Shift, VK_SHIFT},
        {Qt::Key_Control, VK_CONTROL},     {Qt::Key_Alt, VK_MENU},         {Qt::Key_AltGr, VK_MENU},
        {Qt::Key_Pause, VK_PAUSE},         {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE},
        {Qt::Key_Space, VK_SPACE},         {Qt::Key_PageUp, VK_PRIOR},     {Qt::Key_PageDown, VK_NEXT},
        {Qt::Key_End, VK_END},             {Qt::Key_Home, VK_HOME},        {Qt::Key_Left, VK_LEFT},
        {Qt::Key_Up, VK_UP},               {Qt::Key_Right, VK_RIGHT},      {Qt::Key_Down, VK_DOWN},
        {Qt::Key_Insert, VK_INSERT},       {Qt::Key_Delete, VK_DELETE},    {Qt::Key_Print, VK_SNAPSHOT},
        {Qt::Key_Clear, VK_CLEAR},         {Qt::Key_Meta, VK_LWIN},        {Qt::Key_Menu, VK_APPS},
        {Qt::Key_NumLock, VK_NUMLOCK},     {Qt::Key_ScrollLock, VK_SCROLL}, {Qt::Key_Semicolon, VK_OEM_1},
        {Qt::Key_Colon, VK_OEM_1},         {Qt::Key_Equal, VK_OEM_PLUS},   {Qt::Key_Plus, VK_OEM_PLUS},
        {Qt::Key_Comma, VK_OEM_COMMA},     {Qt::Key_Less, VK_OEM_COMMA},   {Qt::Key_Minus, VK_OEM_MINUS},
        {Qt::Key_Underscore, VK_OEM_MINUS}, {Qt::Key_Period, VK_OEM_PERIOD}, {Qt::Key_Greater, VK_OEM_PERIOD},
        {Qt::Key_Slash, VK_OEM_2},         {Qt::Key_Question, VK_OEM_2},   {Qt::Key_QuoteLeft, VK_OEM_3},
        {Qt::Key_AsciiTilde, VK_OEM_3},    {Qt::Key_BracketLeft, VK_OEM_4}, {Qt::Key_BraceLeft, VK_OEM_4},
        {Qt::Key_Backslash, VK_OEM_5},     {Qt::Key_Bar, VK_OEM_5},        {Qt::Key_BracketRight, VK_OEM_6},
        {Qt::Key_BraceRight, VK_OEM_6},    {Qt::Key_Apostrophe, VK_OEM_7}, {Qt::Key_QuoteDbl, VK_OEM_7},
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
