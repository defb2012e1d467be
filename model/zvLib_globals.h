// zvLib, the application state the model reads: the piece table, the current set, the colours
// and view options. The application fills these at start-up and as the user changes them; tests
// fill their own and call ResetModelGlobals between cases.
#pragma once

#include "foundation/cFixed.h"
#include "model/zvPieceRecord.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class zvItem;

// What a piece's selection asks of the circuit that holds it. The circuit document implements
// it and is installed in zvLib::SelectionHost while it is the current circuit.
class zvSelectionHost {
  public:
    virtual ~zvSelectionHost() = default;
    // Makes the piece the circuit's current piece and its track (TrackIndex) the current track;
    // raises a cError when TrackIndex names no track of the circuit.
    virtual void CurItem(const std::shared_ptr<zvItem>& item) = 0;
    // Adds the piece at the end of the current track's selection under its Key.
    virtual void SelectedAdd(const std::shared_ptr<zvItem>& item) = 0;
    // Removes the entry with that key from the current track's selection; false when there was
    // none, which is not an error.
    virtual bool SelectedRemove(const std::string& key) = 0;
};

// A catalogue set as its header row describes it.
struct zvSetFacts {
    // The set code, as the catalogue spells it.
    std::string code;
    // Standard track width in mm.
    cFixed stdWidth;
    // Scale denominator (a model at 1:n holds n).
    std::int16_t scale = 0;
    // The set's description.
    std::string description;
};

namespace zvLib {

// The piece table: every catalogue piece (curves and width transitions in both hands) and the
// start records appended by the set loader. The factory looks pieces up in it.
extern std::vector<zvPieceRecord> PieceTable;
// The start record the set loader appends: set "Zorv", item "<START>", class 0, lanesGap 50.
zvPieceRecord StartRecord();

// Code of the set loaded in the item bar.
extern std::string CurSetID;
// Standard track width of the current set in mm: spacing of parallel tracks and length of the
// start marker's arrow.
extern cFixed SetStdWidth;
// Scale denominator of the current set (a model at 1:n holds n).
extern std::int16_t SetScale;
// Description of the current set (its header row's setDescription).
extern std::string SetDescription;
// What the catalogue says of every set, under its set code: what describes a circuit of the
// set and spaces its parallel tracks. Filled when the piece table is built from the catalogue.
extern std::vector<zvSetFacts> SetFacts;
// The facts of a set (code compared without regard to case) from SetFacts; those of the
// current set (CurSetID, SetStdWidth, SetScale, SetDescription) when it is not listed there.
zvSetFacts SetFactsOf(const std::string& setCode);
// The standard track width of a set: SetFactsOf(setCode).stdWidth.
cFixed StdWidthOf(const std::string& setCode);
// Full path of the user file "user.def" (stock counts and snippets per set).
extern std::string UserFile;

// Fill colour of pieces other than curves, and of every piece while ShowFillEx is off.
extern std::int32_t tracknormal;
// Outline and fill of selected pieces.
extern std::int32_t trackhilite;
// Outline of preview pieces.
extern std::int32_t tracksketch;
// Kerb outlines and fills.
extern std::int32_t trackkerbs;
// Banked edges.
extern std::int32_t trackbanked;
// Measure objects and the ruler.
extern std::int32_t measure;
// Colours of circuit lanes 1 to 8 (index 0 to 7); track t draws lanes 2t-1 and 2t.
extern std::array<std::int32_t, 8> LaneColors;
// Fill colours of curves of radius number 1 to 12 (index 0 to 11).
extern std::array<std::int32_t, 12> RadiusColors;

// The background grid is drawn.
extern bool ShowGrid;
// Pieces are filled on the main canvas.
extern bool ShowFill;
// Pieces are filled with their own colour (ExtraColor) instead of tracknormal.
extern bool ShowFillEx;
// Lane lines and lane marks are drawn.
extern bool ShowLanes;
// Code labels are printed.
extern bool ShowCodes;
// Construction marks are drawn.
extern bool ShowLines;
// Kerbs are computed and drawn.
extern bool ShowKerbs;
// Lane lines are drawn LaneWidth - 1 pixels wider than the pen in force.
extern std::int16_t LaneWidth;

// The current circuit as the pieces see it when selected; null when there is no circuit.
extern std::shared_ptr<zvSelectionHost> SelectionHost;

// Puts every value above back to its start value: empty piece table and set, the default
// colours and options, no selection host.
void ResetModelGlobals();

} // namespace zvLib
