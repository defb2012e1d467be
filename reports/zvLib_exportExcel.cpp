// zvLib, the bill-of-materials export: the report window's bill-of-materials grid, reloaded
// from the circuit and the stock, saved as delimited text and as a spreadsheet, old files of
// the same name replaced only once the new ones are complete.
#include "app/zvLib_shell.h"
#include "app/zvModal.h"
#include "foundation/NUX_STD_files.h"
#include "foundation/NUX_STD_locale.h"
#include "foundation/NUX_STD_system.h"
#include "foundation/cError.h"
#include "foundation/zvLang.h"
#include "model/zvUI.h"
#include "reports/frmReport.h"
#include "reports/zvLib_export.h"

#include <QApplication>
#include <QCursor>

#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace {

// The hourglass while the export works, the default pointer afterwards.
class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Why a file of an export cannot take the place of the old one: the language key of the
// message ("$msg.exportfolder" for a folder in the way, "$msg.excelfileopen" for a file that
// may not be replaced), or "" when it can.
std::string Obstacle(const std::string& path)
{
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (std::filesystem::is_directory(status)) {
        return "$msg.exportfolder";
    }
    if (std::filesystem::exists(status) && access(path.c_str(), W_OK) != 0) {
        return "$msg.excelfileopen";
    }
    return {};
}

// Writes both files; 0 when written, else the number of the error.
long WriteFiles(const std::string& xls, const std::string& csv)
{
    try {
        frmReport& report = zvLib::ReportWindow();
        report.grdBomLoad();
        const std::string separator = NUX_STD_library::GetLocaleValue(0).toText();
        report.grdBOM.SaveAs(csv, cGridFile::DelimitedText, cGridFile::WithCaptions,
                             separator.empty() ? "," : separator);
        report.grdBOM.SaveAs(xls, cGridFile::Spreadsheet, cGridFile::WithCaptions);
    } catch (const cError& e) {
        return e.Number() != 0 ? e.Number() : 1;
    }
    return 0;
}

} // namespace

namespace zvLib {

std::string DefaultExportName()
{
    return CurrentFile.size() < 4 ? std::string() : CurrentFile.substr(0, CurrentFile.size() - 4);
}

void ExportExcel()
{
    const std::optional<std::string> answer =
        UI->InputBox(zvLang::Translate("$msg.excelfilename"), "", DefaultExportName());
    if (!answer || answer->empty()) {
        return;
    }
    long number = 0;
    {
        WaitCursor wait;
        const std::string base = ExportFolder + NUX_STD_library::SafeFileName(*answer);
        const std::string xls = base + ".xls";
        const std::string csv = base + ".csv";
        // Each file is written beside the old one and takes its place only when complete,
        // so nothing of an earlier export is lost before the new one exists.
        for (const std::string* path : {&xls, &csv}) {
            const std::string key = Obstacle(*path);
            if (!key.empty()) {
                std::string text = zvLang::Translate(key);
                const std::size_t at = text.find("%1");
                if (at != std::string::npos) {
                    text.replace(at, 2, *path);
                }
                MsgBox(text, vbMsg::Information);
                return;
            }
        }
        number = WriteFiles(xls, csv);
        if (number == 0) {
            const int opened = NUX_STD_library::ShellOpen(0, xls, 1);
            number = opened > 32 ? 0 : opened;
        }
    }
    QApplication::processEvents();
    if (number != 0) {
        MsgBox(zvLang::Translate("$msg.excelnotfound"), vbMsg::Information);
        NUX_STD_library::ShellOpen(0, ExportFolder, 1);
    }
}

} // namespace zvLib
