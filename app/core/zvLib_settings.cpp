// zvLib, the settings file calls over the program's INI functions: every call reads or
// rewrites the file at once, with no cache of its own; after a reset no call writes it.
#include "app/core/zvLib_settings.h"

#include "foundation/NUX_STD_ini.h"

#include <string_view>

namespace zvLib {

std::string IniFile;

namespace {

bool frozen = false;

std::string TrimBlanks(std::string_view s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

} // namespace

std::string GetSetting(const std::string& /*app*/, const std::string& section,
                       const std::string& key, const cVariant& def)
{
    std::string value = TrimBlanks(NUX_STD_library::IniRead(section, key, IniFile));
    if (value.empty()) {
        value = def.toText();
    }
    return value;
}

bool SaveSetting(const std::string& /*app*/, const std::string& section, const std::string& key,
                 const cVariant& value)
{
    return frozen || NUX_STD_library::IniWrite(section, key, value.toText(), IniFile);
}

bool DeleteSetting(const std::string& /*app*/, const std::string& section, const std::string& key)
{
    return frozen || NUX_STD_library::IniWrite(section, key, std::string(), IniFile);
}

bool SaveSettings(const std::string& section,
                  const std::vector<std::pair<std::string, std::string>>& pairs)
{
    return frozen || NUX_STD_library::IniWriteSection(section, pairs, IniFile);
}

void FreezeSettings(bool value)
{
    frozen = value;
}

bool SettingsFrozen()
{
    return frozen;
}

} // namespace zvLib
