// cUndo: the undo stack of the circuit. Each state is the main canvas's visible window and the
// circuit definition text; undo and redo step through the states and rebuild the circuit from
// the text. The program keeps one stack, zvLib::Undo(), created on first use.
#pragma once

#include "model/zvUI.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class cUndo {
  public:
    // One recorded state: the canvas window and the circuit definition text. States in a row
    // that hold the same text share it, so a zoom costs no copy of the circuit.
    struct UndoState {
        // The main canvas's visible window.
        zvViewRect view;
        // The circuit definition text (never null).
        std::shared_ptr<const std::string> text;
    };

    // Forgets every state: count and position 0.
    void Clear();
    // True once a second state has been recorded since the last Clear.
    bool isdirty() const;
    // Steps through the states: -1 undo, +1 redo. Stepping before the first state shows
    // "$msg.noundo", past the last "$msg.noredo" in the status line with a beep, and restores
    // nothing. Else the circuit is rebuilt from the state's text and the canvas window moved
    // (no redraw); a text the circuit refuses raises its cError and changes nothing here.
    // Without a current circuit nothing is restored and the position stays.
    void Pop(int step);
    // Records the canvas window and the current circuit's definition text after the last
    // state, whatever the position: states that were undone stay in the list, and later undo
    // steps reach them again. Without a circuit, nothing.
    void Push();

    // Number of recorded states.
    std::size_t count() const { return states_.size(); }
    // 1-based index of the current state; 0 when the stack is empty.
    std::size_t position() const { return position_; }
    // The state at a 1-based index; cError 9 outside 1 to count.
    const UndoState& State(std::size_t index) const;

  private:
    // Shows a language text in the status line and beeps.
    static void tell(const char* key);

    std::vector<UndoState> states_;
    std::size_t position_ = 0;
};

namespace zvLib {

// The program's undo stack, made on first use.
cUndo& Undo();

} // namespace zvLib
