// The file writer's walk against the system's own lookup: small random trees of folders, files,
// pipes, sockets and the user's own links are made twice, and each random path is saved by
// WriteFileText in one twin and opened by open(O_CREAT | O_TRUNC) and written in the other; both
// must land on the same entry or be refused for the same kind of reason, changing nothing else.
#include "foundation/NUX_STD_files.h"
#include "support/TestSupport.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace NUX_STD_library;

namespace {

// The seed of every random tree and path; a failure names it with the tree and the path.
constexpr unsigned kSeed = 51017;
// The trees of one run, and the paths tried in each.
constexpr int kTrees = 16;
constexpr int kPathsPerTree = 24;
// Folders above each twin's root: more than the ".." of a path and the links it meets climb.
constexpr int kPadding = 6;
// The ordinary user the comparison runs as when the tests run as root.
constexpr uid_t kOtherUser = 12345;
// The failures told in full; the rest are only counted.
constexpr std::size_t kMostToldFailures = 12;
// The names of the trees' entries. Paths and links name these, "x" (never made) and the link
// kOver only, never a padding folder, so a walk that climbs above the root finds nothing there.
const char* const kNames[] = {"a", "b", "c", "d", "e"};
// The root's link to the root itself in some trees: a path through it over and over meets as
// many links as the system follows in one lookup, or one more.
const char* const kOver = "o";
// The most links the system follows in one lookup.
constexpr std::size_t kMostLinks = 40;

// What an entry of a random tree is.
enum class Type { Folder, File, ReadOnlyFile, Pipe, Socket, Link };

// One entry of a random tree: its path below the root, and a file's bytes or a link's text (a
// text starting with "/" names a place below the twin's own root, which is put before it).
struct Entry {
    std::string rel;
    Type type;
    std::string body;
};

// A random tree, its entries in the order they are made (every folder before what it holds).
struct Tree {
    std::vector<Entry> entries;
    std::vector<std::string> folders{""};
    bool over = false; // the link kOver is there
};

// A random number from 0 to n - 1.
std::size_t Below(std::mt19937& rng, std::size_t n)
{
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
}

// True with the given chance in percent.
bool Chance(std::mt19937& rng, std::size_t percent)
{
    return Below(rng, 100) < percent;
}

// A name of the trees' entries, at random.
std::string AnyName(std::mt19937& rng)
{
    return kNames[Below(rng, std::size(kNames))];
}

// The parts of a path between its "/" ("" has none).
std::vector<std::string> Parts(const std::string& path)
{
    std::vector<std::string> parts;
    std::stringstream in(path);
    for (std::string part; std::getline(in, part, '/');) {
        if (!part.empty()) {
            parts.push_back(part);
        }
    }
    return parts;
}

// The folder holding an entry of the tree, "" for the root.
std::string Parent(const std::string& rel)
{
    const std::size_t slash = rel.rfind('/');
    return slash == std::string::npos ? "" : rel.substr(0, slash);
}

// The parts joined by "/", now and then "//", with a "." part put in here and there.
std::string Join(const std::vector<std::string>& parts, std::mt19937& rng)
{
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            text += Chance(rng, 15) ? "//" : "/";
        }
        if (Chance(rng, 8)) {
            text += "./";
        }
        text += parts[i];
    }
    return text;
}

// A trailing "/", "/." or "//" now and then, as a path or a link's text may end.
std::string Ending(std::mt19937& rng, std::size_t slash, std::size_t slashDot)
{
    const std::size_t roll = Below(rng, 100);
    if (roll < slash) {
        return "/";
    }
    if (roll < slash + slashDot) {
        return "/.";
    }
    return roll < slash + slashDot + 3 ? "//" : "";
}

// What a new entry is: mostly folders, files and links, now and then a pipe, a socket or a
// file nobody may write.
Type RandomType(std::mt19937& rng, bool mayBeFolder)
{
    const std::size_t roll = Below(rng, 100);
    if (roll < 30) {
        return mayBeFolder ? Type::Folder : Type::File;
    }
    if (roll < 48) {
        return Type::File;
    }
    if (roll < 53) {
        return Type::ReadOnlyFile;
    }
    if (roll < 59) {
        return Type::Pipe;
    }
    return roll < 62 ? Type::Socket : Type::Link;
}

// A random place of the tree as parts below the root: an entry, a name in a folder or below
// any entry (through a link, or below a file), or a name in a missing folder.
std::vector<std::string> RandomPlace(const Tree& tree, std::mt19937& rng)
{
    const std::size_t roll = Below(rng, 100);
    const std::string& entry = tree.entries[Below(rng, tree.entries.size())].rel;
    if (roll < 55) {
        return Parts(entry);
    }
    std::vector<std::string> place =
        Parts(roll < 80 ? tree.folders[Below(rng, tree.folders.size())] : entry);
    if (roll >= 92) {
        place.emplace_back("x");
    }
    place.push_back(Chance(rng, 70) ? AnyName(rng) : "x");
    return place;
}

// The parts leading from a folder to a place: ".." up to the folder both are in, then down.
std::vector<std::string> RelativeParts(const std::vector<std::string>& from,
                                       const std::vector<std::string>& to)
{
    std::size_t common = 0;
    while (common < from.size() && common < to.size() && from[common] == to[common]) {
        ++common;
    }
    std::vector<std::string> parts(from.size() - common, "..");
    parts.insert(parts.end(), to.begin() + static_cast<std::ptrdiff_t>(common), to.end());
    if (parts.empty()) {
        parts.emplace_back(".");
    }
    return parts;
}

// A random text for the link at rel: a place of the tree (another link, a missing name...) or
// the link itself, named from the link's folder or from the root, or dots only.
std::string LinkText(const Tree& tree, const std::string& rel, std::mt19937& rng)
{
    static const char* const dots[] = {".", "..", "../..", "./.."};
    const std::size_t roll = Below(rng, 100);
    if (roll < 8) {
        return dots[Below(rng, std::size(dots))] + Ending(rng, 10, 0);
    }
    const std::vector<std::string> place = roll < 14 ? Parts(rel) : RandomPlace(tree, rng);
    if (roll < 70) {
        return Join(RelativeParts(Parts(Parent(rel)), place), rng) + Ending(rng, 12, 8);
    }
    return "/" + Join(place, rng) + Ending(rng, 12, 8);
}

// A random tree of 10 to 30 entries, folders at most two deep; the links' texts are made last,
// so that they may name anything in it.
Tree MakeTree(std::mt19937& rng)
{
    Tree tree;
    std::set<std::string> taken;
    const std::size_t wanted = 10 + Below(rng, 21);
    for (int attempt = 0; attempt < 300 && tree.entries.size() < wanted; ++attempt) {
        const std::string parent = tree.folders[Below(rng, tree.folders.size())];
        const std::string rel = (parent.empty() ? "" : parent + "/") + AnyName(rng);
        if (!taken.insert(rel).second) {
            continue;
        }
        const Type type = RandomType(rng, Parts(rel).size() < 3);
        if (type == Type::Folder) {
            tree.folders.push_back(rel);
        }
        tree.entries.push_back({rel, type, "was " + rel + "\n"});
    }
    for (Entry& entry : tree.entries) {
        if (entry.type == Type::Link) {
            entry.body = LinkText(tree, entry.rel, rng);
        }
    }
    tree.over = Chance(rng, 40);
    if (tree.over) {
        tree.entries.push_back({kOver, Type::Link, "."});
    }
    return tree;
}

// A random path below the root, less the root: a place of the tree, now and then with ".."
// put in (at the start it climbs above the root), or after about as many links as one lookup
// follows (over set then), or only dots; and a trailing "/" or "/.".
std::string RandomPath(const Tree& tree, std::mt19937& rng, bool& over)
{
    std::vector<std::string> parts{Chance(rng, 50) ? "." : ".."};
    over = tree.over && Chance(rng, 8);
    if (over) {
        parts.assign(kMostLinks - 2 + Below(rng, 5), kOver);
        const std::vector<std::string> place = RandomPlace(tree, rng);
        parts.insert(parts.end(), place.begin(), place.end());
    } else if (!Chance(rng, 6)) {
        parts = RandomPlace(tree, rng);
        for (int i = 0; i < 2; ++i) {
            if (Chance(rng, 20)) {
                const std::size_t at = Below(rng, parts.size() + 1);
                parts.insert(parts.begin() + static_cast<std::ptrdiff_t>(at), "..");
            }
        }
        if (Chance(rng, 6)) {
            parts.insert(parts.begin(), "..");
        }
    }
    return Join(parts, rng) + Ending(rng, 5, 8);
}

// Makes a socket's entry at the path, bound through its folder's descriptor link under /proc
// so that a long path still fits the address; 0, or -1 with errno set.
int MakeSocket(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const int folder = open(path.substr(0, slash).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    const int sock = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string name = "/proc/self/fd/" + std::to_string(folder) + path.substr(slash);
    int made = -1;
    errno = ENAMETOOLONG;
    if (folder >= 0 && sock >= 0 && name.size() < sizeof address.sun_path) {
        std::memcpy(address.sun_path, name.c_str(), name.size() + 1);
        made = bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    }
    const int error = errno;
    close(sock);
    close(folder);
    errno = error;
    return made;
}

// Makes a file with the bytes and the permission bits; 0, or -1 with errno set.
int MakeFile(const std::string& path, const std::string& bytes, mode_t mode)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return -1;
    }
    const bool made = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
                      fchmod(fd, mode) == 0;
    close(fd);
    return made ? 0 : -1;
}

// Makes one entry of the tree below the root; 0, or -1 with errno set.
int MakeEntry(const Entry& entry, const std::string& root)
{
    const std::string path = root + "/" + entry.rel;
    switch (entry.type) {
    case Type::Folder:
        return mkdir(path.c_str(), 0755);
    case Type::File:
        return MakeFile(path, entry.body, 0644);
    case Type::ReadOnlyFile:
        return MakeFile(path, entry.body, 0444);
    case Type::Pipe:
        return mkfifo(path.c_str(), 0644);
    case Type::Socket:
        return MakeSocket(path);
    case Type::Link:
        break;
    }
    const std::string text = entry.body[0] == '/' ? root + entry.body : entry.body;
    return symlink(text.c_str(), path.c_str());
}

// One twin: its top folder, with the padding folders below it, then its root.
struct Twin {
    std::string top;
    std::string root;
};

// The twin of the name below the folder: top/<name>, root top/<name>/p/p/.../t.
Twin MakeTwin(const std::string& folder, const std::string& name)
{
    Twin twin{folder + "/" + name, folder + "/" + name};
    for (int i = 0; i < kPadding; ++i) {
        twin.root += "/p";
    }
    twin.root += "/t";
    return twin;
}

// Makes the twin afresh, its padding and the tree; "" or what could not be made.
std::string Build(const Tree& tree, const Twin& twin)
{
    std::error_code ec;
    fs::remove_all(twin.top, ec);
    fs::create_directories(twin.root, ec);
    if (ec) {
        return "cannot make " + twin.root + ": " + ec.message();
    }
    for (const Entry& entry : tree.entries) {
        if (MakeEntry(entry, twin.root) != 0) {
            return "cannot make " + entry.rel + ": " + std::strerror(errno);
        }
    }
    return "";
}

// What is found below a twin's top, by path below the root ("../x" above it): the type, the
// owner and the permission bits, a file's bytes and a link's text with the root put as "<t>".
using Snapshot = std::map<std::string, std::string>;

// A file's whole bytes, opened without following a link or waiting, a line end shown as "\n".
std::string Bytes(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return "<unreadable>";
    }
    std::string bytes;
    char buffer[512];
    for (ssize_t n = 0; (n = read(fd, buffer, sizeof buffer)) > 0;) {
        for (ssize_t i = 0; i < n; ++i) {
            bytes += buffer[i] == '\n' ? std::string("\\n") : std::string(1, buffer[i]);
        }
    }
    close(fd);
    return bytes;
}

// How one entry is seen in a snapshot.
std::string Seen(const std::string& path, const struct stat& st, const Twin& twin)
{
    std::ostringstream out;
    if (S_ISLNK(st.st_mode)) {
        std::string text(PATH_MAX, '\0');
        const ssize_t n = readlink(path.c_str(), text.data(), text.size());
        text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        if (text.compare(0, twin.root.size(), twin.root) == 0) {
            text.replace(0, twin.root.size(), "<t>");
        }
        out << "link -> " << text;
        return out.str();
    }
    const char* type = S_ISDIR(st.st_mode)    ? "folder"
                       : S_ISREG(st.st_mode)  ? "file"
                       : S_ISFIFO(st.st_mode) ? "pipe"
                       : S_ISSOCK(st.st_mode) ? "socket"
                                              : "other";
    out << type << " 0" << std::oct << (st.st_mode & 07777) << std::dec << " uid " << st.st_uid;
    if (S_ISREG(st.st_mode)) {
        out << " \"" << Bytes(path) << "\"";
    }
    return out.str();
}

// Adds what is below the folder (a path below the twin's top) to the snapshot.
void Look(const Twin& twin, const fs::path& folder, Snapshot& out)
{
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        out[folder.lexically_relative(twin.root).string()] += " <unlisted>";
        return;
    }
    for (const dirent* e = readdir(dir); e != nullptr; e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        const fs::path path = folder / name;
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0) {
            continue;
        }
        out[path.lexically_relative(twin.root).string()] = Seen(path, st, twin);
        if (S_ISDIR(st.st_mode)) {
            Look(twin, path, out);
        }
    }
    closedir(dir);
}

// Everything below the twin's top.
Snapshot Look(const Twin& twin)
{
    Snapshot out;
    Look(twin, twin.top, out);
    return out;
}

// The entries two snapshots hold differently, one a line.
std::string Differences(const Snapshot& a, const Snapshot& b, const char* nameA, const char* nameB)
{
    std::ostringstream out;
    std::set<std::string> keys;
    for (const auto& [key, seen] : a) {
        keys.insert(key);
    }
    for (const auto& [key, seen] : b) {
        keys.insert(key);
    }
    for (const std::string& key : keys) {
        const auto ia = a.find(key);
        const auto ib = b.find(key);
        const std::string sa = ia == a.end() ? "(nothing)" : ia->second;
        const std::string sb = ib == b.end() ? "(nothing)" : ib->second;
        if (sa != sb) {
            out << "    " << key << ": " << nameA << " " << sa << ", " << nameB << " " << sb
                << "\n";
        }
    }
    return out.tellp() > 0 ? out.str() : "    (none)\n";
}

// The tree as a snapshot shows it, one entry a line, the root and its padding folders left out.
std::string Describe(const Snapshot& snapshot)
{
    std::ostringstream out;
    for (const auto& [key, seen] : snapshot) {
        const bool dotsOnly = key.find_first_not_of("./") == std::string::npos;
        if (!dotsOnly || seen.compare(0, 6, "folder") != 0) {
            out << "    " << key << "  " << seen << "\n";
        }
    }
    return out.str();
}

// What became of one save, in the few kinds the writer and the system are compared by.
enum class Kind {
    Done,
    Missing,
    NotFolder,
    IsFolder,
    Loop,
    NotRegular,
    Permission,
    Refused,
    Other
};

// The kind's name, as failures and the tally of outcomes say it.
const char* KindName(Kind kind)
{
    switch (kind) {
    case Kind::Done:
        return "saved";
    case Kind::Missing:
        return "missing";
    case Kind::NotFolder:
        return "not a folder";
    case Kind::IsFolder:
        return "is a folder";
    case Kind::Loop:
        return "links without end";
    case Kind::NotRegular:
        return "no regular file";
    case Kind::Permission:
        return "permission";
    case Kind::Refused:
        return "refused link";
    case Kind::Other:
        break;
    }
    return "other";
}

// The kind of a system call's error (0: done).
Kind KindOfError(int error)
{
    switch (error) {
    case 0:
        return Kind::Done;
    case ENOENT:
        return Kind::Missing;
    case ENOTDIR:
        return Kind::NotFolder;
    case EISDIR:
        return Kind::IsFolder;
    case ELOOP:
        return Kind::Loop;
    case ENXIO:
        return Kind::NotRegular;
    case EACCES:
    case EPERM:
        return Kind::Permission;
    default:
        return Kind::Other;
    }
}

// The kind of the writer's outcome.
Kind KindOfWrite(bool written, const WriteFailure& failure)
{
    if (written) {
        return Kind::Done;
    }
    switch (failure.cause) {
    case WriteCause::System:
        return KindOfError(failure.error);
    case WriteCause::TooManyLinks:
        return Kind::Loop;
    case WriteCause::NotRegular:
        return Kind::NotRegular;
    case WriteCause::ReadOnly:
        return Kind::Permission;
    case WriteCause::RefusedLink:
        return Kind::Refused;
    default:
        return Kind::Other;
    }
}

// An errno as its name and text, such as "ENOENT (No such file or directory)".
std::string ErrorText(int error)
{
    const char* name = strerrorname_np(error);
    return std::string(name != nullptr ? name : std::to_string(error)) + " (" +
           std::strerror(error) + ")";
}

// The writer's outcome in words.
std::string WriteText(bool written, const WriteFailure& failure)
{
    static const char* const causes[] = {"none",      "system",    "refused link", "too many links",
                                         "read-only", "not owner", "not regular",  "too large"};
    if (written) {
        return "saved";
    }
    const auto cause = static_cast<std::size_t>(failure.cause);
    return std::string("refused, cause ") + (cause < std::size(causes) ? causes[cause] : "?") +
           ", error " + ErrorText(failure.error);
}

// One path tried in both twins: what each side did, and the twins before and after.
struct Attempt {
    std::string rest;     // the path less the root
    int systemError = 0;  // the system's save in twin B (0: opened and written)
    int probeError = 0;   // the system's open of the same path without O_CREAT, after EISDIR
    bool written = false; // the writer's save in twin A
    WriteFailure failure;
    Snapshot beforeA, beforeB, afterA, afterB;
};

// The judgement of one attempt: the outcome it counts as, what is wrong with it ("" when
// nothing), and whether the twins are to be made afresh before the next path.
struct Verdict {
    std::string outcome;
    std::string fault;
    bool rebuild = false;
};

// The system's own open of the path for writing, made or truncated, and the write of the
// text: 0, or the errno.
int SystemSave(const std::string& path, const std::string& text)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        return errno;
    }
    const bool all = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);
    return all ? 0 : EIO;
}

// The system's open of the path for writing without making or truncating anything: 0, or the
// errno.
int SystemOpen(const std::string& path)
{
    const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    close(fd);
    return 0;
}

// Tries one path: the system's save in twin B, the writer's in twin A, with both looked at
// before and after.
Attempt Try(const Twin& a, const Twin& b, const std::string& rest, const std::string& text)
{
    Attempt t;
    t.rest = rest;
    t.beforeA = Look(a);
    t.beforeB = Look(b);
    t.systemError = SystemSave(b.root + "/" + rest, text);
    t.probeError = t.systemError == EISDIR ? SystemOpen(b.root + "/" + rest) : 0;
    t.written = WriteFileText(a.root + "/" + rest, text);
    t.failure = LastWriteFailure();
    t.afterA = Look(a);
    t.afterB = Look(b);
    return t;
}

// True when the one entry the system changed is a file nobody may write, which root writes.
bool OnlyReadOnlyFileWritten(const Snapshot& before, const Snapshot& after)
{
    std::size_t changed = 0;
    bool readOnly = false;
    for (const auto& [key, seen] : before) {
        const auto now = after.find(key);
        if (now == after.end() || now->second != seen) {
            ++changed;
            readOnly = seen.compare(0, 10, "file 0444 ") == 0;
        }
    }
    return changed == 1 && readOnly && before.size() == after.size();
}

// A path ending with "/": the writer refuses it as a folder before walking it, and the system
// refuses it too (as a folder, or for a part on the way).
Verdict JudgeTrailingSlash(const Attempt& t)
{
    Verdict v{"a path ending with \"/\"", "", false};
    if (t.written || t.failure.cause != WriteCause::System || t.failure.error != EISDIR) {
        v.fault = "the writer did not refuse a name ending with \"/\" as a folder";
    } else if (t.systemError == 0) {
        v.fault = "the system saved a name ending with \"/\"";
    }
    return v;
}

// The system saved: the writer saves to the same entry, so that the twins stay alike; only
// root writes a file nobody may write, which the writer leaves.
Verdict JudgeSaved(const Attempt& t, Kind writer)
{
    if (writer == Kind::Done) {
        Verdict v{t.afterB.size() > t.beforeB.size() ? "saved as a new file" : "saved over a file",
                  "", false};
        if (t.afterA != t.afterB) {
            v.fault = "both saved, but not to the same entry alike";
        }
        return v;
    }
    if (geteuid() == 0 && t.failure.cause == WriteCause::ReadOnly &&
        OnlyReadOnlyFileWritten(t.beforeB, t.afterB)) {
        return {"root: a read-only file written by the system only", "", true};
    }
    return {"saved by the system only", "the system saved, the writer refused", true};
}

// The system refused: the writer refuses for the same kind of reason. Where the system
// refuses the name a final link's text ends with "/" as a folder (any name so made, with
// O_CREAT), the writer may say what is there, as the system's open without O_CREAT does.
Verdict JudgeRefused(const Attempt& t, Kind system, Kind writer)
{
    if (writer == Kind::Done) {
        return {"saved by the writer only", "the system refused, the writer saved", true};
    }
    if (writer == system && (system != Kind::Other || t.failure.error == t.systemError)) {
        return {std::string("refused: ") + KindName(system), "", false};
    }
    const bool told = writer == Kind::NotFolder || writer == Kind::Missing || writer == Kind::Loop;
    if (system == Kind::IsFolder && told && KindOfError(t.probeError) == writer) {
        return {"a final link's text ending with \"/\"", "", false};
    }
    return {"refused differently", "the writer and the system refused for different reasons", true};
}

// Judges one attempt; a refusal must leave its twin as it was.
Verdict Judge(const Attempt& t)
{
    if (t.beforeA != t.beforeB) {
        return {"twins unlike", "the twins differed before the save", true};
    }
    const Kind system = KindOfError(t.systemError);
    const Kind writer = KindOfWrite(t.written, t.failure);
    Verdict v = t.rest.back() == '/'   ? JudgeTrailingSlash(t)
                : system == Kind::Done ? JudgeSaved(t, writer)
                                       : JudgeRefused(t, system, writer);
    if (v.fault.empty() && !t.written && t.afterA != t.beforeA) {
        v.fault = "the writer refused, but changed its twin";
    }
    if (v.fault.empty() && system != Kind::Done && t.afterB != t.beforeB) {
        v.fault = "the system refused, but its twin changed";
    }
    v.rebuild = v.rebuild || !v.fault.empty();
    return v;
}

// Where a comparison stands: who runs it, what went wrong, how often each outcome was met.
struct Findings {
    std::string who;
    std::vector<std::string> failures;
    std::size_t untold = 0;
    std::map<std::string, int> outcomes;
};

// Notes a failure, told in full while there are few.
void Fail(Findings& f, const std::string& text)
{
    if (f.failures.size() < kMostToldFailures) {
        f.failures.push_back(text);
    } else {
        ++f.untold;
    }
}

// Where a failure is found again: the user, the seed, the tree and the path.
std::string Where(const Findings& f, int tree, int path)
{
    return "(" + f.who + ", seed " + std::to_string(kSeed) + ", tree " + std::to_string(tree) +
           (path >= 0 ? ", path " + std::to_string(path) : std::string()) + ")";
}

// A failed attempt in full: the path, both outcomes, the tree before and what changed.
std::string Told(const std::string& where, const Attempt& t, const Twin& a, const Verdict& v)
{
    std::ostringstream out;
    out << v.fault << " " << where << "\n  path: <t>/" << t.rest << "  (twin A: " << a.root << "/"
        << t.rest << ")\n  system: "
        << (t.systemError == 0 ? "saved" : "refused, error " + ErrorText(t.systemError));
    if (t.systemError == EISDIR) {
        out << "; without O_CREAT: " << (t.probeError == 0 ? "opened" : ErrorText(t.probeError));
    }
    out << "\n  writer: " << WriteText(t.written, t.failure)
        << "\n  the tree before (<t> its root, .. above it):\n"
        << Describe(t.beforeB) << "  the writer's twin, before and after:\n"
        << Differences(t.beforeA, t.afterA, "before", "after")
        << "  the system's twin, before and after:\n"
        << Differences(t.beforeB, t.afterB, "before", "after") << "  the twins after:\n"
        << Differences(t.afterA, t.afterB, "writer", "system");
    return out.str();
}

// True when the folder of the twins holds them alone: no walk climbed out of its twin.
bool OnlyTwinsIn(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) {
        names.insert(e.path().filename().string());
    }
    return names == std::set<std::string>{"A", "B"};
}

// Makes one random tree as twins in the folder and tries its paths in both; the twins are
// made afresh after a save they did not take alike.
void RunTree(const std::string& folder, int number, Findings& f)
{
    std::mt19937 rng(kSeed + static_cast<unsigned>(number));
    const Tree tree = MakeTree(rng);
    const Twin a = MakeTwin(folder, "A");
    const Twin b = MakeTwin(folder, "B");
    bool fresh = false;
    for (int i = 0; i < kPathsPerTree; ++i) {
        if (!fresh) {
            const std::string error = Build(tree, a) + Build(tree, b);
            if (!error.empty()) {
                Fail(f, error + " " + Where(f, number, -1));
                return;
            }
        }
        bool over = false;
        const std::string rest = RandomPath(tree, rng, over);
        const std::string text = "saved " + std::to_string(number) + "." + std::to_string(i);
        const Attempt t = Try(a, b, rest, text + "\n");
        const Verdict v = Judge(t);
        ++f.outcomes[v.outcome];
        if (over) {
            ++f.outcomes[v.outcome == "refused: links without end" ? "one link too many"
                                                                   : "as many links as allowed"];
        }
        if (!v.fault.empty()) {
            Fail(f, Told(Where(f, number, i), t, a, v));
        }
        if (!OnlyTwinsIn(folder)) {
            Fail(f, "a save left the twins' folder: <t>/" + rest + " " + Where(f, number, i));
            return;
        }
        fresh = !v.rebuild;
    }
}

// The outcomes every run meets, so that the random trees are known to try each of them.
std::vector<std::string> ExpectedOutcomes()
{
    std::vector<std::string> outcomes{"saved as a new file",
                                      "saved over a file",
                                      "refused: missing",
                                      "refused: not a folder",
                                      "refused: is a folder",
                                      "refused: links without end",
                                      "refused: no regular file",
                                      "a path ending with \"/\"",
                                      "a final link's text ending with \"/\"",
                                      "as many links as allowed",
                                      "one link too many"};
    outcomes.emplace_back(geteuid() == 0 ? "root: a read-only file written by the system only"
                                         : "refused: permission");
    return outcomes;
}

// The whole comparison below the folder, as the user running it; the failures, one text each.
std::vector<std::string> Compare(const std::string& folder)
{
    Findings f{"user " + std::to_string(geteuid()), {}, 0, {}};
    for (int tree = 0; tree < kTrees; ++tree) {
        RunTree(folder, tree, f);
    }
    for (const std::string& outcome : ExpectedOutcomes()) {
        if (f.outcomes.count(outcome) == 0) {
            Fail(f, "no path met the outcome " + outcome + " (" + f.who + ", seed " +
                        std::to_string(kSeed) + ")");
        }
    }
    if (f.untold > 0) {
        f.failures.push_back(std::to_string(f.untold) + " more failures (" + f.who + ")");
    }
    return f.failures;
}

} // namespace

// An ordinary user's saves: the current user's, or, when the tests run as root, another
// user's in a child process, whose trees (links included) are its own.
TEST(NUX_STD_filewriterLookup, AnOrdinaryUsersSaveLandsWhereTheSystemsOpenWould)
{
    testsupport::TempDir t;
    if (geteuid() != 0) {
        for (const std::string& failure : Compare(t.path().string())) {
            ADD_FAILURE() << failure;
        }
        return;
    }
    ASSERT_EQ(chown(t.path().c_str(), kOtherUser, kOtherUser), 0);
    const std::string report = testsupport::AsUserReport(kOtherUser, {}, [&] {
        std::string all;
        for (const std::string& failure : Compare(t.path().string())) {
            all += failure + "\n";
        }
        return all;
    });
    if (!report.empty()) {
        ADD_FAILURE() << report;
    }
}

// Root's saves: the system's open writes what root may write whatever its bits, the writer
// never a file nobody may write.
TEST(NUX_STD_filewriterLookup, RootsSaveLandsWhereTheSystemsOpenWould)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "the tests do not run as root";
    }
    testsupport::TempDir t;
    for (const std::string& failure : Compare(t.path().string())) {
        ADD_FAILURE() << failure;
    }
}
