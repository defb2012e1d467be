// zvLib, the background drawing's reading problems in one message box: the first lines as the
// reader wrote them and a count of all the others, those the reader did not keep included.
#include "model/zvLib_dxfproblems.h"

#include "dxf/zvLib_dxf.h"
#include "foundation/NUX_STD_system.h"
#include "foundation/NUX_STD_text.h"
#include "foundation/zvLang.h"
#include "model/zvUI.h"

#include <algorithm>
#include <string>
#include <vector>

namespace zvLib {

void ShowDXFProblems()
{
    if (!DXF || !UI || DXF->DiagnosticsShown() || !NUX_STD_library::IsInIDE()) {
        return;
    }
    const std::vector<std::string>& kept = DXF->Diagnostics();
    if (kept.empty()) {
        return;
    }
    DXF->DiagnosticsShown(true);
    // The reader's own line saying that more were left out is replaced by the true count.
    const std::vector<std::string> lines(
        kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(
                                         std::min(kept.size(), cDXF::kMaxDiagnostics)));
    const std::size_t shown = std::min(lines.size(), kMostDXFProblemLines);
    std::string more = zvLang::Translate("$msg.andmore");
    const std::size_t at = more.find("%1");
    if (at != std::string::npos) {
        more.replace(at, 2, std::to_string(DXF->DiagnosticCount() - shown));
    }
    UI->MsgBox(NUX_STD_library::JoinLinesLimited(lines, kMostDXFProblemLines, more),
               vbMsg::OKOnly, {});
}

} // namespace zvLib
