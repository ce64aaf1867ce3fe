#pragma once

#include <cerrno>
#include <cstdint>
#include <mutex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/LogCapture.h"
#include "wire/Log.h"
#include "wire/Streams.h"

namespace veltrin::test {

// "39 00 05" -> {0x39, 0x00, 0x05}
inline Bytes hexBytes(std::string_view hex) {
    Bytes out;
    std::istringstream in{std::string(hex)};
    std::string token;
    while (in >> token) out.push_back(static_cast<std::uint8_t>(std::stoul(token, nullptr, 16)));
    return out;
}

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

inline Bytes zeros(std::size_t n) {
    return Bytes(n, 0);
}

inline Bytes ascii(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

using LogCapture = testing::LogCapture;

// Hands out its bytes at most `chunk` at a time, like a socket whose data arrives in pieces, so
// that readers take their slow paths across every boundary.
class ChunkedInputStream final : public InputStream {
public:
    ChunkedInputStream(Bytes data, std::size_t chunk) : data_(std::move(data)), chunk_(chunk) {
        cur_ = end_ = data_.data();
    }
    std::size_t position() const { return static_cast<std::size_t>(cur_ - data_.data()); }

protected:
    bool fill(std::size_t) override {
        const std::uint8_t* limit = data_.data() + data_.size();
        if (end_ == limit) {
            status_ = StreamStatus::AtEnd;
            return false;
        }
        cur_ = end_;
        end_ = cur_ + std::min(chunk_, static_cast<std::size_t>(limit - cur_));
        return true;
    }

private:
    Bytes data_;
    std::size_t chunk_;
};

// Accepts `capacity` bytes, then fails as a broken socket would.
class FailingOutputStream final : public OutputStream {
public:
    explicit FailingOutputStream(std::size_t capacity, int error = EPIPE)
        : capacity_(capacity), errno_(error) {}
    long write(const void* src, std::size_t n) override {
        if (!writable()) return -1;
        if (capacity_ == 0) {
            status_ = StreamStatus::Error;
            error_ = errno_;
            return -1;
        }
        const std::size_t k = std::min(n, capacity_);
        const auto* p = static_cast<const std::uint8_t*>(src);
        data_.insert(data_.end(), p, p + k);
        capacity_ -= k;
        return static_cast<long>(k);
    }
    const Bytes& data() const { return data_; }

private:
    std::size_t capacity_;
    int errno_;
    Bytes data_;
};

}  // namespace veltrin::test
