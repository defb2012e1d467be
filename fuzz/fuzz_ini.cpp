// Fuzz target for the INI files: the first input line names a section, the rest is the whole
// file. Every key listed must read back with its listed value, a key written must read back
// as written, and a deleted section must be gone.
#include "foundation/NUX_STD_ini.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::string FuzzFile()
{
    char dir[] = "/tmp/zorv-fuzz-ini-XXXXXX";
    if (::mkdtemp(dir) == nullptr) {
        std::abort();
    }
    return std::string(dir) + "/fuzz.ini";
}

void Check(bool ok)
{
    if (!ok) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace NUX_STD_library;
    static const std::string file = FuzzFile();
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t nl = input.find('\n');
    const std::string section = input.substr(0, nl);
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << (nl == std::string::npos ? std::string() : input.substr(nl + 1));
    }

    std::vector<std::pair<std::string, std::string>> pairs;
    const int n = IniReadSection(section, file, pairs);
    Check(n == 0 || n == static_cast<int>(pairs.size()));
    for (int i = 0; i < n; ++i) {
        Check(IniRead(section, pairs[i].first, file) == pairs[i].second);
    }

    if (section.find('\r') == std::string::npos) {
        IniWrite(section, "Fuzz Key", "fuzz value", file);
        Check(IniRead(section, "fuzz key", file) == "fuzz value");
        IniWrite(section, "", "", file);
        Check(IniReadSection(section, file, pairs) == 0);
    }
    return 0;
}
