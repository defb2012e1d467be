// zvdump: a developer tool that opens a circuit file as the program does (catalogue, language
// table, set loading, the circuit file reader) and prints what the model made of it as one
// JSON object; optionally saves it again. With --dxf it describes a bare DXF drawing instead.
#include "app/core/zvLib_catalogue.h"
#include "app/core/zvLib_sets.h"
#include "dxf/zvLib_dxf.h"
#include "foundation/NUX_STD_apppath.h"
#include "foundation/NUX_STD_encoding.h"
#include "foundation/NUX_STD_files.h"
#include "foundation/cError.h"
#include "foundation/zvLang.h"
#include "model/zvCircuit.h"
#include "model/zvUI.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage = "usage: zvdump [--data DIR] [--save OUT] FILE\n"
                               "       zvdump --dxf FILE.dxf\n";

// A user interface that asks nothing and makes sets current with the window-free set loader.
class ToolUI : public zvQuietUI {
  public:
    std::int16_t LoadSet(const std::string& setCode) override { return zvLib::LoadSet(setCode); }
};

// The command line.
struct Options {
    std::string data;
    std::optional<std::string> save;
    std::string file;
    bool dxf = false;
};

// True when a save can be made under the name: not empty and not a folder's (no "/" at its
// end), so the file made is the one named.
bool usableSaveName(const std::string& name)
{
    return !name.empty() && name.back() != '/';
}

// Reads the command line; none when it does not fit the usage.
std::optional<Options> parseArguments(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--data" && hasValue) {
            o.data = argv[++i];
        } else if (a == "--save" && hasValue) {
            o.save = argv[++i];
        } else if (a == "--dxf") {
            o.dxf = true;
        } else if (o.file.empty() && !a.starts_with("--")) {
            o.file = a;
        } else {
            return std::nullopt;
        }
    }
    if (o.file.empty() || (o.dxf && (!o.data.empty() || o.save))) {
        return std::nullopt;
    }
    if (o.save && !usableSaveName(*o.save)) {
        std::cerr << "zvdump: --save needs the name of a file, not \"" << *o.save << "\"\n";
        return std::nullopt;
    }
    return o;
}

// A JSON string: quoted, escaped, malformed UTF-8 replaced.
std::string jsonText(const std::string& s)
{
    std::string out = "\"";
    for (const char ch : NUX_STD_library::Utf8Decode(s)) {
        const auto c = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

// A JSON array of the values, each turned to JSON text by convert.
template <class Range, class Convert> std::string jsonArray(const Range& values, Convert convert)
{
    std::string out = "[";
    for (const auto& v : values) {
        out += out.size() > 1 ? ", " : "";
        out += convert(v);
    }
    return out + "]";
}

// The rows of a text table, each an array of its six texts.
std::string jsonTable(const zvTextTable& table)
{
    return jsonArray(table, [](const zvTableRow& row) { return jsonArray(row, jsonText); });
}

std::string number(cFixed v)
{
    return v.str4();
}

// One piece: its track, key, definition, start and end pose and running lengths.
std::string jsonItem(const zvTrack& track, const zvItem& p)
{
    std::string def = p.setID() + ":" + p.Item();
    def += p.toFront() ? "[#]" : "";
    def += p.extAB() ? "[AB]" : "";
    def += p.extCD() ? "[CD]" : "";
    return "{\"track\": " + std::to_string(track.index()) + ", \"key\": " + jsonText(p.Key()) +
           ", \"item\": " + jsonText(def) + ", \"start\": [" + number(p.xIniz()) + ", " +
           number(p.yIniz()) + ", " + number(p.aIniz()) + "], \"end\": [" + number(p.xFine()) +
           ", " + number(p.yFine()) + ", " + number(p.aFine()) +
           "], \"Len0\": " + number(p.Len0()) + ", \"Len1\": " + number(p.Len1()) +
           ", \"Len2\": " + number(p.Len2()) + "}";
}

// What the model made of the opened circuit, as one JSON object.
std::string describeCircuit(const zvCircuit& c, std::int32_t skipped)
{
    zvTextTable lanes;
    zvTextTable bom;
    c.GetLanes(lanes);
    c.GetBOM(bom);
    std::vector<std::string> items;
    for (const auto& t : c.tracks()) {
        for (const auto& p : t->items()) {
            items.push_back(jsonItem(*t, *p));
        }
    }
    std::string out = "{\n  \"result\": 0,\n";
    out += "  \"set\": " + jsonText(c.DefCode()) + ",\n";
    out += "  \"tracks\": " + std::to_string(c.tracks().Count()) + ",\n";
    out += "  \"name\": " + jsonText(c.Name()) + ",\n";
    out += "  \"description\": " + jsonText(c.Description()) + ",\n";
    out += "  \"extent\": " + jsonArray(c.GetExtent(), number) + ",\n";
    out += "  \"length\": " + number(cFixed::fromDouble(c.GetLength())) + ",\n";
    out += "  \"lanes\": " + jsonTable(lanes) + ",\n";
    out += "  \"bom\": " + jsonTable(bom) + ",\n";
    out += "  \"items\": [";
    for (std::size_t i = 0; i < items.size(); ++i) {
        out += (i == 0 ? "\n    " : ",\n    ") + items[i];
    }
    out += items.empty() ? "],\n" : "\n  ],\n";
    out += "  \"skipped\": " + std::to_string(skipped) + ",\n";
    out += "  \"dxf\": " + (zvLib::DXF ? zvLib::DXF->Describe() : std::string("null")) + "\n}\n";
    return out;
}

// Loads the language table and the catalogue from the data folder; false with the reason
// told on stderr.
bool loadData(const std::string& folder)
{
    if (!folder.empty()) {
        NUX_STD_library::AppPath(folder);
    }
    zvLang::LangID("EN");
    if (const long err = zvLang::LoadLanguageFile(); err != 0) {
        std::cerr << "zvdump: the language table " << NUX_STD_library::AppPath()
                  << "Zorv.lng cannot be loaded (error " << err << ")\n";
        return false;
    }
    std::vector<std::string> messages;
    const long err = zvLib::LoadCatalogue(messages);
    for (const std::string& m : messages) {
        std::cerr << "zvdump: catalogue: " << m << "\n";
    }
    if (err != 0) {
        std::cerr << "zvdump: the catalogue " << NUX_STD_library::AppPath()
                  << "Zorv.dat cannot be opened (error " << err << ")\n";
        return false;
    }
    return true;
}

// Opens the circuit file, saves it again when asked and prints it; the exit status.
int dumpCircuit(const Options& o)
{
    if (!loadData(o.data)) {
        return 1;
    }
    zvLib::UI = std::make_shared<ToolUI>();
    auto c = std::make_shared<zvCircuit>();
    zvFileOpenInfo info;
    if (c->FileOpen(o.file, &info) != 0) {
        std::cerr << "zvdump: " << o.file << ": " << info.Reason << "\n";
        return 1;
    }
    zvLib::Circuit(c);
    if (o.save && !c->FileSave(*o.save)) {
        std::cerr << "zvdump: " << *o.save
                  << " cannot be written: " << zvLang::WriteFailureReason(*o.save) << "\n";
        return 1;
    }
    std::cout << describeCircuit(*c, info.Skipped);
    return 0;
}

// Reads a DXF file as the program loads a drawing and prints its description; a drawing that
// could not be read is said and fails.
int dumpDrawing(const Options& o)
{
    cDXF d;
    if (!d.fileLoad(o.file)) {
        for (const std::string& line : d.Diagnostics()) {
            std::cerr << "zvdump: " << line << "\n";
        }
        return 1;
    }
    std::cout << d.Describe() << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    NUX_STD_library::IgnoreFileSizeSignal();
    const auto options = parseArguments(argc, argv);
    if (!options) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        return options->dxf ? dumpDrawing(*options) : dumpCircuit(*options);
    } catch (const cError& e) {
        std::cerr << "zvdump: " << e.Description() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "zvdump: " << e.what() << "\n";
    }
    return 1;
}
