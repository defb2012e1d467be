// zvLib, view modes: showing the design canvas with its scroll bars, item bar and status
// panels, or the page container that holds the piece editor or the report.
#include "view/zvLib_viewmode.h"

#include "app/core/zvLib_options.h"
#include "app/zvModal.h"
#include "foundation/cFixed.h"
#include "reports/frmReport.h"
#include "view/frmEdit.h"
#include "view/frmMain.h"
#include "view/zvLang_forms.h"
#include "view/zvLib_view.h"

#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

namespace zvLib {

std::string CurViewMode;

namespace {

// Shows the design canvas and its companions, or hides them for the page container.
void ShowDesign(frmMain& main, bool design)
{
    if (design) {
        main.CanvasBackColor(background);
    }
    main.pic->setVisible(design);
    main.hsc->setVisible(design);
    main.vsc->setVisible(design);
    main.cmd->setVisible(design);
    main.abr.Band("ibr").Visible(design);
    cBarBand& sbr = main.abr.Band("sbr");
    for (const char* panel : {"pnlinfo_0", "pnlinfo_1", "pnlinfo_2", "pnlinfo_3"}) {
        sbr.Tool(panel).Visible(design);
    }
    main.pag->setVisible(!design);
}

// Marks the mode's tool on the view-mode bar.
void CheckModeTool(frmMain& main, const std::string& checked)
{
    cBarBand& vbr = main.abr.Band("vbr");
    for (const char* tool : {"design", "editor", "report"}) {
        vbr.Tool(tool).Checked(checked == tool);
    }
}

// The window embedded in the page container, if any.
std::optional<zvForm> embedded;

// Embeds the window, without frame or caption, over the whole page container; the container's
// layout keeps it stretched over the container from then on.
void Embed(frmMain& main, QWidget& form)
{
    if (main.pag->layout() == nullptr) {
        auto* layout = new QVBoxLayout(main.pag);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    form.setWindowTitle("");
    form.setParent(main.pag, Qt::Widget);
    form.setGeometry(0, 0, main.pag->width(), main.pag->height());
    main.pag->layout()->addWidget(&form);
    form.show();
}

}  // namespace

void SetViewMode(const std::string& mode)
{
    auto* main = qobject_cast<frmMain*>(Form(zvForm::frmMain));
    if (main == nullptr) {
        CurViewMode = mode;
        return;
    }
    if (embedded) {
        Unload(*embedded);
        embedded.reset();
    }
    const bool design = mode == "DESIGN";
    ShowDesign(*main, design);
    if (design && main->pic->isEnabled()) {
        ZoomBy(cFixed());  // the view again at its width, and the circuit redrawn
    }
    CurViewMode = mode;
    main->abr.RecalcLayout();
    main->repaint();
    if (design) {
        CheckModeTool(*main, "design");
        // The keys go to the canvas again (also after a new or opened circuit, which come
        // here, and when the window is not the active one yet).
        main->pic->setFocus(Qt::OtherFocusReason);
    } else if (mode == "REPORT") {
        CheckModeTool(*main, "report");
        // Loaded afresh, also when an export left one loaded, to show the circuit as it is.
        if (Form(zvForm::frmReport) != nullptr) {
            Unload(zvForm::frmReport);
        }
        Embed(*main, ReportWindow());
        embedded = zvForm::frmReport;
    } else if (mode == "EDITOR") {
        CheckModeTool(*main, "editor");
        Embed(*main, EditWindow());
        embedded = zvForm::frmEdit;
    } else {
        MsgBox("view mode " + mode + " non yet implemented", 64);
    }
}

std::string ViewMode()
{
    return CurViewMode;
}

}  // namespace zvLib
