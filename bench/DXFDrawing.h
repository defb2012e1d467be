// The generated drawing the DXF benchmarks read: about 50 MB (or a size asked for) of ASCII DXF
// with lines, arcs, circles, texts and polylines with bulges spread over many layers, written as
// CAD programs write it (codes right-aligned, CR LF line ends). The same seed and size always
// give the same bytes, and a larger drawing opens with the bytes of a smaller one.
#pragma once

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <unistd.h>

namespace benchdxf {

// The drawing's usual size, reached at the first entity boundary past it.
inline constexpr std::size_t kTargetBytes = 50u << 20;
// The number of layers the entities are spread over.
inline constexpr int kLayers = 600;

// Writes group pairs.
class Writer {
  public:
    explicit Writer(std::string& out) : out_(out) {}
    // One group: the code right-aligned in three places, then the value.
    void Group(int code, const std::string& value)
    {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%3d\r\n", code);
        out_ += buf;
        out_ += value;
        out_ += "\r\n";
    }
    // One group with a number of six decimals.
    void Number(int code, double v)
    {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.6f", v);
        Group(code, buf);
    }

  private:
    std::string& out_;
};

// The groups an entity opens with: its name, its layer and its first point.
template <typename Position>
void WriteHead(Writer& w, const char* name, const std::string& layer, std::mt19937& rng,
               Position& pos)
{
    w.Group(0, name);
    w.Group(8, layer);
    w.Number(10, pos(rng));
    w.Number(20, pos(rng));
}

// The entity of running number n.
inline void WriteEntity(Writer& w, std::mt19937& rng, int n)
{
    std::uniform_real_distribution<double> pos(-5000, 5000);
    std::uniform_real_distribution<double> bulge(-1.5, 1.5);
    const std::string layer = "Layer-" + std::to_string(rng() % kLayers);
    switch (n % 6) {
    case 0:
    case 1:
        WriteHead(w, "LINE", layer, rng, pos);
        w.Number(30, 0);
        w.Number(11, pos(rng));
        w.Number(21, pos(rng));
        w.Number(31, 0);
        break;
    case 2:
        WriteHead(w, "ARC", layer, rng, pos);
        w.Number(40, 1 + std::fabs(pos(rng)) / 10);
        w.Number(50, rng() % 360);
        w.Number(51, rng() % 360);
        break;
    case 3:
        WriteHead(w, "CIRCLE", layer, rng, pos);
        w.Number(40, 1 + std::fabs(pos(rng)) / 10);
        break;
    case 4:
        WriteHead(w, "TEXT", layer, rng, pos);
        w.Number(40, 2.5);
        w.Group(1, "Pit lane " + std::to_string(n));
        break;
    default:
        w.Group(0, "POLYLINE");
        w.Group(8, layer);
        w.Group(66, "1");
        w.Group(70, n % 2 ? "1" : "0");
        for (int v = 0; v < 6; ++v) {
            WriteHead(w, "VERTEX", layer, rng, pos);
            w.Number(42, v % 2 ? bulge(rng) : 0.0);
        }
        w.Group(0, "SEQEND");
        break;
    }
}

// A drawing of about the given size, ended at the first entity boundary past it.
inline std::string MakeDrawing(std::size_t targetBytes)
{
    std::string out;
    out.reserve(targetBytes + (1 << 20));
    Writer w(out);
    std::mt19937 rng(7);
    w.Group(0, "SECTION");
    w.Group(2, "ENTITIES");
    for (int n = 0; out.size() < targetBytes; ++n) {
        WriteEntity(w, rng, n);
    }
    w.Group(0, "ENDSEC");
    w.Group(0, "EOF");
    return out;
}

// The drawing of the usual size, made once.
inline const std::string& Drawing()
{
    static const std::string bytes = MakeDrawing(kTargetBytes);
    return bytes;
}

// Writes the bytes to a file; false when it cannot.
inline bool WriteBytes(const char* path, const std::string& bytes)
{
    std::FILE* f = std::fopen(path, "wb");
    if (f == nullptr) {
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// Writes the drawing of the usual size to a file, for timing whole programs on it; false when
// it cannot.
inline bool WriteDrawing(const char* path)
{
    return WriteBytes(path, Drawing());
}

// The drawing in a temporary file for the life of the object; Path() is empty when it could
// not be written.
class TempDrawing {
  public:
    TempDrawing()
    {
        std::string path = "/tmp/bench_dxf_XXXXXX";
        const int fd = mkstemp(path.data());
        if (fd < 0) {
            return;
        }
        close(fd);
        if (WriteDrawing(path.c_str())) {
            path_ = path;
        } else {
            std::remove(path.c_str());
        }
    }
    ~TempDrawing()
    {
        if (!path_.empty()) {
            std::remove(path_.c_str());
        }
    }
    TempDrawing(const TempDrawing&) = delete;
    TempDrawing& operator=(const TempDrawing&) = delete;
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

} // namespace benchdxf
