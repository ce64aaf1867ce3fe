#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "wire/Streams.h"

namespace veltrin {

// The credentials every channel opens with (106 bytes). The password comes before the user name.
// Never log one of these.
struct TSimpleLogin {
    static constexpr int kSize = 106;

    std::int32_t UID = 0;  // the client always sends 0
    std::string Password;  // fixed 50
    std::string Username;  // fixed 50

    static constexpr int getSize() { return kSize; }
    void readFromStream(InputStream& is);
    bool writeToStream(OutputStream& os) const;
    void writeToMD(Bytes& md) const;

    bool operator==(const TSimpleLogin&) const = default;
};

// Where and as whom to log on: the in-memory shape of the session parameters. Never sent.
struct TLogInRecord {
    std::string Host;
    std::int32_t Port1 = 0;
    std::int32_t Port2 = 0;
    std::int32_t Port3 = 0;
    std::string UserName;
    std::string Password;
    std::int32_t RoomID = 0;

    TLogInRecord() = default;
    // initWithHost:Port1:Port2:Port3:UserName:Password:RoomID:
    TLogInRecord(std::string host, int port1, int port2, int port3, std::string userName,
                 std::string password, int roomId)
        : Host(std::move(host)),
          Port1(port1),
          Port2(port2),
          Port3(port3),
          UserName(std::move(userName)),
          Password(std::move(password)),
          RoomID(roomId) {}

    bool operator==(const TLogInRecord&) const = default;
};

}  // namespace veltrin
