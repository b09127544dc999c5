#include "platform/keys.h"

#include <QKeyEvent>

namespace platform {

int keyCodeOf(const QKeyEvent* e)
{
    const int k = e->key();
    const bool keypad = e->modifiers() & Qt::KeypadModifier;
    if (keypad) {
        if (k == Qt::Key_Plus)
            return vbKeyAdd;
        if (k == Qt::Key_Minus)
            return vbKeySubtract;
        if (k == Qt::Key_Asterisk)
            return 106;
        if (k == Qt::Key_Slash)
            return 111;
        if (k >= Qt::Key_0 && k <= Qt::Key_9)
            return 96 + (k - Qt::Key_0);
        if (k == Qt::Key_Enter)
            return vbKeyReturn;
    }
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        return vbKeyF1 + (k - Qt::Key_F1);
    if (k >= Qt::Key_A && k <= Qt::Key_Z)
        return k; // Qt uses the ASCII capitals, as the key codes do
    if (k >= Qt::Key_0 && k <= Qt::Key_9)
        return k;
    switch (k) {
    case Qt::Key_Backspace: return vbKeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vbKeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vbKeyReturn;
    case Qt::Key_Escape: return vbKeyEscape;
    case Qt::Key_Space: return vbKeySpace;
    case Qt::Key_PageUp: return vbKeyPageUp;
    case Qt::Key_PageDown: return vbKeyPageDown;
    case Qt::Key_End: return vbKeyEnd;
    case Qt::Key_Home: return vbKeyHome;
    case Qt::Key_Left: return vbKeyLeft;
    case Qt::Key_Up: return vbKeyUp;
    case Qt::Key_Right: return vbKeyRight;
    case Qt::Key_Down: return vbKeyDown;
    case Qt::Key_Insert: return vbKeyInsert;
    case Qt::Key_Delete: return vbKeyDelete;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Plus: return 187;
    case Qt::Key_Comma: return 188;
    case Qt::Key_Minus: return 189;
    case Qt::Key_Period: return 190;
    default: return 0;
    }
}

int shiftOf(Qt::KeyboardModifiers m)
{
    int s = 0;
    if (m & Qt::ShiftModifier)
        s |= vbShiftMask;
    if (m & Qt::ControlModifier)
        s |= vbCtrlMask;
    if (m & Qt::AltModifier)
        s |= vbAltMask;
    return s;
}

} // namespace platform
