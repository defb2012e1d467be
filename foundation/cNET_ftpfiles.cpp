// cNET, FTP transfers and listings: files streamed between the local file and passive data
// connections in blocks of 2048 bytes with a progress report per block (64-bit sizes), folder
// listings in the usual Unix form read into entries, and the dates and kinds of remote entries.
#include "foundation/NUX_STD_files.h"
#include "foundation/cDateParts.h"
#include "foundation/cError.h"
#include "foundation/cNET.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <curl/curl.h>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int32_t kFtpBlock = 2048;
constexpr int32_t kFolder = 16;
constexpr int32_t kNormal = 128;

using Report = std::function<void(int64_t&, int64_t&, float&)>;

// The progress of one transfer, reported after every whole block and once at the end.
struct cProgress {
    const Report* report = nullptr;
    int64_t total = 0;
    int64_t moved = 0;
    int64_t reported = 0;
    bool rated = false;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();

    void Raise(int64_t bytes, int64_t all)
    {
        if (report == nullptr || !*report) {
            return;
        }
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                                 std::chrono::steady_clock::now() - start)
                                 .count();
        float rate = rated && seconds > 0 ? static_cast<float>(bytes) / seconds : 0.0F;
        (*report)(bytes, all, rate);
    }
    void Moved(int64_t n)
    {
        moved += n;
        while (moved - reported >= kFtpBlock) {
            reported += kFtpBlock;
            Raise(reported, total);
        }
    }
};

// An upload read from its file block by block.
struct cUpload {
    std::FILE* file = nullptr;
    cProgress progress;
    bool ended = false;
};

size_t ReadUploadBlock(char* out, size_t size, size_t n, cUpload* u)
{
    const size_t take = std::fread(out, 1, std::min(size * n, static_cast<size_t>(kFtpBlock)),
                                   u->file);
    if (take == 0) {
        if (std::ferror(u->file) != 0) {
            return CURL_READFUNC_ABORT;
        }
        if (!u->ended) {
            u->ended = true;
            u->progress.Raise(u->progress.moved, u->progress.total);
        }
        return 0;
    }
    u->progress.Moved(static_cast<int64_t>(take));
    return take;
}

// No exception leaves libcurl's callback: one (from the progress handler) ends the upload.
size_t ReadBlock(char* out, size_t size, size_t n, void* user)
{
    try {
        return ReadUploadBlock(out, size, n, static_cast<cUpload*>(user));
    } catch (...) {
        return CURL_READFUNC_ABORT;
    }
}

// A download written block by block to its file, or kept as text (a listing) of at most
// cNET::kListingBytes.
struct cDownloadFtp {
    NUX_STD_library::cFileReplacement* file = nullptr;
    std::string* text = nullptr;
    bool tooLarge = false;
    cProgress progress;
};

size_t WriteDownloadBlock(char* data, size_t size, size_t n, cDownloadFtp* d)
{
    if (d->file != nullptr) {
        if (!d->file->Write(data, size * n)) {
            return 0; // the transfer ends with a write error
        }
    } else if (d->text != nullptr) {
        if (static_cast<int64_t>(d->text->size() + size * n) > cNET::kListingBytes) {
            d->tooLarge = true;
            return 0; // the transfer ends here
        }
        d->text->append(data, size * n);
    }
    d->progress.Moved(static_cast<int64_t>(size * n));
    return size * n;
}

// No exception leaves libcurl's callback: one (from the progress handler, or a listing that
// cannot be held) ends the download with a write error.
size_t WriteBlock(char* data, size_t size, size_t n, void* user)
{
    try {
        return WriteDownloadBlock(data, size, n, static_cast<cDownloadFtp*>(user));
    } catch (...) {
        return 0;
    }
}

// A new file beside the path that becomes it once complete, written by the one file writer:
// the old file stays whole until then (and hands on its owner, group and mode as a save
// does), and a failed download leaves nothing behind.
class cPartFile {
  public:
    explicit cPartFile(const std::string& target) : file_(target, ".part") {}
    // Where the bytes go; null when the file could not be made.
    NUX_STD_library::cFileReplacement* file()
    {
        return file_.Cause() == NUX_STD_library::WriteCause::None ? &file_ : nullptr;
    }
    // Puts the file in the target's place; false when that fails.
    bool Keep() { return file_.Commit(); }

  private:
    NUX_STD_library::cFileReplacement file_;
};

size_t DiscardBytes(char*, size_t size, size_t n, void*)
{
    return size * n;
}

std::string TrimBlanks(const std::string& s)
{
    const size_t first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string()
                                      : s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// One entry of a Unix listing line: its name and attributes; false for other lines.
bool ParseEntry(const std::string& line, std::string& name, int32_t& attributes)
{
    std::istringstream in(line);
    std::string field;
    for (int i = 0; i < 8; ++i) {
        if (!(in >> field)) {
            return false;
        }
    }
    std::getline(in >> std::ws, name);
    while (!name.empty() && (name.back() == '\r' || name.back() == '\n')) {
        name.pop_back();
    }
    attributes = line[0] == 'd' ? kFolder : kNormal;
    return !name.empty();
}

// A UTC time in seconds as a local date value, whole seconds.
double LocalDate(std::time_t utc)
{
    std::tm t{};
    localtime_r(&utc, &t);
    const std::optional<double> d = DateFromParts(
        {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, std::min(t.tm_sec, 59)});
    return d.value_or(0.0);
}

} // namespace

// Downloads a file or a listing into the sink; with total, ftpTransfer is raised against it.
// A listing is bounded in size (kListingBytes) and in time (ftpListingSeconds).
int cNET::FtpDownload(const std::string& path, int32_t fType, cDownloadSink sink,
                      const int64_t* total)
{
    if (session_ == nullptr || !ftpConnected_) {
        return CURLE_FAILED_INIT;
    }
    if (FtpRefuses({path})) {
        return CURLE_URL_MALFORMAT;
    }
    CURL* h = static_cast<CURL*>(session_);
    FtpBounds();
    cDownloadFtp d;
    d.file = sink.file;
    d.text = sink.text;
    d.progress.report = total != nullptr ? &ftpTransfer : nullptr;
    d.progress.total = total != nullptr ? *total : 0;
    curl_easy_setopt(h, CURLOPT_URL, FtpUrl(path).c_str());
    curl_easy_setopt(h, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(h, CURLOPT_TRANSFERTEXT, (fType & 1) != 0 ? 1L : 0L);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, WriteBlock);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &d);
    if (sink.text != nullptr) {
        curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, std::max<long>(1, ftpListingSeconds) * 1000L);
    }
    auto code = static_cast<CURLcode>(Perform(h));
    if (d.tooLarge) {
        code = CURLE_FILESIZE_EXCEEDED;
    }
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, 0L);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, DiscardBytes);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, nullptr);
    curl_easy_setopt(h, CURLOPT_TRANSFERTEXT, 0L);
    if (code == CURLE_OK) {
        d.progress.Raise(d.progress.moved, d.progress.moved);
    }
    return code;
}

// Uploads the open file of that many bytes, raising ftpTransfer with the rate when asked.
int cNET::FtpUpload(const std::string& path, int32_t fType, std::FILE* file, int64_t size,
                    bool report)
{
    if (session_ == nullptr || !ftpConnected_) {
        return CURLE_FAILED_INIT;
    }
    if (FtpRefuses({path})) {
        return CURLE_URL_MALFORMAT;
    }
    CURL* h = static_cast<CURL*>(session_);
    FtpBounds();
    cUpload u;
    u.file = file;
    u.progress.report = report ? &ftpTransfer : nullptr;
    u.progress.total = size;
    u.progress.rated = true;
    curl_easy_setopt(h, CURLOPT_URL, FtpUrl(path).c_str());
    curl_easy_setopt(h, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    curl_easy_setopt(h, CURLOPT_TRANSFERTEXT, (fType & 1) != 0 ? 1L : 0L);
    curl_easy_setopt(h, CURLOPT_READFUNCTION, ReadBlock);
    curl_easy_setopt(h, CURLOPT_READDATA, &u);
    const auto code = static_cast<CURLcode>(Perform(h));
    if (code == CURLE_OK && !u.ended) {
        u.progress.Raise(u.progress.moved, u.progress.total);
    }
    curl_easy_setopt(h, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(h, CURLOPT_TRANSFERTEXT, 0L);
    curl_easy_setopt(h, CURLOPT_READFUNCTION, nullptr);
    return code;
}

bool cNET::ftpFileUpload(std::string& sLocal, std::string& sRemote, int32_t fType)
{
    sLocal = TrimBlanks(sLocal);
    sRemote = TrimBlanks(sRemote);
    if (sLocal.empty() || sRemote.empty()) {
        return false;
    }
    return PutFile(sLocal, sRemote, fType, true);
}

bool cNET::ftpFilePut(const std::string& sLocal, const std::string& sRemote, int32_t fType)
{
    return PutFile(sLocal, sRemote, fType, false);
}

bool cNET::PutFile(const std::string& sLocal, const std::string& sRemote, int32_t fType,
                   bool report)
{
    int code = CURLE_READ_ERROR;
    // The file is sent in blocks, never held whole: no bound on its size.
    std::uint64_t size = 0;
    NUX_STD_library::ReadFault fault = NUX_STD_library::ReadFault::None;
    const int fd = NUX_STD_library::OpenForReading(sLocal, UINT64_MAX, size, fault);
    std::FILE* file = fd >= 0 ? fdopen(fd, "rb") : nullptr;
    if (file != nullptr) {
        code = FtpUpload(FtpPath(sRemote), fType, file, static_cast<int64_t>(size), report);
        std::fclose(file);
    } else if (fd >= 0) {
        close(fd);
    }
    errorNumber_ = code == CURLE_OK ? errorNumber_ : code;
    return code == CURLE_OK;
}

bool cNET::ftpFileDownload(const std::string& sLocal, const std::string& sRemote, int32_t fType)
{
    if (sLocal.empty() || sRemote.empty()) {
        return false;
    }
    const int64_t total = ftpFileSize(sRemote);
    return total >= 0 && GetFile(sLocal, sRemote, fType, &total);
}

bool cNET::ftpFileGet(const std::string& sLocal, const std::string& sRemote, int32_t fType)
{
    return GetFile(sLocal, sRemote, fType, nullptr);
}

bool cNET::GetFile(const std::string& sLocal, const std::string& sRemote, int32_t fType,
                   const int64_t* total)
{
    cPartFile part(sLocal);
    int code = CURLE_WRITE_ERROR;
    if (part.file() != nullptr) {
        code = FtpDownload(FtpPath(sRemote), fType, {part.file(), nullptr}, total);
        if (code == CURLE_OK && !part.Keep()) {
            code = CURLE_WRITE_ERROR;
        }
    }
    errorNumber_ = code == CURLE_OK ? errorNumber_ : code;
    return code == CURLE_OK;
}

std::optional<std::string> cNET::ftpFolderGetList(std::string sPath)
{
    std::string listing;
    const std::string folder = FtpPath(sPath);
    const int code =
        FtpDownload(folder + (folder.back() == '/' ? "" : "/"), 1, {nullptr, &listing}, nullptr);
    if (code != CURLE_OK) {
        // Nothing found gives the empty list; a listing broken off gives none.
        errorNumber_ = code;
        return listing.empty() ? std::optional<std::string>(std::string()) : std::nullopt;
    }
    const std::string prefix = folder == "/" ? "" : folder;
    std::string list;
    std::istringstream lines(listing);
    std::string line;
    while (std::getline(lines, line)) {
        std::string name;
        int32_t attributes = 0;
        if (!ParseEntry(line, name, attributes)) {
            continue;
        }
        std::string full = prefix + "/" + name;
        list += full + ";";
        if (ftpObjectFound) {
            ftpObjectFound(full, name, attributes);
        }
    }
    if (!list.empty()) {
        list.pop_back();
    }
    return list;
}

std::string cNET::ftpObjType(const std::string& sName)
{
    const std::string path = FtpPath(sName);
    const size_t slash = path.find_last_of('/');
    const std::string parent = path.substr(0, slash + 1);
    std::string listing;
    if (FtpDownload(parent, 1, {nullptr, &listing}, nullptr) != CURLE_OK) {
        return "?";
    }
    std::istringstream lines(listing);
    std::string line;
    while (std::getline(lines, line)) {
        std::string name;
        int32_t attributes = 0;
        if (ParseEntry(line, name, attributes) && name == path.substr(slash + 1)) {
            return attributes == kFolder ? "D" : "F";
        }
    }
    return "?";
}

double cNET::ftpFileDate(const std::string& sFile, int32_t iDate)
{
    const int64_t size = ftpFileSize(sFile);
    if (size < 0) {
        return static_cast<double>(size);
    }
    if (iDate != 2) {
        return 0.0;
    }
    CURL* h = static_cast<CURL*>(session_);
    curl_easy_setopt(h, CURLOPT_FILETIME, 1L);
    const int code = FtpCommands(FtpPath(sFile), {});
    curl_easy_setopt(h, CURLOPT_FILETIME, 0L);
    curl_off_t when = -1;
    curl_easy_getinfo(h, CURLINFO_FILETIME_T, &when);
    if (code != CURLE_OK || when < 0) {
        errorNumber_ = code != CURLE_OK ? code : CURLE_FTP_COULDNT_RETR_FILE;
        return -2.0;
    }
    return LocalDate(static_cast<std::time_t>(when));
}
