// Inflating arbitrary bytes: never more than the limit, and whatever inflates compresses and
// inflates back to itself.
#include "FuzzSupport.h"
#include "wire/VCTools.h"

using namespace veltrin;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::silenceLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kLimit = 1u << 20;
    const auto inflated = VCTools::decompressBytes(data, size, kLimit);
    if (!inflated) return 0;
    fuzz::check(inflated->size() <= kLimit);
    Bytes packed;
    fuzz::check(VCTools::compressData(inflated->data(), inflated->size(), 1, packed) > 0);
    fuzz::check(VCTools::decompressBytes(packed.data(), packed.size(), kLimit) == inflated);
    return 0;
}
