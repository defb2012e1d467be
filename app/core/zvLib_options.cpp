// zvLib, loading and saving the options and colours. Keys are read under one spelling and
// written under another ("GridWidth" / "Gridwidth"); the settings file matches names without
// regard to case, so both name the same key. A hand-edited value that does not convert to its
// type gives its default (a colour text such as "Tomato" is read through the colour table).
#include "app/core/zvLib_options.h"

#include "app/core/zvLib_settings.h"
#include "foundation/cVariant.h"
#include "foundation/zvLang.h"
#include "model/zvLib_colors.h"
#include "model/zvLib_globals.h"
#include "foundation/zvLib_text.h"

#include <array>
#include <charconv>
#include <limits>
#include <optional>
#include <string_view>

namespace zvLib {

cFixed GridWidth = 100;
std::int16_t GridStyle = 1;
std::int32_t background = 0xFFFFFF;
zvOptionsHost* OptionsHost = nullptr;

namespace {

constexpr const char* kApp = "Zorv";
constexpr const char* kOptions = "Options";
constexpr const char* kColors = "Colors";

// System colours carry the high bit and the system colour's index.
constexpr std::int32_t SystemColor(std::uint32_t index)
{
    return static_cast<std::int32_t>(0x80000000u | index);
}

// A colour's default: a colour text read through the colour table, or a value.
struct ColorDefault {
    const char* text;
    std::int32_t value;
    std::int32_t Get() const { return text != nullptr ? Colors.ToRGB(text) : value; }
};

// A colour of section "Colors": its key as read, as written (null: never written), its variable
// and its default.
struct ColorSetting {
    const char* key;
    const char* written;
    std::int32_t* target;
    ColorDefault def;
};

// A view option: key, variable, default and the toolbar tool that shows it, in the order saved.
struct FlagSetting {
    const char* key;
    bool* target;
    bool def;
    const char* tool;
};

// The colours of section "Colors" other than lanes and radii, in the order they are saved.
const std::array<ColorSetting, 7>& NamedColors()
{
    static const std::array<ColorSetting, 7> table = {{
        {"measure", nullptr, &measure, {"black", 0}},
        {"background", "Background", &background, {"white", 0}},
        {"tracknormal", "Tracknormal", &tracknormal, {"Gainsboro", 0}},
        {"trackhilite", "Trackhilite", &trackhilite, {nullptr, SystemColor(13)}},
        {"tracksketch", "Tracksketch", &tracksketch, {nullptr, SystemColor(22)}},
        {"trackbanked", "Trackbanked", &trackbanked, {nullptr, 0x4DA9FD}},
        {"trackkerbs", "Trackkerbs", &trackkerbs, {nullptr, SystemColor(16)}},
    }};
    return table;
}

// Default colour texts of lanes 1 to 8 and of curves of radius number 1 to 12.
constexpr std::array<const char*, 8> kLaneDefaults = {
    "Red", "DodgerBlue", "LimeGreen", "#ffe44d", "Cyan", "Magenta", "white", "darkGray"};
constexpr std::array<const char*, 12> kRadiusDefaults = {"#ff5722", "#ff9800", "#ffc107", "#ffeb3b",
                                                         "#8bc34a", "#4CAF50", "#00bcd4", "#87CEEB",
                                                         "#2196F3", "#3f51b5", "white",   "white"};
static_assert(kLaneDefaults.size() == std::tuple_size_v<decltype(LaneColors)>);
static_assert(kRadiusDefaults.size() == std::tuple_size_v<decltype(RadiusColors)>);

// The view options in the order they are saved.
const std::array<FlagSetting, 7>& Flags()
{
    static const std::array<FlagSetting, 7> table = {{
        {"ShowGrid", &ShowGrid, true, "grid"},
        {"ShowLines", &ShowLines, false, "lines"},
        {"ShowFill", &ShowFill, true, "fill"},
        {"ShowFillEx", &ShowFillEx, true, "fillex"},
        {"ShowLanes", &ShowLanes, true, "lanes"},
        {"ShowCodes", &ShowCodes, true, "refs"},
        {"ShowKerbs", &ShowKerbs, true, "kerbs"},
    }};
    return table;
}

// A whole number written in decimal ("." or "," as decimal sign, halves rounding to even)
// within [lo, hi]; none otherwise.
std::optional<std::int64_t> ParseWhole(std::string_view text, std::int64_t lo, std::int64_t hi)
{
    const auto d = cVariant::parseNumber(text);
    if (!d || *d < static_cast<double>(lo) - 0.5 || *d > static_cast<double>(hi) + 0.5) {
        return std::nullopt;
    }
    const std::int64_t v = RoundHalfEven(*d);
    if (v < lo || v > hi) {
        return std::nullopt;
    }
    return v;
}

// "&H" and one to eight hexadecimal digits, an optional closing "&": the 32 bits as written,
// so "&H8000000D" is a system colour.
std::optional<std::int32_t> ParseHex(std::string_view t)
{
    if (t.size() < 3 || t[0] != '&' || (t[1] != 'H' && t[1] != 'h')) {
        return std::nullopt;
    }
    t.remove_prefix(2);
    if (t.back() == '&') {
        t.remove_suffix(1);
    }
    std::uint32_t v = 0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v, 16);
    if (t.empty() || t.size() > 8 || r.ec != std::errc() || r.ptr != t.data() + t.size()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(v);
}

// A whole number of section "Options" within [lo, hi], else the default.
std::int16_t ReadInt16(const char* key, std::int16_t def, std::int16_t lo, std::int16_t hi)
{
    const auto v = ParseWhole(GetSetting(kApp, kOptions, key), lo, hi);
    return v ? static_cast<std::int16_t>(*v) : def;
}

// -1, 0 or 1, or the words True and False in any case.
bool ReadBool(const char* key, bool def)
{
    const std::string t = GetSetting(kApp, kOptions, key);
    if (t == "-1" || t == "1" || SameText(t, "True")) {
        return true;
    }
    if (t == "0" || SameText(t, "False")) {
        return false;
    }
    return def;
}

// A colour value, "&H" hexadecimal, or a colour text the colour table knows.
std::int32_t ReadColor(const std::string& key, std::int32_t def)
{
    const std::string t = GetSetting(kApp, kColors, key);
    if (t.empty()) {
        return def;
    }
    if (const auto v = ParseWhole(t, std::numeric_limits<std::int32_t>::min(),
                                  std::numeric_limits<std::int32_t>::max())) {
        return static_cast<std::int32_t>(*v);
    }
    if (const auto v = ParseHex(t)) {
        return *v;
    }
    const std::int32_t c = Colors.ToRGB(t);
    const bool known = c != 0 || Colors.isCSS(t) || Colors.isHTML(t) || Colors.isVB(t);
    return known ? c : def;
}

void LoadOptions()
{
    const auto width = GetSetting(kApp, kOptions, "GridWidth");
    const auto parsed = cFixed::parse(width);
    GridWidth = parsed ? *parsed : cFixed(100);
    GridStyle = ReadInt16("GridStyle", 1, 0, 3);
    LaneWidth = ReadInt16("LaneWidth", 2, std::numeric_limits<std::int16_t>::min(),
                          std::numeric_limits<std::int16_t>::max());
    for (const FlagSetting& f : Flags()) {
        *f.target = ReadBool(f.key, f.def);
    }
}

void LoadColors()
{
    for (const ColorSetting& c : NamedColors()) {
        *c.target = ReadColor(c.key, c.def.Get());
    }
    for (std::size_t i = 0; i < LaneColors.size(); ++i) {
        LaneColors[i] = ReadColor("Lane" + std::to_string(i + 1), Colors.ToRGB(kLaneDefaults[i]));
    }
    for (std::size_t i = 0; i < RadiusColors.size(); ++i) {
        RadiusColors[i] = ReadColor("R" + std::to_string(i + 1), Colors.ToRGB(kRadiusDefaults[i]));
    }
}

// False when any of them could not be written; each is tried all the same.
bool SaveOptions()
{
    bool ok = SaveSetting(kApp, kOptions, "LangID", zvLang::LangID());
    ok = SaveSetting(kApp, kOptions, "Gridstyle", static_cast<int>(GridStyle)) && ok;
    ok = SaveSetting(kApp, kOptions, "Gridwidth", GridWidth.str()) && ok;
    ok = SaveSetting(kApp, kOptions, "LaneWidth", static_cast<int>(LaneWidth)) && ok;
    for (const FlagSetting& f : Flags()) {
        ok = SaveSetting(kApp, kOptions, f.key, *f.target ? -1 : 0) && ok;
    }
    return ok;
}

// False when any of them could not be written; each is tried all the same.
bool SaveColors()
{
    bool ok = true;
    for (const ColorSetting& c : NamedColors()) {
        if (c.written != nullptr) {
            ok = SaveSetting(kApp, kColors, c.written, static_cast<int>(*c.target)) && ok;
        }
    }
    for (std::size_t i = 0; i < LaneColors.size(); ++i) {
        ok = SaveSetting(kApp, kColors, "Lane" + std::to_string(i + 1),
                         static_cast<int>(LaneColors[i])) &&
             ok;
    }
    for (std::size_t i = 0; i < RadiusColors.size(); ++i) {
        ok = SaveSetting(kApp, kColors, "R" + std::to_string(i + 1),
                         static_cast<int>(RadiusColors[i])) &&
             ok;
    }
    return ok;
}

} // namespace

void OptionsLoad()
{
    LoadOptions();
    LoadColors();
    if (OptionsHost != nullptr) {
        for (const FlagSetting& f : Flags()) {
            OptionsHost->ToolPressed(f.tool, *f.target);
        }
        OptionsHost->CanvasBackColor(background);
    }
}

void ColorsLoad()
{
    LoadColors();
    if (OptionsHost != nullptr) {
        OptionsHost->CanvasBackColor(background);
    }
}

bool OptionsSave()
{
    bool ok = SaveOptions();
    ok = SaveColors() && ok;
    if (OptionsHost != nullptr && !CurSetID.empty()) {
        ok = SaveSetting(kApp, kOptions, "ItemBarWidth\\" + CurSetID,
                         static_cast<long>(OptionsHost->ItemBarWidth())) &&
             ok;
    }
    return ok;
}

} // namespace zvLib
