// zvTrack: one two-lane track of a circuit, a chain of pieces that begins with the start
// marker. It makes pieces from a track definition string, appends or inserts them, re-lays the
// chain out, removes pieces, keeps keys, running lane lengths and lane swaps, the track's
// selection, and writes its definition string and the snippet text of its selection.
#pragma once

#include "foundation/cFixed.h"
#include "model/cKeyedList.h"
#include "model/zvItem.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class zvCircuit;

class zvTrack {
  public:
    // An empty track with index 0; Init gives it its start marker.
    zvTrack() = default;
    ~zvTrack() = default;
    zvTrack(const zvTrack&) = delete;
    zvTrack& operator=(const zvTrack&) = delete;

    // The pieces in track order, each under its Key; the start marker comes first.
    cKeyedList<zvItem>& items() { return items_; }
    const cKeyedList<zvItem>& items() const { return items_; }
    // The selected pieces in the order in which they were selected, each under its Key.
    cKeyedList<zvItem>& itemsSelected() { return itemsSelected_; }
    const cKeyedList<zvItem>& itemsSelected() const { return itemsSelected_; }
    // 1-based number of the track in its circuit; every piece of the track carries it.
    std::int16_t index() const { return index_; }
    void index(std::int16_t v) { index_ = v; }

    // Makes the pieces of a track definition string and puts them after ItemStart, in order,
    // or at the end when ItemStart is null. The whole definition is checked first: an entry
    // without ":" raises cError 5 and adds nothing; so does an ItemStart that is not a piece
    // of this track. Entries that name no piece record are skipped.
    void append(const std::string& itemcodes, const std::shared_ptr<zvItem>& ItemStart = nullptr);
    // Deselects every selected piece in track order and empties itemsSelected; the circuit's
    // current piece becomes the last piece that was selected.
    void clearSelection();
    // The track definition string: "set:item" and the markers "[#]", "[AB]", "[CD]", then
    // ";", for every piece but the start marker.
    std::string GetDefinitionString() const;
    // Running length of the last piece in mm: 0 centre line, 1 lane 1, 2 lane 2; 0 otherwise.
    double GetLength(std::int16_t laneNumber) const;
    // Empties the track and its selection and places its start marker (key "K0") at (x, y)
    // with the heading Angle, drawn at once when there is a main canvas; cError 91 when the
    // piece table has no start record.
    void Init(cFixed x, cFixed y, cFixed Angle);
    // The pieces of a definition chained from ItemStart's end (the last piece when null),
    // held by a new track without keys and with index 0, this track left unchanged.
    std::shared_ptr<zvTrack> ItemsCreate(const std::string& itemcodes,
                                         const std::shared_ptr<zvItem>& ItemStart) const;
    // Rebuilds every piece after the start marker from the definition string: keys K1, K2,
    // ... in track order, exact positions and sums. The selection is emptied; the circuit's
    // current piece, when on this track, becomes the new piece at its place.
    void ReCalcLayout();
    // Removes the piece with that key (cError 5 when there is none, or when it is the start
    // marker); it leaves the selection, and the circuit's current piece, when it was this one,
    // becomes the piece now at its place or the last one. The others do not move.
    void Remove(const std::string& key);
    // Removes every selected piece and empties the selection; the others do not move. When a
    // piece went, the piece before the first of them in chain order (or the start marker) is
    // the circuit's current piece, unselected, so that the next insertion fills the gap.
    void RemoveSelected();
    // Puts the snippet text of the current track's selection (of this track when there is no
    // current circuit) on the clipboard; an empty selection leaves the clipboard alone.
    void CopySelected() const;

    // The first piece in track order whose outline holds the world point, or null.
    std::shared_ptr<zvItem> HitTest(cFixed x, cFixed y) const;
    // Checks a track definition string: cError 5 for a non-empty entry without ":".
    static void CheckDefinition(std::string_view itemcodes);

  private:
    friend class zvCircuit;

    // A piece's bounding box for the hit test.
    struct HitBox {
        cFixed xmin, ymin, xmax, ymax;
    };

    // Turns the piece's own lengths into running sums after the piece L it follows.
    static void chainLengths(const zvItem& L, zvItem& n);
    // 1-based position of the circuit's current piece in this track, 0 when it is elsewhere.
    std::size_t currentPosition() const;
    // When the current piece was at that position and has left the track, the piece now at
    // that position (or the last one) becomes current.
    void restoreCurrent(std::size_t position);
    // Removes every piece after the start marker.
    void truncateToStart();

    cKeyedList<zvItem> items_;
    cKeyedList<zvItem> itemsSelected_;
    std::int16_t index_ = 0;
    std::int32_t keyCounter_ = 0;
    // The circuit that holds the track; it clears this when it lets the track go.
    zvCircuit* circuit_ = nullptr;
    // Hit boxes of items_ as of the revision noted.
    mutable std::vector<HitBox> boxes_;
    mutable std::uint64_t boxesRevision_ = ~std::uint64_t{0};
};
