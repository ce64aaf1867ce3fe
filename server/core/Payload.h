#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "wire/ByteOrder.h"

namespace veltrin::server {

// Reads the fields of a received payload. A field that does not fit in what is left reads as 0
// (or empty) and marks the reader short; nothing is ever read or sized past the payload.
class PayloadReader {
public:
    explicit PayloadReader(std::span<const std::uint8_t> payload) : p_(payload) {}

    std::uint8_t readByte() { return take(1) ? p_[pos_ - 1] : 0; }
    std::uint16_t readWord() { return take(2) ? byteorder::loadLE16(&p_[pos_ - 2]) : 0; }
    std::int32_t readInt() {
        return take(4) ? static_cast<std::int32_t>(byteorder::loadLE32(&p_[pos_ - 4])) : 0;
    }
    // An int byte count, then that many bytes of UTF-8. A count below 1 is the empty string.
    std::string readStringIntSize() {
        const std::int32_t n = readInt();
        if (n < 1 || !take(static_cast<std::size_t>(n))) return {};
        return std::string(reinterpret_cast<const char*>(&p_[pos_ - static_cast<std::size_t>(n)]),
                           static_cast<std::size_t>(n));
    }

    bool complete() const { return !short_; }
    std::size_t remaining() const { return p_.size() - pos_; }

private:
    bool take(std::size_t n) {
        if (short_ || n > remaining()) {
            short_ = true;
            return false;
        }
        pos_ += n;
        return true;
    }

    std::span<const std::uint8_t> p_;
    std::size_t pos_ = 0;
    bool short_ = false;
};

}  // namespace veltrin::server
