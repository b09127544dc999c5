#pragma once
// Which control of which window shows which text of the language database:
// plain data, read by the caption code of the windows and by its tests
// without any window.
#include <span>

namespace mLang {

enum class Property {
    Caption, // labels, frames, check boxes, push buttons
    Text,    // the login panel's information text; "\n" in it breaks the line
};

struct CaptionRow {
    const char* window;
    const char* control;
    const char* section;
    const char* key;
    Property property = Property::Caption;
};

// In the order the captions are applied.
std::span<const CaptionRow> CaptionMap();

} // namespace mLang
