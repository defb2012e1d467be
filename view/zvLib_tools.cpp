// zvLib, the canvas's drag tools: the zoom-window rubber band and zoom, and the ruler with its
// rubber-band line, its distance label and the measure object it leaves behind. Both rubber
// bands are drawn in invert mode, so drawing a figure again takes it away.
#include "view/zvLib_tools.h"

#include "foundation/NUX_STD_locale.h"
#include "foundation/cVariant.h"
#include "foundation/zvLib_canvas.h"
#include "foundation/zvLib_geometry.h"
#include "foundation/zvLib_pixels.h"
#include "model/cUndo.h"
#include "model/zvCircuit.h"
#include "model/zvLib_globals.h"
#include "model/zvObject.h"
#include "platform/cQtConvert.h"
#include "platform/cQtSurface.h"
#include "view/frmMain.h"
#include "view/zvLang_forms.h"
#include "view/zvLib_view.h"

#include <QLabel>
#include <QPalette>

#include <cmath>

namespace zvLib {
namespace {

// Dotted, as the rubber bands are drawn.
constexpr int kDotted = 2;

frmMain* MainWindow()
{
    return qobject_cast<frmMain*>(Form(zvForm::frmMain));
}

// The main canvas as the Qt surface the rubber bands are inverted on, or null.
cQtSurface* Canvas()
{
    return dynamic_cast<cQtSurface*>(MainPic);
}

// True when (x, y) lies more than the slack from the start in x or in y.
bool Beyond(cFixed startX, cFixed startY, cFixed x, cFixed y, int slack)
{
    return std::fabs(x.toDouble() - startX.toDouble()) > slack ||
           std::fabs(y.toDouble() - startY.toDouble()) > slack;
}

// Inverts a line or a box outline on the canvas, dotted, then goes back to the solid pen.
void InvertDotted(cFixed x1, cFixed y1, cFixed x2, cFixed y2, bool box)
{
    cQtSurface* canvas = Canvas();
    if (canvas == nullptr) {
        return;
    }
    canvas->DrawWidth(1);
    canvas->DrawStyle(kDotted);
    if (box) {
        canvas->InvertBox(x1.toDouble(), y1.toDouble(), x2.toDouble(), y2.toDouble());
    } else {
        canvas->InvertLine(x1.toDouble(), y1.toDouble(), x2.toDouble(), y2.toDouble());
    }
    canvas->DrawStyle(0);
}

// Zooms to the dragged width about the rectangle's centre; with a circuit, pushes an undo
// state and redraws (without one there is nothing to record or draw).
void ZoomToWindow(cFixed x, cFixed y)
{
    // In floating point, so that no corner of the dragged rectangle can overflow the sums.
    const zvToolState& s = ToolState;
    const double x1 = s.zoomStartX.toDouble();
    const double y1 = s.zoomStartY.toDouble();
    SetZoom(std::fabs(x1 - x.toDouble()), cFixed::fromDouble((x1 + x.toDouble()) / 2).toDouble(),
            cFixed::fromDouble((y1 + y.toDouble()) / 2).toDouble());
    if (const auto circuit = Circuit()) {
        Undo().Push();
        circuit->Draw();
    }
}

// Readies the distance label over the canvas and shows the cross-hair pointer.
void StartRuler(frmMain& main)
{
    ToolState.savedPointer = static_cast<std::int16_t>(main.pic->cursor().shape());
    main.pic->setCursor(Qt::CrossCursor);
    QLabel& label = *main.lblMeasure;
    label.setText(QString());
    label.setAlignment(Qt::AlignCenter);
    label.setFrameShape(QFrame::NoFrame);
    label.setAttribute(Qt::WA_TranslucentBackground);
    label.setAutoFillBackground(false);
    QPalette palette = label.palette();
    palette.setColor(QPalette::Window, cQtConvert::ToQColor(main.pic->Surface().BackColor()));
    palette.setColor(QPalette::WindowText, cQtConvert::ToQColor(measure));
    label.setPalette(palette);
    label.adjustSize();
    label.show();
    label.raise();
}

// Shows the distance from the start to (x, y) at the midpoint of the two.
void ShowDistance(frmMain& main, cFixed x, cFixed y)
{
    const zvToolState& s = ToolState;
    const cFixed length = Distance(s.rulerStartX, s.rulerStartY, x, y);
    QLabel& label = *main.lblMeasure;
    label.setText(
        cQtConvert::ToQString(NUX_STD_library::FormatEx(cVariant(length.toDouble()), "#,0", 0)));
    label.adjustSize();
    const std::array<double, 2> mid = MidPoint(s.rulerStartX, s.rulerStartY, x, y);
    const cPixel at =
        PointToPixel(main.pic->Surface(), cFixed::fromDouble(mid[0]), cFixed::fromDouble(mid[1]));
    label.move(main.pic->mapTo(label.parentWidget(), QPoint(at.x, at.y)));
}

// Ends a ruler drag: the pointer and label as they were, the measure added and drawn. An undo
// state marks the circuit changed, so the measure is offered for saving before it is closed.
void EndRuler(frmMain& main)
{
    main.pic->setCursor(static_cast<Qt::CursorShape>(ToolState.savedPointer));
    main.lblMeasure->hide();
    const auto circuit = Circuit();
    if (!circuit) {
        return;
    }
    const zvToolState& s = ToolState;
    auto measureObject = std::make_shared<zvObject>();
    measureObject->Class("measure");
    measureObject->PointArr({s.rulerStartX, s.rulerStartY, s.rulerEndX, s.rulerEndY});
    circuit->objects().Add(measureObject);
    circuit->Draw();
    Undo().Push();
}

} // namespace

bool ZoomWindowMouse(std::int16_t phase, cFixed x, cFixed y)
{
    zvToolState& s = ToolState;
    const bool beyond = Beyond(s.zoomStartX, s.zoomStartY, x, y, kZoomWindowSlack);
    bool zoomed = false;
    switch (phase) {
    case 0:
        break;
    case 1:
        if (beyond) {
            if (s.zoomEndX != s.zoomStartX || s.zoomEndY != s.zoomStartY) {
                InvertDotted(s.zoomStartX, s.zoomStartY, s.zoomEndX, s.zoomEndY, true);
            }
            InvertDotted(s.zoomStartX, s.zoomStartY, x, y, true);
            s.zoomEndX = x;
            s.zoomEndY = y;
        }
        return false;
    case 2:
        if (beyond) {
            ZoomToWindow(x, y);
            zoomed = true;
        }
        break;
    default:
        return false;
    }
    s.zoomStartX = s.zoomEndX = x;
    s.zoomStartY = s.zoomEndY = y;
    return zoomed;
}

bool RulerMouse(std::int16_t phase, cFixed x, cFixed y)
{
    frmMain* main = MainWindow();
    if (main == nullptr) {
        return false;
    }
    zvToolState& s = ToolState;
    switch (phase) {
    case 0:
        StartRuler(*main);
        s.rulerStartX = s.rulerEndX = x;
        s.rulerStartY = s.rulerEndY = y;
        break;
    case 1:
        if (Beyond(s.rulerStartX, s.rulerStartY, x, y, kRulerSlack)) {
            if (s.rulerEndX != s.rulerStartX || s.rulerEndY != s.rulerStartY) {
                InvertDotted(s.rulerStartX, s.rulerStartY, s.rulerEndX, s.rulerEndY, false);
            }
            InvertDotted(s.rulerStartX, s.rulerStartY, x, y, false);
            ShowDistance(*main, x, y);
        }
        s.rulerEndX = x;
        s.rulerEndY = y;
        break;
    case 2:
        EndRuler(*main);
        break;
    default:
        break;
    }
    return false;
}

} // namespace zvLib
