// NUX_STD_library, temporary files: the program's private temporary folder (the user's own,
// mode 0700, never a folder someone else made or may write) and new files made in it.
#include "foundation/NUX_STD_files.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
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

// Makes a new file at the path with the bytes, never through a link and never over a file
// that is there: 0, else the error of the create (EEXIST when the name is taken) or of the
// write, after which nothing is left at the path.
int CreateNewFile(const std::string& path, const std::string& bytes)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return errno;
    }
    int err = 0;
    for (std::size_t at = 0; err == 0 && at < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + at, bytes.size() - at);
        if (n > 0) {
            at += static_cast<std::size_t>(n);
        } else if (n == 0 || errno != EINTR) {
            err = n == 0 ? EIO : errno;
        }
    }
    if (close(fd) != 0 && err == 0) {
        err = errno;
    }
    if (err != 0) {
        unlink(path.c_str());
    }
    return err;
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

bool WriteNewFile(const std::string& path, const std::string& bytes)
{
    return unlink(path.c_str()) == 0 || errno == ENOENT ? CreateNewFile(path, bytes) == 0 : false;
}

} // namespace NUX_STD_library
