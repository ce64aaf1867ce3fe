#pragma once

#include <cstdint>
#include <string>

#include "wire/Streams.h"

namespace veltrin {

// The account (company) the user belongs to, with its limits and time zones (604 bytes).
struct TAccountDataEx {
    static constexpr int kSize = 604;

    std::int32_t CID = 0;
    std::string CompanyName;  // fixed 255
    std::int32_t prodId = 0;
    std::int32_t ModeratorsCount = 0;
    std::string Comp_LangCode;  // fixed 20
    std::string User_LangCode;  // fixed 20
    std::int32_t HDDLimit = 0;
    std::int32_t CompanyDefTimeZone = 0;
    std::int32_t UserDefTimeZone = 0;
    std::int32_t ServerTimeZone = 0;
    std::string SubDomain;   // fixed 128
    std::string AccountURL;  // fixed 128
    std::int32_t Reserved1 = 0;
    std::int32_t Reserved2 = 0;
    std::int32_t Reserved3 = 0;
    std::int32_t Reserved4 = 0;
    std::int32_t Reserved5 = 0;

    static constexpr int getSize() { return kSize; }
    void readFromStream(InputStream& is);
    bool writeToStream(OutputStream& os) const;
    void writeToMD(Bytes& md) const;

    bool operator==(const TAccountDataEx&) const = default;
};

}  // namespace veltrin
