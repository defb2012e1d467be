// zvLib, the HTML report: the template of the program folder filled with the circuit's
// figures, a lanes table and a bill-of-materials table, written into the export folder beside
// the canvas picture it shows and opened with the system's browser.
#include "app/core/zvLib_sets.h"
#include "app/zvLib_shell.h"
#include "foundation/NUX_STD_apppath.h"
#include "foundation/NUX_STD_files.h"
#include "foundation/NUX_STD_locale.h"
#include "foundation/NUX_STD_system.h"
#include "foundation/NUX_STD_text.h"
#include "foundation/cError.h"
#include "foundation/zvLang.h"
#include "foundation/zvLib_canvas.h"
#include "model/zvCircuit.h"
#include "model/zvLib_colors.h"
#include "model/zvLib_globals.h"
#include "model/zvTrack.h"
#include "platform/cQtSurface.h"
#include "reports/gdiplus.h"
#include "model/zvUI.h"
#include "reports/zvLib_export.h"
#include "view/zvLib_view.h"

#include <QApplication>
#include <QCursor>

#include <utility>
#include <vector>

namespace {

constexpr const char* kCRLF = "\r\n";

std::string Format(double value)
{
    return NUX_STD_library::FormatEx(cVariant(value), "0.00", 0);
}

// A text as HTML shows it literally.
std::string HtmlEscape(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The description escaped, each line break (CR LF or LF alone) made "<br>".
std::string DescriptionHtml(const std::string& description)
{
    std::string out;
    const std::string escaped = HtmlEscape(description);
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '\r' && i + 1 < escaped.size() && escaped[i + 1] == '\n') {
            continue;
        }
        out += escaped[i] == '\n' ? std::string("<br>") : std::string(1, escaped[i]);
    }
    return out;
}

// A file name as a relative URL path: every byte but the unreserved letters, digits and
// "-._~" percent-encoded, so that "#", "?", "%" and blanks stay part of the name.
std::string PictureReference(const std::string& fileName)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : fileName) {
        const auto b = static_cast<unsigned char>(c);
        const bool letterOrDigit =
            (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
        if (letterOrDigit || c == '-' || c == '.' || c == '_' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0x0F];
        }
    }
    return out;
}

// The report's placeholders by their names (a placeholder is "$" and its name), each with its
// value, in the order they are tried.
using Placeholders = std::vector<std::pair<std::string, std::string>>;

// The template with every placeholder replaced in one pass: at each "$" the first placeholder
// of the list whose name follows is replaced; the values are copied, never searched again.
std::string Substitute(const std::string& text, const Placeholders& values)
{
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t dollar = text.find('$', i);
        if (dollar == std::string::npos) {
            out.append(text, i, std::string::npos);
            break;
        }
        out.append(text, i, dollar - i);
        i = dollar + 1;
        bool replaced = false;
        for (const auto& [name, value] : values) {
            if (text.compare(i, name.size(), name) == 0) {
                out += value;
                i += name.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            out += '$';
        }
    }
    return out;
}

// The hourglass while the export works, the default pointer afterwards.
class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

constexpr const char* kSource = "zvLib.ExportHtml";

// The error that a file of the report could not be written at the path: the message of the
// language table with the path and the reason, as a failed save says it.
cError WriteError(long number, const std::string& path)
{
    std::string text = zvLang::Translate("$msg.reportfailed");
    const std::size_t reason = text.find("%2");
    if (reason != std::string::npos) {
        text.replace(reason, 2, zvLang::WriteFailureReason(path));
    }
    const std::size_t name = text.find("%1");
    if (name != std::string::npos) {
        text.replace(name, 2, path);
    }
    return cError(number, kSource, text);
}

// The report template of the program folder, whole; raises cError with the reason in the
// user's language when it cannot be read.
std::string ReadTemplate()
{
    const std::string path = NUX_STD_library::AppPath() + "zorv.htt";
    std::string text;
    NUX_STD_library::ReadFault fault = NUX_STD_library::ReadFault::None;
    if (!NUX_STD_library::ReadFileBytes(path, NUX_STD_library::kMaxReadBytes, text, fault)) {
        throw cError(NUX_STD_library::ReadFaultNumber(fault), kSource,
                     zvLang::ReadFailureMessage(path, fault));
    }
    return text;
}

// The canvas as it shows now saved as a JPEG of the best quality; a canvas without a picture
// of its own (a recording surface) has none to save and raises error 5, a file that cannot be
// written the stream error with the file and the reason in the user's language.
void SaveCanvasPicture(const std::string& fileName)
{
    auto* canvas = dynamic_cast<cQtSurface*>(zvLib::MainPic);
    const QImage picture = canvas != nullptr ? canvas->Image() : QImage();
    const std::int32_t token = gdiplus::GdipInit();
    try {
        gdiplus::SavePicture(picture.isNull() ? nullptr : &picture, fileName, gdiplus::kJpeg, 100);
    } catch (const cError& e) {
        gdiplus::GdipShutdown(token);
        if (e.Number() == gdiplus::kErrStream) {
            throw WriteError(e.Number(), fileName);
        }
        throw;
    } catch (...) {
        gdiplus::GdipShutdown(token);
        throw;
    }
    gdiplus::GdipShutdown(token);
}

void Status(const std::string& text)
{
    std::string message = text;
    zvLib::SetStatus(message, false);
}

// The export's text in the status line while it works, and the ready text again however the
// export ends.
class ExportStatus {
  public:
    ExportStatus() { Status(zvLang::Translate("$msg.exporting")); }
    ~ExportStatus() { Status(""); }
    ExportStatus(const ExportStatus&) = delete;
    ExportStatus& operator=(const ExportStatus&) = delete;
};

} // namespace

namespace zvLib {

std::string ReportLanesRows(const zvCircuit& circuit)
{
    std::string rows = "<tr><th width=20%>" + HtmlEscape(zvLang::Translate("$report.lane")) +
                       "</th><th width=80%>" + HtmlEscape(zvLang::Translate("$report.lanes.len1")) +
                       "</th></tr>";
    for (const auto& track : circuit.tracks()) {
        for (std::int16_t lane = 1; lane <= 2; ++lane) {
            const int n = (track->index() - 1) * 2 + lane;
            std::string colour;
            // Lanes beyond the colour table are shown without a colour of their own.
            if (n >= 1 && n <= static_cast<int>(LaneColors.size())) {
                colour = " bgcolor=" + NUX_STD_library::SqlQuote(Colors.RGBToHtml(
                                           LaneColors[static_cast<std::size_t>(n - 1)]));
            }
            rows += "<tr>" + std::string(kCRLF) + "<td align=center" + colour + ">" +
                    std::to_string(n) + "</td>" + kCRLF + "<td align=right>" +
                    Format(track->GetLength(lane) / 1000) + "</td>" + kCRLF + "</tr>" + kCRLF;
        }
    }
    return rows;
}

std::string ReportBomRows(const zvCircuit& circuit)
{
    std::string rows = "<tr><th width=15% nowrap >Set</th>";
    rows += "<th width=15% nowrap >" + HtmlEscape(zvLang::Translate("$report.bom.code")) + "</th>";
    rows += "<th width=55% nowrap >" + HtmlEscape(zvLang::Translate("$report.bom.desc")) + "</th>";
    rows +=
        "<th width=15% nowrap >" + HtmlEscape(zvLang::Translate("$report.bom.used")) + "</th></tr>";
    zvTextTable bom;
    circuit.GetBOM(bom);
    for (const zvTableRow& row : bom) {
        rows += "<tr>" + std::string(kCRLF);
        for (std::size_t f = 0; f < 3; ++f) {
            rows += "<td nowrap >" + HtmlEscape(row[f]) + "</td>" + kCRLF;
        }
        rows += "<td nowrap align=right>" + HtmlEscape(row[3]) + "</td>" + kCRLF + "</tr>" + kCRLF;
    }
    return rows;
}

std::string ReportPictureName(const std::string& reportName)
{
    return NUX_STD_library::SafeFileName(reportName) + ".jpg";
}

std::string ReportPage(const std::string& htmlTemplate, const std::string& reportName,
                       zvCircuit& circuit)
{
    if (circuit.Name().empty()) {
        circuit.Name(reportName);
    }
    const std::array<cFixed, 6> extent = circuit.GetExtent();
    const zvSetFacts set = circuit.OwnSet();
    const auto text = [](const char* key) { return HtmlEscape(zvLang::Translate(key)); };
    const Placeholders values = {
        {"zorv.release", std::string(kProductName) + " " + NUX_STD_library::AppVersion()},
        {"filename", HtmlEscape(reportName)},
        {"name", HtmlEscape(circuit.Name())},
        {"desc", DescriptionHtml(circuit.Description())},
        {"definition", HtmlEscape(set.description)},
        {"scale#", "1/" + std::to_string(set.scale)},
        {"lanes#", std::to_string(2 * circuit.tracks().Count())},
        {"length#", Format(circuit.GetLength() / 1000)},
        {"width#", Format(extent[4].toDouble() / 1000)},
        {"height#", Format(extent[5].toDouble() / 1000)},
        {"zorvfile#", HtmlEscape(CurrentFile)},
        {"report.reqroom", text("$report.reqroom")},
        {"report.lanes", text("$report.lanes")},
        {"report.set", text("$report.set")},
        {"report.scale", text("$report.scale")},
        {"report.avglenght", text("$report.avglenght")},
        {"report.filename", text("$report.filename")},
        {"tbl_lanes", ReportLanesRows(circuit)},
        {"tbl_bom", ReportBomRows(circuit)},
        {"tbl_plan", ""},
        {"head2", text("$report.lanes.info")},
        {"head3", text("$report.bom")},
        {"head4", "&nbsp;"},
        {"picture", PictureReference(ReportPictureName(reportName))},
    };
    return Substitute(htmlTemplate, values);
}

void ExportHtml()
{
    const std::shared_ptr<zvCircuit> circuit = Circuit();
    if (!circuit) {
        return;
    }
    const std::optional<std::string> answer =
        UI->InputBox(zvLang::Translate("$msg.htmlfilename"), "", DefaultExportName());
    if (!answer || answer->empty()) {
        return;
    }
    std::string page;
    {
        WaitCursor wait;
        ExportStatus status;
        const std::string htmlTemplate = ReadTemplate();
        ZoomExtents();
        const std::string base = ExportFolder + NUX_STD_library::SafeFileName(*answer);
        SaveCanvasPicture(ExportFolder + ReportPictureName(*answer));
        page = base + ".htm";
        const std::string filled = ReportPage(htmlTemplate, *answer, *circuit);
        if (!NUX_STD_library::WriteFileText(page, filled + kCRLF)) {
            throw WriteError(75, page);
        }
        ZoomExtents();
    }
    NUX_STD_library::ShellOpen(0, page, 1);
}

} // namespace zvLib
