#include "stock/stockfields.h"

#include "core/mmain.h"

namespace stock {

int QuantityKey(int keyAscii, const QString& text)
{
    if (keyAscii == '.')
        keyAscii = ',';
    if (keyAscii == ',' && text.contains(QLatin1Char(',')))
        return 0;
    return mMain::NumericOnly(keyAscii, true);
}

} // namespace stock
