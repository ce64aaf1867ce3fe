#include "session/ThrottledWrite.h"

#include <algorithm>
#include <thread>

namespace veltrin {
namespace {

class SystemWriterClock final : public WriterClock {
public:
    Clock::time_point now() override { return Clock::now(); }
    void sleepFor(Clock::duration duration) override { std::this_thread::sleep_for(duration); }
};

}  // namespace

std::shared_ptr<WriterClock> WriterClock::system() {
    static const auto instance = std::make_shared<SystemWriterClock>();
    return instance;
}

bool writeThrottled(OutputStream& out, std::span<const std::uint8_t> data, int bytesPerSecond, WriterClock& clock,
                    const std::function<bool()>& shouldStop) {
    const std::size_t slice = bytesPerSecond >= 10 ? static_cast<std::size_t>(bytesPerSecond / 10) : 0;
    if (slice == 0) return out.writeAll(data.data(), data.size());

    while (!data.empty()) {
        if (shouldStop && shouldStop()) return false;
        const std::size_t n = std::min(slice, data.size());
        const auto started = clock.now();
        if (!out.writeAll(data.data(), n)) return false;
        data = data.subspan(n);
        const auto elapsed = clock.now() - started;
        if (elapsed < kThrottleSliceInterval) clock.sleepFor(kThrottleSliceInterval - elapsed);
    }
    return true;
}

}  // namespace veltrin
