// cDXF: loading a drawing (from a file, from bytes or from the Base64 text of a circuit file),
// its placement on the canvas (scale factor and offsets), the layer table with its preset
// colours, the extent and the diagnostics of a load.
#include "dxf/cDXF.h"

#include "foundation/NUX_STD_encoding.h"
#include "foundation/NUX_STD_files.h"
#include "foundation/cError.h"
#include "foundation/zvLib_canvas.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// Colours of the first sixteen layers, in the order the drawing names them.
constexpr std::array<std::int32_t, 16> kPresetColors = {
    0x000000, 0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
    0x00FF00, 0x00FFFF, 0x000000, 0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF, 0x000000};

// The scale of a drawing that cannot be fitted to the canvas: one drawing unit per millimetre.
const cFixed kUnfittedScale = cFixed::fromRaw(100);

template <typename T> std::size_t CapacityBytes(const std::vector<T>& v)
{
    return v.capacity() * sizeof(T);
}

} // namespace

cDXF::cDXF()
{
    Reset();
}

void cDXF::Reset()
{
    arcs_.clear();
    circles_.clear();
    lines_.clear();
    points_.clear();
    vertices_.clear();
    polylines_.clear();
    texts_.clear();
    faces_.clear();
    textPool_.clear();
    layers_.assign(kPresetColors.size(), DXFLayerRecord{});
    for (std::size_t i = 0; i < kPresetColors.size(); ++i) {
        layers_[i].color = kPresetColors[i];
    }
    layerCount_ = 0;
    layerIndex_.clear();
    lastLayerRaw_.clear();
    lastLayer_ = -1;
    extent_ = DXFExtent{};
    diagnostics_.clear();
    diagnosticCount_ = 0;
    diagnosticsShown_ = false;
    bytes_.clear();
    fileName_.clear();
    offsetX_ = cFixed();
    offsetY_ = cFixed();
    scale_ = cFixed(100);
    cur_ = Cursor{};
}

void cDXF::fileLoad(const std::string& path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxDrawingBytes) {
        Reset();
        Diagnose("The drawing " + path + " is too large to be read.");
        fileName_ = path;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw cError(53, "cDXF", "File not found: " + path);
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        throw cError(57, "cDXF", "Device I/O error: " + path);
    }
    LoadBytes(std::move(bytes));
    fileName_ = path;
}

void cDXF::LoadBytes(std::string bytes)
{
    Reset();
    if (bytes.size() > kMaxDrawingBytes) {
        Diagnose("The drawing is too large to be read.");
        return;
    }
    bytes_ = std::move(bytes);
    ReadDrawing();
    arcs_.shrink_to_fit();
    circles_.shrink_to_fit();
    lines_.shrink_to_fit();
    points_.shrink_to_fit();
    vertices_.shrink_to_fit();
    polylines_.shrink_to_fit();
    texts_.shrink_to_fit();
    faces_.shrink_to_fit();
    textPool_.shrink_to_fit();
    FitScale();
}

void cDXF::FileStream(std::string text)
{
    std::string bytes = NUX_STD_library::Base64Decode(text, true);
    const std::string path = NUX_STD_library::AddBackslash(NUX_STD_library::GetTempFolder()) +
                             NUX_STD_library::TimeStampHex() + ".dxf";
    // The copy only names the drawing; the kept bytes are what is saved again later.
    const bool written = NUX_STD_library::WriteFileText(path, bytes);
    LoadBytes(std::move(bytes));
    if (written) {
        fileName_ = path;
    }
}

std::string cDXF::FileStream() const
{
    return NUX_STD_library::Base64Encode(bytes_);
}

void cDXF::FitScale()
{
    // The drawing's width spans twice the canvas's visible width. Without a canvas or without
    // a width there is nothing to fit to: drawing units are then taken as millimetres.
    const double width = static_cast<double>(extent_.xmax) - extent_.xmin;
    const cSurface* pic = zvLib::MainPic;
    if (pic == nullptr || width <= 0 || !(pic->ScaleWidth() > 0)) {
        scale_ = kUnfittedScale;
        return;
    }
    scaleFactor(cFixed::fromDouble(2.0 * pic->ScaleWidth() / width));
}

void cDXF::scaleFactor(cFixed v)
{
    scale_ = v.isZero() ? cFixed::fromRaw(1) : v;
}

void cDXF::OffsetY(cFixed v)
{
    offsetY_ = v;
    if (zvLib::MainPic != nullptr) {
        Draw();
    }
}

std::array<cFixed, 4> cDXF::GetExtent() const
{
    return {MapX(extent_.xmin), MapY(extent_.ymin), MapX(extent_.xmax), MapY(extent_.ymax)};
}

std::string_view cDXF::TextOf(const DXFTextRecord& r) const
{
    if (r.textOffset > textPool_.size() || r.textLength > textPool_.size() - r.textOffset) {
        return {};
    }
    return std::string_view(textPool_).substr(r.textOffset, r.textLength);
}

std::size_t cDXF::TableBytes() const
{
    std::size_t n = CapacityBytes(arcs_) + CapacityBytes(circles_) + CapacityBytes(lines_) +
                    CapacityBytes(points_) + CapacityBytes(vertices_) + CapacityBytes(polylines_) +
                    CapacityBytes(texts_) + CapacityBytes(faces_) + textPool_.capacity() +
                    CapacityBytes(layers_);
    for (const auto& l : layers_) {
        n += l.name.capacity();
    }
    // A hash node holds the name, the index and two pointers.
    n += layerIndex_.size() * (sizeof(std::string) + 3 * sizeof(void*)) +
         layerIndex_.bucket_count() * sizeof(void*);
    return n;
}

void cDXF::Diagnose(std::string message)
{
    ++diagnosticCount_;
    if (diagnostics_.size() < kMaxDiagnostics) {
        diagnostics_.push_back(std::move(message));
    } else if (diagnostics_.size() == kMaxDiagnostics) {
        diagnostics_.push_back("Further messages were left out.");
    }
}

bool cDXF::LayerIndex(std::string_view raw, std::int32_t& index)
{
    if (lastLayer_ >= 0 && raw == lastLayerRaw_) {
        index = lastLayer_;
        return true;
    }
    ValueText(raw, scratch_);
    auto it = layerIndex_.find(std::string_view(scratch_));
    if (it != layerIndex_.end()) {
        index = it->second;
    } else {
        if (layerCount_ >= kMaxLayers) {
            return false;
        }
        index = layerCount_++;
        if (static_cast<std::size_t>(index) >= layers_.size()) {
            layers_.push_back(DXFLayerRecord{});
        }
        layers_[index].name = scratch_;
        layers_[index].visible = true;
        layerIndex_.emplace(scratch_, index);
    }
    lastLayerRaw_.assign(raw);
    lastLayer_ = index;
    return true;
}

void cDXF::ExtendX(std::int32_t x)
{
    if (!extent_.hasX) {
        extent_.xmin = extent_.xmax = x;
        extent_.hasX = true;
    } else if (x < extent_.xmin) {
        extent_.xmin = x;
    } else if (x > extent_.xmax) {
        extent_.xmax = x;
    }
}

void cDXF::ExtendY(std::int32_t y)
{
    if (!extent_.hasY) {
        extent_.ymin = extent_.ymax = y;
        extent_.hasY = true;
    } else if (y < extent_.ymin) {
        extent_.ymin = y;
    } else if (y > extent_.ymax) {
        extent_.ymax = y;
    }
}

void cDXF::ExtendExtent(std::int32_t x, std::int32_t y)
{
    ExtendX(x);
    ExtendY(y);
}
