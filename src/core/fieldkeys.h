#pragma once
// The field behaviours that many windows share, each connected by one call,
// so that a window's field table reads as a list of them. What is particular
// to one field (Enter running the save, Delete deleting a row) is a handler
// of its window under the field's name.
#include "core/mmain.h"
#include "platform/form.h"
#include "platform/keys.h"

namespace mMain {

// Gets and loses the focus: the focus colour on and off.
template <class Field> void FocusColours(Field* field)
{
    field->events.GotFocus = [field] { FocusOn(field); };
    field->events.LostFocus = [field] { FocusOff(field); };
}

// Each typed letter upper case.
template <class Field> void UpperKeys(Field* field)
{
    field->events.KeyPress = [](int& KeyAscii) { KeyAscii = UpperKey(KeyAscii); };
}

// The first letter of each word upper case, judged by the field's text
// around what is typed.
template <class Field> void ProperKeys(Field* field)
{
    field->events.KeyPress = [field](int& KeyAscii) { KeyAscii = ProperKey(KeyAscii, field->UnselectedText()); };
}

// Digits and Backspace only: the field holds a figure, so a paste its keys
// would change or cut is refused rather than taken.
template <class Field> void DigitKeys(Field* field)
{
    field->Figure = true;
    field->events.KeyPress = [](int& KeyAscii) { KeyAscii = NumericOnly(KeyAscii, false); };
}

// A quantity: digits and one decimal comma (QuantityKey), and a pasted
// figure with a fraction is taken as written.
template <class Field> void QuantityKeys(Field* field)
{
    field->Figure = true;
    field->FigureDecimals = true;
    field->events.KeyPress = [field](int& KeyAscii) { KeyAscii = QuantityKey(KeyAscii, field->UnselectedText()); };
}

// Enter moves the focus on to the next control of the window's tab order,
// as a Tab would.
template <class Field> void EnterSendsTab(platform::Form* window, Field* field)
{
    field->events.KeyDown = [window](int& KeyCode, int) {
        if (KeyCode == platform::vbKeyReturn) {
            KeyCode = 0;
            window->SendTab();
        }
    };
}

} // namespace mMain
