#pragma once
// Key codes as the windows know them: the virtual key code of a key-down
// (112 F1 … 123 F12, 27 Esc, 13 Enter, 107 keypad "+") with the shift state
// (1 Shift, 2 Ctrl, 4 Alt), and the character code of a key press
// (8 Backspace, 13 Enter, 44 ",").
#include <Qt>

class QKeyEvent;

namespace platform {

enum KeyCodes {
    vbKeyBack = 8,
    vbKeyTab = 9,
    vbKeyReturn = 13,
    vbKeyEscape = 27,
    vbKeySpace = 32,
    vbKeyPageUp = 33,
    vbKeyPageDown = 34,
    vbKeyEnd = 35,
    vbKeyHome = 36,
    vbKeyLeft = 37,
    vbKeyUp = 38,
    vbKeyRight = 39,
    vbKeyDown = 40,
    vbKeyInsert = 45,
    vbKeyDelete = 46,
    vbKeyAdd = 107,
    vbKeySubtract = 109,
    vbKeyF1 = 112,
    vbKeyF2 = 113,
    vbKeyF3 = 114,
    vbKeyF4 = 115,
    vbKeyF5 = 116,
    vbKeyF6 = 117,
    vbKeyF7 = 118,
    vbKeyF8 = 119,
    vbKeyF9 = 120,
    vbKeyF10 = 121,
    vbKeyF11 = 122,
    vbKeyF12 = 123,
};

enum ShiftState { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };

// 0 for keys that have no code of their own.
int keyCodeOf(const QKeyEvent* e);
int shiftOf(Qt::KeyboardModifiers m);

} // namespace platform
