#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "wire/VCTools.h"

namespace veltrin {
namespace {

constexpr std::size_t kStep = VCTools::kCompressionStep;

Bytes noise(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes out(n);
    for (auto& b : out) b = static_cast<std::uint8_t>(rng());
    return out;
}

Bytes text(std::size_t n) {
    Bytes out(n);
    for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::uint8_t>("the quick brown fox "[i % 20]);
    return out;
}

// Sizes around the step, with data that compresses well and data that grows when compressed (whose
// output then needs more than one output step).
TEST(Compression, RoundTripsAroundTheStepSize) {
    for (const std::size_t n : {std::size_t{0}, std::size_t{1}, kStep - 1, kStep, kStep + 1, 3 * kStep + 5}) {
        for (const bool compressible : {true, false}) {
            SCOPED_TRACE(std::to_string(n) + (compressible ? " text" : " noise"));
            const Bytes input = compressible ? text(n) : noise(n, static_cast<unsigned>(n));
            Bytes packed{1, 2, 3};
            const std::size_t size = VCTools::compressData(input.data(), input.size(), 9, packed);
            ASSERT_GT(size, 0u);
            EXPECT_EQ(size, packed.size());
            EXPECT_EQ(packed[0], 0x78);  // a zlib stream, header included
            if (compressible && n > 1000) {
                EXPECT_LT(size, n / 10);
            }
            if (!compressible && n > kStep) {
                EXPECT_GT(size, kStep);  // the output needed a second step
            }
            const auto unpacked = VCTools::decompressBytes(packed.data(), packed.size());
            ASSERT_TRUE(unpacked);
            EXPECT_EQ(*unpacked, input);
        }
    }
}

TEST(Compression, ReadsStreamsFromOrdinaryZlib) {
    const Bytes input = text(5000);
    uLongf size = compressBound(static_cast<uLong>(input.size()));
    Bytes packed(size);
    ASSERT_EQ(compress2(packed.data(), &size, input.data(), static_cast<uLong>(input.size()), 6), Z_OK);
    packed.resize(size);
    EXPECT_EQ(VCTools::decompressBytes(packed.data(), packed.size()), input);
}

TEST(Compression, BadLevelGivesNothing) {
    const Bytes input = text(100);
    Bytes packed{1, 2, 3};
    EXPECT_EQ(VCTools::compressData(input.data(), input.size(), 10, packed), 0u);
    EXPECT_TRUE(packed.empty());
}

TEST(Compression, BrokenInputGivesNothing) {
    const Bytes input = text(3 * kStep);
    Bytes packed;
    VCTools::compressData(input.data(), input.size(), 6, packed);

    Bytes corrupted = packed;
    corrupted[packed.size() / 2] ^= 0xFF;
    Bytes badChecksum = packed;
    badChecksum.back() ^= 0x01;
    // The header of a stream that asks for a preset dictionary (FDICT set, check bits valid).
    const Bytes needsDictionary = {0x78, 0xBB, 0x00, 0x00, 0x00, 0x01, 0x03, 0x00};

    struct Case {
        const char* name;
        Bytes bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"header only", Bytes(packed.begin(), packed.begin() + 2)},
        {"cut before the end", Bytes(packed.begin(), packed.end() - 1)},
        {"corrupted", corrupted},
        {"bad checksum", badChecksum},
        {"preset dictionary", needsDictionary},
        {"not zlib", {0x1F, 0x8B, 0x08, 0x00}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VCTools::decompressBytes(c.bytes.data(), c.bytes.size()), std::nullopt) << c.name;
}

// A few kilobytes that inflate to megabytes: the limit answers nothing instead of the memory.
TEST(Compression, OutputLimitStopsBombs) {
    const std::size_t n = 10u << 20;
    const Bytes zeros(n, 0);
    Bytes packed;
    ASSERT_GT(VCTools::compressData(zeros.data(), zeros.size(), 9, packed), 0u);
    ASSERT_LT(packed.size(), 20000u);
    EXPECT_EQ(VCTools::decompressBytes(packed.data(), packed.size(), n - 1), std::nullopt);
    EXPECT_EQ(VCTools::decompressBytes(packed.data(), packed.size(), n), zeros);
    EXPECT_EQ(VCTools::decompressBytes(packed.data(), packed.size(), 1u << 20), std::nullopt);
}

}  // namespace
}  // namespace veltrin
