// NUX_STD_library, files side: folder texts, folder creation, existence tests, whole-file
// reads and atomic writes, file times and sizes, and the time-stamp names of temporary files.
// Folder texts handed between these functions end with "/". Error numbers follow the
// program's run-time errors (53 file not found, 70 permission denied, 75 path/file access
// error, 76 path not found).
#pragma once

#include "foundation/cFixed.h"

#include <cstdint>
#include <string>

namespace NUX_STD_library {

// The path with "/" appended unless it already ends with one; an empty path gives "/".
std::string AddBackslash(const std::string& path);
// Creates every missing folder of the path, level by level from the root; the caller's path
// receives its normalised form (with a trailing "/"). Nothing happens for an empty path. A
// folder that cannot be created raises cError (70, 75 or 76).
void MakePath(std::string& path);
// True when the path names an existing folder; errNumber gets 0 or the error number. A path
// of blanks gives false and leaves errNumber alone. The current folder is never changed.
bool FolderExists(const std::string& path, long& errNumber);
// True when the path names a file that can be opened for reading; errNumber gets 0 or the
// error number of the failed open (a folder gives 75).
bool FileExists(const std::string& path, long& errNumber);
// True when both paths name one existing file (the same device and inode, links followed as an
// open follows them), however they are spelt; false when either is missing. Never opens them.
bool SameFile(const std::string& a, const std::string& b);
// The system's temporary folder ($TMPDIR, else /tmp), ending with "/".
std::string GetTempFolder();
// The program's private temporary folder, ending with "/": $XDG_RUNTIME_DIR/Zorv when that is
// set, else the temporary folder's Zorv-<uid>, made with mode 0700. A folder there that is not
// the user's own or that others may write is passed over for a fresh private one beside it.
// Empty when no private folder can be made.
std::string PrivateTempFolder();
// Writes the bytes as a new file at the path (mode 0600): a file or link of that name is
// removed first, and the file is created exclusively, never through a symbolic link, so a link
// planted in between makes the write fail rather than follow it. False when it cannot be
// written (nothing is left at the path then).
bool WriteNewFile(const std::string& path, const std::string& bytes);
// Splits a path into its folder (up to and including the last "/"), base name and extension
// (from the last "." after the last "/", the dot included). Absent parts are not assigned.
void SplitPath(const std::string& path, std::string& folder, std::string& baseName,
               std::string& ext);
// The text after the last "." of the name; empty when there is none or a "/" follows it.
std::string GetFileExtension(const std::string& name);
// The name trimmed of blanks, with * ; \ / : ? | > < and the double quote replaced by "_".
std::string SafeFileName(const std::string& name);

// Why a file could not be read.
enum class ReadFault {
    None,         // read
    NotFound,     // no file of that name in an existing folder (53)
    PathNotFound, // a folder of the path is missing or is no folder (76)
    Permission,   // the user may not read it (70)
    NotRegular,   // a folder, a named pipe, a device or a socket (75)
    SystemFile,   // made up by the system as it is read: /proc, /sys and their kind (75)
    TooLarge,     // larger than the reader's bound (75)
    OpenFailed,   // any other failure of the open (75)
    ReadFailed,   // the read itself failed (57)
};
// The run-time error number of a fault (0 for None).
long ReadFaultNumber(ReadFault fault);
// The fault in a few words, such as "Not a regular file".
const char* ReadFaultText(ReadFault fault);

// The bound of a whole-file read whose caller names none of its own.
constexpr std::uint64_t kMaxReadBytes = std::uint64_t(256) << 20;

// The one way a file is opened for reading: at once, never waiting on a named pipe or a
// device, not handed to child processes, and only when it is a regular file of at most
// maxBytes that is stored, not made up by the system as it is read (a file of /proc, /sys,
// debugfs, cgroup and their kind, told by its file system, so a descriptor's link under /proc
// leads to the file it holds). Its descriptor (the caller closes it) with its size in size, or
// -1 with the cause in fault.
int OpenForReading(const std::string& path, std::uint64_t maxBytes, std::uint64_t& size,
                   ReadFault& fault);
// Reads a file opened by OpenForReading (size its size) to its end, appended to out, at most
// maxBytes in all; the fault when reading fails or goes past the bound. Memory: out is reserved
// once for size and 4 KiB more (at most up to the bound), and a file no longer than that when
// read is taken in without out moving: that buffer is the peak (with a 64 KiB block on the
// stack). A file that grows past it while read doubles out, up to the bound; at each move the
// old and the new buffer are held at once, so the peak is then below twice the bound.
ReadFault ReadOpenFile(int fd, std::uint64_t size, std::uint64_t maxBytes, std::string& out);
// The whole file as bytes through OpenForReading and ReadOpenFile, at most maxBytes of them (a
// file that grew past the bound is TooLarge); false with the cause in fault.
bool ReadFileBytes(const std::string& path, std::uint64_t maxBytes, std::string& bytes,
                   ReadFault& fault);
// A file of the system's own read whole for the program itself (such as /proc/self/status): a
// regular file, stored or made up by the system as it is read, opened as OpenForReading opens
// one, at most maxBytes, held in one buffer of maxBytes reserved at once (keep the bound
// small); false when it cannot be read or holds more.
bool ReadSystemFile(const std::string& path, std::size_t maxBytes, std::string& bytes);
// The whole file as bytes, at most kMaxReadBytes. A missing file in an existing folder gives ""
// and creates nothing; an empty path or any other fault raises cError with its number.
std::string ReadFileText(const std::string& path);
// Why a write failed: a system call's error, or a cause of the writer's own.
enum class WriteCause {
    None,         // no failure
    System,       // a system call failed; error holds its errno
    RefusedLink,  // a link of another user that may be neither followed nor replaced
    TooManyLinks, // links without end on the way
    ReadOnly,     // the file is there but the user may not write it
    NotOwner,     // the folder lets only the file's owner replace it (the sticky bit)
    NotRegular,   // a named pipe, a device or a socket is there, which is never replaced
    TooLarge,     // more bytes than the caller's bound (the most its reader takes back)
    Nameless,     // a link holds a file that has no name in any folder (deleted, in memory)
    Elsewhere,    // a link's text names another file than the one the link holds
};

// A new file written in place of the one at a path. The path is walked once, part by part
// from open folder descriptors, as the system's own lookup walks it: ".." goes up from the
// folder reached, and a name followed by "/" or "/." (in the path or in a link's text) must be
// a folder. A symbolic link of the user or of root is followed (at most 40) by its text, read
// whole, only where that text leads to the very file or folder the system reaches through the
// link, on the very mount (where the system tells mounts): a descriptor's link under /proc to a
// deleted or memory file (Nameless), or whose text now names another file or the same folder
// on another mount (Elsewhere: a folder of a process in another mount namespace, a folder
// since hidden below a mount), is refused. The file is written where the link leads,
// and a missing target of an ordinary link is made there when the system reaches nothing; a
// link of /proc (a descriptor's, cwd, root, exe, map_files: told by OnProcFileSystem of the
// folder it lies in), which the system follows to what it holds and never by its text, is refused
// with the open's own error (System) when the system reaches nothing through it. A final link that
// leads to anything but a regular file or a folder (a pipe, a device, a descriptor's link under
// /proc to one) is refused. Another user's link to a folder on the way is refused, and another
// user's final link is replaced itself where its folder allows, else refused. A path as long
// as the system's path limit is refused before anything is done. The hidden file is then made in
// the final folder (mode 0600), written, and renamed over the target, or removed, through
// that folder's descriptor alone. Just before the rename it takes the replaced regular file's
// permission bits (& 0777) and group, and for root its owner too; where the owner cannot be
// kept, without world-write. In place of anything else it gets the mode of any new file of the
// user (0666 under the umask).
class cFileReplacement {
  public:
    // Walks the path and makes the hidden file, named with the suffix (".tmp", ".part").
    cFileReplacement(const std::string& path, const char* suffix);
    // Removes the hidden file unless it took the target's place.
    ~cFileReplacement();
    cFileReplacement(const cFileReplacement&) = delete;
    cFileReplacement& operator=(const cFileReplacement&) = delete;
    // Appends the bytes to the hidden file; false (and the hidden file gone) when that fails.
    bool Write(const char* data, std::size_t size);
    // Flushes the hidden file, gives it its owner, group and mode and renames it over the
    // target; false when any of it fails (the target is then left as it was).
    bool Commit();
    // Why the replacement failed (None while it has not).
    WriteCause Cause() const { return cause_; }
    // The errno of the failed call for WriteCause::System.
    int Error() const { return error_; }

  private:
    void MakeHiddenFile(const char* suffix);
    void Fail(WriteCause cause, int error);
    void Discard();

    int folder_ = -1;    // the final folder, opened by the walk
    int fd_ = -1;        // the hidden file while it is written
    std::string name_;   // the target's name in the folder
    std::string hidden_; // the hidden file's name while it is there
    WriteCause cause_ = WriteCause::None;
    int error_ = 0;
};

// Writes the bytes as the whole file through a cFileReplacement (hidden file "*.tmp"). False
// on any failure (a refused link, a read-only or unwritable target, a missing folder, a folder
// or anything but a regular file in the way, a name ending with "/", a full disk), with its
// cause kept for LastWriteFailure; the old file is then left untouched.
bool WriteFileText(const std::string& path, const std::string& text);
// WriteFileText for a file whose reader takes at most maxBytes: a longer text is refused
// before anything is touched, with the cause TooLarge and the bound kept for LastWriteFailure.
bool WriteFileText(const std::string& path, const std::string& text, std::uint64_t maxBytes);
// The cause of the last failed WriteFileText of this thread, for the path it was given.
struct WriteFailure {
    std::string path;                    // the path as the caller gave it
    WriteCause cause = WriteCause::None; // None after a write that succeeded
    int error = 0;                       // the errno for WriteCause::System
    std::uint64_t limit = 0;             // the bound for WriteCause::TooLarge
};
// The outcome of this thread's last WriteFileText.
const WriteFailure& LastWriteFailure();
// Lets a write beyond the file-size limit fail with an error instead of ending the process.
void IgnoreFileSizeSignal();
// True when the open descriptor lies on a mount of the proc file system, as the process's own
// mount table tells it: nothing is asked of the file system the descriptor lies on, so a FUSE
// server that answers by following links, or that is busy or stopped, is never waited on.
// False when the table cannot tell (no /proc to read, a descriptor not open).
bool OnProcFileSystem(int fd);
// True when WriteFileText refuses the path for a link of another user that may be neither
// followed nor replaced, or for links without end.
bool IsRefusedLink(const std::string& path);
// One time of the file as a date value in UTC, whole seconds: which 0 creation (the change
// time where the file system keeps no birth time), 1 last write, 2 last access. A file that
// cannot be opened gives 1601-01-01; any other value of which gives 1900-01-01.
double GetFileDate(const std::string& path, int which);
// The size of the file in bytes (1000 bytes give 1000.0000); 0 when it cannot be opened.
cFixed GetFileSize64(const std::string& path);
// The current local time as upper-case hexadecimal of 1 + the seconds since 1900-01-01;
// empty from 2036-02-07 06:28:15 on. Names temporary files and annotation objects.
std::string TimeStampHex();
// The time-stamp name for a given count of seconds since 1900-01-01 (local time).
std::string TimeStampHexFromSeconds(std::int64_t secondsSince1900);

} // namespace NUX_STD_library

namespace zvLib {

// The folder base & sub, created with every missing parent when needed; the base folder
// when it cannot be made. The result ends with "/" and the call never fails.
std::string EnsureFolder(const std::string& base, const std::string& sub);

} // namespace zvLib
