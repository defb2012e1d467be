// zvLang: the language table, opened once and kept for the program's life, and the lookup of
// keys in the current language.
#include "foundation/zvLang.h"

#include "foundation/NUX_STD_apppath.h"
#include "foundation/NUX_STD_files.h"
#include "foundation/NUX_STD_text.h"
#include "foundation/cRecordset.h"

#include <array>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace zvLang {

namespace {

// The languages the program offers.
constexpr std::array<std::string_view, 4> kOffered = {"IT", "EN", "FR", "ES"};

struct State {
    std::string langID;
    std::string langFile;
    cRecordset langRS;
    bool loaded = false;
};

State& state()
{
    static State s;
    return s;
}

std::string trimBlanks(std::string_view s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

void replaceAll(std::string& s, std::string_view what, std::string_view with)
{
    for (std::size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + with.size())) {
        s.replace(p, what.size(), with);
    }
}

std::string textOf(const cField& field)
{
    return field.Value().toText();
}

// The text of the matching row in the current language, or the English fallback.
std::string rowText(cRecordset& rs)
{
    const std::string& id = state().langID;
    const std::string code = !id.empty() && rs.FieldIndex(id) >= 0 ? id : "EN";
    std::string text = trimBlanks(textOf(rs.Fields(code)));
    if (text.empty()) {
        text = "[" + code + "] " + textOf(rs.Fields("EN"));
    }
    return text;
}

}  // namespace

const std::string& LangID()
{
    return state().langID;
}

void LangID(std::string_view code)
{
    std::string c = trimBlanks(code);
    for (char& ch : c) {
        if (ch >= 'a' && ch <= 'z') {
            ch = static_cast<char>(ch - 'a' + 'A');
        }
    }
    bool offered = false;
    for (std::string_view o : kOffered) {
        offered = offered || c == o;
    }
    state().langID = c.empty() || offered ? c : "EN";
}

const std::string& LangFile()
{
    return state().langFile;
}

long LoadLanguageFile()
{
    State& s = state();
    s.langFile = NUX_STD_library::AppPath() + "Zorv.lng";
    cRecordset rs;
    long err = rs.Open(s.langFile);
    if (err == 0 && (rs.FieldIndex("ID") < 0 || rs.FieldIndex("EN") < 0)) {
        err = cRecordset::kErrItemNotFound;
    }
    if (err == 0) {
        err = rs.MoveLast();
    }
    if (err != 0) {
        return err;
    }
    s.langRS = std::move(rs);
    s.loaded = true;
    return 0;
}

std::string Translate(std::string_view key)
{
    State& s = state();
    std::string result;
    if (s.loaded && s.langRS.Filter("ID=" + NUX_STD_library::SqlQuote(std::string(key))) == 0 &&
        !(s.langRS.Bof() && s.langRS.Eof())) {
        result = rowText(s.langRS);
    } else {
        result = "[TODO] " + std::string(key);
    }
    if (s.loaded) {
        s.langRS.Filter("");
    }
    result = trimBlanks(result);
    replaceAll(result, "\\n", "\r\n");
    return result;
}

ToolTexts ToolCaptionAndTip(std::string_view toolName,
                            const std::function<std::string(std::string_view)>& lookup)
{
    const std::string key = "$cmd." + std::string(toolName);
    ToolTexts t;
    t.caption = lookup(key);
    t.tip = lookup(key + ".tip");
    if (t.caption.starts_with("[TODO]")) {
        t.caption.clear();
    }
    if (t.tip.starts_with("[TODO]")) {
        t.tip = t.caption;
    }
    replaceAll(t.tip, "&", "");
    replaceAll(t.tip, "...", "");
    return t;
}

ToolTexts ToolCaptionAndTip(std::string_view toolName)
{
    return ToolCaptionAndTip(toolName, [](std::string_view k) { return Translate(k); });
}

namespace {

using NUX_STD_library::WriteCause;

// The key of the reason for an error of a system call made in writing a file.
const char* errorKey(int error)
{
    switch (error) {
    case ELOOP:
        return "$msg.savefailed.loop";
    case ENAMETOOLONG:
        return "$msg.savefailed.longname";
    case EISDIR:
        return "$msg.savefailed.folder";
    case ENOENT:
        return "$msg.savefailed.nofolder";
    case ENOTDIR:
        return "$msg.savefailed.notfolder";
    case EACCES:
    case EPERM:
        return "$msg.savefailed.denied";
    default:
        // A full disk or quota (ENOSPC, EDQUOT), a file-size limit (EFBIG), EIO and the rest.
        return "$msg.savefailed.write";
    }
}

// The key of the reason the writer recorded for its failure.
const char* recordedKey(const NUX_STD_library::WriteFailure& failure)
{
    switch (failure.cause) {
    case WriteCause::RefusedLink:
        return "$msg.savefailed.link";
    case WriteCause::TooManyLinks:
        return "$msg.savefailed.loop";
    case WriteCause::ReadOnly:
        return "$msg.savefailed.readonly";
    case WriteCause::NotOwner:
        return "$msg.savefailed.notowner";
    case WriteCause::NotRegular:
        return "$msg.savefailed.notfile";
    case WriteCause::TooLarge:
        return "$msg.savefailed.toolarge";
    case WriteCause::Nameless:
        return "$msg.savefailed.noname";
    case WriteCause::Elsewhere:
        return "$msg.savefailed.elsewhere";
    default:
        return errorKey(failure.error);
    }
}

// The key of the reason why a file could not be written at the path, guessed from what is
// there now when the writer recorded no failure for it.
const char* guessedKey(const std::string& path)
{
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 && (errno == ELOOP || errno == ENAMETOOLONG)) {
        return errorKey(errno);
    }
    if (NUX_STD_library::IsRefusedLink(path)) {
        return "$msg.savefailed.link";
    }
    if (stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            return "$msg.savefailed.folder";
        }
        if (!S_ISREG(st.st_mode)) {
            return "$msg.savefailed.notfile";
        }
        if ((st.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0) {
            return "$msg.savefailed.readonly";
        }
    }
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "./" : path.substr(0, slash + 1);
    if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        return "$msg.savefailed.nofolder";
    }
    if (access(folder.c_str(), W_OK) != 0) {
        return "$msg.savefailed.denied";
    }
    return "$msg.savefailed.write";
}

// The key of the reason why a file could not be written at the path.
const char* writeFailureKey(const std::string& path)
{
    const NUX_STD_library::WriteFailure& last = NUX_STD_library::LastWriteFailure();
    if (last.cause != WriteCause::None && last.path == path) {
        return recordedKey(last);
    }
    return guessedKey(path);
}

} // namespace

std::string WriteFailureReason(const std::string& path)
{
    std::string text = Translate(writeFailureKey(path));
    // A text too large for its reader names the bound.
    const NUX_STD_library::WriteFailure& last = NUX_STD_library::LastWriteFailure();
    if (last.cause == WriteCause::TooLarge && last.path == path) {
        replaceAll(text, "%1", std::to_string(last.limit));
    }
    return text;
}

std::string NotSavedMessage(const std::string& path)
{
    std::string text = Translate("$msg.notsaved");
    replaceAll(text, "%2", WriteFailureReason(path));
    replaceAll(text, "%1", path);
    return text;
}

namespace {

using NUX_STD_library::ReadFault;

// The key of the reason why a file that is there could not be read.
const char* readFailureKey(ReadFault fault)
{
    switch (fault) {
    case ReadFault::Permission:
        return "$msg.readfailed.denied";
    case ReadFault::NotRegular:
        return "$msg.readfailed.notfile";
    case ReadFault::SystemFile:
        return "$msg.readfailed.systemfile";
    case ReadFault::TooLarge:
        return "$msg.readfailed.toolarge";
    default:
        return "$msg.readfailed.error";
    }
}

// The fault an error number of FileExists stands for.
ReadFault faultOfNumber(long errNumber)
{
    switch (errNumber) {
    case 0:
        return ReadFault::None;
    case 53:
        return ReadFault::NotFound;
    case 76:
        return ReadFault::PathNotFound;
    case 70:
        return ReadFault::Permission;
    case 75:
        return ReadFault::NotRegular;
    default:
        return ReadFault::OpenFailed;
    }
}

} // namespace

std::string ReadFailureMessage(const std::string& path, ReadFault fault)
{
    if (fault == ReadFault::NotFound || fault == ReadFault::PathNotFound) {
        std::string text = Translate("$msg.filenotfound");
        replaceAll(text, "%1", path);
        return text;
    }
    std::string text = Translate("$msg.readfailed");
    replaceAll(text, "%2", Translate(readFailureKey(fault)));
    replaceAll(text, "%1", path);
    return text;
}

std::string ReadFailureMessage(const std::string& path, long errNumber)
{
    return ReadFailureMessage(path, faultOfNumber(errNumber));
}

}  // namespace zvLang
