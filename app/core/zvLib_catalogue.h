// zvLib, the piece catalogue: the table file "Zorv.dat" beside the program, kept open for the
// program's life, and the piece table built from it once at start-up, every curve and width
// transition in both hands, descriptions in the start-up language. Rows the build cannot use
// are reported in one list of messages and left out.
#pragma once

#include "foundation/cRecordset.h"
#include "model/zvPieceRecord.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// What the piece table build asks of whoever keeps the piece icons (bitmap files named by the
// record's itemID in the temporary folder). The main window provides it; without one the
// build writes no icons.
class zvPieceIcons {
  public:
    virtual ~zvPieceIcons() = default;
    // Writes the icon of a record made from a catalogue row from the row's icon field, or the
    // stock picture when the field holds no data; icona is null when the catalogue has no
    // icon field.
    virtual void WriteIcon(const zvPieceRecord& record, cField* icona) = 0;
    // Writes the icon of a mirror copy: the icon of the record it was copied from, mirrored
    // left to right.
    virtual void MirrorIcon(const zvPieceRecord& source, const zvPieceRecord& copy) = 0;
    // Makes sure the icon of the last record of a row can be loaded; when it cannot, writes a
    // placeholder showing the record's itemID in its place.
    virtual void CheckIcon(const zvPieceRecord& record) = 0;
};

namespace zvLib {

// The most records the catalogue may give the piece table (a 16-bit index), one place being
// kept for the first start record.
constexpr std::size_t kMaxCatalogueRecords = 32767;
// Number of the error reported when the catalogue lacks a field the build reads.
constexpr long kErrCatalogueField = 3265;

// The catalogue table; readers narrow it with a filter and set the filter back to "".
extern cRecordset Catalogue;

// Opens the catalogue file into Catalogue (path empty: program folder & "Zorv.dat"); 0 when
// it is open, else the error number, Catalogue.ErrorText() saying what was wrong.
long OpenCatalogue(const std::string& path = {});

// Builds PieceTable afresh from every row of the open Catalogue, in row order, each mirror
// copy right after its record, and SetFacts from the sets' header rows. A row that breaks
// the build's rules (a missing value, an unusable number, a key unfit for piece definitions,
// a curve radius without a colour, a full table) is left out and described in the list
// returned; a catalogue without one of the fields the build reads gives an empty table and
// one message. Icons go to icons when given.
std::vector<std::string> BuildPieceTable(zvPieceIcons* icons = nullptr);

// Start-up's catalogue step: OpenCatalogue, then BuildPieceTable. Returns 0 or the error
// number of the open; messages receives what the build or the open reported.
long LoadCatalogue(std::vector<std::string>& messages, zvPieceIcons* icons = nullptr);

// True when a set code or item code can stand in a piece definition and name an icon file:
// not empty, no ";", ":", "[", "]", "/", "\" and no control characters.
bool IsSafeCatalogueKey(std::string_view key);

// Closes the catalogue and empties the current set's description (tests call it).
void ResetCatalogue();

} // namespace zvLib
