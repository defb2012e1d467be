// NUX_STD_library, system side: development mode, the XDG user folders, machine, user and
// kernel names, the program's version and opening files with xdg-open.
#include "foundation/NUX_STD_system.h"

#include "foundation/NUX_STD_files.h"

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

namespace NUX_STD_library {

namespace {

constexpr int kShellFileNotFound = 2;
constexpr int kShellNoAssociation = 31;
constexpr int kShellStarted = 42;
// The largest user-dirs.dirs file read: a few lines of folder names.
constexpr std::uint64_t kMaxUserDirsBytes = std::uint64_t(1) << 20;

std::string Env(const char* name)
{
    const char* v = std::getenv(name);
    return v != nullptr ? std::string(v) : std::string();
}

// An environment folder that is set and absolute, else "".
std::string EnvFolder(const char* name)
{
    std::string v = Env(name);
    return (!v.empty() && v[0] == '/') ? v : std::string();
}

std::string WithoutTrailingSlash(std::string s)
{
    while (s.size() > 1 && s.back() == '/') {
        s.pop_back();
    }
    return s;
}

bool IsFolder(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string HomeFolder()
{
    std::string home = EnvFolder("HOME");
    if (home.empty()) {
        if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
            home = pw->pw_dir;
        }
    }
    return WithoutTrailingSlash(home);
}

// The documents folder named in the user-dirs.dirs file of the XDG configuration, or "".
std::string DocumentsFromUserDirs(const std::string& home)
{
    std::string config = EnvFolder("XDG_CONFIG_HOME");
    if (config.empty()) {
        if (home.empty()) {
            return {};
        }
        config = home + "/.config";
    }
    std::string text;
    ReadFault fault = ReadFault::None;
    if (!ReadFileBytes(config + "/user-dirs.dirs", kMaxUserDirsBytes, text, fault)) {
        return {};
    }
    std::istringstream in(text);
    const std::string key = "XDG_DOCUMENTS_DIR=\"";
    for (std::string line; std::getline(in, line);) {
        if (line.compare(0, key.size(), key) != 0 || line.back() != '"') {
            continue;
        }
        std::string value = line.substr(key.size(), line.size() - key.size() - 1);
        if (value.compare(0, 5, "$HOME") == 0 && !home.empty()) {
            value = home + value.substr(5);
        }
        if (!value.empty() && value[0] == '/') {
            return value;
        }
    }
    return {};
}

std::string DocumentsFolder()
{
    const std::string home = HomeFolder();
    std::string docs = EnvFolder("XDG_DOCUMENTS_DIR");
    if (docs.empty()) {
        docs = DocumentsFromUserDirs(home);
    }
    if (docs.empty() && !home.empty()) {
        docs = IsFolder(home + "/Documents") ? home + "/Documents" : home;
    }
    return WithoutTrailingSlash(docs);
}

// True for a text that begins with a URL scheme of two or more characters ("https:").
bool LooksLikeUrl(const std::string& s)
{
    std::size_t i = 0;
    while (i < s.size() && (std::isalnum(static_cast<unsigned char>(s[i])) || s[i] == '+' ||
                            s[i] == '-' || s[i] == '.')) {
        ++i;
    }
    return i >= 2 && i < s.size() && s[i] == ':' && std::isalpha(static_cast<unsigned char>(s[0]));
}

// How long an opener is waited for before it counts as busy with the document it opened.
constexpr int kOpenerWaitMs = 3000;

// What became of a program started by RunDetached.
enum class Run { Succeeded, Failed, StillRunning };

// Runs program with one argument in its own session and waits a bounded time for its exit
// status. A watcher process, left to the system at once, waits for the program and passes
// its status back through a pipe, so no child is left behind and a program that runs on
// (an opener showing the document itself) never holds the caller up beyond the bound.
Run RunDetached(const std::string& program, const std::string& arg, int waitMs)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return Run::Failed;
    }
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(arg.c_str()), nullptr};
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const pid_t watcher = fork();
        if (watcher != 0) {
            _exit(watcher < 0 ? 1 : 0);
        }
        setsid();
        // The caller may have stopped listening: its answer is then dropped without a signal.
        signal(SIGPIPE, SIG_IGN);
        const pid_t child = fork();
        if (child == 0) {
            signal(SIGPIPE, SIG_DFL);
            execv(argv[0], argv);
            _exit(127);
        }
        int status = -1;
        while (child > 0 && waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        [[maybe_unused]] const auto n = write(fds[1], &status, sizeof status);
        _exit(0);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return Run::Failed;
    }
    int middle = 0;
    while (waitpid(pid, &middle, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(middle) || WEXITSTATUS(middle) != 0) {
        close(fds[0]);
        return Run::Failed;
    }
    pollfd answer{fds[0], POLLIN, 0};
    int ready = 0;
    do {
        ready = poll(&answer, 1, waitMs);
    } while (ready < 0 && errno == EINTR);
    if (ready == 0) {
        close(fds[0]);
        return Run::StillRunning;
    }
    int status = -1;
    ssize_t n = 0;
    do {
        n = read(fds[0], &status, sizeof status);
    } while (n < 0 && errno == EINTR);
    close(fds[0]);
    const bool ok =
        n == static_cast<ssize_t>(sizeof status) && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return ok ? Run::Succeeded : Run::Failed;
}

} // namespace

std::string FindInPath(const std::string& name)
{
    const std::string path = Env("PATH");
    std::size_t begin = 0;
    while (begin <= path.size()) {
        auto end = path.find(':', begin);
        if (end == std::string::npos) {
            end = path.size();
        }
        const std::string dir = end > begin ? path.substr(begin, end - begin) : ".";
        const std::string candidate = dir + "/" + name;
        struct stat st {};
        if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        begin = end + 1;
    }
    return {};
}

bool IsInIDE()
{
    const char* v = std::getenv("ZORV_DEVMODE");
    return v != nullptr && std::strcmp(v, "1") == 0;
}

std::string GetSpecialFolder(int csidl)
{
    if (csidl == 28) {
        std::string data = EnvFolder("XDG_DATA_HOME");
        if (data.empty()) {
            const std::string home = HomeFolder();
            data = home.empty() ? std::string() : home + "/.local/share";
        }
        return WithoutTrailingSlash(data);
    }
    if (csidl == 5) {
        return DocumentsFolder();
    }
    return {};
}

std::string GetComputerName()
{
    char buf[256] = {};
    if (gethostname(buf, sizeof buf - 1) != 0) {
        return {};
    }
    std::string name(buf);
    const auto b = name.find_first_not_of(' ');
    if (b == std::string::npos) {
        return {};
    }
    name = name.substr(b, name.find_last_not_of(' ') - b + 1);
    for (char& c : name) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return name;
}

std::string GetUserName()
{
    if (const passwd* pw = getpwuid(geteuid()); pw != nullptr && pw->pw_name != nullptr) {
        return pw->pw_name;
    }
    std::string name = Env("USER");
    return name.empty() ? Env("LOGNAME") : name;
}

std::string GetOSVersion()
{
    utsname u{};
    return uname(&u) == 0 ? std::string(u.release) : std::string();
}

int ShellOpen(int /*hwnd*/, const std::string& file, int /*showCmd*/)
{
    if (file.empty() || (!LooksLikeUrl(file) && access(file.c_str(), F_OK) != 0)) {
        return kShellFileNotFound;
    }
    const std::string opener = FindInPath("xdg-open");
    // An opener still at work after the wait has found a program and shows the document.
    if (opener.empty() || RunDetached(opener, file, kOpenerWaitMs) == Run::Failed) {
        return kShellNoAssociation;
    }
    return kShellStarted;
}

std::string AppVersion()
{
    return std::to_string(kAppMajor) + "." + std::to_string(kAppMinor) + ".0." +
           std::to_string(kAppRevision);
}

std::string GetFileVersion(const std::string& /*path*/)
{
    return {};
}

std::string GetFileVersionString(const std::string& /*path*/, int /*index*/)
{
    return {};
}

std::int32_t HiWord(std::int32_t value)
{
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(value) >> 16) & 0xFFFF);
}

std::int32_t LoWord(std::int32_t value)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) & 0xFFFF);
}

std::string GetFileTypeName(const std::string& /*path*/)
{
    return {};
}

int DrawFileIcon(const std::string& /*path*/, int /*size*/, cSurface& /*picture*/)
{
    return 0;
}

} // namespace NUX_STD_library
