// cNET, HTTP side: sessions, downloads, requests and multipart uploads over libcurl. Every
// request verifies server certificates and accepts only http and https, redirects included.
#include "foundation/cNET.h"

#include "foundation/NUX_STD_encoding.h"
#include "foundation/NUX_STD_files.h"
#include "foundation/NUX_STD_text.h"
#include "foundation/cError.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <curl/curl.h>
#include <filesystem>

namespace {

constexpr long kConnectMS = 5000;  // resolving and connecting
constexpr long kStallSeconds = 30; // sending or receiving without a byte
constexpr long kRequestMS = 60000; // a whole request, unless the caller bounds it otherwise
constexpr const char* kCRLF = "\r\n";

// libcurl is made ready once for the whole program, before the first handle.
void GlobalInit()
{
    static const bool ready = (curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK);
    (void)ready;
}

// One easy handle, released with the object.
class cEasy {
  public:
    cEasy()
    {
        GlobalInit();
        h_ = curl_easy_init();
    }
    ~cEasy()
    {
        if (h_ != nullptr) {
            curl_easy_cleanup(h_);
        }
    }
    cEasy(const cEasy&) = delete;
    cEasy& operator=(const cEasy&) = delete;
    CURL* get() const { return h_; }

  private:
    CURL* h_ = nullptr;
};

// The program's executable file name without its extension.
std::string AgentName()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("zorv") : exe.stem().string();
}

bool StartsWithNoCase(const std::string& s, const std::string& prefix)
{
    return s.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), s.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

// The whole file; false when it is no readable file.
bool ReadWhole(const std::string& path, std::string& bytes)
{
    NUX_STD_library::ReadFault fault = NUX_STD_library::ReadFault::None;
    return NUX_STD_library::ReadFileBytes(path, NUX_STD_library::kMaxReadBytes, bytes, fault);
}

// The text without the blanks at either end.
std::string TrimBlanks(const std::string& s)
{
    const size_t first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string()
                                      : s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// An answer's bytes as they come, held up to cNET::kAnswerBytes: beyond it (or when holding
// them fails) the transfer ends.
struct cAnswer {
    std::string bytes;
    bool tooLarge = false;

    // True when the bytes fit and were kept.
    bool Take(const char* data, size_t length)
    {
        if (static_cast<int64_t>(bytes.size() + length) > cNET::kAnswerBytes) {
            tooLarge = true;
            return false;
        }
        bytes.append(data, length);
        return true;
    }
};

// A callback's answer that ends the transfer: any count other than the one offered.
constexpr size_t kStop = 0;

size_t AppendBytes(char* data, size_t size, size_t n, void* user)
{
    try {
        return static_cast<cAnswer*>(user)->Take(data, size * n) ? size * n : kStop;
    } catch (...) {
        return kStop;
    }
}

// The options every request shares: http and https only, redirects followed, no proxy, a
// bounded connection and no endless stall.
void CommonOptions(CURL* h, const std::string& url, const std::string& agent)
{
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_USERAGENT, agent.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(h, CURLOPT_PROXY, "");
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, kConnectMS);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, kRequestMS);
}

// The header lines of the last answer of a request (a redirect's are dropped), without
// the status line, and the status line's text.
struct cHeaders {
    std::string lines;
    std::string statusText;
    bool tooLarge = false;
};

size_t KeepHeader(char* data, size_t size, size_t n, cHeaders* h)
{
    if (static_cast<int64_t>(h->lines.size() + size * n) > cNET::kAnswerBytes) {
        h->tooLarge = true;
        return kStop;
    }
    std::string line(data, size * n);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
        line.pop_back();
    }
    if (line.rfind("HTTP/", 0) == 0) {
        h->lines.clear();
        const size_t code = line.find(' ');
        const size_t text = code == std::string::npos ? code : line.find(' ', code + 1);
        h->statusText = text == std::string::npos ? std::string() : line.substr(text + 1);
    } else if (!line.empty()) {
        h->lines += line + kCRLF;
    }
    return size * n;
}

size_t CollectHeader(char* data, size_t size, size_t n, void* user)
{
    try {
        return KeepHeader(data, size, n, static_cast<cHeaders*>(user));
    } catch (...) {
        return kStop;
    }
}

int16_t ResponseCode(CURL* h)
{
    long code = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &code);
    return static_cast<int16_t>(code);
}

// openURL's download: the body so far (at most cNET::kAnswerBytes), with the progress
// reported block by block as if read in blocks of kBlockSize bytes.
struct cDownload {
    cAnswer answer;
    bool started = false;
    int32_t next = 0;
    std::function<void(int32_t&)>* report = nullptr;

    void Raise(int32_t bytes)
    {
        if (report != nullptr && *report) {
            (*report)(bytes);
        }
    }
    // Reports every whole block reached; the first report (0) comes with the first bytes.
    void Reached()
    {
        started = true;
        while (static_cast<int64_t>(answer.bytes.size()) >= next) {
            Raise(next);
            next += cNET::kBlockSize;
        }
    }
    // The report before the final empty read: the whole length, unless already reported.
    void Ended()
    {
        Reached();
        if (static_cast<int64_t>(answer.bytes.size()) > next - cNET::kBlockSize) {
            Raise(static_cast<int32_t>(answer.bytes.size()));
        }
    }
};

size_t DownloadBytes(char* data, size_t size, size_t n, void* user)
{
    try {
        auto* d = static_cast<cDownload*>(user);
        if (!d->answer.Take(data, size * n)) {
            return kStop;
        }
        d->Reached();
        return size * n;
    } catch (...) {
        return kStop; // the progress handler failed, or the bytes could not be held
    }
}

// The error of a transfer that ended: a too large answer or head names its own cause.
CURLcode Outcome(CURLcode code, bool tooLarge)
{
    return tooLarge ? CURLE_FILESIZE_EXCEEDED : code;
}

std::atomic<int64_t> requestsSent{0};

} // namespace

cNET::~cNET()
{
    iClose();
}

int64_t cNET::RequestCount()
{
    return requestsSent.load();
}

int cNET::Perform(void* handle)
{
    ++requestsSent;
    return curl_easy_perform(static_cast<CURL*>(handle));
}

bool cNET::iOpen(const std::string& ProxyName)
{
    agent_ = AgentName();
    if (session_ != nullptr) {
        iClose();
    }
    GlobalInit();
    CURL* h = curl_easy_init();
    if (h == nullptr) {
        errorNumber_ = CURLE_FAILED_INIT;
        errorDescription_ = curl_easy_strerror(CURLE_FAILED_INIT);
        return false;
    }
    curl_easy_setopt(h, CURLOPT_USERAGENT, agent_.c_str());
    curl_easy_setopt(h, CURLOPT_PROXY, ProxyName.c_str());
    curl_easy_setopt(h, CURLOPT_NOPROXY, "");
    session_ = h;
    errorNumber_ = 0;
    return true;
}

void cNET::iClose()
{
    ftpConnected_ = false;
    ftpFolder_.clear();
    if (session_ != nullptr) {
        curl_easy_cleanup(static_cast<CURL*>(session_));
        session_ = nullptr;
    }
}

std::string cNET::ErrorDescription()
{
    if (errorNumber_ == 0) {
        errorDescription_.clear();
    }
    return errorDescription_;
}

std::string cNET::openURL(const std::string& sUrl)
{
    cEasy easy;
    if (easy.get() == nullptr) {
        return {};
    }
    std::string url = sUrl;
    if (!StartsWithNoCase(url, "https://") && !StartsWithNoCase(url, "http://")) {
        url = "http://" + url;
    }
    CURL* h = easy.get();
    CommonOptions(h, url, AgentName());
    if (openURLTimeout > 0) {
        curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(openURLTimeout));
        curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, std::min<long>(kConnectMS, openURLTimeout));
    }
    curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(h, CURLOPT_FRESH_CONNECT, 1L);
    cDownload d;
    d.report = &httpTransfer;
    cHeaders headers;
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, DownloadBytes);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &d);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, CollectHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &headers);
    const CURLcode code =
        Outcome(static_cast<CURLcode>(Perform(h)), d.answer.tooLarge || headers.tooLarge);
    const int16_t status = ResponseCode(h);
    // Only a whole answer with a success status is an answer; a redirect that leads nowhere
    // or a body cut short is as good as none.
    if (code != CURLE_OK) {
        errorNumber_ = code;
        errorDescription_ = curl_easy_strerror(code);
        return {};
    }
    if (status < 200 || status > 299) {
        errorNumber_ = status;
        errorDescription_ = "HTTP " + std::to_string(status) + " " + headers.statusText;
        return {};
    }
    errorNumber_ = 0;
    d.Ended();
    return std::move(d.answer.bytes);
}

int32_t cNET::openURLEx(const std::string& url, const std::string& Method, const std::string& Body,
                        int32_t WAIT_TIMEOUT)
{
    cEasy easy;
    if (easy.get() == nullptr) {
        errorNumber_ = CURLE_FAILED_INIT;
        errorDescription_ = curl_easy_strerror(CURLE_FAILED_INIT);
        return errorNumber_;
    }
    errorNumber_ = 0;
    errorDescription_.clear();
    responseHeaders_.clear();
    responseText_.clear();
    responseBody_.clear();
    responseXML_.clear();
    status_ = 0;
    statusText_.clear();

    CURL* h = easy.get();
    CommonOptions(h, url, kUserAgent);
    curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, Method.c_str());
    if (!Body.empty()) {
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, Body.data());
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(Body.size()));
    } else if (Method == "HEAD") {
        curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    }
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(std::max<int32_t>(1, WAIT_TIMEOUT)));
    cAnswer body;
    cHeaders headers;
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, AppendBytes);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, CollectHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &headers);
    if (Perform(h) != CURLE_OK) {
        if (body.tooLarge || headers.tooLarge) {
            errorNumber_ = CURLE_FILESIZE_EXCEEDED;
            errorDescription_ = curl_easy_strerror(CURLE_FILESIZE_EXCEEDED);
        } else {
            errorNumber_ = kTimeout;
            errorDescription_ = "Timeout";
        }
        return errorNumber_;
    }
    responseHeaders_ = headers.lines;
    responseText_ = body.bytes;
    responseBody_ = std::move(body.bytes);
    status_ = ResponseCode(h);
    statusText_ = headers.statusText;
    return errorNumber_;
}

std::optional<std::string> cNET::MultipartHead(const std::string& FileName, std::string& destPath,
                                               std::string& destfile,
                                               const std::string& contentType)
{
    destfile = TrimBlanks(destfile);
    destPath = TrimBlanks(destPath);
    // The server learns the file's name, never the folders it lies in here.
    const std::string baseName = std::filesystem::path(FileName).filename().string();
    // A line break would end a part's head or value, a double quote the quoted file name.
    for (const std::string& name : {destfile, destPath, baseName}) {
        if (name.find_first_of("\r\n\"") != std::string::npos) {
            errorNumber_ = CURLE_BAD_FUNCTION_ARGUMENT;
            errorDescription_ = "A name of the upload holds a line break or a double quote";
            return std::nullopt;
        }
    }
    const std::string open =
        std::string("--") + kBoundary + kCRLF + "Content-Disposition: form-data; name=";
    std::string head;
    if (!destfile.empty()) {
        head += open + NUX_STD_library::DQuote("filename") + kCRLF + kCRLF + destfile + kCRLF;
    }
    if (!destPath.empty()) {
        head += open + NUX_STD_library::DQuote("filepath") + kCRLF + kCRLF + destPath + kCRLF;
    }
    head += open + NUX_STD_library::DQuote("fileblob") +
            "; filename=" + NUX_STD_library::DQuote(baseName) + kCRLF +
            "Content-Type: " + contentType + kCRLF + kCRLF;
    return head;
}

std::string cNET::PostMultipart(const std::string& endpointUrl, const std::string& body)
{
    cEasy easy;
    if (easy.get() == nullptr) {
        return Status();
    }
    CURL* h = easy.get();
    CommonOptions(h, endpointUrl, kUserAgent);
    curl_easy_setopt(h, CURLOPT_POST, 1L);
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    const std::string type =
        std::string("Content-Type: multipart/form-data; boundary=") + kBoundary;
    curl_slist* list = curl_slist_append(nullptr, type.c_str());
    list = curl_slist_append(list, "Expect:");
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, list);
    cAnswer answer;
    cHeaders headers;
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, AppendBytes);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &answer);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, CollectHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &headers);
    if (Perform(h) == CURLE_OK) {
        status_ = ResponseCode(h);
        statusText_ = headers.statusText;
        responseText_ = std::move(answer.bytes);
    }
    curl_slist_free_all(list);
    return Status();
}

std::string cNET::webUpload(const std::string& endpointUrl, const std::string& FileName,
                            std::string& destPath, std::string& destfile, bool /*Async*/)
{
    status_ = 0;
    statusText_.clear();
    responseText_.clear();
    const std::optional<std::string> head =
        MultipartHead(FileName, destPath, destfile, NUX_STD_library::GetMimeType(FileName));
    std::string bytes;
    if (!head || !ReadWhole(FileName, bytes)) {
        return Status();
    }
    return PostMultipart(endpointUrl, *head + bytes + kCRLF + "--" + kBoundary + "--");
}

std::string cNET::webUpload_bkup(const std::string& endpointUrl, const std::string& FileName,
                                 std::string& destPath, std::string& destfile, bool /*Async*/)
{
    status_ = 0;
    statusText_.clear();
    responseText_.clear();
    const std::optional<std::string> head =
        MultipartHead(FileName, destPath, destfile, "application/octet-stream");
    std::string text;
    if (!head || !ReadWhole(FileName, text)) {
        return Status();
    }
    text = NUX_STD_library::Utf8Decode(text);
    return PostMultipart(endpointUrl, *head + text + kCRLF + "--" + kBoundary + "--" + kCRLF);
}
