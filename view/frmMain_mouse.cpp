// frmMain: the canvas's mouse. The left button drags the zoom window (or, in development mode,
// the ruler), a click without a drag selects by the rules of plain, Shift, Ctrl and right
// clicks, and the status bar names the pointer's position and the piece under it.
#include "app/zvLib_commands.h"
#include "app/zvModal.h"
#include "foundation/NUX_STD_locale.h"
#include "foundation/NUX_STD_system.h"
#include "foundation/cVariant.h"
#include "foundation/zvLang.h"
#include "model/zvCircuit.h"
#include "model/zvItem.h"
#include "model/zvObject.h"
#include "model/zvTrack.h"
#include "platform/cQtConvert.h"
#include "view/frmMain.h"
#include "view/zvLib_tools.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr int kLeft = 1;
constexpr int kRight = 2;
constexpr int kShift = 1;
constexpr int kCtrl = 2;

cFixed Fixed(double v)
{
    return cFixed::fromDouble(v);
}

std::string Lower(const std::string& text)
{
    return cQtConvert::FromQString(cQtConvert::ToQString(text).toLower());
}

// How the status bar names a piece: set, code, description and its track.
std::string PieceText(const zvItem& item)
{
    return item.setID() + " " + item.code() + " " + item.Desc() + " - " +
           Lower(zvLang::Translate("$track")) + " " + std::to_string(item.TrackIndex());
}

// The number in a piece's key after its first character, rounded to a whole number.
long KeyNumber(const zvItem& item)
{
    const std::string& key = item.Key();
    if (key.size() < 2) {
        return 0;
    }
    return std::lround(std::strtod(key.c_str() + 1, nullptr));
}

void ClearAllSelections(const zvCircuit& circuit)
{
    for (const auto& track : circuit.tracks()) {
        track->clearSelection();
    }
}

} // namespace

bool frmMain::RulerActive()
{
    // The ruler is a development tool: the delivered program never measures.
    return zvLib::CurrentTool == "OBJECT.RULER" && NUX_STD_library::IsInIDE();
}

void frmMain::pic_MouseDown(int button, int /*shift*/, double x, double y)
{
    if (button != kLeft || !zvLib::Circuit()) {
        return;
    }
    if (RulerActive()) {
        zvLib::RulerMouse(0, Fixed(x), Fixed(y));
    } else {
        zvLib::ZoomWindowMouse(0, Fixed(x), Fixed(y));
    }
}

void frmMain::pic_MouseMove(int button, int /*shift*/, double x, double y)
{
    const auto circuit = zvLib::Circuit();
    if (!circuit) {
        return;
    }
    if (RulerActive()) {
        if (button == kLeft) {
            zvLib::RulerMouse(1, Fixed(x), Fixed(y));
        }
        return;
    }
    if (button == kLeft) {
        zvLib::ZoomWindowMouse(1, Fixed(x), Fixed(y));
    }
    cBarBand& sbr = abr.Band("sbr");
    sbr.Tool("pnlinfo_0")
        .Caption(NUX_STD_library::FormatEx(cVariant(x), "#,0", 0) + " : " +
                 NUX_STD_library::FormatEx(cVariant(y), "#,0", 0));
    // Only a piece is named; an annotation object under the pointer says nothing here.
    if (const auto hit = circuit->LocateItem(Fixed(x), Fixed(y)).item) {
        sbr.Tool("pnlinfo_1").Caption(PieceText(*hit));
    }
    sbr.Refresh();
}

void frmMain::pic_MouseUp(int button, int shift, double x, double y)
{
    const auto circuit = zvLib::Circuit();
    if (!circuit) {
        return;
    }
    if (RulerActive()) {
        if (button == kLeft) {
            zvLib::RulerMouse(2, Fixed(x), Fixed(y));
        }
        return;
    }
    if (button == kLeft) {
        if (!zvLib::ZoomWindowMouse(2, Fixed(x), Fixed(y))) {
            utlClick(button, shift, x, y, CurrentLayer);
        }
    } else if (button == kRight) {
        utlClick(button, shift, x, y, CurrentLayer);
        const auto track = circuit->CurTrack();
        if (track && !track->itemsSelected().empty()) {
            abr.Band("mnuItem").PopupMenu();
        }
    }
}

void frmMain::utlClick(int button, int shift, double x, double y, bool layerFlag)
{
    const auto circuit = zvLib::Circuit();
    if (layerFlag || !circuit) {
        return;
    }
    const zvLocated located = circuit->LocateItem(Fixed(x), Fixed(y));
    const std::shared_ptr<zvItem> hit = located.item;
    if (!hit) {
        // A click on an annotation object's grip names its class; it selects nothing.
        if (located.object) {
            zvLib::MsgBox(located.object->Class());
        }
        ClearAllSelections(*circuit);
    } else if (shift == 0 && button == kLeft) {
        ClearAllSelections(*circuit);
        hit->Selected(!hit->Selected());
    } else if (shift == 0) {
        if (!hit->Selected()) {
            hit->Selected(true);
        }
    } else if (shift == kShift) {
        SelectRange(hit);
    } else if (shift == kCtrl) {
        hit->Selected(!hit->Selected());
    }
    if (hit && (shift == 0 || shift == kCtrl) && hit->Selected()) {
        SelectionAnchor = hit;
    }
    ShowSelection();
    circuit->Draw();
}

void frmMain::SelectRange(const std::shared_ptr<zvItem>& hit)
{
    const auto circuit = zvLib::Circuit();
    if (!SelectionAnchor) {
        return;
    }
    ClearAllSelections(*circuit);
    long a = KeyNumber(*SelectionAnchor);
    long b = KeyNumber(*hit);
    if (a > b) {
        std::swap(a, b);
    }
    // The range runs on the track of the piece hit, whichever track the anchor lies on.
    const std::size_t index = static_cast<std::size_t>(hit->TrackIndex());
    if (index < 1 || index > circuit->tracks().Count()) {
        return;
    }
    for (const auto& item : circuit->tracks().Item(index)->items()) {
        const long k = KeyNumber(*item);
        if (a <= k && k <= b) {
            item->Selected(true);
        }
    }
}

void frmMain::ShowSelection()
{
    const auto circuit = zvLib::Circuit();
    const auto track = circuit->CurTrack();
    const std::size_t n = track ? track->itemsSelected().Count() : 0;
    std::string text;
    if (n == 1) {
        // The one selected piece is named, which after a Ctrl click that deselected one of
        // two is not the piece clicked.
        text = PieceText(*track->itemsSelected().First());
    } else if (n > 1) {
        text = std::to_string(n) + " " + Lower(zvLang::Translate("$items.selected"));
    }
    cBarBand& sbr = abr.Band("sbr");
    sbr.Tool("pnlinfo_1").Caption(text);
    sbr.Refresh();
}
