// NUX_STD_library, program folder: where the program's own data files (language table,
// catalogue, report template) are found.
#pragma once

#include <string>

namespace NUX_STD_library {

// The program's folder, ending with "/": the executable's folder unless set otherwise.
std::string AppPath();
// Sets the program folder (a "/" is added when missing); an empty text goes back to the
// executable's folder.
void AppPath(const std::string& folder);

}  // namespace NUX_STD_library
