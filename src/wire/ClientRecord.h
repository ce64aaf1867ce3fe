#pragma once

#include <cstdint>
#include <string>

#include "wire/Dates.h"
#include "wire/Streams.h"

namespace veltrin {

// A user's own account as the server sends it after log-on (1,119 bytes). Dates arrive as day
// counts and are held as calendar dates (whole days). The `UID` is the UserID of every frame the
// client sends afterwards.
struct TClientRecord {
    static constexpr int kSize = 1119;

    TClientRecord();

    std::int32_t UID = 0;
    std::int32_t RoomIndex = 0;
    std::string DisplayName;  // fixed 20
    std::string FullName;     // fixed 128
    std::string Email;        // fixed 128
    std::string Address;      // fixed 128
    std::int32_t CityId = 0;
    std::string CityName;  // fixed 50
    std::int32_t CountryID = 0;
    std::string ZipCode;  // fixed 20
    std::string Phones;   // fixed 100
    CalendarDate CreateDateTime;
    std::string CreateIP;         // fixed 20
    std::string LoginIP;          // fixed 20
    std::int32_t UserTypeID = 0;  // 0 attendee, 1000 moderator, other non-zero administrator
    std::string SexID;            // fixed 3
    CalendarDate BirthDate;
    std::string Password;  // fixed 50
    std::int32_t PersonalityID = 0;
    std::string Profession;  // fixed 100
    std::string Languages;   // fixed 100
    std::int32_t SeatID = 0;
    std::int32_t Age = 0;
    std::string PeerIP;  // fixed 15
    std::int32_t PeerPort = 0;
    CalendarDate LastAct;
    std::int32_t E_RoomID = 0;  // a word on the wire
    CalendarDate E_EnrollDateTime;
    std::string E_EnrollIP;  // fixed 20
    std::int32_t E_EnrollStatusID = 0;
    std::int32_t E_UserStatusID = 0;
    std::string E_LastLoginIP;  // fixed 20
    CalendarDate E_LastLoginDateTime;
    CalendarDate LocalLoginDateTime;
    std::int32_t TimeBias = 0;
    std::string SYS_SessionID;  // fixed 30
    std::uint8_t OnlineStatus = 0;
    std::string UserName;  // fixed 50

    static constexpr int getSize() { return kSize; }
    void readFromStream(InputStream& is);
    bool writeToStream(OutputStream& os) const;
    void writeToMD(Bytes& md) const;

    bool operator==(const TClientRecord&) const = default;
};

}  // namespace veltrin
