#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>

#include "wire/VCTools.h"

namespace veltrin {
namespace {

using namespace std::chrono;

// Runs a test body under a given time zone and restores the previous one.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* tz = std::getenv("TZ")) previous_ = tz;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (previous_)
            setenv("TZ", previous_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> previous_;
};

CalendarDate localTime(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = m - 1;
    tm.tm_mday = d;
    tm.tm_hour = hh;
    tm.tm_min = mm;
    tm.tm_sec = ss;
    tm.tm_isdst = -1;
    return CalendarDate(duration_cast<milliseconds>(seconds(std::mktime(&tm))));
}

// Zones with and without daylight saving, one with a half-hour shift and one far east of UTC: the
// answer is local midnight of the right day in each.
const char* const kZones[] = {"UTC", "Europe/Berlin", "America/New_York", "Australia/Lord_Howe",
                              "Pacific/Kiritimati"};

TEST(Dates, DayCountToLocalMidnight) {
    for (const char* zone : kZones) {
        SCOPED_TRACE(zone);
        ScopedTimeZone tz(zone);
        EXPECT_EQ(VCTools::DoubleToNSDate(45000.75), localTime(2023, 3, 15));
        EXPECT_EQ(VCTools::DoubleToNSDate(45000.0), localTime(2023, 3, 15));
        EXPECT_EQ(VCTools::DoubleToNSDate(0), localTime(1899, 12, 30));
        EXPECT_EQ(VCTools::DoubleToNSDate(1), localTime(1899, 12, 31));
        EXPECT_EQ(VCTools::DoubleToNSDate(-0.5), localTime(1899, 12, 29));
        EXPECT_EQ(VCTools::DoubleToNSDate(45200.99), localTime(2023, 10, 1));  // across a DST change
    }
}

// Where clocks jump from 23:59:59 to 01:00, the day starts at 01:00.
TEST(Dates, MidnightInADaylightSavingGap) {
    ScopedTimeZone tz("America/Sao_Paulo");
    const double day = static_cast<double>(
        (sys_days(year(2018) / November / 4) - sys_days(year(1899) / December / 30)).count());
    const CalendarDate start = VCTools::DoubleToNSDate(day + 0.5);
    EXPECT_EQ(start, localTime(2018, 11, 4, 1));
    EXPECT_EQ(start, localTime(2018, 11, 4));  // what mktime makes of the missing midnight
    EXPECT_EQ(VCTools::DoubleToNSDate(day + 1), localTime(2018, 11, 5));
    EXPECT_EQ(VCTools::DoubleToNSDate(day - 1), localTime(2018, 11, 3));
}

sys_days localDateOf(std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    return sys_days(year(tm.tm_year + 1900) / static_cast<unsigned>(tm.tm_mon + 1) /
                    static_cast<unsigned>(tm.tm_mday));
}

// Every day of eighty years, in zones whose clocks skip midnight, repeat it, change by half an hour
// or never change: the answer is that day's first instant, the second before it being the day before.
TEST(Dates, EveryDayStartsAtItsFirstInstant) {
    for (const char* zone :
         {"America/Sao_Paulo", "Asia/Tehran", "America/Havana", "Australia/Lord_Howe", "UTC"}) {
        SCOPED_TRACE(zone);
        ScopedTimeZone tz(zone);
        const sys_days zero = sys_days(year(1899) / December / 30);
        int mismatches = 0;
        for (sys_days d = sys_days(year(1960) / January / 1); d < sys_days(year(2040) / January / 1);
             d += days(1)) {
            const CalendarDate start = VCTools::DoubleToNSDate(static_cast<double>((d - zero).count()) + 0.3);
            const auto t = static_cast<std::time_t>(floor<seconds>(start).time_since_epoch().count());
            if ((localDateOf(t) != d || localDateOf(t - 1) != d - days(1)) && ++mismatches < 5)
                ADD_FAILURE() << (d - sys_days(year(1970) / January / 1)).count() << " days after 1970-01-01";
        }
        EXPECT_EQ(mismatches, 0);
    }
}

TEST(Dates, CalendarDateToDayCount) {
    for (const char* zone : kZones) {
        SCOPED_TRACE(zone);
        ScopedTimeZone tz(zone);
        EXPECT_DOUBLE_EQ(VCTools::convertToDouble(localTime(2023, 3, 15, 18)), 45000.75);
        EXPECT_DOUBLE_EQ(VCTools::convertToDouble(localTime(1899, 12, 30)), 0.0);
        EXPECT_DOUBLE_EQ(VCTools::convertToDouble(localTime(2023, 7, 1, 6)), 45108.25);
        const CalendarDate withMs = localTime(2023, 3, 15, 12) + milliseconds(500);
        EXPECT_NEAR(VCTools::convertToDouble(withMs), 45000.5 + 0.5 / 86400, 1e-9);
        const system_clock::time_point precise = system_clock::time_point(localTime(2023, 3, 15, 12));
        EXPECT_DOUBLE_EQ(VCTools::convertToDouble(precise), 45000.5);
        // Back and forth: the day survives, the time of day is dropped.
        EXPECT_EQ(VCTools::DoubleToNSDate(VCTools::convertToDouble(localTime(2024, 2, 29, 23, 59, 59))),
                  localTime(2024, 2, 29));
    }
}

// Day counts straight from the wire may be anything.
TEST(Dates, OutOfRangeDayCountsAreClamped) {
    ScopedTimeZone tz("UTC");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(VCTools::DoubleToNSDate(nan), localTime(1899, 12, 30));
    EXPECT_EQ(VCTools::DoubleToNSDate(inf), localTime(9999, 12, 31));
    EXPECT_EQ(VCTools::DoubleToNSDate(-inf), localTime(100, 1, 1));
    EXPECT_EQ(VCTools::DoubleToNSDate(1e300), localTime(9999, 12, 31));
    EXPECT_EQ(VCTools::DoubleToNSDate(-1e300), localTime(100, 1, 1));
    EXPECT_EQ(VCTools::DoubleToNSDate(2958465.9), localTime(9999, 12, 31));
}

TEST(Dates, MsecsBetween) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const auto max = std::numeric_limits<std::uint64_t>::max();
    struct Case {
        double now;
        double then;
        std::uint64_t expected;
    };
    const Case cases[] = {
        {45000.75, 45000.25, 43200000},
        {45000.25, 45000.75, 43200000},  // absolute
        {1.0, 1.0, 0},
        {0.0, 1.0 / 86400000 * 1.5, 1},  // truncated
        {nan, 0, 0},
        {inf, 0, max},
        {1e300, -1e300, max},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VCTools::MsecsBetween(c.now, c.then), c.expected) << c.now << " " << c.then;
}

}  // namespace
}  // namespace veltrin
