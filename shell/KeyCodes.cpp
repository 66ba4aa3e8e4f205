// One table from Qt's keys to the Windows virtual-key numbers that handlers compare with.
#include "shell/KeyCodes.h"

#include <Qt>

#include <unordered_map>

// FIXME: keys are mapped from the characters of the active keyboard layout, so with a
// Russian layout letters arrive as Cyrillic keys and get no code; programs that read letter
// keys need a fallback to the physical key (the native scan code).
Word VirtualKeyFromQt(int qtKey)
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
