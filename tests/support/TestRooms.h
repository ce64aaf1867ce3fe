#pragma once

namespace veltrin::testing {

// The rooms file of the session tests: a moderator and an attendee, the demo room and one entry
// token that admits once.
inline constexpr char kTestRooms[] =
    "account teacher teacher 1000 \"Terry Teacher\" uid=101\n"
    "account student1 student1 0 \"Sam Student\" uid=102\n"
    "room 1001 \"Demo Classroom\" mikes=2\n"
    "token 1001 once-only\n";

}  // namespace veltrin::testing
