// NUX_STD_library, locale: settings of the user's locale by a small index, locale identifiers
// of culture names, and formatting of values with a format text in a chosen locale. Numbers
// written to files never go through the user's locale; texts shown to the user do.
#pragma once

#include "foundation/cVariant.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace NUX_STD_library {

// One setting of the user's locale: 0 list separator, 1 date separator, 2 time separator,
// 3 currency symbol, 4 monetary decimal separator, 5 monetary decimals (a double), 6 monetary
// thousands separator, 7 monetary grouping, 8 language identifier (four hexadecimal digits),
// 9 decimal separator, 10 thousands separator, 11 digit grouping ("3;0"); any other index
// gives the empty text.
cVariant GetLocaleValue(int index);

// The locale identifier of a culture name compared without regard to case ("en-US" and "en"
// 1033, "it-IT" and "it" 1040, "de-DE" and "de" 1031, "fr-FR" and "fr" 1036, "ru" 1049,
// "it-CH" 2064, "en-UK" 2057); 0 for any other name.
std::int16_t CultureToLCID(std::string_view name);

// The value formatted with the format text in a locale (0: the user's locale). Formats: digit
// placeholders "0" and "#", "." and "," (grouping), "%", quoted or "\"-escaped literals, up to
// three sections (positive;negative;zero); dates and times with d, dd, m, mm, yy, yyyy, h, hh,
// n, nn, s, ss, "/" and ":", and the named "short date" and "short time"; "" for the general
// form. Rounding is half away from zero. A text that is not a number comes back unchanged,
// Null and empty give "". An unknown locale or a format text that cannot be read raises
// cError 5 with source "FormatEx"; a value that cannot be formatted raises cError 5.
std::string FormatEx(const cVariant& value, std::string_view format, std::int16_t lcid);

}  // namespace NUX_STD_library
