#pragma once

#include <cstdint>
#include <string>

#include "wire/Streams.h"

namespace veltrin {

// A document of the room's library (773 bytes).
struct TFileInfo {
    static constexpr int kSize = 773;

    std::int32_t ID = 0;
    std::string FileName;      // fixed 200
    std::string OriginalName;  // fixed 200
    std::int32_t FileSize = 0;
    std::string FileType;       // fixed 20
    std::string Comment1;       // fixed 200
    std::string UploadUser;     // fixed 128
    double UploadDateTime = 0;  // raw day count
    std::int32_t CustomData = 0;

    static constexpr int getSize() { return kSize; }
    void readFromStream(InputStream& is);
    bool writeToStream(OutputStream& os) const;
    void writeToMD(Bytes& md) const;

    bool operator==(const TFileInfo&) const = default;
};

// The extended form: the same fields followed by the room and group (1,028 bytes).
struct TFileInfo1 {
    static constexpr int kSize = 1028;

    std::int32_t ID = 0;
    std::string FileName;      // fixed 200
    std::string OriginalName;  // fixed 200
    std::int32_t FileSize = 0;
    std::string FileType;       // fixed 20
    std::string Comment1;       // fixed 200
    std::string UploadUser;     // fixed 128
    double UploadDateTime = 0;  // raw day count
    std::int32_t CustomData = 0;
    std::int32_t RoomId = 0;
    std::string GroupName;  // fixed 250

    static constexpr int getSize() { return kSize; }
    void readFromStream(InputStream& is);
    bool writeToStream(OutputStream& os) const;
    void writeToMD(Bytes& md) const;

    bool operator==(const TFileInfo1&) const = default;
};

}  // namespace veltrin
