// The recording drawing surface: every drawing call becomes one line of text, numbers in four
// decimals with "." as decimal sign, colours as hexadecimal colour values.
#include "foundation/cRecordSurface.h"

#include "foundation/cFixed.h"

#include <cstdio>

namespace {

// A coordinate, length or angle with four decimals.
std::string num(double v)
{
    return cFixed::fromDouble(v).str4();
}

// A colour value as "&H" and at least six hexadecimal digits (blue, green, red).
std::string hex(std::int32_t color)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "&H%06X", static_cast<unsigned>(color));
    return buf;
}

// A text in double quotes; quotes are doubled and line breaks written as \n and \r.
std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') {
            out += "\"\"";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// Number of characters (code points) of a UTF-8 text.
int codePoints(const std::string& text)
{
    int n = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80) {
            ++n;
        }
    }
    return n;
}

}  // namespace

cRecordSurface::cRecordSurface(const Options& options) : options_(options)
{
    ScaleMode(1);
}

double cRecordSurface::TextWidth(const std::string& text)
{
    if (options_.width <= 0) {
        return 0;
    }
    double px = codePoints(text) * FontSize() * 0.5 * options_.dpi / 72.0;
    return px * ScaleWidth() / options_.width;
}

double cRecordSurface::TextHeight(const std::string&)
{
    if (options_.height <= 0) {
        return 0;
    }
    double px = FontSize() * 1.25 * options_.dpi / 72.0;
    return px * ScaleHeight() / options_.height;
}

std::string cRecordSurface::Text() const
{
    std::string out;
    for (const auto& l : lines_) {
        out += l;
        out += '\n';
    }
    return out;
}

std::string cRecordSurface::pen(std::int32_t color) const
{
    return "color=" + hex(color) + " width=" + std::to_string(DrawWidth()) +
           " style=" + std::to_string(DrawStyle());
}

std::string cRecordSurface::brush() const
{
    return "fill=" + hex(FillColor()) + " fillstyle=" + std::to_string(FillStyle());
}

void cRecordSurface::doCls()
{
    lines_.push_back("Cls back=" + hex(BackColor()));
}

void cRecordSurface::doLine(double x1, double y1, double x2, double y2, std::int32_t color)
{
    lines_.push_back("Line " + num(x1) + " " + num(y1) + " " + num(x2) + " " + num(y2) + " " +
                     pen(color));
}

void cRecordSurface::doBox(double x1, double y1, double x2, double y2, std::int32_t color,
                           bool filled)
{
    std::string l = std::string(filled ? "BoxFilled " : "Box ") + num(x1) + " " + num(y1) +
                    " " + num(x2) + " " + num(y2) + " " + pen(color);
    if (!filled) {
        l += " " + brush();
    }
    lines_.push_back(l);
}

void cRecordSurface::doCircle(double x, double y, double radius, std::int32_t color)
{
    lines_.push_back("Circle " + num(x) + " " + num(y) + " r=" + num(radius) + " " + pen(color) +
                     " " + brush());
}

void cRecordSurface::doArc(double x, double y, double radius, std::int32_t color, double start,
                           double end)
{
    lines_.push_back("Arc " + num(x) + " " + num(y) + " r=" + num(radius) + " from=" +
                     num(start) + " to=" + num(end) + " " + pen(color));
}

void cRecordSurface::doPSet(double x, double y, std::int32_t color)
{
    lines_.push_back("PSet " + num(x) + " " + num(y) + " color=" + hex(color) +
                     " width=" + std::to_string(DrawWidth()));
}

void cRecordSurface::doPrint(double x, double y, const std::string& text)
{
    lines_.push_back("Print " + num(x) + " " + num(y) + " " + quoted(text) +
                     " color=" + hex(ForeColor()) + " font=" + quoted(FontName()) +
                     " size=" + num(FontSize()) + " bold=" + (FontBold() ? "1" : "0"));
}

void cRecordSurface::doBeginPath()
{
    lines_.push_back("BeginPath");
}

void cRecordSurface::doMoveToEx(int x, int y)
{
    lines_.push_back("MoveToEx " + std::to_string(x) + " " + std::to_string(y));
}

void cRecordSurface::doLineToPx(int x, int y)
{
    lines_.push_back("LineTo " + std::to_string(x) + " " + std::to_string(y));
}

void cRecordSurface::doAngleArc(int x, int y, int radius, float start, float sweep)
{
    lines_.push_back("AngleArc " + std::to_string(x) + " " + std::to_string(y) +
                     " r=" + std::to_string(radius) + " start=" + num(start) +
                     " sweep=" + num(sweep));
}

void cRecordSurface::doPolygon(const std::vector<cPixel>& points)
{
    std::string l = "Polygon";
    for (const auto& p : points) {
        l += " " + std::to_string(p.x) + "," + std::to_string(p.y);
    }
    lines_.push_back(l);
}

void cRecordSurface::doEndPath()
{
    lines_.push_back("EndPath");
}

void cRecordSurface::doFlattenPath()
{
    lines_.push_back("FlattenPath");
}

void cRecordSurface::doStrokeAndFillPath()
{
    lines_.push_back("StrokeAndFillPath " + pen(ForeColor()) + " " + brush());
}
