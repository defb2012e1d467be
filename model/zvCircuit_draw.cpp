// zvCircuit drawing: the whole circuit in its layers on the main canvas (rooms beneath the
// pieces, pieces marked to the front on top of the others, other objects above all) and the
// same layers without highlight on the printer page.
#include "dxf/zvLib_dxf.h"
#include "foundation/NUX_STD_system.h"
#include "foundation/zvLib_canvas.h"
#include "model/zvCircuit.h"
#include "model/zvObject.h"
#include "model/zvUI.h"

namespace {

bool isRoom(const zvObject& o)
{
    return o.Class() == "room";
}

// A piece as the canvas shows it: highlighted while selected.
void drawPiece(const zvItem& p)
{
    if (p.Selected()) {
        p.hilite();
    } else {
        p.Draw();
    }
}

} // namespace

void zvCircuit::Draw() const
{
    zvLib::Need(zvLib::MainPic, "main canvas").Cls();
    if (zvLib::UI) {
        if (zvLib::ShowGrid) {
            zvLib::UI->DrawGrid();
        }
        zvLib::UI->DrawCross();
    }
    for (const auto& o : objects_) {
        if (isRoom(*o)) {
            o->Draw();
        }
    }
    for (const auto& t : tracks_) {
        for (const auto& p : t->items()) {
            drawPiece(*p);
        }
    }
    for (const auto& t : tracks_) {
        for (const auto& p : t->items()) {
            if (p->toFront()) {
                drawPiece(*p);
            }
        }
    }
    for (const auto& o : objects_) {
        if (!isRoom(*o)) {
            o->Draw();
        }
    }
    if (zvLib::DXF && zvLib::DXF->HasDrawing() && NUX_STD_library::IsInIDE()) {
        zvLib::DXF->Draw();
    }
}

void zvCircuit::Printout() const
{
    for (const auto& o : objects_) {
        if (isRoom(*o)) {
            o->Printout();
        }
    }
    for (const auto& t : tracks_) {
        for (const auto& p : t->items()) {
            p->Printout();
        }
    }
    for (const auto& o : objects_) {
        if (!isRoom(*o)) {
            o->Printout();
        }
    }
}
