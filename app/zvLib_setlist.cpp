// zvLib, the set list. Until the catalogue is read at start-up there is no set to offer.
#include "app/zvLib_setlist.h"

namespace zvLib {

std::string GetSetList()
{
    return {};
}

} // namespace zvLib
