// cNET: the program's network client over libcurl. HTTP downloads (openURL), requests with a
// method, body and bounded wait (openURLEx), multipart file uploads (webUpload), FTP on a
// session (iOpen, ftpConnect), ping and name resolution; results are reported by return
// values and through ErrorNumber / ErrorDescription, never by exceptions. An FTP name or path
// holding CR, LF or NUL is refused before anything is sent.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace NUX_STD_library {
class cFileReplacement;
}

class cNET {
  public:
    // The User-Agent of openURLEx and the uploads.
    static constexpr const char* kUserAgent = "Mozilla/5.0 (Windows NT 10.0; Win64; x64)";
    // The boundary between the parts of an upload's body.
    static constexpr const char* kBoundary = "3fbd04f5-b1ed-4060-99b9-fca7ff59c113";
    // openURLEx's error number when no complete answer came in time (or the request failed).
    static constexpr int32_t kTimeout = -1000;
    // Bytes of one block of openURL's download, the step of its progress reports.
    static constexpr int32_t kBlockSize = 16384;
    // The most bytes a folder listing may hold; a longer one is cut off with an error.
    static constexpr int64_t kListingBytes = 16 * 1024 * 1024;
    // The most bytes an HTTP answer (body, and header lines apart) may hold; a longer one is
    // cut off and the request ends with an error.
    static constexpr int64_t kAnswerBytes = 16 * 1024 * 1024;

    // A client without a session.
    cNET() = default;
    // Closes the session and FTP connection still held.
    ~cNET();
    cNET(const cNET&) = delete;
    cNET& operator=(const cNET&) = delete;

    // Failure stage of the last Ping.
    int32_t pingReason = 0;
    // Platform error code of the last failed Ping step, else 0.
    int32_t pingStatus = 0;
    // Round-trip time in milliseconds of the last successful Ping.
    int32_t pingTime = 0;

    // Raised by openURL before every block it reads, with the bytes read so far; the caller
    // may let its window events run here.
    std::function<void(int32_t& lReadBytes)> httpTransfer;
    // Raised during FTP transfers: bytes moved so far, bytes in all (64-bit), bytes per second.
    std::function<void(int64_t& lCurrentBytes, int64_t& lTotalBytes, float& BytesSec)> ftpTransfer;
    // Raised for every entry ftpFolderGetList finds: folder and name joined by "/", the name,
    // the attributes (16 a folder, 128 a file).
    std::function<void(std::string& FullName, std::string& ShortName, int32_t& Attributes)>
        ftpObjectFound;
    // The longest openURL may take in all, in milliseconds (connecting included); 0 keeps the
    // bound every request has: 60 seconds in all, 5 to connect, 30 without a byte.
    int32_t openURLTimeout = 0;
    // The longest an FTP connection may go without a byte or an answer before the command
    // ends with an error, in seconds.
    int32_t ftpStallSeconds = 30;
    // The longest a folder listing may take in all, in seconds, however steadily it comes.
    int32_t ftpListingSeconds = 120;

    // How many requests (HTTP and FTP) all objects of the process have sent so far.
    static int64_t RequestCount();

    // True while the object holds a session (it does not test the network).
    bool isConnected() const { return session_ != nullptr; }
    // Opens a session (closing a held one first), through the proxy ProxyName when given,
    // else direct. False with ErrorNumber set when it cannot be opened.
    bool iOpen(const std::string& ProxyName = {});
    // Closes the session; closing twice is harmless.
    void iClose();

    // The raw bytes of the last answer.
    const std::string& responseBody() const { return responseBody_; }
    // The text of the last answer.
    const std::string& responseText() const { return responseText_; }
    // Always empty: no answer is parsed as XML.
    const std::string& responseXML() const { return responseXML_; }
    // The header lines of the last answer, each ended by CR LF.
    const std::string& responseHeaders() const { return responseHeaders_; }
    // The HTTP status of the last answer as decimal text ("0" before any).
    std::string Status() const { return std::to_string(status_); }
    // The HTTP status text of the last answer (such as "Not Found").
    const std::string& statusText() const { return statusText_; }
    // The error number of the last request (0 = success).
    int32_t ErrorNumber() const { return errorNumber_; }
    // The error description; empty (and forgotten) while ErrorNumber is 0.
    std::string ErrorDescription();

    // Downloads an http or https address (other texts get "http://" in front) on a private
    // direct session, following redirects; the answer body as bytes when a whole answer with
    // a 2xx status came (ErrorNumber 0), else "" with the error recorded (the curl code, or
    // the HTTP status of an answer that is no success); an answer longer than kAnswerBytes
    // is cut off there with CURLE_FILESIZE_EXCEEDED recorded.
    std::string openURL(const std::string& sUrl);
    // Sends a request and waits at most WAIT_TIMEOUT milliseconds for the whole answer; the
    // error number: 0 with the answer fields filled, CURLE_FILESIZE_EXCEEDED for an answer
    // longer than kAnswerBytes (cut off there), or kTimeout ("Timeout") for any other failure.
    int32_t openURLEx(const std::string& url, const std::string& Method = "GET",
                      const std::string& Body = {}, int32_t WAIT_TIMEOUT = 1000);
    // Posts the file FileName as multipart/form-data (parts "filename" and "filepath" when
    // destfile / destPath, trimmed in place, are not empty, then "fileblob", named by the
    // file's base name only); the answer's status as decimal text, "0" when none came within
    // the request's bound (or it was longer than kAnswerBytes). The answer is always awaited.
    // A CR, LF or double quote in one of those names sends nothing: "0" with the error
    // recorded.
    std::string webUpload(const std::string& endpointUrl, const std::string& FileName,
                          std::string& destPath, std::string& destfile, bool Async = false);
    // As webUpload, but the file is sent as UTF-8 text typed application/octet-stream and the
    // body ends with CR LF after the closing boundary.
    std::string webUpload_bkup(const std::string& endpointUrl, const std::string& FileName,
                               std::string& destPath, std::string& destfile, bool Async = false);

    // Logs in to an FTP server on the session (port "" or 0: the default port; any other text
    // must be a whole number up to 65535), keeping the connection data: -1 connected, 0 failed
    // (error recorded, the kept data emptied).
    int32_t ftpConnect(const std::string& host, const std::string& port, const std::string& User,
                       const std::string& Password, int32_t ftpMode);
    // The server's current folder; "" without a connection.
    std::string ftpFolderGet() const;
    // Makes a folder (a name without "/" lies in the current folder); false with the error
    // recorded when the server refuses.
    bool ftpFolderCreate(const std::string& sDirectory);
    // Changes the current folder; false with the error recorded when there is no such folder.
    bool ftpFolderSet(const std::string& sDir);
    // Deletes a file; false with the error recorded when the server refuses.
    bool ftpFileDelete(const std::string& sRemote);
    // Renames or moves a file; false with the error recorded when the server refuses.
    bool ftpFileRename(const std::string& sExisting, const std::string& sNewName);
    // The size of a file in bytes, -1 when there is no such file, -2 on any other failure
    // (error recorded).
    int64_t ftpFileSize(const std::string& sFile);

    // The last-write time of a file as a local date value when iDate is 2, else 0; -1 when
    // there is no such file, -2 on any other failure (error recorded).
    double ftpFileDate(const std::string& sFile, int32_t iDate);
    // "D" for a folder, "F" for a file, "?" when the name is not found.
    std::string ftpObjType(const std::string& sName);
    // The entries of a folder as full names joined by ";" (ftpObjectFound raised for each);
    // "" when there are none, and "" with the error recorded when the folder cannot be listed
    // (a missing folder); none (nullopt) when a listing broke off (error recorded), as one
    // longer than kListingBytes or ftpListingSeconds is cut off.
    std::optional<std::string> ftpFolderGetList(std::string sPath);
    // Uploads a local file block by block, raising ftpTransfer (paths trimmed in place; fType
    // 1 is an ASCII transfer); false for an empty path, or a failure (error recorded).
    bool ftpFileUpload(std::string& sLocal, std::string& sRemote, int32_t fType);
    // Downloads a remote file block by block straight into a new file beside the local one,
    // which replaces it once complete, raising ftpTransfer with a rate of 0; false for an empty
    // path, a missing remote file or a failure (error recorded; the local file left as it was).
    bool ftpFileDownload(const std::string& sLocal, const std::string& sRemote, int32_t fType);
    // Downloads a remote file over the local one; false with the error recorded.
    bool ftpFileGet(const std::string& sLocal, const std::string& sRemote, int32_t fType);
    // Uploads a local file; false with the error recorded.
    bool ftpFilePut(const std::string& sLocal, const std::string& sRemote, int32_t fType);

    // Sends one ICMP echo with Data to a dotted IPv4 address (through an unprivileged echo
    // socket, else a raw one) and waits at most TimeoutMS for the reply: true with pingTime
    // set, else false with pingReason 1 (no address), 2 (no echo socket: the system lets this
    // process open neither kind), 3 (no reply) or 4 (closing) and pingStatus the system's
    // error code.
    bool Ping(const std::string& IP, int32_t TimeoutMS = 1000, const std::string& Data = {});
    // The dotted IPv4 address of a host name (a dotted address is taken as it is, blanks
    // around it dropped): 0 with IP set, else the resolver's error code.
    int32_t Resolve(const std::string& NameOrIP, std::string& IP);

  private:
    // Sends the prepared request of a libcurl handle, counted by RequestCount.
    static int Perform(void* handle);
    // The parts before the file's bytes; none, with the error recorded, when destPath,
    // destfile (both trimmed in place) or the file's base name holds CR, LF or a double quote.
    std::optional<std::string> MultipartHead(const std::string& FileName, std::string& destPath,
                                             std::string& destfile, const std::string& contentType);
    std::string PostMultipart(const std::string& endpointUrl, const std::string& body);

    // True, with the error recorded, when a text holds CR, LF or NUL: it could end one FTP
    // command and start another, so it is never sent.
    bool FtpRefuses(const std::vector<std::string>& texts);
    std::string FtpPath(const std::string& name) const;
    std::string FtpUrl(const std::string& path) const;
    int FtpCommands(const std::string& path, const std::vector<std::string>& commands);
    // Where a download goes: an open file, else a text (a listing).
    struct cDownloadSink {
        NUX_STD_library::cFileReplacement* file;
        std::string* text;
    };
    // Bounds the control and data connections' stalls by ftpStallSeconds.
    void FtpBounds() const;
    int FtpDownload(const std::string& path, int32_t fType, cDownloadSink sink,
                    const int64_t* total);
    int FtpUpload(const std::string& path, int32_t fType, std::FILE* file, int64_t size,
                  bool report);
    bool PutFile(const std::string& sLocal, const std::string& sRemote, int32_t fType, bool report);
    bool GetFile(const std::string& sLocal, const std::string& sRemote, int32_t fType,
                 const int64_t* total);

    void* session_ = nullptr;
    bool ftpConnected_ = false;
    std::string host_;
    std::string user_;
    int32_t port_ = 0;
    std::string password_;
    int32_t ftpMode_ = 0;
    std::string ftpFolder_;
    std::string agent_;
    int32_t errorNumber_ = 0;
    std::string errorDescription_;
    std::string responseHeaders_;
    std::string responseText_;
    std::string responseBody_;
    std::string responseXML_;
    int16_t status_ = 0;
    std::string statusText_;
};
