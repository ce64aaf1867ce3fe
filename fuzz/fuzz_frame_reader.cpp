// The reader thread's work on arbitrary bytes: frames, each followed by its payload. The same bytes
// are read from a stream that has them all at hand (frames decoded from the buffer in one go) and
// from one that trickles them in (frames read field by field); both must see the same frames.
#include <algorithm>
#include <cstring>

#include "FuzzSupport.h"
#include "wire/VCTools.h"

using namespace veltrin;

namespace {

constexpr std::size_t kMaxPayload = 1u << 20;
constexpr int kMaxFrames = 4096;

bool sameFrame(const TCommand& a, const TCommand& b) {
    std::uint8_t x[TCommand::kSize];
    std::uint8_t y[TCommand::kSize];
    a.encode(x);
    b.encode(y);
    return std::memcmp(x, y, sizeof x) == 0;  // bytes, so that NaN time stamps compare equal
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::silenceLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t chunk = 1 + data[0] % 31;
    const std::span<const std::uint8_t> bytes(data + 1, size - 1);

    MemoryInputStream whole(bytes);
    fuzz::TrickleInputStream trickled(bytes, chunk);
    TCommand a;
    TCommand b;
    Bytes payloadA;
    Bytes payloadB;
    for (int i = 0; i < kMaxFrames; ++i) {
        const bool moreA = VCTools::readCommandNoCreate(whole, a);
        const bool moreB = VCTools::readCommandNoCreate(trickled, b);
        fuzz::check(moreA == moreB);
        fuzz::check(sameFrame(a, b));
        if (!moreA) break;
        const ReadStatus statusA = VCTools::readPayload(whole, a.DataSize, payloadA, kMaxPayload);
        const ReadStatus statusB = VCTools::readPayload(trickled, b.DataSize, payloadB, kMaxPayload);
        fuzz::check(statusA == statusB);
        fuzz::check(payloadA == payloadB);
        fuzz::check(payloadA.size() <= a.DataSize);
        if (statusA != ReadStatus::Complete) break;
    }
    // The frame as a value: decoding what was encoded gives it back.
    if (bytes.size() >= static_cast<std::size_t>(TCommand::kSize)) {
        const TCommand frame = TCommand::decode(bytes.data());
        std::uint8_t again[TCommand::kSize];
        frame.encode(again);
        fuzz::check(std::memcmp(again, bytes.data(), sizeof again) == 0);
    }
    return 0;
}
