// NUX_STD_library, system side: development mode, shell, version and system information.
#include "foundation/NUX_STD_system.h"

#include <cstdlib>
#include <cstring>

namespace NUX_STD_library {

bool IsInIDE()
{
    const char* v = std::getenv("ZORV_DEVMODE");
    return v != nullptr && std::strcmp(v, "1") == 0;
}

}  // namespace NUX_STD_library
