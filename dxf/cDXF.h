// cDXF: the background drawing a circuit may carry, read from an ASCII DXF file. It keeps the
// file's bytes, one table of fixed-size records per entity kind (coordinates in hundredths of
// a drawing unit), the layers with their colours and the drawing's extent, and draws itself on
// the main canvas at its scale factor and offsets. It travels in the circuit file as Base64.
#pragma once

#include "dxf/cDXFTable.h"
#include "foundation/cFixed.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class cSurface;

// An arc: centre, radius and angles in radians, running counter-clockwise from start to end;
// sweep is how far it turns, worked out from the angles as the file gives them.
struct DXFArcRecord {
    std::int32_t layer = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t radius = 0;
    float startAngle = 0;
    float endAngle = 0;
    float sweep = 0;
};

// A full circle.
struct DXFCircleRecord {
    std::int32_t layer = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t radius = 0;
};

// A straight segment.
struct DXFLineRecord {
    std::int32_t layer = 0;
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;
    std::int32_t x2 = 0;
    std::int32_t y2 = 0;
};

// A single point.
struct DXFPointRecord {
    std::int32_t layer = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// One vertex of a polyline; bulge is the tangent of a quarter of the included angle of the
// segment that starts here (0 for a straight segment).
struct DXFVertexRecord {
    std::int32_t layer = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    float bulge = 0;
};

// A polyline: the vertices firstVertex to lastVertex of the vertex table; closed is -1 or 0.
struct DXFPolylineRecord {
    std::int32_t layer = 0;
    std::int16_t closed = 0;
    std::int32_t firstVertex = 0;
    std::int32_t lastVertex = -1;
};

// A text at its insertion point; the text itself lies in the drawing's text pool.
struct DXFTextRecord {
    std::int32_t layer = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint32_t textOffset = 0;
    std::uint32_t textLength = 0;
};

// A 3DFACE or SOLID: corners 0 to lastCorner (2 or 3), kept in outline order.
struct DXFFaceRecord {
    std::int32_t layer = 0;
    std::int16_t lastCorner = 0;
    bool solid = false;
    std::array<std::int32_t, 4> x{};
    std::array<std::int32_t, 4> y{};
};

// One layer: name, colour (red in the low byte), visibility and line width in pixels.
struct DXFLayerRecord {
    std::string name;
    std::int32_t color = 0;
    bool visible = true;
    int lineWidth = 1;
};

// The drawing's bounding box in hundredths; an empty range reads as 0 to 0.
struct DXFExtent {
    std::int32_t xmin = 0;
    std::int32_t ymin = 0;
    std::int32_t xmax = 0;
    std::int32_t ymax = 0;
    bool hasX = false;
    bool hasY = false;
};

class cDXF {
  public:
    // Largest drawing read, in bytes, unless MaxDrawingBytes is set otherwise.
    static constexpr std::size_t kMaxDrawingBytes = std::size_t(512) << 20;
    // Most layers a drawing may name; reading stops with a diagnostic beyond.
    static constexpr std::int32_t kMaxLayers = 65536;
    // Largest coordinate or radius magnitude in hundredths; entities beyond are dropped.
    static constexpr std::int32_t kMaxCoord = 1000000000;
    // Largest bulge magnitude; a polyline with a larger one is dropped.
    static constexpr double kMaxBulge = 1e6;
    // Most diagnostics kept from one load; one last line says that more were left out.
    static constexpr std::size_t kMaxDiagnostics = 100;
    // The program's value of pi and of two pi.
    static constexpr double kPi = 3.14159265358979;
    static constexpr double k2Pi = 6.28318530717958;

    // The largest drawing read, in bytes (kMaxDrawingBytes until set; tests set a small one).
    static std::size_t MaxDrawingBytes() { return maxDrawingBytes_; }
    static void MaxDrawingBytes(std::size_t bytes) { maxDrawingBytes_ = bytes; }

    // An empty drawing: no entities, the sixteen preset layers, scale factor 100.
    cDXF();
    // A drawing is held in one place (its bytes are viewed where they lie): never copied.
    cDXF(const cDXF&) = delete;
    cDXF& operator=(const cDXF&) = delete;

    // Reads the DXF file at path into memory, keeps its bytes (saved again as they were read,
    // whatever becomes of the file), sets FileName and fits the scale; true when it was read.
    // A drawing larger than MaxDrawingBytes gives false, with a diagnostic and nothing
    // loaded. A file that cannot be opened raises cError with the cause's number (53, 70, 76;
    // 75 for a named pipe, a device, a folder or a file the system makes up as it is read,
    // refused at once), one that cannot be read cError 57.
    bool fileLoad(const std::string& path);
    // Reads a drawing from its bytes (FileName stays empty) and fits the scale. Bytes beyond
    // MaxDrawingBytes are not read but kept, with a diagnostic, and given back by FileStream.
    void LoadBytes(std::string bytes);
    // The name the drawing is known by: the path of the DXF file it was loaded from, or the
    // name a circuit file keeps for it (set after loading; a load starts it empty).
    const std::string& FileName() const { return fileName_; }
    void FileName(std::string name) { fileName_ = std::move(name); }
    // Takes the drawing as Base64 text (characters outside the alphabet are passed over),
    // decodes it and loads it from memory (LoadBytes); no file is written and FileName stays
    // empty. A text that holds no drawing bytes (empty, nothing but blanks and line ends, or
    // the Base64 of nothing such as "==") leaves the drawing empty, with no diagnostic.
    // Raises cError 9 when some other text holds no Base64 at all.
    void FileStream(std::string text);
    // The loaded drawing's bytes in Base64, as they were loaded; empty when nothing was.
    std::string FileStream() const;
    // Whether drawing bytes are held (read, or kept because too large to read); without them
    // there is nothing to show and no extent, only a name and a placement to keep.
    bool HasDrawing() const { return !bytes_.empty(); }
    // Circuit units per hundredth of a drawing unit; 0 is stored as 0.0001.
    cFixed scaleFactor() const { return scale_; }
    void scaleFactor(cFixed v);
    // Horizontal shift on the canvas in circuit units (added to x).
    cFixed OffsetX() const { return offsetX_; }
    void OffsetX(cFixed v) { offsetX_ = v; }
    // Vertical shift in circuit units (subtracted from y); setting it draws the drawing at
    // once when the main canvas exists.
    cFixed OffsetY() const { return offsetY_; }
    void OffsetY(cFixed v);
    // The bounding box on the canvas: xmin, ymin, xmax, ymax in circuit units.
    std::array<cFixed, 4> GetExtent() const;
    // Draws every visible entity on the main canvas (error 91 when there is none).
    void Draw();
    // Draws the polyline of the given index, made of the vertices first to last.
    void DrawPolyLine2D(std::int32_t first, std::int32_t last, std::int32_t index);

    // Turns the segment (x1, y1)-(x2, y2) with a bulge into an arc: centre offsets from
    // (x1, y1), radius, and start and end angles running counter-clockwise. Returns false and
    // writes nothing when the bulge is 0 or the arc lies beyond the coordinate range; such a
    // segment is read and drawn as a straight one when its bulge is at most 1 (a half turn),
    // and leaves its polyline out when it is larger.
    static bool BulgeToArc(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                           float bulge, std::int32_t& centreDx, std::int32_t& centreDy,
                           std::int32_t& radius, float& startAngle, float& endAngle);
    // How far an arc turns counter-clockwise from its start angle to its end angle, both in
    // degrees as the file gives them, in radians: above 0 and at most a whole turn (k2Pi).
    // Equal angles, or angles a whole number of turns apart, make a whole circle; any other
    // pair sweeps its true angle, however small.
    static double ArcSweep(double startDegrees, double endDegrees);
    // How far the arc of a bulged segment turns, in radians: above 0 and below a whole turn.
    static double BulgeSweep(float bulge);
    // Adds to the extent the points due north, west, south and east of the centre that lie
    // strictly inside the arc that turns sweep radians from its start angle (at most a turn).
    void ArcExtent(std::int32_t x, std::int32_t y, std::int32_t radius, float startAngle,
                   double sweep);

    // The entity tables, in file order.
    const DXFTable<DXFArcRecord>& Arcs() const { return arcs_; }
    const DXFTable<DXFCircleRecord>& Circles() const { return circles_; }
    const DXFTable<DXFLineRecord>& Lines() const { return lines_; }
    const DXFTable<DXFPointRecord>& Points() const { return points_; }
    const DXFTable<DXFVertexRecord>& Vertices() const { return vertices_; }
    const DXFTable<DXFPolylineRecord>& Polylines() const { return polylines_; }
    const DXFTable<DXFTextRecord>& Texts() const { return texts_; }
    const DXFTable<DXFFaceRecord>& Faces() const { return faces_; }
    // The text of a TEXT record, in UTF-8.
    std::string_view TextOf(const DXFTextRecord& r) const;
    // The layer table: at least the sixteen preset rows; LayerCount of them are in use.
    const std::vector<DXFLayerRecord>& Layers() const { return layers_; }
    // The number of layers named by the drawing.
    std::int32_t LayerCount() const { return layerCount_; }
    // The drawing's own extent in hundredths.
    const DXFExtent& Extent() const { return extent_; }
    // What went wrong or was left out while reading, for the caller to show once.
    const std::vector<std::string>& Diagnostics() const { return diagnostics_; }
    // How many problems the load met, those beyond the kept diagnostics included.
    std::size_t DiagnosticCount() const { return diagnosticCount_; }
    // Whether the diagnostics of this load have been shown to the user; set by who shows them.
    bool DiagnosticsShown() const { return diagnosticsShown_; }
    void DiagnosticsShown(bool shown) { diagnosticsShown_ = shown; }
    // The drawing as one JSON object: counts per entity name, layers, extent in drawing
    // units, scale, offsets and diagnostics.
    std::string Describe() const;
    // Bytes held by the tables, the text pool and the layers (not the kept file bytes).
    std::size_t TableBytes() const;

  private:
    // Hashes texts and text views alike, so layer lookups need no temporary string.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const
        {
            return std::hash<std::string_view>{}(s);
        }
    };

    // The reading cursor over the kept bytes and the pair last read.
    struct Cursor {
        const char* data = nullptr;
        std::size_t size = 0;
        std::size_t pos = 0;
        std::int64_t line = 0;
        int code = 0;
        std::string_view value;
        bool stopped = false;
        bool sawEOF = false;
    };

    void Reset();
    bool ReadFile(const std::string& path);
    void ReadBytes();
    void FitScale();
    void Diagnose(std::string message);
    void ExtendExtent(std::int32_t x, std::int32_t y);
    void ExtendX(std::int32_t x);
    void ExtendY(std::int32_t y);

    // Reading and the entity readers (cDXF_reader.cpp).
    void ReadDrawing();
    void FitTables();
    bool NextLine(std::string_view& line);
    bool ReadPair();
    bool QuickPair();
    bool IsPair(int code, std::string_view value) const;
    void SkipSection();
    void SkipEntity();
    void ReadEntities();
    template <typename Store> bool ReadFields(Store store);
    template <typename T> void Keep(DXFTable<T>& table, const T& record);
    template <typename T> static void Fit(DXFTable<T>& table);
    void DropEntity(const char* kind, std::int64_t line);
    // The end of one entity's record: false (and nothing to store) when its fields ran out,
    // when a value was unusable (the entity is dropped with a diagnostic) or when its layer
    // cannot be resolved; otherwise the layer index is set and the entity is kept.
    bool KeepEntity(bool complete, bool ok, const char* kind, std::int64_t line,
                    std::string_view layer, std::int32_t& index);
    bool LayerIndex(std::string_view raw, std::int32_t& index);
    bool ResolveLayer(std::string_view raw, std::int32_t& index);

    // One reader per entity kind; each returns with the pair that ended its entity current.
    void ReadArc();
    void ReadCircle();
    void ReadFace(bool solid);
    void ReadPoint();
    void ReadText();
    bool ReadVertex(bool keep, bool& bad);
    void ReadPolyline();
    void ReadLine();
    void CommitPolyline(DXFPolylineRecord& rec, bool bad, int flags, std::int64_t line);
    // Adds a polyline's vertices and arcs to the extent; false when a segment's bulge turns
    // more than a half circle on a circle beyond the coordinate range (the polyline is left out).
    bool PolylineExtent(const DXFPolylineRecord& rec);
    bool SegmentExtent(const DXFVertexRecord& a, const DXFVertexRecord& b);

    // Value conversions (cDXF_values.cpp).
    static bool ValueNumber(std::string_view value, double& out);
    static bool ScaledCoord(std::string_view value, std::int32_t& out);
    // An angle in degrees as the records hold it: radians in single precision, 0 to 2 pi.
    static float HeldAngle(double degrees);
    static void ValueText(std::string_view raw, std::string& out);

    // Drawing (cDXF_draw.cpp).
    cFixed MapX(std::int32_t x) const;
    cFixed MapY(std::int32_t y) const;
    cFixed MapLength(std::int32_t r) const;
    bool UseLayer(cSurface& pic, std::int32_t layer);
    void DrawArc(cSurface& pic, std::int32_t x, std::int32_t y, std::int32_t r, float start,
                 double sweep, std::int32_t color);
    void DrawCircle(cSurface& pic, std::int32_t x, std::int32_t y, std::int32_t r,
                    std::int32_t color);
    void DrawLine(cSurface& pic, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                  std::int32_t color);
    void DrawPoint(cSurface& pic, std::int32_t x, std::int32_t y, std::int32_t color);
    void DrawSegment(cSurface& pic, const DXFVertexRecord& a, const DXFVertexRecord& b,
                     std::int32_t color);
    void DrawFace(cSurface& pic, const DXFFaceRecord& f, std::int32_t color);
    std::int32_t LayerColor(std::int32_t layer) const;

    static inline std::size_t maxDrawingBytes_ = kMaxDrawingBytes;

    std::string fileName_;
    // The drawing's bytes as they were loaded: a text handed in or a small file read
    // (owned_), or a large file read into a buffer of its size (held_); reading and saving
    // both work on them where they lie.
    std::string owned_;
    std::shared_ptr<const char> held_;
    std::string_view bytes_;
    cFixed scale_;
    cFixed offsetX_;
    cFixed offsetY_;

    DXFTable<DXFArcRecord> arcs_;
    DXFTable<DXFCircleRecord> circles_;
    DXFTable<DXFLineRecord> lines_;
    DXFTable<DXFPointRecord> points_;
    DXFTable<DXFVertexRecord> vertices_;
    DXFTable<DXFPolylineRecord> polylines_;
    DXFTable<DXFTextRecord> texts_;
    DXFTable<DXFFaceRecord> faces_;
    std::string textPool_;

    std::vector<DXFLayerRecord> layers_;
    std::int32_t layerCount_ = 0;
    std::unordered_map<std::string, std::int32_t, NameHash, std::equal_to<>> layerIndex_;
    std::string lastLayerRaw_;
    std::int32_t lastLayer_ = -1;
    std::string scratch_;

    DXFExtent extent_;
    std::vector<std::string> diagnostics_;
    std::size_t diagnosticCount_ = 0;
    bool diagnosticsShown_ = false;
    Cursor cur_;
};
