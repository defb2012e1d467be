// zvLib, printing: the page frame and the circuit map drawn on a printer page, the print job
// on the program's printer and the printer dialog that sets that printer up.
#include "reports/zvLib_print.h"

#include "app/zvLib_shell.h"
#include "app/zvModal.h"
#include "foundation/NUX_STD_library.h"
#include "foundation/cError.h"
#include "foundation/cVariant.h"
#include "foundation/zvLang.h"
#include "foundation/zvLib_canvas.h"
#include "model/zvCircuit.h"
#include "platform/cQtSurface.h"

#include <QBuffer>
#include <QDateTime>
#include <QImage>
#include <QLocale>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>

#include <memory>

// The pictures built into the program (resources.qrc), linked in from the library.
static void InitResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

// The logo built into the program; null when it is missing.
QImage ShippedLogo()
{
    InitResources();
    return QImage(":/logo.png");
}

constexpr std::int32_t kBlack = 0;
constexpr int kMillimetres = 6;
constexpr int kTwips = 1;
constexpr int kRuleWidth = 4;
constexpr double kMapMargin = 1.1;
constexpr long kErrPrinter = 482;

// A length in millimetres as metres with two decimals in the user's locale.
std::string Metres(double mm)
{
    return NUX_STD_library::FormatEx(cVariant(mm / 1000), "0.00", 0);
}

// The name and extension of the current document.
std::string DocumentName()
{
    const std::string& file = zvLib::CurrentFile;
    const auto slash = file.find_last_of("/\\");
    return slash == std::string::npos ? file : file.substr(slash + 1);
}

// The current date and time in the system's short formats, two blanks apart.
std::string PrintedOn()
{
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    return (locale.toString(now.date(), QLocale::ShortFormat) + "  " +
            locale.toString(now.time(), QLocale::ShortFormat))
        .toStdString();
}

// Installs a page as zvLib::PrinterPage for the time of a print and takes it away after,
// whatever happens in between.
class PrinterPageGuard {
  public:
    explicit PrinterPageGuard(cSurface& page) : previous_(zvLib::PrinterPage)
    {
        zvLib::PrinterPage = &page;
    }
    ~PrinterPageGuard() { zvLib::PrinterPage = previous_; }
    PrinterPageGuard(const PrinterPageGuard&) = delete;
    PrinterPageGuard& operator=(const PrinterPageGuard&) = delete;

  private:
    cSurface* previous_;
};

} // namespace

namespace zvLib {

namespace {

// The program's printer; a print that fails replaces it (ResetPrinter).
std::unique_ptr<QPrinter>& PrinterHolder()
{
    static std::unique_ptr<QPrinter> printer =
        std::make_unique<QPrinter>(QPrinter::HighResolution);
    return printer;
}

// True when a print goes to the printer's output file rather than to a printer device.
bool PrintsToFile(const QPrinter& printer)
{
    return !printer.outputFileName().isEmpty();
}

// Where a print goes: the output file, or the printer's name; "" when there is neither.
std::string Destination(const QPrinter& printer)
{
    if (PrintsToFile(printer)) {
        return printer.outputFileName().toStdString();
    }
    return printer.outputFormat() == QPrinter::NativeFormat ? printer.printerName().toStdString()
                                                            : std::string();
}

// A fresh printer with the choices of the old one (printer, page set-up, colour, copies,
// duplex): Qt keeps a printer whose job failed to start busy for good, so a failed print on a
// device must not leave it in the program's hands. (Prints to a file never use the device.)
void ResetPrinter()
{
    std::unique_ptr<QPrinter>& holder = PrinterHolder();
    const QPrinter& old = *holder;
    auto fresh = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (old.outputFormat() == QPrinter::NativeFormat) {
        fresh->setPrinterName(old.printerName());
    } else {
        fresh->setOutputFormat(old.outputFormat());
    }
    fresh->setPageLayout(old.pageLayout());
    fresh->setColorMode(old.colorMode());
    fresh->setCopyCount(old.copyCount());
    fresh->setDuplex(old.duplex());
    fresh->setPageOrder(old.pageOrder());
    holder = std::move(fresh);
}

// An error whose text is a message of the language table, "%1" replaced by the detail.
cError PrintError(const char* key, const std::string& detail = {})
{
    std::string text = zvLang::Translate(key);
    const std::size_t at = text.find("%1");
    if (at != std::string::npos) {
        text.replace(at, 2, detail);
    }
    return cError(kErrPrinter, "zvLib.PrintCircuit", text);
}

// Draws the circuit's map page on a printer page or PDF document and ends it; raises cError
// when the device cannot be painted on or the page cannot be finished.
void DrawMap(QPaintDevice& device, const zvCircuit& circuit, bool grayscale)
{
    cQtSurface page(&device, true);
    page.Grayscale(grayscale);
    {
        PrinterPageGuard installed(page);
        PrintCircuitPage(page, circuit);
    }
    page.EndDoc();
}

// The map page as the bytes of a PDF document made in memory with the printer's page set-up,
// resolution, colour mode, title and creator: the page Qt's own PDF output would hold (one
// page, whatever the copy count, which only a printer device acts on).
std::string PdfBytes(const QPrinter& printer, const zvCircuit& circuit)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPdfVersion(printer.pdfVersion());
        pdf.setTitle(printer.docName());
        pdf.setCreator(printer.creator());
        pdf.setResolution(printer.resolution());
        pdf.setPageLayout(printer.pageLayout());
        DrawMap(pdf, circuit, printer.colorMode() == QPrinter::GrayScale);
    }
    return buffer.data().toStdString();
}

// Prints the map to the printer's output file: the document is made in memory and written
// like every file of the program, so a failed write leaves the old file as it was, and no
// link another user planted is written through.
void PrintToFile(const zvCircuit& circuit)
{
    const std::string path = Destination(Printer());
    std::string bytes;
    try {
        bytes = PdfBytes(Printer(), circuit);
    } catch (const std::exception&) {
        throw PrintError("$msg.printfailed", path);
    }
    if (!NUX_STD_library::WriteFileText(path, bytes)) {
        throw PrintError("$msg.printfailed", path + " (" + zvLang::WriteFailureReason(path) + ")");
    }
}

} // namespace

QPrinter& Printer()
{
    return *PrinterHolder();
}

QImage& PrintLogo()
{
    static QImage logo = ShippedLogo();
    return logo;
}

std::array<double, 2> MapSize(double width, double height, double aspect)
{
    double w = width * kMapMargin;
    double h = height * kMapMargin;
    if (h / aspect < w) {
        h = w * aspect;
    } else if (h / aspect > w) {
        w = h / aspect;
    }
    return {w, h};
}

void PrintPageFrame(cSurface& page, const std::string& title, int pageNumber)
{
    page.ScaleMode(kMillimetres);
    page.FontName("Tahoma");
    const float w = page.ScaleWidth();
    const float h = page.ScaleHeight();
    const std::string document = DocumentName();

    if (auto* qt = dynamic_cast<cQtSurface*>(&page); qt != nullptr && !PrintLogo().isNull()) {
        qt->PaintPicture(PrintLogo(), 0, 0);
    }

    page.CurrentY(0);
    page.FontSize(12);
    page.FontBold(true);
    NUX_STD_library::PrintCentered(page, document);

    page.DrawWidth(kRuleWidth);
    page.Line(0, h - 10, w, h - 10, kBlack);

    page.FontSize(8);
    page.FontBold(false);
    page.CurrentY(h - 9);
    page.CurrentX(0);
    page.Print(std::string("Designed with ") + kProductName + " " +
                   NUX_STD_library::AppVersion(),
               true);

    page.CurrentY(h - 9);
    NUX_STD_library::PrintRightAligned(page, "Filename: " + document, w, true);
    NUX_STD_library::PrintRightAligned(page, "Printed on: " + PrintedOn(), w, false);

    page.CurrentY(h - 9);
    NUX_STD_library::PrintCentered(page, "Page " + std::to_string(pageNumber));

    page.DrawWidth(kRuleWidth);
    page.Line(0, 10, w, 10, kBlack);

    page.CurrentX(0);
    page.CurrentY(10);
    page.FontSize(16);
    page.FontBold(true);
    page.Print(title, true);
}

bool PrintCircuitPage(cSurface& page, const zvCircuit& circuit)
{
    const auto extent = circuit.GetExtent();
    const double xmin = extent[0].toDouble();
    const double ymin = extent[1].toDouble();
    const double xmax = extent[2].toDouble();
    const double ymax = extent[3].toDouble();
    const double width = extent[4].toDouble();
    const double height = extent[5].toDouble();
    if (width == 0 || height == 0) {
        return false;
    }
    PrintPageFrame(page, "Circuit map");

    page.FontSize(8);
    page.FontBold(false);
    page.Print("Length: " + Metres(circuit.GetLength()) + " mt", true);
    page.Print("Size: " + Metres(width) + " x " + Metres(height) + " mt", true);

    page.ScaleMode(kTwips);
    const double aspect =
        static_cast<double>(page.ScaleHeight()) / static_cast<double>(page.ScaleWidth());
    const auto [w, h] = MapSize(width, height, aspect);
    const double left = (xmin + xmax) / 2 - w / 2;
    const double top = (ymin + ymax) / 2 + h / 2;
    page.Scale(left, top, left + w, top - h);

    circuit.Printout();
    return true;
}

void PrintCircuit()
{
    const auto circuit = Circuit();
    if (!circuit) {
        return;
    }
    const auto extent = circuit->GetExtent();
    if (extent[4].toDouble() == 0 || extent[5].toDouble() == 0) {
        return;
    }
    const std::string destination = Destination(Printer());
    if (destination.empty()) {
        throw PrintError("$msg.printnoprinter");
    }
    if (PrintsToFile(Printer())) {
        PrintToFile(*circuit);
        return;
    }
    try {
        DrawMap(Printer(), *circuit, false);
    } catch (const std::exception&) {
        ResetPrinter();
        throw PrintError("$msg.printfailed", destination);
    }
}

void PrinterSetup()
{
    QPrintDialog dialog(&Printer());
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    ShowModal(dialog);
}

} // namespace zvLib
