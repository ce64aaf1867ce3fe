#pragma once

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "wire/Log.h"
#include "wire/Streams.h"

namespace veltrin::fuzz {

// The harnesses check properties and stop the process with abort() when one fails, which libFuzzer
// reports as a crash together with the input.
inline void check(bool ok) {
    if (!ok) std::abort();
}

// Diagnostics of the readers would only slow the fuzzer down.
inline void silenceLog() {
    setLogSink([](std::string_view) {});
}

// Serves a byte span at most `chunk` bytes per fill, as a socket delivering data in pieces does.
class TrickleInputStream final : public InputStream {
public:
    TrickleInputStream(std::span<const std::uint8_t> data, std::size_t chunk)
        : begin_(data.data()), limit_(data.data() + data.size()), chunk_(chunk == 0 ? 1 : chunk) {
        cur_ = end_ = begin_;
    }

protected:
    bool fill(std::size_t) override {
        if (end_ == limit_) {
            status_ = StreamStatus::AtEnd;
            return false;
        }
        cur_ = end_;
        end_ = cur_ + std::min(chunk_, static_cast<std::size_t>(limit_ - cur_));
        return true;
    }

private:
    const std::uint8_t* begin_;
    const std::uint8_t* limit_;
    std::size_t chunk_;
};

}  // namespace veltrin::fuzz
