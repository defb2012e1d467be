// NUX_STD_library, files side: folders, existence tests, whole-file reads and atomic writes,
// file times and sizes, time-stamp names. Everything goes through POSIX calls on the path as
// given; the process's current folder is never changed.
#include "foundation/NUX_STD_files.h"

#include "foundation/cError.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <fcntl.h>
#include <random>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace NUX_STD_library {

namespace {

constexpr int kErrFileNotFound = 53;
constexpr int kErrPermission = 70;
constexpr int kErrAccess = 75;
constexpr int kErrPathNotFound = 76;
constexpr int kErrDeviceIO = 57;

// Date values of the failure results of GetFileDate, and of the Unix epoch.
constexpr double kDate1601 = -109205.0;
constexpr double kDate1900 = 2.0;
constexpr std::int64_t kUnixEpochDate = 25569;

std::string TrimBlanks(const std::string& s)
{
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) {
        return {};
    }
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// The run-time error number for a failed open of a file.
long FileErr(int e)
{
    switch (e) {
    case ENOENT:
        return kErrFileNotFound;
    case ENOTDIR:
        return kErrPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return kErrPermission;
    default:
        return kErrAccess;
    }
}

// The run-time error number for a failed access to a folder.
long PathErr(int e)
{
    return (e == ENOENT || e == ENOTDIR) ? kErrPathNotFound : FileErr(e);
}

const char* ErrText(long number)
{
    switch (number) {
    case kErrFileNotFound:
        return "File not found";
    case kErrPermission:
        return "Permission denied";
    case kErrPathNotFound:
        return "Path not found";
    default:
        return "Path/File access error";
    }
}

[[noreturn]] void Raise(long number, const char* source, const std::string& path)
{
    throw cError(number, source, std::string(ErrText(number)) + ": " + path);
}

// The folder part of a path ("." for a bare name).
std::string FolderOf(const std::string& path)
{
    const auto sl = path.rfind('/');
    if (sl == std::string::npos) {
        return ".";
    }
    return sl == 0 ? "/" : path.substr(0, sl);
}

bool IsFolder(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Creates one folder; one that is already there is fine.
void CreateFolder(const std::string& path)
{
    if (mkdir(path.c_str(), 0777) == 0) {
        return;
    }
    const int e = errno;
    if (e == EEXIST) {
        if (IsFolder(path)) {
            return;
        }
        Raise(kErrAccess, "MakePath", path);
    }
    Raise(PathErr(e), "MakePath", path);
}


// The fault of a failed open of the path.
ReadFault OpenFault(int e, const std::string& path)
{
    switch (e) {
    case ENOENT:
        return IsFolder(FolderOf(path)) ? ReadFault::NotFound : ReadFault::PathNotFound;
    case ENOTDIR:
        return ReadFault::PathNotFound;
    case EACCES:
    case EPERM:
        return ReadFault::Permission;
    default:
        return ReadFault::OpenFailed;
    }
}

bool WriteAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The outcome of this thread's last WriteFileText.
thread_local WriteFailure tLastWrite;

// Records why the write failed; always false.
bool Failed(WriteCause cause, int error = 0)
{
    tLastWrite.cause = cause;
    tLastWrite.error = error;
    return false;
}

// True when a write may go through the link: only a link of this user or of root. Anybody
// else's link, in whatever folder, could send the write to a file of their choosing.
bool MayFollowLink(const struct stat& linkStat)
{
    return linkStat.st_uid == geteuid() || linkStat.st_uid == 0;
}

// True when the user may put a new file in place of the entry at the path: its folder may be
// written and, when sticky, the folder or the entry is the user's (or the user is root).
bool MayReplaceEntry(const std::string& path, const struct stat& entry)
{
    const std::string folder = FolderOf(path);
    struct stat st {};
    if (stat(folder.c_str(), &st) != 0 ||
        faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        return false;
    }
    const uid_t me = geteuid();
    return (st.st_mode & S_ISVTX) == 0 || me == 0 || st.st_uid == me || entry.st_uid == me;
}

// Puts the parts of a path (the names between its "/", without empty ones and ".") in front
// of the parts still to walk, in their order.
void PushParts(const std::string& text, std::deque<std::string>& parts)
{
    std::vector<std::string> found;
    for (std::size_t begin = 0; begin <= text.size();) {
        std::size_t end = text.find('/', begin);
        if (end == std::string::npos) {
            end = text.size();
        }
        if (end > begin && text.compare(begin, end - begin, ".") != 0) {
            found.push_back(text.substr(begin, end - begin));
        }
        begin = end + 1;
    }
    parts.insert(parts.begin(), found.begin(), found.end());
}

// The file a write to the path lands in, with every symbolic link on the way resolved, so
// that a link stays and its target is written, but only as far as each link may be followed
// (folders on the way included). A final link to nothing, or a final link of another user
// where its folder lets the user replace it, is replaced itself. The cause when the write is
// refused (error gets the errno of a failed call).
WriteCause WriteTarget(const std::string& path, std::string& target, int& error)
{
    constexpr int kMostLinks = 40;
    std::string done = "/";
    if (path.front() != '/') {
        char cwd[PATH_MAX];
        if (getcwd(cwd, sizeof cwd) == nullptr) {
            error = errno;
            return WriteCause::System;
        }
        done = cwd;
    }
    std::deque<std::string> rest;
    PushParts(path, rest);
    std::string finalLink;
    int links = 0;
    while (!rest.empty()) {
        const std::string part = rest.front();
        rest.pop_front();
        if (part == "..") {
            done = FolderOf(done);
            continue;
        }
        const std::string next = (done == "/" ? "/" : done + "/") + part;
        struct stat st {};
        if (lstat(next.c_str(), &st) != 0) {
            // Nothing there: a new file, or a missing folder that the write itself reports.
            const bool missing = errno == ENOENT;
            target = next;
            for (const std::string& p : rest) {
                target += "/" + p;
            }
            if (missing && !finalLink.empty()) {
                target = finalLink;
            }
            return WriteCause::None;
        }
        if (!S_ISLNK(st.st_mode)) {
            done = next;
            continue;
        }
        if (++links > kMostLinks) {
            return WriteCause::TooManyLinks;
        }
        if (!MayFollowLink(st)) {
            // Another user's link to a folder on the way is refused; the last one is replaced.
            if (!rest.empty() || !MayReplaceEntry(next, st)) {
                return WriteCause::RefusedLink;
            }
            target = next;
            return WriteCause::None;
        }
        char to[PATH_MAX];
        const ssize_t n = readlink(next.c_str(), to, sizeof to - 1);
        if (n <= 0) {
            error = n < 0 ? errno : ENOENT;
            return WriteCause::System;
        }
        if (rest.empty() && finalLink.empty()) {
            finalLink = next;
        }
        if (to[0] == '/') {
            done = "/";
        }
        PushParts(std::string(to, static_cast<std::size_t>(n)), rest);
    }
    target = done;
    return WriteCause::None;
}

// The cause of a refused rename over the target: a link of another user, another user's file
// in a sticky folder, or the error itself.
WriteCause RenameRefusal(const std::string& target, int error)
{
    struct stat st {};
    if ((error != EPERM && error != EACCES) || lstat(target.c_str(), &st) != 0) {
        return WriteCause::System;
    }
    if (S_ISLNK(st.st_mode)) {
        return WriteCause::RefusedLink;
    }
    struct stat folder {};
    const bool sticky =
        stat(FolderOf(target).c_str(), &folder) == 0 && (folder.st_mode & S_ISVTX) != 0;
    return sticky && st.st_uid != geteuid() ? WriteCause::NotOwner : WriteCause::System;
}

// The errno of a call that failed, never 0.
int LastError()
{
    return errno != 0 ? errno : EIO;
}

// Writes the bytes to a fresh temporary file beside the target and renames it over the
// target, with the old file's mode and group where it keeps them; the temporary file is
// removed on any failure, which is recorded.
bool ReplaceFile(const std::string& target, const std::string& text)
{
    const std::string folder = FolderOf(target);
    std::string temp;
    const int fd = OpenNewFileIn(folder, ".tmp", temp);
    if (fd < 0) {
        return Failed(WriteCause::System, LastError());
    }
    int error = 0;
    if (!WriteAll(fd, text) || !KeepReplacedFileMode(fd, target) || fsync(fd) != 0) {
        error = LastError();
    }
    if (close(fd) != 0 && error == 0) {
        error = LastError();
    }
    WriteCause cause = WriteCause::System;
    if (error == 0 && rename(temp.c_str(), target.c_str()) != 0) {
        error = LastError();
        cause = RenameRefusal(target, error);
    }
    if (error != 0) {
        unlink(temp.c_str());
        return Failed(cause, error);
    }
    const int dfd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
    return true;
}

// The days from 1970-01-01 to a civil date (proleptic Gregorian calendar).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

// The date value (days from 1899-12-30, the time of day as the fraction) of a Unix time.
double DateFromUnixSeconds(std::int64_t t)
{
    std::int64_t day = t / 86400;
    std::int64_t tod = t % 86400;
    if (tod < 0) {
        tod += 86400;
        --day;
    }
    const std::int64_t d = day + kUnixEpochDate;
    const double frac = static_cast<double>(tod) / 86400.0;
    // Before the epoch of date values the day counts down while the time still counts up.
    return d >= 0 ? static_cast<double>(d) + frac : static_cast<double>(d) - frac;
}

} // namespace

int OpenNewFileIn(const std::string& folder, const std::string& suffix, std::string& path)
{
    std::random_device rd;
    std::mt19937_64 gen(rd());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[40];
        std::snprintf(name, sizeof name, ".zorv-%016llx", static_cast<unsigned long long>(gen()));
        path = folder + "/" + name + suffix;
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

bool KeepReplacedFileMode(int fd, const std::string& path)
{
    struct stat old {};
    if (lstat(path.c_str(), &old) != 0 || !S_ISREG(old.st_mode) || old.st_uid != geteuid()) {
        return true;
    }
    // The group stays where the user may give it (a team's shared folder keeps its write
    // access); the permission bits follow, since a change of group clears the set-id bits.
    struct stat made {};
    if (fstat(fd, &made) == 0 && made.st_gid != old.st_gid) {
        [[maybe_unused]] const int kept = fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
    return fchmod(fd, old.st_mode & 0777) == 0;
}

std::string AddBackslash(const std::string& path)
{
    if (!path.empty() && path.back() == '/') {
        return path;
    }
    return path + "/";
}

void MakePath(std::string& path)
{
    if (path.empty()) {
        return;
    }
    path = AddBackslash(path);
    // The root itself (a leading "/") is never created.
    for (auto p = path.find('/', 1); p != std::string::npos; p = path.find('/', p + 1)) {
        const std::string prefix = path.substr(0, p);
        long err = 0;
        if (!FolderExists(prefix, err)) {
            CreateFolder(prefix);
        }
    }
}

bool FolderExists(const std::string& path, long& errNumber)
{
    if (TrimBlanks(path).empty()) {
        return false;
    }
    std::string p = path;
    if (p.size() > 1 && p.back() == '/') {
        p.pop_back();
    }
    struct stat st {};
    if (stat(p.c_str(), &st) != 0) {
        errNumber = PathErr(errno);
    } else {
        errNumber = S_ISDIR(st.st_mode) ? 0 : kErrPathNotFound;
    }
    return errNumber == 0;
}

bool FileExists(const std::string& path, long& errNumber)
{
    errNumber = 0;
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        errNumber = FileErr(errno);
        return false;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        errNumber = kErrAccess;
    }
    close(fd);
    return errNumber == 0;
}

std::string GetTempFolder()
{
    const char* t = std::getenv("TMPDIR");
    return AddBackslash(t != nullptr && *t != '\0' ? t : "/tmp");
}

void SplitPath(const std::string& path, std::string& folder, std::string& baseName,
               std::string& ext)
{
    const auto sl = path.rfind('/');
    const auto dot = path.rfind('.');
    std::size_t begin = 0;
    std::size_t end = path.size();
    if (sl != std::string::npos) {
        if (dot != std::string::npos && dot > sl) {
            ext = path.substr(dot);
            end = dot;
        }
        folder = path.substr(0, sl + 1);
        begin = sl + 1;
    }
    baseName = path.substr(begin, end - begin);
}

std::string GetFileExtension(const std::string& name)
{
    const auto dot = name.rfind('.');
    if (dot == std::string::npos || name.find('/', dot) != std::string::npos) {
        return {};
    }
    return name.substr(dot + 1);
}

std::string SafeFileName(const std::string& name)
{
    std::string s = TrimBlanks(name);
    for (char& c : s) {
        if (std::string_view("*;\\/:?|><\"").find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    return s;
}

long ReadFaultNumber(ReadFault fault)
{
    switch (fault) {
    case ReadFault::None:
        return 0;
    case ReadFault::NotFound:
        return kErrFileNotFound;
    case ReadFault::PathNotFound:
        return kErrPathNotFound;
    case ReadFault::Permission:
        return kErrPermission;
    case ReadFault::ReadFailed:
        return kErrDeviceIO;
    default:
        return kErrAccess;
    }
}

const char* ReadFaultText(ReadFault fault)
{
    switch (fault) {
    case ReadFault::None:
        return "Read";
    case ReadFault::NotFound:
        return "File not found";
    case ReadFault::PathNotFound:
        return "Path not found";
    case ReadFault::Permission:
        return "Permission denied";
    case ReadFault::NotRegular:
        return "Not a regular file";
    case ReadFault::TooLarge:
        return "File too large";
    case ReadFault::ReadFailed:
        return "Device I/O error";
    default:
        return "Path/File access error";
    }
}

int OpenForReading(const std::string& path, std::uint64_t maxBytes, std::uint64_t& size,
                   ReadFault& fault)
{
    size = 0;
    // Without waiting: a named pipe opens at once whether or not anyone writes to it, and is
    // then refused below with every other file that is not a regular one.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        fault = OpenFault(errno, path);
        return -1;
    }
    struct stat st {};
    fault = ReadFault::None;
    if (fstat(fd, &st) != 0) {
        fault = ReadFault::ReadFailed;
    } else if (!S_ISREG(st.st_mode)) {
        fault = ReadFault::NotRegular;
    } else if (static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        fault = ReadFault::TooLarge;
    }
    if (fault != ReadFault::None) {
        close(fd);
        return -1;
    }
    size = static_cast<std::uint64_t>(st.st_size);
    return fd;
}

ReadFault ReadOpenFile(int fd, std::uint64_t size, std::uint64_t maxBytes, std::string& out)
{
    out.reserve(static_cast<std::size_t>(size));
    char buf[65536];
    for (;;) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n == 0) {
            return ReadFault::None;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return ReadFault::ReadFailed;
        }
        if (static_cast<std::uint64_t>(n) > maxBytes - out.size()) {
            return ReadFault::TooLarge;
        }
        out.append(buf, static_cast<std::size_t>(n));
    }
}

bool ReadFileBytes(const std::string& path, std::uint64_t maxBytes, std::string& bytes,
                   ReadFault& fault)
{
    std::uint64_t size = 0;
    const int fd = OpenForReading(path, maxBytes, size, fault);
    if (fd < 0) {
        return false;
    }
    std::string out;
    fault = ReadOpenFile(fd, size, maxBytes, out);
    close(fd);
    if (fault != ReadFault::None) {
        return false;
    }
    bytes = std::move(out);
    return true;
}

std::string ReadFileText(const std::string& path)
{
    if (path.empty()) {
        Raise(kErrAccess, "ReadFileText", path);
    }
    std::string bytes;
    ReadFault fault = ReadFault::None;
    if (ReadFileBytes(path, kMaxReadBytes, bytes, fault)) {
        return bytes;
    }
    if (fault == ReadFault::NotFound) {
        return {};
    }
    throw cError(ReadFaultNumber(fault), "ReadFileText",
                 std::string(ReadFaultText(fault)) + ": " + path);
}

bool WriteFileText(const std::string& path, const std::string& text)
{
    tLastWrite = WriteFailure{path, WriteCause::None, 0};
    if (path.empty()) {
        return Failed(WriteCause::System, ENOENT);
    }
    std::string target;
    int error = 0;
    if (const WriteCause refused = WriteTarget(path, target, error); refused != WriteCause::None) {
        return Failed(refused, error);
    }
    struct stat st {};
    if (lstat(target.c_str(), &st) != 0) {
        return errno == ENOENT ? ReplaceFile(target, text) : Failed(WriteCause::System, errno);
    }
    // A link still here (another user's, or one to nothing) is replaced itself.
    if (S_ISDIR(st.st_mode)) {
        return Failed(WriteCause::System, EISDIR);
    }
    if (!S_ISLNK(st.st_mode) && !S_ISREG(st.st_mode)) {
        return Failed(WriteCause::System, EINVAL);
    }
    // A file nobody may write (the read-only attribute) is not replaced.
    if (S_ISREG(st.st_mode) && ((st.st_mode & 0222) == 0 || access(target.c_str(), W_OK) != 0)) {
        return Failed(WriteCause::ReadOnly);
    }
    return ReplaceFile(target, text);
}

bool WriteFileText(const std::string& path, const std::string& text, std::uint64_t maxBytes)
{
    if (text.size() > maxBytes) {
        tLastWrite = WriteFailure{path, WriteCause::TooLarge, 0, maxBytes};
        return false;
    }
    return WriteFileText(path, text);
}

const WriteFailure& LastWriteFailure()
{
    return tLastWrite;
}

void IgnoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

bool IsRefusedLink(const std::string& path)
{
    std::string target;
    int error = 0;
    const WriteCause cause = path.empty() ? WriteCause::None : WriteTarget(path, target, error);
    return cause == WriteCause::RefusedLink || cause == WriteCause::TooManyLinks;
}

double GetFileDate(const std::string& path, int which)
{
    if (which < 0 || which > 2) {
        return kDate1900;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return kDate1601;
    }
    struct statx sx {};
    const bool ok = statx(fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &sx) == 0 &&
                    !S_ISDIR(sx.stx_mode);
    close(fd);
    if (!ok) {
        return kDate1601;
    }
    const struct statx_timestamp* ts = &sx.stx_atime;
    if (which == 0) {
        ts = (sx.stx_mask & STATX_BTIME) != 0 ? &sx.stx_btime : &sx.stx_ctime;
    } else if (which == 1) {
        ts = &sx.stx_mtime;
    }
    return DateFromUnixSeconds(ts->tv_sec);
}

cFixed GetFileSize64(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return cFixed();
    }
    struct stat st {};
    const bool ok = fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
    close(fd);
    return ok ? cFixed::fromWhole(st.st_size) : cFixed();
}

std::string TimeStampHexFromSeconds(std::int64_t secondsSince1900)
{
    if (secondsSince1900 < 0 || secondsSince1900 > 4294967294LL) {
        return {};
    }
    char buf[20];
    std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(secondsSince1900 + 1));
    return buf;
}

std::string TimeStampHex()
{
    const std::time_t now = std::time(nullptr);
    std::tm lt{};
    localtime_r(&now, &lt);
    const std::int64_t days =
        DaysFromCivil(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday) - DaysFromCivil(1900, 1, 1);
    return TimeStampHexFromSeconds(days * 86400 + lt.tm_hour * 3600 + lt.tm_min * 60 + lt.tm_sec);
}

} // namespace NUX_STD_library

namespace zvLib {

std::string EnsureFolder(const std::string& base, const std::string& sub)
{
    using namespace NUX_STD_library;
    std::string path = AddBackslash(base) + sub;
    long err = 0;
    if (!FolderExists(path, err)) {
        try {
            MakePath(path);
        } catch (...) {
            path = base;
        }
    }
    return AddBackslash(path);
}

} // namespace zvLib
