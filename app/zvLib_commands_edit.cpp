// zvLib, the dispatcher's edit group: pieces copied, cut and pasted through the clipboard as
// snippet text, the selection inverted, kerbs and drawing order of the selected pieces, pieces
// deleted (the chain closed up) or removed (a gap left), curves and width transitions
// mirrored, snippets saved, and the steps through the undo states.
#include "app/zvLib_commands_groups.h"

#include "app/zvLib_commands.h"
#include "foundation/NUX_STD_text.h"
#include "model/cUndo.h"
#include "model/zvCircuit.h"
#include "model/zvLib_snippet.h"
#include "model/zvUI.h"
#include "view/zvLib_info.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

namespace zvLib::commands {

namespace {

constexpr char kDotInName = '\x01';
constexpr const char* kSnippetStart = "<zorv snippet>";
constexpr const char* kSnippetEnd = "</zorv snippet>";

// After pieces left the current track: the track's last piece is selected, so that the next
// inserted piece follows the end of the chain.
void SelectLast(zvTrack& track)
{
    track.clearSelection();
    track.items().Last()->Selected(true);
}

// The selected pieces of the current track to the clipboard, then out of the track; the
// others keep their places.
void Cut(zvCircuit& circuit, zvTrack& track)
{
    track.CopySelected();
    track.RemoveSelected();
    SelectLast(track);
    Follow(circuit, kRedraw | kScroll | kUndo);
}

// The snippet on the clipboard inserted after the current piece, as the item bar would.
void Paste()
{
    if (!UI) {
        return;
    }
    std::string text = UI->ClipboardGetText();
    std::string definition = NUX_STD_library::ExtractBetween(text, kSnippetStart, kSnippetEnd, 0);
    if (definition.empty()) {
        return;
    }
    std::replace(definition.begin(), definition.end(), '.', kDotInName);
    std::string command = "ITEM.APPEND." + definition;
    ExecCommand(command);
}

// Every piece of every track, the start markers included, changes its selection; the last
// piece of the last track ends as the current one.
void InvertSelection(zvCircuit& circuit)
{
    for (const auto& track : circuit.tracks()) {
        for (const auto& piece : track->items()) {
            piece->Selected(!piece->Selected());
        }
    }
    Follow(circuit, kRedraw | kUndo);
}

// Each selected piece of every track toggles its left (+90 degree side) or its right kerb.
void ToggleKerbs(zvCircuit& circuit, bool left)
{
    for (const auto& track : circuit.tracks()) {
        for (const auto& piece : track->itemsSelected()) {
            if (left) {
                piece->extAB(!piece->extAB());
            } else {
                piece->extCD(!piece->extCD());
            }
        }
    }
    Follow(circuit, kRedraw | kUndo);
}

// The selected pieces of every track drawn after all others, or among them again.
void SetToFront(zvCircuit& circuit, bool front)
{
    for (const auto& track : circuit.tracks()) {
        for (const auto& piece : track->itemsSelected()) {
            piece->toFront(front);
        }
    }
    Follow(circuit, kRedraw | kUndo);
}

// The selected pieces of the current track taken out; on delete the chain closes up and the
// last piece is selected, on remove the others keep their places and keys, nothing stays
// selected and the piece before the gap is current, so that the next piece fills it.
void Delete(zvCircuit& circuit, zvTrack& track, bool closeUp)
{
    track.RemoveSelected();
    if (closeUp) {
        track.ReCalcLayout();
        SelectLast(track);
    }
    Follow(circuit, kRedraw | kScroll | kUndo);
}

// The definition of the piece of the other hand: a right curve becomes a left one and back,
// a width transition turns its narrow end round; empty for a piece without a hand.
std::string MirrorDefinition(const zvItem& piece)
{
    static const std::array<std::pair<const char*, const char*>, 4> swaps = {{
        {"(R)", "(L)"},
        {"(L)", "(R)"},
        {"(B)", "(F)"},
        {"(F)", "(B)"},
    }};
    for (const auto& [from, to] : swaps) {
        if (piece.Item().find(from) != std::string::npos) {
            return piece.setID() + ":" + piece.code() + to;
        }
    }
    return {};
}

// Each selected curve and width transition of every track replaced, in its place of the
// chain, by its other hand; the tracks are laid out again and nothing stays selected.
void Mirror(zvCircuit& circuit)
{
    for (const auto& track : circuit.tracks()) {
        // Removing a piece takes it out of the selection: walk a copy.
        const std::vector<std::shared_ptr<zvItem>> chosen(track->itemsSelected().begin(),
                                                          track->itemsSelected().end());
        for (const auto& selected : chosen) {
            const std::shared_ptr<zvItem> piece = track->items().Find(selected->Key());
            if (!piece) {
                continue;
            }
            const std::string replacement = MirrorDefinition(*piece);
            if (replacement.empty()) {
                continue;
            }
            const std::size_t before = track->items().Count();
            track->append(replacement, piece);
            // A hand the piece table lacks adds nothing; the piece then stays as it was.
            if (track->items().Count() != before) {
                track->Remove(piece->Key());
            }
        }
    }
    for (const auto& track : circuit.tracks()) {
        track->ReCalcLayout();
        track->clearSelection();
    }
    Undo().Push();
    Follow(circuit, kRedraw | kScroll | kInfo);
}

// One step back (-1) or forward (+1) through the undo states, then the circuit drawn.
void Step(int step)
{
    Undo().Pop(step);
    if (const std::shared_ptr<zvCircuit> circuit = Circuit()) {
        circuit->Draw();
    }
}

// The verbs that work on the current track alone.
bool IsTrackVerb(const std::string& verb)
{
    return verb == "COPY" || verb == "CUT" || verb == "DELETE" || verb == "REMOVE";
}

// Copy, cut, delete or remove on the current track.
void TrackVerb(zvCircuit& circuit, const std::string& verb)
{
    const std::shared_ptr<zvTrack> track = circuit.CurTrack();
    if (!track || track->items().empty()) {
        return;
    }
    if (verb == "COPY") {
        track->CopySelected();
    } else if (verb == "CUT") {
        Cut(circuit, *track);
    } else {
        Delete(circuit, *track, verb == "DELETE");
    }
}

} // namespace

void EditGroup(const std::string& verb)
{
    const std::shared_ptr<zvCircuit> circuit = Circuit();
    if (!circuit) {
        return;
    }
    if (IsTrackVerb(verb)) {
        TrackVerb(*circuit, verb);
    } else if (verb == "PASTE") {
        Paste();
    } else if (verb == "SELECTALL") {
        InvertSelection(*circuit);
    } else if (verb == "KERBLEFT" || verb == "KERBRIGHT") {
        ToggleKerbs(*circuit, verb == "KERBLEFT");
    } else if (verb == "TOFRONT" || verb == "TOBACK") {
        SetToFront(*circuit, verb == "TOFRONT");
    } else if (verb == "MIRROR") {
        Mirror(*circuit);
    } else if (verb == "SAVESNIPPET") {
        SnippetSave();
    } else if (verb == "REDO" || verb == "UNDO") {
        Step(verb == "REDO" ? 1 : -1);
    }
    // Undo and redo rebuild the circuit; the panels show what is current now.
    if (Circuit()) {
        UpdateInfo();
    }
}

} // namespace zvLib::commands
