// The file search: the folder walks of cDisk, its wildcard test and the file-information
// requests it passes on to the file and system utilities. Folders already walked in a search
// (through symbolic links, for instance) are not walked again, so link loops end.
#include "foundation/cDisk.h"

#include "foundation/NUX_STD_files.h"
#include "foundation/NUX_STD_system.h"

#include <algorithm>
#include <filesystem>
#include <limits>

namespace fs = std::filesystem;

namespace {

// The length of the UTF-8 sequence a lead byte starts; 0 for a byte that starts none.
int SequenceLength(unsigned char b)
{
    if (b < 0x80) {
        return 1;
    }
    if ((b >> 5) == 6) {
        return 2;
    }
    if ((b >> 4) == 14) {
        return 3;
    }
    return (b >> 3) == 30 ? 4 : 0;
}

// Decodes UTF-8 into code points; a byte that starts no valid sequence stands for itself
// above the Unicode range, so broken names still compare byte for byte.
std::u32string Decode(const std::string& text)
{
    std::u32string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        const int len = SequenceLength(b);
        char32_t cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
        bool ok = len > 0 && i + static_cast<std::size_t>(len) <= text.size();
        for (int k = 1; ok && k < len; ++k) {
            const auto c = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            ok = (c & 0xC0) == 0x80;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok) {
            out.push_back(0x110000 + b);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(len);
    }
    return out;
}

// The upper-case form of ASCII and Latin-1 letters; other code points unchanged.
char32_t Fold(char32_t c)
{
    if (c >= U'a' && c <= U'z') {
        return c - 32;
    }
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
        return c - 32;
    }
    return c;
}

// One pattern against a name, both folded: "*" any run, "?" one code point. Backtracks only
// to the last star, so no pattern takes more than name × pattern steps.
bool MatchOne(const std::u32string& name, const std::u32string& pat)
{
    constexpr std::size_t none = std::numeric_limits<std::size_t>::max();
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starP = none;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pat.size() && pat[p] == U'*') {
            starP = p++;
            starN = n;
        } else if (p < pat.size() && (pat[p] == U'?' || pat[p] == name[n])) {
            ++p;
            ++n;
        } else if (starP != none) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pat.size() && pat[p] == U'*') {
        ++p;
    }
    return p == pat.size();
}

std::u32string Folded(const std::string& text)
{
    std::u32string s = Decode(text);
    std::transform(s.begin(), s.end(), s.begin(), Fold);
    return s;
}

} // namespace

bool cDisk::MatchSpec(const std::string& name, const std::string& spec)
{
    const std::u32string folded = Folded(name);
    std::size_t start = 0;
    while (start < spec.size()) {
        std::size_t end = spec.find(';', start);
        if (end == std::string::npos) {
            end = spec.size();
        }
        std::string piece = spec.substr(start, end - start);
        piece.erase(0, std::min(piece.size(), piece.find_first_not_of(' ')));
        if (piece == "*.*" || MatchOne(folded, Folded(piece))) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

void cDisk::Reset()
{
    totalSize_ = 0;
    count_ = 0;
    stop_ = false;
    ended_ = false;
    visited_.clear();
}

bool cDisk::Enter(const std::string& folder)
{
    std::error_code ec;
    const fs::path real = fs::canonical(fs::path(folder), ec);
    if (ec) {
        return false;
    }
    return visited_.insert(real.string()).second;
}

std::int32_t cDisk::CountFiles(std::string& StartPath, bool RecurseFolder,
                               const std::string& IncludeSpec, const std::string& ExcludeSpec,
                               cFixed MinSize, cFixed MaxSize)
{
    Reset();
    StartPath = NUX_STD_library::AddBackslash(StartPath);
    const Walk walk{false, RecurseFolder, IncludeSpec, ExcludeSpec, MinSize, MaxSize, kNoLimit};
    WalkFiles(StartPath, walk);
    Finish(false);
    return count_;
}

std::int32_t cDisk::SearchFiles(std::string& StartPath, bool RecurseFolder,
                                const std::string& IncludeSpec, const std::string& ExcludeSpec,
                                cFixed MinSize, cFixed MaxSize, std::int32_t MaxNumber)
{
    Reset();
    list_.assign(1, std::string());
    names_.assign(1, std::string());
    list_.reserve(201);
    names_.reserve(201);
    StartPath = NUX_STD_library::AddBackslash(StartPath);
    root_ = StartPath;
    const Walk walk{true, RecurseFolder, IncludeSpec, ExcludeSpec, MinSize, MaxSize, MaxNumber};
    if (MaxNumber > 0) {
        WalkFiles(StartPath, walk);
    }
    Finish(true);
    return count_;
}

void cDisk::Finish(bool collecting)
{
    if (!stop_) {
        return;
    }
    count_ = kStopped;
    if (collecting) {
        list_.resize(1);
        names_.resize(1);
    }
}

void cDisk::WalkFiles(const std::string& folder, const Walk& walk)
{
    if (!Enter(folder)) {
        return;
    }
    std::error_code ec;
    fs::directory_iterator it(fs::path(folder), fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (stop_ || ended_) {
            return;
        }
        if (DoEvents) {
            DoEvents();
        }
        if (stop_) {
            return;
        }
        const std::string name = it->path().filename().string();
        std::error_code kindError;
        if (it->is_symlink(kindError)) {
            continue; // a link may lead anywhere, or nowhere: it is not part of the tree
        }
        if (it->is_directory(kindError)) {
            if (name.empty() || name[0] == '.') {
                continue;
            }
            std::string sub = folder + name + "/";
            currentPath_ = sub;
            if (walk.recurse && MatchSpec(name, walk.include) && !MatchSpec(name, walk.exclude)) {
                if (PathChange) {
                    std::string arg = sub;
                    PathChange(arg);
                }
                WalkFiles(sub, walk);
            }
        } else if (MatchSpec(name, walk.include) && !MatchSpec(name, walk.exclude)) {
            std::error_code sizeError;
            const std::uintmax_t size = it->file_size(sizeError);
            if (!TakeFile(folder, name, sizeError ? 0 : size, walk)) {
                return;
            }
        }
    }
}

bool cDisk::TakeFile(const std::string& folder, const std::string& name, std::uintmax_t size,
                     const Walk& walk)
{
    const auto bytes = static_cast<std::int64_t>(
        std::min<std::uintmax_t>(size, static_cast<std::uintmax_t>(INT64_MAX / 10000)));
    const cFixed fixedSize = cFixed::fromWhole(bytes);
    if ((!walk.minSize.isZero() && fixedSize < walk.minSize) ||
        (!walk.maxSize.isZero() && fixedSize > walk.maxSize)) {
        return true;
    }
    totalSize_ += static_cast<double>(size);
    ++count_;
    if (!walk.collecting) {
        return true;
    }
    if (list_.size() == list_.capacity()) {
        list_.reserve(list_.size() + 200);
        names_.reserve(names_.size() + 200);
    }
    list_.push_back(name);
    names_.push_back(folder.substr(root_.size()) + name);
    currentPath_ = folder;
    currentFile_ = name;
    if (Progress) {
        std::string path = folder;
        std::string file = name;
        std::int32_t found = count_;
        double bytesFound = totalSize_;
        Progress(path, file, found, bytesFound, stop_);
    }
    if (count_ >= walk.maxNumber) {
        ended_ = true;
    }
    return !ended_ && !stop_;
}

std::int32_t cDisk::SearchFolders(std::string& StartPath, bool RecurseFolder,
                                  const std::string& IncludeSpec, const std::string& ExcludeSpec)
{
    list_.assign(1, std::string());
    names_.assign(1, std::string());
    count_ = 0;
    visited_.clear();
    StartPath = NUX_STD_library::AddBackslash(StartPath);
    Walk walk;
    walk.recurse = RecurseFolder;
    walk.include = IncludeSpec;
    walk.exclude = ExcludeSpec;
    WalkFolders(StartPath, walk);
    names_.assign(list_.size(), std::string());
    return count_;
}

void cDisk::WalkFolders(const std::string& folder, const Walk& walk)
{
    if (!Enter(folder)) {
        return;
    }
    std::error_code ec;
    fs::directory_iterator it(fs::path(folder), fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code kindError;
        if (it->is_symlink(kindError) || !it->is_directory(kindError)) {
            continue;
        }
        const std::string name = it->path().filename().string();
        if (!MatchSpec(name, walk.include) || MatchSpec(name, walk.exclude)) {
            continue;
        }
        ++count_;
        if (!walk.recurse) {
            list_.push_back(name);
            continue;
        }
        std::string sub = folder + name + "/";
        list_.push_back(sub);
        if (PathChange) {
            std::string arg = sub;
            PathChange(arg);
        }
        WalkFolders(sub, walk);
    }
}

void cDisk::StopSearch()
{
    stop_ = true;
    if (OnAbortSearch) {
        OnAbortSearch();
    }
}

int cDisk::GetFileIcon(const std::string& FileName, std::int32_t iconsize, cSurface& dstPictureBox)
{
    return NUX_STD_library::DrawFileIcon(FileName, iconsize, dstPictureBox);
}

std::string cDisk::GetFileInfo(const std::string& FileName, std::int32_t infotype)
{
    return NUX_STD_library::GetFileVersionString(FileName, infotype);
}

std::string cDisk::GetFileType(const std::string& FileName)
{
    return NUX_STD_library::GetFileTypeName(FileName);
}

std::string cDisk::GetFileVersion(const std::string& FileName)
{
    return NUX_STD_library::GetFileVersion(FileName);
}

double cDisk::GetFileDate(const std::string& FileName, std::int32_t FD)
{
    return NUX_STD_library::GetFileDate(FileName, FD);
}
