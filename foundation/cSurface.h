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
    // Pen style: 0 solid, 1 dashed, 2 dotted, 3 dash-dot, 4 dash-dot-dot, 5 invisible,
    // 6 inside solid (drawn solid). Dashes and dots are drawn only by a one-pixel pen.
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
    // Brush style of circles, box outlines and filled paths: 0 solid, 1 transparent (the
    // default), 2 horizontal lines, 3 vertical lines, 4 upward diagonal, 5 downward diagonal,
    // 6 cross, 7 diagonal cross.
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
    // Setting one of the four makes the scale a user scale (ScaleMode 0).
    void ScaleLeft(float v);
    void ScaleTop(float v);
    void ScaleWidth(float v);
    void ScaleHeight(float v);
    // Sets the user scale so that (x1, y1) is the top-left and (x2, y2) the bottom-right corner.
    void Scale(double x1, double y1, double x2, double y2);
    // The unit of the scale: 0 user, 1 twips, 2 points, 3 pixels, 4 characters, 5 inches,
    // 6 millimetres, 7 centimetres. Setting 1 to 7 puts the origin at the top-left corner of
    // the drawable area with y down, so ScaleWidth and ScaleHeight give its size in that unit;
    // setting 0 keeps the scale; any other value raises error 380.
    int ScaleMode() const { return scaleMode_; }
    void ScaleMode(int mode);

    // Size of the client area in device pixels; 0 for a surface without a window (the
    // printer), on which pixel conversions are refused.
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    // True when the surface offers a device context for the pixel path calls.
    virtual bool HasDC() const = 0;
    // Size of the drawable area in device pixels (the client area, or the printable area of
    // a printer page) and the device's resolution in pixels per inch.
    virtual int DeviceWidth() const = 0;
    virtual int DeviceHeight() const = 0;
    virtual double DeviceDpi() const = 0;

    // Clears the surface to the background colour; the position goes to the top-left corner.
    void Cls();
    // A segment in a colour; the current position moves to its end.
    void Line(double x1, double y1, double x2, double y2, std::int32_t color);
    // A segment from the current position; the current position moves to its end.
    void LineTo(double x2, double y2, std::int32_t color);
    // A rectangle outline in the colour with its inside filled by FillColor under FillStyle
    // (nothing under the default transparent style), or with filled a rectangle filled in the
    // colour itself.
    void Box(double x1, double y1, double x2, double y2, std::int32_t color, bool filled);
    // A full circle outlined in the colour and filled with FillColor under FillStyle.
    void Circle(double x, double y, double radius, std::int32_t color);
    // An arc drawn counter-clockwise in user coordinates from start to end (radians); equal
    // angles give the full circle.
    void Arc(double x, double y, double radius, std::int32_t color, double start, double end);
    // A dot of the current pen width.
    void PSet(double x, double y, std::int32_t color);
    // Prints text at the current position in the fore colour. With newLine the position goes
    // to the next line at the left edge, otherwise it moves right by the text's width.
    void Print(const std::string& text, bool newLine = true);
    // Width and height of a text in user units with the current font.
    virtual double TextWidth(const std::string& text) = 0;
    virtual double TextHeight(const std::string& text) = 0;

    // Device-pixel path calls for filled shapes: a path is begun, built from moves, lines,
    // angle arcs and polygons, ended, flattened and then filled with the brush and stroked
    // with the pen; open figures are closed when the path is filled. Outside a path, lines,
    // arcs and polygons are drawn at once. On a surface without a device context (HasDC
    // false) every one of them raises error 438.
    void BeginPath();
    // Moves the current point, starting a new figure.
    void MoveToEx(int x, int y);
    // A line from the current point; the current point moves to its end.
    void LineToPx(int x, int y);
    // An arc about (x, y) of the given radius from start sweeping sweep degrees (positive is
    // counter-clockwise on the screen); a line joins the current point to the arc's start and
    // the current point moves to the arc's end. A negative radius draws nothing.
    void AngleArc(int x, int y, int radius, float start, float sweep);
    // A closed polygon as its own figure; the current point does not move. Fewer than two
    // points draw nothing.
    void Polygon(const std::vector<cPixel>& points);
    // Ends the path begun by BeginPath.
    void EndPath();
    // Turns the path's curves into line segments.
    void FlattenPath();
    // Fills the ended path with the brush (FillColor, FillStyle) and strokes it with the pen
    // (ForeColor, DrawWidth, DrawStyle), then discards it; without an ended path it does
    // nothing.
    void StrokeAndFillPath();

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
    // The path primitives, in device pixels; called only where HasDC is true.
    virtual void doBeginPath() = 0;
    virtual void doMoveToEx(int x, int y) = 0;
    virtual void doLineToPx(int x, int y) = 0;
    virtual void doAngleArc(int x, int y, int radius, float start, float sweep) = 0;
    virtual void doPolygon(const std::vector<cPixel>& points) = 0;
    virtual void doEndPath() = 0;
    virtual void doFlattenPath() = 0;
    virtual void doStrokeAndFillPath() = 0;

private:
    // Raises error 438 when the surface has no device context.
    void needDC(const char* call) const;

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
    int scaleMode_ = 0;
};
