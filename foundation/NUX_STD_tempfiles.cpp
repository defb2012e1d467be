// NUX_STD_library, temporary files: the program's private temporary folder (the user's own,
// mode 0700, never a folder someone else made or may write).
#include "foundation/NUX_STD_files.h"

#include <cstdlib>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace NUX_STD_library {

namespace {

// True when the path is a real folder (not a link) of this user that nobody else may write.
bool IsPrivateFolder(const std::string& path)
{
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The private folder at the path: the one there when it is private, else a new one made
// there, else a fresh one beside it with a unique name; "" when none can be made.
std::string MakePrivateFolder(const std::string& path)
{
    if (IsPrivateFolder(path)) {
        return path;
    }
    if (mkdir(path.c_str(), 0700) == 0 && IsPrivateFolder(path)) {
        return path;
    }
    std::string fresh = path + "-XXXXXX";
    if (mkdtemp(fresh.data()) != nullptr && IsPrivateFolder(fresh)) {
        return fresh;
    }
    return {};
}

// The folder the program's temporary files belong in, before any check.
std::string WantedTempFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime == '/') {
        return AddBackslash(runtime) + "Zorv";
    }
    return GetTempFolder() + "Zorv-" + std::to_string(geteuid());
}

} // namespace

std::string PrivateTempFolder()
{
    // The folder chosen stays the program's for as long as it stays private.
    static std::mutex guard;
    static std::string wanted;
    static std::string chosen;
    std::lock_guard<std::mutex> lock(guard);
    const std::string want = WantedTempFolder();
    if (want != wanted || chosen.empty() || !IsPrivateFolder(chosen)) {
        wanted = want;
        chosen = MakePrivateFolder(want);
        if (chosen.empty() && want.rfind(GetTempFolder(), 0) != 0) {
            chosen = MakePrivateFolder(GetTempFolder() + "Zorv-" + std::to_string(geteuid()));
        }
    }
    return chosen.empty() ? std::string() : AddBackslash(chosen);
}

} // namespace NUX_STD_library
