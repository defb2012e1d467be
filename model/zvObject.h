// zvObject: one annotation object of a circuit: a line (polyline), a text, a measure (a
// dimension line labelled with its length) or a room (a hatched floor area). It draws itself
// on the main canvas and the printer page, writes its element of the circuit file, and gives
// its extent and the hit test on the grips of its last drawing on the canvas.
#pragma once

#include "foundation/NUX_STD_encoding.h"
#include "foundation/cFixed.h"
#include "model/zvItem.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class cSurface;

class zvObject {
  public:
    // An object without class, points or text; numbers and colours 0.
    zvObject() = default;

    // Identifier, the attribute "id" of the element; kept as UTF-8 like the text.
    const std::string& ID() const { return ID_; }
    void ID(const std::string& v) { ID_ = NUX_STD_library::TextFromBytes(v); }
    // The text of a text object, the content of its element; kept as UTF-8 (bytes that are
    // not are read as Windows-1252).
    const std::string& Text() const { return Text_; }
    void Text(const std::string& v) { Text_ = NUX_STD_library::TextFromBytes(v); }

    // Draws the object on the main canvas and rebuilds its grips there; error 91 without one.
    void Draw();
    // Draws the object on the printer page; error 91 outside a print job. The grips stay.
    void Printout();

    // Line and text colour.
    std::int32_t Color() const { return Color_; }
    void Color(std::int32_t v) { Color_ = v; }
    // Draw style of a measure's line (0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot,
    // 5 invisible, 6 inside solid).
    std::int32_t Style() const { return Style_; }
    void Style(std::int32_t v) { Style_ = v; }
    // Hatch colour of a room; a measure takes the measure colour here at every drawing.
    std::int32_t fillColor() const { return fillColor_; }
    void fillColor(std::int32_t v) { fillColor_ = v; }
    // "line", "text", "measure", "room" or any other text (which draws nothing). Setting it
    // stores the text lower-cased without blanks around it and applies the class's defaults.
    const std::string& Class() const { return Class_; }
    void Class(const std::string& v);
    // Pen width in pixels of a line or room, font size in points of a text. Setting it raises
    // a text's size to at least 8 and that of a line, room or measure to at least 1.
    std::int32_t Size() const { return Size_; }
    void Size(std::int32_t v);

    // The points as "x:y" joined by ";", each coordinate rounded to a whole number (halves to
    // even). Setting reads that form with "." or "," as decimal sign; an empty text (error 5),
    // an empty point or one without ":" (error 9), or a coordinate that is no number (error
    // 13) is refused and leaves the points as they were.
    std::string Points() const;
    void Points(const std::string& text);
    // The points from a flat list x0, y0, x1, y1, ...; a trailing odd value is ignored.
    void PointArr(const std::vector<cFixed>& values);

    // The object's element of the circuit file, one line without its line end.
    std::string XML() const;
    // Least x, least y, greatest x, greatest y of the points; none for an object without
    // points, which the circuit leaves out of its extent.
    std::optional<std::array<cFixed, 4>> GetExtent() const;
    // True when the circuit point (x, y) falls on a grip of the object's last drawing on the
    // main canvas; false before the first one. Error 91 when the canvas has gone since.
    bool isThis(cFixed x, cFixed y) const;

  private:
    // A grip in device pixels of the main canvas: left and top inside, right and bottom not.
    struct Grip {
        std::int64_t left = 0;
        std::int64_t top = 0;
        std::int64_t right = 0;
        std::int64_t bottom = 0;
    };

    // Draws by class on the canvas or the printer; on the canvas the grips follow.
    void DrawOn(cSurface& device, bool onCanvas);
    void drawLine(cSurface& device);
    void drawRoom(cSurface& device, bool onCanvas);
    void drawMeasure(cSurface& device);
    void drawMeasureLabel(cSurface& device);
    void drawText(cSurface& device);
    // A segment from each point to the next, and from the last to the first when closed.
    void drawSegments(cSurface& device, std::int32_t color, bool closed) const;
    // One grip per point, from the canvas's current view, each drawn as it is made.
    void BuildGrips(cSurface& canvas);
    // The grip's square in the selection colour.
    static void DrawGrip(cSurface& canvas, const Grip& grip);

    std::string ID_;
    std::string Text_;
    std::string Class_;
    std::vector<zvPoint> points_;
    std::int32_t Color_ = 0;
    std::int32_t fillColor_ = 0;
    std::int32_t Size_ = 0;
    std::int32_t Style_ = 0;
    bool filled_ = false;
    std::vector<Grip> grips_;
};
