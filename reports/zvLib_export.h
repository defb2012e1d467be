// zvLib, the exports of the report: the HTML report page filled from the template, and the
// bill of materials with the user's stock as a spreadsheet and as delimited text; both are
// written into the export folder and opened with the program the system associates with them.
#pragma once

#include <string>

namespace zvLib {

// The name an export offers: the current file's name less its last four characters (a dot
// and a three-letter extension); "" for a name shorter than that.
std::string DefaultExportName();

// Asks for a name and writes the report's bill of materials as name & ".xls" (a spreadsheet)
// and name & ".csv" (fields separated by the user's list separator) into ExportFolder, then
// opens the spreadsheet. Each file replaces an old one only once it is complete. An empty
// answer does nothing; a folder in the way of either name, or an old file that may not be
// replaced, is reported and nothing is written or deleted; a failed write or open is reported
// and the export folder is opened instead.
void ExportExcel();

} // namespace zvLib

class zvCircuit;

namespace zvLib {

// The lanes table rows of the HTML report: a header row, then per track in order its lane 1
// and lane 2 with the lane's number on its colour and its length in metres ("0.00").
std::string ReportLanesRows(const zvCircuit& circuit);
// The bill-of-materials rows of the HTML report: a header row, then set, code, description
// and count of every row of the circuit's bill of materials; texts escaped for HTML.
std::string ReportBomRows(const zvCircuit& circuit);
// The file name of the report's picture: the report name made safe, and ".jpg".
std::string ReportPictureName(const std::string& reportName);
// The report template filled for the circuit under the report name: each placeholder replaced
// in one pass over the template (a value is never searched for placeholders again), the
// user's texts escaped for HTML and the description's line breaks made "<br>"; the
// placeholder $picture is the picture's file name (ReportPictureName) percent-encoded as a
// relative URL. An unnamed circuit takes the report name as its name.
std::string ReportPage(const std::string& htmlTemplate, const std::string& reportName,
                       zvCircuit& circuit);
// Asks for a report name, saves the canvas fitted to the whole circuit as name & ".jpg"
// (quality 100) and writes the filled template as name & ".htm" beside it in ExportFolder,
// then opens the page. The status line shows "$msg.exporting" while it works and the ready
// text again however it ends. An empty answer does nothing; a template that cannot be read
// raises cError with its fault's number and zvLang::ReadFailureMessage; a picture or a page
// that cannot be written raises cError (gdiplus::kErrStream, 75) with "$msg.reportfailed", the
// file and the reason in the user's language; any other failure of the picture raises the
// error of gdiplus::SavePicture (a canvas without a picture of its own raises error 5).
void ExportHtml();

} // namespace zvLib
