// cRecordSurface: a drawing surface that draws nothing and writes one text line per drawing
// call instead, with every coordinate and length in four decimals and the drawing state that
// the call uses, so that a test can compare what was drawn with a golden file.
#pragma once

#include "foundation/cSurface.h"

#include <string>
#include <vector>

class cRecordSurface : public cSurface {
public:
    // What kind of surface is imitated.
    struct Options {
        // Size of the drawable area in device pixels.
        int width = 800;
        int height = 600;
        // A window has a client area of the drawable size; without one (a printer page) the
        // client size is 0 and pixel conversions are refused.
        bool window = true;
        // A device context for the pixel path calls.
        bool hasDC = true;
        // Resolution in pixels per inch (for the text measures and the scale units).
        double dpi = 96;
    };

    // A window surface of 800 by 600 pixels with a device context.
    cRecordSurface() : cRecordSurface(Options{}) {}
    // A surface as the options describe; the scale starts in twips, as a fresh picture box's.
    explicit cRecordSurface(const Options& options);

    // The sizes and capabilities the options give.
    int ClientWidth() const override { return options_.window ? options_.width : 0; }
    int ClientHeight() const override { return options_.window ? options_.height : 0; }
    bool HasDC() const override { return options_.hasDC; }
    int DeviceWidth() const override { return options_.width; }
    int DeviceHeight() const override { return options_.height; }
    double DeviceDpi() const override { return options_.dpi; }

    // Text measures in user units, signed as the scale is: each character (code point) is
    // half the font size wide and a line 1.25 times the font size high (in points, turned
    // into pixels by the resolution), so with a negative ScaleHeight the height is negative.
    double TextWidth(const std::string& text) override;
    double TextHeight(const std::string& text) override;

    // The lines recorded so far, oldest first.
    const std::vector<std::string>& Lines() const { return lines_; }
    // The recorded lines, each ended by a line feed (the form of a golden file).
    std::string Text() const;
    // Forgets the recorded lines.
    void Clear() { lines_.clear(); }

protected:
    void doCls() override;
    void doLine(double x1, double y1, double x2, double y2, std::int32_t color) override;
    void doBox(double x1, double y1, double x2, double y2, std::int32_t color,
               bool filled) override;
    void doCircle(double x, double y, double radius, std::int32_t color) override;
    void doArc(double x, double y, double radius, std::int32_t color, double start,
               double end) override;
    void doPSet(double x, double y, std::int32_t color) override;
    void doPrint(double x, double y, const std::string& text) override;
    void doBeginPath() override;
    void doMoveToEx(int x, int y) override;
    void doLineToPx(int x, int y) override;
    void doAngleArc(int x, int y, int radius, float start, float sweep) override;
    void doPolygon(const std::vector<cPixel>& points) override;
    void doEndPath() override;
    void doFlattenPath() override;
    void doStrokeAndFillPath() override;

private:
    // The pen of the call: colour, width and style.
    std::string pen(std::int32_t color) const;
    // The brush of the call: fill colour and style.
    std::string brush() const;

    Options options_;
    std::vector<std::string> lines_;
};
