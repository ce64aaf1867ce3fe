// Day-count dates: days since 30 December 1899 00:00 local time, the time of day as the fraction.
#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>
#include <optional>

#include "VCTools.h"

namespace veltrin {

namespace {

using namespace std::chrono;

constexpr sys_days kDayZero = sys_days(year(1899) / December / 30);
// 1 January 100 and 31 December 9999: every calendar date the day count is used for lies between.
constexpr double kFirstDay = static_cast<double>((sys_days(year(100) / January / 1) - kDayZero).count());
constexpr double kLastDay = static_cast<double>((sys_days(year(9999) / December / 31) - kDayZero).count());

struct LocalClock {
    sys_days date;
    long secondsOfDay = 0;
    long offset = 0;  // seconds east of UTC
};

LocalClock localClock(std::time_t t) {
    std::tm tm{};
    if (localtime_r(&t, &tm) == nullptr) return {sys_days(days(t / 86400)), static_cast<long>(t % 86400), 0};
    return {sys_days(year(tm.tm_year + 1900) / static_cast<unsigned>(tm.tm_mon + 1) /
                     static_cast<unsigned>(tm.tm_mday)),
            tm.tm_hour * 3600L + tm.tm_min * 60L + tm.tm_sec, tm.tm_gmtoff};
}

// The first instant of the given day in local time: its 00:00, the earlier one if the clocks go
// back over midnight, and the moment of the jump if they skip it. Built on localtime_r, which
// (unlike mktime) does not go back to the time zone files on every call, and whose answer for an
// ambiguous midnight does not depend on earlier calls.
std::time_t localDayStart(sys_days day) {
    const std::time_t utcMidnight = static_cast<std::time_t>(day.time_since_epoch().count()) * 86400;
    // Local midnight is utcMidnight minus the offset in force then; that offset is one of those in
    // force within a day of it.
    std::optional<std::time_t> start;
    for (const std::time_t probe : {utcMidnight - 86400, utcMidnight, utcMidnight + 86400}) {
        const std::time_t candidate = utcMidnight - localClock(probe).offset;
        const LocalClock at = localClock(candidate);
        if (at.date == day && at.secondsOfDay == 0 && (!start || candidate < *start)) start = candidate;
    }
    if (start) return *start;
    // Midnight was skipped: find the jump. No offset exceeds 26 hours, so the day begins between
    // these two instants, and the local date only moves forward within them.
    std::time_t before = utcMidnight - 26 * 3600;
    std::time_t after = utcMidnight + 26 * 3600;
    while (after - before > 1) {
        const std::time_t mid = before + (after - before) / 2;
        (localClock(mid).date >= day ? after : before) = mid;
    }
    return after;
}

}  // namespace

CalendarDate VCTools::DoubleToNSDate(double dayCount) {
    if (std::isnan(dayCount)) dayCount = 0;
    dayCount = std::clamp(dayCount, kFirstDay, kLastDay);
    // The day is counted on the calendar, not in seconds, so the answer is that day's local
    // midnight whatever daylight-saving changes lie between it and 1899.
    const sys_days day = kDayZero + days(static_cast<int>(std::floor(dayCount)));
    return CalendarDate(duration_cast<milliseconds>(seconds(localDayStart(day))));
}

double VCTools::convertToDouble(CalendarDate date) {
    const auto whole = floor<seconds>(date);
    const std::time_t t = static_cast<std::time_t>(whole.time_since_epoch().count());
    std::tm tm{};
    if (localtime_r(&t, &tm) == nullptr) return 0;
    const sys_days day = sys_days(year(tm.tm_year + 1900) / static_cast<unsigned>(tm.tm_mon + 1) /
                                  static_cast<unsigned>(tm.tm_mday));
    const double secondsOfDay =
        tm.tm_hour * 3600.0 + tm.tm_min * 60.0 + tm.tm_sec + duration<double>(date - whole).count();
    return static_cast<double>((day - kDayZero).count()) + secondsOfDay / 86400.0;
}

double VCTools::convertToDouble(system_clock::time_point date) {
    return convertToDouble(floor<milliseconds>(date));
}

std::uint64_t VCTools::MsecsBetween(double now, double then) {
    const double ms = std::fabs(now - then) * 86400000.0;
    if (!(ms >= 0)) return 0;  // NaN
    // 2^64 is exact as a double; anything at or above it would overflow the conversion.
    if (ms >= 18446744073709551616.0) return std::numeric_limits<std::uint64_t>::max();
    return static_cast<std::uint64_t>(ms);
}

}  // namespace veltrin
