#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "wire/Streams.h"

namespace veltrin {

// The time source and sleeper of the main connection's writer thread (byte-rate pacing and the
// keep-alive schedule). Tests substitute a manual clock so that pacing is checked without waiting.
class WriterClock {
public:
    using Clock = std::chrono::steady_clock;

    virtual ~WriterClock() = default;
    virtual Clock::time_point now() = 0;
    virtual void sleepFor(Clock::duration duration) = 0;

    // The real steady clock and std::this_thread::sleep_for.
    static std::shared_ptr<WriterClock> system();
};

// Interval of one throttle slice: at most bytesPerSecond / 10 bytes leave per slice.
inline constexpr std::chrono::milliseconds kThrottleSliceInterval{100};

// Writes all of `data`. With a slice of bytesPerSecond / 10 bytes below 1 the bytes go out at once;
// otherwise in slices of that size (the last one holding the remainder), each written completely
// and followed by a sleep for whatever is left of its 100 ms. `shouldStop`, when given, is asked
// between slices so that a long paced write does not outlive the connection.
// Answers false when the stream failed or the write was stopped.
bool writeThrottled(OutputStream& out, std::span<const std::uint8_t> data, int bytesPerSecond, WriterClock& clock,
                    const std::function<bool()>& shouldStop = {});

}  // namespace veltrin
