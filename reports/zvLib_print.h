// zvLib, printing: the circuit map on one framed page of the program's printer, and the
// printer dialog that chooses that printer and its page set-up. The page is a cQtSurface over
// the QPrinter, installed as zvLib::PrinterPage while the circuit draws itself on it.
#pragma once

#include <array>
#include <string>

class QImage;
class QPrinter;
class cSurface;
class zvCircuit;

namespace zvLib {

// The printer the print commands use, made on first use (system default printer); a failed
// print replaces it.
QPrinter& Printer();

// The logo picture the page frame prints at its top-left corner at its natural size: the
// program's own (resources/logo.png, built in) to start with; a null image prints none.
QImage& PrintLogo();

// The map size, in user units, of an extent (xmin, ymin, xmax, ymax, width, height) on a page
// of aspect (height / width): the extent enlarged 1.1 times, then widened or heightened to
// the page's proportions. Returns {width, height}.
std::array<double, 2> MapSize(double width, double height, double aspect);

// Draws the page frame on the page: the logo (on a Qt page), document line, rules, footer (credit, file name, date,
// page number) and title; afterwards the position is on the line below the title.
void PrintPageFrame(cSurface& page, const std::string& title, int pageNumber = 1);

// Draws the circuit's map page on the page (frame, length and size, then the circuit under a
// user scale fitting it to the page, y up) without ending the document; the circuit draws on
// zvLib::PrinterPage, which must be the page. False, and nothing drawn, for an empty extent.
bool PrintCircuitPage(cSurface& page, const zvCircuit& circuit);

// Prints the current circuit's map on Printer() and ends the document; nothing when there is
// no circuit or its extent is empty. A printer with an output file prints a PDF document made
// in memory and written with WriteFileText (never by Qt itself). Raises cError 482 with the
// "$msg.printnoprinter" text when the printer has neither a device nor an output file, and
// with the "$msg.printfailed" text (naming the printer, or the file and why it could not be
// written, the old file then left as it was) when the print fails; a failed print on a
// device replaces Printer() by a fresh printer with the same choices, so the next print works.
void PrintCircuit();

// Shows the printer dialog for Printer() through ShowModal; an accepted dialog leaves its
// choices (printer, paper, orientation, output file) on Printer() for the next print.
void PrinterSetup();

} // namespace zvLib
