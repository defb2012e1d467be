// zvLib, the dispatcher's circuit groups: pieces and snippets inserted after the current piece
// or shown as a preview, the whole circuit moved and turned, the view zoomed and fitted, the
// view options switched and the info window opened and closed; each command followed by the
// redraw, scroll bars, undo state and info panels it calls for.
#include "app/zvLib_commands_groups.h"

#include "foundation/zvLib_canvas.h"
#include "model/cUndo.h"
#include "model/zvCircuit.h"
#include "model/zvLib_factory.h"
#include "model/zvLib_globals.h"
#include "view/frmInfo.h"
#include "view/frmMain.h"
#include "view/zvLang_forms.h"
#include "view/zvLib_info.h"
#include "view/zvLib_view.h"
#include "view/zvLib_viewmode.h"

#include <QGuiApplication>

#include <array>

namespace zvLib::commands {

namespace {

frmMain* MainWindow()
{
    return qobject_cast<frmMain*>(Form(zvForm::frmMain));
}

// The piece the new ones go after: the current piece, or the track's last piece when the
// current one is no longer in the track.
std::shared_ptr<zvItem> InsertionPoint(const zvCircuit& circuit, const zvTrack& track)
{
    std::shared_ptr<zvItem> current = circuit.CurItem();
    if (!current || track.items().IndexOf(current) == 0) {
        current = track.items().Last();
    }
    return current;
}

// The preview: the pieces of the definition chained from where they would be inserted, drawn
// in the sketch colour over the picture; the circuit itself is not touched.
void Sketch(const zvCircuit& circuit, const std::string& definition)
{
    const std::shared_ptr<zvTrack> track = circuit.CurTrack();
    if (!track || track->items().empty()) {
        return;
    }
    const std::shared_ptr<zvTrack> preview =
        track->ItemsCreate(definition, InsertionPoint(circuit, *track));
    for (const auto& piece : preview->items()) {
        piece->TrackIndex(track->index());
        piece->Sketch();
    }
}

// Inserts the pieces of the definition after the current piece and selects, as the next
// current piece, the last new one at the end of the track or the first new one inside it.
// A definition that makes no piece changes nothing.
void Append(zvCircuit& circuit, const std::string& definition)
{
    const std::shared_ptr<zvTrack> track = circuit.CurTrack();
    if (!track || track->items().empty()) {
        return;
    }
    const std::shared_ptr<zvItem> after = InsertionPoint(circuit, *track);
    const std::size_t position = track->items().IndexOf(after);
    const bool atEnd = position == track->items().Count();
    const std::size_t before = track->items().Count();
    track->append(definition, after);
    if (track->items().Count() == before) {
        return;
    }
    std::shared_ptr<zvItem> chosen;
    if (atEnd) {
        chosen = track->items().Last();
    } else {
        // Laid out again, every piece after the new ones follows them; the first new piece
        // lies right after the one they were inserted after.
        track->ReCalcLayout();
        chosen = track->items().Item(position + 1);
    }
    track->clearSelection();
    chosen->Selected(true);
    Follow(circuit, kRedraw | kScroll | kUndo | kInfo);
}

// Moves the start point, and with it the whole circuit, by one step.
void Move(zvCircuit& circuit, const std::string& verb)
{
    cFixed step(ShiftHeld() ? kFineMoveStep : kMoveStep);
    if (verb == "MOVELEFT" || verb == "MOVEDOWN") {
        step = -step;
    }
    if (verb == "MOVELEFT" || verb == "MOVERIGHT") {
        circuit.StartX(circuit.StartX() + step);
    } else {
        circuit.StartY(circuit.StartY() + step);
    }
    Follow(circuit, kRedraw | kScroll | kUndo);
}

// Turns the start heading, and with it the whole circuit, by one step.
void Rotate(zvCircuit& circuit, const std::string& verb)
{
    cFixed step(ShiftHeld() ? kFineRotateStep : kRotateStep);
    if (verb.find('-') != std::string::npos) {
        step = -step;
    }
    circuit.Angle(circuit.Angle() + step);
    Follow(circuit, kRedraw | kScroll | kUndo);
}

// A view option and the toolbar tool that shows it.
struct ViewOption {
    const char* verb;
    const char* tool;
    bool* option;
};

const std::array<ViewOption, 7>& ViewOptions()
{
    static const std::array<ViewOption, 7> options = {{
        {"LANES", "lanes", &ShowLanes},
        {"GRID", "grid", &ShowGrid},
        {"LINES", "lines", &ShowLines},
        {"FILL", "fill", &ShowFill},
        {"FILLEX", "fillex", &ShowFillEx},
        {"REFS", "refs", &ShowCodes},
        {"KERBS", "kerbs", &ShowKerbs},
    }};
    return options;
}

// The kerb strips of every piece laid out afresh for the kerbs option as it now stands.
void PlaceAllKerbs(const zvCircuit& circuit)
{
    for (const auto& track : circuit.tracks()) {
        for (const auto& piece : track->items()) {
            PlaceKerbs(*piece);
        }
    }
}

// Presses or releases the option's tool and lets the option follow it; true when the verb
// is a view option. Switching kerbs lays the kerb strips out again where the pieces are.
bool ToggleOption(zvCircuit& circuit, const std::string& verb)
{
    for (const ViewOption& o : ViewOptions()) {
        if (verb != o.verb) {
            continue;
        }
        if (frmMain* main = MainWindow()) {
            cBarTool& tool = main->abr.Band("tbr").Tool(o.tool);
            tool.Checked(!tool.Checked());
            *o.option = tool.Checked();
        } else {
            *o.option = !*o.option;
        }
        if (o.option == &ShowKerbs) {
            PlaceAllKerbs(circuit);
        }
        Follow(circuit, kRedraw);
        return true;
    }
    return false;
}

// Shows the info window beside the main window, or unloads it, as the toolbar's info tool
// now says.
void ToggleInfo()
{
    frmMain* main = MainWindow();
    if (main == nullptr) {
        return;
    }
    cBarTool& tool = main->abr.Band("tbr").Tool("info");
    tool.Checked(!tool.Checked());
    if (tool.Checked()) {
        frmInfo& info = InfoWindow();
        info.show();
        info.raise();
    } else {
        Unload(zvForm::frmInfo);
    }
}

} // namespace

void Follow(zvCircuit& circuit, unsigned what)
{
    if ((what & kRedraw) != 0) {
        circuit.Draw();
    }
    if ((what & kScroll) != 0) {
        UpdateScrollBars();
    }
    if ((what & kUndo) != 0) {
        Undo().Push();
    }
    if ((what & kInfo) != 0) {
        UpdateInfo();
    }
}

bool ShiftHeld()
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

void PieceGroup(const std::string& verb, const std::string& argument)
{
    const std::shared_ptr<zvCircuit> circuit = Circuit();
    if (!circuit) {
        return;
    }
    if (verb == "SKETCH") {
        if (argument == "UNDO") {
            circuit->Draw();
        } else {
            Sketch(*circuit, argument);
        }
    } else if (verb == "APPEND") {
        Append(*circuit, argument);
    }
}

void ViewGroup(const std::string& verb)
{
    const std::shared_ptr<zvCircuit> circuit = Circuit();
    if (!circuit) {
        return;
    }
    if (verb == "MOVELEFT" || verb == "MOVERIGHT" || verb == "MOVEUP" || verb == "MOVEDOWN") {
        Move(*circuit, verb);
    } else if (verb == "ROTATE+" || verb == "ROTATE-") {
        Rotate(*circuit, verb);
    } else if (verb == "ZOOM+" || verb == "ZOOM-") {
        // A negative factor stands for its reciprocal: ZOOM+ shows less of the world.
        ZoomBy(cFixed::fromDouble(verb == "ZOOM+" ? -kZoomFactor : kZoomFactor));
        Follow(*circuit, kUndo);
    } else if (verb == "FIT") {
        ZoomExtents();
        Follow(*circuit, kUndo);
    } else if (verb == "INFO") {
        ToggleInfo();
    } else if (verb == "DESIGN" || verb == "EDITOR" || verb == "REPORT") {
        SetViewMode(verb);
    } else {
        ToggleOption(*circuit, verb);
    }
    UpdateInfo();
}

} // namespace zvLib::commands
