// NUX_STD_library, culture data: the separators, grouping and date patterns of a locale, for
// the user's locale (read through the C library) and for the locale identifiers the program
// formats in.
#pragma once

#include <optional>
#include <string>

namespace NUX_STD_library {

// What formatting needs to know of a locale. Groupings are written as "3;0" (groups of three,
// repeated); date patterns use the format letters with "/" for the date separator.
struct cCulture {
    std::string decimal = ".";       // decimal separator
    std::string thousand = ",";      // thousands separator
    std::string grouping = "3;0";    // digit grouping
    std::string list = ",";          // list separator
    std::string dateSep = "/";       // date separator
    std::string timeSep = ":";       // time separator
    std::string currency = "$";      // currency symbol
    std::string monDecimal = ".";    // monetary decimal separator
    std::string monThousand = ",";   // monetary thousands separator
    std::string monGrouping = "3;0"; // monetary digit grouping
    int currDigits = 2;              // monetary decimals
    std::string langId = "0409";     // language identifier, four hexadecimal digits
    std::string shortDate = "m/d/yyyy";  // short date pattern
};

// The user's locale, read afresh from the environment (LC_ALL, LC_NUMERIC, LC_MONETARY,
// LC_TIME, LANG) without touching the process's locale. A locale the system lacks is taken
// from the built-in data of its language when there is one, else the C locale's.
cCulture UserCulture();
// The built-in data of a locale identifier (1033, 1040, 1031, 1036, 1049, 2064, 2057, 3082);
// none for another.
std::optional<cCulture> CultureOfLCID(int lcid);

}  // namespace NUX_STD_library
