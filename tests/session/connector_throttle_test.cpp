#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "connector_test_support.h"
#include "session/ThrottledWrite.h"

namespace veltrin::test {
namespace {

using std::chrono::milliseconds;

// Accepts everything; records the size of each write and lets each cost some clock time.
class RecordingOutput final : public OutputStream {
public:
    RecordingOutput(ManualClock& clock, milliseconds costPerWrite) : clock_(clock), cost_(costPerWrite) {}
    long write(const void*, std::size_t n) override {
        if (failAfter_ == 0) {
            status_ = StreamStatus::Error;
            return -1;
        }
        --failAfter_;
        writes.push_back(n);
        clock_.advance(cost_);
        return static_cast<long>(n);
    }
    void failAfterWrites(int n) { failAfter_ = n; }

    std::vector<std::size_t> writes;

private:
    ManualClock& clock_;
    milliseconds cost_;
    int failAfter_ = -1;
};

struct ThrottleCase {
    int bytesPerSecond;
    std::size_t size;
    milliseconds costPerWrite;
    std::vector<std::size_t> slices;
    std::vector<milliseconds> sleeps;
};

TEST(ThrottledWrite, SlicesAndSleepsAsTheRateAllows) {
    const std::vector<ThrottleCase> cases = {
        // 500-byte slices per 100 ms; the remainder goes last.
        {5000, 1250, milliseconds(0), {500, 500, 250}, {milliseconds(100), milliseconds(100), milliseconds(100)}},
        {10000, 3500, milliseconds(0), {1000, 1000, 1000, 500}, std::vector<milliseconds>(4, milliseconds(100))},
        {10000, 2000, milliseconds(0), {1000, 1000}, std::vector<milliseconds>(2, milliseconds(100))},
        // Unthrottled: everything at once, no pause.
        {0, 1'000'000, milliseconds(0), {1'000'000}, {}},
        {-5, 3000, milliseconds(0), {3000}, {}},
        // A slice below one byte also means unthrottled.
        {9, 3000, milliseconds(0), {3000}, {}},
        // Time spent writing counts against the slice's 100 ms.
        {10000, 2000, milliseconds(30), {1000, 1000}, {milliseconds(70), milliseconds(70)}},
        {10000, 2000, milliseconds(150), {1000, 1000}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.bytesPerSecond << " B/s, " << c.size << " bytes");
        ManualClock clock;
        RecordingOutput out(clock, c.costPerWrite);
        const Bytes data(c.size, 0x5A);
        EXPECT_TRUE(writeThrottled(out, data, c.bytesPerSecond, clock));
        EXPECT_EQ(out.writes, c.slices);
        std::vector<milliseconds> sleeps;
        for (const auto d : clock.sleeps()) sleeps.push_back(std::chrono::duration_cast<milliseconds>(d));
        EXPECT_EQ(sleeps, c.sleeps);
    }
}

TEST(ThrottledWrite, StopsBetweenSlicesWhenAsked) {
    ManualClock clock;
    RecordingOutput out(clock, milliseconds(0));
    int asked = 0;
    const Bytes data(5000, 1);
    EXPECT_FALSE(writeThrottled(out, data, 10000, clock, [&] { return ++asked > 2; }));
    EXPECT_EQ(out.writes, (std::vector<std::size_t>{1000, 1000}));
}

TEST(ThrottledWrite, AFailedStreamEndsTheWrite) {
    const struct {
        int rate;
        int goodWrites;
    } cases[] = {{0, 0}, {10000, 1}, {10000, 3}};
    for (const auto& c : cases) {
        ManualClock clock;
        RecordingOutput out(clock, milliseconds(0));
        out.failAfterWrites(c.goodWrites);
        const Bytes data(5000, 1);
        EXPECT_FALSE(writeThrottled(out, data, c.rate, clock)) << c.rate;
        EXPECT_EQ(out.writes.size(), static_cast<std::size_t>(c.goodWrites)) << c.rate;
    }
}

}  // namespace
}  // namespace veltrin::test
