// zvLib, the drawing surfaces the model draws on.
#include "foundation/zvLib_canvas.h"

#include "foundation/cError.h"

#include <string>

namespace zvLib {

cSurface& Need(cSurface* surface, const char* what)
{
    if (surface == nullptr) {
        throw cError(91, "zvLib", std::string("No drawing surface: ") + what);
    }
    return *surface;
}

}  // namespace zvLib
