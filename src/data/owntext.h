#pragma once
// The program's own texts that no caption of a window holds: a progress
// box's steps, where a file went, what failed and why. They come from the language set in use,
// which the language layer, above this floor, lends through a lookup; each
// text carries its Indonesian wording for a set that lacks it (one made
// before it existed) and for code that runs with no language at all.
#include <QString>
#include <functional>

namespace platform {

// A key's text in the language in use, "" when the language has none. It
// may be asked from any thread.
using TextLookup = std::function<QString(const QString& key)>;
void SetTextLookup(TextLookup lookup);

QString OwnText(const char* key, const QString& indonesian);

} // namespace platform
