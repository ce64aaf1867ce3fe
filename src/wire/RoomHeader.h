#pragma once

#include <cstdint>
#include <string>

#include "wire/Dates.h"
#include "wire/Streams.h"

namespace veltrin {

// The room as the server describes it in its answer to the join command (1,430 bytes).
struct TRoomHeader {
    static constexpr int kSize = 1430;

    TRoomHeader();

    std::int32_t ID = 0;
    std::string Name;         // fixed 200
    std::string Topic;        // fixed 250
    std::string Description;  // fixed 250
    CalendarDate CreateDateTime;
    std::int32_t CreatorID = 0;
    std::int32_t SupervisorID = 0;
    std::int32_t Capacity = 0;
    std::int32_t AccessTypeID = 0;
    CalendarDate ExpireDateTime;
    std::int32_t RoomStatusID = 0;
    std::int32_t _countNow = 0;   // participants present
    std::int32_t ServerBias = 0;  // the server's time zone bias
    std::string InstructorName;   // fixed 128
    std::int32_t CurrentSpeakerID = 0;
    std::int32_t BoardControlIn = 0;
    std::int32_t AppShareIn = 0;
    std::int32_t VideoIn = 0;
    std::string SecretCode;  // fixed 200
    bool AllowRecordings = false;
    bool AllowInvitations = false;
    bool AllowAppShare = false;  // screen sharing allowed in this room
    bool AllowFullDupAudio = false;
    std::string WelcomeURL;  // fixed 250
    bool AllowGraphCalculator = false;
    bool AllowOnlineExams = false;
    bool AllowVideo = false;
    std::int32_t DefaultAudioCodecID = 0;
    std::int32_t DefaultVideoCodecID = 0;
    std::int32_t MikesCount = 0;  // simultaneous microphones
    std::int32_t Reserved1 = 0;
    std::int32_t Reserved2 = 0;
    std::string Reserved3;  // fixed 50
    std::int32_t CompanyID = 0;

    static constexpr int getSize() { return kSize; }
    void readFromStream(InputStream& is);
    bool writeToStream(OutputStream& os) const;
    void writeToMD(Bytes& md) const;

    bool operator==(const TRoomHeader&) const = default;
};

}  // namespace veltrin
