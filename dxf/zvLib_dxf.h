// zvLib, the background drawing of the open circuit: none, or the one cDXF that the circuit
// file brought. The circuit file reader sets it; re-initialising the circuit releases it.
#pragma once

#include "dxf/cDXF.h"

#include <memory>

namespace zvLib {

// The current background drawing, or empty when the circuit has none.
inline std::unique_ptr<cDXF> DXF;

} // namespace zvLib
