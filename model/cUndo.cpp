// cUndo: recording and restoring circuit states. A push drops the states beyond the current
// one, so the stack always reads as one line of history; a step rebuilds the circuit first and
// moves the canvas window and the position only when the rebuild succeeded.
#include "model/cUndo.h"

#include "foundation/cError.h"
#include "foundation/zvLang.h"
#include "model/zvCircuit.h"

#include <cstdint>

void cUndo::Clear()
{
    states_.clear();
    position_ = 0;
}

bool cUndo::isdirty() const
{
    return states_.size() >= 2;
}

const cUndo::UndoState& cUndo::State(std::size_t index) const
{
    if (index < 1 || index > states_.size()) {
        throw cError(9, "cUndo", "Subscript out of range");
    }
    return states_[index - 1];
}

void cUndo::Push()
{
    const auto circuit = zvLib::Circuit();
    if (!circuit) {
        return;
    }
    UndoState state;
    state.view = zvLib::UI ? zvLib::UI->GetViewRect() : zvViewRect{};
    std::string text = circuit->DefString();
    if (!states_.empty() && *states_.back().text == text) {
        state.text = states_.back().text;
    } else {
        state.text = std::make_shared<const std::string>(std::move(text));
    }
    states_.push_back(std::move(state));
    position_ = states_.size();
}

void cUndo::Pop(int step)
{
    const std::int64_t target = static_cast<std::int64_t>(position_) + step;
    if (target < 1) {
        tell("$msg.noundo");
        return;
    }
    if (target > static_cast<std::int64_t>(states_.size())) {
        tell("$msg.noredo");
        return;
    }
    const auto circuit = zvLib::Circuit();
    if (!circuit) {
        return;
    }
    const UndoState& state = states_[static_cast<std::size_t>(target) - 1];
    circuit->DefString(*state.text);
    if (zvLib::UI) {
        zvLib::UI->SetViewRect(state.view);
    }
    position_ = static_cast<std::size_t>(target);
}

void cUndo::tell(const char* key)
{
    if (zvLib::UI) {
        zvLib::UI->SetStatus(zvLang::Translate(key), true);
    }
}

namespace zvLib {

cUndo& Undo()
{
    static cUndo undo;
    return undo;
}

} // namespace zvLib
