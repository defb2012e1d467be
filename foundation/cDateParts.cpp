// Conversions between calendar dates and the program's date values.
#include "foundation/cDateParts.h"

#include <cmath>
#include <cstdint>

namespace {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t daysFromCivil(std::int64_t y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// The date of a count of days from 1970-01-01.
void civilFromDays(std::int64_t z, int& y, int& m, int& d)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

const std::int64_t kDay0 = daysFromCivil(1899, 12, 30);

int daysInMonth(int y, int m)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : days[m - 1];
}

}  // namespace

std::optional<double> DateFromParts(const cDateParts& p)
{
    if (p.year < 100 || p.year > 9999 || p.month < 1 || p.month > 12 || p.day < 1 ||
        p.day > daysInMonth(p.year, p.month) || p.hour < 0 || p.hour > 23 || p.minute < 0 ||
        p.minute > 59 || p.second < 0 || p.second > 59) {
        return std::nullopt;
    }
    const double days = static_cast<double>(daysFromCivil(p.year, p.month, p.day) - kDay0);
    const double frac = (p.hour * 3600 + p.minute * 60 + p.second) / 86400.0;
    return days < 0 ? days - frac : days + frac;
}

std::optional<cDateParts> PartsFromDate(double value)
{
    // Beyond these bounds lie years outside 100 to 9999.
    if (!std::isfinite(value) || value < -657435.0 || value >= 2958466.0) {
        return std::nullopt;
    }
    std::int64_t days = static_cast<std::int64_t>(std::trunc(value));
    std::int64_t secs = std::llround(std::fabs(value - static_cast<double>(days)) * 86400.0);
    if (secs >= 86400) {
        secs -= 86400;
        days += value < 0 ? -1 : 1;
    }
    cDateParts p;
    civilFromDays(days + kDay0, p.year, p.month, p.day);
    if (p.year < 100 || p.year > 9999) {
        return std::nullopt;
    }
    p.hour = static_cast<int>(secs / 3600);
    p.minute = static_cast<int>(secs / 60 % 60);
    p.second = static_cast<int>(secs % 60);
    return p;
}
