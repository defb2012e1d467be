// NUX_STD_library, the one file writer: a path is walked once, part by part from open folder
// descriptors as the system's own lookup walks it, deciding every link on what is there at
// that moment; the private hidden file, its rename over the target and its removal on failure
// then act through the final folder's descriptor, so a folder swapped for a link half-way can
// never send a write elsewhere.
#include "foundation/NUX_STD_files.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace NUX_STD_library {

namespace {

// The most symbolic links one walk follows, as the system's own path lookup allows.
constexpr int kMostLinks = 40;

// The outcome of this thread's last WriteFileText.
thread_local WriteFailure tLastWrite;

// Records why the write failed; always false.
bool Failed(WriteCause cause, int error = 0)
{
    tLastWrite.cause = cause;
    tLastWrite.error = error;
    return false;
}

// The errno of a call that failed, never 0.
int LastError()
{
    return errno != 0 ? errno : EIO;
}

// An open descriptor, closed with its owner.
class cFd {
  public:
    explicit cFd(int fd = -1) : fd_(fd) {}
    ~cFd() { Reset(); }
    cFd(cFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    cFd& operator=(cFd&& other) noexcept
    {
        if (this != &other) {
            Reset(std::exchange(other.fd_, -1));
        }
        return *this;
    }
    cFd(const cFd&) = delete;
    cFd& operator=(const cFd&) = delete;
    int get() const { return fd_; }
    // Hands the descriptor over to the caller, who closes it.
    int Release() { return std::exchange(fd_, -1); }
    void Reset(int fd = -1)
    {
        if (fd_ >= 0) {
            close(fd_);
        }
        fd_ = fd;
    }

  private:
    int fd_;
};

// A folder opened only to name what is in it (no read access needed).
cFd OpenFolderAt(int at, const char* name)
{
    return cFd(openat(at, name, O_PATH | O_DIRECTORY | O_CLOEXEC));
}

// True when a write may go through the link: only a link of this user or of root. Anybody
// else's link, in whatever folder, could send the write to a file of their choosing.
bool MayFollowLink(const struct stat& linkStat)
{
    return linkStat.st_uid == geteuid() || linkStat.st_uid == 0;
}

// True when the user may put a new file in place of the entry in the open folder: the folder
// may be written and, when sticky, the folder or the entry is the user's (or the user is root).
bool MayReplaceEntry(int folder, const struct stat& entry)
{
    struct stat st {};
    if (fstat(folder, &st) != 0 || faccessat(folder, ".", W_OK | X_OK, AT_EACCESS) != 0) {
        return false;
    }
    const uid_t me = geteuid();
    return (st.st_mode & S_ISVTX) == 0 || me == 0 || st.st_uid == me || entry.st_uid == me;
}

// Puts the parts of a path in front of the parts still to walk, in their order: the names
// between its "/", without empty ones and ".", except that a path ending with "/" or "/." (or
// that is ".") ends with the part ".", so that the name before it must be a folder, as for the
// system's own lookup. ".." is kept: it goes up from the folder actually reached.
void PushParts(const std::string& text, std::deque<std::string>& parts)
{
    std::vector<std::string> found;
    std::size_t end = 0;
    for (std::size_t begin = 0; begin <= text.size(); begin = end + 1) {
        end = text.find('/', begin);
        if (end == std::string::npos) {
            end = text.size();
        }
        const bool lastPart = end == text.size();
        if (end > begin && text.compare(begin, end - begin, ".") != 0) {
            found.push_back(text.substr(begin, end - begin));
        } else if (lastPart) {
            found.emplace_back(".");
        }
    }
    parts.insert(parts.begin(), found.begin(), found.end());
}

// Where a write lands: an open folder and the name of the entry in it.
struct cEntry {
    cFd folder;
    std::string name;
};

// A file or folder as a walk reaches it: the file (device and inode) and, where the system
// tells it, the mount it is reached on. One folder may lie below other mounts in another mount
// namespace, or below a mount made over it since a descriptor of it was opened.
struct cReached {
    dev_t dev = 0;
    ino_t ino = 0;
    mode_t mode = 0;
    std::uint64_t mount = 0; // the mount's number, where hasMount
    bool hasMount = false;
};

// What at and name lead to (flags as for statx: AT_EMPTY_PATH for the descriptor itself, 0 to
// follow a final link); false with errno set when the system cannot tell. Where the system
// has no statx, the file alone is told, without its mount.
bool Reach(int at, const char* name, int flags, cReached& out)
{
    struct statx sx {};
    if (statx(at, name, flags, STATX_TYPE | STATX_INO | STATX_MNT_ID, &sx) == 0) {
        out = cReached{makedev(sx.stx_dev_major, sx.stx_dev_minor), sx.stx_ino, sx.stx_mode,
                       sx.stx_mnt_id, (sx.stx_mask & STATX_MNT_ID) != 0};
        return true;
    }
    struct stat st {};
    if (errno != ENOSYS || fstatat(at, name, &st, flags) != 0) {
        return false;
    }
    out = cReached{st.st_dev, st.st_ino, st.st_mode, 0, false};
    return true;
}

// True when the two are one file reached on one mount (as far as the system tells mounts).
bool SameFile(const cReached& a, const cReached& b)
{
    return a.dev == b.dev && a.ino == b.ino && (!a.hasMount || !b.hasMount || a.mount == b.mount);
}

// What the system's own lookup reached through a link that the walk follows by its text:
// once the parts of the text are walked (when as many parts are left as before them), the walk
// must stand on that very file, on that very mount. The descriptor keeps both alive until
// then, so that a file of /proc keeps its inode number and no mount's number is given again.
struct cLinkCheck {
    std::size_t partsLeft; // the parts left after the link's text
    cFd reached;           // what an open through the link reached
    cReached at;           // and its file and mount
};

// One walk of a path to the entry a write replaces: the state between its steps.
class cWalk {
  public:
    explicit cWalk(const std::string& path)
        : dir_(OpenFolderAt(AT_FDCWD, path[0] == '/' ? "/" : "."))
    {
        PushParts(path, rest_);
    }
    // Walks to the end; the cause when the write is refused (error gets a failed call's errno).
    WriteCause Run(cEntry& found, int& error);

  private:
    WriteCause Step(const std::string& part, bool last, cEntry& found, bool& done, int& error);
    WriteCause OwnLink(const std::string& part, bool last, const cFd& link, int& error);
    WriteCause FollowLink(const cFd& link, int& error);
    WriteCause CheckFolderReached();
    WriteCause CheckEntryReached(const cEntry& found);

    cFd dir_;
    std::deque<std::string> rest_;
    std::vector<cLinkCheck> checks_;
    int links_ = 0;
};

WriteCause cWalk::Run(cEntry& found, int& error)
{
    if (dir_.get() < 0) {
        error = LastError();
        return WriteCause::System;
    }
    bool done = false;
    while (!done) {
        const std::string part = rest_.front();
        rest_.pop_front();
        WriteCause cause = Step(part, rest_.empty(), found, done, error);
        if (cause == WriteCause::None) {
            cause = done ? CheckEntryReached(found) : CheckFolderReached();
        }
        if (cause != WriteCause::None) {
            return cause;
        }
    }
    return WriteCause::None;
}

// Where the text of a link that led on to a folder is walked to its end, the walk must stand
// on the folder the system reached through the link.
WriteCause cWalk::CheckFolderReached()
{
    while (!checks_.empty() && checks_.back().partsLeft == rest_.size()) {
        cReached here;
        if (!Reach(dir_.get(), "", AT_EMPTY_PATH, here) || !SameFile(here, checks_.back().at)) {
            return WriteCause::Elsewhere;
        }
        checks_.pop_back();
    }
    return WriteCause::None;
}

// The entry the write replaces must be the file the system reached through every final link
// on the way (followed, as the system follows it); where the links' texts name nothing while
// the system reached a file, that file has no name the write could go by.
WriteCause cWalk::CheckEntryReached(const cEntry& found)
{
    if (checks_.empty()) {
        return WriteCause::None;
    }
    cReached entry;
    if (!Reach(found.folder.get(), found.name.c_str(), 0, entry)) {
        return errno == ENOENT ? WriteCause::Nameless : WriteCause::Elsewhere;
    }
    for (const cLinkCheck& check : checks_) {
        if (!SameFile(entry, check.at)) {
            return WriteCause::Elsewhere;
        }
    }
    return WriteCause::None;
}

// One part of the path: the entry is opened itself (never through a link), and what it is
// decides the next step, so nothing can change between the look and the use.
WriteCause cWalk::Step(const std::string& part, bool last, cEntry& found, bool& done, int& error)
{
    cFd entry(openat(dir_.get(), part.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (entry.get() < 0 || fstat(entry.get(), &st) != 0) {
        error = LastError();
        done = true;
        // A missing last part is the new file, wherever the links on the way led.
        if (error == ENOENT && last) {
            found = cEntry{std::move(dir_), part};
            return WriteCause::None;
        }
        return WriteCause::System;
    }
    if (S_ISLNK(st.st_mode)) {
        if (!MayFollowLink(st)) {
            // Another user's link to a folder on the way is refused; the last one is replaced.
            done = true;
            if (!last || !MayReplaceEntry(dir_.get(), st)) {
                return WriteCause::RefusedLink;
            }
            found = cEntry{std::move(dir_), part};
            return WriteCause::None;
        }
        const WriteCause refusal = OwnLink(part, last, entry, error);
        done = refusal != WriteCause::None;
        return refusal;
    }
    if (last) {
        found = cEntry{std::move(dir_), part};
        done = true;
        return WriteCause::None;
    }
    if (!S_ISDIR(st.st_mode)) {
        error = ENOTDIR;
        return WriteCause::System;
    }
    dir_ = std::move(entry);
    return WriteCause::None;
}

// The most bytes of the mount table read to tell a folder's file system (some 100000 mounts).
constexpr std::size_t kMostMountTable = std::size_t(16) << 20;

// The file system type of the mount numbered id in a mount table ("/proc/self/mountinfo"
// lines: the mount's number first, the type after the field " - "); empty when not listed.
std::string MountType(const std::string& table, unsigned long id)
{
    const std::string number = std::to_string(id) + " ";
    for (std::size_t line = 0; line < table.size();) {
        std::size_t end = table.find('\n', line);
        end = end == std::string::npos ? table.size() : end;
        if (table.compare(line, number.size(), number) == 0) {
            const std::size_t dash = table.find(" - ", line);
            if (dash == std::string::npos || dash >= end) {
                return {};
            }
            const std::size_t type = dash + 3;
            const std::size_t typeEnd = std::min(table.find(' ', type), end);
            return table.substr(type, typeEnd - type);
        }
        line = end + 1;
    }
    return {};
}

} // namespace

bool OnProcFileSystem(int fd)
{
    if (fd < 0) {
        return false;
    }
    // Both come from what the system holds of this process: the descriptor's mount and the
    // mounts' types. The descriptor keeps its mount in the table while it is open.
    std::string info;
    if (!ReadSystemFile("/proc/self/fdinfo/" + std::to_string(fd), 4096, info)) {
        return false;
    }
    const std::size_t at = info.find("\nmnt_id:");
    unsigned long id = 0;
    if (at == std::string::npos || std::sscanf(info.c_str() + at, "\nmnt_id: %lu", &id) != 1) {
        return false;
    }
    std::string table;
    return ReadSystemFile("/proc/self/mountinfo", kMostMountTable, table) &&
           MountType(table, id) == "proc";
}

namespace {

// A link of the user or of root, judged on what the system's own lookup reaches through it:
// where the last part of the path leads to a pipe, a terminal, a socket or a device (also
// through a descriptor's link under /proc), the write is refused; otherwise the walk goes on
// along the link's text, which must lead to that same file or folder. Where the system reaches
// nothing through an ordinary link, the text tells what is missing, or names the new file;
// through a link of /proc (told by the folder it lies in, never by asking about the link: a
// FUSE server would answer that by following the link), the write is refused for the open's
// own error.
WriteCause cWalk::OwnLink(const std::string& part, bool last, const cFd& link, int& error)
{
    cFd reached(openat(dir_.get(), part.c_str(), O_PATH | O_CLOEXEC));
    cReached at;
    if (reached.get() < 0 || !Reach(reached.get(), "", AT_EMPTY_PATH, at)) {
        const int failed = LastError();
        if (OnProcFileSystem(dir_.get())) {
            error = failed;
            return WriteCause::System;
        }
        return FollowLink(link, error);
    }
    if (last && !S_ISREG(at.mode) && !S_ISDIR(at.mode)) {
        return WriteCause::NotRegular;
    }
    checks_.push_back(cLinkCheck{rest_.size(), std::move(reached), at});
    return FollowLink(link, error);
}

// The whole text of the opened link. The size the system gives a link may be less than its
// text (64 for every descriptor's link under /proc), so the text is read until it fits.
bool ReadLinkText(const cFd& link, std::string& text, int& error)
{
    for (std::size_t size = 256;; size *= 2) {
        text.assign(size, '\0');
        const ssize_t n = readlinkat(link.get(), "", text.data(), text.size());
        if (n < 0) {
            error = LastError();
            return false;
        }
        if (n == 0) {
            error = ENOENT; // an empty text leads nowhere
            return false;
        }
        if (static_cast<std::size_t>(n) < size) {
            text.resize(static_cast<std::size_t>(n));
            return true;
        }
        if (size >= PATH_MAX) {
            error = ENAMETOOLONG;
            return false;
        }
    }
}

// Goes on along the text of a link of the user or of root, read from the link just opened.
WriteCause cWalk::FollowLink(const cFd& link, int& error)
{
    if (++links_ > kMostLinks) {
        return WriteCause::TooManyLinks;
    }
    std::string text;
    if (!ReadLinkText(link, text, error)) {
        return WriteCause::System;
    }
    if (text[0] == '/') {
        dir_ = OpenFolderAt(AT_FDCWD, "/");
        if (dir_.get() < 0) {
            error = LastError();
            return WriteCause::System;
        }
    }
    PushParts(text, rest_);
    return WriteCause::None;
}

// The process's file-creation mask, read without changing it where the system tells it.
mode_t CurrentUmask()
{
    std::string status;
    if (ReadSystemFile("/proc/self/status", std::size_t(64) << 10, status)) {
        const std::size_t at = status.find("\nUmask:");
        unsigned mask = 0;
        if (at != std::string::npos &&
            std::sscanf(status.c_str() + at, "\nUmask: %o", &mask) == 1) {
            return static_cast<mode_t>(mask);
        }
    }
    static std::mutex guard;
    const std::lock_guard<std::mutex> lock(guard);
    const mode_t mask = umask(022);
    umask(mask);
    return mask;
}

// Gives the new file the owner, group and mode it keeps in place of the entry: a replaced
// regular file keeps its permission bits and group whoever owns it, and root keeps its owner
// too; where the owner cannot be kept the bits lose world-write. Anything else (nothing there,
// a link replaced itself) gets the mode of any new file of the user. Never a set-id or sticky
// bit. False when the mode of a replaced file cannot be given.
bool GiveKeptMode(int fd, int folder, const std::string& name)
{
    struct stat old {};
    if (fstatat(folder, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(old.st_mode)) {
        // A file system without modes of its own (a memory stick) may refuse the change; the
        // new file then keeps the private mode it was made with.
        [[maybe_unused]] const int given = fchmod(fd, 0666 & ~CurrentUmask());
        return true;
    }
    // A change of owner or group may fail (a group the user is not in): the file then stays
    // the user's, in the user's group.
    const uid_t owner = geteuid() == 0 ? old.st_uid : static_cast<uid_t>(-1);
    [[maybe_unused]] const int kept = fchown(fd, owner, old.st_gid);
    struct stat made {};
    if (fstat(fd, &made) != 0) {
        return false;
    }
    mode_t bits = old.st_mode & 0777;
    if (made.st_uid != old.st_uid) {
        bits &= ~static_cast<mode_t>(S_IWOTH);
    }
    return fchmod(fd, bits) == 0;
}

// The cause of a refused rename over the entry: a link of another user, another user's file
// in a sticky folder, or the error itself.
WriteCause RenameRefusal(int folder, const std::string& name, int error)
{
    struct stat st {};
    if ((error != EPERM && error != EACCES) ||
        fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        return WriteCause::System;
    }
    if (S_ISLNK(st.st_mode)) {
        return WriteCause::RefusedLink;
    }
    struct stat dir {};
    const bool sticky = fstat(folder, &dir) == 0 && (dir.st_mode & S_ISVTX) != 0;
    return sticky && st.st_uid != geteuid() ? WriteCause::NotOwner : WriteCause::System;
}

// Why the entry found may not be replaced by a new file; None when it may.
WriteCause EntryRefusal(int folder, const std::string& name, int& error)
{
    struct stat st {};
    if (fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        error = LastError();
        return error == ENOENT ? WriteCause::None : WriteCause::System;
    }
    // A link still here (another user's, where its folder allows) is replaced itself.
    if (S_ISLNK(st.st_mode)) {
        return WriteCause::None;
    }
    if (S_ISDIR(st.st_mode)) {
        error = EISDIR;
        return WriteCause::System;
    }
    if (!S_ISREG(st.st_mode)) {
        return WriteCause::NotRegular;
    }
    // A file nobody may write (the read-only attribute) is not replaced.
    if ((st.st_mode & 0222) == 0 || faccessat(folder, name.c_str(), W_OK, AT_EACCESS) != 0) {
        return WriteCause::ReadOnly;
    }
    return WriteCause::None;
}

} // namespace

cFileReplacement::cFileReplacement(const std::string& path, const char* suffix)
{
    if (path.empty()) {
        Fail(WriteCause::System, ENOENT);
        return;
    }
    if (path.back() == '/') {
        // A name ending with "/" names a folder, never a file to be made.
        Fail(WriteCause::System, EISDIR);
        return;
    }
    if (path.size() >= PATH_MAX) {
        // The system opens no path this long: what is saved by it could not be opened again.
        Fail(WriteCause::System, ENAMETOOLONG);
        return;
    }
    cEntry entry;
    int error = 0;
    WriteCause cause = cWalk(path).Run(entry, error);
    if (cause == WriteCause::None) {
        cause = EntryRefusal(entry.folder.get(), entry.name, error);
    }
    if (cause != WriteCause::None) {
        Fail(cause, error);
        return;
    }
    folder_ = entry.folder.Release();
    name_ = std::move(entry.name);
    MakeHiddenFile(suffix);
}

void cFileReplacement::MakeHiddenFile(const char* suffix)
{
    std::random_device rd;
    std::mt19937_64 gen(rd());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, ".zorv-%016llx%s", static_cast<unsigned long long>(gen()),
                      suffix);
        // Private while it is written: no group or other bits until it takes its place.
        fd_ = openat(folder_, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd_ >= 0) {
            hidden_ = name;
            return;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    Fail(WriteCause::System, LastError());
}

cFileReplacement::~cFileReplacement()
{
    Discard();
    if (folder_ >= 0) {
        close(folder_);
    }
}

void cFileReplacement::Discard()
{
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
    if (!hidden_.empty()) {
        unlinkat(folder_, hidden_.c_str(), 0);
        hidden_.clear();
    }
}

void cFileReplacement::Fail(WriteCause cause, int error)
{
    if (cause_ == WriteCause::None) {
        cause_ = cause;
        error_ = error;
    }
    Discard();
}

bool cFileReplacement::Write(const char* data, std::size_t size)
{
    std::size_t done = 0;
    while (fd_ >= 0 && done < size) {
        const ssize_t n = write(fd_, data + done, size - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n == 0 || errno != EINTR) {
            Fail(WriteCause::System, n == 0 ? EIO : LastError());
        }
    }
    return fd_ >= 0;
}

bool cFileReplacement::Commit()
{
    if (fd_ < 0) {
        return false;
    }
    const int folder = folder_;
    if (fsync(fd_) != 0 || !GiveKeptMode(fd_, folder, name_)) {
        Fail(WriteCause::System, LastError());
        return false;
    }
    const int fd = std::exchange(fd_, -1);
    if (close(fd) != 0) {
        Fail(WriteCause::System, LastError());
        return false;
    }
    if (renameat(folder, hidden_.c_str(), folder, name_.c_str()) != 0) {
        const int error = LastError();
        Fail(RenameRefusal(folder, name_, error), error);
        return false;
    }
    hidden_.clear();
    // The rename itself is made lasting where the folder can be opened to be flushed.
    const cFd flush(openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (flush.get() >= 0) {
        fsync(flush.get());
    }
    return true;
}

bool WriteFileText(const std::string& path, const std::string& text)
{
    tLastWrite = WriteFailure{path, WriteCause::None, 0};
    cFileReplacement file(path, ".tmp");
    if (!file.Write(text.data(), text.size()) || !file.Commit()) {
        return Failed(file.Cause(), file.Error());
    }
    return true;
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
    if (path.empty()) {
        return false;
    }
    cEntry entry;
    int error = 0;
    const WriteCause cause = cWalk(path).Run(entry, error);
    return cause == WriteCause::RefusedLink || cause == WriteCause::TooManyLinks;
}

} // namespace NUX_STD_library
