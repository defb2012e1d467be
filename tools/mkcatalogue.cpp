// mkcatalogue: writes the shipped catalogue "Zorv.dat" from its readable source, with an icon
// per piece drawn from the piece's own geometry, or checks that a catalogue file still
// matches the source, or draws the program's logo (an oval of catalogue pieces and the name).
//   mkcatalogue SOURCE OUTPUT.dat
//   mkcatalogue --check SOURCE CATALOGUE.dat
//   mkcatalogue --logo SOURCE LOGO.png
#include "app/core/zvLib_catalogue.h"
#include "foundation/NUX_STD_files.h"
#include "foundation/cError.h"
#include "foundation/zvLib_canvas.h"
#include "model/zvLib_factory.h"
#include "model/zvLib_globals.h"
#include "platform/cQtSurface.h"
#include "tools/CatalogueSource.h"

#include <QBuffer>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <iostream>
#include <sstream>

namespace {

// Icons are bitmaps of 40 by 40 pixels on magenta, the item bar's transparent colour.
constexpr int kIconSize = 40;
constexpr int kIconMargin = 2;
constexpr std::int32_t kMagenta = 0xFF00FF;
// Pieces whose marks are sized by the visible width (start line, lap counter dots) are drawn
// enlarged to this size in world units, so that the marks stay a pixel or two wide.
constexpr double kIconWorld = 10000;

std::string readFile(const std::string& path)
{
    std::string bytes;
    NUX_STD_library::ReadFault fault = NUX_STD_library::ReadFault::None;
    if (!NUX_STD_library::ReadFileBytes(path, NUX_STD_library::kMaxReadBytes, bytes, fault)) {
        throw cError(NUX_STD_library::ReadFaultNumber(fault), "mkcatalogue",
                     std::string(NUX_STD_library::ReadFaultText(fault)) + ": " + path);
    }
    return bytes;
}

// Point-set text with every coordinate multiplied by k.
std::string scalePoints(const std::string& points, double k)
{
    std::string out;
    std::istringstream in(points);
    std::string pair;
    while (std::getline(in, pair, ';')) {
        const auto colon = pair.find(':');
        if (colon == std::string::npos) {
            continue;
        }
        const double x = *cVariant::parseNumber(pair.substr(0, colon));
        const double y = *cVariant::parseNumber(pair.substr(colon + 1));
        out += cFixed::fromDouble(x * k).str() + ":" + cFixed::fromDouble(y * k).str() + ";";
    }
    return out;
}

// The record with every length multiplied by k (a curve keeps its sweep).
zvPieceRecord scaled(zvPieceRecord r, double k)
{
    auto mul = [k](cFixed& v) { v = cFixed::fromDouble(v.toDouble() * k); };
    for (cFixed* v :
         {&r.stdWidth, &r.lanesGap, &r.kerbsWidth, &r.sng2, &r.sng3, &r.R0, &r.R1, &r.R2}) {
        mul(*v);
    }
    if (r.classe != 2) {
        mul(r.sng1);
    }
    std::string extra;
    std::istringstream in(r.extra);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const auto eq = line.find('=');
        extra += (extra.empty() ? "" : "\r\n") + line.substr(0, eq + 1) +
                 scalePoints(line.substr(eq + 1), k);
    }
    r.extra = extra;
    return r;
}

// The piece of a record alone in the piece table, started at the origin heading up.
std::shared_ptr<zvItem> pieceOf(const zvPieceRecord& rec)
{
    zvLib::PieceTable = {rec};
    std::string key = rec.itemID;
    auto p = zvLib::CreateItem(rec.setID, key, 0, 0, 90);
    if (!p) {
        throw cError(5, "mkcatalogue", "no piece for " + rec.itemID);
    }
    p->TrackIndex(1);
    return p;
}

// Bounding box (minX, minY, maxX, maxY) of the piece's outline.
std::array<double, 4> outlineBox(const zvItem& p)
{
    std::array<double, 4> box = {1e300, 1e300, -1e300, -1e300};
    for (const zvPoint& q : p.GetOutline()) {
        box[0] = std::min(box[0], q.x.toDouble());
        box[1] = std::min(box[1], q.y.toDouble());
        box[2] = std::max(box[2], q.x.toDouble());
        box[3] = std::max(box[3], q.y.toDouble());
    }
    return box;
}

// The icon of a record as the bytes of a 24-bit bitmap.
std::string drawIcon(const zvPieceRecord& rec)
{
    const auto plain = outlineBox(*pieceOf(rec));
    const bool widthMarks = rec.flags == 1 || rec.flags == 16;
    const double k =
        widthMarks ? kIconWorld / std::max(plain[2] - plain[0], plain[3] - plain[1]) : 1;
    const auto piece = pieceOf(scaled(rec, k));
    const auto box = outlineBox(*piece);
    const double side =
        std::max(box[2] - box[0], box[3] - box[1]) * kIconSize / (kIconSize - 2 * kIconMargin);
    const double cx = (box[0] + box[2]) / 2;
    const double cy = (box[1] + box[3]) / 2;

    cQtSurface surface(kIconSize, kIconSize);
    surface.Antialiasing(false);
    surface.BackColor(kMagenta);
    surface.Cls();
    surface.Scale(cx - side / 2, cy + side / 2, cx + side / 2, cy - side / 2);
    zvLib::MainPic = &surface;
    piece->Draw();
    zvLib::MainPic = nullptr;

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!surface.Image().convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP")) {
        throw cError(75, "mkcatalogue", "cannot encode the icon of " + rec.itemID);
    }
    return bytes.toStdString();
}

// Builds the piece table from the rows, as the program will; any message is a mistake.
std::vector<zvPieceRecord> buildTable(const std::vector<std::vector<cVariant>>& rows)
{
    zvLib::ResetModelGlobals();
    zvLib::Catalogue = mkcatalogue::CatalogueTable(rows);
    const auto messages = zvLib::BuildPieceTable();
    if (!messages.empty()) {
        throw cError(321, "mkcatalogue", messages.front());
    }
    return zvLib::PieceTable;
}

// Puts an icon into every piece row, drawn from the first record the row gave.
void addIcons(std::vector<std::vector<cVariant>>& rows)
{
    const auto table = buildTable(rows);
    zvLib::ShowCodes = false;
    zvLib::ShowKerbs = false;
    for (auto& row : rows) {
        if (row[0].toText() != "item") {
            continue;
        }
        const std::string set = row[1].toText();
        const std::string code = row[2].toText();
        const auto rec = std::find_if(table.begin(), table.end(), [&](const zvPieceRecord& r) {
            return r.setID == set && r.code == code;
        });
        row[mkcatalogue::IconField()] = cVariant::Bytes(drawIcon(*rec));
    }
    zvLib::ResetModelGlobals();
}

// Compares a catalogue file with the rows of the source; the icons need only be bitmaps of
// the icon size. Returns the differences found.
std::vector<std::string> compare(const std::vector<std::vector<cVariant>>& rows,
                                 const std::string& path);

int write(const std::string& source, const std::string& output)
{
    auto rows = mkcatalogue::CatalogueRows(mkcatalogue::ReadSource(readFile(source)));
    addIcons(rows);
    if (const long err = mkcatalogue::CatalogueTable(rows).Save(output); err != 0) {
        throw cError(err, "mkcatalogue", "cannot write " + output);
    }
    std::cout << "wrote " << rows.size() << " rows to " << output << "\n";
    return 0;
}

// The logo's oval: two straights and a half circle of the club set on each side, chained from
// the origin as a track chains its pieces.
std::vector<std::shared_ptr<zvItem>> logoOval()
{
    std::vector<std::shared_ptr<zvItem>> oval;
    cFixed x;
    cFixed y;
    cFixed a;
    for (const char* code : {"AS1", "AS1", "AC1-90(L)", "AC1-90(L)", "AS1", "AS1", "AC1-90(L)",
                             "AC1-90(L)"}) {
        std::string key = code;
        auto piece = zvLib::CreateItem("CL32", key, x, y, a);
        if (!piece) {
            throw cError(5, "mkcatalogue", std::string("no piece for the logo: ") + code);
        }
        piece->TrackIndex(1);
        x = piece->xFine();
        y = piece->yFine();
        a = piece->aFine();
        oval.push_back(piece);
    }
    return oval;
}

// The logo: 320 by 96 pixels at 300 per inch (27 by 8 millimetres printed), the oval drawn as
// the canvas draws pieces, and the program's name beside it in the start page's green.
int logo(const std::string& source, const std::string& output)
{
    constexpr int kWidth = 320;
    constexpr int kHeight = 96;
    constexpr int kOvalWidth = 150;
    constexpr int kMargin = 6;
    buildTable(mkcatalogue::CatalogueRows(mkcatalogue::ReadSource(readFile(source))));
    zvLib::ShowCodes = false;
    zvLib::ShowKerbs = false;
    const auto oval = logoOval();
    std::array<double, 4> box = {1e300, 1e300, -1e300, -1e300};
    for (const auto& piece : oval) {
        const auto b = outlineBox(*piece);
        box = {std::min(box[0], b[0]), std::min(box[1], b[1]), std::max(box[2], b[2]),
               std::max(box[3], b[3])};
    }
    const double k = std::max((box[2] - box[0]) / (kOvalWidth - 2 * kMargin),
                              (box[3] - box[1]) / (kHeight - 2 * kMargin));
    const double left = (box[0] + box[2]) / 2 - k * kOvalWidth / 2;
    const double top = (box[1] + box[3]) / 2 + k * kHeight / 2;

    cQtSurface surface(kWidth, kHeight);
    surface.BackColor(0xFFFFFF);
    surface.Cls();
    surface.Scale(left, top, left + k * kWidth, top - k * kHeight);
    zvLib::MainPic = &surface;
    for (const auto& piece : oval) {
        piece->Draw();
    }
    zvLib::MainPic = nullptr;
    zvLib::ResetModelGlobals();

    QImage picture = surface.Image().convertToFormat(QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font("DejaVu Sans");
    font.setPixelSize(64);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(28, 74, 52));
    painter.drawText(QRect(kOvalWidth, 0, kWidth - kOvalWidth, kHeight), Qt::AlignCenter, "Zorv");
    painter.end();
    constexpr int kDotsPerMetre = 11811; // 300 per inch
    picture.setDotsPerMeterX(kDotsPerMetre);
    picture.setDotsPerMeterY(kDotsPerMetre);
    if (!picture.save(QString::fromStdString(output), "PNG")) {
        throw cError(75, "mkcatalogue", "cannot write " + output);
    }
    std::cout << "wrote the logo to " << output << "\n";
    return 0;
}

int check(const std::string& source, const std::string& path)
{
    const auto rows = mkcatalogue::CatalogueRows(mkcatalogue::ReadSource(readFile(source)));
    buildTable(rows);
    const auto differences = compare(rows, path);
    for (const auto& d : differences) {
        std::cerr << d << "\n";
    }
    if (!differences.empty()) {
        std::cerr << "run: mkcatalogue " << source << " " << path << "\n";
    }
    return differences.empty() ? 0 : 1;
}

// Width and height of a bitmap, from its header; 0 when it is not one.
std::pair<long, long> bitmapSize(const std::string& b)
{
    if (b.size() < 26 || b.compare(0, 2, "BM") != 0) {
        return {0, 0};
    }
    auto le32 = [&](std::size_t at) {
        return static_cast<long>(static_cast<unsigned char>(b[at]) |
                                 static_cast<unsigned char>(b[at + 1]) << 8 |
                                 static_cast<unsigned char>(b[at + 2]) << 16 |
                                 static_cast<unsigned char>(b[at + 3]) << 24);
    };
    return {le32(18), le32(22)};
}

std::vector<std::string> compare(const std::vector<std::vector<cVariant>>& rows,
                                 const std::string& path)
{
    cRecordset file;
    if (file.Open(path) != 0) {
        return {"cannot read " + path + ": " + file.ErrorText()};
    }
    const auto fields = mkcatalogue::CatalogueFields();
    std::vector<std::string> out;
    if (file.FieldCount() != static_cast<long>(fields.size()) ||
        file.RecordCount() != static_cast<long>(rows.size())) {
        return {path + " has other fields or another number of rows than the source"};
    }
    for (std::size_t f = 0; f < fields.size(); ++f) {
        if (file.Fields(static_cast<long>(f)).Name() != fields[f].first ||
            file.Fields(static_cast<long>(f)).Type() != fields[f].second) {
            out.push_back("field " + std::to_string(f) + " differs");
        }
    }
    file.MoveFirst();
    for (std::size_t r = 0; r < rows.size() && out.empty(); ++r, file.MoveNext()) {
        for (std::size_t f = 0; f < fields.size(); ++f) {
            const cVariant& v = file.CurrentValue(f);
            const bool same =
                f == mkcatalogue::IconField()
                    ? rows[r][0].toText() == "base" ||
                          bitmapSize(v.str()) == std::make_pair<long, long>(kIconSize, kIconSize)
                    : v == rows[r][f];
            if (!same) {
                out.push_back("row " + std::to_string(r + 1) + " (" + rows[r][2].toText() +
                              "), field " + fields[f].first + " differs from the source");
            }
        }
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 3 && args[0] == "--check") {
            return check(args[1], args[2]);
        }
        if (args.size() == 3 && args[0] == "--logo") {
            return logo(args[1], args[2]);
        }
        if (args.size() == 2) {
            return write(args[0], args[1]);
        }
        std::cerr << "usage: mkcatalogue SOURCE OUTPUT.dat\n"
                     "       mkcatalogue --check SOURCE CATALOGUE.dat\n"
                     "       mkcatalogue --logo SOURCE LOGO.png\n";
        return 2;
    } catch (const cError& e) {
        std::cerr << "mkcatalogue: " << e.Description() << "\n";
        return 1;
    }
}
