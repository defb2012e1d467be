// zvLib, the dispatcher's groups that work on the circuit: the piece and snippet commands
// (insert and preview), the view commands (move, turn, zoom, view options, info window) and
// the edit commands, with the follow-up work each command asks for. Only the dispatcher
// calls them.
#pragma once

#include <string>

class zvCircuit;

namespace zvLib::commands {

// What a command asks for once it has acted, one bit each.
enum FollowUp : unsigned {
    kRedraw = 1, // the circuit drawn anew
    kScroll = 2, // the scroll bars brought in step with the view
    kUndo = 4,   // an undo state recorded
    kInfo = 8,   // the info window and status panels refreshed
};

// Carries out the follow-ups asked for, in the order redraw, scroll bars, undo state, info.
void Follow(zvCircuit& circuit, unsigned what);

// The step of a move in millimetres and of a turn in degrees, normal and with Shift held.
constexpr int kMoveStep = 50;
constexpr int kFineMoveStep = 5;
constexpr int kRotateStep = 5;
constexpr int kFineRotateStep = 1;
// The factor of one zoom step.
constexpr double kZoomFactor = 1.2;

// True while a Shift key is held, read from the keyboard when the command runs.
bool ShiftHeld();

// The ITEM and SNIPPET verbs: "SKETCH" with a definition or "UNDO", "APPEND" with a
// definition; other verbs do nothing. Needs a circuit.
void PieceGroup(const std::string& verb, const std::string& argument);

// The VIEW verbs, each with its follow-ups, then the info panels refreshed (also for a verb
// that matches nothing). Needs a circuit.
void ViewGroup(const std::string& verb);

// The EDIT verbs (clipboard, selection, kerbs, drawing order, deletion, mirror, snippet,
// undo and redo), each with its follow-ups, then the info panels refreshed (also for a verb
// that matches nothing). Needs a circuit.
void EditGroup(const std::string& verb);

} // namespace zvLib::commands
