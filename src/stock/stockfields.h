#pragma once
// Key rules of the quantity fields of the stock windows.
#include <QString>

namespace platform {
class TextBox;
}

namespace stock {

// A typed "." becomes ","; a second comma is refused; then digits,
// Backspace and the comma pass. Returns the key to type (0 refuses it).
int QuantityKey(int keyAscii, const QString& text);
// Connects the rule as the field's key filter.
void QuantityKeys(platform::TextBox* field);

} // namespace stock
