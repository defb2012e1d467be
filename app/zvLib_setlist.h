// zvLib, the set list: the codes of the sets whose pieces the catalogue offers.
#pragma once

#include <string>

namespace zvLib {

// The set codes of the offered pieces, each followed by ";", in catalogue order; "" when none.
std::string GetSetList();

} // namespace zvLib
