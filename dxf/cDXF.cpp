// cDXF: loading a drawing (from a file, from bytes or from the Base64 text of a circuit file),
// its placement on the canvas (scale factor and offsets), the layer table with its preset
// colours, the extent and the diagnostics of a load.
#include "dxf/cDXF.h"

#include "foundation/NUX_STD_encoding.h"
#include "foundation/NUX_STD_files.h"
#include "foundation/cError.h"
#include "foundation/zvLib_canvas.h"

#include <cerrno>
#include <cmath>
#include <unistd.h>

namespace {

// Colours of the first sixteen layers, in the order the drawing names them.
constexpr std::array<std::int32_t, 16> kPresetColors = {
    0x000000, 0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
    0x00FF00, 0x00FFFF, 0x000000, 0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF, 0x000000};

// The scale of a drawing that cannot be fitted to the canvas: one drawing unit per millimetre.
const cFixed kUnfittedScale = cFixed::fromRaw(100);

// A file of at least this many bytes is read into a buffer of its size; a smaller one through
// the whole-file read.
constexpr std::size_t kLargeDrawing = std::size_t(256) << 10;

// Closes a file descriptor when it goes out of scope.
struct FileCloser {
    int fd;
    ~FileCloser() { ::close(fd); }
};

// Reads at most size bytes of the file into p and returns how many it got: fewer when the file
// ends sooner. ok tells whether reading went without error.
std::size_t ReadUpTo(int fd, char* p, std::size_t size, bool& ok)
{
    std::size_t got = 0;
    ok = true;
    while (got < size) {
        const ssize_t n = ::read(fd, p + got, size - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return got;
}

// True when every byte is printable ASCII (a text that reads as it stands).
bool IsPlainText(std::string_view s)
{
    for (const char c : s) {
        if (c < 0x20 || c > 0x7E) {
            return false;
        }
    }
    return true;
}

template <typename Table> std::size_t CapacityBytes(const Table& t)
{
    return t.capacity() * sizeof(typename Table::value_type);
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
    bytes_ = {};
    held_.reset();
    owned_.clear();
    fileName_.clear();
    offsetX_ = cFixed();
    offsetY_ = cFixed();
    scale_ = cFixed(100);
    cur_ = Cursor{};
}

bool cDXF::fileLoad(const std::string& path)
{
    Reset();
    const bool fits = ReadFile(path);
    fileName_ = path;
    if (!fits) {
        Diagnose("The drawing " + path + " is too large to be read.");
        return false;
    }
    ReadBytes();
    return true;
}

bool cDXF::ReadFile(const std::string& path)
{
    // Only a regular file is read: a named pipe or a device is refused at once, never waited
    // for.
    std::uint64_t fileSize = 0;
    NUX_STD_library::ReadFault fault = NUX_STD_library::ReadFault::None;
    const int fd = NUX_STD_library::OpenForReading(path, MaxDrawingBytes(), fileSize, fault);
    if (fault == NUX_STD_library::ReadFault::TooLarge) {
        return false;
    }
    if (fd < 0) {
        throw cError(NUX_STD_library::ReadFaultNumber(fault), "cDXF",
                     std::string(NUX_STD_library::ReadFaultText(fault)) + ": " + path);
    }
    const FileCloser closer{fd};
    const auto size = static_cast<std::size_t>(fileSize);
    bool read = false;
    bool grew = false;
    if (size >= kLargeDrawing) {
        // A large drawing is read into a buffer of its size, not cleared first.
        char* p = new char[size];
        held_.reset(p, [](const char* q) { delete[] q; });
        bytes_ = std::string_view(p, ReadUpTo(fd, p, size, read));
    } else {
        // A file that grew past the largest drawing while it was read does not fit.
        const NUX_STD_library::ReadFault got =
            NUX_STD_library::ReadOpenFile(fd, fileSize, MaxDrawingBytes(), owned_);
        read = got != NUX_STD_library::ReadFault::ReadFailed;
        grew = got == NUX_STD_library::ReadFault::TooLarge;
        bytes_ = owned_;
    }
    const bool fits = !grew && bytes_.size() <= MaxDrawingBytes();
    if (!read || !fits) {
        bytes_ = {};
        held_.reset();
        owned_.clear();
    }
    if (!read) {
        throw cError(57, "cDXF", "Device I/O error: " + path);
    }
    return fits;
}

void cDXF::LoadBytes(std::string bytes)
{
    Reset();
    owned_ = std::move(bytes);
    bytes_ = owned_;
    if (bytes_.size() > MaxDrawingBytes()) {
        // Not read, but kept: it is saved again as it came, never dropped.
        Diagnose("The drawing is too large to be read; it is kept and saved again unchanged.");
        FitScale();
        return;
    }
    ReadBytes();
}

void cDXF::ReadBytes()
{
    ReadDrawing();
    FitTables();
    FitScale();
}

void cDXF::FileStream(std::string text)
{
    // Blanks and line ends alone are an empty text laid out in the file, not a broken one.
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
        Reset();
        return;
    }
    // The drawing is read from the decoded bytes and saved again from them: no file is made
    // for it, so none is left behind. No bytes are no drawing, not an empty DXF file to
    // complain about.
    std::string bytes = NUX_STD_library::Base64Decode(text, true);
    if (bytes.empty()) {
        Reset();
        return;
    }
    LoadBytes(std::move(bytes));
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
    // A name of printable ASCII reads as it stands: it is looked up without converting it.
    auto it = IsPlainText(raw) ? layerIndex_.find(raw) : layerIndex_.end();
    if (it == layerIndex_.end()) {
        ValueText(raw, scratch_);
        it = layerIndex_.find(std::string_view(scratch_));
    }
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
