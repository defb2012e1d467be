// cCanvas: the developer's stand-alone drawing canvas over a surface. It keeps a view in world
// units (width and centre, y up), draws a labelled grid, the axes and its stored shapes, tells
// the world position of the mouse and offers one tool, a distance measure. No circuit on it.
#pragma once

#include "foundation/cFixed.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class cSurface;

// One stored shape: a kind ("circle" or "measure") and four parameters.
struct cCanvasShape {
    std::string kind;              // "circle": x, y, radius, colour; "measure": x1, y1, x2, y2
    std::array<double, 4> values{}; // the four parameters in the kind's order
};

class cCanvas {
  public:
    // Mouse pointer values the canvas asks of its picture.
    static constexpr int kDefaultPointer = 0;
    static constexpr int kCrosshair = 2;
    // Key code of Esc.
    static constexpr int kKeyEscape = 27;
    // The narrowest and widest view, in world units: those of the main canvas.
    static constexpr double kMinWidth = 25;
    static constexpr double kMaxWidth = 100000;

    // A new canvas, unbound, holding the two test circles.
    cCanvas();

    // Binds the surface to draw on (null unbinds); no redraw.
    void outdevice(cSurface* device);
    // The bound surface, or null.
    cSurface* Picture() const { return m_picture; }
    // Stores the back colour painted at every redraw; no redraw.
    void BackColor(std::int32_t color) { backColor_ = color; }
    // The back colour.
    std::int32_t BackColor() const { return backColor_; }
    // The view width in world units.
    cFixed Width() const { return cFixed::fromDouble(viewWidth_); }
    // Stores each given value (whole numbers, halves to even, within 32 bits; the width held
    // within kMinWidth to kMaxWidth), recomputes the view and redraws.
    void ViewPort(std::optional<double> width = std::nullopt,
                  std::optional<double> centerX = std::nullopt,
                  std::optional<double> centerY = std::nullopt);
    // The centre of the view.
    std::int32_t CenterX() const { return centerX_; }
    // The centre of the view.
    std::int32_t CenterY() const { return centerY_; }
    // Label font name, size and colour of the grid; no redraw.
    void GridFont(const std::string& name, std::int16_t size, std::int32_t color);
    // The label font name.
    const std::string& LabelFont() const { return labelFont_; }
    // The label font size.
    float LabelSize() const { return labelSize_; }
    // The label colour.
    std::int32_t LabelColor() const { return labelColor_; }
    // Sets the tool ("measure" is the only one, compared with case); raises ActionChange first.
    void Action(const std::string& name);
    // The tool name.
    const std::string& Action() const { return action_; }

    // The view height in world units, derived from the width and the picture's proportions.
    std::int32_t ViewHeight() const { return viewHeight_; }
    // The picture's width over its height, four decimals.
    cFixed Aspect() const { return aspect_; }
    // The visible rectangle in world units.
    cFixed Left() const { return left_; }
    // The visible rectangle in world units.
    cFixed Right() const { return right_; }
    // The visible rectangle in world units.
    cFixed Top() const { return top_; }
    // The visible rectangle in world units.
    cFixed Bottom() const { return bottom_; }
    // The stored shapes; entry 0 is always empty and never drawn.
    const std::vector<cCanvasShape>& Shapes() const { return shapes_; }
    // The mouse pointer last asked of the picture (kDefaultPointer or kCrosshair).
    int MousePointer() const { return mousePointer_; }
    // The last mouse position in world units.
    cFixed MouseX() const { return mouseX_; }
    // The last mouse position in world units.
    cFixed MouseY() const { return mouseY_; }
    // Clicks of the measure tool so far (0 or 1).
    int MeasureClicks() const { return measureClicks_; }

    // The grid step for a view width.
    static std::int32_t GridStep(double viewWidth);
    // The mouse position text: x and y as whole numbers separated by " : ".
    static std::string PositionText(double x, double y);

    // Recomputes the view rectangle from the width, the centre and the picture's proportions.
    void CalcViewRect();
    // Paints the whole picture: background, grid, axes and stored shapes.
    void Redraw();

    // The picture's events, in world units.
    void pic_MouseDown(double x, double y);
    // The picture's events, in world units.
    void pic_MouseMove(double x, double y);
    // Key released over the picture.
    void pic_KeyUp(int keyCode);
    // The picture changed its size.
    void pic_Resize();

    // Raised at every mouse move: world position and its text.
    std::function<void(cFixed x, cFixed y, const std::string& text)> MousePosition;
    // Raised before a new tool name is stored: previous and new name.
    std::function<void(const std::string& previous, const std::string& next)> ActionChange;
    // Asked to show a mouse pointer on the picture (kDefaultPointer or kCrosshair).
    std::function<void(int pointer)> SetMousePointer;

  private:
    void DrawGrid();
    void DrawShape(const cCanvasShape& shape);
    void DrawMeasure(cFixed x1, cFixed y1, cFixed x2, cFixed y2, bool final);
    void Pointer(int pointer);

    cSurface* m_picture = nullptr;
    std::int32_t backColor_ = 0;
    bool gridOn_ = true;
    std::int32_t gridColor_;
    std::int32_t labelColor_;
    std::string labelFont_ = "Tahoma";
    float labelSize_ = 6;
    bool axesOn_ = true;
    std::int32_t xAxisColor_;
    std::int32_t yAxisColor_;
    cFixed aspect_;
    std::int32_t viewWidth_ = 2000;
    std::int32_t viewHeight_ = 0;
    std::int32_t centerX_ = 0;
    std::int32_t centerY_ = 0;
    cFixed left_, right_, top_, bottom_;
    int measureClicks_ = 0;
    cFixed measureX_, measureY_;
    std::vector<cCanvasShape> shapes_;
    std::string action_;
    cFixed mouseX_, mouseY_;
    int mousePointer_ = kDefaultPointer;
};
