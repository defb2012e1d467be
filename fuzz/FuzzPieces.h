// The small piece table the fuzz targets build their circuits from: set "F" with a straight,
// a curve of each hand and, where a target needs them, a crossover and a width transition.
#pragma once

#include "foundation/cFixed.h"
#include "model/zvPieceRecord.h"

#include <string>

// One record of set "F": item code, class, first and second size value and orientation.
inline zvPieceRecord FuzzPiece(const std::string& item, int classe, double sng1, double sng2,
                               int o)
{
    zvPieceRecord r;
    r.setID = "F";
    r.itemID = item;
    r.code = item;
    r.stdWidth = 156;
    r.lanesGap = 39;
    r.classe = classe;
    r.sng1 = cFixed::fromDouble(sng1);
    r.sng2 = cFixed::fromDouble(sng2);
    r.Orientation = o;
    r.r = 2;
    return r;
}
