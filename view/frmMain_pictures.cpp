// frmMain's toolbar pictures: small line drawings made when the window is loaded and kept as
// image files in the program's temporary folder, where the toolbar control reads them.
#include "app/zvLib_shell.h"
#include "foundation/NUX_STD_files.h"
#include "platform/cQtConvert.h"
#include "view/frmMain.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <functional>
#include <map>

namespace {

// The side of a picture in pixels.
constexpr int kSide = 20;
const QColor kInk(64, 64, 64);
const QColor kAccent(40, 110, 200);

using Glyph = std::function<void(QPainter&)>;

void Page(QPainter& p, int x, int y)
{
    p.drawPolygon(QPolygon({QPoint(x, y), QPoint(x + 8, y), QPoint(x + 11, y + 3),
                            QPoint(x + 11, y + 14), QPoint(x, y + 14)}));
}

void Magnifier(QPainter& p)
{
    p.drawEllipse(QPoint(8, 8), 6, 6);
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(13, 13, 18, 18);
    p.setPen(QPen(kInk, 1.5));
}

void TurnArrow(QPainter& p, bool clockwise)
{
    p.drawArc(QRect(3, 4, 14, 13), clockwise ? 200 * 16 : 340 * 16,
              clockwise ? -280 * 16 : 280 * 16);
    const QPoint tip = clockwise ? QPoint(4, 7) : QPoint(16, 7);
    p.setBrush(kInk);
    p.drawPolygon(QPolygon({tip + QPoint(-3, -3), tip + QPoint(3, -3), tip + QPoint(0, 2)}));
}

void Arrow(QPainter& p, int dx, int dy)
{
    const QPoint c(10, 10);
    const QPoint tip = c + QPoint(dx * 7, dy * 7);
    p.drawLine(c - QPoint(dx * 6, dy * 6), tip);
    p.setBrush(kInk);
    const QPoint side(dy * 4, dx * 4);
    p.drawPolygon(QPolygon({tip + QPoint(dx * 2, dy * 2), tip - QPoint(dx * 4, dy * 4) + side,
                            tip - QPoint(dx * 4, dy * 4) - side}));
}

void Letters(QPainter& p, const char* text, int size = 10)
{
    QFont f = p.font();
    f.setPixelSize(size);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(0, 0, kSide, kSide), Qt::AlignCenter, text);
}

// The file and clipboard tools.
void FileGlyphs(std::map<std::string, Glyph>& glyphs)
{
    glyphs.insert({
        {"new", [](QPainter& p) { Page(p, 4, 3); }},
        {"open",
         [](QPainter& p) {
             p.setBrush(QColor(240, 200, 90));
             p.drawPolygon(QPolygon({QPoint(2, 5), QPoint(8, 5), QPoint(10, 7), QPoint(18, 7),
                                     QPoint(18, 16), QPoint(2, 16)}));
         }},
        {"save",
         [](QPainter& p) {
             p.setBrush(kAccent);
             p.drawRect(3, 3, 14, 14);
             p.setBrush(Qt::white);
             p.drawRect(6, 3, 8, 5);
         }},
        {"cut",
         [](QPainter& p) {
             p.drawEllipse(QPoint(6, 15), 3, 3);
             p.drawEllipse(QPoint(14, 15), 3, 3);
             p.drawLine(7, 12, 14, 2);
             p.drawLine(13, 12, 6, 2);
         }},
        {"copy",
         [](QPainter& p) {
             Page(p, 3, 2);
             p.setBrush(Qt::white);
             Page(p, 7, 5);
         }},
        {"paste",
         [](QPainter& p) {
             p.setBrush(QColor(210, 170, 110));
             p.drawRect(3, 4, 12, 14);
             p.setBrush(Qt::white);
             Page(p, 8, 7);
         }},
    });
}

// The undo, zoom, turn and move tools.
void ViewGlyphs(std::map<std::string, Glyph>& glyphs)
{
    glyphs.insert({
        {"undo", [](QPainter& p) { TurnArrow(p, true); }},
        {"redo", [](QPainter& p) { TurnArrow(p, false); }},
        {"zoom+",
         [](QPainter& p) {
             Magnifier(p);
             p.drawLine(5, 8, 11, 8);
             p.drawLine(8, 5, 8, 11);
         }},
        {"zoom-",
         [](QPainter& p) {
             Magnifier(p);
             p.drawLine(5, 8, 11, 8);
         }},
        {"fit",
         [](QPainter& p) {
             p.drawRect(2, 2, 16, 16);
             p.setPen(QPen(kAccent, 1.5));
             p.drawRoundedRect(5, 6, 10, 8, 3, 3);
         }},
        {"rotate-", [](QPainter& p) { TurnArrow(p, true); }},
        {"rotate+", [](QPainter& p) { TurnArrow(p, false); }},
        {"moveleft", [](QPainter& p) { Arrow(p, -1, 0); }},
        {"moveright", [](QPainter& p) { Arrow(p, 1, 0); }},
        {"moveup", [](QPainter& p) { Arrow(p, 0, -1); }},
        {"movedown", [](QPainter& p) { Arrow(p, 0, 1); }},
    });
}

// The ruler, the view options, help and the view modes.
void OptionGlyphs(std::map<std::string, Glyph>& glyphs)
{
    glyphs.insert({
        {"ruler",
         [](QPainter& p) {
             p.setBrush(QColor(240, 220, 120));
             p.drawRect(1, 7, 18, 7);
             for (int x = 4; x < 18; x += 3) {
                 p.drawLine(x, 7, x, 10);
             }
         }},
        {"grid",
         [](QPainter& p) {
             for (int v = 3; v <= 17; v += 7) {
                 p.drawLine(v, 2, v, 18);
                 p.drawLine(2, v, 18, v);
             }
         }},
        {"lines",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1, Qt::DashLine));
             p.drawLine(2, 17, 17, 2);
             p.drawEllipse(QPoint(10, 10), 6, 6);
         }},
        {"fill",
         [](QPainter& p) {
             p.setBrush(QColor(200, 200, 200));
             p.drawRoundedRect(2, 5, 16, 10, 2, 2);
         }},
        {"fillex",
         [](QPainter& p) {
             p.setBrush(QColor(255, 152, 0));
             p.drawRoundedRect(2, 5, 16, 10, 2, 2);
         }},
        {"lanes",
         [](QPainter& p) {
             p.setPen(QPen(QColor(220, 40, 40), 2));
             p.drawLine(2, 7, 18, 7);
             p.setPen(QPen(QColor(30, 144, 255), 2));
             p.drawLine(2, 13, 18, 13);
         }},
        {"refs", [](QPainter& p) { Letters(p, "A1"); }},
        {"kerbs",
         [](QPainter& p) {
             for (int x = 2; x < 18; x += 4) {
                 p.fillRect(x, 7, 2, 6, QColor(220, 40, 40));
             }
             p.drawRect(2, 7, 16, 6);
         }},
        {"info", [](QPainter& p) { Letters(p, "i", 15); }},
        {"miHContents", [](QPainter& p) { Letters(p, "?", 15); }},
        {"design",
         [](QPainter& p) {
             p.setPen(QPen(QColor(90, 90, 96), 4));
             p.drawRoundedRect(3, 4, 14, 12, 5, 5);
         }},
        {"report",
         [](QPainter& p) {
             p.drawRect(3, 2, 14, 16);
             for (int y = 6; y <= 14; y += 4) {
                 p.drawLine(6, y, 14, y);
             }
         }},
        {"editor",
         [](QPainter& p) {
             p.setPen(QPen(QColor(90, 90, 96), 4));
             p.drawArc(QRect(2, 4, 22, 22), 90 * 16, 90 * 16);
         }},
    });
}

const std::map<std::string, Glyph>& Glyphs()
{
    static const std::map<std::string, Glyph> glyphs = [] {
        std::map<std::string, Glyph> g;
        FileGlyphs(g);
        ViewGlyphs(g);
        OptionGlyphs(g);
        return g;
    }();
    return glyphs;
}

} // namespace

void frmMain::DrawToolPictures(const std::string& folder)
{
    for (const char* band : {"tbr", "vbr"}) {
        cBarBand& b = abr.Band(band);
        for (int i = 0; i < b.ToolCount(); ++i) {
            cBarTool& tool = b.Tool(i);
            const auto glyph = Glyphs().find(tool.Name());
            if (glyph == Glyphs().end()) {
                continue;
            }
            QImage image(kSide, kSide, QImage::Format_ARGB32);
            image.fill(Qt::transparent);
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(kInk, 1.5));
            glyph->second(p);
            p.end();
            const std::string path = folder + "tool_" + tool.Name() + ".png";
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            if (image.save(&buffer, "PNG") &&
                NUX_STD_library::WriteNewFile(path, bytes.toStdString())) {
                tool.Picture(0, path);
            }
        }
    }
}
