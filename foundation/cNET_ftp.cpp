// cNET, FTP side: the connection is the session's libcurl handle, which keeps the control
// connection open between calls; every command names its path in full (no CWD), so the
// current folder is kept here and checked with the server when it changes.
#include "foundation/cNET.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <curl/curl.h>

namespace {

size_t Discard(char*, size_t size, size_t n, void*)
{
    return size * n;
}

// The port of a port text: 0 (the default port) for an empty text or "0", the number for a
// whole number from 1 to 65535, -1 for anything else.
long PortNumber(const std::string& port)
{
    if (port.empty()) {
        return 0;
    }
    char* end = nullptr;
    errno = 0;
    const long n = std::strtol(port.c_str(), &end, 10);
    const bool whole = end != port.c_str() && *end == '\0' && errno == 0;
    return whole && n >= 0 && n <= 65535 ? n : -1;
}

// Every byte outside the safe ones of a URL path as %XX.
std::string Escape(const std::string& path)
{
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : path) {
        if (std::isalnum(c) || c == '/' || c == '.' || c == '-' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

} // namespace

bool cNET::FtpRefuses(const std::vector<std::string>& texts)
{
    for (const std::string& t : texts) {
        if (t.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
            errorNumber_ = CURLE_URL_MALFORMAT;
            errorDescription_ = "A name or path holds a line break or NUL";
            return true;
        }
    }
    return false;
}

void cNET::FtpBounds() const
{
    CURL* h = static_cast<CURL*>(session_);
    const long seconds = std::max<long>(1, ftpStallSeconds);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, seconds);
    curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, seconds);
    curl_easy_setopt(h, CURLOPT_ACCEPTTIMEOUT_MS, seconds * 1000);
}

std::string cNET::FtpPath(const std::string& name) const
{
    if (!name.empty() && name[0] == '/') {
        return name;
    }
    const std::string folder = ftpFolder_.empty() ? "/" : ftpFolder_;
    return folder + (folder.back() == '/' ? "" : "/") + name;
}

std::string cNET::FtpUrl(const std::string& path) const
{
    std::string url = "ftp://" + host_;
    if (port_ != 0) {
        url += ":" + std::to_string(port_);
    }
    // "%2F" makes the path absolute rather than relative to the login folder.
    return url + "/%2F" + Escape(path.substr(path.empty() || path[0] != '/' ? 0 : 1));
}

// Runs raw commands on the connection, with the URL of path (no transfer); the curl code.
int cNET::FtpCommands(const std::string& path, const std::vector<std::string>& commands)
{
    if (session_ == nullptr || !ftpConnected_) {
        return CURLE_FAILED_INIT;
    }
    std::vector<std::string> texts = commands;
    texts.push_back(path);
    if (FtpRefuses(texts)) {
        return CURLE_URL_MALFORMAT;
    }
    CURL* h = static_cast<CURL*>(session_);
    FtpBounds();
    curl_slist* list = nullptr;
    for (const std::string& c : commands) {
        list = curl_slist_append(list, c.c_str());
    }
    curl_easy_setopt(h, CURLOPT_URL, FtpUrl(path).c_str());
    curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(h, CURLOPT_QUOTE, list);
    const auto code = static_cast<CURLcode>(Perform(h));
    curl_easy_setopt(h, CURLOPT_QUOTE, nullptr);
    curl_slist_free_all(list);
    return code;
}

int32_t cNET::ftpConnect(const std::string& host, const std::string& port, const std::string& User,
                         const std::string& Password, int32_t ftpMode)
{
    ftpConnected_ = session_ != nullptr;
    host_ = host;
    const long portNumber = PortNumber(port);
    port_ = static_cast<int32_t>(std::max(0L, portNumber));
    user_ = User;
    password_ = Password;
    ftpFolder_ = "/";
    int code = CURLE_FAILED_INIT;
    if (ftpConnected_ && portNumber < 0) {
        code = CURLE_URL_MALFORMAT;
        errorDescription_ = "The port " + port + " is no whole number from 0 to 65535";
    } else if (ftpConnected_ && FtpRefuses({host, User, Password})) {
        code = CURLE_URL_MALFORMAT;
    } else if (ftpConnected_) {
        CURL* h = static_cast<CURL*>(session_);
        curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "ftp");
        curl_easy_setopt(h, CURLOPT_USERNAME, User.c_str());
        curl_easy_setopt(h, CURLOPT_PASSWORD, Password.c_str());
        curl_easy_setopt(h, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
        curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, 5000L);
        curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, Discard);
        curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, Discard);
        curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
        code = FtpCommands("/", {});
    }
    if (code != CURLE_OK) {
        errorNumber_ = code;
        ftpConnected_ = false;
        host_.clear();
        user_.clear();
        password_.clear();
        port_ = 0;
        ftpFolder_.clear();
        return 0;
    }
    errorNumber_ = 0;
    ftpMode_ = ftpMode;
    char* entry = nullptr;
    curl_easy_getinfo(static_cast<CURL*>(session_), CURLINFO_FTP_ENTRY_PATH, &entry);
    ftpFolder_ = entry != nullptr && *entry == '/' ? entry : "/";
    return -1;
}

std::string cNET::ftpFolderGet() const
{
    return ftpConnected_ ? ftpFolder_ : std::string();
}

bool cNET::ftpFolderCreate(const std::string& sDirectory)
{
    const int code = FtpCommands("/", {"MKD " + FtpPath(sDirectory)});
    errorNumber_ = code == CURLE_OK ? errorNumber_ : code;
    return code == CURLE_OK;
}

bool cNET::ftpFolderSet(const std::string& sDir)
{
    const std::string folder = FtpPath(sDir);
    const int code = FtpCommands("/", {"CWD " + folder});
    if (code != CURLE_OK) {
        errorNumber_ = code;
        return false;
    }
    ftpFolder_ = folder;
    return true;
}

bool cNET::ftpFileDelete(const std::string& sRemote)
{
    const int code = FtpCommands("/", {"DELE " + FtpPath(sRemote)});
    errorNumber_ = code == CURLE_OK ? errorNumber_ : code;
    return code == CURLE_OK;
}

bool cNET::ftpFileRename(const std::string& sExisting, const std::string& sNewName)
{
    const int code = FtpCommands("/", {"RNFR " + FtpPath(sExisting), "RNTO " + FtpPath(sNewName)});
    errorNumber_ = code == CURLE_OK ? errorNumber_ : code;
    return code == CURLE_OK;
}

int64_t cNET::ftpFileSize(const std::string& sFile)
{
    const int code = FtpCommands(FtpPath(sFile), {});
    curl_off_t size = -1;
    if (code == CURLE_OK) {
        curl_easy_getinfo(static_cast<CURL*>(session_), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &size);
        return size < 0 ? -1 : static_cast<int64_t>(size);
    }
    if (code == CURLE_REMOTE_FILE_NOT_FOUND) {
        return -1;
    }
    errorNumber_ = code;
    return -2;
}
