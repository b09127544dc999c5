#include "data/owntext.h"

namespace platform {

namespace {
TextLookup& lookup()
{
    static TextLookup installed;
    return installed;
}
} // namespace

void SetTextLookup(TextLookup l)
{
    lookup() = std::move(l);
}

QString OwnText(const char* key, const QString& indonesian)
{
    const QString text = lookup() ? lookup()(QLatin1String(key)) : QString();
    return text.isEmpty() ? indonesian : text;
}

} // namespace platform
