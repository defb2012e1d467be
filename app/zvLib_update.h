// zvLib, update check: start-up's last step asks the distributor's service for the date of
// the latest release and, when it is newer than the program file, offers the product page.
// A user who declines is not asked again for ten days.
#pragma once

#include "app/zvLib_shell.h"

#include <cstdint>
#include <string>

namespace zvLib {

// The distributor's web site the check asks and offers (ends with "/"): the build's
// distributor site; empty, the check asks nothing. Tests point it at a server of their own.
extern std::string UpdateSite;
// The longest the check waits for the service, in milliseconds, so start-up is never held up
// for long by a slow network.
inline constexpr int32_t kUpdateWaitMS = 3000;

// The date of a date value as YYYY-MM-DD; "" for a value outside the calendar.
std::string IsoDate(double date);
// The check with today's local date and the program file's last-write date.
void CheckForUpdate();
// The check for a given today and program file date (both YYYY-MM-DD): skipped without an
// UpdateSite (no request at all) and up to the settings' "nextCheck"; an answer that is no
// date, or not later than the program, shows nothing and writes nothing; Cancel on the offer
// puts "nextCheck" ten days after today.
void CheckForUpdate(const std::string& today, const std::string& programDate);

} // namespace zvLib
