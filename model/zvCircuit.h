// zvCircuit: the circuit document. One to four parallel two-lane tracks laid from a start
// point and heading, the annotation objects, the set code, name and description, and the
// current track and piece where new pieces go. It carries its whole layout in its definition
// text, measures and lists itself, and is where a selected piece reports to.
#pragma once

#include "foundation/NUX_STD_encoding.h"
#include "foundation/NUX_STD_files.h"
#include "foundation/cFixed.h"
#include "model/cKeyedList.h"
#include "model/zvItem.h"
#include "model/zvLib_globals.h"
#include "model/zvTrack.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class zvObject;

// What lies under a point of the canvas: the first piece hit, or, when no piece is, the first
// annotation object whose grip is hit.
struct zvLocated {
    // The piece hit, or null.
    std::shared_ptr<zvItem> item;
    // The object hit when no piece is, or null.
    std::shared_ptr<zvObject> object;
};

// One row of a table of six text columns (the lanes table, the bill of materials).
using zvTableRow = std::array<std::string, 6>;
// A table of six text columns, one row per lane or per kind of piece.
using zvTextTable = std::vector<zvTableRow>;

// What opening a circuit file found besides its result.
struct zvFileOpenInfo {
    // Piece entries left out because the piece table holds no record for them; a save drops
    // them for good.
    std::int32_t Skipped = 0;
    // Why the file was refused, in a sentence for developers; empty when it was loaded.
    std::string Reason;
    // Why the file could not be read at all; None when its bytes were read.
    NUX_STD_library::ReadFault Fault = NUX_STD_library::ReadFault::None;
};

class zvCircuit : public zvSelectionHost {
  public:
    // Most tracks a circuit holds: lane colours exist for eight lanes.
    static constexpr std::int16_t kMaxTracks = 4;
    // The largest circuit file read, in bytes: the largest background drawing in Base64 and
    // 64 MiB to spare, unless set otherwise (tests set a small one).
    static std::uint64_t MaxFileBytes();
    static void MaxFileBytes(std::uint64_t bytes);

    // An empty document: no tracks, no objects, no current piece.
    zvCircuit() = default;
    ~zvCircuit() override;
    zvCircuit(const zvCircuit&) = delete;
    zvCircuit& operator=(const zvCircuit&) = delete;

    // The annotation objects in drawing order.
    cKeyedList<zvObject>& objects() { return objects_; }
    const cKeyedList<zvObject>& objects() const { return objects_; }
    // The tracks; the track at position i has index i.
    const cKeyedList<zvTrack>& tracks() const { return tracks_; }

    // Start heading in degrees. Writing rounds to whole degrees (halves to even), keeps the
    // remainder of 360 with the value's sign and, when that differs, re-lays the circuit out.
    cFixed Angle() const { return Angle_; }
    void Angle(cFixed value);
    // Start point in mm. Writing a different value re-lays the circuit out.
    cFixed StartX() const { return StartX_; }
    void StartX(cFixed value);
    cFixed StartY() const { return StartY_; }
    void StartY(cFixed value);
    // The current piece: the next appended piece goes after it.
    std::shared_ptr<zvItem> CurItem() const { return CurItem_; }
    // Makes a piece current and its track the current track; cError 91 for none, 9 when its
    // TrackIndex names no track, 5 when its track does not hold it.
    void CurItem(const std::shared_ptr<zvItem>& item) override;
    // The track that holds the current piece.
    std::shared_ptr<zvTrack> CurTrack() const { return CurTrack_; }
    // Set code of the circuit: the catalogue set it was created with.
    const std::string& DefCode() const { return DefCode_; }
    // Circuit name and description, kept as UTF-8 (bytes that are not are read as
    // Windows-1252), so that the file holds what is shown.
    const std::string& Name() const { return Name_; }
    void Name(const std::string& v) { Name_ = NUX_STD_library::TextFromBytes(v); }
    const std::string& Description() const { return Description_; }
    void Description(const std::string& v) { Description_ = NUX_STD_library::TextFromBytes(v); }

    // The circuit definition text: a header line (set code, track count, angle, start x and
    // y, escaped name and description, each followed by ";") and one line per track with its
    // definition string, every line ended by CR LF. Numbers use "." as decimal sign.
    std::string DefString() const;
    // Rebuilds every track from a definition text; the set code, name, description, objects
    // and background drawing stay. The text is checked whole first: a missing or non-numeric
    // track count or angle raises cError 13, a track count outside 1 to 4 cError 5, a track
    // line beyond the track count cError 9, an entry without ":" cError 5, and the circuit is
    // then left as it was. The tracks lie the standard width of the circuit's own set apart:
    // the set of the first piece that names one (the first of the set list), else DefCode.
    void DefString(const std::string& text);
    // Builds floor(lanes / 2) empty tracks from a start pose, track i lying (i - 1) standard
    // widths of the set code (zvLib::StdWidthOf) to the right of track 1, and drops the background
    // drawing (a new circuit, or one read from a file, brings its own); the current piece is track
    // 1's start marker. Fewer than 1 or more than 4 tracks raise cError 5 and change nothing.
    void Init(const std::string& code, std::int16_t lanes, cFixed angle, cFixed x, cFixed y);
    // Repaints the whole circuit on the main canvas: clears it, the grid (when shown) and the
    // origin cross, the rooms, every piece (selected ones highlighted), the pieces marked to
    // the front once more, the other objects, and in development mode the background drawing.
    void Draw() const;
    // Draws the rooms, the pieces and the other objects on the printer page the caller set up.
    void Printout() const;
    // What lies under a world point: pieces of every track in order first, start markers
    // included; annotation objects only when no piece is hit. Shows nothing itself.
    zvLocated LocateItem(cFixed x, cFixed y) const;

    // The extent (xmin, ymin, xmax, ymax, width, height) of the pieces (start markers left
    // out), objects and background drawing; an axis nothing widened gives 0 and 0.
    std::array<cFixed, 6> GetExtent() const;
    // The mean centre-line length of the tracks in mm; 0 without tracks.
    double GetLength() const;
    // Fills the lanes table: per lane the lane number, its length in metres ("0.00"), at the
    // full scale of the circuit's own set (OwnSet) in kilometres ("0.000"), and its track's end
    // gap in x and y (" mm") and heading ("°"), in the user's decimal sign, halves rounded to
    // even, never "-0.00".
    void GetLanes(zvTextTable& lanes) const;
    // The number of pieces of all tracks, start markers included.
    std::int32_t GetTotalItems() const;
    // Fills the bill of materials: per set code and piece code, in order of first appearance,
    // the set, the code, the description up to its first "(", the quantity, "0" and "0". A
    // circuit without pieces gives one row of empty texts.
    void GetBOM(zvTextTable& b) const;
    // The bill of materials as text: the six fields of each row joined by "|", each row ended
    // by CR LF; a "|" or line break inside a field is replaced so that the columns hold.
    std::string GetBOMCSV() const;
    // The set codes of the pieces in order of first appearance, each followed by ";".
    std::string getSet() const;
    // The circuit's own set, the one that describes it (scale, real lengths, set description)
    // whatever set the item bar offers: the first of getSet, else DefCode, with its catalogue
    // facts (zvLib::SetFactsOf).
    zvSetFacts OwnSet() const;

    // Writes the circuit file (UTF-8 XML, CR LF line ends) with the tracks, objects and the
    // background drawing; the file is replaced whole through a temporary file in its folder.
    // False when it could not be written, or when it would be larger than MaxFileBytes, the
    // most the reader takes (LastWriteFailure then says TooLarge with that bound): an existing
    // file is then left as it was.
    bool FileSave(const std::string& FileName) const;
    // Reads a circuit file into this circuit: 0 when loaded, -1 when refused. Every value is
    // checked before anything changes; on success the file's first set is the current set
    // (zvLib::UI->LoadSet) and zvLib::DXF holds the file's background drawing or none (a
    // drawing element whose stream holds no bytes gives a drawing without bytes that keeps the
    // element's name and placement, and is saved again as it was read). On a refusal the
    // circuit, the current set and the background drawing stay as they were.
    // The start angle and point are read in whole numbers (halves to even), as the file keeps
    // them. info, when given, receives the count of skipped piece entries and the refusal
    // reason.
    std::int16_t FileOpen(const std::string& FileName, zvFileOpenInfo* info = nullptr);

    // Adds the piece at the end of the current track's selection (once).
    void SelectedAdd(const std::shared_ptr<zvItem>& item) override;
    // Removes the entry with that key from the current track's selection; false when none.
    bool SelectedRemove(const std::string& key) override;

  private:
    // The parts of a definition text, checked.
    struct Definition {
        std::int16_t trackCount = 0;
        cFixed angle;
        std::optional<cFixed> x;
        std::optional<cFixed> y;
        std::vector<std::string> trackLines;
    };
    // Splits and checks a definition text; raises on anything it could not rebuild.
    static Definition parseDefinition(const std::string& text);
    // Builds the empty tracks from the start pose, spaced by the standard width of the set
    // widthSet; the background drawing stays. On an error nothing has changed.
    void build(const std::string& code, std::int16_t lanes, cFixed angle, cFixed x, cFixed y,
               const std::string& widthSet);
    // Rebuilds every piece from the circuit's own definition text.
    void relayout();
    // Lets every track go.
    void releaseTracks();
    // The whole circuit file as one text.
    std::string fileText() const;
    // Takes over the tracks, pose, texts and current piece of a circuit built aside.
    void adopt(zvCircuit& built);

    cKeyedList<zvObject> objects_;
    cKeyedList<zvTrack> tracks_;
    std::string DefCode_;
    std::int16_t TrackCount_ = 0;
    cFixed StartX_;
    cFixed StartY_;
    cFixed Angle_;
    std::string Name_;
    std::string Description_;
    std::shared_ptr<zvTrack> CurTrack_;
    std::shared_ptr<zvItem> CurItem_;
};

namespace zvLib {

// The current circuit, or null when there is none.
std::shared_ptr<zvCircuit> Circuit();
// Makes a circuit (or none) current; selecting one of its pieces then reaches it.
void Circuit(const std::shared_ptr<zvCircuit>& circuit);

// Escapes a text for one field of a definition line: a backslash becomes "\\", CR LF "\n",
// TAB "\t" and ";" "\c"; nothing else changes (a lone CR or LF stays).
std::string EscapeText(std::string_view text);
// Turns the escapes of EscapeText back in one pass from the left: "\\" becomes a backslash,
// "\n" CR LF, "\t" TAB and "\c" ";"; any other backslash stays, so older texts whose
// backslashes were not doubled still read.
std::string UnescapeText(std::string_view text);

} // namespace zvLib
