// zvLib, the piece factory: the one place where a track piece comes into being. A piece is
// looked up in the piece table by set and item key and its whole geometry computed at a pose.
#pragma once

#include "foundation/cFixed.h"
#include "model/zvItem.h"

#include <memory>
#include <string>

namespace zvLib {

// Index of the first piece table record whose setID and itemID match without regard to case,
// or -1.
int FindPieceRecord(const std::string& setID, const std::string& itemID);

// A new piece of the record (setID, itemID) starting at (x, y) with the given heading, or null
// when the table has no such record. The markers "[#]", "[AB]" and "[CD]" are taken out of
// the caller's itemID (also when nothing is found) and set toFront, extAB and extCD.
std::shared_ptr<zvItem> CreateItem(const std::string& setID, std::string& itemID, cFixed x,
                                   cFixed y, cFixed angle);

// Sets the kerb strips of a placed piece from its outline corners while kerbs are shown
// (ShowKerbs), whatever its kerb flags say; all their corners are 0 while kerbs are not shown,
// and always on a start marker. Switching kerbs on or off calls it for every piece.
void PlaceKerbs(zvItem& item);

} // namespace zvLib
