// zvLib, the program's one colour table: the named and custom colours and the conversions
// between colour texts and colour values, shared by the settings, the circuit file, the
// annotation objects and the reports.
#pragma once

#include "foundation/nxColors.h"

namespace zvLib {

// The application's colour object, alive for the program's life.
extern const nxColors Colors;

} // namespace zvLib
