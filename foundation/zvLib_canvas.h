// zvLib, the drawing surfaces the model draws on without being handed one: the main canvas,
// the piece editor's picture and the printer page. The windows set them; drawing on a surface
// that is not there raises error 91.
#pragma once

#include "foundation/cSurface.h"

namespace zvLib {

// The main canvas (the main window's picture), or null before the window exists.
inline cSurface* MainPic = nullptr;
// The piece editor's picture, or null.
inline cSurface* EditPic = nullptr;
// The printer page being drawn, or null outside a print job.
inline cSurface* PrinterPage = nullptr;

// The surface, or error 91 when it is not there.
cSurface& Need(cSurface* surface, const char* what);

}  // namespace zvLib
