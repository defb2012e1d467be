// cSurface: a drawing surface in the manner of a picture box or a printer page. It holds the
// drawing state once (pen, colours, fill, font, current position, user scale with y up) and
// leaves only the primitives to the implementations: a Qt one for the canvas, images and the
// printer, and a recording one for tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A point in device pixels.
struct cPixel {
    int x = 0;
    int y = 0;
};

class cSurface {
public:
    virtual ~cSurface() = default;

    // Pen width in pixels (at least 1).
    int DrawWidth() const { return drawWidth_; }
    void DrawWidth(int w);
    // Pen style: 0 solid, 1 dashed, 2 dotted, 3 dash-dot, 4 dash-dot-dot, 5 invisible.
    int DrawStyle() const { return drawStyle_; }
    void DrawStyle(int s) { drawStyle_ = s; }
    // Pen and text colour (red in the low byte).
    std::int32_t ForeColor() const { return foreColor_; }
    void ForeColor(std::int32_t c) { foreColor_ = c; }
    // Background colour, used by Cls.
    std::int32_t BackColor() const { return backColor_; }
    void BackColor(std::int32_t c) { backColor_ = c; }
    // Brush colour of filled shapes.
    std::int32_t FillColor() const { return fillColor_; }
    void FillColor(std::int32_t c) { fillColor_ = c; }
    // Brush style: 0 solid, 1 transparent (the default).
    int FillStyle() const { return fillStyle_; }
    void FillStyle(int s) { fillStyle_ = s; }
    // Font size in points, boldness and face name.
    double FontSize() const { return fontSize_; }
    void FontSize(double s) { fontSize_ = s; }
    bool FontBold() const { return fontBold_; }
    void FontBold(bool b) { fontBold_ = b; }
    const std::string& FontName() const { return fontName_; }
    void FontName(const std::string& n) { fontName_ = n; }
    // Current drawing position in user units.
    double CurrentX() const { return currentX_; }
    void CurrentX(double x) { currentX_ = x; }
    double CurrentY() const { return currentY_; }
    void CurrentY(double y) { currentY_ = y; }

    // The user scale: the visible window's left and top edges and its width and height in
    // user units (a negative height turns y up).
    float ScaleLeft() const { return scaleLeft_; }
    float ScaleTop() const { return scaleTop_; }
    float ScaleWidth() const { return scaleWidth_; }
    float ScaleHeight() const { return scaleHeight_; }
    void ScaleLeft(float v) { scaleLeft_ = v; }
    void ScaleTop(float v) { scaleTop_ = v; }
    void ScaleWidth(float v) { scaleWidth_ = v; }
    void ScaleHeight(float v) { scaleHeight_ = v; }
    // Sets the user scale so that (x1, y1) is the top-left and (x2, y2) the bottom-right corner.
    void Scale(double x1, double y1, double x2, double y2);

    // Size of the client area in device pixels; 0 for a surface without a window (the
    // printer), on which pixel conversions are refused.
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    // True when the surface offers a device context for the pixel path calls.
    virtual bool HasDC() const = 0;

    // Clears the surface to the background colour; the position goes to the top-left corner.
    void Cls();
    // A segment in a colour; the current position moves to its end.
    void Line(double x1, double y1, double x2, double y2, std::int32_t color);
    // A segment from the current position; the current position moves to its end.
    void LineTo(double x2, double y2, std::int32_t color);
    // A rectangle outline, or a filled rectangle in the given colour.
    void Box(double x1, double y1, double x2, double y2, std::int32_t color, bool filled);
    // A full circle outlined in the colour and filled with FillColor under FillStyle 0.
    void Circle(double x, double y, double radius, std::int32_t color);
    // An arc drawn counter-clockwise from start to end (radians).
    void Arc(double x, double y, double radius, std::int32_t color, double start, double end);
    // A dot of the current pen width.
    void PSet(double x, double y, std::int32_t color);
    // Prints text at the current position in the fore colour. With newLine the position goes
    // to the next line at the left edge, otherwise it moves right by the text's width.
    void Print(const std::string& text, bool newLine = true);
    // Width and height of a text in user units with the current font.
    virtual double TextWidth(const std::string& text) = 0;
    virtual double TextHeight(const std::string& text) = 0;

    // Device-pixel path calls for filled shapes (only where HasDC is true): a path is begun,
    // built from moves, lines, angle arcs and polygons, ended, flattened and then filled with
    // the brush and stroked with the pen.
    virtual void BeginPath() = 0;
    virtual void MoveToEx(int x, int y) = 0;
    virtual void LineToPx(int x, int y) = 0;
    // An arc about (x, y) of the given radius from start sweeping sweep degrees (positive is
    // counter-clockwise on the screen); a line joins the current point to the arc's start.
    virtual void AngleArc(int x, int y, int radius, float start, float sweep) = 0;
    // A closed polygon as its own figure.
    virtual void Polygon(const std::vector<cPixel>& points) = 0;
    virtual void EndPath() = 0;
    virtual void FlattenPath() = 0;
    virtual void StrokeAndFillPath() = 0;

protected:
    // The primitives, in user units; the drawing state is read through the getters above.
    virtual void doCls() = 0;
    virtual void doLine(double x1, double y1, double x2, double y2, std::int32_t color) = 0;
    virtual void doBox(double x1, double y1, double x2, double y2, std::int32_t color,
                       bool filled) = 0;
    virtual void doCircle(double x, double y, double radius, std::int32_t color) = 0;
    virtual void doArc(double x, double y, double radius, std::int32_t color, double start,
                       double end) = 0;
    virtual void doPSet(double x, double y, std::int32_t color) = 0;
    virtual void doPrint(double x, double y, const std::string& text) = 0;

private:
    int drawWidth_ = 1;
    int drawStyle_ = 0;
    std::int32_t foreColor_ = 0;
    std::int32_t backColor_ = 0xFFFFFF;
    std::int32_t fillColor_ = 0;
    int fillStyle_ = 1;
    double fontSize_ = 8.25;
    bool fontBold_ = false;
    std::string fontName_ = "Sans Serif";
    double currentX_ = 0;
    double currentY_ = 0;
    float scaleLeft_ = 0;
    float scaleTop_ = 0;
    float scaleWidth_ = 1;
    float scaleHeight_ = 1;
};
