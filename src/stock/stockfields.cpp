#include "stock/stockfields.h"

#include "core/mmain.h"
#include "platform/controls.h"

namespace stock {

int QuantityKey(int keyAscii, const QString& text)
{
    if (keyAscii == '.')
        keyAscii = ',';
    if (keyAscii == ',' && text.contains(QLatin1Char(',')))
        return 0;
    return mMain::NumericOnly(keyAscii, true);
}

void QuantityKeys(platform::TextBox* field)
{
    field->events.KeyPress = [field](int& KeyAscii) { KeyAscii = QuantityKey(KeyAscii, field->UnselectedText()); };
}

} // namespace stock
