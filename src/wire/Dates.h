#pragma once

#include <chrono>

namespace veltrin {

// A calendar date as the session code holds it: an instant, at millisecond precision so that every
// day count the wire can carry (years 100 to 9999) fits. On the wire dates are day counts: days
// since 30 December 1899 00:00 local time, the time of day being the fraction (VCTools converts).
using CalendarDate = std::chrono::sys_time<std::chrono::milliseconds>;

}  // namespace veltrin
