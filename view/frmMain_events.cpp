// frmMain: the events of the window that act without the dispatcher: a set chosen in the set
// chooser, a tool's text typed in (the background drawing's scale), and files dropped on the
// window or the canvas.
#include "view/frmMain.h"

#include "app/core/zvLib_sets.h"
#include "app/zvLib_shell.h"
#include "app/zvModal.h"
#include "dxf/cDXF.h"
#include "dxf/zvLib_dxf.h"
#include "foundation/NUX_STD_locale.h"
#include "foundation/cError.h"
#include "foundation/cFixed.h"
#include "foundation/zvLib_canvas.h"
#include "foundation/zvLib_text.h"
#include "model/cUndo.h"
#include "model/zvCircuit.h"
#include "model/zvUI.h"
#include "platform/cQtConvert.h"
#include "view/zvLib_info.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <optional>

namespace {

// The local files a drag carries, in order.
std::vector<std::string> LocalFiles(const QMimeData* data)
{
    std::vector<std::string> files;
    if (data == nullptr || !data->hasUrls()) {
        return files;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            files.push_back(cQtConvert::FromQString(url.toLocalFile()));
        }
    }
    return files;
}

} // namespace

void frmMain::abr_ComboSelChange(cBarTool& tool)
{
    const int index = tool.ListIndex();
    if (index < 0 || index >= tool.ListCount()) {
        return;
    }
    try {
        zvLib::LoadSet(tool.List(index));
    } catch (const cError& e) {
        zvLib::MsgBox(e.Description(), vbMsg::Critical);
    }
}

void frmMain::abr_ToolTextChange(cBarTool& tool)
{
    // The set chooser's text names a set; it is never a scale.
    if (zvLib::SameText(tool.Name(), "cboSet") || !zvLib::DXF) {
        return;
    }
    const std::optional<cFixed> scale = cFixed::parse(tool.Text());
    const auto current = [] {
        return NUX_STD_library::FormatEx(cVariant(zvLib::DXF->scaleFactor()), "", 0);
    };
    if (!scale) {
        tool.Text(current());
        return;
    }
    if (zvLib::MainPic != nullptr) {
        zvLib::MainPic->Cls();
    }
    zvLib::DXF->scaleFactor(*scale);
    if (const auto circuit = zvLib::Circuit(); circuit && zvLib::MainPic != nullptr) {
        circuit->Draw();
    }
    tool.Text(current());
}

void frmMain::Form_OLEDragDrop(const std::vector<std::string>& files)
{
    // The same way as the File menu's open: a changed circuit is offered for saving first.
    if (files.empty() || !zvLib::QuerySave()) {
        return;
    }
    std::string path = files.front();
    zvLib::OpenCircuit(path);
    zvLib::UpdateInfo();
}

void frmMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (!LocalFiles(event->mimeData()).empty()) {
        event->acceptProposedAction();
    }
}

void frmMain::dropEvent(QDropEvent* event)
{
    const std::vector<std::string> files = LocalFiles(event->mimeData());
    if (files.empty()) {
        return;
    }
    event->acceptProposedAction();
    Form_OLEDragDrop(files);
}
