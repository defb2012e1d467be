// zvLib, text comparison used by every lookup: keys, set codes, field and colour names are
// matched without regard to case (ASCII letters; catalogue keys are plain ASCII).
#pragma once

#include <string_view>

namespace zvLib {

// True when the two texts are equal ignoring the case of ASCII letters.
bool SameText(std::string_view a, std::string_view b);

} // namespace zvLib
