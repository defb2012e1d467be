// cDateParts: a calendar date and time of day, and its conversion to and from the program's
// date values (days counted from 1899-12-30 00:00, the time of day as the fraction; before that
// day the fraction still counts forward, so -1.25 is 1899-12-29 06:00).
#pragma once

#include <optional>

struct cDateParts {
    int year = 1899;   // 100 to 9999
    int month = 12;    // 1 to 12
    int day = 30;      // 1 to the month's last day
    int hour = 0;      // 0 to 23
    int minute = 0;    // 0 to 59
    int second = 0;    // 0 to 59
};

// The date value of a date and time; none when a part is out of its range.
std::optional<double> DateFromParts(const cDateParts& parts);
// The date and time of a date value, rounded to the nearest second; none when the value is not
// finite or lies outside the years 100 to 9999.
std::optional<cDateParts> PartsFromDate(double value);
