#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "wire/ClientRecord.h"
#include "wire/LogOnRecords.h"
#include "wire/Streams.h"

namespace veltrin {

// The server's side of the opening exchange (used by the reference classroom server and tests).

struct VersionIdentity {
    std::string Version;  // fixed 10 on the wire
    std::string Date;     // fixed 20 on the wire, "Mon-DD-YYYY"
    bool operator==(const VersionIdentity&) const = default;
};

// The client's 32-byte version exchange; nothing if the stream ends first.
std::optional<VersionIdentity> readVersionExchange(InputStream& is);

// The answer frame to the version exchange: Result `result`, and when `server` is given its version
// and date as the 32-byte payload (which an outdated client needs to find its download).
bool writeVersionAnswer(OutputStream& os, std::uint16_t result, const VersionIdentity* server,
                        std::uint16_t commandId = 0);

// The big-endian channel selector that follows an accepted version exchange.
std::optional<std::int32_t> readChannelSelector(InputStream& is);

// The 106-byte simple log-on record; nothing if the stream ends first.
std::optional<TSimpleLogin> readSimpleLogIn(InputStream& is);

// The answer to the main channel's log-on: Result `result`; with Result 0 the client record follows
// as the frame's payload and its UID is the frame's UserID.
bool writeLogOnAnswer(OutputStream& os, std::uint16_t result, const TClientRecord* record,
                      std::uint16_t commandId = 0);

}  // namespace veltrin
