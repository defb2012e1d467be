// zvLib, the program's one colour table. Its tables are filled once, before main; nothing
// changes them afterwards.
#include "model/zvLib_colors.h"

namespace zvLib {

const nxColors Colors;

} // namespace zvLib
