// A drawing surface for the tests: it draws nothing and writes one text line per primitive
// (with the pen width and colour in force), every number with four decimals.
#pragma once

#include "foundation/cFixed.h"
#include "foundation/cSurface.h"

#include <cstdio>
#include <string>
#include <vector>

class RecordSurface : public cSurface {
public:
    // The lines recorded so far.
    std::vector<std::string> calls;

    int ClientWidth() const override { return 800; }
    int ClientHeight() const override { return 600; }
    bool HasDC() const override { return false; }
    double TextWidth(const std::string& text) override { return 2.0 * text.size(); }
    double TextHeight(const std::string&) override { return 4; }
    void BeginPath() override {}
    void MoveToEx(int, int) override {}
    void LineToPx(int, int) override {}
    void AngleArc(int, int, int, float, float) override {}
    void Polygon(const std::vector<cPixel>&) override {}
    void EndPath() override {}
    void FlattenPath() override {}
    void StrokeAndFillPath() override {}

    // All recorded lines joined, each ended by a line feed.
    std::string text() const
    {
        std::string out;
        for (const auto& c : calls) {
            out += c + "\n";
        }
        return out;
    }

protected:
    void doCls() override { calls.push_back("Cls"); }
    void doLine(double x1, double y1, double x2, double y2, std::int32_t color) override
    {
        add("Line", {x1, y1, x2, y2}, color);
    }
    void doBox(double x1, double y1, double x2, double y2, std::int32_t color, bool) override
    {
        add("Box", {x1, y1, x2, y2}, color);
    }
    void doCircle(double x, double y, double r, std::int32_t color) override
    {
        add("Circle", {x, y, r}, color);
    }
    void doArc(double x, double y, double r, std::int32_t color, double s, double e) override
    {
        add("Arc", {x, y, r, s, e}, color);
    }
    void doPSet(double x, double y, std::int32_t color) override { add("PSet", {x, y}, color); }
    void doPrint(double x, double y, const std::string& text) override
    {
        add("Print", {x, y}, ForeColor(), " \"" + text + "\"");
    }

private:
    void add(const char* what, std::initializer_list<double> values, std::int32_t color,
             const std::string& tail = "")
    {
        std::string line = what;
        for (double v : values) {
            line += " " + cFixed::fromDouble(v).str4();
        }
        char buf[32];
        std::snprintf(buf, sizeof buf, " #%06X w%d", static_cast<unsigned>(color), DrawWidth());
        calls.push_back(line + buf + tail);
    }
};
