// zvLib, update check: the distributor's service is asked once at start-up with a short
// time-out; its answer, the date of the latest release, is compared with the program file's.
#include "app/zvLib_update.h"

#include "app/core/zvLib_settings.h"
#include "app/zvModal.h"
#include "foundation/NUX_STD_files.h"
#include "foundation/NUX_STD_ini.h"
#include "foundation/NUX_STD_system.h"
#include "foundation/cDateParts.h"
#include "foundation/cNET.h"
#include "model/zvUI.h"

#include <QCoreApplication>

#include <cctype>
#include <cstdio>
#include <ctime>
#include <filesystem>

namespace zvLib {

namespace {

constexpr int kDeclinedDays = 10;

// True for a text of the form YYYY-MM-DD (digits and dashes in place).
bool LooksLikeDate(const std::string& s)
{
    if (s.size() != 10) {
        return false;
    }
    for (size_t i = 0; i < s.size(); ++i) {
        const bool dash = (i == 4 || i == 7);
        if (dash ? s[i] != '-' : !std::isdigit(static_cast<unsigned char>(s[i]))) {
            return false;
        }
    }
    return true;
}

// The text without blanks and line breaks at either end.
std::string TrimSpace(const std::string& s)
{
    const char* ws = " \t\r\n";
    const size_t first = s.find_first_not_of(ws);
    return first == std::string::npos ? std::string()
                                      : s.substr(first, s.find_last_not_of(ws) - first + 1);
}

// The host name of a web address ("https://www.x.example/" gives "www.x.example").
std::string HostOf(const std::string& site)
{
    const size_t scheme = site.find("://");
    const size_t start = scheme == std::string::npos ? 0 : scheme + 3;
    return site.substr(start, site.find('/', start) - start);
}

// The day ten days after the date, as YYYY-MM-DD; "" when the date is no calendar date.
std::string DaysAfter(const std::string& date, int days)
{
    cDateParts p;
    if (std::sscanf(date.c_str(), "%4d-%2d-%2d", &p.year, &p.month, &p.day) != 3) {
        return {};
    }
    const std::optional<double> value = DateFromParts(p);
    return value ? IsoDate(*value + days) : std::string();
}

// The date of the latest release as the service tells it; "" when it cannot be asked.
std::string AskLatestRelease()
{
    cNET net;
    net.openURLTimeout = kUpdateWaitMS;
    net.httpTransfer = [](int32_t&) { QCoreApplication::processEvents(); };
    return TrimSpace(net.openURL(UpdateSite + "svc/?a=zorvLastUpdate"));
}

std::string Today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

// The program file: the running executable.
std::string ProgramFile()
{
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).string();
}

} // namespace

std::string IsoDate(double date)
{
    const std::optional<cDateParts> p = PartsFromDate(date);
    if (!p) {
        return {};
    }
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", p->year, p->month, p->day);
    return text;
}

void CheckForUpdate()
{
    CheckForUpdate(Today(), IsoDate(NUX_STD_library::GetFileDate(ProgramFile(), 1)));
}

void CheckForUpdate(const std::string& today, const std::string& programDate)
{
    const std::string nextCheck =
        TrimSpace(NUX_STD_library::IniRead("update", "nextCheck", IniFile));
    if (UpdateSite.empty() || today <= nextCheck) {
        return;
    }
    const std::string latest = AskLatestRelease();
    if (!LooksLikeDate(latest) || latest <= programDate) {
        return;
    }
    const std::string text =
        "E' disponibile un aggiornamento di Zorv, fai click su OK per visitare " +
        HostOf(UpdateSite);
    if (MsgBox(text, vbMsg::OKCancel | vbMsg::Information) == vbMsg::OK) {
        NUX_STD_library::ShellOpen(0, UpdateSite + "software-progettazione-piste-slotcar/zorv", 1);
        return;
    }
    // A date that cannot be kept only means the question comes again at the next start.
    NUX_STD_library::IniWrite("Update", "nextCheck", DaysAfter(today, kDeclinedDays), IniFile);
}

} // namespace zvLib
