#include "data/owntext.h"

#include <mutex>

namespace platform {

namespace {
// A failure may be worded on any thread (a page read ahead, a print-out at
// work) while the window thread loads another language.
std::mutex& guard()
{
    static std::mutex m;
    return m;
}

TextLookup& lookup()
{
    static TextLookup installed;
    return installed;
}
} // namespace

void SetTextLookup(TextLookup l)
{
    const std::lock_guard<std::mutex> held(guard());
    lookup() = std::move(l);
}

QString OwnText(const char* key, const QString& indonesian)
{
    TextLookup l;
    {
        const std::lock_guard<std::mutex> held(guard());
        l = lookup();
    }
    const QString text = l ? l(QLatin1String(key)) : QString();
    return text.isEmpty() ? indonesian : text;
}

} // namespace platform
