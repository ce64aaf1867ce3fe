#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "wire/Streams.h"

namespace veltrin {

// The client's machine as reported to the server once after joining: three strings with int sizes
// and four ints, getSize() bytes in all.
struct TClientSystemRecord {
    std::string DeviceModel;
    std::string OSName;
    std::string OSVersion;
    std::int32_t HRes = 0;  // main screen, pixels
    std::int32_t VRes = 0;
    std::int32_t DPI = 0;
    std::int32_t Proxy = 0;  // 1 if a proxy is configured

    // OSName starts as the second word of the operating system's version text; the rest is empty.
    TClientSystemRecord();

    // "<kernel name> <release> <kernel version>", as uname reports them.
    static std::string operatingSystemVersionText();
    // The second of the space-separated words, or "" when there are fewer than two.
    static std::string secondWord(std::string_view text);

    int getSize() const;
    void readFromStream(InputStream& is);
    bool writeToStream(OutputStream& os) const;
    void writeToMD(Bytes& md) const;

    bool operator==(const TClientSystemRecord&) const = default;
};

}  // namespace veltrin
