// NUX_STD_library, program folder: the executable's folder, or the one set in its place.
#include "foundation/NUX_STD_apppath.h"

#include <filesystem>

namespace NUX_STD_library {

namespace {

std::string& chosenFolder()
{
    static std::string folder;
    return folder;
}

std::string executableFolder()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return "./";
    }
    std::string folder = exe.parent_path().string();
    return folder.empty() || folder.back() != '/' ? folder + "/" : folder;
}

}  // namespace

std::string AppPath()
{
    if (chosenFolder().empty()) {
        return executableFolder();
    }
    return chosenFolder();
}

void AppPath(const std::string& folder)
{
    chosenFolder() = folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

}  // namespace NUX_STD_library
