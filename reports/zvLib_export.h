// zvLib, the exports of the report: the bill of materials with the user's stock written as a
// spreadsheet and as delimited text into the export folder, and opened with the program the
// system associates with spreadsheets.
#pragma once

#include <string>

namespace zvLib {

// The name an export offers: the current file's name less its last four characters (a dot
// and a three-letter extension); "" for a name shorter than that.
std::string DefaultExportName();

// Asks for a name and writes the report's bill of materials as name & ".xls" (a spreadsheet)
// and name & ".csv" (fields separated by the user's list separator) into ExportFolder, then
// opens the spreadsheet. An empty answer does nothing; old files that cannot both be removed
// are reported and nothing is written; a failed write or open is reported and the export
// folder is opened instead.
void ExportExcel();

} // namespace zvLib
