// zvPieceRecord: one record of the piece table, a catalogue piece with its dimensions already
// converted to what the piece geometry needs. Curves stand twice (right "(R)" and left "(L)"),
// width transitions twice (forward "(F)" and backward "(B)"); the set loader adds the start record.
#pragma once

#include "foundation/cFixed.h"

#include <cstdint>
#include <string>

struct zvPieceRecord {
    // Catalogue set code.
    std::string setID;
    // Lookup key: the catalogue item code with the record's hand suffix, if it has one.
    std::string itemID;
    // The item code without suffix, printed on the piece and grouped in the bill of materials.
    std::string code;
    // Description in the start-up language (curves carry their hand in brackets).
    std::string description;
    // Track width in mm.
    cFixed stdWidth;
    // Centre-line radius of the innermost standard curve of the set (not read by the pieces).
    cFixed stdRadius;
    // Distance of each lane from the centre line in mm (half the catalogue lane gap).
    cFixed lanesGap;
    // Width of a kerb strip in mm.
    cFixed kerbsWidth;
    // Kerb marker of the catalogue (not read by the pieces).
    std::int16_t kerbsOn = 0;
    // Kind: 0 start marker, 1 straight, 2 curve, 8 width transition.
    std::int32_t classe = 0;
    // Straight: length; curve: sweep in degrees; width transition: length.
    cFixed sng1;
    // Curve: centre-line radius in mm; width transition: track width at the narrow end.
    cFixed sng2;
    // Width transition: lane spacing at the narrow end.
    cFixed sng3;
    // Radius colour number of a curve, 1 to 12; 0 for other records.
    std::int16_t r = 0;
    // Catalogue radius values of a curve.
    cFixed R0;
    cFixed R1;
    cFixed R2;
    // -1 right-hand and +1 left-hand curve; 2 and -2 width transition with the narrow end at
    // the start or at the end; 2 for straights.
    std::int32_t Orientation = 0;
    // The piece exchanges the two lanes.
    bool flgSwap = false;
    // Feature kind: 1, 2, 4, 8 or 16.
    std::int32_t flags = 0;
    // Named point sets: CRLF-separated lines name "=" point-set text, upper-cased and trimmed.
    std::string extra;
};
