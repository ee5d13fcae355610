#include "platform/screensaver/keymap.h"

#include <Qt>

#include "platform/screensaver/screensaver.h"

namespace platform::saver {

namespace {

struct KeyPair {
    int qt;
    WPARAM vk;
};

constexpr KeyPair kKeys[] = {
    {Qt::Key_Escape, VK_ESCAPE},    {Qt::Key_Tab, VK_TAB},          {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Backspace, VK_BACK},   {Qt::Key_Return, VK_RETURN},    {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Insert, VK_INSERT},    {Qt::Key_Delete, VK_DELETE},    {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_Print, VK_SNAPSHOT},   {Qt::Key_Clear, VK_CLEAR},      {Qt::Key_Home, VK_HOME},
    {Qt::Key_End, VK_END},          {Qt::Key_Left, VK_LEFT},        {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},      {Qt::Key_Down, VK_DOWN},        {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},    {Qt::Key_Shift, VK_SHIFT},      {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Meta, VK_LWIN},        {Qt::Key_Super_L, VK_LWIN},     {Qt::Key_Super_R, VK_RWIN},
    {Qt::Key_Alt, VK_MENU},         {Qt::Key_AltGr, VK_MENU},       {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_NumLock, VK_NUMLOCK},  {Qt::Key_ScrollLock, VK_SCROLL}, {Qt::Key_Menu, VK_APPS},
    {Qt::Key_Help, VK_HELP},        {Qt::Key_Space, VK_SPACE},      {Qt::Key_Asterisk, VK_MULTIPLY},
    {Qt::Key_Plus, VK_OEM_PLUS},    {Qt::Key_Equal, VK_OEM_PLUS},   {Qt::Key_Comma, VK_OEM_COMMA},
    {Qt::Key_Less, VK_OEM_COMMA},   {Qt::Key_Minus, VK_OEM_MINUS},  {Qt::Key_Underscore, VK_OEM_MINUS},
    {Qt::Key_Period, VK_OEM_PERIOD}, {Qt::Key_Greater, VK_OEM_PERIOD}, {Qt::Key_Slash, VK_OEM_2},
    {Qt::Key_Question, VK_OEM_2},   {Qt::Key_Semicolon, VK_OEM_1},  {Qt::Key_Colon, VK_OEM_1},
    {Qt::Key_QuoteLeft, VK_OEM_3},  {Qt::Key_AsciiTilde, VK_OEM_3}, {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_BraceLeft, VK_OEM_4},  {Qt::Key_Backslash, VK_OEM_5},  {Qt::Key_Bar, VK_OEM_5},
    {Qt::Key_BracketRight, VK_OEM_6}, {Qt::Key_BraceRight, VK_OEM_6}, {Qt::Key_Apostrophe, VK_OEM_7},
    {Qt::Key_QuoteDbl, VK_OEM_7},
};

// The shifted digits of a US keyboard, so Shift+1 is still the key '1'.
constexpr KeyPair kShiftedDigits[] = {
    {Qt::Key_Exclam, '1'}, {Qt::Key_At, '2'},         {Qt::Key_NumberSign, '3'}, {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'}, {Qt::Key_AsciiCircum, '6'}, {Qt::Key_Ampersand, '7'},  {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
};

}  // namespace

WPARAM VirtualKeyFromQt(int qtKey, bool keypad) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        WPARAM digit = static_cast<WPARAM>(qtKey - Qt::Key_0);
        return keypad ? VK_NUMPAD0 + digit : '0' + digit;
    }
    if (keypad) {
        switch (qtKey) {
        case Qt::Key_Asterisk: return VK_MULTIPLY;
        case Qt::Key_Plus: return VK_ADD;
        case Qt::Key_Minus: return VK_SUBTRACT;
        case Qt::Key_Period:
        case Qt::Key_Comma: return VK_DECIMAL;
        case Qt::Key_Slash: return VK_DIVIDE;
        default: break;
        }
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<WPARAM>('A' + (qtKey - Qt::Key_A));
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return VK_F1 + static_cast<WPARAM>(qtKey - Qt::Key_F1);
    for (const KeyPair& pair : kKeys) {
        if (pair.qt == qtKey) return pair.vk;
    }
    for (const KeyPair& pair : kShiftedDigits) {
        if (pair.qt == qtKey) return pair.vk;
    }
    return kUnknownVirtualKey;
}

}  // namespace platform::saver
