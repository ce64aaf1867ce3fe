#pragma once

#include <cstdint>
#include <string>

#include "wire/ClientStatusPack.h"
#include "wire/Streams.h"

namespace veltrin {

// One participant of the room's list (761 bytes). Its dates stay raw day counts.
struct TUserItem {
    static constexpr int kSize = 761;

    std::int32_t UID = 0;
    std::string DisplayName;  // fixed 20
    std::string FullName;     // fixed 128
    std::string Email;        // fixed 128
    std::string CityName;     // fixed 50
    std::int32_t CountryID = 0;
    std::int32_t UserTypeID = 0;  // as in TClientRecord
    std::string Gender;           // fixed 3
    std::int32_t PersonalityID = 0;
    std::int32_t SeatId = 0;
    std::string Profession;    // fixed 100
    std::string ShortAddress;  // fixed 128
    std::string Languages;     // fixed 100
    double BirthDate = 0;
    std::int32_t Age = 0;
    double LocalLoginDateTime = 0;
    std::int32_t TimeBias = 0;
    std::int32_t OnlineStatus = 0;  // a byte on the wire
    std::string UserName;           // fixed 50

    // Not on the wire. Reading an item sets the permissions from its role and resets the rest.
    bool VoiceAllowed = false;
    bool BoardAllowed = false;
    bool VideoAllowed = false;
    std::int32_t HandNumber = 0;
    bool TypingStatus = false;
    bool TickVisible = false;
    TClientStatusPack statusPack;  // the participant's latest status

    static constexpr int getSize() { return kSize; }
    void readFromStream(InputStream& is);
    bool writeToStream(OutputStream& os) const;
    void writeToMD(Bytes& md) const;

    bool operator==(const TUserItem&) const = default;
};

}  // namespace veltrin
