// NUX_STD_library, system side: development mode, shell, version and system information.
#pragma once

#include <string>

namespace NUX_STD_library {

// True only in development mode: when the environment variable ZORV_DEVMODE is "1".
bool IsInIDE();

}  // namespace NUX_STD_library
