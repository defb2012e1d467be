// NUX_STD_library, files side: folders, existence tests, the one whole-file reader, file
// times and sizes, time-stamp names. Existence, times and sizes are told from what a path
// names, never by opening it; the process's current folder is never changed. The one writer
// is in NUX_STD_filewriter.cpp.
#include "foundation/NUX_STD_files.h"

#include "foundation/cError.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>
#include <utility>

namespace NUX_STD_library {

namespace {

constexpr int kErrFileNotFound = 53;
constexpr int kErrPermission = 70;
constexpr int kErrAccess = 75;
constexpr int kErrPathNotFound = 76;
constexpr int kErrDeviceIO = 57;

// A whole-file read takes the file in blocks of this size, into a buffer reserved for the
// file's size and this margin more.
constexpr std::size_t kReadBlock = 65536;
constexpr std::uint64_t kReadMargin = 4096;

// The files a read takes: stored ones only, or the system's own made up as they are read.
enum class FileKind { Stored, System };

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

// True when the user may read the file at the path (errno tells why not), found out without
// opening it.
bool MayRead(const std::string& path)
{
    return faccessat(AT_FDCWD, path.c_str(), R_OK, AT_EACCESS) == 0;
}

// Why a file of that kind and size is not read; None when it is.
ReadFault FileRefusal(const struct stat& st, std::uint64_t maxBytes)
{
    if (!S_ISREG(st.st_mode)) {
        return ReadFault::NotRegular;
    }
    return static_cast<std::uint64_t>(st.st_size) > maxBytes ? ReadFault::TooLarge
                                                             : ReadFault::None;
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

// The file systems whose files the system makes up as they are read, told by their magic
// numbers: such a file says it is regular, of a size of 0 or of one page, and may give bytes
// without end.
bool MadeUpAsRead(const struct statfs& fs)
{
    switch (static_cast<std::uint32_t>(fs.f_type)) {
    case 0x9fa0:     // proc
    case 0x62656572: // sysfs
    case 0x64626720: // debugfs
    case 0x74726163: // tracefs
    case 0x73636673: // securityfs
    case 0x0027e0eb: // cgroup
    case 0x63677270: // cgroup2
    case 0x62656570: // configfs
    case 0xcafe4a11: // bpf
    case 0x6165676c: // pstore
    case 0xde5e81e4: // efivarfs
    case 0x65735543: // fusectl
    case 0x42494e4d: // binfmt_misc
    case 0xf97cff8c: // selinuxfs
    case 0x43415d53: // smackfs
    case 0x07655821: // resctrl
    case 0x19800202: // mqueue
    case 0x6e667364: // nfsd
    case 0x67596969: // rpc_pipefs
    case 0x9fa1:     // openpromfs
    case 0x9fa2:     // usbdevfs
    case 0xabba1974: // xenfs
        return true;
    default:
        return false;
    }
}

// Why the file a descriptor names (opened O_PATH) is not read; None when it is. Only a
// regular file of at most maxBytes is, and only a stored one unless the system's own files
// are asked for: the file system tells, never the text of the path.
ReadFault NamedFileRefusal(int named, std::uint64_t maxBytes, FileKind kind, struct stat& st)
{
    if (fstat(named, &st) != 0) {
        return ReadFault::ReadFailed;
    }
    const ReadFault refusal = FileRefusal(st, maxBytes);
    if (refusal != ReadFault::None || kind == FileKind::System) {
        return refusal;
    }
    struct statfs fs {};
    if (fstatfs(named, &fs) != 0) {
        return ReadFault::OpenFailed;
    }
    return MadeUpAsRead(fs) ? ReadFault::SystemFile : ReadFault::None;
}

// The one open for reading behind OpenForReading and ReadSystemFile.
int OpenFile(const std::string& path, std::uint64_t maxBytes, FileKind kind, std::uint64_t& size,
             ReadFault& fault)
{
    size = 0;
    // First a descriptor that only names the file: what it is decides, and a named pipe or a
    // device is refused without ever being opened. A descriptor's link under /proc is
    // followed to the file it holds, whose own file system is then seen.
    const int named = open(path.c_str(), O_PATH | O_CLOEXEC);
    if (named < 0) {
        fault = OpenFault(errno, path);
        return -1;
    }
    struct stat st {};
    fault = NamedFileRefusal(named, maxBytes, kind, st);
    if (fault != ReadFault::None) {
        close(named);
        return -1;
    }
    // That very file is then opened for reading through its descriptor; where the system
    // shows no descriptors, by its path again, checked below to be the same file.
    const std::string self = "/proc/self/fd/" + std::to_string(named);
    constexpr int kRead = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int fd = open(self.c_str(), kRead);
    if (fd < 0 && errno == ENOENT) {
        fd = open(path.c_str(), kRead);
    }
    const int openError = errno;
    close(named);
    if (fd < 0) {
        fault = OpenFault(openError, path);
        return -1;
    }
    struct stat now {};
    fault = fstat(fd, &now) != 0 ? ReadFault::ReadFailed : FileRefusal(now, maxBytes);
    if (fault == ReadFault::None && (now.st_dev != st.st_dev || now.st_ino != st.st_ino)) {
        fault = ReadFault::NotRegular; // replaced in between by something else
    }
    if (fault != ReadFault::None) {
        close(fd);
        return -1;
    }
    size = static_cast<std::uint64_t>(now.st_size);
    return fd;
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
    // Decided from what the path names, never by opening it: opening a named pipe or a
    // device can act on it.
    errNumber = 0;
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        errNumber = FileErr(errno);
    } else if (!S_ISREG(st.st_mode)) {
        errNumber = kErrAccess;
    } else if (!MayRead(path)) {
        errNumber = FileErr(errno);
    }
    return errNumber == 0;
}

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa {};
    struct stat sb {};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
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
    case ReadFault::SystemFile:
        return "Made up by the system as it is read, not a stored file";
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
    return OpenFile(path, maxBytes, FileKind::Stored, size, fault);
}

ReadFault ReadOpenFile(int fd, std::uint64_t size, std::uint64_t maxBytes, std::string& out)
{
    // The bound holds for what is read, whatever size the file claimed. The buffer is
    // reserved once for the size and a margin, so a file that does not grow past that while
    // it is read is never moved; one that does grows by doubling, up to the bound.
    const std::uint64_t room = out.size() < maxBytes ? maxBytes - out.size() : 0;
    const bool marginFits = size < room && room - size > kReadMargin;
    out.reserve(out.size() + static_cast<std::size_t>(marginFits ? size + kReadMargin : room));
    char buf[kReadBlock];
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
        if (static_cast<std::uint64_t>(out.size()) + static_cast<std::uint64_t>(n) > maxBytes) {
            return ReadFault::TooLarge;
        }
        if (out.size() + static_cast<std::size_t>(n) > out.capacity()) {
            const std::uint64_t doubled = std::max<std::uint64_t>(out.capacity() * 2, kReadBlock);
            out.reserve(static_cast<std::size_t>(std::min(doubled, maxBytes)));
        }
        out.append(buf, static_cast<std::size_t>(n));
    }
}

namespace {

// Reads a file opened by OpenFile whole (reserve the bytes to hold at first) and closes it;
// bytes get what was read only when all of it was.
ReadFault ReadAndClose(int fd, std::uint64_t reserve, std::uint64_t maxBytes, std::string& bytes)
{
    std::string out;
    const ReadFault fault = ReadOpenFile(fd, reserve, maxBytes, out);
    close(fd);
    if (fault == ReadFault::None) {
        bytes = std::move(out);
    }
    return fault;
}

} // namespace

bool ReadFileBytes(const std::string& path, std::uint64_t maxBytes, std::string& bytes,
                   ReadFault& fault)
{
    std::uint64_t size = 0;
    const int fd = OpenForReading(path, maxBytes, size, fault);
    if (fd >= 0) {
        fault = ReadAndClose(fd, size, maxBytes, bytes);
    }
    return fault == ReadFault::None;
}

bool ReadSystemFile(const std::string& path, std::size_t maxBytes, std::string& bytes)
{
    std::uint64_t size = 0;
    ReadFault fault = ReadFault::None;
    const int fd = OpenFile(path, maxBytes, FileKind::System, size, fault);
    // What the system shows is made as it is read and its size says nothing: the buffer is
    // the bound's, reserved at once, and never moves.
    return fd >= 0 && ReadAndClose(fd, maxBytes, maxBytes, bytes) == ReadFault::None;
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

double GetFileDate(const std::string& path, int which)
{
    if (which < 0 || which > 2) {
        return kDate1900;
    }
    struct statx sx {};
    if (statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0 ||
        !S_ISREG(sx.stx_mode) || !MayRead(path)) {
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
    struct stat st {};
    const bool ok = stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && MayRead(path);
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
