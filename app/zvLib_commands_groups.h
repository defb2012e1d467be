// zvLib, the dispatcher's groups that work on the circuit: the piece and snippet commands
// (insert and preview) and the view commands (move, turn, zoom, view options, info window),
// with the follow-up work each command asks for. Only the dispatcher calls them.
#pragma once

#include <string>

namespace zvLib::commands {

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

// The EDIT group's closing step: the info panels refreshed. Needs a circuit.
void EditGroup(const std::string& verb);

} // namespace zvLib::commands
